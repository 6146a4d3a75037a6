// A device at the far end of a serial line, as the tests simulate it: every
// byte the program writes goes in, the device's answer (maybe nothing) comes
// back. The fake port and the pseudo-terminal line carry any such device.
#pragma once
#include <string>

class LineDevice {
 public:
  virtual ~LineDevice() = default;
  virtual std::string Feed(unsigned char byte) = 0;
  // What the device sends unasked while the program waits for a byte (a
  // register that leads the line); nothing by default.
  virtual std::string Idle() { return ""; }
};
