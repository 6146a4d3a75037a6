// The export "WYBIERZ DANE DO EXPORTU": the operator marks the columns of a
// tabulogram list and names their fields; the records of the scan go into a
// new table of those fields. The choice can be kept in Z5TABW under "EXP".
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "platform/files.h"
#include "platform/screen_hook.h"
#include "print/tabu_run.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/name_dialogs.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int kMsgFactory = 50068;
constexpr int kMsgSaveChoice = 50070;
constexpr int kMsgFirstChar = 50129;
constexpr int kMsgOtherChars = 50130;
constexpr int kKeyF3 = 0x3D00;
constexpr int kKeyF4 = 0x3E00;
constexpr int kExport = -4, kFactory = -2, kSave = -3, kHeading = -1;
constexpr int kNameLength = 10;
constexpr int kNameColumn = 38;
constexpr int kDescriptionColumn = 5;
constexpr int kDescriptionLength = 31;
constexpr int kItemLength = 49;
constexpr unsigned char kChosenMark = 157;
constexpr unsigned char kVertical = 179;
constexpr int kGetAttr = 143;
constexpr int kFileNameLength = 30;

struct ExportDialog {
  TabuColumn* list;
  int count;
  int menuWindow;
  char heading[80];
  char items[TABU_SLOTS][kItemLength + 1];
};
ExportDialog* Dialog;

std::string ExportName(int i) {
  std::string name(TabuRun.names[i], kNameLength);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

void DrawItem(int i) {
  const TabuColumn& e = Dialog->list[i];
  char* text = Dialog->items[i];
  std::memset(text, ' ', kItemLength);
  text[kItemLength] = 0;
  text[1] = Chosen(e) ? static_cast<char>(kChosenMark) : ' ';
  text[3] = text[36] = static_cast<char>(kVertical);
  // A longer description would run into the name's columns.
  const char* description = e.heading1 ? e.heading1 : "";
  std::memcpy(text + kDescriptionColumn, description, std::min(std::strlen(description), static_cast<size_t>(kDescriptionLength)));
  std::memcpy(text + kNameColumn, TabuRun.names[i], kNameLength);
}

void DefaultChoice() {
  for (int i = 0; i < Dialog->count; i++) {
    TabuColumn& e = Dialog->list[i];
    FillTabuValue(Dialog->list, i);
    e.flags = static_cast<int16_t>(e.flags | TABU_CHOSEN);
    SetPrintedName(i, TabuDefaultExportName(e));
  }
}

void EditName(int i) {
  Window4* menu = w4record(Dialog->menuWindow);
  if (!menu) return;
  const int previous = w4select(-1);
  const int row = menu->row + std::min(i + 1, menu->height - 1);
  const int window = w4define(row, menu->col + kNameColumn, row, menu->col + kNameColumn + kNameLength - 1);
  if (window < 0) return;
  w4attribute(249);
  w4popup();
  char name[kNameLength + 1];
  std::memcpy(name, TabuRun.names[i], kNameLength);
  name[kNameLength] = 0;
  g4attribute(kGetAttr);
  g4(0, 0, name);
  g4upper();
  g4valid(ValidExportFieldName);
  const int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key == KEY_ESC) return;
  SetPrintedName(i, std::string(name, kNameLength));
  TabuColumn& e = Dialog->list[i];
  e.flags = static_cast<int16_t>(e.flags | TABU_CHOSEN);
}

int32_t ItemAction(int32_t value) {
  if (value == kExport) return kExport;
  if (value == kFactory) {
    if (TabuYes(kMsgFactory)) DefaultChoice();
  } else if (value == kSave) {
    if (TabuYes(kMsgSaveChoice)) SaveTabuLayout(Dialog->list, "EXP", true);
  } else if (value >= 0 && value < Dialog->count) {
    TabuColumn& e = Dialog->list[value];
    if (Chosen(e))
      e.flags = static_cast<int16_t>(e.flags & ~TABU_CHOSEN);
    else
      EditName(value);
  }
  for (int i = 0; i < Dialog->count; i++) DrawItem(i);
  n4redraw(Dialog->menuWindow);
  return 0;
}

// The menu; its last answer.
int RunDialog() {
  ExportDialog& d = *Dialog;
  const int previous = w4select(-1);
  d.menuWindow = DefineWyboruWindow(-1, -1, "WYBIERZ DANE DO EXPORTU");
  if (d.menuWindow < 0) {
    w4select(previous);
    return KEY_ESC;
  }
  n4attribute(249, 112);
  std::strcpy(d.heading, Utf8ToMazText(" S │ Opis                           │ Nazwa pola").c_str());
  n4item(-1, -1, d.heading);
  n4parm(kHeading);
  n4action(ItemAction);
  for (int i = 0; i < d.count; i++) {
    DrawItem(i);
    n4item(-1, -1, d.items[i]);
    n4parm(i);
    n4action(ItemAction);
  }
  const std::string extras[] = {"[F2]-Exportuj ", Utf8ToMazText("[F3]-Przywróć ustawienia firmowe "),
                                Utf8ToMazText("[F4]-Zapisz konfigurację")};
  const int keys[] = {KEY_F2, kKeyF3, kKeyF4}, values[] = {kExport, kFactory, kSave};
  for (int k = 0; k < 3; k++) {
    n4item(-1, -1, extras[k].c_str());
    n4key(keys[k], 1, -1);
    n4parm(values[k]);
    n4action(ItemAction);
  }
  add_help_line();
  set_fun_help("F2", "Drukuj", 1);
  set_fun_help("F3", Utf8ToMazText("Przywróć").c_str(), 2);
  set_fun_help("F4", "Zapisz", 3);
  n4calc(d.menuWindow, 2, Desktop.cols - 1);
  Environment* env = EnvCurrent();
  MenuKeySource saved = env->menuKeyRoutine;
  n4char_routine(nullptr);
  const int answer = n4activate(d.menuWindow, 0, nullptr, nullptr, 1);
  n4char_routine(saved);
  remove_help_line();
  w4close(d.menuWindow);
  w4select(previous);
  return answer;
}

