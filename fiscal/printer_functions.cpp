// The service menus of the printer makes, their prompts on the status row and
// the POSNET and SPARK status windows. Every driver shows its own errors: a
// menu only skips its box after a non-zero result.
#include "fiscal/printer_functions.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/module_entries.h"
#include "app/prompts.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_line.h"
#include "fiscal/printer_params.h"
#include "platform/clock.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_RANGE = 228;        // "Błąd zakresu."
constexpr int MSG_CLOCK_DIFF = 229;   // "Różnica czasów RTC - system = %d min"
constexpr int MSG_DATE_TIME = 230;    // "Data/godzina =  %s %02d:%02d"
constexpr int MSG_ORHMET_TIME = 231;  // "Data/godzina =  %02d-%02d/%02d  %02d:%02d"
constexpr int VALUE_COL = 29;
constexpr int TOTAL_COL = 55;
constexpr int SPARK_COL = 28;
constexpr int SPARK_STATUS_BYTES = 73;
constexpr int SPARK_BUFFER = 512;

int16_t PosnetStatusForm() { return 33; }
int16_t SparkStatusForm() { return 34; }

// The menu: " WYBIERZ ", centred, each choice run until Esc.
template <class Run>
void Menu(std::initializer_list<const char*> utf8Items, Run run) {
  std::vector<std::string> texts;
  size_t width = 0;
  for (const char* item : utf8Items) {
    texts.push_back(" " + Maz(item) + " ");
    width = std::max(width, texts.back().size());
  }
  for (std::string& t : texts) t.resize(width, ' ');
  std::string first(width, ' ');
  std::vector<const char*> items = {first.c_str()};
  for (const std::string& t : texts) items.push_back(t.c_str());
  items.push_back(nullptr);
  for (int choice; (choice = get_menu_function(" WYBIERZ ", items.data(), 1, -1, -1)) > 0;) run(choice);
}

void Info(const std::string& text) { MessageWindow(MB_INFO, text.c_str()); }

int AmountPrompt(const char* utf8, const char* picture, double* field) {
  double amount = *field;
  std::string prompt = Maz(utf8);
  int key = StatusRowPrompt(prompt.c_str(), [&](int col) {
    g4double(0, col, &amount);
    g4picture(picture);
  });
  if (key != KEY_ENTER) return -1;
  *field = amount;
  return 0;
}

int DateRequired(Get4* get) {
  const char* date = static_cast<const char*>(get->data);
  return std::strncmp(date, "        ", 8) == 0 || date[0] == '\0' ? -1 : 0;
}

// The date and time prompt: year (4 digits), month, day, hour, minute into `out`.
int DateTimePrompt(const char* dateUtf8, const char* timeUtf8, int32_t* out) {
  char date[9];
  std::memcpy(date, get_cur_das(0), 8);
  date[8] = '\0';
  PlatDateTime now{};
  PlatNow(&now);
  int32_t hour = now.hour, minute = now.minute;
  std::string datePrompt = Maz(dateUtf8), timePrompt = Maz(timeUtf8);
  int key = StatusRowPrompt(datePrompt.c_str(), [&](int col) {
    g4date(0, col, date);
    g4picture("DD-MM/YY");
    g4valid(DateRequired);
    col += 9;
    w4(0, col, timePrompt.c_str());
    col += static_cast<int>(timePrompt.size());
    g4int(0, col, &hour);
    g4picture("##");
    w4(0, col + 2, ":");
    g4int(0, col + 3, &minute);
    g4picture("##");
  });
  if (key != KEY_ENTER) return -1;
  auto number = [&](int from, int length) { return std::atoi(std::string(date + from, static_cast<size_t>(length)).c_str()); };
  out[0] = number(0, 4);
  out[1] = number(4, 2);
  out[2] = number(6, 2);
  out[3] = hour;
  out[4] = minute;
  return 0;
}

std::string DateText(int year, int month, int day) { return Fmt("%02d-%02d/%02d", day, month, year % 100); }

