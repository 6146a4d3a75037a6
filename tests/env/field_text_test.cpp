#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"

namespace {

// A record of five fields laid out side by side, without a file:
// NAME C(6), CODE C(3), AMOUNT N(8,2), RATE N(6,4), DAY D.
class FieldTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const struct {
      const char* name;
      int type;
      unsigned width;
      int decimals;
    } layout[] = {{"NAME", 'C', 6, 0}, {"CODE", 'C', 3, 0}, {"AMOUNT", 'N', 8, 2}, {"RATE", 'N', 6, 4}, {"DAY", 'D', 8, 0}};
    int offset = 1;
    for (int i = 0; i < 5; ++i) {
      DbField& f = fields[i];
      std::strcpy(f.name, layout[i].name);
      f.type = layout[i].type;
      f.width = layout[i].width;
      f.decimals = layout[i].decimals;
      f.offset = offset;
      f.table = &table;
      offset += static_cast<int>(f.width);
    }
    table.engine = &engine;
    table.record = record;
    table.record_width = static_cast<unsigned>(offset);
    table.fields = fields;
    table.field_count = 5;
    std::memset(record, '#', sizeof record);
    Set(std::string("*") + "ALPHA " + "BET" + "   12.50" + "1.0000" + "20240507");
    table.record_changed = 0;
  }
  void Set(const std::string& bytes) { bytes.copy(record, bytes.size()); }
  std::string Record() const { return std::string(record, table.record_width); }
  std::string Bytes(DbField* f) const { return std::string(record + f->offset, f->width); }

  DbEngine engine{};
  DbTable table{};
  DbField fields[5]{};
  char record[64];
  DbField* name = &fields[0];
  DbField* code = &fields[1];
  DbField* amount = &fields[2];
  DbField* rate = &fields[3];
  DbField* day = &fields[4];
};

TEST_F(FieldTextTest, FieldsAsTemporaryStrings) {
  EXPECT_STREQ(FldQStr(name, QS_RTRIM), "ALPHA");
  EXPECT_STREQ(FldQStr(code, QS_RTRIM | QS_LOWER), "bet");
  EXPECT_STREQ(MaxFldQStr(name), "ALPHA ");
  EXPECT_STREQ(FldDoubleQStr(amount, 0, 2 | 0x10), "12,50");
  EXPECT_STREQ(FldDateQStr(day), "07-05/24");
  EXPECT_STREQ(FldFullDateQStr(day), "07-05-2024");
  EXPECT_STREQ(TrimFldsToQStr_(name, code, amount), "ALPHA BET    12.50");
  FldCopyString(code, "");
  EXPECT_STREQ(FldDefQStr(code, "none", 0), "none");
  EXPECT_STREQ(FldDefQStr(name, "none", QS_RTRIM), "ALPHA");
  EXPECT_STREQ(TrimFldsToQStr_(code, name, code), "ALPHA");
}

TEST_F(FieldTextTest, CopiesNeverPassAField) {
  const std::string before = Record();
  ToFieldCopyField(code, name);   // 3 of 6
  EXPECT_EQ(Bytes(code), "ALP");
  ToFieldCopyMaxField(code, name);   // the source is wider: cut at the destination
  EXPECT_EQ(Record().substr(10), before.substr(10));
  ToMaxFieldCopyField(name, code);   // the source is narrower: blanks after it
  EXPECT_EQ(Bytes(name), "ALP   ");
  EXPECT_EQ(Bytes(code), "ALP");
  EXPECT_EQ(table.record_changed, 1);

  ToFieldCopyMem(code, "XYZW----", 8);
  EXPECT_EQ(Bytes(code), "XYZ");
  ToFieldCopyMem(code, "Q", 1);
  EXPECT_EQ(Bytes(code), "QYZ");
  ToFieldCopyMaxString(name, "a much longer text");
  EXPECT_EQ(Bytes(name), "a much");
  FldCopyString(name, "ab");
  EXPECT_EQ(Bytes(name), "ab    ");
  FldCopyString(name, nullptr);
  EXPECT_EQ(Bytes(name), "      ");
  FldCopyStringEx(name, "abcdef", 3);
  EXPECT_EQ(Bytes(name), "abc   ");
  ToMaxFieldCopyMem(code, "123456");
  EXPECT_EQ(Bytes(code), "123");
  EXPECT_EQ(Record().substr(10), before.substr(10));

  char memory[12];
  std::memset(memory, '-', sizeof memory);
  ToMemCopyField(memory, code, 10);
  EXPECT_EQ(std::string(memory, 5), "123--");
  ToMemCopyMaxField(memory, name);
  EXPECT_EQ(std::string(memory, 7), "abc   -");
  EmptyMemSizeOfField(memory, code);
  EXPECT_EQ(std::string(memory, 4), "    ");
}

