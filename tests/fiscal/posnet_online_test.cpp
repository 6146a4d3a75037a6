// The ONLINE protocol against the simulated printer on the fake port: the
// frame and checksum, the reply readers and their failures, the commands of
// the operations, the header markup.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "env/services.h"
#include "fiscal/posnet.h"
#include "platform/clock.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

class PosnetOnlineTest : public FiscalTest {
 protected:
  void SetUp() override {
    FiscalTest::SetUp();
    if (HasFatalFailure()) return;
    Configure(DF_TYPE_POSNET_ONLINE, 'T');
    ASSERT_EQ(PosnetCmd(1), 0);
    ASSERT_TRUE(PosnetOnlineInUse());
  }
  // The reply bytes the printer gives next, as they stand.
  void Reply(const std::string& bytes) {
    port.printer.silent = true;
    for (char c : bytes) port.input.push_back(static_cast<unsigned char>(c));
  }
  int Receive() {
    char buffer[100];
    return PosnetOnlineOdbierz(buffer, sizeof buffer);
  }
};

TEST(PosnetVectors, ChecksumsFramesAndAmounts) {
  EXPECT_EQ(PosnetCrc("123456789", 9), 0x31C3);
  EXPECT_EQ(PosnetOnlineFrame("rtcget\t"), "\x02rtcget\t#7D61\x03");
  EXPECT_EQ(PosnetThermalChecksum("0#d12/"), "A4");
  const struct {
    double value;
    const char* text;
  } amounts[] = {{12.00, "12/"}, {12.50, "12.50/"}, {0.07, "0.07/"}, {1234.99, "1234.99/"}, {0.005, "0.01/"}};
  for (const auto& a : amounts) EXPECT_EQ(PosnetAmountText(a.value), a.text) << a.value;
}

TEST_F(PosnetOnlineTest, LineCommandsCarryTheTakeBackMarkAndTheLetterNumber) {
  EXPECT_EQ(PosnetCmd(12, 0, "Chleb", 2.0, static_cast<int>('D'), 3.5, 7.0, 0.0, 0), 0);
  EXPECT_EQ(PosnetCmd(12, 2, "Mleko", 1.0, static_cast<int>('A'), 2.99, 2.99, 0.0, 0), 0);
  auto commands = port.printer.Commands();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0], "trline\tst1\tnaChleb\tvt3\tpr350\twa700\til2.000\t");
  EXPECT_EQ(commands[1], "trline\tnaMleko\tvt0\tpr299\twa299\til1.000\t");
}

TEST_F(PosnetOnlineTest, BadChecksumsAndBrokenFramesAreRefused) {
  port.printer.badChecksum = true;
  port.printer.onlineErrors["trinit"] = 2035;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(13 | DF_QUIET, 1, "x", "", "", nullptr); }, ""), PN_BAD_CHECKSUM);
  port.printer.badChecksum = false;
  const struct {
    std::string bytes;
    int result;
  } replies[] = {
      {"\x02" "\x03", PN_BAD_CHECKSUM},                      // nothing before ETX
      {"\x02#12\x03", PN_BAD_CHECKSUM},                      // too short for "#" and four digits
      {"\x02rtcget\t12345\x03", PN_BAD_CHECKSUM},            // no "#" where it belongs
      {"\x02rtcget\t#7DG1\x03", PN_BAD_CHECKSUM},            // not hexadecimal
      {PosnetOnlineFrame("rtcget\t?12"), PN_BAD_ANSWER},     // error number not four digits
      {PosnetOnlineFrame("rtcget\t?12a4"), PN_BAD_ANSWER},
      {PosnetOnlineFrame("rtcget\t?0484"), 484},
      {PosnetOnlineFrame("rtcget?0484"), 0},                 // no TAB before "?": no error reply
      {"junk" + PosnetOnlineFrame("rtcget\tda"), 0},         // bytes before STX are dropped
      {"\x02rtcget", PN_NO_ANSWER},                          // stops before ETX
      {PosnetOnlineFrame(std::string(120, 'x')), PN_TOO_LONG},
  };
  for (const auto& r : replies) {
    port.input.clear();
    Reply(r.bytes);
    EXPECT_EQ(Receive(), r.result) << r.bytes;
  }
}

