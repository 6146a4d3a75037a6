// The installer's text front on the terminal: lines typed by the operator, and
// the screen hook that shows its boxes and asks its T/N questions there. Tests
// put their own line reader and screen hook in place.
#pragma once
#include <string>

typedef bool (*FrontLineReader)(std::string* line);

void FrontSetLineReader(FrontLineReader reader);   // NULL: standard input
// Prints `prompt` and reads one line; false at the end of the input.
bool FrontReadLine(const char* prompt, std::string* line);
void FrontPrint(const std::string& text);
// Boxes printed, questions answered from the input; while installing, Esc at
// the start of a line or Ctrl+C is the key the form reads.
void FrontInstallTerminalHook();
