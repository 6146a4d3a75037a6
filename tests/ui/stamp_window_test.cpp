// The record-stamp window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/dbf_table.h"
#include "tests/ui/ui_fixture.h"
#include "ui/record_stamp.h"
#include "ui/stamp_window.h"

namespace {

// Grid rows 11 to 18 in the system's character set, taken while the window waits.
std::vector<std::string> shownRows;
void SnapshotRows(int32_t) {
  shownRows.clear();
  for (int r = 11; r <= 18; r++) {
    std::string line;
    for (int c = 0; c < Desktop.cols; c++) line += static_cast<char>(Desktop.cells[r * Desktop.cols + c] & 0xFF);
    shownRows.push_back(line);
  }
}

class StampWindowTest : public UiTest {
 protected:
  DbTable* table = nullptr;
  DbField* stamp = nullptr;
  int timer = 0;

  void SetUp() override {
    UiTest::SetUp();
    d4init(&env->engine);
    const DbfFieldDef fields[] = {{"INF", 'C', 32, 0}, {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "STAMP.DBF", fields, nullptr);
    ASSERT_NE(table, nullptr);
    stamp = d4field(table, "INF");
    d4blank(table);
    std::strcpy(env->operatorName, "ADMIN");
    set_pass_inf(STAMP_KIND_MODIFIED, stamp);
    shownRows.clear();
    timer = AllocTimer(TIMER_PERIODIC, 1000, SnapshotRows, 0);
  }
  void TearDown() override {
    FreeTimer(&timer);
    StopTestEngine(env, table);
    UiTest::TearDown();
  }
};

TEST_F(StampWindowTest, ShowsWhoAndWhenUntilTimeRunsOut) {
  std::string before = Row(13);
  HeadlessSetScript("");
  ShowRecordStamp(stamp);
  ASSERT_EQ(shownRows.size(), 8u);
  EXPECT_NE(shownRows[0].find("HISTORIA ZAPISU"), std::string::npos) << shownRows[0];
  EXPECT_EQ(shownRows[2].substr(23, 18), "Co   - MODYFIKACJA");
  EXPECT_EQ(shownRows[3].substr(23, 22), "Kto  - ADMIN          ");
  EXPECT_EQ(shownRows[4].substr(23, 17), "Data - 10-12-2026");
  EXPECT_EQ(shownRows[5].substr(23, 15), "Czas - 10:00:00");
  EXPECT_EQ(Row(13), before);
}

TEST_F(StampWindowTest, KeyClosesItAndOnlyFirstOperatorsMaySeeIt) {
  HeadlessSetScript("x");
  env->operatorNumber = 1;
  RecordStampKey(stamp);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_TRUE(shownRows.empty());   // closed before the first second passed

  HeadlessSetScript("x");
  env->operatorNumber = 2;
  RecordStampKey(stamp);
  EXPECT_EQ(HeadlessKeysLeft(), 1);

  env->operatorNumber = 0;
  RecordStampKey(nullptr);   // "Brak informacji." waits for the key
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

}  // namespace
