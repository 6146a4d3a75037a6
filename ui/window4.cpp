#include "ui/window4.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include "env/error_log.h"
#include "env/memory.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "ui/desktop.h"

void (*w4free_gets)(Window4* window) = nullptr;
void (*w4free_items)(Window4* window) = nullptr;

// ---- SlotPool4

namespace {

struct PoolHeader {
  int32_t freeHead;   // == capacity when none is free
  int32_t capacity;
  int32_t recordSize;
  int32_t growBy;
};
static_assert(sizeof(PoolHeader) == SLOT_POOL_HEADER);

PoolHeader* Header(const void* pool) {
  return reinterpret_cast<PoolHeader*>(static_cast<unsigned char*>(const_cast<void*>(pool)) - SLOT_POOL_HEADER);
}

int32_t* Links(void* pool, int index) {
  return reinterpret_cast<int32_t*>(static_cast<unsigned char*>(pool) +
                                    static_cast<size_t>(index) * Header(pool)->recordSize);
}
int32_t& NextOf(void* pool, int index) { return Links(pool, index)[0]; }
int32_t& PrevOf(void* pool, int index) { return Links(pool, index)[1]; }

// Chains records first..capacity-1 as free, the last pointing at capacity.
void ChainFree(void* pool, int first, int capacity) {
  for (int k = first; k < capacity; k++) {
    NextOf(pool, k) = k + 1;
    PrevOf(pool, k) = -1;
  }
}

}  // namespace

int SlotPoolCreateRaw(void** pool, int capacity, int recordSize, int growBy) {
  size_t bytes = static_cast<size_t>(capacity) * recordSize + SLOT_POOL_HEADER;
  if (bytes > SLOT_POOL_MAX_BYTES) ErrLogMessage(EL_ERROR, 41, TextRef());
  unsigned char* block = static_cast<unsigned char*>(u4alloc(bytes));
  if (!block) return -1;
  PoolHeader* h = reinterpret_cast<PoolHeader*>(block);
  *h = PoolHeader{0, capacity, recordSize, growBy};
  *pool = block + SLOT_POOL_HEADER;
  ChainFree(*pool, 0, capacity);
  return 0;
}

int SlotPoolAllocRaw(void** pool, int after) {
  if (!*pool) return -1;
  PoolHeader* h = Header(*pool);
  if (h->freeHead >= h->capacity) {
    int capacity = h->capacity + h->growBy;
    size_t bytes = static_cast<size_t>(capacity) * h->recordSize + SLOT_POOL_HEADER;
    if (bytes > SLOT_POOL_MAX_BYTES || h->growBy <= 0) {
      ErrLogMessage(EL_ERROR, 42, TextRef());
      return -1;
    }
    unsigned char* block = static_cast<unsigned char*>(u4alloc(bytes));
    if (!block) return -1;
    std::memcpy(block, h, static_cast<size_t>(h->capacity) * h->recordSize + SLOT_POOL_HEADER);
    u4free(h);
    *pool = block + SLOT_POOL_HEADER;
    h = Header(*pool);
    ChainFree(*pool, h->capacity, capacity);
    h->freeHead = h->capacity;
    h->capacity = capacity;
  }
  int index = h->freeHead;
  h->freeHead = NextOf(*pool, index);
  NextOf(*pool, index) = -1;
  PrevOf(*pool, index) = -1;
  std::memset(Links(*pool, index) + 2, 0, h->recordSize - 8);
  if (after >= 0) SlotPoolLink(*pool, after, index, 0);
  return index;
}

int SlotPoolLink(void* pool, int after, int index, int before) {
  if (index < 0 || index == after) return index;
  if (after < 0) {
    NextOf(pool, index) = -1;
    PrevOf(pool, index) = -1;
  } else if (before) {
    int prev = PrevOf(pool, after);
    NextOf(pool, index) = after;
    PrevOf(pool, index) = prev;
    if (prev >= 0) NextOf(pool, prev) = index;
    PrevOf(pool, after) = index;
  } else {
    int next = NextOf(pool, after);
    PrevOf(pool, index) = after;
    NextOf(pool, index) = next;
    if (next >= 0) PrevOf(pool, next) = index;
    NextOf(pool, after) = index;
  }
  return index;
}

int SlotPoolUnlink(void* pool, int index) {
  int prev = PrevOf(pool, index), next = NextOf(pool, index);
  if (prev >= 0) NextOf(pool, prev) = next;
  if (next >= 0) PrevOf(pool, next) = prev;
  NextOf(pool, index) = -1;
  PrevOf(pool, index) = -1;
  return prev >= 0 ? prev : next >= 0 ? next : -1;
}

