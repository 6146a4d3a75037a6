// The exchange with the bookkeeping program: the export's archive unpacked
// and read back, and the import of archives the test packs itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/paths.h"
#include "finance/bookkeeping_exchange.h"
#include "interchange/packed_set.h"
#include "platform/dirs.h"
#include "tables/cash_tables.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/app/screen_shots.h"
#include "tests/sales/sales_fixture.h"
#include "tests/tables/tables_fixture.h"

namespace {

class BookkeepingExchangeTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    if (HasFatalFailure()) return;
    g4set_key_to(KEY_F9, TakeShot);
    seen.clear();
  }
  void TearDown() override {
    g4set_key_to(KEY_F9, nullptr);
    TablesTest::TearDown();
  }
  std::string System(const std::string& disk) { return EnvFromDiskPath(disk); }
  // Runs `body` on a key script that must be used up.
  template <class Body>
  void WithKeys(const char* keys, Body body) {
    ASSERT_EQ(HeadlessSetScript(keys), 0);
    try {
      body();
    } catch (const ScriptEnded&) {
      ADD_FAILURE() << "waited for more keys:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
  void Firm(const char* name, const char* shortName, const char* nip) {
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", name}, {"SKN", shortName}, {"NIP", nip}});
    ASSERT_EQ(d4write(Z5PAWL.table, 1), 0);
    d4close(Z5PAWL.table);
  }
  void Catalogues() {
    ASSERT_EQ(OpenZ5KONT(0), 0);
    AppendRecord(Z5KONT.table, {{"NUM", "100"}, {"NAZ", "Kasa"}});
    AppendRecord(Z5KONT.table, {{"NUM", "200"}, {"NAZ", "Usunięte"}});
    d4delete(Z5KONT.table);
    d4close(Z5KONT.table);
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    AppendRecord(Z5KHNT.table, {{"KOD", "ABC"}, {"NIP", "526-000-12-34"}});
    d4close(Z5KHNT.table);
    ASSERT_EQ(OpenZ5OPIS(0), 0);
    AppendRecord(Z5OPIS.table, {{"KOD", "SP"}, {"OP1", "Sprzedaż"}});
    d4close(Z5OPIS.table);
  }
  // A document of each register in December, one a day before it, and cash
  // and settlement entries of both registers and of a purchase of the same
  // record number.
  void Documents() {
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "FV", "20261231", {}, {{{"NA1", "Towar"}}, {{"NA1", "Usługa"}}});
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 2, 1, "FV", "20261130", {}, {{{"NA1", "Listopad"}}});
    d4close_all(&env->engine);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX), 0);
    AppendSalesDocument(Z5SPRZ, Z5SPRE, 1, 1, "RA", "20261215", {}, {{{"NA1", "Pomocniczy"}}});
    d4close_all(&env->engine);
    ASSERT_EQ(OpenZ5KASA(0), 0);
    ASSERT_EQ(OpenZ5ROZL(0), 0);
    for (const char* kind : {"1", "4", "2"}) {
      AppendRecord(Z5KASA.table, {{"TYZ", kind}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "10"}});
      AppendRecord(Z5ROZL.table, {{"TYZ", kind}, {"ROK", "2026"}, {"REK", "1"}});
    }
    d4close_all(&env->engine);
  }
  std::vector<int> Kinds(TableHandles& copy) {
    std::vector<int> kinds;
    for (int rc = d4top(copy.table); rc == 0 && !d4eof(copy.table); rc = d4skip(copy.table, 1))
      kinds.push_back(f4int(d4field(copy.table, "TYZ")));
    return kinds;
  }
  std::string out() { return dir + "out/"; }
};

TEST_F(BookkeepingExchangeTest, FileNameHoldsDataYearComputerDateAndName) {
  EksportKsiegowy e{};
  std::strcpy(e.nazwa, "ABC   ");
  NazwaPlikuEksportu(&e, 2025, "20261208");
  EXPECT_STREQ(e.plik, "KORB_2025_20261208_ABC.EXP");
}

