#include "db/db_scan.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "platform/screen_hook.h"

namespace {

constexpr int KEY_DOWN = 0x5000;
constexpr int KEY_UP = 0x4800;
constexpr int FRAGMENT_MAX = 127;
constexpr const char* WARNING_TITLE = "UWAGA";

const DbLocateView* locate_view = nullptr;

void check(DbScanCtx* scan, const char* function) {
  if (scan == nullptr || scan->table == nullptr) e4fatal_stop(e4parm, function);
}

int filter_answer(DbScanCtx* scan) { return scan->filter(scan->user); }

void warn(TextRef message) { ScreenMessageBox(SCREEN_BOX_WARNING, WARNING_TITLE, EnvFindString(message)); }

// The tag whose key a seek compared: the selected one, else the first.
DbTag* seek_tag(DbTable* table) { return d4tag_default(table); }

// After a filtered seek the table may stand on a later record than the one
// the seek found: its own key decides whether it matches.
int exact_text(DbTable* table, const char* text) {
  DbTag* tag = seek_tag(table);
  if (tag == nullptr) return r4no_tag;
  char* key = nullptr;
  int key_len = t4expr_key(tag, &key);
  if (key_len < 0) return -1;
  int length = (int)std::strlen(text);
  if (t4type(tag) == 'C') {
    int n = std::min(length, key_len);
    return std::memcmp(key, text, (size_t)n) == 0 ? 0 : r4after;
  }
  char wanted[DB_KEY_MAX + 1];
  int wanted_len = tag->text_to_key(tag, wanted, text, length);
  return wanted_len == key_len && tag->compare(wanted, key, (unsigned)key_len) == 0 ? 0 : r4after;
}

int exact_double(DbTable* table, double value) {
  DbTag* tag = seek_tag(table);
  if (tag == nullptr) return r4no_tag;
  char* key = nullptr;
  int key_len = t4expr_key(tag, &key);
  if (key_len < 0) return -1;
  char wanted[DB_KEY_MAX + 1];
  int wanted_len = tag->double_to_key(tag, wanted, value);
  return wanted_len == key_len && tag->compare(wanted, key, (unsigned)key_len) == 0 ? 0 : r4after;
}

// Upper case of the system's character set, for a search that ignores case.
std::string upper(const char* text) {
  std::string out = text != nullptr ? text : "";
  c4upper(out.data());
  return out;
}

}  // namespace

void x4init(DbScanCtx* scan, DbTable* table, DbScanFilter filter, intptr_t user) {
  if (scan == nullptr) e4fatal_stop(e4parm, "x4init()");
  scan->table = table;
  scan->filter = filter;
  scan->user = user;
}

int x4skip_rejected(DbScanCtx* scan, int direction) {
  check(scan, "x4skip_rejected()");
  if (scan->filter == nullptr) return X4_ACCEPT;
  int answer = filter_answer(scan);
  while (answer == X4_REJECT) {
    int moved = d4skip(scan->table, direction);
    if (moved != 0) return moved;
    answer = filter_answer(scan);
  }
  return answer;
}

int x4go_eof(DbScanCtx* scan) {
  check(scan, "x4go_eof()");
  int result = d4go_eof(scan->table);
  if (result != r4eof || scan->filter == nullptr) return result;
  int answer = filter_answer(scan);
  return answer == X4_ACCEPT || answer == X4_REJECT ? r4eof : answer;
}

namespace {

int x4end(DbScanCtx* scan, int forward) {
  DbTable* table = scan->table;
  int result = forward ? d4top(table) : d4bottom(table);
  if (result != 0 || scan->filter == nullptr) return result;
  int answer = x4skip_rejected(scan, forward ? 1 : -1);
  if (answer == X4_ACCEPT) return 0;
  if (answer == (forward ? r4eof : r4bof)) {
    result = x4go_eof(scan);
    table->bof = 1;
    return result;
  }
  return answer;
}

}  // namespace

int x4top(DbScanCtx* scan) {
  check(scan, "x4top()");
  return x4end(scan, 1);
}

