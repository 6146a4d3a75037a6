// The five option sets of the program: the main options (program-wide, in the
// program directory) and the firm's tax, sales, ZUS and warehouse options.
// Each loader fills its globals (and some Environment fields) from the set's
// parameter table, creating missing parameters with their defaults; each saver
// writes them back. Loaders and savers return 0, or -1 when the table does not
// open or a parameter could not be read or written.
//
// Text options are blank-padded to their width and zero-terminated; a member
// named storedN is parameter N, which is kept but read by nothing.
#pragma once

// Main options ("OPCJE GŁÓWNE"); the Environment switches, the VAT and
// NIP/PESEL checks and the shared-contractors options live in their own
// globals.
struct MainOptions {
  int workingYear;              // 3
  int lockMinutes;              // 5: 0 = no lock timer
  char stored6;
  int screenFont;               // 16
  int stored17, stored18, stored19, stored20;
  char stored21[36], stored22[36], stored23[36];
  int stored24;
  char archiveDir[35];          // 29
  // 34 to 69: the bank-transfer order print settings.
  char transfer34, transfer35;
  int transfer36;
  char transfer37;
  int transfer39;
  char transfer40, transfer41, transfer42, transfer43, transfer44, transfer45, transfer49;
  int transfer50;
  char transfer51;
  int transfer61;
  char transfer63;
  int transfer69;
  double vatRatesTo2010[4];     // 56, 57, 58, 60
  double stored62;
  double vatRatesFrom2011[4];   // 65 to 68
  char onlineNipCheck;          // 73
  char jpkFileNames;            // 74
  double taxiLumpSum;           // 80
  char bookNumberCheck;         // 81
};
extern MainOptions mainOptions;

// Tax options ("PODATKI").
struct TaxOptions {
  char switch1, switch2, switch5, switch8, switch9;
  int value6, value10, value11, value12;
  char archiveText[13];         // 15
  int value16;
  char switch22, switch26;
  char switch25;                // always 'N'
  int value28;
  int settlementKind;           // 29, as 1 or 2 (other values kept)
  int settlementCompanion;      // 13 for kind 1, else 14
  double postingLimit;          // 34
  int value35;
};
extern TaxOptions taxOptions;

// ZUS options ("ZUS").
struct ZusOptions {
  char directory[79];           // 1
  double rate2;
  char switch26, switch27;
  int value28, value44, value47, value49, value50;
  char switch51;
  double rate52, rate55;
  double rate56;                // moved into rate2 and cleared on loading
  char text57[9];
};
extern ZusOptions zusOptions;

// Document kinds of the sales numbering, in this order.
enum SalesDocumentKind { DOC_FV, DOC_RU, DOC_FK, DOC_RK, DOC_BR, DOC_PF, DOC_MP, DOC_NK, DOC_FM, DOC_FZ, DOC_RR,
                         DOC_FP, DOC_ZP, SALES_DOCUMENT_KINDS };

struct DocumentNumbering {
  char name[41];                // the printed name
  char prefix[5];
  char suffix[10];
};

