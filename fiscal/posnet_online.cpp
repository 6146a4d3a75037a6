// The ONLINE protocol: tab-separated command texts framed by STX, "#" with a
// CRC-16/XMODEM and ETX; replies of the same form, "?" and four digits for
// the printer's error.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "env/error_log.h"
#include "env/numbers.h"
#include "env/services.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet_protocols.h"
#include "fiscal/printer_params.h"
#include "interchange/serial_port.h"

namespace {

constexpr unsigned char STX = 0x02;
constexpr unsigned char ETX = 0x03;
constexpr double SEND_SECONDS = 1.0;
constexpr double REPLY_SECONDS = 5.0;
constexpr int REPLY = 100;
constexpr int REPLY_LONG = 300;
constexpr int HEADER = 600;
constexpr int HEADER_MARKUP = 1000;
constexpr int ERROR_DAILY_REPORT = 2035;

struct CrcTables {
  unsigned char high[256], low[256];
  CrcTables() {
    for (int i = 0; i < 256; i++) {
      unsigned crc = static_cast<unsigned>(i) << 8;
      for (int bit = 0; bit < 8; bit++) crc = (crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1;
      high[i] = static_cast<unsigned char>(crc >> 8);
      low[i] = static_cast<unsigned char>(crc);
    }
  }
};

std::string Grosze(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", ROUND(value * 100.0, 0));
  return text;
}

// The command is built in a buffer as large as its reply's: a longer one is
// refused before a byte is sent.
int Command(const std::string& text, int size, std::vector<char>* reply = nullptr) {
  if (static_cast<int>(text.size()) >= size) {
    PosnetLogTooLong(PN_LOG_LONG_COMMAND, text);
    return PN_TOO_LONG;
  }
  std::vector<char> own;
  if (!reply) reply = &own;
  reply->assign(static_cast<size_t>(size), '\0');
  return PosnetOnlineCommand(text, reply->data(), size);
}

// The value of a field: after TAB and the key, up to the next TAB or the end.
bool FieldValue(const char* reply, const char* key, std::string* value) {
  std::string needle = std::string("\t") + key;
  const char* at = std::strstr(reply, needle.c_str());
  if (!at) return false;
  at += needle.size();
  const char* end = std::strchr(at, '\t');
  value->assign(at, end ? static_cast<size_t>(end - at) : std::strlen(at));
  return true;
}

int ReadClock(int* out5) {
  std::vector<char> reply;
  int result = Command("rtcget\t", REPLY, &reply);
  return result != 0 ? result : PosnetFieldDateTime(reply.data(), "da", out5);
}

int DailyReport() {
  int result = PosnetClockFitsDailyReport(ReadClock, false);
  if (result != 0) return result;
  const char* today = get_cur_das(0);
  return Command(PosnetFormat("dailyrep\tda%.4s-%.2s-%.2s\t", today, today + 4, today + 6), REPLY);
}

int Line(const PosnetLine& l) {
  std::string text = PosnetFormat("trline\t%sna%s\tvt%i\tpr%s\twa%s\til%.3f\t", l.number == 0 ? "st1\t" : "", l.name,
                            l.letter - 'A', Grosze(l.price).c_str(), Grosze(l.value).c_str(), l.quantity);
  return Command(text, REPLY_LONG);
}

int NipSet(const char* nip) { return Command(PosnetFormat("trnipset\tni%s\t", nip), REPLY_LONG); }

int Start(const PosnetStart& s) {
  int result = Command(PosnetFormat("trinit\tbm%i\t", s.lineCount > 0 ? 1 : 0), REPLY);
  if (result == 0 && PosnetPrintsNip(s.nip)) result = NipSet(s.nip);
  return result;
}

int End(const PosnetEnd& e) {
  if (PosnetPrintsNip(e.nip)) PosnetReport(NipSet(e.nip));
  int result = Command(PosnetFormat("ftrinfoset\tlb0\ttx%s\n%s\n%s\t", e.footer[0], e.footer[1], e.footer[2]), REPLY_LONG);
  if (result != 0) return result;
  if (e.paid != 0) {
    result = Command(PosnetFormat("trpayment\tty0\twa%s\tre%c\t", Grosze(e.paid).c_str(), '0'), REPLY_LONG);
    if (result != 0) return result;
    double change = ROUND(e.paid - e.total, 6);
    if (change != 0) {
      result = Command(PosnetFormat("trpayment\tty0\twa%s\tre%c\t", Grosze(change).c_str(), '1'), REPLY_LONG);
      if (result != 0) return result;
    }
  }
  return Command(PosnetFormat("trend\tto%s\tfp%s\t", Grosze(e.total).c_str(), Grosze(e.paid).c_str()), REPLY_LONG);
}

int Cancel() {
  for (;;) {
    std::vector<char> reply(REPLY, '\0');
    if (PosnetOnlineWyslij("prncancel\t") != 0) return PN_SEND_FAILED;
    int result = PosnetOnlineOdbierz(reply.data(), REPLY);
    if (result == 0) return 0;
    PosnetReport(result);
    if (!PosnetAskAgain(MSG_CANCEL_AGAIN)) return PN_USER_ABORT;
  }
}

int Header(va_list args) {
  bool markup = DFPrinterType() == DF_TYPE_POSNET_ONLINE;
  std::string text = "hdrset\ttx";
  for (const char* line; (line = va_arg(args, const char*)) != nullptr;) {
    if (markup) {
      text += PosnetOnlineMarkup(line);
    } else {
      if (text.size() + std::strlen(line) + 1 >= static_cast<size_t>(HEADER)) {
        PosnetLogTooLong(PN_LOG_LONG_COMMAND, text + line);
        return PN_TOO_LONG;
      }
      text += line;
      text += '\n';
    }
  }
  if (markup) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    text += "\tpr1\t";
  } else if (text.back() == '\n') {
    text.back() = '\t';
  }
  int result = Command(text, markup ? HEADER_MARKUP : HEADER);
  return result == ERROR_DAILY_REPORT ? PN_DAILY_REPORT_FIRST : result;
}

int Status(PosnetStatus* s) {
  s->lastOperation = -1;
  s->lastTransaction = -1;
  s->amountFormat = 1;
  s->year = -1;
  s->cash = 4294967295.0;
  std::vector<char> reply;
  int result = Command("scomm\t", REPLY_LONG, &reply);
  if (result == 0) result = PosnetFieldYesNo(reply.data(), "fs", &s->fiscalMode);
  if (result == 0) result = PosnetFieldText(reply.data(), "nu", s->uniqueNumber, sizeof s->uniqueNumber);
  if (result == 0) result = Command("strns\t", REPLY_LONG, &reply);
  if (result == 0) result = PosnetFieldInt(reply.data(), "to", &s->transactionMode);
  if (result == 0) result = Command("sfsk\t", REPLY_LONG, &reply);
  if (result == 0) result = PosnetFieldInt(reply.data(), "cl", &s->ramResets);
  for (int i = 0; i < 7 && result == 0; i++)
    result = PosnetFieldNumber(reply.data(), PosnetFormat("v%c", 'a' + i).c_str(), &s->vatRates[i]);
  if (result == 0) result = Command("stot\t", REPLY_LONG, &reply);
  for (int i = 0; i < 7 && result == 0; i++)
    result = PosnetFieldNumber(reply.data(), PosnetFormat("p%c", 'a' + i).c_str(), &s->totalizers[i]);
  int receipts = 0;
  if (result == 0) result = PosnetFieldInt(reply.data(), "pn", &receipts);
  if (result != 0) return result;
  s->receipts = static_cast<uint32_t>(receipts);
  for (double& total : s->totalizers) total /= 100.0;
  return 0;
}

}  // namespace

