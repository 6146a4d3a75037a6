// The description field: codes typed, descriptions picked with F4, in the
// three modes, and never past the field's width.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "masterdata/description_field.h"
#include "tables/masterdata_tables.h"
#include "tests/app/record_fixture.h"
#include "tests/masterdata/masterdata_fixture.h"
#include "ui/get4.h"
#include "ui/keyboard.h"

namespace {

constexpr int OP1 = 0, OP2 = 1, KOD = 2;
const std::string kFirst = "Sprzedaz towarow    ", kSecond = "i uslug handlowych  ";

class DescriptionTest : public MasterdataTest {
 protected:
  MemoryRecord header{{{"OP1", 'C', 20, 0}, {"OP2", 'C', 20, 0}}};
  char buffer[48];
  Get4 get{};

  void SetUp() override {
    MasterdataTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5OPIS(0), 0);
    Append(Z5OPIS, {{OP1, kFirst}, {OP2, kSecond}, {KOD, "ST"}});
    d4close(Z5OPIS.table);
    cel_opisu_1 = header[0];
    cel_opisu_2 = header[1];
    header.Set(0, "stary 1");
    header.Set(1, "stary 2");
    get.data = buffer;
  }
  void TearDown() override {
    cel_opisu_1 = cel_opisu_2 = nullptr;
    MasterdataTest::TearDown();
  }
  // The field holds `text` in `width` characters; '#' guards what follows.
  void Field(const std::string& text, int width) {
    std::memset(buffer, '#', sizeof buffer);
    std::string padded = text;
    padded.resize(static_cast<size_t>(width), ' ');
    std::memcpy(buffer, padded.data(), padded.size());
    get.dataWidth = width;
  }
  // The mode the validator works in is the last key routine call's.
  void Mode(int mode) { EXPECT_EQ(Run("x", [&] { return opis_f4_lista(&get, buffer, mode); }), 'x'); }
  std::string Buffer() const { return std::string(buffer, sizeof buffer); }
  std::string Targets() { return std::string(f4ptr(header[0]), 20) + "|" + std::string(f4ptr(header[1]), 20); }
  static std::string Guarded(const std::string& text, int width) {
    return text + std::string(48 - static_cast<size_t>(width), '#');
  }
};

const std::string kOld = std::string("stary 1") + std::string(13, ' ') + "|stary 2" + std::string(13, ' ');

TEST_F(DescriptionTest, CodeTyped) {
  struct Case {
    int mode;
    const char* typed;
    int width;
    int result;
    std::string field, targets;
  } cases[] = {
      {0, " st", 20, 0, kFirst, kFirst + "|" + kSecond},   // lower case is found
      {0, "ST", 12, 0, kFirst.substr(0, 12), kFirst + "|" + kSecond},
      {1, "st", 20, 0, kFirst, kOld},
      {2, "st", 20, 0, "st" + std::string(18, ' '), kOld},
      {0, "STXXXX", 20, 0, "STXXXX" + std::string(14, ' '), kOld},   // six characters: a description
      {0, "QQ", 20, 0, "QQ" + std::string(18, ' '), kOld},           // no such code: left as typed
      {0, "", 20, -1, std::string(20, ' '), kOld},
      {1, "", 20, 0, std::string(20, ' '), kOld},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed) + " mode " + std::to_string(c.mode));
    header.Set(0, "stary 1");
    header.Set(1, "stary 2");
    Mode(c.mode);
    Field(c.typed, c.width);
    std::string keys = c.result ? "{F9} " : "";
    ClearShots();
    EXPECT_EQ(Run(keys, [&] { return opis_wg_kodu(&get); }), c.result);
    EXPECT_EQ(Buffer(), Guarded(c.field, c.width));
    EXPECT_EQ(Targets(), c.targets);
    if (c.result) {
      EXPECT_TRUE(Shown("Pole nie może być puste.")) << seen;
    }
  }
}

TEST_F(DescriptionTest, DescriptionPickedWithF4) {
  struct Case {
    int mode;
    int width;
    std::string field, targets;
  } cases[] = {
      {0, 20, kFirst, kFirst + "|" + kSecond},
      {0, 30, kFirst + std::string(10, ' '), kFirst + "|" + kSecond},   // the first target's width
      {1, 8, kFirst.substr(0, 8), kOld},
      {2, 30, kFirst + kSecond.substr(0, 10), kOld},
      {2, 40, kFirst + kSecond, kOld},
      {2, 12, kFirst.substr(0, 12), kOld},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " width " + std::to_string(c.width));
    header.Set(0, "stary 1");
    header.Set(1, "stary 2");
    Field("", c.width);
    EXPECT_EQ(Run("{F4}{ENTER}", [&] { return opis_f4_lista(&get, buffer, c.mode); }), KEY_ENTER);
    EXPECT_EQ(Buffer(), Guarded(c.field, c.width));
    EXPECT_EQ(Targets(), c.targets);
  }
  // Left with Esc: nothing changes; the cursor goes home.
  Field("abc", 20);
  EXPECT_EQ(Run("{F4}{ESC}", [&] { return opis_f4_lista(&get, buffer, 0); }), KEY_HOME);
  EXPECT_EQ(Buffer(), Guarded("abc" + std::string(17, ' '), 20));
}

}  // namespace
