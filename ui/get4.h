// Gets: entry fields of a window over the caller's memory (text, dates,
// numbers, flags), with pictures, and the field editor g4read that runs them.
// build_get_struct makes the gets of an EditCtrl list and runs the editor
// with the standard save and leave questions.
#pragma once
#include <cstdint>

struct Get4;
struct DbField;
struct EditCtrl;

// Called before each key is read with the get, its edit buffer and the
// routine's data; a non-zero result is the key (-1: nothing, read again).
typedef int (*GetKeyRoutine)(Get4* get, char* editBuffer, int32_t data);
// Called when the operator leaves the get; non-zero keeps the operator in it.
typedef int (*GetValidator)(Get4* get);

// Get4 flags.
constexpr uint8_t GET_THOUSANDS = 0x01;     // thousands groups on display
constexpr uint8_t GET_UPPER = 0x02;
constexpr uint8_t GET_GROUP_START = 0x04;   // target of Ctrl+Up and Ctrl+Down
constexpr uint8_t GET_DISABLED = 0x08;      // shown, never edited
constexpr uint8_t GET_SECRET = 0x10;        // every non-blank character shown as '*'
constexpr uint8_t GET_MUST = 0x20;          // its check runs again on F2, entered or not

// Get types.
constexpr char GET_TEXT = 'C';
constexpr char GET_DATE = 'D';      // "CCYYMMDD" buffer
constexpr char GET_DOUBLE = 'd';
constexpr char GET_INT = 'i';
constexpr char GET_LONG = 'l';
constexpr char GET_LOGICAL = 'L';   // int32, non-zero yes
constexpr char GET_BIT = 'B';       // one bit of a byte array, its number in helpNumber
constexpr char GET_NUMBER = 'N';    // a number kept as text

constexpr int GET_POOL_FIRST = 120;
constexpr int GET_POOL_GROWTH = 20;
constexpr int GET_EDIT_MAX = 258;   // edit buffer characters, a NUL follows

struct Get4 {
  int32_t next, prev;        // the window's get chain, in creation order
  int32_t row, col;
  const char* picture;       // not copied; NULL none
  uint8_t flags;             // GET_*
  GetKeyRoutine keyRoutine;
  int32_t routineData;
  GetValidator validator;
  char type;                 // GET_TEXT ...
  void* data;                // the caller's memory
  int32_t dataWidth;
  int32_t dataDecimals;      // of a GET_NUMBER value as stored; -1 not set
  int32_t displayWidth;
  int32_t decimals;          // shown; -1 not set
  int32_t attr;              // while edited
  int32_t groupBlanks;       // blanks added by the thousands groups on the last display
  int32_t helpNumber;        // help topic; the bit number of a GET_BIT get
  DbField* field;            // the table field a g4field get edits (its record is marked changed), else NULL
};

// Adding gets to the current window; NULL when the pool cannot grow or no
// window is current.
Get4* g4(int row, int col, char* buffer);
Get4* g4date(int row, int col, char* buffer);
Get4* g4double(int row, int col, double* value);
Get4* g4int(int row, int col, int32_t* value);
Get4* g4long(int row, int col, int32_t* value);
// A get over the field's bytes in its table's record buffer.
Get4* g4field(int row, int col, DbField** field);
// A get over bit `bit` of the byte array (bit 0 is 0x80 of the first byte).
Get4* g4bit(int row, int col, unsigned char* bytes, int bit);

// Settings of the last get of the current window.
void g4picture(const char* picture);
void g4upper();
void g4disabled();
void g4secret();
void g4format();
void g4valid(GetValidator validator);
void g4call(GetKeyRoutine routine, int32_t data);
void g4width(int dataWidth, int displayWidth);   // a value <= 0 keeps the current one
// The window's get attribute for gets added afterwards; returns it.
int g4attribute(int attr);

// Works out the widths of every get of the current window and draws them.
void g4display();
// The field editor; returns the key that ended editing, 0 when no get can be edited.
int g4read();
// Non-zero frees the window's gets; g4read frees them at its end unless 0 was given.
void g4release(int flag);
// 1 for the keys that end editing of a form field.
int WigetCtrlKey(int key);

// build_get_struct modes (mode & 3), and the bit that asks "Czy zapisać pozycję ?".
constexpr int BGS_ASK = 0;          // repeat until saved (0) or left (-1)
constexpr int BGS_ONE_PASS = 1;     // one pass through the gets, returns the key
constexpr int BGS_ONCE = 2;         // one g4read, returns its key
constexpr int BGS_SHOW = 3;         // no editing
constexpr int BGS_NEW_ITEM = 4;
int build_get_struct(int mode, EditCtrl* list, int attr);
