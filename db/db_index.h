// Index handles of a table (.MDX with its tags), the B-tree walk of a tag,
// and the steps by which the table layer keeps the tags in step with its
// records. Key formats are in db/index_keys.h, the rebuild in db/reindex.h.
#pragma once
#include "db/db_file.h"
#include "env/lists.h"

struct DbEngine;
struct DbTable;
struct DbExpr;
struct MemPool;
struct DbfTagDef;

constexpr int DB_KEY_MAX = 102;
constexpr int MDX_MAX_TAGS = 47;

struct DbIndex {
  DbLink link;                 // place in the table's index list
  DbFile file;                 // the .MDX (cache list 2)
  DbTable* table;
  DbEngine* engine;
  DbList tags;                 // DbTag in tag-table order; selected is the table's tag when here
  unsigned char header[48];
  MemPool* block_pool;         // block buffers
  int locked;
  int header_changed;
  int free_list_checked;       // the free list was walked since the header was last read
  unsigned long view;          // the cache's view when a shared index was last read again
  unsigned char kept;          // unlocked after writing all out: what is cached may be kept at the next lock
  unsigned long kept_reads;    // the file's disk reads at that unlock
};

struct DbTag;
struct DbBlock;
typedef int (*DbKeyCompare)(const void* a, const void* b, unsigned length);
// Both write the key into `key` (at least DB_KEY_MAX + 1 bytes) and return its length.
typedef int (*DbTextToKey)(DbTag* tag, char* key, const char* text, int length);
typedef int (*DbDoubleToKey)(DbTag* tag, char* key, double value);

struct DbTag {
  DbLink link;                 // place in the index's tag list
  DbExpr* expr;
  DbExpr* filter;              // NULL when none
  int unique_code;             // 0, 20, 25 or -340
  DbIndex* index;
  DbEngine* engine;
  DbKeyCompare compare;
  DbTextToKey text_to_key;
  DbDoubleToKey double_to_key;
  char name[11];
  unsigned char has_keys;      // tag header offset 246
  DbList blocks;               // DbBlock from the root to the current block
  unsigned char header[24];    // the root block number in it is -1 while unread
  long header_pos;
  int root_changed;
  DbList spare_blocks;         // least recently used first
  DbBlock** held;              // spare blocks by block number while the index is held; NULL before
  unsigned char has_keys_disk;
  int header_changed;
};

// One block of a tag in memory; `data` holds the block's bytes.
struct DbBlock {
  DbLink link;                 // in the tag's block stack or spare list
  DbTag* tag;
  long file_block;             // in 512-byte units; -1 none
  int changed;
  int key_on;                  // current position
  unsigned char* data;
  DbBlock* held_next;          // in the tag's table of held spares
  unsigned char is_held;
};

// ---- the index file

DbIndex* i4create(DbTable* table, const char* name, const DbfTagDef* tags);
// Opens an index; NULL on failure, or I4OPEN_DIFFERS when definitions were
// given and the file's tags differ from them (the file is closed again).
DbIndex* i4open(DbTable* table, const char* name, const DbfTagDef* tags);
#define I4OPEN_DIFFERS ((DbIndex*)1)
int i4release(DbIndex* index);
DbTag* i4tag(DbIndex* index, const char* name);
DbTag* d4tag(DbTable* table, const char* name);
// The selected tag, else the first tag of the first index, else NULL.
DbTag* d4tag_default(DbTable* table);
DbTag* d4tag_next(DbTable* table, DbTag* tag);
DbTag* d4tag_prev(DbTable* table, DbTag* tag);
void d4tag_select(DbTable* table, DbTag* tag);
DbTag* d4tag_selected(DbTable* table);
DbIndex* d4index(DbTable* table, const char* name);
// A new block: the head of the free list, else the end of the file; -1 on a damaged list.
long i4extend(DbIndex* index);
int i4shrink(DbIndex* index, long block);
int i4update_header(DbIndex* index);
// Writes the changed index header, tag headers and blocks (while locked).
int i4update(DbIndex* index);
int i4flush(DbIndex* index);
// Re-reads the header and the tags' change counters of a shared index and
// drops the tags' blocks; with `reseek` the selected tag keeps its position.
int i4version_check(DbIndex* index, int reseek = 1);
// Reads the header from the disk: 1 when it is the one held (its change
// counter included), 0 when it differs, -1 on an error.
int i4header_unchanged(DbIndex* index);
int t4init(DbTag* tag, DbIndex* index, const unsigned char* entry);
// Reports a damaged index (-310 with the file name); returns -310.
int i4damaged(DbIndex* index);

