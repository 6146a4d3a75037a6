// The lines of warehouse documents: their arithmetic, and the stock the line
// editor and the deletion of a document move, on receipts and on issues.
#include <gtest/gtest.h>

#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/masterdata/goods_stock.h"
#include "tests/tables/tables_fixture.h"
#include "ui/keyboard.h"

namespace {

class WarehouseLinesTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    warehouseOptions.roundPrices = 'T';
    warehouseOptions.stockOnEntry = 'T';
    warehouseOptions.signalBelowMinimum = 'N';
    currentVatRates[VAT_BASIC] = 23;
    Side(&STRONA_PRZYJEC);
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    stronaMagazynu = nullptr;
    TablesTest::TearDown();
  }
  void Side(const StronaMagazynu* side) {
    stronaMagazynu = side;
    ASSERT_EQ((side->receipt ? OpenZ5MAPR : OpenZ5MAWY)(0), 0);
    ASSERT_EQ((side->receipt ? OpenZ5MAPE : OpenZ5MAWE)(0), 0);
  }
  DbTable* Lines() { return stronaMagazynu->lines->table; }
  DbTable* Headers() { return stronaMagazynu->headers->table; }
  DbField* Line(const char* name) { return d4field(Lines(), name); }

  void Goods(const char* code, double stock) {
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    AppendNamed(Z5TOWA, {{"KOD", code}, {"NA1", "TOWAR"}, {"ILO", std::to_string(stock)}, {"STA", "A"}});
    d4close(Z5TOWA.table);
  }
  // Header 1 of the side with its lines (code, quantity, STP).
  struct LineSeed {
    const char* code;
    double quantity;
    const char* applied;
  };
  void Document(std::initializer_list<LineSeed> lines) {
    AppendNamed(*stronaMagazynu->headers, {{"NUM", "1"}, {"DAT", "20260310"}, {"REC", "1"}, {"TRY", "1"}});
    for (const LineSeed& l : lines)
      AppendNamed(*stronaMagazynu->lines, {{"KOT", l.code}, {"NA1", "TOWAR"}, {"ILO", std::to_string(l.quantity)},
                                           {"CEN", "10"}, {"REK", "1"}, {"NUM", "1"}, {"STP", l.applied}});
    ASSERT_EQ(d4go(Headers(), 1), 0);
  }
  std::string Stp(long line) {
    EXPECT_EQ(d4go(Lines(), line), 0);
    return Trim(Line("STP"));
  }
  // The line editor over the document, driven by `keys`.
  void Edit(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript((keys + "{ESC}").c_str()), 0);
    try {
      pozycje_dokumentu_magazynowego(1, 0);
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the editor did not end";
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    ASSERT_EQ(d4go(Headers(), 1), 0);
  }
};

TEST_F(WarehouseLinesTest, LineArithmetic) {
  struct Case {
    const char* name;
    int net;
    double quantity, price, rate;
    double cen, ceb, wan, wav, wab;
    int result;
  };
  const Case cases[] = {
      {"net, the price rounded to grosze first", 1, 3, 10.005, 23, 10.01, 12.31, 30.03, 6.91, 36.94, 0},
      {"gross", 0, 1, 123.00, 23, 100.00, 123.00, 100.00, 23.00, 123.00, 0},
      {"net at the largest value", 1, 11, 9090909.09, 0, 9090909.09, 9090909.09, 99999999.99, 0, 99999999.99, 0},
      {"net over the largest value", 1, 20, 5000000.00, 0, 7, 7, 7, 7, 7, -1},
      {"net whose gross is over it", 1, 11, 9090909.09, 23, 7, 7, 7, 7, 7, -1},
      {"gross over the largest value", 0, 100, 1000000.00, 23, 7, 7, 7, 7, 7, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d4blank(Lines());
    for (const char* f : {"CEN", "CEB", "WAN", "WAV", "WAB"}) f4assign_double(Line(f), 7);
    f4assign_double(Line("ILO"), c.quantity);
    f4assign_double(Line(c.net ? "CEN" : "CEB"), c.price);
    f4assign_double(Line("VAS"), c.rate);
    ASSERT_EQ(HeadlessSetScript(c.result != 0 ? "{ENTER}" : ""), 0);
    EXPECT_EQ(przelicz_pozycje_magazynowa(c.net), c.result);
    if (c.result != 0) {
      EXPECT_EQ(HeadlessKeysLeft(), 0) << "the warning waited for its key";
      EXPECT_DOUBLE_EQ(f4double(Line(c.net ? "CEN" : "CEB")), c.price) << "the typed price stays";
    }
    if (c.result == 0) {
      EXPECT_DOUBLE_EQ(f4double(Line("CEN")), c.cen);
      EXPECT_DOUBLE_EQ(f4double(Line("CEB")), c.ceb);
    }
    EXPECT_DOUBLE_EQ(f4double(Line("WAN")), c.wan);
    EXPECT_DOUBLE_EQ(f4double(Line("WAV")), c.wav);
    EXPECT_DOUBLE_EQ(f4double(Line("WAB")), c.wab);
  }
  d4changed(Lines(), 0);
}

// The pause of the stock report closes it after each line.
constexpr const char* PAUSE = "{ENTER}";

TEST_F(WarehouseLinesTest, ModifiedLinesMoveTheStockByWhatChanged) {
  Goods("T1", 10);
  Document({{"T1", 5, "T"}});
  // From the code down to the quantity (the name lines pass), 3 over 5.
  Edit(std::string("m{ENTER}3{ENTER}{F2}t") + PAUSE);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 8) << "5 taken back, 3 put in";
  EXPECT_EQ(Stp(1), "T");

  Edit("m{ENTER}{ENTER}{ENTER}{ENTER}12{ENTER}{F2}t");
  EXPECT_DOUBLE_EQ(StockOf("T1"), 8) << "a price alone moves nothing";
  EXPECT_DOUBLE_EQ(f4double(Line("CEN")), 12);
}

