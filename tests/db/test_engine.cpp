// Engine settings, errors, the fatal stop, lists, names and the file layer.
#include <cstring>
#include <filesystem>

#include "db/db_collation.h"
#include "db/db_file.h"
#include "env/lists.h"
#include "db/db_names.h"
#include "env/code_pages.h"
#include "platform/files.h"
#include "tests/db/db_test_support.h"

namespace {

const std::vector<DbfFieldDef> kFields = {{"NAME", 'C', 6, 0}};

TEST_F(DbTest, InitStoresTheDefaults) {
  d4init_undo(engine);    // the fixture may have started the cache
  d4init(engine);
  EXPECT_EQ(engine->signature, 21121);
  EXPECT_EQ(engine->error_code, 0);
  EXPECT_EQ(engine->default_unique_code, 25);
  EXPECT_EQ(engine->block_size, 1024);
  EXPECT_EQ(engine->sort_memory, 61440);
  EXPECT_EQ(engine->sequential_buffer, 4096);
  EXPECT_EQ(engine->cache_buffer_size, 16384);
  EXPECT_EQ(engine->cache_memory, 0x50000);
  EXPECT_EQ(engine->lock_tries, -1);
  EXPECT_EQ(engine->cache_files, -1);
  EXPECT_EQ(engine->cache_write_behind, -1);
  EXPECT_EQ(engine->auto_open_index + engine->report_create_errors + engine->report_expression_errors +
                engine->report_field_errors + engine->report_read_errors + engine->report_open_errors +
                engine->create_safety + engine->report_skip_errors + engine->report_tag_errors +
                engine->check_index_blocks,
            10);
  EXPECT_EQ(engine->exclusive + engine->flush_after_write + engine->lock_on_read + engine->read_only, 0);
  EXPECT_EQ(engine->open_tables.count, 0);
  // The collation positions are the inverse of the order.
  for (int p = 0; p < 256; p++) EXPECT_EQ(db_collation_position[kDbCollation[p]], p);
}

TEST_F(DbTest, ErrorWindowShowsNumberTextAndLines) {
  e4show_error(engine, e4open, "first", "second");
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].text, Utf8ToMazText("Błąd numer    -60\nOtwarcie zbioru\nfirst\nsecond\n"));
  EXPECT_EQ(engine->error_code, e4open);
  // A code without a text shows its number only.
  EXPECT_EQ(e4show_number(e4memo_create), Utf8ToMazText("Błąd numer  -1020\n"));
  EXPECT_EQ(e4set_code(engine, 0), e4open);
}

TEST_F(DbTest, StickyErrorBlocksWorkWithoutTouchingFiles) {
  engine->error_code = e4open;
  EXPECT_EQ(d4open(engine, "NOSUCH"), nullptr);
  EXPECT_EQ(d4create(engine, "NEW", (std::vector<DbfFieldDef>{{"A", 'C', 1, 0}, {nullptr, 0, 0, 0}}).data(), nullptr),
            nullptr);
  EXPECT_FALSE(PlatFileExists(Path("NEW.DBF").c_str()));
  EXPECT_TRUE(screen.shown.empty());
  e4set_code(engine, 0);
  EXPECT_NE(MakeTable("NEW", kFields), nullptr);
}

TEST_F(DbTest, CloseAllClosesEveryTableEvenAfterAFailure) {
  DbTable* a = MakeTable("A1", kFields, 1);
  DbTable* b = MakeTable("B1", kFields, 1);
  DbTable* c = MakeTable("C1", kFields, 1);
  ASSERT_TRUE(a && b && c);
  // The second table's pending record cannot be written.
  ASSERT_EQ(d4go(b, 1), 0);
  f4assign(d4field(b, "NAME"), "lost");
  b->file.read_only = 1;
  EXPECT_EQ(d4close_all(engine), -1);
  EXPECT_EQ(engine->open_tables.count, 0);
  EXPECT_LT(engine->error_code, 0);
}

TEST_F(DbTest, FatalStopWritesNothingPending) {
  DbTable* t = MakeTable("STOP", kFields, 2);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4go(t, 1), 0);
  f4assign(d4field(t, "NAME"), "half");
  std::string before = ReadFile(Path("STOP.DBF"));
  try {
    d4field_j(t, 7);
    FAIL() << "no fatal stop";
  } catch (const FatalStopCaught& stop) {
    EXPECT_EQ(stop.exitCode, 1);
    EXPECT_NE(stop.text.find("d4field_j()"), std::string::npos);
    EXPECT_NE(stop.text.find("-930"), std::string::npos);
  }
  EXPECT_EQ(ReadFile(Path("STOP.DBF")), before);
  EXPECT_EQ(engine->open_tables.count, 0);
}

