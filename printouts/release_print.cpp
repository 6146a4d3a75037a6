// The goods release note of a sales document: its number and date asked
// and stored in the header under a lock of the whole headers table, then
// the note with the document's catalogue lines.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "jpk/bank_accounts.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "printouts/invoice_print.h"
#include "sales/register_actions.h"
#include "sales/sales_context.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int FORM_RELEASE = 76, RELEASE_ROWS = 32, RELEASE_FLAGS = 0x900;
constexpr int ITEM_ROW = 21, LAST_ITEM_ROW = 27, RULE_ROW = 28, SUM_ROW = 29, SIGNATURE_ROW = 31;
constexpr int HEAD_ROW = 16, TABLE_END = 21, MIN_LINES_FOR_TOTALS = 4;
constexpr int MSG_TITLE = 146, MSG_JOB = 147, MSG_NO_RELEASE = 148, MSG_NO_GOODS = 149, MSG_WINDOW = 150,
              MSG_NUMBER_TAKEN = 20155;
constexpr int WINDOW_ROW = 12, WINDOW_COL = 15, WINDOW_ROWS = 5, WINDOW_COLS = 50;
constexpr int PRO_FORMA = 6;

long NumberOf(DbField* field) { return std::atol(Trimmed(field).c_str()); }

double sums[3];   // net, VAT, gross of the printed lines
int32_t proposed;

bool GoodsLine() { return f4int(Line("ZRP")) == 1; }

std::string ReleaseTitle() { return MessageText(MSG_TITLE) + " " + numer_wz_tekst(); }

void PutSums(int row, const char* label) {
  zadanie_wydruku_faktury& j = J();
  ClearRows(row, row + 1);
  PutTextEnding(j.pattern, row, 79, label);
  PutAmount(row, 83, j.grossMode ? sums[2] : sums[0]);
  PutAmount(row, 102, sums[1]);
  PutAmount(row, 117, j.grossMode ? sums[0] : sums[2]);
}

int EstimatedRows() {
  int n = LiczbaLiniiPozycji(Line("NA1"), Line("NA2"), Line("NA3"), Line("NA4"), Line("NA5"), Line("NA6"));
  if ((salesOptions.printGoodsCode == 'T' && !Trimmed(Line("KOT")).empty()) || !Trimmed(Line("KWU")).empty()) n++;
  if (n == 1 && f4double(Line("RAS")) != 0) n = 2;
  return n;
}

int PageBreak() {
  zadanie_wydruku_faktury& j = J();
  PutSums(SUM_ROW, "Do przeniesienia");
  if (PrintRows(RULE_ROW, SUM_ROW + 1) != 0 || drukuj_form_feed() != 0) return -1;
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0 || naglowek_kolejnej_strony_wz() != 0) return -1;
  PutSums(SUM_ROW, "Z przeniesienia");
  if (PrintRows(SUM_ROW, SUM_ROW + 1) != 0) return -1;
  j.linesLeft -= 1;
  return 0;
}

