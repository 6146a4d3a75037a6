// The routines that fill a party of the current transfer order from a tax
// office, the own firm or a partner.
#include <string>

#include "app/document_kinds.h"
#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/prompts.h"
#include "app/transfer_contractor.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "jpk/bank_accounts.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "tables/vat_tables.h"
#include "ui/menu.h"
#include "ui/validators.h"

void (*OdswiezFormularzPrzelewu)() = nullptr;

namespace {

constexpr long PARTY_CONTRACTOR = 1, PARTY_TAX_OFFICE = 2, PARTY_FIRM = 5, PARTY_PARTNER = 6;
constexpr int LAST_YEAR_OF_PIT4_ACCOUNT = 2019;
constexpr int OTHER_ACCOUNT = 6;

DbField* Order(const char* name) { return d4field(Z5PLEW.table, name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }
DbField* Partner(const char* name) { return d4field(Z5WSPL.table, name); }

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

// The own firm's account of the choice: its kind, the kind's name, bank and number.
struct FirmAccount {
  int kind;
  std::string name, bank, number;
};

const char* AccountName(int n) {
  static const char* const names[] = {"PODSTAWOWE", "POMOCNICZE 1", "POMOCNICZE 2", "POMOCNICZE 3", "POMOCNICZE 4",
                                      "WSPÓLNIKA"};
  return Sys(names[n - 1]);
}

FirmAccount AccountOf(int n) {
  FirmAccount a{n, AccountName(n), "", ""};
  if (n != OTHER_ACCOUNT) {
    a.bank = Trimmed(bank_firmy(n, nullptr));
    a.number = Trimmed(konto_bankowe_firmy(n, nullptr));
  }
  return a;
}

FirmAccount ChosenAccount() {
  int n = WybierzKontoFirmy(nullptr);
  return AccountOf(n > 0 ? n : 1);   // Esc takes the basic account
}

void Refresh() {
  if (OdswiezFormularzPrzelewu) OdswiezFormularzPrzelewu();
}

}  // namespace

int WybierzKontoFirmy(std::string* name) {
  // entry 0 gives the list its width
  static const char* const choices[] = {"1. PODSTAWOWE  ", "1. PODSTAWOWE  ", "2. POMOCNICZE 1", "3. POMOCNICZE 2",
                                        "4. POMOCNICZE 3", "5. POMOCNICZE 4", "6. INNE        ", nullptr};
  int n = get_menu_function(" WYBIERZ ", choices, 1, -1, -1);
  if (n < 1 || n > OTHER_ACCOUNT) return 0;
  if (name) *name = AccountName(n);
  return n;
}

void DwieLinie(const std::string& text, DbField* first, DbField* second) {
  std::string a(f4len(first), ' '), b(f4len(second), ' ');
  div_str(text.c_str(), static_cast<int>(text.size()), a.data(), static_cast<int>(a.size()), b.data(),
          static_cast<int>(b.size()), nullptr);
  f4assign_n(first, a.data(), static_cast<unsigned>(a.size()));
  f4assign_n(second, b.data(), static_cast<unsigned>(b.size()));
}

namespace {

std::string FirmName() {
  return FirmaFlagCNS() == 'T' ? Trimmed(FldQStr(Firm("SKN"), 0)) : JoinedFields(Firm("NA1"), Firm("NA2"));
}

// The own firm's address into two fields, both broken at blanks when the first line does not fit.
void TwoAddressLines(const std::string& line1, const std::string& line2, DbField* first, DbField* second) {
  if (line1.size() > f4len(first)) {
    DwieLinie(line1 + " " + line2, first, second);
  } else {
    FldCopyString(first, line1.c_str());
    FldCopyString(second, line2.c_str());
  }
}

void FirmAddress(DbField* first, DbField* second) {
  std::string line1 = AdresFldsQStr(nullptr, Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM"));
  std::string line2 = AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), nullptr, nullptr, nullptr);
  TwoAddressLines(line1, line2, first, second);
}

// The own firm as the payer with the account chosen or the basic one.
void FirmPayer(int choose) {
  EmptyFields_(Order("KOZ"), Order("NZ1"), Order("NZ2"), Order("AZ1"), Order("AZ2"), Order("BAZ"), Order("KNZ"),
               Order("NRD"), Order("NIP"));
  f4assign_long(Order("SOZ"), PARTY_FIRM);
  FirmAccount account = choose ? ChosenAccount() : AccountOf(1);
  f4assign_long(Order("TYB"), account.kind);
  FldCopyString(Order("KOZ"), account.name.c_str());
  FldCopyString(Order("BAZ"), account.bank.c_str());
  FldCopyString(Order("KNZ"), account.number.c_str());
  Refresh();
}

bool FieldEmpty(DbField* field) { return Trimmed(FldQStr(field, 0)).empty(); }

void Identifier(char kind, DbField* value) {
  f4assign_char(Order("IDD"), kind);
  ToFieldCopyMaxField(Order("NRD"), value);
}

void PartnerAddress(DbField* first, DbField* second) {
  std::string line1 = AdresFldsQStr(nullptr, nullptr, Partner("MIA"), Partner("ULI"), Partner("NRD"), Partner("NRM"));
  std::string line2 = AdresFldsQStr(Partner("KOD"), nullptr, Partner("MIA"), nullptr, nullptr, nullptr);
  TwoAddressLines(line1, line2, first, second);
}

}  // namespace

