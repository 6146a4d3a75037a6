// The import from the bookkeeping program: a "ZELM_...EXP" file unpacked in
// a work directory of its own, the seller check against the own firm, and
// the accounts, contractors and descriptions merged into the catalogues in
// the window "IMPORT DANYCH Z DIZORUD".
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/module_entries.h"
#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/bookkeeping_exchange.h"
#include "interchange/packed_set.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/name_dialogs.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_FILES = 169, MSG_DIFFERENT_SELLER = 214, MSG_NO_SELLER = 215;
constexpr int MSG_IMPORT_FAILED = 20106, MSG_OVERWRITE = 20043, MSG_ACCOUNT_NAMES = 20130, MSG_NIP = 20132;
constexpr int MSG_PRESS_ANY_KEY = 50011;
constexpr int WINDOW_ROWS = 9, WINDOW_COLS = 48, SCREEN_ROWS = 30, SCREEN_COLS = 80;
constexpr int ADDED_COL = 22, CHANGED_COL = 35;
constexpr int KEY_WAIT_MS = 10000;
constexpr int SEEK_AFTER = 2, SEEK_EOF = 3;
constexpr int MAX_CODE_COUNTER = 9999;

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

// Every field of `from` into the field of the same name of `to`: the
// archive's tables need not have the live layout.
void CopyByName(DbTable* to, DbTable* from) {
  for (int j = 1; j <= d4num_fields(from); j++) {
    DbField* source = d4field_j(from, j);
    DbField* target = d4field(to, f4name(source));
    if (target && f4type(target) == f4type(source)) f4assign_field(target, source);
  }
  to->engine->error_code = 0;
}

std::string Trimmed(DbField* field) { return QuickStr(f4ptr(field), f4len(field), QS_RTRIM | QS_LTRIM); }

bool Yes(int key) { return key == 'T' || key == 't'; }

// The question of an overwrite: the own text against the imported one.
bool Overwrite(int message, const std::string& own, const std::string& imported) {
  std::string a = PrintfQStr(Maz("oryginał: %s").c_str(), own.c_str());
  std::string b = PrintfQStr("import:   %s", imported.c_str());
  return Yes(MessageWindow(MB_QUESTION | MB_YES_ESC, message, a.c_str(), b.c_str(), " ", MSG_OVERWRITE));
}

struct Merge {
  const char* label;
  int (*open)(int);
  TableHandles* live;
  int (*openCopy)(const char*, int, const char*);
  TableHandles* copy;
  const char* file;
  // The seek of the imported record's key in the live table.
  int (*seek)(DbTable* imported);
  // True when the found record should be overwritten (after the question).
  bool (*differs)(DbTable* imported, DbTable* own);
};

int SeekAccount(DbTable* imported) {
  // The whole width: a shorter number must not land on a longer one.
  std::string key = Trimmed(d4field(imported, "NUM"));
  key.resize(f4len(d4field(Z5KONT.table, "NUM")), ' ');
  return SeekKontoByNum(key.c_str());
}
int SeekContractor(DbTable* imported) { return SeekKontrahentByKod(Trimmed(d4field(imported, "KOD")).c_str()); }
int SeekDescription(DbTable* imported) { return SeekOpisByKod(Trimmed(d4field(imported, "KOD")).c_str()); }

bool AccountDiffers(DbTable* imported, DbTable* own) {
  std::string a = Trimmed(d4field(own, "NAZ")), b = Trimmed(d4field(imported, "NAZ"));
  return a != b && Overwrite(MSG_ACCOUNT_NAMES, a, b);
}
bool ContractorDiffers(DbTable* imported, DbTable* own) {
  std::string a = NipFldQStr(d4field(own, "NIP")), b = NipFldQStr(d4field(imported, "NIP"));
  return a != b && Overwrite(MSG_NIP, Trimmed(d4field(own, "NIP")), Trimmed(d4field(imported, "NIP")));
}
bool NeverDiffers(DbTable*, DbTable*) { return false; }

void MergeCatalogue(const Merge& m, int row, const char* directory) {
  w4(row, 1, Maz(m.label).c_str());
  long added = 0, changed = 0;
  w4long(row, ADDED_COL, added, 5);
  w4long(row, CHANGED_COL, changed, 5);
  char path[260];
  MergePath(path, sizeof path, MERGE_DIR | MERGE_NAME, directory, m.file);
  // An archive without this catalogue leaves it alone, without a word.
  if (!EnvFileExists(path) || m.open(0) != 0) return;
  DbTable* own = m.live->table;
  if (m.openCopy(m.file, 0, directory) == 0) {
    DbTable* imported = m.copy->table;
    for (int rc = d4top(imported); rc == 0 && !d4eof(imported); rc = d4skip(imported, 1)) {
      if (d4deleted(imported)) continue;
      int found = m.seek(imported);
      if (found == SEEK_AFTER || found == SEEK_EOF) {
        if (d4append_start(own, 0) != 0) continue;
        d4blank(own);
        CopyByName(own, imported);
        if (d4append(own) == 0) w4long(row, ADDED_COL, ++added, 5);
      } else if (found == 0 && m.differs(imported, own) && go_and_lock(own, d4recno(own)) == 0) {
        CopyByName(own, imported);
        if (write_and_unlock(own) == 0) w4long(row, CHANGED_COL, ++changed, 5);
      }
    }
    d4close(imported);
  }
  d4flush(own);
  d4close(own);
}

// A fresh directory beside the firm's tables for the archive's files.
std::string MakeWorkDirectory() {
  std::string path;
  PlatFile file;
  if (PlatCreateTempFile("", "zimp", ".dir", &path, &file) != PLAT_OK) return "";
  PlatFileClose(file);
  PlatFileDelete(path.c_str());
  if (PlatMkDir(path.c_str()) != PLAT_OK) return "";
  if (path[0] != '/') path = PlatGetCwd() + path;
  return path + "/";
}

