#include "tests/fiscal/register_simulators.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"

namespace {

std::string B(unsigned char byte) { return std::string(1, static_cast<char>(byte)); }

std::string Num(long value, int width, char fill = '0') {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() > static_cast<size_t>(width)) text = text.substr(text.size() - static_cast<size_t>(width));
  return std::string(static_cast<size_t>(width) - text.size(), fill) + text;
}

long Value(const std::string& text) { return std::atol(text.c_str()); }

}  // namespace

int RegisterSimulator::Count(const std::string& prefix, size_t skip) const {
  int n = 0;
  for (const std::string& f : frames) n += f.size() > skip && f.compare(skip, prefix.size(), prefix) == 0;
  return n;
}

int RegisterSimulator::Gather(char c, const char* ends) {
  if (checkNext_) {
    checkNext_ = inFrame_ = false;
    frame_ += c;
    frames.push_back(frame_);
    return 2;
  }
  if (inFrame_) {
    frame_ += c;
    checkNext_ = std::string(ends).find(c) != std::string::npos;
    return 1;
  }
  if (c != KF_STX) return 0;
  inFrame_ = true;
  frame_ = c;
  return 1;
}

// ---- ADAX

std::string AdaxSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (frame_.empty() && c != 0x03) return "";
  frame_ += c;
  if (c != 0x04) return "";
  std::string frame = frame_;
  frame_.clear();
  frames.push_back(frame);
  owe_ = true;
  if (frame.size() < 6) return "";
  std::string d = frame.substr(3, frame.size() - 6);
  data.push_back(d);
  if (d == "*SZZl11Q") mode = 'P';
  if (d == "*SK") mode = 'B';
  if (d == "*P") preparing_ = 3;
  if (d.compare(0, 4, "*WH0") == 0 && d.size() >= 27) {
    pluCode_ = d.substr(4, 13);
    pluPrice_ = Value(d.substr(17, 10));
  }
  if (d.compare(0, 4, "*WH1") == 0 && d.size() >= 24) {
    long code = Value(pluCode_);
    if (d[22] == 0x40) {
      plus.erase(code);
      deletions++;
    } else {
      plus[code] = SimPlu{d.substr(4, 18), pluPrice_, d[23], d[22] - 0x40, ""};
    }
  }
  if (d == "*X8") {
    for (const auto& [code, counts] : sales) {
      std::string record(42, '0');
      record[0] = mode;
      record.replace(15, 3, "X30");
      record.replace(18, 13, Num(code, 13, ' '));
      record.replace(32, 10, Num(counts.quantity, 10));
      queue_.push_back(record);
      record.replace(15, 3, "X31");
      record.replace(32, 10, Num(counts.value, 10));
      queue_.push_back(record);
    }
    std::string end(42, '0');
    end[0] = mode;
    end.replace(15, 2, "XF");
    queue_.push_back(end);
  }
  return "";
}

std::string AdaxSimulator::Idle() {
  if (silent) return "";
  if (!owe_) return last_;   // unanswered: the register sends its frame again
  owe_ = false;
  return Next();
}

std::string AdaxSimulator::Next() {
  std::string d;
  if (!queue_.empty()) {
    d = queue_.front();
    queue_.erase(queue_.begin());
  } else {
    d = std::string(1, mode) + "00" + (alarm ? 'A' : '0') + status + (preparing_ > 0 ? ".L" : "00") + "000";
    if (preparing_ > 0) preparing_--;
  }
  if (skipSequence) {
    sequence_ = sequence_ >= 0x2F ? 0x20 : sequence_ + 1;
    skipSequence = false;
  }
  std::string frame = AdaxRamka(sequence_, d);
  sequence_ = sequence_ >= 0x2F ? 0x20 : sequence_ + 1;
  last_ = frame;
  if (garble) {
    frame[frame.size() - 2] ^= 1;
    garble = false;
  }
  return frame;
}

// ---- DSA

std::string DsaSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (silent) return "";
  if (frame_.empty() && c != KF_STX) return "";
  frame_ += c;
  if (c != KF_ETX) return "";
  std::string frame = frame_;
  frame_.clear();
  frames.push_back(frame);
  if (DsaSuma(frame) != frame.substr(frame.size() - 3, 2)) return "";
  return type_ == KASA_DSA100 || type_ == KASA_DSA4000S ? Numbered(frame) : Plain(frame);
}

