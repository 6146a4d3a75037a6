// The routines that fill a party of the current transfer order from a tax
// office, the own firm or a partner.
#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/validators.h"

void (*OdswiezFormularzPrzelewu)() = nullptr;

namespace {

constexpr long PARTY_TAX_OFFICE = 2;

DbField* Order(const char* name) { return d4field(Z5PLEW.table, name); }

void Refresh() {
  if (OdswiezFormularzPrzelewu) OdswiezFormularzPrzelewu();
}

}  // namespace

void UrzadDoPrzelewu(int, DbField* account) {
  EmptyFields_(Order("NO1"), Order("NO2"), Order("AO1"), Order("AO2"), Order("BAO"), Order("KNO"));
  ToFieldCopyMaxField(Order("NO1"), d4field(Z5USKA.table, "NAZ"));
  ToFieldCopyMaxField(Order("BAO"), d4field(Z5USKA.table, "BCP"));
  ToFieldCopyMaxField(Order("KNO"), account);
  FldCopyString(Order("KOO"), FldQStr(d4field(Z5USKA.table, "KOD"), QS_LTRIM | QS_RTRIM));
  f4assign_long(Order("SOO"), PARTY_TAX_OFFICE);
  Refresh();
}

int DataPrzelewuUrzedu(Get4* get) {
  if (test_daty(get) != 0) return -1;
  UrzadDoPrzelewu(0, d4field(Z5PAWL.table, "ZN3"));
  OdswiezGety();
  return 0;
}
