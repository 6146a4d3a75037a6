// The exchange with the bookkeeping program through the real program,
// headless: START > " Administrator " > " EKSPORT " writes the archive of
// March, " IMPORT " merges an archive the test packs, and a directory
// without archives is refused.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "env/paths.h"
#include "interchange/packed_set.h"
#include "platform/dirs.h"
#include "tables/exchange_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tests/sales/sales_road.h"
#include "tests/support/small_medium.h"

namespace {

constexpr const char* INTO_ADMIN = "s{ENTER}a";

class BookkeepingRoadTest : public SalesRoadTest {
 protected:
  void SetUp() override {
    SalesRoadTest::SetUp();
    if (HasFatalFailure()) return;
    drive = dir + "c/";
    std::filesystem::create_directories(drive);
    setenv("ZELSAL_DRIVE_C", drive.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("ZELSAL_DRIVE_C");
    SalesRoadTest::TearDown();
  }
  std::string Firm() { return home + "firma1/"; }
  std::string ZelmArchive();
  // The firm with its seller data, ready for an import.
  void FirmWithSeller() {
    MakeFirmWithSales();
    OpenFirmHeaders();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PAWL(), 0);
    SetFields(Z5PAWL.table, {{"NA1", "Firma Testowa"}, {"NIP", "526-000-12-34"}});
    ASSERT_EQ(d4write(Z5PAWL.table, 1), 0);
    d4close_all(&env->engine);
  }
  long Accounts() {
    TransDir(EnvFromDiskPath(Firm()).c_str(), &env->dataPath);
    EXPECT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
    EXPECT_EQ(OpenZ5KONT(0), 0);
    long count = d4reccount(Z5KONT.table);
    d4close_all(&env->engine);
    EXPECT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
    return count;
  }
  std::string drive;
};

constexpr const char* DAMAGED = "Zbiór archiwalny jest uszkodzony lub niekompletny !";
constexpr const char* NEXT_VOLUME = "Brak zbioru archiwalnego !";

// The archive's two volumes, split inside the last entry's data: the second
// begins with the entry's header numbered 2, its checksum made anew.
std::pair<std::string, std::string> TwoVolumes(const std::string& whole) {
  size_t last = std::string::npos;
  for (size_t at = whole.find("CP1"); at != std::string::npos; at = whole.find("CP1", at + 1)) {
    unsigned sum = 0;
    for (size_t i = at + 5; i < at + 114 && i < whole.size(); i++) sum += static_cast<unsigned char>(whole[i]);
    if (at + 114 <= whole.size() && static_cast<unsigned char>(whole[at + 4]) == (sum & 0xFF)) last = at;
  }
  if (last == std::string::npos) return {};
  const size_t cut = last + 114 + (whole.size() - last - 114) / 2;
  std::string continuation = whole.substr(last, 114);
  continuation[10] = 2;
  unsigned sum = 0;
  for (size_t i = 5; i < 114; i++) sum += static_cast<unsigned char>(continuation[i]);
  continuation[4] = static_cast<char>(sum & 0xFF);
  return {whole.substr(0, cut), continuation + whole.substr(cut)};
}

// The processor time a process has used so far, in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t close = stat.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int n = 3; fields >> field; n++) {
    if (n == 14) utime = std::stol(field);
    if (n == 15) {
      stime = std::stol(field);
      return utime + stime;
    }
  }
  return -1;
}

