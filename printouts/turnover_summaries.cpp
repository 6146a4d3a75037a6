#include "printouts/turnover_summaries.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_seeks.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "sales/currency_view.h"
#include "sales/document_totals.h"
#include "sales/register_filters.h"
#include "sales/sales_context.h"
#include "sales/vat_register.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int TITLE_SIZE = 128, HEADING_SIZE = 228;
constexpr int CONTRACTORS_BY_CODE = 1, SUPPLIER = 1;

DbField* LineField(const char* name) { return d4field(Z5SPRE.table, name); }
DbField* HeaderField(const char* name) { return d4field(Z5SPRZ.table, name); }

// The handle's own slot of a field: the browse's columns keep pointers to it.
DbField** Slot(TableHandles& set, const char* name) {
  DbField* field = d4field(set.table, name);
  for (DbField*& bound : set.field)
    if (bound == field) return &bound;
  return nullptr;
}

std::string Text(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The accumulator fields of a catalogue summary.
struct Katalog {
  TableHandles* table;
  int origin;                         // ZRP of the lines taken
  const char *quantity, *net, *gross;
  bool reportMissing;                 // a code not found is shown
};

// The line's code at its full width on the temporary table's code tag.
int SeekCode(const Katalog& k, const std::string& code) {
  if (k.table == &TowaTmp) return SeekTowarTmpByKod(code.c_str());
  d4tag_select(k.table->table, k.table->tag[0]);
  return d4seek_n(k.table->table, code.c_str(), static_cast<int>(code.size()));
}

int SumCatalogue(const Katalog& k, DbScanCtx* scan, int mode, int proForma) {
  DbTable* t = k.table->table;
  int r;
  for (r = x4top(scan); r == 0; r = x4skip(scan, 1)) {
    if (f4int(LineField("ZRP")) != k.origin) continue;
    DbField* kot = LineField("KOT");
    std::string code = Text(kot);
    if (code.empty() || SeekCode(k, std::string(f4ptr(kot), f4len(kot))) != 0) {
      if (k.reportMissing && !code.empty()) MessageWindow(MB_WARNING, Sys("Brak towaru w spisie !"), code.c_str());
      continue;
    }
    double factor = kurs_widoku(mode, LineField("KVA"), LineField("KKS"));
    int kind = f4int(LineField("TYV"));
    if (kind == 1 || kind == 2 || kind == 5 || kind == 7 || kind == 8 || (kind == 6 && proForma)) {
      FldAddDouble(d4field(t, k.net), ROUND(f4double(LineField("WNE")) * factor, 2));
      FldAddDouble(d4field(t, k.gross), ROUND(f4double(LineField("WAB")) * factor, 2));
      FldAddDouble(d4field(t, k.quantity), f4double(LineField("ILO")));
    } else if (kind == 3 || kind == 4) {
      double net = f4double(LineField("KRN"));
      FldAddDouble(d4field(t, k.net), ROUND(net * factor, 2));
      FldAddDouble(d4field(t, k.gross), ROUND((f4double(LineField("KRV")) + net) * factor, 2));
      FldAddDouble(d4field(t, k.quantity), f4double(LineField("ILK")));
    }
    if (d4write(t, d4recno(t)) != 0) return -1;
  }
  return r < 0 ? -1 : 0;
}

// The state of the shown browse.
struct Widok {
  double threshold;
  int thresholdOn;
  const char* thresholdField;         // NULL: no threshold test
  bool hideSuppliers;
  TableHandles* table;
};
Widok view;

int RecordFilter(intptr_t) {
  DbTable* t = view.table->table;
  if (view.hideSuppliers && f4int(d4field(t, "TYP")) == SUPPLIER) return X4_REJECT;
  if (view.thresholdOn && f4double(d4field(t, view.thresholdField)) <= view.threshold) return X4_REJECT;
  return X4_ACCEPT;
}

const char* thresholdPrompt;

int32_t ThresholdAction(int32_t) {
  PodajKwote(&view.threshold, &view.thresholdOn, Sys(thresholdPrompt));
  BrowseDispFilterState(view.thresholdOn);
  return browse_call(0, 0) < 0 ? -1 : 0;
}

struct Column {
  const char* header;
  const char* field;
  int width;          // 0: the field's
};
struct TabuEntry {
  const char* heading1;
  const char* heading2;
  const char* field;
  int group;
};

// The browse of a summary over `table` in code order; the definitions live
// for the run.
void ShowSummary(TableHandles& table, DbTag* tag, const char* name, int mode, const char* heading,
                 std::initializer_list<Column> columns, std::initializer_list<TabuEntry> tabu, int menuRights) {
  int window = w4select(-1);
  view.threshold = 0;
  view.thresholdOn = 0;
  view.table = &table;
  ScrollColumn scroll[8];
  TabuColumn printed[12];
  char title[TITLE_SIZE], printTitle[HEADING_SIZE];
  int32_t menu = DefineMainMenuWindow();
  MenuDefineItem(" Drukuj ", menuRights, 'd', 0, [](int32_t) -> int32_t { return browse_drukuj(); }, nullptr);
  MenuDefineItem(" Filtry ", menuRights + 1, 'f', 0, ThresholdAction, nullptr);
  ResetScrollDefinition(scroll, sizeof scroll);
  for (const Column& c : columns) {
    ScrollColumn* column = DefineScrollColumn(Slot(table, c.field), 0, Sys(c.header));
    if (column && c.width) column->width = static_cast<int8_t>(c.width);
  }
  ResetTabuDefinition(printed, sizeof printed);
  for (const TabuEntry& t : tabu) DefineTabuColumn(Sys(t.heading1), Sys(t.heading2), Slot(table, t.field), 0, t.group);
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, table.table, tag, scroll, menu) == 0) {
    std::snprintf(title, sizeof title, "%s w %s", name, nazwa_widoku_waluty(mode, salesContext && salesContext->filtrWaluty && salesContext->filtrWaluty->text ? salesContext->filtrWaluty->text : ""));
    std::snprintf(printTitle, sizeof printTitle, "%s", heading);
    browse->title = title;
    browse->print_title = title;
    browse->print_subtitle = printTitle;
    browse->print_columns = printed;
    browse->filter_fn = RecordFilter;
    x4init(&browse->scan, table.table, RecordFilter, 0);
    zrob_browse(-1, -1, 0);
    free_browse(&browse);
  }
  w4close(menu);
  w4select(window);
}

