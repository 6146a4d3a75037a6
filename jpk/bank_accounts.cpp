#include "jpk/bank_accounts.h"

#include <string>

#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "tables/firm_tables.h"

namespace {

constexpr int FIRM_ACCOUNTS = 5;

char* AccountField(const char* prefix, int number, DbField* fallback) {
  DbField* field = fallback;
  if (number >= 1 && number <= FIRM_ACCOUNTS) field = d4field(Z5PAWL.table, (prefix + std::to_string(number)).c_str());
  return field ? MaxFldQStr(field) : QuickStr("", 0, 0);
}

}  // namespace

char* bank_firmy(int number, DbField* fallback) { return AccountField("BAN", number, fallback); }

char* konto_bankowe_firmy(int number, DbField* fallback) { return AccountField("NRR", number, fallback); }
