// Layouts of the per-run export tables of the register and account printouts.
#include "tables/layouts.h"

namespace {

// "Z5ESPP  .DBF"
const LayoutField kZ5ESPPFields[] = {
    {"LPO", 'C', 5}, {"NUM", 'C', 40}, {"DAW", 'D', 8}, {"DAS", 'D', 8}, {"DAV", 'D', 8}, {"NA1", 'C', 70},
    {"NA2", 'C', 70}, {"AD1", 'C', 32}, {"AD2", 'C', 64}, {"NIP", 'C', 20}, {"BRU", 'N', 12, 2},
    {"NPO", 'N', 12, 2}, {"VPO", 'N', 12, 2}, {"NP1", 'N', 12, 2}, {"VP1", 'N', 12, 2}, {"NP2", 'N', 12, 2},
    {"VP2", 'N', 12, 2}, {"NP3", 'N', 12, 2}, {"VP3", 'N', 12, 2}, {"N0K", 'N', 12, 2}, {"N0E", 'N', 12, 2},
    {"SBE", 'N', 12, 2}, {"WOL", 'N', 12, 2}, {"KNO", 'N', 12, 2}, {"KVO", 'N', 12, 2}, {"KNZ", 'N', 12, 2},
    {"KVZ", 'N', 12, 2}, {"RHA", 'N', 12, 2}, {"RPR", 'N', 12, 2}, {"RUS", 'N', 12, 2}, {"RNA", 'N', 12, 2},
    {"RNI", 'N', 12, 2}, {"RKO", 'N', 12, 2}, {"RZD", 'N', 12, 2}, {"RUI", 'N', 12, 2}, {"RWZ", 'N', 12, 2},
    {"RNW", 'N', 12, 2}, {"LPK", 'N', 5}, {"NPD", 'N', 12, 2}, {"NIO", 'N', 12, 2}, {"UEN", 'N', 12, 2},
    {"UEV", 'N', 12, 2}, {"IUN", 'N', 12, 2}, {"IUV", 'N', 12, 2}, {"DON", 'N', 12, 2}, {"DOV", 'N', 12, 2},
    {"ITN", 'N', 12, 2}, {"ITV", 'N', 12, 2}, {"UW1", 'C', 70}, {"UW2", 'C', 70}, {"US1", 'C', 40},
    {"US2", 'C', 40}, {"US3", 'C', 40}, {"US4", 'C', 40}, {"US5", 'C', 40}, {"US6", 'C', 40}, {"NN5", 'N', 12, 2},
    {"NV5", 'N', 12, 2}, {"NN7", 'N', 12, 2}, {"NV7", 'N', 12, 2}, {"NN8", 'N', 12, 2}, {"NV8", 'N', 12, 2},
    {"RYR", 'N', 12, 2}, {"UPN", 'N', 12, 2}, {"UPV", 'N', 12, 2}, {"UTN", 'N', 12, 2}, {"UTV", 'N', 12, 2},
    {"PAN", 'N', 12, 2}, {"PAV", 'N', 12, 2}, {"PRO", 'C', 17}, {"GTU", 'C', 17}, {"IZN", 'N', 12, 2},
    {"IZV", 'N', 12, 2}, {"OZN", 'C', 22}, {"ZAP", 'N', 12, 2}, {"WDT", 'N', 12, 2}, {"WDU", 'N', 12, 2},
    {"EXP", 'N', 12, 2}, {"MAN", 'N', 12, 2},
};
const LayoutTag kZ5ESPPTags[] = {
    {"DTOS(DAW)+UPPER(NUM)", nullptr, 0},
};

// "Z5ESZT  .DBF"
const LayoutField kZ5ESZTFields[] = {
    {"LPO", 'C', 5}, {"NUM", 'C', 40}, {"DAW", 'D', 8}, {"DAS", 'D', 8}, {"NA1", 'C', 70}, {"NA2", 'C', 70},
    {"MIA", 'C', 32}, {"ULI", 'C', 64}, {"NIP", 'C', 20}, {"BRU", 'N', 12, 2}, {"NPO", 'N', 12, 2},
    {"VPO", 'N', 12, 2}, {"NP1", 'N', 12, 2}, {"VP1", 'N', 12, 2}, {"NP2", 'N', 12, 2}, {"VP2", 'N', 12, 2},
    {"NP3", 'N', 12, 2}, {"VP3", 'N', 12, 2}, {"N0K", 'N', 12, 2}, {"N0E", 'N', 12, 2}, {"SBE", 'N', 12, 2},
    {"WOL", 'N', 12, 2}, {"NPD", 'N', 12, 2}, {"DWE", 'N', 12, 2}, {"NUN", 'N', 12, 2}, {"NUV", 'N', 12, 2},
    {"IUN", 'N', 12, 2}, {"IUV", 'N', 12, 2}, {"NPN", 'N', 12, 2}, {"NPV", 'N', 12, 2}, {"ITN", 'N', 12, 2},
    {"ITV", 'N', 12, 2}, {"LPK", 'N', 6}, {"DAV", 'D', 8}, {"NIO", 'N', 12, 2}, {"NN5", 'N', 12, 2},
    {"NV5", 'N', 12, 2}, {"NN7", 'N', 12, 2}, {"NV7", 'N', 12, 2}, {"NN8", 'N', 12, 2}, {"NV8", 'N', 12, 2},
    {"IZN", 'N', 12, 2}, {"IZV", 'N', 12, 2}, {"PAN", 'N', 12, 2}, {"PAV", 'N', 12, 2}, {"WDU", 'N', 12, 2},
};
const LayoutTag kZ5ESZTTags[] = {
    {"DTOS(DAV)+UPPER(NUM)", nullptr, 0},
};

// "Z5ESMA  .DBF"
const LayoutField kZ5ESMAFields[] = {
    {"LPO", 'C', 5}, {"NUM", 'C', 40}, {"BRU", 'N', 10, 2}, {"ZAK", 'N', 10, 2}, {"MAR", 'N', 10, 2},
    {"NET", 'N', 10, 2}, {"VAT", 'N', 10, 2}, {"DAV", 'D', 8},
};

// "Z5KONTE.DBF"
const LayoutField kZ5KONTEFields[] = {
    {"NAZ", 'C', 34}, {"NUM", 'C', 8}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"NIV", 'N', 11, 2},
    {"BRU", 'N', 11, 2}, {"REC", 'N', 5},
};
const LayoutTag kZ5KONTETags[] = {
    {"NUM", nullptr, 0},
    {"STR(REC,5,0)", nullptr, 0},
};

