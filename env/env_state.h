// The parts of the process's Environment record that the base and the engine
// read, and the types they share with it. The record itself owns the engine,
// so it stands above it (env/session/environment.h); CreateEnvironment
// registers it here with pointers to those fields.
#pragma once
#include <cstdint>

struct Environment;

// A resource module: the name its resources were registered under
// ("Zelkit5" for the library, "Zelsal" for the program file, or an add-on's).
typedef const char* EnvModule;

constexpr const char* ENV_LIBRARY_MODULE = "Zelkit5";
constexpr const char* ENV_PROGRAM_MODULE = "Zelsal";

// Returns the number of a resource (one tiny routine per resource).
typedef int16_t (*ResIdRoutine)();

// A directory split into parts.
constexpr int PATH_HAS_DRIVE = 0x10;
constexpr int PATH_HAS_DIR = 0x08;
constexpr int PATH_HAS_NAME = 0x04;
constexpr int PATH_HAS_EXT = 0x02;

struct PathRecord {
  char drive[3];       // letter and colon, or empty
  char dir[256];       // leading backslash; trailing one dropped when longer than 2
  char name[256];
  char ext[256];       // with its point
  int32_t parts;       // PATH_HAS_* bits
};

// A registered message table.
constexpr int RCS_SLOTS = 5;

struct RcsObjSlot {
  ResIdRoutine idRoutine;   // NULL = slot free
  int16_t kind;             // 1 library, 2 program file, 3 active instance
  uint16_t size;            // of the cached copy
  unsigned char* cache;     // copy of the resource, made at the first lookup
};

// The temporary-string ring (its size and functions: env/temp_strings.h).
struct CycleBuffer {
  char* base;       // start of the ring
  char* cur;        // where the next temporary string begins
  int16_t left;     // bytes from cur to the end of the ring
  int16_t made;     // strings committed since the last wrap
};

// Room for the widest table (241 fields) with 64-bit field and tag records.
constexpr int DEFINITION_ARENA_BYTES = 7680;

// Where the fields of the current Environment record live.
struct EnvState {
  CycleBuffer* temporaryStrings;
  RcsObjSlot* messageTables;          // RCS_SLOTS
  PathRecord** currentPath;
  PathRecord* programPath;
  char* sharedCatalogueDir;
  int sharedCatalogueDirSize;
  char* printSettingsDir;
  int printSettingsDirSize;
  const char* printZeroValues;
  const char* useSystemDate;
  const char* workingDate;            // "CCYYMMDD"
  const int32_t* refuseDamagedTables;
  unsigned char* definitionArena;     // DEFINITION_ARENA_BYTES
};

// The library's current environment (NULL before CreateEnvironment).
Environment* EnvCurrent();
// Its fields as above; NULL exactly when EnvCurrent() is NULL.
const EnvState* EnvCurrentState();
// Called by CreateEnvironment and DeleteEnvironment (NULL, NULL).
void EnvSetCurrent(Environment* environment, const EnvState* state);

// The current record's refuseDamagedTables; with none, damaged tables are refused.
bool EnvRefuseDamagedTables();

// The module whose resources and kind-3 messages are used: the program, or
// an add-on module while it runs.
EnvModule EnvActiveInstance();
void EnvSetActiveInstance(EnvModule module);

// Copies into `out` the first argument (the program name included) that begins
// with '-' and `sign`, cut to `maxAfter` characters after the sign; `out` gets
// just "-" and the sign when there is none. `out` holds maxAfter + 3 bytes.
void EnvFindDashOption(int argc, char** argv, char sign, char* out, int maxAfter);
