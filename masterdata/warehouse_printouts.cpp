// The printout of one warehouse receipt or issue: a form page of 33 rows of
// 131 characters with the values laid over it, the lines carried from page
// to page with their running sums.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/document_print.h"
#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/form_text.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/warehouse_documents.h"
#include "print/char_output.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

namespace {

constexpr int COLS = 131, ROWS = 33;
constexpr int16_t RES_ISSUE_FORM = 275, RES_RECEIPT_FORM = 274;
constexpr int MSG_NO_LINES = 191, MSG_NO_GOODS_CODE = 197;
constexpr int MSG_RECEIPT_GROSS = 194, MSG_RECEIPT_NET = 195, MSG_ISSUE_GROSS = 198, MSG_ISSUE_NET = 199;
constexpr int PRINT_FLAGS = 2304;
constexpr int HEAD_ROWS = 16, LINE_ROW = 16, CARRY_RULE_ROW = 23, SUM_ROW = 24, FOOT_END = 33;
constexpr int CONTINUATION_ROW = 11, CONTINUATION_ROWS = 5;
constexpr int FOOT_ROWS = FOOT_END - CARRY_RULE_ROW;   // rows 23 to 32
constexpr int CARRY_ROWS = 2;                          // rows 23 and 24
constexpr int VALUE_COL = 83, VAT_COL = 102, OTHER_COL = 117, LABEL_END = 79;

// Texts in the system's character set, kept while the program runs.
const char* Sys(const char* utf8) {
  static std::map<std::string, std::string> kept;
  return kept.try_emplace(utf8, Utf8ToMazText(utf8)).first->second.c_str();
}

std::string Text(DbField* field) {
  std::string s(f4ptr(field), f4len(field));
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, s.find_first_not_of(' '));
  return s;
}

// The form resource of the document being printed.
int16_t formResource = RES_RECEIPT_FORM;

struct Sums {
  double value = 0, vat = 0, other = 0;
};

class Document {
 public:
  Document(int kind, DbTable* headers, int priceKind, bool gross)
      : issue(kind == 1), headers(headers), priceKind(priceKind), gross(gross), form(ROWS * COLS, ' '),
        page(form.size(), ' ') {
    formResource = issue ? RES_ISSUE_FORM : RES_RECEIPT_FORM;
    std::vector<std::string> lines = ResourceLines([]() -> int16_t { return formResource; });
    for (size_t row = 0; row < lines.size() && row < ROWS; row++)
      lines[row].copy(&form[row * COLS], std::min<size_t>(lines[row].size(), COLS));
  }
  int Print() {
    sums = Sums{};
    pageNo = 1;
    ordinal = 0;
    std::fill(page.begin(), page.end(), ' ');
    Head();
    if (drukuj_top_margin() != 0 || Rows(0, HEAD_ROWS) != 0) return -1;
    left = PageRows() - HEAD_ROWS;
    DbTable* lines = stronaMagazynu->lines->table;
    long record = f4long(H("REC"));
    for (int r = FirstLine(); r == 0 && !d4eof(lines) && f4long(L("REK")) == record; r = d4skip(lines, 1))
      if (Line() != 0) return -1;
    // The foot is never split: it starts a page of its own when it does not fit.
    if (left < FOOT_ROWS && Break() != 0) return -1;
    Foot();
    if (Rows(CARRY_RULE_ROW, FOOT_END) != 0) return -1;
    return drukuj_form_feed();
  }

 private:
  static int PageRows() { return Printer.lines - Printer.topMargin; }
  DbField* H(const char* name) { return d4field(headers, name); }
  DbField* L(const char* name) { return d4field(stronaMagazynu->lines->table, name); }
  char* At(std::vector<char>& p, int row, int col) { return &p[static_cast<size_t>(row * COLS + col)]; }
  void Put(std::vector<char>& p, int row, int col, const std::string& text) {
    if (col < 0) col = 0;
    text.copy(At(p, row, col), std::min<size_t>(text.size(), static_cast<size_t>(COLS - col)));
  }
  void Put(int row, int col, const std::string& text) { Put(page, row, col, text); }
  void Number(int row, int col, double value, int width, int decimals) {
    char text[40];
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    Put(row, col, text);
  }
  void ClearRow(std::vector<char>& p, int row) { std::fill(At(p, row, 0), At(p, row, 0) + COLS, ' '); }
  int Rows(int first, int end) { return print_lines(form.data(), page.data(), COLS, first, end, 0, -1); }

