// The monthly rebuild of the VAT-OSS register from the sales register: the
// month window, the locks, the records of every line of the OSS documents
// and the warnings about what the operator must complete.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "jpk/vat_oss.h"
#include "jpk/xml_pieces.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "tables/wait_notice.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_WRITE_ERROR = 263;
constexpr int HEADERS_BY_ISSUE_DATE = 1;
constexpr int OSS_SUPPLY = 4, PRO_FORMA = 6, ADVANCE_FINAL = 9, CORRECTION = 3, CORRECTION_2 = 4;
constexpr int OSS_BY_MONTH = 0;
constexpr int COUNTER_COL = 19;

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }
DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* L(const char* name) { return d4field(Z5SPRE.table, name); }
DbField* O(const char* name) { return d4field(Z5VOSS.table, name); }

bool MonthHasRecords(int month) {
  DbTable* t = Z5VOSS.table;
  d4tag_select(t, Z5VOSS.tag[OSS_BY_MONTH]);
  char key[12];
  std::snprintf(key, sizeof key, "%2d", month);
  return d4seek_n(t, key, 2) == 0;
}

// Deletes the month's records and packs the table (under its whole-table lock).
void DeleteMonth(int month) {
  DbTable* t = Z5VOSS.table;
  std::vector<long> records;
  d4tag_select(t, Z5VOSS.tag[OSS_BY_MONTH]);
  char key[12];
  std::snprintf(key, sizeof key, "%2d", month);
  for (int rc = d4seek_n(t, key, 2); rc == 0 && !d4eof(t) && f4int(O("MIE")) == month; rc = d4skip(t, 1))
    records.push_back(d4recno(t));
  for (long record : records)
    if (d4go(t, record) == 0) {
      d4delete(t);
      d4write(t, record);
    }
  d4pack(t);
}

std::string Joined(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts)
    if (!part.empty()) out += (out.empty() ? "" : " ") + part;
  return out;
}

std::string Text(DbField* field) { return QuickStr(f4ptr(field), f4len(field), QS_RTRIM | QS_LTRIM); }

struct Document {
  int kind;
  std::string country, code, number, from, to;
  bool correction;
};

void Warn(const char* first, const Document& d, const char* second, const char* third) {
  std::string line = PrintfQStr(Maz(first).c_str(), d.number.c_str(), FldFullDateQStr(H("DAW")));
  MessageWindow(MB_WARNING, line.c_str(), Maz(second).c_str(), Maz(third).c_str());
}

// One record of the current line; amounts, rate code and rate given.
bool Append(int month, const Document& d, double net, double vat, int rateCode, double rate) {
  DbTable* t = Z5VOSS.table;
  if (d4append_start(t, 0) != 0) return false;
  d4blank(t);
  f4assign_int(O("MIE"), month);
  f4assign_int(O("TYD"), d.correction ? 2 : 1);
  FldCopyString(O("KRA"), d.country.c_str());
  FldCopyString(O("KKR"), d.code.c_str());
  int kind = c4atoi(f4ptr(L("AKC")), f4len(L("AKC")));
  f4assign_int(O("ROD"), kind != 0 ? kind : f4int(L("ZRP")));
  for (int i = 1; i <= 6; i++) {
    char name[4] = {'O', 'P', static_cast<char>('0' + i), 0};
    char line[4] = {'N', 'A', static_cast<char>('0' + i), 0};
    f4assign_field(O(name), L(line));
  }
  f4assign_field(O("ILO"), L("ILO"));
  f4assign_field(O("DAS"), H("DAS"));
  f4assign_double(O("NET"), net);
  f4assign_double(O("VAT"), vat);
  f4assign_int(O("RST"), rateCode == 1 ? 1 : 2);
  f4assign_double(O("VST"), rate);
  f4assign_field(O("NWA"), L("WAL"));
  f4assign_field(O("VWA"), L("WAL"));
  FldCopyString(O("NRD"), d.number.c_str());
  f4assign_field(O("DAW"), H("DAW"));
  if (d.correction) {
    f4assign_field(O("DAK"), H("DAK"));
    if (!FieldIsEmpty(H("DAK"))) {
      f4assign_int(O("KRO"), date4year(f4ptr(H("DAK"))));
      f4assign_int(O("KKW"), (date4month(f4ptr(H("DAK"))) + 2) / 3);
    }
  }
  FldCopyString(O("AD1"), d.from.c_str());
  FldCopyString(O("AD2"), d.to.c_str());
  if (d.correction && FieldIsEmpty(H("DAK")))
    Warn("W korekcie nr %s z %s", d, "brakuje daty korygowanego dokumentu.", "Uzupełnij datę w ewidencji sprzedaży.");
  if (f4int(O("ROD")) == 0)
    Warn("W dokumencie nr %s z %s", d, "brakuje informacji o rodzaju dostawy (towar/usługa).",
         "Uzupełnij w ewidencji sprzedaży.");
  return d4append(t) == 0;
}

