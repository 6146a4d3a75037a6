// A record of text and number fields held in memory, without a table file,
// for the routines that read fields of the current record.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/dbf_table.h"

class MemoryRecord {
 public:
  struct Column {
    const char* name;
    int type;
    unsigned width;
    int decimals;
  };
  explicit MemoryRecord(std::vector<Column> columns) : fields(columns.size()) {
    int offset = 1;
    for (size_t i = 0; i < columns.size(); i++) {
      DbField& f = fields[i];
      std::strncpy(f.name, columns[i].name, sizeof f.name - 1);
      f.type = columns[i].type;
      f.width = columns[i].width;
      f.decimals = columns[i].decimals;
      f.offset = offset;
      f.table = &table;
      offset += static_cast<int>(f.width);
    }
    record.assign(static_cast<size_t>(offset) + 1, ' ');
    table.engine = &engine;
    table.record = record.data();
    table.record_width = static_cast<unsigned>(offset);
    table.fields = fields.data();
    table.field_count = static_cast<int>(fields.size());
  }
  DbField* operator[](size_t i) { return &fields[i]; }
  // Writes the text into the field, blank-padded (or cut) to its width.
  void Set(size_t i, const std::string& text) {
    std::string bytes = text;
    bytes.resize(fields[i].width, ' ');
    bytes.copy(record.data() + fields[i].offset, bytes.size());
  }
  // Writes the number right-aligned in the field.
  void SetNumber(size_t i, long number) {
    std::string digits = std::to_string(number);
    Set(i, std::string(fields[i].width - digits.size(), ' ') + digits);
  }

 private:
  DbEngine engine{};
  DbTable table{};
  std::vector<DbField> fields;
  std::string record;
};
