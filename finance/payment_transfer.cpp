#include <cstring>
#include <string>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/settlement.h"
#include "app/vat_services.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "finance/payments.h"
#include "tables/cash_tables.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/message_box.h"

namespace {

constexpr int CASH_TAG_SOURCE = 1;         // STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)
constexpr int SETTLEMENT_TAG_SOURCE = 0;   // the same key
constexpr int KEY_LENGTH = 12;
constexpr int NOTE_WIDTH = 60;
constexpr int MSG_VAT_DATE_CORRECTED = 20166;   // "Skorygowano datę rozliczenia VAT !"

DbField* Cash(const char* name) { return d4field(Z5KASA.table, name); }
DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }

struct Source {
  int type, year;
  long record;
};

// KWO of every cash entry of the document; the cash book's record and tag stay.
double CashSum(const Source& s) {
  DbTable* table = Z5KASA.table;
  DbTag* tag = d4tag_selected(table);
  long record = d4recno(table);
  d4tag_select(table, Z5KASA.tag[CASH_TAG_SOURCE]);
  double sum = 0;
  int rc = d4seek_n(table, KluczTypRokRek(s.type, s.year, s.record), KEY_LENGTH);
  for (; rc == 0 && !d4eof(table) && czy_zapis_kasy_dokumentu(s.type, s.year, s.record); rc = d4skip(table, 1))
    sum += f4double(Cash("KWO"));
  d4tag_select(table, tag);
  if (record > 0) d4go(table, record);
  return sum;
}

void StoreNote(const char* text, bool append) {
  DbField* note = Header("OZA");
  std::string value = append ? FldQStr(note, 1) : "";
  std::string added(text);
  added.erase(added.find_last_not_of(' ') + 1);
  value += added;
  value.resize(std::min<size_t>(value.size(), NOTE_WIDTH));
  ToFieldCopyMaxString(note, value.c_str());
}

// The paid amount, the paid flag, the note and the VAT date of the document.
int UpdateSalesDocument(const Source& s, double sum, const char* text, int flags, const char* paymentDate) {
  bool open = flags & TRANSFER_OPEN_SALES;
  if (open && OpenZ5SPRZ(s.year, 0, s.type == SOURCE_SALES ? SALES_MAIN : SALES_AUX) != 0) return -1;
  DbTable* headers = Z5SPRZ.table;
  int result = -1;
  if (go_and_lock(headers, s.record) == 0) {
    ToFieldCopyDouble(Header("KZA"), ROUND(sum / FldKurs(Header("KKS")), 2));
    f4assign_char(Header("ZAP"),
                  KwotyRozliczone(KwotaDoRozliczenia(nullptr), f4double(Header("KZA"))) ? 'T' : 'N');
    if (text) StoreNote(text, flags & TRANSFER_APPEND_NOTE);
    if (s.type == SOURCE_SALES && FieldIsEmpty(Header("DAV"))) KorygujDateVatPlatnosci(paymentDate, flags);
    result = d4write(headers, s.record) == 0 ? 0 : -1;
    d4flush(headers);
    d4unlock(headers);
  }
  if (open) d4close(headers);
  return result;
}

void UpdateSettlement(const Source& s, double sum) {
  if (OpenZ5ROZL(0) != 0) return;
  DbTable* table = Z5ROZL.table;
  d4tag_select(table, Z5ROZL.tag[SETTLEMENT_TAG_SOURCE]);
  if (d4seek_n(table, KluczTypRokRek(s.type, s.year, s.record), KEY_LENGTH) == 0) {
    ToFieldCopyDouble(d4field(table, "ZAP"), sum);
    bool settled = KwotyRozliczone(f4double(d4field(table, "KWO")), f4double(d4field(table, "ZAP")));
    f4assign_char(d4field(table, "ROL"), settled ? 'R' : 'N');
    d4write(table, d4recno(table));
    d4flush(table);
  }
  d4close(table);
}

}  // namespace

int PrzeniesPlatnoscDoZrodla(double amount, const char* text, int flags) {
  Source s{f4int(Cash("TYZ")), f4int(Cash("ROK")), f4long(Cash("REK"))};
  if (s.type != SOURCE_SALES && s.type != SOURCE_AUXILIARY_SALES) return 0;
  std::string paymentDate(f4ptr(Cash("DAT")), 8);
  double sum = CashSum(s) + amount;
  int result = UpdateSalesDocument(s, sum, text, flags, paymentDate.c_str());
  UpdateSettlement(s, sum);
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