  int FirstLine() {
    DbTable* lines = stronaMagazynu->lines->table;
    d4tag_select(lines, stronaMagazynu->lines->tag[WH_LINES_BY_HEADER]);
    char key[8];
    std::snprintf(key, sizeof key, "%7ld", f4long(H("REC")));
    int r = d4seek_n(lines, key, 7);
    return r < 0 ? -1 : r == 3 ? 1 : 0;
  }

  std::string Title() {
    std::string title = bez_odstepow(issue ? warehouseOptions.issueName : warehouseOptions.receiptName);
    return title + " " + Text(H("NUM"));
  }

  void Block(int row, bool contractor) {
    if (contractor) {
      Put(row, 22, Text(H("NA1")));
      Put(row + 1, 22, Text(H("NA2")));
      Put(row + 2, 22, TrimFldsToQStr_(H("KOP"), H("MIA"), H("ULI")));
    } else {
      DbTable* firm = Z5PAWL.table;
      Put(row, 22, Text(d4field(firm, "NA1")));
      Put(row + 1, 22, Text(d4field(firm, "NA2")));
      Put(row + 2, 22,
          AdresFldsQStr(d4field(firm, "KOD"), d4field(firm, "POC"), d4field(firm, "MIA"), d4field(firm, "ULI"),
                        d4field(firm, "NRD"), d4field(firm, "NRM")));
    }
  }

  void PageNumber(int row) {
    char text[8];
    std::snprintf(text, sizeof text, "str.%2d", pageNo);
    Put(row, 122, text);
  }

  void Head() {
    Put(0, 4, bez_odstepow(warehouseOptions.issuePlace) + " " + FldFullDateQStr(H("DAT")));
    std::string title = Title();
    Put(2, std::max(0, static_cast<int>(COLS - title.size()) / 2), title);
    Block(4, !issue);
    Block(8, issue);
    PageNumber(CONTINUATION_ROW);
    const char* with = Sys("z podatkiem");
    const char* without = Sys("bez podatku");
    Put(form, 14, 70, gross ? with : without);
    Put(form, 14, 84, gross ? with : without);
    Put(form, 14, 117, gross ? without : with);
  }

  // Values of the current line into p, value, vat and other.
  void Values(double* p, double* value, double* vat, double* other) {
    double quantity = f4double(L("ILO"));
    if (!issue || priceKind == 1) {
      *p = f4double(L(gross ? "CEB" : "CEN"));
      *value = f4double(L(gross ? "WAB" : "WAN"));
      *vat = f4double(L("WAV"));
      *other = f4double(L(gross ? "WAN" : "WAB"));
      return;
    }
    static const char* const grossPrices[] = {"CSB", "CBB", "CCB"};
    static const char* const netPrices[] = {"CSN", "CBN", "CCN"};
    const char* price = (gross ? grossPrices : netPrices)[priceKind - 2];
    *p = GoodsPrice(price);
    double e = ROUND(*p * quantity, 2);
    double rate = f4double(L("VAS"));
    if (gross) {
      *vat = ROUND(e * ROUND(rate / (rate + 100), 4), 2);
      *other = e - *vat;
    } else {
      *vat = ROUND(rate * e / 100, 2);
      *other = e + *vat;
    }
    *value = e;
  }

  // The price of the line's goods; 0 from the blank record of an empty or
  // missing code, which is never written back over the record the seek
  // stood on.
  double GoodsPrice(const char* price) {
    std::string code = FldQStr(L("KOT"), 0);
    int found = 1;
    if (!Text(L("KOT")).empty()) {
      found = SeekTowarByKod(code.c_str());
      if (found > 0) MessageWindow(MB_WARNING, MSG_NO_GOODS_CODE, Text(L("KOT")).c_str());
    }
    if (found != 0) {
      d4blank(Z5TOWA.table);
      d4changed(Z5TOWA.table, 0);
    }
    return f4double(d4field(Z5TOWA.table, price));
  }

