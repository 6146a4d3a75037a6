#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "env/messages.h"
#include "interchange/packed_set.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;

const char* const kArchive = "KORB_2026.EXP";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = char(gen() & 0xFF);
  return s;
}

// Offsets of the entry headers (the test data never holds "CP1" itself).
std::vector<size_t> HeaderOffsets(const std::string& archive) {
  std::vector<size_t> out;
  for (size_t at = archive.find("CP1"); at != std::string::npos; at = archive.find("CP1", at + 1)) out.push_back(at);
  return out;
}

std::vector<std::string> FilesHere() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class PackedSetTest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    fs::create_directory("export");
    fs::create_directory("import");
  }
  FixedClock clock;
  RecordingScreenHook screen;
};

TEST_F(PackedSetTest, PacksByMasksAndUnpacksElsewhere) {
  fs::current_path("export");
  const std::string sales = RandomBytes(30000, 1), lines = std::string(5000, 'L'), cash = "cash";
  WriteFile("Z5SPEX26.DBF", sales);
  WriteFile("Z5SPEX26.MDX", "index");
  WriteFile("Z5ESEX26.DBF", lines);
  WriteFile("Z5KASAEX.DBF", cash);
  WriteFile("OTHER.DBF", "stays");
  const PackedFileMask masks[] = {{"Z5SPEX26.DBF", 0}, {"Z5E*.DBF", 0}, {"z5kasaex.dbf", 0}, {nullptr, 0}};
  ASSERT_EQ(Compress2(masks, kArchive, 1), 1);
  // The packed tables and the index of each are gone, the rest stays.
  EXPECT_EQ(FilesHere(), (std::vector<std::string>{kArchive, "OTHER.DBF"}));

  fs::rename(kArchive, "../import/" + std::string(kArchive));
  fs::current_path("../import");
  ASSERT_EQ(Decompress2(kArchive), 1);
  EXPECT_EQ(Slurp("Z5SPEX26.DBF"), sales);
  EXPECT_EQ(Slurp("Z5ESEX26.DBF"), lines);
  EXPECT_EQ(Slurp("Z5KASAEX.DBF"), cash);
  EXPECT_EQ(FilesHere().size(), 4u);   // no work file left behind
  EXPECT_TRUE(screen.shown.empty());
}

// Names on disk are UTF-8; in the header they are code page 1250.
TEST_F(PackedSetTest, PolishFileNamesTravelInCodePage1250) {
  fs::current_path("export");
  WriteFile("\xC5\xBB\xC3\x93\xC5\x81W.DBF", "turtle");   // ŻÓŁW.DBF
  const PackedFileMask masks[] = {{"*.DBF", 0}, {"*.EXP", 0}, {nullptr, 0}};
  ASSERT_EQ(Compress2(masks, kArchive, 1), 1);
  const std::string archive = Slurp(kArchive);
  ASSERT_EQ(HeaderOffsets(archive).size(), 1u);   // the archive did not pack itself
  EXPECT_EQ(archive.substr(20, 9), std::string("\xAF\xD3\xA3W.DBF\0", 9));
  EXPECT_EQ(FilesHere(), std::vector<std::string>{kArchive});
  fs::rename(kArchive, "../import/" + std::string(kArchive));
  fs::current_path("../import");
  ASSERT_EQ(Decompress2(kArchive), 1);
  EXPECT_EQ(Slurp("\xC5\xBB\xC3\x93\xC5\x81W.DBF"), "turtle");
}

TEST_F(PackedSetTest, EmptyMaskListGivesOnlyTheEndMark) {
  const PackedFileMask masks[] = {{nullptr, 0}};
  ASSERT_EQ(Compress2(masks, kArchive, 1), 1);
  EXPECT_EQ(Slurp(kArchive), std::string(1, '\0'));
  EXPECT_EQ(Decompress2(kArchive), 1);
}

// The files go only when the archive holding them is complete.
TEST_F(PackedSetTest, FailedPackingDeletesNothing) {
  WriteFile("A.DBF", "first");
  WriteFile("A.MDX", "index");
  WriteFile("LONGER_THAN_13.DBF", "cannot be named in a header");
  const PackedFileMask masks[] = {{"*.DBF", 0}, {nullptr, 0}};
  EXPECT_EQ(Compress2(masks, kArchive, 1), 0);
  EXPECT_EQ(Slurp("A.DBF"), "first");
  EXPECT_EQ(Slurp("A.MDX"), "index");
  EXPECT_TRUE(fs::exists("LONGER_THAN_13.DBF"));

  const PackedFileMask missing[] = {{"A.DBF", 0}, {nullptr, 0}};
  EXPECT_EQ(Compress2(missing, "no_such_dir/X.EXP", 1), 0);
  EXPECT_TRUE(fs::exists("A.DBF"));
}

TEST_F(PackedSetTest, MissingArchiveIsReported) {
  EXPECT_EQ(Decompress2("NOTHERE.EXP"), 0);
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_NE(screen.shown[0].text.find(EnvFindString(50034)), std::string::npos);
  EXPECT_NE(screen.shown[0].text.find("NOTHERE.EXP"), std::string::npos);
}

