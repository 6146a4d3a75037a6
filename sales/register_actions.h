// Actions of the sales register's menus that other modules share: the
// printout or duplicate of the current document and the seek of a
// document's recipient.
#pragma once

// " Dokument " (0) and " Duplikat " (1): prints the current header of the
// register; a printed duplicate stores its date in DDU. The printout's result.
int drukuj_dokument_z_rejestru(int duplicate);
// Seeks the recipient of the header record in Z5SPRO on
// STR(register,1,0)+STR(record,7,0); 0 found (the record is current), else
// the seek's code.
int szukaj_odbiorcy(int rejestr, long record);

// Write step after a header change: writes the current header under a lock
// of the lines table and carries it into the lines, checking the totals. 0,
// or -1 when the lock, the write or the check failed.
int zapisz_naglowek_z_pozycjami();
// Ctrl+X: FV becomes MP with its VAT date 179 days after the sale, MP becomes
// FV with the VAT date of issue, after the operator's yes. 0.
int zamien_fakture_maly_podatnik(int rejestr);
// Ctrl+F (6) swaps FV and FP, Ctrl+J (10) MP and FP, after the operator's
// yes; other kinds are left alone. 0.
int zamien_rodzaj_faktury(int key);
// Ctrl+F on an advance invoice of the auxiliary register: 11 and 10 swap,
// then a box says so. 0.
int zamien_rodzaj_zaliczkowej(int kind);
// Gives every line of the current header the delivery type and its rate
// (OSS rates by the header's country) and stores the summed lines in NET,
// VAT and BRU; the header is written by the caller. 0, or -1 on a table error
// (reported; the totals are then those of the lines as they stand).
int przelicz_pozycje_dla_typu_dostawy(int type);
// Ctrl+T: a new delivery type (and for a foreign type a country when the
// document has "POLSKA" or none), the lines re-rated. 0.
int zmien_typ_dostawy(int key, int unused);
// Ctrl+V: a new VAT date of the current document, carried into its lines. 0.
int zmien_date_vat();
// " Numer " (-1): a new number within the document's numbering; Ctrl+N (0):
// the document goes over to the other numbering, structured or free. The
// number is stored under a lock of the headers table once it is found free
// there too. The browse's redisplay.
int zmien_numer_dokumentu(int z_menu);
// " Pozycje ": the lines of the current document edited under its header
// lock (read-only for a final invoice or one that has its final invoice),
// the settlement entry refreshed. 0, or -1 when the lock, the line editing
// or the header write failed.
int modyfikuj_pozycje_dokumentu(int rejestr);