TEST_F(BookkeepingRoadTest, ExportWritesTheArchiveOfTheMonth) {
  MakeFirmWithSales();
  OpenFirmHeaders();
  if (HasFatalFailure()) return;
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"REC", "1"}, {"DAW", "20250331"},
                              {"NA1", "Hurtownia"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "2"}, {"REC", "2"}, {"DAW", "20250401"},
                              {"NA1", "Kwiecień"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"REC", "1"}, {"TYV", "1"}, {"NA1", "towar"}});
  d4close_all(&env->engine);
  // The dialog proposes March of 2025 and the file name of today.
  Outcome dialog = Run(std::string(LOGO) + INTO_ADMIN + "e");
  EXPECT_TRUE(Has(dialog, "data od..... 01-03/25")) << dialog.screen;
  EXPECT_TRUE(Has(dialog, "data do..... 31-03/25")) << dialog.screen;
  EXPECT_TRUE(Has(dialog, "KORB_2025_20250310_")) << dialog.screen;
  // F2 and T: the export of March.
  RunToEnd(std::string(LOGO) + INTO_ADMIN + "e{F2}tx{ESC}{ESC}");
  std::vector<PlatDirEntry> archives;
  ASSERT_EQ(PlatListDir(drive.c_str(), "KORB_2025_20250310_*.EXP", &archives), PLAT_OK);
  ASSERT_EQ(archives.size(), 1u);
  MakeDir("unpacked");
  ASSERT_EQ(PlatChDir((dir + "unpacked/").c_str()), PLAT_OK);
  ASSERT_EQ(Decompress2(EnvFromDiskPath(drive + archives[0].name).c_str()), 1);
  ASSERT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
  char headers[] = "Z5SPEX  .DBF";
  ASSERT_EQ(OpenZ5SPRZCopy(headers, 0, EnvFromDiskPath(dir + "unpacked/").c_str(), 2025), 0);
  ASSERT_EQ(d4reccount(SprzCopy.table), 1);
  d4go(SprzCopy.table, 1);
  EXPECT_EQ(FieldText(SprzCopy.table, "DAW"), "20250331");
  d4close_all(&env->engine);
}

// An archive from the bookkeeping program, as the import test packs it: the
// firm's own seller record and two accounts; its bytes.
std::string BookkeepingRoadTest::ZelmArchive() {
  std::string src = dir + "src/";
  std::filesystem::create_directories(src);
  std::filesystem::copy_file(Firm() + "Z5PAWL.DBF", src + "Z5PAWLEX.DBF");
  std::string source = EnvFromDiskPath(src);
  EXPECT_EQ(OpenZ5KONTCopy("Z5KONTEX.DBF", 1, source.c_str()), 0);
  AppendRecord(KontCopy.table, {{"NUM", "100"}, {"NAZ", "Kasa"}});
  AppendRecord(KontCopy.table, {{"NUM", "200"}, {"NAZ", "Bank"}});
  d4close_all(&env->engine);
  EXPECT_EQ(PlatChDir(src.c_str()), PLAT_OK);
  const PackedFileMask masks[] = {{"*.DBF", 0}, {nullptr, 0}};
  EXPECT_EQ(Compress2(masks, EnvFromDiskPath(dir + "ZELM.EXP").c_str(), 1), 1);
  EXPECT_EQ(PlatChDir(firm.c_str()), PLAT_OK);
  return ReadFile(dir + "ZELM.EXP");
}

TEST_F(BookkeepingRoadTest, ImportMergesAnArchiveAndRefusesAnEmptyDirectory) {
  FirmWithSeller();
  if (HasFatalFailure()) return;
  // No archive in C:\ yet: message 169, then Esc at the directory.
  Outcome refused = Run(std::string(LOGO) + INTO_ADMIN + "i{ENTER}");
  EXPECT_TRUE(Has(refused, "Brak plików formacie ZELM_2025_*.EXP")) << refused.screen;

  // The archive: the firm's own seller record and two accounts.
  WriteFile(drive + "ZELM_2025_1.EXP", ZelmArchive());
  if (HasFailure()) return;

  // The directory proposed, the one archive of the list, a key after the window.
  RunToEnd(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}x{ESC}{ESC}");
  TransDir(EnvFromDiskPath(Firm()).c_str(), &env->dataPath);
  ASSERT_EQ(ChangeDir(&env->dataPath, 0, 0), 0);
  ASSERT_EQ(OpenZ5KONT(0), 0);
  EXPECT_EQ(d4reccount(Z5KONT.table), 2);
  d4close_all(&env->engine);
  std::vector<PlatDirEntry> left;
  ASSERT_EQ(PlatListDir(Firm().c_str(), "*EX.DBF", &left), PLAT_OK);
  EXPECT_TRUE(left.empty());
}

