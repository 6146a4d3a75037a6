#include "installer/front.h"

#include <cstdio>

#include "platform/console.h"
#include "platform/screen_hook.h"

namespace {

FrontLineReader lineReader = nullptr;

void WithoutCarriageReturns(std::string* text) {
  std::string out;
  for (char c : *text)
    if (c != '\r') out += c;
  *text = out;
}

void TerminalMessageBox(int, const char* title, const char* text) {
  std::string body = text ? text : "";
  WithoutCarriageReturns(&body);
  FrontPrint("\n[" + std::string(title ? title : "") + "]\n" + body + "\n");
}

int TerminalQuestion(const char* title, const char* text) {
  for (;;) {
    std::string line;
    std::string prompt = "\n[" + std::string(title ? title : "") + "]\n" + (text ? text : "") + " (T/N) ";
    if (!FrontReadLine(prompt.c_str(), &line)) return SCREEN_KEY_ESC;
    if (line.empty()) continue;
    if (line[0] == 'T' || line[0] == 't') return 'T';
    if (line[0] == 'N' || line[0] == 'n') return 'N';
    if (line[0] == SCREEN_KEY_ESC) return SCREEN_KEY_ESC;
  }
}

int TerminalWaitKey() {
  std::string line;
  if (!FrontReadLine("", &line) || line.empty()) return SCREEN_KEY_ESC;
  return static_cast<unsigned char>(line[0]);
}

// Only an Esc waiting at the start of a line is taken: other input belongs to
// the questions and commands still to come.
int TerminalReadKey() {
  if (PlatConsoleTakeInterrupt()) return SCREEN_KEY_ESC;
  if (PlatConsolePeekByte() != SCREEN_KEY_ESC) return 0;
  std::string line;
  PlatConsoleReadLine(&line);
  return SCREEN_KEY_ESC;
}

ScreenHook terminalHook;

}  // namespace

void FrontSetLineReader(FrontLineReader reader) { lineReader = reader; }

bool FrontReadLine(const char* prompt, std::string* line) {
  if (prompt && *prompt) FrontPrint(prompt);
  std::fflush(stdout);
  return lineReader ? lineReader(line) : PlatConsoleReadLine(line);
}

void FrontPrint(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

void FrontInstallTerminalHook() {
  terminalHook = *ScreenHookDefault();
  terminalHook.messageBox = TerminalMessageBox;
  terminalHook.question = TerminalQuestion;
  terminalHook.waitKey = TerminalWaitKey;
  terminalHook.readKey = TerminalReadKey;
  ScreenHookSet(&terminalHook);
  PlatConsoleCatchInterrupt();
}
