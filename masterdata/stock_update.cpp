#include "masterdata/stock_update.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_definition.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/goods_catalogue.h"
#include "tables/masterdata_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_OPEN_FAILED = 20015;
constexpr int MSG_NOT_IN_CATALOGUE = 20035;
constexpr int MSG_DATABASE_ERROR = 20007;
constexpr int MSG_STOCK_NOT_UPDATED = 20120;
constexpr int MSG_PRICE_NOT_UPDATED = 20119;
constexpr int MSG_ASK_CONTINUE = 20042;
constexpr int MSG_ASK_UPDATE_PRICE = 20037;
constexpr int MSG_ASK_SELLING_PRICES = 20053;
constexpr int MSG_SELLING_NOT_UPDATED = 20118;

constexpr int CODE_MAX = 29;
constexpr int SHOWN_CODE = 9;
constexpr int SHOWN_NAME = 20;
constexpr int BOX_LINE_MAX = 70;
constexpr int QUANTITY_WIDTH = 13;
constexpr int PRICE_WIDTH = 12;
constexpr int DECIMALS = 4;
constexpr char ARROW = '\x9F';
constexpr int GROUPED_IN_WIDTH = 0x40;   // thousands groups that keep the width
constexpr char CHANGED_MARK = '\x9D';     // ZNA of goods whose price A changed

// The report window: -1 while none is open.
int reportWindow = -1;
int windowBefore = -1;
int reportRow = -1, reportHeight = -1;   // where it was made

// The handle still names the report window: the screen's windows may have
// been torn down and made anew (a restart) while the handle was kept.
bool ReportWindowAlive() {
  if (reportWindow < 0) return false;
  Window4* w = w4record(reportWindow);
  if (w && w->colourSet == ReportColours && w->row == reportRow && w->height == reportHeight) return true;
  reportWindow = -1;
  return false;
}

// Each stock value field and the price it is the value at.
struct StockValue {
  const char* value;
  const char* price;
};
constexpr StockValue STOCK_VALUES[] = {
    {"WZN", "CZN"}, {"WZB", "CZB"}, {"WSN", "CSN"}, {"WSB", "CSB"},
    {"WBN", "CBN"}, {"WBB", "CBB"}, {"WCN", "CCN"}, {"WCB", "CCB"},
};

DbField* Goods(const char* name) { return d4field(Z5TOWA.table, name); }

// The code as the caller gave it, at most 29 characters without trailing
// blanks; empty when it holds nothing.
std::string CodeOf(const char* code) {
  std::string text(code ? code : "", code ? strnlen(code, CODE_MAX) : 0);
  text.erase(text.find_last_not_of(' ') + 1);
  return text.find_first_not_of(' ') == std::string::npos ? std::string() : text;
}

// Seeks the goods by the whole code: padded to KOD's width, so a code never
// finds a longer one it begins; a code longer than KOD exists nowhere.
int SeekWholeCode(const std::string& code) {
  size_t width = f4len(Goods("KOD"));
  if (code.size() > width) return 1;
  std::string key = code;
  key.resize(width, ' ');
  return SeekTowarByKod(key.c_str());
}

std::string Cut(const char* text, size_t most) {
  std::string s(text ? text : "");
  return s.size() > most ? s.substr(0, most) : s;
}

std::string Number(double value, int width) {
  char text[32];
  int n = MemPrintDoubleFmt(text, value, width, DECIMALS | GROUPED_IN_WIDTH);
  return std::string(text, static_cast<size_t>(std::max(n, 0)));
}

void OpenReportWindow(int windowFlag, const char* title) {
  if (ReportWindowAlive()) {
    w4select(reportWindow);
    return;
  }
  windowBefore = w4select(-1);
  reportWindow = windowFlag ? DefineRaportoweWindow(17, 0, 11, 80, title, nullptr, nullptr, 0)
                            : DefineRaportoweWindow(28, 0, 1, 80, nullptr, nullptr, nullptr, 178);
  if (reportWindow < 0) return;
  w4activate(reportWindow);
  Window4* w = w4record(reportWindow);
  reportRow = w->row;
  reportHeight = w->height;
}

