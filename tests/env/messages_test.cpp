#include "env/messages.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "env/charset_map.h"
#include "env/memory.h"
#include "env/temp_strings.h"
#include "platform/process.h"
#include "platform/program_dir.h"
#include "platform/resources.h"
#include "tests/env/environment_fixture.h"

namespace {

// A message table in the stored layout.
std::string Table(const std::vector<std::pair<int, std::string>>& entries) {
  std::string t(2, '\0');
  for (const auto& [number, text] : entries) {
    t += static_cast<char>(number & 0xFF);
    t += static_cast<char>(number >> 8);
    t += text;
    t += '\0';
  }
  t[0] = static_cast<char>(t.size() & 0xFF);
  t[1] = static_cast<char>(t.size() >> 8);
  return t;
}

std::string ToUtf8(const char* systemText) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(systemText); *p; p++) {
    char32_t u = CharsetToUnicode(*p);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

int16_t Id78() { return 78; }
int16_t Id79() { return 79; }
int16_t Id80() { return 80; }
int16_t Id81() { return 81; }
int16_t Id82() { return 82; }
int16_t Id83() { return 83; }
int16_t Id90() { return 90; }
int16_t Id91() { return 91; }
int16_t Id92() { return 92; }

class MessagesTest : public EnvironmentTest {
 protected:
  void SetUp() override {
    EnvironmentTest::SetUp();
    data = {
        Table({{19999, "zly2"}, {20000, "dwa"}, {50000, "piecdziesiat"}}),
        Table({{5, "pierwszy"}, {19999, "trzy"}, {20000, "zly3"}}),
        Table({{5, "drugi"}, {6, "tylko drugi"}}),
        Table({{7, "czwarty"}}),
        Table({{8, "szosty"}}),
        Table({{20001, "ok"}}) + std::string("\x52\x4E" "bad", 5),   // last text without its NUL
        "abcd",
        std::string("\x06\x00xyzw", 6),
    };
    const int numbers[] = {78, 79, 80, 81, 82, 83, 90, 92};
    resources.clear();
    for (size_t i = 0; i < data.size(); i++)
      resources.push_back({numbers[i], reinterpret_cast<const unsigned char*>(data[i].data()),
                           static_cast<uint32_t>(data[i].size())});
    PlatRegisterResources(ENV_PROGRAM_MODULE, resources.data(), resources.size());
    ASSERT_NE(Create(), nullptr);
  }
  void TearDown() override {
    EnvironmentTest::TearDown();
    PlatRegisterResources(ENV_PROGRAM_MODULE, nullptr, 0);
  }
  std::vector<std::string> data;
  std::vector<PlatResource> resources;
};

TEST_F(MessagesTest, NumberRangesChooseTheTableKind) {
  EnvAddRcsObj(Id78, RCS_KIND_PROGRAM);
  EnvAddRcsObj(Id79, RCS_KIND_INSTANCE);
  EXPECT_STREQ(EnvMessageText(20000), "dwa");
  EXPECT_STREQ(EnvMessageText(50000), "piecdziesiat");
  EXPECT_STREQ(EnvMessageText(19999), "trzy");
  EXPECT_EQ(ToUtf8(EnvMessageText(50001)), "Błąd podanej ścieżki do danych !");
  EXPECT_STREQ(EnvMessageText(12345), "?12345");
  EXPECT_STREQ(EnvMessageText(60000), "?60000");
}

TEST_F(MessagesTest, FirstRegisteredSlotWinsAndASixthIsIgnored) {
  EnvAddRcsObj(Id78, RCS_KIND_PROGRAM);
  EnvAddRcsObj(Id79, RCS_KIND_INSTANCE);
  EnvAddRcsObj(Id80, RCS_KIND_INSTANCE);
  EnvAddRcsObj(Id81, RCS_KIND_INSTANCE);
  EnvAddRcsObj(Id82, RCS_KIND_INSTANCE);     // sixth: all five slots taken
  EXPECT_STREQ(EnvMessageText(5), "pierwszy");
  EXPECT_STREQ(EnvMessageText(6), "tylko drugi");
  EXPECT_STREQ(EnvMessageText(7), "czwarty");
  EXPECT_STREQ(EnvMessageText(8), "?8");
}

TEST_F(MessagesTest, CachesAreMadeAtFirstUseAndClearedByKind) {
  Environment* e = EnvCurrent();
  EnvAddRcsObj(Id78, RCS_KIND_PROGRAM);
  EnvAddRcsObj(Id79, RCS_KIND_INSTANCE);
  EXPECT_EQ(e->messageTables[1].cache, nullptr);
  EnvMessageText(20000);
  EnvMessageText(5);
  ASSERT_NE(e->messageTables[1].cache, nullptr);
  EXPECT_EQ(e->messageTables[1].size, data[0].size());
  EnvFreeRcsCaches(RCS_KIND_INSTANCE);
  EXPECT_EQ(e->messageTables[2].cache, nullptr);
  EXPECT_NE(e->messageTables[1].cache, nullptr);
  EnvClearRcsSlots(RCS_KIND_INSTANCE);
  EXPECT_STREQ(EnvMessageText(5), "?5");
  EXPECT_STREQ(EnvMessageText(20000), "dwa");
}

TEST_F(MessagesTest, DamagedTableIsReadOnlyUpToItsLastWholeEntry) {
  EnvAddRcsObj(Id83, RCS_KIND_PROGRAM);
  EXPECT_STREQ(EnvMessageText(20001), "ok");
  EXPECT_STREQ(EnvMessageText(20050), "?20050");
}

TEST_F(MessagesTest, TextArgumentsHoldEitherANumberOrAText) {
  const char* own = "abc";
  EXPECT_EQ(EnvFindString(TextRef(own)), own);
  EXPECT_EQ(EnvFindString(TextRef()), nullptr);
  EXPECT_EQ(EnvFindString(TextRef(0)), nullptr);
  // Out of the message range a number is never taken for an address.
  EXPECT_EQ(EnvFindString(TextRef(65535)), nullptr);
  const char* found = EnvFindString(TextRef(50011));
  EXPECT_TRUE(IsCycleBufferPtr(found));
  EXPECT_EQ(ToUtf8(found), " Naciśnij dowolny klawisz... ");
  EXPECT_STREQ(RcQStr(99), "?99");
}

TEST_F(MessagesTest, LibraryTableHoldsItsTextsInTheSystemCharacterSet) {
  uint16_t size = 0;
  const unsigned char* table = EnvFindRcData(RC_LIBRARY, LibraryMessagesId, &size);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table[0] | (table[1] << 8), size);
  int count = 0, previous = 0;
  for (unsigned offset = 2; offset + 2 < size; count++) {
    int number = table[offset] | (table[offset + 1] << 8);
    EXPECT_GT(number, previous);
    previous = number;
    offset += 2 + static_cast<unsigned>(std::strlen(reinterpret_cast<const char*>(table + offset + 2))) + 1;
  }
  EXPECT_EQ(count, 452);

  const std::pair<int, const char*> samples[] = {
      {50011, " Naciśnij dowolny klawisz... "},
      {50025, "Podany zbiór już istnieje. Kontynuować ?"},
      {50132, "Rok różny od rozrachunkowego!"},
      {50174, "date4assign()"},
      {50420, "!473!"},
      {50437, "Zamknięcie zbioru"},
      {50451, "Bład nazwy Tag"},
      {50472, "dla strony 7    X -    Y -"},
      {50500, " Uszkodzony rekord %ld w pliku %s"},
  };
  for (const auto& [number, text] : samples) EXPECT_EQ(ToUtf8(EnvMessageText(number)), text) << number;
}

