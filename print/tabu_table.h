// The settings table "Z5TABW.DBF": tabulogram layouts, export choices and
// the per-report print parameters, keyed by WER+BAZ+POL. Its handles are
// process-wide; open_tabu fills them, the caller closes the table.
#pragma once
#include "db/dbf_table.h"

struct DbIndex;
struct DbTag;

struct TabuTableHandles {
  DbTable* table;
  DbIndex* index;
  DbField *wer, *baz, *pol, *czy, *typ, *rza, *kol, *wid, *naz, *ilk, *ilp, *pod, *lma, *gma, *sod, *sdo, *re1,
      *re2, *re3;
  DbTag* tag;
};

extern TabuTableHandles Z5TABW;

// Widths of the key fields.
constexpr int TABU_WER_LEN = 3;
constexpr int TABU_BAZ_LEN = 12;
constexpr int TABU_POL_LEN = 8;

// Opens the table with open_dbf's flags in the print-settings directory (the
// current one when the settings are kept per data directory), binds the
// handles and selects the tag. 0, or the open's result; the directory that
// was current is current again.
int open_tabu(int flags);
// Closes the table and clears the handles.
void close_tabu();
