#include "app/settlement.h"

#include "app/document_seeks.h"
#include "app/vat_services.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_NO_PURCHASE_LINES = 20031;

double Number(TableHandles& set, const char* name) { return f4double(d4field(set.table, name)); }
int Kind(TableHandles& set, int* kind) {
  int k = f4int(d4field(set.table, "TYV"));
  if (kind) *kind = k;
  return k;
}
bool IsCorrection(int kind) { return kind == 3 || kind == 4; }
bool GrossAmounts(TableHandles& set) { return f4int(d4field(set.table, "STM")) == 1; }

}  // namespace

int KwotyRozliczone(double due, double paid) {
  due = ROUND(due, 6);
  paid = ROUND(paid, 6);
  if (due == 0) return 1;
  if (due > 0) return paid >= due ? 1 : 0;
  return paid <= due ? 1 : 0;
}

double KwotaVat() { return ROUND(Number(Z5ZAKE, "KRN") * Number(Z5ZAKE, "VAS") * 0.01, 2); }

double KwotaDoRozliczenia(int* kind) {
  if (IsCorrection(Kind(Z5SPRZ, kind))) return Number(Z5SPRZ, "KRN") + Number(Z5SPRZ, "KRV");
  return Number(Z5SPRZ, "BRU");
}

double KwotaZakupuNaglowka(int* kind) {
  bool gross = GrossAmounts(Z5ZAKU);
  if (!IsCorrection(Kind(Z5ZAKU, kind))) return Number(Z5ZAKU, gross ? "BRU" : "NET");
  if (!gross) return Number(Z5ZAKU, "KRN");
  return Number(Z5ZAKU, "KRN") + Number(Z5ZAKU, "KRV") + Number(Z5ZAKU, "KVO");
}

double KwotaZakupuDoRozliczenia(int* kind) {
  int k = Kind(Z5ZAKU, kind);
  long header = f4long(d4field(Z5ZAKU.table, "REC"));
  if (SeekZakupLinesByRek(header) != 0) {
    Uwaga(MSG_NO_PURCHASE_LINES);
    return 0;
  }
  bool grossDocument = GrossAmounts(Z5ZAKU);
  DbField* re3 = d4field(Z5ZAKE.table, "RE3");
  double sum = 0;
  while (!d4eof(Z5ZAKE.table) && f4long(d4field(Z5ZAKE.table, "REK")) == header) {
    char mark = *f4ptr(re3);
    bool gross = grossDocument && mark != 'T' && mark != '8' && mark != '5';
    if (k == 1 || k == 2 || k == 5 || k == 6) {
      sum += Number(Z5ZAKE, gross ? "WAB" : "WAN");
    } else if (IsCorrection(k)) {
      sum += Number(Z5ZAKE, "KRN");
      if (gross) sum += czy_czynnosc_zakupu_4_8_9() ? KwotaVat() : Number(Z5ZAKE, "KRV");
    }
    if (d4skip(Z5ZAKE.table, 1) < 0) return -1;
  }
  return sum;
}
