// The stock (ILO) of goods read back from the catalogue, opened for the
// reading and closed again.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tables/masterdata_tables.h"

// Of the goods `code`; -999 when the catalogue has no such code.
inline double StockOf(const char* code) {
  EXPECT_EQ(OpenZ5TOWA(0), 0);
  DbTable* goods = Z5TOWA.table;
  double stock = -999;
  for (int r = d4top(goods); r == 0 && !d4eof(goods); r = d4skip(goods, 1)) {
    DbField* key = d4field(goods, "KOD");
    std::string text(f4ptr(key), f4len(key));
    text.erase(text.find_last_not_of(' ') + 1);
    if (text == code) stock = f4double(d4field(goods, "ILO"));
  }
  d4close(goods);
  return stock;
}

// Of the catalogue's first record.
inline double FirstGoodsStock() {
  EXPECT_EQ(OpenZ5TOWA(0), 0);
  EXPECT_EQ(d4go(Z5TOWA.table, 1), 0);
  double stock = f4double(d4field(Z5TOWA.table, "ILO"));
  d4close(Z5TOWA.table);
  return stock;
}
