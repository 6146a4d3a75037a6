#include "db/db_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "db/block_cache.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_names.h"
#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/temp_strings.h"
#include "platform/clock.h"
#include "platform/dirs.h"
#include "platform/paths.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_ACCESS_DENIED = 50083;
constexpr int MSG_TEMP_FILE = 50173;
constexpr int LOG_OPEN_FAILED = 1000;
constexpr int LOG_FLUSH_FAILED = 1002;
constexpr int SEQ_ALIGN = 1024;

// Engine names are Windows paths in the system's character set.
std::string disk_path(const char* name) { return PlatTranslatePath(MazToUtf8Text(name).c_str()); }

Environment* env_of(DbEngine* engine) { return reinterpret_cast<Environment*>(engine); }

// False when a copy was asked for and memory ran out (-920 is shown then);
// the system file is closed again.
bool keep_name(DbFile* file, const char* name, int copy_name) {
  if (!copy_name) {
    file->name = (char*)name;
    return true;
  }
  size_t length = std::strlen(name) + 1;
  char* copy = (char*)u4alloc_report(env_of(file->engine), length);
  if (copy == nullptr) {
    PlatFileClose(file->handle);
    if (file->delete_on_close) PlatFileDelete(disk_path(name).c_str());
    file->handle = PLAT_NO_FILE;
    file->is_open = 0;
    return false;
  }
  std::memcpy(copy, name, length);
  file->name = copy;
  file->name_owned = 1;
  return true;
}

void clear_file(DbFile* file, DbEngine* engine) {
  std::memset(file, 0, sizeof *file);
  file->engine = engine;
  file->handle = PLAT_NO_FILE;
  file->hash_start = -1;
  file->cached_length = -1;
  file->length_known = 0;
}

// Our own writes are all that changes what we know of the length.
void raise_known_length(DbFile* file, long end) {
  if (end > file->length_known) file->length_known = end;
}

// Positive results (but not a pending create or open refusal of the caller)
// are cleared before a file operation starts.
bool engine_blocked(DbEngine* engine) {
  if (engine->error_code < 0) return true;
  if (engine->error_code > 0) engine->error_code = 0;
  return false;
}

// The system file behind a new engine file; PLAT_EXISTS when taken.
PlatResult create_system_file(DbFile* file, DbEngine* engine, const char* name) {
  PlatDisposition disposition = engine->create_safety ? PLAT_CREATE_NEW : PLAT_CREATE_ALWAYS;
  PlatResult result = PlatFileOpen(disk_path(name).c_str(), PLAT_READ_WRITE, disposition, &file->handle);
  if (result == PLAT_OK) file->is_open = 1;
  return result;
}

// Sharing "deny read and write": the whole range of the locking protocol is
// held for as long as the file is open, so no other workstation can lock,
// write or append; false when another one holds a lock already.
constexpr uint64_t EXCLUSIVE_START = 0x40000000u;
constexpr uint64_t EXCLUSIVE_LENGTH = 0xC0000000u;

bool hold_exclusive(DbFile* file) {
  PlatResult result = PlatFileLock(file->handle, EXCLUSIVE_START, EXCLUSIVE_LENGTH, true);
  if (result == PLAT_OK || result == PLAT_NO_LOCKS) return true;
  PlatFileClose(file->handle);
  file->handle = PLAT_NO_FILE;
  file->is_open = 0;
  return false;
}

int report_create_failure(DbFile* file, DbEngine* engine, const char* name) {
  file->handle = PLAT_NO_FILE;
  if (engine->report_create_errors) return e4show_file_error(engine, e4create, name);
  engine->error_code = r4no_create;
  return r4no_create;
}

}  // namespace

