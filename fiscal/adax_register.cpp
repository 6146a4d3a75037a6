// ADAX-3100 and TOTAL TAX: the register leads the line with a frame at a
// time and the program answers each with exactly one frame of its own. PLU
// records go out in two parts; the sales report is read into "adax.plu" and
// the codes are looked up there.
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/numbers.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "interchange/serial_port.h"
#include "ui/message_box.h"

namespace {

constexpr unsigned char FRAME_START = 0x03;
constexpr unsigned char FRAME_END = 0x04;
constexpr unsigned char FIRST_SEQUENCE = 0x20;
constexpr unsigned char LAST_SEQUENCE = 0x2F;
constexpr int FRAME_MAX = 66;
constexpr int STATUS_FRAME = 16;
constexpr double RECEIVE_SECONDS = 20.0;
constexpr double SEND_SECONDS = 1.0;
constexpr int MAX_EMPTY = 5;

// Check flags of an exchange.
constexpr int CHECK_ALARM = 0x01;
constexpr int CHECK_STATUS = 0x02;
constexpr int CHECK_MODE_P = 0x10;
constexpr int CHECK_PLU = CHECK_ALARM | CHECK_STATUS | CHECK_MODE_P;

constexpr int MSG_PRESS_KOD = 209;

unsigned char ownSequence = FIRST_SEQUENCE;   // the next frame's
unsigned char linkMark = 0;                   // 0: no register frame yet
unsigned char received[FRAME_MAX];
int receivedLength = 0;
FILE* reportFile = nullptr;

const char* const kEmpty = "";
const char* const kStartProgramming = "*SZZl11Q";
const char* const kEndProgramming = "*SK";
const char* const kEndLink = "*SZi";
const char* const kLogIn = "*LI";
const char* const kRequest = "*P";
const char* const kSendRecords = "*X8";
const char* const kLogOut = "*U";
const char* const kReportEnd = "*SZZi";

void ResetLink() {
  ownSequence = FIRST_SEQUENCE;
  linkMark = 0;
}

unsigned char After(unsigned char sequence) { return sequence >= LAST_SEQUENCE ? FIRST_SEQUENCE : sequence + 1; }

int Receive() {
  SetComTimeout(RECEIVE_SECONDS);
  if (linkMark == 0) KFPokazTekst(Utf8ToMazText("Oczekiwanie na połączenie !").c_str());
  KFSladPoczatek(0, 0);
  std::memset(received, 0, sizeof received);
  receivedLength = 0;
  int result = -1;
  unsigned char byte = 0;
  while (KFCzytajZnak(&byte) == 0) {
    if (receivedLength == 0 && byte != FRAME_START) continue;
    if (receivedLength == FRAME_MAX) break;
    received[receivedLength++] = byte;
    if (byte != FRAME_END) continue;
    unsigned char sequence = received[2];
    if (linkMark != 0 && sequence != After(linkMark)) {
      KFSladKoniec();
      KFBladKasy("Błąd ramki !");
      return -1;
    }
    linkMark = sequence;
    result = 0;
    break;
  }
  KFSladKoniec();
  return result;
}

int Check(int flags) {
  if (receivedLength < 6) {
    KFBladKasy("Błąd sumy kontrolnej !");
    return -1;
  }
  std::string bytes(reinterpret_cast<const char*>(received), static_cast<size_t>(receivedLength - 3));
  std::string sum = AdaxSuma(bytes);
  if (sum[0] != static_cast<char>(received[receivedLength - 3]) ||
      sum[1] != static_cast<char>(received[receivedLength - 2])) {
    KFBladKasy("Błąd sumy kontrolnej !");
    return -1;
  }
  if ((flags & CHECK_ALARM) && received[6] == 'A') {
    KFBladKasy("Ustawiona flaga ALARM w kasie !");
    return -1;
  }
  if (flags & CHECK_STATUS) {
    const char* text = nullptr;
    switch (received[7]) {
      case '1': text = "Zły status kasy !"; break;
      case '2': text = "Nie można wysłać raportu !"; break;
      case '3': text = "Nie można odebrać raportu !"; break;
      case '4': text = "Błąd programowania PLU !"; break;
      case '9': text = "Nierozpoznana komenda !"; break;
      default: break;
    }
    if (text) {
      KFBladKasy(text);
      return -1;
    }
  }
  if ((flags & CHECK_MODE_P) && received[3] != 'P') {
    KFBladKasy("Błąd ustawienia kasy - P !");
    return -1;
  }
  return 0;
}

// One register frame received and checked, then one own frame sent.
int Exchange(const std::string& data, int flags) {
  if (Receive() != 0 || Check(flags) != 0) return -1;
  std::string frame = AdaxRamka(ownSequence, data);
  ownSequence = After(ownSequence);
  return KFPiszRamke(frame, SEND_SECONDS);
}

bool ReportPreparing() { return receivedLength == STATUS_FRAME && received[8] == '.' && received[9] == 'L'; }

int WaitForReport() {
  for (int inRow = 0; inRow < 3;) {
    if (Exchange(kEmpty, 0) != 0) return -1;
    inRow = ReportPreparing() ? inRow + 1 : 0;
  }
  return 0;
}

std::string Field(int offset, int count) {
  return std::string(reinterpret_cast<const char*>(received) + offset, static_cast<size_t>(count));
}

int ReadRecords() {
  if (Exchange(kSendRecords, CHECK_ALARM) != 0) return -1;
  std::string code, quantity;
  for (int empty = 0;;) {
    if (Exchange(kEmpty, CHECK_ALARM) != 0) return -1;
    if (receivedLength == STATUS_FRAME) {
      if (++empty > MAX_EMPTY) return -1;
      continue;
    }
    empty = 0;
    std::string kind = Field(18, 3);
    if (kind == "X30") {
      code = Field(21, 13);
      quantity = Field(35, 10);
    } else if (kind == "X31") {
      std::string value = Field(35, 10);
      std::fprintf(reportFile, "%s\t%s\t%s\n", code.c_str(), quantity.c_str(), value.c_str());
      KFPokazRaport(code.c_str(), 13, "", 0, KFLiczbaPola(quantity.c_str(), 10) / 1000.0,
                    KFLiczbaPola(value.c_str(), 10) / 100.0);
    } else if (kind.compare(0, 2, "XF") == 0) {
      return 0;
    }
  }
}

char PluFlag() { return parametryKF.adaxPluFlag ? parametryKF.adaxPluFlag : ' '; }

}  // namespace

