// The SPARK 482G driver: STX/ETX blocks closed by an XOR byte, each answered
// by one byte; a refused block leads to a status query whose two bytes are
// shown and decide whether it is sent again, at most seven tries.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "env/numbers.h"
#include "env/session/environment.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_line.h"
#include "interchange/serial_port.h"
#include "platform/screen_hook.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr char STX = 0x02, ETX = 0x03;
constexpr int ENQ = 0x05, ACK = 0x06, NAK = 0x15;
constexpr int TRIES = 7;
constexpr int PAUSE_MS = 50;
constexpr int OPEN_WAIT_MS = 2000;
constexpr double SEND_SECONDS = 1.0;
constexpr double RECEIVE_SECONDS = 3.0;
constexpr size_t TEXT_WIDTH = 28;
constexpr size_t NAME_WIDTH = 27;
constexpr unsigned char ARROW_OUT = 0xAE, ARROW_IN = 0xAF;

int traceWindow = -1;
int traceCount = 0;

// The printer's codes of the Polish letters.
const struct {
  const char* letter;
  unsigned char code;
} kLetters[] = {{"Ą", 0xA1}, {"ą", 0xC1}, {"Ę", 0xA6}, {"ę", 0xC6}, {"Ć", 0xA3}, {"ć", 0xC3},
                {"Ń", 0xAC}, {"ń", 0xCC}, {"Ó", 0xAD}, {"ó", 0xCD}, {"Ś", 0xB1}, {"ś", 0xD1},
                {"Ź", 0xB6}, {"ź", 0xD6}, {"Ż", 0xB7}, {"ż", 0xD7}, {"Ł", 0xAA}, {"ł", 0xCA}};

std::string Converted(std::string text) {
  static const std::string from = [] {
    std::string letters;
    for (const auto& l : kLetters) letters += Maz(l.letter);
    return letters;
  }();
  for (char& c : text) {
    size_t at = from.find(c);
    if (at != std::string::npos && c != '\0') c = static_cast<char>(kLetters[at].code);
  }
  return text;
}

void Trace(unsigned char arrow, const std::string& bytes) {
  if (traceWindow < 0) return;
  int previous = w4select(traceWindow);
  w4scroll(1);
  int row = w4height() - 1;
  w4clear(row);
  std::string line(1, static_cast<char>(arrow));
  line += Fmt("%3d%2d", ++traceCount, static_cast<int>(bytes.size()));
  for (char c : bytes) {
    unsigned char b = static_cast<unsigned char>(c);
    line += b >= 32 ? std::string(1, c) : Fmt("#%d", b);
  }
  w4num(row, 0, line.c_str(), static_cast<int>(std::min<size_t>(line.size(), 80)));
  w4select(previous);
}

bool Send(const std::string& bytes) {
  EnvSleep(PAUSE_MS);
  ClearComBuffer();
  SetComTimeout(SEND_SECONDS);
  bool sent = LineWrite(bytes);
  Trace(ARROW_OUT, bytes);
  KeyPressed();   // lets the window system process what is pending
  return sent;
}

bool Receive(int n, std::string* out) {
  SetComTimeout(RECEIVE_SECONDS);
  out->clear();
  for (int i = 0; i < n; i++) {
    int byte = LineRead();
    if (byte < 0) return false;
    out->push_back(static_cast<char>(byte));
  }
  Trace(ARROW_IN, *out);
  return true;
}

// The status query by byte b: 0 to send again, negative otherwise.
int Query(int b) {
  std::string answer;
  if (!Send(std::string(1, static_cast<char>(b))) || !Receive(5, &answer)) return -4;
  int result = -4;
  unsigned char a = static_cast<unsigned char>(answer[1]), s = static_cast<unsigned char>(answer[2]);
  const char* textA = nullptr;
  const char* textB = nullptr;
  if (a & 0x01) textA = "Transakcja fiskalna";
  else if (a & 0x02) result = -1, textA = "Transakcja niefiskalna";
  else if (a & 0x04) result = -1;
  else if (a & 0x08) textA = "Pamięć fiskalna przepełniona";
  else if (a & 0x10) textA = "Pamięć fiskalna bliska przepełnienia";
  else if (a & 0x20) textA = "Tryb fiskalny";
  if (s >= 0x60) {
    result = -2;
    textB = (s & 0x0C) == 0x0C ? "Pamięć fiskalna przepełniona" : (s & 0x04) ? "Błąd pamięci fiskalnej" : "Błąd fiskalny";
  } else if (s >= 0x50) {
    textB = (s & 0x0C) == 0x0C ? "Nielegalny rozkaz lub format rozkazu"
            : (s & 0x08)       ? "Nieprzydzielony kasjer"
            : (s & 0x04)       ? "Nielegalna stawka VAT"
                               : "Nielegalna wartość lub poza zakresem";
  } else {
    result = s > 0x43 ? -1 : s >= 0x41 ? -3 : 0;
    textB = (s & 0x02) ? "Błąd drukarki lub wyświetlacza" : (s & 0x01) ? "Brak papieru" : nullptr;
  }
  if (textA) MessageWindow(MB_WARNING, Maz(textA).c_str(), Maz(textB ? textB : "").c_str());
  else if (textB) MessageWindow(MB_WARNING, Maz(textB).c_str());
  return result;
}

