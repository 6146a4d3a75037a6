#include "print/pcl_replay.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "env/error_log.h"
#include "env/messages.h"
#include "print/graphic_render.h"
#include "print/output_failure.h"
#include "print/pcl_params.h"
#include "print/printer.h"
#include "platform/screen_hook.h"

namespace {

constexpr int kLogPages = 44;
constexpr int kLogFailure = 0x610;
constexpr int kInsertSheet = 50020;
constexpr int kMaxGlyphs = 256;

struct Glyph {
  int code;
  int left, top, width, height;
  size_t data;     // offset of the raster data
};

struct Replay {
  std::vector<unsigned char> file;
  std::vector<Glyph> glyphs;
  int code = 0;
  int baseline = 0, cellWidth = 0, cellHeight = 0;
  double x = 0, y = 0;
  double hmi = 0, vmi = 0;
  int copies = 1;
  int rasterResolution = 300;
  int compression = 0;
  int rowsReceived = 0;
  bool rasterMode = false;
  // The page bitmap: a set bit is white, the leftmost dot the top bit.
  std::vector<unsigned char> bits;
  int width = 0, height = 0, stride = 0;
  int pagesPrinted = 0;
  bool oneDocument = false;
  bool failed = false;
};

void CreateBitmap(Replay& r, int width, int height) {
  r.width = std::max(width, 0);
  r.height = std::max(height, 0);
  r.stride = (r.width + 31) / 32 * 4;
  r.bits.assign(static_cast<size_t>(r.stride) * r.height, 0xFF);
}

bool HasBitmap(const Replay& r) { return !r.bits.empty(); }

void ClearBitmap(Replay& r) { std::fill(r.bits.begin(), r.bits.end(), 0xFF); }

void Ink(Replay& r, long px, long py) {
  if (px < 0 || py < 0 || px >= r.width || py >= r.height) return;
  r.bits[static_cast<size_t>(py) * r.stride + px / 8] &= static_cast<unsigned char>(~(0x80 >> (px % 8)));
}

void DrawGlyph(Replay& r, const Glyph& g) {
  const int bytes = (g.width + 7) / 8;
  const long x0 = static_cast<long>(r.x) + g.left, y0 = static_cast<long>(r.y) + r.baseline - g.top;
  for (int v = 0; v < g.height; v++)
    for (int u = 0; u < g.width; u++)
      if (r.file[g.data + static_cast<size_t>(v) * bytes + u / 8] & (0x80 >> (u % 8))) Ink(r, x0 + u, y0 + v);
}

void RasterRow(Replay& r, size_t pos, size_t n) {
  if (!HasBitmap(r) || !r.rasterMode || pos + n > r.file.size() || r.rowsReceived >= r.height) return;
  unsigned char* row = r.bits.data() + static_cast<size_t>(r.rowsReceived) * r.stride;
  const size_t rowBytes = static_cast<size_t>(r.stride);
  if (r.compression == 1) {
    size_t at = 0;
    for (size_t i = 0; i + 1 < n && at < rowBytes; i += 2) {
      const int count = r.file[pos + i] + 1;
      const unsigned char value = static_cast<unsigned char>(~r.file[pos + i + 1]);
      for (int k = 0; k < count && at < rowBytes; k++) row[at++] = value;
    }
  } else {
    const size_t take = std::min(n, rowBytes);
    for (size_t i = 0; i < take; i++) row[i] = static_cast<unsigned char>(~r.file[pos + i]);
  }
  r.rowsReceived++;
}

void Fail(Replay& r, int code, int copy) {
  if (!TellJobOutputFailure()) ErrLogMessage(kLogFailure, code, "%i", copy);
  r.failed = true;
}

// One page, as many times as there are copies.
void OutputPage(Replay& r) {
  if (!HasBitmap(r)) return;
  PrintJob& job = PrintJobState;
  const bool perCopy = Printer.printMethod == 1 && Printer.output == 0;
  const double c = r.rasterMode ? r.rasterResolution : 300;
  const int ppiX = Printer.logPixelsX > 0 ? Printer.logPixelsX : 300;
  const int ppiY = Printer.logPixelsY > 0 ? Printer.logPixelsY : 300;
  const int width = static_cast<int>(ppiX * r.width / c), height = static_cast<int>(ppiY * r.height / c);
  const int orientation = Printer.orientCycleOn && Printer.orientCycleLen
                              ? Printer.orientCycle[r.pagesPrinted % Printer.orientCycleLen]
                              : Printer.orientation;
  double cw, ch;
  if (!r.rasterMode) {
    cw = r.hmi, ch = r.vmi;
  } else if (IsSoftFontNo(Printer.fontNo)) {
    const bool landscape = orientation == 2;
    cw = Printer.hmi / 120 * (landscape ? Printer.dpiY : Printer.dpiX);
    ch = Printer.vmi / 48 * (landscape ? Printer.dpiX : Printer.dpiY);
  } else {
    cw = Printer.cellWidth, ch = Printer.cellHeight;
  }
  const double t = cw * 254 * Printer.leftMargin / c, rr = ch * 254 * Printer.topMargin / c;
  int x, y;
  if (orientation == 2) {
    x = Printer.physWidth - width - Printer.physOffsetX -
        static_cast<int>(ppiX * (Printer.topMarginMm - static_cast<int>(rr)) / 254.0);
    y = static_cast<int>(ppiY * (Printer.leftMarginMm - static_cast<int>(t)) / 254.0) - Printer.physOffsetY;
  } else {
    x = static_cast<int>(ppiX * (Printer.leftMarginMm - static_cast<int>(t)) / 254.0) - Printer.physOffsetX;
    y = static_cast<int>(ppiY * (Printer.topMarginMm - static_cast<int>(rr)) / 254.0) - Printer.physOffsetY;
  }
  for (int copy = 0; copy < r.copies && !r.failed; copy++) {
    if (perCopy) {
      ScreenMessageBox(SCREEN_BOX_INFO, nullptr, EnvFindString(kInsertSheet));
      PlatPageDocClose(job.document, false);
      job.document = nullptr;
    }
    PlatPageDoc* doc = JobDocument("PCL");
    if (doc == nullptr) {
      Fail(r, perCopy ? 128 : 129, copy);
      break;
    }
    if (PlatPageDocBitmap(doc, r.bits.data(), r.width, r.height, r.stride, x, y, width, height) != 0) {
      Fail(r, 131, copy);
      break;
    }
    if (PlatPageDocEndPage(doc) != 0) {
      Fail(r, 133, copy);
      break;
    }
    if (perCopy && PlatPageDocClose(doc, false) != 0) Fail(r, 134, copy);
    if (perCopy) job.document = nullptr;
    r.pagesPrinted++;
  }
  ClearBitmap(r);
}

void FormFeed(Replay& r) {
  OutputPage(r);
  r.rowsReceived = 0;
  r.x = r.y = 0;
}

// One command at `pos` (just after ESC); returns the position after it.
size_t Command(Replay& r, size_t pos) {
  const size_t end = r.file.size();
  const unsigned char a = r.file[pos], b = r.file[pos + 1];
  if (b == 0x1B) return pos + 1;
  pos += 2;
  PclParam p{};
  do {
    pos = ReadPclParam(r.file.data(), end, pos, &p);
    if (p.letter == 0) break;
    const size_t n = static_cast<size_t>(p.value > 0 ? p.value : 0);
    if (a == '*' && b == 'b') {
      if (p.letter == 'M') r.compression = static_cast<int>(p.value);
      if (p.letter == 'W') {
        RasterRow(r, pos, n);
        pos = std::min(end, pos + n);
      }
    } else if (a == '*' && b == 'c' && p.letter == 'E') {
      r.code = static_cast<int>(p.value) & 0xFF;
    } else if (a == '&' && b == 'k' && p.letter == 'H') {
      r.hmi = p.value / 120 * 300;
    } else if (a == '&' && b == 'l') {
      if (p.letter == 'C') r.vmi = p.value / 48 * 300;
      if (p.letter == 'X') r.copies = std::max(1, static_cast<int>(p.value));
    } else if (a == '*' && b == 'p') {
      if (p.letter == 'X') r.x = p.value;
      if (p.letter == 'Y') r.y = p.value;
    } else if (a == '(' && b == 's' && p.letter == 'W') {
      // Glyphs whose descriptor or raster runs past the file are skipped.
      if (n >= 16 && pos + n <= end && static_cast<int>(r.glyphs.size()) < kMaxGlyphs) {
        const unsigned char* d = r.file.data() + pos;
        Glyph g{r.code, static_cast<int16_t>(PclWord(d + 6)), static_cast<int16_t>(PclWord(d + 8)),
                static_cast<int>(PclWord(d + 10)), static_cast<int>(PclWord(d + 12)), pos + 16};
        if (16 + static_cast<size_t>(g.height) * ((g.width + 7) / 8) <= n) r.glyphs.push_back(g);
      }
      pos = std::min(end, pos + n);
    } else if (a == ')' && b == 's' && p.letter == 'W') {
      if (n >= 16 && pos + n <= end) {
        const unsigned char* d = r.file.data() + pos;
        r.rasterMode = false;
        r.baseline = static_cast<int>(PclWord(d + 6));
        r.cellWidth = static_cast<int>(PclWord(d + 8));
        r.cellHeight = static_cast<int>(PclWord(d + 10));
        if (!HasBitmap(r)) {
          const int ppiX = Printer.logPixelsX > 0 ? Printer.logPixelsX : 300;
          const int ppiY = Printer.logPixelsY > 0 ? Printer.logPixelsY : 300;
          CreateBitmap(r, static_cast<int>(300.0 / ppiX * Printer.horzRes), static_cast<int>(300.0 / ppiY * Printer.vertRes));
          r.hmi = r.cellWidth;
          r.vmi = 50;
        }
      }
      pos = std::min(end, pos + n);
    } else if (a == '*' && b == 't' && p.letter == 'R') {
      r.rasterResolution = std::max(1, static_cast<int>(p.value));
      r.rasterMode = true;
      if (!HasBitmap(r)) CreateBitmap(r, 8 * LastRenderStats.longestRowBytes, LastRenderStats.mostRowsOnPage);
    }
  } while (!p.last);
  return pos;
}

const Glyph* FindGlyph(const Replay& r, int code) {
  for (const Glyph& g : r.glyphs)
    if (g.code == code) return &g;
  return nullptr;
}

void Interpret(Replay& r) {
  const size_t end = r.file.size();
  size_t pos = 0;
  while (pos < end && !r.failed) {
    const unsigned char c = r.file[pos++];
    if (c == 0x1B) {
      if (pos + 2 > end) break;
      pos = Command(r, pos);
    } else if (c >= 32) {
      if (c > 32 && HasBitmap(r) && !r.rasterMode)
        if (const Glyph* g = FindGlyph(r, c)) DrawGlyph(r, *g);
      r.x += r.hmi;
    } else if (c == '\n') {
      r.y += r.vmi;
      if (!r.rasterMode && r.y + r.vmi > r.height) FormFeed(r);
    } else if (c == '\r') {
      r.x = 0;
    } else if (c == '\f') {
      FormFeed(r);
    }
  }
}

}  // namespace

void ReplayPclFile(FILE* file) {
  PrintJob& job = PrintJobState;
  if (!job.deviceContext || file == nullptr) return;
  std::fflush(file);
  if (std::fseek(file, 0, SEEK_END) != 0) return;
  const long length = std::ftell(file);
  if (length <= 0) return;
  Replay r;
  r.file.resize(static_cast<size_t>(length));
  std::rewind(file);
  if (std::fread(r.file.data(), r.file.size(), 1, file) != 1) return;
  Interpret(r);
  ErrLogMessage(0x182, kLogPages, "Pg:%i", r.pagesPrinted);
}