void FirmaDoZleceniodawcy(int choose, int variant) {
  FirmPayer(choose);
  std::string name = FirmName();
  if (variant == TRANSFER_ZUS_BEFORE_2018) {
    name = Trimmed(FldQStr(Firm("SKN"), 0));
    if (name.empty()) name = Trimmed(FldQStr(Firm("NA1"), 0));
  }
  DwieLinie(name, Order("NZ1"), Order("NZ2"));
  FirmAddress(Order("AZ1"), Order("AZ2"));
  if (variant == TRANSFER_VAT) return;
  ToFieldCopyMaxField(Order("NIP"), Firm("NIP"));
  if (variant == TRANSFER_TAX || variant == TRANSFER_ZUS_BEFORE_2018) {
    if (variant == TRANSFER_TAX && !FieldEmpty(Firm("NIP")))
      Identifier('N', Firm("NIP"));
    else
      Identifier('R', Firm("REG"));
    if (FieldEmpty(Firm("REG")) && f4char(Firm("FIZF")) == 'T') {
      if (!FieldEmpty(Firm("NRPF")))
        Identifier('P', Firm("NRPF"));
      else
        Identifier(static_cast<char>(f4char(Firm("IDOF"))), Firm("NUDF"));
    }
  }
  if (variant == TRANSFER_ZUS_FROM_2018) ToFieldCopyMaxField(Order("KNO"), Firm("ZN1"));
}

void FirmaDoZleceniodawcyVat() { FirmaDoZleceniodawcy(1, TRANSFER_VAT); }

void FirmaDoOdbiorcy() {
  EmptyFields_(Order("KOO"), Order("NO1"), Order("NO2"), Order("AO1"), Order("AO2"), Order("BAO"), Order("KNO"),
               Order("NRD"));
  f4assign_long(Order("SOO"), PARTY_FIRM);
  FirmAccount account = ChosenAccount();
  FldCopyString(Order("KOO"), account.name.c_str());
  FldCopyString(Order("BAO"), account.bank.c_str());
  FldCopyString(Order("KNO"), account.number.c_str());
  Refresh();
  DwieLinie(FirmName(), Order("NO1"), Order("NO2"));
  FirmAddress(Order("AO1"), Order("AO2"));
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
  if (!Z5USKA.table) return 0;   // no tax office chosen in this form: the payee stays
  UrzadDoPrzelewu(0, d4field(Z5PAWL.table, "ZN3"));
  OdswiezGety();
  return 0;
}

