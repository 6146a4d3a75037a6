// The countries: the catalogue's form checks, the currency check, and the
// country and currency pickers with their row filters.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "masterdata/countries.h"
#include "tables/masterdata_tables.h"
#include "tests/masterdata/masterdata_fixture.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "tests/tables/empty_catalogue.h"

namespace {

constexpr int SUE = 0, KKR = 1, KRA = 2, KOD = 3;

class CountriesTest : public MasterdataTest {
 protected:
  void Seed() {
    OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
    struct Row {
      const char *sue, *kkr, *kra, *kod;
    } rows[] = {
        {"T", "DE", "NIEMCY", "EUR"},    {"T", "FR", "FRANCJA", "EUR"}, {"T", "SE", "SZWECJA", "SEK"},
        {"T", "CY", "CYPR", ""},         {"N", "US", "USA", "USD"},     {"N", "NO", "NORWEGIA", "NOK"},
        {"N", "AQ", "ATLANTYDA", ""},
    };
    for (const Row& r : rows) Append(Z5KRAJ, {{SUE, r.sue}, {KKR, r.kkr}, {KRA, r.kra}, {KOD, r.kod}});
    d4close(Z5KRAJ.table);
  }
  // Every country as stored: "KKR/KRA/KOD/SUE", trimmed, deleted ones left out.
  std::vector<std::string> Stored() {
    std::vector<std::string> all;
    EXPECT_EQ(OpenZ5KRAJ(0), 0);
    for (long n = 1; n <= d4reccount(Z5KRAJ.table); n++) {
      EXPECT_EQ(d4go(Z5KRAJ.table, n), 0);
      if (d4deleted(Z5KRAJ.table)) continue;
      all.push_back(Trim(Z5KRAJ.field[KKR]) + "/" + Trim(Z5KRAJ.field[KRA]) + "/" + Trim(Z5KRAJ.field[KOD]) + "/" +
                    Trim(Z5KRAJ.field[SUE]));
    }
    d4close(Z5KRAJ.table);
    return all;
  }
  // The catalogue over the open table, as the frame runs it.
  int Catalogue(const std::string& keys) {
    EXPECT_EQ(OpenZ5KRAJ(0), 0);
    int result = Run(keys, kartoteka_krajow);
    d4close(Z5KRAJ.table);
    return result;
  }
  static int Validate(const char* code) {
    char text[4];
    std::memcpy(text, code, 3);
    text[3] = 0;
    Get4 get{};
    get.data = text;
    get.dataWidth = 3;
    return valid_waluta(&get);
  }
};

TEST_F(CountriesTest, RowFiltersOfThePickers) {
  Seed();
  struct Case {
    int flags;
    std::vector<std::string> names;
  } cases[] = {
      {0, {"ATLANTYDA", "CYPR", "FRANCJA", "NIEMCY", "NORWEGIA", "SZWECJA", "USA"}},
      {KRAJ_Z_WALUTA, {"FRANCJA", "NIEMCY", "NORWEGIA", "SZWECJA", "USA"}},
      {KRAJ_UE, {"CYPR", "FRANCJA", "NIEMCY", "SZWECJA"}},
      {KRAJ_UE_Z_WALUTA, {"FRANCJA", "NIEMCY", "SZWECJA"}},
      {KRAJ_POZA_UE, {"ATLANTYDA", "NORWEGIA", "USA"}},
      {KRAJ_POZA_UE_Z_WALUTA, {"NORWEGIA", "USA"}},
      {KRAJ_UE_BEZ_EURO, {"CYPR", "SZWECJA"}},
      {9, {"ATLANTYDA", "CYPR", "FRANCJA", "NIEMCY", "NORWEGIA", "SZWECJA", "USA"}},
  };
  for (const Case& c : cases) {
    // The name on each row, walking down until the list stops moving.
    std::vector<std::string> names;
    for (int down = 0; down < 8; down++) {
      std::string keys;
      for (int i = 0; i < down; i++) keys += "{DOWN}";
      char* text = nullptr;
      ASSERT_EQ(Run(keys + "{ENTER}", [&] { return wybierz_kraj(c.flags | KRAJ_DAJ_NAZWE, &text); }), 0);
      std::string name(text);
      name.erase(name.find_last_not_of(' ') + 1);
      if (names.empty() || names.back() != name) names.push_back(name);
    }
    EXPECT_EQ(names, c.names) << c.flags;
  }
}

TEST_F(CountriesTest, ChooseCountryYieldsTheFieldTheFlagsName) {
  Seed();
  struct Case {
    int flags;
    const char* keys;
    int result;
    std::string text;
  } cases[] = {
      {KRAJ_DAJ_KOD_KRAJU, "{ENTER}", 0, "AQ "},
      {KRAJ_DAJ_NAZWE | KRAJ_DAJ_KOD_KRAJU, "{DOWN}{ENTER}", 0, "CYPR" + std::string(26, ' ')},
      {KRAJ_UE, "{DOWN}{ENTER}", 0, "EUR"},   // neither bit: the currency
      {KRAJ_UE_BEZ_EURO, "{ENTER}", 0, "   "},
      {0, "{DOWN}{ESC}", -1, ""},
  };
  for (const Case& c : cases) {
    char* text = nullptr;
    EXPECT_EQ(Run(c.keys, [&] { return wybierz_kraj(c.flags, &text); }), c.result) << c.keys;
    EXPECT_EQ(text ? std::string(text) : "", c.text) << c.keys;
  }
  // Nothing passes: "Brak danych." and the list's own result.
  std::filesystem::remove(dir + "wspolne/Z5KRAJ.DBF");
  std::filesystem::remove(dir + "wspolne/Z5KRAJ.MDX");
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  d4close(Z5KRAJ.table);
  char* text = nullptr;
  EXPECT_EQ(Run("{F9} ", [&] { return wybierz_kraj(0, &text); }), KEY_ESC);
  EXPECT_TRUE(Shown("Brak danych."));
}

TEST_F(CountriesTest, ChooseCountryWithoutTheTable) {
  std::filesystem::create_directory(dir + "wspolne/Z5KRAJ.DBF");   // cannot be opened as a table
  char* text = nullptr;
  EXPECT_EQ(Run("{F9} ", [&] { return wybierz_kraj(0, &text); }), -1);   // the opener says why
  EXPECT_EQ(text, nullptr);
  // The currency list shows nothing and gives 0, which the key routine passes on.
  char buffer[4] = "EUR";
  Get4 get{};
  get.data = buffer;
  get.dataWidth = 3;
  EXPECT_EQ(Run("{F4}{F9} ", [&] { return kraj_f4_lista(&get, buffer, 0); }), 0);
  EXPECT_EQ(std::string(buffer), "EUR");
}

TEST_F(CountriesTest, CurrencyCheck) {
  // "PLN" needs no table: none is made.
  EXPECT_EQ(Validate("PLN"), 0);
  EXPECT_FALSE(Exists(dir + "wspolne/Z5KRAJ.DBF"));
  Seed();
  struct Case {
    const char* code;
    int result;
    bool box;
  } cases[] = {
      {"PLN", 0, false}, {"EUR", 0, false},   // two countries have it
      {"SEK", 0, false}, {"   ", -1, false},  // blank: the form's own check speaks
      {"XYZ", -1, true}, {"EU ", -1, true},
  };
  for (const Case& c : cases) {
    ClearShots();
    std::string keys = c.box ? "{F9} " : "";
    EXPECT_EQ(Run(keys, [&] { return Validate(c.code); }), c.result) << c.code;
    EXPECT_EQ(Shown("Niezdefiniowany kod waluty."), c.box) << c.code;
  }
}

TEST_F(CountriesTest, CurrencyKeyRoutine) {
  Seed();
  char buffer[4] = "   ";
  Get4 get{};
  get.data = buffer;
  get.dataWidth = 3;
  struct Case {
    const char* keys;
    int key;
    const char* buffer;
  } cases[] = {
      {"{F4}{ENTER}", KEY_ENTER, "EUR"},         // FRANCJA first of those with a currency
      {"{F4}{END}{ENTER}", KEY_ENTER, "USD"},
      {"{F4}{DOWN}{ESC}", KEY_CODED_LEFT, "USD"},  // left: the text stays, the cursor goes home
      {"x", 'x', "USD"},
      {"{TAB}", KEY_TAB, "USD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.keys, [&] { return kraj_f4_lista(&get, buffer, KRAJ_Z_WALUTA); }), c.key) << c.keys;
    EXPECT_EQ(std::string(buffer, 3), c.buffer) << c.keys;
  }
  // The hint stays while the field keeps the cursor, and goes with a key that leaves it.
  EXPECT_EQ(Run("{F9}x", [&] { return kraj_f4_lista(&get, buffer, 1); }), 'x');
  EXPECT_EQ(Run("{ENTER}", [&] { return kraj_f4_lista(&get, buffer, 1); }), KEY_ENTER);
  EXPECT_TRUE(Shown("[F4]-Lista")) << seen;
  EXPECT_EQ(Row(29).find("[F4]"), std::string::npos) << Row(29);
}

TEST_F(CountriesTest, EmptyCurrencyListOffersTheCatalogue) {
  OpenEmptyCatalogue(Z5KRAJ, OpenZ5KRAJ);
  d4close(Z5KRAJ.table);
  char buffer[4] = "   ";
  Get4 get{};
  get.data = buffer;
  get.dataWidth = 3;
  // "Czy dopisać ?" answered T opens the catalogue; the country appended
  // there is the list's current record when the catalogue is left.
  EXPECT_EQ(Run("{F4}{F9}T{INS}TDE{ENTER}NIEMCY{ENTER}eur{ENTER}{ESC}{ENTER}",
                [&] { return kraj_f4_lista(&get, buffer, KRAJ_Z_WALUTA); }),
            KEY_ENTER);
  EXPECT_TRUE(Shown("Brak pozycji w kartotece"));
  EXPECT_EQ(std::string(buffer, 3), "EUR");
  EXPECT_EQ(Stored(), std::vector<std::string>{"DE/NIEMCY/EUR/T"});
  // Esc on the question: the list is left, nothing is opened.
  EXPECT_EQ(Run("{F4}{ESC}", [&] { return kraj_f4_lista(&get, buffer, KRAJ_UE_BEZ_EURO); }), KEY_CODED_LEFT);
}

TEST_F(CountriesTest, CatalogueFormChecks) {
  Seed();
  struct Case {
    const char* keys;
    const char* box;   // "" none
    std::vector<std::string> added;
  } cases[] = {
      {"{INS}TD1{ENTER}{F9} {ESC}", "Tylko litery.", {}},
      {"{INS}TDE{ENTER}niemcy{ENTER}{F9} {ESC}", "Taki kraj już istnieje.", {}},
      {"{INS}NPL{ENTER}{ENTER}{F9} {ESC}", "Pole nie może być puste.", {}},   // the name missing
      {"{INS}NCH{ENTER}szwajcaria{ENTER}C1F{ENTER}{F9} {ESC}", "Tylko litery.", {}},
      {"{INS}{ENTER}CH{ENTER}szwajcaria{ENTER}chf{ENTER}", "", {"CH/SZWAJCARIA/CHF/T"}},   // blank answer: T
  };
  std::vector<std::string> expected = Stored();
  for (const Case& c : cases) {
    ClearShots();
    EXPECT_EQ(Catalogue(std::string(c.keys) + "{ESC}"), 0) << c.keys;
    if (*c.box) {
      EXPECT_TRUE(Shown(c.box)) << c.keys;
    }
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(Stored(), expected) << c.keys;
  }
  // The list runs by name from its last record: Alt+M modifies USA, kept
  // unique against itself.
  ClearShots();
  EXPECT_EQ(Catalogue("{ALT+M}{F2}{ALT+M}T{ENTER}{ENTER}{ENTER}{ESC}"), 0);
  EXPECT_FALSE(Shown("Taki kraj"));
  expected[4] = "US/USA/USD/T";
  EXPECT_EQ(Stored(), expected);
  // Del asks first; Esc keeps the country.
  EXPECT_EQ(Catalogue("{DEL}{ESC}{DEL}T{ESC}"), 0);
  expected.erase(expected.begin() + 4);
  EXPECT_EQ(Stored(), expected);
}

}  // namespace