TEST_F(MessagesTest, MessageNumberInTheLogIsWrittenInCodePage1250) {
  ErrLogMessage(EL_TEXT, 7, 50001);
  CloseErrLog();
  EXPECT_EQ(ReadFile(LogPath()), "\r\n#10:00:00 UWAGA:B\xB3\xB9" "d podanej \x9C" "cie\xBFki do danych !");
}

TEST_F(MessagesTest, ShortOrMissingResourcesAreLoggedAndShown) {
  char buffer[9] = "zzzzzzzz";
  EXPECT_EQ(EnvLoadBinResource(buffer, 8, Id90), buffer);
  EXPECT_STREQ(buffer, "abcdzzzz");
  ASSERT_EQ(Critical().size(), 1u);
  EXPECT_EQ(Critical()[0].rfind("ERRCODE(19): 4 < 8, ResObj(90)\n", 0), 0u) << Critical()[0];

  char untouched[4] = "qqq";
  EXPECT_EQ(overcpy(untouched, Id91, 3), untouched);
  EXPECT_STREQ(untouched, "qqq");
  ASSERT_EQ(Critical().size(), 2u);
  EXPECT_EQ(Critical()[1].rfind("ERRCODE(21): 91\n", 0), 0u) << Critical()[1];
}

TEST_F(MessagesTest, LoadWithoutABufferTakesTheSizeFromTheResource) {
  void* block = EnvLoadResObj(ENV_PROGRAM_MODULE, nullptr, 0, Id92);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block, data[7].data(), 6), 0);
  EXPECT_TRUE(Critical().empty());
  free_mem(&block);
  EXPECT_EQ(block, nullptr);
}

// ---- add-on modules

std::string seenInstance;
std::string seenText;
int seenInstanceSlots = -1;
int16_t Id5() { return 5; }

