#include "db/dbf_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "db/block_cache.h"
#include "db/change_mark.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/env_state.h"
#include "env/error_log.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "env/temp_strings.h"
#include "platform/byte_order.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace {

constexpr int MSG_HEADER_COUNT = 50014;
constexpr int MSG_FILE_COUNT = 50015;
constexpr int MSG_REPAIR_COUNT = 50016;
constexpr int MSG_CHECK_LAST = 50017;
constexpr int MSG_DELETION_MARK = 50018;
constexpr int MSG_COUNT_LOG = 50013;
constexpr int MSG_TABLE_DAMAGED = 50138;
constexpr int LOG_COUNT_REFUSED = 1085;

char last_table_name[260];

Environment* env_of(DbEngine* engine) { return reinterpret_cast<Environment*>(engine); }


bool is_memo_type(int type) { return type == 'M' || type == 'G' || type == 'B'; }

// A damaged table is the caller's error, never the end of the program.
int damaged(DbTable* table) { return e4show_file_error(table->engine, e4data, table->file.name); }

// Image of the header's first 12 bytes.
void image_to_bytes(const DbTable* table, unsigned char* out) {
  out[0] = table->version;
  std::memcpy(out + 1, table->update_date, 3);
  PutLe32(out + 4, (uint32_t)table->record_count);
  PutLe16(out + 8, table->header_length);
  PutLe16(out + 10, table->header_record_width);
}

// Field widths and decimals that the record layout and the number and date
// conversions can hold; anything else marks a damaged descriptor.
bool field_possible(const DbField& field) {
  switch (field.type) {
    case 'N':
    case 'F':
      return field.width >= 1 && field.width <= 20 && field.decimals <= 18 &&
             (field.decimals == 0 || field.decimals <= (int)field.width - 2);
    case 'D': return field.width == 8;
    case 'L': return field.width == 1;
    default: return field.width >= 1;
  }
}

void free_table(DbTable* table) {
  DbEngine* engine = table->engine;
  if (l4contains(&engine->open_tables, table)) l4remove(&engine->open_tables, table);
  u4free(table->record);
  u4free(table->scan_buffer);
  u4free(table->record_old);
  u4free(table->fields);
  if (table->locks != &table->lock_one) u4free(table->locks);
  db_mark_close(table, 0);
  if (table->owner != nullptr) *table->owner = nullptr;
  mem4free(engine->table_pool, table);
}

DbTable* open_fail(DbTable* table) {
  d4close(table);
  return nullptr;
}

}  // namespace

const char* d4last_table_name() { return last_table_name; }

int d4check_reccount(unsigned char* header, DbFile* file) {
  if (header == nullptr || file == nullptr) e4fatal_stop(e4parm, "d4check_reccount()");
  long header_count = (int32_t)GetLe32(header + 4);
  unsigned header_length = GetLe16(header + 8);
  unsigned width = GetLe16(header + 10);
  long length = file4len(file);
  if (length < 0) return -1;
  long file_count = width == 0 ? 0 : (length - (long)header_length) / (long)width;
  if (width != 0) {
    if (header_count >= 0 && file_count >= header_count) return 0;
    if (!EnvRefuseDamagedTables()) {
      std::string text = PrintfQStr(TextRef(MSG_HEADER_COUNT), header_count);
      text += "\n";
      text += PrintfQStr(TextRef(MSG_FILE_COUNT), file_count);
      text += "\n";
      text += PrintfQStr(TextRef(MSG_REPAIR_COUNT), file->name);
      if (ScreenQuestion(nullptr, text.c_str()) != SCREEN_KEY_ESC) {
        PutLe32(header + 4, (uint32_t)file_count);
        if (file4write(file, 4, header + 4, 4) < 0) return -1;
        ScreenMessageBox(SCREEN_BOX_INFO, nullptr, EnvFindString(TextRef(MSG_CHECK_LAST)));
        return 0;
      }
    }
  }
  ErrLogMessage(18, LOG_COUNT_REFUSED, TextRef(MSG_COUNT_LOG), file->name, file_count, header_count, width);
  ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, PrintfQStr(TextRef(MSG_TABLE_DAMAGED), file->name));
  return -1;
}

