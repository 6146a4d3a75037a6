// The receipt register: the browse of the year's receipts in date order with
// their positions under them, the menu tree, keys, columns, the header form,
// the search list and tabulogram columns, and the deletion of a receipt or
// of the invoice issued to it.
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/document_kinds.h"
#include "app/document_lines_view.h"
#include "app/document_text.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "jpk/jpk_fakt_export.h"
#include "print/tabulogram.h"
#include "retail/position_register.h"
#include "retail/receipt_filters.h"
#include "retail/receipt_invoice.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "sales/document_totals.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/window4.h"

namespace retail {

kontekst_paragonow* kontekstParagonow = nullptr;

namespace {

constexpr int MSG_TITLE = 224;            // "Paragony -"
constexpr int MSG_PRINTED = 235;          // "Paragon został wydrukowany !"
constexpr int MSG_ASK_DELETE = 50005;     // "Czy usunąć pozycję ?"
constexpr int16_t RES_HEADER_FORM = 43;
constexpr int FORM_LINES = 15;
constexpr int TAG_NUMBER = 0, TAG_DATE = 1, TAG_INVOICE = 2;
constexpr int POSITIONS_BY_RECEIPT = 3;   // STR(REK,7,0)+STR(RECNO(),7,0)
constexpr int BUYER_BY_RECEIPT = 1;       // REK
constexpr int KEY_CTRL_P = 16, KEY_ALT_O = 0x1800, KEY_ALT_P = 0x1900, KEY_F3 = 0x3D00;
constexpr int RIGHT_APPEND = 11100;
constexpr int NUMBER_TEXT_WIDTH = 20;

kontekst_paragonow& Ctx() { return *kontekstParagonow; }
DbField* H(const char* name) { return d4field(Z5PARA.table, name); }
DbField* B(const char* name) { return d4field(Z5PARO.table, name); }

// The handle's own slot of a field: lists keep pointers to it.
DbField** Slot(TableHandles& set, const char* name) {
  DbField* field = d4field(set.table, name);
  for (DbField*& bound : set.field)
    if (bound == field) return &bound;
  return nullptr;
}
DbField** HS(const char* name) { return Slot(Z5PARA, name); }
DbField** PS(const char* name) { return Slot(Z5PARE, name); }
DbField** BS(const char* name) { return Slot(Z5PARO, name); }

void Redisplay(long record) { browse_call(0, record); }

bool MarksInUse() { return salesOptions.procedureMarks == 'T'; }

// ---- columns

void Text(ColumnValue* v, const std::string& text, int width) {
  v->type = 'C';
  v->length = static_cast<uint8_t>(width);
  std::memset(v->text, ' ', static_cast<size_t>(width));
  std::memcpy(v->text, text.data(), std::min(text.size(), static_cast<size_t>(width)));
}
void Number(ColumnValue* v, double number, int width, int decimals) {
  v->type = 'N';
  v->length = static_cast<uint8_t>(width);
  v->number = number;
  v->decimals = decimals;
}

std::string ReceiptNumber() { return NrDokumentuStalyQStr(H("PRE"), H("NRV"), H("POS")); }
std::string InvoiceNumber() { return NrDokumentuStalyQStr(H("PRF"), H("NRF"), H("POF")); }

void TypeColumn(ColumnValue* v) { Text(v, f4char(H("STA")) == 'T' ? " M " : "   ", 3); }
void NumberColumn(ColumnValue* v) {
  std::string text = ReceiptNumber();
  Text(v, text, static_cast<int>(text.size()));
}
// Blank for a receipt without an invoice.
void InvoiceColumn(ColumnValue* v) {
  std::string text = InvoiceNumber();
  Text(v, f4int(H("TYF")) == 0 ? std::string(text.size(), ' ') : text, static_cast<int>(text.size()));
}
void QuantityColumn(ColumnValue* v) { Number(v, f4double(d4field(Z5PARE.table, "ILO")), 11, 3); }
void PriceColumn(ColumnValue* v) { Number(v, f4double(d4field(Z5PARE.table, "CBR")), 10, 2); }

void DefineColumns(kontekst_paragonow& c) {
  ResetScrollDefinition(c.columns, sizeof c.columns);
  DefineScrollColumn(HS("STA"), 0, "typ")->valueRoutine = TypeColumn;
  ScrollColumn* number = DefineScrollColumn(HS("NRV"), 0, "numer");
  number->valueRoutine = NumberColumn;
  number->tag = &Z5PARA.tag[TAG_NUMBER];
  DefineScrollColumn(HS("DSP"), 0, "data wyst")->tag = &Z5PARA.tag[TAG_DATE];
  DefineScrollColumn(HS("BRU"), 0, "brutto");
  ScrollColumn* invoice = DefineScrollColumn(HS("NRF"), DEF_LAST, "faktura");
  invoice->valueRoutine = InvoiceColumn;
  invoice->tag = &Z5PARA.tag[TAG_INVOICE];

  ResetScrollDefinition(c.positionColumns, sizeof c.positionColumns);
  DefineScrollColumn(PS("NA1"), 0, "nazwa");
  DefineScrollColumn(PS("ILO"), 0, Sys("ilość"))->valueRoutine = QuantityColumn;
  DefineScrollColumn(PS("CBR"), 0, "cena")->valueRoutine = PriceColumn;
  DefineScrollColumn(PS("WAB"), DEF_LAST, "brutto");
}

// ---- tabulogram

// A computed text column: the alias names it in the stored layouts.
void ComputedText(TabuValue* v, const char* alias, const std::string& text) {
  std::memset(v->fieldName, 0, sizeof v->fieldName);
  std::strncpy(v->fieldName, alias, sizeof v->fieldName - 1);
  std::memset(v->sourceName, 0, sizeof v->sourceName);
  std::strncpy(v->sourceName, d4alias(Z5PARA.table), sizeof v->sourceName - 1);
  v->type = 'C';
  v->width = NUMBER_TEXT_WIDTH;
  char fitted[NUMBER_TEXT_WIDTH + 1] = {};
  KolumnaTekstFit(text.c_str(), v, fitted);
  std::memset(v->text, ' ', sizeof v->text);
  std::memcpy(v->text, fitted, NUMBER_TEXT_WIDTH);
}
void ReceiptNumberTabu(TabuValue* v) { ComputedText(v, "_NP", ReceiptNumber()); }
void InvoiceNumberTabu(TabuValue* v) { ComputedText(v, "_ND", InvoiceNumber()); }

void DefineTabulogram(kontekst_paragonow& c) {
  ResetTabuDefinition(c.tabulogram, sizeof c.tabulogram);
  struct Column {
    const char* heading1;
    const char* heading2;
    DbField** field;
    int group;
    int flags;
    TabuValueRoutine value;
  };
  const Column columns[] = {
      {"numer", "paragonu", HS("NRV"), 1, 0, ReceiptNumberTabu},
      {"data wyst", "", HS("DSP"), 1, 0, nullptr},
      {"kod", "", BS("KNA"), 2, 0, nullptr},
      {"NIP", "", HS("RE1"), 2, 0, nullptr},
      {"nazwa", "", BS("NA1"), 3, 0, nullptr},
      {"nazwa cd", "", BS("NA2"), 3, 0, nullptr},
      {"miasto", "", BS("MIA"), 4, 0, nullptr},
      {"ulica", "", BS("ULI"), 4, 0, nullptr},
      {"wartość", "netto", HS("NET"), 5, TABU_SUMMED, nullptr},
      {"wartość", "VAT", HS("VAT"), 5, TABU_SUMMED, nullptr},
      {"wartość", "brutto", HS("BRU"), 6, TABU_SUMMED, nullptr},
      {"uwagi", "", HS("UWA"), 6, 0, nullptr},
      {"numer", "dokumentu", HS("NRF"), 7, 0, InvoiceNumberTabu},
      {"fiskalny", "", HS("WYD"), 7, DEF_LAST, nullptr},
  };
  for (const Column& col : columns) {
    TabuColumn* t = DefineTabuColumn(Sys(col.heading1), Sys(col.heading2), col.field, col.flags, col.group);
    if (t) t->valueRoutine = col.value;
  }
}

// ---- header form

// Drawn over the end of the remarks only when the receipt is faulty.
void DrawError(TextCtrl* e) {
  if (f4int(*e->field) == 1) w4(e->row, e->col, Sys("1. BŁĄD DOKUMENTU"));
}
void DrawFilling(TextCtrl* e) {
  int kind = f4int(*e->field);
  w4(e->row, e->col, kind == 1 ? "1. NETTO " : kind == 2 ? "2. BRUTTO" : "         ");
}

void DefineForm(kontekst_paragonow& c) {
  ResetTextCtrlDefinition(c.formTexts, sizeof c.formTexts);
  struct At {
    int row, col;
    DbField** field;
  };
  const At shown[] = {{0, 16, HS("PRE")},  {0, 21, HS("NRV")},  {0, 27, HS("POS")},  {0, 63, HS("DSP")},
                      {1, 8, HS("UWA")},   {2, 8, HS("RE1")},   {4, 16, HS("PRF")},  {4, 21, HS("NRF")},
                      {4, 27, HS("POF")},  {4, 63, BS("DPL")},  {5, 63, BS("KZA")},  {6, 16, BS("KNA")},
                      {7, 8, BS("NA1")},   {8, 8, BS("NA2")},   {9, 13, BS("KOP")},  {9, 20, BS("MIA")},
                      {10, 13, BS("ULI")}, {12, 67, HS("WYD")}};
  for (const At& a : shown) DefineTextCtrl(a.row, a.col, a.field, 0);
  DefineTextCtrl(12, 16, HS("NET"), TEXT_THOUSANDS);
  DefineTextCtrl(13, 16, HS("VAT"), TEXT_THOUSANDS);
  DefineTextCtrl(14, 16, HS("BRU"), TEXT_THOUSANDS);
  DefineTextCtrl(13, 66, HS("TRY"), 0)->drawRoutine = DrawFilling;
  DefineTextCtrl(1, 58, HS("AKT"), DEF_LAST)->drawRoutine = DrawError;

  ResetEditCtrlDefinition(c.form, sizeof c.form);
  EditCtrl* date = DefineEditCtrl(0, 63, HS("DSP"), EDIT_DATE);
  date->picture = "DD-MM/YY";
  date->keyRoutine = klawisz_daty_paragonu;
  DefineEditCtrl(1, 8, HS("UWA"), EDIT_DATE)->keyRoutine = klawisz_uwag_paragonu;
  DefineEditCtrl(2, 8, HS("RE1"), EDIT_DATE | EDIT_UPPER | DEF_LAST)->validator = sprawdz_nip_paragonu;
}

// ---- search

const char* BuyerName() {
  if (filtr_paragonow(0) < 0) return "";
  return FldQStr(B("NA1"), 0);
}

void DefineSearch(kontekst_paragonow& c) {
  InitSzukajPola(c.searchFields, sizeof c.searchFields);
  BlankSearchBuffer(c.searchDate, 8);
  BlankSearchBuffer(c.searchName, 35);
  c.searchReceipt = c.searchInvoice = 1;
  DefineSzukajPole("data wyst", HS("DSP"), &Z5PARA.tag[TAG_DATE], c.searchDate, W_DATE);
  DefineSzukajPole("nabywca", nullptr, nullptr, c.searchName, W_TEXT)->text = BuyerName;
  DefineSzukajPole("nr paragonu", HS("NRV"), &Z5PARA.tag[TAG_NUMBER], &c.searchReceipt, W_INT | WidthFlag(5));
  DefineSzukajPole("nr faktury", HS("NRF"), &Z5PARA.tag[TAG_INVOICE], &c.searchInvoice, W_INT | WidthFlag(5));
}

// ---- menu actions

int32_t Append(int32_t) { return browse_dopisz(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }
int32_t Search(int32_t) { return OknoSzukaj(&Ctx().search, Ctx().searchFields); }
int32_t JpkFakt(int32_t) {
  eksport_jpk_fakt();
  return 0;
}

void BuildMenus(kontekst_paragonow& c) {
  int* m = c.menus;
  m[0] = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", 11100, 'd', 0, Append, nullptr);
  MenuDefineItem(" Drukuj ", 11200, 'r', -1, nullptr, &m[5]);
  MenuDefineItem(" Faktura ", 11300, 'k', 0, faktura_z_menu, nullptr);
  MenuDefineItem(" Modyfikuj ", 11400, 'm', -1, nullptr, &m[1]);
  MenuDefineItem(" Szukaj ", 11500, 's', 0, Search, nullptr);
  MenuDefineItem(" Filtry ", 11600, 'f', 1, filtry_z_menu, nullptr);
  MenuDefineItem(" Suma ", 11700, 'a', 0, suma_z_menu, nullptr);
  MenuDefineItem(" Ewidencja ", 12000, 'e', 0, ewidencja_z_menu, nullptr);
  MenuDefineItem(" JPK fakt.", 12000, 'j', 0, JpkFakt, nullptr);

  m[5] = DefineMenuWindow();
  MenuDefineItem(" Dokument ", 11210, 'd', 1, drukuj_z_menu, nullptr);
  MenuDefineItem(" Tabulogram ", 11220, 't', 0, tabulogram_paragonow, nullptr);

  m[1] = DefineMenuWindow();
  MenuDefineItem(" Opis ", 11420, 'o', -1, nullptr, &m[2]);
  MenuDefineItem(" Pozycje ", 11420, 'p', 0, modyfikuj_pozycje_paragonu, nullptr);
  MenuDefineItem(" Numer ", 11430, 'n', -1, nullptr, &m[3]);
  MenuDefineItem(Sys(" Usuń "), 11440, 'u', -1, nullptr, &m[4]);
  m[2] = DefineMenuWindow();
  MenuDefineItem(" Paragon ", 11411, 'p', 1, modyfikuj_opis, nullptr);
  MenuDefineItem(" Faktura ", 11412, 'f', 2, modyfikuj_opis, nullptr);
  m[3] = DefineMenuWindow();
  MenuDefineItem(" Paragon ", 11431, 'p', 1, zmien_numer, nullptr);
  MenuDefineItem(" Faktura ", 11432, 'f', 2, zmien_numer, nullptr);
  m[4] = DefineMenuWindow();
  MenuDefineItem(" Paragon ", 11441, 'p', 0, Delete, nullptr);
  MenuDefineItem(" Faktura ", 11442, 'f', 0, odlacz_fakture, nullptr);
  w4select(m[0]);
}

// ---- keys

int klawisze_paragonow(int key) {
  BrowseContext* browse = CurrentBrowse;
  if (!browse || browse->edit_mode) return 0;
  switch (key) {
    case KEY_F2: {
      if (EmptyBrowseWarning(browse) != 0) return 0;
      long record = d4recno(Z5PARA.table);
      pozycje_paragonu(1, f4int(H("TRY")), 1);
      Redisplay(record);
      return 0;
    }
    case KEY_F3:
      przelacz_dokument_pozycje(key);
      return 0;
    case KEY_CTRL_P:
      return platnosc_faktury();
    case KEY_ALT_O:
    case KEY_ALT_P:
      return MarksInUse() ? oznaczenia_faktury(key == KEY_ALT_O) : 0;
    default:
      return 0;
  }
}

int skroty_paragonow(int key) {
  hot_keys(key, 0, RIGHT_APPEND, KEY_ESC, -1, KEY_ESC, -1, H("INF"));
  return 0;
}

void HelpLine() {
  add_help_line();
  set_fun_help("F2", Sys("Podgląd"), 2);
  set_fun_help("F3", "Pozycje", 3);
  set_fun_help("Ctrl+P", Sys("Płatność"), 4);
  if (MarksInUse()) {
    set_fun_help("Alt+O", "Oznaczenia", 5);
    set_fun_help("Alt+P", "Procedury", 6);
  }
}

kontekst_paragonow* definiuj_paragony() {
  auto* c = static_cast<kontekst_paragonow*>(take_mem(sizeof(kontekst_paragonow)));
  if (!c) return nullptr;
  for (int& m : c->menus) m = -1;
  std::snprintf(c->title, sizeof c->title, "%s %d", EnvFindString(MSG_TITLE), WorkingYear());
  c->relateBuyer = 1;
  kontekstParagonow = c;
  definiuj_filtry_paragonow();
  BuildMenus(*c);
  DefineColumns(*c);
  DefineTabulogram(*c);
  DefineForm(*c);
  DefineSearch(*c);
  return c;
}

void zwolnij_paragony(kontekst_paragonow** c) {
  for (int i = 5; i >= 0; i--)
    if ((*c)->menus[i] >= 0) w4close((*c)->menus[i]);
  zwolnij_filtry_paragonow();
  kontekstParagonow = nullptr;
  free_mem(c);
}

void Settings(BrowseContext* b, kontekst_paragonow& c) {
  b->title = c.title;
  b->print_title = c.title;
  b->print_columns = c.tabulogram;
  b->before_new = dopisz_paragon;
  b->before_write = nadaj_rec_paragonu;
  b->append_fn = [](DbTable*, int (*)(int), int (*)(int)) { return zapisz_paragon(); };
  b->on_cancel = anuluj_paragon;
  b->after_append = zamknij_paragon;
  b->modify_hooks[MODIFY_BEFORE] = przed_modyfikacja_paragonu;
  b->modify_hooks[MODIFY_SAVE] = po_modyfikacji_paragonu;
  b->before_delete = usun_paragon;
  b->key_hook = klawisze_paragonow;
  b->pre_key_hook = skroty_paragonow;
  b->filter_fn = filtr_paragonow;
  b->edit_texts = c.formTexts;
  b->append_edits = c.form;
  b->edit_lines_source = []() -> int16_t { return RES_HEADER_FORM; };
  b->edit_lines_count = FORM_LINES;
  b->edit_height = FORM_LINES + 2;
  b->stamp_field = H("INF");
  b->rel_table = Z5PARE.table;
  b->rel_tag = Z5PARE.tag[POSITIONS_BY_RECEIPT];
  b->rel_key_field = H("REC");
  b->rel_link_field = d4field(Z5PARE.table, "REK");
  b->rel_columns = c.positionColumns;
}

int RunRegister() {
  int window = w4select(-1);
  kontekst_paragonow* c = definiuj_paragony();
  if (!c) {
    w4select(window);
    return -1;
  }
  int result = -1;
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, Z5PARA.table, Z5PARA.tag[TAG_DATE], c->columns, c->menus[0]) == 0) {
    Settings(browse, *c);
    HelpLine();
    DbTable* t = Z5PARA.table;
    long last = d4bottom(t) == 0 && !d4eof(t) ? d4recno(t) : 0;
    result = zrob_browse(0, FORM_LINES, last);
    remove_help_line();
    free_browse(&browse);
  }
  zwolnij_paragony(&c);
  w4select(window);
  return result;
}

}  // namespace

