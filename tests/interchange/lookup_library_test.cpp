#include "interchange/lookup_library.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "interchange/registry.h"
#include "kwer_double.h"
#include "tests/interchange/interchange_fixture.h"

extern "C" KwerDoubleScript kwer_double_script;
KwerDoubleScript kwer_double_script;

namespace {

class LookupLibraryTest : public InterchangeTest {
 protected:
  void SetUp() override {
    InterchangeTest::SetUp();
    std::memset(&kwer_double_script, 0, sizeof kwer_double_script);
    Use(KWERLIB_DOUBLE_PATH);
  }
  void TearDown() override {
    Free_Kwer_Module();
    unsetenv("ZELSAL_LIB_KWERLIB4");
    InterchangeTest::TearDown();
  }
  static void Use(const char* path) { setenv("ZELSAL_LIB_KWERLIB4", path, 1); }
  static void Fail(const char* entries) { std::snprintf(kwer_double_script.failing, sizeof kwer_double_script.failing, "%s", entries); }
  static std::string Calls() {
    std::string calls = kwer_double_script.calls;
    kwer_double_script.calls[0] = '\0';
    return calls;
  }
  int Nip() {
    unsigned char result[KWER_BIR1_RESULT_SIZE];
    std::memset(result, 0xEE, sizeof result);
    return Szukaj_BIR1_Nip("5260001246", result);
  }
  int Vies(unsigned char* result) { return Szukaj_VIES("DE", "123456789", result); }
  std::vector<std::string> Critical() const {
    std::vector<std::string> out;
    for (const auto& s : screen->shown)
      if (s.what == "critical") out.push_back(s.text);
    return out;
  }
};

TEST_F(LookupLibraryTest, LoadsAndInitialisesOnceUntilFreed) {
  kwer_double_script.searchFound = 77;
  unsigned char result[KWER_BIR1_RESULT_SIZE];
  std::memset(result, 0xEE, sizeof result);
  EXPECT_NE(Szukaj_BIR1_Nip("5260001246", result), 0);
  EXPECT_EQ(result[0], 77);
  EXPECT_EQ(result[KWER_BIR1_RESULT_SIZE - 1], 0);   // the record was cleared first
  EXPECT_EQ(kwer_double_script.loads, 1);
  EXPECT_EQ(Calls(), "Init,BIR1_Init,VIES_Init,VAT_CzynnyInit,BIR1_ZalogujSid,BIR1_SzukajNip,");
  EXPECT_EQ(std::strlen(kwer_double_script.identifier), 32u);
  EXPECT_EQ(std::strlen(kwer_double_script.serviceKey), 20u);
  EXPECT_STREQ(kwer_double_script.sessionIn, "");    // nothing stored yet
  EXPECT_STREQ(kwer_double_script.lastNumber, "5260001246");

  unsigned char vat[KWER_VAT_RESULT_SIZE];
  kwer_double_script.vatStatus = 3;
  EXPECT_NE(Sprawdz_VAT_Czynny("5260001246", vat), 0);
  EXPECT_EQ(vat[0], 3);
  EXPECT_NE(Szukaj_BIR1_Regon("012345678", result), 0);
  EXPECT_NE(Szukaj_BIR1_Krs("0000012345", result), 0);
  EXPECT_EQ(Calls(), "VAT_CzynnySprawdz,BIR1_ZalogujSid,BIR1_SzukajRegon,BIR1_ZalogujSid,BIR1_SzukajKrs,");
  EXPECT_EQ(kwer_double_script.loads, 1);

  Free_Kwer_Module();
  EXPECT_EQ(Calls(), "DeInit,");
  EXPECT_EQ(kwer_double_script.unloads, 1);
  Free_Kwer_Module();   // nothing loaded: nothing to do
  EXPECT_EQ(Calls(), "");
  EXPECT_NE(Nip(), 0);
  EXPECT_EQ(kwer_double_script.loads, 2);
  EXPECT_EQ(Calls(), "Init,BIR1_Init,VIES_Init,VAT_CzynnyInit,BIR1_ZalogujSid,BIR1_SzukajNip,");
  EXPECT_NE(Log().find("LGM(93): kwer_Init"), std::string::npos);
  EXPECT_NE(Log().find("LGM(94): kwer_DeInit...RET"), std::string::npos);
  EXPECT_TRUE(screen->shown.empty());
}

TEST_F(LookupLibraryTest, SessionIdentifierIsKeptInTheRegistryBetweenRuns) {
  std::snprintf(kwer_double_script.sessionOut, sizeof kwer_double_script.sessionOut, "SID-4711");
  EXPECT_NE(Nip(), 0);
  char stored[31];
  LoadBir1Sid(stored, sizeof stored);
  EXPECT_STREQ(stored, "SID-4711");
  Free_Kwer_Module();
  EXPECT_NE(Nip(), 0);
  EXPECT_STREQ(kwer_double_script.sessionIn, "SID-4711");
}

struct ViesCase {
  int status;
  int result;           // 0 or nonzero
  const char* shown;    // UTF-8; empty: no box
};

TEST_F(LookupLibraryTest, ViesStatusesAndTheirMessages) {
  const ViesCase cases[] = {
      {0, 1, ""},
      {1, 1, ""},
      {-1, 0, "Błędny kod kraju."},
      {-3, 0, "Przerwa techniczna (-3).\nProszę sprawdzić ponownie."},
      {-6, 0, "VAT zablokowany."},
      {-7, 0, "Blokada adresu IP tego komputera."},
      {-11, 0, "Przeciążenie serwera (-11).\nProszę sprawdzić ponownie."},
      {-12, 0, "Nierozpoznany błąd VIES (-12)."},
      {2, 0, "Nierozpoznany błąd VIES (2)."},
  };
  for (const ViesCase& c : cases) {
    SCOPED_TRACE(c.status);
    screen->shown.clear();
    kwer_double_script.viesStatus = c.status;
    unsigned char result[KWER_VIES_RESULT_SIZE];
    std::memset(result, 0xEE, sizeof result);
    EXPECT_EQ(Vies(result) != 0, c.result != 0);
    EXPECT_EQ(result[KWER_VIES_RESULT_SIZE - 1], 0);
    if (*c.shown) {
      ASSERT_EQ(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0], Utf8ToMazText(c.shown));
      EXPECT_EQ(screen->shown[0].kind, SCREEN_BOX_ERROR);
    } else {
      EXPECT_TRUE(Boxes().empty());
    }
  }
  EXPECT_STREQ(kwer_double_script.lastNumber, "DE123456789");
  // The log holds the first line under code 10 (in code page 1250).
  std::string log = Log();
  EXPECT_NE(log.find("ALARM: B\xB3\xEA" "dny kod kraju."), std::string::npos);
  EXPECT_NE(log.find(" Nierozpoznany b\xB3\xB9" "d VIES (2)."), std::string::npos);
}

