// The positions window of a receipt driven by key scripts: a new receipt's
// positions printed online on the simulated POSNET printer and taken out of
// stock, changes voided and sent again, deletes voided, " Rabat ", and the
// refusals of a position without value or price.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/option_values.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_params.h"
#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "tables/masterdata_tables.h"
#include "tests/fiscal/fake_port.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/std_windows.h"

namespace {

using namespace retail;

class ReceiptWindowTest : public OnlinePrinterTest {
 protected:
  void SetUp() override {
    OnlinePrinterTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "CHLEB"}, {"ILO", "10"}, {"CSN", "8.13"}, {"CSB", "10"},
                         {"VST", "1"}});
    d4close(Z5TOWA.table);
    Header(1, {{"TRY", "2"}, {"STA", "N"}});
  }
  // The printer's receipt started as the entry starts it.
  void StartOnline() {
    Keys("");
    ASSERT_EQ(DFOpen(1), 1);
    ASSERT_EQ(DFParagonStart(0, 0, nullptr), 0);
    paragonOnline = ParagonOnline{1, 1};
  }
  // The window of the current receipt until the script ends it.
  int Window(const char* keys, int view = 0, int fill = 2) {
    GoHeader(1);
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = pozycje_paragonu(view, fill, 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the window did not end:\n" << seen;
    }
    return result;
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (const std::string& c : port.printer.Commands())
      if (c.rfind("trline", 0) == 0 || c.rfind("trcancel", 0) == 0 || c.rfind("prncancel", 0) == 0)
        lines.push_back(c);
    return lines;
  }
};

// Quantity 3, code T1, then Enter through price, discount, discounted price,
// value, the rate menu and the VAT value; F2 saves.
constexpr const char* GOODS_3 = "d3{ENTER}T1{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F9}{F2}T{ENTER}";

TEST_F(ReceiptWindowTest, NewPositionIsPrintedOnlineAndTakenOutOfStock) {
  StartOnline();
  Window((std::string(GOODS_3) + "{ESC}{ESC}{ESC}").c_str());
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 30);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 5.61);
  EXPECT_DOUBLE_EQ(f4double(P("CNR")), 8.13);
  EXPECT_DOUBLE_EQ(f4double(P("WNE")), 24.39);
  EXPECT_EQ(Trim(P("STA")), "T");
  EXPECT_EQ(Trim(P("PRE")), "PA");
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 1u) << port.printer.AllCommands();
  EXPECT_EQ(lines[0], "trline\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t");
}

// A typed position without a code: quantity 2, no code, name, unit and
// classification, gross price 12.50 at the 8 % rate (second menu item).
constexpr const char* TYPED_2 =
    "d2{ENTER}{ENTER}MLEKO{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}12.50{ENTER}{ENTER}{ENTER}"
    "{ENTER}{DOWN}{ENTER}{ENTER}{F2}T";

TEST_F(ReceiptWindowTest, ChangedPriceDeleteAndDiscountKeepThePrinterWithThePositions) {
  StartOnline();
  // the goods, a typed position; its price changed; the goods deleted; " Rabat " of 10 %
  std::string keys = std::string(GOODS_3) + "{ESC}{ESC}" + TYPED_2 + "{ESC}{ESC}" +
                     "m{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}13{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}"
                     "{ENTER}{F2}T" +
                     "{UP}uT{ENTER}" + "r10{ENTER}{F9}{ESC}";
  Window(keys.c_str());
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_EQ(Trim(P("NA1")), "MLEKO");
  EXPECT_DOUBLE_EQ(f4double(P("RAS")), 10);
  EXPECT_DOUBLE_EQ(f4double(P("CBR")), 11.70);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 23.40);
  EXPECT_EQ(Trim(P("STA")), "N");
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10) << "the deleted goods went back";
  std::vector<std::string> lines = Lines();
  std::vector<std::string> expected = {
      "trline\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t",
      "trline\tnaMLEKO\tvt1\tpr1250\twa2500\til2.000\t",
      "trline\tst1\tnaMLEKO\tvt1\tpr1250\twa2500\til2.000\t",
      "trline\tnaMLEKO\tvt1\tpr1300\twa2600\til2.000\t",
      "trline\tst1\tnaCHLEB\tvt0\tpr1000\twa3000\til3.000\t",
      "trline\tst1\tnaMLEKO\tvt1\tpr1300\twa2600\til2.000\t",
      "trline\tnaMLEKO\tvt1\tpr1170\twa2340\til2.000\t",
  };
  EXPECT_EQ(lines, expected) << port.printer.AllCommands();
}

