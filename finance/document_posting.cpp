// Posting the current sales document: its checks, the bookkeeping rate, the
// posting record built from its header and totals (in proportion to a cash
// entry under the cash method), the book's own posting, and the write-back
// into the header or the cash entry.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "masterdata/exchange_rates.h"
#include "sales/document_totals.h"
#include "sales/sales_context.h"
#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int CASH_METHOD_YEAR = 2025, NEW_CODES_YEAR = 2022;
constexpr int MSG_RECEIPT_INVOICE = 260;   // "To jest faktura do paragonu."
constexpr int MSG_BAD_STATUS = 105;        // "Niewłaściwy status księgowania."
constexpr int MSG_FORBIDDEN = 106;         // "Operacja zabroniona !"
constexpr int MSG_POSTED_TO_BOOK = 126;    // "Dokument został zaksięgowany do KPiR."
constexpr int MSG_OTHER_YEAR = 50132;      // "Rok różny od rozrachunkowego!"
constexpr int MSG_NO_RATE_LINES = 108, MSG_NOT_POSTED_LINES = 109;
constexpr int SOURCE_KEY_LENGTH = 12;

DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* K(const char* name) { return d4field(Z5KASA.table, name); }

bool AsksFirst(int kind, int akt, char sdr, int corrected) {
  bool invoice = kind == 1 || kind == 7;
  return kind == 9 || (kind == 3 && corrected == 9) || (invoice && akt == 3) || (invoice && akt == 1 && sdr == '3');
}

// Before 2022 the codes of the lines go to the register's older columns;
// code 7 to the rent-surplus slot (index -1), code 9 nowhere (-2).
int SlotOfCode(int code, int year) {
  if (year >= NEW_CODES_YEAR) return code - 1;
  static const int older[9] = {2, 1, 0, 7, 8, 4, -1, 3, -2};
  return older[code - 1];
}

template <size_t N>
void Put(char (&destination)[N], const char* text) {
  std::strncpy(destination, text, N - 1);
  destination[N - 1] = 0;
}

// The field's text laid out over two lines of at most `width` characters.
void SplitInto(DbField* field, int width, char (&first)[80], char (&second)[80]) {
  char a[80] = {}, b[80] = {};
  div_str(f4ptr(field), static_cast<int>(f4len(field)), a, width, b, width, nullptr);
  std::memcpy(first, a, sizeof a);
  std::memcpy(second, b, sizeof b);
}

struct RecordSlot {
  RecordSlot() : record(new (std::nothrow) ZapisKsiegowy{}) { zapisKsiegowy = record.get(); }
  ~RecordSlot() { zapisKsiegowy = nullptr; }
  void Clear() { *record = ZapisKsiegowy{}; }
  std::unique_ptr<ZapisKsiegowy> record;
};

}  // namespace

int RejestrSprzedazy() { return salesContext != nullptr ? salesContext->rejestr : 1; }
int FormaOpodatkowania() { return salesOptions.taxation == 1 ? 1 : 2; }
bool MetodaKasowa() { return WorkingYear() >= CASH_METHOD_YEAR && salesOptions.cashPit == 'T'; }

bool OdmowaMetodyKasowej(int kind, int akt) {
  bool invoice = kind == 1 || kind == 7;
  return (invoice && (akt == 1 || akt == 3)) || (RejestrSprzedazy() == 2 && kind != 11);
}

bool PomijanyWSerii(int kind, int akt) {
  char sdr = static_cast<char>(f4char(H("SDR")));
  return kind == 6 || AsksFirst(kind, akt, sdr, f4int(H("TYM")));
}

int KursKsiegowy(double* rate) {
  *rate = FldKurs(H("KKS"));
  std::string currency(f4ptr(H("WAL")), 3);
  if (currency == "PLN" || currency == "   " || f4double(H("KKS")) != 0) return 1;
  int32_t day = std::min(date4long(f4ptr(H("DAW"))), date4long(f4ptr(H("DAS"))));
  return kurs_waluty(currency.c_str(), day - 1, rate, 1, 1);
}

