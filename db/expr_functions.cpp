// The routines of the expression steps and the function table that names them.
// Every routine reads its operands before it writes its result: a result
// lies where its first operand lay in the work buffer.
#include <cmath>
#include <cstring>

#include "db/db_collation.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/dbf_table.h"
#include "db/expr.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/env_state.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "platform/screen_hook.h"

const char kExprDatePicture[] = "";

namespace {

constexpr int MSG_DELETION_MARK = 50018;
constexpr int MSG_CONTINUE = 50006;
constexpr int DATE_TEXT_LEN = 8;

void put_double(char* p, double v) { std::memcpy(p, &v, sizeof v); }
void put_logical(char* p, bool v) {
  int32_t x = v ? 1 : 0;
  std::memcpy(p, &x, sizeof x);
}

char* pop(DbExprRun* run) { return run->values[--run->depth]; }
char* out_of(DbExprRun* run, const DbExprStep* step) { return run->work + step->resultOffset; }
void push(DbExprRun* run, char* value) { run->values[run->depth++] = value; }
const char* record_of(const DbExprStep* step) { return *static_cast<char**>(step->source); }
DbTable* table_of(const DbExprStep* step) { return static_cast<DbTable*>(step->source); }

// The step of the left operand of a two-operand step (the right one is step - 1).
const DbExprStep* left_step(const DbExprStep* step) { return step - 1 - step[-1].span; }

// A day number as a date text; no date (below 1, or no number) is 8 blanks.
void day_text(double day, char* out) {
  if (day >= 1 && day < 2147483647.0)
    date4assign(out, static_cast<int32_t>(day));
  else
    std::memset(out, ' ', DATE_TEXT_LEN);
}

// ---- field pushes and constants

void field_in_place(DbExprRun* run, const DbExprStep* step) {
  push(run, const_cast<char*>(record_of(step)) + step->extra);
}
void field_copy(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  std::memcpy(out, record_of(step) + step->extra, (size_t)step->length);
  push(run, out);
}
void field_logical(DbExprRun* run, const DbExprStep* step) {
  char c = record_of(step)[step->extra];
  char* out = out_of(run, step);
  put_logical(out, c == 'T' || c == 'Y' || c == 't' || c == 'y');
  push(run, out);
}
void field_days(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_double(out, date4long(record_of(step) + step->extra));
  push(run, out);
}
void field_double(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_double(out, QuickDouble(record_of(step) + step->extra, (int)step->field->width));
  push(run, out);
}
void constant(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  std::memcpy(out, run->constants + step->extra, (size_t)step->length);
  push(run, out);
}
void true_constant(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_logical(out, true);
  push(run, out);
}
void false_constant(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_logical(out, false);
  push(run, out);
}

// ---- logic

void op_not(DbExprRun* run, const DbExprStep* step) {
  bool v = !expr4get_logical(pop(run));
  char* out = out_of(run, step);
  put_logical(out, v);
  push(run, out);
}
void op_or(DbExprRun* run, const DbExprStep* step) {
  bool v = false;
  for (int i = 0; i < step->operands; i++) v = expr4get_logical(pop(run)) || v;
  char* out = out_of(run, step);
  put_logical(out, v);
  push(run, out);
}
void op_and(DbExprRun* run, const DbExprStep* step) {
  bool v = true;
  for (int i = 0; i < step->operands; i++) v = expr4get_logical(pop(run)) && v;
  char* out = out_of(run, step);
  put_logical(out, v);
  push(run, out);
}

// ---- texts joined: both operands end up side by side at the result's place

char* join_in_place(DbExprRun* run, const DbExprStep* step, int* left_len) {
  char* right = pop(run);
  char* left = pop(run);
  char* out = out_of(run, step);
  int la = left_step(step)->length;
  int lb = step->length - la;
  if (left != out) std::memmove(out, left, (size_t)la);
  if (right != out + la) std::memmove(out + la, right, (size_t)lb);
  *left_len = la;
  push(run, out);
  return out;
}
void add_text(DbExprRun* run, const DbExprStep* step) {
  int la;
  join_in_place(run, step, &la);
}
// The NUL padding that TRIM left at the end of the left text goes behind the right one.
void add_trimmed(DbExprRun* run, const DbExprStep* step) {
  int la;
  char* out = join_in_place(run, step, &la);
  int lb = step->length - la;
  int pad = 0;
  while (pad < la && out[la - 1 - pad] == '\0') pad++;
  if (pad == 0) return;
  std::memmove(out + la - pad, out + la, (size_t)lb);
  std::memset(out + la - pad + lb, 0, (size_t)pad);
}
void sub_text(DbExprRun* run, const DbExprStep* step) {
  int la;
  char* out = join_in_place(run, step, &la);
  int lb = step->length - la;
  int blanks = 0;
  while (blanks < la && out[la - 1 - blanks] == ' ') blanks++;
  if (blanks == 0) return;
  std::memmove(out + la - blanks, out + la, (size_t)lb);
  std::memset(out + la - blanks + lb, ' ', (size_t)blanks);
}

// ---- arithmetic

template <double (*F)(double, double)>
void arithmetic(DbExprRun* run, const DbExprStep* step) {
  double b = expr4get_double(pop(run));
  double a = expr4get_double(pop(run));
  char* out = out_of(run, step);
  put_double(out, F(a, b));
  push(run, out);
}
double add(double a, double b) { return a + b; }
double sub(double a, double b) { return a - b; }
double mul(double a, double b) { return a * b; }
double divide(double a, double b) { return b == 0 ? 0 : a / b; }
double power(double a, double b) { return std::pow(a, b); }
// A missing date (0) leaves the left operand as it is.
double add_number_date(double a, double b) { return b == 0 ? a : a + b; }
double date_plus(double a, double b) { return a == 0 ? a : a + b; }
double date_minus(double a, double b) { return a == 0 ? a : a - b; }
double date_diff(double a, double b) { return a == 0 || b == 0 ? a : a - b; }

// ---- comparisons

// Texts over the shorter length; with `by_length` a tie goes to the longer text.
int compare_text(const DbExprStep* step, const char* a, const char* b, bool by_length) {
  int cmp = db_collation_compare(a, b, (unsigned)step->extra);
  if (cmp != 0 || !by_length) return cmp;
  int la = left_step(step)->length, lb = step[-1].length;
  return la > lb ? 1 : la < lb ? -1 : 0;
}

template <bool (*Test)(int), bool ByLength = false>
void text_compare(DbExprRun* run, const DbExprStep* step) {
  const char* b = pop(run);
  const char* a = pop(run);
  int cmp = compare_text(step, a, b, ByLength);
  char* out = out_of(run, step);
  put_logical(out, Test(cmp));
  push(run, out);
}
template <bool (*Test)(int)>
void double_compare(DbExprRun* run, const DbExprStep* step) {
  double b = expr4get_double(pop(run));
  double a = expr4get_double(pop(run));
  char* out = out_of(run, step);
  put_logical(out, Test(a > b ? 1 : a < b ? -1 : 0));
  push(run, out);
}
// "=" and "#" on logicals and numbers compare the values' bytes.
template <bool Equal>
void byte_compare(DbExprRun* run, const DbExprStep* step) {
  const char* b = pop(run);
  const char* a = pop(run);
  bool same = std::memcmp(a, b, (size_t)step[-1].length) == 0;
  char* out = out_of(run, step);
  put_logical(out, same == Equal);
  push(run, out);
}
bool is_eq(int c) { return c == 0; }
bool is_ne(int c) { return c != 0; }
bool is_ge(int c) { return c >= 0; }
bool is_le(int c) { return c <= 0; }
bool is_gt(int c) { return c > 0; }
bool is_lt(int c) { return c < 0; }

void contains(DbExprRun* run, const DbExprStep* step) {
  const char* b = pop(run);
  const char* a = pop(run);
  int la = left_step(step)->length, lb = step[-1].length;
  bool found = false;
  for (int i = 0; i + la <= lb && !found; i++) found = std::memcmp(a, b + i, (size_t)la) == 0;
  char* out = out_of(run, step);
  put_logical(out, found);
  push(run, out);
}

// ---- functions

void f_del(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  out[0] = table_of(step)->record[0];
  push(run, out);
}
void f_str(DbExprRun* run, const DbExprStep* step) {
  double x = expr4get_double(pop(run));
  char* out = out_of(run, step);
  c4dtoa(x, out, step->length, step->extra, 0);
  push(run, out);
}
void f_substr(DbExprRun* run, const DbExprStep* step) {
  const char* text = pop(run);
  char* out = out_of(run, step);
  std::memmove(out, text + step->extra, (size_t)step->length);
  push(run, out);
}
void f_time(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  time4now(out);
  push(run, out);
}
void f_upper(DbExprRun* run, const DbExprStep* step) {
  const char* text = pop(run);
  char* out = out_of(run, step);
  for (int i = 0; i < step->length; i++) out[i] = (char)EnvToUpper((unsigned char)text[i]);
  push(run, out);
}
void f_dtos_text(DbExprRun* run, const DbExprStep* step) {
  const char* date = pop(run);
  char* out = out_of(run, step);
  std::memmove(out, date, DATE_TEXT_LEN);
  push(run, out);
}
void f_dtos_days(DbExprRun* run, const DbExprStep* step) {
  double day = expr4get_double(pop(run));
  char* out = out_of(run, step);
  day_text(day, out);
  push(run, out);
}
void dtoc(DbExprRun* run, const DbExprStep* step, const char* date) {
  const char* shown = DateFmtQStr(date, run->constants + step->extra);
  char* out = out_of(run, step);
  std::memcpy(out, shown, (size_t)step->length);
  push(run, out);
}
void f_dtoc_text(DbExprRun* run, const DbExprStep* step) {
  char date[DATE_TEXT_LEN + 1] = {};
  std::memcpy(date, pop(run), DATE_TEXT_LEN);
  dtoc(run, step, date);
}
void f_dtoc_days(DbExprRun* run, const DbExprStep* step) {
  char date[DATE_TEXT_LEN + 1] = {};
  day_text(expr4get_double(pop(run)), date);
  dtoc(run, step, date);
}
void f_trim(DbExprRun* run, const DbExprStep* step) {
  const char* text = pop(run);
  char* out = out_of(run, step);
  if (text != out) std::memmove(out, text, (size_t)step->length);
  for (int i = step->length; i > 0 && (out[i - 1] == ' ' || out[i - 1] == '\0'); i--) out[i - 1] = '\0';
  push(run, out);
}
void f_ltrim(DbExprRun* run, const DbExprStep* step) {
  const char* text = pop(run);
  char* out = out_of(run, step);
  int skip = 0;
  while (skip < step->length && (text[skip] == ' ' || text[skip] == '\0')) skip++;
  std::memmove(out, text + skip, (size_t)(step->length - skip));
  std::memset(out + step->length - skip, 0, (size_t)skip);
  push(run, out);
}
void f_iif(DbExprRun* run, const DbExprStep* step) {
  const char* no = pop(run);
  const char* yes = pop(run);
  bool condition = expr4get_logical(pop(run)) != 0;
  char* out = out_of(run, step);
  std::memmove(out, condition ? yes : no, (size_t)step->length);
  push(run, out);
}
void f_stod(DbExprRun* run, const DbExprStep* step) {
  char date[DATE_TEXT_LEN];
  std::memset(date, ' ', sizeof date);
  int length = step[-1].length < DATE_TEXT_LEN ? step[-1].length : DATE_TEXT_LEN;
  std::memcpy(date, pop(run), (size_t)length);
  char* out = out_of(run, step);
  put_double(out, date4long(date));
  push(run, out);
}
void f_ctod(DbExprRun* run, const DbExprStep* step) {
  char typed[256];
  int length = step[-1].length < (int)sizeof typed - 1 ? step[-1].length : (int)sizeof typed - 1;
  std::memcpy(typed, pop(run), (size_t)length);
  typed[length] = '\0';
  char date[DATE_TEXT_LEN];
  date4ctod(date, typed, run->constants + step->extra);
  char* out = out_of(run, step);
  put_double(out, date4long(date));
  push(run, out);
}
void f_date(DbExprRun* run, const DbExprStep* step) {
  char today[DATE_TEXT_LEN];
  date4today(today);
  char* out = out_of(run, step);
  put_double(out, date4long(today));
  push(run, out);
}
template <int (*Part)(const char*)>
void date_part_text(DbExprRun* run, const DbExprStep* step) {
  char date[DATE_TEXT_LEN];
  std::memcpy(date, pop(run), DATE_TEXT_LEN);
  char* out = out_of(run, step);
  put_double(out, Part(date));
  push(run, out);
}
template <int (*Part)(const char*)>
void date_part_days(DbExprRun* run, const DbExprStep* step) {
  char date[DATE_TEXT_LEN];
  day_text(expr4get_double(pop(run)), date);
  char* out = out_of(run, step);
  put_double(out, Part(date));
  push(run, out);
}
// A mark other than blank or '*' is damage; the operator is told unless the
// environment refuses damaged tables anyway. The answer changes nothing.
void f_deleted(DbExprRun* run, const DbExprStep* step) {
  DbTable* table = table_of(step);
  char mark = table->record[0];
  if (mark != '*' && mark != ' ') {
    if (!EnvRefuseDamagedTables())
      ScreenQuestion(EnvFindString(TextRef(MSG_DELETION_MARK)), EnvFindString(TextRef(MSG_CONTINUE)));
  }
  char* out = out_of(run, step);
  put_logical(out, mark == '*');
  push(run, out);
}
void f_reccount(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_double(out, (double)d4reccount(table_of(step)));
  push(run, out);
}
void f_recno(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_double(out, (double)d4recno(table_of(step)));
  push(run, out);
}
void f_val(DbExprRun* run, const DbExprStep* step) {
  double v = QuickDouble(pop(run), step[-1].length);
  char* out = out_of(run, step);
  put_double(out, v);
  push(run, out);
}
// The page number of report pages; nothing in the system sets one.
void f_pageno(DbExprRun* run, const DbExprStep* step) {
  char* out = out_of(run, step);
  put_double(out, 0);
  push(run, out);
}

}  // namespace

