#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "env/session/environment.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "interchange/archive.h"
#include "tests/interchange/archive_fixture.h"
#include "tests/support/small_medium.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

const char* const kArchive = "ARC5.A01";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ProgressLog {
  int volumes = 0;                  // kind 1 reports
  std::vector<std::string> names;   // their names
  int entryEnds = 0;                // kind 2 with 100 of 100
};

void RecordProgress(void* user, int kind, const char* name, uint32_t done, uint32_t total) {
  ProgressLog* log = static_cast<ProgressLog*>(user);
  if (!log) return;
  if (kind == ARC_PROGRESS_VOLUME) {
    log->volumes++;
    log->names.push_back(name ? name : "");
  } else if (done == 100 && total == 100) {
    log->entryEnds++;
  }
}

// Packs files of the current directory under their own names.
bool Pack(const std::vector<std::pair<std::string, int>>& files, ProgressLog* progress = nullptr) {
  std::vector<cp1::PackedFile> list;
  for (const auto& [name, flags] : files) list.push_back({name, name, flags});
  return cp1::PackFiles(kArchive, list, RecordProgress, progress);
}

struct Entry {
  std::string name;
  std::string content;
  ArcHeader header;   // the last header of the entry
  bool crcError;
};

// Unpacks every entry through the work file, as the restore does. The result
// is that of the last ArcReadHeader (0 at the end mark), or -3 when an entry
// could not be unpacked.
int UnpackAll(std::vector<Entry>* entries, ProgressLog* progress = nullptr, const char* workFile = "tempxxxx.$$$") {
  entries->clear();
  if (!ArcAlloc(kArchive, RecordProgress, progress)) return -9;
  int r = ArcOpenReading(kArchive) == 1 ? 1 : -9;
  while (r == 1 && (r = ArcReadHeader()) == 1) {
    bool ok = ArcOpenWriting(workFile) == 1 && ArcDecode() == 1;
    if (ArcCloseWriting_D() != 1 || !ok) {
      r = -3;
      break;
    }
    const ArcHeader* h = ArcHeaderPtr();
    entries->push_back({ArcEntryName(h), Slurp(workFile), *h, ArcHeaFileCRCError() == 1});
  }
  ArcCloseReading();
  ArcFree();
  return r;
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen() & 0xFF);
  return s;
}

std::string SomeText() {
  std::string text;
  for (int i = 0; i < 100; i++) text += "Pozycja " + std::to_string(i) + ": towar, ilosc 1.000, cena 12.50\r\n";
  return text;
}

bool Shown(const RecordingScreenHook& screen, const std::string& what, int message) {
  std::string text = EnvFindString(message);
  for (const auto& s : screen.shown)
    if (s.what == what && (s.text == text || s.title == text)) return true;
  return false;
}

class ArchiveTest : public TempDirTest {
 protected:
  void TearDown() override {
    ArcFree();
    TempDirTest::TearDown();
  }
  // "ABC" as "LONGNAME.DBF" and "aaaa" as "A.TXT", packed with the flags
  // 0x02 and 0: laid out by hand.
  static std::string TwoEntryFixture() {
    cp1::TableModel t;
    int a = t.Single('a');
    int aa = t.Add(a, 'a');
    cp1::HeaderFields first;
    first.name14 = cp1::Name14("LONGNAME.DBF");
    first.length = 3;
    first.category = 2;
    first.crc = cp1::Crc16("ABC");
    cp1::HeaderFields second = first;
    // The shorter name leaves the rest of the longer one behind it.
    second.name14 = std::string("A.TXT\0ME.DBF\0\0", 14);
    second.length = 4;
    second.crc = cp1::Crc16("aaaa");
    return cp1::Header(first) + cp1::PackCodes({t.Single('A'), t.Single('B'), t.Single('C')}) + cp1::Header(second) +
           cp1::PackCodes({a, aa, a}) + std::string(1, '\0');
  }
  FixedClock clock;   // packing date 20261210
};

