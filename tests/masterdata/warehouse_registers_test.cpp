// The warehouse registers show the year's documents of the tables their
// caller opened and come back on Esc.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "tests/app/stand_in_fixture.h"

namespace {

struct Case {
  const char* title;
  int (*open)(int);
  int (*openLines)(int);
  TableHandles* table;
  int (*entry)();
};

constexpr int HEADER_NA1 = 6;

TEST_F(StandInTest, RegistersBrowseTheOpenedTables) {
  const Case cases[] = {
      {"Przyjęcia towarów z podmagazynów", OpenZ5MAPR, OpenZ5MAPE, &Z5MAPR, przyjecia_magazynowe},
      {"Wydania towarów do podmagazynów", OpenZ5MAWY, OpenZ5MAWE, &Z5MAWY, wydania_magazynowe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    ASSERT_EQ(c.open(0), 0);
    ASSERT_EQ(c.openLines(0), 0);
    Append(*c.table, {{HEADER_NA1, "Q7"}});
    RunUntilEsc(c.entry);
    EXPECT_TRUE(Shown(c.title)) << seen;
    EXPECT_TRUE(Shown("Q7")) << seen;
    EXPECT_NE(c.table->table, nullptr) << "the caller closes the table";
    d4close_all(&env->engine);
  }
}

}  // namespace
