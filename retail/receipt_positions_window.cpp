// The positions window of a receipt: its browse, menu, columns and forms,
// the hooks that send each position of a new receipt to the fiscal printer
// (or the customer display) and take its goods out of stock, " Rabat ",
// and the VAT-code and GTU choices of the form.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

int drukowanieFiskalne = 0;
ParagonOnline paragonOnline = {0, 0};

namespace {

constexpr int RIGHT_APPEND = 11421, RIGHT_MODIFY = 11422, RIGHT_DELETE = 11423, RIGHT_DISCOUNT = 11424, ID_END = 6;
constexpr int16_t RES_NET = 38, RES_NET_NUMBERED = 39, RES_GROSS = 40, RES_GROSS_NUMBERED = 41;
constexpr int FORM_LINES = 16;
constexpr int ESC_REPEATS = 10;
constexpr int MSG_TITLE = 223, MSG_ZERO_VALUE = 238, MSG_ZERO_PRICE = 239, MSG_NO_NAME = 240;
constexpr int KEY_ALT_I = 0x1700;
constexpr int FIRST_YEAR_OF_GROUPED = 2024;
constexpr int ENTRY_AT_CODE = 1;
constexpr int MARGIN_CODE = 14;
constexpr double MOST_DISCOUNT = 99.9;
constexpr int VALUE_TEXT = 11;   // characters of a value slot Alt+I reads

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }
DbField* H(const char* name) { return d4field(Z5PARA.table, name); }

// One run of the window.
struct kontekst_pozycji_paragonu {
  int okno_menu;
  ScrollColumn kolumny[7];
  TextCtrl panel[32];
  TextCtrl teksty[5];
  EditCtrl pola[32];
  char lp[4];
  char tekst_vat[21];
  char tekst_zrodla[10];
  char tekst_gtu[40];
  char numer_konta[9];
  // the position as it was before the change
  char stary_status;
  int stary_kod_vat;
  double stara_ilosc, stara_cena, stara_wartosc;
  char stary_kod[19];
  char stara_nazwa[41];
  int zmiana_wyslana;
};
kontekst_pozycji_paragonu* kontekst = nullptr;

DbField** Slot(const char* name) {
  DbField* field = P(name);
  for (DbField*& bound : Z5PARE.field)
    if (bound == field) return &bound;
  return nullptr;
}

bool Gross() { return trybWypelniania == 2; }
bool Margin() { return f4char(H("STA")) == 'T'; }
bool Accounts() { return parametryDetal.useAccounts == 'T'; }
bool GtuMarks() { return salesOptions.procedureMarks == 'T'; }

