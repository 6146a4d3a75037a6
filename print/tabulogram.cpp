#include "print/tabulogram.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/text_buffers.h"
#include "platform/screen_hook.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "print/tabu_run.h"
#include "ui/browse.h"
#include "ui/std_windows.h"

namespace {

constexpr int kMsgContinue = 50006;
constexpr int kMsgTooWide = 50062;
constexpr int kMsgMaxWidth = 50063;
constexpr int kMsgNeededWidth = 50064;
constexpr int kMsgStrips = 50065;
constexpr int kMsgNoData = 50066;
constexpr int kTabuJobFlags = 0x1018;
constexpr size_t kSubtitleLine = 120;

// A record's cell; numbers go into the column's total.
std::string RecordCell(TabuColumn* list, int index, int w, bool freeLine, bool shown) {
  FillTabuValue(list, index);
  const TabuValue& v = TabuRun.value;
  if ((v.type == 'N' || v.type == 'F') && v.number != 0 && index < TABU_SLOTS) TabuRun.totals[index] += v.number;
  if (!shown) return "";
  switch (v.type) {
    case 'D': {
      if (v.text[0] == ' ' || v.text[0] == '\0') return "";
      char date[9] = {};
      std::memcpy(date, v.text, 8);
      const std::string s = DateFmtQStr(date, "DD-MM/YY");
      if (s.empty() || s[0] == '*') return "";
      return static_cast<int>(s.size()) > w ? std::string(static_cast<size_t>(std::max(0, w)), '*') : s;
    }
    case 'N':
    case 'F':
      if (v.number == 0) return "";
      return TabuNumberText(v.number, v.width, v.decimals, w, freeLine);
    default:
      return std::string(v.text, static_cast<size_t>(std::max(0, std::min(static_cast<int>(v.width), w))));
  }
}

bool Summed(const TabuColumn& e, int index) {
  return (e.flags & TABU_SUMMED) && index < TABU_SLOTS && (TabuRun.types[index] == 'N' || TabuRun.types[index] == 'F');
}

std::string TotalCell(TabuColumn* list, int index, int w, bool freeLine, bool shown) {
  if (!shown || !Summed(list[index], index)) return "";
  const TabuRunState& run = TabuRun;
  if (freeLine) return TabuGroupedNumber(run.totals[index], run.valueWidth[index], run.decimals[index], w);
  return TabuNumberText(run.totals[index], run.valueWidth[index], run.decimals[index], w, false);
}

int PrintText(const std::string& line, int length, bool lineFeed = true) {
  std::string s = line.substr(0, static_cast<size_t>(std::max(0, length)));
  conv_str(s.data(), static_cast<int>(s.size()));
  if (drukuj(s.c_str()) != 0) return -1;
  return lineFeed ? drukuj_line_feed(1) : 0;
}

// A NUL counts as not blank, as any character but the blank does.
bool AllBlank(const std::string& s) { return std::strspn(s.c_str(), " ") == s.size(); }

class PrintSink : public TabuLineSink {
 public:
  int Text(const std::string& line, int length) override { return PrintText(line, length); }
  int Pair(const std::string& text, const std::string& values, int length, bool skipBlank) override {
    if (skipBlank && AllBlank(values)) return 0;
    return print_lines(text.data(), values.data(), length, 0, 1, 0, -1);
  }
};

// Totals rows: printed only from the first row holding a summed column, with
// "RAZEM" (and for the framed part the top rule) before them.
class TotalsSink : public TabuLineSink {
 public:
  explicit TotalsSink(bool framed) : framed_(framed) {}
  bool started = false;
  bool rowSummed = false;
  int Text(const std::string& line, int length) override { return PrintText(line, length); }
  int Pair(const std::string& text, const std::string& values, int length, bool skipBlank) override {
    if (rowSummed && !started) {
      if (PrintText("RAZEM", 5) != 0) return -1;
      if (framed_ && PrintText(TabuRun.rules[RULE_TOP], TabuRun.rulesLength) != 0) return -1;
      started = true;
    }
    if (!started || (!framed_ && !rowSummed)) return 0;
    if (skipBlank && AllBlank(values)) return 0;
    return print_lines(text.data(), values.data(), length, 0, 1, 0, -1);
  }

