#include "masterdata/goods_form.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "app/vat_summary.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/choice_menus.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/price_arithmetic.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_CODE_EXISTS = 20153;
constexpr int KEY_CTRL_O = 15;
constexpr int CASH_REGISTER_NONE = 1;
constexpr int FIRST_YEAR_OF_GROUPED_DEDUCTIONS = 2024;
constexpr int FIRST_YEAR_OF_RTY = 2022;

DbField** P(int i) { return &Z5TOWA.field[i]; }
DbField* V(int i) { return Z5TOWA.field[i]; }
int Digit(int i) { return c4atoi(f4ptr(V(i)), 1); }
void SetDigit(int i, int value) {
  char text[2] = {static_cast<char>('0' + value), 0};
  f4assign(V(i), text);
}

// The choice fields of the form, each with the width its text takes there.
enum ChoiceKind { CH_VZT, CH_VST, CH_GTU, CH_NAS, CH_TYZ, CH_TYK, CH_CVA, CH_TYP, CH_LUMP_SUM, CHOICES };
constexpr int CHOICE_WIDTH[CHOICES] = {18, 18, 73, 40, 40, 40, 20, 20, 20};

char* ChoiceBuffer(kontekst_kartoteki_towarow* c, int kind) {
  switch (kind) {
    case CH_VZT: return c->tekst_vzt;
    case CH_VST: return c->tekst_vst;
    case CH_GTU: return c->tekst_gtu;
    case CH_NAS: return c->tekst_nas;
    case CH_TYZ: return c->tekst_tyz;
    case CH_TYK: return c->tekst_tyk;
    case CH_CVA: return c->tekst_cva;
    case CH_TYP: return c->tekst_typ;
    default: return GoodsLumpSumField() == TOWA_RTY ? c->tekst_rty : c->tekst_ryt;
  }
}

// Item `code` of a list as it stands there, "" beyond the list.
const char* Item(const char* const* list, int code) {
  if (code < 1) return "";
  for (int i = 1; list[i]; i++)
    if (i == code) return list[i];
  return "";
}

const char* DeductionText(int code) {
  if (WorkingYear() < FIRST_YEAR_OF_GROUPED_DEDUCTIONS) return Item(NAZWY_ODLICZEN_VAT, code);
  return Item(NAZWY_ODLICZEN_VAT_2024, odliczenie_na_pozycje_menu(code));
}

std::string ChoiceText(int kind) {
  switch (kind) {
    case CH_VZT: return Item(NAZWY_STAWEK_VAT, f4int(V(TOWA_VZT)));
    case CH_VST: return Item(NAZWY_STAWEK_VAT, f4int(V(TOWA_VST)));
    case CH_GTU: return Item(ListaOznaczenGtu(WorkingYear()), GtuItemOfCode(f4int(V(TOWA_RE2))));
    case CH_NAS: return Item(ListaNaSprzedaz(), Digit(TOWA_NAS));
    case CH_TYZ: return Item(ListaTypuZakupu(), Digit(TOWA_TYZ));
    case CH_TYK: return Item(EXPENSE_COLUMNS, Digit(TOWA_TYK));
    case CH_CVA: return DeductionText(Digit(TOWA_CVA));
    case CH_TYP: return Item(ListaTypuPrzychodu(), Digit(TOWA_TYP));
    default: return Item(ListaStawekRyczaltu(WorkingYear()), f4int(V(GoodsLumpSumField())));
  }
}

void PutChoiceText(kontekst_kartoteki_towarow* c, int kind) {
  char* buffer = ChoiceBuffer(c, kind);
  int width = CHOICE_WIDTH[kind];
  std::string text = ChoiceText(kind);
  std::memset(buffer, ' ', static_cast<size_t>(width));
  std::memcpy(buffer, text.data(), std::min<size_t>(text.size(), static_cast<size_t>(width)));
  buffer[width] = '\0';
}

