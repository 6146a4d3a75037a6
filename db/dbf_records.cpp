#include "db/dbf_records.h"

#include <algorithm>
#include <cstring>

#include "db/block_cache.h"
#include "db/change_mark.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_table.h"
#include "env/error_log.h"
#include "env/memory.h"

namespace {

constexpr int LOG_SHORT_RECORD = 1024;
constexpr int MSG_DELETION_MARK = 50018;

bool blocked(DbTable* table) { return table->engine->error_code < 0; }

void blank_record(DbTable* table) { std::memset(table->record, ' ', table->record_width); }

// d4go with read errors answered quietly (5) instead of shown.
int go_quietly(DbTable* table, long n) {
  DbEngine* engine = table->engine;
  int saved = engine->report_read_errors;
  engine->report_read_errors = 0;
  int result = d4go(table, n);
  engine->report_read_errors = saved;
  return result;
}

}  // namespace

int d4update_record(DbTable* table, int release_locks) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4update_record()");
  if (blocked(table)) return -1;
  if (table->rec_num <= 0 || table->eof) {
    table->record_changed = 0;
    return 0;
  }
  if (table->record_changed) {
    int result = d4write(table, table->rec_num);
    if (result != 0) return result;
  }
  table->rec_num_old = -1;
  if (release_locks) return d4unlock_records(table);
  return 0;
}

int d4go_data(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4go_data()");
  DbEngine* engine = table->engine;
  if (blocked(table)) return -1;
  unsigned got = 0;
  if (n > 0) {
    int served = opt4scan_read(table, n, table->scan_forward);
    if (served < 0) return -1;
    got = served ? table->record_width
                 : file4read(&table->file, d4record_position(table, n), table->record, table->record_width);
  }
  if (blocked(table)) return -1;
  table->record_changed = 0;
  if (n > 0 && got == table->record_width) {
    table->rec_num = (int)n;
    return 0;
  }
  blank_record(table);
  table->rec_num = -1;
  if (!engine->report_read_errors) return r4entry;
  ErrLogMessage(1042, LOG_SHORT_RECORD, TextRef(" %s, rec(%ld), len(%u), rec_wid(%u)"), table->file.name, n, got,
                table->record_width);
  engine->error_code = e4read;
  return e4read;
}

int d4go(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4go()");
  int result = d4update_record(table, 0);
  if (result != 0) return result;
  if (!d4lock_test(table, n)) {
    if (d4unlock_data(table) < 0) return -1;
    if (table->engine->lock_on_read && n > 0) {
      result = d4lock(table, n);
      if (result != 0) return result;
    }
  }
  // A record this program holds locked is read from the disk, not from a
  // stale cached block; under the whole-table lock nobody else can change it
  // and the blocks were let go when the lock was taken.
  DbCacheState& cache = table->engine->cache;
  unsigned char saved_through = cache.read_through;
  if (!d4lock_test_file(table) && d4lock_test(table, n)) cache.read_through = 1;
  result = d4go_data(table, n);
  cache.read_through = saved_through;
  if (result != 0) return result;
  table->eof = table->bof = 0;
  if (d4lock_test(table, n)) {
    std::memcpy(table->record_old, table->record, table->record_width);
    table->rec_num_old = (int)n;
    table->old_valid = 1;
  } else {
    table->old_valid = 0;
  }
  table->engine->operation_mix |= DB_MIX_GO;
  return 0;
}

int d4go_eof(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4go_eof()");
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  long count = d4reccount(table);
  if (count < 0) return -1;
  table->rec_num = (int)count + 1;
  table->eof = 1;
  if (count == 0) table->bof = 1;
  blank_record(table);
  table->record_changed = 0;
  return r4eof;
}

