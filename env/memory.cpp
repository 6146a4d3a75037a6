#include "env/memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "env/error_codes.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEL_ASAN 1
#endif
#endif
#ifdef ZEL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

// The address sanitizer sees only the system block: guards, padding and the
// free blocks of a pool are marked unusable so that a stray read of them is
// reported where it happens, not at the next guard check (or never).
void Poison(const void* p, size_t n) {
#ifdef ZEL_ASAN
  __asan_poison_memory_region(p, n);
#else
  (void)p;
  (void)n;
#endif
}

void Unpoison(const void* p, size_t n) {
#ifdef ZEL_ASAN
  __asan_unpoison_memory_region(p, n);
#else
  (void)p;
  (void)n;
#endif
}

// Message numbers of the checks (contexts shown by the fatal stop).
constexpr int MSG_GUARD = 50420;       // "!473!"
constexpr int MSG_REGISTRY = 50421;    // "!456!"
constexpr int MSG_NOT_FOUND = 50422;   // "!455!"
constexpr int MSG_COUNT = 50423;       // "!479!"
constexpr int MSG_ALLOC = 50424;       // "mem4alloc()"
constexpr int MSG_CREATE = 50425;      // "mem4create()"
constexpr int MSG_FREE = 50426;        // "mem4free()"
constexpr int MSG_ZERO = 50427;        // "!471!"

constexpr int REGISTRY_STEP = 100;
constexpr int REGISTRY_MAX = 10000;
constexpr int POOL_RECORDS_PER_CHUNK = 10;
// A chunk starts with its list link and its size, padded so that the
// blocks after it stay on the data boundary.
constexpr size_t CHUNK_HEADER = 32;
// Bytes in front of the data that hold 0x55: the ten-byte guard and the
// two bytes that pad the header to 16.
constexpr int FRONT_FILL = MEM_HEADER_SIZE - 4;

static_assert(FRONT_FILL >= MEM_GUARD_SIZE);
static_assert(MEM_HEADER_SIZE % MEM_DATA_ALIGN == 0);

struct Registered {
  unsigned char* data;
  uint32_t total;   // n + 24, as written in the block
};

struct Chunk {
  DbLink link;
  size_t bytes;     // the whole chunk, header included
};

Registered* g_registry = nullptr;
int g_capacity = -1;
int g_count = 0;

DbList g_pools;          // MemPool records in use
DbList g_poolRecords;    // free MemPool records
DbList g_recordChunks;   // chunks of pool records

size_t RoundUp(size_t n) { return (n + MEM_DATA_ALIGN - 1) / MEM_DATA_ALIGN * MEM_DATA_ALIGN; }

// What one block of n data bytes takes from its chunk or from the system.
size_t Stride(size_t n) { return RoundUp(MEM_HEADER_SIZE + n + MEM_GUARD_SIZE); }

void* SystemAlloc(size_t bytes) { return std::aligned_alloc(MEM_DATA_ALIGN, RoundUp(bytes)); }

// Writes the guards and size word of a block whose whole stride is usable,
// then marks everything but the data unusable.
void WriteFrame(unsigned char* data, uint32_t total) {
  std::memset(data - MEM_HEADER_SIZE, MEM_GUARD_BYTE, FRONT_FILL);
  std::memcpy(data - 4, &total, 4);
  std::memset(data + (total - MEM_OVERHEAD), MEM_GUARD_BYTE, MEM_GUARD_SIZE);
  size_t n = total - MEM_OVERHEAD;
  Poison(data - MEM_HEADER_SIZE, MEM_HEADER_SIZE);
  Poison(data + n, Stride(n) - MEM_HEADER_SIZE - n);
}

// `total` is the size the block was registered with, so a damaged size word
// cannot send the check outside the block.
void CheckGuards(const unsigned char* data, uint32_t total) {
  const unsigned char* back = data + (total - MEM_OVERHEAD);
  Unpoison(data - MEM_HEADER_SIZE, MEM_HEADER_SIZE);
  Unpoison(back, MEM_GUARD_SIZE);
  uint32_t stored;
  std::memcpy(&stored, data - 4, 4);
  bool good = stored == total;
  for (int i = 0; i < FRONT_FILL && good; ++i) good = data[i - MEM_HEADER_SIZE] == MEM_GUARD_BYTE;
  for (int i = 0; i < MEM_GUARD_SIZE && good; ++i) good = back[i] == MEM_GUARD_BYTE;
  Poison(data - MEM_HEADER_SIZE, MEM_HEADER_SIZE);
  Poison(back, MEM_GUARD_SIZE);
  if (!good) e4fatal_stop(e4result, MSG_GUARD);
}

void Register(unsigned char* data, uint32_t total) {
  if (g_capacity < 0) {
    g_registry = static_cast<Registered*>(std::malloc(sizeof(Registered) * REGISTRY_STEP));
    if (g_registry == nullptr) e4fatal_stop(e4memory, MSG_REGISTRY);
    g_capacity = REGISTRY_STEP;
    g_count = 0;
  }
  if (g_count >= g_capacity) {
    int capacity = g_capacity + REGISTRY_STEP;
    if (capacity > REGISTRY_MAX) e4fatal_stop(e4result, MSG_REGISTRY);
    auto* grown = static_cast<Registered*>(std::realloc(g_registry, sizeof(Registered) * capacity));
    if (grown == nullptr) e4fatal_stop(e4memory, MSG_REGISTRY);
    g_registry = grown;
    g_capacity = capacity;
  }
  g_registry[g_count++] = Registered{data, total};
}

