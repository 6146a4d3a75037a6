// The common countries and tax offices tables get their first records when
// they are created: the official code lists compiled into the program.
#pragma once
#include "tables/opening.h"

struct DbTable;

// Opens the table of `spec` (no year); when it did not exist, creates it and
// fills it with `seed`. The opener's result; -1 also when the seeding failed.
int OpenSeeded(const TableSpec& spec, int flags, int (*seed)(DbTable*));
// The countries: code KKR, Polish name KRA, SUE 'T' for the Union's members.
int SeedCountries(DbTable* table);
// The tax offices: the four-digit code XML, the name NAZ and, cut, SKN, KOD
// the running number.
int SeedTaxOffices(DbTable* table);
