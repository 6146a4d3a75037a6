#include "ui/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "env/session/environment.h"
#include "env/memory.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_CHART_TITLE = 50051;   // " MIESIĘCZNY RAPORT GRAFICZNY %i "

const unsigned char kPatterns[5][4] = {
    {0xFF, 0xFF, 0xFF, 0xFF},   // solid: axes, ticks and grid
    {0xAA, 0xAA, 0xAA, 0xAA},
    {0x88, 0x88, 0x88, 0x88},
    {0xF0, 0xF0, 0xF0, 0xF0},
    {0xFA, 0xFA, 0xFA, 0xFA},
};
constexpr uint8_t kSeriesColours[CHART_SERIES] = {14, 12, 10, 9};

const unsigned char kDigitGlyphs[10][8] = {
    {0x7C, 0xC6, 0xCE, 0xDE, 0xF6, 0xE6, 0x7C, 0x00}, {0x30, 0x70, 0x30, 0x30, 0x30, 0x30, 0xFC, 0x00},
    {0x78, 0xCC, 0x0C, 0x38, 0x60, 0xCC, 0xFC, 0x00}, {0x78, 0xCC, 0x0C, 0x38, 0x0C, 0xCC, 0x78, 0x00},
    {0x1C, 0x3C, 0x6C, 0xCC, 0xFE, 0x0C, 0x1E, 0x00}, {0xFC, 0xC0, 0xF8, 0x0C, 0x0C, 0xCC, 0x78, 0x00},
    {0x38, 0x60, 0xC0, 0xF8, 0xCC, 0xCC, 0x78, 0x00}, {0xFC, 0xCC, 0x0C, 0x18, 0x30, 0x30, 0x30, 0x00},
    {0x78, 0xCC, 0xCC, 0x78, 0xCC, 0xCC, 0x78, 0x00}, {0x78, 0xCC, 0xCC, 0x7C, 0x0C, 0x18, 0x70, 0x00},
};
const unsigned char kMinusGlyph[8] = {0x00, 0x00, 0x00, 0x3E, 0x00, 0x00, 0x00, 0x00};

const unsigned char* currentPattern = kPatterns[0];
uint8_t lineColour = 7;
const uint8_t kGlyphColour = 15;
void (*lineRoutine)(int, int, int, int) = nullptr;
void (*glyphRoutine)(const unsigned char*, int, int) = nullptr;

// Pixels outside this rectangle (the chart window with its frame) are left alone.
struct Clip {
  bool set;
  int left, top, right, bottom;   // right and bottom exclusive
};
Clip clip{};

void SetPixel(int row, int column, uint8_t colour) {
  int stride, width, height;
  // The chart is the one writer of pixels beside the video layer.
  uint8_t* pixels = const_cast<uint8_t*>(DesktopPixels(&stride, &width, &height));
  if (!pixels || row < 0 || column < 0 || row >= height || column >= width) return;
  if (clip.set && (row < clip.top || row >= clip.bottom || column < clip.left || column >= clip.right)) return;
  pixels[row * stride + column] = colour;
}

void Line(Wykres* chart, int x1, int y1, int x2, int y2) {
  if (lineRoutine)
    lineRoutine(chart->originY + chart->marginTop + y1, chart->originX + chart->marginLeft + x1,
                chart->originY + chart->marginTop + y2, chart->originX + chart->marginLeft + x2);
}

}  // namespace

void ChartLine(int row1, int column1, int row2, int column2) {
  if (row1 > row2) {
    std::swap(row1, row2);
    std::swap(column1, column2);
  }
  int dx = std::abs(column2 - column1), dy = row2 - row1;
  int colStep = column2 >= column1 ? 1 : -1;
  bool alongColumns = dx >= dy;
  int major = std::max(dx, dy), minor = std::min(dx, dy);
  int error = 2 * minor - major;
  unsigned mask = currentPattern[0];
  int row = row1, column = column1;
  for (int i = 0; i <= major; i++) {
    if (i > 0) {
      if (error < 0) {
        error += 2 * minor;
        if (alongColumns)
          column += colStep;
        else
          row++;
      } else {
        error += 2 * minor - 2 * major;
        column += colStep;
        row++;
      }
    }
    unsigned bit = (mask >> 7) & 1;
    mask = ((mask << 1) | bit) & 0xFF;
    if (bit) SetPixel(row, column, lineColour);
  }
}

