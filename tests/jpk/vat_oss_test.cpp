// The VAT-OSS register rebuilt from a seeded year of sales: which documents
// it takes, the two records of a rate-changing correction, the month window
// and its overwrite question.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/dates.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "jpk/vat_oss.h"
#include "ui/keyboard.h"
#include "tables/masterdata_tables.h"
#include "tests/jpk/jpk_fixture.h"

namespace {

class VatOssTest : public JpkTest {
 protected:
  void SetUp() override {
    JpkTest::SetUp();
    if (HasFatalFailure()) return;
    SetFields(Z5PAWL.table, {{"KRA", "POLSKA"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    ASSERT_EQ(OpenZ5KRAJ(0), 0);
    AppendRecord(Z5KRAJ.table, {{"KKR", "DE"}, {"KRA", "NIEMCY"}});
    d4close(Z5KRAJ.table);
    Z5KRAJ.table = nullptr;
    ASSERT_EQ(OpenZ5VOSS(0), 0);
    const Fields oss = {{"STM", "4"}, {"KRA", "NIEMCY"}, {"MIA", "Berlin"}, {"ULI", "Hauptstr. 1"}, {"KOP", ""}};
    const Fields goods = {{"AKC", "1"}, {"WNE", "100"}, {"WAV", "19"}, {"VAT", "1"}, {"VAS", "19"}, {"WAL", "EUR"},
                          {"NA1", "Towar"}, {"ILO", "2"}};
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20260415", oss, {goods});
    SetFields(Z5SPRZ.table, {{"KOP", "10115"}});
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 3, "KOR", "20260420", oss,
                        {{{"AKC", "1"}, {"WNE", "100"}, {"WAV", "19"}, {"VAT", "1"}, {"VAS", "19"}, {"KVAS", "7"},
                          {"KWNE", "100"}, {"KWAV", "7"}, {"KVAT", "2"}, {"WAL", "EUR"}}});
    SetFields(Z5SPRZ.table, {{"DAK", "20260115"}});
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 3, 6, "PF", "20260416", oss, {goods});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 4, 9, "FP", "20260416", oss, {goods});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 5, 1, "FV", "20250410", oss, {goods});   // another year
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 6, 1, "FV", "20260417", {{"STM", "1"}}, {goods});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 7, 1, "FV", "20260517", oss, {goods});   // another month
  }
  void TearDown() override {
    if (Z5VOSS.table) d4close(Z5VOSS.table);
    Z5VOSS.table = nullptr;
    JpkTest::TearDown();
  }
  int Build(int month) {
    Keys("{F9}x");
    return buduj_miesiac_vat_oss(month);
  }
  struct Record {
    int tyd;
    double net, vat, rate;
    std::string country, code;
  };
  std::vector<Record> Month(int month) {
    std::vector<Record> out;
    DbTable* t = Z5VOSS.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      if (d4deleted(t) || f4int(d4field(t, "MIE")) != month) continue;
      out.push_back({f4int(d4field(t, "TYD")), f4double(d4field(t, "NET")), f4double(d4field(t, "VAT")),
                     f4double(d4field(t, "VST")), FieldText(t, "KRA"), FieldText(t, "KKR")});
    }
    return out;
  }
};

TEST_F(VatOssTest, MonthTakesOssInvoicesAndCorrectionsOnly) {
  EXPECT_EQ(Build(4), 2);
  EXPECT_NE(seen.find("Zapisano dokumentów sprzedaży - 2."), std::string::npos) << seen;
  std::vector<Record> april = Month(4);
  ASSERT_EQ(april.size(), 3u);
  EXPECT_EQ(april[0].tyd, 1);
  EXPECT_DOUBLE_EQ(april[0].net, 100);
  EXPECT_EQ(april[0].country, "NIEMCY");
  EXPECT_EQ(april[0].code, "DE");
  // The correction changed the rate: the old values negated, then the new.
  EXPECT_EQ(april[1].tyd, 2);
  EXPECT_DOUBLE_EQ(april[1].net, -100);
  EXPECT_DOUBLE_EQ(april[1].vat, -19);
  EXPECT_DOUBLE_EQ(april[1].rate, 19);
  EXPECT_DOUBLE_EQ(april[2].net, 100);
  EXPECT_DOUBLE_EQ(april[2].vat, 7);
  EXPECT_DOUBLE_EQ(april[2].rate, 7);
  DbTable* t = Z5VOSS.table;
  d4go(t, 1);
  EXPECT_EQ(FieldText(t, "AD1"), "POLSKA Kielce");
  EXPECT_EQ(FieldText(t, "AD2"), "NIEMCY 10115 Berlin Hauptstr. 1");
  EXPECT_EQ(FieldText(t, "NWA"), "EUR");
  d4go(t, 2);
  EXPECT_EQ(f4int(d4field(t, "KRO")), 2026);
  EXPECT_EQ(f4int(d4field(t, "KKW")), 1);
}

