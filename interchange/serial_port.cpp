#include "interchange/serial_port.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/temp_strings.h"
#include "interchange/registry.h"
#include "platform/clock.h"
#include "platform/screen_hook.h"
#include "platform/serial.h"

namespace {

constexpr int MSG_CANNOT_OPEN_PORT = 50144;   // "Nie można otworzyć portu %s."
// One single-byte read or write gives up after this long (500 ms per byte plus 500 ms).
constexpr int PORT_TRY_MS = 1000;
constexpr unsigned char MARK_OPEN = 0x8B;
constexpr unsigned char MARK_CLOSE = 0x9B;

PlatSerial port = PLAT_NO_SERIAL;
uint32_t deadline = 0;
unsigned char lastReceived = 0;
const ComCharName* nameTable = nullptr;

const ComPortSeam* seam = nullptr;

uint32_t NowMs() { return static_cast<uint32_t>(PlatMonotonicMs()); }

// A try that moved nothing: a fixed clock does not move while the line is
// silent, so it is moved by what the try waited, or the deadline never comes.
void TryWaited(int tryMs) {
  if (PlatClockIsFixed()) PlatClockAdvanceMs(tryMs);
  else if (port == PLAT_NO_SERIAL) PlatWaitMs(tryMs);   // a closed port fails at once: wait as a port would
}

bool DeviceOpen(const char* device, PlatSerial* opened) {
  if (seam) {
    *opened = seam->open(device) ? 0 : PLAT_NO_SERIAL;
    return *opened != PLAT_NO_SERIAL;
  }
  return PlatSerialOpen(device, opened) == PLAT_OK;
}

void DeviceClose(PlatSerial device) {
  if (seam) seam->close();
  else PlatSerialClose(device);
}

// Time left before the deadline, at most one try's worth; 0 when it has passed.
int TryMs() {
  uint32_t now = NowMs();
  if (now >= deadline) return 0;
  uint32_t left = deadline - now;
  return left < static_cast<uint32_t>(PORT_TRY_MS) ? static_cast<int>(left) : PORT_TRY_MS;
}

bool ApplyCodes(int handshake, int speed, int parity, int dataBits, int stopBits) {
  PlatSerialSettings s{};
  s.baud = speed == COM_SPEED_4800 ? 4800 : speed == COM_SPEED_9600 ? 9600 : 0;
  s.parity = parity == COM_PARITY_NONE ? PLAT_PARITY_NONE : parity == COM_PARITY_EVEN ? PLAT_PARITY_EVEN : PLAT_PARITY_KEEP;
  s.dataBits = dataBits == COM_DATA_7 ? 7 : dataBits == COM_DATA_8 ? 8 : 0;
  s.stopBits = stopBits == COM_STOP_1 ? 1 : stopBits == COM_STOP_2 ? 2 : 0;
  s.rtsCts = handshake == COM_HANDSHAKE_RTS_CTS;
  return seam ? seam->configure(&s) : PlatSerialConfigure(port, &s) == PLAT_OK;
}

}  // namespace

std::string ComDevicePath(int number) {
  std::string variable = "ZELSAL_COM" + std::to_string(number);
  const char* fromEnvironment = std::getenv(variable.c_str());
  if (fromEnvironment && *fromEnvironment) return fromEnvironment;
  std::string stored = RegProductSetting("Ports", ("COM" + std::to_string(number)).c_str());
  if (!stored.empty()) return stored;
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::string ComByteText(unsigned char byte) {
  if ((byte >= 0x20 && byte <= 0x7E) || ConvChar(byte, MazToWindowsPairs, 0) != byte)
    return std::string(1, static_cast<char>(byte));
  std::string text(1, static_cast<char>(MARK_OPEN));
  if (!nameTable) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    text += hex;
  } else {
    for (const ComCharName* entry = nameTable; entry->code != 0; entry++) {
      if (entry->code == byte) {
        size_t n = 0;
        while (n < sizeof entry->name && entry->name[n]) n++;
        text.append(entry->name, n);
        break;
      }
    }
  }
  return text + static_cast<char>(MARK_CLOSE);
}

int OpenCom(int number, int handshake, int speed, int parity, int dataBits, int stopBits, const ComCharName* names) {
  char portName[16];
  std::snprintf(portName, sizeof portName, "COM%i", number);
  // A second open without CloseCom closes the first port instead of leaking it
  // (held, it would keep the device busy until the program ends).
  if (port != PLAT_NO_SERIAL) DeviceClose(port);
  port = PLAT_NO_SERIAL;
  PlatSerial opened = PLAT_NO_SERIAL;
  bool ok = DeviceOpen(ComDevicePath(number).c_str(), &opened);
  if (ok) {
    port = opened;
    ok = ApplyCodes(handshake, speed, parity, dataBits, stopBits);
  }
  if (!ok) {
    ErrLogMessage(EL_TEXT | EL_BLANK_BEFORE | EL_FLUSH | EL_SYSTEM_ERROR, LOG_COM_OPEN, portName);
    if (opened != PLAT_NO_SERIAL) DeviceClose(opened);
    port = PLAT_NO_SERIAL;
    ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, PrintfQStr(MSG_CANNOT_OPEN_PORT, portName));
    return -1;
  }
  nameTable = names;
  return 0;
}

int CloseCom() {
  nameTable = nullptr;
  if (port == PLAT_NO_SERIAL) return 0;
  bool closed = true;
  if (seam) seam->close();
  else closed = PlatSerialClose(port) == PLAT_OK;
  port = PLAT_NO_SERIAL;
  return closed ? 1 : 0;
}

void SetComTimeout(double seconds) {
  double sum = static_cast<double>(NowMs()) + seconds * 1000.0;
  deadline = sum <= 0 ? 0 : sum >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

int WaitComWrite(unsigned char byte, int* error) {
  for (int tryMs; (tryMs = TryMs()) > 0;) {
    bool done = false;
    if (seam && port != PLAT_NO_SERIAL) seam->writeByte(byte, tryMs, &done);
    else PlatSerialWriteByte(port, byte, tryMs, &done);
    if (done) {
      ErrLogMessage(EL_TEXT, LOG_COM_WRITE, ComByteText(byte).c_str());
      return 1;
    }
    TryWaited(tryMs);
  }
  if (error) *error = -1;
  return 0;
}

int WaitComReceived(int* error) {
  for (int tryMs; (tryMs = TryMs()) > 0;) {
    int key = ScreenReadKey();
    if (key == SCREEN_KEY_ESC) break;
    bool done = false;
    unsigned char byte;
    if (seam && port != PLAT_NO_SERIAL) seam->readByte(&byte, tryMs, &done);
    else PlatSerialReadByte(port, &byte, tryMs, &done);
    if (done) {
      lastReceived = byte;
      return 1;
    }
    TryWaited(tryMs);
  }
  if (error) *error = -1;
  return 0;
}

unsigned char ReadCom() {
  ErrLogMessage(EL_TEXT | EL_BLANK_AFTER_HEADER, LOG_COM_READ, ComByteText(lastReceived).c_str());
  return lastReceived;
}

int ClearComBuffer() {
  if (port == PLAT_NO_SERIAL) return 0;
  if (!seam) return PlatSerialPurgeInput(port) == PLAT_OK ? 1 : 0;
  seam->purge();
  return 1;
}

void SetComPortSeam(const ComPortSeam* newSeam) {
  CloseCom();
  seam = newSeam;
}