int Item(int number) {
  zadanie_wydruku_faktury& j = J();
  double k = FldKurs(Line("KVA"));
  double f = ROUND(f4double(Line("WNE")) * k, 2), g = ROUND(f4double(Line("WAV")) * k, 2),
         h = ROUND(f4double(Line("WAB")) * k, 2);
  sums[0] += f, sums[1] += g, sums[2] += h;
  ClearRows(ITEM_ROW, LAST_ITEM_ROW + 1);
  char text[16];
  PutValue(ITEM_ROW, 3, std::string(c4ltoa(number, text, 3), 3));
  int w = 0;
  for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
    if (w > 0 && Trimmed(Line(name)).empty()) continue;
    PutValue(ITEM_ROW + w++, 7, Trimmed(Line(name)));
  }
  bool code = false;
  if (salesOptions.printGoodsCode == 'T' && !Trimmed(Line("KOT")).empty()) {
    PutValue(ITEM_ROW + w, 7, "kod: " + Trimmed(Line("KOT")));
    code = true;
  }
  if (!Trimmed(Line("KWU")).empty() && salesOptions.printClassification == 'T') {
    PutTextEnding(j.value, ITEM_ROW + w, 46, Full(Line("KWU")));
    code = true;
  }
  if (code) w++;
  PutValue(ITEM_ROW, 48, Full(Line("JED")));
  PutValue(ITEM_ROW, 55, Formatted(f4double(Line("ILO")), 13, QUANTITY_FLAGS));
  PutValue(ITEM_ROW, 70, Formatted(ROUND(f4double(Line(j.grossMode ? "CBB" : "CNB")) * k, 4), 12, PRICE_FLAGS));
  int d = 0;
  double ras = f4double(Line("RAS"));
  if (ras != 0) {
    PutValue(ITEM_ROW + 1, 49, ras >= 0 ? "z rabatem        %" : "z narzutem       %");
    PutValue(ITEM_ROW + 1, 61, Formatted(std::fabs(ras), 4, 1 | 0x20));
    PutValue(ITEM_ROW + 1, 70,
             Formatted(ROUND(f4double(Line(j.grossMode ? "CBR" : "CNR")) * k, 4), 12, PRICE_FLAGS));
    d = 1;
  }
  int row = ITEM_ROW + d;
  PutAmount(row, 83, j.grossMode ? h : f);
  PutValue(row, 98, LineRateText(Line("VAS"), Line("VAT")));
  PutAmount(row, 102, g);
  PutAmount(row, 117, j.grossMode ? f : h);
  int rows = std::max(w, d + 1);
  if (PrintRows(ITEM_ROW, ITEM_ROW + rows) != 0) return -1;
  j.linesLeft -= rows;
  return 0;
}

int Pass(long rec, int firstPass, int) {
  if (naglowek_wz(firstPass) != 0) return -1;
  return pozycje_wz(rec, firstPass);
}

// The highest release number of the register's headers; -1 when the scan fails.
long HighestNumber() {
  DbTable* t = Z5SPRZ.table;
  long current = d4recno(t), highest = 0;
  for (long r = 1; r <= d4reccount(t); r++) {
    if (d4go(t, r) != 0) {
      highest = -1;
      break;
    }
    highest = std::max(highest, NumberOf(H("NWZ")));
  }
  d4go(t, current);
  return highest;
}

int NumberLeft(Get4*) { return sprawdz_numer_wz(proposed, 1, MSG_NUMBER_TAKEN); }

// The number and date window; true when left with F2.
bool AskNumberAndDate(char date[9]) {
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, "Wydruk WZ", nullptr, nullptr);
  if (window < 0) return false;
  w4activate(window);
  std::string text = MessageText(MSG_WINDOW);
  int row = 1;
  for (size_t at = 0; at <= text.size(); row++) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    w4(row, 1, text.substr(at, nl - at).c_str());
    at = nl + 1;
  }
  set_fun_help("F2", "Zapisz", 2);
  g4date(2, 20, date);
  g4picture("DD-MM/YY");
  g4valid(test_daty_niepustej);
  g4long(3, 20, &proposed);
  g4picture("#####");
  g4valid(NumberLeft);
  int key = g4read();
  remove_fun_help("F2");
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key == KEY_F2;
}

}  // namespace

const char* numer_wz_tekst() {
  static std::string text;
  std::string nwz = Full(H("NWZ")).substr(0, 5);
  nwz.erase(0, std::min(nwz.find_first_not_of(' '), nwz.size()));
  char year[3] = {f4ptr(H("DWZ"))[2], f4ptr(H("DWZ"))[3], 0};
  char out[32];
  std::snprintf(out, sizeof out, "%s/%02i", nwz.c_str(), std::atoi(year));
  text = out;
  return text.c_str();
}

