// The .DBF layout on disk: what the engine writes, what it accepts, and what
// a damaged file does to it.
#include <cstring>
#include <random>

#include "env/dates.h"
#include "tests/db/db_test_support.h"

namespace {

// Bytes of a table written by hand: C 5 "NAME", N 6.2 "PRICE", D "DAY", L "OK".
std::string HandMadeTable(uint32_t stored_count, const std::vector<std::string>& records) {
  std::string header(32, '\0');
  header[0] = 3;
  header[1] = 126, header[2] = 3, header[3] = 15;
  header[4] = (char)stored_count, header[5] = (char)(stored_count >> 8);
  const unsigned fields = 4, width = 1 + 5 + 6 + 8 + 1;
  header[8] = (char)(32 * fields + 33), header[9] = 0;
  header[10] = (char)width, header[11] = 0;
  auto descriptor = [](const char* name, char type, int width, int decimals) {
    std::string d(32, '\0');
    std::memcpy(&d[0], name, std::strlen(name));
    d[11] = type, d[16] = (char)width, d[17] = (char)decimals;
    return d;
  };
  std::string file = header + descriptor("NAME", 'C', 5, 0) + descriptor("PRICE", 'N', 6, 2) +
                     descriptor("DAY", 'D', 8, 0) + descriptor("OK", 'L', 1, 0) + "\x0D";
  for (const std::string& r : records) file += r;
  return file + "\x1A";
}

// mark, NAME (5), PRICE (6), DAY (8), OK (1)
const std::vector<std::string> kHandRecords = {std::string(" ") + "Anna " + " 12.50" + "20260105" + "T",
                                                std::string("*") + "Bolek" + " -3.00" + "        " + "F",
                                                std::string(" ") + "Cela " + " 99.99" + "        " + "?"};

TEST_F(DbTest, CreatedHeaderMatchesTheLayoutByteForByte) {
  DbTable* t = MakeTable("LAYOUT", {{"A", 'C', 4, 0}, {"B", 'N', 5, 0}, {"C", 'C', 9, 0}, {"D", 'D', 8, 0}});
  ASSERT_NE(t, nullptr);
  d4close(t);
  std::string f = ReadFile(Path("LAYOUT.DBF"));
  ASSERT_EQ(f.size(), 162u);
  EXPECT_EQ(f[0], 3);
  EXPECT_EQ((unsigned char)f[1], 126);   // 2026 - 1900, from the fixed clock
  EXPECT_EQ(f[2], 12);
  EXPECT_EQ(f[3], 10);
  EXPECT_EQ(Le32(f, 4), 0u);
  EXPECT_EQ(Le16(f, 8), 161u);
  EXPECT_EQ(Le16(f, 10), 27u);
  EXPECT_EQ(f.substr(12, 20), std::string(20, '\0'));
  EXPECT_EQ(f[160], 0x0D);
  EXPECT_EQ(f[161], 0x1A);
  const char* names[] = {"A", "B", "C", "D"};
  const char types[] = {'C', 'N', 'C', 'D'};
  const int widths[] = {4, 5, 9, 8};
  for (int i = 0; i < 4; i++) {
    std::string d = f.substr(32 + 32 * i, 32);
    EXPECT_EQ(std::string(d.c_str()), names[i]);
    EXPECT_EQ(d.substr(1, 10), std::string(10, '\0'));
    EXPECT_EQ(d[11], types[i]);
    EXPECT_EQ(d[16], widths[i]);
    EXPECT_EQ(d[17], 0);
    EXPECT_EQ(d.substr(18), std::string(14, '\0'));
  }
}

TEST_F(DbTest, NumberDecimalsAndWideTextStoreTheirSizeBytes) {
  DbTable* t = MakeTable("WIDE", {{"KWOTA", 'N', 13, 4}, {"OPIS", 'C', 2100, 0}});
  ASSERT_NE(t, nullptr);
  d4close(t);
  std::string f = ReadFile(Path("WIDE.DBF"));
  EXPECT_EQ(f[32 + 16], 13);
  EXPECT_EQ(f[32 + 17], 4);
  EXPECT_EQ((unsigned char)f[64 + 16], 0x34);
  EXPECT_EQ((unsigned char)f[64 + 17], 0x08);
  EXPECT_EQ(Le16(f, 10), 1u + 13 + 2100);
  t = d4open(engine, "WIDE");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(f4len(d4field(t, "OPIS")), 2100u);
  EXPECT_EQ(f4decimals(d4field(t, "KWOTA")), 4);
  EXPECT_EQ(d4record_width(t), 2114u);
}

TEST_F(DbTest, RecordsWrittenByTheEngineReadBackWithAPlainReader) {
  DbTable* t = MakeTable("PLAIN", {{"NAZWA", 'C', 6, 0}, {"CENA", 'N', 8, 2}, {"DATA", 'D', 8, 0}, {"JEST", 'L', 1, 0}});
  ASSERT_NE(t, nullptr);
  const char* names[] = {"kot", "pies", "kanarek"};
  for (int i = 0; i < 3; i++) {
    ASSERT_EQ(d4append_start(t, 0), 0);
    d4blank(t);
    f4assign(d4field(t, "nazwa"), names[i]);
    f4assign_double(d4field(t, "CENA"), -12.345 * (i + 1));
    f4assign(d4field(t, "DATA"), "20261210");
    f4assign_char(d4field(t, "JEST"), i == 1 ? 'F' : 'T');
    ASSERT_EQ(d4append(t), 0);
  }
  ASSERT_EQ(d4go(t, 2), 0);
  d4delete(t);
  ASSERT_EQ(d4close(t), 0);

  PlainDbf plain(ReadFile(Path("PLAIN.DBF")));
  ASSERT_EQ(plain.count, 3u);
  ASSERT_EQ(plain.fields.size(), 4u);
  EXPECT_EQ(plain.bytes.size(), plain.header_length + 3 * plain.record_width + 1);
  EXPECT_EQ(plain.bytes.back(), 0x1A);
  EXPECT_EQ(plain.Value(1, 0), "kot   ");
  EXPECT_EQ(plain.Value(3, 0), "kanare");
  EXPECT_EQ(plain.Value(1, 1), "  -12.35");
  EXPECT_EQ(plain.Value(2, 1), "  -24.69");
  EXPECT_EQ(plain.Value(3, 2), "20261210");
  EXPECT_EQ(plain.Value(2, 3), "F");
  EXPECT_EQ(plain.Mark(1), ' ');
  EXPECT_EQ(plain.Mark(2), '*');
}

TEST_F(DbTest, HandMadeTableOpensAndReadsFieldByField) {
  WriteFile(Path("HAND.DBF"), HandMadeTable(3, kHandRecords));
  DbTable* t = d4open(engine, "hand");
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(d4alias(t), "HAND");
  EXPECT_EQ(d4num_fields(t), 4);
  EXPECT_EQ(d4reccount(t), 3);
  ASSERT_EQ(d4top(t), 0);
  EXPECT_EQ(FieldText(t, 1), "Anna ");
  EXPECT_DOUBLE_EQ(f4double(d4field(t, "PRICE")), 12.5);
  EXPECT_EQ(f4long(d4field(t, "DAY")), date4long("20260105"));
  EXPECT_EQ(f4char(d4field(t, "OK")), 'T');
  EXPECT_EQ(d4deleted(t), 0);
  ASSERT_EQ(d4skip(t, 1), 0);
  EXPECT_EQ(d4deleted(t), 1);
  EXPECT_DOUBLE_EQ(f4double(d4field(t, "PRICE")), -3.0);
  EXPECT_EQ(f4long(d4field(t, "DAY")), 0);
  EXPECT_EQ(f4type(d4field(t, "PRICE")), 'N');
  EXPECT_EQ(d4field_number(t, " day "), 3);
  EXPECT_EQ(engine->error_code, 0);
}

TEST_F(DbTest, StoredCountAboveTheRecordsIsRefusedOrRepaired) {
  WriteFile(Path("SHORT.DBF"), HandMadeTable(5, kHandRecords));
  env->refuseDamagedTables = 1;
  EXPECT_EQ(d4open(engine, "SHORT"), nullptr);
  ASSERT_FALSE(screen.shown.empty());
  EXPECT_EQ(screen.shown.back().kind, SCREEN_BOX_ALARM);
  EXPECT_EQ(Le32(ReadFile(Path("SHORT.DBF")), 4), 5u);

  // Esc to the question refuses as well.
  env->refuseDamagedTables = 0;
  screen.answers = {SCREEN_KEY_ESC};
  EXPECT_EQ(d4open(engine, "SHORT"), nullptr);
  EXPECT_EQ(Le32(ReadFile(Path("SHORT.DBF")), 4), 5u);

  screen.answers = {'T'};
  DbTable* t = d4open(engine, "SHORT");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(Le32(ReadFile(Path("SHORT.DBF")), 4), 3u);
  EXPECT_EQ(d4reccount(t), 3);
  EXPECT_EQ(screen.shown.back().kind, SCREEN_BOX_INFO);
}

TEST_F(DbTest, StoredCountBelowTheRecordsHidesTheRest) {
  WriteFile(Path("LESS.DBF"), HandMadeTable(2, kHandRecords));
  DbTable* t = d4open(engine, "LESS");
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(screen.shown.empty());
  EXPECT_EQ(d4bottom(t), 0);
  EXPECT_EQ(d4recno(t), 2);
  EXPECT_EQ(d4reccount(t), 2);
}

// A field descriptor or header that no table can have is an error for that
// table only: the open fails with a message and the engine works on.
TEST_F(DbTest, ImpossibleDescriptorsAreRefusedWithAnError) {
  struct Case {
    const char* what;
    size_t at;
    char value;
  };
  const Case cases[] = {
      {"decimals above the width", 32 + 32 + 17, 9},
      {"decimals leaving no digit", 32 + 32 + 17, 5},
      {"number wider than 20", 32 + 32 + 16, 30},
      {"date not 8 wide", 32 + 64 + 16, 3},
      {"zero-width text", 32 + 16, 0},
      {"header length below 33", 8, 20},
      {"header past the end of the file", 9, 4},
  };
  WriteFile(Path("GOOD.DBF"), HandMadeTable(3, kHandRecords));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = HandMadeTable(3, kHandRecords);
    bytes[c.at] = c.value;
    WriteFile(Path("BAD.DBF"), bytes);
    screen.shown.clear();
    EXPECT_EQ(d4open(engine, "BAD"), nullptr);
    EXPECT_LT(engine->error_code, 0);
    EXPECT_FALSE(screen.shown.empty());
    e4set_code(engine, 0);
    DbTable* good = d4open(engine, "GOOD");
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(d4close(good), 0);
  }
}

