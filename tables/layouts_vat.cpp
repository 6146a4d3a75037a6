// Layouts of purchase documents, the VAT-OSS register, the register of exported declarations and the JPK work table.
#include "tables/layouts.h"

namespace {

// "Z5ZAKU  .DBF"
const LayoutField kZ5ZAKUFields[] = {
    {"TTR", 'C', 1, 0}, {"STM", 'N', 2, 0}, {"ANU", 'C', 1, 0}, {"TYV", 'N', 1, 0}, {"NRV", 'C', 30, 0}, {"DAV", 'D', 8, 0},
    {"DZK", 'D', 8, 0}, {"KHA", 'C', 1, 0}, {"KHB", 'C', 1, 0}, {"KHC", 'C', 1, 0}, {"KHD", 'C', 1, 0}, {"KDO", 'C', 20, 0},
    {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"KRA", 'C', 30, 0},
    {"NIP", 'C', 20, 0}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"BRU", 'N', 11, 2}, {"PLA", 'C', 25, 0}, {"DPL", 'D', 8, 0},
    {"NUK", 'C', 30, 0}, {"DAK", 'D', 8, 0}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"TYK", 'C', 47, 0}, {"UWA", 'C', 70, 0},
    {"LPO", 'N', 5, 0}, {"DZA", 'D', 8, 0}, {"OP1", 'C', 20, 0}, {"OP2", 'C', 20, 0}, {"REK", 'N', 7, 0}, {"REC", 'N', 7, 0},
    {"AKT", 'N', 1, 0}, {"TRY", 'N', 1, 0}, {"TRK", 'N', 1, 0}, {"ZAP", 'C', 1, 0}, {"OZA", 'C', 60, 0}, {"KZA", 'N', 11, 2},
    {"TYM", 'N', 1, 0}, {"NRM", 'N', 5, 0}, {"DAM", 'D', 8, 0}, {"OSM", 'C', 25, 0}, {"WAM", 'N', 11, 2}, {"STA", 'C', 1, 0},
    {"WAL", 'C', 3, 0}, {"KVA", 'N', 10, 6}, {"DKV", 'D', 8, 0}, {"NKV", 'C', 15, 0}, {"KKS", 'N', 10, 6}, {"DKK", 'D', 8, 0},
    {"NKK", 'C', 15, 0}, {"DPZ", 'D', 8, 0}, {"NPZ", 'C', 15, 0}, {"TKO", 'N', 1, 0}, {"REJ", 'C', 20, 0}, {"KVO", 'N', 11, 2},
    {"PKA", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ZAKUTags[] = {
    {"UPPER(NRV)", nullptr, 0},
    {"DTOS(DZK)+STR(REC,7,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"REK", nullptr, 0},
    {"REC", nullptr, 0},
    {"NIP", nullptr, 0},
    {"DTOS(DAV)+STR(REC,7,0)", nullptr, 0},
};

// "Z5ZAKE  .DBF"
const LayoutField kZ5ZAKEFields[] = {
    {"STV", 'C', 1, 0}, {"STM", 'N', 2, 0}, {"ANU", 'C', 1, 0}, {"TYV", 'N', 1, 0}, {"NRV", 'C', 30, 0}, {"DAV", 'D', 8, 0},
    {"KOT", 'C', 18, 0}, {"CET", 'C', 1, 0}, {"KON", 'N', 5, 0}, {"TYW", 'N', 1, 0}, {"TYZ", 'N', 1, 0}, {"TYS", 'N', 1, 0},
    {"NA1", 'C', 40, 0}, {"NA2", 'C', 40, 0}, {"NA3", 'C', 40, 0}, {"NA4", 'C', 40, 0}, {"NA5", 'C', 40, 0}, {"NA6", 'C', 40, 0},
    {"KWU", 'C', 14, 0}, {"JED", 'C', 6, 0}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4}, {"CEB", 'N', 12, 4}, {"WAN", 'N', 11, 2},
    {"VAT", 'N', 2, 0}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"CZO", 'C', 1, 0}, {"REK", 'N', 7, 0},
    {"REC", 'N', 7, 0}, {"ILK", 'N', 13, 4}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"ZRP", 'N', 1, 0}, {"STA", 'C', 1, 0},
    {"WAL", 'C', 3, 0}, {"KVA", 'N', 10, 6}, {"KKS", 'N', 10, 6}, {"KILO", 'N', 13, 4}, {"KCEN", 'N', 12, 4}, {"KCEB", 'N', 12, 4},
    {"KWNE", 'N', 11, 2}, {"KVAT", 'N', 2, 0}, {"KVAS", 'N', 4, 1}, {"KWAV", 'N', 11, 2}, {"KWAB", 'N', 11, 2}, {"PAL", 'C', 1, 0},
    {"AKC", 'C', 1, 0}, {"AKK", 'C', 20, 0}, {"VOS", 'N', 4, 1}, {"KVO", 'N', 11, 2}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0},
    {"RE2", 'N', 11, 2}, {"RE3", 'C', 1, 0},
};
const LayoutTag kZ5ZAKETags[] = {
    {"NRV", nullptr, 0},
    {"DTOS(DAV)+STR(REK,7,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5VOSS  .DBF"
const LayoutField kZ5VOSSFields[] = {
    {"MIE", 'N', 2, 0}, {"TYD", 'N', 1, 0}, {"KSV", 'N', 1, 0}, {"KRA", 'C', 30, 0}, {"KKR", 'C', 2, 0}, {"ROD", 'N', 1, 0},
    {"OP1", 'C', 40, 0}, {"OP2", 'C', 40, 0}, {"OP3", 'C', 40, 0}, {"OP4", 'C', 40, 0}, {"OP5", 'C', 40, 0}, {"OP6", 'C', 40, 0},
    {"ILO", 'N', 13, 4}, {"DAS", 'D', 8, 0}, {"NET", 'N', 12, 2}, {"NWA", 'C', 3, 0}, {"RST", 'N', 1, 0}, {"VST", 'N', 4, 1},
    {"VAT", 'N', 12, 2}, {"VWA", 'C', 3, 0}, {"OPL", 'C', 70, 0}, {"ZAL", 'N', 12, 2}, {"NRD", 'C', 40, 0}, {"DAW", 'D', 8, 0},
    {"DAK", 'D', 8, 0}, {"KRO", 'N', 4, 0}, {"KKW", 'N', 1, 0}, {"SKD", 'N', 1, 0}, {"SKR", 'N', 1, 0}, {"OFA", 'C', 70, 0},
    {"AD1", 'C', 70, 0}, {"AD2", 'C', 70, 0}, {"INF", 'C', 32, 0},
};
const LayoutTag kZ5VOSSTags[] = {
    {"STR(MIE,2,0)", nullptr, 0},
    {"DTOS(DAS)+STR(RECNO(),6,0)", nullptr, 0},
};

// "Z5DEKL.DBF"
const LayoutField kZ5DEKLFields[] = {
    {"KDE", 'N', 3, 0}, {"NDE", 'C', 8, 0}, {"ROK", 'N', 4, 0}, {"OKR", 'N', 2, 0}, {"CEL", 'N', 1, 0}, {"NRK", 'N', 2, 0},
    {"NAZ", 'C', 54, 0}, {"NIP", 'C', 11, 0}, {"OFI", 'C', 1, 0}, {"NAP", 'C', 54, 0}, {"NPR", 'C', 11, 0}, {"XKA", 'C', 40, 0},
    {"XNA", 'C', 60, 0}, {"XDA", 'D', 8, 0}, {"VPO", 'C', 1, 0}, {"VST", 'C', 4, 0}, {"WYS", 'C', 1, 0}, {"WDA", 'D', 8, 0},
    {"STA", 'C', 4, 0}, {"OST", 'C', 240, 0}, {"OER", 'C', 240, 0}, {"NRF", 'C', 120, 0}, {"UPO", 'C', 1, 0}, {"AUT", 'C', 1, 0},
    {"ANP", 'C', 11, 0}, {"ANA", 'C', 30, 0}, {"AIM", 'C', 30, 0}, {"ADA", 'D', 8, 0}, {"AKW", 'N', 11, 2}, {"INF", 'C', 32, 0},
    {"RNU", 'N', 11, 2}, {"RDA", 'D', 8, 0}, {"RC1", 'C', 80, 0}, {"RC2", 'C', 80, 0},
};
const LayoutTag kZ5DEKLTags[] = {
    {"STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", 0},
    {"STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", 0},
    {"STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", 0},
    {"STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + NIP + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", 0},
    {"NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE<100", 0},
    {"NIP + STR(ROK,4,0) + STR(OKR,2,0) + STR(KDE,3,0) + STR(NRK,2,0)", ".NOT.DELETED() .AND. KDE>=100", 0},
    {"NIP + STR(KDE,3,0) + STR(ROK,4,0) + STR(OKR,2,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", nullptr, 0},
    {"NIP + NPR + STR(KDE,3,0) + STR(ROK,4,0) + STR(NRK,2,0) + STR(RECNO(),5,0)", nullptr, 0},
};

// the JPK work table (named like the XML file)
const LayoutField kJPK_WORKFields[] = {
    {"TYP", 'C', 1, 0}, {"REC", 'N', 7, 0}, {"LPO", 'N', 6, 0}, {"DAV", 'D', 8, 0}, {"DAS", 'D', 8, 0}, {"DAW", 'D', 8, 0},
    {"DWY", 'D', 8, 0}, {"NRD", 'C', 40, 0}, {"NAB", 'C', 141, 0}, {"ADR", 'C', 148, 0}, {"NIP", 'C', 30, 0}, {"K10", 'N', 12, 2},
    {"K11", 'N', 12, 2}, {"K12", 'N', 12, 2}, {"K13", 'N', 12, 2}, {"K14", 'N', 12, 2}, {"K15", 'N', 12, 2}, {"K16", 'N', 12, 2},
    {"K17", 'N', 12, 2}, {"K18", 'N', 12, 2}, {"K19", 'N', 12, 2}, {"K20", 'N', 12, 2}, {"K21", 'N', 12, 2}, {"K22", 'N', 12, 2},
    {"K23", 'N', 12, 2}, {"K24", 'N', 12, 2}, {"K25", 'N', 12, 2}, {"K26", 'N', 12, 2}, {"K27", 'N', 12, 2}, {"K28", 'N', 12, 2},
    {"K29", 'N', 12, 2}, {"K30", 'N', 12, 2}, {"K31", 'N', 12, 2}, {"K32", 'N', 12, 2}, {"K33", 'N', 12, 2}, {"K34", 'N', 12, 2},
    {"K35", 'N', 12, 2}, {"K36", 'N', 12, 2}, {"K37", 'N', 12, 2}, {"K38", 'N', 12, 2}, {"K39", 'N', 12, 2}, {"K42", 'N', 12, 2},
    {"K43", 'N', 12, 2}, {"K44", 'N', 12, 2}, {"K45", 'N', 12, 2}, {"K46", 'N', 12, 2}, {"K47", 'N', 12, 2}, {"K48", 'N', 12, 2},
    {"K50", 'N', 12, 2}, {"P4A", 'C', 2, 0}, {"P4B", 'C', 10, 0}, {"P5A", 'C', 2, 0}, {"P15", 'N', 12, 2}, {"P16", 'C', 5, 0},
    {"P17", 'C', 5, 0}, {"P18", 'C', 5, 0}, {"P19", 'C', 5, 0}, {"P19A", 'C', 30, 0}, {"P19B", 'C', 30, 0}, {"P19C", 'C', 30, 0},
    {"P20", 'C', 5, 0}, {"P23", 'C', 5, 0}, {"PE2", 'C', 5, 0}, {"PE3", 'C', 5, 0}, {"PE3A", 'C', 60, 0}, {"ROD", 'C', 7, 0},
    {"KPK", 'C', 58, 0}, {"KNR", 'C', 20, 0}, {"KOF", 'C', 30, 0}, {"ZZA", 'N', 12, 2}, {"ZPO", 'N', 12, 2}, {"P07", 'C', 240, 0},
    {"P8A", 'C', 6, 0}, {"P8B", 'N', 13, 4}, {"P9A", 'N', 12, 4}, {"P9B", 'N', 12, 4}, {"P10", 'N', 12, 2}, {"P11", 'N', 12, 2},
    {"P11A", 'N', 12, 2}, {"P12", 'C', 2, 0}, {"TDO", 'N', 1, 0}, {"BRU", 'N', 12, 2}, {"NET", 'N', 12, 2}, {"VNA", 'N', 12, 2},
    {"VOD", 'N', 12, 2}, {"RN1", 'N', 12, 2}, {"RN2", 'N', 12, 2}, {"RN3", 'N', 12, 2}, {"RN4", 'N', 12, 2}, {"RC1", 'C', 2, 0},
    {"RC2", 'C', 30, 0}, {"RC3", 'C', 30, 0}, {"RC4", 'C', 60, 0}, {"RC5", 'C', 60, 0}, {"RC6", 'C', 240, 0}, {"RD1", 'D', 8, 0},
    {"RD2", 'D', 8, 0}, {"RD3", 'D', 8, 0}, {"RD4", 'D', 8, 0},
};
const LayoutTag kJPK_WORKTags[] = {
    {"DTOS(DAW)+STR(RECNO(),6,0)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5ZAKU = MakeLayout(kZ5ZAKUFields, kZ5ZAKUTags);
const TableLayout LAYOUT_Z5ZAKE = MakeLayout(kZ5ZAKEFields, kZ5ZAKETags);
const TableLayout LAYOUT_Z5VOSS = MakeLayout(kZ5VOSSFields, kZ5VOSSTags);
const TableLayout LAYOUT_Z5DEKL = MakeLayout(kZ5DEKLFields, kZ5DEKLTags);
const TableLayout LAYOUT_JPK_WORK = MakeLayout(kJPK_WORKFields, kJPK_WORKTags);
