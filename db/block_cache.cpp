#include "db/block_cache.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/dbf_table.h"
#include "env/memory.h"

namespace {

DbCacheState& cache_of(const DbFile* file) { return file->engine->cache; }

DbCacheBlock* block_of_list_link(void* link) {
  return link == nullptr ? nullptr : (DbCacheBlock*)((char*)link - offsetof(DbCacheBlock, list_link));
}

long block_start(const DbCacheState& c, long pos) { return pos / c.block_size * c.block_size; }

// The system's length of the file; 0 for a file with nothing on disk yet.
long system_length(DbFile* file) {
  uint64_t length = 0;
  if (!file->is_open || file->handle == PLAT_NO_FILE) return 0;
  if (PlatFileLength(file->handle, &length) != PLAT_OK) return -1;
  return (long)length;
}

bool shared_file(const DbFile* file) {
  return !file->exclusive && !file->read_only && !file->write_behind_active;
}

// ---- lists

DbList* opt4file_find_list(DbFile* file) {
  DbCacheState& c = cache_of(file);
  switch (file->cache_list) {
    case DB_CACHE_DATA: return &c.data_list;
    case DB_CACHE_INDEX: return &c.index_list;
    default: return &c.other_list;
  }
}

DbList* list_of_block(DbCacheState& c, DbCacheBlock* block) {
  return block->file == nullptr ? &c.free_list : opt4file_find_list(block->file);
}

unsigned opt4file_hash(const DbCacheState& c, const DbFile* file, long pos) {
  return (unsigned)((unsigned long)(pos + file->hash_start) >> c.block_shift) & c.hash_mask;
}

DbCacheBlock* opt4file_return_block(DbFile* file, long pos) {
  DbCacheState& c = cache_of(file);
  DbList* chain = &c.hash_table[opt4file_hash(c, file, pos)];
  for (DbCacheBlock* b = (DbCacheBlock*)l4first(chain); b != nullptr; b = (DbCacheBlock*)l4next(chain, b))
    if (b->file == file && b->pos == pos) return b;
  return nullptr;
}

// To the most-recent end of its list.
void opt4file_lru_bottom(DbCacheState& c, DbCacheBlock* block) {
  DbList* list = list_of_block(c, block);
  if (list->last == &block->list_link) return;
  l4remove(list, &block->list_link);
  l4add(list, &block->list_link);
}

// To the end of its list that gives up blocks first.
void opt4file_lru_top(DbCacheState& c, DbCacheBlock* block) {
  DbList* list = list_of_block(c, block);
  void* first = l4first(list);
  if (first == &block->list_link) return;
  l4remove(list, &block->list_link);
  l4add_before(list, first, &block->list_link);
}

// ---- writing

int write_direct(DbFile* file, long pos, const char* data, unsigned length) {
  if (length == 0) return 0;
  return PlatFileWrite(file->handle, (uint64_t)pos, data, length) == PLAT_OK ? 0 : -1;
}

int opt4flush_write_buffer(DbCacheState& c) {
  if (c.write_block_count == 0) return 0;
  DbFile* file = c.write_file;
  int result = write_direct(file, c.write_start, c.write_buffer, (unsigned)(c.write_end - c.write_start));
  c.write_block_count = 0;
  c.write_file = nullptr;
  c.write_start = c.write_end = 0;
  return result;
}

bool write_buffer_overlaps(const DbCacheState& c, const DbFile* file, long from, long to) {
  return c.write_block_count > 0 && c.write_file == file && from < c.write_end && to > c.write_start;
}

// Writes a changed block; with `gather` it goes through the write-behind buffer.
int opt4block_flush(DbCacheState& c, DbCacheBlock* block, bool gather) {
  if (!block->changed) return 0;
  block->changed = 0;
  long end = block->pos + (long)block->length;
  // A read-ahead run being handed out must not hand out what was read before this change.
  if (c.read_ahead_valid && c.read_ahead_file == block->file && block->pos >= c.read_ahead_start &&
      end <= c.read_ahead_start + c.buffer_size)
    std::memcpy(c.read_ahead_buffer + (block->pos - c.read_ahead_start), block->data, block->length);
  if (!gather) {
    if (write_buffer_overlaps(c, block->file, block->pos, end) && opt4flush_write_buffer(c) < 0) return -1;
    return write_direct(block->file, block->pos, block->data, block->length);
  }
  int result = 0;
  if (c.write_block_count == 0 || c.write_file != block->file || c.write_end != block->pos ||
      c.write_block_count >= c.blocks_per_buffer) {
    result = opt4flush_write_buffer(c);
    c.write_file = block->file;
    c.write_start = c.write_end = block->pos;
  }
  std::memcpy(c.write_buffer + (c.write_end - c.write_start), block->data, block->length);
  c.write_end += (long)block->length;
  c.write_block_count++;
  // A partial block ends the run: the next block cannot follow it.
  if (block->length < (unsigned)c.block_size && opt4flush_write_buffer(c) < 0) result = -1;
  return result;
}

void opt4block_clear(DbCacheBlock* block) {
  block->changed = 0;
  block->length = 0;
  block->file = nullptr;
  block->pos = 0;
  block->view = 0;
}

// Takes a block out of its hash chain and list onto the free list.
int opt4block_remove(DbCacheState& c, DbCacheBlock* block, bool write) {
  int result = write ? opt4block_flush(c, block, false) : 0;
  l4remove(&c.hash_table[opt4file_hash(c, block->file, block->pos)], block);
  l4remove(opt4file_find_list(block->file), &block->list_link);
  opt4block_clear(block);
  l4add(&c.free_list, &block->list_link);
  return result;
}

void opt4block_add(DbCacheState& c, DbCacheBlock* block, DbFile* file, long pos) {
  block->file = file;
  block->pos = pos;
  l4add(&c.hash_table[opt4file_hash(c, file, pos)], block);
  l4add(opt4file_find_list(file), &block->list_link);
}

// ---- reuse

void set_order(DbCacheState& c, DbList* first, DbList* second, DbList* last) {
  c.reuse_order[2] = first;
  c.reuse_order[1] = second;
  c.reuse_order[0] = last;
}

void d4update_priority(DbEngine* engine) {
  DbCacheState& c = engine->cache;
  int mix = engine->operation_mix;
  if (mix == c.last_mix) return;
  c.last_mix = mix;
  engine->operation_mix = 0;
  c.reuse_counter = 0;
  c.read_ahead_mode = 0;
  if (mix < DB_MIX_TAG_SEEK) {
    c.read_ahead_mode = (unsigned char)((mix & (DB_MIX_SKIP | DB_MIX_TAG_SKIP)) >> 1);
    set_order(c, &c.other_list, &c.index_list, &c.data_list);
  } else if (mix < DB_MIX_APPEND) {
    set_order(c, &c.other_list, &c.data_list, &c.index_list);
  } else if (mix < DB_MIX_REINDEX) {
    set_order(c, &c.other_list, &c.index_list, &c.data_list);
  } else {
    set_order(c, &c.other_list, &c.data_list, &c.index_list);
    c.reuse_counter = 5;
  }
}

// A free block, or the least recently used one of the list whose turn it is
// (written first when changed); -1 when writing it failed.
DbCacheBlock* opt4file_choose_block(DbEngine* engine, int* failed) {
  DbCacheState& c = engine->cache;
  if (c.free_list.count > 0) {
    DbCacheBlock* block = block_of_list_link(l4first(&c.free_list));
    l4remove(&c.free_list, &block->list_link);
    return block;
  }
  if (++c.reuse_counter > 10) d4update_priority(engine);
  DbList* from = nullptr;
  if (c.reuse_order[2]->count > c.blocks_per_buffer) from = c.reuse_order[2];
  else if (c.reuse_order[1]->count > c.blocks_per_buffer) from = c.reuse_order[1];
  else if (c.reuse_order[0]->count > 0) from = c.reuse_order[0];
  else from = c.reuse_order[1]->count > 0 ? c.reuse_order[1] : c.reuse_order[2];
  DbCacheBlock* block = block_of_list_link(l4first(from));
  DbFile* owner = block->file;
  if (opt4block_remove(c, block, true) < 0) {
    e4show_file_error(engine, e4write, owner->name);
    *failed = 1;
  }
  l4remove(&c.free_list, &block->list_link);
  return block;
}

// Bytes the cache knows beyond what is on disk (a gap left by a write
// further on that is still held back) read as zeros.
void fill_to_known_length(const DbCacheState& c, DbCacheBlock* block) {
  long known = block->file->cached_length;
  if (known <= block->pos + (long)block->length) return;
  unsigned upto = (unsigned)std::min<long>(c.block_size, known - block->pos);
  std::memset(block->data + block->length, 0, upto - block->length);
  block->length = upto;
}

// Reads the block's bytes from the file; -1 after error -70.
int opt4file_read_file(DbCacheState& c, DbCacheBlock* block) {
  DbFile* file = block->file;
  if (write_buffer_overlaps(c, file, block->pos, block->pos + c.block_size) && opt4flush_write_buffer(c) < 0)
    return e4show_file_error(file->engine, e4write, file->name);
  size_t done = 0;
  c.disk_reads++;
  file->disk_reads++;
  if (file->is_open && PlatFileRead(file->handle, (uint64_t)block->pos, block->data, (size_t)c.block_size, &done) != PLAT_OK)
    return e4show_file_error(file->engine, e4read, file->name);
  block->length = (unsigned)done;
  block->view = c.view;
  fill_to_known_length(c, block);
  return 0;
}

// A fresh block registered under (file, pos), its contents read when asked; NULL on failure.
DbCacheBlock* opt4file_get_block(DbFile* file, long pos, bool read) {
  DbEngine* engine = file->engine;
  DbCacheState& c = engine->cache;
  int failed = 0;
  DbCacheBlock* block = opt4file_choose_block(engine, &failed);
  opt4block_add(c, block, file, pos);
  if (failed || (read && opt4file_read_file(c, block) < 0)) {
    opt4block_remove(c, block, false);
    return nullptr;
  }
  return block;
}

// Reads one buffer's run around `pos` and spreads it over cache blocks.
int opt4file_read_sp_buffer(DbFile* file, long pos) {
  DbEngine* engine = file->engine;
  DbCacheState& c = engine->cache;
  long start = pos;
  if (opt4file_return_block(file, pos + c.block_size) != nullptr)
    start = std::max(0L, pos - (long)(c.buffer_size - c.block_size));
  if (write_buffer_overlaps(c, file, start, start + c.buffer_size) && opt4flush_write_buffer(c) < 0)
    return e4show_file_error(engine, e4write, file->name);
  size_t got = 0;
  c.disk_reads++;
  file->disk_reads++;
  if (file->is_open &&
      PlatFileRead(file->handle, (uint64_t)start, c.read_ahead_buffer, (size_t)c.buffer_size, &got) != PLAT_OK)
    return e4show_file_error(engine, e4read, file->name);
  c.read_ahead_valid = 1;
  c.read_ahead_start = start;
  c.read_ahead_file = file;
  int result = 0;
  for (long at = 0; at < (long)got; at += c.block_size) {
    DbCacheBlock* block = opt4file_return_block(file, start + at);
    if (block != nullptr) {
      opt4file_lru_bottom(c, block);
      continue;
    }
    block = opt4file_get_block(file, start + at, false);
    if (block == nullptr) {
      result = -1;
      break;
    }
    block->length = (unsigned)std::min<long>(c.block_size, (long)got - at);
    block->view = c.view;
    std::memcpy(block->data, c.read_ahead_buffer + at, block->length);
    fill_to_known_length(c, block);
  }
  c.read_ahead_valid = 0;
  c.read_ahead_file = nullptr;
  return result;
}

bool reads_ahead(const DbCacheState& c, const DbFile* file) {
  if (c.read_ahead_mode == 1) return file->cache_list == DB_CACHE_DATA;
  if (c.read_ahead_mode >= 2) return file->cache_list == DB_CACHE_INDEX;
  return false;
}

// The file's blocks, in file order.
std::vector<DbCacheBlock*> blocks_of(DbFile* file) {
  std::vector<DbCacheBlock*> found;
  DbList* list = opt4file_find_list(file);
  for (void* l = l4first(list); l != nullptr; l = l4next(list, l)) {
    DbCacheBlock* block = block_of_list_link(l);
    if (block->file == file) found.push_back(block);
  }
  std::sort(found.begin(), found.end(), [](DbCacheBlock* a, DbCacheBlock* b) { return a->pos < b->pos; });
  return found;
}

int flush_file_blocks(DbFile* file, bool release) {
  DbCacheState& c = cache_of(file);
  int result = 0;
  for (DbCacheBlock* block : blocks_of(file)) {
    if (opt4block_flush(c, block, true) < 0) result = -1;
    if (release) opt4block_remove(c, block, false);
  }
  if (c.write_file == file && opt4flush_write_buffer(c) < 0) result = -1;
  return result;
}

// Reads a clean block of a shared file again; when another workstation has
// changed it, the file's other clean blocks are let go as well.
int read_again(DbCacheState& c, DbCacheBlock* block) {
  // The bytes before are kept on the stack; a block is never larger.
  char before[MAX_CACHE_BLOCK];
  unsigned length = block->length;
  std::memcpy(before, block->data, length);
  if (opt4file_read_file(c, block) < 0) return -1;
  if (length == block->length && std::memcmp(before, block->data, length) == 0) return 0;
  for (DbCacheBlock* other : blocks_of(block->file))
    if (other != block && !other->changed) opt4block_remove(c, other, false);
  return 0;
}

void take_up(DbFile* file) {
  DbCacheState& c = cache_of(file);
  // Only nobody else changes the length of an exclusive file.
  file->cached_length = file->exclusive ? file->length_known : -1;
  file->cached = 1;
  file->write_behind_active = file->exclusive && file->write_behind;
  if (file->hash_start < 0) {
    long length = std::max(0L, file->length_known);
    file->hash_start = c.next_hash_start * c.block_size;
    c.next_hash_start = (int)((length / c.block_size + c.next_hash_start) % c.total_blocks);
  }
}

void drop_up(DbFile* file) {
  file->cached = 0;
  file->write_behind_active = 0;
  file->hash_start = -1;
  file->cached_length = -1;
}

}  // namespace