// IMPORT of an archive cut at half its length, on a disk with room: it is
// reported as damaged, at once, and nothing is imported.
TEST_F(BookkeepingRoadTest, ImportOfACutArchiveReportsItDamaged) {
  FirmWithSeller();
  if (HasFatalFailure()) return;
  const std::string whole = ZelmArchive();
  WriteFile(drive + "ZELM_2025_1.EXP", whole.substr(0, whole.size() / 2));
  Outcome damaged = Run(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}");
  EXPECT_TRUE(Has(damaged, DAMAGED)) << damaged.screen;
  EXPECT_FALSE(Has(damaged, NEXT_VOLUME)) << damaged.screen;
  Outcome failed = Run(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}{ENTER}");
  EXPECT_TRUE(Has(failed, "Import zakończony błędnie.")) << failed.screen;
  RunToEnd(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}{ENTER}{ENTER}{ESC}{ESC}");
  EXPECT_EQ(Accounts(), 0);
  std::vector<PlatDirEntry> left;
  ASSERT_EQ(PlatListDir(Firm().c_str(), "*EX.DBF", &left), PLAT_OK);
  EXPECT_TRUE(left.empty());
  const std::string log = ReadFile(home + "ER.Log");
  EXPECT_EQ(log.find("ERRCODE"), std::string::npos) << log;
}

// The first volume of two on a full medium: the import waits for the next
// one. Esc in the key script ends the wait; while nothing is typed the wait
// sleeps between its tries, and once the medium with the second volume is in
// the import goes on.
TEST_F(BookkeepingRoadTest, ImportWaitsForTheNextVolumeAsleep) {
  FirmWithSeller();
  if (HasFatalFailure()) return;
  const auto [first, second] = TwoVolumes(ZelmArchive());
  ASSERT_FALSE(first.empty());
  SmallMedium medium;
  if (!medium.Mount(drive, 1 << 20)) GTEST_SKIP() << "no mount namespace for a small medium";
  const std::string archive = drive + "ZELM_2025_1.EXP";
  WriteFile(archive, first);
  medium.Fill();

  Outcome given = Run(std::string(LOGO) + INTO_ADMIN + "i{ENTER}{ENTER}{ESC}");
  EXPECT_TRUE(Has(given, "Import zakończony błędnie.")) << given.screen;
  EXPECT_FALSE(Has(given, NEXT_VOLUME)) << given.screen;
  EXPECT_EQ(Accounts(), 0);

  // Nothing typed: measured over two seconds of the wait.
  const std::string dump = dir + "waiting.txt";
  std::remove(dump.c_str());
  const std::string command = "cd '" + firm + "' && ZELSAL_HOME='" + home + "' ZELKIT_DATE='" + date +
                              "' ZELKIT_DISPLAY=headless ZELKIT_KEYS='" + LOGO + INTO_ADMIN +
                              "i{ENTER}{ENTER}' ZELKIT_DUMP='" + dump + "' exec '" ZELSAL_BINARY "' >'" + dir +
                              "waiting.out' 2>&1";
  pid_t program = fork();
  if (program == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), (char*)nullptr);
    _exit(127);
  }
  ASSERT_GT(program, 0);
  // Ends the program should a check below fail.
  struct Stopper {
    pid_t pid;
    ~Stopper() {
      if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
      }
    }
  } stopper{program};
  for (int i = 0; i < 600 && ReadFile(dump).find(NEXT_VOLUME) == std::string::npos; i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::string shown = ReadFile(dump);
  ASSERT_NE(shown.find(NEXT_VOLUME), std::string::npos) << shown << ReadFile(dir + "waiting.out");
  EXPECT_NE(shown.find("ESC - Przerwij"), std::string::npos) << shown;
  const long ticks0 = CpuTicks(program);
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const long ticks1 = CpuTicks(program);
  ASSERT_GE(ticks0, 0);
  ASSERT_GE(ticks1, ticks0);
  const double cpu = double(ticks1 - ticks0) / double(sysconf(_SC_CLK_TCK));
  EXPECT_LT(cpu, 0.2) << "cpu " << cpu << " s in 2 s of waiting";
  // The second medium goes in: the import goes on and merges the accounts;
  // the script then ends while the program waits for a key.
  std::filesystem::remove(archive);
  WriteFile(archive, second);
  medium.Fill();
  int status = 0;
  pid_t ended = 0;
  for (int i = 0; i < 600 && (ended = waitpid(program, &status, WNOHANG)) == 0; i++)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  if (ended == program) stopper.pid = 0;
  EXPECT_EQ(ended, program) << "the wait ends when the medium comes";
  EXPECT_TRUE(WIFEXITED(status)) << ReadFile(dir + "waiting.out");
  EXPECT_EQ(Accounts(), 2);
  medium.Unmount();
}

}  // namespace