DbTable* d4open(DbEngine* engine, const char* name) {
  if (engine == nullptr || name == nullptr) e4fatal_stop(e4parm, "d4open()");
  if (engine->error_code < 0) return nullptr;
  if (engine->signature != DB_SIGNATURE) e4fatal_stop(e4result, "!477!");
  std::snprintf(last_table_name, sizeof last_table_name, "%s", name);

  DbTable* table = (DbTable*)mem4pool_alloc(env_of(engine), &engine->table_pool, engine->table_pool_start,
                                            sizeof(DbTable), engine->table_pool_grow, 0);
  if (table == nullptr) {
    e4show_error(engine, e4memory);
    return nullptr;
  }
  table->engine = engine;
  table->open_count = 1;
  table->locks = &table->lock_one;
  table->lock_capacity = 1;
  table->record_count = -1;
  table->rec_num = table->rec_num_old = -1;
  table->file.handle = table->memo_file.handle = PLAT_NO_FILE;
  table->mark_file = PLAT_NO_FILE;
  table->mark_slot = -1;

  char file_name[260];
  std::snprintf(file_name, sizeof file_name, "%s", name);
  u4name_ext(file_name, sizeof file_name, "DBF", 0);
  if (file4open(&table->file, engine, file_name, 1) != 0) {
    free_table(table);
    return nullptr;
  }
  l4add(&engine->open_tables, table);
  u4name_piece(table->alias, sizeof table->alias, file_name, 0, 0);

  unsigned char header[DBF_HEADER_SIZE];
  if (file4read_all(&table->file, 0, header, sizeof header) != 0) return open_fail(table);
  unsigned header_length = GetLe16(header + 8);
  long file_length = file4len(&table->file);
  if (file_length < 0) return open_fail(table);
  // A header longer than the file cannot hold the descriptors it claims.
  if (header_length <= DBF_HEADER_SIZE || (long)header_length > file_length) {
    damaged(table);
    return open_fail(table);
  }
  if (d4check_reccount(header, &table->file) != 0) return open_fail(table);

  table->version = header[0];
  std::memcpy(table->update_date, header + 1, 3);
  table->header_length = (uint16_t)header_length;
  table->header_record_width = (uint16_t)GetLe16(header + 10);
  table->has_mdx = header[28];
  table->record_count = -1;

  unsigned descriptor_bytes = header_length - DBF_HEADER_SIZE;
  unsigned char* descriptors = (unsigned char*)u4alloc_report(env_of(engine), descriptor_bytes);
  if (descriptors == nullptr) return open_fail(table);
  if (file4read_all(&table->file, DBF_HEADER_SIZE, descriptors, descriptor_bytes) != 0) {
    u4free(descriptors);
    return open_fail(table);
  }
  int count = 0;
  while ((unsigned)(count + 1) * DBF_DESCRIPTOR_SIZE <= descriptor_bytes &&
         descriptors[count * DBF_DESCRIPTOR_SIZE] != DBF_END_OF_FIELDS)
    count++;
  table->fields = count > 0 ? (DbField*)u4alloc_report(env_of(engine), count * sizeof(DbField)) : nullptr;
  if (count > 0 && table->fields == nullptr) {
    u4free(descriptors);
    return open_fail(table);
  }
  table->field_count = count;
  unsigned offset = 1;
  bool possible = true;
  for (int i = 0; i < count; i++) {
    const unsigned char* d = descriptors + i * DBF_DESCRIPTOR_SIZE;
    DbField& field = table->fields[i];
    std::memcpy(field.name, d, DBF_NAME_MAX);
    field.name[DBF_NAME_MAX] = 0;
    field.type = EnvToUpper(d[11]);
    if (field.type == 'N' || field.type == 'F') {
      field.width = d[16];
      field.decimals = d[17];
    } else if (field.type == 'D' || field.type == 'L' || is_memo_type(field.type)) {
      field.width = d[16];
    } else {
      field.width = GetLe16(d + 16);
    }
    if (is_memo_type(field.type)) table->memo_field_count++;
    field.offset = (int)offset;
    field.table = table;
    offset += field.width;
    if (!field_possible(field)) possible = false;
  }
  u4free(descriptors);
  if (!possible || offset != table->header_record_width) {
    damaged(table);
    return open_fail(table);
  }
  table->record_width = offset;
  table->record = (char*)u4alloc_report(env_of(engine), offset + 1);
  table->record_old = (char*)u4alloc_report(env_of(engine), offset + 1);
  if (table->record == nullptr || table->record_old == nullptr) return open_fail(table);
  std::memset(table->record, ' ', offset);
  std::memset(table->record_old, ' ', offset);

  if (table->has_mdx && engine->auto_open_index) {
    DbIndex* index = i4open(table, nullptr, nullptr);
    // Only the production index belongs to the table; another one is let go.
    if (index != nullptr && index != I4OPEN_DIFFERS && index->header[24] != 1) i4release(index);
  }
  if (engine->cache_files != 0) d4optimize(table, engine->cache_files);
  // A writer that died inside a change left its mark: the indexes are
  // checked (under their lock) before this workstation uses them.
  if (db_mark_dead_standing(table) && d4lock_index(table) == 0) d4unlock_index(table);
  return table;
}

