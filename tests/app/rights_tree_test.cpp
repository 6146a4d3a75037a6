// The rights tree over an operator table on the headless display.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/operator_block.h"
#include "app/rights_tree.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/messages.h"
#include "tests/ui/ui_fixture.h"

void RegisterResources_Zelsal();   // generated with the resource table

namespace {

class RightsTreeTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (HasFatalFailure()) return;
    RegisterResources_Zelsal();
    d4init(&env->engine);
    const DbfFieldDef fields[] = {{"A", 'C', 15, 0}, {"B", 'C', OPERATOR_BLOCK_BYTES, 0}, {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "Z5PASS.DBF", fields, nullptr);
    ASSERT_NE(table, nullptr);
    for (const char* name : {"SZEF           ", "KASJER         "}) {
      d4append_start(table, 0);
      d4blank(table);
      NewOperatorBlock(f4assign_ptr(d4field(table, "B")), name, 37);
      ASSERT_EQ(d4append(table), 0);
    }
  }
  void TearDown() override {
    StopTestEngine(env, table);
    UiTest::TearDown();
  }
  int Edit(int record, const char* keys) {
    EXPECT_EQ(d4go(table, record), 0);
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = EditRights(table);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return result;
  }
  // The record's rights as stored, read back from the file.
  std::vector<unsigned char> Stored(int record) {
    EXPECT_EQ(d4go(table, record), 0);
    std::vector<unsigned char> rights(OPERATOR_RIGHTS_BYTES);
    OperatorBlockRights(f4ptr(d4field(table, "B")), rights.data());
    return rights;
  }
  static bool Granted(const std::vector<unsigned char>& rights, int id) {
    return (rights[static_cast<size_t>(id / 8)] & (0x80 >> (id % 8))) != 0;
  }
  DbTable* table = nullptr;
};

TEST_F(RightsTreeTest, ChangesReachTheRecordOnlyThroughF2AtEveryLevel) {
  // Level 1 rows: 1000 2000 3000 4000 ...; 4000 opens 5300 5100 ...; 5300 opens 5310 6800 ...
  const char* toLevel3 = "{DOWN}{DOWN}{DOWN}{RIGHT}{RIGHT}";
  struct Case {
    std::string keys;
    int result;
    std::vector<int> refused;   // every other right stays granted
  } cases[] = {
      {"{DOWN}{DOWN}n{F2}", 0, {3000}},
      {"{DOWN}{DOWN}n{ESC}", -1, {}},
      {std::string(toLevel3) + "n{F2}{F2}{F2}", 0, {5310}},
      {std::string(toLevel3) + "n{F2}{ESC}{F2}", 0, {}},           // dropped at level 2
      {std::string(toLevel3) + "n{DOWN}n{LEFT}{LEFT}{F2}", 0, {5310, 6800}},
      {std::string(toLevel3) + "n{F2}{F2}{ESC}", -1, {}},
      // a level opens only from a granted row with details
      {"{DOWN}{DOWN}n{RIGHT}{DOWN}n{RIGHT}{F2}", 0, {3000, 4000}},
      {"{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{RIGHT}n{F2}", 0, {2}},
      // any other key is answered with a hint (closed with any key) and changes nothing
      {"qx{LEFT}{F2}", 0, {}},
      // 5100's fourth row is 5131
      {"{DOWN}{DOWN}{DOWN}{RIGHT}{DOWN}{RIGHT}{DOWN}{DOWN}{DOWN}n{F2}{F2}{F2}", 0, {5131}},
      {"{DOWN}{DOWN}{DOWN}{RIGHT}n{LEFT}tN{F2}", 0, {4000, 5300}},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> every(OPERATOR_RIGHTS_BYTES, 0xFF);
    ASSERT_EQ(d4go(table, 2), 0);
    OperatorBlockSetRights(f4assign_ptr(d4field(table, "B")), every.data());
    ASSERT_EQ(d4write(table, 2), 0);
    EXPECT_EQ(Edit(2, c.keys.c_str()), c.result) << c.keys;
    std::vector<unsigned char> expected = every;
    for (int id : c.refused) expected[static_cast<size_t>(id / 8)] &= static_cast<unsigned char>(~(0x80 >> (id % 8)));
    std::vector<unsigned char> stored = Stored(2);
    EXPECT_EQ(stored, expected) << c.keys;
    for (int id : c.refused) EXPECT_FALSE(Granted(stored, id)) << c.keys << " " << id;
  }
}

TEST_F(RightsTreeTest, AdministratorCannotBeRestricted) {
  std::vector<unsigned char> before = Stored(1);
  ASSERT_EQ(d4go(table, 1), 0);
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(EditRights(table), ScriptEnded);
  std::string shown;
  for (int row = 0; row < Desktop.rows; row++) shown += Row(row) + "\n";
  EXPECT_NE(shown.find(MazToUtf8Text(RcQStr(15))), std::string::npos) << shown;
  EXPECT_EQ(shown.find("MENU GŁÓWNE"), std::string::npos) << "no tree";
  EXPECT_EQ(Edit(1, "x"), -1);
  EXPECT_EQ(Stored(1), before);
}

TEST_F(RightsTreeTest, LevelsOpenBesideTheMarkedRow) {
  ASSERT_EQ(d4go(table, 2), 0);
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{DOWN}{RIGHT}"), 0);
  EXPECT_THROW(EditRights(table), ScriptEnded);
  // Level 1: 14 rows by 18 columns at row 11, column 0; the fields at column 15 inside.
  EXPECT_NE(Row(11).find("MENU GŁÓWNE"), std::string::npos) << Row(11);
  EXPECT_EQ(Cells(12, 1, 16), "Ewidencja VAT  T");
  EXPECT_EQ(Cells(23, 1, 16), "Zakończ        T");
  EXPECT_EQ(Char(15, 15), 0x9F) << "the row whose level is open";
  EXPECT_EQ(Attr(15, 16), 31);
  // Level 2 of 4000: eight rows ending at row 25, columns 20 to 37.
  EXPECT_EQ(Cells(17, 21, 16), "Dokumenty      T");
  EXPECT_EQ(Cells(24, 36, 1), "T");
  EXPECT_EQ(Cells(26, 21, 16), std::string(16, ' '));
}

}  // namespace
