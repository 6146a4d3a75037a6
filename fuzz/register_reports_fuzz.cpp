// The report files of the register drivers as read back from disk: the
// first byte chooses the file ("adax.plu", "omron.plu", "omron.mem",
// "ps2000.plu"), the rest is its text. The driver creates the file while no
// port answers, the input takes the file's place, and the codes are looked
// up in it (the memory file is compared with a PLU to send).
#include <cstdio>
#include <string>

#include "app/option_sets.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_drivers.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr const char* kKeys = "{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}{ESC}";
std::string g_text;
int g_kind = 0;

const char* const kFiles[] = {"adax.plu", "omron.plu", "omron.mem", "ps2000.plu"};
const int kTypes[] = {KASA_ADAX, KASA_OMRON, KASA_OMRON, KASA_PS2000};
const char* const kCodes[] = {"1                 ", "123               ", "0                 ", "9999999999999     "};

void TakeThePlace() {
  if (FILE* file = std::fopen(kFiles[g_kind], "wb")) {
    std::fwrite(g_text.data(), 1, g_text.size(), file);
    std::fclose(file);
  }
}

void LookUp() {
  double quantity = 0, value = 0;
  for (const char* code : kCodes) {
    switch (g_kind) {
      case 0: AdaxRapTow(code, 18, &quantity, &value); break;
      case 1: OmronRapTow(code, 18, &quantity, &value); break;
      case 2: OmronSendTow(1, code, 18, "CUKIER", 6, 3.5, 1); break;
      default: Ps2000RapTow(code, 18, &quantity, &value); break;
    }
  }
}

void Body() {
  switch (g_kind) {
    case 0: AdaxOpenRaport(); break;
    case 1: OmronOpenRaport('0'); break;
    case 2: OmronOpenSendTowarMem(); break;
    default: Ps2000OpenRaport("20261211"); break;
  }
  TakeThePlace();
  LookUp();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  return FuzzStartScreen() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  FuzzNewInput();
  g_kind = data[0] % 4;
  g_text.assign(reinterpret_cast<const char*>(data + 1), size - 1);
  warehouseOptions.cashRegisterType = kTypes[g_kind];
  warehouseOptions.checkCodeLength = 'T';
  FuzzScreenKeys(kKeys);
  try {
    Body();
  } catch (const FuzzKeysEnded&) {
  }
  AdaxZamknijPlik();
  OmronCloseFile();
  Ps2000CloseRaport();
  return 0;
}
