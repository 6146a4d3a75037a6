#include "interchange/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "env/code_pages.h"
#include "interchange/registry.h"
#include "platform/clock.h"
#include "platform/dirs.h"
#include "tests/interchange/interchange_fixture.h"

namespace {

// A device at the far end of a pseudo-terminal: it answers ENQ (0x05) with
// ACK (0x06) and keeps every byte it received.
class SimulatedDevice {
 public:
  explicit SimulatedDevice(int master) : master_(master), worker_([this] { Run(); }) {}
  ~SimulatedDevice() {
    stop_ = true;
    worker_.join();
  }
  std::string Received() {
    std::lock_guard<std::mutex> guard(mutex_);
    return received_;
  }
  // What it received once it holds `count` bytes (or after two seconds).
  std::string Received(size_t count) {
    for (int i = 0; i < 2000 && Received().size() < count; i++) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Received();
  }
  void Send(const std::string& bytes) { ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }

 private:
  void Run() {
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
      unsigned char c;
      if (read(master_, &c, 1) != 1) continue;
      std::lock_guard<std::mutex> guard(mutex_);
      received_ += static_cast<char>(c);
      if (c == 0x05) Send("\x06");
    }
  }
  int master_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::string received_;
  std::thread worker_;
};

class SerialPortTest : public InterchangeTest {
 protected:
  void SetUp() override {
    InterchangeTest::SetUp();
    master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    slavePath = ptsname(master);
    // Held open by the test, so the line's settings can be looked at.
    line = open(slavePath.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    setenv("ZELSAL_COM3", slavePath.c_str(), 1);
    device = new SimulatedDevice(master);
  }
  void TearDown() override {
    CloseCom();
    delete device;
    close(line);
    close(master);
    unsetenv("ZELSAL_COM3");
    InterchangeTest::TearDown();
  }
  int Open() { return OpenCom(3, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr); }
  termios Settings() {
    termios t{};
    EXPECT_EQ(tcgetattr(line, &t), 0);
    return t;
  }
  // Waits until the port's input queue holds `count` bytes sent by the device.
  void WaitForInput(int count) {
    auto start = std::chrono::steady_clock::now();
    int queued = 0;
    while ((ioctl(line, FIONREAD, &queued) != 0 || queued < count) && ElapsedMs(start) < 2000)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GE(queued, count);
  }
  static long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count());
  }
  int master = -1;
  int line = -1;
  std::string slavePath;
  SimulatedDevice* device = nullptr;
};

TEST_F(SerialPortTest, DialogueWithTheDeviceIsTracedInTheLog) {
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(ClearComBuffer(), 1);
  SetComTimeout(2);
  int error = 0;
  EXPECT_EQ(WaitComWrite(0x05, &error), 1);
  EXPECT_EQ(WaitComWrite('A', &error), 1);
  EXPECT_EQ(WaitComWrite(0x86, &error), 1);   // ą
  EXPECT_EQ(WaitComReceived(&error), 1);
  EXPECT_EQ(ReadCom(), 0x06);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(device->Received(3), "\x05" "A\x86");
  EXPECT_EQ(CloseCom(), 1);
  EXPECT_EQ(CloseCom(), 0);
  // In code page 1250 the marks 0x8B and 0x9B arrive as 0xCF and 0x9B, ą as 0xB9.
  std::string log = Log();
  EXPECT_NE(log.find("ComWrite:\xCF" "05\x9B" "A\xB9"), std::string::npos);
  EXPECT_NE(log.find("ComRead: \xCF" "06\x9B"), std::string::npos);
}

TEST_F(SerialPortTest, SecondOpenWithoutCloseDoesNotLeakThePort) {
  auto openFiles = [] {
    std::vector<PlatDirEntry> entries;
    PlatListDir("/proc/self/fd", "*", &entries);
    return entries.size();
  };
  size_t before = openFiles();
  ASSERT_GT(before, 2u);
  ASSERT_EQ(Open(), 0);
  ASSERT_EQ(Open(), 0);
  EXPECT_EQ(CloseCom(), 1);
  EXPECT_EQ(openFiles(), before);
}

TEST_F(SerialPortTest, TextOfBytesWithAndWithoutANameTable) {
  EXPECT_EQ(ComByteText('A'), "A");
  EXPECT_EQ(ComByteText(0x86), "\x86");          // a letter the 1250 table changes
  EXPECT_EQ(ComByteText(0x06), "\x8B" "06\x9B");
  EXPECT_EQ(ComByteText(0xB3), "\x8B" "B3\x9B"); // a frame piece 1250 does not have
  static const ComCharName names[] = {{0x06, {'A', 'C', 'K', 0, 0}}, {0x1B, {'E', 'S', 'C', 'A', 'P'}}, {0, {0}}};
  ASSERT_EQ(OpenCom(3, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, names), 0);
  EXPECT_EQ(ComByteText(0x06), "\x8B" "ACK\x9B");
  EXPECT_EQ(ComByteText(0x1B), "\x8B" "ESCAP\x9B");   // five characters without a NUL
  EXPECT_EQ(ComByteText(0x15), "\x8B\x9B");
  CloseCom();
  EXPECT_EQ(ComByteText(0x06), "\x8B" "06\x9B");    // the table went with the port
}

