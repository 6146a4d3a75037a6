// Transfer orders made from a sales document: the sales register's
// " Przelew " and the fill routine it gives the window "PRZELEW".
#include <string>

#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "app/transfer_contractor.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int KIND_WITHOUT_INVOICE = 5;
constexpr long PARTY_CONTRACTOR = 1, ACCOUNT_OTHER = 6;
constexpr int MSG_ISSUE_TRANSFER = 20058;   // "Czy wystawić przelew ?"

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Order(int field) { return Z5PLEW.field[field]; }

const char* KindWord(int kind) {
  switch (kind) {
    case 1: case 3: case 7: case 8: case 9: return "fakt.";
    case 2: case 4: return "rach.";
    case 6: return "fakt.proforma";
    default: return "";
  }
}

// The buyer as the payer: the contractor of the code when it is found
// (the contractors opened for this when they are not), else the document's data.
void Payer() {
  std::string code = QuickStr(f4ptr(H("KNA")), f4len(H("KNA")), QS_RTRIM);
  if (!code.empty()) {
    bool opened = Z5KHNT.table == nullptr;
    if (opened && OpenZ5KHNT(0) != 0) return;   // the payer stays empty
    bool found = SeekKontrahentByKod(code.c_str()) == 0;
    if (found) KontrahentDoPrzelewu2();
    if (opened) {
      d4close(Z5KHNT.table);
      Z5KHNT.table = nullptr;
    }
    if (found) return;
  }
  ToFieldCopyMaxField(Order(PLEW_KOZ), H("KNA"));
  std::string name = std::string(FldQStr(H("NA1"), QS_LTRIM | QS_RTRIM)) + " " + FldQStr(H("NA2"), QS_LTRIM | QS_RTRIM);
  DwieLinie(name, Order(PLEW_NZ1), Order(PLEW_NZ2));
  ToFieldCopyMaxField(Order(PLEW_AZ1), H("ULI"));
  std::string town = std::string(FldQStr(H("KOP"), QS_LTRIM | QS_RTRIM)) + " " + FldQStr(H("MIA"), QS_LTRIM | QS_RTRIM);
  FldCopyString(Order(PLEW_AZ2), town.c_str());
  f4assign_long(Order(PLEW_SOZ), PARTY_CONTRACTOR);
  f4assign_long(Order(PLEW_TYB), ACCOUNT_OTHER);
}

}  // namespace

void WypelnijPrzelewZDokumentu() {
  int kind = 0;
  double amount = KwotaDoRozliczenia(&kind);
  if (kind == KIND_WITHOUT_INVOICE) return;
  ToFieldCopyField(Order(PLEW_DAP), H("DPL"));
  f4assign_double(Order(PLEW_KWO), ROUND(amount * FldKurs(H("KVA")), 2));
  FirmaDoOdbiorcy();
  Payer();
  FldCopyString(Order(PLEW_SYP), "SPRZED");
  std::string number = f4char(H("RE4")) == 'N' ? FldQStr(H("OSM"), QS_LTRIM | QS_RTRIM)
                                               : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
  std::string title = PrintfQStr("%s %s z %s", KindWord(kind), number.c_str(), FldDateQStr(H("DAW")));
  DwieLinie(title, Order(PLEW_TY1), Order(PLEW_TY2));
  f4assign_char(Order(PLEW_ROW), mainOptions.transfer41);
  if (OdswiezFormularzPrzelewu) OdswiezFormularzPrzelewu();
}

int32_t PrzelewDokumentuSprzedazy(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0 || f4int(H("TYV")) == KIND_WITHOUT_INVOICE) return 0;
  if (Pytanie(MSG_ISSUE_TRANSFER) == KEY_ESC) return 0;
  double amount = 0;
  DopiszPrzelew(1, WypelnijPrzelewZDokumentu, &amount, 1);
  return 0;
}
