// The invoice issued to a receipt: " Faktura " of the register with the
// number of a new invoice, the buyer form over the receipt's Z5PARO record
// with its contractor picker, NIP lookups and payment lists, " Opis " >
// " Faktura " and the payment entry of Ctrl+P.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/settlement.h"
#include "app/validators.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "fiscal/printer_params.h"
#include "masterdata/contractors.h"
#include "masterdata/tax_number_checks.h"
#include "retail/receipt_invoice.h"
#include "retail/receipts.h"
#include "sales/background_screen.h"
#include "sales/buyer.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace retail {

namespace {

constexpr int MSG_NO_INVOICE = 232;          // "Brak zdefiniowanego dokumentu VAT !"
constexpr int MSG_INVOICE_EXISTS = 244;      // "Dokument VAT już przydzielony !"
constexpr int MSG_UNKNOWN_CONTRACTOR = 20126; // "Niezdefiniowany kod kontrahenta!"
constexpr int MSG_BAD_NIP = 20021;           // "Błędny NIP lub PESEL !"
constexpr int INVOICE_KIND = 9;
constexpr int BUYER_BY_RECEIPT = 1;          // REK
constexpr int16_t RES_BUYER_FORM = 42;
constexpr int FORM_ATTRIBUTE = 23, GET_ATTRIBUTE = 31;
constexpr int WINDOW_ROW = 9, WINDOW_HEIGHT = 19, WINDOW_WIDTH = 80;
constexpr int PAYMENT_ATTRIBUTE = 142, PAYMENT_GET_ATTRIBUTE = 143;
constexpr int PAYMENT_ROW = 8, PAYMENT_COL = 14, PAYMENT_HEIGHT = 5, PAYMENT_WIDTH = 51;
constexpr int KEY_F4 = 0x3E00, KEY_F6 = 0x4000, KEY_F8 = 0x4200;
constexpr int LIST_ROW = 5;
constexpr int MODE_BUYER = NABYWCA_FORMULARZA;
constexpr const char* PAID_IN_CASH = "ZAPŁACONO GOTÓWKĄ";

const char* const PAYMENT_FORMS[] = {"                    ", "1. GOTÓWKA",           "2. PRZELEW",
                                     "3. CZEK Nr",           "4. WYDŁUŻONY TERMIN",  "5. POBRANIE POCZTOWE",
                                     "6. ZAPŁACONO GOTÓWKĄ", "7. KARTA PŁATNICZA",   "8. POLECENIE ZAPŁATY",
                                     nullptr};
const char* const ACCOUNTS[] = {"                ", "1. PODSTAWOWE",    "2. POMOCNICZE 1", "3. POMOCNICZE 2",
                                "4. POMOCNICZE 3",  "5. POMOCNICZE 4", "6. INNE",         nullptr};
constexpr int ACCOUNT_COUNT = 6;

DbField* Head(const char* name) { return d4field(Z5PARA.table, name); }
DbField* Buyer(const char* name) { return d4field(Z5PARO.table, name); }
DbField* K(const char* name) { return d4field(Z5KHNT.table, name); }

// The state of one buyer form.
struct BuyerForm {
  bool exists;          // the record is written, else appended
  bool modifying;       // " Opis " > " Faktura ": payment form, contact and date stay
  int paymentDays;      // of the buyer's contractor, for DPL
  char account[17];
  char gtuSummary[4], procedureSummary[4];
  char prefix[5], suffix[10];
  int32_t number;
};
BuyerForm form;

DbField* fieldSlots[32];
int slotCount;
DbField** Slot(DbField* field) {
  fieldSlots[slotCount] = field;
  return &fieldSlots[slotCount++];
}

std::string Trimmed(const char* text, int length) {
  std::string s(text, strnlen(text, static_cast<size_t>(length)));
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, std::min(s.find_first_not_of(' '), s.size()));
  return s;
}
std::string FieldText(DbField* field) { return Trimmed(f4ptr(field), static_cast<int>(f4len(field))); }
bool BuyerCodeEmpty() { return FieldText(Buyer("KNA")).empty(); }

