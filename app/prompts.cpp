#include "app/prompts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_READ_FROM_DISK = 20078;
constexpr int MSG_WRITE_TO_DISK = 20079;
constexpr int MSG_BAD_YEAR = 20125;
constexpr int MSG_IMPORT_YEAR = 20152;

constexpr int PROMPT_ATTRIBUTE = 143;
constexpr int REDRAW_ATTRIBUTE = 31;
constexpr int32_t FIRST_IMPORT_YEAR = 1980;

const char kDiscountPrompt[] = "Rabat zwi\x91kszy\x8D o [%] -";   // "Rabat zwiększyć o [%] -"

int ImportYearValid(Get4* get) {
  if (*static_cast<int32_t*>(get->data) >= FIRST_IMPORT_YEAR) return 0;
  Uwaga(MSG_BAD_YEAR);
  return -1;
}

}  // namespace

int StatusRowPrompt(TextRef prompt, const std::function<void(int)>& addGet) {
  Environment* env = EnvCurrent();
  int status = env ? env->statusWindow : -1;
  if (status < 0) return KEY_ESC;
  int previous = w4select(status);
  w4activate(status);
  int attribute = w4attribute(PROMPT_ATTRIBUTE);
  w4clear(0);
  const char* text = EnvFindString(prompt);
  w4(0, 0, text);
  addGet(static_cast<int>(std::strlen(text)));
  int key = g4read();
  w4attribute(attribute);
  w4deactivate(status);
  w4select(previous);
  return key;
}

int PodajSciezke(int forWriting, char* buffer, int size) {
  if (size < 3) return -1;
  std::memset(buffer, ' ', static_cast<size_t>(size - 1));
  buffer[size - 1] = '\0';
  std::memcpy(buffer, "A:", 2);
  int key = StatusRowPrompt(forWriting ? MSG_WRITE_TO_DISK : MSG_READ_FROM_DISK,
                            [&](int col) { g4(0, col, buffer); });
  if (key != KEY_ENTER) return -1;
  std::string path(buffer);
  path.erase(path.find_last_not_of(' ') + 1);
  path.erase(0, std::min(path.size(), path.find_first_not_of(' ')));
  if (path.empty() || (path.back() != '\\' && path.back() != ':')) path += '\\';
  path.resize(std::min(path.size(), static_cast<size_t>(size - 1)));
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return 0;
}

int PodajRokImportu() {
  Environment* env = EnvCurrent();
  int32_t year = env ? env->settlementYear : 0;
  int key = StatusRowPrompt(MSG_IMPORT_YEAR, [&](int col) {
    g4int(0, col, &year);
    g4picture("9999");
    g4valid(ImportYearValid);
  });
  return key == KEY_ENTER ? year : -1;
}

void PodajKwote(double* value, int* accepted, const char* prompt) {
  double amount = *value;
  int key = StatusRowPrompt(prompt, [&](int col) {
    g4double(0, col, &amount);
    g4picture("99999999.99");
  });
  *accepted = key == KEY_ENTER ? 1 : 0;
  if (*accepted) *value = amount;
}

int PodajRabat(double* value) {
  double percent = *value;
  int key = StatusRowPrompt(kDiscountPrompt, [&](int col) {
    g4double(0, col, &percent);
    g4picture("##.#");
  });
  if (key != KEY_ENTER) return -1;
  *value = percent;
  return 0;
}

int numer_lp_wydruku() {
  int32_t number = 1;
  static const std::string prompt = Utf8ToMazText("Podaj numer Lp, od której rozpocząć wydruk -");
  int key = StatusRowPrompt(prompt.c_str(), [&](int col) {
    g4long(0, col, &number);
    g4picture("9999");
  });
  return key == KEY_ENTER ? static_cast<int>(number) : -1;
}

void OdswiezGety() {
  int attribute = w4attribute(REDRAW_ATTRIBUTE);
  g4display();
  w4attribute(attribute);
}
