#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/messages.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "tests/env/environment_fixture.h"

namespace {

class TextBuffersTest : public EnvironmentTest {
 protected:
  void SetUp() override {
    EnvironmentTest::SetUp();
    env = Create();
  }
  Environment* env = nullptr;
};

TEST_F(TextBuffersTest, CopiesStayWithinTheirSize) {
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_STREQ(StrCopy(buffer, 4, "abcdef"), "abc");
  EXPECT_EQ(buffer[4], '#');
  StrCopy(buffer, 0, "x");
  EXPECT_STREQ(buffer, "abc");
  StrCopy(buffer, 8, TextRef());
  EXPECT_STREQ(buffer, "");
  StrCopy(buffer, 4, 50011);   // a message number, cut at the size
  EXPECT_EQ(std::string(buffer), std::string(EnvMessageText(50011)).substr(0, 3));

  std::memset(buffer, '#', sizeof buffer);
  BufCopy(buffer, 5, "ab");
  EXPECT_EQ(std::string(buffer, 6), "ab   #");
  BufCopy(buffer, 5, "abcdefgh");
  EXPECT_EQ(std::string(buffer, 6), "abcde#");
  BufCopy(buffer, 5, nullptr);
  EXPECT_EQ(std::string(buffer, 6), "     #");
  BufCopyEx(buffer, 5, "abcdefgh", 2);
  EXPECT_EQ(std::string(buffer, 6), "ab   #");
  BufCopyEx(buffer, 5, "abcdefgh", 9);
  EXPECT_EQ(std::string(buffer, 6), "abcde#");

  EXPECT_EQ(std::string(FormBuf(buffer, 4)), "   ");
  char copy[8] = "zzzzzzz";
  EXPECT_EQ(CharCopy(copy, "abc", -1), 3);
  EXPECT_STREQ(copy, "abczzzz");
  EXPECT_EQ(CharCopy(copy, "x\0y", 3), 3);
  EXPECT_EQ(copy[2], 'y');
  char memory[6] = "-----";
  ToMemCopyMaxString(memory, "ab");
  EXPECT_STREQ(memory, "ab---");
}

TEST_F(TextBuffersTest, TrimsAndAlignment) {
  char right[8] = "ab  ";
  EXPECT_STREQ(BufAlignRight(right, 4), "  ab");
  char field[6] = {'x', 'y', ' ', ' ', ' ', '#'};
  BufAlignRight(field, 5);
  EXPECT_EQ(std::string(field, 6), "   xy#");
  char limited[] = "abcdef";
  EXPECT_STREQ(LimitStr(limited, 3), "abc");
  EXPECT_STREQ(LimitStr(limited, 10), "abc");

  int length = 6;
  EXPECT_STREQ(LTrimPtr("   abc", &length), "abc");
  EXPECT_EQ(length, 3);
  EXPECT_STREQ(LTrimPtr("  x", nullptr), "x");
  length = 2;
  EXPECT_STREQ(LTrimPtr("    x", &length), "  x");
  EXPECT_EQ(length, 0);

  EXPECT_EQ(RTrimLength("ab   ", 5), 2);
  EXPECT_EQ(RTrimLength("ab c ", 3), 2);
  EXPECT_EQ(RTrimLength("a\0   ", 5), 1);
  EXPECT_EQ(BufferIsEmpty("   x", 3), 1);
  EXPECT_EQ(BufferIsEmpty("   x", 4), 0);
  EXPECT_EQ(EqualText("ab  ", "ab", QS_RTRIM), 1);
  EXPECT_EQ(EqualText("ab  ", "AB", QS_RTRIM | QS_UPPER), 1);
  EXPECT_EQ(EqualText("ab  ", "ab", 0), 0);
}

TEST_F(TextBuffersTest, ChoiceLists) {
  const char* const list[] = {"0 brak", "1 jeden", "2 dwa", nullptr};
  EXPECT_STREQ(KodAsPopupMenuString(2, list), "dwa");
  EXPECT_STREQ(KodAsPopupMenuString(3, list), "brak");
  EXPECT_STREQ(KodAsPopupMenuString(-1, list), "brak");
  const char* const shortEntry[] = {"x", nullptr};
  EXPECT_STREQ(KodAsPopupMenuString(0, shortEntry), "");
  char buffer[5];
  std::memset(buffer, '#', sizeof buffer);
  InitBufferByKodPopupMenu(buffer, 4, 1, list);
  EXPECT_EQ(std::string(buffer, 5), std::string("jed\0#", 5));
}

TEST_F(TextBuffersTest, KeySwitches) {
  EXPECT_STREQ(CaseStr_(2, 1, "one", 2, "two", 0), "two");
  EXPECT_STREQ(CaseStr_(0x10002, 1, "one", 2, "two", 0), "two");   // low 16 bits compared
  EXPECT_STREQ(CaseStr_(3, 1, "one", 2, "two", 0), "");
  EXPECT_STREQ(CaseStr_(3, 1, "one", CASE_DEFAULT, "other", 2, "two", 0), "other");
  EXPECT_EQ(std::string(CaseStr_(5, 5, 50011, 0)), std::string(EnvMessageText(50011)));
  EXPECT_EQ(CasePtr_(2, 1, 10, 2, 20, 0), 20);
  EXPECT_EQ(CasePtr_(9, 1, 10, 2, 20, 0), 0);
  EXPECT_EQ(CasePtr_(9, 1, 10, CASE_DEFAULT, 99, 0), 99);
  const char* none = CasePtr_(9, 1, static_cast<const char*>("a"), 0);
  EXPECT_EQ(none, nullptr);
}

TEST_F(TextBuffersTest, NumbersLaidOutForPrinting) {
  struct Case {
    double x;
    int width, flags;
    const char* expected;
  };
  for (const Case& c : {Case{1234567.891, 12, 2, "  1 234 567.89"}, Case{1234567.891, 12, 2 | 0x40, "1 234 567.89"},
                        Case{1234567.891, 11, 2 | 0x40, " 1234567.89"}, Case{1234567.891, 12, 2 | 0x20, "  1234567.89"},
                        Case{12.5, 8, 2 | 0x20 | 0x80, "   12.5 "}, Case{12.0, 8, 2 | 0x20 | 0x80, "   12   "},
                        Case{12.5, 8, 3 | 0x20 | 0x80 | 0x100, "  12.50 "}, Case{0.0, 6, 2 | 0x20, "  0.00"},
                        Case{0.004, 6, 2 | 0x10, ""}, Case{-0.004, 6, 2 | 0x10, ""}, Case{0.4, 6, 0x10, ""},
                        Case{0.006, 6, 2 | 0x10 | 0x20, "  0.01"}}) {
    char memory[40];
    std::memset(memory, '#', sizeof memory);
    int n = MemPrintDoubleFmt(memory, c.x, c.width, c.flags);
    EXPECT_EQ(std::string(memory, n), c.expected) << c.x << " " << c.flags;
    EXPECT_EQ(memory[n], '#');
  }
  char memory[16];
  env->printZeroValues = 'N';
  EXPECT_EQ(MemPrintDoubleFmt(memory, 0.001, 6, 2 | 0x200), 0);
  env->printZeroValues = 'T';
  EXPECT_EQ(MemPrintDoubleFmt(memory, 0.001, 6, 2 | 0x200 | 0x20), 6);
  ToMemCopyDoubleFmt(memory, -1.5, 5, 1);
  EXPECT_EQ(std::string(memory, 5), " -1.5");
}

}  // namespace
