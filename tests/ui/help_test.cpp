// The help key: topics from ZELM.HLP through ZELM.IND, pages, links and the
// way back, the failures, and the help files the build generates.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>
#include "platform/program_dir.h"
#include "tests/ui/ui_fixture.h"
#include "ui/get4.h"
#include "ui/help.h"
#include "ui/menu.h"

namespace {

struct TopicSource {
  int number;
  std::vector<std::string> lines;   // system's character set, markers in place
  int lineCount = -1;               // -1: the number of lines
  int offset = -1;                  // -1: where the text lands
};

std::string Numbered(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "Wiersz %02d", i);
  return text;
}

std::vector<std::string> Lines(int n) {
  std::vector<std::string> lines;
  for (int i = 0; i < n; i++) lines.push_back(Numbered(i));
  return lines;
}

// A link to `target` showing `text`: marker, one hidden character, the digits, the text, end marker.
std::string Link(int target, const char* text) {
  std::string digits = std::to_string(target);
  return "\xF3" "0 " + std::string(1, static_cast<char>('0' + digits.size())) + digits + text + "\xF2";
}

class HelpTest : public UiTest {
 protected:
  int context = -1;

  void SetUp() override {
    UiTest::SetUp();
    open_envr_win();
    context = w4define(1, 1, 3, 20);
    w4activate(context);
  }

  void TearDown() override {
    close_envr_win();
    UiTest::TearDown();
  }

  static void PutU16(std::string* out, unsigned v) {
    out->push_back(static_cast<char>(v & 0xFF));
    out->push_back(static_cast<char>(v >> 8));
  }
  static void PutU32(std::string* out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
  }

  // Writes the help files into the program directory; returns the index bytes.
  std::string WriteHelp(const std::vector<TopicSource>& topics, bool writeText = true) {
    std::string text, index;
    PutU32(&index, static_cast<uint32_t>(topics.size()));
    PutU16(&index, 10);
    PutU32(&index, 0);
    for (const TopicSource& t : topics) {
      std::string body;
      for (const std::string& l : t.lines) body += l + "\r\n";
      PutU32(&index, static_cast<uint32_t>(t.offset >= 0 ? t.offset : static_cast<int>(text.size())));
      PutU16(&index, static_cast<unsigned>(body.size()));
      PutU16(&index, static_cast<unsigned>(t.lineCount >= 0 ? t.lineCount : static_cast<int>(t.lines.size())));
      PutU16(&index, static_cast<unsigned>(t.number));
      text += body;
    }
    if (writeText) WriteFile(PlatProgramDir() + "ZELM.HLP", text);
    WriteFile(PlatProgramDir() + "ZELM.IND", index);
    return index;
  }

  void Topic(int topic) { w4record(context)->helpTopic = topic; }

  // Runs the help key with the keys; true when they ran out while it waited
  // (the screen is left as it was then, until the next run).
  bool Help(const char* keys) {
    while (Desktop.topWindow >= 0 && Desktop.topWindow != context) w4close(Desktop.topWindow);
    w4select(context);
    HeadlessSetScript(keys);
    try {
      help_key(0x23, 0);
    } catch (const ScriptEnded&) {
      return true;
    }
    return false;
  }

  static bool ScreenHas(const char* utf8) {
    for (int r = 0; r < Desktop.rows; r++)
      if (Row(r).find(utf8) != std::string::npos) return true;
    return false;
  }
};

// ---- pages

struct PageCase {
  int lines;
  const char* keys;
  int firstShown;
  const char* hint;   // the page hint's key text, NULL none
};

class HelpPageTest : public HelpTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(HelpPageTest, ShowsTheTopicFromTheRightLine) {
  const PageCase& c = GetParam();
  WriteHelp({{7, Lines(c.lines)}});
  Topic(7);
  ASSERT_TRUE(Help(c.keys));
  int height = std::min(c.lines + 1, 20);
  int top = (30 - height) / 2;
  EXPECT_NE(Row(top).find("POMOC"), std::string::npos);
  EXPECT_EQ(Attr(top + 1, 2), 0x5F);
  for (int r = 0; r < height - 1; r++) {
    int line = c.firstShown + r;
    EXPECT_EQ(Cells(top + 1 + r, 2, 9), line < c.lines ? Numbered(line) : std::string(9, ' ')) << "row " << r;
  }
  EXPECT_EQ(Char(top + height, 2), 0xCA) << "bottom frame";
  std::string hints = Row(29);
  if (c.hint)
    EXPECT_NE(hints.find(std::string("[") + c.hint + "]-Zmiana stron"), std::string::npos) << hints;
  else
    EXPECT_EQ(hints.find("Zmiana stron"), std::string::npos) << hints;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HelpPageTest,
    ::testing::Values(PageCase{5, "", 0, nullptr}, PageCase{5, "{PGDN}", 0, nullptr},
                      PageCase{19, "{PGDN}", 0, nullptr}, PageCase{50, "", 0, "PgDn"},
                      PageCase{50, "{PGDN}", 19, "PgUp,PgDn"}, PageCase{50, "{PGDN}{PGDN}", 38, "PgUp"},
                      PageCase{50, "{PGDN}{PGDN}{PGDN}", 38, "PgUp"},   // line 57 does not exist
                      PageCase{50, "{PGDN}{PGUP}", 0, "PgDn"}, PageCase{50, "{PGUP}", 0, "PgDn"},
                      PageCase{20, "{PGDN}", 19, "PgUp"}));

