#include "fuzz/register_operations.h"

#include <cstdio>

#include "app/option_sets.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"

const RegisterFuzzMode kRegisterFuzzModes[REGISTER_FUZZ_MODES] = {{KASA_TANGO, "tango"}};

void SetRegisterFuzzMode(int mode) {
  warehouseOptions.cashRegisterType = kRegisterFuzzModes[mode].type;
  warehouseOptions.cashRegisterPort = 1;
  warehouseOptions.checkCodeLength = 'T';
  warehouseOptions.transmissionReport = 'T';
  CzytajParametryKF();
  kfTylkoCena = -1;
}

void RunEveryRegisterOperation() {
  KFTowar goods[] = {
      {2, "123               ", 18, "CUKIER                                  ", 40, 3.5, 12, 4, 1, "20261211", 1},
      {5, "77                ", 18, "MAKA                                    ", 40, 2.4, 12, 4, 2, "20261211", 2}};
  if (KFOpen() == 0) {
    if (KFOpenSendTowar() == 0)
      for (const KFTowar& g : goods)
        if (KFSendTow(&g) != 0) break;
    KFCloseSendTowar();
    KFDelete(&goods[1]);
    if (FILE* list = std::tmpfile()) {
      kasfis_cennik_odczyt(list);
      std::fclose(list);
    }
    if (KFOpenRaport() == 0) {
      for (const KFTowar& g : goods) {
        double quantity = 0, value = 0;
        if (KFRapTow(&g, &quantity, &value) != 0) break;
      }
      KFCloseRaport();
    }
    KFZerowanie("20261211");
  }
  KFClose();
}
