// The .MDX file: creating, opening and releasing an index, its header and
// tag headers, the free list, the refresh of a shared index, tag lookups.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "db/block_cache.h"
#include "db/change_mark.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/expr.h"
#include "db/index_keys.h"
#include "db/mdx_layout.h"
#include "db/reindex.h"
#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/memory.h"

namespace {

Environment* env_of(DbEngine* engine) { return reinterpret_cast<Environment*>(engine); }

unsigned units_of(const DbIndex* index) { return GetLe16(index->header + MDX_H_UNITS); }
unsigned bytes_of(const DbIndex* index) { return GetLe16(index->header + MDX_H_BLOCK_BYTES); }
unsigned tag_count_of(const DbIndex* index) { return GetLe16(index->header + MDX_H_TAG_COUNT); }
long next_block_of(const DbIndex* index) { return (long)GetLe32(index->header + MDX_H_NEXT_BLOCK); }

// The base name of a path, upper case, without directory and extension.
void base_name(char* out, int size, const char* path) { u4name_piece(out, size, path, 0, 0); }

// Trims trailing blanks and zeros of a fixed text into a terminated string.
void fixed_text(char* out, const unsigned char* bytes, int length) {
  std::memcpy(out, bytes, (size_t)length);
  out[length] = 0;
  int n = (int)std::strlen(out);
  while (n > 0 && out[n - 1] == ' ') out[--n] = 0;
}

// `out` holds at least 11 bytes: a name is cut to 10 characters and always ended.
void upper_name(char* out, const char* name) {
  size_t length = strnlen(name, 10);
  std::memcpy(out, name, length);
  out[length] = 0;
  int n = (int)length;
  while (n > 0 && out[n - 1] == ' ') out[--n] = 0;
  c4upper(out);
}

bool header_sane(const unsigned char* h, long file_length) {
  unsigned units = GetLe16(h + MDX_H_UNITS);
  unsigned count = GetLe16(h + MDX_H_TAG_COUNT);
  long next = (long)GetLe32(h + MDX_H_NEXT_BLOCK);
  if (units < 1 || units > 63 || GetLe16(h + MDX_H_BLOCK_BYTES) != units * MDX_UNIT) return false;
  if (count > (unsigned)MDX_MAX_TAGS || next <= 0) return false;
  // The tag headers lie inside the file and below the next unused block.
  long tags_end = MDX_FIRST_TAG_BLOCK + (long)count * units;
  return next >= tags_end && tags_end * MDX_UNIT <= file_length;
}

// Reads the 48-byte header; 0, or -310 reported when it is not an index header.
int read_header(DbIndex* index) {
  unsigned char h[MDX_HEADER_SIZE];
  if (file4read_all(&index->file, 0, h, sizeof h) < 0) return -1;
  // The length known is a lower bound; another workstation may have grown the file.
  if (!header_sane(h, index->file.length_known)) {
    long length = file4len(&index->file);
    if (length < 0) return -1;
    index->file.length_known = std::max(index->file.length_known, length);
    if (!header_sane(h, length)) return i4damaged(index);
  }
  std::memcpy(index->header, h, sizeof h);
  index->free_list_checked = 0;
  return 0;
}

DbTag* new_tag(DbIndex* index) {
  DbEngine* engine = index->engine;
  DbTag* tag = (DbTag*)mem4pool_alloc(env_of(engine), &engine->tag_pool, engine->tag_pool_start, sizeof(DbTag),
                                      engine->tag_pool_grow, 0);
  if (tag == nullptr) return nullptr;
  std::memset(tag, 0, sizeof *tag);
  tag->index = index;
  tag->engine = engine;
  tag->unique_code = engine->default_unique_code;
  tag->compare = c4collate_compare;
  l4add(&index->tags, tag);
  return tag;
}

void free_tag(DbIndex* index, DbTag* tag) {
  u4free(tag->held);
  u4free(tag->expr);
  u4free(tag->filter);
  if (index->tags.selected == &tag->link) index->tags.selected = nullptr;
  l4remove(&index->tags, tag);
  mem4free(index->engine->tag_pool, tag);
}

DbIndex* new_index(DbTable* table) {
  DbEngine* engine = table->engine;
  DbIndex* index = (DbIndex*)mem4pool_alloc(env_of(engine), &engine->index_pool, engine->index_pool_start,
                                            sizeof(DbIndex), engine->index_pool_grow, 0);
  if (index == nullptr) return nullptr;
  std::memset(index, 0, sizeof *index);
  index->table = table;
  index->engine = engine;
  index->file.handle = PLAT_NO_FILE;
  index->view = engine->cache.view;
  return index;
}

int make_block_pool(DbIndex* index) {
  DbEngine* engine = index->engine;
  index->block_pool = mem4create(env_of(engine), engine->block_pool_start, (int)(sizeof(DbBlock) + bytes_of(index)),
                                 engine->block_pool_grow, 0);
  return index->block_pool == nullptr ? -1 : 0;
}

// Frees the handle without writing anything; with `remove` the file goes too.
void discard_index(DbIndex* index, bool remove) {
  DbTable* table = index->table;
  for (DbTag* tag = (DbTag*)l4last(&index->tags); tag != nullptr; tag = (DbTag*)l4last(&index->tags)) {
    for (DbBlock* b = (DbBlock*)l4pop(&tag->blocks); b != nullptr; b = (DbBlock*)l4pop(&tag->blocks))
      mem4free(index->block_pool, b);
    for (DbBlock* b = (DbBlock*)l4pop(&tag->spare_blocks); b != nullptr; b = (DbBlock*)l4pop(&tag->spare_blocks))
      mem4free(index->block_pool, b);
    free_tag(index, tag);
  }
  mem4drop(index->block_pool);
  index->block_pool = nullptr;
  if (table->indexes.selected == &index->link) table->indexes.selected = nullptr;
  if (l4contains(&table->indexes, index)) l4remove(&table->indexes, index);
  if (remove) index->file.delete_on_close = 1;
  if (index->file.handle != PLAT_NO_FILE || index->file.is_open) file4close(&index->file);
  mem4free(index->engine->index_pool, index);
}

// The index of the table with the same base name, or NULL.
DbIndex* same_base(DbTable* table, const char* file_name, bool* same_full) {
  char wanted[260], have[260];
  base_name(wanted, sizeof wanted, file_name);
  *same_full = false;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index)) {
    base_name(have, sizeof have, index->file.name);
    if (std::strcmp(have, wanted) != 0) continue;
    char full[260];
    std::snprintf(full, sizeof full, "%s", file_name);
    c4upper(full);
    char other[260];
    std::snprintf(other, sizeof other, "%s", index->file.name);
    c4upper(other);
    *same_full = std::strcmp(full, other) == 0;
    return index;
  }
  return nullptr;
}

