// Alt+F5 of the sales register: cash entries for the listed documents, by
// payment form and sign, none for a document that has its own already, and
// the VAT date moved to the payment under the cash method.
#include <gtest/gtest.h>

#include <string>

#include "db/db_scan.h"
#include "sales/cash_documents.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

std::string Trimmed(DbTable* t, const char* name) {
  std::string s = FieldText(t, name);
  return s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
}

// "TYP TKA TYK DAT NUM KWO REK" per cash entry.
std::string CashEntries() {
  std::string all;
  DbTable* t = Z5KASA.table;
  for (long n = 1; n <= d4reccount(t); n++) {
    d4go(t, n);
    all += Trimmed(t, "TYP") + " " + Trimmed(t, "TKA") + " " + Trimmed(t, "TYK") + " " + Trimmed(t, "DAT") + " " +
           Trimmed(t, "NUM") + " " + Trimmed(t, "KWO") + " " + Trimmed(t, "REK") + ";";
  }
  return all;
}

class CashDocumentsTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1");
    // Paid in cash, due by DPL.
    Header({{"TYV", "1"}, {"REC", "1"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"BRU", "123"}, {"DAW", "20261210"},
            {"DPL", "20261215"}, {"DAV", "20261210"}, {"OZA", "zapłata"}});
    // Unpaid transfer: only when the paid flag is not checked.
    Header({{"TYV", "1"}, {"REC", "2"}, {"PLA", "PRZELEW"}, {"TYB", "2"}, {"ZAP", "N"}, {"BRU", "50"},
            {"DAW", "20261210"}});
    // Cash correction: a KW.
    Header({{"TYV", "3"}, {"REC", "3"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"KRN", "-40.65"}, {"KRV", "-9.35"},
            {"DAW", "20261211"}});
    // Nothing due: never an entry.
    Header({{"TYV", "1"}, {"REC", "4"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"BRU", "0"}, {"DAW", "20261210"}});
    // In euro, paid by transfer without a bank.
    Header({{"TYV", "1"}, {"REC", "5"}, {"PLA", "PRZELEW"}, {"TYB", "0"}, {"ZAP", "T"}, {"BRU", "100"},
            {"KKS", "4.3"}, {"WAL", "EUR"}, {"DAW", "20261212"}});
    Line({{"TYV", "1"}, {"REK", "1"}, {"DAV", "20261210"}});
    x4init(&list, Z5SPRZ.table, nullptr, 0);
  }
  int Run(const char* script) {
    HeadlessSetScript(script);
    return dopisz_dokumenty_kasowe_listy(&list);
  }
  std::string HeaderText(long record, const char* name) {
    d4go(Z5SPRZ.table, record);
    return Trimmed(Z5SPRZ.table, name);
  }
  void Header(Fields fields) { AppendRecord(Z5SPRZ.table, fields); }
  void Line(Fields fields) { AppendRecord(Z5SPRE.table, fields); }

  DbScanCtx list{};
};

TEST_F(CashDocumentsTest, PaidDocumentsGetTheirEntryOnceOnly) {
  // Add: yes; check "czy zapłacono?": yes; the count box.
  EXPECT_EQ(Run("TT{ENTER}"), 3);
  EXPECT_EQ(CashEntries(),
            "1 G 0 20261215 1 123.00 1;"
            "2 G 0 20261211 1 -50.00 3;"
            "3 K 1 20261212 1 430.00 5;");
  EXPECT_EQ(HeaderText(1, "KZA"), "123.00");
  EXPECT_EQ(HeaderText(1, "OZA"), "zapłata*KP 1 15-12-2026");
  EXPECT_EQ(HeaderText(3, "KZA"), "-50.00");
  EXPECT_EQ(HeaderText(5, "KZA"), "100.00");
  EXPECT_EQ(HeaderText(5, "ZAP"), "T");
  EXPECT_EQ(HeaderText(2, "ZAP"), "N");
  // Without the VAT cash method the VAT date stays.
  EXPECT_EQ(HeaderText(1, "DAV"), "20261210");

  // A second run finds every paid document's own entry.
  EXPECT_EQ(Run("TT{ENTER}"), 0);
  EXPECT_EQ(d4reccount(Z5KASA.table), 3);

  // Esc to the paid check takes the unpaid transfer as well, from bank 2.
  EXPECT_EQ(Run("T{ESC}{ENTER}"), 1);
  EXPECT_EQ(CashEntries(),
            "1 G 0 20261215 1 123.00 1;"
            "2 G 0 20261211 1 -50.00 3;"
            "3 K 1 20261212 1 430.00 5;"
            "3 K 2 20261210 1 50.00 2;");
  EXPECT_EQ(HeaderText(2, "ZAP"), "T");
}

TEST_F(CashDocumentsTest, EscToTheFirstQuestionWritesNothing) {
  EXPECT_EQ(Run("{ESC}"), -1);
  EXPECT_EQ(d4reccount(Z5KASA.table), 0);
}

TEST_F(CashDocumentsTest, CashMethodMovesTheVatDateOfHeaderAndLines) {
  salesOptions.cashVat = 'T';
  // The third question, on the VAT date, left with Esc ends the run.
  EXPECT_EQ(Run("TT{ESC}"), -1);
  EXPECT_EQ(d4reccount(Z5KASA.table), 0);
  EXPECT_EQ(Run("TTT{ENTER}"), 3);
  EXPECT_EQ(HeaderText(1, "DAV"), "20261215");
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20261215");
}

}  // namespace
