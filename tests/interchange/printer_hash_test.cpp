#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "interchange/printer_hash.h"

namespace {

std::string Hex(const uint8_t* digest) {
  std::string out;
  char two[3];
  for (int i = 0; i < 16; i++) {
    std::snprintf(two, sizeof two, "%02x", digest[i]);
    out += two;
  }
  return out;
}

struct Md5Case {
  std::string input;
  const char* digest;
};

TEST(Md5Digest, KnownDigestsAcrossBlockBoundaries) {
  const Md5Case cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
      // 56 and 64 bytes: the length no longer fits the last block / a whole block of data.
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
  };
  for (const Md5Case& c : cases) {
    uint8_t digest[16];
    Md5Digest(c.input.data(), c.input.size(), digest);
    EXPECT_EQ(Hex(digest), c.digest) << "length " << c.input.size();
  }
}

TEST(PrinterNameHash, FoldsTheDigestWords) {
  EXPECT_EQ(PrinterNameHash("abc"), 0xA8202642u);
}

TEST(PrinterNameHash, LetterCaseGivesAnotherPrinter) {
  EXPECT_NE(PrinterNameHash("HP LaserJet 4"), PrinterNameHash("hp laserjet 4"));
}

}  // namespace
