#include "sales/final_invoices.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "masterdata/stock_update.h"
#include "sales/document_conversions.h"
#include "sales/numbering.h"
#include "sales/payments.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "sales/work_copies.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/coded_field.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int FIRST_CASH_PIT_YEAR = 2025;
constexpr int CORRECTION = 3;
constexpr int TAG_ISSUE_DATE = 1;     // DTOS(DAW)+...
constexpr int TAG_KIND_NUMBER = 5;    // STR(TYV,2,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)

bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }
DbField* F(DbTable* t, const char* name) { return d4field(t, name); }
double V(DbTable* t, const char* name) { return f4double(F(t, name)); }
void Set(DbTable* t, const char* name, double value) { f4assign_double(F(t, name), ROUND(value, 2)); }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

// The run: its menu choice and the paid amount of the document gathered last.
struct Run {
  int choice;
  double gatheredPaid;
} run;

bool Advances(int choice) { return choice == 1 || choice == 3; }

bool AppendByteCopy(DbTable* target, DbTable* source) {
  if (d4append_start(target, 0) != 0) return false;
  std::memcpy(d4record(target), d4record(source), d4record_width(source));
  return true;
}

std::string Trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

std::string Upper(DbField* field) {
  std::string s = Trimmed(std::string(f4ptr(field), f4len(field)));
  for (char& c : s) c = static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
  return s;
}

// The final invoice's date fields: no VAT date under the cash method.
void NewDates(DbTable* t, int kind, std::initializer_list<const char*> names) {
  for (const char* name : names) f4assign_n(F(t, name), salesContext->newIssueDate, 8);
  if (kind == 7 && salesOptions.cashVat == 'T') f4blank(F(t, "DAV"));
}

static const char* const kCorrectionFields[] = {"ILO", "CNB", "CBB", "RAS", "CNR", "CBR", "WNE", "VAT", "VAS",
                                                 "WAV", "WAB"};

void ClearCorrectionFields(DbTable* l) {
  for (const char* name : {"ILK", "KRN", "KRV"}) f4blank(F(l, name));
  for (const char* plain : kCorrectionFields) f4blank(F(l, (std::string("K") + plain).c_str()));
}

double K(DbTable* t, const char* plain) { return V(t, (std::string("K") + plain).c_str()); }

// A new invoice line from the current source line, before its append.
void NewLine(DbTable* l, DbTable* source, DbTable* invoice, int choice) {
  int kind = f4int(F(invoice, "TYV"));
  f4assign_char(F(l, "ODC"), Advances(choice) ? 'Z' : 'P');
  f4assign_long(F(l, "REK"), f4long(F(invoice, "REC")));
  f4assign_long(F(l, "REC"), d4reccount(l) + 1);
  f4assign_int(F(l, "TYV"), kind);
  NewDates(l, kind, {"DAW", "DAV"});
  for (const char* part : {"PRE", "NRV", "POS"}) f4assign_n(F(l, part), f4ptr(F(invoice, part)), f4len(F(l, part)));
  if (f4char(F(invoice, "RE4")) == 'N') f4assign_n(F(l, "RE1"), f4ptr(F(invoice, "OSM")), f4len(F(l, "RE1")));
  f4assign_int(F(l, "RFK"), f4int(F(invoice, "AKT")));
  // The stock of the invoice's lines is taken once the gathering ends.
  f4assign_char(F(l, "STA"), 'N');
  if (!Advances(choice)) return;
  if (f4int(F(source, "TYV")) == CORRECTION) {
    ClearCorrectionFields(l);
    double quantity = K(source, "ILO") - V(source, "ILO");
    f4assign_double(F(l, "ILO"), quantity == 0 ? 1 : quantity);
    for (const char* name : {"CNB", "CBB", "RAS", "CNR", "CBR"}) f4assign_double(F(l, name), K(source, name));
    Set(l, "WNE", std::max(0.0, K(source, "WNE") - V(source, "WNE")));
    f4assign_double(F(l, "VAT"), K(source, "VAT"));
    f4assign_double(F(l, "VAS"), K(source, "VAS"));
    Set(l, "WAV", std::max(0.0, K(source, "WAV") - V(source, "WAV")));
    Set(l, "WAB", K(source, "WAB") - V(source, "WAB"));
    return;
  }
  double r = V(source, "VAS") / 100, g = V(source, "WAB");
  Set(l, "WAV", std::max(0.0, ROUND(g * r / (1 + r), 2) - V(source, "WAV")));
  Set(l, "WNE", std::max(0.0, ROUND(g / (1 + r), 2) - V(source, "WNE")));
}

