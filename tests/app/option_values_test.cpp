// The values the option loaders derive from the working year.
#include <gtest/gtest.h>

#include "app/option_values.h"
#include "env/dates.h"
#include "tests/support/env_test.h"

namespace {

class OptionValuesTest : public EnvTest {};

const double kRatesTo2010[VAT_RATE_COUNT] = {22, 7, 3, 6};
const double kRatesFrom2011[VAT_RATE_COUNT] = {23, 8, 5, 7};

TEST_F(OptionValuesTest, DerivedValuesByYear) {
  struct Case {
    int year;
    double basic, reduced1, reduced2, refund;
    double lumpSum8, lumpSum9;
    int february;
    int code5, code10;   // how the sales options read stored codes 5 and 10
  } cases[] = {
      {1900, 22, 7, 3, 6, 17, 20, 28, 5, 10},  {2000, 22, 7, 3, 6, 17, 20, 29, 5, 10},
      {2010, 22, 7, 3, 6, 17, 20, 28, 5, 10},  {2011, 23, 8, 5, 7, 17, 20, 28, 5, 10},
      {2020, 23, 8, 5, 7, 17, 20, 29, 5, 10},  {2021, 23, 8, 5, 7, 15, 17, 28, 5, 10},
      {2023, 23, 8, 5, 7, 15, 17, 28, 5, 10},  {2024, 23, 8, 5, 7, 15, 17, 29, 3, 7},
      {2025, 23, 8, 5, 7, 15, 17, 28, 3, 7},
  };
  for (const Case& c : cases) {
    env->keyboardCodePage = 1;
    DeriveMainOptionValues(c.year, kRatesTo2010, kRatesFrom2011);
    EXPECT_EQ(currentVatRates[VAT_BASIC], c.basic) << c.year;
    EXPECT_EQ(currentVatRates[VAT_REDUCED_1], c.reduced1) << c.year;
    EXPECT_EQ(currentVatRates[VAT_REDUCED_2], c.reduced2) << c.year;
    EXPECT_EQ(currentVatRates[VAT_RR_REFUND], c.refund) << c.year;
    EXPECT_EQ(lumpSumRates[7], c.lumpSum8) << c.year;
    EXPECT_EQ(lumpSumRates[8], c.lumpSum9) << c.year;
    EXPECT_EQ(DaysInMonth(c.year, 2), c.february) << c.year;
    EXPECT_EQ(SalesVatCodeForYear(c.year, 5), c.code5) << c.year;
    EXPECT_EQ(SalesVatCodeForYear(c.year, 10), c.code10) << c.year;
    EXPECT_EQ(SalesVatCodeForYear(c.year, 8), 8) << c.year;
    EXPECT_EQ(env->settlementYear, c.year);
    EXPECT_EQ(env->keyboardCodePage, 3) << "keys arrive in code page 1250";
  }
  const double fixedPart[] = {3, 5.5, 8.5, 8.5, 10, 12, 14};
  for (int i = 0; i < 7; i++) EXPECT_EQ(lumpSumRates[i], fixedPart[i]) << i;
  EXPECT_EQ(lumpSumRates[9], 12.5);
  EXPECT_EQ(lumpSumRates[10], 2);
}

TEST_F(OptionValuesTest, UsualLumpSumOfTheYear) {
  struct Case {
    int year;
    int older, from2022;              // as stored
    int olderAfter, from2022After;    // as the year reads them
  } cases[] = {
      // entry 37 unset: taken from the older entry
      {2021, 1, 0, 1, 3}, {2021, 2, 0, 2, 2}, {2021, 3, 0, 3, 1}, {2021, 4, 0, 4, 8},
      {2021, 5, 0, 5, 9}, {2021, 6, 0, 6, 5}, {2021, 7, 0, 7, 4}, {2021, 8, 0, 8, 4},
      {2021, 0, 0, 0, 1},
      // from 2022 the older entry follows the new one
      {2022, 4, 0, 8, 8}, {2023, 7, 6, 6, 6},
      // before 2016 the entry named one of six kinds
      {2015, 7, 0, 1, 3}, {2016, 7, 0, 7, 4},
  };
  for (const Case& c : cases) {
    int older = c.older, from2022 = c.from2022;
    DeriveUsualLumpSum(c.year, &older, &from2022);
    EXPECT_EQ(older, c.olderAfter) << c.year << " " << c.older << " " << c.from2022;
    EXPECT_EQ(from2022, c.from2022After) << c.year << " " << c.older << " " << c.from2022;
  }
}

TEST(OptionValues, SettlementKindOfTheTaxOption) {
  struct Case {
    int stored, kind, companion;
  } cases[] = {{1, 1, 13}, {3, 1, 13}, {6, 1, 13}, {2, 2, 14}, {4, 2, 14}, {5, 2, 14},
               {7, 2, 14}, {8, 2, 14}, {0, 0, 14}, {9, 9, 14}};
  for (const Case& c : cases) {
    int kind = -1, companion = -1;
    SettlementKindOf(c.stored, &kind, &companion);
    EXPECT_EQ(kind, c.kind) << c.stored;
    EXPECT_EQ(companion, c.companion) << c.stored;
  }
}

TEST(OptionValues, ZusRateMovesOnce) {
  struct Case {
    double rate2, rate56, rate2After;
  } cases[] = {{0, 1.8, 0.3}, {0, 1.5, 0}, {0.2, 1.8, 0.2}, {0, 0, 0}};
  for (const Case& c : cases) {
    double rate2 = c.rate2, rate56 = c.rate56;
    AdjustZusRates(&rate2, &rate56);
    EXPECT_DOUBLE_EQ(rate2, c.rate2After) << c.rate2 << " " << c.rate56;
    EXPECT_EQ(rate56, 0) << c.rate2 << " " << c.rate56;
  }
}

}  // namespace
