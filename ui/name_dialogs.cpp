#include "ui/name_dialogs.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/text_buffers.h"
#include "platform/dirs.h"
#include "platform/files.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_RESERVED = 50023;
constexpr int MSG_IS_DIRECTORY = 50024;
constexpr int MSG_FILE_EXISTS = 50025;
constexpr int MSG_NO_DIRECTORY = 50145;
constexpr int NAME_GET_ATTR = 143;
constexpr int TYPED_NAME_MAX = 60;

const char* const kReserved[] = {"PRN", "", "LPT1", "LPT2", "LPT3", "LPT4", "COM1", "COM2", "AUX"};

bool Reserved(const char* name) {
  for (const char* r : kReserved) {
    size_t n = std::strlen(r);
    if (std::strlen(name) == n && cmp_str(name, r, static_cast<int>(n)) == 0) return true;
  }
  return false;
}

bool IsDirectory(const char* name) {
  if (!*name) return false;
  std::vector<PlatDirEntry> none;
  return PlatListDir(EnvToDiskPath(name).c_str(), "\x01", &none) == PLAT_OK;
}

// Fills the buffer with the default name and lets the operator edit it in
// the shown window; returns the key that ended editing.
int EditName(int handle, char* buffer, int size, const char* defaultName, bool safe) {
  FormBuf(buffer, size);
  if (defaultName) std::memcpy(buffer, defaultName, std::min<size_t>(std::strlen(defaultName), size - 1));
  if (safe) ConvXmlExportName(buffer);
  w4activate(handle);
  g4attribute(NAME_GET_ATTR);
  g4(1, 0, buffer);
  g4width(size - 1, std::min(size - 1, w4width()));
  int key = g4read();
  w4deactivate(handle);
  w4select(handle);
  return key;
}

void TrimRight(char* text) {
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
}

void Close(int handle, int previous) {
  w4close(handle);
  w4select(previous);
}

}  // namespace

int GetFileOutputName(char* buffer, int size, const char* defaultName, int safe) {
  if (!buffer || size < 2) return -1;
  int previous = w4select(-1);
  int handle = DefineZazuveWindow(13, 10, 4, 62, "Wprowad\xA6 nazw\x91 pliku");
  if (handle < 0) return -1;
  for (;;) {
    if (EditName(handle, buffer, size, defaultName, safe != 0) != KEY_ENTER) {
      Close(handle, previous);
      return -1;
    }
    TrimRight(buffer);
    std::string typed(buffer, std::min<size_t>(std::strlen(buffer), TYPED_NAME_MAX));
    if (safe) ConvXmlExportName(buffer);
    if (Reserved(buffer)) {
      Uwaga(MSG_RESERVED);
      continue;
    }
    if (IsDirectory(buffer)) {
      Uwaga(MSG_IS_DIRECTORY);
      continue;
    }
    if (EnvFileExists(buffer) && MessageWindow(MB_QUESTION | MB_YES_ESC, typed.c_str(), MSG_FILE_EXISTS) == KEY_ESC)
      continue;
    Close(handle, previous);
    return 0;
  }
}

int Podaj_Nazwe_Katalogu(char* buffer, int width, const char* defaultName) {
  if (!buffer || width < 2) return 0;
  int previous = w4select(-1);
  int col = (79 - width) / 2 + (width >= 80 && width % 2 == 0 ? 1 : 0);
  int handle = DefineZazuveWindow(13, col, 4, width + 1, "Wprowad\xA6 katalog");
  if (handle < 0) return 0;
  for (;;) {
    if (EditName(handle, buffer, width, defaultName, false) != KEY_ENTER) {
      Close(handle, previous);
      return 0;
    }
    TrimRight(buffer);
    if (CheckDirectoryName(buffer) == 0) {
      Close(handle, previous);
      return 1;
    }
  }
}

int CheckDirectoryName(const char* name) {
  if (Reserved(name)) {
    Uwaga(MSG_RESERVED);
    return -1;
  }
  if (IsDirectory(name)) return 0;
  Uwaga(MSG_NO_DIRECTORY);
  return -1;
}
