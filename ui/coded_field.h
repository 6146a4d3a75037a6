// The coded-field lookup: the key routine of a field that holds the code of
// a record of another table opens a list of that table at the right edge of
// the screen, with incremental search on a column's tag, the current
// record's longer fields below the list, F6 to add a record and F7 for the
// next price level.
#pragma once
#include <cstdint>
#include "db/db_scan.h"
#include "env/text_ref.h"

struct DbField;
struct DbTable;
struct DbTag;

// PoleKodowane flags.
constexpr uint8_t CODED_THOUSANDS = 1;   // a numeric column with grouped thousands
constexpr uint8_t CODED_BELOW = 2;       // the field is also shown whole on a line below the list
constexpr uint8_t CODED_NO_COLUMN = 4;   // not shown as a column

// An entry whose field_var is NULL ends a list.
struct PoleKodowane {
  uint8_t flags;
  const char* header;
  DbField** field_var;
  DbTag** tag_var;      // NULL: not a search column
  uint8_t selected;     // the search column; moves with Left and Right
  int8_t width;         // negative: the field's width
};

constexpr int LOG_CODED_FULL = 23;
constexpr int KEY_CODED_LEFT = 0x4700;    // the operator left the list with Esc
constexpr int KEY_CODED_PRICE = 0x4100;   // F7: the next price level

// Makes the caller's array of `bytes` bytes the definition target (one entry
// stays the end mark) and zeroes it.
void ResetPoleKodowaneDefinition(PoleKodowane* array, int bytes);
// The new entry, or NULL with log code 23 when the array is full.
PoleKodowane* DefinePoleKodowane(int flags, const char* header, DbField** fieldVar, DbTag** tagVar, int selected,
                                 int width);
// 13 a record was chosen (the table stands on it), 27 cancelled or failed,
// KEY_CODED_LEFT after Esc, KEY_CODED_PRICE after F7. With an append
// routine (0: appended, the list comes back on the new record) the operator
// may add records; `caption` heads the box shown when no record passes.
int pole_kodowane_fun(int (*append)(), TextRef caption, PoleKodowane* list, DbScanFilter filter, int row,
                      int bottom, DbTable* table);
