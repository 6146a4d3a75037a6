// The defaults of a new sales line and the stock a goods line takes when it
// is added, changed or deleted. Each path moves the one quantity of
// ilosc_magazynowa_pozycji, and STA says whether the line holds stock, so
// what a line took is exactly what goes back.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/option_sets.h"
#include "app/vat_services.h"
#include "app/vat_summary.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/stock_update.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "sales/line_form.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

kontekst_pozycji* kontekstPozycji = nullptr;
double rabatDokumentu = 0;

namespace {

constexpr int FIRST_YEAR_OF_DELIVERY_TYPES = 2024;
constexpr int FIRST_YEAR_OF_RTY = 2022;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }
char Mark(DbField* field) { return static_cast<char>(f4char(field)); }
int Rejestr() { return salesContext ? salesContext->rejestr : 1; }
bool Before2024() { return WorkingYear() < FIRST_YEAR_OF_DELIVERY_TYPES; }

void SetChanged() {
  if (kontekstPozycji) kontekstPozycji->zmiana = 1;
}
int Kind() { return kontekstPozycji ? kontekstPozycji->rodzaj : f4int(Header("TYV")); }

// The catalogue code of the line as a C string, cut at the field.
void CopyField(char* out, size_t size, DbField* field) {
  size_t n = std::min(size - 1, static_cast<size_t>(f4len(field)));
  std::memcpy(out, f4ptr(field), n);
  out[n] = '\0';
}

int DomesticCode() {
  int exemption = salesOptions.list103;
  return exemption == 2 || exemption == 3 ? 4 : salesOptions.usualVatCode;
}

// A quantity that went in or out, noted on the line: 'T' only when the goods
// record was written.
int TakeStock(const char* code, const char* name, double quantity) {
  int written = 0;
  int result = aktualizuj_ilosc(code, name, quantity, 1, &written);
  f4assign_char(Line("STA"), result == 0 && written ? 'T' : 'N');
  return result;
}

int DefaultLumpSum() {
  return WorkingYear() >= FIRST_YEAR_OF_RTY ? salesOptions.usualLumpSum2022 : salesOptions.usualLumpSum;
}

}  // namespace

int domyslny_kod_vat_pozycji() {
  int delivery = Digit(Header("STM"));
  if (Before2024()) {
    switch (delivery) {
      case 1: return DomesticCode();
      case 2: return Mark(Header("TTR")) == 'T' ? 7 : 5;
      case 4: return 1;
      default: return 5;
    }
  }
  switch (delivery) {
    case 1: return DomesticCode();
    case 2: case 3: case 7: case 8: case 9: return 3;
    case 5: case 6: return 7;
    default: return 1;
  }
}

double ilosc_magazynowa_pozycji(int kind) {
  return kind == 3 || kind == 4 ? f4double(Line("ILK")) : f4double(Line("ILO"));
}

int czy_pozycja_zaliczkowa(int kind) {
  int corrected = f4int(Header("TYM"));
  if (!Before2024()) return kind == 9 || kind == 10 || (kind == 3 && (corrected == 9 || corrected == 10));
  if (Rejestr() == 1) return kind == 9 || (kind == 3 && corrected == 9);
  return kind == 9 && Digit(Header("SDR")) == 3;
}

namespace {

// Whether a line of the kind takes stock by the options of the run.
bool StockWanted(int kind, bool forChange) {
  if (salesOptions.stockOnEntry != 'T') return false;
  bool proForma = kind == 6 && salesOptions.stockOnProForma != 'T';
  if (forChange && !Before2024())
    return !proForma && !((kind == 9 || kind == 10) && salesOptions.stockOnReceiptInvoices != 'T');
  if (forChange && Rejestr() == 1 && (kind == 1 || kind == 7) && Digit(Header("AKT")) == 3)
    return !(salesOptions.stockOnProForma == 'T' && salesOptions.stockOnReceiptInvoices == 'T');
  return !proForma && !(czy_pozycja_zaliczkowa(kind) && salesOptions.stockOnReceiptInvoices != 'T');
}

}  // namespace

