// The VAT register's rows in Z5ESPPyy and the register totals over one seeded
// firm, and their agreement.
#include <cstdio>
#include <string>

#include "db/db_index.h"
#include "db/dbf_table.h"
#include "printouts/register_totals.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tables/layouts.h"
#include "tables/vat_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

int AcceptAll() { return 45; }
int RejectAll() { return 40; }

class VatRegisterPrintTest : public SalesTest {
 protected:
  // One header and its lines; kind, number and date go into every line.
  void Document(int rec, int kind, const char* date, Fields header, std::initializer_list<Fields> lines) {
    std::string r = std::to_string(rec), k = std::to_string(kind);
    Header({{"REC", r}, {"TYV", k}, {"PRE", "FV"}, {"NRV", r}, {"DAW", date}, {"DAV", date}, {"DAS", date},
            {"NA1", "Kontrahent " + r}, {"LPO", r}});
    SetFields(Z5SPRZ.table, header);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    for (const Fields& line : lines) {
      Line({{"REK", r}, {"TYV", k}, {"PRE", "FV"}, {"NRV", r}, {"DAW", date}, {"DAV", date}, {"STM", "1"},
            {"CSS", "T"}});
      SetFields(Z5SPRE.table, line);
      ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    }
  }

  // FV at 23 %, MP at 8 % (rate code 2), an FK moving a line from code 1 to
  // 2, BR, RU, an advance with its final invoice, an invoice to a receipt, a
  // pro forma, and an OSS line that must add nothing.
  void SeedFirm() {
    Document(1, 1, "20260105", {}, {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RYT", "3"}},
                                   {{"STM", "4"}, {"VAT", "1"}, {"WNE", "50"}, {"WAV", "11.5"}, {"WAB", "61.5"}}});
    Document(2, 7, "20260106", {}, {{{"VAT", "2"}, {"WNE", "200"}, {"WAV", "16"}, {"WAB", "216"}}});
    Document(3, 3, "20260107", {}, {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"},
                                     {"KWNE", "100"}, {"KWAV", "8"}, {"KWAB", "108"}, {"KRN", "0"}, {"KRV", "-15"}}});
    Document(4, 5, "20260108", {}, {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}}});
    Document(5, 2, "20260109", {}, {{{"VAT", "4"}, {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}}});
    Document(6, 11, "20260110", {}, {{{"VAT", "1"}, {"WNE", "40"}, {"WAV", "9.2"}, {"WAB", "49.2"}}});
    // the final invoice keeps the gross still due after the advance in WAB
    Document(7, 1, "20260111", {{"AKT", "1"}}, {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "73.8"}}});
    Document(8, 10, "20260112", {}, {{{"VAT", "1"}, {"WNE", "20"}, {"WAV", "4.6"}, {"WAB", "24.6"}}});
    Document(9, 6, "20260113", {}, {{{"VAT", "1"}, {"WNE", "999"}, {"WAV", "229.77"}, {"WAB", "1228.77"}}});
  }

  double Amount(const char* name) { return f4double(d4field(Z5ESPP.table, name)); }

  // The rows in tag order: number, document, gross, the columns in use and
  // the markers.
  std::string Page() {
    std::string page;
    DbTable* table = Z5ESPP.table;
    for (d4top(table); !d4eof(table); d4skip(table, 1)) {
      char line[200];
      std::snprintf(line, sizeof line, "%-5.5s|%-12.12s|%8.2f|%8.2f|%7.2f|%8.2f|%7.2f|%6.2f|%6.2f|%5.2f|%6.2f|%s\n",
                    FieldText(table, "LPO").c_str(), FieldText(table, "NUM").c_str(), Amount("BRU"), Amount("NPO"),
                    Amount("VPO"), Amount("NP1"), Amount("VP1"), Amount("WOL"), Amount("PAN"), Amount("PAV"),
                    Amount("RUS"), FieldText(table, "OZN").c_str());
      page += line;
    }
    return page;
  }

  // The rows in tag order, the fields given joined by '|': texts trimmed,
  // amounts with 2 decimals.
  std::string Rows(std::initializer_list<const char*> fields) {
    std::string page;
    DbTable* table = Z5ESPP.table;
    for (d4top(table); !d4eof(table); d4skip(table, 1)) {
      std::string line;
      for (const char* name : fields) {
        if (!line.empty()) line += '|';
        char amount[32];
        std::snprintf(amount, sizeof amount, "%.2f", Amount(name));
        line += f4type(d4field(table, name)) == 'N' ? std::string(amount) : FieldText(table, name);
      }
      page += line + "\n";
    }
    return page;
  }

  wiersz_rejestru_vat row{};
};

