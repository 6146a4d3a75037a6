// The choice lists of the catalogues by working year.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "env/code_pages.h"
#include "masterdata/catalogue_lists.h"

namespace {

int Count(const char* const* list) {
  int n = 0;
  while (list[n + 1]) n++;
  return n;
}

// Item `n` without its trailing blanks, in UTF-8.
std::string Item(const char* const* list, int n) {
  std::string item = MazToUtf8Text(list[n]);
  return item.substr(0, item.find_last_not_of(' ') + 1);
}

TEST(CatalogueListsTest, LumpSumRatesAndMarksByYear) {
  struct Case {
    int year;
    int rates;
    const char* lastRate;
    const char* firstMark;
  } cases[] = {
      {2015, 6, "6. NIERUCHOMOŚĆ", "1. napoje alkoholowe - piwa, wina, napoje fermentowane"},
      {2016, 7, "7.   2 %", "1. napoje alkoholowe - piwa, wina, napoje fermentowane"},
      {2020, 7, "7.   2 %", "1. napoje alkoholowe - piwa, wina, napoje fermentowane"},
      {2021, 8, "8. 8.5 % najem", "1. napoje alkoholowe - piwa, wina, napoje fermentowane"},
      {2022, 9, "9.   17", "1. napoje alkoholowe pow. 1,2%, mieszanki piwa pow. 0,5%"},
      {2026, 9, "9.   17", "1. napoje alkoholowe pow. 1,2%, mieszanki piwa pow. 0,5%"},
  };
  for (const Case& c : cases) {
    const char* const* rates = ListaStawekRyczaltu(c.year);
    EXPECT_EQ(Count(rates), c.rates) << c.year;
    EXPECT_EQ(Item(rates, c.rates), c.lastRate) << c.year;
    const char* const* marks = ListaOznaczenGtu(c.year);
    EXPECT_EQ(Count(marks), GTU_NONE_ITEM) << c.year;
    EXPECT_EQ(Item(marks, 1), c.firstMark) << c.year;
    EXPECT_EQ(Item(marks, GTU_NONE_ITEM), "e. BRAK") << c.year;
    // the width entry is as wide as the widest item
    size_t widest = 0;
    for (int i = 1; marks[i]; i++) widest = std::max(widest, std::string(marks[i]).size());
    EXPECT_EQ(std::string(marks[0]), std::string(widest, ' ')) << c.year;
  }
  EXPECT_EQ(Count(ListaNaSprzedaz()), 4);
  EXPECT_EQ(Item(ListaNaSprzedaz(), 2), "2. OPODATKOWANĄ+ZWOLNIONĄ");
  EXPECT_EQ(Count(ListaTypuZakupu()), 4);
  EXPECT_EQ(Item(ListaTypuZakupu(), 4), "4. NIERUCHOMOŚĆ");
  EXPECT_EQ(Count(ListaTypuPrzychodu()), 3);
  EXPECT_EQ(Item(ListaTypuPrzychodu(), 3), "3. WYN. W NAT.");
}

}  // namespace
