#include <gtest/gtest.h>

#include "app/option_values.h"
#include "sales/register_actions.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/display.h"
#include "tests/tables/empty_catalogue.h"

namespace {

// Kind switches ask first; the script answers.
class KindSwitchTest : public SalesScreenTest {
 protected:
  void Document(const char* kind) {
    AppendRecord(Z5SPRZ.table, {{"TYV", kind}, {"REC", "1"}, {"DAW", "20230112"}, {"DAS", "20230110"},
                                {"DAV", "20230112"}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}});
    AppendRecord(Z5SPRE.table, {{"TYV", kind}, {"REK", "1"}, {"ILO", "1"}, {"CNR", "100"}, {"WNE", "100"},
                                {"WAV", "23"}, {"WAB", "123"}, {"VAS", "23"}, {"VAT", "1"}});
    d4go(Z5SPRZ.table, 1);
  }
  std::string HeaderText(const char* name) { return FieldText(Z5SPRZ.table, name); }
  int Kind() { return f4int(d4field(Z5SPRZ.table, "TYV")); }
  int LineKind() {
    d4go(Z5SPRE.table, 1);
    return f4int(d4field(Z5SPRE.table, "TYV"));
  }
};

TEST_F(KindSwitchTest, SmallTaxpayerSwitchMovesTheVatDateBothWays) {
  Document("1");
  ASSERT_EQ(HeadlessSetScript("T"), 0);
  zamien_fakture_maly_podatnik(1);
  EXPECT_EQ(Kind(), 7);
  EXPECT_EQ(HeaderText("DAV"), "20230708");
  EXPECT_EQ(LineKind(), 7);
  d4go(Z5SPRZ.table, 1);
  ASSERT_EQ(HeadlessSetScript("T"), 0);
  zamien_fakture_maly_podatnik(1);
  EXPECT_EQ(Kind(), 1);
  EXPECT_EQ(HeaderText("DAV"), "20230112");
  EXPECT_EQ(LineKind(), 1);
}

TEST_F(KindSwitchTest, EscOrAnotherKindChangesNothing) {
  Document("1");
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  zamien_fakture_maly_podatnik(1);
  EXPECT_EQ(Kind(), 1);
  EXPECT_EQ(HeaderText("DAV"), "20230112");
  // Ctrl+J swaps MP and FP only: an FV stays, without a question.
  ASSERT_EQ(HeadlessSetScript("T"), 0);
  zamien_rodzaj_faktury(10);
  EXPECT_EQ(Kind(), 1);
  zamien_rodzaj_faktury(6);
  EXPECT_EQ(Kind(), 9);
  EXPECT_EQ(LineKind(), 9);
}

class DeliveryTypeTest : public KindSwitchTest {
 protected:
  void SetUp() override {
    KindSwitchTest::SetUp();
    if (HasFatalFailure()) return;
    OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
    AppendRecord(Z5KRAJ.table, {{"KRA", "NIEMCY"}, {"SUE", "T"}, {"VPO", "19"}, {"VO1", "7"}});
    AppendRecord(Z5KRAJ.table, {{"KRA", "NORWEGIA"}, {"SUE", "N"}});
    d4close(Z5KRAJ.table);
  }
  void Document(const char* type, const char* country) {
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"DAW", "20260110"}, {"STM", type}, {"KRA", country},
                                {"TTR", "N"}, {"ANU", "T"}});
    d4go(Z5SPRZ.table, 1);
  }
};

TEST_F(DeliveryTypeTest, ExportAsksForACountryOutsideTheUnionAndEscChangesNothing) {
  Document("1", "POLSKA");
  // Export from the first item (a key ends the pause): the list of countries opens, Esc leaves it.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{ENTER}{ENTER}{ESC}"), 0);
  zmien_typ_dostawy(0, 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(HeaderText("STM"), "1");
  EXPECT_EQ(HeaderText("KRA"), "POLSKA");
  // The list offers only NORWEGIA: Enter takes it.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{ENTER}{ENTER}{ENTER}"), 0);
  zmien_typ_dostawy(0, 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(HeaderText("STM"), "3");
  EXPECT_EQ(HeaderText("KRA"), "NORWEGIA");
}

TEST_F(DeliveryTypeTest, DomesticTypeSetsPolandWithoutAsking) {
  Document("2", "NIEMCY");
  ASSERT_EQ(HeadlessSetScript("{UP}{ENTER}"), 0);
  zmien_typ_dostawy(0, 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(HeaderText("STM"), "1");
  EXPECT_EQ(HeaderText("KRA"), "POLSKA");
  EXPECT_EQ(HeaderText("ANU"), "N");
}

class RerateTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    saved = currentVatRates[VAT_BASIC];
    savedReduced = currentVatRates[VAT_REDUCED_2];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_2] = 8;
  }
  void TearDown() override {
    currentVatRates[VAT_BASIC] = saved;
    currentVatRates[VAT_REDUCED_2] = savedReduced;
    SalesTest::TearDown();
  }
  double LineValue(long record, const char* name) {
    d4go(Z5SPRE.table, record);
    return f4double(d4field(Z5SPRE.table, name));
  }
  double saved = 0, savedReduced = 0;
};