  int NameRows() {
    int rows = 1;
    for (const char* name : {"NA2", "NA3", "NA4", "NA5", "NA6"})
      if (!FieldIsEmpty(L(name))) rows++;
    if (warehouseOptions.printGoodsCode == 'T' && !FieldIsEmpty(L("KOT"))) rows++;
    return rows;
  }

  int Line() {
    int need = NameRows();
    // Room is kept for the carried sums under the line.
    if (left - need < CARRY_ROWS && Break() != 0) return -1;
    double p, value, vat, other;
    Values(&p, &value, &vat, &other);
    sums.value += value;
    sums.vat += vat;
    sums.other += other;
    ClearRow(page, LINE_ROW);
    char ordinalText[16];
    std::snprintf(ordinalText, sizeof ordinalText, "%3d", ++ordinal);
    Put(LINE_ROW, 3, ordinalText);
    Put(LINE_ROW, 7, Text(L("NA1")));
    Put(LINE_ROW, 48, Text(L("JED")));
    Number(LINE_ROW, 55, f4double(L("ILO")), 13, 4);
    Number(LINE_ROW, 70, p, 12, 4);
    Number(LINE_ROW, VALUE_COL, value, 11, 2);
    char rate[16];
    std::memset(rate, ' ', sizeof rate);
    StawkaVatTekst(rate, L("VAS"), f4int(L("VAT")));
    Put(LINE_ROW, 98, std::string(rate, 4));
    Number(LINE_ROW, VAT_COL, vat, 11, 2);
    Number(LINE_ROW, OTHER_COL, other, 11, 2);
    if (Rows(LINE_ROW, LINE_ROW + 1) != 0) return -1;
    for (const char* name : {"NA2", "NA3", "NA4", "NA5", "NA6"}) {
      if (FieldIsEmpty(L(name))) continue;
      ClearRow(page, LINE_ROW);
      Put(LINE_ROW, 7, Text(L(name)));
      if (Rows(LINE_ROW, LINE_ROW + 1) != 0) return -1;
    }
    if (warehouseOptions.printGoodsCode == 'T' && !FieldIsEmpty(L("KOT"))) {
      ClearRow(page, LINE_ROW);
      Put(LINE_ROW, 7, "kod: " + Text(L("KOT")));
      if (Rows(LINE_ROW, LINE_ROW + 1) != 0) return -1;
    }
    ClearRow(page, LINE_ROW);
    left -= need;
    return 0;
  }

  void SumRow(const char* label) {
    std::string saved(At(form, SUM_ROW, 0), COLS);
    ClearRow(form, SUM_ROW);
    std::string text = Sys(label);
    Put(form, SUM_ROW, LABEL_END + 1 - static_cast<int>(text.size()), text);
    ClearRow(page, SUM_ROW);
    Number(SUM_ROW, VALUE_COL, sums.value, 11, 2);
    Number(SUM_ROW, VAT_COL, sums.vat, 11, 2);
    Number(SUM_ROW, OTHER_COL, sums.other, 11, 2);
    formSumRow = saved;
  }
  void RestoreSumRow() { formSumRow.copy(At(form, SUM_ROW, 0), COLS); }

  // "Do przeniesienia", a new page with the continuation head, "Z przeniesienia".
  int Break() {
    SumRow("Do przeniesienia");
    int r = Rows(CARRY_RULE_ROW, SUM_ROW + 1);
    RestoreSumRow();
    if (r != 0 || drukuj_form_feed() != 0 || drukuj_top_margin() != 0) return -1;
    pageNo++;
    left = PageRows();
    ClearRow(page, CONTINUATION_ROW);
    Put(CONTINUATION_ROW, 4, Title());
    PageNumber(CONTINUATION_ROW);
    if (Rows(CONTINUATION_ROW, CONTINUATION_ROW + CONTINUATION_ROWS) != 0) return -1;
    SumRow("Z przeniesienia");
    r = Rows(SUM_ROW, SUM_ROW + 1);
    RestoreSumRow();
    left -= CONTINUATION_ROWS + 1;
    return r;
  }

