// Layouts of the sales documents of both registers: headers, lines and the contractor data attached to documents.
#include "tables/layouts.h"

namespace {

// "Z5SPRZ  .DBF", "Z5SPOM  .DBF"
const LayoutField kZ5SPRZFields[] = {
    {"EXP", 'C', 1, 0}, {"SWY", 'C', 1, 0}, {"IFA", 'C', 36, 0}, {"SDR", 'C', 1, 0}, {"STV", 'C', 1, 0}, {"TTR", 'C', 1, 0},
    {"STM", 'C', 1, 0}, {"ANU", 'C', 1, 0}, {"TYV", 'N', 2, 0}, {"PRE", 'C', 4, 0}, {"NRV", 'N', 5, 0}, {"POS", 'C', 9, 0},
    {"DAW", 'D', 8, 0}, {"DAS", 'D', 8, 0}, {"DAV", 'D', 8, 0}, {"KHA", 'C', 1, 0}, {"KHB", 'C', 1, 0}, {"KHC", 'C', 1, 0},
    {"KHD", 'C', 1, 0}, {"KNA", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0},
    {"ULI", 'C', 64, 0}, {"KRA", 'C', 30, 0}, {"NIP", 'C', 20, 0}, {"PLA", 'C', 25, 0}, {"DPL", 'D', 8, 0}, {"NRZ", 'C', 24, 0},
    {"DZM", 'D', 8, 0}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"BRU", 'N', 11, 2}, {"NUK", 'C', 40, 0}, {"DAK", 'D', 8, 0},
    {"TYK", 'C', 58, 0}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"UW1", 'C', 70, 0}, {"UW2", 'C', 70, 0}, {"WYS", 'C', 30, 0},
    {"ODE", 'C', 25, 0}, {"LPO", 'N', 5, 0}, {"DZA", 'D', 8, 0}, {"OP1", 'C', 20, 0}, {"OP2", 'C', 20, 0}, {"REK", 'N', 7, 0},
    {"REC", 'N', 7, 0}, {"AKT", 'N', 1, 0}, {"TRY", 'N', 1, 0}, {"TRK", 'N', 1, 0}, {"TFA", 'N', 1, 0}, {"ZAP", 'C', 1, 0},
    {"KZA", 'N', 11, 2}, {"OZA", 'C', 60, 0}, {"TYM", 'N', 2, 0}, {"NRM", 'N', 5, 0}, {"DDU", 'D', 8, 0}, {"OSM", 'C', 40, 0},
    {"WAM", 'N', 11, 2}, {"TYB", 'N', 1, 0}, {"STA", 'C', 1, 0}, {"WAL", 'C', 3, 0}, {"KVA", 'N', 10, 6}, {"DKV", 'D', 8, 0},
    {"NKV", 'C', 15, 0}, {"KKS", 'N', 10, 6}, {"DKK", 'D', 8, 0}, {"NKK", 'C', 15, 0}, {"DWZ", 'D', 8, 0}, {"NWZ", 'C', 15, 0},
    {"UPU", 'N', 5, 2}, {"KSM", 'C', 1, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2}, {"RE3", 'C', 1, 0},
    {"RE4", 'C', 1, 0}, {"RE5", 'N', 2, 0}, {"KON", 'N', 1, 0}, {"NKZ", 'C', 40, 0}, {"DAZ", 'D', 8, 0}, {"PKA", 'C', 1, 0},
};
const LayoutTag kZ5SPRZTags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYV,2,0)", nullptr, 0},
    {"DTOS(DAW)+STR(TYV,2,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(OSM)", nullptr, 0},
    {"UPPER(NA1)+STR(TYV,2,0)", nullptr, 0},
    {"REK", nullptr, 0},
    {"REC", nullptr, 0},
    {"STR(TYV,2,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", nullptr, 0},
    {"NIP", nullptr, 0},
    {"STR(TYV,2,0)+UPPER(OSM)", nullptr, 0},
    {"DTOS(DAW)+STR(TYV,2,0)+UPPER(OSM)", nullptr, 0},
};

