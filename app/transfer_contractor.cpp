#include "app/transfer_contractor.h"

#include <string>

#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/services.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"

namespace {

constexpr int PAYEE_CONTRACTOR = 1;

DbField* Contractor(const char* name) { return d4field(Z5KHNT.table, name); }
DbField* Payee(const char* name) { return d4field(Z5PLEW.table, name); }

std::string Trimmed(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

// The non-empty texts joined by one blank.
std::string Joined(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return first + second;
  return first + " " + second;
}

void Copy(const char* to, const char* from) { f4assign(Payee(to), Trimmed(Contractor(from)).c_str()); }

}  // namespace

void KontrahentDoPrzelewu() {
  Copy("KOO", "KOD");
  std::string name = Joined(Trimmed(Contractor("NA1")), Trimmed(Contractor("NA2")));
  DbField* line1 = Payee("NO1");
  DbField* line2 = Payee("NO2");
  std::string first(f4len(line1), ' '), second(f4len(line2), ' ');
  div_str(name.c_str(), static_cast<int>(name.size()), first.data(), static_cast<int>(first.size()), second.data(),
          static_cast<int>(second.size()), nullptr);
  f4assign_n(line1, first.data(), static_cast<unsigned>(first.size()));
  f4assign_n(line2, second.data(), static_cast<unsigned>(second.size()));
  Copy("AO1", "ULI");
  f4assign(Payee("AO2"), Joined(Trimmed(Contractor("KOP")), Trimmed(Contractor("MIA"))).c_str());
  Copy("BAO", "BAN");
  Copy("KNO", "KON");
  f4assign_long(Payee("SOO"), PAYEE_CONTRACTOR);
  Copy("NIP", "NIP");
  OdswiezGety();
}
