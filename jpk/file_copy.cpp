#include "jpk/file_copy.h"

#include <string>

#include "env/code_pages.h"
#include "env/paths.h"
#include "platform/files.h"
#include "ui/message_box.h"

int KopiujPlik(const char* source, const char* target) {
  std::string from = EnvToDiskPath(source);
  if (PlatFileAccess(from.c_str()) != PLAT_OK) {
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd otwarcia pliku").c_str(), source);
    return 0;
  }
  if (PlatFileCopy(from.c_str(), EnvToDiskPath(target).c_str()) != PLAT_OK) {
    MessageWindow(MB_ERROR, Utf8ToMazText("Błąd zapisu pliku").c_str(), target, PlatLastErrorText());
    return 0;
  }
  return 1;
}
