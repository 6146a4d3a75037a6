// A firm's sales tables seeded by field name without a test framework, so
// that the test fixtures and the benchmarks seed the same records; each step
// gives what failed (a field the table lacks or the call), NULL when it went
// through.
#pragma once
#include <sys/stat.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/program_messages.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"

// Field values by name; numbers as digits.
using Fields = std::initializer_list<std::pair<const char*, std::string>>;

inline const char* AssignFields(DbTable* table, Fields fields) {
  for (const auto& [name, value] : fields) {
    DbField* field = d4field(table, name);
    if (field == nullptr) return name;
    if (f4type(field) == 'N')
      f4assign_double(field, std::stod(value));
    else
      f4assign(field, Utf8ToMazText(value.c_str()).c_str());
  }
  return nullptr;
}

// Appends a record of the fields; the table then stands on it.
inline const char* AppendFields(DbTable* table, Fields fields) {
  if (d4append_start(table, 0) != 0) return "d4append_start";
  d4blank(table);
  if (const char* missing = AssignFields(table, fields)) return missing;
  return d4append(table) == 0 ? nullptr : "d4append";
}

// A sales document: its header, with a buyer of its own, and its lines;
// kind, number and dates go into every line, `header` and each line's fields
// over them. The headers table then stands on the header.
inline const char* SeedSalesDocument(TableHandles& headers, TableHandles& rows, int rec, int kind, const char* prefix,
                                     const char* date, Fields header, std::initializer_list<Fields> lines) {
  std::string r = std::to_string(rec), k = std::to_string(kind);
  const char* failed = AppendFields(headers.table, {{"REC", r}, {"TYV", k}, {"PRE", prefix}, {"NRV", r},
                                                    {"DAW", date}, {"DAV", date}, {"DAS", date},
                                                    {"NA1", "Kontrahent " + r}, {"NIP", "526000123" + r},
                                                    {"KOP", "25-001"}, {"MIA", "Kielce"}});
  if (failed || (failed = AssignFields(headers.table, header))) return failed;
  if (d4write(headers.table, d4recno(headers.table)) != 0) return "d4write";
  for (const Fields& line : lines) {
    failed = AppendFields(rows.table, {{"REK", r}, {"TYV", k}, {"PRE", prefix}, {"NRV", r}, {"DAW", date},
                                       {"DAV", date}, {"STM", "1"}, {"CSS", "T"}});
    if (failed || (failed = AssignFields(rows.table, line))) return failed;
    if (d4write(rows.table, d4recno(rows.table)) != 0) return "d4write";
  }
  return nullptr;
}

// The firm of working year 2026 in dir + "firma/", the current directory,
// with the main register's headers and lines open and `context` current;
// the engine is started by the caller.
inline const char* OpenSalesFirm(Environment* env, const std::string& dir, kontekst_sprzedazy* context) {
  RegisterProgramMessages();
  env->settlementYear = 2026;
  if (mkdir((dir + "firma").c_str(), 0775) != 0) return "mkdir";
  TransDir(EnvFromDiskPath(dir + "firma/").c_str(), &env->dataPath);
  if (ChangeDir(&env->dataPath, 0, 0) != 0) return "ChangeDir";
  if (OpenZ5SPRZ(0, 0, SALES_MAIN) != 0) return "OpenZ5SPRZ";
  if (OpenZ5SPRE(0, 0, SALES_MAIN) != 0) return "OpenZ5SPRE";
  *context = kontekst_sprzedazy{};
  context->rejestr = 1;
  std::memcpy(context->workingDate, "20261210", 8);
  salesContext = context;
  return nullptr;
}
