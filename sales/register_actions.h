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
