// The " Kasa " jobs of the goods browse: the price list sent to the
// register (or read from it into an empty catalogue through "cennik.cen"),
// the PLU sales report with the stock update, zeroing, the code check and
// the deletion of one PLU.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/error_log.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "fiscal/cash_register.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/stock_count.h"
#include "tables/masterdata_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_UPDATE_FAILED = 180, MSG_UPDATED = 179, MSG_RUN_ZEROING = 181, MSG_NOTHING_SOLD = 182;
constexpr int MSG_READ_LIST = 173, MSG_SEND_LIST = 174, MSG_DELETE_PLU = 175, MSG_GET_REPORT = 176;
constexpr int MSG_SALES_VALUE = 177, MSG_UPDATE_STOCK = 178, MSG_VERIFY = 183, MSG_VERIFIED = 184;
constexpr int MSG_SURE_ZEROING = 185, MSG_ZEROED = 186, MSG_INACTIVE = 210;
constexpr int LOG_LIST_FILE = 141, LOG_LIST_LINE = 142;
constexpr int SCAN_LOCKED_TOP = DBSCAN_LOCK | DBSCAN_TOP;   // 0x21
constexpr int LINE_MAX = 159;
constexpr char kPriceList[] = "cennik.cen";

DbTable* Goods() { return Z5TOWA.table; }
DbField* G(int i) { return Z5TOWA.field[i]; }

// A type outside the list (damaged options) is no register either.
bool NoRegister() {
  if (KasaTyp() != KASA_BRAK && KFTypOpis(KasaTyp())) return false;
  Uwaga(MSG_KF_NO_REGISTER);
  return true;
}

// The current goods record as an operation's argument.
struct CurrentGoods {
  std::string code, name;
  KFTowar goods{};
  CurrentGoods() {
    code.assign(f4ptr(G(TOWA_KOD)), f4len(G(TOWA_KOD)));
    name.assign(f4ptr(G(TOWA_NA1)), f4len(G(TOWA_NA1)));
    goods = {f4int(G(TOWA_DZI)), code.c_str(),   static_cast<int>(code.size()), name.c_str(),
             static_cast<int>(name.size()), f4double(G(TOWA_CSB)), 12, 4, f4int(G(TOWA_VST)),
             get_cur_das(0), d4recno(Goods())};
  }
};

bool Active() { return f4char(G(TOWA_STA)) == 'A'; }

// The job's end: the browse shown again at the record, or where it stood.
int Redisplay(BrowseContext* c, long record, int flags) {
  DbScan(&c->scan, flags);
  return browse_call(0, record);
}

// ---- the price list read into an empty catalogue

// The fields of one line: TAB, LF or the line's end ends each.
std::vector<std::string> Fields(const char* line) {
  std::vector<std::string> fields;
  std::string field;
  for (const char* p = line;; p++) {
    if (*p == '\t' || *p == '\n' || *p == '\0') {
      fields.push_back(field);
      field.clear();
      if (*p != '\t') break;
    } else {
      field += *p;
    }
  }
  return fields;
}

int VatCodeOf(char c) {
  switch (c) {
    case '2': return 2;
    case '8': return 8;
    case '9': return 9;
    case '3': return 3;
    case '4': return 4;
    case '5': return 5;
    case '7': return 7;
    case '=': return 13;
    default: return 1;
  }
}

