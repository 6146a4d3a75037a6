#include "masterdata/services_catalogue.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "app/vat_summary.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/choice_menus.h"
#include "masterdata/listed_records.h"
#include "masterdata/price_arithmetic.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_TITLE = 20169;
constexpr int MSG_CODE_EXISTS = 20153;
constexpr int MSG_ASK_CLEAR_MARKS = 20055;
constexpr int16_t RES_PANEL = 26;
constexpr int16_t RES_FORM = 27;
constexpr int PANEL_LINES = 15;
constexpr int FORM_LINES = 24;
constexpr int PANEL_GTU_ROW = 8;

constexpr int RIGHT_WAREHOUSE = 7000, RIGHT_SERVICES = 7700;
constexpr int RIGHT_APPEND = 7710, RIGHT_MODIFY = 7720, RIGHT_DELETE = 7730, RIGHT_DELETE_ITEM = 7731,
              RIGHT_CLEAR_MARKS = 7732, RIGHT_SEARCH = 7740, RIGHT_SEARCH_CODE = 7741, RIGHT_SEARCH_NAME = 7742,
              RIGHT_PRINT = 7750, RIGHT_GROUPS = 7751, RIGHT_TABULOGRAM = 7752, RIGHT_FILTERS = 7760,
              RIGHT_RECALCULATE = 7761, RIGHT_REDUCE = 7770;

constexpr int KEY_F6 = 0x4000, KEY_F7 = 0x4100, KEY_F8 = 0x4200;
constexpr char MARK = '\x9D';
constexpr int PURCHASE_RATE_LIST = 6, SALES_RATE_LIST = 5;
constexpr int THIRD_LUMP_SUM = 2;
constexpr int INVESTMENT_PURCHASE = 2;
constexpr int FIRST_YEAR_OF_RTY = 2022;
constexpr int GROUP_PREFIX = 3;

// Shown widths of the form's choice texts.
constexpr int RATE_TEXT = 19, LEFT_TEXT = 27, RIGHT_TEXT = 21, GTU_TEXT = 74;

// The choice fields of the form, the data of their key routine.
enum Choice { CHOICE_VTZ, CHOICE_VTS, CHOICE_GTU, CHOICE_NAS, CHOICE_TYZ, CHOICE_TYK, CHOICE_CVA, CHOICE_TYP,
              CHOICE_RYT };

kontekst_kartoteki_uslug* context = nullptr;

DbField* Field(int position) { return Z5USLU.field[position]; }
int Code(int position) { return c4atoi(f4ptr(Field(position)), static_cast<int>(f4len(Field(position)))); }
void StoreDigit(int position, int code) { f4assign_char(Field(position), '0' + code); }
bool MarksOn() { return salesOptions.procedureMarks == 'T'; }
int RateCodePosition() { return WorkingYear() >= FIRST_YEAR_OF_RTY ? USLU_RTY : USLU_RYT; }

// The item's text without its hot character and ". ", blank-padded to `width`.
void ChoiceText(char* text, int width, int code, const char* const* list) {
  std::memset(text, ' ', static_cast<size_t>(width));
  text[width] = '\0';
  const char* item = KodAsPopupMenuString(code, list);
  std::memcpy(text, item, std::min(std::strlen(item), static_cast<size_t>(width)));
}

int DeductionCode() { return Code(USLU_CVA); }

void RefreshChoiceTexts() {
  kontekst_kartoteki_uslug& c = *context;
  int year = WorkingYear();
  ChoiceText(c.tekst_vtz, RATE_TEXT, Code(USLU_VTZ), NAZWY_STAWEK_VAT);
  ChoiceText(c.tekst_vts, RATE_TEXT, Code(USLU_VTS), NAZWY_STAWEK_VAT);
  ChoiceText(c.tekst_nas, LEFT_TEXT, Code(USLU_NAS), ListaNaSprzedaz());
  ChoiceText(c.tekst_tyz, LEFT_TEXT, Code(USLU_TYZ), ListaTypuZakupu());
  ChoiceText(c.tekst_tyk, LEFT_TEXT, Code(USLU_TYK), EXPENSE_COLUMNS);
  if (year >= FIRST_YEAR_OF_GROUPED_CODES)
    ChoiceText(c.tekst_cva, RIGHT_TEXT, odliczenie_na_pozycje_menu(DeductionCode()), NAZWY_ODLICZEN_VAT_2024);
  else
    ChoiceText(c.tekst_cva, RIGHT_TEXT, DeductionCode(), NAZWY_ODLICZEN_VAT);
  ChoiceText(c.tekst_typ, RIGHT_TEXT, Code(USLU_TYP), ListaTypuPrzychodu());
  ChoiceText(c.tekst_ryt, RIGHT_TEXT, Code(RateCodePosition()), ListaStawekRyczaltu(year));
  int gtu = Code(USLU_RE2);
  ChoiceText(c.tekst_gtu, GTU_TEXT, gtu == 0 ? GTU_NONE_ITEM : gtu, ListaOznaczenGtu(year));
  numer_konta_wg_rec(c.konto_zakupu, sizeof c.konto_zakupu, Field(USLU_KOZ));
  numer_konta_wg_rec(c.konto_sprzedazy, sizeof c.konto_sprzedazy, Field(USLU_KOS));
}

