// The preview "Próba tabulogramu": the layout as it would print, with a
// sample value in every cell, built by the report's own steps in a counting
// and a filling pass and shown read-only.
#include <algorithm>
#include <cstring>

#include "env/code_pages.h"
#include "env/dates.h"
#include "env/services.h"
#include "print/page_viewer.h"
#include "print/tabu_run.h"

namespace {

std::string SampleCell(TabuColumn* list, int index, int w, bool freeLine, bool shown) {
  FillTabuValue(list, index);
  if (!shown) return "";
  const TabuValue& v = TabuRun.value;
  switch (v.type) {
    case 'D': {
      const std::string date = DateQStr(get_cur_das(0));
      return static_cast<int>(date.size()) > w ? std::string(static_cast<size_t>(std::max(0, w)), '*') : date;
    }
    case 'N':
    case 'F':
      return TabuNumberText(1, v.width, v.decimals, w, freeLine);
    default:
      return std::string(static_cast<size_t>(std::max(0, std::min(static_cast<int>(v.width), w))), '=');
  }
}

// Counts the lines and the widest, or copies them into the two pages.
class PreviewSink : public TabuLineSink {
 public:
  int lines = 0, widest = 0;
  std::string* text = nullptr;
  std::string* bold = nullptr;
  int width = 0;

  int Text(const std::string& line, int length) override { return Add(line, nullptr, length); }
  int Pair(const std::string& line, const std::string& values, int length, bool) override {
    return Add(line, &values, length);
  }

 private:
  int Add(const std::string& line, const std::string* values, int length) {
    length = std::max(0, std::min(length, TABU_LINE));
    if (text) {
      const size_t at = static_cast<size_t>(lines) * static_cast<size_t>(width);
      const size_t n = static_cast<size_t>(std::min(length, width));
      text->replace(at, n, line.substr(0, n));
      if (values) bold->replace(at, n, values->substr(0, n));
    }
    widest = std::max(widest, length);
    lines++;
    return 0;
  }
};

void Build(TabuColumn* list, PreviewSink* sink) {
  BuildTabuHeadings(list, sink);
  if (BuildTabuFreeLines(list, sink, SampleCell) > 0) sink->Text(TabuRun.rules[RULE_TOP], TabuRun.rulesLength);
  BuildTabuFramedRows(list, sink, SampleCell);
  sink->Text(TabuRun.rules[RULE_BOT], TabuRun.rulesLength);
}

}  // namespace

void ShowTabuPreview(TabuColumn* list) {
  std::memcpy(TabuRun.frame, TabuBoxFrame, sizeof TabuRun.frame);
  for (int i = 0, n = TabuCount(list); i < n; i++) SetStripState(list[i], 1);
  PreviewSink counting;
  Build(list, &counting);
  if (counting.lines == 0 || counting.widest == 0) return;
  std::string text(static_cast<size_t>(counting.widest) * static_cast<size_t>(counting.lines + 2), ' ');
  std::string bold(text.size(), ' ');
  PreviewSink filling;
  filling.text = &text;
  filling.bold = &bold;
  filling.width = counting.widest;
  Build(list, &filling);
  edytuj_memory(text.data(), bold.data(), filling.lines, filling.width, Utf8ToMazText("Próba tabulogramu").c_str(), 1, 1,
                0);
}
