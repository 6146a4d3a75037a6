#include "jpk/jpk_fa_export.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "app/option_sets.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "interchange/xml_writer.h"
#include "jpk/export_register.h"
#include "jpk/file_copy.h"
#include "jpk/jpk_fa_xml.h"
#include "jpk/rate_sums.h"
#include "jpk/xml_pieces.h"
#include "platform/files.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tables/vat_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/message_box.h"
#include "ui/name_dialogs.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_FIRM_TABLE = 20012, MSG_JPK_TABLE = 20013, MSG_OFFICES_TABLE = 20014, MSG_NO_DATA = 20027,
              MSG_DONE = 20080, MSG_APPEND_FAILED = 252;
constexpr int KIND_FK = 3, KIND_RK = 4, KIND_BR = 5, KIND_PF = 6, KIND_FM = 8, KIND_FP = 9, KIND_ZP = 10,
              KIND_ZAL = 11;
constexpr int SUPPLY_EU = 2, SUPPLY_OSS = 4;
constexpr int HEADERS_BY_DATE = 1;
constexpr int FIRST_YEAR_2024 = 2024;
constexpr int NAME_SIZE = 61;
constexpr int COPY_PATH_MAX = 260;

std::string Trim(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}
std::string Upper(std::string s) {
  c4upper(s.data());
  return s;
}

DbField* F(DbTable* table, const char* name) { return d4field(table, name); }
std::string Text(DbTable* table, const char* name) { return Trim(FldQStr(F(table, name), 0)); }
int Int(DbTable* table, const char* name) { return f4int(F(table, name)); }
double Num(DbTable* table, const char* name) { return f4double(F(table, name)); }

DbTable* Work() { return JpkWork.table; }
DbField* W(const char* name) { return d4field(JpkWork.table, name); }
void Put(const char* name, const std::string& text) { ToFieldCopyMaxString(W(name), text.c_str()); }
void PutNumber(const char* name, double value) { f4assign_double(W(name), value); }
void PutRounded(const char* name, double value) { f4assign_double(W(name), ROUND(value, 2)); }
void PutDate(const char* name, DbTable* table, const char* field) { ToFieldCopyField(W(name), F(table, field)); }

DbTable* Headers(int pass) { return pass == 1 ? Z5SPRZ.table : Z5SPRZ_2.table; }
DbTable* Lines(int pass) { return pass == 1 ? Z5SPRE.table : Z5SPRE_2.table; }

// The document number: the free number when RE4 is 'N', else prefix/number/suffix.
std::string DocumentNumber(DbTable* h) {
  if (f4char(F(h, "RE4")) == 'N') return Text(h, "OSM");
  return NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
}

std::string Joined(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (!out.empty()) out += ' ';
    out += part;
  }
  return out;
}

std::string OrBrak(const std::string& text) { return text.empty() ? "brak" : text; }

bool CountryPrefix(const std::string& nip) {
  return nip.size() >= 2 && static_cast<unsigned char>(nip[0]) > '9' && static_cast<unsigned char>(nip[1]) > '9';
}

// The own NIP without a country prefix, at most ten characters.
std::string SellerNip() {
  std::string nip = NipFldQStr(d4field(Z5PAWL.table, "NIP"));
  if (CountryPrefix(nip)) nip = nip.substr(2, 10);
  return nip;
}

