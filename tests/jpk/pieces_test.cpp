// The pieces the JPK files share: variant, file names, prefix switch, tax
// office and country codes, the period dialog, the register of exported
// files and the file copy.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/services.h"
#include "jpk/export_register.h"
#include "jpk/file_copy.h"
#include "interchange/xml_writer.h"
#include "jpk/jpk_fa_export.h"
#include "tables/masterdata_tables.h"
#include "tests/jpk/jpk_fixture.h"

namespace {

TEST(JpkVariant, FollowsTheWorkingDate) {
  const std::pair<const char*, int> table[] = {{"20190630", 1}, {"20190701", 2}, {"20191031", 2},
                                               {"20191101", 3}, {"20220331", 3}, {"20220401", 4}};
  for (const auto& [date, variant] : table) EXPECT_EQ(wariant_jpk_fa(date), variant) << date;
}

TEST(JpkFileName, CleanedOfWhatAFileNameCannotHold) {
  std::string name = Utf8ToMazText("Łódź Sp. z o.o.");
  EXPECT_EQ(std::string(oczysc_nazwe_pliku_jpk(name.data())), "Lodz_Sp__z_o_o_");
  EXPECT_STREQ(nazwa_pustego_pola(5), "nr faktury korygowanej");
}

TEST_F(JpkTest, DefaultNamesByOptionAndMonth) {
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fa(2024, 0, 0)), "JPK_FA_2024_00_Firma_Lodz_Sp__z_o_o_.XML");
  EXPECT_EQ(std::string(nazwa_pliku_jpk_fa(2024, 2, 1)), "JPK_FA_2024-02_01_Firma_Lodz_Sp__z_o_o_.XML");
  mainOptions.jpkFileNames = 'N';
  EXPECT_EQ(MazToUtf8Text(nazwa_pliku_jpk_fa(2024, 3, 2)), "JPK_FA 2024-03(02) Firma Łódź Sp. z o.o..XML");
  SetFields(Z5PAWL.table, {{"SKN", "Krótka nazwa firmy o długości ponad czterdzieści jeden znaków"}});
  EXPECT_EQ(MazToUtf8Text(nazwa_pliku_jpk_fa(2024, 0, 2)), "JPK_FA 2024(02) Krótka nazwa firmy o długości ponad czter.XML");
}

TEST_F(JpkTest, PrefixOnlyOnceSwitchedOn) {
  EXPECT_STREQ(prefiks_etd("KodKraju"), "KodKraju");
  przelacznik_prefiksow_xml = 1;
  EXPECT_STREQ(prefiks_etd("KodKraju"), "etd:KodKraju");
}