void ChartGlyph(const unsigned char* glyph, int row, int column) {
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++)
      if (glyph[y] & (0x80 >> x)) SetPixel(row + y, column + x, kGlyphColour);
}

void ChartSegment(Wykres* chart, int x1, int y1, int x2, int y2) { Line(chart, x1, y1, x2, y2); }

void ChartThickSegment(Wykres* chart, int x1, int y1, int x2, int y2) {
  Line(chart, x1, y1, x2, y2);
  if (std::abs(x1 - x2) >= std::abs(y1 - y2))
    Line(chart, x1, y1 - 1, x2, y2 - 1);
  else
    Line(chart, x1 - 1, y1, x2 - 1, y2);
}

void ChartNumber(Wykres* chart, long value, int x, int y, int width) {
  char text[32];
  width = std::clamp(width, 1, 20);
  c4ltoa(value, text, width);
  for (int i = 0; i < width; i++) {
    const unsigned char* glyph = nullptr;
    if (text[i] >= '0' && text[i] <= '9') glyph = kDigitGlyphs[text[i] - '0'];
    else if (text[i] == '-') glyph = kMinusGlyph;
    if (glyph && glyphRoutine)
      glyphRoutine(glyph, chart->originY + chart->marginTop + y, chart->originX + chart->marginLeft + x + 8 * i);
  }
}

Wykres* init_wykres() {
  Wykres* chart = static_cast<Wykres*>(take_mem(sizeof(Wykres)));
  if (!chart) return nullptr;
  for (int i = 0; i < CHART_SERIES; i++) {
    chart->series[i].colour = kSeriesColours[i];
    chart->series[i].pattern = kPatterns[i + 1];
  }
  lineRoutine = ChartLine;
  glyphRoutine = ChartGlyph;
  return chart;
}

