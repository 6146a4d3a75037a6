#include "db/dbf_definition.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "db/block_cache.h"
#include "db/db_engine.h"
#include "db/db_errors.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/dbf_records.h"
#include "env/code_pages.h"
#include "env/env_state.h"
#include "env/error_log.h"
#include "env/paths.h"
#include "platform/files.h"

namespace {

constexpr int ARENA_SLOTS = 3;
constexpr int ARENA_ALIGN = 8;
constexpr const char* DEFAULT_FILTER = ".NOT.DELETED()";
constexpr const char* TAG_NAMES[DBF_DEF_MAX_TAGS] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A"};

// Log flags of the entries written here.
constexpr int LOG_FLAGS_MISUSE = EL_ERROR;
constexpr int LOG_FLAGS_DIFFERENCE = EL_FORMAT | EL_BLANK_BEFORE;
constexpr int LOG_FLAGS_CONVERTED = EL_FORMAT | EL_NEW_HEADER | EL_BLANK_BEFORE | EL_FLUSH | EL_CWD;
constexpr int LOG_FLAGS_REBUILT = EL_TEXT | EL_BLANK_BEFORE;
constexpr int LOG_FLAGS_STILL_DIFFERS = EL_TEXT | EL_ERROR | EL_WINDOW_LINES;

constexpr size_t round_up(size_t n) { return (n + ARENA_ALIGN - 1) / ARENA_ALIGN * ARENA_ALIGN; }

struct Definition {
  DbfFieldDef* fields;
  char* names;
  DbfTagDef* tags;
  int field_count;
  int name_used;
  int tag_count;
  bool refused_field;      // a field did not fit: the list is not the table's
  DbTable* act_table;
  DbIndex* act_index;
  int act_field;
  int act_tag;
};

// The bookkeeping lives at the head of the arena, so it belongs to its
// environment and starts empty with it (the arena is zero-filled).
struct ArenaHeader {
  int32_t slot_at[ARENA_SLOTS];     // block offset + 1; 0 for a free slot
  int32_t slot_size[ARENA_SLOTS];
  Definition def;
};

constexpr size_t HEADER_BYTES = round_up(sizeof(ArenaHeader));
// Room for blocks: what the header and the alignment of the arena leave.
constexpr size_t USABLE_ARENA = DEFINITION_ARENA_BYTES - ARENA_ALIGN - HEADER_BYTES;

// The three parts must fit the arena together; 64-bit entries are larger
// than the arena was laid out for, so the field capacity is what fits.
constexpr size_t TAG_LIST_BYTES = round_up((DBF_DEF_MAX_TAGS + 1) * sizeof(DbfTagDef));
constexpr int fitting_fields() {
  int n = DBF_DEF_MAX_FIELDS;
  while (n > 0 && round_up((size_t)(n + 1) * sizeof(DbfFieldDef)) + round_up((size_t)n * DBF_DEF_PACKED_NAME) +
                          TAG_LIST_BYTES >
                      USABLE_ARENA)
    n--;
  return n;
}
constexpr int FIELD_CAPACITY = fitting_fields();
static_assert(FIELD_CAPACITY > 0, "the definition arena holds no field list");
constexpr size_t FIELD_LIST_BYTES = round_up((FIELD_CAPACITY + 1) * sizeof(DbfFieldDef));
constexpr size_t NAME_AREA_BYTES = round_up((size_t)FIELD_CAPACITY * DBF_DEF_PACKED_NAME);

// Without an environment nothing can be defined; calls then see this empty header.
ArenaHeader no_arena;

ArenaHeader* header() {
  const EnvState* env = EnvCurrentState();
  if (env == nullptr) {
    no_arena = ArenaHeader{};
    return &no_arena;
  }
  uintptr_t at = reinterpret_cast<uintptr_t>(env->definitionArena);
  return reinterpret_cast<ArenaHeader*>(env->definitionArena + (ARENA_ALIGN - at % ARENA_ALIGN) % ARENA_ALIGN);
}

unsigned char* block_base(ArenaHeader* h) { return reinterpret_cast<unsigned char*>(h) + HEADER_BYTES; }

Definition& def() { return header()->def; }

void log_misuse(int code) { ErrLogMessage(LOG_FLAGS_MISUSE, code, TextRef()); }

// The engine heads the Environment record.
DbEngine* current_engine() { return reinterpret_cast<DbEngine*>(EnvCurrent()); }

bool have_definition() {
  return EnvCurrent() != nullptr && def().fields != nullptr;
}

std::string name_with_ext(const char* name, const char* ext, int replace) {
  char buffer[260];
  std::snprintf(buffer, sizeof buffer, "%s", name);
  u4name_ext(buffer, sizeof buffer, ext, replace);
  return buffer;
}

std::string disk(const std::string& name) { return EnvToDiskPath(name.c_str()); }

// Error codes of an index whose contents cannot be used (as opposed to a
// file that cannot be reached): such an index is built again.
bool index_unusable(int code) {
  return code == e4read || code == e4data || code == e4field_name || code == e4index || code == e4index_other ||
         code == e4tag_name || (code <= -400 && code >= -500);
}

int fail_open(DbEngine* engine, DbTable** table_var, DbTable* table, DbIndex** index_var) {
  engine->create_safety = 0;
  if (table != nullptr) d4close(table);
  *table_var = nullptr;
  if (index_var != nullptr) *index_var = nullptr;
  return -1;
}

}  // namespace

