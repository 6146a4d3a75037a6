// The TP Line driver: ESC 'C' frames closed by a position-weighted check
// byte, numbers in packed BCD, a three-byte answer, and the service queries'
// data records shown in their window.
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_line.h"
#include "interchange/serial_port.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_RANGE = 228;   // "Błąd zakresu."
constexpr double ANSWER_SECONDS = 2.0;
constexpr int NAME_MAX = 24;
constexpr int DISPLAY_WIDTH = 20;
constexpr size_t FRAME_MAX = 256;

unsigned char lastCommand = 0;

struct ErrorText {
  int status;
  const char* text;
};
const ErrorText kErrors[] = {
    {1, "niepoprawny numer funkcji"},
    {2, "niepoprawny rekord"},
    {3, "błąd sumy kontrolnej w czasie transmisji"},
    {4, "niepoprawna kolejność operacji"},
    {5, "za duża kwota"},
    {6, "próba zmiany czasu ponad 30 minut"},
    {7, "niepoprawna operacja"},
    {8, "próba cofnięcia daty po fiskalizacji kasy"},
    {9, "operacja dozwolona tylko w trybie serwisowym"},
    {10, "błąd podczas programowania numeru fabrycznego"},
    {11, "błąd podczas programowania numeru unikatowego"},
    {12, "błąd podczas programowania NIP"},
    {14, "drufis pracuje w trybie tylko odczyt"},
    {16, "niedozwolona operacja tylko w trybie fiskalnym"},
    {17, "niedozwolona operacja w trybie niefiskalnym"},
    {19, "niepoprawna grupa podatkowa"},
    {21, "niemożliwe wpisanie elementu do bazy towarowej"},
    {22, "niepoprawna data podana dla raportu fiskalnego"},
    {30, "więcej niż 255 pozycji na paragonie"},
    {32, "brak papieru w drukarce"},
    {33, "podniesiona głowica w jednym z mechanizmów"},
    {34, "przekroczona temperatura jednej z głowic"},
    {35, "wystąpił time-out drukarki, znaków nie wysłano"},
    {36, "błąd na linii ERROR drukarki nie kasuje się"},
    {37, "niedozwolona operacja w trybie serwisowym"},
    {38, "nieprawidłowa data"},
    {39, "niedozwolony znak w buforze drukarki"},
    {40, "błąd przechowywania stanu drukarki"},
    {41, "nieprawidłowy stan linii BUSY"},
    {42, "błąd transmisji do drukarki"},
    {43, "nie zakonczono drukowania linii"},
    {50, "awaria sprzętowa"},
    {51, "błąd w czasie programowania pamięci fiskalnej"},
    {52, "błąd sumy kontrolnej pamięci RAM"},
    {53, "odłączony wyświetlacz LCD"},
    {54, "błąd testowania pamięci towarowej"},
    {55, "błąd sumy kontrolnej bazy towarowej"},
    {60, "koniec pamięci fiskalnej"},
    {61, "koniec przestrzeni na stawki podatkowe"},
    {62, "próba zerowania RAM więcej niż 200 razy"},
    {63, "błąd sumy kontrolnej pamięci fiskalnej"},
};

// Data record lengths of the service queries, check byte included.
struct Query {
  unsigned char command;
  int length;
};
const Query kQueries[] = {{0x50, 3},  {0x51, 5},  {0x52, 3},  {0x53, 9},  {0x54, 12},
                          {0x55, 15}, {0x59, 12}, {0x60, 3},  {0x65, 12}, {0x66, 8}};

int RecordLength(unsigned char command) {
  for (const Query& q : kQueries)
    if (q.command == command) return q.length;
  return 0;
}

// Frames without data for the operations 3 to 19.
const unsigned char kPlainCommands[] = {0x85, 0x81, 0x80, 0x66, 0x65, 0x60, 0x59, 0x55, 0x54,
                                        0x53, 0x52, 0x38, 0x50, 0x51, 0x36, 0x30, 0x14};

