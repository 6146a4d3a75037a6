// The period window "ZA OKRES": the operator's from and to dates of a report
// or an export, kept in one record of the program.
#pragma once

struct okres_raportu_t {
  char od[9];        // "CCYYMMDD"
  char do_[9];
  double do_dnia;    // julian day numbers, 0 for a blank date
  double od_dnia;
};
extern okres_raportu_t okres_raportu;

// Asks for the period, the first of the current month to the current date
// proposed; 0 confirmed with Enter (the record filled), -1 otherwise.
int podaj_okres();
// The day numbers of the record's two dates (0 for a blank one).
void przelicz_okres_raportu();
