#include <algorithm>
#include <cstring>
#include <list>
#include <map>
#include <string>
#include <vector>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "app/sales_options.h"
#include "app/settlement.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "finance/transfers.h"
#include "jpk/jpk_fa_export.h"
#include "jpk/vat_oss.h"
#include "print/tabulogram.h"
#include "printouts/invoice_print.h"
#include "printouts/payment_demand.h"
#include "printouts/sales_summary.h"
#include "printouts/turnover_summaries.h"
#include "sales/batch_copy.h"
#include "sales/buyer.h"
#include "sales/currency_view.h"
#include "sales/document_copies.h"
#include "sales/document_header.h"
#include "sales/final_invoices.h"
#include "sales/header_form.h"
#include "sales/payments.h"
#include "sales/register_actions.h"
#include "sales/register_filters.h"
#include "sales/register_search.h"
#include "sales/sales_context.h"
#include "sales/sales_exchange.h"
#include "sales/sales_register.h"
#include "sales/vat_register.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "ui/browse.h"
#include "ui/menu.h"
#include "ui/window4.h"

definicja_rejestru_sprzedazy* definicjaRejestru = nullptr;

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int FIRST_CASH_PIT_YEAR = 2025;
enum Menu { MENU_BAR, MENU_SEARCH, MENU_MODIFY, MENU_PRINT, MENU_BUYER, MENU_OTHER };

// " VAT-OSS ": the register over its own table and the own firm's data.
int32_t RegisterVatOss() {
  if (OpenZ5VOSS(0) == 0) {
    if (OpenZ5PAWL() == 0) {
      ewidencja_vat_oss(0);
      d4close(Z5PAWL.table);
    }
    d4close(Z5VOSS.table);
  }
  browse_call(0, d4recno(Z5SPRZ.table));
  return 0;
}

// " Dokument " and " Duplikat " of the print menu.
int32_t PrintDocument(int32_t duplicate) {
  drukuj_dokument_z_rejestru(duplicate);
  return 0;
}

// " Suma " and the items of the Szukaj menu, by their values.
int32_t Search(int32_t kind) { return szukaj_w_rejestrze(static_cast<unsigned>(kind)); }

// The handle's own slot of a field: browse columns and panel entries keep
// pointers to it.
DbField** BoundField(TableHandles& set, const char* name) {
  DbField* field = d4field(set.table, name);
  for (DbField*& bound : set.field)
    if (bound == field) return &bound;
  return nullptr;
}
DbField** HeaderField(const char* name) { return BoundField(Z5SPRZ, name); }
DbField** LineField(const char* name) { return BoundField(Z5SPRE, name); }

void Item(const char* text, int rights, int key, int value, MenuAction action, int32_t* submenu = nullptr) {
  MenuDefineItem(Sys(text), rights, key, value, action, submenu);
}


