// Layouts of personnel, contribution and partners tables kept for the maintenance pass.
#include "tables/layouts.h"

namespace {

// "Z5PRAC.DBF"
const LayoutField kZ5PRACFields[] = {
    {"NAZ", 'C', 30}, {"IM1", 'C', 17}, {"IM2", 'C', 17}, {"IMO", 'C', 17}, {"IMM", 'C', 17}, {"MIE", 'C', 25},
    {"PES", 'C', 11}, {"NIP", 'C', 13}, {"DAU", 'D', 8}, {"KOD", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 20},
    {"DAP", 'D', 8}, {"DAZ", 'D', 8}, {"DBL", 'D', 8}, {"ULG", 'C', 1}, {"PI0", 'C', 1}, {"ODP", 'D', 8},
    {"DOP", 'D', 8}, {"UKS", 'C', 1}, {"CZU", 'C', 1}, {"CTZ", 'C', 1}, {"KUP", 'C', 1}, {"KOU", 'N', 4},
    {"KRA", 'C', 30}, {"POW", 'C', 25}, {"GMI", 'C', 25}, {"WOJ", 'C', 20}, {"POC", 'C', 20}, {"TEL", 'C', 20},
    {"NRD", 'C', 9}, {"NRM", 'C', 9}, {"WY1", 'N', 3}, {"WY2", 'N', 3}, {"CZG", 'C', 1}, {"STA", 'C', 1},
    {"BAN", 'C', 30}, {"KON", 'C', 42}, {"ROD", 'C', 1}, {"SUN", 'N', 5}, {"SUG", 'N', 6}, {"KTU", 'C', 6},
    {"TID", 'C', 1}, {"NUD", 'C', 11}, {"TBL", 'C', 1}, {"STG", 'N', 6, 2}, {"BRG", 'N', 9, 2}, {"KUZ", 'N', 9, 2},
    {"OZR", 'N', 6, 2}, {"KZR", 'N', 6, 2}, {"OZP", 'N', 2}, {"KZP", 'N', 6, 2}, {"KZW", 'N', 6, 2},
    {"PMA", 'C', 1}, {"DPM", 'D', 8}, {"OER", 'N', 9, 2}, {"ERW", 'N', 9, 2}, {"WER", 'N', 9, 2},
    {"WCW", 'N', 9, 2}, {"WZD", 'N', 9, 2}, {"UBC", 'C', 1}, {"UBS", 'C', 1}, {"UBZ", 'C', 1}, {"ZPZ", 'N', 11, 2},
    {"NAR", 'C', 30}, {"OBY", 'C', 30}, {"PLE", 'C', 1}, {"ONP", 'D', 8}, {"ONK", 'D', 8}, {"PUZ", 'D', 8},
    {"KPP", 'C', 2}, {"GOS", 'C', 1}, {"KSN", 'C', 2}, {"PNP", 'D', 8}, {"KNP", 'D', 8}, {"KZA", 'C', 7},
    {"KWY", 'C', 2}, {"KPS", 'C', 9}, {"PSP", 'D', 8}, {"PSK", 'D', 8}, {"KKC", 'C', 3}, {"NKS", 'C', 70},
    {"DKS", 'D', 8}, {"ZKO", 'C', 6}, {"ZKR", 'C', 30}, {"ZMI", 'C', 25}, {"ZGM", 'C', 20}, {"ZWO", 'C', 20},
    {"ZPO", 'C', 20}, {"ZPW", 'C', 25}, {"ZUL", 'C', 20}, {"ZND", 'C', 5}, {"ZNM", 'C', 5}, {"ZTE", 'C', 20},
    {"ZFA", 'C', 20}, {"OOZ", 'N', 2}, {"CFP", 'C', 1}, {"CPM", 'C', 1}, {"CKU", 'C', 1}, {"GUS", 'C', 7},
    {"ADN", 'C', 70}, {"FPU", 'C', 1}, {"DFP", 'D', 8}, {"CFG", 'C', 1}, {"DFG", 'D', 8}, {"FGU", 'C', 1},
    {"STN", 'C', 60}, {"NO1", 'C', 77}, {"NO2", 'C', 77}, {"PDG", 'C', 1}, {"INF", 'C', 32}, {"REK", 'N', 5},
    {"RE1", 'C', 30}, {"RE2", 'N', 11, 2}, {"RE3", 'C', 30}, {"ZMN", 'N', 1}, {"ZMR", 'N', 1}, {"ROZ", 'N', 1},
    {"RZ1", 'C', 1}, {"RZ2", 'C', 1}, {"UPO", 'C', 1}, {"ODR", 'N', 4}, {"DOR", 'N', 4}, {"URO", 'C', 1},
    {"USE", 'C', 1}, {"MKO", 'C', 1}, {"N50", 'C', 1}, {"BZA", 'C', 1}, {"BZR", 'N', 4}, {"RKO", 'N', 1},
    {"RPO", 'N', 1},
};
const LayoutTag kZ5PRACTags[] = {
    {"UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
    {"REK", nullptr, 0},
    {"DTOS(DAP)+STR(REK,5,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IM1)+PES+STR(RECNO(),5,0)", nullptr, 0},
};

// "Z5PENS  .DBF"
const LayoutField kZ5PENSFields[] = {
    {"NAZ", 'C', 30}, {"IMI", 'C', 15}, {"KOD", 'N', 5}, {"KTU", 'C', 6}, {"NRL", 'N', 3}, {"MIE", 'N', 2},
    {"DWY", 'D', 8}, {"SKL", 'C', 1}, {"DPI", 'N', 9, 2}, {"DZP", 'N', 9, 2}, {"DNI", 'N', 9, 2},
    {"DZN", 'N', 9, 2}, {"PZW", 'N', 9, 2}, {"SPI", 'N', 9, 2}, {"SZP", 'N', 9, 2}, {"SNI", 'N', 9, 2},
    {"SZN", 'N', 9, 2}, {"PPI", 'N', 9, 2}, {"PZP", 'N', 9, 2}, {"PNI", 'N', 9, 2}, {"PZN", 'N', 9, 2},
    {"BRP", 'N', 9, 2}, {"KUZ", 'N', 9, 2}, {"UKS", 'N', 9, 2}, {"DOP", 'N', 9, 2}, {"POP", 'N', 9, 2},
    {"POS", 'N', 4, 1}, {"POD", 'N', 9, 2}, {"ODL", 'N', 9, 2}, {"NPO", 'N', 9, 2}, {"ZAZ", 'N', 9, 2},
    {"ODZ", 'N', 9, 2}, {"OBP", 'N', 9, 2}, {"WYP", 'N', 9, 2}, {"ROZ", 'N', 9, 2}, {"ZER", 'N', 9, 2},
    {"PER", 'N', 9, 2}, {"KEU", 'N', 9, 2}, {"KEP", 'N', 9, 2}, {"KRU", 'N', 9, 2}, {"KRP", 'N', 9, 2},
    {"PCW", 'N', 9, 2}, {"KCU", 'N', 9, 2}, {"PSW", 'N', 9, 2}, {"KWP", 'N', 9, 2}, {"PSZ", 'N', 9, 2},
    {"KZU", 'N', 9, 2}, {"PFP", 'N', 9, 2}, {"FPP", 'N', 9, 2}, {"PFG", 'N', 9, 2}, {"FGP", 'N', 9, 2},
    {"PFE", 'N', 9, 2}, {"FEP", 'N', 9, 2}, {"PCO", 'N', 9, 2}, {"SCO", 'N', 9, 2}, {"REC", 'N', 5},
    {"WY1", 'N', 3}, {"WY2", 'N', 3}, {"WZC", 'N', 9, 2}, {"ODB", 'N', 9, 2}, {"BRE", 'N', 7}, {"BLP", 'N', 5},
    {"BDZ", 'D', 8}, {"ZRE", 'N', 7}, {"ZLP", 'N', 5}, {"ZDZ", 'D', 8}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2}, {"MOB", 'N', 11, 2}, {"VDI", 'N', 11, 2}, {"ZZW", 'N', 11, 2}, {"ZAK", 'N', 11, 2},
    {"KUM", 'C', 1}, {"ZAW", 'N', 11, 2}, {"ZAP", 'N', 11, 2}, {"ZKZ", 'N', 11, 2},
};
const LayoutTag kZ5PENSTags[] = {
    {"STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,4,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IMI)+STR(MIE,2,0)+STR(NRL,4,0)", nullptr, 0},
    {"STR(MIE,2,0)+STR(NRL,4,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5PESK  .DBF"
const LayoutField kZ5PESKFields[] = {
    {"KOD", 'N', 5}, {"NRL", 'N', 3}, {"MIE", 'N', 2}, {"KGS", 'C', 4}, {"KZU", 'C', 3}, {"TYP", 'C', 1},
    {"ROD", 'N', 1}, {"NA1", 'C', 35}, {"NA2", 'C', 35}, {"KWO", 'N', 9, 2}, {"DOD", 'D', 8}, {"DDO", 'D', 8},
    {"ILS", 'N', 3}, {"ILD", 'N', 3}, {"ILG", 'N', 3}, {"PRO", 'N', 6, 2}, {"PLC", 'C', 1}, {"KCH", 'C', 3},
    {"POD", 'C', 1}, {"ZUS", 'C', 1}, {"STA", 'C', 1}, {"SRE", 'C', 1}, {"OBN", 'C', 1}, {"REK", 'N', 5},
    {"DDZ", 'D', 8}, {"KTU", 'C', 6}, {"IDO", 'N', 2}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PESKTags[] = {
    {"STR(REK,5,0)+KGS+UPPER(NA1)+STR(RECNO(),7,0)", nullptr, 0},
    {"STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,2,0)", nullptr, 0},
};

// "Z5PELI.DBF"
const LayoutField kZ5PELIFields[] = {
    {"KGS", 'C', 4}, {"KZU", 'C', 3}, {"NA1", 'C', 35}, {"NA2", 'C', 35}, {"KWO", 'N', 9, 2}, {"PRO", 'N', 6, 2},
    {"PLC", 'C', 1}, {"POD", 'C', 1}, {"ZUS", 'C', 1}, {"SRE", 'C', 1}, {"OBN", 'C', 1}, {"USU", 'C', 1},
    {"ROD", 'N', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PELITags[] = {
    {"UPPER(NA1)", nullptr, 0},
    {"KGS", nullptr, 0},
};

// "Z5UMOW  .DBF"
const LayoutField kZ5UMOWFields[] = {
    {"TYP", 'N', 1}, {"NAZ", 'C', 30}, {"IMI", 'C', 15}, {"KOD", 'N', 5}, {"KTU", 'C', 6}, {"DAW", 'D', 8},
    {"DAR", 'D', 8}, {"WYN", 'N', 9, 2}, {"WOL", 'N', 9, 2}, {"WOR", 'C', 40}, {"IZU", 'N', 9, 2}, {"IZR", 'C', 40},
    {"IPI", 'N', 9, 2}, {"IPR", 'C', 40}, {"BRU", 'N', 9, 2}, {"UZP", 'N', 4, 1}, {"UZW", 'N', 9, 2},
    {"DOP", 'N', 9, 2}, {"POP", 'N', 9, 2}, {"POS", 'N', 4, 1}, {"POD", 'N', 9, 2}, {"NPO", 'N', 9, 2},
    {"NET", 'N', 9, 2}, {"PTR", 'N', 9, 2}, {"PTT", 'C', 40}, {"WYP", 'N', 9, 2}, {"PR1", 'C', 77},
    {"PR2", 'C', 77}, {"PR3", 'C', 77}, {"PR4", 'C', 77}, {"PR5", 'C', 77}, {"PR6", 'C', 77}, {"DOD", 'D', 8},
    {"DDO", 'D', 8}, {"TYT", 'N', 2}, {"LPB", 'N', 5}, {"DAB", 'D', 8}, {"LPZ", 'N', 5}, {"DAZ", 'D', 8},
    {"RKB", 'N', 7}, {"RKZ", 'N', 7}, {"PER", 'N', 9, 2}, {"KEU", 'N', 9, 2}, {"KEP", 'N', 9, 2},
    {"KRU", 'N', 9, 2}, {"KRP", 'N', 9, 2}, {"PCW", 'N', 9, 2}, {"PSW", 'N', 9, 2}, {"KCU", 'N', 9, 2},
    {"KWP", 'N', 9, 2}, {"PSZ", 'N', 9, 2}, {"KZU", 'N', 9, 2}, {"SEU", 'N', 9, 2}, {"SEP", 'N', 9, 2},
    {"SRU", 'N', 9, 2}, {"SRP", 'N', 9, 2}, {"SCU", 'N', 9, 2}, {"SZU", 'N', 9, 2}, {"PFP", 'N', 9, 2},
    {"FUP", 'N', 9, 2}, {"PFG", 'N', 9, 2}, {"FUG", 'N', 9, 2}, {"REC", 'N', 5}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2}, {"ODL", 'N', 9, 2}, {"PLA", 'N', 1},
};
const LayoutTag kZ5UMOWTags[] = {
    {"STR(KOD,5,0)+STR(MONTH(DAR),2,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
    {"DTOS(DAR)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
    {"RKB", nullptr, 0},
    {"RKZ", nullptr, 0},
    {"DTOS(DAR)+STR(RECNO(),6,0)", nullptr, 0},
};

// "Z5UMPR.DBF"
const LayoutField kZ5UMPRFields[] = {
    {"P1", 'C', 77}, {"P2", 'C', 77}, {"P3", 'C', 77}, {"P4", 'C', 77}, {"P5", 'C', 77}, {"P6", 'C', 77},
};
const LayoutTag kZ5UMPRTags[] = {
    {"UPPER(P1)", nullptr, 0},
};

// "Z5SRDN.DBF"
const LayoutField kZ5SRDNFields[] = {
    {"NAZ", 'C', 30}, {"IM1", 'C', 15}, {"KOD", 'N', 5}, {"ROK", 'N', 4}, {"MIE", 'N', 2}, {"SSE", 'N', 5, 2},
    {"SSR", 'N', 5, 2}, {"SSC", 'N', 5, 2}, {"PMA", 'C', 1}, {"DOM", 'N', 11, 2}, {"POM", 'N', 11, 2},
    {"DNP", 'N', 11, 2}, {"DGN", 'N', 11, 2}, {"DUZ", 'N', 11, 2}, {"DOK", 'N', 11, 2}, {"DKO", 'D', 8},
    {"DKD", 'D', 8}, {"DOR", 'N', 11, 2}, {"DRO", 'D', 8}, {"DRD", 'D', 8}, {"SMS", 'N', 11, 2},
    {"SNS", 'N', 11, 2}, {"SUS", 'N', 11, 2}, {"SKS", 'N', 11, 2}, {"SRS", 'N', 11, 2}, {"WY1", 'N', 3},
    {"WY2", 'N', 3}, {"IDR", 'N', 2}, {"IDP", 'N', 2}, {"SPM", 'N', 11, 2}, {"SPK", 'N', 11, 2},
    {"SPR", 'N', 11, 2}, {"CCW", 'C', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SRDNTags[] = {
    {"STR(KOD,5,0)+STR(ROK,4,0)+STR(MIE,2,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IM1)+STR(ROK,4,0)+STR(MIE,2,0)", nullptr, 0},
    {"STR(ROK,4,0)+STR(MIE,2,0)+UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
};

// "Z5KZUS.DBF"
const LayoutField kZ5KZUSFields[] = {
    {"KGL", 'N', 2}, {"KGR", 'C', 10}, {"NGR", 'C', 30}, {"KPG", 'C', 10}, {"SOP", 'C', 70}, {"OP1", 'C', 70},
    {"OP2", 'C', 70}, {"OP3", 'C', 70}, {"INF", 'C', 32},
};
const LayoutTag kZ5KZUSTags[] = {
    {"STR(KGL,2)+KGR+KPG", nullptr, 0},
};

// "Z5NIEO  .DBF"
const LayoutField kZ5NIEOFields[] = {
    {"KGS", 'C', 4}, {"KZU", 'C', 3}, {"NAZ", 'C', 30}, {"IMI", 'C', 15}, {"KOD", 'N', 5}, {"DOD", 'D', 8},
    {"DDO", 'D', 8}, {"NA1", 'C', 35}, {"NA2", 'C', 35}, {"KOC", 'C', 3}, {"ILD", 'N', 3}, {"ILR", 'N', 3},
    {"ILG", 'N', 3}, {"DDZ", 'D', 8}, {"KTU", 'C', 6}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5NIEOTags[] = {
    {"STR(KOD,5,0)+STR(MONTH(DOD),2,0)", nullptr, 0},
    {"DTOS(DOD)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5ZUSD  .DBF"
const LayoutField kZ5ZUSDFields[] = {
    {"KOD", 'C', 3}, {"DOD", 'D', 8}, {"DDO", 'D', 8}, {"KWO", 'N', 9, 2}, {"REC", 'N', 5}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSDTags[] = {
    {"STR(REC,5,0)+KOD", nullptr, 0},
};

// "Z5ZUSP  .DBF"
const LayoutField kZ5ZUSPFields[] = {
    {"KTU", 'C', 6}, {"KOD", 'C', 3}, {"DOD", 'D', 8}, {"DDO", 'D', 8}, {"ILZ", 'N', 2}, {"KCH", 'C', 3},
    {"KWO", 'N', 9, 2}, {"REC", 'N', 5}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSPTags[] = {
    {"STR(REC,5,0)+KOD", nullptr, 0},
};

// "Z5ZUSR  .DBF"
const LayoutField kZ5ZUSRFields[] = {
    {"INR", 'N', 2}, {"MIE", 'N', 2}, {"RCA", 'N', 2}, {"RNA", 'N', 2}, {"RSA", 'N', 2}, {"RGA", 'N', 2},
    {"RZA", 'N', 2}, {"RMA", 'N', 2}, {"IRR", 'N', 2}, {"DWY", 'D', 8}, {"DEP", 'C', 12}, {"DUS", 'N', 10, 2},
    {"DUZ", 'N', 10, 2}, {"DFP", 'N', 10, 2}, {"ILU", 'N', 5}, {"REC", 'N', 5}, {"DAZ", 'D', 8}, {"INF", 'C', 32},
    {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSRTags[] = {
    {"STR(MIE,2,0)+STR(INR,2,0)", nullptr, 0},
};

// "Z5ZUSS  .DBF"
const LayoutField kZ5ZUSSFields[] = {
    {"NAZ", 'C', 30}, {"IMI", 'C', 15}, {"KOD", 'N', 5}, {"TID", 'C', 1}, {"NID", 'C', 11}, {"KTU", 'C', 6},
    {"PMA", 'C', 1}, {"WY1", 'N', 3}, {"WY2", 'N', 3}, {"PERP", 'N', 9, 2}, {"PCWP", 'N', 9, 2},
    {"PSZP", 'N', 9, 2}, {"KEUP", 'N', 9, 2}, {"KRUP", 'N', 9, 2}, {"KCUP", 'N', 9, 2}, {"KZUP", 'N', 9, 2},
    {"KEPP", 'N', 9, 2}, {"KRPP", 'N', 9, 2}, {"KWPP", 'N', 9, 2}, {"KOSP", 'N', 9, 2}, {"KWSP", 'N', 9, 2},
    {"FPPP", 'N', 9, 2}, {"FGPP", 'N', 9, 2}, {"PERU", 'N', 9, 2}, {"PCWU", 'N', 9, 2}, {"PSZU", 'N', 9, 2},
    {"KEUU", 'N', 9, 2}, {"KRUU", 'N', 9, 2}, {"KCUU", 'N', 9, 2}, {"KZUU", 'N', 9, 2}, {"KEPU", 'N', 9, 2},
    {"KRPU", 'N', 9, 2}, {"KWPU", 'N', 9, 2}, {"KWSU", 'N', 9, 2}, {"FPPU", 'N', 9, 2}, {"FGPU", 'N', 9, 2},
    {"ILR", 'N', 2}, {"ZAR", 'N', 9, 2}, {"ZAW", 'N', 9, 2}, {"ILP", 'N', 2}, {"ZAP", 'N', 9, 2}, {"LDP", 'N', 2},
    {"LDO", 'N', 2}, {"KWZ", 'N', 9, 2}, {"KUW", 'C', 6}, {"PERW", 'N', 9, 2}, {"PSZW", 'N', 9, 2},
    {"KEPW", 'N', 9, 2}, {"KRPW", 'N', 9, 2}, {"KSZW", 'N', 9, 2}, {"KUM", 'C', 6}, {"PERM", 'N', 9, 2},
    {"KEPM", 'N', 9, 2}, {"KRPM", 'N', 9, 2}, {"RZT", 'C', 1}, {"FEP", 'N', 9, 2}, {"INF", 'C', 32},
    {"REC", 'N', 5}, {"REK", 'N', 5}, {"TZD", 'C', 1}, {"PPR", 'C', 1}, {"DPM", 'N', 11, 2}, {"PRP", 'N', 11, 2},
    {"RE1", 'C', 30}, {"RE2", 'N', 11, 2}, {"ZFO", 'N', 1}, {"FORP", 'C', 1}, {"PRZP", 'N', 12, 2},
    {"NPOP", 'N', 12, 2}, {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2}, {"SSKP", 'N', 12, 2}, {"ZAPP", 'N', 12, 2},
    {"ZWRP", 'N', 12, 2}, {"FORL", 'C', 1}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2}, {"RSKL", 'N', 12, 2},
    {"SSKL", 'N', 12, 2}, {"ZAPL", 'N', 12, 2}, {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1}, {"PRZR", 'N', 12, 2},
    {"RPWR", 'N', 12, 2}, {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2}, {"ZAPR", 'N', 12, 2}, {"ZWRR", 'N', 12, 2},
    {"NRCA", 'N', 1}, {"MWS", 'N', 1}, {"CWS", 'N', 1}, {"FWS", 'N', 1}, {"KTW", 'C', 6}, {"KCPP", 'N', 9, 2},
    {"RE3", 'N', 11, 2}, {"RE4", 'N', 11, 2},
};
const LayoutTag kZ5ZUSSTags[] = {
    {"STR(REK,5,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5ZUWS  .DBF"
const LayoutField kZ5ZUWSFields[] = {
    {"MIE", 'N', 2}, {"NUM", 'N', 2}, {"TYP", 'C', 1}, {"KOD", 'N', 5}, {"TDE", 'C', 1}, {"DEP", 'C', 12},
    {"NIP", 'C', 13}, {"REG", 'C', 20}, {"PES", 'C', 15}, {"TID", 'C', 1}, {"NUD", 'C', 11}, {"SKN", 'C', 31},
    {"NAZ", 'C', 25}, {"IMI", 'C', 15}, {"DAU", 'D', 8}, {"LIU", 'N', 6}, {"LPP", 'N', 9, 2}, {"ZPC", 'C', 1},
    {"KSE", 'N', 11, 2}, {"KSR", 'N', 11, 2}, {"SES", 'N', 11, 2}, {"KEU", 'N', 11, 2}, {"KRU", 'N', 11, 2},
    {"SEU", 'N', 11, 2}, {"KEP", 'N', 11, 2}, {"KRP", 'N', 11, 2}, {"SEP", 'N', 11, 2}, {"KEB", 'N', 11, 2},
    {"KRB", 'N', 11, 2}, {"SEB", 'N', 11, 2}, {"KEF", 'N', 11, 2}, {"KRF", 'N', 11, 2}, {"SEF", 'N', 11, 2},
    {"KEK", 'N', 11, 2}, {"KRK", 'N', 11, 2}, {"SEK", 'N', 11, 2}, {"SUC", 'N', 11, 2}, {"SUW", 'N', 11, 2},
    {"SUS", 'N', 11, 2}, {"KCU", 'N', 11, 2}, {"KWU", 'N', 11, 2}, {"SCU", 'N', 11, 2}, {"KWP", 'N', 11, 2},
    {"SWP", 'N', 11, 2}, {"KCF", 'N', 11, 2}, {"KWF", 'N', 11, 2}, {"SCF", 'N', 11, 2}, {"KWK", 'N', 11, 2},
    {"SWK", 'N', 11, 2}, {"NAL", 'N', 12, 2}, {"WSC", 'N', 11, 2}, {"NWC", 'N', 11, 2}, {"WSW", 'N', 11, 2},
    {"WSB", 'N', 11, 2}, {"KPO", 'N', 11, 2}, {"ZZW", 'N', 11, 2}, {"PLA", 'N', 11, 2}, {"NSP", 'N', 11, 2},
    {"NSK", 'N', 11, 2}, {"NAW", 'N', 11, 2}, {"KZ1", 'N', 12, 2}, {"SFU", 'N', 11, 2}, {"SFP", 'N', 11, 2},
    {"SFG", 'N', 11, 2}, {"KZ2", 'N', 12, 2}, {"RAZ", 'N', 13, 2}, {"DUS", 'N', 11, 2}, {"DUZ", 'N', 11, 2},
    {"DFF", 'N', 11, 2}, {"DRA", 'N', 12, 2}, {"KTU", 'C', 6}, {"PWE", 'N', 11, 2}, {"PCH", 'N', 11, 2},
    {"PZD", 'N', 11, 2}, {"WER", 'N', 11, 2}, {"WCH", 'N', 11, 2}, {"WZD", 'N', 11, 2}, {"PMA", 'C', 1},
    {"RCA", 'N', 5}, {"RNA", 'N', 5}, {"RZA", 'N', 5}, {"RSA", 'N', 5}, {"RGA", 'N', 5}, {"ILK", 'N', 5},
    {"IDE", 'C', 8}, {"DWY", 'D', 8}, {"KCP", 'N', 11, 2}, {"PFP", 'N', 11, 2}, {"WFP", 'N', 11, 2},
    {"PWY", 'N', 11, 2}, {"WWY", 'N', 11, 2}, {"POT", 'C', 1}, {"ILR", 'N', 2}, {"ZAR", 'N', 8, 2}, {"ILP", 'N', 2},
    {"ZAP", 'N', 8, 2}, {"ILI", 'N', 2}, {"ZAI", 'N', 8, 2}, {"SWC", 'N', 11, 2}, {"REC", 'N', 5}, {"ROP", 'C', 1},
    {"SWY", 'N', 5, 2}, {"RZT", 'C', 1}, {"INF", 'C', 32}, {"ZFO", 'N', 1}, {"ZFP", 'N', 1}, {"FORP", 'C', 1},
    {"PRZP", 'N', 12, 2}, {"NPOP", 'N', 12, 2}, {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2}, {"SSKP", 'N', 12, 2},
    {"ZAPP", 'N', 12, 2}, {"ZWRP", 'N', 12, 2}, {"FORL", 'C', 1}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2},
    {"RSKL", 'N', 12, 2}, {"SSKL", 'N', 12, 2}, {"ZAPL", 'N', 12, 2}, {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1},
    {"PRZR", 'N', 12, 2}, {"RPWR", 'N', 12, 2}, {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2}, {"ZAPR", 'N', 12, 2},
    {"ZWRR", 'N', 12, 2}, {"KTW", 'C', 6}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUWSTags[] = {
    {"STR(MIE,2,0)+STR(NUM,2,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
    {"STR(MIE,2,0)+STR(KOD,5,0)+STR(NUM,2,0)", nullptr, 0},
    {"STR(MIE,2,0)+STR(RGA,5,0)+STR(NUM,2,0)", nullptr, 0},
};

// "Z5ZFSS  .DBF"
const LayoutField kZ5ZFSSFields[] = {
    {"DAT", 'D', 8}, {"TYP", 'N', 1}, {"NUM", 'C', 20}, {"OPI", 'C', 60}, {"NAZ", 'C', 50}, {"WPL", 'N', 11, 2},
    {"WYP", 'N', 11, 2}, {"STA", 'C', 1}, {"KOD", 'C', 20}, {"INF", 'C', 32},
};
const LayoutTag kZ5ZFSSTags[] = {
    {"UPPER(OPI)", nullptr, 0},
    {"DTOS(DAT)", nullptr, 0},
    {"UPPER(NAZ)", nullptr, 0},
};

// "Z5WSPL  .DBF"
const LayoutField kZ5WSPLFields[] = {
    {"NAZ", 'C', 25}, {"IM1", 'C', 15}, {"IM2", 'C', 15}, {"IMO", 'C', 15}, {"IMM", 'C', 15}, {"MUR", 'C', 20},
    {"DAU", 'D', 8}, {"PES", 'C', 15}, {"NIP", 'C', 13}, {"TID", 'C', 1}, {"NUD", 'C', 11}, {"POW", 'C', 25},
    {"GMI", 'C', 25}, {"WOJ", 'C', 25}, {"ULI", 'C', 25}, {"NRD", 'C', 9}, {"NRM", 'C', 9}, {"KOD", 'C', 6},
    {"MIA", 'C', 25}, {"PCZ", 'C', 20}, {"KRA", 'C', 30}, {"TEL", 'C', 20}, {"TEF", 'C', 20}, {"POC", 'N', 2},
    {"KON", 'C', 1}, {"UDZ", 'N', 7, 3}, {"P73", 'C', 15}, {"P74", 'C', 20}, {"P75", 'C', 60}, {"P76", 'C', 60},
    {"N10", 'C', 15}, {"N11", 'C', 20}, {"N12", 'C', 60}, {"N13", 'C', 60}, {"A09", 'C', 15}, {"A10", 'C', 20},
    {"A11", 'C', 60}, {"A12", 'C', 60}, {"A18", 'C', 15}, {"A19", 'C', 20}, {"A20", 'C', 60}, {"A21", 'C', 60},
    {"A27", 'C', 15}, {"A28", 'C', 20}, {"A29", 'C', 60}, {"A30", 'C', 60}, {"A36", 'C', 15}, {"A37", 'C', 20},
    {"A38", 'C', 60}, {"A39", 'C', 60}, {"A45", 'C', 15}, {"A46", 'C', 20}, {"A47", 'C', 60}, {"A48", 'C', 60},
    {"A54", 'C', 15}, {"A55", 'C', 20}, {"A56", 'C', 60}, {"A57", 'C', 60}, {"N20", 'C', 15}, {"N21", 'C', 20},
    {"N22", 'C', 60}, {"N23", 'C', 60}, {"P114", 'C', 60}, {"P115", 'C', 60}, {"P121", 'C', 60}, {"P122", 'C', 60},
    {"N30", 'C', 60}, {"N31", 'C', 60}, {"N40", 'C', 60}, {"N41", 'C', 60}, {"A67", 'C', 60}, {"A68", 'C', 60},
    {"A74", 'C', 60}, {"A75", 'C', 60}, {"A81", 'C', 60}, {"A82", 'C', 60}, {"A88", 'C', 60}, {"A89", 'C', 60},
    {"A95", 'C', 60}, {"A96", 'C', 60}, {"A102", 'C', 60}, {"A103", 'C', 60}, {"N50", 'C', 60}, {"N51", 'C', 60},
    {"P82", 'C', 50}, {"P83", 'C', 20}, {"P84", 'C', 20}, {"P85", 'C', 60}, {"P86", 'C', 60}, {"P87", 'C', 20},
    {"P88", 'D', 8}, {"P89", 'D', 8}, {"P901", 'C', 1}, {"P902", 'C', 1}, {"P903", 'C', 1}, {"P98", 'C', 50},
    {"P99", 'C', 20}, {"P100", 'C', 20}, {"P101", 'C', 60}, {"P102", 'C', 60}, {"P103", 'C', 20}, {"P104", 'D', 8},
    {"P105", 'D', 8}, {"P1061", 'C', 1}, {"P1062", 'C', 1}, {"P1063", 'C', 1}, {"N60", 'C', 1}, {"N61", 'C', 1},
    {"N62", 'C', 1}, {"URZ", 'N', 4}, {"BAN", 'C', 30}, {"KNT", 'C', 42}, {"KTU", 'C', 6}, {"PER", 'N', 9, 2},
    {"PCH", 'N', 9, 2}, {"PWY", 'N', 9, 2}, {"PZD", 'N', 9, 2}, {"PFP", 'N', 9, 2}, {"PMA", 'C', 1},
    {"DPM", 'D', 8}, {"UCH", 'C', 1}, {"UEM", 'C', 1}, {"URE", 'C', 1}, {"UWY", 'C', 1}, {"UZD", 'C', 1},
    {"UBE", 'C', 1}, {"UFP", 'C', 1}, {"SKN", 'C', 31}, {"TDE", 'C', 1}, {"KTZ", 'N', 6}, {"NUS", 'C', 10},
    {"POT", 'C', 1}, {"ILR", 'N', 2}, {"ZAR", 'N', 11, 2}, {"ILP", 'N', 4}, {"ZAP", 'N', 8, 2}, {"ILI", 'N', 4},
    {"ZAI", 'N', 8, 2}, {"COD", 'C', 1}, {"ROP", 'C', 1}, {"SWY", 'N', 5, 2}, {"RZA", 'C', 1}, {"GUS", 'C', 7},
    {"PLI", 'C', 1}, {"POK", 'C', 1}, {"PLK", 'C', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
    {"RE3", 'N', 9, 2}, {"RE4", 'N', 9, 2}, {"RE5", 'C', 1}, {"RE6", 'C', 1}, {"UR4", 'C', 1}, {"USN", 'C', 1},
    {"ZFO", 'N', 1}, {"FOP", 'N', 1}, {"ORG", 'N', 1}, {"KWA", 'C', 1}, {"REC", 'N', 5}, {"IMP", 'N', 1},
    {"IMK", 'N', 1}, {"ZFP", 'N', 1}, {"FORP", 'C', 1}, {"PRZP", 'N', 12, 2}, {"NPOP", 'N', 12, 2},
    {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2}, {"SSKP", 'N', 12, 2}, {"ZAPP", 'N', 12, 2}, {"ZWRP", 'N', 12, 2},
    {"FORL", 'C', 1}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2}, {"RSKL", 'N', 12, 2}, {"SSKL", 'N', 12, 2},
    {"ZAPL", 'N', 12, 2}, {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1}, {"KOSR", 'N', 12, 2}, {"DOCR", 'N', 12, 2},
    {"PRZR", 'N', 12, 2}, {"RPWR", 'N', 12, 2}, {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2}, {"ZAPR", 'N', 12, 2},
    {"ZWRR", 'N', 12, 2}, {"MZDR", 'N', 2}, {"KTW", 'C', 6}, {"MWS", 'N', 2}, {"CWS", 'C', 1}, {"FWS", 'C', 1},
};
const LayoutTag kZ5WSPLTags[] = {
    {"UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
};

// "Z5WSSK  .DBF"
const LayoutField kZ5WSSKFields[] = {
    {"KTU", 'C', 6}, {"KZU", 'C', 3}, {"NA1", 'C', 35}, {"NA2", 'C', 35}, {"KWO", 'N', 9, 2}, {"KCH", 'C', 3},
    {"DOD", 'D', 8}, {"DDO", 'D', 8}, {"REK", 'N', 5}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5WSSKTags[] = {
    {"STR(REK,5,0)+KZU", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5PRAC = MakeLayout(kZ5PRACFields, kZ5PRACTags);
const TableLayout LAYOUT_Z5PENS = MakeLayout(kZ5PENSFields, kZ5PENSTags);
const TableLayout LAYOUT_Z5PESK = MakeLayout(kZ5PESKFields, kZ5PESKTags);
const TableLayout LAYOUT_Z5PELI = MakeLayout(kZ5PELIFields, kZ5PELITags);
const TableLayout LAYOUT_Z5UMOW = MakeLayout(kZ5UMOWFields, kZ5UMOWTags);
const TableLayout LAYOUT_Z5UMPR = MakeLayout(kZ5UMPRFields, kZ5UMPRTags);
const TableLayout LAYOUT_Z5SRDN = MakeLayout(kZ5SRDNFields, kZ5SRDNTags);
const TableLayout LAYOUT_Z5KZUS = MakeLayout(kZ5KZUSFields, kZ5KZUSTags);
const TableLayout LAYOUT_Z5NIEO = MakeLayout(kZ5NIEOFields, kZ5NIEOTags);
const TableLayout LAYOUT_Z5ZUSD = MakeLayout(kZ5ZUSDFields, kZ5ZUSDTags);
const TableLayout LAYOUT_Z5ZUSP = MakeLayout(kZ5ZUSPFields, kZ5ZUSPTags);
const TableLayout LAYOUT_Z5ZUSR = MakeLayout(kZ5ZUSRFields, kZ5ZUSRTags);
const TableLayout LAYOUT_Z5ZUSS = MakeLayout(kZ5ZUSSFields, kZ5ZUSSTags);
const TableLayout LAYOUT_Z5ZUWS = MakeLayout(kZ5ZUWSFields, kZ5ZUWSTags);
const TableLayout LAYOUT_Z5ZFSS = MakeLayout(kZ5ZFSSFields, kZ5ZFSSTags);
const TableLayout LAYOUT_Z5WSPL = MakeLayout(kZ5WSPLFields, kZ5WSPLTags);
const TableLayout LAYOUT_Z5WSSK = MakeLayout(kZ5WSSKFields, kZ5WSSKTags);
