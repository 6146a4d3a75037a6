// Receipt and invoice numbers: the next free number of a prefix and suffix,
// the check that a number is free, the number window with its key routines
// and the change of a saved receipt's number.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int MSG_NO_INVOICE = 232;        // "Brak zdefiniowanego dokumentu VAT !"
constexpr int MSG_NUMBER_EXISTS = 20155;   // "Podany numer już istnieje!"
constexpr int MSG_FILL_NUMBER = 20186;     // "Wypełnij numer dokumentu."
constexpr int PREFIX_WIDTH = 4, SUFFIX_WIDTH = 9;
constexpr int TAG_RECEIPT_SERIES = 4;      // UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)
constexpr int TAG_INVOICE_SERIES = 5;      // STR(TYF,1,0)+UPPER(PRF)+UPPER(POF)+STR(NRF,5,0)
constexpr int GET_ATTRIBUTE = 143;
constexpr int WINDOW_ROW = 8, WINDOW_COL = 14, WINDOW_HEIGHT = 5, WINDOW_WIDTH = 51;
constexpr int PREFIX_COL = 24, NUMBER_COL = 29, SUFFIX_COL = 35;

numer_paragonu& N() { return kontekstParagonow->numer; }
DbField* H(const char* name) { return d4field(Z5PARA.table, name); }

// The fields of the mode: prefix, number, suffix.
DbField* Prefix() { return H(N().mode == NUMER_PARAGONU ? "PRE" : "PRF"); }
DbField* Number() { return H(N().mode == NUMER_PARAGONU ? "NRV" : "NRF"); }
DbField* Suffix() { return H(N().mode == NUMER_PARAGONU ? "POS" : "POF"); }

std::string Fixed(const char* text, int width) {
  std::string s(text, strnlen(text, static_cast<size_t>(width)));
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}
std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The series part of the key: the invoice kind first in the invoice mode,
// then prefix and suffix.
std::string SeriesKey() {
  std::string key;
  if (N().mode == NUMER_FAKTURY) key = std::to_string(N().invoiceKind % 10);
  return key + Upper(Fixed(N().prefix, PREFIX_WIDTH)) + Upper(Fixed(N().suffix, SUFFIX_WIDTH));
}

// Selects the series tag of the mode for the length of a scope.
class SeriesTag {
 public:
  SeriesTag() : previous(d4tag_selected(Z5PARA.table)) {
    d4tag_select(Z5PARA.table, Z5PARA.tag[N().mode == NUMER_PARAGONU ? TAG_RECEIPT_SERIES : TAG_INVOICE_SERIES]);
  }
  ~SeriesTag() { d4tag_select(Z5PARA.table, previous); }
  SeriesTag(const SeriesTag&) = delete;
  SeriesTag& operator=(const SeriesTag&) = delete;

 private:
  DbTag* previous;
};

int32_t* numberShown = nullptr;

void ShowNumber() {
  if (!numberShown) return;
  *numberShown = N().number;
  int attribute = w4attribute(GET_ATTRIBUTE);
  OdswiezGety();
  w4attribute(attribute);
}

void StorePrefix(const char* buffer) {
  std::memcpy(N().prefix, Fixed(buffer, PREFIX_WIDTH).c_str(), PREFIX_WIDTH + 1);
  wyrownaj_w_prawo(N().prefix, PREFIX_WIDTH);
}

// F2 in the prefix or number slot: the number must be given and free.
int AcceptWithF2() {
  if (wymagaj_numeru() != 0) return KEY_HOME;
  int taken = sprawdz_numer();
  return taken < 0 ? KEY_ESC : taken > 0 ? KEY_HOME : KEY_F2;
}

bool automaticNumbering = false;

}  // namespace

void wyrownaj_w_prawo(char* text, int width) {
  std::string s(text, strnlen(text, static_cast<size_t>(width)));
  size_t first = s.find_first_not_of(' ');
  s = first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') + 1 - first);
  std::memset(text, ' ', static_cast<size_t>(width));
  std::memcpy(text + width - s.size(), s.data(), s.size());
  text[width] = '\0';
}

int kolejny_numer(int redisplay) {
  DbTable* t = Z5PARA.table;
  {
    SeriesTag tag;
    std::string key = SeriesKey() + "aaaaa";
    if (d4seek(t, key.c_str()) < 0 || d4skip(t, -1) < 0) return -1;
    bool same = !d4bof(t) && !d4eof(t) &&
                Upper(std::string(f4ptr(Prefix()), f4len(Prefix()))) == Upper(Fixed(N().prefix, PREFIX_WIDTH)) &&
                Upper(std::string(f4ptr(Suffix()), f4len(Suffix()))) == Upper(Fixed(N().suffix, SUFFIX_WIDTH)) &&
                (N().mode == NUMER_PARAGONU || f4int(H("TYF")) == N().invoiceKind);
    N().number = same ? static_cast<int32_t>(f4long(Number())) + 1 : 1;
  }
  if (redisplay) ShowNumber();
  return 0;
}

