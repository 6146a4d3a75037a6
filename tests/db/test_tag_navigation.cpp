#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "db/mdx_layout.h"
#include "env/memory.h"
#include "platform/files.h"
#include "tests/db/mdx_test_support.h"

namespace {

class TagNavigationTest : public MdxTest {
 protected:
  DbTable* Table(const std::vector<DbfTagDef>& tags) {
    std::vector<DbfFieldDef> fields = {{"NAZWA", 'C', 7, 0}, {"KWOTA", 'N', 8, 2}, {nullptr, 0, 0, 0}};
    auto list = Tags(tags);
    return d4create(engine, "NAV", fields.data(), list.data());
  }
  // Record numbers in the order of the selected tag.
  std::vector<long> Order(DbTable* t) {
    std::vector<long> out;
    for (int r = d4top(t); r == 0 && out.size() < 100000; r = d4skip(t, 1)) out.push_back(d4recno(t));
    return out;
  }
  std::string Name(DbTable* t) { return FieldText(t, 1); }
};

TEST_F(TagNavigationTest, FullLeafSplitsIntoHalves) {
  struct Case {
    const char* added;
    int lower, upper;
  };
  // 84 keys of 7 bytes fill a block: the new block takes the lower 42,
  // and the new key goes into the half whose range holds it.
  const Case cases[] = {{"K9999", 42, 43}, {"A0000", 43, 42}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.added);
    DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
    ASSERT_NE(t, nullptr);
    // Keys arrive from the top down, so every insert shifts the whole block.
    for (int i = 83; i >= 0; i--) ASSERT_EQ(Append(t, {"K" + std::to_string(1000 + i)}), 0);
    u4check_all();   // no block buffer was written past its end
    ASSERT_EQ(d4flush(t), 0);
    MdxView full;
    ASSERT_TRUE(full.Load(Path("NAV.MDX")));
    EXPECT_EQ(full.tags[0].leaves, 1);
    ASSERT_EQ(Append(t, {c.added}), 0);
    ASSERT_EQ(d4close(t), 0);
    MdxView v;
    ASSERT_TRUE(v.Load(Path("NAV.MDX")));
    const MdxTagView& tag = v.tags[0];
    ASSERT_EQ(tag.error, "");
    EXPECT_EQ(tag.leaves, 2);
    EXPECT_EQ(tag.branches, 1);
    size_t root = (size_t)tag.root * 512;
    ASSERT_EQ(Le16(v.bytes, root), 1u);
    long lower = (long)Le32(v.bytes, root + 8), upper = (long)Le32(v.bytes, root + 20);
    EXPECT_EQ((int)Le16(v.bytes, (size_t)lower * 512), c.lower);
    EXPECT_EQ((int)Le16(v.bytes, (size_t)upper * 512), c.upper);
    EXPECT_EQ(v.bytes.substr(root + 12, 7), tag.keys[(size_t)c.lower - 1].key);
    ASSERT_EQ(tag.keys.size(), 85u);
    PlatFileDelete(Path("NAV.DBF").c_str());
    PlatFileDelete(Path("NAV.MDX").c_str());
  }
}

TEST_F(TagNavigationTest, GoFindsKeyWithRecord) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  for (int i = 1; i <= 9; i++) ASSERT_EQ(Append(t, {(i == 3 || i == 5 || i == 8) ? "SAME" : "X" + std::to_string(i)}), 0);
  DbTag* tag = d4tag(t, "NAZWA");
  char key[8] = "SAME   ";
  EXPECT_EQ(t4go(tag, key, 5), 0);
  EXPECT_EQ(t4recno(tag), 5);
  EXPECT_EQ(t4go(tag, key, 6), 1);
  EXPECT_EQ(t4go(tag, "NONE   ", 1), 2);
  d4close(t);
}