void opt4new_view(DbEngine* engine) { engine->cache.view++; }

int opt4hash_size(int blocks) {
  int size = 1;
  while (size < blocks) size <<= 1;
  return size;
}

// ---- switches

int file4optimize(DbFile* file, int on, int list) {
  if (file == nullptr || list < DB_CACHE_DATA || list > DB_CACHE_OTHER || on < -1 || on > 1)
    e4fatal_stop(e4parm, "file4optimize()");
  DbEngine* engine = file->engine;
  if (engine->error_code < 0) return -1;
  DbCacheState& c = engine->cache;
  if (on == -1) on = file->exclusive || file->read_only;
  if (on) {
    if (file->cache_list != 0) return 0;
    file->cache_list = (unsigned char)list;
    l4add(&c.cached_files, file);
    file->hash_start = -1;
    if (c.started) take_up(file);
    return file4optimize_write(file, engine->cache_write_behind);
  }
  if (opt4file_leave(file) < 0) return e4show_error(engine, -630);
  return 0;
}

int opt4file_leave(DbFile* file) {
  if (file->cache_list == 0) return 0;
  file->write_behind = 0;
  int result = file->cached ? flush_file_blocks(file, true) : 0;
  l4remove(&cache_of(file).cached_files, file);
  file->cache_list = 0;
  drop_up(file);
  return result;
}

