// Line charts of up to four series of twelve monthly values, drawn in
// pixels straight into the desktop bitmap inside a full-screen window.
#pragma once
#include <cstdint>

constexpr int CHART_SERIES = 4;
constexpr int CHART_MONTHS = 12;

struct WykresSeries {
  uint8_t chosen;                  // non-zero: drawn, with a legend row
  uint8_t colour;                  // of its line, 0..15
  const unsigned char* pattern;    // dash pattern; its first byte is the 8-pixel mask, top bit first
  double values[CHART_MONTHS];     // January first
  const char* legend;              // drawn from its third character
};

struct Wykres {
  WykresSeries series[CHART_SERIES];
  int32_t originX, originY;        // pixel corner of the chart window's frame
  int32_t marginLeft, marginTop;   // of the plot from the corner
  double maxValue;
  double minValue;                 // after the sign rule: the extent of the scale below zero
  double step;                     // grid step, a power of ten
  double labelStep;                // the step in the unit of the axis caption
  double range;                    // span of the scale
};

// A new chart (free it with free_mem): no series chosen, all values 0,
// colours 14, 12, 10, 9 and patterns 1 to 4. NULL when memory runs out.
Wykres* init_wykres();
// Asks for monthly values or running totals, draws `count` values of each
// chosen series, waits for one key and closes the window. `unit` may be NULL.
void rysuj_wykres(Wykres* chart, int year, int count, const char* unit);

// Plot coordinates: x from originX + marginLeft, y from originY + marginTop, downward.
void ChartSegment(Wykres* chart, int x1, int y1, int x2, int y2);
// The segment and a copy one pixel up (mostly horizontal) or to the left.
void ChartThickSegment(Wykres* chart, int x1, int y1, int x2, int y2);
// The number right-aligned in `width` characters, 8 pixels a character;
// blanks and the '*' of an overflow leave no mark.
void ChartNumber(Wykres* chart, long value, int x, int y, int width);

// Bitmap pixels, in the current colour and dash pattern; nothing is drawn
// outside the chart's window (outside the bitmap when no chart is shown).
void ChartLine(int row1, int column1, int row2, int column2);
// An 8 x 8 glyph (eight row bytes, top bit the leftmost pixel) in colour 15.
void ChartGlyph(const unsigned char* glyph, int row, int column);