std::string Trimmed(DbField* field) {
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

template <size_t N>
void Copy(char (&buffer)[N], DbField* field) {
  std::string text = Trimmed(field);
  std::memset(buffer, 0, N);
  std::memcpy(buffer, text.data(), std::min(text.size(), N - 1));
}

// The list item's text after its "n. ", blank-padded to the buffer.
template <size_t N>
void ItemText(char (&buffer)[N], int code, const char* const* list) {
  std::memset(buffer, ' ', N - 1);
  buffer[N - 1] = '\0';
  const char* item = code > 0 ? KodAsPopupMenuString(code, list) : "";
  std::memcpy(buffer, item, std::min(std::strlen(item), N - 1));
}

const char* const* OriginList() {
  static std::string goods = Utf8ToMazText("1. TOWARY"), services = Utf8ToMazText("2. USŁUGI");
  static const char* const list[] = {"         ", goods.c_str(), services.c_str(), nullptr};
  return list;
}

// ---- online lines

bool Online() { return drukowanieFiskalne && paragonOnline.drukowany; }

// The position's line as the printer gets it; a void has a negative quantity.
int SendCurrent(int sign) {
  return linia_online(Trimmed(P("NA1")).c_str(), f4int(P("VAT")), sign * f4double(P("ILO")), f4double(P("CBR")),
                  f4double(P("WAB")));
}

// The customer display while the receipt does not print online.
void Display(int negate) {
  if (drukowanieFiskalne && !paragonOnline.drukowany && dfSesja) DFWyswietl(negate);
}

// Takes the quantity out of stock; true only when the goods record was
// written (the operator may go on past a failure, which takes nothing).
bool TakeStock(const char* code, const char* name, double quantity) {
  int written = 0;
  return aktualizuj_ilosc(code, name, quantity, 1, &written) == 0 && written == 1;
}
// Gives it back; false when the operator stopped at a failure.
bool GiveStockBack(const char* code, const char* name, double quantity) {
  return aktualizuj_ilosc(code, name, -quantity, 1) == 0;
}

// ---- hooks

// The position number "lp.", 3 characters.
void Number(char (&lp)[4], int n) {
  std::string text = std::to_string(std::clamp(n, 0, 999));
  std::snprintf(lp, sizeof lp, "%3s", text.c_str());
}

int CountPositions() {
  long rec = f4long(H("REC"));
  int count = 0;
  for (int rc = SeekParagonLinesByRek(rec); rc == 0 && !d4eof(Z5PARE.table) && f4long(P("REK")) == rec;
       rc = d4skip(Z5PARE.table, 1))
    count++;
  return count;
}

double RateOfCode(int code) { return stawka_kodu_paragonu(code); }

int nowa_pozycja_paragonu() {
  kontekst_pozycji_paragonu* c = kontekst;
  Number(c->lp, CountPositions() + 1);
  DbTable* positions = Z5PARE.table;
  d4blank(positions);
  d4changed(positions, 0);
  set_fun_help("F1", "Rezygnuj", 1);
  ToFieldCopyDouble(P("ILO"), 1);
  f4assign_char(P("BUT"), 'N');
  f4assign_char(P("AKC"), 'N');
  int gtu = salesOptions.list132 >= 1 && salesOptions.list132 <= GTU_NONE_ITEM ? salesOptions.list132 : GTU_NONE_ITEM;
  f4assign_int(P("RE2"), gtu);
  int code = Margin() ? MARGIN_CODE : salesOptions.usualVatCode;
  bool known = code == 2 || code == 8 || code == 9 || code == 12 || code == 3 || code == 4 || code == 5 ||
               code == 13 || code == MARGIN_CODE;
  if (!known) code = 1;
  f4assign_int(P("VAT"), code);
  ToFieldCopyDouble(P("VAS"), RateOfCode(code));
  f4assign_long(P("REK"), f4long(H("REC")));
  ToFieldCopyField(P("PRE"), H("PRE"));
  ToFieldCopyField(P("NRV"), H("NRV"));
  ToFieldCopyField(P("POS"), H("POS"));
  ToFieldCopyField(P("DAV"), H("DSP"));
  teksty_pozycji_paragonu();
  std::memset(stanKoduPozycji.ostatniKod, 0, sizeof stanKoduPozycji.ostatniKod);
  if (parametryDetal.entryStart == ENTRY_AT_CODE) PushKeyMessage(KEY_ENTER, 1);
  return 0;
}

int sprawdz_pozycje_paragonu() {
  if (f4int(P("RE2")) == GTU_NONE_ITEM) f4assign_int(P("RE2"), 0);
  if (f4double(P("WAB")) == 0) {
    Alarm(MSG_ZERO_VALUE);
    return -1;
  }
  if (f4double(P("CBR")) == 0) {
    Alarm(MSG_ZERO_PRICE);
    return -1;
  }
  return 0;
}

int po_dopisaniu_pozycji() {
  if (FieldIsEmpty(P("NA1"))) Uwaga(MSG_NO_NAME);
  if (Online())
    SendCurrent(1);
  else
    Display(0);
  f4assign_char(P("STA"), 'N');
  int result = 0;
  if (parametryDetal.updateStock == 'T' && f4int(P("ZRP")) == 1) {
    std::string code = Trimmed(P("KOT")), name = Trimmed(P("NA1"));
    if (TakeStock(code.c_str(), name.c_str(), f4double(P("ILO"))))
      f4assign_char(P("STA"), 'T');
    else
      result = -1;
    zamknij_okno_raportu(1);
  }
  // STA must reach the disk: a change and a delete give the stock back by it
  DbTable* positions = Z5PARE.table;
  if (d4write(positions, d4recno(positions)) != 0 || d4flush(positions) != 0) return -1;
  return result;
}

int przed_zmiana_pozycji() {
  kontekst_pozycji_paragonu* c = kontekst;
  long record = d4recno(Z5PARE.table);
  long rec = f4long(H("REC"));
  int place = 0;
  for (int rc = SeekParagonLinesByRek(rec); rc == 0 && !d4eof(Z5PARE.table) && f4long(P("REK")) == rec;
       rc = d4skip(Z5PARE.table, 1)) {
    place++;
    if (d4recno(Z5PARE.table) == record) break;
  }
  // back on the locked record, as read under the lock
  if (d4go(Z5PARE.table, record) != 0) return -1;
  Number(c->lp, place);
  teksty_pozycji_paragonu();
  Copy(c->stary_kod, P("KOT"));
  Copy(c->stara_nazwa, P("NA1"));
  Copy(stanKoduPozycji.ostatniKod, P("KOT"));
  c->stary_kod_vat = f4int(P("VAT"));
  c->stara_ilosc = f4double(P("ILO"));
  c->stara_cena = f4double(P("CBR"));
  c->stara_wartosc = f4double(P("WAB"));
  c->stary_status = static_cast<char>(f4char(P("STA")));
  return 0;
}

// The printer's line of the position is voided and sent again when anything
// it prints changed.
bool PrintedLineChanged(const kontekst_pozycji_paragonu* c) {
  return Trimmed(P("NA1")) != c->stara_nazwa || f4int(P("VAT")) != c->stary_kod_vat ||
         f4double(P("ILO")) != c->stara_ilosc || f4double(P("CBR")) != c->stara_cena ||
         f4double(P("WAB")) != c->stara_wartosc;
}

void ResendChanged(const kontekst_pozycji_paragonu* c) {
  if (!Online()) {
    Display(0);
    return;
  }
  if (!PrintedLineChanged(c)) return;
  if (linia_online(c->stara_nazwa, c->stary_kod_vat, -c->stara_ilosc, c->stara_cena, c->stara_wartosc) == 0)
    SendCurrent(1);
}

int po_zmianie_pozycji() {
  kontekst_pozycji_paragonu* c = kontekst;
  if (f4int(P("RE2")) == GTU_NONE_ITEM) f4assign_int(P("RE2"), 0);
  std::string code = Trimmed(P("KOT"));
  bool goods = f4int(P("ZRP")) == 1;
  bool stockUnchanged = code == c->stary_kod && f4double(P("ILO")) == c->stara_ilosc &&
                        c->stary_status == parametryDetal.updateStock;
  if (!stockUnchanged) {
    if (c->stary_status == 'T' && goods) {
      bool back = GiveStockBack(c->stary_kod, c->stara_nazwa, c->stara_ilosc);
      if (!back) {
        zamknij_okno_raportu(1);
        return -1;   // the old quantity is still out: the change is not stored
      }
    }
    char status = 'N';
    if (parametryDetal.updateStock == 'T' && goods &&
        TakeStock(code.c_str(), Trimmed(P("NA1")).c_str(), f4double(P("ILO"))))
      status = 'T';
    f4assign_char(P("STA"), status);
    zamknij_okno_raportu(1);
  }
  ResendChanged(c);
  return 0;
}

int przed_usunieciem_pozycji() {
  if (f4char(P("STA")) == 'T' && f4int(P("ZRP")) == 1) {
    std::string code = Trimmed(P("KOT")), name = Trimmed(P("NA1"));
    bool back = GiveStockBack(code.c_str(), name.c_str(), f4double(P("ILO")));
    zamknij_okno_raportu(1);
    if (!back) return -1;
  }
  // any position leaves the printer's receipt, not only stock-taken goods
  if (Online())
    SendCurrent(-1);
  else
    Display(1);
  return 0;
}

// ---- keys and choices of the form

int StandardKeys(int key) {
  hot_keys(key, 0, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, P("INF"));
  return 0;
}

int32_t Append(int32_t) { return browse_dopisz(0); }
int32_t Modify(int32_t) { return browse_modyfikuj(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }
int32_t End(int32_t) { return browse_zakoncz(); }

int LeaveEverything(int32_t, int32_t) {
  PushKeyMessage(KEY_ESC, ESC_REPEATS);
  return 0;
}

// The direction the cursor came from, to pass a skipped slot the same way.
int Onwards() {
  int last = EnvCurrent()->lastGetKey;
  return last == KEY_UP || last == KEY_SHIFT_TAB ? KEY_UP : KEY_DOWN;
}

// The scanner's start key in the quantity slot moves on to the code.
int QuantityKeys(Get4*, char*, int32_t) {
  Environment* env = EnvCurrent();
  char pause = env->noPauseKey;
  env->noPauseKey = 1;
  int key = g4char();
  env->noPauseKey = pause;
  return key == KEY_CTRL_B ? KEY_ENTER : key;
}

// Names, unit and classification are typed only for a position without a code.
int NameKeys(Get4*, char*, int32_t) {
  if (!FieldIsEmpty(P("KOT"))) return Onwards();
  return g4char();
}

// A catalogue position keeps its price unless option 21 allows a change.
int PriceKeys(Get4*, char*, int32_t) {
  if (!FieldIsEmpty(P("KOT")) && parametryDetal.priceChange == 'N') return KEY_F2;
  return g4char();
}

// Alt+I: the quantity from the value typed, by the discounted price.
int ValueKeys(Get4*, char* editBuffer, int32_t) {
  int key = g4char();
  if (key != KEY_ALT_I) return key;
  double price = f4double(P(Gross() ? "CBR" : "CNR"));
  if (price != 0) {
    std::string typed(editBuffer, strnlen(editBuffer, VALUE_TEXT));
    typed.erase(std::remove(typed.begin(), typed.end(), ' '), typed.end());
    std::replace(typed.begin(), typed.end(), ',', '.');
    ToFieldCopyDouble(P("ILO"), std::atof(typed.c_str()) / price);
    OdswiezGety();
  }
  return KEY_ENTER;
}

int VatKeys(Get4* get, char* editBuffer, int32_t) {
  int current = f4int(P("VAT"));
  int code = WorkingYear() < FIRST_YEAR_OF_GROUPED ? wybierz_stawke_vat(NAZWY_STAWEK_VAT, current, -1, -1, 1)
                                                   : wybierz_stawke_paragonu(current, 0);
  if (code <= 0) return KEY_UP;
  f4assign_int(P("VAT"), code);
  ToFieldCopyDouble(P("VAS"), RateOfCode(code));
  teksty_pozycji_paragonu();
  std::memcpy(editBuffer, get->data, static_cast<size_t>(get->dataWidth));
  OdswiezGety();
  return KEY_ENTER;
}

int GtuKeys(Get4* get, char* editBuffer, int32_t) {
  int gtu = f4int(P("RE2"));
  int item = get_menu_function(" WYBIERZ ", ListaOznaczenGtu(WorkingYear()), gtu == 0 ? GTU_NONE_ITEM : gtu, -1, -1);
  if (item <= 0) return KEY_UP;
  f4assign_int(P("RE2"), item);
  teksty_pozycji_paragonu();
  std::memcpy(editBuffer, get->data, static_cast<size_t>(get->dataWidth));
  OdswiezGety();
  return KEY_ENTER;
}

int AccountValid(Get4* get) { return valid_konto(get, P("KON"), nullptr, nullptr); }

// ---- definitions

void Columns(kontekst_pozycji_paragonu* c) {
  ResetScrollDefinition(c->kolumny, sizeof c->kolumny);
  DefineScrollColumn(Slot("KOT"), 0, "kod");
  if (GtuMarks()) {
    DefineScrollColumn(Slot("RE2"), SCROLL_FIXED_WIDTH, "OZ")->valueRoutine = [](ColumnValue* value) {
      int gtu = f4int(P("RE2"));
      value->type = 'C';
      value->length = 2;
      std::snprintf(value->text, sizeof value->text, gtu == 0 ? "  " : "%2i", gtu);
    };
  }
  DefineScrollColumn(Slot("NA1"), SCROLL_FIXED_WIDTH, "nazwa")->width = 27;
  DefineScrollColumn(Slot("WNE"), SCROLL_THOUSANDS, "netto");
  DefineScrollColumn(Slot("VAS"), 0, "VAT");
  DefineScrollColumn(Slot("WAB"), SCROLL_THOUSANDS, "brutto");
}

void PanelText(TextCtrl* entry, const char* text, size_t length) {
  int room = w4width() - entry->col;
  if (room > 0) w4num(entry->row, entry->col, text, std::min(static_cast<int>(length), room));
}
void AccountName(TextCtrl* entry) {
  DbField* name = Z5KONT.table ? d4field(Z5KONT.table, "NAZ") : nullptr;
  if (name) PanelText(entry, f4ptr(name), f4len(name));
}
void AccountNumber(TextCtrl* entry) {
  DbField* number = Z5KONT.table ? d4field(Z5KONT.table, "NUM") : nullptr;
  if (number) PanelText(entry, f4ptr(number), f4len(number));
}
// Quantity with 3 decimals in 11 columns, prices with 2 in 10.
void Amount(TextCtrl* entry, int width, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%*.*f", width, decimals, f4double(*entry->field));
  PanelText(entry, text, std::strlen(text));
}
void Quantity(TextCtrl* entry) { Amount(entry, 11, 3); }
void Price(TextCtrl* entry) { Amount(entry, 10, 2); }
void VatText(TextCtrl* entry) {
  char text[21];
  ItemText(text, f4int(P("VAT")), NAZWY_STAWEK_VAT);
  PanelText(entry, text, sizeof text - 1);
}
void GtuText(TextCtrl* entry) {
  char text[40];
  int gtu = f4int(P("RE2"));
  ItemText(text, gtu == 0 ? GTU_NONE_ITEM : gtu, ListaOznaczenGtu(WorkingYear()));
  PanelText(entry, text, sizeof text - 1);
}

// The record panel: the form's fields as they are stored.
void Panel(kontekst_pozycji_paragonu* c) {
  bool gross = Gross();
  ResetTextCtrlDefinition(c->panel, sizeof c->panel);
  DefineTextCtrl(0, 16, Slot("ILO"), 0)->drawRoutine = Quantity;
  DefineTextCtrl(0, 41, Slot("ZRP"), 0)->codeTexts = OriginList();
  DefineTextCtrl(1, 15, Slot("KOT"), 0);
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};
  for (int i = 0; i < 6; i++) DefineTextCtrl(2 + i, 15, Slot(NAMES[i]), 0);
  DefineTextCtrl(8, 15, Slot("JED"), 0);
  DefineTextCtrl(9, 15, Slot("KWU"), 0);
  if (Accounts()) {
    DefineTextCtrl(8, 55, Slot("KON"), 0)->drawRoutine = AccountNumber;
    DefineTextCtrl(9, 41, Slot("KON"), 0)->drawRoutine = AccountName;
  }
  DefineTextCtrl(12, 16, Slot(gross ? "CBB" : "CNB"), 0)->drawRoutine = Price;
  DefineTextCtrl(12, 31, Slot("RAS"), 0);
  DefineTextCtrl(12, 54, Slot("VAT"), 0)->drawRoutine = VatText;
  DefineTextCtrl(12, 74, Slot("VAS"), 0);
  DefineTextCtrl(13, 16, Slot(gross ? "CBR" : "CNR"), 0)->drawRoutine = Price;
  DefineTextCtrl(13, 55, Slot("WAV"), TEXT_THOUSANDS);
  DefineTextCtrl(14, 15, Slot(gross ? "WAB" : "WNE"), TEXT_THOUSANDS);
  DefineTextCtrl(14, 55, Slot(gross ? "WNE" : "WAB"), TEXT_THOUSANDS);
  if (GtuMarks()) DefineTextCtrl(15, 5, Slot("RE2"), 0)->drawRoutine = GtuText;
}

EditCtrl* FieldEdit(int row, int col, const char* name, GetValidator validator = nullptr,
                    GetKeyRoutine keys = nullptr) {
  EditCtrl* e = DefineEditCtrl(row, col, Slot(name), EDIT_DATE);
  if (!e) return e;
  e->validator = validator;
  e->keyRoutine = keys;
  return e;
}
EditCtrl* TextEdit(int row, int col, char* text, GetKeyRoutine keys = nullptr) {
  EditCtrl* e = DefineEditCtrl(row, col, text, EDIT_TEXT | EDIT_DIRECT);
  if (!e) return e;
  e->keyRoutine = keys;
  if (!keys) e->flags |= EDIT_DISABLED;
  return e;
}

void Form(kontekst_pozycji_paragonu* c) {
  bool gross = Gross();
  ResetTextCtrlDefinition(c->teksty, sizeof c->teksty);
  if (Accounts()) DefineTextCtrl(9, 41, Slot("KON"), 0)->drawRoutine = AccountName;
  else DefineTextCtrl(0, 0, Slot("KON"), TEXT_HIDDEN);
  // a margin receipt shows its rate without a slot to choose it
  if (Margin()) DefineTextCtrl(12, 54, Slot("VAT"), 0)->drawRoutine = VatText;
  ResetEditCtrlDefinition(c->pola, sizeof c->pola);
  EditCtrl* quantity = FieldEdit(0, 16, "ILO", ilosc_pozycji, QuantityKeys);
  quantity->picture = "9999999.999";
  TextEdit(0, 41, c->tekst_zrodla);
  TextEdit(0, 75, c->lp);
  EditCtrl* code = FieldEdit(1, 15, "KOT", sprawdz_kod_pozycji, klawisz_kodu_pozycji);
  code->flags |= EDIT_UPPER;
  code->routineData = gross ? KOD_PARAGONU_BRUTTO : KOD_PARAGONU_NETTO;
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};
  for (int i = 0; i < 6; i++) FieldEdit(2 + i, 15, NAMES[i], nullptr, NameKeys);
  FieldEdit(8, 15, "JED", nullptr, NameKeys);
  FieldEdit(9, 15, "KWU", nullptr, NameKeys);
  if (Accounts()) {
    EditCtrl* account = TextEdit(8, 55, c->numer_konta, konto_f4_lista);
    account->picture = "999-9999";
    account->validator = AccountValid;
  }
  FieldEdit(12, 16, gross ? "CBB" : "CNB", cena_pozycji, PriceKeys)->picture = "9999999.99";
  FieldEdit(12, 31, "RAS", rabat_ceny_pozycji);
  FieldEdit(13, 16, gross ? "CBR" : "CNR", cena_po_rabacie)->picture = "9999999.99";
  FieldEdit(14, 15, gross ? "WAB" : "WNE", wartosc_pozycji, ValueKeys);
  if (!Margin()) TextEdit(12, 54, c->tekst_vat, VatKeys)->validator = kod_vat_pozycji;
  FieldEdit(12, 74, "VAS")->flags |= EDIT_DISABLED;
  FieldEdit(13, 55, "WAV", wartosc_vat_pozycji);
  FieldEdit(14, 55, gross ? "WNE" : "WAB");
  if (GtuMarks()) TextEdit(15, 5, c->tekst_gtu, GtuKeys);
}