void Summaries() {
  DbField* marks = Buyer("RE1");
  std::strcpy(form.gtuSummary, jest_znacznik(marks, PIERWSZY_GTU, ZNACZNIKI) ? "TAK" : "NIE");
  std::strcpy(form.procedureSummary, jest_znacznik(marks, PIERWSZA_PROCEDURA, ZNACZNIKI) ? "TAK" : "NIE");
}
void AccountText() {
  int n = f4int(Buyer("TYB"));
  std::snprintf(form.account, sizeof form.account, "%-16s", Utf8ToMazText(ACCOUNTS[n >= 1 && n <= ACCOUNT_COUNT ? n : 0]).c_str());
}
void PaidByForm() {
  f4assign_char(Buyer("ZAP"), FieldText(Buyer("PLA")) == Utf8ToMazText(PAID_IN_CASH) ? 'T' : 'N');
}

// The contractors table for one step; closed again when it was not open.
struct Contractors {
  bool opened = false;
  bool ok = false;
  Contractors() { ok = Z5KHNT.table != nullptr || (opened = OpenZ5KHNT(0) == 0); }
  ~Contractors() {
    if (opened && Z5KHNT.table) {
      d4close(Z5KHNT.table);
      Z5KHNT.table = nullptr;
    }
  }
};

// ---- slots

// A name or address slot is passed over while the buyer has a code.
int NameSlot(Get4*, char*, int32_t) {
  if (!BuyerCodeEmpty()) return EnvCurrent()->lastGetKey == KEY_UP ? KEY_UP : KEY_ENTER;
  return g4char();
}

int RequiredDate(Get4* get) {
  if (date4long(static_cast<const char*>(get->data)) > 0) return 0;
  Uwaga(Utf8ToMazText("Błędna data !").c_str());
  return -1;
}
int OptionalDate(Get4* get) {
  const char* date = static_cast<const char*>(get->data);
  if (std::memcmp(date, "        ", 8) == 0 || date4long(date) > 0) return 0;
  Uwaga(Utf8ToMazText("Błędna data !").c_str());
  return -1;
}
int NipSlotValid(Get4* get) {
  std::string text = Trimmed(static_cast<const char*>(get->data), get->dataWidth);
  if (text.empty()) return 0;
  bool pesel = text.size() == 11 && text.find_first_not_of("0123456789") == std::string::npos;
  if (!pesel && SprawdzNip(text.c_str()) < 0) Uwaga(MSG_BAD_NIP);
  return 0;
}

