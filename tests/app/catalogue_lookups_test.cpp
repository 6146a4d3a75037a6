// Routines over the catalogue's tables: foreign tax numbers by the countries
// table, the seeks, and the amounts of sales and purchase documents.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/document_seeks.h"
#include "app/settlement.h"
#include "app/transfer_contractor.h"
#include "app/validators.h"
#include "app/vat_services.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "tests/tables/tables_fixture.h"
#include "ui/get4.h"
#include "tests/tables/empty_catalogue.h"

namespace {

class CatalogueLookupsTest : public TablesTest {
 protected:
  // Runs the routine with one key waiting: true when a message took it.
  template <typename F>
  bool Warned(F routine) {
    EXPECT_EQ(HeadlessSetScript("x"), 0);
    routine();
    return HeadlessKeysLeft() == 0;
  }
};

TEST_F(CatalogueLookupsTest, ForeignTaxNumberByTheCountriesTable) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  d4close(Z5KRAJ.table);
  EXPECT_EQ(SprawdzNip("DE123456789"), -5) << "no countries yet";
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  AppendNamed(Z5KRAJ, {{"SUE", "T"}, {"KKR", "DE"}, {"KRA", "Niemcy"}});
  AppendNamed(Z5KRAJ, {{"SUE", "N"}, {"KKR", "US"}, {"KRA", "USA"}});
  d4close(Z5KRAJ.table);
  struct Case {
    const char* text;
    int result;
    bool warned;   // NipOrPeselQuiet
  } cases[] = {
      {"DE123456789", 1, false},
      {"de 123", 1, false},
      {"US987", 2, true},
      {"XX111", 3, true},
      {"1234563218", 0, false},
      {"PL 123-456-32-18", 0, false},
      {"PL1234563218", 0, false},
      {"1234563219", -4, true},
      {"12345632", -3, true},
      {"12345632181", -3, true},
      {"123456321X", -2, true},
      {"", -1, false},
      {"    ", -1, false},
      {"90010100009", -3, false},   // a PESEL
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SprawdzNip(c.text), c.result) << c.text;
    std::string text(c.text);
    Get4 get{};
    get.data = text.data();
    get.dataWidth = static_cast<int>(text.size());
    EXPECT_EQ(Warned([&] { EXPECT_EQ(NipOrPeselQuiet(&get), 0); }), c.warned) << c.text;
    EXPECT_EQ(Z5KRAJ.table, nullptr) << "closed again";
  }
  // a countries table the caller holds open stays open
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  EXPECT_EQ(SprawdzNip("US1"), 2);
  EXPECT_NE(Z5KRAJ.table, nullptr);
  d4close(Z5KRAJ.table);
  // a damaged countries table does not open
  FILE* f = std::fopen((dir + "wspolne/Z5KRAJ.DBF").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("nie tabela", f);
  std::fclose(f);
  EXPECT_EQ(SprawdzNip("DE123456789"), 0);
  env->engine.error_code = 0;
}

TEST_F(CatalogueLookupsTest, SeeksByCodeTaxNumberAndHeader) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendNamed(Z5KHNT, {{"KOD", "ABC"}, {"NIP", "1234563218"}});
  AppendNamed(Z5KHNT, {{"KOD", "ABCD"}, {"NIP", "9999999999"}});
  EXPECT_EQ(SeekKontrahentByKod("ABC"), 0);
  EXPECT_EQ(d4recno(Z5KHNT.table), 1);
  EXPECT_EQ(SeekKontrahentByKod("ABCD"), 0);
  EXPECT_EQ(d4recno(Z5KHNT.table), 2);
  EXPECT_GT(SeekKontrahentByKod("AB"), 0) << "the whole code, not its start";
  EXPECT_EQ(SeekKontrahentByNip("99"), 0);
  EXPECT_EQ(d4recno(Z5KHNT.table), 2);
  EXPECT_GT(SeekKontrahentByNip("5"), 0);

  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendNamed(Z5TOWA, {{"KOD", "T-2"}});
  AppendNamed(Z5TOWA, {{"KOD", "T-1"}});
  EXPECT_EQ(SeekTowarByKod("T-1"), 0);
  EXPECT_EQ(d4recno(Z5TOWA.table), 2);
  EXPECT_GT(SeekTowarByKod("T-3"), 0);

  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  for (int header : {6, 5, 12, 5}) AppendNamed(Z5ZAKE, {{"REK", std::to_string(header)}});
  EXPECT_EQ(SeekZakupLinesByRek(5), 0);
  EXPECT_EQ(d4recno(Z5ZAKE.table), 2) << "the header's first line";
  EXPECT_EQ(SeekZakupLinesByRek(12), 0);
  EXPECT_EQ(d4recno(Z5ZAKE.table), 3);
  EXPECT_GT(SeekZakupLinesByRek(1), 0);
}

