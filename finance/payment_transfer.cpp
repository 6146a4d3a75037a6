// The cash sums carried back into the paid document: a sales document (its
// paid amount, flag, payment description, cash-method VAT date and, for an
// advance invoice, its lines), a purchase, an entry of the income and
// expense book, and the document's settlement entry.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_seeks.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/payments.h"
#include "sales/document_totals.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int KEY_LENGTH = 12;
constexpr int NOTE_WIDTH = 60;
constexpr int KIND_ADVANCE = 9, KIND_ADVANCE_2024 = 11, KIND_PURCHASE_IMPORT = 6;
constexpr int MSG_VAT_DATE_CORRECTED = 20166;   // "Skorygowano datę rozliczenia VAT !"

DbField* Cash(const char* name) { return d4field(Z5KASA.table, name); }
DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Purchase(const char* name) { return d4field(Z5ZAKU.table, name); }

struct Source {
  int type, year;
  long record;
  std::string paymentDate;
};

bool IsSales(int type) { return type == SOURCE_SALES || type == SOURCE_AUXILIARY_SALES; }
int SalesMode(int type) { return type == SOURCE_SALES ? SALES_MAIN : SALES_AUX; }

// The text joined to the note or in its place, cut at the field's width.
void StoreNote(DbField* note, const char* text, bool append) {
  std::string value = append ? FldQStr(note, 1) : "";
  std::string added(text);
  added.erase(added.find_last_not_of(' ') + 1);
  value += added;
  value.resize(std::min<size_t>(value.size(), NOTE_WIDTH));
  ToFieldCopyMaxString(note, value.c_str());
}

// The table opened for the update when the flag asks, closed again.
struct OpenedFor {
  TableHandles& handles;
  bool opened = false;
  bool ok = true;
  OpenedFor(TableHandles& h, bool open, int (*opener)()) : handles(h) {
    if (!open) return;
    ok = opener() == 0;
    opened = ok;
  }
  ~OpenedFor() {
    if (opened) d4close(handles.table);
  }
};

int SourceYear = 0, SourceMode = 0;
int OpenSalesHeaders() { return OpenZ5SPRZ(SourceYear, 0, SourceMode); }
int OpenSalesLines() { return OpenZ5SPRE(SourceYear, 0, SourceMode); }
int OpenPurchases() { return OpenZ5ZAKU(SourceYear, 0); }
int OpenPurchaseLines() { return OpenZ5ZAKE(SourceYear, 0); }
int OpenBook() { return OpenZ5DANE(SourceYear, 0); }

// The header's NET and VAT from its lines' WNE and WAV.
int SumAdvanceLines() {
  DbTable* lines = Z5SPRE.table;
  long header = f4long(Header("REC"));
  double net = 0, vat = 0;
  int rc = SeekSalesLinesByRek(header);
  for (; rc == 0 && !d4eof(lines) && f4long(d4field(lines, "REK")) == header; rc = d4skip(lines, 1)) {
    net += f4double(d4field(lines, "WNE"));
    vat += f4double(d4field(lines, "WAV"));
  }
  if (rc < 0) return -1;
  ToFieldCopyDouble(Header("NET"), ROUND(net, 2));
  ToFieldCopyDouble(Header("VAT"), ROUND(vat, 2));
  return 0;
}

// The paid amount spread over an advance invoice's lines; -1 on an error.
int RecomputeAdvance(int flags) {
  double paid = f4double(Header("KZA"));
  if (paid < 0) return 0;
  long record = d4recno(Z5SPRZ.table);
  OpenedFor lines(Z5SPRE, flags & TRANSFER_OPEN_SALES, OpenSalesLines);
  if (!lines.ok) return 0;
  int rc = rozloz_zaliczke(paid) == 0 && SumAdvanceLines() == 0 ? 0 : -1;
  d4go(Z5SPRZ.table, record);
  return rc;
}

