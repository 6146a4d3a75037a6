#include "app/operator_windows.h"

#include <cstring>

#include "app/operator_block.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_LABELS = 20115;      // three 16-character labels: name, password, repeat
constexpr int MSG_BAD_REPEAT = 20019;
constexpr int LABEL_WIDTH = 16;
constexpr int FIELD_COLUMN = 17;       // inside the frame
constexpr int WINDOW_COLUMN = 20;
constexpr int WINDOW_WIDTH = 40;
constexpr int SCREEN_ROWS = 30;
constexpr int WINDOW_ATTRIBUTE = 142;
const char kDefaultTitle[] = "Wprowad\xA6";   // "Wprowadź"

void Label(int row, int which) {
  const char* labels = RcQStr(MSG_LABELS);
  size_t length = std::strlen(labels);
  size_t at = static_cast<size_t>(which * LABEL_WIDTH);
  if (at >= length) return;
  w4num(row, 0, labels + at, static_cast<int>(length - at < LABEL_WIDTH ? length - at : LABEL_WIDTH));
}

}  // namespace

int PasswordWindow(char* name, char* password, int flags, int titleMessage) {
  bool repeat = (flags & PW_REPEAT) != 0;
  int height = repeat ? 6 : 5;
  int top = (SCREEN_ROWS - height) / 2;
  int previous = w4select(-1);
  int window = w4define(top, WINDOW_COLUMN, top + height - 1, WINDOW_COLUMN + WINDOW_WIDTH - 1);
  if (window < 0) return KEY_ESC;
  w4attribute(WINDOW_ATTRIBUTE);
  w4border(kStdFrame, WINDOW_ATTRIBUTE);
  w4title(0, -1, titleMessage ? RcQStr(titleMessage) : kDefaultTitle, WINDOW_ATTRIBUTE);
  w4activate(window);

  char nameEntry[OPERATOR_NAME_BYTES + 1] = {};
  char entry[OPERATOR_PASSWORD_BYTES + 1] = {};
  char again[OPERATOR_PASSWORD_BYTES + 1] = {};
  std::memcpy(nameEntry, name, OPERATOR_NAME_BYTES);
  std::memcpy(entry, password, OPERATOR_PASSWORD_BYTES);
  std::memset(again, ' ', OPERATOR_PASSWORD_BYTES);
  int key;
  for (;;) {
    Label(1, 0);
    Label(2, 1);
    g4(1, FIELD_COLUMN, nameEntry);
    g4width(OPERATOR_NAME_BYTES, OPERATOR_NAME_BYTES);
    if (flags & PW_NAME_FIXED) g4disabled();
    g4(2, FIELD_COLUMN, entry);
    g4width(OPERATOR_PASSWORD_BYTES, OPERATOR_PASSWORD_BYTES);
    g4secret();
    if (repeat) {
      Label(3, 2);
      g4(3, FIELD_COLUMN, again);
      g4width(OPERATOR_PASSWORD_BYTES, OPERATOR_PASSWORD_BYTES);
      g4secret();
    }
    key = g4read();
    if (key != KEY_F2 || !repeat || std::memcmp(entry, again, OPERATOR_PASSWORD_BYTES) == 0) break;
    Uwaga(MSG_BAD_REPEAT);
    w4select(window);
    std::memset(entry, ' ', OPERATOR_PASSWORD_BYTES);
    std::memset(again, ' ', OPERATOR_PASSWORD_BYTES);
  }
  if (!(flags & PW_NAME_FIXED)) std::memcpy(name, nameEntry, OPERATOR_NAME_BYTES);
  std::memcpy(password, entry, OPERATOR_PASSWORD_BYTES);
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}
