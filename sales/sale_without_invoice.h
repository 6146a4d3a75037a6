// The sale without invoice (kind 5, BR), usually a monthly cash-register
// report: its own window over the header instead of the header form, the new
// header with its defaults, its save and its default descriptions.
#pragma once

// " Dopisz " (0) or " Opis " (1) of a BR: runs the window. The key that
// ended it (F2 when saved); 0 when an add was abandoned before it opened or
// the list is empty.
int okno_sprzedazy_bezrachunkowej(int modify);
// Fills and appends a new BR header; 0, or -1 when the append failed.
int nowa_sprzedaz_bezrachunkowa();
// The save of a new BR with its lines; 0, or -1 (the lines and the header
// are then deleted).
int zapisz_nowa_sprzedaz();
// NA1, OP1 and OP2 by the sub-kind RE5 for the month of `date` ("CCYYMMDD").
void opisy_sprzedazy_bezrachunkowej(const char* date);
// The preview: the window over the current BR, display only. The key that
// closed it.
int podglad_sprzedazy_bezrachunkowej();