void WypelnijDaneDokumentu(ZapisKsiegowy* z, double rate) {
  SplitInto(H("NA1"), 35, z->nazwa[0], z->nazwa[1]);
  SplitInto(H("NA2"), 35, z->nazwa[2], z->nazwa[3]);
  Put(z->miejscowosc, KodNazwaKontrahentaQStr(H("KOP"), H("MIA")));
  SplitInto(H("ULI"), 32, z->ulica[0], z->ulica[1]);
  Put(z->opis1, FldQStr(H("OP1"), 0));
  Put(z->opis2, FldQStr(H("OP2"), 0));
  if (f4char(H("RE4")) == 'N')
    Put(z->nrDokumentu, FldQStr(H("OSM"), 1));
  else
    Put(z->nrDokumentu, NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS")));
  std::string currency(f4ptr(H("WAL")), 3);
  if (currency != "PLN" && currency != "   ") Put(z->kursTekst, KursQStr(currency.c_str(), rate));
}

double KwotaDokumentu() {
  const double* sums = sumyDokumentu.document;
  if (f4int(H("TYV")) == 3) return sums[SUM_CORRECTION_NET] + sums[SUM_CORRECTION_VAT];
  return sums[SUM_GROSS];
}

int WypelnijKwoty(ZapisKsiegowy* z, double rate, double paid, bool byPayment, const char* paidOn) {
  if (sumuj_pozycje_dokumentu(1, 0) != 0) return -1;
  int year = WorkingYear();
  for (int code = 1; code <= FLAT_RATE_SLOTS; code++) {
    double amount = ROUND(sumyDokumentu.lumpSum[code] * rate, 2);
    int slot = SlotOfCode(code, year);
    if (slot >= 0) z->ryczalt[slot] = amount;
    if (slot == -1) z->najemNadwyzka = amount;
  }
  z->przychodSprzedaz = ROUND(sumyDokumentu.incomeBook[1] * rate, 2);
  z->przychodPozostaly = ROUND(sumyDokumentu.incomeBook[2] * rate, 2);
  z->wynagrodzenia = ROUND(sumyDokumentu.incomeBook[3] * rate, 2);
  double amount = KwotaDokumentu();
  int kind = f4int(H("TYV"));
  if (byPayment) {
    double ratio = amount != 0 ? paid / amount : 1;
    ratio = MniejszaWartosc(ratio, 1);
    for (double* value : {&z->przychodSprzedaz, &z->przychodPozostaly, &z->wynagrodzenia})
      *value = ROUND(*value * ratio, 2);
    for (double& value : z->ryczalt) value = ROUND(value * ratio, 2);
    std::memcpy(z->dataKsiegi, paidOn, 8);
    std::memcpy(z->dataPlatnosci, paidOn, 8);
    z->kwotaDokumentu = amount;
    z->kasowo = 'T';
    z->recDokumentu = static_cast<int32_t>(f4long(H("REC")));
  } else {
    std::memcpy(z->dataKsiegi, f4ptr(salesOptions.stored101 == 1 ? H("DAS") : H("DAW")), 8);
    if (kind == 11) {
      std::memcpy(z->dataPlatnosci, f4ptr(H("DAS")), 8);
      z->kwotaDokumentu = amount;
      z->kasowo = 'T';
      z->recDokumentu = static_cast<int32_t>(f4long(H("REC")));
    }
  }
  std::memcpy(z->dataWystawienia, f4ptr(H("DAW")), 8);
  z->zakupTowarow = z->kosztyUboczne = z->inneWydatki = 0;
  z->zapisano = 0;
  z->konta = 0;
  z->zrodlo = RejestrSprzedazy() == 2 ? 9 : 1;
  z->terminPlatnosci = date4long(f4ptr(H("DPL")));
  z->zaplacono = static_cast<char>(f4char(H("ZAP")));
  z->status = ' ';
  return 0;
}

void PoczatekZapisu(ZapisKsiegowy* z) {
  z->kasowo = ' ';
  std::memset(z->dataWystawienia, ' ', 8);
  std::memset(z->dataPlatnosci, ' ', 8);
  z->kwotaDokumentu = 0;
}

void OstrzezenieBezStawki() {
  double notPosted = FormaOpodatkowania() == 1 ? sumyDokumentu.incomeBook[0] : sumyDokumentu.lumpSum[0];
  if (notPosted != 0) MessageWindow(MB_WARNING, MSG_NO_RATE_LINES, MSG_NOT_POSTED_LINES);
}

int KsiegujZapis(int seryjnie) { return FormaOpodatkowania() == 1 ? KsiegujKPiR(seryjnie) : KsiegujRyczalt(seryjnie); }

int ZapiszDoDokumentu(bool byPayment) {
  ZapisKsiegowy* z = zapisKsiegowy;
  DbTable* headers = Z5SPRZ.table;
  f4assign_int(H("TRK"), FormaOpodatkowania());
  if (!byPayment) {
    f4assign_long(H("LPO"), z->lp);
    f4assign_long(H("REK"), z->recKsiegi);
    f4assign_n(H("DZA"), z->dataZapisu, 8);
  }
  if (d4write(headers, d4recno(headers)) != 0 || d4flush(headers) != 0) return -1;
  return 0;
}

int ZapiszDoKasy(long entry) {
  ZapisKsiegowy* z = zapisKsiegowy;
  DbTable* cash = Z5KASA.table;
  // The entry is rewritten under its own lock.
  if (go_and_lock(cash, entry) != 0) return -1;
  f4assign_int(K("KSI"), FormaOpodatkowania());
  f4assign_long(K("LKS"), z->lp);
  f4assign_long(K("RKS"), z->recKsiegi);
  f4assign_n(K("DKS"), z->dataZapisu, 8);
  f4assign_double(K("KKS"), z->przychodSprzedaz + z->przychodPozostaly + z->wynagrodzenia);
  int result = d4write(cash, entry) == 0 && d4flush(cash) == 0 ? 0 : -1;
  d4unlock(cash);
  return result;
}

char* KluczDokumentuWKasie() {
  return KluczTypRokRek(RejestrSprzedazy() == 2 ? SOURCE_AUXILIARY_SALES : SOURCE_SALES, WorkingYear(),
                        d4recno(Z5SPRZ.table));
}

bool WpisDokumentu() {
  int source = RejestrSprzedazy() == 2 ? SOURCE_AUXILIARY_SALES : SOURCE_SALES;
  return f4int(K("TYZ")) == source && f4int(K("ROK")) == WorkingYear() &&
         f4long(K("REK")) == d4recno(Z5SPRZ.table);
}

namespace {

constexpr int MSG_NO_CASH_ENTRIES_ROW = 0;

int CashEntryFilter(intptr_t) { return WpisDokumentu() && !d4deleted(Z5KASA.table) ? 45 : 40; }

DbField** CashSlot(const char* name) {
  DbField* field = K(name);
  for (DbField*& bound : Z5KASA.field)
    if (bound == field) return &bound;
  return nullptr;
}

// The operator's pick of one cash entry of the document; its record, or 0.
long PickCashEntry(double* paid, char* paidOn) {
  DbTable* cash = Z5KASA.table;
  d4tag_select(cash, Z5KASA.tag[CASH_TAG_SOURCE]);
  if (d4seek_n(cash, KluczDokumentuWKasie(), SOURCE_KEY_LENGTH) != 0) {
    MessageWindow(MB_WARNING | MB_NO_PROMPT, Sys("Brak zapisów w kasie."), Sys("Księgowanie nie jest możliwe."));
    return 0;
  }
  PoleKodowane list[7];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "data", CashSlot("DAT"), nullptr, 0, -1);
  DefinePoleKodowane(0, "nr", CashSlot("NUM"), nullptr, 0, -1);
  DefinePoleKodowane(0, "kwota", CashSlot("KWO"), nullptr, 0, -1);
  DefinePoleKodowane(0, "KPiR lp", CashSlot("LKS"), nullptr, 0, 7);
  DefinePoleKodowane(0, "KPiR data", CashSlot("DKS"), nullptr, 0, 4);
  if (pole_kodowane_fun(nullptr, "KASA", list, CashEntryFilter, MSG_NO_CASH_ENTRIES_ROW, 0, cash) != KEY_ENTER)
    return 0;
  if (date4year(f4ptr(K("DAT"))) != WorkingYear()) {
    MessageWindow(MB_WARNING | MB_NO_PROMPT, "Data wpisu w kasie poza rokiem rozrachunkowym.",
                  Sys("Księgowanie nie jest możliwe."));
    return 0;
  }
  *paid = f4double(K("KWO"));
  if (*paid == 0) {
    MessageWindow(MB_WARNING | MB_NO_PROMPT, Sys("Kwota zapłacona = 0."), Sys("Nie ma czego księgować!"));
    return 0;
  }
  std::memcpy(paidOn, f4ptr(K("DAT")), 8);
  return d4recno(cash);
}

int Redisplay(long record) {
  if (CurrentBrowse == nullptr) return 0;
  return browse_call(0, record);
}

}  // namespace

