// The contractor and goods pickers of the warehouse documents' code fields:
// the F4 lists and the validators that fill the document from the catalogue.
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/address_clipboard.h"
#include "masterdata/contractors.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/price_arithmetic.h"
#include "masterdata/warehouse_documents.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

char* nazwa_z_walidacji = nullptr;
int szerokosc_nazwy_z_walidacji = 0;
int nowy_dokument_magazynowy = 0;
int pusty_kontrahent_magazynu = 1;
int pusty_towar_pozycji = 1;

namespace {

constexpr int MSG_CONTRACTORS = 20082, MSG_GOODS = 20168;
constexpr int MSG_UNKNOWN_CONTRACTOR = 20126, MSG_ENTER_CODE = 20185, MSG_UNKNOWN_GOODS = 20127;
constexpr int LIST_ROW = 5;
constexpr int KEY_CTRL_O = 15, KEY_F4 = 0x3E00;
// Contractor tags in their catalogue order.
constexpr int CONTRACTORS_BY_NAME = 0, CONTRACTORS_BY_CODE = 1, CONTRACTORS_BY_NIP = 2;
constexpr int HINT_ORDER = 4;
constexpr int TYPE_INTERNAL = 4, TYPE_BUYER = 2;
constexpr int MODE_FILTER_CONTRACTOR = 7, MODE_FILTER_GOODS = 5;
constexpr int NAME_COLUMN = 27, GOODS_NAME_COLUMN = 30, GOODS_NAME_WITH_BOTH = 18;

int contractorMode = 1;

DbField* Khnt(const char* name) { return d4field(Z5KHNT.table, name); }
DbField** KhntSlot(const char* name) {
  DbField* field = Khnt(name);
  for (DbField*& bound : Z5KHNT.field)
    if (bound == field) return &bound;
  return nullptr;
}
int goodsMode = 2;
bool goodsFromList = false;
std::string lastGoodsCode;

std::string Text(const char* buffer, int width) {
  std::string text(buffer, strnlen(buffer, static_cast<size_t>(width)));
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

void PutName(DbField* field) {
  if (!nazwa_z_walidacji) return;
  std::memset(nazwa_z_walidacji, ' ', static_cast<size_t>(szerokosc_nazwy_z_walidacji));
  if (field) {
    size_t n = std::min<size_t>(f4len(field), static_cast<size_t>(szerokosc_nazwy_z_walidacji));
    std::memcpy(nazwa_z_walidacji, f4ptr(field), n);
  }
}

int ContractorRows(intptr_t) {
  if (f4char(Khnt("STA")) == 'N') return X4_REJECT;
  int type = f4int(Khnt("TYP"));
  if (type == TYPE_INTERNAL) return X4_ACCEPT;
  return type == TYPE_BUYER && warehouseOptions.showReceivers == 'T' ? X4_ACCEPT : X4_REJECT;
}

int GoodsRows(intptr_t) { return f4char(Z5TOWA.field[TOWA_STA]) == 'N' ? X4_REJECT : X4_ACCEPT; }

// The key that ended the list, copying the chosen field over the buffer.
int PickInto(char* buffer, int width, DbField* chosen, int key) {
  if (key != KEY_ENTER) return key;
  std::memset(buffer, ' ', static_cast<size_t>(width));
  std::memcpy(buffer, f4ptr(chosen), std::min<size_t>(f4len(chosen), static_cast<size_t>(width)));
  return KEY_ENTER;
}

}  // namespace

int kontrahent_magazynu_f4_lista(Get4* get, char* codeBuffer, int32_t mode) {
  contractorMode = mode;
  set_fun_help("F4", "Lista", HINT_ORDER);
  int key = g4char();
  if (key == KEY_F4 && OpenZ5KHNT(0) == 0) {
    static PoleKodowane list[4];
    ResetPoleKodowaneDefinition(list, sizeof list);
    DefinePoleKodowane(0, "kod", KhntSlot("KOD"), &Z5KHNT.tag[CONTRACTORS_BY_CODE], 1, -1);
    DefinePoleKodowane(0, "nazwa", KhntSlot("NA1"), &Z5KHNT.tag[CONTRACTORS_BY_NAME], 0, NAME_COLUMN);
    DefinePoleKodowane(0, "NIP", KhntSlot("NIP"), &Z5KHNT.tag[CONTRACTORS_BY_NIP], 0, -1);
    int picked = pole_kodowane_fun(kartoteka_kontrahentow_z_dokumentu, MSG_CONTRACTORS, list, ContractorRows,
                                   LIST_ROW, 0, Z5KHNT.table);
    key = PickInto(codeBuffer, get->dataWidth, Khnt("KOD"), picked);
    if (key != KEY_ENTER) key = -1;
    d4close(Z5KHNT.table);
  } else if (key == KEY_F4) {
    key = -1;
  } else if (key == KEY_CTRL_O && mode == 1 && wklej_adres(key, codeBuffer)) {
    key = KEY_ENTER;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int valid_kontrahent_magazynu(Get4* get) {
  std::string code = Text(static_cast<const char*>(get->data), get->dataWidth);
  pusty_kontrahent_magazynu = code.empty();
  if (code.empty()) {
    if (contractorMode != MODE_FILTER_CONTRACTOR) return 0;
    Uwaga(MSG_ENTER_CODE);
    return -1;
  }
  if (OpenZ5KHNT(0) != 0) return -1;
  int found = SeekKontrahentByKod(code.c_str());
  int result = 0;
  if (found < 0) {
    result = -1;
  } else if (found > 0) {
    Uwaga(MSG_UNKNOWN_CONTRACTOR);
    result = -1;
  } else if (contractorMode == MODE_FILTER_CONTRACTOR) {
    PutName(Khnt("NA1"));
  } else {
    const PolaSchowkaAdresu& p = pola_schowka_adresu;
    const struct {
      DbField* to;
      const char* from;
    } copies[] = {{p.code, "KOD"}, {p.name1, "NA1"}, {p.name2, "NA2"}, {p.postal_code, "KOP"},
                  {p.town, "MIA"}, {p.street, "ULI"}, {p.nip, "NIP"}};
    for (const auto& c : copies) {
      if (!c.to) continue;
      f4blank(c.to);
      ToMaxFieldCopyField(c.to, Khnt(c.from));
    }
    if (nowy_dokument_magazynowy && p.person) ToMaxFieldCopyField(p.person, Khnt("OSO"));
    // The code itself sits in the get's buffer as typed.
    OdswiezGety();
  }
  d4close(Z5KHNT.table);
  return result;
}

int towar_f4_lista(Get4* get, char* codeBuffer, int32_t mode) {
  goodsMode = mode;
  goodsFromList = false;
  set_fun_help("F4", "Towar", HINT_ORDER);
  int key = g4char();
  if (key == KEY_F4 && OpenZ5TOWA(0) == 0) {
    static PoleKodowane list[5];
    ResetPoleKodowaneDefinition(list, sizeof list);
    bool byName = warehouseOptions.searchByName == 'T';
    int prices = warehouseOptions.pricesShown;
    int nameWidth = prices == 1 ? GOODS_NAME_WITH_BOTH : GOODS_NAME_COLUMN;
    auto code = [&] { DefinePoleKodowane(0, "kod", &Z5TOWA.field[TOWA_KOD], &Z5TOWA.tag[TOWA_TAG_KOD], !byName, -1); };
    auto name = [&] {
      DefinePoleKodowane(0, "nazwa", &Z5TOWA.field[TOWA_NA1], &Z5TOWA.tag[TOWA_TAG_NA1], byName, nameWidth);
    };
    if (byName) {
      name();
      code();
    } else {
      code();
      name();
    }
    if (prices == 1 || prices == 2) DefinePoleKodowane(CODED_THOUSANDS, "c.netto", &Z5TOWA.field[TOWA_CZN], nullptr, 0, -1);
    if (prices == 1 || prices == 3)
      DefinePoleKodowane(CODED_THOUSANDS, "c.brutto", &Z5TOWA.field[TOWA_CZB], nullptr, 0, -1);
    int picked = pole_kodowane_fun(kartoteka_towarow_z_dokumentu, MSG_GOODS, list, GoodsRows, LIST_ROW, 0,
                                   Z5TOWA.table);
    key = PickInto(codeBuffer, get->dataWidth, Z5TOWA.field[TOWA_KOD], picked);
    if (key == KEY_ENTER)
      goodsFromList = true;
    else
      key = -1;
    d4close(Z5TOWA.table);
  } else if (key == KEY_F4) {
    key = -1;
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

void ustaw_ostatni_kod_towaru(const char* code) { lastGoodsCode = code; }

int valid_towar_pozycji(Get4* get) {
  std::string code = Text(static_cast<const char*>(get->data), get->dataWidth);
  bool fromList = goodsFromList;
  goodsFromList = false;
  pusty_towar_pozycji = code.empty();
  if (code.empty()) {
    lastGoodsCode.clear();
    if (goodsMode != MODE_FILTER_GOODS) return 0;
    Uwaga(MSG_ENTER_CODE);
    return -1;
  }
  bool line = goodsMode != MODE_FILTER_GOODS;
  if (line && code == lastGoodsCode && modyfikacja_pozycji_magazynowej && !fromList) return 0;
  if (OpenZ5TOWA(0) != 0) return -1;
  std::string key = code;
  key.resize(f4len(Z5TOWA.field[TOWA_KOD]), ' ');
  int found = SeekTowarByKod(key.c_str());
  if (found > 0 && line && dopisz_towar_z_dokumentu(code.c_str()) >= 0) found = SeekTowarByKod(key.c_str());
  int result = 0;
  if (found < 0) {
    result = -1;
  } else if (found > 0) {
    if (!line) {
      Uwaga(MSG_UNKNOWN_GOODS);
      PutName(nullptr);
    }
  } else if (!line) {
    PutName(Z5TOWA.field[TOWA_NA1]);
  } else {
    DbTable* lines = stronaMagazynu->lines->table;
    const char* names[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"};
    const int goods[] = {TOWA_NA1, TOWA_NA2, TOWA_NA3, TOWA_NA4, TOWA_NA5, TOWA_NA6};
    for (int i = 0; i < 6; i++) ToMaxFieldCopyField(d4field(lines, names[i]), Z5TOWA.field[goods[i]]);
    ToMaxFieldCopyField(d4field(lines, "JED"), Z5TOWA.field[TOWA_JED]);
    DbField* vat = d4field(lines, "VAT");
    f4assign_long(vat, f4int(Z5TOWA.field[TOWA_VZT]));
    double rate = wartosc_stawki_vat(vat);
    f4assign_double(d4field(lines, "VAS"), rate);
    double net = zaokraglij_cene(f4double(Z5TOWA.field[TOWA_CZN]));
    f4assign_double(d4field(lines, "CEN"), net);
    f4assign_double(d4field(lines, "CEB"), zaokraglij_cene(net * (1 + rate / 100)));
    ustaw_tekst_stawki_pozycji();
    OdswiezGety();
  }
  // A failed seek leaves the buffer on no record: it must not be written back.
  if (found != 0) d4changed(Z5TOWA.table, 0);
  if (result == 0) lastGoodsCode = code;
  d4close(Z5TOWA.table);
  return result;
}
