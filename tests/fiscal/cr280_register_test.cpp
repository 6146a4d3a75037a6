// The four CR280 models through the simulated register: the XOR frames, the
// code fields and name tables of each model, the report scales, the PLU
// list, zeroing and the register's answers (EOT, DLE ';', status frames).
#include <gtest/gtest.h>

#include <string>

#include "env/code_pages.h"
#include "tests/fiscal/driver_fixture.h"

namespace {

class Cr280Test : public DriverTest {};

TEST_F(Cr280Test, TheZeroingFrameAndTheLine) {
  Cr280Simulator cr(KASA_CR280_PLUS);
  Connect(KASA_CR280_PLUS, &cr);
  EXPECT_FALSE(port.settings.rtsCts);
  EXPECT_EQ(port.settings.parity, PLAT_PARITY_EVEN);
  EXPECT_EQ(port.settings.dataBits, 8);
  cr.sales[1] = SimSales{2, 700};
  EXPECT_EQ(KFZerowanie("20261211"), 0);
  ASSERT_EQ(cr.frames.size(), 1u);
  EXPECT_EQ(cr.frames[0], "\x02Zp\x03\x29");
  EXPECT_TRUE(cr.sales.empty());
  EXPECT_EQ(port.written.back(), '\x04');   // the layer ends with EOT
}

TEST_F(Cr280Test, CodeFieldsPerModel) {
  const struct {
    int type;
    const char* code;
    int result;
    std::string field;
  } cases[] = {
      {KASA_CR280_PLUS, "123", 0, "0000000000123"},    {KASA_CR280_PLUS3, "123", 0, "          123"},
      {KASA_CR280_THER3, "12A", 0, "          12A"},   {KASA_CR280_THER4, "1234567", 0, "      1234567"},
      {KASA_CR280_THER3, "1234567", 0, "      1234567"}, {KASA_CR280_PLUS, "12A", -1, ""},
      {KASA_CR280_PLUS, "1234567", -1, ""},            {KASA_CR280_PLUS3, "1234567", -1, ""},
  };
  for (const auto& c : cases) {
    Cr280Simulator cr(c.type);
    Connect(c.type, &cr);
    seen.clear();
    Goods goods;
    goods.code = c.code;
    EXPECT_EQ(Send(goods, c.result ? "{F9}x{ESC}" : ""), c.result) << c.type << " " << c.code;
    if (c.result == 0) {
      ASSERT_EQ(cr.frames.size(), 1u);
      EXPECT_EQ(cr.frames[0].substr(3, 13), c.field) << c.type;
      EXPECT_EQ(cr.frames[0].size(), c.type == KASA_CR280_PLUS3 ? 48u : 44u);
    } else {
      EXPECT_TRUE(cr.frames.empty());
      EXPECT_TRUE(Shown(std::string(c.code) == "12A" ? "Kod zawiera znak różny od cyfry - 000000000012A"
                                                     : "Za duża ilość znaków w kodzie dla danej kasy - 1234567"))
          << seen;
    }
    KFClose();
  }
}

TEST_F(Cr280Test, TheRecordsFieldsAndNameTables) {
  const struct {
    int type;
    std::string name;
  } cases[] = {{KASA_CR280_PLUS3, "\xAB\xA5\xA1\xA7\xA6\xA2 A"}, {KASA_CR280_THER4, "\x85\x9A\x92\x9E\x9B\x95 A"}};
  for (const auto& c : cases) {
    Cr280Simulator cr(c.type);
    Connect(c.type, &cr);
    parametryKF.cr280[KFL_EXEMPT] = '5';
    Goods goods;
    goods.code = "77";
    goods.name = Utf8ToMazText("Łóćźśę Abcdef");
    goods.price = 1234.56;
    goods.vat = 6;
    goods.department = 7;
    EXPECT_EQ(Send(goods), 0);
    ASSERT_EQ(cr.frames.size(), 1u);
    const std::string& f = cr.frames[0];
    EXPECT_EQ(f.substr(1, 2), "P0");
    EXPECT_EQ(f.substr(16, 2), "07");
    EXPECT_EQ(f[18], '0');   // code 6 has no letter
    EXPECT_EQ(f.substr(19, 3), std::string(3, '\0'));
    EXPECT_EQ(f.substr(22, 8), "00123456");
    EXPECT_EQ(f.substr(30, 12), c.name + "    ") << c.type;
    EXPECT_EQ(static_cast<unsigned char>(f.back()), KFXor(f.substr(1, f.size() - 2)));
    EXPECT_EQ(MazToUtf8Text(Cr280NazwaWstecz(c.name, c.type == KASA_CR280_PLUS3).c_str()), "Łóćźśę A");
    KFClose();
  }
}

TEST_F(Cr280Test, AnswersToAPluRecord) {
  Cr280Simulator cr(KASA_CR280_THER3);
  Connect(KASA_CR280_THER3, &cr);
  Goods goods;
  cr.eotFirst = 2;   // EOT asks for the record again
  EXPECT_EQ(Send(goods), 0);
  EXPECT_EQ(cr.frames.size(), 3u);
  cr.dle = true;     // DLE ';' and a few bytes before the ACK
  EXPECT_EQ(Send(goods), 0);
  cr.dle = false;
  cr.status = '1';
  EXPECT_EQ(Send(goods, "{F9}x{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Kasa zajęta")) << seen;
  EXPECT_TRUE(Shown("Brak komunikacji z kasą lub operacja nielegalna !")) << seen;
  cr.status = '0';
  cr.eotFirst = 7;
  EXPECT_EQ(Send(goods, "x{ESC}"), -1);
}

TEST_F(Cr280Test, ReportScalesPerModel) {
  const struct {
    int type;
    long quantity, value;
    double shownQuantity, shownValue;
  } cases[] = {{KASA_CR280_PLUS, 12, 4599, 12, 45.99},
               {KASA_CR280_PLUS3, 150, 4599, 1.5, 45.99},
               {KASA_CR280_THER4, 150, 459900, 0.015, 45.99},
               {KASA_CR280_THER3, 12, 4599, 12, 45.99}};
  for (const auto& c : cases) {
    Cr280Simulator cr(c.type);
    Connect(c.type, &cr);
    cr.sales[55] = SimSales{c.quantity, c.value};
    Goods goods;
    goods.code = "55";
    double quantity, value;
    EXPECT_EQ(Report(goods, &quantity, &value), 0) << c.type;
    EXPECT_DOUBLE_EQ(quantity, c.shownQuantity) << c.type;
    EXPECT_DOUBLE_EQ(value, c.shownValue) << c.type;
    ASSERT_EQ(cr.frames.size(), 1u);
    EXPECT_EQ(cr.frames[0].size(), 31u);
    EXPECT_EQ(cr.frames[0].substr(3, 13), cr.frames[0].substr(16, 13));
    cr.garble = true;
    seen.clear();
    EXPECT_EQ(Report(goods, &quantity, &value, "{F9}xx{ESC}"), -1);
    EXPECT_TRUE(Shown("Błąd sumy kontrolnej !")) << seen;
    KFClose();
  }
}

TEST_F(Cr280Test, ThePluListIsReadIntoThePriceList) {
  for (int type : {KASA_CR280_PLUS, KASA_CR280_THER4}) {
    Cr280Simulator cr(type);
    Connect(type, &cr);
    bool p = type == KASA_CR280_PLUS;
    cr.plus[123] = SimPlu{Cr280Nazwa(Utf8ToMazText("Żółw").c_str(), 4, p), 350, '2', 2, ""};
    cr.plus[9] = SimPlu{"SOL         ", 199, '1', 16, ""};
    int result = -1;
    std::string list = List(&result);
    EXPECT_EQ(result, 0);
    std::string code9 = p ? "0000000000009" : "            9", code123 = p ? "0000000000123" : "          123";
    EXPECT_EQ(MazToUtf8Text(list.c_str()), code9 + "\tSOL         \t1\t1.990000\t16\n" + code123 +
                                               "\tŻółw        \t2\t3.500000\t2\n")
        << type;
    EXPECT_EQ(cr.frames[0].substr(3, 26), p ? "0000000000001" "0000000999999" : "            1" "9999999999999");
    KFClose();
  }
}

}  // namespace
