// Tables of the installation and the firm: the firms "Z5KATA", the operator-
// to-firm pairs "Z5KAPA" and the operators "Z5PASS" and "Z5PAOS" in the
// program directory, and the own firm's data "Z5PAWL" (one record).
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5KATA, Z5KAPA, Z5PAWL;

int OpenZ5KATA(int flags);
int OpenZ5KAPA(int flags);
// Into the caller's handle record; 0, or -1 for any failure.
int OpenZ5PASS(TableHandles* handles, int flags);
int OpenZ5PAOS(TableHandles* handles);
// Opens (creating when missing, without the structure check) and makes sure
// it holds its record, positioned on it; 0 or -1.
int OpenZ5PAWL();
// CNS of the current record, 'N' when blank.
char FirmaFlagCNS();
// NA1, NA2 and NIP of the current record into the Environment's owner fields.
void CopyFirmHeaderToEnvironment();
