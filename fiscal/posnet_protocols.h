// Inside the POSNET-family driver: the argument records the dispatcher builds
// from its variable arguments, the operations of each protocol, and the
// shared pieces (log, questions, the printer's local clock).
#pragma once
#include <cstdarg>
#include <string>

#include "fiscal/posnet.h"

struct PosnetLine {
  int number;             // 0 for a line taken back
  const char* name;
  double quantity;
  char letter;
  double price, value, third;
  int extraFlag;
};

struct PosnetEnd {
  int lead;
  const char* terminal;
  const char* footer[3];
  double paid, total, third;
  int extraFlag;
  int shortSummary;
  const char* nip;        // NULL or the buyer's NIP
};

struct PosnetStart {
  int lineCount;
  const char* receiptText;
  const char* header[2];
  const char* nip;
};

// What operations 11, 12 and 13 read.
struct PosnetRecords {
  PosnetLine line;
  PosnetEnd end;
  PosnetStart start;
};

// Log codes of the driver.
constexpr int PN_LOG_OPEN = 2;
constexpr int PN_LOG_CLOSE = 3;
constexpr int PN_LOG_WRITE = 4;
constexpr int PN_LOG_READ = 5;
constexpr int PN_LOG_ALARM = 10;
constexpr int PN_LOG_ABORT = 11;
constexpr int PN_LOG_CODE = 116;
constexpr int PN_LOG_LONG_REPLY = 118;
constexpr int PN_LOG_LONG_COMMAND = 119;

constexpr int MSG_NO_ANSWER_WAIT = 250;   // "Drukarka nie odpowiada. Czekać dalej ?"
constexpr int MSG_CANCEL_AGAIN = 251;     // "Anulowanie paragonu nie powiodło się. Powtórzyć ?"

// printf into a string.
std::string PosnetFormat(const char* format, ...);
// Logs the message and asks it in a "BŁĄD" box answered T or Esc; true to go on.
bool PosnetAskAgain(int message);
// Logs the first 300 characters of a text too long for its buffer.
void PosnetLogTooLong(int code, const std::string& text);
// Shows and logs a non-zero result as the protocol in use reads it.
void PosnetReport(int result);
// True when the buyer's NIP is to be printed.
bool PosnetPrintsNip(const char* nip);
// The computer's local date and time (year with four digits).
void PosnetLocalNow(int* year, int* month, int* day, int* hour, int* minute);

// A protocol's read of the printer's clock: year, month, day, hour, minute.
using PosnetClockRead = int (*)(int* out5);
// Operation 5 (its two int pointers in `args`): the date flag 0 when the
// printer's date is the computer's (`twoDigitYear`: the printer gives the
// year's last two digits), -1 otherwise, and how many minutes the printer's
// clock runs ahead.
int PosnetClockCheck(PosnetClockRead read, bool twoDigitYear, va_list args);
// Operation 17: the printer's clock into the five int pointers in `args`,
// written only when it was read.
int PosnetClockInto(PosnetClockRead read, va_list args);
// Before the daily report: 0 when the printer's clock shows today within
// half an hour of the computer's, PN_CLOCK_OFF when not, or the read's error.
int PosnetClockFitsDailyReport(PosnetClockRead read, bool twoDigitYear);

// One operation over each protocol: the records for operations 11 to 13,
// the other operations' arguments in `args`.
int PosnetOnlineOp(int op, const PosnetRecords& records, va_list args);
int PosnetThermalOp(int op, const PosnetRecords& records, va_list args);
