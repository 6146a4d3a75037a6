// The catalogues documents draw on: goods "Z5TOWA" (one per working year,
// carried over into a new year), services "Z5USLU", contractors "Z5KHNT"
// (in the firm, the common or an option's directory), accounts "Z5KONT",
// descriptions "Z5OPIS"; countries "Z5KRAJ", tax offices "Z5USKA" and
// exchange rates "Z5KURS" in the common directory; the temporary goods and
// services tables the modules sort and print through.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5TOWA, Z5USLU, Z5KHNT, Z5KONT, Z5OPIS, Z5KRAJ, Z5USKA, Z5KURS;
extern TableHandles TowaTmp, UslugaTmp;

// Field positions of the goods table "Z5TOWA" (and of its temporary copy).
enum TowaField {
  TOWA_LPO, TOWA_STA, TOWA_KOD, TOWA_DZI, TOWA_NA1, TOWA_NA2, TOWA_NA3, TOWA_NA4, TOWA_NA5, TOWA_NA6, TOWA_KWU,
  TOWA_JED, TOWA_ILO, TOWA_CZN, TOWA_WZN, TOWA_VZT, TOWA_VZS, TOWA_CZB, TOWA_WZB, TOWA_CSN, TOWA_WSN, TOWA_VST,
  TOWA_VSS, TOWA_RYT, TOWA_RTY, TOWA_RYS, TOWA_CSB, TOWA_WSB, TOWA_UWA, TOWA_MRA, TOWA_TRC, TOWA_NAS, TOWA_TYZ,
  TOWA_TYK, TOWA_TYP, TOWA_KOZ, TOWA_KOS, TOWA_ZNA, TOWA_CBN, TOWA_WBN, TOWA_CBB, TOWA_WBB, TOWA_CCN, TOWA_WCN,
  TOWA_CCB, TOWA_WCB, TOWA_MRB, TOWA_MRC, TOWA_ILM, TOWA_TAN, TOWA_BUT, TOWA_EAN, TOWA_CVA, TOWA_AKC, TOWA_AKK,
  TOWA_INF, TOWA_RE1, TOWA_RE2
};
// Tags of "Z5TOWA": code, name, name of the marked goods, EAN.
enum TowaTag { TOWA_TAG_KOD, TOWA_TAG_NA1, TOWA_TAG_MARKED, TOWA_TAG_EAN };
// The mark byte of ZNA.
constexpr char TOWA_MARK = '\x9D';

int OpenZ5TOWA(int flags);
int OpenZ5USLU(int flags);
int OpenZ5KHNT(int flags);
int OpenZ5KONT(int flags);
int OpenZ5OPIS(int flags);
int OpenZ5KRAJ(int flags);
int OpenZ5USKA(int flags);
int OpenZ5KURS(int flags);

// Two temporary names (table and index) made once a run; 0 or -1.
int NameTowaTmp();
int NameUslugaTmp();
// Creates the table and its index under the names and binds them; 0 or -1.
int CreateTowaTmp();
int CreateUslugaTmp();
// Deletes the two files whose names are set; 0.
int RemoveTowaTmp();
int RemoveUslugaTmp();

// The d4seek_n results: accounts by the number's first characters, by the
// 5-digit ident; descriptions by the upper-cased code in 5 characters.
int SeekKontoByNum(const char* number);
int SeekKontoByRec(long ident);
int SeekOpisByKod(const char* code);

// Field positions of the services table "Z5USLU" (and of its temporary copy).
enum UsluField {
  USLU_STA, USLU_KOD, USLU_NA1, USLU_NA2, USLU_NA3, USLU_NA4, USLU_NA5, USLU_NA6, USLU_KWU, USLU_JED, USLU_ILO,
  USLU_CSN, USLU_VTS, USLU_VSS, USLU_RYT, USLU_RTY, USLU_RYS, USLU_CSB, USLU_UWA, USLU_TRC, USLU_TYP, USLU_KOS,
  USLU_ZNA, USLU_CBN, USLU_CBB, USLU_CCN, USLU_CCB, USLU_VTZ, USLU_VSZ, USLU_CZN, USLU_CZB, USLU_TYZ, USLU_TYK,
  USLU_KOZ, USLU_NAS, USLU_CVA, USLU_INF, USLU_RE1, USLU_RE2
};