int file4open(DbFile* file, DbEngine* engine, const char* name, int copy_name) {
  if (file == nullptr || engine == nullptr || name == nullptr) e4fatal_stop(e4parm, "file4open()");
  clear_file(file, engine);
  if (engine_blocked(engine)) return -1;
  std::string path = disk_path(name);
  PlatResult result = PlatFileAccess(path.c_str());
  if (result == PLAT_NOT_FOUND) {
    if (!engine->report_open_errors) {
      engine->error_code = r4no_open;
      return r4no_open;
    }
    e4show_file_error(engine, e4open, name);
    return e4open;
  }
  bool read_only = engine->read_only != 0;
  result = PlatFileOpen(path.c_str(), read_only ? PLAT_READ : PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &file->handle);
  if (result == PLAT_ACCESS && !read_only) {
    // A file we may only read is opened read-only, as the read-only attribute would.
    result = PlatFileOpen(path.c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file->handle);
    read_only = true;
  }
  if (result == PLAT_OK && engine->exclusive && !hold_exclusive(file)) result = PLAT_ACCESS;
  if (result != PLAT_OK) {
    file->handle = PLAT_NO_FILE;
    if (!engine->report_open_errors) {
      engine->error_code = r4no_open;
      return r4no_open;
    }
    if (result == PLAT_ACCESS) {
      std::string cwd = Utf8ToMazText(PlatToWindowsPath(PlatGetCwd().c_str()).c_str());
      ScreenMessageBox(SCREEN_BOX_ERROR, Utf8ToMazText("BŁĄD").c_str(),
                       (std::string(PrintfQStr(TextRef(MSG_ACCESS_DENIED), name)) + "\n" + cwd).c_str());
    } else {
      ErrLogMessage(7313, LOG_OPEN_FAILED, TextRef(name));
    }
    engine->error_code = e4open;
    return e4open;
  }
  if (!keep_name(file, name, copy_name)) return e4memory;
  file->read_only = read_only;
  file->exclusive = engine->exclusive != 0;
  file->is_open = 1;
  uint64_t length = 0;
  if (PlatFileLength(file->handle, &length) == PLAT_OK) file->length_known = (long)length;
  return 0;
}

PlatResult file4open_side(const char* name, PlatFile* out) {
  return PlatFileOpen(disk_path(name).c_str(), PLAT_READ_WRITE, PLAT_OPEN_ALWAYS, out);
}

int file4create(DbFile* file, DbEngine* engine, const char* name, int copy_name) {
  if (file == nullptr || engine == nullptr || name == nullptr) e4fatal_stop(e4parm, "file4create()");
  clear_file(file, engine);
  if (engine_blocked(engine)) return -1;
  if (engine->exclusive && !engine->create_safety) {
    // A file another workstation holds must not be emptied under it: taken
    // first, emptied only once it is ours.
    if (PlatFileOpen(disk_path(name).c_str(), PLAT_READ_WRITE, PLAT_OPEN_ALWAYS, &file->handle) != PLAT_OK)
      return report_create_failure(file, engine, name);
    file->is_open = 1;
    if (!hold_exclusive(file)) return report_create_failure(file, engine, name);
    if (PlatFileSetLength(file->handle, 0) != PLAT_OK) {
      PlatFileClose(file->handle);
      file->is_open = 0;
      return report_create_failure(file, engine, name);
    }
  } else if (create_system_file(file, engine, name) != PLAT_OK || (engine->exclusive && !hold_exclusive(file))) {
    return report_create_failure(file, engine, name);
  }
  if (!keep_name(file, name, copy_name)) return e4memory;
  file->exclusive = engine->exclusive != 0;
  return 0;
}