int file4optimize_write(DbFile* file, int on) {
  if (file == nullptr || on < -1 || on > 1) e4fatal_stop(e4parm, "file4optimize_write()");
  if (file->engine->error_code < 0) return -1;
  if (on == -1) on = file->exclusive;
  file->write_behind = (unsigned char)on;
  bool was_active = file->write_behind_active;
  file->write_behind_active = file->cached && on && file->exclusive;
  // Blocks kept back must reach the disk before writes go through again.
  if (was_active && !file->write_behind_active && flush_file_blocks(file, false) < 0)
    return e4show_error(file->engine, -630);
  return 0;
}

int d4optimize(DbTable* table, int on) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4optimize()");
  int result = file4optimize(&table->file, on, DB_CACHE_DATA);
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (file4optimize(&index->file, on, DB_CACHE_INDEX) < 0) result = -1;
  return result;
}

int d4optimize_write(DbTable* table, int on) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4optimize_write()");
  int result = file4optimize_write(&table->file, on);
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (file4optimize_write(&index->file, on) < 0) result = -1;
  return result;
}

// ---- start and stop

int opt4free_init(DbEngine* engine, int wanted) {
  DbCacheState& c = engine->cache;
  int blocks = wanted * c.blocks_per_buffer;
  c.buffer_array = (char**)u4alloc(sizeof(char*) * (size_t)wanted);
  c.hash_table = (DbList*)u4alloc(sizeof(DbList) * (size_t)c.hash_size);
  c.block_array = (DbCacheBlock*)u4alloc(sizeof(DbCacheBlock) * (size_t)blocks);
  c.read_ahead_buffer = (char*)u4alloc((size_t)c.buffer_size);
  c.write_buffer = (char*)u4alloc((size_t)c.buffer_size);
  if (!c.buffer_array || !c.hash_table || !c.block_array || !c.read_ahead_buffer || !c.write_buffer) {
    opt4free_alloc(engine);
    return 0;
  }
  for (int i = 0; i < wanted; i++) {
    char* buffer = (char*)u4alloc((size_t)c.buffer_size);
    if (buffer == nullptr) break;
    c.buffer_array[c.buffers++] = buffer;
    for (int j = 0; j < c.blocks_per_buffer; j++) {
      DbCacheBlock* block = &c.block_array[i * c.blocks_per_buffer + j];
      block->data = buffer + (size_t)j * c.block_size;
      l4add(&c.free_list, &block->list_link);
    }
  }
  return c.buffers;
}

