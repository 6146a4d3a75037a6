// The parameter sets in a new firm directory and after a save, and the
// options windows: the port filter, the payment-form list, F2 and Esc.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/param_store.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

std::string Trimmed(const char* buffer) {
  std::string text = MazToUtf8Text(buffer);
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string Repeat(const char* key, int times) {
  std::string keys;
  for (int i = 0; i < times; i++) keys += key;
  return keys;
}

class PrinterParamsTest : public FiscalTest {
 protected:
  void SetUp() override {
    FiscalTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(LoadMainOptions(), 0);
    env->confirmSave = 'N';
  }
};

TEST_F(PrinterParamsTest, NewFirmGetsTheDefaults) {
  ASSERT_EQ(CzytajParametryDETAL(), 0);
  EXPECT_TRUE(PlatFileExists((firm + "Z5PADV.DBF").c_str()));
  EXPECT_EQ(parametryDetal.printerType, 1);
  EXPECT_EQ(parametryDetal.comPort, 1);
  EXPECT_EQ(Trimmed(parametryDetal.receiptName), "PARAGON nr");
  EXPECT_EQ(Trimmed(parametryDetal.invoiceName), "FAKTURA nr");
  EXPECT_EQ(Trimmed(parametryDetal.billName), "RACHUNEK nr");
  EXPECT_EQ(parametryDetal.stored17, 'T');
  EXPECT_EQ(parametryDetal.printAfterSave, 'N');
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  EXPECT_EQ(std::string(&parametryPosnet.letters.basic, 9), "ABCDEFGXY");
  EXPECT_EQ(std::string(parametryPosnet.fixed22, 2), "00");
  EXPECT_EQ(parametryPosnet.fixed23[0], '0');
  ASSERT_EQ(CzytajParametryOrhmet(), 0);
  EXPECT_EQ(parametryOrhmet.letters.refund, 'G');
  EXPECT_EQ(std::string(parametryOrhmet.cashier, 2), "00");
  elzabOutsideProgram = 'T';
  ASSERT_EQ(CzytajParametryElzab(), 0);
  EXPECT_EQ(elzabOutsideProgram, 'N');
  EXPECT_EQ(std::string(parametryElzab.terminal, 2), "00");
  ASSERT_EQ(CzytajParametrySpark(), 0);
  EXPECT_EQ(std::string(&parametrySpark.codes.basic, 9), "127304756");
  EXPECT_EQ(Trimmed(parametrySpark.device), "01");
  EXPECT_EQ(Trimmed(parametrySpark.cashier), "00001");
  ASSERT_EQ(CzytajParametryTpLine(), 0);
  EXPECT_EQ(parametryTpLine.letters.margin, 'F');
  for (const char* file : {"Z5PAPO.DBF", "Z5PAOR.DBF", "Z5PAEL.DBF", "Z5PASP.DBF", "Z5PACO.DBF"})
    EXPECT_TRUE(PlatFileExists((firm + file).c_str())) << file;
}

TEST_F(PrinterParamsTest, SavedValuesComeBackAndTheSetsStayApart) {
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  ASSERT_EQ(CzytajParametrySpark(), 0);
  parametryPosnet.letters.basic = 'K';
  parametryPosnet.printMode = 1;
  std::memcpy(parametryPosnet.fixed22, "42", 2);
  std::strcpy(parametryPosnet.footer[2], "Do zobaczenia");
  ASSERT_EQ(ZapiszParametryPosnet(), 0);
  parametrySpark.codes.basic = '9';   // the same file keys 1/2, another file
  ASSERT_EQ(ZapiszParametrySpark(), 0);
  std::memset(&parametryPosnet, 'z', sizeof parametryPosnet);
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  EXPECT_EQ(parametryPosnet.letters.basic, 'K');
  EXPECT_EQ(parametryPosnet.printMode, 1);
  EXPECT_EQ(std::string(parametryPosnet.fixed22, 2), "42");
  EXPECT_EQ(Trimmed(parametryPosnet.footer[2]), "Do zobaczenia");
  EXPECT_EQ(Trimmed(parametryPosnet.footer[0]), "");
  ASSERT_EQ(CzytajParametrySpark(), 0);
  EXPECT_EQ(parametrySpark.codes.basic, '9');
}

// The letter positions of the connection record, per make: the refund
// letter is a different parameter of each set.
TEST_F(PrinterParamsTest, LettersOfEachMakeInTheConnectionOrder) {
  const struct {
    int (*open)(ParamTable*);
    int refundParameter;
    int (*load)();
    const MakeLetters* letters;
    const char* order;
  } makes[] = {
      {OtworzParametryPosnet, 26, CzytajParametryPosnet, &parametryPosnet.letters, "ABCRDEFXY"},
      {OtworzParametryTpLine, 19, CzytajParametryTpLine, &parametryTpLine.letters, "ABCRDEFXY"},
      {OtworzParametryOrhmet, 30, CzytajParametryOrhmet, &parametryOrhmet.letters, "ABCRDEFXY"},
      {OtworzParametryElzab, 12, CzytajParametryElzab, &parametryElzab.letters, "ABCRDEFXY"},
      {OtworzParametrySpark, 19, CzytajParametrySpark, &parametrySpark.codes, "127R30456"},
  };
  for (const auto& m : makes) {
    ParamTable ctx{};
    ASSERT_EQ(m.open(&ctx), 0);
    SetParamStr(&ctx, m.refundParameter, "R");
    d4close(ctx.table);
    ASSERT_EQ(m.load(), 0);
    char order[10] = {};
    DFLitery(*m.letters, order);
    EXPECT_STREQ(order, m.order) << m.refundParameter;
  }
}

TEST_F(PrinterParamsTest, TableThatCannotOpenStopsTheLoad) {
  ASSERT_EQ(PlatMkDir((firm + "Z5PADV.DBF").c_str()), PLAT_OK);
  EXPECT_EQ(RunUntilEsc([] { return CzytajParametryDETAL(); }, "{F9}x"), -1);
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return DFOpcjeParagonow(); }, "{F9}x"), 0);
  EXPECT_FALSE(Shown("OPCJE paragonów")) << seen;   // the window does not open
}

