// Filter sets of the browse lists: conditions the operator switches on in
// the "FILTRY" window (dates from and to, yes/no marks, texts, choices,
// selection codes, numbers), the record test the browse runs through them,
// and the one-line description of the active conditions for printouts.
#pragma once
#include <cstdint>
#include "ui/get4.h"

struct DbField;
struct DbTable;
struct Selection;
struct FilterItem;

// Item types.
constexpr uint8_t FILTER_DATE = 1;
constexpr uint8_t FILTER_YES_NO = 2;
constexpr uint8_t FILTER_TEXT = 3;          // the field's whole width
constexpr uint8_t FILTER_CHOICE = 4;
constexpr uint8_t FILTER_NUMBER = 5;
constexpr uint8_t FILTER_TEXT_LENGTH = 6;   // a given length
constexpr uint8_t FILTER_CODE = 7;          // a Selection code

// Item flags.
constexpr uint32_t FILTER_UPPER = 0x0001;
constexpr uint32_t FILTER_UPPER_BOUND = 0x0002;     // date "do"; without it "od"
constexpr uint32_t FILTER_DATE_NEEDED = 0x0004;     // a date must be given; blank dates never pass
constexpr uint32_t FILTER_OR_MEMBER = 0x0008;
constexpr uint32_t FILTER_OR_END = 0x0010;
constexpr uint32_t FILTER_SAME_LINE = 0x0020;       // shares the line of the item before it
constexpr uint32_t FILTER_NOT_TESTED = 0x0040;
constexpr uint32_t FILTER_LIST_ROUTINE = 0x0080;    // choice/code: the list comes from the routine
constexpr uint32_t FILTER_SHORT_DATE = 0x0100;      // status "DD-MM/YY"
constexpr uint32_t FILTER_NOTE_BESIDE = 0x0200;
constexpr uint32_t FILTER_NOTE_HIDDEN = 0x0400;
constexpr uint32_t FILTER_NO_TEST_NO_GET = 0x0800;
constexpr uint32_t FILTER_HIDDEN = 0x1000;
constexpr uint32_t FILTER_ON_AT_OPEN = 0x2000;
constexpr uint32_t FILTER_OFF_AT_OPEN = 0x4000;     // wins over FILTER_ON_AT_OPEN
constexpr uint32_t FILTER_DIRECT_FIELD = 0x8000;    // never mapped to another table's field
constexpr uint32_t FILTER_FIXED_FLAGS = 0x0002 | 0x0008 | 0x0020 | 0x0080 | 0x0200 | 0x0400;

// Yes/no condition: low byte the character (below 10: the digit), second byte the test.
constexpr uint32_t FILTER_IF_EQUAL = 0x0100;
constexpr uint32_t FILTER_IF_DIFFERENT = 0x0200;
constexpr uint32_t FILTER_IF_ZERO = 0x0400;
constexpr uint32_t FILTER_IF_NOT_ZERO = 0x0800;

// What an item tests: a field, or only a text of a length (the module's own
// test reads the value), or nothing.
enum FilterTargetKind : uint8_t { FILTER_TARGET_NONE = 0, FILTER_TARGET_FIELD, FILTER_TARGET_LENGTH };
struct FilterTarget {
  uint8_t kind = FILTER_TARGET_NONE;
  DbField* field = nullptr;
  int length = 0;
};
FilterTarget FilterFld(DbField* field);
FilterTarget FilterLen(int length);

typedef const void* (*FilterListRoutine)();   // texts of a choice, or a Selection list

// The module's own tests, one kind per item type; each answers 45 or 40.
struct FilterOwnTest {
  int (*date)(FilterItem* item, DbField* field, const char* date, DbTable* table);
  int (*yesNo)(DbField* field, DbTable* table);
  int (*text)(DbField* field, const char* text, int length, DbTable* table);
  int (*code)(DbField* field, int32_t code, DbTable* table);      // choice (the code as a character) and Selection code
  int (*number)(DbField* field, int32_t value, DbTable* table);
};

struct FilterItem {
  FilterTarget target;
  const char* label;
  const char* status_prefix;   // NULL: left out of the status string
  uint8_t active;
  uint8_t working_on;
  uint8_t type;
  uint32_t flags;
  GetKeyRoutine key_routine;
  int32_t key_data;
  GetValidator validator;
  const char* picture;
  int16_t row, col;
  FilterOwnTest own_test;
  int (*can_edit)();           // 0 refuses editing
  // Values: committed and working.
  char date[9], work_date[9];
  uint32_t condition;
  char* text;
  char* work_text;
  int length;
  char* text2;
  char* work_text2;
  int length2;
  int32_t code, work_code, start_code;
  char code_char[2];           // what the one-character get of a choice edits
  const void* list;            // const char* const* (choice) or const Selection* (code)
  FilterListRoutine list_routine;
  int32_t number, work_number;
};

struct FilterSet {
  uint8_t off;
  uint8_t changed;
  int16_t note_width;
  int16_t value_col;
  int window;
  FilterItem* editing;
  FilterItem* items;
  int16_t count;
  int16_t capacity;
};

constexpr int LOG_FILTERS_REDEFINED = 3;
constexpr int LOG_FILTER_BAD_TYPE = 4;
constexpr int LOG_FILTER_BAD_CONDITION = 15;
constexpr int LOG_FILTERS_FULL = 68;

// Makes the set the target of DefineFilter over the caller's item array of `bytes` bytes.
void ResetFiltersDefinition(FilterSet* set, FilterItem* items, int bytes);
// The arguments after flags by type: date none; yes/no the condition (uint32);
// text (int second length, GetKeyRoutine, int32 key data, GetValidator);
// choice and code the list, or the FilterListRoutine with FILTER_LIST_ROUTINE;
// number (const char* picture, GetValidator); text of a length (int length,
// int second length, GetKeyRoutine, int32 key data, GetValidator).
// NULL when the set is full or the type unknown (both logged and shown).
FilterItem* DefineFilter(FilterTarget target, const char* label, const char* statusPrefix, int type,
                         uint32_t flags, ...);
void FreeFilters(FilterSet* set);
int OpenFiltersWindow(FilterSet* set);
void AskResetFilter(FilterSet* set);
int FilterFunctionEx(FilterSet* set, DbTable* table);
int FilterFunction(intptr_t set);   // the browse's filter: filter_data holds the set
void AddFilterItemStatus(FilterItem* item, char* text);
void MakeFilterStatusString(FilterSet* set, char* text);
int CompareDbfDates(const char* a, const char* b);
int FilterCompareStr(const char* a, int n, const char* b);
void ParamsOfFiget(FilterItem* item, uint32_t flags, int on);
// The same for items up to a NULL.
void ParamsOfFigets_(uint32_t flags, int on, FilterItem* item, ...);
