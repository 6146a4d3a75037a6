// Workstations killed inside a change: a shim on the system's positioned
// write kills the process right after its k-th write to the .MDX or the
// .DBF, for every k of one operation. The next workstation to lock the
// index (or open the table) must find the half-made change and mend it;
// every tag then agrees with the records, checked by a walk of the files
// that follows the on-disk layout only, and no committed record is lost.
#include <errno.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "db/index_verify.h"
#include "env/code_pages.h"
#include "tests/db/mdx_test_support.h"

namespace {

int shim_fd = -1;
long shim_left = 0;
bool shim_fails = false;    // the armed write fails (a full disk) instead of killing
bool shim_stops = false;    // the armed write stops the process (a live writer caught mid-change)

}  // namespace

// Every positioned write of the process passes here; once armed, the k-th
// write to the chosen descriptor is the last thing the process does.
extern "C" ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  if (fd == shim_fd && shim_fails) {
    errno = ENOSPC;
    return -1;
  }
  ssize_t done = syscall(SYS_pwrite64, fd, buffer, count, offset);
  if (fd == shim_fd && done >= 0 && --shim_left == 0) raise(shim_stops ? SIGSTOP : SIGKILL);
  return done;
}

namespace {

enum Op { KEY_CHANGE, APPEND, DELETE };
enum Target { MDX, DBF };

const std::vector<DbfFieldDef> kFields = {{"KEY", 'C', 8, 0}, {"NAME", 'C', 10, 0}, {nullptr, 0, 0, 0}};
constexpr int kRecords = 300;

std::string key_text(long i) {
  char text[16];
  std::snprintf(text, sizeof text, "K%07ld", i * 7919 % 10000000);
  return text;
}

class CrashTest : public MdxTest {
 protected:
  void SetUp() override {
    MdxTest::SetUp();
    engine->lock_tries = -1;
    auto tags = Tags({{"K", "KEY", nullptr, 0, 0}, {"L", "NAME", ".NOT.DELETED()", 0, 0}, {"U", "NAME+KEY", nullptr, 0, 0}});
    DbTable* t = d4create(engine, "CRASH", kFields.data(), tags.data());
    ASSERT_NE(t, nullptr);
    for (long i = 1; i <= kRecords; i++) ASSERT_EQ(Append(t, {key_text(i), "N" + std::to_string(i % 97)}), 0);
    ASSERT_EQ(d4close(t), 0);
  }

  // One change of a workstation: new texts for a record, an append, or a deletion.
  int RunOp(DbTable* t, Op op, long n, long salt) {
    // Lock waits of the fixed clock return at once; their count must not run over.
    screen.waitedMs = 0;
    if (op == APPEND) {
      d4append_start(t, 0);
      d4blank(t);
      f4assign(d4field(t, "KEY"), key_text(100000 + salt).c_str());
      f4assign(d4field(t, "NAME"), ("A" + std::to_string(salt % 1000)).c_str());
      if (d4append(t) != 0) return -1;
    } else {
      if (d4go(t, n) != 0) return -1;
      if (op == DELETE) {
        d4deleted(t) ? d4recall(t) : d4delete(t);
      } else {
        f4assign(d4field(t, "KEY"), key_text(200000 + salt).c_str());
        f4assign(d4field(t, "NAME"), ("C" + std::to_string(salt % 1000)).c_str());
      }
    }
    return d4unlock(t);
  }

  // The records as the .DBF holds them, read without the engine.
  struct Records {
    size_t header = 0, width = 0;
    long count = 0;
    std::string bytes;
    std::string Record(long n) const { return bytes.substr(header + (size_t)(n - 1) * width, width); }
  };
  Records ReadRecords() {
    Records r;
    r.bytes = ReadFile(Path("CRASH.DBF"));
    r.count = (long)Le32(r.bytes, 4);
    r.header = Le16(r.bytes, 8);
    r.width = Le16(r.bytes, 10);
    return r;
  }

