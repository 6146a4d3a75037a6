#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "env/memory.h"
#include "tests/ui/ui_fixture.h"
#include "ui/calculator.h"
#include "ui/calendar.h"
#include "ui/chart.h"

namespace {

// The chart as it stands while it waits for its key.
struct Snap {
  std::vector<uint8_t> pixels;
  int stride = 0;
  int row = 0, col = 0, width = 0, height = 0;   // the chart window
  std::string caption;                           // window row 0 from column 8
  std::vector<std::string> rows;                 // window rows, UTF-8
  int exclusive = 0;
  bool toolsStayedShut = false;
  std::vector<uint8_t> afterStrayLine;           // pixels after a line across the chart's top edge
};
Snap snap;
int snaps = 0;

std::vector<uint8_t> Pixels(int* stride) {
  int width, height;
  const uint8_t* p = DesktopPixels(stride, &width, &height);
  return std::vector<uint8_t>(p, p + *stride * height);
}

int TakeSnap(int32_t, int32_t) {
  snaps++;
  snap.pixels = Pixels(&snap.stride);
  const Window4* w = w4record(Desktop.topWindow);
  snap.row = w->row;
  snap.col = w->col;
  snap.width = w->width;
  snap.height = w->height;
  snap.rows.clear();
  for (int r = 0; r < w->height; r++) {
    std::string bytes;
    for (int c = 0; c < w->width; c++) bytes += static_cast<char>(Desktop.cells[(w->row + r) * Desktop.cols + w->col + c] & 0xFF);
    snap.rows.push_back(MazToUtf8Text(bytes.c_str()));
  }
  snap.caption = snap.rows[0].substr(8);
  snap.caption.erase(snap.caption.find_last_not_of(' ') + 1);
  snap.exclusive = EnvCurrent()->exclusiveToolActive;
  // The calculator and the calendar must not open over the pixels.
  int top = Desktop.topWindow;
  KalendarzDate date{};
  kalkulator();
  kalendarz(5, 20, &date);
  snap.toolsStayedShut = Desktop.topWindow == top && date.day == 0;
  // A line from the top of the bitmap down into the chart: only the part inside is drawn.
  int originY = (w->row - 1) * Desktop.cellHeight;
  ChartLine(0, 3, originY + 4, 3);
  int stride;
  snap.afterStrayLine = Pixels(&stride);
  return 0;
}

class ChartTest : public UiTest {
 protected:
  Wykres* chart = nullptr;
  const char* legends[4] = {"  Pierwsza", "  Druga", "  Trzecia", "  Czwarta"};

  void SetUp() override {
    UiTest::SetUp();
    snap = Snap{};
    snaps = 0;
    g4set_key_to(KEY_ALT_A, TakeSnap);
    chart = init_wykres();
    ASSERT_NE(chart, nullptr);
    for (int i = 0; i < 4; i++) chart->series[i].legend = legends[i];
  }
  void TearDown() override {
    free_mem(&chart);
    UiTest::TearDown();
  }

  // Draws with the menu choice `choice` ("1" or "2"), snapshots, ends with a key.
  void Draw(const char* choice, const char* unit = "z\x92", int count = 12) {
    ASSERT_EQ(HeadlessSetScript((std::string(choice) + "{ALT+A}x").c_str()), 0);
    rysuj_wykres(chart, 2026, count, unit);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    ASSERT_EQ(snaps, 1);
  }