// NAB, ADR, P4B, NIP, P4A, P5A, the dates and the number: both invoice writers.
// Returns the first required field found empty (1 or 2), else 0.
int CommonInvoiceFields(DbTable* h, bool euPrefix, std::string* number) {
  *number = DocumentNumber(h);
  if (number->empty()) return 1;
  if (SellerNip().empty()) return 2;
  d4append_start(Work(), 0);
  d4blank(Work());
  f4assign_char(W("TYP"), 'S');
  f4assign_int(W("TDO"), Int(h, "TYV"));
  f4assign_long(W("REC"), f4long(F(h, "REC")));
  PutDate("DAV", h, "DAV");
  PutDate("DAS", h, "DAS");
  PutDate("DWY", h, "DAW");
  // A document without a currency is in zloty; the file must name one.
  std::string currency = Text(h, "WAL");
  Put("RC2", currency.empty() ? "PLN" : currency);
  f4assign_char(W("RC1"), Num(h, "NRM") > 0 ? 'T' : 'N');
  Put("NRD", *number);
  Put("NAB", OrBrak(Trim(TrimFldsToQStr_(F(h, "NA1"), F(h, "NA2")))));
  std::string country = Text(h, "KRA");
  if (Upper(country) == "POLSKA") country.clear();
  Put("ADR", OrBrak(Joined({country, Text(h, "KOP"), Text(h, "MIA"), Text(h, "ULI")})));
  Put("P4B", SellerNip());
  std::string nip = NipFldQStr(F(h, "NIP"));
  std::string first4 = Upper(Trim(nip.substr(0, 4)));
  if (first4 != "BRAK" && CountryPrefix(nip) && euPrefix) {
    Put("P4A", "PL");
    Put("P5A", nip.substr(0, 2));
    nip = nip.substr(2, 20);
  }
  Put("NIP", OrBrak(nip));
  return 0;
}

const char* TrueFalse(bool value) { return value ? "true" : "false"; }

// PE2, PE3 and PE3A from the margin code; KNR, KOF, KPK of a correction.
int MarginAndCorrection(DbTable* h) {
  char margin = static_cast<char>(f4char(F(h, "KSM")));
  Put("PE2", TrueFalse(margin == '1'));
  Put("PE3", TrueFalse(f4int(F(h, "KSM")) >= 2));
  const char* kinds[] = {"procedura mar\xa7y - towary u\xa7ywane", "procedura mar\xa7y - dzie\222a sztuki",
                         "procedura mar\xa7y - przedmioty kolekcjonerskie i antyki"};
  if (margin >= '2' && margin <= '4') Put("PE3A", kinds[margin - '2']);
  int kind = Int(h, "TYV");
  if (kind != KIND_FK && kind != KIND_RK) return 0;
  std::string corrected = Text(h, "NUK");
  if (corrected.empty()) return 5;
  if (FieldIsEmpty(F(h, "DAK"))) return 6;
  std::string reason = Text(h, "TYK");
  if (reason.empty()) return 4;
  Put("KNR", corrected);
  Put("KOF", FldFullDateQStr(F(h, "DAK")));
  Put("KPK", reason);
  return 0;
}

int Append(int result) {
  if (result != 0) {
    d4changed(Work(), 0);
    return result;
  }
  return d4append(Work()) == 0 ? 0 : -1;
}

// One of the P12 rate texts of a line's code; NULL for no rate.
const char* RateText(int code, char reverse) {
  switch (code) {
    case 1: return "23";
    case 2: return "8";
    case 8: return "5";
    case 9: return "3";
    case 12: return "4";
    case 4: return "zw";
    case 7: case 10: case 11: return "np";
    case 3: case 5: case 6: case 13: return reverse == 'N' ? "0" : "oo";
    default: return nullptr;
  }
}

}  // namespace

int wariant_jpk_fa(const char* date) {
  long day = date4long(date);
  if (day >= date4long("20220401")) return 4;
  if (day >= date4long("20191101")) return 3;
  if (day >= date4long("20190701")) return 2;
  return 1;
}

const char* nazwa_pustego_pola(int kod) {
  static const char* const names[] = {"", "numer dokumentu", "NIP sprzedawcy", "NIP nabywcy", "tytu\x92 korekty",
                                      "nr faktury korygowanej", "okres faktury korygowanej"};
  return kod >= 1 && kod <= 6 ? names[kod] : "";
}