TEST_F(WarehouseLinesTest, AnUnappliedLineIsAppliedOnceTheOptionIsOn) {
  Goods("T1", 10);
  Document({{"T1", 5, "N"}});
  Edit(std::string("m{F2}t") + PAUSE);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 15);
  EXPECT_EQ(Stp(1), "T");
}

TEST_F(WarehouseLinesTest, ANegativeQuantityIsRefused) {
  Goods("T1", 10);
  Document({{"T1", 5, "T"}});
  seen.clear();
  g4set_key_to(KEY_F9, TakeShot);
  // The warning, then Esc and Esc to "Czy rezygnujesz z zapisu ?".
  Edit("m{ENTER}-1{ENTER}{F9}{ENTER}{ESC}{ESC}");
  g4set_key_to(KEY_F9, nullptr);
  EXPECT_NE(seen.find("Wartość nie może być mniejsza od zera."), std::string::npos) << seen;
  ASSERT_EQ(d4go(Lines(), 1), 0);
  EXPECT_DOUBLE_EQ(f4double(Line("ILO")), 5);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 10);
}

// A line without a goods code reaches no stock: saved with the option on,
// it stays unapplied.
TEST_F(WarehouseLinesTest, ALineWithoutGoodsStaysUnapplied) {
  Document({{"", 5, "N"}});
  Edit("m{F2}t");
  EXPECT_EQ(Stp(1), "N");
}

TEST_F(WarehouseLinesTest, DeletingADocumentGivesItsAppliedLinesBack) {
  struct Case {
    const StronaMagazynu* side;
    double stock;
  };
  for (const Case& c : {Case{&STRONA_PRZYJEC, 6}, Case{&STRONA_WYDAN, 14}}) {
    SCOPED_TRACE(c.side->receipt ? "receipt" : "issue");
    d4close_all(&env->engine);
    for (const char* name : {"Z5TOWA26", "Z5MAPR26", "Z5MAPE26", "Z5MAWY26", "Z5MAWE26"})
      for (const char* ext : {".DBF", ".MDX"}) std::remove((firm + name + ext).c_str());
    Side(c.side);
    Goods("T1", 10);
    Document({{"T1", 4, "T"}, {"T1", 100, "N"}});
    ASSERT_EQ(HeadlessSetScript(PAUSE), 0);
    EXPECT_EQ(usun_pozycje_dokumentu(1), 0);
    EXPECT_DOUBLE_EQ(StockOf("T1"), c.stock) << "only the applied line moves the stock";
    for (long line : {1, 2}) {
      ASSERT_EQ(d4go(Lines(), line), 0);
      EXPECT_TRUE(d4deleted(Lines()));
    }
  }
}

TEST_F(WarehouseLinesTest, ARefusedGiveBackKeepsTheLinesNotYetDeleted) {
  Goods("T1", 10);
  Document({{"T1", 4, "T"}, {"GONE", 1, "T"}, {"T1", 2, "T"}});
  // The missing goods: the error box, Esc on "Czy kontynuować operację ?",
  // the report window's pause.
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}{ENTER}"), 0);
  EXPECT_EQ(usun_pozycje_dokumentu(1), 1);
  EXPECT_DOUBLE_EQ(StockOf("T1"), 6);
  ASSERT_EQ(d4go(Lines(), 1), 0);
  EXPECT_TRUE(d4deleted(Lines()));
  for (long line : {2, 3}) {
    ASSERT_EQ(d4go(Lines(), line), 0);
    EXPECT_FALSE(d4deleted(Lines())) << line;
  }
}

}  // namespace
