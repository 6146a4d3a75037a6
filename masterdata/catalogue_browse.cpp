#include "masterdata/catalogue_browse.h"

#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/env_state.h"
#include "env/session/environment.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NOT_EMPTY = 50140;

// The catalogue running now; a catalogue opened from another one's form
// puts it back when it ends.
const CatalogueBrowse* running = nullptr;

int16_t FormResource() { return running ? running->formResource : 0; }

int CatalogueKeys(int key) {
  if (running)
    hot_keys(key, 0, running->appendRight, 0, running->modifyRight, 1, running->deleteRight, running->stamp);
  return 0;
}

int Complete() { return running && running->complete ? running->complete() : 0; }

}  // namespace

int PytanieWOknieSzukania(BrowseContext* c, const char* prompt, char* text, const char* picture, bool upper) {
  bool own = w4record(c->seek_window) == nullptr || c->seek_window <= 0;
  int window = own ? DefineSeekWindow(-1, -1, -1, -1, nullptr, 2, nullptr, nullptr) : c->seek_window;
  int previous = w4select(window);
  w4activate(window);
  w4clear(0);
  w4(0, 0, prompt);
  int col = static_cast<int>(std::strlen(prompt));
  bool date = picture && std::strcmp(picture, "DD-MM/YY") == 0;
  date ? g4date(0, col, text) : g4(0, col, text);
  if (picture) g4picture(picture);
  if (upper) g4upper();
  int key = g4read();
  w4deactivate(window);
  if (own) w4close(window);
  w4select(previous);
  return key;
}

int32_t CatalogueAppend(int32_t repeated) { return browse_dopisz(repeated); }
int32_t CatalogueModify(int32_t) { return browse_modyfikuj(0); }
int32_t CataloguePrint(int32_t) { return browse_drukuj(); }
int32_t CatalogueDelete(int32_t ask) { return browse_skasuj(ask); }

int RunCatalogueBrowse(const CatalogueBrowse& spec) {
  const CatalogueBrowse* outer = running;
  running = &spec;
  int previous = w4select(-1);
  int bar = DefineMainMenuWindow();
  for (int i = 0; i < spec.actionCount; i++) {
    const CatalogueAction& a = spec.actions[i];
    MenuDefineItem(a.text, a.right, a.key, a.value, a.action, nullptr);
  }
  BrowseContext* ctx = nullptr;
  if (allocate_browse(&ctx, spec.table, spec.tag, spec.columns, bar) == 0) {
    ctx->append_edits = spec.edits;
    ctx->edit_texts = spec.texts;
    ctx->edit_lines_source = FormResource;
    ctx->edit_lines_count = spec.formLines;
    ctx->print_columns = spec.printColumns;
    ctx->title = spec.title;
    ctx->print_title = spec.title;
    ctx->stamp_field = spec.stamp;
    ctx->key_hook = CatalogueKeys;
    ctx->on_validate = Complete;
    ctx->modify_hooks[MODIFY_SAVE] = Complete;
    if (spec.beforeAppend) ctx->before_write = spec.beforeAppend;
    zrob_browse(0, spec.formLines, 0);
    free_browse(&ctx);
  }
  w4close(bar);
  w4select(previous);
  running = outer;
  return 0;
}

int RunFromList(int (*catalogue)()) {
  Environment* env = EnvCurrent();
  int caretRow = env ? env->caretRow : -1, caretCol = env ? env->caretColumn : -1;
  int window = w4select(-1);
  w4cursor(-1, -1);
  int result = catalogue();
  w4select(window);
  if (caretRow >= 0 && caretCol >= 0) w4cursor(caretRow, caretCol);
  return result;
}

int SzukajWKatalogu(const char* prompt, int width, DbTag* tag) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return -1;
  std::string text(static_cast<size_t>(width), ' ');
  if (PytanieWOknieSzukania(c, prompt, text.data(), nullptr, true) != KEY_ENTER) return 0;
  text.erase(text.find_last_not_of(' ') + 1);
  DbTable* table = c->table;
  long current = d4recno(table);
  d4tag_select(table, tag);
  int r = x4seek(&c->scan, text.c_str());
  if (r < 0) return -1;
  return browse_call(0, r == 0 || r == 2 ? d4recno(table) : current);
}

int EmptyRefused(bool empty) {
  if (!empty) return 0;
  Uwaga(MSG_NOT_EMPTY);
  return 1;
}

int DuplicateRefused(DbTable* table, DbTag* tag, const char* key, TextRef duplicate) {
  int modifying = CurrentBrowse ? CurrentBrowse->modify_mode : 0;
  return ValidUniqueTag(table, tag, key, modifying, duplicate);
}