// A reply fills its buffer up to the byte before the last (kept for the
// NUL): text, "#" and four digits of 99 bytes fit the 100-byte buffer, and
// of 299 the 300-byte one; one byte more is too long. The check sums were
// worked out by hand.
TEST_F(PosnetOnlineTest, ReplyUpToItsBufferAndOneByteOver) {
  const struct {
    int size;
    std::string text;
    const char* crc;
    int result;
  } replies[] = {
      {100, "rtcget\t" + std::string(87, 'x'), "4666", 0},
      {100, "rtcget\t" + std::string(88, 'x'), "B19D", PN_TOO_LONG},
      {300, "trline\t" + std::string(287, 'x'), "4783", 0},
      {300, "trline\t" + std::string(288, 'x'), "44BC", PN_TOO_LONG},
  };
  for (const auto& r : replies) {
    SCOPED_TRACE(r.text.size());
    port.input.clear();
    Reply("\x02" + r.text + "#" + r.crc + "\x03");
    std::vector<char> buffer(static_cast<size_t>(r.size) + 1, '!');
    EXPECT_EQ(PosnetOnlineOdbierz(buffer.data(), r.size), r.result);
    EXPECT_EQ(buffer[static_cast<size_t>(r.size)], '!') << "nothing written past the buffer";
    if (r.result == 0) {
      EXPECT_EQ(std::string(buffer.data()), r.text);
    }
  }
}

TEST_F(PosnetOnlineTest, ErrorNumberOfTheHeaderAsksForTheDailyReport) {
  port.printer.onlineErrors["hdrset"] = 2035;
  port.printer.onlineErrors["opendrwr"] = 2035;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(14, "Sklep", nullptr); }, "{F9}x"), PN_DAILY_REPORT_FIRST);
  EXPECT_TRUE(Shown("Operacja niemożliwa. Wykonaj raport dobowy.")) << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(20); }, "{F9}x"), 2035);
  EXPECT_TRUE(Shown("Niezerowe totalizery.")) << seen;
}

TEST_F(PosnetOnlineTest, ReplyFieldsMissingOrMalformed) {
  const struct {
    const char* reply;
    int result;
  } clocks[] = {{"rtcget", PN_FIELD_MISSING},
                {"rtcget\tda2026-12-10;10:0", PN_BAD_ANSWER},
                {"rtcget\tda2026/12-10;10:00", PN_BAD_ANSWER},
                {"rtcget\tda2026-12-1x;10:00", PN_BAD_ANSWER},
                {"rtcget\tda2026-12-10;10:07", 0}};
  for (const auto& c : clocks) {
    port.printer.onlineReplies["rtcget"] = c.reply;
    int v[5] = {};
    EXPECT_EQ(PosnetCmd(17 | DF_QUIET, &v[0], &v[1], &v[2], &v[3], &v[4]), c.result) << c.reply;
    if (c.result == 0) {
      const int expected[5] = {2026, 12, 10, 10, 7};
      for (int i = 0; i < 5; i++) EXPECT_EQ(v[i], expected[i]);
    }
  }
  const char* reply = "x\tfsT\tnu0123456789ABCDEF\tva23,5\tvbx\tvc\tto12.9";
  char text[13];
  int yes = 0, whole = 0;
  double number = 0;
  EXPECT_EQ(PosnetFieldYesNo(reply, "fs", &yes), 0);
  EXPECT_EQ(yes, 1);
  EXPECT_EQ(PosnetFieldText(reply, "nu", text, sizeof text), 0);
  EXPECT_STREQ(text, "0123456789AB");
  EXPECT_EQ(PosnetFieldNumber(reply, "va", &number), 0);
  EXPECT_DOUBLE_EQ(number, 23.5);
  EXPECT_EQ(PosnetFieldNumber(reply, "vb", &number), PN_BAD_ANSWER);
  EXPECT_EQ(PosnetFieldNumber(reply, "vc", &number), PN_BAD_ANSWER);
  EXPECT_EQ(PosnetFieldNumber(reply, "vd", &number), PN_FIELD_MISSING);
  EXPECT_EQ(PosnetFieldInt(reply, "to", &whole), 0);
  EXPECT_EQ(whole, 12);
  EXPECT_EQ(PosnetFieldYesNo(reply, "nu", &yes), PN_BAD_ANSWER);
}

TEST_F(PosnetOnlineTest, StatusReadFillsTheRecordFromFourCommands) {
  PosnetStatus s{};
  ASSERT_EQ(PosnetCmd(18, &s), 0);
  EXPECT_EQ(port.printer.AllCommands(), "scomm\t|strns\t|sfsk\t|stot\t");
  EXPECT_EQ(s.fiscalMode, 1);
  EXPECT_STREQ(s.uniqueNumber, "ABC123456789");
  EXPECT_EQ(s.transactionMode, 1);
  EXPECT_EQ(s.ramResets, 3);
  EXPECT_DOUBLE_EQ(s.vatRates[0], 23);
  EXPECT_DOUBLE_EQ(s.vatRates[5], 101);
  EXPECT_DOUBLE_EQ(s.totalizers[0], 123.45);
  EXPECT_EQ(s.receipts, 17u);
  EXPECT_EQ(s.lastOperation, -1);
  EXPECT_EQ(s.year, -1);
  EXPECT_DOUBLE_EQ(s.cash, 4294967295.0);
  port.printer.onlineReplies["sfsk"] = "sfsk\tcl3";
  EXPECT_EQ(PosnetCmd(18 | DF_QUIET, &s), PN_FIELD_MISSING);
}