// Without accounts the account label is blanked.
void AfterDraw() {
  if (Accounts() || !CurrentBrowse) return;
  for (int window : {CurrentBrowse->record_window, CurrentBrowse->edit_window}) {
    if (window < 0) continue;
    int previous = w4select(window);
    w4repeat(8, 41, ' ', 14);
    w4select(previous);
  }
}

int16_t PanelResource() { return Gross() ? RES_GROSS : RES_NET; }
int16_t FormResource() { return Gross() ? RES_GROSS_NUMBERED : RES_NET_NUMBERED; }

int definiuj_pozycje_paragonu(kontekst_pozycji_paragonu* c, int viewOnly) {
  int window = DefineMainMenuWindow();
  if (window < 0) return -1;
  c->okno_menu = window;
  // the menu keeps the texts' addresses
  static const std::string end = Utf8ToMazText(" Zakończ "), remove = Utf8ToMazText(" Usuń ");
  if (viewOnly) {
    MenuDefineItem(end.c_str(), ID_END, 'z', 0, End, nullptr);
  } else {
    MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 0, Append, nullptr);
    MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, Modify, nullptr);
    MenuDefineItem(remove.c_str(), RIGHT_DELETE, 'u', 0, Delete, nullptr);
    MenuDefineItem(" Rabat ", RIGHT_DISCOUNT, 'r', 0, rabat_pozycji, nullptr);
  }
  Columns(c);
  Panel(c);
  Form(c);
  return 0;
}

}  // namespace

