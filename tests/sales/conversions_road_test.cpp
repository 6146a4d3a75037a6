// New documents made from a document of the register through the real
// program, headless: " Modyfikuj " > " Koryguj ", Ctrl+C and (before 2024)
// " Faktura do Proformy ", each read back from the tables and from its
// printed page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "app/option_sets.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/jpk/schema_check.h"
#include "tests/print/printed_text.h"
#include "tests/sales/sales_road.h"

namespace {

// The lines' correction form from the name to the quantity after the
// correction: the other name fields, the unit fields, the GTU menu, the
// quantity, prices, value, the rate menu and its VAT.
const std::string TO_CORRECTED_QUANTITY = [] {
  std::string keys;
  for (int i = 0; i < 16; i++) keys += "{ENTER}";
  return keys;
}();

// " Koryguj " of the register's first document, FV/1: its header form (16
// fields down to "tytuł korekty") given a reason, then its first line
// corrected from 3 to 2 pieces; back in the register.
const std::string CORRECT_FV1 = [] {
  std::string keys = "mk{F2}";
  for (int i = 0; i < 16; i++) keys += "{ENTER}";
  return keys + "Zwrot towaru{F2}tm" + TO_CORRECTED_QUANTITY + "2{ENTER}{F2}t{ESC}{ESC}";
}();
// " Dopisz " of a KOREKTA of FV with "FV/1" typed as the operator reads it,
// its date and a reason (14 fields on); F4 there for its line, Towar A from
// 3 to 2 pieces at 10.00; back on the header the split-payment answer T; the
// save, the next form left, back in the register.
const std::string ADD_CORRECTION_OF_FV1 = [] {
  auto enters = [](int n) {
    std::string keys;
    for (int i = 0; i < n; i++) keys += "{ENTER}";
    return keys;
  };
  return "d4{ENTER}{ENTER}{F2}FV/1{F2}x100325" + enters(14) + "Zwrot towaru{F4}{ENTER}Towar A" + enters(9) +
         "3{ENTER}10{ENTER}" + enters(5) + "2{ENTER}10{ENTER}{F2}t{ESC}{ESC}{ESC}{ENTER}{ENTER}t{F2}t{ESC}{ESC}";
}();

class ConversionsRoadTest : public SalesPrintingRoadTest {
 protected:
  // FV/1 of 10-03-2025 entered through the program (55.00 / 8.90 / 63.90),
  // corrections printed on a character printer.
  void IssueFv1() {
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    SaveCharacterPrinting({{Z5SPRZ.table, "FKN"}});
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
    RunToEnd(std::string(LOGO) + INTO_SALES + InvoiceKeys() + "{ESC}{ESC}{ESC}");
  }
  // The header `record` has the fields.
  void ExpectHeader(long record, std::initializer_list<std::pair<const char*, const char*>> fields) {
    ASSERT_EQ(d4go(Z5SPRZ.table, record), 0);
    for (const auto& [name, value] : fields) EXPECT_EQ(Trimmed(Z5SPRZ.table, name), value) << record << " " << name;
  }
  static std::string Trimmed(DbTable* t, const char* name) {
    std::string text = FieldText(t, name);
    return text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size() : text.find_first_not_of(' '));
  }
};

// " Koryguj " of FV/1: the number window, the new header saved, its first
// line corrected from 3 to 2 pieces; then " Drukuj " > " Dokument ".
TEST_F(ConversionsRoadTest, CorrectionFromTheRegisterNamesItsInvoice) {
  IssueFv1();
  if (HasFatalFailure()) return;
  RunToEnd(std::string(LOGO) + INTO_SALES + "mk{F2}{F2}tm" + TO_CORRECTED_QUANTITY + "2{ENTER}{F2}t{ESC}{ESC}" +
           "rd{F2}{ENTER}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 2);
  ExpectHeader(2, {{"TYV", "3"}, {"PRE", "FK"}, {"NRV", "1"}, {"REC", "2"}, {"TYM", "1"}, {"NUK", "FV/    1"},
                   {"DAK", "20250310"}, {"KRN", "-10.00"}, {"KRV", "-2.30"}, {"NET", ""}});
  ExpectHeader(1, {{"NET", "55.00"}, {"VAT", "8.90"}, {"BRU", "63.90"}});
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 4);
  ASSERT_EQ(d4go(lines, 3), 0);
  EXPECT_EQ(f4long(d4field(lines, "REK")), 2);
  EXPECT_DOUBLE_EQ(f4double(d4field(lines, "ILO")), 3);
  EXPECT_DOUBLE_EQ(f4double(d4field(lines, "KILO")), 2);
  EXPECT_DOUBLE_EQ(f4double(d4field(lines, "KRN")), -10);
  d4close_all(&env->engine);
  EXPECT_NE(page.find("do dokumentu nr FV/1 z 10-03-2025"), std::string::npos) << page;
  EXPECT_NE(page.find("-12.30"), std::string::npos) << page;
}

