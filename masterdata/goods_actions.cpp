#include "masterdata/goods_actions.h"

#include <cstring>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/text_buffers.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/goods_catalogue.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_TITLE = 20168;
constexpr int MSG_CLEAR_MARKS = 20055;
constexpr int16_t RES_STOCK_VALUE = 24;
constexpr int STOCK_VALUE_ROWS = 9;
constexpr int STOCK_VALUE_COLS = 78;
constexpr int GROUP_PREFIX = 3;
// The layout the operator gives the group printout is kept under this name:
// the temporary table's own alias changes every run.
constexpr char kGroupSettings[] = "Z5TOWAGR";

DbTable* Goods() { return Z5TOWA.table; }
DbField* Field(int i) { return Z5TOWA.field[i]; }

// The records of the filtered list, in its order: collected first, since a
// change may move a record within the order being walked.
int FilteredRecords(BrowseContext* c, std::vector<long>* records) {
  int r = x4top(&c->scan);
  while (r == 0) {
    records->push_back(d4recno(c->table));
    r = x4skip(&c->scan, 1);
  }
  return r < 0 ? -1 : 0;
}

// ---- group printout

// Appends a copy of the goods record to the temporary table, numbered, its
// group prefix blanked unless it opens the group.
int AppendCopy(long number, bool opensGroup) {
  DbTable* tmp = TowaTmp.table;
  if (d4append_start(tmp, 0) != 0) return -1;
  std::memcpy(d4record(tmp), d4record(Goods()), d4record_width(tmp));
  f4assign_long(TowaTmp.field[TOWA_LPO], number);
  if (!opensGroup) std::memset(f4assign_ptr(TowaTmp.field[TOWA_KOD]), ' ', GROUP_PREFIX);
  return d4append(tmp);
}

int AppendSum(const std::string& code, const char* name, double purchase, double sale) {
  DbTable* tmp = TowaTmp.table;
  if (d4append_start(tmp, 0) != 0) return -1;
  d4blank(tmp);
  f4assign(TowaTmp.field[TOWA_KOD], code.c_str());
  f4assign(TowaTmp.field[TOWA_NA1], name);
  f4assign_double(TowaTmp.field[TOWA_WZN], purchase);
  f4assign_double(TowaTmp.field[TOWA_WSN], sale);
  return d4append(tmp);
}

// Copies the filtered goods in code order into the temporary table with a
// sum record after each group and the total at the end.
int FillGroups(BrowseContext* c) {
  d4tag_select(Goods(), Z5TOWA.tag[TOWA_TAG_KOD]);
  std::string group;
  double groupPurchase = 0, groupSale = 0, totalPurchase = 0, totalSale = 0;
  long number = 0;
  bool any = false;
  auto closeGroup = [&]() {
    return AppendSum(group + "***", " Suma grupy ", groupPurchase, groupSale);
  };
  int r = x4top(&c->scan);
  for (; r == 0; r = x4skip(&c->scan, 1)) {
    std::string prefix(f4ptr(Field(TOWA_KOD)), GROUP_PREFIX);
    bool opens = !any || prefix != group;
    if (opens && any && closeGroup() != 0) return -1;
    if (opens) {
      group = prefix;
      groupPurchase = groupSale = 0;
    }
    any = true;
    if (AppendCopy(++number, opens) != 0) return -1;
    double purchase = f4double(Field(TOWA_WZN)), sale = f4double(Field(TOWA_WSN));
    groupPurchase += purchase;
    groupSale += sale;
    totalPurchase += purchase;
    totalSale += sale;
  }
  if (r < 0) return -1;
  if (any && closeGroup() != 0) return -1;
  return AppendSum(std::string(f4len(Field(TOWA_KOD)), '*'), " RAZEM      ", totalPurchase, totalSale);
}

// ---- stock values

constexpr int SUM_FIELDS[GOODS_SUMS] = {TOWA_WZN, TOWA_WZB, TOWA_WSN, TOWA_WSB,
                                        TOWA_WBN, TOWA_WBB, TOWA_WCN, TOWA_WCB};
// Rows of the purchase sums and of prices A, B and C on page 24.
constexpr int SUM_ROWS[GOODS_SUMS / 2] = {3, 5, 6, 7};
constexpr int NET_COLUMN = 33, GROSS_COLUMN = 48, SUM_WIDTH = 12;

void PrintStockValue(const char* pattern, const char* page, const std::string& title) {
  if (init_prn(Goods(), "SUM", title.c_str(), STOCK_VALUE_COLS, 0) != 0) return;
  Environment* env = EnvCurrent();
  for (;;) {
    if (drukuj_top_margin() != 0 || drukuj_nazwa_wlasciciela() != 0 ||
        print_lines(pattern, page, STOCK_VALUE_COLS, 0, STOCK_VALUE_ROWS, 0, -1) != 0 || drukuj_form_feed() != 0)
      break;
    if (env->copiesLeft-- <= 0) break;
  }
  deinit_prn();
}

}  // namespace