// `digits` decimal digits of n, two to a byte; false when n does not fit.
bool Bcd(long n, int digits, std::string* out) {
  long limit = 1;
  for (int i = 0; i < digits; i++) limit *= 10;
  if (n < 0 || n >= limit) return false;
  std::string text = Fmt("%0*ld", digits, n);
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    out->push_back(static_cast<char>((text[i] - '0') << 4 | (text[i + 1] - '0')));
  return true;
}

// A ten-digit text as five BCD bytes.
std::string BcdDigits(const std::string& digits) {
  std::string text = digits.size() >= 10 ? digits.substr(0, 10) : std::string(10 - digits.size(), '0') + digits;
  std::string out;
  for (size_t i = 0; i < 10; i += 2) out.push_back(static_cast<char>((text[i] - '0') << 4 | (text[i + 1] - '0')));
  return out;
}

int RangeError() {
  Uwaga(MSG_RANGE);
  return -1;
}

int Refused(const char* utf8) {
  Uwaga(Maz(utf8).c_str());
  return -1;
}

// Weekday of 20yy-mm-dd, Monday 1 to Sunday 7.
int Weekday(int year, int month, int day) {
  using namespace std::chrono;
  year_month_day date{std::chrono::year(2000 + year % 100), std::chrono::month(static_cast<unsigned>(month)),
                      std::chrono::day(static_cast<unsigned>(day))};
  if (!date.ok()) return 0;
  return static_cast<int>(weekday(sys_days(date)).iso_encoding());
}

// The sale line's data bytes (after the command byte), or a result.
int LineData(double quantity, double price, char letter, const char* name, std::string* data) {
  if (quantity >= 100000) return Refused("Przekroczona maksymalna ilość !");
  if (quantity < 0 || price < 0) return RangeError();
  std::string q = Fmt("%011.3f", quantity);
  q.erase(7, 1);
  if (price >= 100000000) return Refused("Błąd ceny");
  std::string p = Fmt("%.6f", price);
  p.erase(p.find_last_not_of('0') + 1);
  size_t point = p.find('.');
  size_t decimals = p.size() - point - 1;
  if (decimals > 2) return Refused("Błąd ceny");
  p.append(2 - decimals, '0');
  p.erase(point, 1);
  *data += BcdDigits(q) + BcdDigits(p);
  data->push_back(static_cast<char>(letter == 'Z' ? 0 : letter - 0x40));
  data->push_back(0x01);
  std::string text = std::string(name ? name : "").substr(0, NAME_MAX);
  Bcd(static_cast<long>(text.size()), 2, data);
  *data += text;
  return 0;
}

// The operation's command and data bytes, or a result when nothing is to be sent.
int Build(int op, va_list args, std::string* frame) {
  if (op >= 3 && op <= 19) {
    frame->push_back(static_cast<char>(kPlainCommands[op - 3]));
    if (op == 9) frame->push_back(0x01);
    if (op == 19) frame->push_back(0x00);
    return 0;
  }
  switch (op) {
    case 20:
      frame->push_back(0x16);
      return Bcd(va_arg(args, int), 4, frame) ? 0 : RangeError();
    case 21:
      frame->push_back(0x17);
      return Bcd(va_arg(args, int), 2, frame) ? 0 : RangeError();
    case 22: {
      int line = va_arg(args, int);
      std::string text = std::string(va_arg(args, const char*)).substr(0, NAME_MAX);
      frame->push_back(0x12);
      frame->push_back(static_cast<char>(line));
      frame->push_back(0x01);
      Bcd(static_cast<long>(text.size()), 2, frame);
      *frame += text;
      return 0;
    }
    case 23: {
      int hour = va_arg(args, int), minute = va_arg(args, int);
      frame->push_back(0x11);
      if (!Bcd(hour, 2, frame) || !Bcd(minute, 2, frame)) return RangeError();
      frame->push_back(0x00);
      return 0;
    }
    case 24: {
      int year = va_arg(args, int), month = va_arg(args, int), day = va_arg(args, int);
      frame->push_back(0x10);
      if (!Bcd(day, 2, frame) || !Bcd(month, 2, frame) || !Bcd(year % 100, 2, frame)) return RangeError();
      frame->push_back(static_cast<char>(Weekday(year, month, day)));
      return 0;
    }
    case 25: {
      int line = va_arg(args, int);
      std::string text = std::string(va_arg(args, const char*)).substr(0, FRAME_MAX - 8);
      frame->push_back(static_cast<char>(0x82));
      if (!Bcd(line, 2, frame)) return RangeError();
      if (text.size() < DISPLAY_WIDTH) text.resize(DISPLAY_WIDTH, ' ');
      *frame += text;
      return 0;
    }
    case 26: {
      double quantity = va_arg(args, double), price = va_arg(args, double);
      char letter = static_cast<char>(va_arg(args, int));
      const char* name = va_arg(args, const char*);
      frame->push_back(0x31);
      return LineData(quantity, price, letter, name, frame);
    }
    default: return -1;   // no such operation: nothing sent
  }
}

