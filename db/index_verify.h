// Checking a table's indexes against its records: every tag holds exactly
// the keys of the records that pass its filter, in order, each key equal to
// the one its record gives, and every block of the tree where it belongs.
#pragma once

struct DbIndex;
struct DbTable;

// 0 when every tag of the index agrees with the records; 1 when one does
// not, with the first disagreement written into `report` (may be NULL);
// -1 on an error of reading or evaluating. Pending changes of a locked
// index are written first; the table's record buffer is kept.
int i4verify(DbIndex* index, char* report, int size);
// i4verify of every index of the table; the first disagreement found.
int d4verify(DbTable* table, char* report, int size);
