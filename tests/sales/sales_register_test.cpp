// The sales register on the headless screen: its columns and panel, the
// currency view key, the paid flag and the VAT-payer mark, and the rights of
// its keys.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "db/dbf_records.h"
#include "masterdata/address_clipboard.h"
#include "print/tabulogram.h"
#include "ui/browse.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "sales/sales_register.h"
#include "tests/sales/sales_fixture.h"
#include "ui/rights.h"

namespace {

constexpr int RIGHTS_BYTES = 2000;
std::vector<int> views;

int RecordView(int32_t, int32_t) {
  views.push_back(definicjaRejestru->currencyView);
  return 0;
}

// Another workstation pays the document in full while this one still shows
// it unpaid.
int PaidElsewhere(int32_t, int32_t) {
  DbTable* t = Z5SPRZ.table;
  std::string shown(d4record(t), d4record_width(t));
  f4assign_double(d4field(t, "KZA"), 100);
  d4write(t, d4recno(t));
  d4flush(t);
  std::memcpy(d4record(t), shown.data(), shown.size());
  d4changed(t, 0);
  return 0;
}

// Another workstation renames the buyer while this one shows the old name.
int RenamedElsewhere(int32_t, int32_t) {
  DbTable* t = Z5SPRZ.table;
  std::string shown(d4record(t), d4record_width(t));
  f4assign(d4field(t, "NA1"), "Nowa nazwa");
  d4write(t, d4recno(t));
  d4flush(t);
  std::memcpy(d4record(t), shown.data(), shown.size());
  d4changed(t, 0);
  return 0;
}

class SalesRegisterTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    salesContext = nullptr;   // the register makes its own
    std::memset(env->rights, 0xFF, RIGHTS_BYTES);
    g4set_key_to(KEY_F10, RecordView);
    views.clear();
  }
  void TearDown() override {
    mainOptions.onlineNipCheck = 'N';
    g4set_key_to(KEY_F10, nullptr);
    SalesScreenTest::TearDown();
  }
  void Document(Fields fields) {
    AppendRecord(Z5SPRZ.table, fields);
    ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  }
  std::string Stored(const char* field) {
    EXPECT_EQ(d4go(Z5SPRZ.table, 1), 0);
    return FieldText(Z5SPRZ.table, field);
  }
};

TEST_F(SalesRegisterTest, ListPanelAndCurrencyView) {
  salesOptions.procedureMarks = 'T';
  Document({{"TYV", "1"}, {"NRV", "7"}, {"NA1", "Hurtownia Zbyt"}, {"KNA", "ZBYT"}, {"STM", "9"}, {"REC", "1"}});
  HeadlessSetScript("{F9}{F10}{F5}{F10}{F5}{F10}{F5}{F10}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Dokumenty sprzedaży 2026"), std::string::npos) << seen;
  // The 40 columns of the number leave the marks columns past the screen's edge.
  for (const char* text : {"TYP", "numer", "data wyst", "data VAT", "ozn", "Hurtownia", "ZBYT",
                           "WDT trójstr. drugi podatnik"})
    EXPECT_NE(seen.find(text), std::string::npos) << text << "\n" << seen;
  EXPECT_EQ(views, (std::vector<int>{2, 0, 1, 2}));
}

// F5 steps the view and the panel's amounts and currency follow.
TEST_F(SalesRegisterTest, CurrencyViewOfThePanel) {
  Document({{"TYV", "1"}, {"WAL", "EUR"}, {"KVA", "4.3"}, {"KKS", "4.25"}, {"NET", "100"}});
  HeadlessSetScript("{F9}{F5}{F9}{F5}{F9}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  size_t own = seen.find("netto..........:     100.00"), vat = seen.find("netto..........:     430.00"),
         books = seen.find("netto..........:     425.00");
  ASSERT_NE(own, std::string::npos) << seen;
  ASSERT_NE(vat, std::string::npos) << seen;
  ASSERT_NE(books, std::string::npos) << seen;
  EXPECT_LT(own, vat);
  EXPECT_LT(vat, books);
  // The currency stands before "VAT" and covers no label.
  ASSERT_NE(seen.find("EUR VAT........:"), std::string::npos) << seen;
  EXPECT_LT(seen.find("EUR VAT........:"), seen.find("PLN VAT........:"));
  EXPECT_EQ(seen.find("PLNVAT"), std::string::npos) << seen;
  EXPECT_NE(seen.find("brutto.........:"), std::string::npos) << seen;
}

TEST_F(SalesRegisterTest, BothRegistersShowTheirHeaders) {
  const struct {
    int rejestr;
    const char* title;
  } cases[] = {{1, "Dokumenty sprzedaży 2026"}, {2, "Dokumenty sprzedaży pomocniczej 2026"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    StopSalesTables(env);
    d4init(&env->engine);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, c.rejestr), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, c.rejestr), 0);
    Document({{"TYV", "1"}, {"NA1", "Q7"}});
    seen.clear();
    HeadlessSetScript("{F9}{ESC}");
    EXPECT_EQ(rejestr_sprzedazy(c.rejestr), 0);
    EXPECT_NE(seen.find(c.title), std::string::npos) << seen;
    EXPECT_NE(seen.find("Q7"), std::string::npos) << seen;
  }
}

