// The road the JPK_FA and JPK_FAKT exports share: the tables they open, the
// period, version and file name, the work table, the reading under
// whole-table locks with its progress and data-error box, the XML written
// whole under a temporary name, the closing box; and the fields of invoice
// and row records that both exports fill alike.
#pragma once
#include <initializer_list>
#include <string>

#include "jpk/jpk_context.h"

struct DbTable;
struct DbField;
struct DbTag;
struct TableHandles;

// One run of an export.
struct JpkRun {
  kontekst_jpk* c = nullptr;
  int rejestr = 1;
  int variant = 1;
  bool newLayout = false;
  bool from2024 = false;
  int count = 0;
};

// What sets one export apart.
struct JpkExportKind {
  // The kind code of the register of exported files: its version check,
  // its entry and the copy to the export directory; 0 for none of them.
  int registerCode;
  bool receipts;   // the XML of invoices issued to receipts
  char* (*defaultName)(int rok, int miesiac, int wersja);
  bool (*read)(JpkRun& r);   // the passes over the documents; false ends the export
  TableHandles* browsed;     // the browse redisplayed at the end
};

// The whole menu item, from the variant of the working date to the browse
// redisplayed.
void RunJpkExport(int rejestr, const JpkExportKind& kind);

// The default file name "JPK_FA..." or "JPK_FAKT..." of the own firm (Z5PAWL
// open); the name part is cut to 33, 36, 38 or 41 characters plus `longer`.
char* JpkDefaultName(const char* stem, int longer, int rok, int miesiac, int wersja);

// Reading.
// Locks the tables whole in their order; on a refusal none stays locked and
// the box names `what` (UTF-8).
bool JpkLockWhole(std::initializer_list<DbTable*> tables, const char* what);
void JpkUnlock(std::initializer_list<DbTable*> tables);
// Line 1 of the message window shows the title (UTF-8), line 2 the count.
void JpkShowReading(const char* title, int count);
void JpkShowCount(int count);
bool JpkInPeriod(const kontekst_jpk* c, DbField* date);
// The order and record of a browsed table, given back after the reading.
struct JpkKeptPlace {
  DbTable* table;
  DbTag* tag;
  long record;
};
JpkKeptPlace JpkKeep(DbTable* table);
void JpkRestore(const JpkKeptPlace& place);
// The result of a record writer: true to go on; a positive one shows the
// data-error box naming the field and the document (`document` a UTF-8
// format of its number and date), a negative one message 252.
bool JpkWritten(int result, const char* document, const std::string& number, const char* date);
// The data-error box with `problem` as its second line.
void JpkDataErrorBox(const std::string& problem, const char* document, const std::string& number, const char* date);

// Records of the work table.
std::string JpkTrim(std::string s);
std::string JpkText(DbTable* table, const char* name);
// TYP := `typ` in a blank record being appended.
void JpkStartRecord(char typ);
void JpkPut(const char* name, const std::string& text);
void JpkPutNumber(const char* name, double value);
void JpkPutRounded(const char* name, double value);
// 0 appends the record started; otherwise it is dropped and `result` given back.
int JpkAppend(int result);
// The own NIP without a country prefix, at most ten characters.
std::string JpkSellerNip();
// NAB, ADR (after `country` when not empty) and NIP of the buyer's NA1,
// NA2, KOP, MIA, ULI and NIP; with `euPrefix` a foreign prefix of the NIP
// goes to P5A with P4A "PL".
void JpkPutBuyer(DbTable* buyer, const std::string& country, bool euPrefix);
// K10 to K22, K31 and (variants 2-4) RN1 to RN3 rounded, BRU, P15, NET and VNA.
void JpkPutRateSums(const kontekst_jpk* c, int wariant);
// P16 by the cash method, P18 by the sums, P17, P19A, P19B, P19C, P20 "false".
void JpkPutFlags(const kontekst_jpk* c);
const char* JpkTrueFalse(bool value);
// P07 of a line: NA1 and NA2 joined, a blank before each of NA3 to NA6.
std::string JpkLineNames(DbTable* lines);
// P12 of the row being appended by the rate code ("oo" for codes 3, 5, 6 and
// 13 unless `reverse` is 'N'); a code without a rate shows the rate-error
// box naming the document and stores two blanks.
void JpkPutRate(int code, char reverse, const std::string& number);
