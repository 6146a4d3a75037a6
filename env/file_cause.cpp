#include "env/file_cause.h"

#include "env/code_pages.h"

std::string FileCauseText(PlatCause cause) {
  switch (cause) {
    case PLAT_CAUSE_DISK_FULL: return Utf8ToMazText("Brak miejsca na dysku.");
    case PLAT_CAUSE_DENIED: return Utf8ToMazText("Brak uprawnień do zapisu.");
    case PLAT_CAUSE_READ_ONLY: return Utf8ToMazText("System plików tylko do odczytu.");
    default: return "";
  }
}
