#include "jpk/jpk_fa_export.h"

#include <cstdio>
#include <string>

#include "app/document_text.h"
#include "app/link_numbers.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "jpk/export_register.h"
#include "jpk/jpk_export_road.h"
#include "jpk/rate_sums.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"

namespace {

constexpr int KIND_FK = 3, KIND_RK = 4, KIND_BR = 5, KIND_PF = 6, KIND_FM = 8, KIND_FP = 9, KIND_ZP = 10,
              KIND_ZAL = 11;
constexpr int SUPPLY_EU = 2, SUPPLY_OSS = 4;
constexpr int HEADERS_BY_DATE = 1;
constexpr int FIRST_YEAR_2024 = 2024;

DbField* F(DbTable* table, const char* name) { return d4field(table, name); }
int Int(DbTable* table, const char* name) { return f4int(F(table, name)); }
double Num(DbTable* table, const char* name) { return f4double(F(table, name)); }

DbTable* Work() { return JpkWork.table; }
void PutDate(const char* name, DbTable* table, const char* field) {
  ToFieldCopyField(d4field(Work(), name), F(table, field));
}

DbTable* Headers(int pass) { return pass == 1 ? Z5SPRZ.table : Z5SPRZ_2.table; }
DbTable* Lines(int pass) { return pass == 1 ? Z5SPRE.table : Z5SPRE_2.table; }

// The document number: the free number when RE4 is 'N', else prefix/number/suffix.
std::string DocumentNumber(DbTable* h) {
  if (f4char(F(h, "RE4")) == 'N') return JpkText(h, "OSM");
  return NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
}

// The dates, number, currency, buyer and seller of both invoice writers.
// Returns the first required field found empty (1 or 2), else 0.
int CommonInvoiceFields(DbTable* h, bool euPrefix) {
  std::string number = DocumentNumber(h);
  if (number.empty()) return 1;
  if (JpkSellerNip().empty()) return 2;
  JpkStartRecord('S');
  f4assign_int(d4field(Work(), "TDO"), Int(h, "TYV"));
  f4assign_long(d4field(Work(), "REC"), f4long(F(h, "REC")));
  PutDate("DAV", h, "DAV");
  PutDate("DAS", h, "DAS");
  PutDate("DWY", h, "DAW");
  // A document without a currency is in zloty; the file must name one.
  std::string currency = JpkText(h, "WAL");
  JpkPut("RC2", currency.empty() ? "PLN" : currency);
  f4assign_char(d4field(Work(), "RC1"), Num(h, "NRM") > 0 ? 'T' : 'N');
  JpkPut("NRD", number);
  std::string country = JpkText(h, "KRA");
  std::string upper = country;
  c4upper(upper.data());
  if (upper == "POLSKA") country.clear();
  JpkPutBuyer(h, country, euPrefix);
  JpkPut("P4B", JpkSellerNip());
  return 0;
}

// PE2, PE3 and PE3A from the margin code; KNR, KOF, KPK of a correction.
int MarginAndCorrection(DbTable* h) {
  char margin = static_cast<char>(f4char(F(h, "KSM")));
  JpkPut("PE2", JpkTrueFalse(margin == '1'));
  JpkPut("PE3", JpkTrueFalse(f4int(F(h, "KSM")) >= 2));
  const char* kinds[] = {"procedura mar\xa7y - towary u\xa7ywane", "procedura mar\xa7y - dzie\222a sztuki",
                         "procedura mar\xa7y - przedmioty kolekcjonerskie i antyki"};
  if (margin >= '2' && margin <= '4') JpkPut("PE3A", kinds[margin - '2']);
  int kind = Int(h, "TYV");
  if (kind != KIND_FK && kind != KIND_RK) return 0;
  std::string corrected = PrintedLinkNumber(h, F(h, "NUK"));
  if (corrected.empty()) return 5;
  if (FieldIsEmpty(F(h, "DAK"))) return 6;
  std::string reason = JpkText(h, "TYK");
  if (reason.empty()) return 4;
  JpkPut("KNR", corrected);
  JpkPut("KOF", FldFullDateQStr(F(h, "DAK")));
  JpkPut("KPK", reason);
  return 0;
}

}  // namespace

int wariant_jpk_fa(const char* date) {
  long day = date4long(date);
  if (day >= date4long("20220401")) return 4;
  if (day >= date4long("20191101")) return 3;
  if (day >= date4long("20190701")) return 2;
  return 1;
}

const char* nazwa_pustego_pola(int kod) {
  static const char* const names[] = {"", "numer dokumentu", "NIP sprzedawcy", "NIP nabywcy", "tytu\x92 korekty",
                                      "nr faktury korygowanej", "okres faktury korygowanej"};
  return kod >= 1 && kod <= 6 ? names[kod] : "";
}

