// The front against the simulated printer, over each protocol: opening,
// receipts with their lines, payment and change, cancelling, the drawer and
// the customer display; and the printer types without a driver yet.
#include <gtest/gtest.h>

#include <string>

#include "db/dbf_table.h"
#include "tables/receipt_tables.h"
#include "tests/fiscal/fiscal_fixture.h"

namespace {

class ReceiptTest : public FiscalTest {
 protected:
  // A receipt of three lines, the second taken back; the end's result.
  int Receipt(double paid) {
    EXPECT_EQ(DFParagonStart(3, 10.0, nullptr), 0);
    EXPECT_EQ(DFLinia("Chleb", 1, 2.0, 3.5, 7.0), 0);
    EXPECT_EQ(DFLinia("Chleb", 1, -1.0, 3.5, 3.5), 0);
    EXPECT_EQ(DFLinia("Mleko", 3, 1.0, 6.5, 6.5), 0);
    EXPECT_EQ(dfSesja->lineCounter, 4);
    return DFParagonKoniec(10.0, paid, paid - 10.0, nullptr);
  }
};

class FrontTest : public ReceiptTest, public testing::WithParamInterface<char> {
 protected:
  bool Online() const { return GetParam() == 'T'; }
};

TEST_P(FrontTest, ReceiptWithATakenBackLinePaymentAndChange) {
  Configure(2, GetParam());
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(DFConnectionDriver(), DF_DRIVER_POSNET);
  EXPECT_EQ(dfSesja->textWidth, 20);
  EXPECT_EQ(Receipt(50.0), 0);
  EXPECT_EQ(dfSesja->lineCounter, 0);
  auto c = port.printer.Commands();
  if (Online()) {
    ASSERT_EQ(c.size(), 9u) << port.printer.AllCommands();
    EXPECT_EQ(c[0], "rtcget\t");   // the start-up's answer
    EXPECT_EQ(c[1], "trinit\tbm1\t");
    EXPECT_EQ(c[2], "trline\tnaChleb\tvt0\tpr350\twa700\til2.000\t");
    EXPECT_EQ(c[3], "trline\tst1\tnaChleb\tvt0\tpr350\twa350\til1.000\t");
    EXPECT_EQ(c[4], "trline\tnaMleko\tvt3\tpr650\twa650\til1.000\t");
    EXPECT_EQ(c[5], "ftrinfoset\tlb0\ttx\n\n\t");
    EXPECT_EQ(c[6], "trpayment\tty0\twa5000\tre0\t");
    EXPECT_EQ(c[7], "trpayment\tty0\twa4000\tre1\t");
    EXPECT_EQ(c[8], "trend\tto1000\tfp5000\t");
  } else {
    ASSERT_EQ(c.size(), 6u) << port.printer.AllCommands();
    EXPECT_EQ(c[0], "0#e");
    EXPECT_EQ(c[1], "3;1$hNr wew. paragonu \r");
    EXPECT_EQ(c[2], "1$lChleb\r      2.000\rA/3.50/7/");
    EXPECT_EQ(c[3], "0$lChleb\r      1.000\rA/3.50/3.50/");
    EXPECT_EQ(c[4], "3$lMleko\r      1.000\rD/6.50/6.50/");
    EXPECT_EQ(c[5], "1;0;0;$e000\r50/10/");
  }
  size_t before = port.printer.Commands().size();
  EXPECT_EQ(DFAnuluj(), 0);   // nothing open any more: nothing sent
  EXPECT_EQ(port.printer.Commands().size(), before);
}

TEST_P(FrontTest, ReceiptNumberAndPrintingWhileIssuing) {
  Configure(2, GetParam());
  ASSERT_EQ(CzytajParametryPosnet(), 0);
  parametryPosnet.printMode = 1;
  ASSERT_EQ(ZapiszParametryPosnet(), 0);
  ASSERT_EQ(OpenZ5PARA(0), 0);
  AppendNamed(Z5PARA, {{"PRE", "PA"}, {"NRV", "12"}, {"POS", "2026"}});
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(dfSesja->printMode, 1);
  EXPECT_EQ(DFParagonStart(3, 10.0, nullptr), 0);   // printed while issuing: no count of lines
  EXPECT_STREQ(dfSesja->receiptText, "Nr wew. paragonu PA/12/2026");
  EXPECT_EQ(port.printer.Commands().back(), Online() ? "trinit\tbm0\t" : "0;1$hNr wew. paragonu PA/12/2026\r");
}

TEST_P(FrontTest, RefusedEndLeavesTheReceiptForTheCancelAndNoDrawer) {
  Configure(2, GetParam(), 'T');
  ASSERT_EQ(Open(), 1);
  port.printer.onlineErrors["trend"] = 2808;
  port.printer.thermalErrors["$e"] = 27;
  EXPECT_NE(RunUntilEsc([this] { return Receipt(50.0); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown(Online() ? "Błąd weryfikacji wartości wpłaconych form płatności." : "27 - Błędna suma całkowita"))
      << seen;
  EXPECT_EQ(dfSesja->lineCounter, 4);
  EXPECT_EQ(port.printer.Count(Online() ? "opendrwr" : "1$d"), 0);
  port.printer.onlineErrors.clear();
  port.printer.thermalErrors.clear();
  EXPECT_EQ(DFAnuluj(), 0);
  EXPECT_EQ(port.printer.Count(Online() ? "prncancel" : "0$e"), 1);
  EXPECT_EQ(dfSesja->lineCounter, 0);
  EXPECT_EQ(Receipt(50.0), 0);   // a good end opens the drawer
  EXPECT_EQ(port.printer.Count(Online() ? "opendrwr" : "1$d"), 1);
}

TEST_P(FrontTest, CustomerDisplayWidthAndCommands) {
  ASSERT_EQ(OpenZ5PARE(0), 0);
  AppendNamed(Z5PARE, {{"NA1", "Chleb razowy krojony"}, {"WAB", "7.5"}});
  const struct {
    int type;
    int width;
  } types[] = {{DF_TYPE_TEMO_HS, 16}, {2, 20}, {DF_TYPE_EPSON, 20}};
  for (const auto& t : types) {
    Configure(t.type, GetParam(), 'N', 'T');
    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(dfSesja->textWidth, t.width);
    size_t before = port.printer.Commands().size();
    EXPECT_EQ(DFWyswietl(1), 0);
    std::string line1 = std::string("Chleb razowy krojony").substr(0, static_cast<size_t>(t.width));
    std::string line2 = "Warto\x9e\x8d:" + std::string(static_cast<size_t>(t.width) - 13, ' ') + "-7.50";
    EXPECT_EQ(dfSesja->displayLine1, line1);
    EXPECT_EQ(dfSesja->displayLine2, line2);
    auto c = port.printer.Commands();
    if (t.type == DF_TYPE_EPSON) {
      ASSERT_EQ(c.size(), before + 2);
      EXPECT_EQ(c[before], "101$d" + line1 + "\r");
      EXPECT_EQ(c[before + 1], "102$d" + line2 + "\r");
    } else {
      ASSERT_EQ(c.size(), before + 1);
      EXPECT_EQ(c[before], Online() ? "dsptxt\tid1\tst" + line1 + "\n" + line2 + "\t" : "2$d" + line1 + "\n" + line2);
    }
    DFClose();
  }
}

// Payments are ONLINE commands: one for a receipt paid exactly, none when nothing was paid.
TEST_F(ReceiptTest, ExactAndNoPaymentOnline) {
  Configure(2, 'T');
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(Receipt(10.0), 0);
  EXPECT_EQ(port.printer.Count("trpayment\tty0\twa1000\tre0\t"), 1);
  EXPECT_EQ(port.printer.Count("trpayment"), 1);
  EXPECT_EQ(Receipt(0.0), 0);
  EXPECT_EQ(port.printer.Count("trpayment"), 1);
}

INSTANTIATE_TEST_SUITE_P(Protocols, FrontTest, testing::Values('T', 'N'),
                         [](const testing::TestParamInfo<char>& p) { return p.param == 'T' ? "Online" : "Thermal"; });

TEST_F(FiscalTest, NoPrinterConfigured) {
  Configure(DF_TYPE_NONE);
  EXPECT_EQ(RunUntilEsc([] { return DFOpen(0); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Brak wybranej drukarki fiskalnej !")) << seen;
  EXPECT_EQ(dfSesja, nullptr);
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return DFOpen(1); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Drukarka nie podłączona lub brak komunikacji.")) << seen;
  ASSERT_NE(dfSesja, nullptr);
  EXPECT_EQ(DFConnectionDriver(), DF_DRIVER_NONE);
  EXPECT_EQ(DFParagonStart(1, 5.0, nullptr), 0);
  EXPECT_EQ(DFLinia("x", 12, 1.0, 5.0, 5.0), 0);
  EXPECT_EQ(DFParagonKoniec(5.0, 5.0, 0.0, nullptr), 0);
  EXPECT_EQ(DFAnuluj(), 0);
  EXPECT_EQ(port.opens, 0);
  EXPECT_EQ(port.written, "");
  DFClose();
  EXPECT_EQ(dfSesja, nullptr);
}

TEST_F(FiscalTest, SilentOnlinePrinterIsNotReportedAsConnected) {
  Configure(2, 'T');
  port.printer.silent = true;
  EXPECT_EQ(RunUntilEsc([] { return DFOpen(0); }, "{F9}{ESC}{F9}x"), 0);
  EXPECT_TRUE(Shown("Drukarka nie odpowiada. Czekać dalej ?")) << seen;
  EXPECT_TRUE(Shown("Drukarka nie podłączona lub brak komunikacji.")) << seen;
  EXPECT_EQ(DFConnectionDriver(), DF_DRIVER_NONE);
  EXPECT_EQ(port.printer.AllCommands(), "rtcget\t");
  EXPECT_FALSE(port.open);   // op 2 closed the port
}

TEST_F(FiscalTest, RateWithoutALetterIsRefusedBeforeSending) {
  Configure(2, 'T');
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(DFParagonStart(0, 5.0, nullptr), 0);
  size_t before = port.written.size();
  EXPECT_NE(RunUntilEsc([] { return DFLinia("Taxi", 12, 1.0, 5.0, 5.0); }, "{F9}x"), 0);
  EXPECT_TRUE(Shown("RYCZAŁT TAXI")) << seen;
  EXPECT_EQ(port.written.size(), before);
  const struct {
    int code;
    char letter;
  } letters[] = {{1, 'A'}, {2, 'B'}, {8, 'C'}, {9, 'G'}, {3, 'D'}, {5, 'D'}, {13, 'D'},
                 {4, 'E'}, {14, 'F'}, {6, 'A'}, {7, 'A'}, {10, 'A'}, {11, 'A'}, {12, 0}, {99, 'A'}};
  for (const auto& l : letters) EXPECT_EQ(DFLiteraVat(l.code), l.letter) << l.code;
}

TEST_F(FiscalTest, NamesOfThePrinterTypes) {
  const struct {
    int type;
    const char* name;
  } names[] = {{1, "BRAK"}, {10, "EPSON TM-T801FV"}, {7, "SPARK 482G"}, {12, "POSNET ONLINE"}, {13, "NOVITUS"}, {99, ""}};
  for (const auto& n : names) {
    parametryDetal.printerType = n.type;
    EXPECT_STREQ(DFNazwaDrukarki(), n.name) << n.type;
  }
  const int makes[] = {0, 0, 1, 5, 4, 3, 1, 2, 1, 1, 1, 1, 1, 1};
  for (int type = 0; type < 14; type++) EXPECT_EQ(DFMakeOfType(type), makes[type]) << type;
  EXPECT_EQ(DFMakeOfType(14), DF_MAKE_NONE);
  EXPECT_EQ(DFMakeOfType(-1), DF_MAKE_NONE);
}

}  // namespace
