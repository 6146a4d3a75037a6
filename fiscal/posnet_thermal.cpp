// The Thermal protocol: ESC P, the command text, an XOR checksum, ESC \; the
// printer's state comes back as a status byte after ENQ, its answers as
// ESC-framed texts.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/numbers.h"
#include "env/services.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet_protocols.h"
#include "fiscal/printer_params.h"
#include "interchange/serial_port.h"

namespace {

constexpr unsigned char ESC = 0x1B;
constexpr unsigned char ENQ = 0x05;
constexpr unsigned char BEL = 0x07;
constexpr unsigned char CAN = 0x18;
constexpr unsigned char STATUS_BITS = 0x60;
constexpr unsigned char CMD = 0x04;
constexpr unsigned char PAR = 0x02;
constexpr unsigned char TRF = 0x01;
constexpr double COMMAND_SECONDS = 3.0;
constexpr double ALONE_SECONDS = 1.0;
constexpr double ANSWER_SECONDS = 2.0;
constexpr double DRAIN_SECONDS = 0.2;
constexpr int ANSWER = 100;
constexpr int STATUS_ANSWER = 300;
constexpr size_t HEADER_MAX = 205;

bool Novitus() { return DFPrinterType() == DF_TYPE_NOVITUS; }
bool LongLineType() { return DFPrinterType() == 6 || DFPrinterType() == 8; }

// NOVITUS prints only the Polish letters among the bytes of 0x80 and above.
void Printable(std::string* text) {
  static const std::string polish = Utf8ToMazText("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
  for (char& c : *text)
    if (static_cast<unsigned char>(c) >= 0x80 && polish.find(c) == std::string::npos) c = 0x7F;
}

int SendBytes(double seconds, const std::string& bytes, const char* logName) {
  ClearComBuffer();
  SetComTimeout(seconds);
  if (logName) ErrLogMessage(EL_TEXT, PN_LOG_WRITE, logName);
  int error = 0;
  for (char byte : bytes)
    if (!WaitComWrite(static_cast<unsigned char>(byte), &error)) return PN_SEND_FAILED;
  return 0;
}

int Send(std::string text, bool checksum, const char* logName) {
  if (Novitus()) Printable(&text);
  std::string frame = std::string(1, static_cast<char>(ESC)) + 'P' + text;
  if (checksum) frame += PosnetThermalChecksum(text);
  frame += static_cast<char>(ESC);
  frame += '\\';
  return SendBytes(COMMAND_SECONDS, frame, logName);
}

int SendAlone(unsigned char byte) { return SendBytes(ALONE_SECONDS, std::string(1, static_cast<char>(byte)), nullptr); }

// The text between ESC and ESC '\' within the time; -2 when none comes, -16
// when it outgrows the buffer.
int ReadAnswer(char* buffer, int size) {
  SetComTimeout(ANSWER_SECONDS);
  int error = 0;
  bool started = false;
  while (!started && WaitComReceived(&error)) started = ReadCom() == ESC;
  if (!started) return PN_NO_ANSWER;
  int length = 0;
  buffer[0] = '\0';
  bool escape = false;
  for (;;) {
    if (!WaitComReceived(&error)) return PN_NO_ANSWER;
    unsigned char byte = ReadCom();
    if (escape && byte == '\\') return 0;
    escape = byte == ESC;
    if (escape) continue;
    if (length + 1 >= size) {
      PosnetLogTooLong(PN_LOG_LONG_REPLY, std::string(buffer, static_cast<size_t>(length)));
      return PN_TOO_LONG;
    }
    buffer[length++] = static_cast<char>(byte);
    buffer[length] = '\0';
  }
}

int ReadStatusAnswer(PosnetStatus* status) {
  std::vector<char> answer(STATUS_ANSWER, '\0');
  int result = ReadAnswer(answer.data(), STATUS_ANSWER);
  return result != 0 ? result : PosnetParseStatus(answer.data(), status);
}

struct Expect {
  int par = -1, trf = -1;   // -1 either, 0 clear, 1 set
  bool errorQuery = true;
};

// Waits for the status byte after ENQ and checks it against the expectations.
int StatusWait(double seconds, Expect expect, unsigned char* statusOut = nullptr) {
  for (int i = 0; i < (Novitus() ? 1 : 2); i++)
    if (SendAlone(ENQ) != 0) return PN_SEND_FAILED;
  int error = 0;
  unsigned char status = 0;
  for (bool got = false; !got;) {
    SetComTimeout(seconds);
    while (!got && WaitComReceived(&error)) {
      unsigned char byte = ReadCom();
      got = (byte & STATUS_BITS) == STATUS_BITS;
      if (got) status = byte;
    }
    if (!got && !PosnetAskAgain(MSG_NO_ANSWER_WAIT)) return PN_USER_ABORT;
  }
  if (!Novitus()) {
    SetComTimeout(DRAIN_SECONDS);
    while (WaitComReceived(&error)) {
      unsigned char byte = ReadCom();
      if ((byte & STATUS_BITS) != STATUS_BITS) break;
      status = byte;
    }
  }
  if (statusOut) *statusOut = status;
  bool cmd = status & CMD;
  if (!cmd) ErrLogMessage(EL_TEXT, PN_LOG_READ, "CMD_off");
  struct Check {
    bool failed;
    const char* name;
    int code;
  };
  const Check checks[] = {{expect.par == 1 && !(status & PAR), "PAR_off", PN_PAR_OFF},
                          {expect.par == 0 && (status & PAR), "PAR_on", PN_PAR_ON},
                          {expect.trf == 1 && !(status & TRF), "TRF_off", PN_TRF_OFF},
                          {expect.trf == 0 && (status & TRF), "TRF_on", PN_TRF_ON}};
  for (const Check& check : checks) {
    if (!check.failed) continue;
    ErrLogMessage(EL_TEXT, PN_LOG_READ, check.name);
    if (cmd) return check.code;
  }
  if (!expect.errorQuery || cmd) return 0;
  if (Send("0#s", false, "Getinf") != 0) return PN_SEND_FAILED;
  PosnetStatus printer{};
  int result = ReadStatusAnswer(&printer);
  if (result != 0) return result;
  return printer.lastOperation != 0 ? printer.lastOperation : PN_NO_ERROR_NUMBER;
}

int Exchange(const std::string& text, bool checksum, const char* logName, double seconds, Expect expect = {}) {
  int result = Send(text, checksum, logName);
  return result != 0 ? result : StatusWait(seconds, expect);
}

int ReadClock(int* out5) {
  if (Send("0#c", false, "Gettime") != 0) return PN_SEND_FAILED;
  char answer[ANSWER];
  int result = ReadAnswer(answer, sizeof answer);
  if (result != 0) return result;
  int v[5];
  if (std::sscanf(answer, "P1#C%d;%d;%d;%d;%d;0", &v[0], &v[1], &v[2], &v[3], &v[4]) != 5) return PN_BAD_ANSWER;
  std::memcpy(out5, v, sizeof v);
  return 0;
}

int DailyReport() {
  int result = PosnetClockFitsDailyReport(ReadClock, true);
  if (result != 0) return result;
  const char* today = get_cur_das(0);
  return Exchange(PosnetFormat("1;%.2s;%.2s;%.2s#r", today + 2, today + 4, today + 6), true, "Dobowy", 45);
}

// Up to three texts, each non-empty one as at most 40 characters and CR.
std::string Lines(const char* const* texts, int count, int* lines) {
  std::string out;
  *lines = 0;
  for (int i = 0; i < count; i++) {
    if (!texts[i] || !*texts[i]) continue;
    out += PosnetFormat("%.40s\r", texts[i]);
    ++*lines;
  }
  return out;
}

int Start(const PosnetStart& s) {
  const char* texts[] = {s.receiptText, s.header[0], s.header[1]};
  int lines = 0;
  std::string body = Lines(texts, 3, &lines);
  std::string text = Novitus() && PosnetPrintsNip(s.nip)
                         ? PosnetFormat("%d;%d;0;1%s%s%s\r", s.lineCount, lines, "$h", body.c_str(), s.nip)
                         : PosnetFormat("%d;%d%s%s", s.lineCount, lines, "$h", body.c_str());
  Expect expect;
  expect.par = 1;
  if (DFPrinterType() != DF_TYPE_TORELL) expect.trf = 0;
  return Exchange(text, true, "Trans", 10, expect);
}

int Line(const PosnetLine& l) {
  std::string quantity = PosnetFormat("%11.3f", l.quantity);
  std::string text;
  if (LongLineType()) {
    // The price with up to four decimals, at least two.
    std::string price = PosnetFormat("%.4f", l.price);
    size_t point = price.find('.');
    while (price.size() - point > 3 && price.back() == '0') price.pop_back();
    text = PosnetFormat("%ld;%d%s%s\r%s\r%c/%11s/", static_cast<long>(l.number), l.extraFlag, "$l", l.name,
                  quantity.c_str(), l.letter, price.c_str());
    text += PosnetAmountText(l.value);
    if (l.extraFlag) text += PosnetAmountText(l.third);
  } else {
    text = PosnetFormat("%ld%s%s\r%s\r%c/", static_cast<long>(l.number), "$l", l.name, quantity.c_str(), l.letter);
    text += PosnetAmountText(l.price) + PosnetAmountText(l.value);
  }
  Expect expect;
  expect.par = 1;
  return Exchange(text, true, l.number == 0 ? "STORNO" : "Linia", 10, expect);
}

int End(const PosnetEnd& e) {
  if (Novitus() && PosnetPrintsNip(e.nip)) {
    Expect nip;
    nip.par = 1;
    nip.trf = 0;
    PosnetReport(Exchange(PosnetFormat("100;1%s%s\r", "$z", e.nip), true, "Nipset", 10, nip));
  }
  int lines = 0;
  std::string body = Lines(e.footer, 3, &lines);
  std::string text;
  if (LongLineType())
    text = PosnetFormat("1;0;%d;0;%d;%d%s%s\r%s", lines, e.extraFlag, e.shortSummary, "$e", e.terminal, body.c_str());
  else if (Novitus())
    text = PosnetFormat("1;%d;%d;0;%s%s\r%s", e.lead, lines, "$e", e.terminal, body.c_str());
  else
    text = PosnetFormat("1;%d;%d;%s%s\r%s", e.lead, lines, "$e", e.terminal, body.c_str());
  text += PosnetAmountText(e.paid) + PosnetAmountText(e.total);
  if (LongLineType() && e.extraFlag) text += PosnetAmountText(e.third);
  Expect expect;
  expect.par = 0;
  expect.trf = 1;
  return Exchange(text, true, "Akcept", 45, expect);
}

int Cancel() {
  for (;;) {
    if (SendAlone(CAN) != 0 || Send("0$e", true, "Anul") != 0) return PN_SEND_FAILED;
    Expect expect;
    expect.par = 0;
    expect.errorQuery = false;
    unsigned char status = 0;
    int result = StatusWait(5, expect, &status);
    if (result == PN_USER_ABORT || result == PN_SEND_FAILED) return result;
    if ((status & CMD) && !(status & PAR)) return 0;
    if (!PosnetAskAgain(MSG_CANCEL_AGAIN)) return PN_USER_ABORT;
  }
}

int Header(va_list args) {
  std::vector<std::string> texts;
  for (const char* line; (line = va_arg(args, const char*)) != nullptr;) texts.push_back(line);
  if (Novitus()) {
    std::string counts, records;
    int lines = 0;
    for (const std::string& t : texts) {
      int segments = 0;
      std::string record = PosnetNovitusMarkup(t, &segments);
      if (segments == 0) continue;
      lines++;
      counts += PosnetFormat("%d;", segments);
      records += record;
    }
    if (!counts.empty()) counts.pop_back();
    return Exchange(PosnetFormat("%i;", lines) + counts + "#a" + records, true, nullptr, 10);
  }
  std::string joined;
  for (const std::string& t : texts) {
    if (t.empty() || joined.size() + t.size() > HEADER_MAX) continue;
    joined += t + '\r';
  }
  for (char& c : joined) {
    if (c == '[') c = 0x0E;
    else if (c == ']') c = 0x14;
  }
  return Exchange("0$f" + joined + static_cast<char>(0xFF), true, nullptr, 10);
}

int Display(int code, const std::string& text, bool checksum, const char* logName) {
  return Exchange(PosnetFormat("%d$d%s", code, text.c_str()), checksum, logName, 10);
}

}  // namespace

std::string PosnetAmountText(double value) {
  unsigned long n = static_cast<unsigned long>(ROUND(value * 100.0, 0));
  if (n % 100 == 0) return PosnetFormat("%lu/", n / 100);
  return PosnetFormat("%lu.%02lu/", n / 100, n % 100);
}

std::string PosnetThermalChecksum(const std::string& text) {
  unsigned char sum = 0xFF;
  for (char c : text) sum ^= static_cast<unsigned char>(c);
  return PosnetFormat("%02X", sum);
}

std::string PosnetNovitusMarkup(const std::string& text, int* segments) {
  char alignment = '0';
  int attributes = 0;
  std::string codes, texts, current;
  int count = 0, mark = -1;
  bool inTag = false;
  auto dropTrailingBlanks = [&] {
    while (!current.empty() && current.back() == ' ') current.pop_back();
  };
  auto closePlain = [&] {
    dropTrailingBlanks();
    if (current.empty()) return;
    texts += current + '\r';
    codes += "8/";
    count++;
    current.clear();
  };
  for (unsigned char c : text) {
    if (!inTag) {
      if (c == '<') inTag = true;
      else current += static_cast<char>(c);
      continue;
    }
    if (c == '>') {
      inTag = false;
    } else if (c == 'c') {
      alignment = '1';
    } else if (c == 'r') {
      alignment = '2';
    } else if (const char* at = std::strchr("bhwNHW", c); at && c) {
      attributes |= 1 << (at - "bhwNHW");
    } else if (c < ':' || c >= 0x80) {
      if (mark < 0) {
        closePlain();
        mark = c;
        codes += static_cast<char>(c);
      } else if (mark == c) {
        texts += current + '\r';
        codes += '/';
        count++;
        current.clear();
        mark = -1;
      }
    }
  }
  if (mark >= 0) {
    texts += current + '\r';
    codes += '/';
    count++;
  } else {
    closePlain();
  }
  *segments = count;
  if (count == 0) return "";
  return PosnetFormat("%c/%i/", alignment, attributes) + codes + texts;
}

int PosnetParseStatus(const char* answer, PosnetStatus* s) {
  *s = PosnetStatus{};
  for (int i = 0; i < 6; i++) s->vatRates[i] = 101.0;
  s->vatRates[6] = 100.0;
  if (std::strncmp(answer, "P1#X", 4) != 0) return PN_BAD_ANSWER;
  std::string rest = answer + 4;
  size_t slash = rest.find('/');
  if (slash == std::string::npos) return PN_BAD_ANSWER;
  auto number = [](const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    *out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(*out);
  };
  auto split = [](const std::string& text, char by) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = text.find(by, from)) != std::string::npos; from = at + 1) parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
  };
  std::vector<std::string> head = split(rest.substr(0, slash), ';');
  if (head.size() != 9) return PN_BAD_ANSWER;
  int32_t values[9];
  for (int i = 0; i < 9; i++) {
    double v = 0;
    if (!number(head[static_cast<size_t>(i)], &v) || std::fabs(v) > 2147483647.0) return PN_BAD_ANSWER;
    values[i] = static_cast<int32_t>(v);
  }
  std::vector<std::string> tail = split(rest.substr(slash + 1), '/');
  if (!tail.empty() && tail.back().empty()) tail.pop_back();
  for (int k = 6; k >= 1; k--) {
    size_t size = static_cast<size_t>(2 * k + 4);
    if (tail.size() != size) continue;
    std::vector<double> n(size - 1);
    bool ok = true;
    for (size_t i = 0; i + 1 < size && ok; i++) ok = number(tail[i], &n[i]);
    if (!ok || tail.back().size() > 12 || n[static_cast<size_t>(k)] < 0 || n[static_cast<size_t>(k)] > 4294967295.0)
      continue;
    s->lastOperation = values[0];
    s->fiscalMode = values[1] != 0 ? 1 : 0;
    s->transactionMode = values[2];
    s->lastTransaction = values[3];
    s->amountFormat = values[4];
    s->ramResets = values[5];
    s->year = values[6];
    s->month = values[7];
    s->day = values[8];
    for (int i = 0; i < k; i++) s->vatRates[i] = n[static_cast<size_t>(i)];
    s->receipts = static_cast<uint32_t>(n[static_cast<size_t>(k)]);
    for (int i = 0; i < k; i++) s->totalizers[i] = n[static_cast<size_t>(k + 1 + i)];
    s->totalizers[6] = n[static_cast<size_t>(2 * k + 1)];
    s->cash = n[static_cast<size_t>(2 * k + 2)];
    std::snprintf(s->uniqueNumber, sizeof s->uniqueNumber, "%s", tail.back().c_str());
    unsigned year = static_cast<unsigned>((s->year >= 0 && s->year < 100 ? 2000 : 0) + s->year) % 10000;
    std::snprintf(s->dateText, sizeof s->dateText, "%04u%02u%02u", year, static_cast<unsigned>(s->month) % 100,
                  static_cast<unsigned>(s->day) % 100);
    return 0;
  }
  return PN_BAD_ANSWER;
}

