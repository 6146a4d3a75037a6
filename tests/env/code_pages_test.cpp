#include "env/code_pages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

#include "env/charset_map.h"

namespace {

// The C library's converters are an independent check of the hand-written tables.
std::string Iconv(const char* from, const char* to, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return "<no iconv " + std::string(from) + ">";
  std::string input = in;
  std::vector<char> out(64);
  char* inPtr = input.data();
  size_t inLeft = input.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == (size_t)-1) return "<invalid>";
  return std::string(out.data(), out.size() - outLeft);
}

std::string Byte(int c) { return std::string(1, static_cast<char>(c)); }

std::string Utf8Of(int maz) {
  int32_t packed = MazToUtf8Char(maz);
  std::string bytes;
  for (int i = 0; i < 4 && ((packed >> (8 * i)) & 0xFF); ++i) bytes += static_cast<char>((packed >> (8 * i)) & 0xFF);
  return bytes;
}

std::vector<std::pair<int, int>> Pairs(const uint16_t* table) {
  std::vector<std::pair<int, int>> pairs;
  for (const uint16_t* p = table; p[0]; p += 2) pairs.emplace_back(p[0], p[1]);
  return pairs;
}

bool IsOwnCode(int c) {
  for (unsigned char own : kCharsetOwnCodes)
    if (own == c) return true;
  return false;
}

TEST(CharsetMap, OtherHighCodesAreCodePage437) {
  for (int c = 128; c < 256; ++c) {
    if (IsOwnCode(c)) continue;
    std::string expected = Iconv("CP437", "UTF-8", Byte(c));
    std::string got = MazToUtf8Text(Byte(c).c_str());
    EXPECT_EQ(got, expected) << "code " << c;
  }
  EXPECT_EQ(CharsetToUnicode(1), U'☺');
  EXPECT_EQ(CharsetToUnicode(0x7F), U'⌂');
}

TEST(CharsetMap, EveryOwnCharacterRoundTripsThroughUtf8) {
  for (unsigned char c : kCharsetOwnCodes) {
    const std::string utf8 = Utf8Of(c);
    ASSERT_GE(utf8.size(), 2u) << "code " << int(c);
    unsigned char back = 0;
    const char* next = Utf8ToMazChar(utf8.c_str(), &back);
    EXPECT_EQ(back, c);
    EXPECT_EQ(next, utf8.c_str() + utf8.size());
    EXPECT_EQ(Utf8ToMazText(MazToUtf8Text(Byte(c).c_str()).c_str()), Byte(c));
    EXPECT_EQ(MazToUtf8Text(Byte(c).c_str()), utf8);
  }
}

TEST(CharsetMap, WholeTextsRoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c)
    if (c != 248) all += Byte(c);   // 248 is a second degree sign; it comes back as the system's own (224)
  EXPECT_EQ(Utf8ToMazText(MazToUtf8Text(all.c_str()).c_str()), all);
  EXPECT_EQ(Utf8ToMazText(MazToUtf8Text("\xF8").c_str()), "\xE0");
  // Characters outside the set and broken sequences do not vanish silently.
  EXPECT_EQ(Utf8ToMazText("a€b"), "a?b");
  EXPECT_EQ(Utf8ToMazText("a\xC4"), "a?");
  EXPECT_EQ(Utf8ToMazText("\x85x"), "?x");
}

TEST(Utf8ToMazChar, KnownAndUnknownSequences) {
  unsigned char c = 0;
  const char* in = "\xC4\x85z";
  EXPECT_EQ(Utf8ToMazChar(in, &c), in + 2);
  EXPECT_EQ(c, 134);
  in = "\xE2\x80\x93";
  EXPECT_EQ(Utf8ToMazChar(in, &c), in + 3);
  EXPECT_EQ(c, 155);
  in = "\xE2\x82\xAC!";   // the euro sign is not in the set
  EXPECT_EQ(Utf8ToMazChar(in, &c), in + 3);
  EXPECT_EQ(c, 255);
  in = "A";
  EXPECT_EQ(Utf8ToMazChar(in, &c), in + 1);
  EXPECT_EQ(c, 'A');
  EXPECT_EQ(MazToUtf8Char(155), 0x9380E2);
  EXPECT_EQ(MazToUtf8Char('A'), 'A');
  EXPECT_EQ(MazToUtf8Char(201), 201);   // a frame piece is not one of the set's own characters
}