const char* ErrorOf(int status) {
  for (const ErrorText& e : kErrors)
    if (e.status == status) return e.text;
  return "inny błąd";
}

std::string Hex(const unsigned char* d, int from, int count, const char* separator) {
  std::string text;
  for (int i = 0; i < count; i++) text += (i ? separator : "") + Fmt("%02x", d[from + i]);
  return text;
}

std::string Chars(const unsigned char* d, int from, int count) {
  return std::string(reinterpret_cast<const char*>(d + from), static_cast<size_t>(count));
}

// One window line: its column and text.
struct Line {
  int col;
  std::string text;
};

std::vector<Line> RecordLines(unsigned char command, const unsigned char* d) {
  std::vector<Line> lines;
  auto add = [&](int col, const char* utf8) { lines.push_back({col, Maz(utf8)}); };
  auto tail = [&](const char* utf8) { lines.back().text += Maz(utf8); };
  switch (command) {
    case 0x50: {
      add(0, "Drukarka: ");
      if (!(d[1] & 0x08)) {
        tail("bez błędów.");
        break;
      }
      tail("błędy.");
      if (d[1] & 0x01) add(5, "Brak papieru.");
      if (d[1] & 0x02) add(5, "Podniesiona głowica.");
      if (d[1] & 0x04) add(5, "Przekroczona temperatura.");
      if (d[1] & 0x10) add(5, "Błąd transmisji.");
      if (d[1] & 0x60) add(5, "Linia nie wydrukowana.");
      if (d[1] & 0x80) add(5, "Wystąpił time out.");
      break;
    }
    case 0x51: {
      add(0, "Moduł fiskalny: ");
      if (!(d[1] & 0x01)) {
        tail("brak połączenia.");
        break;
      }
      tail("połączenie poprawne.");
      add(16, d[1] & 0x02 ? "wpisany numer fabryczny." : "nie wpisano nr fabrycznego.");
      if (!(d[1] & 0x04)) {
        add(16, "tryb niefiskalny.");
        break;
      }
      add(16, "tryb fiskalny.");
      add(16, d[1] & 0x08 ? "tryb: zapis i odczyt." : "tryb: tylko odczyt.");
      add(16, d[1] & 0x10 ? "stawki podatk. zaprogramowane." : "nie zaprogr. stawek podatk.");
      add(16, d[1] & 0x20 ? "wpisano bloki sprzedaży dobowej." : "nie wpisano bloku sprzedaży dobowej.");
      add(16, d[1] & 0x40 ? "stawki podatk. progr. mniej niż 30 razy." : "stawki podatk. progr. 30 razy.");
      add(16, d[1] & 0x80 ? "zerowanie RAM wykonano mniej niż 200 razy." : "zerowanie RAM wykonano 200 razy.");
      lines.push_back({16, Maz("wolny obszar: ") + Hex(d, 2, 2, "") + Maz(" bloków.")});
      break;
    }
    case 0x52:
      add(0, "Sumy kontrolne w module fiskalnym: ");
      tail(d[1] == 0xFF ? "prawidłowe." : "nieprawidłowe.");
      break;
    case 0x53: {
      static const char* const kDays[] = {"Pon.", "Wt.", "Śr.", "Czw.", "Pt.", "Sob.", "Ndz."};
      lines.push_back({5, "Aktualna data: " + Hex(d, 1, 3, "/")});
      // a weekday the printer gives outside 1..7 shows blanks
      lines.push_back({5, Maz("Dzień tygodnia: ") + (d[4] >= 1 && d[4] <= 7 ? Maz(kDays[d[4] - 1]) : "    ")});
      lines.push_back({5, "Aktualny czas: " + Hex(d, 5, 3, ":")});
      break;
    }
    case 0x54:
      lines.push_back({0, "Numer fabryczny: " + (d[1] == 0xFF ? std::string("-") : Chars(d, 1, 10))});
      break;
    case 0x55:
      lines.push_back({0, "Numer unikatowy: " + (d[1] == 0xFF ? std::string("-") : Chars(d, 1, 10))});
      if (d[1] != 0xFF) lines.push_back({0, "Data fiskalizacji: " + Hex(d, 11, 3, "/")});
      break;
    case 0x59:
      if (d[1] == 0xFF) {
        add(0, "Stawki podatkowe: -");
        break;
      }
      lines.push_back({0, "Stawki podatkowe: " + Hex(d, 1, 3, "/")});
      lines.push_back({0, Hex(d, 4, 6, "%, ") + "%"});
      break;
    case 0x60:
      lines.push_back({0, Maz("Ilość zerowań pamięci RAM: ") + (d[1] == 0xFF ? "-" : Fmt("%d", d[1]))});
      break;
    case 0x65:
      lines.push_back({0, "Numer ostatniego paragonu: " + Hex(d, 1, 2, "")});
      lines.push_back({0, "Numer ostatniego raportu: " + Hex(d, 3, 2, "")});
      lines.push_back({0, "Ostatnia awaria zasilania Data: " + Hex(d, 5, 3, "/") + " Czas: " + Hex(d, 8, 3, ":")});
      break;
    case 0x66:
      lines.push_back({0, "Numer ostatniej funkcji: " + Hex(d, 1, 1, "")});
      add(0, "Stan programu drukarki:");
      if (d[2] & 0x01) add(5, "Drukarka nie wysłała odpowiedzi.");
      if (d[2] & 0x02) add(5, "Awaria zasilania podczas transmisji.");
      add(5, d[2] & 0x04 ? "Paragon rozpoczęty." : "Paragon zakończony.");
      break;
    default: break;
  }
  return lines;
}

