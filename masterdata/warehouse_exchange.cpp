// Issues handed over to a sub-warehouse as files: the issue register writes
// the documents of one recipient and period with their goods, the receipt
// register of the sub-warehouse reads them in as new receipts.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_WAREHOUSE_CODE = 196, MSG_START = 20050, MSG_OTHER_WAREHOUSE = 193;
constexpr int MSG_EXPORT_DONE = 20090, MSG_EXPORT_FAILED = 20089, MSG_IMPORT_DONE = 20107, MSG_IMPORT_FAILED = 20106;
constexpr int MSG_NO_ITEMS = 50007;
constexpr int STAMP_NEW = 0;
constexpr int DIRECTORY_SIZE = 81;
constexpr int OUTSIDE = 1;

// Same layouts: every field of the source into the field of the same name.
void CopyRecord(DbTable* to, DbTable* from) {
  for (int j = 1; j <= d4num_fields(from); j++) {
    DbField* source = d4field_j(from, j);
    DbField* target = d4field(to, f4name(source));
    if (target) f4assign_field(target, source);
  }
}

bool Blank(const char* text) { return text[std::strspn(text, " ")] == '\0'; }


bool SameText(DbField* field, const char* text) {
  std::string a(f4ptr(field), f4len(field)), b = bez_odstepow(text);
  b.resize(a.size(), ' ');
  return a == b;
}

// ---- the progress window

int progressWindow = -1;
int progressCount = 0;

void OpenProgress(const char* title) {
  progressCount = 0;
  progressWindow = DefineDialogWindow(4, 5, 16, 70, title);
  if (progressWindow >= 0) w4activate(progressWindow);
}

void ProgressText(const std::string& text) {
  if (progressWindow < 0) return;
  int previous = w4select(progressWindow);
  w4scroll(1);
  w4(w4height() - 1, 1, text.c_str());
  w4select(previous);
}

void ProgressLine(DbTable* header) {
  char line[120];
  std::snprintf(line, sizeof line, "%5d %s %-30.30s %s", ++progressCount, FldDateQStr(d4field(header, "DAT")),
                FldQStr(d4field(header, "NA1"), 0),
                NrDokumentuFldQStr(d4field(header, "PRE"), d4field(header, "NUM"), d4field(header, "POS")));
  ProgressText(line);
}

void CloseProgress() {
  if (progressWindow < 0) return;
  w4deactivate(progressWindow);
  w4close(progressWindow);
  progressWindow = -1;
}

// ---- export

int AddGoods(DbTable* line) {
  std::string code = FldQStr(d4field(line, "KOT"), 0);
  if (FieldIsEmpty(d4field(line, "KOT"))) return 0;
  std::string key = code;
  key.resize(f4len(Z5TOWA.field[TOWA_KOD]), ' ');
  int found = SeekTowarByKod(key.c_str());
  if (found < 0) return -1;
  if (found > 0) return 0;
  DbTable* spis = Z5SPISEX.table;
  d4tag_select(spis, Z5SPISEX.tag[0]);
  int there = d4seek_n(spis, key.c_str(), static_cast<int>(key.size()));
  if (there < 0) return -1;
  if (there == 0) return 0;
  if (d4append_start(spis, 0) != 0) return -1;
  d4blank(spis);
  CopyRecord(spis, Z5TOWA.table);
  for (const char* blank : {"ILO", "WZN", "WZB", "WSN", "WSB", "WBN", "WBB", "WCN", "WCB", "KOZ", "KOS"})
    f4blank(d4field(spis, blank));
  f4assign_double(d4field(spis, "CZN"), f4double(d4field(line, "CEN")));
  f4assign_double(d4field(spis, "CZB"), f4double(d4field(line, "CEB")));
  return d4append(spis) == 0 ? 0 : -1;
}

