// The sales register reached through the real program, headless: START into
// a firm, " Sprzedaż " over a seeded main register of working year 2025.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

class RegisterRoadTest : public SalesRoadTest {
 protected:
  // The firm's main register of 2025 with one document due nothing.
  void SeedRegister() {
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "7"}, {"NA1", "Hurtownia Zbyt"},
                                {"KNA", "ZBYT"}, {"DAW", "20250310"}, {"BRU", "0"}, {"ZAP", "N"}, {"REC", "1"}});
    d4close_all(&env->engine);
  }
  std::string StoredPaidFlag() {
    EXPECT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    EXPECT_EQ(d4go(Z5SPRZ.table, 1), 0);
    std::string zap = FieldText(Z5SPRZ.table, "ZAP");
    d4close_all(&env->engine);
    return zap;
  }
};

TEST_F(RegisterRoadTest, SalesShowsTheDocumentsAndF7MarksNothingDueAsPaid) {
  SeedRegister();
  std::string screen = Run(std::string(LOGO) + INTO_SALES).screen;
  for (const char* text : {" Dopisz ", " Menu ", "Dokumenty sprzedaży 2025", "TYP", "numer", "data wyst",
                           "data VAT", "ozn", "  FV/    7 ", "Hurtownia Zbyt", "kod kontrahenta:ZBYT",
                           "[F3]-Pozycje", "[F5]-PLN-VAT"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
  // F5 switches to the view by the VAT rate and names the next one.
  screen = Run(std::string(LOGO) + INTO_SALES + "{F5}").screen;
  EXPECT_NE(screen.find("[F5]-PLN-księg."), std::string::npos) << screen;

  RunToEnd(std::string(LOGO) + INTO_SALES + "{F7}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(StoredPaidFlag(), "T");
}

// The VAT register names the view F5 switches to from its own starting view,
// and the register's hint comes back with the register.
TEST_F(RegisterRoadTest, VatRegisterKeepsItsOwnF5Hint) {
  SeedRegister();
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  AppendRecord(Z5SPRE.table, {{"TYV", "1"}, {"REK", "1"}, {"NA1", "Towar"}, {"DAV", "20250310"}});
  d4close_all(&env->engine);
  const std::string intoVat = std::string(LOGO) + INTO_SALES + "{F5}ee";
  struct Case {
    const char* keys;
    const char* hint;
  } cases[] = {{"", "[F5]-PLN-VAT"}, {"{F5}", "[F5]-PLN-księg."}, {"{F5}{F5}{F5}", "[F5]-PLN-VAT"},
               {"{F5}{ESC}", "[F5]-PLN-księg."}};
  for (const Case& c : cases) {
    std::string screen = Run(intoVat + c.keys).screen;
    EXPECT_NE(screen.find(c.hint), std::string::npos) << c.keys << "\n" << screen;
  }
}

// " Dopisz " of an invoice FV/1 with a buyer typed by hand, saved with F2;
// the next form left with Esc takes its header away again, so the next
// " Dopisz " proposes FV/2 once more on a new record.
TEST_F(RegisterRoadTest, AnInvoiceIsAddedAndAnAbandonedOneLeavesNoHeader) {
  MakeFirm();
  const std::string dates = "100325{ENTER}100325{ENTER}";   // working year 2025
  const std::string buyer = "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy";
  RunToEnd(std::string(LOGO) + INTO_SALES + "d{ENTER}{ENTER}{F2}" + dates + buyer + "{F2}t" +
           "{ENTER}{F2}{ESC}{ESC}" + "d{ENTER}{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  env->settlementYear = 2025;
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  DbTable* t = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(t), 3);
  ASSERT_EQ(d4go(t, 1), 0);
  EXPECT_FALSE(d4deleted(t));
  const std::pair<const char*, const char*> stored[] = {
      {"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"STM", "1"}, {"TRY", "1"},
      {"ZAP", "N"}, {"NA1", "Odbiorca Testowy"}, {"WAL", "PLN"}};
  for (const auto& [name, value] : stored) {
    std::string text = FieldText(t, name);
    text.erase(0, name == std::string("PRE") ? 0 : text.find_first_not_of(' '));
    EXPECT_EQ(text, value) << name;
  }
  EXPECT_DOUBLE_EQ(f4double(d4field(t, "KZA")), 0);
  ASSERT_EQ(d4go(t, 2), 0);
  EXPECT_TRUE(d4deleted(t)) << "the abandoned FV/2";
  ASSERT_EQ(d4go(t, 3), 0);
  EXPECT_EQ(f4long(d4field(t, "NRV")), 2) << "proposed again";
  EXPECT_EQ(f4long(d4field(t, "REC")), 3);
  EXPECT_TRUE(d4deleted(t)) << "abandoned as well";
  d4close_all(&env->engine);
}

// A document left with Esc and one deleted with " Usuń " stay in the table,
// marked deleted, but the list, its count and its totals leave them out.
TEST_F(RegisterRoadTest, CancelledAndDeletedDocumentsAreNotListed) {
  MakeFirm();
  const std::string invoice = "d{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca{F2}t";
  // FV/1 and FV/2 saved, FV/3 left with Esc, then FV/2 deleted.
  RunToEnd(std::string(LOGO) + INTO_SALES + invoice + "{ESC}" + invoice + "{ESC}" +
           "d{ENTER}{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  RunToEnd(std::string(LOGO) + INTO_SALES + "{DOWN}mut{ESC}{ESC}{ESC}");
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  DbTable* t = Z5SPRZ.table;
  int live = 0, deleted = 0;
  for (long r = 1; r <= d4reccount(t); r++) {
    ASSERT_EQ(d4go(t, r), 0);
    (d4deleted(t) ? deleted : live)++;
  }
  d4close_all(&env->engine);
  EXPECT_EQ(live, 1);
  EXPECT_GE(deleted, 2);

  Outcome list = Run(std::string(LOGO) + INTO_SALES);
  EXPECT_TRUE(Has(list, "FV/    1")) << list.screen;
  EXPECT_FALSE(Has(list, "FV/    2")) << list.screen;
  EXPECT_FALSE(Has(list, "FV/    3")) << list.screen;
  // " Suma " over every document counts the one left.
  Outcome sums = Run(std::string(LOGO) + INTO_SALES + "a{F2}{ENTER}");
  EXPECT_TRUE(Has(sums, "│ilość       │           1  │")) << sums.screen;
}

// Ctrl+P pays the whole amount still due: the header is paid and its
// settlement entry follows.
TEST_F(RegisterRoadTest, CtrlPPaysTheDocumentAndSettlesItsEntry) {
  SeedRegister();
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  SetFields(Z5SPRZ.table, {{"BRU", "63.90"}, {"PLA", "PRZELEW"}, {"PRE", "  FV"}, {"NRV", "1"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  d4close_all(&env->engine);
  RunToEnd(std::string(LOGO) + INTO_SALES + "{CTRL+P}{F2}{ESC}{ESC}");
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 63.90);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  ASSERT_EQ(d4reccount(Z5ROZL.table), 1);
  ASSERT_EQ(d4go(Z5ROZL.table, 1), 0);
  EXPECT_EQ(FieldText(Z5ROZL.table, "ROL"), "R");
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5ROZL.table, "ZAP")), 63.90);
  EXPECT_EQ(FieldText(Z5ROZL.table, "DOK"), "FV/1");
  d4close_all(&env->engine);
}

}  // namespace