namespace {

// The record width and field count of a definition; false (the error shown)
// when the engine cannot hold it.
bool measure_definition(DbEngine* engine, const char* file_name, const DbfFieldDef* fields, int* count_out,
                        long* width_out) {
  long width = 1;
  int count = 0;
  for (const DbfFieldDef* f = fields; f->name != nullptr; f++, count++) {
    int type = EnvToUpper(f->type);
    switch (type) {
      case 'C':
      case 'F':
      case 'N': width += f->length; break;
      case 'D': width += 8; break;
      case 'L': width += 1; break;
      case 'M':
      case 'G': e4fatal_stop(e4memo_create, "d4create()");
      default:
        if (type < 'C' || type > 'N') e4show_error(engine, e4field_type, f->name);
        e4fatal_stop(e4data, "!403!");
    }
  }
  if (width >= 65535) {
    e4show_error(engine, e4record_len, file_name);
    return false;
  }
  if (32L * count + 34 >= 65535) {
    e4show_error(engine, e4create, Utf8ToMazText("Za dużo pól").c_str(), file_name);
    return false;
  }
  for (const DbfFieldDef* f = fields; f->name != nullptr; f++) {
    int type = EnvToUpper(f->type);
    if ((type == 'N' || type == 'F') &&
        (f->length < 1 || f->length > 20 || f->decimals < 0 || f->decimals > 18 ||
         (f->decimals > 0 && f->decimals > f->length - 2)))
      e4fatal_stop(e4data, "!403!");
    if (type == 'C' && f->length < 1) e4fatal_stop(e4data, "!403!");
  }
  *count_out = count;
  *width_out = width;
  return true;
}

// The header, the field descriptors and the end marks of an empty table;
// the engine's error code after them.
int write_definition(DbFile* file, const DbfFieldDef* fields, int count, long width) {
  char buffer[2048];
  DbSeqWriter writer;
  file4seq_write_init(&writer, file, 0, buffer, sizeof buffer);
  unsigned char header[DBF_HEADER_SIZE] = {};
  header[0] = DBF_VERSION;
  date4today_bytes(header + 1);
  PutLe16(header + 8, (unsigned)(32 * count + 33));
  PutLe16(header + 10, (unsigned)width);
  file4seq_write(&writer, header, sizeof header);
  for (const DbfFieldDef* f = fields; f->name != nullptr; f++) {
    unsigned char d[DBF_DESCRIPTOR_SIZE] = {};
    char field_name[64];
    std::snprintf(field_name, sizeof field_name, "%s", f->name);
    c4trim_n(field_name, sizeof field_name);
    c4upper(field_name);
    std::memcpy(d, field_name, std::min<size_t>(std::strlen(field_name), DBF_NAME_MAX));
    int type = EnvToUpper(f->type);
    d[11] = (unsigned char)type;
    switch (type) {
      case 'C': PutLe16(d + 16, (unsigned)f->length); break;
      case 'N':
      case 'F':
        d[16] = (unsigned char)f->length;
        d[17] = (unsigned char)f->decimals;
        break;
      case 'D': d[16] = 8; break;
      case 'L': d[16] = 1; break;
    }
    file4seq_write(&writer, d, sizeof d);
  }
  const unsigned char ends[2] = {DBF_END_OF_FIELDS, DBF_END_OF_FILE};
  file4seq_write(&writer, ends, sizeof ends);
  file4seq_write_flush(&writer);
  return file->engine->error_code;
}

// A file shorter than the header it needs holds no record: a create cut
// short (a full disk, a crash) left it. A file of another kind that happens
// to be short is not taken for one.
bool header_missing(DbFile* file) {
  long length = file4len(file);
  if (length < 0) return false;
  if (length == 0) return true;
  unsigned char header[DBF_HEADER_SIZE] = {};
  unsigned take = (unsigned)std::min<long>(length, DBF_HEADER_SIZE);
  if (file4read_all(file, 0, header, take) != 0 || header[0] != DBF_VERSION) return false;
  if (length < DBF_HEADER_SIZE) return true;
  return GetLe32(header + 4) == 0 && (long)GetLe16(header + 8) > length;
}

}  // namespace

