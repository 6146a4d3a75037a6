// The invoice printout of a seeded document on a character printer: the
// page of FV/1, the simplified-invoice limit, Esc in the price menu, the
// copies, the carried sums, the lines of every VAT code in the totals and
// the list of the advances a final invoice is based on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "printouts/invoice_print.h"
#include "sales/register_actions.h"
#include "tests/printouts/printout_fixture.h"

namespace {

using InvoicePrintTest = PrintoutTest;

TEST_F(InvoicePrintTest, InvoicePageOfFv1) {
  Invoice();
  Fv1Lines();
  salesOptions.list107 = 3;
  CharacterPrinting("FVN");
  // The simplified invoice is asked (63.90 is under 450 PLN) and refused.
  EXPECT_EQ(Print("{ESC}{F2}{ENTER}"), 1);
  std::string page = Printed();
  ExpectGolden("invoice_fv1.txt", page);
  EXPECT_NE(page.find("FAKTURA nr FV/1"), std::string::npos);
  EXPECT_NE(LineWith(page, "RAZEM PLN").find("55.00               8.90          63.90"), std::string::npos);
  EXPECT_NE(page.find("ZAPŁACONO:        0.00   PLN"), std::string::npos);
  EXPECT_NE(page.find("DO ZAPŁATY:       63.90   PLN"), std::string::npos);
  EXPECT_NE(page.find("słownie:sześćdziesiąt trzy złote dziewięćdziesiąt groszy"), std::string::npos);
  // The rate rows: 23 % first, then 8 %.
  size_t rates = page.find("w tym:");
  EXPECT_LT(page.find("23.0", rates), page.find(" 8.0 ", rates));
}

TEST_F(InvoicePrintTest, EnglishInvoiceOnItsOwnForm) {
  Invoice();
  Fv1Lines();
  optionOriginalCopyMark = 'T';
  CharacterPrinting("FVN", 0, 1);
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  for (const char* part : {"INVOICE No FV/1", "VENDOR:", "PURCHASER:", "VAT No:", "Description", "Payment terms:",
                           "Paid:", "To pay:", "Name:"})
    EXPECT_NE(page.find(part), std::string::npos) << part << page;
  // No place label, sale date, original mark, words nor rate table.
  for (const char* part : {"miejsce", "sprzedaży", "ORYGINAŁ", "słownie", "w tym:"})
    EXPECT_EQ(page.find(part), std::string::npos) << part << page;
  EXPECT_NE(LineWith(page, "TOTAL").find("63.90"), std::string::npos) << page;
}

TEST_F(InvoicePrintTest, SimplifiedInvoiceLimitAndEscInThePriceMenu) {
  struct Case {
    const char* gross;
    int option50;
    const char* keys;
    int result;
    bool printed;
  } cases[] = {
      {"450.00", 1, "{ESC}{F2}{ENTER}", 1, true},   // the question comes at the limit
      {"450.01", 1, "{F2}{ENTER}", 1, true},        // and not above it
      {"100.00", 3, "{ESC}{ESC}", 0, false},            // Esc in the net/gross menu prints nothing
  };
  salesOptions.list107 = 3;
  Invoice();
  Fv1Lines();
  CharacterPrinting("FVN");
  for (const Case& c : cases) {
    SetFields(Z5SPRZ.table, {{"BRU", c.gross}});
    ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
    salesOptions.list50 = c.option50;
    EXPECT_EQ(Print(c.keys), c.result) << c.gross;
    EXPECT_EQ(Printed() != "<none>", c.printed) << c.gross;
  }
}

TEST_F(InvoicePrintTest, CopiesAreMarkedOriginalAndCopy) {
  Invoice();
  Fv1Lines();
  optionOriginalCopyMark = 'T';
  CharacterPrinting("FVN", 2);
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string pages = Printed();
  EXPECT_EQ(Count(pages, "ORYGINAŁ"), 1);
  // The printer drops the mark's trailing blanks.
  EXPECT_EQ(Count(pages, " KOPIA\n"), 2) << pages;
  EXPECT_EQ(Count(pages, "FAKTURA nr FV/1"), 3);
}

TEST_F(InvoicePrintTest, ItemsOverflowingThePageCarryTheirSums) {
  Invoice("3690", {{"NET", "3000"}, {"VAT", "690"}});
  for (int i = 0; i < 60; i++) Line("Towar", "1", "50", "61.50", "1", "23", "50", "11.50", "61.50");
  CharacterPrinting("FVN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string pages = Printed();
  std::string carried = LineWith(pages, "Do przeniesienia");
  std::string brought = LineWith(pages, "Z przeniesienia");
  ASSERT_EQ(carried.find("<missing"), std::string::npos) << pages;
  EXPECT_EQ(carried.substr(80), brought.substr(80));
  EXPECT_NE(pages.find("str. 02"), std::string::npos) << pages;
  EXPECT_NE(LineWith(pages, "RAZEM PLN").find("3000.00"), std::string::npos) << pages;
  // Nothing is printed past a page's length.
  for (size_t at = 0, ff; (ff = pages.find("<FF>", at)) != std::string::npos; at = ff + 5)
    EXPECT_LE(Count(pages.substr(at, ff - at), "\n"), Printer.lines);
}

TEST_F(InvoicePrintTest, LongTotalsBlockStaysInsideItsPages) {
  // Items of nine rate rows near the foot of page 1, remarks, the three
  // option lines and the ODEBRAŁ line: the block goes on a further page.
  Invoice("0", {{"UW1", "Uwaga pierwsza"}, {"UW2", "Uwaga druga"}, {"ODE", "Jan Odbierający"}});
  salesOptions.printReceivedBy = 'T';
  std::strcpy(salesOptions.receivedByLabel, Utf8ToMazText("odebrał").c_str());
  for (int i = 0; i < 3; i++) std::snprintf(salesOptions.footer[i], sizeof salesOptions.footer[i], "Wiersz %c", 'A' + i);
  const char* rows[][3] = {{"1", "23", "2.30"}, {"2", "8", "0.80"}, {"8", "5", "0.50"}, {"4", "0", "0"},
                           {"3", "0", "0"},     {"7", "0", "0"},   {"6", "0", "0"},    {"1", "22", "2.20"},
                           {"2", "7", "0.70"}};
  for (int i = 0; i < 36; i++) {
    auto& r = rows[i % 9];
    Line("Towar", "1", "10", "10", r[0], r[1], "10", r[2], "10");
  }
  CharacterPrinting("FVN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string pages = Printed();
  EXPECT_NE(pages.find("Następna strona."), std::string::npos) << pages;
  for (const char* part : {"Wiersz A", "Wiersz B", "Wiersz C", "wystawił:", "odebrał: Jan Odbierający",
                           "uwagi: Uwaga pierwsza", "odwrotne obciążenie", " zw.", " np."})
    EXPECT_NE(pages.find(part), std::string::npos) << part << pages;
  int count = 0;
  for (size_t at = 0, ff; (ff = pages.find("<FF>", at)) != std::string::npos; at = ff + 5, count++)
    EXPECT_LE(Count(pages.substr(at, ff - at), "\n"), Printer.lines) << pages;
  EXPECT_GE(count, 2) << Printer.lines;
}

TEST_F(InvoicePrintTest, LinesOfEveryVatCodeCountInTheTotals) {
  // An export line of code 5 and a line without a code.
  Invoice("173", {{"NET", "150"}, {"VAT", "23"}});
  Line("Eksport", "1", "50", "50", "5", "0", "50", "0", "50");
  Line("Bez kodu", "1", "100", "123", "0", "23", "100", "23", "123");
  CharacterPrinting("FVN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(LineWith(page, "RAZEM PLN").find("150.00              23.00         173.00"), std::string::npos)
      << page;
  EXPECT_NE(page.find("DO ZAPŁATY:      173.00"), std::string::npos) << page;
  // The export line stands in the zero-rate row.
  EXPECT_NE(page.find("50.00     0.0                     50.00"), std::string::npos) << page;
}

// A document paid above its gross prints what goes back, never a negative
// amount to pay.
TEST_F(InvoicePrintTest, OverpaidInvoicePrintsWhatGoesBack) {
  Invoice("63.90", {{"KZA", "70"}});
  Fv1Lines();
  CharacterPrinting("FVN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(page.find("ZAPŁACONO:       70.00   PLN"), std::string::npos) << page;
  EXPECT_NE(page.find("DO ZWROTU:        6.10   PLN"), std::string::npos) << page;
  EXPECT_EQ(page.find("DO ZAPŁATY"), std::string::npos) << page;
  EXPECT_EQ(page.find("-6.10"), std::string::npos) << page;
}

// An advance invoice paid in half: "ZALICZKA RAZEM" carries the advance's
// share of every line, rate by rate.
TEST_F(InvoicePrintTest, AdvanceShareUnderZaliczkaRazem) {
  Invoice("63.90", {{"TYV", "11"}, {"KZA", "31.95"}});
  Fv1Lines();
  CharacterPrinting("PAN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(LineWith(page, "ZALICZKA RAZEM").find("27.50               4.45          31.95"), std::string::npos)
      << page;
}

// From gross prices the reverse-charge row shows its net once, in the net
// column at the right, beside its words.
TEST_F(InvoicePrintTest, ReverseChargeRowShowsItsNetOnceInGrossMode) {
  Invoice("73.90", {{"NET", "65"}, {"TRY", "2"}});
  Fv1Lines();
  Line("Usługa", "1", "10", "10", "6", "0", "10", "0", "10");
  salesOptions.list50 = 2;   // from gross prices
  CharacterPrinting("FVB");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  std::string row = LineWith(page, "odwrotne obciążenie");
  EXPECT_EQ(Count(row, "10.00"), 1) << page;
  EXPECT_GT(row.find("10.00"), row.find("odwrotne obciążenie")) << row;
}

TEST_F(InvoicePrintTest, FinalInvoiceListsItsAdvances) {
  Invoice("63.90", {{"AKT", "1"}, {"KZA", "30"}});
  Fv1Lines();
  const char* advances[][3] = {{"2", "1", "10.00"}, {"3", "2", "20.00"}, {"4", "3", "30.50"}};
  for (auto& a : advances) {
    AppendRecord(Z5SPRZ_2.table, {{"TYV", "11"}, {"PRE", "  FZ"}, {"NRV", a[1]}, {"REC", a[0]}, {"REK", "1"},
                                {"RE4", "T"}, {"DAW", "20261201"}, {"KZA", a[2]}, {"BRU", a[2]}});
  }
  CharacterPrinting("FVN");
  EXPECT_EQ(Print("{F2}{ENTER}"), 1);
  std::string page = Printed();
  EXPECT_NE(page.find("KOŃCOWA"), std::string::npos);
  std::string list = LineWith(page, "Na podstawie faktur zaliczkowych:");
  EXPECT_NE(list.find("nr FZ/1 z 01-12-2026 na kwotę 10.00 PLN,"), std::string::npos) << page;
  EXPECT_NE(list.find("nr FZ/2 z 01-12-2026 na kwotę 20.00 PLN,"), std::string::npos) << list;
  // The third does not fit the row and starts the next one.
  EXPECT_NE(page.find("\n    nr FZ/3 z 01-12-2026 na kwotę 30.50 PLN.\n"), std::string::npos) << page;
  EXPECT_NE(page.find(" KOŃCOWA RAZEM"), std::string::npos);
  // The list's own three empty rows follow the block's last, empty row.
  size_t at = page.find("    Na podstawie faktur zaliczkowych:");
  ASSERT_NE(at, std::string::npos);
  std::string before = page.substr(0, at);
  size_t text = before.find_last_not_of('\n');
  EXPECT_EQ(before.size() - text - 1, 5u) << page;
}

TEST_F(InvoicePrintTest, DuplicateFromTheRegisterStoresItsDate) {
  Invoice();
  Fv1Lines();
  CharacterPrinting("FVN");
  d4go(Z5SPRZ.table, 1);
  // The date window opens on the working date.
  ASSERT_EQ(HeadlessSetScript("{ENTER}{F2}{ENTER}"), 0);
  EXPECT_EQ(drukuj_dokument_z_rejestru(1), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(Printed().find("FAKTURA nr FV/1   DUPLIKAT z 10-12-2026"), std::string::npos);
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DDU"), "20261210");
  // " Dokument " after a duplicate asks; Esc prints the ordinary document.
  ASSERT_EQ(HeadlessSetScript("{ESC}{F2}{ENTER}"), 0);
  EXPECT_EQ(drukuj_dokument_z_rejestru(0), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Printed().find("DUPLIKAT"), std::string::npos);
  // No duplicate of a sales-without-invoice sheet.
  SetFields(Z5SPRZ.table, {{"TYV", "5"}});
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_EQ(drukuj_dokument_z_rejestru(1), 0);
  EXPECT_EQ(Printed(), "<none>");
}

TEST_F(InvoicePrintTest, RecipientSoughtByRegisterAndRecord) {
  AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", "7"}, {"NA1", "Magazyn odbiorcy"}});
  AppendRecord(Z5SPRO.table, {{"SPR", "2"}, {"REK", "1"}, {"NA1", "Inny rejestr"}});
  EXPECT_EQ(szukaj_odbiorcy(1, 7), 0);
  EXPECT_EQ(FieldText(Z5SPRO.table, "NA1"), "Magazyn odbiorcy");
  EXPECT_NE(szukaj_odbiorcy(1, 1), 0);
}

}  // namespace
