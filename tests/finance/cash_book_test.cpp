// The cash book on the headless screen: the browse of the whole book and of
// one document's payments, the entry form's proposals and rules, the guards
// of " Usuń " and " Modyfikuj ", and the settlements browse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "finance/payments.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/sales/sales_fixture.h"

namespace {

class CashBookTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1  ");
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, "20261210", 9);
  }
  void CashEntry(Fields fields) { AppendRecord(Z5KASA.table, fields); }
  // The request of FV/1 (record 1) due `due` with `paid` already in cash.
  PlatnoscKasowa Request(double due) {
    PlatnoscKasowa r{};
    r.rodzaj = due >= 0 ? '1' : '2';
    r.typ_zrodla = SOURCE_SALES;
    r.rok = 2026;
    r.rekord = 1;
    r.kwota = due;
    r.kurs = 1;
    std::strcpy(r.data, "20261210");
    std::strcpy(r.numer_dokumentu, "FV/1");
    std::strcpy(r.nazwa1, "Odbiorca Jan Nowak");
    std::strcpy(r.opis_platnosci, "");
    return r;
  }
  int Run(const char* keys, PlatnoscKasowa* request) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = -99;
    try {
      result = PrzegladajKase(request, 0, 0);
    } catch (const std::exception& e) {
      ADD_FAILURE() << e.what() << "\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
    return result;
  }
  std::string Entry(long n, const char* name) {
    d4go(Z5KASA.table, n);
    std::string text = FieldText(Z5KASA.table, name);
    return text.erase(0, text.find_first_not_of(' '));
  }
};

// " Modyfikuj " of the desk's own entry changes its amount and passes the
// change on to the document.
TEST_F(CashBookTest, ChangedEntryReachesTheDocument) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"BRU", "100"}, {"KKS", "1"}, {"ZAP", "N"},
                              {"KZA", "60"}, {"DAW", "20261201"}});
  d4close(Z5SPRZ.table);
  d4close(Z5SPRE.table);
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261205"}, {"TYZ", "1"}, {"ROK", "2026"},
             {"REK", "1"}, {"KWO", "60"}});
  EXPECT_EQ(Run("m{ENTER}{ENTER}100{F9}{F2}{ESC}", nullptr), 0);
  EXPECT_EQ(d4reccount(Z5KASA.table), 1);
  EXPECT_EQ(Entry(1, "KWO"), "100.00");
  EXPECT_EQ(Entry(1, "NUM"), "1");
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 100);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
}

// " Filtry " keeps the entries of one desk code.
TEST_F(CashBookTest, FilterByDeskCode) {
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261205"}, {"KWO", "11.11"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K2"}, {"NUM", "1"}, {"DAT", "20261206"}, {"KWO", "22.22"}});
  EXPECT_EQ(Run("f{ENTER}K2{ENTER}{F2}{F9}{ESC}", nullptr), 0);
  EXPECT_NE(seen.find("22.22"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("11.11"), std::string::npos) << seen;
}