TEST_F(VatOssTest, RebuildDropsHandTypedDataAndKeepsOtherMonths) {
  ASSERT_EQ(Build(4), 2);
  ASSERT_EQ(Build(5), 1);
  DbTable* t = Z5VOSS.table;
  d4go(t, 1);
  SetFields(t, {{"OFA", "wpisane ręcznie"}});
  ASSERT_EQ(d4write(t, 1), 0);
  ASSERT_EQ(Build(4), 2);
  EXPECT_EQ(Month(4).size(), 3u);
  EXPECT_EQ(Month(5).size(), 1u);
  EXPECT_EQ(d4reccount(t), 4) << "the old month was packed away";
  for (long n = 1; n <= d4reccount(t); n++) {
    d4go(t, n);
    EXPECT_EQ(FieldText(t, "OFA"), "");
  }
}

TEST_F(VatOssTest, CorrectionWithoutDateAndLineWithoutKindAreWrittenAfterWarnings) {
  d4go(Z5SPRZ.table, 2);
  SetFields(Z5SPRZ.table, {{"DAK", ""}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 2), 0);
  d4go(Z5SPRE.table, 1);
  SetFields(Z5SPRE.table, {{"AKC", ""}, {"ZRP", "0"}});
  ASSERT_EQ(d4write(Z5SPRE.table, 1), 0);
  Keys("{F9}x{F9}x{F9}xx");
  EXPECT_EQ(buduj_miesiac_vat_oss(4), 2);
  EXPECT_NE(seen.find("brakuje informacji o rodzaju dostawy (towar/usługa)."), std::string::npos) << seen;
  EXPECT_NE(seen.find("brakuje daty korygowanego dokumentu."), std::string::npos) << seen;
  EXPECT_EQ(Month(4).size(), 3u);
}

TEST_F(VatOssTest, MonthWindowProposesTheNextMonthAndAsksBeforeOverwriting) {
  Keys("{F9}{ENTER}");
  EXPECT_EQ(wybierz_miesiac_vat_oss(), date4month(get_cur_das(1))) << "an empty register proposes this month";
  ASSERT_EQ(Build(4), 2);
  Keys("{ENTER}");
  EXPECT_EQ(wybierz_miesiac_vat_oss(), 5);
  Keys("04{ENTER}{F9}T");
  EXPECT_EQ(wybierz_miesiac_vat_oss(), 4);
  EXPECT_NE(seen.find("Dla wybranego miesiąca dane już są !"), std::string::npos) << seen;
  Keys("04{ENTER}{ESC}{ESC}");
  EXPECT_EQ(wybierz_miesiac_vat_oss(), -1);
}

}  // namespace

