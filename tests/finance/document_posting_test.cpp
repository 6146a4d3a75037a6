// Posting a sales document through its entry form on the headless screen:
// the checks, the amounts in PLN, the cash method's pick of a cash entry and
// the write-back into the header or the cash entry.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/option_sets.h"
#include "finance/posting.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/finance/posting_fixture.h"
#include "ui/menu.h"
#include "ui/window4.h"

namespace {

class DocumentPostingTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.taxation = 1;
    salesOptions.stored101 = 1;
    salesOptions.stored56 = 2;
  }
  void TearDown() override {
    if (Z5KASA.table != nullptr) d4close(Z5KASA.table);
    SalesScreenTest::TearDown();
  }
  // An invoice of net 813.01 and gross 1000.00 sold on 5 March, record 1.
  void Invoice(Fields header, int rec = 1) {
    AppendSalesDocument(Z5SPRZ, Z5SPRE, rec, 1, "FV", "20260305",
                        {{"STV", "T"}, {"KKS", "1"}, {"WAL", "PLN"}, {"ZAP", "N"}, {"DPL", "20260319"}},
                        {{{"WNE", "813.01"}, {"WAV", "186.99"}, {"WAB", "1000"}, {"TYP", "1"}, {"VAT", "1"}}});
    SetFields(Z5SPRZ.table, header);
    d4write(Z5SPRZ.table, rec);
    d4go(Z5SPRZ.table, rec);
  }
  int Run(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int result = -99;
    try {
      result = KsiegujDokument(1);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  std::string Header(const char* name, long rec = 1) {
    d4go(Z5SPRZ.table, rec);
    return TrimmedField(Z5SPRZ.table, name);
  }
  // "LPO DAT PSP POP KAS" of every book entry.
  static std::string Book() {
    std::string all;
    EXPECT_EQ(OpenZ5DANE(2026, 0), 0);
    DbTable* t = Z5DANE.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      for (const char* name : {"LPO", "DAT", "PSP", "POP"}) all += TrimmedField(t, name) + " ";
      all += TrimmedField(t, "KAS") + ";";
    }
    d4close(t);
    return all;
  }
};

TEST_F(DocumentPostingTest, FirstPostingIntoAnEmptyBook) {
  Invoice({});
  EXPECT_EQ(Run("{F9}{F2}t"), 0);
  EXPECT_NE(seen.find("KSIĘGOWANIE"), std::string::npos) << seen;
  EXPECT_NE(seen.find("NORMALNA"), std::string::npos) << seen;
  EXPECT_EQ(Book(), "1 20260305 813.01 0.00 ;");
  EXPECT_EQ(Header("LPO"), "1");
  EXPECT_EQ(Header("REK"), "1");
  EXPECT_EQ(Header("TRK"), "1");
  EXPECT_EQ(Header("DZA"), "20260305");
}

TEST_F(DocumentPostingTest, ChecksStopThePosting) {
  struct Case {
    Fields header;
    int taxation;
    const char* keys;
    const char* shown;
  } cases[] = {
      {{{"TRK", "1"}}, 2, "{F9}{ENTER}", "Operacja zabroniona !"},
      {{{"STV", "N"}}, 1, "{F9}{ENTER}", "Niewłaściwy status księgowania."},
      {{{"DAS", "20250305"}}, 1, "{F9}{ENTER}", "Rok różny od rozrachunkowego!"},
      {{{"TYV", "9"}}, 1, "{F9}{ESC}", "To jest faktura do paragonu."},
  };
  int rec = 0;
  for (const Case& c : cases) {
    Invoice(c.header, ++rec);
    salesOptions.taxation = c.taxation;
    seen.clear();
    EXPECT_EQ(Run(c.keys), 0) << c.shown;
    EXPECT_NE(seen.find(c.shown), std::string::npos) << seen;
    EXPECT_EQ(Header("DZA", rec), "") << c.shown;
  }
  EXPECT_EQ(Book(), "");
}

TEST_F(DocumentPostingTest, LinesWithoutARateArePassedOverAfterANotice) {
  Invoice({});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "1"}, {"WNE", "50"}, {"WAB", "50"}, {"TYP", "0"}, {"VAT", "6"}});
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(Run("{F9}{ENTER}{F2}t"), 0);
  EXPECT_NE(seen.find("BEZ STAWKI"), std::string::npos) << seen;
  EXPECT_EQ(Book(), "1 20260305 813.01 0.00 ;");
}

