// The table definition interface: the arena, field and tag definitions,
// open_dbf creating, converting and indexing tables, and crash safety of
// tables opened through it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>

#include "db/db_index.h"
#include "db/dbf_definition.h"
#include "db/reindex.h"
#include "env/code_pages.h"
#include "platform/files.h"
#include "tests/db/db_test_support.h"

namespace {

namespace fs = std::filesystem;

struct FieldSpec {
  const char* name;
  int spec;
};

class DefinitionTest : public DbTest {
 protected:
  void TearDown() override {
    ReleaseDbfDefinition();
    DbTest::TearDown();
  }
  void Define(const std::vector<FieldSpec>& fields, const std::vector<const char*>& tags = {}) {
    ReleaseDbfDefinition();
    ASSERT_NE(AllocDbfDefinition(), nullptr);
    for (const FieldSpec& f : fields) DefineField_(f.name, f.spec);
    for (const char* t : tags) DefineTag(t);
  }
  int Open(const char* name, int flags = 0, bool withIndex = true) {
    return open_dbf(name, &table, GetFieldsInfo(), withIndex ? &index : nullptr, GetTagsInfo(), flags);
  }
  bool Critical(int code) const { return CriticalShown("ERRCODE(" + std::to_string(code) + ")"); }
  std::string Log() const { return ReadFile(Path("home/ER.Log")); }
  std::string Field(const char* name) {
    DbField* f = d4field(table, name);
    if (f == nullptr) return "<none>";
    std::string text(f4ptr(f), f4len(f));
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  void Fill(DbTable* t, int count) {
    for (int i = 1; i <= count; i++) {
      d4append_start(t, 0);
      d4blank(t);
      f4assign(d4field(t, "NAME"), ("N" + std::to_string(i)).c_str());
      f4assign_long(d4field(t, "QTY"), i * 10);
      ASSERT_EQ(d4append(t), 0);
      if (i % 3 == 0) {
        d4delete(t);
        ASSERT_EQ(d4flush(t), 0);
      }
    }
    d4unlock(t);
  }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) {
      std::string ext = e.path().extension();
      if (ext == ".TMP" || ext == ".tmp") out.push_back(e.path().filename());
    }
    return out;
  }

  DbTable* table = nullptr;
  DbIndex* index = nullptr;
};

const std::vector<FieldSpec> kOld = {{"NAME", 0x0602}, {"QTY", 0x0501}};

// ---- definitions

TEST_F(DefinitionTest, PackedNamesAndSpecificationsBecomeFields) {
  struct Case {
    int packed, spec;
    const char* name;
    int type, length, decimals;
  } cases[] = {
      {0x50524500, 0x402, "PRE", 'C', 4, 0},   {0x494C4F00, 0xD41, "ILO", 'N', 13, 4},
      {0x44415400, 0x803, "DAT", 'D', 8, 0},   {0x4E554D41, 0x2802, "NUMA", 'C', 40, 0},
      {0x4F504953, 0xFF04, "OPIS", 'C', 2100, 0},
  };
  ASSERT_NE(AllocDbfDefinition(), nullptr);
  for (const Case& c : cases) DefineField(c.packed, c.spec);
  const DbfFieldDef* fields = GetFieldsInfo();
  ASSERT_NE(fields, nullptr);
  ASSERT_EQ(CountFieldDefs(fields), 5);
  for (size_t i = 0; i < std::size(cases); i++) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_STREQ(fields[i].name, cases[i].name);
    EXPECT_EQ(fields[i].type, cases[i].type);
    EXPECT_EQ(fields[i].length, cases[i].length);
    EXPECT_EQ(fields[i].decimals, cases[i].decimals);
  }
  EXPECT_EQ(FindFieldDef(fields, "ILO"), &fields[1]);
  EXPECT_EQ(FindFieldDef(fields, "IL"), nullptr);
}

