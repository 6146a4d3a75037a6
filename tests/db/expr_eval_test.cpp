// Evaluating expressions against the current record and turning results into keys.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "db/db_collation.h"
#include "db/index_keys.h"
#include "tests/db/expr_test_support.h"

namespace {

using ExprEvalTest = ExprTest;

// Record: NAM "Abc  ", COD "xy ", TXT "  hi      ", QTY 12, AMT 3.50, TYP 3, DAT 2024-02-29, OK true.
TEST_F(ExprEvalTest, TextResults) {
  struct Case {
    const char* text;
    std::string value;
  } cases[] = {
      {"NAM", "Abc  "},
      {"STR(QTY,2,0)+STR(QTY,4,0)+STR(QTY,6,0)", "12  12    12"},
      {"STR(AMT,8,2)", "    3.50"},
      {"STR(AMT,10,2)+UPPER(NAM)+COD", "      3.50ABC  xy "},
      {"STR(TYP,1,0)", "3"},                   // decimals 0 not below width - 1: clamped to -1, then 0
      {"STR(AMT,3,2)", "3.5"},                 // decimals cut to width - 2
      {"STR(AMT,4)", "   4"},
      {"STR(QTY)", "        12"},
      {"UPPER(NAM)", "ABC  "},
      {"NAM - COD", "Abcxy   "},             // trailing blanks of the left text go to the end
      {"COD + NAM", "xy Abc  "},
      {"SUBSTR(TXT,3,2)", "hi"},
      {"SUBSTR(NAM,2)", "bc  "},
      {"LEFT(NAM,2)+LEFT(COD,1)", "Abx"},
      {"DTOS(DAT)", "20240229"},
      {"DTOS(DAT+1)", "20240301"},
      {"DTOS(DAT-60)", "20231231"},
      {"DTOS(STOD('20240101'))", "20240101"},
      {"IIF(OK, NAM, 'zzzzz')", "Abc  "},
      {"IIF(.NOT. OK, NAM, 'zzzzz')", "zzzzz"},
      {"DEL()", " "},
      {"[a'b]+\"c\"", "a'bc"},
      {"TRIM(NAM)", std::string("Abc\0\0", 5)},
      {"LTRIM(TXT)", std::string("hi      \0\0", 10)},
      {"TRIM(NAM)+COD", std::string("Abcxy \0\0", 8)},     // the padding goes behind the right text
  };
  for (const auto& c : cases) {
    DbExpr* expr = Parse(c.text);
    ASSERT_NE(expr, nullptr) << c.text;
    EXPECT_EQ(Value(expr), c.value) << c.text;
  }
}

TEST_F(ExprEvalTest, NumberResults) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"QTY * 2 + AMT / 0", 24},          // division by zero gives 0
      {"QTY - AMT * 2", 5},
      {"2 ^ 3 ** 2", 64},                 // same priority: from the left
      {"1 + 2 * 3 ^ 2", 19},
      {"(1 + 2) * 3", 9},
      {"-1.5 + QTY", 10.5},
      {"VAL(' 12.5') + 1", 13.5},
      {"YEAR(DAT) + MONTH(DAT) + DAY(DAT)", 2024 + 2 + 29},
      {"DAY(DAT + 1)", 1},
      {"DAT - STOD('20240101')", 59},
      {"RECNO()", 1},
      {"RECCOUNT()", 1},
      {"PAGENO()", 0},
      {"IIF(OK, QTY, AMT)", 12},
  };
  for (const auto& c : cases) {
    DbExpr* expr = Parse(c.text);
    ASSERT_NE(expr, nullptr) << c.text;
    EXPECT_DOUBLE_EQ(expr4double(expr), c.value) << c.text;
  }
}