void ShowLines(const std::vector<Line>& lines) {
  int previous = w4select(-1);
  static const std::string title = Maz("FUNKCJE drukarki TP Line");
  int window = DefineRaportoweWindow(2, 0, 25, 80, title.c_str(), nullptr, nullptr, 0);
  if (window < 0) return;
  w4activate(window);
  int row = 1;
  for (const Line& line : lines) w4(row++, line.col, line.text.c_str());
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

// Sends the frame and reads the answer (and a service query's record).
int Exchange(const std::string& frame) {
  ClearComBuffer();
  SetComTimeout(ANSWER_SECONDS);
  LineWrite(frame);
  int answer[3];
  for (int& byte : answer) {
    SetComTimeout(ANSWER_SECONDS);
    if ((byte = LineRead()) < 0) return -1;
  }
  if (answer[1] != 0) {
    std::string title = Fmt("Numer rekordu = %02x", lastCommand);
    std::string text = Maz(Fmt("Błąd %d - %s.", answer[1], ErrorOf(answer[1])).c_str());
    MessageWindow(MB_ERROR | MB_OWN_TITLE, title.c_str(), text.c_str());
    return -1;
  }
  int length = RecordLength(lastCommand);
  if (length == 0) return 0;
  unsigned char record[16] = {};
  for (int i = 0; i < length; i++) {
    SetComTimeout(ANSWER_SECONDS);
    int byte = LineRead();
    if (byte < 0) return -1;
    record[i] = static_cast<unsigned char>(byte);
  }
  ShowLines(RecordLines(lastCommand, record));
  return 0;
}

}  // namespace

