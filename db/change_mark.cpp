#include "db/change_mark.h"

#include <cstdio>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_file.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_table.h"
#include "db/index_verify.h"
#include "db/reindex.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MAX_SLOTS = 4096;
constexpr unsigned char MARK_SET = 1;        // a change under way
constexpr unsigned char MARK_UNSYNCED = 2;   // changes done, the index not yet synced
constexpr unsigned char MARK_CLEAR = 0;
constexpr unsigned char ENTRY_SET = 1;       // an appended record still in its operator's hands

// A slot's entry byte lies after every slot's change byte.
uint64_t entry_offset(int slot) { return (uint64_t)MAX_SLOTS + (uint64_t)slot; }

// The slot's entry byte; clear when the file ends before it.
unsigned char read_entry(DbTable* table, int slot) {
  unsigned char byte = MARK_CLEAR;
  size_t got = 0;
  if (PlatFileRead(table->mark_file, entry_offset(slot), &byte, 1, &got) != PLAT_OK || got == 0) return MARK_CLEAR;
  return byte;
}

// The side file's bytes as they stand; the count read.
size_t read_marks(DbTable* table, unsigned char* bytes) {
  size_t got = 0;
  if (PlatFileRead(table->mark_file, 0, bytes, MAX_SLOTS, &got) != PLAT_OK) return 0;
  return got;
}

bool write_mark(DbTable* table, int slot, unsigned char value) {
  return PlatFileWrite(table->mark_file, (uint64_t)slot, &value, 1) == PLAT_OK;
}

void give_up_marks(DbTable* table) {
  if (table->mark_file != PLAT_NO_FILE) PlatFileClose(table->mark_file);
  table->mark_file = PLAT_NO_FILE;
  table->mark_slot = -1;
  table->mark_unusable = 1;
}

// Opens the side file and takes a free slot: one whose lock is free and
// whose bytes are clear (a set byte on a free slot is a dead writer's, left
// for the check, or a dead entry's, left for its owner's repair). False when
// the table keeps no marks.
bool open_marks(DbTable* table) {
  if (table->mark_file != PLAT_NO_FILE) return true;
  if (table->mark_unusable || table->file.read_only || l4first(&table->indexes) == nullptr) return false;
  char name[260];
  std::snprintf(name, sizeof name, "%s", table->file.name);
  u4name_ext(name, sizeof name, "MRK", 1);
  if (file4open_side(name, &table->mark_file) != PLAT_OK) {
    table->mark_file = PLAT_NO_FILE;
    table->mark_unusable = 1;
    return false;
  }
  for (int slot = 0; slot < MAX_SLOTS; slot++) {
    PlatResult locked = PlatFileLock(table->mark_file, (uint64_t)slot, 1, true);
    if (locked == PLAT_LOCKED) continue;
    // Without locks a dead writer cannot be told from a live one.
    if (locked != PLAT_OK) break;
    unsigned char byte = 0;
    size_t got = 0;
    if (PlatFileRead(table->mark_file, (uint64_t)slot, &byte, 1, &got) == PLAT_OK && (got == 0 || byte == MARK_CLEAR) &&
        read_entry(table, slot) == MARK_CLEAR) {
      table->mark_slot = slot;
      return true;
    }
    PlatFileUnlock(table->mark_file, (uint64_t)slot, 1);
  }
  give_up_marks(table);
  return false;
}

// Slots whose byte is set and whose owner is gone (their locks are now held
// here); `live` counts the slots whose owner still runs inside a change (an
// owner whose changes are done, only not synced yet, is not waited for).
std::vector<int> take_dead_slots(DbTable* table, int* live) {
  std::vector<int> dead;
  unsigned char bytes[MAX_SLOTS];
  size_t got = read_marks(table, bytes);
  for (size_t slot = 0; slot < got; slot++) {
    if (bytes[slot] == MARK_CLEAR || (int)slot == table->mark_slot) continue;
    if (PlatFileLock(table->mark_file, slot, 1, true) == PLAT_OK)
      dead.push_back((int)slot);
    else if (bytes[slot] == MARK_SET)
      (*live)++;
  }
  return dead;
}