TEST_F(DbTest, AliasLookupAndRename) {
  DbTable* t = MakeTable("z5sprz25", kFields);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(d4alias(t), "Z5SPRZ25");
  EXPECT_EQ(d4data(engine, "z5sprz25"), t);
  char alias[] = "inna_nazwa_dluga";
  d4alias_set(t, alias);
  EXPECT_STREQ(d4alias(t), "INNA_NAZWA");
  EXPECT_EQ(d4data(engine, "Z5SPRZ25"), nullptr);
  EXPECT_EQ(d4data(engine, "inna_nazwa"), t);
  EXPECT_EQ(d4data(engine, "inna_nazwa_dluga"), nullptr);
}

struct Item {
  DbLink link;
  int value;
};

TEST(DbListTest, RingKeepsOrderSelectionAndCount) {
  DbList list{};
  Item items[4] = {{{}, 1}, {{}, 2}, {{}, 3}, {{}, 4}};
  l4add(&list, &items[0]);
  l4add(&list, &items[2]);
  l4add_before(&list, &items[2], &items[1]);
  l4add_after(&list, &items[2], &items[3]);
  std::vector<int> seen;
  for (Item* i = (Item*)l4first(&list); i; i = (Item*)l4next(&list, i)) seen.push_back(i->value);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
  seen.clear();
  for (Item* i = (Item*)l4prev(&list, nullptr); i; i = (Item*)l4prev(&list, i)) seen.push_back(i->value);
  EXPECT_EQ(seen, (std::vector<int>{4, 3, 2, 1}));
  list.selected = &items[2].link;
  l4remove(&list, &items[2]);
  EXPECT_EQ(list.selected, &items[1].link);
  EXPECT_EQ(l4contains(&list, &items[2]), 0);
  EXPECT_EQ(l4pop(&list), &items[3]);
  EXPECT_EQ(list.count, 2);
  l4remove(&list, nullptr);
  list.selected = &items[0].link;
  l4remove(&list, &items[0]);
  EXPECT_EQ(list.selected, &items[1].link);   // the ring's previous element
  l4remove(&list, &items[1]);
  EXPECT_EQ(list.selected, nullptr);
  EXPECT_EQ(l4first(&list), nullptr);
  EXPECT_EQ(list.count, 0);
}

// Linking an element twice, or unlinking one that is in no list, would
// break the ring: both stop the program instead.
TEST(DbListTest, DoubleLinksAndStrangersAreFatal) {
  RecordingScreenHook screen;
  DbList list{};
  Item items[3] = {{{}, 1}, {{}, 2}, {{}, 3}};
  l4add(&list, &items[0]);
  l4add(&list, &items[1]);
  struct Case {
    const char* what;
    void (*step)(DbList*, Item*);
  };
  for (Case c : {Case{"added twice", [](DbList* l, Item* i) { l4add(l, &i[1]); }},
                 Case{"added after a stranger", [](DbList* l, Item* i) { l4add_after(l, &i[2], &i[2]); }},
                 Case{"removed while in no list", [](DbList* l, Item* i) { l4remove(l, &i[2]); }}}) {
    try {
      c.step(&list, items);
      ADD_FAILURE() << c.what;
    } catch (const FatalStopCaught&) {
    }
    EXPECT_EQ(list.count, 2) << c.what;
  }
}

