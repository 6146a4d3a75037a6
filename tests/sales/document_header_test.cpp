// The save of a sales document header: the totals check against the lines,
// the header stamped into its lines, the split-payment question, the
// deletion of a document with its lines, and a stored header's repair.
#include <gtest/gtest.h>

#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "sales/document_header.h"
#include "sales/document_totals.h"
#include "sales/header_form.h"
#include "sales/sales_register.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentHeaderTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    definition = definicja_rejestru_sprzedazy{};
    definition.lastDelivery = 1;
    definicjaRejestru = &definition;
    buduj_formularze_naglowka(1);
  }
  void TearDown() override {
    definicjaRejestru = nullptr;
    SalesScreenTest::TearDown();
  }
  // An FV/1 header of record 1 with its totals; the headers table stands on it.
  void Document(const char* net, const char* vat, const char* gross) {
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"VAT", "1"}});
    AppendRecord(Z5SPRE.table, {{"REK", "2"}, {"WNE", "5"}, {"WAV", "1"}, {"WAB", "6"}});
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"STM", "1"},
                                {"DAW", "20261210"}, {"DAV", "20261211"}, {"WAL", "PLN"}, {"KVA", "1"},
                                {"NET", net}, {"VAT", vat}, {"BRU", gross}});
  }
  bool LineOfHeaderLeft() {
    for (long r = 1; r <= d4reccount(Z5SPRE.table); r++) {
      d4go(Z5SPRE.table, r);
      if (!d4deleted(Z5SPRE.table) && f4long(d4field(Z5SPRE.table, "REK")) == 1) return true;
    }
    return false;
  }

  definicja_rejestru_sprzedazy definition{};
};

TEST_F(DocumentHeaderTest, SaveStampsTheLinesWhenTheTotalsAgree) {
  Document("100.00", "23.00", "123.00");
  ASSERT_EQ(zapisz_dokument(Z5SPRZ.table, nullptr, nullptr), 0);
  EXPECT_FALSE(d4deleted(Z5SPRZ.table));
  d4go(Z5SPRE.table, 1);
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "TYV")), 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "PRE"), "  FV");
  EXPECT_EQ(f4int(d4field(Z5SPRE.table, "NRV")), 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20261211");
  EXPECT_EQ(FieldText(Z5SPRE.table, "WAL"), "PLN");
  d4go(Z5SPRE.table, 2);
  EXPECT_EQ(FieldText(Z5SPRE.table, "TYV"), "") << "a line of another header is not touched";
}

TEST_F(DocumentHeaderTest, TotalsOffByOneGroszAreNotSaved) {
  for (const char* gross : {"123.01", "122.99"}) {
    Document("100.00", "23.00", gross);
    HeadlessSetScript("{F9}{ENTER}");
    EXPECT_EQ(zapisz_dokument(Z5SPRZ.table, nullptr, nullptr), -1) << gross;
    EXPECT_TRUE(d4deleted(Z5SPRZ.table)) << gross;
    EXPECT_FALSE(LineOfHeaderLeft()) << gross;
    EXPECT_NE(seen.find("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"), std::string::npos) << seen;
    seen.clear();
  }
}

TEST_F(DocumentHeaderTest, SplitPaymentIsAskedAboveFifteenThousandZloty) {
  struct Case {
    double gross;
    const char* currency;
    double rate;
    int kind;
    bool asked;
  } cases[] = {{15000.00, "PLN", 1, 1, false}, {15000.01, "PLN", 1, 1, true}, {4000.00, "EUR", 4.0, 1, true},
               {3750.00, "EUR", 4.0, 1, false}, {20000.00, "PLN", 1, 5, false}};
  for (const Case& c : cases) {
    AppendRecord(Z5SPRZ.table, {{"TYV", std::to_string(c.kind)}, {"WAL", c.currency},
                                {"KVA", std::to_string(c.rate)}, {"REC", "1"}});
    wyczysc_sumy_dokumentu();
    sumyDokumentu.document[SUM_GROSS] = c.gross;
    definition.splitPaymentAnswered = false;
    HeadlessSetScript("{F9}T");
    zapisz_sumy_naglowka(c.kind);
    bool asked = seen.find("Czy mechanizm podzielonej płatności?") != std::string::npos;
    EXPECT_EQ(asked, c.asked) << c.gross << " " << c.currency;
    EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "NRM")), c.asked ? 1 : 0) << c.gross;
    EXPECT_EQ(FieldText(Z5SPRZ.table, "NKV").size() >= 13 && FieldText(Z5SPRZ.table, "NKV")[12] == 'T', c.asked)
        << c.gross;
    seen.clear();
  }
}

TEST_F(DocumentHeaderTest, DeletingAHeaderTakesItsLines) {
  ASSERT_EQ(OpenZ5KASA(0), 0);
  Document("100.00", "23.00", "123.00");
  long header = d4recno(Z5SPRZ.table);
  ASSERT_EQ(go_and_lock(Z5SPRZ.table, header), 0);
  EXPECT_EQ(przed_usunieciem_dokumentu(), 0);
  d4unlock(Z5SPRZ.table);
  EXPECT_FALSE(LineOfHeaderLeft());
  d4go(Z5SPRE.table, 2);
  EXPECT_FALSE(d4deleted(Z5SPRE.table)) << "the line of another header stays";
}

}  // namespace
