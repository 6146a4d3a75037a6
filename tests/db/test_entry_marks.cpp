// Entries under way: a handle's entry byte in the side file beside its mark
// byte. A live owner's entry is not dead; a closed (gone) owner's is, and
// its slot is given to no new handle until the finder has dealt with it.
#include <string>
#include <vector>

#include "db/change_mark.h"
#include "tests/db/mdx_test_support.h"

namespace {

const std::vector<DbfFieldDef> kFields = {{"KEY", 'C', 8, 0}, {nullptr, 0, 0, 0}};

class EntryMarkTest : public MdxTest {
 protected:
  void SetUp() override {
    MdxTest::SetUp();
    auto tags = Tags({{"K", "KEY", nullptr, 0, 0}});
    DbTable* t = d4create(engine, "ENTRY", kFields.data(), tags.data());
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(d4close(t), 0);
  }
  // The entry bytes of the side file (after its 4096 mark bytes).
  std::string EntryBytes() {
    std::string marks = ReadFile(Path("ENTRY.MRK"));
    return marks.size() > 4096 ? marks.substr(4096) : "";
  }
};

TEST_F(EntryMarkTest, AGoneOwnersEntryIsFoundAndItsSlotKeptUntilDealtWith) {
  DbTable* owner = d4open(engine, "ENTRY");
  ASSERT_NE(owner, nullptr);
  ASSERT_EQ(db_entry_begin(owner), 0);
  DbTable* finder = d4open(engine, "ENTRY");
  ASSERT_NE(finder, nullptr);
  int dead[4] = {-1, -1, -1, -1};
  EXPECT_EQ(db_entry_take_dead(finder, dead, 4), 0);   // its owner runs
  EXPECT_EQ(EntryBytes(), std::string("\1", 1));

  ASSERT_EQ(d4close(owner), 0);                         // gone inside its entry
  DbTable* newcomer = d4open(engine, "ENTRY");
  ASSERT_NE(newcomer, nullptr);
  EXPECT_EQ(db_entry_begin(newcomer), 2);               // slot 0 is kept for the finder
  db_entry_end(newcomer);
  ASSERT_EQ(db_entry_take_dead(finder, dead, 4), 1);
  EXPECT_EQ(dead[0], 0);
  EXPECT_EQ(db_entry_take_dead(newcomer, dead + 1, 3), 0);   // held by the finder now
  db_entry_release(finder, dead, 1, 1);
  EXPECT_EQ(EntryBytes(), std::string("\0\0\0", 3));

  DbTable* last = d4open(engine, "ENTRY");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(db_entry_begin(last), 0);                   // free again
  db_entry_end(last);
  for (DbTable* t : {finder, newcomer, last}) ASSERT_EQ(d4close(t), 0);
}

// A finder that could not deal with the entry leaves its byte for the next one.
TEST_F(EntryMarkTest, AnEntryNotDealtWithStaysForTheNextFinder) {
  DbTable* owner = d4open(engine, "ENTRY");
  ASSERT_NE(owner, nullptr);
  ASSERT_EQ(db_entry_begin(owner), 0);
  ASSERT_EQ(d4close(owner), 0);
  DbTable* finder = d4open(engine, "ENTRY");
  ASSERT_NE(finder, nullptr);
  int dead[2];
  ASSERT_EQ(db_entry_take_dead(finder, dead, 2), 1);
  db_entry_release(finder, dead, 1, 0);
  ASSERT_EQ(d4close(finder), 0);
  DbTable* next = d4open(engine, "ENTRY");
  ASSERT_NE(next, nullptr);
  ASSERT_EQ(db_entry_take_dead(next, dead, 2), 1);
  EXPECT_EQ(dead[0], 0);
  ASSERT_EQ(d4close(next), 0);
}

}  // namespace
