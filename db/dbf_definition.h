// Table definitions: every table opener fills one definition (fields, tags)
// in the environment's definition arena, lets open_dbf create, convert,
// index and open the table to match it, binds its field and tag handles in
// definition order and releases the definition.
#pragma once
#include "db/dbf_table.h"

struct DbIndex;
struct DbTag;

// Capacities of the one definition. The fields are fewer when the arena
// cannot hold 241 entries of this build's size; a refused field is logged
// and the field list is then withheld from open_dbf.
constexpr int DBF_DEF_MAX_FIELDS = 241;
constexpr int DBF_DEF_MAX_TAGS = 10;
constexpr int DBF_DEF_PACKED_NAME = 5;      // four characters and a zero byte

// Field spec: bits 0-3 the type code, 4-7 the decimals, 8 and up the width.
constexpr int DBF_SPEC_N = 1;
constexpr int DBF_SPEC_C = 2;
constexpr int DBF_SPEC_D = 3;
constexpr int DBF_SPEC_TEXT = 4;            // C 2100 whatever the other bits say
constexpr int DBF_SPEC_TEXT_WIDTH = 2100;

// open_dbf flags.
constexpr int OPEN_DBF_REINDEX = 1;         // build a new index even when one exists
constexpr int OPEN_DBF_MUST_EXIST = 2;      // a missing table answers 1
constexpr int OPEN_DBF_KEEP_EXT = 4;        // keep the name's own extension
constexpr int OPEN_DBF_RECREATE = 8;        // create the table anew (its records are lost)

// Log codes of the definition interface.
constexpr int LOG_DEF_NO_SLOT = 1;
constexpr int LOG_DEF_BAD_RELEASE = 2;
constexpr int LOG_DEF_FIELDS_FULL = 5;
constexpr int LOG_DEF_NO_FIELDS = 6;
constexpr int LOG_DEF_TAGS_FULL = 7;
constexpr int LOG_DEF_NO_TAGS = 8;
constexpr int LOG_CONVERSION = 12;
constexpr int LOG_INDEX_REBUILT = 150;
constexpr int LOG_INDEX_STILL_DIFFERS = 1086;

// Blocks of the definition arena: the first gap large enough, zero-filled;
// NULL when none fits (and log code 1 when all three slots are taken).
void* DbfArenaTake(int size);
// Log code 2 when the block was not taken from the arena.
void DbfArenaGive(void* block);

// Takes the three parts of a definition; returns the (empty) tag list, or
// NULL when the arena cannot hold them (a definition already exists).
DbfTagDef* AllocDbfDefinition();
void ReleaseDbfDefinition();
// The name must live until the definition is released.
void DefineField_(const char* name, int fieldSpec);
// Up to four characters, the first in the most significant byte.
void DefineField(int packedName, int fieldSpec);
// Tags are named by position: "1" to "9", then "A". NULL filter: ".NOT.DELETED()".
void DefineTag_(const char* key, const char* filter, int descending);
void DefineTag(const char* key);
const DbfFieldDef* GetFieldsInfo();
const DbfTagDef* GetTagsInfo();
int CountFieldDefs(const DbfFieldDef* fields);
const DbfFieldDef* FindFieldDef(const DbfFieldDef* fields, const char* name);

// 0 opened; 1 missing with OPEN_DBF_MUST_EXIST; -1 failed (error_code tells
// why, the table variable is NULL).
int open_dbf(const char* name, DbTable** table, const DbfFieldDef* fields, DbIndex** index, const DbfTagDef* tags,
             int flags);

// Clears the engine's error code and binds the table and index whose
// handles the next ActivateField and ActivateTag return.
void ResetDbfActivation(DbTable* table, DbIndex* index);
DbField* ActivateField();
DbTag* ActivateTag();

// 0 when the table matches the definition; 1 at the first difference (logged).
int CompareDbfStructure(DbTable* table, const DbfFieldDef* fields);

typedef void (*DbfConvertStep)(DbTable* oldTable, DbTable* newTable);
// Rebuilds the table in the new structure beside it and puts the old file
// under the extension "BAK". 0 done (the table is closed); -1 not done (the
// table stays open and unchanged); -2 the table is closed and the files
// could not be swapped (the original is still under its own name).
int ConvertDbfStructure(const char* fileName, const DbfFieldDef* fields, DbTable* table, DbfConvertStep step);

// The last two digits of a four-digit year at characters 7 and 8 (in place).
char* SetDbfYear(char* name, int year);
