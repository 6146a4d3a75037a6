// The cash entry of an entry of the income and expense book: its payments
// shown in the cash book, or one entry appended for its income or expense.
#include <cctype>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "finance/posting_internal.h"
#include "tables/book_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_POSTED_FROM = 20071, MSG_PAY_HERE = 20062;
constexpr int MSG_CASH_METHOD = 20224, MSG_NOT_IN_CASH = 20225;
constexpr int MSG_DEPRECIATION = 20002;
constexpr int MSG_INCOME_AND_EXPENSE = 20161, MSG_NOT_SUPPORTED = 20176;
constexpr int SOURCE_SALES_POSTING = 1, SOURCE_PURCHASE_POSTING = 2, SOURCE_DEPRECIATION = 4;

DbField* Book(const char* name) { return d4field(Z5DANE.table, name); }
double Value(const char* name) { return f4double(Book(name)); }

std::string Trimmed(const char* name) {
  std::string text(f4ptr(Book(name)), f4len(Book(name)));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

template <size_t N>
void Put(char (&destination)[N], const std::string& text) {
  std::strncpy(destination, text.c_str(), N - 1);
  destination[N - 1] = 0;
}

bool Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A city beginning with a postal code "dd-ddd " is split in two.
void PostalCodeAndCity(PlatnoscKasowa& r) {
  std::string city(f4ptr(Book("MIA")), f4len(Book("MIA")));
  bool postal = city.size() >= 8 && Digit(city[0]) && Digit(city[1]) && Digit(city[3]) && Digit(city[4]) &&
                Digit(city[5]) && !Digit(city[6]);
  if (postal) {
    Put(r.kod_pocztowy, city.substr(0, 6));
    city = city.substr(7);
  }
  city.erase(city.find_last_not_of(' ') + 1);
  Put(r.miasto, city);
}

// False when the entry is not to be written to the cash book.
bool SourceAllows(int mode) {
  int source = f4int(Book("ZRK"));
  if (source == SOURCE_SALES_POSTING || source == SOURCE_PURCHASE_POSTING) {
    if (mode == 2 && f4char(Book("KAS")) == 'T') {
      MessageWindow(MB_INFO, MSG_CASH_METHOD, MSG_NOT_IN_CASH);
      return false;
    }
    if (mode == 2) return true;
    std::string from = Utf8ToMazText(ZRODLA_KSIEGOWANIA[source - 1] + 2);
    std::string posted = PrintfQStr(EnvFindString(MSG_POSTED_FROM), from.c_str());
    return MessageWindow(MB_QUESTION | MB_YES_ESC, posted.c_str(), MSG_PAY_HERE) != 27;
  }
  if (source == SOURCE_DEPRECIATION) {
    Uwaga(MSG_DEPRECIATION);
    return false;
  }
  return true;
}

}  // namespace

int ZapisKsiegiDoKasy(int mode) {
  char status = static_cast<char>(f4char(Book("ANU")));
  if (status == 'K' || status == 'A') return 0;
  if (!SourceAllows(mode)) return 0;
  double income = Value("PSP") + Value("POP");
  double expense = Value("ZAK") + Value("UBO") + Value("WYN") + Value("INN");
  if (income != 0 && expense != 0) {
    MessageWindow(0, MSG_INCOME_AND_EXPENSE, MSG_NOT_SUPPORTED);
    return 0;
  }
  PlatnoscKasowa r{};
  r.kwota = income != 0 ? income : expense != 0 ? -expense : 0;
  r.rodzaj = r.kwota >= 0 ? '1' : '2';
  r.kod_banku = 1;
  r.kurs_kwoty = r.kurs_zaplaty = 1;
  std::strcpy(r.waluta, "PLN");
  std::memcpy(r.data, f4ptr(Book("DAT")), 8);
  Put(r.numer_dokumentu, Trimmed("NUM"));
  Put(r.tytul, Trimmed("OP1") + Trimmed("OP2"));
  Put(r.nazwa1, Trimmed("NA1") + Trimmed("NA2"));
  Put(r.nazwa2, Trimmed("NA3") + Trimmed("NA4"));
  Put(r.ulica, Trimmed("UL1") + Trimmed("UL2"));
  PostalCodeAndCity(r);
  r.rok = WorkingYear();
  r.rekord = static_cast<int32_t>(d4recno(Z5DANE.table));
  r.typ_zrodla = SOURCE_BOOK;
  if (mode == 0) return PrzegladajKase(&r, 1, 0);
  if (r.kwota != 0) DopiszDoKasy(&r);
  return 0;
}
