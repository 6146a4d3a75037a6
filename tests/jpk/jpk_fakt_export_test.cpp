// The JPK_FAKT export of invoices issued to receipts over seeded receipt
// tables: which receipts go in, the files of each schema variant validated
// against the published schemas, their control sums, the unfit-rate warning,
// and the ends that leave no file: a receipt without its buyer record, an
// invoice without a number, no receipt, a failing write.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "db/dbf_records.h"
#include "jpk/jpk_fakt_export.h"
#include "platform/screen_hook.h"
#include "tables/receipt_tables.h"
#include "tests/jpk/jpk_fixture.h"
#include "tests/jpk/schema_check.h"
#include "tests/print/printed_text.h"

namespace {

struct Variant {
  int number;
  const char* workingDate;
  int year;
  const char* monthKeys;
  const char* file;   // the default name of the month
};

const Variant kVariants[] = {
    {1, "20190615", 2019, "6", "JPK_FAKT_2019-06_01_Firma_Lodz_Sp__z_o_o_.XML"},
    {2, "20190815", 2019, "8", "JPK_FAKT_2019-08_01_Firma_Lodz_Sp__z_o_o_.XML"},
    {3, "20201115", 2020, "11", "JPK_FAKT_2020-11_01_Firma_Lodz_Sp__z_o_o_.XML"},
    {4, "20240315", 2024, "3", "JPK_FAKT_2024-03_01_Firma_Lodz_Sp__z_o_o_.XML"},
};

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) n++;
  return n;
}

std::string Element(const std::string& xml, const std::string& tag) {
  size_t at = xml.find("<" + tag + ">");
  if (at == std::string::npos) return "<missing>";
  at += tag.size() + 2;
  return xml.substr(at, xml.find('<', at) - at);
}

// A receipt line of one piece: name, VAT code, net, VAT, gross.
struct Line {
  const char* name;
  int code;
  const char *net, *vat, *gross;
};

