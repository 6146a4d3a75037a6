// An invoice with its lines entered through the real program, headless:
// " Dopisz ", the header, F4 from the buyer's name into the line list, two
// lines at two rates, the save that stores their totals, and the printout
// offered after the save.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "app/option_sets.h"
#include "print/printer.h"
#include "tables/sales_tables.h"
#include "tests/print/printed_text.h"
#include "tests/sales/sales_road.h"
#include "tests/support/no_print_queue.h"

namespace {

class InvoiceRoadTest : public SalesRoadTest {
 protected:
  // Printing after the save on, and the invoice from net prices on a
  // character printer in the program directory's print settings.
  void PrintAfterSave(int mode = 1, int family = PRN_EPSON9) {
    MakeFirmWithSales();
    OpenFirmRegister();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    salesOptions.printAfterSave = 'T';
    ASSERT_EQ(SaveEwidencjeOptions(), 0);
    SavePrinting({{Z5SPRZ.table, "FVN"}}, mode, family);
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
  }
  // FV/1 issued on `day`, saved and printed with F2 in the dialog: with no
  // print queue it offers the file only.
  void PrintToTheOfferedFile(const std::string& day = "100325") {
    NoPrintQueue noQueue;
    noQueue.Start(dir);
    RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys(day) + "t{ESC}{F2}{ENTER}{ESC}{ESC}{ESC}{ESC}");
    noQueue.Stop();
  }
  // The same, the printed page coming back.
  std::string PrintedInvoice(const std::string& day) {
    PrintToTheOfferedFile(day);
    return TakePrintedText(home + "firma1/win.prn");
  }
};

TEST_F(InvoiceRoadTest, LinesAtTwoRatesAddUpIntoTheSavedHeader) {
  MakeFirm();
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ESC}{ESC}{ESC}");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  DbTable* headers = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(headers), 1);   // the next one left at its delivery menu
  ASSERT_EQ(d4go(headers, 1), 0);
  EXPECT_FALSE(d4deleted(headers));
  auto trimmed = [](DbTable* t, const char* name) {
    std::string text = FieldText(t, name);
    return text.erase(0, name == std::string("PRE") ? 0 : text.find_first_not_of(' '));
  };
  const std::pair<const char*, const char*> header[] = {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"},
                                                        {"STM", "1"}, {"TRY", "1"},    {"ZAP", "N"}, {"NET", "55.00"},
                                                        {"VAT", "8.90"}, {"BRU", "63.90"}, {"KZA", "0.00"}};
  for (const auto& [name, value] : header) EXPECT_EQ(trimmed(headers, name), value) << name;
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 2);
  const std::pair<const char*, const char*> stored[2][7] = {
      {{"REK", "1"}, {"VAT", "1"}, {"VAS", "23.0"}, {"WNE", "30.00"}, {"WAV", "6.90"}, {"WAB", "36.90"},
       {"NA1", "Towar A"}},
      {{"REK", "1"}, {"VAT", "2"}, {"VAS", "8.0"}, {"WNE", "25.00"}, {"WAV", "2.00"}, {"WAB", "27.00"},
       {"CBR", "13.5000"}}};
  for (long r = 1; r <= 2; r++) {
    ASSERT_EQ(d4go(lines, r), 0);
    for (const auto& [name, value] : stored[r - 1]) EXPECT_EQ(trimmed(lines, name), value) << r << " " << name;
  }
  d4close_all(&env->engine);
}

// Back on the header after the lines, before the save: its totals row shows
// what the lines add up to, under its labels, and the price mode they were
// entered in.
TEST_F(InvoiceRoadTest, TheHeaderShowsTheTotalsOfItsLines) {
  MakeFirm();
  Outcome back = Run(std::string(LOGO) + INTO_SALES + InvoiceLinesKeys());
  for (const char* row : {"╠RAZEM: netto:       55.00       VAT:        8.90        brutto:       63.90   ╣",
                          "╠typ FAKTURA                                                         NETTO     ╣",
                          "╠nazwa 1 Odbiorca Testowy "})
    EXPECT_TRUE(Has(back, row)) << row << "\n" << back.screen;
  // The line list's window is gone from the form.
  EXPECT_FALSE(Has(back, "Towar B")) << back.screen;
  EXPECT_EQ(ReadFile(home + "ER.Log").find("ERRCODE"), std::string::npos) << ReadFile(home + "ER.Log");
}

