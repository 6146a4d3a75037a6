// Actions of the sales register through the real program, headless: the
// searches and the line editing of a stored document.
#include <gtest/gtest.h>

#include <string>

#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"

namespace {

class RegisterActionsRoadTest : public SalesRoadTest {
 protected:
  // The firm's main register of 2025: number 12 in two series and kinds,
  // the first of them in key order in series "A" of kind 2.
  void SeedRegister() {
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    struct Seed {
      const char *kind, *prefix, *number, *code, *issued, *nip;
    } seeds[] = {
        {"1", "  FV", "3", "NIPOWY", "20250301", "123-456-32-18"},
        {"1", "  FV", "12", "FAKTURA12", "20250302", ""},
        {"2", "   A", "12", "SERIAA12", "20250303", ""},
        {"1", "  FV", "13", "TRZYNASCIE", "20250304", ""},
    };
    int rec = 1;
    for (const Seed& s : seeds)
      AppendRecord(Z5SPRZ.table, {{"TYV", s.kind}, {"PRE", s.prefix}, {"NRV", s.number}, {"KNA", s.code},
                                  {"NA1", s.code}, {"DAW", s.issued}, {"NIP", s.nip}, {"REC", std::to_string(rec++)}});
    d4close_all(&env->engine);
  }
};

TEST_F(RegisterActionsRoadTest, EachSearchLandsOnItsDocument) {
  SeedRegister();
  struct Case {
    const char* keys;
    const char* code;   // of the document the list then stands on
  } cases[] = {
      {"sn12{ENTER}", "SERIAA12"},                    // the first 12 of any series and kind
      {"sn12{ENTER}sd311225{ENTER}", "SERIAA12"},     // a date after the last: where it stood
      {"sd040325{ENTER}", "TRZYNASCIE"},
      {"sbpfaktura{ENTER}", "FAKTURA12"},             // the buyer's name, upper-cased
      {"sn12{ENTER}sbn45-63{ENTER}{ENTER}", "NIPOWY"},   // the NIP without its dashes
      {"sbwnasc{ENTER}{ENTER}", "TRZYNASCIE"},         // a fragment of the name in any case
  };
  for (const Case& c : cases) {
    std::string screen = Run(std::string(LOGO) + INTO_SALES + c.keys).screen;
    EXPECT_NE(screen.find(std::string("kod kontrahenta:") + c.code), std::string::npos) << c.keys << "\n" << screen;
  }
}

// " Pozycje " opens the lines of the document; leaving them sums the header
// again from its lines (here none), writes it and releases it.
TEST_F(RegisterActionsRoadTest, LineEditingWritesTheHeaderSummedFromItsLines) {
  SeedRegister();
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  SetFields(Z5SPRZ.table, {{"NET", "51.95"}, {"BRU", "63.90"}, {"PLA", "PRZELEW"}, {"ZAP", "N"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  d4close_all(&env->engine);
  std::string screen = Run(std::string(LOGO) + INTO_SALES + "{HOME}mp").screen;
  EXPECT_NE(screen.find("Faktura nr FV/3 z 01-03-2025"), std::string::npos) << screen;
  RunToEnd(std::string(LOGO) + INTO_SALES + "{HOME}mp{ESC}{ESC}{ESC}{ESC}");
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "BRU")), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "NET")), 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  d4close_all(&env->engine);
}

}  // namespace
