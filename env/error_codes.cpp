#include "env/error_codes.h"

#include <cstdio>

#include "env/code_pages.h"
#include "env/messages.h"
#include "platform/screen_hook.h"

namespace {

struct CodeText {
  int code;
  int message;
};

const CodeText kCodeTexts[] = {
    {-10, 50437},  {-20, 50432},  {-30, 50441},  {-40, 50442},  {-50, 50439},  {-60, 50433},
    {-70, 50434},  {-80, 50438},  {-90, 50443},  {-100, 50435}, {-110, 50440}, {-120, 50436},
    {-200, 50444}, {-210, 50446}, {-220, 50447}, {-230, 50445}, {-300, 50449}, {-310, 50448},
    {-330, 50451}, {-340, 50450}, {-400, 50452}, {-410, 50453}, {-420, 50454}, {-422, 50455},
    {-425, 50456}, {-430, 50457}, {-440, 50458}, {-450, 50459}, {-460, 50460}, {-470, 50461},
    {-480, 50462}, {-490, 50463}, {-500, 50464}, {-610, 50465}, {-620, 50466}, {-630, 50467},
    {-710, 50469}, {-720, 50468}, {-810, 50470}, {-910, 50471}, {-920, 50038}, {-930, 50429},
    {-950, 50431},
};

void (*fatalCleanup)() = nullptr;

}  // namespace

std::string ErrWindowText(int code, const TextRef* lines, int count) {
  std::string text = e4show_number(code);
  for (int i = 0; i < count && !lines[i].IsEmpty(); i++) text += e4show_line(lines[i]);
  return text;
}

int e4message_number(int code) {
  for (const CodeText& entry : kCodeTexts)
    if (entry.code == code) return entry.message;
  return 0;
}

std::string e4show_number(int code) {
  char line[64];
  std::snprintf(line, sizeof line, "%6i", code);
  std::string text = Utf8ToMazText("Błąd numer ") + line + "\n";
  int message = e4message_number(code);
  if (message != 0) text += e4show_line(TextRef(message));
  return text;
}

std::string e4show_line(TextRef text) {
  const char* found = EnvFindString(text);
  return std::string(found ? found : "") + "\n";
}

void e4fatal_stop(int code, int message_number) {
  const TextRef line = message_number != 0 ? TextRef(message_number) : TextRef();
  std::string text = ErrWindowText(code, &line, 1);
  ErrRunFatalCleanup();
  ScreenFatalStop(1, text.c_str());
}

void e4fatal_stop(int code, const char* text) {
  const TextRef line(text);
  std::string shown = ErrWindowText(code, &line, 1);
  ErrRunFatalCleanup();
  ScreenFatalStop(1, shown.c_str());
}

void ErrSetFatalCleanup(void (*cleanup)()) { fatalCleanup = cleanup; }

void ErrRunFatalCleanup() {
  if (fatalCleanup != nullptr) fatalCleanup();
}
