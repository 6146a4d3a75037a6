// The texts of a transfer order put on its printed forms: spaced text,
// amounts with their framing characters and in words, dates, account
// numbers, the payer and the payee, and one pre-printed section.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "env/amount_words.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"

namespace {

constexpr int DATE_WIDTH = 10;
constexpr int WORDS_WIDTH = 12;
constexpr size_t MOST_GROUPED = 64;
constexpr int SPLIT_AFTER = 8;

int boxes = 1;

bool Separator(char c) { return c == ' ' || c == '-'; }

std::string Trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
  return s;
}

std::string FieldText(DbField* field) { return Trimmed(std::string(f4ptr(field), f4len(field))); }

std::string Joined(const std::string& a, const std::string& b) {
  return a.empty() || b.empty() ? a + b : a + " " + b;
}

// Spaced text at `col` of a line `width` wide: what does not fit is left out.
void Put(char* line, int width, int col, const std::string& text, int step) {
  if (col >= width) return;
  size_t room = static_cast<size_t>((width - col + step - 1) / step);
  TekstRozstrzelony(line + col, text.substr(0, room).c_str(), ' ', step);
}

// Characters from `col` up to `endCol`, the rest from `nextCol` of the continuation line.
void PutWrapped(char* line, int width, int col, int endCol, char* next, int nextCol, const std::string& text,
                int step) {
  size_t fits = col < endCol ? static_cast<size_t>((endCol - col + step - 1) / step) : 0;
  Put(line, endCol, col, text.substr(0, fits), step);
  if (text.size() > fits) Put(next, width, nextCol, text.substr(fits), step);
}

// Name and address of a party on two lines.
void PartyLines(char* line1, char* line2, int length, DbField* n1, DbField* n2, DbField* a1, DbField* a2) {
  auto upper = [](const std::string& s) { return std::string(QuickStr(s.c_str(), static_cast<int>(s.size()), QS_UPPER)); };
  std::string name = upper(Joined(FieldText(n1), FieldText(n2)));
  std::string address = upper(Joined(FieldText(a1), FieldText(a2)));
  bool addresses = mainOptions.transfer34 != 'N';
  std::string first(static_cast<size_t>(length), ' '), second(static_cast<size_t>(length), ' ');
  if (addresses && static_cast<int>(name.size()) <= length && static_cast<int>(address.size()) <= length) {
    first = name;
    second = address;
  } else {
    std::string text = addresses ? Joined(name, address) : name;
    div_str(text.c_str(), static_cast<int>(text.size()), first.data(), length, second.data(), length, nullptr);
  }
  TekstRozstrzelony(line1, Trimmed(first).c_str(), ' ', boxes);
  TekstRozstrzelony(line2, Trimmed(second).c_str(), ' ', boxes);
}

DbField* Order(int field) { return Z5PLEW.field[field]; }

}  // namespace

void UstawKratkiPrzelewu(int step) { boxes = step; }

void TekstRozstrzelony(char* destination, const char* text, char blank, int step) {
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') n--;
  for (size_t i = 0; i < n; i++) destination[i * static_cast<size_t>(step)] = text[i] == ' ' ? blank : text[i];
}

void KwotaSlownieNaFormularz(char* destination, double amount, int width, int flags, int step) {
  if ((flags & 0x10) && ROUND(amount, 2) == 0) return;
  char number[64];
  ToMemCopyDoubleFmt(number, amount, width, flags & 15);
  char words[4 * 64 + 10];
  slownie_3(number, words, width, nullptr);
  TekstRozstrzelony(destination, words, ' ', step);
}

void DataNaFormularz(char* destination, DbField* date) {
  std::memset(destination, ' ', DATE_WIDTH);
  if (!date || FieldText(date).empty()) return;
  std::string text = FldFullDateQStr(date);
  std::memcpy(destination, text.data(), std::min(text.size(), static_cast<size_t>(DATE_WIDTH)));
}

std::string KwotaZeZnakami(const std::string& text) {
  std::string frame(static_cast<size_t>(std::max(mainOptions.transfer36, 0)), mainOptions.transfer35);
  return frame + text + frame;
}

std::string KwotaPrzelewuNaFormularz() {
  double amount = f4double(Order(PLEW_KWO));
  if (ROUND(amount, 2) == 0) return "";
  char number[32] = {};
  int n = MemPrintDoubleFmt(number, amount, 14, 2 | 0x20);
  std::string text = Trimmed(std::string(number, static_cast<size_t>(std::max(n, 0))));
  std::replace(text.begin(), text.end(), '.', ',');
  return KwotaZeZnakami(text);
}