// The current source line merged into the current invoice line.
void MergeLine(DbTable* l, DbTable* source, int choice) {
  double q = V(l, "ILO"), s = V(source, "ILO"), c = V(l, "CBR");
  if (!Advances(choice)) {
    f4assign_double(F(l, "ILO"), q + s);
    for (const char* name : {"WAV", "WNE", "WAB"}) Set(l, name, V(l, name) + V(source, name));
    return;
  }
  if (f4int(F(source, "TYV")) == CORRECTION) {
    ClearCorrectionFields(l);
    for (const char* name : {"ILO", "CNB", "CBB", "RAS", "CNR", "CBR", "WNE"})
      f4assign_double(F(l, name), std::max(0.0, V(l, name) + K(source, name) - V(source, name)));
    f4assign_double(F(l, "VAT"), K(source, "VAT"));
    f4assign_double(F(l, "VAS"), K(source, "VAS"));
    Set(l, "WAV", std::max(0.0, V(l, "WAV") + K(source, "WAV") - V(source, "WAV")));
    Set(l, "WAB", std::max(0.0, V(l, "WAB") + K(source, "WAB") - V(source, "WAB")));
    return;
  }
  if (Pytanie(Sys("Czy zwiększyć ilość?").c_str()) == KEY_ESC) {
    Set(l, "WAV", std::max(0.0, V(l, "WAV") - V(source, "WAV")));
    Set(l, "WNE", std::max(0.0, V(l, "WNE") - V(source, "WNE")));
    return;
  }
  double r = V(source, "VAS") / 100;
  f4assign_double(F(l, "ILO"), q + s);
  Set(l, "WAV", std::max(0.0, V(l, "WAV") + s * c * r / (1 + r) - V(source, "WAV")));
  Set(l, "WNE", std::max(0.0, V(l, "WNE") + s * c / (1 + r) - V(source, "WNE")));
  Set(l, "WAB", ROUND((q + s) * c, 2));
}

bool SameLine(DbTable* a, DbTable* b) {
  bool byCode = !FieldIsEmpty(F(a, "KOT")) || !FieldIsEmpty(F(b, "KOT"));
  bool same = byCode ? Upper(F(a, "KOT")) == Upper(F(b, "KOT"))
                     : Upper(F(a, "NA1")) == Upper(F(b, "NA1")) && f4int(F(a, "VAT")) == f4int(F(b, "VAT"));
  return same && V(a, "RAS") == V(b, "RAS") && (V(a, "CNB") == V(b, "CNB") || V(a, "CBB") == V(b, "CBB"));
}

// Record numbers of a document's lines, in the order of the lines tag.
template <class Seek>
int LinesOf(DbTable* lines, long rec, Seek seek, std::vector<long>* out) {
  int rc = seek(rec);
  if (rc < 0) return -1;
  for (; rc == 0 && !d4eof(lines) && f4long(F(lines, "REK")) == rec; rc = d4skip(lines, 1))
    out->push_back(d4recno(lines));
  return rc < 0 ? -1 : 0;
}

// The final invoice's header made current and the record numbers of its lines.
int InvoiceLines(long recFaktury, std::vector<long>* out) {
  DbTable* h = Z5SPRZ.table;
  if (d4go(h, recFaktury) != 0) return -1;
  return LinesOf(Z5SPRE.table, f4long(F(h, "REC")), SeekSalesLinesByRek, out);
}

std::string NumberOf(DbTable* h, DbField* link) { return Trimmed(LinkNumber(h, link)); }

