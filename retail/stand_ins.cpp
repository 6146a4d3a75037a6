// Stand-in of the retail receipts until they are built: the receipt headers
// the calling action opened, in a plain browse.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "tables/receipt_tables.h"

int paragony() { return PlainBrowse(Z5PARA, "PARAGONY"); }
