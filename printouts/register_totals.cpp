#include "printouts/register_totals.h"

#include "db/dbf_table.h"
#include "env/numbers.h"
#include "printouts/vat_register_print.h"
#include "tables/sales_tables.h"

namespace {

double LineValue(const char* name) { return f4double(d4field(Z5SPRE.table, name)); }
char LineChar(const char* name) { return f4ptr(d4field(Z5SPRE.table, name))[0]; }

// The group of a rate code with net, VAT and gross; -1 for the others.
int RateGroup(int code) {
  switch (code) {
    case 1: return 0;
    case 2: case 12: return 1;
    case 8: return 2;
    case 9: return 3;
    default: return -1;
  }
}

// Documents and sales without invoice; codes 7, 10 and 11 of the latter go
// to the documents' amounts.
void PlaceLine(sumy_rejestru_vat* sums, int group, int code, double net, double vat, double gross) {
  int rate = RateGroup(code);
  if (rate >= 0) {
    double* cell = sums->stawki[rate][group];
    cell[0] += net;
    cell[1] += vat;
    cell[2] += gross;
    sums->netto += net;
    sums->vat += vat;
    return;
  }
  double* single = nullptr;
  switch (code) {
    case 3: case 13: single = &sums->zerowa_kraj[group]; break;
    case 5: single = &sums->zerowa_eksport[group]; break;
    case 4: single = &sums->zwolniona[group]; break;
    case 7: single = &sums->nie_podlega[KLASA_DOKUMENTY]; break;
    case 10: case 11: single = &sums->nie_podlega_z_odliczeniem[KLASA_DOKUMENTY]; break;
    default: sums->bez_stawki[group] += gross; return;
  }
  *single += net;
  sums->netto += net;
}

struct TotalsPass {
  sumy_rejestru_vat* sums;
  const ZrodloRejestruVat* source;
  const OpcjeSumRejestru* options;
};

int AddLine(void* data) {
  auto* pass = static_cast<TotalsPass*>(data);
  sumuj_pozycje_rejestru(pass->sums, pass->source, pass->options);
  return 0;
}

}  // namespace

void zeruj_sumy_rejestru(sumy_rejestru_vat* sums) { *sums = sumy_rejestru_vat{}; }

void sumuj_korekte_wg_stawki(sumy_rejestru_vat* sums, int code, double net, double vat, double gross) {
  int rate = RateGroup(code);
  if (rate >= 0) {
    double* cell = sums->stawki[rate][KLASA_KOREKTY];
    cell[0] += net;
    cell[1] += vat;
    cell[2] += gross;
    sums->netto += net;
    sums->vat += vat;
    return;
  }
  switch (code) {
    case 3: case 13: sums->zerowa_kraj[KLASA_KOREKTY] += net; sums->netto += net; break;
    case 5: sums->zerowa_eksport[KLASA_KOREKTY] += net; sums->netto += net; break;
    case 4: sums->zwolniona[KLASA_KOREKTY] += net; sums->netto += net; break;
    case 6: sums->bez_stawki[KLASA_KOREKTY] += gross; break;
    case 7: sums->nie_podlega[KLASA_KOREKTY] += net; break;
    case 10: case 11: sums->nie_podlega_z_odliczeniem[KLASA_KOREKTY] += net; sums->netto += net; break;
    default: break;
  }
}

void dodaj_ryczalt_do_sum(sumy_rejestru_vat* sums, double net, int code) {
  if (code >= 1 && code < RYCZALT_KODY) sums->ryczalt[code] += net;
}

void sumuj_pozycje_rejestru(sumy_rejestru_vat* sums, const ZrodloRejestruVat* source,
                            const OpcjeSumRejestru* options) {
  // OSS supplies are left out of the register as its printout leaves them out
  if (LineChar("STM") == '4') return;
  int kind = static_cast<int>(LineValue("TYV"));
  bool header = ustaw_naglowek_pozycji() == 1;
  int tym = header ? f4int(d4field(Z5SPRZ.table, "TYM")) : 0;
  int akt = header ? f4int(d4field(Z5SPRZ.table, "AKT")) : 0;
  double f = czynnik_pozycji(source);
  auto R = [f](double x) { return ROUND(x * f, 2); };
  int code = static_cast<int>(LineValue("VAT"));
  double net, gross;
  switch (kind) {
    case 6:
      if (!options->pro_forma) return;
      [[fallthrough]];
    case 1: case 2: case 7: case 8: case 9: case 10: case 11: {
      net = R(LineValue("WNE"));
      double vat = R(LineValue("WAV"));
      // a final invoice carries the settled gross of its advances in WAB
      if (tym == 9)
        gross = R(LineValue("WNE") + LineValue("WAV"));
      else
        gross = akt == 1 || akt == 3 ? net + vat : R(LineValue("WAB"));
      PlaceLine(sums, KLASA_DOKUMENTY, code, net, vat, gross);
      break;
    }
    case 5:
      net = LineValue("WNE");
      gross = LineValue("WAB");
      PlaceLine(sums, KLASA_BEZ_RACHUNKOW, code, net, LineValue("WAV"), gross);
      break;
    case 3: case 4: {
      net = R(LineValue("KRN"));
      gross = R(LineValue("KRN") + LineValue("KRV"));
      int newCode = static_cast<int>(LineValue("KVAT"));
      if (newCode < 1 || newCode == code) {
        sumuj_korekte_wg_stawki(sums, code, net, R(LineValue("KRV")), gross);
      } else {
        sumuj_korekte_wg_stawki(sums, code, -R(LineValue("WNE")), -R(LineValue("WAV")), -R(LineValue("WAB")));
        sumuj_korekte_wg_stawki(sums, newCode, R(LineValue("KWNE")), R(LineValue("KWAV")), R(LineValue("KWAB")));
      }
      break;
    }
    default: return;
  }
  sums->brutto += gross;
  int ryt = static_cast<int>(LineValue("RYT"));
  if (ryt != 0) dodaj_ryczalt_do_sum(sums, net, ryt);
  if (LineChar("CSS") != 'T') {
    sums->poza_struktura += net;
    return;
  }
  if (code == 4)
    sums->zwolniona_struktura += net;
  else if (code == 1 || code == 2 || code == 3 || code == 5 || (code >= 8 && code <= 13))
    sums->opodatkowana += net;
  if (code != 7) sums->razem_struktura += net;
}

int licz_sumy_rejestru(sumy_rejestru_vat* sums, const ZrodloRejestruVat* source, const OpcjeSumRejestru* options) {
  zeruj_sumy_rejestru(sums);
  TotalsPass pass{sums, source, options};
  if (przejdz_pozycje_rejestru(source, AddLine, &pass) != 0) return -1;
  // the share of taxed sales in the structure, in per cent
  if (sums->razem_struktura != 0)
    sums->udzial = ROUND(sums->opodatkowana / sums->razem_struktura * 100.0, 2);
  return 0;
}
