// The per-rate VAT summary and the lump-sum rates of rate codes.
#include <gtest/gtest.h>

#include "app/option_values.h"
#include "app/vat_summary.h"
#include "tests/support/env_test.h"

namespace {

const double kRatesTo2010[VAT_RATE_COUNT] = {22, 7, 3, 6};
const double kRatesFrom2011[VAT_RATE_COUNT] = {23, 8, 5, 7};

class VatSummaryTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    DeriveMainOptionValues(2011, kRatesTo2010, kRatesFrom2011);
    for (double* row : {summary.net, summary.vat, summary.gross, summary.rate}) ZerujWierszVat(row);
  }
  VatSummary summary;
};

TEST_F(VatSummaryTest, LinesGoToTheSlotOfTheirCodeAndRate) {
  struct Case {
    int code;
    double rate;
    int slot;          // -1: not added
    double keptRate;   // the slot's rate entry afterwards
  } cases[] = {
      {1, 23, 0, 0},   {1, 22, 11, 22}, {2, 8, 1, 0},    {2, 7, 12, 7},  {8, 5, 2, 0},   {8, 3, 13, 3},
      {9, 7, 3, 0},    {9, 6.5, 14, 6.5}, {3, 0, 4, 0},  {3, 5, 9, 5},   {4, 0, 5, 0},   {4, 8, 10, 8},
      {6, 23, 7, 0},   {12, 4, 8, 4},   {7, 0, 6, 0},    {10, 23, 6, 0}, {11, 0, 6, 0},  {13, 0, 4, 0},
      {14, 23, 4, 0},  {0, 23, -1, 0},  {5, 0, -1, 0},
  };
  for (const Case& c : cases) {
    VatSummary s{};
    DodajDoPodsumowaniaVat(&s, c.code, 100, 20, 120, c.rate);
    DodajDoPodsumowaniaVat(&s, c.code, 1, 2, 3, c.rate);
    for (int slot = 0; slot < VAT_SUMMARY_SLOTS; slot++) {
      bool here = slot == c.slot;
      EXPECT_EQ(s.net[slot], here ? 101 : 0) << c.code << " at " << c.rate << ", slot " << slot;
      EXPECT_EQ(s.vat[slot], here ? 22 : 0) << c.code << " at " << c.rate << ", slot " << slot;
      EXPECT_EQ(s.gross[slot], here ? 123 : 0) << c.code << " at " << c.rate << ", slot " << slot;
      EXPECT_EQ(s.rate[slot], here ? c.keptRate : 0) << c.code << " at " << c.rate << ", slot " << slot;
    }
  }
}

TEST_F(VatSummaryTest, KeptRateIsTheLastOneAdded) {
  DodajDoPodsumowaniaVat(&summary, 1, 10, 2.2, 12.2, 22);
  DodajDoPodsumowaniaVat(&summary, 1, 10, 2.1, 12.1, 21);
  EXPECT_EQ(summary.rate[11], 21);
  EXPECT_DOUBLE_EQ(summary.vat[11], 4.3);
}

TEST_F(VatSummaryTest, RowSums) {
  EXPECT_EQ(SumaWierszaVat(summary.net), 0);
  DodajDoPodsumowaniaVat(&summary, 1, 100, 23, 123, 23);
  DodajDoPodsumowaniaVat(&summary, 4, 50, 0, 50, 0);
  DodajDoPodsumowaniaVat(&summary, 12, 10, 0.4, 10.4, 4);
  EXPECT_EQ(SumaWierszaVat(summary.net), 160);
  EXPECT_DOUBLE_EQ(SumaWierszaVat(summary.gross), 183.4);
  ZerujWierszVat(summary.net);
  EXPECT_EQ(SumaWierszaVat(summary.net), 0);
  EXPECT_DOUBLE_EQ(SumaWierszaVat(summary.vat), 23.4) << "other rows untouched";
}

TEST_F(VatSummaryTest, TheCurrentRatesFollowTheYear) {
  DeriveMainOptionValues(2010, kRatesTo2010, kRatesFrom2011);
  DodajDoPodsumowaniaVat(&summary, 1, 100, 22, 122, 22);
  EXPECT_EQ(summary.net[0], 100);
  EXPECT_EQ(summary.net[11], 0);
}

TEST_F(VatSummaryTest, LumpSumRateByYear) {
  struct Case {
    int year;
    double rates[11];   // codes 0 to 10
  } cases[] = {
      {2015, {0, 8.5, 5.5, 3, 17, 20, 10, 2, 0, 0, 0}},
      {2020, {0, 8.5, 5.5, 3, 17, 20, 10, 2, 0, 0, 0}},
      {2021, {0, 8.5, 5.5, 3, 15, 17, 10, 12.5, 8.5, 0, 0}},
      {2022, {0, 3, 5.5, 8.5, 8.5, 10, 12, 14, 15, 17, 12.5}},
      {2025, {0, 3, 5.5, 8.5, 8.5, 10, 12, 14, 15, 17, 12.5}},
  };
  for (const Case& c : cases) {
    DeriveMainOptionValues(c.year, kRatesTo2010, kRatesFrom2011);
    for (int code = 0; code <= 10; code++) EXPECT_EQ(StawkaRyczaltu(code), c.rates[code]) << c.year << " code " << code;
    EXPECT_EQ(StawkaRyczaltu(11), 0) << c.year;
    EXPECT_EQ(StawkaRyczaltu(-1), 0) << c.year;
  }
}

}  // namespace
