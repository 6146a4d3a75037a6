#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "installer/arc_manager.h"
#include "tests/installer/lha_fixture.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class LhaReader : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    const char* tz = std::getenv("TZ");
    savedTz = tz ? std::optional<std::string>(tz) : std::nullopt;
    setenv("TZ", "UTC", 1);
    tzset();
    fs::create_directories(Path("out"));
    arc.outDir = Path("out/");
    arc.progress = [](void* user, long bytes, unsigned char* cancel) {
      LhaReader* self = static_cast<LhaReader*>(user);
      self->reports.push_back(bytes);
      if (self->cancelAfter >= 0 && int(self->reports.size()) > self->cancelAfter) *cancel = 1;
    };
    arc.progressUser = this;
  }
  void TearDown() override {
    if (savedTz)
      setenv("TZ", savedTz->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
    TempDirTest::TearDown();
  }
  // Opens `bytes` written as an archive of the test folder.
  void OpenMade(const std::string& bytes) {
    WriteFile(Path("made.lzh"), bytes);
    arc.archiveName = Path("made.lzh");
    ASSERT_TRUE(arc.ArcSeekOpen());
  }
  std::vector<std::string> OutFiles() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Path("out"))) names.push_back(e.path().filename().string());
    return names;
  }

  RecordingScreenHook screen;
  TArcManager arc;
  std::vector<long> reports;
  int cancelAfter = -1;
  std::optional<std::string> savedTz;
};

// Every level-1 archive of stored and compressed members made by the archivers
// lists and extracts as their own listings say.
TEST_F(LhaReader, ArchiversArchivesListAndExtractAsTheirListingsSay) {
  const char* archives[] = {"lha213/lh0",      "lha213/lh5",         "lha213/lh5_long",   "lha255e/lh0",
                            "lha255e/lh5",     "lha_unix114i/h1_lh0", "lha_unix114i/h1_lh5"};
  for (const char* name : archives) {
    SCOPED_TRACE(name);
    std::vector<lha::Listed> listed = lha::ReadListing(lha::FixturePath(std::string(name) + ".lzh-vv.txt"));
    ASSERT_FALSE(listed.empty());
    arc.archiveName = lha::FixturePath(std::string(name) + ".lzh");
    // Each in a folder of its own: names differing only in case are one file here.
    std::string folder = std::string(name).replace(std::string(name).find('/'), 1, "_");
    fs::create_directories(Path(folder));
    arc.outDir = Path(folder + "/");
    ASSERT_TRUE(arc.ArcSeekOpen());
    TArcSeekRec rec;
    size_t index = 0;
    for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec), index++) {
      ASSERT_LT(index, listed.size());
      const lha::Listed& want = listed[index];
      EXPECT_EQ(Lower(rec.name), want.name);   // MS-DOS archivers store names in upper case
      EXPECT_EQ(rec.size, want.size);
      EXPECT_EQ(rec.path, arc.outDir + rec.name);
      reports.clear();
      ASSERT_TRUE(arc.ArcExtract(false)) << arc.ErrorText();
      std::string data = ReadFile(rec.path);
      EXPECT_EQ(data.size(), want.size);
      EXPECT_EQ(lha::Crc16(data), want.crc);
      struct stat st;
      ASSERT_EQ(stat(rec.path.c_str(), &st), 0);
      EXPECT_EQ(int64_t(st.st_mtime), want.stamp);
      // Decoded members report 8192-byte chunks, stored ones nothing.
      long sum = 0;
      for (size_t i = 0; i < reports.size(); i++) {
        if (i + 1 < reports.size()) {
          EXPECT_EQ(reports[i], 8192);
        }
        EXPECT_GT(reports[i], 0);
        sum += reports[i];
      }
      if (want.method == "-lh0-") {
        EXPECT_TRUE(reports.empty());
      } else {
        EXPECT_EQ(sum, long(want.size));
      }
    }
    EXPECT_EQ(index, listed.size());
    EXPECT_EQ(arc.ErrorCode(), 0) << arc.ErrorText();
    arc.ArcSeekClose();
  }
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(LhaReader, TestFlagChecksTheDataWithoutWritingAFile) {
  arc.archiveName = lha::FixturePath("lha213/lh5.lzh");
  ASSERT_TRUE(arc.ArcSeekOpen());
  TArcSeekRec rec;
  ASSERT_TRUE(arc.ArcSeekFirst(&rec));
  EXPECT_TRUE(arc.ArcExtract(true));
  EXPECT_TRUE(OutFiles().empty());
}

