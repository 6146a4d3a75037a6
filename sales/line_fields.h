// The arithmetic of a sales line: the handler of each amount field of the
// line form, run when the operator leaves the field, keeps quantity, prices
// before and after the discount, VAT and the values consistent, in the net
// chain (TRY 1) or the gross chain (TRY 2), and the correction twins in
// theirs. Each works on the current line of the lines table, redisplays the
// form's gets when it is given one, and returns 0, or non-zero when a value
// was refused (the operator stays in the field).
#pragma once

struct Get4;

// The largest net or gross value a line may reach (not included).
constexpr double MAKS_WARTOSC_POZYCJI = 1e8;

int waliduj_ilosc(Get4* get);
int przelicz_od_ceny_netto(Get4* get);
int przelicz_od_ceny_brutto(Get4* get);
// The price after discount: the value ILO x CNR (net) or ILO x CBR (gross).
int ustaw_wartosc_z_ceny_netto(Get4* get);
int ustaw_wartosc_z_ceny_brutto(Get4* get);
int ustaw_wartosc_netto(double value);
int ustaw_wartosc_brutto(double value);
int przelicz_vat_od_netto(Get4* get);
int przelicz_brutto_pozycji(Get4* get);
int przelicz_od_brutto(Get4* get);
int netto_z_brutto(Get4* get);
int przelicz_marze(Get4* get);
// The compact form's value-only line: quantity 1, prices from the values.
void ustaw_pozycje_wartosciowa();
void ustaw_korekte_wartosciowa();
// Entered value fields of the compact form: the value-only line first.
int wartosc_netto_skrocona(Get4* get);
int wartosc_brutto_skrocona(Get4* get);
// VAT value of a gross document: the margin rule with a purchase value.
int vat_brutto_pozycji(Get4* get);

int waliduj_ilosc_korekty(Get4* get);
int przelicz_korekte_od_ceny_netto(Get4* get);
int przelicz_korekte_od_ceny_brutto(Get4* get);
int przelicz_vat_korekty_od_netto(Get4* get);
int przelicz_brutto_korekty(Get4* get);
int przelicz_korekte_od_brutto(Get4* get);
int netto_korekty_z_brutto(Get4* get);
int korekta_netto_skrocona(Get4* get);
int korekta_brutto_skrocona(Get4* get);
int wartosc_zakupu_korekty(Get4* get);

// Form captions by the document (net or gross, correction, books, accounts,
// margin), written into the form's background lines before it is shown.
void opis_formularza_pozycji(char* lines);
