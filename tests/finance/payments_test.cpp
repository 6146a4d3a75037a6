// The settlement entry of a document, the numbering and reference text of
// cash entries, and the transfer of cash sums back into the paid document.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "finance/interest.h"
#include "finance/payments.h"
#include "jpk/bank_accounts.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/get4.h"

namespace {

class PaymentsTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1  ");
  }
  void CashEntry(Fields fields) { AppendRecord(Z5KASA.table, fields); }
  static PlatnoscKasowa Request(double due, double paid) {
    PlatnoscKasowa r{};
    r.rodzaj = due > 0 ? 'N' : 'Z';
    r.typ_zrodla = SOURCE_SALES;
    r.rok = 2026;
    r.rekord = 3;
    r.kwota = due;
    r.kwota_zaplacona = paid;
    std::strcpy(r.data, "20260305");
    std::strcpy(r.termin, "20260319");
    std::strcpy(r.numer_dokumentu, "FV/3/2026");
    std::strcpy(r.nazwa1, "Odbiorca");
    return r;
  }
  // The settlements as "ROL TYP KWO ZAP" per entry.
  std::string Settlements() {
    std::string all;
    EXPECT_EQ(OpenZ5ROZL(0), 0);
    DbTable* t = Z5ROZL.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      if (d4deleted(t)) continue;
      all += FieldText(t, "ROL") + " " + FieldText(t, "TYP") + " " + std::to_string(f4double(d4field(t, "KWO"))) +
             " " + std::to_string(f4double(d4field(t, "ZAP"))) + ";";
    }
    d4close(t);
    return all;
  }
};

TEST_F(PaymentsTest, SettlementEntryOfADocument) {
  PlatnoscKasowa paid = Request(1230, 1230);
  EXPECT_EQ(ZapiszRozliczenie(0, &paid), 1);
  EXPECT_EQ(Settlements(), "");
  PlatnoscKasowa credit = Request(1230, 200);
  EXPECT_EQ(ZapiszRozliczenie(0, &credit), 0);
  EXPECT_EQ(Settlements(), "N N 1230.000000 200.000000;");
  // The same document paid: the entry it has follows, unforced or forced.
  EXPECT_EQ(ZapiszRozliczenie(0, &paid), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;");
  EXPECT_EQ(ZapiszRozliczenie(1, &paid), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;");
  PlatnoscKasowa correction = Request(-50, 0);
  correction.rekord = 4;
  EXPECT_EQ(ZapiszRozliczenie(0, &correction), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;N Z -50.000000 0.000000;");
  UsunRozliczenie(SOURCE_SALES, 2026, 3);
  EXPECT_EQ(Settlements(), "N Z -50.000000 0.000000;");
}

TEST_F(PaymentsTest, CashNumbersRunPerDeskKindBankAndYear) {
  EXPECT_EQ(OstatniNrKasy('1', 0, 2026), 0);
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20260105"}, {"NUM", "1"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20260210"}, {"NUM", "2"}});
  CashEntry({{"TYP", "2"}, {"PRE", "K1"}, {"DAT", "20260210"}, {"NUM", "1"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K2"}, {"DAT", "20260210"}, {"NUM", "7"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20251230"}, {"NUM", "9"}});
  CashEntry({{"TYP", "3"}, {"PRE", "K1"}, {"TYK", "2"}, {"DAT", "20260210"}, {"NUM", "4"}});
  struct Case {
    char kind;
    int bank, year;
    long last;
  } cases[] = {{'1', 0, 2026, 2}, {'2', 0, 2026, 1}, {'1', 0, 2025, 9}, {'3', 2, 2026, 4}, {'3', 1, 2026, 0}};
  // An entry being edited keeps its place and its typed values.
  ASSERT_EQ(d4go(Z5KASA.table, 3), 0);
  SetFields(Z5KASA.table, {{"TYT", "w trakcie"}});
  for (const Case& c : cases) EXPECT_EQ(OstatniNrKasy(c.kind, c.bank, c.year), c.last) << c.kind << c.bank << c.year;
  EXPECT_EQ(d4recno(Z5KASA.table), 3);
  EXPECT_EQ(FieldText(Z5KASA.table, "TYT"), "w trakcie");
  EXPECT_EQ(std::string(ZrodloKasyQStr()), "*KW 1 10-02-2026");
}

