// The per-report print settings record of Z5TABW: key WER (report code),
// BAZ (settings name or table alias), POL "PARAMETR". RE1 and RE3 pack
// digits and binary bytes at fixed positions.
#include <cstring>
#include <string>

#include "db/db_engine.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/session/environment.h"
#include "env/numbers.h"
#include "platform/byte_order.h"
#include "print/printer.h"
#include "print/tabu_table.h"
#include "print/tabulogram.h"

namespace {

constexpr int kReadMessage = 50089;
constexpr int kWriteMessage = 50090;
constexpr int kPackedWidth = 20;

std::string Padded(const char* text, int width) {
  std::string s(text ? text : "");
  s.resize(width, ' ');
  for (char& c : s)
    if (c == 0) c = ' ';
  return s;
}

std::string SettingsKey(DbTable* table, const char* reportCode) {
  // A running tabulogram's settings name, else the table's alias names the
  // record; blanks without a table.
  const char* name = TabuSettingsName()[0] ? TabuSettingsName() : table ? d4alias(table) : "";
  return Padded(reportCode, TABU_WER_LEN) + Padded(name, TABU_BAZ_LEN) + Padded("PARAMETR", TABU_POL_LEN);
}

int Digit(const char* p) { return c4atoi(p, 1); }
void PutDigit(char* p, long value) { c4ltoa(value, p, 1); }

void ReadRecord() {
  const unsigned char* re1 = reinterpret_cast<const unsigned char*>(f4ptr(Z5TABW.re1));
  const char* r1 = reinterpret_cast<const char*>(re1);
  Printer.orientation = Digit(r1 + 0);
  Printer.pclTypeface = Digit(r1 + 3);
  Printer.output = Digit(r1 + 5);
  Printer.leftMarginMm = static_cast<int16_t>(GetLe16(re1 + 6));
  Printer.topMarginMm = static_cast<int16_t>(GetLe16(re1 + 8));
  Printer.codePage = Digit(r1 + 11);
  Printer.bold = Digit(r1 + 12);
  Printer.printMethod = Digit(r1 + 13);
  Printer.paper = Digit(r1 + 14);
  Printer.fontNo = c4atoi(r1 + 16, 2);
  Printer.option70 = Digit(r1 + 19);
  Printer.printerHash = static_cast<uint32_t>(re1[2]) | static_cast<uint32_t>(re1[4]) << 8 |
                        static_cast<uint32_t>(re1[10]) << 16 | static_cast<uint32_t>(re1[18]) << 24;
  Printer.mode = static_cast<int32_t>(f4long(Z5TABW.re2));
  const char* re3 = f4ptr(Z5TABW.re3);
  Printer.family = Digit(re3 + 0);
  Printer.formType = static_cast<char>(Digit(re3 + 1));
  Printer.headers = Digit(re3 + 2);
  Printer.summaries = Digit(re3 + 3);
  Printer.copies = static_cast<int32_t>(f4long(Z5TABW.ilk));
  Printer.itemCount = static_cast<int32_t>(f4long(Z5TABW.ilp));
  Printer.underlineStep = static_cast<int32_t>(f4long(Z5TABW.pod));
  Printer.leftMargin = static_cast<int32_t>(f4long(Z5TABW.lma));
  Printer.topMargin = static_cast<int32_t>(f4long(Z5TABW.gma));
  Printer.fromPage = static_cast<int32_t>(f4long(Z5TABW.sod));
  Printer.toPage = static_cast<int32_t>(f4long(Z5TABW.sdo));
  Printer.language = static_cast<int32_t>(f4long(Z5TABW.czy));
  char amounts = f4ptr(Z5TABW.typ)[0];
  Printer.amounts = amounts == ' ' || amounts == 0 ? 'P' : amounts;
}

void WriteRecord() {
  unsigned char re1[kPackedWidth];
  std::memset(re1, ' ', sizeof re1);
  char* r1 = reinterpret_cast<char*>(re1);
  PutDigit(r1 + 0, Printer.orientation);
  re1[2] = static_cast<unsigned char>(Printer.printerHash);
  PutDigit(r1 + 3, Printer.pclTypeface);
  re1[4] = static_cast<unsigned char>(Printer.printerHash >> 8);
  PutDigit(r1 + 5, Printer.output);
  PutLe16(re1 + 6, static_cast<uint16_t>(Printer.leftMarginMm));
  PutLe16(re1 + 8, static_cast<uint16_t>(Printer.topMarginMm));
  re1[10] = static_cast<unsigned char>(Printer.printerHash >> 16);
  PutDigit(r1 + 11, Printer.codePage);
  PutDigit(r1 + 12, Printer.bold);
  PutDigit(r1 + 13, Printer.printMethod);
  PutDigit(r1 + 14, Printer.paper);
  c4ltoa(Printer.fontNo, r1 + 16, 2);
  re1[18] = static_cast<unsigned char>(Printer.printerHash >> 24);
  PutDigit(r1 + 19, Printer.option70);
  // Binary bytes: written as they are, never trimmed or converted.
  std::memcpy(f4assign_ptr(Z5TABW.re1), re1, sizeof re1);
  f4assign_long(Z5TABW.re2, Printer.mode);
  char re3[kPackedWidth];
  std::memset(re3, ' ', sizeof re3);
  PutDigit(re3 + 0, Printer.family);
  PutDigit(re3 + 1, Printer.formType);
  PutDigit(re3 + 2, Printer.headers);
  PutDigit(re3 + 3, Printer.summaries);
  f4assign_n(Z5TABW.re3, re3, sizeof re3);
  f4assign_long(Z5TABW.ilk, Printer.copies);
  f4assign_long(Z5TABW.ilp, Printer.itemCount);
  f4assign_long(Z5TABW.pod, Printer.underlineStep);
  f4assign_long(Z5TABW.lma, Printer.leftMargin);
  f4assign_long(Z5TABW.gma, Printer.topMargin);
  f4assign_long(Z5TABW.sod, Printer.fromPage);
  f4assign_long(Z5TABW.sdo, Printer.toPage);
  f4assign_long(Z5TABW.czy, Printer.language);
  f4assign_char(Z5TABW.typ, Printer.amounts);
}

// The "Czcionka" menu offers fonts 2, 10 and 11, and shows any other as 9.
int MenuFont(int fontNo) { return fontNo == 2 || fontNo == 10 || fontNo == 11 ? fontNo : 9; }

void SetDefaults() {
  Printer.printerHash = 0;
  Printer.leftMarginMm = Printer.topMarginMm = 0;
  Printer.family = PRN_HP_LASER;
  Printer.openOutput = 1;
  Printer.resolution = 1;
  Printer.orientation = 1;
  Printer.paper = Printer.printMethod = Printer.codePage = Printer.rasterOption = 0;
  Printer.economode = Printer.option70 = 0;
  Printer.leftMargin = Printer.topMargin = Printer.grOffsetX = Printer.grOffsetY = 0;
  Printer.pclTypeface = 1;
  Printer.headers = Printer.summaries = Printer.language = 0;
  Printer.amounts = 'P';
  Printer.copies = Printer.itemCount = 0;
  Printer.underlineStep = 1;
  Printer.fromPage = 1;
  Printer.toPage = 0;
  Printer.mode = Printer.fontNo = 0;
  Printer.formType = 0;
}

}  // namespace

