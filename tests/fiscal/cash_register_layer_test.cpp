// The cash-register layer: the register settings and their letters, the type
// list, the code and department checks, PLU numbering, the byte functions
// with their log, and what the layer refuses without asking the register.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "app/param_store.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "tests/fiscal/register_fixture.h"

namespace {

class LayerTest : public RegisterTest {};

// ---- settings

TEST_F(LayerTest, AFreshTableGivesTheDefaultsAndKeepsThem) {
  EXPECT_EQ(std::string(parametryKF.ps2000, 6), "124430");
  EXPECT_EQ(std::string(parametryKF.tango, 6), "ABDDCZ");
  EXPECT_EQ(std::string(parametryKF.novitus, 6), "ABDDCG");
  EXPECT_EQ(std::string(parametryKF.dsa, 6), "125534");
  EXPECT_EQ(parametryKF.ps2000CodeLength, 4);
  EXPECT_EQ(parametryKF.codeIsPlu, 'T');
  EXPECT_EQ(parametryKF.adaxPluFlag, ' ');
  // The first load created the records: digits as integers, capitals as text.
  ParamTable ctx{};
  ASSERT_EQ(OtworzParametryKF(&ctx, 0), 0);
  EXPECT_EQ(SeekParam(&ctx, 3, 'I'), 0);
  int value = -1;
  GetParamInt(&ctx, 3, &value, 9);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(SeekParam(&ctx, 76, 'C'), 0);
  d4close(ctx.table);
  // Saved changes come back on the next load.
  parametryKF.ps2000[KFL_EXEMPT] = '7';
  parametryKF.tango[KFL_REDUCED1] = 'F';
  parametryKF.tangoQuantityDecimals = 3;
  ASSERT_EQ(ZapiszParametryKF(), 0);
  std::memset(&parametryKF, 0, sizeof parametryKF);
  ASSERT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(parametryKF.ps2000[KFL_EXEMPT], '7');
  EXPECT_EQ(parametryKF.tango[KFL_REDUCED1], 'F');
  EXPECT_EQ(parametryKF.tangoQuantityDecimals, 3);
}

TEST_F(LayerTest, VatLettersBothWays) {
  const char* set = "ABDECZ";   // basic, reduced 1, reduced 2, refund, zero, exempt
  const struct {
    int code;
    char letter;
  } cases[] = {{1, 'A'}, {2, 'B'}, {8, 'D'}, {9, 'E'}, {3, 'C'}, {5, 'C'}, {13, 'C'}, {4, 'Z'}, {7, '0'}};
  for (const auto& c : cases) EXPECT_EQ(KFLiteraVat(set, c.code, '0'), c.letter) << c.code;
  const struct {
    char letter;
    int code;
  } back[] = {{'Z', 4}, {'A', 1}, {'B', 2}, {'C', 3}, {'D', 8}, {'E', 9}, {'Q', 1}};
  for (const auto& b : back) EXPECT_EQ(KFKodVat(set, b.letter), b.code) << b.letter;
  // A letter shared by two rates gives the first in the reverse order: exempt before basic.
  EXPECT_EQ(KFKodVat("AAAAAA", 'A'), 4);
  EXPECT_EQ(KFLiteryTypu(KASA_BRAVO), parametryKF.tango);
  EXPECT_EQ(KFLiteryTypu(KASA_NOVITUS), parametryKF.novitus);
  EXPECT_EQ(KFLiteryTypu(KASA_BRAK), nullptr);
}

// ---- types and checks

TEST_F(LayerTest, TypeNames) {
  UseType(KASA_MALA);
  EXPECT_EQ(MazToUtf8Text(KasaTypNazwa()), "MAŁA");
  UseType(KASA_CR280_PLUS3);
  EXPECT_STREQ(KasaTypNazwa(), "CR280 PLUS3");
  UseType(99);
  EXPECT_STREQ(KasaTypNazwa(), "");
  for (const KFTyp& row : ListaKasFiskalnych) EXPECT_EQ(std::strlen(row.name), 14u) << row.type;
}

TEST_F(LayerTest, EveryRegisterOfTheListHasItsDriver) {
  for (const KFTyp& row : ListaKasFiskalnych)
    EXPECT_EQ(KFDriverOfType(row.type) != nullptr, row.type != KASA_BRAK) << row.type;
}

TEST_F(LayerTest, DepartmentsAcrossTheTypes) {
  const struct {
    int type;
    bool d0, d42, d65;
  } cases[] = {
      {KASA_ADAX, true, true, false},      {KASA_TOTAL_TAX, true, true, false}, {KASA_TANGO, false, true, false},
      {KASA_NOVITUS, false, true, false},  {KASA_OMRON, false, true, true},     {KASA_PS2000, false, false, false},
      {KASA_ELZAB, false, false, false},   {KASA_CR280_THER4, false, false, false},
  };
  for (const auto& c : cases) {
    UseType(c.type);
    const bool expected[] = {c.d0, c.d42, c.d65};
    const int numbers[] = {0, 42, 65};
    for (int i = 0; i < 3; i++) {
      seen.clear();
      int r = RunUntilEsc([&] { return KFNumerDzialu(numbers[i], "A1                ", 18); },
                          expected[i] ? "" : "{F9}x");
      EXPECT_EQ(r, expected[i] ? 0 : -1) << c.type << " " << numbers[i];
      if (!expected[i]) {
        EXPECT_TRUE(Shown("Niedopuszczalny numer działu/grupy")) << seen;
      }
    }
  }
  // No department goes to MAŁA and the DSA family: nothing is checked.
  UseType(KASA_DSA40);
  EXPECT_EQ(KFNumerDzialu(65, "A1", 2), 0);
  UseType(KASA_OMRON);
  RunUntilEsc([] { return KFNumerDzialu(100, "A1   ", 5); }, "{F9}x");
  EXPECT_TRUE(Shown("Niedopuszczalny numer działu/grupy 100 (1-99) dla A1")) << seen;
}

TEST_F(LayerTest, CodeChecks) {
  EXPECT_EQ(RunUntilEsc([] { return KFKodCyfry("12A", 3); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Kod zawiera znak różny od cyfry - 12A")) << seen;
  EXPECT_EQ(KFKodCyfrySpacje("12 3  ", 6), 0);
  EXPECT_EQ(RunUntilEsc([] { return KFKodCyfry("12 3", 4); }, "x"), -1);
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return KFKodPierwszaCyfra("0123", 4); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Pierwszy znak kodu musi być cyfrą 1..9 -0123")) << seen;
  EXPECT_EQ(KFKodPierwszaCyfra("9", 1), 0);
  EXPECT_EQ(KFKodDlugosc(5, "12345        ", 13), 0);
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return KFKodDlugosc(5, "123456       ", 13); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Za duża ilość znaków w kodzie dla danej kasy - 123456")) << seen;
  warehouseOptions.checkCodeLength = 'N';
  EXPECT_EQ(KFKodDlugosc(5, "123456       ", 13), 0);
}

TEST_F(LayerTest, PluNumbering) {
  const char* code = "A-17              ";
  int length = 18;
  const char* second = nullptr;
  int secondLength = 0;
  ASSERT_EQ(KFNumerPlu('N', 7, 4, &code, &length, &second, &secondLength), 0);
  EXPECT_EQ(std::string(code, length), "A-17              ");
  EXPECT_EQ(std::string(second, secondLength), "0");
  ASSERT_EQ(KFNumerPlu('T', 7, 4, &code, &length, &second, &secondLength), 0);
  EXPECT_EQ(std::string(code, length), "0007");
  EXPECT_EQ(std::string(second, secondLength), "A-17              ");
  // Numbers up to the last that fits: 40 and 9999 are kept, not written over as 0000.
  for (long plu : {40L, 9999L}) {
    const char* c = "X";
    int n = 1;
    ASSERT_EQ(KFNumerPlu('T', plu, 4, &c, &n, nullptr, nullptr), 0);
    EXPECT_EQ(std::string(c, n), plu == 40 ? "0040" : "9999");
  }
  const char* c = "X";
  int n = 1;
  EXPECT_EQ(RunUntilEsc([&] { return KFNumerPlu('T', 10000, 4, &c, &n, nullptr, nullptr); }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Numer towaru 10000 nie mieści się w 4 cyfrach kasy.")) << seen;
  EXPECT_STREQ(c, "X");
}

// ---- bytes and the log

// Answers the first byte it gets with its own text.
class AnsweringDevice : public LineDevice {
 public:
  std::string answer;
  std::string Feed(unsigned char) override { return std::exchange(answer, ""); }
};

TEST_F(LayerTest, TransmissionLogHoldsOneLinePerRunOfBytes) {
  warehouseOptions.transmissionReport = 'T';
  AnsweringDevice device;
  device.answer = "\x06Z";
  port.device = &device;
  ASSERT_EQ(KFOpen(), 0);
  ASSERT_EQ(OpenCom(1, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr), 0);
  const unsigned char frame[] = {0x02, 'A', 'B', 0x03};
  EXPECT_EQ(KFWyslij(frame, 4), 0);
  unsigned char got[2];
  EXPECT_EQ(KFOdbierz(got, 2), 0);
  EXPECT_EQ(got[1], 'Z');
  unsigned char more;
  EXPECT_EQ(KFOdbierzBajt(&more), -1);   // silence: the deadline passes
  KFClose();
  CloseCom();
  EXPECT_EQ(port.written, std::string("\x02" "AB\x03"));
  EXPECT_EQ(FileText("trans.his"), "Raport transmisji\n\n\xAE #2AB#3\n\xAF #6Z\n\xAF ");
  // Without the option no log is written.
  std::remove("trans.his");
  warehouseOptions.transmissionReport = 'N';
  ASSERT_EQ(KFOpen(), 0);
  KFClose();
  EXPECT_EQ(FileText("trans.his"), "");
}

TEST_F(LayerTest, OperationsATypeLacksAreRefusedWithoutTraffic) {
  const struct {
    int type;
    const char* message;
  } cases[] = {{KASA_ADAX, "Funkcja dostępna tylko poprzez wykonanie raportu na kasie."},
               {KASA_DSA40, "Funkcja dostępna tylko poprzez wykonanie raportu na kasie."},
               {KASA_TANGO, "Funkcja dostępna tylko poprzez wykonanie raportu zerującego."},
               {KASA_DSA4000S, "Funkcja dostępna tylko poprzez wykonanie raportu zerującego."}};
  for (const auto& c : cases) {
    UseType(c.type);
    seen.clear();
    EXPECT_EQ(RunUntilEsc([] { return KFZerowanie("20261211"); }, "{F9}x"), -1) << c.type;
    EXPECT_TRUE(Shown(c.message)) << seen;
  }
  UseType(KASA_MALA);
  seen.clear();
  KFTowar goods{1, "1", 1, "X", 1, 1.0, 12, 4, 1, "20261211", 1};
  EXPECT_EQ(RunUntilEsc([&] { return KFDelete(&goods); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Brak funkcji dla wybranej kasy.")) << seen;
  UseType(KASA_BRAK);
  EXPECT_EQ(KFZerowanie("20261211"), -1);
  EXPECT_EQ(port.written, "");
  EXPECT_EQ(port.opens, 0);
}

}  // namespace
