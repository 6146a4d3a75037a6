#include "print/layout_print.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "db/dbf_table.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "print/layout_drawing.h"
#include "print/patterns.h"
#include "print/printer.h"

namespace {

constexpr int kLogBadOperation = 84;
constexpr int kLogOutsidePage = 85;
constexpr int kFixedColumns = 79;
constexpr int kFixedRows = 63;
constexpr int kPositions = 4;
constexpr int kWidths = 12;
constexpr int kHeights = 6;
constexpr size_t kColonTextMax = 127;

struct Position {
  int code;
  int a, b;          // row/y and column/x
  double fa, fb;
};
struct Extent {
  int code;
  int cells;
  double mm;
};

enum ValueKind { kText, kNumber, kField };

struct Operations {
  std::vector<Position> positions;
  std::vector<Extent> widths, heights;
  bool hasValue = false;
  const char* text = nullptr;
  double number = 0;
  DbField* field = nullptr;
  int flags = 0;
  std::string logText;
};

const char* PositionName(int code) {
  switch (code) {
    case PO_CXY: return "CXY";
    case PO_MXY: return "MXY";
    case PO_FPMXY: return "FPMXY";
    case PO_DUME_XY: return "DUME_XY";
    case PO_RXY: return "RXY";
    case PO_RMXY: return "RMXY";
    default: return "RFPMXY";
  }
}

// Reads the list; false (logged) for an unknown code or too many positions.
bool Parse(const char* routine, ValueKind kind, va_list args, Operations* ops) {
  ops->logText = std::string("Print") + routine + " ";
  for (;;) {
    const int code = va_arg(args, int);
    if (code == PO_END) return true;
    switch (code) {
      case PO_CXY:
      case PO_MXY:
      case PO_RXY:
      case PO_RMXY: {
        Position p{code, 0, 0, 0, 0};
        p.a = va_arg(args, int);
        p.b = va_arg(args, int);
        ops->positions.push_back(p);
        break;
      }
      case PO_FPMXY:
      case PO_RFPMXY: {
        Position p{code, 0, 0, 0, 0};
        p.fa = va_arg(args, double);
        p.fb = va_arg(args, double);
        ops->positions.push_back(p);
        break;
      }
      case PO_DUME_XY: ops->positions.push_back({code, 0, 0, 0, 0}); break;
      case PO_BOX_COLUMNS: ops->widths.push_back({code, va_arg(args, int), 0}); break;
      case PO_BOX_WIDTH_MM: ops->widths.push_back({code, 0, va_arg(args, double)}); break;
      case PO_BOX_ROWS: ops->heights.push_back({code, va_arg(args, int), 0}); break;
      case PO_BOX_HEIGHT_MM: ops->heights.push_back({code, 0, va_arg(args, double)}); break;
      case PO_VALUE:
        ops->hasValue = true;
        if (kind == kText) ops->text = va_arg(args, const char*);
        if (kind == kNumber) ops->number = va_arg(args, double);
        if (kind == kField) ops->field = va_arg(args, DbField*);
        ops->flags = va_arg(args, int);
        break;
      default:
        ErrLogMessage(0x0412, kLogBadOperation, " mrk(%i), %s", code, ops->logText.c_str());
        return false;
    }
    if (ops->positions.size() > static_cast<size_t>(kPositions)) {
      ErrLogMessage(0x0412, kLogBadOperation, " mrk(%i), %s", code, ops->logText.c_str());
      return false;
    }
    if (code >= PO_CXY && code <= PO_RFPMXY && code != PO_VALUE) {
      const Position& p = ops->positions.back();
      char entry[96];
      if (code == PO_DUME_XY)
        std::snprintf(entry, sizeof entry, "%sDUME_XY, ", "");
      else if (code == PO_FPMXY || code == PO_RFPMXY)
        std::snprintf(entry, sizeof entry, "%s%s(%f,%f), ", "", PositionName(code), p.fa, p.fb);
      else
        std::snprintf(entry, sizeof entry, "%s%s(%i,%i), ", "", PositionName(code), p.a, p.b);
      ops->logText += entry;
    }
    if (ops->hasValue) return true;
  }
}

template <class T>
const T* Chosen(const std::vector<T>& list, int variant, size_t limit) {
  if (list.empty()) return nullptr;
  const size_t n = std::min(list.size(), limit);
  return variant >= 0 && static_cast<size_t>(variant) < n ? &list[static_cast<size_t>(variant)] : &list[0];
}

void Apply(PrintLayoutCtx* ctx, const Operations& ops) {
  const LayoutDrawing& d = Drawing;
  const Position* p = Chosen(ops.positions, ctx->variant, kPositions);
  ctx->positionKind = 2;
  if (p) {
    switch (p->code) {
      case PO_CXY:
        ctx->column = p->b;
        ctx->row = p->a + ctx->baseRow;
        ctx->positionKind = 1;
        break;
      case PO_RXY:
        ctx->row += p->a;
        ctx->column += p->b;
        ctx->positionKind = 1;
        break;
      case PO_MXY:
        ctx->y = p->a * d.unitsPerMmY;
        ctx->x = p->b * d.unitsPerMmX;
        break;
      case PO_FPMXY:
        ctx->y = p->fa * d.unitsPerMmY;
        ctx->x = p->fb * d.unitsPerMmX;
        break;
      case PO_RMXY:
        ctx->y += p->a * d.unitsPerMmY;
        ctx->x += p->b * d.unitsPerMmX;
        break;
      case PO_RFPMXY:
        ctx->y += p->fa * d.unitsPerMmY;
        ctx->x += p->fb * d.unitsPerMmX;
        break;
      default: break;
    }
  }
  ctx->boxWidth = 0;
  ctx->boxWidthUnits = 0;
  ctx->boxHeight = 0;
  ctx->boxHeightUnits = 0;
  ctx->widthKind = ctx->heightKind = 0;
  if (const Extent* w = Chosen(ops.widths, ctx->variant, kWidths)) {
    ctx->widthKind = static_cast<uint8_t>(w->code);
    if (w->code == PO_BOX_COLUMNS)
      ctx->boxWidth = w->cells;
    else
      ctx->boxWidthUnits = w->mm * d.unitsPerMmX;
  }
  if (const Extent* h = Chosen(ops.heights, ctx->variant, kHeights)) {
    ctx->heightKind = static_cast<uint8_t>(h->code);
    if (h->code == PO_BOX_ROWS)
      ctx->boxHeight = h->cells;
    else
      ctx->boxHeightUnits = h->mm * d.unitsPerMmY;
  }
}

bool Blank(char c) { return c == ' '; }

// The lines of a text as (start, length); `overflow` tells that a word did
// not fit the box width.
std::vector<std::pair<int, int>> SplitLines(const std::string& t, int boxWidth, bool wrap, bool* overflow) {
  std::vector<std::pair<int, int>> lines;
  const int n = static_cast<int>(t.size());
  *overflow = false;
  int p = 0;
  while (p < n) {
    if (t[static_cast<size_t>(p)] == '\n') p++;
    if (wrap)
      while (p < n && Blank(t[static_cast<size_t>(p)])) p++;
    const int start = p;
    int end = start;
    int feed = start;
    while (feed < n && t[static_cast<size_t>(feed)] != '\n') feed++;
    auto lastWordEnd = [&t, start](int limit) {
      int e = limit;
      while (e > start && Blank(t[static_cast<size_t>(e - 1)])) e--;
      return e;
    };
    if (wrap) {
      int best = -1;
      for (int i = start; i < feed; i++) {
        const bool wordEnds = !Blank(t[static_cast<size_t>(i)]) && (i + 1 == feed || Blank(t[static_cast<size_t>(i + 1)]));
        if (!wordEnds) continue;
        if (i + 1 - start > boxWidth) break;
        best = i + 1;
      }
      if (best < 0) {
        if (lastWordEnd(feed) > start) *overflow = true;
        end = start;
      } else {
        end = best;
      }
    } else if (boxWidth > 0) {
      end = start + boxWidth <= feed ? start + boxWidth : lastWordEnd(feed);
    } else {
      end = lastWordEnd(feed);
    }
    bool empty = true;
    for (int i = start; i < end; i++) empty = empty && Blank(t[static_cast<size_t>(i)]);
    if (empty) break;
    lines.push_back({start, end - start});
    p = end;
  }
  return lines;
}

int PutText(PrintLayoutCtx* ctx, const Operations& ops, std::string text, int flags) {
  if (flags & PT_COLON) {
    if (text.size() > kColonTextMax) text.resize(kColonTextMax);
    text += ':';
  }
  char* layer = (flags & PT_FORM_LAYER) ? ctx->formPage : ctx->valuePage;
  if (!layer) return 0;
  bool wrap = (flags & PT_WRAP) && ctx->boxWidth > 0, overflow = false;
  std::vector<std::pair<int, int>> lines = SplitLines(text, ctx->boxWidth, wrap, &overflow);
  if (wrap && (overflow || (ctx->boxHeight > 0 && static_cast<int>(lines.size()) > ctx->boxHeight))) {
    wrap = false;
    lines = SplitLines(text, ctx->boxWidth, false, &overflow);
  }
  int lastWritten = 0, lastLength = 0;
  for (size_t k = 0; k < lines.size(); k++) {
    const int length = lines[k].second;
    int offset = 0;
    if (flags & PT_RIGHT)
      offset = ctx->boxWidth ? ctx->boxWidth - length : 1 - length;
    else if (flags & PT_CENTRE)
      offset = ctx->boxWidth ? (ctx->boxWidth - length) / 2 : -(length / 2);
    const int c = ctx->column + offset, r = ctx->row + static_cast<int>(k);
    lastLength = length;
    if (c < 0 || r < 0 || r >= ctx->pageRows || c + length > ctx->pageColumns) {
      ErrLogMessage(0x0491, kLogOutsidePage, ops.logText.c_str());
      continue;
    }
    std::memcpy(layer + static_cast<size_t>(r) * ctx->pageColumns + c, text.data() + lines[k].first,
                static_cast<size_t>(length));
    lastWritten = static_cast<int>(k);
  }
  if (flags & PT_RIGHT)
    ctx->column += ctx->boxWidth ? ctx->boxWidth - lastLength : -lastLength;
  else if (!(flags & PT_CENTRE))
    ctx->column += lastLength;
  ctx->row += lastWritten;
  return lastWritten;
}

int PutNumber(PrintLayoutCtx* ctx, const Operations& ops, double value, int format) {
  const int width = format >> 12;
  if (!ctx->valuePage) return 0;
  if (ctx->column < 0 || ctx->row < 0 || ctx->row >= ctx->pageRows || width < 0 ||
      ctx->column + width > ctx->pageColumns) {
    ErrLogMessage(0x0491, kLogOutsidePage, ops.logText.c_str());
    return 0;
  }
  // Grouping may widen the number: what would run past the row is cut.
  char buffer[512];
  const int written = std::max(0, MemPrintDoubleFmt(buffer, value, std::min(width, 300), format & 0xFFF));
  const int fits = std::min(written, ctx->pageColumns - ctx->column);
  std::memcpy(ctx->valuePage + static_cast<size_t>(ctx->row) * ctx->pageColumns + ctx->column, buffer,
              static_cast<size_t>(fits));
  ctx->column += written;
  return written;
}

bool DrawingMode() { return !IsPrinterLanguageMode() && PrintJobState.deviceContext; }

void FreeLayers(PrintLayoutCtx* ctx) {
  free_mem(&ctx->valuePage);
  free_mem(&ctx->formPage);
  free_mem(&ctx->slotTable);
}

char* BlankLayer(int size) {
  char* layer = static_cast<char*>(take_mem(static_cast<size_t>(size)));
  if (layer) std::memset(layer, ' ', static_cast<size_t>(size));
  return layer;
}

}  // namespace

