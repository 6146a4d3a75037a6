#include "db/db_lock.h"

#include "db/change_mark.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_WAITING_FOR_DATA = 50050;

// Rounds of a group lock after the first: the lock_tries setting, -1 for ever.
bool round_remains(int* further) {
  if (*further == -1) return true;
  if (*further <= 0) return false;
  (*further)--;
  return true;
}

int lock_once(DbTable* table, long what) {
  if (what > 0) return d4lock(table, what);
  if (what == 0) return d4lock_append(table);
  return d4lock_all(table);
}

}  // namespace

int d4lock(DbTable* table, long n) {
  if (table == nullptr || n <= 0) e4fatal_stop(e4parm, "d4lock()");
  if (table->engine->error_code < 0) return -1;
  if (d4lock_test(table, n)) return 0;
  if (d4unlock_index(table) < 0 || d4unlock_records(table) < 0) return -1;
  int result = file4lock(&table->file, DB_LOCK_BYTE, 1);
  if (result != 0) return result;
  result = file4lock(&table->file, db_lock_record_offset(n), 1);
  int released = file4unlock(&table->file, DB_LOCK_BYTE, 1);
  if (result != 0) return result;
  table->locks[0] = (int)n;
  table->lock_count = 1;
  return released < 0 ? -1 : 0;
}

int d4lock_group(DbTable* table, const long* records, int count) {
  if (table == nullptr || count < 0 || (records == nullptr && count > 0)) e4fatal_stop(e4parm, "d4lock_group()");
  DbEngine* engine = table->engine;
  if (engine->error_code < 0) return -1;
  if (d4lock_test_file(table)) return 0;
  if (d4unlock(table) < 0) return -1;
  if (count > table->lock_capacity) {
    int* grown = (int*)u4alloc((size_t)count * sizeof(int));
    if (grown == nullptr) return e4memory;
    if (table->locks != &table->lock_one) u4free(table->locks);
    table->locks = grown;
    table->lock_capacity = count;
  }
  // The rounds are counted with the caller's setting; each lock is tried once.
  int saved_tries = engine->lock_tries;
  int further = saved_tries;
  engine->lock_tries = 1;
  int result = file4lock(&table->file, DB_LOCK_BYTE, 1);
  if (result == 0) {
    for (;;) {
      result = 0;
      for (int i = 0; i < count && result == 0; i++) {
        result = file4lock(&table->file, db_lock_record_offset(records[i]), 1);
        if (result == 0) table->locks[table->lock_count++] = (int)records[i];
      }
      if (result == 0) break;
      int released = d4unlock_records(table);
      if (released < 0) result = -1;
      if (result != r4locked || !round_remains(&further)) break;
      ScreenWaitMs(1000);
    }
    if (file4unlock(&table->file, DB_LOCK_BYTE, 1) < 0 && result == 0) result = -1;
  }
  engine->lock_tries = saved_tries;
  return result;
}

int d4lock_append(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_append()");
  if (table->engine->error_code < 0) return -1;
  if (d4lock_test_append(table)) return 0;
  if (d4unlock_records(table) < 0) return -1;
  int result = file4lock(&table->file, DB_LOCK_APPEND, 1);
  if (result == 0) table->append_locked = 1;
  return result;
}

int d4lock_file(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_file()");
  if (table->engine->error_code < 0) return -1;
  if (d4lock_test_file(table)) return 0;
  if (d4unlock(table) < 0) return -1;
  int result = file4lock(&table->file, DB_LOCK_FILE_START, DB_LOCK_FILE_LENGTH);
  if (result != 0) return result;
  table->file_locked = 1;
  return file4refresh(&table->file);
}

int d4lock_index(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_index()");
  DbEngine* engine = table->engine;
  if (engine->error_code < 0) return -1;
  int saved_tries = engine->lock_tries;
  int further = saved_tries;
  engine->lock_tries = 1;
  int result = 0;
  for (;;) {
    result = 0;
    DbIndex* refused_at = nullptr;
    for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
         index = (DbIndex*)l4next(&table->indexes, index)) {
      result = i4lock(index);
      if (result != 0) {
        refused_at = index;
        break;
      }
    }
    // A dead writer's half-made change is mended before anyone uses the indexes.
    if (result == 0) result = db_mark_check(table);
    if (result != r4locked) break;
    // Give back what this round took, so that another workstation can finish.
    for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != refused_at;
         index = (DbIndex*)l4next(&table->indexes, index))
      if (i4unlock(index) < 0) result = -1;
    if (result != r4locked || !round_remains(&further)) break;
    ScreenWaitMs(1000);
  }
  engine->lock_tries = saved_tries;
  return result;
}

int d4lock_all(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_all()");
  int result = d4lock_file(table);
  if (result == 0) result = d4lock_index(table);
  if (result != 0) d4unlock(table);
  return result;
}

int i4lock(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4lock()");
  if (index->engine->error_code < 0) return -1;
  if (i4lock_test(index)) return 0;
  int result = file4lock(&index->file, DB_LOCK_INDEX, 1);
  if (result != 0) return result;
  // Nothing of the index read from the disk since this program's own unlock
  // and its change counter where that unlock left it: nobody has written it
  // since, so what is cached of it stays.
  bool unread = index->kept && index->file.disk_reads == index->kept_reads;
  index->kept = 0;
  if (unread && i4header_unchanged(index) == 1) {
    index->locked = 1;
    return 0;
  }
  file4refresh(&index->file);
  // An index being created has nothing to read back yet.
  if (index->file.length_known > 0 && i4version_check(index) < 0) {
    file4unlock(&index->file, DB_LOCK_INDEX, 1);
    return -1;
  }
  index->locked = 1;
  return 0;
}

