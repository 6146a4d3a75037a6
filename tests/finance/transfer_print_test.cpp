// The printed transfer forms: the texts of a pre-printed section (amount
// with its framing characters, account numbers with and without boxes, a
// deposit in words), the refused print modes, and a four-section sheet
// printed through " Drukuj " > " Jeden " as a golden page.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "env/code_pages.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tests/printouts/printout_fixture.h"
#include "tests/tables/tables_fixture.h"

namespace {

constexpr int W = 54, ROWS = 19;

class TransferPrintTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    options = mainOptions;
    mainOptions.transfer40 = 'T';
    mainOptions.transfer61 = 4;
    mainOptions.transfer34 = 'N';
    mainOptions.transfer35 = ' ';
    mainOptions.transfer36 = 0;
    mainOptions.transfer37 = 'N';
    mainOptions.transfer63 = 'N';
    mainOptions.transfer39 = 54;
    ASSERT_EQ(OpenZ5PLEW(0), 0);
    d4blank(Z5PLEW.table);
  }
  void TearDown() override {
    mainOptions = options;
    UstawKratkiPrzelewu(1);
    PrintoutTest::TearDown();
  }
  static void Set(Fields fields) { SetFields(Z5PLEW.table, fields); }
  // What the browse printed with the keys.
  std::string PrintedFromTheBrowse(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    try {
      EXPECT_EQ(Przelewy(), 0);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return Printed();
  }
  // Character printing to a file for the orders' report `code`.
  static void CharacterPrintingOfOrders(const char* code) {
    Printer.language = 0;
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    Printer.copies = 0;
    SavePrintSettings(Z5PLEW.table, code);
    ResetPrinterState();
  }
  // The section of the current order, one string a line.
  static std::vector<std::string> Section(int boxes = 1, int w = W) {
    std::string page(w * ROWS, ' ');
    UstawKratkiPrzelewu(boxes);
    WypelnijOdcinek(page.data(), TransferSection{w, 20, 29, 15, 17});
    std::vector<std::string> lines;
    for (int r = 0; r < ROWS; r++) lines.push_back(MazToUtf8Text(page.substr(r * w, w).c_str()));
    return lines;
  }
  MainOptions options{};
};

