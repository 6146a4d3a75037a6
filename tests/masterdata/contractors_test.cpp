// The contractors catalogue: the bulk NIP check over the filtered list, the
// browse keys that toggle marks and verify a NIP, the defaults of a new
// contractor and the checks of its form.
#include "masterdata/contractors.h"

#include <gtest/gtest.h>

#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_index.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/tax_number_checks.h"
#include "tables/warehouse_tables.h"
#include "tests/masterdata/lookup_fixture.h"

namespace {

class ContractorsTest : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(env->operatorName, "ADMIN");
    env->operatorNumber = 1;
    env->confirmSave = 'N';
    mainOptions.onlineNipCheck = 'T';
    ASSERT_EQ(OpenZ5KHNT(0), 0);
  }
  void TearDown() override {
    mainOptions.onlineNipCheck = 'T';
    LookupTest::TearDown();
  }
  void Add(const char* code, const char* name, const char* nip, const char* czv) {
    Append(Z5KHNT, {{KHNT_KOD, code}, {KHNT_NA1, name}, {KHNT_NIP, nip}, {KHNT_CZV, czv}, {KHNT_STA, "A"},
                    {KHNT_TYP, "2"}});
  }
  // The field of the contractor with this code.
  std::string Of(const char* code, int field) {
    d4tag_select(Z5KHNT.table, Z5KHNT.tag[KHNT_BY_CODE]);
    if (d4seek(Z5KHNT.table, code) != 0) return "<none>";
    return Trim(Khnt(field));
  }
  // The catalogue run with the keys, which must all be used; Esc leaves it.
  void Run(const std::string& keys) {
    ASSERT_EQ(HeadlessSetScript((keys + "{ESC}").c_str()), 0);
    try {
      EXPECT_EQ(kartoteka_kontrahentow(), 0);
    } catch (const ScriptEnded&) {
      TakeShot(0, 0);
      ADD_FAILURE() << "the keys ran out; the screens taken, the last when they did:\n" << seen;
    }
    EXPECT_EQ(HeadlessKeysLeft(), 0);
  }
};

TEST_F(ContractorsTest, BulkCheckSetsTheMarksByTheAnswers) {
  Add("K1", "AKTYWNY", "1234563218", "N");
  Add("K2", "BLEDNY", "123", "T");
  Add("K3", "NIEAKTYWNY", "5260250274", " ");
  Add("K4", "NIEOSIAGALNY", "7740001454", "T");
  Add("K5", "OSOBA", "90010100009", "T");
  Add("K6", "ZWOLNIONY", "5252248481", "N");
  Answer("VAT_CzynnySprawdz", "1234563218", 1);
  Answer("VAT_CzynnySprawdz", "5260250274", 0);
  Answer("VAT_CzynnySprawdz", "7740001454").fails = 1;
  Answer("VAT_CzynnySprawdz", "5252248481", 2);
  // Alt+F8, F2 accepts the filters; the unreachable register is reported by
  // the lookup layer (a key) and the run goes on after the question (a key);
  // the end waits for a key; the filters are not reset.
  Run("{ALT+F8}{F2}x{F9}t{F9}x{F9}");
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "Czy kontynuować ?")) << shots;
  EXPECT_TRUE(Has(shots, "RAZEM sprawdzone:                6 z 6")) << shots;
  EXPECT_TRUE(Has(shots, "AKTYWNY:                         1")) << shots;
  EXPECT_TRUE(Has(shots, "  podatnik VAT Nie->Tak          1")) << shots;
  EXPECT_TRUE(Has(shots, "NIEAKTYWNY:                      2")) << shots;
  EXPECT_TRUE(Has(shots, "BŁĘDNY lub nie NIP:              2")) << shots;
  EXPECT_TRUE(Has(shots, "  podatnik VAT Tak->Nie          3")) << shots;
  EXPECT_EQ(Of("K1", KHNT_CZV), "T");
  EXPECT_EQ(Of("K2", KHNT_CZV), "N");
  EXPECT_EQ(Of("K3", KHNT_CZV), "N");
  EXPECT_EQ(Of("K4", KHNT_CZV), "T");   // not reached: unchanged
  EXPECT_EQ(Of("K5", KHNT_CZV), "N");
  EXPECT_EQ(Of("K6", KHNT_CZV), "N");
}