int zapisz_fakture_jpk(kontekst_jpk* c, int przebieg, int wariant) {
  DbTable* h = Headers(przebieg);
  int empty = CommonInvoiceFields(h, Int(h, "STM") == SUPPLY_EU);
  if (empty) return empty;
  int kind = Int(h, "TYV");
  const char* rod = "VAT";
  if (kind == KIND_FK || kind == KIND_RK) rod = "KOREKTA";
  if (kind == KIND_BR && wariant == 1) rod = "POZ";
  if (kind == KIND_FP && WorkingYear() < FIRST_YEAR_2024 && przebieg == 2) rod = "ZAL";
  if (kind == KIND_ZAL) rod = "ZAL";
  JpkPut("ROD", rod);
  JpkPutRateSums(c, wariant);
  if (wariant >= 3) {
    JpkPutRounded("ZPO", c->kurs * c->suma_k16);
    JpkPutRounded("ZZA", c->kurs * c->suma_k18);
    JpkPutRounded("RN4", c->kurs * c->suma_k20);
    JpkPutRounded("P10", c->kurs * c->suma_rn2);
  }
  if (przebieg == 2) {
    if (wariant >= 3) {
      JpkPutNumber("P15", Num(h, "KZA"));
    } else {
      JpkPutNumber("ZZA", Num(h, "KZA"));
      JpkPutNumber("ZPO", Num(h, "VAT"));
    }
  }
  JpkPutFlags(c);
  JpkPut("P19", JpkTrueFalse(c->suma_k10 > 0));
  if (c->suma_k10 > 0) {
    std::string basis = JpkText(h, "RE1");
    if (basis.compare(0, 4, "art.") == 0)
      JpkPut("P19A", basis);
    else if (!basis.empty() && basis.compare(0, 4, "brak") != 0)
      JpkPut("P19B", basis);
  }
  JpkPut("P23", JpkTrueFalse(Int(h, "STM") == SUPPLY_EU && f4char(F(h, "TTR")) == 'T' && (kind == 1 || kind == 7)));
  return JpkAppend(MarginAndCorrection(h));
}

int zapisz_fakture_oss_jpk(kontekst_jpk* c) {
  DbTable* h = Headers(1);
  int empty = CommonInvoiceFields(h, true);
  if (empty) return empty;
  int kind = Int(h, "TYV");
  JpkPut("ROD", kind == KIND_FK || kind == KIND_RK ? "KOREKTA" : "VAT");
  const char* nets[] = {"K19", "K17", "K15", "RN1"};
  const char* vats[] = {"K20", "K18", "K16", "RN2"};
  const char* rated[] = {"RN4", "ZZA", "ZPO", "P10"};
  double netSum = 0, vatSum = 0;
  for (int n = 0; n < 4; n++) {
    JpkPutRounded(nets[n], c->oss_netto[n]);
    JpkPutRounded(vats[n], c->oss_vat[n]);
    JpkPutRounded(rated[n], c->kurs * c->oss_vat[n]);
    netSum += f4double(d4field(Work(), nets[n]));
    vatSum += f4double(d4field(Work(), vats[n]));
  }
  JpkPutNumber("RN3", netSum);
  JpkPutNumber("VNA", vatSum);
  JpkPutNumber("P15", c->oss_suma);
  // The VAT of a special procedure: the only invoices whose P_14_5 carries it.
  JpkPut("RC3", "OSS");
  for (const char* name : {"P16", "P17", "P18", "P19", "P19A", "P19B", "P19C", "P20", "P23"}) JpkPut(name, "false");
  return JpkAppend(MarginAndCorrection(h));
}

void sumuj_pozycje_oss_jpk(kontekst_jpk* c) {
  int kind = Int(Lines(1), "TYV");
  if (kind == 1 || kind == 2 || kind == 5 || kind == 7 || kind == KIND_FM)
    dodaj_pozycje_oss_jpk(c, Lines(1), false);
  else if (kind == KIND_FK || kind == KIND_RK)
    dodaj_pozycje_oss_jpk(c, Lines(1), true);
}

int zapisz_wiersz_jpk(int przebieg, int waluta) {
  DbTable* l = Lines(przebieg);
  DbTable* h = Headers(przebieg);
  // An empty rate converts at 1, as the document's sums do.
  double f = waluta ? 1 : FldKurs(F(l, "KVA"));
  int kind = Int(l, "TYV");
  bool correction = kind == KIND_FK || kind == KIND_RK;
  auto pick = [correction](const char* plain, const char* corrected) { return correction ? corrected : plain; };
  JpkStartRecord('W');
  std::string number = JpkText(l, "RE1");
  if (number.empty()) number = NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
  JpkPut("NRD", number);
  JpkPut("P07", JpkLineNames(l));
  ToFieldCopyField(d4field(Work(), "P8A"), F(l, "JED"));
  JpkPutNumber("P8B", Num(l, pick("ILO", "KILO")));
  JpkPutNumber("P9A", Num(l, pick("CNR", "KCNR")) * f);
  JpkPutNumber("P9B", Num(l, pick("CBR", "KCBR")) * f);
  JpkPutNumber("P11", Num(l, pick("WNE", "KRN")) * f);
  if (kind == KIND_FM)
    JpkPutNumber("P11A", Num(l, "WAB") * f);
  else
    JpkPutNumber("P11A", (Num(l, pick("WNE", "KRN")) + Num(l, pick("WAV", "KRV"))) * f);
  if (Int(h, "STM") == SUPPLY_OSS) {
    char rate[16];
    std::snprintf(rate, sizeof rate, "%4.1f", Num(l, "VAS"));
    JpkPut("RC3", rate);
  } else {
    JpkPutRate(Int(l, pick("VAT", "KVAT")), static_cast<char>(f4char(F(l, pick("RE3", "RE4")))), number);
  }
  return JpkAppend(0);
}

