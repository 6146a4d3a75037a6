// The three dates of a sales header (issue DAW, sale DAS, VAT DAV): the
// validators of their entries and the rule that derives the VAT date. They
// work on the current header of the register; the derivations run only while
// a new document is entered, a stored one is only checked.
#pragma once

struct Get4;

// 0 accept, 1 refuse.
int waliduj_date_wystawienia(Get4* get);
int waliduj_date_sprzedazy(Get4* get);
// 0 accept, -1 refuse.
int waliduj_date_vat(Get4* get);
// Derives DAV from the kind, the delivery type and the other dates, and
// redraws the form; 0.
int ustal_date_vat();
// The two rule sets of the VAT date ("CCYYMMDD"); 0 accept, -1 refuse.
int sprawdz_date_vat(const char* date);
int sprawdz_date_vat_mp(const char* date);
