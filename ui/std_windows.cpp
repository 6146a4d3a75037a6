#include "ui/std_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/memory.h"
#include "env/messages.h"
#include "platform/screen_hook.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/window4.h"

const char kStdFrame[9] = "\xCB\xCA\xCC\xB9\xC9\xBB\xC8\xBC";

unsigned char SearchColours[8] = {0x8E, 0x8F, 0x8F, 0x70, 0x00, 0x90, 0x90, 0x90};
unsigned char EntryColours[8] = {0x8E, 0x8F, 0x8E, 0x70, 0x82, 0x90, 0x90, 0x90};
unsigned char OptionsColours[8] = {0x17, 0x1F, 0x1F, 0x70, 0x1E, 0x90, 0x90, 0x90};
unsigned char IncomeColours[8] = {0x1E, 0x1F, 0x1F, 0x70, 0x1F, 0x90, 0x90, 0x90};
unsigned char BrowseEditColours[8] = {0x17, 0x1F, 0x1F, 0x70, 0x1E, 0x90, 0x90, 0x90};
unsigned char ReportColours[8] = {0x8E, 0x8F, 0x8E, 0x70, 0x00, 0x90, 0x90, 0x90};
unsigned char GlobalOptionsColours[8] = {0x8E, 0x8F, 0x8F, 0x70, 0x00, 0x90, 0x90, 0x90};

namespace {

// Texts in the system's character set.
const char kTitleCritical[] = "B\x9C\x8F" "D KRYTYCZNY";   // BŁĄD KRYTYCZNY
const char kTitleError[] = "B\x9C\x8F" "D";               // BŁĄD
const char kTitleNet[] = "SIE\x95";                       // SIEĆ
const char kTitleCharts[] = "Wybierz dane do wykres\xA2w (max.4)";
constexpr int kPressAnyKey = 50011;

int criticalWindow = -1, helpWindow = -1, netWindow = -1;
int filtersRow = 0, filtersCol = 0, filtersHeight = 0;

struct Layout {
  int defRow, defCol, defHeight, defWidth;
  int placement;
  bool saveUnder;
  int attr;
  int titleAttr;
  int frameAttr;   // -1: no frame
};

// Defines a layout window; `frameIfFits` draws the frame only when DefineWindow says it fits.
int MakeLayout(int row, int col, int height, int width, int flags, const Layout& l, const char* title,
               bool frameIfFits = false) {
  int fits = 1;
  int h = DefineWindow(row, col, height, width, flags, l.defRow, l.defCol, l.defHeight, l.defWidth, l.placement,
                       &fits);
  if (h < 0) return -1;
  if (l.saveUnder) w4popup();
  w4attribute(l.attr);
  if (l.frameAttr >= 0 && (!frameIfFits || (fits & 1))) w4border(kStdFrame, l.frameAttr);
  if (title) w4title(0, -1, title, l.titleAttr);
  return h;
}

void SetForm(int handle, unsigned char* colours, void* wigets, void* data) {
  Window4* w = w4record(handle);
  if (!w) return;
  w->colourSet = colours;
  w->wigets = wigets;
  w->formData = data;
}

}  // namespace

// ---- standard windows

void open_envr_win() {
  Environment* env = EnvCurrent();
  criticalWindow = MakeLayout(-1, -1, -1, -1, DW_NO_FRAME_GROWTH, {10, 1, 9, 78, 0, true, 79, 228, 78}, kTitleCritical);
  int message = MakeLayout(-1, -1, -1, -1, DW_NO_FRAME_GROWTH, {12, 22, 5, 40, 0, true, 143, 248, 143}, "KOMUNIKAT");
  int status = MakeLayout(-1, -1, -1, -1, DW_NO_FRAME_GROWTH, {28, 0, 1, 80, 0xB0, true, 142, 0, -1}, nullptr);
  helpWindow = MakeLayout(-1, -1, -1, -1, DW_NO_FRAME_GROWTH, {29, 0, 1, 80, 0xB0, true, 14, 0, -1}, nullptr);
  netWindow = MakeLayout(-1, -1, -1, -1, DW_NO_FRAME_GROWTH, {12, 22, 5, 36, 0, true, 143, 232, 142}, kTitleNet);
  if (env) {
    env->messageWindow = message;
    env->statusWindow = status;
  }
}