TEST_F(ExprEvalTest, LogicalResults) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"OK", 1},
      {"QTY > 10 .AND. NAM = 'Ab'", 1},
      {"NAM = 'Abx'", 0},
      {"NAM >= 'Abc'", 1},
      {"NAM>='Abd'", 0},
      {"NAM <> 'Abc' .OR. COD # 'xy'", 0},
      {".NOT. QTY = 12", 0},              // .NOT. takes the whole comparison
      {".NOT. OK .OR. QTY = 12", 1},
      {".NOT.DELETED() .AND. QTY<100", 1},
      {"'Abc' < 'Abcde'", 1},             // a tie on 3 characters: the longer is greater
      {"'Abcde' > 'Abc'", 1},
      {"'Abcde' < 'Abc'", 0},
      {"'Abc' = 'Abcde'", 1},             // "=" compares the shorter length
      {"'bc' $ NAM", 1},
      {"'bd' $ NAM", 0},
      {"QTY = 12 .AND. AMT = 3.5 .AND. OK .AND. .T.", 1},
      {"QTY = 12 .AND. AMT = 3.5 .AND. OK .AND. .F.", 0},
      {".F. .OR. .F. .OR. OK", 1},
      {"OK = .T.", 1},
      {"DAT > STOD('20240228') .AND. DAT < DAT + 1", 1},
      {"AMT >= 3.5 .AND. AMT <= 3.5 .AND. AMT # 4", 1},
  };
  for (const auto& c : cases) {
    DbExpr* expr = Parse(c.text);
    ASSERT_NE(expr, nullptr) << c.text;
    EXPECT_EQ(expr4true(expr), c.value) << c.text;
  }
}

TEST_F(ExprEvalTest, ComparisonUsesTheCollationNotByteValues) {
  // Small a with ogonek has a byte above "b" but sorts between "a" and "b".
  ASSERT_LT(db_collation_compare("\x86", "b", 1), 0);
  DbExpr* expr = Parse("NAM < 'b'");
  ASSERT_NE(expr, nullptr);
  Set("NAM", "\x86");
  EXPECT_EQ(expr4true(expr), 1);
}

TEST_F(ExprEvalTest, UpperFollowsTheSystemsCaseRules) {
  Set("NAM", "\x86\xa5z");   // small a with ogonek, capital N with acute (Mazovia)
  DbExpr* expr = Parse("UPPER(NAM)");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(Value(expr), std::string("\x8f\xa5Z  "));
}

TEST_F(ExprEvalTest, DateArithmeticLeavesAMissingDateAlone) {
  Set("DAT", "");
  DbExpr* plus = Parse("DAT + 5");
  DbExpr* minus = Parse("DAT - 5");
  DbExpr* text = Parse("DTOS(DAT)");
  ASSERT_TRUE(plus && minus && text);
  EXPECT_EQ(expr4double(plus), 0);
  EXPECT_EQ(expr4double(minus), 0);
  EXPECT_EQ(Value(text), "        ");
}

TEST_F(ExprEvalTest, DatesBeforeTheFirstDayComeOutBlank) {
  struct Case {
    const char* date;
    const char* text;
    const char* value;
  } cases[] = {
      {"00000101", "DTOS(DAT)", "00000101"},
      {"00000101", "DTOS(DAT-1)", "        "},
      {"00000102", "DTOS(DAT-400)", "        "},
      {"20240229", "DTOS(DAT-2460332)", "        "},
  };
  for (const auto& c : cases) {
    Set("DAT", c.date);
    DbExpr* expr = Parse(c.text);
    ASSERT_NE(expr, nullptr) << c.text;
    EXPECT_EQ(Value(expr), c.value) << c.date << " " << c.text;
  }
}

TEST_F(ExprEvalTest, TextKeysAndTrimPadding) {
  DbExpr* plain = Parse("UPPER(NAM)+COD");
  DbExpr* trimmed = Parse("TRIM(NAM)+COD");
  DbExpr* left = Parse("LTRIM(TXT)");
  ASSERT_TRUE(plain && trimmed && left);
  EXPECT_EQ(Key(plain), "ABC  xy ");
  EXPECT_EQ(Key(trimmed), "Abcxy   ");
  EXPECT_EQ(Key(left), "hi        ");
  char* key = nullptr;
  ASSERT_EQ(expr4key(plain, &key), 8);
  EXPECT_EQ(key[8], '\0');
}