TEST_F(DefinitionTest, TagsAreNamedByPositionAndTheEleventhIsRefused) {
  ASSERT_NE(AllocDbfDefinition(), nullptr);
  for (int i = 0; i < 9; i++) DefineTag("NAME");
  DefineTag_("QTY", "QTY > 0", 10);
  EXPECT_FALSE(Critical(LOG_DEF_TAGS_FULL));
  DefineTag("NAME");
  EXPECT_TRUE(Critical(LOG_DEF_TAGS_FULL));
  const DbfTagDef* tags = GetTagsInfo();
  const char* names[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A"};
  for (int i = 0; i < 10; i++) EXPECT_STREQ(tags[i].name, names[i]);
  EXPECT_EQ(tags[10].name, nullptr);
  EXPECT_STREQ(tags[0].filter, ".NOT.DELETED()");
  EXPECT_EQ(tags[0].unique, 0);
  EXPECT_STREQ(tags[9].filter, "QTY > 0");
  EXPECT_EQ(tags[9].descending, 10);
}

TEST_F(DefinitionTest, ArenaRefusesASecondDefinitionAndForeignBlocks) {
  DbfTagDef* tags = AllocDbfDefinition();
  ASSERT_NE(tags, nullptr);
  DefineField_("NAME", 0x0602);
  EXPECT_EQ(AllocDbfDefinition(), nullptr);
  EXPECT_TRUE(Critical(LOG_DEF_NO_SLOT));
  EXPECT_EQ(CountFieldDefs(GetFieldsInfo()), 1);    // the first definition is untouched

  int local = 0;
  DbfArenaGive(&local);
  EXPECT_TRUE(Critical(LOG_DEF_BAD_RELEASE));

  ReleaseDbfDefinition();
  EXPECT_EQ(GetFieldsInfo(), nullptr);
  EXPECT_TRUE(Critical(LOG_DEF_NO_FIELDS));
  EXPECT_EQ(GetTagsInfo(), nullptr);
  EXPECT_TRUE(Critical(LOG_DEF_NO_TAGS));

  // First gap that is large enough; none large enough gives NULL without a log.
  screen.shown.clear();
  char* a = (char*)DbfArenaTake(1000);
  char* b = (char*)DbfArenaTake(1000);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  DbfArenaGive(a);
  EXPECT_EQ(DbfArenaTake(DEFINITION_ARENA_BYTES), nullptr);
  char* c = (char*)DbfArenaTake(500);
  EXPECT_EQ(c, a);
  EXPECT_EQ(c[0], 0);
  EXPECT_TRUE(screen.shown.empty());
  DbfArenaGive(b);
  DbfArenaGive(c);
  EXPECT_NE(AllocDbfDefinition(), nullptr);
}

// A definition that refused a field would convert the table and drop it.
TEST_F(DefinitionTest, AFieldListThatOverflowedOpensNothing) {
  Define(kOld);
  ASSERT_EQ(Open("STOCK"), 0);
  Fill(table, 4);
  d4close(table);
  std::string before = ReadFile(Path("STOCK.DBF"));

  ReleaseDbfDefinition();
  ASSERT_NE(AllocDbfDefinition(), nullptr);
  static std::vector<std::string> names;
  for (int i = (int)names.size(); i < 300; i++) names.push_back("F" + std::to_string(i));
  for (const std::string& n : names) DefineField_(n.c_str(), 0x0102);
  EXPECT_TRUE(Critical(LOG_DEF_FIELDS_FULL));
  EXPECT_EQ(open_dbf("STOCK", &table, GetFieldsInfo(), nullptr, nullptr, 0), -1);
  EXPECT_EQ(table, nullptr);
  EXPECT_EQ(ReadFile(Path("STOCK.DBF")), before);
  EXPECT_FALSE(fs::exists(Path("STOCK.BAK")));
}

TEST_F(DefinitionTest, SetDbfYearWritesTheLastTwoDigits) {
  struct Case {
    const char* name;
    int year;
    const char* expected;
  } cases[] = {{"Z5SPRZ  .DBF", 2025, "Z5SPRZ25.DBF"}, {"Z5SPRZ  .DBF", 1999, "Z5SPRZ99.DBF"},
               {"Z5VAT   ", 2008, "Z5VAT 08"},        {"SHORT", 2025, "SHORT"}};
  for (const Case& c : cases) {
    char name[16];
    std::strcpy(name, c.name);
    EXPECT_EQ(SetDbfYear(name, c.year), name);
    EXPECT_STREQ(name, c.expected);
  }
}

// ---- open_dbf

TEST_F(DefinitionTest, MissingTableIsCreatedUnlessItMustExist) {
  Define(kOld, {"NAME", "QTY"});
  EXPECT_EQ(Open("STOCK", OPEN_DBF_MUST_EXIST), r4missing);
  EXPECT_EQ(table, nullptr);
  EXPECT_FALSE(fs::exists(Path("STOCK.DBF")));

  ASSERT_EQ(Open("stock.xyz"), 0);
  EXPECT_TRUE(fs::exists(Path("STOCK.DBF")));
  EXPECT_TRUE(fs::exists(Path("STOCK.MDX")));
  ResetDbfActivation(table, index);
  DbField* name = ActivateField();
  DbField* qty = ActivateField();
  EXPECT_EQ(ActivateField(), nullptr);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(f4name(name), "NAME");
  EXPECT_STREQ(f4name(qty), "QTY");
  DbTag* first = ActivateTag();
  DbTag* second = ActivateTag();
  ASSERT_NE(second, nullptr);
  EXPECT_STREQ(first->name, "1");
  EXPECT_STREQ(second->name, "2");
  EXPECT_EQ(engine->error_code, 0);
  // The table variable is cleared when the table closes.
  d4close(table);
  EXPECT_EQ(table, nullptr);

  // Flag 4 keeps the extension of the name.
  ASSERT_EQ(Open("SALES.D25", OPEN_DBF_KEEP_EXT, false), 0);
  EXPECT_TRUE(fs::exists(Path("SALES.D25")));
}

TEST_F(DefinitionTest, FlagsRebuildTheIndexOrRecreateTheTable) {
  Define(kOld, {"NAME"});
  ASSERT_EQ(Open("STOCK"), 0);
  Fill(table, 4);
  d4close(table);
  // Records appended past the index leave it stale until it is rebuilt.
  DbTable* bare = d4open(engine, "STOCK");
  ASSERT_NE(bare, nullptr);
  ASSERT_EQ(bare->indexes.count, 0);
  d4append_start(bare, 0);
  d4blank(bare);
  f4assign(d4field(bare, "NAME"), "LATE");
  ASSERT_EQ(d4append(bare), 0);
  d4close(bare);
  for (int flags : {0, OPEN_DBF_REINDEX}) {
    ASSERT_EQ(Open("STOCK", flags), 0);
    d4tag_select(table, d4tag(table, "1"));
    EXPECT_EQ(d4seek(table, "LATE"), flags ? 0 : r4after) << flags;
    d4close(table);
  }
  ASSERT_EQ(Open("STOCK", OPEN_DBF_RECREATE | OPEN_DBF_MUST_EXIST), 0);
  EXPECT_EQ(d4reccount(table), 0);
  // A field the table lacks is shown when it is bound.
  d4close(table);
  Define({{"NAME", 0x0602}, {"QTY", 0x0501}});
  ASSERT_EQ(Open("STOCK", 0, false), 0);
  Define({{"NAME", 0x0602}, {"NOPE", 0x0501}});
  ResetDbfActivation(table, nullptr);
  EXPECT_NE(ActivateField(), nullptr);
  EXPECT_EQ(ActivateField(), nullptr);
  EXPECT_EQ(engine->error_code, e4field_name);
}

struct Change {
  const char* what;
  std::vector<FieldSpec> fields;
  std::vector<const char*> tags;
  bool converted;
};

class StructureChangeTest : public DefinitionTest, public ::testing::WithParamInterface<Change> {};

TEST_P(StructureChangeTest, EveryRecordSurvives) {
  const Change& change = GetParam();
  Define(kOld, {"NAME"});
  ASSERT_EQ(Open("STOCK"), 0);
  Fill(table, 50);
  d4close(table);
  std::string old_bytes = ReadFile(Path("STOCK.DBF"));

  Define(change.fields, change.tags);
  ASSERT_EQ(Open("STOCK"), 0) << engine->error_code;
  EXPECT_EQ(fs::exists(Path("STOCK.BAK")), change.converted);
  if (change.converted) {
    EXPECT_EQ(ReadFile(Path("STOCK.BAK")), old_bytes);
    EXPECT_NE(Log().find("STOCK.DBF zako"), std::string::npos);
  }
  EXPECT_TRUE(TempFiles().empty());
  ASSERT_EQ(d4reccount(table), 50);
  for (int i = 1; i <= 50; i++) {
    ASSERT_EQ(d4go(table, i), 0);
    EXPECT_EQ(Field("NAME"), "N" + std::to_string(i));
    EXPECT_EQ(f4long(d4field(table, "QTY")), i * 10);
    EXPECT_EQ(d4deleted(table), i % 3 == 0);
  }
  // The index holds the definition's tags and every record that is not deleted.
  ResetDbfActivation(table, index);
  for (size_t t = 0; t < change.tags.size(); t++) ASSERT_NE(ActivateTag(), nullptr);
  d4tag_select(table, d4tag(table, "1"));
  int keys = 0;
  for (int r = d4top(table); r == 0; r = d4skip(table, 1)) keys++;
  EXPECT_EQ(keys, 50 - 50 / 3);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, StructureChangeTest,
    ::testing::Values(Change{"FieldAdded", {{"NAME", 0x0602}, {"QTY", 0x0501}, {"NOTE", 0x1402}}, {"NAME"}, true},
                      Change{"WidthsChanged", {{"NAME", 0x0A02}, {"QTY", 0x0921}}, {"NAME"}, true},
                      Change{"TagAdded", {{"NAME", 0x0602}, {"QTY", 0x0501}}, {"NAME", "QTY"}, false},
                      Change{"OtherFieldOrder", {{"QTY", 0x0501}, {"NAME", 0x0602}}, {"NAME"}, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(DefinitionTest, EachKindOfDifferenceIsLogged) {
  Define(kOld);
  ASSERT_EQ(Open("STOCK", 0, false), 0);
  struct Case {
    std::vector<FieldSpec> fields;
    const char* entry;
  } cases[] = {
      {{{"NAME", 0x0602}}, "FCNT(2 -> 1), STOCK.DBF"},
      {{{"NAME", 0x0602}, {"QTZ", 0x0501}}, "QTY, Brak, STOCK.DBF"},
      {{{"NAME", 0x0603}, {"QTY", 0x0501}}, "NAME, TYP(C -> D), STOCK.DBF"},
      {{{"NAME", 0x0702}, {"QTY", 0x0501}}, "NAME, VOL(6 -> 7), STOCK.DBF"},
      {{{"NAME", 0x0602}, {"QTY", 0x0511}}, "QTY, DEC(0 -> 1), STOCK.DBF"},
  };
  for (const Case& c : cases) {
    Define(c.fields);
    EXPECT_EQ(CompareDbfStructure(table, GetFieldsInfo()), 1);
    EXPECT_NE(Log().find(c.entry), std::string::npos) << c.entry;
  }
  Define(kOld);
  EXPECT_EQ(CompareDbfStructure(table, GetFieldsInfo()), 0);
}

TEST_F(DefinitionTest, IndexWithOtherTagsIsRebuilt) {
  Define(kOld, {"NAME"});
  ASSERT_EQ(Open("STOCK"), 0);
  Fill(table, 5);
  d4close(table);
  Define(kOld, {"NAME", "QTY"});
  ASSERT_EQ(Open("STOCK"), 0);
  EXPECT_NE(Log().find("STOCK.MDX"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("STOCK.BAK")));
  d4tag_select(table, d4tag(table, "2"));
  EXPECT_EQ(d4seek_double(table, 40), 0);
  EXPECT_EQ(d4recno(table), 4);
}

TEST_F(DefinitionTest, DamagedIndexIsRebuilt) {
  Define(kOld, {"NAME"});
  ASSERT_EQ(Open("STOCK"), 0);
  Fill(table, 5);
  d4close(table);
  for (const std::string& damage : {std::string(2048, '\xEE'), std::string()}) {
    WriteFile(Path("STOCK.MDX"), damage);
    ASSERT_EQ(Open("STOCK"), 0) << engine->error_code;
    d4tag_select(table, d4tag(table, "1"));
    EXPECT_EQ(d4seek(table, "N4"), 0);
    EXPECT_EQ(d4recno(table), 4);
    d4close(table);
  }
}

// A conversion that fails on the way leaves the table as it was, open, in
// place, and no copy behind.
TEST_F(DefinitionTest, FailedConversionKeepsTheOriginal) {
  Define(kOld);
  ASSERT_EQ(Open("STOCK", 0, false), 0);
  Fill(table, 10);
  std::string before = ReadFile(Path("STOCK.DBF"));
  Define({{"NAME", 0x0602}, {"QTY", 0x0501}, {"NOTE", 0x0402}});
  static int calls;
  calls = 0;
  auto failing = [](DbTable* old_table, DbTable*) {
    if (++calls == 7) e4set_code(old_table->engine, e4write);
  };
  EXPECT_EQ(ConvertDbfStructure("STOCK.DBF", GetFieldsInfo(), table, failing), -1);
  EXPECT_EQ(calls, 7);
  EXPECT_EQ(engine->error_code, e4write);
  EXPECT_EQ(ReadFile(Path("STOCK.DBF")), before);
  EXPECT_FALSE(fs::exists(Path("STOCK.BAK")));
  EXPECT_TRUE(TempFiles().empty());
  e4set_code(engine, 0);
  EXPECT_EQ(d4lock_test_file(table), 0);
  ASSERT_EQ(d4go(table, 10), 0);
  EXPECT_EQ(f4long(d4field(table, "QTY")), 100);
}

// ---- crash safety

// Reads "n v" lines the child reported: record n committed with value v.
std::map<long, long> ReadReports(int fd, std::string text = "") {
  char buffer[4096];
  for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, (size_t)got);
  std::map<long, long> committed;
  std::istringstream in(text);
  long n, v;
  while (in >> n >> v) committed[n] = std::max(committed[n], v);
  return committed;
}

TEST_F(DefinitionTest, KilledWriterLeavesEveryCommittedRecord) {
  Define({{"KEY", 0x0801}, {"VAL", 0x0801}}, {"KEY"});
  ASSERT_EQ(Open("CRASH"), 0);
  d4close(table);
  std::mt19937 random(20261210);
  std::map<long, long> committed;
  for (int round = 0; round < 30; round++) {
    SCOPED_TRACE("round " + std::to_string(round));
    int pipe_fds[2];
    ASSERT_EQ(pipe(pipe_fds), 0);
    unsigned seed = random();
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipe_fds[0]);
      std::mt19937 mine(seed);
      DbTable* t = nullptr;
      DbIndex* i = nullptr;
      if (open_dbf("CRASH", &t, GetFieldsInfo(), &i, GetTagsInfo(), 0) != 0) _exit(3);
      // Values grow across rounds, so a later value never looks older.
      for (long value = (round + 1) * 1000000L;; value++) {
        long count = d4reccount(t);
        long n;
        if (count == 0 || mine() % 3 == 0) {
          d4append_start(t, 0);
          d4blank(t);
          f4assign_long(d4field(t, "KEY"), count + 1);
          f4assign_long(d4field(t, "VAL"), value);
          if (d4append(t) != 0) _exit(4);
          n = d4recno(t);
        } else {
          n = 1 + (long)(mine() % (unsigned long)count);
          if (d4go(t, n) != 0) _exit(5);
          f4assign_long(d4field(t, "VAL"), value);
        }
        // A killed process loses nothing the system was given: no flush to disk is needed.
        if (d4unlock(t) != 0) _exit(6);
        std::string line = std::to_string(n) + " " + std::to_string(value) + "\n";
        if (write(pipe_fds[1], line.data(), line.size()) != (ssize_t)line.size()) _exit(7);
      }
    }
    close(pipe_fds[1]);
    // The kill timer starts at the child's first report, so a slow start
    // (sanitizers, a busy machine) still leaves every round with commits.
    char first[64];
    ssize_t got = read(pipe_fds[0], first, sizeof first);
    if (got <= 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      FAIL() << "the writer reported nothing";
    }
    usleep(5000 + random() % 30000);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
    for (auto [n, v] : ReadReports(pipe_fds[0], std::string(first, (size_t)got))) committed[n] = std::max(committed[n], v);
    close(pipe_fds[0]);

    ASSERT_EQ(Open("CRASH"), 0) << engine->error_code;
    ASSERT_EQ(d4reindex(table), 0);
    long count = d4reccount(table);
    ASSERT_GE(count, committed.empty() ? 0 : committed.rbegin()->first);
    for (auto [n, v] : committed) {
      ASSERT_EQ(d4go(table, n), 0);
      EXPECT_EQ(f4long(d4field(table, "KEY")), n);
      EXPECT_GE(f4long(d4field(table, "VAL")), v) << "record " << n;
    }
    // The rebuilt tag finds every record by its key.
    d4tag_select(table, d4tag(table, "1"));
    for (long n = 1; n <= count; n++) {
      ASSERT_EQ(d4seek_double(table, (double)n), 0) << n;
      ASSERT_EQ(d4recno(table), n);
    }
    d4close(table);
  }
  EXPECT_GT(committed.size(), 5u);
}

// A conversion killed at any moment leaves a whole table under its own name:
// the old one or the converted one, with every record.
TEST_F(DefinitionTest, KilledConversionNeverLosesTheTable) {
  const int records = 1000;
  Define(kOld);
  ASSERT_EQ(Open("CONV", 0, false), 0);
  Fill(table, records);
  d4close(table);
  std::string pristine = ReadFile(Path("CONV.DBF"));
  const std::vector<FieldSpec> wider = {{"NAME", 0x0C02}, {"QTY", 0x0921}, {"NOTE", 0x0402}};
  std::mt19937 random(4546);
  int converted_rounds = 0;
  for (int round = 0; round < 12; round++) {
    SCOPED_TRACE("round " + std::to_string(round));
    WriteFile(Path("CONV.DBF"), pristine);
    Define(wider);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      DbTable* t = nullptr;
      _exit(open_dbf("CONV", &t, GetFieldsInfo(), nullptr, nullptr, 0) == 0 ? 0 : 3);
    }
    // Every other round is killed at once, before the conversion can finish.
    usleep(round % 2 ? random() % 120000 : random() % 500);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;

    DbTable* seen = d4open(engine, "CONV");
    ASSERT_NE(seen, nullptr);
    ASSERT_EQ(d4reccount(seen), records);
    if (d4num_fields(seen) == 3) converted_rounds++;
    d4close(seen);
    ASSERT_EQ(Open("CONV", 0, false), 0);
    ASSERT_EQ(d4reccount(table), records);
    ASSERT_EQ(d4go(table, records), 0);
    EXPECT_EQ(f4long(d4field(table, "QTY")), records * 10);
    d4close(table);
    for (const std::string& temp : TempFiles()) fs::remove(Path(temp));
  }
  // Some rounds must have been killed before the swap, or the test shows nothing.
  EXPECT_LT(converted_rounds, 12);
}

