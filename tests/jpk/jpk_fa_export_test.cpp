// The JPK_FA export over a seeded period: the work table, the XML of each
// schema variant validated against the published schemas, the control sums,
// the register entry, the copy, and the ends that leave no file.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "db/dbf_records.h"
#include "platform/screen_hook.h"
#include "env/paths.h"
#include "jpk/jpk_fa_export.h"
#include "tests/jpk/jpk_fixture.h"
#include "tests/jpk/schema_check.h"
#include "tests/print/printed_text.h"

namespace {

struct Variant {
  int number;
  const char* workingDate;
  int year;
  const char* monthKeys;
  const char* file;   // the default name of the month, version 0
};

const Variant kVariants[] = {
    {1, "20190615", 2019, "6", "JPK_FA_2019-06_00_Firma_Lodz_Sp__z_o_o_.XML"},
    {2, "20190815", 2019, "8", "JPK_FA_2019-08_00_Firma_Lodz_Sp__z_o_o_.XML"},
    {3, "20201115", 2020, "11", "JPK_FA_2020-11_00_Firma_Lodz_Sp__z_o_o_.XML"},
    {4, "20240315", 2024, "3", "JPK_FA_2024-03_00_Firma_Lodz_Sp__z_o_o_.XML"},
};

class JpkFaExportTest : public JpkTest {
 protected:
  // The sales tables of `year`, empty, with the working date.
  void WorkIn(const Variant& v) {
    for (TableHandles* t : {&Z5SPRZ, &Z5SPRE, &Z5SPRZ_2, &Z5SPRE_2}) {
      if (t->table) d4close(t->table);
      t->table = nullptr;
    }
    // The tables of the year start empty.
    for (const auto& entry : std::filesystem::directory_iterator(firm))
      if (entry.path().filename().string().rfind("Z5SP", 0) == 0) std::filesystem::remove(entry.path());
    env->settlementYear = v.year;
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, v.workingDate, 9);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    if (Z5PAWL.table) d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
  }
  std::string Day(const Variant& v, int day) {
    char date[16];
    std::snprintf(date, sizeof date, "%.6s%02d", v.workingDate, day);
    return date;
  }
  void OneInvoice(const Variant& v) {
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "  FV", Day(v, 10).c_str(), {{"WAL", "PLN"}, {"RE4", "T"}, {"STM", "1"}},
                        {{{"NA1", "Towar A"}, {"JED", "szt"}, {"ILO", "2"}, {"CNR", "50"}, {"CBR", "61.50"},
                          {"VAT", "1"}, {"VAS", "23"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KVA", "0"},
                          {"RE3", "N"}}});   // no rate: the rows of variants 1-2 convert at 1
  }
  // Every kind and rate: a pro forma, a correction, OSS, EUR, reverse
  // charge, an exemption, margin, and an advance of the auxiliary register.
  void EveryKind(const Variant& v) {
    OneInvoice(v);
    Fields line = {{"NA1", "Towar"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "123"}, {"VAT", "1"},
                   {"VAS", "23"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"KVA", "1"}, {"RE3", "N"}};
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 6, "  PF", Day(v, 11).c_str(), {{"WAL", "PLN"}, {"RE4", "T"}}, {line});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 3, 3, "  FK", Day(v, 12).c_str(),
                        {{"WAL", "PLN"}, {"RE4", "T"}, {"NUK", "FV/1"}, {"DAK", Day(v, 10)}, {"TYK", "rabat"}},
                        {{{"NA1", "Towar A"}, {"JED", "szt"}, {"ILO", "2"}, {"KILO", "2"}, {"CNR", "50"},
                          {"KCNR", "45"}, {"CBR", "61.5"}, {"KCBR", "55.35"}, {"VAT", "1"}, {"KVAT", "1"},
                          {"WNE", "100"}, {"WAV", "23"}, {"KWNE", "90"}, {"KWAV", "20.7"}, {"KRN", "-10"},
                          {"KRV", "-2.3"}, {"RE3", "N"}, {"RE4", "N"}, {"KVA", "1"}}});
    // OSS began in July 2021, under the schema of variant 3.
    if (v.number >= 3)
      AppendSalesDocument(Z5SPRZ, Z5SPRE, 4, 1, "  FV", Day(v, 13).c_str(),
                        {{"WAL", "EUR"}, {"RE4", "T"}, {"STM", "4"}, {"KRA", "NIEMCY"}, {"NIP", "DE123456789"},
                         {"KKS", "4.3"}},
                        {{{"NA1", "Towar OSS"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "119"},
                          {"VAT", "1"}, {"VAS", "19"}, {"WNE", "100"}, {"WAV", "19"}, {"WAB", "119"}, {"STM", "4"},
                          {"KVA", "4.3"}, {"WAL", "EUR"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 5, 1, "  FV", Day(v, 14).c_str(), {{"WAL", "EUR"}, {"RE4", "T"}, {"KVA", "4.3"}},
                        {{{"NA1", "Towar EUR"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "10"}, {"CBR", "12.3"},
                          {"VAT", "1"}, {"WNE", "10"}, {"WAV", "2.3"}, {"WAB", "12.3"}, {"KVA", "4.3"},
                          {"RE3", "N"}, {"WAL", "EUR"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 6, 1, "  FV", Day(v, 15).c_str(), {{"WAL", "PLN"}, {"RE4", "T"}},
                        {{{"NA1", "Stal"}, {"JED", "kg"}, {"ILO", "10"}, {"CNR", "20"}, {"CBR", "20"}, {"VAT", "6"},
                          {"WNE", "200"}, {"WAV", "0"}, {"WAB", "200"}, {"RE3", "T"}, {"KVA", "1"}},
                         {{"NA1", "Projekt"}, {"JED", "usł"}, {"ILO", "1"}, {"CNR", "50"}, {"CBR", "50"}, {"VAT", "11"},
                          {"WNE", "50"}, {"WAV", "0"}, {"WAB", "50"}, {"RE3", "N"}, {"KVA", "1"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 7, 1, "  FV", Day(v, 16).c_str(),
                        {{"WAL", "PLN"}, {"RE4", "T"}, {"RE1", "art. 43 ust. 1 pkt 37"}},
                        {{{"NA1", "Usługa"}, {"JED", "usł"}, {"ILO", "1"}, {"CNR", "300"}, {"CBR", "300"},
                          {"VAT", "4"}, {"WNE", "300"}, {"WAV", "0"}, {"WAB", "300"}, {"RE3", "N"}, {"KVA", "1"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 8, 8, "  FM", Day(v, 17).c_str(), {{"WAL", "PLN"}, {"RE4", "T"}, {"KSM", "2"}},
                        {{{"NA1", "Auto"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "1000"}, {"CBR", "1000"},
                          {"VAT", "1"}, {"WNE", "1000"}, {"WAV", "0"}, {"WAB", "1000"}, {"RE3", "N"}, {"KVA", "1"}}});
    AppendSalesDocument(Z5SPRZ_2, Z5SPRE_2, 1, 11, "  ZA", Day(v, 18).c_str(),
                        {{"WAL", "PLN"}, {"RE4", "T"}, {"KZA", "123"}, {"VAT", "23"}},
                        {{{"NA1", "Zaliczka"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "123"},
                          {"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RE3", "N"}, {"KVA", "1"}}});
  }
  // Runs the export of the month from the main register, accepting the
  // default name; the keys left.
  int Export(const Variant& v, const std::string& more = "{ENTER}") {
    Keys((std::string(v.monthKeys) + "{ENTER}{F2}{ENTER}" + more).c_str());
    eksport_jpk_fa(1);
    return HeadlessKeysLeft();
  }
  // The work table's sums: 'S' count and P15, 'W' count and P11.
  void WorkSums(const std::string& name, int* invoices, double* invoiceSum, int* rows, double* rowSum) {
    ASSERT_EQ(OpenJpkWorkTable(nullptr, name.c_str(), 0), 0);
    *invoices = *rows = 0;
    *invoiceSum = *rowSum = 0;
    for (d4top(JpkWork.table); !d4eof(JpkWork.table); d4skip(JpkWork.table, 1)) {
      if (f4char(d4field(JpkWork.table, "TYP")) == 'S') {
        ++*invoices;
        *invoiceSum += f4double(d4field(JpkWork.table, "P15"));
      } else {
        ++*rows;
        *rowSum += f4double(d4field(JpkWork.table, "P11"));
      }
    }
    d4close(JpkWork.table);
    JpkWork.table = nullptr;
  }
  static std::string Element(const std::string& xml, const std::string& tag) {
    size_t at = xml.find("<" + tag + ">");
    if (at == std::string::npos) return "<missing>";
    at += tag.size() + 2;
    return xml.substr(at, xml.find('<', at) - at);
  }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
    return n;
  }
};

TEST_F(JpkFaExportTest, EveryVariantValidatesAndItsControlSumsMatchTheWorkTable) {
  FixedClock clock(2026, 12, 10, 10, 0, 0);
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.number);
    WorkIn(v);
    EveryKind(v);
    ASSERT_EQ(Export(v), 0);
    std::string xml = ReadFile(firm + v.file);
    ASSERT_FALSE(xml.empty()) << v.file;
    EXPECT_EQ(ValidateJpk(firm + v.file, v.number), "") << xml;
    int invoices = 0, rows = 0;
    double invoiceSum = 0, rowSum = 0;
    std::string table = std::string(v.file).substr(0, std::strlen(v.file) - 4) + ".DBF";
    WorkSums(table, &invoices, &invoiceSum, &rows, &rowSum);
    // Every document but the pro forma, the advance among them.
    EXPECT_EQ(invoices, v.number >= 3 ? 8 : 7);
    EXPECT_EQ(rows, v.number >= 3 ? 9 : 8);
    // Supplies outside the country (code 11 counts so before 2024): P_14_5
    // "0" beside them in variant 2, none in 3, and in 4 only the OSS
    // invoice's special-procedure VAT.
    EXPECT_EQ(Count(xml, "<P_13_5>50.00</P_13_5>"), v.number == 2 || v.number == 3 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_14_5>"), v.number == 2 ? 1 : v.number == 4 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_14_5>19.00</P_14_5>"), v.number == 4 ? 1 : 0);
    // The rate text the schema of the variant lacks is left out.
    EXPECT_EQ(Count(xml, "<P_12>np</P_12>"), v.number == 4 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_12>oo</P_12>"), v.number >= 2 ? 1 : 0);
    EXPECT_EQ(Element(xml, "LiczbaFaktur"), std::to_string(invoices));
    EXPECT_EQ(Element(xml, "WartoscFaktur"), TwoDecimals(invoiceSum));
    EXPECT_EQ(Element(xml, "LiczbaWierszyFaktur"), std::to_string(rows));
    EXPECT_EQ(Element(xml, "WartoscWierszyFaktur"), TwoDecimals(rowSum));
    EXPECT_EQ(Count(xml, "<P_2A>PF/2</P_2A>"), 0);
    EXPECT_EQ(Count(xml, "<P_19A>art. 43 ust. 1 pkt 37</P_19A>"), 1);
    EXPECT_EQ(Count(xml, "<NrFaKorygowanej>FV/1</NrFaKorygowanej>"), 1);
    EXPECT_EQ(Count(xml, "<P_106E_3A>procedura marży - towary używane</P_106E_3A>"), 1);
    EXPECT_EQ(Count(xml, "<P_12_XII>19.0</P_12_XII>"), v.number == 4 ? 1 : 0);
    ASSERT_EQ(OpenZ5DEKL(0), 0);
    EXPECT_EQ(d4reccount(Z5DEKL.table), v.number);
    d4close(Z5DEKL.table);
    Z5DEKL.table = nullptr;
    EXPECT_FALSE(PlatFileExists((firm + v.file + ".TMP").c_str()));
  }
}

// Before 2024 an advance invoice (kind 9) is "ZAL" only as the second pass
// reads it from the auxiliary register; the main register's is "VAT". From
// 2024 the main register's stays "VAT" too.
TEST_F(JpkFaExportTest, AdvanceInvoiceIsZalOnlyInTheSecondPassBefore2024) {
  FixedClock clock(2026, 12, 10, 10, 0, 0);
  auto kind = [](const std::string& xml, const std::string& number) {
    size_t at = xml.find("<P_2A>" + number + "</P_2A>");
    if (at == std::string::npos) return std::string("<missing>");
    size_t start = xml.rfind("<Faktura", at);
    size_t end = xml.find("</Faktura>", at);
    return Element(xml.substr(start, end - start), "RodzajFaktury");
  };
  for (const Variant& v : {kVariants[1], kVariants[3]}) {
    SCOPED_TRACE(v.number);
    WorkIn(v);
    Fields line = {{"NA1", "Zaliczka"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "123"}, {"VAT", "1"},
                   {"VAS", "23"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RE3", "N"}, {"KVA", "1"}};
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 9, "  FP", Day(v, 11).c_str(), {{"WAL", "PLN"}, {"RE4", "T"}}, {line});
    AppendSalesDocument(Z5SPRZ_2, Z5SPRE_2, 2, 9, "  FP", Day(v, 12).c_str(),
                        {{"WAL", "PLN"}, {"RE4", "T"}, {"KZA", "123"}}, {line});
    ASSERT_EQ(Export(v), 0);
    std::string xml = ReadFile(firm + v.file);
    EXPECT_EQ(ValidateJpk(firm + v.file, v.number), "") << xml;
    EXPECT_EQ(kind(xml, "FP/1"), "VAT") << xml;
    EXPECT_EQ(kind(xml, "FP/2"), v.number < 4 ? "ZAL" : "<missing>") << xml;
  }
}

TEST_F(JpkFaExportTest, OneSmallFilePerVariantAsPublished) {
  FixedClock clock(2026, 12, 10, 10, 0, 0);
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.number);
    WorkIn(v);
    OneInvoice(v);
    ASSERT_EQ(Export(v), 0);
    ExpectGoldenPage("jpk", "JPK_FA_" + std::to_string(v.number) + ".XML", ReadFile(firm + v.file));
  }
}

}  // namespace

namespace {

const Variant& V4() { return kVariants[3]; }

class JpkFaEndsTest : public JpkFaExportTest {
 protected:
  void SetUp() override {
    JpkFaExportTest::SetUp();
    if (HasFatalFailure()) return;
    WorkIn(V4());
  }
  // Neither the XML (nor a part of it) nor an entry of the register.
  void ExpectNothingExported() {
    EXPECT_FALSE(PlatFileExists((firm + V4().file).c_str()));
    EXPECT_FALSE(PlatFileExists((firm + V4().file + ".TMP").c_str()));
    ASSERT_EQ(OpenZ5DEKL(0), 0);
    EXPECT_EQ(d4reccount(Z5DEKL.table), 0);
    d4close(Z5DEKL.table);
    Z5DEKL.table = nullptr;
  }
  std::string Screen() {
    std::string screen;
    for (int row = 0; row < Desktop.rows; row++) screen += Row(row) + "\n";
    return screen;
  }
};

TEST_F(JpkFaEndsTest, EmptyCorrectedInvoiceNumberNamesTheField) {
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 3, 3, "  FK", "20240312", {{"RE4", "T"}, {"DAK", "20240310"}, {"TYK", "rabat"}},
                      {{{"VAT", "1"}, {"KVAT", "1"}, {"KRN", "-10"}, {"KRV", "-2.3"}, {"RE3", "N"}, {"RE4", "N"}}});
  Keys("3{ENTER}{F2}{ENTER}{F9}{ENTER}");
  eksport_jpk_fa(1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("BŁĄD DANYCH!"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Puste pole \"nr faktury korygowanej\""), std::string::npos) << seen;
  EXPECT_NE(seen.find("Dokument sprzedaży nr FK/3 z 12-03-2024."), std::string::npos) << seen;
  ExpectNothingExported();
}

TEST_F(JpkFaEndsTest, NoDocumentInThePeriod) {
  OneInvoice(V4());
  Keys("4{ENTER}{F2}{ENTER}{F9}{ENTER}");
  eksport_jpk_fa(1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Brak danych do eksportu!"), std::string::npos) << seen;
  ExpectNothingExported();
}

TEST_F(JpkFaEndsTest, DocumentOfThePeriodsLastDayIsExported) {
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "  FV", "20240229", {{"RE4", "T"}},
                      {{{"VAT", "1"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"RE3", "N"}}});
  Keys("2{ENTER}{F2}{ENTER}{ENTER}");
  eksport_jpk_fa(1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string xml = ReadFile(firm + "JPK_FA_2024-02_00_Firma_Lodz_Sp__z_o_o_.XML");
  EXPECT_EQ(Element(xml, "LiczbaFaktur"), "1");
  EXPECT_EQ(Element(xml, "DataDo"), "2024-02-29");
}

TEST_F(JpkFaEndsTest, RefusedLockOfTheAuxiliaryRegisterEndsWithAMessage) {
  OneInvoice(V4());
  // Another workstation holds the auxiliary headers until told to let go.
  int ready[2], release[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(release), 0);
  pid_t other = fork();
  if (other == 0) {
    close(ready[0]);
    close(release[1]);
    d4close_all(&env->engine);
    if (OpenZ5SPRZ(0, 0, SALES_AUX_SECOND) != 0 || set_lock(Z5SPRZ_2.table, -1) != 0) _exit(1);
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) _exit(1);
    if (read(release[0], &byte, 1) < 0) _exit(1);
    _exit(0);
  }
  close(ready[1]);
  close(release[0]);
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  // The operator gives up waiting for the lock with Esc; the box that
  // follows takes the last key.
  RecordingScreenHook hook;
  hook.keys = {SCREEN_KEY_ESC};
  env->engine.lock_tries = 1;   // one try a round: the round asks for Esc
  Keys("3{ENTER}{F2}{ENTER}{ENTER}");
  eksport_jpk_fa(1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_TRUE(hook.keys.empty());
  EXPECT_GT(hook.noticeCount, 0);
  close(release[1]);
  close(ready[0]);
  int status = 0;
  waitpid(other, &status, 0);
  ExpectNothingExported();
}

TEST_F(JpkFaEndsTest, WriteFailingPartWayLeavesNoFileAndNoEntry) {
  EveryKind(V4());
  // The XML goes first to its temporary name; there it meets a full device.
  ASSERT_EQ(symlink("/dev/full", (firm + V4().file + ".TMP").c_str()), 0);
  ASSERT_EQ(Export(V4(), "{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Błąd zapisu pliku XML!"), std::string::npos) << seen;
  ExpectNothingExported();
}

TEST_F(JpkFaEndsTest, TheHeadersAreFreeForAnotherWorkstationAfterwards) {
  OneInvoice(V4());
  ASSERT_EQ(Export(V4()), 0);
  EXPECT_TRUE(PlatFileExists((firm + V4().file).c_str()));
  pid_t other = StartSecondWorkstation(env, [] { return 0; });
  ASSERT_NE(other, -1);
  EXPECT_TRUE(SecondWorkstationDone(other));
}

TEST_F(JpkFaEndsTest, CopyToTheExportDirectory) {
  OneInvoice(V4());
  ASSERT_EQ(mkdir((dir + "jpk").c_str(), 0775), 0);
  std::snprintf(salesOptions.jpkFaDir, sizeof salesOptions.jpkFaDir, "%-50s", EnvFromDiskPath(dir + "jpk").c_str());
  ASSERT_EQ(Export(V4(), "{ENTER}{ENTER}"), 0);
  EXPECT_EQ(ReadFile(dir + "jpk/" + V4().file), ReadFile(firm + V4().file));
}

}  // namespace

namespace {

TEST_F(JpkFaEndsTest, BuyerNipOfAnotherCountryOnIntraEuSupplyOnly) {
  Fields line = {{"NA1", "Towar"}, {"JED", "szt"}, {"ILO", "1"}, {"CNR", "100"}, {"CBR", "100"}, {"VAT", "3"},
                 {"WNE", "100"}, {"WAV", "0"}, {"WAB", "100"}, {"RE3", "N"}, {"KVA", "1"}};
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "  FV", "20240310", {{"RE4", "T"}, {"STM", "2"}, {"NIP", "DE123456789"}},
                      {line});
  AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 1, "  FV", "20240311", {{"RE4", "T"}, {"STM", "1"}, {"NIP", "DE123456789"}},
                      {line});
  ASSERT_EQ(Export(V4()), 0);
  std::string xml = ReadFile(firm + V4().file);
  EXPECT_EQ(ValidateJpk(firm + V4().file, 4), "") << xml;
  size_t second = xml.find("<P_2A>FV/2</P_2A>");
  ASSERT_NE(second, std::string::npos);
  std::string eu = xml.substr(0, second), domestic = xml.substr(second);
  EXPECT_EQ(Element(eu, "P_4A"), "PL");
  EXPECT_EQ(Element(eu, "P_5A"), "DE");
  EXPECT_EQ(Element(eu, "P_5B"), "123456789");
  EXPECT_EQ(Element(domestic, "P_5A"), "<missing>");
  EXPECT_EQ(Element(domestic, "P_5B"), "DE123456789");
}

}  // namespace
