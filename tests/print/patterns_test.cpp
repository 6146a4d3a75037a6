// Form patterns and the slot writes of DeklCtx.
#include <cstring>
#include <string>
#include "env/code_pages.h"
#include "env/memory.h"
#include "print/patterns.h"
#include "tests/print/print_fixture.h"

namespace {

class PatternsTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    page.assign(80 * 5, ' ');
    // Slots: 1 row 2 column 70; 2 row 1 column 0; 3 row 5 column 10.
    const unsigned char table[] = {2, 70, 1, 0, 5, 10};
    std::memcpy(slots, table, sizeof table);
    DeklCtx = DeklContext{page.data(), slots, 80, 5, 1};
  }
  std::string Row(int row) const { return page.substr(static_cast<size_t>(row) * 80, 80); }
  bool Refused() const {
    return !screen.shown.empty() &&
           screen.shown.back().text.find(Utf8ToMazText("Błąd wpisania danej")) != std::string::npos;
  }

  std::string page;
  unsigned char slots[6];
};

TEST_F(PatternsTest, SlotAtColumnSeventyTakesTenCharacters) {
  copy_dekl_maxstring(1, 0, "0123456789");
  EXPECT_EQ(Row(1).substr(70), "0123456789");
  EXPECT_EQ(DeklCtx.highest, 2);
  EXPECT_FALSE(Refused());

  const std::string before = page;
  copy_dekl_maxstring(1, 0, "ABCDEFGHIJK");
  EXPECT_EQ(page, before);
  ASSERT_TRUE(Refused());
  EXPECT_NE(screen.shown.back().text.find("Nr(1),  XY(81,1),  WidHig(80,5)"), std::string::npos);
}

TEST_F(PatternsTest, WritesOutsideThePageAreRefused) {
  struct Case {
    int slot, rowOffset;
    const char* text;
  } cases[] = {
      {3, 1, "x"},     // row 6 of 5
      {2, -1, "x"},    // above the first row
      {1, 4, "x"},     // row 6
  };
  for (const Case& c : cases) {
    screen.shown.clear();
    const std::string before = page;
    copy_dekl_maxstring(c.slot, c.rowOffset, c.text);
    EXPECT_EQ(page, before) << c.slot << " " << c.rowOffset;
    EXPECT_TRUE(Refused()) << c.slot << " " << c.rowOffset;
  }
  EXPECT_EQ(DeklCtx.highest, 1);
}

TEST_F(PatternsTest, NumberAtARowOffsetRaisesTheHighestRow) {
  EXPECT_EQ(copy_dekl_double(2, 3, 12.5, 8, 2), 8);
  EXPECT_EQ(Row(3).substr(0, 8), "   12.50");
  EXPECT_EQ(DeklCtx.highest, 4);
}

TEST_F(PatternsTest, FlagZeroChangesNothing) {
  const std::string before = page;
  copy_dekl_string_m(2, 0, "abc", 0);
  copy_dekl_double_m(2, 1, 5, 6, 0, 0);
  EXPECT_EQ(page, before);
  EXPECT_EQ(DeklCtx.highest, 1);
  copy_dekl_string_m(2, 0, "abc", 1);
  EXPECT_EQ(Row(0).substr(0, 3), "abc");
}

TEST_F(PatternsTest, SplitStringOverTwoRows) {
  copy_dekl_splitstring(2, "Krotki", 20, 20);
  EXPECT_EQ(Row(0).substr(0, 7), "Krotki ");
  EXPECT_EQ(Row(1), std::string(80, ' '));
  EXPECT_EQ(DeklCtx.highest, 2);

  copy_dekl_splitstring(2, "Pierwsze drugie trzecie", 15, 20);
  EXPECT_EQ(Row(0).substr(0, 16), "Pierwsze drugie ");
  EXPECT_NE(Row(1).find("trzecie"), std::string::npos);
  EXPECT_EQ(Row(1).find("drugie"), std::string::npos);
}

TEST_F(PatternsTest, AllocateCopyAndFree) {
  char* pattern = nullptr;
  char* blank = nullptr;
  ASSERT_EQ(print_alloc(&pattern, &blank, 40, nullptr), 0);
  EXPECT_EQ(std::string(pattern, 40), std::string(40, ' '));
  EXPECT_EQ(std::string(blank, 40), std::string(40, ' '));
  std::memcpy(pattern, "ABCDEFGHIJ" "KLMNOPQRST" "UVWXYZ0123" "456789abcd", 40);
  EXPECT_EQ(patt_copy_area(blank, 10, 1, 4, pattern, 2, 1, 3, 2), 0);
  EXPECT_EQ(std::string(blank, 40), std::string(10, ' ') + "    VWX   " + "    567   " + std::string(10, ' '));
  print_free(&pattern, &blank);
  EXPECT_EQ(pattern, nullptr);
  EXPECT_EQ(blank, nullptr);
}

TEST_F(PatternsTest, TickBox) {
  DbfFieldDef fields[] = {{"ZNAK", 'C', 1, 0}, {nullptr, 0, 0, 0}};
  table = d4create(&env->engine, "TICK.DBF", fields, nullptr);
  ASSERT_NE(table, nullptr);
  DbField* field = d4field(table, "ZNAK");
  struct Case {
    const char* value;
    const char* shown;
  } cases[] = {{"T", "X"}, {"N", " "}, {" ", " "}, {"t", " "}};
  for (const Case& c : cases) {
    f4assign(field, c.value);
    EXPECT_STREQ(FldYesNoAsX(field), c.shown) << c.value;
  }
}

}  // namespace
