// Every tag key and filter of the program's table catalogue: each table is
// created with its tags through the engine, one record is appended, and each
// tag's key of that record is compared with the key worked out by hand.
// Fields are only the ones the expressions read: C fields hold their own
// name in lower case, N fields 7, D fields 2024-02-29.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "db/db_index.h"
#include "db/expr.h"
#include "db/index_keys.h"
#include "tests/db/db_test_support.h"

namespace {

struct CatalogueTag {
  int number;
  const char* key;
  const char* filter;
  bool descending;
  int key_length;
  const char* key_value;    // NULL for N and D keys
  int filter_value;         // -1 without a filter
};

struct CatalogueTable {
  const char* part;
  const char* fields;       // "NAME Tw[.d] ..."
  std::vector<CatalogueTag> tags;
};

const CatalogueTable kCatalogue[] = {
    {"4.131", "DAW D8 NA1 C70 NIP C20 NRV N5 OSM C40 POS C9 PRE C4 REC N7 REK N7 TYV N2", {
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
    {"4.131", "DAV D8 NA1 C40 NRV N5 POS C9 PRE C4 RE1 C40 REK N7", {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(RE1)+STR(REK,7,0)", "", false, 73, "20240229    7PRE POS      RE1                                           7", -1},
        {3, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
        {5, "STR(REK,7,0)+UPPER(NA1)", "", false, 47, "      7NA1                                     ", -1},
    }},
    {"4.131", "REK N7 SPR N1", {
        {1, "STR (SPR,1,0)+STR(REK,7,0)", "", false, 8, "7      7", -1},
    }},
    {"4.132", "DSP D8 NRF N5 NRV N5 POF C9 POS C9 PRE C4 PRF C4 REC N7 TYF N1", {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DSP)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {3, "STR(NRF,5,0)+UPPER(PRF)+UPPER(POF)+STR(TYF,1,0)", "", false, 19, "    7PRF POF      7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
        {5, "UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", "", false, 18, "PRE POS          7", -1},
        {6, "STR(TYF,1,0)+UPPER(PRF)+UPPER(POF)+STR(NRF,5,0)", "", false, 19, "7PRF POF          7", -1},
    }},
    {"4.132", "DAV D8 NA1 C40 NRV N5 POS C9 PRE C4 REK N7", {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(REK,7,0)", "", false, 33, "20240229    7PRE POS            7", -1},
        {3, "NA1", "", false, 40, "na1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"4.132", "NA1 C70 REK N7", {
        {1, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {2, "REK", "", false, 12, nullptr, -1},
    }},
    {"4.133", "EAN C18 KOD C18 NA1 C40 ZNA C1", {
        {1, "KOD", "", false, 18, "kod               ", -1},
        {2, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {3, "UPPER(NA1)", ".NOT.DELETED() .AND. ZNA='\x9D""'", false, 40, "NA1                                     ", 0},
        {4, "EAN", "", false, 18, "ean               ", -1},
    }},
    {"4.133", "KOD C18 NA1 C40", {
        {1, "KOD", "", false, 18, "kod               ", -1},
        {2, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
    }},
    {"4.133", "KOD C20 NA1 C70 NIP C20", {
        {1, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {2, "UPPER(KOD)", "", false, 20, "KOD                 ", -1},
        {3, "UPPER(NIP)", "", false, 20, "NIP                 ", -1},
    }},
    {"4.133", "NAZ C34 NUM C8 REC N5", {
        {1, "NUM", "", false, 8, "num     ", -1},
        {2, "STR(REC,5,0)", "", false, 5, "    7", -1},
        {3, "UPPER(NAZ)", "", false, 34, "NAZ                               ", -1},
    }},
    {"4.133", "KOD C5 OP1 C20 OP2 C20", {
        {1, "UPPER(OP1+OP2)", "", false, 40, "OP1                 OP2                 ", -1},
        {2, "UPPER(KOD)", "", false, 5, "KOD  ", -1},
    }},
    {"4.133", "KKR C3 KOD C3 KRA C30", {
        {1, "UPPER(KKR)", "", false, 3, "KKR", -1},
        {2, "UPPER(KRA)", "", false, 30, "KRA                           ", -1},
        {3, "UPPER(KOD)", "", false, 3, "KOD", -1},
    }},
    {"4.133", "KOD N4 NAZ C54 SKN C30 XML C4", {
        {1, "KOD", "", false, 12, nullptr, -1},
        {2, "XML", "", false, 4, "xml ", -1},
        {3, "SKN", "", false, 30, "skn                           ", -1},
        {4, "NAZ", "", false, 54, "naz                                                   ", -1},
    }},
    {"4.133", "DAT D8 KOD C3", {
        {1, "DTOS(DAT)+UPPER(KOD)", "", false, 11, "20240229KOD", -1},
        {2, "UPPER(KOD)+DTOS(DAT)", "", false, 11, "KOD20240229", -1},
    }},
    {"4.134", "DAT D8 NA1 C70 NUM N5 REC N7", {
        {1, "STR(NUM,5,0)", "", false, 5, "    7", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)", "", false, 13, "20240229    7", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"4.134", "DAT D8 NA1 C40 NUM N5 REK N7", {
        {1, "STR(NUM,5,0)", "", false, 5, "    7", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)+STR(REK,7,0)", "", false, 20, "20240229    7      7", -1},
        {3, "NA1", "", false, 40, "na1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"4.135", "DAT D8 DKS D8 KOD C20 NUM N5 PRE C4 REK N6 RKS N6 ROK N4 TYK N1 TYP C1 TYZ N2", {
        {1, "DTOS(DAT)+STR(RECNO(),5,0)", "", false, 13, "20240229    1", -1},
        {2, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
        {3, "NUM", "", false, 12, nullptr, -1},
        {4, "KOD", "", false, 20, "kod                 ", -1},
        {5, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)+DTOS(DAT)", "", false, 20, " 7   7     720240229", -1},
        {6, "PRE+TYP+STR(TYK,1,0)+STR(YEAR(DAT),4,0)+STR(NUM,5,0)", "", true, 15, "pre t72024    7", -1},
        {7, "STR(YEAR(DKS),4,0)+STR(RKS,6,0)", "", false, 10, "2024     7", -1},
    }},
    {"4.135", "DAW D8 DOK C30 KOD C20 NA1 C70 REK N6 ROK N4 TYZ N2", {
        {1, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
        {2, "DTOS(DAW)", "", false, 8, "20240229", -1},
        {3, "DOK", "", false, 30, "dok                           ", -1},
        {4, "KOD+DTOS(DAW)", "", false, 28, "kod                 20240229", -1},
        {5, "NA1+DTOS(DAW)", "", false, 78, "na1                                                                   20240229", -1},
    }},
    {"4.135", "DAP D8", {
        {1, "DAP", "", false, 8, nullptr, -1},
    }},
    {"4.135", "DAT D8", {
        {1, "DTOS(DAT)", "", false, 8, "20240229", -1},
    }},
    {"4.135", "DAT D8", {
        {1, "DTOS(DAT)", "", false, 8, "20240229", -1},
    }},
    {"4.136", "DAT D8 LPO N5 NA1 C35 NA2 C35 NUM C30 OP1 C20 OP2 C20 REC N7", {
        {1, "DTOS(DAT) + STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "UPPER(NA1+NA2)", "", false, 70, "NA1                                NA2                                ", -1},
        {3, "NUM", "", false, 30, "num                           ", -1},
        {4, "UPPER(OP1+OP2)", "", false, 40, "OP1                 OP2                 ", -1},
        {5, "STR(MONTH(DAT),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {6, "REC", "", false, 12, nullptr, -1},
    }},
    {"4.136", "DPR D8 LPO N5 NUM C40 REC N7", {
        {1, "DTOS(DPR)+STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "NUM", "", false, 40, "num                                     ", -1},
        {3, "STR(MONTH(DPR),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"4.136", "DAD D8 LPO N5 NUM C20 REC N7", {
        {1, "DTOS(DAD)+STR(RECNO(),9,0)", "", false, 17, "20240229        1", -1},
        {2, "NUM", "", false, 20, "num                 ", -1},
        {3, "STR(MONTH(DAD),2,0)+STR(LPO,5,0)", "", false, 7, " 2    7", -1},
        {4, "REC", "", false, 12, nullptr, -1},
    }},
    {"4.137", "DAV D8 DZK D8 NA1 C70 NIP C20 NRV C30 REC N7 REK N7", {
        {1, "UPPER(NRV)", "", false, 30, "NRV                           ", -1},
        {2, "DTOS(DZK)+STR(REC,7,0)", "", false, 15, "20240229      7", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "REK", "", false, 12, nullptr, -1},
        {5, "REC", "", false, 12, nullptr, -1},
        {6, "NIP", "", false, 20, "nip                 ", -1},
        {7, "DTOS(DAV)+STR(REC,7,0)", "", false, 15, "20240229      7", -1},
    }},
    {"4.137", "DAV D8 NA1 C40 NRV C30 REK N7", {
        {1, "NRV", "", false, 30, "nrv                           ", -1},
        {2, "DTOS(DAV)+STR(REK,7,0)", "", false, 15, "20240229      7", -1},
        {3, "UPPER(NA1)", "", false, 40, "NA1                                     ", -1},
        {4, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"4.137", "DAS D8 MIE N2", {
        {1, "STR(MIE,2,0)", "", false, 2, " 7", -1},
        {2, "DTOS(DAS)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"4.137", "KDE N3 NIP C11 NPR C11 NRK N2 OKR N2 ROK N4", {
        {1, "STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "   7 7  7nip         7", 1},
        {2, "STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "   7 7  7nip         7", 0},
        {3, "STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "  7   7 7nip         7", 1},
        {4, "STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "  7   7 7nip         7", 0},
        {5, "NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", false, 22, "nip           7 7  7 7", 1},
        {6, "NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", false, 22, "nip           7 7  7 7", 0},
        {7, "NIP + STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", "", false, 27, "nip          7   7 7 7    1", -1},
        {8, "NIP + NPR + STR(KDE,3,0) + STR(ROK,4,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", "", false, 36, "nip        npr          7   7 7    1", -1},
    }},
    {"4.137", "DAW D8", {
        {1, "DTOS(DAW)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"4.138", "NAZ C20", {
        {1, "UPPER(NAZ)", "", false, 20, "NAZ                 ", -1},
    }},
    {"4.138", "WM N5", {
        {1, "WM", "", false, 12, nullptr, -1},
    }},
    {"4.138", "FIL C1", {
        {1, "RECNO()", "", false, 12, nullptr, -1},
    }},
    {"4.139", "REK N5", {
        {1, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"4.139", "REK N7 SPR N1", {
        {1, "STR(SPR,1,0)+STR(REK,7,0)", "", false, 8, "7      7", -1},
    }},
    {"4.139", "REK N6 ROK N4 TYZ N2", {
        {1, "STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", "", false, 12, " 7   7     7", -1},
    }},
    {"4.139", "KOD C20", {
        {1, "KOD", "", false, 20, "kod                 ", -1},
    }},
    {"4.139", "DAW D8 NUM C40", {
        {1, "DTOS(DAW)+UPPER(NUM)", "", false, 48, "20240229NUM                                     ", -1},
    }},
    {"4.139", "DAV D8 NUM C40", {
        {1, "DTOS(DAV)+UPPER(NUM)", "", false, 48, "20240229NUM                                     ", -1},
    }},
    {"4.139", "NUM C8 REC N5", {
        {1, "NUM", "", false, 8, "num     ", -1},
        {2, "STR(REC,5,0)", "", false, 5, "    7", -1},
    }},
    {"4.140", "DAP D8 IM1 C17 NAZ C30 PES C11 REK N5", {
        {1, "UPPER(NAZ)+UPPER(IM1)", "", false, 47, "NAZ                           IM1              ", -1},
        {2, "REK", "", false, 12, nullptr, -1},
        {3, "DTOS(DAP)+STR(REK,5,0)", "", false, 13, "20240229    7", -1},
        {4, "UPPER(NAZ)+UPPER(IM1)+PES+STR(RECNO(),5,0)", "", false, 63, "NAZ                           IM1              pes            1", -1},
    }},
    {"4.140", "IMI C15 KOD N5 MIE N2 NAZ C30 NRL N3", {
        {1, "STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,4,0)", "", false, 11, "    7 7   7", -1},
        {2, "UPPER(NAZ)+UPPER(IMI)+STR(MIE,2,0)+STR(NRL,4,0)", "", false, 51, "NAZ                           IMI             7   7", -1},
        {3, "STR(MIE,2,0)+STR(NRL,4,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 51, " 7   7NAZ                           IMI            ", -1},
    }},
    {"4.140", "KGS C4 KOD N5 MIE N2 NA1 C35 NRL N3 REK N5", {
        {1, "STR(REK,5,0)+KGS+UPPER(NA1)+STR(RECNO(),7,0)", "", false, 51, "    7kgs NA1                                      1", -1},
        {2, "STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,2,0)", "", false, 9, "    7 7 7", -1},
    }},
    {"4.140", "KGS C4 NA1 C35", {
        {1, "UPPER(NA1)", "", false, 35, "NA1                                ", -1},
        {2, "KGS", "", false, 4, "kgs ", -1},
    }},
    {"4.140", "DAR D8 IMI C15 KOD N5 NAZ C30 RKB N7 RKZ N7", {
        {1, "STR(KOD,5,0)+STR(MONTH(DAR),2,0)", "", false, 7, "    7 2", -1},
        {2, "UPPER(NAZ)+UPPER(IMI)", "", false, 45, "NAZ                           IMI            ", -1},
        {3, "DTOS(DAR)+UPPER(NAZ)+UPPER(IMI)", "", false, 53, "20240229NAZ                           IMI            ", -1},
        {4, "RKB", "", false, 12, nullptr, -1},
        {5, "RKZ", "", false, 12, nullptr, -1},
        {6, "DTOS(DAR)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"4.140", "P1 C77", {
        {1, "UPPER(P1)", "", false, 77, "P1                                                                           ", -1},
    }},
    {"4.140", "IM1 C15 KOD N5 MIE N2 NAZ C30 ROK N4", {
        {1, "STR(KOD,5,0)+STR(ROK,4,0)+STR(MIE,2,0)", "", false, 11, "    7   7 7", -1},
        {2, "UPPER(NAZ)+UPPER(IM1)+STR(ROK,4,0)+STR(MIE,2,0)", "", false, 51, "NAZ                           IM1               7 7", -1},
        {3, "STR(ROK,4,0)+STR(MIE,2,0)+UPPER(NAZ)+UPPER(IM1)", "", false, 51, "   7 7NAZ                           IM1            ", -1},
    }},
    {"4.140", "KGL N2 KGR C10 KPG C10", {
        {1, "STR(KGL,2)+KGR+KPG", "", false, 22, " 7kgr       kpg       ", -1},
    }},
    {"4.140", "DOD D8 IMI C15 KOD N5 NAZ C30", {
        {1, "STR(KOD,5,0)+STR(MONTH(DOD),2,0)", "", false, 7, "    7 2", -1},
        {2, "DTOS(DOD)+UPPER(NAZ)+UPPER(IMI)", "", false, 53, "20240229NAZ                           IMI            ", -1},
    }},
    {"4.140", "KOD C3 REC N5", {
        {1, "STR(REC,5,0)+KOD", "", false, 8, "    7kod", -1},
    }},
    {"4.140", "KOD C3 REC N5", {
        {1, "STR(REC,5,0)+KOD", "", false, 8, "    7kod", -1},
    }},
    {"4.140", "INR N2 MIE N2", {
        {1, "STR(MIE,2,0)+STR(INR,2,0)", "", false, 4, " 7 7", -1},
    }},
    {"4.140", "IMI C15 NAZ C30 REK N5", {
        {1, "STR(REK,5,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 50, "    7NAZ                           IMI            ", -1},
    }},
    {"4.140", "IMI C15 KOD N5 MIE N2 NAZ C25 NUM N2 RGA N5", {
        {1, "STR(MIE,2,0)+STR(NUM,2,0)+UPPER(NAZ)+UPPER(IMI)", "", false, 44, " 7 7NAZ                      IMI            ", -1},
        {2, "STR(MIE,2,0)+STR(KOD,5,0)+STR(NUM,2,0)", "", false, 9, " 7    7 7", -1},
        {3, "STR(MIE,2,0)+STR(RGA,5,0)+STR(NUM,2,0)", "", false, 9, " 7    7 7", -1},
    }},
    {"4.140", "DAT D8 NAZ C50 OPI C60", {
        {1, "UPPER(OPI)", "", false, 60, "OPI                                                         ", -1},
        {2, "DTOS(DAT)", "", false, 8, "20240229", -1},
        {3, "UPPER(NAZ)", "", false, 50, "NAZ                                               ", -1},
    }},
    {"4.140", "IM1 C15 NAZ C25", {
        {1, "UPPER(NAZ)+UPPER(IM1)", "", false, 40, "NAZ                      IM1            ", -1},
    }},
    {"4.140", "KZU C3 REK N5", {
        {1, "STR(REK,5,0)+KZU", "", false, 8, "    7kzu", -1},
    }},
    {"4.141", "KOD N3 MIE N2", {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"4.141", "KOD N3 MIE N2", {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"4.141", "KOD N3 MIE N2", {
        {1, "STR(KOD,3,0) + STR(MIE,2,0)", "", false, 5, "  7 7", -1},
    }},
    {"4.141", "ROK N4", {
        {1, "ROK", "", false, 12, nullptr, -1},
    }},
    {"4.141", "KOPR N5", {
        {1, "KOPR", "", false, 12, nullptr, -1},
    }},
    {"4.141", "MIE N2 NIP C20 ROD C1", {
        {1, "STR(MIE,2,0)+NIP+STR(RECNO(),6,0)", "", false, 28, " 7nip                      1", -1},
        {2, "STR(MIE,2,0)+ROD+NIP+STR(RECNO(),6,0)", "", false, 29, " 7rnip                      1", -1},
        {3, "NIP+STR(MIE,2,0)+STR(RECNO(),6,0)", "", false, 28, "nip                  7     1", -1},
    }},
    {"4.141", "KOK C2 MIE N2 NIP C20 TYZ C1", {
        {1, "STR(MIE,2,0)+KOK+NIP+TYZ", "", false, 25, " 7konip                 t", -1},
        {2, "STR(MIE,2,0)+TYZ+NIP", "", false, 23, " 7tnip                 ", -1},
    }},
    {"4.141", "CDE N1 DZA D8 ERE N7 ERO N4 ETY N1 MDE N2 MZL N2 NRD C30 OKR C1 RDE N4 RZL N4", {
        {1, "STR(ETY,1,0)+STR(ERO,4,0)+STR(ERE,7,0)", "", false, 12, "7   7      7", -1},
        {2, "NRD+STR(ETY,1,0)+STR(ERO,4,0)+STR(ERE,7,0)+STR(RDE,4,0)+STR(MDE,2,0)+DTOC(DZA)", "", false, 48, "nrd                           7   7      7   7 7", -1},
        {3, "STR(RDE,4,0)+STR(MDE,2,0)+STR(ETY,1,0)+STR(CDE,1,0)+NRD+DTOC(DZA)", "", false, 38, "   7 777nrd                           ", -1},
        {4, "STR(RZL,4,0)+STR(MZL,2,0)", "", false, 6, "   7 7", -1},
        {5, "STR(ETY,1,0)+STR(RZL,4,0)+STR(MZL,2,0)+OKR", "", false, 8, "7   7 7o", -1},
        {6, "STR(RDE,4,0)+STR(MDE,2,0)+STR(ETY,1,0)+STR(CDE,1,0)+NRD+DTOC(DZA)+STR(RECNO(),7,0)", "", false, 45, "   7 777nrd                                 1", -1},
    }},
    {"4.141", "DAT D8 NA1 C70 NUM N5 POS C9 PRE C4 TYP N1", {
        {1, "DTOS(DAT)+STR(RECNO(),5,0)", "", false, 13, "20240229    1", -1},
        {2, "PRE+STR(NUM,5,0)+POS", "", false, 18, "pre     7pos      ", -1},
        {3, "NA1+DTOS(DAT)", "", false, 78, "na1                                                                   20240229", -1},
        {4, "STR(TYP,1,0)+PRE+STR(NUM,5,0)", "", false, 10, "7pre     7", -1},
        {5, "STR(TYP,1,0)+DTOS(DAT)+STR(RECNO(),5,0)", "", true, 14, "720240229    1", -1},
        {6, "STR(TYP,1,0)+PRE+STR(NUM,5,0))", "", true, 10, "7pre     7", -1},
    }},
    {"4.141", "KOR N2 MIE N2 RSZ N6 TYE C1", {
        {1, "TYE + STR(MIE,2,0) + STR(KOR,2,0) + STR(RECNO(),6,0)", "", false, 11, "t 7 7     1", -1},
        {2, "STR(MIE,2,0) + STR(KOR,2,0) + STR(RECNO(),6,0)", "", false, 10, " 7 7     1", -1},
        {3, "TYE + STR(MIE,2,0) + STR(KOR,2,0)", "", false, 5, "t 7 7", -1},
        {4, "TYE + STR(MIE,2,0) + STR(KOR,2,0) + STR(RSZ,6,0)", "", false, 11, "t 7 7     7", -1},
    }},
    {"4.141", "GMI C3 IDE C1 KOD C10 MIA C26 NA1 C70 POW C2 WOJ C2", {
        {1, "IDE + KOD", "", false, 11, "ikod       ", -1},
        {2, "IDE + UPPER (NA1)", "", false, 71, "iNA1                                                                   ", -1},
        {3, "IDE + UPPER (MIA)", "", false, 27, "iMIA                       ", -1},
        {4, "UPPER (MIA)", "", false, 26, "MIA                       ", -1},
        {5, "UPPER (NA1)", "", false, 70, "NA1                                                                   ", -1},
        {6, "IDE + WOJ + POW + GMI", "", false, 8, "iwopogmi", -1},
        {7, "WOJ + POW + GMI", "", false, 7, "wopogmi", -1},
    }},
    {"4.141", "K03 N2 MIE N2", {
        {1, "STR(MIE,2,0)+STR(K03,2,0)+STR(RECNO(),7,0)", "", false, 11, " 7 7      1", -1},
    }},
    {"4.142", "KIE C32", {
        {1, "KIE", "", false, 32, "kie                             ", -1},
    }},
    {"4.142", "CE C40", {
        {1, "UPPER(CE)", "", false, 40, "CE                                      ", -1},
    }},
    {"4.142", "DAT D8", {
        {1, "DTOS(DAT)+STR(RECNO(),7,0)", "", false, 15, "20240229      1", -1},
    }},
    {"4.142", "DAT D8", {
        {1, "DAT", "", false, 8, nullptr, -1},
    }},
    {"4.142", "DAN D8", {
        {1, "DTOS(DAN)+STR(RECNO(),6,0)", "", false, 14, "20240229     1", -1},
    }},
    {"4.142", "DAT D8 NUM C10 REK N7 TYP N1", {
        {1, "STR(TYP,1,0)+UPPER(NUM)", "", false, 11, "7NUM       ", -1},
        {2, "DTOS(DAT)+STR(TYP,1,0)+UPPER(NUM)", "", false, 19, "202402297NUM       ", -1},
        {3, "REK", "", false, 12, nullptr, -1},
    }},
    {"4.142", "REK N7", {
        {1, "STR(REK,7,0)+STR(RECNO(),7,0)", "", false, 14, "      7      1", -1},
    }},
    {"4.142", "DAS D8 DAT D8 NA1 C70 NUM N5 POS C9 PRE C4", {
        {1, "STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 18, "    7PRE POS      ", -1},
        {2, "DTOS(DAT)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {3, "UPPER(NA1)", "", false, 70, "NA1                                                                   ", -1},
        {4, "DTOS(DAS)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 26, "20240229    7PRE POS      ", -1},
        {5, "UPPER(PRE)+UPPER(POS)+STR(NUM,5,0)", "", false, 18, "PRE POS          7", -1},
    }},
    {"4.142", "DAZ D8 NRE C30", {
        {1, "DAZ", "", false, 8, nullptr, -1},
        {2, "UPPER(NRE)", "", false, 30, "NRE                           ", -1},
    }},
    {"4.142", "DAW D8 NRV N5 POS C9 PRE C4 TYD N1", {
        {1, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYD,1,0)", "", false, 19, "    7PRE POS      7", -1},
        {2, "DTOS(DAW)+STR(TYD,1,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", "", false, 27, "202402297    7PRE POS      ", -1},
        {3, "STR(TYD,1,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", "", false, 19, "7PRE POS          7", -1},
    }},
};

struct FieldList {
  std::vector<std::string> names;
  std::vector<DbfFieldDef> defs;
};

FieldList parse_fields(const char* text) {
  FieldList list;
  std::istringstream in(text);
  std::string name, type;
  while (in >> name >> type) list.names.push_back(name + "|" + type);
  for (const std::string& item : list.names) {
    size_t bar = item.find('|');
    std::string spec = item.substr(bar + 1);
    int width = std::stoi(spec.substr(1));
    size_t point = spec.find('.');
    int decimals = point == std::string::npos ? 0 : std::stoi(spec.substr(point + 1));
    list.defs.push_back(DbfFieldDef{nullptr, spec[0], width, decimals});
  }
  for (size_t i = 0; i < list.names.size(); i++) {
    list.names[i].resize(list.names[i].find('|'));
    list.defs[i].name = list.names[i].c_str();
  }
  list.defs.push_back(DbfFieldDef{nullptr, 0, 0, 0});
  return list;
}

void fill_record(DbTable* table) {
  for (int j = 1; j <= d4num_fields(table); j++) {
    DbField* field = d4field_j(table, j);
    std::string lower = f4name(field);
    for (char& c : lower) c = (char)std::tolower((unsigned char)c);
    switch (f4type(field)) {
      case 'C': f4assign(field, lower.substr(0, f4len(field)).c_str()); break;
      case 'N': f4assign_double(field, 7); break;
      case 'D': f4assign(field, "20240229"); break;
      default: break;
    }
  }
}

using ExprCatalogueTest = DbTest;

TEST_F(ExprCatalogueTest, EveryCatalogueTagCompilesAndGivesItsKey) {
  int table_number = 0;
  for (const CatalogueTable& c : kCatalogue) {
    SCOPED_TRACE(std::string("table of ") + c.part + ": " + c.fields);
    FieldList fields = parse_fields(c.fields);
    std::vector<std::string> names;
    std::vector<DbfTagDef> tags;
    for (const CatalogueTag& t : c.tags) names.push_back("T" + std::to_string(t.number));
    for (size_t i = 0; i < c.tags.size(); i++)
      tags.push_back(DbfTagDef{names[i].c_str(), c.tags[i].key, c.tags[i].filter[0] ? c.tags[i].filter : nullptr, 0,
                               c.tags[i].descending ? 10 : 0});
    tags.push_back(DbfTagDef{nullptr, nullptr, nullptr, 0, 0});
    std::string file = "C" + std::to_string(++table_number) + ".DBF";
    DbTable* table = d4create(engine, file.c_str(), fields.defs.data(), tags.data());
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(engine->error_code, 0);
    ASSERT_EQ(d4append_start(table, 0), 0);
    d4blank(table);
    fill_record(table);
    ASSERT_EQ(d4append(table), 0);

    for (size_t i = 0; i < c.tags.size(); i++) {
      const CatalogueTag& t = c.tags[i];
      SCOPED_TRACE(t.key);
      DbTag* tag = d4tag(table, names[i].c_str());
      ASSERT_NE(tag, nullptr);
      EXPECT_EQ(t4descending(tag) != 0, t.descending);
      char* key = nullptr;
      ASSERT_EQ(expr4key(tag->expr, &key), t.key_length);
      EXPECT_EQ((int)t4key_len(tag), t.key_length);
      if (t.key_value != nullptr) {
        EXPECT_EQ(expr4type(tag->expr), 'C');
        EXPECT_EQ(std::string(key, (size_t)t.key_length), t.key_value);
      } else if (t.key_length == DATE_KEY_LEN) {
        double day;
        std::memcpy(&day, key, sizeof day);
        EXPECT_EQ(day, 2460370);
      } else {
        char expected[BCD_KEY_LEN];
        c4bcd_from_double(expected, expr4type(tag->expr) == 'n' ? 1 : 7);   // RECNO() or a field
        EXPECT_EQ(std::string(key, BCD_KEY_LEN), std::string(expected, BCD_KEY_LEN));
      }
      if (t.filter_value >= 0) {
        EXPECT_EQ(expr4true(tag->filter), t.filter_value);
      }
    }
    ASSERT_EQ(d4close(table), 0);
  }
}

// The goods tag of marked goods: its filter holds the raw byte 0x9D.
TEST_F(ExprCatalogueTest, MarkFilterKeepsOnlyMarkedGoods) {
  const DbfFieldDef fields[] = {{"NA1", 'C', 10, 0}, {"ZNA", 'C', 1, 0}, {nullptr, 0, 0, 0}};
  const DbfTagDef tags[] = {{"MARKED", "UPPER(NA1)", ".NOT.DELETED() .AND. ZNA='\x9D'", 0, 0},
                            {nullptr, nullptr, nullptr, 0, 0}};
  DbTable* table = d4create(engine, "GOODS.DBF", fields, tags);
  ASSERT_NE(table, nullptr);
  const char* rows[][2] = {{"plain", " "}, {"marked", "\x9D"}, {"other", "x"}};
  for (const auto& row : rows) {
    ASSERT_EQ(d4append_start(table, 0), 0);
    d4blank(table);
    f4assign(d4field(table, "NA1"), row[0]);
    f4assign(d4field(table, "ZNA"), row[1]);
    ASSERT_EQ(d4append(table), 0);
  }
  DbTag* tag = d4tag(table, "MARKED");
  ASSERT_NE(tag, nullptr);
  d4tag_select(table, tag);
  ASSERT_EQ(d4top(table), 0);
  EXPECT_EQ(d4recno(table), 2);
  EXPECT_EQ(d4skip(table, 1), r4eof);
}

}  // namespace
