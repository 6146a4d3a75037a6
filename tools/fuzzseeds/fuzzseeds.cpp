// Writes the seed corpora of the fuzz targets from the project's own writers
// (table and index creation, the XML writer, the packer of file sets, the
// registry writer, the library's message table, the generated help files,
// the graphic renderer's PCL, the page spool's archives), plus the inputs
// that once stopped the program. The printer fonts come from
// tools/printfonts (copied into fuzz/corpus/print_font by hand). Usage:
//   fuzzseeds <corpus folder> <ZELM.IND> <ZELM.HLP>
// Run with the clock fixed, so the same sources give the same seeds.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/expr.h"
#include "db/mdx_layout.h"
#include "env/memory.h"
#include "env/messages.h"
#include "fuzz/fuzz_support.h"
#include "interchange/packed_set.h"
#include "interchange/registry.h"
#include "interchange/xml_writer.h"
#include "platform/byte_order.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "platform/resources.h"
#include "print/graphic_render.h"
#include "print/page_spool.h"
#include "print/printer.h"
#include "print/tabu_run.h"
#include "print/tabu_table.h"
#include "print/tabulogram.h"
#include "app/program_messages.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "finance/bookkeeping_exchange.h"
#include "masterdata/warehouse_documents.h"
#include "sales/sales_context.h"
#include "sales/sales_exchange.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "tables/warehouse_tables.h"
#include "ui/help.h"

