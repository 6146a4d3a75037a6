// The declaration pieces: the address checks, the element writers with the
// prefix switch on and off, the helpers of small elements, and the key and
// version of declaration files in Z5DEKL.
#include <gtest/gtest.h>

#include <string>

#include "db/db_lock.h"
#include "env/paths.h"
#include "interchange/xml_writer.h"
#include "jpk/declaration_pieces.h"
#include "jpk/export_register.h"
#include "tests/jpk/jpk_fixture.h"

namespace {

TEST_F(JpkTest, PolishAndForeignAddressChecks) {
  const struct {
    AdresPolski address;
    int valid;
    const char* missing;
  } cases[] = {
      {{"POLSKA", "mazowieckie", "Radom", "Radom", "1", "Radom", "26-600"}, 1, ""},
      {{"polska ", "mazowieckie", "Radom", "Radom", "1", "Radom", "26-600"}, 1, ""},
      {{"NIEMCY", "mazowieckie", "Radom", "Radom", "1", "Radom", "26-600"}, 0, "kraj"},
      {{"POLSKA", "", "Radom", "Radom", "1", "Radom", "26-600"}, 0, "województwo"},
      {{"POLSKA", "mazowieckie", " ", "", "1", "Radom", "26-600"}, 0, "powiat, gmina"},
      {{"POLSKA", "mazowieckie", "Radom", "Radom", "", "", "26-600"}, 0, "miejscowość, nr domu"},
      {{"POLSKA", "mazowieckie", "Radom", "Radom", "1", "Radom", " 6-600"}, 0, "kod pocztowy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address.kraj);
    seen.clear();
    EXPECT_EQ(sprawdz_adres_polski(c.address, "firmy", 0), c.valid);
    if (c.valid) continue;
    Keys("{F9}{ENTER}");
    EXPECT_EQ(sprawdz_adres_polski(c.address, "firmy", 1), 0);
    EXPECT_NE(seen.find("Błąd adresu firmy."), std::string::npos) << seen;
    EXPECT_NE(seen.find(c.missing), std::string::npos) << seen;
  }
  EXPECT_EQ(sprawdz_adres_zagraniczny("NIEMCY", "Berlin", "firmy", 0), 1);
  EXPECT_EQ(sprawdz_adres_zagraniczny("POLSKA", "Radom", "firmy", 0), 0);
  EXPECT_EQ(sprawdz_adres_zagraniczny(" ", "Radom", "firmy", 0), 0);
  EXPECT_EQ(sprawdz_adres_zagraniczny("NIEMCY", "", "firmy", 0), 0);
}

TEST_F(JpkTest, SmallElementHelpers) {
  EXPECT_STREQ(p1("2026031"), "2026");
  EXPECT_STREQ(p2("2026031"), "0");
  EXPECT_STREQ(p3("2026031"), "3");
  EXPECT_STREQ(p3("2026"), "");
  EXPECT_STREQ(tylko_cyfry("PL 526-000-12-34"), "5260001234");
  EXPECT_STREQ(tylko_cyfry("12-3"), "0000000123");
  EXPECT_STREQ(tylko_cyfry("48 123 456 789 012"), "3456789012");
  EXPECT_STREQ(tylko_cyfry("brak"), "");
}

TEST_F(JpkTest, PrefixesFollowTheSwitch) {
  EXPECT_STREQ(prefiks_vzd("Kwota"), "Kwota");
  EXPECT_STREQ(prefiks_zb36_wg_liczby(5, "P"), "P");
  przelacznik_prefiksow_xml = 1;
  EXPECT_STREQ(prefiks_vzd("Kwota"), "vzd:Kwota");
  EXPECT_STREQ(prefiks_dto("A"), "dto:A");
  EXPECT_STREQ(prefiks_tns("Deklaracja"), "tns:Deklaracja");
  EXPECT_STREQ(prefiks_zb36_wg_liczby(17, "P"), "zb36l:P");
  EXPECT_STREQ(prefiks_zb36_wg_liczby(18, "P"), "zb36x:P");
  EXPECT_STREQ(prefiks_zo36lx(1, "P"), "zo36lx:P");
  EXPECT_STREQ(prefiks_zo36lx(0, "P"), "zo3x:P");
  EXPECT_STREQ(prefiks_zg36l(0, "P"), "zg36:P");
}

TEST_F(JpkTest, TaxpayerWithAddressWithAndWithoutPrefixes) {
  SetFields(Z5PAWL.table, {{"REG", "123456789"}, {"NA2", "Oddział"}});
  std::string path = firm + "D.XML";
  auto written = [&](int prefix) {
    EXPECT_EQ(XmlOpen(EnvFromDiskPath(path).c_str()), 1);
    EXPECT_EQ(zapisz_podatnika_z_adresem(1, "RAD", prefix), 1);
    EXPECT_EQ(XmlClose(), 0);
    return ReadFile(path);
  };
  std::string plain = written(0);
  EXPECT_NE(plain.find("\t<OsobaNiefizyczna>\n\t\t<NIP>6570001122</NIP>\n\t\t<PelnaNazwa>Firma Łódź Sp. z o.o. "
                       "Oddział</PelnaNazwa>\n\t\t<REGON>123456789</REGON>\n\t</OsobaNiefizyczna>\n"
                       "\t<AdresZamieszkaniaSiedziby rodzajAdresu=\"RAD\">\n\t\t<AdresPol>\n"
                       "\t\t\t<KodKraju>PL</KodKraju>\n\t\t\t<Wojewodztwo>ŚWIĘTOKRZYSKIE</Wojewodztwo>\n"),
            std::string::npos)
      << plain;
  EXPECT_NE(plain.find("<Poczta>KIELCE</Poczta>\n\t\t</AdresPol>\n\t</AdresZamieszkaniaSiedziby>"),
            std::string::npos)
      << plain;
  przelacznik_prefiksow_xml = 1;
  std::string prefixed = written(1);
  EXPECT_NE(prefixed.find("<etd:OsobaNiefizyczna>\n\t\t<etd:NIP>6570001122</etd:NIP>"), std::string::npos)
      << prefixed;
  EXPECT_NE(prefixed.find("<etd:AdresPol>\n\t\t\t<etd:KodKraju>PL</etd:KodKraju>"), std::string::npos) << prefixed;
  // A firm without its commune: the box, and nothing written.
  SetFields(Z5PAWL.table, {{"GMI", ""}});
  Keys("{ENTER}");
  EXPECT_EQ(XmlOpen(EnvFromDiskPath(path).c_str()), 1);
  EXPECT_EQ(zapisz_podatnika_z_adresem(1, "RAD", 1), 0);
  EXPECT_EQ(XmlClose(), 0);
  EXPECT_EQ(ReadFile(path).find("Osoba"), std::string::npos);
}

TEST_F(JpkTest, NaturalPersonIdentifierByLength) {
  SetFields(Z5PAWL.table, {{"IM1F", "Jan"}, {"NAZF", "Nowak"}, {"DATF", "19800102"}, {"NRPF", "80010212345"}});
  std::string path = firm + "O.XML";
  auto written = [&](const char* id) {
    EXPECT_EQ(XmlOpen(EnvFromDiskPath(path).c_str()), 1);
    zapisz_osobe_fizyczna(1, d4field(Z5PAWL.table, "NIP"), d4field(Z5PAWL.table, "NRPF"), id,
                          d4field(Z5PAWL.table, "IM1F"), d4field(Z5PAWL.table, "NAZF"), d4field(Z5PAWL.table, "DATF"),
                          1);
    EXPECT_EQ(XmlClose(), 0);
    return ReadFile(path);
  };
  std::string off = written("6570001122");
  EXPECT_NE(off.find("<NIP>6570001122</NIP>\n\t\t<PESEL>80010212345</PESEL>"), std::string::npos) << off;
  przelacznik_prefiksow_xml = 1;
  std::string nip = written("6570001122");
  EXPECT_NE(nip.find("<etd:NIP>6570001122</etd:NIP>\n\t\t<etd:ImiePierwsze>JAN</etd:ImiePierwsze>"),
            std::string::npos)
      << nip;
  EXPECT_EQ(nip.find("PESEL"), std::string::npos) << nip;
  std::string pesel = written("");
  EXPECT_NE(pesel.find("<etd:PESEL>80010212345</etd:PESEL>"), std::string::npos) << pesel;
  EXPECT_NE(pesel.find("<etd:DataUrodzenia>1980-01-02</etd:DataUrodzenia>"), std::string::npos) << pesel;
}

class DeclarationFilesTest : public JpkTest {
 protected:
  void SetUp() override {
    JpkTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5DEKL(0), 0);
  }
  void Declaration(int month, int version, char sent, const char* reference) {
    AppendRecord(Z5DEKL.table, {{"KDE", "10"}, {"ROK", "2026"}, {"OKR", std::to_string(month)},
                                {"NRK", std::to_string(version)}, {"NIP", "6570001122"},
                                {"WYS", std::string(1, sent)}, {"NRF", reference}});
  }
};

TEST_F(DeclarationFilesTest, KeyVersionAndReference) {
  EXPECT_STREQ(klucz_deklaracji(10, 2026, 3, 1, nullptr), "6570001122  102026 3 1");
  EXPECT_STREQ(klucz_deklaracji(3, 2026, 0, 0, "111-111-11-11"), "6570001122 1111111111   32026 0");
  Keys("");
  EXPECT_EQ(sprawdz_eksport_deklaracji(10, 2026, 3), 0);
  Declaration(3, 0, 'T', "REF-0");
  Declaration(3, 1, 'N', "");
  Declaration(4, 0, 'T', "REF-APRIL");
  Keys("{F9}t");
  EXPECT_EQ(sprawdz_eksport_deklaracji(10, 2026, 3), 1);
  EXPECT_NE(seen.find("Deklaracja wysłana do M.F."), std::string::npos) << seen;
  Keys("{ESC}");
  EXPECT_EQ(sprawdz_eksport_deklaracji(10, 2026, 3), -1);
  EXPECT_STREQ(numer_referencyjny_deklaracji(10, 2026, 3), "REF-0");
  EXPECT_STREQ(numer_referencyjny_deklaracji(10, 2026, 5), "");
  d4go(Z5DEKL.table, 3);
  EXPECT_EQ(czy_wpis_deklaracji(10, 2026, 4, "657-000-11-22", nullptr), 1);
  EXPECT_EQ(czy_wpis_deklaracji(10, 2026, 3, "657-000-11-22", nullptr), 0);
  EXPECT_EQ(czy_wpis_deklaracji(10, 2026, 4, "999-000-11-22", nullptr), 0);
}

TEST_F(DeclarationFilesTest, WritersAddThenRewriteWithTheKindName) {
  EXPECT_EQ(zapisz_deklaracje_cel(10, 2026, 3, 2, 1, "VAT7.XML", "20260301", "20260331"), 1);
  EXPECT_EQ(FieldText(Z5DEKL.table, "NDE"), "VAT-7");
  EXPECT_EQ(f4int(d4field(Z5DEKL.table, "CEL")), 2);
  EXPECT_EQ(f4int(d4field(Z5DEKL.table, "NRK")), 1);
  EXPECT_EQ(zapisz_deklaracje(10, 2026, 3, 1, "VAT7B.XML", "20260301", "20260331"), 1);
  EXPECT_EQ(d4reccount(Z5DEKL.table), 1);
  EXPECT_EQ(FieldText(Z5DEKL.table, "XNA"), "VAT7B.XML");
}

}  // namespace
