// The TANGO-family driver: its frames, PLU numbers, and the exchanges with
// the simulated register through the layer (busy, refused, garbled, silent
// and error answers), the goods list and the sales report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include "env/code_pages.h"
#include "fiscal/tango_driver.h"
#include "tests/fiscal/register_fixture.h"
#include "tests/fiscal/tango_simulator.h"

namespace {

class TangoTest : public RegisterTest {
 protected:
  void SetUp() override {
    RegisterTest::SetUp();
    if (HasFatalFailure()) return;
    UseType(KASA_TANGO);
    port.device = &sim;
  }
  void TearDown() override {
    KFClose();
    RegisterTest::TearDown();
  }
  // A goods record whose texts live as long as the test.
  KFTowar Goods(const char* code, const char* name, double price, int department = 2, long record = 1) {
    std::string& codeField = texts.emplace_back(code);
    codeField.resize(18, ' ');
    std::string& nameField = texts.emplace_back(Utf8ToMazText(name));
    nameField.resize(40, ' ');
    return KFTowar{department, codeField.c_str(), 18, nameField.c_str(), 40, price, 12, 4, 1, "20261211", record};
  }
  TangoSimulator sim;
  std::deque<std::string> texts;
};

TEST(TangoFrames, ChecksumIsFourDigitsWithLeadingZeros) {
  const unsigned char frame[] = {0x02, 0x21, 0x01, 0x03, '0', '0', '0', '0'};
  // 0x21 << 0 ^ 0x01 << 1 ^ 0x03 << 2
  EXPECT_EQ(TangoSuma(frame, 8), 0x21u ^ 0x02u ^ 0x0Cu);
  // A request whose value falls below 0x1000 still ends in four digits.
  bool found = false;
  for (int n = 0; n < 100000 && !found; n++) {
    std::string frame = TangoRamka('U', '0', std::to_string(n).c_str());
    unsigned sum = TangoSuma(reinterpret_cast<const unsigned char*>(frame.data()), TANGO_REQUEST);
    if (sum >= 0x1000) continue;
    found = true;
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04X", sum);
    EXPECT_EQ(frame.substr(41), expected);
    EXPECT_EQ(frame[41], '0');
  }
  EXPECT_TRUE(found);
}

TEST_F(TangoTest, RequestAndGoodsRecordLayout) {
  std::string request = TangoRamka('I', '1', "123");
  ASSERT_EQ(request.size(), 45u);
  EXPECT_EQ(request.substr(0, 4), "\x02SI1");
  EXPECT_EQ(request.substr(4, 18), std::string(15, ' ') + "123");
  EXPECT_EQ(request.substr(22, 18), std::string(15, ' ') + "123");
  EXPECT_EQ(request[40], '\x03');
  parametryKF.tangoOpenPrice = 'T';
  parametryKF.tangoQuantityDecimals = 3;
  std::string name = Utf8ToMazText("Łódź ziemniaki z pola");
  std::string r = TangoRekord(7, "123", name.c_str(), static_cast<int>(name.size()), 3.505, 2, '1');
  ASSERT_EQ(r.size(), 84u);
  EXPECT_EQ(r.substr(0, 4), "\x02" "DI1");
  EXPECT_EQ(r.substr(4, 18), std::string(15, ' ') + "123");
  // Polish letters in code page 852, cut at 18.
  EXPECT_EQ(r.substr(22, 18), "\x9D\xA2" "d\xAB ziemniaki z p");
  EXPECT_EQ(r.substr(40, 10), "0000000351");
  EXPECT_EQ(r[50], 'B');                 // reduced 1 of the TANGO set
  EXPECT_EQ(r.substr(51, 6), "311000");  // decimals 3, open and programmed price
  EXPECT_EQ(r.substr(57, 4), "0700");
  EXPECT_EQ(r.substr(61, 18), std::string(18, ' '));
  EXPECT_EQ(r[79], '\x03');
  // NOVITUS takes its own letters: the exempt 'G' where TANGO has 'Z'.
  EXPECT_EQ(TangoRekord(1, "1", "A", 1, 1, 7, '0')[50], 'Z');
  UseType(KASA_NOVITUS);
  EXPECT_EQ(TangoRekord(1, "1", "A", 1, 1, 7, '0')[50], 'G');
}

TEST_F(TangoTest, PluNumbers) {
  EXPECT_STREQ(TangoKod("0000123           ", 18, 5), "0000123");
  parametryKF.codeIsPlu = 'N';
  EXPECT_STREQ(TangoKod("ABC", 3, 42), "00042");
  parametryKF.codeIsPlu = 'T';
  const char* none = nullptr;
  EXPECT_EQ(RunUntilEsc([&] { return (none = TangoKod("12A", 3, 1)) ? 0 : -1; }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Kod zawiera znak różny od cyfry - 12A")) << seen;
}

TEST_F(TangoTest, AGoodsRecordReachesTheRegister) {
  ASSERT_EQ(KFOpen(), 0);
  EXPECT_EQ(port.settings.baud, 9600);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_EQ(port.settings.dataBits, 8);
  EXPECT_EQ(port.settings.stopBits, 1);
  EXPECT_TRUE(port.settings.rtsCts);
  KFTowar g = Goods("123", "CUKIER", 3.5);
  EXPECT_EQ(KFSendTow(&g), 0);
  ASSERT_EQ(sim.plu.count(TangoSimulator::Field("123")), 1u);
  EXPECT_EQ(sim.plu.begin()->second.substr(22, 18), "CUKIER            ");
  // Deleting takes it out.
  EXPECT_EQ(KFDelete(&g), 0);
  EXPECT_TRUE(sim.plu.empty());
}

TEST_F(TangoTest, SixTabsAreWaitedOutTheSeventhIsNot) {
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("1", "A", 1);
  sim.busyTabs = 6;
  EXPECT_EQ(KFSendTow(&g), 0);
  EXPECT_EQ(std::count(sim.frames.begin(), sim.frames.end(), '\n'), 2);   // request and record once
  sim.frames.clear();
  sim.busyTabs = 7;   // the seventh is an unexpected byte: the request goes again
  EXPECT_EQ(KFSendTow(&g), 0);
  EXPECT_EQ(std::count(sim.frames.begin(), sim.frames.end(), '\n'), 3);
}

TEST_F(TangoTest, RefusedAndGarbledFramesAreSentAgain) {
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("1", "A", 1);
  sim.naks = 2;
  EXPECT_EQ(KFSendTow(&g), 0);
  EXPECT_EQ(std::count(sim.frames.begin(), sim.frames.end(), '\n'), 4);
  // A garbled record of the list is answered with NAK and comes again.
  sim.garbleNext = true;
  FILE* list = std::tmpfile();
  EXPECT_EQ(kasfis_cennik_odczyt(list), 0);
  std::rewind(list);
  char line[200] = "";
  ASSERT_NE(std::fgets(line, sizeof line, list), nullptr);
  EXPECT_STREQ(line, "                 1\tA                 \t1\t1.000000\t02\n");
  EXPECT_EQ(std::fgets(line, sizeof line, list), nullptr);
  std::fclose(list);
  // Three refusals in a row: the step fails, the layer asks 207, Esc ends it.
  sim.naks = 3;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}x{F9}{ESC}"), -1);
  EXPECT_TRUE(Shown("Kasa fiskalna nie odpowiada.") || Shown("Błędna transmisja do kasy fiskalnej !")) << seen;
  EXPECT_TRUE(Shown("Czy powtórzyć przesłanie ostatniego kodu ?")) << seen;
}

TEST_F(TangoTest, ASilentRegisterAndARegisterError) {
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("1", "A", 1);
  // The error is queried and only logged; the layer offers the repetition and it goes through.
  sim.reportError = true;
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}t"), 0);
  EXPECT_TRUE(Shown("Czy powtórzyć przesłanie ostatniego kodu ?")) << seen;
  EXPECT_EQ(sim.plu.size(), 1u);
  // Silence: the handshake fails without a message of its own.
  sim.silent = true;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}{ESC}"), -1);
  EXPECT_EQ(std::count(port.written.begin(), port.written.end(), '\x05') >= 8, true);
}

