// The four CR280 models: one protocol over the layer's byte functions (KF_STX,
// command, data, KF_ETX and an XOR check byte), with the models differing in
// field widths, fill characters, scales and name letter tables.
#include <cstdio>
#include <string>

#include "env/code_pages.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"
#include "ui/message_box.h"

namespace {

constexpr int ATTEMPTS = 7;

enum class CodeCheck { Digits, DigitsOrBlanks, None };

struct Model {
  int codeLimit;
  char fill;
  CodeCheck check;
  bool fourBlanks;    // after the name
  int listShift;      // the list answer's fields this much to the left
  bool tableP;
  int answerLength;
  int quantityAt, quantityDigits;
  double quantityScale;
  int valueAt;
  double valueScale;
  const char* listFrom;
  const char* listTo;
};

const Model kPlus = {6, '0', CodeCheck::Digits, false, 0, true, 58, 42, 4, 1, 46, 100, "0000000000001", "0000000999999"};
const Model kPlus3 = {6, ' ', CodeCheck::DigitsOrBlanks, true, 1, true, 59, 41, 6, 100, 47, 100, "            1",
                      "       999999"};
const Model kTher4 = {13, ' ', CodeCheck::None, false, 1, false, 59, 41, 6, 10000, 47, 10000, "            1",
                      "9999999999999"};
const Model kTher3 = {13, ' ', CodeCheck::None, false, 1, false, 57, 41, 4, 1, 45, 100, "            1",
                      "9999999999999"};

std::string Frame(const std::string& body) {
  std::string frame = static_cast<char>(KF_STX) + body + static_cast<char>(KF_ETX);
  frame += static_cast<char>(KFXor(frame.substr(1)));
  return frame;
}



bool XorRight(const std::string& frame) {
  return frame.size() >= 2 &&
         KFXor(frame.substr(1, frame.size() - 2)) == static_cast<unsigned char>(frame.back());
}

// The code field, or "" after the check's message.
std::string CodeField(const Model& model, const char* code, int codeLength) {
  if (KFKodDlugosc(model.codeLimit, code, codeLength) != 0) return "";
  std::string field = KFPoleKodu(code, codeLength, model.codeLimit, 13, model.fill);
  if (model.check == CodeCheck::Digits && KFKodCyfry(field.c_str(), 13) != 0) return "";
  if (model.check == CodeCheck::DigitsOrBlanks && KFKodCyfrySpacje(field.c_str(), 13) != 0) return "";
  return field;
}

// KF_STX was read: the status frame when 'S' follows; else 1.
int AfterStx() {
  unsigned char byte = 0;
  if (KFOdbierzBajt(&byte) != 0) return -1;
  return byte == 'S' ? Cr280Status() : 1;
}

int SendTow(const Model& model, int department, const char* code, int codeLength, const char* name, int nameLength,
            double price, int vatCode, char action) {
  std::string field = CodeField(model, code, codeLength);
  if (field.empty()) return -1;
  if (KFNumerDzialu(department, code, codeLength) != 0) return -1;
  char department2[8];
  std::snprintf(department2, sizeof department2, "%02d", department % 100);
  std::string body = std::string("P") + action + field + department2 + Cr280LiteraVat(vatCode) + std::string(3, '\0') +
                     KFCenaGrosze(price, 8) + Cr280Nazwa(name, nameLength, model.tableP);
  if (model.fourBlanks) body += "    ";
  std::string frame = Frame(body);
  for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
    if (KFWyslijTekst(frame) != 0) continue;
    int answer = Cr280Odpowiedz();
    if (answer == 0) return 0;
    if (answer < 0) break;
  }
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

// One attempt at a report item: 0 done, 1 try again, -1 failed.
int ReportAttempt(const Model& model, const std::string& frame, double* quantity, double* value) {
  if (KFWyslijTekst(frame) != 0) return 1;
  unsigned char byte = 0;
  if (KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == KF_EOT) return 1;
  if (byte == KF_STX) {
    AfterStx();
    return -1;
  }
  if (byte != KF_ACK) return -1;
  if (KFWyslijBajt(KF_EOT) != 0 || KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == KF_STX) {
    AfterStx();
    return -1;
  }
  if (byte != KF_ENQ || KFWyslijBajt(KF_ACK) != 0 || KFOdbierzBajt(&byte) != 0 || byte != KF_STX || KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == 'S') return Cr280Status();
  if (byte != 'p') return -1;
  std::string answer(static_cast<size_t>(model.answerLength), '\0');
  answer[0] = static_cast<char>(KF_STX);
  answer[1] = 'p';
  if (KFOdbierzZnaki(answer.data() + 2, model.answerLength - 2) != 0) return -1;
  if (!XorRight(answer)) {
    KFBladKasy("Błąd sumy kontrolnej !");
    return -1;
  }
  *quantity = KFLiczbaPola(answer.data() + model.quantityAt, model.quantityDigits) / model.quantityScale;
  *value = KFLiczbaPola(answer.data() + model.valueAt, 10) / model.valueScale;
  if (KFWyslijBajt(KF_ACK) != 0 || KFOdbierzBajt(&byte) != 0 || byte != KF_STX || KFOdbierzBajt(&byte) != 0 || byte != 'S') return -1;
  return Cr280Status();
}

int RapTow(const Model& model, const char* code, int codeLength, double* quantity, double* value) {
  std::string field = CodeField(model, code, codeLength);
  if (field.empty()) return -1;
  std::string frame = Frame("p0" + field + field);
  for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
    int result = ReportAttempt(model, frame, quantity, value);
    if (result == 0) return 0;
    if (result < 0) break;
  }
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

int ListItem(const Model& model, FILE* file) {
  std::string item(static_cast<size_t>(model.answerLength), '\0');
  item[0] = static_cast<char>(KF_STX);
  item[1] = 'p';
  if (KFOdbierzZnaki(item.data() + 2, model.answerLength - 2) != 0) return 1;
  if (!XorRight(item)) {
    KFBladKasy("Błąd sumy kontrolnej !");
    return -1;
  }
  int shift = model.listShift;
  auto at = [&](int offset, int count) { return item.substr(static_cast<size_t>(offset - shift), static_cast<size_t>(count)); };
  std::string code = at(3, 13);
  std::string name = Cr280NazwaWstecz(at(30, 12), model.tableP);
  int department = static_cast<int>(KFLiczbaPola(at(16, 2).c_str(), 2));
  std::fprintf(file, "%s\t%s\t%d\t%f\t%d\n", code.c_str(), name.c_str(), Cr280KodVat(at(18, 1)[0]),
               KFLiczbaPola(at(22, 8).c_str(), 8) / 100.0, department);
  return 0;
}

int ListOpening(const Model& model) {
  std::string frame = Frame(std::string("p0") + model.listFrom + model.listTo);
  int attempt = 0;
  while (attempt < ATTEMPTS && KFWyslijTekst(frame) != 0) attempt++;
  if (attempt == ATTEMPTS) return -1;
  unsigned char byte = 0;
  if (KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == KF_EOT) return 1;
  if (byte == KF_STX) {
    AfterStx();
    return -1;
  }
  if (byte != KF_ACK || KFWyslijBajt(KF_EOT) != 0 || KFOdbierzBajt(&byte) != 0) return -1;
  if (byte == KF_STX) {
    AfterStx();
    return -1;
  }
  return byte == KF_ENQ ? 0 : -1;
}

int CennikOdczyt(const Model& model, FILE* file) {
  int result = ListOpening(model);
  while (result == 0) {
    unsigned char byte = 0;
    if (KFWyslijBajt(KF_ACK) != 0 || KFOdbierzBajt(&byte) != 0) {
      result = -1;
      break;
    }
    if (byte == KF_EOT) return 0;
    if (byte != KF_STX || KFOdbierzBajt(&byte) != 0) {
      result = -1;
      break;
    }
    if (byte == 'S') {
      result = Cr280Status();
      if (result == 0) return 0;
      break;
    }
    if (byte != 'p') {
      result = -1;
      break;
    }
    int item = ListItem(model, file);
    if (item < 0) result = -1;
  }
  if (result > 0) return 0;
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

int Zerowanie() {
  std::string frame = Frame("Zp");
  unsigned char byte = 0;
  if (KFWyslijTekst(frame) == 0 && KFOdbierzBajt(&byte) == 0 && byte == KF_ACK) return 0;
  Alarm(MSG_KF_NO_LINK);
  return -1;
}

int SprawdzKod(const Model& model, int department, const char* code, int codeLength) {
  int result = KFNumerDzialu(department, code, codeLength);
  result |= KFKodDlugosc(model.codeLimit, code, codeLength);
  std::string field = KFPoleKodu(code, codeLength, model.codeLimit, 13, '0');
  if (model.check == CodeCheck::Digits) result |= KFKodCyfry(field.c_str(), 13);
  if (model.check == CodeCheck::DigitsOrBlanks) result |= KFKodCyfrySpacje(field.c_str(), 13);
  return result != 0 ? -1 : 0;
}

// Mazovia letter to register byte, per table, and back.
struct LetterTables {
  unsigned char out[2][256], back[2][256];
};

const LetterTables& Tables() {
  static const LetterTables tables = [] {
    struct Row {
      const char* letters;   // UTF-8: capital, small
      unsigned char p[2], t[2];
    };
    const Row rows[] = {
        {"Ąą", {0xA8, 0xA0}, {0x80, 0x90}}, {"Ćć", {0xA9, 0xA1}, {0x81, 0x92}}, {"Ęę", {0xAA, 0xA2}, {0x84, 0x95}},
        {"Łł", {0xAB, 0xA3}, {0x85, 0x98}}, {"Ńń", {0xAC, 0xA4}, {0x86, 0x99}}, {"Óó", {0xAD, 0xA5}, {0x88, 0x9A}},
        {"Śś", {0xAE, 0xA6}, {0x89, 0x9B}}, {"Źź", {0xAF, 0xA7}, {0x8B, 0x9E}}, {"Żż", {0x9F, 0x9E}, {0x8C, 0x9F}}};
    LetterTables t{};
    for (int table = 0; table < 2; table++)
      for (int c = 0; c < 256; c++) t.out[table][c] = t.back[table][c] = static_cast<unsigned char>(c);
    for (const Row& row : rows) {
      std::string pair = Utf8ToMazText(row.letters);
      for (int i = 0; i < 2; i++) {
        unsigned char letter = static_cast<unsigned char>(pair[static_cast<size_t>(i)]);
        t.out[0][letter] = row.p[i];
        t.back[0][row.p[i]] = letter;
        t.out[1][letter] = row.t[i];
        t.back[1][row.t[i]] = letter;
      }
    }
    return t;
  }();
  return tables;
}

}  // namespace

std::string Cr280Nazwa(const char* name, int length, bool tableP) {
  std::string text(name, static_cast<size_t>(length < 8 ? length : 8));
  for (char& c : text) c = c == '\0' ? ' ' : static_cast<char>(Tables().out[tableP ? 0 : 1][static_cast<unsigned char>(c)]);
  text.resize(12, ' ');
  return text;
}

std::string Cr280NazwaWstecz(const std::string& bytes, bool tableP) {
  std::string text = bytes;
  for (char& c : text) c = static_cast<char>(Tables().back[tableP ? 0 : 1][static_cast<unsigned char>(c)]);
  return text;
}

char Cr280LiteraVat(int vatCode) { return KFLiteraVat(parametryKF.cr280, vatCode, '0'); }
int Cr280KodVat(char letter) { return KFKodVat(parametryKF.cr280, letter); }

int Cr280Status() {
  char status[8];
  if (KFOdbierzZnaki(status, 8) != 0) return -1;
  const char* text = nullptr;
  switch (status[1]) {
    case '0': break;
    case '1': text = "Kasa zajęta"; break;
    case '2': text = "Nielegalna komenda"; break;
    case '3': text = "Brak raportu Z"; break;
    case '4': text = "Brak papieru"; break;
    default: text = "Nierozpoznany błąd"; break;
  }
  if (text) KFBladKasy(text);
  unsigned char byte = 0;
  if (KFWyslijBajt(KF_ACK) == 0) KFOdbierzBajt(&byte);
  return text ? -1 : 0;
}

int Cr280Odpowiedz() {
  unsigned char byte = 0;
  if (KFOdbierzBajt(&byte) != 0) return -1;
  switch (byte) {
    case KF_EOT: return 1;
    case KF_ACK: return 0;
    case KF_STX: return AfterStx();
    case KF_DLE:
      if (KFOdbierzBajt(&byte) != 0 || byte != ';') return -1;
      for (int i = 0; i < 15; i++)
        if (KFOdbierzBajt(&byte) != 0) return -1;
        else if (byte == KF_ACK) return 0;
      return -1;
    default: return -1;
  }
}

int Cr280Koniec() { return KFWyslijBajt(KF_EOT); }

int Cr280PlusSendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                     double price, int vatCode, char action) {
  return SendTow(kPlus, department, code, codeLength, name, nameLength, price, vatCode, action);
}
int Cr280Plus3SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action) {
  return SendTow(kPlus3, department, code, codeLength, name, nameLength, price, vatCode, action);
}
int Cr280Ther3SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action) {
  return SendTow(kTher3, department, code, codeLength, name, nameLength, price, vatCode, action);
}
int Cr280Ther4SendTow(int department, const char* code, int codeLength, const char* name, int nameLength,
                      double price, int vatCode, char action) {
  return SendTow(kTher4, department, code, codeLength, name, nameLength, price, vatCode, action);
}
int Cr280PlusRapTow(const char* code, int codeLength, double* quantity, double* value) {
  return RapTow(kPlus, code, codeLength, quantity, value);
}
int Cr280Plus3RapTow(const char* code, int codeLength, double* quantity, double* value) {
  return RapTow(kPlus3, code, codeLength, quantity, value);
}
int Cr280Ther3RapTow(const char* code, int codeLength, double* quantity, double* value) {
  return RapTow(kTher3, code, codeLength, quantity, value);
}
int Cr280Ther4RapTow(const char* code, int codeLength, double* quantity, double* value) {
  return RapTow(kTher4, code, codeLength, quantity, value);
}
int Cr280PlusCennikOdczyt(FILE* file) { return CennikOdczyt(kPlus, file); }
int Cr280Plus3CennikOdczyt(FILE* file) { return CennikOdczyt(kPlus3, file); }
int Cr280Ther3CennikOdczyt(FILE* file) { return CennikOdczyt(kTher3, file); }
int Cr280Ther4CennikOdczyt(FILE* file) { return CennikOdczyt(kTher4, file); }
int Cr280PlusZerowanie() { return Zerowanie(); }
int Cr280Plus3Zerowanie() { return Zerowanie(); }
int Cr280Ther3Zerowanie() { return Zerowanie(); }
int Cr280Ther4Zerowanie() { return Zerowanie(); }
int Cr280PlusSprawdzKod(int department, const char* code, int codeLength) {
  return SprawdzKod(kPlus, department, code, codeLength);
}
int Cr280Plus3SprawdzKod(int department, const char* code, int codeLength) {
  return SprawdzKod(kPlus3, department, code, codeLength);
}
int Cr280Ther3SprawdzKod(int department, const char* code, int codeLength) {
  return SprawdzKod(kTher3, department, code, codeLength);
}
int Cr280Ther4SprawdzKod(int department, const char* code, int codeLength) {
  return SprawdzKod(kTher4, department, code, codeLength);
}