namespace {

std::string g_out;
int g_failures = 0;

void Seed(const char* target, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(g_out + target);
  if (!FuzzWriteFile(g_out + target + "/" + name, bytes.data(), bytes.size())) {
    std::fprintf(stderr, "fuzzseeds: cannot write %s/%s\n", target, name.c_str());
    g_failures++;
  }
}

void Need(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzzseeds: %s failed\n", what);
  g_failures++;
}

std::string Work(const char* name) { return FuzzReadFile(FuzzWorkDir() + name); }

std::string Le16(unsigned v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }

void TableSeeds() {
  DbEngine* engine = FuzzEngine();
  const DbfFieldDef every[] = {{"NAZWA", 'C', 12, 0}, {"CENA", 'N', 10, 2}, {"ILE", 'N', 4, 0},
                               {"DATA", 'D', 8, 0},   {"OK", 'L', 1, 0},    {nullptr, 0, 0, 0}};
  DbTable* table = d4create(engine, "PLAIN", every, nullptr);
  Need(table != nullptr, "a plain table");
  if (!table) return;
  for (int i = 0; i < 6; i++) {
    d4append_start(table, 0);
    d4blank(table);
    f4assign(d4field_j(table, 1), i % 2 ? "Towar \217" : "Us\210uga");
    f4assign_double(d4field_j(table, 2), i * 3.25 - 4);
    f4assign_long(d4field_j(table, 3), i * 7);
    f4assign(d4field_j(table, 4), i == 2 ? "" : "20261210");
    f4assign(d4field_j(table, 5), i % 2 ? "T" : "N");
    Need(d4append(table) == 0, "an append");
    if (i == 4) d4delete(table);
  }
  Need(d4close(table) == 0, "closing the plain table");
  Seed("dbf", "plain.dbf", Work("PLAIN.DBF"));
  const DbfFieldDef one[] = {{"KOD", 'C', 1, 0}, {nullptr, 0, 0, 0}};
  table = d4create(engine, "EMPTY", one, nullptr);
  Need(table && d4close(table) == 0, "an empty table");
  Seed("dbf", "empty.dbf", Work("EMPTY.DBF"));

  table = FuzzCreateFixture();
  Need(table && d4close(table) == 0, "the fixture");
  std::string mdx = Work("FIX.MDX");
  Seed("mdx", "fixture.mdx", mdx);
  int n = 0;
  for (const char* expr : {"NAZWA", "ILOSC", "DATA", "KOD+UPPER(NAZWA)", ".NOT.DELETED()",
                           "DTOS(DATA-7)+STR(ILOSC,8,2)", "OK"})
    Seed("expr", "tag" + std::to_string(++n), expr);

  // Tag headers follow the index header at block 4, one per `units` of 512.
  unsigned units = GetLe16(reinterpret_cast<const unsigned char*>(mdx.data()) + MDX_H_UNITS);
  auto tagHeader = [&](int tag) { return static_cast<size_t>(MDX_FIRST_TAG_BLOCK + tag * units) * MDX_UNIT; };
  auto withExpr = [&](int tag, const char* text, int keyLength) {
    std::string bytes = mdx;
    std::string expr(text);
    expr.resize(MDX_T_EXPR_SIZE, '\0');
    size_t at = tagHeader(tag);
    bytes.replace(at + MDX_T_EXPR, expr.size(), expr);
    if (keyLength > 0) {
      unsigned group = mdx_group_len(static_cast<unsigned>(keyLength));
      unsigned blockBytes = GetLe16(reinterpret_cast<const unsigned char*>(mdx.data()) + MDX_H_BLOCK_BYTES);
      bytes.replace(at + MDX_T_KEY_LEN, 2, Le16(static_cast<unsigned>(keyLength)));
      bytes.replace(at + MDX_T_GROUP_LEN, 2, Le16(group));
      bytes.replace(at + MDX_T_KEYS_PER_BLOCK, 2, Le16((blockBytes - MDX_BLOCK_RESERVE) / group));
    }
    return bytes;
  };
  // Once stopped the program: a logical key, taken as far as the rebuild;
  // a key whose date falls before the first day (day 38 for the first
  // record's 1999-01-01), when keys are built.
  table = d4open(engine, "FIX");
  Need(table != nullptr, "reopening the fixture");
  if (!table) return;
  DbExpr* logical = expr4parse(table, "OK");
  Need(logical != nullptr, "a logical expression");
  if (logical) {
    Seed("mdx", "logical-key.mdx", withExpr(0, "OK", expr4key_len(logical)));
    u4free(logical);
  }
  Seed("mdx", "date-before-first-day.mdx", withExpr(3, "DTOS(DATA-2451142)+'ABCDE'", 0));
  Need(d4close(table) == 0, "closing the fixture");
  Seed("expr", "date-before-first-day", "DTOS(DATA-2451142)");
  Seed("expr", "year-zero", "DTOS(STOD('00000101')-1)");
  Seed("expr", "functions",
       "IIF(OK,UPPER(LEFT(NAZWA,3))+SUBSTR(KOD,2,1),TRIM(NAZWA)-LTRIM(KOD))+STR(VAL(KOD)+YEAR(DATA)*2,10,2)");
  Seed("expr", "logic", ".NOT.DELETED().AND.(ILOSC>=10.5.OR.DATA<STOD('20050101')).AND.'A'$KOD");
}

void XmlSeeds() {
  Need(XmlOpen("OUT.XML") == 1, "opening the XML file");
  XmlElement(0, XML_OPEN, XmlAttrTag("Dokument", "wersja=\"2\" kod=\"JPK\""));
  XmlElement(1, XML_OPEN, "Naglowek");
  XmlString(2, "Nazwa", "Firma \217 & <sp\242\210ka>", 0);
  XmlString(2, "Data", "2026-12-10", 0);
  XmlString(2, "Kod", "", XML_EMPTY_ELEMENT);
  XmlElement(1, 0, "Naglowek");
  for (int i = 0; i < 3; i++) {
    XmlElement(1, XML_OPEN, XmlAttrTag("Pozycja", "id=\"1\""));
    XmlString(2, "Ilosc", i ? "12" : "-3", 0);
    XmlString(2, "Kwota", "1234.56", 0);
    XmlString(2, "Tak", i % 2 ? "T" : "N", 0);
    XmlString(2, "tns:Opis", "<![CDATA[x]]>", XML_RAW);
    XmlElement(1, 0, "Pozycja");
  }
  XmlElement(1, XML_EMPTY, "Firma");
  XmlElement(0, 0, "Dokument");
  Need(XmlClose() == 0, "writing the XML file");
  Seed("xml", "document.xml", Work("OUT.XML"));
}

void ArchiveSeeds() {
  FuzzClearWorkDir();
  std::string text = "Zelsal\r\nkopia \217\r\n";
  for (int i = 0; i < 40; i++) text += "wiersz " + std::to_string(i * i) + "\r\n";
  FuzzWriteFile(FuzzWorkDir() + "OPIS.TXT", text.data(), text.size());
  DbTable* table = FuzzCreateFixture();
  Need(table && d4close(table) == 0, "the fixture");
  const PackedFileMask masks[] = {{"*.DBF", 0}, {"*.MDX", 0}, {"OPIS.TXT", 0}, {nullptr, 0}};
  Need(Compress2(masks, "SET.CP1", 0) == 1, "packing a set");
  std::string set = Work("SET.CP1");
  const PackedFileMask small[] = {{"OPIS.TXT", 0}, {nullptr, 0}};
  Need(Compress2(small, "ONE.CP1", 0) == 1, "packing one file");
  std::string one = Work("ONE.CP1");
  for (const char* target : {"cp1", "packed_set"}) {
    Seed(target, "set.cp1", set);
    Seed(target, "one.cp1", one);
  }
}

void MessageSeeds() {
  const PlatResource* library = PlatFindResource(ENV_LIBRARY_MODULE, LibraryMessagesId());
  Need(library != nullptr, "the library's message table");
  if (!library) return;
  // The table's first word and its first entries, each a number and a text.
  std::string table(reinterpret_cast<const char*>(library->data), 2);
  size_t at = 2;
  for (int entries = 0; entries < 40 && at + 2 < library->size; entries++) {
    const void* nul = std::memchr(library->data + at + 2, 0, library->size - at - 2);
    if (!nul) break;
    size_t end = static_cast<size_t>(static_cast<const unsigned char*>(nul) - library->data) + 1;
    table.append(reinterpret_cast<const char*>(library->data + at), end - at);
    at = end;
  }
  for (int kind = 0; kind < 3; kind++) Seed("messages", "kind" + std::to_string(kind + 1), std::string(1, char(kind)) + table);
}

void HelpSeeds(const char* indexPath, const char* textPath) {
  std::string index = FuzzReadFile(indexPath), text = FuzzReadFile(textPath);
  Need(!index.empty() && !text.empty() && index.size() < 65536, "reading the help files");
  if (index.empty()) return;
  for (unsigned topic : {static_cast<unsigned>(HELP_TOPIC_HELP), static_cast<unsigned>(HELP_TOPIC_CALCULATOR)})
    Seed("help", "topic" + std::to_string(topic), Le16(topic) + Le16(static_cast<unsigned>(index.size())) + index + text);
}

void RegistrySeeds() {
  RegKeyCtx key;
  RegKeyInit(&key, REG_CURRENT_USER);
  Need(RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Drives", 1) == 1, "a registry key");
  RegWriteText(&key, "D", "/mnt/d");
  RegWriteText(&key, "K", "/srv/\217k \"x\"");
  Need(RegKeyOpen(&key, "\\Software\\Ostrel\\WinZelm\\Ports", 1) == 1, "a registry key");
  RegWriteText(&key, "COM1", "/dev/ttyS0");
  RegWriteInt(&key, "Speed", 9600);
  const double rate = 23.5;
  RegWriteDouble(&key, "Rate", &rate);
  const unsigned char bytes[] = {0, 1, 0xFE, 0x7F};
  RegWriteBinary(&key, "Raw", bytes, sizeof bytes);
  RegKeyRelease(&key);
  std::string store = FuzzReadFile(FuzzRoot() + "config/zelsal/registry.txt");
  Need(!store.empty(), "writing the registry store");
  Seed("registry", "store.txt", store);
  // Once overflowed the stack: a key path of 100 000 levels.
  std::string deep = "[K";
  for (int i = 1; i < 100000; i++) deep += "\\K";
  Seed("registry", "deep-key.txt", store + deep + "] 0\n\"X\"=text:\"x\"\n");
}

// The PCL of two graphic pages drawn with a bitmap font written here, and a
// print archive of two pages stored by the page spool.
void PrintSeeds() {
  FuzzKeyWaits(false);
  Printer = PrinterDefaults();
  PrintJobState = PrintJob{};
  BuildModeList(0);
  Printer.mode = 0;
  Printer.fontNo = 9;
  std::string font;
  for (int c = 32; c < 256; c++)
    for (int row = 0; row < 32; row++) font += std::string{static_cast<char>(c * 37 + row), static_cast<char>(row % 3 ? 0 : 0xF0)};
  FuzzWriteFile(PlatProgramDir() + "he12x32.fnt", font.data(), font.size());
  FILE* spool = std::tmpfile();
  FILE* out = std::fopen((FuzzWorkDir() + "Wydruk.prn").c_str(), "w+b");
  Need(spool && out, "the graphic spool");
  if (spool && out) {
    std::fputs("Faktura VAT \217\n\nAL#!\n\f\tstrona 2\n", spool);
    PrintJobState.output = out;
    Need(RenderGraphicSpool(spool, out) == 0, "rendering graphic pages");
    PrintJobState.output = nullptr;
  }
  if (spool) std::fclose(spool);
  if (out) std::fclose(out);
  Seed("pcl_replay", "two-pages.prn",
       std::string(1, '\0') + Le16(static_cast<unsigned>(LastRenderStats.longestRowBytes)) +
           Le16(static_cast<unsigned>(LastRenderStats.mostRowsOnPage)) + Work("Wydruk.prn"));

  PageFileHeader header{};
  std::snprintf(header.title, sizeof header.title, "Rejestr sprzeda\276y");
  SetPageHeaderDate(&header);
  header.width = 40;
  header.height = 6;
  header.pageCount = 2;
  Need(open_tmp_edit_file(&header) == 0, "opening the page spool");
  for (int page = 1; page <= 2; page++) {
    std::string text(40 * 6, ' '), bold(40 * 6, '\0');
    text.replace(0, 20, "Strona " + std::to_string(page) + " \217\206 razem");
    bold.replace(40, 10, std::string(10, '\1'));
    PageEditPage out{&header, page, text.data(), bold.data(), 40, static_cast<int16_t>(page == 1 ? 6 : 3), 1, 0};
    Need(write_page_edit_file(out) == 0, "writing a page");
  }
  const PageArchiveKey key{4, 1, 0, 1, 25};
  Need(close_tmp_edit_file(&key, 0) == 0, "storing the archive");
  Seed("page_archive", "two-pages.b25", Work(PageArchiveName(&key, false).c_str()));
}

// The layout of the fixture's columns as the layout dialog saves it, one
// framed and one moved to a free line, its records' fields in a row.
void TabuSeeds() {
  FuzzClearWorkDir();
  EnvCurrent()->separatePrintSettings = 'T';
  DbTable* table = FuzzCreateFixture();
  Need(table != nullptr, "the fixture");
  if (!table) return;
  static DbField* fields[5];
  static TabuColumn columns[8];
  ResetTabuDefinition(columns, sizeof columns);
  const char* names[] = {"NAZWA", "ILOSC", "DATA", "OK", "KOD"};
  for (int j = 0; j < 5; j++) {
    fields[j] = d4field(table, names[j]);
    DefineTabuColumn(names[j], nullptr, &fields[j], j == 3 ? 0 : TABU_CHOSEN, j + 1);
  }
  columns[4].flags |= TABU_FREE_LINE;
  columns[4].row = 2;
  TabuRun = TabuRunState{};
  SetTabuSettingsName(table, nullptr);
  SaveTabuLayout(columns, "TAA", false);
  TabuRun = TabuRunState{};
  Need(open_tabu(0) == 0, "opening the layouts");
  std::string bytes;
  for (long n = 1; n <= d4reccount(Z5TABW.table); n++) {
    d4go(Z5TABW.table, n);
    for (DbField* field : {Z5TABW.czy, Z5TABW.typ, Z5TABW.rza, Z5TABW.kol, Z5TABW.wid, Z5TABW.naz})
      bytes.append(f4ptr(field), f4len(field));
  }
  close_tabu();
  d4close(table);
  Need(!bytes.empty(), "saving a layout");
  Seed("tabu_layout", "five-columns", bytes);
}

void Assign(DbTable* table, std::initializer_list<std::pair<const char*, std::string>> values) {
  d4append_start(table, 0);
  d4blank(table);
  for (const auto& [name, value] : values) f4assign(d4field(table, name), value.c_str());
  Need(d4append(table) == 0, "an issue record");
}

// Two issues to the sub-warehouse FILIA exported by the issue register; the
// exchange files' records as the warehouse import target takes them (a
// count byte before each file's records, each record without its mark).
void WarehouseSeeds() {
  FuzzClearWorkDir();
  RegisterProgramMessages();
  Environment* env = EnvCurrent();
  env->settlementYear = 2026;
  const std::string exchange = FuzzWorkDir() + "wymiana/", firm = FuzzWorkDir() + "firma/";
  std::filesystem::create_directories(exchange);
  std::filesystem::create_directories(firm);
  TransDir(EnvFromDiskPath(firm).c_str(), &env->dataPath);
  Need(ChangeDir(&env->dataPath, 0, 0) == 0, "entering the firm");
  stronaMagazynu = &STRONA_WYDAN;
  Need(OpenZ5MAWY(0) == 0 && OpenZ5MAWE(0) == 0, "opening the issues");
  if (Z5MAWY.table && Z5MAWE.table) {
    for (int rec = 1; rec <= 2; rec++) {
      const std::string n = std::to_string(rec), date = "2026030" + n;
      Assign(Z5MAWY.table, {{"NUM", n}, {"DAT", date}, {"REC", n}, {"KOO", "FILIA"}, {"NA1", "Filia \217"}});
      for (const char* code : {"T1", "T2"})
        Assign(Z5MAWE.table, {{"KOT", code}, {"NA1", code}, {"ILO", "2"}, {"CEN", "7.5"}, {"CEB", "9.23"},
                              {"REK", n}, {"NUM", n}, {"DAT", date}, {"STP", "T"}});
    }
    Need(eksport_do_katalogu(EnvFromDiskPath(exchange).c_str(), "20260301", "20260331", "FILIA") == 0,
         "exporting the issues");
  }
  d4close_all(FuzzEngine());
  std::string bytes;
  for (const char* name : {"Z5MAEX26.DBF", "Z5EMEX26.DBF", "Z5SPISEX.DBF"}) {
    DbTable* table = d4open(FuzzEngine(), (exchange + name).c_str());
    Need(table != nullptr, name);
    if (!table) continue;
    long count = std::min(d4reccount(table), 3L);
    bytes += static_cast<char>(count);
    for (long r = 1; r <= count; r++) {
      d4go(table, r);
      bytes.append(d4record(table) + 1, d4record_width(table) - 1);
    }
    d4close(table);
  }
  stronaMagazynu = nullptr;
  Seed("warehouse_import", "two-issues", bytes);
}

// The firm of the exchange seeds: working year 2026, its own directory.
std::string ExchangeFirm(const std::string& exchange) {
  FuzzClearWorkDir();
  RegisterProgramMessages();
  EnvCurrent()->settlementYear = 2026;
  const std::string firm = FuzzWorkDir() + "firma/";
  std::filesystem::create_directories(exchange);
  std::filesystem::create_directories(firm);
  Environment* env = EnvCurrent();
  TransDir(EnvFromDiskPath(firm).c_str(), &env->dataPath);
  Need(ChangeDir(&env->dataPath, 0, 0) == 0, "entering the firm");
  return firm;
}

// Two documents of December with their lines and a recipient, in the main register.
void SalesDocuments() {
  Need(OpenZ5SPRZ(0, 0, SALES_MAIN) == 0 && OpenZ5SPRE(0, 0, SALES_MAIN) == 0 && OpenZ5SPRO(0, 0, SALES_MAIN) == 0,
       "opening the sales tables");
  if (!Z5SPRZ.table || !Z5SPRE.table || !Z5SPRO.table) return;
  for (int rec = 1; rec <= 2; rec++) {
    const std::string n = std::to_string(rec), date = "2026120" + n;
    Assign(Z5SPRZ.table, {{"REC", n}, {"TYV", "1"}, {"PRE", "FV"}, {"NRV", n}, {"DAW", date}, {"DAV", date},
                          {"NA1", "Odbiorca "}, {"STM", "1"}});
    for (const char* code : {"T1", "T2"})
      Assign(Z5SPRE.table, {{"REK", n}, {"REC", n}, {"TYV", "1"}, {"KOT", code}, {"NA1", code}, {"ILO", "2"},
                            {"ZRP", "1"}, {"WNE", "15"}});
    Assign(Z5SPRO.table, {{"SPR", "1"}, {"REK", n}, {"NA1", "Odbiorca"}});
  }
}

// The export for the bookkeeping program of a firm with its catalogues, two
// documents and their cash entries: the archive as the import reads it.
void BookkeepingSeeds() {
  const std::string exchange = FuzzWorkDir() + "wymiana/";
  ExchangeFirm(exchange);
  Need(OpenZ5PAWL() == 0, "the own firm");
  if (Z5PAWL.table) {
    f4assign(d4field(Z5PAWL.table, "NA1"), "Firma ABC");
    f4assign(d4field(Z5PAWL.table, "SKN"), "ABC");
    f4assign(d4field(Z5PAWL.table, "NIP"), "526-000-12-34");
    Need(d4write(Z5PAWL.table, 1) == 0, "the own firm's record");
  }
  Need(OpenZ5KONT(0) == 0 && OpenZ5KHNT(0) == 0 && OpenZ5OPIS(0) == 0 && OpenZ5KASA(0) == 0, "the catalogues");
  if (Z5KONT.table && Z5KHNT.table && Z5OPIS.table && Z5KASA.table) {
    Assign(Z5KONT.table, {{"NUM", "100"}, {"NAZ", "Kasa"}});
    Assign(Z5KONT.table, {{"NUM", "300"}, {"NAZ", "Rozrachunki"}});
    Assign(Z5KHNT.table, {{"KOD", "ABC"}, {"NIP", "111-111-11-11"}});
    Assign(Z5OPIS.table, {{"KOD", "SP"}, {"OP1", "Sprzeda¾"}});
    Assign(Z5KASA.table, {{"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "30"}});
  }
  SalesDocuments();
  d4close_all(FuzzEngine());
  EksportKsiegowy e{};
  std::strcpy(e.od, "20261201");
  std::strcpy(e.do_, "20261231");
  std::snprintf(e.katalog, sizeof e.katalog, "%s", EnvFromDiskPath(exchange).c_str());
  std::strcpy(e.plik, "ZELM_2026_1.EXP");
  Need(FuzzStartScreen(), "the screen");
  FuzzScreenKeys("x");
  try {
    Need(EksportDlaKsiegowosci(&e) == 0, "the export for the bookkeeping program");
  } catch (const FuzzKeysEnded&) {
    Need(false, "the export's keys");
  }
  d4close_all(FuzzEngine());
  Seed("bookkeeping_import", "export.exp", FuzzReadFile(exchange + "ZELM_2026_1.EXP"));
}

// The sales exchange of two documents; the exchange tables' records as the
// sales import target takes them (a count byte before each table's records,
// each record without its mark).
void SalesExchangeSeeds() {
  const std::string exchange = FuzzWorkDir() + "wymiana/";
  ExchangeFirm(exchange);
  SalesDocuments();
  kontekst_sprzedazy context{};
  context.rejestr = 1;
  salesContext = &context;
  FuzzScreenKeys("{ENTER}");
  try {
    Need(EksportujSprzedaz(WG_DATY_WYSTAWIENIA, "20261201", "20261231", EnvFromDiskPath(exchange).c_str()) == 2,
         "the sales export");
  } catch (const FuzzKeysEnded&) {
    Need(false, "the sales export's keys");
  }
  salesContext = nullptr;
  d4close_all(FuzzEngine());
  std::string bytes;
  for (const char* name : {"Z5SPEX26.DBF", "Z5ESEX26.DBF", "Z5SOEX26.DBF"}) {
    DbTable* table = d4open(FuzzEngine(), (exchange + name).c_str());
    Need(table != nullptr, name);
    if (!table) continue;
    long count = std::min(d4reccount(table), 3L);
    bytes += static_cast<char>(count);
    for (long r = 1; r <= count; r++) {
      d4go(table, r);
      bytes.append(d4record(table) + 1, d4record_width(table) - 1);
    }
    d4close(table);
  }
  Seed("sales_import", "two-documents", bytes);
}

void InstallerSeeds() {
  Seed("installer_script", "program.dat",
       "KATALOG = \"C:\\Korbel\"\r\nLINK=Zelsal\r\nPLIK=ZELSAL.LZH\r\nPOLOZENIE=PROGRAM\r\n"
       "URUCHOM=PROGRAM\\ZELSAL\r\nREADME=Czytaj.txt\r\nBACKUP=T\r\n");
  Seed("installer_script", "two-archives.dat",
       "PLIK=ZELSAL.LZH\nPOLOZENIE=PROGRAM\nPLIK=DANE.LZH\nPOLOZENIE=DANE\n# uwaga = bez znaczenia\n");
}

void ErrorLogSeeds() {
  Seed("error_log_file", "text.txt", "ERRCODE(1000)\r\nZbi\242r: Z5SPRZ25.DBF\r\n\x1A");
  Seed("error_log_file", "table.dbf", Work("FIX.DBF"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: fuzzseeds <corpus folder> <ZELM.IND> <ZELM.HLP>\n");
    return 2;
  }
  PlatDateTime at{2026, 12, 10, 10, 0, 0, 0, 4};
  PlatClockFix(&at);
  g_out = std::filesystem::absolute(argv[1]).string() + "/";
  std::string index = std::filesystem::absolute(argv[2]).string(), text = std::filesystem::absolute(argv[3]).string();
  FuzzSetup();   // enters a directory of its own
  TableSeeds();
  XmlSeeds();
  ArchiveSeeds();
  MessageSeeds();
  HelpSeeds(index.c_str(), text.c_str());
  RegistrySeeds();
  ErrorLogSeeds();
  PrintSeeds();
  InstallerSeeds();
  TabuSeeds();
  WarehouseSeeds();
  BookkeepingSeeds();
  SalesExchangeSeeds();
  return g_failures == 0 ? 0 : 1;
}
