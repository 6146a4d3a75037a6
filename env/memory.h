// Guarded memory blocks and pools of fixed-size blocks.
// Every block carries ten guard bytes 0x55 on each side and its total size,
// and is entered in a registry of live blocks, so an overrun, a double
// release or a release of a foreign pointer is caught when the block goes
// back. A failed check ends the program through the fatal stop (env/error_codes.h).
#pragma once
#include <cstddef>
#include "env/lists.h"

struct Environment;

// The engine stands above these routines: a pool's owner and u4alloc_report
// reach the owner's engine through this link, which CreateEnvironment
// installs. Until then an owner's engine is not told of failures.
struct MemEngineLink {
  void (*setError)(Environment* env, int code);
  int (*errorCode)(const Environment* env);
  // The engine's allocation: when memory runs out while the block cache runs,
  // suspends it and tries once more.
  void* (*allocRetry)(Environment* env, unsigned size);
  void (*showError)(Environment* env, int code);
};
void MemSetEngineLink(const MemEngineLink* link);

constexpr int MEM_GUARD_SIZE = 10;
constexpr unsigned char MEM_GUARD_BYTE = 0x55;
// Guards and size word: the block's recorded overhead (its total size is n + 24).
constexpr int MEM_OVERHEAD = 24;
// The data of every block starts on a 16-byte boundary: the header in front
// of it is 16 bytes (two more guard bytes, the ten-byte guard, the size word).
constexpr int MEM_DATA_ALIGN = 16;
constexpr int MEM_HEADER_SIZE = 16;

struct MemPool {
  DbLink link;          // place in the library's list of pools
  DbList chunks;        // memory taken from the system
  DbList freeBlocks;    // blocks ready to be handed out, last in first out
  Environment* owner;   // whose error code the pool reports to, or NULL
  int startCount;       // blocks in the first chunk
  int unitSize;         // data size + 24: the key under which pools are shared
  int expandCount;      // blocks in each further chunk
  int shareCount;       // users of a shared pool; -1 for a private pool
  int inUse;            // blocks handed out and not given back
};

// A guarded, zero-filled, registered block of n bytes; NULL when the system
// has no memory. n = 0 is a fatal parameter error.
void* u4alloc(size_t n);
// Unregisters, checks the guards, zeroes and frees; NULL is ignored.
void u4free(void* data);
void* take_mem(size_t n);
// `pointerVariable` is the address of a pointer: frees it and sets it to NULL.
void free_mem(void* pointerVariable);
// With an environment: the engine's allocation (which, when memory runs out
// while the block cache runs, suspends it and tries once more), and on a
// final failure the engine's error report -920. Without: u4alloc.
void* u4alloc_report(Environment* env, size_t n);

MemPool* mem4create(Environment* env, int startCount, int unitSize, int expandCount, int privateFlag);
void* mem4alloc(MemPool* pool);
void* mem4alloc_env(MemPool* pool, Environment* env);
void* mem4pool_alloc(Environment* env, MemPool** pool, int startCount, int unitSize, int expandCount,
                     int privateFlag);
void mem4free(MemPool* pool, void* data);
void mem4drop(MemPool* pool);
// Frees every pool, the pool records and the registry; at shut-down only.
void mem4reset();

void u4check_all();
int u4count_check(int n);
// Number of registered blocks (diagnosis and tests).
int u4registered_count();
