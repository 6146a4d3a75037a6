// The window "OBLICZENIE ODSETEK": the interest of an amount between a due
// date and a payment date, asked again until Esc.
#include <cstring>

#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "env/numbers.h"
#include "finance/interest.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int WINDOW_ROW = 3, WINDOW_COL = 0, WINDOW_ROWS = 11, WINDOW_COLS = 80;
constexpr int LABEL_ATTRIBUTE = 142, VALUE_ATTRIBUTE = 143;
constexpr int INPUT_COL = 16, RESULT_COL = 40, NUMBER_WIDTH = 11, DAYS_WIDTH = 5;
constexpr const char* AMOUNT_PICTURE = "99999999.99";

void Label(int row, int col, const char* text) {
  const char* shown = Sys(text);
  w4num_att(row, col, shown, static_cast<int>(std::strlen(shown)), LABEL_ATTRIBUTE);
}

void Number(int row, int col, double value) {
  int previous = w4attribute(VALUE_ATTRIBUTE);
  w4double(row, col, value, NUMBER_WIDTH, 2);
  w4attribute(previous);
}

void ShowResults(double amount, double taxInterest, double statutoryInterest, int days) {
  Label(2, RESULT_COL, "Ilość dni zaległości -");
  int previous = w4attribute(VALUE_ATTRIBUTE);
  w4int(2, RESULT_COL + 23, days, DAYS_WIDTH);
  w4attribute(previous);
  Label(6, 1, "ODSETKI OD ZALEGŁOŚCI PODATKOWYCH");
  Label(7, 0, "Kwota odsetek -");
  Number(7, INPUT_COL, taxInterest);
  Label(8, 0, "RAZEM         -");
  Number(8, INPUT_COL, amount + taxInterest);
  Label(6, RESULT_COL + 1, "ODSETKI USTAWOWE");
  Label(7, RESULT_COL, "Kwota odsetek -");
  Number(7, RESULT_COL + INPUT_COL, statutoryInterest);
  Label(8, RESULT_COL, "RAZEM         -");
  Number(8, RESULT_COL + INPUT_COL, amount + statutoryInterest);
}

void ClearResults() {
  w4repeat(2, RESULT_COL, ' ', WINDOW_COLS - RESULT_COL);
  for (int row = 6; row <= 8; row++) w4repeat(row, 0, ' ', WINDOW_COLS);
}

}  // namespace

int ObliczOdsetki(const char* dueDate, const char* paymentDate, double amount) {
  if (OpenInterestTables() != 0) return -1;
  char due[9] = {}, paid[9] = {};
  std::memcpy(due, dueDate, 8);
  std::memcpy(paid, paymentDate, 8);
  int result = -1;
  {
    OpenedWindow window([] {
      return DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, Sys("OBLICZENIE ODSETEK"), nullptr,
                                  nullptr);
    });
    for (;;) {
      Label(1, 0, "Termin wpłaty -");
      Label(2, 0, "Data wpłaty   -");
      Label(4, 0, "Kwota zaległa -");
      g4attribute(VALUE_ATTRIBUTE);
      g4date(1, INPUT_COL, due);
      g4picture("DD-MM/YY");
      g4valid(SprawdzDateOdsetek);
      g4date(2, INPUT_COL, paid);
      g4picture("DD-MM/YY");
      g4valid(SprawdzDateOdsetek);
      g4double(4, INPUT_COL, &amount);
      g4picture(AMOUNT_PICTURE);
      g4width(NUMBER_WIDTH, NUMBER_WIDTH);
      if (g4read() == KEY_ESC) break;
      double taxInterest = 0, statutoryInterest = 0;
      int days = 0;
      result = LiczOdsetki(due, paid, amount, &taxInterest, &statutoryInterest, &days);
      if (result >= 0) {
        ShowResults(amount, ROUND(taxInterest, 0), statutoryInterest, days);
        g4char();
        ClearResults();
      }
    }
  }
  CloseInterestTables();
  return result;
}
