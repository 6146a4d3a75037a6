// Jobs through a private cupsd started by the test: its own configuration,
// spool and socket in the test's folder, one raw queue whose backend copies
// every job to a file.
#include <cups/cups.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/process.h"
#include "print/settings_dialog.h"
#include "tests/print/print_fixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
constexpr char kQueue[] = "zelsal-test";
constexpr char kCupsd[] = "/usr/sbin/cupsd";

bool SocketAnswers(const std::string& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

class CupsTest : public PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    if (HasFatalFailure()) return;
    std::string why = StartCupsd();
    if (!why.empty()) GTEST_SKIP() << "cupsd cannot start here: " << why;
    ASSERT_EQ(AddQueue(), "");
  }
  void TearDown() override {
    StopCupsd();
    PrintTest::TearDown();
  }

  std::string StartCupsd() {
    if (access(kCupsd, X_OK) != 0) return std::string(kCupsd) + " is not installed (package cups-daemon)";
    root = dir + "cups/";
    socketPath = root + "cups.sock";
    if (socketPath.size() >= sizeof(sockaddr_un{}.sun_path)) return "the socket path is too long: " + socketPath;
    for (const char* sub : {"bin/backend", "spool", "cache", "state", "tmp", "logs"}) fs::create_directories(root + sub);
    fs::create_directory_symlink("/usr/lib/cups/daemon", root + "bin/daemon");
    // A raw job to a file: device writes nothing, so the backend copies it.
    WriteFile(root + "bin/backend/copy",
              "#!/bin/sh\n"
              "if [ $# -eq 0 ]; then echo 'direct copy \"Unknown\" \"Copy\"'; exit 0; fi\n"
              "if [ -n \"$6\" ]; then cat \"$6\" >> '" + dir + "job.out'; else cat >> '" + dir + "job.out'; fi\n");
    chmod((root + "bin/backend/copy").c_str(), 0700);   // backends of mode 0700 run as root
    WriteFile(root + "cupsd.conf",
              "Listen " + socketPath + "\nLogLevel warn\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
              "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
              "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
    WriteFile(root + "cups-files.conf",
              "ServerBin " + root + "bin\nServerRoot " + root + "\nStateDir " + root + "state\nCacheDir " + root +
                  "cache\nRequestRoot " + root + "spool\nTempDir " + root + "tmp\nErrorLog " + root +
                  "logs/error_log\nAccessLog " + root + "logs/access_log\nPageLog " + root +
                  "logs/page_log\nPrintcap " + root + "printcap\n");
    std::vector<std::string> args = {kCupsd, "-f", "-c", root + "cupsd.conf", "-s", root + "cups-files.conf"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, kCupsd, nullptr, nullptr, argv.data(), environ) != 0) {
      pid = -1;
      return "posix_spawn failed";
    }
    for (int i = 0; i < 200; i++) {
      if (SocketAnswers(socketPath)) {
        setenv("CUPS_SERVER", socketPath.c_str(), 1);
        return "";
      }
      int status;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = -1;
        return "it exited at once: " + ReadFile(root + "logs/error_log");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "its socket did not answer within ten seconds";
  }

  void StopCupsd() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    int status;
    for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) != pid; i++)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (kill(pid, 0) == 0) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
    pid = -1;
  }

  // A raw queue, accepting jobs (the test's own unless named).
  std::string AddQueue(const char* name = kQueue) { return Admin(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name); }
  // The server's default queue.
  std::string SetDefault(const char* name) { return Admin(IPP_OP_CUPS_SET_DEFAULT, name); }

  std::string Admin(ipp_op_t operation, const char* name) {
    http_t* http = httpConnect2(socketPath.c_str(), 0, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr);
    if (http == nullptr) return "no connection";
    char uri[256];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s", name);
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    if (operation == IPP_OP_CUPS_ADD_MODIFY_PRINTER) {
      ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, "copy:/job");
      ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
      ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    }
    ippDelete(cupsDoRequest(http, request, "/admin/"));
    std::string result = cupsLastError() > IPP_STATUS_OK_CONFLICTING ? cupsLastErrorString() : "";
    httpClose(http);
    return result;
  }

  // The copied job once `done` says it is whole; bounded wait.
  std::string JobBytes(const std::function<bool(const std::string&)>& done) {
    std::string bytes;
    for (int i = 0; i < 400; i++) {
      if (fs::exists(dir + "job.out")) {
        bytes = ReadFile(dir + "job.out");
        if (done(bytes)) break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return bytes;
  }

  int QueueIndex() {
    std::vector<std::string> printers = BuildPrinterList();
    for (size_t i = 0; i < printers.size(); i++)
      if (printers[i] == kQueue) return static_cast<int>(i);
    return -1;
  }

  pid_t pid = -1;
  std::string root, socketPath;
};

TEST_F(CupsTest, RawJobArrivesUnchanged) {
  ASSERT_GE(QueueIndex(), 0);
  Printer.mode = 1;   // character mode
  Printer.family = PRN_EPSON9;
  Printer.output = 0;
  ASSERT_EQ(OpenSelectedPrinter(BuildPrinterList(), QueueIndex()), 1);
  ASSERT_EQ(OpenPrintJob("TST", "Test raw"), 0);
  std::string data;
  for (int c = 0; c < 256; c++) data += static_cast<char>(c);
  ASSERT_EQ(fwrite_spec(data.data(), static_cast<int>(data.size()), 0), 0);
  deinit_prn();
  const std::string expected = "\x0F" + data + "\x12\x1BH";
  EXPECT_EQ(JobBytes([&](const std::string& b) { return b.size() >= expected.size(); }), expected);
}

// The dialog takes the first entry when no printer is stored: the default
// queue comes first whatever its place among the names.
TEST_F(CupsTest, TheDefaultQueueIsListedFirst) {
  ASSERT_EQ(AddQueue("aaa-other"), "");
  ASSERT_EQ(AddQueue("zzz-other"), "");
  unsetenv("LPDEST");
  unsetenv("PRINTER");
  unsetenv("ZELSAL_PRINTERS");
  for (const char* preferred : {kQueue, "zzz-other", "aaa-other"}) {
    ASSERT_EQ(SetDefault(preferred), "");
    std::vector<std::string> listed = BuildPrinterList();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], preferred);
  }
}

