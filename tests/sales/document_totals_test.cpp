// The working sums of a document, the spread of a paid advance over its
// lines, the payment state and the shared record routines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sales/document_totals.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class DocumentTotalsTest : public SalesTest {
 protected:
  // The header REC 1 of the kind, current after its lines are added.
  void Document(Fields header, const std::vector<Fields>& lines) {
    Header(header);
    SetFields(Z5SPRZ.table, {{"REC", "1"}});
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    for (const Fields& line : lines) {
      Line(line);
      SetFields(Z5SPRE.table, {{"REK", "1"}});
      ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    }
    ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  }
  double Sum(int i) { return sumyDokumentu.document[i]; }
};

TEST_F(DocumentTotalsTest, LinesAddUpIntoTheDocumentAndIncomeColumns) {
  salesOptions.taxation = 1;
  Document({{"TYV", "1"}},
           {{{"TYP", "0"}, {"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RE5", "3"}},
            {{"TYP", "2"}, {"VAT", "4"}, {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}},
            {{"TYP", "4"}, {"VAT", "1"}, {"WNE", "1000"}, {"WAV", "230"}, {"WAB", "1230"}, {"RE5", "5"}},
            {{"TYP", "1"}, {"VAT", "6"}, {"WNE", "10"}, {"WAV", "0"}, {"WAB", "10"}}});
  ASSERT_EQ(sumuj_pozycje_dokumentu(0, 1), 0);
  // The line of column 4 is not summed; its GTU code is still marked.
  EXPECT_DOUBLE_EQ(Sum(SUM_NET), 160);
  EXPECT_DOUBLE_EQ(Sum(SUM_VAT), 23);
  EXPECT_DOUBLE_EQ(Sum(SUM_GROSS), 183);
  EXPECT_DOUBLE_EQ(sumyDokumentu.incomeBook[0], 110);   // the code 6 gross goes to column 0
  EXPECT_DOUBLE_EQ(sumyDokumentu.incomeBook[1], 0);
  EXPECT_DOUBLE_EQ(sumyDokumentu.incomeBook[2], 50);
  EXPECT_EQ(context.exemptRows, 1);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "NKK"), "  T T");
}

TEST_F(DocumentTotalsTest, MarginCorrectionsAndLumpSumRows) {
  salesOptions.taxation = 2;
  Document({{"TYV", "8"}, {"STA", "2"}},
           {{{"TYP", "0"}, {"RYT", "9"}, {"WNE", "81.30"}, {"WAV", "18.70"}, {"WAB", "100"}, {"ZFM", "60"}}});
  ASSERT_EQ(sumuj_pozycje_dokumentu(0, 1), 0);
  // Gross less VAT less the purchase value, in row 9 (counted from 2022).
  EXPECT_DOUBLE_EQ(sumyDokumentu.lumpSum[9], 21.30);
  SetFields(Z5SPRZ.table, {{"TYV", "3"}, {"TYM", "1"}, {"STA", " "}});
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  SetFields(Z5SPRE.table, {{"KRN", "-40"}, {"KRV", "-9.20"}});
  ASSERT_EQ(d4write(Z5SPRE.table, 1), 0);
  ASSERT_EQ(sumuj_pozycje_dokumentu(0, 1), 0);
  EXPECT_DOUBLE_EQ(Sum(SUM_CORRECTION_NET), -40);
  EXPECT_DOUBLE_EQ(Sum(SUM_CORRECTION_VAT), -9.20);
  EXPECT_DOUBLE_EQ(Sum(SUM_NET), 0);
  EXPECT_DOUBLE_EQ(sumyDokumentu.lumpSum[9], -40);
}

