// The interest and bookkeeping-link services not built yet: the browses
// show their tables, the computation and the exchange say they are not there.
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
      {"ODSETKI USTAWOWE", OpenZ5ODUS, &Z5ODUS, StopyOdsetekUstawowych},
      {"ODSETKI PODATKOWE", OpenZ5ZAPO, &Z5ZAPO, StopyOdsetekPodatkowych},
      {"DNI WOLNE", OpenZ5DNWO, &Z5DNWO, DniWolne},
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

TEST_F(StandInTest, InterestAndBookkeepingExchangeSayTheyAreNotAvailable) {
  EXPECT_EQ(RunUntilEsc([] { return ObliczOdsetki("20261210", "20261210", 0.0); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  for (auto action : {EksportDoKsiegowosci, ImportZKsiegowosci}) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(action, "{F9}x"), 0);
    EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  }
}

}  // namespace
