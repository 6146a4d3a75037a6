// The sales summary over one seeded 2025 firm: the printed page of form 193,
// its agreement with the register totals, the classification of the years
// before 2024 and the runs that must not show a page.
#include <dirent.h>
#include <strings.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "db/dbf_table.h"
#include "printouts/register_totals.h"
#include "printouts/sales_summary.h"
#include "printouts/vat_register_print.h"
#include "tests/printouts/printout_fixture.h"
#include "ui/browse.h"

namespace {

int AcceptAll() { return 45; }

class SalesSummaryTest : public PrintoutTest {
 protected:
  void SetUp() override {
    PrintoutTest::SetUp();
    if (HasFatalFailure()) return;
    savedTaxation = salesOptions.taxation;
    salesOptions.taxation = 1;
  }
  void TearDown() override {
    if (browse) free_browse(&browse);
    salesOptions.taxation = savedTaxation;
    PrintoutTest::TearDown();
  }

  // A header and its lines; kind and link go into every line.
  void Document(int rec, int kind, const char* date, Fields header, std::initializer_list<Fields> lines) {
    std::string r = std::to_string(rec), k = std::to_string(kind);
    AppendRecord(Z5SPRZ.table, {{"REC", r}, {"TYV", k}, {"PRE", "FV"}, {"NRV", r}, {"RE4", "T"}, {"DAW", date},
                                {"DAV", date}, {"DAS", date}, {"NA1", "Kontrahent " + r}, {"KVA", "1"},
                                {"WAL", "PLN"}});
    SetFields(Z5SPRZ.table, header);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    for (const Fields& line : lines) {
      AppendRecord(Z5SPRE.table, {{"REK", r}, {"TYV", k}, {"PRE", "FV"}, {"NRV", r}, {"DAW", date}, {"DAV", date},
                                  {"STM", "1"}, {"CSS", "T"}, {"TYP", "1"}, {"KVA", "1"}});
      SetFields(Z5SPRE.table, line);
      ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
    }
  }

  // FV at 23 %, MP at 8 %, an FK moving a line from code 1 to 2, BR (one
  // of them a margin sale), RU exempt, a final invoice over one advance.
  void SeedFirm() {
    env->settlementYear = 2025;
    Document(1, 1, "20250105", {{"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}, {"KZA", "123"}},
             {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}}});
    Document(2, 7, "20250106", {{"NET", "200"}, {"VAT", "16"}, {"BRU", "216"}},
             {{{"VAT", "2"}, {"WNE", "200"}, {"WAV", "16"}, {"WAB", "216"}}});
    Document(3, 3, "20250107", {{"KRN", "0"}, {"KRV", "-15"}, {"KZA", "-15"}},
             {{{"VAT", "1"}, {"KVAT", "2"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KWNE", "100"},
               {"KWAV", "8"}, {"KWAB", "108"}, {"KRN", "0"}, {"KRV", "-15"}}});
    Document(4, 5, "20250108", {{"NET", "10"}, {"VAT", "2.3"}, {"BRU", "12.3"}, {"KZA", "12.3"}},
             {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"TYP", "2"}}});
    Document(5, 5, "20250108", {{"RE5", "2"}, {"NET", "40"}, {"VAT", "9.2"}, {"BRU", "49.2"}},
             {{{"VAT", "1"}, {"WNE", "40"}, {"WAV", "9.2"}, {"WAB", "49.2"}, {"TYP", "3"}}});
    Document(6, 2, "20250109", {{"NET", "50"}, {"VAT", "0"}, {"BRU", "50"}},
             {{{"VAT", "4"}, {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}}});
    Document(7, 1, "20250111", {{"AKT", "1"}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}},
             {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "73.8"}}});
  }

  // The register's browse over the headers, every one accepted.
  void Browse() {
    ASSERT_EQ(allocate_browse(&browse, Z5SPRZ.table, nullptr, nullptr, -1), 0);
    x4init(&browse->scan, Z5SPRZ.table, nullptr, 0);
  }

  int Run(const char* keys, bool before2024 = false, int rejestr = 1) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = before2024 ? podsumowanie_sprzedazy(rejestr) : podsumowanie_sprzedazy_2024(rejestr);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }

  // The headers' table file in the firm directory.
  std::string HeadersFile() {
    std::string found;
    if (DIR* d = opendir(firm.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (strncasecmp(name.c_str(), "Z5SPRZ", 6) == 0 && name.size() > 4 &&
            strcasecmp(name.c_str() + name.size() - 4, ".DBF") == 0)
          found = firm + name;
      }
      closedir(d);
    }
    return found;
  }
  static std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  BrowseContext* browse = nullptr;
  int savedTaxation = 0;
};

