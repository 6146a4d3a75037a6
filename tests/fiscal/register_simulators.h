// Simulated cash registers, one per protocol family, byte in, bytes out:
// each keeps the PLUs it was sent and the sales counters of its report, the
// frames it received, and answers by its script: silence, a refusal, a
// broken check, or the family's own trouble bytes (BEL, NAK, DLE, BS ...).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "tests/fiscal/line_device.h"

struct SimPlu {
  std::string name;      // as the register holds it (its own letter codes)
  long grosze = 0;
  char vat = 0;          // the register's VAT letter or digit
  int department = 0;
  std::string barcode;   // DSA4000S
};

struct SimSales {
  long quantity = 0;     // in the register's unit (see each family)
  long value = 0;        // grosze
};

class RegisterSimulator : public LineDevice {
 public:
  std::map<long, SimPlu> plus;        // by PLU code (its number)
  std::map<long, SimSales> sales;     // by PLU code
  std::vector<std::string> frames;    // every frame received, whole
  bool silent = false;                // answers nothing
  bool garble = false;                // the next frame it sends carries a wrong check
  int deletions = 0;
  // The frames received that begin (after their lead byte) with the text.
  int Count(const std::string& prefix, size_t skip = 1) const;

 protected:
  // Gathers a frame from STX up to one of the end bytes and the check byte
  // after it: 2 the byte completed `frame_` (kept in `frames`), 1 it belongs
  // to a frame still open, 0 it stands alone.
  int Gather(char c, const char* ends);
  std::string frame_;

 private:
  bool inFrame_ = false, checkNext_ = false;
};

// ADAX-3100 / TOTAL TAX: leads the line with a frame at a time; quantities in thousandths.
class AdaxSimulator : public RegisterSimulator {
 public:
  std::string Feed(unsigned char byte) override;
  std::string Idle() override;
  char mode = 'B';          // 'P' while programming
  char status = '0';        // byte 7 of its frames
  bool alarm = false;
  bool skipSequence = false;   // the next frame jumps one sequence number
  std::vector<std::string> data;   // the data of each program frame received
 private:
  std::string Next();
  bool owe_ = true;
  unsigned char sequence_ = 0x20;
  int preparing_ = 0;
  std::vector<std::string> queue_;
  std::string last_;
  std::string pluCode_;
  long pluPrice_ = 0;
};

// DSA40, DSA100, DSA4000S, MAŁA (type numbers of the layer); quantities in
// thousandths on the numbered models, whole units on the plain ones.
class DsaSimulator : public RegisterSimulator {
 public:
  explicit DsaSimulator(int type) : type_(type) {}
  std::string Feed(unsigned char byte) override;
  bool bareAck = false;     // numbered: answers a lone ACK
  std::string error;        // numbered: answers "ERR" and this number
  bool refuse = false;      // plain: answers NAK
 private:
  std::string Numbered(const std::string& frame);
  std::string Plain(const std::string& frame);
  int type_;
};

// The four CR280 models (type numbers of the layer); quantities as the
// model's report carries them.
class Cr280Simulator : public RegisterSimulator {
 public:
  explicit Cr280Simulator(int type) : type_(type) {}
  std::string Feed(unsigned char byte) override;
  char status = '0';        // of its status frames
  bool dle = false;         // answers a PLU with DLE ';' and ACK
  int eotFirst = 0;         // answers this many PLU frames with EOT first
 private:
  std::string Answer(const std::string& frame);
  std::string Frame(const std::string& body);
  std::string ReportAnswer(long code);
  std::string ListItem(long code, const SimPlu& plu);
  int type_;
  enum class Step { Idle, ReportEot, ReportAck, ReportStatus, ReportEnd, ListEot, List } step_ = Step::Idle;
  long reportCode_ = 0;
  std::vector<std::string> list_;
};

// OMRON GR30: quantities in thousandths.
class OmronSimulator : public RegisterSimulator {
 public:
  std::string Feed(unsigned char byte) override;
  bool bel = false;         // refuses frames with BEL
  int backspaces = 0;       // answers this many frames with BS first
  bool badGs = false;       // its next record carries GS 0x40
 private:
  std::string Record(const std::string& columns);
  std::string Answer(const std::string& frame);
  std::vector<std::string> queue_;   // records still to send, one per ACK
  std::string last_;
  bool turn_ = false;       // a request was accepted: EOT turns the line
};

// PS2000: quantities in hundredths.
class Ps2000Simulator : public RegisterSimulator {
 public:
  std::string Feed(unsigned char byte) override;
  int nakFirst = 0;          // answers this many headers with NAK
  bool askAgain = false;     // answers the next header with DLE ',' first
  int errorNumber = 0;       // answers headers with DLE '@' and then this error
  std::vector<std::string> badRecords;   // sent before the report's good records, with a wrong check
 private:
  std::string Answer(const std::string& frame);
  enum class Step { Idle, Data, DoneEot, ReportEot, Report, ErrorEot, ErrorAck, ErrorEnd } step_ = Step::Idle;
  std::vector<std::string> queue_;
  int shown_ = 0;
};
