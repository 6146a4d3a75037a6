// The receipt register's filters over a seeded month (ordinary and margin
// receipts, with and without an invoice, paid and unpaid), the filters
// window, the tabulogram's description and the sums window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "app/module_entries.h"
#include "db/db_scan.h"
#include "env/code_pages.h"
#include "fiscal/printer_params.h"
#include "retail/receipt_filters.h"
#include "retail/receipts.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/filters.h"

namespace {

using namespace retail;

class ReceiptFiltersTest : public PlainRegisterTest {
 protected:
  void SetUp() override {
    PlainRegisterTest::SetUp();
    if (HasFatalFailure()) return;
    Seed();
  }
  void TearDown() override {
    zwolnij_filtry_paragonow();
    PlainRegisterTest::TearDown();
  }

  // 1 ordinary without invoice; 2 margin without invoice; 3 ordinary with an
  // unpaid invoice due 15-12; 4 margin with a paid invoice due 20-12; 5
  // ordinary with an invoice but no buyer record; 6 another prefix, 05-12.
  void Seed() {
    Receipt(1, {{"DSP", "20261201"}, {"STA", "N"}}, 10, 2.3);
    Receipt(2, {{"DSP", "20261203"}, {"STA", "T"}}, 20, 4.6);
    Receipt(3, {{"DSP", "20261210"}, {"STA", "N"}, {"TYF", "9"}, {"NRF", "1"}}, 30, 6.9);
    Buyer(3, "20261215", "N");
    Receipt(4, {{"DSP", "20261220"}, {"STA", "T"}, {"TYF", "9"}, {"NRF", "2"}}, 40, 9.2);
    Buyer(4, "20261220", "T");
    Receipt(5, {{"DSP", "20261228"}, {"STA", "N"}, {"TYF", "9"}, {"NRF", "3"}}, 50, 11.5);
    Receipt(6, {{"DSP", "20261205"}, {"STA", "N"}, {"PRE", "  KA"}}, 60, 13.8);
  }
  void Receipt(long rec, const Named& values, double net, double vat) {
    std::string n = std::to_string(net), v = std::to_string(vat), g = std::to_string(net + vat);
    Header(rec, {{"NET", n}, {"VAT", v}, {"BRU", g}});
    SetNamed(Z5PARA, values);
    ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
    Position(rec, {{"WNE", n}, {"WAV", v}, {"WAB", g}, {"VAT", "1"}});
  }
  void Buyer(long rec, const char* due, const char* paid) {
    AppendNamed(Z5PARO, {{"REK", std::to_string(rec)}, {"NA1", "NABYWCA"}, {"DPL", due}, {"ZAP", paid}});
  }

  // The filters of a register run, outside it.
  void Define() {
    std::memset(&context, 0, sizeof context);
    context.relateBuyer = 1;
    kontekstParagonow = &context;
    definiuj_filtry_paragonow();
  }
  FilterItem& Item(int i) { return filtry_paragonow()->items[i]; }
  void On(int i, const char* value = nullptr) {
    FilterItem& item = Item(i);
    item.active = 1;
    if (value && item.type == FILTER_DATE) std::snprintf(item.date, sizeof item.date, "%s", value);
    if (value && item.type == FILTER_TEXT) std::memcpy(item.text, value, std::strlen(value));
    filtry_paragonow()->off = 0;
  }
  std::set<long> Accepted() {
    std::set<long> found;
    for (long r = 1; r <= d4reccount(Z5PARA.table); r++) {
      d4go(Z5PARA.table, r);
      int rc = filtr_paragonow(0);
      EXPECT_GE(rc, 0);
      if (rc == X4_ACCEPT) found.insert(f4long(H("REC")));
    }
    return found;
  }