void opt4free_alloc(DbEngine* engine) {
  DbCacheState& c = engine->cache;
  for (int i = 0; i < c.buffers; i++) u4free(c.buffer_array[i]);
  u4free(c.buffer_array);
  u4free(c.hash_table);
  u4free(c.block_array);
  u4free(c.read_ahead_buffer);
  u4free(c.write_buffer);
  c.buffer_array = nullptr;
  c.hash_table = nullptr;
  c.block_array = nullptr;
  c.read_ahead_buffer = c.write_buffer = nullptr;
  c.buffers = 0;
  c.free_list = c.data_list = c.index_list = c.other_list = DbList{};
  c.write_block_count = 0;
  c.write_file = nullptr;
  c.read_ahead_valid = 0;
}

int d4opt_start_alloc(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4opt_start()");
  if (engine->signature != DB_SIGNATURE) e4fatal_stop(e4result, "!477!");
  if (engine->error_code < 0) return -1;
  DbCacheState& c = engine->cache;
  if (c.started) return 0;
  int block = engine->block_size;
  if (block <= 0 || block > MAX_CACHE_BLOCK || engine->cache_buffer_size <= 0 || engine->cache_buffer_size < block) {
    e4show_error(engine, e4parm, "!312!");
    return -1;
  }
  c.block_size = block;
  c.buffer_size = engine->cache_buffer_size / block * block;
  set_order(c, &c.other_list, &c.index_list, &c.data_list);
  c.reuse_counter = 10;
  engine->operation_mix = DB_MIX_STARTED;
  c.last_mix = 0;
  // Two buffers' worth is kept for read-ahead and write-behind.
  int wanted = engine->cache_memory / c.buffer_size - 2;
  while (wanted < 4) {
    c.buffer_size -= block;
    if (c.buffer_size <= 0) return -1;
    wanted = engine->cache_memory / c.buffer_size - 2;
  }
  int shift = 0;
  while ((1L << (shift + 1)) <= block) shift++;
  for (;;) {
    c.started = 1;
    c.blocks_per_buffer = c.buffer_size / block;
    c.block_shift = shift;
    c.block_shift_rest = 32 - shift;
    c.hash_size = opt4hash_size(wanted * c.blocks_per_buffer);
    int got = opt4free_init(engine, wanted);
    if (got == 0) {
      c.started = 0;
      return -1;
    }
    if (got >= 4) break;
    opt4free_alloc(engine);
    wanted = std::min(wanted, 4);
    c.buffer_size = c.buffer_size / 2 / block * block;
    if (c.buffer_size == 0) {
      c.started = 0;
      return -1;
    }
  }
  c.total_blocks = c.buffers * c.blocks_per_buffer;
  // The hash table was sized for the buffers wanted; fewer buffers need no more lists.
  c.hash_size = std::min(c.hash_size, opt4hash_size(c.total_blocks));
  c.hash_mask = (unsigned)c.hash_size - 1;
  c.next_hash_start %= c.total_blocks;
  for (DbFile* file = (DbFile*)l4first(&c.cached_files); file != nullptr;
       file = (DbFile*)l4next(&c.cached_files, file))
    take_up(file);
  return 0;
}

