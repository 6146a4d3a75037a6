// ADAX-3100 and TOTAL TAX through the simulated register: frames, PLU
// records and deletions, the report read into "adax.plu" and looked up, and
// the register's troubles (a skipped sequence, a broken checksum, the wrong mode).
#include <gtest/gtest.h>

#include <string>

#include "env/code_pages.h"
#include "tests/fiscal/driver_fixture.h"

namespace {

class AdaxTest : public DriverTest {
 protected:
  AdaxSimulator adax;
  void Open() { Connect(KASA_ADAX, &adax); }
};

TEST_F(AdaxTest, FramesAndFields) {
  EXPECT_EQ(AdaxSuma(std::string("\x03\x26\x20")), "\x21\x29");
  EXPECT_EQ(AdaxRamka(0x20, ""), std::string("\x03\x26\x20\x21\x29\x04"));
  // A sum past 4096 keeps its remainder; a negative one (bytes from 0x80 up) its sign.
  EXPECT_EQ(AdaxSuma(std::string(40, 'z')), ",0");   // 4880: 784 left, 12 and 16
  EXPECT_EQ(AdaxSuma(std::string(2, '\xF0')), std::string(" \0", 2));   // -32: 0 and -32
  const struct {
    const char* name;
    std::string sent;
  } names[] = {{"Łódź", "svD}" + std::string(14, ' ')},
               {"żółć gęś", "}vso Gry" + std::string(10, ' ')},
               {"a very long name of goods", "A VERY LONG NAME O"}};
  for (const auto& n : names) {
    std::string name = Utf8ToMazText(n.name);
    EXPECT_EQ(AdaxNazwa(name.c_str(), static_cast<int>(name.size())), n.sent) << n.name;
  }
}

TEST_F(AdaxTest, APriceListGoesOutInTwoPartsPerPlu) {
  Open();
  EXPECT_EQ(port.settings.baud, 9600);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_EQ(port.settings.dataBits, 8);
  EXPECT_EQ(port.settings.stopBits, 1);
  EXPECT_FALSE(port.settings.rtsCts);
  ASSERT_EQ(KFOpenSendTowar(), 0);
  EXPECT_EQ(adax.mode, 'P');
  Goods goods;
  goods.code = "12345";
  goods.name = Utf8ToMazText("Łódź");
  goods.price = 2.5;
  goods.department = 5;
  goods.vat = 2;
  EXPECT_EQ(Send(goods), 0);
  KFCloseSendTowar();
  EXPECT_EQ(adax.mode, 'B');
  // Every program frame carries the next sequence character from 0x20 on.
  for (size_t i = 0; i < adax.frames.size(); i++)
    EXPECT_EQ(adax.frames[i][2], static_cast<char>(0x20 + i % 16)) << i;
  std::string part1 = "*WH0" + std::string(8, ' ') + "12345" + "       250" + "0000";
  std::string part2 = "*WH1svD}" + std::string(14, ' ') + "E2";   // reduced rate 1: ADAX letter '2'
  const std::vector<std::string> expected = {"", "*SZZl11Q", part1, part2, "", "", "", "*SK", "*SZi", ""};
  EXPECT_EQ(adax.data, expected);
  ASSERT_EQ(adax.plus.count(12345), 1u);
  EXPECT_EQ(adax.plus[12345].department, 5);
  EXPECT_EQ(adax.plus[12345].grosze, 250);
}

TEST_F(AdaxTest, ADeletionSendsDepartment0x40) {
  Open();
  adax.plus[77] = SimPlu{"X", 100, '0', 3, ""};
  Goods goods;
  goods.code = "77";
  goods.department = 3;
  EXPECT_EQ(Delete(goods), 0);
  EXPECT_EQ(adax.deletions, 1);
  EXPECT_EQ(adax.plus.count(77), 0u);
  EXPECT_EQ(adax.Count("*WH1CUKIER" + std::string(12, ' ') + "@", 3), 1);
}

TEST_F(AdaxTest, CodesAndDepartmentsAreCheckedBeforeAnyRecord) {
  Open();
  ASSERT_EQ(KFOpenSendTowar(), 0);
  size_t before = adax.frames.size();
  Goods goods;
  goods.code = "12A";
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  // The code is checked as it would go: right-aligned in 13 zeros.
  EXPECT_TRUE(Shown("Kod zawiera znak różny od cyfry - 000000000012A")) << seen;
  seen.clear();
  goods.code = "12";
  goods.department = 65;
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Niedopuszczalny numer działu/grupy 65 (0-64)")) << seen;
  EXPECT_EQ(adax.frames.size(), before);
  // The check without traffic: department, length and first digit all shown.
  seen.clear();
  goods.code = "01234567890123";
  EXPECT_EQ(Check(goods, "x{F9}xx"), -1);
  EXPECT_TRUE(Shown("Za duża ilość znaków")) << seen;
}

TEST_F(AdaxTest, ARegisterFrameOutOfSequenceOrWithABadSumFails) {
  Open();
  ASSERT_EQ(KFOpenSendTowar(), 0);
  adax.skipSequence = true;
  Goods goods;
  // The repetition ends and restarts the link, then the record goes.
  EXPECT_EQ(Send(goods, "{F9}xt"), 0);
  EXPECT_TRUE(Shown("Błąd ramki !")) << seen;
  EXPECT_EQ(adax.plus.count(1), 1u);
  EXPECT_EQ(adax.Count("*SZZl11Q", 3), 2);
  seen.clear();
  adax.garble = true;
  goods.code = "2";
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Błąd sumy kontrolnej !")) << seen;
  EXPECT_EQ(adax.plus.count(2), 0u);
}

TEST_F(AdaxTest, TheReportIsReadIntoAFileAndLookedUp) {
  Open();
  adax.sales[12345] = SimSales{2500, 1250};
  adax.sales[7] = SimSales{-1000, -350};
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, ""), 0);
  EXPECT_EQ(adax.Count("*LI", 3) + adax.Count("*P", 3) + adax.Count("*X8", 3) + adax.Count("*U", 3), 4);
  EXPECT_EQ(FileText("adax.plu"), "Raport plu ADAX FASY\n"
                                  "            7\t0000001000\t0000000350\n"
                                  "        12345\t0000002500\t0000001250\n");
  Goods goods;
  goods.code = "12345";
  double quantity, value;
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_DOUBLE_EQ(quantity, 2.5);
  EXPECT_DOUBLE_EQ(value, 12.5);
  goods.code = "999";
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_EQ(quantity, 0);
  EXPECT_EQ(value, 0);
  KFCloseRaport();
}

TEST_F(AdaxTest, AReportNeedsTheRegisterInModeB) {
  Open();
  adax.mode = 'P';
  EXPECT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Wciśnij klawisz KOD lub CZAS na kasie i powtórz transmisję !")) << seen;
  seen.clear();
  adax.mode = 'B';
  adax.silent = true;
  EXPECT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
}

}  // namespace
