// An .MDX from outside beside a small sound table: every tag walked both ways
// and sought, a record inserted, the table packed and the index rebuilt.
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/reindex.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string g_table;   // the sound FIX.DBF, written afresh for every input
constexpr int kSteps = 300;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  DbTable* table = FuzzCreateFixture();
  if (!table || d4close(table) != 0) return 1;
  g_table = FuzzReadFile(FuzzWorkDir() + "FIX.DBF");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("FIX.MDX", data, size) ||
      !FuzzWriteFile(FuzzWorkDir() + "FIX.DBF", g_table.data(), g_table.size()))
    return 0;
  DbEngine* engine = FuzzEngine();
  DbTable* table = d4open(engine, "FIX");
  if (!table) return 0;
  engine->error_code = 0;
  for (DbTag* tag = d4tag_next(table, nullptr); tag; tag = d4tag_next(table, tag)) {
    d4tag_select(table, tag);
    for (int r = d4top(table), steps = 0; r == 0 && steps < kSteps; r = d4skip(table, 1), steps++) {
    }
    engine->error_code = 0;
    for (int r = d4bottom(table), steps = 0; r == 0 && steps < kSteps; r = d4skip(table, -3), steps++) {
    }
    engine->error_code = 0;
    // A number seek on a text tag is the caller's mistake, not damage.
    if (t4type(tag) == 'C') {
      d4seek(table, "Gamma");
      engine->error_code = 0;
      d4seek(table, "B2DELTA");
    } else {
      d4seek(table, "20050606");
      engine->error_code = 0;
      d4seek_double(table, 47.5);
    }
    engine->error_code = 0;
  }
  d4tag_select(table, nullptr);
  if (d4append_start(table, 0) == 0) {
    d4blank(table);
    f4assign(d4field(table, "NAZWA"), "Nowy");
    f4assign(d4field(table, "ILOSC"), "12.5");
    f4assign(d4field(table, "DATA"), "20261210");
    f4assign(d4field(table, "OK"), "T");
    d4append(table);
  }
  engine->error_code = 0;
  if (d4go(table, 2) == 0) {
    f4assign(d4field(table, "NAZWA"), "Zmieniony");
    d4flush(table);
  }
  engine->error_code = 0;
  d4pack(table);
  engine->error_code = 0;
  d4reindex(table);
  engine->error_code = 0;
  d4close(table);
  engine->error_code = 0;
  return 0;
}