void RemoveWorkDirectory(const std::string& path) {
  std::vector<PlatDirEntry> entries;
  PlatListDir(path.c_str(), "*", &entries);
  for (const PlatDirEntry& entry : entries) PlatFileDelete((path + entry.name).c_str());
  PlatRmDir(path.c_str());
}

// Unpacks the archive into the work directory; the firm directory stays current.
bool Unpack(const std::string& archive, const std::string& work) {
  std::string firm = PlatGetCwd();
  if (PlatChDir(work.c_str()) != PLAT_OK) return false;
  bool unpacked = Decompress2(archive.c_str()) == 1;
  PlatChDir(firm.c_str());
  return unpacked;
}

// The seller check; false when the operator stops the import.
bool SameSeller() {
  DbTable* own = Z5PAWL.table;
  DbTable* imported = PawlCopy.table;
  DbField* na1 = d4field(own, "NA1");
  DbField* skn = d4field(own, "SKN");
  DbField* nip = d4field(own, "NIP");
  if (FieldIsEmpty(na1) && FieldIsEmpty(skn) && FieldIsEmpty(nip) &&
      Yes(MessageWindow(MB_WARNING | MB_YES_ESC, MSG_NO_SELLER)) && go_and_lock(own, d4recno(own)) == 0) {
    CopyByName(own, imported);
    write_and_unlock(own);
  }
  constexpr int flags = QS_RTRIM | QS_LTRIM | QS_UPPER;
  bool same = FldEqualText(na1, PawlCopy.field[0], flags) && FldEqualText(skn, PawlCopy.field[1], flags) &&
              std::strcmp(NipFldQStr(nip), NipFldQStr(PawlCopy.field[2])) == 0;
  return same || Yes(MessageWindow(MB_WARNING | MB_YES_ESC, MSG_DIFFERENT_SELLER));
}

void ImportKatalogow(const char* directory) {
  const Merge merges[] = {
      {"Konta", OpenZ5KONT, &Z5KONT, OpenZ5KONTCopy, &KontCopy, "Z5KONTEX.DBF", SeekAccount, AccountDiffers},
      {"Kontrahenci", OpenZ5KHNT, &Z5KHNT, OpenZ5KHNTCopy, &KhntCopy, "Z5KHNTEX.DBF", SeekContractor,
       ContractorDiffers},
      {"Opisy zdarzeń", OpenZ5OPIS, &Z5OPIS, OpenZ5OPISCopy, &OpisCopy, "Z5OPISEX.DBF", SeekDescription,
       NeverDiffers},
  };
  int previous = w4select(-1);
  int window = DefineDialogWindow((SCREEN_ROWS - WINDOW_ROWS) / 2, (SCREEN_COLS - WINDOW_COLS) / 2, WINDOW_ROWS,
                                  WINDOW_COLS, "IMPORT DANYCH Z DIZORUD");
  if (window >= 0) w4activate(window);
  w4(1, 10, "rekordy   dopisane   zmodyfikowane");
  int row = 2;
  for (const Merge& m : merges) MergeCatalogue(m, row++, directory);
  w4centre(row + 1, EnvFindString(MSG_PRESS_ANY_KEY));
  WaitFor(1, KEY_WAIT_MS);
  if (KeyPressed()) g4char();
  if (window >= 0) {
    w4deactivate(window);
    w4close(window);
  }
  w4select(previous);
}

}  // namespace

void ImportArchiwum(const char* archive) {
  std::string work = MakeWorkDirectory();
  if (work.empty() || !Unpack(archive, work)) {
    Alarm(MSG_IMPORT_FAILED);
    if (!work.empty()) RemoveWorkDirectory(work);
    return;
  }
  std::string directory = EnvFromDiskPath(work);
  // Without the seller's record the import ends without a word.
  if (PlatFileExists((work + "Z5PAWLEX.DBF").c_str()) && OpenZ5PAWLCopy("Z5PAWLEX.DBF", 0, directory.c_str()) == 0 && d4reccount(PawlCopy.table) > 0) {
    if (SameSeller()) ImportKatalogow(directory.c_str());
  }
  if (PawlCopy.table) d4close(PawlCopy.table);
  RemoveWorkDirectory(work);
}

char* NowyKodKontrahenta(const char* kod, const char* nip) {
  std::string own = NipQStr(nip);
  for (int n = 1; n <= MAX_CODE_COUNTER; n++) {
    char code[64];
    std::snprintf(code, sizeof code, "%s(%i)", kod, n);
    int found = SeekKontrahentByKod(code);
    if (found != 0 || std::strcmp(NipFldQStr(d4field(Z5KHNT.table, "NIP")), own.c_str()) == 0)
      return QuickStr(code, -1, 0);
  }
  return QuickStr("", 0, 0);
}

int ImportZKsiegowosci() {
  if (OpenZ5PAWL() != 0) return 0;
  int year = WorkingYear();
  char mask[32];
  std::snprintf(mask, sizeof mask, "ZELM_%i*.EXP", year);
  std::string noFiles = PrintfQStr(MSG_NO_FILES, year);
  for (;;) {
    char directory[51] = {};
    if (Podaj_Nazwe_Katalogu(directory, 50, "C:\\") != 1) break;
    char* chosen = WybierzPlik(directory, mask, noFiles.c_str());
    if (chosen == nullptr) continue;
    char archive[260];
    MergePath(archive, sizeof archive, MERGE_DIR | MERGE_NAME, directory, chosen);
    ImportArchiwum(archive);
    break;
  }
  d4close(Z5PAWL.table);
  return 0;
}