TEST_F(ArchiveTest, ReadsAHandMadeArchive) {
  RecordingScreenHook screen;
  WriteFile(kArchive, TwoEntryFixture());
  std::vector<Entry> entries;
  ProgressLog progress;
  EXPECT_EQ(UnpackAll(&entries, &progress), 0);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "LONGNAME.DBF");
  EXPECT_EQ(entries[0].content, "ABC");
  EXPECT_EQ(entries[1].name, "A.TXT");
  EXPECT_EQ(entries[1].content, "aaaa");
  for (const Entry& e : entries) {
    EXPECT_FALSE(e.crcError) << e.name;
    EXPECT_EQ(e.header.fileLength, e.content.size());
    EXPECT_EQ(e.header.category, 2);
    EXPECT_EQ(e.header.volume, 1);
    EXPECT_STREQ(e.header.date, "20261210");
  }
  EXPECT_EQ(progress.entryEnds, 2);
  EXPECT_EQ(progress.volumes, 0);
  EXPECT_TRUE(screen.shown.empty());
}

TEST_F(ArchiveTest, PackingGivesTheSameBytes) {
  WriteFile("LONGNAME.DBF", "ABC");
  WriteFile("A.TXT", "aaaa");
  ASSERT_TRUE(Pack({{"LONGNAME.DBF", 0x02}, {"A.TXT", 0}}));
  EXPECT_EQ(ReadFile(kArchive), TwoEntryFixture());
}

// The owner text is the first 70 characters of the firm's name line; the
// date is the working date when the computer's date is switched off.
TEST_F(ArchiveTest, HeaderCarriesOwnerAndWorkingDate) {
  char arg0[16] = "Zelsal";
  char* argv[2] = {arg0, nullptr};
  Environment* env = CreateEnvironment(1, argv);
  ASSERT_NE(env, nullptr);
  const std::string owner = std::string(70, 'F') + "CUT HERE";
  std::strcpy(env->ownerName, owner.c_str());
  std::memcpy(env->workingDate, "20251231", 9);
  env->useSystemDate = 'N';
  WriteFile("A.TXT", "abc");
  bool packed = Pack({{"A.TXT", 0x08}});
  DeleteEnvironment(env);
  ASSERT_TRUE(packed);
  cp1::TableModel t;
  cp1::HeaderFields h;
  h.name14 = cp1::Name14("A.TXT");
  h.length = 3;
  h.category = 4;
  h.crc = cp1::Crc16("abc");
  h.owner = std::string(70, 'F');
  h.date = "20251231";
  EXPECT_EQ(Slurp(kArchive), cp1::Header(h) + cp1::PackCodes({t.Single('a'), t.Single('b'), t.Single('c')}) +
                                 std::string(1, '\0'));
}

TEST_F(ArchiveTest, RoundTripsOfAllKindsOfFiles) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"EMPTY.DAT", ""}, {"ONE.DAT", "x"}, {"TEXT.TXT", SomeText()}, {"RANDOM.BIN", RandomBytes(50000, 11)},
      {"KWKWK.DAT", "abababababababababab"},
  };
  std::vector<std::pair<std::string, int>> order;
  for (const auto& [name, content] : files) {
    WriteFile(name, content);
    order.push_back({name, 0x10});
  }
  ASSERT_TRUE(Pack(order));
  std::vector<Entry> entries;
  EXPECT_EQ(UnpackAll(&entries), 0);
  ASSERT_EQ(entries.size(), files.size());
  for (size_t i = 0; i < files.size(); i++) {
    EXPECT_EQ(entries[i].name, files[i].first);
    EXPECT_EQ(entries[i].content, files[i].second) << files[i].first;
    EXPECT_FALSE(entries[i].crcError) << files[i].first;
    EXPECT_EQ(entries[i].header.category, 1);
  }
}

