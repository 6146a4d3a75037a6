#include "jpk/rate_sums.h"

#include <cstdio>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/vat_services.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "tables/receipt_tables.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_UNFIT_RATE = 20171;
constexpr int KIND_FV = 1, KIND_FK = 3, KIND_RK = 4, KIND_BR = 5, KIND_PF = 6, KIND_MP = 7, KIND_FM = 8,
              KIND_FP = 9, KIND_ZP = 10, KIND_ZAL_POM = 12;
constexpr int SUPPLY_DOMESTIC = 1, SUPPLY_EU = 2, SUPPLY_EXPORT = 3, SUPPLY_OSS = 4;

DbField* F(DbTable* table, const char* name) { return d4field(table, name); }
int Int(DbTable* table, const char* name) { return f4int(F(table, name)); }
double Num(DbTable* table, const char* name) { return f4double(F(table, name)); }
char Char(DbTable* table, const char* name) { return static_cast<char>(f4char(F(table, name))); }

// One line being added: its tables, how its amounts convert, and what its
// placement reads.
struct LineRun {
  kontekst_jpk* c;
  DbTable* lines;
  DbTable* headers;
  double rate;        // multiplies every amount
  bool from2024;
  bool auxiliary;     // the second slot
  bool counts;
};

double Amount(const LineRun& r, const char* field) { return ROUND(r.rate * Num(r.lines, field), 2); }

std::string LineNumber(DbTable* lines, bool freeNumberFirst) {
  if (freeNumberFirst && !FieldIsEmpty(F(lines, "RE1"))) return FldQStr(F(lines, "RE1"), QS_RTRIM);
  return NrDokumentuFldQStr(F(lines, "PRE"), F(lines, "NRV"), F(lines, "POS"));
}

void ShowUnfitRate(const std::string& rateLine, const std::string& number) {
  std::string numberLine = "Nr dokumentu: " + number;
  if (rateLine.empty())
    MessageWindow(MB_WARNING, RcQStr(MSG_UNFIT_RATE), numberLine.c_str());
  else
    MessageWindow(MB_WARNING, RcQStr(MSG_UNFIT_RATE), rateLine.c_str(), numberLine.c_str());
}

bool WarnBefore2024(int code, int supply) {
  switch (code) {
    case 1: case 2: case 8: case 12: return supply != SUPPLY_DOMESTIC;
    case 3: case 13: return supply == SUPPLY_EU || supply == SUPPLY_EXPORT;
    case 5: return supply == SUPPLY_DOMESTIC;
    default: return false;
  }
}

// The zero-rate kinds by supply type before 2024: domestic, intra-EU, export.
void ZeroRateBefore2024(kontekst_jpk* c, int supply, double net, bool refund) {
  if (supply == SUPPLY_DOMESTIC) {
    c->suma_k13 += net;
    if (refund) c->suma_k14 += net;
  } else if (supply == SUPPLY_EU) {
    c->suma_k21 += net;
  } else if (supply == SUPPLY_EXPORT) {
    c->suma_k22 += net;
  }
}

void PlaceBefore2024(kontekst_jpk* c, int code, double net, double vat, int supply, char reverse, char stv) {
  switch (code) {
    case 1: c->suma_k19 += net; c->suma_k20 += vat; break;
    case 2: c->suma_k17 += net; c->suma_k18 += vat; break;
    case 8: c->suma_k15 += net; c->suma_k16 += vat; break;
    case 12: c->suma_rn1 += net; c->suma_rn2 += vat; break;
    case 3: case 5: ZeroRateBefore2024(c, supply, net, false); break;
    case 13: ZeroRateBefore2024(c, supply, net, true); break;
    case 4: if (supply == SUPPLY_DOMESTIC) c->suma_k10 += net; break;
    case 6: if (supply == SUPPLY_OSS || reverse == 'T' || reverse == '8') c->suma_k31 += net; break;
    case 7: if (stv == 'T') c->suma_k11 += net; break;
    case 10: c->suma_k11 += net; break;
    case 11: c->suma_k11 += net; c->suma_k12 += net; break;
    default: break;
  }
}

// Places net and VAT under `code`; `copy` marks the correction copy (KVAT, RE4).
void Place(const LineRun& r, int code, double net, double vat, bool copy) {
  int supply = Int(r.lines, "STM");
  if (r.from2024) {
    dodaj_do_sum_stawek_jpk(r.c, code, net, vat, supply, r.counts);
    return;
  }
  if (r.counts)
    PlaceBefore2024(r.c, code, net, vat, supply, Char(r.lines, copy ? "RE4" : "RE3"), Char(r.lines, "STV"));
  if (!WarnBefore2024(code, supply)) return;
  if (!r.auxiliary || copy)
    ostrzezenie_stawki_dostawy(Int(r.lines, "VAT"), supply, r.lines);
  else
    ostrzezenie_stawki_dostawy_pomocnicze();
}

