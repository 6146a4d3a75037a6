// Sums of the sales register per account: the accepted lines added up per
// account in Z5KONTE, then copied in account-number order into Z5KONTES with
// optional subtotals of the number's first one or three characters.
#pragma once

struct ZrodloRejestruVat;

struct OpcjeSumKont {
  double (*kurs)();   // factor of the current line's amounts (the chosen conversion)
  int pro_forma;      // the "faktura PRO FORMA" filter item is on
};

// Running net, VAT, net + VAT and gross.
constexpr int KONTA_KWOTY = 4;

// Fills Z5KONTE (open, created anew) from the accepted lines and, when any
// line was accepted, appends the totals row; 0 or -1.
int sumuj_konta_rejestru(const ZrodloRejestruVat* source, const OpcjeSumKont* options);
// One line into its account's row; 0 or -1.
int sumuj_pozycje_na_koncie(double* totals, const OpcjeSumKont* options);
// A new account row for identifier `rec` (99999: lines without an account),
// named from the positioned accounts catalogue record.
int dopisz_konto_sumy(long rec);
int dodaj_pozycje_do_konta(double net, double vat, double gross);
int dopisz_sume_kont(const double* totals);
// Copies Z5KONTE in account-number order into Z5KONTES (open, created anew);
// grouping 0 none, 1 by the first character, 2 by the first three, 3 both.
// 0 or -1.
int przepisz_konta_z_grupami(int grouping);

struct TabuColumn;
// The tabulogram columns of Z5KONTES.
void kolumny_struktury_kont(TabuColumn* columns, int size);
// The list of Z5KONTES (open) under the title, its " Drukuj " printing it with
// the subtitle and the name column `nameWidth` wide; the list's result.
int pokaz_liste_kont(const char* title, const char* subtitle, int nameWidth);
// The list of Z5KONTES (open) under the title of register 1 (main) or 2,
// with " Drukuj " printing it; the list's result.
int pokaz_strukture_kont(int flag, int rejestr);
// Creates Z5KONTES, copies Z5KONTE (open) into it with the grouping and
// shows it; 0 or -1.
int zbuduj_strukture_kont(int grouping, int flag, int rejestr);
// " Konta " of the running VAT register (its lines locked by the caller):
// the grouping asked, the sums built and shown; 0 (also when the operator
// cancels) or -1.
int sumy_wg_kont();
