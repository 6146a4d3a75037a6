// The engine's block cache: fixed-size blocks of cached files found by a hash
// of file and position, reused from three LRU lists (data, index, other),
// with a read-ahead buffer for scans and a write-behind buffer that gathers
// consecutive changed blocks into one write.
#pragma once
#include "env/lists.h"

struct DbEngine;
struct DbFile;
struct DbTable;

struct DbCacheBlock {
  DbLink hash_link;        // first: the block is listed in its hash chain by its address
  DbLink list_link;        // in the free list or its file's LRU list
  unsigned char changed;
  unsigned length;         // bytes of the block that hold file data
  DbFile* file;
  long pos;                // file position of the block's first byte
  char* data;
  unsigned long view;      // the cache's view when the bytes were last read from the file
};

enum { DB_CACHE_DATA = 1, DB_CACHE_INDEX = 2, DB_CACHE_OTHER = 3 };
// The largest block the cache takes: that of the largest index block (63 units of 512).
constexpr int MAX_CACHE_BLOCK = 63 * 512;

// Caching of one file: on 1, off 0, -1 on when the file is exclusive or read-only.
int file4optimize(DbFile* file, int on, int list);
// Write-behind for one file: -1 on only for an exclusive file.
int file4optimize_write(DbFile* file, int on);
// The same for a table's data file and each of its index files.
int d4optimize(DbTable* table, int on);
int d4optimize_write(DbTable* table, int on);

// From now on what other workstations have written must be seen: a clean
// cached block of a shared file, and a shared index's tags, are read again at
// their next use (once each per view). The keyboard calls it at every key.
void opt4new_view(DbEngine* engine);

// Sizes and allocates the cache; 0 started (or running already), -1 not started.
int d4opt_start_alloc(DbEngine* engine);
// Allocates the arrays and up to `wanted` buffers; the buffers obtained, 0 when the arrays failed.
int opt4free_init(DbEngine* engine, int wanted);
void opt4free_alloc(DbEngine* engine);
// The hash size for a number of blocks: the smallest power of two not below it.
int opt4hash_size(int blocks);

// Reads and writes of a cached file; the read returns the bytes delivered
// (short at the end of the file), both -1 on a failure already shown.
long opt4file_read(DbFile* file, long pos, void* buffer, unsigned length);
int opt4file_write(DbFile* file, long pos, unsigned length, const void* data, int changed);
// Takes a file out of the cache, writing and releasing its blocks; -1 when a write failed.
int opt4file_leave(DbFile* file);
// Write every changed block (the write-behind buffer first); release them when asked.
int opt4flush_all(DbEngine* engine, int release);
// The same for one file's blocks.
int opt4flush_lst(DbFile* file, int release);
// Drops the file's blocks at and beyond `from` without writing them.
void opt4file_delete(DbFile* file, long from);
// A forward scan in record order reads a cached table through its own buffer
// of 64 KiB of whole records instead of block by block. The buffer is
// trusted only within the view it was filled in and while the file has not
// been written, cut or refreshed since (a lock taken refreshes it); a read
// through (a record locked here) never comes from it.
// Copies record n into the record buffer: 1 served, 0 not (read it the usual
// way), -1 on an error shown. With `fill` a buffer not holding n is filled from n.
int opt4scan_read(DbTable* table, long n, int fill);
// Stops the cache and writes every changed block; 0, or -1 after error -620.
int opt4suspend(DbEngine* engine);
// The fatal stop's step: drops every block unwritten and stops the cache.
void opt4abandon(DbEngine* engine);