// Steps common to every adder: plain lines and corrections into NET and BRU
// and their placement.
void AddLine(const LineRun& r, bool correction, bool placeNothing) {
  kontekst_jpk* c = r.c;
  int code = Int(r.lines, "VAT");
  if (!correction) {
    double net = Amount(r, "WNE"), vat = Amount(r, "WAV");
    c->suma_net += net;
    c->suma_bru += Amount(r, "WAB");
    if (placeNothing) net = vat = 0;
    Place(r, code, net, vat, false);
    return;
  }
  double net = Amount(r, "KRN"), vat = Amount(r, "KRV");
  c->suma_net += net;
  c->suma_bru += net + vat;
  int former = Int(r.lines, "KVAT");
  if (former != code && former > 0) {
    Place(r, former, Amount(r, "KWNE"), Amount(r, "KWAV"), true);
    net = -Amount(r, "WNE");
    vat = -Amount(r, "WAV");
  }
  Place(r, code, net, vat, false);
}

double LineRate(DbTable* lines) {
  double kva = Num(lines, "KVA");
  return kva > 0 ? kva : 1;
}

// The first slot's line by its kind: some kinds add nothing at all.
void AddFirstSlotLine(LineRun& r) {
  int kind = Int(r.lines, "TYV");
  if (kind == 0 || kind == KIND_PF || kind == KIND_ZP || kind >= KIND_ZAL_POM) return;
  bool correction = kind == KIND_FK || kind == KIND_RK;
  AddLine(r, correction, !correction && kind == KIND_BR && Int(r.lines, "VAT") == 6);
}

bool NegativeMargin(const LineRun& r, int kind, bool correctionsToo) {
  if (kind == KIND_FM && Amount(r, "WNE") < 0) return true;
  return correctionsToo && kind == KIND_FK && Int(r.headers, "TYM") == KIND_FM &&
         ROUND(Amount(r, "KWAB") - Num(r.lines, "RE2"), 2) < 0;
}

}  // namespace

void zeruj_sumy_stawek_jpk(kontekst_jpk* c) {
  double* sums[] = {&c->suma_net, &c->suma_bru, &c->suma_k31, &c->suma_k11, &c->suma_k21, &c->suma_k12,
                    &c->suma_k22, &c->suma_k10, &c->suma_k13, &c->suma_k14, &c->suma_k15, &c->suma_k16,
                    &c->suma_k17, &c->suma_k18, &c->suma_k19, &c->suma_k20, &c->suma_rn1, &c->suma_rn2};
  for (double* sum : sums) *sum = 0;
}

void zeruj_sumy_oss_jpk(kontekst_jpk* c) {
  c->oss_suma = 0;
  for (int n = 0; n < 4; n++) c->oss_netto[n] = c->oss_vat[n] = 0;
}

void dodaj_do_sum_stawek_jpk(kontekst_jpk* c, int kod, double netto, double vat, int typ_dostawy, int liczy) {
  if (!liczy) return;
  switch (kod) {
    case 1: c->suma_k19 += netto; c->suma_k20 += vat; return;
    case 2: c->suma_k17 += netto; c->suma_k18 += vat; return;
    case 8: c->suma_k15 += netto; c->suma_k16 += vat; return;
    case 12: c->suma_rn1 += netto; c->suma_rn2 += vat; return;
    case 3:
      if (typ_dostawy == 1) c->suma_k13 += netto;
      if (typ_dostawy == 2 || typ_dostawy == 7) c->suma_k21 += netto;
      if (typ_dostawy == 3) c->suma_k22 += netto;
      if (typ_dostawy == 8) c->suma_k13 += netto, c->suma_k14 += netto;
      if (typ_dostawy == 9) c->suma_k11 += netto;
      return;
    case 4:
      if (typ_dostawy == 1) c->suma_k10 += netto;
      return;
    case 7:
      if (typ_dostawy == 5) c->suma_k11 += netto, c->suma_k12 += netto;
      if (typ_dostawy == 6) c->suma_k11 += netto;
      return;
    default:
      return;
  }
}

void dodaj_pozycje_oss_jpk(kontekst_jpk* c, DbTable* lines, bool korekta) {
  auto pair = [c](int code, double net, double vat) {
    if (code < 1 || code > 4) return;
    c->oss_netto[code - 1] += net;
    c->oss_vat[code - 1] += vat;
  };
  auto amount = [lines](const char* field) { return ROUND(Num(lines, field), 2); };
  int code = Int(lines, "VAT");
  if (!korekta) {
    double net = amount("WNE"), vat = amount("WAV");
    c->oss_suma += net + vat;
    pair(code, net, vat);
    return;
  }
  int former = Int(lines, "KVAT");
  if (former == code || former <= 0) {
    pair(code, amount("KRN"), amount("KRV"));
    return;
  }
  c->oss_suma += amount("KWNE") + amount("KWAV");
  pair(former, amount("KWNE"), amount("KWAV"));
  pair(code, -amount("WNE"), -amount("WAV"));
}

