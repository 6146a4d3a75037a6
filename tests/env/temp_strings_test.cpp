#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/temp_strings.h"
#include "tests/env/environment_fixture.h"

namespace {

class TempStringsTest : public EnvironmentTest {
 protected:
  void SetUp() override {
    EnvironmentTest::SetUp();
    env = Create();
    ring = &env->temporaryStrings;
  }
  bool Logged(const std::string& name) const {
    for (const std::string& text : Critical())
      if (text.find(name) != std::string::npos) return true;
    return false;
  }
  Environment* env = nullptr;
  CycleBuffer* ring = nullptr;
};

TEST_F(TempStringsTest, QuickStrFlags) {
  const char* text = "  AB  \r\n";
  struct Case {
    int flags;
    const char* expected;
  };
  for (const Case& c : {Case{QS_RTRIM | QS_CRLF, "  AB"}, Case{QS_RTRIM | QS_LTRIM | QS_CRLF, "AB"},
                        Case{QS_RTRIM, "  AB  \r\n"}, Case{QS_CRLF, "  AB  "}, Case{QS_LTRIM, "AB  \r\n"},
                        Case{0, "  AB  \r\n"}}) {
    EXPECT_STREQ(QuickStr(text, -1, c.flags), c.expected) << c.flags;
  }
  EXPECT_STREQ(QuickStr("abcdef", 3, 0), "abc");
  EXPECT_STREQ(QuickStr("ab\0cd", 5, 0), "ab");
  std::string polish = Utf8ToMazText("Zażółć gęślą");
  EXPECT_EQ(std::string(QuickStr(polish.c_str(), -1, QS_UPPER | QS_LOWER)), Utf8ToMazText("ZAŻÓŁĆ GĘŚLĄ"));
  EXPECT_EQ(std::string(QuickStr(polish.c_str(), -1, QS_LOWER)), Utf8ToMazText("zażółć gęślą"));
}

TEST_F(TempStringsTest, NumbersAsText) {
  struct LongCase {
    long n;
    int flags;
    const char* expected;
  };
  for (const LongCase& c : {LongCase{42, 5 | 0x10, "00042"}, LongCase{42, 5, "   42"}, LongCase{42, 0, "42"},
                            LongCase{-42, 5, "  -42"}, LongCase{-42, 5 | 0x10, "-0042"},
                            LongCase{123456, 3, "***"}, LongCase{-7, 0, "-7"}}) {
    EXPECT_STREQ(LongQStr(c.n, c.flags), c.expected) << c.n << " " << c.flags;
  }
  struct DoubleCase {
    double x;
    int width, flags;
    const char* expected;
  };
  for (const DoubleCase& c : {DoubleCase{2.5, 0, 2 | 0x20, "2.5"}, DoubleCase{2.5, 0, 2 | 0x20 | 0x40, "2.50"},
                              DoubleCase{2.5, 0, 2 | 0x10, "2,50"}, DoubleCase{3.0, 0, 2 | 0x20, "3"},
                              DoubleCase{-0.0, 0, 2, "0.00"}, DoubleCase{1e-17, 0, 2, "0.00"},
                              DoubleCase{1234.5, 8, 1, "  1234.5"}, DoubleCase{12.125, 6, 3 | 0x20 | 0x40, "12.125"},
                              DoubleCase{-1.5, 0, 0, "-2"}}) {
    EXPECT_STREQ(DoubleQStr(c.x, c.width, c.flags), c.expected) << c.x << " " << c.flags;
  }
}

TEST_F(TempStringsTest, PrintfTrimAndSerial) {
  EXPECT_STREQ(PrintfQStr("%s-%d", "x", 5), "x-5");
  EXPECT_STREQ(PrintfQStr(TextRef(12345), 1, 2), "?12345");
  EXPECT_STREQ(PrintfQStr("?%d", 7), "?7");   // only a message number's miss text is left unformatted
  std::string longArg(400, 'a');
  EXPECT_EQ(std::strlen(PrintfQStr("%s", longArg.c_str())), 249u);

  EXPECT_STREQ(TrimStringsToQStr_("A  ", "", "B", 0), "A B");
  EXPECT_STREQ(TrimStringsToQStr_("  A", "   ", "B  "), "  A B");
  std::string message = EnvMessageText(50011);
  message.erase(message.find_last_not_of(' ') + 1);
  EXPECT_EQ(std::string(TrimStringsToQStr_("x", 50011)), "x " + message);

  EXPECT_STREQ(SerialQStr_("ab", -1, '-', 3, "xyz", 2, 0), "ab---xy");
  EXPECT_STREQ(SerialQStr_("a\0b", 3, '*', 0), "a");
}

TEST_F(TempStringsTest, StringsFollowEachOtherAndWrapToTheStart) {
  char* first = QuickStr("one", -1, 0);
  char* second = QuickStr("two", -1, 0);
  if (second != ring->base) {
    EXPECT_EQ(second, first + 4);
  }
  EXPECT_TRUE(IsCycleBufferPtr(first));
  char local[4];
  EXPECT_FALSE(IsCycleBufferPtr(local));

  std::string chunk(3000, 'x');
  for (int i = 0; i < 5; ++i) {
    char* s = QuickStr(chunk.c_str(), -1, 0);
    ASSERT_GE(s, ring->base);
    ASSERT_LE(s + 3001, ring->base + CYCLE_BUFFER_SIZE);
    EXPECT_EQ(std::string(s), chunk);
    EXPECT_EQ(ring->cur, s + 3001);
    EXPECT_EQ(ring->left, ring->base + CYCLE_BUFFER_SIZE - ring->cur);
  }
}

TEST_F(TempStringsTest, AWrapAfterFewerThanTwoStringsIsLogged) {
  std::string chunk(6000, 'x');
  QuickStr(chunk.c_str(), -1, 0);
  QuickStr(chunk.c_str(), -1, 0);   // wraps
  screen->shown.clear();
  char* third = QuickStr(chunk.c_str(), -1, 0);   // wraps after one string
  EXPECT_EQ(third, ring->base);
  EXPECT_TRUE(Logged("ERRCODE(34)"));
  EXPECT_FALSE(Logged("ERRCODE(35)"));
}

TEST_F(TempStringsTest, TextsLongerThanTheRingAreCutInsideIt) {
  std::string huge(20000, 'y');
  screen->shown.clear();
  for (int flags : {0, static_cast<int>(QS_RTRIM)}) {
    char* s = QuickStr(huge.c_str(), -1, flags);
    EXPECT_EQ(s, ring->base);
    EXPECT_EQ(std::strlen(s), static_cast<size_t>(CYCLE_BUFFER_SIZE - 1));
  }
  EXPECT_TRUE(Logged("ERRCODE(35)"));
  EXPECT_EQ(std::strlen(TrimStringsToQStr_(huge.c_str(), huge.c_str())), static_cast<size_t>(CYCLE_BUFFER_SIZE - 1));
  EXPECT_EQ(std::strlen(SerialQStr_('z', 10000, 0)), static_cast<size_t>(CYCLE_BUFFER_SIZE - 1));
  // The ring is a guarded block: nothing was written past it.
  u4check_all();
}

TEST_F(TempStringsTest, ABuilderThatRunsOutOfRoomMovesToTheStart) {
  std::string filler(CYCLE_BUFFER_SIZE, 'f');
  QuickStr("a", -1, 0);
  QuickStr(filler.substr(0, ring->left - 150).c_str(), -1, 0);
  ASSERT_LT(ring->left, 200);
  std::string word(60, 'w');
  char* joined = TrimStringsToQStr_(word.c_str(), word.c_str(), word.c_str());
  EXPECT_EQ(joined, ring->base);
  EXPECT_EQ(std::string(joined), word + " " + word + " " + word);
  u4check_all();
}

TEST_F(TempStringsTest, ACommitLongerThanWhatIsLeftIsCutAndLogged) {
  GetCycleBuffer(10);
  int left = ring->left;
  std::memset(ring->cur, 'q', left);
  screen->shown.clear();
  char* s = CommitCycleBuffer(left + 50, 99);
  EXPECT_EQ(std::strlen(s), static_cast<size_t>(left - 1));
  EXPECT_EQ(ring->left, 0);
  EXPECT_TRUE(Logged("ERRCODE(36)"));
  EXPECT_EQ(CycleBufferLastLength(), left - 1);
  // The next string wraps to the start.
  EXPECT_EQ(QuickStr("next", -1, 0), ring->base);
}

}  // namespace
