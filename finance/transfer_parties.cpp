// The routines that fill a party of the current transfer order from a tax
// office, the own firm or a partner.
#include <string>

#include "app/document_text.h"
#include "app/prompts.h"
#include "env/services.h"
#include "jpk/bank_accounts.h"
#include "sales/document_kinds.h"
#include "ui/menu.h"
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

constexpr long PARTY_TAX_OFFICE = 2, PARTY_FIRM = 5;
constexpr int OTHER_ACCOUNT = 6;

DbField* Order(const char* name) { return d4field(Z5PLEW.table, name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }

std::string Trimmed(const char* text) {
  std::string s = text;
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

std::string JoinedFields(DbField* a, DbField* b) {
  std::string first = Trimmed(FldQStr(a, 0)), second = Trimmed(FldQStr(b, 0));
  return first.empty() || second.empty() ? first + second : first + " " + second;
}

// The own firm's account `n` of the choice: its kind's name, bank and number.
struct FirmAccount {
  std::string name, bank, number;
};

FirmAccount ChosenAccount() {
  // entry 0 gives the list its width
  static const char* const choices[] = {"1. PODSTAWOWE  ", "1. PODSTAWOWE  ", "2. POMOCNICZE 1", "3. POMOCNICZE 2",
                                        "4. POMOCNICZE 3", "5. POMOCNICZE 4", "6. INNE        ", nullptr};
  static const char* const names[] = {"PODSTAWOWE", "POMOCNICZE 1", "POMOCNICZE 2", "POMOCNICZE 3", "POMOCNICZE 4",
                                      "WSPÓLNIKA"};
  int n = get_menu_function(" WYBIERZ ", choices, 1, -1, -1);
  if (n < 1 || n > OTHER_ACCOUNT) n = 1;   // Esc takes the basic account
  FirmAccount a{Sys(names[n - 1]), "", ""};
  if (n != OTHER_ACCOUNT) {
    a.bank = bank_firmy(n, nullptr);
    a.number = konto_bankowe_firmy(n, nullptr);
  }
  return a;
}

void Refresh() {
  if (OdswiezFormularzPrzelewu) OdswiezFormularzPrzelewu();
}

}  // namespace

void DwieLinie(const std::string& text, DbField* first, DbField* second) {
  std::string a(f4len(first), ' '), b(f4len(second), ' ');
  div_str(text.c_str(), static_cast<int>(text.size()), a.data(), static_cast<int>(a.size()), b.data(),
          static_cast<int>(b.size()), nullptr);
  f4assign_n(first, a.data(), static_cast<unsigned>(a.size()));
  f4assign_n(second, b.data(), static_cast<unsigned>(b.size()));
}

void FirmaDoOdbiorcy() {
  EmptyFields_(Order("KOO"), Order("NO1"), Order("NO2"), Order("AO1"), Order("AO2"), Order("BAO"), Order("KNO"),
               Order("NRD"));
  f4assign_long(Order("SOO"), PARTY_FIRM);
  FirmAccount account = ChosenAccount();
  FldCopyString(Order("KOO"), account.name.c_str());
  FldCopyString(Order("BAO"), Trimmed(account.bank.c_str()).c_str());
  FldCopyString(Order("KNO"), Trimmed(account.number.c_str()).c_str());
  Refresh();
  std::string name = FirmaFlagCNS() == 'T' ? Trimmed(FldQStr(Firm("SKN"), 0)) : JoinedFields(Firm("NA1"), Firm("NA2"));
  DwieLinie(name, Order("NO1"), Order("NO2"));
  std::string line1 = AdresFldsQStr(nullptr, Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM"));
  std::string line2 = AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), nullptr, nullptr, nullptr);
  if (line1.size() > f4len(Order("AO1"))) {
    DwieLinie(line1 + " " + line2, Order("AO1"), Order("AO2"));
  } else {
    FldCopyString(Order("AO1"), line1.c_str());
    FldCopyString(Order("AO2"), line2.c_str());
  }
}

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