int Menu(const char* const* list, int start) { return get_menu_function(" WYBIERZ ", list, start, -1, -1); }

// The VAT-rate code of the field by the working year's menu, its rate and
// the prices that follow it; false on Esc.
bool ChooseRate(int codePosition, int ratePosition, int listKind) {
  int code = Code(codePosition);
  int chosen = WorkingYear() >= FIRST_YEAR_OF_GROUPED_CODES
                   ? wybierz_kod_stawki_vat(code, 0)
                   : wybierz_stawke_vat(NAZWY_STAWEK_VAT, code, -1, -1, listKind);
  if (chosen < 0) return false;
  f4assign_int(Field(codePosition), chosen);
  ToFieldCopyDouble(Field(ratePosition), wartosc_stawki_vat(Field(codePosition)));
  if (codePosition == USLU_VTZ)
    ServicePurchaseRateChosen();
  else
    ServiceSalesRateChosen();
  return true;
}

// Opens the field's list at once: a choice is stored, its text shown and
// the cursor goes on; Esc moves it up and changes nothing.
int ChooseKeys(Get4* get, char* editBuffer, int32_t which) {
  int year = WorkingYear();
  bool chosen = false;
  int item = -1;
  switch (which) {
    case CHOICE_VTZ: chosen = ChooseRate(USLU_VTZ, USLU_VSZ, PURCHASE_RATE_LIST); break;
    case CHOICE_VTS: chosen = ChooseRate(USLU_VTS, USLU_VSS, SALES_RATE_LIST); break;
    case CHOICE_GTU: {
      int gtu = Code(USLU_RE2);
      item = Menu(ListaOznaczenGtu(year), gtu == 0 ? GTU_NONE_ITEM : gtu);
      if ((chosen = item > 0)) f4assign_int(Field(USLU_RE2), item);
      break;
    }
    case CHOICE_NAS:
      if ((chosen = (item = Menu(ListaNaSprzedaz(), Code(USLU_NAS))) > 0)) StoreDigit(USLU_NAS, item);
      break;
    case CHOICE_TYZ:
      if ((chosen = (item = Menu(ListaTypuZakupu(), Code(USLU_TYZ))) > 0)) {
        StoreDigit(USLU_TYZ, item);
        // an investment has no cost column
        if (item == INVESTMENT_PURCHASE) StoreDigit(USLU_TYK, 0);
      }
      break;
    case CHOICE_TYK:
      if (Code(USLU_TYZ) == INVESTMENT_PURCHASE) return KEY_ENTER;
      if ((chosen = (item = wybierz_kolumne_kosztow(Code(USLU_TYK), -1, -1)) > 0)) StoreDigit(USLU_TYK, item);
      break;
    case CHOICE_CVA:
      if ((chosen = (item = wybierz_odliczenie_vat(DeductionCode(), year)) > 0)) StoreDigit(USLU_CVA, item);
      break;
    case CHOICE_TYP:
      if ((chosen = (item = Menu(ListaTypuPrzychodu(), Code(USLU_TYP))) > 0)) StoreDigit(USLU_TYP, item);
      break;
    case CHOICE_RYT:
      item = Menu(ListaStawekRyczaltu(year), salesOptions.usualLumpSum);
      if ((chosen = item > 0)) {
        f4assign_int(Field(USLU_RTY), item);
        if (year < FIRST_YEAR_OF_RTY) f4assign_int(Field(USLU_RYT), item);
        ToFieldCopyDouble(Field(USLU_RYS), StawkaRyczaltu(item));
      }
      break;
    default: break;
  }
  if (!chosen) return KEY_UP;
  RefreshChoiceTexts();
  // the text shown goes back from the edit buffer when the cursor leaves
  std::memcpy(editBuffer, get->data, static_cast<size_t>(get->dataWidth));
  OdswiezGety();
  return KEY_ENTER;
}

