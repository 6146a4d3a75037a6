// The tax-number checks: the classification, the answers of the Polish list
// and of VIES, and the GUS data copied into the contractor's fields.
#include "masterdata/tax_number_checks.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/masterdata/lookup_fixture.h"
#include "ui/browse.h"

extern "C" KwerDoubleScript kwer_double_script;
KwerDoubleScript kwer_double_script;

namespace {

constexpr int VAT_END = 1029, VAT_SUSPENDED = 1056;
constexpr int VIES_NAME = 4, VIES_ADDRESS = 245;
constexpr int GUS_NAME = 314, GUS_STREET = 2380, GUS_HOUSE = 2496, GUS_FLAT = 2517, GUS_TOWN = 2528,
              GUS_POSTAL = 2564, GUS_POST_OFFICE = 2612, GUS_PHONE = 3130, GUS_EMAIL = 3172;

using TaxNumberTest = LookupTest;

TEST_F(TaxNumberTest, ClassificationDecidesWhichRegisterIsAsked) {
  kwer_double_script.vatStatus = 1;
  kwer_double_script.viesStatus = 1;
  struct Case {
    const char* text;
    int silent;
    const char* keys;
    int result;
    const char* asked;   // the number the double saw; empty: no register asked
    const char* shown;   // a text of the box; empty: no box
  } cases[] = {
      {"90010100009", 0, "{F9}x", NIP_IS_PESEL, "", "To jest numer PESEL."},
      {"90010100009", 1, "", NIP_IS_PESEL, "", ""},
      {"PL 1234563218", 1, "", NIP_ACTIVE, "1234563218", ""},
      {"123-456-32-18", 1, "", NIP_ACTIVE, "1234563218", ""},
      {"DE123456789", 1, "", NIP_VIES_FOUND, "DE123456789", ""},
      {"US123456789", 0, "{F9}x", NIP_UNUSABLE, "", "US123456789 - to nie jest NIP PL lub UE !"},
      {"XX123456789", 1, "", NIP_UNUSABLE, "", ""},
      {"XX123456789", 0, "{F9}x", NIP_UNUSABLE, "", "XX123456789 - to nie jest NIP PL lub UE !"},
      {"1234563219", 0, "{F9}x", NIP_UNUSABLE, "", "Błędny NIP !"},
      {"12345", 0, "{F9}x", NIP_UNUSABLE, "", "Błędny NIP !"},
      {"", 0, "", NIP_UNUSABLE, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.silent ? " silent" : ""));
    kwer_double_script.lastNumber[0] = '\0';
    ASSERT_EQ(HeadlessSetScript(c.keys), 0);
    EXPECT_EQ(sprawdz_nip_kontrahenta(c.text, c.silent), c.result);
    EXPECT_EQ(HeadlessKeysLeft(), 0);
    EXPECT_STREQ(kwer_double_script.lastNumber, c.asked);
    std::string shots = Shots();
    if (*c.shown) {
      EXPECT_TRUE(Has(shots, c.shown)) << shots;
    } else {
      EXPECT_EQ(shots, "");
    }
  }
}

TEST_F(TaxNumberTest, EmptyCountriesTableMakesEveryForeignNumberUnusable) {
  ASSERT_EQ(OpenZ5KRAJ(0), 0);
  for (long r = 1; r <= d4reccount(Z5KRAJ.table); r++) {
    d4go(Z5KRAJ.table, r);
    d4delete(Z5KRAJ.table);
  }
  d4pack(Z5KRAJ.table);
  d4close(Z5KRAJ.table);
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_kontrahenta("DE123456789", 0), NIP_UNUSABLE);
  EXPECT_TRUE(Has(Shots(), "Pusta kartoteka krajów Z5KRAJ.DBF"));
}

