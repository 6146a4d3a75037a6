// Stand-ins of the transfer orders and the bookkeeping-link services until
// they are built: the browse shows its table plainly; the exchange with the
// bookkeeping program says it is not available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "db/dbf_table.h"
#include "tables/cash_tables.h"

int Przelewy() {
  PlainBrowse(Z5PLEW, "PRZELEWY");
  return 0;
}

int EksportDoKsiegowosci() { return NotAvailableYet("Eksport"); }

int ImportZKsiegowosci() { return NotAvailableYet("Import"); }
