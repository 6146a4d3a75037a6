#include "jpk/jpk_export_road.h"

#include <cstdio>
#include <cstring>

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
#include "jpk/jpk_fa_export.h"
#include "jpk/jpk_fa_xml.h"
#include "jpk/xml_pieces.h"
#include "platform/files.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/vat_tables.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/message_box.h"
#include "ui/name_dialogs.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_FIRM_TABLE = 20012, MSG_JPK_TABLE = 20013, MSG_OFFICES_TABLE = 20014, MSG_NO_DATA = 20027,
              MSG_DONE = 20080, MSG_APPEND_FAILED = 252;
constexpr int FIRST_YEAR_2024 = 2024;
constexpr int NAME_SIZE = 61;
constexpr int COPY_PATH_MAX = 260;

DbField* F(DbTable* table, const char* name) { return d4field(table, name); }
DbTable* Work() { return JpkWork.table; }
DbField* W(const char* name) { return d4field(JpkWork.table, name); }

std::string Upper(std::string s) {
  c4upper(s.data());
  return s;
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

void CloseOpened() {
  for (TableHandles* t : {&Z5USKA, &Z5DEKL, &Z5PAWL}) {
    if (t->table) d4close(t->table);
    t->table = nullptr;
  }
}

// The XML under a temporary name, renamed when whole; false (the temporary
// file gone) when it could not be written.
bool WriteXml(const JpkRun& r, const JpkExportKind& kind, const std::string& file, const char* office) {
  std::string temp = file + ".TMP";
  if (!XmlOpen(temp.c_str())) {
    // The writer has shown why; the receipts' export adds its own box.
    if (kind.receipts) MessageWindow(MB_ERROR, Utf8ToMazText("Błąd otwarcia pliku XML!.").c_str());
    return false;
  }
  zapisz_xml_jpk_fa(r.c, r.variant, office, kind.receipts);
  std::string tempOnDisk = EnvToDiskPath(temp.c_str());
  if (XmlClose() != 0 || PlatFileRename(tempOnDisk.c_str(), EnvToDiskPath(file.c_str()).c_str()) != PLAT_OK) {
    PlatFileDelete(tempOnDisk.c_str());
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd zapisu pliku XML!").c_str(), file.c_str());
    return false;
  }
  return true;
}

void CopyToExportDirectory(const std::string& file) {
  std::string directory = JpkTrim(salesOptions.jpkFaDir);
  if (directory.empty()) return;
  char path[COPY_PATH_MAX + 1];
  std::string name = file.substr(file.find_last_of("\\/") == std::string::npos ? 0 : file.find_last_of("\\/") + 1);
  MergePath(path, sizeof path, MERGE_DIR | MERGE_NAME, directory.c_str(), name.c_str());
  if (!KopiujPlik(file.c_str(), path)) return;
  std::string first = "Kopia pliku \"" + file + "\"";
  std::string second = "zapisana w katalogu \"" + directory + "\".";
  MessageWindow(MB_INFO, first.c_str(), second.c_str(), " ");
}

// From the office code to the closing box, over open tables.
void Export(JpkRun& r, const JpkExportKind& kind) {
  przelacznik_prefiksow_xml = 1;
  std::string office = JpkTrim(std::string(kod_urzedu_skarbowego(F(Z5PAWL.table, "TLX"), F(Z5PAWL.table, "UNAV"))).substr(0, 4));
  if (office.empty()) return;
  kontekst_jpk* c = r.c;
  int year = WorkingYear();
  c->miesiac = 1;
  set_data_str(year, 1, 1, c->data_od);
  set_data_str(year, 1, 31, c->data_do);
  if (dane_eksportu_faktur(c) != 0) return;
  if (date4month(c->data_od) != date4month(c->data_do)) c->miesiac = 0;
  int version = kind.registerCode ? sprawdz_eksport_jpk(kind.registerCode, year, c->miesiac, 0) : 1;
  if (version < 0) return;
  char file[NAME_SIZE + 1] = {};
  if (GetFileOutputName(file, NAME_SIZE, kind.defaultName(year, c->miesiac, version), 1) != 0) return;
  std::string fileName = JpkTrim(file);
  std::string table = fileName.substr(0, fileName.find_last_of('.')) + ".DBF";
  if (OpenJpkWorkTable(nullptr, table.c_str(), 8) != 0) {
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd otwarcia pomocniczej bazy danych!").c_str());
    return;
  }
  int previousWindow = ShowWaitLines(TextRef(50030), TextRef(), TextRef());
  bool ok = kind.read(r);
  HideWaitNotice(previousWindow);
  if (!ok) return;
  if (r.count == 0) {
    MessageWindow(MB_INFO, RcQStr(MSG_NO_DATA));
    return;
  }
  if (date4month(c->data_od) != date4month(c->data_do)) c->miesiac = 0;
  if (!WriteXml(r, kind, fileName, office.c_str())) return;
  if (kind.registerCode)
    zapisz_eksport_jpk(kind.registerCode, year, c->miesiac, version, fileName.c_str(), c->data_od, c->data_do, nullptr);
  char saved[64];
  std::snprintf(saved, sizeof saved, "Zapisano faktur - %i ", r.count);
  MessageWindow(MB_INFO, RcQStr(MSG_DONE), saved, " ");
  if (kind.registerCode) CopyToExportDirectory(fileName);
}

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

void RunJpkExport(int rejestr, const JpkExportKind& kind) {
  JpkRun r;
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
    if (message == MSG_JPK_TABLE && !kind.registerCode) continue;
    if (open() != 0) {
      MessageWindow(MB_WARNING, RcQStr(message));
      CloseOpened();
      free_mem(&r.c);
      return;
    }
  }
  Export(r, kind);
  if (JpkWork.table) d4close(JpkWork.table);
  JpkWork.table = nullptr;
  free_mem(&r.c);
  CloseOpened();
  browse_call(0, kind.browsed->table ? d4recno(kind.browsed->table) : 0);
}