void release_slots(DbTable* table, const std::vector<int>& slots) {
  for (int slot : slots) PlatFileUnlock(table->mark_file, (uint64_t)slot, 1);
}

// Makes the file end at its count: the end-of-file mark right after the last
// counted record, nothing after it. A dead appender may have left its record
// (or part of it) past the count, which readers going to the mark would list.
// Only under the append lock, so that nobody is appending those bytes now;
// when another workstation holds it, a later check cuts. 1 cut, 0 nothing to
// cut (or not now), -1 on an error.
int end_at_count(DbTable* table) {
  bool took = false;
  if (!d4lock_test_append(table)) {
    int locked = file4lock(&table->file, DB_LOCK_APPEND, 1);
    if (locked != 0) return locked < 0 ? -1 : 0;
    took = true;
  }
  DbCacheState& cache = table->engine->cache;
  unsigned char saved_through = cache.read_through;
  cache.read_through = 1;
  long count = d4reccount(table);
  long end = count < 0 ? -1 : d4record_position(table, count + 1);
  long length = end < 0 ? -1 : file4len(&table->file);
  int result = length < 0 ? -1 : 0;
  unsigned char mark = 0;
  // A count beyond the file is the opener's to refuse, not this cut's.
  if (result == 0 && length >= end &&
      !(length == end + 1 && file4read(&table->file, end, &mark, 1) == 1 && mark == DBF_END_OF_FILE)) {
    result = file4write(&table->file, end, &DBF_END_OF_FILE, 1) == 0 && file4len_set(&table->file, end + 1) == 0 ? 1 : -1;
  }
  cache.read_through = saved_through;
  if (took && file4unlock(&table->file, DB_LOCK_APPEND, 1) < 0) result = -1;
  return result;
}

// The workstation that was cut short may have been this one, before a full
// disk or a crash: the text blames no one.
void tell_mended(DbTable* table, bool rebuilt, bool cut) {
  std::string text;
  if (cut)
    text += Utf8ToMazText("Baza ") + table->file.name +
            Utf8ToMazText(" kończyła się rekordem, którego\ndopisywanie zostało przerwane; rekord ten został odcięty.");
  if (rebuilt)
    text += std::string(cut ? "\n" : "") + Utf8ToMazText("Indeks bazy ") + table->file.name +
            Utf8ToMazText(" nie zgadzał się z jej rekordami\npo przerwanej zmianie i został odbudowany.");
  db_report_mended(text.c_str());
}

}  // namespace

void db_report_mended(const char* text) {
  ErrLogMessage(EL_FORMAT, LOG_INTERRUPTED_CHANGE_MENDED, TextRef("%s"), text);
  ScreenMessageBox(SCREEN_BOX_WARNING, Utf8ToMazText("Uwaga").c_str(), text);
}

void db_mark_change(DbTable* table) {
  if ((table->mark_standing && table->mark_value == MARK_SET) || !open_marks(table)) return;
  if (!write_mark(table, table->mark_slot, MARK_SET)) return;
  table->mark_standing = 1;
  table->mark_value = MARK_SET;
}

void db_mark_done(DbTable* table) {
  if (!table->mark_standing || table->data_pending || d4lock_test_file(table)) return;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (index->locked) return;
  unsigned char value = table->mark_deferred ? MARK_UNSYNCED : MARK_CLEAR;
  if (value == table->mark_value || !write_mark(table, table->mark_slot, value)) return;
  table->mark_value = value;
  table->mark_standing = value != MARK_CLEAR;
}

int db_mark_defer_index_sync(DbTable* table) {
  if (table->mark_deferred) return 1;
  if (table->file.exclusive || !open_marks(table)) return 0;
  // A change under way keeps its byte; it becomes the unsynced one when done.
  if (!table->mark_standing) {
    if (!write_mark(table, table->mark_slot, MARK_UNSYNCED)) return 0;
    table->mark_standing = 1;
    table->mark_value = MARK_UNSYNCED;
  }
  if (PlatFileFlush(table->mark_file) != PLAT_OK) return 0;
  table->engine->syncs++;
  table->mark_deferred = 1;
  return 1;
}