void InitPrint(PrintLayoutCtx* ctx, int columns, int rows, int fixedGrid, int publish, PrintZone* zones,
               int zoneBytes, const char* title) {
  *ctx = PrintLayoutCtx{};
  std::snprintf(ctx->header.title, sizeof ctx->header.title, "%s", title ? title : "");
  SetPageHeaderDate(&ctx->header);
  ctx->defaultColumns = fixedGrid ? kFixedColumns : columns;
  ctx->defaultRows = fixedGrid ? kFixedRows : rows;
  ctx->header.width = static_cast<int16_t>(ctx->defaultColumns);
  ctx->header.height = static_cast<int16_t>(ctx->defaultRows);
  ctx->header.fixedGrid = fixedGrid ? 1 : 0;
  ctx->pageCounter = ctx->pagesBegun = -1;
  ctx->zones = zones;
  // Zones are counted at their own size.
  ctx->zoneCapacity = zones && zoneBytes > 0 ? zoneBytes / static_cast<int>(sizeof(PrintZone)) : 0;
  if (ctx->zoneCapacity > 0) zones[0] = PrintZone{};
  ctx->publish = publish;
  if (DrawingMode()) SetUpDrawing(title);
}

void PrintDefinePage(PrintLayoutCtx* ctx, ResIdRoutine formRoutine, int columns, int rows, int leftMargin,
                     int lineFeeds, ResIdRoutine slotRoutine, ResIdRoutine fixedGridSlotRoutine, int slotSize) {
  if (ctx->zoneCount >= ctx->zoneCapacity) return;
  PrintZone& z = ctx->zones[ctx->zoneCount++];
  const bool fixed = ctx->header.fixedGrid != 0;
  z.columns = columns == 0 ? ctx->defaultColumns : fixed ? kFixedColumns : columns;
  z.rows = rows == 0 ? ctx->defaultRows : fixed ? kFixedRows : rows;
  z.leftMargin = fixed ? leftMargin : -1;
  z.lineFeeds = fixed ? lineFeeds : 0;
  z.formRoutine = fixed ? nullptr : formRoutine;
  z.slotRoutine = fixed ? fixedGridSlotRoutine : slotRoutine;
  z.slotSize = slotSize;
  ctx->header.width = static_cast<int16_t>(std::max<int>(ctx->header.width, z.columns));
  ctx->header.height = static_cast<int16_t>(std::max<int>(ctx->header.height, z.rows));
}