  // Geometry of the plot, worked out from the window the way the chart does.
  int OriginX() const { return (snap.col - 1) * Desktop.cellWidth; }
  int OriginY() const { return (snap.row - 1) * Desktop.cellHeight; }
  int PlotH() const { return (snap.height - 4) * Desktop.cellHeight - 30; }
  int ColW() const { return ((snap.width - 1) * Desktop.cellWidth - 60) / 13; }
  // A pixel of the plot (x, y from the plot's corner).
  int Plot(int x, int y) const { return snap.pixels[(OriginY() + 30 + y) * snap.stride + OriginX() + 60 + x]; }
  // The top row of a digit glyph whose left edge is at plot point (x, y), as a bit mask.
  int GlyphTopRow(int x, int y, int glyphRow = 0) const {
    int bits = 0;
    for (int i = 0; i < 8; i++) bits |= (Plot(x + i, y + glyphRow) == 15 ? 0x80 >> i : 0);
    return bits;
  }
};

TEST_F(ChartTest, AllZeroValuesSitOnTheBottomLine) {
  chart->series[0].chosen = 1;
  Draw("1");
  EXPECT_EQ(chart->step, 1);
  EXPECT_EQ(chart->labelStep, 1);
  EXPECT_EQ(chart->range, 0);
  EXPECT_EQ(snap.caption, "zł");
  const int H = PlotH(), W = ColW();
  // Three grid positions: ticks at H, H / 2 and 0; the zero line at the bottom.
  for (int y : {H, H / 2, 0}) EXPECT_EQ(Plot(-3, y), 7) << y;
  EXPECT_NE(Plot(-3, H / 4), 7);
  EXPECT_EQ(Plot(13 * W, H), 7);
  // Series 1 runs on the zero line, every other pixel in colour 14, and one pixel above.
  EXPECT_EQ(Plot(W, H), 14);
  EXPECT_EQ(Plot(W + 1, H), 7);
  EXPECT_EQ(Plot(W, H - 1), 14);
  EXPECT_NE(Plot(W + 1, H - 1), 14);
  // Labels "0" at the zero line and "1" one grid position up; month 1 at W.
  EXPECT_EQ(GlyphTopRow(-16, H), 0x7C);
  EXPECT_EQ(GlyphTopRow(-24, H), 0);
  EXPECT_EQ(GlyphTopRow(-16, H - H / 2), 0x30);
  EXPECT_EQ(GlyphTopRow(-16, 0), 0);   // the upward labels stop after "1"
  EXPECT_EQ(GlyphTopRow(W, H + 6), 0x30);
  EXPECT_EQ(GlyphTopRow(W - 8, H + 6), 0);
}

TEST_F(ChartTest, NegativeAndThousandsScale) {
  chart->series[0].chosen = 1;
  chart->series[0].values[0] = -250;
  chart->series[0].values[1] = 1700;
  Draw("1");
  EXPECT_EQ(chart->range, 1950);
  EXPECT_EQ(chart->step, 1000);
  EXPECT_DOUBLE_EQ(chart->labelStep, 1);
  EXPECT_EQ(chart->minValue, 250);
  EXPECT_EQ(chart->maxValue, 1700);
  EXPECT_EQ(snap.caption, "tys. zł");
  const int H = PlotH(), W = ColW();
  const int F = H - H / 3;   // four grid positions, zero one above the bottom
  EXPECT_EQ(Plot(13 * W, F), 7);
  EXPECT_NE(Plot(13 * W, H), 7);
  // Labels -1, 0, 1 and 2 (thousands).
  EXPECT_EQ(GlyphTopRow(-24, F + H / 3, 3), 0x3E);   // the minus sign's bar
  EXPECT_EQ(GlyphTopRow(-16, F + H / 3), 0x30);
  EXPECT_EQ(GlyphTopRow(-16, F), 0x7C);
  EXPECT_EQ(GlyphTopRow(-16, F - H / 3), 0x30);
  EXPECT_EQ(GlyphTopRow(-16, F - 2 * H / 3), 0x78);
  EXPECT_EQ(GlyphTopRow(-24, F - 2 * H / 3), 0);
  // The series' upper end: 1700 at month 2.
  const int K = H / 3;
  EXPECT_EQ(Plot(2 * W, F - K * 1700 / 1000), 14);
}

TEST_F(ChartTest, ScalesOfTheValueRanges) {
  struct Case {
    double fill, low, high;   // fill: every value of every series
    bool chosen;
    double step, labelStep, range, minValue, maxValue;
    const char* caption;
  } cases[] = {
      {-5, -100, -5, true, 100, 100, 100, 100, 0, "zł"},             // all negative: up to 0
      {0, 0, 2500000, true, 1000000, 1, 2500000, 0, 2500000, "mln. zł"},
      {0, 0, 7e9, true, 1e9, 1, 7e9, 0, 7e9, "mld. zł"},
      {0, 0, 500, false, 100, 100, 500, 0, 500, "zł"},               // unchosen series widen the scale
      {0, 0, 5e12, true, 1e11, 100, 5e12, 0, 5e12, "mld. zł"},       // beyond the last step: labels of 10^11
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.high);
    for (auto& s : chart->series)
      for (double& v : s.values) v = c.fill;
    chart->series[0].chosen = 1;
    chart->series[1].chosen = 0;
    WykresSeries& s = chart->series[c.chosen ? 0 : 1];
    s.values[3] = c.low;
    s.values[7] = c.high;
    snaps = 0;
    Draw("1");
    EXPECT_EQ(chart->step, c.step);
    EXPECT_DOUBLE_EQ(chart->labelStep, c.labelStep);
    EXPECT_EQ(chart->range, c.range);
    EXPECT_EQ(chart->minValue, c.minValue);
    EXPECT_EQ(chart->maxValue, c.maxValue);
    EXPECT_EQ(snap.caption, c.caption);
  }
}