int zapisz_fakture_jpk(kontekst_jpk* c, int przebieg, int wariant) {
  DbTable* h = Headers(przebieg);
  std::string number;
  int empty = CommonInvoiceFields(h, Int(h, "STM") == SUPPLY_EU, &number);
  if (empty) return empty;
  int kind = Int(h, "TYV");
  const char* rod = "VAT";
  if (kind == KIND_FK || kind == KIND_RK) rod = "KOREKTA";
  if (kind == KIND_BR && wariant == 1) rod = "POZ";
  if (kind == KIND_FP && WorkingYear() < FIRST_YEAR_2024 && przebieg == 2) rod = "ZAL";
  if (kind == KIND_ZAL) rod = "ZAL";
  Put("ROD", rod);
  const std::pair<const char*, double> sums[] = {
      {"K10", c->suma_k10}, {"K11", c->suma_k11}, {"K12", c->suma_k12}, {"K13", c->suma_k13},
      {"K14", c->suma_k14}, {"K15", c->suma_k15}, {"K16", c->suma_k16}, {"K19", c->suma_k19},
      {"K20", c->suma_k20}, {"K21", c->suma_k21}, {"K22", c->suma_k22}, {"K31", c->suma_k31}};
  for (const auto& [name, value] : sums) PutRounded(name, value);
  bool variant1 = wariant == 1;
  PutRounded("K17", c->suma_k17 + (variant1 ? c->suma_rn1 : 0));
  PutRounded("K18", c->suma_k18 + (variant1 ? c->suma_rn2 : 0));
  if (wariant >= 3) {
    PutRounded("ZPO", c->kurs * c->suma_k16);
    PutRounded("ZZA", c->kurs * c->suma_k18);
    PutRounded("RN4", c->kurs * c->suma_k20);
    PutRounded("P10", c->kurs * c->suma_rn2);
  }
  if (wariant >= 2) {
    PutRounded("RN1", c->suma_rn1 + c->suma_k31);
    PutRounded("RN2", c->suma_rn2);
    PutRounded("RN3", c->suma_k11);
  }
  PutNumber("BRU", c->suma_bru);
  PutNumber("P15", c->suma_bru);
  PutNumber("NET", c->suma_net);
  PutNumber("VNA", Num(Work(), "K16") + Num(Work(), "K18") + Num(Work(), "K20"));
  if (przebieg == 2) {
    if (wariant >= 3) {
      PutNumber("P15", Num(h, "KZA"));
    } else {
      PutNumber("ZZA", Num(h, "KZA"));
      PutNumber("ZPO", Num(h, "VAT"));
    }
  }
  Put("P16", TrueFalse(salesOptions.cashVat == 'T'));
  for (const char* name : {"P17", "P19A", "P19B", "P19C", "P20"}) Put(name, "false");
  Put("P18", TrueFalse(c->suma_k31 > 0 || c->suma_k12 > 0));
  Put("P19", TrueFalse(c->suma_k10 > 0));
  if (c->suma_k10 > 0) {
    std::string basis = Text(h, "RE1");
    if (basis.compare(0, 4, "art.") == 0)
      Put("P19A", basis);
    else if (!basis.empty() && basis.compare(0, 4, "brak") != 0)
      Put("P19B", basis);
  }
  Put("P23", TrueFalse(Int(h, "STM") == SUPPLY_EU && f4char(F(h, "TTR")) == 'T' && (kind == 1 || kind == 7)));
  return Append(MarginAndCorrection(h));
}