TEST_F(BookkeepingExchangeTest, ArchiveHoldsThePeriodsDocumentsTheirEntriesAndTheCatalogues) {
  Firm("Firma ABC", "ABC", "5260001234");
  Catalogues();
  Documents();
  MakeDir("out");
  EksportKsiegowy e{};
  std::strcpy(e.od, "20261201");
  std::strcpy(e.do_, "20261231");
  std::snprintf(e.katalog, sizeof e.katalog, "%s", System(out()).c_str());
  std::strcpy(e.nazwa, "ABC");
  NazwaPlikuEksportu(&e, 2026, "20261208");
  long counts[LICZNIKI] = {};
  WithKeys("{F9}x", [&] { EXPECT_EQ(EksportDlaKsiegowosci(&e, counts), 0); });
  EXPECT_TRUE(seen.find("OK") != std::string::npos) << seen;
  EXPECT_EQ(counts[LICZNIK_SPRZEDAZ], 1);
  EXPECT_EQ(counts[LICZNIK_POMOCNICZA], 1);
  EXPECT_EQ(counts[LICZNIK_KASA], 2);
  EXPECT_EQ(counts[LICZNIK_ROZLICZENIA], 2);

  // Only the archive stays; unpacked, it holds the eleven tables.
  std::vector<PlatDirEntry> left;
  ASSERT_EQ(PlatListDir(out().c_str(), "*", &left), PLAT_OK);
  std::string names;
  for (const PlatDirEntry& entry : left) names += entry.name + " ";
  ASSERT_EQ(left.size(), 1u) << names;
  EXPECT_EQ(left[0].name, "KORB_2026_20261208_ABC.EXP");
  MakeDir("unpacked");
  std::string unpacked = dir + "unpacked/";
  ASSERT_EQ(PlatChDir(unpacked.c_str()), PLAT_OK);
  ASSERT_EQ(Decompress2((System(out()) + left[0].name).c_str()), 1);
  ASSERT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
  std::vector<PlatDirEntry> tables;
  ASSERT_EQ(PlatListDir(unpacked.c_str(), "*.DBF", &tables), PLAT_OK);
  EXPECT_EQ(tables.size(), 11u);

  std::string from = System(unpacked);
  char headers[] = "Z5SPEX  .DBF", aux[] = "Z5SPMX  .DBF", lines[] = "Z5ESEX  .DBF";
  ASSERT_EQ(OpenZ5SPRZCopy(headers, 0, from.c_str(), 2026), 0);
  EXPECT_EQ(d4reccount(SprzCopy.table), 1);
  d4go(SprzCopy.table, 1);
  EXPECT_EQ(FieldText(SprzCopy.table, "DAW"), "20261231");
  d4close(SprzCopy.table);
  ASSERT_EQ(OpenZ5SPRZCopy(aux, 0, from.c_str(), 2026), 0);
  EXPECT_EQ(d4reccount(SprzCopy.table), 1);
  d4close(SprzCopy.table);
  ASSERT_EQ(OpenZ5SPRECopy(lines, 0, from.c_str(), 2026), 0);
  EXPECT_EQ(d4reccount(SpreCopy.table), 2);
  d4close(SpreCopy.table);
  ASSERT_EQ(OpenZ5KASACopy("Z5KASAEX.DBF", 0, from.c_str()), 0);
  EXPECT_EQ(Kinds(KasaCopy), (std::vector<int>{1, 4}));
  d4close(KasaCopy.table);
  ASSERT_EQ(OpenZ5ROZLCopy("Z5ROZLEX.DBF", 0, from.c_str()), 0);
  EXPECT_EQ(Kinds(RozlCopy), (std::vector<int>{1, 4}));
  d4close(RozlCopy.table);
  ASSERT_EQ(OpenZ5KONTCopy("Z5KONTEX.DBF", 0, from.c_str()), 0);
  EXPECT_EQ(d4reccount(KontCopy.table), 1) << "the deleted account stays behind";
  d4close(KontCopy.table);
  ASSERT_EQ(OpenZ5PAWLCopy("Z5PAWLEX.DBF", 0, from.c_str()), 0);
  EXPECT_EQ(Trim(PawlCopy.field[1]), "ABC");
  d4close(PawlCopy.table);
}

TEST_F(BookkeepingExchangeTest, EmptyPeriodStillGivesFullCatalogues) {
  Firm("Firma ABC", "ABC", "5260001234");
  Catalogues();
  MakeDir("out");
  EksportKsiegowy e{};
  std::strcpy(e.od, "20260101");
  std::strcpy(e.do_, "20260131");
  std::snprintf(e.katalog, sizeof e.katalog, "%s", System(out()).c_str());
  std::strcpy(e.plik, "KORB_EMPTY.EXP");
  long counts[LICZNIKI] = {};
  WithKeys("x", [&] { EXPECT_EQ(EksportDlaKsiegowosci(&e, counts), 0); });
  for (long count : counts) EXPECT_EQ(count, 0);
  MakeDir("unpacked");
  ASSERT_EQ(PlatChDir((dir + "unpacked/").c_str()), PLAT_OK);
  ASSERT_EQ(Decompress2((System(out()) + "KORB_EMPTY.EXP").c_str()), 1);
  ASSERT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
  ASSERT_EQ(OpenZ5KHNTCopy("Z5KHNTEX.DBF", 0, System(dir + "unpacked/").c_str()), 0);
  EXPECT_EQ(d4reccount(KhntCopy.table), 1);
}

