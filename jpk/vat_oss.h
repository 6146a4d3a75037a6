// The VAT-OSS register "Z5VOSS": one record per line of the OSS sales
// documents of a month (two for a correction that changes the rate), rebuilt
// month by month from the sales register, completed by hand with the
// additional information of the OSS return, browsed with filters by quarter,
// month and country and printed as a tabulogram.
#pragma once

// The sales register's " VAT-OSS " item: Z5VOSS and Z5PAWL open, the
// register's headers and lines in the first sales set. Always 0.
int ewidencja_vat_oss(int);

// " Dopisz ": the month chosen (with the overwrite question), then rebuilt.
int dopisz_miesiac_vat_oss();
// The month window "MIESIĄC EWIDENCJI VAT OSS": the month, or -1.
int wybierz_miesiac_vat_oss();
// Rebuilds month `miesiac` of the working year under the locks of the sales
// headers and lines and the whole-table lock of Z5VOSS: the documents taken,
// -1 when a lock was refused (nothing changed), -2 after a write error (the
// month left empty).
int buduj_miesiac_vat_oss(int miesiac);
// "INFORMACJE DODATKOWE" of the current record: editable, or only shown.
int informacje_dodatkowe_vat_oss(int tylko_podglad);
// The filters, the tabulogram "Z5VOSS" of the browsed records, the question
// about removing the filters.
int drukuj_vat_oss();
