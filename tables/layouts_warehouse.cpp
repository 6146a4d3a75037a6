// Layouts of the warehouse receipts and issues: headers and lines.
#include "tables/layouts.h"

namespace {

// "Z5MAPR  .DBF", "Z5MAWY  .DBF"
const LayoutField kZ5MAPRFields[] = {
    {"TYD", 'N', 1}, {"PRE", 'C', 4}, {"NUM", 'N', 5}, {"POS", 'C', 9}, {"DAT", 'D', 8}, {"KOO", 'C', 20},
    {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"NIP", 'C', 20},
    {"NET", 'N', 11, 2}, {"VAT", 'N', 10, 2}, {"BRU", 'N', 11, 2}, {"UWA", 'C', 70}, {"WYS", 'C', 25},
    {"ODE", 'C', 25}, {"OPI", 'C', 20}, {"REC", 'N', 7}, {"AKT", 'N', 1}, {"TRY", 'N', 1}, {"OZA", 'C', 60},
    {"KZA", 'N', 11, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5MAPRTags[] = {
    {"STR(NUM,5,0)", nullptr, 0},
    {"DTOS(DAT)+STR(NUM,5,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"REC", nullptr, 0},
};

// "Z5MAPE  .DBF", "Z5MAWE  .DBF"
const LayoutField kZ5MAPEFields[] = {
    {"TYD", 'N', 1}, {"PRE", 'C', 4}, {"NUM", 'N', 5}, {"POS", 'C', 9}, {"DAT", 'D', 8}, {"KOT", 'C', 18},
    {"NA1", 'C', 40}, {"NA2", 'C', 40}, {"NA3", 'C', 40}, {"NA4", 'C', 40}, {"NA5", 'C', 40}, {"NA6", 'C', 40},
    {"JED", 'C', 6}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4}, {"CEB", 'N', 12, 4}, {"WAN", 'N', 11, 2},
    {"VAT", 'N', 2}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"REK", 'N', 7}, {"STP", 'C', 1},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5MAPETags[] = {
    {"STR(NUM,5,0)", nullptr, 0},
    {"DTOS(DAT)+STR(NUM,5,0)+STR(REK,7,0)", nullptr, 0},
    {"NA1", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5MAPR = MakeLayout(kZ5MAPRFields, kZ5MAPRTags);
const TableLayout LAYOUT_Z5MAPE = MakeLayout(kZ5MAPEFields, kZ5MAPETags);