int CopyIssues(const char* from, const char* to, const char* recipient) {
  DbTable* lines = Z5MAWE.table;
  DbTable* headers = Z5MAWY.table;
  d4tag_select(lines, Z5MAWE.tag[WH_LINES_BY_DATE]);
  d4tag_select(headers, Z5MAWY.tag[WH_HEADERS_BY_REC]);
  int r = d4seek_n(lines, from, 8);
  if (r < 0) return -1;
  auto outside = [&] {
    if (d4eof(lines)) return true;
    std::string date(f4ptr(d4field(lines, "DAT")), 8);
    return date < from || date > to;
  };
  if (r == 3 || outside()) return OUTSIDE;
  while (!outside()) {
    long rek = f4long(d4field(lines, "REK"));
    char key[8];
    std::snprintf(key, sizeof key, "%7ld", rek);
    if (d4seek_n(headers, key, 7) != 0) return -1;
    bool wanted = SameText(d4field(headers, "KOO"), recipient);
    for (;;) {
      if (wanted) {
        if (d4append_start(Z5EMEX.table, 0) != 0) return -1;
        d4blank(Z5EMEX.table);
        CopyRecord(Z5EMEX.table, lines);
        if (d4append(Z5EMEX.table) != 0 || AddGoods(lines) != 0) return -1;
      }
      int s = d4skip(lines, 1);
      if (s < 0) return -1;
      if (d4eof(lines) || f4long(d4field(lines, "REK")) != rek) break;
    }
    if (wanted) {
      if (d4append_start(Z5MAEX.table, 0) != 0) return -1;
      d4blank(Z5MAEX.table);
      CopyRecord(Z5MAEX.table, headers);
      f4assign(d4field(Z5MAEX.table, "KOO"), bez_odstepow(warehouseOptions.warehouseCode).c_str());
      f4assign(d4field(Z5MAEX.table, "OPI"), bez_odstepow(recipient).c_str());
      if (d4append(Z5MAEX.table) != 0) return -1;
      ProgressLine(headers);
    }
  }
  return 0;
}

// ---- import

int UpdateGoods(DbTable* line) {
  bool add = warehouseOptions.addGoodsOnImport == 'T', prices = warehouseOptions.updatePricesOnImport == 'T';
  if (FieldIsEmpty(d4field(line, "KOT")) || (!add && !prices)) return 0;
  std::string key = FldQStr(d4field(line, "KOT"), 0);
  key.resize(f4len(d4field(line, "KOT")), ' ');
  DbTable* spis = Z5SPISEX.table;
  d4tag_select(spis, Z5SPISEX.tag[0]);
  int there = d4seek_n(spis, key.c_str(), static_cast<int>(key.size()));
  if (there < 0) return -1;
  if (there != 0) return 0;
  if (OpenZ5TOWA(0) != 0) return -1;
  DbTable* goods = Z5TOWA.table;
  int result = 0;
  if (set_lock(goods, -1) != 0) {
    d4close(goods);
    return -1;
  }
  std::string code = key;
  code.resize(f4len(Z5TOWA.field[TOWA_KOD]), ' ');
  int found = SeekTowarByKod(code.c_str());
  bool mark = warehouseOptions.markChanges == 'T';
  if (found < 0) {
    result = -1;
  } else if (found == 0 && prices) {
    auto g = [&](const char* name) { return d4field(goods, name); };
    auto s = [&](const char* name) { return d4field(spis, name); };
    if (mark && ROUND(f4double(s("CSB")), 4) != ROUND(f4double(g("CSB")), 4)) f4assign_char(g("ZNA"), TOWA_MARK);
    const char* prices6[][2] = {{"CSN", "WSN"}, {"CSB", "WSB"}, {"CBN", "WBN"}, {"CBB", "WBB"}, {"CCN", "WCN"},
                                {"CCB", "WCB"}};
    double stock = f4double(g("ILO"));
    for (const auto& p : prices6) {
      f4assign_field(g(p[0]), s(p[0]));
      f4assign_double(g(p[1]), stock > 0 ? ROUND(stock * f4double(g(p[0])), 2) : 0);
    }
    f4assign_char(g("STA"), 'A');
    if (d4write(goods, d4recno(goods)) != 0) result = -1;
  } else if (found > 0 && add) {
    if (d4append_start(goods, 0) != 0) {
      result = -1;
    } else {
      d4blank(goods);
      CopyRecord(goods, spis);
      f4assign_char(d4field(goods, "STA"), 'A');
      if (mark) f4assign_char(d4field(goods, "ZNA"), TOWA_MARK);
      set_pass_inf(STAMP_NEW, d4field(goods, "INF"));
      if (d4append(goods) != 0) result = -1;
    }
  }
  d4flush(goods);
  d4unlock(goods);
  d4close(goods);
  return result;
}