TEST_F(ReceiptWindowTest, RefusedLineCancelsThePrintersReceiptAndNothingMoreIsSent) {
  StartOnline();
  port.printer.onlineErrors["trline"] = 5;
  std::string keys = std::string(GOODS_3) + "{ENTER}{ESC}{ESC}" + TYPED_2 + "{ESC}{ESC}{ESC}";
  Window(keys.c_str());
  EXPECT_EQ(Positions(1).size(), 2u) << "the saved positions stay";
  EXPECT_EQ(paragonOnline.otwarty, 0);
  EXPECT_EQ(port.printer.Count("trline"), 1) << port.printer.AllCommands();
  EXPECT_EQ(port.printer.Count("prncancel"), 1) << port.printer.AllCommands();
}

TEST_F(ReceiptWindowTest, PositionWithoutValueOrPriceIsNotSaved) {
  StartOnline();
  // a typed position of quantity 0: value 0
  Window("d0{ENTER}{ENTER}X{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}5{ENTER}{F2}T{F9}{ENTER}"
         "{ESC}{ESC}{ESC}");
  EXPECT_NE(seen.find("Zerowa wartość towaru."), std::string::npos) << seen;
  EXPECT_TRUE(Positions(1).empty());
  EXPECT_EQ(port.printer.Count("trline"), 0);
}

TEST_F(ReceiptWindowTest, DiscountIsKeptBetweenNoneAndNinetyNinePointNine) {
  Position(1, {{"NA1", "A"}, {"ILO", "1"}, {"CBB", "10"}, {"RAS", "50"}, {"VAS", "23"}, {"VAT", "1"}});
  Position(1, {{"NA1", "B"}, {"ILO", "1"}, {"CBB", "10"}, {"RAS", "5"}, {"VAS", "23"}, {"VAT", "1"}});
  Window("r60{ENTER}{ESC}", 1);
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 2u);
  d4go(Z5PARE.table, positions[0]);
  EXPECT_DOUBLE_EQ(f4double(P("RAS")), 99.9) << seen;
  EXPECT_DOUBLE_EQ(f4double(P("CBR")), 0.01);
  d4go(Z5PARE.table, positions[1]);
  EXPECT_DOUBLE_EQ(f4double(P("RAS")), 65);
  EXPECT_DOUBLE_EQ(f4double(P("CBR")), 3.50);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 3.50);
  EXPECT_EQ(port.printer.Count("trline"), 0) << "a saved receipt sends nothing";
}

}  // namespace

namespace {

// A goods position whose catalogue record is gone.
class LostGoodsTest : public ReceiptWindowTest {
 protected:
  void SetUp() override {
    ReceiptWindowTest::SetUp();
    if (HasFatalFailure()) return;
    Position(1, {{"KOT", "BRAK"}, {"NA1", "ZNIKNIETY"}, {"ILO", "2"}, {"ZRP", "1"}, {"STA", "T"}, {"CBB", "5"},
                 {"CBR", "5"}, {"WAB", "10"}, {"VAT", "1"}, {"VAS", "23"}});
  }
};

TEST_F(LostGoodsTest, RefusedGiveBackKeepsThePositionAndGoingOnDeletesIt) {
  // the missing code's box, then Esc at "go on?"
  Window("uT{ENTER}{ESC}{ESC}", 1);
  EXPECT_EQ(Positions(1).size(), 1u) << "refused: the position stays";
  Window("uT{ENTER}T{ENTER}{ESC}", 1);
  EXPECT_TRUE(Positions(1).empty()) << "the operator went on";
}

TEST_F(LostGoodsTest, StockTakenOnlyWhenTheGoodsWereWritten) {
  GoHeader(1);
  d4go(Z5PARE.table, Positions(1).at(0));
  SetNamed(Z5PARE, {{"STA", "N"}});
  ASSERT_EQ(d4write(Z5PARE.table, d4recno(Z5PARE.table)), 0);
  // a new quantity is taken: the goods are missing and the operator goes on
  Window("m5{F2}T{ENTER}T{ENTER}{ESC}", 1);
  d4go(Z5PARE.table, Positions(1).at(0));
  EXPECT_DOUBLE_EQ(f4double(P("ILO")), 5) << seen;
  EXPECT_EQ(Trim(P("STA")), "N");
}

}  // namespace

namespace {

TEST_F(ReceiptWindowTest, MarginReceiptStartingInTheCodeSlotKeepsTheMarginRate) {
  parametryDetal.entryStart = 1;
  parametryDetal.updateStock = 'N';
  GoHeader(1);
  SetNamed(Z5PARA, {{"STA", "T"}});
  ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
  // no quantity typed: the code first; no rate slot between the value and the VAT value
  Window("dT1{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{F9}{ENTER}{F2}T{ESC}{ESC}{ESC}", 1);
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_EQ(f4int(P("VAT")), 14);
  EXPECT_DOUBLE_EQ(f4double(P("VAS")), 0);
  EXPECT_DOUBLE_EQ(f4double(P("ILO")), 1);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 10);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 0);
  EXPECT_EQ(Trim(P("STA")), "N") << "stock option off";
  EXPECT_EQ(f4int(P("RE2")), 0) << "no GTU group is stored as 0";
  EXPECT_NE(seen.find("ZEROWA (marża)"), std::string::npos) << seen;
}

}  // namespace

