// The margin register's rows in Z5ESMAyy: margin documents, corrections of a
// margin invoice, and the documents that only get a row.
#include <cstdio>
#include <string>

#include "db/dbf_table.h"
#include "printouts/margin_register.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

int AcceptAll() { return 45; }
int RejectAll() { return 40; }

class MarginRegisterTest : public SalesTest {
 protected:
  void Document(const char* rec, const char* kind, Fields header, Fields line) {
    Header({{"REC", rec}, {"TYV", kind}, {"PRE", "FM"}, {"NRV", rec}, {"DAV", "20260110"}});
    SetFields(Z5SPRZ.table, header);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    Line({{"REK", rec}, {"TYV", kind}, {"PRE", "FM"}, {"NRV", rec}, {"DAV", "20260110"}, {"STM", "1"}});
    SetFields(Z5SPRE.table, line);
    ASSERT_EQ(d4write(Z5SPRE.table, d4recno(Z5SPRE.table)), 0);
  }

  std::string Page() {
    std::string page;
    DbTable* table = Z5ESMA.table;
    for (d4top(table); !d4eof(table); d4skip(table, 1)) {
      auto amount = [table](const char* name) { return f4double(d4field(table, name)); };
      char line[160];
      std::snprintf(line, sizeof line, "%s|%s|%.2f|%.2f|%.2f|%.2f|%.2f|%s\n", FieldText(table, "LPO").c_str(),
                    FieldText(table, "NUM").substr(0, 8).c_str(), amount("BRU"), amount("ZAK"), amount("MAR"),
                    amount("NET"), amount("VAT"), FieldText(table, "DAV").c_str());
      page += line;
    }
    return page;
  }

  wiersz_rejestru_marzy row{};
};

TEST_F(MarginRegisterTest, MarginDocumentsAndCorrectionsOfAMarginInvoice) {
  Document("1", "8", {}, {{"WAB", "123"}, {"ZFM", "80"}, {"WNE", "100"}, {"WAV", "23"}});
  // a sale without invoice counts only as a margin sale (RE5 2)
  Document("2", "5", {{"RE5", "2"}}, {{"WAB", "50"}, {"ZFM", "30"}, {"WNE", "40.65"}, {"WAV", "9.35"}});
  Document("3", "5", {{"RE5", "0"}}, {{"WAB", "70"}, {"ZFM", "60"}, {"WNE", "56.91"}, {"WAV", "13.09"}});
  // a correction counts only when it corrects a margin invoice (TYM 8)
  Document("4", "3", {{"TYM", "8"}}, {{"WAB", "123"}, {"KWAB", "100"}, {"ZFM", "80"}, {"RE2", "70"},
                                      {"WNE", "100"}, {"KWNE", "81.3"}, {"WAV", "23"}, {"KWAV", "18.7"}});
  Document("5", "3", {{"TYM", "1"}}, {{"WAB", "123"}, {"KWAB", "100"}, {"ZFM", "80"}, {"RE2", "70"},
                                      {"WNE", "100"}, {"KWNE", "81.3"}, {"WAV", "23"}, {"KWAV", "18.7"}});
  // an OSS line adds no row of its own
  Document("6", "8", {}, {{"STM", "4"}, {"WAB", "10"}, {"ZFM", "5"}, {"WNE", "8.13"}, {"WAV", "1.87"}});
  ZrodloRejestruVat source{AcceptAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_marzy(&row, &source), 0);
  EXPECT_EQ(Page(),
            "1|FM/1|123.00|80.00|43.00|100.00|23.00|20260110\n"
            "2|FM/2|50.00|30.00|20.00|40.65|9.35|20260110\n"
            "3|FM/3|0.00|0.00|0.00|0.00|0.00|20260110\n"
            "4|FM/4|-23.00|-10.00|-13.00|-18.70|-4.30|20260110\n"
            "5|FM/5|0.00|0.00|0.00|0.00|0.00|20260110\n"
            "*****|********|150.00|100.00|50.00|121.95|28.05|********\n");
  ASSERT_EQ(d4close(Z5ESMA.table), 0);
}

TEST_F(MarginRegisterTest, AFilterTakingNothingWritesNoTotalsRow) {
  Document("1", "8", {}, {{"WAB", "123"}, {"ZFM", "80"}, {"WNE", "100"}, {"WAV", "23"}});
  ZrodloRejestruVat source{RejectAll, 1, 1, nullptr, nullptr, nullptr};
  ASSERT_EQ(zbuduj_rejestr_marzy(&row, &source), 0);
  EXPECT_EQ(d4reccount(Z5ESMA.table), 0);
  ASSERT_EQ(d4close(Z5ESMA.table), 0);
}

}  // namespace
