// The expression compiler: text to postfix steps with an operator stack, then
// types, lengths and work-buffer places resolved over the steps, and the
// whole copied into one block.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/dbf_table.h"
#include "db/expr.h"
#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/memory.h"
#include "env/numbers.h"

namespace {

constexpr int STR_DEFAULT_LENGTH = 10;
constexpr int STR_MAX_LENGTH = 128;     // the widest number text c4dtoa writes

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsLetter((unsigned char)c); }
bool is_name_char(char c) { return is_letter(c) || is_digit(c) || c == '&' || c == '@' || c == '_'; }

// A constant argument as an int, kept within a range no clamp below overflows.
int constant_int(double v) {
  if (v > 1e6) return 1000000;
  if (v < -1e6) return -1000000;
  return (int)v;
}

struct PendingOperator {
  int row;
  int operands;
};

struct TypeEntry {
  int type;
  int length;
  int step;
};

class Compiler {
 public:
  Compiler(DbTable* table, const char* text) : table_(table), engine_(table->engine), text_(text) {}

  DbExpr* Run();

 private:
  bool Fail(int code, std::string detail = std::string()) {
    if (error_ == 0) {
      error_ = code;
      detail_ = std::move(detail);
    }
    return false;
  }
  void SkipBlanks() {
    while (text_[pos_] == ' ') pos_++;
  }
  bool StartsWithWord(int at, const char* word) const {
    for (int i = 0; word[i] != '\0'; i++)
      if (EnvToUpper((unsigned char)text_[at + i]) != word[i]) return false;
    return true;
  }
  int AddConstant(const void* bytes, int length) {
    if (constants_used_ + length > EXPR_CONSTANTS_MAX) return -1;
    std::memcpy(constants_ + constants_used_, bytes, (size_t)length);
    constants_used_ += length;
    return constants_used_ - length;
  }
  void Emit(int row, int operands, int extra = 0, int length = 0) {
    DbExprStep step{};
    step.code = row;
    step.operands = operands;
    step.extra = extra;
    step.length = length;
    steps_.push_back(step);
  }
  void EmitOperator(const PendingOperator& op) { Emit(op.row, op.operands); }

  bool Expression();
  bool Value();
  bool StackOperator(int row);
  bool Number();
  bool Text();
  bool Name();
  bool Function(const std::string& name);
  bool Field(const std::string& name);
  bool Resolve();
  int Layout();
  void Report();

  DbTable* table_;
  DbEngine* engine_;
  const char* text_;
  int pos_ = 0;
  std::vector<DbExprStep> steps_;
  char constants_[EXPR_CONSTANTS_MAX];
  int constants_used_ = 0;
  PendingOperator operators_[EXPR_OPERATOR_STACK];
  int operator_depth_ = 0;
  int base_ = 0;                    // the current sub-expression's first operator
  int result_type_ = 0;
  int result_length_ = 0;
  bool pad_trimmed_ = false;
  int error_ = 0;
  std::string detail_;
  bool reported_ = false;           // the error was shown by the field lookup
};

// Operands and operators up to the end of the text, ")" or ",".
bool Compiler::Expression() {
  int saved_base = base_;
  base_ = operator_depth_;
  bool ok = true;
  for (;;) {
    if (!Value()) {
      ok = false;
      break;
    }
    SkipBlanks();
    char c = text_[pos_];
    if (c == '\0' || c == ')' || c == ',') break;
    int row = e4lookup(text_ + pos_, -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR);
    if (row < 0) {
      ok = Fail(e4unrec_operator);
      break;
    }
    pos_ += kExprFunctions[row].nameLength;
    if (!StackOperator(row)) {
      ok = false;
      break;
    }
  }
  if (ok)
    while (operator_depth_ > base_) EmitOperator(operators_[--operator_depth_]);
  base_ = saved_base;
  return ok;
}

