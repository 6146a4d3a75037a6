// The routines that fill a party of a transfer order: the own firm as payer
// in its variants, a partner, the PIT-4 tax office, a purchase's supplier.
#include <gtest/gtest.h>

#include <string>

#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "tables/vat_tables.h"
#include "tests/finance/common_tables_fixture.h"

namespace {

class TransferPartiesTest : public CommonTablesTest {
 protected:
  void SetUp() override {
    CommonTablesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PLEW(0), 0);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    d4blank(Z5PLEW.table);
  }
  static void Firm(Named fields) {
    d4blank(Z5PAWL.table);
    SetNamed(Z5PAWL, {{"NA1", "Firma Testowa"}, {"SKN", "FT"}, {"ULI", "Polna"}, {"NRD", "7"}, {"KOD", "00-950"},
                      {"MIA", "Warszawa"}, {"BAN1", "Bank Pierwszy"}, {"NRR1", "11 2222"}, {"ZN1", "83 1010 ZUS"}});
    SetNamed(Z5PAWL, fields);
  }
  static std::string O(const char* name) { return Trim(d4field(Z5PLEW.table, name)); }
};

TEST_F(TransferPartiesTest, OwnFirmAsPayerByVariant) {
  const struct {
    const char* name;
    Named firm;
    int variant;
    const char *nz1, *nip, *idd, *nrd, *kno;
  } cases[] = {
      {"ordinary", {{"NIP", "525-000-11-22"}, {"REG", "123456789"}}, TRANSFER_ORDINARY, "Firma Testowa",
       "525-000-11-22", "", "", ""},
      {"tax with NIP", {{"NIP", "525-000-11-22"}, {"REG", "123456789"}}, TRANSFER_TAX, "Firma Testowa",
       "525-000-11-22", "N", "525-000-11-22", ""},
      {"tax without NIP", {{"REG", "123456789"}}, TRANSFER_TAX, "Firma Testowa", "", "R", "123456789", ""},
      {"ZUS before 2018", {{"NIP", "525-000-11-22"}, {"REG", "123456789"}}, TRANSFER_ZUS_BEFORE_2018, "FT",
       "525-000-11-22", "R", "123456789", ""},
      {"ZUS, a person with PESEL", {{"FIZF", "T"}, {"NRPF", "80010112345"}}, TRANSFER_ZUS_BEFORE_2018, "FT", "",
       "P", "80010112345", ""},
      {"ZUS, a person with an identity card", {{"FIZF", "T"}, {"IDOF", "1"}, {"NUDF", "ABC123456"}},
       TRANSFER_ZUS_BEFORE_2018, "FT", "", "1", "ABC123456", ""},
      {"ZUS from 2018", {{"NIP", "525-000-11-22"}}, TRANSFER_ZUS_FROM_2018, "Firma Testowa", "525-000-11-22", "", "",
       "83 1010 ZUS"},
      {"split payment", {{"NIP", "525-000-11-22"}}, TRANSFER_VAT, "Firma Testowa", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Firm(c.firm);
    d4blank(Z5PLEW.table);
    SetNamed(Z5PLEW, {{"NIP", "stary"}, {"NRD", "stary"}});
    FirmaDoZleceniodawcy(0, c.variant);
    EXPECT_EQ(O("NZ1"), c.nz1);
    EXPECT_EQ(O("AZ1"), "Polna 7");
    EXPECT_EQ(O("AZ2"), "00-950 Warszawa");
    EXPECT_EQ(O("SOZ"), "5");
    EXPECT_EQ(O("TYB"), "1");
    EXPECT_EQ(O("KOZ"), "PODSTAWOWE");
    EXPECT_EQ(O("BAZ"), "Bank Pierwszy");
    EXPECT_EQ(O("KNZ"), "11 2222");
    EXPECT_EQ(O("NIP"), c.nip);
    EXPECT_EQ(O("IDD"), c.idd);
    EXPECT_EQ(O("NRD"), c.nrd);
    EXPECT_EQ(O("KNO"), c.kno);
  }
}

TEST_F(TransferPartiesTest, PartnerAsPayerAndPayee) {
  ASSERT_EQ(OpenZ5WSPL(0), 0);
  Firm({});
  Append(Z5WSPL, {});
  Append(Z5WSPL, {});
  SetNamed(Z5WSPL, {{"NAZ", "Kowalski"}, {"IM1", "Jan"}, {"ULI", "Lipowa"}, {"NRD", "3"}, {"KOD", "30-001"},
                    {"MIA", "Kraków"}, {"NIP", "111-222-33-44"}, {"PES", "70010112345"}, {"BAN", "Bank Wspólnika"},
                    {"KNT", "44 5555"}});
  WspolnikDoZleceniodawcy(0, 1);
  EXPECT_EQ(O("NZ1"), "Kowalski");
  EXPECT_EQ(O("NZ2"), "Jan");
  EXPECT_EQ(O("AZ2"), "30-001 Kraków");
  EXPECT_EQ(O("KOZ"), "2");
  EXPECT_EQ(O("SOZ"), "6");
  EXPECT_EQ(O("TYB"), "1");
  EXPECT_EQ(O("BAZ"), "Bank Pierwszy");
  EXPECT_EQ(O("IDD"), "N");
  EXPECT_EQ(O("NRD"), "111-222-33-44");
  // without NIP first: the NIP goes to its field and the identifier is the PESEL
  d4blank(Z5PLEW.table);
  WspolnikDoZleceniodawcy(0, 0);
  EXPECT_EQ(O("NIP"), "111-222-33-44");
  EXPECT_EQ(O("IDD"), "P");
  EXPECT_EQ(O("NRD"), "70010112345");
  // as the payee the partner is of the partner kind, not the firm's
  WspolnikDoOdbiorcy();
  EXPECT_EQ(O("NO1"), "Kowalski");
  EXPECT_EQ(O("BAO"), "Bank Wspólnika");
  EXPECT_EQ(O("KNO"), "44 5555");
  EXPECT_EQ(O("KOO"), "2");
  EXPECT_EQ(O("SOO"), "6");
}

TEST_F(TransferPartiesTest, Pit4OfficeAccountByYear) {
  Firm({{"UNA4", "Urząd Skarbowy Kielce"}, {"UNR4", "22 0000 URZAD"}, {"ZN3", "33 1010 MIKRO"}});
  const struct {
    const char *date, *account;
  } cases[] = {{"20191231", "22 0000 URZAD"}, {"20200101", "33 1010 MIKRO"}, {"", "33 1010 MIKRO"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date);
    d4blank(Z5PLEW.table);
    SetNamed(Z5PLEW, {{"DAP", c.date}});
    UrzadPit4DoOdbiorcy();
    EXPECT_EQ(O("NO1"), "Urząd Skarbowy Kielce");
    EXPECT_EQ(O("KNO"), c.account);
    EXPECT_EQ(O("KOO"), "PIT4URZ");
    EXPECT_EQ(O("SYP"), "PIT-4");
    EXPECT_EQ(O("SOO"), "2");
  }
}

// A supplier not among the contractors is the payee as the document names it.
TEST_F(TransferPartiesTest, PurchaseSupplierAsPayee) {
  ASSERT_EQ(OpenZ5ZAKU(2026, 0), 0);
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  Append(Z5ZAKU, {});
  SetNamed(Z5ZAKU, {{"KDO", "DOST1"}, {"NA1", "Hurtownia"}, {"NA2", "Sp. j."}, {"ULI", "Długa 1"},
                    {"KOP", "25-001"}, {"MIA", "Kielce"}, {"NIP", "657-000-11-22"}});
  SetNamed(Z5PLEW, {{"SOZ", "5"}, {"TYB", "2"}});
  WypelnijPrzelewZZakupu();
  EXPECT_EQ(O("KOO"), "DOST1");
  EXPECT_EQ(O("NO1"), "Hurtownia Sp. j.");
  EXPECT_EQ(O("AO1"), "Długa 1");
  EXPECT_EQ(O("AO2"), "25-001 Kielce");
  EXPECT_EQ(O("NIP"), "657-000-11-22");
  EXPECT_EQ(O("SOO"), "1");
  EXPECT_EQ(O("SOZ"), "5");   // the payer stays the firm with its account
  EXPECT_EQ(O("TYB"), "2");
}

}  // namespace
