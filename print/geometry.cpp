// The mode list, the paper and font tables, the mode presets and the page
// geometry of the print settings.
#include "print/printer.h"

PrinterSettings PrinterDefaults() {
  PrinterSettings p{};
  p.resolution = 1;
  p.family = PRN_HP_LASER;
  p.orientation = 1;
  p.fontNo = 9;
  p.columns = 132;
  p.lines = 62;
  p.openOutput = 1;
  p.fromPage = 1;
  p.pageNo = 1;
  p.amounts = 'P';
  p.pclTypeface = 1;
  p.underlineStep = 1;
  p.progressPageDivisor = 1;
  return p;
}

PrinterSettings Printer = PrinterDefaults();

PrintMode PrintModes[5];

namespace {

struct FontEntry {
  int number;
  const char* file;
  int cellWidth, cellHeight;
  double hmi, vmi;
};

const FontEntry kFonts[] = {
    {0, "he8x18.fnt", 6, 16, 0, 0},    {2, "le24x52.fnt", 18, 52, 0, 0},  {3, "he8x20.fnt", 7, 20, 0, 0},
    {4, "le24x61.fnt", 21, 61, 0, 0},  {5, "he11x20.fnt", 11, 20, 0, 0},  {6, "he22x40.fnt", 22, 40, 0, 0},
    {7, "he14x25.fnt", 14, 25, 0, 0},  {8, "he28x50.fnt", 28, 50, 0, 0},  {9, "he12x32.fnt", 12, 32, 0, 0},
    {10, "he14x40.fnt", 14, 40, 0, 0}, {11, "co24x46.fnt", 24, 46, 0, 0}, {21, "lport.fnt", 24, 58, 7.0, 8.0},
    {22, "courn.fnt", 40, 58, 11.9, 8.0}, {24, "he8x21.fnt", 8, 21, 0, 0}, {32, "ob15x25.fnt", 15, 25, 0, 0},
    {33, "ob18x30.fnt", 18, 30, 0, 0}, {34, "ob30x50.fnt", 30, 50, 0, 0}, {35, "ob36x60.fnt", 36, 60, 0, 0},
    {36, "ob12x24.fnt", 12, 24, 0, 0}, {37, "ob15x20.fnt", 15, 20, 0, 0}, {38, "ob24x24.fnt", 24, 24, 0, 0},
    {39, "cr18x40.fnt", 18, 40, 0, 0}, {40, "cr21x48.fnt", 21, 48, 0, 0}, {41, "he8x18.fnt", 8, 16, 0, 0},
};

const FontEntry kFallbackFont = {-1, "co16x23.fnt", 12, 23, 0, 0};

bool IsLandscape() { return Printer.orientation == 2; }

}  // namespace

bool IsSoftFontNo(int fontNo) { return fontNo == 21 || fontNo == 22; }

PrinterFont PrinterFontOf(int fontNo, int bold) {
  const FontEntry* found = &kFallbackFont;
  for (const FontEntry& f : kFonts)
    if (f.number == fontNo) found = &f;
  PrinterFont font{found->file, found->cellWidth, found->cellHeight, found->hmi, found->vmi};
  if (fontNo == 22 && bold == 1) font.file = "courb.fnt";
  return font;
}

void PaperSize(int paper, int* widthCm, int* heightCm, int* wide) {
  switch (paper) {
    case 2: *widthCm = 29, *heightCm = 40, *wide = 1; break;
    case 1: *widthCm = 34, *heightCm = 30, *wide = 1; break;
    default: *widthCm = 20, *heightCm = 29, *wide = 0; break;
  }
}

void BuildModeList(int flags) {
  int n = 0;
  if ((flags & PRN_RESTRICT_MASK) == 1) {
    PrintModes[n++] = {"- Graficzny 1 str.", PRINT_MODE_RAW};
    PrintModes[n++] = {"- Graficzny 2 str.", PRINT_MODE_RAW};
    PrintModes[n++] = {"- Znakowy         ", PRINT_MODE_RAW | PRINT_MODE_CHARACTER};
  } else {
    PrintModes[n++] = {"- Graficzny", PRINT_MODE_RAW};
    PrintModes[n++] = {"- Znakowy  ", PRINT_MODE_RAW | PRINT_MODE_CHARACTER};
  }
  while (n < 5) PrintModes[n++] = {"", 0};
}

int CountPrintModes() {
  int n = 0;
  while (n < 4 && PrintModes[n].flags != 0) n++;
  return n;
}

namespace {
int ModeFlags() {
  if (Printer.mode < 0 || Printer.mode >= CountPrintModes()) return 0;
  return PrintModes[Printer.mode].flags;
}
}  // namespace