TEST_F(ArchiveTest, RefusesNamesLongerThanThirteenCharacters) {
  RecordingScreenHook screen;
  WriteFile("FOURTEEN_CHARS", "x");
  ASSERT_EQ(ArcAlloc(kArchive, nullptr, nullptr), 1);
  ASSERT_EQ(ArcOpenReading("FOURTEEN_CHARS"), 1);
  EXPECT_EQ(ArcHeaInit("FOURTEEN_CHARS", 0), 0);
  EXPECT_EQ(ArcOpenReading("NO_SUCH.DBF"), 0);
}

// ---- volumes: a file-size limit plays a small medium to the packer, and a
// full small medium the drive the reader finds the volumes in; the screen
// hook plays the operator who changes media.

// The test's files, volumes and archive lie on a small medium of their own,
// filled up while the archive is read. The reader's work file lies beside.
class VolumeTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    fs::create_directory(dir + "medium");
    if (!medium.Mount(dir + "medium", 1 << 20)) GTEST_SKIP() << "no mount namespace for a small medium";
    fs::current_path(dir + "medium");
  }
  void TearDown() override {
    fs::current_path(dir);
    medium.Unmount();
    ArchiveTest::TearDown();
  }
  static constexpr const char* kWorkFile = "../tempxxxx.$$$";
  SmallMedium medium;
};

class Media {
 public:
  Media(RecordingScreenHook* screen, SmallMedium* medium) : screen(screen), medium(medium) {
    current = this;
    medium->Empty();
    hook = *ScreenHookGet();
    hook.question = Question;
    hook.noticeOn = NoticeOn;
    hook.readKey = ReadKey;
    ScreenHookSet(&hook);
  }
  ~Media() {
    ScreenHookSet(ScreenHookDefault());
    current = nullptr;
    medium->Empty();
  }
  // Keeps what the packer filled as "VOL<n>".
  bool changeOnQuestion = true;
  bool changeOnNotice = true;
  int filled = 0;
  int questions = 0;
  int nextToInsert = 2;

  std::string Volume(int n) const { return "VOL" + std::to_string(n); }
  // After packing: the last volume is put away too, and the first goes in;
  // the medium is full.
  void PackingDone() {
    fs::rename(kArchive, Volume(++filled));
    fs::rename(Volume(1), kArchive);
    nextToInsert = 2;
    medium->Fill();
  }
  // The next volume goes in, on a medium as full as the one before.
  void InsertNext() {
    std::error_code ignored;
    if (!fs::exists(Volume(nextToInsert))) return;
    fs::remove(kArchive, ignored);
    fs::rename(Volume(nextToInsert++), kArchive);
    medium->Fill();
  }

 private:
  static int Question(const char* title, const char* text) {
    Media* m = current;
    m->questions++;
    m->screen->shown.push_back({"question", 0, title ? title : "", text ? text : ""});
    if (!m->changeOnQuestion) return m->screen->NextAnswer();
    fs::rename(kArchive, m->Volume(++m->filled));
    return 'T';
  }
  static void NoticeOn(const char* title, const char* text) {
    Media* m = current;
    m->screen->shown.push_back({"notice", 0, title ? title : "", text ? text : ""});
    m->screen->noticeVisible = true;
    if (m->changeOnNotice) m->InsertNext();
  }
  // A volume that is never accepted would keep the reader waiting: give up instead.
  static int ReadKey() {
    if (++current->tries == 50) current->screen->keys.push_back(SCREEN_KEY_ESC);
    return current->screen->NextKey(0);
  }
  RecordingScreenHook* screen;
  SmallMedium* medium;
  ScreenHook hook;
  int tries = 0;
  static Media* current;
};
Media* Media::current = nullptr;

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = {bytes, saved.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }

 private:
  rlimit saved;
};

std::string FirstHeader(const std::string& volume) { return Slurp(volume).substr(0, ARC_HEADER_SIZE); }

