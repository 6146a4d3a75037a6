// Filtered scans: the x4 moves, saving and restoring a table around work,
// the fragment search of a browse list and the key-exists check.
#include <cstring>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "env/code_pages.h"
#include "tests/db/db_test_support.h"

namespace {

const char* const kNames[] = {"ALA", "bolek", "Mala", "OLA", "zenon", "ALAN", "celina", "halina", "ola", "Wala"};
constexpr int kRecords = 10;

DbTable* g_table = nullptr;
int NumOf() { return (int)f4long(d4field(g_table, "NUM")); }
// Accepts records whose NUM is a multiple of `user`.
int MultipleOf(intptr_t user) { return NumOf() % user == 0 ? X4_ACCEPT : X4_REJECT; }
int RejectAll(intptr_t) { return X4_REJECT; }
// Stops with the user's answer on record 3.
int StopAtThree(intptr_t user) { return NumOf() == 3 ? int(user) : X4_ACCEPT; }
// The user value is the address of the divisor: it must reach the filter whole.
int MultipleOfPointed(intptr_t user) { return MultipleOf(*reinterpret_cast<const int*>(user)); }
// The filter is asked on the blank record at the end of file too.
int BlankRejected(intptr_t user) { return NumOf() == 0 ? X4_REJECT : MultipleOf(user); }

class ScanTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    std::vector<DbfFieldDef> fields = {{"NUM", 'N', 3, 0}, {"NAME", 'C', 10, 0}, {nullptr, 0, 0, 0}};
    std::vector<DbfTagDef> tags = {{"NAME", "NAME", ".NOT.DELETED()", 0, 0},
                                   {"NUM", "NUM", ".NOT.DELETED()", 0, 0},
                                   {nullptr, nullptr, nullptr, 0, 0}};
    table = d4create(engine, "SCAN", fields.data(), tags.data());
    ASSERT_NE(table, nullptr);
    for (int i = 1; i <= kRecords; i++) {
      d4append_start(table, 0);
      d4blank(table);
      f4assign_long(d4field(table, "NUM"), i);
      f4assign(d4field(table, "NAME"), kNames[i - 1]);
      ASSERT_EQ(d4append(table), 0);
    }
    d4unlock(table);
    g_table = table;
  }
  int Num() { return NumOf(); }
  DbTag* Tag(const char* name) { return d4tag(table, name); }
  std::vector<std::string> Warnings() const {
    std::vector<std::string> out;
    for (const auto& s : screen.shown)
      if (s.what == "box" && s.title == "UWAGA") out.push_back(s.text);
    return out;
  }

  DbTable* table = nullptr;
  DbScanCtx scan{};
};

TEST_F(ScanTest, WithoutAFilterTheMovesAreTheTableMoves) {
  x4init(&scan, table, nullptr, 0);
  EXPECT_EQ(x4top(&scan), 0);
  EXPECT_EQ(Num(), 1);
  EXPECT_EQ(x4skip(&scan, 3), 0);
  EXPECT_EQ(Num(), 4);
  EXPECT_EQ(x4skip(&scan, 20), r4eof);
  EXPECT_EQ(x4bottom(&scan), 0);
  EXPECT_EQ(Num(), kRecords);
}

TEST_F(ScanTest, MovesPassOverRejectedRecordsInBothOrders) {
  for (const char* tag : {(const char*)nullptr, "NUM"}) {
    SCOPED_TRACE(tag ? tag : "record order");
    d4tag_select(table, tag ? Tag(tag) : nullptr);
    x4init(&scan, table, MultipleOf, 3);
    ASSERT_EQ(x4top(&scan), 0);
    EXPECT_EQ(Num(), 3);
    EXPECT_EQ(x4skip(&scan, 2), 0);
    EXPECT_EQ(Num(), 9);
    EXPECT_EQ(x4skip(&scan, -1), 0);
    EXPECT_EQ(Num(), 6);
    // Backward from the first accepted record: 4, and that record stays current.
    ASSERT_EQ(x4top(&scan), 0);
    EXPECT_EQ(x4skip(&scan, -1), r4bof);
    EXPECT_EQ(Num(), 3);
    EXPECT_TRUE(d4bof(table));
    // Forward past the last accepted record: end of file.
    ASSERT_EQ(x4bottom(&scan), 0);
    EXPECT_EQ(Num(), 9);
    EXPECT_EQ(x4skip(&scan, 1), r4eof);
    EXPECT_TRUE(d4eof(table));
  }
}

