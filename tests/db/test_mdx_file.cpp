#include <string>
#include <vector>

#include "db/mdx_layout.h"
#include "db/reindex.h"
#include "platform/files.h"
#include "tests/db/mdx_test_support.h"

namespace {

class MdxFileTest : public MdxTest {
 protected:
  DbTable* TwoTagTable(int count) {
    std::vector<DbfFieldDef> fields = {{"NAZWA", 'C', 7, 0}, {"KWOTA", 'N', 10, 2}, {nullptr, 0, 0, 0}};
    auto tags = Tags({{"A", "NAZWA", ".NOT.DELETED()", 0, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}});
    DbTable* t = d4create(engine, "KLIENCI", fields.data(), tags.data());
    for (int i = 0; t != nullptr && i < count; i++)
      EXPECT_EQ(Append(t, {"N" + std::to_string(i), std::to_string(i * 10)}), 0);
    return t;
  }
};

TEST_F(MdxFileTest, NewProductionIndexHeaderBytes) {
  DbTable* t = TwoTagTable(0);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4close(t), 0);
  std::string b = Bytes(Path("KLIENCI.MDX"));
  ASSERT_GE(b.size(), 2048u + 2 * 1024 + 2 * 1024);
  EXPECT_EQ(b[0], 2);
  EXPECT_EQ(Le16(b, 20), 2u);
  EXPECT_EQ(Le16(b, 22), 1024u);
  EXPECT_EQ(b[24], 1);
  EXPECT_EQ(b[25], 48);
  EXPECT_EQ(Le16(b, 26), 32u);
  EXPECT_EQ(Le16(b, 28), 2u);
  EXPECT_EQ(MdxView::Text(b, 4, 12), "KLIENCI");
  EXPECT_EQ(b[529], 1);
  EXPECT_EQ(b[44], 126) << "created 2026 (years since 1900)";
  EXPECT_EQ(b[45], 12);
  EXPECT_EQ(Le32(b, 36), 0u);
  // Tag entries: headers at blocks 4 and 6; "1" sorts before "A", so it is A's left child.
  EXPECT_EQ(Le32(b, 544), 4u);
  EXPECT_EQ(Le32(b, 576), 6u);
  EXPECT_EQ(MdxView::Text(b, 548, 11), "A");
  EXPECT_EQ(MdxView::Text(b, 580, 11), "1");
  EXPECT_EQ(b[544 + 15], 0x10);
  EXPECT_EQ(b[544 + 19], 2);
  EXPECT_EQ(b[544 + 20], 'C');
  EXPECT_EQ(b[576 + 20], 'N');
  EXPECT_EQ(b[544 + 16], 2) << "left of the root";
  EXPECT_EQ(b[544 + 17], 0);
  EXPECT_EQ(b[576 + 18], 1) << "parent of the second";
  // Tag header of "A": key 7 bytes, group 12, 84 keys per block.
  size_t h = 4 * 512;
  EXPECT_EQ((unsigned char)b[h + 8], 0x10);
  EXPECT_EQ(b[h + 9], 'C');
  EXPECT_EQ(Le16(b, h + 12), 7u);
  EXPECT_EQ(Le16(b, h + 14), 84u);
  EXPECT_EQ(Le16(b, h + 18), 12u);
  EXPECT_EQ(MdxView::Text(b, h + 24, 221), "NAZWA");
  EXPECT_EQ(b[h + 245], 1);
  EXPECT_EQ(b[h + 246], 0) << "no record passed the filter";
  EXPECT_EQ(MdxView::Text(b, h + 762, 200), ".NOT.DELETED()");
  // The table's header says it has a production index.
  EXPECT_EQ(Bytes(Path("KLIENCI.DBF"))[28], 1);
}