void close_envr_win() {
  Environment* env = EnvCurrent();
  w4close(helpWindow);
  helpWindow = -1;
  if (env) {
    if (env->statusWindow >= 0) w4close(env->statusWindow);
    if (env->messageWindow >= 0) w4close(env->messageWindow);
    env->statusWindow = env->messageWindow = -1;
  }
  if (criticalWindow >= 0) w4close(criticalWindow);
  criticalWindow = -1;
  if (netWindow >= 0) w4close(netWindow);
  netWindow = -1;
}

int StdCriticalWindow() { return criticalWindow; }
int StdHelpWindow() { return helpWindow; }
int StdNetWindow() { return netWindow; }

int ShowCriticalErrorWindow(const char* text) {
  std::string all = text ? text : "";
  Window4* w = w4record(criticalWindow);
  if (!w || !Desktop.cells) {
    if (all.empty() || all.back() != '\n') all += '\n';
    DisplayCurrent()->infoBox("Zelmor WIN", all.c_str());
    return KEY_ESC;
  }
  int previous = w4select(criticalWindow);
  w4attribute(79);
  w4title(0, -1, kTitleError, 244);
  w4activate(criticalWindow);
  w = w4record(criticalWindow);
  int row = 1;
  size_t start = 0;
  while (start <= all.size() && row < w->height) {
    size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    std::string line = all.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) w4centre(row++, line.substr(0, static_cast<size_t>(w->width)).c_str());
    start = end + 1;
  }
  if (row <= 6 && row < w->height) w4centre(6, EnvFindString(TextRef(kPressAnyKey)));
  int key = g4char();
  clr_key_buf();
  w4deactivate(criticalWindow);
  w4select(criticalWindow);
  w4attribute(78);
  w4title(0, -1, kTitleCritical, 228);
  w4select(previous);
  return key;
}

// ---- layouts

int DefineZazuveWindow(int row, int col, int height, int width, const char* title) {
  return MakeLayout(row, col, height, width, 0, {11, 21, 8, 37, 0, true, 143, 248, 143}, title);
}

int DefineFrontoweWindow(const char* title) {
  return MakeLayout(-1, -1, -1, -1, 0, {2, 0, 26, 80, 0xF0, false, 112, 142, 120}, title);
}

int DefinePodatnikWindow() { return MakeLayout(-1, -1, -1, -1, 0, {28, 0, 1, 80, 0xB0, true, 142, 0, -1}, nullptr); }

int DefineSeekWindow(int row, int col, int height, int width, const char* title, int flags, void* wigets,
                     void* data) {
  int h = MakeLayout(row, col, height, width, flags,
                     {28, 0, 1, 80, 0xB0, true, wigets ? 143 : 113, 232, (flags & 2) ? -1 : 142}, title);
  SetForm(h, SearchColours, wigets, data);
  return h;
}

int DefineWprowadzWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data) {
  int h = MakeLayout(row, col, height, width, 0, {10, 14, 6, 51, 0, true, 143, 232, 142}, title);
  EntryColours[2] = 141;
  SetForm(h, EntryColours, wigets, data);
  return h;
}

int DefineOpcjeWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data,
                      int flags) {
  int h = MakeLayout(row, col, height, width, flags, {row, col, height, width, 0, true, 31, 241, 31}, title, true);
  OptionsColours[2] = 29;
  SetForm(h, OptionsColours, wigets, data);
  return h;
}

int DefineDeklaracjaWindow(const char* title) {
  return MakeLayout(-1, -1, -1, -1, 0, {1, 0, 26, 80, 0, true, 112, 240, 127}, title);
}

int DefineDochodoweWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data) {
  int h = MakeLayout(row, col, height, width, 0, {2, 0, 23, 78, DW_FRAME, true, 31, 225, 30}, title, true);
  SetForm(h, IncomeColours, wigets, data);
  return h;
}

int DefineBroAppeWindow(int row, int col, int height, int width, const char* title, int flags, void* wigets,
                        void* data) {
  int h = MakeLayout(row, col, height, width, flags, {2, 0, 25, 80, 0, true, 31, 225, 30}, title);
  BrowseEditColours[2] = 29;
  SetForm(h, BrowseEditColours, wigets, data);
  return h;
}

int DefineDaneDoWykresowWindow() {
  return MakeLayout(-1, -1, 1, 1, 0, {-1, -1, 1, 1, 0, true, 249, 159, 249}, kTitleCharts);
}

int DefineRaportoweWindow(int row, int col, int height, int width, const char* title, void* wigets, void* data,
                          int flags) {
  int h = MakeLayout(row, col, height, width, flags, {2, 0, 25, 80, 0, true, 143, 232, (flags & 2) ? -1 : 142},
                     title);
  ReportColours[2] = 141;
  SetForm(h, ReportColours, wigets, data);
  return h;
}

int DefineBlackWindow() { return MakeLayout(-1, -1, -1, -1, 0, {0, 0, 30, 80, 0xF0, true, 7, 0, -1}, nullptr); }

int DefineOpcjeGlobalneWindow(int row, int col, int height, int width, const char* title, void* wigets,
                              void* data) {
  int h = MakeLayout(row, col, height, width, 0, {3, 0, 25, 80, 0, true, 143, 232, 142}, title);
  SetForm(h, GlobalOptionsColours, wigets, data);
  return h;
}

int DefineAutoModyfikacjaWindow(int row, int col, int height, int width, const char* title) {
  return MakeLayout(row, col, height, width, 0, {3, 0, 25, 80, 0, true, 143, 232, 142}, title);
}

int DefineChartWindow(const char* title) {
  return MakeLayout(-1, -1, -1, -1, 0, {1, 0, 27, 80, 0xF0, true, 7, 144, 9}, title);
}

int DefineWyboruWindow(int row, int col, const char* title) {
  return MakeLayout(row, col, 1, 1, 0, {row, col, 1, 1, 0, true, 249, 159, 249}, title ? title : "WYBIERZ");
}

int DefineDialogWindow(int row, int col, int height, int width, const char* title) {
  return MakeLayout(row, col, height, width, 0, {row, col, height, width, 0, true, 95, 245, 95}, title);
}

int DefineEksportoweWindow(int row, int col, int height, int width, const char* title) {
  return MakeLayout(row, col, height, width, 0, {3, 0, 25, 80, 0, true, 31, 158, 25}, title);
}

int OpenFiltryWindow(int topRow) {
  int h = MakeLayout(topRow, -1, 28 - topRow, -1, 0, {topRow, 0, 28 - topRow, 80, 0xB0, true, 142, 232, 142},
                     "FILTRY");
  if (h < 0) return -1;
  w4activate(h);
  Window4* w = w4record(h);
  filtersRow = w->row;
  filtersCol = w->col;
  filtersHeight = w->height;
  return h;
}

int DefineFiltryMenu(int longestLabel) {
  int h = w4define(filtersRow, filtersCol, filtersRow + filtersHeight - 1, filtersCol + longestLabel + 1);
  if (h >= 0) w4attribute(142);
  return h;
}

// ---- key-hint line