int sprawdz_numer_wz(long number, int otherOnly, int message) {
  DbTable* t = Z5SPRZ.table;
  long current = d4recno(t);
  int taken = 0;
  for (long r = 1; r <= d4reccount(t) && !taken; r++) {
    if (d4go(t, r) != 0) break;
    if (otherOnly && r == current) continue;
    if (NumberOf(H("NWZ")) == number && f4int(H("TYV")) != PRO_FORMA) taken = 1;
  }
  d4go(t, current);
  if (taken) Uwaga(message);
  return taken;
}

int naglowek_wz(int firstPass) {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0) return -1;
  std::string place(salesOptions.issuePlace);
  place.erase(place.find_last_not_of(' ') + 1);
  PutValue(0, 32, (place.empty() ? "" : place + " ") + FldFullDateQStr(H("DWZ")));
  PutTitle(2, MessageText(MSG_TITLE).c_str(), numer_wz_tekst());
  int markRow = DrukarkaZnakowa() ? 1 : 2;
  OryginalKopiaQStr(&j.value[static_cast<size_t>(markRow * j.width + j.width - 1)], firstPass);
  std::string base = "do faktury nr " + DocumentNumber() + " z " + FldFullDateQStr(H("DAW"));
  PutValue(3, (j.width - static_cast<int>(base.size())) / 2, base);
  PutValue(5, 22, Trimmed(Firm("NA1")));
  PutValue(6, 22, Trimmed(Firm("NA2")));
  PutValue(5, 105, Full(Firm("NIP")));
  PutValue(6, 105, Trimmed(Firm("REG")));
  PutValue(7, 22, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  PutValue(8, 22, Trimmed(Firm("KRA")));
  int bank = f4int(H("TYB"));
  PutValue(9, 22, bank_firmy(bank, Firm("BAN1")));
  PutValue(10, 22, konto_bankowe_firmy(bank, Firm("NRR1")));
  PutValue(9, 105, Trimmed(Firm("TEL")));
  PutValue(10, 105, Trimmed(Firm("FAX")));
  bool recipient = Z5SPRO.table && szukaj_odbiorcy(1, f4long(H("REC"))) == 0 &&
                   !Trimmed(d4field(Z5SPRO.table, "NA1")).empty();
  DbTable* receiver = recipient ? Z5SPRO.table : Z5SPRZ.table;
  auto field = [&](const char* name) { return d4field(receiver, name); };
  PutValue(12, 105, Full(field("NIP")));
  PutValue(12, 22, Trimmed(field("NA1")));
  PutValue(13, 22, Trimmed(field("NA2")));
  PutValue(14, 22, Trimmed(field("KOP")) + " " + Trimmed(field("MIA")) + " " + Trimmed(field("ULI")));
  PutValue(15, 22, Trimmed(field("KRA")));
  NumerStronyQStr(&j.value[static_cast<size_t>(HEAD_ROW * j.width + j.pageColumn)], j.page++, 0);
  if (salesOptions.printClassification == 'T')
    PutPattern(19, 31, "symbol " + std::string(salesOptions.classificationLabel));
  const char* with = "z podatkiem";
  const char* without = "bez podatku";
  PutPattern(19, 70, j.grossMode ? with : without);
  PutPattern(19, 84, j.grossMode ? with : without);
  PutPattern(19, 117, j.grossMode ? without : with);
  if (PrintRows(0, TABLE_END) != 0) return -1;
  j.linesLeft -= 22;
  return 0;
}

int naglowek_kolejnej_strony_wz() {
  zadanie_wydruku_faktury& j = J();
  ClearRows(HEAD_ROW, HEAD_ROW + 1);
  PutValue(HEAD_ROW, 4, ReleaseTitle());
  NumerStronyQStr(&j.value[static_cast<size_t>(HEAD_ROW * j.width + j.pageColumn)], j.page++, 0);
  if (PrintRows(HEAD_ROW, TABLE_END) != 0) return -1;
  j.linesLeft -= 6;
  return 0;
}

