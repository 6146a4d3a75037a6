// Documents made from one document: the invoice from a pro forma, the copy
// and the correction (working year 2023), with their links, settlement
// entries and the work copies they pass through.
#include "sales/document_copies.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "db/dbf_records.h"
#include "masterdata/stock_update.h"
#include "platform/clock.h"
#include "sales/numbering.h"
#include "sales/work_copies.h"
#include "tables/cash_tables.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentCopiesTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
    env->settlementYear = 2023;
    OpenMainRegisterWithRecipients();
    if (HasFatalFailure()) return;
    salesOptions.standardNumbering = 'T';
    std::memcpy(context.workingDate, "20230620", 8);
    std::memcpy(context.newIssueDate, "20230620", 9);
    zapamietaj_numer(&context.next, "FV", 5, "");
  }

  DbTable* H() { return Z5SPRZ.table; }
  std::string Text(long record, const char* name) {
    EXPECT_EQ(d4go(H(), record), 0);
    return FieldText(H(), name);
  }
  double Value(DbTable* t, long record, const char* name) {
    EXPECT_EQ(d4go(t, record), 0);
    return f4double(d4field(t, name));
  }

  // Document 1 of `kind` with one line and a recipient.
  void Source(const char* kind, Fields extra = {}) {
    Header({{"REC", "1"}, {"TYV", kind}, {"RE4", "T"}, {"PRE", "PF"}, {"NRV", "3"}, {"DAW", "20230510"},
            {"DAS", "20230509"}, {"DPL", "20230524"}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"},
            {"ZAP", "N"}, {"NIP", "5213000000"}, {"PLA", "PRZELEW"}});
    SetFields(H(), extra);
    ASSERT_EQ(d4write(H(), 1), 0);
    Line({{"REC", "1"}, {"REK", "1"}, {"TYV", kind}, {"KOT", "T1"}, {"NA1", "towar"}, {"ILO", "2"},
          {"CNB", "50"}, {"CBB", "61.5"}, {"CNR", "50"}, {"CBR", "61.5"}, {"WNE", "100"}, {"VAT", "1"},
          {"VAS", "23"}, {"WAV", "23"}, {"WAB", "123"}, {"STA", "N"}});
    AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", "1"}, {"REC", "1"}, {"NA1", "odbiorca"}});
    ASSERT_EQ(d4go(H(), 1), 0);
  }

  // "TYP KWO" of the settlement entries of document `rec`.
  std::string Settlement(long rec) {
    std::string all;
    EXPECT_EQ(OpenZ5ROZL(0), 0);
    DbTable* t = Z5ROZL.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      std::string amount = FieldText(t, "KWO");
      if (f4long(d4field(t, "REK")) == rec) all += amount.erase(0, amount.find_first_not_of(' ')) + ";";
    }
    d4close(t);
    return all;
  }
};

TEST_F(DocumentCopiesTest, PaidProFormaBecomesAnInvoiceAndBothAreLinked) {
  Source("6", {{"ZAP", "T"}, {"KZA", "123"}, {"TRK", "1"}, {"LPO", "7"}, {"DZA", "20230512"}});
  ASSERT_EQ(MakeInvoiceFromProForma(1), 0);
  long invoice = d4recno(H());
  EXPECT_EQ(invoice, 2);
  EXPECT_EQ(Text(2, "TYV"), " 1");
  EXPECT_EQ(Text(2, "TYM"), " 6");
  EXPECT_EQ(Text(2, "NUK"), "PF  /    3");
  EXPECT_EQ(Text(2, "DAK"), "20230510");
  EXPECT_EQ(Text(2, "NRV"), "    5");
  EXPECT_EQ(Text(2, "DAW"), "20230620");
  EXPECT_EQ(Text(2, "LPO"), "");   // posting marks stay with the pro forma
  EXPECT_EQ(Text(2, "DZA"), "");
  EXPECT_EQ(Value(H(), 2, "KZA"), 123);
  EXPECT_EQ(Text(1, "TYM"), " 1");
  EXPECT_EQ(Text(1, "NUK"), "FV  /    5");
  EXPECT_EQ(Text(1, "DAK"), "20230620");
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 2);
  EXPECT_EQ(Value(lines, 2, "REK"), 2);
  EXPECT_EQ(FieldText(lines, "TYV"), " 1");
  EXPECT_EQ(FieldText(lines, "DAW"), "20230620");
  ASSERT_EQ(d4reccount(Z5SPRO.table), 2);
  EXPECT_EQ(Value(Z5SPRO.table, 2, "REK"), 2);
}

TEST_F(DocumentCopiesTest, CorrectionTakesTheSourceAsItsCorrectedDocument) {
  Source("1", {{"TYM", "6"}, {"NUK", "PF  /    1/"}, {"DAK", "20230501"}, {"KZA", "50"}});
  ASSERT_EQ(MakeCopyOrCorrection(1, 0), 0);
  EXPECT_EQ(Text(2, "TYV"), " 3");
  EXPECT_EQ(Text(2, "TYM"), " 1");
  EXPECT_EQ(Text(2, "NUK"), "PF  /    3");
  EXPECT_EQ(Text(2, "DAK"), "20230510");
  EXPECT_EQ(Text(2, "DAS"), "20230509");
  EXPECT_EQ(Text(2, "DAW"), "20230620");
  for (const char* amount : {"NET", "VAT", "BRU", "KZA"}) EXPECT_EQ(Value(H(), 2, amount), 0) << amount;
  EXPECT_EQ(Text(2, "ZAP"), "N");
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4go(l, 2), 0);
  for (const char* plain : {"ILO", "CNB", "CBB", "RAS", "CNR", "CBR", "WNE", "VAT", "VAS", "WAV", "WAB"})
    EXPECT_EQ(f4double(d4field(l, (std::string("K") + plain).c_str())), f4double(d4field(l, plain))) << plain;
  for (const char* zero : {"ILK", "KRN", "KRV"}) EXPECT_EQ(f4double(d4field(l, zero)), 0) << zero;
  EXPECT_EQ(f4double(d4field(l, "KILO")), 2);
}

