// Moving between records, writing, appending, deleting and packing.
#include "tests/db/db_test_support.h"

namespace {

const std::vector<DbfFieldDef> kFields = {{"NAME", 'C', 6, 0}, {"QTY", 'N', 5, 1}};

TEST_F(DbTest, EmptyTableStandsAtEndOfFileFromEitherEnd) {
  DbTable* t = MakeTable("EMPTY", kFields);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(d4top(t), r4eof);
  EXPECT_EQ(d4bof(t), 1);
  EXPECT_EQ(d4eof(t), 1);
  EXPECT_EQ(d4recno(t), 1);
  EXPECT_EQ(d4skip(t, 1), r4eof);
  EXPECT_EQ(d4skip(t, -1), r4bof);
  EXPECT_EQ(d4bottom(t), r4eof);
  EXPECT_EQ(d4bof(t), 1);
  EXPECT_EQ(engine->error_code, 0);
}

TEST_F(DbTest, SkippingStopsAtBothEnds) {
  DbTable* t = MakeTable("FIVE", kFields, 5);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4top(t), 0);
  EXPECT_EQ(FieldText(t, 1), "R1    ");
  EXPECT_EQ(d4skip(t, -1), r4bof);
  EXPECT_EQ(d4recno(t), 1);
  EXPECT_EQ(d4bof(t), 1);
  EXPECT_EQ(FieldText(t, 1), "R1    ");
  EXPECT_EQ(d4skip(t, 3), 0);
  EXPECT_EQ(d4recno(t), 4);
  EXPECT_EQ(d4bof(t), 0);
  EXPECT_EQ(d4skip(t, 1), 0);
  EXPECT_EQ(d4skip(t, 1), r4eof);
  EXPECT_EQ(d4recno(t), 6);
  EXPECT_EQ(d4eof(t), 1);
  EXPECT_EQ(FieldText(t, 1), "      ");
  EXPECT_EQ(d4skip(t, 1), r4eof);
  EXPECT_EQ(d4skip(t, -2), 0);
  EXPECT_EQ(d4recno(t), 4);
  EXPECT_EQ(d4skip(t, -10), r4bof);
  EXPECT_EQ(d4recno(t), 1);
  EXPECT_EQ(d4bottom(t), 0);
  EXPECT_EQ(d4recno(t), 5);
}

TEST_F(DbTest, SkipWithoutACurrentRecordIsReported) {
  DbTable* t = MakeTable("NOREC", kFields, 2);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4append_start(t, 0), 0);
  EXPECT_EQ(d4skip(t, 1), -1);
  EXPECT_TRUE(CriticalShown("!120!"));
  EXPECT_EQ(engine->error_code, e4info);
  // The error is sticky until cleared.
  EXPECT_EQ(d4top(t), -1);
  e4set_code(engine, 0);
  EXPECT_EQ(d4top(t), 0);
}

TEST_F(DbTest, ReadingPastTheEndFollowsTheReportSwitch) {
  DbTable* t = MakeTable("PAST", kFields, 2);
  ASSERT_NE(t, nullptr);
  engine->report_read_errors = 0;
  EXPECT_EQ(d4go(t, 9), r4entry);
  EXPECT_EQ(d4recno(t), -1);
  EXPECT_EQ(engine->error_code, 0);
  engine->report_read_errors = 1;
  EXPECT_EQ(d4go(t, 9), e4read);
  EXPECT_EQ(engine->error_code, e4read);
}

TEST_F(DbTest, ChangedRecordIsWrittenByTheNextMove) {
  DbTable* t = MakeTable("EDIT", kFields, 3);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4go(t, 2), 0);
  f4assign(d4field(t, "NAME"), "zmiana-za-dluga");
  f4assign_double(d4field(t, "QTY"), 12.26);
  EXPECT_EQ(d4changed(t, -1), 1);
  ASSERT_EQ(d4go(t, 3), 0);
  ASSERT_EQ(d4go(t, 2), 0);
  EXPECT_EQ(FieldText(t, 1), "zmiana");
  EXPECT_EQ(FieldText(t, 2), " 12.3");
  // A move away from an unchanged record writes nothing.
  std::string before = ReadFile(Path("EDIT.DBF"));
  ASSERT_EQ(d4go(t, 1), 0);
  EXPECT_EQ(ReadFile(Path("EDIT.DBF")), before);
}

TEST_F(DbTest, AppendWithoutAppendStartIsRefused) {
  DbTable* t = MakeTable("NOSTART", kFields, 1);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4go(t, 1), 0);
  EXPECT_EQ(d4append(t), -1);
  EXPECT_TRUE(CriticalShown("!476!"));
  e4set_code(engine, 0);
  EXPECT_EQ(d4reccount(t), 1);
}

TEST_F(DbTest, AppendDropsAPreparedRecordOnAMove) {
  DbTable* t = MakeTable("DROP", kFields, 2);
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4append_start(t, 0), 0);
  f4assign(d4field(t, "NAME"), "nowy");
  ASSERT_EQ(d4go(t, 1), 0);
  EXPECT_EQ(d4reccount(t), 2);
  ASSERT_EQ(d4append_blank(t), 0);
  EXPECT_EQ(d4reccount(t), 3);
  EXPECT_EQ(d4recno(t), 3);
  // The new record stays locked; the append byte does not.
  EXPECT_EQ(d4lock_test(t, 3), 1);
  EXPECT_EQ(t->append_locked, 0);
}

