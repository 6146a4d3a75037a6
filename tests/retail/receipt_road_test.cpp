// The operator's road to a receipt on the real program, headless: " Detal " >
// " Paragon ", a new ordinary receipt of a catalogue goods and a typed
// position printed while it is entered on the simulated POSNET ONLINE
// printer behind a pseudo-terminal, paid with change; the tables it leaves
// and the list the operator sees afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/paths.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "tests/retail/retail_road.h"
#include "tests/fiscal/pty_printer.h"
#include "tests/masterdata/goods_stock.h"

namespace {

// Into the firm, " Detal " > " Paragon ".
const std::string RECEIPTS = std::string(LOGO) + "s{ENTER}dp";
// " Dopisz ", "1. ZWYKŁY"; the goods T1, 3 pieces at its price; a typed
// MLEKO, 2 pieces at 12.50 and 8 %; the positions window left, the save
// confirmed, 60.00 paid and the change seen; the next receipt's choice and
// the list left.
const std::string RECEIPT_KEYS =
    "d{ENTER}3{ENTER}T1{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F2}T{ENTER}{ESC}{ESC}"
    "d2{ENTER}{ENTER}MLEKO{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}12.50{ENTER}{ENTER}{ENTER}"
    "{ENTER}{DOWN}{ENTER}{ENTER}{F2}T{ESC}{ESC}{ESC}T60{ENTER}{ENTER}{ESC}{ESC}";

class ReceiptRoadTest : public RetailRoadTest {
 protected:
  void SetUp() override {
    RetailRoadTest::SetUp();
    if (HasFatalFailure()) return;
    setenv("ZELSAL_COM1", printer.Device().c_str(), 1);
    // The firm's retail options and printer settings, and its goods, as the
    // operator would have set them in their windows.
    parametryDetal.printerType = DF_TYPE_POSNET_ONLINE;
    parametryDetal.comPort = 1;
    parametryDetal.updateStock = 'T';
    parametryDetal.printAfterSave = 'T';
    parametryDetal.paidWindow = 'T';
    parametryDetal.netSpecification = 'N';
    parametryDetal.vatFromNet = 'N';
    parametryDetal.remarks = 'N';
    parametryDetal.entryStart = 2;
    parametryDetal.sellingPrice = 1;
    std::strcpy(parametryDetal.receiptIdent, "PA");
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    ASSERT_EQ(CzytajParametryPosnet(), 0);
    parametryPosnet.printMode = 1;
    parametryPosnet.onlineProtocol = 'T';
    ASSERT_EQ(ZapiszParametryPosnet(), 0);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "CHLEB"}, {"ILO", "10"}, {"CSN", "8.13"}, {"CSB", "10"},
                         {"VST", "1"}, {"STA", "A"}});
    d4close_all(&env->engine);
  }
  void TearDown() override {
    unsetenv("ZELSAL_COM1");
    RetailRoadTest::TearDown();
  }
  PtyPrinter printer;
};

TEST_F(ReceiptRoadTest, OrdinaryReceiptPrintedOnlinePaidAndTakenOutOfStock) {
  RunToEnd(RECEIPTS + RECEIPT_KEYS + "{ESC}{ESC}");
  const std::string log = printer.printer.AllCommands();
  for (const char* command :
       {"trinit\tbm0\t", "trline\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t",
        "trline\tnaMLEKO\tvt1\tpr1250\twa2500\til2.000\t", "trpayment\tty0\twa6000\tre0\t",
        "trpayment\tty0\twa500\tre1\t", "trend\tto5500\tfp6000\t"})
    EXPECT_EQ(printer.printer.Count(command), 1) << command << "\n" << log << ReadFile(dir + "out.txt");
  EXPECT_EQ(printer.printer.Count("trline"), 2) << log;
  EXPECT_EQ(printer.printer.Count("prncancel"), 0) << log;

  ASSERT_EQ(OpenZ5PARA(0), 0);
  ASSERT_EQ(d4reccount(Z5PARA.table), 1);
  d4go(Z5PARA.table, 1);
  auto h = [](const char* name) { return d4field(Z5PARA.table, name); };
  EXPECT_FALSE(d4deleted(Z5PARA.table));
  EXPECT_EQ(f4long(h("NRV")), 1);
  EXPECT_DOUBLE_EQ(f4double(h("BRU")), 55);
  EXPECT_EQ(f4long(h("AKT")), 0);
  EXPECT_EQ(f4char(h("WYD")), 'T');
  EXPECT_EQ(f4char(h("STA")), 'N');
  d4close_all(&env->engine);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);

  // The list the operator comes back to.
  Outcome list = Run(RECEIPTS);
  for (const char* text : {"Paragony - 2025", "  PA/    1 ", "55.00", "Podgląd", "Pozycje", "Płatność"})
    EXPECT_TRUE(Has(list, text)) << text << "\n" << list.screen;
}

}  // namespace
