// Layouts of the warehouse receipts and issues: headers and lines.
#include "tables/layouts.h"

namespace {

// "Z5MAPR  .DBF", "Z5MAWY  .DBF"
const LayoutField kZ5MAPRFields[] = {
    {"TYD", 'N', 1, 0}, {"PRE", 'C', 4, 0}, {"NUM", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DAT", 'D', 8, 0}, {"KOO", 'C', 20, 0},
    {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"NIP", 'C', 20, 0},
    {"NET", 'N', 11, 2}, {"VAT", 'N', 10, 2}, {"BRU", 'N', 11, 2}, {"UWA", 'C', 70, 0}, {"WYS", 'C', 25, 0}, {"ODE", 'C', 25, 0},
    {"OPI", 'C', 20, 0}, {"REC", 'N', 7, 0}, {"AKT", 'N', 1, 0}, {"TRY", 'N', 1, 0}, {"OZA", 'C', 60, 0}, {"KZA", 'N', 11, 2},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5MAPRTags[] = {
    {"STR(NUM,5,0)", nullptr, 0},
    {"DTOS(DAT)+STR(NUM,5,0)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"REC", nullptr, 0},
};

// "Z5MAPE  .DBF", "Z5MAWE  .DBF"
const LayoutField kZ5MAPEFields[] = {
    {"TYD", 'N', 1, 0}, {"PRE", 'C', 4, 0}, {"NUM", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DAT", 'D', 8, 0}, {"KOT", 'C', 18, 0},
    {"NA1", 'C', 40, 0}, {"NA2", 'C', 40, 0}, {"NA3", 'C', 40, 0}, {"NA4", 'C', 40, 0}, {"NA5", 'C', 40, 0}, {"NA6", 'C', 40, 0},
    {"JED", 'C', 6, 0}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4}, {"CEB", 'N', 12, 4}, {"WAN", 'N', 11, 2}, {"VAT", 'N', 2, 0},
    {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"REK", 'N', 7, 0}, {"STP", 'C', 1, 0}, {"INF", 'C', 32, 0},
    {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
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