namespace {

std::string DsaFrame(std::string body, bool garble) {
  std::string frame = B(KF_STX) + body + "00" + B(KF_ETX);
  std::string sum = DsaSuma(frame);
  frame[frame.size() - 3] = sum[0];
  frame[frame.size() - 2] = static_cast<char>(sum[1] ^ (garble ? 1 : 0));
  return frame;
}

}  // namespace

std::string DsaSimulator::Numbered(const std::string& frame) {
  if (bareAck) return B(KF_ACK);
  bool big = type_ == KASA_DSA4000S;
  int codeWidth = big ? 5 : 4;
  std::string head = frame.substr(1, 7);
  bool g = garble;
  garble = false;
  if (!error.empty()) return DsaFrame(head.substr(0, 3) + "ERR" + error, g);
  std::string command = frame.substr(4, 4);
  std::string data = frame.substr(8, frame.size() - 11);
  if (command == "4002") {
    SimPlu plu;
    plu.name = data.substr(static_cast<size_t>(codeWidth), 16);
    plu.grosze = Value(data.substr(static_cast<size_t>(codeWidth) + 16, 9));
    plu.vat = data[static_cast<size_t>(codeWidth) + 26];
    if (big) plu.barcode = data.substr(32, 13);
    plus[Value(data.substr(0, static_cast<size_t>(codeWidth)))] = plu;
    return DsaFrame(head, g);
  }
  if (command == "4202") {
    long number = Value(data);
    auto it = plus.find(number);
    std::string answer = head + Num(number, codeWidth);
    if (it == plus.end()) return DsaFrame(answer + std::string(16, ' ') + std::string(9, '0') + "0 ", g);
    // The department's two characters overlap the VAT letter: its first is '0'.
    std::string name = it->second.name;
    name.resize(16, ' ');
    return DsaFrame(answer + name + Num(it->second.grosze, 9) + '0' + it->second.vat, g);
  }
  long code = Value(data.substr(2));
  if (command == "2055" || command == "2050")
    return DsaFrame(head + "01" + Num(sales[code].quantity, 9) + Num(sales[code].value, 9), g);
  sales.erase(code);
  return DsaFrame(head, g);
}

std::string DsaSimulator::Plain(const std::string& frame) {
  if (refuse) return B(KF_NAK);
  bool mala = type_ == KASA_MALA;
  bool g = garble;
  garble = false;
  if (frame[1] == 'P' && frame.size() >= 29) {
    plus[Value(frame.substr(3, 4))] = SimPlu{frame.substr(15, 10), Value(frame.substr(7, 8)), frame[25], 0, ""};
    return B(KF_ACK);
  }
  if (frame[1] != 'A' || frame.size() < 10) return "";
  long number = Value(frame.substr(3, 4));
  auto it = plus.find(number);
  SimPlu plu = it != plus.end() ? it->second : SimPlu{"", 0, ' ', 0, ""};
  plu.name.resize(10, ' ');
  std::string body = "Ap";
  body += mala ? '0' + Num(number, 3) : Num(number, 4);
  body += Num(plu.grosze, 8) + plu.name + plu.vat;
  if (mala) body += std::string(13, '0') + Num(sales[number].quantity, 10) + Num(sales[number].value, 9);
  else body += Num(sales[number].quantity, 6) + Num(sales[number].value, 9);
  return B(KF_ACK) + DsaFrame(body, g);
}

// ---- CR280

namespace {

struct Cr280Layout {
  int answer, quantityAt, quantityDigits, valueAt, shift;
};

Cr280Layout LayoutOf(int type) {
  switch (type) {
    case KASA_CR280_PLUS: return {58, 42, 4, 46, 0};
    case KASA_CR280_PLUS3: return {59, 41, 6, 47, 1};
    case KASA_CR280_THER4: return {59, 41, 6, 47, 1};
    default: return {57, 41, 4, 45, 1};
  }
}

}  // namespace

