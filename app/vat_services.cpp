#include "app/vat_services.h"

#include "db/dbf_table.h"
#include "tables/vat_tables.h"

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
