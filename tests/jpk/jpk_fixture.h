// Fixture of the JPK tests: the sales tables of both registers (the
// auxiliary one in the second set), the own firm with its tax office code,
// the register of exported files, and the headless screen.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "jpk/xml_pieces.h"
#include "tables/firm_tables.h"
#include "tables/vat_tables.h"
#include "ui/std_windows.h"
#include "tests/sales/sales_fixture.h"

class JpkTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    firm = dir + "firma/";
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Łódź Sp. z o.o."}, {"NIP", "657-000-11-22"}, {"KOD", "25-001"},
                             {"MIA", "Kielce"}, {"ULI", "Polna"}, {"NRD", "1"}, {"WOJ", "świętokrzyskie"},
                             {"POW", "Kielce"}, {"GMI", "Kielce"}, {"POC", "Kielce"}, {"TLX", "2603"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    przelacznik_prefiksow_xml = 0;
    mainOptions.jpkFileNames = 'T';
    UiInstallScreenHook();   // the lock waits read their keys from the screen
  }
  void TearDown() override {
    przelacznik_prefiksow_xml = 0;
    mainOptions.jpkFileNames = 0;
    for (TableHandles* t : {&Z5PAWL, &Z5DEKL}) {
      if (t->table) d4close(t->table);
      t->table = nullptr;
    }
    SalesScreenTest::TearDown();
  }
  // An entry of Z5DEKL: NIP, version, sent mark.
  void Entry(const char* nip, int month, int version, char sent) {
    AppendRecord(Z5DEKL.table, {{"KDE", "101"}, {"ROK", "2026"}, {"OKR", std::to_string(month)},
                                {"NRK", std::to_string(version)}, {"NIP", nip}, {"WYS", std::string(1, sent)},
                                {"STA", "200"}});
  }

  std::string firm;
};