// " Dopisz " of a KOREKTA: the form starts in the corrected document's
// number; F2 from there stops at its date, which must be filled ("Pole nie
// może być puste.", the cursor moved there, nothing saved); filled, the
// correction is saved naming FV/1 of 10-03-2025 in the register's
// fixed-width number.
TEST_F(ConversionsRoadTest, CorrectionAddedByHandNamesItsInvoice) {
  IssueFv1();
  if (HasFatalFailure()) return;
  // The kind menu's KOREKTA, the delivery, the corrected kind FV, the number.
  const std::string form = std::string(LOGO) + INTO_SALES + "d4{ENTER}{ENTER}{F2}";
  RunToEnd(form + "FV/1{F2}x100325{F2}t{ESC}{ESC}{ESC}");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 2);
  ExpectHeader(2, {{"TYV", "3"}, {"NRV", "1"}, {"TYM", "1"}, {"NUK", "FV/    1"}, {"DAK", "20250310"}});
  d4close_all(&env->engine);
  Outcome refused = Run(form + "FV/1{F2}");
  EXPECT_TRUE(Has(refused, "Pole nie może być puste.")) << refused.screen;
}

// Whichever road made it, a correction names FV/1 in one form: FK/1 by
// " Koryguj " (split payment N), FK/2 by " Dopisz " with "FV/1" typed (split
// payment T). Both keep the register's fixed-width number; the preview (F2)
// shows it with the split-payment answer, and the page and the JPK_FA of
// March name FV/1 as the invoice's own page and record do.
TEST_F(ConversionsRoadTest, BothRoadsNameTheInvoiceAlike) {
  IssueFv1();
  if (HasFatalFailure()) return;
  RunToEnd(std::string(LOGO) + INTO_SALES + CORRECT_FV1 + "{ESC}{ESC}{ESC}");
  RunToEnd(std::string(LOGO) + INTO_SALES + ADD_CORRECTION_OF_FV1 + "{ESC}{ESC}{ESC}");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 3);
  for (long record : {2L, 3L}) {
    ASSERT_EQ(d4go(Z5SPRZ.table, record), 0);
    EXPECT_EQ(FieldText(Z5SPRZ.table, "NUK"), "  FV/    1") << record;
    ExpectHeader(record, {{"TYV", "3"}, {"NRV", std::to_string(record - 1).c_str()}, {"TYM", "1"},
                          {"DAK", "20250310"}, {"TYK", "Zwrot towaru"}, {"KRN", "-10.00"}, {"KRV", "-2.30"}});
  }
  ASSERT_EQ(OpenZ5PAWL(), 0);
  SetFields(Z5PAWL.table, {{"NA1", "Firma Jeden"}, {"NIP", "6570001122"}, {"TLX", "2603"}, {"KOD", "25-001"},
                           {"MIA", "Kielce"}, {"ULI", "Polna"}, {"NRD", "1"}, {"WOJ", "świętokrzyskie"},
                           {"POW", "Kielce"}, {"GMI", "Kielce"}, {"POC", "Kielce"}});
  ASSERT_EQ(write_and_unlock(Z5PAWL.table), 0);
  d4close_all(&env->engine);
  const struct {
    const char* row;   // of the register's list
    const char* number;
    const char* split;
  } corrections[] = {{"{DOWN}", "╠ nr   FK/    1 ", "podzielona (MPP)? N "},
                     {"{DOWN}{DOWN}", "╠ nr   FK/    2 ", "podzielona (MPP)? T "}};
  for (const auto& c : corrections) {
    Outcome preview = Run(std::string(LOGO) + INTO_SALES + c.row + "{F2}");
    for (const char* shown :
         {c.number, "╠do  FV nr   FV/    1                               z dnia.......... 10-03/25  ╣", c.split,
          "╠RAZEM KOREKTY: netto:      -10.00    VAT:       -2.30 "})
      EXPECT_TRUE(Has(preview, shown)) << shown << "\n" << preview.screen;
    RunToEnd(std::string(LOGO) + INTO_SALES + c.row + "rd{F2}{ENTER}{ESC}{ESC}{ESC}");
    std::string page = TakePrintedText(home + "firma1/win.prn");
    EXPECT_NE(page.find("do dokumentu nr FV/1 z 10-03-2025"), std::string::npos) << c.number << "\n" << page;
  }
  // " Menu " > " JPK_FA eksport " of March, the default name, the closing box.
  RunToEnd(std::string(LOGO) + INTO_SALES + "ej3{ENTER}{F2}{ENTER}{ENTER}{ESC}{ESC}{ESC}");
  std::string path;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    if (entry.path().filename().string().rfind("JPK_FA", 0) == 0 && entry.path().extension() == ".XML")
      path = entry.path().string();
  ASSERT_NE(path, "");
  EXPECT_EQ(ValidateJpk(path, 4), "");
  std::string xml = ReadFile(path);
  const std::string corrected = "<NrFaKorygowanej>FV/1</NrFaKorygowanej>";
  size_t first = xml.find(corrected);
  ASSERT_NE(first, std::string::npos) << xml;
  EXPECT_NE(xml.find(corrected, first + 1), std::string::npos) << xml;
  EXPECT_NE(xml.find("<P_2A>FV/1</P_2A>"), std::string::npos) << xml;
  EXPECT_EQ(ReadFile(home + "ER.Log").find("ERRCODE"), std::string::npos) << ReadFile(home + "ER.Log");
}

