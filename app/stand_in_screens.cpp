#include "app/stand_in_screens.h"

#include <string>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MAX_COLUMNS = 16;
constexpr int RIGHT_ALWAYS = 1;

}  // namespace

int PlainBrowse(const TableHandles& handles, const char* titleUtf8) {
  DbTable* table = handles.table;
  if (!table) return -1;
  static DbField* fields[MAX_COLUMNS];
  static ScrollColumn columns[MAX_COLUMNS];
  ResetScrollDefinition(columns, sizeof columns);
  int shown = 0;
  for (int j = 1; j <= d4num_fields(table) && shown < MAX_COLUMNS; j++) {
    DbField* field = d4field_j(table, j);
    if (!field || f4type(field) == 'M') continue;   // memo texts do not fit a row
    fields[shown] = field;
    DefineScrollColumn(&fields[shown], 0, f4name(field));
    shown++;
  }
  if (shown == 0) return -1;
  static std::string title;
  title = Utf8ToMazText(titleUtf8);

  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Koniec ", RIGHT_ALWAYS, 'k', -1, [](int32_t) -> int32_t { return browse_zakoncz(); }, nullptr);
  BrowseContext* ctx = nullptr;
  int result = allocate_browse(&ctx, table, handles.tag[0], columns, bar);
  if (result == 0) {
    ctx->title = title.c_str();
    result = zrob_browse(0, 0, 0);
    free_browse(&ctx);
  }
  w4close(bar);
  return result;
}

int NotAvailableYet(const char* functionUtf8) {
  std::string name = Utf8ToMazText(functionUtf8);
  std::string text = Utf8ToMazText("Ta funkcja nie jest jeszcze dostępna.");
  MessageWindow(MB_INFO | MB_ANY_KEY, name.c_str(), text.c_str());
  return 0;
}