void index_file_name(char* out, int size, DbTable* table, const char* name) {
  if (name != nullptr) {
    std::snprintf(out, (size_t)size, "%s", name);
    u4name_ext(out, size, "MDX", 0);
  } else {
    std::snprintf(out, (size_t)size, "%s", table->file.name);
    u4name_ext(out, size, "MDX", 1);
  }
}

// Compiles a definition's key and filter into a new tag.
int define_tag(DbIndex* index, const DbfTagDef* def) {
  DbTag* tag = new_tag(index);
  if (tag == nullptr) return -1;
  upper_name(tag->name, def->name);
  unsigned char format = MDX_FORMAT_BASE;
  if (def->unique != 0) {
    if (def->unique != r4unique && def->unique != r4unique_continue && def->unique != e4unique)
      e4fatal_stop(e4parm, "!470!");
    format |= MDX_FORMAT_UNIQUE;
    PutLe16(tag->header + MDX_T_UNIQUE, MDX_UNIQUE_FLAG);
  }
  tag->unique_code = def->unique;
  if (def->descending != 0) {
    if (def->descending != 10) e4fatal_stop(e4parm, "!458!");
    format |= MDX_FORMAT_DESCENDING;
  }
  if (def->key == nullptr) e4fatal_stop(e4parm, "!468!");
  tag->header[MDX_T_FORMAT] = format;
  tag->expr = expr4parse(index->table, def->key);
  if (tag->expr == nullptr) return -1;
  if (def->filter != nullptr && def->filter[0] != 0) {
    tag->filter = expr4parse(index->table, def->filter);
    if (tag->filter == nullptr) return -1;
  }
  return 0;
}

// Trimmed text of an expression as stored.
void expr_text(char* out, DbExpr* expr) {
  std::snprintf(out, MDX_T_TEXT_READ + 1, "%s", expr4source(expr));
  int n = (int)std::strlen(out);
  while (n > 0 && out[n - 1] == ' ') out[--n] = 0;
}

