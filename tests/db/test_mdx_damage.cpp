// Damaged index files: every broken rule gives an index error that the
// caller can answer with a rebuild; nothing crashes, loops or stops the program.
#include <random>
#include <string>
#include <vector>

#include "db/expr.h"
#include "db/mdx_layout.h"
#include "db/reindex.h"
#include "env/memory.h"
#include "tests/db/mdx_test_support.h"

namespace {

class MdxDamageTest : public MdxTest {
 protected:
  void SetUp() override {
    MdxTest::SetUp();
    std::vector<DbfFieldDef> fields = {{"NAZWA", 'C', 7, 0}, {"OPIS", 'C', 90, 0}, {nullptr, 0, 0, 0}};
    auto tags = Tags({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}, {"OPIS", "OPIS", ".T.", 0, 0}});
    DbTable* t = d4create(engine, "BAD", fields.data(), tags.data());
    ASSERT_NE(t, nullptr);
    for (int i = 0; i < 400; i++)
      ASSERT_EQ(Append(t, {"N" + std::to_string(1000 + i * 37 % 400), "O" + std::to_string(5000 + i * 13 % 400)}), 0);
    ASSERT_EQ(d4close(t), 0);
    dbf = Bytes(Path("BAD.DBF"));
    mdx = Bytes(Path("BAD.MDX"));
    ASSERT_TRUE(view.Load(Path("BAD.MDX")));
  }

  // Opens the damaged index and uses it every way; true when it got through
  // without a fatal stop. Errors are cleared as a caller would after each.
  bool Exercise(const std::string& damaged) {
    WriteFile(Path("BAD.DBF"), dbf);
    WriteFile(Path("BAD.MDX"), damaged);
    engine->error_code = 0;
    try {
      DbTable* t = d4open(engine, "BAD");
      if (t == nullptr) return true;
      engine->error_code = 0;
      for (DbTag* tag = d4tag_next(t, nullptr); tag != nullptr; tag = d4tag_next(t, tag)) {
        d4tag_select(t, tag);
        int steps = 0;
        for (int r = d4top(t); r == 0 && steps < 1500; r = d4skip(t, 1)) steps++;
        engine->error_code = 0;
        d4bottom(t);
        d4skip(t, -7);
        engine->error_code = 0;
        d4seek(t, "N1200");
        d4seek(t, "O");
        engine->error_code = 0;
      }
      if (d4go(t, 5) == 0) {
        f4assign(d4field_j(t, 1), "CHANGED");
        f4assign(d4field_j(t, 2), "CHANGED TOO");
        d4flush(t);
      }
      engine->error_code = 0;
      Append(t, {"NEW", "NEW"});
      engine->error_code = 0;
      d4close(t);
      engine->error_code = 0;
      return true;
    } catch (const FatalStopCaught&) {
      return false;
    }
  }
  bool IndexErrorShown() const { return CriticalShown(" -310"); }
  std::string With(size_t at, const std::string& bytes) const {
    std::string out = mdx;
    out.replace(at, bytes.size(), bytes);
    return out;
  }
  static std::string U32(unsigned long v) {
    std::string s(4, 0);
    for (int i = 0; i < 4; i++) s[(size_t)i] = (char)(v >> (8 * i));
    return s;
  }
  static std::string U16(unsigned v) { return std::string{(char)v, (char)(v >> 8)}; }
  // A branch block of the long tag, and a leaf of the short one.
  size_t Branch() const { return (size_t)view.tags[1].root * 512; }
  size_t Leaf() const {
    size_t root = (size_t)view.tags[0].root * 512;
    return (size_t)Le32(mdx, root + 8) * 512;
  }

  std::string dbf, mdx;
  MdxView view;
};

TEST_F(MdxDamageTest, BrokenRulesGiveAnIndexError) {
  ASSERT_GT(view.tags[1].branches, 1);
  ASSERT_GT(view.tags[0].leaves, 1);
  size_t tag0 = (size_t)view.tags[0].header_block * 512;
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"block units 0", With(20, U16(0))},
      {"block bytes not the units", With(22, U16(1000))},
      {"48 tags", With(28, U16(48))},
      {"next block 0", With(32, U32(0))},
      {"tag header past the file", With(544, U32(0xFFFF))},
      {"key length too long", With(tag0 + 12, U16(200))},
      {"group length too short", With(tag0 + 18, U16(4))},
      {"keys per block too many", With(tag0 + 14, U16(500))},
      {"key type unknown", With(tag0 + 9, "X")},
      {"root past the file", With(tag0, U32(0x7FFFFFF0))},
      {"root in the header blocks", With(tag0, U32(1))},
      {"leaf key count above capacity", With(Leaf(), U16(1000))},
      {"branch pointing at itself", With(Branch() + 8, U32((unsigned long)view.tags[1].root))},
      {"branch child 0", With(Branch() + 8, U32(0))},
      {"leaf record 0", With(Leaf() + 8, U32(0))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    screen.shown.clear();
    EXPECT_TRUE(Exercise(c.bytes)) << "fatal stop";
    EXPECT_TRUE(IndexErrorShown());
  }
}

