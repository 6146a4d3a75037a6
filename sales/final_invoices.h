// Final and collective invoices (" Dodaj " of the main register): advance
// invoices, pro formas or advances to receipts of the auxiliary register,
// picked one by one, gathered into one invoice of the main register with
// their lines, payments and recipient, each linked to it.
#pragma once

// " Dodaj ". 0.
int dodaj_fakture_koncowa();

// Creates the final invoice of the run from the auxiliary header `recZrodla`
// (record number) with its lines and recipient; the invoice is the current
// main header afterwards. Its record number, or -1 (nothing of it is left).
long utworz_fakture_koncowa(long recZrodla, int z_zaliczek, int z_zaliczek_do_paragonow);
// Adds the lines of the auxiliary header `recZrodla` to the invoice
// `recFaktury` (record numbers). 0, 1 when the source has none, -1.
int dopisz_pozycje_do_faktury_koncowej(long recZrodla, long recFaktury, int z_zaliczek, int z_zaliczek_do_paragonow);
// Looks among the invoice's lines for one like the current auxiliary line; 1
// when the operator takes it (the invoice line current), 0 for a new line.
int szukaj_podobnej_pozycji(long recFaktury);
// The invoice's totals from its lines and its paid amount grown by the
// gathered document's; the header written. 0 or -1.
int sumy_faktury_koncowej(long recFaktury);
// Takes the goods lines of the invoice out of stock. 0.
int aktualizuj_stan_faktury_koncowej(long recFaktury);

// One gathered document without the windows: `choice` 1 advances, 2 pro
// formas, 3 advances to receipts; `recFaktury` 0 creates the invoice. The
// context holds the kind, number and new date. The source is linked and the
// totals recomputed. The invoice's record number, or -1.
long GatherDocument(int choice, long recZrodla, long recFaktury);
