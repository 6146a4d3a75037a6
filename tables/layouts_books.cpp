// Layouts of the income and expense book, the flat-rate register and their monthly totals.
#include "tables/layouts.h"

namespace {

// "Z5DANE  .DBF"
const LayoutField kZ5DANEFields[] = {
    {"LPO", 'N', 5}, {"DAT", 'D', 8}, {"NUM", 'C', 30}, {"NA1", 'C', 35}, {"NA2", 'C', 35}, {"NA3", 'C', 35},
    {"NA4", 'C', 35}, {"MIA", 'C', 32}, {"UL1", 'C', 32}, {"UL2", 'C', 32}, {"OP1", 'C', 20}, {"OP2", 'C', 20},
    {"PSP", 'N', 11, 2}, {"POP", 'N', 11, 2}, {"ZAK", 'N', 11, 2}, {"UBO", 'N', 11, 2}, {"REL", 'N', 11, 2},
    {"WYN", 'N', 11, 2}, {"INN", 'N', 11, 2}, {"K15", 'C', 22}, {"UWA", 'C', 22}, {"ANU", 'C', 1}, {"ZRK", 'N', 1},
    {"NLP", 'N', 3}, {"KON", 'N', 5}, {"ZAP", 'C', 1}, {"REC", 'N', 7}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2}, {"KAS", 'C', 1}, {"REW", 'N', 7}, {"DWF", 'D', 8}, {"KNF", 'N', 11, 2}, {"DNF", 'D', 8},
};
const LayoutTag kZ5DANETags[] = {
    {"DTOS(DAT) + STR(RECNO(),9,0)", nullptr, 0},
    {"UPPER(NA1+NA2)", nullptr, 0},
    {"NUM", nullptr, 0},
    {"UPPER(OP1+OP2)", nullptr, 0},
    {"STR(MONTH(DAT),2,0)+STR(LPO,5,0)", nullptr, 0},
    {"REC", nullptr, 0},
};

// "Z5RYPR  .DBF"
const LayoutField kZ5RYPRFields[] = {
    {"LPO", 'N', 5}, {"DAT", 'D', 8}, {"NUM", 'C', 40}, {"DPR", 'D', 8}, {"HAN", 'N', 11, 2}, {"PRO", 'N', 11, 2},
    {"USL", 'N', 11, 2}, {"NAO", 'N', 11, 2}, {"NAJ", 'N', 11, 2}, {"NAW", 'N', 11, 2}, {"NIE", 'N', 11, 2},
    {"KOM", 'N', 11, 2}, {"ZDR", 'N', 11, 2}, {"UIN", 'N', 11, 2}, {"WZA", 'N', 11, 2}, {"RAZ", 'N', 11, 2},
    {"UW1", 'C', 30}, {"UW2", 'C', 30}, {"ANU", 'C', 1}, {"ZRK", 'N', 1}, {"KON", 'N', 5}, {"ZAP", 'C', 1},
    {"REC", 'N', 7}, {"KAS", 'C', 1}, {"DWF", 'D', 8}, {"KNF", 'N', 11, 2}, {"DNF", 'D', 8}, {"REW", 'N', 7},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'C', 30}, {"RE3", 'N', 11, 2}, {"RE4", 'N', 11, 2},
};
const LayoutTag kZ5RYPRTags[] = {
    {"DTOS(DPR)+STR(RECNO(),9,0)", nullptr, 0},
    {"NUM", nullptr, 0},
    {"STR(MONTH(DPR),2,0)+STR(LPO,5,0)", nullptr, 0},
    {"REC", nullptr, 0},
};