// The first document of a fresh firm is typed into a form the operator sees:
// the header form's labels stand on the grid at the number window's F2 and
// while the dates and the buyer are typed.
TEST_F(InvoiceRoadTest, TheFirstDocumentsFormIsShown) {
  MakeFirm();
  const char* const labels[] = {"typ FAKTURA", "kod nabywcy..", "NIP/PESEL....", "nazwa 1", "ulica..",
                                "PŁATNOŚĆ:", "RAZEM: netto:"};
  for (const char* keys : {"d{ENTER}{ENTER}{F2}", "d{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}{ENTER}"}) {
    std::string screen = Run(std::string(LOGO) + INTO_SALES + keys).screen;
    for (const char* label : labels) EXPECT_NE(screen.find(label), std::string::npos) << keys << ": " << label << "\n" << screen;
  }
}

// Before 2024 the header form names the kind as the register's " Dopisz "
// lists it, without its "n. ", a blank off the label: the auxiliary
// register's kind 9 is its advance invoice. Each run ends in the form, its
// header left as a killed program leaves it: each case has a firm of its own,
// so that no run opens its register on the repair of the one before.
TEST_F(InvoiceRoadTest, BeforeTheAdvanceKindsTheFormNamesTheKindOfItsList) {
  date = "20230310";
  const std::string eight = "{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}";
  const std::pair<std::string, const char*> kinds[] = {{"s{ENTER}sd", "╠typ FAKTURA "},
                                                       {"s{ENTER}sd{DOWN}", "╠typ RACHUNEK "},
                                                       {"s{ENTER}sd" + eight, "╠typ FAKTURA do paragonu "},
                                                       {"s{ENTER}pd" + eight, "╠typ FAKTURA ZALICZKOWA "}};
  for (const auto& [keys, shown] : kinds) {
    TearDown();
    SetUp();
    MakeFirm();
    std::string screen = Run(std::string(LOGO) + keys + "{ENTER}{F2}").screen;
    EXPECT_NE(screen.find(shown), std::string::npos) << keys << "\n" << screen;
  }
}

// After FV/1 the next form (FV/2) is left with Esc: its header goes again,
// so the next " Dopisz " proposes FV/2 once more, on a new record.
TEST_F(InvoiceRoadTest, TheNextFormLeftWithEscLeavesNoHeader) {
  MakeFirm();
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ENTER}{F2}{ESC}{ESC}" +
           "d{ENTER}{ENTER}{F2}{ESC}{ESC}{ESC}{ESC}");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  DbTable* headers = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(headers), 3);
  const struct {
    long nrv, rec;
    bool deleted;
  } expected[] = {{1, 1, false}, {2, 2, true}, {2, 3, true}};
  for (long r = 1; r <= 3; r++) {
    ASSERT_EQ(d4go(headers, r), 0);
    EXPECT_EQ(f4long(d4field(headers, "NRV")), expected[r - 1].nrv) << r;
    EXPECT_EQ(f4long(d4field(headers, "REC")), expected[r - 1].rec) << r;
    EXPECT_EQ(d4deleted(headers) != 0, expected[r - 1].deleted) << r;
  }
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 2);
  for (long r = 1; r <= 2; r++) {
    ASSERT_EQ(d4go(lines, r), 0);
    EXPECT_FALSE(d4deleted(lines)) << r;
    EXPECT_EQ(f4long(d4field(lines, "REK")), 1) << r;
    EXPECT_EQ(f4long(d4field(lines, "NRV")), 1) << "stamped with the header's number";
  }
  d4close_all(&env->engine);
}