TEST_F(VolumeTest, SplitsOverVolumesAndJoinsThemAgain) {
  const std::string random = RandomBytes(20000, 5), text = SomeText();
  WriteFile("RANDOM.BIN", random);
  WriteFile("TEXT.TXT", text);
  const std::vector<std::pair<std::string, int>> files = {{"RANDOM.BIN", 0x04}, {"TEXT.TXT", 0x04}};
  ASSERT_TRUE(Pack(files));
  const std::string whole = ReadFile(kArchive);
  const size_t second = whole.find("CP1", 1);   // the second entry's header
  ASSERT_NE(second, std::string::npos);

  struct Case {
    const char* what;
    size_t limit;
    int volumes;          // files written; 0: many
    int readReports;      // kind 1 reports while reading; -1: not checked
  } cases[] = {
      {"the first entry goes on on the second volume", second - 500, 2, 1},
      {"the second header does not fit and opens the next volume", second + 50, 2, 0},
      {"only the end mark is left for the next volume", whole.size() - 1, 2, 1},
      {"many small media", 3000, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RecordingScreenHook screen;
    Media media(&screen, &medium);
    ProgressLog packing, reading;
    {
      FileSizeLimit limit(c.limit);
      ASSERT_TRUE(Pack(files, &packing));
    }
    media.PackingDone();
    if (c.volumes) {
      EXPECT_EQ(media.filled, c.volumes);
    } else {
      EXPECT_GE(media.filled, 8);
    }
    EXPECT_EQ(packing.volumes, media.filled - 1);

    std::vector<Entry> entries;
    EXPECT_EQ(UnpackAll(&entries, &reading, kWorkFile), 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].content, random);
    EXPECT_EQ(entries[1].content, text);
    EXPECT_FALSE(entries[0].crcError);
    EXPECT_FALSE(entries[1].crcError);
    if (c.readReports >= 0) {
      EXPECT_EQ(reading.volumes, c.readReports);
    }
    for (int n = 1; n <= media.filled; n++) fs::remove(media.Volume(n));
    fs::remove(kArchive);
  }
}

TEST_F(VolumeTest, ASplitEntryKeepsItsCrcInItsLastHeader) {
  const std::string random = RandomBytes(20000, 6);
  WriteFile("RANDOM.BIN", random);
  RecordingScreenHook screen;
  Media media(&screen, &medium);
  {
    FileSizeLimit limit(15000);
    ASSERT_TRUE(Pack({{"RANDOM.BIN", 0}}));
  }
  media.PackingDone();
  ASSERT_EQ(media.filled, 2);
  const std::string first = ReadFile(kArchive).substr(0, ARC_HEADER_SIZE);
  const std::string continuation = FirstHeader(media.Volume(2));
  const uint16_t crc = cp1::Crc16(random);
  EXPECT_EQ(first[10], 1);
  EXPECT_EQ(continuation[10], 2);
  EXPECT_EQ(first.substr(20), continuation.substr(20));   // the same entry
  EXPECT_EQ(uint8_t(continuation[18]) | uint8_t(continuation[19]) << 8, crc);
  EXPECT_NE(uint8_t(first[18]) | uint8_t(first[19]) << 8, crc);
}

// ---- the wait for the next volume can always be given up

TEST_F(VolumeTest, PackerGivesUpWhenTheOperatorPressesEsc) {
  WriteFile("RANDOM.BIN", RandomBytes(20000, 7));
  RecordingScreenHook screen;
  Media media(&screen, &medium);
  media.changeOnQuestion = false;
  screen.answers = {'T', SCREEN_KEY_ESC};   // "changed" without changing, then gives up
  {
    FileSizeLimit limit(8000);
    EXPECT_FALSE(Pack({{"RANDOM.BIN", 0}}));
  }
  // The medium was not changed: it was asked again, and the full volume stays.
  EXPECT_EQ(media.questions, 2);
  EXPECT_TRUE(Shown(screen, "question", 50041));
  const std::string volume = ReadFile(kArchive);
  EXPECT_EQ(volume.size(), 8000u);
  EXPECT_EQ(volume.substr(0, 3), "CP1");
  EXPECT_EQ(volume[10], 1);
}

