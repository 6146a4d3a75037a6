// The posting record written as an entry of the flat-rate revenue register
// of the working year's layout ("Z5RYPR" from 2022, "Z5RYCZ" before, with
// its reserve columns), the comparison before a re-posting, the months
// marked in "Z5STRB"/"Z5STRY", and the yearly division of the rent.
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
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "sales/background_screen.h"
#include "tables/book_tables.h"
#include "tables/wait_notice.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int TAG_BY_DATE = 0, TAG_BY_MONTH = 2, TAG_BY_REC = 3;
constexpr int MSG_ADD = 20040, MSG_POST_AGAIN = 20060;

// The three layouts of the register by the working year.
struct Layout {
  int entryScreen, compareScreen, entryHeight, compareHeight, controlsColumn, remarksRow;
  const char* revenueDate;
  // Columns of the nine slots (nullptr: none in this layout) and of the rent surplus.
  const char* slots[FLAT_RATE_SLOTS];
  const char* surplus;
};

const Layout kFrom2022 = {187, 186, 17, 18, 18, 12, "DPR",
                          {"HAN", "PRO", "USL", "NAJ", "NIE", "KOM", "ZDR", "UIN", "WZA"}, nullptr};
const Layout k2021 = {180, 179, 16, 18, 18, 12, "DAD", {"HAN", "PRO", "USL", "RE4", "NIE", nullptr, nullptr, "UIN", "WZA"},
                      "RE2"};
const Layout kBefore2021 = {149, 11, 15, 17, 15, 13, "DAD",
                            {"HAN", "PRO", "USL", "RE4", "NIE", nullptr, nullptr, "UIN", "WZA"}, "RE2"};

const Layout& LayoutOf(int year) {
  return year >= NEW_FLAT_RATE_YEAR ? kFrom2022 : year == 2021 ? k2021 : kBefore2021;
}

const Layout* layout = &kFrom2022;

DbTable* T() { return Z5RYPR.table; }
DbField* F(const char* name) { return d4field(Z5RYPR.table, name); }
double V(const char* name) { return f4double(F(name)); }

DbField** Slot(const char* name) {
  DbField* field = F(name);
  for (DbField*& bound : Z5RYPR.field)
    if (bound == field) return &bound;
  return nullptr;
}

void RevenueDate(char* date) {
  ZapisKsiegowy* z = zapisKsiegowy;
  UstawDateKsiegi(date, z->rok, z->miesiac, z->dzien);
}

void ProposedEntryDate(char* date) {
  if (salesOptions.stored56 == 1) {
    char today[9];
    date4today(today);
    std::memcpy(date, today, 8);
  } else {
    RevenueDate(date);
  }
}

double RecordTotal(const ZapisKsiegowy* z) {
  double total = z->najemNadwyzka;
  for (double value : z->ryczalt) total += value;
  return total;
}

int CompareWithOldEntry() {
  ZapisKsiegowy* z = zapisKsiegowy;
  if (ZaznaczMiesiacRyczaltu(date4month(f4ptr(F(layout->revenueDate)))) != 0 ||
      ZaznaczMiesiacRyczaltu(z->miesiac) != 0)
    return -1;
  {
    int h = layout->compareHeight;
    static int height;
    height = h;
    OpenedWindow window([] { return DefineWprowadzWindow(26 - height, 0, height + 2, 80, Sys("POWTÓRNE KSIĘGOWANIE"),
                                                         nullptr, nullptr); });
    if (window.handle >= 0) {
      pokaz_tlo(static_cast<int16_t>(layout->compareScreen), 0, 0);
      w4(1, 12, FldQStr(F("LPO"), 0));
      w4(2, 12, PrintfQStr("%2d", date4month(f4ptr(F(layout->revenueDate)))));
      w4(3, 12, PrintfQStr("%2d", date4day(f4ptr(F(layout->revenueDate)))));
      w4(4, 12, FldQStr(F("NUM"), 1));
      w4(5, 12, FldDateQStr(F("DAT")));
      w4(1, 54, PrintfQStr("%5u", z->lp));
      w4(2, 54, PrintfQStr("%2d", z->miesiac));
      w4(3, 54, PrintfQStr("%2d", z->dzien));
      w4(4, 54, std::string(z->nrDokumentu).substr(0, 24).c_str());
      w4(5, 54, DateQStr(std::string(z->dataZapisu, 8).c_str()));
      w4(6, 47, z->kursTekst);
      int row = 7;
      for (int i = 0; i < FLAT_RATE_SLOTS; i++) {
        if (layout->slots[i] == nullptr) continue;
        w4(row, 12, FldDoubleQStr(F(layout->slots[i]), 11, 0));
        w4(row, 54, PrintfQStr("%11.2f", z->ryczalt[i]));
        row++;
      }
      if (layout->surplus != nullptr) {
        w4(row, 12, FldDoubleQStr(F(layout->surplus), 11, 0));
        w4(row, 54, PrintfQStr("%11.2f", z->najemNadwyzka));
        row++;
      }
      w4(h - 1, 12, FldQStr(F("ZRK"), 0));
      w4(h - 1, 54, PrintfQStr("%d", z->zrodlo));
      g4char();
    }
  }
  return Pytanie(MSG_POST_AGAIN) == KEY_ESC ? 1 : 0;
}

