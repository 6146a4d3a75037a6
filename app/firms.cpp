#include "app/firms.h"

#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "tables/firm_tables.h"
#include "tables/opening.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/rights.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

int (*FirmChosenRoutine)() = nullptr;

namespace {

constexpr int MSG_FIRMS_TITLE = 20081;
constexpr int16_t RES_FIRM_LINES = 87;
constexpr int FORM_LINES = 3;
constexpr int FIELD_COLUMN = 17;
constexpr int KEY_F7 = 0x4100;
constexpr int RIGHT_CATALOGUE = 2;
constexpr int RIGHT_APPEND = 21, RIGHT_MODIFY = 22, RIGHT_DELETE = 23, RIGHT_FILTERS = 24;
constexpr int PICKER_ROW = 3;

constexpr int LOG_DIR_LEFT_CHANGED = 113;
constexpr int LOG_FIRM_WITHOUT_DIR = 114;
constexpr int LOG_FIRM_DIR = 14;
constexpr int LOG_ENTER_FIRM = 312;
constexpr int LOG_BACK_TO_START = 313;
constexpr int LOG_SWITCH_TO_START = 314;
constexpr int LOG_SWITCH_BACK = 315;

enum { KATA_STA, KATA_NAZ, KATA_KAT, KATA_UWA };
enum { KAPA_JK, KAPA_WM };

DbField* Field(int n) { return Z5KATA.field[n]; }
bool Inactive() { return f4ptr(Field(KATA_STA))[0] == 'N'; }

std::string Trimmed(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// ---- the list

DbField* staField;
DbField* nazField;
DbField* katField;
DbField* uwaField;

void StatusColumn(ColumnValue* value) {
  value->type = 'C';
  value->length = 1;
  value->text[0] = Inactive() ? 'N' : 'A';
}

// Directory names go to disk, so they are kept in plain ASCII.
int DirectoryEntered(Get4* get) {
  if (valid_empty_get(get) != 0) return 1;
  ConvChars(static_cast<char*>(get->data), get->dataWidth, EnvCurrent()->toAscii, 0);
  return 0;
}

int BeforeNewFirm() {
  f4assign(Field(KATA_STA), "A");
  return 0;
}

// One key sets the filter's value: T or N; Esc gives up, anything else is ignored.
int ActiveKey(Get4*, char* buffer, int32_t) {
  for (;;) {
    int key = g4char();
    if (key == KEY_ESC) return KEY_ESC;
    if (key == 'T' || key == 't' || key == 'N' || key == 'n') {
      buffer[0] = static_cast<char>(key == 'T' || key == 't' ? 'T' : 'N');
      return KEY_ENTER;
    }
  }
}

int ActiveTest(DbField* field, const char* text, int, DbTable*) {
  bool inactive = f4ptr(field)[0] == 'N';
  return (text[0] == 'N') == inactive ? X4_ACCEPT : X4_REJECT;
}

FilterSet* listFilters;

int32_t OpenFilters(int32_t) {
  OpenFiltersWindow(listFilters);
  BrowseDispFilterState(!listFilters->off);
  return browse_call(0, 0) < 0 ? -1 : 0;
}

// F7 turns the firm active or inactive.
int ToggleStatus(BrowseContext* ctx) {
  if (ctx->is_empty) return 0;
  DbTable* table = Z5KATA.table;
  long record = d4recno(table);
  if (go_and_lock(table, record) != 0) return 0;
  f4assign(Field(KATA_STA), Inactive() ? "A" : "N");
  write_and_unlock(table);
  return browse_call(0, record);
}

int ListKey(int key) {
  if (key == KEY_F7) return ToggleStatus(CurrentBrowse);
  hot_keys(key, 1, RIGHT_APPEND, 1, RIGHT_MODIFY, 1, RIGHT_DELETE, nullptr);
  return 0;
}

// ---- the choice

// The firm's directory as the data directory: a KAT without a drive lies below
// the program directory.
void SetDataPath(Environment* env, const std::string& kat) {
  TransDir(kat.c_str(), &env->dataPath);
  if (env->dataPath.parts & PATH_HAS_DRIVE) return;
  std::string program = std::string(env->programPath.drive) + env->programPath.dir;
  if (program.empty() || (program.back() != '\\' && program.back() != '/')) program += '\\';
  std::string relative = kat;
  if (!relative.empty() && relative[0] == '\\') relative.erase(0, 1);
  TransDir((program + relative).c_str(), &env->dataPath);
}

}  // namespace

int FirmsList() {
  staField = Field(KATA_STA);
  nazField = Field(KATA_NAZ);
  katField = Field(KATA_KAT);
  uwaField = Field(KATA_UWA);
  static ScrollColumn columns[4];
  static TextCtrl texts[4];
  static EditCtrl edits[4];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&staField, 0, "S")->valueRoutine = StatusColumn;
  DefineScrollColumn(&nazField, 0, "klient ");
  DefineScrollColumn(&katField, 0, "katalog");
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, FIELD_COLUMN, &nazField, 0);
  DefineTextCtrl(1, FIELD_COLUMN, &katField, 0);
  DefineTextCtrl(2, FIELD_COLUMN, &uwaField, 0);
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(0, FIELD_COLUMN, &nazField, EDIT_DATE)->validator = valid_empty_get;
  DefineEditCtrl(1, FIELD_COLUMN, &katField, EDIT_DATE)->validator = DirectoryEntered;
  DefineEditCtrl(2, FIELD_COLUMN, &uwaField, EDIT_DATE);

  FilterSet filters{};
  FilterItem items[2];
  ResetFiltersDefinition(&filters, items, sizeof items);
  listFilters = &filters;
  FilterItem* active = DefineFilter(FilterFld(staField), "Aktywny......", nullptr, FILTER_TEXT_LENGTH, 0, 1, 0,
                                    ActiveKey, 0, nullptr);
  if (active) active->own_test.text = ActiveTest;

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 1, browse_dopisz, nullptr);
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(" Usu\xA4 ", RIGHT_DELETE, 'u', 1, browse_skasuj, nullptr);
  MenuDefineItem(" Filtry ", RIGHT_FILTERS, 'f', 0, OpenFilters, nullptr);
  BrowseContext* ctx = nullptr;
  int result = allocate_browse(&ctx, Z5KATA.table, Z5KATA.tag[0], columns, bar);
  if (result == 0) {
    ctx->record_texts = texts;
    ctx->append_edits = edits;
    ctx->edit_texts = texts;
    ctx->record_lines_source = []() -> int16_t { return RES_FIRM_LINES; };
    ctx->record_lines_count = FORM_LINES;
    ctx->edit_lines_source = []() -> int16_t { return RES_FIRM_LINES; };
    ctx->edit_lines_count = FORM_LINES;
    ctx->title = MSG_FIRMS_TITLE;
    ctx->filter_fn = FilterFunction;
    ctx->filter_data = reinterpret_cast<intptr_t>(&filters);
    ctx->before_new = BeforeNewFirm;
    ctx->key_hook = ListKey;
    set_fun_help("F7", "Status", 7);
    zrob_browse(FORM_LINES, FORM_LINES, 0);
    free_browse(&ctx);
  }
  FreeFilters(&filters);
  w4close(bar);
  return result == 0 ? 0 : -1;
}