// Links the gathered header to the invoice.
int LinkSource(long recZrodla, long recFaktury, int choice) {
  DbTable* h = Z5SPRZ.table;
  DbTable* aux = Z5SPRZ_2.table;
  if (d4go(h, recFaktury) != 0 || d4go(aux, recZrodla) != 0) return -1;
  f4assign_long(F(aux, "REK"), f4long(F(h, "REC")));
  if (From2024()) {
    f4assign_int(F(aux, "KON"), choice);
    FldCopyString(F(aux, "NKZ"), LinkNumber(h, F(aux, "NKZ")).c_str());
    f4assign_n(F(aux, "DAZ"), f4ptr(F(h, "DAW")), 8);
  } else {
    f4assign_int(F(aux, "AKT"), choice == 2 ? 2 : 1);
    if (f4int(F(aux, "TYV")) == CORRECTION) {
      f4assign_int(F(aux, "KON"), 1);
    } else {
      f4assign_int(F(aux, "TYM"), f4int(F(h, "TYV")));
      FldCopyString(F(aux, "NUK"), LinkNumber(h, F(aux, "NUK")).c_str());
      f4assign_n(F(aux, "DAK"), f4ptr(F(h, "DAW")), 8);
    }
  }
  return d4write(aux, recZrodla) == 0 && d4flush(aux) == 0 ? 0 : -1;
}

// The recipient of the gathered document, through Z5SOEX, for the invoice.
int CopyRecipient(long sourceRec, long invoiceRec) {
  if (!Z5SPRO.table || szukaj_odbiorcy(2, sourceRec) != 0) return 0;
  if (OpenRecipientWorkCopy() != 0) return -1;
  int result = AppendByteCopy(SoexCopy.table, Z5SPRO.table) && d4append(SoexCopy.table) == 0 ? 0 : -1;
  DbTable* recipients = Z5SPRO.table;
  if (result == 0 && AppendByteCopy(recipients, SoexCopy.table)) {
    f4assign_int(F(recipients, "SPR"), 1);
    f4assign_long(F(recipients, "REK"), invoiceRec);
    f4assign_long(F(recipients, "REC"), d4reccount(recipients) + 1);
    if (d4append(recipients) != 0) result = -1;
  } else {
    result = -1;
  }
  d4close(SoexCopy.table);
  return result;
}

int ChoiceOf(int z_zaliczek, int z_zaliczek_do_paragonow) {
  if (!z_zaliczek) return 2;
  return z_zaliczek_do_paragonow ? 3 : 1;
}

// ---- locks of one gathering step

DbTable* const* StepTables() {
  static DbTable* tables[4];
  tables[0] = Z5SPRZ.table;
  tables[1] = Z5SPRE.table;
  tables[2] = Z5SPRZ_2.table;
  tables[3] = Z5SPRE_2.table;
  return tables;
}

void UnlockStep(int locked) {
  DbTable* const* t = StepTables();
  for (int i = locked - 1; i >= 0; i--) d4unlock(t[i]);
}

// Main headers and lines, auxiliary headers and lines, whole; 0, or -1
// with none held.
int LockStep() {
  DbTable* const* t = StepTables();
  for (int i = 0; i < 4; i++) {
    if (set_lock(t[i], -1) != 0) {
      UnlockStep(i);
      return -1;
    }
  }
  return 0;
}

// ---- the pick lists

struct Pick {
  int choice;
  std::string nip;   // of the invoice, digits and letters only; empty on the first pick
} pick;

std::string PlainNip(DbField* field) {
  std::string out;
  for (char c : std::string(f4ptr(field), f4len(field)))
    if (c != ' ' && c != '-' && c != '.') out += static_cast<char>(EnvToUpper(static_cast<unsigned char>(c)));
  return out;
}

bool Offered(DbTable* t, int choice) {
  int kind = f4int(F(t, "TYV")), tym = f4int(F(t, "TYM")), kon = f4int(F(t, "KON"));
  bool receipts = f4char(F(t, "SDR")) == '3';
  if (From2024()) {
    switch (choice) {
      case 1: return kon == 0 && (kind == 11 || (kind == CORRECTION && tym == 11));
      case 2: return kon == 0 && kind == 6;
      default: return kon == 0 && (kind == 10 || (kind == CORRECTION && tym == 10));
    }
  }
  switch (choice) {
    case 1: return !receipts && ((kind == 9 && tym == 0) || (kind == CORRECTION && kon == 0));
    case 2: return kind == 6 && tym == 0;
    default: return receipts && kind == 9 && tym == 0;
  }
}

