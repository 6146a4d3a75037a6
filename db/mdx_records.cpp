// The table layer's index steps: keys written before the record with a
// rollback on a refused unique key, keys of appended records, and the moves
// in a tag's order, each checking the record behind a key because a shared
// index may lag behind the table.
#include <cstring>
#include <utility>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/reindex.h"

namespace {

struct KeyChange {
  DbTag* tag;
  unsigned char old_key[DB_KEY_MAX + 1], new_key[DB_KEY_MAX + 1];
  int old_in, new_in;      // the record passes the tag's filter
  bool changed;
};

// The key of the record now in the record buffer, and with `passes` its filter.
int record_key(DbTag* tag, unsigned char* key, int* passes) {
  if (passes != nullptr) {
    *passes = t4filter_true(tag);
    if (*passes < 0) return -1;
  }
  char* bytes = nullptr;
  int length = t4expr_key(tag, &bytes);
  if (length < 0) return -1;
  if (length > DB_KEY_MAX || length != (int)t4key_len(tag)) e4fatal_stop(e4result, "d4write_keys()");
  std::memcpy(key, bytes, (size_t)length);
  return 0;
}

bool has_index(DbTable* table) { return l4first(&table->indexes) != nullptr; }

// Before a tag is positioned a shared index is read again; a cached one once
// a view (after each key the operator presses), resting on the block checks
// of the walk in between.
int refresh(DbTag* tag, int reseek) {
  DbIndex* index = tag->index;
  unsigned long view = index->engine->cache.view;
  if (index->file.cached && index->view == view) return 0;
  if (i4version_check(index, reseek) < 0) return -1;
  index->view = view;
  return 0;
}

// The record count as last read, asked again when a key's record lies beyond it.
long known_count(DbTable* table, long record) {
  if (record <= table->last_count_read) return table->last_count_read;
  return d4reccount(table);
}

// Goes to the record of the tag's key; a record number beyond the count
// (appended elsewhere, the count not yet seen) is skipped once in `dir`.
int go_key_record(DbTable* table, DbTag* tag, int dir) {
  long record = t4recno(tag);
  if (record < 1) return i4damaged(tag->index);
  long count = known_count(table, record);
  if (count < 0) return -1;
  if (record > count) {
    if (t4skip(tag, dir) != dir) return table->engine->error_code < 0 ? -1 : d4go_eof(table);
    record = t4recno(tag);
    if (record < 1) return i4damaged(tag->index);
    count = known_count(table, record);
    if (count < 0 || record > count) return -1;
  }
  return d4go(table, record);
}

int end_of_tag(DbTable* table) {
  int result = d4go_eof(table);
  table->bof = 1;
  return result;
}

// The tag stands on the seek's key: the record behind it must still have
// that key, or the index lags behind another workstation's write.
int seek_check(DbTable* table, DbTag* tag, const unsigned char* sought, unsigned length, int found) {
  if (t4eof(tag)) return d4go_eof(table);
  if (t4recno(tag) < 1) return i4damaged(tag->index);
  if (d4lock_test_file(table)) {
    int result = d4go(table, t4recno(tag));
    return result != 0 ? result : found;
  }
  unsigned key_len = t4key_len(tag);
  for (bool first = true;; first = false) {
    long record = t4recno(tag);
    if (record < 1) return i4damaged(tag->index);
    long count = known_count(table, record);
    if (count < 0) return -1;
    if (record <= count) {
      int result = d4go(table, record);
      if (result != 0) return result;
      unsigned char key[DB_KEY_MAX + 1];
      if (record_key(tag, key, nullptr) != 0) return -1;
      if (tag->compare(key, t4key(tag), key_len) == 0) {
        if (first) return found;
        int c = tag->compare(key, sought, length);
        if (c == 0) return 0;
        if (c > 0) return r4after;
      }
    }
    if (t4skip(tag, 1) != 1) return table->engine->error_code < 0 ? -1 : d4go_eof(table);
  }
}

int seek_key(DbTable* table, DbTag* tag, const unsigned char* key, unsigned length) {
  if (refresh(tag, 0) != 0) return -1;
  int found = t4seek(tag, key, (int)length);
  if (found < 0) return -1;
  return seek_check(table, tag, key, length, found);
}

}  // namespace

int db_index_write_keys(DbTable* table, long n) {
  if (!has_index(table)) return 0;
  DbEngine* engine = table->engine;
  if (d4read_old(table, n) < 0) return -1;
  if (std::memcmp(table->record, table->record_old, table->record_width) == 0) return 0;
  std::vector<KeyChange> changes;
  for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr; tag = d4tag_next(table, tag)) {
    KeyChange c{};
    c.tag = tag;
    if (record_key(tag, c.new_key, &c.new_in) != 0) return -1;
    // The stored record stands in as the record meanwhile.
    std::swap(table->record, table->record_old);
    int result = record_key(tag, c.old_key, &c.old_in);
    std::swap(table->record, table->record_old);
    if (result != 0) return -1;
    changes.push_back(c);
  }
  bool took_locks = false;
  for (size_t i = 0; i < changes.size(); i++) {
    KeyChange& c = changes[i];
    unsigned key_len = t4key_len(c.tag);
    if (c.old_in == c.new_in && (!c.new_in || std::memcmp(c.old_key, c.new_key, key_len) == 0)) continue;
    if (!took_locks && !d4lock_test_index(table)) {
      int locked = d4lock_index(table);
      if (locked != 0) return locked;
      took_locks = true;
    }
    c.changed = true;
    int result = 0;
    if (c.old_in && t4remove(c.tag, c.old_key, n) < 0) result = -1;
    if (result == 0 && c.new_in) {
      result = t4add(c.tag, c.new_key, n);
      if (result == r4unique_continue) result = 0;
    }
    if (result != 0) {
      // Every tag goes back to the old keys; the stored record is untouched.
      int saved = e4set_code(engine, 0);
      if (c.old_in) t4add(c.tag, c.old_key, n);
      for (size_t j = 0; j < i; j++) {
        if (!changes[j].changed) continue;
        if (changes[j].new_in) t4remove(changes[j].tag, changes[j].new_key, n);
        if (changes[j].old_in) t4add(changes[j].tag, changes[j].old_key, n);
      }
      e4set_code(engine, saved);
      if (took_locks) d4unlock_index(table);
      return result;
    }
  }
  int result = 0;
  if (took_locks && d4unlock_index(table) < 0) result = -1;
  table->rec_num_old = -1;
  return result;
}

