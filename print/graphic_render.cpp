#include "print/graphic_render.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "platform/program_dir.h"
#include "platform/screen_hook.h"
#include "print/char_output.h"
#include "print/pcl_params.h"
#include "print/printer.h"
#include "env/paths.h"

GraphicRenderStats LastRenderStats;

namespace {

constexpr int kMsgNoFontFile = 50059;
constexpr int kMsgFontReadError = 50060;
constexpr int kMsgCannotOpen = 50055;
constexpr int kMsgContinue = 50006;
constexpr int kMsgReadError = 50084;
constexpr int kLogFontOpen = 111;
constexpr int kLogRender = 43;
constexpr int kLogOverflow = 112;
constexpr int kMsgOverflow = 50141;
constexpr int kGlyphCount = 224;     // characters 32 to 255

std::string Format(int number, const char* value) {
  char text[300];
  std::snprintf(text, sizeof text, EnvFindString(number), value);
  return text;
}

// The font of the job, bitmap or soft.
struct RenderFont {
  unsigned char* data = nullptr;
  long size = 0;
  bool soft = false;
  SoftFont* parsed = nullptr;
  int bytesPerRow = 0;                              // bitmap fonts
  std::vector<std::vector<unsigned char>> turned;  // landscape soft glyphs, by code
  ~RenderFont() {
    if (data) free_mem(&data);
    delete parsed;
  }
};

struct Renderer {
  FILE* output;
  RenderFont font;
  std::string page;          // lines x columns, blank-filled
  int lineCount = 0;         // text lines of the page
  int longest = 0;
  int pages = 0;
  int rowsWritten = 0;
  int offsetX = 0, offsetY = 0;
  bool spoolEnded = false;
  bool overflowLogged = false;
  bool cancelled = false;
};

int Out(Renderer& r, const void* data, int count) {
  if (count <= 0) return 0;
  return WriteJobBytes(data, count, r.output);
}
int Out(Renderer& r, const std::string& text) { return Out(r, text.data(), static_cast<int>(text.size())); }

// Esc and Esc again stops the rendering.
bool Cancelled(Renderer& r) {
  if (r.cancelled) return true;
  if (ScreenReadKey() == SCREEN_KEY_ESC && ScreenQuestion(nullptr, EnvFindString(kMsgContinue)) == SCREEN_KEY_ESC)
    r.cancelled = true;
  return r.cancelled;
}

int Command(Renderer& r, const std::string& text) {
  if (Cancelled(r)) return -1;
  return Out(r, text);
}

void ShowProgress(Renderer& r) {
  const int cell = Printer.orientation == 2 ? Printer.cellWidth : Printer.cellHeight;
  if (cell <= 0 || r.rowsWritten % cell != 0) return;
  char text[64];
  const int divisor = Printer.progressPageDivisor > 0 ? Printer.progressPageDivisor : 1;
  std::snprintf(text, sizeof text, "Strona %3u - linia %3u", r.pages / divisor + Printer.fromPage - 1,
                r.rowsWritten / cell);
  PrintMessageRow(1, text);
}

int RasterRow(Renderer& r, const unsigned char* row, int count) {
  LastRenderStats.longestRowBytes = std::max(LastRenderStats.longestRowBytes, count);
  LastRenderStats.mostRowsOnPage = std::max(LastRenderStats.mostRowsOnPage, r.rowsWritten + 1);
  std::vector<unsigned char> packed;
  const unsigned char* bytes = row;
  if (Printer.rasterOption == 1) {
    packed.resize(static_cast<size_t>(count) * 2 + 2);
    count = CompressRowMethod1(row, count, packed.data());
    bytes = packed.data();
  }
  if (Out(r, "\x1B*b" + std::to_string(count) + "W") != 0 || Out(r, bytes, count) != 0) return -1;
  r.rowsWritten++;
  ShowProgress(r);
  return Cancelled(r) ? -1 : 0;
}

int RasterHeader(Renderer& r) {
  std::string h = PageLengthString();
  h += "\x1B&u" + std::to_string(Printer.dpiX) + "D";
  h += "\x1B&l0E";
  h += "\x1B*a0M";
  h += "\x1B*p" + std::to_string(r.offsetX ? r.offsetX : 1) + "x" + std::to_string(r.offsetY ? r.offsetY : 1) + "Y";
  h += "\x1B*t" + std::to_string(Printer.dpiX) + "R";
  h += "\x1B*r1A";
  h += Printer.rasterOption == 1 ? "\x1B*b1M" : "\x1B*b0M";
  return Command(r, h);
}

// ---- collecting a page

int CollectPage(Renderer& r, FILE* spool) {
  const int columns = std::max(Printer.columns, 1), lines = std::max(Printer.lines, 1);
  r.page.assign(static_cast<size_t>(columns) * lines, ' ');
  r.lineCount = 0;
  r.longest = 0;
  int length = 0;
  bool skipping = false;
  auto endLine = [&] {
    r.longest = std::max(r.longest, length);
    r.lineCount++;
    length = 0;
  };
  while (r.lineCount < lines) {
    int c = std::fgetc(spool);
    if (c == EOF) {
      if (std::ferror(spool)) {
        ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, EnvFindString(kMsgReadError));
        return -1;
      }
      r.spoolEnded = true;
      if (length > 0) endLine();
      break;
    }
    if (c == '\n') {
      if (!skipping || length > 0) endLine();
      skipping = false;
      continue;
    }
    if (c == '\f') {
      if (length > 0) endLine();
      skipping = false;
      break;
    }
    if (skipping || c < 32) continue;
    r.page[static_cast<size_t>(r.lineCount) * columns + length++] = static_cast<char>(c);
    if (length == columns) {
      // The rest of the input line up to its LF is dropped.
      endLine();
      skipping = true;
    }
  }
  return 0;
}