// The typed account number must exist; its identity goes into the field.
int PurchaseAccountValid(Get4* get) { return valid_konto(get, Field(USLU_KOZ), nullptr, nullptr); }
int SalesAccountValid(Get4* get) { return valid_konto(get, Field(USLU_KOS), nullptr, nullptr); }

int CodeIsNew(Get4* get) {
  BrowseContext* browse = CurrentBrowse;
  std::string key(static_cast<const char*>(get->data), static_cast<size_t>(get->dataWidth));
  return ValidUniqueTag(Z5USLU.table, Z5USLU.tag[0], key.c_str(), browse && browse->modify_mode, MSG_CODE_EXISTS);
}

// ---- browse hooks

int NewServiceDefaults() {
  f4assign_int(Field(USLU_VTS), salesOptions.usualVatCode);
  f4assign_int(Field(USLU_VTZ), salesOptions.vatCode14);
  ToFieldCopyDouble(Field(USLU_VSS), wartosc_stawki_vat(Field(USLU_VTS)));
  ToFieldCopyDouble(Field(USLU_VSZ), wartosc_stawki_vat(Field(USLU_VTZ)));
  f4assign_int(Field(USLU_RYT), 1);
  f4assign_int(Field(USLU_RTY), 3);
  ToFieldCopyDouble(Field(USLU_RYS), lumpSumRates[THIRD_LUMP_SUM]);
  StoreDigit(USLU_TYP, 1);
  StoreDigit(USLU_NAS, 1);
  StoreDigit(USLU_TYZ, 1);
  StoreDigit(USLU_TYK, 5);
  f4assign_char(Field(USLU_STA), 'A');
  f4assign_char(Field(USLU_TRC), 'T');
  StoreDigit(USLU_CVA, 1);
  f4assign_int(Field(USLU_RE2), warehouseOptions.servicesMark);
  RefreshChoiceTexts();
  return 0;
}

// "e. BRAK" is stored as 0.
int StoreNoMarkAsZero() {
  if (Code(USLU_RE2) == GTU_NONE_ITEM) f4assign_int(Field(USLU_RE2), 0);
  return 0;
}

int PrepareModify() {
  if (Code(USLU_RE2) == 0) f4assign_int(Field(USLU_RE2), GTU_NONE_ITEM);
  RefreshChoiceTexts();
  return 0;
}

void BlankGtuRow() {
  if (MarksOn() || !CurrentBrowse) return;
  int previous = w4select(CurrentBrowse->record_window);
  w4repeat(PANEL_GTU_ROW - 1, 0, ' ', Desktop.cols);
  w4select(previous);
}

// F6, F7, F8: the current record changed under its lock, written and shown.
template <typename Change>
void ChangeCurrent(Change change) {
  BrowseContext* browse = CurrentBrowse;
  if (EmptyBrowseWarning(browse) != 0) return;
  DbTable* table = Z5USLU.table;
  long record = d4recno(table);
  if (go_and_lock(table, record) != 0) return;
  if (!change()) {
    d4unlock(table);
    return;
  }
  int failed = d4write(table, record) != 0 || d4flush(table) != 0;
  d4unlock(table);
  if (!failed) browse_call(0, record);
}

int ServiceKeys(int key) {
  switch (key) {
    case KEY_F6:
      ChangeCurrent([] {
        f4assign_char(Field(USLU_ZNA), *f4ptr(Field(USLU_ZNA)) == MARK ? ' ' : MARK);
        return true;
      });
      break;
    case KEY_F7:
      ChangeCurrent([] {
        f4assign_char(Field(USLU_STA), *f4ptr(Field(USLU_STA)) == 'A' ? 'N' : 'A');
        return true;
      });
      break;
    case KEY_F8:
      if (!MarksOn()) break;
      ChangeCurrent([] {
        int gtu = Code(USLU_RE2);
        int item = get_menu_function(" WYBIERZ OZNACZENIE ", ListaOznaczenGtu(WorkingYear()),
                                     gtu == 0 ? GTU_NONE_ITEM : gtu, -1, -1);
        if (item < 0) return false;
        f4assign_int(Field(USLU_RE2), item == GTU_NONE_ITEM ? 0 : item);
        return true;
      });
      break;
    default: break;
  }
  return 0;
}