TEST(DbNamesTest, ExtensionsPiecesAndPaths) {
  struct Case {
    const char* name;
    const char* ext;
    int replace;
    const char* expected;
  };
  const Case cases[] = {
      {"z5sprz25", "DBF", 0, "Z5SPRZ25.DBF"}, {"X.DBF", "MDX", 1, "X.MDX"},    {"X.DBF", "MDX", 0, "X.DBF"},
      {"dir.v\\tab  ", ".dbf", 0, "DIR.V\\TAB.DBF"}, {"a\\b.c\\d", "DBF", 0, "A\\B.C\\D.DBF"},
  };
  for (const Case& c : cases) {
    char buffer[40];
    std::strcpy(buffer, c.name);
    u4name_ext(buffer, sizeof buffer, c.ext, c.replace);
    EXPECT_STREQ(buffer, c.expected) << c.name;
  }
  char piece[20];
  u4name_piece(piece, sizeof piece, "c:\\dane\\firma1\\z5towa.dbf", 0, 0);
  EXPECT_STREQ(piece, "Z5TOWA");
  u4name_piece(piece, sizeof piece, "c:\\dane\\z5towa.dbf", 0, 1);
  EXPECT_STREQ(piece, "Z5TOWA.DBF");
  u4name_piece(piece, 5, "z5towa.dbf", 0, 0);
  EXPECT_STREQ(piece, "Z5TO");
  u4name_path(piece, sizeof piece, "c:\\dane\\z5towa.dbf");
  EXPECT_STREQ(piece, "c:\\dane\\");
  char ext[3];
  ASSERT_EQ(u4name_ret_ext(ext, 3, "a\\tab.mdx"), 3);
  EXPECT_EQ(std::string(ext, 3), "mdx");
  char made[40];
  u4name_make(made, sizeof made, "C:", "\\dane\\", "plik.dbf");
  EXPECT_STREQ(made, "C:\\dane\\plik.dbf");
  u4name_make(made, sizeof made, "C:", "dane", "D:x.dbf");
  EXPECT_STREQ(made, "\\dane\\D:x.dbf");
  EXPECT_EQ(u4name_char('_') + u4name_char('@') + u4name_char('&') + u4name_char('7'), 4);
  EXPECT_EQ(u4name_char('.') + u4name_char(' '), 0);
}

TEST(DbNamesTest, CommunicationLogTokens) {
  char out[8];
  EXPECT_EQ(c4char_visible(out, 'A', nullptr), 1);
  EXPECT_STREQ(out, "A");
  const unsigned char a_ogonek = (unsigned char)Utf8ToMazText("ą")[0];
  EXPECT_EQ(c4char_visible(out, a_ogonek, nullptr), 1);
  EXPECT_EQ(c4char_visible(out, 0x02, nullptr), 4);
  EXPECT_STREQ(out, "\x8B" "02\x9B");
  const unsigned char names[] = {0x02, 'S', 'T', 'X', 0, 0, 0x1B, 'E', 'S', 'C', 'A', 'P', 0};
  EXPECT_EQ(c4char_visible(out, 0x02, names), 5);
  EXPECT_STREQ(out, "\x8BSTX\x9B");
  EXPECT_EQ(c4char_visible(out, 0x1B, names), 7);
  EXPECT_STREQ(out, "\x8B" "ESCAP\x9B");
  EXPECT_EQ(c4char_visible(out, 0x03, names), 2);
  EXPECT_EQ(c4char_visible(out, 0xB0, nullptr), 4);   // a frame piece, not a letter
}

TEST_F(DbTest, MissingFileFollowsTheOpenReportSwitch) {
  DbFile file;
  engine->report_open_errors = 0;
  EXPECT_EQ(file4open(&file, engine, "BRAK.DBF", 0), r4no_open);
  EXPECT_EQ(engine->error_code, r4no_open);
  EXPECT_TRUE(screen.shown.empty());
  engine->report_open_errors = 1;
  EXPECT_EQ(file4open(&file, engine, "BRAK.DBF", 0), e4open);
  EXPECT_TRUE(CriticalShown("Otwarcie zbioru"));
  EXPECT_TRUE(CriticalShown(Utf8ToMazText("Zbiór:")));
  EXPECT_TRUE(CriticalShown("BRAK.DBF"));
}

TEST_F(DbTest, ReadOnlyFilesRefuseWrites) {
  WriteFile(Path("RO.BIN"), "abc");
  DbFile file;
  engine->read_only = 1;
  ASSERT_EQ(file4open(&file, engine, "RO.BIN", 1), 0);
  EXPECT_EQ(file.read_only, 1);
  EXPECT_EQ(file4write(&file, 0, "x", 1), e4parm);
  EXPECT_TRUE(CriticalShown("!319!"));
  e4set_code(engine, 0);
  EXPECT_EQ(file4lock(&file, 5, 1), 0);
  file4close(&file);
  EXPECT_EQ(ReadFile(Path("RO.BIN")), "abc");
}

TEST_F(DbTest, CreateSafetyKeepsAnExistingFile) {
  WriteFile(Path("KEEP.DBF"), "data");
  DbFile file;
  engine->report_create_errors = 0;
  EXPECT_EQ(file4create(&file, engine, "KEEP.DBF", 0), r4no_create);
  EXPECT_EQ(engine->error_code, r4no_create);
  EXPECT_EQ(ReadFile(Path("KEEP.DBF")), "data");
}

