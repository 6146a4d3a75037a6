// A simulated device at the far end of a pseudo-terminal pair, answering on
// a thread: a program started by the test opens the line's device as its COM
// port. PtyPrinter carries the simulated POSNET printer.
#pragma once
#include <atomic>
#include <string>
#include <thread>

#include "tests/fiscal/line_device.h"
#include "tests/fiscal/posnet_simulator.h"

class PtyLine {
 public:
  explicit PtyLine(LineDevice* device);
  ~PtyLine();
  const std::string& Device() const { return path_; }

 private:
  void Run();
  LineDevice* device_;
  int master_ = -1, line_ = -1;
  std::string path_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

class PtyPrinter {
 public:
  PosnetSimulator printer;
  const std::string& Device() const { return line_.Device(); }

 private:
  PtyLine line_{&printer};
};
