// The number window of a new document on the headless screen, and two
// workstations proposing the same number.
#include <gtest/gtest.h>

#include <string>

#include "db/db_lock.h"
#include "sales/numbering.h"
#include "tests/sales/sales_fixture.h"

namespace {

class NumberWindowTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(salesOptions.numbering[DOC_FV].prefix, "FV");
    context.kind = 1;
    for (const char* n : {"1", "2"}) AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", n}});
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
};

TEST_F(NumberWindowTest, ProposedNumberIsTakenUnderTheTableLock) {
  HeadlessSetScript("{F9}{F2}");
  EXPECT_EQ(podaj_numer_dokumentu(1, 0, 0), 0);
  EXPECT_NE(seen.find("FAKTURA"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Podaj numer dokumentu:    FV/    3/"), std::string::npos) << seen;
  EXPECT_EQ(context.next.number, 3);
  EXPECT_STREQ(context.next.prefix, "  FV");
  // The caller appends the header before anyone else may number.
  EXPECT_NE(Z5SPRZ.table->file_locked, 0);
  d4unlock(Z5SPRZ.table);
}

// Before 2024 the window is titled with the kind's " Dopisz " item without
// its "n. "; from 2024 with the kind title.
TEST_F(NumberWindowTest, TitledByTheKindMenuOfTheYear) {
  const struct {
    int year, kind;
    const char* title;
  } cases[] = {{2023, 1, "FAKTURA                 -FV"},
               {2023, 2, "RACHUNEK                -RA"},
               {2026, 1, "FAKTURA"},
               {2026, 7, "FAKTURA mały podatnik"}};
  for (const auto& c : cases) {
    env->settlementYear = c.year;
    context.kind = c.kind;
    seen.clear();
    HeadlessSetScript("{F9}{ESC}");
    EXPECT_EQ(podaj_numer_dokumentu(1, 0, 0), -1);
    EXPECT_NE(seen.find(std::string(" ") + c.title + " "), std::string::npos) << c.year << " " << c.title << "\n" << seen;
    if (c.year == 2026) {
      EXPECT_EQ(seen.find("-FV"), std::string::npos) << seen;
    }
  }
}

TEST_F(NumberWindowTest, EscAbandonsTheDocument) {
  HeadlessSetScript("{ESC}");
  EXPECT_EQ(podaj_numer_dokumentu(1, 0, 0), -1);
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

TEST_F(NumberWindowTest, FreeNumberOfAnotherCaseExists) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"OSM", "FV/A/7"}, {"NA1", "Odbiorca"}, {"DAW", "20261203"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "2"}, {"OSM", "RU/A/8"}});
  // The same number asked about keeps the cursor in the entry; another one is taken.
  HeadlessSetScript("fv/a/7{ENTER}{F9}T{HOME}{DEL}{DEL}{DEL}{DEL}{DEL}{DEL}RU/A/8{ENTER}");
  EXPECT_EQ(podaj_numer_dokumentu(0, 0, 0), 0);
  EXPECT_NE(seen.find("Wprowadzony numer: FV/A/7 już istnieje !"), std::string::npos) << seen;
  EXPECT_NE(seen.find("data wystawienia: 03-12-2026"), std::string::npos) << seen;
  EXPECT_EQ(std::string(context.freeNumber).substr(0, 7), "RU/A/8 ");
  EXPECT_EQ(context.freeNumberSwitch, 'N');
}

// A second workstation holds the headers locked while it appends number 3.
TEST_F(NumberWindowTest, SecondWorkstationWaitsAndFindsTheNumberTaken) {
  pid_t other = StartSecondWorkstation(env, [] {
    d4append_start(Z5SPRZ.table, 0);
    d4blank(Z5SPRZ.table);
    SetFields(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "3"}});
    return d4append(Z5SPRZ.table);
  });
  ASSERT_GT(other, 0);
  // F2 waits for the lock, the number is found taken and the window comes
  // back; F2 on the same number is refused in the window.
  HeadlessSetScript("{F2}{F9}{ENTER}{F2}{F9}{ENTER}{ESC}");
  EXPECT_EQ(podaj_numer_dokumentu(1, 0, 0), -1);
  EXPECT_TRUE(SecondWorkstationDone(other));
  EXPECT_EQ(Count(seen, "Podany numer już istnieje!"), 2) << seen;
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 3);
  EXPECT_EQ(Z5SPRZ.table->file_locked, 0);
}

}  // namespace
