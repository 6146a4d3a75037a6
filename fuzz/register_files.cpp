#include "fuzz/register_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "fiscal/cash_register.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/elzab_register_driver.h"
#include "fiscal/register_params.h"
#include "masterdata/goods_catalogue.h"
#include "platform/dirs.h"
#include "platform/program_dir.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"

const char* const kRegisterFileNames[RF_KINDS] = {"cennik.cen", "spis.inw", "ses600.plu", "res600.plu",
                                                  "Koment.txt"};

const char* const kRegisterFileKeys =
    "{ENTER}t{ESC}t{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}";

namespace {

bool Write(const std::string& path, const std::string& content) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
  return std::fclose(f) == 0 && ok;
}

bool Program(const char* name) {
  std::string path = PlatProgramDir() + name;
  if (!Write(path, "#!/bin/sh\nexit 0\n")) return false;
  return chmod(path.c_str(), 0755) == 0;
}

void Seed(const char* code, double stock) {
  DbTable* goods = Z5TOWA.table;
  if (d4append_start(goods, 0) != 0) return;
  d4blank(goods);
  f4assign(Z5TOWA.field[TOWA_KOD], code);
  f4assign(Z5TOWA.field[TOWA_STA], "A");
  f4assign_double(Z5TOWA.field[TOWA_ILO], stock);
  f4assign_double(Z5TOWA.field[TOWA_CZN], 2);
  d4append(goods);
  d4unlock(goods);
}

bool OpenGoods() {
  if (!Z5TOWA.table && OpenZ5TOWA(0) != 0) return false;
  if (d4reccount(Z5TOWA.table) == 0) {
    Seed("123", 5);
    Seed("A1", 2);
  }
  return true;
}

// The catalogue's context and a browse over the goods, freed also when the
// keys run out in the middle.
struct GoodsBrowse {
  kontekst_kartoteki_towarow* context = definicja_kartoteki_towarow(1);
  BrowseContext* browse = nullptr;
  ~GoodsBrowse() {
    if (browse) free_browse(&browse);
    zwolnij_definicje_kartoteki_towarow(context);
  }
};

void TakeInCount() {
  GoodsBrowse b;
  if (!b.context || allocate_browse(&b.browse, Z5TOWA.table, Z5TOWA.tag[TOWA_TAG_KOD], nullptr, -1) != 0) return;
  x4init(&b.browse->scan, Z5TOWA.table, nullptr, 0);
  if (browse_call(0, 0) == 0) KolektorAktualizacja();
}

void Elzab(int kind, const std::string& content) {
  warehouseOptions.cashRegisterType = KASA_ELZAB;
  warehouseOptions.cashRegisterPort = 1;
  CzytajParametryKF();
  kfTylkoCena = 0;
  if (!Program("towarmax.exe") || !Program("otsprzed.exe")) return;
  if (!Write(PlatProgramDir() + kRegisterFileNames[kind], content)) return;
  if (KFOpen() == 0) {
    if (kind == RF_ELZAB_LIST) {
      if (FILE* list = std::tmpfile()) {
        kasfis_cennik_odczyt(list);
        std::fclose(list);
      }
    } else {
      KFTowar goods{2, "123               ", 18, "CUKIER", 6, 3.5, 12, 4, 1, "20261211", 1};
      double quantity = 0, value = 0;
      KFRapTow(&goods, &quantity, &value);
    }
  }
  KFClose();
}

}  // namespace

void ReadRegisterFile(int kind, const std::string& content) {
  std::string here = PlatGetCwd();
  switch (kind) {
    case RF_PRICE_LIST:
      if (OpenGoods() && Write(kRegisterFileNames[kind], content))
        if (FILE* f = std::fopen(kRegisterFileNames[kind], "r")) {
          KasaDopiszCennik(f);
          std::fclose(f);
        }
      break;
    case RF_STOCK_COUNT:
      warehouseOptions.collectorDir[0] = '\0';
      if (OpenGoods() && Write(kRegisterFileNames[kind], content)) TakeInCount();
      break;
    case RF_ELZAB_LIST:
    case RF_ELZAB_SALES: Elzab(kind, content); break;
    case RF_ELZAB_COMMENT:
      if (!content.empty() && PlatChDir(PlatProgramDir().c_str()) == PLAT_OK &&
          Write(kRegisterFileNames[kind], content.substr(1)))
        ElzabKasaKomentarz(static_cast<unsigned char>(content[0]));
      break;
    default: break;
  }
  PlatChDir(here.c_str());
}