// "UE_TMP.DBF"
const LayoutField kUE_TMPFields[] = {
    {"TYZ", 'C', 1}, {"KOK", 'C', 2}, {"KOD", 'C', 20}, {"NIP", 'C', 20}, {"KWO", 'N', 11}, {"TTR", 'C', 1},
};

// "UE_ERR.DBF"
const LayoutField kUE_ERRFields[] = {
    {"TYZ", 'C', 1}, {"NRD", 'C', 40}, {"DAT", 'D', 8}, {"NIP", 'C', 20},
};

}  // namespace

const TableLayout LAYOUT_Z5ESPP = MakeLayout(kZ5ESPPFields, kZ5ESPPTags);
const TableLayout LAYOUT_Z5ESZT = MakeLayout(kZ5ESZTFields, kZ5ESZTTags);
const TableLayout LAYOUT_Z5ESMA = MakeLayout(kZ5ESMAFields);
const TableLayout LAYOUT_Z5KONTE = MakeLayout(kZ5KONTEFields, kZ5KONTETags);
const TableLayout LAYOUT_UE_TMP = MakeLayout(kUE_TMPFields);
const TableLayout LAYOUT_UE_ERR = MakeLayout(kUE_ERRFields);

// The copies in the live layouts carry tags of their own (the contractor
// data's copy without the blank of the live key).
namespace {
const LayoutTag kZ5ESEXTags[] = {{"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0}};
const LayoutTag kZ5SOEXTags[] = {{"STR(SPR,1,0)+STR(REK,7,0)", nullptr, 0}};
const LayoutTag kZ5KASAEXTags[] = {{"STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", nullptr, 0}};
const LayoutTag kZ5SPISEXTags[] = {{"KOD", nullptr, 0}};
}  // namespace

const TableLayout LAYOUT_Z5ESEX = {LAYOUT_Z5SPRE.fields, LAYOUT_Z5SPRE.fieldCount, kZ5ESEXTags, 1};
const TableLayout LAYOUT_Z5SOEX = {LAYOUT_Z5SPRO.fields, LAYOUT_Z5SPRO.fieldCount, kZ5SOEXTags, 1};
const TableLayout LAYOUT_Z5KASAEX = {LAYOUT_Z5KASA.fields, LAYOUT_Z5KASA.fieldCount, kZ5KASAEXTags, 1};
const TableLayout LAYOUT_Z5SPISEX = {LAYOUT_Z5TOWA.fields, LAYOUT_Z5TOWA.fieldCount, kZ5SPISEXTags, 1};
