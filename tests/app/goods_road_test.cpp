// The goods catalogue on the real program, headless: START into a firm,
// " Magazyn " > " Towary ", a new goods record with its purchase price
// rounded, the mark key, and the stock value of the list.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/program_road.h"

namespace {

using GoodsRoadTest = ProgramRoadTest;

TEST_F(GoodsRoadTest, NewGoodsMarkedAndTheStockValue) {
  RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}");
  // From the code field fourteen fields down to the purchase price; F2 and
  // the save question store the goods; F6 marks them; " Suma ".
  std::string keys = std::string(LOGO) + "s{ENTER}mt{INS}T1";
  for (int i = 0; i < 14; i++) keys += "{DOWN}";
  keys += "10.005{ENTER}";
  std::string form = Run(keys).screen;
  EXPECT_NE(form.find("10.0100"), std::string::npos) << form;
  EXPECT_NE(form.find("12.3100"), std::string::npos) << form;
  std::string list = Run(keys + "{F2}t{F6}").screen;
  EXPECT_NE(list.find("Spis towarów"), std::string::npos) << list;
  EXPECT_NE(list.find("¥│A│  │T1 "), std::string::npos) << list;
  Outcome summed = Run(keys + "{F2}t{F6}u");
  EXPECT_EQ(summed.exit, 3) << "the script ends while the page waits";
  const std::string& sum = summed.screen;
  EXPECT_NE(sum.find("WARTOŚĆ SPISU"), std::string::npos) << sum;
  EXPECT_NE(sum.find("Wartość wg cen zakupu ........         10.01          12.31"), std::string::npos) << sum;
}

}  // namespace
