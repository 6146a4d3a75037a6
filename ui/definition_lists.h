// Definition lists that callers lay out in their own arrays and hand to the
// browse lists, the get builder and the tabulogram: fields shown at a
// position (TextCtrl), browse columns (ScrollColumn), report columns
// (TabuColumn) and input fields (EditCtrl). A list runs up to and including
// the entry that carries DEF_LAST. Also the drawing of browse columns.
#pragma once
#include <cstdint>
#include "env/text_ref.h"
#include "ui/get4.h"

struct DbField;
struct DbTag;
struct TabuValue;

constexpr uint32_t DEF_LAST = 0x80;   // the last entry of every kind of list

// TextCtrl flags.
constexpr uint8_t TEXT_THOUSANDS = 0x01;
constexpr uint8_t TEXT_HIDDEN = 0x02;

struct TextCtrl {
  uint8_t row, col;
  DbField** field;
  uint8_t flags;
  const char* const* codeTexts;          // NULL-terminated; the field's integer picks one (shown from its third character)
  void (*drawRoutine)(TextCtrl* entry);  // draws the entry instead of the default
};

// The value of one browse column for the current record.
constexpr int COLUMN_TEXT_MAX = 80;
struct ColumnValue {
  DbField* field;
  char type;
  uint8_t length;
  char text[COLUMN_TEXT_MAX + 2];
  double number;
  int32_t decimals;
};
typedef void (*ColumnValueRoutine)(ColumnValue* value);

// ScrollColumn flags.
constexpr uint32_t SCROLL_THOUSANDS = 0x01;
constexpr uint32_t SCROLL_WIDE = 0x04;          // dates "DD-MM-CCYY", negative numbers marked, natural width 10
constexpr uint32_t SCROLL_FIXED_WIDTH = 0x100;  // always the given width

struct ScrollColumn {
  const char* header;
  DbField** field;
  ColumnValueRoutine valueRoutine;
  uint32_t flags;
  int8_t width;      // -1: from the field
  int16_t endPos;    // screen column just past the column, set when the header is drawn
  DbTag** tag;       // the tag that orders the list by this column, or NULL
};

typedef void (*TabuValueRoutine)(TabuValue* value);

struct TabuColumn {
  const char* heading1;
  const char* heading2;
  DbField** field;
  TabuValueRoutine valueRoutine;
  int16_t flags;
  int8_t width;          // -1: computed
  int8_t row;            // 1, or one more than the previous entry of the same column
  int8_t column;
  int8_t factoryColumn;
};

// EditCtrl flags; the type bits pick the kind of get (see build_get_struct).
constexpr uint32_t EDIT_THOUSANDS = 0x01;
constexpr uint32_t EDIT_SKIP = 0x02;
constexpr uint32_t EDIT_TEXT = 0x04;
constexpr uint32_t EDIT_INTEGER = 0x08;
constexpr uint32_t EDIT_DIRECT = 0x10;
constexpr uint32_t EDIT_DATE = 0x20;
constexpr uint32_t EDIT_UPPER = 0x40;
constexpr uint32_t EDIT_GROUP = 0x100;
constexpr uint32_t EDIT_DISABLED = 0x200;
// A check the record cannot be saved without (not empty, unique): F2 runs
// it again even when the field was never entered.
constexpr uint32_t EDIT_MUST = 0x400;

struct EditCtrl {
  uint8_t row, col;
  void* data;
  uint32_t flags;
  GetKeyRoutine keyRoutine;
  int32_t routineData;     // for a bit get the bit number
  GetValidator validator;
  const char* picture;
};

// Each Reset starts the one list of its kind in the caller's array (its
// size in bytes); each Define appends an entry and returns it, or NULL with
// a log entry when the array is full.
void ResetTextCtrlDefinition(TextCtrl* array, int size);
TextCtrl* DefineTextCtrl(int row, int col, DbField** field, int flags);
void ResetScrollDefinition(ScrollColumn* array, int size);
ScrollColumn* DefineScrollColumn(DbField** field, int flags, const char* header);
void ResetTabuDefinition(TabuColumn* array, int size);
TabuColumn* DefineTabuColumn(const char* heading1, const char* heading2, DbField** field, int flags, int column);
void ResetEditCtrlDefinition(EditCtrl* array, int size);
EditCtrl* DefineEditCtrl(int row, int col, void* data, int flags);

// Draws one TextCtrl entry in the current window: nothing when hidden, else
// its draw routine, or the text its code selects, a date as "DD-MM/YY", a
// number with thousands groups, or the field as stored.
void DrawTextCtrl(TextCtrl* entry);

// Browse columns. The width of the columns that fit on the screen, the last
// of them in *last; the three header rows at the top of the current window
// (returns the width used minus 1); one record on a row of the current
// window, written into the cell buffer for the caller to repaint (a text
// attribute of -1 draws only the blank cells and separators).
int ScrollColumnsWidth(ScrollColumn* list, ScrollColumn** last);
int ScrollColumnsHeader(ScrollColumn* list, TextRef title, int titleAttr, int headerAttr);
void ScrollColumnsRow(ScrollColumn* list, int row, int frameAttr, int textAttr, int negativeAttr);
