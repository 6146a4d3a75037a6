// The entry form "KASA": a new cash entry or a change of the current one,
// with the whole cash book locked while it runs; its defaults, the rules of
// its fields (unique number, the amount's sign, renumbering, the settlement
// picker by source, the contractor lookup) and the save loop that passes
// each saved entry on to its source.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "finance/cash_book.h"
#include "finance/payments.h"
#include "sales/background_screen.h"
#include "tables/cash_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_FORM = 2;
constexpr int MSG_AMOUNT_POSITIVE = 20112, MSG_AMOUNT_NOT_ZERO = 20113, MSG_AMOUNT_NEGATIVE = 20114;
constexpr int MSG_NUMBER_EXISTS = 20155, MSG_NO_CONTRACTOR = 20180, MSG_CONTRACTORS = 20082;
constexpr int MSG_NOTE_LABEL = 20148;
constexpr int NOTE_WIDTH = 60, ACCOUNT_WIDTH = 15, SOURCE_WIDTH = 23;
constexpr int KEY_F4 = 0x3E00, KEY_ALT_K = 0x2500;
constexpr int HINT_ORDER = 4;
constexpr int CONTRACTOR_INTERNAL = 4, CONTRACTOR_RECIPIENT = 5;
constexpr int CONTRACTORS_BY_NAME = 0, CONTRACTORS_BY_CODE = 1;

// What the form edits beside the record buffer.
struct FormState {
  char date[9];
  int32_t number;
  double amount;
  int account;
  char accountText[ACCOUNT_WIDTH + 1];
  int source;   // TYZ: 1, 4 or 0
  char sourceText[SOURCE_WIDTH + 1];
  bool sourceLocked;
};
FormState f;

KontekstKasy& K() { return *kontekstKasy; }
DbField* Field(const char* name) { return d4field(Z5KASA.table, name); }
DbField** Slot(TableHandles& set, const char* name) {
  DbField* field = d4field(set.table, name);
  for (DbField*& bound : set.field)
    if (bound == field) return &bound;
  return nullptr;
}
DbField* Settlement(const char* name) { return d4field(Z5ROZL.table, name); }
DbField* Contractor(const char* name) { return d4field(Z5KHNT.table, name); }
char Kind() { return K().kind; }

int LastKey() { return EnvCurrent() ? EnvCurrent()->lastGetKey : KEY_ENTER; }
int PassOver() { return LastKey() == KEY_UP ? KEY_UP : KEY_ENTER; }

// ---- the edited values and the record buffer

void ShowTexts() {
  std::snprintf(f.accountText, sizeof f.accountText, "%-15.15s", Kind() == '3' ? KONTA_KASY[f.account] : "");
  std::snprintf(f.sourceText, sizeof f.sourceText, "%-23.23s", ZRODLA_KASY[pozycja_zrodla_kasy(f.source)]);
}

void LoadState() {
  std::memcpy(f.date, f4ptr(Field("DAT")), 8);
  f.date[8] = '\0';
  f.number = static_cast<int32_t>(f4long(Field("NUM")));
  f.amount = f4double(Field("KWO"));
  f.account = f4int(Field("TYK"));
  if (f.account < 1 || f.account > 6) f.account = 1;
  f.source = f4int(Field("TYZ"));
  ShowTexts();
}

void StoreState() {
  std::memcpy(f4assign_ptr(Field("DAT")), f.date, 8);
  ToFieldCopyLongint(Field("NUM"), f.number);
  ToFieldCopyDouble(Field("KWO"), f.amount);
  ToFieldCopyLongint(Field("TYK"), Kind() == '3' ? f.account : 0);
  ToFieldCopyLongint(Field("TYZ"), f.source);
}

int Account() { return Kind() == '3' ? f.account : 0; }

void Renumber() {
  f.number = static_cast<int32_t>(OstatniNrKasy(Kind(), Account(), date4year(f.date)) + 1);
}

bool RealSource(int source) { return source == SOURCE_SALES || source == SOURCE_AUXILIARY_SALES; }
bool NoteShown() { return RealSource(f.source) || f.source == SOURCE_PURCHASES; }

void DrawNote() {
  std::string blank(78, ' ');
  w4(14, 0, blank.c_str());
  if (NoteShown()) w4(14, 0, EnvFindString(MSG_NOTE_LABEL));
}

