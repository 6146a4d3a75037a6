// Whole frames on the wire, every byte written out, their check sums worked
// out by hand from the protocols' rules (not by the program's routines):
// Thermal's is 0xFF XOR every byte of the command text, ONLINE's the
// CRC-16/XMODEM of the command text; TANGO's the XOR of each byte shifted
// by its position mod 9, OMRON's and CR280's the XOR of the bytes, DSA's
// their sum mod 100.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "env/code_pages.h"
#include "fiscal/posnet.h"
#include "fiscal/tango_driver.h"
#include "tests/fiscal/driver_fixture.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

class WireFramesTest : public FiscalTest {};

TEST_F(WireFramesTest, PosnetFramesByteForByte) {
  const struct {
    const char* name;
    int type;
    char online;
    std::function<int()> send;
    std::string frame;
  } frames[] = {
      {"Thermal sale line", 2, 'N',
       [] {
         int started = PosnetCmd(13 | DF_QUIET, 2, "Nr 1", "", "", nullptr);
         if (started != 0) return started;
         return PosnetCmd(12 | DF_QUIET, 1, "Kawa mielona 250 g", 2.0, static_cast<int>('A'), 12.30, 24.60, 0.0, 0);
       },
       "\x1bP1$lKawa mielona 250 g\r      2.000\rA/12.30/24.60/E5\x1b\\"},
      {"Thermal error mode", 2, 'N', [] { return PosnetCmd(4 | DF_QUIET, 0); }, "\x1bP0#e89\x1b\\"},
      {"Thermal receipt end", 2, 'N',
       [] { return PosnetCmd(11 | DF_QUIET, 0, "000", "", "", "", 100.0, 78.60, 0.0, 0, nullptr); },
       "\x1bP1;0;0;$e000\r100/78.60/9F\x1b\\"},
      {"ONLINE sale line", 12, 'T',
       [] { return PosnetCmd(12 | DF_QUIET, 1, "Kawa mielona 250 g", 2.0, static_cast<int>('A'), 12.30, 24.60, 0.0, 0); },
       "\x02trline\tnaKawa mielona 250 g\tvt0\tpr1230\twa2460\til2.000\t#C68A\x03"},
  };
  for (const auto& f : frames) {
    SCOPED_TRACE(f.name);
    Configure(f.type, f.online);
    ASSERT_EQ(PosnetCmd(1), 0);
    port.written.clear();
    EXPECT_EQ(f.send(), 0);
    if (f.online == 'T') {
      EXPECT_EQ(port.written, f.frame);
    } else {
      EXPECT_NE(port.written.find(f.frame), std::string::npos) << port.written;
    }
    EXPECT_EQ(PosnetCmd(2), 0);
  }
}

class RegisterWireFramesTest : public DriverTest {};

TEST_F(RegisterWireFramesTest, GoodsRecordOfEachFamilyByteForByte) {
  // TANGO: an 18-character name in code page 852, price 3.505 to 351 grosze.
  UseType(KASA_TANGO);
  parametryKF.tango[KFL_REDUCED1] = 'B';
  parametryKF.tangoOpenPrice = 'T';
  parametryKF.tangoProgrammedPrice = 'T';
  parametryKF.tangoRepeatable = 'N';
  parametryKF.tangoSingle = 'N';
  parametryKF.tangoQuantityDecimals = 3;
  std::string name = Utf8ToMazText("Łódź ziemniaki mło");
  EXPECT_EQ(TangoRekord(7, "123", name.c_str(), static_cast<int>(name.size()), 3.505, 2, '1'),
            "\x02" "DI1               123\x9D\xA2" "d\xAB ziemniaki m\x88o0000000351B3110000700                  \x03"
            "4757");

  // OMRON: a new PLU, its name's capitals in the register's own codes; GS
  // 'p' stands for the 48 blanks that fill the record to its 131 columns.
  OmronSimulator omron;
  Connect(KASA_OMRON, &omron);
  parametryKF.omron[KFL_REDUCED1] = '2';
  parametryKF.omronVariablePrice = 'N';
  ASSERT_EQ(RunUntilEsc([] { return KFOpenSendTowar(); }, ""), 0);
  Goods fresh;
  fresh.code = "3";
  fresh.name = Utf8ToMazText("Żółć");
  fresh.vat = 2;
  fresh.department = 42;
  EXPECT_EQ(Send(fresh), 0);
  KFCloseSendTowar();
  ASSERT_EQ(omron.Count("0B02"), 1);
  std::string sent;
  for (const std::string& frame : omron.frames)
    if (frame.compare(1, 4, "0B02") == 0) sent = frame;
  EXPECT_EQ(sent, "\x02" "0B0200000000000000030hcbe            020000000000000000000000420000000350      "
                  "\x1C\x1Dp\x17+");
  KFClose();

  // DSA40: plain frame, check sum 80.
  DsaSimulator dsa(KASA_DSA40);
  Connect(KASA_DSA40, &dsa);
  parametryKF.dsa[KFL_BASIC] = '1';
  ASSERT_EQ(KFOpenSendTowar(), 0);
  Goods sugar;
  sugar.code = "42";
  sugar.price = 12.34;
  EXPECT_EQ(Send(sugar), 0);
  KFCloseSendTowar();
  ASSERT_FALSE(dsa.frames.empty());
  EXPECT_EQ(dsa.frames[0], "\x02PP004200001234CUKIER    180\x03");
  KFClose();

  // CR280 PLUS: check byte 0x61.
  Cr280Simulator cr(KASA_CR280_PLUS);
  Connect(KASA_CR280_PLUS, &cr);
  parametryKF.cr280[KFL_BASIC] = '1';
  Goods goods;
  goods.code = "77";
  goods.price = 1234.56;
  goods.department = 7;
  EXPECT_EQ(Send(goods), 0);
  ASSERT_EQ(cr.frames.size(), 1u);
  EXPECT_EQ(cr.frames[0], std::string("\x02P00000000000077071\x00\x00\x00" "00123456CUKIER      \x03" "a", 44));
}

}  // namespace
