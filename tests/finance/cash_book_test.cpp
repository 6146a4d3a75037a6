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

}  // namespace