TEST(PairTables, SizesAsPublished) {
  EXPECT_EQ(Pairs(MazToAsciiPairs).size(), 68u);
  EXPECT_EQ(Pairs(MazToWindowsPairs).size(), 69u);
  EXPECT_EQ(Pairs(MazTo852Pairs).size(), 26u);
  EXPECT_EQ(Pairs(MazToIsoPairs).size(), 26u);
}

TEST(PairTables, TargetsAreTheSameCharacters) {
  for (auto [from, to] : Pairs(MazToWindowsPairs))
    EXPECT_EQ(Iconv("CP1250", "UTF-8", Byte(to)), MazToUtf8Text(Byte(from).c_str())) << "code " << from;
  const std::vector<std::pair<const char*, const uint16_t*>> printerSets = {{"CP852", MazTo852Pairs},
                                                                            {"ISO-8859-2", MazToIsoPairs}};
  for (auto [charset, table] : printerSets) {
    for (auto [from, to] : Pairs(table)) {
      std::string want = MazToUtf8Text(Byte(from).c_str());
      if (!IsOwnCode(from)) {
        // Frame pieces: code page 852's single-line ones, the same codes in both tables.
        const std::string piece = Iconv("CP852", "UTF-8", Byte(to));
        EXPECT_TRUE(piece.size() == 3 && piece[0] == '\xE2' && piece[1] == '\x94') << "code " << from;
        EXPECT_EQ(to, ConvChar(from, MazTo852Pairs, 0));
        continue;
      }
      EXPECT_EQ(Iconv(charset, "UTF-8", Byte(to)), want) << charset << " code " << from;
    }
  }
  for (auto [from, to] : Pairs(MazToAsciiPairs)) {
    EXPECT_TRUE((to >= 'A' && to <= 'Z') || (to >= 'a' && to <= 'z')) << from;
    EXPECT_EQ(EnvToUpper(from) == from, to < 'a') << "case of " << from;
  }
}

TEST(ConvChar, DirectionsFlagsAndMisses) {
  struct Case {
    int character;
    const uint16_t* table;
    int flags;
    int expected;
  } cases[] = {
      {134, MazToWindowsPairs, 0, 0xB9},              // ą to code page 1250
      {0xB9, MazToWindowsPairs, CONV_REVERSE, 134},   // and back
      {134, MazToWindowsPairs, CONV_UPPER, 0xA5},     // Ą
      {155, MazToWindowsPairs, 0, 155},               // the en dash has no pair
      {0, MazToWindowsPairs, CONV_UPPER, 0},
      {0, nullptr, 0, 0},
      {146, nullptr, CONV_UPPER, 156},                // no table: only the upper-casing
      {201, MazTo852Pairs, 0, 218},                   // double frame corner to single
      {205, MazTo852Pairs, 0, 205},                   // 205 is Š here, not a frame line
      {146, MazToAsciiPairs, 0, 'l'},
      {132, MazToAsciiPairs, 0, 'S'},
      {static_cast<int>(static_cast<char>(134)), MazToIsoPairs, 0, 0xB1},   // a negative char is its byte
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvChar(c.character, c.table, c.flags), c.expected) << "character " << c.character;

  char text[] = "\x86le\x9E\0\x86";
  ConvChars(text, 6, MazToWindowsPairs, 0);
  EXPECT_EQ(std::string(text, 6), std::string("\xB9le\x9C\0\xB9", 6));   // NUL included with a count
  char upTo[] = "\x86\x92";
  ConvChars(upTo, -1, MazToAsciiPairs, CONV_UPPER);
  EXPECT_STREQ(upTo, "AL");
  // A long text goes through a table of every byte value: each byte as alone.
  std::string all;
  for (int round = 0; round < 2; round++)
    for (int c = 0; c < 256; c++) all += static_cast<char>(c);
  for (int flags : {0, CONV_UPPER, CONV_REVERSE}) {
    std::string converted = all;
    ConvChars(converted.data(), static_cast<int>(converted.size()), MazTo852Pairs, flags);
    for (size_t i = 0; i < all.size(); i++)
      ASSERT_EQ(static_cast<unsigned char>(converted[i]), ConvChar(all[i], MazTo852Pairs, flags)) << i;
  }
}