// View-only: the document's entries with " Zakończ " alone.
TEST_F(CashBookTest, ViewOnlyLeavesOnlyTheEnd) {
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261205"}, {"TYZ", "1"}, {"ROK", "2026"},
             {"REK", "1"}, {"KWO", "600"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "2"}, {"DAT", "20261206"}, {"TYZ", "1"}, {"ROK", "2026"},
             {"REK", "2"}, {"KWO", "77"}});
  PlatnoscKasowa r = Request(1000);
  EXPECT_EQ(HeadlessSetScript("{F9}z"), 0);
  EXPECT_EQ(PrzegladajKase(&r, 0, 1), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
  EXPECT_NE(seen.find(" Zakończ "), std::string::npos) << seen;
  EXPECT_EQ(seen.find("Wpłata"), std::string::npos) << seen;
  EXPECT_NE(seen.find("600.00"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("77.00"), std::string::npos) << seen;
}

// A KP for 1000.00 with 600.00 in cash proposes 400.00; F2 writes it with
// the desk code and the next number and the document is paid.
TEST_F(CashBookTest, PaymentProposesWhatRemains) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"BRU", "1000"}, {"KKS", "1"}, {"ZAP", "N"}, {"DAW", "20261201"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261205"}, {"TYZ", "1"}, {"ROK", "2026"},
             {"REK", "1"}, {"KWO", "600"}});
  PlatnoscKasowa r = Request(1000);
  EXPECT_EQ(Run("w{F9}{F2}{F9}{ESC}", &r), 0);
  EXPECT_NE(seen.find("400.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("suma wpłat/wypłat"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5KASA.table), 2);
  EXPECT_EQ(Entry(2, "KWO"), "400.00");
  EXPECT_EQ(Entry(2, "NUM"), "2");
  EXPECT_EQ(Entry(2, "PRE"), "K1");
  EXPECT_EQ(Entry(2, "TYP"), "1");
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 1000);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_NE(std::string(r.opis_platnosci).find("*KP 2 10-12-2026"), std::string::npos) << r.opis_platnosci;
  EXPECT_EQ(Z5KASA.table->file_locked, 0);
  if (std::getenv("SHOW_SEEN")) std::printf("%s\n", seen.c_str());
}

// A correction request of -200.00 opens on " Wypłata " and proposes -200.00
// for a KW; a document paid in full proposes 0.00, which a KP refuses.
TEST_F(CashBookTest, CorrectionAndPaidDocument) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "3"}, {"REC", "1"}, {"KRN", "-200"}, {"KKS", "1"}, {"DAW", "20261201"}});
  PlatnoscKasowa correction = Request(-200);
  EXPECT_EQ(Run("{F9}{ENTER}{F9}{F2}{ESC}", &correction), 0);
  EXPECT_NE(seen.find("-200.00"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5KASA.table), 1);
  EXPECT_EQ(Entry(1, "TYP"), "2");
  EXPECT_EQ(Entry(1, "KWO"), "-200.00");

  seen.clear();
  PlatnoscKasowa paid = Request(-200);
  paid.rodzaj = '1';
  EXPECT_EQ(Run("w{F2}{F9}{ENTER}{ESC}{ESC}", &paid), 0);
  EXPECT_NE(seen.find("Kwota musi być dodatnia."), std::string::npos) << seen;
  EXPECT_EQ(d4reccount(Z5KASA.table), 1);
  EXPECT_EQ(Z5KASA.table->file_locked, 0);
}

// Three statement lines in one run share the first one's number and date;
// a typed number that a KP of the desk holds is refused.
TEST_F(CashBookTest, StatementSeriesAndTypedDuplicate) {
  CashEntry({{"TYP", "3"}, {"TKA", "K"}, {"TYK", "1"}, {"PRE", "K1"}, {"NUM", "4"}, {"DAT", "20261101"},
             {"KWO", "1"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "7"}, {"DAT", "20261101"}, {"KWO", "1"}});
  const char* keys =
      "g{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}100{F2}"
      "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}200{F2}"
      "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}-50{F2}{ESC}"
      "w{ENTER}{F9}{BS}{BS}{BS}{BS}{BS}7{ENTER}{F9}{ENTER}{ESC}{ESC}";
  EXPECT_EQ(Run(keys, nullptr), 0);
  ASSERT_EQ(d4reccount(Z5KASA.table), 5);
  for (long n = 3; n <= 5; n++) {
    EXPECT_EQ(Entry(n, "NUM"), "5") << n;
    EXPECT_EQ(Entry(n, "DAT"), "20261210") << n;
    EXPECT_EQ(Entry(n, "TYK"), "1") << n;
  }
  EXPECT_EQ(Entry(3, "KWO"), "100.00");
  EXPECT_EQ(Entry(5, "KWO"), "-50.00");
  EXPECT_NE(seen.find("Podany numer już istnieje!"), std::string::npos) << seen;
}

