// The screens and field lists of transfer orders and the four texts they
// show for the order kind, the two party kinds and the payer's account kind.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "ui/definition_lists.h"
#include "ui/message_box.h"
#include "ui/validators.h"

namespace {

constexpr int16_t RES_ORDINARY = 19, RES_ZUS = 18, RES_TAX = 17, RES_VAT = 81;
constexpr int ZUS_FROM_YEAR = 2018;
constexpr int ORDER_KIND_WIDTH = 9;
constexpr uint32_t FIELD = EDIT_DATE, SHOWN_TEXT = EDIT_TEXT | EDIT_DIRECT | EDIT_DISABLED;

TransferTexts texts;
bool withKeys = false;   // the party-code fields open their choosers

DbField** Slot(int field) { return &Z5PLEW.field[field]; }

// The entry `n` (from 1) of a list, or blanks, `width` characters.
void Fill(char* buffer, const char* const* list, int count, long n, int width = TRANSFER_TEXT_WIDTH) {
  std::memset(buffer, ' ', static_cast<size_t>(width));
  buffer[width] = 0;
  if (n < 1 || n > count) return;
  const char* text = Sys(list[n - 1]);
  std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(width)));
}

EditCtrl* Field(int row, int col, int field, uint32_t flags = 0) {
  return DefineEditCtrl(row, col, Slot(field), FIELD | flags);
}

void Shown(int row, int col, char* text) { DefineEditCtrl(row, col, text, SHOWN_TEXT); }

void PopUps(int payeeRow, int payerRow, int bankRow) {
  Shown(0, 69, texts.orderKind);
  Shown(payeeRow, 15, texts.payeeKind);
  Shown(payerRow, 15, texts.payerKind);
  Shown(bankRow, 50, texts.accountKind);
}

EditCtrl* DateField(int row, int col) {
  EditCtrl* e = Field(row, col, PLEW_DAP);
  e->picture = "DD-MM/YY";
  return e;
}

void FormOfPayment(int row, int col) { Field(row, col, PLEW_ROW, EDIT_UPPER)->keyRoutine = wybierz_P_W; }

// From 2018 (working year or date) ZUS orders go on the ordinary screen.
bool ZusOnOrdinaryScreen() { return std::max(WorkingYear(), date4year(get_cur_das(0))) >= ZUS_FROM_YEAR; }

EditCtrl* Code(int row, int field, GetKeyRoutine keys, int32_t data = 0, uint32_t flags = 0) {
  EditCtrl* e = Field(row, 32, field, EDIT_UPPER | flags);
  if (withKeys) {
    e->keyRoutine = keys;
    e->routineData = data;
  }
  return e;
}

void Rows(int row, int col, std::initializer_list<int> fields) {
  for (int field : fields) Field(row++, col, field);
}

// Kind 1; to ZUS from 2018 the symbol, the payee's code, name and account
// are shown only and the payee's address lines have no fields.
void OrdinaryFields() {
  bool zus = PrzelewDoZus();
  PopUps(6, 14, 19);
  DateField(0, 8);
  Field(1, 8, PLEW_KWO, EDIT_THOUSANDS);
  // the ZUS symbol is shown only: the reserved-symbol check is for symbols typed
  EditCtrl* symbol = Field(2, 19, PLEW_SYP, EDIT_UPPER | (zus ? EDIT_DISABLED : 0));
  if (!zus) symbol->validator = SprawdzSymbolPlatnosci;
  Field(3, 8, PLEW_TY1);
  Field(4, 8, PLEW_TY2);
  Code(6, PLEW_KOO, KodOdbiorcyZwyklego, 0, zus ? EDIT_DISABLED : 0);
  Field(7, 8, PLEW_NO1, zus ? EDIT_DISABLED : 0);
  if (!zus) Rows(8, 8, {PLEW_NO2, PLEW_AO1, PLEW_AO2, PLEW_BAO});
  Field(12, 8, PLEW_KNO, zus ? EDIT_DISABLED : 0);
  Code(14, PLEW_KOZ, KodZleceniodawcyZwyklego);
  Rows(15, 8, {PLEW_NZ1, PLEW_NZ2, PLEW_AZ1, PLEW_AZ2, PLEW_BAZ, PLEW_KNZ});
  FormOfPayment(22, 19);
}

void ZusFields() {
  PopUps(3, 11, 15);
  DateField(0, 8);
  Field(1, 8, PLEW_KWO, EDIT_THOUSANDS);
  Field(5, 19, PLEW_TWP, EDIT_UPPER);
  Field(6, 30, PLEW_DEK, EDIT_UPPER);
  Field(7, 19, PLEW_IZO);
  EditCtrl* symbol = Field(8, 19, PLEW_SYP, EDIT_UPPER);
  if (withKeys) symbol->keyRoutine = TypWplatyZus;
  Field(9, 8, PLEW_KNO);
  Code(11, PLEW_KOZ, KodZleceniodawcyUrzedowego, 0);
  Rows(13, 8, {PLEW_NZ1, PLEW_NZ2, PLEW_BAZ, PLEW_KNZ});
  Field(18, 8, PLEW_NIP);
  Field(18, 48, PLEW_IDD, EDIT_UPPER);
  Field(18, 57, PLEW_NRD, EDIT_UPPER);
  FormOfPayment(20, 19);
}

