// Stand-ins of the transfer orders until they are built: the browse shows
// its table plainly.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "db/dbf_table.h"
#include "tables/cash_tables.h"

int Przelewy() {
  PlainBrowse(Z5PLEW, "PRZELEWY");
  return 0;
}