  // Every tag holds exactly the keys its records give, walked from the file.
  void ExpectTagsAgree() {
    Records r = ReadRecords();
    ASSERT_GE(r.bytes.size(), r.header + (size_t)r.count * r.width);
    MdxView view;
    ASSERT_TRUE(view.Load(Path("CRASH.MDX")));
    ASSERT_EQ(view.tags.size(), 3u);
    std::map<std::string, std::vector<std::pair<std::string, long>>> expected;
    for (long n = 1; n <= r.count; n++) {
      std::string record = r.Record(n);
      std::string key = record.substr(1, 8), name = record.substr(9, 10);
      expected["K"].push_back({key, n});
      if (record[0] == ' ') expected["L"].push_back({name, n});
      expected["U"].push_back({name + key, n});
    }
    for (MdxTagView& tag : view.tags) {
      SCOPED_TRACE("tag " + tag.name);
      ASSERT_EQ(tag.error, "");
      std::vector<std::pair<std::string, long>> held;
      for (const MdxEntry& e : tag.keys) held.push_back({e.key, e.record});
      std::vector<std::pair<std::string, long>> want = expected[tag.name];
      std::sort(held.begin(), held.end());
      std::sort(want.begin(), want.end());
      EXPECT_EQ(held.size(), want.size());
      EXPECT_TRUE(held == want);
    }
  }

  int RebuildsShown() const {
    std::string word = Utf8ToMazText("odbudowany");
    int count = 0;
    for (const auto& s : screen.shown)
      if (s.text.find(word) != std::string::npos) count++;
    return count;
  }

  // Runs one operation in a child that dies right after its k-th write to
  // the target file; false when the operation finished with fewer writes.
  bool KilledChild(Op op, Target target, long k, long n, long salt) {
    pid_t child = Child(op, target, k, n, salt);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return false;
  }
  pid_t Child(Op op, Target target, long k, long n, long salt) {
    pid_t child = fork();
    if (child == 0) {
      DbTable* t = d4open(engine, "CRASH");
      if (t == nullptr) _exit(3);
      DbIndex* index = (DbIndex*)l4first(&t->indexes);
      shim_fd = target == MDX ? index->file.handle : t->file.handle;
      shim_left = k;
      _exit(RunOp(t, op, n, salt) == 0 ? 0 : 4);
    }
    return child;
  }
};

TEST_F(CrashTest, EveryWriteOfAChangeKilledIsMendedByTheNextWorkstation) {
  long salt = 0;
  int kills = 0;
  for (Op op : {KEY_CHANGE, APPEND, DELETE}) {
    for (Target target : {MDX, DBF}) {
      for (long k = 1;; k++) {
        SCOPED_TRACE("operation " + std::to_string(op) + ", file " + std::to_string(target) + ", write " +
                     std::to_string(k));
        ASSERT_LT(k, 60) << "an operation that never ends";
        // Every other round the next workstation opens the table after the
        // kill; otherwise it has it open already and only locks the index.
        bool open_after = k % 2 == 0;
        DbTable* next = open_after ? nullptr : d4open(engine, "CRASH");
        Records before = ReadRecords();
        long n = 1 + (salt * 37) % before.count;
        bool killed = KilledChild(op, target, k, n, ++salt);
        if (open_after) {
          next = d4open(engine, "CRASH");
          ASSERT_NE(next, nullptr);
        } else {
          ASSERT_EQ(d4lock_index(next), 0);
          ASSERT_EQ(d4unlock(next), 0);
        }
        ASSERT_EQ(engine->error_code, 0);
        ExpectTagsAgree();
        char report[300];
        EXPECT_EQ(d4verify(next, report, sizeof report), 0) << report;
        // Nothing committed is lost: every other record stands as it was.
        Records after = ReadRecords();
        EXPECT_GE(after.count, before.count);
        EXPECT_LE(after.count, before.count + 1);
        for (long i = 1; i <= before.count; i++) {
          if (i == n && op != APPEND) continue;
          ASSERT_EQ(after.Record(i), before.Record(i)) << "record " << i;
        }
        ASSERT_EQ(d4close(next), 0);
        if (!killed) break;
        kills++;
      }
    }
  }
  EXPECT_GT(kills, 12);
  // The kills between the key writes and the record left tags that disagreed.
  EXPECT_GE(RebuildsShown(), 3);
}

// A record that cannot be written after its keys were (a full disk) leaves
// the change marked when its workstation closes; the next one mends it.
TEST_F(CrashTest, RecordWriteFailureLeavesTheChangeForTheNextWorkstation) {
  DbTable* t = d4open(engine, "CRASH");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4go(t, 7), 0);
  f4assign(d4field(t, "KEY"), "ZFAILED");
  shim_fd = t->file.handle;
  shim_fails = true;
  EXPECT_NE(d4flush(t), 0);
  shim_fd = -1;
  shim_fails = false;
  e4set_code(engine, 0);
  d4close(t);
  e4set_code(engine, 0);
  EXPECT_NE(ReadFile(Path("CRASH.MRK")).find('\1'), std::string::npos);
  DbTable* next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(RebuildsShown(), 1);
  ExpectTagsAgree();
  ASSERT_EQ(d4close(next), 0);
}