// Ctrl+C of FV/1: the copy's number window proposes FV/2; the copy has the
// lines and, with the stock option on, takes its goods out of stock; its
// page, printed from the register, is FV/2's.
TEST_F(ConversionsRoadTest, CopyBecomesTheNextInvoiceWithItsLinesAndStock) {
  MakeFirmWithSales();
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(LoadEwidencjeOptions(), 0);
  salesOptions.stockOnEntry = 'T';
  ASSERT_EQ(SaveEwidencjeOptions(), 0);
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  AppendRecord(Z5TOWA.table, {{"KOD", "A1"}, {"NA1", "Towar A"}, {"ILO", "10"}});
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "  FV", "20250310", {{"NET", "30"}, {"VAT", "6.9"}, {"BRU", "36.9"}},
                      {{{"KOT", "A1"}, {"NA1", "Towar A"}, {"ZRP", "1"}, {"ILO", "3"}, {"CNR", "10"}, {"WNE", "30"},
                        {"VAT", "1"}, {"VAS", "23"}, {"WAV", "6.9"}, {"WAB", "36.9"}}});
  SaveCharacterPrinting({{Z5SPRZ.table, "FVN"}});
  if (HasFatalFailure()) return;
  d4close_all(&env->engine);
  Outcome asked = Run(std::string(LOGO) + INTO_SALES + "{CTRL+C}");
  for (const char* text : {"Podaj numer dokumentu:    FV/    2/", "Podaj datę wystawienia: 10-03/25"})
    EXPECT_TRUE(Has(asked, text)) << text << "\n" << asked.screen;
  RunToEnd(std::string(LOGO) + INTO_SALES + "{CTRL+C}{F2}{F2}t{ESC}{ESC}{ESC}{ESC}");
  // FV/2, the second row of the register, printed to the offered file.
  RunToEnd(std::string(LOGO) + INTO_SALES + "{DOWN}rd{F2}{ENTER}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 2);
  ExpectHeader(2, {{"TYV", "1"}, {"PRE", "FV"}, {"NRV", "2"}, {"REC", "2"}, {"NUK", ""}, {"BRU", "36.90"},
                   {"ZAP", "N"}});
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 2);
  ASSERT_EQ(d4go(lines, 2), 0);
  EXPECT_EQ(f4long(d4field(lines, "REK")), 2);
  EXPECT_EQ(f4long(d4field(lines, "NRV")), 2);
  EXPECT_EQ(Trimmed(lines, "KOT"), "A1");
  EXPECT_EQ(Trimmed(lines, "STA"), "T");
  ASSERT_EQ(OpenZ5TOWA(0), 0);
  ASSERT_EQ(d4go(Z5TOWA.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(Z5TOWA.field[TOWA_ILO]), 7);
  d4close_all(&env->engine);
  for (const char* text : {"FAKTURA nr FV/2 ", "miejsce i data wystawienia: 10-03-2025", "1 Towar A",
                           "RAZEM PLN         30.00               6.90          36.90", "DO ZAPŁATY:       36.90   PLN"})
    EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
}

