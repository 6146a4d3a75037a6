// Byte-range locks between workstations: two open file descriptions of one
// table in this process, and two processes appending at once.
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "db/db_index.h"
#include "db/index_verify.h"
#include "env/code_pages.h"
#include "platform/files.h"
#include "tests/db/db_test_support.h"

namespace {

const std::vector<DbfFieldDef> kFields = {{"NAME", 'C', 8, 0}};

class DbLockTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    DbTable* t = MakeTable("SHARED", kFields, 10);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(d4close(t), 0);
    one = d4open(engine, "SHARED");
    two = d4open(engine, "SHARED");
    ASSERT_TRUE(one && two);
    ASSERT_EQ(PlatFileOpen(Path("SHARED.DBF").c_str(), PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &probe), PLAT_OK);
  }
  void TearDown() override {
    PlatFileClose(probe);
    DbTest::TearDown();
  }
  // Whether a third workstation finds the byte at `offset` locked.
  bool Held(unsigned long offset, unsigned long length = 1) {
    if (PlatFileLock(probe, offset, length, true) == PLAT_LOCKED) return true;
    PlatFileUnlock(probe, offset, length);
    return false;
  }
  DbTable* one = nullptr;
  DbTable* two = nullptr;
  PlatFile probe = PLAT_NO_FILE;
};

TEST_F(DbLockTest, RecordLockSitsBelowTheLockByte) {
  ASSERT_EQ(d4lock(one, 1), 0);
  EXPECT_TRUE(Held(0xEFFFFFFDul));
  EXPECT_FALSE(Held(0xEFFFFFFEul));   // only while the lock is being taken
  EXPECT_FALSE(Held(0xEFFFFFFCul));
  engine->lock_tries = 1;
  EXPECT_EQ(d4lock(two, 1), r4locked);
  EXPECT_EQ(d4lock(two, 2), 0);
  EXPECT_EQ(d4lock_test(one, 1), 1);
  EXPECT_EQ(d4lock_test(two, 1), 0);
  EXPECT_EQ(engine->error_code, 0);
}

TEST_F(DbLockTest, LockingAnotherRecordReleasesTheFirst) {
  ASSERT_EQ(d4lock(one, 3), 0);
  ASSERT_EQ(d4lock(one, 5), 0);
  EXPECT_FALSE(Held(db_lock_record_offset(3)));
  EXPECT_TRUE(Held(db_lock_record_offset(5)));
  EXPECT_EQ(one->lock_count, 1);
}

TEST_F(DbLockTest, RefusedLockIsTriedLockTriesTimesOneSecondApart) {
  ASSERT_EQ(d4lock(one, 7), 0);
  struct Case {
    int tries, waits;
  };
  for (Case c : {Case{5, 4}, Case{1, 0}, Case{0, 0}}) {
    engine->lock_tries = c.tries;
    screen.waitedMs = 0;
    EXPECT_EQ(d4lock(two, 7), r4locked) << c.tries;
    EXPECT_EQ(screen.waitedMs, c.waits * 1000) << c.tries;
  }
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_EQ(engine->error_code, 0);
}

TEST_F(DbLockTest, SetLockShowsTheNoticeAfterAFullRoundAndStopsOnEsc) {
  engine->lock_tries = 5;
  EXPECT_EQ(set_lock(two, 7), 0);
  EXPECT_EQ(screen.noticeCount, 0);
  ASSERT_EQ(d4unlock(two), 0);

  ASSERT_EQ(d4lock(one, 7), 0);
  screen.keys = {'x', SCREEN_KEY_ESC};
  screen.waitedMs = 0;
  EXPECT_EQ(set_lock(two, 7), r4locked);
  ASSERT_EQ(screen.noticeCount, 1);
  EXPECT_EQ(screen.shown[0].title, Utf8ToMazText("SIEĆ"));
  EXPECT_EQ(screen.shown[0].text, Utf8ToMazText("Oczekiwanie na dostęp do danych."));
  EXPECT_FALSE(screen.noticeVisible);
  EXPECT_TRUE(screen.keys.empty());
  EXPECT_EQ(screen.waitedMs, 3 * 4000);   // three rounds: the first, after 'x', after Esc
}

TEST_F(DbLockTest, AppendLockAndWholeTableLockExcludeEachOther) {
  engine->lock_tries = 1;
  ASSERT_EQ(d4lock_append(one), 0);
  EXPECT_TRUE(Held(0xEFFFFFFFul));
  EXPECT_EQ(d4lock_append(two), r4locked);
  EXPECT_EQ(d4lock_file(two), r4locked);
  ASSERT_EQ(d4unlock(one), 0);
  ASSERT_EQ(d4lock_file(two), 0);
  EXPECT_TRUE(Held(0x40000000ul));
  EXPECT_TRUE(Held(0xEFFFFFFDul));
  EXPECT_EQ(d4lock(one, 4), r4locked);
  EXPECT_EQ(d4lock_test(two, 4), 1);
  EXPECT_EQ(d4lock_test_append(two), 1);
}