void* DbfArenaTake(int size) {
  if (EnvCurrent() == nullptr || size <= 0) return nullptr;
  ArenaHeader* h = header();
  int free_slot = -1;
  std::vector<std::pair<int, int>> taken;    // offset, size
  for (int i = 0; i < ARENA_SLOTS; i++) {
    if (h->slot_at[i] == 0) {
      if (free_slot < 0) free_slot = i;
    } else {
      taken.push_back({h->slot_at[i] - 1, h->slot_size[i]});
    }
  }
  if (free_slot < 0) {
    log_misuse(LOG_DEF_NO_SLOT);
    return nullptr;
  }
  std::sort(taken.begin(), taken.end());
  int want = (int)round_up((size_t)size);
  int at = 0;
  bool found = false;
  for (const auto& [offset, length] : taken) {
    if (offset - at >= want) {
      found = true;
      break;
    }
    at = offset + length;
  }
  if (!found && (int)USABLE_ARENA - at < want) return nullptr;
  h->slot_at[free_slot] = at + 1;
  h->slot_size[free_slot] = want;
  std::memset(block_base(h) + at, 0, (size_t)want);
  return block_base(h) + at;
}

void DbfArenaGive(void* block) {
  ArenaHeader* h = header();
  for (int i = 0; i < ARENA_SLOTS; i++) {
    if (EnvCurrent() != nullptr && h->slot_at[i] != 0 && block_base(h) + h->slot_at[i] - 1 == block) {
      h->slot_at[i] = 0;
      h->slot_size[i] = 0;
      return;
    }
  }
  log_misuse(LOG_DEF_BAD_RELEASE);
}

DbfTagDef* AllocDbfDefinition() {
  auto* fields = (DbfFieldDef*)DbfArenaTake((int)FIELD_LIST_BYTES);
  if (fields == nullptr) return nullptr;
  auto* names = (char*)DbfArenaTake((int)NAME_AREA_BYTES);
  if (names == nullptr) {
    DbfArenaGive(fields);
    return nullptr;
  }
  auto* tags = (DbfTagDef*)DbfArenaTake((int)TAG_LIST_BYTES);
  if (tags == nullptr) {
    DbfArenaGive(names);
    DbfArenaGive(fields);
    return nullptr;
  }
  Definition& d = def();
  d = Definition{};
  d.fields = fields;
  d.names = names;
  d.tags = tags;
  return tags;
}

void ReleaseDbfDefinition() {
  if (!have_definition()) return;
  Definition& d = def();
  DbfArenaGive(d.tags);
  DbfArenaGive(d.names);
  DbfArenaGive(d.fields);
  d = Definition{};
}

void DefineField_(const char* name, int fieldSpec) {
  if (!have_definition()) {
    log_misuse(LOG_DEF_NO_FIELDS);
    return;
  }
  Definition& d = def();
  if (d.field_count >= FIELD_CAPACITY) {
    d.refused_field = true;
    log_misuse(LOG_DEF_FIELDS_FULL);
    return;
  }
  DbfFieldDef& f = d.fields[d.field_count++];
  f.name = name;
  f.length = fieldSpec >> 8;
  f.decimals = (fieldSpec >> 4) & 0xF;
  switch (fieldSpec & 0xF) {
    case DBF_SPEC_N: f.type = 'N'; break;
    case DBF_SPEC_C: f.type = 'C'; break;
    case DBF_SPEC_D: f.type = 'D'; break;
    case DBF_SPEC_TEXT:
      f.type = 'C';
      f.length = DBF_SPEC_TEXT_WIDTH;
      f.decimals = 0;
      break;
    default: f.type = 0; break;    // refused by d4create
  }
}