int PickFilter(intptr_t) {
  DbTable* t = Z5SPRZ_2.table;
  if (!Offered(t, pick.choice)) return X4_REJECT;
  if (!pick.nip.empty() && PlainNip(F(t, "NIP")) != pick.nip) return X4_REJECT;
  return X4_ACCEPT;
}

// The auxiliary header picked, or -1 on Esc.
long PickSource(int choice, const std::string& nip) {
  static const char* const kTitles[] = {"", "FAKTURY ZALICZKOWE", "FAKTURY PRO FORMA",
                                        "FAKTURY ZALICZKOWE do paragonów"};
  DbTable* aux = Z5SPRZ_2.table;
  static DbField* columns[6];
  const char* names[] = {"DAW", "PRE", "NRV", "POS", "OSM", "NA1"};
  for (int i = 0; i < 6; i++) columns[i] = F(aux, names[i]);
  static PoleKodowane list[7];
  ResetPoleKodowaneDefinition(list, sizeof list);
  DefinePoleKodowane(0, "data", &columns[0], &Z5SPRZ_2.tag[TAG_ISSUE_DATE], 1, -1);
  DefinePoleKodowane(0, "pref", &columns[1], nullptr, 0, -1);
  DefinePoleKodowane(0, "numer", &columns[2], nullptr, 0, -1);
  DefinePoleKodowane(0, "postfix", &columns[3], nullptr, 0, -1);
  DefinePoleKodowane(0, "nr niestand.", &columns[4], nullptr, 0, 20);
  DefinePoleKodowane(0, "nazwa", &columns[5], nullptr, 0, 22);
  pick.choice = choice;
  pick.nip = nip;
  d4tag_select(aux, Z5SPRZ_2.tag[TAG_KIND_NUMBER]);
  std::string title = Sys(kTitles[choice]);
  int key = pole_kodowane_fun(nullptr, TextRef(title.c_str()), list, PickFilter, 1, 0, aux);
  return key == KEY_ENTER ? d4recno(aux) : -1;
}

int ChooseFinalKind() {
  static const std::string texts[] = {Sys("1. KOŃCOWA do zaliczkowych"), Sys("2. ZBIORCZA do pro forma"),
                                      Sys("3. KOŃCOWA zaliczkowe do paragonów")};
  static const char* const items[] = {texts[2].c_str(), texts[0].c_str(), texts[1].c_str(), texts[2].c_str(),
                                      nullptr};
  int row = 2, col = 22;
  int previous = w4select(-1);
  row += w4start_row();
  col += w4start_col();
  w4select(previous);
  return get_menu_function(" WYBIERZ ", items, 1, row, col);
}

}  // namespace

int szukaj_podobnej_pozycji(long recFaktury) {
  DbTable* l = Z5SPRE.table;
  std::vector<long> lines;
  if (InvoiceLines(recFaktury, &lines) != 0) return 0;
  for (long record : lines) {
    if (d4go(l, record) != 0 || !SameLine(l, Z5SPRE_2.table)) continue;
    return Pytanie(Sys("Znaleziono podobną pozycję. Czy aktualizować ?").c_str()) == KEY_ESC ? 0 : 1;
  }
  return 0;
}

int dopisz_pozycje_do_faktury_koncowej(long recZrodla, long recFaktury, int z_zaliczek, int z_zaliczek_do_paragonow) {
  int choice = ChoiceOf(z_zaliczek, z_zaliczek_do_paragonow);
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  DbTable* aux = Z5SPRZ_2.table;
  DbTable* auxLines = Z5SPRE_2.table;
  if (d4go(aux, recZrodla) != 0) return -1;
  std::vector<long> sourceLines;
  if (LinesOf(auxLines, f4long(F(aux, "REC")), SeekSalesLinesByRek2, &sourceLines) != 0) return -1;
  if (sourceLines.empty()) return 1;
  for (long record : sourceLines) {
    if (d4go(auxLines, record) != 0) return -1;
    if (szukaj_podobnej_pozycji(recFaktury) == 1) {
      MergeLine(l, auxLines, choice);
      set_pass_inf(0, F(l, "INF"));
      if (d4write(l, d4recno(l)) != 0) return -1;
      continue;
    }
    if (d4go(h, recFaktury) != 0 || !AppendByteCopy(l, auxLines)) return -1;
    NewLine(l, auxLines, h, choice);
    set_pass_inf(0, F(l, "INF"));
    if (d4append(l) != 0) return -1;
  }
  return d4flush(l) == 0 ? 0 : -1;
}

