#include "printouts/register_totals.h"

#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/text_buffers.h"
#include "printouts/vat_register_print.h"
#include "tables/sales_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

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

// Net, VAT and gross into the cell of the code's rate; false for a code
// without a rate group.
bool AddToRateGroup(sumy_rejestru_vat* sums, int group, int code, double net, double vat, double gross) {
  int rate = RateGroup(code);
  if (rate < 0) return false;
  double* cell = sums->stawki[rate][group];
  cell[0] += net;
  cell[1] += vat;
  cell[2] += gross;
  sums->netto += net;
  sums->vat += vat;
  return true;
}

// Documents and sales without invoice; codes 7, 10 and 11 of the latter go
// to the documents' amounts.
void PlaceLine(sumy_rejestru_vat* sums, int group, int code, double net, double vat, double gross) {
  if (AddToRateGroup(sums, group, code, net, vat, gross)) return;
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
  OpcjeSumRejestru* options;
};

int AddLine(void* data) {
  auto* pass = static_cast<TotalsPass*>(data);
  if (pass->options->kontrola && sprawdz_naglowek_pozycji() != 0) {
    pass->options->przerwano = 1;
    return -1;
  }
  sumuj_pozycje_rejestru(pass->sums, pass->source, pass->options);
  return 0;
}

