// The archive window: the archive directory and subdirectory, which archives
// take part, their paths, and the run of writing or restoring.
#include "app/archive_window.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/archive_backup.h"
#include "app/maintenance.h"
#include "app/option_forms.h"
#include "app/option_sets.h"
#include "app/param_store.h"
#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/form_text.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

int16_t ArchiveFormTextId() { return 88; }

constexpr int MSG_NO_ARCHIVE_DIR = 4;
constexpr int MSG_ARCHIVE_FAILED = 5;
constexpr int MSG_WRITE_DONE = 6;
constexpr int MSG_RESTORE_DONE = 7;
constexpr int LOG_ARCHIVE_DIR = 328;
constexpr int FIELD_COL = 21;
constexpr int PROGRESS_ROW = 9;
constexpr int ARCHIVE_DIR_SIZE = 35;   // main options parameter 29
constexpr int ARCHIVE_DIR_SHOWN = 36;
constexpr int SUBDIR_SIZE = 13;        // PODATKI parameter 15
constexpr int PATH_WIDTH = 50;
constexpr int KEY_F2_SAVED = 0x3C00;

struct ArchiveForm {
  int kind;
  char date[9];
  char archiveDir[ARCHIVE_DIR_SHOWN + 1];
  char subdir[SUBDIR_SIZE];
  char firmSwitch, commonSwitch, verifySwitch;
  char owner[71];
  char firmPath[PATH_WIDTH + 1];
  char commonPath[PATH_WIDTH + 1];
  char firmName[ARCHIVED_NAME_SIZE];
  char commonName[ARCHIVED_NAME_SIZE];
  Wiget list[24];
  std::vector<std::string> labels;   // the static elements point into these
};

ArchiveForm form;

std::string Trimmed(const char* text) {
  std::string s = text;
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// Main options parameter 29, "A:" until set.
std::string ReadArchiveDirectory() {
  ParamTable ctx{};
  ctx.k1 = 1;
  ctx.k2 = 1;
  static const std::string section = Utf8ToMazText("OPCJE GŁÓWNE");
  ctx.section = section.c_str();
  if (OpenParamTable(&ctx, MainOptionsFileName(), 0, PARAM_PROGRAM_DIR) != 0) return "";
  char dir[ARCHIVE_DIR_SIZE] = {};
  std::snprintf(dir, sizeof dir, "%-*s", ARCHIVE_DIR_SIZE - 1, "A:");
  GetParam(&ctx, 29, 'C', dir, ARCHIVE_DIR_SIZE - 1);
  d4close(ctx.table);
  return Trimmed(dir);
}

ParamTable* OpenPodatki(ParamTable* ctx) {
  *ctx = ParamTable{};
  ctx->k1 = 1;
  ctx->k2 = 1;
  ctx->section = "PODATKI";
  return OpenParamTable(ctx, "Z5PAPV.DBF", 0, PARAM_CURRENT_DIR) == 0 ? ctx : nullptr;
}

// PODATKI parameter 15: the archive's subdirectory.
std::string ReadArchiveSubdir() {
  ParamTable ctx;
  if (!OpenPodatki(&ctx)) return "";
  char subdir[SUBDIR_SIZE] = {};
  GetParamText(&ctx, 15, subdir, sizeof subdir, 0);
  d4close(ctx.table);
  return Trimmed(subdir);
}

void SaveArchiveSubdir(const char* subdir) {
  ParamTable ctx;
  if (!OpenPodatki(&ctx)) return;
  SetParamStr(&ctx, 15, subdir);
  d4close(ctx.table);
}

// A drive letter of the archive directory whose folder is missing. The
// archive never makes that folder itself, or it would land unseen on the
// disk of the data it is to save; the operator is told which folder the
// letter stands for, to make it or map the letter elsewhere.
bool DriveUnmapped(const char* dir) {
  if (!std::isalpha(static_cast<unsigned char>(dir[0])) || dir[1] != ':') return false;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(dir[0])));
  const std::string root = PlatDriveRoot(letter);
  PlatFileInfo info;
  if (PlatFileInfoOf(root.c_str(), true, &info) == PLAT_OK && info.isDirectory) return false;
  char line1[80], line4[80];
  std::snprintf(line1, sizeof line1, Utf8ToMazText("Napęd %c: nie jest przypisany do katalogu.").c_str(), letter);
  std::snprintf(line4, sizeof line4, Utf8ToMazText("albo ustaw zmienną ZELSAL_DRIVE_%c.").c_str(), letter);
  const std::string shown = EnvShownPath(root);
  MessageWindow(MB_ERROR, line1, Utf8ToMazText("Utwórz katalog").c_str(), shown.c_str(), line4);
  return true;
}