void FillEntry(bool fresh) {
  ZapisKsiegowy* z = zapisKsiegowy;
  std::string number(z->nrDokumentu);
  number.erase(number.find_last_not_of(' ') + 1);
  ToFieldCopyMaxString(F("NUM"), number.c_str());
  ToFieldCopyMaxString(F("UW1"), z->kursTekst);
  ToFieldCopyMaxString(F("UW2"), z->opis1);
  f4assign_int(F("ZRK"), z->zrodlo);
  char revenue[8];
  RevenueDate(revenue);
  f4assign_n(F(layout->revenueDate), revenue, 8);
  if (fresh) {
    f4assign_long(F("LPO"), z->lp);
    f4assign_long(F("REC"), d4reccount(T()) + 1);
    f4assign_char(F("ANU"), ' ');
    f4assign_char(F("ZAP"), 'T');
  }
  for (int i = 0; i < FLAT_RATE_SLOTS; i++)
    if (layout->slots[i] != nullptr) f4assign_double(F(layout->slots[i]), z->ryczalt[i]);
  if (layout->surplus != nullptr) {
    f4assign_double(F(layout->surplus), z->najemNadwyzka);
  } else {
    f4assign_double(F("NAW"), 0);
    f4assign_double(F("NAO"), z->ryczalt[3]);
  }
  f4assign_double(F("RAZ"), RecordTotal(z));
  f4assign_n(F("DAT"), z->kasowo == 'T' ? revenue : z->dataZapisu, 8);
  if (layout == &kFrom2022) PolaMetodyKasowej(T(), z);
}

int DayIntoDate(Get4* get) {
  if (WalidujDzienKsiegi(get) != 0) return -1;
  char revenue[8];
  RevenueDate(revenue);
  f4assign_n(F(layout->revenueDate), revenue, 8);
  return 0;
}

int ValidEntryDate(Get4*) {
  char date[9] = {0};
  std::memcpy(date, f4ptr(F("DAT")), 8);
  double julian = 0;
  if (std::string(date, 8) == "        " || c4dt_julian(date, &julian) != 0) {
    Uwaga(50136);
    return -1;
  }
  return 0;
}

int EntryForm(bool fresh) {
  ZapisKsiegowy* z = zapisKsiegowy;
  static int height;
  height = layout->entryHeight;
  OpenedWindow window(
      [] { return DefineWprowadzWindow(26 - height, 0, height + 2, 80, Sys("KSIĘGOWANIE"), nullptr, nullptr); });
  if (window.handle < 0) return -1;
  pokaz_tlo(static_cast<int16_t>(layout->entryScreen), 0, 0);
  int column = layout->controlsColumn;
  w4(0, 5, PrintfQStr("%5u", z->lp));
  if (z->zrodlo >= 1 && z->zrodlo <= 9) w4(0, 56, Sys(ZRODLA_KSIEGOWANIA[z->zrodlo - 1]));
  w4(1, column, PrintfQStr("%2d", z->miesiac));
  int row = 8;
  for (int i = 0; i < FLAT_RATE_SLOTS; i++) {
    if (layout->slots[i] == nullptr) continue;
    w4(row++, column, PrintfQStr("%11.2f", z->ryczalt[i]));
  }
  if (layout->surplus != nullptr) w4(row, column, PrintfQStr("%11.2f", z->najemNadwyzka));
  static int32_t day;
  day = z->dzien;
  if (fresh) {
    g4int(2, column, &day);
    g4picture("99");
    g4valid(DayIntoDate);
  } else {
    w4(2, column, PrintfQStr("%2d", z->dzien));
  }
  g4field(4, column, Slot("NUM"));
  g4field(5, column, Slot("DAT"));
  g4picture("DD-MM/YY");
  g4valid(ValidEntryDate);
  if (z->konta) PoleKontaWpisu(8, 47, 9, 40, F("KON"));
  g4field(11, 55, Slot("ZAP"));
  g4picture("Y");
  g4field(layout->remarksRow, 47, Slot("UW1"));
  g4field(layout->remarksRow + 1, 47, Slot("UW2"));
  add_help_line();
  set_fun_help("F2", "Zapisz", 1);
  int key = g4read();
  remove_help_line();
  if (key != KEY_ENTER && key != KEY_F2) return -1;
  if (Pytanie(MSG_ADD) == KEY_ESC) return -1;
  return 0;
}