int db_index_remove_stale(DbTable* table, long n) {
  if (!has_index(table)) return 0;
  DbCacheState& cache = table->engine->cache;
  unsigned char saved_through = cache.read_through;
  cache.read_through = 1;
  int result = d4read(table, n, table->record_old);
  cache.read_through = saved_through;
  table->rec_num_old = -1;
  table->old_valid = 0;
  if (result != 0) return result == r4entry ? 0 : -1;
  if (table->record_old[0] != ' ' && table->record_old[0] != '*') return 0;
  std::swap(table->record, table->record_old);
  for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr && result == 0; tag = d4tag_next(table, tag)) {
    int passes = t4filter_true(tag);
    if (passes < 0 || (passes == 1 && t4remove_calc(tag, n) < 0)) result = -1;
  }
  std::swap(table->record, table->record_old);
  return result;
}

int db_index_append_keys(DbTable* table) {
  DbEngine* engine = table->engine;
  long n = table->rec_num;
  for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr; tag = d4tag_next(table, tag)) {
    int result = t4add_calc(tag, n);
    if (result == r4unique_continue || result == 0) continue;
    int saved = e4set_code(engine, 0);
    for (DbTag* back = d4tag_next(table, nullptr); back != tag; back = d4tag_next(table, back))
      t4remove_calc(back, n);
    e4set_code(engine, saved);
    return result;
  }
  return 0;
}

int db_index_update(DbTable* table) {
  int result = 0;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (i4update(index) != 0) result = -1;
  return result;
}

int db_index_flush(DbTable* table) {
  int result = 0;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (i4flush(index) != 0) result = -1;
  return result;
}

int db_index_reindex(DbTable* table) { return has_index(table) ? d4reindex(table) : 0; }

int db_index_top(DbTable* table, DbTag* tag, int forward) {
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  if (refresh(tag, 0) != 0) return -1;
  if ((forward ? t4top(tag) : t4bottom(tag)) < 0) return -1;
  if (t4eof(tag)) return end_of_tag(table);
  return go_key_record(table, tag, forward ? 1 : -1);
}

int db_index_skip(DbTable* table, DbTag* tag, long n) {
  if (table->eof) {
    if (n >= 0) return r4eof;
    int result = db_index_top(table, tag, 0);
    if (result == r4eof) return r4bof;
    if (result != 0) return result;
    if (++n == 0) return 0;
  }
  table->bof = 0;
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  if (refresh(tag, 1) != 0) return -1;
  if (n == 0) return 0;
  if (t4recno(tag) != table->rec_num) {
    if (d4go_data(table, table->rec_num) != 0) return -1;
    unsigned char key[DB_KEY_MAX + 1];
    if (record_key(tag, key, nullptr) != 0) return -1;
    int found = t4go(tag, key, table->rec_num);
    if (found < 0) return -1;
    // Not in the tag: the tag stands on the following key already.
    if (found != 0 && n > 0 && --n == 0) return t4eof(tag) ? end_of_tag(table) : go_key_record(table, tag, 1);
  }
  long moved = t4skip(tag, n);
  if (table->engine->error_code < 0) return -1;
  if (n > 0 && moved < n) return d4go_eof(table);
  if (t4eof(tag)) return end_of_tag(table);
  result = go_key_record(table, tag, n > 0 ? 1 : -1);
  if (result != 0) return result;
  if (n < 0 && moved > n) {
    table->bof = 1;
    return r4bof;
  }
  return 0;
}

int db_index_seek(DbTable* table, DbTag* tag, const char* key, int length) {
  unsigned char converted[DB_KEY_MAX + 1];
  unsigned key_len = t4key_len(tag);
  if (t4type(tag) == 'C') {
    if (length <= 0) length = (int)std::strlen(key);
    if ((unsigned)length > key_len) length = (int)key_len;
    std::memcpy(converted, key, (size_t)length);
  } else {
    length = tag->text_to_key(tag, (char*)converted, key, length);
  }
  return seek_key(table, tag, converted, (unsigned)length);
}

int db_index_seek_double(DbTable* table, DbTag* tag, double value) {
  unsigned char converted[DB_KEY_MAX + 1];
  int length = tag->double_to_key(tag, (char*)converted, value);
  return seek_key(table, tag, converted, (unsigned)length);
}
