// The rate lookup on a small table: the day's rate, an earlier one, none,
// the entry window and what it stores.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "env/dates.h"
#include "masterdata/exchange_rates.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/masterdata_fixture.h"

namespace {

constexpr int DAT = 0, KOD = 1, KUR = 2;

class ExchangeRatesTest : public MasterdataTest {
 protected:
  void SetUp() override {
    MasterdataTest::SetUp();
    if (HasFatalFailure()) return;
    salesOptions.askRateDate = 'N';
  }
  void TearDown() override {
    salesOptions.askRateDate = 'N';
    MasterdataTest::TearDown();
  }
  void Seed() {
    ASSERT_EQ(OpenZ5KURS(0), 0);
    Append(Z5KURS, {{DAT, "20261201"}, {KOD, "EUR"}, {KUR, "4.2"}});
    Append(Z5KURS, {{DAT, "20261210"}, {KOD, "EUR"}, {KUR, "4.25"}});
    Append(Z5KURS, {{DAT, "20261205"}, {KOD, "USD"}, {KUR, "3.9"}});
    Append(Z5KURS, {{DAT, "20261220"}, {KOD, "GBP"}, {KUR, "5.1"}});
    d4close(Z5KURS.table);
  }
  // "DAT KOD KUR" of every rate in record order, "*" before a deleted one.
  std::vector<std::string> Stored() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5KURS(0), 0);
    for (long n = 1; n <= d4reccount(Z5KURS.table); n++) {
      EXPECT_EQ(d4go(Z5KURS.table, n), 0);
      all.push_back((d4deleted(Z5KURS.table) ? "*" : "") + Trim(Z5KURS.field[DAT]) + " " + Trim(Z5KURS.field[KOD]) + " " + Trim(Z5KURS.field[KUR]));
    }
    d4close(Z5KURS.table);
    return all;
  }
  int Lookup(const std::string& keys, const char* code, const char* day, double* rate, int booking = 0) {
    env->lastGetKey = 0;
    return Run(keys, [&] { return kurs_waluty(code, date4long(day), rate, 0, booking); });
  }
};

const std::vector<std::string> kSeeded = {"20261201 EUR 4.200000", "20261210 EUR 4.250000", "20261205 USD 3.900000",
                                          "20261220 GBP 5.100000"};