// The menu of a choice field opened on its current value: the code chosen,
// or -1 when the value stays.
int PickChoice(int kind) {
  int year = WorkingYear();
  bool grouped = year >= FIRST_YEAR_OF_GROUPED_CODES;
  switch (kind) {
    case CH_VZT:
    case CH_VST: {
      int code = f4int(V(kind == CH_VZT ? TOWA_VZT : TOWA_VST));
      if (grouped) return wybierz_kod_stawki_vat(code, kind == CH_VST);
      return wybierz_stawke_vat(NAZWY_STAWEK_VAT, code, -1, -1, kind == CH_VZT ? 6 : 5);
    }
    case CH_GTU: {
      int item = ChooseFromList(ListaOznaczenGtu(year), GtuItemOfCode(f4int(V(TOWA_RE2))));
      return item < 0 ? -1 : GtuCodeOfItem(item);
    }
    case CH_NAS: return ChooseFromList(ListaNaSprzedaz(), Digit(TOWA_NAS));
    case CH_TYZ: return ChooseFromList(ListaTypuZakupu(), Digit(TOWA_TYZ));
    case CH_TYK:
      if (Digit(TOWA_TYZ) == 2) return -1;   // an investment purchase has no cost column
      return wybierz_kolumne_kosztow(std::max(Digit(TOWA_TYK) - 1, 0), -1, -1);
    case CH_CVA: return wybierz_odliczenie_vat(Digit(TOWA_CVA), year);
    case CH_TYP: return ChooseFromList(ListaTypuPrzychodu(), Digit(TOWA_TYP));
    default: {
      bool newer = GoodsLumpSumField() == TOWA_RTY;
      int start = newer ? salesOptions.usualLumpSum2022 : salesOptions.usualLumpSum;
      return ChooseFromList(ListaStawekRyczaltu(year), std::max(start, 1));
    }
  }
}

void StoreChoice(int kind, int code) {
  switch (kind) {
    case CH_VZT:
      f4assign_int(V(TOWA_VZT), code);
      ToFieldCopyDouble(V(TOWA_VZS), wartosc_stawki_vat(V(TOWA_VZT)));
      GoodsPurchaseRateChosen();
      break;
    case CH_VST:
      f4assign_int(V(TOWA_VST), code);
      ToFieldCopyDouble(V(TOWA_VSS), wartosc_stawki_vat(V(TOWA_VST)));
      GoodsSalesRateChosen();
      break;
    case CH_GTU: f4assign_int(V(TOWA_RE2), code); break;
    case CH_NAS: SetDigit(TOWA_NAS, code); break;
    case CH_TYZ:
      SetDigit(TOWA_TYZ, code);
      if (code == 2) SetDigit(TOWA_TYK, 0);
      break;
    case CH_TYK: SetDigit(TOWA_TYK, code); break;
    case CH_CVA: SetDigit(TOWA_CVA, code); break;
    case CH_TYP: SetDigit(TOWA_TYP, code); break;
    default:
      f4assign_int(V(TOWA_RTY), code);
      if (GoodsLumpSumField() == TOWA_RYT) f4assign_int(V(TOWA_RYT), code);
      ToFieldCopyDouble(V(TOWA_RYS), StawkaRyczaltu(code));
      break;
  }
}

// A choice field: Enter opens its menu; the keys that move or end pass on,
// typed characters are not taken.
int ChoiceKeys(Get4* get, char* editBuffer, int32_t kind) {
  int key = g4char();
  if (key != KEY_ENTER) return key >= 32 && key <= 255 ? -1 : key;
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  int code = PickChoice(kind);
  if (!c || code < 0) return -1;
  StoreChoice(kind, code);
  RefreshGoodsChoiceTexts(c);
  std::memcpy(editBuffer, ChoiceBuffer(c, kind), static_cast<size_t>(get->dataWidth));
  RedrawGoodsForm();
  return KEY_ENTER;
}

bool Appending() { return CurrentBrowse && CurrentBrowse->edit_mode && !CurrentBrowse->modify_mode; }

// The code field: Ctrl+O fills a new record from the clipboard.
int CodeKeys(Get4*, char* editBuffer, int32_t) {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  if (!c || !c->schowek_pelny || !Appending()) return 0;
  set_fun_help("Ctrl+O", "Schowek-odczyt", 3);
  int key = g4char();
  if (key != KEY_CTRL_O) {
    if (WigetCtrlKey(key)) remove_fun_help("Ctrl+O");
    return key;
  }
  DbTable* table = Z5TOWA.table;
  std::memcpy(d4record(table), c->schowek, d4record_width(table));
  std::memcpy(editBuffer, f4ptr(V(TOWA_KOD)), f4len(V(TOWA_KOD)));
  RefreshGoodsChoiceTexts(c);
  RedrawGoodsForm();
  return -1;
}

