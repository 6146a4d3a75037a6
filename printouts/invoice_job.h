// The state of the invoice printout while it runs and the page helpers the
// item rows and the totals block share. Only the invoice printer's files
// include it; one printout runs at a time.
#pragma once
#include <string>

#include "app/vat_summary.h"

struct DbField;

constexpr int INVOICE_WIDTH = 131;
constexpr int INVOICE_SHORT_ROW = 22;   // short texts between pages
constexpr int INVOICE_RULE_ROW = 34;
constexpr int INVOICE_TOTALS_ROW = 35;
// Rows below the form where a long totals block is built before it is
// printed over as many pages as it needs.
constexpr int INVOICE_SPARE_ROWS = 80;

struct zadanie_wydruku_faktury {
  int kind;
  int delivery;            // STM as a digit
  int grossMode;
  int withoutVat;
  int advance;
  int basedOnProForma;
  int final;
  int triangular;
  int english;
  int register_;
  int numberShift, nameShift, unitShift, quantityShift, priceShift, valueShift;
  int page;
  int linesLeft;
  int rows;                // of the form
  int capacity;            // rows of the page buffers
  std::string pattern, value;
  VatSummary sums;         // the document's by rate
  VatSummary share;        // the advance or the remaining share
};

extern zadanie_wydruku_faktury invoiceJob;

// Field of the current header, line, own firm.
DbField* InvoiceHeader(const char* name);
// Writes into a page, cut at the row's end.
void PutText(std::string& page, int row, int col, const std::string& text);
// The same ending at `end` (its last character there).
void PutTextEnding(std::string& page, int row, int end, const std::string& text);
// Amount format: width 11, 2 decimals.
void PutAmount(int row, int col, double amount);
void ClearRows(int first, int end, int fromCol = 0);
// Prints rows first..end-1 of the pages; 0, or -1 on an error or a break.
int PrintRows(int first, int end);
// Lines a page offers under the top margin.
int PageLines();
// Title and number of the document, as the continuation heads show them.
std::string TitleAndNumber();
// "PLN" with the złote choice, else the header's currency.
std::string CurrencyOfAmounts();
// The rate the amounts are converted with: the field's rate with the złote
// choice, else 1.
double AmountsRate(DbField* rate);
// Message text in the system's character set.
std::string MessageText(int number);