int x4bottom(DbScanCtx* scan) {
  check(scan, "x4bottom()");
  return x4end(scan, 0);
}

int x4go(DbScanCtx* scan, long n) {
  check(scan, "x4go()");
  int result = d4go(scan->table, n);
  if (result != 0 || scan->filter == nullptr) return result;
  int answer = filter_answer(scan);
  if (answer == X4_ACCEPT) return 0;
  return answer == X4_REJECT ? r4entry : answer;
}

int x4skip(DbScanCtx* scan, long n) {
  check(scan, "x4skip()");
  DbTable* table = scan->table;
  if (scan->filter == nullptr) return d4skip(table, n);
  int direction = n < 0 ? -1 : 1;
  for (long moved = 0; moved < (n < 0 ? -n : n); moved++) {
    long from = d4recno(table);
    int result = d4skip(table, direction);
    // An end met by the move itself is an end: the blank record is never offered to the filter.
    int answer = result == 0 ? x4skip_rejected(scan, direction) : result;
    if (answer == X4_ACCEPT) continue;
    if (answer == r4eof || answer == r4bof) {
      if (direction > 0) return d4go_eof(table);
      int report = table->engine->report_read_errors;
      table->engine->report_read_errors = 0;
      result = d4go(table, from);
      table->engine->report_read_errors = report;
      if (result != 0) return result;
      table->bof = 1;
      return r4bof;
    }
    return answer;
  }
  if (n < 0 && table->bof) return r4bof;
  if (n > 0 && table->eof) return r4eof;
  return 0;
}

int x4seek_filter(DbScanCtx* scan, int seekResult) {
  check(scan, "x4seek_filter()");
  if ((seekResult != 0 && seekResult != r4after) || scan->filter == nullptr) return seekResult;
  int answer = x4skip_rejected(scan, 1);
  return answer == X4_ACCEPT ? seekResult : answer;
}

int x4seek(DbScanCtx* scan, const char* text) {
  check(scan, "x4seek()");
  if (text == nullptr) e4fatal_stop(e4parm, "x4seek()");
  int result = d4seek_n(scan->table, text, (int)std::strlen(text));
  if (scan->filter == nullptr) return result;
  result = x4seek_filter(scan, result);
  if (result != 0 && result != r4after) return result;
  return exact_text(scan->table, text);
}

int x4seek_double(DbScanCtx* scan, double value) {
  check(scan, "x4seek_double()");
  int result = d4seek_double(scan->table, value);
  if (scan->filter == nullptr) return result;
  result = x4seek_filter(scan, result);
  if (result != 0 && result != r4after) return result;
  return exact_double(scan->table, value);
}

int InitDbScan(DbScanCtx* scan, DbTable* table, DbScanFilter filter, intptr_t user, int flags) {
  if (scan == nullptr) e4fatal_stop(e4parm, "InitDbScan()");
  if (table != nullptr) {
    std::memset(scan, 0, sizeof *scan);
    x4init(scan, table, filter, user);
  }
  check(scan, "InitDbScan()");
  DbTable* t = scan->table;
  scan->saved_record = (t->bof || t->eof) ? -1 : d4recno(t);
  scan->saved_tag = d4tag_selected(t);
  return DbScan(scan, flags);
}

