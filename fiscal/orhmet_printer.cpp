// The ORHMET driver: two-letter commands behind ENQ, a two-character status
// answer, and the data block sent once the printer accepts the command
// (status 17). Its operations return the status number; the reporter makes
// 1 (done) the interface's 0 and shows every other number.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fiscal/printer_drivers.h"
#include "fiscal/printer_line.h"
#include "interchange/serial_port.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int ENQ = 0x05;
constexpr int ACK = 0x06;
constexpr double BYTE_SECONDS = 2.0;
constexpr int PORT_CLOSED = -9;
constexpr int DONE = 1;
constexpr int ACCEPTED = 17;          // 'I' '1': the data may follow
constexpr int NO_STATUS = 300;
constexpr int BROKEN_BY_KEY = 301;
constexpr int TOO_LARGE = 10000;
constexpr int NUMBER_WIDTH = 9;
constexpr int TEXT_WIDTH = 18;
constexpr int SILENT_READS_BEFORE_ASKING = 30;
constexpr int MSG_WAIT_ON = 250;   // "Drukarka nie odpowiada. Czekać dalej ?"

struct StatusText {
  int number;
  const char* text;
};
const StatusText kTexts[] = {
    {2, "Złe dane lub rozkaz"}, {3, "Serwis dopuszczony"}, {4, "Daję dane"}, {5, "Błąd ustawienia daty"},
    {6, "Wymagany serwis"}, {7, "Zablokowany mechanizm drukarki"}, {8, "Tylko odczyt"}, {9, "Błąd daty drukarki"},
    {10, "Nie wykonany raport dobowy"}, {11, "Przepełnienie transakcji"}, {12, "Błąd zapisu"},
    {13, "Brak miejsca na nowe stawki"}, {14, "Nie rozpoczęta transakcja"}, {15, "Przepełniony paragon"},
    {16, "Drukarka w trybie tylko odczyt"}, {17, "Instrukcja OK!"}, {18, "Zły kod rozkazu"},
    {19, "Niezainicjowana drukarka"}, {20, "Drukarka w trybie serwisu"},
    {21, "Nie ustawiony NIP lub numer unikatowy"}, {22, "Instrukcja dozwolona tylko w trybie serwisu"},
    {23, "Instrukcja dozwolona tylko w trybie serwisu"}, {101, "Daj nazwę"}, {102, "Towar został dodany"},
    {103, "Lista bliska przepełnienia"}, {201, "Daj nazwę"}, {202, "Wez linię"}, {300, "Przeterminowanie"},
    {301, "Przerwa w drukowaniu"}, {302, "Błąd w dostępie do dysku"}, {303, "Błąd zgłoszony przez rezydenta"},
    {304, "Złe typy argumentów"}, {10000, "Za duża kwota"}};

// ENQ and the bytes, each within 2 s of its own start; a data byte that does
// not go is followed by ACK.
bool BlockOut(const std::string& bytes) {
  SetComTimeout(BYTE_SECONDS);
  if (!LineWrite(std::string(1, ENQ))) return false;
  for (char c : bytes) {
    SetComTimeout(BYTE_SECONDS);
    if (!LineWrite(std::string(1, c))) {
      SetComTimeout(BYTE_SECONDS);
      LineWrite(std::string(1, ACK));
      return false;
    }
  }
  return true;
}

// Bytes dropped up to ENQ, then n bytes, all within 2 s; an ACK fails it.
bool BlockIn(int n, std::string* out) {
  SetComTimeout(BYTE_SECONDS);
  int byte;
  do {
    byte = LineRead();
    if (byte < 0 || byte == ACK) return false;
  } while (byte != ENQ);
  out->clear();
  for (int i = 0; i < n; i++) {
    byte = LineRead();
    if (byte < 0 || byte == ACK) return false;
    out->push_back(static_cast<char>(byte));
  }
  return true;
}

int Status() {
  std::string s;
  if (!BlockIn(2, &s)) return NO_STATUS;
  char a = s[0], b = s[1];
  if (a == 'D' && b >= '0' && b <= '9') return b - '0';
  if (a == 'D' && b >= 'A' && b <= 'F') return b - 'A' + 10;
  if (a == 'I' && b >= '0' && b <= '9') return b - '0' + 16;
  if (a == 'L' && b >= '1' && b <= '3') return b - '1' + 101;
  if (a == 'D' && b == 'J') return 201;
  if (a == 'W' && b == 'E') return 202;
  return -1;
}

// The status read again while nothing comes; a key ends the wait. After a
// minute of silence the operator is asked whether to wait on, so a printer
// gone quiet cannot hold the program where no key arrives.
int StatusRepeated() {
  for (int silent = 1;; silent++) {
    int status = Status();
    if (status != NO_STATUS) return status;
    if (KeyPressed()) {
      g4char();
      return BROKEN_BY_KEY;
    }
    if (silent % SILENT_READS_BEFORE_ASKING == 0 && MessageWindow(MB_ERROR | MB_YES_ESC, MSG_WAIT_ON) == KEY_ESC)
      return BROKEN_BY_KEY;
  }
}