void PrintSetTab(PrintLayoutCtx* ctx, ResIdRoutine slotRoutine, ResIdRoutine fixedGridSlotRoutine, int slotSize) {
  ctx->defaultSlotRoutine = ctx->header.fixedGrid ? fixedGridSlotRoutine : slotRoutine;
  ctx->defaultSlotSize = slotSize;
}

int PrintBeginPage(PrintLayoutCtx* ctx) {
  if (ctx->failed) return 0;
  ctx->pageCounter++;
  PrintZone* zone = ctx->zoneCount > 0 ? &ctx->zones[std::min(ctx->pageCounter, ctx->zoneCount - 1)] : nullptr;
  ctx->currentZone = zone;
  ctx->pageColumns = zone ? zone->columns : ctx->defaultColumns;
  ctx->pageRows = zone ? zone->rows : ctx->defaultRows;
  ResIdRoutine slotRoutine = zone && zone->slotRoutine ? zone->slotRoutine : ctx->defaultSlotRoutine;
  const int slotSize = zone && zone->slotRoutine ? zone->slotSize : ctx->defaultSlotSize;
  if (DrawingMode()) {
    if (BeginDrawingPage() != 0) {
      ctx->failed = 1;
      return 0;
    }
  } else {
    if (slotRoutine && slotSize > 0) {
      ctx->slotTable = static_cast<unsigned char*>(take_mem(static_cast<size_t>(slotSize)));
      if (!ctx->slotTable) return 0;
      EnvLoadBinResource(ctx->slotTable, static_cast<unsigned>(slotSize), slotRoutine);
    }
    const int size = ctx->pageColumns * ctx->pageRows;
    ctx->valuePage = size > 0 ? BlankLayer(size) : nullptr;
    ctx->formPage = size > 0 ? BlankLayer(size) : nullptr;
    if (!ctx->valuePage || !ctx->formPage) {
      ctx->failed = 1;
      FreeLayers(ctx);
      return 0;
    }
    if (zone && zone->formRoutine) EnvLoadBinResource(ctx->formPage, static_cast<unsigned>(size), zone->formRoutine);
    if (ctx->publish) DeklCtx = {ctx->valuePage, ctx->slotTable, ctx->pageColumns, ctx->pageRows, 1};
  }
  ctx->pagesBegun++;
  return 1;
}

