// dBASE III tables: the handle, opening with the record-count check,
// creating, closing, fields and the f4 family of field values.
#pragma once
#include <cstdint>
#include "db/db_file.h"
#include "env/lists.h"

struct DbEngine;
struct DbTable;

constexpr int DBF_VERSION = 0x03;
constexpr unsigned char DBF_END_OF_FIELDS = 0x0D;
constexpr unsigned char DBF_END_OF_FILE = 0x1A;
constexpr int DBF_HEADER_SIZE = 32;
constexpr int DBF_DESCRIPTOR_SIZE = 32;
constexpr int DBF_NAME_MAX = 10;

struct DbField {
  char name[11];
  unsigned width;
  int decimals;
  int type;          // the descriptor's letter, upper case
  int offset;        // in the record; the first field is at 1
  DbTable* table;
  void* memo;        // no memo fields in this system
};

struct DbTable {
  DbLink link;                       // place in the engine's open_tables
  // The first 12 bytes of the header.
  unsigned char version;
  unsigned char update_date[3];
  int record_count;                  // the cached count; -1 when not cached
  uint16_t header_length;
  uint16_t header_record_width;
  char* record;                      // deletion byte and fields, width + 1 bytes
  char* record_old;                  // the stored bytes of the record being changed
  unsigned record_width;
  int record_changed;
  int rec_num;                       // 0 during an append, -1 none
  int rec_num_old;                   // -1 none
  DbFile file;
  char alias[11];
  unsigned char old_valid;           // record_old holds the current record as read under its lock
  DbEngine* engine;
  unsigned char has_mdx;             // header offset 28
  DbField* fields;
  int field_count;
  int memo_field_count;
  // Record locks taken by this program, in order.
  int lock_one;                      // storage of a one-entry list
  int* locks;                        // &lock_one or a grown array
  int lock_capacity;
  int lock_count;
  int file_locked;
  int append_locked;
  int header_changed;
  DbList indexes;                    // DbIndex; selected is the index of the selected tag
  int bof, eof;
  DbFile memo_file;                  // never opened
  int last_count_read;
  short open_count;
  DbTable** owner;                   // cleared when the table is closed
  // Marks of changes under way (db/change_mark.h).
  PlatFile mark_file;                // PLAT_NO_FILE until needed, or when it cannot be had
  int mark_slot;                     // this handle's byte in it; -1 none
  unsigned char mark_standing;       // this handle's mark is set
  unsigned char mark_value;          // the mark's byte while it stands
  unsigned char mark_deferred;       // a set byte is on disk for index writes not yet synced
  unsigned char data_pending;        // keys are written, the record or count not yet
  unsigned char mark_unusable;       // the side file could not be opened: no marks
  // A record-order scan's own read buffer of whole records (db/block_cache.h).
  char* scan_buffer;                 // NULL until a forward skip needs it
  long scan_first, scan_count;       // the records it holds
  unsigned long scan_view, scan_changes;   // the cache's view and the file's changes when filled
  unsigned char scan_forward;        // a forward skip in record order is reading
};

// A field of a new table; a list ends with a NULL name.
struct DbfFieldDef {
  const char* name;
  int type;          // 'C', 'N', 'F', 'D', 'L'
  int length;
  int decimals;
};

// A tag of a new index; a list ends with a NULL name.
struct DbfTagDef {
  const char* name;
  const char* key;       // key expression
  const char* filter;    // filter expression
  int unique;            // 0, 20, 25 or -340
  int descending;        // 0 ascending, 10 descending
};

DbTable* d4open(DbEngine* engine, const char* name);
DbTable* d4create(DbEngine* engine, const char* name, const DbfFieldDef* fields, const DbfTagDef* tags);
// An existing table file without its header (a create cut short) is made
// again as an empty table of `fields` under the create lock; the operator
// and the error log are told. 1 made again, 0 nothing to do, -1 on an error.
int d4remake_headerless(DbEngine* engine, const char* name, const DbfFieldDef* fields);
int d4close(DbTable* table);
// Closes the table without writing anything pending (the fatal stop's way out).
void d4abandon(DbTable* table);
// The name of the table opened last, for messages about its records.
const char* d4last_table_name();

DbField* d4field(DbTable* table, const char* name);
int d4field_number(DbTable* table, const char* name);
DbField* d4field_j(DbTable* table, int j);
int d4num_fields(DbTable* table);
unsigned d4record_width(DbTable* table);
char* d4record(DbTable* table);
int d4recno(DbTable* table);
const char* d4alias(DbTable* table);
void d4alias_set(DbTable* table, char* alias);
long d4record_position(DbTable* table, long n);
long d4reccount(DbTable* table);
int d4bof(DbTable* table);
int d4eof(DbTable* table);
void d4blank(DbTable* table);
void d4delete(DbTable* table);
void d4recall(DbTable* table);
int d4deleted(DbTable* table);
// 0, or 5 when record n lies beyond the end of the file.
int d4read(DbTable* table, long n, char* buffer);
int d4read_old(DbTable* table, long n);
int d4update_header(DbTable* table, int write_date, int write_count);
DbField* EquField(DbTable* other, DbField* field);
// The open-time check of the stored record count; 0 accepted, -1 refused.
// `header` is the 32-byte header as read; the count in it is repaired on disk.
int d4check_reccount(unsigned char* header, DbFile* file);

char* f4ptr(DbField* field);
char* f4assign_ptr(DbField* field);
DbTable* f4data(DbField* field);
const char* f4name(DbField* field);
unsigned f4len(DbField* field);
int f4decimals(DbField* field);
int f4type(DbField* field);
void f4blank(DbField* field);
void f4assign(DbField* field, const char* text);
void f4assign_n(DbField* field, const char* bytes, unsigned n);
void f4assign_char(DbField* field, int c);
int f4char(DbField* field);
void f4assign_double(DbField* field, double value);
double f4double(DbField* field);
void f4assign_long(DbField* field, long value);
long f4long(DbField* field);
void f4assign_int(DbField* field, int value);
int f4int(DbField* field);
void f4assign_field(DbField* target, DbField* source);
