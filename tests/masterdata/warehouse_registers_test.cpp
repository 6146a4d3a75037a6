// The warehouse registers show the year's documents of the tables their
// caller opened and come back on Esc.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "ui/std_windows.h"
#include "tables/masterdata_tables.h"
#include "tables/warehouse_tables.h"
#include "tests/app/headless_entry_fixture.h"
#include "tests/masterdata/goods_stock.h"

namespace {

struct Case {
  const char* title;
  int (*open)(int);
  int (*openLines)(int);
  TableHandles* table;
  int (*entry)();
};

constexpr int HEADER_NA1 = 6;

TEST_F(HeadlessEntryTest, RegistersBrowseTheOpenedTables) {
  const Case cases[] = {
      {"Przyjęcia towarów z podmagazynów", OpenZ5MAPR, OpenZ5MAPE, &Z5MAPR, przyjecia_magazynowe},
      {"Wydania towarów do podmagazynów", OpenZ5MAWY, OpenZ5MAWE, &Z5MAWY, wydania_magazynowe},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    seen.clear();
    ASSERT_EQ(c.open(0), 0);
    ASSERT_EQ(c.openLines(0), 0);
    Append(*c.table, {{HEADER_NA1, "Q7"}});
    RunUntilEsc(c.entry);
    EXPECT_TRUE(Shown(c.title)) << seen;
    EXPECT_TRUE(Shown("Q7")) << seen;
    EXPECT_NE(c.table->table, nullptr) << "the caller closes the table";
    d4close_all(&env->engine);
  }
}

class WarehouseRegisterTest : public HeadlessEntryTest {
 protected:
  void SetUp() override {
    HeadlessEntryTest::SetUp();
    if (HasFatalFailure()) return;
    warehouseOptions.stockOnEntry = 'T';
    warehouseOptions.autoNumbering = 'T';
    warehouseOptions.printAfterSave = 'N';
    ASSERT_EQ(OpenZ5MAPR(0), 0);
    ASSERT_EQ(OpenZ5MAPE(0), 0);
  }
  void TearDown() override {
    zamknij_okno_raportu(0);
    HeadlessEntryTest::TearDown();
  }
  bool Deleted(TableHandles& set, long record) {
    EXPECT_EQ(d4go(set.table, record), 0);
    return d4deleted(set.table) != 0;
  }
};

TEST_F(WarehouseRegisterTest, ARefusedGiveBackKeepsTheDocumentWithTheLinesLeft) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "TOWAR"}, {"ILO", "10"}, {"STA", "A"}});
  d4close(Z5TOWA.table);
  AppendNamed(Z5MAPR, {{"NUM", "1"}, {"DAT", "20260310"}, {"REC", "1"}, {"NA1", "PODMAGAZYN"}});
  for (const char* code : {"T1", "GONE"})
    AppendNamed(Z5MAPE, {{"KOT", code}, {"NA1", "TOWAR"}, {"ILO", "4"}, {"REK", "1"}, {"STP", "T"}});
  // " Usuń ", the question; the missing goods: the error box, Esc on
  // "Czy kontynuować operację ?", the report window's pause.
  RunUntilEsc(przyjecia_magazynowe, "ut{ENTER}{ESC}{ENTER}{F9}{ESC}");
  EXPECT_DOUBLE_EQ(FirstGoodsStock(), 6) << "the first line's receipt taken back";
  EXPECT_FALSE(Deleted(Z5MAPR, 1));
  EXPECT_EQ(f4long(d4field(Z5MAPR.table, "AKT")), 1) << "the document keeps its error mark";
  EXPECT_TRUE(Deleted(Z5MAPE, 1));
  EXPECT_FALSE(Deleted(Z5MAPE, 2));
  EXPECT_TRUE(Shown("PODMAGAZYN")) << seen;
}

TEST_F(WarehouseRegisterTest, ATypedNumberThatExistsIsRefused) {
  warehouseOptions.autoNumbering = 'N';
  AppendNamed(Z5MAPR, {{"NUM", "1"}, {"DAT", "20260310"}, {"REC", "1"}});
  // 1 refused on F2 in the window, then taken with Enter and refused again
  // under the lock (the window opens again on the proposal 2); 5 taken with
  // F2; the form saved; the next number window left.
  RunUntilEsc(przyjecia_magazynowe, "{INS}1{F2}{ENTER}{ENTER}{ENTER}5{F2}{F2}t{ESC}{F9}{ESC}");
  ASSERT_EQ(d4reccount(Z5MAPR.table), 2);
  EXPECT_FALSE(Deleted(Z5MAPR, 2));
  EXPECT_EQ(f4long(d4field(Z5MAPR.table, "NUM")), 5);
  EXPECT_EQ(f4long(d4field(Z5MAPR.table, "REC")), 2);
  EXPECT_EQ(f4long(d4field(Z5MAPR.table, "AKT")), 0);
}