namespace {

// " Filtry " of the register: quarter 2 keeps April to June.
TEST_F(VatOssTest, QuarterFilterKeepsItsThreeMonths) {
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 8, 1, "FV", "20260310", {{"STM", "4"}, {"KRA", "NIEMCY"}, {"RE4", "N"},
                                                                  {"OSM", "MARZEC-1"}},
                      {{{"AKC", "1"}, {"WNE", "10"}}});
  d4go(Z5SPRZ.table, 7);
  SetFields(Z5SPRZ.table, {{"RE4", "N"}, {"OSM", "MAJ-1"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 7), 0);
  for (int month : {3, 4, 5}) ASSERT_GT(Build(month), 0);
  Keys("f{ENTER}2{ENTER}{F2}{F9}{ESC}");
  EXPECT_EQ(ewidencja_vat_oss(0), 0);
  EXPECT_NE(seen.find("Ewidencja VAT-OSS"), std::string::npos) << seen;
  EXPECT_NE(seen.find("MAJ-1"), std::string::npos) << seen;
  EXPECT_NE(seen.find("korekta"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("MARZEC-1"), std::string::npos) << seen;
}

// A record in every month: each quarter keeps its first and last month and
// drops the months just outside it.
TEST_F(VatOssTest, QuarterFilterKeepsItsFirstAndLastMonth) {
  auto number = [](int month) { return "OSS/" + std::to_string(month) + "/Q"; };
  for (int month = 1; month <= 12; month++)
    AppendRecord(Z5VOSS.table, {{"MIE", std::to_string(month)}, {"TYD", "1"}, {"KKR", "DE"}, {"KRA", "NIEMCY"},
                                {"NRD", number(month)}});
  for (int quarter = 1; quarter <= 4; quarter++) {
    SCOPED_TRACE(quarter);
    seen.clear();
    Keys(("f{ENTER}" + std::to_string(quarter) + "{ENTER}{F2}{F9}{ESC}").c_str());
    EXPECT_EQ(ewidencja_vat_oss(0), 0);
    for (int month = 1; month <= 12; month++) {
      bool kept = month >= 3 * quarter - 2 && month <= 3 * quarter;
      EXPECT_EQ(seen.find(number(month)) != std::string::npos, kept) << month << "\n" << seen;
    }
  }
}

}  // namespace

namespace {

// A write refused while a record of the month is being stored: the alarm,
// and the month's records written so far are gone again.
int RefuseWrites(int32_t, int32_t) {
  EnvCurrent()->engine.error_code = -1;
  return 0;
}
int AllowWrites(int32_t, int32_t) {
  EnvCurrent()->engine.error_code = 0;
  return 0;
}

TEST_F(VatOssTest, FailedAppendLeavesTheMonthEmpty) {
  ASSERT_EQ(Build(4), 2);
  // The correction loses its date: its warning box is where the writes start failing.
  d4go(Z5SPRZ.table, 2);
  SetFields(Z5SPRZ.table, {{"DAK", ""}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 2), 0);
  g4set_key_to(KEY_F1, RefuseWrites);
  g4set_key_to(KEY_F10, AllowWrites);
  Keys("{F1}x{F10}{F9}x");
  EXPECT_EQ(buduj_miesiac_vat_oss(4), -2);
  g4set_key_to(KEY_F1, nullptr);
  g4set_key_to(KEY_F10, nullptr);
  EXPECT_NE(seen.find("Błąd zapisu do rejestru VAT-OSS!"), std::string::npos) << seen;
  EXPECT_TRUE(Month(4).empty());
}

}  // namespace

namespace {

// "INFORMACJE DODATKOWE": F2 keeps what was typed, Esc drops it; an empty
// register has nothing to complete.
TEST_F(VatOssTest, AdditionalInformationIsWrittenOnlyWithF2) {
  Keys("{F9}x");
  EXPECT_EQ(informacje_dodatkowe_vat_oss(0), 0);
  EXPECT_NE(seen.find("Brak pozycji !"), std::string::npos) << seen;
  ASSERT_EQ(Build(4), 2);
  DbTable* t = Z5VOSS.table;
  d4go(t, 1);
  Keys("Faktura eksportowa{F9}{F2}");
  EXPECT_EQ(informacje_dodatkowe_vat_oss(0), 0);
  EXPECT_NE(seen.find("INFORMACJE DODATKOWE"), std::string::npos) << seen;
  d4go(t, 1);
  EXPECT_EQ(FieldText(t, "OFA"), "Faktura eksportowa");
  Keys("Inny opis{ESC}");
  EXPECT_EQ(informacje_dodatkowe_vat_oss(0), 0);
  d4go(t, 1);
  EXPECT_EQ(FieldText(t, "OFA"), "Faktura eksportowa");
}

}  // namespace
