#include "printouts/payment_demand.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/dbf_table.h"
#include "env/amount_words.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "finance/interest.h"
#include "jpk/bank_accounts.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "sales/background_screen.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

LiczenieOdsetekWezwania liczOdsetkiWezwania = LiczOdsetki;

namespace {

constexpr int TYPE_DUE = 1, TYPE_INTEREST = 2;
constexpr int KIND_WITHOUT_INVOICE = 5, KIND_PRO_FORMA = 6;
constexpr int FIRST_YEAR = 1993;
constexpr int16_t SCREEN = 75, FORM_DUE = 73, FORM_INTEREST = 74;
constexpr int WINDOW_ROW = 2, WINDOW_COL = 0, WINDOW_ROWS = 17, WINDOW_COLS = 80;
constexpr int SCREEN_ATTRIBUTE = 142, VALUE_ATTRIBUTE = 143;
constexpr int PAGE_WIDTH = 131, PAGE_ROWS = 32, CUT_LINE_ROW = 31, MARK_ROW = 4, MARK_COL = 112;
constexpr int PRINT_FLAGS = 0x900;
constexpr int AMOUNT_WIDTH = 11, AMOUNT_FLAGS = 2 | 0x20, DAYS_WIDTH = 3;
constexpr int WORDS_WIDTH = 110;
constexpr int TYPE_WIDTH = 9, ACCOUNT_WIDTH = 42;
constexpr int KEY_F4 = 0x3E00;
constexpr int ACCOUNT_OTHER = 6;
constexpr const char* AMOUNT_PICTURE = "99999999.99";

struct wezwanie {
  char data_wezwania[9];
  int32_t typ;
  double kwota;
  char data_zaplaty[9];
  int32_t dni;
  double odsetki;
  char typ_tekst[81];
  char konto[81];
  char numer[81];
};

// The demand of the open window.
wezwanie* demand = nullptr;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }
std::string Date(DbField* field) { return std::string(f4ptr(field), 8); }

const char* const* TypeMenu() {
  static const char* const items[] = {Sys("1. NALEŻNOŚĆ"), Sys("1. NALEŻNOŚĆ"), Sys("2. ODSETKI  "), nullptr};
  return items;
}
// The type's menu text without its "1. " or "2. ".
const char* TypeText(int type) { return TypeMenu()[type] + 3; }

const char* const* AccountMenu() {
  static const char* const items[] = {Sys("2. POMOCNICZE 1"), Sys("1. PODSTAWOWE"), Sys("2. POMOCNICZE 1"),
                                      Sys("3. POMOCNICZE 2"), Sys("4. POMOCNICZE 3"), Sys("5. POMOCNICZE 4"),
                                      Sys("6. INNE"),         nullptr};
  return items;
}

std::string Amount(double value) {
  char text[AMOUNT_WIDTH + AMOUNT_WIDTH / 3 + 2] = {};
  int n = MemPrintDoubleFmt(text, value, AMOUNT_WIDTH, AMOUNT_FLAGS);
  return std::string(text, static_cast<size_t>(std::max(n, 0)));
}

std::string Days(int days) {
  char text[16];
  return c4ltoa(days, text, DAYS_WIDTH) ? std::string(text, DAYS_WIDTH) : std::string();
}

double Total(const wezwanie& w) { return w.typ == TYPE_INTEREST ? w.odsetki : w.kwota + w.odsetki; }

// The date is before the field's date (both "CCYYMMDD").
bool Before(const char* date, DbField* field) { return std::memcmp(date, f4ptr(field), 8) < 0; }

void Show(int row, int col, const std::string& text) {
  w4num_att(row, col, text.c_str(), static_cast<int>(text.size()), VALUE_ATTRIBUTE);
}

// A changed date or amount counts once its value is accepted; the window
// stays whatever the computation says.
int Recompute() {
  przelicz_odsetki_wezwania();
  return 0;
}

