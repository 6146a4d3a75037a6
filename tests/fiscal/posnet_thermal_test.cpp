// The Thermal protocol against the simulated printer on the fake port: the
// protocol choice, the frames, the status byte and its expectations, the
// status answer, the NOVITUS differences.
#include <gtest/gtest.h>

#include <string>

#include "env/code_pages.h"
#include "fiscal/posnet.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

class PosnetThermalTest : public FiscalTest {
 protected:
  void Use(int type) {
    Configure(type, 'N');
    ASSERT_EQ(PosnetCmd(1), 0);
    ASSERT_FALSE(PosnetOnlineInUse());
  }
  static int Line(int number) { return PosnetCmd(12 | DF_QUIET, number, "Chleb", 2.0, static_cast<int>('A'), 3.5, 7.0, 0.0, 0); }
  static int Start() { return PosnetCmd(13 | DF_QUIET, 2, "Nr 1", "", "", nullptr); }
  static int End() { return PosnetCmd(11 | DF_QUIET, 0, "000", "", "", "", 10.0, 7.0, 0.0, 0, nullptr); }
};

TEST_F(PosnetThermalTest, ProtocolChoiceAndPortSettings) {
  const struct {
    int type;
    char online;
    bool online_in_use;
  } cases[] = {{2, 'T', true}, {12, 'T', true}, {12, 'N', false}, {10, 'T', false}, {13, 'T', false}, {2, 'N', false}};
  for (const auto& c : cases) {
    Configure(c.type, c.online);
    ASSERT_EQ(PosnetCmd(1), 0);
    EXPECT_EQ(PosnetOnlineInUse(), c.online_in_use) << c.type << c.online;
    EXPECT_EQ(PosnetCmd(2), 0);
    EXPECT_FALSE(PosnetOnlineInUse());
  }
  EXPECT_EQ(port.settings.baud, 9600);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_EQ(port.settings.dataBits, 8);
  EXPECT_EQ(port.settings.stopBits, 1);
  EXPECT_FALSE(port.settings.rtsCts);
  EXPECT_EQ(port.path, ComDevicePath(1));
  port.refuseOpen = true;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(1); }, "x"), PN_PORT_CLOSED);
  EXPECT_EQ(PosnetCmd(6), PN_PORT_CLOSED);   // nothing open: nothing sent
}

TEST_F(PosnetThermalTest, FramesOfTheOperations) {
  Use(2);
  EXPECT_EQ(PosnetCmd(7, 12.00), 0);
  EXPECT_NE(port.written.find("\x1bP0#d12/A4\x1b\\"), std::string::npos);
  EXPECT_EQ(PosnetCmd(8, 12.50), 0);
  EXPECT_EQ(port.printer.Commands().back(), "0#i12.50/");
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(Line(1), 0);
  EXPECT_EQ(Line(0), 0);
  EXPECT_EQ(End(), 0);
  auto c = port.printer.Commands();
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[2], "2;1$hNr 1\r");
  EXPECT_EQ(c[3], "1$lChleb\r      2.000\rA/3.50/7/");
  EXPECT_EQ(c[4], "0$lChleb\r      2.000\rA/3.50/7/");
  EXPECT_EQ(c[5], "1;0;0;$e000\r10/7/");
  EXPECT_EQ(PosnetCmd(14, "[Sklep]", "", std::string(210, 'x').c_str(), "Ul. Polna", nullptr), 0);
  EXPECT_EQ(port.printer.Commands().back(), "0$f\x0eSklep\x14\rUl. Polna\r\xff");
  EXPECT_EQ(PosnetCmd(16, 2026, 12, 10, 9, 5), 0);
  EXPECT_EQ(port.printer.Commands().back(), "26;12;10;9;5;0$c");
  Configure(6);
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(Line(3), 0);
  EXPECT_EQ(port.printer.Commands().back(), "3;0$lChleb\r      2.000\rA/       3.50/7/");
}