TEST_F(SerialPortTest, DeadlinesEndWaitsAndAPastDeadlineFailsAtOnce) {
  ASSERT_EQ(Open(), 0);
  SetComTimeout(0);
  int error = 0;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitComWrite('X', &error), 0);
  EXPECT_EQ(error, -1);
  error = 0;
  EXPECT_EQ(WaitComReceived(&error), 0);
  EXPECT_EQ(error, -1);
  EXPECT_LT(ElapsedMs(start), 100);

  // A deadline shorter than one try of the port is kept.
  SetComTimeout(0.3);
  start = std::chrono::steady_clock::now();
  error = 0;
  EXPECT_EQ(WaitComReceived(&error), 0);
  EXPECT_EQ(error, -1);
  long waited = ElapsedMs(start);
  EXPECT_GE(waited, 250);
  EXPECT_LT(waited, 900);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(device->Received(), "");   // the write never reached the line
}

// A fixed clock does not move while the line is silent: each try moves it by
// what it waited, so the deadline comes (and a silent printer is asked about).
TEST_F(SerialPortTest, SilentLineReachesTheDeadlineUnderAFixedClock) {
  FixedClock clock;
  ASSERT_EQ(Open(), 0);
  int64_t before = PlatMonotonicMs();
  SetComTimeout(1.5);
  int error = 0;
  EXPECT_EQ(WaitComReceived(&error), 0);
  EXPECT_EQ(error, -1);
  EXPECT_EQ(PlatMonotonicMs() - before, 1500);
  device->Send("k");
  WaitForInput(1);
  SetComTimeout(1);
  EXPECT_EQ(WaitComReceived(&error), 1);   // a byte that is there still comes at once
  EXPECT_EQ(PlatMonotonicMs() - before, 1500);
}

TEST_F(SerialPortTest, ClearDropsReceivedInput) {
  ASSERT_EQ(Open(), 0);
  device->Send("junk");
  WaitForInput(4);
  EXPECT_EQ(ClearComBuffer(), 1);
  SetComTimeout(0.2);
  int error = 0;
  EXPECT_EQ(WaitComReceived(&error), 0);
  device->Send("z");
  SetComTimeout(2);
  EXPECT_EQ(WaitComReceived(&error), 1);
  EXPECT_EQ(ReadCom(), 'z');
}

TEST_F(SerialPortTest, KeysDuringAWaitForInput) {
  ASSERT_EQ(Open(), 0);
  device->Send("q");
  WaitForInput(1);
  screen->keys = {'a', SCREEN_KEY_ESC};
  SetComTimeout(5);
  int error = 0;
  EXPECT_EQ(WaitComReceived(&error), 1);   // 'a' is dropped and the wait goes on
  EXPECT_EQ(ReadCom(), 'q');
  ASSERT_EQ(screen->keys.size(), 1u);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitComReceived(&error), 0);   // Esc ends it like a timeout
  EXPECT_EQ(error, -1);
  EXPECT_TRUE(screen->keys.empty());
  EXPECT_LT(ElapsedMs(start), 500);
  EXPECT_EQ(ReadCom(), 'q');               // the last byte stays
}

TEST_F(SerialPortTest, LineSettingsByCode) {
  termios t = Settings();
  cfsetispeed(&t, B2400);
  cfsetospeed(&t, B2400);
  t.c_lflag |= ICANON | ECHO;
  t.c_iflag |= IXON | IXOFF;
  ASSERT_EQ(tcsetattr(line, TCSANOW, &t), 0);

  // Codes without a meaning leave the speed and the framing as they were.
  ASSERT_EQ(OpenCom(3, 0, 5, 99, 9, 9, nullptr), 0);
  t = Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B2400));
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
  EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
  CloseCom();

  ASSERT_EQ(OpenCom(3, COM_HANDSHAKE_RTS_CTS, COM_SPEED_4800, COM_PARITY_EVEN, COM_DATA_7, COM_STOP_2, nullptr), 0);
  // A pseudo-terminal keeps no parity and always 8 data bits; the rest it keeps.
  t = Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B4800));
  EXPECT_NE(t.c_cflag & CSTOPB, 0u);
  EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
  CloseCom();

  ASSERT_EQ(OpenCom(3, 2, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr), 0);
  t = Settings();
  EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));
  EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS), 0u);
}

TEST_F(SerialPortTest, PortThatCannotBeOpenedIsReported) {
  setenv("ZELSAL_COM9", Path("no-such-device").c_str(), 1);
  EXPECT_EQ(OpenCom(9, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr), -1);
  WriteFile(Path("plain-file"), "x");
  setenv("ZELSAL_COM9", Path("plain-file").c_str(), 1);
  EXPECT_EQ(OpenCom(9, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr), -1);
  unsetenv("ZELSAL_COM9");
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0], Utf8ToMazText("Nie można otworzyć portu COM9."));
  EXPECT_NE(Log().find("LGM(49): COM9"), std::string::npos);
  int error = 0;
  SetComTimeout(0.05);
  EXPECT_EQ(WaitComWrite('x', &error), 0);   // no port: nothing written, the deadline ends it
  EXPECT_EQ(ClearComBuffer(), 0);
}

TEST_F(SerialPortTest, DevicePathFromEnvironmentRegistryOrDefault) {
  unsetenv("ZELSAL_COM4");
  EXPECT_EQ(ComDevicePath(4), "/dev/ttyS3");
  RegKeyCtx key;
  RegKeyInit(&key, REG_CURRENT_USER);
  ASSERT_EQ(RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Ports", 1), 1);
  ASSERT_EQ(RegWriteText(&key, "COM4", "/dev/ttyUSB0"), 1);
  RegKeyRelease(&key);
  EXPECT_EQ(ComDevicePath(4), "/dev/ttyUSB0");
  setenv("ZELSAL_COM4", "/dev/pts/99", 1);
  EXPECT_EQ(ComDevicePath(4), "/dev/pts/99");
  unsetenv("ZELSAL_COM4");
}

}  // namespace