uint16_t PosnetCrc(const char* text, size_t length) {
  static const CrcTables tables;
  unsigned char high = 0, low = 0;
  for (size_t i = 0; i < length; i++) {
    unsigned char index = high ^ static_cast<unsigned char>(text[i]);
    high = tables.high[index] ^ low;
    low = tables.low[index];
  }
  return static_cast<uint16_t>(high << 8 | low);
}

std::string PosnetOnlineFrame(const std::string& text) {
  char check[6];
  std::snprintf(check, sizeof check, "#%04X", PosnetCrc(text.data(), text.size()));
  return std::string(1, static_cast<char>(STX)) + text + check + static_cast<char>(ETX);
}

int PosnetOnlineWyslij(const std::string& text) {
  ClearComBuffer();
  SetComTimeout(SEND_SECONDS);
  int error = 0;
  for (char byte : PosnetOnlineFrame(text))
    if (!WaitComWrite(static_cast<unsigned char>(byte), &error)) return PN_SEND_FAILED;
  return 0;
}

int PosnetOnlineOdbierz(char* buffer, int size) {
  int error = 0;
  for (;;) {
    SetComTimeout(REPLY_SECONDS);
    bool started = false;
    while (!started && WaitComReceived(&error)) started = ReadCom() == STX;
    if (started) break;
    if (!PosnetAskAgain(MSG_NO_ANSWER_WAIT)) return PN_USER_ABORT;
  }
  int length = 0, firstTab = -1, left = size;
  buffer[0] = '\0';
  for (;;) {
    if (!WaitComReceived(&error)) return PN_NO_ANSWER;
    unsigned char byte = ReadCom();
    if (byte == ETX) break;
    if (--left <= 0) {
      PosnetLogTooLong(PN_LOG_LONG_REPLY, std::string(buffer, static_cast<size_t>(length)));
      return PN_TOO_LONG;
    }
    buffer[length++] = static_cast<char>(byte);
    buffer[length] = '\0';
    if (byte == '\t' && firstTab < 0) firstTab = length - 1;
  }
  // "#" and four hexadecimal digits end the reply; anything else is no reply of ours.
  if (length < 5 || buffer[length - 5] != '#') return PN_BAD_CHECKSUM;
  for (int i = length - 4; i < length; i++)
    if (!std::isxdigit(static_cast<unsigned char>(buffer[i]))) return PN_BAD_CHECKSUM;
  unsigned received = static_cast<unsigned>(std::strtoul(buffer + length - 4, nullptr, 16));
  length -= 5;
  buffer[length] = '\0';
  if (PosnetCrc(buffer, static_cast<size_t>(length)) != received) return PN_BAD_CHECKSUM;
  if (firstTab > 0 && firstTab + 1 < length && buffer[firstTab + 1] == '?') {
    const char* number = buffer + firstTab + 2;
    if (firstTab + 6 > length) return PN_BAD_ANSWER;
    for (int i = 0; i < 4; i++)
      if (!std::isdigit(static_cast<unsigned char>(number[i]))) return PN_BAD_ANSWER;
    return (number[0] - '0') * 1000 + (number[1] - '0') * 100 + (number[2] - '0') * 10 + (number[3] - '0');
  }
  return 0;
}

