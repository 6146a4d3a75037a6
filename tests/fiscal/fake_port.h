// A fake serial port behind the port layer: it records the device and the
// line settings, hands what the program writes to a simulated device (the
// POSNET printer unless told otherwise) and gives back its answers; a silent
// line gives nothing, and under the fixed clock of the tests the long
// time-outs pass at once.
#pragma once
#include <cstdint>
#include <deque>
#include <string>

#include "interchange/serial_port.h"
#include "tests/fiscal/posnet_simulator.h"

class FakePort {
 public:
  FakePort();     // installs itself as the port layer's device
  ~FakePort();    // puts the system's ports back

  PosnetSimulator printer;
  LineDevice* device = &printer;   // what answers on the line
  bool refuseOpen = false;
  std::string path;                // the device last opened
  PlatSerialSettings settings{};   // the line settings last set
  std::string written;             // every byte written
  std::string consumed;            // every byte the program read
  int opens = 0, closes = 0;
  int lateMs = 0;                  // the device's answers come this long after the command
  bool open = false;

  static FakePort* current;
  std::deque<unsigned char> input;
  int64_t readyAt = 0;
};