double stawka_kodu_paragonu(int code) {
  switch (code) {
    case 1: return currentVatRates[VAT_BASIC];
    case 2: return currentVatRates[VAT_REDUCED_1];
    case 8: return currentVatRates[VAT_REDUCED_2];
    case 9: return currentVatRates[VAT_RR_REFUND];
    case 12: return mainOptions.taxiLumpSum;
    default: return 0;
  }
}

int linia_online(const char* name, int vatCode, double quantity, double price, double value) {
  if (!paragonOnline.otwarty) return -1;
  int rc = DFLinia(name, vatCode, quantity, price, value);
  if (rc != 0) anuluj_paragon_online();
  return rc;
}

void anuluj_paragon_online() {
  if (!paragonOnline.otwarty) return;
  paragonOnline.otwarty = 0;
  DFAnuluj();
}

void teksty_pozycji_paragonu() {
  kontekst_pozycji_paragonu* c = kontekst;
  if (!c) return;
  ItemText(c->tekst_vat, f4int(P("VAT")), NAZWY_STAWEK_VAT);
  ItemText(c->tekst_zrodla, f4int(P("ZRP")), OriginList());
  int gtu = f4int(P("RE2"));
  ItemText(c->tekst_gtu, gtu == 0 ? GTU_NONE_ITEM : gtu, ListaOznaczenGtu(WorkingYear()));
  std::memset(c->numer_konta, 0, sizeof c->numer_konta);
  if (Z5KONT.table) numer_konta_wg_rec(c->numer_konta, sizeof c->numer_konta, P("KON"));
}

