// The sales summary: the documents the sales register's filters accept,
// counted and summed by kind on one page (with the income-book or flat-rate
// split of the firm), shown in the page viewer and printed from it with F2.
#pragma once
#include <cstdint>

// Rows of the amounts; columns 1 to 11 are the kinds.
constexpr int PODS_NETTO = 0, PODS_VAT = 1, PODS_BRUTTO = 2, PODS_ZAPLACONO = 3, PODS_KOREKTA_NETTO = 4,
              PODS_KOREKTA_VAT = 5, PODS_WIERSZE = 6;
constexpr int PODS_KOREKTY = 19, PODS_SPRZEDAZ = 20, PODS_RAZEM = 21, PODS_KOLUMNY = 22;
constexpr int PODS_RODZAJE = 23;

// A box of its own before 2024: net, VAT, gross (corrections: VAT) and paid.
struct grupa_podsumowania {
  double kwoty[4];
  int32_t liczba;
};

struct sumy_podsumowania {
  double kwoty[PODS_WIERSZE][PODS_KOLUMNY];
  int32_t liczby[PODS_RODZAJE];
  grupa_podsumowania pro_forma, do_paragonow, zaliczkowe, korekty_zaliczkowych, zaliczkowe_do_paragonow;
  double kpir[4][PODS_KOLUMNY];
  double ryczalt[10][PODS_KOLUMNY];
};

// The sums of the last run (cleared at the start of every run).
extern sumy_podsumowania sumyPodsumowania;

// The summary of the register (1 main, 2 auxiliary) over the headers the
// top browse's scan accepts, from 2024 and before 2024. 0 when finished
// (also after Esc in the currency menu or "Błąd dokumentów !"), -1 when
// the lines of a document could not be summed or a totals mismatch was
// answered with Esc. The caller locks the headers and lines.
int podsumowanie_sprzedazy_2024(int rejestr);
int podsumowanie_sprzedazy(int rejestr);

// " Suma " of the sales register: the filter window, both tables locked,
// the summary of the working year's variant, then the filters' question.
int suma_rejestru_sprzedazy();