void DefineField(int packedName, int fieldSpec) {
  if (!have_definition()) {
    log_misuse(LOG_DEF_NO_FIELDS);
    return;
  }
  Definition& d = def();
  if (d.field_count >= FIELD_CAPACITY) {
    DefineField_(nullptr, fieldSpec);    // refused and logged there
    return;
  }
  char* name = d.names + d.name_used;
  uint32_t packed = (uint32_t)packedName;
  for (int i = 0; i < 4; i++) name[i] = (char)(packed >> (24 - 8 * i));
  name[4] = 0;
  d.name_used += DBF_DEF_PACKED_NAME;
  DefineField_(name, fieldSpec);
}

void DefineTag_(const char* key, const char* filter, int descending) {
  if (!have_definition()) {
    log_misuse(LOG_DEF_NO_TAGS);
    return;
  }
  Definition& d = def();
  if (d.tag_count >= DBF_DEF_MAX_TAGS) {
    log_misuse(LOG_DEF_TAGS_FULL);
    return;
  }
  DbfTagDef& t = d.tags[d.tag_count];
  t.name = TAG_NAMES[d.tag_count];
  t.key = key;
  t.filter = filter != nullptr ? filter : DEFAULT_FILTER;
  t.unique = 0;
  t.descending = descending;
  d.tag_count++;
}

void DefineTag(const char* key) { DefineTag_(key, nullptr, 0); }

const DbfFieldDef* GetFieldsInfo() {
  // A list that refused a field would convert the table and drop that field.
  if (!have_definition() || def().refused_field) {
    log_misuse(LOG_DEF_NO_FIELDS);
    return nullptr;
  }
  return def().fields;
}

const DbfTagDef* GetTagsInfo() {
  if (!have_definition()) {
    log_misuse(LOG_DEF_NO_TAGS);
    return nullptr;
  }
  return def().tags;
}

int CountFieldDefs(const DbfFieldDef* fields) {
  int n = 0;
  if (fields != nullptr)
    while (fields[n].name != nullptr) n++;
  return n;
}

const DbfFieldDef* FindFieldDef(const DbfFieldDef* fields, const char* name) {
  if (fields == nullptr || name == nullptr) return nullptr;
  for (const DbfFieldDef* f = fields; f->name != nullptr; f++)
    if (std::strcmp(f->name, name) == 0) return f;
  return nullptr;
}

void ResetDbfActivation(DbTable* table, DbIndex* index) {
  DbEngine* engine = table != nullptr ? table->engine : current_engine();
  if (engine != nullptr) engine->error_code = 0;
  Definition& d = def();
  d.act_table = table;
  d.act_index = index;
  d.act_field = 0;
  d.act_tag = 0;
}

DbField* ActivateField() {
  if (!have_definition()) return nullptr;
  Definition& d = def();
  if (d.act_table == nullptr || d.act_field >= d.field_count) return nullptr;
  return d4field(d.act_table, d.fields[d.act_field++].name);
}

DbTag* ActivateTag() {
  if (!have_definition()) return nullptr;
  Definition& d = def();
  if (d.act_table == nullptr || d.act_tag >= d.tag_count) return nullptr;
  const char* name = d.tags[d.act_tag++].name;
  if (d.act_index == nullptr) {
    if (d.act_table->engine->report_tag_errors) e4show_error(d.act_table->engine, e4tag_name, name);
    return nullptr;
  }
  return i4tag(d.act_index, name);
}

