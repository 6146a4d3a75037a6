// PS2000: a header frame and a data frame per PLU, XOR check bytes, KF_DLE
// sequences in the answers (',' ask again, '@' an error to query); the day's
// sales report is read into "ps2000.plu" and the codes are looked up there.
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/services.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "ui/message_box.h"

namespace {

constexpr int ATTEMPTS = 7;
constexpr int ENQ_TRIES = 8;
constexpr int RECORD = 38;
constexpr int ERROR_RECORD = 17;

FILE* reportFile = nullptr;


const char* ErrorText(int number) {
  switch (number) {
    case 1: return "Mark";
    case 2: return "ID No.";
    case 3: return "ECR No.";
    case 4: return "Job No.";
    case 5: return "Type of transfer";
    case 6: return "Block length";
    case 7: return "All sorts of No. is limit over";
    case 8: return "Irregular value";
    case 9: return "File is full";
    case 10: return "Not found the PLU";
    case 11: return "Be executing Programming";
    case 12: return "Be issuing Z-report";
    case 13: return "ECR jest zajęte";
    case 14: return "Nie mogę skasować";
    case 16: return "Be issuing X-report";
    case 21: return "Slave ECR error";
    case 31: return "PRINTER is busy";
    case 32: return "PRINTER is error";
    default: return "Nierozpoznany błąd";
  }
}

void Blad() {
  unsigned char byte = 0;
  char record[ERROR_RECORD];
  if (KFWyslijBajt(KF_EOT) != 0 || KFOdbierzBajt(&byte) != 0 || byte != KF_ENQ || KFWyslijBajt(KF_ACK) != 0 ||
      KFOdbierzZnaki(record, ERROR_RECORD) != 0)
    return;
  int number = record[1] == 'R' ? static_cast<int>(KFLiczbaPola(record + 7, 2)) : -1;
  if (KFWyslijBajt(KF_ACK) != 0 || KFOdbierzBajt(&byte) != 0 || byte != KF_EOT || KFWyslijBajt(KF_EOT) != 0) return;
  KFBladKasy(ErrorText(number));
}

// One answer byte, KF_DLE sequences handled; -1 when none.
int CzytajZnak(unsigned char* answer) {
  for (;;) {
    if (KFOdbierzBajt(answer) != 0) return -1;
    if (*answer != KF_DLE) return 0;
    unsigned char next = 0;
    if (KFOdbierzBajt(&next) != 0) return -1;
    if (next == ',') {
      if (KFWyslijBajt(KF_ENQ) != 0) return -1;
    } else if (next == '@') {
      Blad();
      return -1;
    }
  }
}

std::string Frame(const std::string& body) {
  std::string frame = static_cast<char>(KF_STX) + body + static_cast<char>(KF_ETX);
  return frame + static_cast<char>(KFXor(frame.substr(1)));
}

std::string Ecr() {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", parametryKF.ps2000Ecr % 100);
  return text;
}

std::string Ddmmyy(const char* date) {
  std::string d = date ? std::string(date).substr(0, 8) : "";
  d.resize(8, '0');
  return d.substr(6, 2) + d.substr(4, 2) + d.substr(2, 2);
}

std::string Header(char file, char action, char flag34, const char* date) {
  return Frame("S00" + Ecr() + file + action + std::string(26, '0') + flag34 + Ddmmyy(date));
}

int Take() { return parametryKF.ps2000CodeLength == 13 ? 13 : 4; }

std::string Code13(const char* code, int codeLength, int take) { return KFPoleKodu(code, codeLength, take, 13, '0'); }

char VatDigit(int vatCode) { return KFLiteraVat(parametryKF.ps2000, vatCode, '0'); }

int NoLink() {
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

// A frame sent until KF_ACK within the attempts: 0 KF_ACK, 1 attempts used up, -1 another answer.
int SendUntilAck(const std::string& frame, int* budget) {
  while (*budget > 0) {
    unsigned char answer = 0;
    if (KFWyslijTekst(frame) != 0 || CzytajZnak(&answer) != 0 || answer == KF_NAK) {
      --*budget;
      continue;
    }
    return answer == KF_ACK ? 0 : -1;
  }
  return 1;
}

int ReadRecords() {
  for (;;) {
    if (KFWyslijBajt(KF_ACK) != 0) return -1;
    std::string record;
    bool good = false;
    for (int tries = 0; tries < ATTEMPTS && !good; tries++) {
      unsigned char first = 0;
      if (KFOdbierzBajt(&first) != 0) continue;
      if (first == KF_EOT) return 0;
      record.assign(RECORD, '\0');
      record[0] = static_cast<char>(first);
      if (KFOdbierzZnaki(record.data() + 1, RECORD - 1) != 0) continue;
      good = KFXor(record.substr(1, 36)) == static_cast<unsigned char>(record[37]);
      if (!good && KFWyslijBajt(KF_NAK) != 0) return -1;
    }
    // The tries are bounded: a line that gives no good record ends the reading.
    if (!good) return -1;
    std::string code = record.substr(5, 13), quantity = record.substr(18, 8), value = record.substr(26, 10);
    quantity[0] = quantity[0] == 'F' ? '-' : ' ';
    value[0] = value[0] == 'F' ? '-' : ' ';
    std::fprintf(reportFile, "%s\t%s\t%s\n", code.c_str(), quantity.c_str(), value.c_str());
    KFPokazRaport(code.c_str(), 13, "", 0, KFLiczbaPola(quantity.c_str(), 8) / 100.0,
                  KFLiczbaPola(value.c_str(), 10) / 100.0);
  }
}

}  // namespace

char Ps2000CyfraKontrolna(const std::string& field13) {
  int sum = 0;
  for (int position = 2; position <= 13; position++) {
    int digit = field13[static_cast<size_t>(13 - position)] - '0';
    sum += position % 2 == 0 ? 3 * digit : digit;
  }
  return static_cast<char>('0' + (10 - ((sum % 10) + 10) % 10) % 10);
}

std::string Ps2000Nazwa(const char* name, int length) {
  static const std::string letters = Utf8ToMazText("ĄąĆćĘęŁłŃńÓóŚśŹźŻż");
  static const unsigned char codes[] = {0xC8, 0xC0, 0xC9, 0xC1, 0xCA, 0xC2, 0xCB, 0xC3, 0xCC,
                                        0xC4, 0xCD, 0xC5, 0xCE, 0xC6, 0xCF, 0xC7, 0xCF, 0xC7};
  std::string text(name, static_cast<size_t>(length < 12 ? length : 12));
  text.resize(12, ' ');
  std::string split;
  for (char c : text) {
    size_t at = letters.find(c);
    unsigned char byte = at != std::string::npos ? codes[at] : static_cast<unsigned char>(c ? c : ' ');
    split += static_cast<char>('0' + (byte >> 4));
    split += static_cast<char>('0' + (byte & 0x0F));
  }
  return split;
}

int Ps2000SendTow(int department, const char* code, int codeLength, const char* name, int nameLength, double price,
                  int vatCode, const char* date, char action) {
  if (KFKodDlugosc(Take(), code, codeLength) != 0) return -1;
  std::string field = Code13(code, codeLength, Take());
  if (KFNumerDzialu(department, code, codeLength) != 0 || KFKodCyfry(field.c_str(), 13) != 0) return -1;
  char department2[8];
  std::snprintf(department2, sizeof department2, "%02d", department % 100);
  std::string header = Header('U', '1', '0', date);
  std::string data = Frame("D" + Ecr() + 'U' + action + field + Ps2000Nazwa(name, nameLength) + department2 +
                           KFCenaGrosze(price, 8) + "000" + VatDigit(vatCode) + "01" + std::string(8, '0'));
  if (KFEnq(ENQ_TRIES) != 0) return NoLink();
  // Each return from the data frame to the header uses up one of these too,
  // so a register that keeps answering otherwise cannot hold the line.
  for (int budget = ATTEMPTS, returns = ATTEMPTS; returns > 0; returns--) {
    if (SendUntilAck(header, &budget) != 0) break;
    budget = ATTEMPTS;
    int result = SendUntilAck(data, &budget);
    if (result == 0) {
      unsigned char ignored = 0;
      if (KFWyslijBajt(KF_EOT) == 0) KFOdbierzBajt(&ignored);
      return 0;
    }
    if (result > 0) break;
  }
  return NoLink();
}

int Ps2000Koniec() {
  unsigned char ignored = 0;
  if (KFWyslijBajt(KF_EOT) != 0) return -1;
  KFOdbierzBajt(&ignored);
  return 0;
}

int Ps2000OpenRaport(const char* date) {
  Ps2000CloseRaport();
  reportFile = std::fopen("ps2000.plu", "w+");
  if (!reportFile) return -1;
  std::fputs("Raport plu PS2000\n", reportFile);
  std::string header = Header('c', '0', '1', date);
  if (KFEnq(ENQ_TRIES) != 0) return NoLink();
  for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
    unsigned char answer = 0;
    if (KFWyslijTekst(header) != 0 || CzytajZnak(&answer) != 0 || answer == KF_NAK) continue;
    if (answer != KF_ACK) break;
    if (KFWyslijBajt(KF_EOT) != 0 || CzytajZnak(&answer) != 0) continue;
    if (answer == KF_EOT) return 0;
    if (answer != KF_ENQ) continue;
    KFPokazTekst(Utf8ToMazText("Początek odczytu raportu !").c_str());
    if (ReadRecords() != 0) break;
    std::fflush(reportFile);
    KFPokazTekst(Utf8ToMazText("Koniec odczytu raportu !").c_str());
    KFPokazTekst(Utf8ToMazText("Analiza raportu !").c_str());
    return 0;
  }
  return NoLink();
}