// Emits every waiting operator that binds at least as tightly, then stacks
// this one; a .AND. or .OR. on top of the same one joins it instead.
bool Compiler::StackOperator(int row) {
  const DbExprFunction& op = kExprFunctions[row];
  bool chain = op.code == EXPR_CODE_AND || op.code == EXPR_CODE_OR;
  while (operator_depth_ > base_) {
    PendingOperator& top = operators_[operator_depth_ - 1];
    const DbExprFunction& waiting = kExprFunctions[top.row];
    if (chain && waiting.code == op.code) {
      top.operands++;
      return true;
    }
    if (waiting.priority < op.priority) break;
    EmitOperator(top);
    operator_depth_--;
  }
  if (operator_depth_ == EXPR_OPERATOR_STACK) return Fail(e4overflow);
  operators_[operator_depth_++] = PendingOperator{row, row == EXPR_ROW_NOT ? 1 : 2};
  return true;
}

bool Compiler::Value() {
  SkipBlanks();
  char c = text_[pos_];
  if (c == '(') {
    pos_++;
    if (!Expression()) return false;
    SkipBlanks();
    if (text_[pos_] != ')') return Fail(e4right_missing);
    pos_++;
    return true;
  }
  if (c == '.') {
    int row = e4lookup(text_ + pos_, -1, EXPR_ROW_FIRST_CONSTANT, EXPR_ROW_NOT);
    if (row >= 0) {
      pos_ += kExprFunctions[row].nameLength;
      if (row != EXPR_ROW_NOT) {
        Emit(row, 0);
        return true;
      }
      // .NOT. waits for its operand, so it takes in a comparison that follows.
      return Value() && StackOperator(row);
    }
  }
  if (c == '"' || c == '\'' || c == '[') return Text();
  if (is_digit(c) || c == '+' || c == '-' || c == '.') return Number();
  if (is_name_char(c)) return Name();
  return Fail(e4unrec_value);
}

bool Compiler::Text() {
  char close = text_[pos_] == '[' ? ']' : text_[pos_];
  const char* start = text_ + pos_ + 1;
  const char* end = std::strchr(start, close);
  if (end == nullptr) return Fail(e4unterminated);
  int length = (int)(end - start);
  int at = AddConstant(start, length);
  if (at < 0) return Fail(e4memory);
  Emit(EXPR_ROW_TEXT_CONSTANT, 0, at, length);
  pos_ += length + 2;
  return true;
}

bool Compiler::Number() {
  int start = pos_;
  int p = pos_;
  if (text_[p] == '+' || text_[p] == '-') p++;
  bool digits = false;
  while (is_digit(text_[p]) || text_[p] == '.') {
    if (text_[p] == '.' && (StartsWithWord(p, ".AND.") || StartsWithWord(p, ".OR.") || StartsWithWord(p, ".NOT.")))
      break;
    digits = digits || is_digit(text_[p]);
    p++;
  }
  // A letter after it makes the whole token a name (a field such as "1KOD").
  if (is_letter(text_[p])) {
    if (!is_name_char(text_[start])) return Fail(e4unrec_value);
    return Name();
  }
  if (!digits) return Fail(e4unrec_value);
  double value = QuickDouble(text_ + start, p - start);
  int at = AddConstant(&value, sizeof value);
  if (at < 0) return Fail(e4memory);
  Emit(EXPR_ROW_NUM_CONSTANT, 0, at, (int)sizeof value);
  pos_ = p;
  return true;
}

bool Compiler::Name() {
  int start = pos_;
  while (is_name_char(text_[pos_])) pos_++;
  int length = pos_ - start;
  if (length > EXPR_NAME_MAX) return Fail(e4unrec_value);
  std::string name(text_ + start, (size_t)length);
  int after = pos_;
  while (text_[after] == ' ') after++;
  if (text_[after] == '(') {
    pos_ = after + 1;
    return Function(name);
  }
  return Field(name);
}

