// Stand-ins of the bookkeeping-link services until they are built: the
// exchange with the bookkeeping program says it is not available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"

int EksportDoKsiegowosci() { return NotAvailableYet("Eksport"); }

int ImportZKsiegowosci() { return NotAvailableYet("Import"); }