TEST_F(VatRegisterPrintTest, RowsThenTotalsRowAgreeWithTheTotalsBlock) {
  SeedFirm();
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  EXPECT_EQ(Page(),
            "    1|FV  /    1  |  123.00|  100.00|  23.00|    0.00|   0.00|  0.00|  0.00| 0.00|100.00|\n"
            "    2|FV  /    2  |  216.00|    0.00|   0.00|  200.00|  16.00|  0.00|  0.00| 0.00|  0.00|\n"
            "    3|FV  /    3  |  -15.00| -100.00| -23.00|  100.00|   8.00|  0.00|  0.00| 0.00|  0.00|\n"
            "    4|FV  /    4  |   12.30|   10.00|   2.30|    0.00|   0.00|  0.00|  0.00| 0.00|  0.00|\n"
            "    5|FV  /    5  |   50.00|    0.00|   0.00|    0.00|   0.00| 50.00|  0.00| 0.00|  0.00|\n"
            "    6|FV  /    6  |   49.20|   40.00|   9.20|    0.00|   0.00|  0.00|  0.00| 0.00|  0.00|\n"
            "    7|FV  /    7  |  123.00|  100.00|  23.00|    0.00|   0.00|  0.00|  0.00| 0.00|  0.00|\n"
            "    8|FV  /    8  |   24.60|    0.00|   0.00|    0.00|   0.00|  0.00| 20.00| 4.60|  0.00|FP\n"
            "*****|************|  583.10|  150.00|  34.50|  300.00|  24.00| 50.00| 20.00| 4.60|100.00|\n");

  sumy_rejestru_vat sums{};
  OpcjeSumRejestru options{0, 0, 0};
  ASSERT_EQ(licz_sumy_rejestru(&sums, &source, &options), 0);
  // the totals row is the last in tag order
  d4bottom(Z5ESPP.table);
  double net = Amount("NPO") + Amount("NP1") + Amount("WOL") + Amount("PAN");
  double vat = Amount("VPO") + Amount("VP1") + Amount("PAV");
  EXPECT_DOUBLE_EQ(sums.netto, net);
  EXPECT_DOUBLE_EQ(sums.vat, vat);
  EXPECT_DOUBLE_EQ(sums.brutto, Amount("BRU"));
  // the code-changing correction: new amounts under 8 %, minus the old under 23 %
  EXPECT_DOUBLE_EQ(sums.stawki[1][KLASA_KOREKTY][0], 100);
  EXPECT_DOUBLE_EQ(sums.stawki[1][KLASA_KOREKTY][1], 8);
  EXPECT_DOUBLE_EQ(sums.stawki[0][KLASA_KOREKTY][0], -100);
  EXPECT_DOUBLE_EQ(sums.stawki[0][KLASA_KOREKTY][1], -23);
  EXPECT_DOUBLE_EQ(sums.stawki[0][KLASA_BEZ_RACHUNKOW][2], 12.3);
  EXPECT_DOUBLE_EQ(sums.zwolniona[KLASA_DOKUMENTY], 50);
  EXPECT_DOUBLE_EQ(sums.ryczalt[3], 100);
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

// The amounts of form 77 over the seeded firm: the non-blank lines by number.
TEST_F(VatRegisterPrintTest, TotalsForm77Page) {
  SeedFirm();
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  sumy_rejestru_vat sums{};
  OpcjeSumRejestru options{0, 0, 0};
  ASSERT_EQ(licz_sumy_rejestru(&sums, &source, &options), 0);
  int form = formularz_sum_rejestru(2025);
  ASSERT_EQ(form, 77);
  int lines = wiersze_formularza_sum(form), width = kolumny_formularza_sum(form);
  std::string page(lines * width, ' ');
  wypelnij_strone_sum(&sums, page.data(), form);
  std::string shown;
  for (int line = 0; line < lines; line++) {
    std::string text = page.substr(line * width, width);
    text.erase(text.find_last_not_of(' ') + 1);
    if (!text.empty()) shown += (line < 10 ? " " : "") + std::to_string(line) + ":" + text + "\n";
  }
  EXPECT_EQ(shown,
            " 3:                                             260.00          59.80         319.80\n"
            " 4:                                              10.00           2.30          12.30\n"
            " 5:                                            -100.00         -23.00        -123.00\n"
            " 7:                                             170.00          39.10         209.10\n"
            " 9:                                             200.00          16.00         216.00\n"
            "10:                                               0.00           0.00           0.00\n"
            "11:                                             100.00           8.00         108.00\n"
            "13:                                             300.00          24.00         324.00\n"
            "15:                                               0.00           0.00           0.00\n"
            "16:                                               0.00           0.00           0.00\n"
            "17:                                               0.00           0.00           0.00\n"
            "19:                                               0.00           0.00           0.00\n"
            "21:                                               0.00                          0.00\n"
            "22:                                               0.00                          0.00\n"
            "23:                                               0.00                          0.00\n"
            "25:                                               0.00                          0.00\n"
            "27:                                              50.00                         50.00\n"
            "28:                                               0.00                          0.00\n"
            "29:                                               0.00                          0.00\n"
            "31:                                              50.00                         50.00\n"
            "33:                                               0.00                          0.00\n"
            "34:                                               0.00                          0.00\n"
            "36:                                               0.00                          0.00\n"
            "38:                                                                             0.00\n"
            "40:                                             520.00          63.10         583.10\n"
            "43:                                                    0.00\n"
            "44:                       470.00                       0.00                     0.00\n"
            "45:                        50.00                     100.00                   -15.00\n"
            "46:                       520.00                       0.00\n"
            "47:                                                    0.00\n"
            "48:                                                    0.00\n"
            "49:                       90.38                        0.00\n"
            "50:                                                    0.00\n"
            "51:                         0.00                       0.00                     0.00\n");
}

TEST_F(VatRegisterPrintTest, ProFormaCountsInTheTotalsOnlyWithItsFilterItem) {
  SeedFirm();
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  sumy_rejestru_vat off{}, on{};
  OpcjeSumRejestru without{0, 0, 0}, with{1, 0, 0};
  ASSERT_EQ(licz_sumy_rejestru(&off, &source, &without), 0);
  ASSERT_EQ(licz_sumy_rejestru(&on, &source, &with), 0);
  EXPECT_DOUBLE_EQ(on.netto - off.netto, 999);
  EXPECT_DOUBLE_EQ(on.brutto - off.brutto, 1228.77);
}

TEST_F(VatRegisterPrintTest, AFilterTakingNothingWritesNoRowsAndNoTotalsRow) {
  SeedFirm();
  ZrodloRejestruVat source{RejectAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  EXPECT_EQ(d4reccount(Z5ESPP.table), 0);
  sumy_rejestru_vat sums{};
  OpcjeSumRejestru options{0, 0, 0};
  ASSERT_EQ(licz_sumy_rejestru(&sums, &source, &options), 0);
  EXPECT_DOUBLE_EQ(sums.brutto, 0);
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

// The auxiliary register's own printout agrees with its totals as well: an
// invoice to a receipt, an advance and a correction to a receipt changing
// the code (not split in the row, split in the totals).
TEST_F(VatRegisterPrintTest, AuxiliaryRegisterTotalsRowAgreesWithItsTotalsBlock) {
  ASSERT_EQ(d4close(Z5SPRZ.table), 0);
  ASSERT_EQ(d4close(Z5SPRE.table), 0);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX), 0);
  Document(1, 9, "20260105", {}, {{{"VAT", "1"}, {"WNE", "30"}, {"WAV", "6.9"}, {"WAB", "36.9"}}});
  Document(2, 11, "20260106", {}, {{{"VAT", "2"}, {"WNE", "50"}, {"WAV", "4"}, {"WAB", "54"}}});
  Document(3, 3, "20260107", {{"TYM", "9"}},
           {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "30"}, {"WAV", "6.9"}, {"WAB", "36.9"}, {"KWNE", "30"},
             {"KWAV", "2.4"}, {"KWAB", "32.4"}, {"KRN", "0"}, {"KRV", "-4.5"}}});
  ZrodloRejestruVat source{AcceptAll, 1, 2, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  EXPECT_EQ(d4reccount(Z5ESPP.table), 4);
  sumy_rejestru_vat sums{};
  OpcjeSumRejestru options{0, 0, 0};
  ASSERT_EQ(licz_sumy_rejestru(&sums, &source, &options), 0);
  d4bottom(Z5ESPP.table);
  EXPECT_DOUBLE_EQ(Amount("BRU"), 36.9 + 54 - 4.5);
  EXPECT_DOUBLE_EQ(sums.netto, Amount("NPO") + Amount("NP1") + Amount("PAN"));
  EXPECT_DOUBLE_EQ(sums.vat, Amount("VPO") + Amount("VP1") + Amount("PAV"));
  EXPECT_DOUBLE_EQ(sums.brutto, Amount("BRU"));
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

// A correction of an invoice to a receipt (TYM 9) changing the rate code is
// not split: its differences go whole to the receipts pair, marked "FP";
// the same correction with TYM 1 is split by the two codes.
TEST_F(VatRegisterPrintTest, ACodeChangingCorrectionToAReceiptIsNotSplit) {
  const char* tyms[] = {"9", "1"};
  for (int n = 0; n < 2; n++)
    Document(n + 1, 3, "20260107", {{"TYM", tyms[n]}},
             {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KWNE", "100"},
               {"KWAV", "8"}, {"KWAB", "108"}, {"KRN", "0"}, {"KRV", "-15"}}});
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  EXPECT_EQ(Rows({"NUM", "BRU", "NPO", "VPO", "NP1", "VP1", "PAN", "PAV", "OZN"}),
            "FV  /    1|-15.00|0.00|0.00|0.00|0.00|0.00|-15.00|FP\n"
            "FV  /    2|-15.00|-100.00|-23.00|100.00|8.00|0.00|0.00|\n"
            "****************************************|-30.00|-100.00|-23.00|100.00|8.00|0.00|-15.00|\n");
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

TEST_F(VatRegisterPrintTest, ConversionByTheLineRateExceptForSalesWithoutInvoice) {
  Document(1, 1, "20260105", {}, {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"KVA", "4.5"}}});
  Document(2, 5, "20260106", {}, {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"KVA", "4.5"}}});
  struct Case {
    int convert;
    double printedNet, summedNet;
  } cases[] = {{1, 45 + 45, 45 + 10}, {0, 20, 20}};
  for (const Case& c : cases) {
    ZrodloRejestruVat source{AcceptAll, c.convert, 1, nullptr, nullptr, nullptr};
    ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
    d4bottom(Z5ESPP.table);
    EXPECT_DOUBLE_EQ(Amount("NPO"), c.printedNet) << c.convert;
    ASSERT_EQ(d4close(Z5ESPP.table), 0);
    sumy_rejestru_vat sums{};
    OpcjeSumRejestru options{0, 0, 0};
    ASSERT_EQ(licz_sumy_rejestru(&sums, &source, &options), 0);
    EXPECT_DOUBLE_EQ(sums.netto, c.summedNet) << c.convert;
  }
}

