// DSA40, DSA100, DSA4000S and MAŁA: one decimal checksum, two frame kinds.
// DSA100 and DSA4000S number their frames and the register repeats the
// command in its answer, which the program acknowledges; DSA40 and MAŁA
// answer a plain frame with KF_ACK and, where data was asked, a data frame.
#include <cstdio>
#include <string>

#include "env/code_pages.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "interchange/serial_port.h"
#include "ui/message_box.h"

namespace {

constexpr double SEND_SECONDS = 3.0;
constexpr double RECEIVE_SECONDS = 20.0;
constexpr int NUMBERED_ATTEMPTS = 4;
constexpr int PLAIN_ATTEMPTS = 7;

const char* const kNumberedFailure = "Błąd komunikacji, kasa zajęta lub włóż kluczyk A !";
const char* const kPlainFailure = "Błąd komunikacji, kasa zajęta lub w trybie PRG-X/Z !";

struct NumberedModel {
  int* sequence;
  int codeLimit;      // KFKodDlugosc and the code field's width
  const char* reportCommand[2];   // modes '2' and '3'
  int lastPlu;
  // PLU list answer offsets: code, name, price, department, VAT letter.
  int listCode, listName, listPrice, listDepartment, listLetter;
};

int sequence4000 = 0;
int sequence100 = 0;
const NumberedModel kDsa4000 = {&sequence4000, 5, {"2055", "3059"}, 13319, 8, 13, 29, 38, 39};
const NumberedModel kDsa100 = {&sequence100, 4, {"2050", "3054"}, 2730, 8, 12, 28, 37, 38};

struct PlainModel {
  bool mala;
  int codeLimit;
  int answerLength;
  int reportQuantity, quantityDigits, reportValue;
  int listCode, listCodeLength;
  int lastPlu;
};
const PlainModel kDsa40 = {false, 4, 44, 26, 6, 32, 3, 4, 1800};
const PlainModel kMala = {true, 3, 61, 39, 10, 49, 4, 3, 999};

std::string Digits(int number, int width) {
  std::string text = std::to_string(number);
  return std::string(text.size() < static_cast<size_t>(width) ? static_cast<size_t>(width) - text.size() : 0, '0') + text;
}

// A frame of the bytes after KF_STX: KF_STX, the bytes, the checksum, KF_ETX.
std::string Frame(const std::string& body) {
  std::string frame = static_cast<char>(KF_STX) + body + "00" + static_cast<char>(KF_ETX);
  std::string sum = DsaSuma(frame);
  frame[frame.size() - 3] = sum[0];
  frame[frame.size() - 2] = sum[1];
  return frame;
}

bool SumRight(const std::string& frame) {
  return frame.size() >= 4 && DsaSuma(frame) == frame.substr(frame.size() - 3, 2);
}

enum class Answer { Frame, BareAck, Nothing, Failed };

Answer ReceiveNumbered(size_t bufferSize, std::string* answer) {
  SetComTimeout(RECEIVE_SECONDS);
  KFSladPoczatek(0, 0);
  bool ack = false;
  Answer result = Answer::Nothing;
  answer->clear();
  unsigned char byte = 0;
  while (KFCzytajZnak(&byte) == 0) {
    if (answer->empty()) {
      if (byte == KF_ACK) ack = true;
      if (byte == KF_STX) *answer += static_cast<char>(byte);
      continue;
    }
    if (answer->size() >= bufferSize) {
      result = Answer::Failed;
      break;
    }
    *answer += static_cast<char>(byte);
    if (byte != KF_ETX) continue;
    if (!SumRight(*answer)) {
      KFSladKoniec();
      KFBladKasy("Błąd sumy kontrolnej !");
      return Answer::Failed;
    }
    result = Answer::Frame;
    break;
  }
  KFSladKoniec();
  if (result == Answer::Nothing && answer->empty() && ack) return Answer::BareAck;
  return result == Answer::Nothing && !answer->empty() ? Answer::Failed : result;
}

// One numbered exchange; 0 with the register's answer, or -1 after the message.
int Numbered(const NumberedModel& model, const std::string& command, const std::string& data, size_t bufferSize,
             char mode, std::string* answer) {
  for (int attempt = 0; attempt < NUMBERED_ATTEMPTS; attempt++) {
    std::string frame = Frame(Digits(*model.sequence % 100, 2) + 'V' + command + data);
    if (KFPiszRamke(frame, SEND_SECONDS) != 0) continue;
    Answer got = ReceiveNumbered(bufferSize, answer);
    if (got == Answer::BareAck) {
      ++*model.sequence;
      if (mode == '3') break;
      continue;
    }
    if (got != Answer::Frame) break;
    if (answer->size() >= 8 && answer->compare(3, 5, frame, 3, 5) == 0) {
      ++*model.sequence;
      KFWyslijBajt(KF_ACK);
      return 0;
    }
    if (answer->size() >= 11 && answer->compare(4, 3, "ERR") == 0) {
      std::string text = Utf8ToMazText("Błąd numer ") + answer->substr(7, 4);
      Alarm(text.c_str());
    }
    break;
  }
  KFBladKasy(kNumberedFailure);
  return -1;
}

// One plain exchange: 0 done (the data frame in *answer when one is asked
// for), 1 a list item the register would not give, -1 after the message.
int Plain(const std::string& frame, int answerLength, bool listItem, std::string* answer) {
  bool refused = false;
  for (int attempt = 0; attempt < PLAIN_ATTEMPTS; attempt++) {
    refused = false;
    if (KFWyslijTekst(frame) != 0) continue;
    unsigned char byte = 0;
    if (KFOdbierzBajt(&byte) != 0) break;
    if (byte != KF_ACK) {
      refused = true;
      continue;
    }
    if (answerLength == 0) return 0;
    answer->assign(static_cast<size_t>(answerLength), '\0');
    if (KFOdbierzZnaki(answer->data(), answerLength) != 0) break;
    if ((*answer)[1] != 'A' || (*answer)[2] != 'p') break;
    if (!SumRight(*answer)) {
      KFBladKasy("Błąd sumy kontrolnej !");
      break;
    }
    return 0;
  }
  if (listItem && refused) return 1;
  KFBladKasy(kPlainFailure);
  return -1;
}

std::string Barcode(const char* second, int secondLength) {
  std::string text = second ? std::string(second, static_cast<size_t>(secondLength < 13 ? secondLength : 13)) : "";
  text.resize(13, ' ');
  for (char& c : text)
    if (c == ' ' || c == '\0') c = '0';
  return text;
}

// The code field, or "" after the check's message.
std::string CheckedCode(const char* code, int codeLength, int limit, int width) {
  if (KFKodDlugosc(limit, code, codeLength) != 0) return "";
  std::string field = KFPoleKodu(code, codeLength, width, width, '0');
  return KFKodCyfry(field.c_str(), width) != 0 ? "" : field;
}

int NumberedRapTow(const NumberedModel& model, const char* code, int codeLength, double* quantity, double* value,
                   char mode) {
  std::string field = CheckedCode(code, codeLength, model.codeLimit, model.codeLimit);
  if (field.empty()) return -1;
  std::string answer;
  if (Numbered(model, model.reportCommand[mode == '3' ? 1 : 0], "01" + field, 99, mode, &answer) != 0) return -1;
  if (mode != '3' && answer.size() >= 28) {
    *quantity = KFLiczbaPola(answer.data() + 10, 9) / 1000.0;
    *value = KFLiczbaPola(answer.data() + 19, 9) / 100.0;
  }
  return 0;
}

int Department(const std::string& text) {
  int number = 0;
  for (char c : text)
    if (c >= '0' && c <= '9') number = number * 10 + (c - '0');
  return number;
}

bool Blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

void WriteListLine(FILE* file, const std::string& code, const std::string& name, int vatCode, double price,
                   int department) {
  std::fprintf(file, "%s\t%s\t%d\t%f\t%d\n", code.c_str(), name.c_str(), vatCode, price, department);
}

int NumberedCennik(const NumberedModel& model, FILE* file) {
  for (int plu = 1; plu <= model.lastPlu; plu++) {
    std::string answer;
    if (Numbered(model, "4202", Digits(plu, model.codeLimit), 99, 0, &answer) != 0) return -1;
    if (answer.size() < static_cast<size_t>(model.listLetter + 1)) continue;
    std::string name = DsaNazwaWstecz(answer.substr(static_cast<size_t>(model.listName), 16));
    if (Blank(name)) continue;
    WriteListLine(file, answer.substr(static_cast<size_t>(model.listCode), static_cast<size_t>(model.codeLimit)), name,
                  DsaKodVat(answer[static_cast<size_t>(model.listLetter)]),
                  KFLiczbaPola(answer.data() + model.listPrice, 9) / 100.0,
                  Department(answer.substr(static_cast<size_t>(model.listDepartment), 2)));
  }
  return 0;
}

int PlainSendTow(const PlainModel& model, const char* code, int codeLength, const char* name, int nameLength,
                 double price, int vatCode) {
  std::string field = CheckedCode(code, codeLength, model.codeLimit, 4);
  if (field.empty()) return -1;
  std::string body = "PP" + field + KFCenaGrosze(price, 8) + Dsa40Nazwa(name, nameLength, 10);
  body += model.mala ? MalaLiteraVat(vatCode) : DsaLiteraVat(vatCode);
  if (model.mala) body += std::string(13, '0');
  std::string unused;
  return Plain(Frame(body), 0, false, &unused) == 0 ? 0 : -1;
}

int PlainRapTow(const PlainModel& model, const char* code, int codeLength, double* quantity, double* value) {
  std::string field = CheckedCode(code, codeLength, 4, 4);
  if (field.empty()) return -1;
  std::string answer;
  if (Plain(Frame("Ap" + field), model.answerLength, false, &answer) != 0) return -1;
  *quantity = KFLiczbaPola(answer.data() + model.reportQuantity, model.quantityDigits);
  *value = KFLiczbaPola(answer.data() + model.reportValue, 9) / 100.0;
  return 0;
}

int PlainCennik(const PlainModel& model, FILE* file) {
  for (int plu = 1; plu <= model.lastPlu; plu++) {
    std::string number = std::to_string(plu);
    number = std::string(4 - number.size(), ' ') + number;
    std::string answer;
    int result = Plain(Frame("Ap" + number), model.answerLength, true, &answer);
    if (result < 0) return -1;
    if (result > 0) continue;
    std::string name = Dsa40NazwaWstecz(answer.substr(15, 10));
    if (Blank(name)) continue;
    char both = answer[25];
    WriteListLine(file, answer.substr(static_cast<size_t>(model.listCode), static_cast<size_t>(model.listCodeLength)),
                  name, model.mala ? MalaKodVat(both) : DsaKodVat(both), KFLiczbaPola(answer.data() + 7, 8) / 100.0,
                  Department(std::string(1, both)));
  }
  return 0;
}

int PlainKoniec() {
  std::string frame = Frame("B");
  for (int attempt = 0; attempt < PLAIN_ATTEMPTS; attempt++)
    if (KFWyslijTekst(frame) == 0) return 0;
  KFBladKasy(kPlainFailure);
  return -1;
}

int SprawdzKod(const char* code, int codeLength, int limit, int take) {
  int result = KFKodDlugosc(limit, code, codeLength);
  result |= KFKodCyfry(KFPoleKodu(code, codeLength, take, take + 1, '0').c_str(), take + 1);
  return result != 0 ? -1 : 0;
}

// The DSA table: these characters in order are the bytes 0x41, 0x42 ...
const std::string& DsaTable() {
  static const std::string table = Utf8ToMazText(
      "AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWXYZŹŻQV[\\]^_`aąbcćdeęfghijklłmnńoóprsśtuwxyzźżqv{|}~");
  return table;
}

struct LetterPair {
  const char* letter;   // UTF-8
  unsigned char byte;
};
const LetterPair kDsa40Pairs[] = {{"Ą", 0x85}, {"Ę", 0x8A}, {"Ć", 0x9B}, {"Ń", 0xA4}, {"Ó", 0xA2},
                                  {"Ś", 's'},  {"Ź", 0x9F}, {"Ł", 0x9C}, {"Ż", 'z'}};

}  // namespace