TEST_F(SalesRegisterTest, WithoutMarksNoProcedureColumns) {
  salesOptions.procedureMarks = 'N';
  Document({{"TYV", "1"}, {"NRV", "7"}});
  HeadlessSetScript("{F9}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("data VAT"), std::string::npos) << seen;
  for (char marks : {'N', 'T'}) {
    salesOptions.procedureMarks = marks;
    definicja_rejestru_sprzedazy* d = nullptr;
    ASSERT_EQ(buduj_definicje_rejestru(&d, 1), 0);
    std::string headers;
    for (ScrollColumn* c = d->columns;; c++) {
      headers += std::string(c->header) + ";";
      if (c->flags & DEF_LAST) break;
    }
    zwolnij_definicje_rejestru(&d);
    EXPECT_EQ(headers, marks == 'T' ? "TYP;numer;data wyst;data VAT;ozn;procedury;GTU;nazwa;"
                                    : "TYP;numer;data wyst;data VAT;ozn;nazwa;");
  }
}

TEST_F(SalesRegisterTest, PaidFlagReadsTheStoredDocument) {
  Document({{"TYV", "1"}, {"BRU", "100"}, {"KZA", "0"}, {"ZAP", "N"}});
  g4set_key_to(KEY_F10, PaidElsewhere);
  HeadlessSetScript("{F10}{F7}{F9}{ENTER}{F7}{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Zmieniono status 'Czy zapłacono?' na TAK"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Status 'Czy zapłacono?' bez zmian."), std::string::npos) << seen;
  EXPECT_EQ(Stored("ZAP"), "T");
  EXPECT_EQ(Stored("KZA"), "     100.00");
}

TEST_F(SalesRegisterTest, NothingDueMeansPaid) {
  Document({{"TYV", "1"}, {"BRU", "0"}, {"ZAP", "N"}});
  HeadlessSetScript("{F7}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_EQ(Stored("ZAP"), "T");
}

TEST_F(SalesRegisterTest, VatPayerMarkToggles) {
  Document({{"TYV", "1"}, {"RE3", "N"}});
  HeadlessSetScript("{F8}{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Zmieniono status 'czy podatnik VAT?' na TAK"), std::string::npos) << seen;
  EXPECT_EQ(Stored("RE3"), "T");
}

TEST_F(SalesRegisterTest, VatPayerMarkKeepsAnotherWorkstationsChange) {
  Document({{"TYV", "1"}, {"RE3", "N"}, {"NA1", "Stara nazwa"}});
  g4set_key_to(KEY_F10, RenamedElsewhere);
  HeadlessSetScript("{F10}{F8}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_EQ(Stored("RE3"), "T");
  EXPECT_EQ(Stored("NA1"), "Nowa nazwa");
}

TEST_F(SalesRegisterTest, VatPayerMarkStaysWhenNoRegisterAnswers) {
  mainOptions.onlineNipCheck = 'T';
  Document({{"TYV", "1"}, {"RE3", "T"}, {"NIP", "1234563218"}});
  // No lookup library here: the Polish list cannot be asked.
  HeadlessSetScript("{F8}{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Brak modułu"), std::string::npos) << seen;
  EXPECT_EQ(Stored("RE3"), "T");
}

TEST_F(SalesRegisterTest, NipCheckOfTheDocumentsReportsTheMissingNumbers) {
  mainOptions.onlineNipCheck = 'T';
  Document({{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"NIP", "brak"}, {"DAW", "20261203"}, {"REC", "1"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "2"}, {"REC", "2"}});
  // Both asked about and gone on with; the end waits for a key.
  HeadlessSetScript("{ALT+F8}{F9}T{F9}T{F9}x{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  mainOptions.onlineNipCheck = 'N';
  EXPECT_NE(seen.find("Brak NIP."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Dokument nr FV/1 z 03-12-2026."), std::string::npos) << seen;
  EXPECT_NE(seen.find("SPRAWDZENIE ZAKOŃCZONE"), std::string::npos) << seen;
  EXPECT_NE(seen.find("BŁĘDNY lub nie NIP:              2"), std::string::npos) << seen;
}

// F4 moves an invoice to the auxiliary register: its line goes with the
// stock it took, so nothing is given back here, and the cash book is not asked.
TEST_F(SalesRegisterTest, AMovedInvoiceKeepsItsStock) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(OpenZ5KASA(0), 0);
  salesOptions.stockOnEntry = 'T';
  AppendRecord(Z5TOWA.table, {{"KOD", "T1"}, {"ILO", "7"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"KOT", "T1"}, {"ILO", "2"}, {"STA", "T"}, {"TYV", "1"}});
  Document({{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}});
  HeadlessSetScript("{F4}T{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Faktura została przeniesiona."), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Czy usunąć zapisy z kasy?"), std::string::npos) << seen;
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRZ.table));
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_TRUE(d4deleted(Z5SPRE.table));
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5TOWA.table, "ILO")), 7);
  EXPECT_EQ(d4reccount(Z5SPRZ_2.table), 1);
  ASSERT_EQ(d4go(Z5SPRE_2.table, 1), 0);
  EXPECT_EQ(FieldText(Z5SPRE_2.table, "STA"), "T");
}

