// The menu-use history "Z5HIST.DBF": one record per entry into a marked menu
// item with its text, the operator, the date and the times of entry and
// return. The table is opened and closed around every write.
#pragma once

struct DbTable;
struct DbField;
struct DbTag;
struct DbfFieldDef;

struct HistoryHandles {
  DbTable* table;
  const DbfFieldDef* fields;   // the table's field definitions
  DbTag* tag;                  // "DTOS(DAT)+OGO"
  DbField* cos;                // C 15 text of the menu item
  DbField* kto;                // C 15 operator's name
  DbField* dat;                // D date of the entry
  DbField* ogo;                // C 8 time of the entry "hh:mm:ss"
  DbField* dgo;                // C 8 time of the return, blank until then
};

// Opens (creating when missing) the history in the current directory with
// the open_dbf flags, binds the handles and selects the tag. 0, or the
// failure of open_dbf (1 missing, else the engine's error code) or of the
// binding (the engine's error code; the table is closed again).
int open_hist(HistoryHandles* handles, int flags);

// The menu layer calls it around the action of an item marked for the
// history: record 0 on entry appends the entry and gives its record number;
// that number on return writes the return time and gives it back. -1 when
// the history is off ('N'), flag is 0, record is negative, or the table
// cannot be opened or written. The engine's error code is left as it was.
int write_hist(int flag, const char* text, int record);