int opt4suspend(DbEngine* engine) {
  DbCacheState& c = engine->cache;
  if (!c.started) return 0;
  int result = opt4flush_all(engine, 1);
  for (DbFile* file = (DbFile*)l4first(&c.cached_files); file != nullptr;
       file = (DbFile*)l4next(&c.cached_files, file))
    drop_up(file);
  opt4free_alloc(engine);
  c.started = 0;
  if (result < 0) {
    e4show_error(engine, -620);
    return -1;
  }
  return 0;
}

void opt4abandon(DbEngine* engine) {
  DbCacheState& c = engine->cache;
  while (DbFile* file = (DbFile*)l4first(&c.cached_files)) {
    l4remove(&c.cached_files, file);
    file->cache_list = 0;
    drop_up(file);
  }
  opt4free_alloc(engine);
  c.started = 0;
}

// ---- reading and writing

int opt4scan_read(DbTable* table, long n, int fill) {
  constexpr unsigned SCAN_BUFFER_SIZE = 65536;
  DbFile* file = &table->file;
  DbCacheState& c = table->engine->cache;
  unsigned width = table->record_width;
  if (!file->cached || c.read_through || n <= 0 || width == 0 || width > SCAN_BUFFER_SIZE / 4) return 0;
  bool valid = table->scan_buffer != nullptr && table->scan_view == c.view && table->scan_changes == file->changes;
  if (!valid || n < table->scan_first || n >= table->scan_first + table->scan_count) {
    if (!fill) return 0;
    if (table->scan_buffer == nullptr && (table->scan_buffer = (char*)u4alloc(SCAN_BUFFER_SIZE)) == nullptr) return 0;
    table->scan_count = 0;
    // Changes held back in the cache reach the file before it is read past the cache.
    if (file->write_behind_active && opt4flush_lst(file, 0) < 0)
      return e4show_file_error(table->engine, e4write, file->name);
    size_t got = 0;
    c.disk_reads++;
    long pos = d4record_position(table, n);
    if (PlatFileRead(file->handle, (uint64_t)pos, table->scan_buffer, SCAN_BUFFER_SIZE / width * width, &got) != PLAT_OK)
      return 0;
    table->scan_first = n;
    table->scan_count = (long)(got / width);
    table->scan_view = c.view;
    table->scan_changes = file->changes;
    if (table->scan_count == 0) return 0;
  }
  std::memcpy(table->record, table->scan_buffer + (size_t)(n - table->scan_first) * width, width);
  return 1;
}