// A program that keeps no marks died between its record and the count:
// the next append, at the same number, takes the dead record's keys out first.
TEST_F(CrashTest, AppendOverADeadAppendersRecordLeavesNoStaleKey) {
  DbTable* next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  ASSERT_TRUE(KilledChild(APPEND, DBF, 1, 0, 1));
  EXPECT_EQ(ReadRecords().count, kRecords);
  WriteFile(Path("CRASH.MRK"), std::string(64, '\0'));
  ASSERT_EQ(RunOp(next, APPEND, 0, 2), 0);
  EXPECT_EQ(ReadRecords().count, kRecords + 1);
  ExpectTagsAgree();
  EXPECT_EQ(RebuildsShown(), 0);
  ASSERT_EQ(d4close(next), 0);
}

// A workstation that died between its appended record and the count left
// a record past the count, which readers going to the end-of-file mark would
// list: the next one cuts the file there and says so in Polish alone. While
// the appender still lives, its record is not touched, though another dead
// writer's mark asks for a check.
TEST_F(CrashTest, TheFileEndsAtItsCountAfterADeadAppender) {
  DbTable* next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  Records before = ReadRecords();
  size_t counted_end = before.header + (size_t)kRecords * before.width;
  shim_stops = true;
  pid_t appender = Child(APPEND, DBF, 1, 0, 1);
  shim_stops = false;
  int status = 0;
  ASSERT_EQ(waitpid(appender, &status, WUNTRACED), appender);
  ASSERT_TRUE(WIFSTOPPED(status));
  std::string during = ReadFile(Path("CRASH.DBF"));
  ASSERT_EQ(during.size(), counted_end + before.width + 1);
  // Another writer died meanwhile: its mark stands on a slot nobody holds.
  std::string marks = ReadFile(Path("CRASH.MRK"));
  marks.resize(std::max<size_t>(marks.size(), 8), '\0');
  marks[5] = '\1';
  WriteFile(Path("CRASH.MRK"), marks);
  engine->lock_tries = 1;
  EXPECT_EQ(d4lock_index(next), r4locked);
  EXPECT_EQ(ReadFile(Path("CRASH.DBF")), during) << "a live appender's record";

  kill(appender, SIGKILL);
  ASSERT_EQ(waitpid(appender, &status, 0), appender);
  engine->lock_tries = -1;
  ASSERT_EQ(d4lock_index(next), 0);
  ASSERT_EQ(d4unlock(next), 0);
  Records after = ReadRecords();
  EXPECT_EQ(after.count, kRecords);
  ASSERT_EQ(after.bytes.size(), counted_end + 1);
  EXPECT_EQ(after.bytes.back(), '\x1A');
  EXPECT_EQ(after.bytes.substr(0, counted_end), before.bytes.substr(0, counted_end));
  ExpectTagsAgree();
  ASSERT_EQ(screen.shown.size(), 1u);
  const std::string& told = screen.shown[0].text;
  EXPECT_NE(told.find(Utf8ToMazText("rekord ten został odcięty")), std::string::npos) << told;
  EXPECT_NE(told.find(Utf8ToMazText("został odbudowany")), std::string::npos) << told;
  for (const char* english : {"record", "key", "count"}) EXPECT_EQ(told.find(english), std::string::npos) << told;
  ASSERT_EQ(d4close(next), 0);
}