TEST_F(PaymentsTest, CashPaymentsMoveIntoTheDocument) {
  Header({{"TYV", "1"}, {"REC", "1"}, {"BRU", "1000"}, {"KKS", "4.3"}, {"ZAP", "N"}, {"OZA", "*KP 1"}});
  PlatnoscKasowa due = Request(4300, 0);
  due.rekord = 1;
  ASSERT_EQ(ZapiszRozliczenie(0, &due), 0);
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260305"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, " *KP 2", TRANSFER_APPEND_NOTE), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 500);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "OZA"), "*KP 1 *KP 2");
  EXPECT_EQ(Settlements(), "N N 4300.000000 2150.000000;");

  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260306"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, "*KP 3", 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 1000);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "OZA"), "*KP 3");
  EXPECT_EQ(Settlements(), "R N 4300.000000 4300.000000;");

  // A deleted payment is taken back.
  ASSERT_EQ(d4go(Z5KASA.table, 2), 0);
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(-2150, nullptr, 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 500);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
}

TEST_F(PaymentsTest, CashMethodVatDateOfAPaidDocument) {
  salesOptions.cashVat = 'T';
  Header({{"TYV", "1"}, {"REC", "1"}, {"ZAP", "T"}, {"DAW", "20260301"}, {"DAV", "20260320"}});
  Line({{"REK", "1"}, {"DAV", "20260320"}});
  Line({{"REK", "2"}, {"DAV", "20260320"}});
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  KorygujDateVatPlatnosci("20260228", 0);   // before the issue date
  KorygujDateVatPlatnosci("20260325", 0);   // not before the VAT date
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260320");
  EXPECT_EQ(Boxes(), "");
  KorygujDateVatPlatnosci("20260310", 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260310");
  EXPECT_EQ(Boxes(), "Skorygowano datę rozliczenia VAT !");
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20260310");
  ASSERT_EQ(d4go(Z5SPRE.table, 2), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20260320");
  // Not paid: nothing changes.
  SetFields(Z5SPRZ.table, {{"ZAP", "N"}});
  KorygujDateVatPlatnosci("20260305", 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260310");
}

TEST_F(PaymentsTest, FinalInvoicesAreGuardedFrom2024) {
  struct Case {
    int year, kind, akt, result;
    const char* box;
  } cases[] = {
      {2023, 1, 1, 1, ""},
      {2026, 1, 1, 0, "To jest faktura końcowa.\nModyfikacje nie są wskazane.\n "},
      {2026, 7, 3, 0, "To jest faktura końcowa.\nModyfikacje nie są wskazane.\n "},
      {2026, 11, 1, 0, "Faktura ma fakturę końcową.\nModyfikacje nie są wskazane.\n "},
      {2026, 3, 1, 1, ""},
      {2026, 1, 2, 1, ""},
  };
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    EXPECT_EQ(SprawdzFaktureKoncowa(c.kind, c.akt), c.result) << c.year << " " << c.kind << " " << c.akt;
    EXPECT_EQ(Boxes(), c.box) << c.year << " " << c.kind << " " << c.akt;
  }
}

TEST_F(PaymentsTest, CashEntriesOfADocumentStayWithoutYes) {
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "10"}});
  UsunZapisyKasy(SOURCE_SALES, 2026, 1);
  EXPECT_EQ(Boxes(), "Czy usunąć zapisy z kasy?");
  ASSERT_EQ(d4go(Z5KASA.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5KASA.table));
  UsunZapisyKasy(SOURCE_SALES, 2026, 2);   // no entries: no question
  EXPECT_EQ(Boxes(), "");
}

TEST_F(PaymentsTest, InterestDatesAfter1992) {
  struct Case {
    const char* date;
    int result;
    const char* box;
  } cases[] = {{"19930101", 0, ""}, {"19921231", -1, "Rok musi być większy od 1992 !"},
               {"        ", -1, nullptr}};
  for (const Case& c : cases) {
    std::string buffer = c.date;
    Get4 get{};
    get.type = GET_DATE;
    get.data = buffer.data();
    EXPECT_EQ(SprawdzDateOdsetek(&get), c.result) << c.date;
    std::string boxes = Boxes();
    if (c.box) {
      EXPECT_EQ(boxes, c.box) << c.date;
    }
  }
}

TEST_F(PaymentsTest, FirmBankAccounts) {
  ASSERT_EQ(OpenZ5PAWL(), 0);
  SetFields(Z5PAWL.table, {{"BAN1", "Bank Pierwszy"}, {"NRR3", "12 3456"}});
  Header({{"NA1", "zapasowy"}});
  DbField* fallback = d4field(Z5SPRZ.table, "NA1");
  EXPECT_EQ(std::string(bank_firmy(1, fallback)), std::string("Bank Pierwszy") + std::string(17, ' '));
  EXPECT_EQ(std::string(konto_bankowe_firmy(3, nullptr)), std::string("12 3456") + std::string(35, ' '));
  EXPECT_EQ(std::string(konto_bankowe_firmy(6, fallback)).substr(0, 9), "zapasowy ");
  EXPECT_EQ(std::string(bank_firmy(0, nullptr)), "");
}

}  // namespace
