// The printers' auxiliary functions: the small prompts of their service
// menus and the two status windows (the menus themselves are entries of the
// retail menu).
#pragma once

// Each 0 after Enter, -1 otherwise (the field keeps its value).
int DFWplataOrhmet();
int DFWplataPosnet();
int DFWyplataOrhmet();
int DFWyplataPosnet();
// The ELZAB minutes, -59..59; a value outside shows "Błąd zakresu." and gives -1.
int DFKorektaCzasu();
int DFDataCzasPosnet();
int DFDataCzasTpLine();
void PosnetStatusOkno();
void SparkStatusOkno();
