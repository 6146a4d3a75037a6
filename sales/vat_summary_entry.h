// Entry of a document as a per-rate VAT summary instead of typed lines: the
// summary block of the register's run, its window with the rate menu and
// the row editor, and the lines the save writes from it.
#pragma once

constexpr int SUMMARY_ROWS = 14;          // rows 1-13 by VAT-rate code, 0 unused
constexpr int SUMMARY_AMOUNTS = 5;        // net, VAT, gross, correction net, correction VAT
constexpr int SUMMARY_COLUMNS = 7;
constexpr int SUMMARY_ACCOUNT_TEXT = 80;

struct podsumowanie_vat_dokumentu {
  int correctionMode;                     // kinds 3 and 4: the rows hold net and VAT changes
  int grossEntry;                         // amounts entered gross (F5, or a margin document)
  int flatRateBooks;                      // rows carry a lump-sum rate code, not an income column
  int savedWindow;
  int summaryWindow;
  int accountIdent[SUMMARY_ROWS];         // REC of the Z5KONT account
  char accountText[SUMMARY_ROWS][SUMMARY_ACCOUNT_TEXT];
  int incomeColumn[SUMMARY_ROWS];         // 1 SPRZEDAŻ, 2 POZOSTAŁE, 3 WYN. W NAT.
  int lumpSumCode[SUMMARY_ROWS];
  double net[SUMMARY_ROWS];
  double vat[SUMMARY_ROWS];
  double gross[SUMMARY_ROWS];
  double correctionNet[SUMMARY_ROWS];
  double correctionVat[SUMMARY_ROWS];
  double edit[SUMMARY_AMOUNTS];           // the row being edited
  double totals[SUMMARY_AMOUNTS];         // column sums of rows 1-13
  double rowRate;
  int currentRow;
  int totalsRow;
  int screenColumns[SUMMARY_COLUMNS];
};

// The block of the running register, zeroed when allocated; NULL outside it.
extern podsumowanie_vat_dokumentu* podsumowanieVat;

// Clears one row: income column, lump-sum code, account and the amounts.
void zeruj_wiersz_podsumowania(int row);
// Key routine of the header's lines field: F4 (net) or F5 (gross) opens the
// summary and returns Enter once it was entered; any other key is returned.
// A key below 1 is read here.
int wprowadz_podsumowanie_vat(int kind, int key);
// Writes one line of the current header per row holding an amount; 0, or
// -1 when an append failed (the rows written so far stay).
int zapisz_pozycje_z_podsumowania(int kind);
// The VAT rate in percent of a summary row.
double stawka_wiersza_podsumowania(int row);
