// The form of one sales line: the full layout (resource 51) and the compact
// one (resource 52), the routines of its fields, the name lines and F6, the
// quantity from a value (Alt+I), the choice fields, the VAT rate choice with
// the OSS rates and the switch of the line's delivery type (F4 "Zmień").
#pragma once

struct kontekst_pozycji;

// Builds the display and input lists of both forms into the context.
void definicja_formularzy_pozycji(kontekst_pozycji* c);
// Refreshes the display texts of the form from the current line.
void etykiety_tekstow_pozycji();
// After-display of the full form: row 9 blank without GTU marks, "rodzaj"
// over the goods/service choice of OSS lines.
void etykiety_pozycji();
// F4 "Zmień" on the delivery field: switches the line between domestic and
// outside the country, or between WDT and EU services, and works out its
// values again. Going back to domestic restores the code the line had when
// the form opened if it was domestic then, else the new-line default.
void zmien_dostawe_pozycji();
