#include "interchange/registry.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "platform/dirs.h"
#include "platform/paths.h"
#include "tests/interchange/interchange_fixture.h"

namespace {

class RegistryTest : public InterchangeTest {
 protected:
  void SetUp() override {
    InterchangeTest::SetUp();
    RegKeyInit(&key, REG_CURRENT_USER);
  }
  void TearDown() override {
    RegKeyRelease(&key);
    InterchangeTest::TearDown();
  }
  std::string StoreFile() const { return Path("config/zelsal/registry.txt"); }
  RegKeyCtx key;
};

TEST_F(RegistryTest, NestedKeysOpenRelativeToTheOpenKeyOrAbsoluteBelowTheRoot) {
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Ostrel", 1), 1);
  EXPECT_STREQ(key.path, "Software\\Ostrel");
  ASSERT_EQ(RegKeyOpen(&key, "WinZelm\\Drives", 1), 1);
  EXPECT_STREQ(key.path, "Software\\Ostrel\\WinZelm\\Drives");
  ASSERT_EQ(RegWriteText(&key, "C", "/srv/c"), 1);

  // Absolute while a key is open: below the root, not below the open key.
  EXPECT_EQ(RegKeyOpen(&key, "\\Software", 0), 1);
  EXPECT_EQ(RegKeyExists(&key, "Ostrel\\WinZelm\\Drives"), 1);
  EXPECT_EQ(RegKeyExists(&key, "\\Ostrel"), 0);
  EXPECT_EQ(RegKeyExists(&key, "\\software\\OSTREL\\winzelm"), 1);   // names ignore case
  std::string odd = Utf8ToMazText("\\Software\\Klucz [ł] \"100%\"");
  ASSERT_EQ(RegKeyCreate(&key, odd.c_str()), 1);
  EXPECT_EQ(RegKeyExists(&key, odd.c_str()), 1);   // read back from the file

  // A missing key without the create flag: refused, logged, the open key stays.
  EXPECT_EQ(RegKeyOpen(&key, "Nowhere", 0), 0);
  EXPECT_STREQ(key.path, "\\Software");
  EXPECT_NE(Log().find("LGM(250): Nowhere"), std::string::npos);

  RegKeyRelease(&key);
  EXPECT_STREQ(key.path, "");
  ASSERT_EQ(RegKeyOpen(&key, "SOFTWARE\\ostrel\\WINZELM\\drives", 0), 1);
  char text[32];
  EXPECT_EQ(RegReadText(&key, "c", text, sizeof text), 1);
  EXPECT_STREQ(text, "/srv/c");
}

TEST_F(RegistryTest, TypedValuesReadBackAndTypeChecksOfTexts) {
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Test", 1), 1);
  double pi = 3.25;
  unsigned char blob[] = {0, 1, 0xFF, '"', '\\', 0x0A};
  unsigned char qword[8] = {1, 0, 0, 0, 2, 0, 0, 0};
  std::string polish = Utf8ToMazText("Zażółć \"gęślą\" \\ jaźń\n");
  ASSERT_EQ(RegWriteText(&key, "Text", polish.c_str()), 1);
  ASSERT_EQ(RegWriteInt(&key, "Int", -7), 1);
  ASSERT_EQ(RegWriteDouble(&key, "Double", &pi), 1);
  ASSERT_EQ(RegWriteBinary(&key, "Blob", blob, sizeof blob), 1);
  ASSERT_EQ(RegWriteValue(&key, "Qword", qword, 8, REG_TYPE_INT64), 1);
  ASSERT_EQ(RegWriteValue(&key, "Bare", "abc", 3, REG_TYPE_TEXT), 1);   // a text without its NUL

  RegKeyCtx other;
  RegKeyInit(&other, REG_CURRENT_USER);
  ASSERT_EQ(RegKeyOpen(&other, "\\Software\\Test", 0), 1);
  char text[64];
  EXPECT_EQ(RegReadText(&other, "Text", text, sizeof text), 1);
  EXPECT_EQ(std::string(text), polish);
  EXPECT_EQ(RegReadInt(&other, "Int"), -7);
  EXPECT_EQ(RegReadDouble(&other, "Double"), 3.25);
  RegQword q;
  RegReadQword(&other, "Qword", &q);
  EXPECT_EQ(q.low, 1);
  EXPECT_EQ(q.high, 2);
  unsigned char back[16];
  uint32_t type = 0;
  EXPECT_EQ(RegReadValue(&other, "Blob", back, sizeof back, &type), 6);
  EXPECT_EQ(type, REG_TYPE_BINARY);
  EXPECT_EQ(std::memcmp(back, blob, 6), 0);
  // A text stored without its NUL is still terminated in the caller's buffer.
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(RegReadText(&other, "Bare", text, 4), 1);
  EXPECT_STREQ(text, "abc");

  // A 4-byte number is no text; a value that does not fit the buffer, or is missing, is not read.
  EXPECT_EQ(RegReadText(&other, "Int", text, sizeof text), 0);
  EXPECT_EQ(RegReadValue(&other, "Blob", back, 5, &type), 0);
  EXPECT_EQ(RegReadInt(&other, "Missing"), -1);
  EXPECT_EQ(RegReadDouble(&other, "Missing"), 0);
  EXPECT_NE(Log().find("LGM(251): Blob Missing"), std::string::npos);
  RegKeyRelease(&other);
}

TEST_F(RegistryTest, EnumerationInfoRenameAndDelete) {
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Enum", 1), 1);
  for (const char* sub : {"beta", "Alpha", "gamma"}) ASSERT_EQ(RegKeyCreate(&key, sub), 1);
  ASSERT_EQ(RegWriteInt(&key, "Zeta", 1), 1);
  ASSERT_EQ(RegWriteText(&key, "eta", "longest value"), 1);
  ASSERT_EQ(RegWriteInt(&key, "theta", 3), 1);

  RegKeyInfoRec info;
  ASSERT_EQ(RegKeyInfo(&key, &info), 1);
  EXPECT_EQ(info.subkeys, 3u);
  EXPECT_EQ(info.longestSubkeyName, 5u);
  EXPECT_EQ(info.values, 3u);
  EXPECT_EQ(info.longestValueName, 5u);
  EXPECT_EQ(info.longestValueData, 14u);
  EXPECT_GT(info.lastChange, 0);

  std::string subkeys, values;
  char name[32];
  for (uint32_t i = 0; RegKeyEnumSubkey(&key, i, name, sizeof name); i++) subkeys += std::string(name) + ",";
  for (uint32_t i = 0; RegKeyEnumValue(&key, i, name, sizeof name); i++) values += std::string(name) + ",";
  EXPECT_EQ(subkeys, "Alpha,beta,gamma,");
  EXPECT_EQ(values, "eta,theta,Zeta,");

  EXPECT_EQ(RegValueRename(&key, "Zeta", "ETA"), 0);   // the new name exists (in another case)
  EXPECT_EQ(RegReadInt(&key, "Zeta"), 1);
  EXPECT_EQ(RegValueRename(&key, "Zeta", "Iota"), 1);
  uint32_t type = 0, size = 0;
  EXPECT_EQ(RegValueInfo(&key, "Iota", &type, &size), 1);
  EXPECT_EQ(type, REG_TYPE_INT32);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(RegValueExists(&key, "Zeta"), 0);
  EXPECT_EQ(RegValueRename(&key, "Zeta", "Kappa"), 0);  // the old one is gone
  EXPECT_EQ(RegValueDelete(&key, "iota"), 1);
  EXPECT_EQ(RegValueDelete(&key, "iota"), 0);
}

TEST_F(RegistryTest, DeleteTreeRemovesNestedSubkeysAndOnlyThatTree) {
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Tree\\A\\B\\C", 1), 1);
  ASSERT_EQ(RegWriteInt(&key, "deep", 1), 1);
  ASSERT_EQ(RegKeyCreate(&key, "\\Software\\Tree\\A\\B2"), 1);
  ASSERT_EQ(RegKeyCreate(&key, "\\Software\\Tree\\Keep"), 1);
  ASSERT_EQ(RegKeyOpen(&key, "\\Software\\Tree", 0), 1);
  EXPECT_EQ(RegKeyDeleteTree(&key, "A"), 1);
  EXPECT_EQ(RegKeyExists(&key, "A"), 0);
  EXPECT_EQ(RegKeyExists(&key, "Keep"), 1);
  EXPECT_STREQ(key.path, "\\Software\\Tree");   // the record's key is given back
  EXPECT_EQ(RegKeyDeleteTree(&key, "A"), 0);
  EXPECT_EQ(RegKeyDeleteTree(&key, ""), 0);     // never the open key itself by accident
  EXPECT_EQ(RegKeyExists(&key, "Keep"), 1);
}

TEST_F(RegistryTest, StoreSurvivesARestartOfTheProgram) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RegKeyCtx k;
    RegKeyInit(&k, REG_CURRENT_USER);
    int ok = RegKeyOpen(&k, "Software\\Ostrel\\WinZelm", 1) && RegWriteInt(&k, "Run", 42);
    RegKeyRelease(&k);
    SaveBir1Sid("SESSION-1");
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  char sid[31];
  LoadBir1Sid(sid, sizeof sid);
  EXPECT_STREQ(sid, "SESSION-1");
  ASSERT_EQ(RegKeyOpen(&key, REG_PRODUCT_KEY, 0), 1);
  EXPECT_EQ(RegReadInt(&key, "Run"), 42);
  // No temporary file is left beside the store.
  std::vector<PlatDirEntry> left;
  PlatListDir(Path("config/zelsal").c_str(), "*.TMP", &left);
  EXPECT_TRUE(left.empty());
}