void BuildPaths() {
  const std::string subdir = Trimmed(form.subdir);
  MergePath(form.firmPath, sizeof form.firmPath, MERGE_DIR | MERGE_DIR2 | MERGE_NAME, form.archiveDir, subdir.c_str(),
            form.firmName);
  MergePath(form.commonPath, sizeof form.commonPath, MERGE_DIR | MERGE_DIR2 | MERGE_NAME, form.archiveDir,
            subdir.c_str(), form.commonName);
}

void ReadFirmArchiveInfo() {
  char date[9];
  if (ReadArchiveInfo(Trimmed(form.firmPath).c_str(), form.owner, sizeof form.owner, date)) {
    std::memcpy(form.date, date, 8);
  } else {
    form.owner[0] = '\0';
    std::memset(form.date, ' ', 8);
  }
}

// The paths follow the subdirectory as the operator leaves it.
int SubdirChanged(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST) return 0;
  std::snprintf(form.subdir, sizeof form.subdir, "%.*s", event->newValue.text.width, event->newValue.text.text);
  BuildPaths();
  if (form.kind == ARCHIVE_RESTORE) ReadFirmArchiveInfo();
  DisplayPageWigets(nullptr, form.list, 0, 0, WD_ALL);
  return 0;
}

void DefineForm(std::vector<std::string> lines) {
  form.labels = std::move(lines);
  const std::vector<std::string>& labels = form.labels;
  ResetWigetsDefinition(form.list, sizeof form.list / sizeof form.list[0] * WIGET_BYTES, 0);
  for (size_t i = 0; i < labels.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    if (labels[i].empty() || (row == 8 && form.kind != ARCHIVE_WRITE)) continue;
    DefineWigetEx(row, 1, WigetMsg(labels[i].c_str()), 0, W_STATIC);
  }
  DefineWigetEx(1, FIELD_COL, WigetVar(form.date), 0, W_DATE | WF_DISPLAY_ONLY);
  DefineWigetEx(2, FIELD_COL, WigetVar(form.archiveDir), ARCHIVE_DIR_SHOWN, W_TEXT | WF_DISPLAY_ONLY);
  Wiget* subdir = DefineWigetEx(2, FIELD_COL + 37, WigetVar(form.subdir), SUBDIR_SIZE - 1, W_TEXT);
  if (subdir) subdir->hook = SubdirChanged;
  DefineWigetEx(3, FIELD_COL, WigetVar(&form.firmSwitch), 0, W_YESNO);
  DefineWigetEx(4, 1, WigetVar(form.owner), 70, W_TEXT | WF_DISPLAY_ONLY);
  DefineWigetEx(5, FIELD_COL, WigetVar(form.firmPath), PATH_WIDTH, W_TEXT | WF_DISPLAY_ONLY);
  DefineWigetEx(6, FIELD_COL, WigetVar(&form.commonSwitch), 0, W_YESNO);
  DefineWigetEx(7, FIELD_COL, WigetVar(form.commonPath), PATH_WIDTH, W_TEXT | WF_DISPLAY_ONLY);
  if (form.kind == ARCHIVE_WRITE) DefineWigetEx(8, FIELD_COL, WigetVar(&form.verifySwitch), 0, W_YESNO);
}

