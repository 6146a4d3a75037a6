// The VAT register's printout and its totals reached through the real
// program, headless: " Sprzedaż ", " Menu " > " Ewidencja ", the issue-date
// filter, then " Drukuj " > " Rejestr " and " Suma " with F2 in its viewer,
// over a small seeded firm of working year 2025.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "print/printer.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "tests/app/program_road.h"
#include "tests/print/printed_text.h"
#include "tests/sales/sales_fixture.h"

namespace {

constexpr const char* INTO_SALES = "s{ENTER}s";
// " Menu " > " Ewidencja " from the sales register.
constexpr const char* INTO_VAT_REGISTER = "ee";
// The filter window's issue date from 01-02/25, stored.
constexpr const char* FROM_FEBRUARY = "{DOWN}{DOWN}{ENTER}010225{ENTER}{F2}";

class RegisterPrintoutsRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    printQueue.Start(dir);
  }
  void TearDown() override {
    printQueue.Stop();
    ProgramRoadTest::TearDown();
  }

  void OpenFirm() {
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    env->settlementYear = 2025;
  }


  // Main: FV at 23 % with an OSS line, MP at 8 %, an FK moving a line from
  // code 1 to 2, RU exempt, a final invoice over an advance, and an FV of
  // January the filter leaves out; auxiliary: an invoice to a receipt.
  void SeedFirm() {
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
    RunToEnd(std::string(LOGO) + INTO_SALES + "{ESC}{ESC}");
    OpenFirm();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20250203", {},
             {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}},
              {{"STM", "4"}, {"VAT", "1"}, {"WNE", "50"}, {"WAV", "11.5"}, {"WAB", "61.5"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 7, "MP", "20250204", {},
             {{{"VAT", "2"}, {"WNE", "200"}, {"WAV", "16"}, {"WAB", "216"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 3, 3, "FK", "20250205", {{"TYM", "1"}},
             {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KWNE", "100"},
               {"KWAV", "8"}, {"KWAB", "108"}, {"KRN", "0"}, {"KRV", "-15"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 4, 2, "RU", "20250206", {},
             {{{"VAT", "4"}, {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}}});
    // the final invoice keeps the gross still due after the advance in WAB
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 5, 1, "FV", "20250207", {{"AKT", "1"}},
             {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "73.8"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 6, 1, "FV", "20250115", {},
             {{{"VAT", "1"}, {"WNE", "1000"}, {"WAV", "230"}, {"WAB", "1230"}}});
    AppendSalesDocument(Z5SPRZ_2, Z5SPRE_2, 1, 9, "FP", "20250210", {{"SDR", "3"}, {"VAT", "6.9"}},
             {{{"VAT", "1"}, {"WNE", "30"}, {"WAV", "6.9"}, {"WAB", "36.9"}}});
    d4close_all(&env->engine);
    CharacterPrinting();
  }

  // An EPSON character printer for the register's tabulogram and for the
  // totals printed under the lines' name, kept where the program looks.
  void CharacterPrinting() {
    OpenFirm();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(CreateZ5ESPP(), 0);
    SaveCharacterPrinting({{Z5SPRE.table, "SUM"}, {Z5ESPP.table, "TAB"}});
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
  }

  // The VAT register's menu item `item` from the sales register, the filter
  // window, then `keys`; the register, the sales register and the program
  // are left; the printed page comes back.
  std::string FromVatRegister(const std::string& item, const std::string& keys) {
    RunToEnd(std::string(LOGO) + INTO_SALES + INTO_VAT_REGISTER + item + FROM_FEBRUARY + keys + "{ESC}{ESC}{ESC}{ESC}{ESC}");
    return TakePrintedText(home + "firma1/win.prn");
  }

  NoPrintQueue printQueue;
};

TEST_F(RegisterPrintoutsRoadTest, VatRegisterAndItsTotalsAgree) {
  SeedFirm();
  if (HasFatalFailure()) return;
  // The '*' row gives 533.90 gross: the totals' 497.00 (net 450.00, VAT
  // 47.00, the final invoice at net + VAT) and the auxiliary FP's 36.90.
  std::string reg = FromVatRegister("dr", "{F2}{F2}{ENTER}TTT");
  ExpectGoldenPage("sales", "road_vat_register.txt", reg);
  std::string totals = FromVatRegister("a", "{ESC}{F2}{F2}{ENTER}{ENTER}");
  ExpectGoldenPage("sales", "road_register_totals_77.txt", totals);
}

}  // namespace