namespace {

template <const Model& M>
int SendOf(const KFTowar* g, int) {
  return SendTow(M, g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode, '0');
}

template <const Model& M>
int DeleteOf(const KFTowar* g, int) {
  int result = SendTow(M, g->department, g->code, g->codeLength, g->name, g->nameLength, g->price, g->vatCode, '1');
  Cr280Koniec();
  return result;
}

template <const Model& M>
int ReportOf(const KFTowar* g, double* quantity, double* value) {
  return RapTow(M, g->code, g->codeLength, quantity, value);
}

template <const Model& M>
int ListOf(FILE* file) {
  return CennikOdczyt(M, file);
}

int ZeroAndEnd(const char*) {
  int result = Zerowanie();
  Cr280Koniec();
  return result;
}

template <const Model& M>
int CheckOf(const KFTowar* g) {
  return SprawdzKod(M, g->department, g->code, g->codeLength);
}

void End() { Cr280Koniec(); }

template <const Model& M>
constexpr KFDriver DriverOf() {
  return {nullptr, nullptr, SendOf<M>, End, DeleteOf<M>, nullptr, ReportOf<M>, nullptr, ListOf<M>, ZeroAndEnd, CheckOf<M>};
}

}  // namespace

const KFDriver kfDriverCr280Plus = DriverOf<kPlus>();
const KFDriver kfDriverCr280Plus3 = DriverOf<kPlus3>();
const KFDriver kfDriverCr280Ther3 = DriverOf<kTher3>();
const KFDriver kfDriverCr280Ther4 = DriverOf<kTher4>();
