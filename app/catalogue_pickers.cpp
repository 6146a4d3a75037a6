#include "app/catalogue_pickers.h"

#include <cstring>

#include "db/dbf_table.h"
#include "tables/masterdata_tables.h"
#include "ui/coded_field.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"

namespace {

constexpr int KEY_F4 = 0x3E00;
constexpr int COUNTRY_LIST_ROW = 5;
constexpr int KRAJ_KRA = 2;       // field position in Z5KRAJ
constexpr int KRAJ_BY_KRA = 1;    // tag UPPER(KRA)

// The countries list titled "KRAJE": the chosen country's name in `name`
// (30 characters), 0; -1 when left or when the table cannot be opened.
int ChooseCountry(char* name) {
  if (OpenZ5KRAJ(0) != 0) return -1;
  static PoleKodowane list[2];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "kraj", &Z5KRAJ.field[KRAJ_KRA], &Z5KRAJ.tag[KRAJ_BY_KRA], 1, -1);
  int key = pole_kodowane_fun(nullptr, "KRAJE", list, nullptr, COUNTRY_LIST_ROW, 0, Z5KRAJ.table);
  int result = -1;
  if (key == KEY_ENTER) {
    DbField* field = Z5KRAJ.field[KRAJ_KRA];
    std::memcpy(name, f4ptr(field), f4len(field));
    name[f4len(field)] = 0;
    result = 0;
  }
  d4close(Z5KRAJ.table);
  return result;
}

}  // namespace

int kraj_pole_f4_lista(WigetEvent* event, Wiget* element, void*) {
  switch (event->code) {
    case WE_ENTER: set_fun_help("F4", "Lista", 5); break;
    case WE_LEAVE: remove_fun_help("F4"); break;
    case WE_KEY:
      if (event->key == KEY_F4) {
        char name[31];
        if (ChooseCountry(name) == 0) WigetSetString(element, name);
      }
      break;
    default: break;
  }
  return 0;
}