TEST_F(CatalogueLookupsTest, PurchaseAmountsToSettle) {
  ASSERT_EQ(OpenZ5ZAKU(0, 0), 0);
  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  // header 5: an invoice; header 6: a correction; header 7 has no lines
  AppendNamed(Z5ZAKE, {{"REK", "5"}, {"WAN", "100"}, {"WAB", "123"}, {"KRN", "1"}});
  AppendNamed(Z5ZAKE, {{"REK", "6"}, {"KRN", "10"}, {"KRV", "9.99"}, {"VAS", "23"}, {"CZO", "4"}});
  AppendNamed(Z5ZAKE, {{"REK", "5"}, {"WAN", "50"}, {"WAB", "54"}, {"RE3", "T"}});
  AppendNamed(Z5ZAKE, {{"REK", "6"}, {"KRN", "20"}, {"KRV", "4.6"}, {"VAS", "23"}, {"CZO", "1"}});
  AppendNamed(Z5ZAKE, {{"REK", "6"}, {"KRN", "5"}, {"KRV", "1.15"}, {"CZO", "9"}, {"RE3", "8"}});
  AppendNamed(Z5ZAKE, {{"REK", "8"}, {"WAN", "999"}, {"WAB", "999"}});
  struct Case {
    int kind, stm, header;
    double expected;
    bool warned;
  } cases[] = {
      {1, 1, 5, 123 + 50, false},   // gross, but the line marked 'T' counts its net
      {1, 0, 5, 150, false},
      {2, 1, 5, 173, false},
      {6, 0, 5, 150, false},
      {7, 1, 5, 0, false},          // another kind adds nothing
      // a correction: its net change, in gross mode with the VAT, worked out for kinds 4, 8, 9
      {3, 1, 6, 10 + 2.3 + 20 + 4.6 + 5, false},
      {4, 0, 6, 35, false},
      {1, 1, 7, 0, true},
  };
  for (const Case& c : cases) {
    AppendNamed(Z5ZAKU, {{"TYV", std::to_string(c.kind)}, {"STM", std::to_string(c.stm)},
                         {"REC", std::to_string(c.header)}});
    int kind = -1;
    double amount = -2;
    EXPECT_EQ(Warned([&] { amount = KwotaZakupuDoRozliczenia(&kind); }), c.warned) << c.kind << "/" << c.header;
    EXPECT_NEAR(amount, c.expected, 1e-9) << c.kind << "/" << c.stm << "/" << c.header;
    EXPECT_EQ(kind, c.kind);
  }
  ASSERT_EQ(d4go(Z5ZAKE.table, 2), 0);
  EXPECT_EQ(KwotaVat(), 2.3);
  EXPECT_EQ(czy_czynnosc_zakupu_4_8_9(), 1);
  ASSERT_EQ(d4go(Z5ZAKE.table, 4), 0);
  EXPECT_EQ(czy_czynnosc_zakupu_4_8_9(), 0);
}

TEST_F(CatalogueLookupsTest, DocumentHeaderAmounts) {
  ASSERT_EQ(OpenZ5ZAKU(0, 0), 0);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, 0), 0);
  struct Case {
    int kind, stm;
    double purchase, sale;
  } cases[] = {
      {1, 1, 123, 123},
      {1, 0, 100, 123},
      {5, 2, 100, 123},
      {3, 0, -10, -12.3},
      {4, 1, -10 - 2.3 - 0.5, -12.3},
  };
  for (const Case& c : cases) {
    Named values = {{"TYV", std::to_string(c.kind)}, {"STM", std::to_string(c.stm)}, {"NET", "100"}, {"BRU", "123"},
                    {"KRN", "-10"}, {"KRV", "-2.3"}};
    AppendNamed(Z5SPRZ, values);
    values.push_back({"KVO", "-0.5"});
    AppendNamed(Z5ZAKU, values);
    int kind = -1;
    EXPECT_NEAR(KwotaZakupuNaglowka(&kind), c.purchase, 1e-9) << c.kind << "/" << c.stm;
    EXPECT_EQ(kind, c.kind);
    kind = -1;
    EXPECT_NEAR(KwotaDoRozliczenia(&kind), c.sale, 1e-9) << c.kind;
    EXPECT_EQ(kind, c.kind);
    EXPECT_NEAR(KwotaDoRozliczenia(nullptr), c.sale, 1e-9);
  }
}