void sumuj_pozycje_sprzedazy_jpk_przed_2024(kontekst_jpk* c, int waluta, int rejestr, int tryb, double mnoznik) {
  DbTable* lines = Z5SPRE.table;
  DbTable* headers = Z5SPRZ.table;
  c->kurs = LineRate(lines);
  LineRun r{c, lines, headers, mnoznik * (waluta ? 1 : c->kurs), false, false, true};
  int kind = Int(lines, "TYV");
  int akt = Int(headers, "AKT");
  char sdr = Char(headers, "SDR");
  bool plainInvoice = kind == KIND_FV || kind == KIND_MP;
  if ((rejestr == 1 && kind == KIND_FP) || (rejestr == 1 && plainInvoice && akt == 3) ||
      (rejestr == 1 && plainInvoice && akt == 1 && sdr == '3') || (kind == KIND_FK && Int(headers, "TYM") == KIND_FP) ||
      (rejestr == 2 && (kind != KIND_FP || sdr == '3')) || (tryb && NegativeMargin(r, kind, false)))
    r.counts = false;
  AddFirstSlotLine(r);
}

void sumuj_pozycje_sprzedazy_jpk(kontekst_jpk* c, int, int tryb, double mnoznik) {
  DbTable* lines = Z5SPRE.table;
  DbTable* headers = Z5SPRZ.table;
  c->kurs = LineRate(lines);
  int kind = Int(lines, "TYV");
  if (Int(lines, "STM") == SUPPLY_OSS) {
    dodaj_pozycje_oss_jpk(c, lines, kind == KIND_FK);
    return;
  }
  LineRun r{c, lines, headers, mnoznik * c->kurs, true, false, true};
  int tym = Int(headers, "TYM");
  if (kind == KIND_FP || kind == KIND_ZP || (kind == KIND_FK && (tym == KIND_FP || tym == KIND_ZP)) ||
      ((kind == KIND_FV || kind == KIND_MP) && Int(headers, "AKT") == 3) || (tryb && NegativeMargin(r, kind, true)))
    r.counts = false;
  AddFirstSlotLine(r);
}

void sumuj_pozycje_pomocnicza_jpk_przed_2024(kontekst_jpk* c, int waluta) {
  DbTable* lines = Z5SPRE_2.table;
  DbTable* headers = Z5SPRZ_2.table;
  c->kurs = LineRate(lines);
  LineRun r{c, lines, headers, waluta ? 1 : c->kurs, false, true, Char(headers, "SDR") != '3'};
  AddLine(r, Int(lines, "TYV") == KIND_FK, false);
}

void sumuj_pozycje_pomocnicza_jpk(kontekst_jpk* c) {
  DbTable* lines = Z5SPRE_2.table;
  DbTable* headers = Z5SPRZ_2.table;
  c->kurs = LineRate(lines);
  int kind = Int(lines, "TYV");
  int tym = Int(headers, "TYM");
  bool counts = !(kind == KIND_FP || kind == KIND_ZP || (kind == KIND_FK && (tym == KIND_FP || tym == KIND_ZP)));
  LineRun r{c, lines, headers, c->kurs, true, true, counts};
  AddLine(r, kind == KIND_FK, false);
}

void ostrzezenie_stawki_dostawy(int kod, int typ_dostawy, DbTable* lines) {
  const char* rate = kod >= 0 && kod <= 14 ? NAZWY_STAWEK_VAT[kod] : NAZWY_STAWEK_VAT[0];
  if (kod > 0 && kod <= 14) rate += 2;
  const char* supply = typ_dostawy >= 1 && typ_dostawy <= 4 ? DeliveryList(false)[typ_dostawy] + 2 : "";
  char line[128];
  std::snprintf(line, sizeof line, "Stawka VAT %s   typ dostawy %s", rate, supply);
  ShowUnfitRate(line, LineNumber(lines, lines != Z5SPRE_2.table));
}

void ostrzezenie_stawki_dostawy_pomocnicze() { ShowUnfitRate("", LineNumber(Z5SPRE_2.table, false)); }

void sumuj_pozycje_paragonu_jpk(kontekst_jpk* c) {
  DbTable* lines = Z5PARE.table;
  double net = Num(lines, "WNE"), vat = Num(lines, "WAV");
  c->suma_net += net;
  c->suma_bru += Num(lines, "WAB");
  int code = Int(lines, "VAT");
  // A receipt is a domestic sale; its reverse-charge and outside-the-country
  // codes count as they stand. A refund to travellers stays among the zero
  // rates, as on a sales invoice, so that P_13_6 holds it.
  PlaceBefore2024(c, code, net, vat, SUPPLY_DOMESTIC, 'T', 'T');
  if (WarnBefore2024(code, SUPPLY_DOMESTIC)) ShowUnfitRate("", LineNumber(lines, false));
}
