// Pickers over the common catalogues that the frame's forms offer on F4.
#pragma once

struct Wiget;
struct WigetEvent;

// Event routine of a country field: the hint "F4" "Lista" while the field
// has the cursor; F4 opens the countries list and stores the chosen
// country's name in the field. Returns 0.
int kraj_pole_f4_lista(WigetEvent* event, Wiget* element, void* formData);