TEST_F(DbTest, BadDeletionMarkIsAnErrorNotAStop) {
  std::vector<std::string> records = kHandRecords;
  records[1][0] = 'X';
  WriteFile(Path("MARK.DBF"), HandMadeTable(3, records));
  DbTable* t = d4open(engine, "MARK");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4go(t, 2), 0);
  EXPECT_EQ(d4deleted(t), -1);
  EXPECT_EQ(engine->error_code, e4data);
  e4set_code(engine, 0);
  d4recall(t);
  EXPECT_EQ(engine->error_code, e4data);
  e4set_code(engine, 0);
  // d4delete repairs the mark; a pack refuses the damaged table untouched.
  std::string before = ReadFile(Path("MARK.DBF"));
  EXPECT_LT(d4pack(t), 0);
  EXPECT_EQ(ReadFile(Path("MARK.DBF")), before);
  e4set_code(engine, 0);
  ASSERT_EQ(d4go(t, 2), 0);
  d4delete(t);
  EXPECT_EQ(d4deleted(t), 1);
}

// Hostile header and descriptor bytes, then random damage: opening and a full
// scan must end normally, whatever they report.
class DbCorruptionTest : public DbTest {
 protected:
  void OpenAndScan(const std::string& bytes) {
    WriteFile(Path("HURT.DBF"), bytes);
    screen.answers.assign(4, 'T');
    DbTable* t = d4open(engine, "HURT");
    if (t != nullptr) {
      int steps = 0;
      for (int r = d4top(t); r == 0 && steps < 100; r = d4skip(t, 1), steps++) {
        d4deleted(t);
        for (int j = 1; j <= d4num_fields(t); j++) {
          f4double(d4field_j(t, j));
          f4long(d4field_j(t, j));
        }
      }
      EXPECT_LT(steps, 100);
      e4set_code(engine, 0);
      d4close(t);
    }
    e4set_code(engine, 0);
    EXPECT_EQ(engine->open_tables.count, 0);
  }
};

