#include "app/document_print.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/option_values.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "print/printer.h"

char duplicateDate[9];

namespace {

constexpr int FIRST_YEAR_OF_BOTH_MARKS = 2013;
constexpr int PRINTER_ENGLISH = 1;
constexpr int PAGE_CHARACTERS = 80;

const char kOriginal[] = "ORYGINA\x9C";             // "ORYGINAŁ"
const char kCopy[] = " KOPIA  ";
const char kBothMarks[] = "ORYGINA\x9C / KOPIA";   // "ORYGINAŁ / KOPIA"

bool HasDuplicateDate() {
  for (int i = 0; i < 8 && duplicateDate[i]; i++)
    if (duplicateDate[i] != ' ') return true;
  return false;
}

}  // namespace

void StawkaVatTekst(char* destination, DbField* rateField, int rateCode) {
  if (rateCode == 4) {
    std::memcpy(destination, " zw.", 4);
  } else if (rateCode == 7 || rateCode == 10 || rateCode == 11) {
    std::memcpy(destination, " np.", 4);
  } else {
    std::memcpy(destination, f4ptr(rateField), f4len(rateField));
  }
}

char* NumerStronyQStr(char* destination, int page, int english) {
  std::memcpy(destination, english ? "page" : "str.", 4);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", page);
  std::memcpy(destination + 5, digits, std::strlen(digits));
  return destination;
}

char* MiesiacRokQStr(DbField* dateField) {
  char date[9] = {};
  std::memcpy(date, f4ptr(dateField), 8);
  int month = date4month(date);
  if (month < 1 || month > 12) return QuickStr("", 0, 0);
  return PrintfQStr("%s %04d", kMonthNames[month], date4year(date));
}

int LiczbaLiniiPozycji(DbField* name1, DbField* name2, DbField* name3, DbField* name4, DbField* name5,
                       DbField* name6) {
  int lines = 0;
  for (DbField* field : {name1, name2, name3, name4, name5, name6})
    if (field && !FieldIsEmpty(field)) lines++;
  return lines;
}

int DrukarkaZnakowa() {
  return Printer.family != PRN_HP_LASER && Printer.family != PRN_HP_DESKJET && Printer.orientation == 0 ? 1 : 0;
}

char* OryginalKopiaQStr(char* end, int original) {
  if (optionOriginalCopyMark != 'T') return end;
  const char* mark = nullptr;
  Environment* env = EnvCurrent();
  int year = env ? env->settlementYear : 0;
  if (Printer.copies != 0) mark = original ? kOriginal : kCopy;
  else if (year >= FIRST_YEAR_OF_BOTH_MARKS || optionBothMarksBefore2013 == 'T') mark = kBothMarks;
  if (!mark) return end;
  size_t length = std::strlen(mark);
  std::memcpy(end - length, mark, length);
  return end - length;
}

char* DuplikatQStr(char* line, int width, const char* text1, const char* text2) {
  if (!text1) text1 = "";
  if (!text2) text2 = "";
  std::string mark;
  if (HasDuplicateDate()) {
    char date[9] = {};
    std::memcpy(date, duplicateDate, 8);
    mark = Printer.language == PRINTER_ENGLISH ? "  DUPLICATE from " : "  DUPLIKAT z ";
    mark += FullDateQStr(date);
  }
  std::string title;
  int start;
  if (DrukarkaZnakowa()) {
    bool ibm = Printer.family >= PRN_IBM9 && Printer.family <= PRN_PROPRINTER;
    // The title is printed at normal pitch inside a condensed line.
    title = TrimStringsToQStr_(ibm ? "\x12" : "\x1BP", text1, text2, mark.c_str(), "\x0F");
    start = (width - static_cast<int>(title.size()) * width / PAGE_CHARACTERS) / 2;
  } else {
    title = TrimStringsToQStr_(text1, text2, mark.c_str());
    start = (width - static_cast<int>(title.size())) / 2;
  }
  // A title wider than the line starts at its beginning and is cut at its end.
  start = std::max(start, 0);
  size_t room = static_cast<size_t>(std::max(width - start, 0));
  std::memcpy(line + start, title.data(), std::min(title.size(), room));
  return line;
}
