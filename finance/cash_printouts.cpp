// The printouts of the cash book: the cash voucher (KP or KW) with its
// original and copies, a bank statement line, the summary by cash and
// accounts, and the tabulogram of the browse.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_print.h"
#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/amount_words.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "finance/cash_book.h"
#include "finance/payments.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"

namespace {

constexpr int16_t RES_VOUCHER = 4, RES_SUMMARY = 3;
constexpr int VOUCHER_WIDTH = 116, VOUCHER_ROWS = 31;
constexpr int STATEMENT_WIDTH = 100, STATEMENT_ROWS = 12;
constexpr int SUMMARY_WIDTH = 76, SUMMARY_ROWS = 25;
constexpr int MSG_RECEIPT_TITLE = 20076, MSG_PAYMENT_TITLE = 20077;
constexpr int WORDS_WIDTH = 64;
constexpr int SUMMARY_LINES = 7;
constexpr int STATUS_WIDTH = 2048;

DbField* Field(const char* name) { return d4field(Z5KASA.table, name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }

// The own firm's data for the length of a print, opened here when needed.
struct FirmOpen {
  bool opened = false;
  bool ok = true;
  FirmOpen() {
    if (Z5PAWL.table) return;
    ok = OpenZ5PAWL() == 0;
    opened = ok;
  }
  ~FirmOpen() {
    if (opened) d4close(Z5PAWL.table);
  }
};

void Put(char* page, int width, int row, int col, const std::string& text) {
  int room = width - col;
  if (room <= 0) return;
  std::memcpy(page + row * width + col, text.data(), std::min(text.size(), static_cast<size_t>(room)));
}

std::string Amount(double value, int width) {
  char text[40] = {};
  int n = MemPrintDoubleFmt(text, value, width, 2 | 0x20);
  return std::string(text, static_cast<size_t>(std::max(n, 0)));
}

void FirmAddress(char* page, int width, int firstRow, int col);

void FirmLines(char* page, int width, int firstRow, int col) {
  Put(page, width, firstRow, col, TrimFldsToQStr_(Firm("NA1")));
  Put(page, width, firstRow + 1, col, TrimFldsToQStr_(Firm("NA2")));
  FirmAddress(page, width, firstRow + 2, col);
}

void FirmAddress(char* page, int width, int firstRow, int col) {
  Put(page, width, firstRow, col, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), nullptr, nullptr, nullptr));
  Put(page, width, firstRow + 1, col,
      AdresFldsQStr(nullptr, nullptr, nullptr, Firm("ULI"), Firm("NRD"), Firm("NRM")));
}

// ---- the voucher

void FillVoucher(char* page) {
  char kind = static_cast<char>(f4char(Field("TYP")));
  bool payment = kind != '1' && kind != '4';
  double amount = f4double(Field("KWO"));
  if (payment) amount = -amount;
  const int w = VOUCHER_WIDTH;
  Put(page, w, 1, 102, FldFullDateQStr(Field("DAT")));
  FirmLines(page, w, 2, 24);
  std::string line(w, ' ');
  std::string number = PrintfQStr("%ld/%i", f4long(Field("NUM")), date4year(f4ptr(Field("DAT"))));
  DuplikatQStr(line.data(), w, EnvFindString(payment ? MSG_PAYMENT_TITLE : MSG_RECEIPT_TITLE), number.c_str());
  Put(page, w, 7, 0, line);
  Put(page, w, 9, 39, TrimFldsToQStr_(Field("NA1")));
  Put(page, w, 10, 39, TrimFldsToQStr_(Field("NA2")));
  Put(page, w, 11, 39, TrimFldsToQStr_(Field("KOP"), Field("MIA")));
  Put(page, w, 12, 39, TrimFldsToQStr_(Field("ULI")));
  std::string currency = TrimFldsToQStr_(Field("WAL"));
  Put(page, w, 15, 104, currency);
  Put(page, w, 17, 30, TrimFldsToQStr_(Field("TYT")));
  Put(page, w, 17, 96, Amount(amount, 11));
  char line1[WORDS_WIDTH + 1], line2[WORDS_WIDTH + 1];
  std::memset(line1, ' ', WORDS_WIDTH);
  std::memset(line2, ' ', WORDS_WIDTH);
  line1[WORDS_WIDTH] = line2[WORDS_WIDTH] = '\0';
  pisz_slownie(line1, line2, slownie(amount, currency.c_str()), WORDS_WIDTH);
  Put(page, w, 20, 35, std::string(line1, WORDS_WIDTH));
  Put(page, w, 21, 35, std::string(line2, WORDS_WIDTH));
  Put(page, w, 23, 36, TrimFldsToQStr_(Field("KAS")));
}

