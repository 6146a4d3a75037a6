#include "sales/line_code.h"

WartosciPozycji wartosciPozycji = {};
char poziomCenKontrahenta = 'A';
FiltrKoduPozycji filtrKoduPozycji = {};