TEST_F(TaxNumberTest, PolishListStatusesAndTheirBoxes) {
  struct Case {
    int status;
    int result;
    const char* title;
    const char* line;
  } cases[] = {
      {0, NIP_NOT_FOUND, "UWAGA", "NIP: 1234563218 nie jest zarejestrowany"},
      {1, NIP_ACTIVE, "INFORMACJA", "jako podatnik VAT czynny."},
      {2, NIP_EXEMPT, "UWAGA", "jako podatnik VAT zwolniony."},
      {3, NIP_REMOVED, "UWAGA", "NIP: 1234563218 nie jest zarejestrowany"},
      {-1, NIP_LIST_UNEXPECTED, "BŁĄD", "Nieoczekiwany wynik szukania NIP 1234563218"},
      {7, NIP_LIST_UNEXPECTED, "BŁĄD", "Nieoczekiwany wynik szukania NIP 1234563218"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    Answer("VAT_CzynnySprawdz", "1234563218", c.status);
    ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
    EXPECT_EQ(sprawdz_nip_vat_czynny("1234563218", 0), c.result);
    std::string shots = Shots();
    EXPECT_TRUE(Has(shots, c.title)) << shots;
    EXPECT_TRUE(Has(shots, c.line)) << shots;
    EXPECT_TRUE(Has(shots, "w rejestrze czynnych podatników VAT")) << shots;
    EXPECT_TRUE(Has(shots, "Ministerstwa Finansów")) << shots;
    // the wait window was up behind the box and is gone
    EXPECT_TRUE(Has(shots, "czynnych podatników VAT.")) << shots;
    EXPECT_EQ(Row(13).find("czynnych"), std::string::npos);
    // silent: the same result and nothing shown
    ASSERT_EQ(HeadlessSetScript(""), 0);
    EXPECT_EQ(sprawdz_nip_vat_czynny("1234563218", 1), c.result);
  }
}

TEST_F(TaxNumberTest, RemovedPayerShowsItsDatesOrBlankLines) {
  KwerDoubleAnswer& a = Answer("VAT_CzynnySprawdz", "1234563218", 3);
  Put(a, VAT_END, "2023-05-31");
  Put(a, VAT_SUSPENDED, "2022-01-15");
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_vat_czynny("1234563218", 0), NIP_REMOVED);
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "Data zakończenia działalności: 2023-05-31")) << shots;
  EXPECT_TRUE(Has(shots, "Data zawieszenia działalności: 2022-01-15")) << shots;

  // a date filling its slot without a NUL ends where the next one begins
  a = Answer("VAT_CzynnySprawdz", "1234563218", 3);
  std::memset(a.record + VAT_END, '9', VAT_SUSPENDED - VAT_END);
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_vat_czynny("1234563218", 0), NIP_REMOVED);
  shots = Shots();
  EXPECT_TRUE(Has(shots, "działalności: " + std::string(27, '9'))) << shots;
  EXPECT_FALSE(Has(shots, std::string(28, '9'))) << shots;
  EXPECT_FALSE(Has(shots, "Data zawieszenia")) << shots;

  Answer("VAT_CzynnySprawdz", "1234563218", 3);
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_vat_czynny("1234563218", 0), NIP_REMOVED);
  shots = Shots();
  EXPECT_FALSE(Has(shots, "Data zako")) << shots;
  EXPECT_FALSE(Has(shots, "Data zawieszenia")) << shots;
}

TEST_F(TaxNumberTest, UnreachableRegistersGiveTheirOwnResults) {
  Answer("VAT_CzynnySprawdz", "1234563218").fails = 1;
  Answer("VIES_Status_NET", "DE123456789").fails = 1;
  // silent, yet the lookup layer reports each failure itself
  ASSERT_EQ(HeadlessSetScript("{F9}x{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_kontrahenta("1234563218", 1), NIP_LIST_UNREACHABLE);
  EXPECT_EQ(sprawdz_nip_kontrahenta("DE123456789", 1), NIP_VIES_UNREACHABLE);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "VAT_CzynnySprawdz")) << shots;
  EXPECT_TRUE(Has(shots, "VIES_Status_NET")) << shots;
}

