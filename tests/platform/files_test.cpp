// Files, directories and byte-range locks.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <string>
#include <vector>

#include "platform/dirs.h"
#include "platform/files.h"
#include "tests/support/test_support.h"

namespace {

// Works in a folder of its own, so listings hold only what the test made.
class PlatFilesTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    work = dir + "work/";
    ASSERT_EQ(PlatMkDir(work.c_str()), PLAT_OK);
    ASSERT_EQ(PlatChDir(work.c_str()), PLAT_OK);
  }
  std::string work;
  std::string Work(const std::string& name) const { return work + name; }
  PlatFile Open(const std::string& name, PlatAccess access = PLAT_READ_WRITE, PlatDisposition how = PLAT_OPEN_EXISTING) {
    PlatFile f = PLAT_NO_FILE;
    EXPECT_EQ(PlatFileOpen(name.c_str(), access, how, &f), PLAT_OK) << name << ": " << PlatLastErrorText();
    return f;
  }
  std::vector<std::string> Names(const char* dirName, const char* mask = "*") {
    std::vector<PlatDirEntry> entries;
    EXPECT_EQ(PlatListDir(dirName, mask, &entries), PLAT_OK);
    std::vector<std::string> names;
    for (auto& e : entries) names.push_back(e.name);
    return names;
  }
};

