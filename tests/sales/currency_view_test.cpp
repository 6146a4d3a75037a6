// The register's currency view and the texts its list, panel and
// tabulogram make of a header; the VAT date of a small taxpayer's invoice
// by the buyer's VAT status.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "print/tabulogram.h"
#include "sales/currency_view.h"
#include "sales/document_totals.h"
#include "sales/sales_register.h"
#include "ui/std_windows.h"
#include "ui/window4.h"
#include "tests/sales/sales_fixture.h"

namespace {

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

class CurrencyViewTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    definition = definicja_rejestru_sprzedazy{};
    definicjaRejestru = &definition;
  }
  void TearDown() override {
    definicjaRejestru = nullptr;
    SalesTest::TearDown();
  }
  std::string ListText(ColumnValueRoutine routine, const char* field) {
    ColumnValue v{};
    v.field = H(field);
    routine(&v);
    return std::string(v.text, v.length);
  }
  definicja_rejestru_sprzedazy definition;
};

TEST_F(CurrencyViewTest, AmountsByTheView) {
  struct Case {
    const char* kva;
    const char* kks;
    int mode;
    double shown;
  } cases[] = {
      {"4.3", "4.25", VIEW_PLN_VAT, 430.00},   {"4.3", "4.25", VIEW_PLN_BOOKS, 425.00},
      {"4.3", "4.25", VIEW_OWN_CURRENCY, 100}, {"0", "4.25", VIEW_PLN_VAT, 100},
      {"4.3", "-1", VIEW_PLN_BOOKS, 100},
  };
  for (const Case& c : cases) {
    Header({{"WAL", "EUR"}, {"KVA", c.kva}, {"KKS", c.kks}, {"NET", "100"}});
    ColumnValue v{};
    v.number = 100;
    przelicz_kwote_widoku(&v, c.mode, H("KVA"), H("KKS"));
    EXPECT_DOUBLE_EQ(v.number, c.shown) << c.kva << " " << c.kks << " mode " << c.mode;
  }
  EXPECT_STREQ(nazwa_widoku_waluty(VIEW_PLN_VAT, "EUR"), "PLN dla rozliczenia VAT");
  EXPECT_STREQ(nazwa_widoku_waluty(VIEW_OWN_CURRENCY, "EUR"), "EUR");
  char title[40] = "Rejestr";
  dopisz_opis_widoku_waluty(title, sizeof title, VIEW_OWN_CURRENCY, "EUR");
  EXPECT_STREQ(title, "Rejestr waluta:EUR");
  // A title that fills its buffer is cut, never overrun.
  char small[12] = "Rejestr";
  dopisz_opis_widoku_waluty(small, sizeof small, VIEW_PLN_VAT, "EUR");
  EXPECT_STREQ(small, "Rejestr wal");
}

TEST_F(CurrencyViewTest, ListColumnsOfTheHeader) {
  struct Case {
    Fields header;
    const char* kind;
    const char* mark;
  } cases[] = {
      {{{"TYV", "1"}}, " FV", "   "},
      {{{"TYV", "1"}, {"AKT", "2"}}, " ZB", "   "},
      {{{"TYV", "7"}, {"AKT", "3"}}, " KP", "FP "},
      {{{"TYV", "1"}, {"SDR", "2"}}, " FV", "WEW"},
      {{{"TYV", "1"}, {"NKV", "NNNNNNNNNNNNT"}}, " FV", "MPP"},
      {{{"TYV", "3"}, {"TYM", "10"}}, " FK", "FP "},
      {{{"TYV", "9"}}, " FP", "FP "},
      {{{"TYV", "5"}, {"RE5", "2"}, {"SDR", "2"}}, " BR", "RO "},
  };
  for (const Case& c : cases) {
    Header(c.header);
    EXPECT_EQ(ListText(kolumna_typu, "TYV"), c.kind) << c.kind << c.mark;
    EXPECT_EQ(ListText(kolumna_oznaczenia, "KSM"), c.mark) << c.kind << c.mark;
  }
  Header({{"NKV", "TNNNNNNNNTNNT"}, {"RE4", "N"}, {"OSM", "FV/A/7"}});
  EXPECT_EQ(ListText(kolumna_oznaczen, "NKV"), "1        10    13");
  EXPECT_EQ(ListText(kolumna_numeru, "NRV"), std::string("FV/A/7") + std::string(34, ' '));
}

TEST_F(CurrencyViewTest, TabulogramColumnsCarryTheirAliases) {
  Header({{"TYV", "3"}, {"KVA", "4.3"}, {"KRN", "-40"}, {"KRV", "-10"}, {"KZA", "-20"}, {"NKK", "NTNNNNNNNNNNT"}});
  definition.currencyView = VIEW_PLN_VAT;
  struct Case {
    TabuValueRoutine routine;
    const char* alias;
    double number;
    const char* text;
  } cases[] = {
      {tabulogram_korekta_brutto, "_KB", -215.00, nullptr},
      {tabulogram_do_zaplaty, "_RO", -129.00, nullptr},
      {tabulogram_gtu, "_OZ", 0, " 2             13"},
  };
  for (const Case& c : cases) {
    TabuValue v{};
    c.routine(&v);
    EXPECT_STREQ(v.fieldName, c.alias);
    EXPECT_STREQ(v.sourceName, d4alias(Z5SPRZ.table)) << c.alias;
    if (c.text)
      EXPECT_EQ(std::string(v.text, 17), c.text) << c.alias;
    else
      EXPECT_DOUBLE_EQ(v.number, c.number) << c.alias;
  }
  TabuValue net{};
  net.number = -40;
  tabulogram_kwota(&net);
  EXPECT_DOUBLE_EQ(net.number, -172.00);
  // The report's own mode, not the list's, converts the printout.
  context.reportCurrencyMode = VIEW_OWN_CURRENCY;
  net.number = -40;
  tabulogram_kwota(&net);
  EXPECT_DOUBLE_EQ(net.number, -40.00);
  TabuValue left{};
  tabulogram_do_zaplaty(&left);
  EXPECT_DOUBLE_EQ(left.number, -30.00);
}