int file4temp(DbFile* file, DbEngine* engine, const char* near, char* name_out, int delete_on_close) {
  if (file == nullptr || engine == nullptr) e4fatal_stop(e4parm, "file4temp()");
  clear_file(file, engine);
  if (engine_blocked(engine)) return -1;
  // A running block cache would keep a deleted-on-close temporary file in
  // memory until its first direct write; without it the file is made now.
  char directory[260] = "";
  if (near != nullptr) u4name_path(directory, sizeof directory, near);
  int saved_safety = engine->create_safety;
  engine->create_safety = 1;
  int result = -1;
  for (int attempt = 0; attempt < 100; attempt++) {
    PlatDateTime now;
    PlatNow(&now);
    int seconds = (now.hour * 3600 + now.minute * 60 + now.second) % 10000;
    char name[260];
    if (std::snprintf(name, sizeof name, "%.246sTEMP%04d.TMP", directory, seconds) >= (int)sizeof name) break;
    PlatResult created = create_system_file(file, engine, name);
    if (created == PLAT_OK) {
      file->delete_on_close = 1;    // a file we cannot keep track of is not left behind
      if (!keep_name(file, name, 1)) {
        result = e4memory;
        break;
      }
      file->exclusive = 1;
      file->delete_on_close = delete_on_close != 0;
      if (name_out != nullptr) std::memcpy(name_out, name, sizeof name);
      result = 0;
      break;
    }
    file->handle = PLAT_NO_FILE;
    if (created != PLAT_EXISTS) break;
    // Only a name in use is worth waiting for: the time gives the next name.
    ScreenWaitMs(1000);
  }
  engine->create_safety = saved_safety;
  if (result == -1) result = e4show_error(engine, e4create, TextRef(MSG_TEMP_FILE));
  return result;
}

int file4close(DbFile* file) {
  if (file == nullptr) return 0;
  DbEngine* engine = file->engine;
  // Pending blocks are written even when an error is pending: closing must not lose them.
  if (opt4file_leave(file) < 0 && engine->error_code >= 0) e4show_error(engine, -630);
  if (file->is_open && file->handle != PLAT_NO_FILE) {
    PlatFileClose(file->handle);
    if (file->delete_on_close && file->name != nullptr) PlatFileDelete(disk_path(file->name).c_str());
  }
  if (file->name_owned) u4free(file->name);
  clear_file(file, engine);
  return (engine != nullptr && engine->error_code < 0) ? -1 : 0;
}

unsigned file4read(DbFile* file, long pos, void* buffer, unsigned length) {
  if (file == nullptr || (buffer == nullptr && length > 0)) e4fatal_stop(e4parm, "file4read()");
  DbEngine* engine = file->engine;
  if (engine->error_code < 0) return 0;
  if (file->cached && pos >= 0) {
    long got = opt4file_read(file, pos, buffer, length);
    return got < 0 ? 0 : (unsigned)got;
  }
  size_t done = 0;
  file->disk_reads++;
  if ( PlatFileRead(file->handle, (uint64_t)pos, buffer, length, &done) != PLAT_OK) {
    e4show_file_error(engine, e4read, file->name);
    return 0;
  }
  return (unsigned)done;
}

int file4read_all(DbFile* file, long pos, void* buffer, unsigned length) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4read_all()");
  if (file->engine->error_code < 0) return -1;
  unsigned done = file4read(file, pos, buffer, length);
  if (file->engine->error_code < 0) return -1;
  if (done != length) return e4show_file_error(file->engine, e4read, file->name);
  return 0;
}

int file4write(DbFile* file, long pos, const void* data, unsigned length) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4write()");
  DbEngine* engine = file->engine;
  if (engine->error_code < 0) return -1;
  if (file->read_only) return e4show_error(engine, e4parm, "!319!");
  if (pos < 0 || (data == nullptr && length > 0)) e4fatal_stop(e4parm, "file4write()");
  raise_known_length(file, pos + (long)length);
  file->changes++;
  if (file->cached) {
    if (opt4file_write(file, pos, length, data, file->write_behind_active) < 0) return -1;
    if (file->write_behind_active && file->write_behind) return 0;
  }
  if (PlatFileWrite(file->handle, (uint64_t)pos, data, length) != PLAT_OK)
    return e4show_file_error(engine, e4write, file->name);
  if (engine->flush_after_write) return file4flush(file);
  return 0;
}

long file4len(DbFile* file) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4len()");
  if (file->engine->error_code < 0) return -1;
  if (file->cached && file->cached_length >= 0) return file->cached_length;
  uint64_t length = 0;
  if (PlatFileLength(file->handle, &length) != PLAT_OK) {
    e4show_file_error(file->engine, e4length, file->name);
    return -1;
  }
  return (long)length;
}

