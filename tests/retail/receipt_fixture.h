// Fixtures of the receipt tests: the catalogue fixture's firm of working
// year 2026 with the receipt headers and positions open, and helpers that
// seed a receipt, read its positions back and run the register; the
// register without a printer; the simulated POSNET printer online.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_params.h"
#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/receipt_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/fiscal/fake_port.h"
#include "tests/tables/tables_fixture.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"

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
  // The register run with the key script to its end; the screens taken are in `seen`.
  void Run(const char* keys) {
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    try {
      paragony();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "the register did not end:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
  bool Shown(const char* text) const { return seen.find(text) != std::string::npos; }
};

// The register without a printer: the buyers open, the retail parameters
// blank but for no printing after saving.
class PlainRegisterTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARO(0), 0);
    parametryDetal = DetalParams{};
    parametryDetal.printAfterSave = 'N';
  }
  void TearDown() override {
    retail::kontekstParagonow = nullptr;
    ReceiptTest::TearDown();
  }
};

// The simulated POSNET printer (type 2) over the ONLINE protocol behind a
// fake port, rates 23 and 8 %, stock updated and the receipt printed after
// saving; the options and rates are put back after the test.
class OnlinePrinterTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    open_envr_win();
    savedSales = salesOptions;
    std::memcpy(savedRates, currentVatRates, sizeof savedRates);
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    salesOptions.usualVatCode = 1;
    salesOptions.list132 = 14;
    salesOptions.procedureMarks = 'N';
    salesOptions.blockNonPositiveStock = 'N';
    ASSERT_EQ(CzytajParametryDETAL(), 0);
    parametryDetal.printerType = 2;
    parametryDetal.updateStock = 'T';
    parametryDetal.printAfterSave = 'T';
    parametryDetal.entryStart = 2;
    parametryDetal.priceChange = 'T';
    parametryDetal.useAccounts = 'N';
    parametryDetal.sellingPrice = 1;
    ASSERT_EQ(ZapiszParametryDETAL(), 0);
    ASSERT_EQ(CzytajParametryPosnet(), 0);
    parametryPosnet.onlineProtocol = 'T';
    ASSERT_EQ(ZapiszParametryPosnet(), 0);
  }
  void TearDown() override {
    retail::paragonOnline = retail::ParagonOnline{0, 0};
    if (dfSesja) DFClose();
    PosnetCmd(2 | DF_QUIET);
    zamknij_okno_raportu(0);
    salesOptions = savedSales;
    std::memcpy(currentVatRates, savedRates, sizeof savedRates);
    close_envr_win();
    ReceiptTest::TearDown();
  }

  FakePort port;
  SalesOptions savedSales{};
  double savedRates[VAT_RATE_COUNT]{};
};