  void Foot() {
    static const char* const notes[] = {"* wg cen zakupu *", "* wg cen sprzedaży typ A *",
                                        "* wg cen sprzedaży typ B *", "* wg cen sprzedaży typ C *"};
    ClearRow(page, SUM_ROW);
    Put(SUM_ROW, 4, Sys(notes[issue ? priceKind - 1 : 0]));
    Number(SUM_ROW, VALUE_COL, sums.value, 11, 2);
    Number(SUM_ROW, VAT_COL, sums.vat, 11, 2);
    Number(SUM_ROW, OTHER_COL, sums.other, 11, 2);
    Put(27, 13, Text(H("UWA")));
    Put(29, 14, Text(H("WYS")));
    Put(29, 96, Text(H("ODE")));
  }

  bool issue;
  DbTable* headers;
  int priceKind;
  bool gross;
  std::vector<char> form, page;
  std::string formSumRow;
  Sums sums;
  int left = 0, pageNo = 1, ordinal = 0;
};

// " WYBIERZ " over the items; the chosen one from 1, -1 on Esc.
int Choose(std::initializer_list<const char*> items) {
  std::vector<std::string> texts = {"                          "};
  for (const char* item : items) texts.push_back(Utf8ToMazText(item));
  std::vector<const char*> list;
  for (const std::string& t : texts) list.push_back(t.c_str());
  list.push_back(nullptr);
  int chosen = get_menu_function(" WYBIERZ ", list.data(), 1, -1, -1);
  return chosen < 1 ? -1 : chosen;
}

}  // namespace

int drukuj_dokument_magazynowy(int kind, DbTable* headers) {
  if (OpenZ5PAWL() != 0) return 0;
  if (d4top(Z5PAWL.table) != 0) d4blank(Z5PAWL.table);
  d4changed(Z5PAWL.table, 0);
  int result = 0;
  if (OpenZ5TOWA(0) == 0) {
    long record = d4recno(headers);
    if (go_and_lock(headers, record) == 0) {
      int priceKind = 1;
      bool issue = kind == 1;
      if (issue) {
        priceKind = warehouseOptions.issuePrices;
        if (priceKind > 4)
          priceKind = Choose({"1. WG CEN ZAKUPU", "2. WG CEN SPRZEDAZY A", "3. WG CEN SPRZEDAZY B",
                              "4. WG CEN SPRZEDAZY C"});
        if (priceKind < 1) priceKind = -1;
      }
      int base = warehouseOptions.printPrices;
      if (priceKind > 0 && (base < 1 || base > 2)) base = Choose({"1. OD CEN NETTO", "2. OD CEN BRUTTO"});
      if (priceKind > 0 && base > 0) {
        bool gross = base == 2;
        Document document(kind, headers, priceKind, gross);
        DbTable* lines = stronaMagazynu->lines->table;
        d4tag_select(lines, stronaMagazynu->lines->tag[WH_LINES_BY_HEADER]);
        char key[8];
        std::snprintf(key, sizeof key, "%7ld", f4long(d4field(headers, "REC")));
        int found = d4seek_n(lines, key, 7);
        if (found != 0 || f4long(d4field(lines, "REK")) != f4long(d4field(headers, "REC"))) {
          Uwaga(MSG_NO_LINES);
        } else {
          int title = issue ? (gross ? MSG_ISSUE_GROSS : MSG_ISSUE_NET) : (gross ? MSG_RECEIPT_GROSS : MSG_RECEIPT_NET);
          if (init_prn(lines, issue ? "DOW" : "DOP", EnvFindString(title), COLS, PRINT_FLAGS) == 0) {
            Environment* env = EnvCurrent();
            for (;;) {
              if (document.Print() != 0) {
                result = -1;
                break;
              }
              if (env->copiesLeft-- <= 0) break;
            }
            deinit_prn();
          }
        }
      }
      d4go(headers, record);
      d4unlock(headers);
    }
    d4changed(Z5TOWA.table, 0);
    d4close(Z5TOWA.table);
  }
  d4close(Z5PAWL.table);
  return result;
}
