#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "db/reindex.h"
#include "db/sorter.h"
#include "tests/db/mdx_test_support.h"

namespace {

class ReindexTest : public MdxTest {
 protected:
  // A table of `count` records whose 7-character key repeats every 50
  // records, so equal keys meet across leaves.
  DbTable* KeyTable(int count) {
    DbTable* t = MakeTable("KEYS", {{"NAZWA", 'C', 7, 0}, {"KWOTA", 'N', 8, 2}});
    if (t == nullptr) return nullptr;
    std::mt19937 random(7);
    for (int i = 1; i <= count; i++) {
      char name[8];
      std::snprintf(name, sizeof name, "K%05u", (unsigned)(random() % 50) * 37 % 1000);
      d4append_start(t, 0);
      d4blank(t);
      f4assign(d4field_j(t, 1), name);
      f4assign_double(d4field_j(t, 2), (double)(random() % 2000) / 4 - 100);
      if (d4append(t) != 0) return nullptr;
    }
    d4unlock(t);
    return t;
  }
  const std::vector<DbfTagDef> kTags = Tags({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}, {"KWOTA", "KWOTA", ".T.", 0, 0}});

  // Every tag of the file holds every record once, in key then record order.
  void ExpectSorted(const MdxView& v, int count) {
    for (const MdxTagView& tag : v.tags) {
      ASSERT_EQ(tag.error, "") << tag.name;
      ASSERT_EQ((int)tag.keys.size(), count) << tag.name;
      DbTag probe{};
      probe.header[8] = (unsigned char)tag.format;
      PutLe16(probe.header + 12, (unsigned)tag.key_len);
      t4set_key_type(&probe, tag.type);
      std::vector<bool> seen((size_t)count + 1, false);
      for (size_t i = 0; i < tag.keys.size(); i++) {
        long r = tag.keys[i].record;
        ASSERT_TRUE(r >= 1 && r <= count && !seen[(size_t)r]) << tag.name << " record " << r;
        seen[(size_t)r] = true;
        if (i == 0) continue;
        int c = probe.compare(tag.keys[i - 1].key.data(), tag.keys[i].key.data(), (unsigned)tag.key_len);
        ASSERT_LE(c, 0) << tag.name << " at " << i;
        if (c == 0) {
          ASSERT_LT(tag.keys[i - 1].record, r) << "equal keys in record order";
        }
      }
    }
  }
};

TEST_F(ReindexTest, RebuiltTreesHoldEveryKeyCompactly) {
  struct Case {
    int count, leaves, branches;
  };
  // 84 keys of 7 bytes fit a block; 85 give two leaves under one root branch.
  const Case cases[] = {{0, 1, 0}, {84, 1, 0}, {85, 2, 1}, {7141, 86, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    DbTable* t = KeyTable(c.count);
    ASSERT_NE(t, nullptr);
    ASSERT_NE(i4create(t, nullptr, kTags.data()), nullptr);
    ASSERT_EQ(d4close(t), 0);
    MdxView v;
    ASSERT_TRUE(v.Load(Path("KEYS.MDX")));
    ASSERT_EQ(v.tags.size(), 2u);
    ExpectSorted(v, c.count);
    const MdxTagView& name = v.tags[0];
    EXPECT_EQ(name.kpb, 84);
    EXPECT_EQ(name.leaves, c.leaves);
    EXPECT_EQ(name.branches, c.branches);
    EXPECT_EQ(name.has_keys, c.count > 0 ? 1 : 0);
    EXPECT_EQ(v.free_list, 0);
    EXPECT_EQ((long)v.bytes.size(), v.next_block * 512);
    if (c.count == 85) {
      size_t root = (size_t)name.root * 512;
      EXPECT_EQ(Le16(v.bytes, root), 1u) << "one key in the root";
      EXPECT_EQ(v.bytes.substr(root + 12, 7), name.keys[83].key) << "the first leaf's last key";
    }
    ASSERT_TRUE(PlatFileDelete(Path("KEYS.DBF").c_str()) == PLAT_OK);
    ASSERT_TRUE(PlatFileDelete(Path("KEYS.MDX").c_str()) == PLAT_OK);
  }
}

TEST_F(ReindexTest, SpillingSortWritesTheSameFile) {
  DbTable* t = KeyTable(3000);
  ASSERT_NE(t, nullptr);
  ASSERT_NE(i4create(t, nullptr, kTags.data()), nullptr);
  ASSERT_EQ(d4unlock(t), 0);
  std::string in_memory = Bytes(Path("KEYS.MDX"));
  engine->sort_memory = 2048;    // 512 items in memory: six runs
  ASSERT_EQ(d4reindex(t), 0);
  ASSERT_EQ(d4unlock(t), 0);
  std::string spilled = Bytes(Path("KEYS.MDX"));
  ASSERT_EQ(spilled.size(), in_memory.size());
  std::vector<size_t> differ;
  for (size_t i = 0; i < spilled.size(); i++)
    if (spilled[i] != in_memory[i]) differ.push_back(i);
  // Only the change counters move: the index's and those of the two tag headers.
  EXPECT_EQ(differ, (std::vector<size_t>{40, 4 * 512 + 20, 6 * 512 + 20}));
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("KEYS.MDX")));
  ExpectSorted(v, 3000);
}