TEST_F(DbCorruptionTest, EveryHeaderByteWithHostileValues) {
  const std::string good = HandMadeTable(3, kHandRecords);
  const size_t header_end = 32 * 5 + 1;
  for (int refuse = 0; refuse <= 1; refuse++) {
    env->refuseDamagedTables = refuse;
    for (size_t at = 0; at < header_end; at++) {
      for (unsigned char value : {0x00, 0x01, 0x0D, 0x20, 0x7F, 0x80, 0xFF}) {
        SCOPED_TRACE(testing::Message() << "byte " << at << " = " << (int)value);
        std::string bytes = good;
        bytes[at] = (char)value;
        OpenAndScan(bytes);
      }
    }
  }
}

TEST_F(DbCorruptionTest, RandomMutationsWithAFixedSeed) {
  const std::string good = HandMadeTable(3, kHandRecords);
  std::mt19937 random(20261210);
  env->refuseDamagedTables = 0;
  for (int round = 0; round < 300; round++) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    std::string bytes = good;
    int changes = 1 + (int)(random() % 6);
    for (int i = 0; i < changes; i++) bytes[random() % bytes.size()] = (char)(random() % 256);
    if (random() % 5 == 0) bytes.resize(random() % bytes.size());
    OpenAndScan(bytes);
  }
}

}  // namespace