long opt4file_read(DbFile* file, long pos, void* buffer, unsigned length) {
  DbEngine* engine = file->engine;
  DbCacheState& c = engine->cache;
  char* out = (char*)buffer;
  long done = 0;
  while (done < (long)length) {
    long at = pos + done;
    long start = block_start(c, at);
    unsigned offset = (unsigned)(at - start);
    unsigned want = std::min((unsigned)c.block_size - offset, length - (unsigned)done);
    DbCacheBlock* block = opt4file_return_block(file, start);
    if (block == nullptr && reads_ahead(c, file)) {
      if (opt4file_read_sp_buffer(file, start) < 0) return -1;
      block = opt4file_return_block(file, start);
    }
    bool missed = block == nullptr;
    if (missed) {
      block = opt4file_get_block(file, start, true);
      if (block == nullptr) return -1;
    } else if (!block->changed && shared_file(file) &&
               (c.read_through || block->view != c.view || block->length < offset + want)) {
      // Another workstation may have written the block since it was read in
      // an earlier view, or grown the file past a short block.
      if (read_again(c, block) < 0) return -1;
    }
    // A block read once waits at the end that gives up blocks first until it
    // is asked for again (every 32nd is kept at once): a run over more
    // blocks than the cache holds then leaves part of them cached, where
    // plain recency would give up each block just before its turn came again.
    if (!missed || ++c.insertions % 32 == 0)
      opt4file_lru_bottom(c, block);
    else
      opt4file_lru_top(c, block);
    unsigned take = block->length > offset ? std::min(want, block->length - offset) : 0;
    std::memcpy(out + done, block->data + offset, take);
    done += take;
    if (take < want) break;
  }
  return done;
}