void rysuj_wykres(Wykres* chart, int year, int count, const char* unit) {
  if (!chart) return;
  static const char* const kChoices[] = {"              ", "1. MIESI\x90" "CZNY ", "2. NARASTAJ\x8F" "CY",
                                         nullptr};
  int choice = get_menu_function("WYBIERZ", kChoices, 1, -1, -1);
  if (choice != 1 && choice != 2) return;

  char title[80];
  StrCopy(title, sizeof title, PrintfQStr(MSG_CHART_TITLE, year));
  int window = DefineChartWindow(title);
  if (window < 0) return;
  w4activate(window);
  currentPattern = kPatterns[0];

  const int cw = Desktop.cellWidth, ch = Desktop.cellHeight;
  chart->marginLeft = 60;
  chart->marginTop = 30;
  chart->maxValue = chart->minValue = 0;
  chart->originX = (w4start_col() - 1) * cw;
  chart->originY = (w4start_row() - 1) * ch;
  clip = {true, chart->originX, chart->originY, chart->originX + (w4width() + 2) * cw,
          chart->originY + (w4height() + 2) * ch};
  const int H = (w4height() - 4) * ch - 30;
  const int W = ((w4width() - 1) * cw - 60) / 13;
  const int T = 3;
  count = std::clamp(count, 0, CHART_MONTHS);

  if (choice == 2)
    for (WykresSeries& s : chart->series)
      for (int m = 1; m < CHART_MONTHS; m++) s.values[m] += s.values[m - 1];

  for (const WykresSeries& s : chart->series)
    if (s.chosen) chart->maxValue = chart->minValue = s.values[0];
  for (const WykresSeries& s : chart->series)
    for (double v : s.values) {
      if (v > chart->maxValue) chart->maxValue = v;
      if (v < chart->minValue) chart->minValue = v;
    }

  if (chart->minValue < 0 && chart->maxValue >= 0) {
    chart->range = chart->maxValue - chart->minValue;
    chart->minValue = -chart->minValue;
  } else if (chart->minValue < 0) {
    chart->range = -chart->minValue;
    chart->minValue = -chart->minValue;
    chart->maxValue = 0;
  } else {
    chart->range = chart->maxValue;
    chart->minValue = 0;
  }

  // The step stops at 10^11; a wider range keeps that step for its labels too.
  for (chart->step = 1;; chart->step *= 10) {
    if (chart->range / chart->step < 10 || chart->step >= 1e11) {
      chart->labelStep = chart->step;
      break;
    }
  }

  const int n = static_cast<int>(std::trunc(chart->range / chart->step)) + 3;
  lineColour = 7;
  for (int j = 0; j < n; j++) {
    int y = H - j * H / (n - 1);
    ChartSegment(chart, -T, y, T, y);
  }
  ChartSegment(chart, 0, 0, 0, H);

  int zero = n - 1;
  for (int i = 0; i <= n - 2; i++)
    if (i * chart->step >= chart->minValue) {
      zero = i;
      break;
    }
  const int F = H - zero * H / (n - 1);
  ChartSegment(chart, 0, F, 13 * W, F);
  for (int k = 0; k <= 13; k++) ChartSegment(chart, k * W, F - T, k * W, F + T);
  for (int k = 1; k <= 12; k++) ChartNumber(chart, k, k * W - 8, F + 2 * T, 2);

  const int K = H / (n - 1);
  for (const WykresSeries& s : chart->series) {
    if (!s.chosen) continue;
    currentPattern = s.pattern ? s.pattern : kPatterns[0];
    lineColour = s.colour;
    for (int l = 0; l + 1 < count; l++)
      ChartThickSegment(chart, (l + 1) * W, F - static_cast<int>(std::trunc(K * s.values[l] / chart->step)),
                        (l + 2) * W, F - static_cast<int>(std::trunc(K * s.values[l + 1] / chart->step)));
  }

  const char* format = "%s";
  if (chart->labelStep >= 1e9) {
    format = "mld. %s";
    chart->labelStep *= 1e-9;
  } else if (chart->labelStep >= 1e6) {
    format = "mln. %s";
    chart->labelStep *= 1e-6;
  } else if (chart->labelStep >= 1000) {
    format = "tys. %s";
    chart->labelStep *= 0.001;
  }
  w4(0, 8, PrintfQStr(format, unit ? unit : ""));

  const int labelX = -4 * cw;
  for (int l = 0; l < n; l++) {
    ChartNumber(chart, -static_cast<long>(std::trunc(chart->labelStep * l)), labelX, F + l * H / (n - 1), 3);
    if (F + l * H / (n - 2) >= H) break;
  }
  for (int l = 0; l < n; l++) {
    ChartNumber(chart, static_cast<long>(std::trunc(chart->labelStep * l)), labelX, F - l * H / (n - 1), 3);
    if (F - l * H / (n - 2) <= 0) break;
  }

  chart->marginLeft = chart->marginTop = 0;
  for (int i = 0; i < CHART_SERIES; i++) {
    const WykresSeries& s = chart->series[i];
    if (!s.chosen) continue;
    currentPattern = s.pattern ? s.pattern : kPatterns[0];
    lineColour = s.colour;
    int y = (w4height() - 3 + i) * ch + ch / 2;
    ChartThickSegment(chart, 2 * cw, y, 7 * cw, y);
    if (s.legend && std::strlen(s.legend) > 2) w4(w4height() - 4 + i, 8, s.legend + 2);
  }

  ImageInvalidate(0, 0, Desktop.cols, Desktop.rows);

  add_help_line();
  Environment* env = EnvCurrent();
  if (env) env->exclusiveToolActive = 1;
  g4char();
  if (env) env->exclusiveToolActive = 0;
  remove_help_line();
  clip.set = false;
  w4deactivate(window);
  w4close(window);
}
