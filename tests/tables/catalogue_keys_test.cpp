// Every tag key and filter of the catalogue: each table is created through
// the definition interface from its layout, one record is appended, and each
// tag's key of that record is compared with the key worked out by hand.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/dbf_definition.h"
#include "db/expr.h"
#include "db/index_keys.h"
#include "tables/layouts.h"
#include "tests/db/db_test_support.h"
#include "tests/tables/catalogue_keys.h"

namespace {

void fill_record(DbTable* table) {
  for (int j = 1; j <= d4num_fields(table); j++) {
    DbField* field = d4field_j(table, j);
    std::string lower = f4name(field);
    for (char& c : lower) c = (char)std::tolower((unsigned char)c);
    switch (f4type(field)) {
      case 'C': f4assign(field, lower.substr(0, f4len(field)).c_str()); break;
      case 'N': f4assign_double(field, 7); break;
      case 'D': f4assign(field, "20240229"); break;
      default: break;
    }
  }
}

// The table made from the layout through the definition interface.
DbTable* CreateFromLayout(DbEngine* engine, const std::string& file, const TableLayout& layout) {
  if (AllocDbfDefinition() == nullptr) return nullptr;
  DefineLayout(layout);
  DbTable* table = d4create(engine, file.c_str(), GetFieldsInfo(), GetTagsInfo());
  ReleaseDbfDefinition();
  return table;
}

using CatalogueKeysTest = DbTest;

TEST_F(CatalogueKeysTest, EveryCatalogueTagCompilesAndGivesItsKey) {
  int table_number = 0;
  for (const CatalogueTable& c : kCatalogue) {
    SCOPED_TRACE(c.table);
    const TableLayout& layout = *c.layout;
    ASSERT_EQ(layout.tagCount, (int)c.tags.size());
    std::string file = "C" + std::to_string(++table_number) + ".DBF";
    DbTable* table = CreateFromLayout(engine, file, layout);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(engine->error_code, 0);
    ASSERT_EQ(d4append_start(table, 0), 0);
    d4blank(table);
    fill_record(table);
    ASSERT_EQ(d4append(table), 0);

    for (size_t i = 0; i < c.tags.size(); i++) {
      const CatalogueTag& t = c.tags[i];
      SCOPED_TRACE(t.key);
      EXPECT_STREQ(layout.tags[i].key, t.key);
      EXPECT_STREQ(layout.tags[i].filter ? layout.tags[i].filter : "", t.filter);
      DbTag* tag = d4tag(table, std::string(1, "123456789A"[t.number - 1]).c_str());
      ASSERT_NE(tag, nullptr);
      EXPECT_EQ(t4descending(tag) != 0, t.descending);
      char* key = nullptr;
      ASSERT_EQ(expr4key(tag->expr, &key), t.key_length);
      EXPECT_EQ((int)t4key_len(tag), t.key_length);
      if (t.key_value != nullptr) {
        EXPECT_EQ(expr4type(tag->expr), 'C');
        EXPECT_EQ(std::string(key, (size_t)t.key_length), t.key_value);
      } else if (t.key_length == DATE_KEY_LEN) {
        double day;
        std::memcpy(&day, key, sizeof day);
        EXPECT_EQ(day, 2460370);
      } else {
        char expected[BCD_KEY_LEN];
        c4bcd_from_double(expected, expr4type(tag->expr) == 'n' ? 1 : 7);   // RECNO() or a field
        EXPECT_EQ(std::string(key, BCD_KEY_LEN), std::string(expected, BCD_KEY_LEN));
      }
      if (t.filter_value >= 0) {
        EXPECT_EQ(expr4true(tag->filter), t.filter_value);
      }
    }
    ASSERT_EQ(d4close(table), 0);
  }
}

// The goods tag of marked goods: its filter holds the raw byte 0x9D.
TEST_F(CatalogueKeysTest, MarkFilterKeepsOnlyMarkedGoods) {
  DbTable* table = CreateFromLayout(engine, "GOODS.DBF", LAYOUT_Z5TOWA);
  ASSERT_NE(table, nullptr);
  const char* rows[][2] = {{"plain", " "}, {"marked", "\x9D"}, {"other", "x"}};
  for (const auto& row : rows) {
    ASSERT_EQ(d4append_start(table, 0), 0);
    d4blank(table);
    f4assign(d4field(table, "NA1"), row[0]);
    f4assign(d4field(table, "ZNA"), row[1]);
    ASSERT_EQ(d4append(table), 0);
  }
  DbTag* tag = d4tag(table, "3");
  ASSERT_NE(tag, nullptr);
  d4tag_select(table, tag);
  ASSERT_EQ(d4top(table), 0);
  EXPECT_EQ(d4recno(table), 2);
  EXPECT_EQ(d4skip(table, 1), r4eof);
}

}  // namespace