TEST_F(SalesSummaryTest, MainRegisterPageOfForm193) {
  SeedFirm();
  Browse();
  CharacterPrinting("SUM");
  // the currency menu's "1. dla VAT", F2 in the viewer, then the print dialog
  EXPECT_EQ(Run("{ENTER}{F2}{F2}{ENTER}"), 0);
  const sumy_podsumowania& s = sumyPodsumowania;
  // the margin sale goes with the margin invoices, not with kind 5
  EXPECT_EQ(s.liczby[8], 1);
  EXPECT_EQ(s.liczby[5], 1);
  EXPECT_DOUBLE_EQ(s.kwoty[PODS_NETTO][8], 40);
  // the final invoice is summed from its header
  EXPECT_EQ(s.liczby[1], 2);
  EXPECT_DOUBLE_EQ(s.kwoty[PODS_BRUTTO][1], 246);
  EXPECT_DOUBLE_EQ(s.kwoty[PODS_BRUTTO][PODS_KOREKTY], -15);
  ExpectGolden("sales_summary_193.txt", Printed());
}

TEST_F(SalesSummaryTest, InvoicesAndCorrectionsAgreeWithTheRegisterTotals) {
  SeedFirm();
  Browse();
  EXPECT_EQ(Run("{ENTER}{ESC}"), 0);
  sumy_rejestru_vat totals{};
  ZrodloRejestruVat source{AcceptAll, 0, 1, nullptr, nullptr, nullptr};
  OpcjeSumRejestru options{};
  ASSERT_EQ(licz_sumy_rejestru(&totals, &source, &options), 0);
  EXPECT_NEAR(sumyPodsumowania.kwoty[PODS_NETTO][PODS_RAZEM], totals.netto, 0.005);
  EXPECT_NEAR(sumyPodsumowania.kwoty[PODS_VAT][PODS_RAZEM], totals.vat, 0.005);
  EXPECT_NEAR(sumyPodsumowania.kwoty[PODS_NETTO][PODS_RAZEM], 500, 0.005);
  EXPECT_NEAR(sumyPodsumowania.kwoty[PODS_VAT][PODS_RAZEM], 58.5, 0.005);
}