TEST_F(FieldTextTest, BlankingAndFilling) {
  EXPECT_EQ(FieldIsEmpty(name), 0);
  EmptyFields_(name, code);
  EXPECT_EQ(FieldIsEmpty(name), 1);
  EXPECT_EQ(FieldIsEmpty(code), 1);
  FillMaxField(code, '=');
  EXPECT_EQ(Bytes(code), "===");
  ZeroFields_(amount, name, rate);
  EXPECT_EQ(Bytes(amount), "    0.00");
  EXPECT_EQ(Bytes(rate), "0.0000");
  EXPECT_EQ(Bytes(name), "      ");   // not numeric: left alone
  EmptyRecord(&table);
  EXPECT_EQ(Record(), std::string(table.record_width, ' '));
  EXPECT_EQ(record[table.record_width], '#');
}

TEST_F(FieldTextTest, NumericFields) {
  ToFieldCopyDouble(amount, -3.456);
  EXPECT_EQ(Bytes(amount), "   -3.46");
  ToFieldCopyDouble(amount, 123456789);
  EXPECT_EQ(Bytes(amount), "********");
  ToFieldCopyLongint(code, -42);
  EXPECT_EQ(Bytes(code), "-42");
  ToFieldCopyDouble(amount, 1.0);
  EXPECT_DOUBLE_EQ(FldAddDouble(amount, 0.005), 1.01);   // rounded to the field's decimals
  EXPECT_EQ(Bytes(amount), "    1.01");
  EXPECT_DOUBLE_EQ(Suma_(amount, rate), 2.01);
  EXPECT_DOUBLE_EQ(Suma2(amount, amount), 2.02);
  EXPECT_DOUBLE_EQ(ProcentKwoty(amount, rate), 0.0101);
  EXPECT_DOUBLE_EQ(FldKurs(rate), 1.0);
  ToFieldCopyDouble(rate, 4.3215);
  EXPECT_DOUBLE_EQ(FldKurs(rate), 4.3215);
  ToFieldCopyDouble(rate, -2);
  EXPECT_DOUBLE_EQ(FldKurs(rate), 1.0);
  EmptyField(rate);
  EXPECT_DOUBLE_EQ(FldKurs(rate), 1.0);

  char memory[20];
  ToFieldCopyDouble(amount, 12345.6);
  int n = MemPrintFieldFmt(memory, amount, 8, 2);
  EXPECT_EQ(std::string(memory, n), "12 345.60");
}

TEST_F(FieldTextTest, ChoicesAndComparisons) {
  const char* const list[] = {"0 brak", "1 jeden", "2 dwa", nullptr};
  ToFieldCopyLongint(code, 2);
  EXPECT_STREQ(FieldAsPopupMenuString(code, list), "dwa");
  ToFieldCopyLongint(code, 7);
  EXPECT_STREQ(FieldAsPopupMenuString(code, list), "brak");
  char buffer[8];
  InitBufferByFieldPopupMenu(buffer, sizeof buffer, code, list);
  EXPECT_STREQ(buffer, "brak");

  FldCopyString(code, "alp");
  EXPECT_EQ(FldEqualText(name, code, QS_RTRIM), 0);
  FldCopyString(name, "ALP");
  EXPECT_EQ(FldEqualText(name, code, QS_RTRIM | QS_UPPER), 1);
  EXPECT_EQ(FldEqualStr(name, "ALP", QS_RTRIM), 1);
  EXPECT_EQ(FldEqualStr(name, "ALP", 0), 0);
}

}  // namespace