  kontekst_paragonow context;
};

enum { OD, DO, PREFIKS, PARAGONY, FAKTURY, PLATNOSC, NIEZAPLACONE, ZWYKLY, MARZA };

struct Case {
  const char* name;
  std::initializer_list<std::pair<int, const char*>> on;
  std::set<long> accepted;
};

TEST_F(ReceiptFiltersTest, EachFilterAloneAndTogether) {
  const Case cases[] = {
      {"none", {}, {1, 2, 3, 4, 5, 6}},
      {"date from", {{OD, "20261205"}}, {3, 4, 5, 6}},
      {"date to", {{DO, "20261205"}}, {1, 2, 6}},
      {"prefix", {{PREFIKS, "  KA"}}, {6}},
      {"receipts", {{PARAGONY, nullptr}}, {1, 2, 6}},
      {"invoices", {{FAKTURY, nullptr}}, {3, 4, 5}},
      {"payment due by, no buyer record never passes", {{PLATNOSC, "20261216"}}, {3}},
      {"unpaid never a receipt without an invoice", {{NIEZAPLACONE, nullptr}}, {3, 5}},
      {"ordinary", {{ZWYKLY, nullptr}}, {1, 3, 5, 6}},
      {"margin", {{MARZA, nullptr}}, {2, 4}},
      {"ordinary and margin show none", {{ZWYKLY, nullptr}, {MARZA, nullptr}}, {}},
      {"receipts and invoices show none", {{PARAGONY, nullptr}, {FAKTURY, nullptr}}, {}},
      {"a date range and margin", {{OD, "20261202"}, {DO, "20261231"}, {MARZA, nullptr}}, {2, 4}},
  };
  for (const Case& c : cases) {
    Define();
    for (auto [item, value] : c.on) On(item, value);
    EXPECT_EQ(Accepted(), c.accepted) << c.name;
    zwolnij_filtry_paragonow();
  }
}

TEST_F(ReceiptFiltersTest, TheFilterPositionsTheBuyerRecordOrBlanksIt) {
  Define();
  GoHeader(3);
  EXPECT_EQ(filtr_paragonow(0), X4_ACCEPT);
  EXPECT_EQ(Trim(d4field(Z5PARO.table, "NA1")), "NABYWCA");
  GoHeader(5);
  EXPECT_EQ(filtr_paragonow(0), X4_ACCEPT);
  EXPECT_EQ(Trim(d4field(Z5PARO.table, "NA1")), "");
}

TEST_F(ReceiptFiltersTest, TheDescriptionNamesTheConfirmedFiltersInItsOrder) {
  Define();
  EXPECT_EQ(opis_filtrow_paragonow(), "");
  On(MARZA);
  On(OD, "20261202");
  On(PREFIKS, "  PA");
  On(NIEZAPLACONE);
  EXPECT_EQ(opis_filtrow_paragonow(), Utf8ToMazText(" id. nr:PA od:02-12-2026 nie zapł. marża "));
}

// The window: the last item is "marża", F2 confirms.
constexpr const char* MARGIN_CONFIRMED = "f{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F2}";

TEST_F(ReceiptFiltersTest, ConfirmedFiltersNarrowTheList) {
  Run((std::string(MARGIN_CONFIRMED) + "{F9}{ESC}").c_str());
  EXPECT_TRUE(Shown("FILTR !!!")) << seen;
  EXPECT_TRUE(Shown("  PA/    2 ")) << seen;
  EXPECT_FALSE(Shown("  PA/    1 ")) << seen;
}

TEST_F(ReceiptFiltersTest, TheSumsWindowCountsAndSumsEachGroup) {
  // margin receipts 2 (no invoice) and 4 (invoice): net 20 and 40
  Run("a{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F2}{F9}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("Sumy paragonów")) << seen;
  EXPECT_TRUE(Shown("ilość paragonów.    1 - VAT       1 - PARA.")) << seen;
  EXPECT_TRUE(Shown("netto........        40.00           20.00           60.00")) << seen;
  EXPECT_TRUE(Shown("brutto.......        49.20           24.60           73.80")) << seen;
}

TEST_F(ReceiptFiltersTest, EscInTheWindowKeepsTheFiltersAndSumsNothing) {
  // Margin confirmed, then the sums' window left with Esc: no sums; Esc to
  // the question about removing the filters keeps them.
  Run((std::string(MARGIN_CONFIRMED) + "a{ESC}{ESC}{F9}{ESC}").c_str());
  EXPECT_FALSE(Shown("Sumy paragonów")) << seen;
  EXPECT_TRUE(Shown("FILTR !!!")) << seen;
  EXPECT_FALSE(Shown("  PA/    1 ")) << seen;
}

TEST_F(ReceiptFiltersTest, AFaultyReceiptIsReportedAndNoSumsAreShown) {
  GoHeader(2);
  f4assign_double(H("BRU"), 99);
  ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
  Run("a{F2}{F9}t{F9}{ENTER}{ESC}");
  EXPECT_TRUE(Shown("Nie zgadza się podsumowanie dokumentu z sumą pozycji !")) << seen;
  EXPECT_TRUE(Shown("2 z dnia 03-12-2026")) << seen;
  EXPECT_TRUE(Shown("Błąd dokumentów !")) << seen;
  EXPECT_FALSE(Shown("ilość paragonów.")) << seen;
}

TEST_F(ReceiptFiltersTest, EscAtAFaultyReceiptStopsTheSumsWithoutAWarning) {
  GoHeader(2);
  f4assign_double(H("NET"), 99);
  ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
  Run("a{F2}{ESC}{F9}{ESC}");
  EXPECT_FALSE(Shown("Błąd dokumentów !")) << seen;
  EXPECT_FALSE(Shown("ilość paragonów.")) << seen;
}

TEST_F(ReceiptFiltersTest, TheTabulogramRunsOnlyAfterTheFiltersAreConfirmed) {
  Run("rt{ESC}{F9}{ESC}{ESC}");
  EXPECT_FALSE(Shown("WYBIERZ DANE DO WYDRUKU")) << seen;
  seen.clear();
  Run("rt{F2}{F9}{ESC}{ESC}{ESC}");
  EXPECT_TRUE(Shown("WYBIERZ DANE DO WYDRUKU")) << seen;
  EXPECT_TRUE(Shown("numer~paragonu")) << seen;
}

}  // namespace
