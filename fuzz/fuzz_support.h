// Shared by the fuzz targets and the seed generator: a private working
// directory, an environment with the engine, a screen hook that answers
// without a screen, and the small table the index and expression targets use.
#pragma once
#include <cstddef>
#include <cstdint>
#include <stdexcept>
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
// Whether a key waits between the steps of long work (Esc, by default, so
// that work the operator may stop stops at once); a target that must see the
// work through says no.
void FuzzKeyWaits(bool waits);
// FuzzNewInput, an empty working directory, and the input written there as
// `name`; false when it could not be written.
bool FuzzInputFile(const char* name, const uint8_t* data, size_t size);

bool FuzzWriteFile(const std::string& path, const void* data, size_t size);
// Makes `path` (a disk path) the environment's data directory; false when
// it cannot be entered.
bool FuzzEnterFolder(const std::string& path);
// The input's records into the tables named (files in `folder`), field by
// field as stored and unchecked: a byte before each table gives its record
// count, 0 to 3. `firstRecord`, when given, adjusts each table's first
// record before it is appended. A table that cannot be opened is passed over.
void FuzzFillTables(const std::string& folder, const char* const* names, int count, const uint8_t* at,
                    const uint8_t* end, void (*firstRecord)(DbTable*) = nullptr);
std::string FuzzReadFile(const std::string& path);
// Removes every entry of the working directory.
void FuzzClearWorkDir();
// Aborts when anything but the working directory appeared in the temporary
// directory, or anything at all beside it: an unpacked name escaped.
void FuzzCheckNothingEscaped();

// The headless screen for targets that drive windows: the environment's
// window and a small window of the target's own, current; false when the
// screen cannot start. When the keys given to FuzzScreenKeys run out while
// the program waits for one, FuzzKeysEnded is thrown.
struct FuzzKeysEnded : std::runtime_error {
  FuzzKeysEnded() : std::runtime_error("keys ended") {}
};
bool FuzzStartScreen();
// Before each input: the windows above the target's own closed, it
// selected, and the keys typed from now on (a bad script aborts).
void FuzzScreenKeys(const char* keys);
// `count` Esc keys in the key script's notation: enough to end every
// question and box a run over a device's answers can raise.
std::string FuzzEscapes(int count);

// A device behind the port layer that takes every byte written at once and
// hands out the answers given, a byte a read, falling silent when they run
// out. FuzzUseAnsweringPort installs it once per process; FuzzPortAnswers
// gives it each input's answers (kept by the caller for the run).
void FuzzUseAnsweringPort();
void FuzzPortAnswers(const uint8_t* answers, size_t size);

// The fixed table "FIX.DBF" of every field type with records and a
// production index of text, number, date and filtered tags, created in the
// working directory; NULL on failure.
DbTable* FuzzCreateFixture();
