// Walking the real program, headless, item by item: each item is opened from
// the screen an operator sees, its form's labels must stand on the grid, and
// after leaving it the grid must be the one before, with no engine error in
// the error log. Shared by the walk tests of tests/app.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/program_road.h"

namespace walk {

constexpr int GRID_ROWS = 30;

// The text and the attribute rows of a dump.
struct Shown {
  std::vector<std::string> text, attributes;
};

inline Shown Parse(const std::string& dump) {
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

inline std::string Text(const Shown& g) {
  std::string s;
  for (const std::string& row : g.text) s += row + "\n";
  return s;
}

// A menu item drawn selected in one grid and not in the other: the bar and
// its pull-downs keep the item last chosen highlighted, as they should.
inline bool SelectionSwap(const std::string& a, const std::string& b) {
  auto selected = [](const std::string& cell) { return cell == "F0" || cell == "70"; };
  return selected(a) || selected(b);
}

// Rows whose text or attributes differ, besides menu selection swaps.
inline std::vector<int> Changed(const Shown& before, const Shown& after) {
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
  std::string before;                 // keys to the screen the item is chosen on
  std::string open;                   // keys that open it
  std::string leave;                  // keys that leave it again
  std::vector<std::string> labels;    // texts of its form that must stand on the grid
  bool quiet = false;                 // it opens nothing: the grid stays as it was
};

// The bar item n places right of the first, chosen with Enter.
inline std::string BarItem(int n) {
  std::string keys;
  for (int i = 0; i < n; i++) keys += "{RIGHT}";
  return keys + "{ENTER}";
}

// The pull-down item n places below the first, chosen with Enter.
inline std::string PullDownItem(int n) {
  std::string keys;
  for (int i = 0; i < n; i++) keys += "{DOWN}";
  return keys + "{ENTER}";
}

// The box of an action that wants a current record, over an empty list.
inline const std::string NO_ITEMS = " Brak pozycji !";

// A browse's bar: its items from the first, each left with one Esc but for
// the forms that ask a question (left with Esc twice, "Tak" to leaving
// unsaved) and the items skipped; the items refused must show " Brak pozycji !".
struct Bar {
  std::string browse;
  int count;
  std::vector<int> asking, skipped, refused = {};
};

inline bool Listed(const std::vector<int>& list, int n) { return std::find(list.begin(), list.end(), n) != list.end(); }

inline std::vector<Item> BarItems(const std::vector<Bar>& bars) {
  std::vector<Item> items;
  for (const Bar& bar : bars)
    for (int n = 0; n < bar.count; n++) {
      if (Listed(bar.skipped, n)) continue;
      std::vector<std::string> labels;
      if (Listed(bar.refused, n)) labels.push_back(NO_ITEMS);
      items.push_back({bar.browse, BarItem(n), Listed(bar.asking, n) ? "{ESC}{ESC}" : "{ESC}", labels});
    }
  return items;
}

// The items of a pull-down (or of a submenu laid out as a bar) chosen by
// their hot letters, each left with one Esc; those among the letters
// refused must show " Brak pozycji !".
inline std::vector<Item> Letters(const std::string& menu, const std::string& letters, const std::string& refused = "") {
  std::vector<Item> items;
  for (char letter : letters) {
    std::vector<std::string> labels;
    if (refused.find(letter) != std::string::npos) labels.push_back(NO_ITEMS);
    items.push_back({menu, std::string(1, letter), "{ESC}", labels});
  }
  return items;
}

// A pull-down's items from the first, each chosen with Enter and left with Esc.
inline std::vector<Item> PullDownItems(const std::string& pullDown, int count) {
  std::vector<Item> items;
  for (int n = 0; n < count; n++) items.push_back({pullDown, PullDownItem(n), "{ESC}", {}});
  return items;
}

// On a fresh firm FIRMA1 of working year 2025, started from the main menu.
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

  // The grid where the program waits for a key after the keys.
  Shown Screen(const std::string& keys) {
    Outcome o = Run(std::string(LOGO) + keys);
    EXPECT_EQ(o.exit, 3) << keys << ": the program should wait for a key\n" << o.screen;
    return Parse(o.screen);
  }
  static std::string Text(const Shown& g) { return walk::Text(g); }
  // The engine errors logged since the last look, one entry a line.
  std::string NewEngineErrors() {
    std::string log = ReadFile(home + "ER.Log"), errors;
    for (size_t at = log.find("ERRCODE", logSeen); at != std::string::npos; at = log.find("ERRCODE", at + 1)) {
      size_t end = log.find_first_of("\r\n", at);
      errors += log.substr(at, end == std::string::npos ? std::string::npos : end - at) + "\n";
    }
    logSeen = log.size();
    return errors;
  }
  // Each item opened, checked and left; the log checked after each.
  void Walk(const std::vector<Item>& items) {
    NewEngineErrors();
    for (const Item& item : items) {
      const std::string open = item.before + item.open;
      SCOPED_TRACE(open);
      // Opened first: what opening stores (a record's repairs) is shown before too.
      Shown opened = Screen(open);
      Shown start = Screen(item.before);
      ASSERT_EQ(start.text.size(), static_cast<size_t>(GRID_ROWS)) << Text(start);
      if (item.quiet) {
        EXPECT_TRUE(Changed(start, opened).empty()) << "the item should open nothing\n" << Text(opened);
        EXPECT_EQ(NewEngineErrors(), "") << "engine errors logged";
        continue;
      }
      EXPECT_FALSE(Changed(start, opened).empty()) << "the item opened nothing\n" << Text(opened);
      std::string shown = Text(opened);
      for (const std::string& label : item.labels) EXPECT_NE(shown.find(label), std::string::npos) << label << "\n" << shown;
      Shown left = Screen(open + item.leave);
      std::vector<int> rows = Changed(start, left);
      std::string report;
      for (int r : rows) {
        report += "row " + std::to_string(r) + "\n  before: " + (r < static_cast<int>(start.text.size()) ? start.text[r] : "");
        report += "\n  after:  " + (r < static_cast<int>(left.text.size()) ? left.text[r] : "") + "\n";
      }
      EXPECT_TRUE(rows.empty()) << "the screen was not restored\n" << report;
      EXPECT_EQ(NewEngineErrors(), "") << "engine errors logged";
    }
  }

  size_t logSeen = 0;   // bytes of the error log already looked at
};

}  // namespace walk