TEST_F(DbTest, TemporaryFilesWaitOnlyForATakenName) {
  char name[260];
  DbFile first, second;
  ASSERT_EQ(file4temp(&first, engine, nullptr, name, 1), 0);
  EXPECT_STREQ(name, "TEMP6000.TMP");   // 10:00:00 is second 36000 of the day
  EXPECT_EQ(screen.waitedMs, 0);
  ASSERT_EQ(file4temp(&second, engine, nullptr, name, 1), 0);
  EXPECT_STREQ(name, "TEMP6001.TMP");
  EXPECT_EQ(screen.waitedMs, 1000);
  file4close(&first);
  file4close(&second);
  EXPECT_FALSE(PlatFileExists(Path("TEMP6000.TMP").c_str()));
  // Beside the table it serves.
  std::filesystem::create_directory(Path("sub"));
  ASSERT_EQ(file4temp(&first, engine, "sub/TABLE.DBF", name, 0), 0);
  file4close(&first);
  EXPECT_TRUE(PlatFileExists(Path(std::string(name)).c_str()));
  EXPECT_EQ(std::string(name).substr(0, 4), "sub/");
}

TEST_F(DbTest, ReplaceGivesTheTargetTheSourceContents) {
  for (int exclusive = 0; exclusive <= 1; exclusive++) {
    SCOPED_TRACE(exclusive);
    WriteFile(Path("TARGET.BIN"), std::string(5000, 'o'));
    engine->exclusive = exclusive;
    DbFile target, source;
    ASSERT_EQ(file4open(&target, engine, "TARGET.BIN", 1), 0);
    char name[260];
    ASSERT_EQ(file4temp(&source, engine, nullptr, name, 1), 0);
    std::string body(40000, 'n');
    ASSERT_EQ(file4write(&source, 0, body.data(), (unsigned)body.size()), 0);
    ASSERT_EQ(file4replace(&target, &source), 0);
    EXPECT_EQ(ReadFile(Path("TARGET.BIN")), body);
    EXPECT_FALSE(PlatFileExists(Path(name).c_str()));
    EXPECT_EQ(file4len(&target), 40000);
    file4close(&target);
    engine->exclusive = 0;
  }
}

TEST_F(DbTest, HeaderCountIsWrittenOnlyUnderALock) {
  DbTable* t = MakeTable("COUNT", kFields, 1);
  ASSERT_NE(t, nullptr);
  EXPECT_THROW(d4update_header(t, 0, 1), FatalStopCaught);
}

TEST_F(DbTest, SequentialWriterAndReaderCrossBufferBoundaries) {
  DbFile file;
  ASSERT_EQ(file4create(&file, engine, "SEQ.BIN", 0), 0);
  std::string expected(100, 'h');
  char buffer[3000];
  DbSeqWriter writer;
  ASSERT_EQ(file4seq_write_init(&writer, &file, 100, buffer, sizeof buffer), 0);
  std::string body;
  for (int i = 0; i < 700; i++) body += (char)('a' + i % 26);
  for (int i = 0; i < 5; i++) ASSERT_EQ(file4seq_write(&writer, body.data(), (unsigned)body.size()), 0);
  ASSERT_EQ(file4seq_write_repeat(&writer, 1300, 'z'), 0);
  ASSERT_EQ(file4seq_write_flush(&writer), 0);
  ASSERT_EQ(file4write(&file, 0, expected.data(), 100), 0);
  for (int i = 0; i < 5; i++) expected += body;
  expected += std::string(1300, 'z');
  EXPECT_EQ(ReadFile(Path("SEQ.BIN")), expected);

  DbSeqReader reader;
  ASSERT_EQ(file4seq_read_init(&reader, &file, 50, buffer, sizeof buffer), 0);
  std::string got(expected.size() - 50, '\0');
  for (size_t at = 0; at < got.size(); at += 333) {
    unsigned take = (unsigned)std::min<size_t>(333, got.size() - at);
    ASSERT_EQ(file4seq_read_all(&reader, &got[at], take), 0);
  }
  EXPECT_EQ(got, expected.substr(50));
  char more;
  EXPECT_EQ(file4seq_read(&reader, &more, 1), 0u);
  file4close(&file);
}

}  // namespace
