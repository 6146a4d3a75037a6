// Marks of changes under way, so that an index left half-changed by a
// workstation that died is found and rebuilt before anyone uses it again.
//
// Beside each indexed table lies a side file ("<table>.MRK") of one byte per
// open handle (its slot). A handle holds an open-file-description lock on its
// slot for as long as it is open; the kernel drops the lock when the process
// dies. A writer sets its byte before its first index write and clears it
// after its last data write (for a batch under the whole-table lock, or an
// exclusive table, when the batch ends). A byte found set on a slot whose lock
// is free was left by a dead writer: the finder verifies the table's indexes
// against its records and rebuilds one that disagrees.
#pragma once

struct DbTable;

// The log code of a dead writer's change mended (a record past the count cut,
// an index rebuilt).
constexpr int LOG_INTERRUPTED_CHANGE_MENDED = 1087;

// Tells the operator (a warning box) and the error log that an interrupted
// change was mended; `text` in the system's character set, lines short
// enough for the box.
void db_report_mended(const char* text);

// Before the first index write of a change: sets this handle's mark.
void db_mark_change(DbTable* table);
// After a data write or an unlock: clears the mark once nothing is pending
// (no keys waiting for their record, no whole-table or index lock held).
void db_mark_done(DbTable* table);
// With the table's indexes locked: dead writers' marks are taken over, the
// file cut at its count (under the append lock), the indexes verified and,
// where they disagree, rebuilt (the operator is told).
// 0, 50 when the table is busy (the caller tries again later), or -1.
int db_mark_check(DbTable* table);
// A shared table's flush may leave its index files unsynced while a set
// mark is on disk beside them: a crash that loses their writes leaves the
// mark, and the next workstation verifies and rebuilds. 1 when this handle's
// mark is (now) synced for that, 0 when the index must be synced with the data.
// The mark then stays set (as "done, not synced") until the close syncs the index.
int db_mark_defer_index_sync(DbTable* table);
// Before the indexes are closed: syncs those whose writes a deferred mark
// covers, so that the close may clear it; -1 when a sync failed.
int db_mark_sync_deferred(DbTable* table);
// At open: whether a dead writer's mark stands (then the caller locks the indexes).
int db_mark_dead_standing(DbTable* table);
// At close: clears this handle's mark when everything was written (a
// change whose record failed to be written leaves it for the next
// workstation), and closes the side file (its slot is free again).
void db_mark_close(DbTable* table, int written);

// Entries under way: a workstation that appends a record and leaves it in
// its operator's hands (a document being entered, saved or taken back at
// the end) sets its slot's entry byte meanwhile. A set entry byte on a slot
// whose lock is free was left by a workstation that died in the entry; the
// slot is not given to a new handle until the finder has dealt with it.

// Sets this handle's entry byte; its slot, or -1 when the table keeps no marks.
int db_entry_begin(DbTable* table);
// The entry ended (the record saved or taken back): clears the byte.
void db_entry_end(DbTable* table);
// Up to `max` slots whose entry byte is set and whose owner is gone; their
// locks are held here from now on. The count.
int db_entry_take_dead(DbTable* table, int* slots, int max);
// Frees the slots again; `done`: their entries were dealt with, the bytes are
// cleared (else they stay for a later finder).
void db_entry_release(DbTable* table, const int* slots, int count, int done);