std::string Cr280Simulator::Frame(const std::string& body) {
  std::string frame = B(KF_STX) + body + B(KF_ETX);
  char check = static_cast<char>(KFXor(frame.substr(1)));
  if (garble) check ^= 1;
  garble = false;
  return frame + check;
}

std::string Cr280Simulator::ReportAnswer(long code) {
  Cr280Layout layout = LayoutOf(type_);
  std::string body(static_cast<size_t>(layout.answer - 3), '0');
  body[0] = 'p';
  body.replace(static_cast<size_t>(layout.quantityAt - 1), static_cast<size_t>(layout.quantityDigits),
               Num(sales[code].quantity, layout.quantityDigits));
  body.replace(static_cast<size_t>(layout.valueAt - 1), 10, Num(sales[code].value, 10));
  return Frame(body);
}

std::string Cr280Simulator::ListItem(long code, const SimPlu& plu) {
  Cr280Layout layout = LayoutOf(type_);
  std::string body(static_cast<size_t>(layout.answer - 3), '0');
  body[0] = 'p';
  auto put = [&](int offset, const std::string& text) {
    body.replace(static_cast<size_t>(offset - 1 - layout.shift), text.size(), text);
  };
  put(3, Num(code, 13, type_ == KASA_CR280_PLUS ? '0' : ' '));
  put(16, Num(plu.department, 2));
  put(18, std::string(1, plu.vat));
  put(22, Num(plu.grosze, 8));
  put(30, plu.name);
  return Frame(body);
}

std::string Cr280Simulator::Answer(const std::string& f) {
  if (KFXor(f.substr(1, f.size() - 2)) != static_cast<unsigned char>(f.back())) return "";
  if (f[1] == 'P' && f.size() >= 44) {
    if (eotFirst > 0) {
      eotFirst--;
      return B(KF_EOT);
    }
    long code = Value(f.substr(3, 13));
    if (f[2] == '1') {
      plus.erase(code);
      deletions++;
    } else {
      plus[code] = SimPlu{f.substr(30, 12), Value(f.substr(22, 8)), f[18], static_cast<int>(Value(f.substr(16, 2))), ""};
    }
    if (status != '0') return B(KF_STX) + 'S' + '0' + status + "000000";
    if (dle) return B(KF_DLE) + ";12" + B(KF_ACK);
    return B(KF_ACK);
  }
  if (f[1] == 'p' && f.size() >= 31) {
    if (f.compare(3, 13, f, 16, 13) == 0) {
      reportCode_ = Value(f.substr(3, 13));
      step_ = Step::ReportEot;
    } else {
      list_.clear();
      for (const auto& [code, plu] : plus) list_.push_back(ListItem(code, plu));
      step_ = Step::ListEot;
    }
    return B(KF_ACK);
  }
  if (f[1] == 'Z') {
    sales.clear();
    return B(KF_ACK);
  }
  return "";
}

std::string Cr280Simulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (silent) return "";
  int gathered = Gather(c, "\x03");
  if (gathered) return gathered == 2 ? Answer(frame_) : "";
  switch (step_) {
    case Step::ReportEot:
      if (c != KF_EOT) return "";
      step_ = Step::ReportAck;
      return B(KF_ENQ);
    case Step::ReportAck:
      if (c != KF_ACK) return "";
      step_ = Step::ReportStatus;
      return ReportAnswer(reportCode_);
    case Step::ReportStatus:
      if (c != KF_ACK) return "";
      step_ = Step::ReportEnd;
      return B(KF_STX) + 'S' + '0' + status + "000000";
    case Step::ListEot:
      if (c != KF_EOT) return "";
      step_ = Step::List;
      return B(KF_ENQ);
    case Step::List:
      if (c != KF_ACK) return "";
      if (list_.empty()) {
        step_ = Step::Idle;
        return B(KF_EOT);
      }
      {
        std::string item = list_.front();
        list_.erase(list_.begin());
        return item;
      }
    default:
      step_ = Step::Idle;
      // The one byte after a status frame's KF_ACK.
      return c == KF_ACK ? B(KF_EOT) : "";
  }
}

// ---- OMRON