// ---- a full disk and a folder that cannot be written

struct WriteRefusal {
  int errnoValue;
  int code;
  const char* codeText;
  const char* cause;
};

// A create that fails is told with its cause and leaves no file; once the
// disk has room again the table is made as if nothing had happened.
TEST_F(DefinitionTest, FailedCreateIsToldWithItsCauseAndLeavesNoFile) {
  const WriteRefusal cases[] = {
      {ENOSPC, -120, "Zapis do zbioru", "Brak miejsca na dysku."},
      {EACCES, -20, "Utworzenie zbioru", "Brak uprawnień do zapisu."},
      {EROFS, -20, "Utworzenie zbioru", "System plików tylko do odczytu."},
  };
  Define(kOld, {"NAME"});
  for (const WriteRefusal& c : cases) {
    SCOPED_TRACE(c.cause);
    screen.shown.clear();
    PlatSetWriteFailure(c.errnoValue, "/STOCK.");
    EXPECT_EQ(Open("STOCK"), -1);
    PlatSetWriteFailure(0, nullptr);
    EXPECT_FALSE(fs::exists(Path("STOCK.DBF")));
    EXPECT_FALSE(fs::exists(Path("STOCK.MDX")));
    ASSERT_EQ(screen.shown.size(), 1u);
    EXPECT_EQ(screen.shown[0].what, "critical");
    char number[32];
    std::snprintf(number, sizeof number, "%6i", c.code);
    EXPECT_EQ(screen.shown[0].text, Utf8ToMazText((std::string("Błąd numer ") + number + "\n" + c.codeText +
                                                   "\nZbiór:\nSTOCK.DBF\n" + c.cause + "\n").c_str()));
  }
  screen.shown.clear();
  ASSERT_EQ(Open("STOCK"), 0);
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_EQ(fs::file_size(Path("STOCK.DBF")), 98u);
}