void BuildMenus(definicja_rejestru_sprzedazy& d, int rejestr, bool from2024) {
  int32_t* m = d.menus;
  m[MENU_BAR] = DefineMainMenuWindow();
  Item(" Dopisz ", 1110, 'd', 0, [](int32_t) -> int32_t { return dopisz_lub_modyfikuj_opis(0); });
  if (rejestr == 1) Item(" Dodaj ", 1111, 'o', 0, [](int32_t) -> int32_t { return dodaj_fakture_koncowa(); });
  Item(" Drukuj ", 1120, 'r', -1, nullptr, &m[MENU_PRINT]);
  Item(" Modyfikuj ", 1140, 'm', -1, nullptr, &m[MENU_MODIFY]);
  Item(" Szukaj ", 1150, 's', -1, nullptr, &m[MENU_SEARCH]);
  Item(" Filtry ", 1160, 'f', 0, [](int32_t) -> int32_t { return filtry_rejestru(); });
  Item(" Suma ", 1170, 'a', 0, [](int32_t) -> int32_t { return suma_rejestru_sprzedazy(); });
  Item(" Przelew ", 1175, 'p', 0, PrzelewDokumentuSprzedazy);
  Item(" Opcje ", 1905, 'o' | 0x80, 0, SalesOptionsAction);
  Item(" Menu ", 1180, 'e', -1, nullptr, &m[MENU_OTHER]);

  m[MENU_SEARCH] = DefineMenuWindow();
  Item(" Data ", 1151, 'd', 1, Search);
  Item(" Nabywca ", 1152, 'b', -1, nullptr, &m[MENU_BUYER]);
  Item(" Numer ", 1155, 'n', 3, Search);
  Item(" Numer niestandardowy ", 1155, 'r', 6, Search);

  m[MENU_MODIFY] = DefineMenuWindow();
  Item(" Opis ", 1141, 'o', 1, [](int32_t) -> int32_t { return dopisz_lub_modyfikuj_opis(1); });
  Item(" Pozycje ", 1142, 'p', 0,
       [](int32_t) -> int32_t { return modyfikuj_pozycje_dokumentu(salesContext->rejestr); });
  Item(" Numer ", 1143, 'n', -1, [](int32_t) -> int32_t { return zmien_numer_dokumentu(-1); });
  Item(" Usuń ", 1144, 'u', 1, [](int32_t) -> int32_t { return usun_dokument(); });
  Item(" Płatność ", 1145, 't', 0, [](int32_t) -> int32_t { return kasa_dokumentu(); });
  if (!from2024) Item(" Faktura do Proformy ", 1146, 'f', 0, [](int32_t) -> int32_t { return faktura_do_proformy(); });
  Item(" Koryguj ", 1147, 'k', 1, [](int32_t) -> int32_t { return kopiuj_lub_koryguj_dokument(1); });

  m[MENU_PRINT] = DefineMenuWindow();
  Item(" Dokument ", 1121, 'd', 0, PrintDocument);
  Item(" Duplikat ", 1125, 'u', 1, PrintDocument);
  Item(" Tabulogram ", 1122, 't', 0, [](int32_t) -> int32_t { return tabulogram_rejestru(); });
  Item(" Wezwanie ", 1123, 'w', 0, [](int32_t) -> int32_t { return wezwanie_do_zaplaty(0); });
  Item(" KP ", 1124, 'k', 0, [](int32_t) -> int32_t { return wplata_kp_dokumentu(); });
  if (rejestr == 1) Item(" WZ ", 1126, 'z', 0, [](int32_t) -> int32_t { return wydruk_wz(); });

  m[MENU_BUYER] = DefineMenuWindow();
  Item(" Porządek ", 1153, 'p', 2, Search);
  Item(" Wzorzec ", 1154, 'w', 4, Search);
  Item(" NIP ", 1154, 'n', 5, Search);

  m[MENU_OTHER] = DefineMenuWindow();
  Item(" Ewidencja ", 1200, 'e', 0, [](int32_t) -> int32_t { return ewidencja_sprzedazy(); });
  Item(" Obroty ", 1181, 'o', 0, [](int32_t) -> int32_t { return obroty_z_rejestru(); });
  Item(" Export ", 1182, 'x', 0, [](int32_t) -> int32_t { return eksport_sprzedazy(); });
  Item(" Import ", 1183, 'i', 0, [](int32_t) -> int32_t { return import_sprzedazy(); });
  Item(" Kontrahent ", 1184, 'k', 2, [](int32_t) -> int32_t { return dopisz_kontrahenta_z_dokumentu(); });
  Item(" Kopiuj ", 1185, 'p', 0, [](int32_t) -> int32_t { return kopiuj_dokumenty_sprzedazy(); });
  Item(" VAT-OSS ", 1187, 'v', 0, [](int32_t) -> int32_t { return RegisterVatOss(); });
  Item(" JPK_FA eksport ", 1186, 'j' | 0x80, 0, [](int32_t) -> int32_t {
    eksport_jpk_fa(salesContext->rejestr);
    return 0;
  });
  w4select(m[MENU_BAR]);
}

