// Moving between records, writing them back, appending, flushing and packing.
#pragma once

struct DbEngine;
struct DbTable;

int d4go(DbTable* table, long n);
int d4go_data(DbTable* table, long n);
int d4go_eof(DbTable* table);
int d4top(DbTable* table);
int d4bottom(DbTable* table);
int d4skip(DbTable* table, long n);
int d4seek(DbTable* table, const char* text);
int d4seek_n(DbTable* table, const char* key, int length);
int d4seek_double(DbTable* table, double value);

int d4write(DbTable* table, long n);
int d4write_keys(DbTable* table, long n);
int d4write_data(DbTable* table, long n);

int d4append_start(DbTable* table, int unused);
int d4append(DbTable* table);
int d4append_blank(DbTable* table);
int d4append_data(DbTable* table);

int d4changed(DbTable* table, int flag);
int d4update_record(DbTable* table, int release_locks);
int d4update(DbTable* table);
int d4flush_data(DbTable* table);
int d4flush(DbTable* table);
int d4flush_files(DbEngine* engine);

int d4pack(DbTable* table);
int d4pack_data(DbTable* table);