int wybierz_stawke_paragonu(int current, int withMargin) {
  static const char* const ITEMS[] = {"                 ", "1. PODSTAWOWA    ", "2. OBNI\xA1ONA 1    ",
                                      "3. OBNI\xA1ONA 2    ", "4. ZEROWA        ", "5. ZWOLNIONA     ",
                                      "6. ZWROT rolnikom", "7. ZEROWA (mar\xA7" "a)", nullptr};
  static const char* const SHORT_ITEMS[] = {ITEMS[0], ITEMS[1], ITEMS[2], ITEMS[3], ITEMS[4], ITEMS[5], ITEMS[6],
                                            nullptr};
  static const int CODES[] = {0, 1, 2, 8, 3, 4, 9, 14};
  int start = 1;
  for (int item = 1; item <= 7; item++)
    if (CODES[item] == current && (item < 7 || withMargin)) start = item;
  int item = get_menu_function(Utf8ToMazText("Wybierz stawkę VAT").c_str(), withMargin ? ITEMS : SHORT_ITEMS, start,
                               -1, -1);
  return item >= 1 && item <= 7 ? CODES[item] : -1;
}

int konto_pozycji(intptr_t) {
  if (!Z5KONT.table) return X4_ACCEPT;
  int rc = SeekKontoByRec(f4long(P("KON")));
  if (rc < 0) return -1;
  if (rc != 0) {
    EmptyRecord(Z5KONT.table);
    d4changed(Z5KONT.table, 0);
  }
  return X4_ACCEPT;
}

