// The simulated printer at the far end of a pseudo-terminal pair, answering
// on a thread: a program started by the test opens the line's device as its
// COM port.
#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "tests/fiscal/posnet_simulator.h"

class PtyPrinter {
 public:
  PtyPrinter();
  ~PtyPrinter();
  const std::string& Device() const { return device_; }
  PosnetSimulator printer;

 private:
  void Run();
  int master_ = -1, line_ = -1;
  std::string device_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};