// ---- links and the way back

class HelpLinkTest : public HelpTest {
 protected:
  void SetUp() override {
    HelpTest::SetUp();
    std::vector<std::string> first = Lines(30);
    first[0] = "Wie\xF5Qrsz\xF4" "2ab 00";   // hidden characters
    first[25] = "Zobacz " + Link(2, "Drugi") + " oraz " + Link(3, "Trzeci") + " koniec";
    WriteHelp({{1, first}, {2, {"Strona druga"}}, {3, {"Strona trzecia"}}});
    Topic(1);
  }
};

TEST_F(HelpLinkTest, MarkersAreHiddenAndLinksDrawn) {
  ASSERT_TRUE(Help(""));
  EXPECT_EQ(Cells(6, 2, 10), "Wiersz 00 ");
  ASSERT_TRUE(Help("{PGDN}"));
  // Line 25 is row 6 of the second page.
  EXPECT_EQ(Cells(12, 2, 32), "Zobacz Drugi oraz Trzeci koniec ");
  EXPECT_EQ(Attr(12, 2), 0x5F);
  EXPECT_EQ(Attr(12, 9), 0x75);    // the current link
  EXPECT_EQ(Attr(12, 13), 0x75);
  EXPECT_EQ(Attr(12, 14), 0x5F);
  EXPECT_EQ(Attr(12, 20), 0x57);   // another link
}

TEST_F(HelpLinkTest, EnterFollowsTheCurrentLinkAndEscGoesBack) {
  ASSERT_TRUE(Help("{PGDN}{DOWN}{ENTER}"));
  EXPECT_EQ(Cells(15, 2, 14), "Strona trzecia");
  EXPECT_FALSE(ScreenHas("Wiersz"));

  // Back on the first topic at the page the operator left it.
  ASSERT_TRUE(Help("{PGDN}{DOWN}{ENTER}{ESC}"));
  EXPECT_EQ(Cells(6, 2, 9), "Wiersz 19");
  EXPECT_EQ(Attr(12, 9), 0x75);
  EXPECT_FALSE(ScreenHas("Strona"));
}

TEST_F(HelpLinkTest, EscOnTheFirstTopicOrCtrlQEndTheHelp) {
  for (const char* keys : {"{PGDN}{ENTER}{ESC}{ESC}", "{PGDN}{ENTER}{CTRL+Q}", "{ALT+Q}"}) {
    SCOPED_TRACE(keys);
    EXPECT_FALSE(Help(keys));
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_FALSE(ScreenHas("POMOC"));
    EXPECT_EQ(Desktop.curHandle, context);
  }
}

TEST_F(HelpLinkTest, UpAndDownStayAtTheEnds) {
  ASSERT_TRUE(Help("{PGDN}{UP}{ENTER}"));
  EXPECT_EQ(Cells(15, 2, 12), "Strona druga");
  ASSERT_TRUE(Help("{PGDN}{DOWN}{DOWN}{DOWN}{ENTER}"));
  EXPECT_EQ(Cells(15, 2, 14), "Strona trzecia");
}

TEST_F(HelpLinkTest, EnterOnAPageWithoutLinksEndsTheHelp) {
  EXPECT_FALSE(Help("{ENTER}"));
  EXPECT_FALSE(ScreenHas("POMOC"));
}

// ---- where the topic comes from

TEST_F(HelpTest, TopicOfTheGetThenTheMenuItemThenTheWindow) {
  WriteHelp({{1, {"Opis pola"}}, {2, {"Opis pozycji menu"}}, {3, {"Opis okna"}}});
  struct Case {
    int get, item, window;
    const char* shown;   // NULL: no help
  } cases[] = {
      {1, 2, 3, "Opis pola"}, {0, 2, 3, "Opis pozycji menu"}, {0, 0, 3, "Opis okna"}, {0, 0, 0, nullptr},
  };
  char buffer[8] = "abc";
  Get4* get = g4(0, 0, buffer);
  ASSERT_NE(get, nullptr);
  Desktop.curGet = w4record(context)->lastGet;
  int item = n4item(1, 0, "Pozycja");
  ASSERT_GE(item, 0);
  env->helpContext = item;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown ? c.shown : "none");
    get->helpNumber = c.get;
    n4record(item)->rightsNumber = c.item;
    Topic(c.window);
    if (c.shown) {
      ASSERT_TRUE(Help(""));
      EXPECT_TRUE(ScreenHas(c.shown));
      ASSERT_FALSE(Help("{ESC}"));
    } else {
      EXPECT_FALSE(Help(""));
    }
  }
}