bool differs(const DbTag* tag, const DbfTagDef* def) {
  char have[MDX_T_TEXT_READ + 1], want[MDX_T_TEXT_READ + 1];
  expr_text(have, tag->expr);
  std::snprintf(want, sizeof want, "%s", def->key ? def->key : "");
  for (int n = (int)std::strlen(want); n > 0 && want[n - 1] == ' ';) want[--n] = 0;
  if (std::strcmp(have, want) != 0) return true;
  // Definitions always carry a filter, so a tag without one differs.
  if (tag->filter == nullptr) return true;
  expr_text(have, tag->filter);
  std::snprintf(want, sizeof want, "%s", def->filter ? def->filter : "");
  for (int n = (int)std::strlen(want); n > 0 && want[n - 1] == ' ';) want[--n] = 0;
  if (std::strcmp(have, want) != 0) return true;
  return (def->descending != 0) != (t4descending(tag) != 0);
}

// The position of every free-list block is checked, and the walk is bounded
// by the number of blocks in the file, so a cycle cannot loop for ever.
int check_free_list(DbIndex* index) {
  long next = next_block_of(index);
  long first = MDX_FIRST_TAG_BLOCK + (long)tag_count_of(index) * units_of(index);
  long limit = next / (long)units_of(index) + 1;
  long block = (long)GetLe32(index->header + MDX_H_FREE_LIST);
  for (long steps = 0; block != 0; steps++) {
    if (steps > limit || block < first || block + (long)units_of(index) > next) return i4damaged(index);
    unsigned char link[4];
    if (file4read_all(&index->file, block * MDX_UNIT + MDX_B_FREE_LINK, link, 4) < 0) return -1;
    block = (long)GetLe32(link);
  }
  index->free_list_checked = 1;
  return 0;
}

}  // namespace

int i4damaged(DbIndex* index) {
  return e4show_error(index->engine, e4index_other, index->file.name ? index->file.name : "");
}

unsigned t4key_len(const DbTag* tag) { return GetLe16(tag->header + MDX_T_KEY_LEN); }
unsigned t4group_len(const DbTag* tag) { return GetLe16(tag->header + MDX_T_GROUP_LEN); }
unsigned t4keys_per_block(const DbTag* tag) { return GetLe16(tag->header + MDX_T_KEYS_PER_BLOCK); }
int t4unique(const DbTag* tag) { return GetLe16(tag->header + MDX_T_UNIQUE) != 0; }
int t4descending(const DbTag* tag) { return (tag->header[MDX_T_FORMAT] & MDX_FORMAT_DESCENDING) != 0; }
int t4type(const DbTag* tag) { return tag->header[MDX_T_KEY_TYPE]; }

void t4changed(DbTag* tag) {
  db_mark_change(tag->index->table);
  tag->index->header_changed = 1;
  tag->header_changed = 1;
  tag->header[MDX_T_COUNTER]++;
}