// A posted entry is not deleted; another desk's entry is not changed.
TEST_F(CashBookTest, GuardsOfDeleteAndModify) {
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", "1"}, {"DAT", "20261201"}, {"KWO", "10"}, {"KSI", "1"}});
  EXPECT_EQ(Run("u{F9}{ENTER}{ESC}", nullptr), 0);
  EXPECT_NE(seen.find("Nie można usunąć zaksięgowanego zapisu."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Trzeba najpierw usunąć pozycję z księgi."), std::string::npos) << seen;
  d4go(Z5KASA.table, 1);
  EXPECT_FALSE(d4deleted(Z5KASA.table));

  seen.clear();
  std::strcpy(salesOptions.cashDeskCode, "K2  ");
  EXPECT_EQ(Run("m{F9}{ENTER}{ESC}", nullptr), 0);
  EXPECT_NE(seen.find("Niezgodność kodu kasy."), std::string::npos) << seen;
  EXPECT_EQ(Entry(1, "KWO"), "10.00");
}

// Without a request the source field offers the open settlements of the
// source whose sign fits the kind; the chosen one fills the entry, and the
// save recomputes the document and its settlement from the cash.
TEST_F(CashBookTest, SettlementChosenAsTheSource) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"BRU", "1000"}, {"KKS", "1"}, {"ZAP", "N"},
                              {"DAW", "20261201"}, {"OZA", "przelew"}});
  d4close(Z5SPRZ.table);
  d4close(Z5SPRE.table);
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  AppendRecord(Z5ROZL.table, {{"ROL", "R"}, {"TYP", "N"}, {"DOK", "FV/5"}, {"TYZ", "1"}, {"ROK", "2026"},
                              {"REK", "5"}, {"KWO", "10"}, {"ZAP", "10"}});
  AppendRecord(Z5ROZL.table, {{"ROL", "N"}, {"TYP", "Z"}, {"DOK", "FK/6"}, {"TYZ", "1"}, {"ROK", "2026"},
                              {"REK", "6"}, {"KWO", "-50"}, {"ZAP", "0"}});
  AppendRecord(Z5ROZL.table, {{"ROL", "N"}, {"TYP", "N"}, {"DOK", "FV/1"}, {"TYZ", "1"}, {"ROK", "2026"},
                              {"REK", "1"}, {"KWO", "1000"}, {"ZAP", "400"}, {"NA1", "Odbiorca"},
                              {"TYT", "Faktura VAT"}});
  d4close(Z5ROZL.table);
  EXPECT_EQ(Run("w{ENTER}{ENTER}{F4}{HOME}{ENTER}{F9}{ENTER}{F9}{F2}{ESC}{ESC}", nullptr), 0);
  EXPECT_EQ(seen.find("FV/5"), std::string::npos) << seen;
  EXPECT_EQ(seen.find("FK/6"), std::string::npos) << seen;
  ASSERT_EQ(d4reccount(Z5KASA.table), 1);
  EXPECT_EQ(Entry(1, "KWO"), "600.00");
  EXPECT_EQ(Entry(1, "DOK"), "FV/1");
  EXPECT_EQ(Entry(1, "REK"), "1");
  EXPECT_EQ(Entry(1, "TYZ"), "1");
  EXPECT_EQ(Entry(1, "NA1"), "Odbiorca");
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  d4go(Z5ROZL.table, 3);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5ROZL.table, "ZAP")), 600);
  EXPECT_EQ(FieldText(Z5ROZL.table, "ROL"), "N");
  d4close(Z5ROZL.table);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 600);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "OZA"), "przelew*KP 1 10-12-2026");
}

