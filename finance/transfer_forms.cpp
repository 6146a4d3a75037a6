// The screens and field lists of transfer orders and the four texts they
// show for the order kind, the two party kinds and the payer's account kind.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "sales/document_kinds.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "ui/definition_lists.h"
#include "ui/message_box.h"
#include "ui/validators.h"

namespace {

constexpr int16_t RES_ORDINARY = 19;
constexpr int ZUS_FROM_YEAR = 2018;
constexpr uint32_t FIELD = EDIT_DATE, SHOWN_TEXT = EDIT_TEXT | EDIT_DIRECT | EDIT_DISABLED;

TransferTexts texts;

DbField** Slot(int field) { return &Z5PLEW.field[field]; }

// The entry `n` (from 1) of a list, or blanks.
void Fill(char* buffer, const char* const* list, int count, long n) {
  std::memset(buffer, ' ', TRANSFER_TEXT_WIDTH);
  buffer[TRANSFER_TEXT_WIDTH] = 0;
  if (n < 1 || n > count) return;
  const char* text = Sys(list[n - 1]);
  std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(TRANSFER_TEXT_WIDTH)));
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

void DateField(int row, int col) { Field(row, col, PLEW_DAP)->picture = "DD-MM/YY"; }

void FormOfPayment(int row, int col) { Field(row, col, PLEW_ROW, EDIT_UPPER)->keyRoutine = wybierz_P_W; }

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
  Field(6, 32, PLEW_KOO, EDIT_UPPER | (zus ? EDIT_DISABLED : 0));
  Field(7, 8, PLEW_NO1, zus ? EDIT_DISABLED : 0);
  if (!zus) {
    Field(8, 8, PLEW_NO2);
    Field(9, 8, PLEW_AO1);
    Field(10, 8, PLEW_AO2);
    Field(11, 8, PLEW_BAO);
  }
  Field(12, 8, PLEW_KNO, zus ? EDIT_DISABLED : 0);
  Field(14, 32, PLEW_KOZ, EDIT_UPPER);
  int row = 15;
  for (int field : {PLEW_NZ1, PLEW_NZ2, PLEW_AZ1, PLEW_AZ2, PLEW_BAZ, PLEW_KNZ}) Field(row++, 8, field);
  FormOfPayment(22, 19);
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
  Fill(texts.orderKind, kinds, 4, f4long(Z5PLEW.field[PLEW_TYP]));
}

bool PrzelewDoZus() {
  int year = std::max(WorkingYear(), date4year(get_cur_das(0)));
  std::string payee = QuickStr(f4ptr(Z5PLEW.field[PLEW_KOO]), f4len(Z5PLEW.field[PLEW_KOO]), QS_UPPER | QS_RTRIM);
  return year >= ZUS_FROM_YEAR && payee == "ZUS";
}

int16_t DefineTransferForm(int kind, EditCtrl* edits, int size) {
  ResetEditCtrlDefinition(edits, size);
  if (kind != 1) return 0;
  OrdinaryFields();
  return RES_ORDINARY;
}