int LeaveDemandDate(Get4* get) {
  if (SprawdzDateOdsetek(get) != 0) return -1;
  if (Before(demand->data_wezwania, H("DAW"))) {
    Alarm(Sys("Data wezwania młodsza niż wystawienia dokumentu !"));
    return -1;
  }
  return Recompute();
}

int LeavePaymentDate(Get4* get) {
  if (SprawdzDateOdsetek(get) != 0) return -1;
  if (Before(demand->data_zaplaty, H("DPL"))) {
    Alarm(Sys("Data zapłaty młodsza niż płatności dokumentu !"));
    return -1;
  }
  return Recompute();
}

int LeaveAmount(Get4* get) { return valid_wart_nieujemna(get) != 0 ? -1 : Recompute(); }

// The type's get opens its menu at once; Esc there goes back a get.
int ChooseType(Get4* get, char* buffer, int32_t) {
  int chosen = get_menu_function(" WYBIERZ ", TypeMenu(), demand->typ, -1, -1);
  if (chosen < 1) return KEY_UP;
  demand->typ = chosen;
  std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
  const char* text = TypeText(chosen);
  std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(get->dataWidth)));
  przelicz_odsetki_wezwania();
  return KEY_ENTER;
}

// F4 lists the firm's accounts; a chosen one that has a number replaces
// the typed one.
int AccountKeys(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4) {
    int chosen = get_menu_function(" WYBIERZ ", AccountMenu(), 1, -1, -1);
    const char* number = chosen >= 1 && chosen < ACCOUNT_OTHER ? konto_bankowe_firmy(chosen, nullptr) : "";
    if (number && *number) {
      std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
      std::memcpy(buffer, number, std::min(std::strlen(number), static_cast<size_t>(get->dataWidth)));
      key = KEY_HOME;
    } else {
      key = -1;
    }
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

void DefineGets() {
  g4date(5, 22, demand->data_wezwania);
  g4picture("DD-MM/YY");
  g4valid(LeaveDemandDate);
  g4(7, 21, demand->typ_tekst);
  g4width(TYPE_WIDTH, TYPE_WIDTH);
  g4call(ChooseType, 0);
  g4double(9, 22, &demand->kwota);
  g4picture(AMOUNT_PICTURE);
  g4width(AMOUNT_WIDTH, AMOUNT_WIDTH);
  g4valid(LeaveAmount);
  g4date(11, 22, demand->data_zaplaty);
  g4picture("DD-MM/YY");
  g4valid(LeavePaymentDate);
  g4(14, 22, demand->konto);
  g4width(ACCOUNT_WIDTH, ACCOUNT_WIDTH);
  g4call(AccountKeys, 0);
}

void Fill(wezwanie& w, double amount, int type) {
  std::memcpy(w.data_wezwania, get_cur_das(0), 8);
  std::memcpy(w.data_zaplaty, w.data_wezwania, 8);
  if (Before(w.data_zaplaty, H("DPL"))) std::memcpy(w.data_zaplaty, f4ptr(H("DPL")), 8);
  w.kwota = amount;
  w.typ = type;
  std::strcpy(w.typ_tekst, TypeText(type));
  std::memset(w.konto, ' ', ACCOUNT_WIDTH);
  ToMemCopyField(w.konto, Firm("NRR1"), ACCOUNT_WIDTH);
  std::string number = f4char(H("RE4")) == 'N' ? TrimFldsToQStr_(H("OSM"))
                                                : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
  number.erase(0, number.find_first_not_of(' '));
  std::snprintf(w.numer, sizeof w.numer, "%s", number.c_str());
}

// Text into a page, cut at the row's end.
void Put(char* page, int row, int col, const std::string& text) {
  int room = PAGE_WIDTH - col;
  if (room <= 0) return;
  std::memcpy(page + row * PAGE_WIDTH + col, text.data(), std::min(text.size(), static_cast<size_t>(room)));
}

void FillPage(const wezwanie& w, char* page) {
  std::string place(salesOptions.issuePlace, strnlen(salesOptions.issuePlace, sizeof salesOptions.issuePlace));
  place.erase(place.find_last_not_of(' ') + 1);
  std::string heading = place + ", " + FullDateQStr(w.data_wezwania);
  Put(page, 0, 128 - static_cast<int>(heading.size()), heading);
  Put(page, 0, 3, TrimFldsToQStr_(Firm("NA1")));
  Put(page, 1, 3, TrimFldsToQStr_(Firm("NA2")));
  Put(page, 2, 3, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  Put(page, 6, 39, TrimFldsToQStr_(H("NA1")));
  Put(page, 7, 39, TrimFldsToQStr_(H("NA2")));
  Put(page, 8, 39, TrimFldsToQStr_(H("KOP"), H("MIA"), H("ULI")));
  std::string currency = TrimFldsToQStr_(H("WAL"));
  bool due = w.typ == TYPE_DUE;
  const int* at;
  static const int dueColumns[] = {12, 33, 44, 59, 71, 86, 94, 108};
  static const int interestColumns[] = {19, 41, 51, 67, 79, 93, 101};
  if (due) {
    Put(page, 10, 47, Amount(w.kwota));
    Put(page, 10, 61, currency);
    Put(page, 12, 22, Amount(w.odsetki));
    Put(page, 12, 36, currency);
    at = dueColumns;
  } else {
    Put(page, 11, 110, Amount(w.odsetki));
    Put(page, 11, 124, currency);
    at = interestColumns;
  }
  Put(page, 17, at[0], w.numer);
  Put(page, 17, at[1], FldDateQStr(H("DAW")));
  Put(page, 17, at[2], Amount(w.kwota));
  Put(page, 17, at[3], FldDateQStr(H("DPL")));
  if (w.odsetki != 0) Put(page, 17, at[4], DateQStr(w.data_zaplaty));
  Put(page, 17, at[5], Days(w.dni));
  Put(page, 17, at[6], Amount(w.odsetki));
  if (due) Put(page, 17, at[7], Amount(Total(w)));
  char line1[WORDS_WIDTH + 1] = {}, line2[WORDS_WIDTH + 1] = {};
  std::memset(line1, ' ', WORDS_WIDTH);
  std::memset(line2, ' ', WORDS_WIDTH);
  pisz_slownie(line1, line2, slownie(Total(w), currency.c_str()), WORDS_WIDTH);
  Put(page, 19, 12, std::string(line1, WORDS_WIDTH));
  Put(page, 20, 12, std::string(line2, WORDS_WIDTH));
  Put(page, 21, 57, std::string(w.konto, strnlen(w.konto, ACCOUNT_WIDTH)));
}

// Passes of the original and the copy on one sheet while copies are left.
void PrintSheets(char* pattern, const char* page) {
  if (init_prn(Z5SPRZ.table, "WEZ", Sys("WEZWANIE DO ZAPŁATY"), PAGE_WIDTH, PRINT_FLAGS) != 0) return;
  Environment* env = EnvCurrent();
  for (;;) {
    if (drukuj_top_margin() != 0) break;
    Put(pattern, MARK_ROW, MARK_COL, Sys("ORYGINAŁ"));
    if (print_lines(pattern, page, PAGE_WIDTH, 0, PAGE_ROWS, -1, -1) != 0) break;
    Put(pattern, MARK_ROW, MARK_COL, " KOPIA  ");
    // the copy goes without the cut line below it
    if (print_lines(pattern, page, PAGE_WIDTH, 0, CUT_LINE_ROW, -1, -1) != 0) break;
    if (drukuj_form_feed() != 0) break;
    int copies = env ? env->copiesLeft : 0;
    if (env) env->copiesLeft = copies - 1;
    if (copies <= 0) break;
  }
  deinit_prn();
}

int16_t shownForm;
int16_t ShownForm() { return shownForm; }

void CloseFirm() {
  d4close(Z5PAWL.table);
  Z5PAWL.table = nullptr;
}

}  // namespace

int kwota_wezwania(double* amount, int* type) {
  int kind = 0;
  double due = KwotaDoRozliczenia(&kind);
  if (kind == KIND_WITHOUT_INVOICE || kind == KIND_PRO_FORMA) return 0;
  double rest = due - f4double(H("KZA"));
  if (rest < 0) return 0;
  if (rest == 0) {
    if (due < 0) return 0;
    *amount = due;
    *type = TYPE_INTEREST;
    return 1;
  }
  *amount = rest;
  *type = TYPE_DUE;
  return 1;
}

int przelicz_odsetki_wezwania() {
  wezwanie& w = *demand;
  if (OpenInterestTables() != 0) {
    Alarm(Sys("Błąd otwarcia parametrów !"));
    return -2;
  }
  double taxInterest = 0, interest = 0;
  int days = 0;
  std::string due = Date(H("DPL")), paid(w.data_zaplaty, 8);
  int computed = liczOdsetkiWezwania(due.c_str(), paid.c_str(), w.kwota, &taxInterest, &interest, &days);
  CloseInterestTables();
  if (computed < 0) {
    Alarm(Sys("Błąd obliczeń !"));
    return -1;
  }
  w.dni = days;
  w.odsetki = interest;
  Show(7, 57, Days(w.dni));
  Show(9, 57, Amount(w.odsetki));
  Show(11, 57, Amount(Total(w)));
  return 0;
}

int drukuj_wezwanie() {
  const wezwanie& w = *demand;
  shownForm = w.typ == TYPE_INTEREST ? FORM_INTEREST : FORM_DUE;
  char *pattern = nullptr, *page = nullptr;
  if (print_alloc(&pattern, &page, PAGE_WIDTH * PAGE_ROWS, ShownForm) == 0) {
    FillPage(w, page);
    if (edytuj_memory(pattern, page, PAGE_ROWS, PAGE_WIDTH, Sys("WEZWANIE DO ZAPŁATY"), 1, 1, 1) == KEY_F2)
      PrintSheets(pattern, page);
  }
  print_free(&pattern, &page);
  return 0;
}

int okno_wezwania() {
  DbField* term = H("DPL");
  if (FieldIsEmpty(term)) {
    Alarm(Sys("Brak daty płatności !"));
    return 0;
  }
  if (date4year(Date(term).c_str()) < FIRST_YEAR) {
    Alarm(Sys("Rok daty płatności < 1993 !"));
    return 0;
  }
  double amount = 0;
  int type = 0;
  if (!kwota_wezwania(&amount, &type) || OpenZ5PAWL() != 0) return 0;
  wezwanie record{};
  demand = &record;
  int key;
  {
    OpenedWindow window([] {
      return DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, Sys("WEZWANIE DO ZAPŁATY"),
                                  nullptr, nullptr);
    });
    w4attribute(SCREEN_ATTRIBUTE);
    pokaz_tlo(SCREEN, 0, 0);
    Fill(record, amount, type);
    Show(1, 22, record.numer);
    Show(1, 45, FldDateQStr(H("DAW")));
    Show(3, 22, FldDateQStr(term));
    przelicz_odsetki_wezwania();
    add_help_line();
    set_fun_help("F2", "Drukuj", 2);
    DefineGets();
    key = g4read();
    remove_help_line();
    if (key != KEY_ESC && Pytanie(Sys("Czy drukować wezwanie do zapłaty?")) != KEY_ESC) drukuj_wezwanie();
  }
  demand = nullptr;
  CloseFirm();
  return 0;
}

int wezwanie_do_zaplaty(int) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  return okno_wezwania();
}