std::string TpLineFrame(const std::string& commandAndData) {
  std::string frame = "\x1b" "C" + commandAndData;
  unsigned sum = 0;
  for (size_t i = 0; i < frame.size(); i++) sum += static_cast<unsigned char>(frame[i]) + static_cast<unsigned>(i);
  frame.push_back(static_cast<char>(sum & 0xFF));
  return frame;
}

std::vector<std::string> TpLineDailySales(const unsigned char* b, int size) {
  static const char* const kGroups[] = {"Sprz. opod. PTU A", "Sprz. opod. PTU B", "Sprz. opod. PTU C",
                                        "Sprz. opod. PTU D", "Sprz. opod. PTU E", "Sprz. opod. PTU F",
                                        nullptr,             "Sprz. zwoln. PTU",  "Łącz. kwota podatku",
                                        "Łącz. kwota sprzedaży"};
  std::vector<std::string> lines;
  constexpr int NEEDED = 3 + 2 + 50 + 2 + 1 + 1 + 2 + 1;
  if (size < NEEDED) return lines;
  lines.push_back("Data: " + Hex(b, 0, 3, "/") + "   ");
  lines.push_back("Numer raportu: " + Hex(b, 3, 2, ""));
  int at = 5;
  for (const char* group : kGroups) {
    if (group) {
      std::string line = Maz(group);
      if (b[at] == 0xFF) {
        line += ": -";
      } else {
        std::string whole;
        for (int i = 0; i < 3; i++)
          if (!whole.empty() || b[at + i] != 0) whole += whole.empty() ? Fmt("%x", b[at + i]) : Fmt("%02x", b[at + i]);
        line += ": " + whole + Fmt("%02x,%02x", b[at + 3], b[at + 4]);
      }
      lines.push_back(line);
    }
    at += 5;
  }
  lines.push_back(Maz("Ilość paragonów: ") + Hex(b, at, 2, ""));
  at += 2;
  lines.push_back(Maz("Nr tabeli podatk.: ") + Fmt("%0d", b[at++]));
  if (b[at] == 0xFF) {
    lines.push_back(Maz("Awarię usunięto: -"));
    at += 1;
  } else {
    lines.push_back(Maz("Awarię usunięto: ") + Hex(b, at, 2, ":"));
    at += 2;
  }
  lines.push_back(b[at] == 0xFF ? std::string("Zerowanie RAM: -") : "Zerowanie RAM: " + Fmt("%d", b[at]));
  return lines;
}

void TpLineWindow(const std::vector<std::string>& texts) {
  std::vector<Line> lines;
  for (const std::string& text : texts) lines.push_back({0, text});
  ShowLines(lines);
}

int TpLineCmd(int op, ...) {
  int code = op & 0xFFF;
  if (code == 1) {
    va_list args;
    va_start(args, op);
    int port = va_arg(args, int);
    va_end(args);
    return OpenCom(port, COM_HANDSHAKE_RTS_CTS, COM_SPEED_4800, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, nullptr) == 0
               ? 0
               : -9;
  }
  if (code == 2) {
    CloseCom();
    return 0;
  }
  std::string body;
  va_list args;
  va_start(args, op);
  int refused = code >= 3 && code <= 26 ? Build(code, args, &body) : -1;
  va_end(args);
  if (refused != 0) return refused;
  lastCommand = static_cast<unsigned char>(body[0]);
  return Exchange(TpLineFrame(body));
}