// On a full medium an archive that ends inside an entry goes on on the next
// one: the reader waits for it, reading the keyboard between tries.
TEST_F(VolumeTest, ReaderGivesUpOnATruncatedArchiveWithEsc) {
  WriteFile("TEXT.TXT", SomeText());
  ASSERT_TRUE(Pack({{"TEXT.TXT", 0}}));
  std::string whole = ReadFile(kArchive);
  WriteFile(kArchive, whole.substr(0, whole.size() / 2));
  medium.Fill();
  RecordingScreenHook screen;
  screen.keys = {0, 0, SCREEN_KEY_ESC};
  std::vector<Entry> entries;
  EXPECT_EQ(UnpackAll(&entries, nullptr, kWorkFile), -3);
  EXPECT_TRUE(Shown(screen, "notice", 50072));
  EXPECT_FALSE(screen.noticeVisible);
  EXPECT_TRUE(screen.keys.empty()) << "the Esc was read, after two tries without a key";
  medium.Empty();
}

// With room left on its medium, an archive that ends inside an entry was cut
// short: no volume follows, so none is waited for; the operator is told.
TEST_F(ArchiveTest, ArchiveCutShortOnAMediumWithRoomIsDamaged) {
  WriteFile("ONE.TXT", SomeText());
  WriteFile("TWO.TXT", SomeText() + "2");
  ASSERT_TRUE(Pack({{"ONE.TXT", 0}, {"TWO.TXT", 0}}));
  const std::string whole = ReadFile(kArchive);
  const size_t second = whole.find("CP1", 1);
  ASSERT_NE(second, std::string::npos);
  struct Case {
    const char* what;
    size_t length;
    size_t entries;
  } cases[] = {
      {"inside the first entry's data", second / 2, 0},
      {"inside the second header", second + 60, 1},
      {"inside the second entry's data", second + 114 + 20, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(kArchive, whole.substr(0, c.length));
    RecordingScreenHook screen;
    screen.keys = {SCREEN_KEY_ESC};
    std::vector<Entry> entries;
    EXPECT_NE(UnpackAll(&entries), 0);
    EXPECT_EQ(entries.size(), c.entries);
    EXPECT_EQ(screen.noticeCount, 0) << "no wait for another volume";
    ASSERT_EQ(screen.shown.size(), 1u);
    EXPECT_EQ(screen.shown[0].what, "box");
    EXPECT_EQ(screen.shown[0].kind, SCREEN_BOX_ALARM);
    EXPECT_EQ(MazToUtf8Text(screen.shown[0].text.c_str()), "Zbiór archiwalny jest uszkodzony lub niekompletny !");
    EXPECT_EQ(screen.keys.size(), 1u) << "no key was read";
  }
}

// The wait for the next volume sleeps between its tries: the medium comes
// after 1.5 s of real time, and the reader spent a small part of it working.
// Both waits: for the rest of an entry's data and for the next header.
TEST_F(VolumeTest, WaitForTheNextVolumeSleeps) {
  const std::string random = RandomBytes(20000, 5), text = SomeText();
  WriteFile("RANDOM.BIN", random);
  WriteFile("TEXT.TXT", text);
  const std::vector<std::pair<std::string, int>> files = {{"RANDOM.BIN", 0}, {"TEXT.TXT", 0}};
  ASSERT_TRUE(Pack(files));
  const size_t second = ReadFile(kArchive).find("CP1", 1);
  ASSERT_NE(second, std::string::npos);
  for (size_t limit : {second - 500, second + 50}) {
    SCOPED_TRACE(limit);
    RecordingScreenHook screen;
    Media media(&screen, &medium);
    media.changeOnNotice = false;
    {
      FileSizeLimit small(limit);
      ASSERT_TRUE(Pack(files));
    }
    media.PackingDone();
    ASSERT_EQ(media.filled, 2);
    std::thread operatorChanges([&media] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      media.InsertNext();
    });
    timespec cpu0{}, cpu1{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
    const auto wall0 = std::chrono::steady_clock::now();
    std::vector<Entry> entries;
    const int result = UnpackAll(&entries, nullptr, kWorkFile);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
    operatorChanges.join();
    const double cpu = double(cpu1.tv_sec - cpu0.tv_sec) + double(cpu1.tv_nsec - cpu0.tv_nsec) / 1e9;
    EXPECT_EQ(result, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].content, random);
    EXPECT_EQ(entries[1].content, text);
    EXPECT_TRUE(Shown(screen, "notice", 50072));
    EXPECT_GE(wall, 1.5);
    EXPECT_LT(cpu, 0.1 * wall) << "cpu " << cpu << " s of " << wall << " s";
    fs::remove(media.Volume(1));
    fs::remove(media.Volume(2));
    fs::remove(kArchive);
  }
}

