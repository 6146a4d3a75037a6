#include "app/document_text.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "print/tabulogram.h"

namespace {

constexpr int FILTER_ACCEPT = 45;
constexpr int FILTER_REJECT = 40;

char* ToQStr(const std::string& text) { return QuickStr(text.c_str(), static_cast<int>(text.size()), 0); }

std::string FieldBytes(DbField* field) { return std::string(f4ptr(field), f4len(field)); }

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The text given by length (negative: up to its NUL) with its trailing
// blanks dropped, cut to `most`, then its leading blanks dropped.
std::string NumberPart(const char* text, int length, size_t most) {
  if (!text) return "";
  std::string part = length < 0 ? std::string(text) : std::string(text, strnlen(text, static_cast<size_t>(length)));
  part.erase(part.find_last_not_of(' ') + 1);
  if (part.size() > most) part.resize(most);
  size_t first = part.find_first_not_of(' ');
  return first == std::string::npos ? "" : part.substr(first);
}

std::string Without(const char* text, const char* dropped, size_t most) {
  std::string out;
  for (const char* p = text; *p && out.size() < most; p++)
    if (!std::strchr(dropped, *p)) out += *p;
  return out;
}

std::string FieldText(DbField* field) { return field ? Trimmed(FieldBytes(field)) : ""; }

void JoinWithBlank(std::string& out, const std::string& part) {
  if (part.empty()) return;
  if (!out.empty()) out += ' ';
  out += part;
}

}  // namespace

char* NrDokumentuQStr(const char* prefix, int prefixLength, long number, const char* suffix, int suffixLength) {
  std::string head = NumberPart(prefix, prefixLength, 4);
  std::string tail = NumberPart(suffix, suffixLength, 9);
  std::string out;
  if (!head.empty()) out = head + "/";
  out += std::to_string(number);
  if (!tail.empty()) out += "/" + tail;
  return ToQStr(out);
}

char* NrDokumentuFldQStr(DbField* prefix, DbField* number, DbField* suffix) {
  return NrDokumentuQStr(f4ptr(prefix), static_cast<int>(f4len(prefix)), f4long(number), f4ptr(suffix),
                         static_cast<int>(f4len(suffix)));
}

char* NrDokumentuStalyTekstQStr(const char* prefix, long number, int numberWidth, const char* suffix) {
  auto blank = [](const char* text) { return std::string(text).find_first_not_of(' ') == std::string::npos; };
  std::string out = prefix;
  out += blank(prefix) ? ' ' : '/';
  std::string digits = std::to_string(number);
  if (digits.size() < static_cast<size_t>(numberWidth)) out.append(static_cast<size_t>(numberWidth) - digits.size(), ' ');
  out += digits;
  out += blank(suffix) ? ' ' : '/';
  out += suffix;
  return ToQStr(out);
}

char* NrDokumentuStalyQStr(DbField* prefix, DbField* number, DbField* suffix) {
  return NrDokumentuStalyTekstQStr(FieldBytes(prefix).c_str(), f4long(number), static_cast<int>(f4len(number)),
                                   FieldBytes(suffix).c_str());
}

char* KontoGrupyQStr(const char* text) {
  constexpr int WIDTH = 40;
  std::string out(WIDTH, ' ');
  int start = text[0] != '\0' && (text[0] < '0' || text[0] > '9') ? 2 : 0;
  size_t at = 0;
  for (int i = 0; text[i]; i++) {
    if (text[i] != ' ' && text[i] != '-' && at < out.size()) out[at++] = text[i];
    int counted = i + 1 - start;
    // The gaps of the printed groups follow the places the text had them.
    if (counted >= 3 && counted <= 28 && (counted - 3) % 5 == 0) at++;
  }
  return ToQStr(out);
}

char* BezSpacjiMyslnikowQStr(const char* text) { return ToQStr(Without(text, " -", 40)); }

char* NipQStr(const char* text) { return ToQStr(Without(text, " -.", 20)); }

char* NipFldQStr(DbField* field) { return NipQStr(FieldBytes(field).c_str()); }

char* NazwaPlikuQStr(const char* text) { return ToQStr(Without(text, "\"*/:<>?\\|", 40)); }

char* KwartalQStr(int quarter) {
  static const char* const kRoman[] = {"I", "II", "III", "IV"};
  const char* roman = quarter >= 1 && quarter <= 4 ? kRoman[quarter - 1] : kRoman[0];
  return PrintfQStr("%s kwarta\x92", roman);   // kwartał
}