bool Compiler::Field(const std::string& name) {
  DbTable* table = table_;
  std::string field_name = name;
  if (text_[pos_] == '-' && text_[pos_ + 1] == '>') {
    table = d4data(engine_, name.c_str());
    if (table == nullptr) return Fail(e4data_name, name);
    pos_ += 2;
    int start = pos_;
    while (is_name_char(text_[pos_])) pos_++;
    if (pos_ == start || pos_ - start > EXPR_NAME_MAX) return Fail(e4unrec_value);
    field_name.assign(text_ + start, (size_t)(pos_ - start));
  }
  DbField* field = d4field(table, field_name.c_str());
  if (field == nullptr) {
    // The lookup has shown it already when the engine reports field errors.
    if (engine_->error_code >= 0) e4set_code(engine_, e4field_name);
    reported_ = true;
    return Fail(e4field_name);
  }
  int row;
  switch (field->type) {
    case 'C': row = EXPR_ROW_CHAR_FIELD; break;
    case 'L': row = EXPR_ROW_LOGICAL_FIELD; break;
    case 'D': row = EXPR_ROW_DATE_FIELD; break;
    case 'N':
    case 'F': row = EXPR_ROW_NUM_FIELD; break;
    case 'M': return Fail(e4memo_create, "expr4parse_value()");
    default: return Fail(e4type_sub, "!318!");
  }
  DbExprStep step{};
  step.field = field;
  step.source = &table->record;
  step.extra = field->offset;
  step.length = (int)field->width;
  step.code = row;
  steps_.push_back(step);
  return true;
}

// Arguments up to ")". The further arguments of STR, SUBSTR and LEFT are
// constant numbers that go into the step instead of becoming steps.
bool Compiler::Function(const std::string& name) {
  int row = e4lookup(name.c_str(), (int)name.size(), EXPR_ROW_FIRST_FUNCTION, EXPR_ROW_LAST);
  if (row < 0) return Fail(e4unrec_function, name);
  const DbExprFunction& f = kExprFunctions[row];
  std::vector<size_t> starts;    // first step of each argument
  SkipBlanks();
  if (text_[pos_] == ')') {
    pos_++;
  } else {
    for (;;) {
      starts.push_back(steps_.size());
      if (!Expression()) return false;
      SkipBlanks();
      char c = text_[pos_];
      if (c == ',') {
        pos_++;
        continue;
      }
      if (c == ')') {
        pos_++;
        break;
      }
      return Fail(e4right_missing);    // an argument ends only at ",", ")" or the end
    }
  }
  int count = (int)starts.size();
  int min_count = f.operandCount, max_count = f.operandCount;
  if (f.code == EXPR_CODE_STR) max_count = 3;
  if (f.code == EXPR_CODE_SUBSTR) min_count = 2, max_count = 3;
  if (f.code == EXPR_CODE_LEFT) min_count = max_count = 2;
  if (count < min_count || count > max_count) return Fail(e4num_parms, name);

  bool takes_constants = f.code == EXPR_CODE_STR || f.code == EXPR_CODE_SUBSTR || f.code == EXPR_CODE_LEFT;
  double constants[2] = {0, 0};
  for (int i = 1; takes_constants && i < count; i++) {
    bool single = (i + 1 < count ? starts[i + 1] : steps_.size()) == starts[i] + 1;
    if (!single || steps_[starts[i]].code != EXPR_ROW_NUM_CONSTANT) return Fail(e4not_constant, name);
    std::memcpy(&constants[i - 1], constants_ + steps_[starts[i]].extra, sizeof(double));
  }
  if (takes_constants && count > 1) {
    // The constants were the last ones stored; they are not needed any more.
    constants_used_ = steps_[starts[1]].extra;
    steps_.resize(starts[1]);
  }

  int extra = 0, length = 0;
  if (f.code == EXPR_CODE_STR) {
    length = count > 1 ? constant_int(constants[0]) : STR_DEFAULT_LENGTH;
    int decimals = count > 2 ? constant_int(constants[1]) : 0;
    if (length < 0) length = STR_DEFAULT_LENGTH;
    // No text of no width or wider than a number text can be: refused here
    // rather than stopped on at the first evaluation.
    if (length == 0 || length > STR_MAX_LENGTH) return Fail(e4not_constant, name);
    if (decimals >= length - 1) decimals = length - 2;
    if (decimals < 0) decimals = 0;
    extra = decimals;
  } else if (f.code == EXPR_CODE_SUBSTR) {
    extra = constant_int(constants[0]);
    length = count > 2 ? std::max(constant_int(constants[1]), 0) : -1;   // -1: the rest
  } else if (f.code == EXPR_CODE_LEFT) {
    extra = 1;
    length = std::max(constant_int(constants[0]), 0);
  }
  Emit(row, takes_constants ? 1 : count, extra, length);
  steps_.back().source = table_;
  return true;
}