namespace {

TEST_F(ReceiptWindowTest, ScannedCodeMovesToTheCodeSlotAndSavesThePosition) {
  StartOnline();
  // the reader sends Ctrl+B, the code and Ctrl+C while the cursor is in the quantity slot
  Window("d3{CTRL+B}T1{CTRL+C}T{ENTER}{ESC}{ESC}{ESC}");
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_DOUBLE_EQ(f4double(P("ILO")), 3);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 30);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 5.61);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 7);
  EXPECT_EQ(port.printer.Count("trline"), 1) << port.printer.AllCommands();
}

}  // namespace

namespace {

TEST_F(ReceiptWindowTest, NetReceiptTakesNetPricesAndShowsTheAccount) {
  parametryDetal.useAccounts = 'T';
  ASSERT_EQ(OpenZ5KONT(0), 0);
  AppendNamed(Z5KONT, {{"NUM", "701-0001"}, {"NAZ", "SPRZEDAZ DETALICZNA"}, {"REC", "7"}});
  GoHeader(1);
  SetNamed(Z5PARA, {{"TRY", "1"}});
  ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
  // quantity 2, no code, name, unit and classification, the account, net 10.00 less 10 %
  Window("d2{ENTER}{ENTER}USLUGA{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}701-0001{ENTER}"
         "10{ENTER}10{ENTER}{ENTER}{ENTER}{ENTER}{F9}{F2}T{ESC}{ESC}{F9}{ESC}",
         1, 1);
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_DOUBLE_EQ(f4double(P("CNR")), 9);
  EXPECT_DOUBLE_EQ(f4double(P("WNE")), 18);
  EXPECT_DOUBLE_EQ(f4double(P("CBB")), 12.30);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 22.14);
  EXPECT_EQ(f4long(P("KON")), 7);
  EXPECT_NE(seen.find("cena netto"), std::string::npos) << seen;
  EXPECT_NE(seen.find("SPRZEDAZ DETALICZNA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("numer konta"), std::string::npos) << seen;
}

}  // namespace

namespace {

TEST_F(ReceiptWindowTest, ReceiptRateMenu) {
  struct Case {
    int current, withMargin;
    const char* keys;
    int code;
  } cases[] = {{8, 0, "{ENTER}", 8},  {3, 0, "{ENTER}", 3}, {9, 0, "{ENTER}", 9},   {14, 1, "{ENTER}", 14},
               {12, 0, "{ENTER}", 1}, {1, 0, "{DOWN}{ENTER}", 2}, {1, 1, "{ESC}", -1}};
  for (const Case& c : cases) {
    Keys(c.keys);
    EXPECT_EQ(wybierz_stawke_paragonu(c.current, c.withMargin), c.code) << c.current << " " << c.keys;
  }
  Keys("{F9}{ESC}");
  wybierz_stawke_paragonu(1, 0);
  EXPECT_NE(seen.find("Wybierz stawkę VAT"), std::string::npos) << seen;
  EXPECT_NE(seen.find("6. ZWROT rolnikom"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("ZEROWA (marża)"), std::string::npos) << "the positions window has no margin item";
}

TEST_F(ReceiptWindowTest, GtuGroupIsChosenAndShownInItsColumn) {
  salesOptions.procedureMarks = 'T';
  parametryDetal.updateStock = 'N';
  // a typed position; Enter through the slots to the GTU choice, item 3 there
  Window("d1{ENTER}{ENTER}X{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}5{ENTER}{ENTER}{ENTER}{ENTER}"
         "{ENTER}{ENTER}{ENTER}{HOME}{DOWN}{DOWN}{ENTER}{F2}T{ESC}{ESC}{F9}{ESC}",
         1);
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_EQ(f4int(P("RE2")), 3) << seen;
  EXPECT_NE(seen.find(" 3│X"), std::string::npos) << seen;
}

}  // namespace

namespace {

TEST_F(ReceiptWindowTest, AltIInTheValueSlotTakesTheQuantityFromTheValue) {
  parametryDetal.updateStock = 'N';
  // price 10.00: a value of 25 gives 2.5 pieces
  Window("d1{ENTER}{ENTER}X{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}10{ENTER}{ENTER}{ENTER}"
         "25{ALT+I}{ENTER}{ENTER}{F2}T{ESC}{ESC}{ESC}",
         1);
  std::vector<long> positions = Positions(1);
  ASSERT_EQ(positions.size(), 1u) << seen;
  d4go(Z5PARE.table, positions[0]);
  EXPECT_DOUBLE_EQ(f4double(P("ILO")), 2.5);
  EXPECT_DOUBLE_EQ(f4double(P("WAB")), 25);
  EXPECT_DOUBLE_EQ(f4double(P("WAV")), 4.67);
}

}  // namespace
