// The running VAT register as its printouts read it: the record test of its
// line filters, the conversion of its currency item, its VAT-date items and
// the status text of its active filters.
#pragma once
#include <string>

#include "printouts/vat_register_print.h"

struct kontekst_ewidencji;

// The source over the register's lines; the date texts point into the
// context's items.
ZrodloRejestruVat RegisterSource(kontekst_ewidencji* context);
// The "faktura PRO FORMA" item is on.
int ProFormaItemOn(const kontekst_ewidencji* context);
// The status text of the active items (228 characters at most).
std::string FilterStatusText(kontekst_ewidencji* context, int withCurrency);
// The report's currency: the "waluta" item's value when it is on, else "PLN".
std::string ReportCurrency(kontekst_ewidencji* context);
