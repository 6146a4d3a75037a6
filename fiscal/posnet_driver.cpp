// The POSNET-family dispatcher: opens and closes the port, chooses the
// protocol, builds the argument records, and reports every failure.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/temp_strings.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet_protocols.h"
#include "fiscal/printer_line.h"
#include "fiscal/printer_params.h"
#include "interchange/serial_port.h"
#include "platform/clock.h"
#include "ui/message_box.h"

namespace {

bool online = false;
bool portOpen = false;

struct ErrorText {
  int code;
  const char* text;   // UTF-8
};

const ErrorText kOwnErrors[] = {
    {-1, "Błąd nadawania: za długi stan XOFF"},
    {-2, "Brak odpowiedzi."},
    {-3, "Błędna lub przekłamana odpowiedź."},
    {-4, "Niewłaściwy czas RTC drukarki."},
    {-6, "Błędna data raportu okresowego."},
    {-7, "Drukarka nie wykonała poprawnie ostatniego rozkazu, ale nie zwróciła numeru błędu."},
    {-8, "Inny błąd lub nie wykonany raport dobowy."},
    {-12, "Nieoczekiwany brak trybu transakcji w drukarce."},
    {-13, "Nieoczekiwany tryb transakcji w drukarce."},
    {-14, "Nieoczekiwane niepowodzenie transakcji."},
    {-18, "Operacja niemożliwa. Wykonaj raport dobowy."},
};

const ErrorText kOnlineErrors[] = {
    {3, "Błąd konwersji pola lub przekroczony zakres danych."},
    {484, "Minął czas pracy kasy, sprzedaż zablokowana."},
    {2004, "Brak aktywnych stawek VAT."},
    {2031, "Błąd pola NIP."},
    {2035, "Niezerowe totalizery."},
    {2057, "Przekroczony rozmiar lub przekroczona liczba znakow formatujących."},
    {2808, "Błąd weryfikacji wartości wpłaconych form płatności."},
};

const ErrorText kThermalErrors[] = {
    {1, "1 - Nie zainicjowany zegar RTC"},
    {2, "2 - Błąd bajtu kontrolnego"},
    {3, "3 - Zła ilość parametrów"},
    {4, "4 - Błąd parametrów"},
    {5, "5 - Błąd operacji z zegarem czasu rzeczywistego"},
    {6, "6 - Błąd operacji z modułem fiskalnym"},
    {7, "7 - Błąd daty aktualna data jest wcześniejsza od ostatniego zapisu"},
    {8, "8 - Błąd operacji - niezerowe totalizery"},
    {9, "9 - Błąd operacji I/O (np. z mechanizmem drukującym)"},
    {10, "10 - Zmiana czasu przekracza dopuszczalny zakres"},
    {11, "11 - Zła ilość wartości PTU"},
    {12, "12 - Błędny nagłówek"},
    {13, "13 - Próba fiskalizacji sfiskalizowanego urządzenia"},
    {14, "14 - Próba przesłania do RAM nagłówka dla urządzenia sfiskalizowanego"},
    {15, "15 - Błąd w dodatkowych liniach nagłówka (np. za długie opisy)"},
    {16, "16 - Błędna nazwa (pusta lub za długa)"},
    {17, "17 - Błędne oznaczenie ilości (puste lub za długie)"},
    {18, "18 - Błędne oznaczenie stawki PTU (lub brak)"},
    {19, "19 - Błąd wartości cena (syntaktyka, zakres lub brak)"},
    {20, "20 - Błąd wartości brutto (syntaktyka, zakres lub brak)"},
    {21, "Sekwencja odebrana przez drukarkę przy włączonym trybie transakcji."},
    {22, "22 - Błąd operacji STORNO"},
    {23, "23 - Błędna liczba linii paragonu"},
    {24, "24 - Przepełnienie bufora drukarki"},
    {25, "25 - Błędny kod terminala"},
    {26, "26 - Błąd kwoty 'Wpłata'"},
    {27, "27 - Błędna suma całkowita 'Total'"},
    {28, "28 - Przepełnienie totalizera"},
    {29, "29 - Błąd zakonczenia nie otwartej transakcji"},
    {30, "30 - Błąd kwoty 'Wpłata'"},
    {31, "31 - Nadmiar dodawania"},
    {32, "32 - Wartość po odjęciu jest ujemna"},
    {33, "33 - Błąd napisu 'zmiana'"},
    {34, "34 - Błąd napisu 'kasjer'"},
    {35, "35 - Zerowy stan totalizerów"},
    {36, "36 - Już istnieje zapis o tej dacie"},
    {37, "37 - Operacja przerwana z klawiatury"},
    {38, "38 - Błąd nazwy"},
    {39, "39 - Błąd oznaczenia PTU"},
    {82, "Niedozwolony rozkaz."},
    {84, "Przekroczona liczba wysłanych napisów na wyświetlacz."},
};

template <size_t N>
const char* Find(const ErrorText (&table)[N], int code) {
  for (const ErrorText& entry : table)
    if (entry.code == code) return entry.text;
  return nullptr;
}

// Names of the control bytes in the port's log.
const ComCharName kControlNames[] = {{0x02, {'S', 'T', 'X', 0, 0}}, {0x03, {'E', 'T', 'X', 0, 0}},
                                     {0x05, {'E', 'N', 'Q', 0, 0}}, {0x07, {'B', 'E', 'L', 0, 0}},
                                     {0x09, {'T', 'A', 'B', 0, 0}}, {0x0A, {'L', 'F', 0, 0, 0}},
                                     {0x0D, {'C', 'R', 0, 0, 0}},   {0x18, {'C', 'A', 'N', 0, 0}},
                                     {0x1B, {'E', 'S', 'C', 0, 0}}, {0, {0}}};

int Open() {
  online = parametryPosnet.onlineProtocol == 'T' && DFPrinterType() != DF_TYPE_EPSON &&
           DFPrinterType() != DF_TYPE_NOVITUS;
  if (OpenCom(parametryDetal.comPort, 0, COM_SPEED_9600, COM_PARITY_NONE, COM_DATA_8, COM_STOP_1, kControlNames) != 0)
    return PN_PORT_CLOSED;
  portOpen = true;
  ErrLogMessage(EL_FORMAT, PN_LOG_OPEN, " %s, COM%i, Pr:%i", DFNazwaDrukarki(), parametryDetal.comPort,
                parametryPosnet.onlineProtocol == 'T' ? 1 : 0);
  return 0;
}

int Close() {
  CloseCom();
  portOpen = false;
  ErrLogMessage(EL_NO_TEXT, PN_LOG_CLOSE, TextRef());
  return 0;
}

int ClockCheck(PosnetClockRead read, bool twoDigitYear, int* dateFlag, int* minutes) {
  int printer[5];
  int result = read(printer);
  if (result != 0) return result;
  int now[5];
  PosnetLocalNow(&now[0], &now[1], &now[2], &now[3], &now[4]);
  int year = twoDigitYear ? now[0] % 100 : now[0];
  *dateFlag = printer[0] == year && printer[1] == now[1] && printer[2] == now[2] ? 0 : -1;
  *minutes = (printer[3] - now[3]) * 60 + printer[4] - now[4];
  return 0;
}

}  // namespace