// The report line is the window's last line; `column` follows what was written.
struct ReportLine {
  int column = 0;
  void Write(const std::string& text) {
    if (reportWindow < 0) return;
    w4select(reportWindow);
    w4num(w4height() - 1, column, text.c_str(), static_cast<int>(text.size()));
    column += static_cast<int>(text.size());
  }
};

// A new line for the code and name of this call.
ReportLine StartReportLine(int windowFlag, const char* title, const std::string& code, const char* name) {
  OpenReportWindow(windowFlag, title);
  ReportLine line;
  if (reportWindow < 0) return line;
  w4scroll(1);
  if (windowFlag) w4clear(w4height() - 1);
  // fixed columns, so the quantities of the lines stand under each other
  std::string first = Cut(code.c_str(), SHOWN_CODE);
  first.resize(SHOWN_CODE, ' ');
  std::string shownName = Cut(name, SHOWN_NAME);
  shownName.resize(SHOWN_NAME, ' ');
  line.Write(first + " " + shownName);
  return line;
}

// The error box of a failed update, then whether to go on: 0 or -1.
int ReportFailure(int heading, int reason, const std::string& code, const char* name, double quantity,
                  bool ask) {
  std::string why = EnvFindString(reason);
  why.erase(0, why.find_first_not_of(' '));
  why.erase(why.find_last_not_of(' ') + 1);
  auto line = [](const char* label, const std::string& text) {
    return Cut((Utf8ToMazText(label) + text).c_str(), BOX_LINE_MAX);
  };
  std::string lines[] = {line("Powód         - ", why), line("Kod           - ", code),
                         line("Nazwa         - ", name ? name : ""),
                         line("Korekta ilość - ", Number(quantity, QUANTITY_WIDTH))};
  MessageWindow(MB_ERROR, heading, lines[0].c_str(), lines[1].c_str(), lines[2].c_str(), lines[3].c_str());
  if (!ask) return 0;
  return Pytanie(MSG_ASK_CONTINUE) == KEY_ESC ? -1 : 0;
}

// Stores v x price into each value field, v the quantity or 0 when it is not positive.
void StoreStockValues(double quantity) {
  double v = quantity > 0 ? quantity : 0;
  for (const StockValue& s : STOCK_VALUES) ToFieldCopyDouble(Goods(s.value), v * f4double(Goods(s.price)));
}

// Closes the goods table without writing what a failed step left in its buffer.
void CloseGoods() {
  d4changed(Z5TOWA.table, 0);
  d4close(Z5TOWA.table);
}

}  // namespace

int aktualizuj_ilosc(const char* code, const char* name, double quantity, int windowFlag, int* written) {
  if (written) *written = 0;
  if (quantity == 0) return 0;
  std::string key = CodeOf(code);
  if (key.empty()) return 0;

  int reason = 0;
  if (OpenZ5TOWA(OPEN_DBF_MUST_EXIST) != 0) {
    reason = MSG_OPEN_FAILED;
  } else {
    ReportLine line = StartReportLine(windowFlag, Utf8ToMazText("AKTUALIZACJA ILOŚCI").c_str(), key, name);
    int found = SeekWholeCode(key);
    if (found != 0) {
      reason = found > 0 ? MSG_NOT_IN_CATALOGUE : MSG_DATABASE_ERROR;
    } else {
      DbField* stock = Goods("ILO");
      line.Write(" " + Utf8ToMazText("Ilość: ") + " " + Number(f4double(stock), QUANTITY_WIDTH));
      if (go_and_lock(Z5TOWA.table, d4recno(Z5TOWA.table)) != 0) {
        reason = MSG_DATABASE_ERROR;
      } else {
        double now = FldAddDouble(stock, -quantity);
        StoreStockValues(now);
        line.Write(std::string(" ") + ARROW + " " + Number(now, QUANTITY_WIDTH));
        if (warehouseOptions.signalBelowMinimum == 'T' && f4double(Goods("ILM")) >= now) {
          line.Write(" MINIMUM !");
          beep();
        }
        if (write_and_unlock(Z5TOWA.table) != 0)
          reason = MSG_DATABASE_ERROR;
        else if (written)
          *written = 1;
      }
    }
    CloseGoods();
  }

  int result = 0;
  if (reason != 0)
    result = ReportFailure(MSG_STOCK_NOT_UPDATED, reason, key, name, quantity,
                           !(reason == MSG_NOT_IN_CATALOGUE && windowFlag == 0));
  if (result == -1) zamknij_okno_raportu(windowFlag);
  return result;
}

