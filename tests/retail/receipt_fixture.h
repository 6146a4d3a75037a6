// Fixtures of the receipt tests: the catalogue fixture's firm of working
// year 2026 with the receipt headers and positions open, and helpers that
// seed a receipt and read its positions back.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tables/receipt_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/tables/tables_fixture.h"
#include "ui/get4.h"
#include "ui/keyboard.h"

class ReceiptTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARA(0), 0);
    ASSERT_EQ(OpenZ5PARE(0), 0);
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    TablesTest::TearDown();
  }

  static DbField* H(const char* name) { return d4field(Z5PARA.table, name); }
  static DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

  // A receipt header of identifier `rec`; the headers table stands on it.
  void Header(long rec, const Named& values) {
    AppendNamed(Z5PARA, {{"REC", std::to_string(rec)}, {"PRE", "  PA"}, {"NRV", std::to_string(rec)},
                         {"DSP", "20261210"}, {"TRY", "1"}, {"OP", "TAK"}});
    SetNamed(Z5PARA, values);
    ASSERT_EQ(d4write(Z5PARA.table, d4recno(Z5PARA.table)), 0);
  }
  // A position of receipt `rek`.
  void Position(long rek, const Named& values) {
    AppendNamed(Z5PARE, {{"REK", std::to_string(rek)}, {"ILO", "1"}, {"ODC", "N"}});
    SetNamed(Z5PARE, values);
    ASSERT_EQ(d4write(Z5PARE.table, d4recno(Z5PARE.table)), 0);
  }
  // The record numbers of the live positions of receipt `rek`, in entry order.
  std::vector<long> Positions(long rek) {
    std::vector<long> found;
    for (long r = 1; r <= d4reccount(Z5PARE.table); r++) {
      d4go(Z5PARE.table, r);
      if (!d4deleted(Z5PARE.table) && f4long(P("REK")) == rek) found.push_back(r);
    }
    return found;
  }
  // The live correction positions of receipt `rek`.
  std::vector<long> Corrections(long rek) {
    std::vector<long> found;
    for (long r : Positions(rek)) {
      d4go(Z5PARE.table, r);
      if (f4char(P("ODC")) == 'T') found.push_back(r);
    }
    return found;
  }
  static bool FieldIsBlank(const char* name) { return Trim(P(name)).empty(); }
  void GoHeader(long rec) {
    for (long r = 1; r <= d4reccount(Z5PARA.table); r++) {
      d4go(Z5PARA.table, r);
      if (f4long(H("REC")) == rec) return;
    }
    FAIL() << "no header " << rec;
  }
};