TEST_F(PosnetThermalTest, StatusByteAgainstTheExpectations) {
  Use(2);
  const struct {
    int status;
    int (*op)();
    int result;
  } cases[] = {
      {0x64, [] { return Line(1); }, PN_PAR_OFF},  {0x66, [] { return Line(1); }, 0},
      {0x67, Start, PN_TRF_ON},                    {0x66, Start, 0},
      {0x66, End, PN_PAR_ON},                      {0x64, End, PN_TRF_OFF},
      {0x65, End, 0},
  };
  for (const auto& c : cases) {
    port.printer.statusOverride = c.status;
    EXPECT_EQ(c.op(), c.result) << std::hex << c.status;
  }
  Configure(DF_TYPE_TORELL);
  port.printer.statusOverride = 0x67;
  EXPECT_EQ(Start(), 0);   // a TORELL does not clear TRF at the start
  EXPECT_EQ(port.printer.Count("0#s"), 0);
}

TEST_F(PosnetThermalTest, CommandNotCarriedOutAsksForTheError) {
  Use(2);
  port.printer.thermalErrors["$l"] = 22;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(12, 1, "x", 1.0, static_cast<int>('A'), 1.0, 1.0, 0.0, 0); }, "{F9}x"),
            22);
  EXPECT_TRUE(Shown("22 - Błąd operacji STORNO")) << seen;
  EXPECT_EQ(port.printer.Commands().back(), "0#s");
  port.printer.thermalErrors.clear();
  port.printer.statusOverride = 0x62;   // CMD clear, PAR set
  port.printer.thermalStatusAnswer = "P1#X0;1;0;1;1;3;26;12;10/23/8/5/17/100/50/25/7/1234.50/ABC";
  EXPECT_EQ(RunUntilEsc([] { return Line(1); }, ""), PN_NO_ERROR_NUMBER);
  port.printer.thermalStatusAnswer = "P1#X0;1";
  EXPECT_EQ(Line(1), PN_BAD_ANSWER);
}

TEST_F(PosnetThermalTest, NovitusAsksOnceAndOthersTwice) {
  Use(2);
  EXPECT_EQ(PosnetCmd(6), 0);
  EXPECT_EQ(port.printer.enquiries, 2);
  Use(DF_TYPE_NOVITUS);
  port.printer.enquiries = 0;
  EXPECT_EQ(PosnetCmd(6), 0);
  EXPECT_EQ(port.printer.enquiries, 1);
}

TEST_F(PosnetThermalTest, NovitusTextsNipAndHeader) {
  Use(DF_TYPE_NOVITUS);
  parametryPosnet.printNip = 'T';
  EXPECT_EQ(PosnetCmd(13, 1, "Nr 1", "", "", "5260250274"), 0);
  EXPECT_EQ(port.printer.Commands().back(), "1;1;0;1$hNr 1\r5260250274\r");
  std::string name = Utf8ToMazText("Żółw") + "\xb3";   // a frame piece is no letter
  EXPECT_EQ(PosnetCmd(12, 1, name.c_str(), 1.0, static_cast<int>('A'), 1.0, 1.0, 0.0, 0), 0);
  std::string sent = port.printer.Commands().back();
  EXPECT_NE(sent.find(Utf8ToMazText("Żółw") + "\x7f\r"), std::string::npos) << sent;
  EXPECT_EQ(PosnetCmd(11, 0, "000", "Dziekujemy", "", "", 5.0, 5.0, 0.0, 0, "5260250274"), 0);
  auto c = port.printer.Commands();
  EXPECT_EQ(c[c.size() - 2], "100;1$z5260250274\r");
  EXPECT_EQ(c.back(), "1;0;1;0;$e000\rDziekujemy\r5/5/");
  int segments = 0;
  EXPECT_EQ(PosnetNovitusMarkup("<c>Sklep <1b>Duzy<1>", &segments), "1/1/8/1/Sklep\rDuzy\r");
  EXPECT_EQ(segments, 2);
  EXPECT_EQ(PosnetNovitusMarkup("  ", &segments), "");
  EXPECT_EQ(segments, 0);
  EXPECT_EQ(PosnetCmd(14, "<c>Sklep <1b>Duzy<1>", "", "<r>Polna 1", nullptr), 0);
  EXPECT_EQ(port.printer.Commands().back(), "2;2;1#a1/1/8/1/Sklep\rDuzy\r2/0/8/Polna 1\r");
}

