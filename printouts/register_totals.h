// The totals of the sales VAT register by VAT rate and document class, summed
// from the lines the register's filters accept.
#pragma once

struct ZrodloRejestruVat;

// Classes of the totals: documents, sales without invoice, corrections.
constexpr int KLASA_DOKUMENTY = 0, KLASA_BEZ_RACHUNKOW = 1, KLASA_KOREKTY = 2, KLASY_SUM = 3;
// Rate groups with net, VAT and gross: rate codes 1; 2 and 12; 8; 9.
constexpr int GRUPY_STAWEK = 4;
constexpr int RYCZALT_KODY = 10;   // by lump-sum code 1 to 9

struct sumy_rejestru_vat {
  double stawki[GRUPY_STAWEK][KLASY_SUM][3];   // net, VAT, gross
  double zerowa_kraj[KLASY_SUM];
  double zerowa_eksport[KLASY_SUM];
  double zwolniona[KLASY_SUM];
  double bez_stawki[KLASY_SUM];
  double nie_podlega[KLASY_SUM];
  double nie_podlega_z_odliczeniem[KLASY_SUM];
  double netto, vat, brutto;
  double ryczalt[RYCZALT_KODY];
  double opodatkowana, zwolniona_struktura, razem_struktura, udzial, poza_struktura;
};

// The register's filter item "faktura PRO FORMA" is on: pro forma lines count
// as documents. With `kontrola` (the operator asked for the register check)
// a line whose document header is missing asks whether to go on;
// `przerwano` tells afterwards that the operator stopped there.
struct OpcjeSumRejestru {
  int pro_forma;
  int kontrola;
  int przerwano;
};

void zeruj_sumy_rejestru(sumy_rejestru_vat* sums);
// Adds the current line (its header sought by the link) to the block.
void sumuj_pozycje_rejestru(sumy_rejestru_vat* sums, const ZrodloRejestruVat* source, const OpcjeSumRejestru* options);
// One side of a correction under a rate code, into the corrections class.
void sumuj_korekte_wg_stawki(sumy_rejestru_vat* sums, int code, double net, double vat, double gross);
void dodaj_ryczalt_do_sum(sumy_rejestru_vat* sums, double net, int code);
// Clears the block and sums every accepted line of the current lines table,
// then works out the share of taxed sales; 0 or -1 on a table error.
int licz_sumy_rejestru(sumy_rejestru_vat* sums, const ZrodloRejestruVat* source, OpcjeSumRejestru* options);
// The register check of one line: 0 when its header exists or the operator
// goes on past the missing one, -1 when he stops with Esc.
int sprawdz_naglowek_pozycji();

// The totals form of an accounting year: 47 to 2020, 181 in 2021, 190 in 2022
// and 2023, 77 from 2024; its lines and columns.
int formularz_sum_rejestru(int year);
int wiersze_formularza_sum(int form);
int kolumny_formularza_sum(int form);
// Writes the block's amounts into a blank page of the form's size.
void wypelnij_strone_sum(const sumy_rejestru_vat* sums, char* page, int form);

// " Suma " of the VAT register: the totals on the year's form in the viewer,
// printed on F2 (report "SUM"); `check` 1 with the register check. Before
// 2024 and from 2024. 0, or -1 (lock refused, summing failed or stopped).
int sumy_rejestru_sprzedazy(int check);
int sumy_rejestru_sprzedazy_2024(int check);
