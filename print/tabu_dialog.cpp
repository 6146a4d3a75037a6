// The layout dialog "WYBIERZ DANE DO WYDRUKU": which columns print, where,
// how wide and under which heading; factory settings, saving and the preview.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "platform/screen_hook.h"
#include "print/tabu_run.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int kMsgChooseSeparator = 50067;
constexpr int kMsgFactory = 50068;
constexpr int kMsgSaveLayout = 50069;
constexpr int kKeyF3 = 0x3D00;
constexpr int kKeyF4 = 0x3E00;
constexpr int kKeyF5 = 0x3F00;
constexpr int kPrint = -4, kFactory = -2, kSave = -3, kPreview = -5, kHeading = -1;
constexpr unsigned char kChosenMark = 157;
constexpr int kGetAttr = 143;
constexpr int kItemText = 128;

struct DialogState {
  TabuColumn* list;
  int count;
  std::string code;
  int widthWindow;
  int menuWindow;
  int firstItem;        // handle of the first column item
  char heading[kItemText];
  char items[TABU_SLOTS][kItemText];
  char saveItem[kItemText];
};
DialogState* Dialog;

void Put2(char* at, int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%2i", std::max(0, std::min(value, 99)));
  std::memcpy(at, buffer, 2);
}

void DrawItem(int i) {
  const TabuColumn& e = Dialog->list[i];
  char* text = Dialog->items[i];
  std::string line = Utf8ToMazText("   │    │    │     │                              │  ");
  if (e.heading1) line += e.heading1;
  if (e.heading2 && e.heading2[0]) line += std::string("~") + e.heading2;
  line.resize(std::min(line.size(), static_cast<size_t>(kItemText - 1)));
  std::memcpy(text, line.c_str(), line.size() + 1);
  text[1] = FreeLine(e) ? '-' : '|';
  Put2(text + 5, e.row);
  Put2(text + 10, e.column);
  Put2(text + 15, std::max(0, static_cast<int>(e.width)));
  std::memcpy(text + 20, TabuRun.names[i], TABU_NAME);
  text[51] = Chosen(e) && e.width > 0 ? static_cast<char>(kChosenMark) : ' ';
}

void ShowNeededWidth() {
  TabuRun.lineWidth = TabuNeededWidth(Dialog->list);
  const int previous = w4select(Dialog->widthWindow);
  char text[64];
  std::snprintf(text, sizeof text, "%s%3i", Utf8ToMazText("Szerokość w znakach =").c_str(), TabuRun.lineWidth);
  w4(0, 0, text);
  w4select(previous);
}

// Takes only '|' or '-'; the keys that end a get come back at once.
int SeparatorKey(Get4*, char* buffer, int32_t) {
  for (;;) {
    const int key = g4char();
    if (key == KEY_ENTER || key == KEY_ESC || key == KEY_DOWN || WigetCtrlKey(key)) return key;
    if (key == '|' || key == '-') {
      buffer[0] = static_cast<char>(key);
      return KEY_ENTER;
    }
    ScreenMessageBox(SCREEN_BOX_INFO, nullptr, EnvFindString(kMsgChooseSeparator));
  }
}

// The screen row of a column item inside the menu window.
int ItemRow(int i) {
  Window4* w = w4record(Dialog->menuWindow);
  const int row = i + 1;   // below the heading item
  return w ? std::min(row, w->height - 1) : row;
}

// Edits an unchosen column in place; true when it was stored.
bool EditColumn(int i) {
  TabuColumn& e = Dialog->list[i];
  Window4* menu = w4record(Dialog->menuWindow);
  if (!menu) return false;
  const int previous = w4select(-1);
  const int row = menu->row + ItemRow(i);
  const int window = w4define(row, menu->col, row, menu->col + std::min(menu->width, 52) - 1);
  if (window < 0) return false;
  w4attribute(249);
  w4popup();
  char separator[2] = {FreeLine(e) ? '-' : '|', 0};
  char rowText[3] = {}, colText[3] = {}, widthText[3] = {}, name[TABU_NAME + 1];
  Put2(rowText, e.row);
  Put2(colText, e.column);
  Put2(widthText, e.width);
  std::memcpy(name, TabuRun.names[i], TABU_NAME);
  name[TABU_NAME] = 0;
  g4attribute(kGetAttr);
  g4(0, 1, separator);
  g4call(SeparatorKey, 0);
  g4(0, 5, rowText);
  g4picture("99");
  g4(0, 10, colText);
  g4picture("99");
  g4(0, 15, widthText);
  g4picture("99");
  g4(0, 20, name);
  const int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_ESC) return false;
  e.flags = static_cast<int16_t>(separator[0] == '-' ? e.flags | TABU_FREE_LINE : e.flags & ~TABU_FREE_LINE);
  e.row = static_cast<int8_t>(std::atoi(rowText));
  e.column = static_cast<int8_t>(std::atoi(colText));
  e.width = static_cast<int8_t>(std::atoi(widthText));
  std::memcpy(TabuRun.names[i], name, TABU_NAME);
  e.flags = static_cast<int16_t>(e.flags | TABU_CHOSEN);
  ComputeTabuWidth(Dialog->list, i);
  return true;
}

