// Layouts of personnel, contribution and partners tables kept for the maintenance pass.
#include "tables/layouts.h"

namespace {

// "Z5PRAC.DBF"
const LayoutField kZ5PRACFields[] = {
    {"NAZ", 'C', 30, 0}, {"IM1", 'C', 17, 0}, {"IM2", 'C', 17, 0}, {"IMO", 'C', 17, 0}, {"IMM", 'C', 17, 0}, {"MIE", 'C', 25, 0},
    {"PES", 'C', 11, 0}, {"NIP", 'C', 13, 0}, {"DAU", 'D', 8, 0}, {"KOD", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 20, 0},
    {"DAP", 'D', 8, 0}, {"DAZ", 'D', 8, 0}, {"DBL", 'D', 8, 0}, {"ULG", 'C', 1, 0}, {"PI0", 'C', 1, 0}, {"ODP", 'D', 8, 0},
    {"DOP", 'D', 8, 0}, {"UKS", 'C', 1, 0}, {"CZU", 'C', 1, 0}, {"CTZ", 'C', 1, 0}, {"KUP", 'C', 1, 0}, {"KOU", 'N', 4, 0},
    {"KRA", 'C', 30, 0}, {"POW", 'C', 25, 0}, {"GMI", 'C', 25, 0}, {"WOJ", 'C', 20, 0}, {"POC", 'C', 20, 0}, {"TEL", 'C', 20, 0},
    {"NRD", 'C', 9, 0}, {"NRM", 'C', 9, 0}, {"WY1", 'N', 3, 0}, {"WY2", 'N', 3, 0}, {"CZG", 'C', 1, 0}, {"STA", 'C', 1, 0},
    {"BAN", 'C', 30, 0}, {"KON", 'C', 42, 0}, {"ROD", 'C', 1, 0}, {"SUN", 'N', 5, 0}, {"SUG", 'N', 6, 0}, {"KTU", 'C', 6, 0},
    {"TID", 'C', 1, 0}, {"NUD", 'C', 11, 0}, {"TBL", 'C', 1, 0}, {"STG", 'N', 6, 2}, {"BRG", 'N', 9, 2}, {"KUZ", 'N', 9, 2},
    {"OZR", 'N', 6, 2}, {"KZR", 'N', 6, 2}, {"OZP", 'N', 2, 0}, {"KZP", 'N', 6, 2}, {"KZW", 'N', 6, 2}, {"PMA", 'C', 1, 0},
    {"DPM", 'D', 8, 0}, {"OER", 'N', 9, 2}, {"ERW", 'N', 9, 2}, {"WER", 'N', 9, 2}, {"WCW", 'N', 9, 2}, {"WZD", 'N', 9, 2},
    {"UBC", 'C', 1, 0}, {"UBS", 'C', 1, 0}, {"UBZ", 'C', 1, 0}, {"ZPZ", 'N', 11, 2}, {"NAR", 'C', 30, 0}, {"OBY", 'C', 30, 0},
    {"PLE", 'C', 1, 0}, {"ONP", 'D', 8, 0}, {"ONK", 'D', 8, 0}, {"PUZ", 'D', 8, 0}, {"KPP", 'C', 2, 0}, {"GOS", 'C', 1, 0},
    {"KSN", 'C', 2, 0}, {"PNP", 'D', 8, 0}, {"KNP", 'D', 8, 0}, {"KZA", 'C', 7, 0}, {"KWY", 'C', 2, 0}, {"KPS", 'C', 9, 0},
    {"PSP", 'D', 8, 0}, {"PSK", 'D', 8, 0}, {"KKC", 'C', 3, 0}, {"NKS", 'C', 70, 0}, {"DKS", 'D', 8, 0}, {"ZKO", 'C', 6, 0},
    {"ZKR", 'C', 30, 0}, {"ZMI", 'C', 25, 0}, {"ZGM", 'C', 20, 0}, {"ZWO", 'C', 20, 0}, {"ZPO", 'C', 20, 0}, {"ZPW", 'C', 25, 0},
    {"ZUL", 'C', 20, 0}, {"ZND", 'C', 5, 0}, {"ZNM", 'C', 5, 0}, {"ZTE", 'C', 20, 0}, {"ZFA", 'C', 20, 0}, {"OOZ", 'N', 2, 0},
    {"CFP", 'C', 1, 0}, {"CPM", 'C', 1, 0}, {"CKU", 'C', 1, 0}, {"GUS", 'C', 7, 0}, {"ADN", 'C', 70, 0}, {"FPU", 'C', 1, 0},
    {"DFP", 'D', 8, 0}, {"CFG", 'C', 1, 0}, {"DFG", 'D', 8, 0}, {"FGU", 'C', 1, 0}, {"STN", 'C', 60, 0}, {"NO1", 'C', 77, 0},
    {"NO2", 'C', 77, 0}, {"PDG", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"REK", 'N', 5, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
    {"RE3", 'C', 30, 0}, {"ZMN", 'N', 1, 0}, {"ZMR", 'N', 1, 0}, {"ROZ", 'N', 1, 0}, {"RZ1", 'C', 1, 0}, {"RZ2", 'C', 1, 0},
    {"UPO", 'C', 1, 0}, {"ODR", 'N', 4, 0}, {"DOR", 'N', 4, 0}, {"URO", 'C', 1, 0}, {"USE", 'C', 1, 0}, {"MKO", 'C', 1, 0},
    {"N50", 'C', 1, 0}, {"BZA", 'C', 1, 0}, {"BZR", 'N', 4, 0}, {"RKO", 'N', 1, 0}, {"RPO", 'N', 1, 0},
};
const LayoutTag kZ5PRACTags[] = {
    {"UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
    {"REK", nullptr, 0},
    {"DTOS(DAP)+STR(REK,5,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IM1)+PES+STR(RECNO(),5,0)", nullptr, 0},
};

// "Z5PENS  .DBF"
const LayoutField kZ5PENSFields[] = {
    {"NAZ", 'C', 30, 0}, {"IMI", 'C', 15, 0}, {"KOD", 'N', 5, 0}, {"KTU", 'C', 6, 0}, {"NRL", 'N', 3, 0}, {"MIE", 'N', 2, 0},
    {"DWY", 'D', 8, 0}, {"SKL", 'C', 1, 0}, {"DPI", 'N', 9, 2}, {"DZP", 'N', 9, 2}, {"DNI", 'N', 9, 2}, {"DZN", 'N', 9, 2},
    {"PZW", 'N', 9, 2}, {"SPI", 'N', 9, 2}, {"SZP", 'N', 9, 2}, {"SNI", 'N', 9, 2}, {"SZN", 'N', 9, 2}, {"PPI", 'N', 9, 2},
    {"PZP", 'N', 9, 2}, {"PNI", 'N', 9, 2}, {"PZN", 'N', 9, 2}, {"BRP", 'N', 9, 2}, {"KUZ", 'N', 9, 2}, {"UKS", 'N', 9, 2},
    {"DOP", 'N', 9, 2}, {"POP", 'N', 9, 2}, {"POS", 'N', 4, 1}, {"POD", 'N', 9, 2}, {"ODL", 'N', 9, 2}, {"NPO", 'N', 9, 2},
    {"ZAZ", 'N', 9, 2}, {"ODZ", 'N', 9, 2}, {"OBP", 'N', 9, 2}, {"WYP", 'N', 9, 2}, {"ROZ", 'N', 9, 2}, {"ZER", 'N', 9, 2},
    {"PER", 'N', 9, 2}, {"KEU", 'N', 9, 2}, {"KEP", 'N', 9, 2}, {"KRU", 'N', 9, 2}, {"KRP", 'N', 9, 2}, {"PCW", 'N', 9, 2},
    {"KCU", 'N', 9, 2}, {"PSW", 'N', 9, 2}, {"KWP", 'N', 9, 2}, {"PSZ", 'N', 9, 2}, {"KZU", 'N', 9, 2}, {"PFP", 'N', 9, 2},
    {"FPP", 'N', 9, 2}, {"PFG", 'N', 9, 2}, {"FGP", 'N', 9, 2}, {"PFE", 'N', 9, 2}, {"FEP", 'N', 9, 2}, {"PCO", 'N', 9, 2},
    {"SCO", 'N', 9, 2}, {"REC", 'N', 5, 0}, {"WY1", 'N', 3, 0}, {"WY2", 'N', 3, 0}, {"WZC", 'N', 9, 2}, {"ODB", 'N', 9, 2},
    {"BRE", 'N', 7, 0}, {"BLP", 'N', 5, 0}, {"BDZ", 'D', 8, 0}, {"ZRE", 'N', 7, 0}, {"ZLP", 'N', 5, 0}, {"ZDZ", 'D', 8, 0},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2}, {"MOB", 'N', 11, 2}, {"VDI", 'N', 11, 2}, {"ZZW", 'N', 11, 2},
    {"ZAK", 'N', 11, 2}, {"KUM", 'C', 1, 0}, {"ZAW", 'N', 11, 2}, {"ZAP", 'N', 11, 2}, {"ZKZ", 'N', 11, 2},
};
const LayoutTag kZ5PENSTags[] = {
    {"STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,4,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IMI)+STR(MIE,2,0)+STR(NRL,4,0)", nullptr, 0},
    {"STR(MIE,2,0)+STR(NRL,4,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5PESK  .DBF"
const LayoutField kZ5PESKFields[] = {
    {"KOD", 'N', 5, 0}, {"NRL", 'N', 3, 0}, {"MIE", 'N', 2, 0}, {"KGS", 'C', 4, 0}, {"KZU", 'C', 3, 0}, {"TYP", 'C', 1, 0},
    {"ROD", 'N', 1, 0}, {"NA1", 'C', 35, 0}, {"NA2", 'C', 35, 0}, {"KWO", 'N', 9, 2}, {"DOD", 'D', 8, 0}, {"DDO", 'D', 8, 0},
    {"ILS", 'N', 3, 0}, {"ILD", 'N', 3, 0}, {"ILG", 'N', 3, 0}, {"PRO", 'N', 6, 2}, {"PLC", 'C', 1, 0}, {"KCH", 'C', 3, 0},
    {"POD", 'C', 1, 0}, {"ZUS", 'C', 1, 0}, {"STA", 'C', 1, 0}, {"SRE", 'C', 1, 0}, {"OBN", 'C', 1, 0}, {"REK", 'N', 5, 0},
    {"DDZ", 'D', 8, 0}, {"KTU", 'C', 6, 0}, {"IDO", 'N', 2, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PESKTags[] = {
    {"STR(REK,5,0)+KGS+UPPER(NA1)+STR(RECNO(),7,0)", nullptr, 0},
    {"STR(KOD,5,0)+STR(MIE,2,0)+STR(NRL,2,0)", nullptr, 0},
};

// "Z5PELI.DBF"
const LayoutField kZ5PELIFields[] = {
    {"KGS", 'C', 4, 0}, {"KZU", 'C', 3, 0}, {"NA1", 'C', 35, 0}, {"NA2", 'C', 35, 0}, {"KWO", 'N', 9, 2}, {"PRO", 'N', 6, 2},
    {"PLC", 'C', 1, 0}, {"POD", 'C', 1, 0}, {"ZUS", 'C', 1, 0}, {"SRE", 'C', 1, 0}, {"OBN", 'C', 1, 0}, {"USU", 'C', 1, 0},
    {"ROD", 'N', 1, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PELITags[] = {
    {"UPPER(NA1)", nullptr, 0},
    {"KGS", nullptr, 0},
};

// "Z5UMOW  .DBF"
const LayoutField kZ5UMOWFields[] = {
    {"TYP", 'N', 1, 0}, {"NAZ", 'C', 30, 0}, {"IMI", 'C', 15, 0}, {"KOD", 'N', 5, 0}, {"KTU", 'C', 6, 0}, {"DAW", 'D', 8, 0},
    {"DAR", 'D', 8, 0}, {"WYN", 'N', 9, 2}, {"WOL", 'N', 9, 2}, {"WOR", 'C', 40, 0}, {"IZU", 'N', 9, 2}, {"IZR", 'C', 40, 0},
    {"IPI", 'N', 9, 2}, {"IPR", 'C', 40, 0}, {"BRU", 'N', 9, 2}, {"UZP", 'N', 4, 1}, {"UZW", 'N', 9, 2}, {"DOP", 'N', 9, 2},
    {"POP", 'N', 9, 2}, {"POS", 'N', 4, 1}, {"POD", 'N', 9, 2}, {"NPO", 'N', 9, 2}, {"NET", 'N', 9, 2}, {"PTR", 'N', 9, 2},
    {"PTT", 'C', 40, 0}, {"WYP", 'N', 9, 2}, {"PR1", 'C', 77, 0}, {"PR2", 'C', 77, 0}, {"PR3", 'C', 77, 0}, {"PR4", 'C', 77, 0},
    {"PR5", 'C', 77, 0}, {"PR6", 'C', 77, 0}, {"DOD", 'D', 8, 0}, {"DDO", 'D', 8, 0}, {"TYT", 'N', 2, 0}, {"LPB", 'N', 5, 0},
    {"DAB", 'D', 8, 0}, {"LPZ", 'N', 5, 0}, {"DAZ", 'D', 8, 0}, {"RKB", 'N', 7, 0}, {"RKZ", 'N', 7, 0}, {"PER", 'N', 9, 2},
    {"KEU", 'N', 9, 2}, {"KEP", 'N', 9, 2}, {"KRU", 'N', 9, 2}, {"KRP", 'N', 9, 2}, {"PCW", 'N', 9, 2}, {"PSW", 'N', 9, 2},
    {"KCU", 'N', 9, 2}, {"KWP", 'N', 9, 2}, {"PSZ", 'N', 9, 2}, {"KZU", 'N', 9, 2}, {"SEU", 'N', 9, 2}, {"SEP", 'N', 9, 2},
    {"SRU", 'N', 9, 2}, {"SRP", 'N', 9, 2}, {"SCU", 'N', 9, 2}, {"SZU", 'N', 9, 2}, {"PFP", 'N', 9, 2}, {"FUP", 'N', 9, 2},
    {"PFG", 'N', 9, 2}, {"FUG", 'N', 9, 2}, {"REC", 'N', 5, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
    {"ODL", 'N', 9, 2}, {"PLA", 'N', 1, 0},
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
    {"P1", 'C', 77, 0}, {"P2", 'C', 77, 0}, {"P3", 'C', 77, 0}, {"P4", 'C', 77, 0}, {"P5", 'C', 77, 0}, {"P6", 'C', 77, 0},
};
const LayoutTag kZ5UMPRTags[] = {
    {"UPPER(P1)", nullptr, 0},
};

// "Z5SRDN.DBF"
const LayoutField kZ5SRDNFields[] = {
    {"NAZ", 'C', 30, 0}, {"IM1", 'C', 15, 0}, {"KOD", 'N', 5, 0}, {"ROK", 'N', 4, 0}, {"MIE", 'N', 2, 0}, {"SSE", 'N', 5, 2},
    {"SSR", 'N', 5, 2}, {"SSC", 'N', 5, 2}, {"PMA", 'C', 1, 0}, {"DOM", 'N', 11, 2}, {"POM", 'N', 11, 2}, {"DNP", 'N', 11, 2},
    {"DGN", 'N', 11, 2}, {"DUZ", 'N', 11, 2}, {"DOK", 'N', 11, 2}, {"DKO", 'D', 8, 0}, {"DKD", 'D', 8, 0}, {"DOR", 'N', 11, 2},
    {"DRO", 'D', 8, 0}, {"DRD", 'D', 8, 0}, {"SMS", 'N', 11, 2}, {"SNS", 'N', 11, 2}, {"SUS", 'N', 11, 2}, {"SKS", 'N', 11, 2},
    {"SRS", 'N', 11, 2}, {"WY1", 'N', 3, 0}, {"WY2", 'N', 3, 0}, {"IDR", 'N', 2, 0}, {"IDP", 'N', 2, 0}, {"SPM", 'N', 11, 2},
    {"SPK", 'N', 11, 2}, {"SPR", 'N', 11, 2}, {"CCW", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SRDNTags[] = {
    {"STR(KOD,5,0)+STR(ROK,4,0)+STR(MIE,2,0)", nullptr, 0},
    {"UPPER(NAZ)+UPPER(IM1)+STR(ROK,4,0)+STR(MIE,2,0)", nullptr, 0},
    {"STR(ROK,4,0)+STR(MIE,2,0)+UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
};

// "Z5KZUS.DBF"
const LayoutField kZ5KZUSFields[] = {
    {"KGL", 'N', 2, 0}, {"KGR", 'C', 10, 0}, {"NGR", 'C', 30, 0}, {"KPG", 'C', 10, 0}, {"SOP", 'C', 70, 0}, {"OP1", 'C', 70, 0},
    {"OP2", 'C', 70, 0}, {"OP3", 'C', 70, 0}, {"INF", 'C', 32, 0},
};
const LayoutTag kZ5KZUSTags[] = {
    {"STR(KGL,2)+KGR+KPG", nullptr, 0},
};

// "Z5NIEO  .DBF"
const LayoutField kZ5NIEOFields[] = {
    {"KGS", 'C', 4, 0}, {"KZU", 'C', 3, 0}, {"NAZ", 'C', 30, 0}, {"IMI", 'C', 15, 0}, {"KOD", 'N', 5, 0}, {"DOD", 'D', 8, 0},
    {"DDO", 'D', 8, 0}, {"NA1", 'C', 35, 0}, {"NA2", 'C', 35, 0}, {"KOC", 'C', 3, 0}, {"ILD", 'N', 3, 0}, {"ILR", 'N', 3, 0},
    {"ILG", 'N', 3, 0}, {"DDZ", 'D', 8, 0}, {"KTU", 'C', 6, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5NIEOTags[] = {
    {"STR(KOD,5,0)+STR(MONTH(DOD),2,0)", nullptr, 0},
    {"DTOS(DOD)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5ZUSD  .DBF"
const LayoutField kZ5ZUSDFields[] = {
    {"KOD", 'C', 3, 0}, {"DOD", 'D', 8, 0}, {"DDO", 'D', 8, 0}, {"KWO", 'N', 9, 2}, {"REC", 'N', 5, 0}, {"RE1", 'C', 30, 0},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSDTags[] = {
    {"STR(REC,5,0)+KOD", nullptr, 0},
};

// "Z5ZUSP  .DBF"
const LayoutField kZ5ZUSPFields[] = {
    {"KTU", 'C', 6, 0}, {"KOD", 'C', 3, 0}, {"DOD", 'D', 8, 0}, {"DDO", 'D', 8, 0}, {"ILZ", 'N', 2, 0}, {"KCH", 'C', 3, 0},
    {"KWO", 'N', 9, 2}, {"REC", 'N', 5, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSPTags[] = {
    {"STR(REC,5,0)+KOD", nullptr, 0},
};

// "Z5ZUSR  .DBF"
const LayoutField kZ5ZUSRFields[] = {
    {"INR", 'N', 2, 0}, {"MIE", 'N', 2, 0}, {"RCA", 'N', 2, 0}, {"RNA", 'N', 2, 0}, {"RSA", 'N', 2, 0}, {"RGA", 'N', 2, 0},
    {"RZA", 'N', 2, 0}, {"RMA", 'N', 2, 0}, {"IRR", 'N', 2, 0}, {"DWY", 'D', 8, 0}, {"DEP", 'C', 12, 0}, {"DUS", 'N', 10, 2},
    {"DUZ", 'N', 10, 2}, {"DFP", 'N', 10, 2}, {"ILU", 'N', 5, 0}, {"REC", 'N', 5, 0}, {"DAZ", 'D', 8, 0}, {"INF", 'C', 32, 0},
    {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUSRTags[] = {
    {"STR(MIE,2,0)+STR(INR,2,0)", nullptr, 0},
};

// "Z5ZUSS  .DBF"
const LayoutField kZ5ZUSSFields[] = {
    {"NAZ", 'C', 30, 0}, {"IMI", 'C', 15, 0}, {"KOD", 'N', 5, 0}, {"TID", 'C', 1, 0}, {"NID", 'C', 11, 0}, {"KTU", 'C', 6, 0},
    {"PMA", 'C', 1, 0}, {"WY1", 'N', 3, 0}, {"WY2", 'N', 3, 0}, {"PERP", 'N', 9, 2}, {"PCWP", 'N', 9, 2}, {"PSZP", 'N', 9, 2},
    {"KEUP", 'N', 9, 2}, {"KRUP", 'N', 9, 2}, {"KCUP", 'N', 9, 2}, {"KZUP", 'N', 9, 2}, {"KEPP", 'N', 9, 2}, {"KRPP", 'N', 9, 2},
    {"KWPP", 'N', 9, 2}, {"KOSP", 'N', 9, 2}, {"KWSP", 'N', 9, 2}, {"FPPP", 'N', 9, 2}, {"FGPP", 'N', 9, 2}, {"PERU", 'N', 9, 2},
    {"PCWU", 'N', 9, 2}, {"PSZU", 'N', 9, 2}, {"KEUU", 'N', 9, 2}, {"KRUU", 'N', 9, 2}, {"KCUU", 'N', 9, 2}, {"KZUU", 'N', 9, 2},
    {"KEPU", 'N', 9, 2}, {"KRPU", 'N', 9, 2}, {"KWPU", 'N', 9, 2}, {"KWSU", 'N', 9, 2}, {"FPPU", 'N', 9, 2}, {"FGPU", 'N', 9, 2},
    {"ILR", 'N', 2, 0}, {"ZAR", 'N', 9, 2}, {"ZAW", 'N', 9, 2}, {"ILP", 'N', 2, 0}, {"ZAP", 'N', 9, 2}, {"LDP", 'N', 2, 0},
    {"LDO", 'N', 2, 0}, {"KWZ", 'N', 9, 2}, {"KUW", 'C', 6, 0}, {"PERW", 'N', 9, 2}, {"PSZW", 'N', 9, 2}, {"KEPW", 'N', 9, 2},
    {"KRPW", 'N', 9, 2}, {"KSZW", 'N', 9, 2}, {"KUM", 'C', 6, 0}, {"PERM", 'N', 9, 2}, {"KEPM", 'N', 9, 2}, {"KRPM", 'N', 9, 2},
    {"RZT", 'C', 1, 0}, {"FEP", 'N', 9, 2}, {"INF", 'C', 32, 0}, {"REC", 'N', 5, 0}, {"REK", 'N', 5, 0}, {"TZD", 'C', 1, 0},
    {"PPR", 'C', 1, 0}, {"DPM", 'N', 11, 2}, {"PRP", 'N', 11, 2}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2}, {"ZFO", 'N', 1, 0},
    {"FORP", 'C', 1, 0}, {"PRZP", 'N', 12, 2}, {"NPOP", 'N', 12, 2}, {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2}, {"SSKP", 'N', 12, 2},
    {"ZAPP", 'N', 12, 2}, {"ZWRP", 'N', 12, 2}, {"FORL", 'C', 1, 0}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2}, {"RSKL", 'N', 12, 2},
    {"SSKL", 'N', 12, 2}, {"ZAPL", 'N', 12, 2}, {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1, 0}, {"PRZR", 'N', 12, 2}, {"RPWR", 'N', 12, 2},
    {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2}, {"ZAPR", 'N', 12, 2}, {"ZWRR", 'N', 12, 2}, {"NRCA", 'N', 1, 0}, {"MWS", 'N', 1, 0},
    {"CWS", 'N', 1, 0}, {"FWS", 'N', 1, 0}, {"KTW", 'C', 6, 0}, {"KCPP", 'N', 9, 2}, {"RE3", 'N', 11, 2}, {"RE4", 'N', 11, 2},
};
const LayoutTag kZ5ZUSSTags[] = {
    {"STR(REK,5,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
};

// "Z5ZUWS  .DBF"
const LayoutField kZ5ZUWSFields[] = {
    {"MIE", 'N', 2, 0}, {"NUM", 'N', 2, 0}, {"TYP", 'C', 1, 0}, {"KOD", 'N', 5, 0}, {"TDE", 'C', 1, 0}, {"DEP", 'C', 12, 0},
    {"NIP", 'C', 13, 0}, {"REG", 'C', 20, 0}, {"PES", 'C', 15, 0}, {"TID", 'C', 1, 0}, {"NUD", 'C', 11, 0}, {"SKN", 'C', 31, 0},
    {"NAZ", 'C', 25, 0}, {"IMI", 'C', 15, 0}, {"DAU", 'D', 8, 0}, {"LIU", 'N', 6, 0}, {"LPP", 'N', 9, 2}, {"ZPC", 'C', 1, 0},
    {"KSE", 'N', 11, 2}, {"KSR", 'N', 11, 2}, {"SES", 'N', 11, 2}, {"KEU", 'N', 11, 2}, {"KRU", 'N', 11, 2}, {"SEU", 'N', 11, 2},
    {"KEP", 'N', 11, 2}, {"KRP", 'N', 11, 2}, {"SEP", 'N', 11, 2}, {"KEB", 'N', 11, 2}, {"KRB", 'N', 11, 2}, {"SEB", 'N', 11, 2},
    {"KEF", 'N', 11, 2}, {"KRF", 'N', 11, 2}, {"SEF", 'N', 11, 2}, {"KEK", 'N', 11, 2}, {"KRK", 'N', 11, 2}, {"SEK", 'N', 11, 2},
    {"SUC", 'N', 11, 2}, {"SUW", 'N', 11, 2}, {"SUS", 'N', 11, 2}, {"KCU", 'N', 11, 2}, {"KWU", 'N', 11, 2}, {"SCU", 'N', 11, 2},
    {"KWP", 'N', 11, 2}, {"SWP", 'N', 11, 2}, {"KCF", 'N', 11, 2}, {"KWF", 'N', 11, 2}, {"SCF", 'N', 11, 2}, {"KWK", 'N', 11, 2},
    {"SWK", 'N', 11, 2}, {"NAL", 'N', 12, 2}, {"WSC", 'N', 11, 2}, {"NWC", 'N', 11, 2}, {"WSW", 'N', 11, 2}, {"WSB", 'N', 11, 2},
    {"KPO", 'N', 11, 2}, {"ZZW", 'N', 11, 2}, {"PLA", 'N', 11, 2}, {"NSP", 'N', 11, 2}, {"NSK", 'N', 11, 2}, {"NAW", 'N', 11, 2},
    {"KZ1", 'N', 12, 2}, {"SFU", 'N', 11, 2}, {"SFP", 'N', 11, 2}, {"SFG", 'N', 11, 2}, {"KZ2", 'N', 12, 2}, {"RAZ", 'N', 13, 2},
    {"DUS", 'N', 11, 2}, {"DUZ", 'N', 11, 2}, {"DFF", 'N', 11, 2}, {"DRA", 'N', 12, 2}, {"KTU", 'C', 6, 0}, {"PWE", 'N', 11, 2},
    {"PCH", 'N', 11, 2}, {"PZD", 'N', 11, 2}, {"WER", 'N', 11, 2}, {"WCH", 'N', 11, 2}, {"WZD", 'N', 11, 2}, {"PMA", 'C', 1, 0},
    {"RCA", 'N', 5, 0}, {"RNA", 'N', 5, 0}, {"RZA", 'N', 5, 0}, {"RSA", 'N', 5, 0}, {"RGA", 'N', 5, 0}, {"ILK", 'N', 5, 0},
    {"IDE", 'C', 8, 0}, {"DWY", 'D', 8, 0}, {"KCP", 'N', 11, 2}, {"PFP", 'N', 11, 2}, {"WFP", 'N', 11, 2}, {"PWY", 'N', 11, 2},
    {"WWY", 'N', 11, 2}, {"POT", 'C', 1, 0}, {"ILR", 'N', 2, 0}, {"ZAR", 'N', 8, 2}, {"ILP", 'N', 2, 0}, {"ZAP", 'N', 8, 2},
    {"ILI", 'N', 2, 0}, {"ZAI", 'N', 8, 2}, {"SWC", 'N', 11, 2}, {"REC", 'N', 5, 0}, {"ROP", 'C', 1, 0}, {"SWY", 'N', 5, 2},
    {"RZT", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"ZFO", 'N', 1, 0}, {"ZFP", 'N', 1, 0}, {"FORP", 'C', 1, 0}, {"PRZP", 'N', 12, 2},
    {"NPOP", 'N', 12, 2}, {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2}, {"SSKP", 'N', 12, 2}, {"ZAPP", 'N', 12, 2}, {"ZWRP", 'N', 12, 2},
    {"FORL", 'C', 1, 0}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2}, {"RSKL", 'N', 12, 2}, {"SSKL", 'N', 12, 2}, {"ZAPL", 'N', 12, 2},
    {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1, 0}, {"PRZR", 'N', 12, 2}, {"RPWR", 'N', 12, 2}, {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2},
    {"ZAPR", 'N', 12, 2}, {"ZWRR", 'N', 12, 2}, {"KTW", 'C', 6, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZUWSTags[] = {
    {"STR(MIE,2,0)+STR(NUM,2,0)+UPPER(NAZ)+UPPER(IMI)", nullptr, 0},
    {"STR(MIE,2,0)+STR(KOD,5,0)+STR(NUM,2,0)", nullptr, 0},
    {"STR(MIE,2,0)+STR(RGA,5,0)+STR(NUM,2,0)", nullptr, 0},
};

// "Z5ZFSS  .DBF"
const LayoutField kZ5ZFSSFields[] = {
    {"DAT", 'D', 8, 0}, {"TYP", 'N', 1, 0}, {"NUM", 'C', 20, 0}, {"OPI", 'C', 60, 0}, {"NAZ", 'C', 50, 0}, {"WPL", 'N', 11, 2},
    {"WYP", 'N', 11, 2}, {"STA", 'C', 1, 0}, {"KOD", 'C', 20, 0}, {"INF", 'C', 32, 0},
};
const LayoutTag kZ5ZFSSTags[] = {
    {"UPPER(OPI)", nullptr, 0},
    {"DTOS(DAT)", nullptr, 0},
    {"UPPER(NAZ)", nullptr, 0},
};

// "Z5WSPL  .DBF"
const LayoutField kZ5WSPLFields[] = {
    {"NAZ", 'C', 25, 0}, {"IM1", 'C', 15, 0}, {"IM2", 'C', 15, 0}, {"IMO", 'C', 15, 0}, {"IMM", 'C', 15, 0}, {"MUR", 'C', 20, 0},
    {"DAU", 'D', 8, 0}, {"PES", 'C', 15, 0}, {"NIP", 'C', 13, 0}, {"TID", 'C', 1, 0}, {"NUD", 'C', 11, 0}, {"POW", 'C', 25, 0},
    {"GMI", 'C', 25, 0}, {"WOJ", 'C', 25, 0}, {"ULI", 'C', 25, 0}, {"NRD", 'C', 9, 0}, {"NRM", 'C', 9, 0}, {"KOD", 'C', 6, 0},
    {"MIA", 'C', 25, 0}, {"PCZ", 'C', 20, 0}, {"KRA", 'C', 30, 0}, {"TEL", 'C', 20, 0}, {"TEF", 'C', 20, 0}, {"POC", 'N', 2, 0},
    {"KON", 'C', 1, 0}, {"UDZ", 'N', 7, 3}, {"P73", 'C', 15, 0}, {"P74", 'C', 20, 0}, {"P75", 'C', 60, 0}, {"P76", 'C', 60, 0},
    {"N10", 'C', 15, 0}, {"N11", 'C', 20, 0}, {"N12", 'C', 60, 0}, {"N13", 'C', 60, 0}, {"A09", 'C', 15, 0}, {"A10", 'C', 20, 0},
    {"A11", 'C', 60, 0}, {"A12", 'C', 60, 0}, {"A18", 'C', 15, 0}, {"A19", 'C', 20, 0}, {"A20", 'C', 60, 0}, {"A21", 'C', 60, 0},
    {"A27", 'C', 15, 0}, {"A28", 'C', 20, 0}, {"A29", 'C', 60, 0}, {"A30", 'C', 60, 0}, {"A36", 'C', 15, 0}, {"A37", 'C', 20, 0},
    {"A38", 'C', 60, 0}, {"A39", 'C', 60, 0}, {"A45", 'C', 15, 0}, {"A46", 'C', 20, 0}, {"A47", 'C', 60, 0}, {"A48", 'C', 60, 0},
    {"A54", 'C', 15, 0}, {"A55", 'C', 20, 0}, {"A56", 'C', 60, 0}, {"A57", 'C', 60, 0}, {"N20", 'C', 15, 0}, {"N21", 'C', 20, 0},
    {"N22", 'C', 60, 0}, {"N23", 'C', 60, 0}, {"P114", 'C', 60, 0}, {"P115", 'C', 60, 0}, {"P121", 'C', 60, 0}, {"P122", 'C', 60, 0},
    {"N30", 'C', 60, 0}, {"N31", 'C', 60, 0}, {"N40", 'C', 60, 0}, {"N41", 'C', 60, 0}, {"A67", 'C', 60, 0}, {"A68", 'C', 60, 0},
    {"A74", 'C', 60, 0}, {"A75", 'C', 60, 0}, {"A81", 'C', 60, 0}, {"A82", 'C', 60, 0}, {"A88", 'C', 60, 0}, {"A89", 'C', 60, 0},
    {"A95", 'C', 60, 0}, {"A96", 'C', 60, 0}, {"A102", 'C', 60, 0}, {"A103", 'C', 60, 0}, {"N50", 'C', 60, 0}, {"N51", 'C', 60, 0},
    {"P82", 'C', 50, 0}, {"P83", 'C', 20, 0}, {"P84", 'C', 20, 0}, {"P85", 'C', 60, 0}, {"P86", 'C', 60, 0}, {"P87", 'C', 20, 0},
    {"P88", 'D', 8, 0}, {"P89", 'D', 8, 0}, {"P901", 'C', 1, 0}, {"P902", 'C', 1, 0}, {"P903", 'C', 1, 0}, {"P98", 'C', 50, 0},
    {"P99", 'C', 20, 0}, {"P100", 'C', 20, 0}, {"P101", 'C', 60, 0}, {"P102", 'C', 60, 0}, {"P103", 'C', 20, 0}, {"P104", 'D', 8, 0},
    {"P105", 'D', 8, 0}, {"P1061", 'C', 1, 0}, {"P1062", 'C', 1, 0}, {"P1063", 'C', 1, 0}, {"N60", 'C', 1, 0}, {"N61", 'C', 1, 0},
    {"N62", 'C', 1, 0}, {"URZ", 'N', 4, 0}, {"BAN", 'C', 30, 0}, {"KNT", 'C', 42, 0}, {"KTU", 'C', 6, 0}, {"PER", 'N', 9, 2},
    {"PCH", 'N', 9, 2}, {"PWY", 'N', 9, 2}, {"PZD", 'N', 9, 2}, {"PFP", 'N', 9, 2}, {"PMA", 'C', 1, 0}, {"DPM", 'D', 8, 0},
    {"UCH", 'C', 1, 0}, {"UEM", 'C', 1, 0}, {"URE", 'C', 1, 0}, {"UWY", 'C', 1, 0}, {"UZD", 'C', 1, 0}, {"UBE", 'C', 1, 0},
    {"UFP", 'C', 1, 0}, {"SKN", 'C', 31, 0}, {"TDE", 'C', 1, 0}, {"KTZ", 'N', 6, 0}, {"NUS", 'C', 10, 0}, {"POT", 'C', 1, 0},
    {"ILR", 'N', 2, 0}, {"ZAR", 'N', 11, 2}, {"ILP", 'N', 4, 0}, {"ZAP", 'N', 8, 2}, {"ILI", 'N', 4, 0}, {"ZAI", 'N', 8, 2},
    {"COD", 'C', 1, 0}, {"ROP", 'C', 1, 0}, {"SWY", 'N', 5, 2}, {"RZA", 'C', 1, 0}, {"GUS", 'C', 7, 0}, {"PLI", 'C', 1, 0},
    {"POK", 'C', 1, 0}, {"PLK", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2}, {"RE3", 'N', 9, 2},
    {"RE4", 'N', 9, 2}, {"RE5", 'C', 1, 0}, {"RE6", 'C', 1, 0}, {"UR4", 'C', 1, 0}, {"USN", 'C', 1, 0}, {"ZFO", 'N', 1, 0},
    {"FOP", 'N', 1, 0}, {"ORG", 'N', 1, 0}, {"KWA", 'C', 1, 0}, {"REC", 'N', 5, 0}, {"IMP", 'N', 1, 0}, {"IMK", 'N', 1, 0},
    {"ZFP", 'N', 1, 0}, {"FORP", 'C', 1, 0}, {"PRZP", 'N', 12, 2}, {"NPOP", 'N', 12, 2}, {"RPWP", 'N', 12, 2}, {"RSKP", 'N', 12, 2},
    {"SSKP", 'N', 12, 2}, {"ZAPP", 'N', 12, 2}, {"ZWRP", 'N', 12, 2}, {"FORL", 'C', 1, 0}, {"PRZL", 'N', 12, 2}, {"RPWL", 'N', 12, 2},
    {"RSKL", 'N', 12, 2}, {"SSKL", 'N', 12, 2}, {"ZAPL", 'N', 12, 2}, {"ZWRL", 'N', 12, 2}, {"FORR", 'C', 1, 0}, {"KOSR", 'N', 12, 2},
    {"DOCR", 'N', 12, 2}, {"PRZR", 'N', 12, 2}, {"RPWR", 'N', 12, 2}, {"RSKR", 'N', 12, 2}, {"SSKR", 'N', 12, 2}, {"ZAPR", 'N', 12, 2},
    {"ZWRR", 'N', 12, 2}, {"MZDR", 'N', 2, 0}, {"KTW", 'C', 6, 0}, {"MWS", 'N', 2, 0}, {"CWS", 'C', 1, 0}, {"FWS", 'C', 1, 0},
};
const LayoutTag kZ5WSPLTags[] = {
    {"UPPER(NAZ)+UPPER(IM1)", nullptr, 0},
};

// "Z5WSSK  .DBF"
const LayoutField kZ5WSSKFields[] = {
    {"KTU", 'C', 6, 0}, {"KZU", 'C', 3, 0}, {"NA1", 'C', 35, 0}, {"NA2", 'C', 35, 0}, {"KWO", 'N', 9, 2}, {"KCH", 'C', 3, 0},
    {"DOD", 'D', 8, 0}, {"DDO", 'D', 8, 0}, {"REK", 'N', 5, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
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