TEST_F(PosnetOnlineTest, HeaderMarkupOfPosnetOnline) {
  EXPECT_EQ(PosnetOnlineMarkup("A & B"), "A && B\n");
  EXPECT_EQ(PosnetOnlineMarkup("<1h>word<1>"), "&1&hword&h&1\n");
  EXPECT_EQ(PosnetOnlineMarkup("<c>Sklep<w2i>duzy"), "&cSklep&b&2&iduzy&i&2\n");
  EXPECT_EQ(PosnetOnlineMarkup("<rbW>x<3>y<4>z<3>"), "x&3yz&3\n");
  ASSERT_EQ(PosnetCmd(14, "<1h>word<1>", "A&B", nullptr), 0);
  EXPECT_EQ(port.printer.AllCommands(), "hdrset\ttx&1&hword&h&1\nA&&B\tpr1\t");
}

TEST_F(PosnetOnlineTest, CommandsOutgrowingTheirBufferAreNotSent) {
  std::string ampersands(600, '&');   // 1200 bytes once doubled
  EXPECT_EQ(PosnetCmd(14, ampersands.c_str(), nullptr), PN_TOO_LONG);
  std::string name(300, 'N');
  EXPECT_EQ(PosnetCmd(12, 1, name.c_str(), 1.0, static_cast<int>('A'), 1.0, 1.0, 0.0, 0), PN_TOO_LONG);
  parametryPosnet.printNip = 'T';
  EXPECT_EQ(PosnetCmd(13, 0, "x", "", "", name.c_str()), PN_TOO_LONG);
  EXPECT_EQ(port.printer.AllCommands(), "trinit\tbm0\t");   // the NIP never went out
  Configure(2, 'T');
  ASSERT_EQ(PosnetCmd(1), 0);
  std::string line(200, 'L');
  EXPECT_EQ(PosnetCmd(14, line.c_str(), line.c_str(), line.c_str(), nullptr), PN_TOO_LONG);
  EXPECT_EQ(port.printer.Count("hdrset"), 0);
  EXPECT_EQ(PosnetCmd(14, "Sklep", "Ul. Polna", nullptr), 0);
  EXPECT_EQ(port.printer.Commands().back(), "hdrset\ttxSklep\nUl. Polna\t");
}

TEST_F(PosnetOnlineTest, SilentPrinterAsksAndEscGivesUp) {
  port.printer.silent = true;
  PlatDateTime before{}, after{};
  PlatNow(&before);
  int v[5];
  EXPECT_EQ(RunUntilEsc([&] { return PosnetCmd(17, &v[0], &v[1], &v[2], &v[3], &v[4]); }, "{F9}t{F9}{ESC}"),
            PN_USER_ABORT);
  EXPECT_TRUE(Shown("Drukarka nie odpowiada. Czekać dalej ?")) << seen;
  PlatNow(&after);
  EXPECT_GE((after.minute - before.minute) * 60 + after.second - before.second, 10);   // two waits of 5 s
}

TEST_F(PosnetOnlineTest, DailyReportChecksThePrinterClock) {
  port.printer.clockOffsetMinutes = 30;
  EXPECT_EQ(RunUntilEsc([] { return PosnetCmd(21); }, "{F9}x"), PN_CLOCK_OFF);
  EXPECT_TRUE(Shown("Niewłaściwy czas RTC drukarki.")) << seen;
  EXPECT_EQ(port.printer.Count("dailyrep"), 0);
  port.printer.clockOffsetMinutes = -29;
  EXPECT_EQ(PosnetCmd(21), 0);
  std::string today = get_cur_das(0);
  EXPECT_EQ(port.printer.Commands().back(),
            "dailyrep\tda" + today.substr(0, 4) + "-" + today.substr(4, 2) + "-" + today.substr(6, 2) + "\t");
  int dateFlag = 9, minutes = 9;
  EXPECT_EQ(PosnetCmd(5, &dateFlag, &minutes), 0);
  EXPECT_EQ(dateFlag, 0);
  EXPECT_EQ(minutes, -29);
}

TEST_F(PosnetOnlineTest, UncalledCommands) {
  EXPECT_EQ(PosnetOnlineVatSet(), 0);
  EXPECT_EQ(port.printer.Commands().back(), "vatset\tva23\tvb8\tvc5\tvd7\tvg100\t");
  int64_t from = PosnetCounter();
  EXPECT_GE(PosnetElapsedMs(from, PosnetCounter()), 0.0);
  EXPECT_DOUBLE_EQ(PosnetElapsedMs(0, 2500000), 2.5);
}

}  // namespace