TEST_F(BookkeepingExchangeTest, FailedCopyOfTheOwnFirmLeavesNoArchive) {
  MakeDir("out");
  EksportKsiegowy e{};
  std::strcpy(e.od, "20260101");
  std::strcpy(e.do_, "20260131");
  std::snprintf(e.katalog, sizeof e.katalog, "%s", System(out()).c_str());
  std::strcpy(e.plik, "KORB_X.EXP");
  WithKeys("{ENTER}{F9}x", [&] { EXPECT_EQ(EksportDlaKsiegowosci(&e), 1); });
  EXPECT_TRUE(seen.find("Kompresja danych           BŁĄD") != std::string::npos) << seen;
  EXPECT_TRUE(seen.find("Naciśnij dowolny klawisz") > seen.find("Kompresja danych")) << seen;
  EXPECT_FALSE(Exists(out() + "KORB_X.EXP"));
}

// The import of an archive the test packs from tables it writes.
class BookkeepingImportTest : public BookkeepingExchangeTest {
 protected:
  void SetUp() override {
    BookkeepingExchangeTest::SetUp();
    if (HasFatalFailure()) return;
    MakeDir("src");
    src = System(dir + "src/");
    ASSERT_EQ(OpenZ5KONT(0), 0);
    AppendRecord(Z5KONT.table, {{"NUM", "100"}, {"NAZ", "Kasa"}});
    AppendRecord(Z5KONT.table, {{"NUM", "1000"}, {"NAZ", "Długie"}});
    d4close(Z5KONT.table);
    ASSERT_EQ(OpenZ5OPIS(0), 0);
    AppendRecord(Z5OPIS.table, {{"KOD", "SP"}, {"OP1", "Własny"}});
    d4close(Z5OPIS.table);
    Seller("Firma ABC", "ABC", "526-000-12-34");
    ASSERT_EQ(OpenZ5KONTCopy("Z5KONTEX.DBF", 1, src.c_str()), 0);
    AppendRecord(KontCopy.table, {{"NUM", "100"}, {"NAZ", "Kasa główna"}});
    AppendRecord(KontCopy.table, {{"NUM", "300"}, {"NAZ", "Nowe"}});
    d4close(KontCopy.table);
    ASSERT_EQ(OpenZ5OPISCopy("Z5OPISEX.DBF", 1, src.c_str()), 0);
    AppendRecord(OpisCopy.table, {{"KOD", "SP"}, {"OP1", "Obcy"}});
    AppendRecord(OpisCopy.table, {{"KOD", "ZA"}, {"OP1", "Zakup"}});
    d4close(OpisCopy.table);
    ASSERT_EQ(OpenZ5KHNTCopy("Z5KHNTEX.DBF", 1, src.c_str()), 0);
    d4close(KhntCopy.table);
    // An entry named like a live table of the firm.
    FILE* f = std::fopen((dir + "src/Z5KONT.DBF").c_str(), "wb");
    std::fputs("not a table", f);
    std::fclose(f);
  }
  void Seller(const char* name, const char* shortName, const char* nip) {
    ASSERT_EQ(OpenZ5PAWLCopy("Z5PAWLEX.DBF", 1, src.c_str()), 0);
    env->engine.error_code = 0;   // the opener goes to the first record of the empty table
    AppendRecord(PawlCopy.table, {{"NA1", name}, {"SKN", shortName}, {"NIP", nip}});
    d4close(PawlCopy.table);
  }
  std::string Pack() {
    EXPECT_EQ(PlatChDir((dir + "src/").c_str()), PLAT_OK);
    const PackedFileMask masks[] = {{"*.DBF", 0}, {nullptr, 0}};
    int packed = Compress2(masks, "ZELM_2026_1.EXP", 0);
    PlatChDir(firm.c_str());
    EXPECT_EQ(packed, 1);
    return src + "ZELM_2026_1.EXP";
  }
  void Import(const char* keys) {
    std::string archive = Pack();
    ASSERT_EQ(OpenZ5PAWL(), 0);
    WithKeys(keys, [&] { ImportArchiwum(archive.c_str()); });
    d4close_all(&env->engine);
  }
  std::string Account(const char* number) {
    EXPECT_EQ(OpenZ5KONT(0), 0);
    std::string key = number;
    key.resize(8, ' ');
    std::string name = SeekKontoByNum(key.c_str()) == 0 ? FieldText(Z5KONT.table, "NAZ") : "(none)";
    d4close(Z5KONT.table);
    return name;
  }
  long Count(int (*open)(int), TableHandles& set) {
    EXPECT_EQ(open(0), 0);
    long n = d4reccount(set.table);
    d4close(set.table);
    return n;
  }
  std::string src;
};