int IsFirmAllowed(int operatorNumber, long firmRecord) {
  if (OpenZ5KAPA(0) != 0) return 0;
  int allowed = 0;
  DbTable* pairs = Z5KAPA.table;
  int r = SeekNumber(Z5KAPA, 1, firmRecord, static_cast<int>(f4len(Z5KAPA.field[KAPA_WM])));
  for (; r == 0 && f4long(Z5KAPA.field[KAPA_WM]) == firmRecord; r = d4skip(pairs, 1)) {
    // A deleted pair no longer grants the firm.
    if (!d4deleted(pairs) && f4long(Z5KAPA.field[KAPA_JK]) == operatorNumber) {
      allowed = 1;
      break;
    }
  }
  d4close(pairs);
  return allowed;
}

int FirmPickFilter(intptr_t) {
  if (Inactive()) return X4_REJECT;
  if (pass_tab_test(RIGHT_CATALOGUE)) return X4_ACCEPT;
  return IsFirmAllowed(EnvCurrent()->operatorNumber, d4recno(Z5KATA.table)) ? X4_ACCEPT : X4_REJECT;
}

namespace {

// A directory as the log shows it: where it lies on disk, as boxes show it.
std::string ShownDir(const std::string& windowsPath) { return EnvShownPath(EnvToDiskPath(windowsPath.c_str())); }

}  // namespace

int WybierzFirme() {
  Environment* env = EnvCurrent();
  PathRecord* remembered = env->currentPath;
  std::string before = WorkDirQStr();
  int opened = OpenZ5KATA(0);
  std::string after = WorkDirQStr();
  if (after != before) {
    ErrLogMessage(EL_FORMAT, LOG_DIR_LEFT_CHANGED, "%s, %s", ShownDir(before).c_str(), ShownDir(after).c_str());
    ChangeDir(remembered, LOG_DIR_LEFT_CHANGED, 0);
  }
  if (opened != 0) return 0;
  DbTable* table = Z5KATA.table;
  d4tag_select(table, Z5KATA.tag[0]);
  int top = d4top(table);
  if (top < 0) {
    d4close(table);
    return -1;
  }
  if (top == 0 && d4reccount(table) > 0) {
    static DbField* nameField;
    nameField = Field(KATA_NAZ);
    static PoleKodowane picker[2];
    ResetPoleKodowaneDefinition(picker, sizeof picker);
    DefinePoleKodowane(0, "Nazwa", &nameField, &Z5KATA.tag[0], 1, -1);
    if (pole_kodowane_fun(nullptr, MSG_FIRMS_TITLE, picker, FirmPickFilter, PICKER_ROW, 0, table) != KEY_ENTER) {
      d4close(table);
      return 0;
    }
    std::string kat = Trimmed(Field(KATA_KAT));
    if (kat.empty()) {
      ErrLogMessage(EL_TEXT, LOG_FIRM_WITHOUT_DIR, Trimmed(Field(KATA_NAZ)).c_str());
      d4close(table);
      return 0;
    }
    SetDataPath(env, kat);
  }
  d4close(table);
  if (ChangeDir(&env->dataPath, LOG_ENTER_FIRM, 0) == 0) {
    ErrLogMessage(EL_FORMAT, LOG_FIRM_DIR, "%s",
                  ShownDir(std::string(env->dataPath.drive) + env->dataPath.dir).c_str());
    return 1;
  }
  return ChangeDir(&env->startPath, LOG_BACK_TO_START, CHDIR_LOG) == 0 ? 0 : -1;
}

int ZmienFirme(int32_t, int32_t) {
  Environment* env = EnvCurrent();
  if (env->engine.open_tables.count > 0) return 0;
  PathRecord* remembered = env->currentPath;
  // The choice rewrites the data path, usually the directory to come back to.
  PathRecord dataPath = env->dataPath;
  if (ChangeDir(&env->startPath, LOG_SWITCH_TO_START, 0) != 0) return 0;
  if (WybierzFirme() > 0 && FirmChosenRoutine && FirmChosenRoutine() == 0) return 0;
  env->dataPath = dataPath;
  ChangeDir(remembered, LOG_SWITCH_BACK, CHDIR_LOG);
  return 0;
}