// From the first field of the receipt options to the COM port.
const std::string TO_PORT = Repeat("{ENTER}", 19);

TEST_F(PrinterParamsTest, ReceiptOptionsPortFilterPaymentListAndSave) {
  EXPECT_EQ(RunUntilEsc(DFOpcjeParagonow, (TO_PORT + "{F9}0{F9}x5x3{ENTER}{ENTER}{F4}{F9}{ENTER}{F9}{F2}").c_str()), 0);
  EXPECT_TRUE(Shown("OPCJE paragonów")) << seen;
  EXPECT_TRUE(Shown("Numer portu COM drukarki fiskalnej (1-4)")) << seen;
  EXPECT_TRUE(Shown("Numer portu COM drukarki fiskalnej: od 1 do 4.")) << seen;
  EXPECT_TRUE(Shown("POLECENIE ZAPŁATY")) << seen;
  std::memset(&parametryDetal, 0, sizeof parametryDetal);
  ASSERT_EQ(CzytajParametryDETAL(), 0);
  EXPECT_EQ(parametryDetal.comPort, 3);
  EXPECT_EQ(Trimmed(parametryDetal.paymentForm), "GOTÓWKA");
  EXPECT_EQ(parametryDetal.printerType, 1);
}

TEST_F(PrinterParamsTest, EscSavesNothing) {
  EXPECT_EQ(RunUntilEsc(DFOpcjeParagonow, (TO_PORT + "4{ENTER}{ESC}").c_str()), 0);
  EXPECT_EQ(parametryDetal.comPort, 4);   // the block keeps the edit until the next load
  ASSERT_EQ(CzytajParametryDETAL(), 0);
  EXPECT_EQ(parametryDetal.comPort, 1);
}

TEST_F(PrinterParamsTest, PrinterOptionsWindows) {
  mainOptions.vatRatesFrom2011[0] = 23;
  Configure(DF_TYPE_POSNET_ONLINE);
  EXPECT_EQ(RunUntilEsc(PosnetOpcje, "{F9}1kQ{ENTER}{F9}{F2}"), 0);
  EXPECT_TRUE(Shown("OPCJE drukarki POSNET ONLINE")) << seen;
  EXPECT_TRUE(Shown("Komunikacja przez nowy protokół Posnet?")) << seen;
  EXPECT_TRUE(Shown("23.0")) << seen;
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  EXPECT_EQ(parametryPosnet.letters.basic, 'Q');
  seen.clear();
  EXPECT_EQ(RunUntilEsc(SparkOpcje, "{F9}x5{ENTER}{F2}"), 0);
  EXPECT_TRUE(Shown("OPCJE dla drukarki SPARK 482G")) << seen;
  ASSERT_EQ(CzytajParametrySpark(), 0);
  EXPECT_EQ(parametrySpark.codes.basic, '5');
  seen.clear();
  EXPECT_EQ(RunUntilEsc(ElzabOpcje, "{F9}H{ESC}"), 0);
  EXPECT_TRUE(Shown("OPCJE dla drukarek ELZAB")) << seen;
  EXPECT_TRUE(Shown("Numer terminala")) << seen;
  ASSERT_EQ(CzytajParametryElzab(), 0);
  EXPECT_EQ(parametryElzab.letters.basic, 'A');
  seen.clear();
  EXPECT_EQ(RunUntilEsc(OrhmetOpcje, "{F9}H{F2}"), 0);
  EXPECT_TRUE(Shown("OPCJE dla drukarek ORHMET")) << seen;
  EXPECT_TRUE(Shown("Dodatkowe linie nagłówka")) << seen;
  ASSERT_EQ(CzytajParametryOrhmet(), 0);
  EXPECT_EQ(parametryOrhmet.letters.basic, 'H');
}

TEST_F(PrinterParamsTest, TpLineOptionsWindow) {
  mainOptions.vatRatesFrom2011[0] = 23;
  Configure(3);
  std::string keys = "{F9}1H";
  for (int i = 0; i < 7; i++) keys += "{ENTER}";
  keys += "Sklep{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}12{ENTER}{F9}{F2}";
  EXPECT_EQ(RunUntilEsc(TpLineOpcje, keys.c_str()), 0);
  EXPECT_TRUE(Shown("OPCJE dla drukarki TP-Line")) << seen;
  EXPECT_TRUE(Shown("Kody stawek VAT [A..Z]:")) << seen;
  EXPECT_TRUE(Shown("Nagłówek paragonu:")) << seen;
  EXPECT_TRUE(Shown("23.0")) << seen;
  ASSERT_EQ(CzytajParametryTpLine(), 0);
  EXPECT_EQ(parametryTpLine.letters.basic, 'H');   // '1' refused
  EXPECT_EQ(Trimmed(parametryTpLine.header[0]), "Sklep");
  EXPECT_EQ(parametryTpLine.device, 12);
  // Esc saves nothing.
  EXPECT_EQ(RunUntilEsc(TpLineOpcje, "B{ESC}"), 0);
  ASSERT_EQ(CzytajParametryTpLine(), 0);
  EXPECT_EQ(parametryTpLine.letters.basic, 'H');
}

}  // namespace
