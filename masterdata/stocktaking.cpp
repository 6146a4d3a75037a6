// The stocktaking sheet "SPIS Z NATURY": its entry window, the price kind,
// and the sheet printed from form 23 over the filtered goods with its pages.
#include <cstring>
#include <string>
#include <vector>

#include "app/document_print.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/form_text.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/goods_actions.h"
#include "masterdata/goods_catalogue.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_NO_ITEMS = 50007;
constexpr int16_t RES_SHEET = 23;
constexpr int SHEET_ROWS = 29;
constexpr int SHEET_COLS = 128;
constexpr int PRINT_FLAGS = 2304;

// Rows of form 23.
constexpr int TITLE_ROW = 3;
constexpr int COMMITTEE_ROW = 7;
constexpr int DATES_ROW = 12;
constexpr int HEADING_ROW = 13;
constexpr int HEADING_LINES = 5;
constexpr int ITEM_ROW = 18;
constexpr int TOTAL_ROW = 19;
constexpr int TOTAL_LINES = 2;
constexpr int CLOSING_ROW = 21;
constexpr int CLOSING_LINES = SHEET_ROWS - CLOSING_ROW;

// Columns of the item line and of the values elsewhere on the sheet.
constexpr int NUMBER_COL = 0, NAME_COL = 6, UNIT_COL = 47, QUANTITY_COL = 53, NET_PRICE_COL = 66, RATE_COL = 77,
              GROSS_PRICE_COL = 82, NET_VALUE_COL = 93, VAT_COL = 105, GROSS_VALUE_COL = 117;
constexpr int PRICE_WIDTH = 10, VALUE_WIDTH = 11, QUANTITY_WIDTH = 13, NUMBER_WIDTH = 5;
constexpr int FIRM_COL = 2, COMMITTEE_COL = 4, START_DATE_COL = 21, END_DATE_COL = 69, PAGE_COL = 122,
              LAST_ITEM_COL = 28;

constexpr int VAT_EXEMPT = 4;
constexpr int VAT_NOT_TAXED[] = {7, 10, 11};

const std::vector<std::string>& PriceKinds() {
  static const std::vector<std::string> kinds = {
      "                      ",
      Utf8ToMazText("1. wg cen ZAKUPU"),
      Utf8ToMazText("2. wg cen SPRZEDAŻY A"),
      Utf8ToMazText("3. wg cen SPRZEDAŻY B"),
      Utf8ToMazText("4. wg cen SPRZEDAŻY C"),
  };
  return kinds;
}

DbField* Field(int i) { return Z5TOWA.field[i]; }

// The price fields of a price kind: net, gross, VAT code, VAT rate.
struct PriceFields {
  int net, gross, code, rate;
};
PriceFields FieldsOfKind(int kind) {
  switch (kind) {
    case 2: return {TOWA_CSN, TOWA_CSB, TOWA_VST, TOWA_VSS};
    case 3: return {TOWA_CBN, TOWA_CBB, TOWA_VST, TOWA_VSS};
    case 4: return {TOWA_CCN, TOWA_CCB, TOWA_VST, TOWA_VSS};
    default: return {TOWA_CZN, TOWA_CZB, TOWA_VZT, TOWA_VZS};
  }
}

// ---- the entry window