bool Exportable(char type) { return type == 'C' || type == 'D' || type == 'N'; }

// The chosen columns' fields into a new table, one record per record of the scan.
void WriteExport(TabuColumn* list, int count, DbScanCtx* scan, DbTable* table, const char* fileName) {
  std::vector<int> chosen;
  std::vector<std::string> names;
  for (int i = 0; i < count; i++) {
    if (!Chosen(list[i])) continue;
    DbField* field = list[i].field ? *list[i].field : nullptr;
    const char type = field ? static_cast<char>(f4type(field)) : '\0';
    if (!Exportable(type)) {
      const std::string text = Utf8ToMazText("Kolumna pominięta w eksporcie (typ pola inny niż C, D, N): ") +
                               (list[i].heading1 ? list[i].heading1 : "");
      ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, text.c_str());
      continue;
    }
    std::string name = ExportName(i);
    ConvChars(name.data(), static_cast<int>(name.size()), MazToWindowsPairs, 0);
    chosen.push_back(i);
    names.push_back(name);
  }
  if (chosen.empty()) return;
  PlatFileDelete(fileName);
  if (AllocDbfDefinition() == nullptr) return;
  for (size_t k = 0; k < chosen.size(); k++) {
    DbField* field = *list[chosen[k]].field;
    const int type = f4type(field) == 'C' ? DBF_SPEC_C : f4type(field) == 'D' ? DBF_SPEC_D : DBF_SPEC_N;
    DefineField_(names[k].c_str(), static_cast<int>(f4len(field)) << 8 | (f4decimals(field) & 0xF) << 4 | type);
  }
  DbTable* out = nullptr;
  if (open_dbf(fileName, &out, GetFieldsInfo(), nullptr, nullptr, OPEN_DBF_KEEP_EXT) != 0 || out == nullptr) {
    ReleaseDbfDefinition();
    return;
  }
  std::vector<DbField*> targets;
  for (int j = 1; j <= static_cast<int>(chosen.size()); j++) targets.push_back(d4field_j(out, j));
  const long remembered = d4recno(table);
  if (set_lock(table, -1) == 0) {
    for (int moved = x4top(scan); moved == 0; moved = x4skip(scan, 1)) {
      if (d4append_start(out, 0) != 0) break;
      d4blank(out);
      for (size_t k = 0; k < chosen.size(); k++) {
        DbField* field = *list[chosen[k]].field;
        std::string bytes(f4ptr(field), f4len(field));
        if (f4type(field) == 'C') ConvChars(bytes.data(), static_cast<int>(bytes.size()), MazToWindowsPairs, 0);
        f4assign_n(targets[k], bytes.data(), static_cast<unsigned>(bytes.size()));
      }
      if (d4append(out) != 0) break;
    }
    d4unlock(table);
  }
  if (remembered > 0) d4go(table, remembered);
  d4close(out);
  ReleaseDbfDefinition();
}

}  // namespace

int ValidExportFieldName(Get4* get) {
  const char* name = static_cast<const char*>(get->data);
  const unsigned char first = static_cast<unsigned char>(name[0]);
  if (!(IsLetter(first) || first == '_')) {
    ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, EnvFindString(kMsgFirstChar));
    return 1;
  }
  int end = get->dataWidth;
  while (end > 0 && (name[end - 1] == ' ' || name[end - 1] == '\0')) end--;
  for (int i = 1; i < end; i++) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (!(IsLetter(c) || (c >= '0' && c <= '9') || c == '_')) {
      ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, EnvFindString(kMsgOtherChars));
      return 1;
    }
  }
  return 0;
}

int ustaw_export(TabuColumn* columns, DbScanCtx* scan, DbTable* table, const char* fileName) {
  const int count = TabuCount(columns);
  if (count >= TABU_SLOTS) return KEY_ESC;
  TabuRun = TabuRunState{};
  SetTabuSettingsName(table, nullptr);
  ExportDialog dialog{};
  Dialog = &dialog;
  dialog.list = columns;
  dialog.count = count;
  LoadTabuLayout(columns, "EXP", true);
  const int answer = RunDialog();
  Dialog = nullptr;
  if (answer != KEY_ESC) {
    char name[kFileNameLength + 1] = {};
    if (GetFileOutputName(name, sizeof name, fileName, 0) == 0) WriteExport(columns, count, scan, table, name);
  }
  TabuRun = TabuRunState{};
  return answer;
}