void PrintEndPage(PrintLayoutCtx* ctx) {
  if (DrawingMode()) {
    if (EndDrawingPage() != 0) ctx->failed = 1;
  } else if (ctx->valuePage && ctx->formPage) {
    const PrintZone* zone = ctx->currentZone;
    PageEditPage page{&ctx->header,
                      ctx->pagesBegun + 1,
                      ctx->formPage,
                      ctx->valuePage,
                      static_cast<int16_t>(ctx->pageColumns),
                      static_cast<int16_t>(ctx->pageRows),
                      static_cast<int16_t>(zone ? zone->lineFeeds : 0),
                      static_cast<int16_t>(zone ? zone->leftMargin : -1)};
    if (open_tmp_edit_file(&ctx->header) != 0 || write_page_edit_file(page) != 0) ctx->failed = 1;
  }
  if (ctx->publish && DeklCtx.page == ctx->valuePage) DeklCtx.page = nullptr;
  FreeLayers(ctx);
}

int EnoughPrintSpace(PrintLayoutCtx* ctx, int n) { return ctx->baseRow + n <= ctx->pageRows ? 1 : 0; }

int PrintString(PrintLayoutCtx* ctx, ...) {
  Operations ops;
  va_list args;
  va_start(args, ctx);
  const bool ok = Parse("String", kText, args, &ops);
  va_end(args);
  if (!ok || !ops.hasValue) return 0;
  Apply(ctx, ops);
  std::string text = ops.text ? ops.text : "";
  if (DrawingMode()) {
    if (ops.flags & PT_COLON) text = text.substr(0, kColonTextMax) + ":";
    DrawText(ctx, text.c_str(), ops.flags);
    return 0;
  }
  return PutText(ctx, ops, text, ops.flags);
}

