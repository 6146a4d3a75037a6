// Filtered scans: the x4 moves work like the d4 moves but pass over every
// record the caller's filter rejects; InitDbScan and DbScan save and restore
// a table's position, order and record around a piece of work; Locate
// searches a browse list for a fragment; ValidUniqueTag tells a validator
// whether a key exists already.
#pragma once
#include <cstdint>
#include "env/text_ref.h"

struct DbTable;
struct DbTag;

// Filter answers; any other answer stops the move and is returned.
constexpr int X4_ACCEPT = 45;
constexpr int X4_REJECT = 40;

// Called with the current record in the table's record buffer; the user
// value is pointer-sized so that it can carry the caller's filter data.
typedef int (*DbScanFilter)(intptr_t user);

struct DbScanCtx {
  DbTable* table;
  DbScanFilter filter;       // NULL: the x4 moves are the d4 moves
  intptr_t user;
  long saved_record;         // -1 when the table was at either end
  DbTag* saved_tag;
  char* record_copy;         // DBSCAN_COPY; record width bytes
};

// DbScan steps, done in the order listed.
constexpr int DBSCAN_COPY = 0x004;          // copy the record buffer
constexpr int DBSCAN_LOCK = 0x001;          // lock the whole table (refused: 2)
constexpr int DBSCAN_RECORD_ORDER = 0x200;
constexpr int DBSCAN_SAVED_TAG = 0x080;
constexpr int DBSCAN_TOP = 0x020;           // no accepted record: 1
constexpr int DBSCAN_UNLOCK = 0x002;
constexpr int DBSCAN_SAVED_RECORD = 0x100;
constexpr int DBSCAN_RESTORE = 0x008;       // the copy back into the record buffer
constexpr int DBSCAN_FREE = 0x010;
constexpr int DBSCAN_NOTHING = 0x040;
constexpr int DBSCAN_AFTER_WORK = 0x198;

constexpr int LOG_SCAN_NO_COPY = 17;
constexpr int MSG_NOT_FOUND = 50087;
constexpr int MSG_NO_MORE = 50088;

void x4init(DbScanCtx* scan, DbTable* table, DbScanFilter filter, intptr_t user);
int x4top(DbScanCtx* scan);
int x4bottom(DbScanCtx* scan);
// 0 accepted, 5 rejected (the record is current all the same), or a stop answer.
int x4go(DbScanCtx* scan, long n);
int x4skip(DbScanCtx* scan, long n);
int x4seek(DbScanCtx* scan, const char* text);
int x4seek_double(DbScanCtx* scan, double value);
int x4skip_rejected(DbScanCtx* scan, int direction);
int x4seek_filter(DbScanCtx* scan, int seekResult);
int x4go_eof(DbScanCtx* scan);

// With a table the context is cleared and set up; NULL keeps it as it is.
int InitDbScan(DbScanCtx* scan, DbTable* table, DbScanFilter filter, intptr_t user, int flags);
// 0; 2 the lock was refused; 1 DBSCAN_TOP found no accepted record; -1 an error.
int DbScan(DbScanCtx* scan, int flags);

// The text searched for the current record (a temporary string).
typedef const char* (*DbLocateText)();
// What Locate shows of the list it searches; the browse installs it.
struct DbLocateView {
  int (*show)(long record);       // redisplay the list at the record; 0 or -1
  void (*searchHints)(int on);    // the hints of the Down and Up keys on (1) or off (0)
};
void LocateViewInstall(const DbLocateView* view);     // NULL: nothing is redisplayed
// The record found (or the one it started from), 0 when no record passes
// the filter, -1 on an error.
long Locate(DbScanCtx* scan, const char* fragment, DbLocateText text);

// 1 (after a warning with the message) when the key exists in the tag, with
// otherThanCurrent in a record other than the current one; else 0. The
// table's position, order and record buffer are restored.
int ValidUniqueTag(DbTable* table, DbTag* tag, const char* key, int otherThanCurrent, TextRef message);
