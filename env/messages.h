// Numbered message tables and raw data resources. A message number 1..19999
// is looked up in the active instance's tables, 20000..50000 in the program
// file's, above 50000 in the library's own.
#pragma once
#include <cstdint>
#include "env/env_state.h"
#include "env/text_ref.h"

constexpr int RCS_KIND_LIBRARY = 1;
constexpr int RCS_KIND_PROGRAM = 2;
constexpr int RCS_KIND_INSTANCE = 3;

// Module selectors of EnvFindRcData.
constexpr int RC_ACTIVE_INSTANCE = 0;
constexpr int RC_PROGRAM_FILE = 1;
constexpr int RC_LIBRARY = 2;

// The library's own message table is its resource 7.
int16_t LibraryMessagesId();

// Registers a table in the first free of the five slots; ignored when all are taken.
void EnvAddRcsObj(ResIdRoutine idRoutine, int kind);
// The text of a message number as a temporary string.
const char* RcQStr(int number);
// A message number gives its text (a temporary string), a text itself.
const char* EnvFindString(TextRef text);
// The lookup: a pointer into the cached table, or "?n" for an unknown number.
const char* EnvMessageText(int number);

// Copies at most `size` bytes of a raw data resource into `buffer`. With a
// NULL buffer the size is the resource's first 16-bit word and the block is
// taken with take_mem (the caller frees it with free_mem). Short or missing
// resources are logged and shown; the buffer is returned either way.
void* EnvLoadResObj(EnvModule module, void* buffer, unsigned size, ResIdRoutine idRoutine);
void* EnvLoadBinResource(void* buffer, unsigned size, ResIdRoutine idRoutine);
void* overcpy(void* buffer, ResIdRoutine idRoutine, unsigned size);
// The read-only data of a resource and its size, or NULL when it is missing.
const unsigned char* EnvFindRcData(int selector, ResIdRoutine idRoutine, uint16_t* size);
// Empties the slots of a kind (every slot for 0) without freeing their caches.
void EnvClearRcsSlots(int kind);
void EnvFreeRcsCaches(int kind);
