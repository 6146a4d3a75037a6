// Final invoices of 2025 gathered from advance invoices of the auxiliary
// register: the lines' remaining shares, the totals and paid amount, the
// links of the gathered documents and their release on deletion, and two
// advances of the same goods merged into one line.
#include "sales/final_invoices.h"

#include <string>

#include "db/dbf_records.h"
#include "sales/document_header.h"
#include "sales/numbering.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/display.h"

namespace {

class FinalInvoiceTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
    env->settlementYear = 2025;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5KASA(0), 0);
    salesOptions.standardNumbering = 'T';
    std::memcpy(context.workingDate, "20250620", 8);
    std::memcpy(context.newIssueDate, "20250620", 9);
    context.kind = 1;
    zapamietaj_numer(&context.next, "FV", 7, "");
  }

  // An advance invoice of `quantity` × 123.00 gross at 23 % with `paid`
  // spread over its line as net `net` and VAT `vat`.
  void Advance(const char* rec, const char* quantity, const char* gross, const char* paid, const char* net,
               const char* vat) {
    AppendRecord(Z5SPRZ_2.table, {{"REC", rec}, {"TYV", "11"}, {"RE4", "T"}, {"PRE", "FZ"}, {"NRV", rec},
                                  {"DAW", "20250510"}, {"NIP", "521-300-00-00"}, {"KZA", paid}, {"BRU", gross},
                                  {"ZAP", "N"}, {"PLA", "PRZELEW"}});
    AppendRecord(Z5SPRE_2.table, {{"REC", rec}, {"REK", rec}, {"TYV", "11"}, {"KOT", "T1"}, {"NA1", "towar"},
                                  {"ILO", quantity}, {"CNB", "100"}, {"CBB", "123"}, {"CNR", "100"}, {"CBR", "123"},
                                  {"VAT", "1"}, {"VAS", "23"}, {"WNE", net}, {"WAV", vat}, {"WAB", gross},
                                  {"ZRP", "1"}, {"STA", "T"}});
  }
  double Value(DbTable* t, long record, const char* name) {
    EXPECT_EQ(d4go(t, record), 0);
    return f4double(d4field(t, name));
  }
  std::string Text(DbTable* t, long record, const char* name) {
    EXPECT_EQ(d4go(t, record), 0);
    return FieldText(t, name);
  }
};

TEST_F(FinalInvoiceTest, AdvanceBecomesTheRemainingShareAndIsLinkedUntilTheInvoiceGoes) {
  Advance("1", "10", "1230", "615", "500", "115");
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);   // "Dodano fakturę nr: ..."
  long invoice = GatherDocument(1, 1, 0);
  ASSERT_EQ(invoice, 1);
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4reccount(l), 1);
  EXPECT_DOUBLE_EQ(Value(l, 1, "WNE"), 500);
  EXPECT_DOUBLE_EQ(Value(l, 1, "WAV"), 115);
  EXPECT_DOUBLE_EQ(Value(l, 1, "WAB"), 1230);
  EXPECT_EQ(Text(l, 1, "ODC"), "Z");
  EXPECT_EQ(Text(l, 1, "STA"), "N");   // its stock is taken by the invoice, not carried over
  EXPECT_DOUBLE_EQ(Value(h, 1, "NET"), 500);
  EXPECT_DOUBLE_EQ(Value(h, 1, "VAT"), 115);
  EXPECT_DOUBLE_EQ(Value(h, 1, "BRU"), 1230);
  EXPECT_DOUBLE_EQ(Value(h, 1, "KZA"), 615);
  EXPECT_EQ(Text(h, 1, "ZAP"), "N");
  EXPECT_EQ(Text(h, 1, "AKT"), "1");
  EXPECT_EQ(Value(h, 1, "KON"), 0);   // the kinds 11, 6, 10 do not fit its one digit
  DbTable* aux = Z5SPRZ_2.table;
  EXPECT_DOUBLE_EQ(Value(aux, 1, "REK"), 1);
  EXPECT_EQ(Text(aux, 1, "KON"), "1");
  EXPECT_EQ(Text(aux, 1, "NKZ"), "FV  /    7");
  EXPECT_EQ(Text(aux, 1, "DAZ"), "20250620");

  ASSERT_EQ(d4go(h, invoice), 0);
  ASSERT_EQ(HeadlessSetScript("T"), 0);   // "Czy na pewno usunąć?"
  EXPECT_EQ(przed_usunieciem_dokumentu(), 0);
  EXPECT_DOUBLE_EQ(Value(aux, 1, "REK"), 0);
  EXPECT_EQ(Value(aux, 1, "KON"), 0);
  EXPECT_EQ(Text(aux, 1, "NKZ"), "");
}

TEST_F(FinalInvoiceTest, TwoAdvancesOfTheSameGoodsMergeIntoOneLine) {
  Advance("1", "10", "1230", "615", "500", "115");
  Advance("2", "5", "615", "307.5", "250", "57.5");
  ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
  long invoice = GatherDocument(1, 1, 0);
  ASSERT_EQ(invoice, 1);
  // "Znaleziono podobną pozycję..." T, "Czy zwiększyć ilość?" T, then "Dodano fakturę".
  ASSERT_EQ(HeadlessSetScript("TT{ENTER}"), 0);
  ASSERT_EQ(GatherDocument(1, 2, invoice), invoice);
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4reccount(l), 1);
  EXPECT_DOUBLE_EQ(Value(l, 1, "ILO"), 15);
  EXPECT_DOUBLE_EQ(Value(l, 1, "WAB"), 1845);
  EXPECT_DOUBLE_EQ(Value(Z5SPRZ.table, 1, "KZA"), 922.5);
  EXPECT_EQ(Text(Z5SPRZ_2.table, 2, "KON"), "1");
}

}  // namespace