int file4len_set(DbFile* file, long length) {
  if (file == nullptr || length < 0) e4fatal_stop(e4parm, "file4len_set()");
  DbEngine* engine = file->engine;
  if (engine->error_code < 0 || (engine->error_code > 0 && engine->error_code < 200)) return -1;
  if (file->read_only) return e4show_error(engine, e4parm, "!315!");
  file->changes++;
  if (file->cached) {
    long old_length = file4len(file);
    if (old_length < 0) return -1;
    long cut = std::min(old_length, length);
    if (length > old_length) {
      // The block holding the old end would stop reads there: write it and let it go.
      if (opt4flush_lst(file, 0) < 0) return e4show_file_error(engine, e4write, file->name);
      cut -= cut % engine->cache.block_size;
    }
    opt4file_delete(file, cut);
  }
  if (PlatFileSetLength(file->handle, (uint64_t)length) != PLAT_OK)
    return e4show_file_error(engine, e4length_set, file->name);
  file->length_known = length;
  if (file->cached) file->cached_length = length;
  return 0;
}

int file4low_flush(DbFile* file, int release) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4low_flush()");
  DbEngine* engine = file->engine;
  if (engine->error_code < 0) return -1;
  if (!file->is_open || file->handle == PLAT_NO_FILE) return 0;
  bool failed = opt4flush_lst(file, release) < 0;
  if (failed || PlatFileFlush(file->handle) != PLAT_OK) {
    ErrLogMessage(5650, LOG_FLUSH_FAILED, TextRef(" %s%s"), file->name ? file->name : "",
                  file->read_only ? ", RONL" : "");
    engine->error_code = -630;
    return -630;
  }
  engine->syncs++;
  return 0;
}

int file4flush(DbFile* file) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4flush()");
  int saved = file->engine->error_code;
  if (saved < 0) return -1;
  int result = file4low_flush(file, 0);
  if (result == 0) file->engine->error_code = saved;
  return result;
}

int file4refresh(DbFile* file) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4refresh()");
  if (file->engine->error_code < 0) return -1;
  file->changes++;
  // Only a cached file holds blocks that could be stale.
  if (!file->cached || file->exclusive || file->read_only) return 0;
  int result = opt4flush_lst(file, 1);
  file->cached_length = -1;
  if (result < 0) return e4show_error(file->engine, -630);
  return 0;
}

int file4replace(DbFile* target, DbFile* source) {
  if (target == nullptr || source == nullptr) e4fatal_stop(e4parm, "file4replace()");
  DbEngine* engine = target->engine;
  if (engine->error_code < 0) return -1;
  if (target->read_only || source->read_only) return e4show_error(engine, e4parm, "!314!");
  target->changes++;
  // What was read of the file before is no guide to it after: the counters
  // of its changes and reads go on from where they were, never back.
  unsigned long changes = target->changes, reads = target->disk_reads + 1;
  if (target->exclusive) {
    // Nobody else has the file open: the source simply takes its name.
    // The source's pending blocks go to disk first; the target's are replaced.
    int target_list = target->cache_list;
    if (opt4flush_lst(source, 1) < 0) return e4show_error(engine, -630);
    opt4file_delete(target, 0);
    opt4file_leave(target);
    std::string target_name = target->name;
    int copy = 1;
    PlatFileClose(target->handle);
    target->handle = PLAT_NO_FILE;
    PlatFileClose(source->handle);
    source->handle = PLAT_NO_FILE;
    source->is_open = 0;
    PlatResult renamed = PlatFileRename(disk_path(source->name).c_str(), disk_path(target_name.c_str()).c_str());
    source->delete_on_close = 0;
    file4close(source);
    file4close(target);
    int saved_exclusive = engine->exclusive;
    engine->exclusive = 1;
    int result = file4open(target, engine, target_name.c_str(), copy);
    engine->exclusive = saved_exclusive;
    target->changes = changes;
    target->disk_reads = reads;
    if (renamed != PLAT_OK) return e4show_file_error(engine, e4rename, target_name.c_str());
    if (result == 0 && target_list != 0) result = file4optimize(target, 1, target_list);
    return result;
  }
  if (file4len_set(target, 0) < 0) return -1;
  unsigned chunk = (unsigned)std::max(engine->cache_buffer_size, 100);
  char* buffer = nullptr;
  while (buffer == nullptr) {
    buffer = (char*)u4alloc(chunk);
    if (buffer == nullptr) {
      if (chunk <= 100) return e4show_error(engine, e4memory);
      chunk = chunk > 2048 + 100 ? chunk - 2048 : 100;
    }
  }
  int cache_ran = engine->cache.started;
  d4opt_suspend(engine);
  long pos = 0;
  int result = 0;
  for (;;) {
    unsigned got = file4read(source, pos, buffer, chunk);
    if (engine->error_code < 0) {
      result = -1;
      break;
    }
    if (got == 0) break;
    if (file4write(target, pos, buffer, got) < 0) {
      result = -1;
      break;
    }
    pos += got;
  }
  u4free(buffer);
  if (file4close(source) < 0) result = -1;
  if (cache_ran) d4opt_start(engine);
  return result;
}

