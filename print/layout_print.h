// Layout printing: values put at positions given by small operation lists
// instead of line after line. In a printer-language job every page is a
// character page with a form layer and a value layer that goes into the page
// spool; in a page-document job the texts are drawn on the page.
#pragma once
#include <cstdint>
#include "env/env_state.h"
#include "print/page_spool.h"

struct DbField;

struct PrintZone {
  int32_t columns, rows;
  int32_t leftMargin;           // -1: the printer setting
  int32_t lineFeeds;            // before the page
  ResIdRoutine formRoutine;     // fills the form layer, or none
  ResIdRoutine slotRoutine;     // the slot table, or none
  int32_t slotSize;
};

struct PrintLayoutCtx {
  int32_t variant;              // which position, width or height entry applies
  int32_t baseRow;              // added to every row of "CXY"
  int32_t column, row;
  int32_t boxWidth, boxHeight;  // columns and rows, 0 none
  double x, y;                  // device units
  double boxWidthUnits, boxHeightUnits;
  uint8_t positionKind;         // 1 cells, 2 millimetres
  uint8_t widthKind, heightKind;
  uint8_t failed;
  char* valuePage;
  char* formPage;
  unsigned char* slotTable;
  int32_t pageColumns, pageRows;
  int32_t pageCounter;          // -1 before the first page
  int32_t pagesBegun;
  PrintZone* currentZone;
  int32_t defaultColumns, defaultRows;
  ResIdRoutine defaultSlotRoutine;
  int32_t defaultSlotSize;
  PrintZone* zones;
  int32_t zoneCapacity, zoneCount;
  int32_t publish;              // every page begun goes to DeklCtx
  PageFileHeader header;
};

// Operation codes of the lists.
constexpr int PO_END = 0;
constexpr int PO_CXY = 1;         // row, column
constexpr int PO_MXY = 2;         // y, x millimetres (int)
constexpr int PO_FPMXY = 3;       // y, x millimetres (double)
constexpr int PO_DUME_XY = 4;
constexpr int PO_VALUE = 5;       // the value and one int; the list ends here
constexpr int PO_RXY = 9;         // rows, columns
constexpr int PO_RMXY = 10;       // y, x millimetres (int)
constexpr int PO_RFPMXY = 11;     // y, x millimetres (double)
constexpr int PO_BOX_COLUMNS = 12;
constexpr int PO_BOX_WIDTH_MM = 13;     // double
constexpr int PO_BOX_ROWS = 14;
constexpr int PO_BOX_HEIGHT_MM = 15;    // double

// Text flags.
constexpr int PT_FORM_LAYER = 0x01;
constexpr int PT_RIGHT = 0x02;
constexpr int PT_CENTRE = 0x04;
constexpr int PT_COLON = 0x08;
constexpr int PT_WRAP = 0x20;

void InitPrint(PrintLayoutCtx* ctx, int columns, int rows, int fixedGrid, int publish, PrintZone* zones,
               int zoneBytes, const char* title);
void PrintDefinePage(PrintLayoutCtx* ctx, ResIdRoutine formRoutine, int columns, int rows, int leftMargin,
                     int lineFeeds, ResIdRoutine slotRoutine, ResIdRoutine fixedGridSlotRoutine, int slotSize);
void PrintSetTab(PrintLayoutCtx* ctx, ResIdRoutine slotRoutine, ResIdRoutine fixedGridSlotRoutine, int slotSize);
// 1 begun; 0 failed, or failed before.
int PrintBeginPage(PrintLayoutCtx* ctx);
void PrintEndPage(PrintLayoutCtx* ctx);
int EnoughPrintSpace(PrintLayoutCtx* ctx, int n);
// Operation lists: (code, arguments)..., PO_VALUE, value, int.
int PrintString(PrintLayoutCtx* ctx, ...);   // text, text flags
int PrintDouble(PrintLayoutCtx* ctx, ...);   // double, width << 12 | number flags
int PrintField(PrintLayoutCtx* ctx, ...);    // DbField*, number format
