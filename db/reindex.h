// Rebuilding indexes: every tag of an index built bottom-up from the sorted
// keys of all records, then the tag headers and the tag table rewritten.
#pragma once

struct DbIndex;
struct DbTable;

// Locks the table and its indexes and rebuilds every index; 0 or -1.
int d4reindex(DbTable* table);
// Rebuilds all tags of one index; 0, 20 (unique key refused) or an error.
int i4reindex(DbIndex* index);
// Drops the blocks of every tag of the table; -1 when any failed.
int d4free_blocks(DbTable* table);
