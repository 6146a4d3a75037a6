// The database engine against SQLite on the same work: bulk and shared
// appends (also with one key for every record), random seeks, a walk in tag
// order, key-changing writes, a reindex and a filtered scan; and character
// printing through the program's own path on the headless display against a
// plain write of the same bytes; the scan also against a 64 KiB pread loop
// over the table file. Prints, for each operation, both rates and
// their ratio (the median of five runs each), against SQLite set to do what
// the engine does: no sync where the engine does not sync, one sync a commit
// where it does, the same cache memory, every field of a record read on both sides.
//
//   bench_engine [--records=N] [--shared_records=N] [--cache_memory=BYTES] [--no_large] [--no_cache] [benchmark flags]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/bench_support.h"
#include "db/block_cache.h"
#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/reindex.h"
#include "env/session/environment.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "ui/desktop.h"
#include "ui/display.h"

namespace {

struct Options {
  long records = 100000;         // bulk append and the table the other operations use
  long shared_records = 2000;    // one locked, flushed append each
  long seeks = 100000;
  long writes = 10000;
  bool large = true;             // also a bulk append of 1,000,000 records
  bool cache = true;
  long cache_memory = 16384;     // the main program's setting
  long print_lines = 100000;     // lines of 132 characters: a printout of about 13 MB
};
Options options;

const DbfFieldDef kFields[] = {{"ID", 'N', 10, 0},    {"NAME", 'C', 20, 0}, {"CITY", 'C', 15, 0},
                               {"AMOUNT", 'N', 12, 2}, {"DATE", 'D', 8, 0},  {nullptr, 0, 0, 0}};
const DbfTagDef kTags[] = {{"ID", "ID", nullptr, 0, 0}, {"NAME", "NAME", nullptr, 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
const char* const kCities[] = {"Warszawa", "Krakow", "Gdansk", "Poznan", "Lodz", "Lublin", "Opole", "Torun"};

// Distinct names in an order unrelated to the record number.
std::string name_of(long i, long salt = 0) {
  unsigned long mixed = ((unsigned long)i * 2654435761ul + (unsigned long)salt * 40503ul) % 1000000007ul;
  char text[24];
  std::snprintf(text, sizeof text, "N%010lu%07ld", mixed, i % 10000000);
  return text;
}

void fail(const char* what) {
  std::fprintf(stderr, "bench_engine: %s failed\n", what);
  std::exit(2);
}

// ---- the engine

DbEngine* engine = nullptr;

struct Fields {
  DbField *id, *name, *city, *amount, *date;
};

Fields fields_of(DbTable* t) {
  return {d4field(t, "ID"), d4field(t, "NAME"), d4field(t, "CITY"), d4field(t, "AMOUNT"), d4field(t, "DATE")};
}

long text_length(DbField* f) {
  const char* text = f4ptr(f);
  long n = (long)f4len(f);
  while (n > 0 && text[n - 1] == ' ') n--;
  return n;
}

// Reads every field of the current record, as SQLite's side decodes every column.
long read_record(const Fields& f) {
  return f4long(f.id) + text_length(f.name) + text_length(f.city) + (long)f4double(f.amount) + text_length(f.date);
}

// Records of the equal-key case leave NAME blank, as goods without an EAN do.
bool blank_names = false;

void fill(DbTable* t, const Fields& f, long i) {
  d4blank(t);
  f4assign_long(f.id, i);
  if (!blank_names) f4assign(f.name, name_of(i).c_str());
  f4assign(f.city, kCities[i % 8]);
  f4assign_double(f.amount, (double)(i % 100000) / 100.0);
  f4assign(f.date, "20261210");
}

// Every table is cached, as the main program's opener does.
DbTable* engine_open(const char* name, bool exclusive) {
  engine->exclusive = exclusive;
  DbTable* t = d4open(engine, name);
  engine->exclusive = 0;
  if (t == nullptr) fail(name);
  d4optimize(t, 1);
  return t;
}

DbTable* engine_create(const char* name, bool exclusive) {
  std::filesystem::remove(std::string(name) + ".DBF");
  std::filesystem::remove(std::string(name) + ".MDX");
  engine->exclusive = exclusive;
  DbTable* t = d4create(engine, name, kFields, kTags);
  engine->exclusive = 0;
  if (t == nullptr) fail("d4create");
  d4optimize(t, 1);
  return t;
}

void engine_bulk(const char* name, long count) {
  DbTable* t = engine_create(name, true);
  Fields f = fields_of(t);
  for (long i = 1; i <= count; i++) {
    d4append_start(t, 0);
    fill(t, f, i);
    if (d4append(t) != 0) fail("d4append");
  }
  if (d4close(t) != 0) fail("d4close");
}

// The shared-mode protocol: lock table and index, append, flush, unlock.
void engine_shared(long count) {
  DbTable* t = engine_create("SHARED", false);
  Fields f = fields_of(t);
  for (long i = 1; i <= count; i++) {
    if (set_lock(t, -1) != 0) fail("set_lock");
    d4append_start(t, 0);
    fill(t, f, i);
    if (d4append(t) != 0 || d4flush(t) != 0) fail("shared append");
    if (d4unlock(t) != 0) fail("d4unlock");
  }
  d4close(t);
}

DbTable* base_table = nullptr;

DbTable* engine_base() {
  if (base_table != nullptr) return base_table;
  if (!std::filesystem::exists("BASE.DBF")) engine_bulk("BASE", options.records);
  base_table = engine_open("BASE", false);
  return base_table;
}

Fields scan_fields;
int even_records(intptr_t) { return f4long(scan_fields.id) % 2 == 0 ? X4_ACCEPT : X4_REJECT; }

// ---- SQLite

// How SQLite is set up for a side of the comparison.
enum Mode {
  NO_SYNC,     // synchronous=OFF: the engine does not sync outside the shared protocol
  DEFAULTS,    // SQLite as it comes (but for its cache, the engine's size)
  WAL_FULL,    // journal_mode=WAL, synchronous=FULL: one sync a commit, as the shared protocol's flush
  FWRITE,      // not SQLite: the printout's bytes written to a file as they are
  PREAD,       // not SQLite: the table file read from the page cache in 64 KiB preads
};
const char* const kModeNames[] = {"sqlite", "sqlite-default", "sqlite-wal-full", "fwrite", "pread-64k"};

void exec(sqlite3* db, const char* sql);

sqlite3* db_open(const char* file, Mode mode) {
  sqlite3* db = nullptr;
  if (sqlite3_open(file, &db) != SQLITE_OK) fail("sqlite3_open");
  // The same cache memory as the engine (cache_size in KiB when negative).
  std::string cache = "PRAGMA cache_size=-" + std::to_string(std::max(1l, options.cache_memory / 1024));
  exec(db, cache.c_str());
  if (mode == NO_SYNC) exec(db, "PRAGMA synchronous=OFF");
  if (mode == WAL_FULL) exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL");
  return db;
}

std::string pragma(sqlite3* db, const char* name) {
  std::string sql = std::string("PRAGMA ") + name;
  sqlite3_stmt* s = nullptr;
  std::string value = "?";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    value = (const char*)sqlite3_column_text(s, 0);
  sqlite3_finalize(s);
  return value;
}

// The journal and sync mode a connection of the mode really runs with.
std::string mode_text(Mode mode) {
  std::string file = std::string("mode") + std::to_string(mode) + ".db";
  std::filesystem::remove(file);
  sqlite3* db = db_open(file.c_str(), mode);
  std::string text = std::string(kModeNames[mode]) + ": journal_mode=" + pragma(db, "journal_mode") +
                     ", synchronous=" + pragma(db, "synchronous") + " (0 off, 1 normal, 2 full), cache_size=" +
                     pragma(db, "cache_size") + " (KiB when negative)";
  sqlite3_close(db);
  std::filesystem::remove(file);
  std::filesystem::remove(file + "-wal");
  std::filesystem::remove(file + "-shm");
  return text;
}

void exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", sql, error ? error : "");
    std::exit(2);
  }
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) fail(sql);
  return statement;
}

