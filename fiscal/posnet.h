// The POSNET-family driver: one entry taking an operation number (low twelve
// bits; DF_QUIET keeps its error off the screen) and the operation's
// arguments. It speaks the ONLINE protocol (tab-separated commands with a
// CRC-16) or the Thermal one (ESC P sequences, XOR checksum, ENQ status),
// chosen when the port opens. Results: 0, a negative code of the computer's
// side, or the printer's error number.
#pragma once
#include <cstdint>
#include <string>

struct PosnetStatus {
  int32_t lastOperation;
  int32_t fiscalMode;
  int32_t transactionMode;
  int32_t lastTransaction;
  int32_t amountFormat;
  int32_t ramResets;
  int32_t year, month, day;
  uint32_t receipts;
  double vatRates[7];
  double totalizers[7];
  double cash;
  char uniqueNumber[13];
  char dateText[9];
};

int PosnetCmd(int op, ...);
// True between operation 1 and operation 2 when the ONLINE protocol was chosen.
bool PosnetOnlineInUse();

// Codes of the computer's side.
constexpr int PN_SEND_FAILED = -1;
constexpr int PN_NO_ANSWER = -2;
constexpr int PN_BAD_ANSWER = -3;
constexpr int PN_CLOCK_OFF = -4;
constexpr int PN_FIELD_MISSING = -5;
constexpr int PN_NO_ERROR_NUMBER = -7;
constexpr int PN_PORT_CLOSED = -9;
constexpr int PN_USER_ABORT = -11;
constexpr int PN_PAR_OFF = -12;
constexpr int PN_PAR_ON = -13;
constexpr int PN_TRF_OFF = -14;
constexpr int PN_TRF_ON = -15;
constexpr int PN_TOO_LONG = -16;
constexpr int PN_BAD_CHECKSUM = -17;
constexpr int PN_DAILY_REPORT_FIRST = -18;

// The ONLINE protocol's pieces.
uint16_t PosnetCrc(const char* text, size_t length);
// The command text framed: STX, the text, "#" and four hexadecimal digits, ETX.
std::string PosnetOnlineFrame(const std::string& text);
int PosnetOnlineWyslij(const std::string& text);
// Reads one reply into the buffer of `size` bytes: 0, the printer's error
// number, or a negative code.
int PosnetOnlineOdbierz(char* buffer, int size);
// Sends and receives one command.
int PosnetOnlineCommand(const std::string& text, char* reply, int size);
// The type-12 header markup of one text, ending in LF.
std::string PosnetOnlineMarkup(const std::string& text);
// "vatset": programs the rates A 23, B 8, C 5, D 7, G 100.
int PosnetOnlineVatSet();
// Value readers of a reply: 0, -5 missing, -3 of the wrong form.
int PosnetFieldText(const char* reply, const char* key, char* out, int size);
int PosnetFieldNumber(const char* reply, const char* key, double* out);
int PosnetFieldInt(const char* reply, const char* key, int* out);
int PosnetFieldYesNo(const char* reply, const char* key, int* out);
int PosnetFieldDateTime(const char* reply, const char* key, int* out5);

// The Thermal protocol's pieces.
// 12.00 -> "12/", 12.50 -> "12.50/".
std::string PosnetAmountText(double value);
// Two hexadecimal digits: 0xFF XOR every byte.
std::string PosnetThermalChecksum(const std::string& text);
// The NOVITUS header markup of one text: the line record and its segment count.
std::string PosnetNovitusMarkup(const std::string& text, int* segments);
// Parses a status answer ("P1#X..."): 0, or -3 when no form matches.
int PosnetParseStatus(const char* answer, PosnetStatus* status);
// The error query "0#n": -1 send failed, -2 no answer, -3 unreadable, else 0.
int PosnetErrorQuery(int* error);
// Milliseconds between two readings of the high-resolution counter.
double PosnetElapsedMs(int64_t from, int64_t to);
int64_t PosnetCounter();