int d4top(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4top()");
  if (blocked(table)) return -1;
  DbTag* tag = d4tag_selected(table);
  if (tag != nullptr) return db_index_top(table, tag, 1);
  int result = go_quietly(table, 1);
  if (result != r4entry) return result;
  long count = d4reccount(table);
  if (count < 0) return -1;
  if (count > 0) return d4go(table, 1);
  result = d4go_eof(table);
  table->bof = 1;
  return result;
}

int d4bottom(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4bottom()");
  if (blocked(table)) return -1;
  DbTag* tag = d4tag_selected(table);
  if (tag != nullptr) return db_index_top(table, tag, 0);
  long count = d4reccount(table);
  if (count < 0) return -1;
  if (count > 0) return d4go(table, count);
  int result = d4go_eof(table);
  table->bof = 1;
  return result;
}

int d4skip(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4skip()");
  DbEngine* engine = table->engine;
  if (blocked(table)) return -1;
  if (table->rec_num <= 0) {
    if (engine->report_skip_errors == 1) e4show_error(engine, e4info, "!120!");
    return -1;
  }
  DbTag* tag = d4tag_selected(table);
  if (tag != nullptr) return db_index_skip(table, tag, n);

  table->bof = 0;
  engine->operation_mix |= DB_MIX_SKIP;
  long target = table->rec_num + n;
  if (target > 0) {
    table->scan_forward = n > 0;
    int result = go_quietly(table, target);
    table->scan_forward = 0;
    if (result != r4entry) return result;
  }
  long count = d4reccount(table);
  if (count < 0) return -1;
  if (count == 0) {
    int result = d4go_eof(table);
    table->bof = 1;
    return (result == r4eof && n < 0) ? r4bof : result;
  }
  if (target >= 1 && target <= count) return d4go(table, target);
  if (target < 1) {
    int result = d4go(table, 1);
    if (result != 0) return result;
    table->bof = 1;
    return r4bof;
  }
  int result = d4go_eof(table);
  if (result == r4eof && n < 0) {
    table->bof = 1;
    return r4bof;
  }
  return result;
}

int d4seek(DbTable* table, const char* text) {
  if (table == nullptr || text == nullptr) e4fatal_stop(e4parm, "d4seek()");
  return d4seek_n(table, text, (int)std::strlen(text));
}

int d4seek_n(DbTable* table, const char* key, int length) {
  if (table == nullptr || key == nullptr) e4fatal_stop(e4parm, "d4seek_n()");
  if (blocked(table)) return -1;
  DbTag* tag = d4tag_default(table);
  if (tag == nullptr) return r4no_tag;
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  return db_index_seek(table, tag, key, length);
}

int d4seek_double(DbTable* table, double value) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4seek_double()");
  if (blocked(table)) return -1;
  DbTag* tag = d4tag_default(table);
  if (tag == nullptr) return r4no_tag;
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  return db_index_seek_double(table, tag, value);
}

int d4write(DbTable* table, long n) {
  if (table == nullptr || n <= 0) e4fatal_stop(e4parm, "d4write()");
  if (blocked(table)) return -1;
  int changed = table->record_changed;
  table->record_changed = 0;
  int result = d4write_keys(table, n);
  table->record_changed = changed;
  if (result != 0) return result;
  return d4write_data(table, n);
}

int d4write_keys(DbTable* table, long n) {
  if (table == nullptr || n <= 0) e4fatal_stop(e4parm, "d4write_keys()");
  if (blocked(table)) return -1;
  table->eof = table->bof = 0;
  table->engine->operation_mix |= DB_MIX_KEY_UPDATE;
  int result = d4lock(table, n);
  if (result != 0) return result;
  // The keys may change before the record does: the change stays marked until it is written.
  table->data_pending = 1;
  result = db_index_write_keys(table, n);
  if (result != 0) {
    table->data_pending = 0;
    db_mark_done(table);
  }
  return result;
}

