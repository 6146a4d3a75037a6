// The installation script "Instaluj.dat" from outside, read as the installer
// reads it: every line with a known key is handed out once, in order, and
// the walk ends.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "installer/script.h"

namespace {

std::string path;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char name[] = "/tmp/zelsal-script-XXXXXX";
  int fd = mkstemp(name);
  if (fd < 0) return 1;
  close(fd);
  path = name;
  std::atexit([] { std::remove(path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return 0;
  bool written = std::fwrite(data, 1, size, out) == size;
  if (std::fclose(out) != 0 || !written) return 0;
  InstallScript script;
  if (!LoadScript(path, &script)) return 0;
  size_t known = 0;
  for (const std::string& line : script.lines) {
    std::string key, value;
    if (SplitScriptLine(line, &key, &value) && value.size() > line.size()) std::abort();
  }
  std::string value;
  for (int code; (code = NextScriptLine(&script, &value)) != -1;) {
    if (code < SCRIPT_BACKUP || code > SCRIPT_LINK || ++known > script.lines.size()) std::abort();
  }
  return 0;
}
