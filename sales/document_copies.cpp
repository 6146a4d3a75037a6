#include "sales/document_copies.h"

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/stock_update.h"
#include "sales/document_conversions.h"
#include "sales/document_header.h"
#include "sales/document_lines.h"
#include "sales/document_totals.h"
#include "sales/numbering.h"
#include "sales/payments.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "sales/work_copies.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/menu.h"
#include "ui/message_box.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int PRO_FORMA = 6;

bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }
int Register() { return salesContext->rejestr; }
DbField* F(DbTable* t, const char* name) { return d4field(t, name); }
DbField* H(const char* name) { return F(Z5SPRZ.table, name); }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

// What the run keeps of its source before the copies are made.
struct Source {
  std::string number;   // as the new document's NUK holds it
  char daw[8];
  char das[8];
  int kind;
  bool advance;         // an advance invoice copied: its amount is asked
  double advanceAmount;
  int korekta;
} source;

void Remember(DbTable* h) {
  source.number = LinkNumber(h, F(h, "NUK"));
  std::memcpy(source.daw, f4ptr(F(h, "DAW")), 8);
  std::memcpy(source.das, f4ptr(F(h, "DAS")), 8);
  source.kind = f4int(F(h, "TYV"));
}

bool AdvanceKind(int kind) { return kind == (From2024() ? 11 : 9); }

void Blank(DbTable* t, std::initializer_list<const char*> names) {
  for (const char* name : names) f4blank(F(t, name));
}

// A new document claims no link of its source: else saving it would rewrite
// the source's pro forma or final invoice.
void ClearLinks(DbTable* h) {
  Blank(h, {"TYM", "NUK", "DAK", "REK"});
  if (From2024()) Blank(h, {"KON", "NKZ", "DAZ"});
}

void ClearPostingMarks(DbTable* h) { Blank(h, {"TRK", "LPO", "DZA"}); }

// ---- the invoice from a pro forma

void ProFormaInvoiceHeader(DbTable* h) {
  ClearPostingMarks(h);
  ClearLinks(h);
  f4blank(F(h, "AKT"));
  f4assign_int(F(h, "TYM"), PRO_FORMA);
  FldCopyString(F(h, "NUK"), source.number.c_str());
  f4assign_n(F(h, "DAK"), source.daw, 8);
}

// ---- copies and corrections

void CopyHeader(DbTable* h) {
  ClearPostingMarks(h);
  ClearLinks(h);
  Blank(h, {"KZA", "OZA"});
  if (source.advance) f4assign_double(F(h, "KZA"), source.advanceAmount);
  f4assign_char(F(h, "ZAP"), 'N');
  wpisz_wystawiajacego(F(h, "WYS"));
  if (!source.korekta) return;
  FldCopyString(F(h, "NUK"), source.number.c_str());
  f4assign_n(F(h, "DAK"), source.daw, 8);
  f4assign_n(F(h, "DAS"), source.das, 8);
  Blank(h, {"NET", "VAT", "BRU"});
  f4assign_int(F(h, "TYM"), source.kind);
}

void CorrectionLine(DbTable* l) {
  if (!source.korekta) return;
  static const char* const kPlain[] = {"ILO", "CNB", "CBB", "RAS", "CNR", "CBR", "WNE", "VAT", "VAS", "WAV", "WAB"};
  for (const char* plain : kPlain) {
    std::string k = std::string("K") + plain;
    DbField* to = F(l, k.c_str());
    DbField* from = F(l, plain);
    if (f4type(from) == 'N' && f4type(to) == 'N')
      f4assign_double(to, f4double(from));
    else
      f4assign_n(to, f4ptr(from), f4len(to));
  }
  Blank(l, {"ILK", "KRN", "KRV"});
}

// Takes the quantity of a goods line out of stock; 1 when written.
int TakeStock(DbTable* l) {
  if (c4atoi(f4ptr(F(l, "ZRP")), static_cast<int>(f4len(F(l, "ZRP")))) != 1) return 0;
  std::string code = FldQStr(F(l, "KOT"), 1);
  std::string name = FldQStr(F(l, "NA1"), 1);
  int written = 0;
  if (aktualizuj_ilosc(code.c_str(), name.c_str(), f4double(F(l, "ILO")), 1, &written) != 0) return -1;
  return written ? 1 : 0;
}

