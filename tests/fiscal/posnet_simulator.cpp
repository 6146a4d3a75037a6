#include "tests/fiscal/posnet_simulator.h"

#include <cstdio>
#include <string>

#include "fiscal/posnet.h"
#include "platform/clock.h"

namespace {

constexpr char STX = 0x02, ETX = 0x03, ESC = 0x1B, ENQ = 0x05, BEL = 0x07, CAN = 0x18;

// An answer: ESC, the text (it begins with "P1#"), ESC '\'.
std::string Framed(const std::string& text) { return std::string(1, ESC) + text + ESC + "\\"; }

// The printer's clock: the computer's moved by the offset.
PlatDateTime Clock(int offsetMinutes) {
  PlatDateTime now{};
  PlatNow(&now);
  int minutes = now.hour * 60 + now.minute + offsetMinutes;
  now.hour = ((minutes / 60) % 24 + 24) % 24;
  now.minute = (minutes % 60 + 60) % 60;
  return now;
}

}  // namespace

std::vector<std::string> PosnetSimulator::Commands() {
  std::lock_guard<std::mutex> guard(mutex_);
  return commands_;
}

std::string PosnetSimulator::AllCommands() {
  std::string all;
  for (const std::string& c : Commands()) all += (all.empty() ? "" : "|") + c;
  return all;
}

int PosnetSimulator::Count(const std::string& prefix) {
  int n = 0;
  for (const std::string& c : Commands()) n += c.compare(0, prefix.size(), prefix) == 0;
  return n;
}

void PosnetSimulator::Restart() {
  std::lock_guard<std::mutex> guard(mutex_);
  commands_.clear();
  frame_.clear();
  inOnline_ = inThermal_ = escape_ = false;
  par_ = false;
  trf_ = cmd_ = true;
  lastError_ = 0;
  enquiries = alone = 0;
}

std::string PosnetSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (inOnline_) {
    if (c != ETX) {
      frame_ += c;
      return "";
    }
    inOnline_ = false;
    return Online(frame_);
  }
  if (inThermal_) {
    if (escape_ && c == '\\') {
      inThermal_ = escape_ = false;
      frame_.pop_back();
      return Thermal(frame_);
    }
    escape_ = c == ESC;
    frame_ += c;
    return "";
  }
  if (c == STX) {
    inOnline_ = true;
    frame_.clear();
  } else if (c == ESC) {
    inThermal_ = true;
    escape_ = false;
    frame_.clear();
  } else if (c == ENQ) {
    enquiries++;
    if (silent) return "";
    int status = statusOverride >= 0 ? statusOverride : 0x60 | (cmd_ ? 4 : 0) | (par_ ? 2 : 0) | (trf_ ? 1 : 0);
    return std::string(1, static_cast<char>(status));
  } else if (c == BEL || c == CAN) {
    alone++;
    if (c == CAN) par_ = false;
  }
  return "";
}

std::string PosnetSimulator::Online(const std::string& frame) {
  std::string text = frame.size() >= 5 ? frame.substr(0, frame.size() - 5) : frame;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    commands_.push_back(text);
  }
  if (silent) return "";
  std::string name = text.substr(0, text.find('\t'));
  std::string reply;
  if (onlineErrors.count(name)) {
    char number[8];
    std::snprintf(number, sizeof number, "%04d", onlineErrors[name] % 10000);
    reply = name + "\t?" + number;
  } else {
    reply = OnlineReply(name);
  }
  std::string out = PosnetOnlineFrame(reply);
  if (badChecksum) out[out.size() - 2] = out[out.size() - 2] == '0' ? '1' : '0';
  return out;
}

std::string PosnetSimulator::OnlineReply(const std::string& name) {
  if (onlineReplies.count(name)) return onlineReplies[name];
  if (name == "rtcget") {
    PlatDateTime t = Clock(clockOffsetMinutes);
    char field[40];
    std::snprintf(field, sizeof field, "\tda%04d-%02d-%02d;%02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return name + field;
  }
  if (name == "scomm") return name + "\tfs1\tnuABC1234567890";
  if (name == "strns") return name + "\tto1";
  if (name == "sfsk") return name + "\tcl3\tva23\tvb8\tvc5\tvd0\tve100\tvf101\tvg100";
  if (name == "stot") return name + "\tpa12345\tpb800\tpc0\tpd0\tpe150\tpf0\tpg0\tpn17";
  return name;
}

std::string PosnetSimulator::Thermal(const std::string& frame) {
  std::string text = frame.substr(1);   // after 'P'
  if (text.size() > 2) {
    std::string body = text.substr(0, text.size() - 2);
    if (PosnetThermalChecksum(body) == text.substr(text.size() - 2)) text = body;
  }
  {
    std::lock_guard<std::mutex> guard(mutex_);
    commands_.push_back(text);
  }
  if (silent) return "";
  if (text.find("#n") != std::string::npos) return Framed("P1#E" + std::to_string(lastError_));
  for (const auto& [command, error] : thermalErrors) {
    if (text.find(command) != std::string::npos) {
      cmd_ = false;
      lastError_ = error;
      return "";
    }
  }
  cmd_ = true;
  if (text.find("#c") != std::string::npos) {
    PlatDateTime t = Clock(clockOffsetMinutes);
    char answer[64];
    std::snprintf(answer, sizeof answer, "P1#C%d;%d;%d;%d;%d;0", t.year % 100, t.month, t.day, t.hour, t.minute);
    return Framed(answer);
  }
  if (text.find("#s") != std::string::npos) {
    if (!thermalStatusAnswer.empty()) return Framed(thermalStatusAnswer);
    char answer[160];
    std::snprintf(answer, sizeof answer, "P1#X%d;1;%d;%d;1;3;26;12;10/23/8/5/17/100/50/25/7/1234.50/ABC123456789",
                  lastError_, par_ ? 1 : 0, trf_ ? 1 : 0);
    return Framed(answer);
  }
  if (text.find("$h") != std::string::npos) {
    par_ = true;
    trf_ = false;
  } else if (text == "0$e") {
    par_ = false;
  } else if (text.find("$e") != std::string::npos) {
    par_ = false;
    trf_ = true;
  }
  lastError_ = 0;
  return "";
}
