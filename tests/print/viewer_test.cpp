// The page viewer and editor on the headless screen.
#include <string>
#include "print/page_viewer.h"
#include "tests/ui/ui_fixture.h"
#include "ui/display.h"

namespace {

class ViewerTest : public UiTest {
 protected:
  std::string text = std::string(40 * 10, ' ');
  std::string bold = std::string(40 * 10, ' ');
  int Run(const char* keys, int pageNo, int pageCount, int edit = 1) {
    HeadlessSetScript(keys);
    return edytuj_memory(text.data(), bold.data(), 10, 40, "Strona", pageNo, pageCount, edit);
  }
};

TEST_F(ViewerTest, TypingBoldAndFrames) {
  EXPECT_EQ(Run("ab{F6}c{F6}{F7}789{ESC}", 1, 1), KEY_ESC);
  EXPECT_EQ(text.substr(0, 6), "ab \xDA\xC2\xBF");
  EXPECT_EQ(bold.substr(0, 6), "  c   ");
  // The bold letter stands on the screen in bright white, the frame drawn
  // left to right after it.
  EXPECT_EQ(Char(2, 3), 'c');
  EXPECT_EQ(Attr(2, 3), 15);
  EXPECT_EQ(Attr(2, 1), 7);
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
