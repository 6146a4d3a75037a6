#include "sales/document_conversions.h"

#include "app/link_numbers.h"
#include "db/dbf_records.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentLinksTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
  }
  void Gathered(Fields fields) { AppendRecord(Z5SPRZ_2.table, fields); }
};

// A final invoice of 2026 with two gathered advances and a free one.
TEST_F(DocumentLinksTest, FinalInvoiceNumberReachesItsSourcesAndDeletionFreesThem) {
  Header({{"REC", "7"}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", "12"}, {"POS", "2026"}, {"DAW", "20261205"}, {"AKT", "1"}});
  for (const char* rec : {"1", "2"})
    Gathered({{"REC", rec}, {"TYV", "11"}, {"REK", "7"}, {"KON", "1"}, {"AKT", "1"}, {"NKZ", "old"}, {"DAZ", "20261101"}});
  Gathered({{"REC", "3"}, {"TYV", "11"}, {"REK", "8"}, {"KON", "1"}, {"NKZ", "other"}});
  DbTable* aux = Z5SPRZ_2.table;

  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  aktualizuj_powiazania_zrodel(7);
  for (long r : {1L, 2L}) {
    ASSERT_EQ(d4go(aux, r), 0);
    EXPECT_EQ(FieldText(aux, "NKZ"), "FV  /   12/2026") << r;
    EXPECT_EQ(FieldText(aux, "DAZ"), "20261205") << r;
  }
  ASSERT_EQ(d4go(aux, 3), 0);
  EXPECT_EQ(FieldText(aux, "NKZ"), "other");

  odlacz_dokumenty_zrodlowe(7);
  for (long r : {1L, 2L}) {
    ASSERT_EQ(d4go(aux, r), 0);
    EXPECT_EQ(f4long(d4field(aux, "REK")), 0) << r;
    EXPECT_EQ(f4int(d4field(aux, "KON")), 0) << r;
    EXPECT_EQ(f4int(d4field(aux, "AKT")), 0) << r;
    EXPECT_EQ(FieldText(aux, "NKZ"), "") << r;
    EXPECT_EQ(FieldText(aux, "DAZ"), "") << r;
  }
  ASSERT_EQ(d4go(aux, 3), 0);
  EXPECT_EQ(f4long(d4field(aux, "REK")), 8);
  EXPECT_EQ(f4int(d4field(aux, "KON")), 1);
}

// An invoice made from a pro forma and the pro forma itself, both standard
// numbered; a renumbered invoice writes its number into the pro forma and its
// deletion clears the pro forma's link.
TEST_F(DocumentLinksTest, ProFormaPartnerFollowsTheInvoice) {
  Header({{"REC", "1"}, {"TYV", "6"}, {"PRE", "pf"}, {"NRV", "3"}, {"POS", ""}, {"DAW", "20261201"}, {"TYM", "1"},
          {"NUK", "FV  /    5/         "}, {"DAK", "20261202"}});
  Header({{"REC", "2"}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", "9"}, {"DAW", "20261203"}, {"TYM", "6"},
          {"NUK", "pf  /    3/         "}, {"DAK", "20261201"}});
  DbTable* h = Z5SPRZ.table;
  ASSERT_EQ(d4go(h, 2), 0);
  EXPECT_EQ(synchronizuj_powiazanie_proformy(0), 0);
  EXPECT_EQ(d4recno(h), 2);
  EXPECT_EQ(f4long(d4field(h, "NRV")), 9);
  ASSERT_EQ(d4go(h, 1), 0);
  EXPECT_EQ(FieldText(h, "NUK"), "FV  /    9");
  EXPECT_EQ(FieldText(h, "DAK"), "20261203");

  ASSERT_EQ(d4go(h, 2), 0);
  EXPECT_EQ(synchronizuj_powiazanie_proformy(1), 0);
  ASSERT_EQ(d4go(h, 1), 0);
  EXPECT_EQ(f4int(d4field(h, "TYM")), 0);
  EXPECT_EQ(FieldText(h, "NUK"), "");
  EXPECT_EQ(Boxes(), "");
}

TEST_F(DocumentLinksTest, MissingOrNoPartner) {
  Header({{"REC", "1"}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", "9"}, {"TYM", "6"}, {"NUK", "PF  /    4/         "}});
  Header({{"REC", "2"}, {"TYV", "6"}, {"RE4", "N"}, {"OSM", "PF-X"}, {"TYM", "1"}, {"NUK", "nowhere"}});
  Header({{"REC", "3"}, {"TYV", "3"}, {"TYM", "1"}, {"NUK", "FV  /    9/         "}});
  DbTable* h = Z5SPRZ.table;
  ASSERT_EQ(d4go(h, 1), 0);
  EXPECT_EQ(synchronizuj_powiazanie_proformy(0), 1);
  EXPECT_NE(Boxes().find("Brak dokum.PRO FORMA"), std::string::npos);
  ASSERT_EQ(d4go(h, 2), 0);
  EXPECT_EQ(synchronizuj_powiazanie_proformy(1), 1);
  EXPECT_NE(Boxes().find("Brak dokum.VAT"), std::string::npos);
  ASSERT_EQ(d4go(h, 3), 0);   // a correction keeps no pro forma partner
  EXPECT_EQ(synchronizuj_powiazanie_proformy(0), 0);
  ASSERT_EQ(d4go(h, 1), 0);
  EXPECT_EQ(FieldText(h, "NUK"), "PF  /    4/");
}

// A correction's corrected number, typed by hand or stored: with standard
// numbers the link keeps the register's fixed width (prefix right-aligned in
// 4, number in 5, suffix in 9), and prints as the invoice's own number, from
// either form; a free number (RE4 'N') and any other text stay as they are.
TEST_F(DocumentLinksTest, CorrectedNumberIsKeptInOneFormAndPrintedFromEither) {
  const struct {
    const char* re4;
    const char* text;
    const char* stored;
    const char* printed;
  } cases[] = {
      {"T", "FV/1", "  FV/    1", "FV/1"},
      {"T", "  FV/    1", "  FV/    1", "FV/1"},
      {"T", "FV  /    1/", "  FV/    1", "FV/1"},
      {"T", "fv/12/2025", "  FV/   12/2025", "fv/12/2025"},
      {"T", "  FV/   12/2025", "  FV/   12/2025", "FV/12/2025"},
      {"T", "7", "         7", "7"},
      {"T", "12/A", "        12/A", "12/A"},
      {"T", "FV/    1", "  FV/    1", "FV/1"},
      {"T", "ABCDE/1", "ABCDE/1", "ABCDE/1"},
      {"T", "FV/0", "FV/0", "FV/0"},
      {"T", "FV/123456", "FV/123456", "FV/123456"},
      {"T", "FV/1/0123456789", "FV/1/0123456789", "FV/1/0123456789"},
      {"T", "Faktura A", "Faktura A", "Faktura A"},
      {"N", "FV/1", "FV/1", "FV/1"},
      {"N", "  FV/    1", "  FV/    1", "FV/    1"},
  };
  Header({{"REC", "1"}, {"TYV", "3"}, {"TYM", "1"}});
  DbTable* h = Z5SPRZ.table;
  DbField* nuk = d4field(h, "NUK");
  for (const auto& c : cases) {
    f4assign(d4field(h, "RE4"), c.re4);
    std::string stored = StoredLinkNumber(h, nuk, c.text);
    stored.erase(stored.find_last_not_of(' ') + 1);
    EXPECT_EQ(stored, c.stored) << c.re4 << " " << c.text;
    f4assign(nuk, c.text);
    EXPECT_EQ(PrintedLinkNumber(h, nuk), c.printed) << c.re4 << " " << c.text;
  }
}

}  // namespace