TEST_F(TaxNumberTest, ViesFoundAndNotFound) {
  KwerDoubleAnswer& found = Answer("VIES_Status_NET", "DE123456789", 1);
  Put(found, VIES_NAME, "Maschinenbau Gesellschaft mit beschränkter Haftung und Kompanie Kommanditgesellschaft Ost");
  Put(found, VIES_ADDRESS, "Hauptstraße 1, 10115 Berlin");
  Answer("VIES_Status_NET", "DE999999999", 0);
  ASSERT_EQ(HeadlessSetScript("{F9}x{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_vies("DE", "123456789", 0), NIP_VIES_FOUND);
  EXPECT_EQ(sprawdz_nip_vies("DE", "999999999", 0), NIP_NOT_FOUND);
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "INFORMACJA")) << shots;
  EXPECT_TRUE(Has(shots, "VIES znalazł NIP: DE 123456789.")) << shots;
  // the name broken at a blank into lines of at most 70 characters
  EXPECT_TRUE(Has(shots, "Nazwa: Maschinenbau Gesellschaft mit beschränkter Haftung und Kompanie ")) << shots;
  EXPECT_TRUE(Has(shots, "Kommanditgesellschaft Ost")) << shots;
  EXPECT_TRUE(Has(shots, "Adres: Hauptstra")) << shots;
  EXPECT_TRUE(Has(shots, "VIES nie znalazł NIP: DE 999999999 !")) << shots;
}

TEST_F(TaxNumberTest, ViesNameWithoutItsNulEndsAtTheAddress) {
  KwerDoubleAnswer& found = Answer("VIES_Status_NET", "DE123456789", 1);
  std::memset(found.record + VIES_NAME, 'N', VIES_ADDRESS - VIES_NAME);
  Put(found, VIES_ADDRESS, "ADRES");
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(sprawdz_nip_vies("DE", "123456789", 0), NIP_VIES_FOUND);
  std::string shots = Shots();
  // 140 characters of the name in two lines, nothing of the address in them
  EXPECT_TRUE(Has(shots, "Nazwa: " + std::string(70, 'N') + " ")) << shots;
  EXPECT_FALSE(Has(shots, std::string(71, 'N'))) << shots;
  EXPECT_FALSE(Has(shots, "NADRES")) << shots;
  EXPECT_TRUE(Has(shots, "Adres: ADRES")) << shots;
}

// ---- the GUS register

constexpr int KOD = 0, NA1 = 1, NA2 = 2, KOP = 3, POC = 4, MIA = 5, ULI = 6, KRA = 7, TEL = 13, EMA = 39;

class GusTest : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KHNT(0), 0);
    d4append_start(Z5KHNT.table, 0);
    d4blank(Z5KHNT.table);
    f4assign(Z5KHNT.field[NA1], "STARA NAZWA");
    f4assign(Z5KHNT.field[MIA], "STARE MIASTO");
    targets = {Z5KHNT.field[NA1], Z5KHNT.field[NA2], Z5KHNT.field[KOP], Z5KHNT.field[MIA], Z5KHNT.field[ULI],
               Z5KHNT.field[POC], Z5KHNT.field[KRA], Z5KHNT.field[TEL], nullptr,          Z5KHNT.field[EMA - 1],
               Z5KHNT.field[EMA]};
  }
  KwerDoubleAnswer& Company(const char* town, const char* postOffice, const char* street, const char* house,
                            const char* flat) {
    KwerDoubleAnswer& a = Answer("BIR1_SzukajNip", "1234563218", 1);
    Put(a, GUS_NAME, "Przedsiębiorstwo Handlowo-Usługowe \"Żuraw\"");
    Put(a, GUS_TOWN, town);
    Put(a, GUS_POST_OFFICE, postOffice);
    Put(a, GUS_STREET, street);
    Put(a, GUS_HOUSE, house);
    Put(a, GUS_FLAT, flat);
    Put(a, GUS_POSTAL, "30-001");
    Put(a, GUS_PHONE, "12 345 67 89");
    Put(a, GUS_EMAIL, "biuro@zuraw.pl");
    return a;
  }
  int Lookup(const char* text) {
    std::snprintf(nip, sizeof nip, "%s", text);
    return szukaj_nip_gus(nip, nullptr, nullptr, &targets);
  }
  std::string F(int field) { return MazToUtf8Text(Trim(Z5KHNT.field[field]).c_str()); }

  GusTargets targets{};
  char nip[21];
};

