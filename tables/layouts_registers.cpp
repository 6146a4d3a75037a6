// Layouts of the other registers kept for the maintenance pass.
#include "tables/layouts.h"

namespace {

// "Z5SAMO.DBF"
const LayoutField kZ5SAMOFields[] = {
    {"TYP", 'C', 1}, {"STA", 'C', 1}, {"KIE", 'C', 32}, {"KIM", 'C', 15}, {"NUM", 'C', 10}, {"MAR", 'C', 20},
    {"POJ", 'C', 10}, {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 32}, {"ROS", 'N', 2}, {"ROP", 'C', 1},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SAMOTags[] = {
    {"KIE", nullptr, 0},
};

// "Z5PRCE.DBF"
const LayoutField kZ5PRCEFields[] = {
    {"CE", 'C', 40}, {"TR", 'C', 40}, {"IL", 'N', 4},
};
const LayoutTag kZ5PRCETags[] = {
    {"UPPER(CE)", nullptr, 0},
};

// "Z5PRZE  .DBF"
const LayoutField kZ5PRZEFields[] = {
    {"KOD", 'N', 5}, {"DAT", 'D', 8}, {"CEL", 'C', 40}, {"TRA", 'C', 40}, {"ILO", 'N', 4}, {"CEB", 'N', 11, 2},
    {"CEK", 'N', 11, 4}, {"POJ", 'C', 10}, {"WAR", 'N', 11, 2}, {"LPO", 'N', 5}, {"POD", 'C', 10}, {"UWA", 'C', 20},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PRZETags[] = {
    {"DTOS(DAT)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5RASA  .DBF"
const LayoutField kZ5RASAFields[] = {
    {"KOD", 'N', 5}, {"DAT", 'D', 8}, {"NUM", 'C', 26}, {"WAR", 'N', 11, 2}, {"OP1", 'C', 20}, {"OP2", 'C', 20},
    {"KIE", 'C', 32}, {"KIM", 'C', 15}, {"ROP", 'C', 1}, {"TOW", 'C', 40}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4},
    {"CEB", 'N', 12, 4}, {"WAN", 'N', 11, 2}, {"VAT", 'N', 2}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2},
    {"WAB", 'N', 11, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5RASATags[] = {
    {"DAT", nullptr, 0},
};

// "Z5AMOR  .DBF"
const LayoutField kZ5AMORFields[] = {
    {"LPO", 'N', 3}, {"NAZ", 'C', 70}, {"KST", 'C', 20}, {"DAN", 'D', 8}, {"WAP", 'N', 12, 2}, {"DAP", 'D', 8},
    {"WPZ", 'N', 12, 2}, {"DWU", 'N', 12, 2}, {"WUZ", 'N', 12, 2}, {"STA", 'N', 6, 2}, {"RSO", 'N', 12, 2},
    {"RMO", 'N', 12, 2}, {"AWO", 'N', 12, 2}, {"DPU", 'D', 8}, {"UW1", 'C', 70}, {"UW2", 'C', 70}, {"NRD", 'C', 40},
    {"DLI", 'D', 8}, {"PLI", 'C', 68}, {"NRI", 'C', 40}, {"WUL", 'N', 11, 2}, {"INF", 'C', 32}, {"AKT", 'C', 1},
    {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5AMORTags[] = {
    {"DTOS(DAN)+STR(RECNO(),6,0)", nullptr, 0},
};

// "Z5DOWO  .DBF"
const LayoutField kZ5DOWOFields[] = {
    {"TYP", 'N', 1}, {"NUM", 'C', 10}, {"DAT", 'D', 8}, {"NA1", 'C', 30}, {"NA2", 'C', 30}, {"RAZ", 'N', 11, 2},
    {"UWA", 'C', 30}, {"TRK", 'N', 1}, {"LPO", 'N', 5}, {"DAZ", 'D', 8}, {"REK", 'N', 7}, {"REC", 'N', 7},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5DOWOTags[] = {
    {"STR(TYP,1,0)+UPPER(NUM)", nullptr, 0},
    {"DTOS(DAT)+STR(TYP,1,0)+UPPER(NUM)", nullptr, 0},
    {"REK", nullptr, 0},
};

// "Z5DOWE  .DBF"
const LayoutField kZ5DOWEFields[] = {
    {"REK", 'N', 7}, {"NA1", 'C', 30}, {"NA2", 'C', 30}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 9, 2},
    {"WAR", 'N', 11, 2}, {"RYT", 'N', 2}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5DOWETags[] = {
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5SKUP.DBF"
const LayoutField kZ5SKUPFields[] = {
    {"PRE", 'C', 4}, {"NUM", 'N', 5}, {"POS", 'C', 9}, {"DAT", 'D', 8}, {"DAS", 'D', 8}, {"KOD", 'C', 20},
    {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"NRD", 'C', 20},
    {"PES", 'C', 20}, {"PR1", 'C', 35}, {"PR2", 'C', 35}, {"PR3", 'C', 35}, {"NET", 'N', 10, 2}, {"PST", 'N', 4, 1},
    {"PWA", 'N', 10, 2}, {"BRU", 'N', 10, 2}, {"DET", 'N', 10, 2}, {"UW1", 'C', 70}, {"UW2", 'C', 70},
    {"WYS", 'C', 30}, {"ODR", 'C', 70}, {"ODK", 'C', 25}, {"ODM", 'N', 10, 2}, {"ODI", 'N', 10, 3},
    {"ODC", 'N', 10, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SKUPTags[] = {
    {"STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"DTOS(DAT)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"DTOS(DAS)+STR(NUM,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"UPPER(PRE)+UPPER(POS)+STR(NUM,5,0)", nullptr, 0},
};

// "Z5WYPO.DBF"
const LayoutField kZ5WYPOFields[] = {
    {"DAZ", 'D', 8}, {"NUM", 'C', 30}, {"NRE", 'C', 30}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"CEN", 'N', 11, 2},
    {"DAL", 'D', 8}, {"PRZ", 'C', 60}, {"ROK", 'N', 4}, {"LPO", 'N', 5}, {"STA", 'C', 1}, {"REK", 'N', 7},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5WYPOTags[] = {
    {"DAZ", nullptr, 0},
    {"UPPER(NRE)", nullptr, 0},
};

// "Z5SPZE  .DBF"
const LayoutField kZ5SPZEFields[] = {
    {"TYD", 'N', 1}, {"PRE", 'C', 4}, {"NRV", 'N', 5}, {"POS", 'C', 9}, {"DAW", 'D', 8}, {"NIP", 'C', 20},
    {"NPO", 'N', 11, 2}, {"SPO", 'N', 4, 1}, {"VPO", 'N', 11, 2}, {"BPO", 'N', 11, 2}, {"NP1", 'N', 11, 2},
    {"SP1", 'N', 4, 1}, {"VP1", 'N', 11, 2}, {"BP1", 'N', 11, 2}, {"NP2", 'N', 11, 2}, {"SP2", 'N', 4, 1},
    {"VP2", 'N', 11, 2}, {"BP2", 'N', 11, 2}, {"NZK", 'N', 11, 2}, {"NZE", 'N', 11, 2}, {"NZW", 'N', 11, 2},
    {"NP3", 'N', 11, 2}, {"SP3", 'N', 4, 1}, {"VP3", 'N', 11, 2}, {"BP3", 'N', 11, 2}, {"NRA", 'N', 12, 2},
    {"VRA", 'N', 12, 2}, {"BRA", 'N', 12, 2}, {"REC", 'N', 7}, {"AKT", 'N', 1}, {"NPD", 'N', 11, 2},
    {"SPD", 'N', 4, 1}, {"VPD", 'N', 11, 2}, {"BPD", 'N', 11, 2}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SPZETags[] = {
    {"STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYD,1,0)", nullptr, 0},
    {"DTOS(DAW)+STR(TYD,1,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)", nullptr, 0},
    {"STR(TYD,1,0)+UPPER(PRE)+UPPER(POS)+STR(NRV,5,0)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5SAMO = MakeLayout(kZ5SAMOFields, kZ5SAMOTags);
const TableLayout LAYOUT_Z5PRCE = MakeLayout(kZ5PRCEFields, kZ5PRCETags);
const TableLayout LAYOUT_Z5PRZE = MakeLayout(kZ5PRZEFields, kZ5PRZETags);
const TableLayout LAYOUT_Z5RASA = MakeLayout(kZ5RASAFields, kZ5RASATags);
const TableLayout LAYOUT_Z5AMOR = MakeLayout(kZ5AMORFields, kZ5AMORTags);
const TableLayout LAYOUT_Z5DOWO = MakeLayout(kZ5DOWOFields, kZ5DOWOTags);
const TableLayout LAYOUT_Z5DOWE = MakeLayout(kZ5DOWEFields, kZ5DOWETags);
const TableLayout LAYOUT_Z5SKUP = MakeLayout(kZ5SKUPFields, kZ5SKUPTags);
const TableLayout LAYOUT_Z5WYPO = MakeLayout(kZ5WYPOFields, kZ5WYPOTags);
const TableLayout LAYOUT_Z5SPZE = MakeLayout(kZ5SPZEFields, kZ5SPZETags);