int d4write_data(DbTable* table, long n) {
  if (table == nullptr || n <= 0) e4fatal_stop(e4parm, "d4write_data()");
  if (blocked(table)) return -1;
  int result = d4lock(table, n);
  if (result != 0) return result;
  table->record_changed = 0;
  table->header_changed = 1;
  result = file4write(&table->file, d4record_position(table, n), table->record, table->record_width);
  // Keys written without their record leave the mark standing, for the next workstation to mend.
  if (result == 0) {
    table->data_pending = 0;
    db_mark_done(table);
  }
  return result;
}

int d4append_start(DbTable* table, int /*unused*/) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4append_start()");
  int result = d4update_record(table, 1);
  if (result != 0) return result;
  if (!d4lock_test_file(table) && d4unlock_data(table) < 0) return -1;
  table->rec_num = 0;
  return 0;
}

int d4append_blank(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4append_blank()");
  int result = d4append_start(table, 0);
  if (result != 0) return result;
  blank_record(table);
  return d4append(table);
}

int d4append(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4append()");
  DbEngine* engine = table->engine;
  if (blocked(table)) return -1;
  if (table->rec_num != 0) {
    e4show_error(engine, e4result, "d4append()", "!476!");
    return -1;
  }
  engine->operation_mix |= DB_MIX_APPEND;
  int result = d4lock_append(table);
  if (result != 0) return result;
  // The count comes from disk: another workstation may have appended meanwhile.
  table->record_count = -1;
  long count = d4reccount(table);
  result = count < 0 ? -1 : d4lock(table, count + 1);
  if (result != 0) {
    d4unlock_append(table);
    return result;
  }
  table->eof = table->bof = 0;
  table->record_changed = 0;
  table->rec_num = (int)count + 1;
  int took_index = 0;
  if (!d4lock_test_index(table)) {
    result = d4lock_index(table);
    if (result != 0) {
      table->rec_num = 0;
      d4unlock_append(table);
      return result;
    }
    took_index = 1;
  }
  // The change stays marked until the record and its count are written.
  table->data_pending = 1;
  result = db_index_remove_stale(table, count + 1);
  if (result == 0) result = db_index_append_keys(table);
  if (result < 0 || result == r4unique) {
    table->rec_num = 0;
    d4unlock_append(table);
    if (took_index) d4unlock_index(table);
    table->data_pending = 0;
    db_mark_done(table);
    return result;
  }
  if (took_index && d4unlock_index(table) < 0) result = -1;
  if (result >= 0) result = d4append_data(table);
  if (result == 0) {
    result = d4update_header(table, 1, 1);
  } else {
    table->rec_num = 0;
  }
  if (d4unlock_append(table) < 0 && result == 0) result = -1;
  if (result == 0) {
    table->data_pending = 0;
    db_mark_done(table);
  }
  return result;
}

int d4append_data(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4append_data()");
  if (blocked(table)) return -1;
  long count = d4reccount(table);
  if (count < 0) return -1;
  table->header_changed = 1;
  // The record and the end-of-file mark go in one write.
  table->record[table->record_width] = (char)DBF_END_OF_FILE;
  int result = file4write(&table->file, d4record_position(table, count + 1), table->record, table->record_width + 1);
  table->record[table->record_width] = 0;
  if (result != 0) return result;
  table->rec_num = (int)count + 1;
  table->record_changed = 0;
  // An exclusive table counts as locked: its kept count must follow the append.
  if (d4lock_test_append(table)) table->record_count = (int)count + 1;
  return 0;
}

int d4changed(DbTable* table, int flag) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4changed()");
  int previous = table->record_changed;
  if (flag >= 0) table->record_changed = flag > 0 ? 1 : 0;
  return previous;
}

int d4update(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4update()");
  int result = d4update_record(table, 0);
  if (result != 0) return result;
  return db_index_update(table);
}

int d4flush_data(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4flush_data()");
  int result = d4update_record(table, 0);
  if (result != 0) return result;
  return file4flush(&table->file);
}