// Equal keys stay in record order; the place of an entry added or removed
// among them is found by descent, a few blocks a level, not by a walk over
// the run (about 120 leaves here).
TEST_F(TagNavigationTest, EqualKeysArePlacedByDescent) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  const long count = 10000;
  auto name_of = [](long record) { return record % 1000 == 0 ? "ZZZ" : "SAME"; };
  for (long i = 1; i <= count; i++) ASSERT_EQ(Append(t, {name_of(i)}), 0);
  ASSERT_EQ(d4flush(t), 0);
  struct Case {
    const char* what;
    long record;        // 0: a new record
    const char* name;
  } cases[] = {
      {"an append after the run", 0, "SAME"},
      {"a removal from the middle of the run", 4321, "AAA"},
      {"an insert into the middle of the run", 3000, "SAME"},
      {"a removal of the run's first entry", 1, "ZZZ"},
  };
  std::map<long, std::string> names;
  for (long i = 1; i <= count; i++) names[i] = name_of(i);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const unsigned long before = engine->blocks_walked;
    if (c.record == 0) {
      ASSERT_EQ(Append(t, {c.name}), 0);
      names[d4recno(t)] = c.name;
    } else {
      ASSERT_EQ(d4go(t, c.record), 0);
      f4assign(d4field_j(t, 1), c.name);
      ASSERT_EQ(d4write(t, c.record), 0);
      names[c.record] = c.name;
    }
    EXPECT_LE(engine->blocks_walked - before, 30u);
  }
  DbTag* tag = d4tag(t, "NAZWA");
  EXPECT_EQ(t4go(tag, "SAME   ", 4321), 1);
  ASSERT_NE(t4key(tag), nullptr);
  EXPECT_EQ(std::string((const char*)t4key(tag), 7), "ZZZ    ") << "stands after the equal keys";
  EXPECT_EQ(t4go(tag, "SAME   ", 9999), 0);
  EXPECT_EQ(t4recno(tag), 9999);
  ASSERT_EQ(d4flush(t), 0);
  std::vector<long> expected;
  for (const char* key : {"AAA", "SAME", "ZZZ"})
    for (const auto& [record, name] : names)
      if (name == key) expected.push_back(record);
  d4tag_select(t, tag);
  EXPECT_EQ(Order(t), expected);
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("NAV.MDX")));
  EXPECT_EQ(v.tags[0].error, "");
}

TEST_F(TagNavigationTest, SeeksSkipsAndEnds) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}, {"KWOTA", "KWOTA", ".T.", 0, 10}});
  ASSERT_NE(t, nullptr);
  const char* names[] = {"ABX", "AC", "AB", "B", "AA"};
  const char* amounts[] = {"2", "10", "-1", "0.5", "0"};
  for (int i = 0; i < 5; i++) ASSERT_EQ(Append(t, {names[i], amounts[i]}), 0);
  d4tag_select(t, d4tag(t, "NAZWA"));
  EXPECT_EQ(Order(t), (std::vector<long>{5, 3, 1, 2, 4}));
  EXPECT_EQ(d4seek(t, "AB"), 0);
  EXPECT_EQ(d4recno(t), 3);
  EXPECT_EQ(d4seek(t, "ABC"), 2);
  EXPECT_EQ(d4recno(t), 1) << "stands on the next key, ABX";
  EXPECT_EQ(d4seek(t, "Z"), 3);
  EXPECT_EQ(d4eof(t), 1);
  EXPECT_EQ(d4skip(t, 1), 3);
  EXPECT_EQ(d4skip(t, -1), 0);
  EXPECT_EQ(d4recno(t), 4);
  ASSERT_EQ(d4top(t), 0);
  EXPECT_EQ(d4skip(t, -1), 4);
  EXPECT_EQ(d4recno(t), 5);
  EXPECT_EQ(d4bof(t), 1);
  ASSERT_EQ(d4top(t), 0);
  EXPECT_EQ(d4skip(t, 3), 0);
  EXPECT_EQ(d4recno(t), 2);
  EXPECT_EQ(d4skip(t, 5), 3);
  // The descending number tag: 10, 2, 0.5, 0, -1.
  d4tag_select(t, d4tag(t, "KWOTA"));
  EXPECT_EQ(Order(t), (std::vector<long>{2, 1, 4, 5, 3}));
  EXPECT_EQ(d4seek(t, "0.50"), 0);
  EXPECT_EQ(d4recno(t), 4);
  EXPECT_EQ(d4seek_double(t, 2.0), 0);
  EXPECT_EQ(d4recno(t), 1);
  d4close(t);
}

