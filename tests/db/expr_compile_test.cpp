// Compiling expressions: the operator lookup, result types and lengths,
// every compile error, and the limits.
#include <gtest/gtest.h>

#include <string>

#include "tests/db/expr_test_support.h"

namespace {

TEST(ExprLookup, LongerOperatorsWinByTableOrder) {
  struct Case {
    const char* text;
    int length;
    int first, last;
    int row;
  } cases[] = {
      {">= B", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 35},
      {"> B", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 41},
      {"<> B", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 31},
      {"<= B", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 38},
      {"< B", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 44},
      {"**2", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 48},
      {"*2", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 49},
      {".and. X", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, 16},
      {".T.", -1, EXPR_ROW_FIRST_CONSTANT, EXPR_ROW_NOT, 11},
      {".true.", -1, EXPR_ROW_FIRST_CONSTANT, EXPR_ROW_NOT, 10},
      {"recno", 5, EXPR_ROW_FIRST_FUNCTION, EXPR_ROW_LAST, 79},
      {"RECCOUNT", 8, EXPR_ROW_FIRST_FUNCTION, EXPR_ROW_LAST, 78},
      {"STRX", 4, EXPR_ROW_FIRST_FUNCTION, EXPR_ROW_LAST, -1},
      {"ST", 2, EXPR_ROW_FIRST_FUNCTION, EXPR_ROW_LAST, -1},
      {"?", -1, EXPR_ROW_FIRST_OPERATOR, EXPR_ROW_LAST_OPERATOR, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(e4lookup(c.text, c.length, c.first, c.last), c.row) << c.text;
}

using ExprCompileTest = ExprTest;

TEST_F(ExprCompileTest, ResultTypesAndLengths) {
  struct Case {
    const char* text;
    int type;
    int length;
    int key_length;
  } cases[] = {
      {"NAM", 'C', 5, 5},
      {"QTY", 'N', 5, 12},
      {"DAT", 'D', 8, 8},
      {"OK", 'L', 4, 4},
      {"STR(QTY,2,0)+STR(QTY,4,0)+STR(QTY,6,0)", 'C', 12, 12},
      {"STR(AMT)", 'C', 10, 10},
      {"STR(QTY,7)", 'C', 7, 7},
      {"DTOS(DAT)+UPPER(NAM)+COD", 'C', 16, 16},
      {"NAM - COD", 'C', 8, 8},
      {"SUBSTR(TXT,3,2)", 'C', 2, 2},
      {"SUBSTR(TXT,8,5)", 'C', 3, 3},      // cut to what the text has
      {"SUBSTR(TXT,3)", 'C', 8, 8},        // no length: the rest
      {"LEFT(NAM,9)", 'C', 5, 5},
      {"QTY + AMT", 'n', 8, 12},
      {"DAT + 1", 'd', 8, 8},
      {"1 + DAT", 'd', 8, 8},
      {"DAT - DAT", 'n', 8, 12},
      {"DAT - 1", 'd', 8, 8},
      {"YEAR(DAT)", 'n', 8, 12},
      {"IIF(OK, NAM, 'abcde')", 'C', 5, 5},
      {"IIF(OK, QTY, AMT)", 'n', 8, 12},
      {"IIF(OK, DAT, DAT + 1)", 'd', 8, 8},
      {"DEL()", 'C', 1, 1},
      {"TIME()", 'C', 8, 8},
      {"DTOC(DAT)", 'C', 0, 0},            // no date picture is ever set
      {"NAM = COD", 'L', 4, 4},
      {"'x' $ NAM", 'L', 4, 4},
      {"RECNO()", 'n', 8, 12},
      {"QTY > 1 .AND. OK .AND. NAM = 'A' .OR. .F.", 'L', 4, 4},
  };
  for (const auto& c : cases) {
    DbExpr* expr = Parse(c.text);
    ASSERT_NE(expr, nullptr) << c.text;
    EXPECT_EQ(expr4type(expr), c.type) << c.text;
    EXPECT_EQ(expr4len(expr), c.length) << c.text;
    EXPECT_EQ(expr4key_len(expr), c.key_length) << c.text;
    EXPECT_STREQ(expr4source(expr), c.text);
  }
}

TEST_F(ExprCompileTest, ErrorsLeaveTheirCodeAndNoExpression) {
  DbTable* other = MakeTable("U.DBF", {{"COL", 'C', 4, 0}});
  ASSERT_NE(other, nullptr);
  struct Case {
    const char* text;
    int code;
  } cases[] = {
      {"(NAM", e4right_missing},
      {"STR(QTY", e4right_missing},
      {"NAM +", e4unrec_value},
      {"NAM ? COD", e4unrec_operator},
      {"? NAM", e4unrec_value},
      {"XYZ(NAM)", e4unrec_function},
      {"NOFIELD", e4field_name},
      {"ABCDEFGHIJK", e4unrec_value},     // 11 characters is no name
      {"'abc", e4unterminated},
      {"[abc", e4unterminated},
      {"NAM = QTY", e4type_sub},
      {"UPPER(QTY)", e4type_sub},
      {"OK .AND. NAM", e4type_sub},
      {"IIF(OK, 'ab', 'abc')", e4iif_length},
      {"STR(AMT, QTY)", e4not_constant},
      {"STR(AMT, 10, QTY)", e4not_constant},
      {"SUBSTR(NAM, 1 + 1, 2)", e4not_constant},
      {"SUBSTR(NAM)", e4num_parms},
      {"LEFT(NAM)", e4num_parms},
      {"STR(AMT,1,2,3)", e4num_parms},
      {"UPPER(NAM, COD)", e4num_parms},
      {"RECNO(QTY)", e4num_parms},
      {"NOALIAS->COL", e4data_name},
      {"U->NOFIELD", e4field_name},
      {"-NAM", e4unrec_value},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseError(c.text), c.code) << c.text;
  EXPECT_EQ(ParseError("U->COL + NAM"), 0);
}

TEST_F(ExprCompileTest, ErrorIsShownWithTheExpressionOnlyWhenReported) {
  EXPECT_EQ(Parse("NAM ? COD"), nullptr);
  EXPECT_TRUE(CriticalShown("-480"));
  EXPECT_TRUE(CriticalShown("NAM ? COD"));
  engine->error_code = 0;
  screen.shown.clear();
  engine->report_expression_errors = 0;
  EXPECT_EQ(Parse("NAM ? COD"), nullptr);
  EXPECT_EQ(engine->error_code, e4unrec_operator);
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(ExprCompileTest, UnknownFieldSetsTheCodeEvenWhenFieldErrorsAreQuiet) {
  engine->report_field_errors = 0;
  EXPECT_EQ(Parse("NAM + NOFIELD"), nullptr);
  EXPECT_EQ(engine->error_code, e4field_name);
}

TEST_F(ExprCompileTest, NothingHappensWhileTheEngineHoldsAnError) {
  engine->error_code = e4open;
  EXPECT_EQ(Parse("NAM ? COD"), nullptr);
  EXPECT_EQ(engine->error_code, e4open);
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(ExprCompileTest, NullArgumentsAreAFatalParameterError) {
  EXPECT_THROW(expr4parse(table, nullptr), FatalStopCaught);
  EXPECT_THROW(expr4parse(nullptr, "NAM"), FatalStopCaught);
}

// The constants area holds 512 bytes.
TEST_F(ExprCompileTest, ConstantsAreaOverflowIsOutOfMemory) {
  std::string fits = "'" + std::string(512, 'a') + "'";
  std::string over = "'" + std::string(513, 'a') + "'";
  EXPECT_EQ(ParseError(fits.c_str()), 0);
  EXPECT_EQ(ParseError(over.c_str()), e4memory);
}

// "1+(1+(...))" keeps n pluses waiting with n + 1 values.
std::string nested_sum(int n) {
  std::string text;
  for (int i = 0; i < n; i++) text += "1+(";
  text += "1";
  return text + std::string((size_t)n, ')');
}

TEST_F(ExprCompileTest, TypeStackHoldsNineteenValues) {
  EXPECT_EQ(ParseError(nested_sum(18).c_str()), 0);
  EXPECT_EQ(ParseError(nested_sum(19).c_str()), e4overflow);
}

// More than 32 waiting operators used to stop the program; it is a compile error.
TEST_F(ExprCompileTest, OperatorStackOverflowIsACompileError) {
  EXPECT_EQ(ParseError(nested_sum(40).c_str()), e4overflow);
  EXPECT_TRUE(CriticalShown("-440"));
}

// A width of 0 or above 128 used to pass the compiler and stop the program
// at the first evaluation.
TEST_F(ExprCompileTest, StrWidthOutOfRangeIsACompileError) {
  EXPECT_EQ(ParseError("STR(AMT,0)"), e4not_constant);
  EXPECT_EQ(ParseError("STR(AMT,129,2)"), e4not_constant);
  EXPECT_EQ(ParseError("STR(AMT,128,2)"), 0);
  EXPECT_EQ(ParseError("STR(AMT,-3)"), 0);    // a negative width is the default 10
  EXPECT_EQ(expr4len(made.back()), 10);
}

TEST_F(ExprCompileTest, TrailingTextAfterTheExpressionEndsIt) {
  DbExpr* expr = Parse("STR(TYP,1,0)+COD)");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(expr4len(expr), 4);
  expr = Parse("NAM, COD");
  ASSERT_NE(expr, nullptr);
  EXPECT_EQ(expr4len(expr), 5);
}

TEST_F(ExprCompileTest, ResultFitsTheWorkBufferTheEngineKeeps) {
  DbExpr* expr = Parse("UPPER(TXT)+STR(AMT*2,8,2)+DTOS(DAT+1)+IIF(OK,COD,'zzz')");
  ASSERT_NE(expr, nullptr);
  EXPECT_GE(engine->expr_buffer_len, (unsigned)expr->workSize);
  EXPECT_GT(expr->workSize, expr4len(expr));
}

}  // namespace
