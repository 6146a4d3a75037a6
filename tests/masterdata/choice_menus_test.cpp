// The choice menus of the entry forms, VAT rate and expense column, chosen
// on the headless display.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/module_entries.h"
#include "app/vat_services.h"
#include "masterdata/choice_menus.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"
#include "ui/window4.h"

namespace {

class ChoiceMenuTest : public UiTest {
 protected:
  // Row and column of the first cell of `text` on the screen, or -1, -1.
  static std::pair<int, int> Where(const std::string& text) {
    for (int row = 0; row < Desktop.rows; row++) {
      std::string line = Row(row);
      size_t at = line.find(text);
      if (at == std::string::npos) continue;
      int col = 0;
      for (size_t i = 0; i < at; i++)
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) col++;
      return {row, col};
    }
    return {-1, -1};
  }
};

TEST_F(ChoiceMenuTest, RateListChosenItemGivesItsCode) {
  struct Case {
    int kind;
    int start;
    const char* keys;
    int code;
  } cases[] = {
      {0, 0, "{ENTER}", 1},
      {0, 14, "{ENTER}", 14},
      {0, 4, "{DOWN}{ENTER}", 5},
      {0, 2, "{F2}", 2},
      {5, 3, "9", 9},
      {5, 11, "{DOWN}{ENTER}", 12},
      {5, 0, "e", 14},
      // purchases pass over the export and the not-taxed-with-deduction rates
      {6, 4, "{DOWN}{ENTER}", 6},
      {6, 9, "{DOWN}{ENTER}", 12},
      {6, 12, "{UP}{ENTER}", 9},
      // the taxi rate is passed over in the main register
      {1, 11, "{DOWN}{ENTER}", 13},
      {1, 13, "{UP}{ENTER}", 11},
      {0, 7, "{ESC}", -1},
      {6, 1, "{ESC}", -1},
  };
  for (const Case& c : cases) {
    Keys(c.keys);
    int before = w4select(-1);
    EXPECT_EQ(wybierz_stawke_vat(NAZWY_STAWEK_VAT, c.start, -1, -1, c.kind), c.code)
        << c.kind << " " << c.start << " " << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.kind << " " << c.start << " " << c.keys;
    EXPECT_EQ(w4select(-1), before);
  }
}

TEST_F(ChoiceMenuTest, RateListTitleOfEachKindAndAllItemsShown) {
  struct Case {
    int kind;
    const char* title;
  } cases[] = {{0, "WYBIERZ"}, {1, "WYBIERZ"}, {5, "SPRZEDAŻ"}, {6, "ZAKUP"}};
  for (const Case& c : cases) {
    std::string screen = ScreenWhileWaiting([&] { wybierz_stawke_vat(NAZWY_STAWEK_VAT, 1, -1, -1, c.kind); });
    EXPECT_NE(screen.find(c.title), std::string::npos) << c.kind << "\n" << screen;
    for (const char* item : {"1. PODSTAWOWA", "5. ZEROWA-Eksport", "b. EKSPORT USŁUG UE", "c. RYCZAŁT TAXI",
                             "e. ZEROWA (marża)"})
      EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
    w4close(w4select(-1));
  }
}

TEST_F(ChoiceMenuTest, CentredOnTheScreenOrPlacedAtTheRowAndColumn) {
  struct Case {
    int rows, cols;
    bool expenses;
    int row, col;
    const char* firstItem;
    int itemRow, itemCol;   // the frame lies one row and two columns before
  } cases[] = {
      {30, 80, false, -1, -1, "1. PODSTAWOWA", 4, 31},
      {30, 80, true, -1, -1, "1. ZAKUP HANDL.", 6, 33},
      {40, 100, false, -1, -1, "1. PODSTAWOWA", 9, 41},
      {40, 100, true, -1, 0, "1. ZAKUP HANDL.", 11, 43},
      {30, 80, false, 10, 5, "1. PODSTAWOWA", 11, 7},
      {30, 80, true, 2, 40, "1. ZAKUP HANDL.", 3, 42},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rows << "x" << c.cols << " " << c.firstItem << " " << c.row);
    if (Desktop.rows != c.rows || Desktop.cols != c.cols) Grid(c.rows, c.cols);
    ScreenWhileWaiting([&] {
      if (c.expenses)
        wybierz_kolumne_kosztow(0, c.row, c.col);
      else
        wybierz_stawke_vat(NAZWY_STAWEK_VAT, 0, c.row, c.col, 0);
    });
    EXPECT_EQ(Where(c.firstItem), std::make_pair(c.itemRow, c.itemCol));
    w4close(w4select(-1));
  }
}

TEST_F(ChoiceMenuTest, ExpenseColumnOfTheWorkingYear) {
  struct Case {
    int year;
    int start;
    const char* keys;
    int column;
  } cases[] = {
      {2006, 2, "{DOWN}{ENTER}", 3},
      {2006, 0, "3", 3},
      {2006, 8, "{F2}", 8},
      // advertising is no column of its own after 2006
      {2007, 2, "{DOWN}{ENTER}", 4},
      {2007, 4, "{UP}{ENTER}", 2},
      {2026, 0, "{END}{ENTER}", 8},
      {2026, 5, "{ESC}", -1},
  };
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    Keys(c.keys);
    EXPECT_EQ(wybierz_kolumne_kosztow(c.start, -1, -1), c.column) << c.year << " " << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.year << " " << c.keys;
  }
  env->settlementYear = 2007;
  std::string screen = ScreenWhileWaiting([] { wybierz_kolumne_kosztow(1, -1, -1); });
  for (const char* item : {"WYBIERZ", "1. ZAKUP HANDL.", "3. KOSZT REKLAMY", "8. INNE 20%"})
    EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
}

}  // namespace