// With standard numbers taken at save time the number comes now, under the
// table's lock.
int NumberNow() {
  if (f4char(H("RE4")) == 'N' || salesOptions.standardNumbering != 'T' || salesOptions.autoNumbering != 'T')
    return 0;
  long record = d4recno(Z5SPRZ.table);
  int rc = nastepny_numer_dokumentu(0);
  return d4go(Z5SPRZ.table, record) == 0 ? rc : -1;
}

// Locks the whole headers and lines tables; 0, or -1 with neither held.
int LockBoth() {
  if (set_lock(Z5SPRZ.table, -1) != 0) return -1;
  if (set_lock(Z5SPRE.table, -1) == 0) return 0;
  d4unlock(Z5SPRZ.table);
  return -1;
}

void UnlockBoth() {
  d4unlock(Z5SPRE.table);
  d4unlock(Z5SPRZ.table);
}

// The shared road: the work copies of the source, the new document from
// them (`append`), and what `after` does with it; the source current again
// on failure.
template <class Append, class After>
int Convert(Append append, After after) {
  DbTable* h = Z5SPRZ.table;
  long record = d4recno(h);
  if (LockBoth() != 0) return -1;
  int result = NumberNow();
  if (result == 0) result = kopia_robocza_dokumentu();
  if (result == 0) {
    result = append();
    CloseWorkCopies();
  }
  zamknij_okno_raportu(1);
  if (result == 0) result = after(record);
  UnlockBoth();
  if (result != 0) d4go(h, record);
  return result;
}

int ChooseInvoiceKind() {
  static const std::string texts[] = {Sys("1. FAKTURA                -FV"), Sys("2. RACHUNEK               -RA"),
                                      Sys("3. FAKTURA do paragonu    -FP")};
  static const char* const items[] = {texts[0].c_str(), texts[0].c_str(), texts[1].c_str(), texts[2].c_str(),
                                      nullptr};
  static const int kinds[] = {0, 1, 2, 9};
  int chosen = get_menu_function(" WYBIERZ ", items, 1, -1, -1);
  return chosen < 1 ? -1 : kinds[chosen];
}

void StartNewDate() {
  std::memcpy(salesContext->newIssueDate, salesContext->workingDate, 8);
  salesContext->newIssueDate[8] = '\0';
}

// The number entry seeks in the headers: the source becomes current again
// before anything is read from it. 0, or -1 when it cannot be read.
int BackToSource(long source) { return d4go(Z5SPRZ.table, source) == 0 ? 0 : -1; }

}  // namespace

int aktualizuj_stan_z_proformy() {
  if (salesOptions.stockOnEntry != 'T' || salesOptions.stockOnProForma == 'T') return 0;
  return TakeStock(Z5SPRE.table);
}

int aktualizuj_stan_kopii() {
  if (source.korekta || source.advance || salesOptions.stockOnEntry != 'T') return 0;
  int kind = salesContext->kind;
  bool toReceipt = Register() == 1 ? kind == 9 || (kind == 3 && f4int(H("TYM")) == 9)
                                   : kind == 9 && f4int(H("SDR")) == 3;
  if (toReceipt && salesOptions.stockOnReceiptInvoices != 'T') return 0;
  if (kind == PRO_FORMA && salesOptions.stockOnProForma != 'T') return 0;
  return TakeStock(Z5SPRE.table);
}

int dopisz_z_kopii_roboczej() {
  return AppendFromWorkCopies(AppendRules{ProFormaInvoiceHeader, nullptr, aktualizuj_stan_z_proformy});
}

int dopisz_kopie_lub_korekte(int korekta) {
  source.korekta = korekta;
  return AppendFromWorkCopies(AppendRules{CopyHeader, CorrectionLine, aktualizuj_stan_kopii});
}

int CopyKind(int korekta) {
  int kind = f4int(H("TYV"));
  int akt = f4int(H("AKT"));
  bool mainInvoice = Register() == 1 && (kind == 1 || kind == 7);
  bool auxGathered = Register() == 2 && (kind == 9 || kind == 6);
  if (!korekta) {
    if (From2024() && (mainInvoice || auxGathered) && akt > 0) return 0;
    int tym = f4int(H("TYM"));
    if (!From2024() && mainInvoice && (tym == 9 || tym == 6)) return 0;
    if (!From2024() && auxGathered && (akt == 1 || akt == 7)) return 0;
  }
  switch (kind) {
    case 1: case 7: case 8: case 9: case 10: case 11: return korekta ? 3 : kind;
    case 2: return korekta ? 4 : kind;
    case 6: return korekta ? 0 : kind;
    default: return 0;
  }
}