std::string DsaSuma(const std::string& frame) {
  unsigned sum = 0;
  for (size_t i = 1; i + 3 < frame.size(); i++) sum += static_cast<unsigned char>(frame[i]);
  sum %= 100;
  return {static_cast<char>('0' + sum / 10), static_cast<char>('0' + sum % 10)};
}

std::string DsaNazwa(const char* name, int length, int width) {
  std::string text(name, static_cast<size_t>(length < width ? length : width));
  for (char& c : text) {
    size_t at = DsaTable().find(c);
    if (c == '\0') c = ' ';
    else if (at != std::string::npos) c = static_cast<char>(0x41 + at);
  }
  text.resize(static_cast<size_t>(width), ' ');
  return text;
}

std::string DsaNazwaWstecz(const std::string& bytes) {
  std::string text = bytes;
  for (char& c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= 0x41 && byte < 0x41 + DsaTable().size()) c = DsaTable()[byte - 0x41];
  }
  return text;
}

std::string Dsa40Nazwa(const char* name, int length, int width) {
  std::string text(name, static_cast<size_t>(length < width ? length : width));
  for (char& c : text) {
    c = static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
    if (c == '\0') c = ' ';
    for (const LetterPair& pair : kDsa40Pairs)
      if (Utf8ToMazText(pair.letter)[0] == c) {
        c = static_cast<char>(pair.byte);
        break;
      }
  }
  text.resize(static_cast<size_t>(width), ' ');
  return text;
}