char* JpkDefaultName(const char* stem, int longer, int rok, int miesiac, int wersja) {
  DbTable* firm = Z5PAWL.table;
  std::string name = JpkText(firm, "SKN");
  if (name.empty())
    name = f4char(F(firm, "FIZF")) == 'T' ? JpkTrim(TrimFldsToQStr_(F(firm, "NAZF"), F(firm, "IM1F")))
                                          : JpkText(firm, "NA1");
  bool formatted = mainOptions.jpkFileNames == 'T';
  if (formatted) oczysc_nazwe_pliku_jpk(name.data());
  auto part = [&](size_t most) { return name.substr(0, most + static_cast<size_t>(longer)); };
  char text[160];
  if (formatted && miesiac)
    std::snprintf(text, sizeof text, "%s_%i-%02i_%02i_%s.XML", stem, rok, miesiac, wersja, part(33).c_str());
  else if (formatted)
    std::snprintf(text, sizeof text, "%s_%i_%02i_%s.XML", stem, rok, wersja, part(36).c_str());
  else if (miesiac)
    std::snprintf(text, sizeof text, "%s %i-%02i(%02i) %s.XML", stem, rok, miesiac, wersja, part(38).c_str());
  else
    std::snprintf(text, sizeof text, "%s %i(%02i) %s.XML", stem, rok, wersja, part(41).c_str());
  return QuickStr(text, -1, 0);
}

bool JpkLockWhole(std::initializer_list<DbTable*> tables, const char* what) {
  for (DbTable* t : tables) {
    if (set_lock(t, -1) == 0) continue;
    JpkUnlock(tables);
    MessageWindow(MB_WARNING, Utf8ToMazText(what).c_str(), "Eksport zostanie przerwany.");
    return false;
  }
  return true;
}

void JpkUnlock(std::initializer_list<DbTable*> tables) {
  for (DbTable* t : tables) d4unlock(t);
}

void JpkShowCount(int count) {
  char text[16];
  std::snprintf(text, sizeof text, "%5i", count);
  w4(2, 16, text);
}

void JpkShowReading(const char* title, int count) {
  w4centre(1, Utf8ToMazText(title).c_str());
  w4(2, 1, Utf8ToMazText("Ilość faktur =").c_str());
  JpkShowCount(count);
}

bool JpkInPeriod(const kontekst_jpk* c, DbField* date) {
  std::string day(f4ptr(date), 8);
  return day >= std::string(c->data_od, 8) && day <= std::string(c->data_do, 8);
}

JpkKeptPlace JpkKeep(DbTable* table) { return {table, d4tag_selected(table), d4recno(table)}; }

void JpkRestore(const JpkKeptPlace& place) {
  d4tag_select(place.table, place.tag);
  if (place.record > 0 && place.record <= d4reccount(place.table)) d4go(place.table, place.record);
}

void JpkDataErrorBox(const std::string& problem, const char* document, const std::string& number, const char* date) {
  char documentLine[160];
  std::snprintf(documentLine, sizeof documentLine, Utf8ToMazText(document).c_str(), number.c_str(), date);
  MessageWindow(MB_WARNING, Utf8ToMazText("BŁĄD DANYCH!").c_str(), problem.c_str(), documentLine,
                "Eksport zostanie przerwany.", " ");
}

