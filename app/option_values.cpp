#include "app/option_values.h"

#include <cstring>

#include "app/vat_services.h"
#include "env/session/environment.h"

double currentVatRates[VAT_RATE_COUNT];
double lumpSumRates[LUMP_SUM_RATE_COUNT];
char optionNipCheck = 'N';
char optionPeselCheck = 'N';
char optionOriginalCopyMark = 'N';
char optionBothMarksBefore2013 = 'T';

namespace {

constexpr int LAST_YEAR_OF_OLD_RATES = 2010;
constexpr int FIRST_YEAR_OF_2021_LUMP_SUMS = 2021;
constexpr int FIRST_YEAR_OF_RATE_LISTS = 2016;
constexpr int FIRST_YEAR_OF_2022_LUMP_SUMS = 2022;
constexpr int KEYS_IN_CP1250 = 3;

}  // namespace

void DeriveMainOptionValues(int workingYear, const double ratesTo2010[VAT_RATE_COUNT],
                            const double ratesFrom2011[VAT_RATE_COUNT]) {
  const double* rates = workingYear <= LAST_YEAR_OF_OLD_RATES ? ratesTo2010 : ratesFrom2011;
  std::memcpy(currentVatRates, rates, sizeof currentVatRates);
  bool from2021 = workingYear >= FIRST_YEAR_OF_2021_LUMP_SUMS;
  const double table[LUMP_SUM_RATE_COUNT] = {3, 5.5, 8.5, 8.5, 10, 12, 14, from2021 ? 15.0 : 17.0,
                                             from2021 ? 17.0 : 20.0, 12.5, 2};
  std::memcpy(lumpSumRates, table, sizeof lumpSumRates);
  if (Environment* env = EnvCurrent()) {
    env->keyboardCodePage = KEYS_IN_CP1250;
    env->settlementYear = workingYear;
  }
}

int SalesVatCodeForYear(int workingYear, int code) {
  return workingYear >= FIRST_YEAR_OF_GROUPED_CODES ? grupa_stawki_vat(code) : code;
}

void DeriveUsualLumpSum(int workingYear, int* older, int* from2022) {
  // Before 2016 the entry named a kind of activity, of which there were six.
  if (workingYear < FIRST_YEAR_OF_RATE_LISTS && *older > 6) *older = 1;
  if (*from2022 == 0) {
    switch (*older) {
      case 1: *from2022 = 3; break;
      case 2: *from2022 = 2; break;
      case 4: *from2022 = 8; break;
      case 5: *from2022 = 9; break;
      case 6: *from2022 = 5; break;
      case 7:
      case 8: *from2022 = 4; break;
      default: *from2022 = 1; break;
    }
  }
  if (workingYear >= FIRST_YEAR_OF_2022_LUMP_SUMS) *older = *from2022;
}

void SettlementKindOf(int stored, int* kind, int* companion) {
  switch (stored) {
    case 2:
    case 4:
    case 5:
    case 7:
    case 8: *kind = 2; break;
    case 1:
    case 3:
    case 6: *kind = 1; break;
    default: *kind = stored; break;
  }
  *companion = *kind == 1 ? 13 : 14;
}

void AdjustZusRates(double* rate2, double* rate56) {
  constexpr double RATE_56_OFFSET = 1.5;
  if (*rate56 > RATE_56_OFFSET && *rate2 == 0) *rate2 = *rate56 - RATE_56_OFFSET;
  *rate56 = 0;
}