// ---- sequential reading

int file4seq_read_init(DbSeqReader* reader, DbFile* file, long pos, char* buffer, unsigned size) {
  if (reader == nullptr || file == nullptr || pos < 0) e4fatal_stop(e4parm, "file4seq_read_init()");
  std::memset(reader, 0, sizeof *reader);
  reader->file = file;
  reader->pos = pos;
  reader->size = size / SEQ_ALIGN * SEQ_ALIGN;
  reader->buffer = reader->size > 0 ? buffer : nullptr;
  if (reader->buffer != nullptr) {
    unsigned to_boundary = SEQ_ALIGN - (unsigned)(pos % SEQ_ALIGN);
    reader->next_read = reader->size - (SEQ_ALIGN - to_boundary);
  }
  // The reader reads the disk, so the cache must hold nothing newer.
  if (file->engine->error_code < 0) return -1;
  if (opt4flush_lst(file, 1) < 0) return e4show_error(file->engine, -630);
  return 0;
}

unsigned file4seq_read(DbSeqReader* reader, void* data, unsigned length) {
  if (reader == nullptr || (data == nullptr && length > 0)) e4fatal_stop(e4parm, "file4seq_read()");
  DbEngine* engine = reader->file->engine;
  if (engine->error_code < 0) return 0;
  if (reader->buffer == nullptr) {
    unsigned got = file4read(reader->file, reader->pos, data, length);
    reader->pos += got;
    return got;
  }
  unsigned delivered = 0;
  char* out = (char*)data;
  while (delivered < length) {
    if (reader->working == 0) {
      unsigned got = file4read(reader->file, reader->pos, reader->buffer, reader->next_read);
      if (engine->error_code < 0) return delivered;
      reader->pos += got;
      reader->avail = reader->working = got;
      reader->next_read = reader->size;
      if (got == 0) break;
    }
    unsigned take = std::min(length - delivered, reader->working);
    std::memcpy(out + delivered, reader->buffer + (reader->avail - reader->working), take);
    reader->working -= take;
    delivered += take;
  }
  return delivered;
}

int file4seq_read_all(DbSeqReader* reader, void* data, unsigned length) {
  if (reader == nullptr) e4fatal_stop(e4parm, "file4seq_read_all()");
  unsigned got = file4seq_read(reader, data, length);
  if (reader->file->engine->error_code < 0) return -1;
  if (got != length) return e4show_file_error(reader->file->engine, e4read, reader->file->name);
  return 0;
}

// ---- sequential writing