TEST_F(TransferPrintTest, AmountAndAccountsOnASection) {
  const struct {
    const char* name;
    char split, boxes;
    int width;
    const char* account;
    int line;
    std::string expected, continuation;
  } cases[] = {
      {"account split by blanks", 'N', 'N', W, "12 3456 7890 1234 5678 9012 3456 7777 8888 9999 0000", 4,
       "12  3456 7890 1234 5678 9012 3456 7777 8888 9999 0000", ""},
      {"longer than the line", 'N', 'N', 48, "12 3456 7890 1234 5678 9012 3456 7777 8888 9999 0000", 4,
       "12  3456 7890 1234 5678 9012 3456 7777 8888 9999", " 0000"},
      {"split after eight", 'T', 'N', W, "12 34567890 1234567890123456", 4, "12  34567890        1234567890123456",
       ""},
      {"in boxes", 'N', 'T', W, "12-3456-7890-1234-5678-9012-3456-7777", 4,
       "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 ", "7 7 7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    mainOptions.transfer37 = c.split;
    mainOptions.transfer63 = c.boxes;
    d4blank(Z5PLEW.table);
    Set({{"KNO", c.account}, {"ROW", "P"}});
    auto lines = Section(c.boxes == 'T' ? 2 : 1, c.width);
    EXPECT_EQ(lines[c.line].substr(0, c.expected.size()), c.expected);
    EXPECT_EQ(lines[c.line].find_first_not_of(' ', c.expected.size()), std::string::npos) << lines[c.line];
    // the continuation two lines lower, before the transfer's mark at column 15
    EXPECT_EQ(lines[c.line + 2].substr(0, 15), c.continuation + std::string(15 - c.continuation.size(), ' '));
  }
}

TEST_F(TransferPrintTest, AmountMarksAndWords) {
  mainOptions.transfer35 = '*';
  mainOptions.transfer36 = 3;
  Set({{"KWO", "1234.5"}, {"ROW", "P"}, {"KNZ", "33 1111"}, {"NZ1", "Firma Test"}, {"TY1", "zaplata"}});
  EXPECT_EQ(KwotaPrzelewuNaFormularz(), "***1234,50***");
  auto lines = Section();
  EXPECT_EQ(lines[6], std::string(15, ' ') + "X" + std::string(13, ' ') + "***1234,50***" + std::string(12, ' '));
  EXPECT_EQ(lines[8].substr(0, 8), "33  1111");
  EXPECT_EQ(lines[10].substr(0, 10), "FIRMA TEST");
  EXPECT_EQ(lines[14].substr(0, 7), "zaplata");
  // a deposit: its mark further on and the amount in words where the payer's account was
  Set({{"ROW", "W"}});
  lines = Section();
  EXPECT_EQ(lines[6][17], 'X');
  EXPECT_EQ(lines[6][15], ' ');
  EXPECT_NE(lines[8].find("jed*dwa*trz*czt*"), std::string::npos) << lines[8];
  // nothing for a zero amount
  Set({{"KWO", "0"}});
  lines = Section();
  EXPECT_EQ(lines[6].find('*'), std::string::npos) << lines[6];
  EXPECT_EQ(lines[8].find_first_not_of(' '), std::string::npos) << lines[8];
}

TEST_F(TransferPrintTest, AccountSeparatorsAndGroups) {
  char text[] = "12-3456 7890-1234";
  UsunSeparatoryKonta(text);
  EXPECT_STREQ(text, "12-345678901234");
  EXPECT_EQ(NumerKontaCzworkami("12 345678901234-5678"), "12 3456 7890 1234 5678");
  EXPECT_EQ(NumerKontaCzworkami("1234567890"), "1234 5678 90");
}

// Refused print modes and printers leave the order to print.
TEST_F(TransferPrintTest, RefusedModesKeepTheMark) {
  Set({{"KWO", "10"}, {"ROW", "P"}, {"DRU", "T"}, {"TYP", "1"}});
  ASSERT_EQ(d4append_start(Z5PLEW.table, 0), 0);
  ASSERT_EQ(d4append(Z5PLEW.table), 0);
  Printer.orientation = 2;
  Printer.mode = 0;
  BuildModeList(0);
  const struct {
    int (*form)(int);
    int orientation, mode, family;
    const char* message;
  } cases[] = {
      {DrukujNaOryginale2, 2, 0, PRN_EPSON9, "Zabroniony wydruk w trybie graficznym obróconym !"},
      {DrukujNaOryginale4, 1, 0, PRN_EPSON9, "Zabroniony wydruk w trybie graficznym prostym !"},
      {DrukujNaOryginale2, 1, 1, PRN_EPSON24, "Zabroniony wydruk w trybie znakowym"},
      {DrukujNaOryginale2, 1, 1, PRN_PROPRINTER, "dla podanego typu drukarki !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Printer.orientation = c.orientation;
    Printer.mode = c.mode;
    Printer.family = c.family;
    seen.clear();
    ASSERT_EQ(HeadlessSetScript("{F9}{ESC}"), 0);
    EXPECT_EQ(c.form(0), 1);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_NE(seen.find(c.message), std::string::npos) << seen;
  }
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_DRU]), "T");
}

// " Drukuj " > " Jeden " of an order on a four-section form in character
// mode: the sheet as printed, the order marked printed.
TEST_F(TransferPrintTest, OneOrderOnAFourSectionSheet) {
  CharacterPrintingOfOrders("PRO");
  Set({{"DAP", "20261210"}, {"TYP", "1"}, {"KWO", "1234.56"}, {"ROW", "P"}, {"DRU", "T"},
       {"KNO", "11 2222 3333 4444 5555 6666 7777"}, {"NO1", "Firma Test Sp. z o.o."}, {"AO1", "Polna 1"},
       {"AO2", "25-001 Kielce"}, {"KNZ", "22 1111 2222 3333 4444 5555 6666"}, {"NZ1", "Odbiorca Jan Nowak"},
       {"AZ1", "Długa 5"}, {"AZ2", "00-950 Warszawa"}, {"TY1", "zapłata za FV/1/2026"}});
  ASSERT_EQ(d4append_start(Z5PLEW.table, 0), 0);
  ASSERT_EQ(d4append(Z5PLEW.table), 0);
  std::string page = PrintedFromTheBrowse("rj{F2}{ENTER}{F9}{F2}{ESC}{ESC}");
  EXPECT_EQ(Count(page, "1234,56"), 4) << page;
  EXPECT_EQ(Count(page, "10-12-2026"), 1) << page;
  ExpectGoldenPage("finance", "transfer_four_sections.txt", page);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_DRU]), "N");
}

