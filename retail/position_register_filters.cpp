// The filters of the receipt position register: the items of its "FILTRY"
// window, the record test with the joins of account, receipt and buyer, and
// the description of the confirmed filters for printouts.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "masterdata/accounts.h"
#include "retail/position_register.h"
#include "retail/receipt_positions.h"
#include "retail/receipts.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/get4.h"
#include "ui/keyboard.h"

namespace retail {

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int HEADERS_BY_REC = 3;
constexpr int BUYERS_BY_RECEIPT = 1;
constexpr int NAME_NOTE = 40, BUYER_NOTE = 60, ACCOUNT_NOTE = 34;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

void Blank(DbTable* table) {
  d4go_eof(table);
  d4blank(table);
  d4changed(table, 0);
}

// The receipt of the position by its identifier, and with `buyer` its buyer
// record; blank records where there is none. -1 on a seek error.
int JoinHeader(bool buyer) {
  DbTable* headers = Z5PARA.table;
  if (!headers) return 0;
  long rek = f4long(P("REK"));
  int rc = 1;
  if (rek != 0) {
    DbTag* previous = d4tag_selected(headers);
    d4tag_select(headers, Z5PARA.tag[HEADERS_BY_REC]);
    rc = d4seek_double(headers, static_cast<double>(rek));
    d4tag_select(headers, previous);
    if (rc < 0) return -1;
  }
  if (rc != 0) Blank(headers);
  DbTable* buyers = Z5PARO.table;
  if (!buyer || !buyers) return 0;
  if (rc != 0) {
    Blank(buyers);
    return 0;
  }
  d4tag_select(buyers, Z5PARO.tag[BUYERS_BY_RECEIPT]);
  int found = d4seek_double(buyers, f4double(d4field(headers, "REC")));
  if (found < 0) return -1;
  if (found != 0) Blank(buyers);
  return 0;
}

int Accept(bool passed) { return passed ? X4_ACCEPT : X4_REJECT; }

// VAT choices hold the code as '0' + code.
int VatTest(DbField* field, int32_t code, DbTable*) { return Accept(f4long(field) == code - '0'); }

// From 2024 the receipt rate menu with its margin item.
int VatKey(Get4*, char*, int32_t) {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  FilterItem* item = c ? c->elementy[FP_STAWKA] : nullptr;
  if (!item) return KEY_ESC;
  int current = item->work_code > '0' ? item->work_code - '0' : 1;
  int code = wybierz_stawke_paragonu(current, 1);
  if (code < 0) return KEY_ESC;
  item->work_code = '0' + code;
  return KEY_ENTER;
}

// The note of the item being edited takes `text`.
void Note(int index, const char* text) {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  FilterItem* item = c ? c->elementy[index] : nullptr;
  if (!item || !item->work_text2) return;
  std::string note(text ? text : "");
  note.resize(static_cast<size_t>(item->length2), ' ');
  std::memcpy(item->work_text2, note.data(), note.size());
}

int PrefixValid(Get4* get) {
  wyrownaj_w_prawo(static_cast<char*>(get->data), get->dataWidth);
  return 0;
}

int GoodsValid(Get4* get) {
  int rc = sprawdz_kod_filtru(get);
  if (rc == 0) Note(FP_TOWAR, nazwaTowaruFiltru);
  return rc;
}

int AccountValid(Get4* get) {
  char name[ACCOUNT_NOTE + 2] = {};
  int rc = valid_konto(get, nullptr, nullptr, name);
  if (rc == 0) Note(FP_KONTO, name);
  return rc;
}

FilterItem* Text(DbField* field, const char* label, const char* prefix, uint32_t flags, int note, GetKeyRoutine key,
                 int32_t keyData, GetValidator valid) {
  return DefineFilter(FilterFld(field), Sys(label), Sys(prefix), FILTER_TEXT, flags, note, key, keyData, valid);
}

}  // namespace

