#include "sales/currency_view.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

#include "app/document_kinds.h"
#include "app/document_text.h"
#include "app/settlement.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "print/tabulogram.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/definition_lists.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int MARKS = 13;
constexpr int MARKS_TEXT = 17;
constexpr int NUMBER_WIDTH = 40;
constexpr int KIND_WIDTH = 3;
constexpr int LINKED_NUMBER_WIDTH = 20;
constexpr int KIND_PRO_FORMA = 6;

DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
int HeaderInt(const char* name) { return f4int(Header(name)); }
char HeaderMark(const char* name) { return static_cast<char>(f4char(Header(name))); }
int Register() { return salesContext ? salesContext->rejestr : 1; }
bool From2024() { return WorkingYear() >= FIRST_YEAR_2024; }
int ListView() { return definicjaRejestru ? definicjaRejestru->currencyView : VIEW_OWN_CURRENCY; }
// The tabulogram converts by the mode chosen for the report.
double ReportFactor() {
  return kurs_widoku(salesContext ? salesContext->reportCurrencyMode : VIEW_PLN_VAT, Header("KVA"), Header("KKS"));
}

const char* ListedKind() { return KindCode(HeaderInt("TYV"), Register(), HeaderInt("AKT")); }

// The number of the current header as the list and forms show it.
std::string NumberText() {
  if (HeaderMark("RE4") == 'N') {
    std::string free = FldQStr(Header("OSM"), 0);
    return free.substr(0, NUMBER_WIDTH);
  }
  return NrDokumentuStalyQStr(Header("PRE"), Header("NRV"), Header("POS"));
}

void TextValue(ColumnValue* v, const std::string& text, int width) {
  v->type = 'C';
  v->length = static_cast<uint8_t>(width);
  std::memset(v->text, ' ', static_cast<size_t>(width));
  std::memcpy(v->text, text.data(), std::min(text.size(), static_cast<size_t>(width)));
}

void NumberValue(ColumnValue* v, double number, int width, int decimals) {
  v->type = 'N';
  v->length = static_cast<uint8_t>(width);
  v->number = number;
  v->decimals = decimals;
}

// A tabulogram column computed from the headers: the alias names it in the
// stored layouts together with the headers table.
void Computed(TabuValue* v, const char* alias, char type) {
  std::memset(v->fieldName, 0, sizeof v->fieldName);
  std::strncpy(v->fieldName, alias, sizeof v->fieldName - 1);
  const char* source = TabuSettingsName();
  if (!source || !*source) source = d4alias(Z5SPRZ.table);
  std::memset(v->sourceName, 0, sizeof v->sourceName);
  std::strncpy(v->sourceName, source, sizeof v->sourceName - 1);
  v->type = type;
}

void TabuAmount(TabuValue* v, const char* alias, double amount) {
  Computed(v, alias, 'N');
  DbField* gross = Header("BRU");
  v->width = static_cast<int32_t>(f4len(gross));
  v->decimals = f4decimals(gross);
  v->number = ROUND(ReportFactor() * amount, 2);
}

void TabuText(TabuValue* v, const char* alias, const std::string& text, int width) {
  Computed(v, alias, 'C');
  v->width = width;
  std::memset(v->text, ' ', sizeof v->text);
  std::memcpy(v->text, text.data(), std::min(text.size(), static_cast<size_t>(width)));
}

std::string Marks(const char* name) {
  char text[MARKS_TEXT];
  tekst_oznaczen(Header(name), text);
  return std::string(text, MARKS_TEXT);
}

// A text cut at the window's right edge.
void Clipped(const TextCtrl* entry, const std::string& text) {
  int room = w4width() - entry->col;
  if (room > 0) w4num(entry->row, entry->col, text.c_str(), std::min(static_cast<int>(text.size()), room));
}

}  // namespace

double kurs_widoku(int mode, DbField* rateVat, DbField* rateBooks) {
  switch (mode) {
    case VIEW_PLN_VAT: return FldKurs(rateVat);
    case VIEW_PLN_BOOKS: return FldKurs(rateBooks);
    default: return 1.0;
  }
}

const char* nazwa_widoku_waluty(int mode, const char* currency) {
  switch (mode) {
    case VIEW_PLN_VAT: return "PLN dla rozliczenia VAT";
    case VIEW_PLN_BOOKS: return Sys("PLN dla księgowania");
    default: return currency;
  }
}

void dopisz_opis_widoku_waluty(char* title, size_t size, int mode, const char* currency) {
  std::string added = mode == VIEW_PLN_VAT     ? std::string(" waluty wg kursu dla VAT")
                      : mode == VIEW_PLN_BOOKS ? std::string(Sys(" waluty wg kursu dla księgowania"))
                                               : std::string(" waluta:") + currency;
  size_t used = strnlen(title, size);
  if (used + 1 >= size) return;
  std::strncat(title, added.c_str(), size - used - 1);
}

