#include "masterdata/contractors.h"

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/validators.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/choice_menus.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/countries.h"
#include "masterdata/description_field.h"
#include "masterdata/tax_number_checks.h"
#include "tables/catalogue.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

const char* const kContractorTypes[] = {"          ", "1.DOSTAWCA", "2.NABYWCA", "3.DOST/NAB",
                                        "4.WEWN.",    "5.ODBIORCA", nullptr};
int kontrahent_z_dokumentu = 0;
int typ_kontrahenta_z_dokumentu = 0;
kontekst_kartoteki_kontrahentow* contractorCatalogue = nullptr;

namespace {

constexpr int MSG_TITLE = 20082;
constexpr int MSG_TITLE_SHARED = 20083;
constexpr int MSG_CZV_CHANGED = 20221;
constexpr int MSG_CODE_TO_DOCUMENT = 20061;
constexpr int MSG_NEITHER_NIP_NOR_PESEL = 20021;

constexpr int RIGHT_APPEND = 6210, RIGHT_PRINT = 6220, RIGHT_FILTERS = 6230, RIGHT_MODIFY = 6240,
              RIGHT_DELETE = 6250, RIGHT_SEARCH = 6270, RIGHT_SEARCH_CODE = 6271, RIGHT_SEARCH_NAME = 6272;

constexpr int16_t RES_PANEL = 6;
constexpr int16_t RES_FORM = 7;
constexpr int PANEL_LINES = 9;
constexpr int FORM_LINES = 25;

constexpr int RECORD_ATTR = 0x1F, BACKGROUND_ATTR = 0x17;

constexpr int TYPE_COLUMN_WIDTH = 8;
constexpr int NAME_COLUMN_WIDTH = 37;   // what the screen leaves after the code
constexpr int NAME_SEEK_WIDTH = 35, CODE_SEEK_WIDTH = 20;

bool Online() { return mainOptions.onlineNipCheck == 'T'; }
bool Shared() { return optionSharedContractors == 'T'; }

char Czv() { return *f4ptr(Khnt(KHNT_CZV)); }

std::string Trimmed(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

// ---- columns

void CzvColumn(ColumnValue* value) {
  value->type = 'C';
  value->length = 1;
  value->text[0] = Czv() == 'N' ? 'N' : 'T';
  value->text[1] = '\0';
}

void TypeColumn(ColumnValue* value) {
  value->type = 'C';
  value->length = TYPE_COLUMN_WIDTH;
  std::memset(value->text, ' ', TYPE_COLUMN_WIDTH);
  const char* text = KodAsPopupMenuString(f4int(Khnt(KHNT_TYP)), kContractorTypes);
  std::memcpy(value->text, text, strnlen(text, TYPE_COLUMN_WIDTH));
  value->text[TYPE_COLUMN_WIDTH] = '\0';
}

void DefineColumns(kontekst_kartoteki_kontrahentow* ctx) {
  ResetScrollDefinition(ctx->columns, sizeof ctx->columns);
  DefineScrollColumn(&Z5KHNT.field[KHNT_STA], 0, "S");
  DefineScrollColumn(&Z5KHNT.field[KHNT_CZV], 0, "V")->valueRoutine = CzvColumn;
  DefineScrollColumn(&Z5KHNT.field[KHNT_ZNA], 0, "A");
  DefineScrollColumn(&Z5KHNT.field[KHNT_ZNB], 0, "B");
  DefineScrollColumn(&Z5KHNT.field[KHNT_ZNC], 0, "C");
  DefineScrollColumn(&Z5KHNT.field[KHNT_ZND], 0, "D");
  ScrollColumn* type = DefineScrollColumn(&Z5KHNT.field[KHNT_TYP], SCROLL_FIXED_WIDTH, "typ");
  type->valueRoutine = TypeColumn;
  type->width = TYPE_COLUMN_WIDTH;
  DefineScrollColumn(&Z5KHNT.field[KHNT_KOD], 0, "kod")->tag = &Z5KHNT.tag[KHNT_BY_CODE];
  ScrollColumn* name = DefineScrollColumn(&Z5KHNT.field[KHNT_NA1], SCROLL_FIXED_WIDTH | DEF_LAST, "nazwa");
  name->tag = &Z5KHNT.tag[KHNT_BY_NAME];
  name->width = NAME_COLUMN_WIDTH;
}

void DefinePanel(kontekst_kartoteki_kontrahentow* ctx) {
  ResetTextCtrlDefinition(ctx->panel, sizeof ctx->panel);
  DefineTextCtrl(0, 8, &Z5KHNT.field[KHNT_NA1], 0);
  DefineTextCtrl(1, 8, &Z5KHNT.field[KHNT_NA2], 0);
  DefineTextCtrl(2, 8, &Z5KHNT.field[KHNT_KOP], 0);
  DefineTextCtrl(2, 15, &Z5KHNT.field[KHNT_MIA], 0);
  DefineTextCtrl(3, 8, &Z5KHNT.field[KHNT_ULI], 0);
  DefineTextCtrl(4, 8, &Z5KHNT.field[KHNT_NIP], 0);
  DefineTextCtrl(5, 8, &Z5KHNT.field[KHNT_TEL], 0);
  DefineTextCtrl(5, 38, &Z5KHNT.field[KHNT_FAX], 0);
  DefineTextCtrl(6, 8, &Z5KHNT.field[KHNT_EMA], 0);
  DefineTextCtrl(7, 8, &Z5KHNT.field[KHNT_OSO], 0);
  DefineTextCtrl(8, 8, &Z5KHNT.field[KHNT_UWA], DEF_LAST);
}

void DefinePrintColumns(kontekst_kartoteki_kontrahentow* ctx) {
  static const std::string town = Utf8ToMazText("miasto");
  ResetTabuDefinition(ctx->printColumns, sizeof ctx->printColumns);
  struct Column {
    const char* heading;
    int field;
  } columns[] = {
      {"kod", KHNT_KOD},       {"nazwa", KHNT_NA1},   {"nazwa cd", KHNT_NA2},  {"kod poczt.", KHNT_KOP},
      {town.c_str(), KHNT_MIA}, {"ulica", KHNT_ULI},   {"kraj", KHNT_KRA},      {"tel.", KHNT_TEL},
      {"fax.", KHNT_FAX},      {"NIP", KHNT_NIP},     {"osoba", KHNT_OSO},     {"adres WWW", KHNT_WWW},
      {"email", KHNT_EMA},     {"rabat", KHNT_UPU},
  };
  int n = 0;
  for (const Column& c : columns) {
    n++;
    DefineTabuColumn(c.heading, nullptr, &Z5KHNT.field[c.field], n == 14 ? DEF_LAST : 0, n);
  }
}

// ---- filters

// 'T' takes the blank mark too: a blank CZV means a VAT payer.
int VatPayerFilter(DbField* field, const char* text, int, DbTable*) {
  char wanted = text[0];
  char mark = *f4ptr(field);
  if (wanted == ' ') return X4_ACCEPT;
  bool payer = mark != 'N';
  return (wanted == 'T') == payer ? X4_ACCEPT : X4_REJECT;
}

void DefineFilters(kontekst_kartoteki_kontrahentow* ctx) {
  ResetFiltersDefinition(&ctx->filters, ctx->filterItems, sizeof ctx->filterItems);
  DefineFilter(FilterFld(Khnt(KHNT_KOD)), "kod..........", "kod ", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0, nullptr);
  DefineFilter(FilterFld(Khnt(KHNT_TYP)), "typ..........", "typ ", FILTER_CHOICE, 0, kContractorTypes);
  DefineFilter(FilterFld(Khnt(KHNT_STA)), "status.......", "status ", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0,
               nullptr);
  DefineFilter(FilterFld(Khnt(KHNT_MIA)), "miasto.......", "miasto ", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0,
               nullptr);
  DefineFilter(FilterFld(Khnt(KHNT_KRA)), "kraj.........", "kraj ", FILTER_TEXT, FILTER_UPPER, 0, kraj_f4_lista,
               KRAJ_DAJ_NAZWE, nullptr);
  FilterItem* vat = DefineFilter(FilterFld(Khnt(KHNT_CZV)), "podatnik VAT.", "VAT ", FILTER_TEXT, FILTER_UPPER, 0,
                                 wybierz_tak_nie, 0, nullptr);
  if (vat) vat->own_test.text = VatPayerFilter;
  const int marks[] = {KHNT_ZNA, KHNT_ZNB, KHNT_ZNC, KHNT_ZND};
  const char* labels[] = {"typ A........", "typ B........", "typ C........", "typ D........"};
  for (int i = 0; i < 4; i++)
    DefineFilter(FilterFld(Khnt(marks[i])), labels[i], nullptr, FILTER_YES_NO, 0, FILTER_IF_EQUAL | '*');
}

int32_t FiltersAction(int32_t) {
  OpenFiltersWindow(&contractorCatalogue->filters);
  return browse_call(0, 0) < 0 ? -1 : 0;
}

int32_t PrintAction(int32_t) {
  FilterSet* set = &contractorCatalogue->filters;
  OpenFiltersWindow(set);   // sets `changed` when left with "Zapamiętaj"
  if (set->changed) return browse_drukuj();
  return browse_call(0, 0) < 0 ? -1 : 0;
}

// ---- search

int32_t SeekName(int32_t) { return SzukajWKatalogu("Szukaj nazwy - ", NAME_SEEK_WIDTH, Z5KHNT.tag[KHNT_BY_NAME]); }
int32_t SeekCode(int32_t) {
  return SzukajWKatalogu("Szukaj kodu nazwy - ", CODE_SEEK_WIDTH, Z5KHNT.tag[KHNT_BY_CODE]);
}

// ---- keys of the browse

void ToggleMark(int field, char set, char cleared) {
  DbField* f = Khnt(field);
  f4assign_char(f, *f4ptr(f) == set ? cleared : set);
}

// F2: the record's form, only to look at.
void Preview(BrowseContext* c) {
  RefreshChoiceTexts(contractorCatalogue);
  RefreshMarkSummaries(contractorCatalogue);
  int previous = w4select(-1);
  int window = DefineEditModifyWindow(c);
  w4activate(window);
  wyswietl_edit_window_modify(c, window, BACKGROUND_ATTR, RECORD_ATTR);
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

int KeyHook(int key) {
  if (key != KEY_F2 && key != KEY_ALT_F8 && (key < KEY_F3 || key > KEY_F8)) return 0;
  BrowseContext* c = CurrentBrowse;
  if (EmptyBrowseWarning(c) != 0) return 0;
  if (key == KEY_F2) {
    Preview(c);
    return 0;
  }
  if (key == KEY_ALT_F8) return sprawdz_nip_kontrahentow();
  DbTable* table = Z5KHNT.table;
  long record = d4recno(table);
  char before = Czv();
  switch (key) {
    case KEY_F3: ToggleMark(KHNT_ZNA, '*', ' '); break;
    case KEY_F4: ToggleMark(KHNT_ZNB, '*', ' '); break;
    case KEY_F5: ToggleMark(KHNT_ZNC, '*', ' '); break;
    case KEY_F6: ToggleMark(KHNT_ZND, '*', ' '); break;
    case KEY_F7: ToggleMark(KHNT_STA, 'N', 'A'); break;
    default:
      if (Online())
        VerifyContractorNip(Trimmed(Khnt(KHNT_NIP)).c_str());
      else
        f4assign_char(Khnt(KHNT_CZV), Czv() == 'N' ? 'T' : 'N');
      break;
  }
  if (write_and_unlock(table) != 0) return -1;
  if (Czv() != before) Informacja(PrintfQStr(MSG_CZV_CHANGED, Czv() == 'N' ? "NIE" : "TAK"));
  return browse_call(0, record);
}

// ---- hooks

int BeforeNew() {
  f4assign_long(Khnt(KHNT_TYP), 2);
  f4assign_char(Khnt(KHNT_STA), 'A');
  f4assign_char(Khnt(KHNT_CZV), 'T');
  f4assign_long(Khnt(KHNT_TKO), 1);
  f4assign_char(Khnt(KHNT_TYC), 'A');
  if (kontrahent_z_dokumentu) {
    const PolaSchowkaAdresu& d = pola_schowka_adresu;
    const struct {
      int field;
      DbField* from;
    } copies[] = {{KHNT_KOD, d.code},      {KHNT_NA1, d.name1},     {KHNT_NA2, d.name2},
                  {KHNT_KOP, d.postal_code}, {KHNT_MIA, d.town},    {KHNT_ULI, d.street},
                  {KHNT_NIP, d.nip},       {KHNT_CZV, d.flag},      {KHNT_PLA, d.payment},
                  {KHNT_OSO, d.person},    {KHNT_OP1, d.description1}, {KHNT_OP2, d.description2}};
    for (const auto& c : copies)
      if (c.from) f4assign_field(Khnt(c.field), c.from);
    if (!ValidNip(Trimmed(Khnt(KHNT_NIP)).c_str(), 0, 0)) f4assign_char(Khnt(KHNT_CZV), 'N');
    f4assign_long(Khnt(KHNT_TYP), typ_kontrahenta_z_dokumentu);
  }
  RefreshChoiceTexts(contractorCatalogue);
  std::strcpy(contractorCatalogue->procedures, "NIE");
  std::strcpy(contractorCatalogue->gtu, "NIE");
  return 0;
}

int AfterAppend() {
  if (!kontrahent_z_dokumentu) return 0;
  kontrahent_z_dokumentu = 0;
  if (Pytanie(MSG_CODE_TO_DOCUMENT) != KEY_ESC && pola_schowka_adresu.code)
    f4assign_field(pola_schowka_adresu.code, Khnt(KHNT_KOD));
  typ_kontrahenta_z_dokumentu = 0;
  return 0;
}

int BeforeModify() {
  if (*f4ptr(Khnt(KHNT_TYC)) == ' ') f4assign_char(Khnt(KHNT_TYC), 'A');
  if (f4int(Khnt(KHNT_TKO)) < 1) f4assign_long(Khnt(KHNT_TKO), 1);
  if (Czv() == ' ') f4assign_char(Khnt(KHNT_CZV), 'T');
  if (!ValidNip(Trimmed(Khnt(KHNT_NIP)).c_str(), 0, 0)) f4assign_char(Khnt(KHNT_CZV), 'N');
  RefreshChoiceTexts(contractorCatalogue);
  RefreshMarkSummaries(contractorCatalogue);
  return 0;
}

void DefineMenu(kontekst_kartoteki_kontrahentow* ctx) {
  static const std::string deleteText = Utf8ToMazText(" Usuń ");
  ctx->menu = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 1, browse_dopisz, nullptr);
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(" Filtry ", RIGHT_FILTERS, 'f', 0, FiltersAction, nullptr);
  MenuDefineItem(" Szukaj ", RIGHT_SEARCH, 's', -1, nullptr, &ctx->searchMenu);
  MenuDefineItem(" Drukuj ", RIGHT_PRINT, 'r', 0, PrintAction, nullptr);
  MenuDefineItem(deleteText.c_str(), RIGHT_DELETE, 'u', 1, browse_skasuj, nullptr);
  ctx->searchMenu = DefineMenuWindow();
  w4border(kStdFrame, 7);
  MenuDefineItem(" Nazwa ", RIGHT_SEARCH_NAME, 'n', 0, SeekName, nullptr);
  MenuDefineItem(" Kod nazwy ", RIGHT_SEARCH_CODE, 'k', 0, SeekCode, nullptr);
}

void SetHelpKeys() {
  add_help_line();
  set_fun_help("F2", Utf8ToMazText("Podgląd").c_str(), 2);
  set_fun_help("F3", "A", 3);
  set_fun_help("F4", "B", 4);
  set_fun_help("F5", "C", 5);
  set_fun_help("F6", "D", 6);
  set_fun_help("F7", "Status", 7);
  set_fun_help("F8", "weryfikuj NIP", 8);
  set_fun_help("Alt+F8", Utf8ToMazText("Sprawdź NIP-y").c_str(), 9);
}

// The browse's keys Ins/Alt+D, Alt+M, Del/Alt+U and Alt+K.
int StandardKeys(int key) {
  hot_keys(key, 1, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, Khnt(KHNT_INF));
  return KeyHook(key);
}

}  // namespace

void RefreshChoiceTexts(kontekst_kartoteki_kontrahentow* ctx) {
  std::memset(ctx->typeText, ' ', TYPE_FIELD_WIDTH);
  ctx->typeText[TYPE_FIELD_WIDTH] = '\0';
  const char* type = KodAsPopupMenuString(f4int(Khnt(KHNT_TYP)), kContractorTypes);
  std::memcpy(ctx->typeText, type, strnlen(type, TYPE_FIELD_WIDTH));
  std::memset(ctx->costText, ' ', CHOICE_TEXT);
  ctx->costText[CHOICE_TEXT] = '\0';
  const char* cost = KodAsPopupMenuString(f4int(Khnt(KHNT_TKO)), EXPENSE_COLUMNS);
  std::memcpy(ctx->costText, cost, strnlen(cost, CHOICE_TEXT));
}

int VerifyContractorNip(const char* nip) {
  int result = sprawdz_nip_kontrahenta(nip, 0);
  if (!NipRegisterUnreachable(result)) f4assign_char(Khnt(KHNT_CZV), NipIsVatPayer(result) ? 'T' : 'N');
  return result;
}

int kartoteka_kontrahentow() {
  auto* ctx = static_cast<kontekst_kartoteki_kontrahentow*>(take_mem(sizeof(kontekst_kartoteki_kontrahentow)));
  if (!ctx) return 0;
  kontekst_kartoteki_kontrahentow* outer = contractorCatalogue;
  contractorCatalogue = ctx;
  DefineColumns(ctx);
  DefinePanel(ctx);
  DefineContractorForm(ctx);
  DefinePrintColumns(ctx);
  DefineFilters(ctx);
  DefineMenu(ctx);
  DbField* description1 = cel_opisu_1;
  DbField* description2 = cel_opisu_2;
  cel_opisu_1 = Khnt(KHNT_OP1);
  cel_opisu_2 = Khnt(KHNT_OP2);
  d4tag_select(Z5KHNT.table, Z5KHNT.tag[KHNT_BY_NAME]);
  BrowseContext* browse = nullptr;
  if (allocate_browse(&browse, Z5KHNT.table, Z5KHNT.tag[KHNT_BY_NAME], ctx->columns, ctx->menu) == 0) {
    browse->record_texts = ctx->panel;
    browse->record_lines_source = []() -> int16_t { return RES_PANEL; };
    browse->record_lines_count = PANEL_LINES;
    browse->edit_texts = ctx->formTexts;
    browse->append_edits = ctx->formEdits;
    browse->edit_lines_source = []() -> int16_t { return RES_FORM; };
    browse->edit_lines_count = FORM_LINES;
    browse->print_columns = ctx->printColumns;
    browse->title = Shared() ? MSG_TITLE_SHARED : MSG_TITLE;
    browse->print_title = browse->title;
    browse->stamp_field = Khnt(KHNT_INF);
    browse->filter_fn = FilterFunction;
    browse->filter_data = reinterpret_cast<intptr_t>(&ctx->filters);
    browse->before_new = BeforeNew;
    browse->after_append = AfterAppend;
    browse->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    browse->key_hook = StandardKeys;
    SetHelpKeys();
    zrob_browse(PANEL_LINES, FORM_LINES, 0);
    remove_help_line();
    free_browse(&browse);
  }
  cel_opisu_1 = description1;
  cel_opisu_2 = description2;
  FreeFilters(&ctx->filters);
  w4close(ctx->searchMenu);
  w4close(ctx->menu);
  contractorCatalogue = outer;
  free_mem(&ctx);
  return 0;
}

int kartoteka_kontrahentow_z_dokumentu() { return RunFromList(kartoteka_kontrahentow); }

int ustaw_czv_wg_nip(Get4* get) {
  std::string text(static_cast<const char*>(get->data), strnlen(static_cast<const char*>(get->data),
                                                                static_cast<size_t>(get->dataWidth)));
  text.erase(text.find_last_not_of(' ') + 1);
  DbField* czv = Khnt(KHNT_CZV);
  if (text.size() < 5) {
    f4assign_char(czv, 'N');
  } else if (text.compare(0, 2, "PL") == 0 || (text[0] >= '0' && text[0] <= '9')) {
    if (ValidNip(text.c_str(), 0, 1))
      f4assign_char(czv, 'T');
    else if (ValidPeselOpt(text.c_str(), 0, 1))
      f4assign_char(czv, 'N');
    else
      Uwaga(MSG_NEITHER_NIP_NOR_PESEL);
  }
  return 0;
}
