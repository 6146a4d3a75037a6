// The posting record written as an entry of the revenue and expense book
// "Z5DANE": the entry form, the comparison before a re-posting, the append
// under the table lock, and the months marked for recounting in "Z5STAK".
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "masterdata/description_field.h"
#include "sales/background_screen.h"
#include "tables/book_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

const char* const ZRODLA_KSIEGOWANIA[9] = {"1. SPRZEDAŻ",      "2. ZAKUPY       ", "3. DOWODY WEWN. ",
                                           "4. AMORTYZACJE  ", "5. PENSJE-BRUTTO", "6. PENSJE-ZUS   ",
                                           "7. UMOWY-BRUTTO ", "8. UMOWY-ZUS    ", "9. SPRZEDAŻ pom."};

namespace {

constexpr int RES_ENTRY = 89, RES_AGAIN = 10;
constexpr int TAG_BY_DATE = 0, TAG_BY_REC = 5;
constexpr int MSG_ADD = 20040;            // " Czy dopisać pozycję ?"
constexpr int MSG_POST_AGAIN = 20060;     // "Czy zaksięgować ponownie ?"
constexpr int MSG_MONTH_BEFORE = 20154;   // "Podany miesiąc jest młodszy od rozrachunkowego !"
constexpr const char* AMOUNT_FIELDS[6] = {"PSP", "POP", "ZAK", "UBO", "WYN", "INN"};
constexpr int AMOUNT_ROWS[6] = {2, 3, 5, 6, 8, 9};

DbField* F(const char* name) { return d4field(Z5DANE.table, name); }

double* Amounts(ZapisKsiegowy* z, int i) {
  double* all[6] = {&z->przychodSprzedaz, &z->przychodPozostaly, &z->zakupTowarow,
                    &z->kosztyUboczne,    &z->wynagrodzenia,     &z->inneWydatki};
  return all[i];
}

const char* SourceText(int source) { return source >= 1 && source <= 9 ? Sys(ZRODLA_KSIEGOWANIA[source - 1]) : ""; }

std::string Trim(const char* text) {
  std::string s(text);
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
  return s;
}

std::string Cut(const char* text, DbField* field) { return std::string(text).substr(0, f4len(field)); }

DbField** Slot(const char* name) {
  DbField* field = F(name);
  for (DbField*& bound : Z5DANE.field)
    if (bound == field) return &bound;
  return nullptr;
}

const char* StatusText(char status) {
  return status == 'A' ? "ANULOWANA" : status == 'K' ? Sys("KOREKTA KOSZTÓW") : "NORMALNA";
}

// The old entry beside the new values; 0 accepted, 1 declined, -1 failed.
int CompareWithOldEntry() {
  ZapisKsiegowy* z = zapisKsiegowy;
  if (ZaznaczMiesiacKsiegi(date4month(f4ptr(F("DAT")))) != 0 || ZaznaczMiesiacKsiegi(z->miesiac) != 0) return -1;
  {
    OpenedWindow window([] { return DefineWprowadzWindow(3, 0, 25, 80, Sys("POWTÓRNE KSIĘGOWANIE"), nullptr, nullptr); });
    if (window.handle >= 0) {
      pokaz_tlo(RES_AGAIN, 0, 0);
      const char* oldTexts[] = {"NUM", "NA1", "NA2", "NA3", "NA4", "MIA", "UL1", "UL2", "OP1", "OP2"};
      w4(1, 7, FldQStr(F("LPO"), 0));
      w4(2, 7, PrintfQStr("%2d", date4month(f4ptr(F("DAT")))));
      w4(3, 7, PrintfQStr("%2d", date4day(f4ptr(F("DAT")))));
      for (int i = 0; i < 10; i++) w4(4 + i, 7, FldQStr(F(oldTexts[i]), 1));
      const int amountRows[6] = {14, 15, 17, 18, 19, 20};
      for (int i = 0; i < 6; i++) w4(amountRows[i], 11, FldDoubleQStr(F(AMOUNT_FIELDS[i]), 11, 0));
      w4(22, 7, SourceText(f4int(F("ZRK"))));
      const char* newTexts[] = {z->nrDokumentu, z->nazwa[0], z->nazwa[1], z->nazwa[2], z->nazwa[3],
                                z->miejscowosc, z->ulica[0], z->ulica[1], z->opis1, z->opis2};
      w4(1, 43, PrintfQStr("%5u", z->lp));
      w4(2, 43, PrintfQStr("%2d", z->miesiac));
      w4(3, 43, PrintfQStr("%2d", z->dzien));
      for (int i = 0; i < 10; i++) {
        if (i >= 8 && newTexts[i][0] == 1) continue;
        w4(4 + i, 43, Cut(newTexts[i], F(oldTexts[i])).c_str());
      }
      for (int i = 0; i < 6; i++) w4(amountRows[i], 43, PrintfQStr("%11.2f", *Amounts(z, i)));
      w4(22, 42, SourceText(z->zrodlo));
      g4char();
    }
  }
  return Pytanie(MSG_POST_AGAIN) == KEY_ESC ? 1 : 0;
}

void FillEntry(bool fresh) {
  ZapisKsiegowy* z = zapisKsiegowy;
  ToFieldCopyMaxString(F("NUM"), Trim(z->nrDokumentu).c_str());
  const char* names[] = {"NA1", "NA2", "NA3", "NA4"};
  for (int i = 0; i < 4; i++) ToFieldCopyMaxString(F(names[i]), z->nazwa[i]);
  ToFieldCopyMaxString(F("MIA"), z->miejscowosc);
  ToFieldCopyMaxString(F("UL1"), z->ulica[0]);
  ToFieldCopyMaxString(F("UL2"), z->ulica[1]);
  ToFieldCopyMaxString(F("K15"), z->kursTekst);
  if (z->opis1[0] != 1) ToFieldCopyMaxString(F("OP1"), z->opis1);
  if (z->opis2[0] != 1) ToFieldCopyMaxString(F("OP2"), z->opis2);
  f4assign_int(F("ZRK"), z->zrodlo);
  f4assign_double(F("REL"), z->terminPlatnosci);
  f4assign_int(F("NLP"), z->nrListy);
  if (fresh) {
    f4assign_long(F("LPO"), z->lp);
    f4assign_long(F("REC"), d4reccount(Z5DANE.table) + 1);
    f4assign_char(F("ZAP"), z->zaplacono);
  }
  char date[8];
  UstawDateKsiegi(date, z->rok, z->miesiac, z->dzien);
  f4assign_n(F("DAT"), date, 8);
  f4assign_char(F("ANU"), z->status == 0 ? ' ' : z->status);
  for (int i = 0; i < 6; i++) f4assign_double(F(AMOUNT_FIELDS[i]), *Amounts(z, i));
  PolaMetodyKasowej(Z5DANE.table, z);
}

// The day's control writes the day into DAT.
int DayIntoDate(Get4* get) {
  if (WalidujDzienKsiegi(get) != 0) return -1;
  ZapisKsiegowy* z = zapisKsiegowy;
  char date[8];
  UstawDateKsiegi(date, z->rok, z->miesiac, z->dzien);
  f4assign_n(F("DAT"), date, 8);
  return 0;
}

// The document's number, names, address and first description are already
// right: the first pass of the cursor skips them to the second description.
// data 1 marks the first description, the last one skipped.
bool passedFirstDescription = false;
int SkippedOnFirstPass(Get4*, char*, int32_t lastSkipped) {
  if (passedFirstDescription) return 0;
  if (lastSkipped) passedFirstDescription = true;
  return KEY_ENTER;
}

// The entry form; 0 accepted, -1 left.
int EntryForm() {
  ZapisKsiegowy* z = zapisKsiegowy;
  OpenedWindow window([] { return DefineWprowadzWindow(11, 0, 17, 80, Sys("KSIĘGOWANIE"), nullptr, nullptr); });
  if (window.handle < 0) return -1;
  pokaz_tlo(RES_ENTRY, 0, 0);
  w4(0, 8, StatusText(static_cast<char>(f4char(F("ANU")))));
  w4(0, 31, SourceText(z->zrodlo));
  w4(0, 72, PrintfQStr("%5u", z->lp));
  w4(1, 8, PrintfQStr("%2d", z->miesiac));
  static int32_t day;
  day = z->dzien;
  g4int(2, 8, &day);
  g4picture("99");
  g4valid(DayIntoDate);
  const char* texts[] = {"NUM", "NA1", "NA2", "NA3", "NA4", "MIA", "UL1", "UL2", "OP1", "OP2"};
  passedFirstDescription = false;
  for (int i = 0; i < 10; i++) {
    g4field(3 + i, 8, Slot(texts[i]));
    if (i < 9) g4call(SkippedOnFirstPass, i == 8);
  }
  // F4 on the second description picks both lines from the event descriptions.
  g4call(opis_f4_lista, 0);
  cel_opisu_1 = F("OP1");
  cel_opisu_2 = F("OP2");
  if (z->konta) PoleKontaWpisu(13, 13, 14, 0, F("KON"));
  for (int i = 0; i < 6; i++) g4field(AMOUNT_ROWS[i], 67, Slot(AMOUNT_FIELDS[i]));
  g4field(11, 64, Slot("ZAP"));
  g4picture("Y");
  g4field(13, 54, Slot("K15"));
  g4field(14, 54, Slot("UWA"));
  add_help_line();
  set_fun_help("F2", "Zapisz", 1);
  set_fun_help("F4", "Lista", 2);
  int key = g4read();
  remove_help_line();
  cel_opisu_1 = cel_opisu_2 = nullptr;
  if (key != KEY_ENTER && key != KEY_F2) return -1;
  if (Pytanie(MSG_ADD) == KEY_ESC) return -1;
  z->dzien = day;
  return 0;
}

bool AllAmountsZero() {
  for (const char* name : AMOUNT_FIELDS)
    if (f4double(F(name)) != 0) return false;
  return true;
}

int BeforeAppend(int) {
  if (NumerujNowyWpis(Z5DANE.table) != 0) return -1;
  return ZaznaczMiesiacKsiegi(date4month(f4ptr(F("DAT"))));
}

int EntryFormOf(bool) { return EntryForm(); }

// A new entry of the book's own sources goes into the cash book too.
void CashOfNewEntry(bool fresh) {
  int source = f4int(F("ZRK"));
  if (fresh && (source == SOURCE_BOOK || (source >= 5 && source <= 8))) ZapisKsiegiDoKasy(1);
}

int MarkMonth(int month) { return ZaznaczMiesiacKsiegi(month); }

// 0 written or declined, 1 re-posting declined, -2 form left, -1 failed.
int BuildAndSave(int seryjnie) {
  const KsiegaWpisow book = {Z5DANE.table, Z5DANE.tag[TAG_BY_REC], "DAT", CompareWithOldEntry, FillEntry,
                             EntryFormOf, nullptr, AllAmountsZero, MarkMonth, BeforeAppend, CashOfNewEntry};
  return ZapiszWpisKsiegi(book, seryjnie);
}

}  // namespace