char* nazwa_pliku_jpk_fa(int rok, int miesiac, int wersja) { return JpkDefaultName("JPK_FA", 0, rok, miesiac, wersja); }

namespace {

bool QualifiesInPass2(const JpkRun& r, DbTable* h) {
  int kind = Int(h, "TYV");
  int tym = Int(h, "TYM");
  if (r.from2024) return kind == KIND_ZAL || kind == KIND_ZP || (kind == KIND_FK && (tym == KIND_ZAL || tym == KIND_ZP));
  bool settled = Int(h, "SDR") == 3;
  return kind == KIND_ZAL || (kind == KIND_FP && !settled) || (kind == KIND_FK && tym == KIND_FP && !settled);
}

// The result of a record writer over header `h`: true to go on.
bool Written(int result, DbTable* h, int pass) {
  return JpkWritten(result, pass == 1 ? "Dokument sprzedaży nr %s z %s." : "Dokument sprzedaży pomocniczej nr %s z %s.",
                    DocumentNumber(h), FldFullDateQStr(F(h, "DAW")));
}

// One pass over a slot's headers and lines, both locked whole while read.
// False when the export must end (a refused lock or a failed record).
bool ReadPass(JpkRun& r, int pass) {
  DbTable* h = Headers(pass);
  DbTable* l = Lines(pass);
  // The register's browse stands on the headers: its order and record come back.
  JpkKeptPlace shown = JpkKeep(h);
  if (!JpkLockWhole({l, h}, "Nie można zablokować dokumentów sprzedaży.")) return false;
  bool ok = true;
  if (d4reccount(h) > 0) {
    JpkShowReading("Analiza ewidencji sprzedaży.", r.count);
    DbTag* tag = pass == 1 ? Z5SPRZ.tag[HEADERS_BY_DATE] : Z5SPRZ_2.tag[HEADERS_BY_DATE];
    d4tag_select(h, tag);
    for (d4top(h); ok && !d4eof(h); d4skip(h, 1)) {
      int kind = Int(h, "TYV");
      if (pass == 1 && kind == KIND_PF) continue;
      if (pass == 2 && !QualifiesInPass2(r, h)) continue;
      if (!JpkInPeriod(r.c, F(h, "DAV"))) continue;
      JpkShowCount(++r.count);
      zeruj_sumy_stawek_jpk(r.c);
      bool oss = pass == 1 && Int(h, "STM") == SUPPLY_OSS;
      if (pass == 1) zeruj_sumy_oss_jpk(r.c);
      long rec = f4long(F(h, "REC"));
      int found = pass == 1 ? SeekSalesLinesByRek(rec) : SeekSalesLinesByRek2(rec);
      for (; found == 0 && ok && !d4eof(l) && f4long(F(l, "REK")) == rec; d4skip(l, 1)) {
        if (oss) {
          r.c->kurs = FldKurs(F(h, "KKS"));
          sumuj_pozycje_oss_jpk(r.c);
        } else if (pass == 1 && r.from2024) {
          sumuj_pozycje_sprzedazy_jpk(r.c, r.rejestr, 0, 1.0);
        } else if (pass == 1) {
          sumuj_pozycje_sprzedazy_jpk_przed_2024(r.c, r.newLayout, r.rejestr, 0, 1.0);
        } else if (r.from2024) {
          sumuj_pozycje_pomocnicza_jpk(r.c);
        } else {
          sumuj_pozycje_pomocnicza_jpk_przed_2024(r.c, r.newLayout);
        }
        ok = Written(zapisz_wiersz_jpk(pass, r.newLayout), h, pass);
      }
      if (ok) ok = Written(oss ? zapisz_fakture_oss_jpk(r.c) : zapisz_fakture_jpk(r.c, pass, r.variant), h, pass);
    }
  }
  JpkUnlock({l, h});
  JpkRestore(shown);
  return ok;
}

bool ReadSales(JpkRun& r) {
  bool ok = ReadPass(r, 1);
  if (ok && r.rejestr == 1 && Z5SPRZ_2.table && Z5SPRE_2.table) ok = ReadPass(r, 2);
  return ok;
}

}  // namespace

void eksport_jpk_fa(int rejestr) {
  static const JpkExportKind kind{KOD_JPK_FA, false, nazwa_pliku_jpk_fa, ReadSales, &Z5SPRZ};
  RunJpkExport(rejestr, kind);
}