// Two sections a sheet: the section twice, the date only on the lower one.
TEST_F(TransferPrintTest, TwoSectionSheet) {
  mainOptions.transfer61 = 2;
  CharacterPrintingOfOrders("PRO");
  AppendRecord(Z5PLEW.table, {{"DAP", "20261210"}, {"TYP", "1"}, {"KWO", "5"}, {"ROW", "P"}, {"DRU", "T"},
                              {"TY1", "raz"}});
  std::string page = PrintedFromTheBrowse("rj{F2}{ENTER}{F2}{ESC}{ESC}");
  std::vector<std::string> lines = Lines(page);
  ASSERT_GE(lines.size(), 44u) << page;
  EXPECT_EQ(lines[6], std::string(15, ' ') + "X             5,00") << page;
  EXPECT_EQ(lines[25 + 6], lines[6]) << page;
  EXPECT_EQ(Count(page, "10-12-2026"), 1) << page;
  EXPECT_EQ(lines[25 + 18], "10-12-2026") << page;
  EXPECT_EQ(Count(page, "<FF>"), 1) << page;
}

// " Wybrane " prints every ordinary order still to print in one job, without
// the editor; a tax order (option 51 'N') has no form and stays to print.
TEST_F(TransferPrintTest, MarkedOrdersInOneJob) {
  mainOptions.transfer51 = 'N';
  CharacterPrintingOfOrders("PRO");
  const struct {
    const char *typ, *dru, *amount;
  } orders[] = {{"1", "T", "11.11"}, {"3", "T", "22.22"}, {"1", "N", "33.33"}, {"1", "T", "44.44"}};
  for (const auto& o : orders)
    AppendRecord(Z5PLEW.table, {{"DAP", "20261210"}, {"TYP", o.typ}, {"KWO", o.amount}, {"ROW", "P"}, {"DRU", o.dru}});
  std::string page = PrintedFromTheBrowse("rw{F2}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(Count(page, "<FF>"), 2) << page;
  EXPECT_EQ(Count(page, "11,11"), 4) << page;
  EXPECT_EQ(Count(page, "44,44"), 4) << page;
  EXPECT_EQ(Count(page, "22,22"), 0) << page;
  EXPECT_EQ(Count(page, "33,33"), 0) << page;
  for (long n = 1; n <= 4; n++) {
    d4go(Z5PLEW.table, n);
    EXPECT_EQ(Trim(Z5PLEW.field[PLEW_DRU]), n == 2 ? "T" : "N") << n;
  }
}

// Drawn forms (option 40 'N'): the portrait form in character mode, its
// four parts for the payee, the payer and their banks.
TEST_F(TransferPrintTest, DrawnPortraitForm) {
  mainOptions.transfer40 = 'N';
  CharacterPrintingOfOrders("PRG");
  Set({{"DAP", "20261210"}, {"TYP", "1"}, {"KWO", "250"}, {"ROW", "W"}, {"DRU", "T"},
       {"KNO", "11 2222 3333 4444 5555 6666 7777"}, {"NO1", "Firma Test"}, {"NZ1", "Jan Nowak"},
       {"TY1", "wplata na rachunek"}});
  ASSERT_EQ(d4append_start(Z5PLEW.table, 0), 0);
  ASSERT_EQ(d4append(Z5PLEW.table), 0);
  EXPECT_EQ(HeadlessSetScript("{F2}{ENTER}{F2}"), 0);
  DrukujJedenPrzelew();
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string page = Printed();
  for (const char* part : {"odcinek dla odbiorcy", "odcinek dla zleceniodawcy", "odcinek dla banku odbiorcy",
                           "odcinek dla banku zleceniodawcy"})
    EXPECT_EQ(Count(page, part), 1) << part << "\n" << page;
  EXPECT_EQ(Count(page, "WPŁATA GOTÓWKOWA"), 4) << page;
  EXPECT_EQ(Count(page, "10-12-2026"), 1) << page;
  ExpectGoldenPage("finance", "transfer_drawn_portrait.txt", page);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_DRU]), "N");
}