int rabat_pozycji(int) {
  double raise = 0;
  if (PodajRabat(&raise) != 0) return 0;
  DbTable* positions = Z5PARE.table;
  long rec = f4long(H("REC"));
  int rc = SeekParagonLinesByRek(rec);
  int result = rc < 0 ? -1 : 0;
  for (; rc == 0 && !d4eof(positions) && f4long(P("REK")) == rec; rc = d4skip(positions, 1)) {
    if (f4char(P("ODC")) == 'T') continue;
    kontekst_pozycji_paragonu before{};
    Copy(before.stara_nazwa, P("NA1"));
    before.stary_kod_vat = f4int(P("VAT"));
    before.stara_ilosc = f4double(P("ILO"));
    before.stara_cena = f4double(P("CBR"));
    before.stara_wartosc = f4double(P("WAB"));
    // RAS holds one decimal below 100
    double discount = std::clamp(f4double(P("RAS")) + raise, 0.0, MOST_DISCOUNT);
    ToFieldCopyDouble(P("RAS"), discount);
    if (Gross())
      licz_od_ceny_brutto();
    else
      licz_od_ceny_netto();
    if (d4write(positions, d4recno(positions)) != 0 || d4flush(positions) != 0) {
      result = -1;
      break;
    }
    if (Online()) ResendChanged(&before);
  }
  if (rc < 0) result = -1;
  if (CurrentBrowse) browse_call(0, 0);
  return result;
}

