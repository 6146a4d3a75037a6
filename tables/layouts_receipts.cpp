// Layouts of the retail receipts: headers, lines and the buyers of invoices issued to receipts.
#include "tables/layouts.h"

namespace {

// "Z5PARA  .DBF"
const LayoutField kZ5PARAFields[] = {
    {"PRE", 'C', 4, 0}, {"NRV", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DSP", 'D', 8, 0}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2},
    {"BRU", 'N', 11, 2}, {"UWA", 'C', 60, 0}, {"OP", 'C', 20, 0}, {"REC", 'N', 7, 0}, {"AKT", 'N', 1, 0}, {"TRY", 'N', 1, 0},
    {"WYD", 'C', 1, 0}, {"STA", 'C', 1, 0}, {"TYF", 'N', 1, 0}, {"PRF", 'C', 4, 0}, {"NRF", 'N', 5, 0}, {"POF", 'C', 9, 0},
    {"KBP", 'N', 11, 2}, {"KBZ", 'N', 11, 2}, {"ZAP", 'N', 11, 2}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
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
    {"PRE", 'C', 4, 0}, {"NRV", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DAV", 'D', 8, 0}, {"KOT", 'C', 18, 0}, {"KON", 'N', 5, 0},
    {"NA1", 'C', 40, 0}, {"NA2", 'C', 40, 0}, {"NA3", 'C', 40, 0}, {"NA4", 'C', 40, 0}, {"NA5", 'C', 40, 0}, {"NA6", 'C', 40, 0},
    {"KWU", 'C', 14, 0}, {"JED", 'C', 6, 0}, {"ILO", 'N', 13, 4}, {"CNB", 'N', 12, 4}, {"CBB", 'N', 12, 4}, {"RAS", 'N', 4, 1},
    {"CNR", 'N', 12, 4}, {"CBR", 'N', 12, 4}, {"WNE", 'N', 11, 2}, {"VAT", 'N', 2, 0}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2},
    {"WAB", 'N', 11, 2}, {"REK", 'N', 7, 0}, {"ODC", 'C', 1, 0}, {"ZRP", 'N', 1, 0}, {"STA", 'C', 1, 0}, {"BUT", 'C', 1, 0},
    {"AKC", 'C', 1, 0}, {"AKK", 'C', 20, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PARETags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"DTOS(DAV)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(REK,7,0)", nullptr, 0},
    {"NA1", nullptr, 0},
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5PARO  .DBF"
const LayoutField kZ5PAROFields[] = {
    {"KNA", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0},
    {"NIP", 'C', 20, 0}, {"PLA", 'C', 25, 0}, {"DPL", 'D', 8, 0}, {"NRZ", 'C', 24, 0}, {"DZM", 'D', 8, 0}, {"WYS", 'C', 30, 0},
    {"ODE", 'C', 25, 0}, {"REK", 'N', 7, 0}, {"UWA", 'C', 70, 0}, {"ZAP", 'C', 1, 0}, {"KZA", 'N', 11, 2}, {"OZA", 'C', 60, 0},
    {"TYB", 'N', 1, 0}, {"STA", 'C', 1, 0}, {"DAW", 'D', 8, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PAROTags[] = {
    {"UPPER(NA1)", nullptr, 0},
    {"REK", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5PARA = MakeLayout(kZ5PARAFields, kZ5PARATags);
const TableLayout LAYOUT_Z5PARE = MakeLayout(kZ5PAREFields, kZ5PARETags);
const TableLayout LAYOUT_Z5PARO = MakeLayout(kZ5PAROFields, kZ5PAROTags);
