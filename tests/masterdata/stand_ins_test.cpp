// The master-data and warehouse entries not built yet show the table their
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
  TableHandles* table;
  int (*entry)();
};

TEST_F(StandInTest, CatalogueAndRegisterEntriesBrowseTheOpenedTable) {
  const Case cases[] = {
      {"PRZYJĘCIA MAGAZYNOWE", OpenZ5MAPR, &Z5MAPR, przyjecia_magazynowe},
      {"WYDANIA MAGAZYNOWE", OpenZ5MAWY, &Z5MAWY, wydania_magazynowe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    ASSERT_EQ(c.open(0), 0);
    Seed(*c.table, "Q7");
    RunUntilEsc(c.entry);
    EXPECT_TRUE(Shown(c.title)) << seen;
    EXPECT_TRUE(Shown("Q7")) << seen;
    EXPECT_NE(c.table->table, nullptr) << "the caller closes the table";
    d4close_all(&env->engine);
  }
}

}  // namespace