TEST_F(MdxFileTest, NameTreeOfTagTable) {
  std::vector<DbfFieldDef> fields = {{"K", 'C', 4, 0}, {nullptr, 0, 0, 0}};
  auto tags = Tags({{"M", "K", ".T.", 0, 0}, {"C", "K", ".T.", 0, 0}, {"X", "K", ".T.", 0, 0}, {"E", "K", ".T.", 0, 0}});
  DbTable* t = d4create(engine, "TREE", fields.data(), tags.data());
  ASSERT_NE(t, nullptr);
  d4close(t);
  MdxView v;
  ASSERT_TRUE(v.Load(Path("TREE.MDX")));
  ASSERT_EQ(v.tags.size(), 4u);
  EXPECT_EQ(v.tags[0].left, 2);   // C
  EXPECT_EQ(v.tags[0].right, 3);  // X
  EXPECT_EQ(v.tags[1].right, 4);  // E under C
  EXPECT_EQ(v.tags[3].parent, 2);
  EXPECT_EQ(v.tags[2].parent, 1);
}

TEST_F(MdxFileTest, OpenComparesTagsWithDefinitions) {
  DbTable* t = TwoTagTable(3);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4close(t), 0);
  engine->auto_open_index = 0;
  t = d4open(engine, "KLIENCI");
  ASSERT_NE(t, nullptr);
  struct Case {
    std::vector<DbfTagDef> defs;
    bool differs;
  };
  const Case cases[] = {
      {{{"A", "NAZWA", ".NOT.DELETED()", 0, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}}, false},
      {{{"A", "NAZWA", ".NOT.DELETED()", 20, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}}, false},
      {{{"A", "NAZWA", ".NOT.DELETED()", 0, 0}}, true},
      {{{"A", "NAZWA", ".NOT.DELETED()", 0, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}, {"2", "NAZWA", ".T.", 0, 0}},
       true},
      {{{"A", "NAZWA", ".T.", 0, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}}, true},
      {{{"A", "NAZWA", ".NOT.DELETED()", 0, 10}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}}, true},
      {{{"A", "KWOTA", ".NOT.DELETED()", 0, 0}, {"1", "KWOTA", ".NOT.DELETED()", 0, 0}}, true},
  };
  for (const Case& c : cases) {
    auto defs = Tags(c.defs);
    DbIndex* index = i4open(t, nullptr, defs.data());
    if (c.differs) {
      EXPECT_EQ(index, I4OPEN_DIFFERS);
      EXPECT_EQ(l4first(&t->indexes), nullptr) << "the file is closed again";
    } else {
      ASSERT_NE(index, nullptr);
      ASSERT_NE(index, I4OPEN_DIFFERS);
      EXPECT_EQ(i4release(index), 0);
    }
  }
  EXPECT_EQ(d4close(t), 0);
}

TEST_F(MdxFileTest, TagLookupAndOrderOverIndexes) {
  DbTable* t = TwoTagTable(0);
  ASSERT_NE(t, nullptr);
  DbTag* a = d4tag(t, "a");
  DbTag* one = d4tag(t, "1");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(d4tag_next(t, nullptr), a);
  EXPECT_EQ(d4tag_next(t, a), one);
  EXPECT_EQ(d4tag_next(t, one), nullptr);
  EXPECT_EQ(d4tag_prev(t, nullptr), one);
  EXPECT_EQ(d4tag_prev(t, a), nullptr);
  EXPECT_EQ(d4tag_default(t), a);
  d4tag_select(t, one);
  EXPECT_EQ(d4tag_selected(t), one);
  EXPECT_EQ(d4tag_default(t), one);
  d4tag_select(t, nullptr);
  EXPECT_EQ(d4tag_selected(t), nullptr);
  EXPECT_EQ(d4index(t, "klienci"), a->index);
  EXPECT_EQ(d4tag(t, "NONE"), nullptr);
  EXPECT_TRUE(CriticalShown("NONE"));
  engine->error_code = 0;
  d4close(t);
}

