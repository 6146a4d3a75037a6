// Serial ports for the device drivers (fiscal printers, cash registers): one
// COM port open at a time, single bytes written or awaited until a deadline,
// every byte traced in the error log. "COMn" is the device of the environment
// variable ZELSAL_COM<n>, else of the registry setting "COM<n>" under the
// product's subkey "Ports", else /dev/ttyS<n-1>.
#pragma once
#include <string>

#include "platform/serial.h"

// One entry of a control-character name table; the table ends with code 0.
struct ComCharName {
  unsigned char code;
  char name[5];        // NUL-terminated when shorter
};

// OpenCom codes.
constexpr int COM_HANDSHAKE_RTS_CTS = 1;
constexpr int COM_SPEED_4800 = 6;
constexpr int COM_SPEED_9600 = 7;
constexpr int COM_PARITY_NONE = 0;
constexpr int COM_PARITY_EVEN = 24;
constexpr int COM_DATA_7 = 2;
constexpr int COM_DATA_8 = 3;
constexpr int COM_STOP_1 = 0;
constexpr int COM_STOP_2 = 4;

// Log codes of the port.
constexpr int LOG_COM_WRITE = 4;
constexpr int LOG_COM_READ = 5;
constexpr int LOG_COM_OPEN = 49;

// The device that stands for "COM<port>".
std::string ComDevicePath(int port);

// 0, or -1 after the log entry and the box "Nie można otworzyć portu %s.".
int OpenCom(int port, int handshake, int speed, int parity, int dataBits, int stopBits, const ComCharName* names);
// 1 when a port was open and closed.
int CloseCom();
// The deadline: now plus the seconds.
void SetComTimeout(double seconds);
// 1 when the byte was written before the deadline; else 0 and *error = -1.
int WaitComWrite(unsigned char byte, int* error);
// 1 when a byte came before the deadline; 0 and *error = -1 at the deadline or on Esc.
int WaitComReceived(int* error);
// The last byte received, traced in the log.
unsigned char ReadCom();
// Drops the received input; 1 done.
int ClearComBuffer();
// The log text of a byte.
std::string ComByteText(unsigned char byte);

// Test seam: the operations the port layer runs on a device. NULL (the
// default) puts the system's serial ports back. A byte that does not move
// within the time leaves *done false; the port layer then counts the time as
// waited, so a fixed clock runs out the deadlines.
struct ComPortSeam {
  bool (*open)(const char* device);
  bool (*configure)(const PlatSerialSettings* settings);
  void (*writeByte)(unsigned char byte, int timeoutMs, bool* done);
  void (*readByte)(unsigned char* byte, int timeoutMs, bool* done);
  void (*purge)();
  void (*close)();
};
void SetComPortSeam(const ComPortSeam* seam);