TEST_F(ContractorsTest, BulkCheckStops) {
  struct Case {
    const char* keys;
    bool secondUnreachable;
    const char* marks;   // CZV of K1 to K4 afterwards
  } cases[] = {
      // Esc to "Czy kontynuować ?" at K2 stops there; the end still waits for a key
      {"{ALT+F8}{F2}x{ESC}x", true, "TNNN"},
      // the filters window left without accepting: nothing checked
      {"{ALT+F8}{ESC}", false, "NNNN"},
  };
  Add("K1", "A1", "1234563218", "N");
  Add("K2", "A2", "5260250274", "N");
  Add("K3", "A3", "7740001454", "N");
  Add("K4", "A4", "5252248481", "N");
  for (const char* nip : {"1234563218", "5260250274", "7740001454", "5252248481"})
    Answer("VAT_CzynnySprawdz", nip, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    Answer("VAT_CzynnySprawdz", "5260250274", 1).fails = c.secondUnreachable;
    Run(c.keys);
    std::string marks;
    for (const char* code : {"K1", "K2", "K3", "K4"}) {
      marks += Of(code, KHNT_CZV);
      f4assign(Khnt(KHNT_CZV), "N");
      ASSERT_EQ(d4write(Z5KHNT.table, d4recno(Z5KHNT.table)), 0);
    }
    EXPECT_EQ(marks, c.marks);
  }
}

TEST_F(ContractorsTest, BrowseKeysToggleMarksAndVerifyTheNip) {
  Add("K1", "A1", "1234563218", "T");
  struct Case {
    char online;
    bool fails;         // the register is not reached
    int status;         // the Polish list's answer
    const char* keys;
    int field;
    const char* value;  // of K1's field afterwards
    const char* shown;  // in a screen taken; empty: no box at all
  } cases[] = {
      {'T', false, 0, "{F3}", KHNT_ZNA, "*", ""},
      {'T', false, 0, "{F3}", KHNT_ZNA, "", ""},
      {'T', false, 0, "{F6}", KHNT_ZND, "*", ""},
      {'T', false, 0, "{F7}", KHNT_STA, "N", ""},
      {'T', false, 0, "{F7}", KHNT_STA, "A", ""},
      // not reached: the lookup layer reports it, the mark stays
      {'T', true, 0, "{F8}x", KHNT_CZV, "T", ""},
      {'T', false, 0, "{F8}x{F9}x", KHNT_CZV, "N", "Zmieniono status 'czy podatnik VAT?' na NIE"},
      {'T', false, 0, "{F8}x", KHNT_CZV, "N", ""},   // no change, no message
      {'T', false, 1, "{F8}x{F9}x", KHNT_CZV, "T", "Zmieniono status 'czy podatnik VAT?' na TAK"},
      {'N', true, 0, "{F8}{F9}x", KHNT_CZV, "N", "Zmieniono status 'czy podatnik VAT?' na NIE"},
      {'N', true, 0, "{F8}{F9}x", KHNT_CZV, "T", "na TAK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    mainOptions.onlineNipCheck = c.online;
    KwerDoubleAnswer& a = Answer("VAT_CzynnySprawdz", "1234563218", c.status);
    a.fails = c.fails;
    Run(c.keys);
    EXPECT_EQ(Of("K1", c.field), c.value);
    std::string shots = Shots();
    if (*c.shown) {
      EXPECT_TRUE(Has(shots, c.shown)) << shots;
    }
  }
}

TEST_F(ContractorsTest, PeselVerifiedByF8IsNotAVatPayer) {
  Add("K1", "A1", "90010100009", "T");
  Run("{F8}{F9}x{F9}x");
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "To jest numer PESEL.")) << shots;
  EXPECT_TRUE(Has(shots, "na NIE")) << shots;
  EXPECT_EQ(Of("K1", KHNT_CZV), "N");
}

// The keys that append a contractor and take its form to the NIP field.
std::string ToNip(const char* code) { return std::string("d{ENTER}{ENTER}") + code + "{ENTER}"; }