char* KursQStr(const char* currency, double rate) {
  char digits[64];
  std::snprintf(digits, sizeof digits, "%.6f", rate);
  std::string number = digits;
  number.erase(number.find_last_not_of('0') + 1);
  if (!number.empty() && number.back() == '.') number.pop_back();
  return PrintfQStr("1 %s = %s PLN", currency, number.c_str());
}

char* KodNazwaKontrahentaQStr(DbField* code, DbField* name) {
  std::string bytes = FieldBytes(code);
  bool onlyThird = true;
  for (size_t i = 0; i < bytes.size(); i++)
    if (i != 2 && bytes[i] != ' ') onlyThird = false;
  if (onlyThird) return ToQStr(FieldText(name));
  std::string out = FieldText(code);
  JoinWithBlank(out, FieldText(name));
  return ToQStr(out);
}

char* AdresFldsQStr(DbField* postalCode, DbField* postOffice, DbField* town, DbField* street, DbField* house,
                    DbField* flat) {
  std::string office = FieldText(postOffice);
  bool officeShown = !office.empty() && office != FieldText(town);
  std::string out;
  if (!FieldText(postalCode).empty()) {
    JoinWithBlank(out, FieldText(postalCode));
    if (officeShown) JoinWithBlank(out, office);
    if (!officeShown || street) JoinWithBlank(out, FieldText(town));
  } else if (officeShown) {
    JoinWithBlank(out, FieldText(town));
  }
  JoinWithBlank(out, FieldText(street));
  JoinWithBlank(out, FieldText(house));
  std::string flatNumber = FieldText(flat);
  if (!flatNumber.empty()) out += "/" + flatNumber;
  return ToQStr(out);
}

void KolumnaTekstFit(const char* text, const TabuValue* column, char* output) {
  constexpr size_t TEXT_MOST = 41;
  if (column->width & 0x80) return;
  const size_t width = std::min<size_t>(static_cast<size_t>(column->width), sizeof column->text);
  const std::string source = Trimmed(std::string(text, strnlen(text, TEXT_MOST)));
  std::string fitted;
  for (size_t i = 0; i < source.size() && fitted.size() < width; i++) {
    const size_t rest = source.size() - i;
    if (source[i] == ' ' && fitted.size() + rest > width) continue;
    fitted += source[i];
  }
  std::memset(output, ' ', width);
  std::memcpy(output + width - fitted.size(), fitted.data(), fitted.size());
}

void DataKolumnaQStr(TabuValue* value) {
  constexpr int DATE_WIDTH = 10;
  const std::string stored(value->text, 8);
  value->type = 'C';
  value->width = DATE_WIDTH;
  value->decimals = 0;
  std::memset(value->text, ' ', sizeof value->text);
  if (Trimmed(stored).empty()) return;
  std::memcpy(value->text, FullDateQStr(stored.c_str()), DATE_WIDTH);
}

char* OstatniDzienQStr(int year, int month) {
  int last = month >= 1 && month <= 12 ? DaysInMonth(year, month) : 0;
  return PrintfQStr("%04i%02i%02i", year, month, last);
}

int WzorzecFiltr(DbField* field, const char* pattern, int length) {
  const char* bytes = f4ptr(field);
  int width = static_cast<int>(f4len(field));
  for (int i = 0; i < length; i++) {
    if (pattern[i] == '*') return FILTER_ACCEPT;
    if (i >= width) return FILTER_REJECT;
    if (pattern[i] != '?' && pattern[i] != bytes[i]) return FILTER_REJECT;
  }
  return FILTER_ACCEPT;
}

int CyfraFiltr(DbField* field, int character) {
  int digit = character == '>' ? 0 : character - '0';
  return f4long(field) == digit ? FILTER_ACCEPT : FILTER_REJECT;
}

int JestZnacznikT(DbField* field, int n) {
  const char* bytes = f4ptr(field);
  int width = static_cast<int>(f4len(field));
  for (int i = 0; i < n && i < width; i++)
    if (bytes[i] == 'T') return 1;
  return 0;
}

char* KluczTypRokRek(int type, int year, long record) {
  char key[64];
  std::snprintf(key, sizeof key, "%2d%4d%6ld", type, year, record);
  return QuickStr(key, 12, 0);
}