// A new small taxpayer's invoice under the cash method: the VAT date 179 days
// after the sale when the buyer pays no VAT, none when it does.
TEST_F(CurrencyViewTest, SmallTaxpayerVatDateByTheBuyer) {
  salesOptions.cashVat = 'T';
  struct Case {
    const char* kind;
    const char* stm;
    const char* payer;
    const char* vatDate;
  } cases[] = {
      {"7", "1", "N", "20270607"}, {"7", "1", "T", ""}, {"1", "1", "N", "20261210"}, {"7", "2", "N", "20261210"},
  };
  for (const Case& c : cases) {
    Header({{"TYV", c.kind}, {"STM", c.stm}, {"RE3", c.payer}, {"DAS", "20261210"}, {"DAV", "20261210"}});
    EXPECT_EQ(data_vat_mp_wg_platnika(nullptr), 0);
    EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), c.vatDate) << c.kind << c.stm << c.payer;
  }
}

// What the panel and the forms draw in a window of their own.
class ViewDrawingTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    definition = definicja_rejestru_sprzedazy{};
    definicjaRejestru = &definition;
    window = DefineWprowadzWindow(2, 0, 10, 80, nullptr, nullptr, nullptr);
    w4activate(window);
  }
  void TearDown() override {
    w4deactivate(window);
    w4close(window);
    definicjaRejestru = nullptr;
    SalesScreenTest::TearDown();
  }
  // The window rows the routine drew on (its place row 3, column 10), each
  // trimmed, as "row1|row3|row4|": the panel's currency puts its view's
  // label on the blank row two above.
  std::string Drawn(void (*routine)(TextCtrl*), const char* field) {
    DbField* slot = H(field);
    TextCtrl entry{};
    entry.row = 3;
    entry.col = 10;
    entry.field = &slot;
    w4clear(1);
    routine(&entry);
    seen.clear();
    TakeShot(0, 0);
    std::vector<std::string> rows;
    for (size_t at = 0, next; (next = seen.find('\n', at)) != std::string::npos; at = next + 1)
      rows.push_back(seen.substr(at, next - at));
    std::string drawn;
    for (int row : {w4start_row() + 1, w4start_row() + 3, w4start_row() + 4}) {
      std::string text = rows.at(static_cast<size_t>(row)).substr(static_cast<size_t>(w4start_col()) + 2, 70);
      text.erase(text.find_last_not_of(' ') + 1);
      text.erase(0, std::min(text.size(), text.find_first_not_of(' ')));
      drawn += text + "|";
    }
    return drawn;
  }
  definicja_rejestru_sprzedazy definition;
  int window = -1;
};

TEST_F(ViewDrawingTest, PanelAndFormTexts) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "3"}, {"PRE", "  FK"}, {"NRV", "12"}, {"POS", "A"}, {"TYM", "9"},
                              {"WAL", "EUR"}, {"KVA", "4.3"}, {"KKS", "4.25"},
                              {"NET", "100"}, {"NWZ", "WZ/12/2026"}});
  struct Case {
    int view;
    void (*routine)(TextCtrl*);
    const char* field;
    const char* shown;
  } cases[] = {
      {VIEW_PLN_VAT, panel_kwota, "NET", "|430.00||"},
      {VIEW_PLN_BOOKS, panel_kwota, "NET", "|425.00||"},
      {VIEW_OWN_CURRENCY, panel_kwota, "NET", "|100.00||"},
      {VIEW_PLN_VAT, panel_waluta, "WAL", "VAT|PLN||"},
      {VIEW_PLN_BOOKS, panel_waluta, "WAL", "księg.|PLN||"},
      {VIEW_OWN_CURRENCY, panel_waluta, "WAL", "|EUR||"},
      {VIEW_OWN_CURRENCY, panel_kraj, "KRA", "|POLSKA||"},
      {VIEW_OWN_CURRENCY, panel_numer_wz, "NWZ", "|WZ/12||"},
      {VIEW_OWN_CURRENCY, formularz_rodzaj, "TYV", "|KOREKTA||"},
      {VIEW_OWN_CURRENCY, formularz_numer, "NRV", "|FK/   12/A||"},
      {VIEW_OWN_CURRENCY, formularz_rodzaj_korygowany, "TYM", "|FP||"},
  };
  for (const Case& c : cases) {
    definition.currencyView = c.view;
    EXPECT_EQ(Drawn(c.routine, c.field), c.shown) << c.field << " view " << c.view;
  }
}

}  // namespace
