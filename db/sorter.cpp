#include "db/sorter.h"

#include <algorithm>
#include <cstring>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/index_keys.h"
#include "db/mdx_layout.h"
#include "env/env_state.h"
#include "env/memory.h"

namespace {

constexpr unsigned MIN_POINTERS = 512;
constexpr const char* MSG_NO_MEMORY = "!125!";

Environment* env_of(DbEngine* engine) { return reinterpret_cast<Environment*>(engine); }

long item_record(const DbSorter* s, const unsigned char* item) { return (long)GetLe32(item + s->key_len); }

// Key order, then the lower record number first.
int item_compare(const DbSorter* s, const unsigned char* a, const unsigned char* b) {
  int c = s->compare(a, b, s->key_len);
  if (c != 0) return c;
  long ra = item_record(s, a), rb = item_record(s, b);
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}

void sort_memory_items(DbSorter* s) {
  std::sort(s->items, s->items + s->used,
            [s](const unsigned char* a, const unsigned char* b) { return item_compare(s, a, b) < 0; });
}

int spill(DbSorter* s) {
  DbEngine* engine = s->engine;
  if (s->run_items.empty()) {
    if (file4temp(&s->spill, engine, nullptr, nullptr, 1) != 0) return -1;
    unsigned size = (unsigned)engine->sequential_buffer;
    s->writer_buffer = (char*)u4alloc_report(env_of(engine), size);
    if (s->writer_buffer == nullptr) return e4memory;
    file4seq_write_init(&s->writer, &s->spill, 0, s->writer_buffer, size);
  }
  sort_memory_items(s);
  for (unsigned i = 0; i < s->used; i++)
    if (file4seq_write(&s->writer, s->items[i], s->item_len) != 0) return -1;
  s->run_items.push_back((long)s->used);
  s->used = 0;
  return 0;
}

// Fills the run's buffer from the spill file; a chunk that is not a whole
// number of items is a read error.
int load_run(DbSorter* s, DbSortRun* run, unsigned per_run) {
  run->pos = run->in_buffer = 0;
  if (run->left <= 0) {
    run->next_pos = -1;
    return 0;
  }
  unsigned want = (unsigned)std::min<long>(run->left, per_run);
  unsigned bytes = want * s->item_len;
  unsigned got = file4read(&s->spill, run->next_pos, run->buffer, bytes);
  if (s->engine->error_code < 0) return -1;
  if (got != bytes) return e4show_error(s->engine, e4read, s->spill.name);
  run->in_buffer = want;
  run->left -= want;
  run->next_pos += bytes;
  return 0;
}

unsigned char* run_item(const DbSorter* s, const DbSortRun& run) { return run.buffer + run.pos * s->item_len; }

// Puts run `r` among the heads by binary search on its current item.
void place_head(DbSorter* s, int r) {
  const unsigned char* item = run_item(s, s->runs[(size_t)r]);
  auto at = std::lower_bound(s->heads.begin(), s->heads.end(), r, [&](int other, int) {
    return item_compare(s, run_item(s, s->runs[(size_t)other]), item) < 0;
  });
  s->heads.insert(at, r);
}

}  // namespace

int sort4init(DbSorter* s, DbEngine* engine, unsigned key_len, unsigned info_len) {
  s->engine = engine;
  s->key_len = key_len;
  s->info_len = info_len;
  s->item_len = key_len + 4 + info_len;
  s->compare = c4collate_compare;
  s->spill.handle = PLAT_NO_FILE;
  unsigned memory = (unsigned)engine->sort_memory;
  s->items_per_block = (memory - 8) / s->item_len;
  for (s->capacity = memory / 4; s->capacity >= MIN_POINTERS; s->capacity /= 2) {
    s->items = (unsigned char**)u4alloc(s->capacity * sizeof(unsigned char*));
    if (s->items != nullptr) break;
  }
  if (s->items == nullptr || s->items_per_block == 0) return e4show_error(engine, e4memory, MSG_NO_MEMORY);
  if (s->pool != nullptr) e4fatal_stop(e4info, "!412!");
  s->pool = mem4create(env_of(engine), 1, (int)memory, 1, 1);
  if (s->pool == nullptr) return e4show_error(engine, e4memory, MSG_NO_MEMORY);
  return 0;
}