int Exchange(const std::string& body) {
  std::string block = SparkBlock(body);
  for (int attempt = 0; attempt < TRIES; attempt++) {
    std::string answer;
    if (!Send(block) || !Receive(1, &answer)) continue;
    int byte = static_cast<unsigned char>(answer[0]);
    if (byte == ACK) return 0;
    if (byte != NAK && byte != ENQ) return -1;
    if (Query(byte == NAK ? ENQ : ACK) != 0) return -1;
  }
  return -1;
}

int Refused(const char* utf8) {
  MessageWindow(MB_ERROR, Maz(utf8).c_str());
  return -1;
}

std::string Fixed(const char* text, size_t width, char fill) {
  std::string s(text ? text : "");
  s = s.substr(0, std::min(s.size(), width));
  s.resize(width, fill);
  return s;
}

int Line(double price, double quantity, char letter, int vatCode, const char* name) {
  if (price >= 1000000) return Refused("Za duża cena.");
  if (quantity >= 100000) return Refused("Przekroczona maksymalna ilość !");
  std::string body(1, static_cast<char>(letter - 0x10));
  body += Fmt("%08ld%08ld%02d", static_cast<long>(ROUND(price * 100, 0)), static_cast<long>(ROUND(quantity * 1000, 0)),
              vatCode);
  body += Converted(Fixed(name, NAME_WIDTH, ' ') + static_cast<char>(letter + 0x10));
  return Exchange(body);
}

int Open(int port) {
  traceCount = 0;
  // The environment's trace switch: 0 shows the exchanged blocks in a window.
  if (EnvCurrent()->refuseDamagedTables == 0) {
    static const std::string title = Maz("Komunikacja z kasą");
    traceWindow = DefineRaportoweWindow(10, 0, 18, 80, title.c_str(), nullptr, nullptr, 0);
    if (traceWindow >= 0) w4activate(traceWindow);
  }
  if (OpenCom(port, 0, COM_SPEED_9600, COM_PARITY_EVEN, COM_DATA_8, COM_STOP_1, nullptr) != 0) return -1;
  std::string answer;
  if (!Send(std::string(1, ENQ)) || !Receive(5, &answer)) return -1;
  return Send(std::string(1, ACK)) ? 0 : -1;
}

int Close() {
  if (traceWindow >= 0) {
    g4char();
    w4deactivate(traceWindow);
    w4close(traceWindow);
    traceWindow = -1;
  }
  CloseCom();
  return 0;
}

int ReadStatus(char* buffer, int n) {
  std::string block = SparkBlock("S1");
  for (int attempt = 0; attempt < TRIES; attempt++) {
    std::string answer;
    if (!Send(block) || !Receive(n, &answer)) continue;
    std::memcpy(buffer, answer.data(), answer.size());
    Send(std::string(1, ACK));
    return 0;
  }
  return -1;
}

int Run(int op, va_list args) {
  switch (op) {
    case 1: return Open(va_arg(args, int));
    case 2: return Close();
    case 3: return Exchange("7");
    case 4: return Exchange("18");
    case 5: {
      double price = va_arg(args, double), quantity = va_arg(args, double);
      char letter = static_cast<char>(va_arg(args, int));
      int vatCode = va_arg(args, int);
      return Line(price, quantity, letter, vatCode, va_arg(args, const char*));
    }
    case 6:
      for (int line = 1; line <= 5; line++) {
        const char* text = va_arg(args, const char*);
        std::string body = "PH" + std::string(1, static_cast<char>('0' + line)) + Converted(Fixed(text, TEXT_WIDTH, '\0'));
        if (Exchange(body) != 0) return -1;
      }
      return 0;
    case 7: {
      char* buffer = va_arg(args, char*);
      return ReadStatus(buffer, va_arg(args, int));
    }
    case 8: return Exchange("zz");
    case 9: {
      const char* device = va_arg(args, const char*);
      const char* cashier = va_arg(args, const char*);
      if (Exchange("o" + std::string(device, 2) + std::string(cashier, 5)) != 0) return -1;
      ScreenWaitMs(OPEN_WAIT_MS);   // the screen stays responsive
      SparkCmd(10, cashier);
      return 0;
    }
    case 10: return Exchange("5" + std::string(va_arg(args, const char*), 5));
    default: return 0;
  }
}

}  // namespace

std::string SparkBlock(const std::string& body) {
  std::string block = STX + body + ETX;
  unsigned char check = 0;
  for (size_t i = 1; i < block.size(); i++) check ^= static_cast<unsigned char>(block[i]);
  return block + static_cast<char>(check);
}

int SparkCmd(int op, ...) {
  va_list args;
  va_start(args, op);
  int result = Run(op & 0xFFF, args);
  va_end(args);
  return result;
}
