#include "sales/date_checks.h"

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/get4.h"
#include "ui/message_box.h"
#include "ui/validators.h"

namespace {

// A small taxpayer's VAT date may fall at most this many days after the sale.
constexpr int SMALL_TAXPAYER_DAYS = 179;
constexpr int INTRA_EU_LIMIT_DAY = 15;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
int Kind() { return f4int(Header("TYV")); }
char Delivery() { return static_cast<char>(f4char(Header("STM"))); }
bool BuyerPaysVat() { return f4char(Header("RE3")) == 'T'; }
bool BuyerWithoutVat() { return f4char(Header("RE3")) == 'N'; }
bool IsCorrection(int kind) { return kind == 3 || kind == 4; }
bool OssCorrection() { return Kind() == 3 && Delivery() == '4'; }
bool CashVatOfSmallTaxpayer() { return Kind() == 7 && salesOptions.cashVat == 'T'; }

int32_t Day(const char* name) { return date4long(f4ptr(Header(name))); }
const char* Typed(Get4* get) { return static_cast<const char*>(get->data); }

void SetDate(const char* name, int32_t day) { date4assign(f4assign_ptr(Header(name)), day); }
void CopyDate(const char* to, const char* from) { std::memmove(f4assign_ptr(Header(to)), f4ptr(Header(from)), 8); }
void StoreTyped(const char* name, const char* date) {
  char* field = f4assign_ptr(Header(name));
  if (field != date) std::memcpy(field, date, 8);
}

// The day `days` after the sale date; no date when there is no sale date.
int32_t AfterSale(int days) {
  int32_t sale = Day("DAS");
  return sale > 0 ? sale + days : 0;
}

void Warn(const char* utf8) { Uwaga(Utf8ToMazText(utf8).c_str()); }
int Refuse(const char* text) {
  MessageWindow(MB_ERROR, text);
  return -1;
}

bool OtherYear(const char* date) { return date4year(date) != WorkingYear(); }
void OtherYearMessage() { MessageWindow(MB_ERROR, Utf8ToMazText("Rok różny od rozrachunkowego!").c_str()); }

// The rules the two sets share before their own: 1 when they decided (the
// result in *result).
bool IssueDateRules(int32_t vatDay, int* result) {
  if (!OssCorrection() && vatDay < Day("DAW")) {
    Warn("Data VAT mniejsza od daty wystawienia !");
    *result = 0;
    return true;
  }
  if (OssCorrection() && vatDay > Day("DAW")) {
    *result = Refuse(Utf8ToMazText("Data rozliczenia VAT nie może być większa od daty wystawienia.").c_str());
    return true;
  }
  return false;
}

// The 15th of the month after the month of the sale date.
int32_t IntraEuLimit() {
  const char* sale = f4ptr(Header("DAS"));
  int year = date4year(sale), month = date4month(sale) + 1;
  if (month > 12) {
    month = 1;
    year++;
  }
  char limit[9];
  set_data_str(year, month, INTRA_EU_LIMIT_DAY, limit);
  return date4long(limit);
}

}  // namespace

int waliduj_date_wystawienia(Get4* get) {
  if (test_daty_niepustej(get) != 0) return 1;
  if (OtherYear(Typed(get))) {
    OtherYearMessage();
    return 1;
  }
  if (AddingNewDocument()) {
    StoreTyped("DAW", Typed(get));
    CopyDate("DAS", "DAW");
    ustal_date_vat();
    // The next document of the append loop starts with this issue date.
    if (salesContext) std::memcpy(salesContext->workingDate, f4ptr(Header("DAW")), 8);
  }
  return 0;
}

int waliduj_date_sprzedazy(Get4* get) {
  if (test_daty_niepustej(get) != 0) return 1;
  if (OtherYear(Typed(get))) OtherYearMessage();
  if (AddingNewDocument()) {
    StoreTyped("DAS", Typed(get));
    ustal_date_vat();
  }
  return 0;
}

int ustal_date_vat() {
  int kind = Kind();
  char delivery = Delivery();
  if (IsCorrection(kind)) {
    CopyDate("DAV", "DAW");
  } else if (salesOptions.cashVat == 'T') {
    if (delivery == '1' || delivery == '3') {
      if (kind != 7)
        CopyDate("DAV", "DAS");
      else
        SetDate("DAV", BuyerPaysVat() ? 0 : AfterSale(SMALL_TAXPAYER_DAYS));
    } else if (delivery == '2' || delivery == '4') {
      CopyDate("DAV", "DAW");
    }
  } else {
    CopyDate("DAV", delivery == '2' ? "DAW" : "DAS");
  }
  OdswiezGety();
  return 0;
}

int waliduj_date_vat(Get4* get) {
  if (test_daty(get) != 0) return -1;
  return CashVatOfSmallTaxpayer() ? sprawdz_date_vat_mp(Typed(get)) : sprawdz_date_vat(Typed(get));
}

int sprawdz_date_vat(const char* date) {
  int32_t vatDay = date4long(date);
  if (vatDay <= 0) return 0;
  int result = 0;
  if (IssueDateRules(vatDay, &result)) return result;
  char delivery = Delivery();
  if (vatDay > Day("DAS") && delivery != '2') {
    Warn("Data VAT nie powinna być większa od daty sprzedaży !");
    return 0;
  }
  if (delivery == '2' && !IsCorrection(Kind())) {
    int32_t limit = IntraEuLimit();
    if (vatDay > limit) {
      char limitDate[9] = {};
      date4assign(limitDate, limit);
      std::string text = DateFmtQStr(limitDate, "DD.MM.CCYY");
      return Refuse(PrintfQStr(Utf8ToMazText("Data VAT nie może być większa niż %s !.").c_str(), text.c_str()));
    }
  }
  return 0;
}

int sprawdz_date_vat_mp(const char* date) {
  int32_t vatDay = date4long(date);
  if (vatDay <= 0) return 0;
  int result = 0;
  if (IssueDateRules(vatDay, &result)) return result;
  int32_t last = AfterSale(SMALL_TAXPAYER_DAYS);
  if (BuyerWithoutVat() && last > 0 && vatDay > last)
    return Refuse(Utf8ToMazText("Data VAT większa od 180 dnia od daty sprzedaży !").c_str());
  return 0;
}