// Removes the entry and returns the size it was registered with.
uint32_t Unregister(const void* data) {
  for (int i = g_count - 1; i >= 0; --i) {
    if (g_registry[i].data == data) {
      uint32_t total = g_registry[i].total;
      std::memmove(g_registry + i, g_registry + i + 1, sizeof(Registered) * (g_count - i - 1));
      --g_count;
      return total;
    }
  }
  e4fatal_stop(e4result, MSG_NOT_FOUND);
}

// Forgets the blocks that lie in [start, end): their memory is going away.
void UnregisterRange(const unsigned char* start, const unsigned char* end) {
  int kept = 0;
  for (int i = 0; i < g_count; ++i)
    if (g_registry[i].data < start || g_registry[i].data >= end) g_registry[kept++] = g_registry[i];
  g_count = kept;
}

const MemEngineLink* g_engine = nullptr;

void SetMemoryError(Environment* env) {
  if (env != nullptr && g_engine != nullptr) g_engine->setError(env, e4memory);
}

bool HoldsError(const Environment* env) { return env != nullptr && g_engine != nullptr && g_engine->errorCode(env) < 0; }

unsigned char* ChunkBlocks(Chunk* chunk) { return reinterpret_cast<unsigned char*>(chunk) + CHUNK_HEADER; }

void FreeChunks(DbList* chunks) {
  while (auto* chunk = static_cast<Chunk*>(l4pop(chunks))) {
    unsigned char* start = reinterpret_cast<unsigned char*>(chunk);
    Unpoison(start, chunk->bytes);
    UnregisterRange(start, start + chunk->bytes);
    std::memset(start, 0, chunk->bytes);
    std::free(chunk);
  }
}

bool GrowPool(MemPool* pool) {
  int count = pool->chunks.count == 0 ? pool->startCount : pool->expandCount;
  if (count <= 0) return false;
  size_t stride = Stride(pool->unitSize - MEM_OVERHEAD);
  size_t bytes = CHUNK_HEADER + stride * count;
  auto* chunk = static_cast<Chunk*>(SystemAlloc(bytes));
  if (chunk == nullptr) return false;
  std::memset(chunk, 0, bytes);
  chunk->bytes = RoundUp(bytes);
  l4add(&pool->chunks, chunk);
  // A free block keeps its list link in its header; the rest of it is unusable.
  Poison(ChunkBlocks(chunk), stride * count);
  for (int i = 0; i < count; ++i) {
    unsigned char* header = ChunkBlocks(chunk) + stride * i;
    Unpoison(header, sizeof(DbLink));
    l4add(&pool->freeBlocks, header);
  }
  return true;
}

}  // namespace

void* u4alloc(size_t n) {
  if (n == 0) e4fatal_stop(e4parm, MSG_ZERO);
  if (n > UINT32_MAX - 2 * MEM_DATA_ALIGN - MEM_OVERHEAD) return nullptr;
  auto* start = static_cast<unsigned char*>(SystemAlloc(Stride(n)));
  if (start == nullptr) return nullptr;
  unsigned char* data = start + MEM_HEADER_SIZE;
  uint32_t total = static_cast<uint32_t>(n + MEM_OVERHEAD);
  WriteFrame(data, total);
  Register(data, total);
  std::memset(data, 0, n);
  return data;
}

void u4free(void* data) {
  if (data == nullptr) return;
  auto* bytes = static_cast<unsigned char*>(data);
  uint32_t total = Unregister(bytes);
  CheckGuards(bytes, total);
  unsigned char* start = bytes - MEM_HEADER_SIZE;
  Unpoison(start, Stride(total - MEM_OVERHEAD));
  std::memset(start, 0, Stride(total - MEM_OVERHEAD));
  std::free(start);
}

void* take_mem(size_t n) { return u4alloc(n); }

void free_mem(void* pointerVariable) {
  void* data;
  std::memcpy(&data, pointerVariable, sizeof data);
  if (data == nullptr) return;
  u4free(data);
  data = nullptr;
  std::memcpy(pointerVariable, &data, sizeof data);
}

void MemSetEngineLink(const MemEngineLink* link) { g_engine = link; }

void* u4alloc_report(Environment* env, size_t n) {
  if (env == nullptr || g_engine == nullptr) return u4alloc(n);
  if (n > UINT32_MAX) {
    g_engine->showError(env, e4memory);
    return nullptr;
  }
  void* data = g_engine->allocRetry(env, static_cast<unsigned>(n));
  if (data == nullptr) g_engine->showError(env, e4memory);
  return data;
}

