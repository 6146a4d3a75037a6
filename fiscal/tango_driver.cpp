#include "fiscal/tango_driver.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"
#include "platform/clock.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr unsigned char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, TAB = 0x09, NAK = 0x15,
                        AT = 0x40;
constexpr int NO_BYTE = -1;
constexpr int ENQ_TRIES = 8, ENQ_PAUSE_MS = 500, ATTEMPTS = 3, BUSY_ALLOWANCE = 6;
constexpr int LOG_TANGO = 38;   // the register's error number and the operator's abort
constexpr int TEXT = 18;

bool errorQuery = false;
FILE* report = nullptr;

const char* Letters() { return KasaTyp() == KASA_NOVITUS ? parametryKF.novitus : parametryKF.tango; }

void PutChecksum(std::string& frame) {
  char sum[8];
  std::snprintf(sum, sizeof sum, "%04X", TangoSuma(reinterpret_cast<const unsigned char*>(frame.data()),
                                                   static_cast<int>(frame.size())));
  frame.replace(frame.size() - 4, 4, sum);
}

bool GoodChecksum(const unsigned char* frame, int length) {
  char sum[8];
  std::snprintf(sum, sizeof sum, "%04X", TangoSuma(frame, length));
  return std::memcmp(sum, frame + length - 4, 4) == 0;
}

std::string RightAligned(const char* text, int width) {
  std::string s(text ? text : "");
  if (static_cast<int>(s.size()) > width) s.resize(static_cast<size_t>(width));
  return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
}

double Number(const unsigned char* bytes, int length) {
  return std::atof(std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length)).c_str());
}

// The step's failure message: a bad line after NAK, else silence.
int Failed(unsigned char last) {
  Alarm(last == NAK ? MSG_KF_BAD_LINK : MSG_KF_SILENT);
  return -1;
}

int Wymiana(const std::string& out, int expected, unsigned char* frame, int frameLength);

// The register reported an error: its number goes to the log only.
void ErrorQuery() {
  errorQuery = true;
  unsigned char record[TANGO_ERROR];
  int number = -1;
  bool ok = Wymiana(std::string(1, static_cast<char>(EOT)), ENQ, nullptr, 0) == 0 &&
            Wymiana(std::string(1, static_cast<char>(ACK)), NO_BYTE, record, TANGO_ERROR) == 0;
  if (ok) {
    if (record[1] == 'E') number = static_cast<int>(std::strtol(std::string(reinterpret_cast<char*>(record) + 4, 2).c_str(), nullptr, 16));
    ok = Wymiana(std::string(1, static_cast<char>(ACK)), EOT, nullptr, 0) == 0;
  }
  if (ok) ErrLogMessage(EL_FORMAT, LOG_TANGO, " %02Xh(%d)", number, number);
  errorQuery = false;
}

bool EscWaiting() {
  if (!KeyPressed() || g4char() != KEY_ESC) return false;
  ErrLogMessage(EL_TEXT, LOG_TANGO, "USER_ABORT");
  return true;
}

// Sends `out` and waits for the expected byte (NO_BYTE: receives a frame of
// `frameLength` into `frame`): 0, 4 when the register answered EOT, or -1.
int Wymiana(const std::string& out, int expected, unsigned char* frame, int frameLength) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(out.data());
  bool ownEot = out.size() == 1 && bytes[0] == EOT;
  unsigned char last = 0;
  for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
    if (KFWyslij(bytes, static_cast<int>(out.size())) != 0) {
      Alarm(MSG_KF_NO_LINK);
      return -1;
    }
    int busy = BUSY_ALLOWANCE;
    for (;;) {
      if (EscWaiting()) return -1;
      unsigned char b;
      if (KFOdbierzBajt(&b) != 0) return Failed(last);
      last = b;
      if (b == TAB && busy > 0) {
        busy--;
        continue;
      }
      if (b == NAK) break;
      if (b == AT && !errorQuery) {
        ErrorQuery();
        return -1;
      }
      if (expected != NO_BYTE && b == expected) return 0;
      if (b == EOT) {
        if (!ownEot) KFWyslijBajt(EOT);
        return 4;
      }
      if (expected != NO_BYTE) break;
      frame[0] = b;
      if (KFOdbierz(frame + 1, frameLength - 1) != 0) return Failed(last);
      if (GoodChecksum(frame, frameLength)) return 0;
      if (KFWyslijBajt(NAK) != 0) {
        Alarm(MSG_KF_NO_LINK);
        return -1;
      }
    }
  }
  return Failed(last);
}

