// The stock update and the purchase-price update over a seeded goods table,
// with their report window and failure boxes on the headless screen.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/option_sets.h"
#include "masterdata/stock_update.h"
#include "tables/masterdata_tables.h"
#include "tests/tables/tables_fixture.h"
#include "ui/window4.h"

namespace {

struct Goods {
  const char* code;
  double stock;
  double minimum;
  double sellingNet;
};

class StockUpdateTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    warehouseOptions.signalBelowMinimum = 'N';
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    TablesTest::TearDown();
  }

  static DbField* Field(const char* name) { return d4field(Z5TOWA.table, name); }

  // A goods table of the given records; closed again, as callers leave it.
  void Seed(std::initializer_list<Goods> goods) {
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    for (const Goods& g : goods) {
      ASSERT_EQ(d4append_start(Z5TOWA.table, 0), 0);
      d4blank(Z5TOWA.table);
      f4assign(Field("KOD"), g.code);
      f4assign(Field("NA1"), "TOWAR");
      f4assign_double(Field("ILO"), g.stock);
      f4assign_double(Field("ILM"), g.minimum);
      f4assign_double(Field("CSN"), g.sellingNet);
      for (const char* price : {"CZN", "CZB", "CSB", "CBN", "CBB", "CCN", "CCB"})
        f4assign_double(Field(price), 10);
      f4assign_double(Field("VZS"), 23);
      ASSERT_EQ(d4append(Z5TOWA.table), 0);
    }
    d4close(Z5TOWA.table);
  }

  // The stored record of `code`: the field's value.
  double Stored(const char* code, const char* field) {
    EXPECT_EQ(OpenZ5TOWA(0), 0);
    double value = -999;
    for (int r = d4top(Z5TOWA.table); r == 0; r = d4skip(Z5TOWA.table, 1))
      if (Trim(Field("KOD")) == code) value = f4double(Field(field));
    d4close(Z5TOWA.table);
    return value;
  }

  void RemoveGoods() {
    std::remove((firm + "Z5TOWA26.DBF").c_str());
    std::remove((firm + "Z5TOWA26.MDX").c_str());
  }

  std::string ScreenText() {
    std::string text;
    for (int row = 0; row < Desktop.rows; row++) text += Row(row) + "\n";
    return text;
  }
};

