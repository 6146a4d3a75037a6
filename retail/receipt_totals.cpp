// The totals of a receipt: the positions summed and stamped with the
// header's number, checked against the header, the summary correction per
// VAT rate, and the deletion of all positions with their stock given back.
#include <cstring>
#include <string>

#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/stock_update.h"
#include "retail/receipt_positions.h"
#include "tables/receipt_tables.h"
#include "ui/message_box.h"

namespace retail {

double tablica_korekty[KOREKTA_WIERSZE][KOREKTA_KODY];
double sumy_pozycji[3];
const char* const NAZWA_KOREKTY = "KOREKTA PODSUMOWANIA";

namespace {

constexpr int MSG_TOTALS_DIFFER = 20131, MSG_CHECK_POSITIONS = 20165;

DbField* H(const char* name) { return d4field(Z5PARA.table, name); }
DbField* P(const char* name) { return d4field(Z5PARE.table, name); }

// The codes whose VAT a correction position may even out.
bool Corrected(int code) { return code == 1 || code == 2 || code == 8 || code == 9 || code == 12; }

// Calls `each` on every position of the current receipt in entry order
// while it gives 0; 0 after the last, -1 when a seek or skip failed, else
// what `each` gave.
template <typename F>
int ForEachPosition(F each) {
  long rec = f4long(H("REC"));
  DbTable* positions = Z5PARE.table;
  int rc = SeekParagonLinesByRek(rec);
  for (; rc == 0 && !d4eof(positions) && f4long(P("REK")) == rec; rc = d4skip(positions, 1)) {
    int result = each();
    if (result != 0) return result;
  }
  return rc < 0 ? -1 : 0;
}

void StampHeader() {
  ToFieldCopyField(P("PRE"), H("PRE"));
  ToFieldCopyField(P("NRV"), H("NRV"));
  ToFieldCopyField(P("POS"), H("POS"));
  ToFieldCopyField(P("DAV"), H("DSP"));
  f4assign_long(P("REK"), f4long(H("REC")));
}

void AddToSums() {
  sumy_pozycji[SUMA_NETTO] += f4double(P("WNE"));
  sumy_pozycji[SUMA_VAT] += f4double(P("WAV"));
  sumy_pozycji[SUMA_BRUTTO] += f4double(P("WAB"));
}

bool Correction(int code) { return f4char(P("ODC")) == 'T' && f4int(P("VAT")) == code; }

// The amounts and name of a correction position of `code`.
void FillCorrection(int code) {
  double net = tablica_korekty[KOREKTA_ROZNICA_NETTO][code];
  double gross = tablica_korekty[KOREKTA_ROZNICA_BRUTTO][code];
  f4assign_double(P("ILO"), 1);
  FldCopyString(P("NA1"), NAZWA_KOREKTY);
  for (const char* name : {"CNB", "CNR", "WNE"}) ToFieldCopyDouble(P(name), net);
  ToFieldCopyDouble(P("WAV"), tablica_korekty[KOREKTA_ROZNICA_VAT][code]);
  for (const char* name : {"CBB", "CBR", "WAB"}) ToFieldCopyDouble(P(name), gross);
}

int Flushed(DbTable* table) { return d4write(table, d4recno(table)) == 0 && d4flush(table) == 0 ? 0 : -1; }

}  // namespace

int usun_korekty_stawki(int code) {
  DbTable* positions = Z5PARE.table;
  return ForEachPosition([&] {
    if (!Correction(code)) return 0;
    d4delete(positions);
    return d4flush(positions) == 0 ? 0 : -1;
  });
}

int ustaw_korekte_stawki(int code) {
  DbTable* positions = Z5PARE.table;
  const int REWRITTEN = 1;
  int rc = ForEachPosition([&] {
    if (!Correction(code)) return 0;
    FillCorrection(code);
    return Flushed(positions) == 0 ? REWRITTEN : -1;
  });
  if (rc == REWRITTEN) return 0;
  if (rc != 0) return -1;
  if (d4append_start(positions, 0) != 0) return -1;
  d4blank(positions);
  f4assign_char(P("ODC"), 'T');
  f4assign_int(P("VAT"), code);
  ToFieldCopyDouble(P("VAS"), tablica_korekty[KOREKTA_STAWKA][code]);
  FillCorrection(code);
  StampHeader();
  if (d4append(positions) != 0) return -1;
  return d4flush(positions) == 0 ? 0 : -1;
}

int korekta_podsumowania() {
  DbTable* positions = Z5PARE.table;
  int lock = set_lock(positions, -1);
  if (lock != 0) return lock;
  std::memset(tablica_korekty, 0, sizeof tablica_korekty);
  int rc = ForEachPosition([] {
    int code = f4int(P("VAT"));
    if (f4char(P("ODC")) == 'T' || !Corrected(code)) return 0;
    tablica_korekty[KOREKTA_NETTO][code] += f4double(P("WNE"));
    tablica_korekty[KOREKTA_VAT][code] += f4double(P("WAV"));
    tablica_korekty[KOREKTA_BRUTTO][code] += f4double(P("WAB"));
    tablica_korekty[KOREKTA_STAWKA][code] = f4double(P("VAS"));
    return 0;
  });
  bool net = f4int(H("TRY")) == 1;
  for (int code = 1; rc == 0 && code < KOREKTA_KODY; code++) {
    auto row = [code](int r) -> double& { return tablica_korekty[r][code]; };
    double rate = row(KOREKTA_STAWKA);
    if (net) {
      row(KOREKTA_NETTO) = ROUND(row(KOREKTA_NETTO), 2);
      row(KOREKTA_VAT_Z_SUMY) = ROUND(row(KOREKTA_NETTO) * rate * 0.01, 2);
      row(KOREKTA_BRUTTO_Z_SUMY) = ROUND(row(KOREKTA_NETTO) + row(KOREKTA_VAT_Z_SUMY), 2);
      row(KOREKTA_ROZNICA_VAT) = ROUND(row(KOREKTA_VAT_Z_SUMY) - row(KOREKTA_VAT), 2);
      row(KOREKTA_ROZNICA_BRUTTO) = ROUND(row(KOREKTA_BRUTTO_Z_SUMY) - row(KOREKTA_BRUTTO), 2);
    } else {
      row(KOREKTA_BRUTTO) = ROUND(row(KOREKTA_BRUTTO), 2);
      row(KOREKTA_VAT_Z_SUMY) = ROUND(row(KOREKTA_BRUTTO) * rate / (rate + 100), 2);
      row(KOREKTA_NETTO_Z_SUMY) = ROUND(row(KOREKTA_BRUTTO) - row(KOREKTA_VAT_Z_SUMY), 2);
      row(KOREKTA_ROZNICA_VAT) = ROUND(row(KOREKTA_VAT_Z_SUMY) - row(KOREKTA_VAT), 2);
      row(KOREKTA_ROZNICA_NETTO) = ROUND(row(KOREKTA_NETTO_Z_SUMY) - row(KOREKTA_NETTO), 2);
    }
    if (!Corrected(code)) continue;
    double other = net ? row(KOREKTA_ROZNICA_BRUTTO) : row(KOREKTA_ROZNICA_NETTO);
    bool even = row(KOREKTA_ROZNICA_VAT) == 0 && other == 0;
    rc = even ? usun_korekty_stawki(code) : ustaw_korekte_stawki(code);
  }
  d4unlock(positions);
  return rc == 0 ? 0 : -1;
}

int sumuj_pozycje_paragonu() {
  std::memset(sumy_pozycji, 0, sizeof sumy_pozycji);
  return ForEachPosition([] {
    AddToSums();
    return 0;
  });
}

int porownaj_sumy_paragonu() {
  const char* fields[] = {"NET", "VAT", "BRU"};
  for (int i = 0; i < 3; i++)
    if (ROUND(f4double(H(fields[i])), 2) != ROUND(sumy_pozycji[i], 2)) return -1;
  return 0;
}

int przepisz_naglowek_do_pozycji() {
  std::memset(sumy_pozycji, 0, sizeof sumy_pozycji);
  DbTable* positions = Z5PARE.table;
  return ForEachPosition([&] {
    AddToSums();
    StampHeader();
    return Flushed(positions);
  });
}

int zgodnosc_paragonu() {
  if (przepisz_naglowek_do_pozycji() == 0 && porownaj_sumy_paragonu() == 0) return 0;
  MessageWindow(MB_WARNING, MSG_TOTALS_DIFFER, MSG_CHECK_POSITIONS);
  return -1;
}

int usun_pozycje_paragonu() {
  DbTable* positions = Z5PARE.table;
  long rec = f4long(H("REC"));
  int result = 0;
  for (bool first = true;; first = false) {
    int rc = SeekParagonLinesByRek(rec);
    if (rc < 0) {
      result = first ? -1 : 0;
      break;
    }
    if (rc != 0 || d4eof(positions) || f4long(P("REK")) != rec) break;
    if (f4char(P("STA")) == 'T' && f4int(P("ZRP")) == 1) {
      std::string code = FldQStr(P("KOT"), 1);
      std::string name = FldQStr(P("NA1"), 1);
      if (aktualizuj_ilosc(code.c_str(), name.c_str(), -f4double(P("ILO")), 1) != 0) {
        MessageWindow(MB_WARNING, Utf8ToMazText("Nie oddano ilości towaru do magazynu.").c_str(),
                      Utf8ToMazText("Paragon pozostaje z pozycjami, których nie usunięto.").c_str());
        result = 1;
        break;
      }
    }
    d4delete(positions);
    if (d4flush(positions) != 0) {
      result = -1;
      break;
    }
  }
  zamknij_okno_raportu(1);
  return result;
}

}  // namespace retail