int UpdateSalesDocument(const Source& s, double sum, const char* text, int flags) {
  SourceYear = s.year;
  SourceMode = SalesMode(s.type);
  OpenedFor headers(Z5SPRZ, flags & TRANSFER_OPEN_SALES, OpenSalesHeaders);
  if (!headers.ok || !Z5SPRZ.table) return -1;
  DbTable* table = Z5SPRZ.table;
  if (go_and_lock(table, s.record) != 0) return -1;
  ToFieldCopyDouble(Header("KZA"), ROUND(sum / FldKurs(Header("KKS")), 2));
  f4assign_char(Header("ZAP"), KwotyRozliczone(KwotaDoRozliczenia(nullptr), f4double(Header("KZA"))) ? 'T' : 'N');
  if (text) StoreNote(Header("OZA"), text, flags & TRANSFER_APPEND_NOTE);
  if (s.type == SOURCE_SALES && FieldIsEmpty(Header("DAV"))) KorygujDateVatPlatnosci(s.paymentDate.c_str(), flags);
  int kind = f4int(Header("TYV"));
  if ((kind == KIND_ADVANCE || kind == KIND_ADVANCE_2024) && RecomputeAdvance(flags) != 0) {
    d4changed(table, 0);
    d4unlock(table);
    return -1;
  }
  int result = d4write(table, s.record) == 0 ? 0 : -1;
  d4flush(table);
  d4unlock(table);
  return result;
}

// Every line of the current purchase gets the header's DAV, the lines locked as a whole.
void PurchaseLinesVatDate() {
  DbTable* lines = Z5ZAKE.table;
  if (!lines || set_lock(lines, -1) != 0) return;
  long header = f4long(Purchase("REC"));
  int rc = SeekZakupLinesByRek(header);
  for (; rc == 0 && !d4eof(lines) && f4long(d4field(lines, "REK")) == header; rc = d4skip(lines, 1)) {
    ToFieldCopyField(d4field(lines, "DAV"), Purchase("DAV"));
    if (d4write(lines, d4recno(lines)) != 0) break;
  }
  d4flush(lines);
  d4unlock(lines);
}

int UpdatePurchase(const Source& s, double sum, const char* text, int flags) {
  SourceYear = s.year;
  bool open = flags & TRANSFER_OPEN_PURCHASES;
  OpenedFor headers(Z5ZAKU, open, OpenPurchases);
  if (!headers.ok || !Z5ZAKU.table) return -1;
  OpenedFor lines(Z5ZAKE, open, OpenPurchaseLines);
  DbTable* table = Z5ZAKU.table;
  if (go_and_lock(table, s.record) != 0) return -1;
  ToFieldCopyDouble(Purchase("KZA"), ROUND(-sum / FldKurs(Purchase("KKS")), 2));
  if (Z5ZAKE.table) {
    double due = KwotaZakupuDoRozliczenia(nullptr);
    d4go(table, s.record);
    f4assign_char(Purchase("ZAP"), KwotyRozliczone(due, f4double(Purchase("KZA"))) ? 'T' : 'N');
  }
  if (text) StoreNote(Purchase("OZA"), text, flags & TRANSFER_APPEND_NOTE);
  bool cashVat = salesOptions.cashVat == 'T' || f4int(Purchase("TYV")) == KIND_PURCHASE_IMPORT;
  if (cashVat && f4char(Purchase("ZAP")) == 'T' && FieldIsEmpty(Purchase("DAV"))) {
    std::string received(f4ptr(Purchase("DZK")), 8);
    const std::string& later = std::max(s.paymentDate, received);
    ToFieldCopyMaxString(Purchase("DAV"), later.c_str());
    PurchaseLinesVatDate();
    Uwaga(MSG_VAT_DATE_CORRECTED);
  }
  int result = d4write(table, s.record) == 0 ? 0 : -1;
  d4flush(table);
  d4unlock(table);
  return result;
}

int UpdateBookEntry(const Source& s, double sum, int flags) {
  SourceYear = s.year;
  OpenedFor book(Z5DANE, flags & TRANSFER_OPEN_BOOK, OpenBook);
  if (!book.ok || !Z5DANE.table) return -1;
  DbTable* table = Z5DANE.table;
  if (go_and_lock(table, s.record) != 0) return -1;
  auto value = [&](const char* name) { return f4double(d4field(table, name)); };
  double balance = value("PSP") + value("POP") - (value("ZAK") + value("UBO") + value("WYN") + value("INN"));
  f4assign_char(d4field(table, "ZAP"), KwotyRozliczone(balance, sum) ? 'T' : 'N');
  int result = d4write(table, s.record) == 0 ? 0 : -1;
  d4flush(table);
  d4unlock(table);
  return result;
}