class JpkFaktTest : public JpkTest {
 protected:
  void TearDown() override {
    CloseReceipts();
    JpkTest::TearDown();
  }
  void CloseReceipts() {
    for (TableHandles* t : {&Z5PARA, &Z5PARE, &Z5PARO}) {
      if (t->table) d4close(t->table);
      t->table = nullptr;
    }
  }
  // The receipt tables of the variant's year, empty, with its working date.
  void WorkIn(const Variant& v) {
    CloseReceipts();
    for (const auto& entry : std::filesystem::directory_iterator(firm))
      if (entry.path().filename().string().rfind("Z5PAR", 0) == 0) std::filesystem::remove(entry.path());
    env->settlementYear = v.year;
    env->useSystemDate = 'N';
    std::memcpy(env->workingDate, v.workingDate, 9);
    ASSERT_EQ(OpenZ5PARA(0), 0);
    ASSERT_EQ(OpenZ5PARE(0), 0);
    ASSERT_EQ(OpenZ5PARO(0), 0);
    if (Z5PAWL.table) d4close(Z5PAWL.table);
    Z5PAWL.table = nullptr;
  }
  static std::string Day(const Variant& v, int day) {
    char date[16];
    std::snprintf(date, sizeof date, "%.6s%02d", v.workingDate, day);
    return date;
  }
  // A receipt PA/rec with the invoice FP/invoice of kind `tyf` (no invoice
  // for 0), its lines and, unless `buyerRek` is 0, a buyer record.
  void Receipt(int rec, int tyf, int invoice, const std::string& date, std::initializer_list<Line> lines,
               int buyerRek = -1) {
    std::string r = std::to_string(rec);
    AppendRecord(Z5PARA.table, {{"REC", r}, {"PRE", "PA"}, {"NRV", r}, {"DSP", date}, {"TYF", std::to_string(tyf)},
                                {"PRF", tyf ? "FP" : ""}, {"NRF", std::to_string(invoice)}});
    for (const Line& l : lines)
      AppendRecord(Z5PARE.table, {{"REK", r}, {"PRE", "PA"}, {"NRV", r}, {"DAV", date}, {"JED", "szt"}, {"ILO", "1"},
                                  {"NA1", l.name}, {"VAT", std::to_string(l.code)}, {"WNE", l.net}, {"WAV", l.vat},
                                  {"WAB", l.gross}, {"CNR", l.net}, {"CBR", l.gross}});
    if (buyerRek == 0) return;
    AppendRecord(Z5PARO.table, {{"REK", std::to_string(buyerRek < 0 ? rec : buyerRek)}, {"NA1", "Nabywca " + r},
                                {"KOP", "25-00" + r}, {"MIA", "Kielce"}, {"ULI", "Polna " + r},
                                {"NIP", "526000123" + r}, {"DAW", date}});
  }
  // Receipts of the month: two invoices (one of kind 9 with every kind of
  // line, one of kind 1), and one each of kind 2, without an invoice,
  // outside the month and without lines.
  void Month(const Variant& v) {
    Receipt(1, 9, 1, Day(v, 10),
            {Line{"Chleb", 1, "100", "23", "123"}, Line{"Mleko", 2, "10", "0.8", "10.8"},
             Line{"Stal", 5, "50", "0", "50"}, Line{"Projekt", 11, "30", "0", "30"},
             Line{"Zwrot", 13, "20", "0", "20"}, Line{"Książka", 4, "40", "0", "40"}});
    Receipt(2, 2, 2, Day(v, 11), {Line{"Drugi rodzaj", 1, "100", "23", "123"}});
    Receipt(3, 0, 0, Day(v, 12), {Line{"Bez faktury", 1, "100", "23", "123"}});
    Receipt(4, 1, 4, Day(v, 13), {Line{"Kawa", 8, "10", "0.5", "10.5"}});
    Receipt(5, 9, 5, "20180101", {Line{"Dawno", 1, "100", "23", "123"}});
    Receipt(6, 9, 6, Day(v, 14), {});
  }
  // The export of the variant's month with the default name; the keys left.
  int Export(const Variant& v, const std::string& more = "{ENTER}") {
    Keys((std::string(v.monthKeys) + "{ENTER}{F2}{ENTER}" + more).c_str());
    eksport_jpk_fakt();
    return HeadlessKeysLeft();
  }
  // Another workstation holding the receipts until told to let go; -1 when it
  // could not take them.
  pid_t HoldReceipts(int ready[2], int release[2]) {
    if (pipe(ready) != 0 || pipe(release) != 0) return -1;
    pid_t other = fork();
    if (other == 0) {
      close(ready[0]);
      close(release[1]);
      d4close_all(&env->engine);
      if (OpenZ5PARA(0) != 0 || OpenZ5PARE(0) != 0 || OpenZ5PARO(0) != 0) _exit(1);
      for (DbTable* t : {Z5PARE.table, Z5PARO.table, Z5PARA.table})
        if (set_lock(t, -1) != 0) _exit(1);
      char byte = 1;
      if (write(ready[1], &byte, 1) != 1) _exit(1);
      if (read(release[0], &byte, 1) < 0) _exit(1);
      _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    char byte = 0;
    return read(ready[0], &byte, 1) == 1 ? other : -1;
  }

  static int Release(pid_t other, int ready[2], int release[2]) {
    close(release[1]);
    close(ready[0]);
    int status = 0;
    waitpid(other, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The entries of the register of exported files.
  long RegisterEntries() {
    EXPECT_EQ(Z5DEKL.table, nullptr);   // the export leaves it alone
    if (OpenZ5DEKL(0) != 0) return -1;
    long n = d4reccount(Z5DEKL.table);
    d4close(Z5DEKL.table);
    Z5DEKL.table = nullptr;
    return n;
  }
  void ExpectNothingExported(const Variant& v) {
    EXPECT_FALSE(PlatFileExists((firm + v.file).c_str()));
    EXPECT_FALSE(PlatFileExists((firm + v.file + ".TMP").c_str()));
    EXPECT_EQ(RegisterEntries(), 0);
  }
};

TEST_F(JpkFaktTest, ReceiptsInvoicesOfTheMonthInEveryVariant) {
  FixedClock clock(2026, 12, 10, 10, 0, 0);
  for (const Variant& v : kVariants) {
    SCOPED_TRACE(v.number);
    WorkIn(v);
    Month(v);
    seen.clear();
    // The code-5 line's warning, then the closing box.
    ASSERT_EQ(Export(v, "{F9}{ENTER}{F9}{ENTER}"), 0);
    EXPECT_EQ(Count(seen, "Stawka VAT nieodpowiednia dla typu dostawy !"), 1) << seen;
    EXPECT_EQ(Count(seen, "Nr dokumentu: PA/1"), 1) << seen;
    EXPECT_EQ(Count(seen, "Zapisano faktur - 2"), 1) << seen;
    std::string xml = ReadFile(firm + v.file);
    ASSERT_FALSE(xml.empty()) << v.file;
    EXPECT_EQ(ValidateJpk(firm + v.file, v.number), "") << xml;
    // Kinds 9 and 1 in the month only, and each with lines.
    EXPECT_EQ(Count(xml, "<P_2A>"), 2);
    EXPECT_EQ(Count(xml, "<P_2A>FP/1</P_2A>"), 1);
    EXPECT_EQ(Count(xml, "<P_2A>FP/4</P_2A>"), 1);
    EXPECT_EQ(Element(xml, "LiczbaFaktur"), "2");
    EXPECT_EQ(Element(xml, "WartoscFaktur"), "284.30");
    EXPECT_EQ(Element(xml, "LiczbaWierszyFaktur"), "7");
    EXPECT_EQ(Element(xml, "WartoscWierszyFaktur"), "260.00");
    EXPECT_EQ(Count(xml, "<P_3B>POLSKA "), 2);
    EXPECT_EQ(Element(xml, "P_3B"), "POLSKA 25-001 KIELCE POLNA 1");
    EXPECT_EQ(Element(xml, "P_5B"), "5260001231");
    // The zero rates with the refund to travellers; the warned line counts.
    EXPECT_EQ(Element(xml, "P_13_6"), "70.00");
    EXPECT_EQ(Element(xml, "P_13_7"), "40.00");
    // Supplies outside the country: P_13_5 from variant 2, its P_14_5 "0"
    // where the schema has one.
    EXPECT_EQ(Count(xml, "<P_13_5>30.00</P_13_5>"), v.number >= 2 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_14_5>0</P_14_5>"), v.number == 2 || v.number == 4 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_14_5>"), v.number == 2 || v.number == 4 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_106E_3>false</P_106E_3>"), 2);
    EXPECT_EQ(Count(xml, "<P_106E_3A>"), 0);
    EXPECT_EQ(Count(xml, "<KodWaluty>PLN</KodWaluty>"), v.number >= 3 ? 2 : 0);
    EXPECT_EQ(Count(xml, "<P_18A>false</P_18A>"), v.number >= 3 ? 2 : 0);
    EXPECT_EQ(Count(xml, "<P_12>np</P_12>"), v.number == 4 ? 1 : 0);
    EXPECT_EQ(Count(xml, "<P_12>0</P_12>"), 2);
    EXPECT_EQ(Count(xml, "<P_12_XII>"), 0);
    EXPECT_EQ(Count(xml, "<PrzyczynaKorekty>") + Count(xml, "<ZALZaplata>"), 0);
    // No register of exported files and no version check.
    EXPECT_EQ(RegisterEntries(), 0);
    EXPECT_TRUE(PlatFileExists((firm + std::string(v.file).substr(0, std::strlen(v.file) - 4) + ".DBF").c_str()));
    EXPECT_FALSE(PlatFileExists((firm + v.file + ".TMP").c_str()));
  }
}

TEST_F(JpkFaktTest, OneSmallFileAsPublished) {
  FixedClock clock(2026, 12, 10, 10, 0, 0);
  const Variant& v = kVariants[3];
  WorkIn(v);
  Receipt(1, 9, 7, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  ASSERT_EQ(Export(v), 0);
  ExpectGoldenPage("jpk", "JPK_FAKT_4.XML", ReadFile(firm + v.file));
}

TEST_F(JpkFaktTest, ReceiptWithoutItsBuyerStopsTheExportNamingIt) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  // The buyers of the receipts before and after it are there; its own is not.
  Receipt(1, 9, 1, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  Receipt(2, 9, 2, Day(v, 11), {Line{"Mleko", 1, "10", "2.3", "12.3"}}, 0);
  Receipt(3, 9, 3, Day(v, 12), {Line{"Kawa", 1, "10", "2.3", "12.3"}});
  ASSERT_EQ(Export(v, "{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("BŁĄD DANYCH!"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Brak danych nabywcy faktury."), std::string::npos) << seen;
  EXPECT_NE(seen.find("Dokument sprzedaży nr PA/2 z 11-03-2024."), std::string::npos) << seen;
  ExpectNothingExported(v);
}

TEST_F(JpkFaktTest, InvoiceWithoutANumberNamesTheField) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Receipt(1, 9, 0, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  ASSERT_EQ(Export(v, "{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Puste pole \"numer dokumentu\""), std::string::npos) << seen;
  EXPECT_NE(seen.find("Dokument sprzedaży nr PA/1 z 10-03-2024."), std::string::npos) << seen;
  ExpectNothingExported(v);
}

TEST_F(JpkFaktTest, NoInvoiceInTheMonth) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Receipt(1, 2, 1, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  Receipt(2, 0, 0, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  ASSERT_EQ(Export(v, "{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Brak danych do eksportu!"), std::string::npos) << seen;
  ExpectNothingExported(v);
}

TEST_F(JpkFaktTest, WriteFailingPartWayLeavesNoFile) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Month(v);
  ASSERT_EQ(symlink("/dev/full", (firm + v.file + ".TMP").c_str()), 0);
  ASSERT_EQ(Export(v, "{ENTER}{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Błąd zapisu pliku XML!"), std::string::npos) << seen;
  ExpectNothingExported(v);
}

TEST_F(JpkFaktTest, RefusedLockEndsWithAMessageAndNoFile) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Month(v);
  int ready[2], release[2];
  pid_t other = HoldReceipts(ready, release);
  ASSERT_GT(other, 0);
  // The operator gives up waiting with Esc; the box that follows takes the last key.
  RecordingScreenHook hook;
  hook.keys = {SCREEN_KEY_ESC};
  env->engine.lock_tries = 1;
  ASSERT_EQ(Export(v, "{F9}{ENTER}"), 0);
  EXPECT_TRUE(hook.keys.empty());
  EXPECT_NE(seen.find("Nie można zablokować paragonów."), std::string::npos) << seen;
  EXPECT_EQ(Release(other, ready, release), 0);
  ExpectNothingExported(v);
}

TEST_F(JpkFaktTest, TheReceiptsAreFreeForAnotherWorkstationAfterwards) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Receipt(1, 9, 7, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  ASSERT_EQ(Export(v), 0);
  ASSERT_TRUE(PlatFileExists((firm + v.file).c_str()));
  int ready[2], release[2];
  env->engine.lock_tries = 1;
  pid_t other = HoldReceipts(ready, release);
  ASSERT_GT(other, 0);
  EXPECT_EQ(Release(other, ready, release), 0);
}

TEST_F(JpkFaktTest, FileThatCannotBeOpenedEndsWithItsBox) {
  const Variant& v = kVariants[3];
  WorkIn(v);
  Receipt(1, 9, 7, Day(v, 10), {Line{"Chleb", 1, "100", "23", "123"}});
  // A folder stands where the XML is first written.
  ASSERT_TRUE(std::filesystem::create_directory(firm + v.file + ".TMP"));
  ASSERT_EQ(Export(v, "{F9}{ENTER}{F9}{ENTER}"), 0);
  EXPECT_NE(seen.find("Błąd otwarcia pliku XML!."), std::string::npos) << seen;
  EXPECT_FALSE(PlatFileExists((firm + v.file).c_str()));
}

TEST_F(JpkFaktTest, DefaultNamesByOptionAndMonth) {
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fakt(2024, 0, 1)), "JPK_FAKT_2024_01_Firma_Lodz_Sp__z_o_o_.XML");
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fakt(2024, 2, 1)), "JPK_FAKT_2024-02_01_Firma_Lodz_Sp__z_o_o_.XML");
  const std::string longName = "Krótka nazwa firmy o długości ponad czterdzieści trzy znaki";
  SetFields(Z5PAWL.table, {{"SKN", longName}});
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fakt(2024, 2, 1)),
            "JPK_FAKT_2024-02_01_Krotka_nazwa_firmy_o_dlugosci_ponad.XML");   // 35
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fakt(2024, 0, 1)),
            "JPK_FAKT_2024_01_Krotka_nazwa_firmy_o_dlugosci_ponad_cz.XML");   // 38
  mainOptions.jpkFileNames = 'N';
  EXPECT_EQ(MazToUtf8Text(nazwa_pliku_jpk_fakt(2024, 3, 1)),
            "JPK_FAKT 2024-03(01) Krótka nazwa firmy o długości ponad czte.XML");   // 40
  EXPECT_EQ(MazToUtf8Text(nazwa_pliku_jpk_fakt(2024, 0, 1)),
            "JPK_FAKT 2024(01) Krótka nazwa firmy o długości ponad czterdz.XML");   // 43
}

}  // namespace
