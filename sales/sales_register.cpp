#include <cstdio>
#include <cstring>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "masterdata/address_clipboard.h"
#include "sales/currency_view.h"
#include "sales/document_header.h"
#include "sales/header_form.h"
#include "sales/interrupted_entry.h"
#include "sales/sales_context.h"
#include "sales/register_filters.h"
#include "sales/sales_register.h"
#include "sales/vat_summary_entry.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_MAIN_TITLE = 37, MSG_AUX_TITLE = 38;   // "Dokumenty sprzedaży" / "... pomocniczej"
constexpr int TITLE_MAX = 90;
constexpr int PANEL_ROWS = 16, PANEL_ROWS_2024 = 17;
constexpr int16_t RES_PANEL = 178;
constexpr int LINES_TAG = 3;   // STR(REK,7,0)+STR(RECNO(),7,0)

char title[TITLE_MAX + 1];

void HelpLine() {
  add_help_line();
  set_fun_help("F2", Utf8ToMazText("Podgląd").c_str(), 2);
  set_fun_help("F3", "Pozycje", 3);
  podpowiedz_widoku_waluty(VIEW_OWN_CURRENCY, CURRENCY_VIEW_HINT);
  set_fun_help("Ctrl+K", "Kasa", 5);
  set_fun_help("Alt+F1", Utf8ToMazText("Skróty klaw.").c_str(), 6);
  set_fun_help("Ctrl+V", "Data VAT", 7);
  set_fun_help("Ctrl+C", "Kopia", 8);
  set_fun_help("Ctrl+P", Utf8ToMazText("Płatność").c_str(), 9);
  set_fun_help("Ctrl+O", "Odbiorca", 10);
  set_fun_help("F8", "weryfikuj NIP", 11);
  if (salesOptions.procedureMarks == 'T') {
    set_fun_help("Alt+O/F3", "Oznaczenia", 12);
    set_fun_help("Alt+P/F4", "Procedury", 13);
  }
  if (mainOptions.onlineNipCheck == 'T') set_fun_help("Alt+F8", Utf8ToMazText("Sprawdź NIP-y").c_str(), 14);
}

// The auxiliary register moves no stock unless option 58 says it may.
void AuxiliaryStockOptions(int rejestr) {
  if (rejestr != 2 || salesOptions.stockRulesForAuxiliary != 'N') return;
  salesOptions.stockOnEntry = salesOptions.stockOnReceiptInvoices = 'N';
  salesOptions.stockOnImport = salesOptions.stockOnProForma = 'N';
}

void Settings(BrowseContext* c, definicja_rejestru_sprzedazy& d, int rejestr) {
  std::snprintf(title, sizeof title, "%s %d", EnvFindString(rejestr == 1 ? MSG_MAIN_TITLE : MSG_AUX_TITLE),
                WorkingYear());
  c->title = title;
  c->print_title = title;
  c->print_columns = d.tabulogram;
  c->record_texts = d.panel;
  c->record_lines_source = []() -> int16_t { return RES_PANEL; };
  c->record_height = WorkingYear() >= 2024 ? PANEL_ROWS_2024 : PANEL_ROWS;
  c->record_lines_count = c->record_height;
  c->key_hook = klawisze_rejestru_sprzedazy;
  c->stamp_field = d4field(Z5SPRZ.table, "INF");
  c->rel_table = Z5SPRE.table;
  c->rel_tag = Z5SPRE.tag[LINES_TAG];
  c->rel_key_field = d4field(Z5SPRZ.table, "REC");
  c->rel_link_field = d4field(Z5SPRE.table, "REK");
  c->rel_columns = d.lineColumns;
  c->append_fn = zapisz_dokument;
  c->before_new = przygotuj_nowy_dokument;
  c->before_write = przed_dopisaniem_naglowka;
  c->on_cancel = anuluj_nowy_dokument;
  c->after_append = po_zapisaniu_dokumentu;
  c->modify_hooks[MODIFY_BEFORE] = przygotuj_modyfikacje;
  c->modify_hooks[MODIFY_SAVE] = po_modyfikacji_dokumentu;
  c->modify_hooks[MODIFY_AFTER] = po_modyfikacji_ksiegowanie;
  c->before_delete = przed_usunieciem_dokumentu;
  c->after_show_edit = etykiety_formularza_naglowka;
}

// The header fields the name/address clipboard copies from and pastes into.
void ClipboardFields() {
  auto f = [](const char* name) { return d4field(Z5SPRZ.table, name); };
  pola_schowka_adresu = PolaSchowkaAdresu{f("KNA"), f("NA1"), f("NA2"), f("KOP"), f("MIA"), f("ULI"), f("NIP"),
                                          f("RE3"), f("PLA"), f("OP1"), f("OP2"), f("ODE"), f("KRA"), f("UPU"),
                                          nullptr};
}

}  // namespace

int rejestr_sprzedazy(int rejestr) {
  int window = w4select(-1);
  ClipboardFields();
  definicja_rejestru_sprzedazy* definition = nullptr;
  if (buduj_definicje_rejestru(&definition, rejestr) != 0) {
    zwolnij_definicje_rejestru(&definition);
    w4select(window);
    return -1;
  }
  definicjaRejestru = definition;
  auto* context = static_cast<kontekst_sprzedazy*>(take_mem(sizeof(kontekst_sprzedazy)));
  auto* summary = static_cast<podsumowanie_vat_dokumentu*>(take_mem(sizeof(podsumowanie_vat_dokumentu)));
  int result = -1;
  if (context && summary) {
    podsumowanieVat = summary;
    context->rejestr = rejestr;
    std::memcpy(context->workingDate, get_cur_das(0), 8);
    salesContext = context;
    BrowseContext* browse = nullptr;
    if (allocate_browse(&browse, Z5SPRZ.table, d4tag_selected(Z5SPRZ.table), definition->columns,
                        definition->menus[0]) == 0) {
      AuxiliaryStockOptions(rejestr);
      Settings(browse, *definition, rejestr);
      RemoveInterruptedEntries();
      if (WorkingYear() >= 2024)
        definiuj_filtry_rejestru_2024(rejestr);
      else
        definiuj_filtry_rejestru(rejestr);
      browse->filter_fn = FilterFunction;
      browse->filter_data = reinterpret_cast<intptr_t>(&context->filtry);
      if (alloc_schowek_adresu() == 0) {
        HelpLine();
        result = zrob_browse(browse->record_height, 0, 0);
        remove_help_line();
        free_schowek_adresu();
      }
      free_browse(&browse);
    }
    FreeFilters(&context->filtry);
    salesContext = nullptr;
    podsumowanieVat = nullptr;
  }
  free_mem(&summary);
  free_mem(&context);
  definicjaRejestru = nullptr;
  zwolnij_definicje_rejestru(&definition);
  w4select(window);
  return result;
}
