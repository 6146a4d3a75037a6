// The two header forms of a sales document (the ordinary one and the
// correction form) with their field handlers, the texts the choice fields
// show and the labels that depend on the document.
#pragma once
#include <cstdint>

struct EditCtrl;
struct TextCtrl;
struct Get4;

// Builds both forms for the register; the running register keeps them.
void buduj_formularze_naglowka(int rejestr);
// The entry and display lists of the ordinary (0) or correction (1) form.
EditCtrl* pola_formularza(int correction);
TextCtrl* teksty_formularza(int correction);
// The texts of the choice fields, the split-payment answer, the marks
// displays and the linked-number buffer, from the current header.
void odswiez_teksty_formularza();
// Which entries a new or a stored document of the kind may reach.
void uklad_formularza_nowego(int kind, int correctedKind);
void uklad_formularza_modyfikacji(int kind);
// Draws the labels that depend on the document (after the form is shown).
void etykiety_formularza_naglowka();

// The key routine of the free-text fields: F4 and F5 open the lines.
int klawisz_pozycji(Get4* get, char* buffer, int32_t data);
