#include "app/document_lines_view.h"

#include "ui/browse.h"
#include "ui/std_windows.h"

namespace {

constexpr int KEY_F3 = 0x3D00;
constexpr int LINES_HINT_ORDER = 3;

}  // namespace

void przelacz_dokument_pozycje(int key) {
  BrowseContext* browse = CurrentBrowse;
  if (key != KEY_F3 || !browse) return;
  remove_fun_help("F3");
  if (browse->rel_shown) {
    browse_reset_display_relate(browse);
    set_fun_help("F3", "Pozycje", LINES_HINT_ORDER);
  } else {
    browse_active_display_relate(browse);
    set_fun_help("F3", "Dokument", LINES_HINT_ORDER);
  }
}
