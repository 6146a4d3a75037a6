// Evaluation of compiled expressions and the conversion of a result into
// index-key bytes.
#include <cstring>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/expr.h"
#include "db/index_keys.h"
#include "env/dates.h"
#include "env/env_state.h"
#include "env/memory.h"
#include "env/numbers.h"

namespace {

// A day number 0 in a date key.
constexpr double DATE_KEY_ZERO = 1.0E300;

}  // namespace

bool expr4grow_buffer(DbEngine* engine, char** buffer, unsigned* length, unsigned n) {
  if (*length >= n) return true;
  free_mem(buffer);
  *length = 0;
  *buffer = static_cast<char*>(u4alloc_report(reinterpret_cast<Environment*>(engine), n));
  if (*buffer == nullptr) return false;
  *length = n;
  return true;
}

int expr4vary(DbExpr* expr, char** result) {
  if (expr == nullptr || result == nullptr) e4fatal_stop(e4parm, "expr4vary()");
  DbEngine* engine = expr->engine;
  if (engine->error_code < 0) return -1;
  if (!expr4grow_buffer(engine, &engine->expr_buffer, &engine->expr_buffer_len, (unsigned)expr->workSize)) return -1;
  DbExprRun run;
  run.work = engine->expr_buffer;
  run.constants = expr->constants;
  run.depth = 0;
  for (int i = 0; i < expr->stepCount; i++) {
    const DbExprStep* step = &expr->steps[i];
    step->routine(&run, step);
  }
  if (run.depth != 1) {
    e4show_error(engine, e4result, "expr4vary()");
    return -1;
  }
  if (engine->error_code < 0) return -1;    // RECCOUNT may have met a read error
  *result = run.values[0];
  return expr->resultLength;
}

double expr4double(DbExpr* expr) {
  if (expr == nullptr) e4fatal_stop(e4parm, "expr4double()");
  int type = expr->resultType;
  if (type != EXPR_CHAR && type != EXPR_NUM_TEXT && type != EXPR_DATE_TEXT && type != EXPR_DATE && type != EXPR_NUM)
    e4fatal_stop(e4info, "expr4double()");
  char* value;
  int length = expr4vary(expr, &value);
  if (length < 0) return 0;
  if (type == EXPR_DATE_TEXT) return date4long(value);
  if (type == EXPR_DATE || type == EXPR_NUM) return expr4get_double(value);
  return QuickDouble(value, length);
}

int expr4true(DbExpr* expr) {
  if (expr == nullptr) e4fatal_stop(e4parm, "expr4true()");
  if (expr->resultType != EXPR_LOGICAL) {
    e4show_error(expr->engine, e4result, "expr4true()", "!301!");
    return -1;
  }
  char* value;
  if (expr4vary(expr, &value) < 0) return -1;
  return expr4get_logical(value) != 0 ? 1 : 0;
}

int expr4key(DbExpr* expr, char** result) {
  if (expr == nullptr || result == nullptr) e4fatal_stop(e4parm, "expr4key()");
  char* value;
  int length = expr4vary(expr, &value);
  if (length < 0) return -1;
  DbEngine* engine = expr->engine;
  int key_len = expr4key_len(expr);
  if (!expr4grow_buffer(engine, &engine->expr_buffer2, &engine->expr_buffer2_len, (unsigned)key_len + 1)) return -1;
  char* key = engine->expr_buffer2;
  double day;
  switch (expr->resultType) {
    case EXPR_DATE_TEXT:
      c4dt_julian(value, &day);    // an empty date 1.0E100, a wrong one 0
      if (day == 0) day = DATE_KEY_ZERO;
      std::memcpy(key, &day, sizeof day);
      break;
    case EXPR_DATE:
      day = expr4get_double(value);
      if (day == 0) day = DATE_KEY_ZERO;
      std::memcpy(key, &day, sizeof day);
      break;
    case EXPR_NUM_TEXT:
      c4bcd_from_a(key, value, length);
      break;
    case EXPR_NUM:
      c4bcd_from_double(key, expr4get_double(value));
      break;
    default:
      std::memcpy(key, value, (size_t)key_len);
      if (expr->padTrimmed)
        for (int i = key_len; i > 0 && key[i - 1] == '\0'; i--) key[i - 1] = ' ';
      break;
  }
  key[key_len] = '\0';
  *result = key;
  return key_len;
}

int expr4key_len(DbExpr* expr) {
  if (expr == nullptr) e4fatal_stop(e4parm, "expr4key_len()");
  switch (expr->resultType) {
    case EXPR_DATE_TEXT:
    case EXPR_DATE: return DATE_KEY_LEN;
    case EXPR_NUM_TEXT:
    case EXPR_NUM: return BCD_KEY_LEN;
    default: return expr->resultLength;
  }
}

int expr4len(DbExpr* expr) {
  if (expr == nullptr) e4fatal_stop(e4parm, "expr4len()");
  return expr->resultLength;
}

int expr4type(DbExpr* expr) {
  if (expr == nullptr) e4fatal_stop(e4parm, "expr4type()");
  return expr->resultType;
}

const char* expr4source(DbExpr* expr) { return expr == nullptr ? "" : expr->source; }
