// The key routines of the party-code fields of the transfer order forms and
// the choosers they open: the own firm, a contractor, a tax office, a
// partner, an employee, the tax symbols and the ZUS payment types. After a
// fill the form is redisplayed and Enter keys move the cursor past the
// fields filled.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/module_entries.h"
#include "app/prompts.h"
#include "app/transfer_contractor.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/contractors.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

namespace {

constexpr int KEY_ALT_K = 0x2500;
constexpr int MSG_CONTRACTORS = 20082, MSG_TAX_OFFICES = 20087;
constexpr int LIST_ROW = 5, HINT_ORDER = 3;
constexpr int USKA_BY_NAME = 3, WSPL_BY_NAME = 0, PRAC_BY_NAME = 0;
constexpr long PARTY_ZUS = 3, PARTY_PARTNER = 6;
constexpr long ACCOUNT_OTHER = 6;
constexpr int ENTERS_ORDINARY = 6, ENTERS_TAX_PAYER = 8, ENTERS_ZUS = 7, ENTERS_OFFICE = 2;

DbField* Order(int field) { return Z5PLEW.field[field]; }

// A table opened for a chooser when it was not open, closed with the scope.
struct OpenedFor {
  TableHandles& t;
  bool opened = false, ok;
  OpenedFor(TableHandles& table, int (*open)(int)) : t(table) {
    opened = !t.table && open(0) == 0;
    ok = t.table != nullptr;
  }
  ~OpenedFor() {
    if (!opened) return;
    d4close(t.table);
    t.table = nullptr;
  }
};

// The code now in the field into the get's buffer, the form redisplayed and
// `enters` Enter keys to follow.
int Filled(Get4* get, char* buffer, int enters) {
  if (get->field) {
    std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
    std::memcpy(buffer, f4ptr(get->field), std::min<size_t>(f4len(get->field), static_cast<size_t>(get->dataWidth)));
  }
  OdswiezGety();
  PushKeyMessage(KEY_ENTER, enters);
  return -1;
}

int ReadWith(std::initializer_list<std::pair<const char*, const char*>> hints) {
  for (const auto& [key, text] : hints) set_fun_help(key, Sys(text), HINT_ORDER);
  return g4char();
}

int Left(int key, std::initializer_list<const char*> keys) {
  if (WigetCtrlKey(key))
    for (const char* k : keys) remove_fun_help(k);
  return key;
}

int ChooseContractor() {
  PoleKodowane list[4];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kod", &Z5KHNT.field[KHNT_KOD], &Z5KHNT.tag[KHNT_BY_CODE], 1, -1);
  DefinePoleKodowane(0, "nazwa", &Z5KHNT.field[KHNT_NA1], &Z5KHNT.tag[KHNT_BY_NAME], 0, -1);
  DefinePoleKodowane(0, "miasto", &Z5KHNT.field[KHNT_MIA], nullptr, 0, -1);
  return pole_kodowane_fun(kartoteka_kontrahentow_z_dokumentu, MSG_CONTRACTORS, list, nullptr, LIST_ROW, 0,
                           Z5KHNT.table);
}

int ChooseOffice() {
  PoleKodowane list[3];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "nazwa", &Z5USKA.field[1], &Z5USKA.tag[USKA_BY_NAME], 1, -1);
  return pole_kodowane_fun(kartoteka_urzedow, MSG_TAX_OFFICES, list, nullptr, LIST_ROW, 0, Z5USKA.table);
}

// The partners whose insurance title keeps them off transfer orders are not offered.
int PartnerRows(intptr_t) {
  return KodTytuluWykluczony(FldQStr(d4field(Z5WSPL.table, "KTU"), 0)) ? X4_REJECT : X4_ACCEPT;
}

int ChoosePerson(TableHandles& t, int tag, DbScanFilter filter) {
  PoleKodowane list[3];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, Sys("nazwisko"), &t.field[0], &t.tag[tag], 1, -1);
  DefinePoleKodowane(0, Sys("imię"), &t.field[1], nullptr, 0, -1);
  return pole_kodowane_fun(nullptr, Sys("WYBIERZ"), list, filter, LIST_ROW, 0, t.table);
}

void RecordNumberInto(DbField* field, DbTable* table) { FldCopyString(field, std::to_string(d4recno(table)).c_str()); }

