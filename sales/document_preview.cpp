#include "sales/document_preview.h"

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "sales/background_screen.h"
#include "sales/document_lines.h"
#include "sales/header_form.h"
#include "sales/marks_dialogs.h"
#include "sales/register_actions.h"
#include "sales/sale_without_invoice.h"
#include "sales/sales_context.h"
#include "sales/sales_register.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/keyboard.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int16_t RES_RECIPIENT = 64;
const char* PreviewHint() {
  static const std::string hint = Utf8ToMazText("Podgląd");
  return hint.c_str();
}
constexpr int FORM_BACKGROUND_ATTR = 0x17, FORM_FIELD_ATTR = 0x1F;

int Register() { return salesContext ? salesContext->rejestr : 1; }
DbField* H(const char* name) { return d4field(Z5SPRZ.table, name); }

// The key that ends a step shown in `window`; the window closed and the
// previous one selected again.
int KeyOfPreview(int window, int previous) {
  add_help_line();
  set_fun_help("F2", PreviewHint(), 1);
  int key = g4char();
  remove_help_line();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return key;
}

// The form's texts from the header; its record left as it was read, so that
// the preview never writes it.
void RefreshFormTexts() {
  DbTable* t = Z5SPRZ.table;
  std::string record(d4record(t), d4record_width(t));
  int changed = d4changed(t, -1);
  odswiez_teksty_formularza();
  std::memcpy(d4record(t), record.data(), record.size());
  d4changed(t, changed);
}

int HeaderStep() {
  if (f4int(H("TYV")) == 5) return podglad_sprzedazy_bezrachunkowej();
  BrowseContext* c = CurrentBrowse;
  // The form, its labels and what its choice fields show are the document's own.
  int kind = f4int(H("TYV"));
  if (salesContext) salesContext->kind = kind;
  wybierz_formularz_naglowka(kind);
  uklad_formularza_modyfikacji(kind);
  RefreshFormTexts();
  int previous = w4select(-1);
  int window = DefineEditModifyWindow(c);
  if (window < 0) return KEY_ESC;
  w4activate(window);
  wyswietl_edit_window_modify(c, window, FORM_BACKGROUND_ATTR, FORM_FIELD_ATTR);
  return KeyOfPreview(window, previous);
}

// The marks of a document that keeps them (not OSS); F2 when it goes on.
int MarksStep() {
  if (salesOptions.procedureMarks != 'T' || f4char(H("STM")) == '4') return KEY_F2;
  if (procedury(1) != KEY_F2) return KEY_ESC;
  return oznaczenia_gtu(1);
}

// The recipient window when the document has one; F2 when it goes on.
int RecipientStep() {
  DbTable* recipients = Z5SPRO.table;
  if (szukaj_odbiorcy(Register(), d4recno(Z5SPRZ.table)) != 0) return KEY_F2;
  int previous = w4select(-1);
  int window = DefineDialogWindow(10, 1, 10, 78, "ODBIORCA");
  if (window < 0) return KEY_ESC;
  w4activate(window);
  w4select(window);
  pokaz_tlo(RES_RECIPIENT, 1, 1);
  const struct {
    int row, col;
    const char* name;
  } shown[] = {{1, 15, "KNA"}, {2, 15, "NIP"}, {4, 2, "NA1"}, {5, 2, "NA2"},
               {6, 19, "KOP"}, {6, 26, "MIA"}, {7, 9, "ULI"},  {8, 9, "KRA"}};
  for (const auto& s : shown) w4(s.row, s.col, FldQStr(d4field(recipients, s.name), 1));
  return KeyOfPreview(window, previous);
}

}  // namespace

int podglad_dokumentu() {
  BrowseContext* c = CurrentBrowse;
  if (!c || EmptyBrowseWarning(c) != 0) return 0;
  long record = d4recno(Z5SPRZ.table);
  if (HeaderStep() == KEY_F2 && MarksStep() == KEY_F2 && RecipientStep() == KEY_F2)
    pozycje_dokumentu(0, f4int(H("TYV")), f4int(H("TRY")), 1, Register());
  browse_call(0, record);
  return 0;
}
