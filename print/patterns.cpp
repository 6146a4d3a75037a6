#include "print/patterns.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/text_buffers.h"
#include "platform/screen_hook.h"

DeklContext DeklCtx;

namespace {

constexpr int kSplitBuffer = 160;

// Where a slot write of `length` characters lands, or -1 after the message
// when it would leave the page.
long SlotPosition(int slot, int rowOffset, int length, int* row) {
  const DeklContext& d = DeklCtx;
  const int R = d.slots[2 * (slot - 1)], C = d.slots[2 * (slot - 1) + 1];
  const int target = R + rowOffset - 1;
  if (R > d.height || C + length > d.width || target < 0 || target >= d.height) {
    char line[120];
    std::snprintf(line, sizeof line, "Nr(%i),  XY(%i,%i),  WidHig(%i,%i)", slot, C + length, R - 1, d.width, d.height);
    ScreenMessageBox(SCREEN_BOX_ERROR, nullptr, (Utf8ToMazText("Błąd wpisania danej") + "\n" + line).c_str());
    return -1;
  }
  *row = R;
  return static_cast<long>(target) * d.width + C;
}

}  // namespace

int print_alloc(char** pattern, char** page, int size, ResIdRoutine resource) {
  *pattern = static_cast<char*>(take_mem(static_cast<size_t>(size)));
  *page = static_cast<char*>(take_mem(static_cast<size_t>(size)));
  if (*pattern == nullptr || *page == nullptr) return -1;
  std::memset(*page, ' ', static_cast<size_t>(size));
  if (resource)
    EnvLoadBinResource(*pattern, static_cast<unsigned>(size), resource);
  else
    std::memset(*pattern, ' ', static_cast<size_t>(size));
  return 0;
}

void print_free(char** pattern, char** page) {
  if (*pattern) free_mem(pattern);
  if (*page) free_mem(page);
}

int patt_copy_area(char* destination, int width, int destinationRow, int destinationCol, const char* source,
                   int sourceRow, int sourceCol, int length, int rows) {
  for (int i = 0; i < rows; i++)
    std::memmove(destination + static_cast<long>(destinationRow + i) * width + destinationCol,
                 source + static_cast<long>(sourceRow + i) * width + sourceCol, static_cast<size_t>(length));
  return 0;
}

void copy_dekl_str(int slot, int rowOffset, const char* text, int length) {
  int row;
  long at = SlotPosition(slot, rowOffset, length, &row);
  if (at < 0) return;
  if (row + rowOffset > DeklCtx.highest) DeklCtx.highest = row + rowOffset;
  if (length > 0) std::memcpy(DeklCtx.page + at, text, static_cast<size_t>(length));
}

void copy_dekl_maxstring(int slot, int rowOffset, const char* text) {
  copy_dekl_str(slot, rowOffset, text, static_cast<int>(std::strlen(text)));
}

void copy_dekl_maxfield(int slot, int rowOffset, DbField* field) {
  copy_dekl_str(slot, rowOffset, f4ptr(field), static_cast<int>(f4len(field)));
}

void copy_dekl_string_m(int slot, int rowOffset, const char* text, int flag) {
  if (flag) copy_dekl_maxstring(slot, rowOffset, text);
}

void copy_dekl_field_m(int slot, int rowOffset, DbField* field, int flag) {
  if (flag) copy_dekl_maxfield(slot, rowOffset, field);
}

int copy_dekl_double(int slot, int rowOffset, double value, int width, int format) {
  int row;
  long at = SlotPosition(slot, rowOffset, width, &row);
  if (at < 0) return 0;
  // Counted with the row offset, so a number below the slot's row is kept
  // when the page is spooled.
  if (row + rowOffset > DeklCtx.highest) DeklCtx.highest = row + rowOffset;
  // Grouping may widen the number past `width`: formatted aside and copied
  // only as far as the page goes.
  std::string text(static_cast<size_t>(width) + width / 3 + 16, ' ');
  int written = MemPrintDoubleFmt(text.data(), value, width, format);
  const long room = static_cast<long>(DeklCtx.width) * DeklCtx.height - at;
  const long take = written < room ? written : room;
  if (take > 0) std::memcpy(DeklCtx.page + at, text.data(), static_cast<size_t>(take));
  return written;
}

int copy_dekl_double_m(int slot, int rowOffset, double value, int width, int format, int flag) {
  return flag ? copy_dekl_double(slot, rowOffset, value, width, format) : 0;
}

void copy_dekl_splitstring(int slot, const char* text, int width1, int width2) {
  char first[kSplitBuffer + 1], second[kSplitBuffer + 1];
  std::memset(first, ' ', sizeof first);
  std::memset(second, ' ', sizeof second);
  width1 = width1 < kSplitBuffer ? width1 : kSplitBuffer;
  width2 = width2 < kSplitBuffer ? width2 : kSplitBuffer;
  div_str(text, static_cast<int>(std::strlen(text)), first, width1, second, width2, nullptr);
  char* lines[] = {first, second};
  const int widths[] = {width1, width2};
  for (int i = 0; i < 2; i++) {
    int n = widths[i];
    while (n > 0 && lines[i][n - 1] == ' ') n--;
    lines[i][n] = 0;
    copy_dekl_maxstring(slot, i, lines[i]);
  }
}

const char* FldYesNoAsX(DbField* field) { return f4ptr(field)[0] == 'T' ? "X" : " "; }