int AskAnswers(kontekst_kartoteki_towarow* context) {
  int window = DefineWprowadzWindow(5, 20, 10, 60, nullptr, nullptr, nullptr);
  int previous = w4select(window);
  w4activate(window);
  w4(0, 0, "OSOBY KOMISJI SPISOWEJ:");
  for (int i = 0; i < 4; i++) {
    char label[3] = {static_cast<char>('1' + i), '.', 0};
    w4(1 + i, 1, label);
    g4(1 + i, 4, context->komisja[i]);
  }
  static const std::string start = Utf8ToMazText("Data rozpoczęcia:");
  static const std::string end = Utf8ToMazText("Data zakończenia:");
  static const std::string zeros = Utf8ToMazText("Czy drukować pozycje dla których ilość równa się zero:");
  w4(5, 1, start.c_str());
  g4date(5, 19, context->data_od);
  g4picture("DD-MM/YY");
  g4valid(test_daty);
  w4(6, 1, end.c_str());
  g4date(6, 19, context->data_do);
  g4picture("DD-MM/YY");
  g4valid(test_daty);
  w4(7, 1, zeros.c_str());
  g4(7, 56, context->spis_zera);
  g4call(wybierz_tak_nie, 0);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

// ---- the sheet

class Sheet {
 public:
  Sheet(kontekst_kartoteki_towarow* context, BrowseContext* browse)
      : context(context), browse(browse), pattern(SHEET_ROWS * SHEET_COLS, ' '), page(pattern.size(), ' ') {
    std::vector<std::string> lines = ResourceLines([] { return RES_SHEET; });
    for (size_t row = 0; row < lines.size() && row < SHEET_ROWS; row++)
      lines[row].copy(&pattern[row * SHEET_COLS], std::min<size_t>(lines[row].size(), SHEET_COLS));
  }

  // One copy: 0, or -1 on a print or engine error.
  int Print() {
    for (double& sum : context->sumy_spisu) sum = 0;
    std::fill(page.begin(), page.end(), ' ');
    pageNo = 1;
    itemNo = 0;
    FillHeader();
    if (drukuj_top_margin() != 0) return -1;
    left = PageLines() - ITEM_ROW;   // the header and the table heading
    if (Lines(0, ITEM_ROW) != 0) return -1;
    int r = x4top(&browse->scan);
    for (; r == 0; r = x4skip(&browse->scan, 1))
      if (Item() != 0) return -1;
    if (r < 0) return -1;
    if (left < TOTAL_LINES && NewPage(false) != 0) return -1;
    Fill(TOTAL_ROW + 1, NET_VALUE_COL, context->sumy_spisu[0], VALUE_WIDTH);
    Fill(TOTAL_ROW + 1, VAT_COL, context->sumy_spisu[1], VALUE_WIDTH);
    Fill(TOTAL_ROW + 1, GROSS_VALUE_COL, context->sumy_spisu[2], VALUE_WIDTH);
    if (Lines(TOTAL_ROW, TOTAL_ROW + TOTAL_LINES) != 0) return -1;
    left -= TOTAL_LINES;
    // The closing block is never split over two pages.
    if (left < CLOSING_LINES && NewPage(false) != 0) return -1;
    c4ltoa(itemNo, At(CLOSING_ROW, LAST_ITEM_COL), NUMBER_WIDTH);
    if (Lines(CLOSING_ROW, SHEET_ROWS) != 0) return -1;
    return drukuj_form_feed();
  }

 private:
  int PageLines() const { return Printer.lines - Printer.topMargin; }
  char* At(int row, int col) { return &page[row * SHEET_COLS + col]; }
  void Put(int row, int col, const std::string& text) {
    text.copy(At(row, col), std::min<size_t>(text.size(), SHEET_COLS - col));
  }
  void Fill(int row, int col, double value, int width) {
    char text[32];
    c4dtoa(value, text, width, 2, 1);
    Put(row, col, text);
  }
  void ClearRow(int row) { std::fill(At(row, 0), At(row, 0) + SHEET_COLS, ' '); }
  int Lines(int first, int end) {
    return print_lines(pattern.data(), page.data(), SHEET_COLS, first, end, 0, -1);
  }

  void FillHeader() {
    Put(0, FIRM_COL, std::string(f4ptr(Z5PAWL.field[0]), f4len(Z5PAWL.field[0])));
    Put(1, FIRM_COL, std::string(f4ptr(Z5PAWL.field[1]), f4len(Z5PAWL.field[1])));
    std::string title = "SPIS Z NATURY " + PriceKinds()[static_cast<size_t>(context->rodzaj_ceny)].substr(3);
    Put(TITLE_ROW, static_cast<int>((SHEET_COLS - title.size()) / 2), title);
    for (int i = 0; i < 4; i++) Put(COMMITTEE_ROW + i, COMMITTEE_COL, context->komisja[i]);
    Put(DATES_ROW, START_DATE_COL, DateQStr(context->data_od));
    Put(DATES_ROW, END_DATE_COL, DateQStr(context->data_do));
    c4ltoa(pageNo, At(HEADING_ROW, PAGE_COL), 3);
  }

  // A form feed and, unless only the last blocks follow, the table heading
  // of the next page.
  int NewPage(bool heading) {
    if (drukuj_form_feed() != 0 || drukuj_top_margin() != 0) return -1;
    left = PageLines();
    if (!heading) return 0;
    c4ltoa(++pageNo, At(HEADING_ROW, PAGE_COL), 3);
    left -= HEADING_LINES;
    return Lines(HEADING_ROW, HEADING_ROW + HEADING_LINES);
  }

  int Item() {
    double quantity = f4double(Field(TOWA_ILO));
    if (context->spis_zera[0] != 'T' && quantity <= 0) return 0;
    DbField* names[6];
    for (int i = 0; i < 6; i++) names[i] = Field(TOWA_NA1 + i);
    int lines = LiczbaLiniiPozycji(names[0], names[1], names[2], names[3], names[4], names[5]) + (FieldIsEmpty(names[0]) ? 1 : 0);
    if (lines > left && NewPage(true) != 0) return -1;
    left -= lines;

    PriceFields kind = FieldsOfKind(context->rodzaj_ceny);
    double net = f4double(Field(kind.net)), gross = f4double(Field(kind.gross));
    double netValue = ROUND(quantity * net, 2), grossValue = ROUND(quantity * gross, 2);
    double vat = ROUND(grossValue - netValue, 2);
    context->sumy_spisu[0] += netValue;
    context->sumy_spisu[1] += vat;
    context->sumy_spisu[2] += grossValue;

    ClearRow(ITEM_ROW);
    c4ltoa(++itemNo, At(ITEM_ROW, NUMBER_COL), NUMBER_WIDTH);
    Put(ITEM_ROW, NAME_COL, std::string(f4ptr(names[0]), f4len(names[0])));
    Put(ITEM_ROW, UNIT_COL, std::string(f4ptr(Field(TOWA_JED)), f4len(Field(TOWA_JED))));
    MemPrintDoubleFmt(At(ITEM_ROW, QUANTITY_COL), quantity, QUANTITY_WIDTH, 4 | 0x20 | 0x80);
    Fill(ITEM_ROW, NET_PRICE_COL, net, PRICE_WIDTH);
    Fill(ITEM_ROW, GROSS_PRICE_COL, gross, PRICE_WIDTH);
    // "n.pod." reaches into the gross price's first column, blank for any usual price
    Put(ITEM_ROW, RATE_COL, RateText(f4int(Field(kind.code)), Field(kind.rate)));
    Fill(ITEM_ROW, NET_VALUE_COL, netValue, VALUE_WIDTH);
    Fill(ITEM_ROW, VAT_COL, vat, VALUE_WIDTH);
    Fill(ITEM_ROW, GROSS_VALUE_COL, grossValue, VALUE_WIDTH);
    if (Lines(ITEM_ROW, ITEM_ROW + 1) != 0) return -1;
    for (int i = 1; i < 6; i++) {
      if (FieldIsEmpty(names[i])) continue;
      ClearRow(ITEM_ROW);
      Put(ITEM_ROW, NAME_COL, std::string(f4ptr(names[i]), f4len(names[i])));
      if (Lines(ITEM_ROW, ITEM_ROW + 1) != 0) return -1;
    }
    ClearRow(ITEM_ROW);
    return 0;
  }

  static std::string RateText(int code, DbField* rate) {
    if (code == VAT_EXEMPT) return " ZW   ";
    for (int c : VAT_NOT_TAXED)
      if (c == code) return "n.pod.";
    return std::string(f4ptr(rate), f4len(rate));
  }

  kontekst_kartoteki_towarow* context;
  BrowseContext* browse;
  std::vector<char> pattern, page;
  int left = 0, pageNo = 1;
  long itemNo = 0;
};

int PrintSheet(kontekst_kartoteki_towarow* context, BrowseContext* browse) {
  int r = x4top(&browse->scan);
  if (r < 0) return -1;
  if (r != 0) {
    Uwaga(MSG_NO_ITEMS);
    return 0;
  }
  const std::vector<std::string>& kinds = PriceKinds();
  const char* items[] = {kinds[0].c_str(), kinds[1].c_str(), kinds[2].c_str(), kinds[3].c_str(), kinds[4].c_str(),
                         nullptr};
  int kind = get_menu_function(" WYBIERZ ", items, 1, -1, -1);
  if (kind < 1) return 0;
  context->rodzaj_ceny = kind;
  if (OpenZ5PAWL() != 0) return 0;
  static const std::string title = "Spis z natury";
  int result = 0;
  if (init_prn(Z5TOWA.table, "SPN", title.c_str(), SHEET_COLS, PRINT_FLAGS) == 0) {
    Sheet sheet(context, browse);
    Environment* env = EnvCurrent();
    for (;;) {
      if (sheet.Print() != 0) {
        result = -1;
        break;
      }
      if (env->copiesLeft-- <= 0) break;
    }
    deinit_prn();
  }
  d4close(Z5PAWL.table);
  return result;
}

}  // namespace

int spis_z_natury(int32_t) {
  BrowseContext* c = CurrentBrowse;
  kontekst_kartoteki_towarow* context = KontekstTowarow;
  if (!c || !context) return -1;
  if (AskAnswers(context) != KEY_ENTER) return 0;
  DbTable* table = Z5TOWA.table;
  long current = d4recno(table);
  if (set_lock(table, -1) != 0) return browse_call(0, current);
  InitDbScan(&c->scan, nullptr, nullptr, 0, 0);
  int printed = PrintSheet(context, c);
  d4unlock(table);
  DbScan(&c->scan, DBSCAN_SAVED_TAG | DBSCAN_SAVED_RECORD);
  int shown = browse_call(0, d4recno(table));
  return printed != 0 ? -1 : shown;
}
