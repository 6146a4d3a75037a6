// Warehouse exchange files from another firm's export (Z5MAEX, Z5EMEX and
// Z5SPISEX in an exchange folder), read in as receipts of the sub-warehouse.
// The files are made empty by the project's own export; the input's bytes
// then become, as stored and unchecked, the fields of their records (a byte
// before each table gives its record count, 0 to 3), the first header
// naming this warehouse so that the import goes on.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/program_messages.h"
#include "db/dbf_records.h"
#include "env/paths.h"
#include "env/session/environment.h"
#include "fuzz/fuzz_support.h"
#include "masterdata/stock_update.h"
#include "masterdata/warehouse_documents.h"
#include "tables/warehouse_tables.h"

namespace {

const char kKeys[] = "{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}{ENTER}";
const char* const kTables[] = {"Z5MAEX26.DBF", "Z5EMEX26.DBF", "Z5SPISEX.DBF"};

// The first header names this warehouse, so that the import goes on.
void NameThisWarehouse(DbTable* table) {
  if (d4field(table, "OPI") != nullptr) f4assign(d4field(table, "OPI"), "FILIA");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  RegisterProgramMessages();
  Environment* env = EnvCurrent();
  env->settlementYear = 2026;
  std::snprintf(env->sharedCatalogueDir, sizeof env->sharedCatalogueDir, "%s",
                EnvFromDiskPath(FuzzWorkDir() + "firma").c_str());
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzNewInput();
  FuzzClearWorkDir();
  const std::string work = FuzzWorkDir();
  const std::string exchange = work + "wymiana/", firm = work + "firma/";
  if (mkdir(exchange.c_str(), 0700) != 0 || mkdir(firm.c_str(), 0700) != 0 || !FuzzEnterFolder(firm)) return 0;
  DbEngine* engine = FuzzEngine();
  warehouseOptions = WarehouseOptions{};
  std::strcpy(warehouseOptions.warehouseCode, "FILIA");
  warehouseOptions.signalBelowMinimum = warehouseOptions.markChanges = 'N';
  warehouseOptions.stockOnImport = warehouseOptions.addGoodsOnImport = warehouseOptions.updatePricesOnImport = 'T';
  FuzzScreenKeys(kKeys);
  try {
    stronaMagazynu = &STRONA_WYDAN;
    if (OpenZ5MAWY(0) == 0 && OpenZ5MAWE(0) == 0)
      eksport_do_katalogu(EnvFromDiskPath(exchange).c_str(), "20260101", "20260131", "FILIA");
    d4close_all(engine);
    FuzzFillTables(exchange, kTables, 3, data, data + size, NameThisWarehouse);
    stronaMagazynu = &STRONA_PRZYJEC;
    if (OpenZ5MAPR(0) == 0 && OpenZ5MAPE(0) == 0) import_z_katalogu(EnvFromDiskPath(exchange).c_str());
  } catch (const FuzzKeysEnded&) {
  }
  zamknij_okno_raportu(0);
  stronaMagazynu = nullptr;
  engine->error_code = 0;
  d4close_all(engine);
  FuzzEnterFolder(work);
  return 0;
}