TEST_F(BookkeepingImportTest, AccountWithAnotherNameIsOverwrittenOnlyAfterT) {
  Firm("Firma ABC", "ABC", "5260001234");
  Import("{F9}{ESC}x");
  EXPECT_TRUE(seen.find("Niezgodne nazwy kont.") != std::string::npos) << seen;
  EXPECT_EQ(Account("100"), "Kasa");
  EXPECT_EQ(Account("1000"), "Długie");
  EXPECT_EQ(Account("300"), "Nowe");
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 3) << "the archive's table named Z5KONT left the live one alone";
  // The description of an existing code is never changed; a new one is added.
  ASSERT_EQ(OpenZ5OPIS(0), 0);
  EXPECT_EQ(d4reccount(Z5OPIS.table), 2);
  d4go(Z5OPIS.table, 1);
  EXPECT_EQ(FieldText(Z5OPIS.table, "OP1"), "Własny");
  d4close(Z5OPIS.table);

  Import("Tx");
  EXPECT_EQ(Account("100"), "Kasa główna");
  // Nothing of the archive stays in the firm directory.
  std::vector<PlatDirEntry> files;
  ASSERT_EQ(PlatListDir(firm.c_str(), "*EX.DBF", &files), PLAT_OK);
  EXPECT_TRUE(files.empty());
  ASSERT_EQ(PlatListDir(firm.c_str(), "zimp*", &files), PLAT_OK);
  EXPECT_TRUE(files.empty());
}

TEST_F(BookkeepingImportTest, SellerCheckAsksAndEscStopsTheMerge) {
  // A firm without seller data: Esc to 215 leads to 214, Esc there merges nothing.
  Import("{ESC}{F9}{ESC}");
  EXPECT_TRUE(seen.find("Brak zgodności danych sprzedawcy") != std::string::npos) << seen;
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 2);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_TRUE(FieldText(Z5PAWL.table, "NA1").empty());
  d4close(Z5PAWL.table);
  // T copies the seller; the check then passes without a question.
  Import("T{ESC}x");
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(FieldText(Z5PAWL.table, "NA1"), "Firma ABC");
  d4close(Z5PAWL.table);
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 3);
}

// The same names under another NIP are another seller: the question, Esc
// merges nothing, T merges and leaves the own NIP as it was.
TEST_F(BookkeepingImportTest, SellerOfAnotherNipIsAskedAbout) {
  Firm("Firma ABC", "ABC", "526-000-12-35");
  Import("{F9}{ESC}");
  EXPECT_TRUE(seen.find("Brak zgodności danych sprzedawcy") != std::string::npos) << seen;
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 2);
  seen.clear();
  Import("{F9}T{ESC}x");
  EXPECT_TRUE(seen.find("Brak zgodności danych sprzedawcy") != std::string::npos) << seen;
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 3);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  EXPECT_EQ(FieldText(Z5PAWL.table, "NIP"), "526-000-12-35");
  d4close(Z5PAWL.table);
}

TEST_F(BookkeepingImportTest, DamagedArchiveSaysSoAndChangesNothing) {
  FILE* f = std::fopen((dir + "src/ZELM_2026_2.EXP").c_str(), "wb");
  std::fputs("garbage that is no archive at all", f);
  std::fclose(f);
  ASSERT_EQ(OpenZ5PAWL(), 0);
  WithKeys("{ESC}{F9}{ESC}", [&] { ImportArchiwum((src + "ZELM_2026_2.EXP").c_str()); });
  d4close_all(&env->engine);
  EXPECT_TRUE(seen.find("Import zakończony błędnie.") != std::string::npos) << seen;
  EXPECT_EQ(Count(OpenZ5KONT, Z5KONT), 2);
}

TEST_F(BookkeepingImportTest, NewContractorCodeSkipsTakenOnesOfOtherNips) {
  ASSERT_EQ(OpenZ5KHNT(0), 0);
  AppendRecord(Z5KHNT.table, {{"KOD", "ABC(1)"}, {"NIP", "111-111-11-11"}});
  AppendRecord(Z5KHNT.table, {{"KOD", "ABC(2)"}, {"NIP", "5260001234"}});
  EXPECT_STREQ(NowyKodKontrahenta("ABC", "526-000-12-34"), "ABC(2)");
  EXPECT_STREQ(NowyKodKontrahenta("XYZ", "526-000-12-34"), "XYZ(1)");
  d4close(Z5KHNT.table);
}

}  // namespace