int MakeInvoiceFromProForma(int newKind) {
  DbTable* h = Z5SPRZ.table;
  Remember(h);
  salesContext->kind = newKind;
  source.korekta = 0;
  source.advance = false;
  return Convert(dopisz_z_kopii_roboczej, [h, newKind](long proForma) {
    long invoice = d4recno(h);
    std::string number = LinkNumber(h, F(h, "NUK"));
    char daw[8];
    std::memcpy(daw, f4ptr(F(h, "DAW")), 8);
    zapisz_rozliczenie_dokumentu(0);
    if (d4go(h, proForma) != 0) return -1;
    f4assign_int(F(h, "TYM"), newKind);
    FldCopyString(F(h, "NUK"), number.c_str());
    f4assign_n(F(h, "DAK"), daw, 8);
    if (d4write(h, proForma) != 0 || d4flush(h) != 0) return -1;
    return d4go(h, invoice);
  });
}

int MakeCopyOrCorrection(int korekta, double advance) {
  DbTable* h = Z5SPRZ.table;
  int newKind = CopyKind(korekta);
  if (newKind == 0) return -1;
  Remember(h);
  salesContext->kind = newKind;
  source.korekta = korekta;
  source.advance = !korekta && AdvanceKind(source.kind);
  source.advanceAmount = advance;
  return Convert([korekta] { return dopisz_kopie_lub_korekte(korekta); }, [h, newKind](long) {
    if (source.advance) {
      if (rozloz_zaliczke(source.advanceAmount) == 0 && sumuj_pozycje_dokumentu(0, Register()) == 0)
        zapisz_sumy_naglowka(newKind);
      if (d4write(h, d4recno(h)) != 0 || d4flush(h) != 0) return -1;
    }
    zapisz_rozliczenie_dokumentu(0);
    return 0;
  });
}

int faktura_do_proformy() {
  if (EmptyBrowseWarning(CurrentBrowse) != 0 || f4int(H("TYV")) != PRO_FORMA) return 0;
  if (f4int(H("TYM")) != 0) Uwaga(Sys("Faktura PRO FORMA posiada już stowarzyszony dokument VAT.").c_str());
  if (f4char(H("ZAP")) == 'N') Uwaga(Sys("Dokument niezapłacony !").c_str());
  int kind = ChooseInvoiceKind();
  if (kind < 0) return 0;
  salesContext->kind = kind;
  StartNewDate();
  long proForma = d4recno(Z5SPRZ.table);
  if (podaj_numer_dokumentu(f4char(H("RE4")) != 'N', 0, 0) != 0) return 0;
  if (BackToSource(proForma) == 0) MakeInvoiceFromProForma(kind);
  d4unlock(Z5SPRZ.table);
  browse_call(0, d4recno(Z5SPRZ.table));
  return 0;
}

int kopiuj_lub_koryguj_dokument(int korekta) {
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = CopyKind(korekta);
  if (kind == 0) return 0;
  bool advance = !korekta && AdvanceKind(f4int(H("TYV")));
  salesContext->kind = kind;
  StartNewDate();
  long sourceRecord = d4recno(Z5SPRZ.table);
  double amount = 0;
  if (podaj_numer_kopii(f4char(H("RE4")) != 'N', advance ? &amount : nullptr, f4double(H("BRU"))) != 0) {
    d4unlock(Z5SPRZ.table);
    BackToSource(sourceRecord);
    return 0;
  }
  int result = BackToSource(sourceRecord);
  if (result == 0) result = MakeCopyOrCorrection(korekta, amount);
  d4unlock(Z5SPRZ.table);
  long record = d4recno(Z5SPRZ.table);
  browse_call(0, record);
  if (result != 0) return 0;
  salesContext->kind = kind;
  wybierz_formularz_naglowka(kind);
  browse_modyfikuj(0);
  if (advance) platnosc_kasowa_dokumentu(1, f4double(H("KZA")), 0);
  if (korekta) wprowadz_pozycje_dokumentu(0, kind, Register());
  browse_call(0, record);
  return 0;
}