int filtr_minimum(DbField*, DbTable*) {
  return f4double(Field(TOWA_ILM)) >= f4double(Field(TOWA_ILO)) ? X4_ACCEPT : X4_REJECT;
}

int usun_znaczniki_towarow(int32_t) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return -1;
  if (Pytanie(MSG_CLEAR_MARKS) == KEY_ESC) return 0;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  std::vector<long> records;
  if (FilteredRecords(c, &records) != 0) return -1;
  DbTable* table = Goods();
  for (long record : records) {
    if (d4go(table, record) != 0) return -1;
    if (f4ptr(Field(TOWA_ZNA))[0] == ' ') continue;
    f4assign(Field(TOWA_ZNA), " ");
    if (write_and_unlock(table) != 0) return -1;
  }
  DbScan(&c->scan, DBSCAN_SAVED_TAG);
  return browse_call(0, 0);
}

int szukaj_towaru(int32_t kind) {
  BrowseContext* c = CurrentBrowse;
  if (!c) return -1;
  DbTable* table = Goods();
  if (kind == 3) {
    d4tag_select(table, Z5TOWA.tag[TOWA_TAG_MARKED]);
    return browse_call(0, 0);
  }
  bool byCode = kind == 1;
  DbField* field = Field(byCode ? TOWA_KOD : TOWA_NA1);
  static const std::string codePrompt = Utf8ToMazText("Szukaj kodu towaru - ");
  static const std::string namePrompt = Utf8ToMazText("Szukaj nazwy towaru - ");
  return SzukajWKatalogu((byCode ? codePrompt : namePrompt).c_str(), static_cast<int>(f4len(field)),
                         Z5TOWA.tag[byCode ? TOWA_TAG_KOD : TOWA_TAG_NA1]);
}

int drukuj_towary_grupami(int32_t) {
  BrowseContext* c = CurrentBrowse;
  kontekst_kartoteki_towarow* context = KontekstTowarow;
  if (!c || !context) return -1;
  DbTable* table = Goods();
  if (set_lock(table, -1) != 0) return browse_call(0, 0);
  if (NameTowaTmp() != 0 || CreateTowaTmp() != 0) {
    RemoveTowaTmp();
    d4unlock(table);
    return browse_call(0, 0);
  }
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  int previous = ShowWaitNotice();
  int filled = FillGroups(c);
  HideWaitNotice(previous);
  int result = 0;
  if (filled != 0) {
    result = -1;
  } else {
    MenuKeySource keys = EnvCurrent()->menuKeyRoutine;
    DbScanCtx scan{};
    x4init(&scan, TowaTmp.table, nullptr, 0);
    d4tag_select(TowaTmp.table, nullptr);
    prn_tab_rap(context->grupy, &scan, TowaTmp.table, nullptr, MSG_TITLE, TextRef(), kGroupSettings, 0);
    n4char_routine(keys);
  }
  d4close(TowaTmp.table);
  RemoveTowaTmp();
  d4unlock(table);
  DbScan(&c->scan, DBSCAN_SAVED_TAG);
  if (browse_call(0, 0) != 0) result = -1;
  return result;
}

int wartosc_spisu(int32_t) {
  BrowseContext* c = CurrentBrowse;
  kontekst_kartoteki_towarow* context = KontekstTowarow;
  if (!c || !context) return -1;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  double* sums = context->sumy;
  for (int i = 0; i < GOODS_SUMS; i++) sums[i] = 0;
  int r = x4top(&c->scan);
  for (; r == 0; r = x4skip(&c->scan, 1))
    for (int i = 0; i < GOODS_SUMS; i++) sums[i] += f4double(Field(SUM_FIELDS[i]));
  DbScan(&c->scan, DBSCAN_SAVED_TAG | DBSCAN_SAVED_RECORD);
  if (r < 0) return -1;

  char *pattern = nullptr, *page = nullptr;
  if (print_alloc(&pattern, &page, STOCK_VALUE_ROWS * STOCK_VALUE_COLS, [] { return RES_STOCK_VALUE; }) != 0) {
    print_free(&pattern, &page);
    return -1;
  }
  for (int i = 0; i < GOODS_SUMS / 2; i++) {
    char* row = page + SUM_ROWS[i] * STOCK_VALUE_COLS;
    MemPrintDoubleFmt(row + NET_COLUMN, sums[2 * i], SUM_WIDTH, 2 | 0x40);
    MemPrintDoubleFmt(row + GROSS_COLUMN, sums[2 * i + 1], SUM_WIDTH, 2 | 0x40);
  }
  static const std::string title = Utf8ToMazText("Wartość spisu");
  if (edytuj_memory(pattern, page, STOCK_VALUE_ROWS, STOCK_VALUE_COLS, title.c_str(), 1, 1, 0) == KEY_F2)
    PrintStockValue(pattern, page, title);
  print_free(&pattern, &page);
  return browse_call(0, d4recno(Goods()));
}