void numer_paragonu_pozycji(ColumnValue* value) {
  DbField* f[] = {d4field(Z5PARE.table, "PRE"), d4field(Z5PARE.table, "NRV"), d4field(Z5PARE.table, "POS")};
  std::string text = NrDokumentuStalyQStr(f[0], f[1], f[2]);
  Text(value, text, static_cast<int>(text.size()));
}

int usun_dane_faktury() {
  DbTable* buyers = Z5PARO.table;
  d4tag_select(buyers, Z5PARO.tag[BUYER_BY_RECEIPT]);
  int rc = d4seek_double(buyers, f4double(H("REC")));
  if (rc < 0) return rc;
  if (rc != 0) return 0;
  d4delete(buyers);
  d4flush(buyers);
  return 0;
}

int usun_paragon() {
  if (f4char(H("WYD")) == 'T') Uwaga(MSG_PRINTED);
  DbTable* headers = Z5PARA.table;
  long record = d4recno(headers);
  if (set_lock(Z5PARE.table, -1) != 0) return -1;
  f4assign_long(H("AKT"), 1);
  int result = -1;
  if (d4write(headers, record) == 0 && d4flush(headers) == 0 && usun_dane_faktury() == 0) {
    // A refused give-back keeps the header with the positions left.
    int deleted = usun_pozycje_paragonu();
    result = deleted == 0 ? 0 : deleted > 0 ? 1 : -1;
  }
  d4unlock(Z5PARE.table);
  d4go(headers, record);
  return result;
}

int32_t odlacz_fakture(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  if (Pytanie(MSG_ASK_DELETE) == KEY_ESC) return 0;
  DbTable* headers = Z5PARA.table;
  long record = d4recno(headers);
  if (set_lock(headers, -1) != 0) return 0;
  if (set_lock(Z5PARO.table, -1) == 0) {
    if (d4go(headers, record) == 0 && usun_dane_faktury() == 0) {
      f4assign_long(H("TYF"), 0);
      f4blank(H("TYF"));
      f4blank(H("PRF"));
      f4blank(H("NRF"));
      f4blank(H("POF"));
      d4write(headers, record);
      d4flush(headers);
    }
    d4unlock(Z5PARO.table);
  }
  d4unlock(headers);
  Redisplay(record);
  return 0;
}

}  // namespace retail

int paragony() { return retail::RunRegister(); }