TEST_F(WarehouseRegisterTest, AutomaticNumbersFollowTheHighestAtSave) {
  AppendNamed(Z5MAPR, {{"NUM", "7"}, {"DAT", "20260310"}, {"REC", "1"}});
  RunUntilEsc(przyjecia_magazynowe, "{INS}{F2}t{INS}{F2}t{ESC}{ESC}{F9}{ESC}");
  ASSERT_EQ(d4reccount(Z5MAPR.table), 4) << "the third new document was left and deleted";
  for (long record : {2, 3}) {
    EXPECT_FALSE(Deleted(Z5MAPR, record));
    EXPECT_EQ(f4long(d4field(Z5MAPR.table, "NUM")), 6 + record);
    EXPECT_EQ(f4long(d4field(Z5MAPR.table, "REC")), record);
  }
  EXPECT_TRUE(Deleted(Z5MAPR, 4));
}

TEST(WarehousePattern, StarEndsTheComparisonAndQuestionMarkTakesOneCharacter) {
  struct Case {
    const char* code;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"AB123", "AB*", true},  {"ab9", "AB*", true},     {"AC1", "AB*", false}, {"AB", "AB*", true},
      {"AX1", "A?1", true},    {"A1", "A?1", false},     {"AB", "AB", true},    {"ABC", "AB", false},
      {"AB", "ABC", false},    {"XYZ", "*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(kod_pasuje_do_wzorca(c.code, c.pattern), c.match) << c.code << " " << c.pattern;
}

TEST_F(WarehouseRegisterTest, OnlyALineWithoutItsDocumentIsDeletedThereAndItGivesItsStockBack) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendNamed(Z5TOWA, {{"KOD", "T1"}, {"NA1", "TOWAR"}, {"ILO", "10"}, {"STA", "A"}});
  d4close(Z5TOWA.table);
  AppendNamed(Z5MAPR, {{"NUM", "1"}, {"DAT", "20260310"}, {"REC", "1"}});
  AppendNamed(Z5MAPE, {{"KOT", "T1"}, {"NA1", "TOWAR"}, {"ILO", "4"}, {"REK", "1"}, {"NUM", "1"},
                       {"DAT", "20260310"}, {"STP", "T"}});
  AppendNamed(Z5MAPE, {{"KOT", "T1"}, {"NA1", "SIEROTA"}, {"ILO", "3"}, {"REK", "5"}, {"NUM", "2"},
                       {"DAT", "20260310"}, {"STP", "T"}});
  stronaMagazynu = &STRONA_PRZYJEC;
  // The first line: refused with its box; the second: the question and the
  // stock report's pause.
  RunUntilEsc(ewidencja_pozycji_magazynowych, "u{ENTER}{DOWN}ut{ENTER}{F9}{ESC}");
  stronaMagazynu = nullptr;
  EXPECT_FALSE(Deleted(Z5MAPE, 1));
  EXPECT_TRUE(Deleted(Z5MAPE, 2));
  EXPECT_DOUBLE_EQ(FirstGoodsStock(), 7) << "the orphan's receipt taken back";
  EXPECT_TRUE(Shown("Ewidencja przyjęcia towarów")) << seen;
}

TEST_F(WarehouseRegisterTest, TurnoverSumsTheLinesByGoodsAndFiltersTheQuantity) {
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  for (const char* code : {"T1", "T2", "T3"}) AppendNamed(Z5TOWA, {{"KOD", code}, {"NA1", code}, {"STA", "A"}});
  d4close(Z5TOWA.table);
  struct Seed {
    const char* code;
    const char* quantity;
    const char* net;
  };
  for (const Seed& l : {Seed{"T1", "2", "20"}, Seed{"T1", "3", "30"}, Seed{"T2", "1", "7"}, Seed{"XX", "5", "1"}})
    AppendNamed(Z5MAPE, {{"KOT", l.code}, {"ILO", l.quantity}, {"WAN", l.net}, {"WAB", l.net}, {"REK", "1"}});
  stronaMagazynu = &STRONA_PRZYJEC;
  open_envr_win();   // the amount is asked on the status row
  // The list, then " Filtry " with 0: goods without turnover hidden.
  RunUntilEsc([] { return obroty_towarow(Z5MAPE.table, 1); }, "{F9}f{ENTER}{F9}{ESC}");
  close_envr_win();
  stronaMagazynu = nullptr;
  EXPECT_TRUE(Shown("Obroty towarów - przyjęcia")) << seen;
  EXPECT_NE(seen.find("T1"), std::string::npos) << seen;
  size_t filtered = seen.rfind("Obroty towarów");
  ASSERT_NE(filtered, std::string::npos);
  std::string after = seen.substr(filtered);
  EXPECT_NE(after.find("5.0000"), std::string::npos) << after;
  EXPECT_NE(after.find("50.00"), std::string::npos) << after;
  EXPECT_EQ(after.find("T3"), std::string::npos) << after;
  EXPECT_EQ(seen.substr(0, filtered).find("XX"), std::string::npos) << "a code not in the catalogue is passed over";
}