int opt4file_write(DbFile* file, long pos, unsigned length, const void* data, int changed) {
  DbEngine* engine = file->engine;
  DbCacheState& c = engine->cache;
  const char* in = (const char*)data;
  // Blocks held back must know where the file ends, for the gaps between them.
  if (changed && file->cached_length < 0) {
    file->cached_length = system_length(file);
    if (file->cached_length < 0) return e4show_file_error(engine, e4length, file->name);
  }
  long done = 0;
  while (done < (long)length) {
    long at = pos + done;
    long start = block_start(c, at);
    unsigned offset = (unsigned)(at - start);
    unsigned take = std::min((unsigned)c.block_size - offset, length - (unsigned)done);
    DbCacheBlock* block = opt4file_return_block(file, start);
    if (block == nullptr) {
      // Part of a block is written over what the file holds there: the block
      // is read, and a short read shows where the file ends (another
      // workstation may have grown it). Only beyond a known end is nothing read.
      bool whole = offset == 0 && take == (unsigned)c.block_size;
      bool beyond = file->cached_length >= 0 && start >= file->cached_length;
      block = opt4file_get_block(file, start, !whole && !beyond);
      if (block == nullptr) return -1;
      if (whole || beyond) {
        block->length = 0;
        block->view = c.view;
      }
    }
    opt4file_lru_bottom(c, block);
    block->changed |= (unsigned char)(changed != 0);
    std::memcpy(block->data + offset, in + done, take);
    if (offset + take > block->length) {
      if (offset > block->length) std::memset(block->data + block->length, 0, offset - block->length);
      block->length = offset + take;
    }
    done += take;
  }
  long end = pos + (long)length;
  if (file->cached_length >= 0 && end > file->cached_length) file->cached_length = end;
  return 0;
}

int opt4flush_lst(DbFile* file, int release) {
  if (!file->cached) return 0;
  return flush_file_blocks(file, release != 0);
}

int opt4flush_all(DbEngine* engine, int release) {
  DbCacheState& c = engine->cache;
  if (!c.started) return 0;
  int result = opt4flush_write_buffer(c);
  for (DbFile* file = (DbFile*)l4first(&c.cached_files); file != nullptr;
       file = (DbFile*)l4next(&c.cached_files, file))
    if (file->cached && flush_file_blocks(file, release != 0) < 0) result = -1;
  return result;
}

void opt4file_delete(DbFile* file, long from) {
  if (!file->cached) return;
  DbCacheState& c = cache_of(file);
  if (write_buffer_overlaps(c, file, from, 0x7fffffffL)) {
    // The buffered run is cut at the new end.
    c.write_end = std::max(c.write_start, from);
    if (c.write_end == c.write_start) {
      c.write_block_count = 0;
      c.write_file = nullptr;
    }
  }
  for (DbCacheBlock* block : blocks_of(file)) {
    if (block->pos >= from) {
      opt4block_remove(c, block, false);
    } else if (block->pos + (long)block->length > from) {
      block->length = (unsigned)(from - block->pos);
    }
  }
}