int Ps2000RapTow(const char* code, int codeLength, double* quantity, double* value) {
  if (KFKodDlugosc(13, code, codeLength) != 0) return -1;
  if (!reportFile) return -1;
  std::string field = Code13(code, codeLength, 13);
  std::rewind(reportFile);
  char line[160];
  if (!std::fgets(line, sizeof line, reportFile)) return -1;
  while (std::fgets(line, sizeof line, reportFile)) {
    if (std::strncmp(line, field.c_str(), 13) != 0) continue;
    if (std::strlen(line) >= 33) {
      *quantity = KFLiczbaPola(line + 14, 8) / 100.0;
      *value = KFLiczbaPola(line + 23, 10) / 100.0;
    }
    return 0;
  }
  return std::ferror(reportFile) ? -1 : 0;
}

void Ps2000CloseRaport() {
  if (reportFile) std::fclose(reportFile);
  reportFile = nullptr;
}

int Ps2000Zerowanie(const char* date, int file) {
  std::string header = Header(static_cast<char>(file), '2', '0', date);
  if (KFEnq(ENQ_TRIES) != 0) return NoLink();
  for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
    unsigned char answer = 0;
    if (KFWyslijTekst(header) != 0 || CzytajZnak(&answer) != 0 || answer == KF_NAK) continue;
    if (answer != KF_ACK) break;
    unsigned char ignored = 0;
    if (KFWyslijBajt(KF_EOT) == 0) KFOdbierzBajt(&ignored);
    return 0;
  }
  return NoLink();
}

