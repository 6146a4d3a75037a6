// The per-rate VAT summary of a printout and the lump-sum rate of a rate code.
#pragma once

constexpr int VAT_SUMMARY_SLOTS = 15;

// Four rows addressed by slot: slots 0 to 7 gather a rate code at its
// configured rate, 8 to 14 amounts whose rate the rate row carries.
struct VatSummary {
  double net[VAT_SUMMARY_SLOTS];
  double vat[VAT_SUMMARY_SLOTS];
  double gross[VAT_SUMMARY_SLOTS];
  double rate[VAT_SUMMARY_SLOTS];
};

void ZerujWierszVat(double* row);
double SumaWierszaVat(const double* row);
// Adds a line's amounts to the slot of its rate code and rate, compared with
// the current VAT rates; codes 0 and 5 are not added.
void DodajDoPodsumowaniaVat(VatSummary* summary, int rateCode, double net, double vat, double gross,
                            double lineRate);

// The lump-sum rate in percent of a rate code in the working year; 0 for a
// code the year's list does not have.
double StawkaRyczaltu(int rateCode);