int PosnetOnlineCommand(const std::string& text, char* reply, int size) {
  if (PosnetOnlineWyslij(text) != 0) return PN_SEND_FAILED;
  return PosnetOnlineOdbierz(reply, size);
}

int PosnetOnlineVatSet() { return Command("vatset\tva23\tvb8\tvc5\tvd7\tvg100\t", REPLY_LONG); }

std::string PosnetOnlineMarkup(const std::string& text) {
  std::string out;
  bool inTag = false, markInTag = false;
  int region = -1;                 // the open region's mark
  std::string remembered;          // attribute letters to close with the region
  auto closeRegion = [&] {
    for (auto letter = remembered.rbegin(); letter != remembered.rend(); ++letter) {
      out += '&';
      out += *letter;
    }
    out += '&';
    out += static_cast<char>(region);
    region = -1;
    remembered.clear();
  };
  for (unsigned char c : text) {
    if (!inTag) {
      if (c == '<') {
        inTag = true;
        markInTag = false;
      } else if (c == '&') {
        out += "&&";
      } else {
        out += static_cast<char>(c);
      }
      continue;
    }
    if (c == '>') {
      inTag = false;
    } else if (c < ':' || c >= 0x80) {
      markInTag = true;
      if (region < 0) {
        out += '&';
        out += static_cast<char>(c);
        region = c;
      } else if (region == c) {
        closeRegion();
      }
    } else if (c == 'c') {
      out += "&c";
    } else if (std::strchr("hiuNHw", c)) {
      char letter = c == 'w' ? 'b' : static_cast<char>(c);
      out += '&';
      out += letter;
      if (markInTag && region >= 0) remembered += letter;
    }
  }
  if (region >= 0) closeRegion();
  return out + '\n';
}

