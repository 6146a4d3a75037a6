// The contractors catalogue over "Z5KHNT": the browse with its marks and
// NIP checks, the contractor's form, the bulk NIP check over the filtered
// list, and the entry documents use to pick or add their buyer.
// kartoteka_kontrahentow itself is declared for the frame in app/module_entries.h.
#pragma once

struct Get4;

// Saves the caret and the current window around kartoteka_kontrahentow.
int kartoteka_kontrahentow_z_dokumentu();

// A document that wants its missing buyer added sets the flag and the type
// (1 to 5) before kartoteka_kontrahentow_z_dokumentu and clears the flag
// after it; the first saved append clears it too.
extern int kontrahent_z_dokumentu;
extern int typ_kontrahenta_z_dokumentu;

// Alt+F8: every NIP of the filtered list against the registers, CZV set by
// the answers; 0, or -1 when the browse could not be shown again.
int sprawdz_nip_kontrahentow();

// A validator of a NIP field that sets CZV from the text typed; always accepts.
int ustaw_czv_wg_nip(Get4* get);