TEST_F(TagNavigationTest, RemovingEveryKeyLeavesAnEmptyRoot) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  for (int i = 0; i < 300; i++) ASSERT_EQ(Append(t, {"K" + std::to_string(100000 + i * 7919 % 300)}), 0);
  ASSERT_EQ(d4flush(t), 0);
  MdxView before;
  ASSERT_TRUE(before.Load(Path("NAV.MDX")));
  EXPECT_GT(before.tags[0].leaves, 3);
  EXPECT_EQ(before.tags[0].has_keys, 1);
  for (int i = 1; i <= 300; i++) {
    ASSERT_EQ(d4go(t, i), 0);
    d4delete(t);
  }
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("NAV.MDX")));
  EXPECT_EQ(v.tags[0].error, "");
  EXPECT_EQ(v.tags[0].keys.size(), 0u);
  EXPECT_EQ(v.tags[0].leaves, 1);
  EXPECT_EQ(v.tags[0].branches, 0);
  EXPECT_EQ(v.tags[0].has_keys, 0);
  // The freed blocks went onto the free list and are taken before the file grows.
  EXPECT_NE(v.free_list, 0);
  long next = v.next_block;
  t = d4open(engine, "NAV");
  ASSERT_NE(t, nullptr);
  for (int i = 1; i <= 300; i++) {
    ASSERT_EQ(d4go(t, i), 0);
    d4recall(t);
  }
  ASSERT_EQ(d4close(t), 0);
  MdxView again;
  ASSERT_TRUE(again.Load(Path("NAV.MDX")));
  EXPECT_EQ(again.tags[0].keys.size(), 300u);
  EXPECT_EQ(again.next_block, next);
}

TEST_F(TagNavigationTest, RemovingKeysFromADeepTreeKeepsItWhole) {
  // Ten 90-byte keys to a block: 400 keys make a tree of three levels.
  std::vector<DbfFieldDef> fields = {{"OPIS", 'C', 90, 0}, {nullptr, 0, 0, 0}};
  auto tags = Tags({{"OPIS", "OPIS", ".NOT.DELETED()", 0, 0}});
  DbTable* t = d4create(engine, "DEEP", fields.data(), tags.data());
  ASSERT_NE(t, nullptr);
  const int count = 400;
  for (int i = 0; i < count; i++) ASSERT_EQ(Append(t, {"K" + std::to_string(10000 + i * 7 % count)}), 0);
  ASSERT_EQ(d4flush(t), 0);
  MdxView full;
  ASSERT_TRUE(full.Load(Path("DEEP.MDX")));
  EXPECT_GT(full.tags[0].branches, 1) << "a root over branches over leaves";
  std::vector<int> order;
  for (int i = 1; i <= count; i++) order.push_back((i * 173) % count + 1);
  int left = count;
  for (size_t k = 0; k < order.size(); k++) {
    ASSERT_EQ(d4go(t, order[k]), 0);
    d4delete(t);
    left--;
    if (k % 40 != 39 && left > 0) continue;
    ASSERT_EQ(d4flush(t), 0);
    ASSERT_EQ(d4unlock(t), 0);
    MdxView v;
    ASSERT_TRUE(v.Load(Path("DEEP.MDX")));
    const MdxTagView& tag = v.tags[0];
    ASSERT_EQ(tag.error, "");
    ASSERT_EQ((int)tag.keys.size(), left);
    for (size_t i = 1; i < tag.keys.size(); i++) ASSERT_LT(tag.keys[i - 1].key, tag.keys[i].key);
    d4tag_select(t, d4tag(t, "OPIS"));
    int walked = 0;
    for (int r = d4top(t); r == 0; r = d4skip(t, 1)) walked++;
    ASSERT_EQ(walked, left);
  }
  ASSERT_EQ(d4close(t), 0);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("DEEP.MDX")));
  EXPECT_EQ(v.tags[0].leaves, 1);
  EXPECT_EQ(v.tags[0].branches, 0);
}