void FillGoods(const std::vector<std::string>& f) {
  std::string code = f[0].substr(std::min(f[0].find_first_not_of(' '), f[0].size()));
  f4assign(G(TOWA_KOD), code.c_str());
  f4assign(G(TOWA_NA1), f[1].c_str());
  int vat = VatCodeOf(f[2].empty() ? '1' : f[2][0]);
  f4assign_int(G(TOWA_VZT), vat);
  f4assign_int(G(TOWA_VST), vat);
  double rate = wartosc_stawki_vat(G(TOWA_VST));
  double price = QuickDouble(f[3].c_str(), static_cast<int>(f[3].size()));
  f4assign_double(G(TOWA_CSB), price);
  f4assign_int(G(TOWA_DZI), std::atoi(f[4].c_str()));
  f4assign_double(G(TOWA_ILO), 0);
  for (int field : {TOWA_NAS, TOWA_TYZ, TOWA_TYK, TOWA_TYP}) f4assign(G(field), "1");
  bool margins = warehouseOptions.marginPricing != 'N';
  const int marginFields[] = {TOWA_MRA, TOWA_MRB, TOWA_MRC};
  for (int i = 0; i < 3; i++) f4assign_double(G(marginFields[i]), margins ? warehouseOptions.margin[i] : 0);
  f4assign(G(TOWA_TRC), "N");
  f4assign(G(TOWA_STA), "A");
  f4assign_int(G(TOWA_RYT), 3);
  f4assign_int(G(TOWA_RTY), 1);
  f4assign_double(G(TOWA_VZS), rate);
  f4assign_double(G(TOWA_VSS), rate);
  f4assign_double(G(TOWA_CSN), price * 100 / (rate + 100));
}

}  // namespace

int KasaDopiszCennik(FILE* file) {
  if (std::fseek(file, 0, SEEK_SET) != 0) {
    ErrLogMessage(EL_ERRNO | EL_ERROR | EL_TEXT, LOG_LIST_FILE, kPriceList);
    return -1;
  }
  int previous = ShowWaitLines(TextRef(), "Aktualizacja", TextRef());
  char line[LINE_MAX + 1];
  int result = 0;
  while (result == 0 && std::fgets(line, sizeof line, file)) {
    std::vector<std::string> f = Fields(line);
    if (f.size() < 5) {
      HideWaitNotice(previous);
      ErrLogMessage(EL_BLANK_BEFORE | EL_ERROR | EL_TEXT, LOG_LIST_LINE, line);
      return -1;
    }
    if (d4append_start(Goods(), 0) != 0) {
      result = -1;
      break;
    }
    d4blank(Goods());
    FillGoods(f);
    if (d4append(Goods()) != 0) result = -1;
  }
  HideWaitNotice(previous);
  if (result == 0 && std::ferror(file)) {
    ErrLogMessage(EL_ERRNO | EL_ERROR | EL_TEXT, LOG_LIST_FILE, kPriceList);
    return -1;
  }
  return result;
}

namespace {

int ReadPriceList() {
  if (Pytanie(MSG_READ_LIST) == KEY_ESC) return 0;
  int saved = w4select(-1);
  if (set_lock(Goods(), -1) == 0) {
    if (FILE* file = std::fopen(kPriceList, "w+")) {
      int previous = ShowWaitLines(TextRef(), "Odczyt", TextRef());
      int r = KFOpen();
      if (r == 0) r = kasfis_cennik_odczyt(file);
      KFClose();
      HideWaitNotice(previous);
      if (r == 0) KasaDopiszCennik(file);
      std::fclose(file);
    }
  }
  w4select(saved);
  d4unlock(Goods());
  return browse_call(0, 0);
}

}  // namespace

int KasaCennik() {
  BrowseContext* c = CurrentBrowse;
  if (!c || NoRegister()) return 0;
  if (d4reccount(Goods()) == 0) return ReadPriceList();
  if (Pytanie(MSG_SEND_LIST) == KEY_ESC) return 0;
  kfTylkoCena = -1;
  long stopped = 0;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  int start = DbScan(&c->scan, SCAN_LOCKED_TOP);
  if (start == 0) {
    int saved = w4select(-1);
    if (KFOpen() == 0 && KFOpenSendTowar() == 0) {
      int r = 0;
      for (; r == 0; r = x4skip(&c->scan, 1)) {
        stopped = d4recno(Goods());
        if (Active()) {
          CurrentGoods g;
          if (KFSendTow(&g.goods) != 0) break;
        }
      }
      if (r != 0) stopped = 0;
      KFCloseSendTowar();
    }
    KFClose();
    w4select(saved);
  }
  return Redisplay(c, stopped, DBSCAN_UNLOCK | DBSCAN_SAVED_TAG);
}

