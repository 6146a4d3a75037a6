// A fresh engine in a temporary directory, with the screen recorded and the clock fixed.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "tests/support/env_test.h"

class DbTest : public EnvTest {
 protected:
  void SetUp() override {
    EnvTest::SetUp();
    if (HasFatalFailure()) return;
    engine = &env->engine;
    d4init(engine);
    // The suite runs with the block cache and every file cached unless
    // ZELSAL_DB_CACHE=0; the main program's small sizes make blocks change hands often.
    const char* cache = std::getenv("ZELSAL_DB_CACHE");
    if (cache == nullptr || std::strcmp(cache, "0") != 0) {
      engine->cache_buffer_size = 4096;
      engine->cache_memory = 16384;
      engine->cache_files = 1;
      ASSERT_EQ(d4opt_start(engine), 0);
    }
  }
  void TearDown() override {
    engine->error_code = 0;
    d4init_undo(engine);
    EnvTest::TearDown();
  }

  // A table with the given fields and `count` records whose first field holds "R<n>".
  DbTable* MakeTable(const char* name, const std::vector<DbfFieldDef>& fields, int count = 0) {
    std::vector<DbfFieldDef> list = fields;
    list.push_back(DbfFieldDef{nullptr, 0, 0, 0});
    DbTable* table = d4create(engine, name, list.data(), nullptr);
    if (table == nullptr) return nullptr;
    for (int i = 1; i <= count; i++) {
      d4append_start(table, 0);
      d4blank(table);
      f4assign(d4field_j(table, 1), ("R" + std::to_string(i)).c_str());
      if (d4append(table) != 0) return nullptr;
    }
    d4unlock(table);
    return table;
  }
  static std::string FieldText(DbTable* table, int j) {
    DbField* field = d4field_j(table, j);
    return std::string(f4ptr(field), f4len(field));
  }
  bool CriticalShown(const std::string& part) const {
    for (const auto& s : screen.shown)
      if (s.what == "critical" && s.text.find(part) != std::string::npos) return true;
    return false;
  }

  FixedClock clock;
  RecordingScreenHook screen;
  DbEngine* engine = nullptr;
};

// Little-endian readers for checking bytes on disk independently of the engine.
inline unsigned Le16(const std::string& s, size_t at) {
  return (unsigned char)s[at] | (unsigned char)s[at + 1] << 8;
}
inline uint32_t Le32(const std::string& s, size_t at) {
  return Le16(s, at) | (uint32_t)Le16(s, at + 2) << 16;
}

// A reader written from the file format alone, sharing no code with the engine.
struct PlainDbf {
  struct Field {
    std::string name;
    char type;
    unsigned width, decimals, offset;
  };
  unsigned count = 0, header_length = 0, record_width = 0;
  std::vector<Field> fields;
  std::string bytes;

  explicit PlainDbf(const std::string& file) : bytes(file) {
    count = Le32(bytes, 4);
    header_length = Le16(bytes, 8);
    record_width = Le16(bytes, 10);
    unsigned offset = 1;
    for (size_t at = 32; bytes[at] != 0x0D; at += 32) {
      Field f;
      f.name = std::string(bytes.c_str() + at);
      f.type = bytes[at + 11];
      f.width = (unsigned char)bytes[at + 16];
      f.decimals = (unsigned char)bytes[at + 17];
      if (f.type == 'C') f.width |= f.decimals << 8, f.decimals = 0;
      f.offset = offset;
      offset += f.width;
      fields.push_back(f);
    }
  }
  std::string Value(unsigned record, unsigned field) const {
    const Field& f = fields[field];
    return bytes.substr(header_length + (record - 1) * record_width + f.offset, f.width);
  }
  char Mark(unsigned record) const { return bytes[header_length + (record - 1) * record_width]; }
};