namespace {

struct HintSet {
  DbLink link;
  DbList hints;
};

DbList hintStack;

void DrawHelpLine() {
  Window4* w = w4record(helpWindow);
  if (!w || !Desktop.cells) return;
  int previous = w4select(helpWindow);
  int x = w->col, end = w->col + Desktop.cols - 3;
  ImagePutText(x, w->row, ' ', end - x, 14);
  HintSet* top = static_cast<HintSet*>(l4last(&hintStack));
  for (KeyHint* h = top ? static_cast<KeyHint*>(l4first(&top->hints)) : nullptr; h;
       h = static_cast<KeyHint*>(l4next(&top->hints, h))) {
    std::string key = std::string("[") + h->keyText + "]-";
    int keyLen = static_cast<int>(key.size());
    if (x + keyLen > end) continue;
    ImagePutText(x, w->row, key.c_str(), keyLen, 7);
    x += keyLen;
    int n = std::min(static_cast<int>(std::strlen(h->description)), end - x);
    ImagePutText(x, w->row, h->description, n, 14);
    x += n + 1;
  }
  ImageRepaint(w->col, w->row, end - w->col, 1);
  w4select(previous);
}

void FreeHints(HintSet* set) {
  while (void* h = l4pop(&set->hints)) u4free(h);
}

}  // namespace

void init_help_line() { hintStack = DbList{}; }

void add_help_line() {
  HintSet* set = static_cast<HintSet*>(u4alloc(sizeof(HintSet)));
  if (!set) return;
  l4add(&hintStack, set);
  DrawHelpLine();
}

int remove_help_line() {
  HintSet* set = static_cast<HintSet*>(l4pop(&hintStack));
  if (!set) return 0;
  FreeHints(set);
  u4free(set);
  DrawHelpLine();
  return 1;
}

int set_fun_help(const char* keyText, const char* description, int order) {
  HintSet* top = static_cast<HintSet*>(l4last(&hintStack));
  if (!top) return 0;
  keyText = keyText ? keyText : "";
  description = description ? description : "";
  KeyHint* place = nullptr;
  for (KeyHint* h = static_cast<KeyHint*>(l4first(&top->hints)); h;
       h = static_cast<KeyHint*>(l4next(&top->hints, h))) {
    if (h->order > order) {
      place = h;
      break;
    }
  }
  KeyHint* hint = static_cast<KeyHint*>(u4alloc(sizeof(KeyHint)));
  if (!hint) return 0;
  if (std::strlen(keyText) < sizeof hint->keyText) std::strcpy(hint->keyText, keyText);
  if (std::strlen(description) < sizeof hint->description) std::strcpy(hint->description, description);
  hint->order = static_cast<signed char>(order);
  for (KeyHint* h = static_cast<KeyHint*>(l4first(&top->hints)); h && h != place;
       h = static_cast<KeyHint*>(l4next(&top->hints, h))) {
    if (h->order == hint->order && std::strcmp(h->keyText, hint->keyText) == 0 &&
        std::strcmp(h->description, hint->description) == 0) {
      u4free(hint);
      return 0;
    }
  }
  if (place)
    l4add_before(&top->hints, place, hint);
  else
    l4add(&top->hints, hint);
  DrawHelpLine();
  return 1;
}

int remove_fun_help(const char* keyText) {
  HintSet* top = static_cast<HintSet*>(l4last(&hintStack));
  if (!top) return 0;
  for (KeyHint* h = static_cast<KeyHint*>(l4first(&top->hints)); h;
       h = static_cast<KeyHint*>(l4next(&top->hints, h))) {
    if (std::strcmp(h->keyText, keyText ? keyText : "") == 0) {
      l4remove(&top->hints, h);
      u4free(h);
      break;
    }
  }
  DrawHelpLine();
  return 1;
}

int EditUntilSaved(EditCtrl* edits, int attr) {
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);
  int key;
  do {
    key = build_get_struct(BGS_ONCE, edits, attr);
  } while (key != KEY_F2 && key != KEY_ESC);
  remove_help_line();
  return key;
}

int ReadGetsUntilSaved() {
  add_help_line();
  set_fun_help("F2", "Zapisz", 2);
  g4release(0);
  int key;
  do {
    key = g4read();
  } while (key != KEY_F2 && key != KEY_ESC);
  g4release(1);
  remove_help_line();
  return key;
}