int zapisz_fakture_oss_jpk(kontekst_jpk* c) {
  DbTable* h = Headers(1);
  std::string number;
  int empty = CommonInvoiceFields(h, true, &number);
  if (empty) return empty;
  int kind = Int(h, "TYV");
  Put("ROD", kind == KIND_FK || kind == KIND_RK ? "KOREKTA" : "VAT");
  const char* nets[] = {"K19", "K17", "K15", "RN1"};
  const char* vats[] = {"K20", "K18", "K16", "RN2"};
  const char* rated[] = {"RN4", "ZZA", "ZPO", "P10"};
  double netSum = 0, vatSum = 0;
  for (int n = 0; n < 4; n++) {
    PutRounded(nets[n], c->oss_netto[n]);
    PutRounded(vats[n], c->oss_vat[n]);
    PutRounded(rated[n], c->kurs * c->oss_vat[n]);
    netSum += Num(Work(), nets[n]);
    vatSum += Num(Work(), vats[n]);
  }
  PutNumber("RN3", netSum);
  PutNumber("VNA", vatSum);
  PutNumber("P15", c->oss_suma);
  // The VAT of a special procedure: the only invoices whose P_14_5 carries it.
  Put("RC3", "OSS");
  for (const char* name : {"P16", "P17", "P18", "P19", "P19A", "P19B", "P19C", "P20", "P23"}) Put(name, "false");
  return Append(MarginAndCorrection(h));
}

void sumuj_pozycje_oss_jpk(kontekst_jpk* c) {
  int kind = Int(Lines(1), "TYV");
  if (kind == 1 || kind == 2 || kind == 5 || kind == 7 || kind == KIND_FM)
    dodaj_pozycje_oss_jpk(c, Lines(1), false);
  else if (kind == KIND_FK || kind == KIND_RK)
    dodaj_pozycje_oss_jpk(c, Lines(1), true);
}

int zapisz_wiersz_jpk(int przebieg, int waluta) {
  DbTable* l = Lines(przebieg);
  DbTable* h = Headers(przebieg);
  // An empty rate converts at 1, as the document's sums do.
  double f = waluta ? 1 : FldKurs(F(l, "KVA"));
  int kind = Int(l, "TYV");
  bool correction = kind == KIND_FK || kind == KIND_RK;
  auto pick = [correction](const char* plain, const char* corrected) { return correction ? corrected : plain; };
  d4append_start(Work(), 0);
  d4blank(Work());
  f4assign_char(W("TYP"), 'W');
  std::string number = Text(l, "RE1");
  if (number.empty()) number = NrDokumentuFldQStr(F(h, "PRE"), F(h, "NRV"), F(h, "POS"));
  Put("NRD", number);
  std::string names = Text(l, "NA1") + Text(l, "NA2");
  for (const char* name : {"NA3", "NA4", "NA5", "NA6"})
    if (!Text(l, name).empty()) names += " " + Text(l, name);
  Put("P07", names);
  ToFieldCopyField(W("P8A"), F(l, "JED"));
  PutNumber("P8B", Num(l, pick("ILO", "KILO")));
  PutNumber("P9A", Num(l, pick("CNR", "KCNR")) * f);
  PutNumber("P9B", Num(l, pick("CBR", "KCBR")) * f);
  PutNumber("P11", Num(l, pick("WNE", "KRN")) * f);
  if (kind == KIND_FM)
    PutNumber("P11A", Num(l, "WAB") * f);
  else
    PutNumber("P11A", (Num(l, pick("WNE", "KRN")) + Num(l, pick("WAV", "KRV"))) * f);
  if (Int(h, "STM") == SUPPLY_OSS) {
    char rate[16];
    std::snprintf(rate, sizeof rate, "%4.1f", Num(l, "VAS"));
    Put("RC3", rate);
  } else {
    const char* text = RateText(Int(l, pick("VAT", "KVAT")), static_cast<char>(f4char(F(l, pick("RE3", "RE4")))));
    if (!text) {
      char message[96];
      std::snprintf(message, sizeof message, Utf8ToMazText("Błąd stawki VAT dokum. nr %s.").c_str(), number.c_str());
      MessageWindow(MB_ERROR, message);
      text = "  ";
    }
    Put("P12", text);
  }
  return d4append(Work()) == 0 ? 0 : -1;
}

