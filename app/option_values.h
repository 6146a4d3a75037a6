// Values of the option sets that the frame and the modules read, and the
// rules by which the working year turns stored parameters into them. The
// option loaders fill these; everything else only reads them.
#pragma once

// The four current VAT rates, in this order.
constexpr int VAT_BASIC = 0;
constexpr int VAT_REDUCED_1 = 1;
constexpr int VAT_REDUCED_2 = 2;
constexpr int VAT_RR_REFUND = 3;
constexpr int VAT_RATE_COUNT = 4;
extern double currentVatRates[VAT_RATE_COUNT];

// The lump-sum (ryczałt) rates of the working year.
constexpr int LUMP_SUM_RATE_COUNT = 11;
extern double lumpSumRates[LUMP_SUM_RATE_COUNT];

// Main options 31 and 32: 'T' checks NIP and PESEL numbers as they are typed.
extern char optionNipCheck;
extern char optionPeselCheck;

// Sales options 52 ('T' prints the "ORYGINAŁ" / "KOPIA" mark) and 49 ('T'
// prints "ORYGINAŁ / KOPIA" on single prints also before 2013).
extern char optionOriginalCopyMark;
extern char optionBothMarksBefore2013;

// After the main options are read: the current VAT rates (the set up to 2010
// or the one from 2011), the lump-sum rates, and the environment's keyboard
// code page (1250) and year.
void DeriveMainOptionValues(int workingYear, const double ratesTo2010[VAT_RATE_COUNT],
                            const double ratesFrom2011[VAT_RATE_COUNT]);

// A stored VAT-rate code of the sales options as the working year reads it:
// from 2024 the codes are grouped.
int SalesVatCodeForYear(int workingYear, int code);

// The usual lump-sum rate of the sales options: `older` is the entry of the
// lists before 2022 (parameter 16), `from2022` the entry of the list from
// 2022 (parameter 37, 0 when never stored). Both are brought to the year.
void DeriveUsualLumpSum(int workingYear, int* older, int* from2022);

// Tax option 29 as the settlement kind it stands for (1 or 2; any other
// value stays) and the kind's companion value (13 for kind 1, else 14).
void SettlementKindOf(int stored, int* kind, int* companion);

// ZUS options 2 and 56: a rate stored in 56 above 1.5 moves into 2 less 1.5
// when 2 is still 0; 56 is cleared either way once read.
void AdjustZusRates(double* rate2, double* rate56);