void TaxFields() {
  PopUps(7, 12, 18);
  DateField(0, 8)->validator = DataPrzelewuUrzedu;
  Field(1, 8, PLEW_KWO, EDIT_THOUSANDS);
  Field(2, 24, PLEW_DEK, EDIT_UPPER);
  EditCtrl* symbol = Field(3, 24, PLEW_SYP, EDIT_UPPER);
  if (withKeys) symbol->keyRoutine = SymbolPodatku;
  Field(3, 55, PLEW_IZO, EDIT_UPPER);
  Field(4, 8, PLEW_TY1);
  Field(5, 8, PLEW_TY2);
  Code(7, PLEW_KOO, KodUrzedu);
  Field(9, 8, PLEW_NO1);
  Field(10, 8, PLEW_KNO);
  Code(12, PLEW_KOZ, KodZleceniodawcyUrzedowego, 1);
  Rows(14, 8, {PLEW_NZ1, PLEW_NZ2, PLEW_AZ1, PLEW_AZ2, PLEW_BAZ, PLEW_KNZ});
  Field(20, 48, PLEW_IDD, EDIT_UPPER);
  Field(20, 57, PLEW_NRD, EDIT_UPPER);
  FormOfPayment(22, 19);
}

void VatFields() {
  PopUps(5, 14, 19);
  DateField(0, 19);
  Field(1, 19, PLEW_KWO, EDIT_THOUSANDS);
  Field(1, 57, PLEW_RE2, EDIT_THOUSANDS);
  Field(2, 19, PLEW_SYP, EDIT_DISABLED);
  Field(3, 19, PLEW_TY1);
  Code(5, PLEW_KOO, KodOdbiorcyVat);
  Field(6, 8, PLEW_NIP);
  Rows(7, 8, {PLEW_NO1, PLEW_NO2, PLEW_AO1, PLEW_AO2, PLEW_BAO, PLEW_KNO});
  Code(14, PLEW_KOZ, KodZleceniodawcyVat);
  Rows(15, 8, {PLEW_NZ1, PLEW_NZ2, PLEW_AZ1, PLEW_AZ2, PLEW_BAZ, PLEW_KNZ});
  Field(22, 19, PLEW_ROW, EDIT_DISABLED);
}

}  // namespace

void OdswiezTekstyPrzelewu() {
  static const char* const accounts[] = {"PODSTAWOWE", "POMOCNICZE 1", "POMOCNICZE 2", "POMOCNICZE 3",
                                         "POMOCNICZE 4", "INNE"};
  static const char* const parties[] = {"KONTRAHENT", "URZĄD", "ZUS", "PRACOWNIK", "FIRMA", "WSPÓLNIK", "INNY"};
  static const char* const kinds[] = {"ZWYKŁY", "ZUS", "PODATEK", "PRZ_VAT"};
  Fill(texts.accountKind, accounts, 6, f4long(Z5PLEW.field[PLEW_TYB]));
  Fill(texts.payeeKind, parties, 7, f4long(Z5PLEW.field[PLEW_SOO]));
  Fill(texts.payerKind, parties, 7, f4long(Z5PLEW.field[PLEW_SOZ]));
  // the kind ends the screen's first row
  Fill(texts.orderKind, kinds, 4, f4long(Z5PLEW.field[PLEW_TYP]), ORDER_KIND_WIDTH);
}

bool PrzelewDoZus() {
  std::string payee = QuickStr(f4ptr(Z5PLEW.field[PLEW_KOO]), f4len(Z5PLEW.field[PLEW_KOO]), QS_UPPER | QS_RTRIM);
  return ZusOnOrdinaryScreen() && payee == "ZUS";
}

int16_t DefineTransferForm(int kind, EditCtrl* edits, int size, int keys) {
  ResetEditCtrlDefinition(edits, size);
  withKeys = keys != 0;
  switch (kind) {
    case 1: OrdinaryFields(); return RES_ORDINARY;
    // from 2018 a ZUS order is edited on the ordinary screen in its ZUS variant
    case 2:
      if (ZusOnOrdinaryScreen()) {
        OrdinaryFields();
        return RES_ORDINARY;
      }
      ZusFields();
      return RES_ZUS;
    case 3: TaxFields(); return RES_TAX;
    case 4: VatFields(); return RES_VAT;
    default: return 0;
  }
}