// ---- bitmap fonts

const unsigned char* GlyphRow(const RenderFont& f, int c, int glyphRow) {
  c = static_cast<unsigned char>(c);
  if (c < 32) c = 32;
  return f.data + (static_cast<long>(c - 32) * Printer.cellHeight + glyphRow) * f.bytesPerRow;
}

// The advance of one character position, with the gap of every gapEvery-th.
int Advance(int cell) {
  if (Printer.gapEvery == 0) return cell;
  int was = Printer.gapCounter--;
  if (was == 1) {
    Printer.gapCounter = Printer.gapEvery;
    return cell + Printer.gapDots;
  }
  return cell;
}

void Embolden(std::vector<unsigned char>& row, int count, int shift) {
  unsigned carry = 0;
  for (int i = 0; i < count; i++) {
    unsigned b = row[i];
    unsigned shifted = (b >> shift) | carry;
    carry = (b << (8 - shift)) & 0xFF;
    row[i] = static_cast<unsigned char>(b | shifted);
  }
}

int DrawPortraitBitmap(Renderer& r) {
  const int B = r.font.bytesPerRow, columns = Printer.columns;
  const size_t capacity = static_cast<size_t>(r.longest) * (Printer.cellWidth + std::abs(Printer.gapDots) + 8) / 8 + B + 4;
  std::vector<unsigned char> row(capacity);
  if (RasterHeader(r) != 0) return -1;
  for (int line = 0; line < r.lineCount; line++) {
    const char* text = r.page.data() + static_cast<size_t>(line) * columns;
    for (int g = 0; g < Printer.cellHeight; g++) {
      std::fill(row.begin(), row.end(), 0);
      long position = 0;
      for (int i = 0; i < r.longest; i++) {
        const unsigned char* glyph = GlyphRow(r.font, text[i], g);
        for (int k = 0; k < B; k++) {
          long p = position + 8L * k;
          if (p < 0) continue;
          size_t at = static_cast<size_t>(p / 8);
          if (at + 1 >= row.size()) row.resize(at + 2);
          int shift = static_cast<int>(p % 8);
          if (shift == 0) {
            row[at] = glyph[k];
          } else {
            row[at] |= static_cast<unsigned char>(glyph[k] >> shift);
            row[at + 1] = static_cast<unsigned char>(glyph[k] << (8 - shift));
          }
        }
        position += Advance(Printer.cellWidth);
      }
      int count = static_cast<int>(std::max(position, 0L) / 8 + 1);
      if (static_cast<size_t>(count) > row.size()) row.resize(count);
      if (Printer.bold == 1) Embolden(row, count, Printer.cellWidth <= 8 ? 1 : 2);
      if (RasterRow(r, row.data(), count) != 0) return -1;
    }
  }
  return Out(r, std::string("\x1B*rB"));
}