// Copies every catalogue record, in code order, into the temporary table
// with its sums cleared; 0 or -1.
int CopyCatalogue(TableHandles& from, TableHandles& to, std::initializer_list<const char*> cleared) {
  DbTable* source = from.table;
  DbTable* copy = to.table;
  for (int r = d4top(source); r == 0; r = d4skip(source, 1)) {
    if (d4append_start(copy, 0) != 0) return -1;
    std::memcpy(d4record(copy), d4record(source), d4record_width(source));
    for (const char* field : cleared) f4assign_double(d4field(copy, field), 0);
    if (d4append(copy) != 0) return -1;
  }
  return 0;
}

}  // namespace

int sumuj_towary(DbScanCtx* scan, int mode, int proForma) {
  return SumCatalogue({&TowaTmp, 1, "ILO", "WSN", "WSB", true}, scan, mode, proForma);
}

int sumuj_uslugi(DbScanCtx* scan, int mode, int proForma) {
  return SumCatalogue({&UslugaTmp, 2, "ILO", "CSN", "CSB", false}, scan, mode, proForma);
}

int zeruj_obroty_kontrahentow() {
  DbTable* t = Z5KHNT.table;
  d4tag_select(t, Z5KHNT.tag[CONTRACTORS_BY_CODE]);
  for (int r = d4top(t); r == 0; r = d4skip(t, 1)) {
    for (const char* field : {"NET", "VAT", "BRU"}) f4assign_double(d4field(t, field), 0);
    if (d4write(t, d4recno(t)) != 0) return -1;
  }
  return 0;
}