TEST_F(ReindexTest, SorterMergesSpilledRunsInKeyThenRecordOrder) {
  engine->sort_memory = 2048;
  DbSorter sorter{};
  ASSERT_EQ(sort4init(&sorter, engine, 6, 0), 0);
  std::mt19937 random(3);
  std::vector<std::pair<std::string, long>> expected;
  for (long r = 1; r <= 2000; r++) {
    char key[7];
    std::snprintf(key, sizeof key, "%06u", (unsigned)(random() % 700));
    expected.push_back({key, r});
    ASSERT_EQ(sort4put(&sorter, r, key, nullptr), 0);
  }
  ASSERT_EQ(sort4get_init(&sorter), 0);
  EXPECT_EQ(sorter.run_items.size(), 4u) << "three spills while putting, the last run at delivery";
  std::sort(expected.begin(), expected.end());
  for (const auto& e : expected) {
    long record = 0;
    unsigned char* key = nullptr;
    ASSERT_EQ(sort4get(&sorter, &record, &key, nullptr), 0);
    ASSERT_EQ(std::string((char*)key, 6), e.first);
    ASSERT_EQ(record, e.second);
  }
  long record;
  unsigned char* key;
  EXPECT_EQ(sort4get(&sorter, &record, &key, nullptr), 1);
  EXPECT_FALSE(PlatFileExists(Path("TEMP0000.TMP").c_str()));
}

TEST_F(ReindexTest, FilteredTagWithoutPassingRecordsIsAnEmptyRoot) {
  DbTable* t = KeyTable(10);
  ASSERT_NE(t, nullptr);
  for (int i = 1; i <= 10; i++) {
    ASSERT_EQ(d4go(t, i), 0);
    d4delete(t);
  }
  ASSERT_EQ(d4flush(t), 0);
  ASSERT_NE(i4create(t, nullptr, kTags.data()), nullptr);
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("KEYS.MDX")));
  EXPECT_EQ(v.tags[0].keys.size(), 0u);
  EXPECT_EQ(v.tags[0].leaves, 1);
  EXPECT_EQ(v.tags[0].has_keys, 0);
  EXPECT_EQ(v.tags[1].keys.size(), 10u) << "deleted records stay in an unfiltered tag";
}

TEST_F(ReindexTest, PackRebuildsWithTheRemainingRecords) {
  DbTable* t = KeyTable(10);
  ASSERT_NE(t, nullptr);
  ASSERT_NE(i4create(t, nullptr, kTags.data()), nullptr);
  for (int i : {2, 5, 9}) {
    ASSERT_EQ(d4go(t, i), 0);
    d4delete(t);
  }
  ASSERT_EQ(d4pack(t), 0);
  EXPECT_EQ(d4reccount(t), 7);
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("KEYS.MDX")));
  ExpectSorted(v, 7);
}

}  // namespace
