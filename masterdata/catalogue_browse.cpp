#include "masterdata/catalogue_browse.h"

#include "db/db_scan.h"
#include "env/env_state.h"
#include "env/session/environment.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/message_box.h"
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

int EmptyRefused(bool empty) {
  if (!empty) return 0;
  Uwaga(MSG_NOT_EMPTY);
  return 1;
}

int DuplicateRefused(DbTable* table, DbTag* tag, const char* key, TextRef duplicate) {
  int modifying = CurrentBrowse ? CurrentBrowse->modify_mode : 0;
  return ValidUniqueTag(table, tag, key, modifying, duplicate);
}