int ZaznaczMiesiacKsiegi(int month) {
  return ZaznaczMiesiacSum(Z5STAK, Z5STAKYear, OpenZ5STAK, zapisKsiegowy->rok, month);
}

int OstatniMiesiacKsiegi(int year) { return OstatniMiesiacTabeli(OpenZ5DANE, Z5DANE, TAG_BY_DATE, "DAT", year); }

int SprawdzMiesiacKsiegi(Get4* get) {
  if (valid_int_month(get) != 0) return -1;
  if (*static_cast<int32_t*>(get->data) < zapisKsiegowy->miesiacOd) Uwaga(MSG_MONTH_BEFORE);
  return 0;
}

int KsiegujKPiR(int seryjnie) {
  ZapisKsiegowy* z = zapisKsiegowy;
  if (z->zaplacono != 'N' && z->zaplacono != 'T') z->zaplacono = 'T';
  DataKsiegiNaDzien();
  if (OpenZ5DANE(z->rok, 0) != 0) return -1;
  int result = OtworzKontaWpisu();
  if (result == 0) {
    z->lp = static_cast<uint32_t>(OstatniNumerWpisu(Z5DANE.table) + 1);
    result = BuildAndSave(seryjnie);
    if (result == 0 && z->zapisano) UstawDateKsiegi(z->dataZapisu, z->rok, z->miesiac, z->dzien);
  }
  ZamknijKontaWpisu();
  d4close(Z5DANE.table);
  Z5DANE.table = nullptr;
  return result > 0 || result == -2 ? 0 : result;
}