int CopyReceipts() {
  DbTable* inHeaders = Z5MAEX.table;
  DbTable* inLines = Z5EMEX.table;
  DbTable* headers = Z5MAPR.table;
  DbTable* lines = Z5MAPE.table;
  if (d4top(inHeaders) != 0 || d4eof(inHeaders)) return -1;
  if (d4top(inLines) != 0 || d4eof(inLines)) return OUTSIDE;
  if (!SameText(d4field(inHeaders, "OPI"), warehouseOptions.warehouseCode)) {
    Uwaga(MSG_OTHER_WAREHOUSE);
    return -1;
  }
  while (!d4eof(inHeaders)) {
    long exported = f4long(d4field(inHeaders, "REC"));
    if (d4eof(inLines) || f4long(d4field(inLines, "REK")) != exported) return -1;
    long identity = d4reccount(headers) + 1;
    if (d4append_start(headers, 0) != 0) return -1;
    d4blank(headers);
    CopyRecord(headers, inHeaders);
    f4assign_long(d4field(headers, "REC"), identity);
    f4blank(d4field(headers, "OPI"));
    set_pass_inf(STAMP_NEW, d4field(headers, "INF"));
    if (d4append(headers) != 0) return -1;
    long header = d4recno(headers);
    ProgressLine(headers);
    bool failed = false;
    while (!d4eof(inLines) && f4long(d4field(inLines, "REK")) == exported) {
      if (d4append_start(lines, 0) != 0) {
        failed = true;
        break;
      }
      d4blank(lines);
      CopyRecord(lines, inLines);
      f4assign_long(d4field(lines, "REK"), identity);
      f4assign_char(d4field(lines, "STP"), 'N');
      set_pass_inf(STAMP_NEW, d4field(lines, "INF"));
      if (d4append(lines) != 0 || UpdateGoods(lines) != 0) {
        failed = true;
        break;
      }
      if (warehouseOptions.stockOnImport == 'T') {
        int reached = 0;
        int r = aktualizuj_ilosc(FldQStr(d4field(lines, "KOT"), 0), FldQStr(d4field(lines, "NA1"), 0),
                                 -f4double(d4field(lines, "ILO")), 0, &reached);
        zamknij_okno_raportu(0);
        // Only a quantity that reached the stock marks the line.
        if (r == 0 && reached) {
          f4assign_char(d4field(lines, "STP"), 'T');
          if (d4write(lines, d4recno(lines)) != 0) {
            failed = true;
            break;
          }
        }
      }
      if (d4skip(inLines, 1) < 0) {
        failed = true;
        break;
      }
    }
    if (failed) {
      if (d4go(headers, header) == 0) {
        f4assign_long(d4field(headers, "AKT"), 1);
        d4write(headers, header);
      }
      return -1;
    }
    if (d4skip(inHeaders, 1) < 0) return -1;
  }
  return 0;
}

void Finish(int result, bool exporting) {
  if (result == 0) {
    ProgressText("------------------------------------------");
    char count[40];
    std::snprintf(count, sizeof count, "%s %5d", exporting ? "Zapisano dokumentów -" : "Odczytano dokumentów -",
                  progressCount);
    ProgressText(Utf8ToMazText(count));
    Informacja(exporting ? MSG_EXPORT_DONE : MSG_IMPORT_DONE);
  } else if (result == OUTSIDE) {
    Uwaga(MSG_NO_ITEMS);
  } else {
    Alarm(exporting ? MSG_EXPORT_FAILED : MSG_IMPORT_FAILED);
  }
}

