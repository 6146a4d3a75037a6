// The buyer of a sales document: the contractor code and NIP fields of the
// header with their pickers, the values taken over from the chosen
// contractor for the lines and the payment defaults, and the status texts
// of the tax-number checks.
#pragma once
#include <cstdint>

struct Get4;

// Taken over from the contractor chosen for the document being entered,
// besides the discount and the price level the lines keep.
struct DaneNabywcy {
  int32_t paymentDays; // ILD
  int32_t kind;        // TKO with option 126, else 0
};
extern DaneNabywcy daneNabywcy;
void zeruj_dane_nabywcy();

// Field-set kinds of the contractor code field.
constexpr int POLE_NAGLOWKA = 2, POLE_FILTRA = 7, POLE_WYKRESU_KONTRAHENTA = 10;

// Key routine of a contractor code field: F4 list, Alt+K clears, Ctrl+O
// pastes the clipboard (header only).
int pole_kontrahenta(Get4* get, char* buffer, int32_t kind);
// Validator of that field: fills the buyer from the contractor; 0 or -1.
int waliduj_kontrahenta(Get4* get);
// The pick list's filter: buyers and contractors without a type; 45 or 40.
int filtr_kontrahentow_dokumentu(intptr_t data);
// Key routine of the header's NIP field: F6 GUS, F7 by NIP, F8 the check.
int pole_nip_nabywcy(Get4* get, char* buffer, int32_t kind);
// The buyer from the contractor of this NIP; 0 found, -1 not.
int kontrahent_wg_nip(int unused, const char* nip, int length);
// The buyer of an earlier document with this NIP; 0 taken, 1 none, -1 error.
int nabywca_z_dokumentu(int unused, const char* nip, int length);
// The extras of the contractor of the code; 0, -1 unknown.
int kontrahent_wg_kodu(int unused, const char* code, int length);
// The extras of the current contractor record.
void przejmij_dane_kontrahenta();
// " Kontrahent " of the register: the current document's buyer added to
// the contractors; 0, or -1 when the header could not be written.
int dopisz_kontrahenta_z_dokumentu();
// Alt+F8 of the register: the NIP of every listed document against the
// public registers, with counters in the window "Sprawdzanie NIP".
void sprawdz_nip_dokumentow();
// The text of a tax-number check status.
const char* opis_statusu_nip(int status);