int Command(const char* code) {
  if (!BlockOut(code)) return NO_STATUS;
  return Status();
}

std::string Amount(double value) { return Fmt("%*.2f", NUMBER_WIDTH, value); }

// Up to four decimals, trailing zeros dropped, right-aligned in 9; false
// when the text does not fit (its leading digits would be lost).
bool Quantity(double value, std::string* out) {
  std::string text = Fmt("%.4f", value);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  if (text.size() > NUMBER_WIDTH) return false;
  *out = std::string(NUMBER_WIDTH - text.size(), ' ') + text;
  return true;
}

std::string Padded(const char* text, size_t width) {
  std::string s = std::string(text ? text : "").substr(0, width);
  s.resize(width, ' ');
  return s;
}

// Command, data after its acceptance, final status (read repeatedly or once).
int WithData(const char* code, const std::string& data, bool repeated) {
  int status = Command(code);
  if (status != ACCEPTED) return status;
  if (!data.empty() && !BlockOut(data)) return NO_STATUS;
  return repeated ? StatusRepeated() : Status();
}

int ReadClock(va_list args) {
  int* values[5];
  for (int*& v : values) v = va_arg(args, int*);
  int status = Command("U5");
  if (status != ACCEPTED) return status;
  std::string date, time;
  if (!BlockIn(6, &date) || !BlockIn(4, &time)) return NO_STATUS;
  std::string digits = date + time;
  for (int i = 0; i < 5; i++) *values[i] = std::atoi(digits.substr(static_cast<size_t>(2 * i), 2).c_str());
  return Status();
}

int Run(int op, va_list args) {
  if (op == 1) {
    int port = va_arg(args, int);
    if (OpenCom(port, COM_HANDSHAKE_RTS_CTS, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr) != 0)
      return PORT_CLOSED;
    std::string answer;
    return BlockOut("XX") && BlockIn(2, &answer) ? DONE : 0;
  }
  if (op == 2) {
    CloseCom();
    return 0;
  }
  if (op < 3 || op > 13) return 0;
  // amounts out of range go nowhere
  std::string data;
  if (op == 6) {
    const char* name = va_arg(args, const char*);
    char letter = static_cast<char>(va_arg(args, int));
    double quantity = va_arg(args, double), price = va_arg(args, double);
    std::string q;
    if (quantity >= 1000000 || price >= 1000000 || !Quantity(quantity, &q)) return TOO_LARGE;
    data = Padded(name, TEXT_WIDTH) + letter + Amount(price) + q + "000";
  } else if (op == 10) {
    char sign = static_cast<char>(va_arg(args, int));
    double amount = va_arg(args, double);
    if (amount >= 10000000) return TOO_LARGE;
    data = sign + Amount(amount);
  }
  ClearComBuffer();
  switch (op) {
    case 3: return ReadClock(args);
    case 4: {
      int status = Command("P1");
      return status == ACCEPTED || status == DONE ? StatusRepeated() : status;
    }
    case 5: {
      for (int i = 0; i < 3; i++) data += Padded(va_arg(args, const char*), TEXT_WIDTH);
      return WithData("P5", data, false);
    }
    case 6: return WithData("P2", data, false);
    case 7: return WithData("L4", "", false);
    case 8: {
      int status = WithData("PA", "", false);
      std::string dropped;
      if (status == DONE && !BlockIn(10, &dropped)) return NO_STATUS;
      return status;
    }
    case 9: {
      char form = static_cast<char>(va_arg(args, int));
      double paid = va_arg(args, double), change = va_arg(args, double);
      return WithData("P3", form + Amount(paid) + Amount(change), true);
    }
    case 10: return WithData("D1", data, true);
    case 11: {
      const char* terminal = va_arg(args, const char*);
      const char* cashier = va_arg(args, const char*);
      return WithData("I1", std::string(terminal, 2) + std::string(cashier, 2) + 'T', false);
    }
    case 12: {
      char a = static_cast<char>(va_arg(args, int)), b = static_cast<char>(va_arg(args, int));
      return WithData("K1", std::string(1, a) + b, false);
    }
    default: return WithData("K4", std::string(1, static_cast<char>(va_arg(args, int))), false);
  }
}

int Report(int status) {
  if (status == DONE || status == 0 || status == PORT_CLOSED) return status == PORT_CLOSED ? PORT_CLOSED : 0;
  const char* text = "Inny błąd";
  for (const StatusText& t : kTexts)
    if (t.number == status) text = t.text;
  MessageWindow(MB_ERROR, Maz(text).c_str());
  return status;
}

}  // namespace

int OrhmetCmd(int op, ...) {
  va_list args;
  va_start(args, op);
  int status = Run(op & 0xFFF, args);
  va_end(args);
  return Report(status);
}