int MarksSlot(Get4*, char*, int32_t gtu) {
  set_fun_help("F4", "Opcje", 5);
  int key = g4char();
  if (key == KEY_F4) {
    if (gtu)
      okno_oznaczen_gtu(0);
    else
      okno_procedur(0);
    Summaries();
    OdswiezGety();
    key = KEY_HOME;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

void DefineSlots() {
  slotCount = 0;
  g4attribute(GET_ATTRIBUTE);
  g4(1, 16, form.prefix);
  g4disabled();
  g4long(1, 21, &form.number);
  g4picture("99999");
  g4disabled();
  g4(1, 27, form.suffix);
  g4disabled();
  g4field(1, 63, Slot(Head("DSP")));
  g4picture("DD-MM/YY");
  g4disabled();
  g4field(0, 63, Slot(Buyer("DAW")));
  g4picture("DD-MM/YY");
  g4valid(RequiredDate);
  g4field(3, 16, Slot(Buyer("KNA")));
  g4upper();
  g4call(klawisz_kodu_nabywcy, MODE_BUYER);
  g4valid(sprawdz_kod_nabywcy);
  g4field(3, 58, Slot(Buyer("NIP")));
  g4upper();
  g4call(klawisz_nipu_nabywcy, 0);
  g4valid(NipSlotValid);
  struct At {
    int row, col;
    const char* name;
  };
  for (const At& a : {At{4, 8, "NA1"}, At{5, 8, "NA2"}, At{6, 12, "KOP"}, At{6, 19, "MIA"}, At{7, 12, "ULI"}}) {
    g4field(a.row, a.col, Slot(Buyer(a.name)));
    if (std::strcmp(a.name, "KOP") == 0) g4picture("99-999");
    g4call(NameSlot, 0);
  }
  g4field(9, 16, Slot(Buyer("NRZ")));
  g4field(9, 60, Slot(Buyer("DZM")));
  g4picture("DD-MM/YY");
  g4valid(OptionalDate);
  g4field(10, 16, Slot(Buyer("PLA")));
  g4call(klawisz_formy_platnosci, 0);
  g4field(10, 60, Slot(Buyer("DPL")));
  g4picture("DD-MM/YY");
  g4valid(OptionalDate);
  g4field(11, 6, Slot(Buyer("UWA")));
  g4field(12, 9, Slot(Buyer("WYS")));
  g4field(12, 51, Slot(Buyer("ODE")));
  g4(13, 16, form.account);
  g4call(klawisz_konta_zaplaty, 0);
  g4field(14, 16, Slot(Buyer("ZAP")));
  g4call(wybierz_tak_nie, 0);
  g4field(14, 60, Slot(Buyer("KZA")));
  g4format();
  g4field(15, 16, Slot(Buyer("OZA")));
  if (salesOptions.procedureMarks == 'T') {
    g4(16, 28, form.gtuSummary);
    g4call(MarksSlot, 1);
    g4(16, 53, form.procedureSummary);
    g4call(MarksSlot, 0);
  }
}

// The window of the buyer form over the record buffers; 0 left with F2.
int RunForm() {
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(WINDOW_ROW, 0, WINDOW_HEIGHT, WINDOW_WIDTH, "", nullptr, nullptr);
  if (window < 0) return -1;
  w4activate(window);
  add_help_line();
  set_fun_help("F2", "Zapisz", 1);
  int result = wypelnij_dane_faktury();
  remove_help_line();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return result;
}

// The buyer record appended or written with its stamp, flushed.
int StoreBuyer() {
  DbTable* buyers = Z5PARO.table;
  if (form.exists) {
    set_pass_inf(STAMP_KIND_MODIFIED, Buyer("INF"));
    if (d4write(buyers, d4recno(buyers)) != 0) return -1;
  } else {
    // The append must not write the edited buffer over the record it stands on.
    std::string record(d4record(buyers), d4record_width(buyers));
    d4changed(buyers, 0);
    if (d4append_start(buyers, 0) != 0) return -1;
    std::memcpy(d4record(buyers), record.data(), record.size());
    set_pass_inf(0, Buyer("INF"));
    if (d4append(buyers) != 0) return -1;
    form.exists = true;
  }
  return d4flush(buyers);
}

void Forget(DbTable* table) { d4changed(table, 0); }

}  // namespace

int nabywca_dozwolony(intptr_t data) { return filtr_kontrahentow_dokumentu(data); }

int szukaj_danych_faktury() {
  DbTable* buyers = Z5PARO.table;
  form.exists = true;
  d4tag_select(buyers, Z5PARO.tag[BUYER_BY_RECEIPT]);
  int rc = d4seek_double(buyers, f4double(Head("REC")));
  if (rc < 0) return rc;
  if (rc != 0) {
    form.exists = false;
    d4blank(buyers);
    Forget(buyers);
  }
  return 0;
}

int zapisz_dane_faktury() { return StoreBuyer(); }

int formularz_faktury() {
  form.paymentDays = 0;
  return 0;
}

int wypelnij_dane_faktury() {
  AccountText();
  w4attribute(FORM_ATTRIBUTE);
  pokaz_tlo(RES_BUYER_FORM, 0, 0);
  if (salesOptions.procedureMarks == 'T') {
    w4(16, 0, Utf8ToMazText("oznaczenia towarów i usług:").c_str());
    w4(16, 43, "procedury:");
  }
  if (oznacz_grupy_gtu_pozycji() != 0) return -1;
  Summaries();
  DefineSlots();
  int key = g4read();
  return key == KEY_F2 ? 0 : -1;
}

int klawisz_kodu_nabywcy(Get4* get, char* buffer, int32_t mode) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4) {
    Contractors table;
    if (table.ok) {
      PoleKodowane list[3];
      ResetPoleKodowaneDefinition(list, sizeof list);
      DefinePoleKodowane(0, "kod", &Z5KHNT.field[0], &Z5KHNT.tag[1], 1, -1);
      DefinePoleKodowane(0, "nazwa", &Z5KHNT.field[1], &Z5KHNT.tag[0], 0, 40);
      int picked = pole_kodowane_fun(kartoteka_kontrahentow_z_dokumentu, EnvMessageText(20082), list,
                                     nabywca_dozwolony, LIST_ROW, 0, Z5KHNT.table);
      if (picked == KEY_ENTER) {
        std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
        std::memcpy(buffer, f4ptr(K("KOD")), std::min<size_t>(f4len(K("KOD")), static_cast<size_t>(get->dataWidth)));
        key = KEY_ENTER;
      }
    }
  }
  (void)mode;
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int sprawdz_kod_nabywcy(Get4*) {
  form.paymentDays = 0;
  if (pobierz_nabywce(MODE_BUYER) != 0) return -1;
  if (!form.modifying) {
    int32_t sale = date4long(f4ptr(Head("DSP")));
    if (sale > 0) date4assign(f4assign_ptr(Buyer("DPL")), sale + form.paymentDays);
  }
  OdswiezGety();
  return 0;
}

