// The payment demand over one invoice: the amount and type it proposes, the
// interest from a test double of the interest routine, and the letter
// printed as original and copy on one sheet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "env/dates.h"
#include "finance/interest.h"
#include "printouts/payment_demand.h"
#include "tables/cash_tables.h"
#include "tests/printouts/printout_fixture.h"

namespace {

// The double: one day of interest is 0.1 % of the amount; days from the
// term to the payment, none before it.
struct InterestCall {
  std::string due, paid;
  double amount = 0;
};
InterestCall lastCall;

int InterestDouble(const char* due, const char* paid, double amount, double* taxInterest, double* interest,
                   int* days) {
  lastCall = {due, paid, amount};
  *days = std::max(0, static_cast<int>(date4long(paid) - date4long(due)));
  *interest = std::round(amount * *days) / 1000.0;
  *taxInterest = 0;
  return 0;
}

class PaymentDemandTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, "20261210", 9);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NRR1", "12 1020 2629 0000 9602 0100 0001"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
    for (int (*open)(int) : {OpenZ5DNWO, OpenZ5ODUS, OpenZ5ZAPO}) ASSERT_EQ(open(0), 0);
    for (TableHandles* t : {&Z5DNWO, &Z5ODUS, &Z5ZAPO}) {
      d4close(t->table);
      t->table = nullptr;
    }
    interestRoutine = liczOdsetkiWezwania;
    liczOdsetkiWezwania = InterestDouble;
    lastCall = {};
    CharacterPrinting("WEZ");
  }
  void TearDown() override {
    liczOdsetkiWezwania = interestRoutine;
    PrintoutTest::TearDown();
  }
  // A look at the window, accepted with F2, the question answered yes,
  // F2 in the viewer and in the print window, Enter at the file name.
  std::string Demand() {
    EXPECT_EQ(HeadlessSetScript("{F9}{F2}T{F2}{F2}{ENTER}"), 0);
    d4go(Z5SPRZ.table, 1);
    try {
      EXPECT_EQ(okno_wezwania(), 0);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return Printed();
  }
  LiczenieOdsetekWezwania interestRoutine = nullptr;
};

TEST_F(PaymentDemandTest, AmountAndTypeProposed) {
  struct Case {
    const char* kind;
    const char* gross;
    const char* paid;
    int result, type;
    double amount;
  } cases[] = {
      {"1", "123", "123", 1, 2, 123},   // paid in full: the interest on the whole gross
      {"1", "123", "23", 1, 1, 100},    // partly paid: the rest
      {"1", "123", "130", 0, 0, 0},     // overpaid
      {"5", "123", "0", 0, 0, 0},       // sale without invoice
      {"6", "123", "0", 0, 0, 0},       // pro forma
      {"1", "-10", "-10", 0, 0, 0},     // a paid negative amount
  };
  for (const Case& c : cases) {
    Invoice(c.gross, {{"TYV", c.kind}, {"KZA", c.paid}});
    double amount = 0;
    int type = 0;
    EXPECT_EQ(kwota_wezwania(&amount, &type), c.result) << c.kind << " " << c.gross << " " << c.paid;
    EXPECT_EQ(type, c.type) << c.kind << " " << c.paid;
    EXPECT_DOUBLE_EQ(amount, c.amount) << c.kind << " " << c.paid;
  }
  // a correction is demanded on its change
  Invoice("0", {{"TYV", "3"}, {"KRN", "100"}, {"KRV", "23"}, {"KZA", "0"}});
  double amount = 0;
  int type = 0;
  EXPECT_EQ(kwota_wezwania(&amount, &type), 1);
  EXPECT_DOUBLE_EQ(amount, 123);
}

TEST_F(PaymentDemandTest, PaidInFullLateDemandsTheInterestOnForm74) {
  Invoice("123", {{"KZA", "123"}, {"DPL", "20261110"}});
  std::string page = Demand();
  EXPECT_NE(LineWith(seen, "typ wezwania").find("ODSETKI"), std::string::npos) << seen;
  EXPECT_EQ(lastCall.due, "20261110");
  EXPECT_EQ(lastCall.paid, "20261210");
  EXPECT_DOUBLE_EQ(lastCall.amount, 123);
  // 30 days of 0.123: the total is the interest alone
  EXPECT_NE(LineWith(seen, "RAZEM").find("       3.69"), std::string::npos) << seen;
  ExpectGolden("payment_demand_interest.txt", page);
  EXPECT_EQ(Count(page, "WEZWANIE DO ZAPŁATY ODSETEK ZA ZWŁOKĘ"), 2) << page;
  size_t original = page.find("ORYGINAŁ"), copy = page.find(" KOPIA");   // its trailing blanks end the printed line
  ASSERT_NE(original, std::string::npos) << page;
  ASSERT_NE(copy, std::string::npos) << page;
  EXPECT_LT(original, copy);
  EXPECT_EQ(Count(page, "<FF>"), 1) << page;
  EXPECT_EQ(Count(page, std::string(131, '-')), 1) << page;
  EXPECT_NE(page.find("słownie: trzy złote sześćdziesiąt dziewięć groszy"), std::string::npos) << page;
}

