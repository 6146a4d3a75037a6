// The JPK exports through the real program, headless, over a seeded month of
// working year 2025: " Sprzedaż ", " Menu " > " JPK_FA eksport " (the file
// validates, its work table stands beside it and the register of exported
// files has its one entry) and " Detal " > " Paragon " > " JPK fakt." (the
// invoices issued to receipts, no entry).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/dbf_records.h"
#include "tables/firm_tables.h"
#include "tables/receipt_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "tests/jpk/schema_check.h"
#include "tests/sales/sales_road.h"

namespace {

// " Menu " > " JPK_FA eksport ", February, the default name, the closing box.
constexpr const char* JPK_FA_OF_FEBRUARY = "ej2{ENTER}{F2}{ENTER}{ENTER}";

class JpkFaRoadTest : public SalesRoadTest {
 protected:
  void SeedFirm() {
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "  FV", "20250203", {{"RE4", "T"}, {"WAL", "PLN"}},
                        {{{"NA1", "Towar A"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "123"},
                          {"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RE3", "N"}, {"KVA", "1"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 6, "  PF", "20250204", {{"RE4", "T"}, {"WAL", "PLN"}},
                        {{{"NA1", "Towar B"}, {"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}}});
    AppendSalesDocument(Z5SPRZ_2, Z5SPRE_2, 1, 11, "  ZA", "20250210", {{"RE4", "T"}, {"WAL", "PLN"}, {"KZA", "61.5"}},
                        {{{"NA1", "Zaliczka"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "50"}, {"CBR", "61.5"},
                          {"VAT", "1"}, {"WNE", "50"}, {"WAV", "11.5"}, {"WAB", "61.5"}, {"RE3", "N"}, {"KVA", "1"}}});
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Jeden"}, {"NIP", "6570001122"}, {"TLX", "2603"}, {"KOD", "25-001"},
                             {"MIA", "Kielce"}, {"ULI", "Polna"}, {"NRD", "1"}, {"WOJ", "świętokrzyskie"},
                             {"POW", "Kielce"}, {"GMI", "Kielce"}, {"POC", "Kielce"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close_all(&env->engine);
  }
  // The first file under the folder whose name begins and ends so, or "".
  std::string Find(const std::string& begins, const std::string& ends) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
      std::string name = entry.path().filename().string();
      if (name.rfind(begins, 0) == 0 && name.size() >= ends.size() &&
          name.compare(name.size() - ends.size(), ends.size(), ends) == 0)
        return entry.path().string();
    }
    return "";
  }
};

TEST_F(JpkFaRoadTest, SalesMenuExportsTheMonth) {
  SeedFirm();
  if (HasFatalFailure()) return;
  // The closing box as the operator sees it (the run stops there).
  Outcome box = Run(std::string(LOGO) + INTO_SALES + "ej2{ENTER}{F2}{ENTER}");
  EXPECT_TRUE(Has(box, "Eksport zakończony.")) << box.screen;
  EXPECT_TRUE(Has(box, "Zapisano faktur - 2")) << box.screen;
  // Once more to the end: the unsent version 0 is written again over its
  // entry. Out of the register's menus, the register and the firm's menu.
  Outcome o = Run(std::string(LOGO) + INTO_SALES + JPK_FA_OF_FEBRUARY + "{ESC}{ESC}{ESC}{ESC}{ESC}z");
  EXPECT_EQ(o.exit, 0) << ReadFile(dir + "out.txt") << o.screen;
  std::string xml = Find("JPK_FA", ".XML");
  ASSERT_NE(xml, "") << o.screen;
  EXPECT_NE(xml.find("2025-02"), std::string::npos) << xml;
  EXPECT_EQ(ValidateJpk(xml, 4), "") << ReadFile(xml);
  EXPECT_NE(ReadFile(xml).find("<LiczbaFaktur>2</LiczbaFaktur>"), std::string::npos);
  EXPECT_NE(Find("JPK_FA", ".DBF"), "");
  std::string entries = Find("Z5DEKL", ".DBF");
  ASSERT_NE(entries, "");
  DbTable* table = d4open(&env->engine, EnvFromDiskPath(entries).c_str());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(d4reccount(table), 1);
  d4go(table, 1);
  EXPECT_EQ(FieldText(table, "NDE"), "JPK_FA");
  EXPECT_EQ(xml.substr(xml.find_last_of('/') + 1), FieldText(table, "XNA"));
  d4close(table);
}

// " Detal " > " Paragon " > " JPK fakt.": February 2025 holds an invoice to
// receipt PA/1 and a receipt without an invoice.
TEST_F(JpkFaRoadTest, ReceiptsMenuExportsTheInvoicesToReceipts) {
  SeedFirm();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5PARA(0), 0);
  ASSERT_EQ(OpenZ5PARE(0), 0);
  ASSERT_EQ(OpenZ5PARO(0), 0);
  for (int rec : {1, 2}) {
    std::string r = std::to_string(rec);
    AppendRecord(Z5PARA.table, {{"REC", r}, {"PRE", "PA"}, {"NRV", r}, {"DSP", "2025021" + r},
                                {"TYF", rec == 1 ? "9" : "0"}, {"PRF", rec == 1 ? "FP" : ""}, {"NRF", r}});
    AppendRecord(Z5PARE.table, {{"REK", r}, {"PRE", "PA"}, {"NRV", r}, {"DAV", "2025021" + r}, {"JED", "szt"},
                                {"ILO", "1"}, {"NA1", "Chleb"}, {"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"},
                                {"WAB", "123"}, {"CNR", "100"}, {"CBR", "123"}});
  }
  AppendRecord(Z5PARO.table, {{"REK", "1"}, {"NA1", "Nabywca"}, {"KOP", "25-001"}, {"MIA", "Kielce"},
                              {"ULI", "Polna 1"}, {"NIP", "5260001231"}, {"DAW", "20250211"}});
  d4close_all(&env->engine);
  // The box of the printer not answering, then the export of February.
  Outcome o = Run(std::string(LOGO) + "s{ENTER}dp{ENTER}j2{ENTER}{F2}{ENTER}{ENTER}{ESC}{ESC}{ESC}{ESC}z");
  EXPECT_EQ(o.exit, 0) << ReadFile(dir + "out.txt") << o.screen;
  std::string xml = Find("JPK_FAKT", ".XML");
  ASSERT_NE(xml, "") << o.screen;
  EXPECT_NE(xml.find("2025-02"), std::string::npos) << xml;
  EXPECT_EQ(ValidateJpk(xml, 4), "") << ReadFile(xml);
  EXPECT_NE(ReadFile(xml).find("<LiczbaFaktur>1</LiczbaFaktur>"), std::string::npos) << ReadFile(xml);
  EXPECT_EQ(Find("Z5DEKL", ".DBF"), "");
}

}  // namespace
