// The bookkeeping-link services not built yet: the exchange says it is not there.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, BookkeepingExchangeSaysItIsNotAvailable) {
  for (auto action : {EksportDoKsiegowosci, ImportZKsiegowosci}) {
    seen.clear();
    EXPECT_EQ(RunUntilEsc(action, "{F9}x"), 0);
    EXPECT_TRUE(Shown("nie jest jeszcze dostępna")) << seen;
  }
}

}  // namespace