int UniqueCode(Get4*) {
  std::string key(f4ptr(V(TOWA_KOD)), f4len(V(TOWA_KOD)));
  return DuplicateRefused(Z5TOWA.table, Z5TOWA.tag[TOWA_TAG_KOD], key.c_str(), MSG_CODE_EXISTS) ? -1 : 0;
}

// The account fields hold the account's identity; the form shows and takes its number.
constexpr int ACCOUNT_WIDTH = 8;
bool AccountsOpen() { return Z5KONT.table != nullptr; }
void AccountNumber(char* buffer, int field) {
  if (AccountsOpen()) {
    numer_konta_wg_rec(buffer, ACCOUNT_WIDTH + 1, V(field));
  } else {
    std::memset(buffer, ' ', ACCOUNT_WIDTH);
    buffer[ACCOUNT_WIDTH] = '\0';
  }
}
void DrawAccount(TextCtrl* entry) {
  char number[ACCOUNT_WIDTH + 1];
  AccountNumber(number, entry->field == P(TOWA_KOZ) ? TOWA_KOZ : TOWA_KOS);
  w4(entry->row, entry->col, number);
}
int PurchaseAccount(Get4* get) { return valid_konto(get, V(TOWA_KOZ), nullptr, nullptr); }
int SalesAccount(Get4* get) { return valid_konto(get, V(TOWA_KOS), nullptr, nullptr); }

// The rate and the lump-sum texts of the record preview: from 2024 the
// deduction text comes from the three-item list.
void DrawDeduction(TextCtrl* entry) { w4(entry->row, entry->col, DeductionText(Digit(TOWA_CVA))); }

EditCtrl* Edit(int row, int col, int field, uint32_t flags = 0) {
  return DefineEditCtrl(row, col, P(field), EDIT_DATE | flags);
}
EditCtrl* Choice(kontekst_kartoteki_towarow* c, int row, int col, int kind) {
  EditCtrl* e = DefineEditCtrl(row, col, ChoiceBuffer(c, kind), EDIT_TEXT | EDIT_DIRECT);
  e->keyRoutine = ChoiceKeys;
  e->routineData = kind;
  return e;
}

}  // namespace

void DrawGtuMark(TextCtrl* entry) {
  w4(entry->row, entry->col, Item(ListaOznaczenGtu(WorkingYear()), GtuItemOfCode(f4int(V(TOWA_RE2)))));
}

GoodsAccounts::GoodsAccounts() {
  if (!Z5KONT.table) opened = OpenZ5KONT(0) == 0;
}

GoodsAccounts::~GoodsAccounts() {
  if (opened && Z5KONT.table) d4close(Z5KONT.table);
}

const int GOODS_PRICE_LEVELS[3][5] = {{TOWA_MRA, TOWA_CSN, TOWA_CSB, TOWA_WSN, TOWA_WSB},
                                      {TOWA_MRB, TOWA_CBN, TOWA_CBB, TOWA_WBN, TOWA_WBB},
                                      {TOWA_MRC, TOWA_CCN, TOWA_CCB, TOWA_WCN, TOWA_WCB}};

int GoodsLumpSumField() { return WorkingYear() >= FIRST_YEAR_OF_RTY ? TOWA_RTY : TOWA_RYT; }
int GtuItemOfCode(int code) { return code == 0 ? GTU_NONE_ITEM : code; }
int GtuCodeOfItem(int item) { return item == GTU_NONE_ITEM ? 0 : item; }
int ChooseFromList(const char* const* list, int start) { return get_menu_function(" WYBIERZ ", list, start, -1, -1); }

int GoodsMarksOn() { return salesOptions.procedureMarks == 'T'; }
int GoodsMarginsOn() { return warehouseOptions.marginPricing != 'N'; }
int GoodsCashRegister() { return warehouseOptions.cashRegisterType != CASH_REGISTER_NONE; }

void RefreshGoodsChoiceTexts(kontekst_kartoteki_towarow* context) {
  for (int kind = 0; kind < CHOICES; kind++) PutChoiceText(context, kind);
  AccountNumber(context->konto_zakupu, TOWA_KOZ);
  AccountNumber(context->konto_sprzedazy, TOWA_KOS);
}

void RedrawGoodsForm() {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  if (c)
    for (TextCtrl* t = c->teksty;; t++) {
      DrawTextCtrl(t);
      if (t->flags & DEF_LAST) break;
    }
  OdswiezGety();
}

