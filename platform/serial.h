// Serial ports on termios: open a device, set its line, move single bytes
// with a time limit, drop received input.
#pragma once
#include "platform/plat_result.h"

typedef int PlatSerial;               // a descriptor; PLAT_NO_SERIAL when closed
constexpr PlatSerial PLAT_NO_SERIAL = -1;

enum PlatSerialParity { PLAT_PARITY_KEEP = -1, PLAT_PARITY_NONE = 0, PLAT_PARITY_EVEN = 1 };

// Line settings; 0 (or PLAT_PARITY_KEEP) leaves a setting as the port has it.
struct PlatSerialSettings {
  int baud;           // 4800, 9600, ...
  int parity;         // PlatSerialParity
  int dataBits;       // 7 or 8
  int stopBits;       // 1 or 2
  bool rtsCts;        // hardware flow control
};

// An existing device, for reading and writing, not shared with later opens.
PlatResult PlatSerialOpen(const char* device, PlatSerial* out);
// Raw mode (no echo, line editing, translation or XON/XOFF) with the settings;
// DTR stays as it is. PLAT_INVALID for a speed the system does not know.
PlatResult PlatSerialConfigure(PlatSerial port, const PlatSerialSettings* settings);
// One byte, waiting at most timeoutMs for the line; *done tells whether it moved.
PlatResult PlatSerialWriteByte(PlatSerial port, unsigned char byte, int timeoutMs, bool* done);
PlatResult PlatSerialReadByte(PlatSerial port, unsigned char* byte, int timeoutMs, bool* done);
PlatResult PlatSerialPurgeInput(PlatSerial port);
PlatResult PlatSerialClose(PlatSerial port);
