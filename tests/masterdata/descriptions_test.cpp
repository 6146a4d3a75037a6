// The descriptions catalogue on the headless display: codes in capitals and
// unique, the first line required, and its run from a form's list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/module_entries.h"
#include "masterdata/descriptions.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/catalogue_fixture.h"
#include "ui/window4.h"

namespace {

constexpr int OPIS_OP1 = 0, OPIS_OP2 = 1, OPIS_KOD = 2;

class DescriptionsTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5OPIS(0), 0);
    Append(Z5OPIS, {{OPIS_KOD, "ZAK"}, {OPIS_OP1, "Zakup towarow"}, {OPIS_OP2, "handlowych"}});
  }
  void Run(const std::string& keys) { CatalogueTest::Run(kartoteka_opisow, keys); }
  std::string ScreenAfter(const std::string& keys) {
    return CatalogueTest::ScreenAfter(kartoteka_opisow, Z5OPIS.table, keys);
  }
  // "code|first line|second line" in record order, '*' before a deleted one.
  std::vector<std::string> Stored() {
    std::vector<std::string> all;
    for (long n = 1; n <= d4reccount(Z5OPIS.table); n++) {
      EXPECT_EQ(d4go(Z5OPIS.table, n), 0);
      all.push_back(std::string(d4deleted(Z5OPIS.table) ? "*" : "") + Trim(Z5OPIS.field[OPIS_KOD]) + "|" +
                    Trim(Z5OPIS.field[OPIS_OP1]) + "|" + Trim(Z5OPIS.field[OPIS_OP2]));
    }
    return all;
  }
};

TEST_F(DescriptionsTest, CodesInCapitalsAndUnique) {
  // the same text under another code is a description of its own
  Run("dsp1{ENTER}Zakup towarow{ENTER}{F2}t{ESC}{ESC}{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"ZAK|Zakup towarow|handlowych", "SP1|Zakup towarow|"}));
  EXPECT_NE(ScreenAfter("dzak{ENTER}").find("Podany kod już istnieje!"), std::string::npos);
  EXPECT_NE(ScreenAfter("d{ENTER}").find("Pole nie może być puste."), std::string::npos);
  EXPECT_NE(ScreenAfter("dX{ENTER}{ENTER}").find("Pole nie może być puste."), std::string::npos);
  // modifying keeps the record's own code
  Run("m{ENTER}Sprzedaz{F2}t{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"ZAK|Zakup towarow|handlowych", "SP1|Sprzedaz|"}));
}

TEST_F(DescriptionsTest, DeletedAfterTheQuestion) {
  Run("s{ESC}{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"ZAK|Zakup towarow|handlowych"}));
  Run("st{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"*ZAK|Zakup towarow|handlowych"}));
}

TEST_F(DescriptionsTest, FromAListTheFormsWindowStaysCurrent) {
  int form = w4define(5, 5, 10, 40);
  w4activate(form);
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(kartoteka_opisow_z_listy(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(w4select(-1), form);
  w4close(form);
}

}  // namespace
