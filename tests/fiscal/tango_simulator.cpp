#include "tests/fiscal/tango_simulator.h"

#include <cstdio>

#include "fiscal/tango_driver.h"

namespace {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, TAB = 0x09, NAK = 0x15;

std::string WithChecksum(std::string frame) {
  char sum[8];
  std::snprintf(sum, sizeof sum, "%04X",
                TangoSuma(reinterpret_cast<const unsigned char*>(frame.data()), static_cast<int>(frame.size())));
  frame.replace(frame.size() - 4, 4, sum);
  return frame;
}

std::string Digits(long value, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*ld", width, value);
  return text;
}

}  // namespace

std::string TangoSimulator::Field(const std::string& text) {
  return std::string(text.size() < 18 ? 18 - text.size() : 0, ' ') + text.substr(0, 18);
}

void TangoSimulator::Sell(const std::string& number, long thousandths, long grosze) {
  sales[Field(number)] = {thousandths, grosze};
}

std::string TangoSimulator::Answer(const std::string& answer) {
  if (silent) return "";
  std::string tabs(static_cast<size_t>(busyTabs), TAB);
  busyTabs = 0;
  return tabs + answer;
}

std::string TangoSimulator::Send(std::string frame) {
  last_ = frame;
  if (garbleNext) {
    garbleNext = false;
    frame.back() = frame.back() == '0' ? '1' : '0';
  }
  return Answer(frame);
}

std::string TangoSimulator::OnFrame() {
  std::string frame = in_;
  in_.clear();
  expected_ = 0;
  frames += frame + "\n";
  std::string checked = WithChecksum(frame);
  if (checked != frame) return Answer(std::string(1, NAK));
  if (naks > 0) {
    naks--;
    return Answer(std::string(1, NAK));
  }
  if (frame[1] == 'S') {
    char command = frame[2], argument = frame[3];
    std::string text = frame.substr(4, 18);
    if (command == 'I' && argument == '0') {
      outgoing_.clear();
      for (const auto& [key, record] : plu) outgoing_.push_back(record);
      turned_ = true;
    } else if (command == 'U') {
      outgoing_.clear();
      zeroAfter_ = argument;
      for (const auto& [key, sold] : sales) {
        if (text != std::string(18, ' ') && key != text) continue;
        // The report names the PLU left-aligned.
        std::string number = key.substr(key.find_first_not_of(' '));
        number.resize(18, ' ');
        std::string r = std::string(1, STX) + "DU" + number + std::string(18, ' ') + Digits(sold.grosze, 20) +
                        Digits(sold.thousandths, 20) + std::string(15, ' ') + ETX + "0000";
        outgoing_.push_back(WithChecksum(r));
      }
      turned_ = true;
    }
    return Answer(std::string(1, ACK));
  }
  if (reportError) {
    reportError = false;
    errorStage_ = 1;
    return Answer("@");
  }
  std::string key = frame.substr(4, 18);
  if (frame[3] == '1')
    plu[key] = frame;
  else
    plu.erase(key);
  return Answer(std::string(1, ACK));
}

std::string TangoSimulator::Feed(unsigned char byte) {
  if (expected_ != 0) {
    in_ += static_cast<char>(byte);
    if (expected_ < 0) expected_ = byte == 'S' ? TANGO_REQUEST : TANGO_GOODS;
    return static_cast<int>(in_.size()) == expected_ ? OnFrame() : "";
  }
  switch (byte) {
    case STX:
      in_ = std::string(1, STX);
      expected_ = -1;
      return "";
    case ENQ: return silent ? "" : std::string(1, ACK);
    case NAK: return last_.empty() ? "" : Answer(last_);
    case EOT:
      if (errorStage_ == 1) {
        errorStage_ = 2;
        return Answer(std::string(1, ENQ));
      }
      if (turned_) {
        turned_ = false;
        sending_ = true;
        return Answer(std::string(1, ENQ));
      }
      return Answer(std::string(1, EOT));
    case ACK:
      if (errorStage_ == 2) {
        errorStage_ = 3;
        char number[4];
        std::snprintf(number, sizeof number, "%02X", errorNumber);
        return Send(WithChecksum(std::string(1, STX) + "E00" + number + std::string(36, '0') + ETX + "0000"));
      }
      if (errorStage_ == 3) {
        errorStage_ = 0;
        return Answer(std::string(1, EOT));
      }
      if (!sending_) return "";
      if (outgoing_.empty()) {
        sending_ = false;
        if (zeroAfter_ == '2') sales.clear();
        zeroAfter_ = 0;
        return Answer(std::string(1, EOT));
      }
      {
        std::string next = outgoing_.front();
        outgoing_.pop_front();
        return Send(next);
      }
    default: return "";
  }
}
