// The receipt register's filters: the nine conditions of the "FILTRY"
// window, the browse filter that also positions each receipt's buyer
// record, the tabulogram and the sums of the filtered receipts.
#include "retail/receipt_filters.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "print/tabulogram.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int BUYER_BY_RECEIPT = 1;   // REK
constexpr int TAG_DATE = 1;
constexpr int MSG_HEADER_DIFFERS = 20131;
constexpr int MSG_CONTINUE = 50006;
constexpr int MSG_DOCUMENTS_FAULTY = 20004;
constexpr int16_t RES_SUMS_FORM = 44;
constexpr int SUMS_ROWS = 22, SUMS_COLUMNS = 79;
constexpr int PRINT_FLAGS = 0x900;
constexpr size_t SUBTITLE_MAX = 227;

// The items in the window's order.
enum Item { OD_DNIA, DO_DNIA, PREFIKS, PARAGONY, FAKTURY, PLATNOSC, NIEZAPLACONE, ZWYKLY, MARZA, ITEMS };

struct Filters {
  FilterSet set;
  FilterItem items[ITEMS];
};
Filters* filters = nullptr;

DbField* H(const char* name) { return d4field(Z5PARA.table, name); }
DbField* B(const char* name) { return d4field(Z5PARO.table, name); }
int Accept(bool passed) { return passed ? X4_ACCEPT : X4_REJECT; }

bool HasInvoice() { return f4int(H("TYF")) != 0; }
int ReceiptTest(DbField*, DbTable*) { return Accept(!HasInvoice()); }
int InvoiceTest(DbField*, DbTable*) { return Accept(HasInvoice()); }
// Only an invoice's buyer record can be unpaid.
int UnpaidTest(DbField*, DbTable*) { return Accept(HasInvoice() && f4char(B("ZAP")) != 'T'); }

int RightAligned(Get4* get) {
  wyrownaj_w_prawo(static_cast<char*>(get->data), get->dataWidth);
  return 0;
}

FilterItem* YesNo(const char* label, const char* prefix, uint32_t condition, DbField* field,
                  int (*test)(DbField*, DbTable*)) {
  FilterItem* item = DefineFilter(FilterFld(field), Sys(label), Sys(prefix), FILTER_YES_NO,
                                  FILTER_DIRECT_FIELD, condition);
  if (item && test) item->own_test.yesNo = test;
  return item;
}

// The buyer record of the receipt in the record buffer, blank when it has none.
int RelateBuyer() {
  DbTable* buyers = Z5PARO.table;
  if (!buyers) return 0;
  d4tag_select(buyers, Z5PARO.tag[BUYER_BY_RECEIPT]);
  int rc = d4seek_double(buyers, f4double(H("REC")));
  if (rc < 0) return -1;
  if (rc != 0) {
    d4blank(buyers);
    d4changed(buyers, 0);
  }
  return 0;
}

int Redisplay() { return browse_call(0, 0); }

FilterItem& At(Item i) { return filters->items[i]; }

// ---- sums

struct Group {
  int count = 0;
  double sums[3] = {};
};

// 0 counted, 1 left out after the operator's yes, -1 stop.
int CountReceipt(Group groups[2]) {
  if (sumuj_pozycje_paragonu() != 0) return -1;
  if (porownaj_sumy_paragonu() != 0) {
    std::string which = std::string(FldQStr(H("NRV"), 3)) + " z dnia " + FldFullDateQStr(H("DSP"));
    return MessageWindow(MB_YES_ESC, MSG_HEADER_DIFFERS, which.c_str(), MSG_CONTINUE) == KEY_ESC ? -1 : 1;
  }
  Group& g = groups[HasInvoice() ? 0 : 1];
  g.count++;
  const char* fields[] = {"NET", "VAT", "BRU"};
  for (int i = 0; i < 3; i++) g.sums[i] += f4double(H(fields[i]));
  return 0;
}

int16_t SumsForm() { return RES_SUMS_FORM; }

void Put(char* page, int row, int column, double value, int width, int flags) {
  MemPrintDoubleFmt(page + row * SUMS_COLUMNS + column, value, width, flags);
}

