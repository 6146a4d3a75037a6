// The cash voucher and the cash summary as golden text pages.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/module_entries.h"
#include "finance/payments.h"
#include "finance/posting.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tests/printouts/printout_fixture.h"

namespace {

class CashPrintTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1  ");
  }
  // Character printing to a file for the report of the table (the cash book by default).
  void CashPrinting(const char* code, int copies, DbTable* table = nullptr) {
    Printer.language = 0;
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    Printer.copies = copies;
    SavePrintSettings(table ? table : Z5KASA.table, code);
    ResetPrinterState();
  }
  void CashEntry(Fields fields) { AppendRecord(Z5KASA.table, fields); }
  template <class Entry>
  int Run(const char* keys, Entry entry) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = entry();
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  static void ExpectCashGolden(const std::string& name, const std::string& actual) {
    ExpectGoldenPage("finance", name, actual);
  }
};

// A payment of -150.00 prints 150.00 and its words, as original and copy.
TEST_F(CashPrintTest, PaymentVoucherWithItsCopy) {
  CashPrinting("KAP", 1);
  CashEntry({{"TYP", "2"}, {"TKA", "G"}, {"PRE", "K1"}, {"NUM", "3"}, {"DAT", "20261210"}, {"KWO", "-150"},
             {"WAL", "PLN"}, {"NA1", "Jan Nowak"}, {"KOP", "00-950"}, {"MIA", "Warszawa"}, {"ULI", "Długa 5"},
             {"TYT", "zwrot zaliczki"}, {"KAS", "Anna Kowalska"}});
  d4go(Z5KASA.table, 1);
  EXPECT_EQ(Run("{F2}{ENTER}", [] { return DrukujKPKW(0); }), 0);
  std::string page = Printed();
  EXPECT_NE(page.find("150.00"), std::string::npos) << page;
  EXPECT_EQ(page.find("-150.00"), std::string::npos) << page;
  EXPECT_NE(page.find("sto pięćdziesiąt"), std::string::npos) << page;
  EXPECT_NE(page.find("DOWÓD WYPŁATY - KW nr 3/2026"), std::string::npos) << page;
  EXPECT_EQ(Count(page, "ORYGINAŁ"), 1) << page;
  EXPECT_EQ(Count(page, "KOPIA"), 1) << page;
  ExpectCashGolden("voucher_kw.txt", page);
}

// Without copies one voucher is marked for both.
TEST_F(CashPrintTest, ReceiptVoucherWithoutCopies) {
  CashPrinting("KAP", 0);
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261210"}, {"KWO", "63.90"}, {"WAL", "PLN"}});
  d4go(Z5KASA.table, 1);
  EXPECT_EQ(Run("{F2}{ENTER}", [] { return DrukujKPKW(0); }), 0);
  std::string page = Printed();
  EXPECT_NE(page.find("DOWÓD WPŁATY - KP nr 1/2026"), std::string::npos) << page;
  EXPECT_EQ(Count(page, "ORYGINAŁ / KOPIA"), 1) << page;
  EXPECT_NE(page.find("63.90"), std::string::npos) << page;
}

