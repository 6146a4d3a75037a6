// The page viewer and editor on the headless screen.
#include <string>
#include "print/page_viewer.h"
#include "tests/print/screen_shot.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"

namespace {

class ViewerTest : public UiTest {
 protected:
  std::string text = std::string(40 * 10, ' ');
  std::string bold = std::string(40 * 10, ' ');
  int Run(const char* keys, int pageNo, int pageCount, int edit = 1) {
    HeadlessSetScript(keys);
    g4set_key_to(KEY_F9, KeepShot);
    int key = edytuj_memory(text.data(), bold.data(), 10, 40, "Strona", pageNo, pageCount, edit);
    g4set_key_to(KEY_F9, nullptr);
    return key;
  }
};

TEST_F(ViewerTest, TypingBoldAndFrames) {
  const std::string under = Row(2);
  EXPECT_EQ(Run("ab{F6}c{F6}{F7}789{F9}{ESC}", 1, 1), KEY_ESC);
  EXPECT_EQ(text.substr(0, 6), "ab \xDA\xC2\xBF");
  EXPECT_EQ(bold.substr(0, 6), "  c   ");
  // The bold letter stands on the screen in bright white, the frame drawn
  // left to right after it, under the title in the double frame.
  EXPECT_EQ(ShotChar(2, 3), 'c');
  EXPECT_EQ(ShotAttr(2, 3), 15);
  EXPECT_EQ(ShotAttr(2, 1), 7);
  EXPECT_NE(ShotCells(1, 0, 42).find("Strona"), std::string::npos) << ShotCells(1, 0, 42);
  EXPECT_EQ(ShotCells(11, 0, 1), ShotCells(2, 0, 1)) << "the frame's left side";
  // Esc restores what the viewer covered.
  EXPECT_EQ(Row(2), under);
  // After the corner '9' the next move is down: the next piece lands below.
  EXPECT_EQ(Run("{F7}7889/{ESC}", 1, 1), KEY_ESC);
  EXPECT_EQ(text.substr(0, 4), "\xDA\xC2\xC2\xBF");
  EXPECT_EQ(text[40 + 3], '\xB3');
}

TEST_F(ViewerTest, PageKeysAtTheEnds) {
  struct Case {
    const char* keys;
    int pageNo, pageCount, key;
    char typed;   // what reached the page's first cell
  } cases[] = {
      {"{CTRL+PGUP}x{CTRL+PGDN}", 1, 3, KEY_CTRL_PGDN, 'x'},
      {"{CTRL+PGDN}y{CTRL+PGUP}", 3, 3, KEY_CTRL_PGUP, 'y'},
      {"{CTRL+PGUP}", 2, 3, KEY_CTRL_PGUP, ' '},
      {"z{F2}", 1, 1, KEY_F2, 'z'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    text.assign(text.size(), ' ');
    EXPECT_EQ(Run(c.keys, c.pageNo, c.pageCount), c.key);
    EXPECT_EQ(text[0], c.typed);
  }
}

TEST_F(ViewerTest, WithoutEditingNothingChanges) {
  EXPECT_EQ(Run("abc{F6}d{F2}", 1, 1, 0), KEY_F2);
  EXPECT_EQ(text, std::string(400, ' '));
  EXPECT_EQ(bold, std::string(400, ' '));
  EXPECT_EQ(edytuj_memory(text.data(), bold.data(), 0, 40, "x", 1, 1, 1), -1);
}

TEST_F(ViewerTest, CursorKeysAndWords) {
  text.replace(40, 12, "one two  thr");
  // Down, Ctrl+Right twice lands on "thr"; End and Home; Ctrl+Left back to "two".
  EXPECT_EQ(Run("{DOWN}{CTRL+RIGHT}{CTRL+RIGHT}X{END}E{HOME}H{CTRL+RIGHT}{CTRL+RIGHT}{CTRL+LEFT}W{ESC}", 1, 1),
            KEY_ESC);
  EXPECT_EQ(text.substr(40, 12), "Hne Wwo  Xhr");
  EXPECT_EQ(text[79], 'E');
}

}  // namespace