TEST_F(ArchiveTest, WithoutAScreenTheWaitEndsAtOnce) {
  WriteFile("TEXT.TXT", SomeText());
  ASSERT_TRUE(Pack({{"TEXT.TXT", 0}}));
  std::string whole = ReadFile(kArchive);
  WriteFile(kArchive, whole.substr(0, whole.size() - 1));   // no end mark
  std::vector<Entry> entries;
  EXPECT_EQ(UnpackAll(&entries), -1);
  EXPECT_EQ(entries.size(), 1u);
}

// ---- what follows the last entry

TEST_F(ArchiveTest, EndOfArchive) {
  WriteFile("TEXT.TXT", "abc");
  ASSERT_TRUE(Pack({{"TEXT.TXT", 0}}));
  const std::string entry = ReadFile(kArchive).substr(0, ReadFile(kArchive).size() - 1);
  struct Case {
    std::string tail;
    int result;
    bool unknownFormat;
  } cases[] = {
      {std::string(1, '\0'), 0, false},
      {std::string("\0x", 2), -1, false},     // a short read: the rest is on another medium
      {std::string("\0xy", 3), -1, true},
      {"", -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tail.size());
    WriteFile(kArchive, entry + c.tail);
    RecordingScreenHook screen;
    screen.keys = {SCREEN_KEY_ESC};
    std::vector<Entry> entries;
    EXPECT_EQ(UnpackAll(&entries), c.result);
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_EQ(Shown(screen, "box", 50040), c.unknownFormat);
  }
}

// ---- damaged archives

TEST_F(ArchiveTest, ResynchronisesAfterADamagedHeader) {
  WriteFile("ONE.TXT", "first file");
  WriteFile("TWO.TXT", "second file");
  WriteFile("THREE.TXT", "third file");
  ASSERT_TRUE(Pack({{"ONE.TXT", 0}, {"TWO.TXT", 0}, {"THREE.TXT", 0}}));
  std::string bytes = ReadFile(kArchive);
  size_t second = bytes.find("CP1", 1);
  bytes[second + 4] ^= 0x01;   // checksum
  WriteFile(kArchive, bytes);

  RecordingScreenHook screen;
  ASSERT_EQ(ArcAlloc(kArchive, nullptr, nullptr), 1);
  ASSERT_EQ(ArcOpenReading(kArchive), 1);
  ASSERT_EQ(ArcReadHeader(), 1);
  ASSERT_EQ(ArcOpenWriting("tempxxxx.$$$"), 1);
  ASSERT_EQ(ArcDecode(), 1);
  ASSERT_EQ(ArcCloseWriting_D(), 1);
  EXPECT_EQ(ArcReadHeader(), -2);
  EXPECT_EQ(ArcNextFile(), 1);
  ASSERT_EQ(ArcReadHeader(), 1);
  EXPECT_EQ(ArcEntryName(ArcHeaderPtr()), "THREE.TXT");
  ASSERT_EQ(ArcOpenWriting("tempxxxx.$$$"), 1);
  ASSERT_EQ(ArcDecode(), 1);
  ASSERT_EQ(ArcCloseWriting_D(), 1);
  EXPECT_EQ(ArcHeaFileCRCError(), 0);
  EXPECT_EQ(ReadFile("tempxxxx.$$$"), "third file");
  EXPECT_EQ(ArcReadHeader(), 0);
  EXPECT_EQ(ArcNextFile(), 0);
}