int KsiegujDokument(int poZapisie) {
  int kind = f4int(H("TYV"));
  int akt = f4int(H("AKT"));
  bool cashMethod = MetodaKasowa();
  bool byPayment = cashMethod && czy_podzielona_platnosc(1) != 0 && kind != 11;
  if (cashMethod && OdmowaMetodyKasowej(kind, akt)) {
    MessageWindow(MB_WARNING | MB_NO_PROMPT, Sys("Dokumentów tego typu nie księgujemy."));
    return 0;
  }
  long cashEntry = 0;
  double paid = 0;
  char paidOn[8];
  if (byPayment) {
    if (OpenZ5KASA(0) != 0) return -1;
    cashEntry = PickCashEntry(&paid, paidOn);
    if (cashEntry == 0) {
      d4close(Z5KASA.table);
      return 0;
    }
  }
  // The cash book stays open from the pick to the write-back.
  struct CashClose {
    bool open;
    ~CashClose() {
      if (open && Z5KASA.table != nullptr) d4close(Z5KASA.table);
    }
  } cashClose{byPayment};
  if (kind == 6) return 0;
  if (AsksFirst(kind, akt, static_cast<char>(f4char(H("SDR"))), f4int(H("TYM"))) &&
      MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_RECEIPT_INVOICE, Sys("Czy na pewno chcesz zaksięgować ?")) == KEY_ESC)
    return 0;
  if (f4char(H("STV")) == 'N') {
    Uwaga(MSG_BAD_STATUS);
    return 0;
  }
  int posted = f4int(H("TRK"));
  if (posted != 0 && posted != FormaOpodatkowania()) {
    MessageWindow(MB_WARNING | MB_NO_PROMPT, MSG_FORBIDDEN, MSG_POSTED_TO_BOOK);
    return 0;
  }
  if (!poZapisie && EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  if (date4year(f4ptr(H("DAS"))) != WorkingYear()) {
    MessageWindow(MB_ERROR | MB_NO_PROMPT, MSG_OTHER_YEAR, MSG_FORBIDDEN);
    return 0;
  }
  double rate = 1;
  int found = KursKsiegowy(&rate);
  if (found < 1) return found;
  DbTable* headers = Z5SPRZ.table;
  long record = d4recno(headers);
  if (go_and_lock(headers, record) != 0) return Redisplay(record);
  int result = 0;
  {
    RecordSlot slot;
    ZapisKsiegowy* z = zapisKsiegowy;
    if (z == nullptr) {
      d4unlock(headers);
      return -1;
    }
    PoczatekZapisu(z);
    WypelnijDaneDokumentu(z, rate);
    if (byPayment) {
      d4go(Z5KASA.table, cashEntry);
      if (date4year(f4ptr(K("DKS"))) > 0) z->recKsiegi = static_cast<int32_t>(f4long(K("RKS")));
    } else if (date4year(f4ptr(H("DZA"))) > 0) {
      z->recKsiegi = static_cast<int32_t>(f4long(H("REK")));
    }
    if (WypelnijKwoty(z, rate, paid, byPayment, paidOn) != 0) {
      d4changed(headers, 0);
      d4unlock(headers);
      return -1;
    }
    OstrzezenieBezStawki();
    int posting = KsiegujZapis(0);
    if (posting < 0) result = -1;
    if (posting == 0 && z->zapisano) {
      if (ZapiszDoDokumentu(byPayment) != 0) result = -1;
      if (result == 0 && byPayment && ZapiszDoKasy(cashEntry) != 0) result = -1;
    }
    if (result < 0) Alarm(Sys("Błąd księgowania!"));
  }
  // The line totals' marks stay out of a header that was not written back.
  d4changed(headers, 0);
  d4unlock(headers);
  return Redisplay(record);
}