std::string PosnetFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = VFmt(format, args);
  va_end(args);
  return text;
}

bool PosnetOnlineInUse() { return portOpen && online; }

bool PosnetAskAgain(int message) {
  ErrLogMessage(EL_TEXT, PN_LOG_ALARM, message);
  return MessageWindow(MB_ERROR | MB_YES_ESC, message) != 27;
}

void PosnetLogTooLong(int code, const std::string& text) {
  ErrLogMessage(EL_TEXT, code, text.substr(0, 300).c_str());
}

void PosnetReport(int result) {
  if (result == 0 || result == PN_PORT_CLOSED || result == PN_TOO_LONG) return;
  if (result == PN_USER_ABORT) {
    ErrLogMessage(EL_TEXT, PN_LOG_ABORT, "USER_ABORT");
    return;
  }
  const char* text = result < 0 ? Find(kOwnErrors, result) : online ? Find(kOnlineErrors, result) : Find(kThermalErrors, result);
  if (!text) {
    ErrLogMessage(EL_FORMAT, PN_LOG_CODE, " %d", result);
    return;
  }
  std::string shown = Utf8ToMazText(text);
  ErrLogMessage(EL_TEXT, PN_LOG_ALARM, shown.c_str());
  Alarm(shown.c_str());
}

bool PosnetPrintsNip(const char* nip) { return parametryPosnet.printNip == 'T' && nip && *nip; }

