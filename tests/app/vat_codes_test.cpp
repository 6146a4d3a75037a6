// The VAT-rate codes: rates, groups and menu items of every code, the
// deduction codes and their menus, and the tests whether a purchase line,
// a cash-book or settlement record belongs where the callers ask.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/vat_services.h"
#include "env/dates.h"
#include "tables/cash_tables.h"
#include "tables/vat_tables.h"
#include "tests/tables/tables_fixture.h"
#include "ui/display.h"
#include "ui/window4.h"

namespace {

class VatCodesTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    currentVatRates[VAT_REDUCED_2] = 5;
    currentVatRates[VAT_RR_REFUND] = 7;
    mainOptions.taxiLumpSum = 4;
  }
};

TEST_F(VatCodesTest, RateGroupAndMenuItemOfEachCode) {
  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  ASSERT_EQ(d4append_start(Z5ZAKE.table, 0), 0);
  d4blank(Z5ZAKE.table);
  DbField* code = d4field(Z5ZAKE.table, "VAT");
  struct Case {
    int code;
    double rate;
    int group;
    int item;
    int fromMenu;   // the long menu left with Enter on the preselected item
  } cases[] = {
      {0, 23, 0, 5, 3},   {1, 23, 1, 1, 1},   {2, 8, 2, 2, 2},    {3, 0, 3, 5, 3},    {4, 0, 4, 6, 4},
      {5, 0, 3, 5, 3},    {6, 0, 3, 8, 6},    {7, 0, 7, 7, 7},    {8, 5, 8, 3, 8},    {9, 7, 9, 5, 3},
      {10, 0, 7, 7, 7},   {11, 0, 7, 7, 7},   {12, 4, 12, 4, 12}, {13, 0, 3, 5, 3},   {14, 23, 14, 5, 3},
      {15, 23, 15, 5, 3}, {-1, 23, -1, 5, 3},
  };
  for (const Case& c : cases) {
    f4assign_int(code, c.code);
    EXPECT_EQ(wartosc_stawki_vat(code), c.rate) << c.code;
    EXPECT_EQ(grupa_stawki_vat(c.code), c.group) << c.code;
    EXPECT_EQ(pozycja_menu_stawki_vat(c.code), c.item) << c.code;
    Keys("{ENTER}");
    EXPECT_EQ(wybierz_kod_stawki_vat(c.code, 1), c.fromMenu) << c.code;
  }
  // the rate follows the settings as they are now
  currentVatRates[VAT_BASIC] = 22;
  f4assign_int(code, 14);
  EXPECT_EQ(wartosc_stawki_vat(code), 22);
  EXPECT_EQ(kod_stawki_vat_z_menu(9), 9);
  EXPECT_EQ(kod_stawki_vat_z_menu(-1), -1);
}

