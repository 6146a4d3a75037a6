#include "ui/message_box.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/session/environment.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/temp_strings.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_PROMPT_ANY_KEY = 50011;
constexpr int MSG_PROMPT_YES_ESC = 50021;
constexpr int MSG_PROMPT_F2 = 50093;
constexpr int MSG_PROMPT_ESC_NO = 50094;
constexpr int MSG_SAVE_ITEM = 50002;
constexpr int MSG_SAVE_CHANGES = 50003;
constexpr int MSG_LEAVE = 50004;
constexpr int MSG_CONTINUE = 50006;
constexpr int MSG_CHOOSE_YES_NO = 50042;
constexpr int MSG_START_MEMORY = 50043;
constexpr int MSG_CURRENT_MEMORY = 50044;
constexpr int MSG_DISK_SIZE = 50045;
constexpr int MSG_DISK_FREE = 50046;

// The memory figure of the information box: there is no fixed heap to count down.
constexpr long kReportedCoreLeft = 1000000;

struct BoxKind {
  const char* title;   // system character set
  int attr;            // window and frame
  int titleAttr;
};
const BoxKind kKinds[4] = {
    {"UWAGA", 232, 142},
    {"B\x9C\x8F" "D", 79, 244},
    {"PYTANIE", 47, 242},
    {"INFORMACJA", 142, 232},
};
const int kPromptMessages[4] = {MSG_PROMPT_ANY_KEY, MSG_PROMPT_YES_ESC, MSG_PROMPT_F2, MSG_PROMPT_ESC_NO};

constexpr int kBoxBottomRow = 13;   // of a 30-row grid

int TextLength(const std::string& s) { return static_cast<int>(s.size()); }