TEST_F(ChartTest, LegendLinesUseTheSeriesPatternsAndColours) {
  for (auto& s : chart->series) s.chosen = 1;
  Draw("1");
  const unsigned masks[4] = {0xAA, 0x88, 0xF0, 0xFA};
  const int colours[4] = {14, 12, 10, 9};
  const int cw = Desktop.cellWidth, ch = Desktop.cellHeight;
  for (int i = 0; i < 4; i++) {
    SCOPED_TRACE(i);
    int y = OriginY() + (snap.height - 3 + i) * ch + ch / 2;
    for (int k = 0; k < 16; k++) {
      int x = OriginX() + 2 * cw + k;
      bool on = masks[i] & (0x80 >> (k % 8));
      EXPECT_EQ(snap.pixels[y * snap.stride + x] == colours[i], on) << k;
      EXPECT_EQ(snap.pixels[(y - 1) * snap.stride + x] == colours[i], on) << k;   // thick: one up
    }
    EXPECT_NE(snap.rows[snap.height - 4 + i].find(legends[i] + 2), std::string::npos);
  }
}

TEST_F(ChartTest, CountLimitsTheJoinedMonths) {
  chart->series[0].chosen = 1;
  chart->series[0].values[0] = chart->series[0].values[1] = 5;
  Draw("1", "", 1);   // no line at all, the axes and the legend still drawn
  const int H = PlotH(), W = ColW();
  EXPECT_NE(Plot(W, H - 5 * (H / 7)), 14);
  EXPECT_EQ(Plot(W, H), 7);
  EXPECT_NE(snap.rows[snap.height - 4].find("Pierwsza"), std::string::npos);
  std::vector<uint8_t> twelve;
  snaps = 0;
  Draw("1", "", 12);
  twelve = snap.pixels;
  EXPECT_EQ(Plot(W, H - 5 * (H / 7)), 14);   // scale 0..5 in steps of 1: eight grid positions
  snaps = 0;
  Draw("1", "", 99);   // never past the twelve months
  EXPECT_EQ(snap.pixels, twelve);
}

TEST_F(ChartTest, RunningTotalsStayInTheRecord) {
  chart->series[0].chosen = 1;
  for (int m = 0; m < 12; m++) {
    chart->series[0].values[m] = 1;
    chart->series[3].values[m] = 2;   // not chosen, still summed
  }
  Draw("2");
  EXPECT_EQ(chart->series[0].values[11], 12);
  EXPECT_EQ(chart->series[3].values[11], 24);
  EXPECT_EQ(chart->range, 24);
  EXPECT_EQ(chart->step, 10);
}

TEST_F(ChartTest, BlocksTheToolsAndLeavesNoPixelsBehind) {
  int stride;
  std::vector<uint8_t> before = Pixels(&stride);
  chart->series[0].chosen = 1;
  chart->series[0].values[5] = 42;
  Draw("1");
  EXPECT_EQ(snap.exclusive, 1);
  EXPECT_TRUE(snap.toolsStayedShut);
  EXPECT_EQ(env->exclusiveToolActive, 0);
  EXPECT_EQ(Pixels(&stride), before);
  // The stray line was clipped at the chart's frame.
  const int oy = OriginY();
  ASSERT_GT(oy, 0);
  EXPECT_EQ(snap.afterStrayLine[(oy - 1) * stride + 3], snap.pixels[(oy - 1) * stride + 3]);
  EXPECT_EQ(snap.afterStrayLine[oy * stride + 3], 14);   // the colour of the last series drawn
}

TEST_F(ChartTest, EscInTheChoiceDrawsNothing) {
  int stride;
  std::vector<uint8_t> before = Pixels(&stride);
  int top = Desktop.topWindow;
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  rysuj_wykres(chart, 2026, 12, "");
  EXPECT_EQ(snaps, 0);
  EXPECT_EQ(Desktop.topWindow, top);
  EXPECT_EQ(Pixels(&stride), before);
}

}  // namespace
