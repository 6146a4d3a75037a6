// DSA40, DSA100, DSA4000S and MAŁA through their simulated registers: the
// decimal checksum, the name tables, numbered and plain frames, the report
// modes, the PLU list and the register's refusals.
#include <gtest/gtest.h>

#include <string>

#include "env/code_pages.h"
#include "tests/fiscal/driver_fixture.h"

namespace {

class DsaTest : public DriverTest {};

std::string Bytes(std::initializer_list<int> bytes) {
  std::string text;
  for (int b : bytes) text += static_cast<char>(b);
  return text;
}

TEST_F(DsaTest, ChecksumAndNameTables) {
  EXPECT_EQ(DsaSuma(Bytes({0x02, 'B', '0', '0', 0x03})), "66");
  EXPECT_EQ(DsaSuma(Bytes({0x02, 'A', 'p', ' ', ' ', ' ', '1', '0', '0', 0x03})), "22");   // 322
  const std::string cma = Utf8ToMazText("Ćma");
  EXPECT_EQ(DsaNazwa(cma.c_str(), 3, 16), Bytes({0x45, 0x7A, 0x6A}) + std::string(13, ' '));
  EXPECT_EQ(MazToUtf8Text(DsaNazwaWstecz(Bytes({0x45, 0x7A, 0x6A, '1'})).c_str()), "Ćma1");
  const struct {
    const char* name;
    std::string sent;
    const char* back;
  } plain[] = {{"Łódź", Bytes({0x9C, 0xA2, 'D', 0x9F}), "ŁÓDŹ"},
               {"ąę ść", Bytes({0x85, 0x8A, ' ', 's', 0x9B}), "ĄĘ ŚĆ"},
               {"żółw", Bytes({'z', 0xA2, 0x9C, 'W'}), "ŻÓŁW"}};
  for (const auto& p : plain) {
    std::string name = Utf8ToMazText(p.name);
    std::string sent = Dsa40Nazwa(name.c_str(), static_cast<int>(name.size()), 10);
    EXPECT_EQ(sent, p.sent + std::string(10 - p.sent.size(), ' ')) << p.name;
    EXPECT_EQ(MazToUtf8Text(Dsa40NazwaWstecz(p.sent).c_str()), p.back) << p.name;
  }
}

TEST_F(DsaTest, Dsa4000SendsNumberedPluRecords) {
  DsaSimulator dsa(KASA_DSA4000S);
  Connect(KASA_DSA4000S, &dsa);
  EXPECT_TRUE(port.settings.rtsCts);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_NONE);
  EXPECT_EQ(port.settings.stopBits, 2);
  parametryKF.dsaBarcode = 'N';
  Goods goods;
  goods.code = "123";
  goods.name = Utf8ToMazText("Ćma");
  goods.price = 2.5;
  goods.record = 5;
  EXPECT_EQ(Send(goods), 0);
  parametryKF.dsaBarcode = 'T';
  goods.code = "5901234123457";
  goods.record = 7;
  EXPECT_EQ(Send(goods), 0);
  ASSERT_EQ(dsa.frames.size(), 2u);
  const std::string name = Bytes({0x45, 0x7A, 0x6A}) + std::string(13, ' ');
  EXPECT_EQ(dsa.frames[0].substr(0, 8), "\x02" "00V4002");
  EXPECT_EQ(dsa.frames[0].substr(8, 45), "00123" + name + "000000250" + "01" + std::string(13, '0'));
  EXPECT_EQ(dsa.frames[0].size(), 56u);
  // Numbered by the record: PLU 0007 with the goods code as its barcode.
  EXPECT_EQ(dsa.frames[1].substr(1, 2), "01");
  EXPECT_EQ(dsa.frames[1].substr(8, 5), "00007");
  EXPECT_EQ(dsa.frames[1].substr(40, 13), "5901234123457");
  EXPECT_EQ(dsa.plus[7].barcode, "5901234123457");
  // The program acknowledges each answer.
  EXPECT_EQ(port.written.back(), '\x06');
  // A record number past four digits is refused, not sent as PLU 0000.
  goods.record = 10000;
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Numer towaru 10000 nie mieści się w 4 cyfrach kasy.")) << seen;
  EXPECT_EQ(dsa.frames.size(), 2u);
  goods.record = 9999;
  EXPECT_EQ(Send(goods), 0);
  EXPECT_EQ(dsa.frames[2].substr(8, 5), "09999");
}

TEST_F(DsaTest, CodesTooLongForTheModelAreRefusedBeforeSending) {
  const struct {
    int type;
    const char* code;
    int result;
  } cases[] = {{KASA_DSA40, "12345", -1}, {KASA_DSA40, "1234", 0}, {KASA_MALA, "1234", -1}, {KASA_MALA, "123", 0},
               {KASA_DSA100, "12345", -1}, {KASA_DSA4000S, "123456", -1}};
  for (const auto& c : cases) {
    DsaSimulator dsa(c.type);
    Connect(c.type, &dsa);
    parametryKF.dsaBarcode = 'N';
    seen.clear();
    Goods goods;
    goods.code = c.code;
    EXPECT_EQ(Send(goods, c.result ? "{F9}x{ESC}" : ""), c.result) << c.type << " " << c.code;
    EXPECT_EQ(dsa.frames.size(), c.result ? 0u : 1u) << c.type << " " << c.code;
    if (c.result) {
      EXPECT_TRUE(Shown("Za duża ilość znaków w kodzie dla danej kasy")) << seen;
    }
    KFClose();
  }
}