int BeforeAppend(int) {
  if (NumerujNowyWpis(T()) != 0) return -1;
  return ZaznaczMiesiacRyczaltu(date4month(f4ptr(F(layout->revenueDate))));
}

void NumberOfNewEntry(bool fresh) {
  if (fresh) f4assign_long(F("LPO"), zapisKsiegowy->lp);
}

bool TotalZero() { return V("RAZ") == 0; }

int MarkMonth(int month) { return ZaznaczMiesiacRyczaltu(month); }

void KeepEntryDate(bool) { std::memcpy(zapisKsiegowy->dataZapisu, f4ptr(F("DAT")), 8); }

// 0 written or declined, 1 re-posting declined, -2 form left, -1 failed.
int BuildAndSave(int seryjnie) {
  const KsiegaWpisow book = {T(),       Z5RYPR.tag[TAG_BY_REC], layout->revenueDate, CompareWithOldEntry,
                             FillEntry, EntryForm,              NumberOfNewEntry,    TotalZero,
                             MarkMonth, BeforeAppend,           KeepEntryDate};
  return ZapiszWpisKsiegi(book, seryjnie);
}

}  // namespace

int ZaznaczMiesiacRyczaltu(int month) {
  return ZaznaczMiesiacSum(Z5STRB, Z5STRBYear, OpenZ5STRB, zapisKsiegowy->rok, month);
}

int OstatniMiesiacRyczaltu(int year) {
  return OstatniMiesiacTabeli(OpenZ5RYPR, Z5RYPR, TAG_BY_DATE, year >= NEW_FLAT_RATE_YEAR ? "DPR" : "DAD", year);
}

int PodzielNajem() {
  DbTable* t = T();
  long current = d4recno(t);
  DbTag* selected = d4tag_selected(t);
  int previous = ShowWaitNotice();
  int result = -1;
  // One division at a time, always by month and entry number.
  if (set_lock(t, -1) == 0) {
    result = 0;
    double threshold = taxOptions.postingLimit;
    double sum = 0;
    d4tag_select(t, Z5RYPR.tag[TAG_BY_MONTH]);
    for (int rc = d4top(t); rc == 0 && !d4eof(t); rc = d4skip(t, 1)) {
      double rent = V("NAO");
      double high = 0;
      sum += rent;
      if (rent > 0 && sum > threshold) high = MniejszaWartosc(rent, sum - threshold);
      f4assign_double(F("NAW"), high);
      f4assign_double(F("NAJ"), rent - high);
      f4assign_double(F("RAZ"), V("HAN") + V("PRO") + V("USL") + V("NAJ") + V("NAW") + V("NIE") + V("KOM") +
                                    V("ZDR") + V("UIN") + V("WZA"));
      if (d4write(t, d4recno(t)) != 0) {
        result = -1;
        break;
      }
    }
    if (d4flush(t) != 0) result = -1;
    d4unlock(t);
  }
  HideWaitNotice(previous);
  d4tag_select(t, selected);
  if (current > 0) d4go(t, current);
  return result;
}

int KsiegujRyczalt(int seryjnie) {
  ZapisKsiegowy* z = zapisKsiegowy;
  DataKsiegiNaDzien();
  layout = &LayoutOf(WorkingYear());
  if (OpenZ5RYPR(z->rok, 0) != 0) return -1;
  int result = OtworzKontaWpisu();
  if (result == 0) {
    z->lp = static_cast<uint32_t>(OstatniNumerWpisu(T()) + 1);
    // The entry's date follows option 56, for a re-posted entry too (not the
    // date of whichever entry is latest).
    ProposedEntryDate(z->dataZapisu);
    result = BuildAndSave(seryjnie);
    if (result == 0 && z->zapisano && layout == &kFrom2022 && PodzielNajem() != 0) result = -1;
  }
  ZamknijKontaWpisu();
  d4close(T());
  Z5RYPR.table = nullptr;
  return result == -2 ? 0 : result;
}