TEST_F(WarehouseRegisterTest, TheReceiptsSearchANumberOnItsOwn) {
  for (const char* number : {"1", "2", "3"})
    AppendNamed(Z5MAPR, {{"NUM", number}, {"DAT", "20260310"}, {"REC", number}, {"NA1", std::string("DOK") + number}});
  // " Szukaj " > " Numer ": 2; the list stands on it.
  RunUntilEsc(przyjecia_magazynowe, "sn2{ENTER}{F9}{ESC}{ESC}");
  EXPECT_TRUE(Shown("DOK2")) << seen;
  EXPECT_EQ(d4recno(Z5MAPR.table), 2);
}

TEST_F(WarehouseRegisterTest, TwoWorkstationsSavingAtOnceTakeEveryNumberAndIdentityOnce) {
  constexpr int PER_STATION = 8;
  pid_t stations[2];
  for (pid_t& station : stations) {
    station = fork();
    ASSERT_GE(station, 0);
    if (station == 0) {
      // Own opens of the files, so that its locks are its own.
      d4close_all(&env->engine);
      if (OpenZ5MAPR(0) != 0 || OpenZ5MAPE(0) != 0) _exit(2);
      std::string keys = "{INS}";
      for (int i = 0; i < PER_STATION; i++) keys += "{F2}t";
      keys += "{ESC}{ESC}{ESC}";   // the next new document left, then the register
      if (HeadlessSetScript(keys.c_str()) != 0) _exit(3);
      try {
        przyjecia_magazynowe();
      } catch (...) {
        _exit(4);
      }
      _exit(HeadlessKeysLeft() == 0 ? 0 : 5);
    }
  }
  for (pid_t station : stations) {
    int status = 0;
    waitpid(station, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  DbTable* headers = Z5MAPR.table;
  ASSERT_EQ(d4reccount(headers), 2 * PER_STATION + 2) << "each left one new document, deleted";
  std::set<long> recs, numbers;
  for (long r = 1; r <= d4reccount(headers); r++) {
    ASSERT_EQ(d4go(headers, r), 0);
    recs.insert(f4long(d4field(headers, "REC")));
    if (!d4deleted(headers)) numbers.insert(f4long(d4field(headers, "NUM")));
  }
  EXPECT_EQ(recs.size(), 2u * PER_STATION + 2);
  ASSERT_EQ(numbers.size(), 2u * PER_STATION);
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 2 * PER_STATION);
}

TEST_F(WarehouseRegisterTest, LinesEditedFromTheMenuAreSummedIntoTheHeader) {
  AppendNamed(Z5MAPR, {{"NUM", "1"}, {"DAT", "20260310"}, {"REC", "1"}, {"AKT", "1"}, {"TRY", "1"}});
  for (const char* net : {"10", "2.5"})
    AppendNamed(Z5MAPE, {{"KOT", ""}, {"NA1", "TOWAR"}, {"ILO", "1"}, {"WAN", net}, {"WAV", "1"}, {"WAB", "3"},
                         {"REK", "1"}, {"STP", "N"}});
  // " Modyfikuj " > " Pozycje ", the editor left at once.
  RunUntilEsc(przyjecia_magazynowe, "mp{ESC}{ESC}{F9}{ESC}");
  ASSERT_EQ(d4go(Z5MAPR.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5MAPR.table, "NET")), 12.5);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5MAPR.table, "VAT")), 2);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5MAPR.table, "BRU")), 6);
  EXPECT_EQ(f4long(d4field(Z5MAPR.table, "AKT")), 0) << "the error mark cleared";
}

TEST_F(WarehouseRegisterTest, LineSumsByVatRate) {
  struct Seed {
    const char* code;
    const char* net;
    const char* vat;
  };
  for (const Seed& l : {Seed{"1", "100", "23"}, Seed{"1", "10", "2.3"}, Seed{"4", "50", "0"}, Seed{"12", "7", "0"}})
    AppendNamed(Z5MAPE, {{"VAT", l.code}, {"WAN", l.net}, {"WAV", l.vat},
                         {"WAB", std::to_string(std::stod(l.net) + std::stod(l.vat))}, {"DAT", "20260310"}});
  stronaMagazynu = &STRONA_PRZYJEC;
  // " Suma ": the filter dialog confirmed with F2, the question, the window.
  RunUntilEsc(ewidencja_pozycji_magazynowych, "a{F2}t{F9}{ESC}{ESC}{ESC}");
  stronaMagazynu = nullptr;
  EXPECT_TRUE(Shown("podstawowa        23% lub 22%         110.00        25.30       135.30")) << seen;
  EXPECT_TRUE(Shown("zwolniona                              50.00         0.00        50.00")) << seen;
  EXPECT_TRUE(Shown("RAZEM                                 167.00        25.30       192.30")) << seen;
}

}  // namespace