// Another process tries the lock on its own descriptor; its result comes back as the exit code.
int PeerLock(const std::string& path, uint64_t offset, uint64_t length, bool exclusive) {
  pid_t pid = fork();
  if (pid == 0) {
    PlatFile f;
    if (PlatFileOpen(path.c_str(), PLAT_READ_WRITE, PLAT_OPEN_EXISTING, &f) != PLAT_OK) _exit(100);
    _exit(PlatFileLock(f, offset, length, exclusive));
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The engine's highest lock offsets and its whole-table range (0x40000000..0xEFFFFFFF).
constexpr uint64_t kHighByte = 0xEFFFFFF0;
constexpr uint64_t kWholeStart = 0x40000000;
constexpr uint64_t kWholeLength = 0xB0000000;

TEST_F(PlatFilesTest, LocksBelongToTheOpenFileNotTheProcess) {
  WriteFile(Work("Z5LOCK.DBF"), "x");
  PlatFile a = Open("Z5LOCK.DBF"), b = Open("Z5LOCK.DBF"), c = Open("z5lock.dbf");

  ASSERT_EQ(PlatFileLock(a, kHighByte, 1, true), PLAT_OK);
  EXPECT_EQ(PlatFileLock(b, kHighByte, 1, true), PLAT_LOCKED);
  EXPECT_EQ(PlatFileLock(b, kHighByte, 1, false), PLAT_LOCKED);
  EXPECT_EQ(PlatFileLock(b, kWholeStart, kWholeLength, true), PLAT_LOCKED);
  EXPECT_EQ(PlatFileLock(b, kHighByte + 1, 1, true), PLAT_OK) << "a one-byte lock must not reach to the end of the file";

  PlatFileClose(c);   // a third descriptor of the same file closing must not drop a's lock
  EXPECT_EQ(PlatFileLock(b, kHighByte, 1, true), PLAT_LOCKED);
  EXPECT_EQ(PeerLock(Work("Z5LOCK.DBF"), kHighByte, 1, true), PLAT_LOCKED);
  EXPECT_EQ(PeerLock(Work("Z5LOCK.DBF"), kHighByte + 2, 1, true), PLAT_OK);

  ASSERT_EQ(PlatFileUnlock(a, kHighByte, 1), PLAT_OK);
  EXPECT_EQ(PeerLock(Work("Z5LOCK.DBF"), kWholeStart, kWholeLength, true), PLAT_LOCKED) << "b still holds its byte";
  ASSERT_EQ(PlatFileUnlock(b, kHighByte + 1, 1), PLAT_OK);
  EXPECT_EQ(PeerLock(Work("Z5LOCK.DBF"), kWholeStart, kWholeLength, true), PLAT_OK);
  ASSERT_EQ(PlatFileLock(b, kWholeStart, kWholeLength, true), PLAT_OK);
  EXPECT_EQ(PlatFileLock(a, kWholeStart, 1, false), PLAT_LOCKED);
  EXPECT_EQ(PeerLock(Work("Z5LOCK.DBF"), 0xEFFFFFFF, 1, false), PLAT_LOCKED);

  EXPECT_EQ(PlatFileLock(a, 0, 0, true), PLAT_INVALID) << "length 0 would lock to the end of the file";
  PlatFileClose(a);
  PlatFileClose(b);
}

TEST_F(PlatFilesTest, SharedLocksShareExclusiveLocksExclude) {
  WriteFile(Work("Z5PASS.DBF"), "x");
  PlatFile a = Open("Z5PASS.DBF"), b = Open("Z5PASS.DBF"), c = Open("Z5PASS.DBF");
  const uint64_t at = 0x7FFFFFFE;
  ASSERT_EQ(PlatFileLock(a, at, 10, false), PLAT_OK);
  EXPECT_EQ(PlatFileLock(b, at + 5, 10, false), PLAT_OK);
  EXPECT_EQ(PeerLock(Work("Z5PASS.DBF"), at, 1, false), PLAT_OK);
  EXPECT_EQ(PlatFileLock(c, at + 9, 1, true), PLAT_LOCKED);
  EXPECT_EQ(PeerLock(Work("Z5PASS.DBF"), at + 9, 1, true), PLAT_LOCKED);
  ASSERT_EQ(PlatFileUnlock(a, at, 10), PLAT_OK);
  EXPECT_EQ(PlatFileLock(c, at + 9, 1, true), PLAT_LOCKED) << "b's shared lock still covers it";
  ASSERT_EQ(PlatFileUnlock(b, at + 5, 10), PLAT_OK);
  EXPECT_EQ(PlatFileLock(c, at + 9, 1, true), PLAT_OK);
  EXPECT_EQ(PlatFileLock(a, at, 10, false), PLAT_LOCKED);
  PlatFileClose(a);
  PlatFileClose(b);
  PlatFileClose(c);
}

TEST_F(PlatFilesTest, NamesAreCreatedAsGivenAndFoundInAnyCase) {
  PlatFile f = Open("Z5TEST.DBF", PLAT_READ_WRITE, PLAT_CREATE_NEW);
  ASSERT_EQ(PlatFileWrite(f, 0, "abc", 3), PLAT_OK);
  PlatFileClose(f);
  EXPECT_EQ(Names("."), std::vector<std::string>{"Z5TEST.DBF"});

  f = Open("z5test.dbf", PLAT_READ);
  char buffer[8] = {};
  size_t done = 0;
  EXPECT_EQ(PlatFileRead(f, 0, buffer, sizeof buffer, &done), PLAT_OK);
  EXPECT_EQ(std::string(buffer, done), "abc");
  PlatFileClose(f);

  PlatFile none = 123;
  EXPECT_EQ(PlatFileOpen("z5test.dbf", PLAT_READ_WRITE, PLAT_CREATE_NEW, &none), PLAT_EXISTS);
  EXPECT_EQ(none, PLAT_NO_FILE);
  EXPECT_EQ(PlatFileOpen("Z5TEST.DBF", PLAT_READ_WRITE, PLAT_CREATE_NEW, &none), PLAT_EXISTS);
  EXPECT_EQ(PlatFileOpen("Z5BRAK.DBF", PLAT_READ, PLAT_OPEN_EXISTING, &none), PLAT_NOT_FOUND);
  // Replacing under another case truncates the one file rather than making a second.
  PlatFileClose(Open("z5test.dbf", PLAT_READ_WRITE, PLAT_CREATE_ALWAYS));
  EXPECT_EQ(Names("."), std::vector<std::string>{"Z5TEST.DBF"});
  EXPECT_EQ(ReadFile(Work("Z5TEST.DBF")), "");

  ASSERT_EQ(PlatMkDir("Firma"), PLAT_OK);
  EXPECT_EQ(PlatMkDir("FIRMA"), PLAT_EXISTS);
  PlatFileClose(Open("FIRMA/Z5SPRZ25.DBF", PLAT_READ_WRITE, PLAT_CREATE_NEW));
  EXPECT_EQ(Names("Firma"), std::vector<std::string>{"Z5SPRZ25.DBF"});
  PlatFileClose(Open(Work("firma/z5sprz25.dbf"), PLAT_READ));
  EXPECT_EQ(PlatResolveName("firma/z5sprz25.dbf"), "Firma/Z5SPRZ25.DBF");
  EXPECT_EQ(PlatResolveName((work + "FIRMA/").c_str()), work + "Firma/");
  EXPECT_EQ(PlatResolveName("firma/nowy.dbf"), "firma/nowy.dbf") << "unchanged when nothing matches";
  EXPECT_TRUE(PlatFileExists("FIRMA/z5SPRZ25.dbf"));
  EXPECT_FALSE(PlatFileExists("FIRMA/Z5SPRZ26.DBF"));
  EXPECT_EQ(PlatFileAccess("firma/z5sprz25.dbf"), PLAT_OK);
  EXPECT_EQ(PlatFileAccess("firma/z5sprz26.dbf"), PLAT_NOT_FOUND);

  ASSERT_EQ(PlatChDir("FIRMA"), PLAT_OK);
  EXPECT_EQ(PlatGetCwd(), work + "Firma/");
  EXPECT_EQ(PlatFileDelete("z5sprz25.dbf"), PLAT_OK);
  EXPECT_EQ(PlatFileDelete("z5sprz25.dbf"), PLAT_NOT_FOUND);
  EXPECT_EQ(PlatChDir("../nie_ma"), PLAT_NOT_FOUND);
}

TEST_F(PlatFilesTest, PositionedIoLengthAndMode) {
  mode_t old = umask(022);
  PlatFile f = Open("DANE.BIN", PLAT_READ_WRITE, PLAT_CREATE_ALWAYS);
  umask(old);
  struct stat st;
  ASSERT_EQ(stat(Work("DANE.BIN").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0664u) << "group-writable whatever the umask";

  ASSERT_EQ(PlatFileWrite(f, 10, "xyz", 3), PLAT_OK);
  uint64_t length = 0;
  ASSERT_EQ(PlatFileLength(f, &length), PLAT_OK);
  EXPECT_EQ(length, 13u);
  char buffer[32];
  size_t done = 99;
  ASSERT_EQ(PlatFileRead(f, 0, buffer, sizeof buffer, &done), PLAT_OK);
  EXPECT_EQ(std::string(buffer, done), std::string(10, '\0') + "xyz") << "a short read at the end is not a failure";
  ASSERT_EQ(PlatFileRead(f, 100, buffer, sizeof buffer, &done), PLAT_OK);
  EXPECT_EQ(done, 0u);
  ASSERT_EQ(PlatFileSetLength(f, 11), PLAT_OK);
  ASSERT_EQ(PlatFileFlush(f), PLAT_OK);
  EXPECT_EQ(ReadFile(Work("DANE.BIN")), std::string(10, '\0') + "x");
  PlatFileClose(f);

  PlatFile readOnly = Open("dane.bin", PLAT_READ);
  EXPECT_NE(PlatFileWrite(readOnly, 0, "q", 1), PLAT_OK);
  EXPECT_STRNE(PlatLastErrorText(), "");
  PlatFileClose(readOnly);
  PlatFile none;
  ASSERT_EQ(PlatMkDir("Katalog"), PLAT_OK);
  EXPECT_EQ(PlatFileOpen("katalog", PLAT_READ, PLAT_OPEN_EXISTING, &none), PLAT_ACCESS) << "a directory is not a file";
}

TEST_F(PlatFilesTest, RenameCopyAndTemporaryNames) {
  WriteFile(Work("a.txt"), "first");
  WriteFile(Work("B.TXT"), "second");
  ASSERT_EQ(PlatFileRename("A.TXT", "b.txt"), PLAT_OK) << "replaces the target found in another case";
  EXPECT_EQ(Names("."), std::vector<std::string>{"B.TXT"});
  EXPECT_EQ(ReadFile(Work("B.TXT")), "first");
  ASSERT_EQ(PlatFileRename("b.txt", "Final.Txt"), PLAT_OK);
  ASSERT_EQ(PlatFileRename("final.txt", "FINAL.TXT"), PLAT_OK) << "a change of case only";
  EXPECT_EQ(Names("."), std::vector<std::string>{"FINAL.TXT"});

  ASSERT_EQ(PlatFileCopy("final.txt", "Kopia.txt"), PLAT_OK);
  EXPECT_EQ(ReadFile(Work("Kopia.txt")), "first");
  WriteFile(Work("Kopia.txt"), "a longer old content");
  ASSERT_EQ(PlatFileCopy("FINAL.TXT", "kopia.TXT"), PLAT_OK);
  EXPECT_EQ(Names("."), (std::vector<std::string>{"FINAL.TXT", "Kopia.txt"})) << "no work file is left behind";
  EXPECT_EQ(ReadFile(Work("Kopia.txt")), "first");
  EXPECT_EQ(PlatFileCopy("brak.txt", "cel.txt"), PLAT_NOT_FOUND);
  EXPECT_FALSE(PlatFileExists("cel.txt"));

  ASSERT_EQ(PlatMkDir("Sub"), PLAT_OK);
  WriteFile(Work("Sub/temp0001.tmp"), "taken under another case");
  struct Case {
    const char* dir;
    const char* expected;
  } cases[] = {
      {"", "TEMP0000.TMP"},        {"", "TEMP0001.TMP"},        {"SUB/", "Sub/TEMP0000.TMP"},
      {"sub", "Sub/TEMP0002.TMP"}, {work.c_str(), nullptr},
  };
  for (const Case& c : cases) {
    std::string path;
    PlatFile f = PLAT_NO_FILE;
    ASSERT_EQ(PlatCreateTempFile(c.dir, "TEMP", ".TMP", &path, &f), PLAT_OK) << c.dir;
    EXPECT_EQ(path, c.expected ? std::string(c.expected) : work + "TEMP0002.TMP");
    EXPECT_NE(f, PLAT_NO_FILE);
    PlatFileClose(f);
  }
  EXPECT_GT(PlatDiskFree("."), 0);
  EXPECT_EQ(PlatDiskFree("/nie/ma/takiego"), -1);
}

TEST(PlatMaskMatch, WindowsMasksIgnoringCase) {
  struct {
    const char* mask;
    const char* name;
    bool matches;
  } cases[] = {
      {"*.dbf", "Z5TEST.DBF", true},      {"Z5SPRZ??.DBF", "z5sprz25.dbf", true}, {"Z5SPRZ??.DBF", "z5sprz2.dbf", false},
      {"*.inw", "ABC.INW", true},         {"*.inw", "abc.inw.bak", false},        {"*.*", "README", true},
      {"TEMP.*", "temp", true},           {"*.TMP", "TEMP0001.TMPX", false},      {"*", "", true},
      {"?", "", false},                   {"a*b*c", "aXbYc", true},               {"a*b*c", "aXbY", false},
      {"?.txt", "\xc4\x85.txt", true},    {"tmp?.$$$", "TMP1.$$$", true},         {"", "x", false},
  };
  for (auto& c : cases) EXPECT_EQ(PlatMaskMatch(c.mask, c.name), c.matches) << c.mask << " / " << c.name;
}

TEST_F(PlatFilesTest, DirectoriesListedSortedAndCreatedCaseInsensitively) {
  WriteFile(Work("b.DBF"), "12345");
  WriteFile(Work("A.dbf"), "");
  WriteFile(Work("c.txt"), "");
  ASSERT_EQ(PlatMkDir("Sub.dbf"), PLAT_OK);
  std::vector<PlatDirEntry> entries;
  ASSERT_EQ(PlatListDir(work.c_str(), "*.DBF", &entries), PLAT_OK);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "A.dbf");
  EXPECT_EQ(entries[1].name, "Sub.dbf");
  EXPECT_TRUE(entries[1].isDirectory);
  EXPECT_EQ(entries[2].name, "b.DBF");
  EXPECT_EQ(entries[2].size, 5u);
  EXPECT_FALSE(entries[2].isDirectory);
  EXPECT_GT(entries[2].modified, 0);
  EXPECT_EQ(PlatListDir("NieMa", "*", &entries), PLAT_NOT_FOUND);

  ASSERT_EQ(PlatMkDirs("x/Y/z"), PLAT_OK);
  ASSERT_EQ(PlatMkDirs("X/y/Z/w/"), PLAT_OK) << "reuses the levels that exist in another case";
  EXPECT_EQ(Names("."), (std::vector<std::string>{"A.dbf", "Sub.dbf", "b.DBF", "c.txt", "x"}));
  EXPECT_EQ(Names("x/Y/z"), std::vector<std::string>{"w"});
  EXPECT_EQ(PlatMkDirs("c.txt/d"), PLAT_EXISTS) << "a file in the way";
  EXPECT_EQ(PlatRmDir("X/y"), PLAT_IO) << "not empty";
  EXPECT_EQ(PlatRmDir("X/y/Z/W"), PLAT_OK);
  EXPECT_EQ(Names("x/Y/z"), std::vector<std::string>{});
}

TEST_F(PlatFilesTest, InfoModeAndTimeOfAnEntryFoundInAnyCase) {
  WriteFile(Work("Plik.TXT"), "abc");
  ASSERT_EQ(PlatFileSetMode("plik.txt", 0444), PLAT_OK);
  ASSERT_EQ(PlatFileSetModified("PLIK.txt", 1551398398), PLAT_OK);
  PlatFileInfo info;
  ASSERT_EQ(PlatFileInfoOf("plik.TXT", true, &info), PLAT_OK);
  EXPECT_EQ(info.mode, 0444u);
  EXPECT_EQ(info.modified, 1551398398);
  EXPECT_EQ(info.size, 3u);
  EXPECT_FALSE(info.isDirectory);
  EXPECT_FALSE(info.isLink);
  struct stat st;
  ASSERT_EQ(stat(Work("Plik.TXT").c_str(), &st), 0);
  EXPECT_EQ(info.device, uint64_t(st.st_dev));

  ASSERT_EQ(symlink(work.c_str(), Work("link").c_str()), 0);
  ASSERT_EQ(PlatFileInfoOf("link", false, &info), PLAT_OK);
  EXPECT_TRUE(info.isLink);
  ASSERT_EQ(PlatFileInfoOf("link", true, &info), PLAT_OK);
  EXPECT_TRUE(info.isDirectory);
  EXPECT_FALSE(info.isLink);

  // The system's error number stays for callers that tell failures apart by it.
  EXPECT_EQ(PlatFileInfoOf("brak", true, &info), PLAT_NOT_FOUND);
  EXPECT_EQ(PlatLastErrno(), ENOENT);
  EXPECT_EQ(PlatFileSetMode("brak", 0644), PLAT_NOT_FOUND);
  EXPECT_EQ(PlatFileSetModified("brak", 0), PLAT_NOT_FOUND);
  PlatFail(PLAT_INVALID, "no system error");
  EXPECT_EQ(PlatLastErrno(), 0);
}

}  // namespace

namespace {

// A full disk (the real /dev/full, and the hook for files that match) and a
// folder that cannot be written are told apart by their cause.
TEST_F(PlatFilesTest, FailedWritesKeepTheirCause) {
  PlatFile full = PLAT_NO_FILE;
  ASSERT_EQ(PlatFileOpen("/dev/full", PLAT_WRITE, PLAT_OPEN_EXISTING, &full), PLAT_OK);
  EXPECT_EQ(PlatFileWrite(full, 0, "x", 1), PLAT_NO_SPACE);
  EXPECT_EQ(PlatLastCause(), PLAT_CAUSE_DISK_FULL);
  PlatFileClose(full);

  PlatFile kept = Open("KEPT.DBF", PLAT_READ_WRITE, PLAT_CREATE_NEW);
  struct Case {
    int errnoValue;
    PlatResult openResult, writeResult;
    PlatCause cause;
  };
  const Case cases[] = {
      {ENOSPC, PLAT_OK, PLAT_NO_SPACE, PLAT_CAUSE_DISK_FULL},
      {EACCES, PLAT_ACCESS, PLAT_ACCESS, PLAT_CAUSE_DENIED},
      {EROFS, PLAT_ACCESS, PLAT_ACCESS, PLAT_CAUSE_READ_ONLY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.errnoValue);
    PlatSetWriteFailure(c.errnoValue, "/work/NEW");
    PlatFile made = PLAT_NO_FILE;
    EXPECT_EQ(PlatFileOpen("NEW.DBF", PLAT_READ_WRITE, PLAT_CREATE_NEW, &made), c.openResult);
    if (c.openResult != PLAT_OK) {
      EXPECT_EQ(PlatLastCause(), c.cause);
    }
    EXPECT_EQ(PlatFileExists(Work("NEW.DBF").c_str()), c.openResult == PLAT_OK);
    if (made != PLAT_NO_FILE) {
      EXPECT_EQ(PlatFileWrite(made, 0, "abc", 3), c.writeResult);
      EXPECT_EQ(PlatLastCause(), c.cause);
      EXPECT_EQ(PlatFileSetLength(made, 10), c.writeResult);
      EXPECT_EQ(PlatFileSetLength(made, 0), PLAT_OK);   // shrinking needs no room
      PlatFileClose(made);
      ASSERT_EQ(PlatFileDelete(Work("NEW.DBF").c_str()), PLAT_OK);
    }
    // Files the pattern does not name are written as ever.
    EXPECT_EQ(PlatFileWrite(kept, 0, "abc", 3), PLAT_OK);
    PlatSetWriteFailure(0, nullptr);
  }
  PlatFileClose(kept);
  EXPECT_EQ(ReadFile(Work("KEPT.DBF")), "abc");
}

}  // namespace
