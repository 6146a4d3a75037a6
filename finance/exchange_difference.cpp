// The exchange-rate difference of a foreign-currency sales document paid at
// another rate than it was booked at: the payment stored in the document
// (with its settlement entry), the difference posted as other revenue or
// expense into the book, or from 2022 spread over the flat rates, and the
// posting order of the new entry.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "masterdata/exchange_rates.h"
#include "sales/background_screen.h"
#include "sales/document_totals.h"
#include "sales/payments.h"
#include "sales/sales_context.h"
#include "tables/book_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_FORM = 63;
constexpr int MSG_TOO_MUCH = 113;         // "Za duża kwota !"
constexpr int MSG_POST_DIFFERENCE = 114;  // "Czy zaksięgować różnicę kursową?"
constexpr int MSG_NOT_POSTED = 115;       // "Dokument nie był zaksięgowany!"
constexpr int MSG_FORBIDDEN = 106;        // "Operacja zabroniona !"
constexpr int MSG_PRINT_ORDER = 116;      // "Czy drukować polecenie księgowania ?"
constexpr const char* AMOUNT_PICTURE = "99999999.99";
constexpr const char* RATE_PICTURE = "9999.9999";

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

// The dialog's values.
struct Difference {
  char currency[4];
  char paidOn[9];
  double rate;          // of the payment
  double booked;        // in the currency
  double bookingRate;   // KKS
  double bookedPln;
  double paidSoFar;     // in the currency
  double payment;       // in the currency
  double paymentPln;    // at the payment rate
  double atBookingRate;
  double difference;
  char note[61];
};
Difference d;

void Recompute() {
  d.paymentPln = ROUND(d.payment * d.rate, 2);
  d.atBookingRate = ROUND(d.payment * d.bookingRate, 2);
  d.difference = ROUND((d.rate - d.bookingRate) * d.payment, 2);
}

void ShowComputed() {
  w4(3, 58, PrintfQStr("%11.2f", d.bookedPln));
  w4(5, 45, PrintfQStr("%9.4f", d.bookingRate));
  w4(5, 58, PrintfQStr("%11.2f", d.atBookingRate));
  w4(6, 58, PrintfQStr("%11.2f", d.paymentPln));
  w4(9, 58, PrintfQStr("%11.2f", d.difference));
}

// The payment rate of the day before the date into d.rate; false when none.
bool RateBefore(const char* date) {
  double rate = d.rate;
  if (kurs_waluty(d.currency, date4long(date) - 1, &rate, 0, 1) < 1) return false;
  d.rate = rate;
  return true;
}

int ValidPayment(Get4*) {
  if (ROUND(d.payment, 2) > ROUND(d.booked - d.paidSoFar, 2)) {
    Uwaga(MSG_TOO_MUCH);
    return -1;
  }
  Recompute();
  ShowComputed();
  return 0;
}

int ValidDate(Get4*) {
  if (RateBefore(d.paidOn)) Recompute();
  g4display();
  ShowComputed();
  return 0;
}

int ValidRate(Get4*) {
  Recompute();
  ShowComputed();
  return 0;
}

// The dialog; true when accepted with F2.
bool Dialog() {
  OpenedWindow window(
      [] { return DefineWprowadzWindow(9, 1, 11, 78, Sys("RÓŻNICA KURSOWA"), nullptr, nullptr); });
  if (window.handle < 0) return false;
  pokaz_tlo(RES_FORM, 1, 0);
  w4(2, 26, d.currency);
  char earlier[9] = {0};
  std::memcpy(earlier, std::min(std::string(f4ptr(H("DAS")), 8), std::string(f4ptr(H("DAW")), 8)).c_str(), 8);
  w4(3, 18, PrintfQStr("%11.2f", d.booked));
  w4(3, 32, DateQStr(earlier));
  w4(3, 45, PrintfQStr("%9.4f", d.bookingRate));
  w4(4, 18, PrintfQStr("%11.2f", d.paidSoFar));
  ShowComputed();
  g4double(6, 18, &d.payment);
  g4picture(AMOUNT_PICTURE);
  g4valid(ValidPayment);
  g4date(6, 32, d.paidOn);
  g4picture("DD-MM/YY");
  g4valid(ValidDate);
  g4double(6, 45, &d.rate);
  g4picture(RATE_PICTURE);
  g4valid(ValidRate);
  w4(7, 7, d.note);
  add_help_line();
  set_fun_help("F2", "Zapisz", 1);
  int key = g4read();
  remove_help_line();
  return key == KEY_F2;
}