TEST_F(ExprEvalTest, NumberKeysArePackedDecimals) {
  DbExpr* field = Parse("QTY");
  DbExpr* number = Parse("AMT * 2");
  ASSERT_TRUE(field && number);
  char expected[BCD_KEY_LEN];
  c4bcd_from_double(expected, 12);
  EXPECT_EQ(Key(field), std::string(expected, BCD_KEY_LEN));
  c4bcd_from_double(expected, 7);
  EXPECT_EQ(Key(number), std::string(expected, BCD_KEY_LEN));
}

TEST_F(ExprEvalTest, DateKeysAreDayNumbers) {
  DbExpr* field = Parse("DAT");
  DbExpr* days = Parse("DAT + 0");
  DbExpr* none = Parse("STOD('        ')");
  ASSERT_TRUE(field && days && none);
  EXPECT_EQ(KeyDouble(Key(field)), 2460370);      // 2024-02-29
  EXPECT_EQ(KeyDouble(Key(days)), 2460370);
  EXPECT_EQ(KeyDouble(Key(none)), 1.0E300);       // day number 0
  Set("DAT", "");
  EXPECT_EQ(KeyDouble(Key(field)), 1.0E100);      // an empty date field
}

TEST_F(ExprEvalTest, DeletedAsksAboutADamagedMarkUnlessRefused) {
  DbExpr* expr = Parse("DELETED()");
  ASSERT_NE(expr, nullptr);
  table->record[0] = '*';
  EXPECT_EQ(expr4true(expr), 1);
  table->record[0] = 'X';
  env->refuseDamagedTables = 1;
  EXPECT_EQ(expr4true(expr), 0);
  EXPECT_TRUE(screen.shown.empty());
  env->refuseDamagedTables = 0;
  EXPECT_EQ(expr4true(expr), 0);
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].what, "question");
  table->record[0] = ' ';
}

TEST_F(ExprEvalTest, FieldOfAnotherTableByAlias) {
  DbTable* other = MakeTable("U.DBF", {{"COL", 'C', 4, 0}}, 1);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(d4go(other, 1), 0);
  f4assign(d4field(other, "COL"), "uv");
  DbExpr* expr = Parse("U->COL + NAM");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(Value(expr), "uv  Abc  ");
}

TEST_F(ExprEvalTest, EvaluationFollowsTheCurrentRecord) {
  DbExpr* expr = Parse("STR(QTY,3,0)+UPPER(COD)");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(Value(expr), " 12XY ");
  Set("QTY", "7");
  Set("COD", "q");
  EXPECT_EQ(Value(expr), "  7Q  ");
}

TEST_F(ExprEvalTest, EngineErrorStopsEvaluation) {
  DbExpr* key = Parse("NAM");
  DbExpr* test = Parse("OK");
  ASSERT_TRUE(key && test);
  engine->error_code = e4read;
  char* result = nullptr;
  EXPECT_EQ(expr4vary(key, &result), -1);
  EXPECT_EQ(expr4key(key, &result), -1);
  EXPECT_EQ(expr4true(test), -1);
}

TEST_F(ExprEvalTest, WrongResultTypes) {
  DbExpr* text = Parse("NAM");
  DbExpr* logical = Parse("OK");
  ASSERT_TRUE(text && logical);
  EXPECT_EQ(expr4true(text), -1);
  EXPECT_EQ(engine->error_code, e4result);
  EXPECT_TRUE(CriticalShown("!301!"));
  engine->error_code = 0;
  EXPECT_THROW(expr4double(logical), FatalStopCaught);
}

TEST_F(ExprEvalTest, DtocAndCtodUseTheEmptyDatePicture) {
  DbExpr* shown = Parse("COD + DTOC(DAT) + COD");
  DbExpr* read = Parse("CTOD('02/29/24')");
  ASSERT_TRUE(shown && read);
  EXPECT_EQ(Value(shown), "xy xy ");
  EXPECT_EQ(expr4double(read), 0);
}

}  // namespace
