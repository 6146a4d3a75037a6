// A .DBF from outside: opened, every field of every record read, then a
// record appended and the table packed.
#include "db/dbf_records.h"
#include "fuzz/fuzz_support.h"

namespace {

// A table claiming millions of records would make one input take minutes.
constexpr long kRecordsRead = 200;

void ReadRecord(DbTable* table) {
  volatile unsigned sum = 0;
  for (int j = 1; j <= d4num_fields(table); j++) {
    DbField* field = d4field_j(table, j);
    const char* bytes = f4ptr(field);
    for (unsigned i = 0; i < f4len(field); i++) sum = sum + static_cast<unsigned char>(bytes[i]);
    if (f4type(field) == 'N' || f4type(field) == 'F') sum = sum + static_cast<unsigned>(f4long(field));
    if (f4type(field) == 'L') sum = sum + static_cast<unsigned>(f4char(field));
  }
  sum = sum + static_cast<unsigned>(d4deleted(table));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("IN.DBF", data, size)) return 0;
  DbEngine* engine = FuzzEngine();
  DbTable* table = d4open(engine, "IN");
  if (!table) return 0;
  engine->error_code = 0;
  long count = d4reccount(table);
  for (long n = 1; n <= count && n <= kRecordsRead; n++) {
    if (d4go(table, n) != 0) {
      engine->error_code = 0;
      continue;
    }
    ReadRecord(table);
  }
  engine->error_code = 0;
  for (int r = d4top(table), steps = 0; r == 0 && steps < kRecordsRead; r = d4skip(table, 1), steps++)
    ReadRecord(table);
  engine->error_code = 0;
  if (d4append_start(table, 0) == 0) {
    d4blank(table);
    for (int j = 1; j <= d4num_fields(table); j++) f4assign(d4field_j(table, j), "1");
    d4append(table);
  }
  engine->error_code = 0;
  if (count < kRecordsRead) d4pack(table);
  engine->error_code = 0;
  d4close(table);
  engine->error_code = 0;
  return 0;
}
