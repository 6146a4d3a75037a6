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

bool EnterFolder(const std::string& path) {
  Environment* env = EnvCurrent();
  TransDir(EnvFromDiskPath(path).c_str(), &env->dataPath);
  return ChangeDir(&env->dataPath, 0, 0) == 0;
}

// The input's records into the exchange files, field by field as stored.
void FillExchange(const std::string& folder, const uint8_t* at, const uint8_t* end) {
  DbEngine* engine = FuzzEngine();
  for (const char* name : kTables) {
    DbTable* table = d4open(engine, (folder + name).c_str());
    if (table == nullptr) {
      engine->error_code = 0;
      continue;
    }
    int records = at < end ? *at++ % 4 : 0;
    for (int r = 0; r < records; r++) {
      d4append_start(table, 0);
      d4blank(table);
      for (int j = 1; j <= d4num_fields(table); j++) {
        DbField* field = d4field_j(table, j);
        size_t n = std::min<size_t>(f4len(field), static_cast<size_t>(end - at));
        std::memcpy(f4ptr(field), at, n);
        at += n;
      }
      if (r == 0 && d4field(table, "OPI") != nullptr) f4assign(d4field(table, "OPI"), "FILIA");
      d4append(table);
    }
    d4close(table);
  }
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
  if (mkdir(exchange.c_str(), 0700) != 0 || mkdir(firm.c_str(), 0700) != 0 || !EnterFolder(firm)) return 0;
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
    FillExchange(exchange, data, data + size);
    stronaMagazynu = &STRONA_PRZYJEC;
    if (OpenZ5MAPR(0) == 0 && OpenZ5MAPE(0) == 0) import_z_katalogu(EnvFromDiskPath(exchange).c_str());
  } catch (const FuzzKeysEnded&) {
  }
  zamknij_okno_raportu(0);
  stronaMagazynu = nullptr;
  engine->error_code = 0;
  d4close_all(engine);
  EnterFolder(work);
  return 0;
}
