// The life of one sales document header: " Dopisz " with its kind and
// delivery menus, the header appended before its form opens, the save that
// stamps the lines and checks their totals, " Opis " over a stored header,
// and the deletion of a header with its lines and their stock. The routines
// work on the current header and lines of the running register.
#pragma once

struct DbField;
struct DbTable;

// The issuer of a new document: the option's person, else the operator's name.
void wpisz_wystawiajacego(DbField* wys);

// 0: " Dopisz " (Ins, Alt+D); 1: " Opis " of " Modyfikuj " (Alt+M). 0.
int dopisz_lub_modyfikuj_opis(int modify);

// Browse callbacks of the register.
int przygotuj_nowy_dokument();                 // 0 go on, -1 stop adding
int przed_dopisaniem_naglowka(int appended);   // inside the append lock; 0
int anuluj_nowy_dokument();                    // Esc in the form of a new header; 0
int zapisz_dokument(DbTable* table, int (*before)(int), int (*after)(int));   // 0 saved, -1
int po_zapisaniu_dokumentu();                  // 0
int przygotuj_modyfikacje();                   // 0
int po_modyfikacji_dokumentu();                // 0 saved, -1
int po_modyfikacji_ksiegowanie();              // after a save; refreshes the settlement entry; 0
int przed_usunieciem_dokumentu();              // 0 delete, 1 keep, -1 failed

// " Usuń " of " Modyfikuj ". 0.
int usun_dokument();
// F4 of the register: the document moves to the other register. 0.
int przenies_dokument();

// The exemption basis n (1 to 4) of the list, without its "n. ".
const char* podstawa_zwolnienia(int n);
// Stores the summed line totals into the header and runs the split-payment
// question, the exemption basis and the payment state.
void zapisz_sumy_naglowka(int kind);
// Copies the header's kind, number, dates, currency and delivery into its
// lines and sums them into the document totals; 0, or -1 on a table error.
int przepisz_naglowek_do_pozycji();
// The copy above, then the header totals against the lines'; 0, or -1 with
// a box when they differ or a table failed.
int sprawdz_pozycje_dokumentu(int kind);
// Deletes the lines of the current header, giving their stock back. 0 all
// deleted; 1 a give-back was refused: that line and the ones after it stay,
// and so must the header (the operator was told); -1 a table error.
int usun_pozycje_dokumentu(int rejestr);