// Eight strip bytes give one output byte: each strip byte's top bit, the
// first strip byte's in the lowest bit; the strip bytes rotate left by one.
void ExtractBitPlane(unsigned char* strip, unsigned char* out, int n) {
  for (int j = 0; j < n; j++) {
    unsigned value = 0;
    for (int k = 0; k < 8; k++) {
      unsigned char& s = strip[j * 8 + k];
      unsigned top = s >> 7;
      s = static_cast<unsigned char>(s << 1 | top);
      value = value >> 1 | top << 7;
    }
    out[j] = static_cast<unsigned char>(value);
  }
}

int DrawLandscapeBitmap(Renderer& r) {
  const int B = r.font.bytesPerRow, columns = Printer.columns;
  const int dotRows = Printer.lines * Printer.cellHeight;
  const int n = (dotRows + 7) / 8;
  std::vector<unsigned char> strip(static_cast<size_t>(n) * 8), row(n), prev1(n), prev2(n), plain(n);
  if (RasterHeader(r) != 0) return -1;
  for (int i = 0; i < r.longest; i++) {
    const int advance = Advance(Printer.cellWidth);
    for (int b = 0; b < B; b++) {
      std::fill(strip.begin(), strip.end(), 0);
      for (int line = 0; line < r.lineCount; line++) {
        const char c = r.page[static_cast<size_t>(line) * columns + i];
        for (int g = 0; g < Printer.cellHeight; g++) strip[line * Printer.cellHeight + g] = GlyphRow(r.font, c, g)[b];
      }
      int rows = 8;
      if (b == B - 1) {
        rows = Printer.cellWidth % 8 ? Printer.cellWidth % 8 : 8;
        rows += advance - Printer.cellWidth;
      }
      for (int k = 0; k < rows; k++) {
        ExtractBitPlane(strip.data(), plain.data(), n);
        std::reverse(plain.begin(), plain.end());
        row = plain;
        if (Printer.bold == 1)
          for (int j = 0; j < n; j++) row[j] |= prev1[j] | prev2[j];
        prev2 = prev1;
        prev1 = plain;
        if (RasterRow(r, row.data(), n) != 0) return -1;
      }
    }
  }
  return Out(r, std::string("\x1B*rB"));
}

// ---- soft fonts

const unsigned char* SoftGlyph(const RenderFont& f, int code, const SoftFontChar** ch) {
  const SoftFontChar& c = f.parsed->chars[code];
  *ch = &c;
  return c.present ? f.data + c.dataOffset : nullptr;
}

void OrBits(std::vector<unsigned char>& row, long at, const unsigned char* bits, int bitCount) {
  for (int k = 0; k < bitCount; k++) {
    if (!(bits[k / 8] & (0x80 >> (k % 8)))) continue;
    long p = at + k;
    if (p < 0) continue;
    size_t byte = static_cast<size_t>(p / 8);
    if (byte >= row.size()) row.resize(byte + 1);
    row[byte] |= static_cast<unsigned char>(0x80 >> (p % 8));
  }
}

