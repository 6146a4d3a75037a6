// Engine files: the one way the engine reaches table, index and spill files,
// with buffered sequential reading and writing and temporary files.
#pragma once
#include "env/lists.h"
#include "platform/files.h"

struct DbEngine;

struct DbFile {
  DbLink cache_link;             // place in the cache's list of cached files
  int hash_start;                // -1 until the cache assigns one
  long cached_length;            // -1 when it must be asked of the system
  long length_known;             // at least this long: the size at open raised by our own writes
  unsigned char cache_list;      // 1 data, 2 index, 3 other; 0 not cached
  unsigned char write_behind_active;
  int cached;
  char* name;                    // as opened
  DbEngine* engine;
  PlatFile handle;               // PLAT_NO_FILE when closed
  unsigned char delete_on_close;
  unsigned char exclusive;
  unsigned char read_only;
  unsigned char name_owned;
  unsigned char write_behind;    // the file's write-behind setting
  unsigned char is_open;         // a system file exists behind the handle
  unsigned long changes;         // raised by every write, cut and refresh: a scan buffer filled before is stale
  unsigned long disk_reads;      // reads of the file asked of the system
};

struct DbSeqReader {
  DbFile* file;
  long pos;                // next file position
  char* buffer;
  unsigned next_read;      // bytes to read next
  unsigned size;
  unsigned avail;          // bytes in the buffer
  unsigned working;        // bytes of them not yet handed out
};

struct DbSeqWriter {
  DbFile* file;
  long pos;                // file position of the buffer's first byte
  char* buffer;
  unsigned size;
  unsigned usable;         // bytes usable in the current buffer
  unsigned avail;          // free bytes in it
};

int file4open(DbFile* file, DbEngine* engine, const char* name, int copy_name);
// A small side file beside the engine's files (an engine name), opened or
// created for reading and writing, outside the cache and without reports.
PlatResult file4open_side(const char* name, PlatFile* out);
int file4create(DbFile* file, DbEngine* engine, const char* name, int copy_name);
// A new temporary file "TEMPnnnn.TMP" in the directory of `near` (the current
// directory when NULL); its name goes to `name_out` (at least 260 bytes) when given.
int file4temp(DbFile* file, DbEngine* engine, const char* near, char* name_out, int delete_on_close);
int file4close(DbFile* file);
// Bytes read (short at the end of the file); 0 and error -70 when unreachable.
unsigned file4read(DbFile* file, long pos, void* buffer, unsigned length);
int file4read_all(DbFile* file, long pos, void* buffer, unsigned length);
int file4write(DbFile* file, long pos, const void* data, unsigned length);
long file4len(DbFile* file);
int file4len_set(DbFile* file, long length);
int file4flush(DbFile* file);
int file4low_flush(DbFile* file, int release);
int file4refresh(DbFile* file);
int file4replace(DbFile* target, DbFile* source);

int file4seq_read_init(DbSeqReader* reader, DbFile* file, long pos, char* buffer, unsigned size);
unsigned file4seq_read(DbSeqReader* reader, void* data, unsigned length);
int file4seq_read_all(DbSeqReader* reader, void* data, unsigned length);

int file4seq_write_init(DbSeqWriter* writer, DbFile* file, long pos, char* buffer, unsigned size);
int file4seq_write(DbSeqWriter* writer, const void* data, unsigned length);
int file4seq_write_flush(DbSeqWriter* writer);
int file4seq_write_repeat(DbSeqWriter* writer, long count, char byte);

// Byte-range locks; see db_lock.h for the offsets.
int file4lock(DbFile* file, unsigned long offset, unsigned long length);
int file4unlock(DbFile* file, unsigned long offset, unsigned long length);
// The create lock: the whole range of the locking protocol, held by a file
// being created (or made again) until it is closed, so that no other
// workstation takes a file whose header is still being written for one cut
// short. Waits as file4lock does; 0, r4locked, or -1.
int file4lock_create(DbFile* file);