char* nazwa_pliku_jpk_fa(int rok, int miesiac, int wersja) {
  DbTable* firm = Z5PAWL.table;
  std::string name = Text(firm, "SKN");
  if (name.empty())
    name = f4char(F(firm, "FIZF")) == 'T' ? Trim(TrimFldsToQStr_(F(firm, "NAZF"), F(firm, "IM1F"))) : Text(firm, "NA1");
  bool formatted = mainOptions.jpkFileNames == 'T';
  if (formatted) oczysc_nazwe_pliku_jpk(name.data());
  char text[128];
  if (formatted && miesiac)
    std::snprintf(text, sizeof text, "JPK_FA_%i-%02i_%02i_%s.XML", rok, miesiac, wersja, name.substr(0, 33).c_str());
  else if (formatted)
    std::snprintf(text, sizeof text, "JPK_FA_%i_%02i_%s.XML", rok, wersja, name.substr(0, 36).c_str());
  else if (miesiac)
    std::snprintf(text, sizeof text, "JPK_FA %i-%02i(%02i) %s.XML", rok, miesiac, wersja, name.substr(0, 38).c_str());
  else
    std::snprintf(text, sizeof text, "JPK_FA %i(%02i) %s.XML", rok, wersja, name.substr(0, 41).c_str());
  return QuickStr(text, -1, 0);
}