TEST_F(DbLockTest, GroupLockCountsRoundsWithTheCallersSetting) {
  ASSERT_EQ(d4lock(one, 6), 0);
  engine->lock_tries = 3;
  const long wanted[] = {2, 4, 6};
  screen.waitedMs = 0;
  EXPECT_EQ(d4lock_group(two, wanted, 3), r4locked);
  EXPECT_EQ(screen.waitedMs, 3 * 1000);    // three further rounds
  EXPECT_EQ(engine->lock_tries, 3);
  EXPECT_EQ(two->lock_count, 0);
  EXPECT_FALSE(Held(db_lock_record_offset(2)));
  EXPECT_FALSE(Held(0xEFFFFFFEul));
  ASSERT_EQ(d4unlock(one), 0);
  ASSERT_EQ(d4lock_group(two, wanted, 3), 0);
  for (long n : wanted) EXPECT_TRUE(Held(db_lock_record_offset(n)));
  EXPECT_EQ(d4lock_test(two, 4), 1);
  ASSERT_EQ(d4unlock(two), 0);
  for (long n : wanted) EXPECT_FALSE(Held(db_lock_record_offset(n)));
}

TEST_F(DbLockTest, IndexLockCountsRoundsWithTheCallersSetting) {
  WriteFile(Path("SHARED.MDX"), "");
  DbIndex index{};
  ASSERT_EQ(file4open(&index.file, engine, "SHARED.MDX", 1), 0);
  index.table = one;
  index.engine = engine;
  l4add(&one->indexes, &index);
  PlatFile other = PLAT_NO_FILE;
  ASSERT_EQ(PlatFileOpen(Path("SHARED.MDX").c_str(), PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &other), PLAT_OK);
  ASSERT_EQ(PlatFileLock(other, DB_LOCK_INDEX, 1, true), PLAT_OK);
  EXPECT_EQ(d4lock_test_index(one), 0);
  engine->lock_tries = 2;
  screen.waitedMs = 0;
  EXPECT_EQ(d4lock_index(one), r4locked);
  EXPECT_EQ(screen.waitedMs, 2 * 1000);    // two further rounds
  EXPECT_EQ(engine->lock_tries, 2);
  EXPECT_EQ(index.locked, 0);
  PlatFileClose(other);
  l4remove(&one->indexes, &index);
  file4close(&index.file);
}

TEST_F(DbLockTest, UnlockReleasesEverythingEvenWhenTheWriteFails) {
  ASSERT_EQ(d4lock_append(one), 0);
  ASSERT_EQ(d4go(one, 2), 0);
  ASSERT_EQ(d4lock(one, 2), 0);
  ASSERT_EQ(d4lock_append(one), 0);
  f4assign(d4field(one, "NAME"), "pending");
  engine->error_code = e4write;     // an earlier failure: the record cannot be written now
  EXPECT_EQ(d4unlock(one), -1);
  EXPECT_FALSE(Held(0xEFFFFFFFul));
  e4set_code(engine, 0);
  EXPECT_EQ(d4lock_append(two), 0);
}

TEST_F(DbLockTest, ExclusiveTableShutsOthersOutAndLocksWithoutAsking) {
  ASSERT_EQ(d4lock(one, 1), 0);
  engine->exclusive = 1;
  EXPECT_EQ(d4open(engine, "SHARED"), nullptr);    // another workstation holds a lock in it
  e4set_code(engine, 0);
  d4close(one);
  d4close(two);
  DbTable* t = d4open(engine, "SHARED");
  engine->exclusive = 0;
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(d4lock_test(t, 9), 1);
  EXPECT_EQ(d4lock_test_file(t), 1);
  EXPECT_EQ(d4lock_test_append(t), 1);
  EXPECT_EQ(d4lock_test_index(t), 1);
  ASSERT_EQ(d4lock(t, 9), 0);
  ASSERT_EQ(d4lock_file(t), 0);
  ASSERT_EQ(d4unlock(t), 0);
  // Every byte of the protocol stays denied to other workstations until it closes.
  EXPECT_TRUE(Held(db_lock_record_offset(9)));
  EXPECT_TRUE(Held(0xEFFFFFFFul));
  d4close(t);
  EXPECT_FALSE(Held(0xEFFFFFFFul));
}

