// NIP and PESEL checks and the dates of the working year.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_values.h"
#include "app/validators.h"
#include "tests/app/box_recorder.h"
#include "tests/app/record_fixture.h"
#include "tests/support/env_test.h"
#include "ui/get4.h"
#include "ui/wiget.h"

namespace {

class AppValidatorTest : public EnvTest {
 protected:
  void TearDown() override {
    optionNipCheck = optionPeselCheck = 'N';
    EnvTest::TearDown();
  }
  std::string Boxes() { return boxes.Take(); }
  BoxRecorder boxes;
};

int Validate(GetValidator validator, const char* data, int width) {
  Get4 get{};
  get.data = const_cast<char*>(data);
  get.dataWidth = width;
  return validator(&get);
}

TEST_F(AppValidatorTest, Nip) {
  struct Case {
    const char* text;
    int valid;
    const char* box;   // the message number shown (no message table is registered)
  } cases[] = {
      {"1234563218", 1, ""},
      {"1234563219", 0, "?20020"},
      {"PL 123-456-32-18", 1, ""},
      {"PL1234563218", 1, ""},
      {"123-456-32-18", 1, ""},
      {" 1234563218", 1, ""},
      {"12345632", 0, "?20219"},
      {"12345632181", 0, "?20219"},
      {"123456321X", 0, "?20020"},
      {"1234/563218", 0, "?20020"},
      {"0000000000", 1, ""},
      // the checksum's remainder 10 matches no digit
      {"1000000010", 0, "?20020"},
      {"", 1, ""},
      {"          ", 1, ""},
      {"DE123456789", 1, ""},   // a foreign number is not checked here
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidNip(c.text, 1, 0), c.valid) << c.text;
    EXPECT_EQ(Boxes(), c.box) << c.text;
    EXPECT_EQ(ValidNip(c.text, 0, 0), c.valid) << c.text;
    EXPECT_EQ(Boxes(), "") << c.text;
  }
}

TEST_F(AppValidatorTest, NipCheckOnlyWhenTheOptionSaysSo) {
  EXPECT_EQ(ValidNip("1234563219", 1, 1), 1);
  EXPECT_EQ(Validate(NipGetValid, "1234563219", 10), 0);
  EXPECT_EQ(Boxes(), "");
  optionNipCheck = 'T';
  EXPECT_EQ(ValidNip("1234563219", 1, 1), 0);
  EXPECT_EQ(Boxes(), "?20020");
  EXPECT_EQ(Validate(NipGetValid, "1234563219XYZ", 10), 0) << "the value stands";
  EXPECT_EQ(Boxes(), "?20020");
  EXPECT_EQ(Validate(NipGetValid, "1234563218", 10), 0);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(AppValidatorTest, MessageLeavesTheMenuKeyRoutine) {
  static int (*const kRoutine)() = [] { return 0; };
  env->menuKeyRoutine = kRoutine;
  ValidNip("1234563219", 1, 0);
  EXPECT_EQ(env->menuKeyRoutine, kRoutine);
}

TEST_F(AppValidatorTest, Pesel) {
  struct Case {
    const char* text;
    int valid;
    const char* box;
  } cases[] = {
      {"90010100009", 1, ""},
      {"44051401359", 1, ""},
      {"44051401358", 0, "?20022"},
      {"90010100900", 1, ""},   // weighted sum 30: check digit 0
      {"90010100901", 0, "?20022"},
      {"900 101 000 09", 1, ""},
      {"9001010000", 0, "?20220"},
      {"900101000099", 0, "?20220"},
      {"9001010000-9", 0, "?20022"},
      {"", 0, "?20220"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValidPesel(c.text, 1), c.valid) << c.text;
    EXPECT_EQ(Boxes(), c.box) << c.text;
    EXPECT_EQ(ValidPesel(c.text, 0), c.valid) << c.text;
    EXPECT_EQ(Boxes(), "") << c.text;
  }
}

TEST_F(AppValidatorTest, PeselOptional) {
  EXPECT_EQ(ValidPeselOpt("   ", 1, 0), 1);
  EXPECT_EQ(ValidPeselOpt("44051401358", 1, 1), 1) << "option 32 is off";
  EXPECT_EQ(Boxes(), "");
  optionPeselCheck = 'T';
  EXPECT_EQ(ValidPeselOpt("44051401358", 1, 1), 0);
  EXPECT_EQ(Boxes(), "?20022");
  EXPECT_EQ(Validate(PeselGetValid, "4405140135", 11), 0);
  EXPECT_EQ(Boxes(), "?20220");
  EXPECT_EQ(Validate(PeselGetValid, "           ", 11), 0);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(AppValidatorTest, PeselField) {
  MemoryRecord record({{"PESEL", 'C', 14, 0}});
  struct Case {
    const char* bytes;
    int result;
  } cases[] = {{"44051401359", 1}, {" 4405 1401359", 1}, {"4405140135", 0}, {"", 0}, {"4405140135X9", 0},
               {"440514013590", 0}};
  for (const Case& c : cases) {
    record.Set(0, c.bytes);
    EXPECT_EQ(JestPesel(record[0]), c.result) << c.bytes;
  }
}

TEST_F(AppValidatorTest, DatesOfTheWorkingYear) {
  env->settlementYear = 2025;
  struct Case {
    const char* date;
    int blankAllowed, filledOnly;
    bool yearBox;
  } cases[] = {
      {"20250131", 0, 0, false},
      {"20240131", -1, -1, true},
      {"        ", 0, -1, false},
      {"20250230", -1, -1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Validate(DataWRoku, c.date, 8), c.blankAllowed) << c.date;
    std::string shown = Boxes();
    EXPECT_EQ(shown == "Rok różny od rozrachunkowego!", c.yearBox) << c.date << ": " << shown;
    EXPECT_EQ(Validate(ValidDataWRoku, c.date, 8), c.filledOnly) << c.date;
    Boxes();
  }
}

TEST_F(AppValidatorTest, NipOrPeselOfAFormField) {
  struct Case {
    const char* text;
    const char* box;
  } cases[] = {
      {"1234563218", ""}, {"44051401359", ""}, {"1234563219", "?20021"}, {"44051401358", "?20021"},
      {"12", "?20021"},   {"DE123456789", ""},
  };
  optionNipCheck = optionPeselCheck = 'T';
  for (const Case& c : cases) {
    WigetEvent event{};
    event.code = WE_TEST;
    event.newValue.text.text = c.text;
    event.newValue.text.width = static_cast<int32_t>(std::strlen(c.text));
    EXPECT_EQ(NipOrPeselGetValid(&event, nullptr, nullptr), 0) << c.text;
    EXPECT_EQ(Boxes(), c.box) << c.text;
  }
  WigetEvent leave{};
  leave.code = WE_LEAVE;
  EXPECT_EQ(NipOrPeselGetValid(&leave, nullptr, nullptr), 0);
  EXPECT_EQ(Boxes(), "");
}

}  // namespace