int CompareDbfStructure(DbTable* table, const DbfFieldDef* fields) {
  if (table == nullptr || fields == nullptr) e4fatal_stop(e4parm, "CompareDbfStructure()");
  const char* file = table->file.name ? table->file.name : "";
  int wanted = CountFieldDefs(fields);
  if (table->field_count != wanted) {
    ErrLogMessage(LOG_FLAGS_DIFFERENCE, LOG_CONVERSION, "FCNT(%i -> %i), %s", table->field_count, wanted, file);
    return 1;
  }
  for (int j = 0; j < table->field_count; j++) {
    const DbField& have = table->fields[j];
    const DbfFieldDef* want = FindFieldDef(fields, have.name);
    if (want == nullptr) {
      ErrLogMessage(LOG_FLAGS_DIFFERENCE, LOG_CONVERSION, "%s, Brak, %s", have.name, file);
      return 1;
    }
    if (have.type != want->type) {
      ErrLogMessage(LOG_FLAGS_DIFFERENCE, LOG_CONVERSION, "%s, TYP(%c -> %c), %s", have.name, have.type, want->type,
                    file);
      return 1;
    }
    if (have.type != 'D' && (int)have.width != want->length) {
      ErrLogMessage(LOG_FLAGS_DIFFERENCE, LOG_CONVERSION, "%s, VOL(%i -> %i), %s", have.name, (int)have.width,
                    want->length, file);
      return 1;
    }
    if (have.type == 'N' && have.decimals != want->decimals) {
      ErrLogMessage(LOG_FLAGS_DIFFERENCE, LOG_CONVERSION, "%s, DEC(%i -> %i), %s", have.name, have.decimals,
                    want->decimals, file);
      return 1;
    }
  }
  return 0;
}

int ConvertDbfStructure(const char* fileName, const DbfFieldDef* fields, DbTable* table, DbfConvertStep step) {
  if (fileName == nullptr || fields == nullptr || table == nullptr) e4fatal_stop(e4parm, "ConvertDbfStructure()");
  DbEngine* engine = table->engine;
  if (d4num_fields(table) > DBF_DEF_MAX_FIELDS) return -1;
  if (set_lock(table, -1) != 0) return -1;

  // Not started: the table stays open, unchanged and (once more) unlocked.
  auto not_done = [&](DbTable* copy, const char* temp) {
    int cause = engine->error_code;
    engine->error_code = 0;
    if (copy != nullptr) d4close(copy);
    if (temp != nullptr) PlatFileDelete(disk(temp).c_str());
    engine->error_code = 0;
    d4unlock(table);
    engine->error_code = cause;
    return -1;
  };

  // The copy lies beside the table, so the final rename stays on one volume.
  char temp_name[260];
  DbFile temp_file;
  if (file4temp(&temp_file, engine, table->file.name, temp_name, 0) != 0) return not_done(nullptr, nullptr);
  file4close(&temp_file);
  // Nobody else knows the copy: held exclusively it needs no locks.
  int safety = engine->create_safety, exclusive = engine->exclusive;
  engine->create_safety = 0;
  engine->exclusive = 1;
  DbTable* copy = d4create(engine, temp_name, fields, nullptr);
  engine->create_safety = safety;
  engine->exclusive = exclusive;
  if (copy == nullptr) return not_done(nullptr, temp_name);

  int report = engine->report_field_errors;
  engine->report_field_errors = 0;
  std::vector<DbField*> pairs((size_t)table->field_count);
  for (int j = 0; j < table->field_count; j++) pairs[(size_t)j] = d4field(copy, table->fields[j].name);
  engine->report_field_errors = report;
  if (engine->error_code < 0) return not_done(copy, temp_name);

  long count = d4reccount(table);
  if (count < 0) return not_done(copy, temp_name);
  for (long n = 1; n <= count; n++) {
    if (d4go(table, n) != 0 || d4append_blank(copy) != 0) return not_done(copy, temp_name);
    for (int j = 0; j < table->field_count; j++)
      if (pairs[(size_t)j] != nullptr) f4assign_field(pairs[(size_t)j], &table->fields[j]);
    if (table->record[0] == '*') d4delete(copy);
    if (step != nullptr) step(table, copy);
    if (engine->error_code < 0) return not_done(copy, temp_name);
  }
  // Every record must be on disk before the copy may stand for the table.
  if (d4flush(copy) != 0 || d4reccount(copy) != count) return not_done(copy, temp_name);
  if (d4close(copy) != 0) return not_done(nullptr, temp_name);

  int closed = d4close(table);
  // The original is copied to "BAK" and then replaced in one rename, so at
  // every moment the table's own name holds a whole table.
  std::string table_disk = disk(fileName);
  std::string bak_disk = disk(name_with_ext(fileName, "BAK", 1));
  PlatFileDelete(bak_disk.c_str());
  if (closed != 0 || PlatFileCopy(table_disk.c_str(), bak_disk.c_str()) != PLAT_OK ||
      PlatFileRename(disk(temp_name).c_str(), PlatResolveName(table_disk.c_str()).c_str()) != PLAT_OK) {
    PlatFileDelete(disk(temp_name).c_str());
    return -2;
  }
  ErrLogMessage(LOG_FLAGS_CONVERTED, LOG_CONVERSION, Utf8ToMazText("%s zakończona.").c_str(), fileName);
  return 0;
}

