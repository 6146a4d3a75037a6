// The engine's process-wide settings record; it heads the Environment.
#pragma once
#include "env/lists.h"

struct MemPool;
struct DbFile;
struct DbCacheBlock;

constexpr int DB_SIGNATURE = 21121;
constexpr int DB_SAVED_KEY_MAX = 104;    // longest key (102 bytes) with room to spare

// State of the block cache; all zero while the cache is off.
struct DbCacheState {
  int buffers;                 // allocated buffers; 0 while off
  int block_size;
  int buffer_size;             // a whole number of blocks
  int next_hash_start;         // in blocks
  int total_blocks;
  DbList free_list, data_list, index_list, other_list;
  DbList* reuse_order[3];      // kept longest, second, asked first
  unsigned char reuse_counter;
  int blocks_per_buffer;
  char** buffer_array;
  DbCacheBlock* block_array;
  int block_shift, block_shift_rest;     // log2(block size), 32 - log2
  int hash_size;               // a power of two
  unsigned hash_mask;
  DbList* hash_table;
  DbList cached_files;         // every DbFile with caching on
  unsigned char read_ahead_mode;   // 0 none, 1 data files, 2 or 3 index files
  unsigned char read_through;
  char* read_ahead_buffer;
  long read_ahead_start;
  int read_ahead_valid;
  DbFile* read_ahead_file;     // whose run the read-ahead buffer holds
  char* write_buffer;
  long write_start, write_end;
  int write_block_count;
  DbFile* write_file;
  int started;
  int last_mix;                // operation mix at the last reuse-order adjustment
  unsigned long disk_reads;    // reads the cache asked of the system
  unsigned insertions;         // blocks read on a miss; every 32nd goes straight to the kept end
  unsigned long view;          // raised by opt4new_view; older clean blocks of shared files are read again
};

struct DbEngine {
  DbList open_tables;                // every open DbTable, in order of opening
  int default_unique_code;           // 25
  int block_size;                    // 1024
  int sort_memory;                   // 61440
  int sequential_buffer;             // 4096
  int cache_buffer_size;             // 16384
  int reserved_size1, reserved_size2;    // 512, 1024; not read
  int table_pool_start, table_pool_grow;     // 5, 5
  int index_pool_start, index_pool_grow;     // 5, 5
  int tag_pool_start, tag_pool_grow;         // 10, 10
  int block_pool_start, block_pool_grow;     // 10, 10
  int cache_memory;                  // 327680
  int auto_open_index;               // 1
  int report_create_errors;          // 1
  int exclusive;                     // 0
  int flush_after_write;             // 0
  int report_expression_errors;      // 1
  int report_field_errors;           // 1
  int report_read_errors;            // 1
  int report_open_errors;            // 1
  int cache_files;                   // -1
  int lock_on_read;                  // 0
  int read_only;                     // 0
  int reserved_switch1;              // 1; not read
  int create_safety;                 // 1
  int report_skip_errors;            // 1
  int report_tag_errors;             // 1
  int lock_tries;                    // -1 for ever; 0 counts as 1
  MemPool* index_pool;
  MemPool* table_pool;
  MemPool* tag_pool;
  MemPool* expr_pool;
  MemPool* fifth_pool;
  int error_code;                    // sticky while negative
  int signature;                     // DB_SIGNATURE
  char* expr_buffer;
  unsigned expr_buffer_len;
  char* expr_buffer2;
  unsigned expr_buffer2_len;
  int check_index_blocks;            // 1
  int cache_write_behind;            // -1
  DbCacheState cache;
  int reserved_switch2;              // 1; not read
  int operation_mix;                 // DB_MIX_* bits
  unsigned long blocks_walked;       // blocks the tag walks entered, read or kept (tests count them)
  unsigned long syncs;               // files synced to the disk (tests count them)
  int saved_key_len;
  unsigned char saved_key[DB_SAVED_KEY_MAX];
};

// Bits of operation_mix.
enum {
  DB_MIX_GO = 0x01,
  DB_MIX_SKIP = 0x02,
  DB_MIX_TAG_SKIP = 0x04,
  DB_MIX_TAG_SEEK = 0x08,
  DB_MIX_APPEND = 0x10,
  DB_MIX_KEY_UPDATE = 0x20,
  DB_MIX_REINDEX = 0x40,
  DB_MIX_STARTED = 0x80,
};

// Fills the record with its defaults; a NULL engine is a fatal stop.
void d4init(DbEngine* engine);
// Stops the cache, closes every table, releases the pools; returns error_code.
int d4init_undo(DbEngine* engine);
// Closes every open table; -1 when any close failed or error_code is negative.
int d4close_all(DbEngine* engine);
// Starts the block cache (when built) and drops stale tag blocks; 0 or -1.
int d4opt_start(DbEngine* engine);
void d4opt_suspend(DbEngine* engine);

struct DbTable;
// The open table with this alias (upper-cased, at most 10 characters), or NULL.
DbTable* d4data(DbEngine* engine, const char* alias);

// The fatal stop's step: closes every file of the engine without writing
// pending records, index blocks or cached blocks, so a broken rule never
// leaves half-changed data on disk.
void db_engine_abandon();
