// How the engine's errors reach the operator: the sticky error code of an
// engine and the critical-error window. The codes: env/error_codes.h.
#pragma once
#include "env/error_codes.h"
#include "env/text_ref.h"

struct DbEngine;

// Stores the code; returns the previous one.
int e4set_code(DbEngine* engine, int code);
// Stores the code, shows it with up to three lines (stopping at the first
// empty one) in the critical-error window and waits for a key; returns the code.
int e4show_error(DbEngine* engine, int code, TextRef text1 = TextRef(), TextRef text2 = TextRef(),
                 TextRef text3 = TextRef());
int e4show_error_text(DbEngine* engine, int code, TextRef text);
// A file error: the code with "Zbiór:" and the file name; after a failed
// create or write, the cause when it is a full disk or a refused write.
int e4show_file_error(DbEngine* engine, int code, const char* name);

// Message numbers of the checks.
constexpr int DB_MSG_ANY_KEY = 50011;