int pobierz_nabywce(int mode) {
  std::string code = FieldText(Buyer("KNA"));
  if (mode == MODE_BUYER && code.empty()) {
    form.paymentDays = 0;
    return 0;
  }
  Contractors table;
  if (!table.ok) return -1;
  int rc = SeekKontrahentByKod(code.c_str());
  if (rc < 0) return -1;
  if (rc != 0) {
    Uwaga(MSG_UNKNOWN_CONTRACTOR);
    return -1;
  }
  if (mode == MODE_BUYER) {
    for (const char* name : {"KNA", "NIP", "NA1", "NA2", "KOP", "MIA", "ULI"}) f4blank(Buyer(name));
    ToFieldCopyMaxField(Buyer("KNA"), K("KOD"));
    for (const char* name : {"NIP", "NA1", "NA2", "KOP", "MIA", "ULI"}) ToFieldCopyMaxField(Buyer(name), K(name));
    if (!form.modifying) {
      ToFieldCopyMaxField(Buyer("PLA"), K("PLA"));
      ToFieldCopyMaxField(Buyer("ODE"), K("OSO"));
    }
    form.paymentDays = f4int(K("ILD"));
    OdswiezGety();
  }
  return 0;
}

int klawisz_nipu_nabywcy(Get4* get, char* buffer, int32_t) {
  if (!BuyerCodeEmpty()) return EnvCurrent()->lastGetKey == KEY_UP ? KEY_UP : KEY_ENTER;
  if (mainOptions.onlineNipCheck != 'T') return g4char();
  set_fun_help("F6", "GUS", 5);
  set_fun_help("F8", "weryfikuj NIP", 7);
  int key = g4char();
  bool verify = key == KEY_F8;
  if (key == KEY_F6) {
    std::string nip = Trimmed(buffer, get->dataWidth);
    GusTargets targets{Buyer("NA1"), Buyer("NA2"), Buyer("KOP"), Buyer("MIA"), Buyer("ULI"), nullptr,
                       nullptr,      nullptr,      nullptr,      nullptr,      nullptr};
    verify = szukaj_nip_gus(nip.data(), get, nullptr, &targets) == 0;
    if (!verify) key = KEY_HOME;
    OdswiezGety();
  }
  if (verify) {
    int status = sprawdz_nip_kontrahenta(Trimmed(buffer, get->dataWidth).c_str(), 0);
    key = status == NIP_VIES_FOUND || status == NIP_ACTIVE ? KEY_ENTER : KEY_HOME;
    OdswiezGety();
  }
  if (WigetCtrlKey(key)) {
    remove_fun_help("F6");
    remove_fun_help("F8");
  }
  return key;
}

