// The invoice issued to a receipt: its GTU and procedure marks in the buyer
// record's RE1, its page printouts and the plain receipt printout, the buyer
// form, its number and its payment.
#pragma once

struct DbField;

namespace retail {

// ---- marks: RE1 of Z5PARO, positions 1 to 13 the procedures, 16 to 28 GTU

constexpr int PIERWSZA_PROCEDURA = 1, PIERWSZY_GTU = 16, ZNACZNIKI = 13;

// The GTU and the procedure window over the current buyer record's RE1;
// with `tylko_odczyt` nothing can be changed. The key that closed the
// window: F2 accepts (the caller writes the record), Esc restores RE1.
int okno_oznaczen_gtu(int tylko_odczyt);
int okno_procedur(int tylko_odczyt);
// 1 when a character of `field` at the positions `first` (from 1) to
// `first` + `count` - 1 is 'T', else 0.
int jest_znacznik(DbField* field, int first, int count);
// Marks in RE1 the GTU group of every position of the current receipt;
// groups outside 1 to 14 mark nothing. 0, or -1 on a read error.
int oznacz_grupy_gtu_pozycji();
// Alt+O (`gtu` 1) and Alt+P (0) of the register: the window over the
// current receipt's buyer record, written after F2 under the lock of
// Z5PARO; "Brak faktury." without one. 0.
int oznaczenia_faktury(int gtu);

// ---- printouts

constexpr int FORMA_BRUTTO = 2;
// The invoice to the current receipt on form 56, gross prices for
// FORMA_BRUTTO, else net: 1 printed, 0 cancelled, -1 no positions or error.
int faktura_do_paragonu_wydruk(int forma);
// The current receipt on form 65 (no fiscal printer); 0.
int paragon_wydruk();
// The procedure codes and GTU numbers of the buyer record's marks, shown in
// a window with `pokaz`; a temporary string.
char* oznaczenia_tekst(int pokaz, int z_gtu);

}  // namespace retail
