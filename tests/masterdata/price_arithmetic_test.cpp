// Prices of goods and services: the form rules on the current record, F7
// in a form of field gets, and the reduction and recalculation over a
// browse's filtered list.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "masterdata/price_arithmetic.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/price_fixture.h"
#include "ui/get4.h"
#include "ui/window4.h"

namespace {

class PriceArithmeticTest : public PriceTest {
 protected:
  void SetUp() override {
    PriceTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    ASSERT_EQ(OpenZ5USLU(0), 0);
  }
  // Runs a validator as the form does when the operator leaves `field`.
  static int Leave(TableHandles& set, int (*validator)(Get4*), const char* field) {
    Get4 get{};
    get.field = d4field(set.table, field);
    get.data = f4ptr(get.field);
    get.dataWidth = static_cast<int32_t>(f4len(get.field));
    get.type = GET_NUMBER;
    return validator(&get);
  }
  void ExpectNamed(TableHandles& set, const Named& values, const std::string& what) {
    for (const auto& [name, value] : values)
      EXPECT_NEAR(Num(set, name), std::stod(value), 1e-9) << what << ": " << name;
  }
};

TEST_F(PriceArithmeticTest, GoodsFormRules) {
  auto leave = [](int (*validator)(Get4*), const char* field) {
    return [=] { EXPECT_EQ(Leave(Z5TOWA, validator, field), 0) << field; };
  };
  auto margin = [](double m, const char* net, const char* gross) {
    return [=] { cena_z_marzy(m, d4field(Z5TOWA.table, net), d4field(Z5TOWA.table, gross)); };
  };
  struct Case {
    const char* what;
    char round;
    Named before;
    std::function<void()> rule;
    Named after;
  } cases[] = {
      {"purchase net, rounded", 'T', {{"ILO", "2"}, {"CZN", "10.005"}, {"VZS", "23"}},
       leave(GoodsPurchaseNetLeft, "CZN"), {{"CZN", "10.01"}, {"CZB", "12.31"}, {"WZN", "20.02"}, {"WZB", "24.62"}}},
      {"purchase net, 4 places", 'N', {{"ILO", "2"}, {"CZN", "10.005"}, {"VZS", "23"}},
       leave(GoodsPurchaseNetLeft, "CZN"), {{"CZN", "10.005"}, {"CZB", "12.3062"}, {"WZN", "20.01"}, {"WZB", "24.61"}}},
      {"purchase gross", 'T', {{"ILO", "1"}, {"CZB", "12.304"}, {"VZS", "23"}},
       leave(GoodsPurchaseGrossLeft, "CZB"), {{"CZB", "12.3"}, {"CZN", "10"}, {"WZN", "10"}, {"WZB", "12.3"}}},
      {"purchase rate chosen: not rounded", 'T', {{"ILO", "1"}, {"CZN", "10.005"}, {"VZS", "23"}},
       GoodsPurchaseRateChosen, {{"CZN", "10.005"}, {"CZB", "12.3062"}, {"WZB", "12.31"}}},
      {"margin, net given", 'T', {{"ILO", "2"}, {"CZN", "10"}, {"VSS", "23"}, {"TRC", "T"}}, margin(25, "CSN", "CSB"),
       {{"CSN", "12.5"}, {"CSB", "15.38"}, {"WSN", "25"}, {"WSB", "30.76"}}},
      {"margin, gross given", 'T', {{"ILO", "1"}, {"CZN", "10"}, {"VSS", "23"}, {"TRC", "N"}}, margin(25, "CBN", "CBB"),
       {{"CBB", "15.38"}, {"CBN", "12.5"}, {"WBN", "12.5"}, {"WBB", "15.38"}}},
      {"margin below -100 %", 'T', {{"ILO", "1"}, {"CZN", "10"}, {"VSS", "23"}, {"TRC", "N"}, {"CCN", "5"}},
       margin(-150, "CCN", "CCB"), {{"CCB", "0"}, {"CCN", "0"}, {"WCN", "0"}}},
      {"net left, net given", 'T', {{"ILO", "1"}, {"CBN", "100.004"}, {"VSS", "8"}, {"TRC", "T"}},
       leave(GoodsSellingNetLeft, "CBN"), {{"CBB", "108"}, {"WBN", "100"}, {"WBB", "108"}}},
      {"net left, gross given", 'T', {{"ILO", "1"}, {"CBN", "100"}, {"CBB", "50"}, {"VSS", "8"}, {"TRC", "N"}},
       leave(GoodsSellingNetLeft, "CBN"), {{"CBB", "50"}, {"WBN", "100"}, {"WBB", "50"}}},
      {"gross left, gross given", 'N', {{"ILO", "1"}, {"CCB", "10"}, {"VSS", "23"}, {"TRC", "N"}},
       leave(GoodsSellingGrossLeft, "CCB"), {{"CCN", "8.1301"}, {"WCN", "8.13"}}},
      {"stock left: negative stock has no value", 'T', {{"ILO", "-1"}, {"CZN", "5"}, {"CSN", "5"}, {"CCB", "5"}},
       leave(GoodsStockLeft, "ILO"), {{"WZN", "0"}, {"WSN", "0"}, {"WCB", "0"}}},
      {"sales rate chosen, gross given", 'T',
       {{"ILO", "1"}, {"CSB", "123"}, {"CBB", "246"}, {"CCB", "12.3"}, {"VSS", "23"}, {"TRC", "N"}},
       GoodsSalesRateChosen, {{"CSN", "100"}, {"CBN", "200"}, {"CCN", "10"}, {"WCN", "10"}}},
  };
  for (const Case& c : cases) {
    warehouseOptions.roundPrices = c.round;
    ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
    d4blank(Z5TOWA.table);
    SetNamed(Z5TOWA, c.before);
    c.rule();
    ExpectNamed(Z5TOWA, c.after, c.what);
  }
}

TEST_F(PriceArithmeticTest, NegativePriceRefused) {
  struct Case {
    const char* field;
    int (*validator)(Get4*);
  } cases[] = {{"CZN", GoodsPurchaseNetLeft},
               {"CZB", GoodsPurchaseGrossLeft},
               {"CSN", GoodsSellingNetLeft},
               {"CCB", GoodsSellingGrossLeft}};
  for (const Case& c : cases) {
    ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
    d4blank(Z5TOWA.table);
    SetNamed(Z5TOWA, {{"VZS", "23"}, {"VSS", "23"}, {"TRC", "T"}, {c.field, "-1"}});
    ASSERT_EQ(HeadlessSetScript("{ENTER}"), 0);
    EXPECT_NE(Leave(Z5TOWA, c.validator, c.field), 0) << c.field;
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.field << ": the message took the key";
    EXPECT_EQ(Num(Z5TOWA, c.field), -1) << c.field;
    EXPECT_EQ(Num(Z5TOWA, "CZB") + Num(Z5TOWA, "CSB"), c.field == std::string("CZB") ? -1 : 0) << c.field;
  }
}

TEST_F(PriceArithmeticTest, ServiceFormRules) {
  warehouseOptions.roundPrices = 'T';   // services are never rounded
  auto leave = [](int (*validator)(Get4*), const char* field) {
    return [=] { EXPECT_EQ(Leave(Z5USLU, validator, field), 0) << field; };
  };
  struct Case {
    const char* what;
    Named before;
    std::function<void()> rule;
    Named after;
  } cases[] = {
      {"purchase net", {{"CZN", "10.005"}, {"VSZ", "23"}}, leave(ServicePurchaseNetLeft, "CZN"), {{"CZB", "12.3062"}}},
      {"purchase gross", {{"CZB", "10"}, {"VSZ", "23"}}, leave(ServicePurchaseGrossLeft, "CZB"), {{"CZN", "8.1301"}}},
      {"purchase rate", {{"CZN", "10"}, {"VSZ", "8"}}, ServicePurchaseRateChosen, {{"CZB", "10.8"}}},
      {"net left, net given", {{"CBN", "10.005"}, {"VSS", "23"}, {"TRC", "T"}}, leave(ServiceSellingNetLeft, "CBN"),
       {{"CBB", "12.3062"}}},
      {"net left, gross given", {{"CBN", "10"}, {"CBB", "5"}, {"VSS", "23"}, {"TRC", "N"}},
       leave(ServiceSellingNetLeft, "CBN"), {{"CBB", "5"}}},
      {"gross left, gross given", {{"CCB", "12.3"}, {"VSS", "23"}, {"TRC", "N"}}, leave(ServiceSellingGrossLeft, "CCB"),
       {{"CCN", "10"}}},
      // the net prices follow the gross ones; the purchase prices stay
      {"sales rate, gross given",
       {{"CSB", "123"}, {"CBB", "24.6"}, {"CCB", "1"}, {"VSS", "23"}, {"TRC", "N"}, {"CZN", "1"}, {"CZB", "2"}},
       ServiceSalesRateChosen, {{"CSN", "100"}, {"CBN", "20"}, {"CCN", "0.813"}, {"CZN", "1"}, {"CZB", "2"}}},
      {"sales rate, net given", {{"CSN", "100"}, {"CSB", "1"}, {"VSS", "8"}, {"TRC", "T"}}, ServiceSalesRateChosen,
       {{"CSB", "108"}, {"CBB", "0"}}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(d4append_start(Z5USLU.table, 0), 0);
    d4blank(Z5USLU.table);
    SetNamed(Z5USLU, c.before);
    c.rule();
    ExpectNamed(Z5USLU, c.after, c.what);
  }
}

// A form of field gets as the goods form lays them: the key routine and
// validator of each as the form sets them.
class PriceFormTest : public PriceArithmeticTest {
 protected:
  struct FormGet {
    const char* field;
    GetKeyRoutine keys;
    int32_t data;
    GetValidator validator;
  };
  void Run(const std::vector<FormGet>& gets, const char* script) {
    int window = w4define(2, 0, 20, 79);
    ASSERT_GE(window, 0);
    w4activate(window);
    std::vector<DbField*> fields(gets.size());
    for (size_t i = 0; i < gets.size(); i++) {
      fields[i] = d4field(Z5TOWA.table, gets[i].field);
      ASSERT_NE(g4field(static_cast<int>(i), 0, &fields[i]), nullptr);
      g4call(gets[i].keys, gets[i].data);
      g4valid(gets[i].validator);
    }
    ASSERT_EQ(HeadlessSetScript(script), 0);
    g4read();
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    w4close(window);
  }
};

TEST_F(PriceFormTest, F7InAMarginPricesItsLevelAndPassesItsPrices) {
  ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
  d4blank(Z5TOWA.table);
  SetNamed(Z5TOWA, {{"ILO", "1"}, {"CZN", "10"}, {"VSS", "23"}, {"TRC", "T"}, {"MRB", "5"}});
  // F7 in MRB: the next key typed lands in the get after CBB
  Run({{"MRB", GoodsMarginKeys, 1, nullptr},
       {"CBN", nullptr, 0, GoodsSellingNetLeft},
       {"CBB", nullptr, 0, GoodsSellingGrossLeft},
       {"UWA", nullptr, 0, nullptr}},
      "25{F7}x{ENTER}");
  ExpectNamed(Z5TOWA, {{"MRB", "25"}, {"CBN", "12.5"}, {"CBB", "15.38"}, {"WBN", "12.5"}, {"WBB", "15.38"}}, "F7");
  EXPECT_EQ(Str(Z5TOWA, "UWA"), "x");
}

TEST_F(PriceFormTest, F7InThePurchasePriceRepricesEveryLevel) {
  ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
  d4blank(Z5TOWA.table);
  SetNamed(Z5TOWA, {{"ILO", "1"}, {"VZS", "23"}, {"VSS", "23"}, {"TRC", "T"}, {"MRA", "10"}, {"MRB", "20"},
                    {"MRC", "-50"}});
  // the cursor stays in CZN: the Enter after F7 leaves it
  Run({{"CZN", GoodsPurchaseNetKeys, 0, GoodsPurchaseNetLeft}, {"UWA", nullptr, 0, nullptr}},
      "20{F7}{ENTER}y{ENTER}");
  ExpectNamed(Z5TOWA,
              {{"CZN", "20"}, {"CZB", "24.6"}, {"CSN", "22"}, {"CSB", "27.06"}, {"CBN", "24"}, {"CCN", "10"},
               {"CCB", "12.3"}, {"WCB", "12.3"}},
              "F7");
  EXPECT_EQ(Str(Z5TOWA, "UWA"), "y");
}

// The goods of the reduction and the recalculation, by code.
long Record(const char* code) {
  d4tag_select(Z5TOWA.table, Z5TOWA.tag[0]);
  return d4seek(Z5TOWA.table, code) == 0 ? d4recno(Z5TOWA.table) : -1;
}

int SkipsG9(intptr_t) { return std::string(f4ptr(d4field(Z5TOWA.table, "KOD")), 2) == "G9" ? X4_REJECT : X4_ACCEPT; }

Named With(Named values, const Named& more) {
  values.insert(values.end(), more.begin(), more.end());
  return values;
}

TEST_F(PriceArithmeticTest, GoodsReduction) {
  warehouseOptions.markChanges = 'T';
  warehouseOptions.marginPricing = 'T';
  const Named prices = {{"CSN", "10"}, {"CSB", "12.3"}, {"CBN", "10"}, {"CBB", "12.3"}, {"CCN", "10"},
                        {"CCB", "12.3"}, {"MRA", "5"}, {"MRB", "5"}, {"MRC", "5"}};
  AppendNamed(Z5TOWA, With(prices, {{"KOD", "G1"}, {"ILO", "2"}, {"CZN", "10"}}));
  AppendNamed(Z5TOWA, {{"KOD", "G2"}, {"ILO", "-2"}, {"CZN", "0"}, {"CSN", "5"}, {"CSB", "6.15"}, {"MRA", "7"}});
  AppendNamed(Z5TOWA, {{"KOD", "G3"}, {"ILO", "1"}, {"CZN", "1"}, {"CSN", "5.5"}, {"MRA", "3"}});
  AppendNamed(Z5TOWA, With(prices, {{"KOD", "G9"}, {"ILO", "1"}, {"CZN", "10"}}));
  d4unlock(Z5TOWA.table);

  // A +100 %, B -100 %, C -150 %; both questions answered
  RunBrowse(Z5TOWA, {{" Przecena ", 'p', przecena_towarow}}, "p100{ENTER}-100{ENTER}-150{F9}{ENTER}TT", SkipsG9);
  for (const char* row : {"Stopa przeceny dla A  -  100.0 [%]", "Stopa przeceny dla B  - -100.0 [%]",
                          "Stopa przeceny dla C  - -150"})
    EXPECT_TRUE(Shown(row)) << row << "\n" << seen;

  struct Case {
    const char* code;
    Named after;
    bool marked;
  } cases[] = {
      // prices and plain values; B and C to 0, whose margin of -100 % is not stored
      {"G1",
       {{"CSN", "20"}, {"CSB", "24.6"}, {"WSN", "40"}, {"WSB", "49.2"}, {"CBN", "0"}, {"CBB", "0"}, {"CCN", "0"},
        {"CCB", "0"}, {"WCB", "0"}, {"MRA", "100"}, {"MRB", "5"}, {"MRC", "5"}},
       true},
      // negative stock gives negative values; no purchase price keeps the margins
      {"G2", {{"CSN", "10"}, {"CSB", "12.3"}, {"WSN", "-20"}, {"WSB", "-24.6"}, {"MRA", "7"}}, true},
      // a margin of 1000 % is not stored; an unchanged CSB sets no mark
      {"G3", {{"CSN", "11"}, {"CSB", "0"}, {"MRA", "3"}}, false},
      // the filter passes it over
      {"G9", {{"CSN", "10"}, {"CBB", "12.3"}}, false},
  };
  for (const Case& c : cases) {
    ASSERT_GT(Record(c.code), 0) << c.code;
    ExpectNamed(Z5TOWA, c.after, c.code);
    EXPECT_EQ(Str(Z5TOWA, "ZNA") == "\x9D", c.marked) << c.code;
  }
}

TEST_F(PriceArithmeticTest, GoodsReductionLeftOrDeclined) {
  AppendNamed(Z5TOWA, {{"KOD", "G1"}, {"CSN", "10"}});
  d4unlock(Z5TOWA.table);
  // Esc in the rates window; Esc to the question; F2 is not Enter
  for (const char* keys : {"p50{ESC}", "p50{ENTER}{ENTER}{ENTER}{ESC}", "p50{F2}"}) {
    RunBrowse(Z5TOWA, {{" Przecena ", 'p', przecena_towarow}}, keys);
    ASSERT_GT(Record("G1"), 0);
    EXPECT_EQ(Num(Z5TOWA, "CSN"), 10) << keys;
  }
}

TEST_F(PriceArithmeticTest, GoodsRecalculation) {
  AppendNamed(Z5TOWA, {{"KOD", "G1"}, {"ILO", "-2"}, {"VZT", "1"}, {"CZN", "10"}, {"WZN", "5"}, {"VST", "2"},
                       {"TRC", "T"}, {"CSN", "100"}, {"CBN", "10.005"}, {"WSN", "7"}});
  // code 14 and the empty code take the basic rate
  AppendNamed(Z5TOWA, {{"KOD", "G2"}, {"ILO", "1"}, {"VZT", "0"}, {"CZN", "10"}, {"VST", "14"}, {"TRC", "N"},
                       {"CSB", "123"}});
  AppendNamed(Z5TOWA, {{"KOD", "G3"}, {"ILO", "1"}, {"VZT", "13"}, {"CZN", "10"}, {"VST", "12"}, {"TRC", "T"},
                       {"CSN", "100"}});
  d4unlock(Z5TOWA.table);
  RunBrowse(Z5TOWA, {{" Przelicz ", 'p', przelicz_towary}}, "pT");
  struct Case {
    const char* code;
    Named after;
  } cases[] = {
      {"G1",
       {{"VZS", "23"}, {"CZB", "12.3"}, {"WZN", "0"}, {"WZB", "0"}, {"VSS", "8"}, {"CSB", "108"}, {"CBB", "10.8054"},
        {"WSN", "0"}, {"WSB", "0"}}},
      {"G2", {{"VZS", "23"}, {"CZB", "12.3"}, {"WZB", "12.3"}, {"VSS", "23"}, {"CSN", "100"}, {"WSN", "100"}}},
      {"G3", {{"VZS", "0"}, {"CZB", "10"}, {"VSS", "4"}, {"CSB", "104"}}},
  };
  for (const Case& c : cases) {
    ASSERT_GT(Record(c.code), 0) << c.code;
    ExpectNamed(Z5TOWA, c.after, c.code);
  }
}

TEST_F(PriceArithmeticTest, ServicesReductionAndRecalculation) {
  AppendNamed(Z5USLU, {{"KOD", "U1"}, {"CSN", "10"}, {"CSB", "12.3"}, {"CBN", "10"}, {"CBB", "12.3"}, {"CCN", "10"},
                       {"CCB", "12.3"}, {"CZN", "3"}, {"CZB", "4"}, {"VTS", "14"}, {"TRC", "N"}});
  d4unlock(Z5USLU.table);
  RunBrowse(Z5USLU, {{" Przecena ", 'p', przecena_uslug}}, "p-50{ENTER}-150{ENTER}{ENTER}T");
  d4top(Z5USLU.table);
  ExpectNamed(Z5USLU,
              {{"CSN", "5"}, {"CSB", "6.15"}, {"CBN", "0"}, {"CBB", "0"}, {"CCN", "10"}, {"CCB", "12.3"}, {"CZN", "3"}},
              "reduction");
  RunBrowse(Z5USLU, {{" Przelicz ", 'p', przelicz_uslugi}}, "pT");
  d4top(Z5USLU.table);
  ExpectNamed(Z5USLU, {{"VSS", "23"}, {"CSN", "5"}, {"CCN", "10"}, {"CZN", "3"}, {"CZB", "4"}}, "recalculation");
}

}  // namespace
