// Shared by the fuzz targets and the seed generator: a private working
// directory, an environment with the engine, a screen hook that answers
// without a screen, and the small table the index and expression targets use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "db/db_engine.h"
#include "db/dbf_table.h"

// Once per process: a fresh directory under the system's temporary folder
// (removed at exit) holding the program directory, the configuration
// directory and the working directory, which becomes current; the
// environment and the engine are started. A fatal stop aborts, so that the
// fuzzer reports it as a crash. A target without a start of its own gets one
// that calls only this.
void FuzzSetup();
DbEngine* FuzzEngine();
// The whole temporary directory and the working directory inside it (both
// with a trailing "/").
const std::string& FuzzRoot();
const std::string& FuzzWorkDir();

// Before each input: questions get "yes" a few times, then Esc, so a loop
// that asks again cannot run forever; the engine's error is cleared.
void FuzzNewInput();
// FuzzNewInput, an empty working directory, and the input written there as
// `name`; false when it could not be written.
bool FuzzInputFile(const char* name, const uint8_t* data, size_t size);

bool FuzzWriteFile(const std::string& path, const void* data, size_t size);
std::string FuzzReadFile(const std::string& path);
// Removes every entry of the working directory.
void FuzzClearWorkDir();
// Aborts when anything but the working directory appeared in the temporary
// directory, or anything at all beside it: an unpacked name escaped.
void FuzzCheckNothingEscaped();

// The fixed table "FIX.DBF" of every field type with records and a
// production index of text, number, date and filtered tags, created in the
// working directory; NULL on failure.
DbTable* FuzzCreateFixture();
