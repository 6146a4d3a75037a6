// An expression from outside (a key or filter of a stored index, a filter
// typed by the operator): compiled for a fixed table and evaluated on some of
// its records as a value, a number or a condition, and as an index key.
#include <string>

#include "db/dbf_records.h"
#include "db/expr.h"
#include "env/memory.h"
#include "fuzz/fuzz_support.h"

namespace {

DbTable* g_table = nullptr;
constexpr size_t kLongest = 1024;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  g_table = FuzzCreateFixture();
  return g_table ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kLongest) return -1;
  FuzzNewInput();
  std::string text(reinterpret_cast<const char*>(data), size);
  DbEngine* engine = FuzzEngine();
  DbExpr* expr = expr4parse(g_table, text.c_str());
  engine->error_code = 0;
  if (!expr) return 0;
  int type = expr4type(expr);
  for (long n : {1L, 4L, 5L, 24L}) {
    if (d4go(g_table, n) != 0) break;
    char* result = nullptr;
    int length = expr4vary(expr, &result);
    volatile unsigned sum = 0;
    for (int i = 0; i < length; i++) sum = sum + static_cast<unsigned char>(result[i]);
    engine->error_code = 0;
    if (type == EXPR_LOGICAL) {
      expr4true(expr);
    } else {
      volatile double value = expr4double(expr);
      (void)value;
      char* key = nullptr;
      length = expr4key(expr, &key);
      for (int i = 0; i < length; i++) sum = sum + static_cast<unsigned char>(key[i]);
    }
    engine->error_code = 0;
  }
  u4free(expr);
  return 0;
}