std::string Dsa40NazwaWstecz(const std::string& bytes) {
  std::string text = bytes;
  for (char& c : text)
    for (const LetterPair& pair : kDsa40Pairs)
      if (pair.byte == static_cast<unsigned char>(c)) {
        c = Utf8ToMazText(pair.letter)[0];
        break;
      }
  return text;
}

char DsaLiteraVat(int vatCode) { return KFLiteraVat(parametryKF.dsa, vatCode, parametryKF.dsa[5]); }
int DsaKodVat(char letter) { return KFKodVat(parametryKF.dsa, letter); }
char MalaLiteraVat(int vatCode) { return KFLiteraVat(parametryKF.mala, vatCode, parametryKF.mala[5]); }
int MalaKodVat(char letter) { return KFKodVat(parametryKF.mala, letter); }

int Dsa4000SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode,
                   const char* second, int secondLength) {
  std::string field = CheckedCode(code, codeLength, 5, 5);
  if (field.empty()) return -1;
  std::string data = field + DsaNazwa(name, nameLength, 16) + KFCenaGrosze(price, 9) + '0' + DsaLiteraVat(vatCode) +
                     Barcode(second, secondLength);
  std::string answer;
  return Numbered(kDsa4000, "4002", data, 100, 0, &answer);
}