int file4seq_write_init(DbSeqWriter* writer, DbFile* file, long pos, char* buffer, unsigned size) {
  if (writer == nullptr || file == nullptr || pos < 0) e4fatal_stop(e4parm, "file4seq_write_init()");
  std::memset(writer, 0, sizeof *writer);
  writer->file = file;
  writer->pos = pos;
  writer->size = size / SEQ_ALIGN * SEQ_ALIGN;
  writer->buffer = writer->size > 0 ? buffer : nullptr;
  if (writer->buffer != nullptr) {
    writer->usable = writer->size - (unsigned)(pos % SEQ_ALIGN);
    writer->avail = writer->usable;
  }
  return file->engine->error_code < 0 ? -1 : 0;
}

int file4seq_write_flush(DbSeqWriter* writer) {
  if (writer == nullptr) e4fatal_stop(e4parm, "file4seq_write_flush()");
  if (writer->buffer == nullptr) return writer->file->engine->error_code < 0 ? -1 : 0;
  unsigned filled = writer->usable - writer->avail;
  if (filled > 0 && file4write(writer->file, writer->pos, writer->buffer, filled) < 0) return -1;
  writer->pos += filled;
  writer->usable = writer->avail = writer->size;
  return 0;
}

int file4seq_write(DbSeqWriter* writer, const void* data, unsigned length) {
  if (writer == nullptr || (data == nullptr && length > 0)) e4fatal_stop(e4parm, "file4seq_write()");
  if (writer->file->engine->error_code < 0) return -1;
  if (writer->buffer == nullptr) {
    if (file4write(writer->file, writer->pos, data, length) < 0) return -1;
    writer->pos += length;
    return 0;
  }
  const char* in = (const char*)data;
  while (length > 0) {
    unsigned take = std::min(length, writer->avail);
    std::memcpy(writer->buffer + (writer->usable - writer->avail), in, take);
    writer->avail -= take;
    in += take;
    length -= take;
    if (writer->avail == 0 && file4seq_write_flush(writer) < 0) return -1;
  }
  return 0;
}

int file4seq_write_repeat(DbSeqWriter* writer, long count, char byte) {
  if (writer == nullptr || count < 0) e4fatal_stop(e4parm, "file4seq_write_repeat()");
  char piece[512];
  std::memset(piece, byte, sizeof piece);
  while (count > 0) {
    unsigned take = (unsigned)std::min<long>(count, (long)sizeof piece);
    if (file4seq_write(writer, piece, take) < 0) return -1;
    count -= take;
  }
  return 0;
}

// ---- byte-range locks

int file4lock(DbFile* file, unsigned long offset, unsigned long length) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4lock()");
  if (file->exclusive || file->read_only) return 0;
  DbEngine* engine = file->engine;
  if (engine->error_code < 0) return -1;
  int tries = engine->lock_tries == 0 ? 1 : engine->lock_tries;
  for (;;) {
    PlatResult result = PlatFileLock(file->handle, offset, length, true);
    if (result == PLAT_OK || result == PLAT_NO_LOCKS) {
      if (file->cached && file->write_behind) file->write_behind_active = 1;
      return 0;
    }
    if (result != PLAT_LOCKED) return e4show_file_error(engine, e4lock, file->name);
    if (tries == 1) return r4locked;
    if (tries > 1) tries--;
    ScreenWaitMs(1000);
  }
}

int file4lock_create(DbFile* file) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4lock_create()");
  if (file->exclusive) return 0;
  return file4lock(file, EXCLUSIVE_START, EXCLUSIVE_LENGTH);
}

int file4unlock(DbFile* file, unsigned long offset, unsigned long length) {
  if (file == nullptr) e4fatal_stop(e4parm, "file4unlock()");
  if (file->exclusive || file->read_only) return 0;
  // What was kept back under the lock reaches the disk before others may lock.
  if (file->write_behind_active) {
    file->write_behind_active = 0;
    if (opt4flush_lst(file, 0) < 0) return e4show_error(file->engine, -630);
  }
  PlatResult result = PlatFileUnlock(file->handle, offset, length);
  if (result != PLAT_OK && result != PLAT_NO_LOCKS) return e4show_file_error(file->engine, e4unlock, file->name);
  return 0;
}
