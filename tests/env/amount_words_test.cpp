#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "env/amount_words.h"
#include "env/code_pages.h"

namespace {

TEST(AmountWords, Words) {
  struct Case {
    double amount;
    const char* currency;
    const char* expected;   // UTF-8
  };
  for (const Case& c : {
           Case{1.00, nullptr, "jeden złotych zero groszy "},
           Case{12345.67, nullptr,
                "dwanaście tysięcy trzysta czterdzieści pięć złotych sześćdziesiąt siedem groszy "},
           Case{0, nullptr, "zero złotych zero groszy "},
           Case{0.02, "PLN", "zero złotych dwa grosze "},
           Case{22.22, nullptr, "dwadzieścia dwa złote dwadzieścia dwa grosze "},
           Case{13.14, nullptr, "trzynaście złotych czternaście groszy "},
           Case{2000, nullptr, "dwa tysiące złotych zero groszy "},
           Case{1000, nullptr, "jeden tysiąc złotych zero groszy "},
           Case{5012000, nullptr, "pięć milionów dwanaście tysięcy złotych zero groszy "},
           Case{1001002003, nullptr, "jeden miliard jeden milion dwa tysiące trzy złote zero groszy "},
           Case{-5.5, nullptr, "minus pięć złotych pięćdziesiąt groszy "},
           Case{3.10, "EUR", "trzy EUR dziesięć "},
           Case{-0.001, nullptr, "zero złotych zero groszy "},
           // Grosze from the amount rounded to whole grosze, as the printed figure shows it.
           Case{1.005, nullptr, "jeden złotych jeden groszy "},
           Case{12.01, nullptr, "dwanaście złotych jeden groszy "},
           Case{1.16, nullptr, "jeden złotych szesnaście groszy "},
           Case{2.675, nullptr, "dwa złote sześćdziesiąt osiem groszy "},
           Case{0.995, nullptr, "jeden złotych zero groszy "},
           Case{19.999, nullptr, "dwadzieścia złotych zero groszy "},
       }) {
    EXPECT_EQ(std::string(slownie(c.amount, c.currency)), Utf8ToMazText(c.expected)) << c.amount;
  }
}

TEST(AmountWords, HugeAmountsStayInTheBuffer) {
  // The longest words of every group, in the widest amount a numeric field holds.
  std::string words = slownie(-977777777777777777777.0, nullptr);
  EXPECT_LT(words.size(), static_cast<size_t>(SLOWNIE_BUFFER_SIZE));
  EXPECT_EQ(words.rfind(Utf8ToMazText("minus dziewięćset siedemdziesiąt siedem trylionów "), 0), 0u) << words;
  EXPECT_EQ(words.substr(words.size() - 7), "groszy ");
  std::string biggest = slownie(99999999999999999999.0, nullptr);   // 1e20 as a double
  EXPECT_EQ(biggest, Utf8ToMazText("sto trylionów złotych zero groszy "));
  for (double beyond : {1.5e21, 1e300, -1e300, std::nan("")}) {
    std::string text = slownie(beyond, "PLN");
    EXPECT_EQ(text.find_first_not_of('*'), std::string::npos) << beyond;
    EXPECT_FALSE(text.empty());
  }
}

TEST(AmountWords, DigitByDigit) {
  char out[64];
  EXPECT_EQ(std::string(slownie_3("123.45", out, 6, nullptr)), Utf8ToMazText("jed*dwa*trz*zł 45/100"));
  EXPECT_EQ(std::string(slownie_3(" 90,05", out, 6, "EUR")), "dzi*zer* EUR 05/100");
  EXPECT_EQ(std::string(slownie_3("  12", out, 4, nullptr)), "jed*dwa*");
  EXPECT_EQ(std::string(slownie_3("5.67890", out, 3, nullptr)), Utf8ToMazText("pię*zł 6/100"));
}

}  // namespace

namespace {

TEST(AmountWords, TwoLinesOfWords) {
  char line1[128], line2[128];
  std::memset(line1, '#', sizeof line1);
  std::memset(line2, '#', sizeof line2);
  pisz_slownie(line1, line2, slownie(12345.67, nullptr), 40);
  std::string words = Utf8ToMazText(
      "dwanaście tysięcy trzysta czterdzieści pięć złotych sześćdziesiąt siedem groszy ");
  std::string first(line1, 40), second(line2, 40);
  EXPECT_EQ(line1[40], '#');
  EXPECT_EQ(line2[40], '#');
  EXPECT_EQ(first, words.substr(0, 39) + " ");   // broken at a blank
  EXPECT_EQ(second, words.substr(39, 40));
  std::memset(line1, '#', sizeof line1);
  pisz_slownie(line1, line2, "a", 120);   // at most 100 wide
  EXPECT_EQ(line1[99], ' ');
  EXPECT_EQ(line1[100], '#');
}

}  // namespace