TEST(PosnetStatusAnswer, RatesTotalizersAndTheirStartValues) {
  PosnetStatus s{};
  ASSERT_EQ(PosnetParseStatus("P1#X0;2;0;1;1;3;26;12;10/23/8/5/17/100/50/25/7/1234.50/ABC", &s), 0);
  EXPECT_EQ(s.fiscalMode, 1);
  EXPECT_EQ(s.receipts, 17u);
  const double rates[7] = {23, 8, 5, 101, 101, 101, 100};
  const double totals[7] = {100, 50, 25, 0, 0, 0, 7};
  for (int i = 0; i < 7; i++) {
    EXPECT_DOUBLE_EQ(s.vatRates[i], rates[i]) << i;
    EXPECT_DOUBLE_EQ(s.totalizers[i], totals[i]) << i;
  }
  EXPECT_DOUBLE_EQ(s.cash, 1234.5);
  EXPECT_STREQ(s.uniqueNumber, "ABC");
  EXPECT_STREQ(s.dateText, "20261210");
  ASSERT_EQ(PosnetParseStatus("P1#X5;0;0;1;1;0;26;1;2/23/8/5/4/3/2/10/1/2/3/4/5/6/0/0/XYZ", &s), 0);
  EXPECT_EQ(s.lastOperation, 5);
  EXPECT_DOUBLE_EQ(s.vatRates[5], 2);
  EXPECT_DOUBLE_EQ(s.totalizers[5], 6);
  for (const char* bad : {"P1#X0;1;0;1;1;3;26;12/23/17/1/2/3/A", "P1#Y0;1;0;1;1;3;26;12;10/23/17/1/2/3/A",
                          "P1#X0;1;0;1;1;3;26;12;10/23/x/1/2/3/A", "P1#X0;1;0;1;1;3;26;12;10", ""})
    EXPECT_EQ(PosnetParseStatus(bad, &s), PN_BAD_ANSWER) << bad;
}

TEST_F(PosnetThermalTest, AnswersStopAtTheirBuffer) {
  Use(2);
  port.printer.thermalStatusAnswer = "P1#X" + std::string(400, '1');
  PosnetStatus s{};
  EXPECT_EQ(PosnetCmd(18, &s), PN_TOO_LONG);
  port.printer.thermalStatusAnswer.clear();
  EXPECT_EQ(PosnetCmd(18, &s), 0);
  EXPECT_EQ(s.receipts, 17u);
}

TEST_F(PosnetThermalTest, CancelAndClock) {
  Use(2);
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(PosnetCmd(10), 0);
  EXPECT_EQ(port.printer.alone, 1);   // CAN
  EXPECT_EQ(port.printer.Commands().back(), "0$e");
  port.printer.statusOverride = 0x66;   // the receipt stays open
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(10); }, "{F9}t{F9}{ESC}"), PN_USER_ABORT);
  EXPECT_TRUE(Shown("Anulowanie paragonu nie powiodło się. Powtórzyć ?")) << seen;
  EXPECT_EQ(port.printer.Count("0$e"), 3);
  port.printer.statusOverride = -1;
  int v[5] = {};
  EXPECT_EQ(PosnetCmd(17, &v[0], &v[1], &v[2], &v[3], &v[4]), 0);
  EXPECT_EQ(v[0], 26);
  EXPECT_EQ(v[1], 12);
  port.printer.clockOffsetMinutes = 30;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(21); }, "{F9}x"), PN_CLOCK_OFF);
  EXPECT_EQ(port.printer.Count("1;"), 0);
  port.printer.clockOffsetMinutes = 0;
  EXPECT_EQ(PosnetCmd(21), 0);
  EXPECT_EQ(port.printer.Commands().back().substr(0, 2), "1;");
}

TEST_F(PosnetThermalTest, SilentPrinterAndTheUncalledErrorQuery) {
  Use(2);
  port.printer.silent = true;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(6); }, "{F9}{ESC}"), PN_USER_ABORT);
  EXPECT_TRUE(Shown("Drukarka nie odpowiada. Czekać dalej ?")) << seen;
  int error = 0;
  EXPECT_EQ(PosnetErrorQuery(&error), PN_NO_ANSWER);
  port.printer.silent = false;
  port.printer.thermalErrors["$l"] = 17;
  Line(1);
  EXPECT_EQ(PosnetErrorQuery(&error), 0);
  EXPECT_EQ(error, 17);
  EXPECT_EQ(port.printer.Commands().back(), "0#n");
}

}  // namespace