void BuildColumns(definicja_rejestru_sprzedazy& d) {
  bool marks = salesOptions.procedureMarks == 'T';
  ResetScrollDefinition(d.columns, sizeof d.columns);
  DefineScrollColumn(HeaderField("TYV"), 0, "TYP")->valueRoutine = kolumna_typu;
  DefineScrollColumn(HeaderField("NRV"), 0, "numer")->valueRoutine = kolumna_numeru;
  DefineScrollColumn(HeaderField("DAW"), 0, "data wyst");
  DefineScrollColumn(HeaderField("DAV"), 0, "data VAT");
  DefineScrollColumn(HeaderField("KSM"), 0, "ozn")->valueRoutine = kolumna_oznaczenia;
  if (marks) {
    DefineScrollColumn(HeaderField("NKV"), 0, "procedury")->valueRoutine = kolumna_oznaczen;
    DefineScrollColumn(HeaderField("NKK"), 0, "GTU")->valueRoutine = kolumna_oznaczen;
  }
  DefineScrollColumn(HeaderField("NA1"), 0, "nazwa")->width = 6;

  ResetScrollDefinition(d.lineColumns, sizeof d.lineColumns);
  DefineScrollColumn(LineField("NA1"), 0, "nazwa")->width = 26;
  DefineScrollColumn(LineField("ILO"), 0, Sys("ilość"));
  DefineScrollColumn(LineField("CNR"), 0, "cena")->valueRoutine = kolumna_ceny_pozycji;
  DefineScrollColumn(LineField("WNE"), 0, "netto")->valueRoutine = kolumna_netto_pozycji;
  DefineScrollColumn(LineField("WAB"), 0, "brutto");

  ResetTabuDefinition(d.tabulogram, sizeof d.tabulogram);
  struct Tabu {
    const char* heading1;
    const char* heading2;
    const char* field;
    int group;
    TabuValueRoutine value;   // a computed column: the field only gives its width
  };
  const Tabu tabu[] = {
      {"numer", "dokumentu", "OSM", 1, tabulogram_numer},
      {"data wyst", "", "DAW", 2, nullptr},
      {"data VAT", "", "DAV", 2, nullptr},
      {"NIP", "", "NIP", 3, nullptr},
      {"kod", "", "KNA", 3, nullptr},
      {"nazwa", "", "NA1", 4, nullptr},
      {"nazwa cd", "", "NA2", 4, nullptr},
      {"miasto", "", "MIA", 5, nullptr},
      {"ulica", "", "ULI", 5, nullptr},
      {"wartość", "netto", "NET", 6, tabulogram_kwota},
      {"", "VAT", "VAT", 6, tabulogram_kwota},
      {"", "brutto", "BRU", 7, tabulogram_kwota},
      {"korekta", "netto", "KRN", 8, tabulogram_kwota},
      {"", "VAT", "KRV", 8, tabulogram_kwota},
      {"", "brutto", "KRN", 9, tabulogram_korekta_brutto},
      {"data płat", "", "DPL", 10, nullptr},
      {"kwota zapł.", "", "KZA", 10, tabulogram_kwota},
      {"czy zapł. ?", "", "ZAP", 11, nullptr},
      {"brutto", "-kwota zapł.", "BRU", 12, tabulogram_do_zaplaty},
      {"sposób", "zapłaty", "OZA", 12, nullptr},
  };
  for (const Tabu& t : tabu) {
    TabuColumn* column = DefineTabuColumn(Sys(t.heading1), Sys(t.heading2), HeaderField(t.field), 0, t.group);
    if (column) column->valueRoutine = t.value;
  }
  if (marks) {
    DefineTabuColumn("procedury", "", HeaderField("NKV"), 0, 13)->valueRoutine = tabulogram_procedury;
    DefineTabuColumn("GTU", "", HeaderField("NKK"), 0, 13)->valueRoutine = tabulogram_gtu;
  }
}

// A text field cut at the panel's right edge instead of running over it.
void ClippedText(TextCtrl* entry) {
  DbField* field = *entry->field;
  int room = w4width() - entry->col;
  if (room > 0) w4num(entry->row, entry->col, f4ptr(field), std::min(static_cast<int>(f4len(field)), room));
}