int DrawPortraitSoft(Renderer& r) {
  const double charPitch = Printer.hmi / 120 * Printer.dpiX, linePitch = Printer.vmi / 48 * Printer.dpiY;
  const int columns = Printer.columns;
  if (RasterHeader(r) != 0) return -1;
  const int lastRow = r.lineCount > 0 ? static_cast<int>((r.lineCount - 1) * linePitch) + Printer.cellHeight : 0;
  std::vector<unsigned char> row;
  for (int y = 0; y < lastRow; y++) {
    row.assign(1, 0);
    for (int j = 0; j < r.lineCount; j++) {
      const int start = static_cast<int>(j * linePitch);
      if (y < start || y >= start + Printer.cellHeight) continue;
      for (int i = 0; i < r.longest; i++) {
        const int code = static_cast<unsigned char>(r.page[static_cast<size_t>(j) * columns + i]);
        if (code <= 32) continue;
        const SoftFontChar* ch;
        const unsigned char* glyph = SoftGlyph(r.font, code, &ch);
        if (!glyph) continue;
        const int u = y - start + ch->topOffset - r.font.parsed->baseline;
        if (u < 0 || u >= ch->charHeight) continue;
        const int bytes = (ch->charWidth + 7) / 8;
        OrBits(row, static_cast<long>(i * charPitch) + ch->leftOffset, glyph + static_cast<long>(u) * bytes,
               ch->charWidth);
      }
    }
    if (RasterRow(r, row.data(), static_cast<int>(row.size())) != 0) return -1;
  }
  return Out(r, std::string("\x1B*rB"));
}

// The glyph a quarter turn: cellWidth rows of ceil(cellHeight / 8) bytes.
const std::vector<unsigned char>& TurnedGlyph(RenderFont& f, int code) {
  if (f.turned.empty()) f.turned.resize(256);
  std::vector<unsigned char>& turned = f.turned[code];
  if (!turned.empty()) return turned;
  const int rowBytes = (Printer.cellHeight + 7) / 8;
  turned.assign(static_cast<size_t>(Printer.cellWidth) * rowBytes + 1, 0);
  const SoftFontChar* ch;
  const unsigned char* glyph = SoftGlyph(f, code, &ch);
  if (!glyph) return turned;
  const int bytes = (ch->charWidth + 7) / 8;
  const int e = Printer.cellHeight + ch->topOffset - f.parsed->baseline - ch->charHeight;
  for (int i = 0; i < ch->charWidth && ch->leftOffset + i < Printer.cellWidth; i++) {
    const int target = ch->leftOffset + i;
    if (target < 0) continue;
    unsigned char* out = turned.data() + static_cast<size_t>(target) * rowBytes;
    int bit = std::max(e, 0);
    for (int v = ch->charHeight - 1 - std::max(-e, 0); v >= 0 && bit < Printer.cellHeight; v--, bit++)
      if (glyph[static_cast<long>(v) * bytes + i / 8] & (0x80 >> (i % 8))) out[bit / 8] |= static_cast<unsigned char>(0x80 >> (bit % 8));
  }
  return turned;
}

int DrawLandscapeSoft(Renderer& r) {
  const double charPitch = Printer.hmi / 120 * Printer.dpiY, linePitch = Printer.vmi / 48 * Printer.dpiX;
  const int columns = Printer.columns;
  if (RasterHeader(r) != 0) return -1;
  const int lastRow = r.longest > 0 ? static_cast<int>((r.longest - 1) * charPitch) + Printer.cellWidth : 0;
  std::vector<unsigned char> row;
  for (int y = 0; y < lastRow; y++) {
    row.assign(static_cast<size_t>(std::max(Printer.pageHeightDots, 0)) / 8 + 1, 0);
    for (int i = 0; i < r.longest; i++) {
      const int start = static_cast<int>(i * charPitch);
      if (y < start || y >= start + Printer.cellWidth) continue;
      for (int k = 0; k < r.lineCount; k++) {
        const int code = static_cast<unsigned char>(r.page[static_cast<size_t>(k) * columns + i]);
        if (code <= 32) continue;
        const long at = Printer.pageHeightDots - Printer.cellHeight - static_cast<long>(k * linePitch);
        if (at < 0 && !r.overflowLogged) {
          r.overflowLogged = true;
          ErrLogMessage(18, kLogOverflow, EnvFindString(kMsgOverflow), Printer.fontFile ? Printer.fontFile : "",
                        Printer.pageHeightDots, Printer.cellHeight, linePitch, k);
        }
        const std::vector<unsigned char>& turned = TurnedGlyph(r.font, code);
        const int rowBytes = (Printer.cellHeight + 7) / 8;
        OrBits(row, at, turned.data() + static_cast<size_t>(y - start) * rowBytes, Printer.cellHeight);
      }
    }
    if (RasterRow(r, row.data(), static_cast<int>(row.size())) != 0) return -1;
  }
  return Out(r, std::string("\x1B*rB"));
}