int KasaRaport() {
  BrowseContext* c = CurrentBrowse;
  if (!c || NoRegister()) return 0;
  if (Pytanie(MSG_GET_REPORT) == KEY_ESC) return 0;
  long stopped = 0;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  int start = DbScan(&c->scan, SCAN_LOCKED_TOP);
  bool made = start == 0 && NameTowaTmp() == 0 && CreateTowaTmp() == 0;
  if (made) {
    int saved = w4select(-1);
    bool toEnd = false, sold = false;
    double total = 0;
    if (KFOpen() == 0) {
      if (KFOpenRaport() == 0) {
        int r = 0;
        for (; r == 0; r = x4skip(&c->scan, 1)) {
          stopped = d4recno(Goods());
          if (!Active()) continue;
          CurrentGoods g;
          double quantity = 0, value = 0;
          if (KFRapTow(&g.goods, &quantity, &value) != 0) break;
          if (quantity == 0 && value == 0) continue;
          if (KFDopiszSpis(g.code.c_str(), g.name.c_str(), quantity, value) != 0) break;
          total += value;
          if (quantity != 0) sold = true;
        }
        toEnd = r != 0;
        KFCloseRaport();
      }
    }
    KFClose();
    w4select(saved);
    if (toEnd) {
      stopped = 0;
      if (sold) {
        Informacja(PrintfQStr(MSG_SALES_VALUE, total));
        KFPokazSpis();
        if (Pytanie(MSG_UPDATE_STOCK) != KEY_ESC) {
          DbTag* before = d4tag_selected(Goods());
          d4tag_select(Goods(), Z5TOWA.tag[TOWA_TAG_KOD]);
          if (KFAktualizujStan(c, -1, true) != 0)
            Alarm(MSG_UPDATE_FAILED);
          else
            MessageWindow(MB_WARNING | MB_NO_PROMPT, TextRef(MSG_UPDATED), TextRef(MSG_RUN_ZEROING));
          d4tag_select(Goods(), before);
        }
      } else {
        Uwaga(MSG_NOTHING_SOLD);
      }
    }
  }
  if (TowaTmp.table) d4close(TowaTmp.table);
  RemoveTowaTmp();
  return Redisplay(c, stopped, DBSCAN_UNLOCK | DBSCAN_SAVED_TAG);
}

int KasaZerowanie() {
  if (NoRegister()) return 0;
  if (Pytanie(MSG_SURE_ZEROING) == KEY_ESC) return 0;
  int r = KFOpen();
  r = r == 0 ? KFZerowanie(get_cur_das(0)) : -1;
  KFClose();
  if (r == 0) Uwaga(MSG_ZEROED);
  return 0;
}

int KasaWeryfikacja() {
  BrowseContext* c = CurrentBrowse;
  if (!c || NoRegister()) return 0;
  if (Pytanie(MSG_VERIFY) == KEY_ESC) return 0;
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  if (DbScan(&c->scan, SCAN_LOCKED_TOP) != 0) return Redisplay(c, 0, DBSCAN_UNLOCK | DBSCAN_SAVED_TAG);
  int r = 0;
  for (; r == 0; r = x4skip(&c->scan, 1)) {
    if (!Active()) continue;
    CurrentGoods g;
    if (KFSprawdzKod(&g.goods) != 0) break;
  }
  long record = d4recno(Goods());
  if (r != 0) {
    Uwaga(MSG_VERIFIED);
    record = c->scan.saved_record > 0 ? c->scan.saved_record : 0;
  }
  DbScan(&c->scan, DBSCAN_UNLOCK);
  return browse_call(0, record);
}

int KasaUsun() {
  BrowseContext* c = CurrentBrowse;
  if (!c || NoRegister()) return 0;
  if (EmptyBrowseWarning(c) != 0) return 0;
  if (!Active()) {
    Uwaga(MSG_INACTIVE);
    return 0;
  }
  if (Pytanie(MSG_DELETE_PLU) == KEY_ESC) return 0;
  long record = d4recno(Goods());
  if (set_lock(Goods(), -1) == 0) {
    CurrentGoods g;
    if (KFOpen() == 0 && KFDelete(&g.goods) == 0) {
      f4assign(G(TOWA_STA), "N");
      d4write(Goods(), record);
    }
    KFClose();
    d4unlock(Goods());
  }
  return browse_call(0, record);
}