 private:
  bool framed_;
};

// Whether a row of the free or framed entries holds a summed column.
// Framed columns count only in the strip being printed.
bool RowSummed(const TabuColumn* list, int row, bool freeLines) {
  for (int i = 0, n = TabuCount(list); i < n; i++)
    if (Chosen(list[i]) && FreeLine(list[i]) == freeLines && list[i].row == row && Summed(list[i], i) &&
        (freeLines || StripState(list[i]) == 1))
      return true;
  return false;
}

// The totals row by row, so each row knows whether it holds a summed column.
int BuildTotals(TabuColumn* list, bool freeLines, TotalsSink* sink) {
  for (int row = 1, rows = TabuHighestRow(list, freeLines); row <= rows; row++) {
    sink->rowSummed = RowSummed(list, row, freeLines);
    const int r = freeLines ? BuildTabuFreeLines(list, sink, TotalCell, row) : BuildTabuFramedRows(list, sink, TotalCell, row);
    if (r < 0) return -1;
  }
  return 0;
}

int PageHeader(const char* title, const char* subtitle, int flags) {
  Environment* env = EnvCurrent();
  const int width = std::max(1, Printer.columns - Printer.leftMargin);
  std::string line(static_cast<size_t>(width), ' ');
  if (!(flags & 1)) line.replace(0, std::min(line.size(), std::strlen(env->ownerName)), env->ownerName, std::min(line.size(), std::strlen(env->ownerName)));
  char page[32];
  std::snprintf(page, sizeof page, "str. %4i", Printer.pageNo);
  const size_t length = std::strlen(page);
  if (line.size() >= length) line.replace(line.size() - length, length, page);
  if (PrintText(line, width) != 0) return -1;
  if (!(flags & 1) && env->ownerName2[0] && PrintText(env->ownerName2, static_cast<int>(std::strlen(env->ownerName2))) != 0)
    return -1;
  if (!AllBlank(title) && PrintText(title, static_cast<int>(std::strlen(title))) != 0) return -1;
  if (!AllBlank(subtitle)) {
    const std::string s = subtitle;
    for (size_t at = 0; at < s.size(); at += kSubtitleLine)
      if (PrintText(s.substr(at, kSubtitleLine), static_cast<int>(std::min(kSubtitleLine, s.size() - at))) != 0)
        return -1;
  }
  return 0;
}

// The columns of the strip: the not yet printed positions from the left up
// to the first that does not fit. The first position with room to take
// always goes in, cut at the line's end when it is wider than any line, so
// that every strip prints something and the strips end.
void AssignStrip(TabuColumn* list) {
  const int n = TabuCount(list);
  int highest = 0;
  for (int i = 0; i < n; i++)
    if (ChosenFramed(list[i])) highest = std::max(highest, static_cast<int>(list[i].column));
  int running = Printer.leftMargin;
  bool any = false;
  for (int p = 1; p <= highest; p++) {
    int add = 0;
    bool present = false;
    for (int i = 0; i < n; i++)
      if (ChosenFramed(list[i]) && list[i].column == p && StripState(list[i]) != 2) {
        add = std::max(add, list[i].width + 1);
        if (i < TABU_SLOTS) TabuRun.totals[i] = 0;
        present = true;
      }
    if (!present) continue;
    running += add;
    if (running > Printer.columns && TabuRun.strips && any) continue;
    for (int i = 0; i < n; i++)
      if (ChosenFramed(list[i]) && list[i].column == p && StripState(list[i]) != 2) SetStripState(list[i], 1);
    any = true;
  }
}

// One page of records; -1 on an error.
int Body(TabuColumn* list, DbScanCtx* scan) {
  TabuRunState& run = TabuRun;
  if (run.scanEnd != 0) return 0;
  Environment* env = EnvCurrent();
  PrintSink sink;
  int count = 0, underline = Printer.underlineStep;
  for (;;) {
    if (env->tabuPageHook) env->tabuPageHook();
    const int free = BuildTabuFreeLines(list, &sink, RecordCell);
    if (free < 0) return -1;
    if (free && run.framed && sink.Text(run.rules[RULE_TOP], run.rulesLength) != 0) return -1;
    if (run.framed && BuildTabuFramedRows(list, &sink, RecordCell) != 0) return -1;
    if (free) {
      if (run.framed && sink.Text(run.rules[RULE_BOT], run.rulesLength) != 0) return -1;
      if (drukuj_line_feed(1) != 0) return -1;
    }
    count++;
    const int moved = x4skip(scan, 1);
    if (moved < 0) return -1;
    if (moved != 0) {
      run.scanEnd = Printer.itemCount != 0 && count >= Printer.itemCount ? 1 : 2;
      return 0;
    }
    if (Printer.underlineStep > 0 && --underline == 0) {
      if (!free && run.framed && sink.Text(run.rules[RULE_MID], run.rulesLength) != 0) return -1;
      underline = Printer.underlineStep;
    }
    if (Printer.itemCount != 0 && count >= Printer.itemCount) return 0;
  }
}

int Totals(TabuColumn* list) {
  TabuRunState& run = TabuRun;
  if (run.scanEnd == 0) return 0;
  if (run.scanEnd == 1) {
    run.scanEnd = 2;
    return 0;
  }
  TotalsSink freeTotals(false);
  if (BuildTotals(list, true, &freeTotals) != 0) return -1;
  if (run.framed) {
    if (!freeTotals.started && PrintText(run.rules[RULE_BOT], run.rulesLength) != 0) return -1;
    TotalsSink framedTotals(true);
    if (BuildTotals(list, false, &framedTotals) != 0) return -1;
    if (framedTotals.started && PrintText(run.rules[RULE_BOT], run.rulesLength, false) != 0) return -1;
  }
  run.done = true;
  return 0;
}

// One strip: 0 printed, 1 nothing to print, -1 an error.
int PrintStrip(TabuColumn* list, DbScanCtx* scan, const char* title, const char* subtitle, int flags) {
  TabuRunState& run = TabuRun;
  run.scanEnd = 0;
  run.done = false;
  EnvCurrent()->tabuPrintActive = 1;
  Printer.pageNo = 1;
  const int top = x4top(scan);
  if (top < 0) return -1;
  if (top != 0) {
    ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, EnvFindString(kMsgNoData));
    return 1;
  }
  bool first = true;
  PrintSink sink;
  while (!run.done) {
    if (drukuj_top_margin() != 0 || PageHeader(title, subtitle, flags) != 0) return -1;
    if (first) AssignStrip(list);
    first = false;
    if (run.framed && BuildTabuHeadings(list, &sink) != 0) return -1;
    if (Body(list, scan) != 0 || Totals(list) != 0) return -1;
    if (drukuj_form_feed() != 0) return -1;
    Printer.pageNo++;
  }
  return 0;
}