TEST_F(DbTest, PackKeepsTheLiveRecordsInOrder) {
  DbTable* t = MakeTable("PACK", kFields, 10);
  ASSERT_NE(t, nullptr);
  for (long n : {2, 5, 10}) {
    ASSERT_EQ(d4go(t, n), 0);
    d4delete(t);
  }
  ASSERT_EQ(d4go(t, 5), 0);     // writes the last deletion
  EXPECT_EQ(d4deleted(t), 1);
  d4recall(t);
  d4delete(t);
  ASSERT_EQ(d4pack(t), 0);
  EXPECT_EQ(d4reccount(t), 7);
  EXPECT_EQ(d4unlock(t), 0);
  std::string f = ReadFile(Path("PACK.DBF"));
  unsigned width = d4record_width(t);
  ASSERT_EQ(f.size(), Le16(f, 8) + 7 * width + 1);
  EXPECT_EQ(f.back(), 0x1A);
  EXPECT_EQ(Le32(f, 4), 7u);
  std::vector<std::string> names;
  for (int r = d4top(t); r == 0; r = d4skip(t, 1)) names.push_back(FieldText(t, 1));
  EXPECT_EQ(names, (std::vector<std::string>{"R1    ", "R3    ", "R4    ", "R6    ", "R7    ", "R8    ", "R9    "}));
}

TEST_F(DbTest, PackOfOnlyDeletedRecordsLeavesAnEmptyTable) {
  DbTable* t = MakeTable("ALLGONE", kFields, 3);
  ASSERT_NE(t, nullptr);
  for (long n = 1; n <= 3; n++) {
    ASSERT_EQ(d4go(t, n), 0);
    d4delete(t);
  }
  ASSERT_EQ(d4pack(t), 0);
  EXPECT_EQ(d4eof(t), 1);
  EXPECT_EQ(d4bof(t), 1);
  d4unlock(t);
  EXPECT_EQ(d4reccount(t), 0);
  EXPECT_EQ(ReadFile(Path("ALLGONE.DBF")).size(), Le16(ReadFile(Path("ALLGONE.DBF")), 8) + 1u);
}

TEST_F(DbTest, FieldAssignmentsCutPadAndConvert) {
  DbTable* t = MakeTable("FIELDS", {{"TEXT", 'C', 4, 0}, {"NUM", 'N', 6, 2}, {"INT", 'N', 4, 0}, {"DAY", 'D', 8, 0},
                                    {"FLAG", 'L', 1, 0}, {"COPY", 'C', 6, 0}, {"NUM2", 'F', 8, 2}});
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(d4append_start(t, 0), 0);
  d4blank(t);
  f4assign(d4field(t, "TEXT"), "abcdefg");
  EXPECT_EQ(FieldText(t, 1), "abcd");
  f4assign(d4field(t, "TEXT"), "x");
  EXPECT_EQ(FieldText(t, 1), "x   ");
  f4assign_double(d4field(t, "NUM"), 3.14159);
  EXPECT_EQ(FieldText(t, 2), "  3.14");
  f4assign_double(d4field(t, "NUM"), 12345.6);
  EXPECT_EQ(FieldText(t, 2), "******");
  f4assign_long(d4field(t, "INT"), -42);
  EXPECT_EQ(FieldText(t, 3), " -42");
  EXPECT_EQ(f4int(d4field(t, "INT")), -42);
  f4assign_long(d4field(t, "NUM"), 7);
  EXPECT_EQ(FieldText(t, 2), "  7.00");
  f4assign(d4field(t, "DAY"), "20261210");
  long day = f4long(d4field(t, "DAY"));
  f4assign_long(d4field(t, "DAY"), day + 22);
  EXPECT_EQ(FieldText(t, 4), "20270101");
  f4assign_field(d4field(t, "COPY"), d4field(t, "DAY"));
  EXPECT_EQ(FieldText(t, 6), "202701");
  f4assign_field(d4field(t, "NUM2"), d4field(t, "NUM"));
  EXPECT_EQ(FieldText(t, 7), "    7.00");
  f4assign_field(d4field(t, "FLAG"), d4field(t, "TEXT"));   // only from a logical field
  EXPECT_EQ(FieldText(t, 5), " ");
  f4assign_char(d4field(t, "FLAG"), 'T');
  EXPECT_EQ(f4char(d4field(t, "FLAG")), 'T');
  EXPECT_EQ(f4type(d4field(t, "NUM2")), 'N');
  ASSERT_EQ(d4append(t), 0);

  // Assignments do nothing while an error stands.
  e4set_code(engine, e4read);
  f4assign(d4field(t, "TEXT"), "zz");
  EXPECT_EQ(FieldText(t, 1), "x   ");
  EXPECT_EQ(f4int(d4field(t, "INT")), -1);
  e4set_code(engine, 0);
}

TEST_F(DbTest, UnknownFieldNameIsShownWithTheTableName) {
  DbTable* t = MakeTable("NAMES", kFields);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(d4field(t, "NOSUCH"), nullptr);
  EXPECT_TRUE(CriticalShown("NOSUCH"));
  EXPECT_EQ(engine->error_code, e4field_name);
  e4set_code(engine, 0);
  engine->report_field_errors = 0;
  EXPECT_EQ(d4field(t, "NOSUCH"), nullptr);
  EXPECT_EQ(engine->error_code, 0);
}

TEST_F(DbTest, CloseClearsTheRegisteredHandleAndWritesTheDate) {
  DbTable* t = MakeTable("OWNED", kFields, 1);
  ASSERT_NE(t, nullptr);
  t->owner = &t;
  ASSERT_EQ(d4go(t, 1), 0);
  f4assign(d4field(t, "NAME"), "close");
  EXPECT_EQ(d4close(t), 0);
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(engine->open_tables.count, 0);
  std::string f = ReadFile(Path("OWNED.DBF"));
  EXPECT_EQ(f.substr(Le16(f, 8) + 1, 6), "close ");
}

}  // namespace
