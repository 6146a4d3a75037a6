#include "app/vat_services.h"

#include "db/dbf_table.h"
#include "tables/vat_tables.h"
#include "ui/menu.h"

namespace {

// Item n of the menus; the short menu ends before item 8.
const char* const RATE_MENU[] = {
    "               ", "1. PODSTAWOWA  ", "2. OBNI\xA1ONA 1  ", "3. OBNI\xA1ONA 2  ", "4. RYCZA\x9CT TAXI",
    "5. ZEROWA      ", "6. ZWOLNIONA   ", "7. NIE PODLEGA ", "8. BEZ STAWKI  ", nullptr,
};
const char* const SHORT_RATE_MENU[] = {
    RATE_MENU[0], RATE_MENU[1], RATE_MENU[2], RATE_MENU[3], RATE_MENU[4], RATE_MENU[5], RATE_MENU[6], RATE_MENU[7],
    nullptr,
};
constexpr int ITEM_CODES[] = {0, 1, 2, 8, 12, 3, 4, 7, 6};
constexpr int ZERO_RATE_ITEM = 5;

}  // namespace

int grupa_stawki_vat(int code) {
  switch (code) {
    case 5:
    case 6:
    case 13: return 3;
    case 7:
    case 10:
    case 11: return 7;
    default: return code;
  }
}

int czy_czynnosc_zakupu_4_8_9() {
  char kind = *f4ptr(d4field(Z5ZAKE.table, "CZO"));
  return kind == '4' || kind == '8' || kind == '9' ? 1 : 0;
}

int pozycja_menu_stawki_vat(int code) {
  switch (code) {
    case 1: return 1;
    case 2: return 2;
    case 8: return 3;
    case 12: return 4;
    case 4: return 6;
    case 7:
    case 10:
    case 11: return 7;
    case 6: return 8;
    default: return ZERO_RATE_ITEM;
  }
}

int kod_stawki_vat_z_menu(int item) { return item >= 1 && item <= 8 ? ITEM_CODES[item] : item; }

int wybierz_kod_stawki_vat(int current, int longMenu) {
  int item = get_menu_function("Wybierz stawk\x91 VAT", longMenu ? RATE_MENU : SHORT_RATE_MENU,
                               pozycja_menu_stawki_vat(current), -1, 0);
  return item < 0 ? -1 : kod_stawki_vat_z_menu(item);
}

const char* const NAZWY_STAWEK_VAT[] = {
    "                     ", "1. PODSTAWOWA        ", "2. OBNI\xA1ONA 1        ", "3. ZEROWA            ",
    "4. ZWOLNIONA         ", "5. ZEROWA-Eksport    ", "6. BEZ STAWKI        ", "7. NIE PODLEGA       ",
    "8. OBNI\xA1ONA 2        ", "9. ZWROT ROLNIKOM    ", "a. NIE PODLEGA Z ODL.", "b. EKSPORT US\x9CUG UE  ",
    "c. RYCZA\x9CT TAXI      ", "d. ZEROWA (zwrot)    ", "e. ZEROWA (mar\xA7" "a)    ", nullptr,
};
