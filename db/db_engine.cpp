#include "db/db_engine.h"

#include <cstring>

#include "db/block_cache.h"
#include "db/db_collation.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/dbf_table.h"
#include "db/reindex.h"
#include "env/code_pages.h"
#include "env/memory.h"

namespace {
// The one engine of the process, for the fatal stop.
DbEngine* current_engine = nullptr;
}  // namespace

void d4init(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4init()");
  std::memset(engine, 0, sizeof *engine);
  engine->default_unique_code = r4unique_continue;
  engine->block_size = 1024;
  engine->sort_memory = 61440;
  engine->sequential_buffer = 4096;
  engine->cache_buffer_size = 16384;
  engine->reserved_size1 = 512;
  engine->reserved_size2 = 1024;
  engine->table_pool_start = engine->table_pool_grow = 5;
  engine->index_pool_start = engine->index_pool_grow = 5;
  engine->tag_pool_start = engine->tag_pool_grow = 10;
  engine->block_pool_start = engine->block_pool_grow = 10;
  engine->cache_memory = 0x50000;
  engine->auto_open_index = 1;
  engine->report_create_errors = 1;
  engine->report_expression_errors = 1;
  engine->report_field_errors = 1;
  engine->report_read_errors = 1;
  engine->report_open_errors = 1;
  engine->cache_files = -1;
  engine->reserved_switch1 = 1;
  engine->create_safety = 1;
  engine->report_skip_errors = 1;
  engine->report_tag_errors = 1;
  engine->lock_tries = -1;
  engine->signature = DB_SIGNATURE;
  engine->check_index_blocks = 1;
  engine->cache_write_behind = -1;
  engine->reserved_switch2 = 1;
  for (int i = 0; i < 256; i++) db_collation_position[kDbCollation[i]] = (unsigned char)i;
  current_engine = engine;
  ErrSetFatalCleanup(db_engine_abandon);
}

int d4init_undo(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4init_undo()");
  d4opt_suspend(engine);
  d4close_all(engine);
  mem4drop(engine->index_pool);
  mem4drop(engine->fifth_pool);
  mem4drop(engine->table_pool);
  mem4drop(engine->tag_pool);
  engine->index_pool = engine->fifth_pool = engine->table_pool = engine->tag_pool = nullptr;
  free_mem(&engine->expr_buffer);
  free_mem(&engine->expr_buffer2);
  engine->expr_buffer_len = engine->expr_buffer2_len = 0;
  if (current_engine == engine) current_engine = nullptr;
  return engine->error_code;
}

int d4close_all(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4close_all()");
  int result = 0;
  DbTable* next = nullptr;
  for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr; table = next) {
    next = (DbTable*)l4next(&engine->open_tables, table);
    if (d4close(table) < 0) result = -1;
  }
  if (engine->error_code < 0) result = -1;
  return result;
}

DbTable* d4data(DbEngine* engine, const char* alias) {
  if (engine == nullptr || alias == nullptr) e4fatal_stop(e4parm, "d4data()");
  char wanted[12];
  std::strncpy(wanted, alias, 11);
  wanted[11] = 0;
  c4upper(wanted);
  DbTable* found = nullptr;
  for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr;
       table = (DbTable*)l4next(&engine->open_tables, table)) {
    if (std::strcmp(table->alias, wanted) != 0) continue;
    if (found != nullptr) e4fatal_stop(e4info, "!427!");
    found = table;
  }
  return found;
}

int d4opt_start(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4opt_start()");
  int was_running = engine->cache.started;
  if (d4opt_start_alloc(engine) < 0) return -1;
  // Tag blocks read before the start may be older than what the cache will hold.
  if (!was_running)
    for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr;
         table = (DbTable*)l4next(&engine->open_tables, table))
      d4free_blocks(table);
  return 0;
}

void d4opt_suspend(DbEngine* engine) {
  if (engine == nullptr) e4fatal_stop(e4parm, "d4opt_suspend()");
  opt4suspend(engine);
}

void db_engine_abandon() {
  DbEngine* engine = current_engine;
  if (engine == nullptr) return;
  current_engine = nullptr;    // a fatal stop met while abandoning must not loop
  opt4abandon(engine);
  DbTable* next = nullptr;
  for (DbTable* table = (DbTable*)l4first(&engine->open_tables); table != nullptr; table = next) {
    next = (DbTable*)l4next(&engine->open_tables, table);
    d4abandon(table);
  }
  current_engine = engine;
}
