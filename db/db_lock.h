// Byte-range locks of tables and indexes, shared with other workstations.
#pragma once

struct DbEngine;
struct DbTable;
struct DbIndex;

// Offsets of the locking protocol (every workstation must use the same).
constexpr unsigned long DB_LOCK_BYTE = 0xEFFFFFFEul;        // held while record locks are taken
constexpr unsigned long DB_LOCK_APPEND = 0xEFFFFFFFul;
constexpr unsigned long DB_LOCK_FILE_START = 0x40000000ul;
constexpr unsigned long DB_LOCK_FILE_LENGTH = 0xB0000000ul;
constexpr unsigned long DB_LOCK_INDEX = 0xEFFFFFFEul;       // on the .MDX
inline unsigned long db_lock_record_offset(long n) { return DB_LOCK_BYTE - (unsigned long)n; }

int d4lock(DbTable* table, long n);
int d4lock_group(DbTable* table, const long* records, int count);
int d4lock_append(DbTable* table);
int d4lock_file(DbTable* table);
int d4lock_index(DbTable* table);
int d4lock_all(DbTable* table);
int i4lock(DbIndex* index);
int i4unlock(DbIndex* index);

int d4lock_test(DbTable* table, long n);
int d4lock_test_append(DbTable* table);
int d4lock_test_file(DbTable* table);
int d4lock_test_index(DbTable* table);
int i4lock_test(DbIndex* index);

int d4unlock(DbTable* table);
int d4unlock_data(DbTable* table);
int d4unlock_file(DbTable* table);
int d4unlock_append(DbTable* table);
int d4unlock_records(DbTable* table);
int d4unlock_index(DbTable* table);
int d4unlock_files(DbEngine* engine);

// what > 0: that record; 0: the append byte; < 0: the table with its indexes.
// Waits with the operator's notice; 0, 50 or an error.
int set_lock(DbTable* table, long what);
int write_and_unlock(DbTable* table);
int go_and_lock(DbTable* table, long n);
typedef int (*DbAppendStep)(int appended);
int lock_and_append(DbTable* table, DbAppendStep before, DbAppendStep after);
