// The menu-use history table.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/environment.h"
#include "tests/ui/ui_fixture.h"
#include "ui/menu_history.h"

namespace {

class HistoryTest : public EngineUiTest {
 protected:
  void SetUp() override {
    EngineUiTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(env->operatorName, "ADMIN");
  }
  static std::string Text(DbField* field) { return std::string(f4ptr(field), f4len(field)); }
  // Record n as "COS|KTO|DAT|OGO|DGO", read through a fresh opening.
  std::string Row(int n) {
    HistoryHandles h;
    EXPECT_EQ(open_hist(&h, 0), 0);
    if (!h.table) return "not open";
    std::string row = d4go(h.table, n) != 0 ? "no record"
                                            : MazToUtf8Text(Text(h.cos).c_str()) + "|" + Text(h.kto) + "|" +
                                                  Text(h.dat) + "|" + Text(h.ogo) + "|" + Text(h.dgo);
    d4close(h.table);
    return row;
  }
  bool HistExists() const { return std::filesystem::exists(Path("Z5HIST.DBF")); }

  FixedClock clock{2026, 12, 10, 10, 0, 0};
};

TEST_F(HistoryTest, EntryAndReturnWriteOneRow) {
  const std::string item = Utf8ToMazText(" Sprzedaż ");
  int record = write_hist(1, item.c_str(), 0);
  ASSERT_EQ(record, 1);
  EXPECT_TRUE(HistExists());
  EXPECT_EQ(Row(1), " Sprzedaż      |ADMIN          |20261210|10:00:00|        ");

  PlatClockAdvanceMs((5 * 60 + 30) * 1000);
  int second = write_hist(1, " Katalogi ", 0);   // a nested item while the first runs
  EXPECT_EQ(second, 2);
  PlatClockAdvanceMs(2000);
  EXPECT_EQ(write_hist(1, " Katalogi ", second), 2);
  PlatClockAdvanceMs(1000);
  EXPECT_EQ(write_hist(1, item.c_str(), record), 1);

  EXPECT_EQ(Row(1), " Sprzedaż      |ADMIN          |20261210|10:00:00|10:05:33");
  EXPECT_EQ(Row(2), " Katalogi      |ADMIN          |20261210|10:05:30|10:05:32");
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(HistoryTest, TagOrdersByDateAndEntryTime) {
  ASSERT_EQ(write_hist(1, "A", 0), 1);
  PlatClockAdvanceMs(60 * 1000);
  ASSERT_EQ(write_hist(1, "B", 0), 2);
  HistoryHandles h;
  ASSERT_EQ(open_hist(&h, 0), 0);
  EXPECT_EQ(d4tag_selected(h.table), h.tag);
  EXPECT_EQ(d4seek(h.table, "2026121010:01:00"), 0);
  EXPECT_EQ(d4recno(h.table), 2);
  EXPECT_EQ(d4seek(h.table, "2026121010:00:00"), 0);
  EXPECT_EQ(d4recno(h.table), 1);
  d4close(h.table);
  EXPECT_EQ(h.table, nullptr) << "closing clears the handle";
}

TEST_F(HistoryTest, NothingWrittenWhenOffUnmarkedOrNegative) {
  env->menuHistory = 'N';
  EXPECT_EQ(write_hist(1, "A", 0), -1);
  EXPECT_FALSE(HistExists()) << "the table is not even opened";
  env->menuHistory = 'T';
  EXPECT_EQ(write_hist(0, "A", 0), -1);
  EXPECT_EQ(write_hist(1, "A", -1), -1);
  EXPECT_FALSE(HistExists());
}

TEST_F(HistoryTest, ReturnToAMissingRecordFails) {
  ASSERT_EQ(write_hist(1, "A", 0), 1);
  EXPECT_EQ(write_hist(1, "A", 7), -1);
  EXPECT_EQ(env->engine.error_code, 0);
  EXPECT_EQ(Row(1).substr(Row(1).size() - 8), "        ");
}

TEST_F(HistoryTest, DamagedTableLeavesNoErrorBehindAndIsNotTouched) {
  const std::string garbage(300, 'x');
  WriteFile(Path("Z5HIST.DBF"), garbage);
  EXPECT_EQ(write_hist(1, "A", 0), -1);
  EXPECT_EQ(env->engine.error_code, 0) << "the menu action must still find a working engine";
  EXPECT_EQ(ReadFile(Path("Z5HIST.DBF")), garbage);
}

}  // namespace