TEST_F(MdxFileTest, FreedBlockIsReusedBeforeTheFileGrows) {
  DbTable* t = TwoTagTable(0);
  ASSERT_NE(t, nullptr);
  DbIndex* index = (DbIndex*)l4first(&t->indexes);
  long next = (long)GetLe32(index->header + MDX_H_NEXT_BLOCK);
  long a = i4extend(index), b = i4extend(index);
  EXPECT_EQ(a, next);
  EXPECT_EQ(b, next + 2);
  ASSERT_EQ(i4shrink(index, a), 0);
  ASSERT_EQ(i4shrink(index, b), 0);
  EXPECT_EQ(i4extend(index), b);
  EXPECT_EQ(i4extend(index), a);
  EXPECT_EQ(i4extend(index), next + 4);
  d4close(t);
}

TEST_F(MdxFileTest, RefusedCreationLeavesNoIndexFile) {
  std::vector<DbfFieldDef> fields = {{"KOD", 'C', 5, 0}, {nullptr, 0, 0, 0}};
  DbTable* t = d4create(engine, "DUPL", fields.data(), nullptr);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Append(t, {"X1"}), 0);
  ASSERT_EQ(Append(t, {"X1"}), 0);
  auto tags = Tags({{"U", "KOD", ".NOT.DELETED()", r4unique, 0}});
  EXPECT_EQ(i4create(t, nullptr, tags.data()), nullptr);
  EXPECT_EQ(engine->error_code, r4unique);
  EXPECT_FALSE(PlatFileExists(Path("DUPL.MDX").c_str()));
  EXPECT_EQ(l4first(&t->indexes), nullptr);
  engine->error_code = 0;
  // An unknown key field also leaves nothing behind.
  auto bad = Tags({{"B", "NOFIELD", ".T.", 0, 0}});
  EXPECT_EQ(i4create(t, nullptr, bad.data()), nullptr);
  EXPECT_FALSE(PlatFileExists(Path("DUPL.MDX").c_str()));
  engine->error_code = 0;
  d4close(t);
}

TEST_F(MdxFileTest, RefusedRebuildOfAProductionIndexClearsTheTableMark) {
  std::vector<DbfFieldDef> fields = {{"KOD", 'C', 5, 0}, {nullptr, 0, 0, 0}};
  auto tags = Tags({{"KOD", "KOD", ".NOT.DELETED()", 0, 0}});
  DbTable* t = d4create(engine, "MARK", fields.data(), tags.data());
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(Append(t, {"X1"}), 0);
  ASSERT_EQ(Append(t, {"X1"}), 0);
  ASSERT_EQ(d4unlock(t), 0);
  ASSERT_EQ(i4release((DbIndex*)l4first(&t->indexes)), 0);
  EXPECT_EQ(Bytes(Path("MARK.DBF"))[28], 1);
  engine->create_safety = 0;
  auto unique = Tags({{"KOD", "KOD", ".NOT.DELETED()", r4unique, 0}});
  EXPECT_EQ(i4create(t, nullptr, unique.data()), nullptr);
  EXPECT_FALSE(PlatFileExists(Path("MARK.MDX").c_str()));
  EXPECT_EQ(Bytes(Path("MARK.DBF"))[28], 0) << "no production index is claimed any more";
  engine->error_code = 0;
  d4close(t);
  t = d4open(engine, "MARK");
  ASSERT_NE(t, nullptr) << "the table opens without looking for the index";
  EXPECT_EQ(engine->error_code, 0);
  d4close(t);
}

TEST_F(MdxFileTest, ReopenedIndexKeepsKeysAndSecondOpenIsRefused) {
  DbTable* t = TwoTagTable(20);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4close(t), 0);
  t = d4open(engine, "KLIENCI");
  ASSERT_NE(t, nullptr);
  ASSERT_NE(l4first(&t->indexes), nullptr) << "opened with the table";
  d4tag_select(t, d4tag(t, "1"));
  ASSERT_EQ(d4bottom(t), 0);
  EXPECT_EQ(d4recno(t), 20);
  EXPECT_EQ(i4open(t, "./KLIENCI", nullptr), nullptr) << "the same base name twice";
  EXPECT_EQ(engine->error_code, e4info);
  engine->error_code = 0;
  // The fatal stop closes every table itself.
  EXPECT_THROW(i4open(t, "KLIENCI.MDX", nullptr), FatalStopCaught) << "the same file twice";
}

}  // namespace