void UsunSeparatoryKonta(char* text) {
  size_t keep = std::strlen(text) >= 3 && Separator(text[2]) ? 3 : 0;
  char* out = text + keep;
  for (char* in = text + keep; *in; in++)
    if (!Separator(*in)) *out++ = *in;
  *out = '\0';
}

std::string NumerKontaCzworkami(const char* text) {
  size_t keep = std::strlen(text) >= 3 && Separator(text[2]) ? 3 : 0;
  std::string out(text, keep), digits;
  for (const char* c = text + keep; *c; c++)
    if (!Separator(*c)) digits += *c;
  for (size_t i = 0; i < digits.size(); i += 4) {
    if (i > 0) out += ' ';
    out += digits.substr(i, 4);
  }
  return out.substr(0, MOST_GROUPED);
}

void KontoNaFormularz(char* line, int width, int checkCol, int restCol, int splitCol, int endCol, int continuation,
                      DbField* field) {
  std::string text = FieldText(field);
  bool boxed = boxes > 1;
  if (boxed) {
    UsunSeparatoryKonta(text.data());
    text.resize(std::strlen(text.c_str()));
  }
  char* next = line + static_cast<long>(continuation) * width;
  if (text.size() == 1) {
    Put(line, width, checkCol, text, 1);
    return;
  }
  std::string rest = text;
  if (text.size() >= 3 && Separator(text[2])) {
    Put(line, width, checkCol, text.substr(0, 2), boxes);
    rest = text.substr(3);
  }
  if (boxed) {
    PutWrapped(line, width, restCol, endCol, next, checkCol, rest, boxes);
  } else if (mainOptions.transfer37 == 'T' && rest.size() > SPLIT_AFTER) {
    Put(line, width, restCol, rest.substr(0, SPLIT_AFTER), 1);
    PutWrapped(line, width, splitCol, endCol, next, checkCol, rest.substr(SPLIT_AFTER + 1), 1);
  } else {
    PutWrapped(line, width, restCol, endCol, next, checkCol, rest, 1);
  }
}

void ZleceniodawcaNaFormularz(char* line1, char* line2, int length) {
  PartyLines(line1, line2, length, Order(PLEW_NZ1), Order(PLEW_NZ2), Order(PLEW_AZ1), Order(PLEW_AZ2));
}

void OdbiorcaNaFormularz(char* line1, char* line2, int length) {
  PartyLines(line1, line2, length, Order(PLEW_NO1), Order(PLEW_NO2), Order(PLEW_AO1), Order(PLEW_AO2));
}

void WypelnijOdcinek(char* section, const TransferSection& s) {
  const int w = s.width;
  auto line = [&](int row) { return section + static_cast<long>(row) * w; };
  int length = w / boxes;
  OdbiorcaNaFormularz(line(0), line(2), length);
  KontoNaFormularz(line(4), w, 0, 4, s.split, w, 2, Order(PLEW_KNO));
  double amount = f4double(Order(PLEW_KWO));
  bool deposit = f4char(Order(PLEW_ROW)) == 'W';
  Put(line(6), w, s.amount, KwotaPrzelewuNaFormularz(), boxes);
  Put(line(6), w, deposit ? s.depositMark : s.transferMark, "X", 1);
  if (deposit)
    KwotaSlownieNaFormularz(line(8), amount, WORDS_WIDTH, 2 | 0x10, 1);
  else
    KontoNaFormularz(line(8), w, 0, 4, s.split, w, 1, Order(PLEW_KNZ));
  ZleceniodawcaNaFormularz(line(10), line(12), length);
  std::string title = Joined(FieldText(Order(PLEW_TY1)), FieldText(Order(PLEW_TY2)));
  std::string first(static_cast<size_t>(length), ' '), second(static_cast<size_t>(length), ' ');
  div_str(title.c_str(), static_cast<int>(title.size()), first.data(), length, second.data(), length, nullptr);
  TekstRozstrzelony(line(14), Trimmed(first).c_str(), ' ', boxes);
  TekstRozstrzelony(line(16), Trimmed(second).c_str(), ' ', boxes);
}

void PowielOdcinek(const char* section, char* sheet, int rows, int width, int sheetWidth, int row, int col) {
  for (int r = 0; r < rows; r++)
    std::memcpy(sheet + static_cast<long>(row + r) * sheetWidth + col, section + static_cast<long>(r) * width,
                static_cast<size_t>(width));
}
