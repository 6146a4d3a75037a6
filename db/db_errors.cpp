#include "db/db_errors.h"

#include <cstdio>

#include "db/db_engine.h"
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

// The error window's text: the number line, the code's text, then the lines.
std::string window_text(int code, const TextRef* lines, int count) {
  std::string text = e4show_number(code);
  for (int i = 0; i < count && !lines[i].IsEmpty(); i++) text += e4show_line(lines[i]);
  return text;
}

}  // namespace

int e4message_number(int code) {
  for (const CodeText& entry : kCodeTexts)
    if (entry.code == code) return entry.message;
  return 0;
}

int e4set_code(DbEngine* engine, int code) {
  if (engine == nullptr) e4fatal_stop(e4parm, "e4set_code()");
  int previous = engine->error_code;
  engine->error_code = code;
  return previous;
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

int e4show_error(DbEngine* engine, int code, TextRef text1, TextRef text2, TextRef text3) {
  if (engine == nullptr) e4fatal_stop(e4parm, "e4show_error()");
  engine->error_code = code;
  const TextRef lines[3] = {text1, text2, text3};
  ScreenCriticalError(window_text(code, lines, 3).c_str());
  return code;
}

int e4show_error_text(DbEngine* engine, int code, TextRef text) { return e4show_error(engine, code, text); }

int e4show_file_error(DbEngine* engine, int code, const char* name) {
  static const std::string file_label = Utf8ToMazText("Zbiór:");
  return e4show_error(engine, code, file_label.c_str(), name ? name : "");
}

void e4fatal_stop(int code, int message_number) {
  const TextRef line = message_number != 0 ? TextRef(message_number) : TextRef();
  std::string text = window_text(code, &line, 1);
  db_engine_abandon();
  ScreenFatalStop(1, text.c_str());
}

void e4fatal_stop(int code, const char* text) {
  const TextRef line(text);
  std::string shown = window_text(code, &line, 1);
  db_engine_abandon();
  ScreenFatalStop(1, shown.c_str());
}