void Panel(definicja_rejestru_sprzedazy& d, int rejestr, bool from2024) {
  ResetTextCtrlDefinition(d.panel, sizeof d.panel);
  struct At {
    int row, col;
    const char* field;
  };
  const At plain[] = {
      {1, 17, "KNA"}, {1, 60, "NIP"}, {2, 8, "NA1"},  {3, 8, "NA2"},  {4, 17, "KOP"},  {4, 24, "MIA"},
      {4, 50, "KRA"}, {5, 9, "ULI"},  {6, 69, "DAS"}, {7, 17, "PLA"}, {7, 69, "DPL"},  {8, 9, "UW1"},
      {9, 17, "ZAP"}, {9, 66, "KZA"}, {10, 17, "OZA"}, {12, 17, "NET"}, {13, 17, "VAT"}, {13, 1, "WAL"},
      {14, 17, "BRU"}, {15, 17, "KRN"}, {16, 17, "KRV"}, {14, 56, "DZA"}, {14, 71, "LPO"}, {15, 52, "NWZ"},
      {15, 69, "DWZ"}, {16, 40, "TYM"}, {16, 46, "NUK"}, {16, 69, "DAK"},
  };
  const std::map<std::string, void (*)(TextCtrl*)> shownByView = {
      {"NET", panel_kwota}, {"VAT", panel_kwota}, {"BRU", panel_kwota}, {"KRN", panel_kwota},
      {"KRV", panel_kwota}, {"WAL", panel_waluta}, {"KRA", panel_kraj}, {"TYM", panel_rodzaj_powiazany},
      {"NWZ", panel_numer_wz},
  };
  for (const At& a : plain) {
    TextCtrl* entry = DefineTextCtrl(a.row - 1, a.col - 1, HeaderField(a.field), 0);
    if (!entry) continue;
    auto shown = shownByView.find(a.field);
    if (shown != shownByView.end())
      entry->drawRoutine = shown->second;
    else if (f4type(*entry->field) == 'C')
      entry->drawRoutine = ClippedText;
  }
  DefineTextCtrl(5, 16, HeaderField("STM"), 0)->codeTexts = DeliveryList(from2024);
  DefineTextCtrl(11, 55, HeaderField("TRY"), 0)->codeTexts = CodeList({"1. NETTO", "2. BRUTTO"});
  DefineTextCtrl(12, 55, HeaderField("TRK"), 0)->codeTexts =
      CodeList({"1. KSIĘGI PODATKOWEJ", "2. EWIDENCJI RYCZAŁTU"});
  if (from2024 && rejestr == 2) {
    DefineTextCtrl(16, 20, HeaderField("KON"), 0)->codeTexts =
        CodeList({"1. KOŃCOWA", "2. ZBIORCZA", "3. KOŃCOWA paragon"});
    DefineTextCtrl(16, 39, HeaderField("NKZ"), 0);
    DefineTextCtrl(16, 68, HeaderField("DAZ"), 0);
  } else if (from2024) {
    DefineTextCtrl(16, 21, HeaderField("AKT"), 0)->codeTexts =
        CodeList({"1. FAKTURY ZALICZKOWE", "2. FAKTURY PRO FORMA", "3. FAKTURY ZALICZKOWE do paragonu"});
  }
}

}  // namespace

int buduj_definicje_rejestru(definicja_rejestru_sprzedazy** out, int rejestr) {
  auto* d = static_cast<definicja_rejestru_sprzedazy*>(take_mem(sizeof(definicja_rejestru_sprzedazy)));
  *out = d;
  if (!d) return -1;
  for (int32_t& menu : d->menus) menu = -1;
  int year = WorkingYear();
  bool from2024 = year >= FIRST_YEAR_2024;
  d->currencyView = 2;
  d->lastDelivery = 1;
  d->cashPitShown = year >= FIRST_CASH_PIT_YEAR && salesOptions.cashPit == 'T';
  BuildMenus(*d, rejestr, from2024);
  BuildColumns(*d);
  Panel(*d, rejestr, from2024);
  definicjaRejestru = d;
  buduj_formularze_naglowka(rejestr);
  return 0;
}

void zwolnij_definicje_rejestru(definicja_rejestru_sprzedazy** definition) {
  definicja_rejestru_sprzedazy* d = *definition;
  if (!d) return;
  for (int i = REGISTER_MENUS - 1; i >= 0; i--)
    if (d->menus[i] >= 0) w4close(d->menus[i]);
  free_mem(definition);
}