class CashMethodPostingTest : public DocumentPostingTest {
 protected:
  void SetUp() override {
    DocumentPostingTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.cashPit = 'T';
    ASSERT_EQ(OpenZ5KASA(0), 0);
  }
  void Paid(const char* date, const char* amount) {
    AppendRecord(Z5KASA.table, {{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", date}, {"TYZ", "1"},
                                {"ROK", "2026"}, {"REK", "1"}, {"KWO", amount}});
  }
  std::string Cash(const char* name) {
    d4go(Z5KASA.table, 1);
    return TrimmedField(Z5KASA.table, name);
  }
};

TEST_F(CashMethodPostingTest, ThePaidPartIsPostedIntoThePickedEntry) {
  Invoice({{"PKA", "T"}});
  Paid("20260410", "600");
  d4close(Z5KASA.table);
  EXPECT_EQ(Run("{ENTER}{F2}t"), 0);
  // 813.01 x 600 / 1000 = 487.806
  EXPECT_EQ(Book(), "1 20260410 487.81 0.00 T;");
  EXPECT_EQ(Header("TRK"), "1");
  EXPECT_EQ(Header("LPO"), "");
  EXPECT_EQ(Header("DZA"), "");
  ASSERT_EQ(OpenZ5KASA(0), 0);
  EXPECT_EQ(Cash("KSI"), "1");
  EXPECT_EQ(Cash("LKS"), "1");
  EXPECT_EQ(Cash("RKS"), "1");
  EXPECT_EQ(Cash("DKS"), "20260410");
  EXPECT_EQ(Cash("KKS"), "487.81");
}

TEST_F(CashMethodPostingTest, APaymentAboveTheGrossPostsTheWhole) {
  Invoice({{"PKA", "T"}});
  Paid("20260410", "1200");
  d4close(Z5KASA.table);
  EXPECT_EQ(Run("{ENTER}{F2}t"), 0);
  EXPECT_EQ(Book(), "1 20260410 813.01 0.00 T;");
}

TEST_F(CashMethodPostingTest, EntriesThatCannotBePosted) {
  struct Case {
    const char *date, *amount, *shown;
  } cases[] = {
      {"20250410", "600", "Data wpisu w kasie poza rokiem rozrachunkowym."},
      {"20260410", "0", "Kwota zapłacona = 0."},
  };
  Invoice({{"PKA", "T"}});
  for (const Case& c : cases) {
    if (Z5KASA.table == nullptr) {
      ASSERT_EQ(OpenZ5KASA(0), 0);
    }
    if (d4reccount(Z5KASA.table) == 0) {
      Paid(c.date, c.amount);
    } else {
      d4go(Z5KASA.table, 1);
      SetFields(Z5KASA.table, {{"DAT", c.date}, {"KWO", c.amount}});
      d4write(Z5KASA.table, 1);
    }
    d4close(Z5KASA.table);
    seen.clear();
    EXPECT_EQ(Run("{ENTER}{F9}{ENTER}"), 0);
    EXPECT_NE(seen.find(c.shown), std::string::npos) << seen;
  }
  EXPECT_EQ(Header("TRK"), "");
  EXPECT_EQ(Book(), "");
}

}  // namespace

namespace {

// The batch from a menu item " Księguj ": posted and STV 'N' documents are
// passed over silently, each other one dated by its own month.
TEST_F(DocumentPostingTest, BatchPostsTheRestEachInItsMonth) {
  Invoice({});
  Invoice({{"DAS", "20260718"}, {"DAW", "20260718"}, {"DZA", "20260718"}, {"LPO", "7"}}, 2);
  Invoice({{"STV", "N"}}, 3);
  Invoice({{"DAS", "20260915"}, {"DAW", "20260915"}}, 4);
  d4go(Z5SPRZ.table, 1);
  int menu = DefineMenuWindow();
  ASSERT_GE(menu, 0);
  w4select(menu);
  static const std::string caption = Utf8ToMazText(" Księguj ");
  int item = n4item(0, 0, caption.c_str());
  w4record(menu)->startItem = item;
  EXPECT_EQ(HeadlessSetScript("t"), 0);
  int result = -99;
  try {
    result = KsiegujSeryjnie();
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
  }
  w4close(menu);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(Book(), "1 20260305 813.01 0.00 ;2 20260915 813.01 0.00 ;");
  EXPECT_EQ(Header("LPO", 1), "1");
  EXPECT_EQ(Header("LPO", 2), "7");
  EXPECT_EQ(Header("DZA", 3), "");
  EXPECT_EQ(Header("LPO", 4), "2");
  EXPECT_EQ(Header("DZA", 4), "20260915");
}

TEST_F(DocumentPostingTest, BatchRunsOnlyFromItsMenuItem) {
  Invoice({});
  int menu = DefineMenuWindow();
  ASSERT_GE(menu, 0);
  w4select(menu);
  w4record(menu)->startItem = n4item(0, 0, " Drukuj ");
  EXPECT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
  EXPECT_EQ(KsiegujSeryjnie(), 0);
  w4close(menu);
  EXPECT_NE(seen.find("' Drukuj ' nie rowne ' Księguj '"), std::string::npos) << seen;
  EXPECT_EQ(Book(), "");
}

}  // namespace

