// The marks dialogs of a sales header (GTU marks in NKK, procedure marks in
// NKV) and the shortcut-keys window of the sales register.
#pragma once

struct DbField;

// The GTU window over the 13 marks of `field` from its position `first`
// (from 0) and the procedure window over 13 (from 2022: 12) marks from
// `first`, the fourth never changed; Esc puts the field back as it was,
// F2 leaves the new marks for the caller to write. With `tylko_podglad`
// shown only. The key that closed the window.
int okno_gtu_pola(DbField* field, int first, int tylko_podglad);
int okno_procedur_pola(DbField* field, int first, int tylko_podglad);
// The GTU marks of the current header; with `tylko_podglad` shown only.
// Esc leaves the marks as they were. The key that closed the window.
int oznaczenia_gtu(int tylko_podglad);
// The procedure marks of the current header (position 4 is never changed
// here); as above.
int procedury(int tylko_podglad);
// The shortcut keys of the main (1) or auxiliary (2) register.
void skroty_klawiszowe(int rejestr);
// Alt+O / Alt+P of the register: the dialog over the current header, which
// is then stamped and written under its lock. `gtu` chooses the dialog.
void oznaczenia_dokumentu(int gtu);