int ProbeInsideModule(int32_t, int32_t) {
  seenInstance = EnvActiveInstance();
  seenInstanceSlots = 0;
  for (const RcsObjSlot& slot : EnvCurrent()->messageTables)
    if (slot.idRoutine && slot.kind == RCS_KIND_INSTANCE) seenInstanceSlots++;
  EnvAddRcsObj(Id5, RCS_KIND_INSTANCE);     // the module's own program-level messages
  seenText = EnvMessageText(5);
  return 0;
}

TEST_F(MessagesTest, ModuleRunsWithItsOwnMessagesAndEverythingIsPutBack) {
  static const std::string moduleTable = Table({{5, "z modulu"}});
  static const PlatResource moduleResources[] = {
      {5, reinterpret_cast<const unsigned char*>(moduleTable.data()), static_cast<uint32_t>(moduleTable.size())}};
  PlatRegisterResources("Zwtest", moduleResources, 1);
  Environment* e = EnvCurrent();
  EnvAddRcsObj(Id79, RCS_KIND_INSTANCE);
  EXPECT_STREQ(EnvMessageText(5), "pierwszy");
  RcsObjSlot slotsBefore[RCS_SLOTS];
  std::memcpy(slotsBefore, e->messageTables, sizeof slotsBefore);
  e->hotKeys[1].routine = ProbeInsideModule;

  EnvLoadModule("Zatest");

  EXPECT_EQ(seenInstance, "Zwtest");
  EXPECT_EQ(seenInstanceSlots, 0);
  EXPECT_EQ(seenText, "z modulu");
  EXPECT_EQ(EnvActiveInstance(), std::string(ENV_PROGRAM_MODULE));
  EXPECT_EQ(std::memcmp(slotsBefore, e->messageTables, sizeof slotsBefore), 0);
  EXPECT_EQ(e->hotKeys[1].routine, ProbeInsideModule);
  EXPECT_EQ(e->hotKeys[2].busy, 0);
  EXPECT_STREQ(EnvMessageText(5), "pierwszy");
  EXPECT_TRUE(screen->shown.empty());
}

TEST_F(MessagesTest, MissingModuleIsShown) {
  EnvLoadModule("Nieznany");
  ASSERT_EQ(screen->shown.size(), 1u);
  EXPECT_NE(screen->shown[0].text.find("libnweznany.so"), std::string::npos) << screen->shown[0].text;
}

// ---- the resource compiler

class ResourceCompilerTest : public TempDirTest {
 protected:
  int Run(const std::string& file) {
    std::string command = "'" + PlatExecutableDir() + "rcgen' Test out.cpp " + file + " 2> err.txt";
    int exitCode = -1;
    EXPECT_EQ(PlatRunProgram("/bin/sh", {"-c", command}, dir.c_str(), &exitCode), PLAT_OK);
    return exitCode;
  }
};

TEST_F(ResourceCompilerTest, MessageTableIsSortedAndConverted) {
  WriteFile(Path("7_x.msg"), "# comment\n\n20\tb\r\n10\t\xC4\x85\n");
  ASSERT_EQ(Run("7_x.msg"), 0) << ReadFile(Path("err.txt"));
  EXPECT_NE(ReadFile(Path("out.cpp")).find(" 10, 0, 10, 0, 134, 0, 20, 0, 98, 0,"), std::string::npos);
}

TEST_F(ResourceCompilerTest, EscapesInAMessageGiveLineFeedsAndBackslashes) {
  WriteFile(Path("7_x.msg"), "1\ta\\nb\\\\\n");
  ASSERT_EQ(Run("7_x.msg"), 0) << ReadFile(Path("err.txt"));
  EXPECT_NE(ReadFile(Path("out.cpp")).find(" 1, 0, 97, 10, 98, 92, 0,"), std::string::npos);

  WriteFile(Path("7_x.msg"), "1\tok\n2\ta\\tb\n");
  EXPECT_NE(Run("7_x.msg"), 0);
  EXPECT_NE(ReadFile(Path("err.txt")).find("7_x.msg:2:"), std::string::npos);
}

TEST_F(ResourceCompilerTest, CharacterOutsideTheSetIsAnErrorNamingFileAndLine) {
  WriteFile(Path("7_x.msg"), "50001\tok\n50002\tz\xC5\x82 \xE2\x82\xAC\n");
  EXPECT_NE(Run("7_x.msg"), 0);
  std::string err = ReadFile(Path("err.txt"));
  EXPECT_NE(err.find("7_x.msg:2:"), std::string::npos) << err;
  EXPECT_NE(err.find("U+20AC"), std::string::npos) << err;

  WriteFile(Path("8_y.txt"), "ok\nalso ok\n\xE2\x82\xAC\n");
  EXPECT_NE(Run("8_y.txt"), 0);
  EXPECT_NE(ReadFile(Path("err.txt")).find("8_y.txt:3:"), std::string::npos);
}

}  // namespace