void ClampPrinterSettings() {
  if (Printer.family >= 10 || Printer.family < 0) Printer.family = 0;
  if (Printer.paper >= 4 || Printer.paper < 0) Printer.paper = 0;
  int width, height;
  PaperSize(Printer.paper, &width, &height, &Printer.widePaper);
  if (Printer.orientation != 1 && Printer.orientation != 2) Printer.orientation = 1;
  if (Printer.leftMarginMm > 9999) Printer.leftMarginMm = 0;
  if (Printer.topMarginMm > 9999) Printer.topMarginMm = 0;
  if (Printer.codePage >= 4 || Printer.codePage < 0) Printer.codePage = 0;
  Printer.fontNo = MenuFont(Printer.fontNo);
  if (Printer.rasterOption >= 2 || Printer.rasterOption < 0) Printer.rasterOption = 0;
  if (Printer.economode >= 3 || Printer.economode < 0) Printer.economode = 0;
  if (Printer.option70 >= 3 || Printer.option70 < 0) Printer.option70 = 0;
}

void LoadPrintSettings(DbTable* table, const char* reportCode) {
  // The settings must not leave a sticky engine error behind for the caller.
  DbEngine* engine = &EnvCurrent()->engine;
  const int savedError = engine->error_code;
  if (open_tabu(0) != 0) {
    engine->error_code = savedError;
    return;
  }
  PrintMessageOn(1, kReadMessage);
  int found = d4seek(Z5TABW.table, SettingsKey(table, reportCode).c_str());
  if (found >= 0) {
    SetDefaults();
    if (found == 0) {
      ReadRecord();
      ClampPrinterSettings();
    } else {
      // A report printed for the first time is laid out in the font its
      // dialog shows, not in font 0.
      Printer.fontNo = MenuFont(Printer.fontNo);
    }
  }
  PrintMessageOff();
  close_tabu();
  engine->error_code = savedError;
}

void SavePrintSettings(DbTable* table, const char* reportCode) {
  DbEngine* engine = &EnvCurrent()->engine;
  const int savedError = engine->error_code;
  if (open_tabu(0) != 0) {
    engine->error_code = savedError;
    return;
  }
  PrintMessageOn(1, kWriteMessage);
  const std::string key = SettingsKey(table, reportCode);
  int found = d4seek(Z5TABW.table, key.c_str());
  if (found == 0) {
    WriteRecord();
    d4write(Z5TABW.table, d4recno(Z5TABW.table));
  } else if (found > 0 && d4append_start(Z5TABW.table, 0) == 0) {
    d4blank(Z5TABW.table);
    f4assign_n(Z5TABW.wer, key.data(), TABU_WER_LEN);
    if (table) f4assign_n(Z5TABW.baz, key.data() + TABU_WER_LEN, TABU_BAZ_LEN);
    f4assign_n(Z5TABW.pol, key.data() + TABU_WER_LEN + TABU_BAZ_LEN, TABU_POL_LEN);
    WriteRecord();
    d4append(Z5TABW.table);
  }
  PrintMessageOff();
  close_tabu();
  engine->error_code = savedError;
}
