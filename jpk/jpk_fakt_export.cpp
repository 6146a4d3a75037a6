#include "jpk/jpk_fakt_export.h"

#include <string>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/field_text.h"
#include "jpk/jpk_export_road.h"
#include "jpk/rate_sums.h"
#include "tables/receipt_tables.h"
#include "tables/vat_tables.h"

namespace {

constexpr int RECEIPTS_BY_DATE = 1;   // DTOS(DSP)+STR(NRV,5,0)+...
constexpr int BUYERS_BY_REK = 1;
constexpr int KIND_FV = 1, KIND_FP = 9;
constexpr const char* DOCUMENT = "Dokument sprzedaży nr %s z %s.";

DbField* F(DbTable* table, const char* name) { return d4field(table, name); }
DbField* W(const char* name) { return d4field(JpkWork.table, name); }

// Empty for an invoice without its number: no "0" in a statutory file.
std::string InvoiceNumber() {
  DbTable* h = Z5PARA.table;
  if (f4long(F(h, "NRF")) <= 0) return "";
  return NrDokumentuFldQStr(F(h, "PRF"), F(h, "NRF"), F(h, "POF"));
}

std::string ReceiptNumber() {
  DbTable* h = Z5PARA.table;
  return NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
}

bool Written(int result) { return JpkWritten(result, DOCUMENT, ReceiptNumber(), FldFullDateQStr(F(Z5PARA.table, "DSP"))); }

// The buyer record of receipt `rec`, exactly: a neighbour's record would put
// another buyer on the invoice.
bool BuyerFound(long rec) {
  DbTable* b = Z5PARO.table;
  return d4seek_double(b, static_cast<double>(rec)) == 0 && !d4eof(b) && f4long(F(b, "REK")) == rec;
}

// Every receipt with an invoice of the period, its lines and its buyer
// locked whole while read. False when the export must end.
bool ReadReceipts(JpkRun& r) {
  DbTable* h = Z5PARA.table;
  DbTable* b = Z5PARO.table;
  DbTable* l = Z5PARE.table;
  // The receipts' browse stands on these tables: their orders and records come back.
  const JpkKeptPlace shown[] = {JpkKeep(h), JpkKeep(b), JpkKeep(l)};
  if (!JpkLockWhole({l, b, h}, "Nie można zablokować paragonów.")) return false;
  bool ok = true;
  if (d4reccount(h) > 0) {
    JpkShowReading("Analiza faktur sprzedaży.", r.count);
    d4tag_select(b, Z5PARO.tag[BUYERS_BY_REK]);
    d4tag_select(h, Z5PARA.tag[RECEIPTS_BY_DATE]);
    for (d4top(h); ok && !d4eof(h); d4skip(h, 1)) {
      int kind = f4int(F(h, "TYF"));
      if ((kind != KIND_FV && kind != KIND_FP) || !JpkInPeriod(r.c, F(h, "DSP"))) continue;
      long rec = f4long(F(h, "REC"));
      if (!BuyerFound(rec)) {
        JpkDataErrorBox("Brak danych nabywcy faktury.", DOCUMENT, ReceiptNumber(), FldFullDateQStr(F(h, "DSP")));
        ok = false;
        break;
      }
      zeruj_sumy_stawek_jpk(r.c);
      if (SeekParagonLinesByRek(rec) != 0 || d4eof(l) || f4long(F(l, "REK")) != rec) continue;
      JpkShowCount(++r.count);
      for (; ok && !d4eof(l) && f4long(F(l, "REK")) == rec; d4skip(l, 1)) {
        sumuj_pozycje_paragonu_jpk(r.c);
        ok = Written(zapisz_wiersz_paragonu_jpk());
      }
      if (ok) ok = Written(zapisz_fakture_paragonu_jpk(r.c, r.variant));
    }
  }
  JpkUnlock({l, b, h});
  for (const JpkKeptPlace& place : shown) JpkRestore(place);
  return ok;
}

}  // namespace

int zapisz_fakture_paragonu_jpk(kontekst_jpk* c, int wariant) {
  DbTable* h = Z5PARA.table;
  DbTable* b = Z5PARO.table;
  std::string number = InvoiceNumber();
  if (number.empty()) return 1;
  if (JpkSellerNip().empty()) return 2;
  JpkStartRecord('S');
  f4assign_int(W("TDO"), KIND_FV);
  JpkPut("ROD", "VAT");
  f4assign_long(W("REC"), f4long(F(b, "REK")));
  ToFieldCopyField(W("DAV"), F(h, "DSP"));
  ToFieldCopyField(W("DAS"), F(h, "DSP"));
  ToFieldCopyField(W("DWY"), F(b, "DAW"));
  // Receipts are sold in zloty: KodWaluty "PLN" and P_18A "false".
  JpkPut("RC2", "PLN");
  f4assign_char(W("RC1"), 'N');
  JpkPut("NRD", number);
  JpkPutBuyer(b, "POLSKA", false);
  JpkPut("P4B", JpkSellerNip());
  JpkPutRateSums(c, wariant);
  JpkPutFlags(c);
  for (const char* name : {"P19", "P23", "PE2", "PE3"}) JpkPut(name, "false");
  return JpkAppend(0);
}

int zapisz_wiersz_paragonu_jpk() {
  DbTable* l = Z5PARE.table;
  JpkStartRecord('W');
  std::string number = InvoiceNumber();
  JpkPut("NRD", number);
  JpkPut("P07", JpkLineNames(l));
  ToFieldCopyField(W("P8A"), F(l, "JED"));
  JpkPutNumber("P8B", f4double(F(l, "ILO")));
  JpkPutNumber("P9A", f4double(F(l, "CNR")));
  JpkPutNumber("P9B", f4double(F(l, "CBR")));
  JpkPutNumber("P11", f4double(F(l, "WNE")));
  JpkPutNumber("P11A", f4double(F(l, "WNE")) + f4double(F(l, "WAV")));
  // Receipt lines know no reverse charge.
  JpkPutRate(f4int(F(l, "VAT")), 'N', number);
  return JpkAppend(0);
}

char* nazwa_pliku_jpk_fakt(int rok, int miesiac, int wersja) {
  return JpkDefaultName("JPK_FAKT", 2, rok, miesiac, wersja);
}

void eksport_jpk_fakt() {
  static const JpkExportKind kind{0, true, nazwa_pliku_jpk_fakt, ReadReceipts, &Z5PARA};
  RunJpkExport(0, kind);
}