DbTable* d4create(DbEngine* engine, const char* name, const DbfFieldDef* fields, const DbfTagDef* tags) {
  if (engine == nullptr || name == nullptr || fields == nullptr) e4fatal_stop(e4parm, "d4create()");
  char file_name[260];
  std::snprintf(file_name, sizeof file_name, "%s", name);
  u4name_ext(file_name, sizeof file_name, "DBF", 0);
  char alias[11];
  u4name_piece(alias, sizeof alias, file_name, 0, 0);
  if (d4data(engine, alias) != nullptr) {
    e4show_error(engine, e4info, "!425!");
    return nullptr;
  }
  if (engine->error_code < 0) return nullptr;
  int count = 0;
  long width = 0;
  if (!measure_definition(engine, file_name, fields, &count, &width)) return nullptr;

  DbFile file;
  if (file4create(&file, engine, file_name, 0) != 0) return nullptr;
  int written = file4lock_create(&file);
  if (written == 0) written = write_definition(&file, fields, count, width);
  // A table that could not be written whole is not left behind: the next
  // open would find a file without a header.
  if (written != 0) file.delete_on_close = 1;
  file4close(&file);
  if (written != 0) return nullptr;

  DbTable* table = d4open(engine, file_name);
  if (table == nullptr || tags == nullptr) return table;
  if (i4create(table, nullptr, tags) == nullptr) {
    d4close(table);
    return nullptr;
  }
  return table;
}

int d4remake_headerless(DbEngine* engine, const char* name, const DbfFieldDef* fields) {
  if (engine == nullptr || name == nullptr || fields == nullptr) e4fatal_stop(e4parm, "d4remake_headerless()");
  if (engine->error_code < 0) return -1;
  char file_name[260];
  std::snprintf(file_name, sizeof file_name, "%s", name);
  u4name_ext(file_name, sizeof file_name, "DBF", 0);
  int count = 0;
  long width = 0;
  DbFile file;
  if (!measure_definition(engine, file_name, fields, &count, &width)) return -1;
  // A create cut short wrote no more than the definition's header: a longer
  // file is left to the open, and tables in use cost no extra open here.
  PlatFileInfo info;
  if (PlatFileInfoOf(EnvToDiskPath(file_name).c_str(), true, &info) != PLAT_OK ||
      info.size >= (uint64_t)(DBF_DESCRIPTOR_SIZE * count + DBF_HEADER_SIZE + 2))
    return 0;
  int saved_report = engine->report_open_errors;
  engine->report_open_errors = 0;
  int opened = file4open(&file, engine, file_name, 0);
  engine->report_open_errors = saved_report;
  if (opened != 0) {
    // The open that follows reports it.
    engine->error_code = 0;
    return 0;
  }
  int result = 0;
  if (!file.read_only && header_missing(&file)) {
    // Under the create lock, and looked at again: a workstation creating it
    // now holds the lock until its header is written.
    int locked = file4lock_create(&file);
    if (locked == 0 && header_missing(&file)) {
      result = file4len_set(&file, 0) == 0 && write_definition(&file, fields, count, width) == 0 ? 1 : -1;
      // Still without a header and holding nothing: not left for the next open.
      if (result < 0) file.delete_on_close = 1;
    } else if (locked < 0) {
      result = -1;
    }
  }
  if (file4close(&file) < 0) result = -1;
  if (result == 1) {
    std::string text = Utf8ToMazText("Baza ") + file_name +
                       Utf8ToMazText(" nie miała nagłówka, bo jej zakładanie\nzostało przerwane; "
                                     "została założona od nowa.");
    db_report_mended(text.c_str());
  }
  return result;
}

