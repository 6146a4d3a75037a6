// The sale without invoice (BR): its default texts by sub-kind, its window
// adding a document that Esc takes away again, and the marks dialogs.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "sales/marks_dialogs.h"
#include "sales/sale_without_invoice.h"
#include "sales/sales_register.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

std::string HeaderText(const char* name) { return FieldText(Z5SPRZ.table, name); }

class SaleWithoutInvoiceTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(salesOptions.numbering[DOC_BR].prefix, "BR");
    salesOptions.standardNumbering = 'T';
    context.kind = 1;   // the window numbers a BR whatever was entered before
    definicjaRejestru = &definition;
    ASSERT_EQ(OpenZ5KASA(0), 0);
  }
  void TearDown() override {
    definicjaRejestru = nullptr;
    SalesScreenTest::TearDown();
  }

  definicja_rejestru_sprzedazy definition{};
};

// The number accepted, sub-kind 1 chosen, the delivery kept and the issue
// date left: the name and descriptions of a cash report of the month.
constexpr const char* NEW_CASH_REPORT = "{F2}{UP}{ENTER}{ENTER}{ENTER}";

TEST_F(SaleWithoutInvoiceTest, NewCashReportGetsItsTextsAndIsSavedWithF2) {
  HeadlessSetScript((std::string(NEW_CASH_REPORT) + "{F2}T").c_str());
  EXPECT_EQ(okno_sprzedazy_bezrachunkowej(0), KEY_F2);
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5SPRZ.table));
  const std::pair<const char*, const char*> stored[] = {
      {"TYV", " 5"},
      {"RE5", " 1"},
      {"PRE", "  BR"},
      {"NRV", "    1"},
      {"NA1", "sprzedaż wg raportu kasowego - Grudzień 2026"},
      {"OP1", "sprzedaż - 12.2026"},
      {"OP2", "raport kasowy"},
      {"PLA", "GOTÓWKA"},
      {"ZAP", "T"},
      {"SDR", "2"},
      {"DAS", "20261210"},
      {"DAV", "20261210"}};
  for (const auto& [name, value] : stored) EXPECT_EQ(HeaderText(name), value) << name;
}

TEST_F(SaleWithoutInvoiceTest, EscDeletesTheNewDocument) {
  HeadlessSetScript((std::string(NEW_CASH_REPORT) + "{ESC}{ESC}").c_str());
  EXPECT_EQ(okno_sprzedazy_bezrachunkowej(0), KEY_ESC);
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRZ.table));
}

// Esc in the window over a stored BR leaves the stored header as it was.
TEST_F(SaleWithoutInvoiceTest, EscOverAStoredDocumentKeepsIt) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "5"}, {"RE5", "0"}, {"TRY", "1"}, {"STM", "1"}, {"NA1", "stara"},
                              {"DAW", "20261210"}});
  HeadlessSetScript("{UP}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(okno_sprzedazy_bezrachunkowej(1), KEY_ESC);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(HeaderText("RE5"), " 0");
  EXPECT_EQ(HeaderText("NA1"), "stara");
}

TEST_F(SaleWithoutInvoiceTest, DefaultTextsBySubKind) {
  const struct {
    const char* subKind;
    const char* name;
    const char* shortText;
  } cases[] = {
      {"1", "sprzedaż wg raportu kasowego - Październik 2025", "raport kasowy"},
      {"2", "sprzedaż z marżą wg raportu kasowego - Październik 2025", "raport kasowy marża"},
      {"0", "sprzedaż bezrachunkowa - Październik 2025", "bezrachunkowa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subKind);
    AppendRecord(Z5SPRZ.table, {{"TYV", "5"}, {"RE5", c.subKind}, {"DAW", "20250312"}});
    // The month of the name is the date's, that of OP1 the issue date's.
    opisy_sprzedazy_bezrachunkowej("20251015");
    EXPECT_EQ(HeaderText("NA1"), c.name);
    EXPECT_EQ(HeaderText("OP1"), "sprzedaż - 03.2025");
    EXPECT_EQ(HeaderText("OP2"), c.shortText);
  }
}

class MarksDialogTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"NKV", "NNNNNNNNNNNNN"}, {"NKK", "NNNNNNNNNNNNN"}});
  }
};

TEST_F(MarksDialogTest, ProcedurePositionFourCannotChange) {
  // Space marks a position and moves on; the fourth is passed over.
  HeadlessSetScript("{SPACE}{SPACE}{SPACE}{SPACE}{F9}{F2}");
  EXPECT_EQ(procedury(0), KEY_F2);
  EXPECT_EQ(HeaderText("NKV"), "TTTNTNNNNNNNN");
  EXPECT_NE(seen.find("[X] TP "), std::string::npos) << seen;
  EXPECT_NE(seen.find("[ ] TT_WNT"), std::string::npos) << seen;
  EXPECT_NE(seen.find("[X] TT_D"), std::string::npos) << seen;
}

TEST_F(MarksDialogTest, GtuMarksAreSetWithF2AndKeptWithEsc) {
  HeadlessSetScript("{DOWN}{SPACE}{ESC}");
  EXPECT_EQ(oznaczenia_gtu(0), KEY_ESC);
  EXPECT_EQ(HeaderText("NKK"), "NNNNNNNNNNNNN");
  HeadlessSetScript("{DOWN}{SPACE}{F2}");
  EXPECT_EQ(oznaczenia_gtu(0), KEY_F2);
  EXPECT_EQ(HeaderText("NKK"), "NTNNNNNNNNNNN");
  // Shown only: keys change nothing, F2 goes on.
  HeadlessSetScript("{SPACE}{DOWN}{SPACE}{F2}");
  EXPECT_EQ(oznaczenia_gtu(1), KEY_F2);
  EXPECT_EQ(HeaderText("NKK"), "NTNNNNNNNNNNN");
}

}  // namespace
