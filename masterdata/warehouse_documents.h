// The warehouse receipts and issues: one code over two table sets (receipts
// "Z5MAPR" with their lines "Z5MAPE", issues "Z5MAWY" with "Z5MAWE"). The
// registers of document headers, the line editor of one document with the
// rules that keep the stock in step with the lines, and the pickers of the
// contractor and goods code fields.
// przyjecia_magazynowe and wydania_magazynowe are declared for the frame in
// app/module_entries.h.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tables/catalogue.h"

struct DbTable;
struct Get4;
struct TextCtrl;

struct StronaMagazynu {
  int receipt;             // 1 receipts: goods come into the stock; 0 issues
  TableHandles* headers;
  TableHandles* lines;
  int rightsBase;          // of the register's menu: 7300 receipts, 7100 issues
  int lineRightsBase;      // of the line editor: 7400 receipts, 7200 issues
};

// The side of the running register (NULL outside one), and the two sides.
extern const StronaMagazynu* stronaMagazynu;
extern const StronaMagazynu STRONA_PRZYJEC, STRONA_WYDAN;

// The text without the blanks around it.
std::string bez_odstepow(const char* text);

// Tags of the headers and lines tables, in their catalogue order.
constexpr int WH_HEADERS_BY_NUMBER = 0, WH_HEADERS_BY_DATE = 1, WH_HEADERS_BY_NAME = 2, WH_HEADERS_BY_REC = 3;
constexpr int WH_LINES_BY_NUMBER = 0, WH_LINES_BY_DATE = 1, WH_LINES_BY_NAME = 2, WH_LINES_BY_HEADER = 3;

// The panel of the current line under the lists of lines: its resource,
// rows, and fields.
constexpr int16_t RES_LINE_PANEL = 272;
constexpr int PANEL_LINES = 7;
void definiuj_panel_pozycji(TextCtrl* panel, int size);

// The register of all lines of the year (" Ewidencja " of the registers).
int ewidencja_pozycji_magazynowych();

// A goods code against a filter pattern: '*' ends the comparison with a
// match, '?' takes any one character, letter case is ignored.
bool kod_pasuje_do_wzorca(const char* code, const char* pattern);

// The line editor of the document that is the current record of the side's
// headers table: net entry (TRY 1) or gross, or only to look at. The
// browse's result; -1 when it cannot be set up.
int pozycje_dokumentu_magazynowego(int net, int view);

// The current line recomputed from the entry price (rounded first by the
// warehouse price rounding and stored back) and the VAT rate: net entry
// from CEN, gross entry from CEB. A value of 100000000 or more is refused
// with message 20160 and nothing is stored: -1; else 0.
int przelicz_pozycje_magazynowa(int net);

// Stock of one line through aktualizuj_ilosc: `apply` puts a receipt's
// quantity into the stock or takes an issue's out, else it takes an
// applied line back. aktualizuj_ilosc's result; *reached is set only when
// the goods record was written.
int stan_pozycji_magazynowej(const char* code, const char* name, double quantity, int apply, int* reached);

// Deletes every line of the header REC `record`, giving the stock of the
// applied ones back, under the lines table's lock. 0 when every line is
// gone; 1 when a give-back was refused (the remaining lines stay); -1 on a
// lock or seek error.
int usun_pozycje_dokumentu(long record);

// Sums the lines of the header REC `record` into *net, *vat, *gross, copying
// the header's NUM, DAT and REK into each when `carry` is set. 0, or -1 on
// an engine error. The lines table is locked by the caller.
int sumuj_pozycje_magazynowe(long record, int carry, double* net, double* vat, double* gross);

// A sums window of 22 rows of 78 characters under `title`; F2 prints it
// under the print code "SUM" after the line `heading`, on `table`'s
// settings.
void okno_sum_magazynu(DbTable* table, const char* title, const std::string& heading,
                       const std::vector<std::string>& rows);

// The goods turnover of the lines that pass the line register's filter:
// every goods record with the quantity and values summed. 0, or -1.
int obroty_towarow(DbTable* lines, int receipts);
// The lines a goods turnover sums: those `filter` passes, their net value
// in the field `net`; the browse titled `title`.
struct ZrodloObrotow {
  DbTable* table;
  int (*filter)(intptr_t user);
  const char* net;
  const char* title;
};
// The goods turnover of any such lines (KOT, ILO, WAB and the net field),
// with the lock of the lines and of the catalogue while summing. 0, or -1.
int obroty_towarow(const ZrodloObrotow& source);

// Prints the current document of the headers table: kind 1 an issue, 2 a
// receipt. 0, or -1 when the printing failed.
int drukuj_dokument_magazynowy(int kind, DbTable* headers);

// " Export " of the issue register and " Import " of the receipt register:
// they ask the period, the recipient and the directory themselves; 0.
int eksport_magazynu();
int import_magazynu();
// Their work on a directory (its text ending with a backslash): the issues
// of the recipient dated `from` to `to` ("CCYYMMDD") into the three exchange
// files made anew; the exchange files read in as receipts. 0 done, 1
// nothing to copy, -1 failed.
int eksport_do_katalogu(const char* directory, const char* from, const char* to, const char* recipient);
int import_z_katalogu(const char* directory);

// Pickers of the code fields. Modes: contractors 1 a document header, 7 a
// filter field; goods 2 a receipt line, 1 an issue line, 5 a filter field.
int kontrahent_magazynu_f4_lista(Get4* get, char* codeBuffer, int32_t mode);
int valid_kontrahent_magazynu(Get4* get);
int towar_f4_lista(Get4* get, char* codeBuffer, int32_t mode);
int valid_towar_pozycji(Get4* get);
// The code the goods field of a modified line starts with: kept unless changed.
void ustaw_ostatni_kod_towaru(const char* code);
// Where the validators in mode 7 and 5 write the name they found (NULL:
// nowhere), its width, and whether a new document is being entered (the
// contractor's person is then copied).
extern char* nazwa_z_walidacji;
extern int szerokosc_nazwy_z_walidacji;
extern int nowy_dokument_magazynowy;
// 1 while the header's contractor code is empty, 1 while the line's goods
// code is empty: the name and address fields are then typed by hand.
extern int pusty_kontrahent_magazynu;
extern int pusty_towar_pozycji;
// The line being modified (its code was accepted before) and the name of
// the VAT code the goods gave, for the line form.
extern int modyfikacja_pozycji_magazynowej;
extern char tekst_stawki_pozycji[21];
// That name from the current line's VAT code.
void ustaw_tekst_stawki_pozycji();