void Refresh() {
  ShowTexts();
  DrawNote();
  g4display();
}

// The description with the entry's reference behind it, when both fit.
void JoinNote(const char* base) {
  StoreState();
  std::string joined = std::string(base) + ZrodloKasyQStr();
  std::string text = joined.size() <= NOTE_WIDTH ? joined : std::string(base);
  std::snprintf(K().note, sizeof K().note, "%-60.60s", text.c_str());
}

// ---- field rules

// The rule of the amount's sign for the kind; the message, or 0 when it passes.
int AmountRule(double amount) {
  switch (Kind()) {
    case '1': return amount > 0 ? 0 : MSG_AMOUNT_POSITIVE;
    case '2': return amount < 0 ? 0 : MSG_AMOUNT_NEGATIVE;
    case '3': return amount != 0 ? 0 : MSG_AMOUNT_NOT_ZERO;
    default: return 0;
  }
}

int AmountValid(Get4*) {
  int message = AmountRule(f.amount);
  if (message == 0) return 0;
  Uwaga(message);
  return -1;
}

bool NumberTaken() {
  if (Kind() == '3') return false;
  long skip = K().mode == 1 ? d4recno(Z5KASA.table) : 0;
  return NumerKasyZajety(Kind(), Account(), date4year(f.date), f.number, skip);
}

int NumberValid(Get4*) {
  if (!NumberTaken()) return 0;
  Uwaga(MSG_NUMBER_EXISTS);
  return -1;
}

int DateValid(Get4*) {
  int year = date4year(f.date);
  if (year != date4year(f4ptr(Field("DAT")))) {
    std::memcpy(f4assign_ptr(Field("DAT")), f.date, 8);
    Renumber();
    Refresh();
  }
  return 0;
}

