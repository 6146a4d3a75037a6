// The register of exported files "Z5DEKL": the kind codes and names, the
// version a new JPK file gets (asking before a further version of a sent
// one), the entry of an exported file, and the deletion of an entry.
#pragma once

constexpr int KOD_JPK_FA = 101;

// The eight-character name of a kind code ("JPK_FA  "), blanks for an unknown code.
const char* nazwa_deklaracji(int kod);

// Expects Z5DEKL and Z5PAWL open. The version of the new file of the own
// firm's NIP: 0 with no entry, the first unsent entry's, or one past the
// last sent one after the operator confirmed each; -1 on Esc.
int sprawdz_eksport_jpk(int kod, int rok, int miesiac, int);
// Adds (or rewrites, for the same version) the entry of the file; dates
// "CCYYMMDD", directory NULL for the current one. The entry's record number.
long zapisz_eksport_jpk(int kod, int rok, int miesiac, int wersja, const char* plik, const char* od,
                        const char* do_, const char* katalog);
// The same with the purpose CEL of a new entry given.
long zapisz_wpis_rejestru(int kod, int rok, int miesiac, int wersja, int cel, const char* plik, const char* od,
                          const char* do_, const char* katalog);
// Deletes record n of Z5DEKL when 1 <= n <= its count: 0, else -1.
int usun_wpis_rejestru_eksportu(long n);
