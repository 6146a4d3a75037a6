// The position calculators: net and gross chains from each slot, the value
// limit, and the quantity 0 of a gross position.
#include <gtest/gtest.h>

#include <string>

#include "retail/receipt_positions.h"
#include "tests/retail/receipt_fixture.h"

namespace {

using namespace retail;

class ReceiptCalculatorsTest : public ReceiptTest {
 protected:
  void TearDown() override {
    trybWypelniania = 1;
    ReceiptTest::TearDown();
  }
};

TEST_F(ReceiptCalculatorsTest, ChainsGiveEveryAmountOfThePosition) {
  struct Case {
    const char* name;
    int fill;
    Named given;
    int (*validator)(Get4*);
    Named expected;
  } cases[] = {
      {"gross price 10.00 x 3 at 23 %", 2, {{"ILO", "3"}, {"CBB", "10"}, {"VAS", "23"}}, ilosc_pozycji,
       {{"WAB", "30.00"}, {"WAV", "5.61"}, {"CNR", "8.13"}, {"CNB", "8.13"}, {"WNE", "24.39"}, {"CBR", "10"}}},
      {"net price 10.00 less 10 % x 3 at 23 %", 1, {{"ILO", "3"}, {"CNB", "10"}, {"RAS", "10"}, {"VAS", "23"}},
       rabat_ceny_pozycji,
       {{"CNR", "9.00"}, {"WNE", "27.00"}, {"CBR", "11.07"}, {"CBB", "12.30"}, {"WAV", "6.21"}, {"WAB", "33.21"}}},
      {"gross quantity 0 divides by 1", 2, {{"ILO", "0"}, {"CBB", "10"}, {"VAS", "23"}, {"WAB", "12.30"}},
       wartosc_pozycji, {{"WAV", "2.30"}, {"CNR", "10.00"}, {"CNB", "8.13"}, {"WNE", "10.00"}}},
      {"gross negative quantity divides by 1", 2, {{"ILO", "-2"}, {"CBB", "5"}, {"VAS", "8"}, {"WAB", "10.80"}},
       kod_vat_pozycji, {{"WAV", "0.80"}, {"CNR", "10.00"}, {"CNB", "4.63"}, {"WNE", "10.00"}}},
      {"net discounted price typed", 1, {{"ILO", "2"}, {"CNB", "10"}, {"CNR", "7.456"}, {"VAS", "8"}},
       cena_po_rabacie, {{"CNR", "7.46"}, {"WNE", "14.92"}, {"WAV", "1.19"}, {"WAB", "16.11"}, {"CBB", "10.80"}}},
      {"gross discounted price typed", 2, {{"ILO", "2"}, {"CBB", "10"}, {"CBR", "9.994"}, {"VAS", "23"}},
       cena_po_rabacie, {{"CBR", "9.99"}, {"WAB", "19.98"}, {"WAV", "3.74"}, {"WNE", "16.24"}, {"CBB", "10"}}},
      {"net VAT value typed", 1, {{"WNE", "10"}, {"WAV", "2.50"}}, wartosc_vat_pozycji, {{"WAB", "12.50"}}},
      {"gross VAT value typed", 2, {{"WAB", "12.30"}, {"WAV", "2.00"}}, wartosc_vat_pozycji, {{"WNE", "10.30"}}},
      {"net price rounded to grosz", 1, {{"ILO", "1"}, {"CNB", "10.005"}, {"VAS", "0"}}, cena_pozycji,
       {{"CNB", "10.01"}, {"WNE", "10.01"}, {"WAB", "10.01"}}},
  };
  for (const Case& c : cases) {
    trybWypelniania = c.fill;
    Position(1, c.given);
    EXPECT_EQ(c.validator(nullptr), 0) << c.name;
    for (const auto& [field, value] : c.expected)
      EXPECT_NEAR(f4double(P(field)), std::stod(value), 1e-9) << c.name << " " << field;
  }
}

// One piece at each rate, its VAT landing above and below half a grosz:
// every amount rounds to the nearest grosz, none is cut.
TEST_F(ReceiptCalculatorsTest, VatRoundsToTheNearestGroszAtEveryRate) {
  struct Case {
    int fill;
    const char* rate;
    const char* price;
    Named expected;
  } cases[] = {
      // net 0.50 x 23 % = 0.115, 0.47 x 23 % = 0.1081
      {1, "23", "0.50", {{"CNR", "0.50"}, {"WNE", "0.50"}, {"WAV", "0.12"}, {"WAB", "0.62"}, {"CBR", "0.62"}, {"CBB", "0.62"}}},
      {1, "23", "0.47", {{"CNR", "0.47"}, {"WNE", "0.47"}, {"WAV", "0.11"}, {"WAB", "0.58"}, {"CBR", "0.58"}, {"CBB", "0.58"}}},
      // 0.87 x 8 % = 0.0696, 0.81 x 8 % = 0.0648
      {1, "8", "0.87", {{"CNR", "0.87"}, {"WNE", "0.87"}, {"WAV", "0.07"}, {"WAB", "0.94"}, {"CBR", "0.94"}, {"CBB", "0.94"}}},
      {1, "8", "0.81", {{"CNR", "0.81"}, {"WNE", "0.81"}, {"WAV", "0.06"}, {"WAB", "0.87"}, {"CBR", "0.87"}, {"CBB", "0.87"}}},
      // 0.93 x 5 % = 0.0465, 0.81 x 5 % = 0.0405
      {1, "5", "0.93", {{"CNR", "0.93"}, {"WNE", "0.93"}, {"WAV", "0.05"}, {"WAB", "0.98"}, {"CBR", "0.98"}, {"CBB", "0.98"}}},
      {1, "5", "0.81", {{"CNR", "0.81"}, {"WNE", "0.81"}, {"WAV", "0.04"}, {"WAB", "0.85"}, {"CBR", "0.85"}, {"CBB", "0.85"}}},
      {1, "0", "0.93", {{"CNR", "0.93"}, {"WNE", "0.93"}, {"WAV", "0"}, {"WAB", "0.93"}, {"CBR", "0.93"}, {"CBB", "0.93"}}},
      // gross 1.00 x 23/123 = 0.18699, 0.50 x 23/123 = 0.09350
      {2, "23", "1.00", {{"CBR", "1.00"}, {"WAB", "1.00"}, {"WAV", "0.19"}, {"CNR", "0.81"}, {"CNB", "0.81"}, {"WNE", "0.81"}}},
      {2, "23", "0.50", {{"CBR", "0.50"}, {"WAB", "0.50"}, {"WAV", "0.09"}, {"CNR", "0.41"}, {"CNB", "0.41"}, {"WNE", "0.41"}}},
      // 0.90 x 8/108 = 0.06667, 1.00 x 8/108 = 0.07407
      {2, "8", "0.90", {{"CBR", "0.90"}, {"WAB", "0.90"}, {"WAV", "0.07"}, {"CNR", "0.83"}, {"CNB", "0.83"}, {"WNE", "0.83"}}},
      {2, "8", "1.00", {{"CBR", "1.00"}, {"WAB", "1.00"}, {"WAV", "0.07"}, {"CNR", "0.93"}, {"CNB", "0.93"}, {"WNE", "0.93"}}},
      // 1.00 x 5/105 = 0.04762, 0.50 x 5/105 = 0.02381
      {2, "5", "1.00", {{"CBR", "1.00"}, {"WAB", "1.00"}, {"WAV", "0.05"}, {"CNR", "0.95"}, {"CNB", "0.95"}, {"WNE", "0.95"}}},
      {2, "5", "0.50", {{"CBR", "0.50"}, {"WAB", "0.50"}, {"WAV", "0.02"}, {"CNR", "0.48"}, {"CNB", "0.48"}, {"WNE", "0.48"}}},
      {2, "0", "1.00", {{"CBR", "1.00"}, {"WAB", "1.00"}, {"WAV", "0"}, {"CNR", "1.00"}, {"CNB", "1.00"}, {"WNE", "1.00"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fill == 1 ? "net " : "gross ") + c.price + " at " + c.rate + " %");
    trybWypelniania = c.fill;
    Position(1, {{"ILO", "1"}, {c.fill == 1 ? "CNB" : "CBB", c.price}, {"VAS", c.rate}});
    EXPECT_EQ(cena_pozycji(nullptr), 0);
    for (const auto& [field, value] : c.expected) EXPECT_NEAR(f4double(P(field)), std::stod(value), 1e-9) << field;
  }
}

TEST_F(ReceiptCalculatorsTest, ValueOfAHundredMillionIsRefusedAndNothingChanges) {
  struct Case {
    int fill;
    const char* price;
    const char* word;
  } cases[] = {{1, "CNB", "netto"}, {2, "CBB", "brutto"}};
  for (const Case& c : cases) {
    trybWypelniania = c.fill;
    Position(1, {{"ILO", "20"}, {c.price, "5000000"}, {"VAS", "23"}, {"WNE", "5"}, {"WAB", "6"}});
    seen.clear();
    Keys("{F9}{ENTER}");
    EXPECT_EQ(ilosc_pozycji(nullptr), 1) << c.word;
    EXPECT_NE(seen.find(std::string("Przekroczona maks. wartość ") + c.word + " !"), std::string::npos) << seen;
    EXPECT_DOUBLE_EQ(f4double(P("WNE")), 5) << c.word;
    EXPECT_DOUBLE_EQ(f4double(P("WAB")), 6) << c.word;
  }
  trybWypelniania = 1;
  Position(1, {{"ILO", "10"}, {"CNB", "9999999.99"}});
  EXPECT_EQ(cena_pozycji(nullptr), 0) << "just below the limit";
}

}  // namespace
