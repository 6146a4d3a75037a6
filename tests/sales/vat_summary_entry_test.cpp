// A document entered as its per-rate VAT summary on the headless screen, and
// the lines the save writes from the summary.
#include <gtest/gtest.h>

#include <string>

#include "app/option_values.h"
#include "sales/document_totals.h"
#include "sales/sales_register.h"
#include "sales/vat_summary_entry.h"
#include "tests/sales/sales_fixture.h"
#include "ui/keyboard.h"

namespace {

constexpr int KEY_F3 = 0x3D00, KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;

class VatSummaryEntryTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    summary = podsumowanie_vat_dokumentu{};
    podsumowanieVat = &summary;
    definicjaRejestru = &definition;
    savedRates[0] = currentVatRates[VAT_BASIC];
    savedRates[1] = currentVatRates[VAT_REDUCED_1];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    salesOptions.taxation = 1;
    salesOptions.useAccounts = 'N';
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "7"}, {"PRE", "  FV"}, {"NRV", "3"}, {"DAW", "20261210"}, {"STM", "1"},
            {"TTR", "N"}, {"RE4", "T"}, {"WAL", "PLN"}, {"KVA", "1"}});
  }
  void TearDown() override {
    currentVatRates[VAT_BASIC] = savedRates[0];
    currentVatRates[VAT_REDUCED_1] = savedRates[1];
    podsumowanieVat = nullptr;
    definicjaRejestru = nullptr;
    SalesScreenTest::TearDown();
  }
  // Runs the summary with the key that opened it over the script.
  int Enter(int kind, int key, const char* script) {
    HeadlessSetScript(script);
    return wprowadz_podsumowanie_vat(kind, key);
  }
  double Line(const char* name) { return f4double(d4field(Z5SPRE.table, name)); }

  podsumowanie_vat_dokumentu summary{};
  definicja_rejestru_sprzedazy definition{};
  double savedRates[2]{};
};

TEST_F(VatSummaryEntryTest, GrossRowGivesVatNetAndOneLine) {
  // Row 1 (basic rate), gross 123.00, the income column "1. SPRZEDAŻ".
  EXPECT_EQ(Enter(1, KEY_F5, "{ENTER}123{ENTER}{ENTER}{ENTER}{ENTER}{F9}{ESC}"), KEY_ENTER);
  EXPECT_NE(seen.find("1.podstawowa.....        123.00            SPRZEDAŻ          23.00      100.00"), std::string::npos) << seen;
  EXPECT_DOUBLE_EQ(summary.vat[1], 23);
  EXPECT_DOUBLE_EQ(summary.net[1], 100);
  EXPECT_DOUBLE_EQ(sumyDokumentu.document[SUM_GROSS], 123);
  EXPECT_DOUBLE_EQ(sumyDokumentu.document[SUM_NET], 100);
  EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "TRY")), 2);
  // The totals go into the header at once.
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "BRU")), 123);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "NET")), 100);

  ASSERT_EQ(zapisz_pozycje_z_podsumowania(1), 0);
  ASSERT_EQ(d4reccount(Z5SPRE.table), 1);
  EXPECT_DOUBLE_EQ(Line("ILO"), 1);
  for (const char* name : {"CNB", "CNR", "WNE"}) EXPECT_DOUBLE_EQ(Line(name), 100) << name;
  for (const char* name : {"CBB", "CBR", "WAB"}) EXPECT_DOUBLE_EQ(Line(name), 123) << name;
  EXPECT_DOUBLE_EQ(Line("WAV"), 23);
  EXPECT_DOUBLE_EQ(Line("VAS"), 23);
  EXPECT_DOUBLE_EQ(Line("VAT"), 1);
  EXPECT_DOUBLE_EQ(Line("TYP"), 1);
  EXPECT_DOUBLE_EQ(Line("REK"), 7);
  EXPECT_DOUBLE_EQ(Line("REC"), 1);
  EXPECT_EQ(FieldText(Z5SPRE.table, "PRE"), "  FV");
  EXPECT_EQ(FieldText(Z5SPRE.table, "CSS"), "T");
  EXPECT_EQ(FieldText(Z5SPRE.table, "STA"), "");
  EXPECT_EQ(FieldText(Z5SPRE.table, "RE3"), "N");
}