// Sales options ("EWIDENCJE"); 49 and 52 are the print-mark globals of
// app/option_values.h.
struct SalesOptions {
  DocumentNumbering numbering[SALES_DOCUMENT_KINDS];
  int nkCounter;                          // 54
  int rrCounter;                          // 82
  char issuedBy[31];                      // 11
  char issuePlace[26];                    // 12
  int usualVatCode;                       // 13, grouped from 2024
  int vatCode14;                          // grouped from 2024
  int taxation;                           // 15: 1 income book, 2 lump sum
  int usualLumpSum;                       // 16: an entry of the lists before 2022 (from 2022 that of 37)
  int usualLumpSum2022;                   // 37: the entry of the list from 2022
  char stored18;
  char useAccounts;                       // 19
  char printAfterSave;                    // 20
  char stored21;
  char stockOnEntry;                      // 22
  char stored23, stored24;
  char stored25;                          // always 'N'
  char printGoodsCode;                    // 26
  char listsByName;                       // 27
  char stored28;
  char footer[3][79];                     // 30, 31, 32: rows A, B, C
  char listAmounts;                       // 33
  char cashDeskCode[5];                   // 34
  char printFinalInvoiceList;             // 35
  char stockOnReceiptInvoices;            // 36
  char standardNumbering;                 // 39
  char printSaleMonthOnly;                // 40
  char stored41;
  char stockOnImport;                     // 42
  char stored43;
  int list44;
  char stockOnProForma;                   // 47
  char proposeNumber;                     // 48
  int list50, list51;
  int stored56;
  char stockRulesForAuxiliary;            // 58
  char stored59;
  int list60, list61;
  char autoNumbering;                     // 62
  char stored70[5];
  char stored71[10];
  char stored72[5];
  char stored73[10];
  char stored74;
  char usualPayment[26];                  // 75
  char stored76[26];
  int stored77;
  char classificationLabel[9];            // 78
  int stored79;
  char printKp;                           // 89
  char cashVat;                           // 93
  int stored101;
  int list102, list103;
  char printClassification;               // 104: always 'T' up to 2012
  double simplifiedLimitPln;              // 105
  double simplifiedLimitEur;              // 106
  int list107;
  char stored108;
  char saleDateLabel[66];                 // 109
  char saleMonthLabel[66];                // 110
  char printReceivedBy;                   // 111
  char receivedByLabel[46];               // 112
  char paidToCash;                        // 113
  int stored120;
  char marginArticle[26];                 // 121
  char blockNonPositiveStock;             // 122
  char roundPrices;                       // 124
  char stored125, stored126, stored127;   // 125 and 127 'N' from 2017
  int list128;
  char askRateDate;                       // 129
  char stored130[51];
  int list131, list132;
  char printMarkCodes;                    // 133
  char procedureMarks;                    // 134
  char importDir[51];                     // 138
  char exportDir[51];                     // 139
  char jpkFaDir[51];                      // 140
  char cashPit;                           // 144
};
extern SalesOptions salesOptions;

// Warehouse options ("MAGAZYN"). The cash-register settings (19, 20, 22, 25)
// are kept here for the device code.
struct WarehouseOptions {
  char issuedBy[26];            // 1
  char issuePlace[26];          // 2
  char printAfterSave;          // 4
  char stockOnEntry;            // 5
  char printGoodsCode;          // 6
  char searchByName;            // 7
  char stockOnImport;           // 8
  char addGoodsOnImport;        // 9
  char updatePricesOnImport;    // 10
  char issueName[79];           // 11
  char warehouseCode[21];       // 12
  char showReceivers;           // 13
  char marginPricing;           // 14
  double margin[3];             // 15, 16, 17: prices A, B, C
  char signalBelowMinimum;      // 18
  int cashRegisterType;         // 19
  int cashRegisterPort;         // 20
  char receiptName[79];         // 21
  char checkCodeLength;         // 22
  int printPrices;              // 23
  int issuePrices;              // 24
  char transmissionReport;      // 25
  char collectorDir[51];        // 26
  int pricesShown;              // 27
  char autoNumbering;           // 28
  char markChanges;             // 29
  char roundPrices;             // 33
  int goodsMark;                // 34
  int servicesMark;             // 35
};
extern WarehouseOptions warehouseOptions;

int LoadMainOptions();
int SaveMainOptions();
int LoadPodatkiOptions();
int SavePodatkiOptions();
int LoadEwidencjeOptions();
int SaveEwidencjeOptions();
int LoadZusOptions();
int SaveZusOptions();
int LoadMagazynOptions();
int SaveMagazynOptions();

// Makes the ZUS directory (option 1) current, quietly: -1 when it is empty,
// else the directory change's result.
int ChangeToZusDirectory();
