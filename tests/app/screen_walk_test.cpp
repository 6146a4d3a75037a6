// Walks the real program, headless, through the items of the main menu tree
// and of the modules' browse menus that open a window, form, menu or box, on
// a firm with a record or two in its tables: each item is opened from the
// screen an operator sees, its form's labels must stand on the grid, and
// after leaving it with Esc (answering its question) the grid must be the
// one before.
//
// Not walked, and why:
// - START > Detal > Drukarki > Funkcje and the receipt module's fiscal
//   commands: they talk to a fiscal printer on a serial port.
// - Administrator > EKSPORT and IMPORT past their first window: they write
//   and read files of the bookkeeping program.
// - Administrator > Archiwum past its window: writing and restoring archives
//   runs the archiver over the firm's files.
// - " Drukuj " items past the print dialog: printing leaves the screen it
//   was started from and sends a job (the page viewer is walked instead).
// - Kartoteki > Przelewy's " Ustaw " and " Kasuj ": they open nothing, but
//   turn print marks over (checked on their own).
// - Pomoc's pages and the notes (Shift+F2) beyond the first page: the help
//   viewer and the notes editor are walked on their first page only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/app/program_road.h"

namespace {

constexpr int GRID_ROWS = 30;

// The text and the attribute rows of a dump.
struct Shown {
  std::vector<std::string> text, attributes;
};

Shown Parse(const std::string& dump) {
  Shown g;
  size_t at = 0;
  for (int part = 0; part < 2; part++) {
    std::vector<std::string>& rows = part == 0 ? g.text : g.attributes;
    while (at < dump.size()) {
      size_t end = dump.find('\n', at);
      if (end == std::string::npos) end = dump.size();
      std::string row = dump.substr(at, end - at);
      at = end + 1;
      if (row.empty()) break;
      rows.push_back(row);
    }
  }
  return g;
}

// A menu item drawn selected in one grid and not in the other: the bar and
// its pull-downs keep the item last chosen highlighted, as they should.
bool SelectionSwap(const std::string& a, const std::string& b) {
  auto selected = [](const std::string& cell) { return cell == "F0" || cell == "70"; };
  return selected(a) || selected(b);
}

// Rows whose text or attributes differ, besides menu selection swaps.
std::vector<int> Changed(const Shown& before, const Shown& after) {
  std::vector<int> rows;
  size_t n = std::max(before.text.size(), after.text.size());
  for (size_t r = 0; r < n; r++) {
    std::string a = r < before.text.size() ? before.text[r] : "", b = r < after.text.size() ? after.text[r] : "";
    std::string x = r < before.attributes.size() ? before.attributes[r] : "";
    std::string y = r < after.attributes.size() ? after.attributes[r] : "";
    bool differs = a != b || x.size() != y.size();
    for (size_t c = 0; !differs && c + 1 < x.size(); c += 2)
      differs = x.compare(c, 2, y, c, 2) != 0 && !SelectionSwap(x.substr(c, 2), y.substr(c, 2));
    if (differs) rows.push_back(static_cast<int>(r));
  }
  return rows;
}

struct Item {
  const char* before;                 // keys to the screen the item is chosen on
  const char* open;                   // keys that open it
  const char* leave;                  // keys that leave it again
  std::vector<const char*> labels;    // texts of its form that must stand on the grid
};

class ScreenWalkTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  }
  // One invoice with a line, entered through the main register.
  void AddInvoice() { AddDocument("s{ENTER}sd{ENTER}"); }
  // A pro forma invoice with a line in the auxiliary register.
  void AddProForma() { AddDocument("s{ENTER}pd{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}"); }
  // From the register's " Dopisz " with the kind chosen: home delivery, the
  // number as offered, a buyer typed by hand and one line.
  void AddDocument(const std::string& kind) {
    RunToEnd(std::string(LOGO) + kind + "{ENTER}{F2}100325{ENTER}100325{ENTER}" +
             "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy{F4}" +
             "{ENTER}Towar A{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}3{ENTER}10{ENTER}" +
             "{ENTER}{ENTER}{ENTER}{ENTER}{F2}t{ESC}{ESC}{ESC}{F2}t{ESC}{ESC}{ESC}{ESC}");
  }
  // A contractor and a goods item entered through their catalogues.
  void AddCatalogueRecords() {
    RunToEnd(std::string(LOGO) + "s{ENTER}khd{ENTER}{ENTER}K1{ENTER}{ENTER}Kontrahent Pierwszy{F2}t{ESC}{ESC}" +
             "mtdTOW1{ENTER}Towar Pierwszy{F2}t{ESC}{ESC}{ESC}");
  }
  // A record in each of the other catalogues of Kartoteki, entered through
  // their " Dopisz " (the cash book's " Wpłata "); the rate is in PLN, the one
  // currency a fresh countries table knows.
  void AddCatalogueEntries() {
    for (const char* keys : {"kk{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}50{F2}", "kn{ENTER}12{ENTER}Konto Pierwsze{F2}t",
                             "ko{ENTER}K1{ENTER}Opis pierwszy{F2}t", "ky{ENTER}PLN{ENTER}{ENTER}4.25{F2}t",
                             "kdu{ENTER}010125{ENTER}11.25{ENTER}R{F2}t", "kdd{ENTER}010525{F2}t"})
      RunToEnd(std::string(LOGO) + "s{ENTER}" + keys + "{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  }
  // A service and an empty issue and receipt of the sub-warehouses, entered
  // through the Magazyn browses.
  void AddWarehouseEntries() {
    for (const char* keys : {"mudUSL1{ENTER}Usługa Pierwsza{F2}t", "mwd{ENTER}{F2}t", "mpd{ENTER}{F2}t"})
      RunToEnd(std::string(LOGO) + "s{ENTER}" + keys + "{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  }
  // A transfer order of 100.00, marked for printing, entered through Kartoteki > Przelewy.
  void AddTransferOrder() { RunToEnd(std::string(LOGO) + "s{ENTER}kp{ENTER}{ENTER}100{F2}t{ESC}{ESC}{ESC}{ESC}{ESC}"); }
  Shown Screen(const std::string& keys) {
    Outcome o = Run(std::string(LOGO) + keys);
    EXPECT_EQ(o.exit, 3) << keys << ": the program should wait for a key\n" << o.screen;
    return Parse(o.screen);
  }
  static std::string Text(const Shown& g) {
    std::string s;
    for (const std::string& row : g.text) s += row + "\n";
    return s;
  }
  void Walk(const std::vector<Item>& items) {
    for (const Item& item : items) {
      const std::string before = item.before, open = before + item.open;
      SCOPED_TRACE(open);
      // Opened first: what opening stores (a record's repairs) is shown before too.
      Shown opened = Screen(open);
      Shown start = Screen(before);
      ASSERT_EQ(start.text.size(), static_cast<size_t>(GRID_ROWS)) << Text(start);
      EXPECT_FALSE(Changed(start, opened).empty()) << "the item opened nothing\n" << Text(opened);
      std::string shown = Text(opened);
      for (const char* label : item.labels) EXPECT_NE(shown.find(label), std::string::npos) << label << "\n" << shown;
      Shown left = Screen(open + item.leave);
      std::vector<int> rows = Changed(start, left);
      std::string report;
      for (int r : rows) {
        report += "row " + std::to_string(r) + "\n  before: " + (r < static_cast<int>(start.text.size()) ? start.text[r] : "");
        report += "\n  after:  " + (r < static_cast<int>(left.text.size()) ? left.text[r] : "") + "\n";
      }
      EXPECT_TRUE(rows.empty()) << "the screen was not restored\n" << report;
    }
  }
};

// The main menu and its frame windows.
TEST_F(ScreenWalkTest, MainMenu) {
  Walk({
      {"", "o", "{ESC}{ESC}", {"Rok rozrachunkowy", "Czy wyłączyć funkcję StretchBlt?"}},
      // No operator yet: the blank record shows no name.
      {"", "h", "{ESC}", {"╠Nazwa użytkownika ......                                                      ╣"}},
      {"", "k", "{ESC}", {}},
      {"", "p", "{ESC}", {}},
      {"", "{SHIFT+F2}", "{ESC}{ESC}", {"Notes - ogólny"}},
      {"", "s", "{ESC}", {}},
  });
}

// START's bar and its pull-downs.
TEST_F(ScreenWalkTest, StartMenuTree) {
  Walk({
      {"s{ENTER}", "s", "{ESC}", {"Dokumenty sprzedaży 2025", "brutto.........:", "VAT........:"}},
      {"s{ENTER}", "p", "{ESC}", {}},
      {"s{ENTER}m", "w", "{ESC}", {}},
      {"s{ENTER}m", "p", "{ESC}", {}},
      {"s{ENTER}m", "t", "{ESC}", {"brutto  VAT z."}},
      {"s{ENTER}m", "u", "{ESC}", {}},
      {"s{ENTER}m", "o", "{ESC}{ESC}", {}},
      {"s{ENTER}k", "k", "{ESC}", {}},
      {"s{ENTER}k", "r", "{ESC}", {}},
      {"s{ENTER}k", "n", "{ESC}", {}},
      {"s{ENTER}k", "h", "{ESC}", {}},
      {"s{ENTER}k", "o", "{ESC}", {}},
      {"s{ENTER}k", "p", "{ESC}", {}},
      {"s{ENTER}k", "e", "{ESC}", {}},
      {"s{ENTER}k", "y", "{ESC}", {}},
      {"s{ENTER}kd", "o", "{ESC}", {}},
      {"s{ENTER}kd", "u", "{ESC}", {}},
      {"s{ENTER}kd", "d", "{ESC}", {}},
      {"s{ENTER}d", "p", "{ESC}{ESC}", {}},
      {"s{ENTER}d", "o", "{ESC}{ESC}", {"OPCJE paragonów"}},
      {"s{ENTER}dd", "o", "{ESC}", {}},
      {"s{ENTER}a", "p", "{ESC}{ESC}", {"kod pocztowy", "poczta"}},
      {"s{ENTER}a", "s", "{ESC}", {}},
      {"s{ENTER}aa", "z", "{ESC}", {}},
      {"s{ENTER}aa", "o", "{ESC}", {}},
      {"s{ENTER}a", "e", "{ESC}", {}},
      {"s{ENTER}a", "i", "{ESC}", {}},
  });
}

// The sales registers' bars and pull-downs over a main register with an
// invoice and an auxiliary one with a pro forma; " Przelew " into the
// transfer order's window.
TEST_F(ScreenWalkTest, SalesRegisterMenus) {
  AddInvoice();
  AddProForma();
  if (HasFatalFailure()) return;
  Walk({
      {"s{ENTER}s", "pt{ENTER}", "{ESC}", {"PRZELEW", "fakt. FV/1 z 10-03/25", "ZLECENIODAWCA: KONTRAHENT"}},
      {"s{ENTER}p", "p", "{ESC}", {"Czy wystawić przelew ?"}},
      {"s{ENTER}p", "pt{ENTER}", "{ESC}", {"PRZELEW", "fakt.proforma PF/1 z 10-03/25", "nazwa...Odbiorca Testowy"}},
      {"s{ENTER}s", "d", "{ESC}", {"FAKTURA"}},
      {"s{ENTER}s", "o", "{ESC}", {}},
      {"s{ENTER}sr", "t", "{ESC}", {}},
      {"s{ENTER}sr", "w", "{ESC}", {}},
      {"s{ENTER}sr", "k", "{ESC}", {}},
      {"s{ENTER}sr", "z", "{ESC}", {}},
      {"s{ENTER}sm", "o", "{ESC}{ESC}", {"kod nabywcy..", "nazwa 1"}},
      {"s{ENTER}sm", "p", "{ESC}", {"numer konta...", "dokument FV nr"}},
      {"s{ENTER}sm", "n", "{ESC}", {}},
      {"s{ENTER}sm", "u", "{ESC}", {}},
      {"s{ENTER}sm", "t", "{ESC}", {}},
      {"s{ENTER}sm", "k", "{ESC}", {}},
      {"s{ENTER}ss", "d", "{ESC}", {"Szukaj daty -"}},
      {"s{ENTER}ss", "n", "{ESC}", {}},
      {"s{ENTER}ss", "r", "{ESC}", {}},
      {"s{ENTER}ssb", "p", "{ESC}", {"Szukaj nabywcy -"}},
      {"s{ENTER}ssb", "w", "{ESC}", {}},
      {"s{ENTER}ssb", "n", "{ESC}", {}},
      // More filters than the window has rows: the menu pages, no row drawn over another.
      {"s{ENTER}s", "f", "{ESC}", {"╠ od daty wystawienia.. ?", "╠ od daty sprzedaży.... ?", "╠ waluta............... ?"}},
      {"s{ENTER}s", "f{PGDN}{PGDN}", "{ESC}", {"╠ podatnik VAT ?....... ?", "╠ Zapamiętaj             "}},
      {"s{ENTER}s", "a", "{ESC}", {}},
      {"s{ENTER}s", "p", "{ESC}", {}},
      {"s{ENTER}s", "{LEFT}{LEFT}{ENTER}", "{ESC}", {"Używać kont? ..", "NETTO / BRUTTO"}},   // " Opcje "
      {"s{ENTER}se", "e", "{ESC}", {}},
      {"s{ENTER}se", "o", "{ESC}", {}},
      {"s{ENTER}se", "k", "{ESC}", {}},
      {"s{ENTER}se", "p", "{ESC}", {}},
      {"s{ENTER}s", "{F2}", "{ESC}", {}},
  });
}

// The archive windows show their labels from the start, with the archive
// drive mapped to a folder of the test.
TEST_F(ScreenWalkTest, ArchiveWindows) {
  MakeDir("archive");
  setenv("ZELSAL_DRIVE_A", (dir + "archive").c_str(), 1);
  Walk({
      {"s{ENTER}aa", "z", "{ESC}{ESC}", {"data                10-03/25", "archiwum firmowe", "archiwum wspólne", "weryfikacja"}},
      {"s{ENTER}aa", "o", "{ESC}{ESC}", {"archiwum firmowe", "archiwum wspólne"}},
  });
  // In the restore form only the get being edited stands in the edit colour:
  // first the subdirectory's 12 cells, then the firm archive's switch.
  struct Edited {
    const char* keys;
    const char* label;   // of the row the get stands on
    int first, last;     // its columns
  };
  for (const Edited& e : {Edited{"", "katalog", 62, 73}, Edited{"{DOWN}", "archiwum firmowe", 25, 27}}) {
    Shown form = Screen(std::string("s{ENTER}aao") + e.keys);
    for (int r = 6; r < 25; r++) {
      bool getRow = form.text[r].find(e.label) != std::string::npos;
      for (int c = 4; c < 76; c++) {
        bool edited = form.attributes[r].compare(2 * c, 2, "70") == 0;
        EXPECT_EQ(edited, getRow && c >= e.first && c <= e.last) << e.keys << " row " << r << " column " << c << "\n" << Text(form);
      }
    }
  }
  unsetenv("ZELSAL_DRIVE_A");
}

// The warehouse receipt register searches in its own search line.
TEST_F(ScreenWalkTest, WarehouseReceiptMenus) {
  Walk({
      {"s{ENTER}mp", "d", "{ESC}", {}},
      {"s{ENTER}mps", "d", "{ESC}", {"Szukaj daty -"}},
      {"s{ENTER}mpsb", "p", "{ESC}", {"Szukaj nabywcy -"}},
      {"s{ENTER}mpsb", "w", "{ESC}", {"Szukaj wzoru w nazwie nabywcy -"}},
      {"s{ENTER}mps", "n", "{ESC}", {"Szukaj numeru dokumentu -"}},
      {"s{ENTER}mp", "f", "{ESC}", {}},
  });
}

// The bar item n places right of the first, chosen with Enter.
std::string BarItem(int n) {
  std::string keys;
  for (int i = 0; i < n; i++) keys += "{RIGHT}";
  return keys + "{ENTER}";
}

// A browse's bar: its items from the first, each left with one Esc but for
// the forms that ask a question (left with Esc twice, "Tak" to leaving
// unsaved) and the items skipped.
struct Bar {
  const char* browse;
  int count;
  std::vector<int> asking, skipped;
};

std::vector<Item> BarItems(const std::vector<Bar>& bars) {
  std::vector<Item> items;
  static std::vector<std::string> keys;   // the items point into it
  keys.reserve(200);
  for (const Bar& bar : bars)
    for (int n = 0; n < bar.count; n++) {
      auto has = [n](const std::vector<int>& list) { return std::find(list.begin(), list.end(), n) != list.end(); };
      if (has(bar.skipped)) continue;
      keys.push_back(BarItem(n));
      items.push_back({bar.browse, keys.back().c_str(), has(bar.asking) ? "{ESC}{ESC}" : "{ESC}", {}});
    }
  return items;
}

// A pull-down's items from the first, each chosen with Enter and left with Esc.
std::vector<Item> PullDownItems(const char* pullDown, int count) {
  std::vector<Item> items;
  static std::vector<std::string> keys;   // the items point into it
  keys.reserve(50);
  for (int n = 0; n < count; n++) {
    std::string k;
    for (int i = 0; i < n; i++) k += "{DOWN}";
    keys.push_back(k + "{ENTER}");
    items.push_back({pullDown, keys.back().c_str(), "{ESC}", {}});
  }
  return items;
}

// The browses of Kartoteki, each over a record (the settlement of an
// invoice), and their bars. The transfer orders' " Ustaw " and " Kasuj "
// open nothing: they change the order's print mark (below).
TEST_F(ScreenWalkTest, CatalogueMenus) {
  AddCatalogueRecords();
  AddCatalogueEntries();
  AddTransferOrder();
  AddInvoice();
  if (HasFatalFailure()) return;
  Walk(BarItems({{"s{ENTER}kk", 10, {}, {}},
                 {"s{ENTER}kr", 5, {}, {}},
                 {"s{ENTER}kn", 4, {0, 1}, {}},
                 {"s{ENTER}kh", 6, {0, 1}, {}},
                 {"s{ENTER}ko", 3, {0, 1}, {}},
                 {"s{ENTER}ke", 1, {0}, {}},
                 {"s{ENTER}ky", 5, {0, 1}, {}},
                 {"s{ENTER}kdu", 3, {0, 1}, {}},
                 {"s{ENTER}kdd", 3, {0, 1}, {}},
                 {"s{ENTER}kp", 10, {0, 1}, {7, 8}}}));
}

// " Ustaw " turns the current order's print mark over, " Kasuj " clears the
// marks of the listed orders; only the mark changes on the screen.
TEST_F(ScreenWalkTest, TransferOrderMarks) {
  AddTransferOrder();
  if (HasFatalFailure()) return;
  const std::string marked = "T    │10-03/25│ZWYKŁY   │PRZELEW│     100.00│", cleared = "N" + marked.substr(1);
  Shown before = Screen("s{ENTER}kp");
  ASSERT_NE(Text(before).find(marked), std::string::npos) << Text(before);
  for (int item : {7, 8}) {
    Shown after = Screen("s{ENTER}kp" + BarItem(item));
    EXPECT_NE(Text(after).find(cleared), std::string::npos) << item << "\n" << Text(after);
    EXPECT_EQ(Changed(before, after).size(), 1u) << item << "\n" << Text(after);
    Screen("s{ENTER}kp" + BarItem(7));   // marked again
  }
}

// The accounts' " Drukuj " offers its three columns chosen, so the width
// window counts them rather than showing an empty report's 0.
TEST_F(ScreenWalkTest, AccountsPrintOffersTheirColumns) {
  std::string shown = Text(Screen("s{ENTER}kn" + BarItem(2)));
  EXPECT_NE(shown.find("Szerokość w znakach = "), std::string::npos) << shown;
  EXPECT_EQ(shown.find("Szerokość w znakach =  0"), std::string::npos) << shown;
}

// The sales register's " Menu " bar: " Export ", " Import " and " VAT-OSS ";
// and the receipt register's bar, entered past the box that no fiscal
// printer answers.
TEST_F(ScreenWalkTest, SalesExchangeAndReceiptMenus) {
  Walk({{"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}},
        {"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}},
        {"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}}});
  Walk(BarItems({{"s{ENTER}dp{ENTER}", 9, {}, {}}}));
}

// The warehouse browses, each over a record, the auxiliary sales register
// over a pro forma, and their bars; the goods' " Kasa " and " Kolektor "
// pull-downs with no register configured.
TEST_F(ScreenWalkTest, WarehouseMenus) {
  AddCatalogueRecords();
  AddWarehouseEntries();
  AddProForma();
  if (HasFatalFailure()) return;
  Walk(BarItems({{"s{ENTER}mw", 9, {}, {}},
                 {"s{ENTER}mp", 9, {}, {}},
                 {"s{ENTER}mt", 9, {0}, {}},
                 {"s{ENTER}mu", 8, {0, 1}, {}},
                 {"s{ENTER}p", 9, {}, {}}}));
  Walk(PullDownItems("s{ENTER}mt{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", 6));   // " Kasa "
  Walk(PullDownItems("s{ENTER}mt{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", 2));   // " Kolektor "
  // The auxiliary register's filters need one row more than the window has;
  // the GTU list's long texts are cut at the window's edge, not wrapped onto
  // the selected first row.
  Walk({{"s{ENTER}p", "f", "{ESC}", {"╠ od daty wystawienia.. ?", "╠ do daty wystawienia.. ?", "╠ oznaczenie tow./usł.. ?"}},
        {"s{ENTER}p", "f{PGDN}{PGDN}", "{ESC}", {"╠ Zapamiętaj             "}}});
}

// A minimise and restore inside a module hands the window back at the size
// it had (give or take its frame): no resize, no refusal, the same screen. A
// real resize there is still refused.
TEST_F(ScreenWalkTest, RestoringTheWindowInAModuleIsNoResize) {
  const std::string refusal = "Zmiana rozmiaru pulpitu jest możliwa tylko na poziomie menu głównego.";
  Shown before = Screen("s{ENTER}s");
  Shown after = Screen("s{ENTER}s{RESIZE 645x490}");
  EXPECT_EQ(ReadFile(dir + "out.txt").find(refusal), std::string::npos) << ReadFile(dir + "out.txt");
  EXPECT_TRUE(Changed(before, after).empty()) << Text(after);
  Screen("s{ENTER}s{RESIZE 800x600}");
  EXPECT_NE(ReadFile(dir + "out.txt").find(refusal), std::string::npos);
}

}  // namespace