// The summary puts account 6 under "inne" and leaves advance sums out.
TEST_F(CashPrintTest, SummaryByCashAndAccounts) {
  CashPrinting("KSU", 0);
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261201"}, {"KWO", "100"}});
  CashEntry({{"TYP", "2"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261202"}, {"KWO", "-30"}});
  CashEntry({{"TYP", "3"}, {"PRE", "K1"}, {"TYK", "6"}, {"NUM", "1"}, {"DAT", "20261203"}, {"KWO", "500"}});
  CashEntry({{"TYP", "3"}, {"PRE", "K1"}, {"TYK", "1"}, {"NUM", "1"}, {"DAT", "20261204"}, {"KWO", "-20"}});
  CashEntry({{"TYP", "4"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261205"}, {"KWO", "999"}});
  EXPECT_EQ(Run("rs{F9}{F2}{F2}{ENTER}{F9}{ESC}{ESC}", [] { return PrzegladajKase(nullptr, 0, 0); }), 0);
  std::string page = Printed();
  EXPECT_EQ(page.find("999"), std::string::npos) << page;
  ExpectCashGolden("summary.txt", page);
}

// The settlements' summary: receivables and payables, paid and remaining.
TEST_F(CashPrintTest, SettlementSummary) {
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  CashPrinting("RSU", 0, Z5ROZL.table);
  struct Seed {
    const char *type, *due, *paid, *date;
  } seeds[] = {{"N", "1000", "400", "20261201"}, {"N", "230", "230", "20261202"}, {"Z", "500", "100", "20261203"}};
  for (const Seed& e : seeds)
    AppendRecord(Z5ROZL.table, {{"ROL", "N"}, {"TYP", e.type}, {"DAW", e.date}, {"KWO", e.due}, {"ZAP", e.paid}});
  d4close(Z5ROZL.table);
  EXPECT_EQ(Run("rs{F2}{F2}{ENTER}{ESC}{ESC}", [] { return PrzegladajRozliczenia(); }), 0);
  ExpectCashGolden("settlement_summary.txt", Printed());
}

}  // namespace

namespace {

// The posting order of one book entry: its revenue page and its expense page.
TEST_F(CashPrintTest, PostingOrderOfABookEntry) {
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  AppendRecord(Z5DANE.table, {{"LPO", "12"}, {"DAT", "20261210"}, {"NUM", "FV/7/2026"}, {"NA1", "Hurtownia Nowak"},
                              {"NA2", " i Syn"}, {"MIA", "25-001 Kielce"}, {"UL1", "Długa 5"}, {"UL2", "lok. 2"},
                              {"OP1", "różnica kursowa"}, {"OP2", "zapłata 1000.00 EUR"}, {"POP", "100"},
                              {"INN", "40"}, {"REC", "3"}});
  CashPrinting("KPK", 0, Z5DANE.table);
  d4go(Z5DANE.table, 1);
  // Each page as a job of its own: the revenue, then the expenses.
  EXPECT_EQ(Run("{F2}{F2}{ENTER}", [] {
              DrukujPolecenieKsiegowania(100);
              return 0;
            }),
            0);
  ExpectCashGolden("posting_order_revenue.txt", Printed());
  EXPECT_EQ(Run("{F2}{F2}{ENTER}", [] {
              DrukujPolecenieKsiegowania(40);
              return 0;
            }),
            0);
  ExpectCashGolden("posting_order_expense.txt", Printed());
  d4close(Z5DANE.table);
  // By the entry's REC both pages go out (the second job asks to overwrite the file).
  EXPECT_EQ(Run("{F2}{F2}{ENTER}{F2}{F2}{ENTER}t", [] {
              DrukujPoleceniaWpisu(2026, 3);
              return 0;
            }),
            0);
  EXPECT_NE(Printed().find("40.00"), std::string::npos);
}

}  // namespace

namespace {

// The flat-rate twin: the document's buyer and the posting record's texts.
TEST_F(CashPrintTest, PostingOrderOfAFlatRateEntry) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"NA1", "Hurtownia Nowak"}, {"NA2", "i Syn"},
                              {"KOP", "25-001"}, {"MIA", "Kielce"}, {"ULI", "Długa 5"}});
  ZapisKsiegowy record{};
  record.lp = 4;
  std::memcpy(record.dataKsiegi, "20261210", 8);
  std::strcpy(record.nrDokumentu, "FV/7/2026");
  std::strcpy(record.kursTekst, Utf8ToMazText("różnica kursowa").c_str());
  std::strcpy(record.opis1, Utf8ToMazText("zapłata 1000.00 EUR").c_str());
  zapisKsiegowy = &record;
  CashPrinting("PKR", 0, Z5SPRZ.table);
  EXPECT_EQ(Run("{F2}{F2}{ENTER}", [] {
              DrukujPolecenieKsiegowaniaRyczaltu(100);
              return 0;
            }),
            0);
  zapisKsiegowy = nullptr;
  ExpectCashGolden("posting_order_flat_rate.txt", Printed());
}

}  // namespace
