// The " Kolektor " jobs of the goods browse: the stock of the filtered goods
// written to "remazero.inw" and zeroed for a count, and a counted "*.inw"
// file taken in, shown and added to the stock, then archived as ".INX".
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_names.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "fiscal/cash_register.h"
#include "fiscal/stock_count.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "tables/masterdata_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_FAILED = 20208;       // "Zakończono błędnie !"
constexpr int MSG_SURE_ZERO = 187, MSG_ARCHIVE = 188, MSG_NO_FILES = 189, MSG_SURE_UPDATE = 190;
constexpr int MSG_BAD_INPUT = 171;      // "Błąd zbioru wejściowego !"
constexpr int LOG_COLLECTOR_DIR = 347;
constexpr int LINE_MAX = 158;
constexpr int NAME_MAX = 13;
constexpr char kZeroFile[] = "remazero.inw";

DbTable* Goods() { return Z5TOWA.table; }
DbField* G(int i) { return Z5TOWA.field[i]; }

constexpr int STOCK_VALUES[] = {TOWA_WZN, TOWA_WZB, TOWA_WSN, TOWA_WSB, TOWA_WBN, TOWA_WBB, TOWA_WCN, TOWA_WCB};

// The collector directory made current: 0 (an empty option stays here) or -1.
int ToCollectorDir() {
  std::string dir(warehouseOptions.collectorDir);
  dir.erase(dir.find_last_not_of(' ') + 1);
  if (dir.empty()) return 0;
  if (dir.back() != '\\') dir += '\\';
  static PathRecord path;
  return ChangeDir(TransDir(dir.c_str(), &path), LOG_COLLECTOR_DIR, 0) == 0 ? 0 : -1;
}

std::vector<long> FilteredRecords(BrowseContext* c) {
  std::vector<long> records;
  for (int r = x4top(&c->scan); r == 0; r = x4skip(&c->scan, 1)) records.push_back(d4recno(Goods()));
  return records;
}

// Writes the record's line, then zeroes it, under its lock and as read after
// locking: a line that cannot be written leaves the stock as it was.
int ZeroOne(FILE* file, long record) {
  if (go_and_lock(Goods(), record) != 0) return -1;
  std::string code(f4ptr(G(TOWA_KOD)), f4len(G(TOWA_KOD)));
  std::string quantity(f4ptr(G(TOWA_ILO)), f4len(G(TOWA_ILO)));
  if (std::fprintf(file, "%s,%s\n", code.c_str(), quantity.c_str()) < 0 || std::fflush(file) != 0) {
    d4unlock(Goods());
    return -1;
  }
  f4assign_double(G(TOWA_ILO), 0);
  for (int field : STOCK_VALUES) f4assign_double(G(field), 0);
  return write_and_unlock(Goods()) == 0 ? 0 : -1;
}

// The "*.inw" files of the current directory in a pick list; "" when none
// was chosen.
std::string PickFile() {
  std::vector<PlatDirEntry> entries;
  PlatListDir(PlatGetCwd().c_str(), "*.inw", &entries);
  std::vector<std::string> names;
  for (const PlatDirEntry& e : entries)
    if (!e.isDirectory && e.name.size() <= NAME_MAX) names.push_back(e.name);
  if (names.empty()) {
    Uwaga(MSG_NO_FILES);
    return "";
  }
  std::string width(NAME_MAX + 3, ' ');
  std::vector<const char*> items = {width.c_str()};
  for (const std::string& n : names) items.push_back(n.c_str());
  items.push_back(nullptr);
  int chosen = get_menu_function("WYBIERZ", items.data(), 1, -1, -1);
  return chosen >= 1 ? names[static_cast<size_t>(chosen - 1)] : "";
}

