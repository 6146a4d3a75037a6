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

namespace {

class InvoiceRoadTest : public SalesRoadTest {
 protected:
  // The main register of 2025 the runs wrote into.
  void OpenFirmRegister() {
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  }
  // Printing after the save on, and the invoice from net prices on a
  // character printer in the program directory's print settings.
  void PrintAfterSave() {
    MakeFirmWithSales();
    OpenFirmRegister();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadEwidencjeOptions(), 0);
    salesOptions.printAfterSave = 'T';
    ASSERT_EQ(SaveEwidencjeOptions(), 0);
    SaveCharacterPrinting({{Z5SPRZ.table, "FVN"}});
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
  }
};

// A free-text line: the name, past the other name fields and the GTU menu.
std::string LineKeys(const char* name, const char* quantity, const char* price, const char* rate) {
  return std::string("{ENTER}") + name + "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}" + quantity +
         "{ENTER}" + price + "{ENTER}{ENTER}{ENTER}{ENTER}" + rate + "{F2}t";
}

// From the register: " Dopisz " of FV/1 with a buyer typed by hand, F4 from
// the name, 3 x 10.00 at the default rate and 2 x 12.50 at the first reduced
// one, F2; the form of the next document then waits at its delivery menu.
std::string InvoiceKeys() {
  const std::string dates = "100325{ENTER}100325{ENTER}";   // working year 2025
  const std::string buyer = "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy";
  return "d{ENTER}{ENTER}{F2}" + dates + buyer + "{F4}" + LineKeys("Towar A", "3", "10", "{ENTER}") +
         LineKeys("Towar B", "2", "12.50", "{DOWN}{ENTER}") + "{ESC}{ESC}{ESC}{F2}t";
}

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

// After FV/1 the next form (FV/2) is left with Esc: its header goes again,
// so the next " Dopisz " proposes FV/2 once more, on a new record.
// The first document of a fresh firm is typed into a form the operator sees:
// the header form's labels stand on the grid at the number window's F2 and
// while the dates and the buyer are typed.
TEST_F(InvoiceRoadTest, TheFirstDocumentsFormIsShown) {
  MakeFirm();
  const char* const labels[] = {"typFAKTURA", "kod nabywcy..", "NIP/PESEL....", "nazwa 1", "ulica..",
                                "PŁATNOŚĆ:", "RAZEM: netto:"};
  for (const char* keys : {"d{ENTER}{ENTER}{F2}", "d{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}{ENTER}"}) {
    std::string screen = Run(std::string(LOGO) + INTO_SALES + keys).screen;
    for (const char* label : labels) EXPECT_NE(screen.find(label), std::string::npos) << keys << ": " << label << "\n" << screen;
  }
}

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
  // No print queue: the dialog offers the file only.
  const char* cups = std::getenv("CUPS_SERVER");
  std::string savedCups = cups ? cups : "";
  setenv("CUPS_SERVER", (dir + "no-cups.sock").c_str(), 1);
  RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "t{ESC}{F2}{ENTER}{ESC}{ESC}{ESC}{ESC}");
  if (cups)
    setenv("CUPS_SERVER", savedCups.c_str(), 1);
  else
    unsetenv("CUPS_SERVER");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  ExpectGoldenPage("sales", "invoice_fv1.txt", page);
}

}  // namespace