DbIndex* i4create(DbTable* table, const char* name, const DbfTagDef* tags) {
  if (table == nullptr || tags == nullptr) e4fatal_stop(e4parm, "i4create()");
  DbEngine* engine = table->engine;
  char file_name[260];
  index_file_name(file_name, sizeof file_name, table, name);
  bool same_full = false;
  if (same_base(table, file_name, &same_full) != nullptr) {
    e4show_error(engine, e4info, "!440!");
    return nullptr;
  }
  if (engine->error_code < 0) return nullptr;
  engine->error_code = 0;

  int cache_ran = engine->cache.started;
  d4opt_suspend(engine);
  auto leave = [&](DbIndex* result) {
    if (cache_ran) d4opt_start(engine);
    return result;
  };
  if (d4lock_file(table) != 0) return leave(nullptr);

  DbIndex* index = new_index(table);
  if (index == nullptr) return leave(nullptr);
  int created = file4create(&index->file, engine, file_name, 1);
  if (created != 0) {
    if (created > 0) engine->error_code = created;
    mem4free(engine->index_pool, index);
    return leave(nullptr);
  }
  l4add(&table->indexes, index);

  unsigned char* h = index->header;
  h[MDX_H_VERSION] = 2;
  date4today_bytes(h + MDX_H_CREATED);
  h[MDX_H_PRODUCTION] = name == nullptr ? 1 : 0;
  h[25] = 48;
  PutLe16(h + 26, 32);
  char base[260];
  base_name(base, sizeof base, table->file.name);
  std::memcpy(h + MDX_H_NAME, base, std::min<size_t>(std::strlen(base), 12));
  int units = engine->block_size / MDX_UNIT;
  if (units < 2 || units > 63) e4fatal_stop(e4info, "!415!");
  PutLe16(h + MDX_H_UNITS, (unsigned)units);
  PutLe16(h + MDX_H_BLOCK_BYTES, (unsigned)units * MDX_UNIT);

  int count = 0;
  bool failed = false;
  for (const DbfTagDef* def = tags; def->name != nullptr; def++, count++) {
    if (count >= MDX_MAX_TAGS) e4fatal_stop(e4parm, "!469!");
    if (define_tag(index, def) != 0) {
      failed = true;
      break;
    }
  }
  PutLe16(h + MDX_H_TAG_COUNT, (unsigned)count);
  if (!failed && make_block_pool(index) != 0) failed = true;
  if (!failed) {
    int rebuilt = i4reindex(index);
    if (rebuilt == r4unique || rebuilt < 0) {
      engine->error_code = r4unique;
      failed = true;
    }
  }
  if (failed) {
    // A half-built index would be opened later as if it were whole; and a
    // table must not claim a production index that is no longer there.
    if (index->locked) file4unlock(&index->file, DB_LOCK_INDEX, 1);
    discard_index(index, true);
    if (name == nullptr && table->has_mdx) {
      int saved = e4set_code(engine, 0);
      const unsigned char zero = 0;
      if (file4write(&table->file, 28, &zero, 1) == 0) table->has_mdx = 0;
      e4set_code(engine, saved);
    }
    return leave(nullptr);
  }
  if (name == nullptr) {
    table->has_mdx = 1;
    const unsigned char one = 1;
    file4write(&table->file, 28, &one, 1);
  }
  if (engine->cache_files != 0) file4optimize(&index->file, engine->cache_files, DB_CACHE_INDEX);
  return leave(index);
}

DbIndex* i4open(DbTable* table, const char* name, const DbfTagDef* defs) {
  if (table == nullptr) e4fatal_stop(e4parm, "i4open()");
  DbEngine* engine = table->engine;
  if (engine->error_code < 0) return nullptr;
  char file_name[260];
  index_file_name(file_name, sizeof file_name, table, name);
  bool same_full = false;
  if (same_base(table, file_name, &same_full) != nullptr) {
    if (same_full) e4fatal_stop(e4parm, "!461!");
    e4show_error(engine, e4info, "!440!");
    return nullptr;
  }
  DbIndex* index = new_index(table);
  if (index == nullptr) return nullptr;
  if (file4open(&index->file, engine, file_name, 1) != 0) {
    mem4free(engine->index_pool, index);
    return nullptr;
  }
  l4add(&table->indexes, index);
  if (read_header(index) != 0) {
    discard_index(index, false);
    return nullptr;
  }
  unsigned count = tag_count_of(index);
  unsigned char entries[MDX_MAX_TAGS * MDX_TAG_ENTRY_SIZE];
  if (file4read_all(&index->file, MDX_TAG_TABLE_POS, entries, sizeof entries) != 0) {
    discard_index(index, false);
    return nullptr;
  }
  if (defs != nullptr) {
    unsigned wanted = 0;
    while (defs[wanted].name != nullptr) wanted++;
    if (wanted != count) {
      discard_index(index, false);
      return I4OPEN_DIFFERS;
    }
  }
  if (make_block_pool(index) != 0) {
    discard_index(index, false);
    return nullptr;
  }
  for (unsigned i = 0; i < count; i++) {
    DbTag* tag = new_tag(index);
    if (tag == nullptr || t4init(tag, index, entries + i * MDX_TAG_ENTRY_SIZE) != 0) {
      discard_index(index, false);
      return nullptr;
    }
    if (defs != nullptr && differs(tag, &defs[i])) {
      discard_index(index, false);
      return I4OPEN_DIFFERS;
    }
  }
  if (engine->cache_files != 0) file4optimize(&index->file, engine->cache_files, DB_CACHE_INDEX);
  return index;
}