TEST_F(RegistryTest, MissingSessionIdentifierLeavesTheBufferEmpty) {
  char sid[31];
  std::memset(sid, 'x', sizeof sid);
  LoadBir1Sid(sid, sizeof sid);
  EXPECT_EQ(sid[0], '\0');
  EXPECT_EQ(sid[30], '\0');
}

TEST_F(RegistryTest, DamagedStoreIsReadAsFarAsItGoesAndNeverOverwritten) {
  std::string damaged =
      "; hand-edited\n"
      "[Software\\Ostrel\\WinZelm\\Drives]\n"
      "\"D\"=text:\"/mnt/d\"\n"
      "this line is not ours\n";
  PlatMkDirs(Path("config/zelsal").c_str());
  WriteFile(StoreFile(), damaged);
  EXPECT_EQ(RegDriveRootLookup('d'), "/mnt/d");
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Drives", 0), 1);
  EXPECT_EQ(RegWriteText(&key, "E", "/mnt/e"), 0);
  EXPECT_NE(Log().find("LGM(252): E"), std::string::npos);
  EXPECT_EQ(ReadFile(StoreFile()), damaged);
}

std::string DeepPath(size_t levels) {
  std::string path = "K";
  for (size_t i = 1; i < levels; i++) path += "\\K";
  return path;
}