int sumy_faktury_koncowej(long recFaktury) {
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  std::vector<long> lines;
  if (InvoiceLines(recFaktury, &lines) != 0) return -1;
  double net = 0, vat = 0, gross = 0;
  for (long record : lines) {
    if (d4go(l, record) != 0) return -1;
    net += V(l, "WNE");
    vat += V(l, "WAV");
    gross += V(l, "WAB");
  }
  if (d4go(h, recFaktury) != 0) return -1;
  Set(h, "NET", net);
  Set(h, "VAT", vat);
  Set(h, "BRU", gross);
  double paid = V(h, "KZA") + run.gatheredPaid;
  Set(h, "KZA", paid);
  f4assign_char(F(h, "ZAP"), gross > paid ? 'N' : 'T');
  if (ROUND(gross, 2) < ROUND(paid, 2)) Uwaga(Sys("Kwota zapłacona jest większa od wartości brutto!").c_str());
  return d4write(h, recFaktury) == 0 && d4flush(h) == 0 ? 0 : -1;
}

int aktualizuj_stan_faktury_koncowej(long recFaktury) {
  if (salesOptions.stockOnEntry != 'T' || salesOptions.stockRulesForAuxiliary == 'T') return 0;
  DbTable* l = Z5SPRE.table;
  std::vector<long> lines;
  if (InvoiceLines(recFaktury, &lines) != 0) return 0;
  for (long record : lines) {
    if (d4go(l, record) != 0 || c4atoi(f4ptr(F(l, "ZRP")), static_cast<int>(f4len(F(l, "ZRP")))) != 1) continue;
    std::string code = FldQStr(F(l, "KOT"), 1);
    std::string name = FldQStr(F(l, "NA1"), 1);
    int written = 0;
    if (aktualizuj_ilosc(code.c_str(), name.c_str(), V(l, "ILO"), 1, &written) == 0 && written) {
      f4assign_char(F(l, "STA"), 'T');
      d4write(l, record);
    }
  }
  d4flush(l);
  zamknij_okno_raportu(1);
  d4go(Z5SPRZ.table, recFaktury);
  return 0;
}

long utworz_fakture_koncowa(long recZrodla, int z_zaliczek, int z_zaliczek_do_paragonow) {
  int choice = ChoiceOf(z_zaliczek, z_zaliczek_do_paragonow);
  const kontekst_sprzedazy& c = *salesContext;
  DbTable* h = Z5SPRZ.table;
  DbTable* aux = Z5SPRZ_2.table;
  if (d4go(aux, recZrodla) != 0 || !AppendByteCopy(h, aux)) return -1;
  f4assign_long(F(h, "REC"), d4reccount(h) + 1);
  f4assign_int(F(h, "TYV"), c.kind);
  if (salesOptions.standardNumbering == 'T') {
    f4assign_char(F(h, "RE4"), 'T');
    wpisz_numer_do_naglowka(F(h, "PRE"), F(h, "NRV"), F(h, "POS"), &c.next);
    f4blank(F(h, "OSM"));
  } else {
    f4assign_char(F(h, "RE4"), 'N');
    FldCopyString(F(h, "OSM"), c.freeNumber);
    for (const char* part : {"PRE", "NRV", "POS"}) f4blank(F(h, part));
  }
  NewDates(h, c.kind, {"DAW", "DAS", "DAV"});
  // The gathered document's own links and marks are not the invoice's.
  for (const char* name : {"KRN", "KRV", "KZA", "REK", "NUK", "DAK", "NKZ", "DAZ", "TYM", "KON", "TRK", "LPO", "DZA",
                           "OZA", "NET", "VAT", "BRU"})
    f4blank(F(h, name));
  f4assign_char(F(h, "ZAP"), 'N');
  f4assign_int(F(h, "AKT"), choice);
  bool cashPit = WorkingYear() >= FIRST_CASH_PIT_YEAR && salesOptions.cashPit == 'T' && choice == 2;
  f4assign_char(F(h, "PKA"), cashPit ? 'T' : 'N');
  // From 2024 the kind of the sources (11, 6, 10) does not fit the one
  // digit of KON; AKT holds the choice it follows from.
  if (!From2024()) f4assign_int(F(h, "TYM"), choice == 2 ? 6 : 9);
  f4assign_char(F(h, "SDR"), choice == 3 ? '3' : '1');
  set_pass_inf(0, F(h, "INF"));
  if (d4append(h) != 0) return -1;
  long invoice = d4recno(h);
  long invoiceRec = f4long(F(h, "REC"));
  int lines = dopisz_pozycje_do_faktury_koncowej(recZrodla, invoice, z_zaliczek, z_zaliczek_do_paragonow);
  if (lines == 0 && CopyRecipient(f4long(F(aux, "REC")), invoiceRec) != 0) lines = -1;
  if (lines != 0) {
    Uwaga(Sys("Błąd przepisania pozycji.").c_str());
    WithdrawDocument(invoice);
    return -1;
  }
  d4go(aux, recZrodla);
  Informacja(PrintfQStr(Sys("Dodano fakturę nr: %s").c_str(), NumberOf(aux, F(aux, "NUK")).c_str()));
  return d4go(h, invoice) == 0 ? invoice : -1;
}

