// Record stamps, their scrambling and the rights table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "tests/ui/ui_fixture.h"
#include "ui/record_stamp.h"
#include "ui/rights.h"

namespace {

class StampTest : public EngineUiTest {
 protected:
  // A table whose first field is the stamp field of the given width, followed by a C 4 field "NXT".
  void MakeTable(int stampWidth) {
    const DbfFieldDef fields[] = {{"INF", 'C', stampWidth, 0}, {"NXT", 'C', 4, 0}, {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "STAMPS.DBF", fields, nullptr);
    ASSERT_NE(table, nullptr);
    d4blank(table);
    f4assign(d4field(table, "NXT"), "keep");
  }
  std::string Decoded() {
    DbField* field = d4field(table, "INF");
    std::string bytes(f4ptr(field), f4len(field));
    deconver_pass(bytes.data(), static_cast<int>(bytes.size() < 32 ? bytes.size() : 32), 1);
    return bytes;
  }
  std::string Next() { return std::string(f4ptr(d4field(table, "NXT")), 4); }

  FixedClock clock{2026, 12, 10, 9, 5, 7};
};

TEST(Scramble, RoundTripForEveryModeAndLength) {
  for (int mode : {0, 1, -1, 5, 127, -128}) {
    for (int n : {0, 1, 6, 7, 255, 256, 257, 600}) {
      std::vector<char> original(n);
      for (int i = 0; i < n; i++) original[i] = static_cast<char>((i * 37 + mode) & 0xFF);
      std::vector<char> buffer = original;
      conver_pass(buffer.data(), n, static_cast<signed char>(mode));
      if (n >= 6) {
        EXPECT_NE(buffer, original) << "mode " << mode << " n " << n;
      }
      deconver_pass(buffer.data(), n, static_cast<signed char>(mode));
      EXPECT_EQ(buffer, original) << "mode " << mode << " n " << n;
    }
  }
}

TEST(Scramble, KnownBytesAndPositionTakenModulo256) {
  // byte = (key[i % 6] ^ byte) + (i % 256) + 14 * mode, key "739205", 8-bit arithmetic.
  std::vector<unsigned char> buffer(262, 0);
  buffer[0] = 'D';
  conver_pass(reinterpret_cast<char*>(buffer.data()), 262, 1);
  EXPECT_EQ(buffer[0], (0x37 ^ 'D') + 14);          // '7'
  EXPECT_EQ(buffer[1], '3' + 1 + 14);
  EXPECT_EQ(buffer[5], '5' + 5 + 14);
  EXPECT_EQ(buffer[6], '7' + 6 + 14);               // the key starts again
  EXPECT_EQ(buffer[250], ('0' + 250 + 14) & 0xFF);  // 250 % 6 = 4; wraps round in 8 bits
  EXPECT_EQ(buffer[256], '0' + 0 + 14);             // 256 % 6 = 4, and 256 adds 0
  EXPECT_EQ(buffer[257], '5' + 1 + 14);

  unsigned char negative[2] = {0, 0};
  conver_pass(reinterpret_cast<char*>(negative), 2, -1);
  EXPECT_EQ(negative[0], '7' - 14);
  EXPECT_EQ(negative[1], '3' + 1 - 14);
}

TEST_F(StampTest, StampHoldsKindOperatorDateAndTimeScrambled) {
  MakeTable(32);
  std::strcpy(env->operatorName, "KOWALSKI");
  struct Case {
    int kind;
    char letter;
  } cases[] = {{0, 'D'}, {1, 'M'}, {2, 'D'}, {-1, 'D'}};
  for (const Case& c : cases) {
    set_pass_inf(c.kind, d4field(table, "INF"));
    std::string stored(f4ptr(d4field(table, "INF")), 32);
    EXPECT_EQ(stored.find("KOWALSKI"), std::string::npos) << "stored unscrambled";
    EXPECT_EQ(Decoded(), std::string(1, c.letter) + "KOWALSKI       2026121009:05:07") << "kind " << c.kind;
  }
  EXPECT_EQ(Next(), "keep");
}

TEST_F(StampTest, EmptyOperatorNameIsBlankPadded) {
  MakeTable(32);
  std::memset(env->operatorName, 0, sizeof env->operatorName);
  set_pass_inf(0, d4field(table, "INF"));
  EXPECT_EQ(Decoded(), "D               2026121009:05:07");
}

TEST_F(StampTest, ShortFieldTakesTheStampsFirstCharactersOnly) {
  MakeTable(10);
  std::strcpy(env->operatorName, "NOWAK");
  set_pass_inf(1, d4field(table, "INF"));
  EXPECT_EQ(Decoded(), "MNOWAK    ");
  EXPECT_EQ(Next(), "keep");
}

TEST_F(StampTest, WideFieldKeepsItsBytesPastTheStamp) {
  MakeTable(40);
  f4assign(d4field(table, "INF"), "................................ABCDEFGH");
  std::strcpy(env->operatorName, "NOWAK");
  set_pass_inf(0, d4field(table, "INF"));
  EXPECT_EQ(Decoded(), "DNOWAK          2026121009:05:07ABCDEFGH");
}

TEST_F(StampTest, NoFieldNoStamp) {
  set_pass_inf(0, nullptr);   // a fatal stop would throw here
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(StampTest, RightsBitsAndTheTableBounds) {
  std::memset(env->rights, 0, RIGHTS_BYTES);
  env->rights[0] = 0x80;
  env->rights[1] = 0x01;
  env->rights[RIGHTS_BYTES - 1] = 0x01;
  struct Case {
    int n;
    int expected;
  } cases[] = {
      {0, 0x80}, {1, 0}, {7, 0}, {8, 0}, {15, 0x01}, {RIGHTS_BYTES * 8 - 1, 0x01}, {RIGHTS_BYTES * 8 - 2, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(pass_tab_test(c.n), c.expected) << "right " << c.n;

  std::memset(env->rights, 0xFF, RIGHTS_BYTES);
  EXPECT_EQ(pass_tab_test(9), 0x40);
  EXPECT_EQ(pass_tab_test(RIGHTS_BYTES * 8), 0);
  EXPECT_EQ(pass_tab_test(RIGHTS_BYTES * 8 + 7), 0);
}

TEST_F(StampTest, NegativeRightsAreNotReadBeforeTheTable) {
  // Granted bytes on both sides of the table show any read outside it.
  std::vector<unsigned char> memory(RIGHTS_BYTES + 2, 0xFF);
  std::memset(memory.data() + 1, 0, RIGHTS_BYTES);
  unsigned char* own = env->rights;
  env->rights = memory.data() + 1;
  for (int n : {-1, -7, -8, -9, -16}) EXPECT_EQ(pass_tab_test(n), 0) << "right " << n;
  EXPECT_EQ(pass_tab_test(RIGHTS_BYTES * 8), 0);
  env->rights = own;
}

TEST_F(StampTest, RefusedRightWarnsOnce) {
  std::memset(env->rights, 0, RIGHTS_BYTES);
  env->rights[2] = 0x20;   // right 18
  EXPECT_EQ(pass_tab_test_and_inform(18), 1);
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_EQ(pass_tab_test_and_inform(17), 0);
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].what, "box");
  EXPECT_EQ(screen.shown[0].kind, SCREEN_BOX_WARNING);
  EXPECT_EQ(MazToUtf8Text(screen.shown[0].text.c_str()), "Zabroniony dostęp !");
}

}  // namespace