bool accepts(int wanted, const TypeEntry& have, const std::vector<DbExprStep>& steps) {
  if (have.type == wanted) return true;
  int push = steps[(size_t)have.step].code;
  return (wanted == EXPR_DATE && push == EXPR_ROW_DATE_FIELD) || (wanted == EXPR_NUM && push == EXPR_ROW_NUM_FIELD);
}

bool changes_operand(int code) {
  return code == EXPR_CODE_ADD || code == EXPR_CODE_SUB || code == EXPR_CODE_SUBSTR || code == EXPR_CODE_UPPER ||
         code == EXPR_CODE_TRIM || code == EXPR_CODE_LTRIM || code == EXPR_CODE_LEFT;
}

// Types and lengths over the postfix steps, choosing each step's variant.
bool Compiler::Resolve() {
  std::vector<TypeEntry> stack;
  bool trimmed = false;
  for (size_t i = 0; i < steps_.size(); i++) {
    DbExprStep& step = steps_[i];
    int n = step.operands;
    if (n > (int)stack.size()) return Fail(e4complete);
    TypeEntry* ops = stack.data() + stack.size() - n;
    const DbExprFunction& named = kExprFunctions[step.code];
    if (named.operandCount != EXPR_ANY_COUNT && n != named.operandCount)
      return Fail(e4num_parms, named.name ? named.name : "");

    int row = -1;
    for (int r = step.code; kExprFunctions[r].code == named.code && row < 0; r++) {
      const DbExprFunction& f = kExprFunctions[r];
      bool match = true;
      for (int k = 0; k < n && match; k++)
        match = accepts(f.operandCount == EXPR_ANY_COUNT ? f.operandTypes[0] : f.operandTypes[k], ops[k], steps_);
      if (match) row = r;
    }
    if (row < 0) return Fail(e4type_sub);
    const DbExprFunction& f = kExprFunctions[row];

    int span = 1;
    for (int k = 0; k < n; k++) {
      DbExprStep& operand = steps_[(size_t)ops[k].step];
      int wanted = f.operandCount == EXPR_ANY_COUNT ? f.operandTypes[0] : f.operandTypes[k];
      if (ops[k].type != wanted) {
        operand.code = wanted == EXPR_DATE ? EXPR_ROW_DATE_FIELD_DAYS : EXPR_ROW_NUM_FIELD_DOUBLE;
        operand.routine = kExprFunctions[operand.code].routine;
        operand.length = 8;
        ops[k].type = wanted;
        ops[k].length = 8;
      }
      if (changes_operand(f.code) && operand.code == EXPR_ROW_CHAR_FIELD) {
        operand.code = EXPR_ROW_CHAR_FIELD_COPY;
        operand.routine = kExprFunctions[operand.code].routine;
      }
      span += operand.span;
    }

    int length = step.length;     // fields, text constants and STR as compiled
    switch (f.resultType) {
      case EXPR_LOGICAL: length = 4; break;
      case EXPR_DATE:
      case EXPR_NUM:
      case EXPR_DATE_TEXT: length = 8; break;
      default: break;
    }
    switch (f.code) {
      case EXPR_CODE_ADD:
      case EXPR_CODE_SUB:
        if (f.resultType == EXPR_CHAR) length = ops[0].length + ops[1].length;
        break;
      case EXPR_CODE_SUBSTR:
      case EXPR_CODE_LEFT: {
        int start = std::clamp(step.extra - 1, 0, ops[0].length);
        int rest = ops[0].length - start;
        length = step.length < 0 ? rest : std::min(step.length, rest);
        step.extra = start;
        break;
      }
      case EXPR_CODE_UPPER:
      case EXPR_CODE_TRIM:
      case EXPR_CODE_LTRIM: length = ops[0].length; break;
      case EXPR_CODE_DEL: length = 1; break;
      case EXPR_CODE_TIME:
      case EXPR_CODE_DTOS: length = 8; break;
      case EXPR_CODE_DTOC: length = (int)std::strlen(kExprDatePicture); break;
      case EXPR_CODE_IIF:
        if (f.resultType == EXPR_CHAR) {
          if (ops[1].length != ops[2].length) return Fail(e4iif_length);
          length = ops[1].length;
        }
        break;
      default: break;
    }
    // DTOC and CTOD carry the date picture in the constants.
    if (f.code == EXPR_CODE_DTOC || f.code == EXPR_CODE_CTOD) {
      int at = AddConstant(kExprDatePicture, (int)std::strlen(kExprDatePicture) + 1);
      if (at < 0) return Fail(e4memory);
      step.extra = at;
    }
    if (f.code >= EXPR_CODE_EQ && f.code <= EXPR_CODE_LT && f.operandTypes[0] == EXPR_CHAR)
      step.extra = std::min(ops[0].length, ops[1].length);
    if (f.code == EXPR_CODE_TRIM || f.code == EXPR_CODE_LTRIM) {
      trimmed = true;
      pad_trimmed_ = true;
    }
    if (row == EXPR_ROW_ADD_TEXT && trimmed) row = EXPR_ROW_ADD_TRIMMED;

    step.code = row;
    step.routine = kExprFunctions[row].routine;
    step.length = length;
    step.span = span;
    stack.resize(stack.size() - (size_t)n);
    if ((int)stack.size() == EXPR_TYPE_STACK) return Fail(e4overflow);
    stack.push_back(TypeEntry{f.resultType, length, (int)i});
  }
  if (stack.size() != 1) return Fail(e4result);
  result_type_ = stack[0].type;
  result_length_ = stack[0].length;
  return true;
}

