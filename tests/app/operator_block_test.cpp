// The operator block: every piece scrambled on its own with the record's byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/operator_block.h"
#include "ui/record_stamp.h"

namespace {

// A piece as the block must hold it: the plain bytes scrambled alone.
std::string Scrambled(std::string plain, int mode) {
  conver_pass(plain.data(), static_cast<int>(plain.size()), static_cast<signed char>(mode));
  return plain;
}

class OperatorBlockTest : public ::testing::Test {
 protected:
  std::string block = std::string(OPERATOR_BLOCK_BYTES, ' ');
  std::string Bytes(int at, int n) const { return block.substr(static_cast<size_t>(at), static_cast<size_t>(n)); }
  std::string Name() const {
    char name[OPERATOR_NAME_BYTES];
    OperatorBlockName(block.data(), name);
    return std::string(name, sizeof name);
  }
  std::string Password() const {
    char password[OPERATOR_PASSWORD_BYTES];
    OperatorBlockPassword(block.data(), password);
    return std::string(password, sizeof password);
  }
};

TEST_F(OperatorBlockTest, NewOperatorHasEveryRightAndABlankPassword) {
  NewOperatorBlock(block.data(), "KOWALSKI       ", 37);
  EXPECT_EQ(block[2022], 37);
  EXPECT_EQ(static_cast<unsigned char>(block[2023]), 33);
  EXPECT_EQ(Bytes(0, 15), Scrambled("KOWALSKI       ", 37));
  EXPECT_EQ(Bytes(15, 7), Scrambled(std::string(7, ' '), 37));
  EXPECT_EQ(Bytes(22, 2000), Scrambled(std::string(2000, '\xFF'), 37));
  EXPECT_EQ(Bytes(2024, 3), Scrambled("   ", 37));
  EXPECT_EQ(Bytes(2027, 73), std::string(73, ' ')) << "the unused end stays as it was";
  EXPECT_EQ(Name(), "KOWALSKI       ");
  EXPECT_EQ(Password(), std::string(10, ' '));
  unsigned char rights[OPERATOR_RIGHTS_BYTES];
  OperatorBlockRights(block.data(), rights);
  for (unsigned char byte : rights) ASSERT_EQ(byte, 0xFF);
}

TEST_F(OperatorBlockTest, PasswordIsSplitSevenAndThree) {
  NewOperatorBlock(block.data(), "NOWAK          ", 5);
  struct Case {
    const char* password;
  } cases[] = {{"TAJNE1    "}, {"ABCDEFG   "}, {"ABCDEFGHIJ"}};
  for (const Case& c : cases) {
    OperatorBlockSetPassword(block.data(), c.password);
    EXPECT_EQ(Password(), c.password);
    EXPECT_EQ(Bytes(15, 7), Scrambled(std::string(c.password, 7), 5)) << c.password;
    EXPECT_EQ(Bytes(2024, 3), Scrambled(std::string(c.password + 7, 3), 5)) << c.password;
  }
  EXPECT_EQ(Name(), "NOWAK          ") << "the name is left alone";
}

TEST_F(OperatorBlockTest, OlderRecordsKeepTheLastThreeCharactersPlain) {
  block[2022] = 12;
  block.replace(15, 7, Scrambled("HASLO12", 12));
  block.replace(2024, 3, "345");
  block[2023] = ' ';
  EXPECT_EQ(Password(), "HASLO12345");
  block[2023] = 33;
  EXPECT_NE(Password(), "HASLO12345");
}

TEST_F(OperatorBlockTest, RightsRoundTrip) {
  NewOperatorBlock(block.data(), "NOWAK          ", 91);
  unsigned char rights[OPERATOR_RIGHTS_BYTES];
  for (int i = 0; i < OPERATOR_RIGHTS_BYTES; i++) rights[i] = static_cast<unsigned char>(i * 7);
  OperatorBlockSetRights(block.data(), rights);
  unsigned char back[OPERATOR_RIGHTS_BYTES];
  OperatorBlockRights(block.data(), back);
  EXPECT_EQ(std::memcmp(rights, back, sizeof rights), 0);
  EXPECT_EQ(Name(), "NOWAK          ");
  EXPECT_EQ(Password(), std::string(10, ' '));
}

}  // namespace
