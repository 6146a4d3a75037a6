// The currency-conversion choice of the reports and the quantity of a
// purchase line by the document kind.
#include <gtest/gtest.h>

#include "sales/document_totals.h"
#include "tables/vat_tables.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "tests/sales/sales_fixture.h"

namespace {

class SharedRoutinesTest : public SalesScreenTest {};

TEST_F(SharedRoutinesTest, CurrencyConversionChoice) {
  struct Case {
    int documentCurrency;
    const char* keys;
    int result, out;
  } cases[] = {{1, "", 0, 2}, {0, "{ENTER}", 0, 0}, {0, "{DOWN}{ENTER}", 0, 1}, {0, "{F9}{ESC}", 1, -1}};
  for (const Case& c : cases) {
    HeadlessSetScript(c.keys);
    int out = -1;
    EXPECT_EQ(wybierz_przeliczenie_walut(&out, c.documentCurrency), c.result) << c.keys;
    EXPECT_EQ(out, c.out) << c.keys;
  }
  EXPECT_NE(seen.find("Waluty przeliczyć wg kursu"), std::string::npos) << seen;
  EXPECT_NE(seen.find("2. dla księgowania"), std::string::npos) << seen;
}

TEST_F(SharedRoutinesTest, PurchaseQuantityByKind) {
  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  AppendRecord(Z5ZAKE.table, {{"ILO", "5"}, {"ILK", "-2"}});
  for (int kind : {1, 2, 5, 6}) EXPECT_DOUBLE_EQ(ilosc_pozycji_zakupu(kind), 5) << kind;
  for (int kind : {3, 4}) EXPECT_DOUBLE_EQ(ilosc_pozycji_zakupu(kind), -2) << kind;
}

TEST_F(SharedRoutinesTest, MenuItemsAndTheirKeys) {
  int window = DefineMenuWindow();
  ASSERT_GE(window, 0);
  auto action = [](int32_t value) -> int32_t { return value; };
  struct Case {
    const char* text;
    int key, hotKey;
    bool separator;
  } cases[] = {{" Pierwsza ", 0, 0, false}, {" Druga ", 1, 0, true}, {" Trzecia ", 't', 't', false},
               {" Czwarta ", 0x80 | 'c', KEY_F2, false}};
  for (const Case& c : cases) {
    int item = dodaj_pozycje_menu(c.text, -1, -1, 7, action, c.key);
    ASSERT_GE(item, 0) << c.text;
    MenuItem4* it = n4record(item);
    EXPECT_EQ(it->hotKey, c.hotKey) << c.text;
    EXPECT_EQ(it->value, 7) << c.text;
    MenuItem4* next = n4record(item + 1);
    EXPECT_EQ(next != nullptr && next->skip, c.separator) << c.text;
  }
  w4close(window);
}

}  // namespace