TEST_F(ScanTest, TheUserValueCarriesAPointerToTheFilter) {
  static int divisor = 4;
  auto* heapDivisor = new int(5);
  for (const int* divisorAt : {(const int*)&divisor, (const int*)heapDivisor}) {
    x4init(&scan, table, MultipleOfPointed, reinterpret_cast<intptr_t>(divisorAt));
    ASSERT_EQ(x4top(&scan), 0);
    EXPECT_EQ(Num(), *divisorAt);
    EXPECT_EQ(x4skip(&scan, 1), 0);
    EXPECT_EQ(Num(), 2 * *divisorAt);
  }
  delete heapDivisor;
}

TEST_F(ScanTest, AllRejectedGivesEndOfFileWithBofAndEof) {
  x4init(&scan, table, RejectAll, 0);
  for (int (*move)(DbScanCtx*) : {x4top, x4bottom}) {
    EXPECT_EQ(move(&scan), r4eof);
    EXPECT_TRUE(d4eof(table));
    EXPECT_TRUE(d4bof(table));
  }
}

TEST_F(ScanTest, GoToARejectedRecordLeavesItCurrent) {
  x4init(&scan, table, MultipleOf, 2);
  EXPECT_EQ(x4go(&scan, 3), r4entry);
  EXPECT_EQ(d4recno(table), 3);
  EXPECT_EQ(x4go(&scan, 4), 0);
  // At the end of file the filter is asked once; a rejection is still the end.
  x4init(&scan, table, BlankRejected, 2);
  EXPECT_EQ(x4go_eof(&scan), r4eof);
  x4init(&scan, table, StopAtThree, 27);
  EXPECT_EQ(x4go(&scan, 3), 27);
}

TEST_F(ScanTest, StopAnswerEndsASkipAndIsReturned) {
  x4init(&scan, table, StopAtThree, 27);
  ASSERT_EQ(x4top(&scan), 0);
  EXPECT_EQ(x4skip(&scan, 5), 27);
  EXPECT_EQ(Num(), 3);
  // The stop ends the search for the first accepted record as well.
  d4tag_select(table, Tag("NUM"));
  ASSERT_EQ(d4go(table, 5), 0);
  EXPECT_EQ(x4skip(&scan, -4), 27);
  EXPECT_EQ(Num(), 3);
}

TEST_F(ScanTest, FilteredSeekComparesTheAcceptedRecordsKey) {
  d4tag_select(table, Tag("NAME"));
  x4init(&scan, table, MultipleOf, 1);
  EXPECT_EQ(x4seek(&scan, "hal"), 0);      // a prefix of "halina"
  EXPECT_EQ(Num(), 8);
  EXPECT_EQ(x4seek(&scan, "ALB"), r4after);    // no prefix: the next key, "Mala"
  EXPECT_EQ(Num(), 3);
  // "ALA" (1) is rejected; the accepted record after it is "ALAN" (6), a longer key.
  x4init(&scan, table, MultipleOf, 2);
  EXPECT_EQ(x4seek(&scan, "ALA "), r4after);
  EXPECT_EQ(Num(), 6);
  EXPECT_EQ(x4seek(&scan, "zz"), r4eof);

  d4tag_select(table, Tag("NUM"));
  x4init(&scan, table, MultipleOf, 4);
  EXPECT_EQ(x4seek_double(&scan, 4), 0);
  EXPECT_EQ(x4seek_double(&scan, 5), r4after);
  EXPECT_EQ(Num(), 8);
  EXPECT_EQ(x4seek(&scan, "8"), 0);
  EXPECT_EQ(x4seek(&scan, "7"), r4after);
}