void ClearStripStates(TabuColumn* list) {
  for (int i = 0, n = TabuCount(list); i < n; i++) SetStripState(list[i], 0);
}

bool UnprintedFramed(const TabuColumn* list) {
  for (int i = 0, n = TabuCount(list); i < n; i++)
    if (ChosenFramed(list[i]) && StripState(list[i]) == 0) return true;
  return false;
}

// The width check; false when the operator stops.
bool WidthAccepted(TabuColumn* list) {
  const int needed = TabuNeededWidth(list);
  if (Printer.columns >= needed) return true;
  char maxLine[80], neededLine[80];
  std::snprintf(maxLine, sizeof maxLine, EnvFindString(kMsgMaxWidth), Printer.columns);
  std::snprintf(neededLine, sizeof neededLine, EnvFindString(kMsgNeededWidth), needed);
  const std::string text = std::string(EnvFindString(kMsgTooWide)) + "\n" + maxLine + "\n" + neededLine + "\n" +
                           EnvFindString(kMsgContinue);
  if (ScreenQuestion(nullptr, text.c_str()) == SCREEN_KEY_ESC) return false;
  const int strips = ScreenQuestion(nullptr, EnvFindString(kMsgStrips));
  TabuRun.strips = strips == 'T' || strips == 't';
  return true;
}

int RunPrint(TabuColumn* list, DbScanCtx* scan, DbTable* table, const char* title, const char* subtitle, int flags) {
  TabuRunState& run = TabuRun;
  if (init_prn(table, "TAB", "Tabulogram", run.lineWidth, kTabuJobFlags) != 0) return 0;
  std::memcpy(run.frame, TabuBoxFrame, sizeof run.frame);
  const int f = Printer.family;
  if ((f == PRN_EPSON9 || f == PRN_EPSON24 || f == PRN_ESCP2 || f == PRN_ESCP_RASTER) && Printer.orientation == 0) {
    std::memset(run.frame, '-', sizeof run.frame);
    run.frame[FR_V] = '|';
  }
  if (!WidthAccepted(list)) return 0;
  run.framed = false;
  for (int i = 0, n = TabuCount(list); i < n; i++) run.framed = run.framed || ChosenFramed(list[i]);
  Environment* env = EnvCurrent();
  for (;;) {
    do {
      const int strip = PrintStrip(list, scan, title, subtitle, flags);
      if (strip != 0) return strip < 0 ? -1 : 0;
      for (int i = 0, n = TabuCount(list); i < n; i++)
        if (StripState(list[i]) == 1) SetStripState(list[i], 2);
    } while (UnprintedFramed(list));
    const int taken = env->copiesLeft;
    env->copiesLeft = taken - 1;
    if (taken <= 0) return 0;
    ClearStripStates(list);
  }
}

}  // namespace

// Every browse prints its list as a tabulogram, from the library's load on.
[[maybe_unused]] const bool BrowsePrintsTabulograms = (BrowsePrintTabulogram = prn_tab_rap, true);

const char* TabuSettingsName() { return TabuRun.settingsName.c_str(); }

int prn_tab_rap(TabuColumn* columns, DbScanCtx* scan, DbTable* table, DbTag* tag, TextRef title, TextRef subtitle,
                const char* settingsName, int flags) {
  Environment* env = EnvCurrent();
  const std::string titleText = title.IsEmpty() ? "" : EnvFindString(title);
  const std::string subtitleText = subtitle.IsEmpty() ? "" : EnvFindString(subtitle);
  TabuRun = TabuRunState{};
  add_help_line();
  SetTabuSettingsName(table, settingsName);
  int result = 0;
  if (TabuLayoutDialog(columns, titleText.c_str()) == 1 && set_lock(table, -1) == 0) {
    TabuRun.strips = false;
    if (tag) d4tag_select(table, tag);
    ClearStripStates(columns);
    result = RunPrint(columns, scan, table, titleText.c_str(), subtitleText.c_str(), flags);
    deinit_prn();
    d4unlock(table);
  }
  remove_help_line();
  env->tabuPrintActive = 0;
  env->tabuPageHook = nullptr;
  TabuRun = TabuRunState{};
  return result;
}
