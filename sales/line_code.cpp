#include "sales/line_code.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/services_catalogue.h"
#include "sales/document_lines.h"
#include "sales/line_form.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

WartosciPozycji wartosciPozycji = {};
char poziomCenKontrahenta = 'A';
FiltrKoduPozycji filtrKoduPozycji = {};

namespace {

constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;
constexpr int MSG_UNKNOWN_GOODS = 20127, MSG_ENTER_CODE = 20185;
constexpr int MSG_NO_STOCK = 40, MSG_UNKNOWN_ITEM = 46;
constexpr int FIRST_YEAR_OF_GROUPED = 2024, FIRST_YEAR_OF_RTY = 2022;
constexpr int LIST_ROW = 2;
constexpr int NAME_COLUMN = 30;   // the second name line shows below the list

DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
int Digit(DbField* field) { return c4atoi(f4ptr(field), static_cast<int>(f4len(field))); }
bool LineKind(int kind) { return kind == POLE_POZYCJI_NETTO || kind == POLE_POZYCJI_BRUTTO; }
bool Modifying() { return CurrentBrowse && CurrentBrowse->modify_mode; }
bool Correction() { return kontekstPozycji && kontekstPozycji->korekta; }
bool From2024() { return WorkingYear() >= FIRST_YEAR_OF_GROUPED; }

// A code field's text without its trailing blanks.
std::string CodeText(const char* code, int width) {
  std::string text(code, static_cast<size_t>(std::max(width, 0)));
  text = text.substr(0, text.find('\0'));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The VAT code of a catalogue entry on a line of the header's delivery type.
int CatalogueVatCode(int code, bool goods) {
  int delivery = Digit(Header("STM"));
  if (!From2024()) {
    if (salesOptions.usualVatCode == 5) code = 5;
    if (delivery == 2) code = f4char(Header("TTR")) == 'T' ? 7 : 5;
    if (delivery == 3) code = 5;
    return code;
  }
  code = grupa_stawki_vat(code);
  if (delivery == 2 || delivery == 3 || delivery == 7 || delivery == 8 || delivery == 9) code = 3;
  if (delivery == 5 || delivery == 6) code = 7;
  if (!goods && delivery == 1 && f4int(Header("TYV")) == 8) code = 2;
  return code;
}

std::string HeaderCountry() {
  std::string country(f4ptr(Header("KRA")), f4len(Header("KRA")));
  country.erase(country.find_last_not_of(' ') + 1);
  return country;
}

// The line's VAT code and rate from the catalogue's code.
void FillVat(int catalogueCode, bool goods) {
  f4assign_int(Line("VAT"), CatalogueVatCode(catalogueCode, goods));
  ToFieldCopyDouble(Line("VAS"), wartosc_stawki_vat(Line("VAT")));
  if (goods && (salesOptions.list103 == 2 || salesOptions.list103 == 3)) {
    f4assign_int(Line("VAT"), 4);
    ToFieldCopyDouble(Line("VAS"), 0);
  }
  if (Digit(Header("STM")) == 4) {
    ToFieldCopyDouble(Line("VAS"), 0);
    int index = indeks_stawki_oss(f4int(Line("VAT")), kontekstPozycji ? kontekstPozycji->stawki_oss : 0);
    f4assign_int(Line("VAT"), index);
    ToFieldCopyDouble(Line("VAS"), Z5KRAJ.table ? stawka_oss(HeaderCountry().c_str(), index) : 0);
  }
  wartosciPozycji.zapamietanyKodVat = f4int(Line("VAT"));
}

// What the goods and services fills share: names, rates, prices, account.
struct CatalogueFields {
  TableHandles& set;
  int names, vatCode, lumpSumOld, lumpSumNew, lumpSumRate, account, income, gtu;
};

struct PriceLevel {
  char letter;
  const char* net;
  const char* gross;
  int netField, grossField;
};

const PriceLevel GOODS_LEVELS[] = {
    {'A', "c.netto A", "c.brutto A", TOWA_CSN, TOWA_CSB},
    {'B', "c.netto B", "c.brutto B", TOWA_CBN, TOWA_CBB},
    {'C', "c.netto C", "c.brutto C", TOWA_CCN, TOWA_CCB},
    {'D', "c.netto zak", "c.brutto zak", TOWA_CZN, TOWA_CZB},
};
const PriceLevel SERVICE_LEVELS[] = {
    {'A', "c.netto A", "c.brutto A", USLU_CSN, USLU_CSB},
    {'B', "c.netto B", "c.brutto B", USLU_CBN, USLU_CBB},
    {'C', "c.netto C", "c.brutto C", USLU_CCN, USLU_CCB},
};

// The level of the letter, level A for any other.
template <size_t N>
size_t LevelOf(const PriceLevel (&levels)[N], char letter) {
  for (size_t i = 0; i < N; i++)
    if (levels[i].letter == letter) return i;
  return 0;
}

void FillPrices(DbField* net, DbField* gross) {
  double rate = FldKurs(Header("KVA"));
  double cnb = f4double(net) / rate, cbb = f4double(gross) / rate;
  if (salesOptions.roundPrices == 'T') {
    cnb = ROUND(cnb, 2);
    cbb = ROUND(cbb, 2);
  }
  ToFieldCopyDouble(Line("CNB"), cnb);
  ToFieldCopyDouble(Line("CBB"), cbb);
}

void FillCommon(const CatalogueFields& f, bool goods, int catalogue) {
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6", "KWU", "JED"};
  for (const char* name : NAMES) ToFieldCopyMaxField(Line(name), d4field(f.set.table, name));
  FillVat(f4int(f.set.field[f.vatCode]), goods);
  int year = WorkingYear();
  f4assign_int(Line("RYT"), f4int(f.set.field[year >= FIRST_YEAR_OF_RTY ? f.lumpSumNew : f.lumpSumOld]));
  ToFieldCopyField(Line("RYS"), f.set.field[f.lumpSumRate]);
  ToFieldCopyField(Line("KON"), f.set.field[f.account]);
  ToFieldCopyField(Line("TYP"), f.set.field[f.income]);
  f4assign_char(Line("ZRP"), '0' + catalogue);
  f4assign_char(Line("AKC"), '0' + catalogue);
  int gtu = f4int(f.set.field[f.gtu]);
  f4assign_int(Line("RE5"), gtu != 0 ? gtu : GTU_NONE_ITEM);
  etykiety_tekstow_pozycji();
}

// Refill unless an unchanged code of a line without catalogue kind is being changed.
bool Refill(const char* code) {
  const char* remembered = kontekstPozycji ? kontekstPozycji->kod_przy_otwarciu : "";
  return std::strcmp(code, remembered) != 0 || !Modifying() || wartosciPozycji.rodzajKartoteki != 0;
}

int GetKind() { return wartosciPozycji.rodzajPola; }

void Redisplay(int kind) {
  if (LineKind(kind) && CurrentBrowse && CurrentBrowse->edit_mode) OdswiezGety();
}

}  // namespace

int wypelnij_z_towaru(const char* code, int refill, int kind, char level) {
  if (OpenZ5TOWA(0) != 0) return -1;
  DbTable* goods = Z5TOWA.table;
  int found = SeekTowarByKod(code);
  if (found > 0) {
    if (!LineKind(kind)) {
      Uwaga(MSG_UNKNOWN_GOODS);
      d4close(goods);
      return -1;
    }
    if (dopisz_towar_z_dokumentu(code) < 0) {
      d4close(goods);
      return -1;
    }
    if (kontekstPozycji) kontekstPozycji->kod_przy_otwarciu[0] = '\0';
    refill = 1;
    found = SeekTowarByKod(code);
  }
  if (found != 0) {
    d4close(goods);
    return -1;
  }
  int result = 0;
  if (LineKind(kind) && refill) {
    double stock = f4double(Z5TOWA.field[TOWA_ILO]);
    double line = f4double(Line("ILO"));
    wartosciPozycji.dostepnaIlosc = !Modifying() ? stock : stock > 0 ? stock + line : line;
    if (!Correction() && !Modifying() && salesOptions.blockNonPositiveStock == 'T' && stock <= 0) {
      Uwaga(MSG_NO_STOCK);
      d4close(goods);
      return -1;
    }
    FillCommon({Z5TOWA, TOWA_NA1, TOWA_VST, TOWA_RYT, TOWA_RTY, TOWA_RYS, TOWA_KOS, TOWA_TYP, TOWA_RE2}, true, 1);
    const PriceLevel& l = GOODS_LEVELS[LevelOf(GOODS_LEVELS, level)];
    FillPrices(Z5TOWA.field[l.netField], Z5TOWA.field[l.grossField]);
  } else if (kind == POLE_FILTRA_KODU) {
    ToMemCopyField(filtrKoduPozycji.nazwa, Z5TOWA.field[TOWA_NA1], sizeof filtrKoduPozycji.nazwa - 1);
  }
  d4close(goods);
  Redisplay(kind);
  return result;
}

int waliduj_kod_towaru(Get4* get) {
  std::string code = CodeText(static_cast<const char*>(get->data), get->dataWidth);
  return wypelnij_z_towaru(code.c_str(), Refill(code.c_str()), GetKind(), wartosciPozycji.poziomCeny);
}

int wypelnij_z_uslugi(Get4* get) {
  int kind = GetKind();
  std::string code = CodeText(static_cast<const char*>(get->data), get->dataWidth);
  if (OpenZ5USLU(0) != 0) return -1;
  DbTable* services = Z5USLU.table;
  std::string key = code;
  key.resize(f4len(Z5USLU.field[USLU_KOD]), ' ');
  d4tag_select(services, Z5USLU.tag[0]);
  int found = d4seek(services, key.c_str());
  if (found != 0) {
    if (found > 0) Uwaga(MSG_UNKNOWN_ITEM);
    d4close(services);
    return -1;
  }
  if (LineKind(kind) && Refill(code.c_str())) {
    FillCommon({Z5USLU, USLU_NA1, USLU_VTS, USLU_RYT, USLU_RTY, USLU_RYS, USLU_KOS, USLU_TYP, USLU_RE2}, false, 2);
    const PriceLevel& l = SERVICE_LEVELS[LevelOf(SERVICE_LEVELS, wartosciPozycji.poziomCeny)];
    FillPrices(Z5USLU.field[l.netField], Z5USLU.field[l.grossField]);
  } else if (kind == POLE_FILTRA_KODU) {
    ToMemCopyField(filtrKoduPozycji.nazwa, Z5USLU.field[USLU_NA1], sizeof filtrKoduPozycji.nazwa - 1);
  }
  d4close(services);
  Redisplay(kind);
  return 0;
}

int waliduj_kod_pozycji(Get4* get) {
  int kind = GetKind();
  if (LineKind(kind) && Modifying() && Correction()) return 0;
  std::string code = CodeText(static_cast<const char*>(get->data), get->dataWidth);
  wartosciPozycji.pustyKod = code.empty();
  if (kind == POLE_WYKRESU) return 0;
  if (code.empty()) {
    if (kind == POLE_FILTRA_KODU) {
      Uwaga(MSG_ENTER_CODE);
      return -1;
    }
    f4assign_char(Line("ZRP"), ' ');
    etykiety_tekstow_pozycji();
  } else {
    int& catalogue = wartosciPozycji.rodzajKartoteki;
    if (catalogue == 0) catalogue = salesOptions.list44 == 2 ? 2 : 1;
    int result = catalogue == 2 ? wypelnij_z_uslugi(get) : waliduj_kod_towaru(get);
    if (result != 0) return result;
    if (kind == POLE_FILTRA_KODU) filtrKoduPozycji.kartoteka = static_cast<char>('0' + catalogue);
  }
  if (LineKind(kind) && kontekstPozycji) {
    std::memset(kontekstPozycji->kod_przy_otwarciu, 0, sizeof kontekstPozycji->kod_przy_otwarciu);
    std::memcpy(kontekstPozycji->kod_przy_otwarciu, code.data(),
                std::min(code.size(), sizeof kontekstPozycji->kod_przy_otwarciu - 1));
  }
  return 0;
}

int filtr_aktywnych_towarow(intptr_t) { return f4char(Z5TOWA.field[TOWA_STA]) == 'N' ? X4_REJECT : X4_ACCEPT; }
int filtr_aktywnych_uslug(intptr_t) { return f4char(Z5USLU.field[USLU_STA]) == 'N' ? X4_REJECT : X4_ACCEPT; }

namespace {

// A picker over an open catalogue: the code and name columns, the second
// name line and the prices of the level; F7 steps the level. Enter copies
// the code into `code`.
template <size_t N>
int Pick(char* code, TableHandles& set, int codeField, int nameField, const PriceLevel (&levels)[N],
         bool goods, int (*catalogue)(), DbScanFilter filter, const char* title) {
  size_t level = LevelOf(levels, wartosciPozycji.poziomCeny);
  int shown = goods ? salesOptions.list61 : 1;
  bool byName = salesOptions.listsByName == 'T';
  std::string caption = Utf8ToMazText(title);
  // F7 gives the list back for the next level, on the record it stood on
  Environment* env = EnvCurrent();
  char remember = env->codedFieldRemember;
  env->codedFieldRemember = goods ? 2 : 1;
  env->codedFieldMemory = 0;
  for (;;) {
    static PoleKodowane list[7];
    ResetPoleKodowaneDefinition(list, sizeof list);
    const PriceLevel& l = levels[level];
    DbField** codeVar = &set.field[codeField];
    DbField** nameVar = &set.field[nameField];
    DbTag** codeTag = &set.tag[0];
    DbTag** nameTag = &set.tag[1];
    if (byName) DefinePoleKodowane(0, "nazwa", nameVar, nameTag, 1, NAME_COLUMN);
    DefinePoleKodowane(0, "kod", codeVar, codeTag, byName ? 0 : 1, -1);
    if (!byName) DefinePoleKodowane(0, "nazwa", nameVar, nameTag, 0, NAME_COLUMN);
    DefinePoleKodowane(CODED_BELOW | CODED_NO_COLUMN, " ", &set.field[nameField + 1], nullptr, 0, -1);
    if (shown != 3) DefinePoleKodowane(CODED_THOUSANDS, l.net, &set.field[l.netField], nullptr, 0, -1);
    if (shown != 2) DefinePoleKodowane(CODED_THOUSANDS, l.gross, &set.field[l.grossField], nullptr, 0, -1);
    int key = pole_kodowane_fun(catalogue, TextRef(caption.c_str()), list, filter, LIST_ROW, 0, set.table);
    if (key == KEY_CODED_PRICE) {
      level = (level + 1) % N;
      continue;
    }
    env->codedFieldRemember = remember;
    if (key != KEY_ENTER) return KEY_ESC;
    wartosciPozycji.poziomCeny = l.letter;
    size_t width = f4len(set.field[codeField]);
    std::memcpy(code, f4ptr(set.field[codeField]), width);
    return KEY_ENTER;
  }
}

}  // namespace

int wybierz_towar(char* code) {
  if (OpenZ5TOWA(0) != 0) return KEY_ESC;
  int key = Pick(code, Z5TOWA, TOWA_KOD, TOWA_NA1, GOODS_LEVELS, true, kartoteka_towarow_z_dokumentu,
                 filtr_aktywnych_towarow, "Spis towarów");
  if (key == KEY_ENTER) wartosciPozycji.rodzajKartoteki = 1;
  d4close(Z5TOWA.table);
  return key;
}

int wybierz_usluge(char* code) {
  if (OpenZ5USLU(0) != 0) return KEY_ESC;
  int key = Pick(code, Z5USLU, USLU_KOD, USLU_NA1, SERVICE_LEVELS, false, kartoteka_uslug_z_dokumentu, filtr_aktywnych_uslug,
                 "Spis usług");
  if (key == KEY_ENTER) wartosciPozycji.rodzajKartoteki = 2;
  d4close(Z5USLU.table);
  return key;
}

int pole_towar_usluga(Get4*, char* code, int32_t kind) {
  wartosciPozycji.rodzajPola = kind;
  if (LineKind(kind) && Modifying() && Correction()) return KEY_ENTER;
  bool goodsOffered = kind != POLE_FILTRA_KODU || filtrKoduPozycji.kartoteka != '2';
  bool servicesOffered = kind != POLE_FILTRA_KODU || filtrKoduPozycji.kartoteka != '1';
  if (goodsOffered) set_fun_help("F4", "Towar", 4);
  if (servicesOffered) set_fun_help("F5", Utf8ToMazText("Usługa").c_str(), 5);
  int key = g4char();
  // the chart has no line of its own: only a pick tells its catalogue
  if (kind == POLE_WYKRESU)
    wartosciPozycji.rodzajKartoteki = 0;
  else if (Z5SPRE.table)
    wartosciPozycji.rodzajKartoteki = Digit(Line("ZRP"));
  int level = salesOptions.list60;
  wartosciPozycji.poziomCeny = level >= 1 && level <= 3 ? static_cast<char>('A' + level - 1) : poziomCenKontrahenta;
  if (key == KEY_F4 && goodsOffered)
    key = wybierz_towar(code) == KEY_ENTER ? KEY_ENTER : -1;
  else if (key == KEY_F5 && servicesOffered)
    key = wybierz_usluge(code) == KEY_ENTER ? KEY_ENTER : -1;
  if (WigetCtrlKey(key)) {
    remove_fun_help("F4");
    remove_fun_help("F5");
  }
  return key;
}