// The interest of the real computation over seeded tables: 30 days at a daily 0.1 %.
TEST_F(PaymentDemandTest, InterestComesFromTheRateTables) {
  liczOdsetkiWezwania = LiczOdsetki;
  ASSERT_EQ(OpenInterestTables(), 0);
  AppendRecord(Z5DNWO.table, {{"DAT", "20261111"}});
  AppendRecord(Z5ZAPO.table, {{"DAT", "20260101"}, {"STO", "14.5"}, {"TYP", "R"}});
  AppendRecord(Z5ODUS.table, {{"DAT", "20260101"}, {"STO", "0.1"}, {"TYP", "D"}});
  CloseInterestTables();
  Invoice("123", {{"KZA", "123"}, {"DPL", "20261110"}});
  std::string page = Demand();
  EXPECT_NE(LineWith(seen, "RAZEM").find("       3.69"), std::string::npos) << seen;
  EXPECT_NE(page.find("słownie: trzy złote sześćdziesiąt dziewięć groszy"), std::string::npos) << page;
}

TEST_F(PaymentDemandTest, PartlyPaidDemandsTheRestAndTheInterest) {
  Invoice("123", {{"KZA", "23"}, {"DPL", "20261120"}});
  std::string page = Demand();
  EXPECT_NE(LineWith(seen, "typ wezwania").find("NALEŻNOŚĆ"), std::string::npos) << seen;
  EXPECT_DOUBLE_EQ(lastCall.amount, 100);
  // 20 days: interest 2.00, total 102.00
  EXPECT_NE(LineWith(seen, "RAZEM").find("     102.00"), std::string::npos) << seen;
  EXPECT_NE(page.find("WEZWANIE DO ZAPŁATY NALEŻNOŚCI I ODSETEK ZA ZWŁOKĘ"), std::string::npos) << page;
  std::string row = LineWith(page, "FV/1");
  for (const char* value : {"10-12/26", "100.00", "20-11/26", " 20", "2.00", "102.00"})
    EXPECT_NE(row.find(value), std::string::npos) << value << "\n" << row;
  EXPECT_NE(LineWith(page, "Wzywamy do uregulowania").find("100.00   PLN"), std::string::npos) << page;
  EXPECT_NE(page.find("sto dwa złote"), std::string::npos) << page;
}

TEST_F(PaymentDemandTest, BeforeTheTermTheDelayIsNoDays) {
  Invoice("123", {{"KZA", "0"}, {"DPL", "20261224"}});
  std::string page = Demand();
  EXPECT_EQ(lastCall.paid, "20261224");
  EXPECT_NE(LineWith(seen, "data zapłaty").find("24-12/26"), std::string::npos) << seen;
  EXPECT_NE(LineWith(seen, "ilość dni zwłoki.").find("  0"), std::string::npos) << seen;
  // interest 0: no payment date in the table
  std::string row = LineWith(page, "FV/1");
  EXPECT_EQ(Count(row, "24-12/26"), 1) << row;
  EXPECT_NE(row.find("123.00"), std::string::npos) << row;
}

TEST_F(PaymentDemandTest, NoTermOrAnOldOneOpensNoWindow) {
  struct Case {
    const char* term;
    const char* message;
  } cases[] = {{"", "Brak daty płatności !"}, {"19921231", "Rok daty płatności < 1993 !"}};
  for (const Case& c : cases) {
    Invoice("123", {{"DPL", c.term}});
    ASSERT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
    seen.clear();
    d4go(Z5SPRZ.table, d4reccount(Z5SPRZ.table));
    EXPECT_EQ(okno_wezwania(), 0);
    EXPECT_NE(seen.find(c.message), std::string::npos) << seen;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.term;
    EXPECT_EQ(lastCall.paid, "") << c.term;
    EXPECT_EQ(Printed(), "<none>") << c.term;
  }
}

}  // namespace