void FillSums(char* page, const Group groups[2]) {
  constexpr int COUNT_FLAGS = 0x20, AMOUNT_FLAGS = 2 | 0x40, AMOUNT_WIDTH = 12;
  Put(page, 1, 16, groups[0].count, 5, COUNT_FLAGS);
  Put(page, 1, 30, groups[1].count, 5, COUNT_FLAGS);
  for (int i = 0; i < 3; i++) {
    Put(page, 3 + i, 14, groups[0].sums[i], AMOUNT_WIDTH, AMOUNT_FLAGS);
    Put(page, 3 + i, 30, groups[1].sums[i], AMOUNT_WIDTH, AMOUNT_FLAGS);
    Put(page, 3 + i, 46, groups[0].sums[i] + groups[1].sums[i], AMOUNT_WIDTH, AMOUNT_FLAGS);
  }
}

std::string Period() {
  std::string period;
  if (At(OD_DNIA).active) period += std::string("Od dnia ") + FullDateQStr(At(OD_DNIA).date);
  if (At(DO_DNIA).active) period += std::string(" do dnia ") + FullDateQStr(At(DO_DNIA).date);
  return period;
}

void PrintPage(DbTable* table, const char* title, std::string period, const char* pattern, const char* page,
               int rows, int columns) {
  if (init_prn(table, "SUM", title, columns, PRINT_FLAGS) != 0) return;
  conv_str(period.data(), static_cast<int>(period.size()));
  Environment* env = EnvCurrent();
  for (;;) {
    if (drukuj_top_margin() != 0 || drukuj_nazwa_wlasciciela() != 0 || drukuj(title) != 0 ||
        drukuj_line_feed(2) != 0 || drukuj(period.c_str()) != 0 || drukuj_line_feed(1) != 0 ||
        print_lines(pattern, page, columns, 0, rows, 0, -1) != 0 || drukuj_bez_marginesu("\x0c") != 0)
      break;
    if (env->copiesLeft-- <= 0) break;
  }
  deinit_prn();
}

}  // namespace

void definiuj_filtry_paragonow() {
  filters = new Filters{};
  ResetFiltersDefinition(&filters->set, filters->items, sizeof filters->items);
  DefineFilter(FilterFld(H("DSP")), Sys("od dnia........"), " od:", FILTER_DATE,
               FILTER_DATE_NEEDED | FILTER_DIRECT_FIELD);
  DefineFilter(FilterFld(H("DSP")), Sys("do dnia........"), " do:", FILTER_DATE,
               FILTER_DATE_NEEDED | FILTER_UPPER_BOUND | FILTER_DIRECT_FIELD);
  DefineFilter(FilterFld(H("PRE")), Sys("ident. numeru.."), " id. nr:", FILTER_TEXT,
               FILTER_UPPER | FILTER_DIRECT_FIELD, 0, nullptr, 0, RightAligned);
  YesNo("paragony.......", " paragon.", 0, nullptr, ReceiptTest);
  YesNo("faktury........", " dok.VAT.", 0, nullptr, InvoiceTest);
  DefineFilter(FilterFld(B("DPL")), Sys("płatność do...."), Sys(" płat. do:"), FILTER_DATE,
               FILTER_DATE_NEEDED | FILTER_UPPER_BOUND | FILTER_DIRECT_FIELD);
  YesNo("niezapłacone...", " nie zapł.", 0, nullptr, UnpaidTest);
  YesNo("zwykły.........", " zwykłe ", FILTER_IF_DIFFERENT | 'T', H("STA"), nullptr);
  YesNo("marża..........", " marża ", FILTER_IF_EQUAL | 'T', H("STA"), nullptr);
  filters->set.off = 1;
}

void zwolnij_filtry_paragonow() {
  if (!filters) return;
  FreeFilters(&filters->set);
  delete filters;
  filters = nullptr;
}

FilterSet* filtry_paragonow() { return filters ? &filters->set : nullptr; }

int filtr_paragonow(intptr_t) {
  if (kontekstParagonow && kontekstParagonow->relateBuyer && RelateBuyer() != 0) return -1;
  if (!filters) return X4_ACCEPT;
  return FilterFunctionEx(&filters->set, nullptr);
}