// Reverse-charge purchases join the main register while a VAT-date item is
// on: the acquisition pair, the buyer-as-taxpayer pair of a domestic line,
// and neither a plain domestic line nor one outside the dates.
TEST_F(VatRegisterPrintTest, ReverseChargePurchasesWithTheVatDateItems) {
  ASSERT_EQ(OpenZ5ZAKU(0, 0), 0);
  ASSERT_EQ(OpenZ5ZAKE(0, 0), 0);
  struct Purchase {
    const char *rec, *kind, *khd, *stm, *re3, *dav, *net, *vat, *gross;
  } purchases[] = {
      {"1", "1", "T", "2", " ", "20260110", "100", "23", "123"},
      {"2", "5", "N", "1", "5", "20260111", "50", "11.5", "61.5"},
      {"3", "1", "N", "1", " ", "20260112", "70", "16.1", "86.1"},
      {"4", "1", "N", "3", " ", "20251231", "30", "6.9", "36.9"},
  };
  for (const Purchase& p : purchases) {
    AppendRecord(Z5ZAKU.table, {{"REC", p.rec}, {"TYV", p.kind}, {"KHD", p.khd}, {"NA1", "Dostawca"},
                                {"DAM", p.dav}, {"DAV", p.dav}});
    AppendRecord(Z5ZAKE.table, {{"REK", p.rec}, {"TYV", "1"}, {"NRV", std::string("Z/") + p.rec}, {"STM", p.stm},
                                {"RE3", p.re3}, {"DAV", p.dav}, {"WAN", p.net}, {"WAV", p.vat}, {"WAB", p.gross}});
  }
  d4close(Z5ZAKU.table);
  d4close(Z5ZAKE.table);
  SeedFirm();
  ZrodloRejestruVat source{RejectAll, 1, 1, "20260101", "20260131", nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  std::string page = Rows({"LPO", "NUM", "BRU", "UEN", "UEV", "NN5", "NV5", "OZN"});
  EXPECT_EQ(page,
            "    1|Z/1|123.00|100.00|23.00|0.00|0.00|MPP\n"
            "    2|Z/2|61.50|0.00|0.00|50.00|11.50|VAT_RR\n"
            "*****|****************************************|184.50|100.00|23.00|50.00|11.50|\n");
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

// The auxiliary register's invoices to receipts and advance invoices join
// the main register's printout; its other kinds do not.
TEST_F(VatRegisterPrintTest, AuxiliaryReceiptAndAdvanceInvoicesInTheMainRegister) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
  struct Aux {
    const char *rec, *kind, *net, *vat;
  } documents[] = {{"1", "9", "30", "6.9"}, {"2", "11", "40", "9.2"}, {"3", "1", "50", "11.5"}};
  for (const Aux& a : documents) {
    AppendRecord(Z5SPRZ_2.table, {{"REC", a.rec}, {"TYV", a.kind}, {"PRE", "FZ"}, {"NRV", a.rec}});
    AppendRecord(Z5SPRE_2.table, {{"REK", a.rec}, {"TYV", a.kind}, {"PRE", "FZ"}, {"NRV", a.rec}, {"STM", "1"},
                                  {"VAT", "1"}, {"WNE", a.net}, {"WAV", a.vat}, {"WAB", "0"}});
  }
  SeedFirm();
  ZrodloRejestruVat source{RejectAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_vat(&row, &source), 0);
  std::string page = Rows({"NUM", "BRU", "NPO", "VPO", "PAN", "PAV", "OZN"});
  EXPECT_EQ(page,
            "FZ  /    1|36.90|0.00|0.00|30.00|6.90|FP\n"
            "FZ  /    2|49.20|40.00|9.20|0.00|0.00|\n"
            "****************************************|86.10|40.00|9.20|30.00|6.90|\n");
  ASSERT_EQ(d4close(Z5ESPP.table), 0);
}

TEST(VatRegisterColumns, RatePlacementOfBothPeriodsAndTheMarks) {
  struct Case {
    int code, kind, delivery;
    bool from2024;
    const char* column;
    double expected;   // net 10, VAT 2
  } cases[] = {
      {1, 1, 1, false, "NPO", 10},  {12, 1, 1, false, "NP1", 10}, {6, 5, 1, false, "SBE", 12},
      {6, 1, 1, false, "DON", 10},  {0, 1, 1, false, "SBE", 12},  {10, 1, 1, false, "NIO", 10},
      {3, 1, 2, true, "WDT", 10},   {3, 1, 3, true, "EXP", 10},   {3, 1, 8, true, "N0K", 10},
      {7, 1, 5, true, "WDU", 10},   {7, 1, 6, true, "NPD", 10},   {6, 1, 1, true, "SBE", 0},
  };
  for (const Case& c : cases) {
    wiersz_rejestru_vat row{};
    if (c.from2024)
      dodaj_do_kolumn_stawek_2024(&row, c.code, c.delivery, 10, 2);
    else
      dodaj_do_kolumn_stawek(&row, c.code, c.kind, 10, 2);
    int at = -1;
    for (int i = 0; i < LAYOUT_Z5ESPP.fieldCount; i++)
      if (std::string(LAYOUT_Z5ESPP.fields[i].name) == c.column) at = i;
    EXPECT_DOUBLE_EQ(row.kwoty[at], c.expected) << c.code << " " << c.delivery;
  }
  std::string flags(15, 'N');
  for (int set : {0, 4, 10, 12}) flags[set] = 'T';
  EXPECT_EQ(tekst_znacznikow(flags.c_str(), 15), "1   5      11  13");
}

}  // namespace