TEST_F(HelpTest, TheHelpKeyOpensTheHelp) {
  WriteHelp({{4, {"Opis okna"}}});
  Topic(4);
  g4set_key_to(0x2300, help_key);
  HeadlessSetScript("{ALT+H}{ESC}q");
  EXPECT_EQ(g4char(), 'q');
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

// ---- failures

TEST_F(HelpTest, MissingTopicIsReported) {
  WriteHelp({{1, {"Jeden"}}});
  Topic(9);
  ASSERT_TRUE(Help(""));
  EXPECT_TRUE(ScreenHas("Brak opcji pomocy."));
  EXPECT_FALSE(Help("x"));   // the box's key ends the help
  EXPECT_FALSE(ScreenHas("POMOC"));
}

TEST_F(HelpTest, IndexOfTheWrongLengthIsReported) {
  std::string index = WriteHelp({{1, {"Jeden"}}});
  Topic(1);
  for (std::string bad : {index + "x", index.substr(0, 15), std::string("\x01\0\0\0\x0C\0\0\0\0\0" "0123456789ABCD", 24)}) {
    WriteFile(PlatProgramDir() + "ZELM.IND", bad);
    ASSERT_TRUE(Help(""));
    EXPECT_TRUE(ScreenHas("Błąd struktury zbioru ZELM.IND"));
    EXPECT_FALSE(Help("x"));
  }
}

TEST_F(HelpTest, MissingHelpTextIsReported) {
  WriteHelp({{1, {"Jeden"}}}, false);
  Topic(1);
  ASSERT_TRUE(Help(""));
  EXPECT_TRUE(ScreenHas("Brak zbioru ZELM.HLP lub ZELM.IND"));
  EXPECT_FALSE(Help("x"));
}

TEST_F(HelpTest, EmptyIndexEndsTheHelpSilently) {
  Topic(1);
  WriteFile(PlatProgramDir() + "ZELM.IND", "");
  EXPECT_FALSE(Help(""));
}

TEST_F(HelpTest, UnreadableLinkedTopicGoesBackAPage) {
  WriteHelp({{1, {"Zobacz " + Link(2, "dalej")}}, {2, {"Nieosiągalny"}, -1, 5000}});
  Topic(1);
  ASSERT_TRUE(Help("{ENTER}"));
  EXPECT_EQ(Cells(15, 2, 13), "Zobacz dalej ");
}

TEST_F(HelpTest, FewerLineEndsThanTheLineCount) {
  WriteHelp({{1, {"jeden", "dwa"}, 5}});
  Topic(1);
  ASSERT_TRUE(Help(""));
  // Two lines: the window is three rows high, frame included.
  int top = (30 - 3) / 2;
  EXPECT_EQ(Cells(top + 1, 2, 5), "jeden");
  EXPECT_EQ(Cells(top + 2, 2, 3), "dwa");
  EXPECT_EQ(Char(top + 3, 2), 0xCA);   // the bottom edge of the frame
}

// ---- the generated help files

TEST_F(HelpTest, GeneratedHelpFilesAreReadBack) {
  std::string indexPath = PlatFindProgramFile("ZELM.IND");
  ASSERT_EQ(indexPath, PlatExecutableDir() + "ZELM.IND");
  std::string index = ReadFile(indexPath);
  std::set<int> topics;
  for (size_t at = 10; at + 10 <= index.size(); at += 10)
    topics.insert(static_cast<unsigned char>(index[at + 8]) | static_cast<unsigned char>(index[at + 9]) << 8);
  for (int t = HELP_TOPIC_HELP; t <= HELP_TOPIC_DIRECTORY; t++) EXPECT_TRUE(topics.count(t)) << t;

  Topic(HELP_TOPIC_HELP);
  ASSERT_TRUE(Help(""));
  EXPECT_TRUE(ScreenHas("Okno POMOC pokazuje opis miejsca"));
  ASSERT_TRUE(Help("{ENTER}"));   // the first link leads to the calculator
  EXPECT_TRUE(ScreenHas("Kalkulator liczy"));
  EXPECT_TRUE(ScreenHas("[F8]"));
}

}  // namespace
