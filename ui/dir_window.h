// The directory window: a small form window holding one directory list (a
// wiget of type 19) that shows the sub-directories and files of a directory
// for the operator to move through. The wiget layer calls the DirList*
// routines to set the list up, draw it, pass it keys and free it.
#pragma once
#include <cstdint>

constexpr int DIR_LIST_MAX = 512;
constexpr int DIR_LIST_PATH_MAX = 260;

// Entry attributes, as the system's file attributes.
constexpr uint32_t DIR_ATTR_HIDDEN = 0x02;
constexpr uint32_t DIR_ATTR_DIRECTORY = 0x10;
constexpr uint32_t DIR_ATTR_ARCHIVE = 0x20;

struct DirListEntry {
  char* name;            // system's character set, from the runtime heap
  uint32_t attributes;
};

// The `source` of a directory-list wiget, in the module's memory.
struct DirList {
  int32_t width;         // of a line
  int32_t lines;         // lines shown
  int32_t highlight;     // line of the current entry
  int32_t current;       // index of the current entry
  int32_t count;         // entries read
  DirListEntry* entries; // DIR_LIST_MAX entries, from DirListInit
  char path[DIR_LIST_PATH_MAX];   // the directory as the system writes it
};

// For DefineWigetEx: zeroes the count and takes the entry table; 0 or -1.
int DirListInit(DirList* list);
// For FreeWigets: frees the names and the entry table.
void DirListFree(DirList* list);
// Reads the directory when the list has no entries: sub-directories first in
// the order read, then the files sorted by name; hidden entries are left out.
// A directory that cannot be read leaves the list empty.
void DirListRead(DirList* list);
// Draws the list at (row, col) of the current window (reading it first when
// empty); the current entry is highlighted while the wiget has the cursor.
void DirListDraw(DirList* list, int row, int col, int hasCursor);
// Up, Down, PgUp and PgDn move through the list and redraw it (1); other keys
// are left to the form (0).
int DirListKey(DirList* list, int row, int col, int key);

// A form window for a directory list: the given geometry or row 10, column 14,
// height 6, width 51, title (NULL none) centred; returns the handle or -1.
int DefineDiskWindow(int row, int col, int height, int width, const char* title, void* wigets, void* formData);
