// The sales exchange between installations read into the main register: the
// export of an empty register makes the three exchange tables, then the
// input's bytes become, as stored and unchecked, the fields of their records
// (a byte before each table gives its record count, 0 to 3), and the import
// runs with the stock update on. Nothing may land outside the working
// directory.
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "app/program_messages.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "fuzz/fuzz_support.h"
#include "masterdata/stock_update.h"
#include "sales/sales_context.h"
#include "sales/sales_exchange.h"
#include "tables/sales_tables.h"

namespace {

const char kKeys[] = "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}";
const char* const kTables[] = {"Z5SPEX26.DBF", "Z5ESEX26.DBF", "Z5SOEX26.DBF"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  RegisterProgramMessages();
  EnvCurrent()->settlementYear = 2026;
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzNewInput();
  FuzzClearWorkDir();
  const std::string work = FuzzWorkDir();
  const std::string exchange = work + "wymiana/", firm = work + "firma/";
  if (mkdir(exchange.c_str(), 0700) != 0 || mkdir(firm.c_str(), 0700) != 0 || !FuzzEnterFolder(firm)) return 0;
  DbEngine* engine = FuzzEngine();
  static kontekst_sprzedazy context;
  context = kontekst_sprzedazy{};
  context.rejestr = 1;
  salesContext = &context;
  salesOptions = SalesOptions{};
  salesOptions.stockOnImport = salesOptions.stockOnProForma = 'T';
  FuzzScreenKeys(kKeys);
  try {
    if (OpenZ5SPRZ(0, 0, SALES_MAIN) == 0 && OpenZ5SPRE(0, 0, SALES_MAIN) == 0) {
      std::string directory = EnvFromDiskPath(exchange);
      EksportujSprzedaz(WG_DATY_WYSTAWIENIA, "20260101", "20261231", directory.c_str());
      d4close_all(engine);
      FuzzFillTables(exchange, kTables, 3, data, data + size);
      if (OpenZ5SPRZ(0, 0, SALES_MAIN) == 0 && OpenZ5SPRE(0, 0, SALES_MAIN) == 0)
        ImportujSprzedaz(2026, directory.c_str());
    }
  } catch (const FuzzKeysEnded&) {
  }
  zamknij_okno_raportu(0);
  salesContext = nullptr;
  engine->error_code = 0;
  d4close_all(engine);
  FuzzEnterFolder(work);
  FuzzCheckNothingEscaped();
  return 0;
}