int sort4put(DbSorter* s, long record, const void* key, const void* info) {
  if (s->used == s->capacity && spill(s) != 0) return -1;
  if (s->used >= s->blocks.size() * s->items_per_block) {
    unsigned char* block = (unsigned char*)mem4alloc(s->pool);
    if (block != nullptr) {
      s->blocks.push_back(block);
    } else if (s->used == 0) {
      return e4show_error(s->engine, e4memory, MSG_NO_MEMORY);
    } else if (spill(s) != 0) {
      return -1;
    }
  }
  // Slots are reused after every spill.
  unsigned slot = s->used;
  unsigned char* item = s->blocks[slot / s->items_per_block] + (slot % s->items_per_block) * s->item_len;
  std::memcpy(item, key, s->key_len);
  PutLe32(item + s->key_len, (uint32_t)record);
  if (s->info_len) std::memcpy(item + s->key_len + 4, info, s->info_len);
  s->items[s->used++] = item;
  return 0;
}

int sort4get_init(DbSorter* s) {
  s->next_item = 0;
  if (s->run_items.empty()) {
    sort_memory_items(s);
    return 0;
  }
  if (s->used > 0 && spill(s) != 0) return -1;
  if (file4seq_write_flush(&s->writer) != 0) return -1;
  free_mem(&s->writer_buffer);
  free_mem(&s->items);
  // The merge reads each run through its own share of the sorter's memory.
  size_t memory = std::max<size_t>(s->blocks.size(), 1) * (size_t)s->engine->sort_memory;
  for (unsigned char* block : s->blocks) mem4free(s->pool, block);
  s->blocks.clear();
  mem4drop(s->pool);
  s->pool = nullptr;
  size_t runs = s->run_items.size();
  unsigned per_run = (unsigned)std::max<size_t>(1, memory / (runs * s->item_len));
  s->merge_buffer = (unsigned char*)u4alloc((runs * per_run + 1) * s->item_len);
  if (s->merge_buffer == nullptr) return e4show_error(s->engine, e4memory, MSG_NO_MEMORY);
  s->runs.assign(runs, DbSortRun{});
  long pos = 0;
  for (size_t r = 0; r < runs; r++) {
    DbSortRun& run = s->runs[r];
    run.buffer = s->merge_buffer + r * per_run * s->item_len;
    run.next_pos = pos;
    run.left = s->run_items[r];
    pos += s->run_items[r] * (long)s->item_len;
    if (load_run(s, &run, per_run) != 0) return -1;
    if (run.in_buffer > 0) place_head(s, (int)r);
  }
  s->per_run = per_run;
  s->merging = 1;
  return 0;
}

int sort4get(DbSorter* s, long* record, unsigned char** key, unsigned char** info) {
  if (!s->merging) {
    if (s->next_item >= s->used) {
      sort4free(s);
      return 1;
    }
    unsigned char* item = s->items[s->next_item++];
    *record = item_record(s, item);
    *key = item;
    if (info) *info = item + s->key_len + 4;
    return 0;
  }
  if (s->heads.empty()) {
    sort4free(s);
    return 1;
  }
  // The delivered item stays valid until the next call: it is copied aside
  // before its run's buffer can be refilled.
  int r = s->heads.front();
  s->heads.erase(s->heads.begin());
  DbSortRun& run = s->runs[(size_t)r];
  unsigned char* item = run_item(s, run);
  unsigned char* out = s->merge_buffer + s->runs.size() * s->per_run * s->item_len;
  std::memcpy(out, item, s->item_len);
  run.pos++;
  if (run.pos >= run.in_buffer && load_run(s, &run, s->per_run) != 0) return -1;
  if (run.pos < run.in_buffer) place_head(s, r);
  *record = item_record(s, out);
  *key = out;
  if (info) *info = out + s->key_len + 4;
  return 0;
}

void sort4free(DbSorter* s) {
  for (unsigned char* block : s->blocks) mem4free(s->pool, block);
  s->blocks.clear();
  if (s->pool != nullptr) mem4drop(s->pool);
  s->pool = nullptr;
  free_mem(&s->items);
  free_mem(&s->writer_buffer);
  free_mem(&s->merge_buffer);
  if (s->spill.handle != PLAT_NO_FILE || s->spill.is_open) file4close(&s->spill);
  s->spill.handle = PLAT_NO_FILE;
  s->spill.is_open = 0;
  s->run_items.clear();
  s->runs.clear();
  s->heads.clear();
  s->used = 0;
  s->merging = 0;
}