bool JpkWritten(int result, const char* document, const std::string& number, const char* date) {
  if (result > 0)
    JpkDataErrorBox("Puste pole \"" + std::string(nazwa_pustego_pola(result)) + "\"", document, number, date);
  if (result < 0) MessageWindow(MB_ERROR, RcQStr(MSG_APPEND_FAILED));
  return result == 0;
}

std::string JpkTrim(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

std::string JpkText(DbTable* table, const char* name) { return JpkTrim(FldQStr(F(table, name), 0)); }

void JpkStartRecord(char typ) {
  d4append_start(Work(), 0);
  d4blank(Work());
  f4assign_char(W("TYP"), typ);
}

void JpkPut(const char* name, const std::string& text) { ToFieldCopyMaxString(W(name), text.c_str()); }
void JpkPutNumber(const char* name, double value) { f4assign_double(W(name), value); }
void JpkPutRounded(const char* name, double value) { f4assign_double(W(name), ROUND(value, 2)); }

int JpkAppend(int result) {
  if (result != 0) {
    d4changed(Work(), 0);
    return result;
  }
  return d4append(Work()) == 0 ? 0 : -1;
}

std::string JpkSellerNip() {
  std::string nip = NipFldQStr(d4field(Z5PAWL.table, "NIP"));
  if (CountryPrefix(nip)) nip = nip.substr(2, 10);
  return nip;
}

void JpkPutBuyer(DbTable* buyer, const std::string& country, bool euPrefix) {
  JpkPut("NAB", OrBrak(JpkTrim(TrimFldsToQStr_(F(buyer, "NA1"), F(buyer, "NA2")))));
  JpkPut("ADR", OrBrak(Joined({country, JpkText(buyer, "KOP"), JpkText(buyer, "MIA"), JpkText(buyer, "ULI")})));
  std::string nip = NipFldQStr(F(buyer, "NIP"));
  std::string first4 = Upper(JpkTrim(nip.substr(0, 4)));
  if (first4 != "BRAK" && CountryPrefix(nip) && euPrefix) {
    JpkPut("P4A", "PL");
    JpkPut("P5A", nip.substr(0, 2));
    nip = nip.substr(2, 20);
  }
  JpkPut("NIP", OrBrak(nip));
}

void JpkPutRateSums(const kontekst_jpk* c, int wariant) {
  const std::pair<const char*, double> sums[] = {
      {"K10", c->suma_k10}, {"K11", c->suma_k11}, {"K12", c->suma_k12}, {"K13", c->suma_k13},
      {"K14", c->suma_k14}, {"K15", c->suma_k15}, {"K16", c->suma_k16}, {"K19", c->suma_k19},
      {"K20", c->suma_k20}, {"K21", c->suma_k21}, {"K22", c->suma_k22}, {"K31", c->suma_k31}};
  for (const auto& [name, value] : sums) JpkPutRounded(name, value);
  bool variant1 = wariant == 1;
  JpkPutRounded("K17", c->suma_k17 + (variant1 ? c->suma_rn1 : 0));
  JpkPutRounded("K18", c->suma_k18 + (variant1 ? c->suma_rn2 : 0));
  if (wariant >= 2) {
    JpkPutRounded("RN1", c->suma_rn1 + c->suma_k31);
    JpkPutRounded("RN2", c->suma_rn2);
    JpkPutRounded("RN3", c->suma_k11);
  }
  JpkPutNumber("BRU", c->suma_bru);
  JpkPutNumber("P15", c->suma_bru);
  JpkPutNumber("NET", c->suma_net);
  JpkPutNumber("VNA", f4double(W("K16")) + f4double(W("K18")) + f4double(W("K20")));
}

const char* JpkTrueFalse(bool value) { return value ? "true" : "false"; }

void JpkPutFlags(const kontekst_jpk* c) {
  JpkPut("P16", JpkTrueFalse(salesOptions.cashVat == 'T'));
  for (const char* name : {"P17", "P19A", "P19B", "P19C", "P20"}) JpkPut(name, "false");
  JpkPut("P18", JpkTrueFalse(c->suma_k31 > 0 || c->suma_k12 > 0));
}

std::string JpkLineNames(DbTable* lines) {
  std::string names = JpkText(lines, "NA1") + JpkText(lines, "NA2");
  for (const char* name : {"NA3", "NA4", "NA5", "NA6"})
    if (!JpkText(lines, name).empty()) names += " " + JpkText(lines, name);
  return names;
}

void JpkPutRate(int code, char reverse, const std::string& number) {
  const char* text = RateText(code, reverse);
  if (!text) {
    char message[96];
    std::snprintf(message, sizeof message, Utf8ToMazText("Błąd stawki VAT dokum. nr %s.").c_str(), number.c_str());
    MessageWindow(MB_ERROR, message);
    text = "  ";
  }
  JpkPut("P12", text);
}