int LoadRenderFont(RenderFont& f) {
  f.data = LoadFontFile(Printer.fontFile, &f.size);
  if (f.data == nullptr) return -1;
  f.soft = IsSoftFontNo(Printer.fontNo);
  if (f.soft) {
    f.parsed = new SoftFont;
    ParseSoftFont(f.parsed, f.data, f.size);
    return 0;
  }
  f.bytesPerRow = (Printer.cellWidth + 7) / 8;
  if (f.size < static_cast<long>(kGlyphCount) * Printer.cellHeight * f.bytesPerRow) {
    ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, Format(kMsgFontReadError, Printer.fontFile).c_str());
    return -1;
  }
  return 0;
}

int DrawPage(Renderer& r) {
  const bool landscape = Printer.orientation == 2;
  if (r.font.soft) return landscape ? DrawLandscapeSoft(r) : DrawPortraitSoft(r);
  return landscape ? DrawLandscapeBitmap(r) : DrawPortraitBitmap(r);
}

int RenderPages(Renderer& r, FILE* spool) {
  bool fontLoaded = false;
  for (;;) {
    if (Printer.orientCycleOn && Printer.orientCycleLen > 0) {
      Printer.orientation = Printer.orientCycle[r.pages % Printer.orientCycleLen];
      ComputePageGeometry(0);
    }
    if (CollectPage(r, spool) != 0) return -1;
    if (r.spoolEnded && r.lineCount == 0) return 0;
    if (!fontLoaded) {
      if (LoadRenderFont(r.font) != 0) return -1;
      fontLoaded = true;
    }
    const std::string start = std::string(EconomodeString()) + "\x1B" "E";
    const bool started = Command(r, start) == 0;
    if (started) r.pages++;
    r.rowsWritten = 0;
    int drawn = started ? DrawPage(r) : -1;
    if (Out(r, std::string("\f")) != 0 || drawn != 0) return -1;
    if (r.spoolEnded) return 0;
  }
}

}  // namespace

int CompressRowMethod1(const unsigned char* row, int count, unsigned char* out) {
  int n = 0;
  for (int i = 0; i < count;) {
    int run = 1;
    while (i + run < count && run < 256 && row[i + run] == row[i]) run++;
    out[n++] = static_cast<unsigned char>(run - 1);
    out[n++] = row[i];
    i += run;
  }
  return n;
}

unsigned char* LoadFontFile(const char* name, long* size) {
  *size = 0;
  std::string path = PlatFindProgramFile(name);
  if (path.empty()) {
    std::string upper = name;
    c4upper(upper.data());
    ScreenMessageBox(SCREEN_BOX_WARNING, nullptr,
                     (Format(kMsgNoFontFile, upper.c_str()) + "\n" + EnvShownPath(PlatProgramDir())).c_str());
    return nullptr;
  }
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ErrLogMessage(0x1C92, kLogFontOpen, EnvFindString(kMsgCannotOpen), name);
    return nullptr;
  }
  std::fseek(file, 0, SEEK_END);
  long length = std::ftell(file);
  std::rewind(file);
  unsigned char* data = length > 0 ? static_cast<unsigned char*>(take_mem(static_cast<size_t>(length))) : nullptr;
  if (data == nullptr || std::fread(data, static_cast<size_t>(length), 1, file) != 1) {
    std::fclose(file);
    if (data) free_mem(&data);
    ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, Format(kMsgFontReadError, name).c_str());
    return nullptr;
  }
  std::fclose(file);
  *size = length;
  return data;
}

