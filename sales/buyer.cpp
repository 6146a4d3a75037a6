#include "sales/buyer.h"

#include <cstring>
#include <iterator>
#include <optional>
#include <string>

#include "app/document_kinds.h"
#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/contractors.h"
#include "masterdata/nip_check_window.h"
#include "masterdata/tax_number_checks.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/line_code.h"
#include "sales/sales_context.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

DaneNabywcy daneNabywcy{0, 0};

namespace {

constexpr int MSG_UNKNOWN_CODE = 46, MSG_UNKNOWN_NIP = 47, MSG_CONTRACTOR_EXISTS = 48, MSG_ENTER_CODE = 20185;
constexpr int RE1_GTU = 15, PROCEDURE_MARKS = 13, GTU_MARKS = 13;
constexpr int LIST_ROW = 2;
constexpr int KEY_F4 = 0x3E00, KEY_F6 = 0x4000, KEY_F7 = 0x4100, KEY_F8 = 0x4200, KEY_ALT_F8 = 0x6F00,
              KEY_ALT_K = 0x2500;
constexpr int HEADER_TAG_NIP = 6;

int fieldSetKind = POLE_NAGLOWKA;

DbField* K(const char* name) { return d4field(Z5KHNT.table, name); }
DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

std::string Trimmed(const char* text, int length) {
  std::string s(text, strnlen(text, static_cast<size_t>(length)));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// The contractors table opened for one pick; closed again by the caller
// only when it was not open before.
struct Contractors {
  bool opened = false;
  bool ok = false;
  Contractors() {
    ok = Z5KHNT.table != nullptr || (opened = OpenZ5KHNT(0) == 0);
  }
  ~Contractors() {
    if (opened && Z5KHNT.table) {
      d4close(Z5KHNT.table);
      Z5KHNT.table = nullptr;
    }
  }
};

void Copy(DbField* to, DbField* from) {
  if (to && from) ToFieldCopyMaxField(to, from);
}

// The contractor's name, address and tax data into the buyer fields; the
// country "POLSKA" when the contractor has none, unless asIs.
void CopyBuyer(bool countryAsIs) {
  const PolaSchowkaAdresu& p = pola_schowka_adresu;
  Copy(p.code, K("KOD"));
  Copy(p.name1, K("NA1"));
  Copy(p.name2, K("NA2"));
  Copy(p.postal_code, K("KOP"));
  Copy(p.town, K("MIA"));
  Copy(p.street, K("ULI"));
  Copy(p.nip, K("NIP"));
  if (p.country) {
    if (FieldIsEmpty(K("KRA")) && !countryAsIs)
      FldCopyString(p.country, "POLSKA");
    else
      Copy(p.country, K("KRA"));
  }
  if (p.flag) f4assign_char(p.flag, f4char(K("CZV")) == ' ' ? 'T' : f4char(K("CZV")));
  if (p.discount) Copy(p.discount, K("UPU"));
  if (p.kind) Copy(p.kind, K("TKO"));
}

// The contractor's default marks are added to the document's, never removed.
void AddMarks() {
  const char* marks = f4ptr(K("RE1"));
  char* nkv = f4assign_ptr(H("NKV"));
  char* nkk = f4assign_ptr(H("NKK"));
  for (int i = 0; i < PROCEDURE_MARKS; i++)
    if (marks[i] == 'T') nkv[i] = 'T';
  for (int i = 0; i < GTU_MARKS; i++)
    if (marks[RE1_GTU + i] == 'T') nkk[i] = 'T';
}

void Hints(bool on) {
  if (on) {
    set_fun_help("F4", "Lista", 5);
    set_fun_help("Alt+K", Sys("Czyść"), 6);
  } else {
    remove_fun_help("F4");
    remove_fun_help("Alt+K");
  }
}

int Pick(char* buffer, int width) {
  Contractors table;
  if (!table.ok) return 0;
  PoleKodowane list[3];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kod", &Z5KHNT.field[0], &Z5KHNT.tag[1], 1, -1);
  DefinePoleKodowane(0, "nazwa", &Z5KHNT.field[1], &Z5KHNT.tag[0], 0, 40);
  std::string title = Sys("Ewidencja kontrahentów");
  int key = pole_kodowane_fun(kartoteka_kontrahentow_z_dokumentu, title.c_str(), list, filtr_kontrahentow_dokumentu,
                              LIST_ROW, 0, Z5KHNT.table);
  if (key == KEY_ENTER) {
    std::memset(buffer, ' ', static_cast<size_t>(width));
    std::memcpy(buffer, f4ptr(K("KOD")), std::min<size_t>(f4len(K("KOD")), static_cast<size_t>(width)));
  }
  return key;
}

}  // namespace

void zeruj_dane_nabywcy() {
  daneNabywcy = DaneNabywcy{0, 0};
  rabatDokumentu = 0;
  poziomCenKontrahenta = 'A';
}

int filtr_kontrahentow_dokumentu(intptr_t) {
  int type = f4int(K("TYP"));
  if (type == 1 || type == 4 || type == 5 || f4char(K("STA")) == 'N') return 40;
  return 45;
}

int pole_kontrahenta(Get4* get, char* buffer, int32_t kind) {
  Hints(true);
  fieldSetKind = kind;
  int key = g4char();
  if (kind == POLE_NAGLOWKA) wklej_adres(key, buffer);
  if (key == KEY_F4) {
    if (Pick(buffer, get->dataWidth) == KEY_ENTER) key = KEY_ENTER;
  } else if (key == KEY_ALT_K) {
    std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
    OdswiezGety();
    PushKeyMessage(KEY_HOME, 1);
    key = KEY_HOME;
  }
  if (WigetCtrlKey(key)) Hints(false);
  return key;
}

int waliduj_kontrahenta(Get4* get) {
  zeruj_dane_nabywcy();
  std::string code = Trimmed(static_cast<const char*>(get->data), get->dataWidth);
  if (code.empty()) {
    if (fieldSetKind == POLE_FILTRA) {
      Uwaga(MSG_ENTER_CODE);
      return -1;
    }
    if (pola_schowka_adresu.kind) f4assign_long(pola_schowka_adresu.kind, 0);
    return 0;
  }
  Contractors table;
  if (!table.ok) return -1;
  std::string key = code;
  c4upper(key.data());
  int rc = SeekKontrahentByKod(key.c_str());
  if (rc < 0) return -1;
  if (rc != 0) {
    MessageWindow(MB_WARNING, MSG_UNKNOWN_CODE, code.c_str());
    return -1;
  }
  if (fieldSetKind == POLE_NAGLOWKA) {
    CopyBuyer(false);
    AddMarks();
    przejmij_dane_kontrahenta();
    OdswiezGety();
  }
  return 0;
}

void przejmij_dane_kontrahenta() {
  rabatDokumentu = f4double(K("UPU"));
  daneNabywcy.paymentDays = f4int(K("ILD"));
  char level = static_cast<char>(f4char(K("TYC")));
  poziomCenKontrahenta = level == ' ' || level == 0 ? 'A' : level;
  daneNabywcy.kind = salesOptions.stored126 == 'T' ? f4int(K("TKO")) : 0;
  if (!AddingNewDocument()) return;
  Copy(H("PLA"), K("PLA"));
  Copy(H("ODE"), K("OSO"));
  if (!FieldIsEmpty(K("OP1"))) Copy(H("OP1"), K("OP1"));
  if (!FieldIsEmpty(K("OP2"))) Copy(H("OP2"), K("OP2"));
  long sale = date4long(f4ptr(H("DAS")));
  if (sale > 0) date4assign(f4assign_ptr(H("DPL")), sale + daneNabywcy.paymentDays);
  if (daneNabywcy.paymentDays != 0) {
    f4assign_char(H("ZAP"), 'N');
    f4assign_double(H("KZA"), 0);
  }
  ustaw_stan_zaplaty();
}

int kontrahent_wg_nip(int, const char* nip, int length) {
  zeruj_dane_nabywcy();
  std::string text = Trimmed(nip, length);
  if (text.empty()) {
    if (pola_schowka_adresu.kind) f4assign_long(pola_schowka_adresu.kind, 0);
    return -1;
  }
  Contractors table;
  if (!table.ok) return -1;
  if (SeekKontrahentByNip(text.c_str()) != 0) {
    Uwaga(MSG_UNKNOWN_NIP);
    return -1;
  }
  CopyBuyer(true);
  przejmij_dane_kontrahenta();
  OdswiezGety();
  return 0;
}

int kontrahent_wg_kodu(int, const char* code, int length) {
  zeruj_dane_nabywcy();
  std::string text = Trimmed(code, length);
  if (text.empty()) return 0;
  Contractors table;
  if (!table.ok) return -1;
  if (SeekKontrahentByKod(text.c_str()) != 0) {
    Uwaga(MSG_UNKNOWN_CODE);
    return -1;
  }
  przejmij_dane_kontrahenta();
  return 0;
}

int nabywca_z_dokumentu(int, const char* nip, int length) {
  std::string text = Trimmed(nip, length);
  if (text.empty()) return 0;
  DbTable* t = Z5SPRZ.table;
  long current = d4recno(t);
  std::string saved(d4record(t), static_cast<size_t>(d4record_width(t)));
  d4changed(t, 0);
  DbTag* tag = d4tag_selected(t);
  d4tag_select(t, Z5SPRZ.tag[HEADER_TAG_NIP]);
  std::string key = text;
  key.resize(f4len(H("NIP")), ' ');
  int rc = d4seek(t, key.c_str());
  if (rc == 0 && d4recno(t) == current) rc = d4skip(t, 1) == 0 && !d4eof(t) && FldQStr(H("NIP"), 1) == text ? 0 : 1;
  const char* names[] = {"KNA", "NA1", "NA2", "KOP", "MIA", "ULI", "KRA", "RE3", "UPU"};
  std::string taken[std::size(names)];
  if (rc == 0)
    for (size_t i = 0; i < std::size(names); i++) taken[i].assign(f4ptr(H(names[i])), f4len(H(names[i])));
  d4tag_select(t, tag);
  if (current > 0 && d4go(t, current) != 0) return -1;
  std::memcpy(d4record(t), saved.data(), saved.size());
  d4changed(t, 1);
  int result;
  if (rc < 0) {
    result = -1;
  } else if (rc != 0) {
    Uwaga(MSG_UNKNOWN_NIP);
    result = 1;
  } else {
    for (size_t i = 0; i < std::size(names); i++) f4assign_n(H(names[i]), taken[i].data(), static_cast<int>(taken[i].size()));
    result = kontrahent_wg_kodu(0, taken[0].c_str(), static_cast<int>(taken[0].size())) == 0 ? 0 : -1;
  }
  OdswiezGety();
  return result;
}

int pole_nip_nabywcy(Get4* get, char* buffer, int32_t kind) {
  int last = EnvCurrent()->lastGetKey;
  if (!FieldIsEmpty(H("KNA")) || (kind == POLE_NAGLOWKA && f4int(H("STM")) == 4)) return last;
  bool online = mainOptions.onlineNipCheck == 'T';
  if (online) {
    set_fun_help("F6", "GUS", 5);
    set_fun_help("F8", "weryfikuj NIP", 7);
  }
  set_fun_help("F7", "NIP-lista", 6);
  set_fun_help("Alt+F8", "NIP-dokumenty", 8);
  int key = g4char();
  std::string nip = Trimmed(buffer, get->dataWidth);
  bool verify = false;
  if (key == KEY_F6 && online) {
    GusTargets targets{H("NA1"), H("NA2"), H("KOP"), H("MIA"), H("ULI"), nullptr, H("KRA"),
                       nullptr, nullptr, nullptr, nullptr};
    if (szukaj_nip_gus(nip.data(), get, nullptr, &targets) == 0)
      verify = true;
    else
      key = KEY_HOME;
  } else if (key == KEY_F7) {
    key = kontrahent_wg_nip(0, buffer, get->dataWidth) == 0 ? KEY_ENTER : KEY_HOME;
  } else if (key == KEY_F8 && online) {
    verify = true;
  } else if (key == KEY_ALT_F8) {
    int found = nabywca_z_dokumentu(0, buffer, get->dataWidth);
    key = found < 0 ? KEY_ESC : found == 1 ? KEY_HOME : KEY_ENTER;
  }
  if (verify) {
    int status = sprawdz_nip_kontrahenta(Trimmed(buffer, get->dataWidth).c_str(), 0);
    // No register answered: what is known stays.
    if (NipRegisterUnreachable(status)) {
      key = KEY_HOME;
    } else {
      f4assign_char(H("RE3"), NipIsVatPayer(status) ? 'T' : 'N');
      key = NipIsVatPayer(status) ? KEY_ENTER : KEY_HOME;
    }
    OdswiezGety();
  }
  if (WigetCtrlKey(key)) {
    remove_fun_help("F6");
    remove_fun_help("F7");
    remove_fun_help("F8");
    remove_fun_help("Alt+F8");
  }
  return key;
}

int dopisz_kontrahenta_z_dokumentu() {
  BrowseContext* c = CurrentBrowse;
  DbTable* t = Z5SPRZ.table;
  long record = d4recno(t);
  if (!c || EmptyBrowseWarning(c) != 0 || record <= 0 || go_and_lock(t, record) != 0) return 0;
  bool added = false;
  {
    Contractors table;
    if (table.ok) {
      std::string code = FldQStr(H("KNA"), 1);
      if (SeekKontrahentByKod(code.c_str()) == 0) {
        Uwaga(MSG_CONTRACTOR_EXISTS);
      } else {
        typ_kontrahenta_z_dokumentu = 2;
        kontrahent_z_dokumentu = 1;
        kartoteka_kontrahentow_z_dokumentu();
        kontrahent_z_dokumentu = 0;
        added = typ_kontrahenta_z_dokumentu == 0;
      }
    }
  }
  int result = 0;
  if (added) {
    if (d4write(t, record) != 0 || d4flush(t) != 0) result = -1;
  }
  d4unlock(t);
  if (added) browse_call(0, record);
  return result;
}

namespace {

constexpr int MSG_CONTINUE = 50006;
constexpr int CHECK_WINDOW_WIDTH = 50, CHECK_WINDOW_ROWS = 15;

struct NipCounters {
  int active = 0, inactive = 0, bad = 0;
};

void ShowNipCounters(const NipCounters& n) {
  w4(3, 1, PrintfQStr("AKTYWNY:                     %5i", n.active));
  w4(5, 1, PrintfQStr("NIEAKTYWNY:                  %5i", n.inactive));
  w4(7, 1, PrintfQStr(Sys("BŁĘDNY lub nie NIP:          %5i"), n.bad));
}

// One document's NIP checked silently and counted.
NipCheckStep CheckDocument(NipCounters* n) {
  std::string nip = FldQStr(H("NIP"), 3);
  std::string head = nip.substr(0, 5);
  c4upper(head.data());
  int status = nip.empty() || head == "BRAK" ? -6 : sprawdz_nip_kontrahenta(nip.c_str(), 1);
  if (NipIsVatPayer(status)) {
    n->active++;
  } else if (NipRegisterUnreachable(status)) {
    if (Pytanie(MSG_CONTINUE) == KEY_ESC) return NipCheckStep::STOP;
  } else {
    std::string number = f4char(H("RE4")) == 'N' ? FldQStr(H("OSM"), 1) : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
    std::string which = PrintfQStr("Dokument nr %s z %s.", number.c_str(), FldFullDateQStr(H("DAW")));
    if (MessageWindow(MB_YES_ESC, opis_statusu_nip(status), which.c_str(), MSG_CONTINUE) == KEY_ESC)
      return NipCheckStep::STOP_QUIET;
    (status >= 0 ? n->inactive : n->bad)++;
  }
  ShowNipCounters(*n);
  if (KeyPressed() && g4char() == KEY_ESC && Pytanie(Sys("Przerwać operację?")) != KEY_ESC) return NipCheckStep::STOP_QUIET;
  return NipCheckStep::NEXT;
}

}  // namespace

void sprawdz_nip_dokumentow() {
  BrowseContext* c = CurrentBrowse;
  if (!c) return;
  NipCounters counters;
  NipCheckWindow where{(Desktop.rows - CHECK_WINDOW_ROWS) / 2, (Desktop.cols - CHECK_WINDOW_WIDTH) / 2,
                       Sys("SPRAWDZENIE ZAKOŃCZONE"), false};
  std::optional<long> shown = CheckNipsInWindow(
      &c->scan, Z5SPRZ.table, where, [] { return std::string(FldQStr(H("NIP"), 1)); },
      [&counters] { return CheckDocument(&counters); });
  if (shown) browse_call(0, *shown);
}

const char* opis_statusu_nip(int status) {
  const char* text;
  switch (status) {
    case 0: text = "Nie zarejestrowany w rejestrze VAT lub nie znaleziony w VIES."; break;
    case 1: text = "Znaleziony w VIES."; break;
    case 2: text = "Zarejestrowany w rejestrze VAT jako czynny."; break;
    case 3: text = "Zarejestrowany w rejestrze VAT jako zwolniony."; break;
    case 4: text = "Zarejestrowany w rejestrze VAT: zakończona lub zawieszona działalność."; break;
    case -1: text = "Błąd szukania w VIES."; break;
    case -2: text = "Błąd szukania w rejestrze VAT."; break;
    case -3: text = "Nieoczekiwany wynik szukania w rejestrze VAT."; break;
    case -4: text = "To jest nr PESEL."; break;
    case -5: text = "Błędny NIP lub nie polski i nie UE."; break;
    case -6: text = "Brak NIP."; break;
    default: text = "Niezdefiniowany błąd sprawdzenia NIP."; break;
  }
  return PrintfQStr("%s", Sys(text));
}