int PosnetFieldText(const char* reply, const char* key, char* out, int size) {
  std::string value;
  if (!FieldValue(reply, key, &value)) return PN_FIELD_MISSING;
  std::snprintf(out, static_cast<size_t>(size), "%s", value.c_str());
  return 0;
}

int PosnetFieldNumber(const char* reply, const char* key, double* out) {
  std::string value;
  if (!FieldValue(reply, key, &value)) return PN_FIELD_MISSING;
  if (value.empty() || value.size() >= 50) return PN_BAD_ANSWER;
  for (char& c : value)
    if (c == ',') c = '.';
  char* end = nullptr;
  double number = std::strtod(value.c_str(), &end);
  if (end != value.c_str() + value.size() || !std::isfinite(number)) return PN_BAD_ANSWER;
  *out = number;
  return 0;
}

int PosnetFieldInt(const char* reply, const char* key, int* out) {
  double number = 0;
  int result = PosnetFieldNumber(reply, key, &number);
  if (result != 0) return result;
  if (number < -2147483648.0 || number > 2147483647.0) return PN_BAD_ANSWER;
  *out = static_cast<int>(number);
  return 0;
}

int PosnetFieldYesNo(const char* reply, const char* key, int* out) {
  std::string value;
  if (!FieldValue(reply, key, &value)) return PN_FIELD_MISSING;
  if (value.size() != 1) return PN_BAD_ANSWER;
  if (std::strchr("0Nn", value[0])) *out = 0;
  else if (std::strchr("1TYty", value[0])) *out = 1;
  else return PN_BAD_ANSWER;
  return 0;
}

int PosnetFieldDateTime(const char* reply, const char* key, int* out5) {
  std::string v;
  if (!FieldValue(reply, key, &v)) return PN_FIELD_MISSING;
  if (v.size() != 16 || v[4] != '-' || v[7] != '-' || v[10] != ';' || v[13] != ':') return PN_BAD_ANSWER;
  const int at[5] = {0, 5, 8, 11, 14}, digits[5] = {4, 2, 2, 2, 2};
  for (int i = 0; i < 5; i++) {
    int value = 0;
    for (int d = 0; d < digits[i]; d++) {
      char c = v[static_cast<size_t>(at[i] + d)];
      if (!std::isdigit(static_cast<unsigned char>(c))) return PN_BAD_ANSWER;
      value = value * 10 + (c - '0');
    }
    out5[i] = value;
  }
  return 0;
}

int PosnetOnlineOp(int op, const PosnetRecords& records, va_list args) {
  switch (op) {
    case 3: case 4: case 9: return 0;
    case 5: return PosnetClockCheck(ReadClock, false, args);
    case 6: return Command("cashstaterep\t", REPLY);
    case 7: case 8: {
      double amount = va_arg(args, double);
      return Command(PosnetFormat("cash\tkw%s\twp%c\t", Grosze(amount).c_str(), op == 8 ? 'T' : 'N'), REPLY);
    }
    case 10: return Cancel();
    case 11: return End(records.end);
    case 12: return Line(records.line);
    case 13: return Start(records.start);
    case 14: return Header(args);
    case 15: {
      const char* line1 = va_arg(args, const char*);
      const char* line2 = va_arg(args, const char*);
      return Command(PosnetFormat("dsptxt\tid1\tst%s\n%s\t", line1, line2), REPLY_LONG);
    }
    case 16: {
      int v[5];
      for (int& value : v) value = va_arg(args, int);
      return Command(PosnetFormat("rtcset\tda%04d-%02d-%02d;%02d:%02d\t", v[0], v[1], v[2], v[3], v[4]), REPLY);
    }
    case 17: return PosnetClockInto(ReadClock, args);
    case 18: return Status(va_arg(args, PosnetStatus*));
    case 19: return Command("dspcmd\tid1\tst2\t", REPLY);
    case 20: return Command("opendrwr\t", REPLY);
    case 21: return DailyReport();
    case 22: {
      const char* text = va_arg(args, const char*);
      int number = va_arg(args, int);
      return Command(PosnetFormat("dsptxtline\tid1\tno%i\tln%s\t", number & 3, text), REPLY_LONG);
    }
    default: return 0;
  }
}
