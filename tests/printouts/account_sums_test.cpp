// Sums of the sales register per account and their copy with group subtotals.
#include <cstdio>
#include <string>

#include "db/db_index.h"
#include "db/dbf_table.h"
#include "printouts/account_sums.h"
#include "printouts/vat_register_print.h"
#include "tables/exchange_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

// The register's scan positions the accounts catalogue on the line's account.
int AcceptWithAccount() {
  char key[8];
  std::snprintf(key, sizeof key, "%5ld", f4long(d4field(Z5SPRE.table, "KON")));
  d4tag_select(Z5KONT.table, Z5KONT.tag[1]);
  d4seek(Z5KONT.table, key);
  return 45;
}
int RejectAll() { return 40; }

class AccountSumsTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KONT(0), 0);
    const char* accounts[][3] = {{"1", "700-0001", "Sprzedaż towarów"}, {"2", "700-0002", "Sprzedaż usług"},
                                 {"3", "730-0001", "Sprzedaż materiałów"}, {"4", "840-0001", "Pozostałe"}};
    for (auto& a : accounts) AppendRecord(Z5KONT.table, {{"REC", a[0]}, {"NUM", a[1]}, {"NAZ", a[2]}});
    struct {
      const char *kon, *kind, *net, *vat, *gross;
    } lines[] = {{"1", "1", "100", "23", "123"}, {"2", "1", "50", "11.5", "61.5"}, {"3", "7", "10", "2.3", "12.3"},
                 {"4", "3", "0", "0", "0"},      {"0", "2", "5", "1.15", "6.15"}, {"1", "6", "999", "229.77", "1228.77"}};
    int rek = 1;
    for (auto& l : lines) {
      std::string r = std::to_string(rek++);
      Line({{"REK", r}, {"NRV", r}, {"TYV", l.kind}, {"KON", l.kon}, {"WNE", l.net}, {"WAV", l.vat},
            {"WAB", l.gross}, {"KRN", "-20"}, {"KRV", "-4.6"}});
    }
    ASSERT_EQ(CreateZ5KONTE(), 0);
  }

  std::string Dump(TableHandles& set) {
    std::string page;
    for (d4top(set.table); !d4eof(set.table); d4skip(set.table, 1)) {
      char line[120];
      std::snprintf(line, sizeof line, "%-8.8s|%.2f|%.2f|%.2f|%.2f\n", FieldText(set.table, "NUM").c_str(),
                    f4double(d4field(set.table, "NET")), f4double(d4field(set.table, "VAT")),
                    f4double(d4field(set.table, "NIV")), f4double(d4field(set.table, "BRU")));
      page += line;
    }
    return page;
  }
};

TEST_F(AccountSumsTest, PerAccountThenGroupedByOneAndThreeCharacters) {
  ZrodloRejestruVat source{AcceptWithAccount, 0, 1, nullptr, nullptr, nullptr};
  OpcjeSumKont options{nullptr, 0};
  ASSERT_EQ(sumuj_konta_rejestru(&source, &options), 0);
  ASSERT_EQ(CreateZ5KONTES(), 0);
  ASSERT_EQ(przepisz_konta_z_grupami(3), 0);
  EXPECT_EQ(Dump(Z5KONTES),
            "        |5.00|1.15|6.15|6.15\n"
            "700-0001|100.00|23.00|123.00|123.00\n"
            "700-0002|50.00|11.50|61.50|61.50\n"
            "700*****|150.00|34.50|184.50|184.50\n"
            "730-0001|10.00|2.30|12.30|12.30\n"
            "730*****|10.00|2.30|12.30|12.30\n"
            "7*******|160.00|36.80|196.80|196.80\n"
            "840-0001|-20.00|-4.60|-24.60|-24.60\n"
            "840*****|-20.00|-4.60|-24.60|-24.60\n"
            "8*******|-20.00|-4.60|-24.60|-24.60\n"
            "********|145.00|33.35|178.35|178.35\n");
}

TEST_F(AccountSumsTest, ProFormaLinesOnlyWithTheirFilterItem) {
  ZrodloRejestruVat source{AcceptWithAccount, 0, 1, nullptr, nullptr, nullptr};
  OpcjeSumKont options{nullptr, 1};
  ASSERT_EQ(sumuj_konta_rejestru(&source, &options), 0);
  // the totals row is last in account-number order
  d4tag_select(Z5KONTE.table, Z5KONTE.tag[0]);
  d4bottom(Z5KONTE.table);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5KONTE.table, "NET")), 145 + 999);
}

TEST_F(AccountSumsTest, AFilterTakingNothingWritesNoRows) {
  ZrodloRejestruVat source{RejectAll, 0, 1, nullptr, nullptr, nullptr};
  OpcjeSumKont options{nullptr, 0};
  ASSERT_EQ(sumuj_konta_rejestru(&source, &options), 0);
  EXPECT_EQ(d4reccount(Z5KONTE.table), 0);
}

}  // namespace