// The records of the current document's lines; false after a write error.
bool DocumentRecords(int month) {
  Document d;
  d.kind = f4int(H("TYV"));
  d.correction = d.kind == CORRECTION || d.kind == CORRECTION_2;
  d.country = Text(H("KRA"));
  d.code = kod_kraju(FldQStr(H("KRA"), QS_RTRIM), nullptr);
  d.number = f4char(H("RE4")) == 'N' ? Text(H("OSM")) : NrDokumentuFldQStr(H("PRE"), H("NRV"), H("POS"));
  d.from = Joined({Text(d4field(Z5PAWL.table, "KRA")), Text(d4field(Z5PAWL.table, "MIA"))});
  d.to = Joined({Text(H("KRA")), Text(H("KOP")), Text(H("MIA")), Text(H("ULI"))});
  long rec = f4long(H("REC"));
  DbTable* lines = Z5SPRE.table;
  if (SeekSalesLinesByRek(rec) < 0) return true;
  for (; !d4eof(lines) && f4long(L("REK")) == rec; d4skip(lines, 1)) {
    double rate = f4double(L("VAS")), corrected = f4double(L("KVAS"));
    bool ok;
    if (!d.correction) {
      ok = Append(month, d, f4double(L("WNE")), f4double(L("WAV")), f4int(L("VAT")), rate);
    } else if (rate == corrected) {
      ok = Append(month, d, f4double(L("KRN")), f4double(L("KRV")), f4int(L("VAT")), corrected);
    } else {
      ok = Append(month, d, -f4double(L("WNE")), -f4double(L("WAV")), f4int(L("VAT")), rate) &&
           Append(month, d, f4double(L("KWNE")), f4double(L("KWAV")), f4int(L("KVAT")), corrected);
    }
    if (!ok) return false;
  }
  return true;
}

bool Taken(int month, int year) {
  if (f4char(H("STM")) != '0' + OSS_SUPPLY) return false;
  int kind = f4int(H("TYV"));
  if (kind == PRO_FORMA || kind == ADVANCE_FINAL) return false;
  const char* vatDate = f4ptr(H("DAV"));
  return !FieldIsEmpty(H("DAV")) && date4year(vatDate) == year && date4month(vatDate) == month;
}

}  // namespace

int wybierz_miesiac_vat_oss() {
  int32_t month = 0;
  DbTable* t = Z5VOSS.table;
  for (int rc = d4top(t); rc == 0 && !d4eof(t); rc = d4skip(t, 1)) month = std::max<int32_t>(month, f4int(O("MIE")));
  month = month == 0 ? date4month(get_cur_das(1)) : std::min<int32_t>(month + 1, 12);
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(12, 22, 4, 36, Maz("MIESIĄC EWIDENCJI VAT OSS").c_str(), nullptr, nullptr);
  w4select(window);
  w4activate(window);
  int result = -1;
  for (;;) {
    w4(1, 2, Maz("Miesiąc:").c_str());
    g4int(1, 12, &month);
    g4picture("99");
    int key = g4read();
    if (key != KEY_ENTER && key != KEY_F2) break;
    if (month < 1 || month > 12) continue;
    if (MonthHasRecords(month) &&
        MessageWindow(MB_QUESTION | MB_YES_ESC, Maz("Dla wybranego miesiąca dane już są !").c_str(),
                      Maz("Czy chcesz je nadpisać ?").c_str()) == KEY_ESC)
      continue;
    result = month;
    break;
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return result;
}

int buduj_miesiac_vat_oss(int miesiac) {
  DbTable* headers = Z5SPRZ.table;
  DbTable* lines = Z5SPRE.table;
  if (set_lock(headers, -1) != 0) return -1;
  if (set_lock(lines, -1) != 0) {
    d4unlock(headers);
    return -1;
  }
  int result = -1;
  if (set_lock(Z5VOSS.table, -1) == 0) {
    int previous = ShowWaitLines(Maz("Przygotowanie bazy danych VAT OSS.").c_str(), Maz("Proszę czekać.").c_str(),
                                 TextRef());
    DeleteMonth(miesiac);
    ShowWaitLines(Maz("SPRZEDAŻ").c_str(), TextRef(), TextRef());
    bool shown = EnvCurrent()->messageWindow >= 0;
    if (shown) w4(1, 0, Maz("Ilość dokumentów =").c_str());
    int year = WorkingYear();
    int count = 0;
    bool ok = true;
    DbTag* remembered = d4tag_selected(headers);
    d4tag_select(headers, Z5SPRZ.tag[HEADERS_BY_ISSUE_DATE]);
    for (int rc = d4top(headers); ok && rc == 0 && !d4eof(headers); rc = d4skip(headers, 1)) {
      if (!Taken(miesiac, year)) continue;
      ++count;
      if (shown) w4long(1, COUNTER_COL, count, 5);
      ok = DocumentRecords(miesiac);
    }
    d4tag_select(headers, remembered);
    HideWaitNotice(previous);
    if (ok) {
      d4flush(Z5VOSS.table);
      MessageWindow(MB_INFO, Maz("Aktualizacja ewidencji VAT-OSS zakończona.").c_str(),
                    PrintfQStr(Maz("Zapisano dokumentów sprzedaży - %i.").c_str(), count));
      result = count;
    } else {
      Alarm(MSG_WRITE_ERROR);
      DeleteMonth(miesiac);
      result = -2;
    }
    d4unlock(Z5VOSS.table);
  }
  d4unlock(lines);
  d4unlock(headers);
  return result;
}