int Enq() {
  for (int i = 0; i < ENQ_TRIES; i++) {
    unsigned char b = 0;
    if (KFWyslijBajt(ENQ) == 0 && KFOdbierzBajt(&b) == 0 && b == ACK) return 0;
    PlatWaitMs(ENQ_PAUSE_MS);
  }
  return -1;
}

std::string Byte(unsigned char b) { return std::string(1, static_cast<char>(b)); }

// Asks with the request and waits until the register turns the line round.
int Request(const std::string& request) {
  if (Enq() != 0) return -1;
  if (Wymiana(request, ACK, nullptr, 0) != 0) return -1;
  return Wymiana(Byte(EOT), ENQ, nullptr, 0) == 0 ? 0 : -1;
}

int TangoSendTow(int department, const char* plu, const char* name, int nameLength, double price, int vatCode,
                 char flag) {
  std::string request = TangoRamka('I', '1', plu);
  std::string record = TangoRekord(department, plu, name, nameLength, price, vatCode, flag);
  if (Enq() != 0) return -1;
  int result = Wymiana(request, ACK, nullptr, 0) == 0 && Wymiana(record, ACK, nullptr, 0) == 0 ? 0 : -1;
  unsigned char ignored;
  if (KFWyslijBajt(EOT) == 0) KFOdbierzBajt(&ignored);
  return result;
}

int TangoCennikOdczyt(FILE* file) {
  if (Request(TangoRamka('I', '0', "")) != 0) return -1;
  for (;;) {
    unsigned char r[TANGO_GOODS];
    int step = Wymiana(Byte(ACK), NO_BYTE, r, TANGO_GOODS);
    if (step == 4) return 0;
    if (step != 0) return -1;
    char name[TEXT + 1];
    std::memcpy(name, r + 22, TEXT);
    name[TEXT] = '\0';
    KFZ852(name, TEXT);
    double price = Number(r + 40, 10) / 100;
    std::fprintf(file, "%.18s\t%.18s\t%d\t%f\t%.2s\n", reinterpret_cast<char*>(r + 4), name,
                 KFKodVat(Letters(), static_cast<char>(r[50])), price, reinterpret_cast<char*>(r + 57));
    KFPokazTowar(reinterpret_cast<char*>(r + 4), TEXT, name, TEXT, price, 11, 2);
  }
}

void TangoCloseRaport() {
  if (report) std::fclose(report);
  report = nullptr;
}

int TangoOpenRaport(char mode) {
  TangoCloseRaport();
  report = std::fopen("tango.plu", "w+");
  if (!report) return -1;
  std::fputs("Raport sprzedazy PLU\n", report);
  if (Request(TangoRamka('U', mode, "")) != 0) return -1;
  KFPokazTekst(Utf8ToMazText("Początek odczytu raportu !").c_str());
  for (;;) {
    unsigned char r[TANGO_REPORT];
    int step = Wymiana(Byte(ACK), NO_BYTE, r, TANGO_REPORT);
    if (step == 4) break;
    if (step != 0) return -1;
    std::fprintf(report, "%.18s\t%.20s\t%.20s\n", reinterpret_cast<char*>(r + 3), reinterpret_cast<char*>(r + 59),
                 reinterpret_cast<char*>(r + 39));
    KFPokazRaport(reinterpret_cast<char*>(r + 3), TEXT, "", 0, Number(r + 59, 20) / 1000, Number(r + 39, 20) / 100);
  }
  std::fflush(report);
  KFPokazTekst("Koniec odczytu raportu !");
  KFPokazTekst("Analiza raportu !");
  return 0;
}

// The report line of the PLU in "tango.plu".
int FindInReport(const char* plu, double* quantity, double* value) {
  std::rewind(report);
  char line[160];
  if (!std::fgets(line, sizeof line, report)) return -1;
  while (*plu == '0') plu++;
  std::string key = plu;
  key.resize(TEXT, ' ');
  ErrLogMessage(EL_FORMAT, LOG_TANGO, "Kod(%.*s)", TEXT, key.c_str());
  while (std::fgets(line, sizeof line, report)) {
    if (std::strncmp(line, key.c_str(), TEXT) != 0) continue;
    *quantity = std::atof(line + TEXT + 1) / 1000;
    *value = std::atof(line + TEXT + 1 + 20 + 1) / 100;
    return 0;
  }
  return 0;
}

int TangoRapTow(const char* plu, double* quantity, double* value, char mode) {
  if (report) return FindInReport(plu, quantity, value);
  if (Enq() != 0) return -1;
  if (Wymiana(TangoRamka('U', mode, plu), ACK, nullptr, 0) != 0) return -1;
  if (Wymiana(Byte(EOT), ENQ, nullptr, 0) != 0) return -1;
  unsigned char r[TANGO_REPORT];
  int step = Wymiana(Byte(ACK), NO_BYTE, r, TANGO_REPORT);
  if (step == 4) return 0;
  if (step != 0 || Wymiana(Byte(ACK), EOT, nullptr, 0) != 0) return -1;
  *quantity = Number(r + 59, 20) / 1000;
  *value = Number(r + 39, 20) / 100;
  return 0;
}