TEST_F(StockUpdateTest, StockCases) {
  struct Case {
    const char* name;
    Goods seeded;
    const char* code;
    double quantity;
    int windowFlag;
    char signal;
    const char* keys;
    int result;
    int written;
    double stock;   // ILO of the seeded goods afterwards
    double valueAtSellingNet;
    bool minimumShown;
  } cases[] = {
      {"sale below zero", {"T1", 3, 0, 10}, "T1", 5, 1, 'N', "", 0, 1, -2, 0, false},
      {"receipt", {"T1", 1.25, 0, 12.3456}, "T1", -2.5, 1, 'N', "", 0, 1, 3.75, 46.30, false},
      {"minimum reached, signalled", {"T1", 7, 4, 1}, "T1", 3, 1, 'T', "", 0, 1, 4, 4, true},
      {"minimum reached, not signalled", {"T1", 7, 4, 1}, "T1", 3, 0, 'N', "", 0, 1, 4, 4, false},
      {"above the minimum", {"T1", 7, 3, 1}, "T1", 3, 1, 'T', "", 0, 1, 4, 4, false},
      {"quantity 0", {"T1", 7, 0, 1}, "T1", 0, 1, 'N', "", 0, 0, 7, 0, false},
      {"blank code", {"T1", 7, 0, 1}, "   ", 2, 1, 'N', "", 0, 0, 7, 0, false},
      // a missing code passes quietly on the status line, asks in the window
      {"missing, status line", {"T1", 7, 0, 1}, "XX", 2, 0, 'N', "{ENTER}", 0, 0, 7, 0, false},
      {"missing, window, go on", {"T1", 7, 0, 1}, "XX", 2, 1, 'N', "{ENTER}T", 0, 0, 7, 0, false},
      // Esc closes the window after its pause
      {"missing, window, Esc", {"T1", 7, 0, 1}, "XX", 2, 1, 'N', "{ENTER}{ESC}x", -1, 0, 7, 0, false},
      // a code is never the beginning of a longer one
      {"shorter code", {"ABC", 7, 0, 1}, "AB", 2, 0, 'N', "{ENTER}", 0, 0, 7, 0, false},
      {"code past KOD's width", {"ABCDEFGHIJKLMNOPQR", 7, 0, 1}, "ABCDEFGHIJKLMNOPQRS", 2, 0, 'N', "{ENTER}", 0,
       0, 7, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveGoods();
    Seed({c.seeded});
    warehouseOptions.signalBelowMinimum = c.signal;
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    int written = -1;
    EXPECT_EQ(aktualizuj_ilosc(c.code, "Nazwa towaru", c.quantity, c.windowFlag, &written), c.result);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(Z5TOWA.table, nullptr) << "the goods table stays open";
    std::string screen = ScreenText();
    EXPECT_EQ(screen.find("MINIMUM !") != std::string::npos, c.minimumShown) << screen;
    bool nothingToDo = c.quantity == 0 || std::string(c.code).find_first_not_of(' ') == std::string::npos;
    EXPECT_EQ(screen.find(c.windowFlag ? "AKTUALIZACJA ILOŚCI" : "Nazwa towaru") != std::string::npos,
              !nothingToDo && c.result == 0)
        << screen;
    zamknij_okno_raportu(0);
    EXPECT_DOUBLE_EQ(Stored(c.seeded.code, "ILO"), c.stock);
    EXPECT_DOUBLE_EQ(Stored(c.seeded.code, "WSN"), c.valueAtSellingNet);
    double positive = c.stock > 0 ? c.stock : 0;
    for (const char* value : {"WZN", "WZB", "WSB", "WBN", "WBB", "WCN", "WCB"})
      EXPECT_DOUBLE_EQ(Stored(c.seeded.code, value), c.written ? positive * 10 : 0) << value;
  }
}

TEST_F(StockUpdateTest, ReportLineShowsTheQuantityBeforeAndAfter) {
  Seed({{"KOD-1", 12, 0, 1}, {"KOD-2", 1, 0, 1}});
  ASSERT_EQ(aktualizuj_ilosc("KOD-1", "Pierwszy", 2, 1), 0);
  ASSERT_EQ(aktualizuj_ilosc("KOD-2", "Drugi", -1, 1), 0);
  // the window's last line holds the newest call, the older one scrolled up
  EXPECT_NE(Row(25).find("KOD-1     Pierwszy"), std::string::npos) << Row(25);
  EXPECT_NE(Row(26).find("KOD-2     Drugi"), std::string::npos) << Row(26);
  EXPECT_NE(Row(25).find("Ilość:"), std::string::npos) << Row(25);
  EXPECT_NE(Row(25).find("12.0000"), std::string::npos) << Row(25);
  EXPECT_NE(Row(25).find("10.0000"), std::string::npos) << Row(25);
  EXPECT_NE(Row(26).find("2.0000"), std::string::npos) << Row(26);
  // the caller closes it after its pause; a second close does nothing
  ASSERT_EQ(HeadlessSetScript("x"), 0);
  zamknij_okno_raportu(1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  zamknij_okno_raportu(1);
  EXPECT_EQ(ScreenText().find("AKTUALIZACJA"), std::string::npos);
}

TEST_F(StockUpdateTest, FailureBoxNamesTheReason) {
  Seed({{"T1", 1, 0, 1}});
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(aktualizuj_ilosc("NIEMA", "Nazwa", 1.5, 1), ScriptEnded);
  std::string screen = ScreenText();
  for (const char* text : {"Nie zaktualizowano stanu ilościowego !", "Powód         - Brak towaru w spisie !",
                           "Kod           - NIEMA", "Nazwa         - Nazwa", "Korekta ilość -        1.5000"})
    EXPECT_NE(screen.find(text), std::string::npos) << text << "\n" << screen;
}

TEST_F(StockUpdateTest, MissingGoodsTableIsAnOpeningFailure) {
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}"), 0);
  EXPECT_EQ(aktualizuj_ilosc("T1", "Nazwa", 1, 0), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_FALSE(Exists(firm + "Z5TOWA26.DBF"));
}

TEST_F(StockUpdateTest, PriceUpdate) {
  struct Case {
    const char* name;
    double price;
    const char* keys;
    int result;
    double net, gross, valueNet;
    bool windowShown;
  } cases[] = {
      // equal to four decimals: nothing shown, nothing asked
      {"same price", 10.00004, "", 0, 10, 10, 0, false},
      // Esc on "Czy aktualizować cenę zakupu w spisie ?" keeps the stored record
      {"declined", 12, "{ESC}", 0, 10, 10, 0, true},
      // no new selling prices asked for: the new purchase price alone is stored
      {"accepted", 12, "T{ESC}", 0, 12, 14.76, 48, true},
      // the selling-price window left with Esc: the new purchase price alone is stored
      {"accepted, selling prices asked", 12, "TT{ESC}x", 0, 12, 14.76, 48, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RemoveGoods();
    Seed({{"T1", 4, 0, 1}});
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(aktualizuj_cene_zakupu("T1", "Nazwa", 4, c.price, 1), c.result);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(ScreenText().find("AKTUALIZACJA CENY") != std::string::npos, c.windowShown);
    zamknij_okno_raportu(0);
    EXPECT_DOUBLE_EQ(Stored("T1", "CZN"), c.net);
    EXPECT_DOUBLE_EQ(Stored("T1", "CZB"), c.gross);
    EXPECT_DOUBLE_EQ(Stored("T1", "WZN"), c.valueNet);
  }
}

TEST_F(StockUpdateTest, PriceUpdateOfMissingGoodsAsks) {
  Seed({{"T1", 4, 0, 1}});
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ESC}"), 0);
  EXPECT_EQ(aktualizuj_cene_zakupu("AB", "Nazwa", 4, 3, 0), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(ScreenText().find("AKTUALIZACJA CENY"), std::string::npos) << "the report window stays open";
}

// Selling prices saved after the new purchase price: a changed gross price
// A marks the goods when the warehouse option asks for it.
TEST_F(StockUpdateTest, ChangedPriceAMarksTheGoods) {
  struct Case {
    char option;
    const char* keys;
    double grossA;
    char mark;
  } cases[] = {
      // past the net price to the gross price A
      {'T', "TT{ENTER}99{ENTER}{F2}", 99, '\x9D'},
      {'N', "TT{ENTER}99{ENTER}{F2}", 99, ' '},
      {'T', "TT{F2}", 10, ' '},   // saved as it was
  };
  WarehouseOptions before = warehouseOptions;
  warehouseOptions.marginPricing = 'N';   // no margin fields in the window
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.option << " " << c.keys);
    warehouseOptions.markChanges = c.option;
    RemoveGoods();
    Seed({{"T1", 4, 0, 1}});
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(aktualizuj_cene_zakupu("T1", "Nazwa", 4, 12, 1), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    zamknij_okno_raportu(0);
    EXPECT_DOUBLE_EQ(Stored("T1", "CZN"), 12);
    EXPECT_DOUBLE_EQ(Stored("T1", "CSB"), c.grossA);
    ASSERT_EQ(OpenZ5TOWA(0), 0);
    ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
    EXPECT_EQ(f4char(Field("ZNA")), static_cast<unsigned char>(c.mark));
    d4close(Z5TOWA.table);
  }
  warehouseOptions = before;
}

// The screen made anew (a restart) while a report window was open: the next
// update opens a report window of its own and leaves the new windows alone.
TEST_F(StockUpdateTest, ReportWindowOfAScreenMadeAnewIsNotReused) {
  Seed({{"T1", 9, 0, 1}});
  ASSERT_EQ(aktualizuj_ilosc("T1", "Pierwszy", 1, 1), 0);
  Grid(30, 80);
  int list = w4define(2, 0, 27, 79);
  w4activate(list);
  w4(0, 0, "LISTA");
  ASSERT_EQ(aktualizuj_ilosc("T1", "Drugi", 1, 1), 0);
  EXPECT_EQ(Row(2).substr(0, 5), "LISTA");
  EXPECT_NE(Row(17).find("AKTUALIZACJA ILOŚCI"), std::string::npos) << ScreenText();
  EXPECT_NE(Row(26).find("Drugi"), std::string::npos) << ScreenText();
  zamknij_okno_raportu(0);
  EXPECT_EQ(w4select(-1), list);
  EXPECT_DOUBLE_EQ(Stored("T1", "ILO"), 7);
}

}  // namespace
