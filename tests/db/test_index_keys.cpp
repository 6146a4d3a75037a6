#include <string>
#include <vector>

#include "db/index_keys.h"
#include "tests/db/mdx_test_support.h"

namespace {

std::string Hex(const char* key, int n) {
  std::string out;
  char buf[4];
  for (int i = 0; i < n; i++) {
    std::snprintf(buf, sizeof buf, "%02X", (unsigned char)key[i]);
    out += buf;
  }
  return out;
}

TEST(IndexKeysTest, PackedDecimalBytes) {
  struct Case {
    const char* text;
    double value;
    const char* hex;
  };
  const Case cases[] = {
      {"123.45", 123.45, "371512345000000000000000"},
      {"-7", -7, "358570000000000000000000"},
      {"0.05", 0.05, "330550000000000000000000"},
      {"   12.50", 12.5, "360D12500000000000000000"},
  };
  for (const Case& c : cases) {
    char from_text[BCD_KEY_LEN], from_double[BCD_KEY_LEN];
    c4bcd_from_a(from_text, c.text, (int)std::strlen(c.text));
    c4bcd_from_double(from_double, c.value);
    EXPECT_EQ(Hex(from_text, BCD_KEY_LEN), c.hex) << c.text;
    EXPECT_EQ(Hex(from_double, BCD_KEY_LEN), c.hex) << c.value;
  }
  char zero[BCD_KEY_LEN];
  c4bcd_from_a(zero, "0.00", 4);
  EXPECT_EQ((unsigned char)zero[1], 0x01);
  c4bcd_from_a(zero, "-0", 2);
  EXPECT_EQ((unsigned char)zero[1], 0x01) << "zero carries no sign";
}

TEST(IndexKeysTest, PackedDecimalOrder) {
  const double values[] = {-1000.5, -1, -0.25, 0, 0.05, 0.5, 2, 10, 99.99, 100, 1e12};
  for (size_t i = 0; i + 1 < std::size(values); i++) {
    char a[BCD_KEY_LEN], b[BCD_KEY_LEN];
    c4bcd_from_double(a, values[i]);
    c4bcd_from_double(b, values[i + 1]);
    EXPECT_LT(c4bcd_compare(a, b, BCD_KEY_LEN), 0) << values[i] << " < " << values[i + 1];
    EXPECT_GT(c4bcd_compare(b, a, BCD_KEY_LEN), 0);
  }
  char two[BCD_KEY_LEN], two_dec[BCD_KEY_LEN], zero[BCD_KEY_LEN], zero_dec[BCD_KEY_LEN];
  c4bcd_from_a(two, "2", 1);
  c4bcd_from_a(two_dec, "   2.00", 7);
  c4bcd_from_a(zero, "0", 1);
  c4bcd_from_a(zero_dec, "0.000", 5);
  EXPECT_EQ(c4bcd_compare(two, two_dec, BCD_KEY_LEN), 0);
  EXPECT_EQ(c4bcd_compare(zero, zero_dec, BCD_KEY_LEN), 0);
}

class IndexCollationTest : public MdxTest {};

// The collation positions are built by d4init, which the fixture runs.
TEST_F(IndexCollationTest, CollationOrder) {
  struct Case {
    const char* less;
    const char* more;
  };
  const Case cases[] = {
      {"A\x8F", "AB"},   // the Mazovia capital A with ogonek sorts right after A
      {"A ", "A\x8F"},   {"A9", "A\x8F"}, {"A ", "A9"},
      {"9", "A"},        // digits before letters
      {"Z", "a"},        // upper case before lower case
      {"z", "("},        // letters before punctuation
      {"0", "-"},
  };
  for (const Case& c : cases) {
    EXPECT_LT(c4collate_compare(c.less, c.more, 2), 0) << c.less << " < " << c.more;
    EXPECT_GT(c4collate_compare(c.more, c.less, 2), 0);
  }
  EXPECT_EQ(c4collate_compare("AB", "AC", 1), 0) << "compared over the given length only";
}

TEST(IndexKeysTest, DateKeysCompareByDayWithTolerance) {
  double a = 2460000, b = 2460001, c = 2460000 + 1e-14;
  EXPECT_EQ(c4date_compare(&a, &b, 8), -1);
  EXPECT_EQ(c4date_compare(&b, &a, 8), 2);
  EXPECT_EQ(c4date_compare(&a, &c, 8), 0);
}

class IndexKeyTypeTest : public MdxTest {};

TEST_F(IndexKeyTypeTest, DescendingTagsNegateTheCompare) {
  DbTag tag{};
  tag.header[8] = 0x18;   // descending
  PutLe16(tag.header + 12, 12);
  t4set_key_type(&tag, 'N');
  char two[BCD_KEY_LEN], ten[BCD_KEY_LEN];
  EXPECT_EQ(tag.text_to_key(&tag, two, "2", 1), BCD_KEY_LEN);
  tag.double_to_key(&tag, ten, 10.0);
  EXPECT_LT(tag.compare(ten, two, BCD_KEY_LEN), 0) << "10 before 2 in a descending tag";

  DbTag dates{};
  dates.header[8] = 0x10;
  t4set_key_type(&dates, 'D');
  char k1[8], k2[8];
  dates.text_to_key(&dates, k1, "20250101", 8);
  dates.text_to_key(&dates, k2, "20250102", 8);
  EXPECT_LT(dates.compare(k1, k2, 8), 0);
  double day;
  std::memcpy(&day, k1, 8);
  EXPECT_EQ(day, (double)date4long("20250101"));

  DbTag text{};
  text.header[8] = 0x10;
  t4set_key_type(&text, 'C');
  EXPECT_THROW(text.double_to_key(&text, k1, 1.0), FatalStopCaught) << "a text tag has no double key";
  EXPECT_THROW(t4set_key_type(&text, 'X'), FatalStopCaught);
}

}  // namespace
