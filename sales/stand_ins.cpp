// Stand-in of the sales register until it is built: the document headers of
// the register its calling action opened, in a plain browse.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "tables/sales_tables.h"

int rejestr_sprzedazy(int rejestr) {
  return PlainBrowse(Z5SPRZ, rejestr == 1 ? "SPRZEDAŻ" : "SPRZEDAŻ POMOCNICZA");
}
