#include "fuzz/register_operations.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/option_sets.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fiscal/register_params.h"

namespace {

const RegisterFuzzMode kAdaxModes[] = {{KASA_ADAX, "adax"}, {KASA_TOTAL_TAX, "total_tax"}};
const RegisterFuzzMode kDsaModes[] = {
    {KASA_DSA40, "dsa40"}, {KASA_DSA100, "dsa100"}, {KASA_DSA4000S, "dsa4000s"}, {KASA_MALA, "mala"}};
const RegisterFuzzMode kCr280Modes[] = {{KASA_CR280_PLUS, "plus"},
                                        {KASA_CR280_PLUS3, "plus3"},
                                        {KASA_CR280_THER3, "ther3"},
                                        {KASA_CR280_THER4, "ther4"}};
const RegisterFuzzMode kOmronModes[] = {{KASA_OMRON, "omron"}};
const RegisterFuzzMode kPs2000Modes[] = {{KASA_PS2000, "ps2000"}};

KFTowar Goods(const char* code, const char* name, double price, int vatCode, int department, long record) {
  return KFTowar{department, code, 18, name, 40, price, 12, 4, vatCode, "20261211", record};
}

}  // namespace

const RegisterFuzzFamily kAdaxFuzz = {"register_adax", kAdaxModes, 2};
const RegisterFuzzFamily kDsaFuzz = {"register_dsa", kDsaModes, 4};
const RegisterFuzzFamily kCr280Fuzz = {"register_cr280", kCr280Modes, 4};
const RegisterFuzzFamily kOmronFuzz = {"register_omron", kOmronModes, 1};
const RegisterFuzzFamily kPs2000Fuzz = {"register_ps2000", kPs2000Modes, 1};
const RegisterFuzzFamily* const kRegisterFuzzFamilies[5] = {&kAdaxFuzz, &kDsaFuzz, &kCr280Fuzz, &kOmronFuzz,
                                                            &kPs2000Fuzz};

void SetRegisterFuzzMode(const RegisterFuzzMode& mode) {
  warehouseOptions.cashRegisterType = mode.type;
  warehouseOptions.cashRegisterPort = 1;
  warehouseOptions.checkCodeLength = 'T';
  warehouseOptions.transmissionReport = 'N';
  KasaParametry& p = parametryKF;
  std::copy_n("124430", 6, p.ps2000);
  std::copy_n("124430", 6, p.cr280);
  std::copy_n("000000", 6, p.omron);
  std::copy_n("021036", 6, p.adax);
  std::copy_n("124430", 6, p.mala);
  std::copy_n("125534", 6, p.dsa);
  p.ps2000Ecr = 1;
  p.ps2000CodeLength = 4;
  p.ps2000Timeout = 1;
  p.omronVariablePrice = 'N';
  p.adaxPluFlag = ' ';
  p.dsaBarcode = 'N';
}

void RunEveryRegisterOperation() {
  KFTowar first = Goods("123               ", "CUKIER                                  ", 3.5, 1, 2, 1);
  KFTowar second = Goods("77                ", "\x9C\xA2" "D\xA6                                    ", 12.34, 8, 5, 2);
  double quantity = 0, value = 0;
  if (KFOpen() == 0) {
    if (KFOpenSendTowar() == 0 && KFSendTow(&first) == 0) KFSendTow(&second);
    KFCloseSendTowar();
    KFDelete(&second);
    if (KFOpenRaport() == 0) {
      KFRapTow(&first, &quantity, &value);
      KFRapTow(&second, &quantity, &value);
    }
    KFCloseRaport();
    if (FILE* list = std::fopen("cennik.cen", "w+")) {
      kasfis_cennik_odczyt(list);
      std::fclose(list);
    }
    KFZerowanie("20261211");
    KFSprawdzKod(&second);
  }
  KFClose();
}