void ParseSoftFont(SoftFont* font, const unsigned char* data, long length) {
  *font = SoftFont{};
  const size_t end = length > 0 ? static_cast<size_t>(length) : 0;
  int code = 0;
  size_t pos = 0;
  while (pos < end) {
    if (data[pos] != 0x1B) {
      pos++;
      continue;
    }
    if (pos + 1 < end && data[pos + 1] == 0x1B) {
      pos += 2;
      continue;
    }
    if (pos + 2 >= end) break;
    const char a = static_cast<char>(data[pos + 1]), b = static_cast<char>(data[pos + 2]);
    pos += 3;
    PclParam p{};
    do {
      pos = ReadPclParam(data, end, pos, &p);
      if (p.letter == 0) break;
      const size_t n = static_cast<size_t>(p.value > 0 ? p.value : 0);
      if (a == '*' && b == 'c' && p.letter == 'E') {
        code = static_cast<int>(p.value) & 0xFF;
      } else if (a == '&' && b == 'k' && p.letter == 'H') {
        font->hmi = p.value;
      } else if (a == '(' && b == 's' && p.letter == 'W') {
        // A descriptor or raster running past the file is left out.
        if (n >= 16 && pos + n <= end) {
          const unsigned char* d = data + pos;
          SoftFontChar& c = font->chars[code];
          c.words[0] = static_cast<uint16_t>(PclWord(d));
          c.words[1] = static_cast<uint16_t>(PclWord(d + 2));
          c.words[2] = static_cast<uint16_t>(PclWord(d + 4));
          c.leftOffset = static_cast<int8_t>(PclWord(d + 6) & 0xFF);
          c.topOffset = PclWord(d + 8) & 0xFF;
          c.charWidth = PclWord(d + 10) & 0xFF;
          c.charHeight = PclWord(d + 12) & 0xFF;
          c.deltaX = static_cast<int>(PclWord(d + 14));
          c.dataOffset = static_cast<long>(pos + 16);
          const size_t raster = static_cast<size_t>(c.charHeight) * ((c.charWidth + 7) / 8);
          c.present = 16 + raster <= n;
        }
        pos = std::min(end, pos + n);
      } else if (a == ')' && b == 's' && p.letter == 'W') {
        if (n >= 40 && pos + n <= end) {
          const unsigned char* d = data + pos;
          font->descriptorPos = static_cast<long>(pos);
          font->baseline = static_cast<int>(PclWord(d + 6));
          font->cellWidth = static_cast<int>(PclWord(d + 8));
          font->cellHeight = static_cast<int>(PclWord(d + 10));
          font->orientation = d[12];
          font->spacing = d[13];
          font->symbolSet = static_cast<int>(PclWord(d + 20));
          font->firstCode = static_cast<int>(PclWord(d + 36));
          font->lastCode = static_cast<int>(PclWord(d + 38));
        }
        pos = std::min(end, pos + n);
      }
    } while (!p.last);
  }
}

int RenderGraphicSpool(FILE* spool, FILE* output) {
  Renderer r;
  r.output = output;
  Printer.gapCounter = Printer.gapEvery;
  LastRenderStats = GraphicRenderStats{};
  std::rewind(spool);
  ComputePageGeometry(0);
  r.offsetX = static_cast<int>(Printer.rasterDpiX / 25.4 * Printer.grOffsetX);
  r.offsetY = static_cast<int>(Printer.rasterDpiY / 25.4 * Printer.grOffsetY);
  int result = RenderPages(r, spool);
  ErrLogMessage(0x82, kLogRender, "Pg:%i Rc:%i", r.pages, result);
  return result;
}