TEST(CaseRules, PolishLettersAndOthers) {
  const std::string lower = Utf8ToMazText("ąćęłńóśźż");
  const std::string upper = Utf8ToMazText("ĄĆĘŁŃÓŚŹŻ");
  ASSERT_EQ(lower.size(), 9u);
  for (size_t i = 0; i < lower.size(); ++i) {
    EXPECT_EQ(EnvToUpper(lower[i]), static_cast<unsigned char>(upper[i]));
    EXPECT_EQ(EnvToLower(upper[i]), static_cast<unsigned char>(lower[i]));
  }
  std::string text = Utf8ToMazText("Zażółć gęślą jaźń ß ẞ § 1");
  c4upper(text.data());
  EXPECT_EQ(MazToUtf8Text(text.c_str()), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ ẞ ẞ § 1");
  c4lower_str(text.data());
  EXPECT_EQ(MazToUtf8Text(text.c_str()), "zażółć gęślą jaźń ß ß § 1");
  EXPECT_EQ(EnvToUpper(201), 201);   // frame pieces have no case
  EXPECT_EQ(EnvToLower(128), 129);
}

TEST(CaseRules, EveryOwnLetterHasItsCaseAndEveryPairIsConsistent) {
  for (unsigned char c : kCharsetOwnCodes) {
    const int up = EnvToUpper(c), down = EnvToLower(c);
    if (!IsLetter(c)) {
      EXPECT_EQ(up, c);
      EXPECT_EQ(down, c);
      continue;
    }
    EXPECT_NE(up == c, down == c) << "code " << int(c) << " is neither or both";
    EXPECT_EQ(EnvToLower(up), down) << int(c);
    EXPECT_EQ(EnvToUpper(down), up) << int(c);
  }
}

TEST(IsLetter, LettersOfTheSetOnly) {
  EXPECT_EQ(IsLetter(166), 1);   // ź
  EXPECT_EQ(IsLetter(132), 1);   // ẞ
  EXPECT_EQ(IsLetter('q'), 1);
  EXPECT_EQ(IsLetter(142), 0);   // §
  EXPECT_EQ(IsLetter(155), 0);   // en dash
  EXPECT_EQ(IsLetter('5'), 0);
  EXPECT_EQ(IsLetter(201), 0);
}

TEST(XmlEntityOf, MarkupLettersAndSymbols) {
  EXPECT_STREQ(XmlEntityOf('&'), "&amp;");
  EXPECT_STREQ(XmlEntityOf('\''), "&apos;");
  EXPECT_STREQ(XmlEntityOf(134), "&aogon;");
  EXPECT_STREQ(XmlEntityOf(132), "&#7838;");
  EXPECT_STREQ(XmlEntityOf(227), "&frac34;");
  EXPECT_EQ(XmlEntityOf('a'), nullptr);
  EXPECT_EQ(XmlEntityOf(155), nullptr);   // the en dash has no entity
  // Every letter and symbol of the set has one except the en dash.
  int withEntity = 0;
  for (unsigned char c : kCharsetOwnCodes) withEntity += XmlEntityOf(c) != nullptr;
  EXPECT_EQ(withEntity, 75);
}

}  // namespace