TEST_F(ContractorsTest, NewContractorDefaultsAndFormChecks) {
  Add("K1", "A1", "", "T");
  // the NIP warning lets the value stand; 'b' in TYC stores 'B'
  std::string enters;
  for (int i = 0; i < 13; i++) enters += "{ENTER}";
  Run(ToNip("K9") + "1234563219{ENTER}{F9}xNOWY{ENTER}" + enters + "b{F2}");
  EXPECT_TRUE(Has(Shots(), "Błędny NIP lub PESEL !"));
  EXPECT_EQ(Of("K9", KHNT_NA1), "NOWY");
  EXPECT_EQ(Of("K9", KHNT_NIP), "1234563219");
  EXPECT_EQ(Of("K9", KHNT_TYP), "2");
  EXPECT_EQ(Of("K9", KHNT_STA), "A");
  EXPECT_EQ(Of("K9", KHNT_CZV), "T");
  EXPECT_EQ(Of("K9", KHNT_TKO), "1");
  EXPECT_EQ(Of("K9", KHNT_TYC), "B");
  EXPECT_NE(Of("K9", KHNT_INF), "");   // stamped

  // a code that exists is refused; a PESEL passes without a warning
  Run("{INS}{ENTER}{ENTER}k1{ENTER}{F9}xK8{ENTER}90010100009{ENTER}{F2}");
  EXPECT_TRUE(Has(Shots(), "Podany kod już istnieje!"));
  EXPECT_EQ(Of("K8", KHNT_NIP), "90010100009");
  EXPECT_EQ(Of("K8", KHNT_TYC), "A");
}

TEST_F(ContractorsTest, F8InTheFormLeavesTheMarkWhenNoRegisterIsReached) {
  struct Case {
    const char* code;
    bool fails;
    const char* czv;
  } cases[] = {
      {"K2", false, "N"},   // "not registered" (the box takes a key)
      {"K1", true, "T"},    // the lookup layer reports it (a key)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Answer("VAT_CzynnySprawdz", "1234563218", 0).fails = c.fails;
    Run(ToNip(c.code) + "1234563218{F8}x{F2}");
    EXPECT_EQ(Of(c.code, KHNT_CZV), c.czv);
    EXPECT_EQ(Of(c.code, KHNT_NIP), "1234563218");
  }
}

// A document's missing buyer: the form starts with the document's data, and
// the code saved goes back into the document on yes.
TEST_F(ContractorsTest, NewContractorFromADocument) {
  constexpr int MAPR_KOO = 5, MAPR_NA1 = 6, MAPR_NIP = 11, MAPR_WYS = 16;
  ASSERT_EQ(OpenZ5MAPR(0), 0);
  Append(Z5MAPR, {{MAPR_KOO, "DOK"}, {MAPR_NA1, "FIRMA Z DOKUMENTU"}, {MAPR_NIP, "1234563219"}, {MAPR_WYS, "JAN"}});
  PolaSchowkaAdresu saved = pola_schowka_adresu;
  pola_schowka_adresu = PolaSchowkaAdresu{};
  pola_schowka_adresu.code = Z5MAPR.field[MAPR_KOO];
  pola_schowka_adresu.name1 = Z5MAPR.field[MAPR_NA1];
  pola_schowka_adresu.nip = Z5MAPR.field[MAPR_NIP];
  pola_schowka_adresu.person = Z5MAPR.field[MAPR_WYS];
  struct Case {
    const char* answer;
    const char* document;   // the document's code afterwards
  } cases[] = {{"t", "DOK1"}, {"{ESC}", "DOK"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    f4assign(Z5MAPR.field[MAPR_KOO], "DOK");
    kontrahent_z_dokumentu = 1;
    typ_kontrahenta_z_dokumentu = 1;
    // the type list, the VAT-payer mark, then the code made longer
    Run(std::string("d{ENTER}{ENTER}{END}1{F2}") + c.answer);
    EXPECT_EQ(kontrahent_z_dokumentu, 0);
    EXPECT_EQ(Trim(Z5MAPR.field[MAPR_KOO]), c.document);
    EXPECT_EQ(Of("DOK1", KHNT_NA1), "FIRMA Z DOKUMENTU");
    EXPECT_EQ(Of("DOK1", KHNT_CZV), "N");   // the NIP fails its checksum
    EXPECT_EQ(Of("DOK1", KHNT_TYP), "1");
    EXPECT_EQ(Of("DOK1", KHNT_OSO), "JAN");
    ASSERT_EQ(d4seek(Z5KHNT.table, "DOK1"), 0);
    f4assign(Khnt(KHNT_KOD), "STARY");   // the next case adds "DOK1" again
    ASSERT_EQ(d4write(Z5KHNT.table, d4recno(Z5KHNT.table)), 0);
  }
  pola_schowka_adresu = saved;
}

TEST_F(ContractorsTest, SearchByNameAndCode) {
  Add("K3", "CEZAR", "", "T");
  Add("K1", "ADAM", "", "T");
  Add("K2", "BOLEK", "", "T");
  // " Szukaj " > " Nazwa " (n), " Kod nazwy " (k); each shot shows the current record in the panel
  Run("sn{F9}bol{ENTER}{F9}k{F9}k3{ENTER}{F9}nzzz{ENTER}{F9}{ESC}");
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "Szukaj nazwy - ")) << shots;
  EXPECT_TRUE(Has(shots, "Szukaj kodu nazwy - ")) << shots;
  EXPECT_TRUE(Has(shots, "nazwa.. BOLEK")) << shots;
  EXPECT_TRUE(Has(shots, "nazwa.. CEZAR")) << shots;
  // a key after the last record leaves the list where it stood
  EXPECT_EQ(shots.rfind("nazwa.. CEZAR"), shots.rfind("nazwa.. ")) << shots;
}