namespace {

// Positions the countries table on the country by its upper-case name.
bool SeekCountry(const char* country) {
  char key[64];
  std::snprintf(key, sizeof key, "%s", country);
  size_t n = std::strlen(key);
  while (n > 0 && key[n - 1] == ' ') key[--n] = '\0';
  c4upper(key);
  d4tag_select(Z5KRAJ.table, Z5KRAJ.tag[1]);
  return n > 0 && d4seek(Z5KRAJ.table, key) == 0;
}

}  // namespace

int liczba_stawek_oss(const char* country) {
  if (!SeekCountry(country)) {
    char text[80];
    std::snprintf(text, sizeof text, "Nie znaleziono kraju %s.", country);
    Uwaga(TextRef(text));
    return 0;
  }
  int count = 0;
  for (const char* name : {"VPO", "VO1", "VO2"})
    if (f4double(d4field(Z5KRAJ.table, name)) > 0) count++;
  if (f4double(d4field(Z5KRAJ.table, "VSO")) > 0) count++;
  return count;
}

double stawka_oss(const char* country, int index) {
  static const char* const RATES[] = {"VPO", "VO1", "VO2", "VSO"};
  if (index < 1 || index > 4 || !SeekCountry(country)) return 0;
  return f4double(d4field(Z5KRAJ.table, RATES[index - 1]));
}

int indeks_stawki_oss(int code, int rates) {
  int index = code == 2 ? 2 : code == 8 ? 4 : code == 9 ? 3 : 1;
  return std::min(index, std::max(rates, 1));
}

int przed_dopisaniem_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  int kind = Kind();
  f4assign_char(Line("CSS"), 'T');
  f4assign_char(Line("RE3"), 'N');
  f4assign_char(Line("RE4"), 'N');
  ToFieldCopyDouble(Line("RAS"), rabatDokumentu);
  ToFieldCopyDouble(Line("KRAS"), rabatDokumentu);
  ToFieldCopyDouble(Line("ILO"), 1);
  ToFieldCopyDouble(Line("KILO"), 1);
  ToFieldCopyField(Line("STM"), Header("STM"));
  ToFieldCopyField(Line("STV"), Header("TTR"));
  ToFieldCopyField(Line("RFK"), Header("AKT"));
  int code = c ? c->domyslny_kod_vat : domyslny_kod_vat_pozycji();
  f4assign_int(Line("VAT"), code);
  wartosciPozycji.zapamietanyKodVat = code;
  if (Digit(Header("STM")) == 4) {
    char country[31];
    CopyField(country, sizeof country, Header("KRA"));
    ToFieldCopyDouble(Line("VAS"), Z5KRAJ.table ? stawka_oss(country, 1) : 0);
  } else {
    ToFieldCopyDouble(Line("VAS"), wartosc_stawki_vat(Line("VAT")));
  }
  ToFieldCopyField(Line("KVAT"), Line("VAT"));
  ToFieldCopyField(Line("KVAS"), Line("VAS"));
  if (salesOptions.taxation != 1) {
    f4assign_int(Line("RYT"), DefaultLumpSum());
    ToFieldCopyDouble(Line("RYS"), StawkaRyczaltu(DefaultLumpSum()));
  }
  f4assign_int(Line("TYP"), 1);
  if (c) {
    c->kod_przy_otwarciu[0] = '\0';
    c->zapamietany_stm = Digit(Line("STM"));
    c->zapamietany_kod_vat_stm = code;
  }
  f4assign_int(Line("TYV"), kind);
  ToFieldCopyField(Line("REK"), Header("REC"));
  for (const char* name : {"PRE", "NRV", "POS", "DAW", "DAV", "WAL", "KVA", "KKS"})
    ToFieldCopyField(Line(name), Header(name));
  if (Mark(Header("RE4")) == 'N') ToFieldCopyField(Line("RE1"), Header("OSM"));
  wartosciPozycji.dostepnaIlosc = 0;
  if (kind != 5) f4assign_int(Line("RE5"), salesOptions.list132);
  f4assign_char(Line("AKC"), '1');
  if (c) etykiety_tekstow_pozycji();
  return 0;
}

int nadaj_numer_pozycji(int) {
  ToFieldCopyLongint(Line("REC"), d4reccount(Z5SPRE.table) + 1);
  return 0;
}