std::string OmronSimulator::Record(const std::string& columns) {
  std::string wire = B(KF_STX) + OmronScisnij(columns.substr(1, 129));
  last_ = wire + static_cast<char>(KFXor(wire.substr(1)));   // what KF_NAK asks for again
  if (badGs) {
    wire.insert(3, B(KF_GS) + '@');
    badGs = false;
  }
  char check = static_cast<char>(KFXor(wire.substr(1)));
  if (garble) check ^= 1;
  garble = false;
  return wire + check;
}

namespace {

std::string Columns() {
  std::string columns(131, ' ');
  columns[0] = KF_STX;
  return columns;
}

std::string BcdOf(const std::string& digits) {
  std::string bytes;
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    bytes += static_cast<char>(((digits[i] - '0') << 4) | (digits[i + 1] - '0'));
  return bytes;
}

}  // namespace

std::string OmronSimulator::Answer(const std::string& frame) {
  if (KFXor(frame.substr(1, frame.size() - 2)) != static_cast<unsigned char>(frame.back())) return "";
  if (bel) return B(KF_BEL);
  if (backspaces > 0) {
    backspaces--;
    return B(KF_BS);
  }
  std::string body = frame.substr(1);
  if (body.compare(0, 2, "SS") == 0) {
    queue_.clear();
    std::string head = Columns();
    head.replace(2, 3, "RS1");
    queue_.push_back(head);
    std::string record;
    int entries = 0;
    for (const auto& [code, plu] : plus) {
      if (entries == 0) record = Columns();
      std::string entry(36, '\0');
      entry.replace(0, 6, BcdOf(Num(code, 12)));
      entry.replace(6, 12, plu.name);
      entry.replace(22, 3, BcdOf(std::string(1, '0') + plu.vat + "00" + Num(plu.department, 2)));
      entry.replace(26, 4, BcdOf(Num(plu.grosze, 8)));
      record.replace(5 + 36 * static_cast<size_t>(entries), 36, entry);
      if (++entries == 3) {
        record.replace(2, 3, Num(36 * entries, 3));
        queue_.push_back(record);
        entries = 0;
      }
    }
    if (entries > 0) {
      record.replace(2, 3, Num(36 * entries, 3));
      queue_.push_back(record);
    }
    std::string end = Columns();
    end[2] = 'F';
    queue_.push_back(end);
    queue_.push_back(B(KF_EOT));
    turn_ = true;
    return B(KF_ACK);
  }
  if (body.compare(0, 2, "ST") == 0 && body.size() > 16) {
    char mode = body[16];
    queue_.clear();
    std::string first = Columns();
    first.replace(2, 2, "RT");
    queue_.push_back(first);
    std::string second = Columns();
    second.replace(10, 3, "032");
    queue_.push_back(second);
    std::string record = Columns();
    size_t status = 9;
    int entries = 0;
    for (const auto& [code, counts] : sales) {
      if (entries == 3) {
        queue_.push_back(record);
        record = Columns();
        status = 9;
        entries = 0;
      }
      size_t at = 16 + 40 * static_cast<size_t>(entries);
      record[status] = '3';
      record.replace(at, 12, Num(code, 12));
      record.replace(at + 13, 9, Num(counts.quantity, 9));
      record.replace(at + 22, 11, Num(counts.value, 11));
      status = at + 33;
      entries++;
    }
    if (entries == 3) {
      queue_.push_back(record);
      record = Columns();
      status = 9;
    }
    record[status] = 'Z';
    queue_.push_back(record);
    queue_.push_back(Columns());
    queue_.push_back(B(KF_EOT));
    if (mode == '1') sales.clear();
    turn_ = true;
    return B(KF_ACK);
  }
  if (body.compare(0, 3, "0B0") == 0 && body.size() > 20) {
    long code = Value(body.substr(8, 12));
    if (body[3] == '3') {
      plus.erase(code);
      deletions++;
    } else if (body.size() > 72) {
      plus[code] = SimPlu{body.substr(21, 12), Value(body.substr(66, 7)), body[38],
                          static_cast<int>(Value(body.substr(61, 2))), ""};
    }
  }
  return B(KF_ACK);
}

