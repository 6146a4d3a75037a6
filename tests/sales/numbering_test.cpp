// The next number of a series, the duplicate checks and the number record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sales/numbering.h"
#include "tests/sales/sales_fixture.h"

namespace {

class NumberingTest : public SalesTest {
 protected:
  // Series of kind 1 "  FV" with a gap (1, 2, 5), the same letters with a
  // suffix and with a longer one, and kind 2 with the same prefix further on.
  void Series() {
    for (const char* n : {"1", "2", "5"}) Header({{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", n}});
    Header({{"TYV", "1"}, {"PRE", "  FV"}, {"POS", "A"}, {"NRV", "7"}});
    Header({{"TYV", "1"}, {"PRE", "  FV"}, {"POS", "AB"}, {"NRV", "3"}});
    Header({{"TYV", "2"}, {"PRE", "  FV"}, {"NRV", "9"}});
  }
  void Number(int kind, const char* prefix, long number, const char* suffix = "") {
    context.kind = kind;
    char aligned[5] = {};
    std::strncpy(aligned, prefix, 4);
    wyrownaj_do_prawej(aligned, 4);
    zapamietaj_numer(&context.next, aligned, number, suffix);
  }
};

TEST_F(NumberingTest, NextNumberOfTheSeries) {
  struct Case {
    int kind;
    const char* prefix;
    const char* suffix;
    int next;
  } cases[] = {
      {1, "FV", "", 6},     // gaps are not filled
      {1, "  FV", "", 6},   // a typed prefix is right-aligned: one series
      {1, "FV", "A", 8},
      {1, "FV", "AB", 4},   // a suffix that starts with another's is its own series
      {2, "FV", "", 10},
      {3, "FV", "", 1},     // another kind does not continue the series
      {1, "XY", "", 1},
  };
  Series();
  for (const Case& c : cases) {
    Number(c.kind, c.prefix, 0, c.suffix);
    EXPECT_EQ(nastepny_numer_dokumentu(0), 0);
    EXPECT_EQ(context.next.number, c.next) << c.kind << c.prefix << c.suffix;
  }
}

TEST_F(NumberingTest, EmptySeriesStartsAtOne) {
  Number(1, "FV", 0);
  EXPECT_EQ(nastepny_numer_dokumentu(0), 0);
  EXPECT_EQ(context.next.number, 1);
}

TEST_F(NumberingTest, DuplicateAndZeroNumbers) {
  Series();
  Number(1, "FV", 2);
  EXPECT_EQ(sprawdz_duplikat_numeru(), 1);
  EXPECT_EQ(Boxes(), "Podany numer już istnieje!\nFV/2");
  Number(1, "FV", 3);
  EXPECT_EQ(sprawdz_duplikat_numeru(), 0);
  Number(2, "FV", 2);
  EXPECT_EQ(sprawdz_duplikat_numeru(), 0);
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(sprawdz_numer_niezerowy(), 0);
  Number(1, "FV", 0);
  EXPECT_EQ(sprawdz_numer_niezerowy(), -1);
  EXPECT_EQ(Boxes(), "Wypełnij numer dokumentu.");
}

TEST_F(NumberingTest, NumberRecordIntoTheHeader) {
  struct Case {
    const char* typed;
    const char* aligned;
  } cases[] = {{"FV", "  FV"}, {"  FV", "  FV"}, {"F V ", " F V"}, {"ABCD", "ABCD"}, {"", "    "}};
  for (const Case& c : cases) {
    char buffer[5] = {};
    std::strncpy(buffer, c.typed, 4);
    wyrownaj_do_prawej(buffer, 4);
    EXPECT_STREQ(buffer, c.aligned) << c.typed;
  }
  numer_dokumentu n{};
  zapamietaj_numer(&n, "  FV", 12, "2026/ABCDEFGH");
  EXPECT_STREQ(n.prefix, "  FV");
  EXPECT_STREQ(n.suffix, "2026/ABCD");
  Header({});
  wpisz_numer_do_naglowka(d4field(Z5SPRZ.table, "PRE"), d4field(Z5SPRZ.table, "NRV"), d4field(Z5SPRZ.table, "POS"), &n);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "PRE"), "  FV");
  EXPECT_EQ(f4long(d4field(Z5SPRZ.table, "NRV")), 12);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "POS"), "2026/ABCD");
}

TEST_F(NumberingTest, AutomaticNumbersAreTakenAtSave) {
  salesOptions.autoNumbering = 'T';
  std::strcpy(salesOptions.numbering[DOC_MP].prefix, "MP");
  std::strcpy(salesOptions.numbering[DOC_MP].suffix, "26");
  context.kind = 7;
  EXPECT_EQ(podaj_numer_dokumentu(1, 0, 0), 0);
  EXPECT_STREQ(context.next.prefix, "  MP");
  EXPECT_EQ(context.next.number, 0);
  EXPECT_STREQ(context.next.suffix, "26       ");
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

}  // namespace