MemPool* mem4create(Environment* env, int startCount, int unitSize, int expandCount, int privateFlag) {
  if (startCount < 0 || expandCount < 0 || unitSize < 0 || unitSize > INT32_MAX - 2 * MEM_DATA_ALIGN - MEM_OVERHEAD)
    e4fatal_stop(e4parm, MSG_CREATE);
  if (HoldsError(env)) return nullptr;
  unitSize += MEM_OVERHEAD;
  if (!privateFlag) {
    for (auto* pool = static_cast<MemPool*>(l4first(&g_pools)); pool != nullptr;
         pool = static_cast<MemPool*>(l4next(&g_pools, pool))) {
      if (pool->unitSize == unitSize && pool->shareCount > 0) {
        if (startCount > pool->startCount) pool->startCount = startCount;
        if (expandCount > pool->expandCount) pool->expandCount = expandCount;
        ++pool->shareCount;
        return pool;
      }
    }
  }
  if (g_poolRecords.count == 0) {
    size_t bytes = CHUNK_HEADER + sizeof(MemPool) * POOL_RECORDS_PER_CHUNK;
    auto* chunk = static_cast<Chunk*>(SystemAlloc(bytes));
    if (chunk == nullptr) {
      SetMemoryError(env);
      return nullptr;
    }
    std::memset(chunk, 0, bytes);
    chunk->bytes = RoundUp(bytes);
    l4add(&g_recordChunks, chunk);
    auto* records = reinterpret_cast<MemPool*>(ChunkBlocks(chunk));
    for (int i = 0; i < POOL_RECORDS_PER_CHUNK; ++i) l4add(&g_poolRecords, &records[i]);
  }
  auto* pool = static_cast<MemPool*>(l4pop(&g_poolRecords));
  *pool = MemPool{};
  l4add(&g_pools, pool);
  pool->startCount = startCount;
  pool->unitSize = unitSize;
  pool->expandCount = expandCount;
  pool->shareCount = privateFlag ? -1 : 1;
  pool->inUse = 0;
  pool->owner = env;
  return pool;
}

void* mem4alloc(MemPool* pool) {
  if (pool == nullptr) e4fatal_stop(e4parm, MSG_ALLOC);
  return mem4alloc_env(pool, pool->owner);
}

void* mem4alloc_env(MemPool* pool, Environment* env) {
  if (pool == nullptr) e4fatal_stop(e4parm, MSG_ALLOC);
  if (HoldsError(env)) return nullptr;
  if (pool->freeBlocks.count == 0 && !GrowPool(pool)) {
    SetMemoryError(env);
    return nullptr;
  }
  auto* header = static_cast<unsigned char*>(l4pop(&pool->freeBlocks));
  unsigned char* data = header + MEM_HEADER_SIZE;
  ++pool->inUse;
  uint32_t total = static_cast<uint32_t>(pool->unitSize);
  Unpoison(header, Stride(total - MEM_OVERHEAD));
  WriteFrame(data, total);
  Register(data, total);
  std::memset(data, 0, total - MEM_OVERHEAD);
  return data;
}

void* mem4pool_alloc(Environment* env, MemPool** pool, int startCount, int unitSize, int expandCount,
                     int privateFlag) {
  if (*pool == nullptr) *pool = mem4create(env, startCount, unitSize, expandCount, privateFlag);
  if (*pool == nullptr) return nullptr;
  return mem4alloc_env(*pool, env);
}

void mem4free(MemPool* pool, void* data) {
  if (pool == nullptr || data == nullptr) return;
  if (--pool->inUse < 0) e4fatal_stop(e4result, MSG_FREE);
  uint32_t total = Unregister(data);
  CheckGuards(static_cast<unsigned char*>(data), total);
  // A block of another size would break this pool's chunks when reused.
  if (total != static_cast<uint32_t>(pool->unitSize)) e4fatal_stop(e4result, MSG_FREE);
  unsigned char* header = static_cast<unsigned char*>(data) - MEM_HEADER_SIZE;
  Poison(header, Stride(total - MEM_OVERHEAD));
  Unpoison(header, sizeof(DbLink));
  l4add(&pool->freeBlocks, header);
}

void mem4drop(MemPool* pool) {
  if (pool == nullptr) return;
  if (pool->shareCount > 1) {
    --pool->shareCount;
    return;
  }
  FreeChunks(&pool->chunks);
  l4remove(&g_pools, pool);
  *pool = MemPool{};
  l4add(&g_poolRecords, pool);
}

void mem4reset() {
  while (auto* pool = static_cast<MemPool*>(l4pop(&g_pools))) FreeChunks(&pool->chunks);
  g_poolRecords = DbList{};
  while (auto* chunk = static_cast<Chunk*>(l4pop(&g_recordChunks))) std::free(chunk);
  std::free(g_registry);
  g_registry = nullptr;
  g_capacity = -1;
  g_count = 0;
}

void u4check_all() {
  for (int i = 0; i < g_count; ++i) CheckGuards(g_registry[i].data, g_registry[i].total);
}

int u4count_check(int n) {
  if (g_count > n) e4fatal_stop(e4result, MSG_COUNT);
  return g_count;
}

int u4registered_count() { return g_count; }