TEST_F(LookupLibraryTest, FailedSearchReportsNamedErrorsWithABox) {
  Fail("BIR1_SzukajNip,");
  kwer_double_script.errorCode = KWER_NO_SESSION;
  std::snprintf(kwer_double_script.errorText, sizeof kwer_double_script.errorText, "brak sesji");
  EXPECT_EQ(Nip(), 0);
  std::string log = Log();
  EXPECT_NE(log.find("ERRCODE(90): Kwerlib.BIR1_SzukajNip(-4), brak sesji, Path1()"), std::string::npos);
  EXPECT_NE(log.find("ALARM: KWER_Bir1BrakSesji"), std::string::npos);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "KWER_Bir1BrakSesji");
  EXPECT_EQ(Critical().size(), 1u);

  // An error without a name is logged under 190 and shows no box; a system
  // error code of the library comes with it; an overlong text stops at its field.
  screen->shown.clear();
  kwer_double_script.errorCode = -9;
  kwer_double_script.systemError = 5;
  std::memset(kwer_double_script.errorText, 'E', 290);
  kwer_double_script.errorText[290] = '\0';
  EXPECT_EQ(Nip(), 0);
  log = Log();
  size_t at = log.find("ERRCODE(190): Kwerlib.BIR1_SzukajNip(-9), ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_NE(log.find(std::string(244, 'E') + ", Path1()", at), std::string::npos);
  EXPECT_EQ(log.find(std::string(245, 'E'), at), std::string::npos);
  EXPECT_NE(log.find("WINSYS(5)", at), std::string::npos);
  EXPECT_TRUE(Boxes().empty());
  // The library stays loaded after a failed search.
  EXPECT_EQ(kwer_double_script.loads, 1);
}

TEST_F(LookupLibraryTest, FailedInitUnloadsAndTheNextLookupTriesAgain) {
  Fail("Init,");
  EXPECT_EQ(Nip(), 0);
  EXPECT_EQ(Calls(), "Init,");   // no DeInit: Init itself failed
  EXPECT_EQ(kwer_double_script.unloads, 1);
  EXPECT_NE(Log().find("ERRCODE(190): Kwerlib.Init(0)"), std::string::npos);
  Fail("");
  EXPECT_NE(Nip(), 0);
  EXPECT_EQ(kwer_double_script.loads, 2);
}

TEST_F(LookupLibraryTest, LaterInitStepFailingCallsDeInitBeforeUnloading) {
  Fail("VIES_Init,");
  kwer_double_script.errorCode = KWER_SERVICE_UNAVAILABLE;
  EXPECT_EQ(Nip(), 0);
  EXPECT_EQ(Calls(), "Init,BIR1_Init,VIES_Init,DeInit,");
  EXPECT_EQ(kwer_double_script.unloads, 1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "KWER_Bir1UslugaNieDostepna");
  EXPECT_NE(Log().find("ERRCODE(90): Kwerlib.VIES_Init(-3)"), std::string::npos);
}

TEST_F(LookupLibraryTest, FailingDeInitIsReportedWithoutABox) {
  EXPECT_NE(Nip(), 0);
  Fail("DeInit,");
  kwer_double_script.errorCode = KWER_TECHNICAL_BREAK;
  Free_Kwer_Module();
  EXPECT_EQ(kwer_double_script.unloads, 1);
  EXPECT_NE(Log().find("ERRCODE(90): Kwerlib.DeInit(-5)"), std::string::npos);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LookupLibraryTest, MissingEntryPoints) {
  Use(KWERLIB_DOUBLE_NOINIT_PATH);
  EXPECT_EQ(Nip(), 0);
  EXPECT_EQ(Calls(), "");
  EXPECT_EQ(kwer_double_script.unloads, 1);
  EXPECT_NE(Log().find("ERRCODE(191): 0"), std::string::npos);

  // Without "VIES_Status_NET" only the VIES lookup fails, and nothing calls a NULL.
  Use(KWERLIB_DOUBLE_NOVIES_PATH);
  unsigned char result[KWER_VIES_RESULT_SIZE];
  EXPECT_EQ(Vies(result), 0);
  EXPECT_NE(Log().find("Kwerlib.VIES_Status_NET(0)"), std::string::npos);
  EXPECT_NE(Nip(), 0);

  Free_Kwer_Module();
  Use("/nonexistent/libkwerlib4.so");
  screen->shown.clear();
  EXPECT_EQ(Nip(), 0);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].find("Brak modu"), std::string::npos);
}

}  // namespace
