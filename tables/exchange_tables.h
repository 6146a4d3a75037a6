// Tables written for another program, another installation or one printout
// run: copies of the live tables in a given directory, the warehouse and
// stocktaking exports, and the per-run export tables created anew each time.
#pragma once
#include "tables/catalogue.h"

// Copies bind only what the exchange reads, by name, in this order:
// headers REC DAW TYV NRV PRE POS OSM NIP RE4; lines REC REK; contractor data
// REK; cash book and settlements TYZ ROK REK; accounts NAZ NUM; contractors
// KOD NIP; descriptions KOD; own firm NA1 SKN NIP.
extern TableHandles SprzCopy, SpreCopy, SoexCopy, KasaCopy, RozlCopy, KontCopy, KhntCopy, OpisCopy, PawlCopy;
extern TableHandles Z5MAEX, Z5EMEX, Z5SPISEX;
extern TableHandles Z5ESPP, Z5ESZT, Z5ESMA, Z5KONTE, Z5KONTES, UeTmp, UeErr;

// The year is the working year with create 1; otherwise the year given, which
// must not be 0. The pattern receives the year's digits. Created anew, the
// sales copies are held by this workstation alone until closed (another's
// create fails meanwhile). 0 or -1.
int OpenZ5SPRZCopy(char* pattern, int create, const char* directory, int year);
int OpenZ5SPRECopy(char* pattern, int create, const char* directory, int year);
int OpenZ5SOEX(int create, const char* directory, int year);
int OpenZ5KASACopy(const char* fileName, int create, const char* directory);
int OpenZ5ROZLCopy(const char* fileName, int create, const char* directory);
int OpenZ5KONTCopy(const char* fileName, int create, const char* directory);
int OpenZ5KHNTCopy(const char* fileName, int create, const char* directory);
int OpenZ5OPISCopy(const char* fileName, int create, const char* directory);
int OpenZ5PAWLCopy(const char* fileName, int create, const char* directory);
// The directory text must end with a backslash: the name follows it directly.
int OpenZ5MAEX(int create, const char* directory);
int OpenZ5EMEX(int create, const char* directory);
int OpenZ5SPISEX(int create, const char* directory);

// Created anew in the current directory; 0 or -1.
int CreateZ5ESPP();
int CreateZ5ESZT();
int CreateZ5ESMA();
int CreateZ5KONTE();
int CreateZ5KONTES();
int CreateUeTmp();
int CreateUeErr();
// Deletes the closed Z5ESPPyy table of the last creation (its index stays); 0 or -1.
int RemoveZ5ESPP();
// Deletes the closed Z5ESMAyy of the last creation; 0 or -1.
int RemoveZ5ESMA();

int SeekEsexByRek(long rek);
int SeekKontoExportByRec(long ident);
int SeekSoexByRek(int registerNumber, long rek);
// 1 when the copy's current record has these TYZ, ROK and REK.
int KasaCopyMatches(int kind, int year, long number);
int RozlCopyMatches(int kind, int year, long number);
