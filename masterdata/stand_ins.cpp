// Stand-ins of the master-data and warehouse entries not built yet: each
// shows the table its calling action opened in a plain browse. The real
// catalogue or register replaces its stand-in here.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"

int przyjecia_magazynowe() { return PlainBrowse(Z5MAPR, "PRZYJĘCIA MAGAZYNOWE"); }

int wydania_magazynowe() { return PlainBrowse(Z5MAWY, "WYDANIA MAGAZYNOWE"); }