// With printing after the save on, F2 asks to start the print, then offers
// the simplified invoice (63.90 is under its limit); declined, the print
// dialog opens on the invoice from net prices (form 56).
TEST_F(InvoiceRoadTest, TheSavedInvoiceAsksToBePrinted) {
  PrintAfterSave();
  if (HasFatalFailure()) return;
  const struct {
    const char* keys;
    const char* shown;
  } stages[] = {{"", " Czy rozpocząć wydruk ?"},
                {"t", "Czy drukować fakturę uproszczoną ?"},
                {"t{ESC}", "Faktura (od netto)"}};
  for (const auto& stage : stages) {
    std::string screen = Run(std::string(LOGO) + INTO_SALES + InvoiceKeys() + stage.keys).screen;
    EXPECT_NE(screen.find(stage.shown), std::string::npos) << stage.shown << "\n" << screen;
  }
  // Declining the print ends the entry as before.
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ESC}{ESC}{ESC}{ESC}");
}

// The same road on to paper: F2 in the print dialog writes the page of the
// saved FV/1 to the file the dialog offers.
TEST_F(InvoiceRoadTest, TheSavedInvoicePrintsItsPage) {
  PrintAfterSave();
  if (HasFatalFailure()) return;
  ExpectGoldenPage("sales", "invoice_fv1.txt", PrintedInvoice("100325"));
}

// A fresh installation on a computer whose clock says 2026 works in 2026:
// FV/1 of 10-03-2026 goes into Z5SPRZ26.DBF, prints its page and is listed
// in the VAT register from March.
TEST_F(InvoiceRoadTest, AFreshInstallationIssuesInTheComputersYear) {
  date = "20260310";
  PrintAfterSave();
  if (HasFatalFailure()) return;
  ExpectGoldenPage("sales", "invoice_fv1_2026.txt", PrintedInvoice("100326"));
  EXPECT_TRUE(Exists(home + "firma1/Z5SPRZ26.DBF"));
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  DbTable* headers = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(headers), 1);
  ASSERT_EQ(d4go(headers, 1), 0);
  const std::pair<const char*, double> totals[] = {{"NET", 55.00}, {"VAT", 8.90}, {"BRU", 63.90}};
  for (const auto& [name, value] : totals) EXPECT_DOUBLE_EQ(f4double(d4field(headers, name)), value) << name;
  EXPECT_EQ(FieldText(headers, "DAW"), "20260310");
  EXPECT_EQ(d4reccount(Z5SPRE.table), 2);
  d4close_all(&env->engine);
  // " Menu " > " Ewidencja " from 01-03/26: both lines of FV/1.
  Outcome listed = Run(std::string(LOGO) + INTO_SALES + "ee{DOWN}{DOWN}{ENTER}010326{ENTER}{F2}");
  EXPECT_TRUE(Has(listed, "Ewidencja sprzedaży 2026")) << listed.screen;
  EXPECT_TRUE(Has(listed, "10-03/26│  FV/    1/                             │  │Towar A")) << listed.screen;
  EXPECT_TRUE(Has(listed, "10-03/26│  FV/    1/                             │  │Towar B")) << listed.screen;
}

// Graphic printing on a fresh machine: the printer fonts the build put beside
// the program are found with none in the program directory.
TEST_F(InvoiceRoadTest, GraphicPrintingFindsThePrinterFontsBesideTheProgram) {
  PrintAfterSave(0, PRN_HP_LASER);
  if (HasFatalFailure()) return;
  PrintToTheOfferedFile();
  // The page drawn to a PDF; without the fonts the file stays empty.
  std::string printed = ReadFile(home + "firma1/win.prn");
  EXPECT_EQ(printed.substr(0, 5), "%PDF-");
  EXPECT_GT(printed.size(), 1000u);
}

}  // namespace