TEST_F(CupsTest, DeviceContextPageArrivesAsPdf) {
  WriteProgramFile("he12x32.fnt", BitmapFont(12, 32, [](int c, int) {
                     return c == 'A' ? std::string("\xFF\xF0", 2) : std::string(2, '\0');
                   }));
  PlatPrinterCaps caps;
  EXPECT_EQ(PlatPrinterCapabilities(kQueue, &caps), 0);
  EXPECT_GT(caps.dpiX, 0);
  Printer.mode = 0;   // graphic mode: PCL replayed onto the page document
  Printer.fontNo = 9;
  Printer.output = 0;
  ASSERT_EQ(OpenSelectedPrinter(BuildPrinterList(), QueueIndex()), 1);
  ComputePageGeometry(1);
  ASSERT_EQ(OpenPrintJob("TST", "Test PDF"), 0);
  ASSERT_EQ(drukuj("AAA"), 0);
  ASSERT_EQ(drukuj_line_feed(1), 0);
  deinit_prn();
  EXPECT_FALSE(PlatFileExists(Path("Wydruk.prn").c_str()));   // printed to the printer, then removed

  std::string pdf = JobBytes([](const std::string& b) { return b.find("%%EOF") != std::string::npos; });
  ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
  WriteFile(Path("job.pdf"), pdf);
  int code = -1;
  ASSERT_EQ(PlatRunProgram("sh", {"-c", "pdfinfo job.pdf > info.txt && pdftotext job.pdf text.txt"}, nullptr, &code),
            PLAT_OK);
  ASSERT_EQ(code, 0) << "pdfinfo or pdftotext (poppler-utils) failed";
  const std::string info = ReadFile(Path("info.txt"));
  auto field = [&](const char* name) {
    size_t at = info.find(name);
    if (at == std::string::npos) return std::string();
    at = info.find_first_not_of(' ', at + std::strlen(name));
    return info.substr(at, info.find('\n', at) - at);
  };
  EXPECT_EQ(field("Pages:"), "1");
  EXPECT_EQ(field("Title:"), "PCL");
  EXPECT_EQ(field("Page size:").substr(0, 16), "595.276 x 841.89");   // A4 without a size from the queue
  // The page is the replayed bitmap: no text layer.
  EXPECT_EQ(ReadFile(Path("text.txt")).find_first_not_of("\f\n "), std::string::npos);
}

}  // namespace
