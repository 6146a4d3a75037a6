// A simulated TANGO-family register on a serial line: it keeps PLU records
// and sales counters, answers the ENQ handshake, acknowledges frames with a
// good checksum (NAK otherwise), sends its goods list and its sales report
// record by record, and can be told to fall silent, stay busy (TAB), refuse
// (NAK), report an error (0x40) or garble the check of its next frame.
#pragma once
#include <deque>
#include <map>
#include <string>

#include "tests/fiscal/line_device.h"

class TangoSimulator : public LineDevice {
 public:
  struct Sold {
    long thousandths = 0;   // quantity
    long grosze = 0;        // value
  };
  std::map<std::string, std::string> plu;   // by the 18-character PLU field: the 84-byte record
  std::map<std::string, Sold> sales;        // by the 18-character PLU field
  std::string frames;                       // every frame received, a line feed after each

  bool silent = false;       // nothing answered
  int busyTabs = 0;          // TABs before the next answer to a frame or a control byte
  int naks = 0;              // frames refused with NAK before one is taken
  bool reportError = false;  // the next goods record gets 0x40; the error query follows
  int errorNumber = 0x1A;
  bool garbleNext = false;   // the next frame sent has a wrong check

  std::string Feed(unsigned char byte) override;
  static std::string Field(const std::string& text);   // right-aligned in 18
  // Adds a PLU with sales, as the register would hold it.
  void Sell(const std::string& number, long thousandths, long grosze);

 private:
  std::string Answer(const std::string& answer);
  std::string Send(std::string frame);
  std::string OnFrame();
  std::string in_;
  int expected_ = 0;          // bytes of the frame being received; -1 until its kind is seen
  std::deque<std::string> outgoing_;
  std::string last_;          // the last frame sent, for a NAK
  bool turned_ = false;       // a request waits for EOT to turn the line
  bool sending_ = false;
  char zeroAfter_ = 0;        // '2': the report zeroes the counters
  int errorStage_ = 0;
};
