#include "db/db_errors.h"

#include <string>

#include "db/db_engine.h"
#include "env/code_pages.h"
#include "env/file_cause.h"
#include "platform/screen_hook.h"

int e4set_code(DbEngine* engine, int code) {
  if (engine == nullptr) e4fatal_stop(e4parm, "e4set_code()");
  int previous = engine->error_code;
  engine->error_code = code;
  return previous;
}

int e4show_error(DbEngine* engine, int code, TextRef text1, TextRef text2, TextRef text3) {
  if (engine == nullptr) e4fatal_stop(e4parm, "e4show_error()");
  engine->error_code = code;
  const TextRef lines[3] = {text1, text2, text3};
  ScreenCriticalError(ErrWindowText(code, lines, 3).c_str());
  return code;
}

int e4show_error_text(DbEngine* engine, int code, TextRef text) { return e4show_error(engine, code, text); }

int e4show_file_error(DbEngine* engine, int code, const char* name) {
  static const std::string file_label = Utf8ToMazText("Zbiór:");
  // A create or a write has just failed in the platform: a full disk or a
  // refused folder is said in words, as the code alone points elsewhere.
  std::string cause = code == e4create || code == e4write || code == e4length_set ? FileCauseText() : "";
  return e4show_error(engine, code, file_label.c_str(), name ? name : "", cause.c_str());
}
