#include "tables/later_routines.h"

#include "env/code_pages.h"
#include "ui/message_box.h"

void EmptyBrowseWarningLater() {
  Informacja(Utf8ToMazText("Komunikat pustej listy będzie dostępny w następnej wersji.").c_str());
}
