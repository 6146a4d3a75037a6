#include "sales/background_screen.h"

#include <algorithm>

#include "env/messages.h"
#include "ui/desktop.h"
#include "ui/window4.h"

namespace {

constexpr size_t SCREEN_LINE = 78;

int16_t shownResource;
int16_t ShownResource() { return shownResource; }

}  // namespace

std::string tekst_tla(int16_t resource, int width, int rows) {
  shownResource = resource;
  uint16_t size = 0;
  const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, ShownResource, &size);
  if (!data) return "";
  std::string screen(reinterpret_cast<const char*>(data), size);
  screen = screen.c_str();   // up to an embedded NUL
  size_t room = static_cast<size_t>(std::max(width, 0));
  std::string text;
  int line = 0;
  for (size_t at = 0; at < screen.size() && (rows == 0 || line < rows); at += SCREEN_LINE, line++) {
    std::string shown = screen.substr(at, std::min(SCREEN_LINE, room));
    shown.erase(shown.find_last_not_of(' ') + 1);
    if (line > 0) text += '\n';
    text += shown;
  }
  return text;
}

void pokaz_tlo(int16_t resource, int row, int col, int rows) {
  Window4* window = Desktop.curWindow;
  if (!window) return;
  std::string text = tekst_tla(resource, window->width - col, rows);
  size_t start = 0;
  for (int line = row; start <= text.size(); line++) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) w4num(line, col, text.c_str() + start, static_cast<int>(end - start));
    start = end + 1;
  }
}
