// Column values, printed names, widths, the line-building steps and the
// layouts kept in Z5TABW.
#include <algorithm>
#include <cstring>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/text_buffers.h"
#include "platform/screen_hook.h"
#include "print/printer.h"
#include "print/tabu_run.h"
#include "print/tabu_table.h"

TabuRunState TabuRun;
const unsigned char TabuBoxFrame[FR_COUNT] = {179, 196, 218, 194, 191, 192, 193, 217, 195, 197, 180};

namespace {

constexpr int kLogNoValue = 47;
constexpr int kMsgReadLayout = 50089;
constexpr int kMsgSaveLayout = 50090;
constexpr int kExportNameLength = 10;

std::string Padded(const std::string& text, size_t width) {
  std::string s = text.substr(0, width);
  s.resize(width, ' ');
  return s;
}

std::string Trimmed(const char* text, size_t length) {
  std::string s(text, strnlen(text, length));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Copies text into the 600-character line at `at`, cut at both ends of the
// line: stored layouts may place labels anywhere.
void Place(std::string* line, int at, std::string text) {
  if (at < 0) {
    text.erase(0, std::min(text.size(), static_cast<size_t>(-at)));
    at = 0;
  }
  if (at >= TABU_LINE) return;
  text.resize(std::min(text.size(), static_cast<size_t>(TABU_LINE - at)));
  line->replace(static_cast<size_t>(at), text.size(), text);
}

int HighestRow(const TabuColumn* list, bool freeLines) {
  int highest = 0;
  for (int i = 0, n = TabuCount(list); i < n; i++)
    if (Chosen(list[i]) && FreeLine(list[i]) == freeLines) highest = std::max(highest, static_cast<int>(list[i].row));
  return highest;
}

int HighestPosition(const TabuColumn* list) {
  int highest = 0;
  for (int i = 0, n = TabuCount(list); i < n; i++)
    if (ChosenFramed(list[i])) highest = std::max(highest, static_cast<int>(list[i].column));
  return highest;
}

// A position is a column number (an int8_t): 1 to 127.
constexpr int kPositions = 128;

// The framed positions as the list stands: the highest, and each one's cell
// width (its widest entry) and whether it is in the strip (as its last entry
// is). Measured anew by every building step, since the layout dialog and the
// strips change the list between them.
struct FramedPositions {
  int highest;
  int width[kPositions];
  bool inStrip[kPositions];
};

void MeasureFramed(const TabuColumn* list, int n, FramedPositions* fp) {
  fp->highest = 0;
  std::fill(fp->width, fp->width + kPositions, 0);
  std::fill(fp->inStrip, fp->inStrip + kPositions, false);
  for (int i = 0; i < n; i++) {
    if (!ChosenFramed(list[i])) continue;
    const int p = list[i].column;
    fp->highest = std::max(fp->highest, p);
    if (p < 1) continue;
    fp->width[p] = std::max(fp->width[p], static_cast<int>(list[i].width));
    fp->inStrip[p] = StripState(list[i]) == 1;
  }
}

// The entry of each position 1..highest on a framed row: the first in the
// list, -1 where none.
void FramedRowEntries(const TabuColumn* list, int n, int row, int highest, int* entry) {
  std::fill(entry, entry + highest + 1, -1);
  for (int i = n - 1; i >= 0; i--)
    if (ChosenFramed(list[i]) && list[i].row == row && list[i].column >= 1) entry[list[i].column] = i;
}

// 1 found (the record current), 0 not found, -1 an error.
int FindLayoutRecord(const char* code) {
  const TabuValue& v = TabuRun.value;
  const std::string key = Padded(code, TABU_WER_LEN) + Padded(TabuRun.settingsName, TABU_BAZ_LEN) +
                          Padded(v.fieldName, TABU_POL_LEN);
  int r = d4seek(Z5TABW.table, key.c_str());
  if (r < 0) return -1;
  if (r != 0) return 0;
  if (Trimmed(f4ptr(Z5TABW.re1), f4len(Z5TABW.re1)).empty()) return 1;
  const std::string source = Trimmed(v.sourceName, sizeof v.sourceName);
  for (;;) {
    const std::string at = std::string(f4ptr(Z5TABW.wer), TABU_WER_LEN) + std::string(f4ptr(Z5TABW.baz), TABU_BAZ_LEN) +
                           std::string(f4ptr(Z5TABW.pol), TABU_POL_LEN);
    if (d4eof(Z5TABW.table) || at != key) return 0;
    if (std::strncmp(f4ptr(Z5TABW.re1), source.c_str(), source.size()) == 0) return 1;
    r = d4skip(Z5TABW.table, 1);
    if (r < 0) return -1;
    if (r != 0) return 0;
  }
}

// Copies a name into a zeroed buffer, leaving its last byte the terminator:
// strncpy would clear the rest again for every cell.
void CopyName(char* to, const char* from, size_t size) {
  for (size_t k = 0; k + 1 < size && from[k]; k++) to[k] = from[k];
}

std::string RightAligned(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return std::string(static_cast<size_t>(std::max(0, w)), '*');
  return std::string(static_cast<size_t>(w) - s.size(), ' ') + s;
}

}  // namespace

std::string TabuGroupedNumber(double number, int valueWidth, int decimals, int w) {
  char buffer[256];
  const int n = MemPrintDoubleFmt(buffer, number, std::min(valueWidth + 1, 120), decimals & 15);
  std::string s(buffer, static_cast<size_t>(std::max(0, n)));
  const size_t first = s.find_first_not_of(' ');
  s.erase(0, first == std::string::npos ? s.size() : first);
  return RightAligned(s, w);
}

std::string TabuNumberText(double number, int valueWidth, int decimals, int w, bool freeLine) {
  if (valueWidth < 6) {
    const int width = freeLine ? valueWidth : w;
    std::string s(static_cast<size_t>(std::max(0, width)), ' ');
    if (width > 0) ToMemCopyDoubleFmt(s.data(), number, width, decimals);
    return s;
  }
  return TabuGroupedNumber(number, valueWidth, decimals, w);
}

std::string TabuDefaultExportName(const TabuColumn& e) {
  if (e.heading2 && e.heading2[0]) return Padded(e.heading2, kExportNameLength);
  return Padded(TabuRun.value.fieldName, kExportNameLength);
}

bool TabuYes(int message) {
  const int answer = ScreenQuestion(nullptr, EnvFindString(message));
  return answer == 'T' || answer == 't';
}

int TabuHighestRow(const TabuColumn* list, bool freeLines) { return HighestRow(list, freeLines); }

int TabuCount(const TabuColumn* list) {
  int n = 0;
  while (!(list[n].flags & TABU_LAST)) n++;
  return n + 1;
}

void SetTabuSettingsName(DbTable* table, const char* givenName) {
  TabuRun.givenName = givenName ? givenName : "";
  TabuRun.settingsName = givenName ? givenName : (table ? d4alias(table) : "");
}

void FillTabuValue(TabuColumn* list, int index) {
  TabuValue& v = TabuRun.value;
  std::memset(&v, 0, sizeof v);
  TabuColumn& e = list[index];
  DbField* field = e.field ? *e.field : nullptr;
  if (field) {
    const unsigned length = f4len(field);
    v.width = length > 99 ? 99 : static_cast<int32_t>(length);
    v.type = static_cast<char>(f4type(field));
    if (v.type == 'N' || v.type == 'F') {
      v.number = f4double(field);
      v.decimals = f4decimals(field);
    }
    std::memcpy(v.text, f4ptr(field), std::min<size_t>(length, sizeof v.text));
    CopyName(v.fieldName, f4name(field), sizeof v.fieldName);
    const char* source = !TabuRun.givenName.empty() ? TabuRun.givenName.c_str() : d4alias(f4data(field));
    CopyName(v.sourceName, source, sizeof v.sourceName);
  }
  if (e.valueRoutine) e.valueRoutine(&v);
  if (!field && !e.valueRoutine) ErrLogMessage(EL_ERROR, kLogNoValue, "");
  if (index < TABU_SLOTS) {
    TabuRun.valueWidth[index] = v.width;
    TabuRun.decimals[index] = v.decimals;
    TabuRun.types[index] = v.type;
  }
}

void SplitPrintedName(int index, std::string* line1, std::string* line2) {
  const std::string name = Trimmed(TabuRun.names[index], TABU_NAME);
  const size_t tilde = name.find('~');
  *line1 = name.substr(0, tilde);
  *line2 = tilde == std::string::npos ? "" : name.substr(tilde + 1);
  const size_t second = line2->find('~');
  if (second != std::string::npos) line2->resize(second);
}

std::string FactoryName(const TabuColumn& e) {
  if (e.flags & TABU_NO_NAME) return "";
  std::string name = e.heading1 ? e.heading1 : "";
  if (e.heading2 && e.heading2[0]) name += std::string("~") + e.heading2;
  return name.substr(0, TABU_NAME);
}

void SetPrintedName(int index, const std::string& name) {
  std::memcpy(TabuRun.names[index], Padded(name, TABU_NAME).data(), TABU_NAME);
}

int TabuNeededWidth(const TabuColumn* list) {
  int sum = 0;
  for (int p = 1, last = HighestPosition(list); p <= last; p++) {
    int w = -1;
    for (int i = 0, n = TabuCount(list); i < n; i++)
      if (ChosenFramed(list[i]) && list[i].column == p) w = std::max(w, static_cast<int>(list[i].width));
    if (w >= 0) sum += w + 1;
  }
  return sum ? sum + 1 : 0;
}

void ComputeTabuWidth(TabuColumn* list, int index) {
  TabuColumn& e = list[index];
  if (e.width >= 0) return;
  FillTabuValue(list, index);
  const TabuValue& v = TabuRun.value;
  int w = v.type == 'D' ? 8 : v.width;
  if (v.type == 'N' && v.width > 0) {
    char buffer[160];
    const int written = MemPrintDoubleFmt(buffer, v.number, std::min(v.width, 99), v.decimals & 15);
    if (written > v.width) w += written - v.width;
  }
  if (e.heading1) w = std::max(w, static_cast<int>(std::strlen(e.heading1)));
  if (e.heading2) w = std::max(w, static_cast<int>(std::strlen(e.heading2)));
  e.width = static_cast<int8_t>(std::min(w, 99));
}

int BuildTabuHeadings(TabuColumn* list, TabuLineSink* sink) {
  TabuRunState& run = TabuRun;
  const unsigned char* f = run.frame;
  for (int r = 0; r < RULE_COUNT; r++) run.rules[r].assign(TABU_LINE, static_cast<char>(f[FR_H]));
  run.rules[RULE_TOP][0] = static_cast<char>(f[FR_TL]);
  run.rules[RULE_MID][0] = static_cast<char>(f[FR_LT]);
  run.rules[RULE_BOT][0] = static_cast<char>(f[FR_BL]);
  const int n = TabuCount(list), rows = HighestRow(list, false);
  FramedPositions fp;
  MeasureFramed(list, n, &fp);
  int entry[kPositions];
  run.rulesLength = 1;
  bool topPrinted = false;
  for (int row = 1; row <= rows; row++) {
    std::string line1(TABU_LINE, ' '), line2(TABU_LINE, ' ');
    line1[0] = line2[0] = static_cast<char>(f[FR_V]);
    bool named1 = false, named2 = false;
    int at = 0;
    FramedRowEntries(list, n, row, fp.highest, entry);
    for (int p = 1; p <= fp.highest; p++) {
      const int w = fp.width[p];
      if (!fp.inStrip[p] || w <= 0) continue;
      if (at + w + 1 >= TABU_LINE) break;
      const int i = entry[p];
      if (i >= 0) {
        std::string l1, l2;
        SplitPrintedName(i, &l1, &l2);
        l1 = l1.substr(0, static_cast<size_t>(w));
        l2 = l2.substr(0, static_cast<size_t>(w));
        if (!l1.empty()) {
          Place(&line1, at + 1 + (w - static_cast<int>(l1.size())) / 2, l1);
          named1 = true;
          if (!l2.empty()) {
            Place(&line2, at + 1 + (w - static_cast<int>(l2.size())) / 2, l2);
            named2 = true;
          }
        }
      }
      at += w + 1;
      run.rules[RULE_TOP][static_cast<size_t>(at)] = static_cast<char>(f[FR_TT]);
      run.rules[RULE_MID][static_cast<size_t>(at)] = static_cast<char>(f[FR_X]);
      run.rules[RULE_BOT][static_cast<size_t>(at)] = static_cast<char>(f[FR_BT]);
      line1[static_cast<size_t>(at)] = line2[static_cast<size_t>(at)] = static_cast<char>(f[FR_V]);
    }
    if (at > 0) {
      run.rules[RULE_TOP][static_cast<size_t>(at)] = static_cast<char>(f[FR_TR]);
      run.rules[RULE_MID][static_cast<size_t>(at)] = static_cast<char>(f[FR_RT]);
      run.rules[RULE_BOT][static_cast<size_t>(at)] = static_cast<char>(f[FR_BR]);
    }
    run.rulesLength = at + 1;
    if (!topPrinted) {
      if (sink->Text(run.rules[RULE_TOP], run.rulesLength) != 0) return -1;
      topPrinted = true;
    }
    if (named1 && sink->Text(line1, at + 1) != 0) return -1;
    if (named2 && sink->Text(line2, at + 1) != 0) return -1;
  }
  return sink->Text(run.rules[RULE_MID], run.rulesLength);
}

int BuildTabuFreeLines(TabuColumn* list, TabuLineSink* sink, TabuCellRoutine cell, int onlyRow) {
  const int rows = HighestRow(list, true);
  bool any = false;
  for (int row = 1; row <= rows; row++) {
    if (onlyRow > 0 && row != onlyRow) continue;
    std::string labels(TABU_LINE, ' '), values(TABU_LINE, ' ');
    bool onRow = false;
    for (int i = 0, n = TabuCount(list); i < n; i++) {
      const TabuColumn& e = list[i];
      if (!Chosen(e) || !FreeLine(e) || e.row != row) continue;
      onRow = true;
      std::string l1, l2;
      SplitPrintedName(i, &l1, &l2);
      std::string label = l1.empty() ? "" : l1 + (l2.empty() ? "" : " " + l2) + ":";
      Place(&labels, e.column, label);
      Place(&values, e.column + static_cast<int>(label.size()),
            cell(list, i, std::max(0, static_cast<int>(e.width)), true, true));
    }
    if (!onRow) continue;
    labels.resize(TABU_LINE - 1);
    values.resize(TABU_LINE - 1);
    const size_t a = labels.find_last_not_of(' '), b = values.find_last_not_of(' ');
    const int length = static_cast<int>(std::max(a == std::string::npos ? 0 : a + 1, b == std::string::npos ? 0 : b + 1));
    if (sink->Pair(labels, values, length, false) != 0) return -1;
    any = true;
  }
  return any ? 1 : 0;
}

int BuildTabuFramedRows(TabuColumn* list, TabuLineSink* sink, TabuCellRoutine cell, int onlyRow) {
  const int n = TabuCount(list), rows = HighestRow(list, false);
  FramedPositions fp;
  MeasureFramed(list, n, &fp);
  int entry[kPositions];
  const unsigned char v = TabuRun.frame[FR_V];
  for (int row = 1; row <= rows; row++) {
    if (onlyRow > 0 && row != onlyRow) continue;
    std::string frame(TABU_LINE, ' '), values(TABU_LINE, ' ');
    frame[0] = static_cast<char>(v);
    int at = 0;
    bool full = false;
    FramedRowEntries(list, n, row, fp.highest, entry);
    for (int p = 1; p <= fp.highest; p++) {
      const int w = fp.width[p];
      const int i = entry[p];
      bool shown = fp.inStrip[p] && w > 0 && !full;
      if (shown && at + w + 1 >= TABU_LINE - 1) {
        shown = false;
        full = true;
      }
      // Every value is taken, so the totals hold columns of other strips too.
      const std::string text = i >= 0 ? cell(list, i, w, false, shown) : "";
      if (!shown) continue;
      Place(&values, at + 1, text.substr(0, static_cast<size_t>(w)));
      at += w + 1;
      frame[static_cast<size_t>(at)] = static_cast<char>(v);
    }
    if (sink->Pair(frame, values, at + 1, true) != 0) return -1;
  }
  return 0;
}

void LoadTabuLayout(TabuColumn* list, const char* code, bool exportChoice) {
  DbEngine* engine = &EnvCurrent()->engine;
  const int savedError = engine->error_code;
  const int n = TabuCount(list);
  bool opened = open_tabu(0) == 0;
  if (opened) PrintMessageOn(1, kMsgReadLayout);
  for (int i = 0; i < n && i < TABU_SLOTS; i++) {
    TabuColumn& e = list[i];
    FillTabuValue(list, i);
    const int found = opened ? FindLayoutRecord(code) : 0;
    if (found < 0) break;
    if (found == 0) {
      SetPrintedName(i, exportChoice ? TabuDefaultExportName(e) : FactoryName(e));
      continue;
    }
    const bool chosen = f4long(Z5TABW.czy) != 0;
    e.flags = static_cast<int16_t>(chosen ? e.flags | TABU_CHOSEN : e.flags & ~TABU_CHOSEN);
    if (exportChoice) {
      SetPrintedName(i, std::string(f4ptr(Z5TABW.naz), kExportNameLength));
      continue;
    }
    const bool framed = f4char(Z5TABW.typ) == '|';
    e.flags = static_cast<int16_t>(framed ? e.flags & ~TABU_FREE_LINE : e.flags | TABU_FREE_LINE);
    e.row = static_cast<int8_t>(f4long(Z5TABW.rza));
    e.column = static_cast<int8_t>(f4long(Z5TABW.kol));
    e.width = static_cast<int8_t>(f4long(Z5TABW.wid));
    SetPrintedName(i, std::string(f4ptr(Z5TABW.naz), TABU_NAME));
  }
  if (opened) {
    PrintMessageOff();
    close_tabu();
  }
  engine->error_code = savedError;
}

void SaveTabuLayout(TabuColumn* list, const char* code, bool exportChoice) {
  DbEngine* engine = &EnvCurrent()->engine;
  const int savedError = engine->error_code;
  if (open_tabu(0) != 0) {
    engine->error_code = savedError;
    return;
  }
  PrintMessageOn(1, kMsgSaveLayout);
  for (int i = 0, n = TabuCount(list); i < n && i < TABU_SLOTS; i++) {
    const TabuColumn& e = list[i];
    FillTabuValue(list, i);
    const int found = FindLayoutRecord(code);
    if (found < 0) break;
    const bool append = found == 0;
    if (append) {
      if (d4append_start(Z5TABW.table, 0) != 0) continue;
      d4blank(Z5TABW.table);
      f4assign(Z5TABW.wer, Padded(code, TABU_WER_LEN).c_str());
      f4assign(Z5TABW.baz, Padded(TabuRun.settingsName, TABU_BAZ_LEN).c_str());
      f4assign(Z5TABW.pol, Padded(TabuRun.value.fieldName, TABU_POL_LEN).c_str());
    }
    f4assign_long(Z5TABW.czy, Chosen(e) ? 1 : 0);
    if (exportChoice) {
      f4assign_n(Z5TABW.naz, Padded(std::string(TabuRun.names[i], kExportNameLength), TABU_NAME).data(), TABU_NAME);
    } else {
      f4assign_char(Z5TABW.typ, FreeLine(e) ? '-' : '|');
      f4assign_long(Z5TABW.rza, e.row);
      f4assign_long(Z5TABW.kol, e.column);
      f4assign_long(Z5TABW.wid, std::max(0, static_cast<int>(e.width)));
      f4assign_n(Z5TABW.naz, TabuRun.names[i], TABU_NAME);
    }
    f4assign(Z5TABW.re1, TabuRun.value.sourceName);
    if (append)
      d4append(Z5TABW.table);
    else
      d4write(Z5TABW.table, d4recno(Z5TABW.table));
  }
  PrintMessageOff();
  close_tabu();
  engine->error_code = savedError;
}
