// The VAT-rate menu of the lines from 2024, chosen on the headless display.
#include <gtest/gtest.h>

#include <string>

#include "app/vat_services.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"
#include "ui/window4.h"

namespace {

class VatRateMenuTest : public UiTest {
 protected:
  // The screen while the menu waits for a key.
  std::string OpenMenu(int current, int longMenu) {
    return ScreenWhileWaiting([&] { wybierz_kod_stawki_vat(current, longMenu); });
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

}  // namespace