namespace {

// After the new purchase price is in the buffer of the locked record: the
// two questions and the write. 0, or the reason of a failure.
int ConfirmPriceChange() {
  DbTable* table = Z5TOWA.table;
  if (Pytanie(MSG_ASK_UPDATE_PRICE) == KEY_ESC) {
    // Nothing is written: the buffered change goes and the record is free again.
    d4changed(table, 0);
    d4unlock(table);
    return 0;
  }
  if (Pytanie(MSG_ASK_SELLING_PRICES) != KEY_ESC) {
    std::string kept(d4record(table), d4record_width(table));
    double keptGross = f4double(Goods("CSB"));
    if (ustal_ceny_sprzedazy() != 0) {
      Uwaga(MSG_SELLING_NOT_UPDATED);
      std::memcpy(d4record(table), kept.data(), kept.size());
    } else if (warehouseOptions.markChanges == 'T' &&
               ROUND(f4double(Goods("CSB")), DECIMALS) != ROUND(keptGross, DECIMALS)) {
      f4assign_char(Goods("ZNA"), CHANGED_MARK);
    }
  }
  return write_and_unlock(table) != 0 ? MSG_DATABASE_ERROR : 0;
}

}  // namespace

int aktualizuj_cene_zakupu(const char* code, const char* name, double quantity, double price, int windowFlag) {
  std::string key = CodeOf(code);
  if (key.empty()) return 0;

  int reason = 0;
  if (OpenZ5TOWA(OPEN_DBF_MUST_EXIST) != 0) {
    reason = MSG_OPEN_FAILED;
  } else {
    int found = SeekWholeCode(key);
    if (found == 0 && ROUND(price, DECIMALS) == ROUND(f4double(Goods("CZN")), DECIMALS)) {
      CloseGoods();
      return 0;
    }
    ReportLine line = StartReportLine(windowFlag, "AKTUALIZACJA CENY", key, name);
    if (found != 0) {
      reason = found > 0 ? MSG_NOT_IN_CATALOGUE : MSG_DATABASE_ERROR;
    } else {
      line.Write(" Cena  : " + Number(f4double(Goods("CZN")), PRICE_WIDTH));
      if (go_and_lock(Z5TOWA.table, d4recno(Z5TOWA.table)) != 0) {
        reason = MSG_DATABASE_ERROR;
      } else {
        DbField* net = Goods("CZN");
        DbField* gross = Goods("CZB");
        ToFieldCopyDouble(net, price);
        ToFieldCopyDouble(gross, f4double(net) + f4double(net) * f4double(Goods("VZS")) / 100);
        double stock = f4double(Goods("ILO"));
        ToFieldCopyDouble(Goods("WZN"), std::max(stock * f4double(net), 0.0));
        ToFieldCopyDouble(Goods("WZB"), std::max(stock * f4double(gross), 0.0));
        line.Write(std::string(" ") + ARROW + " " + Number(f4double(net), PRICE_WIDTH));
        reason = ConfirmPriceChange();
      }
    }
    CloseGoods();
  }

  int result = 0;
  if (reason != 0) result = ReportFailure(MSG_PRICE_NOT_UPDATED, reason, key, name, quantity, true);
  if (result == -1) zamknij_okno_raportu(0);
  return result;
}

void zamknij_okno_raportu(int pause) {
  if (!ReportWindowAlive()) return;
  if (pause) MessageWindow(MB_INFO);
  w4deactivate(reportWindow);
  w4close(reportWindow);
  reportWindow = -1;
  w4select(windowBefore);
}