void podpowiedz_widoku_waluty(int mode, int position) {
  remove_fun_help("F5");
  switch (mode) {
    case VIEW_PLN_VAT: set_fun_help("F5", Sys("PLN-księg."), position); break;
    case VIEW_PLN_BOOKS: set_fun_help("F5", "Waluta", position); break;
    case VIEW_OWN_CURRENCY: set_fun_help("F5", "PLN-VAT", position); break;
    default: break;
  }
}

void pokaz_kod_waluty(TextCtrl* entry, int mode, int row, int col) {
  if (mode == VIEW_PLN_VAT || mode == VIEW_PLN_BOOKS)
    w4num(entry->row, entry->col, "PLN", 3);
  else
    w4num(entry->row, entry->col, f4ptr(*entry->field), 3);
  const char* label = mode == VIEW_PLN_VAT ? " VAT  " : mode == VIEW_PLN_BOOKS ? Sys("księg.") : "      ";
  w4num(row, col, label, 6);
}

void przelicz_kwote_widoku(ColumnValue* value, int mode, DbField* rateVat, DbField* rateBooks) {
  if (mode == VIEW_PLN_VAT || mode == VIEW_PLN_BOOKS)
    value->number = ROUND(value->number * kurs_widoku(mode, rateVat, rateBooks), 2);
}

void pokaz_kwote_w_widoku(TextCtrl* entry, int mode, DbField* rateVat, DbField* rateBooks) {
  DbField* field = *entry->field;
  ColumnValue value{};
  value.number = f4double(field);
  przelicz_kwote_widoku(&value, mode, rateVat, rateBooks);
  w4double(entry->row, entry->col, value.number, static_cast<int>(f4len(field)), f4decimals(field));
}

void tekst_oznaczen(DbField* marks, char* out17) {
  std::memset(out17, ' ', MARKS_TEXT);
  const char* set = f4ptr(marks);
  int length = std::min(MARKS, static_cast<int>(f4len(marks)));
  for (int position = 1; position <= length; position++) {
    if (set[position - 1] != 'T') continue;
    if (position <= 9)
      out17[position - 1] = static_cast<char>('0' + position);
    else
      std::memcpy(out17 + 9 + (position - 10) * 2, std::to_string(position).c_str(), 2);
  }
}

void tekst_oznaczenia_dokumentu(char* out3) {
  int kind = HeaderInt("TYV"), akt = HeaderInt("AKT"), sdr = HeaderInt("SDR"), tym = HeaderInt("TYM");
  bool correction = kind == 3 || kind == 4;
  const char* text = "   ";
  if (((kind == 1 || kind == 7) && akt == 3) || sdr == 3)
    text = "FP ";
  else if (sdr == 2)
    text = "WEW";
  else if (f4len(Header("NKV")) >= MARKS && f4ptr(Header("NKV"))[MARKS - 1] == 'T')
    text = "MPP";
  if (From2024()) {
    if (kind == 9 || kind == 10 || (correction && (tym == 9 || tym == 10))) text = "FP ";
  } else if (Register() == 1) {
    if ((correction && tym == 9) || kind == 9) text = "FP ";
  } else if (sdr == 3 && ((correction && tym == 9) || kind == 9)) {
    text = "FP ";
  }
  int re5 = HeaderInt("RE5");
  if (kind == 5 && (re5 == 1 || re5 == 2)) text = "RO ";
  std::memcpy(out3, text, 3);
}

void kolumna_typu(ColumnValue* value) {
  TextValue(value, std::string(" ") + ListedKind(), KIND_WIDTH);
}

void kolumna_numeru(ColumnValue* value) { TextValue(value, NumberText(), NUMBER_WIDTH); }

void kolumna_oznaczenia(ColumnValue* value) {
  char text[3];
  tekst_oznaczenia_dokumentu(text);
  TextValue(value, std::string(text, 3), 3);
}

void kolumna_oznaczen(ColumnValue* value) {
  char text[MARKS_TEXT];
  tekst_oznaczen(value->field, text);
  TextValue(value, std::string(text, MARKS_TEXT), MARKS_TEXT);
}

void kolumna_ceny_pozycji(ColumnValue* value) {
  DbField* price = d4field(Z5SPRE.table, HeaderInt("TRY") == 1 ? "CNR" : "CBR");
  NumberValue(value, f4double(price), 9, 2);
}

void kolumna_netto_pozycji(ColumnValue* value) {
  DbField* net = d4field(Z5SPRE.table, HeaderInt("TYV") == 3 ? "KWNE" : "WNE");
  NumberValue(value, f4double(net), 9, 2);
}