int SlotPoolFree(void* pool, int index) {
  if (!pool || index < 0 || index >= Header(pool)->capacity) {
    ErrLogMessage(EL_ERROR, 43, TextRef());
    return -2;
  }
  int result = SlotPoolUnlink(pool, index);
  NextOf(pool, index) = Header(pool)->freeHead;
  Header(pool)->freeHead = index;
  return result;
}

void SlotPoolFreeChain(void* pool, int index) {
  while (index >= 0) index = SlotPoolFree(pool, index);
}

void SlotPoolDestroyRaw(void** pool) {
  if (*pool) u4free(Header(*pool));
  *pool = nullptr;
}

int SlotPoolCapacity(const void* pool) { return pool ? Header(pool)->capacity : 0; }

void* SlotPoolRecord(void* pool, int index) {
  if (!pool || index < 0 || index >= Header(pool)->capacity) return nullptr;
  return Links(pool, index);
}

// ---- windows

namespace {

struct Rect {
  int row, col, height, width;
};

Rect Outer(const Window4* w) {
  int f = w->border ? 1 : 0;
  return {w->row - f, w->col - f, w->height + 2 * f, w->width + 2 * f};
}

void SetOuter(Window4* w, const Rect& r) {
  int f = w->border ? 1 : 0;
  w->row = r.row + f;
  w->col = r.col + f;
  w->height = r.height - 2 * f;
  w->width = r.width - 2 * f;
}

// Copies the grid's cells of a rectangle to a buffer (or back), clipped to the grid.
void CopyCells(const Rect& r, uint16_t* buffer, bool toScreen) {
  if (!buffer || !Desktop.cells) return;
  for (int y = 0; y < r.height; y++) {
    int gr = r.row + y;
    if (gr < 0 || gr >= Desktop.rows) continue;
    for (int x = 0; x < r.width; x++) {
      int gc = r.col + x;
      if (gc < 0 || gc >= Desktop.cols) continue;
      uint16_t& cell = Desktop.cells[gr * Desktop.cols + gc];
      uint16_t& saved = buffer[y * r.width + x];
      if (toScreen)
        cell = saved;
      else
        saved = cell;
    }
  }
  if (toScreen) ImageRepaint(r.col, r.row, r.width, r.height);
}

uint16_t* AllocCells(const Rect& r) {
  if (r.width <= 0 || r.height <= 0) return nullptr;
  return static_cast<uint16_t*>(u4alloc(static_cast<size_t>(r.width) * r.height * 2));
}

void ClearRect(const Rect& r, int attr) {
  int col = std::max(r.col, 0), width = std::min(r.col + r.width, Desktop.cols) - col;
  if (width > 0) ImageClear(col, r.row, width, r.height, attr);
}

void DrawFrameAndTitle(Window4* w) {
  Rect r = Outer(w);
  ClearRect(r, w->attr);
  if (w->border) {
    const char* b = w->border;
    int last = r.row + r.height - 1, right = r.col + r.width - 1;
    ImagePutText(r.col + 1, r.row, static_cast<unsigned char>(b[0]), r.width - 2, w->borderAttr);
    ImagePutText(r.col + 1, last, static_cast<unsigned char>(b[1]), r.width - 2, w->borderAttr);
    for (int y = r.row + 1; y < last; y++) {
      ImagePutText(r.col, y, static_cast<unsigned char>(b[2]), 1, w->borderAttr);
      ImagePutText(right, y, static_cast<unsigned char>(b[3]), 1, w->borderAttr);
    }
    ImagePutText(r.col, r.row, static_cast<unsigned char>(b[4]), 1, w->borderAttr);
    ImagePutText(right, r.row, static_cast<unsigned char>(b[5]), 1, w->borderAttr);
    ImagePutText(r.col, last, static_cast<unsigned char>(b[6]), 1, w->borderAttr);
    ImagePutText(right, last, static_cast<unsigned char>(b[7]), 1, w->borderAttr);
  }
  if (w->title) {
    int y = r.row + w->titleRow;
    int len = static_cast<int>(std::strlen(w->title));
    ImagePutText(r.col, y, ' ', r.width, w->titleAttr);
    int x = w->titleCol < 0 ? (r.width - len) / 2 : w->titleCol;
    ImagePutText(r.col + x, y, w->title, len, w->titleAttr);
  }
  ImageRepaint(r.col, r.row, r.width, r.height);
}

int LastInChain() {
  int h = Desktop.firstWindow;
  while (h >= 0) {
    int next = NextOf(Desktop.windowPool, h);
    if (next < 0) break;
    h = next;
  }
  return h;
}

void MoveToTop(int h) {
  void* pool = Desktop.windowPool;
  if (h == Desktop.topWindow) return;
  if (h == Desktop.firstWindow) Desktop.firstWindow = NextOf(pool, h);
  SlotPoolUnlink(pool, h);
  int after = Desktop.topWindow >= 0 ? Desktop.topWindow : LastInChain();
  if (after >= 0) SlotPoolLink(pool, after, h, 0);
  if (Desktop.firstWindow < 0) Desktop.firstWindow = h;
  Desktop.topWindow = h;
}

void MoveToStart(int h) {
  void* pool = Desktop.windowPool;
  if (h == Desktop.topWindow) Desktop.topWindow = PrevOf(pool, h);
  if (h == Desktop.firstWindow) return;
  SlotPoolUnlink(pool, h);
  if (Desktop.firstWindow >= 0) SlotPoolLink(pool, Desktop.firstWindow, h, 1);
  Desktop.firstWindow = h;
}

}  // namespace

