// Text windows on the character grid: the record pool, the window chain,
// save-under, frames and titles, output into the current window and the
// placement of layouts defined for an 80 x 30 screen on the real grid.
#pragma once
#include <cstdint>

// SlotPool4: one block holding a 16-byte header and the records; the owner
// keeps a pointer to the first record. Every record begins with two int32
// links, next and prev (-1 none); indexes stay valid when the block moves.
constexpr int SLOT_POOL_HEADER = 16;
constexpr int SLOT_POOL_MAX_BYTES = 0xFFE0;

int SlotPoolCreateRaw(void** pool, int capacity, int recordSize, int growBy);
int SlotPoolAllocRaw(void** pool, int after);
int SlotPoolLink(void* pool, int after, int index, int before);
int SlotPoolUnlink(void* pool, int index);
int SlotPoolFree(void* pool, int index);
void SlotPoolFreeChain(void* pool, int index);
void SlotPoolDestroyRaw(void** pool);
int SlotPoolCapacity(const void* pool);
void* SlotPoolRecord(void* pool, int index);   // NULL outside the pool

template <class T>
int SlotPoolCreate(T** pool, int capacity, int growBy) {
  void* p = *pool;
  int result = SlotPoolCreateRaw(&p, capacity, static_cast<int>(sizeof(T)), growBy);
  *pool = static_cast<T*>(p);
  return result;
}
template <class T>
int SlotPoolAlloc(T** pool, int after) {
  void* p = *pool;
  int index = SlotPoolAllocRaw(&p, after);
  *pool = static_cast<T*>(p);
  return index;
}
template <class T>
void SlotPoolDestroy(T** pool) {
  void* p = *pool;
  SlotPoolDestroyRaw(&p);
  *pool = nullptr;
}

struct Window4 {
  int32_t next, prev;           // window chain
  int32_t written;              // low 8 bits of the characters written by w4num
  int32_t row, col;             // screen cell of the first row and column inside the frame
  int32_t curRow, curCol;       // output cursor, relative
  int32_t width, height;        // inside the frame
  uint8_t shown;
  uint8_t keepContents;
  const char* border;           // 8 characters: top, bottom, left, right, TL, TR, BL, BR
  int32_t borderAttr;
  int32_t attr;
  uint16_t* contents;           // the window with its frame, kept while hidden
  uint16_t* saveUnder;          // the screen under the window with its frame
  int32_t titleRow, titleCol;   // relative to the frame's top-left; titleCol -1 centres
  char* title;                  // own copy
  int32_t titleAttr;
  int32_t firstGet, lastGet;
  int32_t getsReleased;
  int32_t getAttr;
  int32_t firstItem, lastItem, startItem;
  int32_t barMenu;
  int32_t itemWidth;
  int32_t hotKeyMode;
  int32_t ignoreCase;
  int32_t itemAttr, selAttr;
  int32_t redraw;
  int32_t returnOnOther;
  int32_t exitKey1, exitKey2;
  int32_t exitLow, exitHigh;
  int32_t helpTopic;
  int16_t page, pageCount;
  void* wigets;
  void* formState;
  void* formData;
  unsigned char* colourSet;
  int (*formKeyRoutine)(int key, void* formData);
};

// The chains of a window's gets and menu items are freed with it through
// these routines, set by the get and menu layers (NULL: nothing to free).
extern void (*w4free_gets)(Window4* window);
extern void (*w4free_items)(Window4* window);

Window4* w4record(int handle);   // NULL when the handle names no window

int w4define(int row1, int col1, int row2, int col2);
int w4select(int handle);
int w4activate(int handle);
int w4deactivate(int handle);
void w4close(int handle);
void w4popup();
void w4border(const char* frame, int attr);
void w4title(int row, int col, const char* text, int attr);
int w4attribute(int attr);
void w4keep_contents();
int w4row();
int w4col();
int w4width();
int w4height();
int w4start_row();
int w4start_col();
void w4position(int row, int col);

int w4num(int row, int col, const char* text, int count);
int w4num_att(int row, int col, const char* text, int count, int attr);
int w4(int row, int col, const char* text);
int w4centre(int row, const char* text);
int w4double(int row, int col, double value, int width, int decimals);
int w4int(int row, int col, int value, int width);
int w4long(int row, int col, long value, int width);
void w4repeat(int row, int col, int character, int count);
struct DbField;
void w4field(int row, int col, DbField* field);   // C, F, L, N as stored; D as "MMM/DD/YY"
void write_to_screen(const char* lines, int firstRow, int lineLength, int firstEntry, int count, int attr);
void w4scroll(int direction);
void w4clear(int row);

// Placement bits of DefineWindow.
constexpr int DW_FRAME = 1;          // flags and placement: a frame around the asked-for size
constexpr int DW_NO_FRAME_GROWTH = 2;
constexpr int DW_PLACE_FLAGS = 0x100;
constexpr int DW_H_CENTRE = 0x00, DW_H_KEEP = 0x10, DW_H_RIGHT = 0x20, DW_H_STRETCH = 0x30;
constexpr int DW_V_CENTRE = 0x00, DW_V_KEEP = 0x40, DW_V_DOWN = 0x80, DW_V_STRETCH = 0xC0;

int DefineWindow(int row, int col, int height, int width, int flags, int defRow, int defCol, int defHeight,
                 int defWidth, int placement, int* result);