int d4flush(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4flush()");
  // One sync a commit: the record and its count; the index is covered by the mark.
  if (db_mark_defer_index_sync(table)) {
    int result = d4flush_data(table) != 0 ? -1 : 0;
    for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
         index = (DbIndex*)l4next(&table->indexes, index))
      if (i4update(index) != 0) result = -1;
    return result;
  }
  int result = d4flush_data(table) != 0 ? -1 : 0;
  if (db_index_flush(table) != 0) result = -1;
  return result;
}

int d4flush_files(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4flush_files()");
  int result = 0;
  for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr;
       table = (DbTable*)l4next(&engine->open_tables, table))
    if (d4flush(table) != 0) result = -1;
  return result;
}

int d4pack(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4pack()");
  DbEngine* engine = table->engine;
  int result = d4lock_all(table);
  if (result != 0) return result;
  int was_started = engine->cache.started;
  d4opt_suspend(engine);
  result = d4pack_data(table);
  if (result == 0) {
    if (table->record_count == 0) table->eof = table->bof = 1;
    result = db_index_reindex(table);
    if (result == 0) result = d4update_header(table, 1, 1);
  }
  if (was_started) d4opt_start(engine);
  return result;
}

int d4pack_data(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4pack_data()");
  DbEngine* engine = table->engine;
  int result = d4lock_file(table);
  if (result != 0) return result;
  result = d4update(table);
  if (result != 0) return result;
  table->header_changed = 1;
  long count = d4reccount(table);
  if (count < 0) return -1;
  unsigned width = table->record_width;

  unsigned size = (unsigned)std::max(engine->cache_buffer_size, 0);
  char* read_buffer = nullptr;
  char* write_buffer = nullptr;
  while (size > width) {
    read_buffer = (char*)u4alloc(size);
    write_buffer = (char*)u4alloc(size);
    if (read_buffer != nullptr && write_buffer != nullptr) break;
    u4free(read_buffer);
    u4free(write_buffer);
    read_buffer = write_buffer = nullptr;
    size = size > 2048 ? size - 2048 : 0;
  }
  if (read_buffer == nullptr) size = 0;
  int was_started = engine->cache.started;
  d4opt_suspend(engine);

  // Every deletion mark is checked before a byte moves: a damaged record
  // found half way would leave the table neither packed nor intact.
  DbSeqReader reader;
  long start = d4record_position(table, 1);
  file4seq_read_init(&reader, &table->file, start, read_buffer, size);
  long bad = 0;
  for (long i = 1; i <= count && result == 0; i++) {
    result = file4seq_read_all(&reader, table->record, width);
    if (result == 0 && table->record[0] != ' ' && table->record[0] != '*') bad = i;
    if (bad) break;
  }
  if (result == 0 && bad) result = e4show_error(engine, e4data, TextRef(MSG_DELETION_MARK), table->file.name);

  long kept = 0;
  if (result == 0) {
    DbSeqWriter writer;
    file4seq_read_init(&reader, &table->file, start, read_buffer, size);
    file4seq_write_init(&writer, &table->file, start, write_buffer, size);
    for (long i = 1; i <= count && result == 0; i++) {
      result = file4seq_read_all(&reader, table->record, width);
      if (result == 0 && table->record[0] == ' ') {
        result = file4seq_write(&writer, table->record, width);
        kept++;
      }
    }
    const char end = (char)DBF_END_OF_FILE;
    if (result == 0) result = file4seq_write(&writer, &end, 1);
    if (result == 0) result = file4seq_write_flush(&writer);
  }
  u4free(read_buffer);
  u4free(write_buffer);
  if (was_started) d4opt_start(engine);

  table->rec_num = table->rec_num_old = -1;
  table->old_valid = 0;
  blank_record(table);
  table->record_changed = 0;
  if (result != 0) return result < 0 ? result : -1;
  table->record_count = (int)kept;
  return file4len_set(&table->file, start + kept * (long)width + 1);
}