TEST_F(ScanTest, ScanRestoresTagRecordAndBuffer) {
  d4tag_select(table, Tag("NAME"));
  ASSERT_EQ(d4go(table, 7), 0);
  f4assign(d4field(table, "NAME"), "edited");    // a form's bytes, not to be written
  d4changed(table, 0);
  ASSERT_EQ(InitDbScan(&scan, table, MultipleOf, 5, DBSCAN_COPY | DBSCAN_RECORD_ORDER | DBSCAN_TOP), 0);
  EXPECT_EQ(d4tag_selected(table), nullptr);
  EXPECT_EQ(Num(), 5);
  EXPECT_EQ(x4skip(&scan, 1), 0);
  EXPECT_EQ(Num(), 10);
  ASSERT_EQ(DbScan(&scan, DBSCAN_AFTER_WORK), 0);
  EXPECT_EQ(d4tag_selected(table), Tag("NAME"));
  EXPECT_EQ(d4recno(table), 7);
  EXPECT_EQ(FieldText(table, 2), "edited    ");
  EXPECT_EQ(scan.record_copy, nullptr);

  // Without a copy the restore is logged and the buffer kept.
  EXPECT_EQ(DbScan(&scan, DBSCAN_RESTORE), 0);
  EXPECT_TRUE(CriticalShown("ERRCODE(17)"));
  EXPECT_EQ(FieldText(table, 2), "edited    ");
  // No accepted record: 1.
  x4init(&scan, table, RejectAll, 0);
  EXPECT_EQ(DbScan(&scan, DBSCAN_TOP), 1);
}

TEST_F(ScanTest, RefusedLockReturnsTwo) {
  DbTable* other = d4open(engine, "SCAN");
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(d4lock_file(other), 0);
  engine->lock_tries = 1;
  screen.keys = {27};    // Esc ends the wait
  EXPECT_EQ(InitDbScan(&scan, table, nullptr, 0, DBSCAN_LOCK), 2);
  EXPECT_EQ(d4lock_test_file(table), 0);
  d4close(other);
  EXPECT_EQ(DbScan(&scan, DBSCAN_LOCK), 0);
  EXPECT_EQ(d4lock_test_file(table), 1);
  EXPECT_EQ(DbScan(&scan, DBSCAN_UNLOCK), 0);
  EXPECT_EQ(d4lock_test_file(table), 0);
}

// ---- Locate

struct ViewLog {
  std::vector<long> shown;
  int hintsOn = 0, hintsOff = 0;
};
ViewLog g_view;
const DbLocateView kView = {
    [](long record) {
      g_view.shown.push_back(record);
      return 0;
    },
    [](int on) { (on ? g_view.hintsOn : g_view.hintsOff)++; },
};

const char* NameText() {
  static std::string text;
  DbField* f = d4field(g_table, "NAME");
  text.assign(f4ptr(f), f4len(f));
  return text.c_str();
}

class LocateTest : public ScanTest {
 protected:
  void SetUp() override {
    ScanTest::SetUp();
    g_view = ViewLog{};
    LocateViewInstall(&kView);
  }
  void TearDown() override {
    LocateViewInstall(nullptr);
    ScanTest::TearDown();
  }
};

TEST_F(LocateTest, FindsFragmentsInAnyCaseAndStopsAtTheLastMatch) {
  x4init(&scan, table, nullptr, 0);
  ASSERT_EQ(d4go(table, 2), 0);
  // "ola" matches OLA (4) and ola (9); Down twice: the second Down meets the end.
  screen.keys = {0x5000, 0x5000, 27};
  EXPECT_EQ(Locate(&scan, "ola  ", NameText), 9);
  EXPECT_EQ((std::vector<long>{4, 9, 9}), g_view.shown);
  EXPECT_EQ(Warnings(), std::vector<std::string>{Utf8ToMazText("Więcej nie ma.")});
  EXPECT_EQ(d4recno(table), 9);
  EXPECT_EQ(g_view.hintsOn, 3);
  EXPECT_EQ(g_view.hintsOff, 3);
  // Up goes back to the earlier match.
  g_view = ViewLog{};
  screen.keys = {0x4800, 13};
  EXPECT_EQ(Locate(&scan, "OLA", NameText), 4);
  EXPECT_EQ((std::vector<long>{9, 4}), g_view.shown);
}

