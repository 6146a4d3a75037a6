#include <string>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "sales/sales_register.h"
#include "tables/catalogue.h"
#include "tables/sales_tables.h"
#include "ui/desktop.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int WINDOW_ROWS = 18, WINDOW_COLS = 80, MOST_ROWS = 14;
constexpr int TAG_REK = 3;
constexpr int WINDOW_ATTRIBUTE = 31;
constexpr int FREE_NUMBER_SHOWN = 20;

// The title of the list of the current header's linked documents; NULL for
// a document without any.
const char* LinkedTitle() {
  DbTable* h = Z5SPRZ.table;
  if (WorkingYear() < FIRST_YEAR_2024) {
    switch (f4int(d4field(h, "TYM"))) {
      case 9: return "FAKTURY ZALICZKOWE";
      case 6: return "FAKTURY PRO FORMA";
      default: return nullptr;
    }
  }
  switch (f4int(d4field(h, "AKT"))) {
    case 1: return "FAKTURY ZALICZKOWE";
    case 2: return "FAKTURY PRO FORMA";
    case 3: return "FAKTURY ZALICZKOWE do paragonów";
    default: return nullptr;
  }
}

std::string NumberText(DbTable* t) {
  if (f4char(d4field(t, "RE4")) == 'N') return std::string(FldQStr(d4field(t, "OSM"), 1)).substr(0, FREE_NUMBER_SHOWN);
  return NrDokumentuStalyQStr(d4field(t, "PRE"), d4field(t, "NRV"), d4field(t, "POS"));
}

}  // namespace

void ShowLinkedDocuments() {
  const char* title = LinkedTitle();
  DbTable* linked = Z5SPRZ_2.table;
  if (!title || !linked) return;
  long header = f4long(d4field(Z5SPRZ.table, "REC"));
  int previous = w4select(-1);
  int top = (Desktop.rows - WINDOW_ROWS) / 2;
  int window = w4define(top, 0, top + WINDOW_ROWS - 1, WINDOW_COLS - 1);
  if (window < 0) return;
  w4attribute(WINDOW_ATTRIBUTE);
  w4border(kStdFrame, WINDOW_ATTRIBUTE);
  std::string shownTitle = Utf8ToMazText(title);
  w4title(0, -1, shownTitle.c_str(), WINDOW_ATTRIBUTE);
  w4popup();
  w4activate(window);
  w4(0, 0, " data wystawienia           numer");
  DbTag* tag = d4tag_selected(linked);
  d4tag_select(linked, Z5SPRZ_2.tag[TAG_REK]);
  int rc = d4seek_double(linked, static_cast<double>(header));
  for (int row = 1; rc == 0 && row <= MOST_ROWS && !d4eof(linked) && f4long(d4field(linked, "REK")) == header;
       row++, rc = d4skip(linked, 1)) {
    w4(row, 2, FldFullDateQStr(d4field(linked, "DAW")));
    w4(row, 22, NumberText(linked).c_str());
  }
  d4tag_select(linked, tag);
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}
