#include "sales/line_form.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "sales/document_kinds.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"

namespace {

constexpr int FIRST_YEAR_OF_DELIVERY_TYPES = 2024;

DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }
bool From2024() { return WorkingYear() >= FIRST_YEAR_OF_DELIVERY_TYPES; }
bool OssLine() { return Digit(Line("STM")) == 4; }

// The list item's text after its "n. ", blank-padded to the buffer's size.
template <size_t N>
void Text(char (&buffer)[N], int code, const char* const* list) {
  std::memset(buffer, ' ', N - 1);
  buffer[N - 1] = '\0';
  const char* item = KodAsPopupMenuString(code, list);
  std::memcpy(buffer, item, std::min(std::strlen(item), N - 1));
}

const char* const* OssList() {
  static const char* const* list = CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1", "3. OBNIŻONA 2", "4. SUPER OBNIŻONA"});
  return list;
}
const char* const* CatalogueList() {
  static const char* const* list = CodeList({"1. TOWARY", "2. USŁUGI"});
  return list;
}
const char* const* GoodsOrServiceList() {
  static const char* const* list = CodeList({"1. TOWAR", "2. USŁUGA"});
  return list;
}
const char* const* ReverseChargeList() {
  static const char* const* list = CodeList({"1. NIE", "2. TAK art.17 ust.1 pkt 7", "3. TAK art.17 ust.1 pkt 8"});
  return list;
}
int ReverseChargeItem(char mark) { return mark == 'T' ? 2 : mark == '8' ? 3 : 1; }

}  // namespace

void etykiety_tekstow_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  if (!c) return;
  int year = WorkingYear();
  const char* const* rates = OssLine() ? OssList() : NAZWY_STAWEK_VAT;
  Text(c->tekst_vat, f4int(Line("VAT")), rates);
  Text(c->tekst_vat_korekty, f4int(Line("KVAT")), rates);
  Text(c->tekst_typu, Digit(Line("TYP")), ListaTypuPrzychodu());
  Text(c->tekst_ryczaltu, f4int(Line("RYT")), ListaStawekRyczaltu(year));
  Text(c->tekst_kartoteki, Digit(Line("ZRP")), CatalogueList());
  Text(c->tekst_odwrotnego, ReverseChargeItem(static_cast<char>(f4char(Line("RE3")))), ReverseChargeList());
  Text(c->tekst_odwrotnego_korekty, ReverseChargeItem(static_cast<char>(f4char(Line("RE4")))), ReverseChargeList());
  Text(c->tekst_dostawy, Digit(Line("STM")), DeliveryList(From2024()));
  Text(c->tekst_towaru, Digit(Line("AKC")), GoodsOrServiceList());
  int gtu = f4int(Line("RE5"));
  Text(c->tekst_gtu, gtu == 0 ? GTU_NONE_ITEM : gtu, ListaOznaczenGtu(year));
}