sqlite3* sqlite_create(const char* file, Mode mode) {
  std::filesystem::remove(file);
  std::filesystem::remove(std::string(file) + "-wal");
  std::filesystem::remove(std::string(file) + "-shm");
  sqlite3* db = db_open(file, mode);
  exec(db,
       "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, city TEXT, amount REAL, date TEXT);"
       "CREATE INDEX t_name ON t(name);");
  return db;
}

void sqlite_insert(sqlite3_stmt* insert, long i) {
  std::string name = blank_names ? std::string() : name_of(i);
  sqlite3_bind_int64(insert, 1, i);
  sqlite3_bind_text(insert, 2, name.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(insert, 3, kCities[i % 8], -1, SQLITE_STATIC);
  sqlite3_bind_double(insert, 4, (double)(i % 100000) / 100.0);
  sqlite3_bind_text(insert, 5, "20261210", -1, SQLITE_STATIC);
  if (sqlite3_step(insert) != SQLITE_DONE) fail("insert");
  sqlite3_reset(insert);
}

const char* kInsert = "INSERT INTO t VALUES(?,?,?,?,?)";

void sqlite_bulk(const char* file, long count, Mode mode) {
  sqlite3* db = sqlite_create(file, mode);
  sqlite3_stmt* insert = prepare(db, kInsert);
  exec(db, "BEGIN");
  for (long i = 1; i <= count; i++) sqlite_insert(insert, i);
  exec(db, "COMMIT");
  sqlite3_finalize(insert);
  sqlite3_close(db);
}

// One transaction per record, as each shared append is committed on its own.
void sqlite_shared(long count, Mode mode) {
  sqlite3* db = sqlite_create("shared.db", mode);
  sqlite3_stmt* insert = prepare(db, kInsert);
  for (long i = 1; i <= count; i++) sqlite_insert(insert, i);
  sqlite3_finalize(insert);
  sqlite3_close(db);
}

sqlite3* base_dbs[3] = {};
sqlite3* base_db = nullptr;     // the connection of the mode running now

sqlite3* sqlite_base(Mode mode) {
  if (base_dbs[mode] == nullptr) {
    if (!std::filesystem::exists("base.db")) sqlite_bulk("base.db", options.records, NO_SYNC);
    base_dbs[mode] = db_open("base.db", mode);
  }
  return base_db = base_dbs[mode];
}

// Reads every column of the row, as the engine hands out the whole record.
long read_row(sqlite3_stmt* s) {
  long sum = sqlite3_column_int64(s, 0);
  sum += (long)std::strlen((const char*)sqlite3_column_text(s, 1));
  sum += (long)std::strlen((const char*)sqlite3_column_text(s, 2));
  sum += (long)sqlite3_column_double(s, 3);
  sum += (long)std::strlen((const char*)sqlite3_column_text(s, 4));
  return sum;
}

// ---- the operations; each runs once and reports records per second

// The side a run measures: the engine, or SQLite in one of its modes.
struct Side {
  bool engine;
  Mode mode;
};
using Work = long (*)(Side side);

long op_bulk(Side s) {
  s.engine ? engine_bulk("BULK", options.records) : sqlite_bulk("bulk.db", options.records, s.mode);
  return options.records;
}

long op_bulk_large(Side s) {
  s.engine ? engine_bulk("LARGE", 1000000) : sqlite_bulk("large.db", 1000000, s.mode);
  return 1000000;
}

long op_bulk_equal(Side s) {
  blank_names = true;
  s.engine ? engine_bulk("EQUAL", options.records) : sqlite_bulk("equal.db", options.records, s.mode);
  blank_names = false;
  return options.records;
}

long op_shared(Side s) {
  s.engine ? engine_shared(options.shared_records) : sqlite_shared(options.shared_records, s.mode);
  return options.shared_records;
}

long op_seek(Side s) {
  std::mt19937 random(7);
  long found = 0;
  if (s.engine) {
    DbTable* t = base_table;
    Fields f = fields_of(t);
    d4tag_select(t, d4tag(t, "ID"));
    for (long j = 0; j < options.seeks; j++)
      if (d4seek_double(t, (double)(1 + (long)(random() % (unsigned long)options.records))) == 0 &&
          read_record(f) > 0)
        found++;
  } else {
    sqlite3_stmt* st = prepare(base_db, "SELECT * FROM t WHERE id = ?");
    for (long j = 0; j < options.seeks; j++) {
      sqlite3_bind_int64(st, 1, 1 + (long)(random() % (unsigned long)options.records));
      if (sqlite3_step(st) == SQLITE_ROW && read_row(st) > 0) found++;
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
  }
  if (found != options.seeks) fail("seek");
  return options.seeks;
}

long op_walk(Side s) {
  long count = 0;
  if (s.engine) {
    DbTable* t = base_table;
    Fields f = fields_of(t);
    d4tag_select(t, d4tag(t, "NAME"));
    for (int r = d4top(t); r == 0; r = d4skip(t, 1)) count += read_record(f) > 0;
  } else {
    sqlite3_stmt* st = prepare(base_db, "SELECT * FROM t ORDER BY name");
    while (sqlite3_step(st) == SQLITE_ROW) count += read_row(st) > 0;
    sqlite3_finalize(st);
  }
  if (count != options.records) fail("walk");
  return count;
}

long write_round = 0;

// Random records get a new NAME (the key of a tag): each on its own through
// the shared protocol (record lock, write, unlock) against one transaction
// per record (as many as the shared appends, since SQLite's defaults sync
// each), or all 10,000 under one lock of table and index against one transaction.
long key_changing_write(Side s, bool one_lock) {
  std::mt19937 random(11);
  long count = one_lock ? options.writes : std::min(options.writes, options.shared_records);
  long salt = ++write_round * options.writes;
  if (s.engine) {
    DbTable* t = base_table;
    d4tag_select(t, d4tag(t, "NAME"));
    DbField* name = d4field(t, "NAME");
    if (one_lock && d4lock_all(t) != 0) fail("d4lock_all");
    for (long j = 0; j < count; j++) {
      long n = 1 + (long)(random() % (unsigned long)options.records);
      if (d4go(t, n) != 0) fail("d4go");
      if (!one_lock && d4lock(t, n) != 0) fail("d4lock");
      f4assign(name, name_of(n, salt + j + 1).c_str());
      if (!one_lock && d4unlock(t) != 0) fail("d4unlock");
    }
    if (one_lock && d4unlock(t) != 0) fail("d4unlock");
  } else {
    sqlite3_stmt* st = prepare(base_db, "UPDATE t SET name = ? WHERE id = ?");
    if (one_lock) exec(base_db, "BEGIN");
    for (long j = 0; j < count; j++) {
      long n = 1 + (long)(random() % (unsigned long)options.records);
      std::string text = name_of(n, salt + j + 1);
      sqlite3_bind_text(st, 1, text.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(st, 2, n);
      if (sqlite3_step(st) != SQLITE_DONE) fail("update");
      sqlite3_reset(st);
    }
    if (one_lock) exec(base_db, "COMMIT");
    sqlite3_finalize(st);
  }
  return count;
}

long op_write_shared(Side s) { return key_changing_write(s, false); }
long op_write_locked(Side s) { return key_changing_write(s, true); }

long op_reindex(Side s) {
  if (s.engine) {
    // The rebuild leaves table and index locked; the scan after it runs unlocked.
    if (d4reindex(base_table) != 0 || d4unlock(base_table) != 0) fail("d4reindex");
  } else {
    exec(base_db, "REINDEX t");
  }
  return options.records;
}

// The table's bytes read as they lie, 64 KiB a read, counted in records of
// the table's width: what the scan would cost with nothing to do a record.
long pread_once() {
  static std::vector<char> buffer(65536);
  FILE* file = std::fopen("BASE.DBF", "rb");
  if (file == nullptr) fail("BASE.DBF");
  int fd = fileno(file);
  long total = 0;
  for (ssize_t got; (got = pread(fd, buffer.data(), buffer.size(), total)) > 0;) total += got;
  std::fclose(file);
  return total / (long)d4record_width(base_table);
}

long scan_once(Side s) {
  long accepted = 0;
  if (s.mode == PREAD) return pread_once();
  if (s.engine) {
    DbTable* t = base_table;
    d4tag_select(t, nullptr);
    scan_fields = fields_of(t);
    DbScanCtx scan;
    x4init(&scan, t, even_records, 0);
    for (int r = x4top(&scan); r == 0; r = x4skip(&scan, 1)) accepted += read_record(scan_fields) > 0;
  } else {
    sqlite3_stmt* st = prepare(base_db, "SELECT * FROM t WHERE id % 2 = 0");
    while (sqlite3_step(st) == SQLITE_ROW) accepted += read_row(st) > 0;
    sqlite3_finalize(st);
  }
  if (accepted != options.records / 2) fail("scan");
  return options.records;
}

// Repeated until half a second has passed, so that a fast side is timed over more than a blink.
long op_scan(Side s) {
  auto start = std::chrono::steady_clock::now();
  long done = 0;
  do {
    done += scan_once(s);
  } while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(500));
  return done;
}

// ---- printing

long display_polls = 0, printed_lines = 0;   // of the last print run

// A line of a register printout: 132 characters with Polish letters and frame pieces.
std::string print_line(long i) {
  char text[160];
  std::snprintf(text, sizeof text, "\xBA%6ld \xBA %-30s \xBA %-40s \xBA %12.2f \xBA %12.2f \xBA %12.2f", i,
                "FV/2026/000123 \x86\x8D\x92", "Przedsi\x91" "biorstwo Handlowe \x9E" "wiat", i * 1.25, i * 0.23,
                i * 1.48);
  return text;
}

// The program's character path (fwrite_spec, one look for a key per line,
// the code-page table) on the headless display, which counts its polls;
// against the same bytes written to a file as they are.
long op_print(Side s) {
  if (s.engine) {
    Printer = PrinterDefaults();
    Printer.family = PRN_EPSON9;
    Printer.mode = 1;
    Printer.codePage = 2;
    Printer.openOutput = 0;
    PrintJobState = PrintJob{};
    PrintJobState.output = std::fopen("print.prn", "wb");
    if (PrintJobState.output == nullptr || OpenPrintJob("BEN", "Bench") != 0) fail("print job");
    const long before = HeadlessPollCount();
    for (long i = 1; i <= options.print_lines; i++) {
      std::string line = print_line(i);
      conv_str(line.data(), (int)line.size());
      if (drukuj(line.c_str()) != 0 || drukuj_line_feed(1) != 0) fail("print");
    }
    display_polls = HeadlessPollCount() - before;
    printed_lines = options.print_lines;
    deinit_prn();
  } else {
    FILE* out = std::fopen("plain.prn", "wb");
    if (out == nullptr) fail("plain print");
    for (long i = 1; i <= options.print_lines; i++) {
      std::string line = print_line(i) + "\r\n";
      std::fwrite(line.data(), line.size(), 1, out);
    }
    std::fclose(out);
  }
  return options.print_lines;
}

// The engine's reads from the disk (through its cache) in the last run of each operation.
std::map<std::string, unsigned long> engine_reads;

void run(benchmark::State& state, Work work, Side side, bool needs_base, std::string name) {
  for (auto _ : state) {
    if (needs_base) {
      state.PauseTiming();
      side.engine || side.mode == PREAD ? (void)engine_base() : (void)sqlite_base(side.mode);
      state.ResumeTiming();
    }
    unsigned long reads = engine->cache.disk_reads;
    state.SetItemsProcessed(work(side));
    if (side.engine) engine_reads[name] = engine->cache.disk_reads - reads;
  }
}

struct Operation {
  std::string name;
  Work work;
  bool needs_base;
  Mode main, second;    // the peer's mode of the main figure and of the second line (the same: none)
};

std::string run_name(const Operation& op, Side side) {
  return (side.engine ? std::string("engine") : std::string(kModeNames[side.mode])) + "/" + op.name;
}

// Prints the side-by-side table of medians at the end.
class RatioReporter : public RateReporter {
 public:
  void Table(const std::vector<Operation>& operations) const {
    Heading("operation (records/s, median of 5)", "engine");
    for (const Operation& op : operations) {
      double e = Median(run_name(op, {true, NO_SYNC}));
      Line(op.name + " [" + kModeNames[op.main] + "]", e, Median(run_name(op, {false, op.main})));
      if (op.second != op.main)
        Line("  against " + std::string(kModeNames[op.second]), e, Median(run_name(op, {false, op.second})));
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> rest;
  for (int i = 0; i < argc; i++) {
    long value;
    if ((value = LongOption(argv[i], "--records=")) > 0) options.records = value;
    else if ((value = LongOption(argv[i], "--shared_records=")) > 0) options.shared_records = value;
    else if ((value = LongOption(argv[i], "--cache_memory=")) > 0) options.cache_memory = value;
    else if ((value = LongOption(argv[i], "--print_lines=")) > 0) options.print_lines = value;
    else if (std::strcmp(argv[i], "--no_large") == 0) options.large = false;
    else if (std::strcmp(argv[i], "--no_cache") == 0) options.cache = false;
    else rest.push_back(argv[i]);
  }
  options.seeks = std::min(options.seeks, options.records);
  options.writes = std::min(options.writes, options.records);
  int rest_count = (int)rest.size();
  benchmark::Initialize(&rest_count, rest.data());

  // A scratch directory that is the current one while the work runs.
  ScratchDir scratch("zelsal_bench_");
  static char program[] = "bench_engine";
  static char* env_argv[] = {program, nullptr};
  Environment* env = CreateEnvironment(1, env_argv);
  if (env == nullptr) fail("CreateEnvironment");
  engine = &env->engine;
  d4init(engine);
  engine->create_safety = 0;
  // The main program's start-up settings.
  engine->cache_buffer_size = 4096;
  engine->cache_memory = (int)options.cache_memory;
  engine->lock_tries = 5;
  if (options.cache && d4opt_start(engine) != 0) fail("d4opt_start");
  // The screen on the headless display, its hook installed, as printing in the program finds it.
  DisplaySelect(DisplayHeadless());
  HeadlessSetScript("");
  if (w4init_video(1) != 0) fail("w4init_video");

  std::string records = std::to_string(options.records);
  std::vector<Operation> operations = {{"append " + records, op_bulk, false, NO_SYNC, DEFAULTS}};
  if (options.large) operations.push_back({"append 1000000", op_bulk_large, false, NO_SYNC, DEFAULTS});
  operations.push_back({"append " + records + ", one NAME for all", op_bulk_equal, false, NO_SYNC, DEFAULTS});
  operations.push_back({"shared append " + std::to_string(options.shared_records), op_shared, false, WAL_FULL, DEFAULTS});
  operations.push_back({"seek " + std::to_string(options.seeks), op_seek, true, NO_SYNC, DEFAULTS});
  operations.push_back({"walk in tag order", op_walk, true, NO_SYNC, DEFAULTS});
  std::string each = std::to_string(std::min(options.writes, options.shared_records));
  operations.push_back({"key-changing write " + each + ", each locked", op_write_shared, true, NO_SYNC, DEFAULTS});
  operations.push_back({"key-changing write " + std::to_string(options.writes) + ", one lock", op_write_locked, true,
                        NO_SYNC, DEFAULTS});
  operations.push_back({"reindex both tags", op_reindex, true, NO_SYNC, DEFAULTS});
  operations.push_back({"filtered scan (half), unlocked", op_scan, true, NO_SYNC, PREAD});
  operations.push_back({"print " + std::to_string(options.print_lines) + " lines, window", op_print, false, FWRITE, FWRITE});
  for (const Operation& op : operations) {
    std::vector<Side> sides = {Side{true, NO_SYNC}, Side{false, op.main}};
    if (op.second != op.main) sides.push_back(Side{false, op.second});
    for (Side side : sides)
      FiveRuns(benchmark::RegisterBenchmark(run_name(op, side).c_str(), run, op.work, side, op.needs_base, op.name));
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Table(operations);
  std::printf("records %ld; engine cache %s (the program's own setting: 16384 bytes); SQLite's cache the same\n",
              options.records,
              options.cache ? (std::to_string(options.cache_memory) + " bytes, buffers of 4096").c_str() : "off");
  for (const auto& [name, reads] : engine_reads)
    std::printf("%s: %lu reads from the disk in the last run\n", name.c_str(), reads);
  if (printed_lines > 0)
    std::printf("print: %ld display polls for %ld lines (%.2f a line)\n", display_polls, printed_lines,
                (double)display_polls / (double)printed_lines);
  for (Mode mode : {NO_SYNC, DEFAULTS, WAL_FULL}) std::printf("%s\n", mode_text(mode).c_str());
  std::printf("the engine syncs only in the shared append (d4flush: the table; its index is synced at the close, "
              "a mark synced once beside it covering it until then)\n");

  w4init_undo();
  w4close_video(1);
  if (base_table != nullptr) d4close(base_table);
  for (sqlite3* db : base_dbs)
    if (db != nullptr) sqlite3_close(db);
  d4init_undo(engine);
  DeleteEnvironment(env);
  benchmark::Shutdown();
  return 0;
}
