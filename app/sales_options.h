// The option windows of the sales register, the warehouse and the own firm:
// the four pages of the sales options "OPCJE" (the sales set and the VAT rates
// of the main options), the two pages of the warehouse options, and the
// company data over the own-firm record.
#pragma once
#include <cstdint>

#include "app/option_sets.h"
#include "app/option_values.h"

struct Wiget;
struct WigetEvent;
struct SalesOptionsPages;

// The values the sales options window edits; they reach the option sets only
// when the operator confirms saving.
struct SalesOptionsWork {
  int workingYear;
  SalesOptions options;
  double vatRatesFrom2011[VAT_RATE_COUNT];   // main options 65 to 68
  double taxiLumpSum;                        // main option 80
  char originalCopyMark;                     // sales option 52
  SalesOptionsPages* form;                   // from SalesOptionsForm
};

// The sales register's " Opcje " item: the window, saving of both sets when
// confirmed, and the restart note when option 134 changed. Returns 0.
int32_t SalesOptionsAction(int32_t unused);
// Takes the current options into the work record and builds the four pages
// of the working year; -1 when the memory is not available.
int SalesOptionsForm(SalesOptionsWork* work);
// Runs the pages and frees the form: 0 when the operator confirmed saving
// (the work record's values are then in the option globals), -1 otherwise.
int SalesOptionsWindow(SalesOptionsWork* work);

// The warehouse options: the result of SaveMagazynOptions after F2, else 0.
int WarehouseOptionsWindow();

// The company data over the open own-firm table, standing on its record;
// written and flushed after F2 only with right 9301. Returns the key that
// ended the form (F2 0x3C00 or Esc).
int CompanyDataWindow();

// The check of the cash-register port field (a form element hook): 1 to 99,
// else "Numery od 1 do 99." and the operator stays in the field.
int CashRegisterPortValid(WigetEvent* event, Wiget* element, void* formData);
