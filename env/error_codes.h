// The engine's result and error codes, their texts, and the fatal stop. They
// sit below the engine so that the base's own checks can stop the program the
// same way; the engine registers the step that abandons its files.
#pragma once
#include <string>
#include "env/text_ref.h"

// Results (not errors).
enum {
  r4success = 0,
  r4missing = 1,       // open_dbf: table absent; i4open: tags differ
  r4after = 2,         // seek stopped on the following key
  r4eof = 3,
  r4bof = 4,
  r4entry = 5,         // record not found
  r4unique = 20,       // unique key exists; write refused
  r4unique_continue = 25,   // unique key exists; key not stored, went on
  r4locked = 50,
  r4no_create = 60,
  r4no_open = 70,
  r4no_tag = 80,
};

// Errors.
enum {
  e4close = -10,
  e4create = -20,
  e4length = -30,
  e4length_set = -40,
  e4lock = -50,
  e4open = -60,
  e4read = -70,
  e4remove = -80,
  e4rename = -90,
  e4seek = -100,
  e4unlock = -110,
  e4write = -120,
  e4data = -200,
  e4field_name = -210,
  e4field_type = -220,
  e4record_len = -230,
  e4index = -300,
  e4index_other = -310,
  e4tag_name = -330,
  e4unique = -340,
  e4memory = -920,
  e4info = -910,
  e4parm = -930,
  e4result = -950,
  e4memo_create = -1020,
};

// Message number of a code's text, 0 when the code has none.
int e4message_number(int code);

// The window lines: "Błąd numer %6i" and the code's text when it has one.
std::string e4show_number(int code);
// One line of the window (each line ends with '\n').
std::string e4show_line(TextRef text);
// Shows the code and the message, abandons open files without writing
// anything half-changed, and ends the program with exit code 1.
[[noreturn]] void e4fatal_stop(int code, int message_number);
[[noreturn]] void e4fatal_stop(int code, const char* text);

// The step a fatal stop takes before it ends the program: the engine sets it
// to close its files without writing anything pending. NULL for none.
void ErrSetFatalCleanup(void (*cleanup)());
// Runs that step, if any.
void ErrRunFatalCleanup();
// The error window's text: the number line, the code's text, then the lines
// up to the first empty one.
std::string ErrWindowText(int code, const TextRef* lines, int count);
