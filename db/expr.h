// dBASE expressions of tag keys and filters: compiled once into a postfix
// program of steps whose operand and result places are fixed, then evaluated
// against the current record without parsing or allocation.
#pragma once
#include <cstdint>
#include <cstring>

struct DbEngine;
struct DbTable;
struct DbField;
struct DbExprStep;
struct DbExprRun;

// Value types.
constexpr int EXPR_CHAR = 'C';
constexpr int EXPR_LOGICAL = 'L';
constexpr int EXPR_DATE_TEXT = 'D';      // "CCYYMMDD"
constexpr int EXPR_NUM_TEXT = 'N';       // a numeric field's text
constexpr int EXPR_DATE = 'd';           // day number in a double
constexpr int EXPR_NUM = 'n';            // double

// Limits.
constexpr int EXPR_CONSTANTS_MAX = 512;
constexpr int EXPR_OPERATOR_STACK = 32;
constexpr int EXPR_TYPE_STACK = 19;      // values that may wait at once
constexpr int EXPR_NAME_MAX = 10;
constexpr int EXPR_ANY_COUNT = 255;      // operand count of .AND. and .OR.

// Errors of the compiler (texts in db/db_errors.cpp).
enum {
  e4complete = -410,
  e4data_name = -420,
  e4iif_length = -422,
  e4not_constant = -425,
  e4num_parms = -430,
  e4overflow = -440,
  e4right_missing = -450,
  e4type_sub = -460,
  e4unrec_function = -470,
  e4unrec_operator = -480,
  e4unrec_value = -490,
  e4unterminated = -500,
};

typedef void (*DbExprRoutine)(DbExprRun* run, const DbExprStep* step);

struct DbExprStep {
  DbField* field;        // field pushes
  void* source;          // field pushes: the table's record pointer (char**); RECNO, RECCOUNT, DEL, DELETED: the table
  int32_t length;        // of the result
  int32_t span;          // steps of the sub-expression ending here: 1 + the operands' spans
  int32_t operands;
  int32_t resultOffset;  // in the work buffer
  int32_t extra;         // constants offset, SUBSTR start, STR decimals, field offset, shorter text length
  int32_t code;          // row of kExprFunctions
  DbExprRoutine routine;
};

// One allocated block: this header, the steps, the constants used, the source text.
struct DbExpr {
  DbExprStep* steps;
  int32_t stepCount;
  char* source;
  char* constants;
  int32_t resultLength;
  int32_t resultType;
  DbTable* table;
  DbEngine* engine;
  int32_t workSize;
  unsigned char padTrimmed;   // TRIM or LTRIM used: NUL padding of a text key becomes blanks
};

// The evaluation machinery: the work buffer, the constants and the stack of value pointers.
struct DbExprRun {
  char* work;
  const char* constants;
  char* values[EXPR_TYPE_STACK + 1];
  int depth;
};

// Values in the work buffer lie unaligned: numbers and dates as doubles, logicals as int32.
inline double expr4get_double(const char* p) {
  double v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline int expr4get_logical(const char* p) {
  int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

struct DbExprFunction {
  DbExprRoutine routine;
  const char* name;          // NULL: a variant of the named row above
  int code;
  int nameLength;
  int priority;
  int resultType;
  int operandCount;          // EXPR_ANY_COUNT: two or more
  char operandTypes[3];      // for EXPR_ANY_COUNT the type of every operand
};

// Rows of the function table that the compiler names.
enum {
  EXPR_ROW_CHAR_FIELD = 0,
  EXPR_ROW_CHAR_FIELD_COPY = 1,
  EXPR_ROW_LOGICAL_FIELD = 2,
  EXPR_ROW_DATE_FIELD_DAYS = 3,
  EXPR_ROW_DATE_FIELD = 4,
  EXPR_ROW_NUM_FIELD_DOUBLE = 5,
  EXPR_ROW_NUM_FIELD = 6,
  EXPR_ROW_NUM_CONSTANT = 8,
  EXPR_ROW_TEXT_CONSTANT = 9,
  EXPR_ROW_FIRST_CONSTANT = 10,
  EXPR_ROW_NOT = 14,
  EXPR_ROW_FIRST_OPERATOR = 15,
  EXPR_ROW_OR = 15,
  EXPR_ROW_AND = 16,
  EXPR_ROW_ADD_TEXT = 17,
  EXPR_ROW_ADD_TRIMMED = 18,
  EXPR_ROW_LAST_OPERATOR = 51,
  EXPR_ROW_FIRST_FUNCTION = 52,
  EXPR_ROW_LAST = 83,
};

// Codes of the rows (variants of one function share a code).
enum {
  EXPR_CODE_NOT = 18,
  EXPR_CODE_OR = 20,
  EXPR_CODE_AND = 22,
  EXPR_CODE_ADD = 25,
  EXPR_CODE_SUB = 30,
  EXPR_CODE_EQ = 40,
  EXPR_CODE_NE = 50,
  EXPR_CODE_GE = 60,
  EXPR_CODE_LE = 70,
  EXPR_CODE_GT = 80,
  EXPR_CODE_LT = 90,
  EXPR_CODE_DEL = 130,
  EXPR_CODE_STR = 140,
  EXPR_CODE_SUBSTR = 150,
  EXPR_CODE_TIME = 160,
  EXPR_CODE_UPPER = 170,
  EXPR_CODE_DTOS = 180,
  EXPR_CODE_DTOC = 200,
  EXPR_CODE_TRIM = 220,
  EXPR_CODE_LTRIM = 230,
  EXPR_CODE_LEFT = 240,
  EXPR_CODE_IIF = 250,
  EXPR_CODE_CTOD = 270,
  EXPR_CODE_END = -1,
};

extern const DbExprFunction kExprFunctions[];

// The date picture of DTOC and CTOD: nothing in the system ever sets one, so
// it stays empty (DTOC gives an empty text, CTOD an empty date).
extern const char kExprDatePicture[];

// The row of kExprFunctions from `first` to `last` whose name begins the
// text (at most 8 characters compared, upper-cased); with a length >= 0 the
// name must also be that long. -1 when none.
int e4lookup(const char* text, int length, int first, int last);

// A new expression (freed with u4free) or NULL with the engine's error set.
DbExpr* expr4parse(DbTable* table, const char* text);
// Evaluates; *result points into the engine's work buffer (valid until the
// next evaluation). The result length, or -1 while the engine holds an error.
int expr4vary(DbExpr* expr, char** result);
double expr4double(DbExpr* expr);
// 1 or 0; -1 on an engine error.
int expr4true(DbExpr* expr);
// The index key of the current record in the engine's key buffer; its length or -1.
int expr4key(DbExpr* expr, char** result);
int expr4key_len(DbExpr* expr);
int expr4len(DbExpr* expr);
int expr4type(DbExpr* expr);
const char* expr4source(DbExpr* expr);
// Grows one of the engine's expression buffers to at least n bytes; false
// when memory ran out (reported as -920).
bool expr4grow_buffer(DbEngine* engine, char** buffer, unsigned* length, unsigned n);
