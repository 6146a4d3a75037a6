// The special-character picker, alone and from a get.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/ui_fixture.h"
#include "ui/get4.h"
#include "ui/special_char.h"

namespace {

class PickerTest : public UiTest {
 protected:
  int Pick(const char* script) {
    EXPECT_EQ(HeadlessSetScript(script), 0);
    int c = PickSpecialChar();
    EXPECT_EQ(HeadlessKeysLeft(), 0) << script;
    return c;
  }
};

TEST_F(PickerTest, MovesOverTheSelectableCells) {
  struct Case {
    const char* keys;
    int result;
  } cases[] = {
      {"{ENTER}", 128},                                              // Ä, the first selectable cell
      {"{RIGHT}{RIGHT}{ENTER}", 132},                                // ẞ: the blanks between are passed over
      {"{LEFT}{ENTER}", 128},
      {"{DOWN}{ENTER}", 129},                                        // ä
      {"{END}{ENTER}", 211},                                         // Ü
      {"{CTRL+END}{ENTER}", 142},                                    // § on the lowest row
      {"{CTRL+END}{CTRL+HOME}{ENTER}", 128},
      {"{DOWN}{DOWN}{END}{DOWN}{DOWN}{ENTER}", 213},                 // Ž, ž, then the Slovak Ú below them
      {"{DOWN}{DOWN}{DOWN}{DOWN}{END}{UP}{DOWN}{ENTER}", 222},       // no letter above the Slovak Ž
      {"{RIGHT}{ESC}", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Pick(c.keys), c.result) << c.keys;
}

std::vector<std::string> seenRows;
std::vector<int> seenAttrs;

TEST_F(PickerTest, DrawsTheGridAndPutsTheScreenBack) {
  std::string before = Row(14);
  g4set_key_to(KEY_F9, [](int32_t, int32_t) {
    seenRows.clear();
    seenAttrs.clear();
    for (int r = 9; r < 20; r++) {
      std::string line;
      for (int c = 0; c < Desktop.cols; c++) line += static_cast<char>(Desktop.cells[r * Desktop.cols + c] & 0xFF);
      seenRows.push_back(line);
    }
    int row = 10, col = (Desktop.cols - 46) / 2 + 1;
    for (int c : {11, 12, 13}) seenAttrs.push_back(Desktop.cells[row * Desktop.cols + col + c] >> 8);
    seenAttrs.push_back(Desktop.cells[(row + 8) * Desktop.cols + col] >> 8);
    return 0;
  });
  EXPECT_EQ(Pick("{F9}{ESC}"), 0);
  g4set_key_to(KEY_F9, nullptr);
  ASSERT_EQ(seenRows.size(), 11u);
  EXPECT_NE(seenRows[0].find("Wybierz"), std::string::npos) << seenRows[0];
  EXPECT_EQ(seenRows[1].substr(18, 20), Sys("niemieckie Ä Ö ẞ Ü  "));
  EXPECT_EQ(seenRows[9].substr(18, 24), Sys("specjalne  § © ® ° ½ ¼ ¾"));
  EXPECT_EQ(seenAttrs, (std::vector<int>{112, 14, 15, 14}));
  EXPECT_EQ(Row(14), before);
}

TEST_F(PickerTest, GetTakesThePickedCharacterAtTheCursor) {
  char buffer[4] = "abc";
  w4activate(w4define(2, 2, 5, 40));
  g4(0, 0, buffer);
  HeadlessSetScript("{RIGHT}{CTRL+SHIFT+UP}{DOWN}{ENTER}{ENTER}");
  EXPECT_EQ(g4read(), KEY_ENTER);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(std::string(buffer), std::string("a\x81" "c"));
}

}  // namespace
