// The currency check and the country and currency pickers over the common
// "Z5KRAJ", which each opens and closes itself.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "masterdata/countries.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"

namespace {

constexpr int KRAJ_SUE = 0, KRAJ_KKR = 1, KRAJ_KRA = 2, KRAJ_KOD = 3;
constexpr int BY_KRA = 1, BY_KOD = 2;
constexpr int MSG_UNKNOWN_CURRENCY = 20128;
constexpr int MSG_CURRENCIES = 20182;
constexpr int KEY_F4 = 0x3E00;
constexpr int LIST_ROW = 5;

// The flags of the running list: the lookup's row filter gets no data of its own.
int listFlags = 0;

bool HasCurrency() { return !FieldIsEmpty(Z5KRAJ.field[KRAJ_KOD]); }

int RowFilter(intptr_t) {
  bool member = f4char(Z5KRAJ.field[KRAJ_SUE]) == 'T';
  bool outside = f4char(Z5KRAJ.field[KRAJ_SUE]) == 'N';
  bool shown;
  switch (listFlags & 15) {
    case KRAJ_Z_WALUTA: shown = HasCurrency(); break;
    case KRAJ_UE: shown = member; break;
    case KRAJ_UE_Z_WALUTA: shown = member && HasCurrency(); break;
    case KRAJ_POZA_UE: shown = outside; break;
    case KRAJ_POZA_UE_Z_WALUTA: shown = outside && HasCurrency(); break;
    case KRAJ_UE_BEZ_EURO: shown = member && std::memcmp(f4ptr(Z5KRAJ.field[KRAJ_KOD]), "EUR", 3) != 0; break;
    default: shown = true; break;
  }
  return shown ? X4_ACCEPT : X4_REJECT;
}

DbField* YieldedField(int flags) {
  if (flags & KRAJ_DAJ_NAZWE) return Z5KRAJ.field[KRAJ_KRA];
  if (flags & KRAJ_DAJ_KOD_KRAJU) return Z5KRAJ.field[KRAJ_KKR];
  return Z5KRAJ.field[KRAJ_KOD];
}

std::string YieldedText(int flags) {
  DbField* field = YieldedField(flags);
  return std::string(f4ptr(field), f4len(field));
}

// The list "Waluty", F6 opening the catalogue: the key it ended with, the
// chosen text in *chosen after 13; 0 when the table cannot be opened.
int CurrencyList(int flags, std::string* chosen) {
  if (OpenZ5KRAJ(0) != 0) return 0;
  static PoleKodowane list[3];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kraj", &Z5KRAJ.field[KRAJ_KRA], &Z5KRAJ.tag[BY_KRA], 1, -1);
  DefinePoleKodowane(0, "waluta", &Z5KRAJ.field[KRAJ_KOD], &Z5KRAJ.tag[BY_KOD], 0, -1);
  listFlags = flags;
  int key = pole_kodowane_fun(kartoteka_krajow, MSG_CURRENCIES, list, RowFilter, LIST_ROW, 0, Z5KRAJ.table);
  if (key == KEY_ENTER) *chosen = YieldedText(flags);
  d4close(Z5KRAJ.table);
  return key;
}

}  // namespace

int valid_waluta(Get4* get) {
  const char* code = static_cast<const char*>(get->data);
  int width = get->dataWidth;
  if (BufferIsEmpty(code, width)) return -1;
  std::string pln("PLN");
  pln.resize(static_cast<size_t>(width), ' ');
  if (pln.compare(0, pln.size(), code, static_cast<size_t>(width)) == 0) return 0;
  if (OpenZ5KRAJ(0) != 0) return -1;
  d4tag_select(Z5KRAJ.table, Z5KRAJ.tag[BY_KOD]);
  int found = d4seek_n(Z5KRAJ.table, QuickStr(code, width, QS_UPPER), width);
  d4close(Z5KRAJ.table);
  if (found == 0) return 0;
  if (found > 0) Uwaga(MSG_UNKNOWN_CURRENCY);
  return -1;
}

int wybierz_kraj(int flags, char** text) {
  if (OpenZ5KRAJ(0) != 0) return -1;
  static PoleKodowane list[2];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kraj", &Z5KRAJ.field[KRAJ_KRA], &Z5KRAJ.tag[BY_KRA], 1, -1);
  listFlags = flags;
  int key = pole_kodowane_fun(nullptr, "KRAJE", list, RowFilter, LIST_ROW, 0, Z5KRAJ.table);
  int result = key;
  if (key == KEY_ENTER) {
    DbField* field = YieldedField(flags);
    *text = QuickStr(f4ptr(field), static_cast<int>(f4len(field)), 0);
    result = 0;
  } else if (key == KEY_CODED_LEFT) {
    result = -1;
  }
  d4close(Z5KRAJ.table);
  return result;
}

int kraj_f4_lista(Get4* get, char* editBuffer, int32_t flags) {
  set_fun_help("F4", "Lista", 4);
  int key = g4char();
  if (key == KEY_F4) {
    std::string chosen;
    key = CurrencyList(flags, &chosen);
    if (key == KEY_ENTER) {
      size_t width = static_cast<size_t>(get->dataWidth);
      chosen.resize(width, ' ');
      std::memcpy(editBuffer, chosen.data(), width);
    }
  }
  if (WigetCtrlKey(key)) remove_fun_help("F4");
  return key;
}

int kraj_f4_wiget(WigetEvent* event, Wiget* element, void*) {
  switch (event->code) {
    case WE_ENTER: set_fun_help("F4", "Lista", 5); break;
    case WE_LEAVE: remove_fun_help("F4"); break;
    case WE_KEY:
      if (event->key == KEY_F4) {
        int32_t flags;
        std::memcpy(&flags, element->user_bytes, sizeof flags);
        std::string chosen;
        if (CurrencyList(flags, &chosen) == KEY_ENTER) WigetSetString(element, chosen.c_str());
      }
      break;
    default: break;
  }
  return 0;
}