TEST_F(ContractorsTest, ProcedureMarksByWorkingYear) {
  Add("K1", "A1", "", "T");
  struct Case {
    int year;
    const char* last;     // the last procedure listed
    const char* absent;   // not listed
  } cases[] = {{2021, "13. MPP", "WSTO_EE"}, {2022, "B_MPV_PRO", "MPP"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    env->settlementYear = c.year;
    // Alt+M, then down to the GTU summary and up to the procedures, F4; Down and Space set the second mark
    std::string downs;
    for (int i = 0; i < 30; i++) downs += "{DOWN}";
    Run("{ALT+M}{ENTER}" + downs + "{UP}{F4}{DOWN} {F9}{ESC}{F2}");
    std::string shots = Shots();
    EXPECT_TRUE(Has(shots, c.last)) << shots;
    EXPECT_FALSE(Has(shots, c.absent)) << shots;
    Of("K1", KHNT_RE1);
    EXPECT_EQ(Text(Khnt(KHNT_RE1)).substr(0, 2), " T");   // after Of(): the second mark set, the first as it was
    d4tag_select(Z5KHNT.table, Z5KHNT.tag[KHNT_BY_CODE]);
    ASSERT_EQ(d4seek(Z5KHNT.table, "K1"), 0);
    f4assign(Khnt(KHNT_RE1), "");
    ASSERT_EQ(d4write(Z5KHNT.table, d4recno(Z5KHNT.table)), 0);
  }
}

TEST_F(ContractorsTest, VatPayerMarkSetFromTheTypedNumber) {
  struct Case {
    char checks;        // main options 31 and 32
    const char* text;
    const char* czv;    // 'X': as it was
    bool warned;
  } cases[] = {
      {'T', "1234", "N", false},
      {'T', "1234563218", "T", false},
      {'T', "PL1234563218", "T", false},
      {'T', "90010100009", "N", false},
      {'T', "1234563219", "X", true},
      {'T', "DE123456789", "X", false},   // another country's number is left alone
      {'N', "1234563219", "T", false},    // the checks switched off take it as valid
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    optionNipCheck = optionPeselCheck = c.checks;
    f4assign(Khnt(KHNT_CZV), "X");
    char buffer[21];
    std::snprintf(buffer, sizeof buffer, "%-20s", c.text);
    Get4 get{};
    get.data = buffer;
    get.dataWidth = 20;
    ASSERT_EQ(HeadlessSetScript(c.warned ? "{F9}x" : ""), 0);
    EXPECT_EQ(ustaw_czv_wg_nip(&get), 0);
    EXPECT_EQ(Text(Khnt(KHNT_CZV)), c.czv);
    EXPECT_EQ(Has(Shots(), "Błędny NIP lub PESEL !"), c.warned);
  }
  optionNipCheck = optionPeselCheck = 'N';
}

// F6 in the NIP field of a new contractor: the GUS data at once, then the
// verification as F8 gives it; a list not reached leaves the mark.
TEST_F(ContractorsTest, GusDataIntoANewContractor) {
  struct Case {
    const char* code;
    int status;   // the Polish list's answer
    bool fails;   // the list is not reached (the lookup layer reports it)
    const char* czv;
  } cases[] = {
      {"K7", 1, false, "T"},
      {"K8", 0, false, "N"},
      {"K9", 0, true, "T"},   // the new record's own mark
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    KwerDoubleAnswer& gus = Answer("BIR1_SzukajNip", "1234563218", 1);
    Put(gus, 314, "ŻURAW SPÓŁKA Z O.O.");
    Put(gus, 2528, "Kraków");
    Put(gus, 2612, "Kraków");
    Put(gus, 2380, "ul. Długa");
    Put(gus, 2496, "5");
    Answer("VAT_CzynnySprawdz", "1234563218", c.status).fails = c.fails;
    Run(ToNip(c.code) + "PL 1234563218{F6}x{F2}");
    EXPECT_EQ(MazToUtf8Text(Of(c.code, KHNT_NA1).c_str()), "ŻURAW SPÓŁKA Z O.O.");
    EXPECT_EQ(MazToUtf8Text(Of(c.code, KHNT_MIA).c_str()), "Kraków");
    EXPECT_EQ(MazToUtf8Text(Of(c.code, KHNT_ULI).c_str()), "Długa 5");
    EXPECT_EQ(Of(c.code, KHNT_CZV), c.czv);
    EXPECT_STREQ(kwer_double_script.lastNumber, "1234563218");
  }
}

// "podatnik VAT." takes a blank mark for a VAT payer.
TEST_F(ContractorsTest, VatPayerFilter) {
  Add("K1", "PLATNIK", "", "T");
  Add("K2", "PUSTY", "", " ");
  Add("K3", "ZWOLNIONY", "", "N");
  struct Case {
    const char* answer;
    const char* shown;
    const char* hidden;
  } cases[] = {{"T", "PUSTY", "ZWOLNIONY"}, {"N", "ZWOLNIONY", "PUSTY"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Run(std::string("f{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}") + c.answer + "{F2}{F9}");
    std::string shots = Shots();
    std::string list = shots.substr(0, shots.find("nazwa.."));
    EXPECT_TRUE(Has(list, c.shown)) << shots;
    EXPECT_FALSE(Has(list, c.hidden)) << shots;
  }
}

// F2 shows the record's form and waits for a key; nothing is written.
TEST_F(ContractorsTest, F2ShowsTheFormOnly) {
  Add("K1", "PODGLAD", "1234563218", "T");
  Run("{F2}{F9}x");
  std::string shots = Shots();
  EXPECT_TRUE(Has(shots, "typ....NABYWCA")) << shots;
  EXPECT_TRUE(Has(shots, "NIP.............. 1234563218")) << shots;
  EXPECT_TRUE(Has(shots, "procedury: NIE")) << shots;
  EXPECT_EQ(Of("K1", KHNT_INF), "");
}

// The cost column menu opens on the stored column: Enter keeps it.
TEST_F(ContractorsTest, CostColumnMenuStartsOnTheStoredColumn) {
  Append(Z5KHNT, {{KHNT_KOD, "K1"}, {KHNT_NA1, "A1"}, {KHNT_STA, "A"}, {KHNT_TYP, "2"}, {KHNT_TKO, "5"},
                  {KHNT_CZV, "T"}});
  // Enter through the form: the lists on the way keep their entries
  std::string enters;
  for (int i = 0; i < 24; i++) enters += "{ENTER}";
  Run("{ALT+M}" + enters + "{F2}");
  EXPECT_EQ(Of("K1", KHNT_TKO), "5");
}

}  // namespace
