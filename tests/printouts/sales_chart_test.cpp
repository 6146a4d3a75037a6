// The sales chart's monthly sums over seeded lines of the main register,
// each related to its header and account as the VAT register relates them.
#include <cstring>
#include <string>

#include "db/db_scan.h"
#include "printouts/sales_chart.h"
#include "sales/vat_register.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/filters.h"

namespace {

class SalesChartTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KONT(0), 0);
    AppendRecord(Z5KONT.table, {{"REC", "1"}, {"NUM", "700-0001"}, {"NAZ", "Sprzedaż towarów"}});
    register_.z_kontem = 1;
    register_.z_naglowkiem = 1;
    kontekstEwidencji = &register_;
    x4init(&scan, Z5SPRE.table, [](intptr_t) { return filtr_ewidencji(); }, 0);
  }
  void TearDown() override {
    kontekstEwidencji = nullptr;
    SalesTest::TearDown();
  }

  void Document(int rec, int kind, const char* contractor) {
    Header({{"REC", std::to_string(rec)}, {"TYV", std::to_string(kind)}, {"KNA", contractor}});
  }
  void SaleLine(int rec, int kind, const char* date, const char* code, int origin, Fields amounts) {
    Line({{"REK", std::to_string(rec)}, {"TYV", std::to_string(kind)}, {"DAW", date}, {"KOT", code},
          {"ZRP", std::to_string(origin)}, {"KVA", "4"}});
    SetFields(Z5SPRE.table, amounts);
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
  }
  // K1 buys goods A and service S1 in January, corrects A in March and buys
  // service A in April (rate 1); K2 buys goods A in February on account
  // 700-0001; pro forma, advance and last year's lines of K1 add nothing.
  void SeedFirm() {
    Document(1, 1, "K1");
    Document(2, 1, "K2");
    Document(3, 3, "K1");
    Document(4, 6, "K1");
    Document(5, 9, "K1");
    Document(6, 1, "K1");
    SaleLine(1, 1, "20260115", "A", 1, {{"ILO", "2"}, {"WNE", "100"}});
    SaleLine(1, 1, "20260120", "S1", 2, {{"ILO", "1"}, {"WNE", "50"}, {"KON", "1"}});
    SaleLine(2, 1, "20260210", "A", 1, {{"ILO", "5"}, {"WNE", "10"}, {"KON", "1"}});
    SaleLine(3, 3, "20260305", "A", 1, {{"ILO", "2"}, {"WNE", "100"}, {"ILK", "-1"}, {"KRN", "-40"}});
    SaleLine(4, 6, "20260305", "A", 1, {{"ILO", "9"}, {"WNE", "900"}});
    SaleLine(5, 9, "20260306", "A", 1, {{"ILO", "9"}, {"WNE", "900"}});
    SaleLine(6, 1, "20251231", "A", 1, {{"ILO", "9"}, {"WNE", "900"}});
    SaleLine(1, 1, "20260420", "A", 2, {{"ILO", "3"}, {"WNE", "30"}, {"KVA", "1"}});
  }

  // Chart line 0 by contractor K1, 1 by service A, 2 by goods A of K2, 3 by
  // the account.
  static void Criteria(parametry_wykresu& p) {
    p = parametry_wykresu{};
    std::strcpy(p.kontrahent[0], "K1");
    p.jest_kontrahent[0] = 1;
    std::strcpy(p.kod[1], "A");
    p.zrodlo[1] = 2;
    p.jest_kod[1] = 1;
    std::strcpy(p.kod[2], "A");
    p.zrodlo[2] = 1;
    p.jest_kod[2] = 1;
    std::strcpy(p.kontrahent[2], "K2");
    p.jest_kontrahent[2] = 1;
    std::strcpy(p.konto[3], "700-0001");
    p.jest_konto[3] = 1;
  }

  struct Month {
    int line, month;
    double value, quantity;
  };
  static void ExpectSums(const parametry_wykresu& p, std::initializer_list<Month> months, const char* currency) {
    double values[LINIE_WYKRESU][MIESIACE_WYKRESU] = {}, quantities[LINIE_WYKRESU][MIESIACE_WYKRESU] = {};
    for (const Month& m : months) {
      values[m.line][m.month - 1] = m.value;
      quantities[m.line][m.month - 1] = m.quantity;
    }
    for (int i = 0; i < LINIE_WYKRESU; i++)
      for (int m = 0; m < MIESIACE_WYKRESU; m++) {
        EXPECT_DOUBLE_EQ(p.wartosci[i][m], values[i][m]) << currency << " line " << i << " month " << m + 1;
        EXPECT_DOUBLE_EQ(p.ilosci[i][m], quantities[i][m]) << currency << " line " << i << " month " << m + 1;
      }
  }

  kontekst_ewidencji register_{};
  DbScanCtx scan{};
};

TEST_F(SalesChartTest, LinesSumTheirCriteriaPerMonthOfTheWorkingYear) {
  SeedFirm();
  FilterItem currency{};
  currency.type = FILTER_TEXT;
  currency.active = 1;
  char eur[] = "EUR";
  currency.text = eur;
  struct Case {
    FilterItem* item;
    const char* unit;
    double rate;   // of the lines at KVA 4
  };
  for (Case c : {Case{nullptr, "PLN", 4}, Case{&currency, "EUR", 1}}) {
    register_.elementy[FE_WALUTA] = c.item;
    parametry_wykresu p;
    Criteria(p);
    std::string unit;
    ASSERT_EQ(sumuj_wykres(&scan, &register_, &p, &unit), 0) << c.unit;
    EXPECT_EQ(unit, c.unit);
    // the contractor alone takes goods and services; the service code
    // misses the goods lines of the same code
    ExpectSums(p,
               {{0, 1, 150 * c.rate, 3}, {0, 3, -40 * c.rate, -1}, {0, 4, 30, 3}, {1, 4, 30, 3},
                {2, 2, 10 * c.rate, 5}, {3, 1, 50 * c.rate, 1}, {3, 2, 10 * c.rate, 5}},
               c.unit);
  }
}

TEST_F(SalesChartTest, AScanStoppedByAnErrorReturnsAnError) {
  SeedFirm();
  static int seen;
  seen = 0;
  x4init(&scan, Z5SPRE.table, [](intptr_t) { return ++seen == 3 ? -1 : filtr_ewidencji(); }, 0);
  parametry_wykresu p;
  Criteria(p);
  std::string unit;
  EXPECT_EQ(sumuj_wykres(&scan, &register_, &p, &unit), -1);
}

}  // namespace
