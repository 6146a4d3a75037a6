// Opens the panels and forms of the registers and catalogues, headless, over
// a firm with an invoice FV/1 and a record in the catalogues, and lays each
// one's screen resource over the grid the operator sees: every label cell
// must stand there whole. Only the cells a field is placed over may differ
// (listed with the panel). A row that runs past its window wraps onto the
// next and shows up here as the labels it overwrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/app/program_road.h"

namespace {

// UTF-8 text split into characters, one string each.
std::vector<std::string> Chars(const std::string& text) {
  std::vector<std::string> cells;
  for (size_t i = 0; i < text.size();) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) n++;
    cells.push_back(text.substr(i, n));
    i += n;
  }
  return cells;
}

// The lines of the screen resource with the number, from the program's sources.
std::vector<std::string> ResourceRows(int number) {
  const std::filesystem::path folder = std::filesystem::path(ZEL_TESTS_SOURCE_DIR) / ".." / "resources" / "zelsal";
  const std::string prefix = std::to_string(number) + "_";
  std::vector<std::string> rows;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
    std::ifstream in(entry.path());
    for (std::string line; std::getline(in, line);) rows.push_back(line);
  }
  return rows;
}

// The text rows of a dump (the attribute rows follow a blank line).
std::vector<std::string> GridRows(const std::string& dump) {
  std::vector<std::string> rows;
  size_t at = 0;
  while (at < dump.size()) {
    size_t end = dump.find('\n', at);
    if (end == std::string::npos) end = dump.size();
    if (end == at) break;
    rows.push_back(dump.substr(at, end - at));
    at = end + 1;
  }
  return rows;
}

// Cells of the resource a field is placed over: row and column in the
// resource, and how many.
struct Cover {
  int row, col, width;
};

struct Panel {
  const char* keys;            // from the main menu to the panel or form
  int resource;                // its screen resource
  int row, col;                // where the resource's first cell stands on the grid
  std::vector<Cover> covers;   // its fields over label cells
};

bool Covered(const std::vector<Cover>& covers, int row, int col) {
  for (const Cover& c : covers)
    if (c.row == row && col >= c.col && col < c.col + c.width) return true;
  return false;
}

// Where on the grid the most label cells stand, as "row,column": a hint
// for a panel that moved.
std::string BestPlace(const std::vector<std::string>& labels, const std::vector<std::string>& grid) {
  int best = -1;
  std::string place;
  for (int row = 0; row < static_cast<int>(grid.size()); row++)
    for (int col = 0; col < 80; col++) {
      int matched = 0;
      for (int r = 0; r < static_cast<int>(labels.size()) && row + r < static_cast<int>(grid.size()); r++) {
        std::vector<std::string> want = Chars(labels[r]), shown = Chars(grid[row + r]);
        for (int c = 0; c < static_cast<int>(want.size()) && col + c < static_cast<int>(shown.size()); c++)
          if (want[c] != " " && shown[col + c] == want[c]) matched++;
      }
      if (matched > best) best = matched, place = std::to_string(row) + "," + std::to_string(col);
    }
  return place;
}

class LabelWalkTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  }
  // FV/1 with a line, entered through the main register's " Dopisz ":
  // home delivery, a buyer typed by hand.
  void AddInvoice() {
    const std::string line = "Towar A{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}3{ENTER}10{ENTER}";
    RunToEnd(std::string(LOGO) + "s{ENTER}sd{ENTER}{ENTER}{F2}100325{ENTER}100325{ENTER}" +
             "{ENTER}{ENTER}{ENTER}{ENTER}Odbiorca Testowy{F4}{ENTER}" + line +
             "{ENTER}{ENTER}{ENTER}{ENTER}{F2}t{ESC}{ESC}{ESC}{F2}t{ESC}{ESC}{ESC}{ESC}");
  }
  // A contractor and a goods item entered through their catalogues.
  void AddCatalogueRecords() {
    RunToEnd(std::string(LOGO) + "s{ENTER}khd{ENTER}{ENTER}K1{ENTER}{ENTER}Kontrahent Pierwszy{F2}t{ESC}{ESC}" +
             "mtdTOW1{ENTER}Towar Pierwszy{F2}t{ESC}{ESC}{ESC}");
  }
  // Each panel opened from the main menu, its resource laid over the grid.
  void Walk(const std::vector<Panel>& panels) {
    for (const Panel& p : panels) {
      SCOPED_TRACE(p.keys);
      std::vector<std::string> labels = ResourceRows(p.resource);
      ASSERT_FALSE(labels.empty()) << "no resource " << p.resource;
      Outcome o = Run(std::string(LOGO) + p.keys);
      ASSERT_EQ(o.exit, 3) << "the program should wait for a key\n" << o.screen;
      std::vector<std::string> grid = GridRows(o.screen);
      std::string report;
      for (int r = 0; r < static_cast<int>(labels.size()); r++) {
        std::vector<std::string> want = Chars(labels[r]);
        int at = p.row + r;
        std::vector<std::string> shown = at < static_cast<int>(grid.size()) ? Chars(grid[at]) : std::vector<std::string>{};
        bool whole = true;
        for (int c = 0; c < static_cast<int>(want.size()); c++) {
          if (want[c] == " " || Covered(p.covers, r, c)) continue;
          int g = p.col + c;
          if (g >= static_cast<int>(shown.size()) || shown[g] != want[c]) whole = false;
        }
        if (!whole)
          report += "row " + std::to_string(at) + "\n  labels: " + std::string(p.col, ' ') + labels[r] +
                    "\n  grid:   " + (at < static_cast<int>(grid.size()) ? grid[at] : "") + "\n";
      }
      EXPECT_TRUE(report.empty()) << "resource " << p.resource << " at " << p.row << "," << p.col
                                  << ": labels missing or cut (it matches best at " << BestPlace(labels, grid)
                                  << ")\n" << report << "the grid:\n" << o.screen.substr(0, o.screen.find("\n\n"));
    }
  }
};

// The main register over FV/1: its panel (the town, the correction's VAT
// and the linked document's number stand over labels where they belong) and
// the header form (the payment form over "forma").
TEST_F(LabelWalkTest, SalesRegister) {
  AddInvoice();
  if (HasFatalFailure()) return;
  Walk({{"s{ENTER}s", 178, 10, 1, {{3, 23, 25}, {15, 16, 11}, {15, 45, 33}}},
        {"s{ENTER}smo", 67, 2, 1, {{13, 10, 5}}}});
}

// " Menu " > " Ewidencja ": the VAT register's panel over the line of FV/1.
TEST_F(LabelWalkTest, VatRegister) {
  AddInvoice();
  if (HasFatalFailure()) return;
  Walk({{"s{ENTER}see", 200, 14, 1, {}}});
}

// The contractors over a contractor, the goods over an item: panel and form.
TEST_F(LabelWalkTest, ContractorsAndGoods) {
  AddCatalogueRecords();
  if (HasFatalFailure()) return;
  Walk({{"s{ENTER}kh", 6, 18, 1, {}},
        {"s{ENTER}khm", 7, 2, 1, {}},
        {"s{ENTER}mt", 21, 12, 1, {}},
        {"s{ENTER}mtmp", 22, 3, 1, {}}});
}

// The services over a service: panel and form.
TEST_F(LabelWalkTest, Services) {
  RunToEnd(std::string(LOGO) + "s{ENTER}mudUSL1{ENTER}Usługa Pierwsza{F2}t{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  if (HasFatalFailure()) return;
  Walk({{"s{ENTER}mu", 26, 12, 1, {}}, {"s{ENTER}mum", 27, 3, 1, {}}});
}

// The settlement of FV/1 and the cash book over a payment: panels and the
// cash book's form (the entry's prefix over "xxxx").
TEST_F(LabelWalkTest, SettlementsAndCashBook) {
  AddInvoice();
  RunToEnd(std::string(LOGO) + "s{ENTER}kk{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}50{F2}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}");
  if (HasFatalFailure()) return;
  Walk({{"s{ENTER}kr", 83, 19, 1, {}}, {"s{ENTER}kk", 1, 19, 1, {}}, {"s{ENTER}kk{ENTER}", 2, 13, 1, {{2, 20, 4}}}});
}

// The forms of " Dopisz " in the small catalogues of Kartoteki.
TEST_F(LabelWalkTest, SmallCatalogues) {
  Walk({{"s{ENTER}kn{ENTER}", 251, 19, 1, {}},
        {"s{ENTER}ko{ENTER}", 252, 19, 1, {}},
        {"s{ENTER}ky{ENTER}", 243, 24, 1, {}},
        {"s{ENTER}kdu{ENTER}", 100, 19, 1, {}},
        {"s{ENTER}kdd{ENTER}", 99, 19, 1, {}}});
}

}  // namespace