int sumuj_obroty_kontrahentow(DbScanCtx* scan, int mode) {
  DbTable* t = Z5KHNT.table;
  int r;
  for (r = x4top(scan); r == 0; r = x4skip(scan, 1)) {
    std::string code = Text(HeaderField("KNA"));
    if (code.empty()) continue;
    if (SeekKontrahentByKod(code.c_str()) != 0) {
      MessageWindow(MB_WARNING, Sys("Brak kontrahenta w kartotece !"), code.c_str());
      continue;
    }
    int kind = f4int(HeaderField("TYV"));
    double net = 0, vat = 0, gross = 0;
    if (kind == 1 || kind == 2 || kind == 5 || kind == 7 || kind == 8 || kind == 9) {
      net = f4double(HeaderField("NET"));
      vat = f4double(HeaderField("VAT"));
      gross = f4double(HeaderField("BRU"));
    } else if (kind == 3 || kind == 4) {
      net = f4double(HeaderField("KRN"));
      vat = f4double(HeaderField("KRV"));
      gross = net + vat;
    }
    double factor = kurs_widoku(mode, HeaderField("KVA"), HeaderField("KKS"));
    FldAddDouble(d4field(t, "NET"), ROUND(net * factor, 2));
    FldAddDouble(d4field(t, "VAT"), ROUND(vat * factor, 2));
    FldAddDouble(d4field(t, "BRU"), ROUND(gross * factor, 2));
    if (d4write(t, d4recno(t)) != 0) return -1;
  }
  return r < 0 ? -1 : 0;
}

namespace {

// The goods or services summary of the VAT register's lines.
int CatalogueSummary(DbTable* lines, int rejestr, bool services) {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c || !CurrentBrowse) return 0;
  TableHandles& catalogue = services ? Z5USLU : Z5TOWA;
  TableHandles& copy = services ? UslugaTmp : TowaTmp;
  bool opened = catalogue.table == nullptr;
  if (opened && (services ? OpenZ5USLU(0) : OpenZ5TOWA(0)) != 0) return 0;
  bool created = (services ? NameUslugaTmp() : NameTowaTmp()) == 0 && (services ? CreateUslugaTmp() : CreateTowaTmp()) == 0;
  int result = -1;
  bool locked = created && set_lock(lines, -1) == 0 && set_lock(catalogue.table, -1) == 0;
  if (locked) {
    d4tag_select(catalogue.table, catalogue.tag[0]);
    FilterItem* proForma = c->elementy[FE_PF];
    int withProForma = proForma && proForma->active && !c->filtry.off ? 1 : 0;
    if (services) {
      if (CopyCatalogue(catalogue, copy, {"ILO", "CSN", "CSB"}) == 0)
        result = sumuj_uslugi(&CurrentBrowse->scan, c->tryb_przeliczenia, withProForma);
    } else if (CopyCatalogue(catalogue, copy, {"ILO", "WSN", "WSB"}) == 0) {
      result = sumuj_towary(&CurrentBrowse->scan, c->tryb_przeliczenia, withProForma);
    }
  }
  d4unlock(catalogue.table);
  d4unlock(lines);
  // A summation cut short is not shown as a whole one.
  if (locked && result != 0) Uwaga(Sys("Błąd dokumentów !"));
  if (result == 0) {
    char heading[HEADING_SIZE] = {};
    opis_stanu_filtrow(&c->filtry, heading, sizeof heading, 1, 0);
    FilterItem* currency = c->elementy[FE_WALUTA];
    const char* code = currency && currency->text ? currency->text : "";
    dopisz_opis_widoku_waluty(heading, sizeof heading, c->tryb_przeliczenia, code);
    view.hideSuppliers = false;
    if (services) {
      view.thresholdField = "CSN";
      thresholdPrompt = "Na obrót powyżej -";
      ShowSummary(copy, copy.tag[0],
                  Sys(rejestr == 1 ? "Obrót wartościowy usług w sprzedaży" : "Obrót wartościowy usług w sprzedaży pomocniczej"),
                  c->tryb_przeliczenia, heading,
                  {{"kod", "KOD", 0}, {"nazwa", "NA1", 20}, {"ilość", "ILO", 0}, {"netto", "CSN", 0}, {"brutto", "CSB", 0}},
                  {{"kod", "pozycji", "KOD", 1}, {"nazwa", "pozycji", "NA1", 2}, {"", "", "NA2", 2}, {"", "", "NA3", 2},
                   {"", "", "NA4", 2}, {"", "", "NA5", 2}, {"", "", "NA6", 2}, {"ilość", "pozycji", "ILO", 3},
                   {"wartość", "netto", "CSN", 4}, {"wartość", "brutto", "CSB", 5}},
                  1295);
    } else {
      view.thresholdField = "ILO";
      thresholdPrompt = "Na ilość powyżej -";
      ShowSummary(copy, copy.tag[0],
                  Sys(rejestr == 1 ? "Obrót ilościowy towarów w sprzedaży" : "Obrót ilościowy towarów w sprzedaży pomocniczej"),
                  c->tryb_przeliczenia, heading,
                  {{"kod", "KOD", 0}, {"nazwa", "NA1", 22}, {"ilość", "ILO", 0}, {"netto", "WSN", 0}, {"brutto", "WSB", 0}},
                  {{"kod", "towaru", "KOD", 1}, {"nazwa towaru", "", "NA1", 2}, {"", "", "NA2", 2}, {"", "", "NA3", 2},
                   {"", "", "NA4", 2}, {"", "", "NA5", 2}, {"", "", "NA6", 2}, {"ilość", "towaru", "ILO", 3},
                   {"wartość", "netto", "WSN", 4}, {"wartość", "brutto", "WSB", 5}},
                  1295);
    }
  }
  if (copy.table) d4close(copy.table);
  copy.table = nullptr;
  if (services)
    RemoveUslugaTmp();
  else
    RemoveTowaTmp();
  if (opened) {
    d4close(catalogue.table);
    catalogue.table = nullptr;
  }
  return 0;
}

}  // namespace

