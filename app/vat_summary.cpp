#include "app/vat_summary.h"

#include "app/option_values.h"
#include "env/session/environment.h"

namespace {

constexpr int SLOT_NOT_ADDED = -1;

struct SlotRule {
  int code;
  int rateIndex;       // the current rate the line's rate is compared with; -1 compared with 0
  int slotWhenEqual;
  int slotOtherwise;   // its rate is kept
};

// Codes whose slot depends on the line's rate.
constexpr SlotRule kByRate[] = {
    {1, VAT_BASIC, 0, 11},     {2, VAT_REDUCED_1, 1, 12}, {8, VAT_REDUCED_2, 2, 13},
    {9, VAT_RR_REFUND, 3, 14}, {3, -1, 4, 9},             {4, -1, 5, 10},
};

constexpr int SLOT_TAXI = 8;   // the only fixed slot whose rate is kept

// Indexes into the lump-sum rates of the year, by code 1 to 10.
constexpr int kLumpSumFrom2022[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int kLumpSum2016To2020[7] = {2, 1, 0, 7, 8, 4, 10};
// The 2021 list keeps codes 1 to 6 of the older ones and adds 12.5 and 8.5 (rent).
constexpr int kLumpSum2021[8] = {2, 1, 0, 7, 8, 4, 9, 3};

// The slot a line goes to, SLOT_NOT_ADDED for none.
int VatSummarySlot(int rateCode, double lineRate) {
  for (const SlotRule& rule : kByRate) {
    if (rule.code != rateCode) continue;
    double configured = rule.rateIndex < 0 ? 0.0 : currentVatRates[rule.rateIndex];
    return lineRate == configured ? rule.slotWhenEqual : rule.slotOtherwise;
  }
  switch (rateCode) {
    case 0:
    case 5: return SLOT_NOT_ADDED;
    case 6: return 7;
    case 7:
    case 10:
    case 11: return 6;
    case 12: return SLOT_TAXI;
    default: return rateCode > 12 ? 4 : SLOT_NOT_ADDED;
  }
}

}  // namespace

void ZerujWierszVat(double* row) {
  for (int i = 0; i < VAT_SUMMARY_SLOTS; i++) row[i] = 0;
}

double SumaWierszaVat(const double* row) {
  double sum = 0;
  for (int i = 0; i < VAT_SUMMARY_SLOTS; i++) sum += row[i];
  return sum;
}

void DodajDoPodsumowaniaVat(VatSummary* summary, int rateCode, double net, double vat, double gross,
                            double lineRate) {
  int slot = VatSummarySlot(rateCode, lineRate);
  if (slot < 0) return;
  summary->net[slot] += net;
  summary->vat[slot] += vat;
  summary->gross[slot] += gross;
  if (slot >= SLOT_TAXI) summary->rate[slot] = lineRate;
}

double StawkaRyczaltu(int rateCode) {
  Environment* env = EnvCurrent();
  int year = env ? env->settlementYear : 0;
  const int* entries = kLumpSum2016To2020;
  int count = 7;
  if (year >= 2022) {
    entries = kLumpSumFrom2022;
    count = 10;
  } else if (year == 2021) {
    entries = kLumpSum2021;
    count = 8;
  }
  if (rateCode < 1 || rateCode > count) return 0;
  return lumpSumRates[entries[rateCode - 1]];
}