TEST_F(GusTest, TownAndStreetLine) {
  struct Case {
    const char* town;
    const char* postOffice;
    const char* street;
    const char* house;
    const char* flat;
    const char* mia;
    const char* uli;
  } cases[] = {
      {"Kraków", "KRAKÓW", "ul. Długa", "12", "", "Kraków", "Długa 12"},
      {"Kraków", "Kraków", "ul. Długa", "12", "3a", "Kraków", "Długa 12 lok. 3a"},
      {"Zielonki", "Kraków", "ul. Krakowska", "5", "", "Kraków", "Zielonki ul. Krakowska 5"},
      {"Zielonki", "Kraków", "ul. Krakowska", "5", "7", "Kraków", "Zielonki ul. Krakowska 5 lok. 7"},
      {"Bolechowice", "", "", "15", "", "Bolechowice", "15"},
      {"Kraków", "Kraków",
       "ul. Aleja Generała Władysława Andersa i Jego Żołnierzy z Drugiego Korpusu", "120", "45", "Kraków",
       "Aleja Generała Władysława Andersa i Jego Żołnierzy z Drugiego Ko"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uli);
    Company(c.town, c.postOffice, c.street, c.house, c.flat);
    EXPECT_EQ(Lookup("PL 1234563218"), 0);
    EXPECT_STREQ(nip, "1234563218");
    EXPECT_EQ(F(MIA), c.mia);
    EXPECT_EQ(F(ULI), c.uli);
    EXPECT_LE(F(ULI).size(), 64u + 16u);   // UTF-8 bytes of at most 64 characters
  }
  EXPECT_EQ(F(NA1), "Przedsiębiorstwo Handlowo-Usługowe \"Żuraw\"");
  EXPECT_EQ(F(NA2), "");
  EXPECT_EQ(F(KOP), "30-001");
  EXPECT_EQ(F(TEL), "12 345 67 89");
  EXPECT_EQ(F(EMA), "biuro@zuraw.pl");
}

TEST_F(GusTest, NumbersTheRegisterCannotHelpWith) {
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(Lookup("1234563219"), -1);
  EXPECT_TRUE(Has(Shots(), "Błędny NIP !"));
  EXPECT_EQ(Lookup("DE123456789"), -1);   // not Polish: no box
  EXPECT_EQ(Lookup(""), -1);
  Answer("BIR1_SzukajNip", "1234563218", 0);
  ASSERT_EQ(HeadlessSetScript("{F9}x"), 0);
  EXPECT_EQ(Lookup("1234563218"), -1);
  EXPECT_TRUE(Has(Shots(), "W danych GUS nie znaleziono NIP: 1234563218."));
  Answer("BIR1_SzukajNip", "1234563218").fails = 1;
  ASSERT_EQ(HeadlessSetScript("x"), 0);   // the lookup layer's report
  EXPECT_EQ(Lookup("1234563218"), 0);
  EXPECT_EQ(F(NA1), "STARA NAZWA");
  EXPECT_EQ(F(MIA), "STARE MIASTO");
}

TEST_F(GusTest, ModifiedRecordIsComparedFirst) {
  Company("Kraków", "Kraków", "ul. Długa", "12", "");
  BrowseContext* ctx = nullptr;
  ASSERT_EQ(allocate_browse(&ctx, Z5KHNT.table, nullptr, nullptr, -1), 0);
  ctx->modify_mode = 1;
  ASSERT_EQ(HeadlessSetScript("{F9}{ESC}"), 0);
  EXPECT_EQ(Lookup("1234563218"), 27);
  EXPECT_EQ(F(NA1), "STARA NAZWA");
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "Dane pobrane z GUS")) << shots;
  EXPECT_TRUE(Has(shots, "nazwa KORBEL:")) << shots;
  EXPECT_TRUE(Has(shots, "STARE MIASTO")) << shots;
  EXPECT_TRUE(Has(shots, "[F2]-przepisz")) << shots;
  // the operator corrects the town before F2
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{DOWN}Krakow{F2}"), 0);
  EXPECT_EQ(Lookup("1234563218"), 0);
  EXPECT_EQ(F(NA1), "Przedsiębiorstwo Handlowo-Usługowe \"Żuraw\"");
  EXPECT_EQ(F(MIA), "Krakow");
  EXPECT_EQ(F(ULI), "Długa 12");
  free_browse(&ctx);
}

}  // namespace