bool AskDirectory(int forWriting, char* directory) {
  if (PodajSciezke(forWriting, directory, DIRECTORY_SIZE) != 0) return false;
  return Pytanie(MSG_START) != KEY_ESC;
}

// "ZA OKRES": the dates and the recipient; true after Enter.
bool AskPeriod(char* from, char* to, char* recipient) {
  std::memcpy(from, get_cur_das(0), 8);
  std::memcpy(from + 6, "01", 2);
  std::memcpy(to, get_cur_das(0), 8);
  from[8] = to[8] = '\0';
  std::memset(recipient, ' ', 20);
  recipient[20] = '\0';
  int previous = w4select(-1);
  int window = DefineDialogWindow(3, 29, 5, 40, "ZA OKRES");
  if (window < 0) return false;
  w4activate(window);
  w4select(window);
  w4(0, 1, "Od dnia - ");
  w4(1, 1, "Do dnia - ");
  w4(2, 1, "Kod odbiorcy - ");
  g4date(0, 16, from);
  g4picture("DD-MM/YY");
  g4date(1, 16, to);
  g4picture("DD-MM/YY");
  g4(2, 16, recipient);
  g4upper();
  g4call(kontrahent_magazynu_f4_lista, 7);
  g4valid(valid_kontrahent_magazynu);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key == KEY_ENTER && !Blank(from) && !Blank(to);
}

// The three exchange files, made anew or opened; none stays open on a failure.
int OpenExchange(int create, const char* directory) {
  if (OpenZ5MAEX(create, directory) == 0 && OpenZ5EMEX(create, directory) == 0 &&
      OpenZ5SPISEX(create, directory) == 0)
    return 0;
  for (TableHandles* t : {&Z5MAEX, &Z5EMEX, &Z5SPISEX})
    if (t->table) d4close(t->table);
  return -1;
}

}  // namespace

int eksport_do_katalogu(const char* directory, const char* from, const char* to, const char* recipient) {
  if (OpenExchange(1, directory) != 0) return -1;
  int result = -1;
  if (OpenZ5TOWA(0) == 0) {
    if (set_lock(Z5MAWY.table, -1) == 0) {
      result = CopyIssues(from, to, recipient);
      d4unlock(Z5MAWY.table);
    }
    d4close(Z5TOWA.table);
  }
  for (TableHandles* t : {&Z5MAEX, &Z5EMEX, &Z5SPISEX})
    if (d4close(t->table) != 0) result = -1;
  return result;
}

int import_z_katalogu(const char* directory) {
  if (OpenExchange(0, directory) != 0) return -1;
  int result = -1;
  if (set_lock(Z5MAPR.table, -1) == 0) {
    if (set_lock(Z5MAPE.table, -1) == 0) {
      result = CopyReceipts();
      d4flush(Z5MAPE.table);
      d4unlock(Z5MAPE.table);
    }
    d4flush(Z5MAPR.table);
    d4unlock(Z5MAPR.table);
  }
  for (TableHandles* t : {&Z5MAEX, &Z5EMEX, &Z5SPISEX}) d4close(t->table);
  return result;
}

int eksport_magazynu() {
  if (Blank(warehouseOptions.warehouseCode)) {
    Uwaga(MSG_NO_WAREHOUSE_CODE);
    return 0;
  }
  OpenProgress("EXPORT-MAGAZYN");
  char from[9], to[9], recipient[21], directory[DIRECTORY_SIZE];
  if (AskPeriod(from, to, recipient) && AskDirectory(1, directory)) {
    long current = d4recno(Z5MAWY.table);
    Finish(eksport_do_katalogu(directory, from, to, bez_odstepow(recipient).c_str()), true);
    d4go(Z5MAWY.table, current);
  }
  CloseProgress();
  return 0;
}

int import_magazynu() {
  OpenProgress("IMPORT-MAGAZYN");
  char directory[DIRECTORY_SIZE];
  if (AskDirectory(0, directory)) Finish(import_z_katalogu(directory), false);
  CloseProgress();
  return 0;
}