int Ps2000SprawdzKod(int department, const char* code, int codeLength) {
  int result = KFNumerDzialu(department, code, codeLength);
  result |= KFKodDlugosc(Take(), code, codeLength);
  std::string field = Code13(code, codeLength, Take());
  std::string taken(code, static_cast<size_t>(codeLength < Take() ? codeLength : Take()));
  taken.erase(taken.find_last_not_of(' ') + 1);
  size_t digits = taken.size();
  if ((digits == 7 || digits == 8 || digits == 12 || digits == 13) && Ps2000CyfraKontrolna(field) != field[12]) {
    std::string text = Utf8ToMazText("Błąd sumy kontrolnej kodu - ") + field;
    Alarm(text.c_str());
    result = -1;
  }
  result |= KFKodCyfry(field.c_str(), 13);
  return result != 0 ? -1 : 0;
}

namespace {

int Send(const KFTowar* g, int) {
  return Ps2000SendTow(g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode, g->date,
                       '1');
}

void End() { Ps2000Koniec(); }

int Delete(const KFTowar* g, int) {
  int result = Ps2000SendTow(g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode,
                             g->date, '2');
  Ps2000Koniec();
  return result;
}

int OpenReport() { return Ps2000OpenRaport(get_cur_das(0)); }

int Report(const KFTowar* g, double* quantity, double* value) {
  return Ps2000RapTow(g->code, g->codeLength, quantity, value);
}

// No list is read from this register.
int List(FILE*) {
  Ps2000CloseRaport();
  return 0;
}

int Zero(const char* date) {
  int result = Ps2000Zerowanie(date, 100);
  if (result == 0) result = Ps2000Zerowanie(date, 99);
  Ps2000Koniec();
  return result;
}

int Check(const KFTowar* g) { return Ps2000SprawdzKod(g->department, g->code, g->codeLength); }

}  // namespace

const KFDriver kfDriverPs2000 = {nullptr, nullptr,           Send, End,  Delete, OpenReport,
                                 Report,  Ps2000CloseRaport, List, Zero, Check};