// ---- the layer's entries

const char* Plu(const KFTowar* g) { return TangoKod(g->code, g->codeLength, g->record); }

int Send(const KFTowar* g, char flag) {
  const char* plu = Plu(g);
  if (!plu || KFNumerDzialu(g->department, g->code, g->codeLength) != 0) return -1;
  return TangoSendTow(g->department, plu, g->name, g->nameLength, g->price, g->vatCode, flag);
}

int SendTow(const KFTowar* g, int) { return Send(g, '1'); }
int DeleteTow(const KFTowar* g, int) { return Send(g, '0'); }

int OpenRaport() {
  if (KFPytajTrybRaportu('0', '2') != 0) return -1;
  return TangoOpenRaport(kfTrybRaportu);
}

int RapTow(const KFTowar* g, double* quantity, double* value) {
  const char* plu = Plu(g);
  return plu ? TangoRapTow(plu, quantity, value, kfTrybRaportu) : -1;
}

int SprawdzKod(const KFTowar* g) {
  int department = KFNumerDzialu(g->department, g->code, g->codeLength);
  return Plu(g) && department == 0 ? 0 : -1;
}

}  // namespace

const KFDriver kfDriverTango = {nullptr, nullptr,         SendTow,           nullptr, DeleteTow, OpenRaport,
                                RapTow,  TangoCloseRaport, TangoCennikOdczyt, nullptr, SprawdzKod};

unsigned TangoSuma(const unsigned char* frame, int length) {
  unsigned sum = 0;
  for (int i = 1; i <= length - 5; i++) sum ^= static_cast<unsigned>(frame[i]) << ((i - 1) % 9);
  return sum & 0xFFFF;
}

std::string TangoRamka(char command, char argument, const char* text) {
  std::string frame = Byte(STX) + 'S' + command + argument + RightAligned(text, TEXT) + RightAligned(text, TEXT) +
                      Byte(ETX) + "0000";
  PutChecksum(frame);
  return frame;
}

std::string TangoRekord(int department, const char* plu, const char* name, int nameLength, double price,
                        int vatCode, char flag) {
  std::string shown(name ? name : "", name ? strnlen(name, static_cast<size_t>(nameLength)) : 0);
  shown.resize(TEXT, ' ');
  KFDo852(shown.data(), TEXT);
  char number[16];
  std::snprintf(number, sizeof number, "%010.0f", ROUND(price * 100, 0));
  auto yes = [](char c) { return c == 'T' ? '1' : '0'; };
  const KasaParametry& p = parametryKF;
  char dept[4];
  std::snprintf(dept, sizeof dept, "%02d", department % 100);
  std::string r = Byte(STX) + "DI" + flag + RightAligned(plu, TEXT) + shown + std::string(number, 10) +
                  KFLiteraVat(Letters(), vatCode, Letters()[KFL_EXEMPT]) +
                  static_cast<char>('0' + p.tangoQuantityDecimals % 10) + yes(p.tangoOpenPrice) +
                  yes(p.tangoProgrammedPrice) + yes(p.tangoRepeatable) + '0' + yes(p.tangoSingle) + dept + "00" +
                  std::string(TEXT, ' ') + Byte(ETX) + "0000";
  PutChecksum(r);
  return r;
}

const char* TangoKod(const char* code, int length, long record) {
  static std::string plu;   // kept across the temporary strings of the operation
  if (parametryKF.codeIsPlu != 'T') {
    char number[24];
    std::snprintf(number, sizeof number, "%05ld", record);
    plu = number;
    return plu.c_str();
  }
  const char* trimmed = KFBezSpacji(code, length);
  int n = static_cast<int>(std::strlen(trimmed));
  if (warehouseOptions.checkCodeLength == 'T' && n > TEXT) {
    Alarm(PrintfQStr(Utf8ToMazText("Za duża liczba znaków w kodzie dla danej kasy - %s").c_str(), trimmed));
    return nullptr;
  }
  if (n > TEXT) n = TEXT;
  for (int i = 0; i < n; i++)
    if (trimmed[i] != ' ' && (trimmed[i] < '0' || trimmed[i] > '9')) {
      Alarm(PrintfQStr(MSG_KF_NOT_DIGIT, trimmed));
      return nullptr;
    }
  plu.assign(trimmed, static_cast<size_t>(n));
  return plu.c_str();
}
