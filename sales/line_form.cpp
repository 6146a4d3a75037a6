#include "sales/line_form.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "app/vat_summary.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "sales/document_lines.h"
#include "sales/line_code.h"
#include "sales/line_fields.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_OF_DELIVERY_TYPES = 2024;

DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }
bool From2024() { return WorkingYear() >= FIRST_YEAR_OF_DELIVERY_TYPES; }
bool OssLine() { return Digit(Line("STM")) == 4; }

// The list item's text after its "n. ", blank-padded to `width` characters
// (the form's room for it).
template <size_t N>
void Text(char (&buffer)[N], int code, const char* const* list, size_t width = N - 1) {
  width = std::min(width, N - 1);
  std::memset(buffer, ' ', width);
  buffer[width] = '\0';
  const char* item = KodAsPopupMenuString(code, list);
  std::memcpy(buffer, item, std::min(std::strlen(item), width));
}

// Room of the texts on the full form.
constexpr size_t VAT_ROOM = 19, CORRECTED_VAT_ROOM = 14, CATALOGUE_ROOM = 8, REVERSE_ROOM = 25, DELIVERY_ROOM = 30, ACCOUNT_ROOM = 8;

const char* const* OssList() {
  static const char* const* list = CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1", "3. OBNIŻONA 2", "4. SUPER OBNIŻONA"});
  return list;
}
const char* const* CatalogueList() {
  static const char* const* list = CodeList({"1. TOWARY", "2. USŁUGI"});
  return list;
}
const char* const* GoodsOrServiceList() {
  static const char* const* list = CodeList({"1. TOWAR", "2. USŁUGA"});
  return list;
}
const char* const* ReverseChargeList() {
  static const char* const* list = CodeList({"1. NIE", "2. TAK art.17 ust.1 pkt 7", "3. TAK art.17 ust.1 pkt 8"});
  return list;
}
int ReverseChargeItem(char mark) { return mark == 'T' ? 2 : mark == '8' ? 3 : 1; }

}  // namespace

void etykiety_tekstow_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  if (!c) return;
  int year = WorkingYear();
  const char* const* rates = OssLine() ? OssList() : NAZWY_STAWEK_VAT;
  Text(c->tekst_vat, f4int(Line("VAT")), rates, VAT_ROOM);
  Text(c->tekst_vat_korekty, f4int(Line("KVAT")), rates, CORRECTED_VAT_ROOM);
  Text(c->tekst_typu, Digit(Line("TYP")), ListaTypuPrzychodu());
  Text(c->tekst_ryczaltu, f4int(Line("RYT")), ListaStawekRyczaltu(year));
  Text(c->tekst_kartoteki, Digit(Line("ZRP")), CatalogueList(), CATALOGUE_ROOM);
  Text(c->tekst_odwrotnego, ReverseChargeItem(static_cast<char>(f4char(Line("RE3")))), ReverseChargeList(),
       REVERSE_ROOM);
  Text(c->tekst_odwrotnego_korekty, ReverseChargeItem(static_cast<char>(f4char(Line("RE4")))), ReverseChargeList(),
       REVERSE_ROOM);
  Text(c->tekst_dostawy, Digit(Line("STM")), DeliveryList(From2024()), DELIVERY_ROOM);
  Text(c->tekst_towaru, Digit(Line("AKC")), GoodsOrServiceList());
  // the account number as its picture "999-9999" edits it
  std::memset(c->tekst_konta, 0, sizeof c->tekst_konta);
  if (Z5KONT.table) numer_konta_wg_rec(c->tekst_konta, sizeof c->tekst_konta, Line("KON"));
  size_t number = std::strlen(c->tekst_konta);
  if (number < ACCOUNT_ROOM) std::memset(c->tekst_konta + number, ' ', ACCOUNT_ROOM - number);
  int gtu = f4int(Line("RE5"));
  Text(c->tekst_gtu, gtu == 0 ? GTU_NONE_ITEM : gtu, ListaOznaczenGtu(year));
}

