// The receipt options and the settings of each fiscal-printer make: six
// parameter sets of the parameter store in the firm directory, each loaded
// into a program-wide block (missing parameters are created with their
// defaults) and written back from it, and the options windows that edit them.
// Loaders and savers return 0, -1 when the table does not open, or the
// store's error flag after a failed read or write (its box already shown).
#pragma once

struct ParamTable;
struct Selection;
struct Wiget;
struct WigetEvent;

// DETAL: the retail receipts ("Z5PADV.DBF").
struct DetalParams {
  char receiptIdent[5], receiptSuffix[10];    // 1, 2
  char invoiceIdent[5], invoiceSuffix[10];    // 3, 4
  char thirdIdent[5], thirdSuffix[10];        // 5, 6
  char vatFromNet;                            // 7
  char useAccounts;                           // 8
  char searchByName;                          // 9
  char updateStock;                           // 10
  char printAfterSave;                        // 11
  char netSpecification;                      // 12
  int printerType;                            // 14
  int comPort;                                // 15
  char paidWindow;                            // 16
  char stored17;                              // 17
  char monthOnly;                             // 18
  int sellingPrice;                           // 19
  int pricesShown;                            // 20
  char priceChange;                           // 21
  char receiptName[41];                       // 22
  char invoiceName[41];                       // 23
  char billName[41];                          // 24
  char paymentForm[26];                       // 25
  char remarks;                               // 27
  int entryStart;                             // 28
};

// The VAT letters of a make, in the parameter order basic, reduced 1,
// reduced 2, zero, exempt, margin, refund, spare, spare.
struct MakeLetters {
  char basic, reduced1, reduced2, zero, exempt, margin, refund, spare1, spare2;
};

// POSNET family ("Z5PAPO.DBF").
struct PosnetParams {
  int errorDisplay;                           // 1: 0 printer display, 1 screen
  int printMode;                              // 28: 0 after issuing, 1 while issuing
  MakeLetters letters;                        // 3, 4, 10, 5, 6, 7, 26, 8, 9
  char trainingHeader[5][41];                 // 11..15
  char header[2][41];                         // 17, 18
  char footer[3][41];                         // 19..21
  char fixed22[2], fixed23[1];                // 22, 23: exactly that many characters
  char shortSummary;                          // 24
  char drawer;                                // 25
  char detailedDisplay;                       // 27
  char onlineProtocol;                        // 29
  char printNip;                              // 30
};

// TP Line ("Z5PACO.DBF").
struct TpLineParams {
  MakeLetters letters;                        // 1, 2, 8, 3, 4, 5, 19, 6, 7
  char header[8][25];                         // 9..16
  int device;                                 // 17
  int cashier;                                // 18
};

// ORHMET ("Z5PAOR.DBF").
struct OrhmetParams {
  MakeLetters letters;                        // 1, 2, 8, 3, 4, 5, 30, 6, 7
  char stored9[8][19];                        // 9..16
  char header[2][19];                         // 18, 19
  char stored20[8][19];                       // 20..27
  char terminal[2];                           // 28: exactly two characters
  char cashier[2];                            // 29
};

// ELZAB ("Z5PAEL.DBF").
struct ElzabParams {
  MakeLetters letters;                        // 1, 2, 8, 3, 4, 5, 12, 6, 7
  char terminal[2];                           // 9: exactly two characters
  char cashier[2];                            // 10
};

// SPARK 482G ("Z5PASP.DBF"): VAT codes as digits.
struct SparkParams {
  MakeLetters codes;                          // 3, 4, 10, 5, 6, 7, 19, 8, 9
  char header[5][29];                         // 11..15
  char stored16[2];                           // 16: read and written empty
  char device[3];                             // 17
  char cashier[6];                            // 18
};

extern DetalParams parametryDetal;
extern PosnetParams parametryPosnet;
extern TpLineParams parametryTpLine;
extern OrhmetParams parametryOrhmet;
extern ElzabParams parametryElzab;
extern SparkParams parametrySpark;
// The ELZAB driver's route through an outside program; the ELZAB load sets it to 'N'.
extern char elzabOutsideProgram;

// Fill the context with the set's keys and name and open its table; 0 when open.
int Z5PADV(ParamTable* ctx);
int OtworzParametryPosnet(ParamTable* ctx);
int OtworzParametryTpLine(ParamTable* ctx);
int OtworzParametryOrhmet(ParamTable* ctx);
int OtworzParametryElzab(ParamTable* ctx);
int OtworzParametrySpark(ParamTable* ctx);

// The nine letters of a make in the connection record's order: basic,
// reduced 1, reduced 2, refund, zero, exempt, margin, spare, spare.
void DFLitery(const MakeLetters& letters, char* out9);

int CzytajParametryDETAL();
int ZapiszParametryDETAL();
int CzytajParametryPosnet();
int ZapiszParametryPosnet();
int CzytajParametryTpLine();
int ZapiszParametryTpLine();
int CzytajParametryOrhmet();
int ZapiszParametryOrhmet();
int CzytajParametryElzab();
int ZapiszParametryElzab();
int CzytajParametrySpark();
int ZapiszParametrySpark();

// The payment forms "1. GOTÓWKA" to "8. POLECENIE ZAPŁATY", filled at the
// first F4 in a payment-form field.
extern Selection ListaFormPlatnosci[10];
// Key routines of the receipt options: the COM port takes '1' to '4'; F4 in
// the payment form offers the list and stores the chosen text.
int DFKlawiszPortu(WigetEvent* event, Wiget* element, void* formData);
int DFWybierzFormePlatnosci(WigetEvent* event, Wiget* element, void* formData);

// The options windows: 0, or the saver's result after F2.
int DFOpcjeParagonow();
int PosnetOpcje();
int OrhmetOpcje();
int ElzabOpcje();
int SparkOpcje();
