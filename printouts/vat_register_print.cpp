#include "printouts/vat_register_print.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/numbers.h"
#include "tables/catalogue.h"
#include "tables/exchange_tables.h"
#include "tables/layouts.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"

namespace {

// Field handles by table and name, looked up once rather than at every field
// read; a handle is checked to still be that table's field of that name.
std::map<std::pair<const DbTable*, std::string>, DbField*> fieldHandles;

// The document header last sought, so that the lines of one document seek it once.
struct SoughtHeader {
  const DbTable* table = nullptr;
  long rek = 0, recno = -1;
  bool found = false;
};
SoughtHeader sought;

// A pass starts: tables may have been opened or moved since the last one.
void StartPass() { sought = SoughtHeader{}; }

DbField* FieldOf(DbTable* table, const char* name) {
  DbField*& field = fieldHandles[{table, name}];
  // The range first: a handle of a closed table is not read.
  const bool current = field != nullptr && field >= table->fields && field < table->fields + table->field_count &&
                       field->table == table && std::strcmp(field->name, name) == 0;
  if (!current) field = d4field(table, name);
  return field;
}

constexpr int HEADER_TAG_REC = 4;
constexpr int LINES_TAG_VAT_DATE = 1;

// Field position in Z5ESPPyy; the layout is the one list of the names.
int Pos(const char* name) {
  for (int i = 0; i < LAYOUT_Z5ESPP.fieldCount; i++)
    if (std::strcmp(LAYOUT_Z5ESPP.fields[i].name, name) == 0) return i;
  return -1;
}

void Add(wiersz_rejestru_vat* row, const char* name, double amount) { row->kwoty[Pos(name)] += amount; }
void AddPair(wiersz_rejestru_vat* row, const char* net, const char* vat, double n, double v) {
  Add(row, net, n);
  Add(row, vat, v);
}

std::string Raw(DbTable* table, const char* name) {
  DbField* field = FieldOf(table, name);
  std::string s(f4ptr(field), f4len(field));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

// The document header of the current line; a missing one reads blank.
struct Naglowek {
  bool found;
  DbTable* table;
  std::string Text(const char* name) const { return found ? Raw(table, name) : std::string(); }
  double Number(const char* name) const { return found ? f4double(FieldOf(table, name)) : 0.0; }
  char Char(const char* name) const { return found ? f4ptr(FieldOf(table, name))[0] : ' '; }
};

bool SeekHeader(TableHandles& headers, long rek) {
  if (sought.table == headers.table && sought.rek == rek && sought.recno == d4recno(headers.table)) return sought.found;
  DbTag* kept = d4tag_selected(headers.table);
  d4tag_select(headers.table, headers.tag[HEADER_TAG_REC]);
  bool found = d4seek_double(headers.table, static_cast<double>(rek)) == 0;
  d4tag_select(headers.table, kept);
  sought = SoughtHeader{headers.table, rek, d4recno(headers.table), found};
  return found;
}

double LineValue(const char* name) { return f4double(FieldOf(Z5SPRE.table, name)); }

bool Active(const char* date) { return date != nullptr && date[0] != '\0' && date[0] != ' '; }

void Join(std::string& markers, const char* marker) {
  if (!markers.empty()) markers += ' ';
  markers += marker;
}

void AssignText(const char* name, const std::string& text) { f4assign(Z5ESPP.field[Pos(name)], text.c_str()); }

int AppendRow(const wiersz_rejestru_vat* row) {
  DbTable* table = Z5ESPP.table;
  if (d4append_start(table, 0) != 0) return -1;
  d4blank(table);
  const char* texts[] = {"NUM", "DAW", "DAS", "DAV", "NA1", "NA2", "AD1", "AD2", "NIP", "UW1", "UW2", "PRO", "GTU", "OZN"};
  const std::string* values[] = {&row->num, &row->daw, &row->das, &row->dav, &row->na1, &row->na2, &row->ad1,
                                 &row->ad2, &row->nip, &row->uw1, &row->uw2, &row->pro, &row->gtu, &row->ozn};
  for (size_t i = 0; i < sizeof texts / sizeof *texts; i++) AssignText(texts[i], *values[i]);
  for (int i = 0; i < row->liczba_towarow; i++) AssignText(("US" + std::to_string(i + 1)).c_str(), row->towary[i]);
  f4assign_long(Z5ESPP.field[Pos("LPK")], row->lpk);
  const int lpk = Pos("LPK"), n0e = Pos("N0E"), wdt = Pos("WDT");
  for (int i = 0; i < ESPP_FIELDS; i++)
    if (LAYOUT_Z5ESPP.fields[i].type == 'N' && i != lpk)
      f4assign_double(Z5ESPP.field[i], row->kwoty[i == n0e ? wdt : i]);
  return d4append(table) == 0 ? 0 : -1;
}

// Appends the finished document's row (pro forma rows are never written) and
// starts a clean one.
int FinishRow(wiersz_rejestru_vat* row) {
  int result = 0;
  if (row->rek != -1 && row->rodzaj != 6) result = AppendRow(row);
  zeruj_wiersz_rejestru(row);
  return result;
}

bool ReceiptFlag(int kind, const Naglowek& header, int year) {
  int tym = static_cast<int>(header.Number("TYM"));
  int akt = static_cast<int>(header.Number("AKT"));
  if (kind == 9 || kind == 10) return true;
  if (year < 2024) {
    if (kind == 3) return tym == 9;
    if (kind == 1 || kind == 7) return akt == 3 || (akt == 1 && header.Char("SDR") == '3');
    return false;
  }
  if (kind == 3) return tym == 9 || tym == 10;
  return (kind == 1 || kind == 7) && akt == 3;
}

// The text parts of a new document from its line and header; the "RO"
// marker only in the register's own pass.
void StartDocument(wiersz_rejestru_vat* row, const Naglowek& header, DbTable* lines, int kind, bool receipt,
                   bool salesMarker) {
  std::string re1 = Raw(lines, "RE1");
  row->num = !re1.empty() ? re1.substr(0, 40)
                          : NrDokumentuStalyQStr(FieldOf(lines, "PRE"), FieldOf(lines, "NRV"), FieldOf(lines, "POS"));
  row->daw = Raw(lines, "DAW");
  row->das = header.Text("DAS");
  row->dav = header.Text("DAV");
  row->na1 = header.Text("NA1");
  row->na2 = header.Text("NA2");
  row->nip = header.Text("NIP");
  row->uw1 = header.Text("UW1");
  row->uw2 = header.Text("UW2");
  row->ad1 = header.found ? std::string(KodNazwaKontrahentaQStr(FieldOf(header.table, "KOP"),
                                                                FieldOf(header.table, "MIA")))
                                .substr(0, 32)
                          : std::string();
  row->ad2 = header.Text("ULI");
  row->kwoty[Pos("ZAP")] = header.Number("KZA");
  std::string nkv = header.Text("NKV"), nkk = header.Text("NKK");
  row->pro = tekst_znacznikow(nkv.c_str(), static_cast<int>(nkv.size()));
  row->gtu = tekst_znacznikow(nkk.c_str(), static_cast<int>(nkk.size()));
  row->lpk = static_cast<long>(header.Number("LPO"));
  row->rodzaj = kind;
  row->ozn.clear();
  if (header.Char("SDR") == '2') Join(row->ozn, "WEW");
  if (receipt) Join(row->ozn, "FP");
  int re5 = static_cast<int>(header.Number("RE5"));
  if (salesMarker && kind == 5 && (re5 == 1 || re5 == 2)) row->ozn = "RO";
  if (nkv.size() >= 13 && nkv[12] == 'T') Join(row->ozn, "MPP");
}

// Names of the items sold with delivery type 2, at most six a document.
void AddItemNames(wiersz_rejestru_vat* row, DbTable* lines) {
  for (int i = 1; i <= 6 && row->liczba_towarow < ESPP_ITEM_NAMES; i++) {
    std::string name = Raw(lines, ("NA" + std::to_string(i)).c_str());
    if (!name.empty()) row->towary[row->liczba_towarow++] = name;
  }
}

double Factor(const ZrodloRejestruVat* source, DbTable* lines) {
  double rate = f4double(FieldOf(lines, "KVA"));
  return source->przeliczenie && rate > 0 ? rate : 1.0;
}

void PlaceByYear(wiersz_rejestru_vat* row, int year, int code, int kind, int delivery, double net, double vat) {
  if (year < 2024)
    dodaj_do_kolumn_stawek(row, code, kind, net, vat);
  else
    dodaj_do_kolumn_stawek_2024(row, code, delivery, net, vat);
}

struct LinePass {
  wiersz_rejestru_vat* row;
  const ZrodloRejestruVat* source;
};

int AddLine(void* data) {
  auto* pass = static_cast<LinePass*>(data);
  return dodaj_pozycje_sprzedazy(pass->row, pass->source);
}

}  // namespace

int ustaw_naglowek_pozycji() { return SeekHeader(Z5SPRZ, f4long(FieldOf(Z5SPRE.table, "REK"))) ? 1 : 0; }

double czynnik_pozycji(const ZrodloRejestruVat* source) { return Factor(source, Z5SPRE.table); }

int przejdz_pozycje_rejestru(const ZrodloRejestruVat* source, int (*each)(void*), void* data) {
  StartPass();
  DbTable* lines = Z5SPRE.table;
  DbTag* kept = d4tag_selected(lines);
  d4tag_select(lines, Z5SPRE.tag[LINES_TAG_VAT_DATE]);
  int result = d4top(lines) < 0 ? -1 : 0;
  while (result == 0 && !d4eof(lines)) {
    if ((source->filtr == nullptr || source->filtr() == 45) && each(data) != 0) result = -1;
    if (result == 0 && d4skip(lines, 1) < 0) result = -1;
  }
  d4tag_select(lines, kept);
  return result;
}

void zeruj_wiersz_rejestru(wiersz_rejestru_vat* row) {
  long rek = row->rek;
  *row = wiersz_rejestru_vat{};
  row->rek = rek;
}

std::string tekst_znacznikow(const char* flags, int length) {
  std::string text;
  for (int i = 0; i < 13; i++) {
    bool set = i < length && flags[i] == 'T';
    std::string mark = std::to_string(i + 1);
    text += set ? mark : std::string(mark.size(), ' ');
  }
  return text;
}

void dodaj_do_kolumn_stawek(wiersz_rejestru_vat* row, int code, int kind, double net, double vat) {
  switch (code) {
    case 1: AddPair(row, "NPO", "VPO", net, vat); break;
    case 2: case 12: AddPair(row, "NP1", "VP1", net, vat); break;
    case 8: AddPair(row, "NP2", "VP2", net, vat); break;
    case 9: AddPair(row, "NP3", "VP3", net, vat); break;
    case 3: case 13: Add(row, "N0K", net); break;
    case 4: Add(row, "WOL", net); break;
    case 5: Add(row, "EXP", net); break;
    case 6:
      if (kind == 5)
        Add(row, "SBE", net + vat);
      else
        Add(row, "DON", net);
      break;
    case 7: Add(row, "NPD", net); break;
    case 10: case 11: Add(row, "NIO", net); break;
    default: Add(row, "SBE", net + vat); break;
  }
}

void dodaj_do_kolumn_stawek_2024(wiersz_rejestru_vat* row, int code, int delivery, double net, double vat) {
  switch (code) {
    case 1: AddPair(row, "NPO", "VPO", net, vat); return;
    case 2: case 12: AddPair(row, "NP1", "VP1", net, vat); return;
    case 8: AddPair(row, "NP2", "VP2", net, vat); return;
    case 9: AddPair(row, "NP3", "VP3", net, vat); return;
    case 4: Add(row, "WOL", net); return;
    case 3:
      if (delivery == 1 || delivery == 8) Add(row, "N0K", net);
      if (delivery == 2 || delivery == 7 || delivery == 9) Add(row, "WDT", net);
      if (delivery == 3) Add(row, "EXP", net);
      if (delivery == 5) Add(row, "WDU", net);
      return;
    case 7:
      if (delivery == 5) Add(row, "WDU", net);
      if (delivery == 6) Add(row, "NPD", net);
      return;
    default: return;
  }
}

void dodaj_do_kolumny_ryczaltu(wiersz_rejestru_vat* row, int ryt, int year, double net) {
  static const char* const before2022[] = {"RUS", "RPR", "RHA", "RUI", "RWZ", "RNI", "RNW", "RNA"};
  static const char* const from2022[] = {"RHA", "RPR", "RUS", "RNA", "RNI", "RKO", "RZD", "RUI", "RWZ"};
  if (year < 2022 && ryt >= 1 && ryt <= 8) Add(row, before2022[ryt - 1], net);
  if (year >= 2022 && ryt >= 1 && ryt <= 9) Add(row, from2022[ryt - 1], net);
}

int dodaj_pozycje_sprzedazy(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  long rek = d4eof(Z5SPRE.table) ? 0 : f4long(FieldOf(Z5SPRE.table, "REK"));
  if (rek == 0) return FinishRow(row);
  // OSS supplies are accounted for elsewhere
  int delivery = std::atoi(Raw(Z5SPRE.table, "STM").c_str());
  if (delivery == 4) return 0;
  int kind = static_cast<int>(LineValue("TYV"));
  int year = WorkingYear();
  Naglowek header{ustaw_naglowek_pozycji() == 1, Z5SPRZ.table};
  bool receipt = ReceiptFlag(kind, header, year);
  if (rek != row->rek) {
    if (FinishRow(row) != 0) return -1;
    row->rek = rek;
    StartDocument(row, header, Z5SPRE.table, kind, receipt, true);
  }
  if (delivery == 2) AddItemNames(row, Z5SPRE.table);
  double f = czynnik_pozycji(source);
  auto R = [f](double x) { return ROUND(x * f, 2); };
  int code = static_cast<int>(LineValue("VAT"));
  int akt = static_cast<int>(header.Number("AKT"));
  double net, vat, gross, lumpNet;
  switch (kind) {
    case 1: case 2: case 5: case 7: case 8: case 9: case 10: case 11:
      net = R(LineValue("WNE"));
      vat = R(LineValue("WAV"));
      gross = akt == 1 || akt == 3 ? net + vat : R(LineValue("WAB"));
      lumpNet = net;
      break;
    case 3: case 4: {
      net = R(LineValue("KRN"));
      vat = R(LineValue("KRV"));
      gross = R(LineValue("KRN") + LineValue("KRV"));
      lumpNet = net;
      int newCode = static_cast<int>(LineValue("KVAT"));
      if (static_cast<int>(header.Number("TYM")) != 9 && newCode > 0 && newCode != code) {
        double newNet = R(LineValue("KWNE")), newVat = R(LineValue("KWAV"));
        if (year < 2024 && newCode >= 14)
          Add(row, "SBE", R(LineValue("KWAB")));
        else
          PlaceByYear(row, year, newCode, kind, delivery, newNet, newVat);
        net = -R(LineValue("WNE"));
        vat = -R(LineValue("WAV"));
        gross = R(LineValue("KWAB")) - R(LineValue("WAB"));
      }
      break;
    }
    default: return 0;
  }
  if (receipt)
    AddPair(row, "PAN", "PAV", net, vat);
  else
    PlaceByYear(row, year, code, kind, delivery, net, vat);
  Add(row, "BRU", gross);
  dodaj_do_kolumny_ryczaltu(row, static_cast<int>(LineValue("RYT")), year, lumpNet);
  return 0;
}

int dopisz_dokumenty_rejestru(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  row->rek = -1;
  LinePass pass{row, source};
  int result = przejdz_pozycje_rejestru(source, AddLine, &pass);
  // at the end the link reads 0: the last document's row is appended
  if (result == 0 && !d4eof(Z5SPRE.table)) d4go_eof(Z5SPRE.table);
  return result == 0 ? dodaj_pozycje_sprzedazy(row, source) : -1;
}

int numeruj_rejestr_vat(wiersz_rejestru_vat* row) {
  DbTable* table = Z5ESPP.table;
  if (d4reccount(table) == 0) return 0;
  zeruj_wiersz_rejestru(row);
  const int lpk = Pos("LPK"), n0e = Pos("N0E"), lpo = Pos("LPO");
  long number = 0;
  if (d4top(table) < 0) return -1;
  while (!d4eof(table)) {
    for (int i = 0; i < ESPP_FIELDS; i++)
      if (LAYOUT_Z5ESPP.fields[i].type == 'N' && i != lpk && i != n0e) row->kwoty[i] += f4double(Z5ESPP.field[i]);
    char text[24];
    std::snprintf(text, sizeof text, "%5ld", ++number);
    f4assign(Z5ESPP.field[lpo], text);
    if (d4write(table, d4recno(table)) != 0 || d4skip(table, 1) < 0) return -1;
  }
  return dopisz_wiersz_sumy(row);
}

int dopisz_wiersz_sumy(const wiersz_rejestru_vat* row) {
  wiersz_rejestru_vat totals = *row;
  const std::string stars(70, '*');
  for (std::string* text : {&totals.num, &totals.na1, &totals.na2, &totals.ad1, &totals.ad2, &totals.nip,
                            &totals.daw, &totals.das, &totals.dav})
    *text = stars;
  totals.uw1.clear();
  totals.uw2.clear();
  totals.pro.clear();
  totals.gtu.clear();
  totals.ozn.clear();
  totals.liczba_towarow = 0;
  if (AppendRow(&totals) != 0) return -1;
  // The numeric fields take the stars as their bytes: the row is marked, not summed.
  for (const char* name : {"LPO", "LPK"}) {
    DbField* field = Z5ESPP.field[Pos(name)];
    std::memset(f4assign_ptr(field), '*', f4len(field));
  }
  return d4write(Z5ESPP.table, d4recno(Z5ESPP.table)) == 0 ? 0 : -1;
}

namespace {

constexpr int AUX_LINES_TAG_DOCUMENT = 3;

int AuxKind() { return f4int(FieldOf(Z5SPRE_2.table, "TYV")); }

bool AuxReceipt(int kind, const Naglowek& header, int year) {
  int tym = static_cast<int>(header.Number("TYM"));
  if (year < 2024) return header.Char("SDR") == '3' || tym == 9;
  return kind == 9 || kind == 10 || (kind == 3 && (tym == 9 || tym == 10));
}

bool AuxReceiptMarker(int kind, const Naglowek& header, int year) {
  int tym = static_cast<int>(header.Number("TYM"));
  if (year < 2024) return (kind == 9 && header.Char("SDR") == '3') || (kind == 3 && tym == 9);
  return AuxReceipt(kind, header, year);
}

// Whether a line of the auxiliary register belongs in the main printout.
bool AuxTaken(const Naglowek& header, int year) {
  auto value = [](const char* name) { return f4double(FieldOf(Z5SPRE_2.table, name)); };
  if (year >= 2024)
    return value("WNE") > 0 || value("WAV") > 0 || value("KWNE") != 0 || value("KWAV") != 0;
  int kind = static_cast<int>(header.Number("TYV"));
  return (kind == 9 && header.Number("VAT") > 0) || (kind == 3 && header.Number("TYM") == 9);
}

}  // namespace

int filtr_pozycji_pomocniczych(const ZrodloRejestruVat* source) {
  int kind = AuxKind();
  bool accepted;
  if (WorkingYear() < 2024) {
    accepted = kind == 9;
  } else {
    bool found = SeekHeader(Z5SPRZ_2, f4long(FieldOf(Z5SPRE_2.table, "REK")));
    int tym = found ? f4int(FieldOf(Z5SPRZ_2.table, "TYM")) : 0;
    accepted = kind == 9 || kind == 10 || kind == 11 || (kind == 3 && tym >= 9 && tym <= 11);
  }
  if (!accepted) return 40;
  return source->filtr_pomocniczy == nullptr ? 45 : source->filtr_pomocniczy();
}

int dodaj_pozycje_pomocnicza(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5SPRE_2.table;
  long rek = d4eof(lines) ? 0 : f4long(FieldOf(lines, "REK"));
  if (rek == 0) return FinishRow(row);
  int kind = AuxKind();
  int year = WorkingYear();
  Naglowek header{SeekHeader(Z5SPRZ_2, rek), Z5SPRZ_2.table};
  bool receipt = AuxReceipt(kind, header, year);
  int delivery = std::atoi(Raw(lines, "STM").c_str());
  if (rek != row->rek) {
    if (FinishRow(row) != 0) return -1;
    row->rek = rek;
    StartDocument(row, header, lines, kind, AuxReceiptMarker(kind, header, year), false);
  }
  if (delivery == 2) AddItemNames(row, lines);
  double f = Factor(source, lines);
  auto R = [f, lines](const char* name) { return ROUND(f4double(FieldOf(lines, name)) * f, 2); };
  bool correction = kind == 3 || kind == 4;
  double net = R(correction ? "KRN" : "WNE"), vat = R(correction ? "KRV" : "WAV");
  int code = f4int(FieldOf(lines, "VAT"));
  if (receipt)
    AddPair(row, "PAN", "PAV", net, vat);
  else
    PlaceByYear(row, year, code, 0, delivery, net, vat);   // code 6 always to DON here
  Add(row, "BRU", net + vat);
  dodaj_do_kolumny_ryczaltu(row, f4int(FieldOf(lines, "RYT")), year, net);
  return 0;
}

int dopisz_dokumenty_pomocnicze(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5SPRE_2.table;
  row->rek = -1;
  // locked elsewhere: the pass adds nothing and is not an error
  if (d4lock_all(lines) != 0) return 0;
  StartPass();
  DbTag* kept = d4tag_selected(lines);
  d4tag_select(lines, Z5SPRE_2.tag[AUX_LINES_TAG_DOCUMENT]);
  int year = WorkingYear();
  int result = d4top(lines) < 0 ? -1 : 0;
  while (result == 0 && !d4eof(lines)) {
    Naglowek header{SeekHeader(Z5SPRZ_2, f4long(FieldOf(lines, "REK"))), Z5SPRZ_2.table};
    if (filtr_pozycji_pomocniczych(source) == 45 && AuxTaken(header, year))
      result = dodaj_pozycje_pomocnicza(row, source);
    if (result == 0 && d4skip(lines, 1) < 0) result = -1;
  }
  if (result == 0) result = dodaj_pozycje_pomocnicza(row, source);
  d4tag_select(lines, kept);
  d4unlock(lines);
  return result;
}

namespace {

constexpr int PURCHASE_LINES_TAG_VAT_DATE = 1;

std::string PurchaseHeaderText(bool found, const char* name) { return found ? Raw(Z5ZAKU.table, name) : std::string(); }
double PurchaseHeaderNumber(bool found, const char* name) {
  return found ? f4double(FieldOf(Z5ZAKU.table, name)) : 0.0;
}

void StartPurchase(wiersz_rejestru_vat* row, long rek) {
  bool found = SeekHeader(Z5ZAKU, rek);
  row->rek = rek;
  row->num = Raw(Z5ZAKE.table, "NRV");
  row->daw = PurchaseHeaderText(found, "DAM");
  row->das = PurchaseHeaderText(found, "DZK");
  row->dav = PurchaseHeaderText(found, "DAV");
  row->na1 = PurchaseHeaderText(found, "NA1");
  row->na2 = PurchaseHeaderText(found, "NA2");
  row->nip = PurchaseHeaderText(found, "NIP");
  row->ad1 = found ? std::string(KodNazwaKontrahentaQStr(FieldOf(Z5ZAKU.table, "KOP"), FieldOf(Z5ZAKU.table, "MIA")))
                         .substr(0, 32)
                   : std::string();
  row->ad2 = PurchaseHeaderText(found, "ULI");
  row->kwoty[Pos("ZAP")] = PurchaseHeaderNumber(found, "KZA");
  row->lpk = static_cast<long>(PurchaseHeaderNumber(found, "LPO"));
  int kind = static_cast<int>(PurchaseHeaderNumber(found, "TYV"));
  int stm = static_cast<int>(PurchaseHeaderNumber(found, "STM"));
  if (kind == 6) Join(row->ozn, "MK");
  if (kind == 5) Join(row->ozn, "VAT_RR");
  if (PurchaseHeaderText(found, "KHC") == "T") Join(row->ozn, "WEW");
  if (stm == 5 || stm == 6) Join(row->ozn, "IMP");
  if (PurchaseHeaderText(found, "KHD") == "T") Join(row->ozn, "MPP");
}

// The pair of a purchase line; a second name of NULL takes the net only. No
// pair and `grossOnly` clear: the line is ignored.
struct PurchasePlace {
  const char *net, *vat;
  bool grossOnly;
};

PurchasePlace PlacePurchase(int stm, char re3, char czo, int year) {
  if (year >= 2024) {
    switch (stm) {
      case 2: return {"UEN", "UEV", false};
      case 3: case 7: return {"IUN", "IUV", false};
      case 4: return {"NN5", "NV5", false};
      case 5: return {"ITN", "ITV", false};
      case 8: return {"UTN", "UTV", false};
      case 9: return {"UPN", "UPV", false};
      case 10: case 13: return {"UEN", nullptr, false};
      case 11: return {"UTN", nullptr, false};
      case 12: return {"UPN", nullptr, false};
      default: return {nullptr, nullptr, false};
    }
  }
  switch (stm) {
    case 2:
      if (czo == '5' || czo == '8') return {"UTN", "UTV", false};
      if (czo == '7') return {"UPN", "UPV", false};
      return {"UEN", "UEV", false};
    case 3: return {"IUN", "IUV", false};
    case 4:
      if (re3 == '5') return {"NN5", "NV5", false};
      if (re3 == '8') return {"NN8", "NV8", false};
      if (re3 == 'T') return {"NN7", "NV7", false};
      return {nullptr, nullptr, true};
    case 5: return {"ITN", "ITV", false};
    default: return {nullptr, nullptr, false};
  }
}

bool InVatDates(const ZrodloRejestruVat* source) {
  std::string dav = Raw(Z5ZAKE.table, "DAV");
  if (Active(source->od_daty_vat) && (dav.empty() || dav < source->od_daty_vat)) return false;
  if (Active(source->do_daty_vat) && (dav.empty() || dav > source->do_daty_vat)) return false;
  return true;
}

}  // namespace

int dodaj_pozycje_zakupu(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5ZAKE.table;
  long rek = d4eof(lines) ? 0 : f4long(FieldOf(lines, "REK"));
  if (rek == 0) return FinishRow(row);
  int year = WorkingYear();
  int stm = f4int(FieldOf(lines, "STM"));
  char re3 = f4ptr(FieldOf(lines, "RE3"))[0], czo = f4ptr(FieldOf(lines, "CZO"))[0];
  if (stm == 1 || stm == 6) {
    // domestic lines count only with the buyer as the taxpayer
    if (year < 2024 || (re3 != '5' && re3 != '8' && re3 != 'T')) return 0;
    stm = 4;
  }
  if (rek != row->rek) {
    if (FinishRow(row) != 0) return -1;
    StartPurchase(row, rek);
  }
  double f = Factor(source, lines);
  auto R = [f](double x) { return ROUND(x * f, 2); };
  auto value = [lines](const char* name) { return f4double(FieldOf(lines, name)); };
  int kind = f4int(FieldOf(lines, "TYV"));
  double net, vat, gross;
  if (kind == 1 || kind == 6) {
    net = R(value("WAN"));
    vat = R(value("WAV"));
    gross = R(value("WAB"));
  } else if (kind == 3) {
    net = R(value("KRN"));
    vat = czo == '4' || czo == '8' || czo == '9' ? R(ROUND(value("KRN") * value("VAS") * 0.01, 2)) : R(value("KRV"));
    gross = net + vat;
  } else {
    return 0;
  }
  PurchasePlace place = PlacePurchase(stm, re3, czo, year);
  if (place.net == nullptr && !place.grossOnly) return 0;
  if (place.net != nullptr) Add(row, place.net, net);
  if (place.vat != nullptr) Add(row, place.vat, vat);
  Add(row, "BRU", gross);
  return 0;
}

int dopisz_zakupy_odwrotne(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5ZAKE.table;
  StartPass();
  d4tag_select(lines, Z5ZAKE.tag[PURCHASE_LINES_TAG_VAT_DATE]);
  row->rek = -1;
  int result = d4top(lines) < 0 ? -1 : 0;
  while (result == 0 && !d4eof(lines)) {
    if (InVatDates(source)) result = dodaj_pozycje_zakupu(row, source);
    if (result == 0 && d4skip(lines, 1) < 0) result = -1;
  }
  return result == 0 ? dodaj_pozycje_zakupu(row, source) : -1;
}

namespace {

// Pass 3 with its tables open and locked for the pass; tables that cannot
// be had leave it out.
int PurchasesPass(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  int result = 0;
  if (OpenZ5ZAKE(0, 0) != 0) return 0;
  if (d4lock_all(Z5ZAKE.table) == 0) {
    if (OpenZ5ZAKU(0, 0) == 0) {
      if (d4lock_all(Z5ZAKU.table) == 0) {
        result = dopisz_zakupy_odwrotne(row, source);
        d4unlock(Z5ZAKU.table);
      }
      d4close(Z5ZAKU.table);
    }
    d4unlock(Z5ZAKE.table);
  }
  d4close(Z5ZAKE.table);
  return result;
}

}  // namespace

int zbuduj_rejestr_vat(wiersz_rejestru_vat* row, const ZrodloRejestruVat* source) {
  DbTable* lines = Z5SPRE.table;
  if (d4lock_all(lines) != 0) return REGISTER_NOT_BUILT;
  if (CreateZ5ESPP() != 0) {
    d4unlock(lines);
    return REGISTER_NOT_BUILT;
  }
  d4tag_select(Z5ESPP.table, Z5ESPP.tag[0]);
  zeruj_wiersz_rejestru(row);
  int result = dopisz_dokumenty_rejestru(row, source);
  if (source->rejestr == 1 && Z5SPRE_2.table != nullptr && dopisz_dokumenty_pomocnicze(row, source) != 0)
    result = -1;
  if (source->rejestr == 1 && (Active(source->od_daty_vat) || Active(source->do_daty_vat)) &&
      PurchasesPass(row, source) != 0)
    result = -1;
  if (numeruj_rejestr_vat(row) != 0) result = -1;
  d4unlock(lines);
  return result;
}
