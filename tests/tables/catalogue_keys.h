// Every tag of the catalogue as worked out by hand: its key expression,
// filter and order, and the key of a record whose C fields hold their own name
// in lower case, N fields 7 and D fields 2024-02-29.
#pragma once
#include <vector>

#include "tables/layouts.h"

struct CatalogueTag {
  int number;
  const char* key;
  const char* filter;       // "" for the default
  bool descending;
  int key_length;
  const char* key_value;    // NULL for N and D keys
  int filter_value;         // -1 without a filter
};

struct CatalogueTable {
  const char* table;
  const TableLayout* layout;
  std::vector<CatalogueTag> tags;
};

inline const CatalogueTable kCatalogue[] = {
    {"Z5SPRZ", &LAYOUT_Z5SPRZ, {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYV,2,0)", "", false, 20, "    7PRE POS       7", -1},
        {2, "DTOS(DAW)+STR(TYV,2,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(OSM)", "", false, 68, "20240229 7    7PRE POS      OSM                                     ", -1},
        {3, "UPPER(NA1)+STR(TYV,2,0)", "", false, 72, "NA1                                                                    7", -1},
        {4, "REK", "", false, 12, nullptr, -1},
        {5, "REC", "", false, 12, nullptr, -1},
        {6, "STR(TYV,2,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", "", false, 20, " 7PRE POS          7", -1},
        {7, "NIP", "", false, 20, "nip                 ", -1},
        {8, "STR(TYV,2,0)+UPPER(OSM)", "", false, 42, " 7OSM                                     ", -1},
        {9, "DTOS(DAW)+STR(TYV,2,0)+UPPER(OSM)", "", false, 50, "20240229 7OSM                                     ", -1},
    }},
    {"Z5SPRE", &LAYOUT_Z5SPRE, {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(RE1)+STR(REK,7,0)", "", false, 73, "20240229    7PRE POS      RE1                                           7", -1},
        {3, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
        {5, "STR(REK,7,0)+UPPER(NA1)", "", false, 47, "      7NA1                                     ", -1},
    }},
    {"Z5SPRO", &LAYOUT_Z5SPRO, {
        {1, "STR (SPR,1,0)+STR(REK,7,0)", "", false, 8, "7      7", -1},
    }},
    {"Z5PARA", &LAYOUT_Z5PARA, {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DSP)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {3, "STR(NRF,5,0)+UPPER(PRF)+UPPER(POF)+STR(TYF,1,0)", "", false, 19, "    7PRF POF      7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
        {5, "UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", "", false, 18, "PRE POS          7", -1},
        {6, "STR(TYF,1,0)+UPPER(PRF)+UPPER(POF)+STR(NRF,5,0)", "", false, 19, "7PRF POF          7", -1},
    }},
    {"Z5PARE", &LAYOUT_Z5PARE, {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(REK,7,0)", "", false, 33, "20240229    7PRE POS            7", -1},
        {3, "NA1", "", false, 40, "na1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"Z5PARO", &LAYOUT_Z5PARO, {
        {1, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {2, "REK", "", false, 12, nullptr, -1},
    }},
    {"Z5TOWA", &LAYOUT_Z5TOWA, {
        {1, "KOD", "", false, 18, "kod               ", -1},
        {2, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {3, "UPPER(NA1)", ".NOT.DELETED() .AND. ZNA='\x9D""'", false, 40, "NA1                                     ", 0},
        {4, "EAN", "", false, 18, "ean               ", -1},
    }},
    {"Z5USLU", &LAYOUT_Z5USLU, {
        {1, "KOD", "", false, 18, "kod               ", -1},
        {2, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
    }},
    {"Z5KHNT", &LAYOUT_Z5KHNT, {
        {1, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {2, "UPPER(KOD)", "", false, 20, "KOD                 ", -1},
        {3, "UPPER(NIP)", "", false, 20, "NIP                 ", -1},
    }},
    {"Z5KONT", &LAYOUT_Z5KONT, {
        {1, "NUM", "", false, 8, "num     ", -1},
        {2, "STR(REC,5,0)", "", false, 5, "    7", -1},
        {3, "UPPER(NAZ)", "", false, 34, "NAZ                               ", -1},
    }},
    {"Z5OPIS", &LAYOUT_Z5OPIS, {
        {1, "UPPER(OP1+OP2)", "", false, 40, "OP1                 OP2                 ", -1},
        {2, "UPPER(KOD)", "", false, 5, "KOD  ", -1},
    }},
    {"Z5KRAJ", &LAYOUT_Z5KRAJ, {
        {1, "UPPER(KKR)", "", false, 3, "KKR", -1},
        {2, "UPPER(KRA)", "", false, 30, "KRA                           ", -1},
        {3, "UPPER(KOD)", "", false, 3, "KOD", -1},
    }},
    {"Z5USKA", &LAYOUT_Z5USKA, {
        {1, "KOD", "", false, 12, nullptr, -1},
        {2, "XML", "", false, 4, "xml ", -1},
        {3, "SKN", "", false, 30, "skn                           ", -1},
        {4, "NAZ", "", false, 54, "naz                                                   ", -1},
    }},
    {"Z5KURS", &LAYOUT_Z5KURS, {
        {1, "DTOS(DAT)+UPPER(KOD)", "", false, 11, "20240229KOD", -1},
        {2, "UPPER(KOD)+DTOS(DAT)", "", false, 11, "KOD20240229", -1},
    }},
    {"Z5MAPR", &LAYOUT_Z5MAPR, {
        {1, "STR(NUM,5,0)", "", false, 5, "    7", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)", "", false, 13, "20240229    7", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"Z5MAPE", &LAYOUT_Z5MAPE, {
        {1, "STR(NUM,5,0)", "", false, 5, "    7", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)+STR(REK,7,0)", "", false, 20, "20240229    7      7", -1},
        {3, "NA1", "", false, 40, "na1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"Z5KASA", &LAYOUT_Z5KASA, {
        {1, "DTOS(DAT)+STR(RECNO(),5,0)", "", false, 13, "20240229    1", -1},
        {2, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
        {3, "NUM", "", false, 12, nullptr, -1},
        {4, "KOD", "", false, 20, "kod                 ", -1},
        {5, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)+DTOS(DAT)", "", false, 20, " 7   7     720240229", -1},
        {6, "PRE+TYP+STR(TYK,1,0)+STR(YEAR(DAT),4,0)+STR(NUM,5,0)", "", true, 15, "pre t72024    7", -1},
        {7, "STR(YEAR(DKS),4,0)+STR(RKS,6,0)", "", false, 10, "2024     7", -1},
    }},
    {"Z5ROZL", &LAYOUT_Z5ROZL, {
        {1, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
        {2, "DTOS(DAW)", "", false, 8, "20240229", -1},
        {3, "DOK", "", false, 30, "dok                           ", -1},
        {4, "KOD+DTOS(DAW)", "", false, 28, "kod                 20240229", -1},
        {5, "NA1+DTOS(DAW)", "", false, 78, "na1                                                                   20240229", -1},
    }},
    {"Z5PLEW", &LAYOUT_Z5PLEW, {
        {1, "DAP", "", false, 8, nullptr, -1},
    }},
    {"Z5ODUS", &LAYOUT_Z5ODUS, {
        {1, "DTOS(DAT)", "", false, 8, "20240229", -1},
    }},
    {"Z5DNWO", &LAYOUT_Z5DNWO, {
        {1, "DTOS(DAT)", "", false, 8, "20240229", -1},
    }},
    {"Z5DANE", &LAYOUT_Z5DANE, {
        {1, "DTOS(DAT) + STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "UPPER(NA1+NA2)", "", false, 70, "NA1                                NA2                                ", -1},
        {3, "NUM", "", false, 30, "num                           ", -1},
        {4, "UPPER(OP1+OP2)", "", false, 40, "OP1                 OP2                 ", -1},
        {5, "STR(MONTH(DAT),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {6, "REC", "", false, 12, nullptr, -1},
    }},
    {"Z5RYPR", &LAYOUT_Z5RYPR, {
        {1, "DTOS(DPR)+STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "NUM", "", false, 40, "num                                     ", -1},
        {3, "STR(MONTH(DPR),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"Z5RYCZ", &LAYOUT_Z5RYCZ, {
        {1, "DTOS(DAD)+STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "NUM", "", false, 20, "num                 ", -1},
        {3, "STR(MONTH(DAD),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"Z5ZAKU", &LAYOUT_Z5ZAKU, {
        {1, "UPPER(NRV)", "", false, 30, "NRV                           ", -1},
        {2, "DTOS(DZK)+STR(REC,7,0)", "", false, 15, "20240229      7", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "REK", "", false, 12, nullptr, -1},
        {5, "REC", "", false, 12, nullptr, -1},
        {6, "NIP", "", false, 20, "nip                 ", -1},
        {7, "DTOS(DAV)+STR(REC,7,0)", "", false, 15, "20240229      7", -1},
    }},
    {"Z5ZAKE", &LAYOUT_Z5ZAKE, {
        {1, "NRV", "", false, 30, "nrv                           ", -1},
        {2, "DTOS(DAV)+STR(REK,7,0)", "", false, 15, "20240229      7", -1},
        {3, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"Z5VOSS", &LAYOUT_Z5VOSS, {
        {1, "STR(MIE,2,0)", "", false, 2, " 7", -1},
        {2, "DTOS(DAS)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"Z5DEKL", &LAYOUT_Z5DEKL, {
        {1, "STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "   7 7  7nip         7", 1},
        {2, "STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "   7 7  7nip         7", 0},
        {3, "STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "  7   7 7nip         7", 1},
        {4, "STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "  7   7 7nip         7", 0},
        {5, "NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "nip           7 7  7 7", 1},
        {6, "NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "nip           7 7  7 7", 0},
        {7, "NIP + STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", "", false, 27, "nip          7   7 7 7    1", -1},
        {8, "NIP + NPR + STR(KDE,3,0) + STR(ROK,4,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", "", false, 36, "nip        npr          7   7 7    1", -1},
    }},
    {"JPK_WORK", &LAYOUT_JPK_WORK, {
        {1, "DTOS(DAW)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"Z5KATA", &LAYOUT_Z5KATA, {
        {1, "UPPER(NAZ)", "", false, 20, "NAZ                 ", -1},
    }},
    {"Z5KAPA", &LAYOUT_Z5KAPA, {
        {1, "WM", "", false, 12, nullptr, -1},
    }},
    {"Z5PASS", &LAYOUT_Z5PASS, {
        {1, "RECNO()", "", false, 12, nullptr, -1},
    }},
    {"Z5ESEX", &LAYOUT_Z5ESEX, {
        {1, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"Z5SOEX", &LAYOUT_Z5SOEX, {
        {1, "STR(SPR,1,0)+STR(REK,7,0)", "", false, 8, "7      7", -1},
    }},
    {"Z5KASAEX", &LAYOUT_Z5KASAEX, {
        {1, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
    }},
    {"Z5SPISEX", &LAYOUT_Z5SPISEX, {
        {1, "KOD", "", false, 18, "kod               ", -1},
    }},
    {"Z5ESPP", &LAYOUT_Z5ESPP, {
        {1, "DTOS(DAW)+UPPER(NUM)", "", false, 48, "20240229NUM                                     ", -1},
    }},
    {"Z5ESZT", &LAYOUT_Z5ESZT, {
        {1, "DTOS(DAV)+UPPER(NUM)", "", false, 48, "20240229NUM                                     ", -1},
    }},
    {"Z5KONTE", &LAYOUT_Z5KONTE, {
        {1, "NUM", "", false, 8, "num     ", -1},
        {2, "STR(REC,5,0)", "", false, 5, "    7", -1},
    }},
    {"Z5PRAC", &LAYOUT_Z5PRAC, {
        {1, "UPPER(NAZ)+UPPER(IM1)", "", false, 47, "NAZ                           IM1              ", -1},
        {2, "REK", "", false, 12, nullptr, -1},
        {3, "DTOS(DAP)+STR(REK,5,0)", "", false, 13, "20240229    7", -1},
        {4, "UPPER(NAZ)+UPPER(IM1)+PES+STR(RECNO(),5,0)", "", false, 63, "NAZ                           IM1              pes            1", -1},
    }},
    {"Z5PENS", &LAYOUT_Z5PENS, {
        {1, "STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,4,0)", "", false, 11, "    7 7   7", -1},
        {2, "UPPER(NAZ)+UPPER(IMI)+STR(MIE,2,0)+STR(NRL,4,0)", "", false, 51, "NAZ                           IMI             7   7", -1},
        {3, "STR(MIE,2,0)+STR(NRL,4,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 51, " 7   7NAZ                           IMI            ", -1},
    }},
    {"Z5PESK", &LAYOUT_Z5PESK, {
        {1, "STR(REK,5,0)+KGS+UPPER(NA1)+STR(RECNO(),7,0)", "", false, 51, "    7kgs NA1                                      1", -1},
        {2, "STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,2,0)", "", false, 9, "    7 7 7", -1},
    }},
    {"Z5PELI", &LAYOUT_Z5PELI, {
        {1, "UPPER(NA1)", "", false, 35, "NA1                                ", -1},
        {2, "KGS", "", false, 4, "kgs ", -1},
    }},
    {"Z5UMOW", &LAYOUT_Z5UMOW, {
        {1, "STR(KOD,5,0)+STR(MONTH(DAR),2,0)", "", false, 7, "    7 2", -1},
        {2, "UPPER(NAZ)+UPPER(IMI)", "", false, 45, "NAZ                           IMI            ", -1},
        {3, "DTOS(DAR)+UPPER(NAZ)+UPPER(IMI)", "", false, 53, "20240229NAZ                           IMI            ", -1},
        {4, "RKB", "", false, 12, nullptr, -1},
        {5, "RKZ", "", false, 12, nullptr, -1},
        {6, "DTOS(DAR)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"Z5UMPR", &LAYOUT_Z5UMPR, {
        {1, "UPPER(P1)", "", false, 77, "P1                                                                           ", -1},
    }},
    {"Z5SRDN", &LAYOUT_Z5SRDN, {
        {1, "STR(KOD,5,0)+STR(ROK,4,0)+STR(MIE,2,0)", "", false, 11, "    7   7 7", -1},
        {2, "UPPER(NAZ)+UPPER(IM1)+STR(ROK,4,0)+STR(MIE,2,0)", "", false, 51, "NAZ                           IM1               7 7", -1},
        {3, "STR(ROK,4,0)+STR(MIE,2,0)+UPPER(NAZ)+UPPER(IM1)", "", false, 51, "   7 7NAZ                           IM1            ", -1},
    }},
    {"Z5KZUS", &LAYOUT_Z5KZUS, {
        {1, "STR(KGL,2)+KGR+KPG", "", false, 22, " 7kgr       kpg       ", -1},
    }},
    {"Z5NIEO", &LAYOUT_Z5NIEO, {
        {1, "STR(KOD,5,0)+STR(MONTH(DOD),2,0)", "", false, 7, "    7 2", -1},
        {2, "DTOS(DOD)+UPPER(NAZ)+UPPER(IMI)", "", false, 53, "20240229NAZ                           IMI            ", -1},
    }},
    {"Z5ZUSD", &LAYOUT_Z5ZUSD, {
        {1, "STR(REC,5,0)+KOD", "", false, 8, "    7kod", -1},
    }},
    {"Z5ZUSP", &LAYOUT_Z5ZUSP, {
        {1, "STR(REC,5,0)+KOD", "", false, 8, "    7kod", -1},
    }},
    {"Z5ZUSR", &LAYOUT_Z5ZUSR, {
        {1, "STR(MIE,2,0)+STR(INR,2,0)", "", false, 4, " 7 7", -1},
    }},
    {"Z5ZUSS", &LAYOUT_Z5ZUSS, {
        {1, "STR(REK,5,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 50, "    7NAZ                           IMI            ", -1},
    }},
    {"Z5ZUWS", &LAYOUT_Z5ZUWS, {
        {1, "STR(MIE,2,0)+STR(NUM,2,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 44, " 7 7NAZ                      IMI            ", -1},
        {2, "STR(MIE,2,0)+STR(KOD,5,0)+STR(NUM,2,0)", "", false, 9, " 7    7 7", -1},
        {3, "STR(MIE,2,0)+STR(RGA,5,0)+STR(NUM,2,0)", "", false, 9, " 7    7 7", -1},
    }},
    {"Z5ZFSS", &LAYOUT_Z5ZFSS, {
        {1, "UPPER(OPI)", "", false, 60, "OPI                                                         ", -1},
        {2, "DTOS(DAT)", "", false, 8, "20240229", -1},
        {3, "UPPER(NAZ)", "", false, 50, "NAZ                                               ", -1},
    }},
    {"Z5WSPL", &LAYOUT_Z5WSPL, {
        {1, "UPPER(NAZ)+UPPER(IM1)", "", false, 40, "NAZ                      IM1            ", -1},
    }},
    {"Z5WSSK", &LAYOUT_Z5WSSK, {
        {1, "STR(REK,5,0)+KZU", "", false, 8, "    7kzu", -1},
    }},
    {"Z5PITM", &LAYOUT_Z5PITM, {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"Z5PILM", &LAYOUT_Z5PILM, {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"Z5RYTM", &LAYOUT_Z5RYTM, {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"Z5VATR", &LAYOUT_Z5VATR, {
        {1, "ROK", "", false, 12, nullptr, -1},
    }},
    {"Z5PI11", &LAYOUT_Z5PI11, {
        {1, "KOPR", "", false, 12, nullptr, -1},
    }},
    {"Z5V27M", &LAYOUT_Z5V27M, {
        {1, "STR(MIE,2,0)+NIP+STR(RECNO(),6,0)", "", false, 28, " 7nip                      1", -1},
        {2, "STR(MIE,2,0)+ROD+NIP+STR(RECNO(),6,0)", "", false, 29, " 7rnip                      1", -1},
        {3, "NIP+STR(MIE,2,0)+STR(RECNO(),6,0)", "", false, 28, "nip                  7     1", -1},
    }},
    {"Z5VUEM", &LAYOUT_Z5VUEM, {
        {1, "STR(MIE,2,0)+KOK+NIP+TYZ", "", false, 25, " 7konip                 t", -1},
        {2, "STR(MIE,2,0)+TYZ+NIP", "", false, 23, " 7tnip                 ", -1},
    }},
    {"Z5VZNM", &LAYOUT_Z5VZNM, {
        {1, "STR(ETY,1,0)+STR(ERO,4,0)+STR(ERE,7,0)", "", false, 12, "7   7      7", -1},
        {2, "NRD+STR(ETY,1,0)+STR(ERO,4,0)+STR(ERE,7,0)+STR(RDE,4,0)+STR(MDE,2,0)+DTOC(DZA)", "", false, 48, "nrd                           7   7      7   7 7", -1},
        {3, "STR(RDE,4,0)+STR(MDE,2,0)+STR(ETY,1,0)+STR(CDE,1,0)+NRD+DTOC(DZA)", "", false, 38, "   7 777nrd                           ", -1},
        {4, "STR(RZL,4,0)+STR(MZL,2,0)", "", false, 6, "   7 7", -1},
        {5, "STR(ETY,1,0)+STR(RZL,4,0)+STR(MZL,2,0)+OKR", "", false, 8, "7   7 7o", -1},
        {6, "STR(RDE,4,0)+STR(MDE,2,0)+STR(ETY,1,0)+STR(CDE,1,0)+NRD+DTOC(DZA)+STR(RECNO(),7,0)", "", false, 45, "   7 777nrd                                 1", -1},
    }},
    {"Z5NOTY", &LAYOUT_Z5NOTY, {
        {1, "DTOS(DAT)+STR(RECNO(),5,0)", "", false, 13, "20240229    1", -1},
        {2, "PRE+STR(NUM,5,0)+POS", "", false, 18, "pre     7pos      ", -1},
        {3, "NA1+DTOS(DAT)", "", false, 78, "na1                                                                   20240229", -1},
        {4, "STR(TYP,1,0)+PRE+STR(NUM,5,0)", "", false, 10, "7pre     7", -1},
        {5, "STR(TYP,1,0)+DTOS(DAT)+STR(RECNO(),5,0)", "", true, 14, "720240229    1", -1},
        {6, "STR(TYP,1,0)+PRE+STR(NUM,5,0))", "", true, 10, "7pre     7", -1},
    }},
    {"Z5V7JM", &LAYOUT_Z5V7JM, {
        {1, "TYE + STR(MIE,2,0) + STR(KOR,2,0) + STR(RECNO(),6,0)", "", false, 11, "t 7 7     1", -1},
        {2, "STR(MIE,2,0) + STR(KOR,2,0) + STR(RECNO(),6,0)", "", false, 10, " 7 7     1", -1},
        {3, "TYE + STR(MIE,2,0) + STR(KOR,2,0)", "", false, 5, "t 7 7", -1},
        {4, "TYE + STR(MIE,2,0) + STR(KOR,2,0) + STR(RSZ,6,0)", "", false, 11, "t 7 7     7", -1},
    }},
    {"Z5LXML", &LAYOUT_Z5LXML, {
        {1, "IDE + KOD", "", false, 11, "ikod       ", -1},
        {2, "IDE + UPPER (NA1)", "", false, 71, "iNA1                                                                   ", -1},
        {3, "IDE + UPPER (MIA)", "", false, 27, "iMIA                       ", -1},
        {4, "UPPER (MIA)", "", false, 26, "MIA                       ", -1},
        {5, "UPPER (NA1)", "", false, 70, "NA1                                                                   ", -1},
        {6, "IDE + WOJ + POW + GMI", "", false, 8, "iwopogmi", -1},
        {7, "WOJ + POW + GMI", "", false, 7, "wopogmi", -1},
    }},
    {"Z5V7MC", &LAYOUT_Z5V7MC, {
        {1, "STR(MIE,2,0)+STR(K03,2,0)+STR(RECNO(),7,0)", "", false, 11, " 7 7      1", -1},
    }},
    {"Z5SAMO", &LAYOUT_Z5SAMO, {
        {1, "KIE", "", false, 32, "kie                             ", -1},
    }},
    {"Z5PRCE", &LAYOUT_Z5PRCE, {
        {1, "UPPER(CE)", "", false, 40, "CE                                      ", -1},
    }},
    {"Z5PRZE", &LAYOUT_Z5PRZE, {
        {1, "DTOS(DAT)+STR(RECNO(),7,0)", "", false, 15, "20240229      1", -1},
    }},
    {"Z5RASA", &LAYOUT_Z5RASA, {
        {1, "DAT", "", false, 8, nullptr, -1},
    }},
    {"Z5AMOR", &LAYOUT_Z5AMOR, {
        {1, "DTOS(DAN)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"Z5DOWO", &LAYOUT_Z5DOWO, {
        {1, "STR(TYP,1,0)+UPPER(NUM)", "", false, 11, "7NUM       ", -1},
        {2, "DTOS(DAT)+STR(TYP,1,0)+UPPER(NUM)", "", false, 19, "202402297NUM       ", -1},
        {3, "REK", "", false, 12, nullptr, -1},
    }},
    {"Z5DOWE", &LAYOUT_Z5DOWE, {
        {1, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"Z5SKUP", &LAYOUT_Z5SKUP, {
        {1, "STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "DTOS(DAS)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {5, "UPPER(PRE)+UPPER(POS)+STR(NUM,5,0)", "", false, 18, "PRE POS          7", -1},
    }},
    {"Z5WYPO", &LAYOUT_Z5WYPO, {
        {1, "DAZ", "", false, 8, nullptr, -1},
        {2, "UPPER(NRE)", "", false, 30, "NRE                           ", -1},
    }},
    {"Z5SPZE", &LAYOUT_Z5SPZE, {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYD,1,0)", "", false, 19, "    7PRE POS      7", -1},
        {2, "DTOS(DAW)+STR(TYD,1,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 27, "202402297    7PRE POS      ", -1},
        {3, "STR(TYD,1,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", "", false, 19, "7PRE POS          7", -1},
    }},
};

// The hand-worked tags of a table, NULL when it has none.
inline const CatalogueTable* HandWorkedTags(const TableLayout* layout) {
  for (const CatalogueTable& c : kCatalogue)
    if (c.layout == layout) return &c;
  return nullptr;
}