TEST_F(DsaTest, Dsa100ReportsInModeTwoAndZeroesInModeThree) {
  DsaSimulator dsa(KASA_DSA100);
  Connect(KASA_DSA100, &dsa);
  dsa.sales[12] = SimSales{1500, 4599};
  Goods goods;
  goods.code = "12";
  double quantity, value;
  // Esc to "Czy wykonać raport zerujący stany ?": only read.
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "{ESC}"), 0);
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_DOUBLE_EQ(quantity, 1.5);
  EXPECT_DOUBLE_EQ(value, 45.99);
  EXPECT_EQ(dsa.Count("2050010012", 3), 0);
  EXPECT_EQ(dsa.Count("V2050", 3), 1);
  // Yes to both questions: the zeroing report gives no values.
  ASSERT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "tt"), 0);
  EXPECT_EQ(Report(goods, &quantity, &value), 0);
  EXPECT_EQ(quantity, 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(dsa.Count("V3054010012", 3), 1);
  EXPECT_EQ(dsa.sales.count(12), 0u);
  // Esc to the second question asks nothing of the register.
  size_t frames = dsa.frames.size();
  EXPECT_EQ(RunUntilEsc([] { return KFOpenRaport(); }, "t{ESC}"), -1);
  EXPECT_EQ(dsa.frames.size(), frames);
}

TEST_F(DsaTest, NumberedAnswersThatFail) {
  DsaSimulator dsa(KASA_DSA100);
  Connect(KASA_DSA100, &dsa);
  dsa.error = "0012";
  Goods goods;
  EXPECT_EQ(Send(goods, "{F9}xx{ESC}"), -1);
  EXPECT_TRUE(Shown("Błąd numer 0012")) << seen;
  dsa.error.clear();
  seen.clear();
  // Four bare acknowledgements, each moving the sequence on (which lives as
  // long as the process).
  dsa.bareAck = true;
  EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Błąd komunikacji, kasa zajęta lub włóż kluczyk A !")) << seen;
  ASSERT_EQ(dsa.frames.size(), 5u);
  int first = std::stoi(dsa.frames[1].substr(1, 2));
  EXPECT_EQ(dsa.frames[0].substr(1, 2), dsa.frames[1].substr(1, 2));   // an error does not move it
  EXPECT_EQ(std::stoi(dsa.frames[4].substr(1, 2)), (first + 3) % 100);
  seen.clear();
  dsa.bareAck = false;
  dsa.garble = true;
  EXPECT_EQ(Send(goods, "{F9}xx{ESC}"), -1);
  EXPECT_TRUE(Shown("Błąd sumy kontrolnej !")) << seen;
}

TEST_F(DsaTest, PlainFramesOfDsa40AndMala) {
  for (int type : {KASA_DSA40, KASA_MALA}) {
    DsaSimulator dsa(type);
    Connect(type, &dsa);
    Goods goods;
    goods.code = "42";
    goods.name = Utf8ToMazText("Śledź");
    goods.price = 12.34;
    goods.vat = 8;
    ASSERT_EQ(KFOpenSendTowar(), 0);
    EXPECT_EQ(Send(goods), 0);
    KFCloseSendTowar();
    ASSERT_EQ(dsa.frames.size(), 2u);
    std::string expected = "PP0042" + std::string("00001234") + "sLED" + Bytes({0x9F}) + "     ";
    expected += type == KASA_MALA ? std::string("4") + std::string(13, '0') : "5";   // reduced 2 of each set
    EXPECT_EQ(dsa.frames[0].substr(1, expected.size()), expected) << type;
    EXPECT_EQ(dsa.frames[0].size(), type == KASA_MALA ? 42u : 29u);
    EXPECT_EQ(dsa.frames[1], "\x02" "B66\x03");
    dsa.sales[42] = SimSales{3, 3702};
    double quantity, value;
    EXPECT_EQ(Report(goods, &quantity, &value), 0);
    EXPECT_EQ(quantity, 3);
    EXPECT_DOUBLE_EQ(value, 37.02);
    EXPECT_EQ(dsa.frames.back(), "\x02" "Ap0042" + DsaSuma("\x02" "Ap004200\x03") + "\x03");
    // A register that keeps refusing: seven attempts, then the message.
    seen.clear();
    dsa.refuse = true;
    EXPECT_EQ(Send(goods, "{F9}x{ESC}"), -1);
    EXPECT_TRUE(Shown("Błąd komunikacji, kasa zajęta lub w trybie PRG-X/Z !")) << seen;
    EXPECT_EQ(dsa.Count("PP"), 8);
    KFClose();
  }
}

TEST_F(DsaTest, TheDsa40ListAsksForEveryPluNumber) {
  DsaSimulator dsa(KASA_DSA40);
  Connect(KASA_DSA40, &dsa);
  dsa.plus[1] = SimPlu{"CUKIER    ", 350, '1', 0, ""};
  dsa.plus[1800] = SimPlu{"s" + std::string("OL       "), 199, '3', 0, ""};
  int result = 0;
  std::string list = List(&result, "{F9}x");
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(Shown("Operacja czasochłonna !")) << seen;
  EXPECT_EQ(dsa.frames.size(), 1800u);
  EXPECT_EQ(dsa.frames[0].substr(1, 6), "Ap   1");
  EXPECT_EQ(MazToUtf8Text(list.c_str()), "0001\tCUKIER    \t1\t3.500000\t1\n"
                                         "1800\tŚOL       \t3\t1.990000\t3\n");
}

}  // namespace
