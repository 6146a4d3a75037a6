// Contractors' tax numbers against the public registers: what kind of number
// a text is, the Polish list of active VAT payers, the EU VIES system, and
// the company data of the GUS register copied into a form's fields.
#pragma once

struct DbField;
struct Get4;

// Results of sprawdz_nip_kontrahenta (the two register checks give their own subsets).
constexpr int NIP_VIES_UNREACHABLE = -1;   // VIES could not be asked
constexpr int NIP_LIST_UNREACHABLE = -2;   // the Polish list could not be asked
constexpr int NIP_LIST_UNEXPECTED = -3;    // the Polish list answered something unknown
constexpr int NIP_IS_PESEL = -4;
constexpr int NIP_UNUSABLE = -5;           // empty, malformed, not Polish nor EU, no countries
constexpr int NIP_NOT_FOUND = 0;           // neither on the Polish list nor in VIES
constexpr int NIP_VIES_FOUND = 1;
constexpr int NIP_ACTIVE = 2;
constexpr int NIP_EXEMPT = 3;
constexpr int NIP_REMOVED = 4;

// 1 for the results that make a VAT payer, for those that say no register
// was reached (the VAT-payer mark must then stay as it is).
inline bool NipIsVatPayer(int result) { return result == NIP_VIES_FOUND || result == NIP_ACTIVE; }
inline bool NipRegisterUnreachable(int result) {
  return result == NIP_VIES_UNREACHABLE || result == NIP_LIST_UNREACHABLE;
}

// Classifies the text (a PESEL first) and asks the Polish list or VIES.
// `silent` shows no box and no wait window.
int sprawdz_nip_kontrahenta(const char* nip, int silent);
// A ten-digit NIP on the Polish list: 0, 2, 3, 4, -3, or -2 when not reached.
int sprawdz_nip_vat_czynny(const char* nip, int silent);
// A number of another EU country in VIES: 1 found, 0 not, -1 not reached.
int sprawdz_nip_vies(const char* countryCode, const char* number, int silent);

// The fields the GUS data go into; from postalCode on any but town and
// street may be NULL.
struct GusTargets {
  DbField* name1;
  DbField* name2;
  DbField* postalCode;
  DbField* town;
  DbField* street;
  DbField* postOffice;
  DbField* country;
  DbField* phone;
  DbField* fax;
  DbField* www;
  DbField* email;
};

// Looks the NIP up in the GUS register and copies the company's name and
// address into the targets: at once for a new record, after the comparison
// window "Dane pobrane z GUS" (F2) while a browse record is modified. With a
// get and its edit buffer the first name line also goes into that buffer.
// A leading "PL" or "PL " is removed from `nip` in place. 0 copied, saved
// with F2, or the register not reached; -1 not a Polish NIP or unknown to
// the register; otherwise the key that closed the window.
int szukaj_nip_gus(char* nip, Get4* get, char* editBuffer, const GusTargets* targets);
