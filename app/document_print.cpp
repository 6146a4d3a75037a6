#include "app/document_print.h"

#include <cstdio>
#include <cstring>

#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"

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