// In graphic mode on a page turned sideways the drawn form is the landscape
// one: two equal halves, shown for correction first.
TEST_F(TransferPrintTest, DrawnLandscapeFormShownFirst) {
  mainOptions.transfer40 = 'N';
  Set({{"DAP", "20261210"}, {"TYP", "1"}, {"KWO", "99.5"}, {"ROW", "P"}, {"DRU", "T"},
       {"KNO", "11 2222 3333"}, {"KNZ", "22 4444 5555"}, {"NZ1", "Jan Nowak"}, {"TY1", "czynsz"}});
  BuildModeList(0);
  Printer.mode = 0;
  Printer.orientation = 2;
  EXPECT_EQ(HeadlessSetScript("{F9}{ESC}"), 0);
  EXPECT_EQ(DrukujPrzelew(1, 1), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  for (const char* text : {"POLECENIE PRZELEWU", "= P", "99,50", "nr rachunku zleceniodawcy", "22  4444 5555",
                           "JAN NOWAK", "czynsz"})
    EXPECT_NE(seen.find(text), std::string::npos) << text << "\n" << seen;
}

// Leaving the page editor without F2 prints nothing and keeps the mark.
TEST_F(TransferPrintTest, EditorLeftWithoutPrinting) {
  Set({{"DAP", "20261210"}, {"TYP", "1"}, {"KWO", "250"}, {"ROW", "P"}, {"DRU", "T"}});
  ASSERT_EQ(d4append_start(Z5PLEW.table, 0), 0);
  ASSERT_EQ(d4append(Z5PLEW.table), 0);
  Printer.mode = 1;
  Printer.family = PRN_EPSON9;
  BuildModeList(0);
  EXPECT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(DrukujPrzelew(1, 1), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  d4go(Z5PLEW.table, 1);
  EXPECT_EQ(Trim(Z5PLEW.field[PLEW_DRU]), "T");
}

// The graphic pre-printed forms set the printer up by family and sections.
TEST_F(TransferPrintTest, PrinterSetUpByFamily) {
  Set({{"KWO", "0"}, {"ROW", "P"}, {"DRU", "T"}});
  mainOptions.transfer63 = 'T';
  mainOptions.transfer39 = 27;
  const struct {
    int (*form)(int);
    int orientation, family, dots;
    int font, dotsAfter, period;
  } cases[] = {
      {DrukujNaOryginale2, 1, PRN_EPSON9, 0, 38, 3, 2},
      {DrukujNaOryginale4, 2, PRN_EPSON9, 0, 37, 1, 16},
      {DrukujNaOryginale2, 1, PRN_EPSON24, 1, 33, 0, 4},
      {DrukujNaOryginale2, 1, PRN_EPSON24, 2, 35, 3, 2},
      {DrukujNaOryginale4, 2, PRN_HP_LASER, 1, 34, 1, 8},
      {DrukujNaOryginale2, 1, PRN_CANON, 0, 33, 0, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.family * 10 + c.dots);
    Printer = PrinterDefaults();
    BuildModeList(0);
    Printer.mode = 0;
    Printer.orientation = c.orientation;
    Printer.family = c.family;
    Printer.resolution = c.dots;
    ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
    EXPECT_EQ(c.form(1), 0);   // left in the editor: only the set-up is seen
    EXPECT_EQ(Printer.fontNo, c.font);
    EXPECT_EQ(Printer.resolution, c.dotsAfter);
    EXPECT_EQ(Printer.gapEvery, c.period);
    EXPECT_EQ(Printer.gapDots, -1);
  }
}

}  // namespace