// KZA, the paid flag and the VAT date under the header's lock, then the
// settlement entry; false when the lock was refused.
bool StorePayment() {
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (set_lock(headers, record) != 0) return false;
  d4go(headers, record);
  f4assign_double(H("KZA"), f4double(H("KZA")) + d.payment);
  ustaw_znacznik_zaplaty();
  KorygujDateVatPlatnosci(d.paidOn, 0);
  bool written = d4write(headers, record) == 0 && d4flush(headers) == 0;
  d4unlock(headers);
  if (written) zapisz_rozliczenie_dokumentu(1);
  return written;
}

// The posting record of the difference; false when the totals fail.
bool FillDifference(ZapisKsiegowy* z, bool flatRate) {
  PoczatekZapisu(z);
  WypelnijDaneDokumentu(z, d.rate);
  std::string paymentText = PrintfQStr(Sys("zapłata %.2f %s"), d.payment, d.currency);
  std::strcpy(z->opis1, Sys("różnica kursowa"));
  std::snprintf(z->opis2, sizeof z->opis2, "%s", paymentText.c_str());
  if (d.difference > 0)
    z->przychodPozostaly = d.difference;
  else
    z->inneWydatki = -d.difference;
  std::memcpy(z->dataKsiegi, d.paidOn, 8);
  std::snprintf(z->kursTekst, sizeof z->kursTekst, "%s", KursQStr(d.currency, d.rate));
  z->zaplacono = 'T';
  if (!flatRate) return true;
  z->zrodlo = 1;
  std::snprintf(z->kursTekst, sizeof z->kursTekst, "%s", Sys("różnica kursowa"));
  std::snprintf(z->opis1, sizeof z->opis1, "%s", paymentText.c_str());
  if (sumuj_pozycje_dokumentu(1, 0) != 0) {
    Alarm(Sys("Błąd podsumowania dokumentu"));
    return false;
  }
  double total = 0;
  for (int code = 1; code <= FLAT_RATE_SLOTS; code++) total += sumyDokumentu.lumpSum[code];
  for (int code = 1; code <= FLAT_RATE_SLOTS; code++)
    z->ryczalt[code - 1] = total != 0 ? ROUND(sumyDokumentu.lumpSum[code] / total * d.difference, 2) : 0;
  return true;
}

void PostDifference() {
  int taxation = FormaOpodatkowania();
  bool flatRate = taxation != 1;
  if (d.difference == 0 || (flatRate && WorkingYear() < NEW_FLAT_RATE_YEAR)) return;
  if (Pytanie(MSG_POST_DIFFERENCE) == KEY_ESC) return;
  if (!flatRate && date4year(f4ptr(H("DZA"))) <= 0) Uwaga(MSG_NOT_POSTED);
  int posted = f4int(H("TRK"));
  if (posted != 0 && posted != taxation) {
    Uwaga(MSG_FORBIDDEN);
    return;
  }
  ZapisKsiegowy record{};
  zapisKsiegowy = &record;
  if (FillDifference(&record, flatRate) && KsiegujZapis(0) == 0 && record.zapisano &&
      Pytanie(MSG_PRINT_ORDER) != KEY_ESC) {
    double amount = record.przychodPozostaly != 0 ? record.przychodPozostaly : record.inneWydatki;
    if (flatRate)
      DrukujPolecenieKsiegowaniaRyczaltu(amount);
    else
      DrukujPoleceniaWpisu(record.rok, record.recKsiegi);
  }
  zapisKsiegowy = nullptr;
}

}  // namespace

void RoznicaKursowa() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0 || RejestrSprzedazy() == 2) return;
  int kind = 0;
  double due = KwotaDoRozliczenia(&kind);
  d = Difference{};
  std::memcpy(d.currency, f4ptr(H("WAL")), 3);
  std::string currency(d.currency);
  if (currency == "   " || currency == "PLN" || kind == 6) return;
  if (salesContext != nullptr)
    std::memcpy(d.paidOn, salesContext->workingDate, 8);
  else
    date4today(d.paidOn);
  if (!RateBefore(d.paidOn)) return;
  d.booked = f4double(H(kind == 3 || kind == 4 ? "KRN" : "NET"));
  d.bookingRate = f4double(H("KKS"));
  d.bookedPln = ROUND(d.booked * d.bookingRate, 2);
  d.paidSoFar = due != 0 ? f4double(H("KZA")) * d.booked / due : 0;
  d.payment = d.booked - d.paidSoFar;
  std::snprintf(d.note, sizeof d.note, "%s", FldQStr(H("OZA"), 1));
  Recompute();
  long record = d4recno(Z5SPRZ.table);
  if (Dialog()) {
    if (StorePayment()) PostDifference();
  }
  if (CurrentBrowse != nullptr) browse_call(0, record);
}
