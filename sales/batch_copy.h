// " Kopiuj " of the register's " Menu ": every document of one kind issued
// within a date range issued again on one new date, numbered on from a
// first number, through the work copies, into the running register of the
// working year or of the new date's year.
#pragma once
struct Get4;

// The dates of one run, "CCYYMMDD".
struct KopiowanieDokumentow {
  char from[9];
  char to[9];
  char newDate[9];
};
extern KopiowanieDokumentow kopiowanieDokumentow;

// The menu action with its window "KOPIOWANIE DOKUMENTÓW SPRZEDAŻY". 0.
int kopiuj_dokumenty_sprzedazy();
// Window routines: the kind, the range end, the new date, the first number.
int po_zmianie_rodzaju_kopii(Get4* get);
int po_dacie_do_kopii(Get4* get);
int po_nowej_dacie_kopii(Get4* get);
int sprawdz_pierwszy_numer_kopii(Get4* get);

// Gathers the documents of the context's kind within the range into the open
// work copies, leaving out those a copy is refused for. 0, 1 none, -1.
int zbierz_dokumenty_do_kopii();
// Appends the gathered documents as new ones: target 0 the register's
// tables, 5 another year's in the second set. Every number is checked in
// the target first; a taken one copies nothing. The number copied, or -1.
int kopiuj_dokumenty_z_kopii(int target);

// Steps after the window: the lock, the work copies, the gathering and the
// copy into the new date's year, with their messages. The number copied, or
// -1.
int CopyChosenDocuments();