// One voucher with its mark; 0 or -1.
int PrintVoucher(char* pattern, char* page, const char* mark, int col) {
  int row = DrukarkaZnakowa() ? 6 : 7;
  std::string saved(page + row * VOUCHER_WIDTH, VOUCHER_WIDTH);
  Put(page, VOUCHER_WIDTH, row, col, Sys(mark));
  int rc = print_lines(pattern, page, VOUCHER_WIDTH, 0, VOUCHER_ROWS, -1, -1);
  saved.copy(page + row * VOUCHER_WIDTH, VOUCHER_WIDTH);
  return rc;
}

int PrintVouchers(char* pattern, char* page) {
  Environment* env = EnvCurrent();
  int copies = env ? env->copiesLeft : 0;
  if (copies <= 0) {
    if (drukuj_top_margin() != 0 || PrintVoucher(pattern, page, "ORYGINAŁ / KOPIA", 95) != 0) return -1;
    return drukuj_form_feed();
  }
  if (drukuj_top_margin() != 0 || PrintVoucher(pattern, page, "ORYGINAŁ", 102) != 0 ||
      PrintVoucher(pattern, page, " KOPIA  ", 102) != 0 || drukuj_form_feed() != 0)
    return -1;
  for (copies--; copies > 0;) {
    if (drukuj_top_margin() != 0) return -1;
    for (int onPage = 0; onPage < 2 && copies > 0; onPage++, copies--)
      if (PrintVoucher(pattern, page, " KOPIA  ", 102) != 0) return -1;
    if (drukuj_form_feed() != 0) return -1;
  }
  return 0;
}

int16_t VoucherForm() { return RES_VOUCHER; }
int16_t SummaryForm() { return RES_SUMMARY; }

// ---- the summary

struct Row {
  double income = 0, expense = 0;
};

void Count(Row (&rows)[SUMMARY_LINES]) {
  double amount = f4double(Field("KWO"));
  switch (f4char(Field("TYP"))) {
    case '1': rows[0].income += amount; break;
    case '2': rows[0].expense -= amount; break;
    case '3': {
      int account = f4int(Field("TYK"));
      if (account < 1 || account > 6) break;
      if (amount > 0)
        rows[account].income += amount;
      else
        rows[account].expense -= amount;
      break;
    }
    default: break;
  }
}

void FillSummary(char* page, const Row (&rows)[SUMMARY_LINES], const char* status) {
  const int w = SUMMARY_WIDTH;
  Put(page, w, 2, 2, TrimFldsToQStr_(Firm("NA1")));
  Put(page, w, 3, 2, TrimFldsToQStr_(Firm("NA2")));
  Put(page, w, 4, 2, status);
  Row total;
  for (int i = 0; i < SUMMARY_LINES; i++) {
    const Row& r = rows[i];
    Put(page, w, 9 + 2 * i, 30, Amount(r.income, 13));
    Put(page, w, 9 + 2 * i, 46, Amount(r.expense, 13));
    Put(page, w, 9 + 2 * i, 62, Amount(r.income - r.expense, 13));
    total.income += r.income;
    total.expense += r.expense;
  }
  Put(page, w, 23, 30, Amount(total.income, 13));
  Put(page, w, 23, 46, Amount(total.expense, 13));
  Put(page, w, 23, 62, Amount(total.income - total.expense, 13));
}

}  // namespace