TEST_F(LocateTest, SearchTurnsAtTheEndAndReportsNothingFound) {
  // Only records before the start match: the search turns round and finds them.
  x4init(&scan, table, nullptr, 0);
  ASSERT_EQ(d4go(table, 8), 0);
  screen.keys = {27};
  EXPECT_EQ(Locate(&scan, "bol", NameText), 2);
  // A fragment no record holds: "Nie znaleziono." and the starting record.
  screen.shown.clear();
  ASSERT_EQ(d4go(table, 5), 0);
  EXPECT_EQ(Locate(&scan, "xyz", NameText), 5);
  EXPECT_EQ(d4recno(table), 5);
  EXPECT_EQ(Warnings(), std::vector<std::string>{"Nie znaleziono."});
  // The filter hides the matching records.
  x4init(&scan, table, MultipleOf, 5);
  ASSERT_EQ(d4go(table, 5), 0);
  EXPECT_EQ(Locate(&scan, "bol", NameText), 5);
  // No record passes the filter at all: 0.
  x4init(&scan, table, RejectAll, 0);
  EXPECT_EQ(Locate(&scan, "ala", NameText), 0);
}

// ---- ValidUniqueTag

TEST_F(ScanTest, UniqueTagCheckFindsKeysOfOtherRecords) {
  d4tag_select(table, Tag("NUM"));
  ASSERT_EQ(d4go(table, 4), 0);
  struct Case {
    const char* tag;
    const char* key;
    int other;
    int expected;
  } cases[] = {
      {"NAME", "bolek", 0, 1}, {"NAME", "bolek", 1, 1}, {"NAME", "OLA", 0, 1},
      {"NAME", "OLA", 1, 0},   // only the current record holds it
      {"NAME", "nobody", 0, 0}, {"NUM", "4", 1, 0}, {"NUM", "7", 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + " " + c.key);
    screen.shown.clear();
    EXPECT_EQ(ValidUniqueTag(table, Tag(c.tag), c.key, c.other, TextRef("Taki klucz istnieje")), c.expected);
    EXPECT_EQ(Warnings().size(), (size_t)c.expected);
    EXPECT_EQ(d4recno(table), 4);
    EXPECT_EQ(d4tag_selected(table), Tag("NUM"));
  }
}

// The current record may share its key with another record: that one counts.
TEST_F(ScanTest, UniqueTagCheckSeesAnotherHolderBesideTheCurrentRecord) {
  ASSERT_EQ(d4go(table, 6), 0);
  f4assign(d4field(table, "NAME"), "ALA");    // records 1 and 6 now hold "ALA"
  ASSERT_EQ(d4flush(table), 0);
  ASSERT_EQ(d4go(table, 1), 0);
  EXPECT_EQ(ValidUniqueTag(table, Tag("NAME"), "ALA", 1, TextRef("Taki klucz istnieje")), 1);
  EXPECT_EQ(d4recno(table), 1);
}

// A form's typing in the record buffer is neither written over the current
// record by the look nor lost: the buffer comes back as typed, still changed.
TEST_F(ScanTest, UniqueTagCheckLeavesTheTypedRecordUnwritten) {
  ASSERT_EQ(d4go(table, 3), 0);
  std::string stored(f4ptr(d4field(table, "NAME")), f4len(d4field(table, "NAME")));
  f4assign(d4field(table, "NAME"), "ALA");
  EXPECT_EQ(ValidUniqueTag(table, Tag("NAME"), "ALA", 0, TextRef("Taki klucz istnieje")), 1);
  EXPECT_EQ(d4changed(table, -1), 1);
  EXPECT_EQ(d4recno(table), 3);
  EXPECT_EQ(std::string(f4ptr(d4field(table, "NAME")), 3), "ALA");
  d4changed(table, 0);
  ASSERT_EQ(d4go(table, 3), 0);
  EXPECT_EQ(std::string(f4ptr(d4field(table, "NAME")), f4len(d4field(table, "NAME"))), stored);
}

}  // namespace