// "Z5RYCZ  .DBF"
const LayoutField kZ5RYCZFields[] = {
    {"LPO", 'N', 5}, {"DAT", 'D', 8}, {"NUM", 'C', 20}, {"DAD", 'D', 8}, {"USL", 'N', 11, 2}, {"PRO", 'N', 11, 2},
    {"HAN", 'N', 11, 2}, {"UIN", 'N', 11, 2}, {"WZA", 'N', 11, 2}, {"NIE", 'N', 11, 2}, {"RAZ", 'N', 11, 2},
    {"UW1", 'C', 30}, {"UW2", 'C', 30}, {"ANU", 'C', 1}, {"ZRK", 'N', 1}, {"KON", 'N', 5}, {"ZAP", 'C', 1},
    {"REC", 'N', 7}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2}, {"RE3", 'C', 30}, {"RE4", 'N', 11, 2},
};
const LayoutTag kZ5RYCZTags[] = {
    {"DTOS(DAD)+STR(RECNO(),9,0)", nullptr, 0},
    {"NUM", nullptr, 0},
    {"STR(MONTH(DAD),2,0)+STR(LPO,5,0)", nullptr, 0},
    {"REC", nullptr, 0},
};

// "Z5STAK  .DBF"
const LayoutField kZ5STAKFields[] = {
    {"MIE", 'C', 2}, {"STA", 'C', 1}, {"FIL", 'C', 1}, {"WYR", 'N', 13, 2}, {"USL", 'N', 13, 2},
    {"RAZ", 'N', 13, 2}, {"ZAK", 'N', 13, 2}, {"UBO", 'N', 13, 2}, {"REK", 'N', 13, 2}, {"UDR", 'N', 7, 4},
    {"WYN", 'N', 13, 2}, {"INN", 'N', 13, 2}, {"RAW", 'N', 13, 2}, {"RAK", 'N', 13, 2}, {"RAD", 'N', 13, 2},
    {"NUM", 'N', 5}, {"BRK", 'N', 13, 2}, {"RE1", 'N', 13, 2}, {"RE2", 'N', 13, 2},
};

// "Z5STRB  .DBF"
const LayoutField kZ5STRBFields[] = {
    {"MIE", 'C', 2}, {"STA", 'C', 1}, {"FIL", 'C', 1}, {"HAN", 'N', 11, 2}, {"PRO", 'N', 11, 2},
    {"USL", 'N', 11, 2}, {"NAJ", 'N', 11, 2}, {"NAW", 'N', 11, 2}, {"NIE", 'N', 11, 2}, {"KOM", 'N', 11, 2},
    {"ZDR", 'N', 11, 2}, {"UIN", 'N', 11, 2}, {"WZA", 'N', 11, 2}, {"RAZ", 'N', 11, 2}, {"RNN", 'N', 11, 2},
    {"NUM", 'N', 5}, {"RE1", 'N', 11, 2}, {"RE2", 'N', 11, 2}, {"RE3", 'N', 11, 2},
};

// "Z5STRY  .DBF"
const LayoutField kZ5STRYFields[] = {
    {"MIE", 'C', 2}, {"STA", 'C', 1}, {"FIL", 'C', 1}, {"USL", 'N', 11, 2}, {"PRO", 'N', 11, 2},
    {"HAN", 'N', 11, 2}, {"UIN", 'N', 11, 2}, {"WZA", 'N', 11, 2}, {"NIE", 'N', 11, 2}, {"ROL", 'N', 11, 2},
    {"RAZ", 'N', 11, 2}, {"NUM", 'N', 5}, {"RE1", 'N', 11, 2}, {"RE2", 'N', 11, 2}, {"RE3", 'N', 11, 2},
};

}  // namespace

const TableLayout LAYOUT_Z5DANE = MakeLayout(kZ5DANEFields, kZ5DANETags);
const TableLayout LAYOUT_Z5RYPR = MakeLayout(kZ5RYPRFields, kZ5RYPRTags);
const TableLayout LAYOUT_Z5RYCZ = MakeLayout(kZ5RYCZFields, kZ5RYCZTags);
const TableLayout LAYOUT_Z5STAK = MakeLayout(kZ5STAKFields);
const TableLayout LAYOUT_Z5STRB = MakeLayout(kZ5STRBFields);
const TableLayout LAYOUT_Z5STRY = MakeLayout(kZ5STRYFields);
