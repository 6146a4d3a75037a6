// Tabulogram layouts saved in "Z5TABW.DBF" (a settings file users copy
// between folders): the input's bytes become, as stored and unchecked, the
// fields of the layout records of the fixed table's columns (chosen, framed
// or free line, row, column, width, printed name) under each layout code.
// The layout dialog reads them, the preview lays the records out on the
// headless screen, and the dialog is left.
#include <cstdint>
#include <cstring>

#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "env/session/environment.h"
#include "fuzz/fuzz_support.h"
#include "print/tabu_table.h"
#include "print/tabulogram.h"

namespace {

const char kKeys[] = "{F5}{PGDN}{RIGHT}{DOWN}{END}{ESC}{DOWN}{ENTER}{ESC}{ESC}{ESC}{ESC}{ESC}";
const char* const kFields[] = {"NAZWA", "ILOSC", "DATA", "OK", "KOD"};

// The next `length` bytes of the input into the field as they stand, blanks past the end.
void Take(DbField* field, const uint8_t*& at, const uint8_t* end) {
  unsigned length = f4len(field);
  char* to = f4ptr(field);
  size_t n = std::min<size_t>(length, static_cast<size_t>(end - at));
  std::memset(to, ' ', length);
  std::memcpy(to, at, n);
  at += n;
}

bool WriteLayouts(const uint8_t* data, size_t size) {
  if (open_tabu(0) != 0) return false;
  const uint8_t* at = data;
  const uint8_t* end = data + size;
  bool ok = true;
  for (const char* code : {"TAA", "TAB", "TAC"}) {
    for (const char* name : kFields) {
      if (at >= end) break;
      d4append_start(Z5TABW.table, 0);
      d4blank(Z5TABW.table);
      f4assign(Z5TABW.wer, code);
      f4assign(Z5TABW.baz, "FIX");
      f4assign(Z5TABW.pol, name);
      for (DbField* field : {Z5TABW.czy, Z5TABW.typ, Z5TABW.rza, Z5TABW.kol, Z5TABW.wid, Z5TABW.naz})
        Take(field, at, end);
      if (d4append(Z5TABW.table) != 0) ok = false;
    }
  }
  close_tabu();
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  EnvCurrent()->separatePrintSettings = 'T';
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzNewInput();
  FuzzClearWorkDir();
  DbTable* table = FuzzCreateFixture();
  if (table == nullptr) return 0;
  if (WriteLayouts(data, size)) {
    static DbField* fields[5];
    static TabuColumn columns[8];
    ResetTabuDefinition(columns, sizeof columns);
    for (int j = 0; j < 5; j++) {
      fields[j] = d4field(table, kFields[j]);
      DefineTabuColumn(kFields[j], j == 1 ? "szt." : nullptr, &fields[j], TABU_CHOSEN | (j == 1 ? TABU_SUMMED : 0),
                       j + 1);
    }
    DbScanCtx scan{};
    x4init(&scan, table, nullptr, 0);
    FuzzScreenKeys(kKeys);
    try {
      prn_tab_rap(columns, &scan, table, nullptr, "Zestawienie", nullptr, nullptr, 0);
    } catch (const FuzzKeysEnded&) {
    }
  }
  d4close_all(FuzzEngine());
  return 0;
}