int d4close(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4close()");
  if (--table->open_count > 0) return 0;
  DbEngine* engine = table->engine;
  int saved = engine->error_code;
  engine->error_code = 0;
  if (saved == e4unique) table->record_changed = 0;
  int first = 0;
  auto collect = [&](int result) {
    if (first == 0 && result < 0) first = engine->error_code < 0 ? engine->error_code : result;
    if (engine->error_code == e4unique) table->record_changed = 0;
    engine->error_code = 0;
  };
  if (table->file.is_open) {
    collect(d4update(table));
    if (table->header_changed) collect(d4update_header(table, 1, 0));
    collect(d4unlock(table));
  }
  collect(db_mark_sync_deferred(table));
  collect(db_index_release_all(table));
  collect(file4close(&table->file));
  db_mark_close(table, first == 0);
  free_table(table);
  engine->error_code = first < 0 ? first : saved;
  return first;
}

void d4abandon(DbTable* table) {
  if (table == nullptr) return;
  table->record_changed = 0;
  table->header_changed = 0;
  db_index_abandon_all(table);
  // Closing the handle gives up its locks; nothing pending is written.
  table->file.delete_on_close = 0;
  file4close(&table->file);
  free_table(table);
}

// ---- fields

DbField* d4field(DbTable* table, const char* name) {
  if (table == nullptr || name == nullptr) e4fatal_stop(e4parm, "d4field()");
  int n = d4field_number(table, name);
  if (n > 0) return &table->fields[n - 1];
  DbEngine* engine = table->engine;
  if (engine->report_field_errors && engine->error_code >= 0) {
    std::string text = PrintfQStr(Utf8ToMazText("Baza - %s, pole - %s").c_str(), table->file.name, name);
    e4show_error(engine, e4field_name, text.c_str());
  }
  return nullptr;
}

int d4field_number(DbTable* table, const char* name) {
  if (table == nullptr || name == nullptr) e4fatal_stop(e4parm, "d4field_number()");
  while (*name == ' ') name++;
  char wanted[64];
  std::snprintf(wanted, sizeof wanted, "%s", name);
  c4trim_n(wanted, sizeof wanted);
  c4upper(wanted);
  for (int i = 0; i < table->field_count; i++)
    if (std::strcmp(table->fields[i].name, wanted) == 0) return i + 1;
  return -1;
}

DbField* d4field_j(DbTable* table, int j) {
  if (table == nullptr || j < 1 || j > table->field_count) e4fatal_stop(e4parm, "d4field_j()");
  return &table->fields[j - 1];
}

int d4num_fields(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4num_fields()");
  return table->field_count;
}

unsigned d4record_width(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4record_width()");
  return table->record_width;
}

char* d4record(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4record()");
  return table->record;
}

int d4recno(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4recno()");
  return table->rec_num;
}

const char* d4alias(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4alias()");
  return table->alias;
}

void d4alias_set(DbTable* table, char* alias) {
  if (table == nullptr || alias == nullptr) e4fatal_stop(e4parm, "d4alias_set()");
  c4upper(alias);
  std::snprintf(table->alias, sizeof table->alias, "%.10s", alias);
}

long d4record_position(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4record_position()");
  return table->header_length + (n - 1) * (long)table->record_width;
}