std::string LineText(const char* name) {
  DbField* field = d4field(Z5SPRE.table, name);
  std::string text(f4ptr(field), f4len(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

}  // namespace

void zeruj_sumy_rejestru(sumy_rejestru_vat* sums) { *sums = sumy_rejestru_vat{}; }

void sumuj_korekte_wg_stawki(sumy_rejestru_vat* sums, int code, double net, double vat, double gross) {
  if (AddToRateGroup(sums, KLASA_KOREKTY, code, net, vat, gross)) return;
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

int sprawdz_naglowek_pozycji() {
  if (ustaw_naglowek_pozycji() == 1) return 0;
  std::string number = LineText("RE1");
  if (number.empty())
    number = NrDokumentuFldQStr(d4field(Z5SPRE.table, "PRE"), d4field(Z5SPRE.table, "NRV"),
                                d4field(Z5SPRE.table, "POS"));
  int key = MessageWindow(MB_QUESTION | MB_YES_ESC, Sys("Nie zgadza się podsumowanie dokumentu z sumą pozycji !"),
                          number.c_str(), Sys("Czy kontynuować ?"));
  return key == KEY_ESC ? -1 : 0;
}

int licz_sumy_rejestru(sumy_rejestru_vat* sums, const ZrodloRejestruVat* source, OpcjeSumRejestru* options) {
  zeruj_sumy_rejestru(sums);
  options->przerwano = 0;
  TotalsPass pass{sums, source, options};
  if (przejdz_pozycje_rejestru(source, AddLine, &pass) != 0) return -1;
  // the share of taxed sales in the structure, in per cent
  if (sums->razem_struktura != 0)
    sums->udzial = ROUND(sums->opodatkowana / sums->razem_struktura * 100.0, 2);
  return 0;
}

namespace {

// Where a form holds its amounts; lines and columns from 0.
struct UkladFormularza {
  int form, lines, width;
  int net, vat, gross;                    // columns of the upper part
  int rateRows[GRUPY_STAWEK];             // first line of each rate group, -1 not printed
  int zeroHome, zeroExport, exempt;       // first lines of the one-amount groups (4 lines)
  int notSubjectDeduction, notSubject;    // first lines (3 lines), -1 not printed
  int withoutRate;                        // first line of the four bez stawki lines
  int withoutRateSalesOnly;               // form 77: the sales-without-invoice line only
  int total;
  int structureColumn, shareColumn;
  int taxedRow, exemptRow, structureRow, shareRow, outsideRow;
  int lumpColumn, lumpFirstRow, lumpCodes;
  int correctionColumn, correctionNetRow, correctionVatRow, correctionExemptRow;
};

const UkladFormularza kForms[] = {
    {47, 63, 78, 33, 48, 63, {3, 8, 13, 18}, 23, 28, 33, 38, 42, 46, -1, 51,
     12, 16, 56, 57, 58, 59, 61, 37, 56, 6, 63, 57, 58, 60},
    {181, 63, 78, 33, 48, 63, {3, 8, 13, 18}, 23, 28, 33, 38, 42, 46, -1, 51,
     11, 15, 55, 56, 57, 58, 61, 38, 54, 8, 63, 55, 56, 61},
    {190, 64, 78, 33, 48, 63, {3, 8, 13, 18}, 23, 28, 33, 38, 42, 46, -1, 51,
     11, 15, 55, 56, 57, 58, 62, 38, 54, 9, 63, 55, 56, 62},
    {77, 53, 84, 39, 54, 69, {3, 9, 15, -1}, 21, -1, 27, -1, 33, -1, 38, 40,
     17, 21, 44, 45, 46, 49, 51, 44, 43, 9, 69, 44, 45, 51},
};

const UkladFormularza& Layout(int form) {
  for (const UkladFormularza& layout : kForms)
    if (layout.form == form) return layout;
  return kForms[3];
}

constexpr int AMOUNT_WIDTH = 12, SHARE_WIDTH = 7;
constexpr int AMOUNT_FLAGS = 2 | 0x40 | 0x200;

void Put(char* page, const UkladFormularza& form, int row, int column, double value, int width = AMOUNT_WIDTH) {
  MemPrintDoubleFmt(page + row * form.width + column, value, width, AMOUNT_FLAGS);
}

// The classes then their sum, on consecutive lines (form 77 leaves a line
// before the sum).
void PutClasses(char* page, const UkladFormularza& form, int first, const int* classes, int count,
                const double* values, const int* columns, int columnCount) {
  double sum[3] = {};
  for (int i = 0; i < count; i++)
    for (int c = 0; c < columnCount; c++) {
      Put(page, form, first + i, columns[c], values[classes[i] * 3 + c]);
      sum[c] += values[classes[i] * 3 + c];
    }
  int sumRow = first + count + (form.form == 77 ? 1 : 0);
  for (int c = 0; c < columnCount; c++) Put(page, form, sumRow, columns[c], sum[c]);
}

// A one-amount group shown in the net and the gross column.
void PutSingle(char* page, const UkladFormularza& form, int first, const int* classes, int count,
               const double* values, bool grossOnly) {
  double spread[KLASY_SUM * 3] = {};
  for (int k = 0; k < KLASY_SUM; k++) spread[k * 3] = spread[k * 3 + 1] = values[k];
  const int both[] = {form.net, form.gross}, gross[] = {form.gross};
  PutClasses(page, form, first, classes, count, spread, grossOnly ? gross : both, grossOnly ? 1 : 2);
}

}  // namespace

int formularz_sum_rejestru(int year) {
  if (year <= 2020) return 47;
  if (year == 2021) return 181;
  return year <= 2023 ? 190 : 77;
}

int wiersze_formularza_sum(int form) { return Layout(form).lines; }
int kolumny_formularza_sum(int form) { return Layout(form).width; }

void wypelnij_strone_sum(const sumy_rejestru_vat* sums, char* page, int form) {
  const UkladFormularza& f = Layout(form);
  const int all[] = {KLASA_DOKUMENTY, KLASA_BEZ_RACHUNKOW, KLASA_KOREKTY};
  const int documentsAndCorrections[] = {KLASA_DOKUMENTY, KLASA_KOREKTY};
  const int columns[] = {f.net, f.vat, f.gross};
  for (int g = 0; g < GRUPY_STAWEK; g++)
    if (f.rateRows[g] >= 0) PutClasses(page, f, f.rateRows[g], all, 3, &sums->stawki[g][0][0], columns, 3);
  PutSingle(page, f, f.zeroHome, all, 3, sums->zerowa_kraj, false);
  if (f.zeroExport >= 0) PutSingle(page, f, f.zeroExport, all, 3, sums->zerowa_eksport, false);
  PutSingle(page, f, f.exempt, all, 3, sums->zwolniona, false);
  if (f.notSubjectDeduction >= 0)
    PutSingle(page, f, f.notSubjectDeduction, documentsAndCorrections, 2, sums->nie_podlega_z_odliczeniem, false);
  PutSingle(page, f, f.notSubject, documentsAndCorrections, 2, sums->nie_podlega, form != 77);
  if (f.withoutRate >= 0) PutSingle(page, f, f.withoutRate, all, 3, sums->bez_stawki, true);
  if (f.withoutRateSalesOnly >= 0)
    Put(page, f, f.withoutRateSalesOnly, f.gross, sums->bez_stawki[KLASA_BEZ_RACHUNKOW]);
  Put(page, f, f.total, f.net, sums->netto);
  Put(page, f, f.total, f.vat, sums->vat);
  Put(page, f, f.total, f.gross, sums->brutto);

  Put(page, f, f.taxedRow, f.structureColumn, sums->opodatkowana);
  Put(page, f, f.exemptRow, f.structureColumn, sums->zwolniona_struktura);
  Put(page, f, f.structureRow, f.structureColumn, sums->razem_struktura);
  Put(page, f, f.shareRow, f.shareColumn, sums->udzial, SHARE_WIDTH);
  Put(page, f, f.outsideRow, f.structureColumn, sums->poza_struktura);
  for (int code = 1; code <= f.lumpCodes; code++)
    Put(page, f, f.lumpFirstRow + code - 1, f.lumpColumn, sums->ryczalt[code]);

  double correctionNet = sums->zerowa_kraj[KLASA_KOREKTY] + sums->zerowa_eksport[KLASA_KOREKTY];
  double correctionVat = 0;
  for (int g = 0; g < GRUPY_STAWEK; g++) {
    correctionNet += sums->stawki[g][KLASA_KOREKTY][0];
    correctionVat += sums->stawki[g][KLASA_KOREKTY][1];
  }
  Put(page, f, f.correctionNetRow, f.correctionColumn, correctionNet);
  Put(page, f, f.correctionVatRow, f.correctionColumn, correctionVat);
  Put(page, f, f.correctionExemptRow, f.correctionColumn, sums->zwolniona[KLASA_KOREKTY]);
}
