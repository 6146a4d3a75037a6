// The posting order ("Polecenie księgowania") of one amount: of the current
// entry of the revenue and expense book, or of a flat-rate entry from the
// posting record and the document, on form 90 through the print preview.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "finance/posting.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "tables/book_tables.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "ui/keyboard.h"

namespace {

constexpr int16_t RES_ORDER = 90;
constexpr int ORDER_WIDTH = 130, ORDER_ROWS = 26;
constexpr int BOOK_TAG_REC = 5;

int16_t OrderForm() { return RES_ORDER; }

DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }
DbField* Book(const char* name) { return d4field(Z5DANE.table, name); }
DbField* Document(const char* name) { return d4field(Z5SPRZ.table, name); }

void Put(char* page, int row, int col, const std::string& text) {
  int room = ORDER_WIDTH - col;
  if (room <= 0) return;
  std::memcpy(page + row * ORDER_WIDTH + col, text.data(), std::min(text.size(), static_cast<size_t>(room)));
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Whole(DbField* field) { return std::string(f4ptr(field), f4len(field)); }
std::string Joined(const std::string& a, const std::string& b) {
  std::string left = Trimmed(a), right = Trimmed(b);
  return left.empty() || right.empty() ? left + right : left + " " + right;
}

void FirmLines(char* page) {
  Put(page, 0, 2, TrimFldsToQStr_(Firm("NA1")));
  Put(page, 1, 2, TrimFldsToQStr_(Firm("NA2")));
  Put(page, 2, 2, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), nullptr, nullptr, nullptr));
  Put(page, 3, 2, AdresFldsQStr(nullptr, nullptr, nullptr, Firm("ULI"), Firm("NRD"), Firm("NRM")));
}

// The page through the preview, then to the printer on F2; 0 or -1.
int PrintOrder(DbTable* table, const char* code, void (*fill)(char*, double), double amount) {
  bool opened = Z5PAWL.table == nullptr;
  if (opened && OpenZ5PAWL() != 0) return -1;
  char *pattern = nullptr, *page = nullptr;
  int result = -1;
  if (print_alloc(&pattern, &page, ORDER_WIDTH * ORDER_ROWS, OrderForm) == 0) {
    FirmLines(page);
    fill(page, amount);
    const char* title = Sys("Polecenie księgowania");
    result = 0;
    if (edytuj_memory(pattern, page, ORDER_ROWS, ORDER_WIDTH, title, 1, 1, 1) == KEY_F2 &&
        init_prn(table, code, title, ORDER_WIDTH, 0) == 0) {
      result = drukuj_top_margin() == 0 && print_lines(pattern, page, ORDER_WIDTH, 0, ORDER_ROWS, -1, -1) == 0 &&
                       drukuj_form_feed() == 0
                   ? 0
                   : -1;
      deinit_prn();
    }
  }
  print_free(&pattern, &page);
  if (opened) d4close(Z5PAWL.table);
  return result;
}

std::string AmountText(double amount) { return PrintfQStr("%11.2f", amount); }

void FillBookOrder(char* page, double amount) {
  Put(page, 3, 117, "KPiR");
  Put(page, 4, 119, FldQStr(Book("LPO"), 0));
  Put(page, 7, 2, Whole(Book("NA1")) + Trimmed(Whole(Book("NA2"))));
  Put(page, 8, 2, Whole(Book("NA3")) + Trimmed(Whole(Book("NA4"))));
  Put(page, 9, 2, Trimmed(Whole(Book("MIA"))));
  Put(page, 10, 2, Joined(Whole(Book("UL1")), Whole(Book("UL2"))));
  Put(page, 12, 24, FldFullDateQStr(Book("DAT")));
  Put(page, 17, 4, Trimmed(Whole(Book("NUM"))));
  Put(page, 17, 43, Joined(Whole(Book("OP1")), Whole(Book("OP2"))));
  Put(page, 17, 114, AmountText(amount));
}

void FillFlatRateOrder(char* page, double amount) {
  const ZapisKsiegowy* z = zapisKsiegowy;
  Put(page, 3, 116, Sys("RYCZAŁT"));
  Put(page, 4, 119, PrintfQStr("%5u", z->lp));
  Put(page, 7, 2, Trimmed(Whole(Document("NA1"))));
  Put(page, 8, 2, Trimmed(Whole(Document("NA2"))));
  Put(page, 9, 2, Joined(Whole(Document("KOP")), Whole(Document("MIA"))));
  Put(page, 10, 2, Trimmed(Whole(Document("ULI"))));
  Put(page, 12, 24, FullDateQStr(std::string(z->dataKsiegi, 8).c_str()));
  Put(page, 17, 4, z->nrDokumentu);
  Put(page, 17, 43, Joined(z->kursTekst, z->opis1));
  Put(page, 17, 114, AmountText(amount));
}

}  // namespace

void DrukujPolecenieKsiegowania(double amount) { PrintOrder(Z5DANE.table, "KPK", FillBookOrder, amount); }

void DrukujPolecenieKsiegowaniaRyczaltu(double amount) {
  PrintOrder(Z5SPRZ.table, "PKR", FillFlatRateOrder, amount);
}

void DrukujPoleceniaWpisu(int year, int32_t rec) {
  if (OpenZ5DANE(year, 0) != 0) return;
  DbTable* t = Z5DANE.table;
  d4tag_select(t, Z5DANE.tag[BOOK_TAG_REC]);
  if (d4seek_double(t, rec) == 0) {
    auto value = [](const char* name) { return f4double(Book(name)); };
    double income = value("PSP") + value("POP");
    double expense = value("ZAK") + value("UBO") + value("WYN") + value("INN");
    if (income != 0) DrukujPolecenieKsiegowania(income);
    if (expense != 0) DrukujPolecenieKsiegowania(expense);
  }
  d4close(t);
}