// "Z5SPRE  .DBF", "Z5SPOE  .DBF"
const LayoutField kZ5SPREFields[] = {
    {"STV", 'C', 1, 0}, {"STM", 'C', 1, 0}, {"CSS", 'C', 1, 0}, {"TYV", 'N', 2, 0}, {"PRE", 'C', 4, 0}, {"NRV", 'N', 5, 0},
    {"POS", 'C', 9, 0}, {"DAW", 'D', 8, 0}, {"DAV", 'D', 8, 0}, {"KOT", 'C', 18, 0}, {"KON", 'N', 5, 0}, {"TYP", 'N', 1, 0},
    {"RYT", 'N', 2, 0}, {"RYS", 'N', 4, 1}, {"NA1", 'C', 40, 0}, {"NA2", 'C', 40, 0}, {"NA3", 'C', 40, 0}, {"NA4", 'C', 40, 0},
    {"NA5", 'C', 40, 0}, {"NA6", 'C', 40, 0}, {"KWU", 'C', 14, 0}, {"JED", 'C', 6, 0}, {"ILO", 'N', 13, 4}, {"CNB", 'N', 12, 4},
    {"CBB", 'N', 12, 4}, {"RAS", 'N', 4, 1}, {"CNR", 'N', 12, 4}, {"CBR", 'N', 12, 4}, {"WNE", 'N', 11, 2}, {"VAT", 'N', 2, 0},
    {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"REK", 'N', 7, 0}, {"REC", 'N', 7, 0}, {"ODC", 'C', 1, 0},
    {"ILK", 'N', 13, 4}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"ZRP", 'N', 1, 0}, {"STA", 'C', 1, 0}, {"ZFM", 'N', 11, 2},
    {"WAL", 'C', 3, 0}, {"KVA", 'N', 10, 6}, {"KKS", 'N', 10, 6}, {"KILO", 'N', 13, 4}, {"KCNB", 'N', 12, 4}, {"KCBB", 'N', 12, 4},
    {"KRAS", 'N', 4, 1}, {"KCNR", 'N', 12, 4}, {"KCBR", 'N', 12, 4}, {"KWNE", 'N', 11, 2}, {"KVAT", 'N', 2, 0}, {"KVAS", 'N', 4, 1},
    {"KWAV", 'N', 11, 2}, {"KWAB", 'N', 11, 2}, {"AKC", 'C', 1, 0}, {"AKK", 'C', 20, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 40, 0},
    {"RE2", 'N', 11, 2}, {"RE3", 'C', 1, 0}, {"RE4", 'C', 1, 0}, {"RE5", 'N', 2, 0}, {"RFK", 'N', 1, 0},
};
const LayoutTag kZ5SPRETags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(RE1)+STR(REK,7,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
    {"STR(REK,7,0)+UPPER(NA1)", nullptr, 0},
};

// "Z5SPRO  .DBF"
const LayoutField kZ5SPROFields[] = {
    {"SPR", 'N', 1, 0}, {"KNA", 'C', 20, 0}, {"NIP", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0},
    {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"KRA", 'C', 30, 0}, {"REK", 'N', 7, 0}, {"REC", 'N', 7, 0}, {"INF", 'C', 32, 0},
    {"RE1", 'C', 70, 0}, {"RE2", 'N', 11, 2}, {"RE3", 'C', 1, 0}, {"RE4", 'C', 1, 0}, {"RE5", 'N', 7, 0},
};
const LayoutTag kZ5SPROTags[] = {
    {"STR (SPR,1,0)+STR(REK,7,0)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5SPRZ = MakeLayout(kZ5SPRZFields, kZ5SPRZTags);
const TableLayout LAYOUT_Z5SPRE = MakeLayout(kZ5SPREFields, kZ5SPRETags);
const TableLayout LAYOUT_Z5SPRO = MakeLayout(kZ5SPROFields, kZ5SPROTags);
