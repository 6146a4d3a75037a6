// Layouts of the retail receipts: headers, lines and the buyers of invoices issued to receipts.
#include "tables/layouts.h"

namespace {

// "Z5PARA  .DBF"
const LayoutField kZ5PARAFields[] = {
    {"PRE", 'C', 4}, {"NRV", 'N', 5}, {"POS", 'C', 9}, {"DSP", 'D', 8}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2},
    {"BRU", 'N', 11, 2}, {"UWA", 'C', 60}, {"OP", 'C', 20}, {"REC", 'N', 7}, {"AKT", 'N', 1}, {"TRY", 'N', 1},
    {"WYD", 'C', 1}, {"STA", 'C', 1}, {"TYF", 'N', 1}, {"PRF", 'C', 4}, {"NRF", 'N', 5}, {"POF", 'C', 9},
    {"KBP", 'N', 11, 2}, {"KBZ", 'N', 11, 2}, {"ZAP", 'N', 11, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PARATags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"DTOS(DSP)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"STR(NRF,5,0)+UPPER(PRF)+UPPER(POF)+STR(TYF,1,0)", nullptr, 0},
    {"REC", nullptr, 0},
    {"UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", nullptr, 0},
    {"STR(TYF,1,0)+UPPER(PRF)+UPPER(POF)+STR(NRF,5,0)", nullptr, 0},
};

// "Z5PARE  .DBF"
const LayoutField kZ5PAREFields[] = {
    {"PRE", 'C', 4}, {"NRV", 'N', 5}, {"POS", 'C', 9}, {"DAV", 'D', 8}, {"KOT", 'C', 18}, {"KON", 'N', 5},
    {"NA1", 'C', 40}, {"NA2", 'C', 40}, {"NA3", 'C', 40}, {"NA4", 'C', 40}, {"NA5", 'C', 40}, {"NA6", 'C', 40},
    {"KWU", 'C', 14}, {"JED", 'C', 6}, {"ILO", 'N', 13, 4}, {"CNB", 'N', 12, 4}, {"CBB", 'N', 12, 4},
    {"RAS", 'N', 4, 1}, {"CNR", 'N', 12, 4}, {"CBR", 'N', 12, 4}, {"WNE", 'N', 11, 2}, {"VAT", 'N', 2},
    {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2}, {"REK", 'N', 7}, {"ODC", 'C', 1}, {"ZRP", 'N', 1},
    {"STA", 'C', 1}, {"BUT", 'C', 1}, {"AKC", 'C', 1}, {"AKK", 'C', 20}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PARETags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(REK,7,0)", nullptr, 0},
    {"NA1", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5PARO  .DBF"
const LayoutField kZ5PAROFields[] = {
    {"KNA", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 64},
    {"NIP", 'C', 20}, {"PLA", 'C', 25}, {"DPL", 'D', 8}, {"NRZ", 'C', 24}, {"DZM", 'D', 8}, {"WYS", 'C', 30},
    {"ODE", 'C', 25}, {"REK", 'N', 7}, {"UWA", 'C', 70}, {"ZAP", 'C', 1}, {"KZA", 'N', 11, 2}, {"OZA", 'C', 60},
    {"TYB", 'N', 1}, {"STA", 'C', 1}, {"DAW", 'D', 8}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PAROTags[] = {
    {"UPPER(NA1)", nullptr, 0},
    {"REK", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5PARA = MakeLayout(kZ5PARAFields, kZ5PARATags);
const TableLayout LAYOUT_Z5PARE = MakeLayout(kZ5PAREFields, kZ5PARETags);
const TableLayout LAYOUT_Z5PARO = MakeLayout(kZ5PAROFields, kZ5PAROTags);