// A table file left without its header by a create cut short is made again
// on the next open, told as other interrupted changes are; the sales of a
// new year are not blocked by it at every start.
TEST_F(DefinitionTest, TableWithoutHeaderIsMadeAgainAndTold) {
  Define(kOld, {"NAME"});
  // Empty, and the header written only in part (a version 3 header of count
  // 0 that claims 97 bytes in a file of 40).
  std::string cut(40, '\0');
  cut[0] = 3;
  cut[8] = 97;
  cut[10] = 12;
  int rounds = 0;
  for (const std::string& left : {std::string(), cut}) {
    SCOPED_TRACE(left.size());
    WriteFile(Path("STOCK.DBF"), left);
    screen.shown.clear();
    ASSERT_EQ(Open("STOCK"), 0) << engine->error_code;
    EXPECT_EQ(d4reccount(table), 0);
    d4close(table);
    std::string made = ReadFile(Path("STOCK.DBF"));
    ASSERT_EQ(made.size(), 98u);
    EXPECT_EQ(made[0], 3);
    EXPECT_EQ(Le16(made, 8), 97u);
    EXPECT_EQ(made.substr(32, 4), std::string("NAME"));
    EXPECT_EQ(made.substr(64, 3), std::string("QTY"));
    EXPECT_EQ(made.substr(96, 2), std::string("\x0D\x1A"));
    EXPECT_TRUE(fs::exists(Path("STOCK.MDX")));
    const std::string told = Utf8ToMazText(
        "Baza STOCK.DBF nie miała nagłówka, bo jej zakładanie\nzostało przerwane; została założona od nowa.");
    ASSERT_EQ(screen.shown.size(), 1u);
    EXPECT_EQ(screen.shown[0].what, "box");
    EXPECT_EQ(screen.shown[0].text, told);
    rounds++;
    std::string log = Log();
    // The log keeps its own character set: its plain part is looked for.
    const std::string logged = "Baza STOCK.DBF nie mia";
    EXPECT_NE(log.find("LGM(1087):" + logged), std::string::npos) << log;
    int times = 0;
    for (size_t at = log.find(logged); at != std::string::npos; at = log.find(logged, at + 1)) times++;
    EXPECT_EQ(times, rounds) << log;
  }
  // A whole table of another structure, shorter than this header, is
  // converted as before, not made again.
  fs::remove(Path("STOCK.DBF"));
  fs::remove(Path("STOCK.MDX"));
  Define({{"NAME", 0x0602}});
  ASSERT_EQ(Open("STOCK", 0, false), 0);
  d4close(table);
  ASSERT_EQ(fs::file_size(Path("STOCK.DBF")), 66u);
  Define(kOld, {"NAME"});
  screen.shown.clear();
  ASSERT_EQ(Open("STOCK"), 0);
  EXPECT_EQ(d4num_fields(table), 2);
  for (const auto& shown : screen.shown) EXPECT_EQ(shown.text.find("STOCK.DBF nie mia"), std::string::npos);
}

// While another workstation holds the create lock of a file without its
// header (its create is under way), the file is not made again under it.
TEST_F(DefinitionTest, TableBeingCreatedElsewhereIsNotMadeAgain) {
  Define(kOld, {"NAME"});
  WriteFile(Path("STOCK.DBF"), "");
  PlatFile creator = PLAT_NO_FILE;
  ASSERT_EQ(PlatFileOpen(Path("STOCK.DBF").c_str(), PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &creator), PLAT_OK);
  ASSERT_EQ(PlatFileLock(creator, 0x40000000u, 0xC0000000u, true), PLAT_OK);
  engine->lock_tries = 1;
  EXPECT_EQ(d4remake_headerless(engine, "STOCK.DBF", GetFieldsInfo()), 0);
  PlatFileClose(creator);
  EXPECT_EQ(fs::file_size(Path("STOCK.DBF")), 0u);
  EXPECT_EQ(d4remake_headerless(engine, "STOCK.DBF", GetFieldsInfo()), 1);
  EXPECT_EQ(fs::file_size(Path("STOCK.DBF")), 98u);
}


}  // namespace