void DefineGoodsForm(kontekst_kartoteki_towarow* c) {
  RefreshGoodsChoiceTexts(c);
  const uint8_t margins = GoodsMarginsOn() ? 0 : TEXT_HIDDEN;
  const uint8_t register_ = GoodsCashRegister() ? 0 : TEXT_HIDDEN;
  ResetTextCtrlDefinition(c->teksty, sizeof c->teksty);
  DefineTextCtrl(0, 8, P(TOWA_KOD), 0);
  for (int i = 0; i < 6; i++) DefineTextCtrl(2 + i, 1, P(TOWA_NA1 + i), 0);
  DefineTextCtrl(0, 56, P(TOWA_DZI), register_);
  DefineTextCtrl(1, 56, P(TOWA_KWU), 0);
  DefineTextCtrl(2, 56, P(TOWA_JED), 0);
  DefineTextCtrl(3, 56, P(TOWA_ILO), 0);
  DefineTextCtrl(4, 56, P(TOWA_ILM), 0);
  DefineTextCtrl(6, 52, P(TOWA_VZT), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(6, 71, P(TOWA_VZS), 0);
  DefineTextCtrl(7, 52, P(TOWA_VST), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(7, 71, P(TOWA_VSS), 0);
  DefineTextCtrl(8, 5, P(TOWA_RE2), GoodsMarksOn() ? 0 : TEXT_HIDDEN)->drawRoutine = DrawGtuMark;
  DefineTextCtrl(12, 10, P(TOWA_CZN), 0);
  DefineTextCtrl(12, 25, P(TOWA_CZB), 0);
  DefineTextCtrl(12, 40, P(TOWA_WZN), 0);
  DefineTextCtrl(12, 54, P(TOWA_WZB), 0);
  DefineTextCtrl(12, 69, P(TOWA_KOZ), 0)->drawRoutine = DrawAccount;
  DefineTextCtrl(14, 72, P(TOWA_TRC), 0);
  for (int level = 0; level < 3; level++) {
    int row = 16 + level;
    DefineTextCtrl(row, 3, P(GOODS_PRICE_LEVELS[level][0]), margins);
    DefineTextCtrl(row, 10, P(GOODS_PRICE_LEVELS[level][1]), 0);
    DefineTextCtrl(row, 25, P(GOODS_PRICE_LEVELS[level][2]), 0);
    DefineTextCtrl(row, 40, P(GOODS_PRICE_LEVELS[level][3]), 0);
    DefineTextCtrl(row, 54, P(GOODS_PRICE_LEVELS[level][4]), 0);
  }
  DefineTextCtrl(16, 69, P(TOWA_KOS), 0)->drawRoutine = DrawAccount;
  DefineTextCtrl(20, 14, P(TOWA_NAS), 0)->codeTexts = ListaNaSprzedaz();
  DefineTextCtrl(21, 14, P(TOWA_TYZ), 0)->codeTexts = ListaTypuZakupu();
  DefineTextCtrl(22, 14, P(TOWA_TYK), 0)->codeTexts = EXPENSE_COLUMNS;
  DefineTextCtrl(20, 58, P(TOWA_CVA), 0)->drawRoutine = DrawDeduction;
  DefineTextCtrl(21, 58, P(TOWA_TYP), 0)->codeTexts = ListaTypuPrzychodu();
  DefineTextCtrl(22, 58, P(GoodsLumpSumField()), 0)->codeTexts = ListaStawekRyczaltu(WorkingYear());
  DefineTextCtrl(23, 8, P(TOWA_UWA), 0);

  const uint32_t marginEdit = GoodsMarginsOn() ? 0 : EDIT_SKIP;
  ResetEditCtrlDefinition(c->pola, sizeof c->pola);
  EditCtrl* code = Edit(0, 8, TOWA_KOD, EDIT_UPPER | EDIT_MUST);
  code->validator = UniqueCode;
  code->keyRoutine = CodeKeys;
  for (int i = 0; i < 6; i++) Edit(2 + i, 1, TOWA_NA1 + i);
  Edit(0, 56, TOWA_DZI, GoodsCashRegister() ? 0 : EDIT_SKIP)->picture = "99";
  Edit(1, 56, TOWA_KWU);
  Edit(2, 56, TOWA_JED);
  Edit(3, 56, TOWA_ILO)->validator = GoodsStockLeft;
  Edit(4, 56, TOWA_ILM);
  Choice(c, 6, 52, CH_VZT);
  Choice(c, 7, 52, CH_VST);
  EditCtrl* gtu = Choice(c, 8, 5, CH_GTU);
  if (!GoodsMarksOn()) gtu->flags |= EDIT_SKIP;
  EditCtrl* czn = Edit(12, 10, TOWA_CZN);
  czn->validator = GoodsPurchaseNetLeft;
  czn->keyRoutine = GoodsPurchaseNetKeys;
  Edit(12, 25, TOWA_CZB)->validator = GoodsPurchaseGrossLeft;
  const uint32_t accountEdit = EDIT_TEXT | EDIT_DIRECT | (AccountsOpen() ? 0 : EDIT_SKIP);
  EditCtrl* purchaseAccount = DefineEditCtrl(12, 69, c->konto_zakupu, accountEdit);
  purchaseAccount->picture = "999-9999";
  purchaseAccount->validator = PurchaseAccount;
  purchaseAccount->keyRoutine = konto_f4_lista;
  Edit(14, 72, TOWA_TRC)->keyRoutine = wybierz_tak_nie;
  for (int level = 0; level < 3; level++) {
    int row = 16 + level;
    EditCtrl* margin = Edit(row, 3, GOODS_PRICE_LEVELS[level][0], marginEdit);
    margin->keyRoutine = GoodsMarginKeys;
    margin->routineData = level;
    Edit(row, 10, GOODS_PRICE_LEVELS[level][1])->validator = GoodsSellingNetLeft;
    Edit(row, 25, GOODS_PRICE_LEVELS[level][2])->validator = GoodsSellingGrossLeft;
    if (level == 0) {
      EditCtrl* salesAccount = DefineEditCtrl(16, 69, c->konto_sprzedazy, accountEdit);
      salesAccount->picture = "999-9999";
      salesAccount->validator = SalesAccount;
      salesAccount->keyRoutine = konto_f4_lista;
    }
  }
  Choice(c, 20, 14, CH_NAS);
  Choice(c, 21, 14, CH_TYZ);
  Choice(c, 22, 14, CH_TYK);
  Choice(c, 20, 58, CH_CVA);
  Choice(c, 21, 58, CH_TYP);
  Choice(c, 22, 58, CH_LUMP_SUM);
  Edit(23, 8, TOWA_UWA);
}

int nowy_towar_domyslne() {
  double basic = currentVatRates[VAT_BASIC];
  ToFieldCopyDouble(V(TOWA_ILO), 1);
  f4assign_int(V(TOWA_DZI), 1);
  f4assign_int(V(TOWA_VZT), 1);
  ToFieldCopyDouble(V(TOWA_VZS), basic);
  f4assign_int(V(TOWA_VST), 1);
  ToFieldCopyDouble(V(TOWA_VSS), basic);
  f4assign_int(V(TOWA_RYT), 3);
  f4assign_int(V(TOWA_RTY), 1);
  ToFieldCopyDouble(V(TOWA_RYS), GoodsLumpSumField() == TOWA_RTY ? 3.0 : lumpSumRates[0]);
  for (int field : {TOWA_NAS, TOWA_TYZ, TOWA_TYK, TOWA_TYP, TOWA_CVA}) SetDigit(field, 1);
  const int margins[3] = {TOWA_MRA, TOWA_MRB, TOWA_MRC};
  for (int i = 0; i < 3; i++) ToFieldCopyDouble(V(margins[i]), GoodsMarginsOn() ? warehouseOptions.margin[i] : 0);
  f4assign(V(TOWA_TRC), "T");
  f4assign(V(TOWA_BUT), "N");
  f4assign(V(TOWA_STA), "A");
  if (warehouseOptions.markChanges == 'T') f4assign(V(TOWA_ZNA), "\x9D");
  f4assign_int(V(TOWA_RE2), warehouseOptions.goodsMark);
  if (KontekstTowarow) RefreshGoodsChoiceTexts(KontekstTowarow);
  return 0;
}

int przed_zapisem_towaru() {
  if (f4int(V(TOWA_RE2)) == GTU_NONE_ITEM) f4assign_int(V(TOWA_RE2), 0);
  return 0;
}
