// Interest through the real program: a day off and a statutory rate entered
// in their browses under START > Kartoteki > " Odsetki ", then " Oblicz ".
#include <gtest/gtest.h>

#include <string>

#include "tests/sales/sales_road.h"

namespace {

using InterestRoadTest = SalesRoadTest;

TEST_F(InterestRoadTest, RatesEnteredThenInterestComputed) {
  MakeFirm();
  std::string keys = std::string(LOGO) + "s{ENTER}kd" + "d{HOME}d060326{ENTER}T{ESC}{ESC}{ESC}" +
                     "u{HOME}d010126{ENTER}0.05{ENTER}dT{ESC}{ESC}{ESC}" +
                     "o020326{ENTER}010426{ENTER}1000{ENTER}{ENTER}";
  std::string screen = Run(keys).screen;
  // no tax-arrears table: its interest is 0; 30 days at 0.05 % a day
  EXPECT_NE(screen.find("Ilość dni zaległości -    30"), std::string::npos) << screen;
  EXPECT_NE(screen.find("Kwota odsetek -       15.00"), std::string::npos) << screen;
  EXPECT_NE(screen.find("RAZEM         -     1015.00"), std::string::npos) << screen;
}

}  // namespace
