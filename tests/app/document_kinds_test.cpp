// Names of the document kinds, the description of a document and the default
// number prefixes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentKindsTest : public SalesTest {};

TEST_F(DocumentKindsTest, KindNamesAndPrefixes) {
  std::strcpy(salesOptions.numbering[DOC_FP].prefix, "FP");
  std::strcpy(salesOptions.numbering[DOC_FZ].prefix, "FZ");
  std::strcpy(salesOptions.numbering[DOC_FZ].suffix, "ZAL");
  struct Case {
    int year, kind, rejestr;
    const char* name;
    const char* prefix;
  } cases[] = {
      {2026, 1, 1, "Faktura", ""},
      {2026, 9, 2, "Faktura do paragonu", "FP"},
      {2023, 9, 1, "Faktura do paragonu", "FP"},
      {2023, 9, 2, "Faktura zaliczkowa", "FZ"},
      {2026, 11, 2, "Faktura zaliczkowa", "FZ"},
      {2026, 12, 1, "", ""},
      {2026, 0, 1, "", ""},
  };
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    EXPECT_EQ(MazToUtf8Text(nazwa_rodzaju_dokumentu(c.kind, c.rejestr)), c.name) << c.year << " " << c.kind;
    EXPECT_STREQ(prefiks_numeru_rodzaju(c.kind, c.rejestr), c.prefix) << c.year << " " << c.kind;
  }
  env->settlementYear = 2023;
  EXPECT_STREQ(sufiks_numeru_rodzaju(9, 2), "ZAL");
  EXPECT_STREQ(sufiks_numeru_rodzaju(9, 1), "");
}

TEST_F(DocumentKindsTest, DocumentDescription) {
  Header({{"TYV", "3"}, {"PRE", "  FK"}, {"NRV", "12"}, {"POS", "2026"}, {"DAW", "20260305"}});
  EXPECT_EQ(MazToUtf8Text(opis_dokumentu_sprzedazy(1)), "Faktura korygująca nr FK/12/2026 z 05-03-2026");
  SetFields(Z5SPRZ.table, {{"TYV", "1"}, {"RE4", "N"}, {"OSM", "  A-7  "}});
  EXPECT_EQ(MazToUtf8Text(opis_dokumentu_sprzedazy(1)), "Faktura nr A-7 z 05-03-2026");
}

}  // namespace