TEST_F(SalesSummaryTest, AMismatchingDocumentAnsweredWithYesShowsNoPage) {
  SeedFirm();
  ASSERT_EQ(d4go(Z5SPRZ.table, 2), 0);
  SetFields(Z5SPRZ.table, {{"NET", "201"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 2), 0);
  Browse();
  seen.clear();
  // 'T' goes on past the mismatch; the end says so and shows no page
  EXPECT_EQ(Run("{ENTER}T{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Błąd dokumentów !"), std::string::npos) << seen;
  EXPECT_EQ(Printed(), "<none>");
  // Esc at the question ends the run with -1
  EXPECT_EQ(Run("{ENTER}{ESC}"), -1);
}

// A main-register invoice marked to a receipt in the old way (SDR 3, AKT
// 0) is summed as the conversion would make it in every run, and the
// headers are not written (neither the conversion nor a line's GTU mark).
TEST_F(SalesSummaryTest, LegacyReceiptMarkingBefore2024WritesNothing) {
  env->settlementYear = 2023;
  Document(1, 1, "20230105", {{"SDR", "3"}, {"AKT", "0"}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}},
           {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}}});
  Document(2, 1, "20230106", {{"NET", "10"}, {"VAT", "2.3"}, {"BRU", "12.3"}},
           {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"RE5", "3"}}});
  ASSERT_EQ(d4flush(Z5SPRZ.table), 0);
  std::string headers = HeadersFile();
  std::string before = FileBytes(headers);
  Browse();
  for (int run = 0; run < 2; run++) {
    EXPECT_EQ(Run("{ENTER}{ESC}", true), 0);
    const sumy_podsumowania& s = sumyPodsumowania;
    EXPECT_EQ(s.do_paragonow.liczba, 1) << run;
    EXPECT_DOUBLE_EQ(s.do_paragonow.kwoty[2], 123) << run;
    EXPECT_EQ(s.liczby[1], 1) << run;
    EXPECT_DOUBLE_EQ(s.kwoty[PODS_NETTO][PODS_SPRZEDAZ], 10) << run;
  }
  ASSERT_EQ(d4flush(Z5SPRZ.table), 0);
  EXPECT_FALSE(before.empty());
  EXPECT_EQ(FileBytes(headers), before);
}

// The auxiliary register before 2024: advance invoices to receipts and
// corrections marked SDR 3 go to "FP+FK", the other advance invoices with
// their paid amount and their corrections (TYM 9) to the advance box; none
// reaches the sales total.
TEST_F(SalesSummaryTest, AuxiliaryAdvanceInvoicesBefore2024) {
  env->settlementYear = 2023;
  Document(1, 9, "20230105", {{"SDR", "3"}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}},
           {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}}});
  Document(2, 9, "20230106", {{"SDR", "1"}, {"NET", "10"}, {"VAT", "2.3"}, {"BRU", "12.3"}, {"KZA", "12.3"}},
           {{{"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}}});
  Document(3, 3, "20230107", {{"TYM", "9"}, {"SDR", "3"}, {"KRN", "-5"}, {"KRV", "-1.15"}},
           {{{"VAT", "1"}, {"KRN", "-5"}, {"KRV", "-1.15"}}});
  Document(4, 3, "20230108", {{"TYM", "9"}, {"KRN", "-2"}, {"KRV", "-0.46"}, {"KZA", "-2.46"}},
           {{{"VAT", "1"}, {"KRN", "-2"}, {"KRV", "-0.46"}}});
  Browse();
  CharacterPrinting("SUM");
  EXPECT_EQ(Run("{ENTER}{F2}{F2}{ENTER}", true, 2), 0);
  const sumy_podsumowania& s = sumyPodsumowania;
  EXPECT_EQ(s.zaliczkowe_do_paragonow.liczba, 1);
  EXPECT_EQ(s.do_paragonow.liczba, 1);
  EXPECT_DOUBLE_EQ(s.do_paragonow.kwoty[2], -6.15);
  EXPECT_EQ(s.zaliczkowe.liczba, 1);
  EXPECT_DOUBLE_EQ(s.zaliczkowe.kwoty[3], 12.3);
  EXPECT_EQ(s.korekty_zaliczkowych.liczba, 1);
  EXPECT_DOUBLE_EQ(s.kwoty[PODS_NETTO][PODS_SPRZEDAZ], 0);
  EXPECT_DOUBLE_EQ(s.kwoty[PODS_NETTO][PODS_KOREKTY], 0);
  std::string page = Printed();
  // FP+FK: both groups' count and sums; FZ, FK and their total
  EXPECT_NE(LineWith(page, "FP+FK").find("|    2   FP+FK |      1    FZ |      1    FK |"), std::string::npos) << page;
  EXPECT_NE(LineWith(page, "116.85").find("|      116.85  |       12.30  |       -2.46  |        9.84  |"),
            std::string::npos)
      << page;
}

}  // namespace