int pozycje_paragonu(int view, int fillMode, int viewOnly) {
  int previous = w4select(-1);
  auto* c = static_cast<kontekst_pozycji_paragonu*>(take_mem(sizeof(kontekst_pozycji_paragonu)));
  if (!c) return -1;
  c->okno_menu = -1;
  kontekst_pozycji_paragonu* outer = kontekst;
  int outerFill = trybWypelniania, outerFiscal = drukowanieFiskalne;
  kontekst = c;
  trybWypelniania = fillMode == 2 ? 2 : 1;
  drukowanieFiskalne = view == 0 ? 1 : 0;
  int result = definiuj_pozycje_paragonu(c, viewOnly);
  BrowseContext* browse = nullptr;
  if (result == 0) result = allocate_browse(&browse, Z5PARE.table, Z5PARE.tag[3], c->kolumny, c->okno_menu);
  if (result == 0 && browse) {
    browse->top_fn = dynfiltr_top;
    browse->bottom_fn = dynfiltr_bottom;
    browse->skip_fn = dynfiltr_skip;
    browse->limit_field = P("REK");
    browse->limit_value = f4long(H("REC"));
    browse->filter_fn = konto_pozycji;
    browse->before_new = nowa_pozycja_paragonu;
    browse->on_validate = sprawdz_pozycje_paragonu;
    browse->after_append = po_dopisaniu_pozycji;
    browse->modify_hooks[MODIFY_BEFORE] = przed_zmiana_pozycji;
    browse->modify_hooks[MODIFY_AFTER] = po_zmianie_pozycji;
    browse->before_delete = przed_usunieciem_pozycji;
    browse->pre_key_hook = StandardKeys;
    browse->stamp_field = P("INF");
    browse->record_lines_source = PanelResource;
    browse->edit_lines_source = FormResource;
    browse->record_texts = c->panel;
    browse->record_lines_count = FORM_LINES;
    browse->edit_texts = c->teksty;
    browse->append_edits = c->pola;
    browse->edit_lines_count = FORM_LINES;
    browse->after_show_record = AfterDraw;
    browse->after_show_edit = AfterDraw;
    static std::string title;
    title = RcQStr(MSG_TITLE);
    std::string number = std::to_string(f4long(H("NRV")));
    std::string date = FldDateQStr(H("DSP"));
    char text[128];
    std::snprintf(text, sizeof text, title.c_str(), number.c_str(), date.c_str());
    title = text;
    browse->title = TextRef(title.c_str());
    auto* const outerF1 = EnvCurrent()->hotKeys[KEY_F1 >> 8].routine;
    g4set_key_to(KEY_F1, LeaveEverything);
    result = zrob_browse(FORM_LINES, FORM_LINES, 0);
    g4set_key_to(KEY_F1, outerF1);
    free_browse(&browse);
  } else {
    result = -1;
  }
  if (c->okno_menu >= 0) w4close(c->okno_menu);
  kontekst = outer;
  trybWypelniania = outerFill;
  drukowanieFiskalne = outerFiscal;
  free_mem(&c);
  ClearKeyMessages();
  clr_key_buf();
  w4select(previous);
  return result;
}

}  // namespace retail
