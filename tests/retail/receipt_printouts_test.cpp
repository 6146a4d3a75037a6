// The page printouts of a receipt: the invoice issued to it on the wide form
// in net and gross prices, and the plain receipt on the narrow form, as
// golden text pages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_lock.h"
#include "env/code_pages.h"
#include "fiscal/printer_params.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "retail/receipt_invoice.h"
#include "tables/firm_tables.h"
#include "tests/print/print_fixture.h"
#include "tests/print/printed_text.h"
#include "tests/retail/receipt_fixture.h"

namespace {

using namespace retail;

class ReceiptPrintoutTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARO(0), 0);
    printing.Start(dir);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetNamed(Z5PAWL, {{"NA1", "Firma Test Sp. z o.o."}, {"NIP", "6570001122"}, {"KOD", "25-001"}, {"MIA", "Kielce"},
                      {"ULI", "Polna"}, {"NRD", "1"}, {"REG", "123456789"}, {"BAN1", "Bank Pierwszy"},
                      {"NRR1", "11 1010 0000 0000 0000 0000 0001"}, {"BAN2", "Bank Drugi"},
                      {"NRR2", "22 2020 0000 0000 0000 0000 0002"}, {"TEL", "41 123 45 67"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    parametryDetal = DetalParams{};
    std::strcpy(parametryDetal.receiptName, "PARAGON nr");
    std::strcpy(parametryDetal.invoiceName, "FAKTURA nr");
    saved = salesOptions;
    std::strcpy(salesOptions.issuePlace, "Kielce");
    std::strcpy(salesOptions.saleDateLabel, Utf8ToMazText("data sprzedaży").c_str());
    salesOptions.printSaleMonthOnly = 'N';
    salesOptions.printGoodsCode = 'T';
    salesOptions.printReceivedBy = 'N';
    savedRates[0] = currentVatRates[VAT_BASIC];
    savedRates[1] = currentVatRates[VAT_REDUCED_1];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
  }
  void TearDown() override {
    salesOptions = saved;
    currentVatRates[VAT_BASIC] = savedRates[0];
    currentVatRates[VAT_REDUCED_1] = savedRates[1];
    if (Z5PAWL.table) d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
    printing.Stop();
    ReceiptTest::TearDown();
  }
  // Receipt PA/1 with the invoice FV/1/2025 and its buyer record.
  void Invoice(const Named& buyer = {}) {
    Header(1, {{"NRV", "1"}, {"TYF", "9"}, {"PRF", "  FV"}, {"NRF", "1"}, {"POF", "2025"}, {"RE1", "5260001234"},
               {"NET", "69.01"}, {"VAT", "12.72"}, {"BRU", "81.73"}});
    AppendNamed(Z5PARO, {{"REK", "1"}, {"NA1", "Odbiorca Jan Nowak"}, {"NIP", "5260001234"}, {"KOP", "00-950"},
                         {"MIA", "Warszawa"}, {"ULI", Utf8ToMazText("Długa 5")}, {"DAW", "20261210"}, {"DPL", "20261224"},
                         {"PLA", "PRZELEW"}, {"KZA", "0"}, {"WYS", "Anna Kowalska"}, {"TYB", "2"},
                         {"RE1", std::string(30, 'N')}});
    SetNamed(Z5PARO, buyer);
    ASSERT_EQ(d4write(Z5PARO.table, d4recno(Z5PARO.table)), 0);
  }
  void Item(const char* name, const char* quantity, const char* netPrice, const char* grossPrice, const char* discount,
            const char* netAfter, const char* grossAfter, const char* code, const char* rate, const char* net,
            const char* vat, const char* gross, const char* correction = "N") {
    Position(1, {{"NA1", name}, {"KOT", correction[0] == 'T' ? "" : "T-1"}, {"JED", "szt"}, {"ILO", quantity},
                 {"CNB", netPrice}, {"CBB", grossPrice}, {"RAS", discount}, {"CNR", netAfter}, {"CBR", grossAfter},
                 {"VAT", code}, {"VAS", rate}, {"WNE", net}, {"WAV", vat}, {"WAB", gross}, {"ODC", correction}});
  }
  // A plain item, a discounted one, one with a mark-up and a summary correction.
  void Items() {
    Item("Towar A", "3", "10", "12.30", "0", "10", "12.30", "1", "23", "30", "6.90", "36.90");
    Item("Towar rabatowy", "2", "10", "12.30", "10", "9", "11.07", "1", "23", "18", "4.14", "22.14");
    Item("Towar z narzutem", "1", "20", "21.60", "-5", "21", "22.68", "2", "8", "21", "1.68", "22.68");
    Item("KOREKTA PODSUMOWANIA", "1", "0.01", "0.01", "0", "0.01", "0.01", "1", "23", "0.01", "0", "0.01", "T");
  }
  void CharacterPrinting(const char* code, int copies = 0) {
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    Printer.copies = copies;
    SavePrintSettings(Z5PARA.table, code);
    ResetPrinterState();
  }
  std::string Printed() { return TakePrintedText(firm + "win.prn"); }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
  static std::string LineWith(const std::string& text, const std::string& part) {
    size_t at = text.find(part);
    if (at == std::string::npos) return "<missing " + part + ">";
    size_t begin = text.rfind('\n', at);
    size_t end = text.find('\n', at);
    return text.substr(begin == std::string::npos ? 0 : begin + 1, end - (begin == std::string::npos ? 0 : begin + 1));
  }
  int PrintInvoice(int form, const char* keys = "{F2}{ENTER}") {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    GoHeader(1);
    int result = faktura_do_paragonu_wydruk(form);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }

  PrintScreen printing;
  SalesOptions saved;
  double savedRates[2];
};

TEST_F(ReceiptPrintoutTest, InvoiceInNetPrices) {
  Invoice({{"KZA", "100"}, {"UWA", "do paragonu nr PA/1"}});
  Items();
  CharacterPrinting("FPN");
  EXPECT_EQ(PrintInvoice(1), 1);
  std::string page = Printed();
  ExpectGoldenPage("retail", "receipt_invoice_net.txt", page);
  EXPECT_NE(page.find("FAKTURA nr FV/1/2025"), std::string::npos) << page;
  EXPECT_NE(page.find("ORYGINAŁ / KOPIA"), std::string::npos);
  EXPECT_NE(page.find("Bank Drugi"), std::string::npos) << "the account chosen by TYB";
  EXPECT_NE(LineWith(page, "z rabatem").find("10.0"), std::string::npos) << page;
  EXPECT_NE(page.find("z narzutem  5.0 %"), std::string::npos) << page;
  EXPECT_EQ(page.find("KOREKTA PODSUMOWANIA"), std::string::npos) << "a correction has no row";
  // 30 + 18 + 21 + 0.01: the correction counts in the totals.
  EXPECT_NE(LineWith(page, "RAZEM ").find("69.01"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "DO ZWROTU:").find("18.27"), std::string::npos) << page;
  EXPECT_EQ(page.find("DO ZAPŁATY"), std::string::npos);
}

TEST_F(ReceiptPrintoutTest, InvoiceInGrossPricesWithMarks) {
  salesOptions.procedureMarks = 'T';
  salesOptions.printMarkCodes = 'T';
  std::string marks(30, 'N');
  marks[2] = 'T';    // TP
  marks[17] = 'T';   // GTU 03
  Invoice({{"RE1", marks}, {"KZA", "81.73"}});
  Items();
  CharacterPrinting("FPB");
  EXPECT_EQ(PrintInvoice(FORMA_BRUTTO), 1);
  std::string page = Printed();
  ExpectGoldenPage("retail", "receipt_invoice_gross.txt", page);
  EXPECT_NE(page.find("PROC: TP    GTU: 03"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "Towar A").find("12.30"), std::string::npos) << page;
  EXPECT_EQ(page.find("DO ZWROTU"), std::string::npos) << "an exact payment";
  EXPECT_EQ(page.find("DO ZAPŁATY"), std::string::npos);
}

TEST_F(ReceiptPrintoutTest, InvoiceBreaksThePage) {
  Invoice();
  for (int i = 1; i <= 45; i++) {
    std::string name = "Pozycja " + std::to_string(i);
    Item(name.c_str(), "1", "1", "1.23", "0", "1", "1.23", "1", "23", "1", "0.23", "1.23");
  }
  CharacterPrinting("FPN");
  EXPECT_EQ(PrintInvoice(1), 1);
  std::string page = Printed();
  ExpectGoldenPage("retail", "receipt_invoice_pages.txt", page);
  EXPECT_EQ(Count(page, "Do przeniesienia"), 1) << page;
  EXPECT_EQ(Count(page, "Z przeniesienia"), 1);
  EXPECT_NE(page.find("Pozycja 45"), std::string::npos);
  EXPECT_NE(page.find("str. 02"), std::string::npos);
}

TEST_F(ReceiptPrintoutTest, SellerPeselAndSeparateCopies) {
  ASSERT_EQ(go_and_lock(Z5PAWL.table, 1), 0);
  SetNamed(Z5PAWL, {{"NIP", "90010100009"}});
  ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
  Invoice();
  Item("Towar A", "3", "10", "12.30", "0", "10", "12.30", "1", "23", "30", "6.90", "36.90");
  CharacterPrinting("FPN", 1);
  EXPECT_EQ(PrintInvoice(1), 1);
  std::string page = Printed();
  ExpectGoldenPage("retail", "receipt_invoice_copies.txt", page);
  EXPECT_NE(LineWith(page, "SPRZEDAWCA:").find("PESEL: 90010100009"), std::string::npos) << page;
  EXPECT_EQ(Count(page, "ORYGINAŁ"), 1) << page;
  EXPECT_EQ(Count(page, " KOPIA\n"), 1);
  EXPECT_EQ(Count(page, "FAKTURA nr FV/1/2025"), 2);
}

TEST_F(ReceiptPrintoutTest, PlainReceiptPrintsTheCorrectionAsARow) {
  Invoice();
  Items();
  CharacterPrinting("PPR");
  EXPECT_EQ(HeadlessSetScript("{F2}{ENTER}"), 0);
  GoHeader(1);
  EXPECT_EQ(paragon_wydruk(), 0);
  std::string page = Printed();
  ExpectGoldenPage("retail", "plain_receipt.txt", page);
  EXPECT_NE(page.find("PARAGON nr PA/1"), std::string::npos) << page;
  EXPECT_NE(page.find("KOREKTA PODSUMOWANIA"), std::string::npos);
  EXPECT_NE(page.find("NIP nabywcy: 5260001234"), std::string::npos);
  EXPECT_NE(LineWith(page, "RAZEM").find("81.73"), std::string::npos) << page;
}

TEST_F(ReceiptPrintoutTest, EmptyReceiptPrintsNothing) {
  Invoice();
  EXPECT_EQ(PrintInvoice(1, "{F9}{ENTER}"), -1);
  EXPECT_NE(seen.find("Pusty paragon!"), std::string::npos) << seen;
  EXPECT_EQ(HeadlessSetScript("{ENTER}"), 0);
  EXPECT_EQ(paragon_wydruk(), -1);
  EXPECT_EQ(Printed(), "<none>");
}

TEST_F(ReceiptPrintoutTest, MarksTextOfBothYears) {
  Invoice();
  struct Case {
    int year;
    std::initializer_list<int> positions;
    int withGtu;
    const char* expected;
  } cases[] = {
      {2021, {1, 2, 13, 16, 28}, 1, "PROC: SW EE MPP    GTU: 01 13 "},
      {2022, {1, 2, 4}, 1, "PROC: WSTO_EE IED TT_WNT    GTU: "},
      {2022, {17}, 0, "PROC:      "},
  };
  int year = env->settlementYear;
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    std::string marks(30, 'N');
    for (int p : c.positions) marks[static_cast<size_t>(p - 1)] = 'T';
    f4assign(d4field(Z5PARO.table, "RE1"), marks.c_str());
    EXPECT_EQ(std::string(oznaczenia_tekst(0, c.withGtu)), c.expected) << c.year;
  }
  env->settlementYear = year;
}

}  // namespace
