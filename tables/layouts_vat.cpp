// Layouts of purchase documents, the VAT-OSS register, the register of exported declarations and the JPK work table.
#include "tables/layouts.h"

namespace {

// "Z5ZAKU  .DBF"
const LayoutField kZ5ZAKUFields[] = {
    {"TTR", 'C', 1}, {"STM", 'N', 2}, {"ANU", 'C', 1}, {"TYV", 'N', 1}, {"NRV", 'C', 30}, {"DAV", 'D', 8},
    {"DZK", 'D', 8}, {"KHA", 'C', 1}, {"KHB", 'C', 1}, {"KHC", 'C', 1}, {"KHD", 'C', 1}, {"KDO", 'C', 20},
    {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"KRA", 'C', 30},
    {"NIP", 'C', 20}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"BRU", 'N', 11, 2}, {"PLA", 'C', 25},
    {"DPL", 'D', 8}, {"NUK", 'C', 30}, {"DAK", 'D', 8}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"TYK", 'C', 47},
    {"UWA", 'C', 70}, {"LPO", 'N', 5}, {"DZA", 'D', 8}, {"OP1", 'C', 20}, {"OP2", 'C', 20}, {"REK", 'N', 7},
    {"REC", 'N', 7}, {"AKT", 'N', 1}, {"TRY", 'N', 1}, {"TRK", 'N', 1}, {"ZAP", 'C', 1}, {"OZA", 'C', 60},
    {"KZA", 'N', 11, 2}, {"TYM", 'N', 1}, {"NRM", 'N', 5}, {"DAM", 'D', 8}, {"OSM", 'C', 25}, {"WAM", 'N', 11, 2},
    {"STA", 'C', 1}, {"WAL", 'C', 3}, {"KVA", 'N', 10, 6}, {"DKV", 'D', 8}, {"NKV", 'C', 15}, {"KKS", 'N', 10, 6},
    {"DKK", 'D', 8}, {"NKK", 'C', 15}, {"DPZ", 'D', 8}, {"NPZ", 'C', 15}, {"TKO", 'N', 1}, {"REJ", 'C', 20},
    {"KVO", 'N', 11, 2}, {"PKA", 'C', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
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
    {"STV", 'C', 1}, {"STM", 'N', 2}, {"ANU", 'C', 1}, {"TYV", 'N', 1}, {"NRV", 'C', 30}, {"DAV", 'D', 8},
    {"KOT", 'C', 18}, {"CET", 'C', 1}, {"KON", 'N', 5}, {"TYW", 'N', 1}, {"TYZ", 'N', 1}, {"TYS", 'N', 1},
    {"NA1", 'C', 40}, {"NA2", 'C', 40}, {"NA3", 'C', 40}, {"NA4", 'C', 40}, {"NA5", 'C', 40}, {"NA6", 'C', 40},
    {"KWU", 'C', 14}, {"JED", 'C', 6}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4}, {"CEB", 'N', 12, 4},
    {"WAN", 'N', 11, 2}, {"VAT", 'N', 2}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2},
    {"CZO", 'C', 1}, {"REK", 'N', 7}, {"REC", 'N', 7}, {"ILK", 'N', 13, 4}, {"KRN", 'N', 11, 2},
    {"KRV", 'N', 11, 2}, {"ZRP", 'N', 1}, {"STA", 'C', 1}, {"WAL", 'C', 3}, {"KVA", 'N', 10, 6},
    {"KKS", 'N', 10, 6}, {"KILO", 'N', 13, 4}, {"KCEN", 'N', 12, 4}, {"KCEB", 'N', 12, 4}, {"KWNE", 'N', 11, 2},
    {"KVAT", 'N', 2}, {"KVAS", 'N', 4, 1}, {"KWAV", 'N', 11, 2}, {"KWAB", 'N', 11, 2}, {"PAL", 'C', 1},
    {"AKC", 'C', 1}, {"AKK", 'C', 20}, {"VOS", 'N', 4, 1}, {"KVO", 'N', 11, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2}, {"RE3", 'C', 1},
};
const LayoutTag kZ5ZAKETags[] = {
    {"NRV", nullptr, 0},
    {"DTOS(DAV)+STR(REK,7,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5VOSS  .DBF"
const LayoutField kZ5VOSSFields[] = {
    {"MIE", 'N', 2}, {"TYD", 'N', 1}, {"KSV", 'N', 1}, {"KRA", 'C', 30}, {"KKR", 'C', 2}, {"ROD", 'N', 1},
    {"OP1", 'C', 40}, {"OP2", 'C', 40}, {"OP3", 'C', 40}, {"OP4", 'C', 40}, {"OP5", 'C', 40}, {"OP6", 'C', 40},
    {"ILO", 'N', 13, 4}, {"DAS", 'D', 8}, {"NET", 'N', 12, 2}, {"NWA", 'C', 3}, {"RST", 'N', 1}, {"VST", 'N', 4, 1},
    {"VAT", 'N', 12, 2}, {"VWA", 'C', 3}, {"OPL", 'C', 70}, {"ZAL", 'N', 12, 2}, {"NRD", 'C', 40}, {"DAW", 'D', 8},
    {"DAK", 'D', 8}, {"KRO", 'N', 4}, {"KKW", 'N', 1}, {"SKD", 'N', 1}, {"SKR", 'N', 1}, {"OFA", 'C', 70},
    {"AD1", 'C', 70}, {"AD2", 'C', 70}, {"INF", 'C', 32},
};
const LayoutTag kZ5VOSSTags[] = {
    {"STR(MIE,2,0)", nullptr, 0},
    {"DTOS(DAS)+STR(RECNO(),6,0)", nullptr, 0},
};

// "Z5DEKL.DBF"
const LayoutField kZ5DEKLFields[] = {
    {"KDE", 'N', 3}, {"NDE", 'C', 8}, {"ROK", 'N', 4}, {"OKR", 'N', 2}, {"CEL", 'N', 1}, {"NRK", 'N', 2},
    {"NAZ", 'C', 54}, {"NIP", 'C', 11}, {"OFI", 'C', 1}, {"NAP", 'C', 54}, {"NPR", 'C', 11}, {"XKA", 'C', 40},
    {"XNA", 'C', 60}, {"XDA", 'D', 8}, {"VPO", 'C', 1}, {"VST", 'C', 4}, {"WYS", 'C', 1}, {"WDA", 'D', 8},
    {"STA", 'C', 4}, {"OST", 'C', 240}, {"OER", 'C', 240}, {"NRF", 'C', 120}, {"UPO", 'C', 1}, {"AUT", 'C', 1},
    {"ANP", 'C', 11}, {"ANA", 'C', 30}, {"AIM", 'C', 30}, {"ADA", 'D', 8}, {"AKW", 'N', 11, 2}, {"INF", 'C', 32},
    {"RNU", 'N', 11, 2}, {"RDA", 'D', 8}, {"RC1", 'C', 80}, {"RC2", 'C', 80},
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
    {"TYP", 'C', 1}, {"REC", 'N', 7}, {"LPO", 'N', 6}, {"DAV", 'D', 8}, {"DAS", 'D', 8}, {"DAW", 'D', 8},
    {"DWY", 'D', 8}, {"NRD", 'C', 40}, {"NAB", 'C', 141}, {"ADR", 'C', 148}, {"NIP", 'C', 30}, {"K10", 'N', 12, 2},
    {"K11", 'N', 12, 2}, {"K12", 'N', 12, 2}, {"K13", 'N', 12, 2}, {"K14", 'N', 12, 2}, {"K15", 'N', 12, 2},
    {"K16", 'N', 12, 2}, {"K17", 'N', 12, 2}, {"K18", 'N', 12, 2}, {"K19", 'N', 12, 2}, {"K20", 'N', 12, 2},
    {"K21", 'N', 12, 2}, {"K22", 'N', 12, 2}, {"K23", 'N', 12, 2}, {"K24", 'N', 12, 2}, {"K25", 'N', 12, 2},
    {"K26", 'N', 12, 2}, {"K27", 'N', 12, 2}, {"K28", 'N', 12, 2}, {"K29", 'N', 12, 2}, {"K30", 'N', 12, 2},
    {"K31", 'N', 12, 2}, {"K32", 'N', 12, 2}, {"K33", 'N', 12, 2}, {"K34", 'N', 12, 2}, {"K35", 'N', 12, 2},
    {"K36", 'N', 12, 2}, {"K37", 'N', 12, 2}, {"K38", 'N', 12, 2}, {"K39", 'N', 12, 2}, {"K42", 'N', 12, 2},
    {"K43", 'N', 12, 2}, {"K44", 'N', 12, 2}, {"K45", 'N', 12, 2}, {"K46", 'N', 12, 2}, {"K47", 'N', 12, 2},
    {"K48", 'N', 12, 2}, {"K50", 'N', 12, 2}, {"P4A", 'C', 2}, {"P4B", 'C', 10}, {"P5A", 'C', 2},
    {"P15", 'N', 12, 2}, {"P16", 'C', 5}, {"P17", 'C', 5}, {"P18", 'C', 5}, {"P19", 'C', 5}, {"P19A", 'C', 30},
    {"P19B", 'C', 30}, {"P19C", 'C', 30}, {"P20", 'C', 5}, {"P23", 'C', 5}, {"PE2", 'C', 5}, {"PE3", 'C', 5},
    {"PE3A", 'C', 60}, {"ROD", 'C', 7}, {"KPK", 'C', 58}, {"KNR", 'C', 20}, {"KOF", 'C', 30}, {"ZZA", 'N', 12, 2},
    {"ZPO", 'N', 12, 2}, {"P07", 'C', 240}, {"P8A", 'C', 6}, {"P8B", 'N', 13, 4}, {"P9A", 'N', 12, 4},
    {"P9B", 'N', 12, 4}, {"P10", 'N', 12, 2}, {"P11", 'N', 12, 2}, {"P11A", 'N', 12, 2}, {"P12", 'C', 2},
    {"TDO", 'N', 1}, {"BRU", 'N', 12, 2}, {"NET", 'N', 12, 2}, {"VNA", 'N', 12, 2}, {"VOD", 'N', 12, 2},
    {"RN1", 'N', 12, 2}, {"RN2", 'N', 12, 2}, {"RN3", 'N', 12, 2}, {"RN4", 'N', 12, 2}, {"RC1", 'C', 2},
    {"RC2", 'C', 30}, {"RC3", 'C', 30}, {"RC4", 'C', 60}, {"RC5", 'C', 60}, {"RC6", 'C', 240}, {"RD1", 'D', 8},
    {"RD2", 'D', 8}, {"RD3", 'D', 8}, {"RD4", 'D', 8},
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
