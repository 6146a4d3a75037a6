// The accounts catalogue on the headless display, and the account-number
// services of the entry forms: the check, the F4 list and the number of an
// identity.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "db/db_lock.h"
#include "masterdata/accounts.h"
#include "tables/masterdata_tables.h"
#include "tables/opening.h"
#include "tests/app/record_fixture.h"
#include "tables/layouts.h"
#include "tests/masterdata/catalogue_fixture.h"
#include "ui/get4.h"
#include "ui/keyboard.h"

namespace {

constexpr int KONT_NAZ = 0, KONT_NUM = 1, KONT_REC = 7;

std::string Padded(const char* text, size_t width) {
  std::string s(text);
  s.resize(width, ' ');
  return s;
}

class AccountsTest : public CatalogueTest {
 protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KONT(0), 0);
  }

  void Seed(const std::vector<std::pair<std::string, std::string>>& accounts) {
    long rec = d4reccount(Z5KONT.table);
    for (const auto& [number, name] : accounts)
      Append(Z5KONT, {{KONT_NUM, number}, {KONT_NAZ, name}, {KONT_REC, std::to_string(++rec)}});
  }
  void Run(const std::string& keys) { CatalogueTest::Run(kartoteka_kont, keys); }
  std::string ScreenAfter(const std::string& keys) {
    return CatalogueTest::ScreenAfter(kartoteka_kont, Z5KONT.table, keys);
  }
  // "number|name|REC" of every record in record order, '*' before a deleted one.
  std::vector<std::string> Stored() {
    std::vector<std::string> all;
    for (long n = 1; n <= d4reccount(Z5KONT.table); n++) {
      EXPECT_EQ(d4go(Z5KONT.table, n), 0);
      all.push_back(std::string(d4deleted(Z5KONT.table) ? "*" : "") + Trim(Z5KONT.field[KONT_NUM]) + "|" +
                    Trim(Z5KONT.field[KONT_NAZ]) + "|" + Trim(Z5KONT.field[KONT_REC]));
    }
    return all;
  }
};

// Another workstation's handles of the accounts table, and what it stores
// while this one has its form open.
TableHandles otherWorkstation{};
const char* otherNumber = "";
std::string keysAfterOther;

int OtherGivesIdentity(int) {
  f4assign_long(otherWorkstation.field[KONT_REC], d4reccount(otherWorkstation.table) + 1);
  return 0;
}

void OtherWorkstationSaves() {
  HeadlessOnExhausted([] { throw ScriptEnded(); });
  static char name[] = "Z5KONT.DBF";
  if (OpenTable(TableSpec{&LAYOUT_Z5KONT, name, &otherWorkstation, PLACE_FIRM, 0}, NO_YEAR, 0) != 0) return;
  d4blank(otherWorkstation.table);
  f4assign(otherWorkstation.field[KONT_NUM], otherNumber);
  f4assign(otherWorkstation.field[KONT_NAZ], "Drugie stanowisko");
  lock_and_append(otherWorkstation.table, OtherGivesIdentity, nullptr);
  d4close(otherWorkstation.table);
  HeadlessSetScript(keysAfterOther.c_str());
}

TEST_F(AccountsTest, IdentityCountedWhenTheAccountIsStored) {
  // the other workstation stores its account while this one's form is open
  otherNumber = "100-0001";
  keysAfterOther = "{F2}t{ESC}{ESC}{ESC}";
  HeadlessOnExhausted(OtherWorkstationSaves);
  ASSERT_EQ(HeadlessSetScript("d2000002{ENTER}Pierwsze"), 0);
  EXPECT_EQ(kartoteka_kont(), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(Stored(), (std::vector<std::string>{"100-0001|Drugie stanowisko|1", "200-0002|Pierwsze|2"}));
  // a deleted account keeps its identity: the next one gets 3
  Run("{DOWN}u{ENTER}t{ESC}");
  Run("d3000003{ENTER}Trzecie{F2}t{ESC}{ESC}{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"100-0001|Drugie stanowisko|1", "*200-0002|Pierwsze|2",
                                                "300-0003|Trzecie|3"}));
}

TEST_F(AccountsTest, NumberAndNameRequiredNumberUnique) {
  Seed({{"100-0001", "Sprzedaz"}});
  EXPECT_NE(ScreenAfter("d1000001{ENTER}").find("Podany numer konta już istnieje!"), std::string::npos);
  EXPECT_NE(ScreenAfter("d{ENTER}").find("Pole nie może być puste."), std::string::npos);
  EXPECT_NE(ScreenAfter("d2000002{ENTER}{ENTER}").find("Pole nie może być puste."), std::string::npos);
  // F2 before the name was reached
  EXPECT_NE(ScreenAfter("d2000002{F2}t").find("Pole nie może być puste."), std::string::npos);
  // two accounts may share a name; modifying keeps the record's own number
  Run("d2000002{ENTER}Sprzedaz{F2}t{ESC}{ESC}{ESC}");
  Run("m{ENTER}Sprzedaz krajowa{F2}t{ESC}");
  EXPECT_EQ(Stored(), (std::vector<std::string>{"100-0001|Sprzedaz krajowa|1", "200-0002|Sprzedaz|2"}));
}