int t4init(DbTag* tag, DbIndex* index, const unsigned char* entry) {
  DbEngine* engine = index->engine;
  tag->unique_code = engine->default_unique_code;
  tag->compare = c4collate_compare;
  long header_block = (long)GetLe32(entry + MDX_E_HEADER_BLOCK);
  long tags_end = MDX_FIRST_TAG_BLOCK + (long)tag_count_of(index) * units_of(index);
  if (header_block < MDX_FIRST_TAG_BLOCK || header_block + (long)units_of(index) > tags_end) return i4damaged(index);
  tag->header_pos = header_block * MDX_UNIT;
  unsigned char head[MDX_T_FILTER + MDX_T_TEXT_READ];
  if (file4read_all(&index->file, tag->header_pos, head, sizeof head) != 0) return -1;
  std::memcpy(tag->header, head, sizeof tag->header);
  // Every size of the tag header must agree, or a block would be read past its end.
  unsigned key_len = t4key_len(tag), bytes = bytes_of(index);
  int type = tag->header[MDX_T_KEY_TYPE];
  if ((type != 'C' && type != 'D' && type != 'N') || key_len < 1 || key_len > (unsigned)DB_KEY_MAX ||
      t4group_len(tag) != mdx_group_len(key_len) ||
      t4keys_per_block(tag) != (bytes - MDX_BLOCK_RESERVE) / mdx_group_len(key_len) || t4keys_per_block(tag) < 3)
    return i4damaged(index);
  PutLe32(tag->header + MDX_T_ROOT, 0xFFFFFFFFu);

  char name[12];
  fixed_text(name, entry + MDX_E_NAME, 11);
  upper_name(tag->name, name);

  char text[MDX_T_TEXT_READ + 1];
  fixed_text(text, head + MDX_T_EXPR, MDX_T_TEXT_READ);
  tag->expr = expr4parse(index->table, text);
  if (tag->expr == nullptr) return -1;
  if ((unsigned)expr4key_len(tag->expr) != key_len) return i4damaged(index);
  // A rebuild takes the key type from the expression: one that no key can
  // have (a logical) would stop the program there.
  int expr_type = expr4type(tag->expr);
  if (expr_type != 'C' && expr_type != 'D' && expr_type != 'N' && expr_type != 'd' && expr_type != 'n')
    return i4damaged(index);
  t4set_key_type(tag, type);

  fixed_text(text, head + MDX_T_FILTER, MDX_T_TEXT_READ);
  if (head[MDX_T_HAS_FILTER] == 1 && text[0] != 0) {
    tag->has_keys = tag->has_keys_disk = head[MDX_T_HAS_KEYS] == 1;
    tag->filter = expr4parse(index->table, text);
    if (tag->filter == nullptr) return -1;
    if (expr4type(tag->filter) != 'L')
      return e4show_error(engine, e4index_other, "!103!", index->file.name);
  }
  return 0;
}

int i4release(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4release()");
  DbEngine* engine = index->engine;
  int saved = engine->error_code;
  engine->error_code = 0;
  int first = 0;
  auto collect = [&](int result) {
    if (first == 0 && (result < 0 || engine->error_code < 0)) first = engine->error_code < 0 ? engine->error_code : -1;
    engine->error_code = 0;
  };
  int tries = engine->lock_tries;
  engine->lock_tries = -1;
  collect(d4update(index->table));
  collect(i4update(index));
  collect(i4unlock(index));
  engine->lock_tries = tries;
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag))
    collect(t4free_all(tag));
  discard_index(index, false);
  engine->error_code = first < 0 ? first : saved;
  return first;
}

DbTag* i4tag(DbIndex* index, const char* name) {
  if (index == nullptr || name == nullptr) e4fatal_stop(e4parm, "i4tag()");
  char wanted[11];
  upper_name(wanted, name);
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag))
    if (std::strcmp(tag->name, wanted) == 0) return tag;
  if (index->engine->report_tag_errors) e4show_error(index->engine, e4tag_name, name);
  return nullptr;
}

DbTag* d4tag(DbTable* table, const char* name) {
  if (table == nullptr || name == nullptr) e4fatal_stop(e4parm, "d4tag()");
  char wanted[11];
  upper_name(wanted, name);
  for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr; tag = d4tag_next(table, tag))
    if (std::strcmp(tag->name, wanted) == 0) return tag;
  if (table->engine->report_tag_errors) e4show_error(table->engine, e4tag_name, name);
  return nullptr;
}