namespace {

// One run of the export: what it opened and what it has counted.
struct Run {
  kontekst_jpk* c = nullptr;
  int rejestr = 1;
  int variant = 1;
  bool newLayout = false;
  bool from2024 = false;
  int count = 0;
  int previousWindow = -1;
};

void CloseOpened() {
  for (TableHandles* t : {&Z5USKA, &Z5DEKL, &Z5PAWL}) {
    if (t->table) d4close(t->table);
    t->table = nullptr;
  }
}

void ShowCount(int count) {
  char text[16];
  std::snprintf(text, sizeof text, "%5i", count);
  w4(2, 16, text);
}

std::string DayText(const char* date) { return std::string(date, 8); }

bool InPeriod(const kontekst_jpk* c, DbTable* h) {
  std::string vat(f4ptr(F(h, "DAV")), 8);
  return vat >= DayText(c->data_od) && vat <= DayText(c->data_do);
}

bool QualifiesInPass2(const Run& r, DbTable* h) {
  int kind = Int(h, "TYV");
  int tym = Int(h, "TYM");
  if (r.from2024) return kind == KIND_ZAL || kind == KIND_ZP || (kind == KIND_FK && (tym == KIND_ZAL || tym == KIND_ZP));
  bool settled = Int(h, "SDR") == 3;
  return kind == KIND_ZAL || (kind == KIND_FP && !settled) || (kind == KIND_FK && tym == KIND_FP && !settled);
}

void DataErrorBox(int field, DbTable* h, int pass) {
  std::string fieldLine = "Puste pole \"" + std::string(nazwa_pustego_pola(field)) + "\"";
  char documentLine[160];
  std::snprintf(documentLine, sizeof documentLine,
                Utf8ToMazText(pass == 1 ? "Dokument sprzedaży nr %s z %s." : "Dokument sprzedaży pomocniczej nr %s z %s.")
                    .c_str(),
                DocumentNumber(h).c_str(), FldFullDateQStr(F(h, "DAW")));
  MessageWindow(MB_WARNING, Utf8ToMazText("BŁĄD DANYCH!").c_str(), fieldLine.c_str(), documentLine,
                "Eksport zostanie przerwany.", " ");
}

// The result of a record writer: true to go on.
bool Written(int result, DbTable* h, int pass) {
  if (result > 0) DataErrorBox(result, h, pass);
  if (result < 0) MessageWindow(MB_ERROR, RcQStr(MSG_APPEND_FAILED));
  return result == 0;
}

// One pass over a slot's headers and lines, both locked whole while read.
// False when the export must end (a refused lock or a failed record).
bool ReadPass(Run& r, int pass) {
  DbTable* h = Headers(pass);
  DbTable* l = Lines(pass);
  // The register's browse stands on the headers: its order and record come back.
  DbTag* shownTag = d4tag_selected(h);
  long shownRecord = d4recno(h);
  if (set_lock(l, -1) != 0 || set_lock(h, -1) != 0) {
    d4unlock(l);
    d4unlock(h);
    MessageWindow(MB_WARNING, Utf8ToMazText("Nie można zablokować dokumentów sprzedaży.").c_str(),
                  "Eksport zostanie przerwany.");
    return false;
  }
  bool ok = true;
  if (d4reccount(h) > 0) {
    w4centre(1, Utf8ToMazText("Analiza ewidencji sprzedaży.").c_str());
    w4(2, 1, Utf8ToMazText("Ilość faktur =").c_str());
    ShowCount(r.count);
    DbTag* tag = pass == 1 ? Z5SPRZ.tag[HEADERS_BY_DATE] : Z5SPRZ_2.tag[HEADERS_BY_DATE];
    d4tag_select(h, tag);
    for (d4top(h); ok && !d4eof(h); d4skip(h, 1)) {
      int kind = Int(h, "TYV");
      if (pass == 1 && kind == KIND_PF) continue;
      if (pass == 2 && !QualifiesInPass2(r, h)) continue;
      if (!InPeriod(r.c, h)) continue;
      ShowCount(++r.count);
      zeruj_sumy_stawek_jpk(r.c);
      bool oss = pass == 1 && Int(h, "STM") == SUPPLY_OSS;
      if (pass == 1) zeruj_sumy_oss_jpk(r.c);
      long rec = f4long(F(h, "REC"));
      int found = pass == 1 ? SeekSalesLinesByRek(rec) : SeekSalesLinesByRek2(rec);
      for (; found == 0 && ok && !d4eof(l) && f4long(F(l, "REK")) == rec; d4skip(l, 1)) {
        if (oss) {
          r.c->kurs = FldKurs(F(h, "KKS"));
          sumuj_pozycje_oss_jpk(r.c);
        } else if (pass == 1 && r.from2024) {
          sumuj_pozycje_sprzedazy_jpk(r.c, r.rejestr, 0, 1.0);
        } else if (pass == 1) {
          sumuj_pozycje_sprzedazy_jpk_przed_2024(r.c, r.newLayout, r.rejestr, 0, 1.0);
        } else if (r.from2024) {
          sumuj_pozycje_pomocnicza_jpk(r.c);
        } else {
          sumuj_pozycje_pomocnicza_jpk_przed_2024(r.c, r.newLayout);
        }
        ok = Written(zapisz_wiersz_jpk(pass, r.newLayout), h, pass);
      }
      if (ok) ok = Written(oss ? zapisz_fakture_oss_jpk(r.c) : zapisz_fakture_jpk(r.c, pass, r.variant), h, pass);
    }
  }
  d4unlock(l);
  d4unlock(h);
  d4tag_select(h, shownTag);
  if (shownRecord > 0 && shownRecord <= d4reccount(h)) d4go(h, shownRecord);
  return ok;
}

// The XML under a temporary name, renamed when whole; false (the temporary
// file gone) when it could not be written.
bool WriteXml(const Run& r, const std::string& file, const char* office) {
  std::string temp = file + ".TMP";
  if (!XmlOpen(temp.c_str())) return false;
  zapisz_xml_jpk_fa(r.c, r.variant, office);
  std::string tempOnDisk = EnvToDiskPath(temp.c_str());
  if (XmlClose() != 0 || PlatFileRename(tempOnDisk.c_str(), EnvToDiskPath(file.c_str()).c_str()) != PLAT_OK) {
    PlatFileDelete(tempOnDisk.c_str());
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd zapisu pliku XML!").c_str(), file.c_str());
    return false;
  }
  return true;
}

void CopyToExportDirectory(const std::string& file) {
  std::string directory = Trim(salesOptions.jpkFaDir);
  if (directory.empty()) return;
  char path[COPY_PATH_MAX + 1];
  std::string name = file.substr(file.find_last_of("\\/") == std::string::npos ? 0 : file.find_last_of("\\/") + 1);
  MergePath(path, sizeof path, MERGE_DIR | MERGE_NAME, directory.c_str(), name.c_str());
  if (!KopiujPlik(file.c_str(), path)) return;
  std::string first = "Kopia pliku \"" + file + "\"";
  std::string second = "zapisana w katalogu \"" + directory + "\".";
  MessageWindow(MB_INFO, first.c_str(), second.c_str(), " ");
}

// Steps 4 to 20 of a run whose tables are open.
void Export(Run& r) {
  przelacznik_prefiksow_xml = 1;
  std::string office = Trim(std::string(kod_urzedu_skarbowego(F(Z5PAWL.table, "TLX"), F(Z5PAWL.table, "UNAV"))).substr(0, 4));
  if (office.empty()) return;
  kontekst_jpk* c = r.c;
  int year = WorkingYear();
  c->miesiac = 1;
  set_data_str(year, 1, 1, c->data_od);
  set_data_str(year, 1, 31, c->data_do);
  if (dane_eksportu_faktur(c) != 0) return;
  if (date4month(c->data_od) != date4month(c->data_do)) c->miesiac = 0;
  int version = sprawdz_eksport_jpk(KOD_JPK_FA, year, c->miesiac, 0);
  if (version < 0) return;
  char file[NAME_SIZE + 1] = {};
  if (GetFileOutputName(file, NAME_SIZE, nazwa_pliku_jpk_fa(year, c->miesiac, version), 1) != 0) return;
  std::string fileName = Trim(file);
  std::string table = fileName.substr(0, fileName.find_last_of('.')) + ".DBF";
  if (OpenJpkWorkTable(nullptr, table.c_str(), 8) != 0) {
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd otwarcia pomocniczej bazy danych!").c_str());
    return;
  }
  r.previousWindow = ShowWaitLines(TextRef(50030), TextRef(), TextRef());
  bool ok = ReadPass(r, 1);
  if (ok && r.rejestr == 1 && Z5SPRZ_2.table && Z5SPRE_2.table) ok = ReadPass(r, 2);
  HideWaitNotice(r.previousWindow);
  if (!ok) return;
  if (r.count == 0) {
    MessageWindow(MB_INFO, RcQStr(MSG_NO_DATA));
    return;
  }
  if (date4month(c->data_od) != date4month(c->data_do)) c->miesiac = 0;
  if (!WriteXml(r, fileName, office.c_str())) return;
  zapisz_eksport_jpk(KOD_JPK_FA, year, c->miesiac, version, fileName.c_str(), c->data_od, c->data_do, nullptr);
  char saved[64];
  std::snprintf(saved, sizeof saved, "Zapisano faktur - %i ", r.count);
  MessageWindow(MB_INFO, RcQStr(MSG_DONE), saved, " ");
  CopyToExportDirectory(fileName);
}

}  // namespace

void eksport_jpk_fa(int rejestr) {
  Run r;
  r.rejestr = rejestr;
  r.variant = wariant_jpk_fa(get_cur_das(0));
  r.newLayout = r.variant >= 3;
  r.from2024 = WorkingYear() >= FIRST_YEAR_2024;
  r.c = static_cast<kontekst_jpk*>(take_mem(sizeof(kontekst_jpk)));
  if (!r.c) return;
  const std::pair<int (*)(), int> opens[] = {
      {[] { return OpenZ5USKA(0); }, MSG_OFFICES_TABLE},
      {[] { return OpenZ5DEKL(0); }, MSG_JPK_TABLE},
      {[] { return OpenZ5PAWL(); }, MSG_FIRM_TABLE},
  };
  for (const auto& [open, message] : opens) {
    if (open() != 0) {
      MessageWindow(MB_WARNING, RcQStr(message));
      CloseOpened();
      free_mem(&r.c);
      return;
    }
  }
  Export(r);
  if (JpkWork.table) d4close(JpkWork.table);
  JpkWork.table = nullptr;
  free_mem(&r.c);
  CloseOpened();
  browse_call(0, Z5SPRZ.table ? d4recno(Z5SPRZ.table) : 0);
}
