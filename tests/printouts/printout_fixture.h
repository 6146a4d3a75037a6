// Fixture of the document printout tests: the sales tables of the main
// register with the auxiliary headers in the second set, the recipients,
// the own firm, the VAT rates and a character printer writing to a file;
// the printed text, golden pages and small text searches.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_values.h"
#include "db/db_lock.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_print.h"
#include "tables/firm_tables.h"
#include "tests/print/print_fixture.h"
#include "tests/print/printed_text.h"
#include "tests/sales/sales_fixture.h"

class PrintoutTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    firm = dir + "firma/";
    printing.Start(dir);
    // As the main register has it: the auxiliary register's headers in the second set.
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRO(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Test Sp. z o.o."}, {"NIP", "6570001122"}, {"KOD", "25-001"},
                             {"MIA", "Kielce"}, {"ULI", "Polna"}, {"NRD", "1"}, {"REG", "123456789"}});
    ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
    d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
    saved[0] = currentVatRates[VAT_BASIC];
    saved[1] = currentVatRates[VAT_REDUCED_1];
    currentVatRates[VAT_BASIC] = 23;
    currentVatRates[VAT_REDUCED_1] = 8;
    std::strcpy(salesOptions.numbering[DOC_FV].name, "FAKTURA nr");
    salesOptions.list50 = 1;
    salesOptions.list107 = 2;
    salesOptions.simplifiedLimitPln = 450;
    salesOptions.simplifiedLimitEur = 100;
    salesOptions.printFinalInvoiceList = 'T';
    salesOptions.listAmounts = 'N';
    std::strcpy(salesOptions.issuePlace, "Kielce");
    optionOriginalCopyMark = 'N';
  }
  void TearDown() override {
    currentVatRates[VAT_BASIC] = saved[0];
    currentVatRates[VAT_REDUCED_1] = saved[1];
    optionOriginalCopyMark = 'N';
    printing.Stop();
    SalesScreenTest::TearDown();
  }

  // The FV/1 header (REC 1) with its gross and paid amounts.
  void Invoice(const char* gross = "63.90", Fields more = {}) {
    AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"RE4", "T"},
                                {"STM", "1"}, {"DAW", "20261210"}, {"DAS", "20261210"}, {"DPL", "20261224"},
                                {"NA1", "Odbiorca Jan Nowak"}, {"KOP", "00-950"}, {"MIA", "Warszawa"},
                                {"ULI", "Długa 5"}, {"NIP", "5260001234"}, {"PLA", "PRZELEW"}, {"NET", "55"},
                                {"VAT", "8.90"}, {"BRU", gross}, {"KZA", "0"}, {"WAL", "PLN"}, {"KVA", "1"},
                                {"WYS", "Anna Kowalska"}, {"TRY", "1"}});
    SetFields(Z5SPRZ.table, more);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
  }
  void Line(const char* name, const char* quantity, const char* price, const char* gross, const char* code,
            const char* rate, const char* net, const char* vat, const char* total) {
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"NA1", name}, {"JED", "szt"}, {"ILO", quantity}, {"CNB", price},
                                {"CNR", price}, {"CBB", gross}, {"CBR", gross}, {"VAT", code}, {"VAS", rate},
                                {"WNE", net}, {"WAV", vat}, {"WAB", total}, {"STM", "1"}});
  }
  void Fv1Lines() {
    Line("Towar A", "3", "10", "12.30", "1", "23", "30", "6.90", "36.90");
    Line("Towar B", "2", "12.5", "13.50", "2", "8", "25", "2", "27");
  }
  // The FK/1 correction header (REC 1) of FV/1.
  void Correction() {
    std::strcpy(salesOptions.numbering[DOC_FK].name, Utf8ToMazText("FAKTURA KORYGUJĄCA nr").c_str());
    AppendRecord(Z5SPRZ.table, {{"TYV", "3"}, {"PRE", "  FK"}, {"NRV", "1"}, {"REC", "1"}, {"RE4", "T"},
                                {"STM", "1"}, {"DAW", "20261210"}, {"DAS", "20261210"}, {"NUK", "FV/1"},
                                {"DAK", "20261201"}, {"NA1", "Odbiorca Jan Nowak"}, {"NIP", "5260001234"},
                                {"PLA", "PRZELEW"}, {"TYK", "zmiana stawki"}, {"WAL", "PLN"}, {"KVA", "1"},
                                {"WYS", "Anna Kowalska"}, {"ODE", "Jan Nowak"}});
  }
  // A corrected line: before (code, rate, net, VAT, gross) and after.
  void Corrected(const char* name, const char* code, const char* rate, const char* net, const char* vat,
                 const char* gross, const char* newCode, const char* newRate, const char* newNet,
                 const char* newVat, const char* newGross, const char* changeNet, const char* changeVat) {
    AppendRecord(Z5SPRE.table,
                 {{"REK", "1"}, {"NA1", name}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", net}, {"CBR", gross},
                  {"WNE", net}, {"VAT", code}, {"VAS", rate}, {"WAV", vat}, {"WAB", gross}, {"RE3", "N"},
                  {"KILO", "1"}, {"KCNR", newNet}, {"KCBR", newGross}, {"KWNE", newNet}, {"KVAT", newCode},
                  {"KVAS", newRate}, {"KWAV", newVat}, {"KWAB", newGross}, {"RE4", "N"}, {"ILK", "0"},
                  {"KRN", changeNet}, {"KRV", changeVat}, {"STM", "1"}});
  }
  // Character printing to a file under the print code.
  void CharacterPrinting(const char* code, int copies = 0, int language = 0) {
    Printer.language = language;
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.codePage = 1;
    Printer.copies = copies;
    SavePrintSettings(Z5SPRZ.table, code);
    ResetPrinterState();
  }
  int Print(const char* keys) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    d4go(Z5SPRZ.table, 1);
    int result = drukuj_dokument_sprzedazy(f4int(d4field(Z5SPRZ.table, "TYV")), Z5SPRZ.table, 0, nullptr, 1);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return result;
  }
  std::string Printed() { return TakePrintedText(firm + "win.prn"); }
  static std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1) lines.push_back(text.substr(at, nl - at));
    return lines;
  }
  static std::string LineWith(const std::string& text, const std::string& part) {
    for (const std::string& line : Lines(text))
      if (line.find(part) != std::string::npos) return line;
    return "<missing " + part + ">";
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
  static void ExpectGolden(const std::string& name, const std::string& actual) {
    ExpectGoldenPage("printouts", name, actual);
  }

  std::string firm;
  PrintScreen printing;
  double saved[2]{};
};
