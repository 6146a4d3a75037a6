#include "app/transfer_contractor.h"

#include <string>

#include "app/prompts.h"
#include "db/dbf_table.h"
#include "env/services.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"

namespace {

constexpr int KIND_CONTRACTOR = 1;

DbField* Contractor(const char* name) { return d4field(Z5KHNT.table, name); }
DbField* Order(const char* name) { return d4field(Z5PLEW.table, name); }

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

void Copy(const char* to, const char* from) { f4assign(Order(to), Trimmed(Contractor(from)).c_str()); }

// The fields of one side (payee or payer) of the order; no NIP on the payer's side.
struct PartyFields {
  const char* code;
  const char* name1;
  const char* name2;
  const char* address1;
  const char* address2;
  const char* bank;
  const char* account;
  const char* kind;
  const char* nip;
};

constexpr PartyFields PAYEE = {"KOO", "NO1", "NO2", "AO1", "AO2", "BAO", "KNO", "SOO", "NIP"};
constexpr PartyFields PAYER = {"KOZ", "NZ1", "NZ2", "AZ1", "AZ2", "BAZ", "KNZ", "SOZ", nullptr};

void ContractorInto(const PartyFields& side) {
  Copy(side.code, "KOD");
  std::string name = Joined(Trimmed(Contractor("NA1")), Trimmed(Contractor("NA2")));
  DbField* line1 = Order(side.name1);
  DbField* line2 = Order(side.name2);
  std::string first(f4len(line1), ' '), second(f4len(line2), ' ');
  div_str(name.c_str(), static_cast<int>(name.size()), first.data(), static_cast<int>(first.size()), second.data(),
          static_cast<int>(second.size()), nullptr);
  f4assign_n(line1, first.data(), static_cast<unsigned>(first.size()));
  f4assign_n(line2, second.data(), static_cast<unsigned>(second.size()));
  Copy(side.address1, "ULI");
  f4assign(Order(side.address2), Joined(Trimmed(Contractor("KOP")), Trimmed(Contractor("MIA"))).c_str());
  Copy(side.bank, "BAN");
  Copy(side.account, "KON");
  f4assign_long(Order(side.kind), KIND_CONTRACTOR);
  if (side.nip != nullptr) Copy(side.nip, "NIP");
  OdswiezGety();
}

}  // namespace

void KontrahentDoPrzelewu() { ContractorInto(PAYEE); }

void KontrahentDoPrzelewu2() { ContractorInto(PAYER); }