int StandardKeys(int key) {
  hot_keys(key, 0, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, Field(USLU_INF));
  return 0;
}

// ---- menu actions

int32_t Append(int32_t) { return browse_dopisz(0); }
int32_t Modify(int32_t) { return browse_modyfikuj(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }
int32_t Print(int32_t) { return browse_drukuj(); }
int32_t Filters(int32_t) {
  OpenFiltersWindow(&context->filtry);
  return browse_call(0, 0) < 0 ? -1 : 0;
}
int32_t Reduce(int32_t) { return przecena_uslug(0); }
int32_t Recalculate(int32_t) { return przelicz_uslugi(0); }

int32_t ClearMarks(int32_t) {
  if (Pytanie(MSG_ASK_CLEAR_MARKS) == KEY_ESC) return 0;
  return ChangeEveryListed([] { f4assign_char(Field(USLU_ZNA), ' '); });
}

// A sum record of the group printout: the code and the name, no values.
bool AppendSumRecord(const char* code, const char* name) {
  DbTable* copy = UslugaTmp.table;
  if (d4append_start(copy, 0) != 0) return false;
  d4blank(copy);
  f4assign(UslugaTmp.field[USLU_KOD], code);
  f4assign(UslugaTmp.field[USLU_NA1], name);
  return d4append(copy) == 0;
}

// Copies the listed services in code order into the temporary table, each
// group of one three-character prefix closed by its sum record and the
// whole by the total; false on an engine error.
bool CopyGroups() {
  BrowseContext* browse = CurrentBrowse;
  DbTable* copy = UslugaTmp.table;
  int width = static_cast<int>(d4record_width(Z5USLU.table));
  d4tag_select(Z5USLU.table, Z5USLU.tag[0]);
  char group[GROUP_PREFIX + 1] = {};
  bool any = false;
  int moved = x4top(&browse->scan);
  for (; moved == 0; moved = x4skip(&browse->scan, 1)) {
    const char* code = f4ptr(Field(USLU_KOD));
    bool sameGroup = any && std::memcmp(code, group, GROUP_PREFIX) == 0;
    if (any && !sameGroup && !AppendSumRecord((std::string(group) + "***").c_str(), " Suma grupy ")) return false;
    if (!sameGroup) std::memcpy(group, code, GROUP_PREFIX);
    if (d4append_start(copy, 0) != 0) return false;
    std::memcpy(d4record(copy), d4record(Z5USLU.table), static_cast<size_t>(width));
    if (sameGroup) std::memset(f4ptr(UslugaTmp.field[USLU_KOD]), ' ', GROUP_PREFIX);
    if (d4append(copy) != 0) return false;
    any = true;
  }
  if (moved < 0) return false;
  if (!any) return true;
  if (!AppendSumRecord((std::string(group) + "***").c_str(), " Suma grupy ")) return false;
  return AppendSumRecord(std::string(f4len(Field(USLU_KOD)), '*').c_str(), " RAZEM      ");
}

int32_t PrintGroups(int32_t) {
  BrowseContext* browse = CurrentBrowse;
  DbTable* table = Z5USLU.table;
  if (set_lock(table, -1) != 0) return browse_call(0, 0) < 0 ? -1 : 0;
  if (NameUslugaTmp() != 0 || CreateUslugaTmp() != 0) {
    d4unlock(table);
    return browse_call(0, 0) < 0 ? -1 : 0;
  }
  InitDbScan(&browse->scan, nullptr, nullptr, 0, 0);
  int waiting = ShowWaitNotice();
  bool copied = CopyGroups();
  HideWaitNotice(waiting);
  DbScan(&browse->scan, DBSCAN_SAVED_TAG | DBSCAN_SAVED_RECORD);
  if (copied) {
    if (!BrowsePrintTabulogram) {
      Informacja(Utf8ToMazText("Drukowanie nie jest jeszcze dostępne.").c_str());
    } else {
      MenuKeySource keys = EnvCurrent()->menuKeyRoutine;   // the printing sets its own
      DbScanCtx scan{};
      x4init(&scan, UslugaTmp.table, nullptr, 0);
      BrowsePrintTabulogram(context->grupy, &scan, UslugaTmp.table, nullptr, MSG_TITLE, TextRef(), nullptr, 0);
      n4char_routine(keys);
    }
  }
  d4close(UslugaTmp.table);
  RemoveUslugaTmp();
  d4unlock(table);
  if (!copied) return -1;
  return browse_call(0, 0) < 0 ? -1 : 0;
}

// The search of the browse's seek window: the typed text (upper case) is
// sought on the tag; the list is shown from the record found or the next
// one, and stays where it stood past the end.
int Search(const char* prompt, int tag, int position) {
  BrowseContext* browse = CurrentBrowse;
  int width = static_cast<int>(f4len(Field(position)));
  char text[64];
  std::memset(text, ' ', static_cast<size_t>(width));
  text[width] = '\0';
  int previous = w4select(browse->seek_window);
  w4activate(browse->seek_window);
  w4clear(0);
  w4(0, 0, prompt);
  g4(0, static_cast<int>(std::strlen(prompt)), text);
  g4upper();
  int key = g4read();
  w4deactivate(browse->seek_window);
  w4select(previous);
  if (key != KEY_ENTER) return 0;
  long standing = d4recno(Z5USLU.table);
  InitDbScan(&browse->scan, nullptr, nullptr, 0, 0);
  d4tag_select(Z5USLU.table, Z5USLU.tag[tag]);
  int found = x4seek(&browse->scan, text);
  if (found < 0) return -1;
  return browse_call(0, found == 0 || found == 2 ? d4recno(Z5USLU.table) : standing) < 0 ? -1 : 0;
}
int32_t SearchCode(int32_t) { return Search("Szukaj kodu us\x92ugi - ", 0, USLU_KOD); }
int32_t SearchName(int32_t) { return Search("Szukaj nazwy us\x92ugi - ", 1, USLU_NA1); }

// ---- the lists of one run

void DefineColumns(kontekst_kartoteki_uslug& c) {
  ResetScrollDefinition(c.kolumny, sizeof c.kolumny);
  DefineScrollColumn(&Z5USLU.field[USLU_ZNA], 0, "Z");
  DefineScrollColumn(&Z5USLU.field[USLU_STA], 0, "S");
  if (MarksOn()) {
    DefineScrollColumn(&Z5USLU.field[USLU_RE2], SCROLL_FIXED_WIDTH, "OZ")->valueRoutine = [](ColumnValue* value) {
      int gtu = Code(USLU_RE2);
      value->type = 'C';
      value->length = 2;
      std::snprintf(value->text, sizeof value->text, gtu == 0 ? "  " : "%2d", gtu);
    };
  }
  DefineScrollColumn(&Z5USLU.field[USLU_KOD], 0, "kod")->tag = &Z5USLU.tag[0];
  DefineScrollColumn(&Z5USLU.field[USLU_NA1], 0, "nazwa")->tag = &Z5USLU.tag[1];
  DefineScrollColumn(&Z5USLU.field[USLU_CSN], 0, "cena A");
  DefineScrollColumn(&Z5USLU.field[USLU_CZN], 0, "cena zakupu");
}

// The panel's rows count from 1 over the window's first row.
void PanelText(int row, int col, int position, const char* const* codeTexts = nullptr) {
  TextCtrl* text = DefineTextCtrl(row - 1, col, &Z5USLU.field[position], 0);
  if (text) text->codeTexts = codeTexts;
}

void DefinePanel(kontekst_kartoteki_uslug& c) {
  ResetTextCtrlDefinition(c.panel, sizeof c.panel);
  for (int i = 0; i < 6; i++) PanelText(1 + i, 9, USLU_NA1 + i);
  PanelText(1, 61, USLU_JED);
  PanelText(3, 61, USLU_KWU);
  if (MarksOn()) PanelText(PANEL_GTU_ROW, 13, USLU_RE2, ListaOznaczenGtu(WorkingYear()));
  PanelText(9, 14, USLU_CZN);
  PanelText(9, 32, USLU_CZB);
  PanelText(9, 54, USLU_VTZ, NAZWY_STAWEK_VAT);
  PanelText(9, 74, USLU_VSZ);
  PanelText(10, 54, USLU_VTS, NAZWY_STAWEK_VAT);
  PanelText(10, 74, USLU_VSS);
  const int prices[3][2] = {{USLU_CSN, USLU_CSB}, {USLU_CBN, USLU_CBB}, {USLU_CCN, USLU_CCB}};
  for (int i = 0; i < 3; i++) {
    PanelText(11 + i, 14, prices[i][0]);
    PanelText(11 + i, 32, prices[i][1]);
  }
  PanelText(12, 64, RateCodePosition(), ListaStawekRyczaltu(WorkingYear()));
  PanelText(15, 9, USLU_UWA);
}

EditCtrl* FieldEdit(int row, int col, int position, GetValidator validator = nullptr) {
  EditCtrl* e = DefineEditCtrl(row, col, &Z5USLU.field[position], EDIT_DATE);
  e->validator = validator;
  return e;
}
void ChoiceEdit(int row, int col, char* text, Choice which) {
  EditCtrl* e = DefineEditCtrl(row, col, text, EDIT_TEXT | EDIT_DIRECT);
  e->keyRoutine = ChooseKeys;
  e->routineData = which;
}

void AccountEdit(int row, int col, char* number, GetValidator validator) {
  EditCtrl* e = DefineEditCtrl(row, col, number, EDIT_TEXT | EDIT_DIRECT);
  e->picture = "999-9999";
  e->keyRoutine = konto_f4_lista;
  e->validator = validator;
}

void DefineForm(kontekst_kartoteki_uslug& c) {
  ResetTextCtrlDefinition(c.teksty, sizeof c.teksty);
  DefineTextCtrl(0, 8, &Z5USLU.field[USLU_KOD], TEXT_HIDDEN);
  ResetEditCtrlDefinition(c.pola, sizeof c.pola);
  EditCtrl* code = FieldEdit(0, 8, USLU_KOD, CodeIsNew);
  code->flags |= EDIT_UPPER;
  for (int i = 0; i < 6; i++) FieldEdit(2 + i, 1, USLU_NA1 + i);
  FieldEdit(1, 56, USLU_KWU);
  FieldEdit(2, 56, USLU_JED);
  ChoiceEdit(5, 51, c.tekst_vtz, CHOICE_VTZ);
  ChoiceEdit(6, 51, c.tekst_vts, CHOICE_VTS);
  FieldEdit(5, 72, USLU_VSZ)->flags |= EDIT_DISABLED;
  FieldEdit(6, 72, USLU_VSS)->flags |= EDIT_DISABLED;
  if (MarksOn()) ChoiceEdit(8, 5, c.tekst_gtu, CHOICE_GTU);
  FieldEdit(12, 24, USLU_CZN, ServicePurchaseNetLeft);
  FieldEdit(12, 44, USLU_CZB, ServicePurchaseGrossLeft);
  AccountEdit(12, 65, c.konto_zakupu, PurchaseAccountValid);
  FieldEdit(14, 73, USLU_TRC)->keyRoutine = wybierz_tak_nie;
  const int prices[3][2] = {{USLU_CSN, USLU_CSB}, {USLU_CBN, USLU_CBB}, {USLU_CCN, USLU_CCB}};
  for (int i = 0; i < 3; i++) {
    FieldEdit(16 + i, 24, prices[i][0], ServiceSellingNetLeft);
    FieldEdit(16 + i, 44, prices[i][1], ServiceSellingGrossLeft);
    if (i == 0) AccountEdit(16, 65, c.konto_sprzedazy, SalesAccountValid);
  }
  ChoiceEdit(20, 15, c.tekst_nas, CHOICE_NAS);
  ChoiceEdit(21, 15, c.tekst_tyz, CHOICE_TYZ);
  ChoiceEdit(22, 15, c.tekst_tyk, CHOICE_TYK);
  ChoiceEdit(20, 58, c.tekst_cva, CHOICE_CVA);
  ChoiceEdit(21, 58, c.tekst_typ, CHOICE_TYP);
  ChoiceEdit(22, 58, c.tekst_ryt, CHOICE_RYT);
  FieldEdit(23, 8, USLU_UWA);
}

void DefineFilters(kontekst_kartoteki_uslug& c) {
  ResetFiltersDefinition(&c.filtry, c.pozycje_filtrow, sizeof c.pozycje_filtrow);
  DefineFilter(FilterFld(Field(USLU_KOD)), "kod us\x92ugi.....", "kod:", FILTER_TEXT, FILTER_UPPER, 0, nullptr, 0,
               nullptr);
  DefineFilter(FilterFld(Field(USLU_ZNA)), "znacznik.......", "znacznik", FILTER_YES_NO, 0,
               static_cast<uint32_t>(FILTER_IF_EQUAL | static_cast<unsigned char>(MARK)));
  if (MarksOn()) {
    FilterItem* gtu = DefineFilter(FilterFld(Field(USLU_RE2)), "oznaczenie.....", "oznaczenie:", FILTER_CHOICE, 0,
                                   ListaOznaczenGtu(WorkingYear()));
    if (gtu) gtu->own_test.code = [](DbField* field, int32_t code, DbTable*) {
      int stored = c4atoi(f4ptr(field), static_cast<int>(f4len(field)));
      return stored == (code == GTU_NONE_ITEM ? 0 : code) ? X4_ACCEPT : X4_REJECT;
    };
  }
}

void DefineTabulograms(kontekst_kartoteki_uslug& c) {
  ResetTabuDefinition(c.tabulogram, sizeof c.tabulogram);
  int column = 1;
  DefineTabuColumn("kod", nullptr, &Z5USLU.field[USLU_KOD], TABU_CHOSEN, column++);
  DefineTabuColumn("nazwa", nullptr, &Z5USLU.field[USLU_NA1], TABU_CHOSEN, column++);
  for (int i = 1; i < 6; i++) DefineTabuColumn(" cd ", nullptr, &Z5USLU.field[USLU_NA1 + i], 0, column++);
  DefineTabuColumn("KWiU", nullptr, &Z5USLU.field[USLU_KWU], 0, column++);
  DefineTabuColumn("j.m", nullptr, &Z5USLU.field[USLU_JED], 0, column++);
  const char* const levels[3] = {"cena A", "cena B", "cena C"};
  const int prices[3][2] = {{USLU_CSN, USLU_CSB}, {USLU_CBN, USLU_CBB}, {USLU_CCN, USLU_CCB}};
  for (int i = 0; i < 3; i++) {
    int chosen = i == 0 ? TABU_CHOSEN : 0;
    DefineTabuColumn(levels[i], "netto", &Z5USLU.field[prices[i][0]], chosen, column++);
    DefineTabuColumn("VAT [%]", nullptr, &Z5USLU.field[USLU_VSS], chosen, column++);
    DefineTabuColumn(levels[i], "brutto", &Z5USLU.field[prices[i][1]], chosen, column++);
  }
  DefineTabuColumn("cena zakupu", "netto", &Z5USLU.field[USLU_CZN], 0, column++);
  DefineTabuColumn("VAT [%]", nullptr, &Z5USLU.field[USLU_VSZ], 0, column++);
  DefineTabuColumn("cena zakupu", "brutto", &Z5USLU.field[USLU_CZB], 0, column++);
  DefineTabuColumn("uwagi", nullptr, &Z5USLU.field[USLU_UWA], 0, column++);

  ResetTabuDefinition(c.grupy, sizeof c.grupy);
  column = 1;
  DefineTabuColumn("kod", nullptr, &UslugaTmp.field[USLU_KOD], TABU_CHOSEN, column++);
  DefineTabuColumn("nazwa", nullptr, &UslugaTmp.field[USLU_NA1], TABU_CHOSEN, column++);
  for (int i = 1; i < 6; i++) DefineTabuColumn(" cd ", nullptr, &UslugaTmp.field[USLU_NA1 + i], 0, column++);
  DefineTabuColumn("KWiU", nullptr, &UslugaTmp.field[USLU_KWU], 0, column++);
  DefineTabuColumn("j.m", nullptr, &UslugaTmp.field[USLU_JED], 0, column++);
  DefineTabuColumn("cena A", "netto", &UslugaTmp.field[USLU_CSN], TABU_CHOSEN, column++);
  DefineTabuColumn("cena zakupu", "netto", &UslugaTmp.field[USLU_CZN], TABU_CHOSEN, column++);
  DefineTabuColumn("uwagi", nullptr, &UslugaTmp.field[USLU_UWA], 0, column++);
}

struct MenuEntry {
  const char* text;
  int right, key;
  MenuAction action;
  int32_t* submenu;
};

int MenuWindow(bool bar, std::initializer_list<MenuEntry> items) {
  int window = bar ? DefineMainMenuWindow() : DefineMenuWindow();
  // a submenu item's value stays its own handle, which opens the submenu
  for (const MenuEntry& item : items)
    MenuDefineItem(item.text, item.right, item.key, item.submenu ? -1 : 0, item.action, item.submenu);
  return window;
}

// The bar and its three submenus; the browse lays each submenu out as a bar
// in the bar's place.
void DefineMenus(kontekst_kartoteki_uslug& c) {
  c.menu_usun = MenuWindow(false, {{" Pozycja ", RIGHT_DELETE_ITEM, 'p', Delete, nullptr},
                                   {" Znacznik ", RIGHT_CLEAR_MARKS, 'z', ClearMarks, nullptr}});
  c.menu_szukaj = MenuWindow(false, {{" Kod ", RIGHT_SEARCH_CODE, 'k', SearchCode, nullptr},
                                     {" Nazwa ", RIGHT_SEARCH_NAME, 'n', SearchName, nullptr}});
  c.menu_drukuj = MenuWindow(false, {{" Grupy ", RIGHT_GROUPS, 'g', PrintGroups, nullptr},
                                     {" Tabulogram ", RIGHT_TABULOGRAM, 't', Print, nullptr}});
  c.menu = MenuWindow(true, {{" Dopisz ", RIGHT_APPEND, 'd', Append, nullptr},
                             {" Modyfikuj ", RIGHT_MODIFY, 'm', Modify, nullptr},
                             {" Usu\xA4 ", RIGHT_DELETE, 'u', nullptr, &c.menu_usun},
                             {" Szukaj ", RIGHT_SEARCH, 's', nullptr, &c.menu_szukaj},
                             {" Drukuj ", RIGHT_PRINT, 'r', nullptr, &c.menu_drukuj},
                             {" Filtry ", RIGHT_FILTERS, 'f', Filters, nullptr},
                             {" Przecena ", RIGHT_REDUCE, 'p', Reduce, nullptr},
                             {" Przelicz ", RIGHT_RECALCULATE, 'l', Recalculate, nullptr}});
}

void CloseMenus(kontekst_kartoteki_uslug& c) {
  for (int window : {c.menu_drukuj, c.menu_szukaj, c.menu_usun, c.menu}) w4close(window);
}

}  // namespace