// The count file into the count table: 0, or -1 at a line without a comma,
// an error of the goods seek or of the append.
int ReadCounts(BrowseContext* c, FILE* file) {
  static const std::string missing = "BRAK KODU W SPISIE !";
  int previous = ShowWaitLines(TextRef(), "Odczyt stanów", TextRef());
  char line[LINE_MAX + 2];
  int result = 0;
  while (result == 0 && std::fgets(line, sizeof line, file)) {
    char* comma = std::strchr(line, ',');
    if (!comma) {
      result = -1;
      break;
    }
    std::string code(line, static_cast<size_t>(comma - line));
    code.resize(f4len(G(TOWA_KOD)), ' ');
    double quantity = QuickDouble(comma + 1, static_cast<int>(std::strlen(comma + 1)));
    int found = KFSzukajTowaru(c, code.c_str());
    if (found < 0) {
      result = -1;
      break;
    }
    std::string name = found == 0 ? std::string(f4ptr(G(TOWA_NA1)), f4len(G(TOWA_NA1))) : missing;
    double price = found == 0 ? f4double(G(TOWA_CZN)) : 0;
    if (KFDopiszSpis(code.c_str(), name.c_str(), quantity, quantity * price) != 0) result = -1;
  }
  HideWaitNotice(previous);
  if (std::ferror(file)) {
    Uwaga(MSG_BAD_INPUT);
    return -1;
  }
  return result;
}

int TakeIn(BrowseContext* c, const std::string& name) {
  FILE* file = std::fopen(name.c_str(), "r+");
  if (!file) return -1;
  d4tag_select(Goods(), Z5TOWA.tag[TOWA_TAG_KOD]);
  int result = -1;
  if (NameTowaTmp() == 0 && CreateTowaTmp() == 0) {
    result = ReadCounts(c, file);
    if (result == 0) {
      KFPokazSpis();
      result = KFAktualizujStan(c, 1, false);
    }
  }
  if (TowaTmp.table) d4close(TowaTmp.table);
  RemoveTowaTmp();
  std::fclose(file);
  if (result == 0 && Pytanie(MSG_ARCHIVE) != KEY_ESC) {
    char archived[NAME_MAX + 8];
    std::snprintf(archived, sizeof archived, "%s", name.c_str());
    u4name_ext(archived, sizeof archived, "inx", 1);
    PlatFileRename(name.c_str(), archived);
  }
  return result;
}

}  // namespace

int KolektorZerowanie() {
  BrowseContext* c = CurrentBrowse;
  if (!c || EmptyBrowseWarning(c) != 0) return 0;
  if (Pytanie(MSG_SURE_ZERO) == KEY_ESC) return 0;
  SaveDir();
  if (ToCollectorDir() == 0) {
    InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
    std::vector<long> records = FilteredRecords(c);
    int result = 0;
    if (!records.empty()) {
      FILE* file = std::fopen(kZeroFile, "w+");
      if (!file) {
        result = -1;
      } else {
        int previous = ShowWaitLines(TextRef(), "Zerowanie", TextRef());
        for (long record : records)
          if ((result = ZeroOne(file, record)) != 0) break;
        HideWaitNotice(previous);
        if (std::fclose(file) != 0) result = -1;
      }
    }
    DbScan(&c->scan, DBSCAN_SAVED_TAG);
    if (result != 0) Alarm(MSG_FAILED);
  }
  RestoreDir();
  return browse_call(0, 0);
}

int KolektorAktualizacja() {
  BrowseContext* c = CurrentBrowse;
  if (!c || EmptyBrowseWarning(c) != 0) return 0;
  SaveDir();
  std::string name = ToCollectorDir() == 0 ? PickFile() : "";
  RestoreDir();
  if (name.empty()) return 0;
  if (MessageWindow(MB_QUESTION | MB_YES_ESC, TextRef(MSG_SURE_UPDATE), name.c_str()) == KEY_ESC) return 0;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  SaveDir();
  int result = ToCollectorDir() == 0 ? TakeIn(c, name) : -1;
  RestoreDir();
  DbScan(&c->scan, DBSCAN_SAVED_TAG);
  if (result != 0) Alarm(MSG_FAILED);
  return browse_call(0, 0);
}