// A get over an 8-character account number typed into a form.
struct NumberGet {
  char text[9];
  Get4 get{};
  explicit NumberGet(const char* number) {
    std::snprintf(text, sizeof text, "%-8s", number);
    get.data = text;
    get.dataWidth = 8;
  }
};

TEST_F(AccountsTest, NumberCheckGivesTheIdentityAndName) {
  Seed({{"100-0001", "Sprzedaz"}, {"300-0003", "Uslugi"}});
  MemoryRecord form({{"KOS", 'N', 5, 0}});
  struct Case {
    const char* number;
    const char* keys;
    int result;
    long ident;
    const char* name;
  } cases[] = {
      {"300-0003", "", 0, 2, "Uslugi"},
      {"   -    ", "", 0, 0, ""},
      {"", "", 0, 0, ""},
      {"200-0002", "x", -1, 0, ""},   // "Niezdefiniowany numer konta!"
      {"100-0001", "", 0, 1, "Sprzedaz"},
      {"100-000", "x", -1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    // outputs of an earlier entry, to be replaced
    form.Set(0, "   77");
    long ident = 77;
    char name[35];
    std::memset(name, 'x', sizeof name);
    NumberGet entry(c.number);
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(valid_konto(&entry.get, form[0], &ident, name), c.result);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(ident, c.ident);
    EXPECT_EQ(f4long(form[0]), c.ident);
    EXPECT_EQ(std::string(name, 34), Padded(c.name, 34));
    EXPECT_EQ(name[34], 'x');
    // moving on writes nothing over an account
    ASSERT_EQ(d4top(Z5KONT.table), 0);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"100-0001|Sprzedaz|1", "300-0003|Uslugi|2"}));
  }
  NumberGet missing("200-0002");
  ASSERT_EQ(HeadlessSetScript(""), 0);
  EXPECT_THROW(valid_konto(&missing.get, nullptr, nullptr, nullptr), ScriptEnded);
  EXPECT_NE(Screen().find("Niezdefiniowany numer konta!"), std::string::npos) << Screen();
}

TEST_F(AccountsTest, NumberOfAnIdentity) {
  Seed({{"100-0001", "Sprzedaz"}, {"300-0003", "Uslugi"}});
  MemoryRecord line({{"KON", 'N', 5, 0}});
  struct Case {
    long ident;
    int size;
    const char* number;
  } cases[] = {
      {2, 9, "300-0003"}, {1, 20, "100-0001"}, {5, 9, "        "}, {0, 9, "        "},
      // a short buffer keeps its terminator
      {2, 5, "300-"}, {5, 3, "  "}, {1, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ident << " " << c.size);
    line.SetNumber(0, c.ident);
    char buffer[24];
    std::memset(buffer, '#', sizeof buffer);
    numer_konta_wg_rec(buffer, c.size, line[0]);
    EXPECT_STREQ(buffer, c.number);
    for (int i = c.size; i < static_cast<int>(sizeof buffer); i++) ASSERT_EQ(buffer[i], '#') << i;
    ASSERT_EQ(d4top(Z5KONT.table), 0);
    EXPECT_EQ(Stored(), (std::vector<std::string>{"100-0001|Sprzedaz|1", "300-0003|Uslugi|2"}));
  }
}

TEST_F(AccountsTest, F4ListPutsTheChosenNumberIntoTheField) {
  Seed({{"300-0003", "Uslugi"}, {"100-0001", "Sprzedaz"}});
  struct Case {
    const char* keys;
    int key;
    const char* buffer;
  } cases[] = {
      {"{F4}{ENTER}", KEY_ENTER, "100-0001"},   // in the order of numbers
      {"{F4}{DOWN}{ENTER}", KEY_ENTER, "300-0003"},
      {"{F4}{DOWN}{ESC}", -1, "   -    "},   // left: the field keeps its text
      {"5", '5', "   -    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    NumberGet entry("   -    ");
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(konto_f4_lista(&entry.get, entry.text, 0), c.key);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_EQ(std::string(entry.text), c.buffer);
    // the hint stays while the field keeps the cursor
    EXPECT_EQ(Row(29).find("[F4]-Lista") != std::string::npos, c.key != KEY_ENTER) << Row(29);
  }
}

// With no account yet the list offers to add one: the catalogue opens and
// the list comes back on what was added.
TEST_F(AccountsTest, EmptyListOpensTheCatalogue) {
  ASSERT_EQ(HeadlessSetScript("{F4}t{ENTER}d1000001{ENTER}Sprzedaz{F2}t{ESC}{ESC}{ESC}{ENTER}"), 0);
  NumberGet entry("   -    ");
  EXPECT_EQ(konto_f4_lista(&entry.get, entry.text, 0), KEY_ENTER);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_EQ(std::string(entry.text), "100-0001");
}

}  // namespace