int AccountKey(Get4*, char*, int32_t) {
  if (Kind() != '3') return PassOver();
  set_fun_help("F4", "Lista", HINT_ORDER);
  int key = g4char();
  if (key == KEY_F4) {
    int chosen = get_menu_function(" WYBIERZ ", KONTA_KASY, f.account, -1, -1);
    if (chosen >= 1 && chosen != f.account) {
      f.account = chosen;
      Renumber();
      Refresh();
    }
    key = chosen >= 1 ? KEY_ENTER : -1;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

// ---- contractors

int ContractorRows(intptr_t) {
  if (f4char(Contractor("STA")) == 'N') return X4_REJECT;
  int type = f4int(Contractor("TYP"));
  return type == CONTRACTOR_INTERNAL || type == CONTRACTOR_RECIPIENT ? X4_REJECT : X4_ACCEPT;
}

// The contractors list; 13 with the table on the chosen one.
int PickContractor() {
  static PoleKodowane list[4];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kod", Slot(Z5KHNT, "KOD"), &Z5KHNT.tag[CONTRACTORS_BY_CODE], 1, -1);
  DefinePoleKodowane(0, "nazwa", Slot(Z5KHNT, "NA1"), &Z5KHNT.tag[CONTRACTORS_BY_NAME], 0, 27);
  return pole_kodowane_fun(nullptr, MSG_CONTRACTORS, list, ContractorRows, 5, 0, Z5KHNT.table);
}

void FromContractor() {
  for (const char* name : {"NA1", "NA2", "KOP", "MIA", "ULI"}) ToFieldCopyMaxField(Field(name), Contractor(name));
  if (Kind() != '3') ToFieldCopyMaxField(Field("ODB"), Contractor("OSO"));
}

bool HasContractor() { return !FieldIsEmpty(Field("KOD")); }

int ContractorKey(Get4* get, char* buffer, int32_t data) {
  if (f.source != 0) return PassOver();
  return lista_kontrahentow_kasy(get, buffer, data);
}

}  // namespace

int lista_kontrahentow_kasy(Get4* get, char* buffer, int32_t) {
  set_fun_help("F4", "Lista", HINT_ORDER);
  int key = g4char();
  if (key == KEY_F4) {
    key = -1;
    if (PickContractor() == KEY_ENTER) {
      std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
      DbField* code = Contractor("KOD");
      std::memcpy(buffer, f4ptr(code), std::min<size_t>(f4len(code), static_cast<size_t>(get->dataWidth)));
      key = KEY_ENTER;
    }
  } else if (key == KEY_ALT_K) {
    std::memset(buffer, ' ', static_cast<size_t>(get->dataWidth));
    g4display();
    key = -1;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

namespace {

int ContractorValid(Get4* get) {
  std::string code(static_cast<const char*>(get->data), static_cast<size_t>(get->dataWidth));
  code.erase(code.find_last_not_of(' ') + 1);
  if (code.empty()) return 0;
  if (SeekKontrahentByKod(code.c_str()) != 0) {
    Uwaga(MSG_NO_CONTRACTOR);
    std::memset(get->data, ' ', static_cast<size_t>(get->dataWidth));
    ToFieldCopyMaxString(Field("KOD"), "");
  } else {
    FromContractor();
  }
  g4display();
  return 0;
}

// The name and address come from the contractor or the settlement when there is one.
int AddressKey(Get4*, char*, int32_t) {
  if (f.source != 0 || HasContractor()) return PassOver();
  return g4char();
}

int SourceFieldKey(Get4*, char*, int32_t) {
  if (f.source != 0) return PassOver();
  return g4char();
}

int NoteKey(Get4*, char*, int32_t) {
  if (!NoteShown()) return PassOver();
  return g4char();
}

// ---- settlements as sources

int SettlementSource = 0;

double Remaining() { return ROUND(f4double(Settlement("KWO")) - f4double(Settlement("ZAP")), 6); }

int SettlementRows(intptr_t) {
  if (f4char(Settlement("ROL")) != 'N' || f4int(Settlement("TYZ")) != SettlementSource) return X4_REJECT;
  if (HasContractor() && std::memcmp(f4ptr(Settlement("KOD")), f4ptr(Field("KOD")), f4len(Field("KOD"))) != 0)
    return X4_REJECT;
  double r = Remaining();
  bool purchase = SettlementSource == SOURCE_PURCHASES;
  switch (Kind()) {
    case '1': return (purchase ? r < 0 : r > 0) ? X4_ACCEPT : X4_REJECT;
    case '2': return (purchase ? r > 0 : r < 0) ? X4_ACCEPT : X4_REJECT;
    default: return X4_ACCEPT;
  }
}

// The chosen settlement into the entry, when its amount passes the rule.
void FromSettlement(int source) {
  double proposed = source == SOURCE_PURCHASES ? -Remaining() : Remaining();
  int message = AmountRule(proposed);
  if (message != 0) {
    Uwaga(message);
    return;
  }
  if (!HasContractor()) f.amount = proposed;
  for (const char* name : {"DOK", "KOD", "NA1", "NA2", "KOP", "MIA", "ULI", "ROK", "REK", "TYT"})
    ToFieldCopyMaxField(Field(name), Settlement(name));
  f.source = source;
  K().previousAmount = 0;
  StoreState();
  std::string base = OpisPlatnosciZrodla();
  std::string joined = base + ZrodloKasyQStr();
  if (joined.size() <= NOTE_WIDTH) std::snprintf(K().note, sizeof K().note, "%-60.60s", joined.c_str());
}

void ChooseSettlement(int source) {
  if (OpenZ5ROZL(0) != 0) return;
  static PoleKodowane list[4];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "nr dokumentu", Slot(Z5ROZL, "DOK"), &Z5ROZL.tag[SETTLEMENT_TAG_NUMBER], 1, -1);
  DefinePoleKodowane(0, "kod kontrahenta", Slot(Z5ROZL, "KOD"), nullptr, 0, -1);
  DefinePoleKodowane(0, "nazwa", Slot(Z5ROZL, "NA1"), nullptr, 0, 27);
  SettlementSource = source;
  d4tag_select(Z5ROZL.table, Z5ROZL.tag[SETTLEMENT_TAG_NUMBER]);
  if (pole_kodowane_fun(nullptr, "ROZLICZENIA", list, SettlementRows, 5, 0, Z5ROZL.table) == KEY_ENTER)
    FromSettlement(source);
  d4close(Z5ROZL.table);
}

int SourceKey(Get4*, char*, int32_t) {
  if (f.sourceLocked) return PassOver();
  set_fun_help("F4", "Lista", HINT_ORDER);
  int key = g4char();
  if (key == KEY_F4) {
    int chosen = get_menu_function(" WYBIERZ ", ZRODLA_KASY, pozycja_zrodla_kasy(f.source), -1, -1);
    int source = typ_zrodla_z_pozycji(chosen);
    f.source = 0;
    if (chosen >= 1 && RealSource(source)) ChooseSettlement(source);
    Refresh();
    key = chosen >= 1 ? KEY_ENTER : -1;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

void DefineGets() {
  g4date(0, 20, f.date);
  g4picture("DD-MM/YY");
  g4valid(DateValid);
  g4(1, 20, f.accountText);
  g4width(ACCOUNT_WIDTH, ACCOUNT_WIDTH);
  g4call(AccountKey, 0);
  g4long(2, 25, &f.number);
  g4picture("99999");
  g4valid(NumberValid);
  g4(3, 20, f.sourceText);
  g4width(SOURCE_WIDTH, SOURCE_WIDTH);
  g4call(SourceKey, 0);
  g4field(4, 20, Slot(Z5KASA, "DOK"));
  g4call(SourceFieldKey, 0);
  g4double(5, 20, &f.amount);
  g4picture("########.##");
  g4valid(AmountValid);
  g4field(6, 7, Slot(Z5KASA, "TYT"));
  g4field(7, 20, Slot(Z5KASA, "KOD"));
  g4upper();
  g4call(ContractorKey, 0);
  g4valid(ContractorValid);
  const struct {
    int row, col;
    const char* name;
  } address[] = {{8, 7, "NA1"}, {9, 7, "NA2"}, {10, 17, "KOP"}, {10, 24, "MIA"}, {11, 7, "ULI"}};
  for (const auto& a : address) {
    g4field(a.row, a.col, Slot(Z5KASA, a.name));
    g4call(AddressKey, 0);
  }
  g4field(12, 17, Slot(Z5KASA, "ODB"));
  g4field(13, 17, Slot(Z5KASA, "KAS"));
  g4(14, 17, K().note);
  g4width(NOTE_WIDTH, NOTE_WIDTH);
  g4call(NoteKey, 0);
}

// ---- defaults and the save loop

void Defaults() {
  KontekstKasy& k = K();
  DbTable* t = Z5KASA.table;
  d4append_start(t, 0);
  d4blank(t);
  ToFieldCopyMaxString(Field("PRE"), salesOptions.cashDeskCode);
  char date[9];
  if (k.savedInRun > 0)
    date4assign(date, k.lastDate);
  else
    std::memcpy(date, get_cur_das(0), 8);
  std::memcpy(f4assign_ptr(Field("DAT")), date, 8);
  f4assign_char(Field("TYP"), k.kind);
  f4assign_char(Field("TKA"), k.kind == '3' ? 'K' : 'G');
  int account = 0;
  if (k.kind == '3') account = k.savedInRun > 0 ? k.lastAccount : k.request ? k.request->kod_banku : 1;
  if (k.kind == '3' && (account < 1 || account > 6)) account = 1;
  ToFieldCopyLongint(Field("TYK"), account);
  ToFieldCopyMaxString(Field("WAL"), "PLN");
  ToFieldCopyDouble(Field("KUR"), 1);
  ToFieldCopyDouble(Field("KUZ"), 1);
  long number = k.kind == '3' && k.savedInRun > 0 ? k.lastNumber
                                                  : OstatniNrKasy(k.kind, account, date4year(date)) + 1;
  ToFieldCopyLongint(Field("NUM"), number);
  if (PlatnoscKasowa* r = k.request) {
    double remaining = r->kwota - k.requestSum;
    double amount = r->kwota > 0 ? std::max(remaining, 0.0) : r->kwota == 0 ? 0 : std::min(remaining, 0.0);
    ToFieldCopyDouble(Field("KWO"), ROUND(amount, 2));
    ToFieldCopyMaxString(Field("DOK"), r->numer_dokumentu);
    ToFieldCopyMaxString(Field("TYT"), r->tytul);
    ToFieldCopyMaxString(Field("KOD"), r->kod_kontrahenta);
    ToFieldCopyMaxString(Field("NA1"), r->nazwa1);
    ToFieldCopyMaxString(Field("NA2"), r->nazwa2);
    ToFieldCopyMaxString(Field("KOP"), r->kod_pocztowy);
    ToFieldCopyMaxString(Field("MIA"), r->miasto);
    ToFieldCopyMaxString(Field("ULI"), r->ulica);
    ToFieldCopyLongint(Field("ROK"), r->rok);
    ToFieldCopyLongint(Field("REK"), r->rekord);
    ToFieldCopyLongint(Field("TYZ"), r->typ_zrodla);
  }
}

void InitialNote() {
  KontekstKasy& k = K();
  std::memset(k.note, ' ', NOTE_WIDTH);
  k.note[NOTE_WIDTH] = '\0';
  if (k.mode == 1) {
    std::string text = k.request ? k.request->opis_platnosci : OpisPlatnosciZrodla();
    std::snprintf(k.note, sizeof k.note, "%-60.60s", text.c_str());
  } else if (k.request) {
    JoinNote(k.request->opis_platnosci);
  }
}

// F2 takes the entry when its number and amount pass; 1 saved, 0 left.
int RunForm() {
  g4release(0);
  for (;;) {
    int key = g4read();
    if (key == KEY_ESC) return 0;
    if (key != KEY_F2) continue;
    int message = AmountRule(f.amount);
    if (message != 0) {
      Uwaga(message);
      continue;
    }
    if (NumberTaken()) {
      Uwaga(MSG_NUMBER_EXISTS);
      continue;
    }
    return 1;
  }
}

bool Save(long record) {
  KontekstKasy& k = K();
  DbTable* t = Z5KASA.table;
  StoreState();
  set_pass_inf(k.mode, Field("INF"));
  bool saved = k.mode == 1 ? d4write(t, record) == 0 : d4append(t) == 0;
  d4flush(t);
  return saved;
}

void PassOn() {
  KontekstKasy& k = K();
  if (k.request) k.requestSum += f4double(Field("KWO"));
  if (f4long(Field("REK")) <= 0) return;
  PrzeniesPlatnoscDoZrodla(0, k.note, k.request ? 0 : TRANSFER_OPEN_ALL);
  if (k.request) {
    std::string text(k.note);
    text.erase(text.find_last_not_of(' ') + 1);
    std::snprintf(k.request->opis_platnosci, sizeof k.request->opis_platnosci, "%s", text.c_str());
  }
}

}  // namespace

int formularz_kasy(int mode, char kind) {
  KontekstKasy& k = K();
  if (mode == 1 && EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  DbTable* t = Z5KASA.table;
  if (set_lock(t, -1) != 0) return 0;
  k.mode = mode;
  k.kind = kind;
  k.savedInRun = 0;
  long record = d4recno(t);
  {
    OpenedWindow window([] { return DefineWprowadzWindow(12, 0, 17, 80, "KASA", nullptr, nullptr); });
    if (window.handle >= 0) {
      pokaz_tlo(RES_FORM, 0, 0);
      add_help_line();
      set_fun_help("F2", "Zapisz", 1);
      for (;;) {
        if (mode == 1) {
          d4go(t, record);
          k.previousAmount = f4double(Field("KWO"));
          if (k.request) k.requestSum -= k.previousAmount;
        } else {
          Defaults();
          k.previousAmount = 0;
        }
        LoadState();
        f.sourceLocked = k.request != nullptr || (mode == 1 && f.source != 0);
        InitialNote();
        w4(2, 20, std::string(f4ptr(Field("PRE")), 4).c_str());
        DrawNote();
        DefineGets();
        bool saved = RunForm() == 1 && Save(record);
        g4release(1);
        if (!saved) {
          // The entry left is dropped: a change goes back to the stored record.
          d4changed(t, 0);
          if (mode == 1) {
            if (k.request) k.requestSum += k.previousAmount;
            d4go(t, record);
          }
          break;
        }
        record = d4recno(t);
        PassOn();
        k.savedInRun++;
        k.lastDate = date4long(f.date);
        k.lastAccount = f.account;
        k.lastNumber = f.number;
        if (mode == 1 || k.request) break;
        d4go(t, record);
      }
      remove_help_line();
    }
  }
  d4unlock(t);
  return browse_call(0, record > 0 ? record : 0) < 0 ? -3 : 0;
}