void definiuj_filtry_ewidencji_paragonow(kontekst_ewidencji_paragonow* c) {
  ResetFiltersDefinition(&c->filtry, c->pamiecFiltrow, sizeof c->pamiecFiltrow);
  FilterItem** e = c->elementy;
  uint32_t date = FILTER_DATE_NEEDED | FILTER_SHORT_DATE;
  e[FP_OD_DNIA] = DefineFilter(FilterFld(P("DAV")), Sys("od dnia........"), " od:", FILTER_DATE, date);
  e[FP_DO_DNIA] =
      DefineFilter(FilterFld(P("DAV")), Sys("do dnia........"), " do:", FILTER_DATE, date | FILTER_UPPER_BOUND);
  e[FP_PREFIKS] = Text(P("PRE"), "ident. numeru..", " id. nr:", FILTER_UPPER, 0, nullptr, 0, PrefixValid);
  e[FP_TOWAR] = Text(P("KOT"), "kod towaru.....", " kod tow:", FILTER_UPPER, NAME_NOTE, klawisz_kodu_pozycji,
                     KOD_FILTRU_EWIDENCJI, GoodsValid);
  e[FP_NABYWCA] = Z5PARO.table ? Text(d4field(Z5PARO.table, "KNA"), "kod kontrahenta", " kod kontr:",
                                      FILTER_UPPER | FILTER_DIRECT_FIELD, BUYER_NOTE, nullptr, 0, nullptr)
                               : nullptr;
  e[FP_KONTO] = Z5KONT.table ? Text(d4field(Z5KONT.table, "NUM"), "numer konta....", " nr konta:",
                                    FILTER_DIRECT_FIELD, ACCOUNT_NOTE, konto_f4_lista, 0, AccountValid)
                             : nullptr;
  if (e[FP_KONTO]) e[FP_KONTO]->picture = "999-9999";
  e[FP_STAWKA] =
      DefineFilter(FilterFld(P("VAT")), Sys("stawka VAT....."), " VAT:", FILTER_CHOICE, 0u, NAZWY_STAWEK_VAT);
  if (e[FP_STAWKA]) {
    e[FP_STAWKA]->own_test.code = VatTest;
    if (WorkingYear() >= FIRST_YEAR_2024) e[FP_STAWKA]->key_routine = VatKey;
  }
}

int filtr_ewidencji_paragonow(intptr_t) {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  if (!c) return X4_ACCEPT;
  if (c->zKontem && konto_pozycji(0) < 0) return -1;
  FilterItem* buyer = c->elementy[FP_NABYWCA];
  bool withBuyer = buyer && buyer->active && !c->filtry.off;
  if ((c->zNaglowkiem || withBuyer) && JoinHeader(withBuyer) < 0) return -1;
  if (c->filtry.off) return X4_ACCEPT;
  return FilterFunctionEx(&c->filtry, nullptr);
}

int filtry_ewidencji_paragonow() {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  if (!c) return 0;
  int mode = stanKoduPozycji.tryb;
  char* lastCode = ostatniKodFiltru;
  char remembered[sizeof stanKoduPozycji.ostatniKod] = {};
  stanKoduPozycji.tryb = KOD_FILTRU_EWIDENCJI;
  ostatniKodFiltru = remembered;
  OpenFiltersWindow(&c->filtry);
  stanKoduPozycji.tryb = mode;
  ostatniKodFiltru = lastCode;
  return c->filtry.changed ? 1 : 0;
}

void opis_filtrow_ewidencji(char* text, int size) {
  kontekst_ewidencji_paragonow* c = kontekstEwidencjiParagonow;
  if (size <= 0) return;
  text[0] = '\0';
  if (!c || c->filtry.off) return;
  std::string all;
  for (int i = 0; i < c->filtry.count; i++) {
    FilterItem* item = &c->filtry.items[i];
    if (!item->active) continue;
    char piece[512] = {};
    AddFilterItemStatus(item, piece);
    std::string s(piece);
    s.erase(s.find_last_not_of(' ') + 1);
    all += s;
  }
  std::strncpy(text, all.c_str(), static_cast<size_t>(size - 1));
  text[size - 1] = '\0';
}

}  // namespace retail