int pozycje_wz(long rec, int) {
  sums[0] = sums[1] = sums[2] = 0;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  DbTable* lines = Z5SPRE.table;
  int number = 1;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    if (GoodsLine() && Item(number++) != 0) return -1;
    if (d4skip(lines, 1) < 0) return -1;
    if (d4eof(lines) || f4long(Line("REK")) != rec) break;
    if (GoodsLine() && EstimatedRows() > J().linesLeft - 2 && PageBreak() != 0) return -1;
  }
  return podsumowanie_wz();
}

int podsumowanie_wz() {
  zadanie_wydruku_faktury& j = J();
  if (j.linesLeft < MIN_LINES_FOR_TOTALS) {
    if (drukuj_form_feed() != 0) return -1;
    j.linesLeft = PageLines();
  }
  PutSums(SUM_ROW, "RAZEM");
  PutTextEnding(j.pattern, SIGNATURE_ROW, 18, Sys("odebrał:"));
  PutValue(SIGNATURE_ROW, 20, Trimmed(H("ODE")));
  PutTextEnding(j.pattern, SIGNATURE_ROW, 94, Sys("wystawił:"));
  PutValue(SIGNATURE_ROW, 96, Trimmed(H("WYS")));
  return PrintRows(RULE_ROW, SIGNATURE_ROW + 1);
}

int drukuj_wz(long rec) {
  if (OpenZ5PAWL() != 0) return 0;
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = f4int(H("TYV"));
  j.grossMode = f4int(H("TRY")) == 2;
  j.rows = RELEASE_ROWS;
  std::string title = PrintfQStr(MSG_JOB, j.grossMode ? "od brutto" : "od netto");
  int result = 0;
  if (init_prn(Z5SPRZ.table, j.grossMode ? "WZB" : "WZN", title.c_str(), INVOICE_WIDTH, RELEASE_FLAGS) == 0) {
    RunCopies(rec, FORM_RELEASE, Pass, 1);
    result = 1;
  }
  deinit_prn();
  d4close(Z5PAWL.table);
  Z5PAWL.table = nullptr;
  return result;
}

int wydruk_wz() {
  DbTable* t = Z5SPRZ.table;
  if (EmptyBrowseWarning(CurrentBrowse) != 0) return 0;
  int kind = f4int(H("TYV"));
  if (kind == 3 || kind == 4 || kind == 5) {
    Uwaga(MSG_NO_RELEASE);
    return 0;
  }
  long rec = 0;
  if (sprawdz_pozycje_wydruku(H("REC"), &rec) != 0) return 0;
  bool goods = false;
  for (DbTable* lines = Z5SPRE.table; !goods && !d4eof(lines) && f4long(Line("REK")) == rec; d4skip(lines, 1))
    goods = GoodsLine();
  if (!goods) {
    Uwaga(MSG_NO_GOODS);
    return 0;
  }
  // The whole table stays locked from the proposal to the store, so two
  // workstations never give two documents one number.
  long record = d4recno(t);
  if (set_lock(t, -1) != 0) return 0;
  long number = Trimmed(H("NWZ")).empty() ? HighestNumber() + 1 : NumberOf(H("NWZ"));
  d4go(t, record);
  if (number <= 0) {
    d4unlock(t);
    return 0;
  }
  proposed = static_cast<int32_t>(number);
  char date[9] = {};
  std::string stored = Full(H("DWZ"));
  if (Trimmed(H("DWZ")).empty() && salesContext)
    std::memcpy(date, salesContext->workingDate, 8);
  else
    std::memcpy(date, stored.data(), 8);
  bool save = AskNumberAndDate(date);
  if (save) {
    char text[16];
    std::snprintf(text, sizeof text, "%5d", proposed);
    f4assign(H("NWZ"), text);
    f4assign(H("DWZ"), date);
    set_pass_inf(STAMP_KIND_MODIFIED, H("INF"));
    save = d4write(t, record) == 0;
    d4flush(t);
  }
  d4unlock(t);
  if (save) drukuj_wz(rec);
  return 0;
}