int DrukujKPKW(int) {
  FirmOpen firm;
  if (!firm.ok) return -1;
  char *pattern = nullptr, *page = nullptr;
  int result = -1;
  if (print_alloc(&pattern, &page, VOUCHER_WIDTH * VOUCHER_ROWS, VoucherForm) == 0) {
    FillVoucher(page);
    if (init_prn(Z5KASA.table, "KAP", Sys("Dowód wpłaty/wypłaty"), VOUCHER_WIDTH, 0) == 0)
      result = PrintVouchers(pattern, page);
    else
      result = 0;
    deinit_prn();
  }
  print_free(&pattern, &page);
  return result;
}

int drukuj_wyciag_kasy() {
  FirmOpen firm;
  if (!firm.ok) return -1;
  const int w = STATEMENT_WIDTH;
  std::string text(static_cast<size_t>(w * STATEMENT_ROWS), ' ');
  std::string bold(text.size(), ' ');
  char* page = bold.data();
  Put(page, w, 0, 0, PrintfQStr("%s nr %ld", Sys("Wyciąg"), f4long(Field("NUM"))));
  FirmLines(page, w, 2, 0);
  Put(page, w, 7, 0, FldFullDateQStr(Field("DAT")));
  Put(page, w, 7, 11, TrimFldsToQStr_(Field("NA1")));
  Put(page, w, 7, 83, Amount(f4double(Field("KWO")), 11));
  Put(page, w, 7, 97, TrimFldsToQStr_(Field("WAL")));
  Put(page, w, 8, 11, TrimFldsToQStr_(Field("NA2")));
  Put(page, w, 9, 11, TrimFldsToQStr_(Field("KOP"), Field("MIA"), Field("ULI")));
  Put(page, w, 10, 11, TrimFldsToQStr_(Field("TYT")));
  if (edytuj_memory(text.data(), page, STATEMENT_ROWS, w, Sys("Wyciąg"), 1, 1, 1) != KEY_F2) return 0;
  int result = 0;
  if (init_prn(Z5KASA.table, "KAW", Sys("Wyciąg"), w, 0) == 0) {
    result = drukuj_top_margin() == 0 && print_lines(text.data(), page, w, 0, STATEMENT_ROWS, -1, -1) == 0 &&
                     drukuj_form_feed() == 0
                 ? 0
                 : -1;
  }
  deinit_prn();
  return result;
}

int suma_kasy(int32_t) {
  BrowseContext* browse = CurrentBrowse;
  if (EmptyBrowseWarning(browse) != 0) return 0;
  FilterSet* set = &kontekstKasy->filters;
  OpenFiltersWindow(set);
  if (!set->changed) return 0;
  DbTable* table = Z5KASA.table;
  long current = d4recno(table);
  Row rows[SUMMARY_LINES];
  if (set_lock(table, -1) == 0) {
    DbScanCtx scan;
    x4init(&scan, table, FilterFunction, reinterpret_cast<intptr_t>(set));
    for (int r = x4top(&scan); r == 0 && !d4eof(table); r = x4skip(&scan, 1)) Count(rows);
    d4unlock(table);
    char status[STATUS_WIDTH] = {};
    MakeFilterStatusString(set, status);
    FirmOpen firm;
    char *pattern = nullptr, *page = nullptr;
    if (firm.ok && print_alloc(&pattern, &page, SUMMARY_WIDTH * SUMMARY_ROWS, SummaryForm) == 0) {
      FillSummary(page, rows, status);
      if (init_prn(table, "KSU", "Podsumowanie kasy", SUMMARY_WIDTH, 0) == 0 && drukuj_top_margin() == 0 &&
          print_lines(pattern, page, SUMMARY_WIDTH, 0, SUMMARY_ROWS, -1, -1) == 0)
        drukuj_form_feed();
      deinit_prn();
    }
    print_free(&pattern, &page);
  }
  AskResetFilter(set);
  browse_call(0, current);
  return 0;
}

int tabulogram_kasy(int32_t) {
  FilterSet* set = &kontekstKasy->filters;
  OpenFiltersWindow(set);
  if (set->changed) {
    DbTag* shown = d4tag_selected(Z5KASA.table);
    d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_TAG_DATE]);
    browse_drukuj();
    d4tag_select(Z5KASA.table, shown);
    AskResetFilter(set);
  }
  browse_call(0, 0);
  return 0;
}
