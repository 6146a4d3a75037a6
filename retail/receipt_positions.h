// The positions of a retail receipt: the positions window with its hooks,
// the catalogue pickers and code checks of its code slot, the net and gross
// calculators of its amount slots, and the totals of a receipt with the
// summary correction per VAT rate. Everything works on the current header
// of Z5PARA and the current position of Z5PARE.
#pragma once
#include <cstdint>

struct Get4;

namespace retail {

// ---- totals and the summary correction

// Rows of the correction table, each indexed by the VAT-rate code 1 to 13.
enum WierszKorekty {
  KOREKTA_NETTO = 1,          // net sum of the code's positions
  KOREKTA_VAT,                // their VAT sum
  KOREKTA_BRUTTO,             // their gross sum
  KOREKTA_STAWKA,             // the rate of the last of them
  KOREKTA_NETTO_Z_SUMY,       // net from the gross total
  KOREKTA_VAT_Z_SUMY,         // VAT from the total
  KOREKTA_BRUTTO_Z_SUMY,      // gross from the net total
  KOREKTA_ROZNICA_NETTO,
  KOREKTA_ROZNICA_VAT,
  KOREKTA_ROZNICA_BRUTTO,
};
constexpr int KOREKTA_WIERSZE = 11;   // row 0 unused
constexpr int KOREKTA_KODY = 14;      // code 0 unused
extern double tablica_korekty[KOREKTA_WIERSZE][KOREKTA_KODY];

// Net, VAT and gross sums of the positions of a receipt.
enum { SUMA_NETTO, SUMA_VAT, SUMA_BRUTTO };
extern double sumy_pozycji[3];

// The name of a correction position.
extern const char* const NAZWA_KOREKTY;   // "KOREKTA PODSUMOWANIA"

// Recomputes the receipt's VAT per rate from the rounded totals and keeps one
// correction position per rate for the difference. 0 done; -1 a table
// error; the lock's result when the positions cannot be locked.
int korekta_podsumowania();
// The correction position(s) of `code` deleted (0) or set to the code's
// differences (0; -1 when it cannot be written or appended).
int usun_korekty_stawki(int code);
int ustaw_korekte_stawki(int code);
// sumy_pozycji from every position, corrections included; 0 or -1.
int sumuj_pozycje_paragonu();
// The header's NET, VAT and BRU against sumy_pozycji: 0 equal, -1 not.
int porownaj_sumy_paragonu();
// Stamps the header's number, date and REC into each position while summing
// them; 0, or -1 when a position cannot be read or written.
int przepisz_naglowek_do_pozycji();
// The stamp, then the comparison; -1 with a box when they differ.
int zgodnosc_paragonu();
// Deletes the positions, giving stock-taken goods back. 0 all deleted; 1 a
// give-back was refused: that position and the ones after it stay (the
// operator was told), and so must the header; -1 the first seek failed.
int usun_pozycje_paragonu();

// ---- catalogue pickers and the code slot

// Code-slot modes (the data of the slot's definition).
constexpr int KOD_PARAGONU_NETTO = 3;
constexpr int KOD_PARAGONU_BRUTTO = 4;
constexpr int KOD_FILTRU_EWIDENCJI = 5;
constexpr int KOD_WYKRESU = 8;

// What the code slot and the calculators share while a form is open.
struct StanKoduPozycji {
  int tryb;                 // code-slot mode
  int kartoteka;            // 0 not chosen, 1 goods, 2 services
  char poziomCeny;          // 'A', 'B' or 'C'
  int zPickeraTowarow;      // the code came from the goods picker
  char ostatniKod[19];      // the slot's text as last validated
};
extern StanKoduPozycji stanKoduPozycji;

// The goods filter of the position register: its name display, filled by
// the mode-5 check. Each window using sprawdz_kod_filtru has its last code.
extern char nazwaTowaruFiltru[41];
// The window's buffer (19 characters) for the filter code as last
// validated; NULL: not remembered.
extern char* ostatniKodFiltru;

// Key routine of a code slot: F4 goods, F5 services, scanner key 3 as F2.
int klawisz_kodu_pozycji(Get4* get, char* code, int32_t mode);
// The services picker: Enter with the code copied, Esc otherwise.
int wybierz_usluge(char* code);
// The goods picker, the same way (-1 when the catalogue does not open).
int wybierz_towar(char* code);
// The next price level after `level`: A, B, C, A.
char nastepny_poziom_ceny(char level);
// The starting level of receipt option 19.
char poziom_ceny_z_opcji();
// Validators: 0 accept, -1 refuse.
int sprawdz_kod_pozycji(Get4* get);
int sprawdz_kod_filtru(Get4* get);
// Load the goods or service `code` into the current position; 0 loaded
// (or the typed code kept), -1 refused.
int pobierz_towar(const char* code, int load, char level);
int pobierz_usluge(const char* code, int load);

// ---- calculators of the current position: 0 done, -1 a value refused
// (the box was shown)

// The largest net or gross value a position may reach (not included).
constexpr double MAKS_WARTOSC_PARAGONU = 1e8;

int licz_od_ceny_netto();
int licz_wartosc_netto(double value);
void licz_od_wartosci_netto();
int licz_od_ceny_brutto();
int licz_wartosc_brutto(double value);
void licz_od_wartosci_brutto();

// Validators of the amount slots: 0 accept, 1 keep the cursor. The fill
// mode (1 net, 2 gross) is the positions window's.
int ilosc_pozycji(Get4* get);
int cena_pozycji(Get4* get);
int rabat_ceny_pozycji(Get4* get);
int cena_po_rabacie(Get4* get);
int wartosc_pozycji(Get4* get);
int kod_vat_pozycji(Get4* get);
int wartosc_vat_pozycji(Get4* get);

// ---- the positions window

// The module's flags the hooks and calculators read.
extern int drukowanieFiskalne;   // positions go to the fiscal printer or display
extern int trybWypelniania;      // the header's TRY: 1 net, 2 gross

// The positions of the current receipt. view 0: a new receipt (fiscal
// output on); viewOnly 1: only " Zakończ ". The browse's result, -1 when
// the window cannot be built.
int pozycje_paragonu(int view, int fillMode, int viewOnly);
// The positions form's texts (VAT code, origin, GTU group, account number)
// from the current position; nothing while no positions window is open.
void teksty_pozycji_paragonu();
// " Rabat ": every position's discount raised; 0, -1 on a write failure.
int rabat_pozycji(int unused);
// Filter of the positions browse: the position's account made current.
int konto_pozycji(intptr_t data);
// The receipt rate menu from 2024 ("Wybierz stawkę VAT"); the chosen code,
// -1 on Esc. withMargin adds "7. ZEROWA (marża)".
int wybierz_stawke_paragonu(int current, int withMargin);
// The rate of a VAT-rate code of a receipt position: the configured rates of
// 1, 2, 8, 9 and 12, else 0.
double stawka_kodu_paragonu(int code);

// The online fiscal receipt of the receipt being entered, kept by the entry:
// `drukowany` while it prints position by position (receipt option 11 'T',
// a driver and print mode 1), `otwarty` from a successful start until it is
// ended or cancelled. The positions window of a new receipt sends its lines
// while it is open and shows them on the customer display when it does not
// print online; once cancelled, nothing more of that receipt is sent.
struct ParagonOnline {
  int drukowany;
  int otwarty;
};
extern ParagonOnline paragonOnline;
// Sends one line (a void with a negative quantity) while the printer's
// receipt is open; a refusal cancels it. 0 sent, else non-zero.
int linia_online(const char* name, int vatCode, double quantity, double price, double value);
// Cancels the printer's open receipt (DFAnuluj) once.
void anuluj_paragon_online();

}  // namespace retail
