#include "sales/document_totals.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/settlement.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "sales/sales_context.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

SumyDokumentu sumyDokumentu;

namespace {

constexpr int TAXATION_LUMP_SUM = 2;
constexpr int GTU_CODES = 13;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
double HeaderValue(const char* name) { return f4double(Header(name)); }
double LineValue(const char* name) { return f4double(Line(name)); }
char HeaderMark(const char* name) { return static_cast<char>(f4char(Header(name))); }
char LineMark(const char* name) { return static_cast<char>(f4char(Line(name))); }

bool LumpSumTaxation() { return salesOptions.taxation == TAXATION_LUMP_SUM; }

// Lump-sum rate codes below this limit are summed; the list grew in 2021 and 2022.
int LumpSumLimit() {
  int year = WorkingYear();
  return year < 2021 ? 8 : year == 2021 ? 9 : 10;
}

void AddLumpSum(double amount) {
  int rate = f4int(Line("RYT"));
  if (LumpSumTaxation() && rate > 0 && rate < LumpSumLimit()) sumyDokumentu.lumpSum[rate] += amount;
}

void SetExemptRows() {
  if (salesContext) salesContext->exemptRows = 1;
}

// The ordered gross of the current line: by the net price for documents
// entered in net (TRY 1), else by the gross price.
double OrderedGross(bool netPrices) {
  double v = LineValue("VAS") / 100;
  if (netPrices) return ROUND(LineValue("ILO") * LineValue("CNR") * (1 + v), 2);
  return ROUND(LineValue("ILO") * LineValue("CBR"), 2);
}

bool NetPrices() { return f4int(Header("TRY")) == 1; }

// Walks the lines of the current header; the step's result stops the walk
// when it is non-zero. 0, or -1 on a table error.
template <class Step>
int ForEachLine(const Step& step) {
  long header = f4long(Header("REC"));
  int rc = SeekSalesLinesByRek(header);
  if (rc < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  for (; rc == 0 && !d4eof(lines) && f4long(Line("REK")) == header; rc = d4skip(lines, 1)) {
    if (int stop = step()) return stop;
  }
  return rc < 0 ? -1 : 0;
}

const char* const kPaymentForms[] = {"GOTÓWKA", "PRZELEW", "CZEK Nr", "WYDŁUŻONY TERMIN", "POBRANIE POCZTOWE",
                                     "ZAPŁACONO GOTÓWKĄ", "KARTA PŁATNICZA", "POLECENIE ZAPŁATY"};
constexpr int PAYMENT_FORM_WIDTH = 17;
constexpr int OTHER_PAYMENT_FORM = 9;

bool PaidAtOnce(int form) { return form == 1 || form == 3 || form == 6 || form == 7; }

// The small taxpayer's VAT date for an unpaid document: 179 days after the
// sale when the buyer is not a VAT payer, else none.
void SmallTaxpayerUnpaidDate() {
  char* vat = f4assign_ptr(Header("DAV"));
  int32_t sale = date4long(f4ptr(Header("DAS")));
  if (HeaderMark("RE3") == 'N' && sale > 0)
    date4assign(vat, sale + 179);
  else
    std::memset(vat, ' ', 8);
}

bool CashVatOfSmallTaxpayer() { return f4int(Header("TYV")) == 7 && salesOptions.cashVat == 'T'; }

}  // namespace

void wyczysc_sumy_dokumentu() { std::memset(sumyDokumentu.document, 0, sizeof sumyDokumentu.document); }

void wyczysc_sumy_kpir() {
  wyczysc_sumy_dokumentu();
  std::memset(sumyDokumentu.incomeBook, 0, sizeof sumyDokumentu.incomeBook);
}

void wyczysc_sumy_ryczaltu() {
  wyczysc_sumy_dokumentu();
  std::memset(sumyDokumentu.lumpSum, 0, sizeof sumyDokumentu.lumpSum);
}

void dodaj_pozycje_do_sum(int recompute) {
  int kind = f4int(Header("TYV"));
  double net = LineValue("WNE"), vat = LineValue("WAV"), gross = LineValue("WAB");
  char origin = LineMark("ODC");
  if (recompute && (kind == 1 || kind == 7) && (origin == 'Z' || origin == 'A')) {
    double v = LineValue("VAS") / 100;
    gross = OrderedGross(NetPrices());
    vat = ROUND(v * gross / (1 + v), 2);
    net = ROUND(gross / (1 + v), 2);
  }
  int column = f4int(Line("TYP"));
  if (column < 0 || column >= INCOME_BOOK_COLUMNS) return;
  double* sums = sumyDokumentu.document;
  double* book = sumyDokumentu.incomeBook;
  if (kind == 1 || kind == 2 || (kind >= 5 && kind <= 11)) {
    sums[SUM_NET] += net;
    sums[SUM_VAT] += vat;
    sums[SUM_GROSS] += gross;
    int code = f4int(Line("VAT"));
    char lineMark = LineMark("RE3");
    bool lineOss = LineMark("STM") == '4';
    if (code == 6 && !lineOss && lineMark != 'T' && lineMark != '8') {
      book[0] += gross;
      return;
    }
    double income;
    if (code == 4) {
      income = gross;
      if (gross > 0 && !lineOss) SetExemptRows();
    } else if (czy_dokument_marzy()) {
      income = gross - vat - (HeaderMark("STA") == '2' ? LineValue("ZFM") : 0);
    } else {
      income = net;
    }
    book[column] += income;
    AddLumpSum(income);
  } else if (kind == 3 || kind == 4) {
    double change = LineValue("KRN");
    sums[SUM_CORRECTION_NET] += change;
    sums[SUM_CORRECTION_VAT] += LineValue("KRV");
    if (f4int(Header("TYM")) == 8 && HeaderMark("STA") != '2') change += LineValue("RE2") - LineValue("ZFM");
    book[column] += change;
    AddLumpSum(change);
  }
}

int sumuj_pozycje_dokumentu(int recompute, int /*rejestr: its tables are the current set*/) {
  if (salesOptions.taxation == 1)
    wyczysc_sumy_kpir();
  else
    wyczysc_sumy_ryczaltu();
  char* marks = f4assign_ptr(Header("NKK"));
  int width = static_cast<int>(f4len(Header("NKK")));
  return ForEachLine([&] {
    dodaj_pozycje_do_sum(recompute);
    int gtu = f4int(Line("RE5"));
    if (gtu >= 1 && gtu <= GTU_CODES && gtu <= width) marks[gtu - 1] = 'T';
    return 0;
  });
}

int sprawdz_sumy_dokumentu(int kind, int skip) {
  if (skip || f4int(Header("AKT")) != 0) return 0;
  const double* sums = sumyDokumentu.document;
  auto differs = [](double stored, double summed) { return ROUND(stored, 2) != ROUND(summed, 2); };
  if (kind == 3 || kind == 4)
    return differs(HeaderValue("KRN"), sums[SUM_CORRECTION_NET]) ||
                   differs(HeaderValue("KRV"), sums[SUM_CORRECTION_VAT])
               ? -1
               : 0;
  return differs(HeaderValue("NET"), sums[SUM_NET]) || differs(HeaderValue("VAT"), sums[SUM_VAT]) ||
                 differs(HeaderValue("BRU"), sums[SUM_GROSS])
             ? -1
             : 0;
}

int rozloz_zaliczke(double amount) {
  if (amount < 0) return 0;
  bool netPrices = NetPrices();
  double ordered = 0;
  std::vector<long> records;
  if (ForEachLine([&] {
        ordered += OrderedGross(netPrices);
        records.push_back(d4recno(Z5SPRE.table));
        return 0;
      }) != 0)
    return -1;
  if (ordered > 0) {
    if (amount > ordered) {
      Uwaga(Utf8ToMazText("Kwota zapłacona jest większa od wartości brutto!").c_str());
      amount = ordered;
    }
    // The shares are rounded; the last line takes what the others left, so
    // that they add up to the amount.
    double spread = 0;
    DbTable* lines = Z5SPRE.table;
    for (size_t i = 0; i < records.size(); i++) {
      if (d4go(lines, records[i]) != 0) return -1;
      double v = LineValue("VAS") / 100;
      double price = netPrices ? LineValue("CNR") * (1 + v) : LineValue("CBR");
      double share = i + 1 < records.size() ? ROUND(amount / ordered * LineValue("ILO") * price, 2)
                                            : ROUND(amount - spread, 2);
      spread += share;
      double vat = ROUND(v / (1 + v) * share, 2);
      ToFieldCopyDouble(Line("WAV"), vat);
      ToFieldCopyDouble(Line("WNE"), share - vat);
      if (d4write(lines, records[i]) != 0 || d4flush(lines) != 0) return -1;
    }
  }
  if (HeaderValue("KZA") >= ordered) f4assign_char(Header("ZAP"), 'T');
  return 0;
}

int kod_formy_platnosci(DbField* field) {
  const char* text = f4ptr(field);
  int width = static_cast<int>(f4len(field));
  for (int form = 1; form <= static_cast<int>(std::size(kPaymentForms)); form++) {
    std::string entry = Utf8ToMazText(kPaymentForms[form - 1]);
    entry.resize(PAYMENT_FORM_WIDTH, ' ');
    std::string stored(text, static_cast<size_t>(std::min(width, PAYMENT_FORM_WIDTH)));
    stored.resize(PAYMENT_FORM_WIDTH, ' ');
    if (cmp_str(stored.c_str(), entry.c_str(), PAYMENT_FORM_WIDTH) == 0) return form;
  }
  return OTHER_PAYMENT_FORM;
}

void ustaw_stan_zaplaty() {
  bool paid = PaidAtOnce(kod_formy_platnosci(Header("PLA")));
  f4assign_char(Header("ZAP"), paid ? 'T' : 'N');
  if (paid) std::memcpy(f4assign_ptr(Header("DPL")), f4ptr(Header("DAW")), 8);
  if (salesContext && salesContext->paidAmountMode == 1)
    ustaw_znacznik_zaplaty();
  else
    ToFieldCopyDouble(Header("KZA"), paid ? KwotaDoRozliczenia(nullptr) : 0);
  ustal_date_vat_mp();
}

DbField* ustaw_znacznik_zaplaty() {
  DbField* zap = Header("ZAP");
  f4assign_char(zap, KwotyRozliczone(KwotaDoRozliczenia(nullptr), HeaderValue("KZA")) ? 'T' : 'N');
  return zap;
}

void ustal_date_vat_mp() {
  if (!CashVatOfSmallTaxpayer() || !FieldIsEmpty(Header("DAV"))) return;
  if (HeaderMark("ZAP") != 'T' && HeaderMark("STM") != '2')
    SmallTaxpayerUnpaidDate();
  else
    std::memcpy(f4assign_ptr(Header("DAV")), f4ptr(Header("DAW")), 8);
}

int data_vat_mp_wg_platnika(Get4*) {
  if (!AddingNewDocument() || !CashVatOfSmallTaxpayer() || HeaderMark("STM") == '2') return 0;
  SmallTaxpayerUnpaidDate();
  OdswiezGety();
  return 0;
}

void ustal_date_vat_mp_po_zaplacie() {
  if (!CashVatOfSmallTaxpayer()) return;
  if (HeaderMark("STM") != '2' && HeaderValue("KZA") <= 0)
    SmallTaxpayerUnpaidDate();
  else
    std::memcpy(f4assign_ptr(Header("DAV")), f4ptr(Header("DAW")), 8);
}

int czy_dokument_marzy() {
  int kind = f4int(Header("TYV"));
  return kind == 8 || (kind == 5 && f4int(Header("RE5")) == 2) ? 1 : 0;
}

int czy_podzielona_platnosc(int flag) {
  auto splitKind = [](int kind) { return kind == 1 || kind == 7 || kind == 8; };
  int kind = f4int(Header("TYV"));
  int corrected = f4int(Header("TYM"));
  bool split = splitKind(kind) || (kind == 3 && (splitKind(corrected) || corrected == 11));
  if (!split || f4char(Header("STV")) != 'T') return 0;
  return !flag || f4char(Header("PKA")) == 'T' ? 1 : 0;
}

int czy_dokument_pit_kasowego(int flag) {
  int kind = f4int(Header("TYV")), linked = f4int(Header("TYM"));
  bool qualifies = kind == 1 || kind == 7 || kind == 8 ||
                   (kind == 3 && (linked == 1 || linked == 7 || linked == 8 || linked == 11));
  if (!qualifies || HeaderMark("STV") != 'T') return 0;
  return !flag || HeaderMark("PKA") == 'T' ? 1 : 0;
}

int czy_pit_kasowy_dozwolony() {
  int kind = f4int(Header("TYV")), linked = f4int(Header("TYM")), link = f4int(Header("AKT"));
  if ((kind == 1 || kind == 7) && (link == 1 || link == 3)) return 0;
  bool qualifies =
      kind == 1 || kind == 7 || kind == 8 || (kind == 3 && (linked == 1 || linked == 7 || linked == 8));
  return qualifies && HeaderMark("STV") == 'T' ? 1 : 0;
}
