// Payments of sales documents: the cash request of the current header, its
// cash entries (KP, KW, bank statement, sum of advances), its settlement
// entry, and the payment windows of the register (" Płatność ", Ctrl+K,
// Ctrl+P, " KP ", after the printout and after the save).
#pragma once

#include "finance/payments.h"

// Builds the cash request of the current header. With `zapisz` writes its
// entry to the open cash book at once (the whole amount due when `kwota` is
// 0, nothing when that is 0); else opens the cash book of the document with
// `kwota` as the paid amount. 0.
int platnosc_kasowa_dokumentu(int zapisz, double kwota, int suma_zaliczek);
// The request of an entry paying the whole amount due of the current header
// at once (bank 1 for a statement without one).
void platnosc_calej_kwoty(PlatnoscKasowa* request);
// Appends one cash entry of the request, numbered under a lock of the whole
// cash book, and stores its amount and reference in the header (under the
// header's lock). With `komunikat` says "Dopisano do kasy.". 0, or -1 when
// a lock was refused or a write failed.
int dopisz_platnosc_do_kasy(PlatnoscKasowa* request, int komunikat);
// Writes the settlement entry of the current header: always with `wymus`,
// or while it is not settled, or when the entry already exists; nothing for
// a document with nothing due. The result of the write, or 1 when skipped.
int zapisz_rozliczenie_dokumentu(int wymus);
// " Płatność " and Ctrl+K: the cash book of the current document.
int kasa_dokumentu();
// Ctrl+P: the payment window of the current document. 0.
int wprowadz_platnosc(int rejestr);
// " KP ": a cash receipt of the current document with its printout. 0.
int wplata_kp_dokumentu();
// After the printout offered at save: the cash payment window.
void platnosc_po_wydruku();
// Appends a KP (amount > 0) or KW of the current document under a lock of
// the whole cash book, passes it to the document and prints it. 0, or -1
// when the lock was refused.
int zapisz_wplate_gotowkowa(const char* data, double kwota);
// The payment steps after a document is saved: the payment window when the
// printout was accepted, the automatic cash entry of a paid document, and
// the settlement entry.
void platnosci_po_zapisaniu(int wydrukowano);