// Four workstations keep changing one table while a fifth dies inside a
// change; they end without an error and leave files that agree.
TEST_F(CrashTest, SurvivorsOfAKilledWorkstationFinishWithConsistentFiles) {
  std::mt19937 random(1210);
  for (int round = 0; round < 3; round++) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<pid_t> survivors;
    for (int w = 0; w < 4; w++) {
      unsigned seed = random();
      pid_t child = fork();
      if (child == 0) {
        std::mt19937 mine(seed);
        DbTable* t = d4open(engine, "CRASH");
        if (t == nullptr) _exit(3);
        for (int i = 0; i < 120; i++) {
          long count = d4reccount(t);
          Op op = (Op)(mine() % 3);
          if (count < 1 || RunOp(t, op, 1 + (long)(mine() % (unsigned long)count), (long)(mine() % 100000)) != 0)
            _exit(4);
        }
        _exit(d4close(t) == 0 ? 0 : 5);
      }
      survivors.push_back(child);
    }
    Target target = round % 2 ? DBF : MDX;
    long k = 5 + (long)(random() % 40);
    unsigned seed = random();
    pid_t victim = fork();
    if (victim == 0) {
      std::mt19937 mine(seed);
      DbTable* t = d4open(engine, "CRASH");
      if (t == nullptr) _exit(3);
      DbIndex* index = (DbIndex*)l4first(&t->indexes);
      shim_fd = target == MDX ? index->file.handle : t->file.handle;
      shim_left = k;
      for (;;) {
        long count = d4reccount(t);
        if (RunOp(t, (Op)(mine() % 3), 1 + (long)(mine() % (unsigned long)count), (long)(mine() % 100000)) != 0)
          _exit(4);
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(victim, &status, 0), victim);
    EXPECT_TRUE(WIFSIGNALED(status)) << status;
    for (pid_t child : survivors) {
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    DbTable* t = d4open(engine, "CRASH");
    ASSERT_NE(t, nullptr);
    ExpectTagsAgree();
    char report[300];
    EXPECT_EQ(d4verify(t, report, sizeof report), 0) << report;
    ASSERT_EQ(d4close(t), 0);
  }
}

// The shared check reports the first disagreement of each kind of damage.
TEST_F(CrashTest, VerifyReportsTheFirstDisagreement) {
  const std::string dbf = ReadFile(Path("CRASH.DBF")), mdx = ReadFile(Path("CRASH.MDX"));
  MdxView view;
  ASSERT_TRUE(view.Load(Path("CRASH.MDX")));
  size_t header = Le16(dbf, 8), width = Le16(dbf, 10);
  // The first leaf of tag K: its block and first entry.
  size_t root = (size_t)view.tags[0].root * 512;
  size_t leaf = Le32(mdx, root + 8) == 0 ? root : (size_t)Le32(mdx, root + 8) * 512;
  struct Case {
    const char* what;
    std::string dbf, mdx, says;
  };
  std::vector<Case> cases;
  cases.push_back({"healthy", dbf, mdx, ""});
  std::string changed = dbf;
  changed[header + 5 * width + 2] = 'Z';     // record 6 gives another key
  cases.push_back({"record changed", changed, mdx, "record 6"});
  std::string counted = dbf;
  counted[4] = (char)(kRecords - 1);           // the count hides the last record
  counted[5] = (char)((kRecords - 1) >> 8);
  cases.push_back({"count lowered", counted, mdx, "beyond the count"});
  std::string key = mdx;
  key[leaf + 8 + 4] = 'Z';                     // the first key of a leaf altered
  cases.push_back({"key altered", dbf, key, "K:"});
  std::string swapped = mdx;
  size_t group = (size_t)view.tags[0].group;
  for (size_t b = 0; b < 8; b++) std::swap(swapped[leaf + 12 + b], swapped[leaf + 12 + group + b]);
  cases.push_back({"keys swapped", dbf, swapped, "out of order"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(Path("CRASH.DBF"), c.dbf);
    WriteFile(Path("CRASH.MDX"), c.mdx);
    DbTable* t = d4open(engine, "CRASH");
    ASSERT_NE(t, nullptr);
    char report[300];
    int result = d4verify(t, report, sizeof report);
    if (c.says.empty()) {
      EXPECT_EQ(result, 0) << report;
    } else {
      EXPECT_EQ(result, 1);
      EXPECT_NE(std::string(report).find(c.says), std::string::npos) << report;
    }
    EXPECT_EQ(engine->error_code, 0);
    d4close(t);
  }
}

}  // namespace

namespace {

// A shared flush syncs the record and its count, and the index's writes are
// left to a mark synced once beside them. A power loss that loses those
// writes (the index as it stood before) leaves the mark, and the next
// workstation rebuilds the index; a close syncs the index and clears the mark.
TEST_F(CrashTest, AFlushLeavesTheIndexToItsMarkUntilTheClose) {
  const std::string index_before = ReadFile(Path("CRASH.MDX"));
  DbTable* t = d4open(engine, "CRASH");
  ASSERT_NE(t, nullptr);
  std::vector<unsigned long> syncs;
  for (long salt = 1; salt <= 3; salt++) {
    unsigned long before = engine->syncs;
    ASSERT_EQ(RunOp(t, APPEND, 0, salt), 0);
    ASSERT_EQ(d4flush(t), 0);
    syncs.push_back(engine->syncs - before);
  }
  // The mark and the record at the first flush, the record alone after it.
  EXPECT_EQ(syncs, (std::vector<unsigned long>{2, 1, 1}));
  EXPECT_NE(ReadFile(Path("CRASH.MRK")).find_first_not_of('\0'), std::string::npos);

  // The power goes: the handle's locks with it, the index's unsynced writes lost.
  d4abandon(t);
  WriteFile(Path("CRASH.MDX"), index_before);
  DbTable* next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(RebuildsShown(), 1);
  EXPECT_EQ(ReadRecords().count, kRecords + 3);
  ExpectTagsAgree();
  d4tag_select(next, d4tag(next, "K"));
  EXPECT_EQ(d4seek(next, key_text(100003).c_str()), 0);

  unsigned long before = engine->syncs;
  ASSERT_EQ(RunOp(next, APPEND, 0, 4), 0);
  ASSERT_EQ(d4flush(next), 0);
  ASSERT_EQ(d4close(next), 0);
  EXPECT_EQ(engine->syncs - before, 3u) << "the mark and the record, then the index at the close";
  EXPECT_EQ(ReadFile(Path("CRASH.MRK")).find_first_not_of('\0'), std::string::npos);
  next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(RebuildsShown(), 1);
  ASSERT_EQ(d4close(next), 0);
}

// A live workstation whose flushed index is only not synced yet is not
// waited for: another's dead mark is checked and cleared at once.
TEST_F(CrashTest, AnUnsyncedLiveMarkDoesNotHoldUpTheCheckOfADeadOne) {
  DbTable* live = d4open(engine, "CRASH");
  ASSERT_NE(live, nullptr);
  ASSERT_EQ(RunOp(live, APPEND, 0, 1), 0);
  ASSERT_EQ(d4flush(live), 0);
  std::string marks = ReadFile(Path("CRASH.MRK"));
  marks.resize(std::max<size_t>(marks.size(), 8), '\0');
  ASSERT_EQ(marks[5], '\0');
  marks[5] = '\1';
  WriteFile(Path("CRASH.MRK"), marks);
  engine->lock_tries = 1;
  DbTable* next = d4open(engine, "CRASH");
  ASSERT_NE(next, nullptr);
  ASSERT_EQ(d4lock_index(next), 0);
  ASSERT_EQ(d4unlock(next), 0);
  EXPECT_EQ(ReadFile(Path("CRASH.MRK"))[5], '\0');
  ExpectTagsAgree();
  ASSERT_EQ(d4close(next), 0);
  ASSERT_EQ(d4close(live), 0);
}

}  // namespace
