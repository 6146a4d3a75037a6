// The context of one run of the sales register: the kind being entered, the
// working date, the next-number record, the register and the switches that
// the numbering, the date checks and the totals share. The register entry
// allocates it and clears the pointer when it ends.
#pragma once
#include <cstdint>

#include "ui/filters.h"

constexpr int REGISTER_FILTERS = 40;

// A document number proposed for a series: the prefix right-aligned in the 4
// characters of PRE, the number, the suffix as typed in the 9 of POS.
struct numer_dokumentu {
  char prefix[80];
  int32_t number;
  char suffix[80];
};

struct kontekst_sprzedazy {
  int32_t kind;                 // of the document being added or edited
  char workingDate[8];          // "CCYYMMDD", default of the document dates
  numer_dokumentu next;         // the number proposed for the next document
  char newIssueDate[9];         // issue date asked with the number of a copy, "CCYYMMDD"
  int32_t rejestr;              // 1 main, 2 auxiliary
  char paidAmountMode;          // 0: the paid amount follows the payment form; 1: the paid flag follows it
  int32_t exemptRows;           // 1 when the lines hold an exempt rate row with a positive gross
  char freeNumber[41];          // a number typed without standard numbering
  char freeNumberSwitch;        // 'N' while the new document keeps a free number
  int32_t skipCurrentRecord;    // the free-number duplicate check passes over the current header
  // The document filters; the printouts read the items referenced here.
  FilterSet filtry;
  FilterItem elementyFiltrow[REGISTER_FILTERS];
  FilterItem *filtrOdDatyWyst, *filtrDoDatyWyst, *filtrOdDatyVat, *filtrDoDatyVat;
  FilterItem *filtrOdDatySprz, *filtrDoDatySprz;   // from 2024
  FilterItem *filtrTypuDostawy, *filtrWaluty;
  int32_t reportCurrencyMode;   // of the tabulogram's amounts (the currency view's modes)
};

// The context of the running register; NULL outside it.
extern kontekst_sprzedazy* salesContext;

// 1 while a new header is being entered (not while a stored one is modified).
int AddingNewDocument();
