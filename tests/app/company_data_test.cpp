// The company data window on the headless display: the record written only
// with F2 and the right to save it, the tax office filled from its list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/sales_options.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"
#include "tests/tables/empty_catalogue.h"

namespace {

constexpr int RIGHT_SAVE = 9301;

class CompanyDataTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    env->confirmSave = 'N';
    std::memset(env->rights, 0xFF, RIGHTS_BYTES);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    f4assign(d4field(Z5PAWL.table, "NA1"), "STARA NAZWA");
    ASSERT_EQ(d4write(Z5PAWL.table, 1), 0);
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  int Run(const std::string& keys) {
    EXPECT_EQ(HeadlessSetScript(keys.c_str()), 0);
    int key = -1;
    try {
      key = CompanyDataWindow();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << keys << " left the window open";
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0) << keys;
    return key;
  }
  // A field of the record as the table holds it, read again from the disk.
  std::string Stored(const char* name) {
    d4close(Z5PAWL.table);
    EXPECT_EQ(OpenZ5PAWL(), 0);
    return Trim(d4field(Z5PAWL.table, name));
  }
  static void Deny(unsigned char* rights) { rights[RIGHT_SAVE / 8] &= static_cast<unsigned char>(~(0x80 >> (RIGHT_SAVE % 8))); }
};

TEST_F(CompanyDataTest, WrittenOnlyWithF2AndTheRight) {
  EXPECT_EQ(Run("NOWA{F9}{ESC}"), KEY_ESC);
  EXPECT_NE(seen.find("DANE SPRZEDAWCY"), std::string::npos) << seen;
  EXPECT_EQ(Trim(d4field(Z5PAWL.table, "NA1")), "STARA NAZWA");
  EXPECT_EQ(Stored("NA1"), "STARA NAZWA");

  Deny(env->rights);
  EXPECT_EQ(Run("NOWA{F2}{F9}x"), 0x3C00);
  EXPECT_NE(seen.find("Zabroniony dostęp !"), std::string::npos) << seen;
  EXPECT_EQ(Trim(d4field(Z5PAWL.table, "NA1")), "STARA NAZWA");
  EXPECT_EQ(Stored("NA1"), "STARA NAZWA");

  std::memset(env->rights, 0xFF, RIGHTS_BYTES);
  EXPECT_EQ(Run("NOWA{PGDN}Bank{F2}"), 0x3C00);
  EXPECT_EQ(Stored("NA1"), "NOWA");
  EXPECT_EQ(Stored("BAN1"), "Bank");
}

TEST_F(CompanyDataTest, TaxOfficeFromItsListAndNeverTyped) {
  OpenEmptyCatalogue(Z5USKA, OpenZ5USKA);
  Append(Z5USKA, {{0, "US A"}, {1, "PIERWSZY URZAD"}, {2, "Prosta"}, {3, "1"}, {4, "00-001"}, {5, "Warszawa"},
                  {6, "NBP"}, {8, "11 2222"}, {9, "1"}, {11, "1401"}});
  Append(Z5USKA, {{0, "US B"}, {1, "DRUGI URZAD"}, {2, "Krzywa"}, {3, "2"}, {4, "30-002"}, {5, "Kraków"},
                  {6, "PKO"}, {8, "33 4444"}, {9, "2"}, {11, "1207"}});
  d4close(Z5USKA.table);
  // the office field is the last of the first page
  std::string toOffice;
  for (int i = 0; i < 18; i++) toOffice += "{DOWN}";
  EXPECT_EQ(Run(toOffice + "{F4}{DOWN}{ENTER}{UP}xyz{F2}"), 0x3C00);
  EXPECT_EQ(Stored("UNAV"), "PIERWSZY URZAD");
  EXPECT_EQ(Stored("UULV"), "Prosta");
  EXPECT_EQ(Stored("UKOV"), "00-001");
  EXPECT_EQ(Stored("UMIV"), "Warszawa");
  EXPECT_EQ(Stored("UBAV"), "NBP");
  EXPECT_EQ(Stored("UNRV"), "11 2222");
  EXPECT_EQ(Stored("TLX").substr(0, 4), "1401");
  EXPECT_EQ(Stored("BAN1"), "");
}

}  // namespace
