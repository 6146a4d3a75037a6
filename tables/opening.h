// The standard opener the catalogue's openers are built on: define the
// layout, go to the table's directory, put the year into the name, open it
// through the definition interface, come back, bind the handles, select the
// tag. Also the carry-over of a table into a new working year.
#pragma once
#include "env/text_ref.h"
#include "tables/catalogue.h"
#include "tables/layouts.h"

enum TablePlace { PLACE_FIRM, PLACE_COMMON, PLACE_PROGRAM, PLACE_GIVEN };

struct TableSpec {
  const TableLayout* layout;
  char* name;              // pattern "Z5XXXX  .DBF" or a plain name; year digits go in place
  TableHandles* set;
  int place;               // TablePlace
  int logCode;             // of the directory change
  int fields = -1;         // bound fields, -1 all
  int tags = -1;           // bound tags, -1 all
  int select = 0;          // tag selected after open (from 1), 0 none
  int defined = -1;        // fields defined (year variants), -1 all
  const char* omit = nullptr;   // a field left out of the definition (year variants)
  bool withTags = true;    // false: no index at all
  const char* directory = nullptr;   // PLACE_GIVEN: the directory to enter
};

constexpr int NO_YEAR = -1;

// 0 stands for the working year.
int YearOrWorking(int year);
// year NO_YEAR: a name without digits. 0, or open_dbf's non-zero result, or
// -1 when the directory cannot be reached or a handle cannot be bound.
int OpenTable(const TableSpec& spec, int year, int flags);
// Binds the first `fields` fields and `tags` tags (-1 all) of the definition
// in force; false when the engine missed one.
bool BindHandles(TableHandles* set, DbTable* table, DbIndex* index, int fields, int tags, const TableLayout& layout);

// Results of CarryOverPreviousYear.
enum CarryOver { CARRY_NOT_NEEDED, CARRY_COPIED, CARRY_FAILED, CARRY_DECLINED };
// When the working year's file of the pattern is missing and the previous
// year's exists: asks the question (the table's message, then 20056) and on
// 'T' copies the previous year's file under the new name.
CarryOver CarryOverPreviousYear(char* pattern, TextRef message);

// Selects tag `tag` (from 1) and seeks `number` right-aligned in `width`
// characters; the d4seek_n result.
int SeekNumber(TableHandles& set, int tag, long number, int width);

// Before a table of a fixed record count is created anew for holding `count`
// records: its file goes to the extension "BAK" (replacing an older one),
// named in the error log, so no sums vanish without trace. false when the
// file could not be moved (it is then left as it was).
bool KeepWrongCountAsBackup(const char* name, long count, int expected);