// Methods and header levels the reader does not take, with no file left behind.
TEST_F(LhaReader, OtherMethodsAndLevelsAreRefusedWithNoFile) {
  struct Case {
    const char* archive;
    bool headerRead;   // refused at extraction (method) or already at the header (level)
    int code;
    const char* text;
  } cases[] = {
      {"lha_unix114i/h1_lh6", true, 10, "TArcManager.\nNieobsługiwana metoda kompresji archiwum %s."},
      {"lha_unix114i/h1_lh7", true, 10, "TArcManager.\nNieobsługiwana metoda kompresji archiwum %s."},
      {"lha_unix114i/h0_lh5", false, 23, "TArcManager.\nNieobsługiwany poziom nagłówka archiwum %s."},
      {"lha_unix114i/h2_lh5", false, 23, "TArcManager.\nNieobsługiwany poziom nagłówka archiwum %s."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    std::string archive = lha::FixturePath(std::string(c.archive) + ".lzh");
    arc.archiveName = archive;
    ASSERT_TRUE(arc.ArcSeekOpen());
    TArcSeekRec rec;
    if (c.headerRead) {
      ASSERT_TRUE(arc.ArcSeekFirst(&rec));
      EXPECT_FALSE(arc.ArcExtract(false));
    } else {
      EXPECT_FALSE(arc.ArcSeekFirst(&rec));
    }
    EXPECT_EQ(arc.ErrorCode(), c.code);
    std::string text = c.text;
    EXPECT_EQ(arc.ErrorText(), text.replace(text.find("%s"), 2, archive));
    EXPECT_TRUE(arc.ArcTestError(c.code));
    EXPECT_EQ(arc.ErrorCode(), 0);
    arc.ArcSeekClose();
    EXPECT_TRUE(OutFiles().empty());
  }
}

TEST_F(LhaReader, DirectoryMembersAreRefusedAndTheFileBesideThemExtracted) {
  arc.archiveName = lha::FixturePath("lha_unix114i/h1_subdir.lzh");
  ASSERT_TRUE(arc.ArcSeekOpen());
  TArcSeekRec rec;
  std::vector<int> codes;
  for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec)) {
    codes.push_back(arc.ArcExtract(false) ? 0 : arc.ErrorCode());
    arc.ArcTestError(arc.ErrorCode());
  }
  EXPECT_EQ(codes, (std::vector<int>{10, 10, 0}));
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"hello.txt"});
  EXPECT_EQ(lha::Crc16(ReadFile(Path("out/hello.txt"))), 0x9778);
}