TEST_F(DocumentTotalsTest, HeaderTotalsAgainstTheLines) {
  struct Case {
    Fields header;
    int result;
  } cases[] = {
      {{{"TYV", "1"}, {"NET", "160"}, {"VAT", "36.80"}, {"BRU", "196.80"}}, 0},
      {{{"TYV", "1"}, {"NET", "160.01"}, {"VAT", "36.80"}, {"BRU", "196.80"}}, -1},
      {{{"TYV", "1"}, {"NET", "160"}, {"VAT", "36.80"}, {"BRU", "196.79"}}, -1},
      // a final invoice carries the settled totals
      {{{"TYV", "1"}, {"AKT", "1"}, {"NET", "1"}}, 0},
      {{{"TYV", "3"}, {"KRN", "-20"}, {"KRV", "-4.60"}}, 0},
      {{{"TYV", "3"}, {"KRN", "-20"}, {"KRV", "-4.61"}}, -1},
  };
  Document({{"TYV", "1"}}, {{{"TYP", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KRN", "-20"},
                             {"KRV", "-4.60"}},
                            {{"TYP", "1"}, {"WNE", "60"}, {"WAV", "13.80"}, {"WAB", "73.80"}}});
  for (const Case& c : cases) {
    SetFields(Z5SPRZ.table, {{"AKT", "0"}, {"NET", "0"}, {"VAT", "0"}, {"BRU", "0"}, {"KRN", "0"}, {"KRV", "0"}});
    SetFields(Z5SPRZ.table, c.header);
    int kind = f4int(d4field(Z5SPRZ.table, "TYV"));
    ASSERT_EQ(sumuj_pozycje_dokumentu(0, 1), 0);
    EXPECT_EQ(sprawdz_sumy_dokumentu(kind, 0), c.result) << FieldText(Z5SPRZ.table, "NET");
    EXPECT_EQ(sprawdz_sumy_dokumentu(kind, 1), 0);
  }
}

TEST_F(DocumentTotalsTest, AdvanceSpreadOverTheLines) {
  struct Case {
    const char* paid;
    std::vector<const char*> prices;   // gross prices of lines of quantity 1
    std::vector<double> net, vat;
    const char* box;
    const char* zap;
  } cases[] = {
      {"1000", {"600", "400"}, {487.80, 325.20}, {112.20, 74.80}, "", "T"},
      {"1500", {"600", "400"}, {487.80, 325.20}, {112.20, 74.80}, "Kwota zapłacona jest większa od wartości brutto!",
       "T"},
      {"100", {"50", "50", "50"}, {27.10, 27.10, 27.11}, {6.23, 6.23, 6.23}, "", "N"},
  };
  long rec = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.paid);
    std::string header = std::to_string(++rec);
    Header({{"TYV", "11"}, {"TRY", "2"}, {"KZA", c.paid}, {"ZAP", "N"}, {"REC", header}});
    long first = d4reccount(Z5SPRE.table) + 1;
    for (const char* price : c.prices) Line({{"REK", header}, {"ILO", "1"}, {"CBR", price}, {"VAS", "23"}});
    ASSERT_EQ(d4go(Z5SPRZ.table, rec), 0);
    ASSERT_EQ(rozloz_zaliczke(f4double(d4field(Z5SPRZ.table, "KZA"))), 0);
    EXPECT_EQ(Boxes(), c.box);
    EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), c.zap);
    for (size_t i = 0; i < c.prices.size(); i++) {
      ASSERT_EQ(d4go(Z5SPRE.table, first + static_cast<long>(i)), 0);
      EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WNE")), c.net[i]) << i;
      EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WAV")), c.vat[i]) << i;
    }
  }
}

TEST_F(DocumentTotalsTest, PaymentFormSetsThePaymentState) {
  struct Case {
    const char* form;
    int code;
    const char* zap;
    const char* kza;
    const char* dpl;
  } cases[] = {
      {"ZAPŁACONO GOTÓWKĄ", 6, "T", "1230.00", "20261205"},
      {"zapłacono gotówką", 6, "T", "1230.00", "20261205"},
      {"PRZELEW", 2, "N", "0.00", "20261219"},
      {"BARTER", 9, "N", "0.00", "20261219"},
  };
  Header({{"TYV", "1"}, {"BRU", "1230"}, {"DAW", "20261205"}});
  for (const Case& c : cases) {
    SetFields(Z5SPRZ.table, {{"PLA", c.form}, {"DPL", "20261219"}, {"KZA", "5"}});
    EXPECT_EQ(kod_formy_platnosci(d4field(Z5SPRZ.table, "PLA")), c.code) << c.form;
    ustaw_stan_zaplaty();
    EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), c.zap) << c.form;
    EXPECT_EQ(FieldText(Z5SPRZ.table, "KZA"), std::string(11 - std::string(c.kza).size(), ' ') + c.kza) << c.form;
    EXPECT_EQ(FieldText(Z5SPRZ.table, "DPL"), c.dpl) << c.form;
  }
  // Following the typed amount instead.
  context.paidAmountMode = 1;
  SetFields(Z5SPRZ.table, {{"PLA", "PRZELEW"}, {"KZA", "1230"}});
  ustaw_stan_zaplaty();
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
}