int UpdateSettlement(const Source& s, double paid) {
  if (OpenZ5ROZL(0) != 0) return -1;
  DbTable* table = Z5ROZL.table;
  int result = 0;
  d4tag_select(table, Z5ROZL.tag[SETTLEMENT_TAG_SOURCE]);
  if (d4seek_n(table, KluczTypRokRek(s.type, s.year, s.record), KEY_LENGTH) == 0) {
    long record = d4recno(table);
    result = -1;
    if (go_and_lock(table, record) == 0) {
      ToFieldCopyDouble(d4field(table, "ZAP"), paid);
      bool settled = KwotyRozliczone(f4double(d4field(table, "KWO")), f4double(d4field(table, "ZAP")));
      f4assign_char(d4field(table, "ROL"), settled ? 'R' : 'N');
      result = d4write(table, record) == 0 ? 0 : -1;
      d4flush(table);
      d4unlock(table);
    }
  }
  d4close(table);
  return result;
}

// The operator learns whose paid amount was left behind; the next save of
// a payment recomputes it.
void ReportNotUpdated() {
  std::string number = FldQStr(Cash("DOK"), 1);
  static const std::string format = Utf8ToMazText("Nie zaktualizowano zapłaty dokumentu %s.");
  Uwaga(PrintfQStr(format.c_str(), number.c_str()));
}

}  // namespace

int PrzeniesPlatnoscDoZrodla(double amount, const char* text, int flags) {
  Source s{f4int(Cash("TYZ")), f4int(Cash("ROK")), f4long(Cash("REK")), std::string(f4ptr(Cash("DAT")), 8)};
  if (!IsSales(s.type) && s.type != SOURCE_PURCHASES && s.type != SOURCE_BOOK) return 0;
  // A deleted entry is out of the sum already: its amount is not taken off twice.
  long current = d4recno(Z5KASA.table);
  bool deleted = current > 0 && d4deleted(Z5KASA.table);
  double sum = SumaKasyDokumentu(s.type, s.year, s.record) + (deleted ? 0 : amount);
  if (current > 0) d4go(Z5KASA.table, current);
  int result = 0;
  if (IsSales(s.type)) {
    result = UpdateSalesDocument(s, sum, text, flags);
    if (UpdateSettlement(s, sum) != 0) result = -1;
  } else if (s.type == SOURCE_PURCHASES) {
    result = UpdatePurchase(s, sum, text, flags);
    if (UpdateSettlement(s, -sum) != 0) result = -1;
  } else {
    result = UpdateBookEntry(s, sum, flags);
  }
  if (result != 0) ReportNotUpdated();
  return result;
}

void KorygujDateVatPlatnosci(const char* date, int flags) {
  if (salesOptions.cashVat != 'T') return;
  bool paid = f4int(Header("TYV")) == 7 ? f4double(Header("KZA")) > 0 : f4char(Header("ZAP")) == 'T';
  int32_t day = date4long(date), vatDay = date4long(f4ptr(Header("DAV")));
  if (!paid || day <= 0 || day < date4long(f4ptr(Header("DAW"))) || (vatDay > 0 && day >= vatDay)) return;
  std::memcpy(f4assign_ptr(Header("DAV")), date, 8);
  bool open = flags & TRANSFER_OPEN_SALES;
  if (!open || OpenZ5SPRE(0, 0, SALES_MAIN) == 0) {
    DbTable* lines = Z5SPRE.table;
    long header = f4long(Header("REC"));
    if (set_lock(lines, -1) == 0) {
      int rc = SeekSalesLinesByRek(header);
      for (; rc == 0 && !d4eof(lines) && f4long(d4field(lines, "REK")) == header; rc = d4skip(lines, 1)) {
        std::memcpy(f4assign_ptr(d4field(lines, "DAV")), date, 8);
        if (d4write(lines, d4recno(lines)) != 0) break;
      }
      d4flush(lines);
      d4unlock(lines);
    }
    if (open) d4close(lines);
  }
  Uwaga(MSG_VAT_DATE_CORRECTED);
}

char* OpisPlatnosciZrodla() {
  int type = f4int(Cash("TYZ")), year = f4int(Cash("ROK"));
  long record = f4long(Cash("REK"));
  std::string note;
  TableHandles* handles = nullptr;
  int rc = -1;
  if (IsSales(type)) {
    handles = &Z5SPRZ_2;
    rc = OpenZ5SPRZ(year, 0, type == SOURCE_SALES ? SALES_MAIN_SECOND : SALES_AUX_SECOND);
  } else if (type == SOURCE_PURCHASES) {
    handles = &Z5ZAKU;
    rc = Z5ZAKU.table ? -1 : OpenZ5ZAKU(year, 0);
  }
  if (rc == 0) {
    DbTable* table = handles->table;
    if (go_and_lock(table, record) == 0) {
      note = FldQStr(d4field(table, "OZA"), 1);
      d4unlock(table);
    }
    d4close(table);
  }
  return PrintfQStr("%s", note.c_str());
}
