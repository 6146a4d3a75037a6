// PS2000 through the simulated register: the code check with its GS1 check
// digit, the header and data frames, DLE ',' and DLE '@' with the error
// query, the report with its signs and broken records, and zeroing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "tests/fiscal/driver_fixture.h"

namespace {

class Ps2000Test : public DriverTest {
 protected:
  Ps2000Simulator ps;
  void Open() { Connect(KASA_PS2000, &ps); }
};

TEST_F(Ps2000Test, CodeChecksWithTheCheckDigit) {
  UseType(KASA_PS2000);
  parametryKF.ps2000CodeLength = 13;
  EXPECT_EQ(Ps2000CyfraKontrolna("5901234123457"), '7');
  const struct {
    const char* code;
    int result;
  } cases[] = {{"5901234123457", 0}, {"5901234123450", -1}, {"96385074", 0}, {"96385070", -1},
               {"123456", 0},        {"1234567", -1},       {"12345A", -1}};
  for (const auto& c : cases) {
    seen.clear();
    Goods goods;
    goods.code = c.code;
    EXPECT_EQ(Check(goods, c.result ? "{F9}x" : ""), c.result) << c.code;
    if (c.result && std::string(c.code) != "12345A") {
      std::string field = std::string(13 - std::strlen(c.code), '0') + c.code;
      EXPECT_TRUE(Shown(("Błąd sumy kontrolnej kodu - " + field).c_str())) << seen;
    }
  }
  // With 4 characters a longer code is refused, or cut when the length check is off.
  parametryKF.ps2000CodeLength = 4;
  Goods goods;
  goods.code = "12345";
  EXPECT_EQ(Check(goods, "x"), -1);
  warehouseOptions.checkCodeLength = 'N';
  EXPECT_EQ(Check(goods), 0);
}

TEST_F(Ps2000Test, APluGoesAsAHeaderAndADataFrame) {
  Open();
  EXPECT_TRUE(port.settings.rtsCts);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_EVEN);
  EXPECT_EQ(port.settings.dataBits, 7);
  parametryKF.ps2000Ecr = 3;
  Goods goods;
  goods.code = "77";
  goods.name = Utf8ToMazText("Ąb");
  goods.price = 12.5;
  goods.vat = 8;
  goods.department = 20;
  EXPECT_EQ(Send(goods), 0);
  ASSERT_EQ(ps.frames.size(), 2u);
  EXPECT_EQ(ps.frames[0].substr(0, 41), "\x02S0003U1" + std::string(26, '0') + "0111226");
  EXPECT_EQ(ps.frames[0].size(), 43u);
  const std::string& data = ps.frames[1];
  EXPECT_EQ(data.size(), 69u);
  EXPECT_EQ(data.substr(1, 18), "D03U10000000000077");
  EXPECT_EQ(data.substr(19, 24), "<862" + std::string(20, '0').replace(0, 20, "20202020202020202020"));
  EXPECT_EQ(data.substr(43, 25), "20" "00001250" "000" "4" "01" "00000000" "\x03");
  EXPECT_EQ(ps.plus[77].name, "\xC8" "b          ");
  // Department 21 is past the register's 20.
  goods.department = 21;
  EXPECT_EQ(Send(goods, "x{ESC}"), -1);
  EXPECT_EQ(ps.frames.size(), 2u);
}

TEST_F(Ps2000Test, DleAsksAgainOrReportsAnError) {
  Open();
  Goods goods;
  ps.askAgain = true;
  ps.nakFirst = 2;
  EXPECT_EQ(Send(goods), 0);
  EXPECT_EQ(ps.Count("S"), 3);
  // Each of the seven attempts gets the error, queried and shown.
  ps.errorNumber = 10;
  EXPECT_EQ(Send(goods, "{F9}xxxxxxx{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Not found the PLU")) << seen;
  ps.errorNumber = 0;
  EXPECT_EQ(Send(goods), 0);
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
}

TEST_F(Ps2000Test, TheReportWithItsSignsAndBrokenRecords) {
  Open();
  ps.sales[123] = SimSales{250, 1299};
  ps.sales[4] = SimSales{-100, -350};
  std::string bad = "D0000" + std::string(13, '9') + std::string(18, '0') + "0" + "\x01";
  ps.badRecords = {bad, bad};
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, ""), 0);
  EXPECT_EQ(FileText("ps2000.plu"), "Raport plu PS2000\n"
                                    "0000000000004\t-0000100\t-000000350\n"
                                    "0000000000123\t 0000250\t 000001299\n");
  Goods goods;
  goods.code = "4";
  double quantity, value;
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_DOUBLE_EQ(quantity, -1);
  EXPECT_DOUBLE_EQ(value, -3.5);
  KFCloseRaport();
  // A line that never gives a good record ends the reading.
  seen.clear();
  ps.badRecords = std::vector<std::string>(8, bad);
  EXPECT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
}

TEST_F(Ps2000Test, ZeroingFile100ThenFile99) {
  Open();
  ps.sales[1] = SimSales{1, 1};
  EXPECT_EQ(KFZerowanie("20261211"), 0);
  ASSERT_EQ(ps.frames.size(), 2u);
  EXPECT_EQ(ps.frames[0].substr(6, 2), "d2");
  EXPECT_EQ(ps.frames[1].substr(6, 2), "c2");
  EXPECT_EQ(port.written.back(), '\x04');
  ps.frames.clear();
  ps.nakFirst = 7;
  EXPECT_EQ(RunUntilEsc([] { return KFZerowanie("20261211"); }, "x"), -1);
  EXPECT_EQ(ps.Count("S00"), 7);
  EXPECT_EQ(ps.Count("S0001c"), 0);
}

}  // namespace
