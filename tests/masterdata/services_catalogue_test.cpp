// The services catalogue on the headless screen: its list and panel, a new
// service with the defaults of the options, the keys of the list, clearing
// the marks, the group printout and the entry from a document's pick list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/module_entries.h"
#include "masterdata/services_catalogue.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/price_fixture.h"
#include "ui/browse.h"
#include "ui/keyboard.h"

namespace {

class ServicesCatalogueTest : public PriceTest {
 protected:
  void SetUp() override {
    PriceTest::SetUp();
    if (HasFatalFailure()) return;
    env->settlementYear = 2025;
    salesOptions.procedureMarks = 'T';
    salesOptions.usualLumpSum = 3;
    ASSERT_EQ(OpenZ5USLU(0), 0);
    ASSERT_EQ(OpenZ5KONT(0), 0);
  }
  void TearDown() override {
    BrowsePrintTabulogram = printing;
    PriceTest::TearDown();
  }
  BrowsePrintRoutine printing = BrowsePrintTabulogram;
  // The catalogue's result after the keys, which end with the Esc leaving it.
  int Run(const std::string& keys, int (*entry)() = kartoteka_uslug) { return RunKeys(keys, entry); }
  static void Grant(int right, bool granted) {
    unsigned char bit = static_cast<unsigned char>(0x80 >> (right % 8));
    EnvCurrent()->rights[right / 8] =
        static_cast<unsigned char>(granted ? EnvCurrent()->rights[right / 8] | bit : EnvCurrent()->rights[right / 8] & ~bit);
  }
  void GoToCode(const char* code) {
    d4tag_select(Z5USLU.table, Z5USLU.tag[0]);
    ASSERT_EQ(d4seek(Z5USLU.table, code), 0) << code;
  }
};

TEST_F(ServicesCatalogueTest, ListAndPanel) {
  AppendNamed(Z5USLU, {{"KOD", "U1"}, {"NA1", "Naprawa"}, {"JED", "godz"}, {"CSN", "100"}, {"CSB", "123"},
                       {"CZN", "40"}, {"CZB", "49.2"}, {"VTS", "1"}, {"VSS", "23"}, {"VTZ", "2"}, {"VSZ", "8"},
                       {"RTY", "3"}, {"RE2", "12"}, {"UWA", "pilne"}});
  d4unlock(Z5USLU.table);
  Run("{F9}{ESC}");
  for (const char* text : {"Spis usług", "cena A", "OZ", "U1", "Naprawa", "godz", "PODSTAWOWA",
                           "OBNIŻONA 1", "8,5", "usługi niematerialne", "pilne", "123.0000"})
    EXPECT_TRUE(Shown(text)) << text << "\n" << seen;

  // without the marks option neither the column nor the panel's mark
  seen.clear();
  salesOptions.procedureMarks = 'N';
  Run("{F9}{ESC}");
  EXPECT_FALSE(Shown("OZ")) << seen;
  EXPECT_FALSE(Shown("usługi niematerialne")) << seen;
  EXPECT_TRUE(Shown("Naprawa")) << seen;
}

TEST_F(ServicesCatalogueTest, NewServiceTakesTheOptionsCodesAndRates) {
  salesOptions.usualVatCode = 14;   // the margin scheme: the basic rate
  salesOptions.vatCode14 = 2;
  warehouseOptions.servicesMark = 14;
  lumpSumRates[2] = 8.5;
  Run("du1{F2}T{ESC}{ESC}{ESC}");   // the second Esc confirms leaving the next record
  ASSERT_EQ(d4reccount(Z5USLU.table), 1) << seen;
  ASSERT_EQ(d4go(Z5USLU.table, 1), 0);
  EXPECT_EQ(Str(Z5USLU, "KOD"), "U1");
  for (const auto& [name, value] : Named{{"VTS", "14"}, {"VSS", "23"}, {"VTZ", "2"}, {"VSZ", "8"}, {"RYT", "1"},
                                         {"RTY", "3"}, {"RYS", "8.5"}, {"RE2", "0"}})
    EXPECT_EQ(Num(Z5USLU, name), std::stod(value)) << name;
  for (const auto& [name, value] : Named{{"TYP", "1"}, {"NAS", "1"}, {"TYZ", "1"}, {"TYK", "5"}, {"STA", "A"},
                                         {"TRC", "T"}, {"CVA", "1"}})
    EXPECT_EQ(Str(Z5USLU, name), value) << name;
}

TEST_F(ServicesCatalogueTest, FormChoicesAndPrices) {
  AppendNamed(Z5USLU, {{"KOD", "U1"}, {"VTS", "1"}, {"VSS", "23"}, {"VTZ", "1"}, {"VSZ", "23"}, {"TRC", "N"},
                       {"CSB", "123"}, {"CBB", "246"}, {"CZN", "10"}, {"CZB", "12.3"}, {"TYZ", "1"}, {"TYK", "5"},
                       {"CVA", "3"}, {"RE2", "0"}, {"KOS", "1"}});
  d4unlock(Z5USLU.table);
  AppendNamed(Z5KONT, {{"NUM", "100-0001"}, {"NAZ", "Kasa"}, {"REC", "1"}});
  AppendNamed(Z5KONT, {{"NUM", "201-0001"}, {"NAZ", "Dostawcy"}, {"REC", "2"}});
  d4unlock(Z5KONT.table);
  // Modify: through KOD, the names, KWiU and j.m.; the purchase rate kept
  // (Esc moves back up, Enter again with the menu on the same rate), the
  // sales rate "2. OBNIŻONA 1" from the 2024 menu, the mark left as it is,
  // the prices as they are to the purchase type "2. INWESTYCYJNY", which
  // empties the cost column and passes over it; the deduction "3. Paliwa"
  // opens on "2. TAK 50%" and is stored as 4; F2 and the save question.
  auto enters = [](int n) {
    std::string keys;
    while (n-- > 0) keys += "{ENTER}";
    return keys;
  };
  std::string keys = "m";
  keys += enters(9);              // KOD, NA1..NA6, KWU, JED
  keys += "{ESC}{DOWN}{ENTER}";   // VTZ: Esc moves up to JED, Down comes back and Enter keeps the rate
  keys += "{HOME}{DOWN}{ENTER}";  // VTS: the second rate
  keys += "{ENTER}";              // the GTU list at "e. BRAK"
  keys += enters(2);              // CZN, CZB
  keys += "2010001{ENTER}";       // the purchase account "201-0001"
  keys += enters(3);              // TRC, CSN, CSB
  keys += "{ENTER}";              // the sales account kept
  keys += enters(4);              // CBN, CBB, CCN, CCB
  keys += "{ENTER}";              // NAS
  keys += "2";                    // TYZ: "2. INWESTYCYJNY"; TYK is passed over
  keys += "{ENTER}{ENTER}{ENTER}";   // CVA, TYP, the lump-sum rate
  keys += "{F2}T{ESC}";
  Run(keys);
  GoToCode("U1");
  EXPECT_EQ(Num(Z5USLU, "VTZ"), 1) << seen;
  EXPECT_EQ(Num(Z5USLU, "VTS"), 2);
  EXPECT_EQ(Num(Z5USLU, "VSS"), 8);
  // the net prices follow the gross ones; the purchase prices stay
  EXPECT_NEAR(Num(Z5USLU, "CSN"), 113.8889, 1e-9);
  EXPECT_NEAR(Num(Z5USLU, "CBN"), 227.7778, 1e-9);
  EXPECT_EQ(Num(Z5USLU, "CZN"), 10);
  EXPECT_EQ(Num(Z5USLU, "CZB"), 12.3);
  EXPECT_EQ(Num(Z5USLU, "RE2"), 0);
  EXPECT_EQ(Str(Z5USLU, "TYZ"), "2");
  EXPECT_EQ(Str(Z5USLU, "TYK"), "0");
  EXPECT_EQ(Str(Z5USLU, "CVA"), "4");
  EXPECT_EQ(Num(Z5USLU, "RTY"), 3);
  EXPECT_EQ(Num(Z5USLU, "KOZ"), 2);
  EXPECT_EQ(Num(Z5USLU, "KOS"), 1);
}

TEST_F(ServicesCatalogueTest, KeysOfTheList) {
  AppendNamed(Z5USLU, {{"KOD", "U1"}, {"STA", "A"}, {"RE2", "3"}});
  AppendNamed(Z5USLU, {{"KOD", "U2"}, {"STA", "A"}, {"RE2", "0"}});
  d4unlock(Z5USLU.table);
  // U1: F6 marks it, F7 makes it inactive, F8 chooses "e. BRAK"; U2: F8 with
  // Esc keeps its mark
  Run(std::string("{F6}{F7}{F8}{END}{ENTER}") + "{DOWN}{F8}{ESC}{ESC}");
  GoToCode("U1");
  EXPECT_EQ(Str(Z5USLU, "ZNA"), "\x9D") << seen;
  EXPECT_EQ(Str(Z5USLU, "STA"), "N");
  EXPECT_EQ(Num(Z5USLU, "RE2"), 0);
  EXPECT_EQ(Num(Z5USLU, "RE2"), 0);
  GoToCode("U2");
  EXPECT_EQ(Str(Z5USLU, "ZNA"), "");
  EXPECT_EQ(Str(Z5USLU, "STA"), "A");
}

TEST_F(ServicesCatalogueTest, ClearingMarksAndSearching) {
  for (const char* code : {"A1", "B1", "B2"})
    AppendNamed(Z5USLU, {{"KOD", code}, {"ZNA", "\x9D"}, {"NA1", code}, {"STA", "A"}});
  d4unlock(Z5USLU.table);
  // the code search for "b" (typed in lower case) lands on B1, which F7 makes
  // inactive; a name search past the end stays there: F6 takes its mark
  Run("skb{F9}{ENTER}{ESC}{F7}" "snzz{ENTER}{ESC}{F6}{ESC}");
  EXPECT_TRUE(Shown("Szukaj kodu usługi - B")) << seen;
  struct Case {
    const char* code;
    const char* status;
    const char* mark;
  } cases[] = {{"A1", "A", "\x9D"}, {"B1", "N", ""}, {"B2", "A", "\x9D"}};
  for (const Case& c : cases) {
    GoToCode(c.code);
    EXPECT_EQ(Str(Z5USLU, "STA"), c.status) << c.code;
    EXPECT_EQ(Str(Z5USLU, "ZNA"), c.mark) << c.code;
  }
  Run("uzT{ESC}{ESC}");
  for (const Case& c : cases) {
    GoToCode(c.code);
    EXPECT_EQ(Str(Z5USLU, "ZNA"), "") << c.code;
  }
}

// The group printout: what the tabulogram gets, row by row.
std::vector<std::string> printed;
int RecordPrint(TabuColumn*, DbScanCtx* scan, DbTable* table, DbTag*, TextRef, TextRef, const char*, int) {
  printed.clear();
  for (int r = x4top(scan); r == 0; r = x4skip(scan, 1))
    printed.push_back(Trim(d4field(table, "KOD")) + "|" + Trim(d4field(table, "NA1")) + "|" +
                      Trim(d4field(table, "CSN")));
  return 0;
}

TEST_F(ServicesCatalogueTest, GroupPrintoutWithoutSums) {
  for (const char* code : {"ABC1", "ABC2", "XY", "ABD"})
    AppendNamed(Z5USLU, {{"KOD", code}, {"NA1", code}, {"CSN", "10"}});
  d4unlock(Z5USLU.table);
  BrowsePrintTabulogram = RecordPrint;
  ASSERT_EQ(NameUslugaTmp(), 0);
  Run("rg{ESC}{ESC}");
  EXPECT_EQ(printed, (std::vector<std::string>{"ABC1|ABC1|10.0000", "2|ABC2|10.0000", "ABC***|Suma grupy|",
                                               "ABD|ABD|10.0000", "ABD***|Suma grupy|", "XY|XY|10.0000",
                                               "XY ***|Suma grupy|", "******************|RAZEM|"}))
      << seen;
}

TEST_F(ServicesCatalogueTest, FromADocumentOnlyWithBothRights) {
  AppendNamed(Z5USLU, {{"KOD", "U1"}});
  d4unlock(Z5USLU.table);
  Grant(7000, true);
  Grant(7700, false);
  EXPECT_EQ(Run("", kartoteka_uslug_z_dokumentu), 0);
  EXPECT_TRUE(seen.empty());
  Grant(7700, true);
  Run("{F9}{ESC}", kartoteka_uslug_z_dokumentu);
  EXPECT_TRUE(Shown("Spis usług")) << seen;
}

}  // namespace