int i4unlock(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4unlock()");
  if (!index->locked) return 0;
  // The lock goes even when the index could not be written.
  int result = i4update(index) < 0 ? -1 : 0;
  if (file4unlock(&index->file, DB_LOCK_INDEX, 1) < 0) result = -1;
  index->locked = 0;
  index->kept = result == 0;
  index->kept_reads = index->file.disk_reads;
  return result;
}

int d4lock_test(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_test()");
  if (table->file_locked || table->file.exclusive) return 1;
  for (int i = 0; i < table->lock_count; i++)
    if (table->locks[i] == n) return 1;
  return 0;
}

int d4lock_test_append(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_test_append()");
  return table->file_locked || table->append_locked || table->file.exclusive;
}

int d4lock_test_file(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_test_file()");
  return table->file_locked || table->file.exclusive;
}

int d4lock_test_index(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4lock_test_index()");
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (!i4lock_test(index)) return 0;
  return 1;
}

int i4lock_test(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4lock_test()");
  return index->file.exclusive || index->locked;
}

int d4unlock_records(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock_records()");
  table->rec_num_old = -1;
  table->old_valid = 0;
  while (table->lock_count > 0) {
    int n = table->locks[table->lock_count - 1];
    if (file4unlock(&table->file, db_lock_record_offset(n), 1) < 0) return -1;
    table->lock_count--;
  }
  return 0;
}

int d4unlock_append(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock_append()");
  if (!table->append_locked) return 0;
  int result = file4unlock(&table->file, DB_LOCK_APPEND, 1);
  table->append_locked = 0;
  if (!table->file_locked) table->record_count = -1;
  return result < 0 ? -1 : 0;
}

int d4unlock_file(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock_file()");
  if (!table->file_locked) return 0;
  int result = file4unlock(&table->file, DB_LOCK_FILE_START, DB_LOCK_FILE_LENGTH);
  table->file_locked = 0;
  table->rec_num_old = -1;
  table->old_valid = 0;
  if (!table->append_locked) table->record_count = -1;
  db_mark_done(table);
  return result < 0 ? -1 : 0;
}

int d4unlock_data(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock_data()");
  int result = 0;
  if (d4unlock_file(table) < 0) result = -1;
  if (d4unlock_append(table) < 0) result = -1;
  if (d4unlock_records(table) < 0) result = -1;
  return result;
}

int d4unlock_index(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock_index()");
  int result = 0;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (i4unlock(index) < 0) result = -1;
  db_mark_done(table);
  return result;
}

int d4unlock(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4unlock()");
  // Every lock is released even when the pending changes could not be written.
  int result = d4update(table) < 0 ? -1 : 0;
  if (d4unlock_data(table) < 0) result = -1;
  if (d4unlock_index(table) < 0) result = -1;
  db_mark_done(table);
  return result;
}

int d4unlock_files(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4unlock_files()");
  int result = 0;
  for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr;
       table = (DbTable*)l4next(&engine->open_tables, table))
    if (d4unlock(table) < 0) result = -1;
  return result;
}

int set_lock(DbTable* table, long what) {
  if (table == nullptr) e4fatal_stop(e4parm, "set_lock()");
  int result = lock_once(table, what);
  if (result != r4locked) return result;
  ScreenNoticeOn(Utf8ToMazText("SIEĆ").c_str(), EnvFindString(TextRef(MSG_WAITING_FOR_DATA)));
  for (;;) {
    result = lock_once(table, what);
    if (result != r4locked) break;
    int key = ScreenReadKey();
    if (key == SCREEN_KEY_ESC) break;
  }
  ScreenNoticeOff();
  return result;
}

int write_and_unlock(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "write_and_unlock()");
  // Without a current record there is nothing to lock and write.
  if (table->rec_num <= 0) return e4show_error(table->engine, e4parm, "write_and_unlock()");
  int result = set_lock(table, table->rec_num);
  if (result != 0) return result;
  result = d4flush(table) != 0 ? -1 : 0;
  if (d4unlock(table) != 0) result = -1;
  return result;
}

int go_and_lock(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "go_and_lock()");
  if (d4go(table, n) != 0) return -1;
  int result = set_lock(table, n);
  if (result != 0) return result;
  DbEngine* engine = table->engine;
  if (engine->cache.started) {
    d4opt_suspend(engine);
    d4opt_start(engine);
  }
  return d4go(table, n);
}

int lock_and_append(DbTable* table, DbAppendStep before, DbAppendStep after) {
  if (table == nullptr) e4fatal_stop(e4parm, "lock_and_append()");
  // The buffer holds the new record: neither the lock nor the append may
  // write it back over the record the table stands on.
  d4changed(table, 0);
  int result = set_lock(table, -1);
  if (result != 0) return result;
  int appended = 0;
  result = -1;
  if (before == nullptr || before(0) == 0) {
    d4changed(table, 0);
    if (d4append_start(table, 0) == 0 && d4append(table) == 0 && d4flush(table) == 0) {
      appended = 1;
      result = 0;
    }
  }
  int after_result = after != nullptr ? after(appended) : 0;
  if (d4unlock(table) != 0 || after_result != 0) return -1;
  return result;
}
