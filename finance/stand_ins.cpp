// Stand-ins of the cash, payment and bookkeeping-link services until they
// are built: the browses show their tables plainly; the interest
// computation and the exchange with the bookkeeping program say they are
// not available yet.
#include "app/module_entries.h"
#include "app/stand_in_screens.h"
#include "db/dbf_table.h"
#include "finance/interest.h"
#include "tables/cash_tables.h"

int ObliczOdsetki(const char*, const char*, double) {
  NotAvailableYet("OBLICZENIE ODSETEK");
  return -1;
}

// Callers take the negative result as a failed computation.
int LiczOdsetki(const char*, const char*, double, double* taxInterest, double* statutoryInterest, int* days) {
  *taxInterest = *statutoryInterest = 0;
  *days = 0;
  NotAvailableYet("Odsetki");
  return -1;
}

int StopyOdsetekUstawowych() {
  PlainBrowse(Z5ODUS, "ODSETKI USTAWOWE");
  return 0;
}

int StopyOdsetekPodatkowych() {
  PlainBrowse(Z5ZAPO, "ODSETKI PODATKOWE");
  return 0;
}

int DniWolne() {
  PlainBrowse(Z5DNWO, "DNI WOLNE");
  return 0;
}

int Przelewy() {
  PlainBrowse(Z5PLEW, "PRZELEWY");
  return 0;
}

int EksportDoKsiegowosci() { return NotAvailableYet("Eksport"); }

int ImportZKsiegowosci() { return NotAvailableYet("Import"); }
