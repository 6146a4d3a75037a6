// The printouts of the VAT register reached from its menus on the headless
// screen over one seeded firm: the register, its totals on form 77, the sums
// per account grouped both ways and the margin register, as golden pages.
#include <stdexcept>
#include <string>

#include "db/dbf_table.h"
#include "print/tabulogram.h"
#include "printouts/account_sums.h"
#include "printouts/margin_register.h"
#include "printouts/register_totals.h"
#include "printouts/vat_register_print.h"
#include "sales/vat_register.h"
#include "tables/exchange_tables.h"
#include "tables/layouts.h"
#include "tables/masterdata_tables.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class RegisterPrintoutsTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5KONT(0), 0);
    CharacterPrinting("SUM");
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    // the totals under the lines' name, the tabulograms under their tables'
    SavePrintSettings(Z5SPRE.table, "SUM");
    ASSERT_EQ(CreateZ5ESPP(), 0);
    SavePrintSettings(Z5ESPP.table, "TAB");
    d4close(Z5ESPP.table);
    ASSERT_EQ(CreateZ5ESMA(), 0);
    SavePrintSettings(Z5ESMA.table, "TAB");
    d4close(Z5ESMA.table);
    ASSERT_EQ(CreateZ5KONTES(), 0);
    SavePrintSettings(Z5KONTES.table, "TAB");
    d4close(Z5KONTES.table);
    ResetPrinterState();
  }

  // A document in the main register unless told otherwise, numbered in
  // the register's order by its record number.
  void Document(int rec, int kind, const char* prefix, const char* date, Fields header,
                std::initializer_list<Fields> lines, TableHandles& headers = Z5SPRZ, TableHandles& rows = Z5SPRE) {
    AppendSalesDocument(headers, rows, rec, kind, prefix, date, header, lines);
    if (HasFatalFailure()) return;
    SetFields(headers.table, {{"LPO", std::to_string(rec)}});
    ASSERT_EQ(d4write(headers.table, d4recno(headers.table)), 0);
  }

  // Main: FV at 23 %, MP at 8 %, an FK moving a line from code 1 to 2, BR,
  // RU, a margin FM, an advance FZ and the final invoice over it, an OSS
  // line and one issued before the filter's date; auxiliary: FZ, ZP.
  void SeedFirm() {
    AppendRecord(Z5KONT.table, {{"REC", "1"}, {"NUM", "700-0001"}, {"NAZ", "Sprzedaż towarów"}});
    AppendRecord(Z5KONT.table, {{"REC", "2"}, {"NUM", "730-0001"}, {"NAZ", "Sprzedaż materiałów"}});
    AppendRecord(Z5KONT.table, {{"REC", "3"}, {"NUM", "840-0001"}, {"NAZ", "Pozostałe"}});
    Document(1, 1, "FV", "20260105", {}, {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KON", "1"}},
                                         {{"STM", "4"}, {"VAT", "1"}, {"WNE", "50"}, {"WAV", "11.5"}, {"WAB", "61.5"}}});
    Document(2, 7, "MP", "20260106", {}, {{{"VAT", "2"}, {"WNE", "200"}, {"WAV", "16"}, {"WAB", "216"}, {"KON", "2"}}});
    Document(3, 3, "FK", "20260107", {{"TYM", "1"}},
             {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KWNE", "100"},
               {"KWAV", "8"}, {"KWAB", "108"}, {"KRN", "0"}, {"KRV", "-15"}, {"KON", "1"}}});
    Document(4, 5, "BR", "20260108", {{"RE5", "2"}},
             {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"ZFM", "8"}, {"KON", "3"}}});
    Document(5, 2, "RU", "20260109", {}, {{{"VAT", "4"}, {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}, {"KON", "3"}}});
    Document(6, 8, "FM", "20260110", {}, {{{"VAT", "1"}, {"WNE", "81.3"}, {"WAV", "18.7"}, {"WAB", "100"},
                                           {"ZFM", "60"}, {"KON", "1"}}});
    Document(7, 11, "FZ", "20260111", {}, {{{"VAT", "1"}, {"WNE", "40"}, {"WAV", "9.2"}, {"WAB", "49.2"}}});
    // the final invoice keeps the gross still due after the advance in WAB
    Document(8, 1, "FV", "20260112", {{"AKT", "1"}},
             {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "73.8"}, {"KON", "1"}}});
    Document(9, 1, "FV", "20251230", {}, {{{"VAT", "1"}, {"WNE", "1000"}, {"WAV", "230"}, {"WAB", "1230"}}});
    Document(1, 9, "FP", "20260113", {{"SDR", "3"}, {"VAT", "6.9"}},
             {{{"VAT", "1"}, {"WNE", "30"}, {"WAV", "6.9"}, {"WAB", "36.9"}}}, Z5SPRZ_2, Z5SPRE_2);
    Document(2, 11, "ZP", "20260114", {}, {{{"VAT", "1"}, {"WNE", "20"}, {"WAV", "4.6"}, {"WAB", "24.6"}}},
             Z5SPRZ_2, Z5SPRE_2);
  }

  // The register from its menu: the print item, the filter window with the
  // issue date from 01-01/26 stored, then `keys`, no reset of the filters,
  // and the browse left.
  std::string FromRegister(const std::string& item, const std::string& keys) {
    std::string script = item + "{DOWN}{DOWN}{ENTER}010126{ENTER}{F2}" + keys + "{ESC}{ESC}";
    EXPECT_EQ(HeadlessSetScript(script.c_str()), 0);
    try {
      ewidencja_sprzedazy();
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return Printed();
  }
};

