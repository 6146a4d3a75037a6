// Option windows driven from the menus an operator uses, read on the grid:
// the cash-register options of the TANGO family keep their switches inside
// the frame, and Esc in the main options' font list closes that list only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/program_road.h"

namespace {

std::string Repeat(const char* key, int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += key;
  return keys;
}

// The grid's text rows of a dump.
std::vector<std::string> Rows(const std::string& dump) {
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

class OptionWindowsRoadTest : public ProgramRoadTest {
 protected:
  void SetUp() override {
    ProgramRoadTest::SetUp();
    if (HasFatalFailure()) return;
    RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  }
  Outcome Waiting(const std::string& keys) {
    Outcome o = Run(std::string(LOGO) + keys);
    EXPECT_EQ(o.exit, 3) << keys << ": the program should wait for a key\n" << o.screen;
    return o;
  }
};

// START > Magazyn > Opcje sets the register type TANGO; Magazyn > Towary >
// " Kasa " > " Opcje " then shows its page with every switch inside the frame
// once the cursor has passed it, and F2 keeps a switch turned.
TEST_F(OptionWindowsRoadTest, TangoSwitchesStayInsideTheFrame) {
  // Page 2 to the register type list (pick lists keep their entry on Enter), TANGO four down.
  RunToEnd(std::string(LOGO) + "s{ENTER}mo{PGDN}{DOWN}{ENTER}" + Repeat("{DOWN}", 7) + "{ENTER}{ENTER}{ENTER}" + Repeat("{DOWN}", 4) +
           "{ENTER}{F2}t" + Repeat("{ESC}", 6));
  // Past the six letters and the first two switches.
  const std::string options = "s{ENTER}mtko" + Repeat("{ENTER}", 8);
  Outcome o = Waiting(options);
  std::vector<std::string> rows = Rows(o.screen);
  ASSERT_EQ(rows.size(), 30u) << o.screen;
  // Every row of the window between its frame: no word ran over onto the next.
  for (int r = 3; r < 27; r++) {
    EXPECT_EQ(rows[r].rfind("╠", 0), 0u) << r << "\n" << o.screen;
    EXPECT_EQ(rows[r].substr(rows[r].size() - std::string("╣").size()), "╣") << r << "\n" << o.screen;
  }
  EXPECT_EQ(rows[13], "╠ Czy cena otwarta ? ...................................................... NIE╣") << o.screen;
  EXPECT_EQ(rows[14], "╠ Czy cena zaprogramowana ? ............................................... TAK╣") << o.screen;
  // Repeated sale turned on and saved; the window shows it when opened again.
  RunToEnd(std::string(LOGO) + options + "t{F2}t" + Repeat("{ESC}", 6));
  o = Waiting("s{ENTER}mtko");
  rows = Rows(o.screen);
  ASSERT_EQ(rows.size(), 30u) << o.screen;
  EXPECT_EQ(rows[17], "╠ Czy sprzedaż powtarzalna ? .............................................. TAK╣") << o.screen;
}

// Esc in the screen-font list closes it with the cursor on the font: the
// colour list above stays shut, Down goes on to the lock minutes and F2
// keeps what was typed there; a key on the closed list opens it again.
TEST_F(OptionWindowsRoadTest, EscLeavesTheFontList) {
  // From the working year to the colour list, chosen as it stands, then the font list.
  const std::string font = "o" + Repeat("{ENTER}", 8) + "{ENTER}";
  Outcome o = Waiting(font + "{ESC}");
  std::vector<std::string> rows = Rows(o.screen);
  ASSERT_EQ(rows.size(), 30u) << o.screen;
  EXPECT_EQ(rows[14], "╠Wariant kolorystyczny .................... kolorowy                           ╣") << o.screen;
  EXPECT_EQ(rows[15], "╠Rodzaj czcionki ekranowej ................ 8 x 16                             ╣") << o.screen;
  EXPECT_FALSE(Has(o, "szary")) << o.screen;
  EXPECT_FALSE(Has(o, "10 x 20")) << o.screen;
  EXPECT_TRUE(Has(Waiting(font + "{ESC} "), "10 x 20"));
  RunToEnd(std::string(LOGO) + font + "{ESC}{DOWN}7{F2}t{ESC}");
  o = Waiting("o");
  rows = Rows(o.screen);
  ASSERT_EQ(rows.size(), 30u) << o.screen;
  EXPECT_EQ(rows[14], "╠Wariant kolorystyczny .................... kolorowy                           ╣") << o.screen;
  EXPECT_EQ(rows[16], "╠Czas wygaszenia ekranu [min] .............   7                                ╣") << o.screen;
}

}  // namespace
