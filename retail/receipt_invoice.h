// The invoice issued to a receipt: its GTU and procedure marks in the buyer
// record's RE1, its page printouts and the plain receipt printout, the buyer
// form, its number and its payment.
#pragma once
#include <cstdint>

struct DbField;
struct Get4;

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

// ---- the invoice and its buyer

// " Faktura ": "Dokument VAT już przydzielony !" on a receipt with an
// invoice, else `faktura_do_paragonu`; 0.
int32_t faktura_z_menu(int32_t item);
// The number window of a new invoice, then the buyer form; F2 writes the
// buyer record and the number (checked again under the headers' lock) and
// opens the print chooser on the invoice; Esc writes nothing.
int faktura_do_paragonu();
// The next number of options 3 and 4 proposed and accepted free: 0, else -1.
int numer_faktury_do_paragonu();
// " Opis " > " Faktura ": the buyer form of a saved invoice; 0.
int edytuj_dane_faktury();
// Ctrl+P: an amount paid towards the invoice added to KZA, ZAP recomputed.
int platnosc_faktury();
// The buyer form: its state made ready (0), and run over the record buffers
// (0 left with F2, -1 not).
int formularz_faktury();
int wypelnij_dane_faktury();
// The current receipt's buyer record found (0) or blanked as a new one (0),
// or the seek's error. `zapisz_dane_faktury` writes or appends it; 0 ok.
int szukaj_danych_faktury();
int zapisz_dane_faktury();
// Mode 1 of `pobierz_nabywce`: the contractor of the buyer code into the
// buyer record; 0, or -1 when it is unknown.
constexpr int NABYWCA_FORMULARZA = 1;
int pobierz_nabywce(int mode);
// The picker's filter: contractors of types 1, 4, 5 and inactive ones are hidden.
int nabywca_dozwolony(intptr_t data);
// Slots of the buyer form.
int klawisz_kodu_nabywcy(Get4* get, char* buffer, int32_t mode);
int sprawdz_kod_nabywcy(Get4* get);
int klawisz_nipu_nabywcy(Get4* get, char* buffer, int32_t data);
int klawisz_formy_platnosci(Get4* get, char* buffer, int32_t data);
int klawisz_konta_zaplaty(Get4* get, char* buffer, int32_t data);

}  // namespace retail