TEST_F(VatSummaryEntryTest, NetRowsZeroRateRowsAndClearedRows) {
  salesOptions.list128 = 1;
  // Net 50 at the basic rate; "5.zwolnione" 20 asks only the amount and the
  // column; "2.obniżona 1" gets a column and goes back to 0.
  const char* script =
      "{ENTER}50{ENTER}{ENTER}{ENTER}{ENTER}"
      "520{ENTER}{ENTER}"
      "2{ENTER}{DOWN}{ENTER}{ENTER}{ENTER}{F9}{ESC}";
  EXPECT_EQ(Enter(1, KEY_F4, script), KEY_ENTER);
  EXPECT_DOUBLE_EQ(summary.gross[1], 61.50);
  EXPECT_DOUBLE_EQ(summary.net[4], 20);
  EXPECT_DOUBLE_EQ(summary.vat[4], 0);
  EXPECT_DOUBLE_EQ(summary.gross[4], 20);
  EXPECT_EQ(summary.incomeColumn[2], 0) << "a row without amounts keeps no column";
  EXPECT_DOUBLE_EQ(sumyDokumentu.document[SUM_GROSS], 81.50);
  EXPECT_EQ(f4int(d4field(Z5SPRZ.table, "TRY")), 1);
  // The zero-rate row shows no VAT; the totals sit under the rule.
  EXPECT_NE(seen.find("5.zwolnione......         20.00            SPRZEDAŻ                      20.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("70.00                              11.50       81.50"), std::string::npos) << seen;

  ASSERT_EQ(zapisz_pozycje_z_podsumowania(1), 0);
  ASSERT_EQ(d4reccount(Z5SPRE.table), 2);
  d4go(Z5SPRE.table, 2);
  EXPECT_DOUBLE_EQ(Line("VAT"), 4);
  EXPECT_DOUBLE_EQ(Line("VAS"), 0);
  EXPECT_DOUBLE_EQ(Line("WAB"), 20);

  // A second opening starts empty.
  EXPECT_EQ(Enter(1, KEY_F4, "{ESC}"), KEY_ENTER);
  EXPECT_DOUBLE_EQ(summary.net[1], 0);
  EXPECT_DOUBLE_EQ(sumyDokumentu.document[SUM_GROSS], 0);
}

TEST_F(VatSummaryEntryTest, CorrectionRowsAndLumpSumBooks) {
  salesOptions.taxation = 2;
  salesOptions.usualLumpSum2022 = 3;
  // The lump-sum list opens on the default code; the next item is chosen.
  EXPECT_EQ(Enter(3, KEY_F4, "{ENTER}-100{ENTER}{DOWN}{ENTER}{ENTER}{ESC}"), KEY_ENTER);
  EXPECT_DOUBLE_EQ(summary.correctionVat[1], -23);
  EXPECT_EQ(summary.lumpSumCode[1], 4);
  EXPECT_DOUBLE_EQ(sumyDokumentu.document[SUM_CORRECTION_NET], -100);
  ASSERT_EQ(zapisz_pozycje_z_podsumowania(3), 0);
  ASSERT_EQ(d4reccount(Z5SPRE.table), 1);
  EXPECT_DOUBLE_EQ(Line("KRN"), -100);
  EXPECT_DOUBLE_EQ(Line("KRV"), -23);
  EXPECT_DOUBLE_EQ(Line("KWNE"), -100);
  EXPECT_DOUBLE_EQ(Line("KWAB"), -123);
  EXPECT_DOUBLE_EQ(Line("KILO"), 1);
  EXPECT_DOUBLE_EQ(Line("RYT"), 4);
  EXPECT_DOUBLE_EQ(Line("TYP"), 1);
}

TEST_F(VatSummaryEntryTest, OtherKeysAndExportDeliveryFrom2024) {
  EXPECT_EQ(Enter(1, KEY_F3, ""), KEY_F3);
  EXPECT_EQ(Enter(1, 0, "x"), 'x');
  // Export (delivery 3): the basic-rate items are skipped, the menu starts on "4.zero".
  SetFields(Z5SPRZ.table, {{"STM", "3"}});
  EXPECT_EQ(Enter(1, KEY_F4, "1{ENTER}40{ENTER}{ENTER}{ESC}"), KEY_ENTER);
  EXPECT_DOUBLE_EQ(summary.net[1], 0);
  EXPECT_DOUBLE_EQ(summary.net[3], 40);
  EXPECT_DOUBLE_EQ(summary.gross[3], 40);
}

}  // namespace