// "AXCD" coded under the header of "ABCD": a wrong character, nothing else.
TEST_F(ArchiveTest, DamagedDataFailsTheCrc) {
  cp1::TableModel t;
  cp1::HeaderFields h;
  h.name14 = cp1::Name14("ABCD.TXT");
  h.length = 4;
  h.crc = cp1::Crc16("ABCD");
  WriteFile(kArchive, cp1::Header(h) +
                          cp1::PackCodes({t.Single('A'), t.Single('X'), t.Single('C'), t.Single('D')}) +
                          std::string(1, '\0'));
  std::vector<Entry> entries;
  EXPECT_EQ(UnpackAll(&entries), 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].content, "AXCD");
  EXPECT_TRUE(entries[0].crcError);
}

// Entry names never lead out of the directory the archive is unpacked in.
TEST_F(ArchiveTest, RefusesEntryNamesThatAreNoPlainFileName) {
  const std::string names[] = {
      std::string("..\0", 3), "../EVIL.TXT", "/EVIL.TXT", "SUB/EVIL.TXT", "..\\EVIL.TXT", "C:EVIL.TXT",
      std::string(1, '\0'), "ABCDEFGHIJKLMN",   // no terminator in the field
  };
  cp1::TableModel t;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    cp1::HeaderFields h;
    h.name14 = cp1::Name14(name);
    h.length = 3;
    h.crc = cp1::Crc16("ABC");
    WriteFile(kArchive, cp1::Header(h) + cp1::PackCodes({t.Single('A'), t.Single('B'), t.Single('C')}) +
                            std::string(1, '\0'));
    RecordingScreenHook screen;
    std::vector<Entry> entries;
    EXPECT_EQ(UnpackAll(&entries), -1);
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(Shown(screen, "box", 50040));
  }
}

// The work file is created anew: a link of its name is replaced, not written through.
TEST_F(ArchiveTest, WorkFileIsNeverWrittenThroughALink) {
  fs::create_directory("elsewhere");
  WriteFile("elsewhere/keep.txt", "keep");
  fs::create_symlink(dir + "elsewhere/keep.txt", "tempxxxx.$$$");
  WriteFile("TEXT.TXT", "new content");
  ASSERT_TRUE(Pack({{"TEXT.TXT", 0}}));
  std::vector<Entry> entries;
  EXPECT_EQ(UnpackAll(&entries), 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].content, "new content");
  EXPECT_EQ(ReadFile("elsewhere/keep.txt"), "keep");
  EXPECT_FALSE(fs::is_symlink("tempxxxx.$$$"));
}

// ---- CompareFiles

TEST_F(ArchiveTest, CompareFilesComparesBytesExactly) {
  RecordingScreenHook screen;
  const std::string block(3000, 'k');
  struct Case {
    std::string a, b;
    int result;
  } cases[] = {
      {"", "", 0},
      {block + "Faktura", block + "Faktura", 0},
      {block + "Faktura", block + "FAKTURA", 1},   // letter case counts
      {block + "abc", block + "abcd", 1},          // one is a prefix of the other
      {"abc", "abd", 1},
  };
  for (const Case& c : cases) {
    WriteFile("A.DAT", c.a);
    WriteFile("B.DAT", c.b);
    EXPECT_EQ(CompareFiles("A.DAT", "B.DAT"), c.result) << c.a.size() << " " << c.b.size();
    EXPECT_EQ(CompareFiles("B.DAT", "A.DAT"), c.result);
  }
  EXPECT_EQ(CompareFiles("A.DAT", "MISSING.DAT"), -1);
  EXPECT_EQ(CompareFiles("MISSING.DAT", "A.DAT"), -1);
}

}  // namespace
