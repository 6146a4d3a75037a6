// The parameter store: every option set is a small table of numbered, typed
// parameters ("C" text, "D" double, "I" integer, "L" long). A parameter read
// before it exists is created with the caller's default. After the first
// failed read or write a context refuses every further one, so a loader
// shows at most one error box per option set.
#pragma once

struct DbTable;
struct DbIndex;
struct DbTag;
struct DbField;

// OpenParamTable places.
constexpr int PARAM_CURRENT_DIR = 0;
constexpr int PARAM_COMMON_DIR = 1;
constexpr int PARAM_PROGRAM_DIR = 2;

constexpr int PARAM_TEXT_MAX = 80;      // the width of CH

struct ParamTable {
  int error;                  // 0, or -1 after the first failure
  int k1, k2;                 // the set's keys, written by the caller before opening
  const char* section;        // the set's name, shown under the error messages
  DbTable* table;
  DbIndex* index;
  DbTag* tag;
  DbField* fieldK1;
  DbField* fieldK2;
  DbField* fieldK3;
  DbField* fieldTY;
  DbField* fieldDO;
  DbField* fieldLO;
  DbField* fieldIN;
  DbField* fieldCH;
};

// Starts a definition and describes the parameter table to it.
void DefineParamTable();
// Opens the table (open_dbf flags) in the place; 0, or the non-zero result
// of the directory change or of open_dbf. The caller closes it with d4close.
int OpenParamTable(ParamTable* ctx, const char* fileName, int flags, int place);
// 0 found, positive not found, negative error.
int SeekParam(ParamTable* ctx, int number, char type);
// 1 appended with the keys, 0 when the append failed.
int AppendParamRecord(ParamTable* ctx, int number, char type);
// `length` is that of a "C" value.
void GetParam(ParamTable* ctx, int number, char type, void* value, int length);
void SetParam(ParamTable* ctx, int number, char type, const void* value, int length);

void GetParamInt(ParamTable* ctx, int number, int* out, int byDefault);
void GetParamChar(ParamTable* ctx, int number, char* out, char byDefault);
// The default (a message's text, or empty for 0) blank-padded into size - 1
// bytes, then the stored text over it; the last byte is left alone.
void GetParamText(ParamTable* ctx, int number, char* buffer, int size, int defaultMessage);
void GetParamDouble(ParamTable* ctx, int number, double* out, double byDefault);
void SetParamStr(ParamTable* ctx, int number, const char* text);
void SetParamInt(ParamTable* ctx, int number, int value);
void SetParamDouble(ParamTable* ctx, int number, double value);

// "Z5PABV" with the characters of the -# option, ".DBF"; at most 13 characters.
const char* MainOptionsFileName();