TEST_F(RerateTest, GrossLineKeepsItsGrossAndUnchangedRatesKeepTheirValues) {
  Header({{"TYV", "1"}, {"REC", "1"}, {"TRY", "2"}, {"STM", "2"}, {"KRA", "NIEMCY"}});
  // Rate 0 of an intra-community supply going domestic: 23 % out of the gross.
  Line({{"REK", "1"}, {"STM", "2"}, {"VAT", "1"}, {"VAS", "0"}, {"ILO", "1"}, {"CBR", "123"}, {"WNE", "123"},
        {"WAV", "0"}, {"WAB", "123"}});
  // Already at 8 %: its values stay exactly, odd cents included.
  Line({{"REK", "1"}, {"STM", "2"}, {"VAT", "8"}, {"VAS", "8"}, {"ILO", "3"}, {"CBR", "10"}, {"WNE", "27.79"},
        {"WAV", "2.22"}, {"WAB", "30.01"}});
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(przelicz_pozycje_dla_typu_dostawy(1), 0);
  EXPECT_DOUBLE_EQ(LineValue(1, "WAB"), 123.00);
  EXPECT_DOUBLE_EQ(LineValue(1, "WAV"), 23.00);
  EXPECT_DOUBLE_EQ(LineValue(1, "WNE"), 100.00);
  EXPECT_EQ(FieldText(Z5SPRE.table, "STM"), "1");
  EXPECT_DOUBLE_EQ(LineValue(2, "WNE"), 27.79);
  EXPECT_DOUBLE_EQ(LineValue(2, "WAB"), 30.01);
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "NET")), 127.79);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "VAT")), 25.22);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "BRU")), 153.01);
}

TEST_F(RerateTest, IntoOssRecodesToTheCountrysRateIndexAndBackToTheTypesCode) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  AppendRecord(Z5KRAJ.table, {{"KRA", "NIEMCY"}, {"VPO", "19"}, {"VO1", "7"}, {"VO2", "0"}, {"VSO", "0"}});
  d4close(Z5KRAJ.table);
  Header({{"TYV", "1"}, {"REC", "1"}, {"TRY", "1"}, {"STM", "4"}, {"KRA", "NIEMCY"}});
  struct Case {
    const char* code;
    int index;      // OSS rate index after the change
    double rate;
  };
  // Code 8 maps to index 4, code 9 to 3: NIEMCY has two rates, so both cap at 2.
  const Case cases[] = {{"1", 1, 19}, {"2", 2, 7}, {"8", 2, 7}, {"9", 2, 7}};
  for (const Case& c : cases)
    Line({{"REK", "1"}, {"STM", "1"}, {"VAT", c.code}, {"VAS", "23"}, {"ILO", "1"}, {"CNR", "100"},
          {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}});
  d4go(Z5SPRZ.table, 1);
  EXPECT_EQ(przelicz_pozycje_dla_typu_dostawy(4), 0);
  for (long i = 0; i < 4; i++) {
    SCOPED_TRACE(cases[i].code);
    EXPECT_DOUBLE_EQ(LineValue(i + 1, "VAS"), cases[i].rate);
    EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), cases[i].index);
    EXPECT_DOUBLE_EQ(LineValue(i + 1, "WAV"), cases[i].rate);
  }
  // Out of OSS an index is no domestic code: every line takes the type's default.
  d4go(Z5SPRZ.table, 1);
  f4assign_char(d4field(Z5SPRZ.table, "STM"), '3');
  EXPECT_EQ(przelicz_pozycje_dla_typu_dostawy(3), 0);
  for (long i = 1; i <= 4; i++) {
    EXPECT_EQ(LineValue(i, "VAS"), 0);
    EXPECT_EQ(f4int(d4field(Z5SPRE.table, "VAT")), 3);
  }
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "BRU")), 400);
  EXPECT_EQ(Boxes(), "");
}

}  // namespace