Window4* w4record(int handle) { return static_cast<Window4*>(SlotPoolRecord(Desktop.windowPool, handle)); }

int w4define(int row1, int col1, int row2, int col2) {
  if (!Desktop.windowPool) return -1;
  int h = SlotPoolAlloc(&Desktop.windowPool, -1);
  if (h < 0) return -1;
  if (Desktop.firstWindow >= 0) SlotPoolLink(Desktop.windowPool, Desktop.firstWindow, h, 1);
  Desktop.firstWindow = h;
  if (Desktop.topWindow < 0) Desktop.topWindow = h;
  Window4* w = w4record(h);
  w->written = -1;
  w->attr = 7;
  w->firstGet = w->lastGet = -1;
  w->getsReleased = -1;
  w->getAttr = 0x70;
  w->firstItem = w->lastItem = w->startItem = -1;
  w->hotKeyMode = 1;
  w->ignoreCase = 1;
  w->itemAttr = 7;
  w->selAttr = 0x70;
  w->exitKey1 = Desktop.exitKey1;
  w->exitKey2 = Desktop.exitKey2;
  w->helpTopic = -1;
  if (row2 < row1) row2 = Desktop.rows - 1;
  if (col2 < col1) col2 = Desktop.cols - 1;
  w->row = row1;
  w->col = col1;
  w->height = row2 - row1 + 1;
  w->width = col2 - col1 + 1;
  Desktop.curHandle = h;
  Desktop.curWindow = w;
  return h;
}

int w4select(int handle) {
  int previous = Desktop.curHandle;
  if (handle >= 0 && w4record(handle)) {
    Desktop.curHandle = handle;
    Desktop.curWindow = w4record(handle);
  }
  return previous;
}

int w4activate(int handle) {
  if (handle < 0) handle = Desktop.curHandle;
  Window4* w = w4record(handle);
  if (!w) return -1;
  int previous = w4select(handle);
  if (handle == Desktop.topWindow && w->shown) return previous;
  Rect r = Outer(w);
  bool adjusted = r.row < 0 || r.col < 0 || r.height < 0 || r.width < 0;
  if (r.row < 0) r.row = 0;
  if (r.col < 0) r.col = 0;
  if (r.height < 0) r.height = Desktop.rows - r.row;
  if (r.width < 0) r.width = Desktop.cols - r.col;
  SetOuter(w, r);
  if (adjusted && w->saveUnder) w4popup();
  if (w->saveUnder) CopyCells(r, w->saveUnder, false);
  if (w->keepContents && w->contents)
    CopyCells(r, w->contents, true);
  else
    DrawFrameAndTitle(w);
  w->shown = 1;
  MoveToTop(handle);
  return handle;
}

int w4deactivate(int handle) {
  if (handle < 0) handle = Desktop.curHandle;
  Window4* w = w4record(handle);
  if (!w || !w->shown) return Desktop.curHandle;
  int previous = w4select(handle);
  Rect r = Outer(w);
  if (w->keepContents) {
    if (!w->contents) w->contents = AllocCells(r);
    CopyCells(r, w->contents, false);
  }
  w->shown = 0;
  MoveToStart(handle);
  if (w->saveUnder)
    CopyCells(r, w->saveUnder, true);
  else
    ClearRect(r, w->attr);
  Window4* top = w4record(Desktop.topWindow);
  w4select(top && top->shown ? Desktop.topWindow : previous);
  return handle;
}