TEST_F(ExchangeRatesTest, OutcomesOfTheLookup) {
  Seed();
  struct Case {
    const char* code;
    const char* day;
    char ask;      // option 129
    int booking;
    const char* keys;
    int result;
    double rate;   // 9 when left as it was
    std::vector<std::string> shown;
  } cases[] = {
      // On the day: without a box, or with the question when the option asks.
      {"EUR", "20261210", 'N', 0, "", 1, 4.25, {}},
      {"eur", "20261210", 'N', 0, "", 1, 4.25, {}},   // any letter case
      {"EUR", "20261210", 'T', 0, "{F9}T", 1, 4.25, {"Znaleziono kurs dla VAT z dnia 10-12-2026.", "Czy akceptujesz?"}},
      {"EUR", "20261210", 'T', 1, "{F9}t", 1, 4.25, {"Znaleziono kurs dla księgowania z dnia 10-12-2026."}},
      // Earlier: the last rate before the day, with both texts.
      {"EUR", "20261208", 'N', 0, "{F9}T", 1, 4.2,
       {"Nie znaleziono kursu dla VAT na dzień 08-12-2026.", "Znaleziono kurs dla VAT z dnia 01-12-2026."}},
      {"EURO", "20261231", 'N', 1, "{F9}T", 1, 4.25, {"Nie znaleziono kursu dla księgowania na dzień 31-12-2026."}},
      // None: only later rates, or another currency's earlier rate, open the window at 1.
      {"EUR", "20261130", 'N', 0, "{F9}{ESC}", -1, 9, {"Szukaj / Dopisz kurs EUR", "30-11/26", "1.000000"}},
      {"GBP", "20261215", 'N', 0, "{F9}{ESC}", -1, 9, {"Szukaj / Dopisz kurs GBP", "15-12/26", "1.000000"}},
      {"USD", "20261201", 'N', 0, "{F9}{ESC}", -1, 9, {"Szukaj / Dopisz kurs USD", "1.000000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + c.day + " " + c.keys);
    salesOptions.askRateDate = c.ask;
    ClearShots();
    double rate = 9;
    EXPECT_EQ(Lookup(c.keys, c.code, c.day, &rate, c.booking), c.result);
    EXPECT_DOUBLE_EQ(rate, c.rate);
    // Enter as the last key only when a found rate was taken.
    EXPECT_EQ(env->lastGetKey == KEY_ENTER, c.result == 1);
    for (const std::string& text : c.shown) EXPECT_TRUE(Shown(text)) << text << "\n" << seen;
  }
  EXPECT_EQ(Stored(), kSeeded);
}

TEST_F(ExchangeRatesTest, EntryWindowStoresTheRate) {
  Seed();
  std::vector<std::string> expected = kSeeded;
  double rate = 0;
  // A new currency: the rate typed is appended for the asked day.
  EXPECT_EQ(Lookup("{ENTER}3.75{ENTER}", "CHF", "20261210", &rate), 1);
  EXPECT_DOUBLE_EQ(rate, 3.75);
  expected.push_back("20261210 CHF 3.750000");
  EXPECT_EQ(Stored(), expected);
  // Declining an earlier rate: the window opens on its day and rate;
  // confirming it unchanged rewrites that record.
  EXPECT_EQ(Lookup("{ESC}{F9}{ENTER} {ENTER}", "EUR", "20261208", &rate), 1);
  EXPECT_TRUE(Shown("01-12/26")) << seen;
  EXPECT_DOUBLE_EQ(rate, 4.2);
  EXPECT_EQ(Stored(), expected);
  // Declining it and typing a day without a rate appends a new record.
  EXPECT_EQ(Lookup("{ESC}081226{ENTER}4.22{ENTER}", "EUR", "20261208", &rate), 1);
  EXPECT_DOUBLE_EQ(rate, 4.22);
  expected.push_back("20261208 EUR 4.220000");
  EXPECT_EQ(Stored(), expected);
  // A day typed that has a rate: "Znaleziono kurs" and its rate is loaded; F2 rewrites it.
  ClearShots();
  EXPECT_EQ(Lookup("201226{ENTER}{F9} 5.5{F2}", "GBP", "20261215", &rate), 1);
  EXPECT_TRUE(Shown("Znaleziono kurs GBP z 20-12-2026.")) << seen;
  EXPECT_DOUBLE_EQ(rate, 5.5);
  expected[3] = "20261220 GBP 5.500000";
  EXPECT_EQ(Stored(), expected);
  // A rate of 0 cannot be saved; Esc leaves, nothing written.
  ClearShots();
  rate = 9;
  EXPECT_EQ(Lookup("{ENTER}0{ENTER}{F9} {ESC}", "NOK", "20261210", &rate), -1);
  EXPECT_TRUE(Shown("Wartość musi być większa od zera.")) << seen;
  EXPECT_DOUBLE_EQ(rate, 9);
  EXPECT_EQ(Stored(), expected);
}

TEST_F(ExchangeRatesTest, PlnNeedsNoTable) {
  double rate = 9;
  EXPECT_EQ(Lookup("", "PLN", "20261210", &rate), 0);
  EXPECT_EQ(Lookup("", "pln", "20261210", &rate), 0);
  EXPECT_DOUBLE_EQ(rate, 9);
  EXPECT_FALSE(Exists(dir + "wspolne/Z5KURS.DBF"));
  // A table that cannot be opened: -1, the opener says why.
  std::filesystem::create_directory(dir + "wspolne/Z5KURS.DBF");
  EXPECT_EQ(Lookup("{F9} ", "EUR", "20261210", &rate), -1);
  EXPECT_DOUBLE_EQ(rate, 9);
}

}  // namespace

namespace {

class RateCatalogueTest : public ExchangeRatesTest {
 protected:
  void SetUp() override {
    ExchangeRatesTest::SetUp();
    if (HasFatalFailure()) return;
    Seed();
    ASSERT_EQ(OpenZ5KRAJ(0), 0);
    Append(Z5KRAJ, {{0, "N"}, {1, "CH"}, {2, "SZWAJCARIA"}, {3, "CHF"}});
    Append(Z5KRAJ, {{0, "T"}, {1, "DE"}, {2, "NIEMCY"}, {3, "EUR"}});
    Append(Z5KRAJ, {{0, "N"}, {1, "GB"}, {2, "WIELKA BRYTANIA"}, {3, "GBP"}});
    d4close(Z5KRAJ.table);
  }
  int Catalogue(const std::string& keys) {
    EXPECT_EQ(OpenZ5KURS(0), 0);
    int result = Run(keys + "{ESC}", kartoteka_kursow);
    d4close(Z5KURS.table);
    return result;
  }
};

TEST_F(RateCatalogueTest, AppendingRemembersTheCurrencyAndRefusesASecondRateOfADay) {
  // The working date 10-12-2026 is offered; the next form offers CHF again,
  // whose rate of that day exists by then.
  EXPECT_EQ(Catalogue("{INS}chf{ENTER}{ENTER}3.8{ENTER}{ENTER}{ENTER}{F9} {ESC}"), 0);
  EXPECT_TRUE(Shown("Taki kurs już istnieje.")) << seen;
  std::vector<std::string> expected = kSeeded;
  expected.push_back("20261210 CHF 3.800000");
  EXPECT_EQ(Stored(), expected);
  struct Case {
    const char* keys;
    const char* box;
  } refused[] = {
      {"{INS}XYZ{ENTER}{F9} {ESC}", "Niezdefiniowany kod waluty."},
      {"{INS}{ENTER}{F9} {ESC}", "Pole nie może być puste."},   // no currency remembered yet
      {"{INS}EUR{ENTER}{ENTER}{F9} {ESC}", "Taki kurs już istnieje."},
      {"{INS}EUR{ENTER}{BS}{ENTER}{F9} {ESC}", "Pole nie może być puste."},
      {"{INS}EUR{ENTER}{BS}111226{ENTER}0{ENTER}{F9} {ESC}", "Wartość musi być większa od zera."},
  };
  for (const Case& c : refused) {
    ClearShots();
    EXPECT_EQ(Catalogue(c.keys), 0) << c.keys;
    EXPECT_TRUE(Shown(c.box)) << c.keys << "\n" << seen;
    EXPECT_EQ(Stored(), expected) << c.keys;
  }
}

TEST_F(RateCatalogueTest, NewestDayFirstAndModifyKeepsItsOwnPair) {
  // The list starts on the newest day (GBP of 20-12-2026); passing its
  // own day and currency again is no second rate.
  ClearShots();
  EXPECT_EQ(Catalogue("{ALT+M}{ENTER}{ENTER}5.2{ENTER}"), 0);
  EXPECT_FALSE(Shown("Taki kurs")) << seen;
  std::vector<std::string> expected = kSeeded;
  expected[3] = "20261220 GBP 5.200000";
  EXPECT_EQ(Stored(), expected);
  // Moving the oldest rate (EUR) onto a day EUR has already is refused.
  EXPECT_EQ(Catalogue("{HOME}{ALT+M}{ENTER}101226{ENTER}{F9} {ESC}"), 0);
  EXPECT_TRUE(Shown("Taki kurs już istnieje.")) << seen;
  EXPECT_EQ(Stored(), expected);
  // Del asks; Esc keeps the newest, T deletes it.
  EXPECT_EQ(Catalogue("{DEL}{ESC}"), 0);
  EXPECT_EQ(Stored(), expected);
  EXPECT_EQ(Catalogue("{F9}{DEL}T"), 0);
  EXPECT_TRUE(Shown("Ewidencja kursów walut")) << seen;
  expected[3] = "*" + expected[3];
  EXPECT_EQ(Stored(), expected);
}

TEST_F(RateCatalogueTest, FiltersKeepTheirOwnDays) {
  struct Case {
    const char* keys;
    std::vector<std::string> shown, hidden;
  } cases[] = {
      {"f{DOWN}{ENTER}051226{ENTER}{DOWN}{ENTER}101226{ENTER}{F2}{F9}", {"05-12/26│USD", "10-12/26│EUR"},
       {"01-12/26", "20-12/26"}},
      {"f{ENTER}eur{ENTER}{F2}{F9}", {"01-12/26│EUR", "10-12/26│EUR", "FILTR !!!"}, {"USD", "GBP"}},
  };
  for (const Case& c : cases) {
    ClearShots();
    EXPECT_EQ(Catalogue(c.keys), 0) << c.keys;
    for (const std::string& text : c.shown) EXPECT_TRUE(Shown(text)) << text << "\n" << seen;
    for (const std::string& text : c.hidden) EXPECT_FALSE(Shown(text)) << text << "\n" << seen;
  }
}

}  // namespace
