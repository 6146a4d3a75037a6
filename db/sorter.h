// The external sorter of the rebuild: keys with their record numbers are
// sorted in memory while they fit (the pointer array holds sort_memory / 4
// items) and otherwise spilled as sorted runs to a temporary file, which
// the delivery merges. Equal keys come out in record-number order.
#pragma once
#include <vector>
#include "db/db_file.h"
#include "db/db_index.h"

struct DbEngine;
struct MemPool;

struct DbSortRun {
  long next_pos;             // file position of the run's next chunk; -1 when drained
  long left;                 // items of the run not yet read
  unsigned char* buffer;
  unsigned in_buffer, pos;   // items in the buffer, the next one
};

struct DbSorter {
  DbEngine* engine;
  unsigned key_len, info_len, item_len;
  DbKeyCompare compare;
  unsigned char** items;     // the in-memory items
  unsigned capacity, used;
  unsigned items_per_block;
  MemPool* pool;             // private pool of sort_memory blocks holding the items
  std::vector<unsigned char*> blocks;
  DbFile spill;
  DbSeqWriter writer;
  char* writer_buffer;
  std::vector<long> run_items;   // items of each spilled run
  std::vector<DbSortRun> runs;
  std::vector<int> heads;        // runs in the order of their current items
  unsigned char* merge_buffer;   // the run buffers and one delivered item
  unsigned per_run;              // items read at a time from each run
  unsigned next_item;            // delivery from memory when nothing was spilled
  int merging;
};

int sort4init(DbSorter* sorter, DbEngine* engine, unsigned key_len, unsigned info_len);
int sort4put(DbSorter* sorter, long record, const void* key, const void* info);
int sort4get_init(DbSorter* sorter);
// 0 and the item, 1 when all were delivered (the sorter is freed then), or an error.
int sort4get(DbSorter* sorter, long* record, unsigned char** key, unsigned char** info);
// Frees everything and deletes the spill file.
void sort4free(DbSorter* sorter);