TEST_F(DbLockTest, AppendsFromTwoWorkstationsTakeSuccessiveNumbers) {
  ASSERT_EQ(d4append_start(one, 0), 0);
  f4assign(d4field(one, "NAME"), "one");
  ASSERT_EQ(d4append(one), 0);
  ASSERT_EQ(d4append_start(two, 0), 0);
  f4assign(d4field(two, "NAME"), "two");
  ASSERT_EQ(d4append(two), 0);
  EXPECT_EQ(d4recno(one), 11);
  EXPECT_EQ(d4recno(two), 12);
  EXPECT_EQ(d4reccount(one), 12);
  ASSERT_EQ(d4go(one, 12), 0);
  EXPECT_EQ(FieldText(one, 1), "two     ");
}

int calls_before = 0, calls_after = 0, after_argument = -1;
int refuse(int) { return calls_before++, 1; }
int accept(int) { return calls_before++, 0; }
int note(int appended) { return calls_after++, after_argument = appended, 0; }

TEST_F(DbLockTest, LockAndAppendRunsItsStepsAndUnlocks) {
  calls_before = calls_after = 0;
  EXPECT_EQ(lock_and_append(one, refuse, note), -1);
  EXPECT_EQ(after_argument, 0);
  EXPECT_EQ(d4reccount(one), 10);
  EXPECT_FALSE(Held(0x40000000ul));
  f4assign(d4field(one, "NAME"), "added");
  EXPECT_EQ(lock_and_append(one, accept, note), 0);
  EXPECT_EQ(after_argument, 1);
  EXPECT_EQ(calls_before, 2);
  EXPECT_EQ(calls_after, 2);
  EXPECT_EQ(d4reccount(two), 11);
  EXPECT_FALSE(Held(0x40000000ul));
  EXPECT_FALSE(Held(db_lock_record_offset(11)));
  // A refused table lock runs no step.
  engine->lock_tries = 1;
  ASSERT_EQ(d4lock(two, 1), 0);
  screen.keys = {SCREEN_KEY_ESC};
  EXPECT_EQ(lock_and_append(one, accept, note), r4locked);
  EXPECT_EQ(calls_before, 2);
}

TEST_F(DbLockTest, AppendLeavesTheRecordItStartedFromAsItWas) {
  ASSERT_EQ(d4go(one, 3), 0);
  const std::string stored = FieldText(one, 1);
  f4assign(d4field(one, "NAME"), "new");
  ASSERT_EQ(lock_and_append(one, nullptr, nullptr), 0);
  EXPECT_EQ(d4recno(one), 11);
  ASSERT_EQ(d4go(two, 3), 0);
  EXPECT_EQ(FieldText(two, 1), stored);
  ASSERT_EQ(d4go(two, 11), 0);
  EXPECT_EQ(FieldText(two, 1), "new     ");
}

TEST_F(DbLockTest, WriteAndUnlockAndGoAndLock) {
  ASSERT_EQ(go_and_lock(one, 3), 0);
  EXPECT_TRUE(Held(db_lock_record_offset(3)));
  f4assign(d4field(one, "NAME"), "written");
  ASSERT_EQ(write_and_unlock(one), 0);
  EXPECT_FALSE(Held(db_lock_record_offset(3)));
  ASSERT_EQ(d4go(two, 3), 0);
  EXPECT_EQ(FieldText(two, 1), "written ");
}

// Under the whole-table lock nobody else can change a record, so a scan
// reads each block once; a record lock alone still reads the disk.
TEST_F(DbLockTest, LockedRecordsComeFromDiskOnlyOutsideAWholeTableLock) {
  if (!engine->cache.started) GTEST_SKIP() << "counts the block cache's reads";
  DbTable* big = MakeTable("BIG", kFields, 400);
  ASSERT_NE(big, nullptr);
  ASSERT_EQ(d4lock_file(big), 0);
  unsigned long before = engine->cache.disk_reads;
  int seen = 0;
  for (int r = d4top(big); r == 0; r = d4skip(big, 1)) seen++;
  EXPECT_EQ(seen, 400);
  long blocks = (d4record_position(big, 401) + engine->block_size - 1) / engine->block_size;
  // Each block once, and the end again for the step past the last record.
  EXPECT_LE((long)(engine->cache.disk_reads - before), blocks + 2);
  ASSERT_EQ(d4unlock(big), 0);

  ASSERT_EQ(d4go(one, 3), 0);                 // its block is cached now
  ASSERT_EQ(d4go(two, 3), 0);
  f4assign(d4field(two, "NAME"), "other");
  ASSERT_EQ(d4unlock(two), 0);
  ASSERT_EQ(d4lock(one, 3), 0);
  ASSERT_EQ(d4go(one, 3), 0);
  EXPECT_EQ(FieldText(one, 1), "other   ");
}