int IsCharacterMode() { return (ModeFlags() & PRINT_MODE_CHARACTER) != 0; }
int IsPrinterLanguageMode() { return (ModeFlags() & PRINT_MODE_RAW) != 0; }

int UsesGraphicSpool(int flags) {
  if ((flags & PRN_RESTRICT_MASK) == 1 && (Printer.family == PRN_EPSON9 || Printer.family == PRN_IBM9))
    return Printer.mode == 0;
  return !IsCharacterMode() && !(flags & PRN_SOFT_FONTS);
}

int test_ibm_printer() {
  return Printer.family == PRN_IBM9 || Printer.family == PRN_IBM24 || Printer.family == PRN_PROPRINTER;
}

void ApplyModePresets(int flags) {
  if (flags & PRN_FONT_LEGAL) Printer.fontNo = 2;
  if (flags & PRN_FONT_COURIER) Printer.fontNo = 22;
  if (flags & PRN_FONT_LPORT) Printer.fontNo = 21;
  const int restricted = flags & PRN_RESTRICT_MASK;
  const int family = Printer.family;
  if (restricted == 1) {
    Printer.orientation = 2;
    if (family == PRN_EPSON9 || family == PRN_IBM9) {
      Printer.resolution = 1, Printer.fontNo = 0;
    } else if (family == PRN_HP_LASER || family == PRN_HP_DESKJET) {
      if (Printer.mode == 1)
        Printer.resolution = 1, Printer.fontNo = 6;
      else
        Printer.resolution = 0, Printer.fontNo = Printer.paper == 2 ? 24 : 0;
    } else {
      Printer.resolution = 0, Printer.fontNo = Printer.mode == 1 ? 7 : 3;
    }
  } else if (restricted == 2) {
    Printer.orientation = 2;
    if (family == PRN_EPSON9 || family == PRN_IBM9) {
      Printer.resolution = 1, Printer.fontNo = 41;
    } else if (Printer.mode == 0) {
      if (family == PRN_HP_LASER || family == PRN_HP_DESKJET)
        Printer.resolution = 1, Printer.fontNo = 39;
      else if (family == PRN_CANON)
        Printer.resolution = 1, Printer.fontNo = 40;
      else
        Printer.resolution = 3, Printer.fontNo = 40;
    }
  }
}

void ComputePageGeometry(int final) {
  const int flags = PrintJobState.flags;
  int widthCm, heightCm, wide;
  PaperSize(Printer.paper, &widthCm, &heightCm, &wide);
  Printer.widePaper = wide;
  const bool character = IsCharacterMode();
  if (character || (flags & PRN_SOFT_FONTS)) {
    if (final) {
      Printer.orientation = 0;
      if (!character) {
        Printer.family = PRN_HP_LASER;
        Printer.dpiX = Printer.dpiY = 300;
      }
    }
    Printer.columns = wide ? (character ? 228 : 186) : 132;
    Printer.lines = 62;
    return;
  }
  Printer.family = PRN_HP_LASER;
  PrinterFont font = PrinterFontOf(Printer.fontNo, Printer.bold);
  Printer.cellWidth = font.cellWidth;
  Printer.cellHeight = font.cellHeight;
  Printer.fontFile = font.file;
  if (IsSoftFontNo(Printer.fontNo)) {
    Printer.hmi = font.hmi;
    Printer.vmi = font.vmi;
  }
  const int dpi = Printer.resolution == 0 ? 150 : 300;
  Printer.dpiX = Printer.dpiY = Printer.rasterDpiX = Printer.rasterDpiY = dpi;
  const bool landscape = IsLandscape();
  // Across and down: the dots per inch and the paper side each way.
  const double dpiAcross = landscape ? Printer.dpiY : Printer.dpiX;
  const double dpiDown = landscape ? Printer.dpiX : Printer.dpiY;
  double cellW = Printer.cellWidth, cellH = Printer.cellHeight;
  if (IsSoftFontNo(Printer.fontNo)) {
    cellW = Printer.hmi / 120 * dpiAcross;
    cellH = Printer.vmi / 48 * dpiDown;
  }
  const double across = (landscape ? heightCm : widthCm) / 2.54 * dpiAcross;
  const double down = (landscape ? widthCm : heightCm) / 2.54 * dpiDown;
  Printer.pageWidthDots = static_cast<int32_t>(across);
  Printer.columns = static_cast<int32_t>(across / cellW);
  Printer.pageHeightDots = static_cast<int32_t>(down);
  Printer.lines = static_cast<int32_t>(down / cellH);
  if (final) {
    Printer.leftMargin = static_cast<int32_t>(Printer.leftMarginMm / 254.0 * dpiAcross / cellW);
    Printer.topMargin = static_cast<int32_t>(Printer.topMarginMm / 254.0 * dpiDown / cellH);
  }
}