DbTag* d4tag_selected(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4tag_selected()");
  DbIndex* index = (DbIndex*)table->indexes.selected;
  return index ? (DbTag*)index->tags.selected : nullptr;
}

DbTag* d4tag_default(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4tag_default()");
  DbTag* tag = d4tag_selected(table);
  return tag ? tag : d4tag_next(table, nullptr);
}

DbTag* d4tag_next(DbTable* table, DbTag* tag) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4tag_next()");
  DbIndex* index = (DbIndex*)l4first(&table->indexes);
  if (tag != nullptr) {
    DbTag* next = (DbTag*)l4next(&tag->index->tags, tag);
    if (next != nullptr) return next;
    index = (DbIndex*)l4next(&table->indexes, tag->index);
  }
  for (; index != nullptr; index = (DbIndex*)l4next(&table->indexes, index))
    if (l4first(&index->tags) != nullptr) return (DbTag*)l4first(&index->tags);
  return nullptr;
}

DbTag* d4tag_prev(DbTable* table, DbTag* tag) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4tag_prev()");
  DbIndex* index = (DbIndex*)l4last(&table->indexes);
  if (tag != nullptr) {
    DbTag* prev = (DbTag*)l4prev(&tag->index->tags, tag);
    if (prev != nullptr) return prev;
    index = (DbIndex*)l4prev(&table->indexes, tag->index);
  }
  for (; index != nullptr; index = (DbIndex*)l4prev(&table->indexes, index))
    if (l4last(&index->tags) != nullptr) return (DbTag*)l4last(&index->tags);
  return nullptr;
}

void d4tag_select(DbTable* table, DbTag* tag) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4tag_select()");
  if (tag == nullptr) {
    table->indexes.selected = nullptr;
    return;
  }
  if (!l4contains(&table->indexes, tag->index) || !l4contains(&tag->index->tags, tag))
    e4fatal_stop(e4parm, "d4tag_select()");
  table->indexes.selected = &tag->index->link;
  tag->index->tags.selected = &tag->link;
}

DbIndex* d4index(DbTable* table, const char* name) {
  if (table == nullptr || name == nullptr) e4fatal_stop(e4parm, "d4index()");
  char wanted[260], have[260];
  u4name_piece(wanted, sizeof wanted, name, 1, 0);
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4next(&table->indexes, index)) {
    u4name_piece(have, sizeof have, index->file.name, 1, 0);
    if (std::strcmp(have, wanted) == 0) return index;
  }
  return nullptr;
}

long i4extend(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4extend()");
  if (index->engine->error_code < 0) return -1;
  unsigned char* h = index->header;
  long head = (long)GetLe32(h + MDX_H_FREE_LIST);
  index->header_changed = 1;
  if (head == 0) {
    long block = next_block_of(index);
    PutLe32(h + MDX_H_NEXT_BLOCK, (uint32_t)(block + (long)units_of(index)));
    return block;
  }
  if (!index->free_list_checked && check_free_list(index) != 0) return -1;
  unsigned char link[4];
  if (file4read_all(&index->file, head * MDX_UNIT + MDX_B_FREE_LINK, link, 4) != 0) return -1;
  PutLe32(h + MDX_H_FREE_LIST, GetLe32(link));
  return head;
}

int i4shrink(DbIndex* index, long block) {
  if (index == nullptr || block <= 0) e4fatal_stop(e4parm, "i4shrink()");
  unsigned char link[4];
  std::memcpy(link, index->header + MDX_H_FREE_LIST, 4);
  if (file4write(&index->file, block * MDX_UNIT + MDX_B_FREE_LINK, link, 4) != 0) return -1;
  PutLe32(index->header + MDX_H_FREE_LIST, (uint32_t)block);
  index->header_changed = 1;
  return 0;
}

int i4update_header(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4update_header()");
  if (index->engine->error_code < 0) return -1;
  if (index->header_changed) {
    PutLe32(index->header + MDX_H_CHANGES, GetLe32(index->header + MDX_H_CHANGES) + 1);
    if (file4write(&index->file, 0, index->header, MDX_HEADER_SIZE) != 0) return -1;
    index->header_changed = 0;
  }
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag)) {
    if (!tag->header_changed) continue;
    tag->header[MDX_T_COUNTER]++;
    if (file4write(&index->file, tag->header_pos + MDX_T_COUNTER, tag->header + MDX_T_COUNTER, 1) != 0) return -1;
    if (tag->has_keys != tag->has_keys_disk) {
      if (file4write(&index->file, tag->header_pos + MDX_T_HAS_KEYS, &tag->has_keys, 1) != 0) return -1;
      tag->has_keys_disk = tag->has_keys;
    }
    tag->header_changed = 0;
  }
  return 0;
}