namespace {

// A EUR document without its own rate takes the rate of the day before the
// earlier of its issue and sale dates; without one nothing is posted.
TEST_F(DocumentPostingTest, ForeignCurrencyTakesTheRateOfTheDayBefore) {
  salesOptions.askRateDate = 'N';
  ASSERT_EQ(OpenZ5KURS(0), 0);
  AppendRecord(Z5KURS.table, {{"DAT", "20260302"}, {"KOD", "EUR"}, {"KUR", "4.00"}});
  AppendRecord(Z5KURS.table, {{"DAT", "20260304"}, {"KOD", "EUR"}, {"KUR", "4.50"}});
  d4close(Z5KURS.table);
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20260305",
                      {{"STV", "T"}, {"KKS", "0"}, {"WAL", "EUR"}, {"DAS", "20260303"}},
                      {{{"WNE", "100"}, {"WAB", "100"}, {"TYP", "1"}, {"VAT", "5"}}});
  EXPECT_EQ(Run("{F2}t"), 0);
  EXPECT_EQ(Book(), "1 20260303 400.00 0.00 ;");
  EXPECT_EQ(Header("KKS"), "0.000000");
  // Rates only after the document: the lookup is left and nothing posted.
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 1, "FV", "20260101", {{"STV", "T"}, {"KKS", "0"}, {"WAL", "EUR"}},
                      {{{"WNE", "100"}, {"WAB", "100"}, {"TYP", "1"}, {"VAT", "5"}}});
  seen.clear();
  EXPECT_LT(Run("{F9}{ESC}"), 1);
  EXPECT_NE(seen.find("Szukaj / Dopisz kurs EUR"), std::string::npos) << seen;
  EXPECT_EQ(Header("DZA", 2), "");
  EXPECT_EQ(Book(), "1 20260303 400.00 0.00 ;");
}

}  // namespace

namespace {

// Under the cash method the batch posts the first cash entry not posted yet.
TEST_F(CashMethodPostingTest, BatchPostsTheFirstUnpostedPayment) {
  Invoice({{"PKA", "T"}});
  Paid("20260410", "400");
  SetFields(Z5KASA.table, {{"KSI", "1"}, {"LKS", "1"}});
  d4write(Z5KASA.table, 1);
  Paid("20260512", "600");
  d4close(Z5KASA.table);
  d4go(Z5SPRZ.table, 1);
  int menu = DefineMenuWindow();
  ASSERT_GE(menu, 0);
  w4select(menu);
  static const std::string caption = Utf8ToMazText(" Księguj ");
  w4record(menu)->startItem = n4item(0, 0, caption.c_str());
  EXPECT_EQ(HeadlessSetScript("t"), 0);
  EXPECT_EQ(KsiegujSeryjnie(), 0);
  w4close(menu);
  EXPECT_EQ(Book(), "1 20260512 487.81 0.00 T;");
  EXPECT_EQ(Header("TRK"), "1");
  EXPECT_EQ(Header("DZA"), "");
  ASSERT_EQ(OpenZ5KASA(0), 0);
  d4go(Z5KASA.table, 2);
  EXPECT_EQ(TrimmedField(Z5KASA.table, "KSI"), "1");
  EXPECT_EQ(TrimmedField(Z5KASA.table, "DKS"), "20260512");
  EXPECT_EQ(TrimmedField(Z5KASA.table, "KKS"), "487.81");
}

// An advance invoice (kind 11) is posted whole, as posted by payment.
TEST_F(DocumentPostingTest, AdvanceInvoiceIsMarkedPostedByPayment) {
  Invoice({{"TYV", "11"}});
  EXPECT_EQ(Run("{F2}t"), 0);
  EXPECT_EQ(Book(), "1 20260305 813.01 0.00 T;");
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  d4go(Z5DANE.table, 1);
  EXPECT_EQ(TrimmedField(Z5DANE.table, "KNF"), "1000.00");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "DNF"), "20260305");
  EXPECT_EQ(TrimmedField(Z5DANE.table, "REW"), "1");
  d4close(Z5DANE.table);
}

}  // namespace
