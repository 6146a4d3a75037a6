// The VAT-rate menus, of the lines from 2024 and of the years before, chosen
// on the headless display.
#include <gtest/gtest.h>

#include <string>

#include "app/vat_services.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"
#include "ui/window4.h"

namespace {

class VatRateMenuTest : public UiTest {
 protected:
  void Keys(const char* script) { ASSERT_EQ(HeadlessSetScript(script), 0); }
  // The screen while the menu waits for a key.
  std::string OpenMenu(int current, int longMenu) {
    return Screen([&] { wybierz_kod_stawki_vat(current, longMenu); });
  }
  template <typename F>
  std::string Screen(F open) {
    Keys("");
    EXPECT_THROW(open(), ScriptEnded);
    std::string screen;
    for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
    return screen;
  }
};

TEST_F(VatRateMenuTest, ChosenRateGivesItsCode) {
  struct Case {
    int current;
    int longMenu;
    const char* keys;
    int code;
  } cases[] = {
      {1, 0, "{ENTER}", 1},
      {2, 0, "{ENTER}", 2},
      {8, 0, "{ENTER}", 8},
      {12, 0, "{ENTER}", 12},
      {4, 0, "{ENTER}", 4},
      {7, 0, "{ENTER}", 7},
      {6, 1, "{ENTER}", 6},
      // codes the menu does not list open on a near rate
      {9, 0, "{ENTER}", 3},
      {13, 0, "{ENTER}", 3},
      {14, 1, "{ENTER}", 3},
      {0, 0, "{ENTER}", 3},
      {10, 0, "{ENTER}", 7},
      {11, 0, "{ENTER}", 7},
      {6, 0, "{ENTER}", 1},   // the short menu has no "8. BEZ STAWKI"
      {4, 0, "{DOWN}{ENTER}", 7},
      {1, 1, "{UP}{ENTER}", 6},
      {1, 0, "3", 8},
      {1, 0, "4", 12},
      {1, 1, "8", 6},
      {5, 0, "{ESC}", -1},
      {6, 1, "{ESC}", -1},
  };
  for (const Case& c : cases) {
    Keys(c.keys);
    EXPECT_EQ(wybierz_kod_stawki_vat(c.current, c.longMenu), c.code) << c.current << " " << c.keys;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.current << " " << c.keys;
  }
}

// The menu left open when the script ends is checked once per test.
void ExpectMenuItems(const std::string& screen, bool longMenu) {
  const char* const shortItems[] = {"1. PODSTAWOWA", "2. OBNIŻONA 1", "3. OBNIŻONA 2", "4. RYCZAŁT TAXI",
                                    "5. ZEROWA",     "6. ZWOLNIONA",  "7. NIE PODLEGA"};
  EXPECT_NE(screen.find("Wybierz stawkę VAT"), std::string::npos) << screen;
  for (const char* item : shortItems) EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
  EXPECT_EQ(screen.find("8. BEZ STAWKI") != std::string::npos, longMenu) << screen;
}

TEST_F(VatRateMenuTest, ShortMenu) { ExpectMenuItems(OpenMenu(1, 0), false); }

TEST_F(VatRateMenuTest, LongMenu) { ExpectMenuItems(OpenMenu(6, 1), true); }

TEST_F(VatRateMenuTest, RateListChosenItemGivesItsCode) {
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

TEST_F(VatRateMenuTest, RateListTitleOfEachKindAndAllItemsShown) {
  struct Case {
    int kind;
    const char* title;
  } cases[] = {{0, "WYBIERZ"}, {1, "WYBIERZ"}, {5, "SPRZEDAŻ"}, {6, "ZAKUP"}};
  for (const Case& c : cases) {
    std::string screen = Screen([&] { wybierz_stawke_vat(NAZWY_STAWEK_VAT, 1, -1, -1, c.kind); });
    EXPECT_NE(screen.find(c.title), std::string::npos) << c.kind << "\n" << screen;
    for (const char* item : {"1. PODSTAWOWA", "5. ZEROWA-Eksport", "b. EKSPORT USŁUG UE", "c. RYCZAŁT TAXI",
                             "e. ZEROWA (marża)"})
      EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
    w4close(w4select(-1));
  }
}

}  // namespace