TEST_F(DocumentCopiesTest, CopyClaimsNoLinkAndGetsItsSettlementEntryAtOnce) {
  Source("1", {{"KZA", "23"}, {"OZA", "wpłata"}, {"REK", "4"}});
  ASSERT_EQ(MakeCopyOrCorrection(0, 0), 0);
  EXPECT_EQ(Text(2, "TYV"), " 1");
  for (const char* cleared : {"TYM", "REK", "KZA"}) EXPECT_EQ(Value(H(), 2, cleared), 0) << cleared;
  for (const char* cleared : {"NUK", "DAK", "OZA"}) EXPECT_EQ(Text(2, cleared), "") << cleared;
  EXPECT_EQ(Text(2, "ZAP"), "N");
  EXPECT_EQ(Text(2, "DPL"), "20230620");
  EXPECT_EQ(Settlement(2), "123.00;");
}

// Nothing is made, and nothing said, for what may not be copied or corrected.
TEST_F(DocumentCopiesTest, RefusedSourcesMakeNothing) {
  struct Case {
    const char* kind;
    Fields extra;
    int korekta;
  };
  const Case cases[] = {
      {"6", {}, 1},                     // correcting a pro forma
      {"3", {}, 0},                     // copying a correction
      {"3", {}, 1},                     // correcting a correction
      {"1", {{"TYM", "6"}}, 0},         // copying an invoice made from a pro forma
      {"1", {{"TYM", "9"}}, 0},         // copying a final invoice
  };
  Source("1");
  for (const Case& c : cases) {
    SetFields(H(), {{"TYV", c.kind}, {"TYM", "0"}});
    SetFields(H(), c.extra);
    ASSERT_EQ(d4write(H(), 1), 0);
    EXPECT_EQ(CopyKind(c.korekta), 0) << c.kind << " " << c.korekta;
    EXPECT_NE(MakeCopyOrCorrection(c.korekta, 0), 0);
    EXPECT_EQ(d4reccount(H()), 1);
    EXPECT_EQ(d4reccount(Z5SPRE.table), 1);
  }
  EXPECT_EQ(Boxes(), "");
}

// While one workstation holds the work copies another's run waits for them
// and never writes into them: it gets them, empty, once the first is done.
TEST_F(DocumentCopiesTest, WorkCopiesAreHeldForOneRun) {
  Source("1");
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    PlatClockFix(nullptr);
    char byte;
    if (read(go[0], &byte, 1) != 1) _exit(2);
    if (OpenWorkCopies() != 0) _exit(3);
    bool empty = d4reccount(SprzCopy.table) == 0 && d4reccount(SpreCopy.table) == 0;
    CloseWorkCopies();
    _exit(empty ? 0 : 4);
  }
  ASSERT_EQ(OpenWorkCopies(), 0);
  ASSERT_EQ(kopiuj_do_kopii_roboczej(), 0);
  ASSERT_EQ(write(go[1], "x", 1), 1);
  usleep(400 * 1000);
  for (TableHandles* copy : {&SprzCopy, &SpreCopy, &SoexCopy}) {
    ASSERT_NE(copy->table, nullptr);
    EXPECT_EQ(d4reccount(copy->table), 1);
    EXPECT_EQ(d4top(copy->table), 0);
  }
  CloseWorkCopies();
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  close(go[0]);
  close(go[1]);
}

// A copy whose second line cannot take its stock: the first line's stock
// goes back and neither the lines nor the header stay.
class FailedCopyTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    salesOptions.stockOnEntry = 'T';
    salesOptions.standardNumbering = 'T';
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"ILO", "10"}});
    d4close(Z5TOWA.table);
    std::memcpy(context.newIssueDate, "20261210", 9);
    zapamietaj_numer(&context.next, "FV", 2, "");
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    SalesScreenTest::TearDown();
  }
};

TEST_F(FailedCopyTest, RemovesWhatItBeganWithTheStockGivenBack) {
  AppendRecord(Z5SPRZ.table, {{"REC", "1"}, {"TYV", "1"}, {"RE4", "T"}, {"PRE", "FV"}, {"NRV", "1"},
                              {"DAW", "20261201"}, {"BRU", "10"}});
  for (const char* code : {"T1", "ZZ"})
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "1"}, {"KOT", code}, {"NA1", code}, {"ILO", "4"},
                                {"ZRP", "1"}, {"WAB", "5"}});
  AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", "1"}, {"REC", "1"}});
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  // ZZ is not in the catalogue: Esc to going on, then a key for each pause and box.
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}xxxxxxxx"), 0);
  EXPECT_EQ(MakeCopyOrCorrection(0, 0), -1);
  EXPECT_DOUBLE_EQ(FirstGoodsStock(), 10);
  ASSERT_EQ(d4go(Z5SPRZ.table, 2), 0);
  EXPECT_TRUE(d4deleted(Z5SPRZ.table));
  for (long line : {3L, 4L}) {
    if (line > d4reccount(Z5SPRE.table)) continue;
    ASSERT_EQ(d4go(Z5SPRE.table, line), 0);
    EXPECT_TRUE(d4deleted(Z5SPRE.table)) << line;
  }
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5SPRZ.table));
  EXPECT_EQ(d4recno(Z5SPRZ.table), 1);
}

}  // namespace