namespace {

constexpr int KEY_F4 = 0x3E00, KEY_F6 = 0x4000, KEY_ALT_I = 0x1700;
constexpr int FIRST_YEAR_WITHOUT_REVERSE_CHARGE = 2020;
constexpr int FIRST_YEAR_OF_GROUPED = 2024;
constexpr int VALUE_TEXT = 11;   // characters of a value field Alt+I reads

// The names-opened flag: F6 in the quantity field opens the name lines.
int namesOpened = 0;

enum Choice { CHOICE_AKC, CHOICE_GTU, CHOICE_RE3, CHOICE_RE4, CHOICE_VAT, CHOICE_KVAT, CHOICE_TYP, CHOICE_RYT };

bool GrossEntry() { return kontekstPozycji && kontekstPozycji->cena == 2; }

DbField** Slot(const char* name) { return pole_pozycji(name); }

int Menu(const char* const* list, int start) { return get_menu_function(" WYBIERZ ", list, start, -1, -1); }

// The direction the cursor came from, to pass a skipped field the same way.
int Onwards() {
  int last = EnvCurrent()->lastGetKey;
  return last == KEY_UP || last == KEY_SHIFT_TAB ? KEY_UP : KEY_DOWN;
}

int NameKeys(Get4*, char*, int32_t) {
  if (!wartosciPozycji.pustyKod && !namesOpened && !FieldIsEmpty(Line("KOT"))) return Onwards();
  return g4char();
}

// Leaving the last of the opened name fields closes them again.
int NamesLeft(Get4*) {
  namesOpened = 0;
  return 0;
}

int QuantityKeys(Get4*, char*, int32_t) {
  bool coded = !FieldIsEmpty(Line("KOT"));
  if (coded) set_fun_help("F6", Digit(Line("ZRP")) == 2 ? Sys("Modyfikuj usługę") : "Modyfikuj towar", 6);
  int key = g4char();
  if (key == KEY_F6 && coded) {
    namesOpened = 1;
    key = KEY_CTRL_UP;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F6");
  return key;
}

// Alt+I: the quantity from the value typed, by the price after discount.
int ValueKeys(Get4*, char* editBuffer, int32_t) {
  int key = g4char();
  if (key != KEY_ALT_I) return key;
  double price = f4double(Line(GrossEntry() ? "CBR" : "CNR"));
  if (price != 0) {
    std::string typed(editBuffer, strnlen(editBuffer, VALUE_TEXT));
    typed.erase(std::remove(typed.begin(), typed.end(), ' '), typed.end());
    std::replace(typed.begin(), typed.end(), ',', '.');
    ToFieldCopyDouble(Line("ILO"), std::atof(typed.c_str()) / price);
    OdswiezGety();
  }
  return KEY_ENTER;
}

// The VAT code of the line (or of the correction): 6 under reverse charge,
// the OSS index, or the rate menu of the year. false on Esc.
bool ChooseVat(bool corrected) {
  const char* codeName = corrected ? "KVAT" : "VAT";
  const char* rateName = corrected ? "KVAS" : "VAS";
  int code = f4int(Line(codeName));
  if (OssLine()) {
    int rates = kontekstPozycji ? kontekstPozycji->stawki_oss : 0;
    int index = 1;
    if (rates >= 2) {
      static const char* const* lists[3] = {
          CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1"}),
          CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1", "3. OBNIŻONA 2"}),
          CodeList({"1. PODSTAWOWA", "2. OBNIŻONA 1", "3. OBNIŻONA 2", "4. SUPER OBNIŻONA"})};
      index = Menu(lists[std::min(rates, 4) - 2], code);
      if (index <= 0) return false;
    }
    f4assign_int(Line(codeName), index);
    std::string country(f4ptr(d4field(Z5SPRZ.table, "KRA")), f4len(d4field(Z5SPRZ.table, "KRA")));
    country.erase(country.find_last_not_of(' ') + 1);
    ToFieldCopyDouble(Line(rateName), stawka_oss(country.c_str(), index));
  } else {
    char reverse = static_cast<char>(f4char(Line(corrected ? "RE4" : "RE3")));
    if (reverse == 'T' || reverse == '8') {
      code = 6;
    } else if (WorkingYear() < FIRST_YEAR_OF_GROUPED) {
      int kind = salesContext && salesContext->rejestr == 2 ? 0 : 1;
      code = wybierz_stawke_vat(NAZWY_STAWEK_VAT, code, -1, -1, kind);
    } else {
      code = wybierz_kod_stawki_vat(code, kontekstPozycji && kontekstPozycji->rodzaj == 5);
    }
    if (code < 0) return false;
    f4assign_int(Line(codeName), code);
    ToFieldCopyDouble(Line(rateName), wartosc_stawki_vat(Line(codeName)));
  }
  if (!corrected) wartosciPozycji.zapamietanyKodVat = f4int(Line(codeName));
  return true;
}

// Reverse charge before 2020: 'T' or '8' make the code 6, "NIE" brings the
// remembered code back.
bool ChooseReverse(bool corrected) {
  DbField* mark = Line(corrected ? "RE4" : "RE3");
  int item = Menu(ReverseChargeList(), ReverseChargeItem(static_cast<char>(f4char(mark))));
  if (item <= 0) return false;
  f4assign_char(mark, item == 2 ? 'T' : item == 3 ? '8' : 'N');
  int code = item == 1 ? (corrected ? f4int(Line("VAT")) : wartosciPozycji.zapamietanyKodVat) : 6;
  f4assign_int(Line(corrected ? "KVAT" : "VAT"), code);
  ToFieldCopyDouble(Line(corrected ? "KVAS" : "VAS"), wartosc_stawki_vat(Line(corrected ? "KVAT" : "VAT")));
  return true;
}

// Entering a choice field opens its menu; a choice is stored and the cursor
// goes on, Esc moves it up.
int ChoiceKeys(Get4* get, char* editBuffer, int32_t which) {
  int year = WorkingYear();
  bool chosen = false;
  int item = -1;
  switch (which) {
    case CHOICE_AKC:
      if ((chosen = (item = Menu(GoodsOrServiceList(), std::max(Digit(Line("AKC")), 1))) > 0))
        f4assign_char(Line("AKC"), '0' + item);
      break;
    case CHOICE_GTU: {
      if (OssLine()) return Onwards();
      int gtu = f4int(Line("RE5"));
      if ((chosen = (item = Menu(ListaOznaczenGtu(year), gtu == 0 ? GTU_NONE_ITEM : gtu)) > 0))
        f4assign_int(Line("RE5"), item);
      break;
    }
    case CHOICE_RE3: chosen = ChooseReverse(false); break;
    case CHOICE_RE4: chosen = ChooseReverse(true); break;
    case CHOICE_VAT:
      if (!ChooseVat(false)) return KEY_UP;
      chosen = true;
      break;
    case CHOICE_KVAT:
      if (!ChooseVat(true)) return KEY_UP;
      chosen = true;
      break;
    case CHOICE_TYP:
      if ((chosen = (item = Menu(ListaTypuPrzychodu(), Digit(Line("TYP")))) > 0)) f4assign_int(Line("TYP"), item);
      break;
    case CHOICE_RYT:
      if ((chosen = (item = Menu(ListaStawekRyczaltu(year), f4int(Line("RYT")))) > 0)) {
        f4assign_int(Line("RYT"), item);
        ToFieldCopyDouble(Line("RYS"), StawkaRyczaltu(item));
      }
      break;
    default: break;
  }
  if (!chosen) return KEY_UP;
  etykiety_tekstow_pozycji();
  // the text shown goes back from the edit buffer when the cursor leaves
  std::memcpy(editBuffer, get->data, static_cast<size_t>(get->dataWidth));
  OdswiezGety();
  return KEY_ENTER;
}

// F4 "Zmień" on the delivery field (main register from 2024).
int DeliveryKeys(Get4* get, char* editBuffer, int32_t) {
  set_fun_help("F4", Sys("Zmień"), 4);
  int key = g4char();
  if (key == KEY_F4) {
    zmien_dostawe_pozycji();
    std::memcpy(editBuffer, get->data, static_cast<size_t>(get->dataWidth));
    OdswiezGety();
    key = -1;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int AccountValid(Get4* get) { return valid_konto(get, Line("KON"), nullptr, nullptr); }

EditCtrl* FieldEdit(int row, int col, const char* name, GetValidator validator = nullptr) {
  EditCtrl* e = DefineEditCtrl(row, col, Slot(name), EDIT_DATE);
  if (e) e->validator = validator;
  return e;
}
EditCtrl* TextEdit(int row, int col, char* text, GetKeyRoutine keys = nullptr, int32_t data = 0) {
  EditCtrl* e = DefineEditCtrl(row, col, text, EDIT_TEXT | EDIT_DIRECT);
  if (!e) return e;
  e->keyRoutine = keys;
  e->routineData = data;
  if (!keys) e->flags |= EDIT_DISABLED;
  return e;
}

// The income column or lump-sum rate on `row`, the account under it.
void BooksAndAccount(kontekst_pozycji* c, int row) {
  if (salesOptions.taxation == 1)
    TextEdit(row, 21, c->tekst_typu, ChoiceKeys, CHOICE_TYP);
  else
    TextEdit(row, 21, c->tekst_ryczaltu, ChoiceKeys, CHOICE_RYT);
  if (salesOptions.useAccounts != 'T') return;
  EditCtrl* account = TextEdit(row + 1, 22, c->tekst_konta, konto_f4_lista);
  account->picture = "999-9999";
  account->validator = AccountValid;
}

struct Handlers {
  GetValidator price, value, vat, vatValue, correctionPrice, correctionValue, correctionVat, correctionVatValue;
};

Handlers ChainHandlers(bool gross) {
  if (gross)
    return {przelicz_od_ceny_brutto, przelicz_od_brutto, przelicz_od_brutto, vat_brutto_pozycji,
            przelicz_korekte_od_ceny_brutto, przelicz_korekte_od_brutto, przelicz_korekte_od_brutto,
            netto_korekty_z_brutto};
  return {przelicz_od_ceny_netto, przelicz_vat_od_netto, przelicz_vat_od_netto, przelicz_brutto_pozycji,
          przelicz_korekte_od_ceny_netto, przelicz_vat_korekty_od_netto, przelicz_vat_korekty_od_netto,
          przelicz_brutto_korekty};
}

bool DeliverySwitchable() {
  int delivery = Digit(d4field(Z5SPRZ.table, "STM"));
  return WorkingYear() >= FIRST_YEAR_OF_GROUPED && (!salesContext || salesContext->rejestr == 1) &&
         (delivery == 1 || delivery == 6 || delivery == 2 || delivery == 5);
}

void FullForm(kontekst_pozycji* c) {
  bool gross = c->cena == 2;
  bool oss = Digit(d4field(Z5SPRZ.table, "STM")) == 4;
  bool reverseCharge = WorkingYear() < FIRST_YEAR_WITHOUT_REVERSE_CHARGE;
  Handlers h = ChainHandlers(gross);
  ResetTextCtrlDefinition(c->teksty, sizeof c->teksty);
  DefineTextCtrl(0, 0, Slot("KOT"), TEXT_HIDDEN);
  ResetEditCtrlDefinition(c->pola, sizeof c->pola);
  EditCtrl* code = FieldEdit(0, 16, "KOT", waliduj_kod_pozycji);
  code->flags |= EDIT_UPPER;
  code->keyRoutine = pole_towar_usluga;
  code->routineData = gross ? POLE_POZYCJI_BRUTTO : POLE_POZYCJI_NETTO;
  if (oss)
    TextEdit(0, 70, c->tekst_towaru, ChoiceKeys, CHOICE_AKC);
  else
    TextEdit(0, 70, c->tekst_kartoteki);
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};
  for (int i = 0; i < 6; i++) {
    EditCtrl* name = FieldEdit(1 + i, 16, NAMES[i]);
    name->keyRoutine = NameKeys;
    if (i == 0) name->flags |= EDIT_GROUP;
  }
  FieldEdit(7, 22, "JED")->keyRoutine = NameKeys;
  EditCtrl* last = FieldEdit(8, 22, "KWU", NamesLeft);
  last->keyRoutine = NameKeys;
  if (salesOptions.procedureMarks == 'T') TextEdit(9, 5, c->tekst_gtu, ChoiceKeys, CHOICE_GTU);
  FieldEdit(10, 24, "ILO", waliduj_ilosc)->keyRoutine = QuantityKeys;
  FieldEdit(11, 23, gross ? "CBB" : "CNB", h.price);
  FieldEdit(12, 30, "RAS", h.price);
  FieldEdit(13, 23, gross ? "CBR" : "CNR", gross ? ustaw_wartosc_z_ceny_brutto : ustaw_wartosc_z_ceny_netto);
  FieldEdit(14, 22, gross ? "WAB" : "WNE", h.value)->keyRoutine = ValueKeys;
  if (c->wartosc_zakupu) FieldEdit(15, 22, "ZFM", przelicz_marze);
  if (reverseCharge) TextEdit(16, 29, c->tekst_odwrotnego, ChoiceKeys, CHOICE_RE3);
  TextEdit(17, 21, c->tekst_vat, ChoiceKeys, CHOICE_VAT)->validator = h.vat;
  FieldEdit(17, 41, "VAS")->flags |= EDIT_DISABLED;
  FieldEdit(18, 22, "WAV", h.vatValue);
  FieldEdit(19, 22, gross ? "WNE" : "WAB")->flags |= EDIT_DISABLED;
  if (c->korekta) {
    FieldEdit(10, 57, "KILO", waliduj_ilosc_korekty);
    FieldEdit(11, 57, gross ? "KCBB" : "KCNB", h.correctionPrice);
    FieldEdit(12, 64, "KRAS", h.correctionPrice);
    FieldEdit(13, 57, gross ? "KCBR" : "KCNR", h.correctionPrice);
    FieldEdit(14, 56, gross ? "KWAB" : "KWNE", h.correctionValue)->keyRoutine = ValueKeys;
    if (c->wartosc_zakupu) FieldEdit(15, 56, "RE2", netto_korekty_z_brutto);
    if (reverseCharge) TextEdit(16, 60, c->tekst_odwrotnego_korekty, ChoiceKeys, CHOICE_RE4);
    TextEdit(17, 55, c->tekst_vat_korekty, ChoiceKeys, CHOICE_KVAT)->validator = h.correctionVat;
    FieldEdit(17, 70, "KVAS")->flags |= EDIT_DISABLED;
    FieldEdit(18, 56, "KWAV", h.correctionVatValue);
    FieldEdit(19, 56, gross ? "KWNE" : "KWAB")->flags |= EDIT_DISABLED;
  }
  BooksAndAccount(c, 20);
  TextEdit(22, 8, c->tekst_dostawy, DeliverySwitchable() ? DeliveryKeys : nullptr);
  FieldEdit(22, 61, "CSS")->keyRoutine = wybierz_tak_nie;
  FieldEdit(22, 73, "WAL")->flags |= EDIT_DISABLED;
}

void CompactForm(kontekst_pozycji* c) {
  bool gross = c->cena == 2;
  bool reverseCharge = WorkingYear() < FIRST_YEAR_WITHOUT_REVERSE_CHARGE;
  Handlers h = ChainHandlers(gross);
  ResetTextCtrlDefinition(c->teksty_skrocone, sizeof c->teksty_skrocone);
  DefineTextCtrl(0, 0, Slot("WAL"), TEXT_HIDDEN);
  ResetEditCtrlDefinition(c->pola_skrocone, sizeof c->pola_skrocone);
  FieldEdit(1, 22, gross ? "WAB" : "WNE", gross ? wartosc_brutto_skrocona : wartosc_netto_skrocona)->keyRoutine =
      ValueKeys;
  if (c->wartosc_zakupu) FieldEdit(2, 22, "ZFM", przelicz_marze);
  if (reverseCharge) TextEdit(3, 31, c->tekst_odwrotnego, ChoiceKeys, CHOICE_RE3);
  TextEdit(4, 21, c->tekst_vat, ChoiceKeys, CHOICE_VAT)->validator = h.vat;
  FieldEdit(4, 41, "VAS", h.vat);
  FieldEdit(5, 22, "WAV", h.vatValue);
  FieldEdit(6, 22, gross ? "WNE" : "WAB")->flags |= EDIT_DISABLED;
  if (c->korekta) {
    FieldEdit(1, 56, gross ? "KWAB" : "KWNE", gross ? korekta_brutto_skrocona : korekta_netto_skrocona)
        ->keyRoutine = ValueKeys;
    if (c->wartosc_zakupu) FieldEdit(2, 56, "RE2", wartosc_zakupu_korekty);
    if (reverseCharge) TextEdit(3, 60, c->tekst_odwrotnego_korekty, ChoiceKeys, CHOICE_RE4);
    TextEdit(4, 55, c->tekst_vat_korekty, ChoiceKeys, CHOICE_KVAT)->validator = h.correctionVat;
    FieldEdit(4, 70, "KVAS", h.correctionVat);
    FieldEdit(5, 56, "KWAV", h.correctionVatValue);
    FieldEdit(6, 56, gross ? "KWNE" : "KWAB")->flags |= EDIT_DISABLED;
  }
  BooksAndAccount(c, 7);
  FieldEdit(9, 46, "CSS")->keyRoutine = wybierz_tak_nie;
}

}  // namespace

void definicja_formularzy_pozycji(kontekst_pozycji* c) {
  namesOpened = 0;
  FullForm(c);
  CompactForm(c);
}

void etykiety_pozycji() {
  if (!CurrentBrowse || CurrentBrowse->edit_window < 0) return;
  int previous = w4select(CurrentBrowse->edit_window);
  if (salesOptions.procedureMarks != 'T') w4repeat(9, 0, ' ', 78);
  if (OssLine()) w4(0, 63, "rodzaj");
  w4select(previous);
}

void zmien_dostawe_pozycji() {
  kontekst_pozycji* c = kontekstPozycji;
  int delivery = Digit(Line("STM"));
  int next = delivery == 1 ? 6 : delivery == 6 ? 1 : delivery == 2 ? 5 : delivery == 5 ? 2 : delivery;
  if (next == delivery) return;
  f4assign_char(Line("STM"), '0' + next);
  int code = 0;
  switch (next) {
    // back home: the code the line had when the form opened, when it was domestic then
    case 1: code = c && c->zapamietany_stm == 1 ? c->zapamietany_kod_vat_stm : domyslny_kod_vat_pozycji(); break;
    case 6: code = 7; break;
    case 2: code = 3; break;
    default: code = 7; break;
  }
  f4assign_int(Line("VAT"), code);
  ToFieldCopyDouble(Line("VAS"), wartosc_stawki_vat(Line("VAT")));
  double rate = f4double(Line("VAS")) / 100;
  if (GrossEntry()) {
    ToFieldCopyDouble(Line("WAB"), f4double(Line("ILO")) * f4double(Line("CBR")));
    ToFieldCopyDouble(Line("WAV"), f4double(Line("WAB")) * rate / (1 + rate));
    ToFieldCopyDouble(Line("WNE"), f4double(Line("WAB")) - f4double(Line("WAV")));
  } else {
    ToFieldCopyDouble(Line("WNE"), f4double(Line("ILO")) * f4double(Line("CNR")));
    ToFieldCopyDouble(Line("WAV"), f4double(Line("WNE")) * rate);
    ToFieldCopyDouble(Line("WAB"), f4double(Line("WNE")) + f4double(Line("WAV")));
  }
  etykiety_tekstow_pozycji();
}
