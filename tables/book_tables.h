// The firm's books of a given year: the income and expense book "Z5DANE",
// the flat-rate register ("Z5RYPR" from 2022, "Z5RYCZ" before) and their
// monthly totals ("Z5STAK"; "Z5STRB" from 2022, "Z5STRY" before), which
// always hold 13 records. Every opener needs a real year: 0 is refused.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5DANE, Z5RYPR, Z5STAK, Z5STRB;
// The year whose digits the open totals tables bear, for the posting code.
extern int Z5STAKYear, Z5STRBYear;

constexpr int TOTALS_RECORDS = 13;
constexpr int NEW_FLAT_RATE_YEAR = 2022;

int OpenZ5DANE(int year, int flags);
int OpenZ5RYPR(int year, int flags);
// Open, or create and seed when missing or of another record count; 0 or -1.
int OpenZ5STAK(int year);
int OpenZ5STRB(int year);