// A key expression of a type no key can have, its sizes otherwise right: the
// index is refused at open, not taken as far as a pack that cannot rebuild it.
TEST_F(MdxDamageTest, LogicalKeyExpressionIsAnIndexError) {
  const char* logical = "NAZWA='N1200'";
  WriteFile(Path("BAD.DBF"), dbf);
  DbTable* t = d4open(engine, "BAD");
  ASSERT_NE(t, nullptr);
  DbExpr* expr = expr4parse(t, logical);
  ASSERT_NE(expr, nullptr);
  ASSERT_EQ(expr4type(expr), 'L');
  unsigned key_len = (unsigned)expr4key_len(expr);
  u4free(expr);
  ASSERT_EQ(d4close(t), 0);
  unsigned group = mdx_group_len(key_len);
  size_t tag0 = (size_t)view.tags[0].header_block * 512;
  std::string text(logical);
  text.resize(MDX_T_EXPR_SIZE, '\0');
  std::string damaged = mdx;
  damaged.replace(tag0 + MDX_T_EXPR, text.size(), text);
  damaged.replace(tag0 + MDX_T_KEY_LEN, 2, U16(key_len));
  damaged.replace(tag0 + MDX_T_GROUP_LEN, 2, U16(group));
  damaged.replace(tag0 + MDX_T_KEYS_PER_BLOCK, 2, U16((Le16(mdx, 22) - 12) / group));

  EXPECT_TRUE(Exercise(damaged)) << "fatal stop";
  EXPECT_TRUE(IndexErrorShown());
  WriteFile(Path("BAD.MDX"), damaged);
  engine->error_code = 0;
  try {
    if (DbTable* again = d4open(engine, "BAD")) {
      d4pack(again);
      d4reindex(again);
      engine->error_code = 0;
      d4close(again);
    }
  } catch (const FatalStopCaught&) {
    ADD_FAILURE() << "fatal stop at pack or reindex";
  }
  engine->error_code = 0;
}

TEST_F(MdxDamageTest, DamagedFreeListIsAnIndexError) {
  struct Case {
    const char* what;
    long head;
    long link;    // written at the head block's link
  };
  long next = view.next_block;
  const Case cases[] = {{"head past the file", next + 40, 0}, {"head in the headers", 2, 0}, {"a cycle", next - 2, next - 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string damaged = With(36, U32((unsigned long)c.head));
    if (c.head > 4 && c.head < next) damaged.replace((size_t)c.head * 512 + 4, 4, U32((unsigned long)c.link));
    WriteFile(Path("BAD.DBF"), dbf);
    WriteFile(Path("BAD.MDX"), damaged);
    engine->error_code = 0;
    screen.shown.clear();
    DbTable* t = d4open(engine, "BAD");
    ASSERT_NE(t, nullptr);
    DbIndex* index = (DbIndex*)l4first(&t->indexes);
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(d4lock_all(t), 0);
    EXPECT_EQ(i4extend(index), -1);
    EXPECT_TRUE(IndexErrorShown());
    engine->error_code = 0;
    index->header_changed = 0;
    d4unlock(t);
    engine->error_code = 0;
    d4close(t);
  }
}

TEST_F(MdxDamageTest, SharedRetryIsBoundedAndEscLeavesIt) {
  // An out-of-order key in a shared index looks like another workstation's
  // change in progress: the reader waits and retries, but not for ever.
  size_t leaf = Leaf();
  size_t last = leaf + 8 + (Le16(mdx, leaf) - 1) * 12 + 4;
  std::string damaged = With(last, "~~~~~~~");
  WriteFile(Path("BAD.MDX"), damaged);
  DbTable* t = d4open(engine, "BAD");
  ASSERT_NE(t, nullptr);
  d4tag_select(t, d4tag(t, "NAZWA"));
  screen.waitedMs = 0;
  EXPECT_EQ(d4seek(t, "N1000"), -1);
  EXPECT_TRUE(IndexErrorShown());
  EXPECT_GT(screen.waitedMs, 0);
  EXPECT_LE(screen.waitedMs, 10 * 1000);
  engine->error_code = 0;
  screen.waitedMs = 0;
  screen.keys = {SCREEN_KEY_ESC};
  EXPECT_EQ(d4seek(t, "N1000"), -1);
  EXPECT_EQ(screen.waitedMs, 0) << "Esc ends the waiting at once";
  engine->error_code = 0;
  // Rebuilding mends it.
  ASSERT_EQ(d4reindex(t), 0);
  ASSERT_EQ(d4unlock(t), 0);
  EXPECT_EQ(d4seek(t, "N1000"), 0);
  d4close(t);
}

TEST_F(MdxDamageTest, RandomMutationsNeverStopTheProgram) {
  std::mt19937 random(1125);
  int fatal = 0;
  for (int round = 0; round < 300; round++) {
    std::string damaged = mdx;
    int count = 1 + (int)(random() % 4);
    for (int i = 0; i < count; i++) {
      // Half of the hits go to the header area, the rest anywhere.
      size_t at = random() % 2 ? random() % 4096 : random() % damaged.size();
      damaged[at] = (char)(random() % 256);
    }
    if (!Exercise(damaged)) fatal++;
  }
  EXPECT_EQ(fatal, 0);
}

}  // namespace