TEST_F(RegistryTest, KeyDeeperThanTheStoreKeepsMarksItDamaged) {
  std::string deep =
      "[Software\\Ostrel\\WinZelm\\Drives]\n"
      "\"D\"=text:\"/mnt/d\"\n"
      "[" + DeepPath(100000) + "]\n"
      "\"X\"=text:\"x\"\n";
  PlatMkDirs(Path("config/zelsal").c_str());
  WriteFile(StoreFile(), deep);
  EXPECT_EQ(RegDriveRootLookup('d'), "/mnt/d");
  EXPECT_EQ(RegKeyExists(&key, "K"), 0);
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Drives", 0), 1);
  EXPECT_EQ(RegWriteText(&key, "E", "/mnt/e"), 0);
  EXPECT_EQ(ReadFile(StoreFile()), deep);
}

TEST_F(RegistryTest, KeysAreCreatedDownToTheDepthLimit) {
  struct Case {
    size_t levels;
    int created;
  };
  for (const Case& c : {Case{REG_MAX_DEPTH, 1}, Case{REG_MAX_DEPTH + 1, 0}}) {
    SCOPED_TRACE(c.levels);
    std::string path = "\\" + DeepPath(c.levels);
    EXPECT_EQ(RegKeyCreate(&key, path.c_str()), c.created);
    EXPECT_EQ(RegKeyExists(&key, path.c_str()), c.created);
    RegKeyCtx other;
    RegKeyInit(&other, REG_CURRENT_USER);
    EXPECT_EQ(RegKeyOpen(&other, path.c_str(), 1), c.created);
    RegKeyRelease(&other);
  }
  // The refused key left the store as it was.
  EXPECT_EQ(RegKeyExists(&key, ("\\" + DeepPath(REG_MAX_DEPTH)).c_str()), 1);
}

TEST_F(RegistryTest, DriveRootsComeFromTheProductKey) {
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Drives", 1), 1);
  ASSERT_EQ(RegWriteText(&key, "K", "/srv/k"), 1);
  EXPECT_EQ(RegDriveRootLookup('k'), "/srv/k");
  EXPECT_EQ(RegDriveRootLookup('L'), "");
  std::string before = Log();
  PlatSetDriveRootLookup(RegDriveRootLookup);
  unsetenv("ZELSAL_DRIVE_K");
  EXPECT_EQ(PlatTranslatePath("K:\\FIRMA\\Z5.DBF"), "/srv/k/FIRMA/Z5.DBF");
  PlatSetDriveRootLookup(nullptr);
  EXPECT_EQ(Log(), before);   // a drive without a root is no error
}

}  // namespace
