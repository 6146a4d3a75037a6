// The retail receipts not built yet show the receipt headers their caller opened.
#include <gtest/gtest.h>

#include "app/module_entries.h"
#include "tables/receipt_tables.h"
#include "tests/app/stand_in_fixture.h"

namespace {

TEST_F(StandInTest, ReceiptsBrowseTheOpenedHeaders) {
  ASSERT_EQ(OpenZ5PARA(0), 0);
  Seed(Z5PARA, "Q7");
  RunUntilEsc(paragony);
  EXPECT_TRUE(Shown("PARAGONY")) << seen;
  EXPECT_TRUE(Shown("Q7")) << seen;
}

}  // namespace
