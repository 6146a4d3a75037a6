// New sales documents made from one document of the register: the invoice
// from a pro forma (" Faktura do Proformy "), the copy (Ctrl+C) and the
// correction (" Koryguj "). Each passes through the work copies and leaves
// no link of its source in the new document but those it is made by.
#pragma once

// " Faktura do Proformy ": the pro forma under the cursor becomes an invoice,
// a bill or an invoice to receipts. 0.
int faktura_do_proformy();
// 0: Ctrl+C, a copy of the document under the cursor; 1: " Koryguj ", its
// correction. 0.
int kopiuj_lub_koryguj_dokument(int korekta);

// The appends from the open work copies, with the context's kind, number
// and new issue date: the invoice from a pro forma, and a copy or
// correction. 0 (the new header current), 1 without lines, -1 failed (what
// was begun removed again).
int dopisz_z_kopii_roboczej();
int dopisz_kopie_lub_korekte(int korekta);
// Stock rules of a line just appended: invoice from a pro forma, plain copy.
// 1 taken, 0 not, -1 failed.
int aktualizuj_stan_z_proformy();
int aktualizuj_stan_kopii();

// The kind a copy (korekta 0) or correction (1) of the current header gets;
// 0 when the current header may not be copied or corrected so.
int CopyKind(int korekta);

// The conversions without their windows, on the current header, with the
// context's number and new issue date already chosen: the whole tables
// locked, the work copies made and held, the new document appended, linked
// and given its settlement entry. 0 (the new header current), else the
// source current again.
int MakeInvoiceFromProForma(int newKind);
int MakeCopyOrCorrection(int korekta, double advance);