std::string AdaxSuma(const std::string& bytes) {
  int sum = 0;
  for (char c : bytes) sum += static_cast<signed char>(c);
  int r = sum % 4096;
  return {static_cast<char>(r / 64 + 0x20), static_cast<char>(r % 64 + 0x20)};
}

std::string AdaxRamka(unsigned char sequence, const std::string& data) {
  std::string frame;
  frame += static_cast<char>(FRAME_START);
  frame += static_cast<char>(data.size() + 6 + 0x20);
  frame += static_cast<char>(sequence);
  frame += data;
  frame += AdaxSuma(frame);
  frame += static_cast<char>(FRAME_END);
  return frame;
}

std::string AdaxNazwa(const char* name, int length) {
  static const std::string capitals = Utf8ToMazText("ĄĘĆŃÓŚŻŁŹ");
  static const char replaced[] = "nrouvy}s}";
  std::string text(name, static_cast<size_t>(length < 18 ? length : 18));
  for (char& c : text) {
    c = static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
    size_t at = capitals.find(c);
    if (at != std::string::npos) c = replaced[at];
    if (c == '\0') c = ' ';
  }
  text.resize(18, ' ');
  return text;
}

int AdaxOpenCom(int port) {
  ResetLink();
  return OpenCom(port, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr);
}

int AdaxStart() {
  ResetLink();
  if (Exchange(kEmpty, 0) != 0) {
    Alarm(MSG_KF_NO_LINK);
    return -1;
  }
  return Exchange(kStartProgramming, CHECK_ALARM);
}

int AdaxKoniec() {
  if (linkMark == 0) return 0;
  linkMark = 0;
  for (const char* data : {kEmpty, kEmpty, kEndProgramming, kEndLink, kEmpty})
    if (Exchange(data, CHECK_ALARM) != 0) return -1;
  return 0;
}

int AdaxSendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                int vatCode, int repeat, int remove) {
  if (repeat && (AdaxKoniec() != 0 || AdaxStart() != 0)) return -1;
  if (KFKodDlugosc(13, code, codeLength) != 0) return -1;
  if (KFKodCyfry(KFPoleKodu(code, codeLength, 13, 13, '0').c_str(), 13) != 0) return -1;
  if (KFNumerDzialu(department, code, codeLength) != 0) return -1;
  std::string price10 = std::to_string(static_cast<long long>(ROUND(price * 100.0, 0)));
  price10 = std::string(price10.size() < 10 ? 10 - price10.size() : 0, ' ') + price10;
  std::string part1 = "*WH0" + KFPoleKodu(code, codeLength, 13, 13, PluFlag()) + price10.substr(price10.size() - 10) + "0000";
  std::string part2 = "*WH1" + AdaxNazwa(name, nameLength);
  part2 += static_cast<char>(0x40 + (remove ? 0 : department));
  part2 += KFLiteraVat(parametryKF.adax, vatCode, parametryKF.adax[5]);
  for (const std::string& data : {part1, part2, std::string()})
    if (Exchange(data, CHECK_PLU) != 0) return -1;
  return 0;
}