int DbScan(DbScanCtx* scan, int flags) {
  check(scan, "DbScan()");
  DbTable* table = scan->table;
  unsigned width = d4record_width(table);
  if (flags & DBSCAN_COPY) {
    if (scan->record_copy == nullptr) {
      scan->record_copy = (char*)u4alloc_report(reinterpret_cast<Environment*>(table->engine), width);
      if (scan->record_copy == nullptr) return -1;
    }
    std::memcpy(scan->record_copy, d4record(table), width);
  }
  if (flags & DBSCAN_LOCK) {
    int locked = set_lock(table, -1);
    if (locked == r4locked) return 2;
    if (locked != 0) return -1;
  }
  if (flags & DBSCAN_RECORD_ORDER) d4tag_select(table, nullptr);
  if (flags & DBSCAN_SAVED_TAG) d4tag_select(table, scan->saved_tag);
  if (flags & DBSCAN_TOP) {
    int result = x4top(scan);
    if (result < 0) return -1;
    if (result != 0) return 1;
  }
  if ((flags & DBSCAN_UNLOCK) && d4unlock(table) < 0) return -1;
  if ((flags & DBSCAN_SAVED_RECORD) && scan->saved_record >= 1 && x4go(scan, scan->saved_record) < 0) return -1;
  if (flags & DBSCAN_RESTORE) {
    if (scan->record_copy != nullptr)
      std::memcpy(d4record(table), scan->record_copy, width);
    else
      ErrLogMessage(EL_ERROR, LOG_SCAN_NO_COPY, TextRef());
  }
  if ((flags & DBSCAN_FREE) && scan->record_copy != nullptr) {
    u4free(scan->record_copy);
    scan->record_copy = nullptr;
  }
  return 0;
}

void LocateViewInstall(const DbLocateView* view) { locate_view = view; }

long Locate(DbScanCtx* scan, const char* fragment, DbLocateText text) {
  check(scan, "Locate()");
  if (fragment == nullptr || text == nullptr) e4fatal_stop(e4parm, "Locate()");
  DbTable* table = scan->table;
  long start = d4recno(table);
  bool at_end = table->eof || start < 1;
  int result = x4top(scan);
  if (result < 0) return -1;
  if (result != 0) {
    warn(TextRef(MSG_NOT_FOUND));
    return 0;
  }
  if (at_end)
    start = d4recno(table);
  else if (x4go(scan, start) < 0)
    return -1;

  std::string wanted(fragment, strnlen(fragment, FRAGMENT_MAX));
  while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
  wanted = upper(wanted.c_str());

  int direction = 1;
  int ends = 0;
  long found = 0;
  for (;;) {
    result = x4skip(scan, direction);
    if (result < 0) return -1;
    if (result == 0) {
      if (upper(text()).find(wanted) == std::string::npos) continue;
      found = d4recno(table);
    } else if (found == 0) {
      // An end (or a stop of the filter) before anything was found.
      if (++ends == 1) {
        direction = -direction;
        continue;
      }
      warn(TextRef(MSG_NOT_FOUND));
      if (x4go(scan, start) < 0) return -1;
      return start;
    } else {
      warn(TextRef(MSG_NO_MORE));
      if (x4go(scan, found) < 0) return -1;
    }
    if (locate_view != nullptr && locate_view->show(found) < 0) return -1;
    if (locate_view != nullptr) locate_view->searchHints(1);
    int key = ScreenWaitKey();
    if (locate_view != nullptr) locate_view->searchHints(0);
    if (key == KEY_DOWN)
      direction = 1;
    else if (key == KEY_UP)
      direction = -1;
    else
      return found;
  }
}

int ValidUniqueTag(DbTable* table, DbTag* tag, const char* key, int otherThanCurrent, TextRef message) {
  if (table == nullptr || tag == nullptr || key == nullptr) e4fatal_stop(e4parm, "ValidUniqueTag()");
  // The buffer may hold an edit in progress (a form over the current record
  // or a new one): the seek must not write it; the copy brings it back.
  int changed = d4changed(table, 0);
  DbScanCtx scan;
  if (InitDbScan(&scan, table, nullptr, 0, DBSCAN_COPY) != 0) {
    d4changed(table, changed);
    return 0;
  }
  d4tag_select(table, tag);
  int exists = 0;
  int result = x4seek(&scan, key);
  if (result == 0) {
    exists = !otherThanCurrent || d4recno(table) != scan.saved_record;
    // The current record may hold the key besides another record that
    // holds it too: the next record in the tag is looked at as well.
    if (!exists && d4skip(table, 1) == 0 && !table->eof) exists = exact_text(table, key) == 0;
  }
  DbScan(&scan, DBSCAN_AFTER_WORK);
  d4changed(table, changed);
  if (exists) warn(message);
  return exists;
}
