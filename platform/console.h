// The terminal of the text fronts: whole lines from standard input, a look at
// whether a key already waits, and Ctrl+C turned into a request the program
// answers instead of an end.
#pragma once
#include <string>

// Blocks; false at the end of the input, or when a caught Ctrl+C ended the wait.
bool PlatConsoleReadLine(std::string* line);
// The next byte of the input when one waits now (not taken), -1 when none
// waits, -2 at the end of the input.
int PlatConsolePeekByte();
void PlatConsoleCatchInterrupt();              // from now on Ctrl+C only sets a flag
bool PlatConsoleTakeInterrupt();               // true once per Ctrl+C since the last call