int sprawdz_numer() {
  DbTable* t = Z5PARA.table;
  long current = d4recno(t);
  int found;
  {
    SeriesTag tag;
    char number[8];
    std::snprintf(number, sizeof number, "%5d", N().number);
    found = d4seek(t, (SeriesKey() + number).c_str());
  }
  if (current > 0 && current <= d4reccount(t)) d4go(t, current);
  if (found < 0) return -1;
  if (found != 0) return 0;
  MessageWindow(MB_WARNING, MSG_NUMBER_EXISTS,
                NrDokumentuQStr(N().prefix, PREFIX_WIDTH, N().number, N().suffix, SUFFIX_WIDTH));
  return 1;
}

int wymagaj_numeru() {
  if (N().number != 0) return 0;
  Uwaga(MSG_FILL_NUMBER);
  return 1;
}

int klawisz_prefiksu(Get4*, char* buffer, int32_t) {
  int key = g4char();
  if (key == KEY_ENTER || key == KEY_DOWN) {
    StorePrefix(buffer);
    if (automaticNumbering && kolejny_numer(1) != 0) return KEY_ESC;
    return key;
  }
  if (key == KEY_F2) {
    StorePrefix(buffer);
    return AcceptWithF2();
  }
  return key;
}

int klawisz_numeru(Get4*, char* buffer, int32_t) {
  int key = g4char();
  if (key != KEY_ENTER && key != KEY_DOWN && key != KEY_F2) return key;
  N().number = std::atoi(buffer);
  if (key == KEY_F2) return AcceptWithF2();
  return wymagaj_numeru() != 0 ? KEY_HOME : key;
}

int klawisz_sufiksu(Get4*, char* buffer, int32_t) {
  int key = g4char();
  if (key != KEY_ENTER && key != KEY_DOWN && key != KEY_F2) return key;
  std::memcpy(N().suffix, Fixed(buffer, SUFFIX_WIDTH).c_str(), SUFFIX_WIDTH + 1);
  int taken = sprawdz_numer();
  return taken < 0 ? KEY_ESC : taken > 0 ? KEY_HOME : key;
}

int okno_numeru_paragonu(int automatic) {
  numer_paragonu& n = N();
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_HEIGHT, WINDOW_WIDTH, "FAKTURA DO PARAGONU",
                                    nullptr, nullptr);
  if (window < 0) return KEY_ESC;
  w4activate(window);
  w4(1, 0, "Podaj numer dokumentu -     /     /");
  g4attribute(GET_ATTRIBUTE);
  char prefix[PREFIX_WIDTH + 1], suffix[SUFFIX_WIDTH + 1];
  std::memcpy(prefix, Fixed(n.prefix, PREFIX_WIDTH).c_str(), sizeof prefix);
  std::memcpy(suffix, Fixed(n.suffix, SUFFIX_WIDTH).c_str(), sizeof suffix);
  int32_t number = n.number;
  automaticNumbering = automatic != 0;
  numberShown = &number;
  g4(1, PREFIX_COL, prefix);
  g4upper();
  g4call(klawisz_prefiksu, 0);
  g4long(1, NUMBER_COL, &number);
  g4picture("99999");
  g4call(klawisz_numeru, 0);
  g4(1, SUFFIX_COL, suffix);
  g4upper();
  g4call(klawisz_sufiksu, 0);
  int key = g4read();
  numberShown = nullptr;
  automaticNumbering = false;
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

int32_t zmien_numer(int32_t item) {
  BrowseContext* browse = CurrentBrowse;
  if (EmptyBrowseWarning(browse) != 0) return 0;
  numer_paragonu& n = N();
  if (item == 2 && f4int(H("TYF")) == 0) {
    Uwaga(MSG_NO_INVOICE);
    return 0;
  }
  n.mode = item == 1 ? NUMER_PARAGONU : NUMER_FAKTURY;
  n.invoiceKind = item == 1 ? 0 : f4int(H("TYF"));
  std::memcpy(n.prefix, Fixed(f4ptr(Prefix()), PREFIX_WIDTH).c_str(), PREFIX_WIDTH + 1);
  n.number = static_cast<int32_t>(f4long(Number()));
  std::memcpy(n.suffix, Fixed(f4ptr(Suffix()), SUFFIX_WIDTH).c_str(), SUFFIX_WIDTH + 1);
  DbTable* t = Z5PARA.table;
  long record = d4recno(t);
  if (go_and_lock(t, record) != 0) return 0;
  for (;;) {
    int key = okno_numeru_paragonu(0);
    if (key != KEY_ENTER && key != KEY_F2) break;
    // Another workstation may have taken the number meanwhile: checked
    // again under the whole table's lock before it is written.
    if (set_lock(t, -1) != 0) break;
    int taken = sprawdz_numer();
    if (taken == 0 && d4go(t, record) == 0) {
      f4assign(Prefix(), n.prefix);
      f4assign_long(Number(), n.number);
      f4assign(Suffix(), n.suffix);
      if (set_lock(Z5PARE.table, -1) == 0) {
        if (zgodnosc_paragonu() == 0) {
          d4write(t, record);
          d4flush(t);
        }
        d4unlock(Z5PARE.table);
      }
    }
    d4unlock(t);
    if (taken <= 0) break;
    go_and_lock(t, record);
  }
  d4unlock(t);
  d4go(t, record);
  browse_call(0, record);
  return 0;
}

}  // namespace retail