TEST_F(JpkTest, TaxOfficeCodeFromTheFieldOrTheOffices) {
  EXPECT_EQ(std::string(kod_urzedu_skarbowego(d4field(Z5PAWL.table, "TLX"), d4field(Z5PAWL.table, "UNAV"))), "2603");
  EXPECT_EQ(Z5USKA.table, nullptr);   // four digits: no lookup
  SetFields(Z5PAWL.table, {{"TLX", "26A3"}});
  Keys("{ENTER}");
  EXPECT_EQ(std::string(kod_urzedu_skarbowego(d4field(Z5PAWL.table, "TLX"), d4field(Z5PAWL.table, "UNAV"))), "");
  ASSERT_EQ(OpenZ5USKA(0), 0);
  AppendRecord(Z5USKA.table, {{"NAZ", "Urząd Skarbowy w Kielcach"}, {"XML", "2604"}});
  d4close(Z5USKA.table);
  Z5USKA.table = nullptr;
  SetFields(Z5PAWL.table, {{"UNAV", "Urząd Skarbowy w Kielcach"}});
  EXPECT_EQ(std::string(kod_urzedu_skarbowego(d4field(Z5PAWL.table, "TLX"), d4field(Z5PAWL.table, "UNAV"))), "2604");
  EXPECT_EQ(Z5USKA.table, nullptr);   // opened for the lookup, closed after it
  SetFields(Z5PAWL.table, {{"UNAV", "Urząd Skarbowy w Zakopanem"}});
  Keys("{ENTER}");
  EXPECT_EQ(std::string(kod_urzedu_skarbowego(d4field(Z5PAWL.table, "TLX"), d4field(Z5PAWL.table, "UNAV"))), "");
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(JpkTest, CountryCodeByName) {
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  AppendRecord(Z5KRAJ.table, {{"KKR", "DE"}, {"KRA", "NIEMCY"}});
  d4close(Z5KRAJ.table);
  Z5KRAJ.table = nullptr;
  EXPECT_STREQ(kod_kraju("NIEMCY", nullptr), "DE");
  EXPECT_STREQ(kod_kraju(" ", "PL"), "PL");
  Keys("{ENTER}");
  EXPECT_STREQ(kod_kraju("ATLANTYDA", "XX"), "XX");
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

// The month's last day follows the calendar: February has 29 days in 2024.
TEST_F(JpkTest, PeriodDialogMonthEnds) {
  const std::pair<int, const char*> table[] = {{2024, "20240229"}, {2025, "20250228"}};
  for (const auto& [year, last] : table) {
    env->settlementYear = year;
    kontekst_jpk c{};
    c.miesiac = 1;
    set_data_str(year, 1, 1, c.data_od);
    set_data_str(year, 1, 31, c.data_do);
    Keys("2{ENTER}{F2}");
    EXPECT_EQ(dane_eksportu_faktur(&c), 0);
    EXPECT_EQ(c.miesiac, 2);
    EXPECT_EQ(std::string(c.data_od), std::to_string(year) + "0201");
    EXPECT_EQ(std::string(c.data_do), last);
  }
  kontekst_jpk c{};
  Keys("{ESC}");
  EXPECT_EQ(dane_eksportu_faktur(&c), -1);
  // A last day before the first is refused; the dialog stays until mended.
  c.miesiac = 3;
  set_data_str(2025, 3, 10, c.data_od);
  set_data_str(2025, 3, 31, c.data_do);
  Keys("{ENTER}10032025{ENTER}01032025{ENTER}{F9}{ENTER}20032025{ENTER}{F2}");
  seen.clear();
  EXPECT_EQ(dane_eksportu_faktur(&c), 0);
  EXPECT_NE(seen.find("Błąd daty 'DO'."), std::string::npos) << seen;
  EXPECT_EQ(std::string(c.data_do), "20250320");
}

class ExportRegisterTest : public JpkTest {
 protected:
  void SetUp() override {
    JpkTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5DEKL(0), 0);
  }
  int Check(const char* keys) {
    Keys(keys);
    int version = sprawdz_eksport_jpk(KOD_JPK_FA, 2026, 3, 0);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    return version;
  }
};

TEST_F(ExportRegisterTest, VersionsBySentEntries) {
  EXPECT_EQ(Check(""), 0);
  Entry("6570001122", 3, 0, 'T');
  Entry("6570001122", 3, 1, 'T');
  Entry("9990001122", 3, 2, 'N');   // another taxpayer in the same directory
  Entry("6570001122", 4, 0, 'N');   // another month
  EXPECT_EQ(Check("tt"), 2);
  EXPECT_EQ(Check("{ESC}"), -1);
  EXPECT_EQ(Check("t{ESC}"), -1);
  ASSERT_EQ(go_and_lock(Z5DEKL.table, 2), 0);
  f4assign(d4field(Z5DEKL.table, "WYS"), "N");
  ASSERT_EQ(write_and_unlock(Z5DEKL.table), 0);
  EXPECT_EQ(Check("t"), 1);
}

// The walk stops at the first unsent version, whatever follows it: its
// number is taken again, and no question is asked about later ones.
TEST_F(ExportRegisterTest, UnsentVersionEndsTheWalk) {
  Entry("6570001122", 3, 0, 'N');
  Entry("6570001122", 3, 1, 'T');
  Entry("6570001122", 3, 2, 'T');
  EXPECT_EQ(Check(""), 0);
  ASSERT_EQ(go_and_lock(Z5DEKL.table, 1), 0);
  f4assign(d4field(Z5DEKL.table, "WYS"), "T");
  ASSERT_EQ(write_and_unlock(Z5DEKL.table), 0);
  ASSERT_EQ(go_and_lock(Z5DEKL.table, 2), 0);
  f4assign(d4field(Z5DEKL.table, "WYS"), "N");
  ASSERT_EQ(write_and_unlock(Z5DEKL.table), 0);
  EXPECT_EQ(Check("t"), 1) << "one question, for version 0";
}

TEST_F(ExportRegisterTest, EntryAddedThenRewrittenForTheSameVersion) {
  long first = zapisz_eksport_jpk(KOD_JPK_FA, 2026, 3, 0, "JPK_FA_2026-03_00_F.XML", "20260301", "20260331", "C:\\JPK\\");
  EXPECT_EQ(first, 1);
  EXPECT_EQ(FieldText(Z5DEKL.table, "NDE"), "JPK_FA");
  EXPECT_EQ(FieldText(Z5DEKL.table, "NIP"), "6570001122");
  EXPECT_EQ(FieldText(Z5DEKL.table, "NAZ"), "Firma Łódź Sp. z o.o.");
  EXPECT_EQ(FieldText(Z5DEKL.table, "XKA"), "C:\\JPK\\");
  EXPECT_EQ(f4int(d4field(Z5DEKL.table, "CEL")), 1);
  ASSERT_EQ(go_and_lock(Z5DEKL.table, 1), 0);
  f4assign(d4field(Z5DEKL.table, "STA"), "200");
  ASSERT_EQ(write_and_unlock(Z5DEKL.table), 0);
  EXPECT_EQ(Check(""), 0);   // not sent: the same version again
  EXPECT_EQ(zapisz_eksport_jpk(KOD_JPK_FA, 2026, 3, 0, "B.XML", "20260301", "20260331", nullptr), 1);
  EXPECT_EQ(d4reccount(Z5DEKL.table), 1);
  EXPECT_EQ(FieldText(Z5DEKL.table, "XNA"), "B.XML");
  EXPECT_EQ(FieldText(Z5DEKL.table, "STA"), "");
  EXPECT_EQ(usun_wpis_rejestru_eksportu(2), -1);
  EXPECT_EQ(usun_wpis_rejestru_eksportu(0), -1);
  EXPECT_EQ(usun_wpis_rejestru_eksportu(1), 0);
  d4go(Z5DEKL.table, 1);
  EXPECT_TRUE(d4deleted(Z5DEKL.table));
}

TEST_F(JpkTest, CopyWholeOrNothingWithItsBox) {
  std::string source = firm + "A.XML";
  std::ofstream(source) << std::string(10000, 'x');
  ASSERT_EQ(mkdir((dir + "kopia").c_str(), 0775), 0);
  std::string target = dir + "kopia/A.XML";
  EXPECT_EQ(KopiujPlik(EnvFromDiskPath(source).c_str(), EnvFromDiskPath(target).c_str()), 1);
  std::ifstream copied(target, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copied), {}), std::string(10000, 'x'));
  Keys("{ENTER}");
  EXPECT_EQ(KopiujPlik(EnvFromDiskPath(firm + "BRAK.XML").c_str(), EnvFromDiskPath(target).c_str()), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  // A target that cannot be written: the box, and no copy.
  std::string refused = dir + "brak/B.XML";
  Keys("{ENTER}");
  EXPECT_EQ(KopiujPlik(EnvFromDiskPath(source).c_str(), EnvFromDiskPath(refused).c_str()), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_FALSE(std::filesystem::exists(refused));
}

}  // namespace