int kartoteka_uslug() {
  auto* c = static_cast<kontekst_kartoteki_uslug*>(take_mem(sizeof(kontekst_kartoteki_uslug)));
  if (!c) return -1;
  kontekst_kartoteki_uslug* outer = context;
  context = c;
  int previous = w4select(-1);
  DefineColumns(*c);
  DefinePanel(*c);
  DefineForm(*c);
  DefineFilters(*c);
  DefineTabulograms(*c);
  DefineMenus(*c);
  BrowseContext* browse = nullptr;
  int result = allocate_browse(&browse, Z5USLU.table, Z5USLU.tag[0], c->kolumny, c->menu);
  if (result == 0) {
    browse->title = MSG_TITLE;
    browse->print_title = MSG_TITLE;
    browse->print_columns = c->tabulogram;
    browse->record_texts = c->panel;
    browse->record_lines_source = []() -> int16_t { return RES_PANEL; };
    browse->record_lines_count = PANEL_LINES;
    browse->edit_texts = c->teksty;
    browse->append_edits = c->pola;
    browse->edit_lines_source = []() -> int16_t { return RES_FORM; };
    browse->edit_lines_count = FORM_LINES;
    browse->stamp_field = Field(USLU_INF);
    browse->filter_fn = FilterFunction;
    browse->filter_data = reinterpret_cast<intptr_t>(&c->filtry);
    browse->before_new = NewServiceDefaults;
    browse->on_validate = StoreNoMarkAsZero;
    browse->modify_hooks[MODIFY_PREPARE] = PrepareModify;
    browse->modify_hooks[MODIFY_AFTER] = StoreNoMarkAsZero;
    browse->after_show_record = BlankGtuRow;
    browse->key_hook = ServiceKeys;
    browse->pre_key_hook = StandardKeys;
    add_help_line();
    set_fun_help("F6", "Znacznik", 6);
    set_fun_help("F7", "Status", 7);
    if (MarksOn()) set_fun_help("F8", "Oznaczenie", 8);
    result = zrob_browse(PANEL_LINES, FORM_LINES, 0);
    remove_help_line();
    free_browse(&browse);
  }
  CloseMenus(*c);
  FreeFilters(&c->filtry);
  context = outer;
  free_mem(&c);
  w4select(previous);
  return result;
}

int kartoteka_uslug_z_dokumentu() {
  if (!pass_tab_test(RIGHT_WAREHOUSE) || !pass_tab_test(RIGHT_SERVICES)) return 0;
  return RunFromList(kartoteka_uslug);
}