TEST_F(LhaReader, ArchiveLevelFailures) {
  std::string good = lha::Pack({{"A.TXT", "alpha"}});
  std::string badSum = good;
  badSum[1] = static_cast<char>(badSum[1] + 1);
  std::string level0 = good;
  level0[20] = 0;
  lha::Reseal(&level0, 0);
  std::string longName = good;   // a name running into the CRC bytes
  longName[21] = 6;
  lha::Reseal(&longName, 0);
  std::string pastEnd = good;    // packed size beyond the file
  PutLe32(reinterpret_cast<unsigned char*>(pastEnd.data()) + 7, 500);
  lha::Reseal(&pastEnd, 0);
  lha::Member bigExtended{"B.TXT", "beta"};
  bigExtended.extended = {"\x40xx"};
  std::string extendedTooBig = lha::Pack({bigExtended});   // first extended header larger than the packed bytes
  PutLe16(reinterpret_cast<unsigned char*>(extendedTooBig.data()) + 25 + 5, 200);
  lha::Reseal(&extendedTooBig, 0);
  std::string truncated = good.substr(0, 20) + std::string(40, 'x');
  struct Case {
    const char* what;
    std::string bytes;
    int code;
  } cases[] = {
      {"empty file", "", 20},
      {"checksum off by one", badSum, 8},
      {"level 0", level0, ARC_ERR_HEADER_LEVEL},
      {"name longer than the header", longName, 8},
      {"packed size past the end", pastEnd, 8},
      {"extended header past the packed bytes", extendedTooBig, 8},
      {"header cut short", truncated, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenMade(c.bytes);
    TArcSeekRec rec;
    EXPECT_FALSE(arc.ArcSeekFirst(&rec));
    EXPECT_EQ(arc.ErrorCode(), c.code);
    EXPECT_EQ(arc.ErrorText().rfind("TArcManager.\n", 0), 0u);
    EXPECT_NE(arc.ErrorText().find(Path("made.lzh")), std::string::npos);
    arc.ArcTestError(c.code);
    arc.ArcSeekClose();
  }
  EXPECT_EQ(arc.ErrorText(), "");
}

TEST_F(LhaReader, MembersAfterExtendedHeadersAndShortTailsAreFound) {
  lha::Member first{"FIRST.TXT", "first member"};
  first.extended = {std::string("\x01", 1) + "FIRST.TXT", std::string("\x40\x20\x00", 3)};
  // A last member smaller than 39 bytes with its header is still a member.
  lha::Member last{"Z", "z"};
  OpenMade(lha::Pack({first, {"A-NAME-LONGER-THAN-TWELVE.TXT", "long"}, last}));
  TArcSeekRec rec;
  std::vector<std::string> names;
  for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec)) {
    names.push_back(rec.name);
    EXPECT_TRUE(arc.ArcExtract(false)) << arc.ErrorText();
  }
  EXPECT_EQ(arc.ErrorCode(), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"FIRST.TXT", "A-NAME-LONGER-THAN-TWELVE.TXT", "Z"}));
  EXPECT_EQ(ReadFile(Path("out/FIRST.TXT")), "first member");
  EXPECT_EQ(ReadFile(Path("out/Z")), "z");
}

// Names that could reach outside the output directory are refused after the
// method test, and nothing is written anywhere.
TEST_F(LhaReader, NamesThatLeaveTheDirectoryAreRefused) {
  struct Case {
    std::string name;
    std::string method;
    int code;
  } cases[] = {
      {"..", "-lh0-", 8},          {".", "-lh0-", 8},
      {"", "-lh0-", 8},            {"../EVIL.TXT", "-lh0-", 8},
      {"SUB/EVIL.TXT", "-lh0-", 8}, {"..\\EVIL.TXT", "-lh0-", 8},
      {std::string("A\0B", 3), "-lh0-", 8}, {"/tmp/EVIL.TXT", "-lh0-", 8},
      {"../EVIL", "-lhd-", 10},
  };
  fs::create_directories(Path("out/sub"));
  arc.outDir = Path("out/sub/");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lha::Member m{c.name, "evil"};
    m.method = c.method;
    OpenMade(lha::Pack({m}));
    TArcSeekRec rec;
    ASSERT_TRUE(arc.ArcSeekFirst(&rec));
    EXPECT_FALSE(arc.ArcExtract(false));
    EXPECT_EQ(arc.ErrorCode(), c.code);
    arc.ArcTestError(c.code);
    arc.ArcSeekClose();
  }
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(fs::is_empty(Path("out/sub")));
  EXPECT_FALSE(fs::exists("/tmp/EVIL.TXT"));
}

TEST_F(LhaReader, BadDataCrcLeavesNoFileAndTheEarlierOneIntact) {
  lha::Member bad{"DATA.TXT", "new contents"};
  bad.crc = uint16_t(lha::Crc16("new contents") + 1);
  WriteFile(Path("out/DATA.TXT"), "old contents");
  OpenMade(lha::Pack({bad, {"NEXT.TXT", "next"}}));
  TArcSeekRec rec;
  ASSERT_TRUE(arc.ArcSeekFirst(&rec));
  EXPECT_FALSE(arc.ArcExtract(false));
  EXPECT_EQ(arc.ErrorCode(), 7);
  EXPECT_EQ(arc.ErrorText(), "TArcManager.\nBłąd CRC pliku " + Path("out/DATA.TXT") + ".\nArchiwum jest uszkodzone.");
  EXPECT_EQ(ReadFile(Path("out/DATA.TXT")), "old contents");
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"DATA.TXT"});
  // The error is shown when the walk goes on without anyone testing it.
  ASSERT_TRUE(arc.ArcSeekNext(&rec));
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].title, "Zelsetup");
  EXPECT_EQ(screen.shown[0].kind, SCREEN_BOX_ERROR);
  EXPECT_NE(screen.shown[0].text.find("Błąd CRC pliku"), std::string::npos);
  EXPECT_TRUE(arc.ArcExtract(false));
}

