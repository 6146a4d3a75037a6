#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "sales/document_totals.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "ui/menu.h"

namespace {

constexpr int ACCEPT_ROW = 45;
constexpr int MODE_DOCUMENT_CURRENCY = 2;

}  // namespace

int wybierz_przeliczenie_walut(int* out, int documentCurrency) {
  if (documentCurrency) {
    *out = MODE_DOCUMENT_CURRENCY;
    return 0;
  }
  static const std::string title = Utf8ToMazText("Waluty przeliczyć wg kursu");
  static const std::string forVat = "1. dla VAT", forBooks = Utf8ToMazText("2. dla księgowania");
  const char* const items[] = {"                  ", forVat.c_str(), forBooks.c_str(), nullptr};
  int chosen = get_menu_function(title.c_str(), items, 1, -1, -1);
  if (chosen < 0) return 1;
  *out = chosen - 1;
  return 0;
}

double ilosc_pozycji_zakupu(int kind) {
  bool ordinary = kind == 1 || kind == 2 || kind == 5 || kind == 6;
  return f4double(d4field(Z5ZAKE.table, ordinary ? "ILO" : "ILK"));
}

int szukaj_konta_pozycji() {
  int rc = SeekKontoByRec(f4long(d4field(Z5SPRE.table, "KON")));
  if (rc < 0) return -1;
  if (rc != 0) {
    // The account shown is empty; the record the seek stood on stays as stored.
    EmptyRecord(Z5KONT.table);
    d4changed(Z5KONT.table, 0);
  }
  return ACCEPT_ROW;
}

int dodaj_pozycje_menu(const char* text, int row, int col, int32_t value, int32_t (*action)(int32_t), int key) {
  int item = n4item_menu(text, row, col, value, action, key);
  if (item >= 0 && (key == 0 || key == 1)) {
    MenuItem4* it = n4record(item);
    it->hotKey = 0;
    it->hotPos = -1;
  }
  return item;
}

