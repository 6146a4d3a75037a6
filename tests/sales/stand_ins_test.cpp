// The sales register not built yet shows the headers of the register its
// caller opened.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tables/sales_tables.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, SalesRegisterBrowsesTheOpenedHeaders) {
  const struct {
    int mode;
    const char* title;
  } cases[] = {{SALES_MAIN, "SPRZEDAŻ "}, {SALES_AUX, "SPRZEDAŻ POMOCNICZA"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    ASSERT_EQ(OpenZ5SPRZ(0, 0, c.mode), 0);
    Seed(Z5SPRZ, "Q7");
    RunUntilEsc([&] { return rejestr_sprzedazy(c.mode); });
    EXPECT_TRUE(Shown(c.title)) << seen;
    EXPECT_TRUE(Shown("Q7")) << seen;
    d4close_all(&env->engine);
  }
}

}  // namespace