TEST_F(TagNavigationTest, RefusedUniqueKeyLeavesEveryTagAsItWas) {
  DbTable* t = Table({{"KWOTA", "KWOTA", ".T.", 0, 0}, {"NAZWA", "NAZWA", ".NOT.DELETED()", r4unique, 0}});
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Append(t, {"A", "1"}), 0);
  ASSERT_EQ(Append(t, {"B", "2"}), 0);
  ASSERT_EQ(d4go(t, 2), 0);
  f4assign(d4field_j(t, 1), "A");
  f4assign(d4field_j(t, 2), "7");
  EXPECT_EQ(d4write(t, 2), r4unique);
  EXPECT_EQ(engine->error_code, 0);
  d4changed(t, 0);
  ASSERT_EQ(d4flush(t), 0);
  EXPECT_EQ(d4go(t, 2), 0);
  EXPECT_EQ(Name(t), "B      ") << "the stored record is unchanged";
  d4tag_select(t, d4tag(t, "KWOTA"));
  EXPECT_EQ(d4seek(t, "2"), 0);
  EXPECT_EQ(d4recno(t), 2);
  EXPECT_EQ(d4seek(t, "7"), 3);
  d4tag_select(t, d4tag(t, "NAZWA"));
  EXPECT_EQ(Order(t), (std::vector<long>{1, 2}));
  // An append that would duplicate is refused and leaves no key behind.
  EXPECT_EQ(Append(t, {"A", "9"}), r4unique);
  d4tag_select(t, d4tag(t, "KWOTA"));
  EXPECT_EQ(d4seek(t, "9"), 3);
  EXPECT_EQ(d4reccount(t), 2);
  d4close(t);
}

TEST_F(TagNavigationTest, UnchangedRecordTouchesNoTag) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Append(t, {"A", "1"}), 0);
  ASSERT_EQ(d4unlock(t), 0);
  std::string before = Bytes(Path("NAV.MDX"));
  ASSERT_EQ(d4go(t, 1), 0);
  f4assign(d4field_j(t, 1), "A");
  EXPECT_EQ(d4changed(t, -1), 1);
  ASSERT_EQ(d4flush(t), 0);
  EXPECT_EQ(d4lock_test_index(t), 0) << "no index lock was taken";
  ASSERT_EQ(d4unlock(t), 0);
  EXPECT_TRUE(Bytes(Path("NAV.MDX")) == before) << "not even the change counter moved";
  d4close(t);
}

TEST_F(TagNavigationTest, SeekChecksTheRecordBehindALaggingKey) {
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  for (const char* n : {"AA", "BB", "BB", "CC"}) ASSERT_EQ(Append(t, {n}), 0);
  ASSERT_EQ(d4close(t), 0);
  // Another workstation changed record 2 to "ZZ" and has not written its keys yet.
  std::string dbf = Bytes(Path("NAV.DBF"));
  size_t header = Le16(dbf, 8), width = Le16(dbf, 10);
  dbf.replace(header + width + 1, 2, "ZZ");
  WriteFile(Path("NAV.DBF"), dbf);
  t = d4open(engine, "NAV");
  ASSERT_NE(t, nullptr);
  d4tag_select(t, d4tag(t, "NAZWA"));
  EXPECT_EQ(d4seek(t, "BB"), 0);
  EXPECT_EQ(d4recno(t), 3) << "the stale entry of record 2 is passed over";
  // Record 3 changes to "AB", smaller than the key sought: that one is passed over too.
  d4close(t);
  dbf.replace(header + 2 * width + 1, 2, "AB");
  WriteFile(Path("NAV.DBF"), dbf);
  t = d4open(engine, "NAV");
  d4tag_select(t, d4tag(t, "NAZWA"));
  EXPECT_EQ(d4seek(t, "BB"), 2);
  EXPECT_EQ(d4recno(t), 4);
  d4close(t);
}