// Before 2024 " Faktura do Proformy " of a paid PF/1: FAKTURA chosen, its
// number window left with F2; the invoice takes the lines, and each of the
// two names the other; the invoice's page names the pro forma and its date.
TEST_F(ConversionsRoadTest, InvoiceFromAProFormaBefore2024) {
  date = "20230310";
  MakeFirmWithSales();
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 6, "  PF", "20230301",
                      {{"ZAP", "T"}, {"NET", "30"}, {"VAT", "6.9"}, {"BRU", "36.9"}, {"KZA", "36.9"}},
                      {{{"NA1", "Towar A"}, {"ILO", "3"}, {"CNR", "10"}, {"WNE", "30"}, {"VAT", "1"}, {"VAS", "23"},
                        {"WAV", "6.9"}, {"WAB", "36.9"}}});
  SaveCharacterPrinting({{Z5SPRZ.table, "FVN"}});
  if (HasFatalFailure()) return;
  d4close_all(&env->engine);
  Outcome asked = Run(std::string(LOGO) + INTO_SALES + "mf{ENTER}");
  EXPECT_TRUE(Has(asked, "Podaj numer dokumentu:    FV/    1/")) << asked.screen;
  RunToEnd(std::string(LOGO) + INTO_SALES + "mf{ENTER}{F2}{ESC}{ESC}{ESC}");
  // FV/1, the second row of the register, printed to the offered file.
  RunToEnd(std::string(LOGO) + INTO_SALES + "{DOWN}rd{F2}{ENTER}{ESC}{ESC}{ESC}");
  std::string page = TakePrintedText(home + "firma1/win.prn");
  OpenFirmRegister();
  if (HasFatalFailure()) return;
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 2);
  ExpectHeader(2, {{"TYV", "1"}, {"PRE", "FV"}, {"NRV", "1"}, {"REC", "2"}, {"TYM", "6"}, {"NUK", "PF/    1"},
                   {"DAK", "20230301"}, {"DAW", "20230310"}, {"BRU", "36.90"}});
  ExpectHeader(1, {{"TYV", "6"}, {"TYM", "1"}, {"NUK", "FV/    1"}, {"DAK", "20230310"}});
  DbTable* lines = Z5SPRE.table;
  ASSERT_EQ(d4reccount(lines), 2);
  ASSERT_EQ(d4go(lines, 2), 0);
  EXPECT_EQ(f4long(d4field(lines, "REK")), 2);
  EXPECT_EQ(Trimmed(lines, "NA1"), "Towar A");
  d4close_all(&env->engine);
  for (const char* text : {"FAKTURA nr FV/1 ", "miejsce i data wystawienia: 10-03-2023",
                           "do fak. PRO FORMA nr: PF/    1 z 01-03-2023", "1 Towar A",
                           "RAZEM PLN         30.00               6.90          36.90", "ZAPŁACONO:       36.90   PLN"})
    EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
}

}  // namespace