long d4reccount(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4reccount()");
  if (table->engine->error_code < 0) return -1;
  if (table->record_count >= 0) return table->record_count;
  unsigned char bytes[4];
  // Other workstations change the count: a count not kept is read from the disk.
  DbCacheState& cache = table->engine->cache;
  unsigned char saved_through = cache.read_through;
  cache.read_through = 1;
  unsigned got = file4read(&table->file, 4, bytes, 4);
  cache.read_through = saved_through;
  if (got != 4) return -1;
  long count = (int32_t)GetLe32(bytes);
  if (count < 0) return -1;
  if (table->file_locked || table->append_locked || table->file.exclusive) table->record_count = (int)count;
  table->last_count_read = (int)count;
  return count;
}

int d4bof(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4bof()");
  return table->engine->error_code < 0 ? -1 : table->bof;
}

int d4eof(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4eof()");
  return table->engine->error_code < 0 ? -1 : table->eof;
}

void d4blank(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4blank()");
  std::memset(table->record, ' ', table->record_width);
  table->record_changed = 1;
}

// A deletion mark other than ' ' or '*' is a damaged record of this table.
static int bad_mark(DbTable* table) {
  return e4show_error(table->engine, e4data, TextRef(MSG_DELETION_MARK), table->file.name);
}

void d4delete(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4delete()");
  if (table->record[0] != ' ' && table->record[0] != '*') table->record[0] = ' ';
  if (table->record[0] != '*') {
    table->record[0] = '*';
    table->record_changed = 1;
  }
}

void d4recall(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4recall()");
  if (table->record[0] == '*') {
    table->record[0] = ' ';
    table->record_changed = 1;
  } else if (table->record[0] != ' ') {
    bad_mark(table);
  }
}

int d4deleted(DbTable* table) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4deleted()");
  if (table->record[0] == '*') return 1;
  if (table->record[0] == ' ') return 0;
  bad_mark(table);
  return -1;
}

int d4read(DbTable* table, long n, char* buffer) {
  if (table == nullptr || buffer == nullptr) e4fatal_stop(e4parm, "d4read()");
  if (table->engine->error_code < 0) return -1;
  if (n <= 0) return r4entry;
  unsigned got = file4read(&table->file, d4record_position(table, n), buffer, table->record_width);
  if (table->engine->error_code < 0) return -1;
  return got == table->record_width ? 0 : r4entry;
}

int d4read_old(DbTable* table, long n) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4read_old()");
  if (table->engine->error_code < 0) return -1;
  if (table->rec_num_old == n) return 0;
  // The old record must be what is on disk now, not a stale cached block;
  // under the whole-table lock no other workstation can have changed it.
  table->rec_num_old = -1;
  DbCacheState& cache = table->engine->cache;
  unsigned char saved_through = cache.read_through;
  if (!d4lock_test_file(table)) cache.read_through = 1;
  int result = d4read(table, n, table->record_old);
  cache.read_through = saved_through;
  if (result < 0) return -1;
  if (result == r4entry) std::memset(table->record_old, ' ', table->record_width);
  table->rec_num_old = (int)n;
  return 0;
}

int d4update_header(DbTable* table, int write_date, int write_count) {
  if (table == nullptr) e4fatal_stop(e4parm, "d4update_header()");
  if (table->engine->error_code < 0) return -1;
  if (write_count && (table->record_count < 0 || !d4lock_test_append(table))) e4fatal_stop(e4info, "!408!");
  table->header_changed = 0;
  if (!write_date && !write_count) return 0;
  if (write_date) date4today_bytes(table->update_date);
  unsigned char image[12];
  image_to_bytes(table, image);
  unsigned start = write_date ? 0 : 4;
  unsigned end = write_count ? 10 : 4;
  return file4write(&table->file, start, image + start, end - start);
}

DbField* EquField(DbTable* other, DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "EquField()");
  if (other == nullptr) return field;
  long j = field - field->table->fields;
  if (j < 0 || j >= other->field_count) e4fatal_stop(e4result, "EquField()");
  DbField* match = &other->fields[j];
  if (match->width != field->width || match->type != field->type || match->offset != field->offset)
    e4fatal_stop(e4result, "EquField()");
  return match;
}