// The end block of a shared file grows through another description: the
// first reads the new record and appends after it without covering it.
TEST_F(DbLockTest, RecordsAppendedThroughAnotherDescriptionAreSeenAndKept) {
  ASSERT_EQ(d4go(one, 10), 0);
  ASSERT_EQ(d4append_start(two, 0), 0);
  f4assign(d4field(two, "NAME"), "eleven");
  ASSERT_EQ(d4append(two), 0);
  ASSERT_EQ(d4unlock(two), 0);
  ASSERT_EQ(d4go(one, 11), 0);
  EXPECT_EQ(FieldText(one, 1), "eleven  ");
  ASSERT_EQ(d4append_start(one, 0), 0);
  f4assign(d4field(one, "NAME"), "twelve");
  ASSERT_EQ(d4append(one), 0);
  ASSERT_EQ(d4unlock(one), 0);
  std::string f = ReadFile(Path("SHARED.DBF"));
  size_t header = Le16(f, 8), width = d4record_width(one);
  EXPECT_EQ(f.substr(header + 10 * width, width), " eleven  ");
  EXPECT_EQ(f.substr(header + 11 * width, width + 1), " twelve  \x1A");
  EXPECT_EQ(Le32(f, 4), 12u);
}

// Two processes append through the append protocol at the same time; the
// fixed clock makes every retry wait immediate.
TEST_F(DbLockTest, TwoProcessesAppendWithoutLosingOrDoublingRecords) {
  d4close(one);
  d4close(two);
  const int per_process = 5000;
  pid_t children[2];
  for (int c = 0; c < 2; c++) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int code = 1;
      try {
        engine->lock_tries = -1;
        DbTable* t = d4open(engine, "SHARED");
        int appended = 0;
        for (int i = 0; t != nullptr && i < per_process; i++) {
          if (d4append_start(t, 0) != 0) break;
          f4assign(d4field(t, "NAME"), (std::to_string(c) + ":" + std::to_string(i)).c_str());
          if (d4append(t) != 0) break;
          appended++;
        }
        if (t != nullptr && d4close(t) == 0 && appended == per_process) code = 0;
      } catch (...) {
        code = 2;
      }
      _exit(code);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  DbTable* t = d4open(engine, "SHARED");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4reccount(t), 10 + 2 * per_process);
  std::set<std::string> seen;
  int rows = 0;
  for (int r = d4go(t, 11); r == 0; r = d4skip(t, 1), rows++) seen.insert(FieldText(t, 1));
  EXPECT_EQ(rows, 2 * per_process);
  EXPECT_EQ(seen.size(), (size_t)(2 * per_process));
  std::string f = ReadFile(Path("SHARED.DBF"));
  EXPECT_EQ(f.size(), Le16(f, 8) + (10 + 2 * per_process) * d4record_width(t) + 1);
}

}  // namespace

namespace {

// A workstation keeps what it has cached of an index from its unlock to its
// next lock (one header read tells it nobody wrote meanwhile); another
// workstation's changes in between are seen, also after as many of them as
// bring each tag's one-byte counter round to where it was.
TEST_F(DbTest, AKeptIndexIsReadAgainAfterAnotherWorkstationsChanges) {
  DbfFieldDef fields[] = {{"NAME", 'C', 8, 0}, {nullptr, 0, 0, 0}};
  DbfTagDef tags[] = {{"NAME", "NAME", nullptr, 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  DbTable* one = d4create(engine, "KEPT", fields, tags);
  ASSERT_NE(one, nullptr);
  auto append = [](DbTable* t, const char* name) {
    ASSERT_EQ(d4append_start(t, 0), 0);
    d4blank(t);
    f4assign(d4field(t, "NAME"), name);
    ASSERT_EQ(d4append(t), 0);
    ASSERT_EQ(d4unlock(t), 0);
  };
  append(one, "A1");
  DbIndex* index = (DbIndex*)l4first(&one->indexes);
  unsigned long reads = index->file.disk_reads;
  append(one, "A2");
  if (index->file.cached) {
    EXPECT_LE(index->file.disk_reads - reads, 1u) << "only the header";
  }

  DbTable* two = d4open(engine, "KEPT");
  ASSERT_NE(two, nullptr);
  d4alias_set(two, (char*)std::string("TWO").data());
  // Each change raises the tag's counter twice: 128 of them bring it round.
  for (int i = 0; i < 128; i++) {
    ASSERT_EQ(d4go(two, 1), 0);
    f4assign(d4field(two, "NAME"), i % 2 ? "B1" : "B0");
    ASSERT_EQ(d4unlock(two), 0);
  }
  append(one, "A3");
  char report[300];
  EXPECT_EQ(d4verify(one, report, sizeof report), 0) << report;
  d4tag_select(one, d4tag(one, "NAME"));
  EXPECT_EQ(d4seek(one, "B1"), 0);
  EXPECT_EQ(d4recno(one), 1);
  EXPECT_NE(d4seek(one, "A1"), 0);
  ASSERT_EQ(d4close(two), 0);
  ASSERT_EQ(d4close(one), 0);
}

}  // namespace