void w4close(int handle) {
  if (handle < 0) handle = Desktop.curHandle;
  Window4* w = w4record(handle);
  if (!w) return;
  u4free(w->contents);
  u4free(w->saveUnder);
  u4free(w->title);
  w->contents = w->saveUnder = nullptr;
  w->title = nullptr;
  if (w4free_items) w4free_items(w);
  if (w4free_gets) w4free_gets(w);
  int replacement = SlotPoolFree(Desktop.windowPool, handle);
  if (handle == Desktop.firstWindow) Desktop.firstWindow = replacement;
  if (handle == Desktop.topWindow) Desktop.topWindow = replacement;
  if (handle == Desktop.curHandle) Desktop.curHandle = Desktop.topWindow;
}

void w4popup() {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  u4free(w->saveUnder);
  w->saveUnder = AllocCells(Outer(w));
}

void w4border(const char* frame, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  Rect r = Outer(w);
  w->border = frame;
  w->borderAttr = attr;
  SetOuter(w, r);
}

void w4title(int row, int col, const char* text, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  u4free(w->title);
  w->title = nullptr;
  if (text) {
    size_t n = std::strlen(text);
    w->title = static_cast<char*>(u4alloc(n + 1));
    if (w->title) std::memcpy(w->title, text, n + 1);
  }
  w->titleRow = row;
  w->titleCol = col;
  w->titleAttr = attr;
}

int w4attribute(int attr) {
  Window4* w = Desktop.curWindow;
  if (!w) return 0;
  if (attr != -1) w->attr = attr;
  return w->attr;
}

void w4keep_contents() {
  if (Desktop.curWindow) Desktop.curWindow->keepContents = 1;
}

int w4row() { return Desktop.curWindow ? Desktop.curWindow->curRow : 0; }
int w4col() { return Desktop.curWindow ? Desktop.curWindow->curCol : 0; }
int w4width() { return Desktop.curWindow ? Desktop.curWindow->width : 0; }
int w4height() { return Desktop.curWindow ? Desktop.curWindow->height : 0; }
int w4start_row() { return Desktop.curWindow ? Desktop.curWindow->row : 0; }
int w4start_col() { return Desktop.curWindow ? Desktop.curWindow->col : 0; }

void w4position(int row, int col) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  if (w->width > 0 && col >= w->width) {
    row += col / w->width;
    col %= w->width;
  }
  if (w->height > 0 && row >= w->height) row %= w->height;
  w->curRow = row;
  w->curCol = col;
}

// ---- output

int w4num(int row, int col, const char* text, int count) {
  Window4* w = Desktop.curWindow;
  if (!w || w->width <= 0 || w->height <= 0) return 0;
  if (row < 0) row = 0;
  if (col < 0) col = 0;
  if (col >= w->width) {
    row += col / w->width;
    col %= w->width;
  }
  if (count <= 0 || !text) {
    w4position(row, col);
    return w->written & 0xFF;
  }
  const char* p = text;
  int left = count;
  while (left > 0) {
    if (row >= w->height) row %= w->height;
    int piece = std::min(left, w->width - col);
    ImagePutText(w->col + col, w->row + row, p, piece, w->attr);
    ImageRepaint(w->col + col, w->row + row, piece, 1);
    p += piece;
    left -= piece;
    col += piece;
    if (col >= w->width) {
      col = 0;
      if (++row >= w->height) row = 0;
    }
  }
  w->curRow = row;
  w->curCol = col;
  w->written += count;
  return w->written & 0xFF;
}

int w4num_att(int row, int col, const char* text, int count, int attr) {
  Window4* w = Desktop.curWindow;
  if (!w || !text) return 0;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  int saved = w->attr;
  w->attr = attr;
  int result = w4num(row, col, text, count);
  w->attr = saved;
  return result;
}

int w4(int row, int col, const char* text) {
  return text ? w4num(row, col, text, static_cast<int>(std::strlen(text))) : 0;
}

int w4centre(int row, const char* text) {
  Window4* w = Desktop.curWindow;
  if (!w || !text) return 0;
  int len = static_cast<int>(std::strlen(text));
  return w4num(row, len > w->width ? 0 : (w->width - len) / 2, text, len);
}