int open_dbf(const char* name, DbTable** table_var, const DbfFieldDef* fields, DbIndex** index_var,
             const DbfTagDef* tags, int flags) {
  DbEngine* engine = current_engine();
  if (engine == nullptr || name == nullptr || table_var == nullptr) e4fatal_stop(e4parm, "open_dbf()");
  engine->auto_open_index = 0;
  engine->create_safety = 0;
  engine->error_code = 0;
  *table_var = nullptr;
  if (fields == nullptr || (index_var != nullptr && tags == nullptr)) {
    engine->error_code = e4parm;
    return fail_open(engine, table_var, nullptr, index_var);
  }

  std::string table_name = name_with_ext(name, "DBF", (flags & OPEN_DBF_KEEP_EXT) ? 0 : 1);
  std::string index_name = name_with_ext(name, "MDX", 1);
  DbTable* table = nullptr;
  bool new_index = (flags & OPEN_DBF_REINDEX) != 0;

  if (!EnvFileExists(table_name.c_str()) || (flags & OPEN_DBF_RECREATE)) {
    if ((flags & OPEN_DBF_MUST_EXIST) && !(flags & OPEN_DBF_RECREATE)) return r4missing;
    engine->create_safety = (flags & OPEN_DBF_RECREATE) ? 0 : 1;
    table = d4create(engine, table_name.c_str(), fields, nullptr);
    engine->create_safety = 0;
    if (table == nullptr) return fail_open(engine, table_var, nullptr, index_var);
    new_index = true;
  } else {
    int remade = d4remake_headerless(engine, table_name.c_str(), fields);
    if (remade < 0) return fail_open(engine, table_var, nullptr, index_var);
    if (remade == 1) new_index = true;
    table = d4open(engine, table_name.c_str());
    if (table == nullptr) return fail_open(engine, table_var, nullptr, index_var);
    if (CompareDbfStructure(table, fields) != 0) {
      int converted = ConvertDbfStructure(table_name.c_str(), fields, table, nullptr);
      if (converted != 0) return fail_open(engine, table_var, converted == -2 ? nullptr : table, index_var);
      table = d4open(engine, table_name.c_str());
      if (table == nullptr) return fail_open(engine, table_var, nullptr, index_var);
      new_index = true;
    }
  }

  *table_var = table;
  table->owner = table_var;
  if (index_var == nullptr) {
    d4optimize(table, 1);
    d4unlock(table);
    return engine->error_code < 0 ? fail_open(engine, table_var, table, index_var) : 0;
  }

  bool created_here = false;
  if (!EnvFileExists(index_name.c_str())) new_index = true;
  for (;;) {
    if (new_index) {
      int exclusive = engine->exclusive;
      engine->exclusive = 1;
      DbIndex* made = i4create(table, index_name.c_str(), tags);
      engine->exclusive = exclusive;
      if (made == nullptr || i4release(made) != 0) return fail_open(engine, table_var, table, index_var);
      created_here = true;
      new_index = false;
    }
    DbIndex* index = i4open(table, index_name.c_str(), tags);
    if (index == I4OPEN_DIFFERS) {
      if (created_here) {
        ErrLogMessage(LOG_FLAGS_STILL_DIFFERS, LOG_INDEX_STILL_DIFFERS, index_name.c_str());
        return fail_open(engine, table_var, table, index_var);
      }
      ErrLogMessage(LOG_FLAGS_REBUILT, LOG_INDEX_REBUILT, index_name.c_str());
      new_index = true;
      continue;
    }
    if (index == nullptr) {
      // A damaged index is derived data: it is built again from the records.
      if (created_here || !index_unusable(engine->error_code)) return fail_open(engine, table_var, table, index_var);
      engine->error_code = 0;
      ErrLogMessage(LOG_FLAGS_REBUILT, LOG_INDEX_REBUILT, index_name.c_str());
      new_index = true;
      continue;
    }
    *index_var = index;
    d4optimize(table, 1);
    d4unlock(table);
    if (engine->error_code < 0) return fail_open(engine, table_var, table, index_var);
    return 0;
  }
}

char* SetDbfYear(char* name, int year) {
  if (name == nullptr || std::strlen(name) < 8) return name;
  int digits = (year % 100 + 100) % 100;
  name[6] = (char)('0' + digits / 10);
  name[7] = (char)('0' + digits % 10);
  return name;
}
