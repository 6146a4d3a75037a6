#include "db/reindex.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "db/change_mark.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_table.h"
#include "db/expr.h"
#include "db/index_keys.h"
#include "db/mdx_layout.h"
#include "db/sorter.h"

namespace {

constexpr int MIN_SEQUENTIAL = 1024;

struct Rebuild {
  DbIndex* index;
  DbTable* table;
  DbEngine* engine;
  DbTag* tag;
  std::vector<unsigned char> buffer;    // sequential reads, then sequential writes
  std::vector<unsigned char> levels;    // one block per tree level
  int level_count;
  unsigned bytes, units;
  long running;                         // the last block written
  DbSeqWriter writer;
};

unsigned char* level(Rebuild* w, int i) { return w->levels.data() + (size_t)i * w->bytes; }
unsigned char* entry(Rebuild* w, unsigned char* block, int i) {
  return block + MDX_B_ENTRIES + (unsigned)i * t4group_len(w->tag);
}

int write_block(Rebuild* w, const unsigned char* block) {
  if (file4seq_write(&w->writer, block, w->bytes) != 0) return -1;
  w->running += w->units;
  return 0;
}

// A full leaf goes out; its number climbs into the branch levels, and
// every branch entry carries the last key of the subtree it points to.
int to_disk(Rebuild* w) {
  unsigned char* leaf = level(w, 0);
  unsigned key_len = t4key_len(w->tag);
  unsigned kpb = t4keys_per_block(w->tag);
  unsigned char last[DB_KEY_MAX + 1];
  std::memcpy(last, entry(w, leaf, (int)GetLe16(leaf) - 1) + 4, key_len);
  if (write_block(w, leaf) != 0) return -1;
  for (int i = 1;; i++) {
    if (i >= w->level_count) e4fatal_stop(e4info, "r4reindex_todisk()");
    unsigned char* parent = level(w, i);
    unsigned count = GetLe16(parent);
    PutLe32(entry(w, parent, (int)count), (uint32_t)w->running);
    if (count < kpb) {
      std::memcpy(entry(w, parent, (int)count) + 4, last, key_len);
      PutLe16(parent, count + 1);
      return 0;
    }
    if (write_block(w, parent) != 0) return -1;
    std::memset(parent, 0, w->bytes);
  }
}

int add_key(Rebuild* w, const unsigned char* key, long record) {
  unsigned char* leaf = level(w, 0);
  unsigned count = GetLe16(leaf);
  if (count == t4keys_per_block(w->tag)) {
    if (to_disk(w) != 0) return -1;
    std::memset(leaf, 0, w->bytes);
    count = 0;
  }
  unsigned char* e = entry(w, leaf, (int)count);
  PutLe32(e, (uint32_t)record);
  std::memcpy(e + 4, key, t4key_len(w->tag));
  PutLe16(leaf, count + 1);
  return 0;
}

int finish(Rebuild* w) {
  if (write_block(w, level(w, 0)) != 0) return -1;
  for (int i = 1; i < w->level_count; i++) {
    unsigned char* block = level(w, i);
    unsigned count = GetLe16(block);
    if (count == 0) continue;
    PutLe32(entry(w, block, (int)count), (uint32_t)w->running);
    if (write_block(w, block) != 0) return -1;
  }
  return 0;
}

int supply_keys(Rebuild* w, DbSorter* sorter) {
  DbTable* table = w->table;
  DbTag* tag = w->tag;
  if (sort4init(sorter, w->engine, t4key_len(tag), 0) != 0) return -1;
  sorter->compare = tag->compare;
  long count = d4reccount(table);
  if (count < 0) return -1;
  DbSeqReader reader;
  file4seq_read_init(&reader, &table->file, d4record_position(table, 1), (char*)w->buffer.data(),
                     (unsigned)w->buffer.size());
  for (long n = 1; n <= count; n++) {
    if (file4seq_read_all(&reader, table->record, table->record_width) != 0) return e4read;
    table->rec_num = (int)n;
    if (tag->filter != nullptr) {
      int passes = expr4true(tag->filter);
      if (passes < 0) return -1;
      if (passes != 1 && passes != 0) e4fatal_stop(e4result, "r4reindex_supply_keys()");
      if (passes == 0) continue;
      tag->has_keys = 1;
    }
    char* key = nullptr;
    int length = t4expr_key(tag, &key);
    if (length < 0) return -1;
    if (length != (int)t4key_len(tag)) e4fatal_stop(e4result, "r4reindex_supply_keys()");
    if (sort4put(sorter, n, key, nullptr) != 0) return -1;
  }
  return 0;
}

int write_keys(Rebuild* w, DbSorter* sorter) {
  DbTag* tag = w->tag;
  unsigned key_len = t4key_len(tag);
  if (key_len > (unsigned)DB_KEY_MAX) e4fatal_stop(e4info, "r4reindex_write_keys()");
  std::fill(w->levels.begin(), w->levels.end(), 0);
  if (sort4get_init(sorter) != 0) return -1;
  file4seq_write_init(&w->writer, &w->index->file, (w->running + w->units) * MDX_UNIT, (char*)w->buffer.data(),
                      (unsigned)w->buffer.size());
  unsigned char previous[DB_KEY_MAX + 1];
  bool have_previous = false;
  for (;;) {
    long record = 0;
    unsigned char* key = nullptr;
    int r = sort4get(sorter, &record, &key, nullptr);
    if (r == 1) break;
    if (r != 0) return -1;
    if (t4unique(tag)) {
      if (have_previous && tag->compare(key, previous, key_len) == 0) {
        if (tag->unique_code == e4unique) return e4show_error(w->engine, e4unique, "!320!");
        if (tag->unique_code == r4unique) return r4unique;
        continue;
      }
      std::memcpy(previous, key, key_len);
      have_previous = true;
    }
    if (add_key(w, key, record) != 0) return -1;
  }
  if (finish(w) != 0 || file4seq_write_flush(&w->writer) != 0) return -1;
  PutLe32(tag->header + MDX_T_ROOT, (uint32_t)w->running);
  tag->root_changed = 0;
  return 0;
}

// The name tree of the tag table: the first tag is the root, each further
// one goes left when its name sorts before the node's, else right.
void name_tree(std::vector<DbTag*>& tags, unsigned char* table) {
  for (size_t i = 1; i < tags.size(); i++) {
    size_t node = 0;
    for (;;) {
      unsigned char* e = table + node * MDX_TAG_ENTRY_SIZE;
      bool left = c4collate_compare(table + i * MDX_TAG_ENTRY_SIZE + MDX_E_NAME, e + MDX_E_NAME, 11) < 0;
      unsigned char* link = e + (left ? MDX_E_LEFT : MDX_E_RIGHT);
      if (*link == 0) {
        *link = (unsigned char)(i + 1);
        table[i * MDX_TAG_ENTRY_SIZE + MDX_E_PARENT] = (unsigned char)(node + 1);
        break;
      }
      node = *link - 1u;
    }
  }
}

void mark_field_tags(Rebuild* w, std::vector<DbTag*>& tags) {
  DbTable* table = w->table;
  int report = w->engine->report_field_errors;
  w->engine->report_field_errors = 0;
  for (DbTag* tag : tags) {
    char text[MDX_T_TEXT_READ + 1];
    std::snprintf(text, sizeof text, "%s", expr4source(tag->expr));
    int j = d4field_number(table, text);
    if (j <= 0) continue;
    const unsigned char one = 1;
    file4write(&table->file, DBF_HEADER_SIZE + (long)(j - 1) * DBF_DESCRIPTOR_SIZE + 31, &one, 1);
  }
  w->engine->report_field_errors = report;
}

int write_headers(Rebuild* w, std::vector<DbTag*>& tags) {
  DbIndex* index = w->index;
  unsigned char* h = index->header;
  PutLe32(h + MDX_H_NEXT_BLOCK, (uint32_t)(w->running + w->units));
  PutLe32(h + MDX_H_FREE_LIST, 0);
  PutLe32(h + MDX_H_CHANGES, GetLe32(h + MDX_H_CHANGES) + 1);
  date4today_bytes(h + MDX_H_REBUILT);
  std::vector<unsigned char> head((size_t)MDX_FIRST_TAG_BLOCK * MDX_UNIT, 0);
  std::memcpy(head.data(), h, MDX_HEADER_SIZE);
  head[MDX_H_MARK_POS] = 1;
  unsigned char* table = head.data() + MDX_TAG_TABLE_POS;
  for (size_t i = 0; i < tags.size(); i++) {
    unsigned char* e = table + i * MDX_TAG_ENTRY_SIZE;
    PutLe32(e + MDX_E_HEADER_BLOCK, (uint32_t)(tags[i]->header_pos / MDX_UNIT));
    std::memcpy(e + MDX_E_NAME, tags[i]->name, std::strlen(tags[i]->name));
    e[15] = 0x10;
    e[19] = 2;
    e[MDX_E_KEY_TYPE] = (unsigned char)t4type(tags[i]);
  }
  name_tree(tags, table);
  if (index->header[MDX_H_PRODUCTION]) mark_field_tags(w, tags);
  file4seq_write_init(&w->writer, &index->file, 0, (char*)w->buffer.data(), (unsigned)w->buffer.size());
  if (file4seq_write(&w->writer, head.data(), (unsigned)head.size()) != 0) return -1;
  std::vector<unsigned char> block(w->bytes, 0);
  for (DbTag* tag : tags) {
    std::fill(block.begin(), block.end(), 0);
    std::memcpy(block.data(), tag->header, sizeof tag->header);
    std::snprintf((char*)block.data() + MDX_T_EXPR, MDX_T_EXPR_SIZE, "%s", expr4source(tag->expr));
    if (tag->filter != nullptr) {
      block[MDX_T_HAS_FILTER] = 1;
      block[MDX_T_HAS_KEYS] = tag->has_keys ? 1 : 0;
      std::snprintf((char*)block.data() + MDX_T_FILTER, w->bytes - MDX_T_FILTER, "%s", expr4source(tag->filter));
    }
    if (file4seq_write(&w->writer, block.data(), w->bytes) != 0) return -1;
    tag->has_keys_disk = tag->has_keys;
    tag->header_changed = 0;
  }
  if (file4seq_write_flush(&w->writer) != 0) return -1;
  if (file4len_set(&index->file, (w->running + w->units) * MDX_UNIT) != 0) return -1;
  index->header_changed = 0;
  index->free_list_checked = 1;
  return 0;
}

int rebuild(DbIndex* index) {
  DbEngine* engine = index->engine;
  Rebuild w{};
  w.index = index;
  w.table = index->table;
  w.engine = engine;
  w.bytes = GetLe16(index->header + MDX_H_BLOCK_BYTES);
  w.units = GetLe16(index->header + MDX_H_UNITS);
  w.buffer.resize((size_t)(engine->sequential_buffer < MIN_SEQUENTIAL ? MIN_SEQUENTIAL : engine->sequential_buffer));

  std::vector<DbTag*> tags;
  unsigned smallest = 0;
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag)) {
    if (t4free_all(tag) != 0) return -1;
    int key_len = expr4key_len(tag->expr);
    if (key_len <= 0 || (key_len & 0x8000) || key_len > DB_KEY_MAX) return -1;
    int type = expr4type(tag->expr);
    if (type == 'd') type = 'D';
    if (type == 'n') type = 'N';
    tag->header[MDX_T_KEY_TYPE] = (unsigned char)type;
    t4set_key_type(tag, type);
    unsigned group = mdx_group_len((unsigned)key_len);
    PutLe16(tag->header + MDX_T_KEY_LEN, (unsigned)key_len);
    PutLe16(tag->header + MDX_T_GROUP_LEN, group);
    PutLe16(tag->header + MDX_T_KEYS_PER_BLOCK, (w.bytes - MDX_BLOCK_RESERVE) / group);
    tag->has_keys = 0;
    tag->has_keys_disk = 2;    // differs, so the flag is written
    tag->header_pos = (MDX_FIRST_TAG_BLOCK + (long)tags.size() * w.units) * MDX_UNIT;
    unsigned kpb = t4keys_per_block(tag);
    if (smallest == 0 || kpb < smallest) smallest = kpb;
    tags.push_back(tag);
  }
  w.running = MDX_FIRST_TAG_BLOCK + ((long)tags.size() - 1) * w.units;
  long count = d4reccount(w.table);
  if (count < 0) return -1;
  w.level_count = 2;
  for (long c = count; smallest > 0 && c > 0; c /= smallest) w.level_count++;
  w.levels.assign((size_t)w.level_count * w.bytes, 0);

  for (DbTag* tag : tags) {
    w.tag = tag;
    tag->header[MDX_T_COUNTER]++;
    DbSorter sorter{};
    int r = supply_keys(&w, &sorter);
    if (r == 0) r = write_keys(&w, &sorter);
    sort4free(&sorter);
    if (r != 0) return r;
  }
  return write_headers(&w, tags);
}

}  // namespace

int i4reindex(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4reindex()");
  DbEngine* engine = index->engine;
  if (engine->error_code < 0) return -1;
  engine->operation_mix |= DB_MIX_REINDEX;
  int cache_ran = engine->cache.started;
  d4opt_suspend(engine);
  int result = i4lock(index);
  if (result == 0) {
    db_mark_change(index->table);
    // The pass moves the table's record buffer; the caller's record comes back.
    DbTable* table = index->table;
    std::vector<char> record(table->record, table->record + table->record_width);
    int rec_num = table->rec_num;
    result = rebuild(index);
    std::memcpy(table->record, record.data(), record.size());
    table->rec_num = rec_num;
  }
  if (cache_ran) d4opt_start(engine);
  return result;
}

int d4reindex(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4reindex()");
  DbEngine* engine = table->engine;
  int result = d4lock_all(table);
  if (result != 0) return result;
  int cache_ran = engine->cache.started;
  d4opt_suspend(engine);
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (i4reindex(index) != 0) result = -1;
  if (cache_ran) d4opt_start(engine);
  return result;
}

int d4free_blocks(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4free_blocks()");
  int result = 0;
  for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr; tag = d4tag_next(table, tag))
    if (t4free_all(tag) != 0) result = -1;
  return result;
}
