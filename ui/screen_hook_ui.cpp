// The screen hook through which the environment, the engine, printing and
// interchange reach the operator once the screen runs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "env/code_pages.h"
#include "platform/screen_hook.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

// The titles the message boxes give their kinds, for the system box used before the screen runs.
const char* const kBoxTitles[] = {"INFORMACJA", "UWAGA", "B\x9C\x8F" "D", "B\x9C\x8F" "D"};

bool ScreenUp() { return Desktop.cells && Desktop.windowPool; }

std::vector<std::string> Lines(const char* text) {
  std::vector<std::string> lines;
  std::string all = text ? text : "", line;
  for (char c : all) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

// A framed box centred on the grid holding the text, shown and current; -1 when none can be made.
int OpenBox(const char* title, const char* text, int attr) {
  std::vector<std::string> lines = Lines(text);
  size_t longest = title ? std::string(title).size() : 0;
  for (const std::string& l : lines) longest = std::max(longest, l.size());
  int width = std::min<int>(static_cast<int>(longest) + 4, Desktop.cols - 2);
  int height = std::min<int>(static_cast<int>(lines.size()) + 2, Desktop.rows - 2);
  int row = (Desktop.rows - height - 2) / 2, col = (Desktop.cols - width - 2) / 2;
  int h = w4define(row, col, row + height + 1, col + width + 1);
  if (h < 0) return -1;
  w4popup();
  w4attribute(attr);
  w4border(kStdFrame, attr);
  if (title) w4title(0, -1, title, attr);
  w4activate(h);
  for (size_t i = 0; i < lines.size() && static_cast<int>(i) + 1 < height; i++)
    w4centre(static_cast<int>(i) + 1, lines[i].substr(0, static_cast<size_t>(width)).c_str());
  return h;
}

void CloseBox(int handle, int previous) {
  w4deactivate(handle);
  w4close(handle);
  w4select(previous);
}

void ToStderr(const char* title, const char* text) {
  std::fprintf(stderr, "%s: %s\n", MazToUtf8Text(title ? title : "").c_str(), MazToUtf8Text(text ? text : "").c_str());
}

void MessageBox(int kind, const char* title, const char* text) {
  if (!ScreenUp()) {
    DisplayCurrent()->infoBox(title ? title : kBoxTitles[std::clamp(kind, 0, 3)], text);
    return;
  }
  static const int kFlags[] = {MB_INFO, MB_WARNING, MB_ERROR, MB_ERROR};
  MessageWindowText(kFlags[std::clamp(kind, 0, 3)], title, text);
}

int Question(const char* title, const char* text) {
  if (!ScreenUp()) {
    ToStderr(title, text);
    return SCREEN_KEY_ESC;
  }
  int answer = MessageWindowText(MB_QUESTION | MB_YES_ESC, title, text);
  return answer == 'T' || answer == 't' ? 'T' : SCREEN_KEY_ESC;
}

int noticeWindow = -1;
int noticePrevious = -1;
bool noticeOwnBox = false;   // a box made for the notice, closed with it

// A notice titled as the network window ("SIE\x95", the lock wait) shows in that
// standard window when it is defined; -1 otherwise.
int StandardNoticeWindow(const char* title) {
  Window4* net = w4record(StdNetWindow());
  return title && net && net->title && std::strcmp(net->title, title) == 0 ? StdNetWindow() : -1;
}

void NoticeOff() {
  if (noticeWindow < 0) return;
  if (noticeOwnBox) {
    CloseBox(noticeWindow, noticePrevious);
  } else {
    w4deactivate(noticeWindow);
    w4select(noticePrevious);
  }
  noticeWindow = -1;
}

void NoticeOn(const char* title, const char* text) {
  if (!ScreenUp()) {
    ToStderr(title, text);
    return;
  }
  NoticeOff();
  noticePrevious = w4select(-1);
  noticeWindow = StandardNoticeWindow(title);
  noticeOwnBox = noticeWindow < 0;
  if (noticeOwnBox) {
    noticeWindow = OpenBox(title ? title : "KOMUNIKAT", text, 143);
  } else {
    w4activate(noticeWindow);
    w4clear(0);
    w4centre(1, text ? text : "");
  }
  DesktopFlush();
}

int WaitKey() { return ScreenUp() ? g4char() : SCREEN_KEY_ESC; }
// While a notice stands the program waits on the operator, who may answer
// it: a headless key script gets to give its next key then, as typing would.
int ReadKey() {
  if (!ScreenUp()) return 0;
  if (noticeWindow >= 0 && !KeyPressed()) WaitFor(1, 1);
  return KeyPressed() ? g4char() : 0;
}
void WaitMs(int milliseconds) { WaitFor(0, milliseconds); }
int CriticalError(const char* text) { return ShowCriticalErrorWindow(text); }

void FatalStop(int exitCode, const char* text) {
  if (text && *text) std::fprintf(stderr, "%s\n", MazToUtf8Text(text).c_str());
  w4init_undo();
  w4close_video(1);
  DisplayCurrent()->close();
  std::exit(exitCode);
}

const ScreenHook uiHook = {MessageBox, Question, NoticeOn, NoticeOff, WaitKey,
                           ReadKey,    WaitMs,   CriticalError, FatalStop};

}  // namespace

void UiInstallScreenHook() { ScreenHookSet(&uiHook); }