int klawisz_formy_platnosci(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", 5);
  int key = g4char();
  if (key == KEY_F4) {
    std::vector<std::string> texts;
    for (const char* const* p = PAYMENT_FORMS; *p; ++p) texts.push_back(Utf8ToMazText(*p));
    std::vector<const char*> items;
    for (const std::string& t : texts) items.push_back(t.c_str());
    items.push_back(nullptr);
    int chosen = get_menu_function(" WYBIERZ ", items.data(), 1, -1, -1);
    if (chosen > 0) {
      std::string text = texts[static_cast<size_t>(chosen)].substr(3);
      std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
      std::memcpy(buffer, text.data(), std::min(text.size(), static_cast<size_t>(get->dataWidth)));
      PaidByForm();
      OdswiezGety();
    }
    key = KEY_HOME;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int klawisz_konta_zaplaty(Get4*, char*, int32_t) {
  std::vector<std::string> texts;
  for (const char* const* p = ACCOUNTS; *p; ++p) texts.push_back(Utf8ToMazText(*p));
  std::vector<const char*> items;
  for (const std::string& t : texts) items.push_back(t.c_str());
  items.push_back(nullptr);
  int current = std::clamp(f4int(Buyer("TYB")), 1, ACCOUNT_COUNT);
  int chosen = get_menu_function(" WYBIERZ ", items.data(), current, -1, -1);
  if (chosen <= 0) return KEY_UP;
  f4assign_int(Buyer("TYB"), chosen);
  AccountText();
  OdswiezGety();
  return KEY_ENTER;
}

int numer_faktury_do_paragonu() {
  numer_paragonu& n = kontekstParagonow->numer;
  n.mode = NUMER_FAKTURY;
  n.invoiceKind = INVOICE_KIND;
  n.number = 1;
  std::snprintf(n.prefix, sizeof n.prefix, "%.4s", parametryDetal.invoiceIdent);
  wyrownaj_w_prawo(n.prefix, 4);
  std::snprintf(n.suffix, sizeof n.suffix, "%-9.9s", parametryDetal.invoiceSuffix);
  if (kolejny_numer(0) != 0) return -1;
  int key = okno_numeru_paragonu(1);
  if (key != KEY_ENTER && key != KEY_F2) return -1;
  return sprawdz_numer() == 0 ? 0 : -1;
}

int faktura_do_paragonu() {
  DbTable* headers = Z5PARA.table;
  DbTable* buyers = Z5PARO.table;
  std::string remarks = std::string("do paragonu nr ") + NrDokumentuFldQStr(Head("PRE"), Head("NRV"), Head("POS"));
  long record = d4recno(headers);
  form = BuyerForm{};
  if (formularz_faktury() != 0) return browse_call(0, record);
  if (set_lock(buyers, -1) == 0) {
    bool numbered = numer_faktury_do_paragonu() == 0;
    d4go(headers, record);
    if (numbered && szukaj_danych_faktury() == 0) {
      numer_paragonu& n = kontekstParagonow->numer;
      std::memcpy(form.prefix, n.prefix, sizeof form.prefix);
      std::memcpy(form.suffix, n.suffix, sizeof form.suffix);
      form.number = n.number;
      f4assign_int(Buyer("TYB"), 1);
      f4assign_double(Buyer("REK"), f4double(Head("REC")));
      ToFieldCopyField(Buyer("KZA"), Head("BRU"));
      FldCopyString(Buyer("PLA"), parametryDetal.paymentForm);
      PaidByForm();
      FldCopyString(Buyer("WYS"), salesOptions.issuedBy);
      FldCopyString(Buyer("UWA"), remarks.c_str());
      ToFieldCopyField(Buyer("DAW"), Head("DSP"));
      ToFieldCopyField(Buyer("NIP"), Head("RE1"));
      bool saved = false;
      if (RunForm() == 0 && set_lock(headers, -1) == 0) {
        // Another workstation may have given the number meanwhile.
        if (sprawdz_numer() == 0 && d4go(headers, record) == 0) {
          f4assign_int(Head("TYF"), INVOICE_KIND);
          f4assign(Head("PRF"), n.prefix);
          f4assign_long(Head("NRF"), n.number);
          f4assign(Head("POF"), n.suffix);
          saved = StoreBuyer() == 0 && d4write(headers, record) == 0 && d4flush(headers) == 0;
        }
        d4unlock(headers);
      }
      if (!saved) {
        Forget(headers);
        Forget(buyers);
      }
      d4unlock(buyers);
      d4go(headers, record);
      if (saved) {
        browse_call(0, record);
        return drukuj_z_menu(2);
      }
      return browse_call(0, record);
    }
    Forget(buyers);
    d4unlock(buyers);
  }
  d4go(headers, record);
  return browse_call(0, record);
}

int32_t faktura_z_menu(int32_t) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  if (f4int(Head("TYF")) != 0) {
    Uwaga(MSG_INVOICE_EXISTS);
    return 0;
  }
  faktura_do_paragonu();
  return 0;
}

int edytuj_dane_faktury() {
  DbTable* headers = Z5PARA.table;
  DbTable* buyers = Z5PARO.table;
  long record = d4recno(headers);
  form = BuyerForm{};
  form.modifying = true;
  if (formularz_faktury() != 0 || set_lock(buyers, -1) != 0) return 0;
  std::snprintf(form.prefix, sizeof form.prefix, "%.4s", f4ptr(Head("PRF")));
  std::snprintf(form.suffix, sizeof form.suffix, "%.9s", f4ptr(Head("POF")));
  form.number = static_cast<int32_t>(f4long(Head("NRF")));
  if (szukaj_danych_faktury() == 0) {
    if (RunForm() != 0 || StoreBuyer() != 0) Forget(buyers);
  }
  d4unlock(buyers);
  d4go(headers, record);
  browse_call(0, record);
  return 0;
}

int platnosc_faktury() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* headers = Z5PARA.table;
  DbTable* buyers = Z5PARO.table;
  long record = d4recno(headers);
  if (f4int(Head("TYF")) == 0) {
    Uwaga(MSG_NO_INVOICE);
    return 0;
  }
  if (szukaj_danych_faktury() != 0 || !form.exists) return browse_call(0, record);
  long buyer = d4recno(buyers);
  double due = ROUND(f4double(Head("BRU")) - f4double(Buyer("KZA")), 2);
  double paying = due;
  char description[61];
  std::snprintf(description, sizeof description, "%-60.60s", f4ptr(Buyer("OZA")));
  char dueText[32];
  std::snprintf(dueText, sizeof dueText, "%*.*f", static_cast<int>(f4len(Buyer("KZA"))), f4decimals(Buyer("KZA")), due);
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(PAYMENT_ROW, PAYMENT_COL, PAYMENT_HEIGHT, PAYMENT_WIDTH,
                                    Utf8ToMazText("Wprowadź kwotę płatności").c_str(), nullptr, nullptr);
  if (window < 0) return browse_call(0, record);
  w4activate(window);
  w4attribute(PAYMENT_ATTRIBUTE);
  w4(0, 0, Utf8ToMazText("Należna  :").c_str());
  w4(0, 11, dueText);
  w4(1, 0, "Wpłacana :");
  w4(2, 0, "Opis :");
  g4attribute(PAYMENT_GET_ATTRIBUTE);
  g4double(1, 11, &paying);
  g4width(static_cast<int>(f4len(Buyer("KZA"))), -1);
  g4(2, 7, description);
  g4width(60, 40);
  int key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if ((key == KEY_ENTER || key == KEY_F2) && set_lock(buyers, -1) == 0) {
    if (d4go(buyers, buyer) == 0) {
      FldAddDouble(Buyer("KZA"), paying);
      f4assign_char(Buyer("ZAP"), KwotyRozliczone(f4double(Head("BRU")), f4double(Buyer("KZA"))) ? 'T' : 'N');
      FldCopyString(Buyer("OZA"), description);
      d4write(buyers, buyer);
      d4flush(buyers);
    }
    d4unlock(buyers);
  }
  return browse_call(0, record);
}

}  // namespace retail
