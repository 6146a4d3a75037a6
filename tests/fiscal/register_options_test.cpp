// The register options window: the configured family's page, the letters it
// takes, the PS2000 code length, F2 saving and Esc leaving.
#include <gtest/gtest.h>

#include "fiscal/cash_register.h"
#include "tests/fiscal/register_fixture.h"

namespace {

class RegisterOptionsTest : public RegisterTest {};

TEST_F(RegisterOptionsTest, TangoTakesZAndRefusesG) {
  UseType(KASA_TANGO);
  EXPECT_EQ(RunUntilEsc(KasaOpcje, "G{F9}Z{F2}t"), 0);
  EXPECT_TRUE(Shown("OPCJE dla kas OPTIMUS-TANGO/BRAVO")) << seen;
  EXPECT_TRUE(Shown("Czy sprzedaż pojedyncza ?")) << seen;
  ASSERT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(parametryKF.tango[KFL_BASIC], 'Z');
}

TEST_F(RegisterOptionsTest, NovitusTakesGAndRefusesZ) {
  UseType(KASA_NOVITUS);
  EXPECT_EQ(RunUntilEsc(KasaOpcje, "Z{F9}G{F2}t"), 0);
  EXPECT_TRUE(Shown("OPCJE dla kas NOVITUS")) << seen;
  ASSERT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(parametryKF.novitus[KFL_BASIC], 'G');
  EXPECT_EQ(parametryKF.tango[KFL_BASIC], 'A');
}

TEST_F(RegisterOptionsTest, EscLeavesTheSettings) {
  UseType(KASA_DSA40);
  EXPECT_EQ(RunUntilEsc(KasaOpcje, "{F9}7{ESC}{F9}{ESC}"), 0);
  EXPECT_TRUE(Shown("Czy kod towaru przesyłać do kasy jako kod kreskowy ?")) << seen;
  EXPECT_TRUE(Shown("Czy rezygnujesz z zapisu ?")) << seen;
  EXPECT_EQ(parametryKF.dsa[KFL_BASIC], '1');
  ASSERT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(parametryKF.dsa[KFL_BASIC], '1');
}

TEST_F(RegisterOptionsTest, Ps2000CodeLengthIsFourOrThirteen) {
  UseType(KASA_PS2000);
  // Six letters, the register number, then the code length.
  EXPECT_EQ(RunUntilEsc(KasaOpcje, "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}5{ENTER}{F9}x13{ENTER}{F2}t"), 0);
  EXPECT_TRUE(Shown("Tylko 4 lub 13.")) << seen;
  ASSERT_EQ(CzytajParametryKF(), 0);
  EXPECT_EQ(parametryKF.ps2000CodeLength, 13);
}

TEST_F(RegisterOptionsTest, NoRegisterNoWindow) {
  UseType(KASA_BRAK);
  EXPECT_EQ(RunUntilEsc(KasaOpcje, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Niewybrana kasa fiskalna.")) << seen;
}

}  // namespace
