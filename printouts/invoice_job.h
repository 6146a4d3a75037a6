// The state of the invoice printout while it runs and the page helpers the
// item rows and the totals block share: the sales invoice printouts and
// the page printouts of a receipt include it; one printout runs at a time.
#pragma once
#include <functional>
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
  int width = INVOICE_WIDTH;   // columns of the form
  int pageColumn = 122;        // of the page number
  const char* shortTitle = nullptr;   // the continuation heads' title, when not the kind's
  int rows;                // of the form
  int capacity;            // rows of the page buffers
  std::string pattern, value;
  VatSummary sums;         // the document's by rate
  VatSummary share;        // the advance or the remaining share
};

extern zadanie_wydruku_faktury invoiceJob;

// Field of the current header, line, own firm.
DbField* InvoiceHeader(const char* name);
DbField* H(const char* name);
DbField* Firm(const char* name);
// The running printout's state.
zadanie_wydruku_faktury& J();
// A UTF-8 text in the system's character set.
std::string Sys(const char* utf8);
// A field's bytes at full width; an option's text without trailing blanks.
std::string Full(DbField* field);
std::string OptionText(const char* text);
// Texts into the pattern and the value page.
void PutPattern(int row, int col, const std::string& text);
void PutValue(int row, int col, const std::string& text);
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

constexpr int INVOICE_ITEM_ROW = 27;
constexpr int TABLE_HEAD_ROW = 23, TABLE_HEAD_END = 27;
constexpr int QUANTITY_FLAGS = 0xA4, PRICE_FLAGS = 0x1C4;

DbField* Line(const char* name);
// The field's text without blanks at either end.
std::string Trimmed(DbField* field);
// A number laid out by the print flags.
std::string Formatted(double number, int width, int flags);
// OSM when RE4 is 'N', else prefix/number/suffix.
std::string DocumentNumber();
std::string FormPattern(int form, int rows);
// A page break that carries sums on the short row: the rule, the sums under
// the carried label, the next page with its head, the sums under the
// brought label and the rule again.
int CarriedOnShortRow(const std::function<void(const char* label)>& sums, const char* carried, const char* brought,
                      int (*head)());
// The copies loop: "Liczba kopii" + 1 passes over pages of the form, the
// first marked as the original; a failing pass ends it.
void RunCopies(long rec, int form, int (*pass)(long rec, int firstPass, int rejestr), int rejestr);
// Adds a line to the summary; every code counts.
void AddToSummary(VatSummary* summary, int code, double net, double vat, double gross, double rate);
// Place and issue date, the sale date (Polish); the title row.
int IssueRows();
// The centred title line with the duplicate mark.
void PutTitle(int row, const char* title, const std::string& number);
// The seller from row; the correction and the margin invoice label the bank
// row "bank" and differ in the NIP's country prefix and where "BDO:" goes.
enum SellerLayout { SELLER_INVOICE, SELLER_CORRECTION, SELLER_MARGIN };
int SellerRows(int row, SellerLayout layout);
// Buyer and recipient from row; the row after them.
int PartyRows(int row, int rejestr);
// Captions of the table head and the head itself printed.
int TableHead(int symbolCol);
// Number, names and code row of the current line's item; the rows used.
int ItemNameRows(int number);
// The rate column of a line: the rate, " zw." or " np.".
std::string LineRateText(DbField* rate, DbField* code);
void PutPrice(int row, DbField* price, double rate);
void PutQuantity(int row, DbField* quantity);
// Rate rows of a summary from row; the correction's order lists the zero
// rate last and leaves it out after a reverse charge.
void RateRows(int* row, const VatSummary& summary, bool correction, bool reverseCharge);
// The rate slots of a summary in a printed order with the rate each shows
// and its fixed text (" zw.", " np."); the correction's order skips the zero
// rate after a reverse charge.
enum RateOrder { RATES_OF_INVOICE, RATES_OF_CORRECTION };
constexpr int REVERSE_CHARGE_SLOT = 7;
void ForEachRate(const VatSummary& summary, RateOrder order, bool reverseCharge,
                 const std::function<void(int slot, double rate, const char* text)>& row);
// "słownie:" ending at labelEnd and the amount in words on two lines of
// `width` from textCol; the row after them.
int WordsRows(int row, double amount, const std::string& currency, int width, int labelEnd, int textCol);
// The marks line is wanted: both mark options and a mark set in NKV or NKK.
bool MarksWanted();
// A block of rows from first printed over further pages with their short head.
int PrintOverPages(int first, int end);
// The totals do not fit: the sums with the label, "Następna strona." and the next page's head.
int BreakBeforeTotals(const char* label);
