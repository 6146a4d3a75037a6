// The engine's result and error codes and the way errors reach the operator.
#pragma once
#include <string>
#include "env/text_ref.h"

struct DbEngine;

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

// Stores the code; returns the previous one.
int e4set_code(DbEngine* engine, int code);
// Stores the code, shows it with up to three lines (stopping at the first
// empty one) in the critical-error window and waits for a key; returns the code.
int e4show_error(DbEngine* engine, int code, TextRef text1 = TextRef(), TextRef text2 = TextRef(),
                 TextRef text3 = TextRef());
int e4show_error_text(DbEngine* engine, int code, TextRef text);
// A file error: the code with "Zbiór:" and the file name.
int e4show_file_error(DbEngine* engine, int code, const char* name);
// The window lines: "Błąd numer %6i" and the code's text when it has one.
std::string e4show_number(int code);
// One line of the window (each line ends with '\n').
std::string e4show_line(TextRef text);
// Shows the code and the message, abandons open files without writing
// anything half-changed, and ends the program with exit code 1.
[[noreturn]] void e4fatal_stop(int code, int message_number);
[[noreturn]] void e4fatal_stop(int code, const char* text);

// Message numbers of the checks.
constexpr int DB_MSG_ANY_KEY = 50011;
