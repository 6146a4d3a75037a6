// The ELZAB driver: short ESC commands answered by one ACK byte, the 51-byte
// sale line sent unanswered, and a reporter that spells a refusal out from
// the printer's two status bytes.
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/numbers.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_line.h"
#include "fiscal/printer_params.h"
#include "interchange/serial_port.h"
#include "platform/files.h"
#include "platform/process.h"
#include "ui/message_box.h"

namespace {

constexpr char ESC = 0x1B;
constexpr int ACK = 0x06;
constexpr double EXCHANGE_SECONDS = 2.0;
constexpr int OUT_OF_RANGE = -10;
constexpr int NO_ANSWER = -1;
constexpr int PORT_CLOSED = -9;
constexpr int LOG_OPEN = 2;
constexpr int LOG_CLOSE = 3;
constexpr int LOG_NAME_CUT = 46;
constexpr size_t NAME_WIDTH = 28;
constexpr size_t END_TEXT_WIDTH = 32;
constexpr double MAX_QUANTITY = 214748;
constexpr long MAX_DIGITS = 1000000;

int comPort = 0;

const char* const kStatus1[8] = {"Brak miejsca w bazie nazw i stawek.",
                                 "Nie wydrukowany dokument w pamięci drukarki.",
                                 "30 rekordów w pamięci fiskalnej.",
                                 "Nie wykonany raport dobowy.",
                                 "Błąd w CMOS.",
                                 "Zablokowana nazwa towaru.",
                                 "Brak wyświetlacza klienta.",
                                 "Brak komunikacji z kontrolerem drukarki."};
const char* const kStatus2[8] = {"W buforze drukowania zostały znaki.",
                                 "Brak papieru.",
                                 "Awaria drukarki.",
                                 "Awaria akumulatora.",
                                 "Nastąpiło unieważnienie paragonu.",
                                 "Za mało miejsca w pamięci paragonu.",
                                 "Brak papieru.",
                                 "Brak komunikacji z kontrolerem drukarki."};
const char kTimeout[] = "Przekroczony czas transmisji lub brak połączenia.";

std::string Le32(int32_t n) {
  uint32_t u = static_cast<uint32_t>(n);
  std::string bytes;
  for (int i = 0; i < 4; i++) bytes.push_back(static_cast<char>(u >> (8 * i) & 0xFF));
  return bytes;
}

// Grosze of an amount, false when they do not fit 32 bits.
bool Grosze(double amount, int32_t* out) {
  double g = ROUND(amount * 100, 0);
  if (!(g >= INT32_MIN && g <= INT32_MAX)) return false;
  *out = static_cast<int32_t>(g);
  return true;
}

// One exchange: the command written, then `count` answer bytes read into
// `answer`, all within one deadline. 0, -1, or a first byte other than ACK.
int Exchange(const std::string& command, int count, unsigned char* answer = nullptr) {
  SetComTimeout(EXCHANGE_SECONDS);
  ClearComBuffer();
  if (!LineWrite(command)) return NO_ANSWER;
  for (int i = 0; i < count; i++) {
    int byte = LineRead();
    if (byte < 0) return NO_ANSWER;
    if (i == 0 && byte != ACK) return byte;
    if (answer) answer[i] = static_cast<unsigned char>(byte);
  }
  return 0;
}

std::string Cmd(char c) { return std::string(1, ESC) + c; }

void Box(int kind, const char* utf8) { MessageWindow(kind, Maz(utf8).c_str()); }

// Status byte n (1 or 2) spelled out bit by bit.
void ShowStatus(char command, const char* const* texts) {
  unsigned char answer[2] = {};
  if (Exchange(Cmd(command), 2, answer) != 0) {
    Box(MB_ERROR, kTimeout);
    return;
  }
  for (int bit = 0; bit < 8; bit++)
    if (answer[1] & (1 << bit)) Box(MB_ERROR, texts[bit]);
}

int Report(int result) {
  switch (result) {
    case 0: case ACK: return 0;
    case PORT_CLOSED: return PORT_CLOSED;
    case OUT_OF_RANGE:
      Box(MB_WARNING, "Przekroczona maksymalna ilość lub zbyt wiele cyfr znaczących.");
      return OUT_OF_RANGE;
    case NO_ANSWER: Box(MB_ERROR, kTimeout); return NO_ANSWER;
    default:
      ShowStatus('T', kStatus1);
      ShowStatus('U', kStatus2);
      return result;   // a refusal is not a success
  }
}

int Open(int port, int* version, const char* terminal, const char* cashier) {
  if (OpenCom(port, COM_HANDSHAKE_RTS_CTS, COM_SPEED_9600, COM_PARITY_EVEN, COM_DATA_8, COM_STOP_1, nullptr) != 0)
    return PORT_CLOSED;
  comPort = port;
  unsigned char answer[2] = {};
  int result = Exchange(std::string(1, ESC) + '\xFF', 2, answer);
  if (result != 0) return result;
  *version = static_cast<signed char>(answer[1]);
  if ((result = Exchange(Cmd('u'), 1)) != 0) return result;
  std::string numbers = std::string(terminal, 2) + std::string(cashier, 2);
  SetComTimeout(EXCHANGE_SECONDS);
  ClearComBuffer();
  if (!LineWrite(Cmd('C') + To852(numbers))) return NO_ANSWER;
  ErrLogMessage(EL_FORMAT, LOG_OPEN, " ELZAB ver. %i, COM%i", *version, port);
  return 0;
}

// The name as the printer gets it: dots after a name of few letters and digits.
std::string LineName(const char* name) {
  std::string text = name ? name : "";
  text.erase(text.find_last_not_of(' ') + 1);
  text.resize(std::min(text.size(), NAME_WIDTH));
  int count = 0;
  for (char c : text)
    if (IsLetter(c) || (c >= '0' && c <= '9') || c == ',' || c == '.' || c == '/' || c == '\\') count++;
  if (count < 10) text.append(static_cast<size_t>(std::max(10 - count, 3)), '.');
  if (text.size() > NAME_WIDTH) {
    ErrLogMessage(EL_TEXT, LOG_NAME_CUT, text.c_str());
    text.resize(NAME_WIDTH);
  }
  return To852(text);
}

// "receipt.exe" in the current directory, given the line in "in.txt".
int OutsideProgram(const char* name, const char* unit, long digits, long price, char letter) {
  FILE* file = std::fopen("in.txt", "w+");
  if (!file) return NO_ANSWER;
  std::fprintf(file, "%d\t%d\t%d\n", 1, 9600, 9);
  std::fprintf(file, "%c\t%s\t%c\t%ld\t%ld\t%s\t2\n", digits < 0 ? '-' : '+', name, letter - 16, std::labs(digits),
               price, unit);
  std::fclose(file);
  std::string program = PlatResolveName("./receipt.exe");
  int exitCode = 0;
  if (PlatRunProgram(program.c_str(), {"in.txt"}, nullptr, &exitCode) != PLAT_OK) return NO_ANSWER;
  return exitCode == 0 ? 0 : NO_ANSWER;
}

int Line(const char* name, const char* unit, double quantity, double price, char letter, double value) {
  if (quantity > MAX_QUANTITY) return OUT_OF_RANGE;
  int32_t priceGr, valueGr;
  if (!Grosze(price, &priceGr) || !Grosze(value, &valueGr)) return OUT_OF_RANGE;
  long q = static_cast<long>(ROUND(quantity * 10000, 0));
  int k = 0;
  while (k < 4 && q != 0 && q % 10 == 0) {
    q /= 10;
    k++;
  }
  if (std::labs(q) >= MAX_DIGITS) return OUT_OF_RANGE;
  if (elzabOutsideProgram == 'T') return OutsideProgram(name, unit, q, priceGr, letter);
  std::string frame = ElzabLineFrame(name, unit, q, 4 - k, priceGr, letter, valueGr);
  SetComTimeout(EXCHANGE_SECONDS);
  ClearComBuffer();
  return LineWrite(frame) ? 0 : NO_ANSWER;
}

int End(const char* text) {
  std::string line = text ? text : "";
  line.resize(END_TEXT_WIDTH, ' ');
  std::string command = std::string(1, ESC) + '\x07' + ESC + '\x09' + '<' + To852(line) + '\n' + Cmd('$');
  return Exchange(command, 1);
}

int ReadClock(char* time, char* date) {
  unsigned char answer[11] = {};
  int result = Exchange(Cmd('5'), 11, answer);
  if (result != 0) return result;
  date[0] = '2';
  date[1] = '0';
  for (int i = 0; i < 6; i++) date[2 + i] = static_cast<char>('0' + answer[1 + i] % 10);
  for (int i = 0; i < 4; i++) time[i] = static_cast<char>('0' + answer[7 + i] % 10);
  return 0;
}

int CorrectClock(int minutes) {
  if (minutes < -60 || minutes > 60) return 0;
  int m = std::abs(minutes);
  std::string command = Cmd('6');
  command.push_back(minutes >= 0 ? 1 : 0);
  command.push_back(static_cast<char>(m / 10));
  command.push_back(static_cast<char>(m % 10));
  return Exchange(command, 1);
}

int Run(int op, va_list args) {
  switch (op) {
    case 1: {
      int port = va_arg(args, int);
      int* version = va_arg(args, int*);
      const char* terminal = va_arg(args, const char*);
      const char* cashier = va_arg(args, const char*);
      return Open(port, version, terminal, cashier);
    }
    case 2:
      CloseCom();
      ErrLogMessage(EL_NO_TEXT, LOG_CLOSE, TextRef());
      return 0;
    case 3: return Exchange(Cmd('&'), 1);
    case 4: {
      int32_t total;
      if (!Grosze(va_arg(args, double), &total)) return OUT_OF_RANGE;
      return Exchange(Cmd(' ') + Le32(total), 1);
    }
    case 5: {
      const char* name = va_arg(args, const char*);
      const char* unit = va_arg(args, const char*);
      double quantity = va_arg(args, double), price = va_arg(args, double);
      char letter = static_cast<char>(va_arg(args, int));
      double value = va_arg(args, double);
      return Line(name, unit, quantity, price, letter, value);
    }
    case 6: return End(va_arg(args, const char*));
    case 7: return Exchange(Cmd('#'), 1);
    case 8: {
      char* time = va_arg(args, char*);
      char* date = va_arg(args, char*);
      return ReadClock(time, date);
    }
    case 9: return CorrectClock(va_arg(args, int));
    case 10: return Exchange(Cmd('*'), 1);
    default: return 0;
  }
}

}  // namespace

std::string ElzabLineFrame(const char* name, const char* unit, long digits, int decimals, long price, char letter,
                           long value) {
  std::string frame = std::string(1, ESC) + '\x06' + ' ';
  std::string shown = LineName(name);
  shown.resize(NAME_WIDTH, ' ');
  frame += shown + '0' + Le32(static_cast<int32_t>(digits)) + static_cast<char>('0' + decimals);
  std::string u = std::string(unit ? unit : "").substr(0, 4);
  u.resize(4, ' ');
  frame += To852(u) + Le32(static_cast<int32_t>(price)) + ESC + letter + Le32(static_cast<int32_t>(value));
  return frame;
}

int ElzabCmd(int op, ...) {
  va_list args;
  va_start(args, op);
  int result = Run(op & 0xFFF, args);
  va_end(args);
  return Report(result);
}
