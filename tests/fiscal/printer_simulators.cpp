#include "tests/fiscal/printer_simulators.h"

#include <string>

namespace {

constexpr char ESC = 0x1B, ENQ = 0x05, ACK = 0x06, NAK = 0x15, STX = 0x02, ETX = 0x03;

}  // namespace

std::vector<std::string> RecordingDevice::Commands() {
  std::lock_guard<std::mutex> guard(mutex_);
  return commands_;
}

int RecordingDevice::Count(const std::string& prefix) {
  int n = 0;
  for (const std::string& c : Commands()) n += c.compare(0, prefix.size(), prefix) == 0;
  return n;
}

void RecordingDevice::Keep(const std::string& command) {
  std::lock_guard<std::mutex> guard(mutex_);
  commands_.push_back(command);
}

// ---- ELZAB

std::string ElzabSimulator::Feed(unsigned char byte) {
  frame_ += static_cast<char>(byte);
  if (frame_[0] != ESC) {
    frame_.clear();
    return "";
  }
  if (frame_.size() < 2) return "";
  char c = frame_[1];
  size_t length = 2;
  switch (c) {
    case 'C': case ' ': length = 6; break;
    case 0x06: length = 51; break;
    case 0x09: length = 2 + 1 + 32 + 1; break;
    case '6': length = 5; break;
    default: break;
  }
  if (frame_.size() < length) return "";
  std::string command = frame_;
  frame_.clear();
  Keep(command);
  if (silent || c == 'C' || c == 0x06 || c == 0x07 || c == 0x09) return "";
  auto refused = refuse.find(c == '\xFF' ? 'V' : c);
  if (refused != refuse.end()) return std::string(1, static_cast<char>(refused->second));
  std::string answer(1, ACK);
  if (c == '\xFF') answer += static_cast<char>(version);
  if (c == 'T') answer += static_cast<char>(status1);
  if (c == 'U') answer += static_cast<char>(status2);
  if (c == '5')
    for (char d : clock) answer += static_cast<char>(d - '0');
  return answer;
}

// ---- ORHMET

namespace {

int DataLength(const std::string& command) {
  static const std::map<std::string, int> lengths = {{"P5", 54}, {"P2", 40}, {"P3", 19}, {"D1", 10},
                                                     {"I1", 5},  {"K1", 2},  {"K4", 1}};
  auto found = lengths.find(command);
  return found == lengths.end() ? 0 : found->second;
}

std::string Block(const std::string& text) { return ENQ + text; }

}  // namespace

std::string OrhmetSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (c == ENQ && block_.empty()) {
    block_ = std::string(1, ENQ);
    return "";
  }
  if (block_.empty()) return "";
  block_ += c;
  size_t need = expected_ > 0 ? static_cast<size_t>(expected_) + 1 : 3;
  if (block_.size() < need) return "";
  std::string text = block_.substr(1);
  block_.clear();
  Keep(text);
  if (silent) return "";
  if (ackForStatus) return std::string(1, ACK);
  // an empty final status is silence
  auto finalOf = [&](const std::string& command) {
    auto f = final.find(command);
    if (f != final.end() && f->second.empty()) return std::string();
    return Block(f == final.end() ? "D1" : f->second);
  };
  if (expected_ > 0) {
    expected_ = -1;
    return finalOf(command_);
  }
  if (text == "XX") return Block("D0");
  command_ = text;
  auto f = first.find(text);
  std::string firstStatus = f == first.end() ? "I1" : f->second;
  if (firstStatus != "I1") return Block(firstStatus);
  int length = DataLength(text);
  if (length > 0) {
    expected_ = length;
    return Block(firstStatus);
  }
  std::string answer = Block(firstStatus);
  if (text == "U5") answer += Block(date) + Block(time);
  answer += finalOf(text);
  if (text == "PA") answer += Block("0123456789");
  return answer;
}

// ---- SPARK 482G

std::string SparkSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (checkNext_) {
    checkNext_ = false;
    inBlock_ = false;
    unsigned char check = 0;
    for (char b : block_) check ^= static_cast<unsigned char>(b);
    check ^= ETX;
    std::string body = block_;
    block_.clear();
    Keep(body);
    if (silent) return "";
    if (check != byte) return std::string(1, NAK);
    if (body == "S1") return status;
    if (answers.empty()) return std::string(1, ACK);
    char answer = static_cast<char>(answers.front());
    answers.pop_front();
    queried_ = answer == NAK || answer == ENQ;
    return std::string(1, answer);
  }
  if (inBlock_) {
    if (c == ETX) checkNext_ = true;
    else block_ += c;
    return "";
  }
  if (c == STX) {
    inBlock_ = true;
    block_.clear();
    return "";
  }
  if (silent) return "";
  if (c == ENQ || (c == ACK && queried_)) {
    queried_ = false;
    Keep(std::string(1, c));
    return std::string(1, '\x01') + static_cast<char>(statusA) + static_cast<char>(statusB) + std::string(2, '\0');
  }
  return "";
}

// ---- TP Line

int TpLineSimulator::Length(const std::string& f) const {
  if (f.size() < 3) return 0;
  unsigned char command = static_cast<unsigned char>(f[2]);
  auto bcd = [&](size_t at) { return at < f.size() ? (f[at] >> 4 & 0xF) * 10 + (f[at] & 0xF) : -1; };
  int data = 0;
  switch (command) {
    case 0x59: case 0x14: case 0x17: data = 1; break;
    case 0x16: data = 2; break;
    case 0x11: data = 3; break;
    case 0x10: data = 4; break;
    case 0x82: data = 21; break;
    case 0x12: {
      int n = bcd(5);
      if (n < 0) return 0;
      data = 3 + n;
      break;
    }
    case 0x31: {
      int n = bcd(3 + 12);
      if (n < 0) return 0;
      data = 13 + n;
      break;
    }
    default: break;
  }
  return 3 + data + 1;
}

std::string TpLineSimulator::Feed(unsigned char byte) {
  frame_ += static_cast<char>(byte);
  if (frame_[0] != ESC) {
    frame_.clear();
    return "";
  }
  int length = Length(frame_);
  if (length == 0 || static_cast<int>(frame_.size()) < length) return "";
  std::string frame = frame_;
  frame_.clear();
  Keep(frame);
  if (silent) return "";
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < frame.size(); i++) sum += static_cast<unsigned char>(frame[i]) + static_cast<unsigned>(i);
  int status = (sum & 0xFF) != static_cast<unsigned char>(frame.back()) ? 3 : statusOf ? statusOf(frame) : 0;
  std::string answer = std::string(1, ACK) + static_cast<char>(status) + (badCheck ? '\x55' : '\x00');
  auto record = records.find(static_cast<unsigned char>(frame[2]));
  if (status == 0 && record != records.end()) answer += record->second;
  return answer;
}