int okno_filtrow_paragonow() {
  if (filters) OpenFiltersWindow(&filters->set);
  return 0;
}

int32_t filtry_z_menu(int32_t redisplay) {
  okno_filtrow_paragonow();
  BrowseDispFilterState(filters && !filters->set.off);
  return redisplay ? Redisplay() : 0;
}

void zapytaj_usun_filtry() {
  if (filters) AskResetFilter(&filters->set);
}

std::string opis_filtrow_paragonow() {
  if (!filters || filters->set.off) return "";
  std::string description;
  FilterItem& prefix = At(PREFIKS);
  if (prefix.active) {
    // right-aligned in the field: the description drops the leading blanks too
    std::string value(prefix.text, static_cast<size_t>(prefix.length));
    size_t first = value.find_first_not_of(' ');
    value = first == std::string::npos ? "" : value.substr(first, value.find_last_not_of(' ') + 1 - first);
    description = std::string(prefix.status_prefix) + value;
  }
  char text[1024] = "";
  for (Item i : {OD_DNIA, DO_DNIA, PARAGONY, FAKTURY, PLATNOSC, NIEZAPLACONE, ZWYKLY, MARZA})
    AddFilterItemStatus(&At(i), text);
  description += text;
  if (description.size() > SUBTITLE_MAX) description.resize(SUBTITLE_MAX);
  return description;
}

int32_t tabulogram_paragonow(int32_t) {
  BrowseContext* browse = CurrentBrowse;
  if (!browse || !filters || EmptyBrowseWarning(browse) != 0) return 0;
  filtry_z_menu(0);
  if (!filters->set.changed) return 0;
  DbTable* headers = Z5PARA.table;
  DbTag* shown = d4tag_selected(headers);
  d4tag_select(headers, Z5PARA.tag[TAG_DATE]);
  std::string subtitle = opis_filtrow_paragonow();
  prn_tab_rap(browse->print_columns, &browse->scan, headers, Z5PARA.tag[TAG_DATE], browse->print_title,
              subtitle.c_str(), nullptr, 0);
  d4tag_select(headers, shown);
  zapytaj_usun_filtry();
  return Redisplay();
}

int32_t suma_z_menu(int32_t) {
  BrowseContext* browse = CurrentBrowse;
  if (!browse || !filters) return 0;
  add_help_line();
  int previous = w4select(-1);
  bool seek = browse->seek_window > 0 && w4record(browse->seek_window);
  if (seek) w4activate(browse->seek_window);
  filtry_z_menu(0);
  if (filters->set.changed) sumy_paragonow();
  if (seek) w4deactivate(browse->seek_window);
  w4select(previous);
  remove_help_line();
  zapytaj_usun_filtry();
  return Redisplay();
}

int sumy_paragonow() {
  BrowseContext* browse = CurrentBrowse;
  if (!browse || !filters) return -1;
  Group groups[2];
  bool faulty = false;
  int r;
  for (r = x4top(&browse->scan); r == 0; r = x4skip(&browse->scan, 1)) {
    int counted = CountReceipt(groups);
    if (counted < 0) return -1;
    if (counted > 0) faulty = true;
  }
  if (r < 0 || faulty) {
    Uwaga(MSG_DOCUMENTS_FAULTY);
    return 0;
  }
  strona_sum(Z5PARA.table, Sys("Sumy paragonów"), Period(), SumsForm, SUMS_ROWS, SUMS_COLUMNS,
             [](char* page, const void* data) { FillSums(page, static_cast<const Group*>(data)); }, groups);
  return 0;
}

int strona_sum(DbTable* table, const char* title, const std::string& period, int16_t (*form)(), int rows,
               int columns, void (*fill)(char* page, const void* data), const void* data) {
  char *pattern = nullptr, *page = nullptr;
  int result = print_alloc(&pattern, &page, rows * columns, form);
  if (result == 0) {
    fill(page, data);
    if (edytuj_memory(pattern, page, rows, columns, title, 1, 1, 0) == KEY_F2)
      PrintPage(table, title, period, pattern, page, rows, columns);
  }
  print_free(&pattern, &page);
  return result;
}

}  // namespace retail