void tabulogram_kwota(TabuValue* value) { value->number = ROUND(value->number * ReportFactor(), 2); }

void tabulogram_numer(TabuValue* value) {
  if (HeaderMark("RE4") == 'N') {
    TabuText(value, "_ND", NumberText(), NUMBER_WIDTH);
    return;
  }
  Computed(value, "_ND", 'C');
  value->width = NUMBER_WIDTH;
  char fitted[NUMBER_WIDTH + 1];
  KolumnaTekstFit(NumberText().c_str(), value, fitted);
  std::memset(value->text, ' ', sizeof value->text);
  std::memcpy(value->text, fitted, NUMBER_WIDTH);
}

void tabulogram_korekta_brutto(TabuValue* value) {
  TabuAmount(value, "_KB", f4double(Header("KRN")) + f4double(Header("KRV")));
}

void tabulogram_do_zaplaty(TabuValue* value) {
  TabuAmount(value, "_RO", KwotaDoRozliczenia(nullptr) - f4double(Header("KZA")));
}

void tabulogram_procedury(TabuValue* value) { TabuText(value, "_PR", Marks("NKV"), MARKS_TEXT); }

void tabulogram_gtu(TabuValue* value) { TabuText(value, "_OZ", Marks("NKK"), MARKS_TEXT); }

void panel_kwota(TextCtrl* entry) { pokaz_kwote_w_widoku(entry, ListView(), Header("KVA"), Header("KKS")); }

// The code stands before "VAT" of its row and the view's label on the blank
// row above the amounts, so neither covers a label of the panel.
void panel_waluta(TextCtrl* entry) { pokaz_kod_waluty(entry, ListView(), entry->row - 2, entry->col); }

void panel_kraj(TextCtrl* entry) {
  Clipped(entry, FieldIsEmpty(*entry->field) ? std::string("POLSKA") : std::string(FldQStr(*entry->field, 0)));
}

void panel_rodzaj_powiazany(TextCtrl* entry) {
  static const char* const kinds[] = {"FV", "RU", "FK", "RK", "BR", "", "MP", "FM", "FZ"};
  int tym = HeaderInt("TYM");
  if (tym < 1 || tym > static_cast<int>(std::size(kinds))) return;
  bool proForma = Register() == 2 && !From2024() ? HeaderInt("SDR") != 3 : HeaderInt("AKT") == 1;
  const char* text = tym == 6 ? (proForma ? "PF" : "FP") : kinds[tym - 1];
  w4num(entry->row, entry->col, text, 2);
}

void panel_numer_wz(TextCtrl* entry) { w4num(entry->row, entry->col, f4ptr(*entry->field), 5); }

void formularz_rodzaj(TextCtrl* entry) {
  static const char* const names[] = {
      "FAKTURA",           "RACHUNEK",           "KOREKTA",           "RACHUNEK KORYGUJĄCY",
      "SPRZEDAŻ bezrachunkowa", "FAKTURA PRO FORMA", "FAKTURA mały podatnik", "FAKTURA marża",
      "FAKTURA do paragonu", "ZALICZKOWA do paragonu", "FAKTURA zaliczkowa", "FAKTURA końcowa",
      "FAKTURA zbiorcza",  "FAKTURA końcowa parag.",
  };
  int kind = HeaderInt("TYV"), akt = HeaderInt("AKT");
  if ((kind == 1 || kind == 7) && akt >= 1 && akt <= 3) kind = 11 + akt;
  if (kind < 1 || kind > static_cast<int>(std::size(names))) return;
  // The list text after its "n.": the blank keeps it off the form's "typ".
  Clipped(entry, std::string(" ") + Sys(names[kind - 1]));
}

void formularz_numer(TextCtrl* entry) { Clipped(entry, NumberText()); }

void formularz_rodzaj_korygowany(TextCtrl* entry) {
  static const char* const shortList[] = {"FV", "RU", "FK", "RK", "BR", "PF", "MP", "FM", "FZ"};
  int tym = HeaderInt("TYM");
  bool mainList = From2024() || HeaderInt("SDR") == 3;
  if (mainList) {
    const char* code = KindCode(tym, 1, 0);
    if (*code) Clipped(entry, std::string(" ") + code);
    return;
  }
  if (tym < 1 || tym > static_cast<int>(std::size(shortList))) return;
  Clipped(entry, std::string(" ") + shortList[tym - 1]);
}

void formularz_numer_powiazany(TextCtrl* entry) {
  if (HeaderInt("TYV") == KIND_PRO_FORMA) return;
  Clipped(entry, std::string(f4ptr(Header("NUK")), f4len(Header("NUK"))).substr(0, LINKED_NUMBER_WIDTH));
}

void formularz_mpp(TextCtrl* entry) { Clipped(entry, HeaderInt("NRM") > 0 ? "T" : "N"); }