// Records of a table, different in every file.
std::string Table(char mark) {
  std::string records;
  for (int i = 0; i < 60; i++) records += std::string(" ") + mark + " Towar " + std::to_string(i * 37 % 101) + " szt. 1.000 ";
  return records;
}

// Damaged data may also make the unpacker run past its entry, into the wait
// for another volume: every test of a damaged set keeps an Esc ready for it.
class DamagedSetTest : public PackedSetTest {
 protected:
  void SetUp() override {
    PackedSetTest::SetUp();
    fs::current_path("export");
    WriteFile("ONE.DBF", Table('1'));
    WriteFile("TWO.DBF", Table('2'));
    WriteFile("THREE.DBF", Table('3'));
    const PackedFileMask masks[] = {{"ONE.DBF", 0}, {"TWO.DBF", 0}, {"THREE.DBF", 0}, {nullptr, 0}};
    ASSERT_EQ(Compress2(masks, kArchive, 0), 1);
    archive = Slurp(kArchive);
    headers = HeaderOffsets(archive);
    ASSERT_EQ(headers.size(), 3u);
    fs::current_path("../import");
    // Older copies that only a sound entry may replace.
    WriteFile("TWO.DBF", "old two");
    WriteFile("THREE.DBF", "old three");
  }
  void Damage(size_t offset) {
    screen.keys = {SCREEN_KEY_ESC};
    std::string bytes = archive;
    bytes[offset] ^= 0x20;
    WriteFile(kArchive, bytes);
  }
  std::string archive;
  std::vector<size_t> headers;
};

TEST_F(DamagedSetTest, DamagedDataAndEscStops) {
  Damage(headers[1] + 114 + 20);
  screen.answers = {SCREEN_KEY_ESC};
  EXPECT_EQ(Decompress2(kArchive), 0);
  EXPECT_EQ(Slurp("ONE.DBF"), Table('1'));
  EXPECT_EQ(Slurp("TWO.DBF"), "old two");
  EXPECT_EQ(Slurp("THREE.DBF"), "old three");
  EXPECT_EQ(FilesHere(), (std::vector<std::string>{kArchive, "ONE.DBF", "THREE.DBF", "TWO.DBF"}));
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].title, EnvFindString(50039));
  EXPECT_EQ(screen.shown[0].text, EnvFindString(50006));
}

TEST_F(DamagedSetTest, DamagedDataAndYesGoesOnWithTheNextEntry) {
  Damage(headers[1] + 114 + 20);
  screen.answers = {'T'};
  EXPECT_EQ(Decompress2(kArchive), 1);
  EXPECT_EQ(Slurp("ONE.DBF"), Table('1'));
  EXPECT_EQ(Slurp("TWO.DBF"), "old two");
  EXPECT_EQ(Slurp("THREE.DBF"), Table('3'));
  EXPECT_EQ(FilesHere().size(), 4u);
}

// A header with a wrong checksum is not trusted for a name or a length.
TEST_F(DamagedSetTest, DamagedHeaderIsAskedAboutAndSkipped) {
  Damage(headers[1] + 30);   // inside the name field
  screen.answers = {'T'};
  EXPECT_EQ(Decompress2(kArchive), 1);
  EXPECT_EQ(Slurp("TWO.DBF"), "old two");
  EXPECT_EQ(Slurp("THREE.DBF"), Table('3'));
  EXPECT_EQ(FilesHere().size(), 4u);
  EXPECT_EQ(screen.shown.size(), 1u);
}

TEST_F(DamagedSetTest, TruncatedArchiveLeavesNoHalfFile) {
  WriteFile(kArchive, archive.substr(0, headers[2] + 114 + 10));
  screen.keys = {SCREEN_KEY_ESC};
  EXPECT_EQ(Decompress2(kArchive), 0);
  EXPECT_EQ(Slurp("TWO.DBF"), Table('2'));
  EXPECT_EQ(Slurp("THREE.DBF"), "old three");
  EXPECT_EQ(FilesHere().size(), 4u);
}

// Links in the target directory are replaced, never written through.
TEST_F(PackedSetTest, UnpackingNeverWritesThroughLinks) {
  fs::current_path("export");
  WriteFile("LINKED.DBF", "from the archive");
  const PackedFileMask masks[] = {{"LINKED.DBF", 0}, {nullptr, 0}};
  ASSERT_EQ(Compress2(masks, kArchive, 0), 1);
  fs::current_path("../import");
  fs::rename("../export/" + std::string(kArchive), kArchive);
  WriteFile("../outside.txt", "keep");
  WriteFile("../outside2.txt", "keep too");
  fs::create_symlink(dir + "outside.txt", "LINKED.DBF");
  fs::create_symlink(dir + "outside2.txt", "temp0000.$$$");
  ASSERT_EQ(Decompress2(kArchive), 1);
  EXPECT_EQ(Slurp("../outside.txt"), "keep");
  EXPECT_EQ(Slurp("../outside2.txt"), "keep too");
  EXPECT_FALSE(fs::is_symlink("LINKED.DBF"));
  EXPECT_EQ(Slurp("LINKED.DBF"), "from the archive");
}

}  // namespace