void Factory() {
  TabuColumn* list = Dialog->list;
  for (int i = 0; i < Dialog->count; i++) {
    TabuColumn& e = list[i];
    e.flags = static_cast<int16_t>((e.flags | TABU_CHOSEN) & ~TABU_FREE_LINE);
    e.row = static_cast<int8_t>(i > 0 && list[i - 1].factoryColumn == e.factoryColumn ? list[i - 1].row + 1 : 1);
    e.column = e.factoryColumn;
    e.width = -1;
    ComputeTabuWidth(list, i);
    SetPrintedName(i, FactoryName(e));
  }
}

void RedrawAll() {
  for (int i = 0; i < Dialog->count; i++) DrawItem(i);
  n4redraw(Dialog->menuWindow);
  ShowNeededWidth();
}

int32_t ItemAction(int32_t value) {
  if (value == kPrint) return kPrint;
  if (value == kFactory) {
    if (TabuYes(kMsgFactory)) Factory();
  } else if (value == kSave) {
    if (TabuYes(kMsgSaveLayout)) SaveTabuLayout(Dialog->list, Dialog->code.c_str(), false);
  } else if (value == kPreview) {
    ShowTabuPreview(Dialog->list);
  } else if (value >= 0 && value < Dialog->count) {
    TabuColumn& e = Dialog->list[value];
    if (Chosen(e) && e.width > 0)
      e.flags = static_cast<int16_t>(e.flags & ~TABU_CHOSEN);
    else
      EditColumn(value);
  }
  RedrawAll();
  return 0;
}

}  // namespace

int TabuLayoutDialog(TabuColumn* list, const char* title) {
  const int count = TabuCount(list);
  if (count >= TABU_SLOTS) return 0;
  DialogState state{};
  Dialog = &state;
  state.list = list;
  state.count = count;
  const char letter = (list[0].flags & TABU_LAYOUT_C) ? 'C' : (list[0].flags & TABU_LAYOUT_B) ? 'B' : 'A';
  state.code = std::string("TA") + letter;
  LoadTabuLayout(list, state.code.c_str(), false);
  for (int i = 0; i < count; i++) ComputeTabuWidth(list, i);

  Environment* env = EnvCurrent();
  const int previous = w4select(-1);
  const std::string widthLabel = Utf8ToMazText("Szerokość w znakach =");
  const int titleLength = static_cast<int>(std::strlen(title ? title : ""));
  const int widthCol = std::max(0, Desktop.cols - std::max(titleLength + 4, static_cast<int>(widthLabel.size()) + 3));
  state.widthWindow = w4define(1, widthCol, 1, Desktop.cols - 1);
  if (state.widthWindow >= 0) {
    w4attribute(249);
    w4popup();
    w4activate(state.widthWindow);
  }
  state.menuWindow = DefineWyboruWindow(-1, -1, "WYBIERZ DANE DO WYDRUKU");
  int result = 0;
  if (state.widthWindow >= 0 && state.menuWindow >= 0) {
    n4attribute(249, 112);
    std::strcpy(state.heading,
                Utf8ToMazText("typ│rząd│kol.│szer.│nazwa drukowana               │nazwa firmowa").c_str());
    n4item(-1, -1, state.heading);
    n4parm(kHeading);
    n4action(ItemAction);
    for (int i = 0; i < count; i++) {
      DrawItem(i);
      n4item(-1, -1, state.items[i]);
      n4parm(i);
      n4action(ItemAction);
    }
    struct Extra {
      const char* text;
      int key, value;
    } extras[] = {{"[F2]-Drukuj tabulogram  ", KEY_F2, kPrint},
                  {"[F3]-Przywróć ustawienia firmowe ", kKeyF3, kFactory},
                  {"[F4]-Zapisz konfigurację", kKeyF4, kSave},
                  {"[F5]-Pokaż wydruk", kKeyF5, kPreview}};
    std::vector<std::string> extraTexts;
    for (const Extra& x : extras) extraTexts.push_back(Utf8ToMazText(x.text));
    for (size_t k = 0; k < extraTexts.size(); k++) {
      n4item(-1, -1, extraTexts[k].c_str());
      n4key(extras[k].key, 1, -1);
      n4parm(extras[k].value);
      n4action(ItemAction);
    }
    set_fun_help("F2", "Drukuj", 1);
    set_fun_help("F3", Utf8ToMazText("Przywróć").c_str(), 2);
    set_fun_help("F4", "Zapisz", 3);
    set_fun_help("F5", Utf8ToMazText("Pokaż").c_str(), 4);
    n4calc(state.menuWindow, 2, Desktop.cols - 1);
    ShowNeededWidth();
    MenuKeySource saved = env->menuKeyRoutine;
    n4char_routine(nullptr);
    const int answer = n4activate(state.menuWindow, 0, nullptr, nullptr, 1);
    n4char_routine(saved);
    result = answer == kPrint ? 1 : 0;
    remove_fun_help("F2");
    remove_fun_help("F3");
    remove_fun_help("F4");
    remove_fun_help("F5");
  }
  if (state.menuWindow >= 0) w4close(state.menuWindow);
  if (state.widthWindow >= 0) {
    w4deactivate(state.widthWindow);
    w4close(state.widthWindow);
  }
  w4select(previous);
  Dialog = nullptr;
  return result;
}