int waliduj_pozycje() {
  if (f4int(Line("RE5")) == GTU_NONE_ITEM) f4assign_int(Line("RE5"), 0);
  return 0;
}

int po_dopisaniu_pozycji() {
  SetChanged();
  DbTable* lines = Z5SPRE.table;
  int kind = Kind();
  f4assign_char(Line("STA"), 'N');
  int result = 0;
  if (StockWanted(kind, false) && Digit(Line("ZRP")) == 1) {
    char code[31], name[41];
    CopyField(code, sizeof code, Line("KOT"));
    CopyField(name, sizeof name, Line("NA1"));
    result = TakeStock(code, name, ilosc_magazynowa_pozycji(kind));
    zamknij_okno_raportu(0);
  }
  // STA must reach the disk: it is what the change and the delete give back by
  if (d4write(lines, d4recno(lines)) != 0 || d4flush(lines) != 0) return -1;
  return result < 0 ? -1 : 0;
}

int przed_modyfikacja_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  if (f4char(Line("AKC")) == ' ') {
    int catalogue = Digit(Line("ZRP"));
    f4assign_char(Line("AKC"), '0' + (catalogue > 0 ? catalogue : 1));
  }
  if (c) {
    etykiety_tekstow_pozycji();
    CopyField(c->kod_przy_otwarciu, sizeof c->kod_przy_otwarciu, Line("KOT"));
    CopyField(c->zapamietany_kod, sizeof c->zapamietany_kod, Line("KOT"));
    CopyField(c->zapamietana_nazwa, sizeof c->zapamietana_nazwa, Line("NA1"));
    c->zapamietany_rodzaj_kartoteki = Digit(Line("ZRP"));
    c->zapamietana_ilosc = ilosc_magazynowa_pozycji(c->rodzaj);
    c->zapamietany_status = Mark(Line("STA"));
    c->zapamietany_stm = Digit(Line("STM"));
    c->zapamietany_kod_vat_stm = f4int(Line("VAT"));
  }
  wartosciPozycji.dostepnaIlosc = 0;
  wartosciPozycji.pustyKod = 0;
  wartosciPozycji.zapamietanyKodVat = f4int(Line("VAT"));
  return 0;
}

int po_modyfikacji_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  if (!c) return -1;
  waliduj_pozycje();
  SetChanged();
  int kind = c->rodzaj;
  double quantity = ilosc_magazynowa_pozycji(kind);
  char wanted = StockWanted(kind, true) ? 'T' : 'N';
  char code[31];
  CopyField(code, sizeof code, Line("KOT"));
  int catalogue = Digit(Line("ZRP"));
  if (std::strcmp(code, c->zapamietany_kod) == 0 && catalogue == c->zapamietany_rodzaj_kartoteki &&
      quantity == c->zapamietana_ilosc && wanted == c->zapamietany_status)
    return 0;
  if (c->zapamietany_status == 'T' && c->zapamietany_rodzaj_kartoteki == 1) {
    int written = 0;
    if (aktualizuj_ilosc(c->zapamietany_kod, c->zapamietana_nazwa, -c->zapamietana_ilosc, 1, &written) != 0) {
      // the old quantity is still out: the change is not stored
      zamknij_okno_raportu(0);
      return -1;
    }
  }
  if (wanted == 'T' && catalogue == 1) {
    char name[41];
    CopyField(name, sizeof name, Line("NA1"));
    TakeStock(code, name, quantity);
  } else {
    f4assign_char(Line("STA"), 'N');
  }
  zamknij_okno_raportu(0);
  return 0;
}

int oddaj_ilosc_pozycji(int kind) {
  if (Mark(Line("STA")) != 'T') return 0;
  char code[31], name[41];
  CopyField(code, sizeof code, Line("KOT"));
  CopyField(name, sizeof name, Line("NA1"));
  int result = aktualizuj_ilosc(code, name, -ilosc_magazynowa_pozycji(kind), 1);
  zamknij_okno_raportu(0);
  // refused: the line stays, quietly (the stock update said why)
  return result != 0 ? 1 : 0;
}

int przed_usunieciem_pozycji() { return oddaj_ilosc_pozycji(Kind()); }
