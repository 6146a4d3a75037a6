#include "fuzz/register_operations.h"

#include <cstdio>

#include "app/option_sets.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"

const RegisterFuzzMode kRegisterFuzzModes[REGISTER_FUZZ_MODES] = {
    {KASA_TANGO, "tango"},         {KASA_ADAX, "adax"},           {KASA_TOTAL_TAX, "total_tax"},
    {KASA_DSA40, "dsa40"},         {KASA_DSA100, "dsa100"},       {KASA_DSA4000S, "dsa4000s"},
    {KASA_MALA, "mala"},           {KASA_CR280_PLUS, "cr280_plus"}, {KASA_CR280_PLUS3, "cr280_plus3"},
    {KASA_CR280_THER3, "cr280_ther3"}, {KASA_CR280_THER4, "cr280_ther4"}, {KASA_OMRON, "omron"},
    {KASA_PS2000, "ps2000"}};

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
