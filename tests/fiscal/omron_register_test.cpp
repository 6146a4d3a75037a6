// OMRON GR30 through the simulated register: the 131-column records and
// their blank compression, the memory read before sending (only new or
// changed PLUs go out), deletion, the report and zeroing, BS and BEL.
#include <gtest/gtest.h>

#include <string>

#include "env/code_pages.h"
#include "tests/fiscal/driver_fixture.h"

namespace {

class OmronTest : public DriverTest {
 protected:
  OmronSimulator omron;
  void Open() {
    Connect(KASA_OMRON, &omron);
    std::copy_n("123450", 6, parametryKF.omron);
  }
};

std::string Wire(const std::string& data) {
  std::string wire = "\x02" + data;
  return wire + static_cast<char>(KFXor(data));
}

TEST_F(OmronTest, RecordsExpandToTheirColumns) {
  std::string columns;
  // 63 blanks as GS 0x7F.
  ASSERT_TRUE(OmronRozwin(Wire("\x1D\x7F" + std::string(66, 'A')), &columns));
  EXPECT_EQ(columns.size(), 131u);
  EXPECT_EQ(columns.substr(1, 63), std::string(63, ' '));
  EXPECT_EQ(columns.substr(64, 66), std::string(66, 'A'));
  const std::string broken[] = {Wire("\x1D\x40" + std::string(128, 'A')), Wire("\x1D\x80" + std::string(128, 'A')),
                                Wire(std::string(100, 'A') + "\x1D\x7F"), "\x01" + std::string(130, 'A')};
  for (const std::string& wire : broken) EXPECT_FALSE(OmronRozwin(wire, &columns)) << wire.substr(0, 3);
  // A check byte equal to GS in column 130 is the check byte.
  std::string data = std::string(127, 'A') + "B\x1E";
  ASSERT_EQ(KFXor(data), 0x1D);
  ASSERT_TRUE(OmronRozwin(Wire(data), &columns));
  EXPECT_EQ(columns[130], '\x1D');
  // Compression gives back the same columns.
  std::string record = std::string(40, ' ') + "X" + std::string(88, ' ');
  EXPECT_EQ(OmronScisnij(record), "\x1D\x68X\x1D\x7F\x1D\x59");
}

TEST_F(OmronTest, OnlyNewOrChangedPlusAreSentAndEveryFrameHas131Columns) {
  Open();
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_EVEN);
  EXPECT_FALSE(port.settings.rtsCts);
  omron.plus[1] = SimPlu{"CUKIER      ", 350, '1', 1, ""};
  omron.plus[2] = SimPlu{"SOL         ", 199, '1', 1, ""};
  ASSERT_EQ(RunUntilEsc([] { return KFOpenSendTowar(); }, ""), 0);
  EXPECT_EQ(FileText("omron.mem"), "Raport mem OMRON GR30\n"
                                   "000000000001\tCUKIER      \t010001\t00000350\n"
                                   "000000000002\tSOL         \t010001\t00000199\n");
  Goods same;
  EXPECT_EQ(Send(same), 0);
  Goods changed;
  changed.code = "2";
  changed.name = "SOL";
  changed.price = 2.09;
  EXPECT_EQ(Send(changed), 0);
  Goods fresh;
  fresh.code = "3";
  fresh.name = Utf8ToMazText("Żółć");
  fresh.vat = 2;
  fresh.department = 42;
  EXPECT_EQ(Send(fresh), 0);
  KFCloseSendTowar();
  EXPECT_EQ(omron.Count("0B02"), 1);
  EXPECT_EQ(omron.Count("0B04"), 1);
  EXPECT_EQ(omron.plus[2].grosze, 209);
  EXPECT_EQ(omron.plus[3].name, "\x68\x63\x62\x65        ");
  EXPECT_EQ(omron.plus[3].vat, '2');
  EXPECT_EQ(omron.plus[3].department, 42);
  Goods gone;
  gone.code = "2";
  EXPECT_EQ(Delete(gone), 0);
  EXPECT_EQ(omron.deletions, 1);
  ASSERT_GE(omron.frames.size(), 5u);
  for (const std::string& frame : omron.frames) {
    std::string columns;
    EXPECT_TRUE(OmronRozwin(frame, &columns)) << frame.substr(1, 4);
    EXPECT_EQ(columns.size(), 131u) << frame.substr(1, 4);
  }
}

TEST_F(OmronTest, CodesAreCheckedAndCutToFour) {
  Open();
  ASSERT_EQ(RunUntilEsc([] { return KFOpenSendTowar(); }, ""), 0);
  Goods goods;
  goods.code = "12345";
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Za duża ilość znaków w kodzie dla danej kasy - 12345")) << seen;
  warehouseOptions.checkCodeLength = 'N';
  EXPECT_EQ(Send(goods), 0);
  EXPECT_EQ(omron.plus.count(1234), 1u);
  goods.code = "12A";
  EXPECT_EQ(Send(goods, "x{ESC}"), -1);
}

TEST_F(OmronTest, TheReportIsReadAndLookedUpAndZeroingClearsIt) {
  Open();
  for (long code = 1; code <= 4; code++) omron.sales[code] = SimSales{code * 1500, code * 1001};
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, ""), 0);
  std::string expected = "Raport plu OMRON GR30\n";
  for (long code = 1; code <= 4; code++) {
    char line[64];
    std::snprintf(line, sizeof line, "%012ld\t%09ld\t%011ld\n", code, code * 1500, code * 1001);
    expected += line;
  }
  EXPECT_EQ(FileText("omron.plu"), expected);
  Goods goods;
  goods.code = "3";
  double quantity, value;
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_DOUBLE_EQ(quantity, 4.5);
  EXPECT_DOUBLE_EQ(value, 30.03);
  goods.code = "9";
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_EQ(quantity, 0);
  KFCloseRaport();
  EXPECT_EQ(omron.Count(std::string("ST00") + std::string(12, '0') + "0"), 1);
  EXPECT_EQ(KFZerowanie("20261211"), 0);
  EXPECT_EQ(omron.Count(std::string("ST00") + std::string(12, '0') + "1"), 1);
  EXPECT_TRUE(omron.sales.empty());
}

TEST_F(OmronTest, TheRegistersTroubles) {
  Open();
  ASSERT_EQ(RunUntilEsc([] { return KFOpenSendTowar(); }, ""), 0);
  Goods goods;
  omron.backspaces = 1;   // BS, then ACK to ENQ: the same frame again
  EXPECT_EQ(Send(goods), 0);
  EXPECT_EQ(omron.Count("0B02"), 2);
  omron.bel = true;
  goods.code = "2";
  EXPECT_EQ(Send(goods, "{F9}x{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Zabroniona operacja")) << seen;
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
  omron.bel = false;
  // A broken record is asked for again with NAK; a bad compression fails at once.
  omron.sales[1] = SimSales{1000, 100};
  omron.garble = true;
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, ""), 0);
  EXPECT_NE(port.written.find('\x15'), std::string::npos);
  seen.clear();
  omron.badGs = true;
  EXPECT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
}

}  // namespace