// 1 when every chosen archive was written (and verified) or restored.
int RunArchives() {
  const EnvState* state = EnvCurrentState();
  static PathRecord firmDir;
  if (state && *state->currentPath && *state->currentPath != &firmDir) firmDir = **state->currentPath;
  static PathRecord archiveDir;   // current for a moment: ChangeDir keeps pointing at it
  // The form pads what it shows with blanks.
  const std::string firmPath = Trimmed(form.firmPath), commonPath = Trimmed(form.commonPath);
  TransDir(ExtractDirQStr(commonPath.c_str()), &archiveDir);
  if (ChangeDir(&archiveDir, LOG_ARCHIVE_DIR, 0) != 0) return 0;
  ChangeDir(&firmDir, 0, CHDIR_QUIET);
  ArchivedFile table[ARCHIVED_FILES_COUNT];
  PrepareArchivedFiles(table, EnvCurrent()->settlementYear, MainOptionsFileName());
  char backup[8];
  int ok = 1;
  if (form.commonSwitch == 'T') {
    if (form.kind == ARCHIVE_WRITE)
      ok = WriteArchive(table, commonPath.c_str(), ARCH_COMMON | ARCH_PROGRAM) &&
           (form.verifySwitch != 'T' || VerifyArchive(table, commonPath.c_str(), ARCH_COMMON | ARCH_PROGRAM));
    else
      ok = RestoreArchive(table, commonPath.c_str(), backup);
  }
  // The firm's own files; never the rows of the common directory, which one
  // firm's restore would overwrite for every firm.
  if (ok && form.firmSwitch == 'T') {
    if (form.kind == ARCHIVE_WRITE)
      ok = WriteArchive(table, firmPath.c_str(), ARCH_ZUS | ARCH_FIRM) &&
           (form.verifySwitch != 'T' || VerifyArchive(table, firmPath.c_str(), ARCH_ZUS | ARCH_FIRM));
    else
      ok = RestoreArchive(table, firmPath.c_str(), backup);
  }
  return ok;
}

}  // namespace

void ArchiveWindow(int kind) {
  Environment* env = EnvCurrent();
  const std::string archiveDir = ReadArchiveDirectory();
  if (archiveDir.empty()) {
    Alarm(MSG_NO_ARCHIVE_DIR);
    return;
  }
  if (DriveUnmapped(archiveDir.c_str())) return;
  if (LoadZusOptions() != 0) return;   // the ZUS rows need their directory
  form = ArchiveForm{};
  form.kind = kind;
  std::snprintf(form.archiveDir, sizeof form.archiveDir, "%s", archiveDir.c_str());
  std::snprintf(form.subdir, sizeof form.subdir, "%s", ReadArchiveSubdir().c_str());
  std::snprintf(form.firmName, sizeof form.firmName, "Arc5  .A01");
  std::snprintf(form.commonName, sizeof form.commonName, "Arc5G  .A01");
  PutArchiveYear(form.firmName, env->settlementYear);
  PutArchiveYear(form.commonName, env->settlementYear);
  form.firmSwitch = 'T';
  form.commonSwitch = 'N';
  form.verifySwitch = 'T';
  BuildPaths();
  if (kind == ARCHIVE_WRITE) {
    std::memcpy(form.date, get_cur_das(0), 8);   // the working date, today unless switched off
    std::snprintf(form.owner, sizeof form.owner, "%.70s", env->ownerName);
  } else {
    ReadFirmArchiveInfo();
  }

  DefineForm(ResourceLines(ArchiveFormTextId));
  const std::string title = Utf8ToMazText(kind == ARCHIVE_WRITE ? "Zapis archiwum" : "Odczyt danych z archiwum");
  const int window = DefineWprowadzWindow(5, 3, 20, 74, title.c_str(), form.list, &form);
  if (window < 0) {
    FreeWigets(form.list);
    return;
  }
  ShowFirstOptionsPage(window, form.list);   // the labels stand before the first key
  const int key = ActivateWindow(window, nullptr, nullptr, 0);
  if (key == KEY_F2_SAVED) {
    SetArchiveProgressWindow(window, PROGRESS_ROW);
    SaveArchiveSubdir(Trimmed(form.subdir).c_str());
    const bool runs = form.commonSwitch == 'T' || form.firmSwitch == 'T';
    const int ok = runs ? RunArchives() : 1;
    SetArchiveProgressWindow(-1, 0);
    if (runs && !ok) {
      Alarm(MSG_ARCHIVE_FAILED);
    } else if (runs && kind == ARCHIVE_WRITE) {
      Informacja(MSG_WRITE_DONE);
    } else if (runs) {
      MessageWindow(MB_INFO, MSG_RESTORE_DONE);
      Serwis(env->settlementYear, form.firmSwitch == 'T', form.commonSwitch == 'T');
    }
  }
  w4deactivate(window);
  w4close(window);
  FreeWigets(form.list);
}

int ArchiwumAction(int kind) {
  ArchiveWindow(kind);
  return 0;
}
