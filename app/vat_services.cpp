#include "app/vat_services.h"

#include <cstdint>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "tables/cash_tables.h"
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

const char DEDUCTION_TITLE[] = " WYBIERZ ";

// The cash book's tag STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0), from 1.
constexpr int CASH_BY_SOURCE = 2;

char DeductionCode() { return *f4ptr(d4field(Z5ZAKE.table, "CZO")); }

// REK, TYZ and ROK of the current record, compared in that order.
int BelongsToDocument(DbTable* table, int sourceType, int year, long record) {
  if (f4long(d4field(table, "REK")) != record) return 0;
  if (f4int(d4field(table, "TYZ")) != sourceType) return 0;
  return f4int(d4field(table, "ROK")) == year ? 1 : 0;
}

}  // namespace

double wartosc_stawki_vat(DbField* field) {
  switch (f4int(field)) {
    case 2: return currentVatRates[VAT_REDUCED_1];
    case 8: return currentVatRates[VAT_REDUCED_2];
    case 9: return currentVatRates[VAT_RR_REFUND];
    case 12: return mainOptions.taxiLumpSum;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 10:
    case 11:
    case 13: return 0;
    default: return currentVatRates[VAT_BASIC];
  }
}

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

int czy_czynnosc_zakupu_1_4_9() {
  char kind = DeductionCode();
  return kind == '1' || (kind >= '4' && kind <= '9') ? 1 : 0;
}

int czy_czynnosc_zakupu_4_8_9() {
  char kind = DeductionCode();
  return kind == '4' || kind == '8' || kind == '9' ? 1 : 0;
}

int czy_zapis_kasy_dokumentu(int sourceType, int year, long record) {
  return BelongsToDocument(Z5KASA.table, sourceType, year, record);
}

int czy_rozliczenie_dokumentu(int sourceType, int year, long record) {
  return BelongsToDocument(Z5ROZL.table, sourceType, year, record);
}

double suma_kasy_dokumentu(int sourceType, int year, long record, long from, long to) {
  if ((from == 0 && to == 0) || from < 0 || to < 0) return 0;
  d4tag_select(Z5KASA.table, Z5KASA.tag[CASH_BY_SOURCE - 1]);
  if (d4seek(Z5KASA.table, KluczTypRokRek(sourceType, year, record)) != 0) return 0;
  DbField* date = d4field(Z5KASA.table, "DAT");
  DbField* amount = d4field(Z5KASA.table, "KWO");
  double sum = 0;
  while (!d4eof(Z5KASA.table) && czy_zapis_kasy_dokumentu(sourceType, year, record)) {
    long day = date4long(f4ptr(date));
    if ((from == 0 || day >= from) && (to == 0 || day <= to)) sum += f4double(amount);
    if (d4skip(Z5KASA.table, 1) < 0) break;
  }
  return sum;
}

const char* const NAZWY_ODLICZEN_VAT[] = {
    "                ", "1. TAK          ", "2. NIE          ", "3. Paliwa       ", "4. TAK 50%      ",
    "5. \x98r.Tr.UE 100%", "6. Art.28b      ", "7. Paliwa UE    ", "8. \x98r.Tr.UE  50%", "9. Art.28b   50%",
    nullptr,
};
const char* const NAZWY_ODLICZEN_VAT_2024[] = {
    "          ", "1. TAK    ", "2. TAK 50%", "3. NIE    ", nullptr,
};

int odliczenie_na_pozycje_menu(int code) {
  switch (code) {
    case 2: return 3;
    case 3:
    case 4:
    case 8:
    case 9: return 2;
    case 5:
    case 6:
    case 7: return 1;
    default: return code;
  }
}

int odliczenie_z_menu(int item) {
  switch (item) {
    case 2: return 4;
    case 3: return 2;
    default: return item;
  }
}

int wybierz_odliczenie_vat(int code, int workingYear) {
  if (workingYear < FIRST_YEAR_OF_GROUPED_CODES)
    return get_menu_function(DEDUCTION_TITLE, NAZWY_ODLICZEN_VAT, code, -1, -1);
  int item = get_menu_function(DEDUCTION_TITLE, NAZWY_ODLICZEN_VAT_2024, odliczenie_na_pozycje_menu(code), -1, -1);
  return odliczenie_z_menu(item);
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