void PosnetLocalNow(int* year, int* month, int* day, int* hour, int* minute) {
  PlatDateTime now{};
  PlatNow(&now);
  *year = now.year;
  *month = now.month;
  *day = now.day;
  *hour = now.hour;
  *minute = now.minute;
}

int PosnetClockCheck(PosnetClockRead read, bool twoDigitYear, va_list args) {
  int* dateFlag = va_arg(args, int*);
  int* minutes = va_arg(args, int*);
  return ClockCheck(read, twoDigitYear, dateFlag, minutes);
}

int PosnetClockInto(PosnetClockRead read, va_list args) {
  int v[5];
  int result = read(v);
  for (int value : v) {
    int* out = va_arg(args, int*);
    if (result == 0) *out = value;
  }
  return result;
}

int PosnetClockFitsDailyReport(PosnetClockRead read, bool twoDigitYear) {
  int dateFlag = 0, minutes = 0;
  int result = ClockCheck(read, twoDigitYear, &dateFlag, &minutes);
  if (result != 0) return result;
  return dateFlag != 0 || minutes < -29 || minutes > 29 ? PN_CLOCK_OFF : 0;
}

int PosnetCmd(int op, ...) {
  int code = op & 0xFFF;
  int result = 0;
  va_list args;
  va_start(args, op);
  if (code == 1) {
    result = Open();
  } else if (code == 2) {
    result = Close();
  } else if (!portOpen && code >= 3 && code <= 22 && code != 9) {
    result = PN_PORT_CLOSED;
  } else {
    PosnetRecords records{};
    if (code == 12) {
      PosnetLine& line = records.line;
      line.number = va_arg(args, int);
      line.name = va_arg(args, const char*);
      line.quantity = va_arg(args, double);
      line.letter = static_cast<char>(va_arg(args, int));
      line.price = va_arg(args, double);
      line.value = va_arg(args, double);
      line.third = va_arg(args, double);
      line.extraFlag = va_arg(args, int);
    } else if (code == 11) {
      PosnetEnd& end = records.end;
      end.lead = va_arg(args, int);
      end.terminal = va_arg(args, const char*);
      for (const char*& footer : end.footer) footer = va_arg(args, const char*);
      end.paid = va_arg(args, double);
      end.total = va_arg(args, double);
      end.third = va_arg(args, double);
      end.extraFlag = va_arg(args, int);
      end.shortSummary = parametryPosnet.shortSummary == 'T' ? 1 : 0;
      end.nip = va_arg(args, const char*);
    } else if (code == 13) {
      PosnetStart& start = records.start;
      start.lineCount = va_arg(args, int);
      start.receiptText = va_arg(args, const char*);
      start.header[0] = va_arg(args, const char*);
      start.header[1] = va_arg(args, const char*);
      start.nip = va_arg(args, const char*);
    }
    result = online ? PosnetOnlineOp(code, records, args) : PosnetThermalOp(code, records, args);
  }
  va_end(args);
  if (!(op & DF_QUIET)) PosnetReport(result);
  return result;
}
