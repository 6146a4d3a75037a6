#include "sales/background_screen.h"

#include <algorithm>
#include <string>

#include "env/messages.h"
#include "ui/desktop.h"
#include "ui/window4.h"

namespace {

constexpr size_t SCREEN_LINE = 78;

int16_t shownResource;
int16_t ShownResource() { return shownResource; }

}  // namespace

void pokaz_tlo(int16_t resource, int row, int col, int rows) {
  shownResource = resource;
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, ShownResource, &size);
  if (!data) return;
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();   // up to an embedded NUL
  Window4* window = Desktop.curWindow;
  if (!window) return;
  size_t room = window->width > col ? static_cast<size_t>(window->width - col) : 0;
  int line = 0;
  for (size_t at = 0; at < text.size() && (rows == 0 || line < rows); at += SCREEN_LINE, line++) {
    std::string shown = text.substr(at, std::min(SCREEN_LINE, room));
    shown.erase(shown.find_last_not_of(' ') + 1);
    if (!shown.empty()) w4num(row + line, col, shown.c_str(), static_cast<int>(shown.size()));
  }
}