int RecordLinesShown(int32_t, int32_t) {
  views.push_back(CurrentBrowse->rel_shown);
  return 0;
}

TEST_F(SalesRegisterTest, F3ShowsAndHidesTheLines) {
  Document({{"TYV", "1"}, {"REC", "1"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", "Towar pierwszy"}});
  g4set_key_to(KEY_F10, RecordLinesShown);
  HeadlessSetScript("{F3}{F10}{F9}{F3}{F10}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_EQ(views, (std::vector<int>{1, 0}));
  EXPECT_NE(seen.find("Towar pierwszy"), std::string::npos) << seen;
}

TEST_F(SalesRegisterTest, F3TwiceListsTheAdvanceInvoices) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
  AppendRecord(Z5SPRZ_2.table, {{"TYV", "11"}, {"PRE", "  FZ"}, {"NRV", "4"}, {"DAW", "20260110"}, {"REK", "5"}});
  AppendRecord(Z5SPRZ_2.table, {{"TYV", "11"}, {"PRE", "  FZ"}, {"NRV", "9"}, {"DAW", "20260120"}, {"REK", "6"}});
  AppendRecord(Z5SPRZ_2.table, {{"TYV", "11"}, {"RE4", "N"}, {"OSM", "ZAL-77"}, {"DAW", "20260215"}, {"REK", "5"}});
  Document({{"TYV", "1"}, {"AKT", "1"}, {"REC", "5"}});
  HeadlessSetScript("{F3}{F3}{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("FAKTURY ZALICZKOWE"), std::string::npos) << seen;
  EXPECT_NE(seen.find("10-01-2026"), std::string::npos) << seen;
  EXPECT_NE(seen.find("ZAL-77"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("20-01-2026"), std::string::npos) << seen;
}

TEST_F(SalesRegisterTest, ComputedTabulogramColumns) {
  Document({{"TYV", "3"}, {"PRE", "  FK"}, {"NRV", "3"}, {"POS", "26"}, {"KRN", "-100"}, {"KRV", "-23"},
            {"KZA", "-50"}});
  definicja_rejestru_sprzedazy* d = nullptr;
  ASSERT_EQ(buduj_definicje_rejestru(&d, 1), 0);
  std::vector<TabuValue> values;
  for (int i = 0; i < REGISTER_TABU_COLUMNS; i++) {
    TabuColumn& column = d->tabulogram[i];
    if (!column.valueRoutine) continue;
    TabuValue v{};
    column.valueRoutine(&v);
    values.push_back(v);
  }
  zwolnij_definicje_rejestru(&d);
  EXPECT_EQ(d, nullptr);
  // The number fitted to its column, the amounts by the view, the
  // correction's gross and what is left to settle.
  ASSERT_EQ(values.size(), 9u);
  EXPECT_EQ(std::string(values[0].text, 40), std::string(29, ' ') + "FK/    3/26");
  EXPECT_DOUBLE_EQ(values[6].number, -123);   // the correction's gross change
  EXPECT_DOUBLE_EQ(values[8].number, -73);    // what is left to settle
}

std::string copiedName;
int RecordClipboard(int32_t, int32_t) {
  copiedName = schowek_adresu ? std::string(schowek_adresu->name1, 14) : "none";
  return 0;
}

TEST_F(SalesRegisterTest, CtrlZCopiesTheBuyer) {
  Document({{"TYV", "1"}, {"KNA", "ZBYT"}, {"NA1", "Hurtownia Zbyt"}});
  g4set_key_to(KEY_F10, RecordClipboard);
  HeadlessSetScript("{CTRL+Z}{F10}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_EQ(copiedName, "Hurtownia Zbyt");
  EXPECT_EQ(schowek_adresu, nullptr);
}

TEST_F(SalesRegisterTest, CopyNeedsTheRightToAdd) {
  Document({{"TYV", "1"}});
  env->rights[1110 / 8] &= static_cast<unsigned char>(~(0x80 >> (1110 % 8)));
  HeadlessSetScript("{CTRL+C}{F9}{ENTER}{ESC}");
  EXPECT_EQ(rejestr_sprzedazy(1), 0);
  EXPECT_NE(seen.find("Zabroniony dostęp !"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("nie jest jeszcze dostępna"), std::string::npos) << seen;
}

}  // namespace
