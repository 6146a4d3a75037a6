// The filter sets of the sales registers: the document filters of the
// register browse and the line filters of the VAT register, their own record
// tests, the refusals of mixing pro forma with the other kinds, and the
// helpers the printouts take the currency and the status text from.
#pragma once

#include "ui/filters.h"

struct DbField;
struct kontekst_ewidencji;

// The document filters of kontekst_sprzedazy (before 2024 and from 2024);
// register 1 main, 2 auxiliary. The last item defined.
FilterItem* definiuj_filtry_rejestru(int rejestr);
FilterItem* definiuj_filtry_rejestru_2024(int rejestr);
// " Filtry " of the sales register: the window, then the browse again.
int filtry_rejestru();
// The line filters of the VAT register; the references are kept in the context.
FilterItem* definiuj_filtry_ewidencji(kontekst_ewidencji* context);
// Shows the line items a printout kind uses (0 general, 6 margin register),
// then opens the "FILTRY" window.
int okno_filtrow_ewidencji(kontekst_ewidencji* context, int printKind);
// Only the visibility of the items for the printout kind (a hidden item
// keeps its state and value).
void pokaz_filtry_wydruku(kontekst_ewidencji* context, int printKind);
// 1 when the currency item is a text item, on, and not "PLN".
int czy_raport_w_walucie(FilterItem* currency);
// 1.0 in the report's own currency, else the rate field (1 when 0 or less).
double kurs_raportu(FilterItem* currency, DbField* rate);
// The status text of the active items (optionally cleared first), the VAT
// register's currency item only with `withCurrency`.
void opis_stanu_filtrow(FilterSet* set, char* buffer, int size, int clear, int withCurrency);