void UrzadPit4DoOdbiorcy() {
  ToFieldCopyMaxField(Order("NO1"), Firm("UNA4"));
  DbField* date = Order("DAP");
  bool micro = FieldEmpty(date) || date4year(f4ptr(date)) > LAST_YEAR_OF_PIT4_ACCOUNT;
  ToFieldCopyMaxField(Order("KNO"), Firm(micro ? "ZN3" : "UNR4"));
  FldCopyString(Order("KOO"), "PIT4URZ");
  FldCopyString(Order("SYP"), "PIT-4");
  f4assign_long(Order("SOO"), PARTY_TAX_OFFICE);
  Refresh();
}

void WspolnikDoZleceniodawcy(int choose, int nipFirst) {
  EmptyFields_(Order("BAZ"), Order("KNZ"));
  ToFieldCopyMaxField(Order("NZ1"), Partner("NAZ"));
  ToFieldCopyMaxField(Order("NZ2"), Partner("IM1"));
  PartnerAddress(Order("AZ1"), Order("AZ2"));
  FirmAccount account = AccountOf(1);
  if (choose) {
    account = ChosenAccount();
    if (account.kind == OTHER_ACCOUNT) {
      account.bank = Trimmed(FldQStr(Partner("BAN"), 0));
      account.number = Trimmed(FldQStr(Partner("KNT"), 0));
    }
  }
  f4assign_long(Order("TYB"), account.kind);
  FldCopyString(Order("BAZ"), account.bank.c_str());
  FldCopyString(Order("KNZ"), account.number.c_str());
  FldCopyString(Order("KOZ"), std::to_string(d4recno(Z5WSPL.table)).c_str());
  bool pesel = !FieldEmpty(Partner("PES"));
  if (nipFirst && !FieldEmpty(Partner("NIP")))
    Identifier('N', Partner("NIP"));
  else if (pesel)
    Identifier('P', Partner("PES"));
  else
    Identifier(static_cast<char>(f4char(Partner("TID"))), Partner("NUD"));
  if (!nipFirst) ToFieldCopyMaxField(Order("NIP"), Partner("NIP"));
  f4assign_long(Order("SOZ"), PARTY_PARTNER);
  Refresh();
}

void WspolnikDoOdbiorcy() {
  ToFieldCopyMaxField(Order("NO1"), Partner("NAZ"));
  ToFieldCopyMaxField(Order("NO2"), Partner("IM1"));
  PartnerAddress(Order("AO1"), Order("AO2"));
  ToFieldCopyMaxField(Order("BAO"), Partner("BAN"));
  ToFieldCopyMaxField(Order("KNO"), Partner("KNT"));
  FldCopyString(Order("KOO"), std::to_string(d4recno(Z5WSPL.table)).c_str());
  f4assign_long(Order("SOO"), PARTY_PARTNER);   // a partner, not the firm
  Refresh();
}

void WypelnijPrzelewZZakupu() {
  DbField* supplier = d4field(Z5ZAKU.table, "KDO");
  std::string code = Trimmed(FldQStr(supplier, 0));
  if (!code.empty() && Z5KHNT.table && SeekKontrahentByKod(code.c_str()) == 0) {
    KontrahentDoPrzelewu();
    return;
  }
  auto purchase = [](const char* name) { return d4field(Z5ZAKU.table, name); };
  ToFieldCopyMaxField(Order("KOO"), supplier);
  DwieLinie(JoinedFields(purchase("NA1"), purchase("NA2")), Order("NO1"), Order("NO2"));
  ToFieldCopyMaxField(Order("AO1"), purchase("ULI"));
  FldCopyString(Order("AO2"), JoinedFields(purchase("KOP"), purchase("MIA")).c_str());
  ToFieldCopyMaxField(Order("NIP"), purchase("NIP"));
  // the supplier is the payee: its kind is the payee's, the payer's account stays
  f4assign_long(Order("SOO"), PARTY_CONTRACTOR);
}