TEST_F(LhaReader, ReadOnlyTargetIsRefusedUntouched) {
  WriteFile(Path("out/RO.TXT"), "keep me");
  chmod(Path("out/RO.TXT").c_str(), 0444);
  OpenMade(lha::Pack({{"RO.TXT", "replacement"}}));
  TArcSeekRec rec;
  ASSERT_TRUE(arc.ArcSeekFirst(&rec));
  EXPECT_FALSE(arc.ArcExtract(false));
  EXPECT_EQ(arc.ErrorCode(), 12);
  EXPECT_EQ(arc.ErrorText(),
            "TArcManager.\nNie można zmodyfikować pliku " + Path("out/RO.TXT") + ".\nPlik ma atrybut \"Tylko do odczytu\".");
  EXPECT_EQ(ReadFile(Path("out/RO.TXT")), "keep me");
  EXPECT_EQ(OutFiles(), std::vector<std::string>{"RO.TXT"});
}

TEST_F(LhaReader, DateAndAttributeOfTheMemberAreSet) {
  lha::Member readOnly{"RO.HLP", "help", "-lh0-", 0x21, lha::DosTime(2019, 2, 28, 23, 59, 58)};
  lha::Member plain{"RW.TXT", "text", "-lh0-", 0x20, lha::DosTime(1999, 12, 31, 0, 0, 0)};
  OpenMade(lha::Pack({readOnly, plain}));
  TArcSeekRec rec;
  for (bool more = arc.ArcSeekFirst(&rec); more; more = arc.ArcSeekNext(&rec)) ASSERT_TRUE(arc.ArcExtract(false));
  struct stat ro, rw;
  ASSERT_EQ(stat(Path("out/RO.HLP").c_str(), &ro), 0);
  ASSERT_EQ(stat(Path("out/RW.TXT").c_str(), &rw), 0);
  EXPECT_EQ(ro.st_mode & 0222, 0u);
  EXPECT_NE(rw.st_mode & 0200, 0u);
  EXPECT_EQ(int64_t(ro.st_mtime), 1551398398);   // 2019-02-28 23:59:58 UTC
  EXPECT_EQ(int64_t(rw.st_mtime), 946598400);    // 1999-12-31 00:00:00 UTC
}

TEST_F(LhaReader, CancelStopsTheMemberAndTakesItsProgressBack) {
  arc.archiveName = lha::FixturePath("lha213/lh5_long.lzh");
  ASSERT_TRUE(arc.ArcSeekOpen());
  TArcSeekRec rec;
  ASSERT_TRUE(arc.ArcSeekFirst(&rec));
  cancelAfter = 1;   // the second chunk's answer cancels
  EXPECT_FALSE(arc.ArcExtract(false));
  EXPECT_EQ(arc.ErrorCode(), 1);
  EXPECT_EQ(arc.ErrorText(), "TArcManager.\nPrzerwanie dekompresji pliku " + rec.path + "\nprzez użytkownika.");
  EXPECT_EQ(reports, (std::vector<long>{8192, 8192, -16384}));
  EXPECT_TRUE(OutFiles().empty());
}

