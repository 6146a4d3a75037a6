#include "sales/sales_context.h"

#include "ui/browse.h"

kontekst_sprzedazy* salesContext = nullptr;

int AddingNewDocument() { return CurrentBrowse == nullptr || !CurrentBrowse->modify_mode ? 1 : 0; }
