// The checks a catalogue record cannot be saved without, on the real
// program, headless: F2 runs them again for fields the operator never
// entered, puts the cursor on the first that fails and saves nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/paths.h"
#include "tables/masterdata_tables.h"
#include "tests/app/program_road.h"
#include "tests/sales/sales_fixture.h"

namespace {

class CatalogueMustsRoadTest : public ProgramRoadTest {
 protected:
  void MakeFirm() { RunToEnd(std::string(LOGO) + "kdFIRMA1{ENTER}firma1{ENTER}{ENTER}{F2}t{ESC}"); }
  // The firm's records of a catalogue table, "code name nip" each.
  std::vector<std::string> Records(TableHandles& handles, int (*open)(int), const char* code, const char* name,
                                   const char* nip) {
    TransDir(EnvFromDiskPath(home + "firma1/").c_str(), &env->dataPath);
    env->settlementYear = std::stoi(date.substr(0, 4));
    std::vector<std::string> all;
    if (ChangeDir(&env->dataPath, 0, 0) != 0 || open(0) != 0) return {"<no table>"};
    for (long r = 1; r <= d4reccount(handles.table); r++) {
      EXPECT_EQ(d4go(handles.table, r), 0);
      all.push_back(FieldText(handles.table, code) + "|" + FieldText(handles.table, name) + "|" +
                    (nip ? FieldText(handles.table, nip) : ""));
    }
    d4close_all(&env->engine);
    return all;
  }
};

// " Kartoteki " > " Kontrahenci ", " Dopisz ": the type chosen, F2 from the
// VAT-payer mark passes the code never entered. The code must be filled;
// a NIP that is no NIP and an empty name only warn and are kept.
TEST_F(CatalogueMustsRoadTest, ContractorCodeCannotBeSkippedWithF2) {
  MakeFirm();
  const std::string add = std::string(LOGO) + "s{ENTER}khd{ENTER}";
  Outcome refused = Run(add + "{F2}");
  EXPECT_TRUE(Has(refused, "Pole nie może być puste.")) << refused.screen;
  // The message closed, the cursor waits in the code.
  RunToEnd(add + "{F2}xK1{F2}t{ESC}{ESC}{ESC}");
  RunToEnd(add + "{F2}xK2{ENTER}ABCDEF{F2}xt{ESC}{ESC}{ESC}");
  EXPECT_EQ(Records(Z5KHNT, OpenZ5KHNT, "KOD", "NA1", "NIP"), (std::vector<std::string>{"K1||", "K2||ABCDEF"}));
}

// " Magazyn " > " Towary ": T1 saved, the next goods take its record back
// with Ctrl+O; F2 checks the code and refuses the second T1.
TEST_F(CatalogueMustsRoadTest, GoodsCodeMustStayUnique) {
  MakeFirm();
  const std::string goods = std::string(LOGO) + "s{ENTER}mt{INS}T1{ENTER}Towar{F2}t";
  Outcome refused = Run(goods + "{INS}{CTRL+O}{F2}");
  EXPECT_TRUE(Has(refused, "Podany kod już istnieje!")) << refused.screen;
  EXPECT_EQ(Records(Z5TOWA, OpenZ5TOWA, "KOD", "NA1", nullptr), (std::vector<std::string>{"T1|Towar|"}));
}

}  // namespace