// Hand-made -lh5- streams: the decoder refuses code lengths that make no code
// and stops at the member's size.
TEST_F(LhaReader, CompressedStreams) {
  lha::BitWriter oversubscribed;   // three codes of length 1
  oversubscribed.Put(1, 16);
  oversubscribed.Put(3, 5);
  for (int i = 0; i < 3; i++) oversubscribed.Put(1, 3);
  oversubscribed.Put(0, 2);
  lha::BitWriter incomplete;       // one code of length 1 alone
  incomplete.Put(1, 16);
  incomplete.Put(1, 5);
  incomplete.Put(1, 3);
  lha::BitWriter outOfRange;       // the single position symbol 15 of 14
  outOfRange.Put(1, 16);
  outOfRange.Put(0, 5);
  outOfRange.Put(0, 5);
  outOfRange.Put(0, 9);
  outOfRange.Put('x', 9);
  outOfRange.Put(0, 4);
  outOfRange.Put(15, 4);
  // A block with the literal 'x' alone, then one with a match of 256 from
  // distance 1 alone: every code the only one of its table, sent with no bits.
  lha::BitWriter repeated;
  for (unsigned symbol : {unsigned('x'), 509u}) {
    repeated.Put(1, 16);
    repeated.Put(0, 5);
    repeated.Put(0, 5);
    repeated.Put(0, 9);
    repeated.Put(symbol, 9);
    repeated.Put(0, 4);
    repeated.Put(0, 4);
  }
  struct Case {
    const char* what;
    std::string stream;
    uint32_t size;
    std::string plain;   // what it decodes to; empty when it must fail
    int code;
  };
  std::vector<Case> cases = {
      {"block of no codes", std::string(4, '\0'), 10, "", 9},
      {"oversubscribed lengths", oversubscribed.Bytes(), 10, "", 9},
      {"incomplete lengths", incomplete.Bytes(), 10, "", 9},
      {"position symbol out of range", outOfRange.Bytes(), 10, "", 9},
      {"literal then match", repeated.Bytes(), 257, std::string(257, 'x'), 0},
      {"stops at the member's size", repeated.Bytes(), 200, std::string(200, 'x'), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lha::Member m{"PACKED.BIN", c.stream};
    m.method = "-lh5-";
    m.size = c.size;
    m.crc = lha::Crc16(c.plain);
    OpenMade(lha::Pack({m}));
    TArcSeekRec rec;
    ASSERT_TRUE(arc.ArcSeekFirst(&rec));
    bool ok = arc.ArcExtract(false);
    if (c.code == 0) {
      EXPECT_TRUE(ok) << arc.ErrorText();
      EXPECT_EQ(ReadFile(rec.path), c.plain);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(arc.ErrorCode(), c.code);
      EXPECT_EQ(arc.ErrorText(), "TArcManager.\nBłąd strumienia kompresji pliku " + rec.path + ".\nArchiwum jest uszkodzone.");
      EXPECT_TRUE(OutFiles().empty());
    }
    arc.ArcTestError(c.code);
    arc.ArcSeekClose();
  }
}

TEST_F(LhaReader, SystemFailuresCarryTheirErrorNumberAndText) {
  arc.archiveName = Path("missing.lzh");
  EXPECT_FALSE(arc.ArcSeekOpen());
  EXPECT_EQ(arc.ErrorCode(), 19);
  EXPECT_EQ(arc.ErrorText(), "TArcManager.\nBłąd otwarcia pliku " + Path("missing.lzh") +
                                 ".\nWinErrCode: 2\nNo such file or directory");
  arc.ArcTestError(19);
  OpenMade(lha::Pack({{"A.TXT", "alpha"}}));
  arc.outDir = Path("no-such-dir/");
  TArcSeekRec rec;
  ASSERT_TRUE(arc.ArcSeekFirst(&rec));
  EXPECT_FALSE(arc.ArcExtract(false));
  EXPECT_EQ(arc.ErrorCode(), 3);
  EXPECT_EQ(arc.ErrorText().rfind("TArcManager.\nBłąd utworzenia pliku " + Path("no-such-dir/A.TXT") + ".\nWinErrCode: 2\n", 0),
            0u);
}

TEST_F(LhaReader, MisuseRaisesItsInternalError) {
  TArcSeekRec rec;
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* text;
  };
  std::vector<Case> cases = {
      {"walk before open", [&] { arc.ArcSeekFirst(&rec); }, "TArcManager.\nInternal Error: Call ArcSeekOpen."},
      {"close before open", [&] { arc.ArcSeekClose(); }, "TArcManager.\nInternal Error: Call ArcSeekOpen."},
      {"extract before open", [&] { arc.ArcExtract(false); }, "TArcManager.\nInternal Error: Call ArcSeekOpen."},
      {"next before first", [&] { OpenMade(lha::Pack({{"A", "a"}})); arc.ArcSeekNext(&rec); },
       "TArcManager.\nInternal Error: Call ArcSeekFirst."},
      {"extract before first", [&] { arc.ArcExtract(false); }, "TArcManager.\nInternal Error: Call ArcSeekFirst."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      c.call();
      ADD_FAILURE() << "no exception";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
}

}  // namespace
