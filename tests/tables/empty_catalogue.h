// A fresh common catalogue comes with its first records (the official code
// lists); a test that seeds its own opens it emptied of them.
#pragma once
#include <gtest/gtest.h>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tables/catalogue.h"

// Opens the catalogue through `open`, its records gone; it stays open.
inline void OpenEmptyCatalogue(TableHandles& handles, int (*open)(int)) {
  ASSERT_EQ(open(0), 0);
  DbTable* t = handles.table;
  for (long r = 1; r <= d4reccount(t); r++) {
    ASSERT_EQ(d4go(t, r), 0);
    d4delete(t);
    ASSERT_EQ(d4write(t, r), 0);
  }
  ASSERT_EQ(d4pack(t), 0);
  ASSERT_EQ(d4reccount(t), 0);
}