long GatherDocument(int choice, long recZrodla, long recFaktury) {
  if (LockStep() != 0) return -1;
  DbTable* h = Z5SPRZ.table;
  DbTable* aux = Z5SPRZ_2.table;
  run.choice = choice;
  long invoice = recFaktury;
  int result = 0;
  if (invoice == 0) {
    long record = d4recno(h);
    if (salesOptions.standardNumbering == 'T' && salesOptions.autoNumbering == 'T')
      result = nastepny_numer_dokumentu(0);
    if (record > 0) d4go(h, record);
    invoice = result == 0 ? utworz_fakture_koncowa(recZrodla, Advances(choice), choice == 3) : -1;
    result = invoice > 0 ? 0 : -1;
  } else {
    result = dopisz_pozycje_do_faktury_koncowej(recZrodla, invoice, Advances(choice), choice == 3);
    if (result == 1) Uwaga(Sys(" Brak pozycji !").c_str());
    if (result == 0) {
      d4go(aux, recZrodla);
      Informacja(PrintfQStr(Sys("Dodano fakturę nr: %s").c_str(), NumberOf(aux, F(aux, "NUK")).c_str()));
    }
  }
  if (result == 0 && d4go(aux, recZrodla) == 0) {
    run.gatheredPaid = V(aux, "KZA");
    result = LinkSource(recZrodla, invoice, choice);
  }
  if (result == 0) result = sumy_faktury_koncowej(invoice);
  if (result == 0) zapisz_rozliczenie_dokumentu(0);
  UnlockStep(4);
  if (invoice > 0) d4go(h, invoice);
  return result == 0 ? invoice : -1;
}

int dodaj_fakture_koncowa() {
  if (!salesContext || salesContext->rejestr != 1 || !Z5SPRZ_2.table) return 0;
  int choice = ChooseFinalKind();
  if (choice < 1) return 0;
  long source = PickSource(choice, "");
  if (source < 0) return 0;
  kontekst_sprzedazy& c = *salesContext;
  c.kind = salesOptions.cashVat == 'T' ? 7 : 1;
  std::memcpy(c.newIssueDate, c.workingDate, 8);
  c.newIssueDate[8] = '\0';
  if (podaj_numer_dokumentu(salesOptions.standardNumbering == 'T', 0, 0) != 0) return 0;
  long invoice = GatherDocument(choice, source, 0);
  d4unlock(Z5SPRZ.table);
  if (invoice < 0) {
    browse_call(0, d4recno(Z5SPRZ.table));
    return 0;
  }
  std::string nip = PlainNip(F(Z5SPRZ.table, "NIP"));
  for (;;) {
    source = PickSource(choice, nip);
    if (source < 0) break;
    GatherDocument(choice, source, invoice);
  }
  aktualizuj_stan_faktury_koncowej(invoice);
  if (V(Z5SPRZ.table, "KZA") > 0 && salesOptions.paidToCash == 'T')
    platnosc_kasowa_dokumentu(1, V(Z5SPRZ.table, "KZA"), 1);
  browse_call(0, invoice);
  return 0;
}