// Tag header fields.
unsigned t4key_len(const DbTag* tag);
unsigned t4group_len(const DbTag* tag);
unsigned t4keys_per_block(const DbTag* tag);
int t4unique(const DbTag* tag);
int t4descending(const DbTag* tag);
int t4type(const DbTag* tag);
void t4changed(DbTag* tag);       // marks index and tag header changed, raises the counter

// ---- blocks of a tag

int b4leaf(const DbBlock* block);
int b4lastpos(const DbBlock* block);
int b4key_count(const DbBlock* block);
unsigned char* b4key(const DbBlock* block, int i);       // the entry
unsigned char* b4key_data(const DbBlock* block, int i);  // its key bytes
long b4recno(const DbBlock* block, int i);               // its number
int b4seek(DbBlock* block, const char* key, unsigned length);
int b4skip(DbBlock* block, long n);
void b4insert(DbBlock* block, const void* key, long number);
void b4remove(DbBlock* block);
int b4flush(DbBlock* block);
void b4go_eof(DbBlock* block);

// ---- tag positioning

int t4top(DbTag* tag);
int t4bottom(DbTag* tag);
int t4eof(DbTag* tag);
long t4recno(DbTag* tag);
unsigned char* t4key(DbTag* tag);
int t4seek(DbTag* tag, const void* key, int length);
long t4skip(DbTag* tag, long n);
int t4go(DbTag* tag, const void* key, long record);
int t4go_past_end(DbTag* tag);
// The tag's key of the table's current record: its length, the bytes in *key.
int t4expr_key(DbTag* tag, char** key);
// 1 when the tag has no filter or the current record passes it; -1 on error.
int t4filter_true(DbTag* tag);
int t4add(DbTag* tag, const void* key, long record);
int t4add_calc(DbTag* tag, long record);
int t4remove(DbTag* tag, const void* key, long record);
int t4remove_calc(DbTag* tag, long record);
int t4update(DbTag* tag);
int t4free_all(DbTag* tag);
// Writes the tag's changed blocks and lets go of those off its stack.
int t4release_spares(DbTag* tag);
DbBlock* t4block(DbTag* tag);

// ---- steps the table layer calls; each does nothing for a table without indexes

// Keys of record n (already locked): old keys out, new keys in, rolled back
// on a refused unique key (20 or -340 returned, every tag as it was).
int db_index_write_keys(DbTable* table, long n);
// Before record n (count + 1) is appended: bytes of a record found there
// were left by an appender that died before writing the count; the keys
// they give are taken out of every tag, so that none survives the reuse.
int db_index_remove_stale(DbTable* table, long n);
// Keys of the new record (rec_num already count + 1, indexes locked);
// removed again from every tag on failure.
int db_index_append_keys(DbTable* table);
// Writes every tag's changed blocks and header.
int db_index_update(DbTable* table);
// i4flush of every index; 0 or -1.
int db_index_flush(DbTable* table);
// Rebuilds every index of the table (after a pack).
int db_index_reindex(DbTable* table);
// Releases every index of a closing table.
int db_index_release_all(DbTable* table);
// Closes every index file of the table without writing anything.
void db_index_abandon_all(DbTable* table);
// The table's moves in the order of a tag, the pending record written first:
// first (forward) or last record; n records; a key (text or double). Each
// checks the record behind a key, since a shared index may lag behind it.
int db_index_top(DbTable* table, DbTag* tag, int forward);
int db_index_skip(DbTable* table, DbTag* tag, long n);
int db_index_seek(DbTable* table, DbTag* tag, const char* key, int length);
int db_index_seek_double(DbTable* table, DbTag* tag, double value);
