// A walk of a tag without a lock while another workstation appends and
// splits the blocks ahead of it: every record committed before the walk
// began is listed once, in key order.
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/db/mdx_test_support.h"

namespace {

class SharedWalkTest : public MdxTest {
 protected:
  static constexpr DbfFieldDef kFields[] = {{"NAZWA", 'C', 7, 0}, {nullptr, 0, 0, 0}};
  DbTable* Create() {
    auto tags = Tags({{"NAZWA", "NAZWA", nullptr, 0, 0}});
    return d4create(engine, "WALK", kFields, tags.data());
  }
  // Appends through the append protocol and lets the index go, as a
  // workstation does record by record.
  int AppendShared(DbTable* t, const std::string& name) {
    if (Append(t, {name}) != 0) return -1;
    return d4unlock(t);
  }
  static std::string Four(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%04d", n);
    return text;
  }
};

// One process, two open file descriptions: the reader stands in the first
// leaf when the writer splits the leaf after it (90 keys into a leaf of 84)
// and raises the tree; the reader's next steps meet blocks changed under it.
TEST_F(SharedWalkTest, SplitAheadOfAnUnlockedWalkLosesAndRepeatsNothing) {
  DbTable* one = Create();
  ASSERT_NE(one, nullptr);
  // Records 1..200: K0000, K0010, ... K1990.
  for (int i = 0; i < 200; i++) ASSERT_EQ(AppendShared(one, "K" + Four(10 * i)), 0);
  ASSERT_EQ(d4flush(one), 0);
  DbTable* two = d4open(engine, "WALK");
  ASSERT_NE(two, nullptr);
  d4alias_set(two, (char*)std::string("TWO").data());
  DbTag* tag = d4tag(two, "NAZWA");
  ASSERT_NE(tag, nullptr);

  std::vector<long> seen;
  ASSERT_EQ(t4top(tag), 0);
  seen.push_back(t4recno(tag));
  for (int i = 0; i < 5; i++) {
    ASSERT_EQ(t4skip(tag, 1), 1);
    seen.push_back(t4recno(tag));
  }
  // Records 201..290: K050500 .. K050589, between K0500 and K0510.
  for (int i = 0; i < 90; i++) ASSERT_EQ(AppendShared(one, "K0505" + Four(i).substr(2)), 0);
  while (t4skip(tag, 1) == 1) seen.push_back(t4recno(tag));
  EXPECT_EQ(engine->error_code, 0);

  std::vector<long> expected;
  for (long r = 1; r <= 51; r++) expected.push_back(r);     // K0000 .. K0500
  for (long r = 201; r <= 290; r++) expected.push_back(r);  // K050500 .. K050589
  for (long r = 52; r <= 200; r++) expected.push_back(r);   // K0510 .. K1990
  EXPECT_EQ(seen, expected);

  // Backward from the end through the same blocks, after another split.
  for (int i = 0; i < 90; i++) ASSERT_EQ(AppendShared(one, "K1005" + Four(i).substr(2)), 0);
  std::vector<long> back;
  ASSERT_EQ(t4bottom(tag), 0);
  back.push_back(t4recno(tag));
  for (int i = 0; i < 5; i++) {
    ASSERT_EQ(t4skip(tag, -1), -1);
    back.push_back(t4recno(tag));
  }
  for (int i = 0; i < 90; i++) ASSERT_EQ(AppendShared(one, "K0205" + Four(i).substr(2)), 0);
  while (t4skip(tag, -1) == -1) back.push_back(t4recno(tag));
  EXPECT_EQ(engine->error_code, 0);
  std::vector<long> expected_back;
  for (long r = 200; r >= 102; r--) expected_back.push_back(r);  // K1990 .. K1010
  for (long r = 380; r >= 291; r--) expected_back.push_back(r);  // K100589 .. K100500
  for (long r = 101; r >= 52; r--) expected_back.push_back(r);   // K1000 .. K0510
  for (long r = 290; r >= 201; r--) expected_back.push_back(r);  // K050589 .. K050500
  for (long r = 51; r >= 22; r--) expected_back.push_back(r);    // K0500 .. K0210
  for (long r = 470; r >= 381; r--) expected_back.push_back(r);  // K020589 .. K020500
  for (long r = 21; r >= 1; r--) expected_back.push_back(r);     // K0200 .. K0000
  EXPECT_EQ(back, expected_back);
  ASSERT_EQ(d4close(two), 0);
  ASSERT_EQ(d4close(one), 0);
}

// Two processes: a writer appends keys in a scattered order, forcing splits
// all over the tree, while this process walks the tag through the table
// again and again. Bounded by the writer's count and a number of walks.
TEST_F(SharedWalkTest, WalksBesideAnotherProcessesAppendsListEveryEarlierRecordOnce) {
  DbTable* made = Create();
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(d4close(made), 0);
  const int appends = 3000;
  pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    int code = 1;
    try {
      engine->lock_tries = -1;
      DbTable* t = d4open(engine, "WALK");
      int done = 0;
      unsigned seed = 12345;
      for (int i = 0; t != nullptr && i < appends; i++, done++) {
        seed = seed * 1103515245u + 12345u;
        // Distinct keys: a scattered part, then the record's number.
        if (AppendShared(t, "K" + Four((int)((seed >> 16) % 100)).substr(2) + Four(i + 1)) != 0) break;
      }
      if (t != nullptr && d4close(t) == 0 && done == appends) code = 0;
    } catch (...) {
      code = 2;
    }
    _exit(code);
  }
  DbTable* reader = d4open(engine, "WALK");
  ASSERT_NE(reader, nullptr);
  d4tag_select(reader, d4tag(reader, "NAZWA"));
  int status = 0;
  bool writer_done = false;
  for (int walk = 0; walk < 200 && !writer_done; walk++) {
    writer_done = waitpid(writer, &status, WNOHANG) == writer;
    long committed = d4reccount(reader);
    ASSERT_GE(committed, 0);
    std::vector<int> times(appends + 1, 0);
    std::string last;
    for (int r = d4top(reader); r == 0; r = d4skip(reader, 1)) {
      long n = d4recno(reader);
      ASSERT_TRUE(n >= 1 && n <= appends) << n;
      std::string name = FieldText(reader, 1);
      ASSERT_LT(last, name) << "walk " << walk << ": out of order or repeated";
      last = name;
      times[n]++;
    }
    ASSERT_EQ(engine->error_code, 0);
    for (long n = 1; n <= committed; n++) ASSERT_EQ(times[n], 1) << "walk " << walk << ", record " << n;
  }
  if (!writer_done) {
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(d4reccount(reader), appends);
  ASSERT_EQ(d4close(reader), 0);
}

}  // namespace