TEST_F(DocumentTotalsTest, SmallTaxpayerVatDateByPayment) {
  salesOptions.cashVat = 'T';
  Header({{"TYV", "7"}, {"STM", "1"}, {"RE3", "N"}, {"DAW", "20260301"}, {"DAS", "20260301"}, {"ZAP", "N"}});
  ustal_date_vat_mp();
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260827");
  SetFields(Z5SPRZ.table, {{"KZA", "10"}});
  ustal_date_vat_mp_po_zaplacie();
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260301");
  SetFields(Z5SPRZ.table, {{"KZA", "0"}, {"RE3", "T"}});
  ustal_date_vat_mp_po_zaplacie();
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "");
}

TEST_F(DocumentTotalsTest, DocumentTests) {
  struct Case {
    const char* tyv;
    const char* tym;
    const char* akt;
    const char* stv;
    const char* pka;
    const char* re5;
    int margin, pit, pitMarked, pitAllowed;
  } cases[] = {
      {"1", "0", "0", "T", "N", "0", 0, 1, 0, 1},
      {"1", "0", "1", "T", "T", "0", 0, 1, 1, 0},
      {"8", "0", "0", "T", "T", "0", 1, 1, 1, 1},
      {"5", "0", "0", "T", "T", "2", 1, 0, 0, 0},
      {"3", "11", "0", "T", "T", "0", 0, 1, 1, 0},
      {"3", "7", "0", "N", "T", "0", 0, 0, 0, 0},
      {"2", "0", "0", "T", "T", "0", 0, 0, 0, 0},
  };
  Header({});
  for (const Case& c : cases) {
    SetFields(Z5SPRZ.table,
              {{"TYV", c.tyv}, {"TYM", c.tym}, {"AKT", c.akt}, {"STV", c.stv}, {"PKA", c.pka}, {"RE5", c.re5}});
    EXPECT_EQ(czy_dokument_marzy(), c.margin) << c.tyv << "/" << c.tym;
    EXPECT_EQ(czy_dokument_pit_kasowego(0), c.pit) << c.tyv << "/" << c.tym;
    EXPECT_EQ(czy_dokument_pit_kasowego(1), c.pitMarked) << c.tyv << "/" << c.tym;
    EXPECT_EQ(czy_pit_kasowy_dozwolony(), c.pitAllowed) << c.tyv << "/" << c.tym;
  }
}

TEST_F(DocumentTotalsTest, MissingAccountLeavesTheStoredOneAlone) {
  ASSERT_EQ(OpenZ5KONT(0), 0);
  AppendRecord(Z5KONT.table, {{"NAZ", "sprzedaż towarów"}, {"NUM", "701"}, {"REC", "3"}});
  AppendRecord(Z5KONT.table, {{"NAZ", "usługi"}, {"NUM", "702"}, {"REC", "9"}});
  Line({{"KON", "3"}});
  EXPECT_EQ(szukaj_konta_pozycji(), 45);
  EXPECT_EQ(FieldText(Z5KONT.table, "NUM"), "701");
  SetFields(Z5SPRE.table, {{"KON", "5"}});
  EXPECT_EQ(szukaj_konta_pozycji(), 45);
  EXPECT_EQ(FieldText(Z5KONT.table, "NUM"), "");
  // Moving on must not write the blank over the account the seek stood on.
  ASSERT_EQ(d4go(Z5KONT.table, 1), 0);
  ASSERT_EQ(d4go(Z5KONT.table, 2), 0);
  EXPECT_EQ(FieldText(Z5KONT.table, "NUM"), "702");
  EXPECT_EQ(FieldText(Z5KONT.table, "NAZ"), "usługi");
}

}  // namespace
