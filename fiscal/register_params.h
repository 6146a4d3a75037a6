// The cash-register settings of the parameter set "KASY FISKALNE"
// ("Z5PAKF.DBF"): the VAT letters of each register family, register numbers,
// code lengths and switches, loaded into one program-wide record, and the
// map between the program's VAT-rate codes and a family's letters.
#pragma once

struct ParamTable;

// A family's six VAT letters, in this order.
enum KasaLiteraVat { KFL_BASIC, KFL_REDUCED1, KFL_REDUCED2, KFL_REFUND, KFL_ZERO, KFL_EXEMPT, KFL_COUNT };

struct KasaParametry {
  char ps2000[KFL_COUNT];        // 1, 2, 3, 94, 4, 5 (digits)
  char cr280[KFL_COUNT];         // 19, 20, 21, 95, 22, 23 (digits)
  char elzab[KFL_COUNT];         // 28, 29, 30, 96, 31, 32 (capitals)
  char omron[KFL_COUNT];         // 36, 37, 38, 97, 39, 40 (digits)
  char adax[KFL_COUNT];          // 47, 48, 49, 98, 50, 51 (digits)
  char mala[KFL_COUNT];          // 55, 56, 57, 99, 58, 59 (digits)
  char tango[KFL_COUNT];         // 72, 73, 74, 101, 75, 76 (capitals)
  char novitus[KFL_COUNT];       // 106 to 111 (capitals)
  char dsa[KFL_COUNT];           // 85, 86, 87, 102, 88, 89 (digits)
  int ps2000Ecr;                 // 17
  int ps2000CodeLength;          // 18: 4 or 13
  int ps2000Timeout;             // 93: seconds
  int elzabEcr;                  // 27
  int elzabUnitDecimals;         // 45: 1 to 3
  char elzabBarcode;             // 46 'T'/'N'
  char codeIsPlu;                // 105 'T'/'N' (ELZAB and the TANGO family)
  char omronVariablePrice;       // 44 'T'/'N'
  char adaxPluFlag;              // 103
  char tangoOpenPrice;           // 80 'T'/'N'
  char tangoProgrammedPrice;     // 81
  char tangoRepeatable;          // 82
  char tangoSingle;              // 83
  int tangoQuantityDecimals;     // 84: 0 to 3
  char dsaBarcode;               // 104 'T'/'N'
};
extern KasaParametry parametryKF;

// Fills the context with the set's keys and name and opens its table; 0 when open.
int OtworzParametryKF(ParamTable* ctx, int flags);
// Clears the record and reads every parameter (creating missing ones with
// their defaults): 0, -1 when the table does not open, or the store's error.
int CzytajParametryKF();
int ZapiszParametryKF();

// The letter of a VAT-rate code in a family's set: 1 basic, 2 reduced 1,
// 8 reduced 2, 9 refund, 3, 5 and 13 zero, 4 exempt, any other `other`.
char KFLiteraVat(const char* letters, int vatCode, char other);
// The VAT-rate code of a letter read back: exempt 4, basic 1, reduced 1 2,
// zero 3, reduced 2 8, refund 9, tried in that order; 1 when none matches.
int KFKodVat(const char* letters, char letter);
// The letter set of a register type, or NULL for a type without one.
const char* KFLiteryTypu(int type);
