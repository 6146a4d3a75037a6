#include "print/layout_drawing.h"

#include <cmath>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "platform/printers.h"
#include "platform/screen_hook.h"
#include "print/layout_print.h"
#include "print/output_failure.h"
#include "print/printer.h"

LayoutDrawing Drawing;

namespace {

constexpr int kMsgInsertSheet = 50020;
constexpr int kLogDocumentStart = 90;
constexpr int kLogPageEnd = 91;
constexpr int kLogColour = 92;

bool PageByPage() { return Printer.printMethod == 1 && Printer.output == 0; }

}  // namespace

void ColourOfLetter(char letter, uint8_t* red, uint8_t* green, uint8_t* blue) {
  struct Colour {
    char letter;
    uint8_t r, g, b;
  } static const kColours[] = {
      {'B', 168, 211, 255}, {'D', 255, 255, 255},   // 'D': the system's window colour
      {'G', 0, 128, 0},     {'K', 0, 0, 0},       {'P', 255, 0, 255}, {'R', 255, 0, 0},
      {'S', 192, 192, 192}, {'V', 0, 0, 128},     {'Y', 255, 255, 0},
  };
  for (const Colour& c : kColours)
    if (c.letter == letter) {
      *red = c.r;
      *green = c.g;
      *blue = c.b;
      return;
    }
  ErrLogMessage(0x0010, kLogColour, "");
  *red = *green = *blue = 0;
}

void SetUpDrawing(const char* title) {
  LayoutDrawing& d = Drawing;
  d = LayoutDrawing{};
  d.title = title ? title : "";
  d.cellWidth = 17.5 * Printer.logPixelsX / 300;
  d.cellHeight = 50.0 * Printer.logPixelsY / 300;
  d.unitsPerMmX = Printer.logPixelsX / 25.4;
  d.unitsPerMmY = Printer.logPixelsY / 25.4;
  d.unitsPerPoint = Printer.logPixelsY / 72.0;
  d.penUnit = d.unitsPerMmX / 10;
  d.defaults = {true, 9, '-', '-', "Times New Roman", 'G'};
  d.current = d.defaults;
  d.originX = std::round(Printer.logPixelsX * Printer.leftMarginMm / 254.0) - Printer.physOffsetX;
  d.originY = std::round(Printer.logPixelsY * Printer.topMarginMm / 254.0) - Printer.physOffsetY;
}

int BeginDrawingPage() {
  if (PageByPage()) ScreenMessageBox(SCREEN_BOX_INFO, nullptr, EnvFindString(kMsgInsertSheet));
  // The continuous document is opened with the first page and stays open.
  if (JobDocument(Drawing.title.c_str()) == nullptr) {
    if (!TellJobOutputFailure()) ErrLogMessage(0x0210, kLogDocumentStart, Drawing.title.c_str());
    return -1;
  }
  return 0;
}

int EndDrawingPage() {
  PrintJob& job = PrintJobState;
  int result = PlatPageDocEndPage(job.document);
  if (result == 0 && PageByPage()) {
    result = PlatPageDocClose(job.document, false);
    job.document = nullptr;
  }
  if (result != 0 && !TellJobOutputFailure()) ErrLogMessage(0x0210, kLogPageEnd, Drawing.title.c_str());
  return result;
}

void DrawText(PrintLayoutCtx* ctx, const char* text, int flags) {
  LayoutDrawing& d = Drawing;
  d.current = d.defaults;
  const LayoutTextAttributes& a = d.current;
  PlatTextStyle style{};
  style.face = a.face.c_str();
  style.height = std::trunc(a.sizeInPoints ? a.size * d.unitsPerPoint : a.size * d.penUnit);
  style.bold = a.bold == '+';
  style.italic = a.italic == '+';
  ColourOfLetter(a.colour, &style.red, &style.green, &style.blue);
  style.align = (flags & PT_RIGHT) ? 1 : (flags & PT_CENTRE) ? 2 : 0;
  style.wrapWidth = (flags & PT_WRAP) && ctx->boxWidthUnits > 0 ? ctx->boxWidthUnits : 0;
  const double x = ctx->positionKind == 1 ? ctx->column * d.cellWidth : ctx->x;
  const double y = ctx->positionKind == 1 ? ctx->row * d.cellHeight : ctx->y;
  PlatPageDocText(PrintJobState.document, MazToUtf8Text(text).c_str(), x + d.originX, y + d.originY, &style);
}