int PrintDouble(PrintLayoutCtx* ctx, ...) {
  Operations ops;
  va_list args;
  va_start(args, ctx);
  const bool ok = Parse("Double", kNumber, args, &ops);
  va_end(args);
  if (!ok || !ops.hasValue) return 0;
  Apply(ctx, ops);
  if (DrawingMode()) return 0;
  return PutNumber(ctx, ops, ops.number, ops.flags);
}

int PrintField(PrintLayoutCtx* ctx, ...) {
  Operations ops;
  va_list args;
  va_start(args, ctx);
  const bool ok = Parse("Field", kField, args, &ops);
  va_end(args);
  if (!ok || !ops.hasValue || !ops.field) return 0;
  Apply(ctx, ops);
  if (DrawingMode()) return 0;
  switch (f4type(ops.field)) {
    case 'D': return PutText(ctx, ops, FldFullDateQStr(ops.field), 0);
    case 'N':
    case 'F': {
      int format = ops.flags;
      if ((format >> 12) == 0)
        format = static_cast<int>(f4len(ops.field)) << 12 | (format & 0xFF0) | (f4decimals(ops.field) & 0xF);
      return PutNumber(ctx, ops, f4double(ops.field), format);
    }
    default: return PutText(ctx, ops, std::string(f4ptr(ops.field), f4len(ops.field)), 0);
  }
}