// ---- field values

char* f4ptr(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4ptr()");
  return field->table->record + field->offset;
}

char* f4assign_ptr(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4assign_ptr()");
  field->table->record_changed = 1;
  return field->table->record + field->offset;
}

DbTable* f4data(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4data()");
  return field->table;
}

const char* f4name(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4name()");
  return field->name;
}

unsigned f4len(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4len()");
  return field->width;
}

int f4decimals(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4decimals()");
  return field->decimals;
}

int f4type(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4type()");
  return field->type == 'F' ? 'N' : field->type;
}

static bool blocked(DbField* field) { return field->table->engine->error_code < 0; }

void f4blank(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4blank()");
  if (blocked(field)) return;
  std::memset(f4assign_ptr(field), ' ', field->width);
}

void f4assign_n(DbField* field, const char* bytes, unsigned n) {
  if (field == nullptr || (bytes == nullptr && n > 0)) e4fatal_stop(e4parm, "f4assign_n()");
  if (blocked(field)) return;
  char* p = f4assign_ptr(field);
  unsigned take = n < field->width ? n : field->width;
  std::memcpy(p, bytes, take);
  std::memset(p + take, ' ', field->width - take);
}

void f4assign(DbField* field, const char* text) {
  if (field == nullptr || text == nullptr) e4fatal_stop(e4parm, "f4assign()");
  f4assign_n(field, text, (unsigned)std::strlen(text));
}

void f4assign_char(DbField* field, int c) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4assign_char()");
  if (blocked(field)) return;
  char* p = f4assign_ptr(field);
  std::memset(p, ' ', field->width);
  p[0] = (char)c;
}

int f4char(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4char()");
  return (unsigned char)f4ptr(field)[0];
}

void f4assign_double(DbField* field, double value) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4assign_double()");
  if (blocked(field)) return;
  if (field->type == 'D') {
    date4assign(f4assign_ptr(field), (int32_t)value);
    return;
  }
  c4dtoa(value, f4assign_ptr(field), (int)field->width, field->decimals, 0);
}

double f4double(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4double()");
  if (field->type == 'D') return (double)date4long(f4ptr(field));
  return QuickDouble(f4ptr(field), (int)field->width);
}

void f4assign_long(DbField* field, long value) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4assign_long()");
  if (blocked(field)) return;
  if (field->type == 'D') {
    date4assign(f4assign_ptr(field), (int32_t)value);
  } else if (field->decimals > 0) {
    f4assign_double(field, (double)value);
  } else {
    c4ltoa(value, f4assign_ptr(field), (int)field->width);
  }
}

long f4long(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4long()");
  if (field->type == 'D') return date4long(f4ptr(field));
  return c4atol(f4ptr(field), (int)field->width);
}

void f4assign_int(DbField* field, int value) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4assign_int()");
  if (blocked(field)) return;
  if (field->decimals > 0) {
    f4assign_double(field, (double)value);
  } else {
    c4ltoa(value, f4assign_ptr(field), (int)field->width);
  }
}

int f4int(DbField* field) {
  if (field == nullptr) e4fatal_stop(e4parm, "f4int()");
  if (blocked(field)) return -1;
  return c4atoi(f4ptr(field), (int)field->width);
}

void f4assign_field(DbField* target, DbField* source) {
  if (target == nullptr || source == nullptr) e4fatal_stop(e4parm, "f4assign_field()");
  if (blocked(target)) return;
  bool source_number = source->type == 'N' || source->type == 'F';
  switch (target->type) {
    case 'C': f4assign_n(target, f4ptr(source), source->width); break;
    case 'D':
      if (source->type == 'D') std::memcpy(f4assign_ptr(target), f4ptr(source), target->width);
      break;
    case 'N':
    case 'F':
      if (source_number && source->width == target->width && source->decimals == target->decimals)
        std::memcpy(f4assign_ptr(target), f4ptr(source), target->width);
      else
        f4assign_double(target, f4double(source));
      break;
    case 'L':
      if (source->type == 'L') f4assign_char(target, f4char(source));
      break;
    default: e4fatal_stop(e4info, "!110!");
  }
}
