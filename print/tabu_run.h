// The state of a tabulogram run and the steps that build its lines, shared
// by the printing, the layout dialog, the preview and the export. One run at
// a time.
#pragma once
#include <string>
#include "print/tabulogram.h"

constexpr int TABU_SLOTS = 70;
constexpr int TABU_LINE = 600;
constexpr int TABU_NAME = 30;

// Frame characters, in this order.
enum { FR_V, FR_H, FR_TL, FR_TT, FR_TR, FR_BL, FR_BT, FR_BR, FR_LT, FR_X, FR_RT, FR_COUNT };
// The single-line box pieces of the Mazovia code page, in that order.
extern const unsigned char TabuBoxFrame[FR_COUNT];
enum { RULE_TOP, RULE_MID, RULE_BOT, RULE_PLAIN, RULE_COUNT };

struct TabuRunState {
  TabuValue value;
  int scanEnd;          // 0 records remain; 1 ended as a page's count was used up; 2 totals due
  bool done;
  bool strips;
  bool framed;
  unsigned char frame[FR_COUNT];
  std::string rules[RULE_COUNT];
  int rulesLength;      // characters of the rules as the last headings built them
  double totals[TABU_SLOTS];
  int valueWidth[TABU_SLOTS];     // of the last value met, for the totals
  int decimals[TABU_SLOTS];
  char types[TABU_SLOTS];
  char names[TABU_SLOTS][TABU_NAME];   // printed names, blank-padded
  std::string settingsName;            // in force
  std::string givenName;               // empty: none
  int lineWidth;
};
extern TabuRunState TabuRun;

inline int StripState(const TabuColumn& e) { return e.flags & TABU_STRIP_MASK; }
inline void SetStripState(TabuColumn& e, int state) {
  e.flags = static_cast<int16_t>((e.flags & ~TABU_STRIP_MASK) | state);
}
inline bool Chosen(const TabuColumn& e) { return (e.flags & TABU_CHOSEN) != 0; }
inline bool FreeLine(const TabuColumn& e) { return (e.flags & TABU_FREE_LINE) != 0; }
inline bool ChosenFramed(const TabuColumn& e) { return Chosen(e) && !FreeLine(e); }

// Entries of the list up to and including the last.
int TabuCount(const TabuColumn* list);
// TabuRun.value for the entry, from its field and its value routine.
void FillTabuValue(TabuColumn* list, int index);
// The printed name's two lines (trailing blanks dropped, split at '~').
void SplitPrintedName(int index, std::string* line1, std::string* line2);
// The factory printed name: heading 1, '~' and heading 2, cut to 30.
std::string FactoryName(const TabuColumn& e);
void SetPrintedName(int index, const std::string& name);
// Numbers of cells: grouped by thousands, right-aligned in w, asterisks when
// longer; values narrower than 6 as plain numbers (free lines in their own width).
std::string TabuGroupedNumber(double number, int valueWidth, int decimals, int w);
std::string TabuNumberText(double number, int valueWidth, int decimals, int w, bool freeLine);
// The width needed by the chosen framed columns (the width check).
int TabuNeededWidth(const TabuColumn* list);
// Computes the width of an entry marked to be computed.
void ComputeTabuWidth(TabuColumn* list, int index);
// The settings name in force for a table and a given name (may be NULL).
void SetTabuSettingsName(DbTable* table, const char* givenName);

// Where the building steps put their lines: rules and headings as text,
// record lines as a text line with its value line.
class TabuLineSink {
 public:
  virtual ~TabuLineSink() = default;
  virtual int Text(const std::string& line, int length) = 0;
  virtual int Pair(const std::string& text, const std::string& values, int length, bool skipBlank) = 0;
};
// The text of a column's cell, w wide (free line: in the value's own width).
// Not shown (another strip's, or past the line's end): the value is taken
// all the same, for the totals, and no text is made.
typedef std::string (*TabuCellRoutine)(TabuColumn* list, int index, int w, bool freeLine, bool shown);

int BuildTabuHeadings(TabuColumn* list, TabuLineSink* sink);
// 1 when any free line was put, 0 none, -1 on an error.
// onlyRow > 0 builds that row alone.
int BuildTabuFreeLines(TabuColumn* list, TabuLineSink* sink, TabuCellRoutine cell, int onlyRow = 0);
int BuildTabuFramedRows(TabuColumn* list, TabuLineSink* sink, TabuCellRoutine cell, int onlyRow = 0);
int TabuHighestRow(const TabuColumn* list, bool freeLines);

// Layouts in Z5TABW under a code ("TAA", "TAB", "TAC", "EXP").
void LoadTabuLayout(TabuColumn* list, const char* code, bool exportChoice);
void SaveTabuLayout(TabuColumn* list, const char* code, bool exportChoice);

// The export name of a column without a saved one: its second heading, else
// its field's name (TabuRun.value filled for it), blank-padded to 10.
std::string TabuDefaultExportName(const TabuColumn& e);
// A yes/no question by message number: true for 'T'.
bool TabuYes(int message);
// The dialog: 1 print, 0 cancelled.
int TabuLayoutDialog(TabuColumn* list, const char* title);
// The get validator of export field names: 0, or 1 after the message.
struct Get4;
int ValidExportFieldName(Get4* get);
// The preview window.
void ShowTabuPreview(TabuColumn* list);
