// The country field's F4 list over the countries table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "tables/masterdata_tables.h"
#include "tests/tables/tables_fixture.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "tests/tables/empty_catalogue.h"

namespace {

constexpr int KRAJ_KKR = 1, KRAJ_KRA = 2;

class CountryFieldTest : public TablesTest {
 protected:
  Wiget list[2]{};
  char country[31];
  Wiget* field = nullptr;

  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    open_envr_win();
    w4activate(StdHelpWindow());
    add_help_line();
    std::memset(country, ' ', 30);
    country[30] = 0;
    ResetWigetsDefinition(list, 2 * WIGET_BYTES, 0);
    field = DefineWigetEx(0, 0, WigetVar(country), 30, W_TEXT);
    int32_t flags = 0x10;   // the country's name
    std::memcpy(field->user_bytes, &flags, sizeof flags);
  }
  void TearDown() override {
    if (field) FreeWigets(list);
    TablesTest::TearDown();
  }
  int Send(int code, int key = 0) {
    WigetEvent event{};
    event.code = static_cast<uint16_t>(code);
    event.key = key;
    return kraj_f4_wiget(&event, field, nullptr);
  }
  static std::string Trimmed(const char* text) {
    std::string s(text);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
  }
};

TEST_F(CountryFieldTest, HintWhileTheFieldHasTheCursor) {
  EXPECT_EQ(Send(WE_ENTER), 0);
  EXPECT_NE(Row(29).find("[F4]-Lista"), std::string::npos) << Row(29);
  EXPECT_EQ(Send(WE_LEAVE), 0);
  EXPECT_EQ(Row(29).find("[F4]"), std::string::npos) << Row(29);
}

TEST_F(CountryFieldTest, F4StoresTheChosenCountryName) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  Append(Z5KRAJ, {{KRAJ_KKR, "FR"}, {KRAJ_KRA, "FRANCJA"}});
  Append(Z5KRAJ, {{KRAJ_KKR, "AT"}, {KRAJ_KRA, "AUSTRIA"}});
  Append(Z5KRAJ, {{KRAJ_KKR, "DE"}, {KRAJ_KRA, "NIEMCY"}});
  d4close(Z5KRAJ.table);
  struct Case {
    const char* keys;
    int key;
    const char* stored;
  } cases[] = {
      {"{ENTER}", 0x3E00, "AUSTRIA"},   // by name, not by entry order
      {"{DOWN}{ENTER}", 0x3E00, "FRANCJA"},
      {"{END}{ENTER}", 0x3E00, "NIEMCY"},
      {"{DOWN}{ESC}", 0x3E00, "NIEMCY"},   // left: the field keeps its text
      {"", 'a', "NIEMCY"},                 // other keys open nothing
  };
  for (const Case& c : cases) {
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(Send(WE_KEY, c.key), 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << c.keys;
    EXPECT_EQ(Trimmed(country), c.stored) << c.keys;
  }
}

}  // namespace