// A line as the box shows it: cut to the room, CR and LF as blanks, no trailing blanks.
std::string BoxLine(std::string text, int room) {
  if (TextLength(text) > room) text.resize(static_cast<size_t>(std::max(room, 0)));
  std::replace(text.begin(), text.end(), '\r', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Waits for a key the prompt accepts; the key-hint line is blank meanwhile.
int WaitForPrompt(int prompt) {
  add_help_line();
  int result = 0;
  for (;;) {
    int key = g4char();
    if (prompt == 0) break;
    if (prompt == 1 && (key == 'T' || key == 't' || key == KEY_ESC)) {
      result = key;
      break;
    }
    if (prompt == 2 && key == KEY_F2) break;
    if (prompt == 3 && (key == 'N' || key == 'n' || key == KEY_ESC)) {
      result = key;
      break;
    }
  }
  remove_help_line();
  return result;
}

bool IsBlank(const char* buffer) {
  for (const char* p = buffer; *p; p++)
    if (*p != ' ') return false;
  return true;
}

// Writes the answer over the buffer's characters (the whole answer into an empty buffer).
void WriteAnswer(char* buffer, const char* answer) {
  size_t have = std::strlen(buffer), length = std::strlen(answer);
  if (have == 0) {
    std::memcpy(buffer, answer, length + 1);
    return;
  }
  std::memcpy(buffer, answer, std::min(have, length));
}

void RefusePW() { MessageWindow(MB_NO_PROMPT, "Wybierz !", "P lub W"); }
void RefuseYesNo() { MessageWindow(MB_INFO | MB_NO_PROMPT, MSG_CHOOSE_YES_NO); }

bool ConfirmOff() {
  Environment* env = EnvCurrent();
  return env && env->confirmSave == 'N';
}

void ShowDate(int row, int col, const char* date8) {
  char date[9];
  std::memcpy(date, date8, 8);
  date[8] = 0;
  w4num(row, col, IsBlank(date) ? "        " : DateFmtQStr(date, "DD-MM/YY"), 8);
}

}  // namespace

// Reads keys until one of the two letters (either case) or a key that ends editing.
int FixedAnswer(char* buffer, const char* blankValue, int yesLetter, const char* yes, int noLetter, const char* no,
                void (*refuse)()) {
  if (IsBlank(buffer)) WriteAnswer(buffer, blankValue);
  for (;;) {
    int key = g4char();
    if (WigetCtrlKey(key)) return key;
    int upper = key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key;
    if (upper == yesLetter || upper == noLetter) {
      WriteAnswer(buffer, upper == yesLetter ? yes : no);
      return KEY_ENTER;
    }
    refuse();
  }
}

int MessageWindowList(int flags, const TextRef* texts) {
  const BoxKind& kind = kKinds[(flags >> 2) & 3];
  int prompt = (flags >> 4) & 3;
  bool showPrompt = !(flags & MB_NO_PROMPT);
  std::string title = kind.title;
  const TextRef* next = texts;
  if (flags & MB_OWN_TITLE) {
    if (next->IsEmpty()) return -1;
    title = EnvFindString(*next++);
  }
  // Texts are copied at once: message numbers come back in the temporary ring.
  std::vector<std::string> lines;
  for (; !next->IsEmpty(); next++) {
    const char* text = EnvFindString(*next);
    lines.emplace_back(text ? text : "");
  }
  std::string promptText = EnvFindString(kPromptMessages[prompt]);

  int width = TextLength(title);
  for (const std::string& line : lines) width = std::max(width, TextLength(line));
  if (showPrompt) width = std::max(width, TextLength(promptText));
  width = std::min(width + 2, Desktop.cols);
  int maxLines = std::max(Desktop.rows - 4 - (showPrompt ? 1 : 0), 0);
  if (TextLength(title) > width) title.resize(static_cast<size_t>(width));
  if (static_cast<int>(lines.size()) > maxLines) lines.resize(static_cast<size_t>(maxLines));
  int inner = static_cast<int>(lines.size()) + (showPrompt ? 1 : 0) + 2;
  int bottom = kBoxBottomRow + (Desktop.rows - 30) / 2;
  int top = bottom - inner - 1;
  if (top < 0) {
    top = 0;
    bottom = inner + 1;
  }
  int col = (Desktop.cols - width) / 2;

  int previous = w4select(-1);
  DesktopHideCaret();
  int box = Desktop.cells ? w4define(top, col, bottom, col + width - 1) : -1;
  if (box < 0) {
    // No screen to draw on yet: the display's own box.
    std::string all;
    for (const std::string& line : lines) all += (all.empty() ? "" : "\n") + line;
    DisplayCurrent()->infoBox(title.c_str(), all.c_str());
    DesktopShowCaret();
    return prompt == 1 || prompt == 3 ? KEY_ESC : 0;
  }
  w4attribute(kind.attr);
  w4border(kStdFrame, kind.attr);
  w4title(0, -1, title.c_str(), kind.titleAttr);
  w4popup();
  w4activate(box);
  int row = 1;
  for (const std::string& line : lines) w4centre(row++, BoxLine(line, width - 2).c_str());
  if (showPrompt) w4centre(row, promptText.substr(0, static_cast<size_t>(width - 2)).c_str());

  int result = WaitForPrompt(prompt);

  w4deactivate(box);
  w4close(box);
  w4select(previous);
  DesktopShowCaret();
  return result;
}

int MessageWindowText(int flags, const char* title, const char* text) {
  std::vector<std::string> lines(1);
  for (const char* p = text ? text : ""; *p; p++) {
    if (*p == '\n')
      lines.emplace_back();
    else if (*p != '\r')
      lines.back() += *p;
  }
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  std::vector<TextRef> list;
  if (title) list.emplace_back(title);
  // An empty line would end the list: it is shown as one blank.
  for (const std::string& line : lines) list.emplace_back(line.empty() ? " " : line.c_str());
  list.emplace_back();
  return MessageWindowList(title ? flags | MB_OWN_TITLE : flags & ~MB_OWN_TITLE, list.data());
}

int Uwaga(TextRef text) { return MessageWindow(MB_WARNING | MB_ANY_KEY, text); }
int Alarm(TextRef text) { return MessageWindow(MB_ERROR | MB_ANY_KEY, text); }
int Pytanie(TextRef text) { return MessageWindow(MB_QUESTION | MB_YES_ESC, text); }
int Informacja(TextRef text) { return MessageWindow(MB_INFO | MB_ANY_KEY, text); }

int LeaveQuestion() {
  if (ConfirmOff()) return 1;
  return MessageWindow(MB_QUESTION | MB_ESC_NO, MSG_LEAVE) == KEY_ESC ? 1 : 0;
}

int SaveQuestion(int mode) {
  if (ConfirmOff()) return 1;
  return Pytanie((mode & 4) ? MSG_SAVE_ITEM : MSG_SAVE_CHANGES) != KEY_ESC ? 1 : 0;
}

int ContinueQuestion() {
  if (ConfirmOff()) return 1;
  return Pytanie(MSG_CONTINUE) != KEY_ESC ? 1 : 0;
}

int wybierz_P_W(Get4*, char* buffer, int32_t) { return FixedAnswer(buffer, "P", 'P', "P", 'W', "W", RefusePW); }

int WybierzTakNie(Get4*, char* buffer, int32_t) {
  return FixedAnswer(buffer, "TAK", 'T', "TAK", 'N', "NIE", RefuseYesNo);
}

int wybierz_tak_nie(Get4*, char* buffer, int32_t) {
  return FixedAnswer(buffer, "T", 'T', "T", 'N', "N", RefuseYesNo);
}

void test_coreleft() {
  uint32_t total = 0, freeBytes = 0;
  count_disk_space(&total, &freeBytes);
  Environment* env = EnvCurrent();
  const double mb = 1.0 / (1024.0 * 1024.0);
  std::string start = PrintfQStr(MSG_START_MEMORY, static_cast<long>(env ? env->minFreeMemory : 0));
  std::string current = PrintfQStr(MSG_CURRENT_MEMORY, kReportedCoreLeft);
  std::string size = PrintfQStr(MSG_DISK_SIZE, total * mb);
  std::string left = PrintfQStr(MSG_DISK_FREE, freeBytes * mb);
  MessageWindow(MB_INFO | MB_NO_PROMPT, start.c_str(), current.c_str(), " ", size.c_str(), left.c_str());
}

void count_disk_space(uint32_t* total, uint32_t* freeBytes) {
  std::error_code error;
  std::filesystem::space_info space = std::filesystem::space(".", error);
  // A drive of 4 GiB or more reports the largest count rather than wrapping round to a small one.
  auto clamp = [](uintmax_t bytes) { return static_cast<uint32_t>(std::min<uintmax_t>(bytes, 0xFFFFFFFFu)); };
  if (total) *total = error ? 0 : clamp(space.capacity);
  if (freeBytes) *freeBytes = error ? 0 : clamp(space.available);
}

int GroupThousands(char* text, int width, int decimals) {
  int w = width - decimals - (decimals > 0 ? 1 : 0);
  int groups = 0;
  if (w > 0) {
    int first = w % 3 == 0 ? 3 : w % 3;
    groups = (w - first) / 3;
    std::string out(text, static_cast<size_t>(first));
    for (int g = 0; g < groups; g++) {
      out += ' ';
      out.append(text + first + 3 * g, 3);
    }
    out.append(text + w, static_cast<size_t>(width - w));
    for (char& c : out) {
      if (c == ',')
        c = ' ';
      else if (c != ' ')
        break;
    }
    std::memcpy(text, out.data(), out.size());
  }
  text[width + groups] = 0;
  return groups;
}

void w4double_f(int row, int col, double value, int width, int decimals) {
  if (width <= 0) return;
  std::vector<char> buffer(static_cast<size_t>(width + width / 3 + 2), 0);
  c4dtoa(value, buffer.data(), width, decimals, 0);
  int blanks = GroupThousands(buffer.data(), width, decimals);
  w4num(row, col, buffer.data(), width + blanks);
}

void DispDateFld(int row, int col, DbField* field) {
  const char* date = field ? f4ptr(field) : nullptr;
  if (date) ShowDate(row, col, date);
}

void DispDateLong(int row, int col, int32_t dayNumber) {
  char date[8];
  date4assign(date, dayNumber);
  ShowDate(row, col, date);
}

void ShowBusySpinner() {
  static const char kSigns[] = "/-\\|";
  static int phase = 0;
  int help = StdHelpWindow();
  if (help < 0 || !w4record(help)) return;
  char sign = kSigns[phase];
  phase = (phase + 1) % 4;
  int previous = w4select(help);
  w4num(0, w4width() - 1, &sign, 1);
  w4select(previous);
  DesktopFlush();
}