TEST_F(TangoTest, TheWindowShowsTheBytesOnlyWhenTheTraceIsOn) {
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("123", "CUKIER", 3.5);
  sim.silent = true;
  // At start-up the trace stays out of the window: only the goods line.
  env->refuseDamagedTables = 1;
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}{ESC}"), -1);
  EXPECT_TRUE(Shown("123                CUKIER")) << seen;
  EXPECT_TRUE(Shown("3.5000 PLN")) << seen;
  EXPECT_FALSE(Shown("«")) << seen;
  // Cleared (Ctrl+F10, Shift+F10): every run of bytes gets its line.
  env->refuseDamagedTables = 0;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}{ESC}"), -1);
  EXPECT_TRUE(Shown("«  1 1#5")) << seen;
  EXPECT_TRUE(Shown("»")) << seen;
}

TEST_F(TangoTest, TheSalesReportIsReadAndLookedUp) {
  sim.Sell("123", 1500, 525);
  sim.Sell("77", 0, 100);
  ASSERT_EQ(KFOpen(), 0);
  // Esc to 204: the report only reads.
  ASSERT_EQ(RunUntilEsc(KFOpenRaport, "{F9}{ESC}"), 0);
  EXPECT_TRUE(Shown("Czy wykonać raport zerujący stany ?")) << seen;
  EXPECT_EQ(kfTrybRaportu, '0');
  std::string file = FileText("tango.plu");
  EXPECT_EQ(file.substr(0, 21), "Raport sprzedazy PLU\n");
  EXPECT_NE(file.find("123" + std::string(15, ' ') + "\t00000000000000001500\t00000000000000000525\n"),
            std::string::npos)
      << file;
  double q = 0, v = 0;
  KFTowar g = Goods("0000123", "CUKIER", 3.5);
  EXPECT_EQ(KFRapTow(&g, &q, &v), 0);
  EXPECT_DOUBLE_EQ(q, 1.5);
  EXPECT_DOUBLE_EQ(v, 5.25);
  q = v = 0;
  KFTowar other = Goods("5", "X", 1);
  EXPECT_EQ(KFRapTow(&other, &q, &v), 0);
  EXPECT_EQ(q, 0);
  EXPECT_EQ(v, 0);
  KFCloseRaport();
  EXPECT_EQ(sim.sales.size(), 2u);
  // Yes to both questions: the zeroing report clears the counters.
  ASSERT_EQ(RunUntilEsc(KFOpenRaport, "tt"), 0);
  EXPECT_EQ(kfTrybRaportu, '2');
  KFCloseRaport();
  EXPECT_TRUE(sim.sales.empty());
  // Esc to 205: nothing is asked of the register.
  port.written.clear();
  EXPECT_EQ(RunUntilEsc(KFOpenRaport, "t{ESC}"), -1);
  EXPECT_EQ(port.written, "");
}