// A shared index that is not cached is read again before every positioning.
TEST_F(TagNavigationTest, SharedIndexChangedElsewhereIsReadAgain) {
  engine->cache_files = 0;
  DbTable* t = Table({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}});
  ASSERT_NE(t, nullptr);
  for (int i = 0; i < 200; i++) ASSERT_EQ(Append(t, {"K" + std::to_string(1000 + i * 2)}), 0);
  ASSERT_EQ(d4unlock(t), 0);
  engine->auto_open_index = 1;
  DbTable* other = d4open(engine, "NAV");
  ASSERT_NE(other, nullptr);
  d4alias_set(other, (char*)std::string("OTHER").data());
  d4tag_select(t, d4tag(t, "NAZWA"));
  d4tag_select(other, d4tag(other, "NAZWA"));
  ASSERT_EQ(d4seek(t, "K1100"), 0);
  EXPECT_EQ(d4recno(t), 51);
  // The other handle adds keys around the position of the first.
  for (int i = 0; i < 200; i++) ASSERT_EQ(Append(other, {"K" + std::to_string(1001 + i * 2)}), 0);
  ASSERT_EQ(d4unlock(other), 0);
  EXPECT_EQ(d4skip(t, 1), 0);
  EXPECT_EQ(Name(t), "K1101  ") << "the tag kept its position by key and sees the new keys";
  EXPECT_EQ(d4skip(t, -2), 0);
  EXPECT_EQ(Name(t), "K1099  ");
  d4close(other);
  d4close(t);
}

// Under a lock the tags keep the blocks they change in memory, more of them
// than stay (wide keys: nine to a block); at unlock the file must hold them all.
TEST_F(TagNavigationTest, KeysChangedUnderALockAreAllInTheFileAtUnlock) {
  std::vector<DbfFieldDef> fields = {{"NAZWA", 'C', 100, 0}, {nullptr, 0, 0, 0}};
  auto tags = Tags({{"NAZWA", "NAZWA", nullptr, 0, 0}});
  DbTable* t = d4create(engine, "WIDE", fields.data(), tags.data());
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4unlock(t), 0);
  ASSERT_EQ(d4lock_all(t), 0);
  const long count = 36000;
  std::vector<std::string> names((size_t)count + 1);
  auto name_of = [](long i) {
    char text[24];
    std::snprintf(text, sizeof text, "K%07ld%06ld", i * 7919 % 1000003, i);
    return std::string(text);
  };
  for (long i = 1; i <= count; i++) {
    names[(size_t)i] = name_of(i);
    ASSERT_EQ(Append(t, {names[(size_t)i]}), 0) << i;
  }
  // Some keys move, which takes entries out of held and written-out leaves alike.
  for (long i = 5; i <= count; i += 97) {
    ASSERT_EQ(d4go(t, i), 0);
    names[(size_t)i] = "M" + name_of(count - i);
    f4assign(d4field_j(t, 1), names[(size_t)i].c_str());
  }
  ASSERT_EQ(d4go(t, 1), 0);
  ASSERT_EQ(d4unlock(t), 0);
  std::vector<std::pair<std::string, long>> want;
  for (long i = 1; i <= count; i++) want.emplace_back(names[(size_t)i], i);
  std::sort(want.begin(), want.end());
  MdxView v;
  ASSERT_TRUE(v.Load(Path("WIDE.MDX")));
  ASSERT_EQ(v.tags[0].error, "");
  EXPECT_GT(v.tags[0].leaves, 4096) << "more leaves than a tag keeps";
  ASSERT_EQ(v.tags[0].keys.size(), want.size());
  for (size_t j = 0; j < want.size(); j++) {
    std::string key = v.tags[0].keys[j].key;
    key.erase(key.find_last_not_of(' ') + 1);
    ASSERT_EQ(key, want[j].first) << j;
    ASSERT_EQ(v.tags[0].keys[j].record, want[j].second) << j;
  }
  d4close(t);
}

}  // namespace
