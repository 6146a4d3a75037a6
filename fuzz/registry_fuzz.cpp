// A registry store from outside: the keys the program uses opened and read,
// the store enumerated, and a value written (refused over a damaged store).
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "interchange/registry.h"

namespace {

// Every call reads the whole store again: a few values and subkeys a level.
void ReadKey(RegKeyCtx* key, int depth) {
  RegKeyInfoRec info{};
  RegKeyInfo(key, &info);
  char name[REG_PATH_SIZE];
  char text[300];
  for (uint32_t i = 0; i < 6 && RegKeyEnumValue(key, i, name, sizeof name); i++) {
    uint32_t type = 0, bytes = 0;
    RegValueInfo(key, name, &type, &bytes);
    RegReadText(key, name, text, sizeof text);
    RegReadInt(key, name);
    RegReadDouble(key, name);
    RegQword q;
    RegReadQword(key, name, &q);
  }
  if (depth >= 2) return;
  for (uint32_t i = 0; i < 4 && RegKeyEnumSubkey(key, i, name, sizeof name); i++) {
    RegKeyCtx sub;
    RegKeyInit(&sub, REG_CURRENT_USER);
    std::string path = std::string(key->path) + "\\" + name;
    if (RegKeyOpen(&sub, path.c_str(), 0) == 1) ReadKey(&sub, depth + 1);
    RegKeyRelease(&sub);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzSetup();
  std::error_code ignored;
  std::filesystem::create_directories(FuzzRoot() + "config/zelsal", ignored);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzNewInput();
  std::string store = FuzzRoot() + "config/zelsal/";
  if (!FuzzWriteFile(store + "registry.txt", data, size)) return 0;
  RegKeyCtx key;
  RegKeyInit(&key, REG_CURRENT_USER);
  if (RegKeyOpen(&key, "", 0) == 1) ReadKey(&key, 0);
  RegDriveRootLookup('D');
  if (RegKeyOpen(&key, "Software\\Ostrel\\WinZelm\\Ports", 1) == 1) RegWriteText(&key, "COM1", "/dev/ttyS0");
  RegKeyRelease(&key);
  return 0;
}
