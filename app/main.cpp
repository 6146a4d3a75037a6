// Zelsal: sales, invoicing and retail for small businesses.
// Until the main program's frame exists this shows the screen layer: the
// standard windows and a framed window with Polish text. Esc quits.
#include <cstdio>
#include <string>
#include "app/program_messages.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "env/error_log.h"
#include "ui/desktop.h"
#include "ui/display.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

void ShowKey(Environment* env, int key) {
  char text[40];
  std::snprintf(text, sizeof text, "Klawisz: 0x%04X", key);
  int previous = w4select(env->statusWindow);
  w4clear(0);
  w4(0, 1, Sys(text).c_str());
  w4select(previous);
}

}  // namespace

int main(int argc, char** argv) {
  OpenErrLog(argc, argv);
  Environment* env = CreateEnvironment(argc, argv);
  if (env) RegisterProgramMessages();
  if (!env || w4init_video(1) != 0) {
    std::fprintf(stderr, "Zelsal: the screen cannot be started\n");
    return 1;
  }
  ClearKeyMessages();
  init_help_line();
  open_envr_win();

  w4activate(env->statusWindow);
  w4activate(StdHelpWindow());
  add_help_line();
  set_fun_help("Esc", "Koniec", 1);
  set_fun_help("Litery", Sys("Pisz w oknie").c_str(), 2);

  int front = DefineFrontoweWindow("Zelsal 5.0");
  w4activate(front);
  w4centre(1, Sys("Sprzedaż, fakturowanie i handel detaliczny").c_str());

  int box = DefineZazuveWindow(-1, -1, -1, -1, Sys("Zażółć gęślą jaźń").c_str());
  w4activate(box);
  w4centre(0, Sys("ZAŻÓŁĆ GĘŚLĄ JAŹŃ").c_str());
  w4centre(1, Sys("Pchnąć w tę łódź jeża").c_str());
  w4centre(2, Sys("lub ośm skrzyń fig.").c_str());
  w4num_att(4, 0, Sys("Tekst:").c_str(), -1, 142);
  w4cursor(4, 7);

  std::string typed;
  for (;;) {
    int key = g4char();
    if (key == KEY_ESC) break;
    ShowKey(env, key);
    if (key >= 32 && key <= 255 && typed.size() < 28) {
      typed += static_cast<char>(key);
      w4select(box);
      w4(4, 7, typed.c_str());
      w4cursor(4, 7 + static_cast<int>(typed.size()));
    }
  }

  DisplayCurrent()->close();
  close_envr_win();
  w4init_undo();
  w4close_video(1);
  ErrLogMessage(EL_TEXT, LOG_END, "Koniec");
  DeleteEnvironment(env);
  return 0;
}