// Rows in the order the compiler relies on: variants of one code stand
// together, longer operators before their prefixes.
const DbExprFunction kExprFunctions[] = {
    {field_in_place, nullptr, 0, 0, 0, 'C', 0, {}},                   // 0 character field
    {field_copy, nullptr, 1, 0, 0, 'C', 0, {}},                       // 1 character field copied
    {field_logical, nullptr, 2, 0, 0, 'L', 0, {}},                    // 2
    {field_days, nullptr, 3, 0, 0, 'd', 0, {}},                       // 3 date field as day number
    {field_in_place, nullptr, 4, 0, 0, 'D', 0, {}},                   // 4
    {field_double, nullptr, 5, 0, 0, 'n', 0, {}},                     // 5 numeric field as double
    {field_in_place, nullptr, 6, 0, 0, 'N', 0, {}},                   // 6
    {nullptr, nullptr, 7, 0, 0, 'C', 0, {}},                          // 7 unused
    {constant, nullptr, 8, 0, 0, 'n', 0, {}},                         // 8 number constant
    {constant, nullptr, 9, 0, 0, 'C', 0, {}},                         // 9 text constant
    {true_constant, ".TRUE.", 14, 6, 0, 'L', 0, {}},                  // 10
    {true_constant, ".T.", 14, 3, 0, 'L', 0, {}},                     // 11
    {false_constant, ".FALSE.", 16, 7, 0, 'L', 0, {}},                // 12
    {false_constant, ".F.", 16, 3, 0, 'L', 0, {}},                    // 13
    {op_not, ".NOT.", 18, 5, 5, 'L', 1, {'L'}},                       // 14
    {op_or, ".OR.", 20, 4, 3, 'L', EXPR_ANY_COUNT, {'L'}},            // 15
    {op_and, ".AND.", 22, 5, 4, 'L', EXPR_ANY_COUNT, {'L'}},          // 16
    {add_text, "+", 25, 1, 7, 'C', 2, {'C', 'C'}},                    // 17
    {add_trimmed, nullptr, 25, 0, 7, 'C', 2, {'C', 'C'}},             // 18 after TRIM or LTRIM
    {arithmetic<add>, nullptr, 25, 0, 7, 'n', 2, {'n', 'n'}},         // 19
    {arithmetic<add_number_date>, nullptr, 25, 0, 7, 'd', 2, {'n', 'd'}},   // 20
    {arithmetic<date_plus>, nullptr, 25, 0, 7, 'd', 2, {'d', 'n'}},   // 21
    {sub_text, "-", 30, 1, 7, 'C', 2, {'C', 'C'}},                    // 22
    {arithmetic<sub>, nullptr, 30, 0, 7, 'n', 2, {'n', 'n'}},         // 23
    {arithmetic<date_diff>, nullptr, 30, 0, 7, 'n', 2, {'d', 'd'}},   // 24
    {arithmetic<date_minus>, nullptr, 30, 0, 7, 'd', 2, {'d', 'n'}},  // 25
    {text_compare<is_eq>, "=", 40, 1, 6, 'L', 2, {'C', 'C'}},         // 26
    {byte_compare<true>, nullptr, 40, 0, 6, 'L', 2, {'L', 'L'}},      // 27
    {byte_compare<true>, nullptr, 40, 0, 6, 'L', 2, {'n', 'n'}},      // 28
    {byte_compare<true>, nullptr, 40, 0, 6, 'L', 2, {'d', 'd'}},      // 29
    {text_compare<is_ne>, "#", 50, 1, 6, 'L', 2, {'C', 'C'}},         // 30
    {text_compare<is_ne>, "<>", 50, 2, 6, 'L', 2, {'C', 'C'}},        // 31
    {byte_compare<false>, nullptr, 50, 0, 6, 'L', 2, {'n', 'n'}},     // 32
    {byte_compare<false>, nullptr, 50, 0, 6, 'L', 2, {'d', 'd'}},     // 33
    {byte_compare<false>, nullptr, 50, 0, 6, 'L', 2, {'L', 'L'}},     // 34
    {text_compare<is_ge>, ">=", 60, 2, 6, 'L', 2, {'C', 'C'}},        // 35
    {double_compare<is_ge>, nullptr, 60, 0, 6, 'L', 2, {'n', 'n'}},   // 36
    {double_compare<is_ge>, nullptr, 60, 0, 6, 'L', 2, {'d', 'd'}},   // 37
    {text_compare<is_le>, "<=", 70, 2, 6, 'L', 2, {'C', 'C'}},        // 38
    {double_compare<is_le>, nullptr, 70, 0, 6, 'L', 2, {'n', 'n'}},   // 39
    {double_compare<is_le>, nullptr, 70, 0, 6, 'L', 2, {'d', 'd'}},   // 40
    {text_compare<is_gt, true>, ">", 80, 1, 6, 'L', 2, {'C', 'C'}},         // 41
    {double_compare<is_gt>, nullptr, 80, 0, 6, 'L', 2, {'n', 'n'}},   // 42
    {double_compare<is_gt>, nullptr, 80, 0, 6, 'L', 2, {'d', 'd'}},   // 43
    {text_compare<is_lt, true>, "<", 90, 1, 6, 'L', 2, {'C', 'C'}},         // 44
    {double_compare<is_lt>, nullptr, 90, 0, 6, 'L', 2, {'n', 'n'}},   // 45
    {double_compare<is_lt>, nullptr, 90, 0, 6, 'L', 2, {'d', 'd'}},   // 46
    {arithmetic<power>, "^", 100, 1, 9, 'n', 2, {'n', 'n'}},          // 47
    {arithmetic<power>, "**", 100, 2, 9, 'n', 2, {'n', 'n'}},         // 48
    {arithmetic<mul>, "*", 102, 1, 8, 'n', 2, {'n', 'n'}},            // 49
    {arithmetic<divide>, "/", 105, 1, 8, 'n', 2, {'n', 'n'}},         // 50
    {contains, "$", 110, 1, 6, 'L', 2, {'C', 'C'}},                   // 51
    {f_del, "DEL", 130, 3, 0, 'C', 0, {}},                            // 52
    {f_str, "STR", 140, 3, 0, 'C', 1, {'n'}},                         // 53
    {f_substr, "SUBSTR", 150, 6, 0, 'C', 1, {'C'}},                   // 54
    {f_time, "TIME", 160, 4, 0, 'C', 0, {}},                          // 55
    {f_upper, "UPPER", 170, 5, 0, 'C', 1, {'C'}},                     // 56
    {f_dtos_text, "DTOS", 180, 4, 0, 'C', 1, {'D'}},                  // 57
    {f_dtos_days, nullptr, 180, 0, 0, 'C', 1, {'d'}},                 // 58
    {f_dtoc_text, "DTOC", 200, 4, 0, 'C', 1, {'D'}},                  // 59
    {f_dtoc_days, nullptr, 200, 0, 0, 'C', 1, {'d'}},                 // 60
    {f_trim, "TRIM", 220, 4, 0, 'C', 1, {'C'}},                       // 61
    {f_ltrim, "LTRIM", 230, 5, 0, 'C', 1, {'C'}},                     // 62
    {f_substr, "LEFT", 240, 4, 0, 'C', 1, {'C'}},                     // 63
    {f_iif, "IIF", 250, 3, 0, 'C', 3, {'L', 'C', 'C'}},               // 64
    {f_iif, nullptr, 250, 0, 0, 'n', 3, {'L', 'n', 'n'}},             // 65
    {f_iif, nullptr, 250, 0, 0, 'd', 3, {'L', 'd', 'd'}},             // 66
    {f_iif, nullptr, 250, 0, 0, 'L', 3, {'L', 'L', 'L'}},             // 67
    {f_stod, "STOD", 260, 4, 0, 'd', 1, {'C'}},                       // 68
    {f_ctod, "CTOD", 270, 4, 0, 'd', 1, {'C'}},                       // 69
    {f_date, "DATE", 280, 4, 0, 'd', 0, {}},                          // 70
    {date_part_text<date4day>, "DAY", 290, 3, 0, 'n', 1, {'D'}},      // 71
    {date_part_days<date4day>, nullptr, 290, 0, 0, 'n', 1, {'d'}},    // 72
    {date_part_text<date4month>, "MONTH", 310, 5, 0, 'n', 1, {'D'}},  // 73
    {date_part_days<date4month>, nullptr, 310, 0, 0, 'n', 1, {'d'}},  // 74
    {date_part_text<date4year>, "YEAR", 340, 4, 0, 'n', 1, {'D'}},    // 75
    {date_part_days<date4year>, nullptr, 340, 0, 0, 'n', 1, {'d'}},   // 76
    {f_deleted, "DELETED", 350, 7, 0, 'L', 0, {}},                    // 77
    {f_reccount, "RECCOUNT", 360, 8, 0, 'n', 0, {}},                  // 78
    {f_recno, "RECNO", 370, 5, 0, 'n', 0, {}},                        // 79
    {f_val, "VAL", 380, 3, 0, 'n', 1, {'C'}},                         // 80
    // 81, 82: references to named calculations and their totals; the engine
    // keeps no named calculations, so they carry no name and never match.
    {nullptr, nullptr, 390, 0, 0, 'n', 0, {}},
    {nullptr, nullptr, 400, 0, 0, 'n', 0, {}},
    {f_pageno, "PAGENO", 410, 6, 0, 'n', 0, {}},                      // 83
    {nullptr, nullptr, EXPR_CODE_END, 0, 0, 0, 0, {}},
};

int e4lookup(const char* text, int length, int first, int last) {
  char wanted[9];
  int n = 0;
  while (n < 8 && text[n] != '\0') {
    wanted[n] = (char)EnvToUpper((unsigned char)text[n]);
    n++;
  }
  wanted[n] = '\0';
  for (int row = first; row <= last && kExprFunctions[row].code != EXPR_CODE_END; row++) {
    const DbExprFunction& f = kExprFunctions[row];
    if (f.name == nullptr) continue;
    if (f.nameLength > 8) e4fatal_stop(e4info, "e4lookup()");
    if (f.name[0] != wanted[0]) continue;
    if (length >= 0 && f.nameLength != length) continue;
    if (std::strncmp(f.name, wanted, (size_t)f.nameLength) == 0) return row;
  }
  return -1;
}
