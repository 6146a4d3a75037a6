// The code slot of a receipt position and of the goods filters: its key
// routine with the goods (F4) and services (F5) pickers at price levels A to
// C, the scanner's start and end keys, the checks of a typed code and the
// loading of a goods or service entry into the position.
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
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "fiscal/printer_params.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/goods_catalogue.h"
#include "masterdata/services_catalogue.h"
#include "retail/receipt_positions.h"
#include "sales/line_code.h"
#include "tables/masterdata_tables.h"
#include "tables/receipt_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"

namespace retail {

StanKoduPozycji stanKoduPozycji = {KOD_PARAGONU_NETTO, 0, 'A', 0, {}};
char nazwaTowaruFiltru[41];
char* ostatniKodFiltru = nullptr;

namespace {

constexpr int KEY_F4 = 0x3E00, KEY_F5 = 0x3F00;
constexpr int KEY_SCANNER_END = 3;
constexpr int MSG_NO_STOCK = 40, MSG_UNKNOWN_ITEM = 46, MSG_UNKNOWN_GOODS = 20127, MSG_ENTER_CODE = 20185;
constexpr int MSG_GOODS_LIST = 20168, MSG_SERVICES_LIST = 20169;
constexpr int LIST_ROW = 5;
constexpr int NOT_TAXED = 7, MARGIN_CODE = 14, USUAL_ZERO_CODE = 5, EXEMPT_CODE = 4;

DbField* P(const char* name) { return d4field(Z5PARE.table, name); }
DbField* H(const char* name) { return d4field(Z5PARA.table, name); }

bool PositionMode(int mode) { return mode == KOD_PARAGONU_NETTO || mode == KOD_PARAGONU_BRUTTO; }

// The get's text without its trailing blanks.
std::string SlotText(Get4* get) {
  std::string text(static_cast<const char*>(get->data), static_cast<size_t>(std::max(get->dataWidth, 0)));
  text = text.substr(0, text.find('\0'));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

void Remember(char (&buffer)[19], const std::string& code) {
  std::memset(buffer, 0, sizeof buffer);
  std::memcpy(buffer, code.data(), std::min(code.size(), sizeof buffer - 1));
}

struct Level {
  const char* net;
  const char* gross;
  int goodsNet, goodsGross, serviceNet, serviceGross;
};
const Level LEVELS[] = {
    {"c.netto A", "c.brutto A", TOWA_CSN, TOWA_CSB, USLU_CSN, USLU_CSB},
    {"c.netto B", "c.brutto B", TOWA_CBN, TOWA_CBB, USLU_CBN, USLU_CBB},
    {"c.netto C", "c.brutto C", TOWA_CCN, TOWA_CCB, USLU_CCN, USLU_CCB},
};
int Price(const Level& l, bool goods, bool gross) {
  return gross ? (goods ? l.goodsGross : l.serviceGross) : (goods ? l.goodsNet : l.serviceNet);
}
const Level& LevelOf(char letter) { return LEVELS[letter >= 'A' && letter <= 'C' ? letter - 'A' : 0]; }

// Which price columns the goods picker shows (receipt option 20).
constexpr int BOTH_PRICES = 1, NET_ONLY = 2, GROSS_ONLY = 3;

// A picker over an open catalogue; F7 steps the level and opens it again.
// Enter copies the code into `code`.
int Pick(char* code, TableHandles& set, bool goods) {
  int shown = goods ? parametryDetal.pricesShown : BOTH_PRICES;
  bool byName = parametryDetal.searchByName == 'T';
  int nameWidth = goods ? (shown == BOTH_PRICES ? 18 : 30) : 32;
  int codeField = goods ? int(TOWA_KOD) : int(USLU_KOD);
  int nameField = goods ? int(TOWA_NA1) : int(USLU_NA1);
  std::string title = RcQStr(goods ? MSG_GOODS_LIST : MSG_SERVICES_LIST);
  Environment* env = EnvCurrent();
  char remember = env->codedFieldRemember;
  env->codedFieldRemember = goods ? 2 : 1;
  env->codedFieldMemory = 0;
  for (;;) {
    static PoleKodowane list[8];
    ResetPoleKodowaneDefinition(list, sizeof list);
    const Level& l = LevelOf(stanKoduPozycji.poziomCeny);
    if (byName) DefinePoleKodowane(0, "nazwa", &set.field[nameField], &set.tag[1], 1, nameWidth);
    DefinePoleKodowane(0, "kod", &set.field[codeField], &set.tag[0], byName ? 0 : 1, -1);
    if (!byName) DefinePoleKodowane(0, "nazwa", &set.field[nameField], &set.tag[1], 0, nameWidth);
    if (goods) {
      static const std::string stock = Utf8ToMazText("ilość");
      DefinePoleKodowane(CODED_THOUSANDS, stock.c_str(), &set.field[TOWA_ILO], nullptr, 0, -1);
      DefinePoleKodowane(CODED_BELOW | CODED_NO_COLUMN, " ", &set.field[TOWA_NA2], nullptr, 0, -1);
    }
    if (shown != GROSS_ONLY)
      DefinePoleKodowane(CODED_THOUSANDS, l.net, &set.field[Price(l, goods, false)], nullptr, 0, -1);
    if (shown != NET_ONLY)
      DefinePoleKodowane(CODED_THOUSANDS, l.gross, &set.field[Price(l, goods, true)], nullptr, 0,
                         -1);
    int key = pole_kodowane_fun(goods ? kartoteka_towarow_z_dokumentu : kartoteka_uslug_z_dokumentu,
                                TextRef(title.c_str()), list, goods ? filtr_aktywnych_towarow : filtr_aktywnych_uslug,
                                LIST_ROW, 0, set.table);
    if (key == KEY_CODED_PRICE) {
      stanKoduPozycji.poziomCeny = nastepny_poziom_ceny(stanKoduPozycji.poziomCeny);
      continue;
    }
    env->codedFieldRemember = remember;
    if (key != KEY_ENTER) return KEY_ESC;
    std::memcpy(code, f4ptr(set.field[codeField]), f4len(set.field[codeField]));
    return KEY_ENTER;
  }
}

void Redisplay() {
  teksty_pozycji_paragonu();
  if (CurrentBrowse && CurrentBrowse->edit_mode) OdswiezGety();
}

// What the goods and services loads share: names, VAT, prices, account,
// origin and GTU group.
void Load(TableHandles& set, bool goods, char level) {
  static const char* const NAMES[] = {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6", "KWU", "JED"};
  for (const char* name : NAMES) ToFieldCopyMaxField(P(name), d4field(set.table, name));
  if (salesOptions.usualVatCode == USUAL_ZERO_CODE) {
    f4assign_int(P("VAT"), USUAL_ZERO_CODE);
    ToFieldCopyDouble(P("VAS"), 0);
  } else {
    f4assign_int(P("VAT"), f4int(set.field[goods ? int(TOWA_VST) : int(USLU_VTS)]));
    ToFieldCopyDouble(P("VAS"), wartosc_stawki_vat(P("VAT")));
  }
  if (salesOptions.list103 == 2 || salesOptions.list103 == 3) {
    f4assign_int(P("VAT"), EXEMPT_CODE);
    ToFieldCopyDouble(P("VAS"), 0);
  }
  const Level& l = LevelOf(level);
  double net = f4double(set.field[Price(l, goods, false)]);
  double gross = f4double(set.field[Price(l, goods, true)]);
  if (salesOptions.roundPrices == 'T') {
    net = ROUND(net, 2);
    gross = ROUND(gross, 2);
  }
  ToFieldCopyDouble(P("CNB"), net);
  ToFieldCopyDouble(P("CBB"), gross);
  ToFieldCopyField(P("KON"), set.field[goods ? int(TOWA_KOS) : int(USLU_KOS)]);
  f4assign_int(P("ZRP"), goods ? 1 : 2);
  int gtu = f4int(set.field[goods ? int(TOWA_RE2) : int(USLU_RE2)]);
  f4assign_int(P("RE2"), gtu != 0 ? gtu : GTU_NONE_ITEM);
  Redisplay();
}

}  // namespace

char nastepny_poziom_ceny(char level) { return level == 'A' ? 'B' : level == 'B' ? 'C' : 'A'; }

char poziom_ceny_z_opcji() {
  int option = parametryDetal.sellingPrice;
  return option >= 1 && option <= 3 ? static_cast<char>('A' + option - 1) : 'A';
}

int wybierz_towar(char* code) {
  if (OpenZ5TOWA(0) != 0) return -1;
  int key = Pick(code, Z5TOWA, true);
  if (key == KEY_ENTER) {
    stanKoduPozycji.kartoteka = 1;
    stanKoduPozycji.zPickeraTowarow = 1;
  }
  d4close(Z5TOWA.table);
  return key;
}

int wybierz_usluge(char* code) {
  if (OpenZ5USLU(0) != 0) return KEY_ESC;
  int key = Pick(code, Z5USLU, false);
  if (key == KEY_ENTER) stanKoduPozycji.kartoteka = 2;
  d4close(Z5USLU.table);
  return key;
}

int klawisz_kodu_pozycji(Get4*, char* code, int32_t mode) {
  StanKoduPozycji& s = stanKoduPozycji;
  s.tryb = mode;
  set_fun_help("F4", "Towar", 4);
  set_fun_help("F5", Utf8ToMazText("Usługa").c_str(), 5);
  Environment* env = EnvCurrent();
  char pause = env->noPauseKey;
  env->noPauseKey = 1;
  int key = g4char();
  env->noPauseKey = pause;
  s.zPickeraTowarow = 0;
  s.kartoteka = 0;
  s.poziomCeny = poziom_ceny_z_opcji();
  if (key == KEY_F4) {
    key = wybierz_towar(code) == KEY_ENTER ? KEY_ENTER : -1;
  } else if (key == KEY_F5) {
    key = wybierz_usluge(code) == KEY_ENTER ? KEY_ENTER : -1;
  } else if (key == KEY_SCANNER_END) {
    key = KEY_F2;
  } else if (key == KEY_CTRL_B) {
    key = -1;   // the scanner's start key, already in the code slot
  }
  if (key == -1 || WigetCtrlKey(key)) {
    remove_fun_help("F4");
    remove_fun_help("F5");
  }
  return key;
}

int pobierz_towar(const char* code, int load, char level) {
  if (OpenZ5TOWA(0) != 0) return -1;
  int found = SeekTowarByKod(code);
  if (found > 0) {
    int added = dopisz_towar_z_dokumentu(code);
    if (added > 0) {
      std::memset(stanKoduPozycji.ostatniKod, 0, sizeof stanKoduPozycji.ostatniKod);
      found = SeekTowarByKod(code);
    } else {
      d4close(Z5TOWA.table);
      return added;
    }
  }
  if (found != 0) {
    d4close(Z5TOWA.table);
    return -1;
  }
  int result = 0;
  if (load) {
    bool changing = CurrentBrowse && CurrentBrowse->modify_mode;
    if (changing || salesOptions.blockNonPositiveStock != 'T' || f4double(Z5TOWA.field[TOWA_ILO]) > 0) {
      Load(Z5TOWA, true, level);
    } else {
      Uwaga(MSG_NO_STOCK);
      result = -1;
    }
  }
  d4close(Z5TOWA.table);
  return result;
}

int pobierz_usluge(const char* code, int load) {
  if (OpenZ5USLU(0) != 0) return -1;
  DbTable* services = Z5USLU.table;
  std::string key = code;
  key.resize(f4len(Z5USLU.field[USLU_KOD]), ' ');
  d4tag_select(services, Z5USLU.tag[0]);
  int found = d4seek(services, key.c_str());
  if (found > 0) Uwaga(MSG_UNKNOWN_ITEM);
  if (found == 0 && load) Load(Z5USLU, false, stanKoduPozycji.poziomCeny);
  d4close(services);
  return found == 0 ? 0 : -1;
}

int sprawdz_kod_pozycji(Get4* get) {
  StanKoduPozycji& s = stanKoduPozycji;
  std::string code = SlotText(get);
  if (PositionMode(s.tryb)) {
    if (code.empty()) {
      f4assign(P("ZRP"), " ");
      Redisplay();
      return 0;
    }
    // a changed position's own code is reloaded from the catalogue it came from
    int origin = f4int(P("ZRP"));
    if (s.kartoteka == 0 && code == s.ostatniKod && (origin == 1 || origin == 2)) s.kartoteka = origin;
    if (s.kartoteka == 0) s.kartoteka = salesOptions.list44 == 2 ? 2 : 1;
    int loaded = s.kartoteka == 2 ? pobierz_usluge(code.c_str(), 1) : pobierz_towar(code.c_str(), 1, s.poziomCeny);
    if (loaded != 0) return -1;
  }
  Remember(s.ostatniKod, code);
  if (!PositionMode(s.tryb)) return 0;
  if (f4char(H("STA")) == 'T') {
    f4assign_int(P("VAT"), MARGIN_CODE);
    ToFieldCopyDouble(P("VAS"), 0);
  }
  // the values follow the loaded price at once: a scanned code is saved
  // straight from this slot
  int chain = trybWypelniania == 2 ? licz_od_ceny_brutto() : licz_od_ceny_netto();
  Redisplay();
  return chain == 0 ? 0 : -1;
}

int sprawdz_kod_filtru(Get4* get) {
  int mode = stanKoduPozycji.tryb;
  std::string code = SlotText(get);
  if (code.empty()) {
    if (mode != KOD_FILTRU_EWIDENCJI) return 0;
    Uwaga(MSG_ENTER_CODE);
    return -1;
  }
  if (OpenZ5TOWA(0) != 0) return -1;
  int found = SeekTowarByKod(code.c_str());
  if (found > 0) {
    if (mode == KOD_FILTRU_EWIDENCJI || dopisz_towar_z_dokumentu(code.c_str()) <= 0) {
      if (mode == KOD_FILTRU_EWIDENCJI) Uwaga(MSG_UNKNOWN_GOODS);
      d4close(Z5TOWA.table);
      return -1;
    }
    found = SeekTowarByKod(code.c_str());
  }
  int result = found == 0 ? 0 : -1;
  if (result == 0 && f4int(Z5TOWA.field[TOWA_VST]) == NOT_TAXED) {
    MessageWindow(MB_ERROR, Utf8ToMazText("Towar ze stawką VAT \"NIE PODLEGA\" nie może być wybrany.").c_str());
    result = -1;
  }
  if (result == 0 && mode == KOD_FILTRU_EWIDENCJI)
    ToMemCopyField(nazwaTowaruFiltru, Z5TOWA.field[TOWA_NA1], sizeof nazwaTowaruFiltru - 1);
  d4close(Z5TOWA.table);
  if (result == 0 && ostatniKodFiltru) {
    std::memset(ostatniKodFiltru, 0, sizeof stanKoduPozycji.ostatniKod);
    std::memcpy(ostatniKodFiltru, code.data(), std::min(code.size(), sizeof stanKoduPozycji.ostatniKod - 1));
  }
  return result;
}

}  // namespace retail
