// Layouts of the sales documents of both registers: headers, lines and the contractor data attached to documents.
#include "tables/layouts.h"

namespace {

// "Z5SPRZ  .DBF", "Z5SPOM  .DBF"
const LayoutField kZ5SPRZFields[] = {
    {"EXP", 'C', 1}, {"SWY", 'C', 1}, {"IFA", 'C', 36}, {"SDR", 'C', 1}, {"STV", 'C', 1}, {"TTR", 'C', 1},
    {"STM", 'C', 1}, {"ANU", 'C', 1}, {"TYV", 'N', 2}, {"PRE", 'C', 4}, {"NRV", 'N', 5}, {"POS", 'C', 9},
    {"DAW", 'D', 8}, {"DAS", 'D', 8}, {"DAV", 'D', 8}, {"KHA", 'C', 1}, {"KHB", 'C', 1}, {"KHC", 'C', 1},
    {"KHD", 'C', 1}, {"KNA", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"MIA", 'C', 25},
    {"ULI", 'C', 64}, {"KRA", 'C', 30}, {"NIP", 'C', 20}, {"PLA", 'C', 25}, {"DPL", 'D', 8}, {"NRZ", 'C', 24},
    {"DZM", 'D', 8}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"BRU", 'N', 11, 2}, {"NUK", 'C', 40},
    {"DAK", 'D', 8}, {"TYK", 'C', 58}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"UW1", 'C', 70}, {"UW2", 'C', 70},
    {"WYS", 'C', 30}, {"ODE", 'C', 25}, {"LPO", 'N', 5}, {"DZA", 'D', 8}, {"OP1", 'C', 20}, {"OP2", 'C', 20},
    {"REK", 'N', 7}, {"REC", 'N', 7}, {"AKT", 'N', 1}, {"TRY", 'N', 1}, {"TRK", 'N', 1}, {"TFA", 'N', 1},
    {"ZAP", 'C', 1}, {"KZA", 'N', 11, 2}, {"OZA", 'C', 60}, {"TYM", 'N', 2}, {"NRM", 'N', 5}, {"DDU", 'D', 8},
    {"OSM", 'C', 40}, {"WAM", 'N', 11, 2}, {"TYB", 'N', 1}, {"STA", 'C', 1}, {"WAL", 'C', 3}, {"KVA", 'N', 10, 6},
    {"DKV", 'D', 8}, {"NKV", 'C', 15}, {"KKS", 'N', 10, 6}, {"DKK", 'D', 8}, {"NKK", 'C', 15}, {"DWZ", 'D', 8},
    {"NWZ", 'C', 15}, {"UPU", 'N', 5, 2}, {"KSM", 'C', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
    {"RE3", 'C', 1}, {"RE4", 'C', 1}, {"RE5", 'N', 2}, {"KON", 'N', 1}, {"NKZ", 'C', 40}, {"DAZ", 'D', 8},
    {"PKA", 'C', 1},
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
    {"STV", 'C', 1}, {"STM", 'C', 1}, {"CSS", 'C', 1}, {"TYV", 'N', 2}, {"PRE", 'C', 4}, {"NRV", 'N', 5},
    {"POS", 'C', 9}, {"DAW", 'D', 8}, {"DAV", 'D', 8}, {"KOT", 'C', 18}, {"KON", 'N', 5}, {"TYP", 'N', 1},
    {"RYT", 'N', 2}, {"RYS", 'N', 4, 1}, {"NA1", 'C', 40}, {"NA2", 'C', 40}, {"NA3", 'C', 40}, {"NA4", 'C', 40},
    {"NA5", 'C', 40}, {"NA6", 'C', 40}, {"KWU", 'C', 14}, {"JED", 'C', 6}, {"ILO", 'N', 13, 4}, {"CNB", 'N', 12, 4},
    {"CBB", 'N', 12, 4}, {"RAS", 'N', 4, 1}, {"CNR", 'N', 12, 4}, {"CBR", 'N', 12, 4}, {"WNE", 'N', 11, 2},
    {"VAT", 'N', 2}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"REK", 'N', 7}, {"REC", 'N', 7},
    {"ODC", 'C', 1}, {"ILK", 'N', 13, 4}, {"KRN", 'N', 11, 2}, {"KRV", 'N', 11, 2}, {"ZRP", 'N', 1},
    {"STA", 'C', 1}, {"ZFM", 'N', 11, 2}, {"WAL", 'C', 3}, {"KVA", 'N', 10, 6}, {"KKS", 'N', 10, 6},
    {"KILO", 'N', 13, 4}, {"KCNB", 'N', 12, 4}, {"KCBB", 'N', 12, 4}, {"KRAS", 'N', 4, 1}, {"KCNR", 'N', 12, 4},
    {"KCBR", 'N', 12, 4}, {"KWNE", 'N', 11, 2}, {"KVAT", 'N', 2}, {"KVAS", 'N', 4, 1}, {"KWAV", 'N', 11, 2},
    {"KWAB", 'N', 11, 2}, {"AKC", 'C', 1}, {"AKK", 'C', 20}, {"INF", 'C', 32}, {"RE1", 'C', 40},
    {"RE2", 'N', 11, 2}, {"RE3", 'C', 1}, {"RE4", 'C', 1}, {"RE5", 'N', 2}, {"RFK", 'N', 1},
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
    {"SPR", 'N', 1}, {"KNA", 'C', 20}, {"NIP", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6},
    {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"KRA", 'C', 30}, {"REK", 'N', 7}, {"REC", 'N', 7}, {"INF", 'C', 32},
    {"RE1", 'C', 70}, {"RE2", 'N', 11, 2}, {"RE3", 'C', 1}, {"RE4", 'C', 1}, {"RE5", 'N', 7},
};
const LayoutTag kZ5SPROTags[] = {
    {"STR (SPR,1,0)+STR(REK,7,0)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5SPRZ = MakeLayout(kZ5SPRZFields, kZ5SPRZTags);
const TableLayout LAYOUT_Z5SPRE = MakeLayout(kZ5SPREFields, kZ5SPRETags);
const TableLayout LAYOUT_Z5SPRO = MakeLayout(kZ5SPROFields, kZ5SPROTags);