int Dsa100SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode) {
  std::string field = CheckedCode(code, codeLength, 4, 4);
  if (field.empty()) return -1;
  std::string data = field + DsaNazwa(name, nameLength, 16) + KFCenaGrosze(price, 9) + '0' + DsaLiteraVat(vatCode) +
                     "10000000";
  std::string answer;
  return Numbered(kDsa100, "4002", data, 100, 0, &answer);
}

int Dsa40SendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode) {
  return PlainSendTow(kDsa40, code, codeLength, name, nameLength, price, vatCode);
}

int MalaSendTow(const char* code, int codeLength, const char* name, int nameLength, double price, int vatCode) {
  return PlainSendTow(kMala, code, codeLength, name, nameLength, price, vatCode);
}

int Dsa4000RapTow(const char* code, int codeLength, double* quantity, double* value, char mode) {
  return NumberedRapTow(kDsa4000, code, codeLength, quantity, value, mode);
}

int Dsa100RapTow(const char* code, int codeLength, double* quantity, double* value, char mode) {
  return NumberedRapTow(kDsa100, code, codeLength, quantity, value, mode);
}

int Dsa40RapTow(const char* code, int codeLength, double* quantity, double* value) {
  return PlainRapTow(kDsa40, code, codeLength, quantity, value);
}

int MalaRapTow(const char* code, int codeLength, double* quantity, double* value) {
  return PlainRapTow(kMala, code, codeLength, quantity, value);
}