int db_mark_sync_deferred(DbTable* table) {
  if (!table->mark_deferred) return 0;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index))
    if (file4flush(&index->file) != 0) return -1;
  table->mark_deferred = 0;
  return 0;
}

int db_mark_dead_standing(DbTable* table) {
  if (!open_marks(table)) return 0;
  int live = 0;
  std::vector<int> dead = take_dead_slots(table, &live);
  release_slots(table, dead);
  return dead.empty() ? 0 : 1;
}

int db_mark_check(DbTable* table) {
  if (!open_marks(table)) return 0;
  int live = 0;
  std::vector<int> dead = take_dead_slots(table, &live);
  if (dead.empty()) return 0;
  // A live writer may stand between its key writes and its record; it needs
  // no index lock to finish, so the check waits for a later round. New marks
  // cannot appear meanwhile: they are set under the index locks held here.
  if (live > 0) {
    release_slots(table, dead);
    return r4locked;
  }
  int cut = end_at_count(table);
  int result = cut < 0 ? -1 : d4verify(table, nullptr, 0);
  bool rebuilt = result == 1;
  if (rebuilt) {
    for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr && result >= 0;
         index = (DbIndex*)l4next(&table->indexes, index))
      if (i4reindex(index) != 0) result = -1;
  }
  if (result >= 0 && (rebuilt || cut == 1)) tell_mended(table, rebuilt, cut == 1);
  if (result >= 0)
    for (int slot : dead) write_mark(table, slot, MARK_CLEAR);
  release_slots(table, dead);
  return result < 0 ? -1 : 0;
}

void db_mark_close(DbTable* table, int written) {
  if (table->mark_file == PLAT_NO_FILE) return;
  if (table->mark_standing && written && !table->data_pending && !table->mark_deferred)
    write_mark(table, table->mark_slot, MARK_CLEAR);
  PlatFileClose(table->mark_file);
  table->mark_file = PLAT_NO_FILE;
  table->mark_slot = -1;
  table->mark_standing = 0;
  table->mark_value = MARK_CLEAR;
  table->mark_deferred = 0;
}

int db_entry_begin(DbTable* table) {
  if (!open_marks(table)) return -1;
  unsigned char set = ENTRY_SET;
  if (PlatFileWrite(table->mark_file, entry_offset(table->mark_slot), &set, 1) != PLAT_OK) return -1;
  return table->mark_slot;
}

void db_entry_end(DbTable* table) {
  if (table->mark_file == PLAT_NO_FILE || table->mark_slot < 0) return;
  unsigned char clear = MARK_CLEAR;
  PlatFileWrite(table->mark_file, entry_offset(table->mark_slot), &clear, 1);
}

int db_entry_take_dead(DbTable* table, int* slots, int max) {
  if (!open_marks(table)) return 0;
  unsigned char bytes[MAX_SLOTS];
  size_t got = 0;
  if (PlatFileRead(table->mark_file, entry_offset(0), bytes, MAX_SLOTS, &got) != PLAT_OK) return 0;
  int count = 0;
  for (size_t slot = 0; slot < got && count < max; slot++) {
    if (bytes[slot] == MARK_CLEAR || (int)slot == table->mark_slot) continue;
    if (PlatFileLock(table->mark_file, slot, 1, true) == PLAT_OK) slots[count++] = (int)slot;
  }
  return count;
}

void db_entry_release(DbTable* table, const int* slots, int count, int done) {
  unsigned char clear = MARK_CLEAR;
  for (int i = 0; i < count; i++) {
    if (done) PlatFileWrite(table->mark_file, entry_offset(slots[i]), &clear, 1);
    PlatFileUnlock(table->mark_file, (uint64_t)slots[i], 1);
  }
}