// A typed contractor code fills the name from the catalogue, or is emptied
// with a warning when the catalogue lacks it.
TEST_F(CashBookTest, ContractorCodeLookup) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendRecord(Z5KHNT.table, {{"KOD", "ABC"}, {"NA1", "Firma ABC"}, {"OSO", "Pan Jan"}, {"TYP", "2"}});
  d4close(Z5KHNT.table);
  const char* toCode = "w{ENTER}{ENTER}{ENTER}{ENTER}5{ENTER}{ENTER}";
  EXPECT_EQ(Run((std::string(toCode) + "NIEMA{ENTER}{F9}{ENTER}{ESC}{ESC}").c_str(), nullptr), 0);
  EXPECT_NE(seen.find("UWAGA! Brak kontrahenta w kartotece."), std::string::npos) << seen;
  EXPECT_EQ(d4reccount(Z5KASA.table), 0);
  EXPECT_EQ(Run((std::string(toCode) + "ABC{ENTER}{F2}{ESC}{ESC}").c_str(), nullptr), 0);
  ASSERT_EQ(d4reccount(Z5KASA.table), 1);
  EXPECT_EQ(Entry(1, "KOD"), "ABC");
  EXPECT_EQ(Entry(1, "NA1"), "Firma ABC");
  EXPECT_EQ(Entry(1, "ODB"), "Pan Jan");
  EXPECT_EQ(Entry(1, "KWO"), "5.00");
}

// " Usuń " of the whole book asks, deletes and takes the amount back from
// the document: its paid amount is what the remaining entries hold.
TEST_F(CashBookTest, DeletedEntryLeavesTheDocument) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"REC", "1"}, {"BRU", "100"}, {"KKS", "1"}, {"ZAP", "T"},
                              {"KZA", "100"}, {"DAW", "20261201"}});
  d4close(Z5SPRZ.table);
  d4close(Z5SPRE.table);
  for (const char* amount : {"60", "40"})
    CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"NUM", amount}, {"DAT", "20261205"}, {"TYZ", "1"}, {"ROK", "2026"},
               {"REK", "1"}, {"KWO", amount}});
  EXPECT_EQ(Run("{HOME}ut{ESC}", nullptr), 0);
  d4go(Z5KASA.table, 1);
  EXPECT_TRUE(d4deleted(Z5KASA.table));
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  d4go(Z5SPRZ.table, 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 40);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
}

// A statement line is shown in the print preview before it prints.
TEST_F(CashBookTest, StatementLinePreview) {
  CashEntry({{"TYP", "3"}, {"TKA", "K"}, {"TYK", "2"}, {"PRE", "K1"}, {"NUM", "4"}, {"DAT", "20261201"},
             {"KWO", "-75.5"}, {"WAL", "PLN"}, {"NA1", "Bank Pierwszy"}, {"TYT", "prowizja"}});
  EXPECT_EQ(Run("rd{F9}{ESC}{ESC}{ESC}", nullptr), 0);
  EXPECT_NE(seen.find("Wyciąg nr 4"), std::string::npos) << seen;
  EXPECT_NE(seen.find("01-12-2026 Bank Pierwszy"), std::string::npos) << seen;
  EXPECT_NE(seen.find("╠           prowizja"), std::string::npos) << seen;
}

// The settlements show what remains to be paid; " Modyfikuj " changes the
// title under the table's lock.
TEST_F(CashBookTest, SettlementsShowWhatRemains) {
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  AppendRecord(Z5ROZL.table, {{"ROL", "N"}, {"TYP", "N"}, {"DOK", "FV/7"}, {"DAW", "20261201"}, {"TYZ", "1"},
                              {"ROK", "2026"}, {"REK", "7"}, {"KWO", "1000"}, {"ZAP", "400"}, {"TYT", "stary"}});
  d4close(Z5ROZL.table);
  EXPECT_EQ(HeadlessSetScript("{F9}m{ENTER}nowy{DEL}{F2}{ESC}"), 0);
  EXPECT_EQ(PrzegladajRozliczenia(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0) << seen;
  EXPECT_NE(seen.find("600.00"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Należność"), std::string::npos) << seen;
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  d4go(Z5ROZL.table, 1);
  EXPECT_EQ(FieldText(Z5ROZL.table, "TYT"), "nowy");
  EXPECT_FALSE(FieldText(Z5ROZL.table, "INF").empty());
  d4close(Z5ROZL.table);
}

}  // namespace