// Entry `n` of a " WYBIERZ " list after its "n. " prefix, trimmed.
std::string EntryText(const char* entry) {
  std::string text = entry + 3;
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// Entry 0 gives a list its width.
const char* const TAX_SYMBOL_LIST[] = {"1. PIT  ", "1. PIT  ", "2. VAT  ", "3. CIT  ", "4. AKC  ", "5. GL   ",
                                       "6. KP   ", "7. PPE  ", "8. PN   ", "9. SD   ", "A. PCC  ", "B. OS   ",
                                       "C. INNE ", nullptr};
const char* const ZUS_TYPE_LIST[] = {"1. ZUSSP  ", "1. ZUSSP  ", "2. ZUSZD  ", "3. ZUSFP  ", "4. ZUSFEP ", nullptr};
const char* const* TaxSymbols() { return TAX_SYMBOL_LIST; }
const char* const* ZusTypes() { return ZUS_TYPE_LIST; }
constexpr int TAX_SYMBOLS = 12, ZUS_TYPES = 4;

void Put(char* buffer, Get4* get, const std::string& text) {
  std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
  std::memcpy(buffer, text.data(), std::min(text.size(), static_cast<size_t>(get->dataWidth)));
}

}  // namespace

int KodOdbiorcyZwyklego(Get4* get, char* buffer, int32_t) {
  int key = ReadWith({{"F3", "Firma"}, {"F4", "Kontrahent"}});
  if (key == KEY_F3) {
    FirmaDoOdbiorcy();
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  if (key == KEY_F4 && ChooseContractor() == KEY_ENTER) {
    ToFieldCopyMaxField(Order(PLEW_KOO), Z5KHNT.field[KHNT_KOD]);
    KontrahentDoPrzelewu();
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  return Left(key, {"F3", "F4"});
}

int KodZleceniodawcyZwyklego(Get4* get, char* buffer, int32_t) {
  bool zus = PrzelewDoZus();
  int key = zus ? ReadWith({{"F3", "Firma"}}) : ReadWith({{"F3", "Firma"}, {"F4", "Kontrahent"}});
  if (key == KEY_F3) {
    FirmaDoZleceniodawcy(1, zus ? TRANSFER_ZUS_FROM_2018 : TRANSFER_ORDINARY);
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  if (key == KEY_F4 && !zus && ChooseContractor() == KEY_ENTER) {
    KontrahentDoPrzelewu2();
    f4assign_long(Order(PLEW_TYB), ACCOUNT_OTHER);
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  return Left(key, {"F3", "F4"});
}

int KodOdbiorcyVat(Get4* get, char* buffer, int32_t) {
  int key = ReadWith({{"F4", "Kontrahent"}});
  if (key == KEY_F4 && ChooseContractor() == KEY_ENTER) {
    ToFieldCopyMaxField(Order(PLEW_KOO), Z5KHNT.field[KHNT_KOD]);
    KontrahentDoPrzelewu();
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  return Left(key, {"F4"});
}

int KodZleceniodawcyVat(Get4* get, char* buffer, int32_t) {
  int key = ReadWith({{"F4", "Konta"}});
  if (key == KEY_F4) {
    FirmaDoZleceniodawcyVat();
    return Filled(get, buffer, ENTERS_ORDINARY);
  }
  return Left(key, {"F4"});
}

int KodUrzedu(Get4* get, char* buffer, int32_t) {
  int key = ReadWith({{"F4", "Urząd PIT"}, {"F5", "Urząd VAT"}});
  if (key == KEY_F4 || key == KEY_F5) {
    OpenedFor offices(Z5USKA, OpenZ5USKA);
    if (offices.ok && ChooseOffice() == KEY_ENTER) {
      UrzadDoPrzelewu(key == KEY_F5, d4field(Z5PAWL.table, "ZN3"));
      return Filled(get, buffer, ENTERS_OFFICE);
    }
    return -1;
  }
  return Left(key, {"F4", "F5"});
}

// The payer of a tax order (`data` 1) or of a ZUS order (0): the own firm or a partner.
int KodZleceniodawcyUrzedowego(Get4* get, char* buffer, int32_t data) {
  bool tax = data == 1;
  int key = ReadWith({{"F3", "Firma"}, {"F6", "Wspólnik"}});
  int enters = tax ? ENTERS_TAX_PAYER : ENTERS_ZUS;
  if (key == KEY_F3) {
    FirmaDoZleceniodawcy(1, tax ? TRANSFER_TAX : TRANSFER_ZUS_BEFORE_2018);
    return Filled(get, buffer, enters);
  }
  if (key == KEY_F6) {
    OpenedFor partners(Z5WSPL, OpenZ5WSPL);
    if (partners.ok && ChoosePerson(Z5WSPL, WSPL_BY_NAME, PartnerRows) == KEY_ENTER) {
      WspolnikDoZleceniodawcy(1, tax);
      RecordNumberInto(Order(PLEW_KOZ), Z5WSPL.table);
      f4assign_long(Order(PLEW_SOZ), PARTY_PARTNER);
      if (tax) f4assign_long(Order(PLEW_TYB), ACCOUNT_OTHER);
      OdswiezTekstyPrzelewu();
      return Filled(get, buffer, enters);
    }
    return -1;
  }
  return Left(key, {"F3", "F6"});
}

int SymbolPodatku(Get4* get, char* buffer, int32_t) {
  int key = ReadWith({{"F4", "Lista"}});
  if (key == KEY_F4) {
    int n = get_menu_function(" WYBIERZ ", TaxSymbols(), 1, -1, -1);
    if (n >= 1 && n <= TAX_SYMBOLS) {
      Put(buffer, get, EntryText(TaxSymbols()[n]));
      OdswiezGety();
    }
    return -1;
  }
  return Left(key, {"F4"});
}

int TypWplatyZus(Get4* get, char* buffer, int32_t) {
  std::string current(buffer, static_cast<size_t>(get->dataWidth));
  current.erase(current.find_last_not_of(' ') + 1);
  int start = 1;
  for (int n = 1; n <= ZUS_TYPES; n++)
    if (EntryText(ZusTypes()[n]) == current) start = n;
  int n = get_menu_function(" WYBIERZ ", ZusTypes(), start, -1, -1);
  if (n < 1 || n > ZUS_TYPES) return KEY_UP;
  Put(buffer, get, EntryText(ZusTypes()[n]));
  f4assign_long(Order(PLEW_SOO), PARTY_ZUS);
  FldCopyString(Order(PLEW_KNO), "");
  OdswiezTekstyPrzelewu();
  OdswiezGety();
  return KEY_ENTER;
}

int WybierzKodStrony(Get4* get, char* buffer, int32_t payer) {
  int key = ReadWith({{"F4", "Lista"}});
  if (key == KEY_ALT_K) {
    Put(buffer, get, "");
    g4display();
    return -1;
  }
  if (key != KEY_F4) return Left(key, {"F4"});
  switch (f4long(Order(payer ? PLEW_SOZ : PLEW_SOO))) {
    case 1:
      if (ChooseContractor() == KEY_ENTER) Put(buffer, get, FldQStr(Z5KHNT.field[KHNT_KOD], QS_RTRIM));
      break;
    case 2: {
      OpenedFor offices(Z5USKA, OpenZ5USKA);
      if (offices.ok && ChooseOffice() == KEY_ENTER)
        Put(buffer, get, FldQStr(d4field(Z5USKA.table, "KOD"), QS_LTRIM | QS_RTRIM));
      break;
    }
    case 4: {
      OpenedFor employees(Z5PRAC, OpenZ5PRAC);
      if (employees.ok && ChoosePerson(Z5PRAC, PRAC_BY_NAME, nullptr) == KEY_ENTER)
        Put(buffer, get, std::to_string(d4recno(Z5PRAC.table)));
      break;
    }
    case 5: {
      std::string name;
      if (WybierzKontoFirmy(&name) > 0) Put(buffer, get, name);
      break;
    }
    case 6: {
      OpenedFor partners(Z5WSPL, OpenZ5WSPL);
      if (partners.ok && ChoosePerson(Z5WSPL, WSPL_BY_NAME, PartnerRows) == KEY_ENTER)
        Put(buffer, get, std::to_string(d4recno(Z5WSPL.table)));
      break;
    }
    default:
      break;   // ZUS and another party have no list
  }
  g4display();
  return -1;
}