// Places in the work buffer: values lie one after the other as on a stack,
// so a step's result takes its first operand's place and the operands of
// a join are already side by side. Returns the work size.
int Compiler::Layout() {
  std::vector<std::pair<int, int>> places;    // offset, length
  int size = 0;
  for (DbExprStep& step : steps_) {
    int offset = 0;
    if (step.operands > 0) {
      offset = places[places.size() - (size_t)step.operands].first;
      places.resize(places.size() - (size_t)step.operands);
    } else if (!places.empty()) {
      offset = places.back().first + places.back().second;
    }
    step.resultOffset = offset;
    places.emplace_back(offset, step.length);
    size = std::max(size, offset + step.length);
  }
  return size + 1;
}

void Compiler::Report() {
  if (reported_) return;
  if (engine_->report_expression_errors) {
    e4show_error(engine_, error_, text_, detail_.empty() ? TextRef() : TextRef(detail_.c_str()));
  } else {
    e4set_code(engine_, error_);
  }
}

DbExpr* Compiler::Run() {
  bool ok = Expression() && Resolve();
  if (!ok) {
    Report();
    return nullptr;
  }
  int work_size = Layout();
  if (!expr4grow_buffer(engine_, &engine_->expr_buffer, &engine_->expr_buffer_len, (unsigned)work_size))
    return nullptr;
  Environment* env = reinterpret_cast<Environment*>(engine_);
  size_t steps_size = steps_.size() * sizeof(DbExprStep);
  size_t source_size = std::strlen(text_) + 1;
  size_t block_size = sizeof(DbExpr) + steps_size + (size_t)constants_used_ + source_size;
  char* block = static_cast<char*>(u4alloc_report(env, block_size));
  if (block == nullptr) return nullptr;
  DbExpr* expr = reinterpret_cast<DbExpr*>(block);
  expr->steps = reinterpret_cast<DbExprStep*>(block + sizeof(DbExpr));
  std::memcpy(expr->steps, steps_.data(), steps_size);
  expr->stepCount = (int32_t)steps_.size();
  expr->constants = block + sizeof(DbExpr) + steps_size;
  std::memcpy(expr->constants, constants_, (size_t)constants_used_);
  expr->source = expr->constants + constants_used_;
  std::memcpy(expr->source, text_, source_size);
  expr->resultLength = result_length_;
  expr->resultType = result_type_;
  expr->table = table_;
  expr->engine = engine_;
  expr->workSize = work_size;
  expr->padTrimmed = pad_trimmed_ ? 1 : 0;
  return expr;
}

}  // namespace

DbExpr* expr4parse(DbTable* table, const char* text) {
  if (table == nullptr || text == nullptr) e4fatal_stop(e4parm, "expr4parse()");
  if (table->engine->error_code < 0) return nullptr;
  Compiler compiler(table, text);
  return compiler.Run();
}