int AdaxOpenRaport() {
  AdaxZamknijPlik();
  reportFile = std::fopen("adax.plu", "w+");
  if (!reportFile) return -1;
  std::fputs("Raport plu ADAX FASY\n", reportFile);
  int result = Exchange(kEmpty, 0);
  if (result == 0 && received[3] != 'B') {
    Alarm(MSG_PRESS_KOD);
    return -1;
  }
  if (result == 0) {
    KFPokazTekst(Utf8ToMazText("Początek odczytu raportu !").c_str());
    result = Exchange(kLogIn, CHECK_ALARM) == 0 && Exchange(kRequest, CHECK_ALARM) == 0 && WaitForReport() == 0 &&
                     ReadRecords() == 0 && Exchange(kLogOut, 0) == 0 && Exchange(kReportEnd, 0) == 0 &&
                     Exchange(kEmpty, 0) == 0
                 ? 0
                 : -1;
  }
  if (result != 0) {
    if (linkMark != 0 && Exchange(kLogOut, 0) == 0) Exchange(kEmpty, 0);
    Alarm(MSG_KF_NO_LINK);
    return -1;
  }
  std::fflush(reportFile);
  KFPokazTekst(Utf8ToMazText("Koniec odczytu raportu !").c_str());
  KFPokazTekst(Utf8ToMazText("Analiza raportu !").c_str());
  return 0;
}

int AdaxRapTow(const char* code, int codeLength, double* quantity, double* value) {
  if (KFKodDlugosc(13, code, codeLength) != 0) return -1;
  if (!reportFile) return -1;
  std::string key = KFPoleKodu(code, codeLength, 13, 13, PluFlag());
  std::rewind(reportFile);
  char line[80];
  if (!std::fgets(line, 79, reportFile)) return std::ferror(reportFile) ? -1 : 0;
  while (std::fgets(line, 79, reportFile)) {
    for (int i = 0; i < 13 && line[i] == ' '; i++) line[i] = PluFlag();
    if (std::strlen(line) < 13 || key.compare(0, 13, line, 13) != 0) continue;
    if (std::strlen(line) >= 35) {
      *quantity = KFLiczbaPola(line + 14, 10) / 1000.0;
      *value = KFLiczbaPola(line + 25, 10) / 100.0;
    }
    return 0;
  }
  return std::ferror(reportFile) ? -1 : 0;
}

void AdaxZamknijPlik() {
  if (reportFile) std::fclose(reportFile);
  reportFile = nullptr;
}

int AdaxSprawdzKod(int department, const char* code, int codeLength) {
  int result = KFNumerDzialu(department, code, codeLength);
  result |= KFKodDlugosc(13, code, codeLength);
  result |= KFKodPierwszaCyfra(code, codeLength);
  return result != 0 ? -1 : 0;
}

namespace {

int Send(const KFTowar* g, int repeat) {
  return AdaxSendTow(g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode, repeat, 0);
}

int Delete(const KFTowar* g, int repeat) {
  if (AdaxStart() != 0) return -1;
  int result =
      AdaxSendTow(g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode, repeat, 1);
  int end = AdaxKoniec();
  return result != 0 ? result : end;
}

void CloseSend() { AdaxKoniec(); }

int RapTow(const KFTowar* g, double* quantity, double* value) {
  return AdaxRapTow(g->code, g->codeLength, quantity, value);
}

// The register gives no PLU list: only its report is read.
int Cennik(FILE*) {
  int result = AdaxOpenRaport();
  AdaxZamknijPlik();
  return result;
}

int Check(const KFTowar* g) { return AdaxSprawdzKod(g->department, g->code, g->codeLength); }

}  // namespace

const KFDriver kfDriverAdax = {AdaxOpenCom, AdaxStart,       Send,   CloseSend, Delete, AdaxOpenRaport,
                               RapTow,      AdaxZamknijPlik, Cennik, nullptr,   Check};
