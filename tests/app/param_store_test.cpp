// The parameter store over a table in the firm directory.
#include <cstring>
#include <string>

#include "app/param_store.h"
#include "db/dbf_records.h"
#include "tests/tables/tables_fixture.h"

namespace {

class ParamStoreTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    ctx.k1 = 1;
    ctx.k2 = 1;
    ctx.section = "TEST";
    ASSERT_EQ(OpenParamTable(&ctx, "Z5PATE.DBF", 0, PARAM_CURRENT_DIR), 0);
  }
  void TearDown() override {
    if (ctx.table != nullptr) d4close(ctx.table);
    TablesTest::TearDown();
  }
  ParamTable ctx{};
};

TEST_F(ParamStoreTest, FreshTableGivesEveryDefaultAndKeepsOneRecordPerParameter) {
  int i = 0;
  char c = 0;
  double d = 0;
  char text[11];
  text[10] = '#';
  GetParamInt(&ctx, 3, &i, 2026);
  GetParamChar(&ctx, 4, &c, 'T');
  GetParamDouble(&ctx, 5, &d, 12.5);
  GetParamText(&ctx, 6, text, sizeof text, 20008);    // "Błąd odczytu parametru !" cut to 10
  EXPECT_EQ(i, 2026);
  EXPECT_EQ(c, 'T');
  EXPECT_EQ(d, 12.5);
  EXPECT_EQ(std::string(text, 10), Sys("Błąd odczy"));
  EXPECT_EQ(text[10], '#');
  EXPECT_EQ(d4reccount(ctx.table), 4);
  // Read again: the stored defaults come back and nothing is added.
  int again = 0;
  GetParamInt(&ctx, 3, &again, 7);
  EXPECT_EQ(again, 2026);
  GetParamChar(&ctx, 4, &c, 'N');
  EXPECT_EQ(c, 'T');
  EXPECT_EQ(d4reccount(ctx.table), 4);
  EXPECT_EQ(ctx.error, 0);
}

TEST_F(ParamStoreTest, TypesUnderOneNumberStayApartAndTheKeyIsTenCharacters) {
  ctx.k1 = 1;
  ctx.k2 = 1;
  SetParamInt(&ctx, 3, 5);
  SetParamStr(&ctx, 3, "tekst");
  EXPECT_EQ(d4reccount(ctx.table), 2);
  int i = 0;
  char c[6] = {};
  GetParamInt(&ctx, 3, &i, 0);
  GetParam(&ctx, 3, 'C', c, 5);
  EXPECT_EQ(i, 5);
  EXPECT_EQ(std::string(c), "tekst");
  ASSERT_EQ(SeekParam(&ctx, 3, 'I'), 0);
  char key[11] = {};
  std::memcpy(key, "  1  1  3I", 10);
  EXPECT_EQ(d4seek_n(ctx.table, key, 10), 0);
  EXPECT_EQ(f4int(ctx.fieldIN), 5);
  EXPECT_EQ(Text(ctx.fieldTY), "I");
}

TEST_F(ParamStoreTest, TextIsCutAtEightyAndReadWithLengthOneGivesItsFirstCharacter) {
  std::string longText(100, 'x');
  longText[0] = 'N';
  longText[79] = 'e';
  SetParamStr(&ctx, 9, longText.c_str());
  ASSERT_EQ(SeekParam(&ctx, 9, 'C'), 0);
  EXPECT_EQ(Text(ctx.fieldCH), longText.substr(0, 80));
  char c = 'T';
  GetParamChar(&ctx, 9, &c, 'T');
  EXPECT_EQ(c, 'N');
  char full[101];
  std::memset(full, '#', sizeof full);
  GetParam(&ctx, 9, 'C', full, 100);
  EXPECT_EQ(std::string(full, 80), longText.substr(0, 80));
  EXPECT_EQ(full[80], 0);    // the rest of the length is cleared
  EXPECT_EQ(full[99], 0);
}

TEST_F(ParamStoreTest, AfterOneFailedReadNoFurtherBoxAndDefaultsStay) {
  HeadlessSetScript("{ENTER}{ENTER}");
  int i = 0;
  GetParam(&ctx, 1, 'X', &i, 0);    // a type the store does not know
  EXPECT_EQ(ctx.error, -1);
  EXPECT_EQ(HeadlessKeysLeft(), 1);
  GetParamInt(&ctx, 2, &i, 44);
  SetParamInt(&ctx, 2, 45);
  EXPECT_EQ(i, 44);
  EXPECT_EQ(HeadlessKeysLeft(), 1);
  EXPECT_EQ(d4reccount(ctx.table), 0);
}

TEST_F(ParamStoreTest, FailedWriteShowsItsBoxOnce) {
  HeadlessSetScript("{ENTER}{ENTER}");
  int value = 1;
  SetParam(&ctx, 1, 'Q', &value, 0);
  EXPECT_EQ(ctx.error, -1);
  SetParamInt(&ctx, 1, 2);
  EXPECT_EQ(HeadlessKeysLeft(), 1);
  EXPECT_EQ(d4reccount(ctx.table), 0);
}

TEST_F(ParamStoreTest, MainOptionsTableIsNamedByTheHashOption) {
  EXPECT_STREQ(MainOptionsFileName(), "Z5PABV.DBF");
  std::strcpy(env->hashOption, "-#AB");
  EXPECT_STREQ(MainOptionsFileName(), "Z5PABVAB.DBF");
}

TEST_F(ParamStoreTest, MainOptionsOpenInTheProgramDirectory) {
  ParamTable main{};
  main.k1 = 1;
  main.k2 = 1;
  main.section = "OPCJE";
  ASSERT_EQ(OpenParamTable(&main, MainOptionsFileName(), 0, PARAM_PROGRAM_DIR), 0);
  int year = 0;
  GetParamInt(&main, 3, &year, 2026);
  d4close(main.table);
  EXPECT_TRUE(Exists(dir + "home/Z5PABV.DBF"));
  EXPECT_TRUE(Exists(dir + "home/Z5PABV.MDX"));
  EXPECT_FALSE(Exists(firm + "Z5PABV.DBF"));
}

}  // namespace