TEST_F(CatalogueLookupsTest, ContractorBecomesTheTransferPayee) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  AppendNamed(Z5KHNT, {{"KOD", "ALFA"}, {"NA1", "  Hurtownia Artykulow Spozywczych i Przemyslowych  "},
                       {"NA2", "ALFA Spolka Jawna"}, {"KOP", "00-950"}, {"MIA", " Warszawa"}, {"ULI", "Prosta 5"},
                       {"BAN", "Bank Polski"}, {"KON", "12 3456 7890"}, {"NIP", "123-456-32-18"}});
  AppendNamed(Z5PLEW, {{"KOZ", "FIRMA"}, {"NZ1", "Nasza firma"}, {"KWO", "150"}, {"SOO", "3"}});
  KontrahentDoPrzelewu();
  const std::pair<const char*, const char*> expected[] = {
      {"KOO", "ALFA"}, {"NO1", "Hurtownia Artykulow Spozywczych i Przemyslowych ALFA"}, {"NO2", "Spolka Jawna"},
      {"AO1", "Prosta 5"}, {"AO2", "00-950 Warszawa"}, {"BAO", "Bank Polski"}, {"KNO", "12 3456 7890"},
      {"NIP", "123-456-32-18"}, {"SOO", "1"}, {"KOZ", "FIRMA"}, {"NZ1", "Nasza firma"}, {"KWO", "150.00"},
  };
  for (const auto& [field, text] : expected) EXPECT_EQ(Trim(d4field(Z5PLEW.table, field)), text) << field;
  // a contractor without a second name line or a postal code
  AppendNamed(Z5KHNT, {{"KOD", "B"}, {"NA1", "Beta"}, {"MIA", "Radom"}});
  KontrahentDoPrzelewu();
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NO1")), "Beta");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NO2")), "");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "AO2")), "Radom");
  EXPECT_EQ(Trim(d4field(Z5PLEW.table, "NIP")), "");
}

TEST_F(CatalogueLookupsTest, ContractorBecomesTheTransferPayer) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  ASSERT_EQ(OpenZ5PLEW(0), 0);
  AppendNamed(Z5KHNT, {{"KOD", "ALFA"}, {"NA1", "  Hurtownia Artykulow Spozywczych i Przemyslowych  "},
                       {"NA2", "ALFA Spolka Jawna"}, {"KOP", "00-950"}, {"MIA", " Warszawa"}, {"ULI", "Prosta 5"},
                       {"BAN", "Bank Polski"}, {"KON", "12 3456 7890"}, {"NIP", "123-456-32-18"}});
  AppendNamed(Z5PLEW, {{"KOO", "ODB"}, {"NO1", "Odbiorca"}, {"NIP", "999"}, {"KWO", "150"}, {"SOZ", "3"},
                       {"SOO", "2"}});
  KontrahentDoPrzelewu2();
  const std::pair<const char*, const char*> expected[] = {
      {"KOZ", "ALFA"}, {"NZ1", "Hurtownia Artykulow Spozywczych i Przemyslowych ALFA"}, {"NZ2", "Spolka Jawna"},
      {"AZ1", "Prosta 5"}, {"AZ2", "00-950 Warszawa"}, {"BAZ", "Bank Polski"}, {"KNZ", "12 3456 7890"},
      {"SOZ", "1"}, {"KOO", "ODB"}, {"NO1", "Odbiorca"}, {"NO2", ""}, {"SOO", "2"}, {"NIP", "999"}, {"KWO", "150.00"},
  };
  for (const auto& [field, text] : expected) EXPECT_EQ(Trim(d4field(Z5PLEW.table, field)), text) << field;
}

}  // namespace
