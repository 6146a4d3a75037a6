// A scriptable POSNET-family printer speaking both protocols, byte in, bytes
// out; the fake port runs it inside the test, the pseudo-terminal printer on
// a thread for a program started by the test. It keeps every command it
// received and answers by its script: error numbers, status bytes, silence,
// a broken checksum.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/fiscal/line_device.h"

class PosnetSimulator : public LineDevice {
 public:
  // What the printer answers to each byte it receives.
  std::string Feed(unsigned char byte) override;
  // A printer just switched on, with the script kept.
  void Restart();

  // The commands received: ONLINE texts without the frame and checksum;
  // Thermal texts without ESC P, their checksum (when it was right) and ESC \.
  std::vector<std::string> Commands();
  std::string AllCommands();   // joined by '|'
  int Count(const std::string& prefix);
  int enquiries = 0;           // ENQ bytes received
  int alone = 0;               // BEL and CAN bytes received

  // The script.
  bool silent = false;                        // answers nothing at all
  bool badChecksum = false;                   // ONLINE replies carry a wrong CRC
  int clockOffsetMinutes = 0;                 // the printer's clock against the computer's
  std::map<std::string, int> onlineErrors;    // ONLINE command name -> error number
  std::map<std::string, std::string> onlineReplies;   // ONLINE command name -> whole reply text
  std::map<std::string, int> thermalErrors;   // Thermal command ("$l", "#e", ...) -> error number
  std::string thermalStatusAnswer;            // the answer to "0#s"; empty: made from the state
  int statusOverride = -1;                    // a fixed status byte instead of the state's

 private:
  std::string Online(const std::string& text);
  std::string Thermal(const std::string& text);
  std::string OnlineReply(const std::string& name);
  std::mutex mutex_;
  std::vector<std::string> commands_;
  std::string frame_;
  bool inOnline_ = false, inThermal_ = false, escape_ = false;
  bool par_ = false, trf_ = true, cmd_ = true;
  int lastError_ = 0;
};