std::string OmronSimulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (silent) return "";
  int gathered = Gather(c, "\x17\x03");
  if (gathered) return gathered == 2 ? Answer(frame_) : "";
  switch (c) {
    case KF_ENQ: return B(KF_ACK);
    case KF_EOT:
      if (!turn_) return "";
      turn_ = false;
      return B(KF_ENQ);
    case KF_NAK: return last_;
    case KF_ACK:
      if (queue_.empty()) return "";
      {
        std::string next = queue_.front();
        queue_.erase(queue_.begin());
        if (next.size() != 131) return last_ = next;
        return Record(next);
      }
    default: return "";
  }
}

// ---- PS2000

std::string Ps2000Simulator::Answer(const std::string& frame) {
  if (KFXor(frame.substr(1, frame.size() - 2)) != static_cast<unsigned char>(frame.back())) return B(KF_NAK);
  if (frame[1] == 'D' && frame.size() >= 69) {
    long code = Value(frame.substr(6, 13));
    if (frame[5] == '2') {
      plus.erase(code);
      deletions++;
    } else {
      std::string name;
      for (size_t i = 19; i < 43; i += 2) name += static_cast<char>(((frame[i] - '0') << 4) | (frame[i + 1] - '0'));
      plus[code] = SimPlu{name, Value(frame.substr(45, 8)), frame[56], static_cast<int>(Value(frame.substr(43, 2))), ""};
    }
    step_ = Step::DoneEot;
    return B(KF_ACK);
  }
  if (frame[1] != 'S' || frame.size() < 43) return "";
  if (nakFirst > 0) {
    nakFirst--;
    return B(KF_NAK);
  }
  if (errorNumber) {
    shown_ = errorNumber;
    step_ = Step::ErrorEot;
    return B(KF_DLE) + '@';
  }
  std::string prefix;
  if (askAgain) {
    askAgain = false;
    prefix = B(KF_DLE) + ',';
  }
  char action = frame[7];
  if (action == '1') step_ = Step::Data;
  if (action == '2') {
    sales.clear();
    step_ = Step::DoneEot;
  }
  if (action == '0') {
    queue_ = badRecords;
    for (const auto& [code, counts] : sales) {
      std::string record = "D0000" + Num(code, 13) + (counts.quantity < 0 ? 'F' : '0') + Num(counts.quantity, 7) +
                           (counts.value < 0 ? 'F' : '0') + Num(counts.value, 9) + '0';
      queue_.push_back(record + static_cast<char>(KFXor(record.substr(1))));
    }
    queue_.push_back(B(KF_EOT));
    step_ = Step::ReportEot;
  }
  // With DLE ',' first the ACK answers the program's ENQ.
  return prefix.empty() ? B(KF_ACK) : prefix;
}

std::string Ps2000Simulator::Feed(unsigned char byte) {
  char c = static_cast<char>(byte);
  if (silent) return "";
  int gathered = Gather(c, "\x03");
  if (gathered) return gathered == 2 ? Answer(frame_) : "";
  if (c == KF_ENQ) return B(KF_ACK);
  switch (step_) {
    case Step::ErrorEot:
      if (c != KF_EOT) return "";
      step_ = Step::ErrorAck;
      return B(KF_ENQ);
    case Step::ErrorAck:
      if (c != KF_ACK) return "";
      step_ = Step::ErrorEnd;
      return "0R00000" + Num(shown_, 2) + "00000000";
    case Step::ErrorEnd:
      if (c != KF_ACK) return "";
      step_ = Step::Idle;
      return B(KF_EOT);
    case Step::ReportEot:
      if (c != KF_EOT) return "";
      step_ = queue_.size() > 1 ? Step::Report : Step::Idle;
      return std::string(1, queue_.size() > 1 ? KF_ENQ : KF_EOT);
    case Step::Report:
      if (c != KF_ACK && c != KF_NAK) return "";
      {
        std::string next = queue_.front();
        queue_.erase(queue_.begin());
        if (queue_.empty()) step_ = Step::Idle;
        return next;
      }
    default:
      if (c != KF_EOT) return "";
      step_ = Step::Idle;
      return B(KF_EOT);
  }
}
