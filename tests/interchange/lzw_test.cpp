#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "env/crc16.h"
#include "interchange/lzw.h"
#include "tests/interchange/archive_fixture.h"

namespace {

// Byte streams over strings.
struct Memory {
  std::string in;
  size_t at = 0;
  std::string out;
  std::vector<std::pair<uint32_t, uint32_t>> progress;
};

int ReadByte(void* user) {
  Memory* m = static_cast<Memory*>(user);
  return m->at < m->in.size() ? static_cast<unsigned char>(m->in[m->at++]) : -1;
}
int WriteByte(void* user, uint8_t byte) {
  static_cast<Memory*>(user)->out += char(byte);
  return 0;
}
void Progress(void* user, uint32_t done, uint32_t total) { static_cast<Memory*>(user)->progress.push_back({done, total}); }

class LzwTest : public ::testing::Test {
 protected:
  void SetUp() override { LzwCoderInit(coder); }
  std::string Encode(const std::string& plain, uint16_t* crc = nullptr) {
    Memory m;
    m.in = plain;
    LzwStreams s = {ReadByte, WriteByte, Progress, &m};
    EXPECT_EQ(LzwEncode(coder, &s, uint32_t(plain.size())), 1);
    if (crc) *crc = coder->crc;
    lastProgress = m.progress;
    return m.out;
  }
  std::string Decode(const std::string& coded, uint32_t length, int* result = nullptr) {
    Memory m;
    m.in = coded;
    LzwStreams s = {ReadByte, WriteByte, Progress, &m};
    int r = LzwDecode(coder, &s, length);
    if (result) *result = r;
    else EXPECT_EQ(r, 1);
    lastProgress = m.progress;
    return m.out;
  }
  std::unique_ptr<LzwCoder> owned = std::make_unique<LzwCoder>();
  LzwCoder* coder = owned.get();
  std::vector<std::pair<uint32_t, uint32_t>> lastProgress;
};

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen() & 0xFF);
  return s;
}

TEST(Crc16Arc, CheckValueAndTable) {
  uint16_t table[256];
  Crc16ArcTable(table);
  uint16_t crc = 0;
  for (char c : std::string("123456789")) crc = Crc16ArcUpdate(table, crc, uint8_t(c));
  EXPECT_EQ(crc, 0xBB3D);
  std::string random = RandomBytes(5000, 7);
  crc = 0;
  for (char c : random) crc = Crc16ArcUpdate(table, crc, uint8_t(c));
  EXPECT_EQ(crc, cp1::Crc16(random));
}

// The coded bytes of small inputs, from codes worked out by hand with the
// table's placement rules.
TEST_F(LzwTest, CodesAndTheirPackingMatchTheFormat) {
  cp1::TableModel t;
  int a = t.Single('a'), b = t.Single('b'), c = t.Single('c');
  int aa = t.Add(a, 'a');   // "aa", the string the unpacker meets before it is defined
  struct Case {
    std::string plain;
    std::vector<int> codes;
  } cases[] = {
      {"a", {a}},
      {"ab", {a, b}},
      {"abc", {a, b, c}},     // odd count: the last byte's low half is 0
      {"aaaa", {a, aa, a}},
  };
  for (const Case& k : cases) {
    uint16_t crc = 0;
    std::string coded = Encode(k.plain, &crc);
    EXPECT_EQ(coded, cp1::PackCodes(k.codes)) << k.plain;
    EXPECT_EQ(crc, cp1::Crc16(k.plain)) << k.plain;
    EXPECT_EQ(Decode(cp1::PackCodes(k.codes), uint32_t(k.plain.size())), k.plain);
    EXPECT_EQ(coder->crc, cp1::Crc16(k.plain));
  }
}

TEST_F(LzwTest, RoundTrips) {
  std::string text;
  for (int i = 0; i < 300; i++) text += "Faktura VAT nr " + std::to_string(i) + " dla kontrahenta ABC sp. z o.o.\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"one byte", "x"},
      {"tiny", "ab"},
      {"KwKwK", "abababababababab"},
      {"text", text},
      {"random 50 kB, the table starts again many times", RandomBytes(50000, 1)},
      {"every byte value", [] {
         std::string s;
         for (int r = 0; r < 20; r++)
           for (int c = 0; c < 256; c++) s += char(c);
         return s;
       }()},
  };
  for (const auto& [what, plain] : cases) {
    uint16_t crc = 0;
    std::string coded = Encode(plain, &crc);
    EXPECT_EQ(crc, cp1::Crc16(plain)) << what;
    EXPECT_EQ(Decode(coded, uint32_t(plain.size())), plain) << what;
    EXPECT_EQ(coder->crc, crc) << what;
  }
}

// One repeated value makes each code one character longer than the one
// before, until 3840 strings were added and the table starts again: 3841
// codes cover 1 + 2 + ... + 3841 bytes, then the lengths start again at 1.
TEST_F(LzwTest, RepeatedValueRestartsTheTableAfter3840Additions) {
  const uint32_t firstRun = 3841u * 3842u / 2u;        // 7,378,561 bytes
  const uint32_t rest = 621439;                        // 1 + ... + 1114 = 621,055, then 384 more
  std::string plain(firstRun + rest, 'z');
  std::string coded = Encode(plain);
  const size_t codes = 3841 + 1115;
  EXPECT_EQ(coded.size(), (codes * 3 + 1) / 2);
  EXPECT_EQ(Decode(coded, uint32_t(plain.size())), plain);
}

TEST_F(LzwTest, ProgressEndsEachEntryAt100Of100) {
  Encode(std::string(1000, 'q'));
  ASSERT_FALSE(lastProgress.empty());
  EXPECT_EQ(lastProgress.back(), std::make_pair(100u, 100u));
  EXPECT_EQ(lastProgress.size(), 11u);   // every tenth, then the end
  Encode("abc");                         // shorter than ten bytes: every byte
  EXPECT_EQ(lastProgress.back(), std::make_pair(100u, 100u));
}

TEST_F(LzwTest, CodedDataEndingEarlyFails) {
  std::string plain = RandomBytes(3000, 3);
  std::string coded = Encode(plain);
  int result = 0;
  std::string out = Decode(coded.substr(0, coded.size() / 2), uint32_t(plain.size()), &result);
  EXPECT_EQ(result, -1);
  EXPECT_LT(out.size(), plain.size());
}

TEST_F(LzwTest, GarbageNeverWritesPastTheLength) {
  for (unsigned seed = 0; seed < 20; seed++) {
    int result = 0;
    std::string out = Decode(RandomBytes(6000, seed), 5000, &result);
    EXPECT_LE(out.size(), 5000u);
    if (result == 1) {
      EXPECT_EQ(out.size(), 5000u);
    }
  }
}

}  // namespace