int w4double(int row, int col, double value, int width, int decimals) {
  if (width <= 0) return 0;
  std::vector<char> buffer(static_cast<size_t>(width) + 1);
  c4dtoa(value, buffer.data(), width, decimals, 1);
  return w4num(row, col, buffer.data(), width);
}

int w4long(int row, int col, long value, int width) {
  if (width <= 0) return 0;
  std::vector<char> buffer(static_cast<size_t>(width) + 1);
  c4ltoa(value, buffer.data(), width);
  return w4num(row, col, buffer.data(), width);
}

int w4int(int row, int col, int value, int width) { return w4long(row, col, value, width); }

void w4repeat(int row, int col, int character, int count) {
  if (count < 0 || !Desktop.curWindow) return;
  char piece[120];
  std::memset(piece, character, sizeof piece);
  w4position(row, col);
  while (count > 0) {
    int n = std::min(count, 120);
    w4num(Desktop.curWindow->curRow, Desktop.curWindow->curCol, piece, n);
    count -= n;
  }
}

void w4field(int row, int col, DbField* field) {
  if (!field) return;
  switch (f4type(field)) {
    case 'C':
    case 'F':
    case 'L':
    case 'N':
      w4num(row, col, f4ptr(field), static_cast<int>(f4len(field)));
      break;
    case 'D': {
      char date[9] = {};
      std::memcpy(date, f4ptr(field), 8);
      w4(row, col, DateFmtQStr(date, "MMM/DD/YY"));
      break;
    }
    default:
      break;
  }
}

void write_to_screen(const char* lines, int firstRow, int lineLength, int firstEntry, int count, int attr) {
  w4attribute(attr);
  for (int i = 0; i < count; i++)
    w4num(firstRow + i, 0, lines + static_cast<size_t>(firstEntry + i) * lineLength, lineLength);
}

void w4scroll(int direction) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  ImageScroll(w->col, w->row, w->width, w->height, direction);
  int freed = direction < 0 ? 0 : w->height - 1;
  ImageClear(w->col, w->row + freed, w->width, 1, w->attr);
}

void w4clear(int row) {
  Window4* w = Desktop.curWindow;
  if (!w) return;
  if (row < w->height) ImageClear(w->col, w->row + row, w->width, w->height - row, w->attr);
  w->curRow = row;
  w->curCol = 0;
}

// ---- placement

int DefineWindow(int row, int col, int height, int width, int flags, int defRow, int defCol, int defHeight,
                 int defWidth, int placement, int* result) {
  if (result) *result = 1;
  if ((flags & 0xF0) || (flags & DW_PLACE_FLAGS)) placement = (placement & ~0xF0) | (flags & 0xF0);
  if (row < 0) row = defRow;
  if (col < 0) col = defCol;
  if (height < 0) height = defHeight;
  if (width < 0) width = defWidth;
  int refWidth = GRID_MIN_COLS, refHeight = GRID_MIN_ROWS;
  if (!(flags & DW_NO_FRAME_GROWTH) && ((flags & DW_FRAME) || (placement & DW_FRAME))) {
    if (row + height + 2 > Desktop.rows - 1 || col + width + 2 > Desktop.cols) {
      if (result) *result &= ~1;
    } else {
      refWidth = std::max(GRID_MIN_COLS, col + width + 2);
      refHeight = std::max(GRID_MIN_ROWS, row + height + 3);
      height += 2;
      width += 2;
    }
  }
  int d = Desktop.cols - refWidth;
  switch (placement & 0x30) {
    case DW_H_CENTRE: col += d / 2; break;
    case DW_H_RIGHT: col += d; break;
    case DW_H_STRETCH: width += d; break;
    default: break;
  }
  d = Desktop.rows - refHeight;
  switch (placement & 0xC0) {
    case DW_V_CENTRE: row += d / 2; break;
    case DW_V_DOWN: row += d; break;
    case DW_V_STRETCH: height += d; break;
    default: break;
  }
  return w4define(row, col, row + height - 1, col + width - 1);
}

// ---- shut-down of the window layer

void w4init_undo() {
  while (Desktop.topWindow >= 0) w4close(Desktop.topWindow);
  while (Desktop.firstWindow >= 0) w4close(Desktop.firstWindow);
  Desktop.firstWindow = Desktop.curHandle = -1;
  Desktop.curWindow = nullptr;
  SlotPoolDestroy(&Desktop.getPool);
  SlotPoolDestroy(&Desktop.itemPool);
  SlotPoolDestroy(&Desktop.windowPool);
}