int zestawienie_towarow(DbTable* lines, int, int rejestr) { return CatalogueSummary(lines, rejestr, false); }
int zestawienie_uslug(DbTable* lines, int, int rejestr) { return CatalogueSummary(lines, rejestr, true); }

int obrot_kontrahentow(DbTable* headers, int, int rejestr, FilterSet* filters, FilterItem* currency) {
  bool opened = Z5KHNT.table == nullptr;
  if (!CurrentBrowse || (opened && OpenZ5KHNT(0) != 0)) return 0;
  int result = -1;
  int mode = 0;
  bool left = false;
  bool locked = set_lock(headers, -1) == 0 && set_lock(Z5KHNT.table, -1) == 0;
  if (locked && zeruj_obroty_kontrahentow() == 0) {
    left = wybierz_przeliczenie_walut(&mode, czy_raport_w_walucie(currency)) != 0;
    result = left ? 0 : sumuj_obroty_kontrahentow(&CurrentBrowse->scan, mode);
  }
  d4unlock(Z5KHNT.table);
  d4unlock(headers);
  if (locked && result != 0) Uwaga(Sys("Błąd dokumentów !"));
  if (result == 0 && !left) {
    char heading[HEADING_SIZE] = {};
    MakeFilterStatusString(filters, heading);
    dopisz_opis_widoku_waluty(heading, sizeof heading, mode, currency && currency->text ? currency->text : "");
    view.hideSuppliers = true;
    view.thresholdField = "NET";
    thresholdPrompt = "Na obrót powyżej -";
    ShowSummary(Z5KHNT, Z5KHNT.tag[CONTRACTORS_BY_CODE],
                Sys(rejestr == 1 ? "Zestawienie sprzedaży wg kontrahentów" : "Zestawienie sprzedaży pomocniczej wg kontrahentów"),
                mode, heading,
                {{"nazwa", "NA1", 36}, {"netto", "NET", 0}, {"VAT", "VAT", 0}, {"brutto", "BRU", 0}},
                {{"kod", "", "KOD", 1}, {"nazwa", "", "NA1", 2}, {"nazwa cd", "", "NA2", 2}, {"NIP", "", "NIP", 3},
                 {"kod", "", "KOP", 3}, {"miasto", "", "MIA", 4}, {"ulica", "", "ULI", 4}, {"wartość", "netto", "NET", 5},
                 {"wartość", "VAT", "VAT", 5}, {"wartość", "brutto", "BRU", 6}},
                1293);
  }
  if (opened) {
    d4close(Z5KHNT.table);
    Z5KHNT.table = nullptr;
  }
  return 0;
}

int obroty_z_rejestru() {
  if (!salesContext) return 0;
  OpenFiltersWindow(&salesContext->filtry);
  if (salesContext->filtry.changed) {
    obrot_kontrahentow(Z5SPRZ.table, 1, salesContext->rejestr, &salesContext->filtry, salesContext->filtrWaluty);
    AskResetFilter(&salesContext->filtry);
  }
  return browse_call(0, 0) < 0 ? -1 : 0;
}
