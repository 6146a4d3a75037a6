// Scriptable ELZAB, ORHMET, SPARK 482G and TP Line printers, byte in, bytes
// out, for the fake port and the pseudo-terminal line. Each keeps what it
// received (one entry a command) and answers by its script: a refusal,
// silence, or a broken check byte. A late answer is the fake port's.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/fiscal/line_device.h"

class RecordingDevice : public LineDevice {
 public:
  std::vector<std::string> Commands();
  int Count(const std::string& prefix);
  bool silent = false;

 protected:
  void Keep(const std::string& command);
  std::mutex mutex_;

 private:
  std::vector<std::string> commands_;
};

// Commands kept from their ESC on; a refusal byte per command letter.
class ElzabSimulator : public RecordingDevice {
 public:
  std::string Feed(unsigned char byte) override;
  std::map<char, int> refuse;          // command letter after ESC -> the answer byte
  unsigned char status1 = 0, status2 = 0;
  std::string clock = "2501141030";    // yymmddhhmm as the ten digit values
  int version = 3;

 private:
  std::string frame_;
};

// Commands kept as the two letters, data blocks as they came.
class OrhmetSimulator : public RecordingDevice {
 public:
  std::string Feed(unsigned char byte) override;
  std::map<std::string, std::string> first;   // command -> its first status (default "I1")
  std::map<std::string, std::string> final;   // command -> its final status (default "D1", "" silence)
  bool ackForStatus = false;                   // an ACK where a status block is awaited
  std::string date = "250114", time = "1030";

 private:
  std::string block_;
  int expected_ = -1;       // data bytes still to come, -1 when a command is awaited
  std::string command_;
};

// Blocks kept without STX, ETX and the check byte.
class SparkSimulator : public RecordingDevice {
 public:
  std::string Feed(unsigned char byte) override;
  std::deque<unsigned char> answers;   // answers to the next blocks; ACK when empty
  unsigned char statusA = 0, statusB = 0x40;
  std::string status;                  // the answer to 'S' '1'

 private:
  std::string block_;
  bool inBlock_ = false, checkNext_ = false, queried_ = false;
};

// Frames kept whole (check byte included); the answer's status per frame.
class TpLineSimulator : public RecordingDevice {
 public:
  std::string Feed(unsigned char byte) override;
  std::function<int(const std::string& frame)> statusOf;   // NULL: 0 for all
  std::map<unsigned char, std::string> records;            // service query -> its data record
  bool badCheck = false;                                   // answers with a wrong check byte

 private:
  std::string frame_;
  int Length(const std::string& frame) const;
};