int PosnetErrorQuery(int* error) {
  if (Send("0#n", false, "GetErr") != 0) return PN_SEND_FAILED;
  char answer[ANSWER];
  if (ReadAnswer(answer, sizeof answer) != 0) return PN_NO_ANSWER;
  return std::sscanf(answer, "P1#E%d", error) == 1 ? 0 : PN_BAD_ANSWER;
}

int64_t PosnetCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double PosnetElapsedMs(int64_t from, int64_t to) { return static_cast<double>(to - from) / 1e9 * 1000.0; }

int PosnetThermalOp(int op, const PosnetRecords& records, va_list args) {
  switch (op) {
    case 3: return SendAlone(BEL);
    case 4: return Exchange(PosnetFormat("%d#e", va_arg(args, int)), true, "Errmod", 10);
    case 5: return PosnetClockCheck(ReadClock, true, args);
    case 6: return Exchange("0#t", true, nullptr, 10);
    case 7: return Exchange("0#d" + PosnetAmountText(va_arg(args, double)), true, nullptr, 10);
    case 8: return Exchange("0#i" + PosnetAmountText(va_arg(args, double)), true, nullptr, 10);
    case 10: return Cancel();
    case 11: return End(records.end);
    case 12: return Line(records.line);
    case 13: return Start(records.start);
    case 14: return Header(args);
    case 15: {
      std::string line1 = va_arg(args, const char*);
      std::string line2 = va_arg(args, const char*);
      return Display(2, line1 + '\n' + line2, false, "Disp");
    }
    case 16: {
      int v[5];
      for (int& value : v) value = va_arg(args, int);
      return Exchange(PosnetFormat("%02d;%d;%d;%d;%d;0$c", v[0] % 100, v[1], v[2], v[3], v[4]), true, "Settime", 10);
    }
    case 17: return PosnetClockInto(ReadClock, args);
    case 18: {
      PosnetStatus* status = va_arg(args, PosnetStatus*);
      if (Send("0#s", false, "GETINFO") != 0) return PN_SEND_FAILED;
      return ReadStatusAnswer(status);
    }
    case 19: return Display(3, "", false, "Dtm");
    case 20: return Display(1, "", false, "Szuf");
    case 21: return DailyReport();
    case 22: {
      const char* text = va_arg(args, const char*);
      int number = va_arg(args, int);
      return Display(number % 4 == 0 ? 101 : 102, std::string(text) + '\r', true, "Dspl");
    }
    default: return 0;
  }
}