TEST_F(VatCodesTest, DeductionCodesAndTheirMenus) {
  struct Case {
    int code;
    int item;    // of the 2024 menu
    int stored;  // when that item is chosen
  } cases[] = {
      {0, 0, 0}, {1, 1, 1}, {2, 3, 2}, {3, 2, 4}, {4, 2, 4},   {5, 1, 1},
      {6, 1, 1}, {7, 1, 1}, {8, 2, 4}, {9, 2, 4}, {10, 10, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(odliczenie_na_pozycje_menu(c.code), c.item) << c.code;
    EXPECT_EQ(odliczenie_z_menu(c.item), c.stored) << c.code;
  }
  EXPECT_EQ(odliczenie_z_menu(-1), -1);

  struct Choice {
    int code;
    int year;
    const char* keys;
    int stored;
  } choices[] = {
      {3, 2023, "{ENTER}", 3},   {3, 2023, "{DOWN}{ENTER}", 4}, {0, 2023, "9", 9},
      {3, 2024, "{ENTER}", 4},   {7, 2025, "{ENTER}", 1},       {1, 2024, "3", 2},
      {2, 2024, "{ESC}", -1},    {2, 2023, "{ESC}", -1},
  };
  for (const Choice& c : choices) {
    Keys(c.keys);
    EXPECT_EQ(wybierz_odliczenie_vat(c.code, c.year), c.stored) << c.code << " " << c.year << " " << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.code << " " << c.year << " " << c.keys;
  }
}

TEST_F(VatCodesTest, DeductionMenusOfBothYears) {
  struct Case {
    int year;
    std::vector<const char*> items;
  } cases[] = {
      // the wider list last: it covers the smaller one
      {2024, {"1. TAK", "2. TAK 50%", "3. NIE"}},
      {2023, {"1. TAK", "3. Paliwa", "5. Śr.Tr.UE 100%", "8. Śr.Tr.UE  50%", "9. Art.28b   50%"}},
  };
  for (const Case& c : cases) {
    Keys("");
    EXPECT_THROW(wybierz_odliczenie_vat(1, c.year), ScriptEnded);
    std::string screen;
    for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
    EXPECT_NE(screen.find("WYBIERZ"), std::string::npos) << screen;
    for (const char* item : c.items) EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
    EXPECT_EQ(screen.find("Paliwa") != std::string::npos, c.year < 2024) << screen;
    w4close(w4select(-1));
  }
}

TEST_F(VatCodesTest, PurchaseLineDeductionKinds) {
  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  ASSERT_EQ(d4append_start(Z5ZAKE.table, 0), 0);
  d4blank(Z5ZAKE.table);
  struct Case {
    const char* czo;
    int deductible, half;
  } cases[] = {
      {" ", 0, 0}, {"1", 1, 0}, {"2", 0, 0}, {"3", 0, 0}, {"4", 1, 1}, {"5", 1, 0},
      {"6", 1, 0}, {"7", 1, 0}, {"8", 1, 1}, {"9", 1, 1},
  };
  for (const Case& c : cases) {
    SetNamed(Z5ZAKE, {{"CZO", c.czo}});
    EXPECT_EQ(czy_czynnosc_zakupu_1_4_9(), c.deductible) << c.czo;
    EXPECT_EQ(czy_czynnosc_zakupu_4_8_9(), c.half) << c.czo;
  }
}

TEST_F(VatCodesTest, CashAndSettlementRecordsOfADocument) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  struct Case {
    int type, year;
    long record;
    int belongs;
  } cases[] = {
      {3, 2025, 17, 1}, {3, 2025, 18, 0}, {4, 2025, 17, 0}, {3, 2024, 17, 0},   // only ROK differs
  };
  for (TableHandles* set : {&Z5KASA, &Z5ROZL}) {
    ASSERT_EQ(d4append_start(set->table, 0), 0);
    d4blank(set->table);
    SetNamed(*set, {{"TYZ", "3"}, {"ROK", "2025"}, {"REK", "17"}});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(czy_zapis_kasy_dokumentu(c.type, c.year, c.record), c.belongs) << c.type << c.year << c.record;
    EXPECT_EQ(czy_rozliczenie_dokumentu(c.type, c.year, c.record), c.belongs) << c.type << c.year << c.record;
  }
}

TEST_F(VatCodesTest, CashSumOfADocumentBetweenDates) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  struct Entry {
    int type, year;
    long record;
    const char* date;
    double amount;
  } entries[] = {
      {3, 2025, 17, "20250110", 100},  {3, 2025, 17, "20250220", 20.5}, {3, 2025, 18, "20250115", 1000},
      {3, 2025, 17, "20250305", -7.25}, {3, 2024, 17, "20250120", 500},
  };
  for (const Entry& e : entries) {
    AppendNamed(Z5KASA, {{"TYZ", std::to_string(e.type)},
                         {"ROK", std::to_string(e.year)},
                         {"REK", std::to_string(e.record)},
                         {"DAT", e.date},
                         {"KWO", std::to_string(e.amount)}});
  }
  long jan = date4long("20250101"), feb = date4long("20250220"), mar = date4long("20250331");
  struct Case {
    long record;
    long from, to;
    double sum;
  } cases[] = {
      {17, jan, mar, 113.25}, {17, jan, feb, 120.5}, {17, feb, 0, 13.25}, {17, 0, feb, 120.5},
      {17, 0, 0, 0},          {17, -1, mar, 0},      {18, jan, mar, 1000}, {19, jan, mar, 0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(suma_kasy_dokumentu(3, 2025, c.record, c.from, c.to), c.sum, 1e-9)
        << c.record << " " << c.from << " " << c.to;
}

}  // namespace