int i4update(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4update()");
  if (index->engine->error_code < 0) return -1;
  if (!i4lock_test(index)) return 0;
  if (i4update_header(index) != 0) return -1;
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag)) {
    // Blocks kept while the lock lasts may be changed by others once it is gone.
    if ((index->file.exclusive ? t4update(tag) : t4release_spares(tag)) != 0) return -1;
    // Another workstation may move the root once the lock is gone.
    PutLe32(tag->header + MDX_T_ROOT, 0xFFFFFFFFu);
  }
  return 0;
}

int i4flush(DbIndex* index) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4flush()");
  int result = i4update(index);
  if (file4flush(&index->file) != 0) result = -1;
  return result;
}

int i4header_unchanged(DbIndex* index) {
  DbEngine* engine = index->engine;
  unsigned char h[MDX_HEADER_SIZE];
  unsigned char read_through = engine->cache.read_through;
  engine->cache.read_through = 1;
  int read = file4read_all(&index->file, 0, h, sizeof h);
  engine->cache.read_through = read_through;
  if (read != 0) return -1;
  return std::memcmp(h, index->header, sizeof h) == 0 ? 1 : 0;
}

int i4version_check(DbIndex* index, int reseek) {
  if (index == nullptr) e4fatal_stop(e4parm, "i4version_check()");
  DbEngine* engine = index->engine;
  if (engine->error_code < 0) return -1;
  if (index->file.read_only || index->locked || index->file.exclusive) return 0;
  // What another workstation wrote comes from the disk, not from the cache.
  unsigned char read_through = engine->cache.read_through;
  engine->cache.read_through = 1;
  int read = read_header(index);
  for (DbTag* tag = (DbTag*)l4first(&index->tags); read == 0 && tag != nullptr;
       tag = (DbTag*)l4next(&index->tags, tag)) {
    unsigned char counter, has_keys;
    if (file4read_all(&index->file, tag->header_pos + MDX_T_COUNTER, &counter, 1) != 0) {
      read = -1;
      break;
    }
    tag->header[MDX_T_COUNTER] = counter;
    // Only a filtered tag keeps the has-keys byte.
    if (tag->filter == nullptr) continue;
    if (file4read_all(&index->file, tag->header_pos + MDX_T_HAS_KEYS, &has_keys, 1) != 0) {
      read = -1;
      break;
    }
    tag->has_keys = tag->has_keys_disk = has_keys == 1;
  }
  engine->cache.read_through = read_through;
  if (read != 0) return -1;
  DbTag* selected = d4tag_selected(index->table);
  bool keep = reseek && selected != nullptr && selected->index == index && l4first(&selected->blocks) != nullptr;
  bool at_end = false;
  long record = 0;
  if (keep) {
    unsigned char* key = t4key(selected);
    if (key == nullptr) {
      at_end = true;
    } else {
      engine->saved_key_len = (int)t4key_len(selected);
      std::memcpy(engine->saved_key, key, t4key_len(selected));
      record = t4recno(selected);
    }
  }
  int result = 0;
  for (DbTag* tag = (DbTag*)l4first(&index->tags); tag != nullptr; tag = (DbTag*)l4next(&index->tags, tag)) {
    if (t4free_all(tag) != 0) result = -1;
    PutLe32(tag->header + MDX_T_ROOT, 0xFFFFFFFFu);
  }
  if (result == 0 && keep) {
    if (at_end) {
      if (t4go_past_end(selected) < 0) result = -1;
    } else if (t4go(selected, engine->saved_key, record) < 0) {
      result = -1;
    }
  }
  return result;
}

int db_index_release_all(DbTable* table) {
  int first = 0;
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4first(&table->indexes)) {
    int result = i4release(index);
    if (first == 0 && result < 0) first = result;
  }
  return first;
}

void db_index_abandon_all(DbTable* table) {
  for (DbIndex* index = (DbIndex*)l4first(&table->indexes); index != nullptr;
       index = (DbIndex*)l4first(&table->indexes))
    discard_index(index, false);
}