TEST_F(TangoTest, OnePluAskedOfTheRegister) {
  sim.Sell("00042", 2000, 300);
  parametryKF.codeIsPlu = 'N';
  ASSERT_EQ(KFOpen(), 0);
  double q = 0, v = 0;
  KFTowar g = Goods("CUKIER", "CUKIER", 1.5, 2, 42);
  EXPECT_EQ(KFRapTow(&g, &q, &v), 0);
  EXPECT_DOUBLE_EQ(q, 2.0);
  EXPECT_DOUBLE_EQ(v, 3.0);
  q = v = 0;
  KFTowar unsold = Goods("MAKA", "MAKA", 1.5, 2, 43);
  EXPECT_EQ(KFRapTow(&unsold, &q, &v), 0);
  EXPECT_EQ(q + v, 0);
}

TEST_F(TangoTest, CodeCheckWithoutTraffic) {
  KFTowar good = Goods("123", "A", 1, 42);
  EXPECT_EQ(KFSprawdzKod(&good), 0);
  KFTowar letters = Goods("12A", "A", 1, 43);
  // Both checks run: two boxes.
  EXPECT_EQ(RunUntilEsc([&] { return KFSprawdzKod(&letters); }, "{F9}x{F9}x"), -1);
  EXPECT_TRUE(Shown("Niedopuszczalny numer działu/grupy 43 (1-42) dla 12A")) << seen;
  EXPECT_TRUE(Shown("Kod zawiera znak różny od cyfry - 12A")) << seen;
  EXPECT_EQ(port.written, "");
}

}  // namespace
