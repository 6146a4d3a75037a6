#include "fiscal/stock_count.h"

#include <string>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_SURE_UPDATE = 172;   // "Czy na pewno aktualizować stan ilościowy spisu o raport kasowy ?"
constexpr int NAME_SHOWN = 30;

struct StockValue {
  int value, price;
};
constexpr StockValue STOCK_VALUES[] = {{TOWA_WZN, TOWA_CZN}, {TOWA_WZB, TOWA_CZB}, {TOWA_WSN, TOWA_CSN},
                                       {TOWA_WSB, TOWA_CSB}, {TOWA_WBN, TOWA_CBN}, {TOWA_WBB, TOWA_CBB},
                                       {TOWA_WCN, TOWA_CCN}, {TOWA_WCB, TOWA_CCB}};

DbField* G(int i) { return Z5TOWA.field[i]; }
DbField* T(int i) { return TowaTmp.field[i]; }

std::string Code() { return std::string(f4ptr(T(TOWA_KOD)), f4len(T(TOWA_KOD))); }

// Every code of the count table among the filtered goods; `missing` ends it.
int EachCount(BrowseContext* browse, bool missingFails, int (*step)(int sign), int sign) {
  DbTable* counts = TowaTmp.table;
  d4tag_select(counts, nullptr);
  for (int r = d4top(counts); r == 0 && !counts->eof; r = d4skip(counts, 1)) {
    int found = KFSzukajTowaru(browse, Code().c_str());
    if (found < 0 || (found > 0 && missingFails)) return -1;
    if (found == 0 && step && step(sign) != 0) return -1;
  }
  return 0;
}

// The stock of the current goods record moved by the count, under its lock.
int Apply(int sign) {
  DbTable* goods = Z5TOWA.table;
  if (go_and_lock(goods, d4recno(goods)) != 0) return -1;
  double stock = FldAddDouble(G(TOWA_ILO), sign * f4double(T(TOWA_ILO)));
  double v = stock > 0 ? stock : 0;
  for (const StockValue& s : STOCK_VALUES) ToFieldCopyDouble(G(s.value), v * f4double(G(s.price)));
  return write_and_unlock(goods) == 0 ? 0 : -1;
}

}  // namespace

int KFDopiszSpis(const char* code, const char* name, double quantity, double value) {
  DbTable* t = TowaTmp.table;
  if (d4append_start(t, 0) != 0) return -1;
  d4blank(t);
  f4assign(T(TOWA_KOD), code);
  f4assign(T(TOWA_NA1), name);
  f4assign_double(T(TOWA_ILO), quantity);
  f4assign_double(T(TOWA_WSB), value);
  return d4append(t) == 0 ? 0 : -1;
}

void KFPokazSpis() {
  static const std::string del = Utf8ToMazText(" Usuń "), qty = Utf8ToMazText("ilość"),
                           val = Utf8ToMazText("wartość");
  static ScrollColumn columns[5];
  static TabuColumn print[5];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&TowaTmp.field[TOWA_KOD], 0, "kod");
  if (ScrollColumn* name = DefineScrollColumn(&TowaTmp.field[TOWA_NA1], SCROLL_FIXED_WIDTH, "nazwa"))
    name->width = NAME_SHOWN;
  DefineScrollColumn(&TowaTmp.field[TOWA_ILO], 0, qty.c_str());
  DefineScrollColumn(&TowaTmp.field[TOWA_WSB], 0, val.c_str());
  ResetTabuDefinition(print, sizeof print);
  DefineTabuColumn("kod", "towaru", &TowaTmp.field[TOWA_KOD], TABU_CHOSEN, 1);
  DefineTabuColumn("nazwa", "towaru", &TowaTmp.field[TOWA_NA1], TABU_CHOSEN, 2);
  DefineTabuColumn(qty.c_str(), nullptr, &TowaTmp.field[TOWA_ILO], TABU_CHOSEN, 3);
  DefineTabuColumn(val.c_str(), "brutto", &TowaTmp.field[TOWA_WSB], TABU_CHOSEN, 4);
  int saved = w4select(-1);
  int menu = DefineMainMenuWindow();
  MenuDefineItem(" Drukuj ", 7533, 'd', -1, [](int32_t) { return browse_drukuj(); }, nullptr);
  MenuDefineItem(del.c_str(), 7534, 'u', -1, [](int32_t) { return browse_skasuj(1); }, nullptr);
  BrowseContext* b = nullptr;
  if (allocate_browse(&b, TowaTmp.table, nullptr, columns, menu) == 0) {
    b->print_columns = print;
    zrob_browse(0, 0, 0);
    free_browse(&b);
  }
  w4close(menu);
  w4select(saved);
}

int KFSzukajTowaru(BrowseContext* browse, const char* code) {
  std::string key(code);
  key.resize(f4len(G(TOWA_KOD)), ' ');
  int r = x4seek(&browse->scan, key.c_str());
  if (r < 0) return -1;
  return r == 0 && std::string(f4ptr(G(TOWA_KOD)), f4len(G(TOWA_KOD))) == key ? 0 : 1;
}

int KFAktualizujStan(BrowseContext* browse, int sign, bool check) {
  if (check) {
    int previous = ShowWaitLines(TextRef(), "Weryfikacja", TextRef());
    int r = EachCount(browse, true, nullptr, 0);
    HideWaitNotice(previous);
    if (r != 0) return -1;
  }
  if (Pytanie(MSG_SURE_UPDATE) == KEY_ESC) return -1;
  int previous = ShowWaitLines(TextRef(), "Aktualizacja", TextRef());
  int r = EachCount(browse, check, Apply, sign);
  HideWaitNotice(previous);
  return r;
}
