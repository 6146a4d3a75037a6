// The VAT-rate menu of the years before 2024 over the 14 rate names.
#include <gtest/gtest.h>

#include <string>

#include "app/vat_services.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"
#include "ui/window4.h"

namespace {

class VatRateListMenuTest : public UiTest {
 protected:
  void Keys(const char* script) { ASSERT_EQ(HeadlessSetScript(script), 0); }
  std::string OpenMenu(int start, int kind) {
    Keys("");
    EXPECT_THROW(wybierz_stawke_vat(NAZWY_STAWEK_VAT, start, -1, -1, kind), ScriptEnded);
    std::string screen;
    for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
    return screen;
  }
};

TEST_F(VatRateListMenuTest, ChosenItemGivesItsCode) {
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

TEST_F(VatRateListMenuTest, TitleOfEachKindAndAllItemsShown) {
  struct Case {
    int kind;
    const char* title;
  } cases[] = {{0, "WYBIERZ"}, {1, "WYBIERZ"}, {5, "SPRZEDAŻ"}, {6, "ZAKUP"}};
  for (const Case& c : cases) {
    std::string screen = OpenMenu(1, c.kind);
    EXPECT_NE(screen.find(c.title), std::string::npos) << c.kind << "\n" << screen;
    for (const char* item : {"1. PODSTAWOWA", "5. ZEROWA-Eksport", "b. EKSPORT USŁUG UE", "c. RYCZAŁT TAXI",
                             "e. ZEROWA (marża)"})
      EXPECT_NE(screen.find(item), std::string::npos) << item << "\n" << screen;
    w4close(w4select(-1));
  }
}

}  // namespace