int Dsa4000CennikOdczyt(FILE* file) { return NumberedCennik(kDsa4000, file); }
int Dsa100CennikOdczyt(FILE* file) { return NumberedCennik(kDsa100, file); }
int Dsa40CennikOdczyt(FILE* file) { return PlainCennik(kDsa40, file); }
int MalaCennikOdczyt(FILE* file) { return PlainCennik(kMala, file); }
int Dsa40Koniec() { return PlainKoniec(); }
int MalaKoniec() { return PlainKoniec(); }
int Dsa4000SprawdzKod(const char* code, int codeLength) { return SprawdzKod(code, codeLength, 5, 5); }
int Dsa100SprawdzKod(const char* code, int codeLength) { return SprawdzKod(code, codeLength, 4, 4); }
int Dsa40SprawdzKod(const char* code, int codeLength) { return SprawdzKod(code, codeLength, 4, 4); }
int MalaSprawdzKod(const char* code, int codeLength) { return SprawdzKod(code, codeLength, 3, 4); }

namespace {

// DSA4000S numbers its PLUs by the goods record when parameter 104 asks.
struct Numbered4000 {
  const char* code;
  int codeLength;
  const char* second = "0";
  int secondLength = 1;
};

int Number4000(const KFTowar* g, Numbered4000* n) {
  n->code = g->code;
  n->codeLength = g->codeLength;
  return KFNumerPlu(parametryKF.dsaBarcode, g->record, 4, &n->code, &n->codeLength, &n->second, &n->secondLength);
}

int Send4000(const KFTowar* g, int) {
  Numbered4000 n;
  if (Number4000(g, &n) != 0) return -1;
  return Dsa4000SendTow(n.code, n.codeLength, g->name, g->nameLength, g->price, g->vatCode, n.second, n.secondLength);
}
int Send100(const KFTowar* g, int) {
  return Dsa100SendTow(g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode);
}
int Send40(const KFTowar* g, int) {
  return Dsa40SendTow(g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode);
}
int SendMala(const KFTowar* g, int) {
  return MalaSendTow(g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode);
}

// Questions 204 and 205: Esc to the first reads ('2'), yes to both zeroes ('3').
int OpenReport() { return KFPytajTrybRaportu('2', '3'); }

int Report4000(const KFTowar* g, double* quantity, double* value) {
  Numbered4000 n;
  if (Number4000(g, &n) != 0) return -1;
  return Dsa4000RapTow(n.code, n.codeLength, quantity, value, kfTrybRaportu);
}
int Report100(const KFTowar* g, double* quantity, double* value) {
  return Dsa100RapTow(g->code, g->codeLength, quantity, value, kfTrybRaportu);
}
int Report40(const KFTowar* g, double* quantity, double* value) {
  return Dsa40RapTow(g->code, g->codeLength, quantity, value);
}
int ReportMala(const KFTowar* g, double* quantity, double* value) {
  return MalaRapTow(g->code, g->codeLength, quantity, value);
}

void End40() { Dsa40Koniec(); }
void EndMala() { MalaKoniec(); }

int Check4000(const KFTowar* g) {
  Numbered4000 n;
  if (Number4000(g, &n) != 0) return -1;
  return Dsa4000SprawdzKod(n.code, n.codeLength);
}
int Check100(const KFTowar* g) { return Dsa100SprawdzKod(g->code, g->codeLength); }
int Check40(const KFTowar* g) { return Dsa40SprawdzKod(g->code, g->codeLength); }
int CheckMala(const KFTowar* g) { return MalaSprawdzKod(g->code, g->codeLength); }

}  // namespace

const KFDriver kfDriverDsa4000 = {nullptr,    nullptr, Send4000,            nullptr, nullptr,  OpenReport,
                                  Report4000, nullptr, Dsa4000CennikOdczyt, nullptr, Check4000};
const KFDriver kfDriverDsa100 = {nullptr,   nullptr, Send100,            nullptr, nullptr, OpenReport,
                                 Report100, nullptr, Dsa100CennikOdczyt, nullptr, Check100};
const KFDriver kfDriverDsa40 = {nullptr,  nullptr, Send40,            End40,   nullptr, nullptr,
                                Report40, nullptr, Dsa40CennikOdczyt, nullptr, Check40};
const KFDriver kfDriverMala = {nullptr,    nullptr, SendMala,         EndMala, nullptr, nullptr,
                               ReportMala, nullptr, MalaCennikOdczyt, nullptr, CheckMala};