// A report window over a screen form of `width` columns; returns its handle.
int FormWindow(int row, int col, int height, int width, const char* titleUtf8, ResIdRoutine form) {
  std::string title = Maz(titleUtf8);
  int window = DefineRaportoweWindow(row, col, height, width, title.c_str(), nullptr, nullptr, 0);
  if (window < 0) return -1;
  w4activate(window);
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, form, &size);
  int inner = width - 2;
  if (data) {
    int attribute = w4attribute(-1);
    write_to_screen(reinterpret_cast<const char*>(data), 0, inner, 0, std::min<int>(size / inner, height - 2), attribute);
  }
  return window;
}

void CloseOnKey(int window, int previous) {
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

void Put(int row, int col, const std::string& text) { w4(row, col, text.c_str()); }

std::string Trimmed(const char* text) {
  std::string s = text;
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

}  // namespace

int DFWplataOrhmet() { return AmountPrompt("Podaj wartość wpłaty do kasy - ", "99999.99", &dfSesja->orhmetCashIn); }
int DFWplataPosnet() { return AmountPrompt("Podaj wartość wpłaty do kasy -", "99999999.99", &dfSesja->posnetCashIn); }
int DFWyplataOrhmet() { return AmountPrompt("Podaj wartość wypłaty z kasy - ", "99999.99", &dfSesja->orhmetCashOut); }
int DFWyplataPosnet() {
  return AmountPrompt("Podaj wartość wypłaty z kasy -", "99999999.99", &dfSesja->posnetCashOut);
}

int DFKorektaCzasu() {
  dfSesja->elzabMinutes = 0;
  int32_t minutes = 0;
  std::string prompt = Maz("Podaj ilość minut korekcji (zakres od -59 do 59 ) -");
  int key = StatusRowPrompt(prompt.c_str(), [&](int col) { g4int(0, col, &minutes); });
  if (key != KEY_ENTER) return -1;
  if (minutes < -59 || minutes > 59) {
    Uwaga(MSG_RANGE);
    return -1;
  }
  dfSesja->elzabMinutes = minutes;
  return 0;
}

int DFDataCzasPosnet() { return DateTimePrompt("Podaj datę -", "i czas HH:MM -", dfSesja->posnetDateTime); }

int DFDataCzasTpLine() {
  int32_t v[5];
  if (DateTimePrompt("Podaj datę - ", "i czas HH:MM - ", v) != 0) return -1;
  v[0] %= 100;
  std::memcpy(dfSesja->tpLineDateTime, v, sizeof v);
  return 0;
}

void PosnetStatusOkno() {
  PosnetStatus s{};
  if (PosnetCmd(18, &s) != 0) return;
  int previous = w4select(-1);
  int window = FormWindow(4, 4, 24, 70, "Status drukarki POSNET", PosnetStatusForm);
  if (window < 0) return;
  auto choice = [](int value, const char* zero, const char* other) {
    return value == -1 ? std::string() : Maz(value == 0 ? zero : other);
  };
  Put(2, VALUE_COL, choice(s.lastOperation, "Poprawna", "Błędna"));
  Put(3, VALUE_COL, Maz(s.fiscalMode ? "Fiskalny" : "Szkoleniowy"));
  Put(4, VALUE_COL, s.transactionMode == 1 ? "Tak" : "Nie");
  Put(5, VALUE_COL, choice(s.lastTransaction, "W toku", "Zakończona"));
  Put(6, VALUE_COL, choice(s.amountFormat, "Przed denominacją", "Po denominacji"));
  Put(7, VALUE_COL, Fmt("%d", s.ramResets));
  if (s.year != -1) Put(8, VALUE_COL, Fmt("%.2s-%.2s-%.4s", s.dateText + 6, s.dateText + 4, s.dateText));
  for (int i = 0; i < 7; i++) {
    int whole = static_cast<int>(s.vatRates[i]);
    if (whole == 101) {
      w4repeat(10 + i, 0, ' ', w4width());   // the row is hidden, its label too
      continue;
    }
    Put(10 + i, VALUE_COL, whole == 100 ? std::string("zw.") : Fmt("%6.2f", s.vatRates[i]));
    Put(10 + i, TOTAL_COL, Fmt("%12.2f", s.totalizers[i]));
  }
  Put(18, VALUE_COL, Fmt("%u", s.receipts));
  if (static_cast<long long>(s.cash) != 4294967295LL) Put(19, VALUE_COL, Fmt("%.2f", s.cash));
  Put(21, VALUE_COL, s.uniqueNumber);
  CloseOnKey(window, previous);
}

void SparkStatusOkno() {
  std::vector<char> answer(SPARK_BUFFER, '\0');
  if (SparkCmd(7, answer.data(), SPARK_STATUS_BYTES) != 0) {
    Uwaga(Maz("Błąd odczytu").c_str());
    return;
  }
  int previous = w4select(-1);
  int window = FormWindow(9, 13, 12, 52, "Status drukarki SPARK 482G", SparkStatusForm);
  if (window < 0) return;
  auto bytes = [&](int from, int to) { return std::string(answer.data() + from, static_cast<size_t>(to - from + 1)); };
  Put(2, SPARK_COL, bytes(3, 4));
  std::string sales = bytes(6, 18);
  Put(3, SPARK_COL, Fmt("%.2f", std::strtod(sales.c_str(), nullptr) / 100));
  Put(4, SPARK_COL, bytes(20, 24));
  Put(5, SPARK_COL, bytes(26, 30));
  Put(6, SPARK_COL, bytes(32, 44));
  Put(7, SPARK_COL, bytes(46, 56));
  Put(8, SPARK_COL, bytes(58, 59) + ":" + bytes(60, 61) + ":" + bytes(62, 63));
  Put(9, SPARK_COL, bytes(65, 66) + "-" + bytes(67, 68) + "/" + bytes(69, 70));
  CloseOnKey(window, previous);
}

int PosnetFunkcjePomocnicze() {
  if (CzytajParametryPosnet() != 0) return 0;
  if (parametryPosnet.detailedDisplay == 'T') {
    if (DFPrinterType() == DF_TYPE_EPSON) {
      PosnetCmd(22, "Funkcje", 0);
      PosnetCmd(22, "pomocnicze", 1);
    } else {
      PosnetCmd(15, "Funkcje", "pomocnicze");
    }
  }
  Menu({"Sprawdź zegar", "Weź czas", "Ustaw czas", "Stan kasy", "Zapisz nagłówek", "Status drukarki", "Wpłata do kasy",
        "Wypłata z kasy", "Raport dobowy"},
       [](int choice) {
         int32_t* t = dfSesja->posnetDateTime;
         switch (choice) {
           case 1: {
             int dateFlag = 0, minutes = 0;
             if (PosnetCmd(5, &dateFlag, &minutes) != 0) break;
             std::string difference = PrintfQStr(MSG_CLOCK_DIFF, minutes);
             MessageWindow(dateFlag == 0 ? MB_INFO : MB_ERROR, Maz(dateFlag == 0 ? "Data OK.  " : "Zła data !").c_str(),
                           difference.c_str());
             break;
           }
           case 2:
             if (PosnetCmd(17, &t[0], &t[1], &t[2], &t[3], &t[4]) == 0)
               Info(PrintfQStr(MSG_DATE_TIME, DateText(t[0], t[1], t[2]).c_str(), t[3], t[4]));
             break;
           case 3:
             if (DFDataCzasPosnet() == 0) PosnetCmd(16, t[0], t[1], t[2], t[3], t[4]);
             break;
           case 4: PosnetCmd(6); break;
           case 5: {
             std::string h[5];
             for (int i = 0; i < 5; i++) h[i] = Trimmed(parametryPosnet.trainingHeader[i]);
             PosnetCmd(14, h[0].c_str(), h[1].c_str(), h[2].c_str(), h[3].c_str(), h[4].c_str(),
                       static_cast<const char*>(nullptr));
             break;
           }
           case 6: PosnetStatusOkno(); break;
           case 7:
             if (DFWplataPosnet() == 0) {
               DFOtworzSzuflade();
               PosnetCmd(8, dfSesja->posnetCashIn);
             }
             break;
           case 8:
             if (DFWyplataPosnet() == 0) {
               DFOtworzSzuflade();
               PosnetCmd(7, dfSesja->posnetCashOut);
             }
             break;
           case 9:
             if (MessageWindow(MB_WARNING | MB_YES_ESC, Maz("Raport dobowy. Kontynuować ?").c_str()) != KEY_ESC)
               PosnetCmd(21);
             break;
           default: break;
         }
       });
  return 0;
}

int TpLineFunkcjePomocnicze() {
  if (TpLineCmd(25, 1, "Funkcje") == 0) TpLineCmd(25, 2, "pomocnicze");
  Menu({"Stan drukarki", "Stan modułu fiskalnego", "Test sum kontrolnych", "Weź czas", "Ustaw czas", "Numer fabryczny",
        "Numer unikatowy", "Wartość stawek", "Liczba zerowań RAM", "Ostatni numer paragonu", "Stan programu drukarki",
        "Zapisz nagłówek", "Zapisz numer kasjera", "Zapisz numer urządz."},
       [](int choice) {
         static const int kQueries[] = {15, 16, 13, 12, 0, 11, 10, 9, 8, 7, 6};
         int32_t* t = dfSesja->tpLineDateTime;
         if (choice <= 11 && choice != 5) {
           TpLineCmd(kQueries[choice - 1]);
         } else if (choice == 5) {
           if (DFDataCzasTpLine() == 0 && TpLineCmd(23, t[3], t[4]) == 0) TpLineCmd(24, t[0], t[1], t[2]);
         } else if (choice == 12) {
           for (int line = 1; line <= 5; line++)
             if (TpLineCmd(22, line, Trimmed(parametryTpLine.header[line - 1]).c_str()) != 0) break;
         } else if (choice == 13) {
           TpLineCmd(21, parametryTpLine.cashier);
         } else if (choice == 14) {
           TpLineCmd(20, parametryTpLine.device);
         }
       });
  return 0;
}

int OrhmetFunkcjePomocnicze() {
  Menu({"Weź czas", "Wpłata do kasy", "Wypłata z kasy"}, [](int choice) {
    if (choice == 1) {
      int v[5] = {};   // a "done" without the clock blocks leaves zeros
      if (OrhmetCmd(3, &v[0], &v[1], &v[2], &v[3], &v[4]) == 0) Info(PrintfQStr(MSG_ORHMET_TIME, v[2], v[1], v[0], v[3], v[4]));
    } else if (choice == 2) {
      if (DFWplataOrhmet() == 0) OrhmetCmd(10, '+', dfSesja->orhmetCashIn);
    } else if (choice == 3) {
      if (DFWyplataOrhmet() == 0) OrhmetCmd(10, '-', dfSesja->orhmetCashOut);
    }
  });
  return 0;
}

int ElzabFunkcjePomocnicze() {
  Menu({"Odczyt czasu", "Korekta czasu", "Stan drukarki", "Ponów wydruk"}, [](int choice) {
    if (choice == 1) {
      char time[4], date[8];
      if (ElzabCmd(8, time, date) != 0) return;
      auto n = [](const char* from, int length) { return std::atoi(std::string(from, static_cast<size_t>(length)).c_str()); };
      dfSesja->elzabMinutes = n(time + 2, 2);
      Info(PrintfQStr(MSG_DATE_TIME, DateText(n(date, 4), n(date + 4, 2), n(date + 6, 2)).c_str(), n(time, 2),
                      dfSesja->elzabMinutes));
    } else if (choice == 2) {
      if (DFKorektaCzasu() == 0) ElzabCmd(9, dfSesja->elzabMinutes);
    } else if (choice == 3) {
      ElzabCmd(3);
    } else if (choice == 4) {
      ElzabCmd(10);
    }
  });
  return 0;
}

int SparkFunkcjePomocnicze() {
  Menu({"Odczytaj status", "Otwórz drukowanie", "Wyślij nagłówek"}, [](int choice) {
    const SparkParams& p = parametrySpark;
    if (choice == 1) SparkStatusOkno();
    else if (choice == 2) SparkCmd(9, p.device, p.cashier);
    else if (choice == 3) SparkCmd(6, p.header[0], p.header[1], p.header[2], p.header[3], p.header[4]);
  });
  return 0;
}