namespace {

// A firm abroad gets AdresPodmiotu2 with its country's code; one at home
// the full Polish address, Poczta left out on request.
TEST_F(JpkTest, TaxpayerAddressAtHomeAndAbroad) {
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  AppendRecord(Z5KRAJ.table, {{"KKR", "DE"}, {"KRA", "NIEMCY"}});
  d4close(Z5KRAJ.table);
  Z5KRAJ.table = nullptr;
  przelacznik_prefiksow_xml = 1;
  std::string path = firm + "P.XML";
  auto written = [&](int withoutPost) {
    EXPECT_EQ(XmlOpen(EnvFromDiskPath(path).c_str()), 1);
    zapisz_podmiot1_jpk(1, withoutPost);
    EXPECT_EQ(XmlClose(), 0);
    return ReadFile(path);
  };
  std::string home = written(1);
  EXPECT_NE(home.find("\t\t<AdresPodmiotu>\n\t\t\t<etd:KodKraju>PL</etd:KodKraju>\n"), std::string::npos) << home;
  EXPECT_NE(home.find("<etd:Wojewodztwo>ŚWIĘTOKRZYSKIE</etd:Wojewodztwo>"), std::string::npos) << home;
  EXPECT_EQ(home.find("Poczta"), std::string::npos) << home;
  SetFields(Z5PAWL.table, {{"KRA", "Niemcy"}});
  std::string abroad = written(0);
  EXPECT_NE(abroad.find("\t\t<AdresPodmiotu2>\n\t\t\t<etd:KodKraju>DE</etd:KodKraju>\n"), std::string::npos) << abroad;
  EXPECT_EQ(abroad.find("Wojewodztwo"), std::string::npos) << abroad;
}

}  // namespace
