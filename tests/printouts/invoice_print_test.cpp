// The invoice printout of a seeded document on a character printer: the
// page of FV/1, the simplified-invoice limit, Esc in the price menu, the
// copies, the carried sums, the lines of every VAT code in the totals and
// the list of the advances a final invoice is based on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_values.h"
#include "db/db_lock.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_print.h"
#include "sales/register_actions.h"
#include "tables/firm_tables.h"
#include "tests/print/print_fixture.h"
#include "tests/sales/sales_fixture.h"

namespace {

class InvoicePrintTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    firm = dir + "firma/";
    printing.Start(dir);
    // As the main register has it: the auxiliary register's headers in the second set.
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Test Sp. z o.o."}, {"NIP", "6570001122"}, {"KOD", "25-001"},
                             {"MIA", "Kielce"}, {"ULI", "Polna"}, {"NRD", "1"}, {"REG", "123456789"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
    saved[0] = currentVatRates[VAT_BASIC];
    saved[1] = currentVatRates[VAT_REDUCED_1];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    std::strcpy(salesOptions.numbering[DOC_FV].name, "FAKTURA nr");
    salesOptions.list50 = 1;
    salesOptions.list107 = 2;
    salesOptions.simplifiedLimitPln = 450;
    salesOptions.simplifiedLimitEur = 100;
    salesOptions.printFinalInvoiceList = 'T';
    salesOptions.listAmounts = 'N';
    std::strcpy(salesOptions.issuePlace, "Kielce");
    optionOriginalCopyMark = 'N';
  }
  void TearDown() override {
    currentVatRates[VAT_BASIC] = saved[0];
    currentVatRates[VAT_REDUCED_1] = saved[1];
    optionOriginalCopyMark = 'N';
    printing.Stop();
    SalesScreenTest::TearDown();
  }

  // The FV/1 header (REC 1) with its gross and paid amounts.
  void Invoice(const char* gross = "63.90", Fields more = {}) {
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"RE4", "T"},
                                {"STM", "1"}, {"DAW", "20261210"}, {"DAS", "20261210"}, {"DPL", "20261224"},
                                {"NA1", "Odbiorca Jan Nowak"}, {"KOP", "00-950"}, {"MIA", "Warszawa"},
                                {"ULI", "Długa 5"}, {"NIP", "5260001234"}, {"PLA", "PRZELEW"}, {"NET", "55"},
                                {"VAT", "8.90"}, {"BRU", gross}, {"KZA", "0"}, {"WAL", "PLN"}, {"KVA", "1"},
                                {"WYS", "Anna Kowalska"}, {"TRY", "1"}});
    SetFields(Z5SPRZ.table, more);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
  }
  void Line(const char* name, const char* quantity, const char* price, const char* gross, const char* code,
            const char* rate, const char* net, const char* vat, const char* total) {
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", name}, {"JED", "szt"}, {"ILO", quantity}, {"CNB", price},
                                {"CNR", price}, {"CBB", gross}, {"CBR", gross}, {"VAT", code}, {"VAS", rate},
                                {"WNE", net}, {"WAV", vat}, {"WAB", total}, {"STM", "1"}});
  }
  void Fv1Lines() {
    Line("Towar A", "3", "10", "12.30", "1", "23", "30", "6.90", "36.90");
    Line("Towar B", "2", "12.5", "13.50", "2", "8", "25", "2", "27");
  }
  // Character printing to a file under the invoice's print code.
  void CharacterPrinting(const char* code, int copies = 0) {
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    Printer.copies = copies;
    SavePrintSettings(Z5SPRZ.table, code);
    ResetPrinterState();
  }
  int Print(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    d4go(Z5SPRZ.table, 1);
    int result = drukuj_dokument_sprzedazy(f4int(d4field(Z5SPRZ.table, "TYV")), Z5SPRZ.table, 0, nullptr, 1);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }
  std::string Printed() {
    std::string path = firm + "win.prn";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<none>";
    std::string bytes;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
    std::fclose(f);
    std::remove(path.c_str());
    std::string out;
    for (size_t i = 0; i < bytes.size(); i++) {
      char c = bytes[i];
      if (c == '\x1B') {
        i++;
        continue;
      }
      if (c == '\x0F' || c == '\x12' || c == '\r') continue;
      out += c == '\f' ? std::string("<FF>\n") : std::string(1, c);
    }
    return MazToUtf8Text(out.c_str());
  }
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) lines.push_back(text.substr(at, nl - at));
    return lines;
  }
  static std::string LineWith(const std::string& text, const std::string& part) {
    for (const std::string& line : Lines(text))
      if (line.find(part) != std::string::npos) return line;
    return "<missing " + part + ">";
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
  static void ExpectGolden(const std::string& name, const std::string& actual) {
    std::string here = __FILE__;
    std::string path = here.substr(0, here.rfind('/')) + "/golden/" + name;
    if (std::getenv("UPDATE_GOLDEN")) {
      std::FILE* f = std::fopen(path.c_str(), "wb");
      std::fwrite(actual.data(), 1, actual.size(), f);
      std::fclose(f);
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    std::string expected;
    if (f) {
      char buffer[4096];
      for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) expected.append(buffer, n);
      std::fclose(f);
    }
    EXPECT_EQ(actual, expected) << name;
  }

  std::string firm;
  PrintScreen printing;
  double saved[2]{};
};

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