TEST_F(RegisterPrintoutsTest, VatRegisterPage) {
  SeedFirm();
  std::string page = FromRegister("dr", "{F2}{F2}{ENTER}TTT");
  ExpectGolden("vat_register.txt", page);
}

TEST_F(RegisterPrintoutsTest, TotalsOnForm77) {
  SeedFirm();
  std::string page = FromRegister("a", "{ESC}{F2}{F2}{ENTER}{ENTER}");
  ExpectGolden("register_totals_77.txt", page);
}

TEST_F(RegisterPrintoutsTest, SumsPerAccountGroupedBothWays) {
  SeedFirm();
  std::string page = FromRegister("dk", "{ENTER}{END}{ENTER}Td{F2}{F2}{ENTER}{ESC}{ESC}");
  ExpectGolden("account_sums_grouped.txt", page);
}

TEST_F(RegisterPrintoutsTest, MarginRegisterPage) {
  SeedFirm();
  std::string page = FromRegister("dm", "{F2}{F2}{ENTER}T");
  ExpectGolden("margin_register.txt", page);
}

// The register check: a line whose document header is gone asks whether to
// go on; Esc stops the summing, which then reports the stop, 'T' goes on.
TEST_F(RegisterPrintoutsTest, RegisterCheckAsksAtALineWithoutItsHeader) {
  SeedFirm();
  AppendRecord(Z5SPRE.table, {{"REK", "77"}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", "77"}, {"DAV", "20260115"},
                              {"STM", "1"}, {"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}});
  ZrodloRejestruVat source{nullptr, 1, 1, nullptr, nullptr, nullptr};
  struct Case {
    int check;
    const char* keys;
    int result, stopped;
  } cases[] = {{1, "{ESC}", -1, 1}, {1, "T", 0, 0}, {0, "", 0, 0}};
  for (const Case& c : cases) {
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    sumy_rejestru_vat sums{};
    OpcjeSumRejestru options{0, c.check, 0};
    EXPECT_EQ(licz_sumy_rejestru(&sums, &source, &options), c.result) << c.keys;
    EXPECT_EQ(options.przerwano, c.stopped) << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.keys;
    // all main lines but the OSS one, the orphan's 10 among them
    if (c.result == 0) {
      EXPECT_DOUBLE_EQ(sums.netto, 1591.3) << c.keys;
    }
  }
}

// The register's columns follow the accounting year: the receipts pair and
// the markers move with the lump-sum columns of the year.
TEST(VatRegisterLayout, ColumnsOfTheYear) {
  struct Case {
    int year;
    const char* field;
    int block;   // 0: no column
  } cases[] = {
      {2020, "RNW", 16}, {2020, "PAN", 18}, {2020, "OZN", 19}, {2020, "RKO", 0}, {2020, "ZAP", 0},
      {2021, "RNA", 15}, {2021, "PAN", 18}, {2023, "RWZ", 18}, {2023, "PAN", 19}, {2023, "NP3", 10},
      {2026, "PAN", 12}, {2026, "WDT", 13}, {2026, "RWZ", 19}, {2026, "OZN", 20}, {2026, "ZAP", 6},
      {2026, "NP3", 0},  {2026, "UW2", 21},
  };
  for (const Case& c : cases) {
    TabuColumn columns[TABU_MAX_ENTRIES];
    kolumny_rejestru_vat(columns, sizeof columns, c.year);
    int block = 0;
    for (int i = 0; i < TABU_MAX_ENTRIES; i++) {
      for (int f = 0; f < LAYOUT_Z5ESPP.fieldCount; f++)
        if (columns[i].field == &Z5ESPP.field[f] && std::string(LAYOUT_Z5ESPP.fields[f].name) == c.field)
          block = columns[i].column;
      if (columns[i].flags & TABU_LAST) break;
    }
    EXPECT_EQ(block, c.block) << c.year << " " << c.field;
  }
}

}  // namespace
