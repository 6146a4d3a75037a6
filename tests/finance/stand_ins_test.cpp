// The transfer orders not built yet: the browse shows its table.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tables/cash_tables.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, BrowsesShowTheTablesTheCallerOpened) {
  const struct {
    const char* title;
    int (*open)(int);
    TableHandles* table;
    int (*entry)();
  } cases[] = {
      {"PRZELEWY", OpenZ5PLEW, &Z5PLEW, Przelewy},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    ASSERT_EQ(c.open(0), 0);
    Seed(*c.table, "W1");
    EXPECT_EQ(RunUntilEsc(c.entry), 0);
    EXPECT_TRUE(Shown(c.title)) << seen;
    d4close_all(&env->engine);
  }
}

}  // namespace
