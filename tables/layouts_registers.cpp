// Layouts of the other registers kept for the maintenance pass.
#include "tables/layouts.h"

namespace {

// "Z5SAMO.DBF"
const LayoutField kZ5SAMOFields[] = {
    {"TYP", 'C', 1, 0}, {"STA", 'C', 1, 0}, {"KIE", 'C', 32, 0}, {"KIM", 'C', 15, 0}, {"NUM", 'C', 10, 0}, {"MAR", 'C', 20, 0},
    {"POJ", 'C', 10, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 32, 0}, {"ROS", 'N', 2, 0}, {"ROP", 'C', 1, 0},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5SAMOTags[] = {
    {"KIE", nullptr, 0},
};

// "Z5PRCE.DBF"
const LayoutField kZ5PRCEFields[] = {
    {"CE", 'C', 40, 0}, {"TR", 'C', 40, 0}, {"IL", 'N', 4, 0},
};
const LayoutTag kZ5PRCETags[] = {
    {"UPPER(CE)", nullptr, 0},
};

// "Z5PRZE  .DBF"
const LayoutField kZ5PRZEFields[] = {
    {"KOD", 'N', 5, 0}, {"DAT", 'D', 8, 0}, {"CEL", 'C', 40, 0}, {"TRA", 'C', 40, 0}, {"ILO", 'N', 4, 0}, {"CEB", 'N', 11, 2},
    {"CEK", 'N', 11, 4}, {"POJ", 'C', 10, 0}, {"WAR", 'N', 11, 2}, {"LPO", 'N', 5, 0}, {"POD", 'C', 10, 0}, {"UWA", 'C', 20, 0},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PRZETags[] = {
    {"DTOS(DAT)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5RASA  .DBF"
const LayoutField kZ5RASAFields[] = {
    {"KOD", 'N', 5, 0}, {"DAT", 'D', 8, 0}, {"NUM", 'C', 26, 0}, {"WAR", 'N', 11, 2}, {"OP1", 'C', 20, 0}, {"OP2", 'C', 20, 0},
    {"KIE", 'C', 32, 0}, {"KIM", 'C', 15, 0}, {"ROP", 'C', 1, 0}, {"TOW", 'C', 40, 0}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 12, 4},
    {"CEB", 'N', 12, 4}, {"WAN", 'N', 11, 2}, {"VAT", 'N', 2, 0}, {"VAS", 'N', 4, 1}, {"WAV", 'N', 11, 2}, {"WAB", 'N', 11, 2},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5RASATags[] = {
    {"DAT", nullptr, 0},
};

// "Z5AMOR  .DBF"
const LayoutField kZ5AMORFields[] = {
    {"LPO", 'N', 3, 0}, {"NAZ", 'C', 70, 0}, {"KST", 'C', 20, 0}, {"DAN", 'D', 8, 0}, {"WAP", 'N', 12, 2}, {"DAP", 'D', 8, 0},
    {"WPZ", 'N', 12, 2}, {"DWU", 'N', 12, 2}, {"WUZ", 'N', 12, 2}, {"STA", 'N', 6, 2}, {"RSO", 'N', 12, 2}, {"RMO", 'N', 12, 2},
    {"AWO", 'N', 12, 2}, {"DPU", 'D', 8, 0}, {"UW1", 'C', 70, 0}, {"UW2", 'C', 70, 0}, {"NRD", 'C', 40, 0}, {"DLI", 'D', 8, 0},
    {"PLI", 'C', 68, 0}, {"NRI", 'C', 40, 0}, {"WUL", 'N', 11, 2}, {"INF", 'C', 32, 0}, {"AKT", 'C', 1, 0}, {"RE1", 'C', 30, 0},
    {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5AMORTags[] = {
    {"DTOS(DAN)+STR(RECNO(),6,0)", nullptr, 0},
};

// "Z5DOWO  .DBF"
const LayoutField kZ5DOWOFields[] = {
    {"TYP", 'N', 1, 0}, {"NUM", 'C', 10, 0}, {"DAT", 'D', 8, 0}, {"NA1", 'C', 30, 0}, {"NA2", 'C', 30, 0}, {"RAZ", 'N', 11, 2},
    {"UWA", 'C', 30, 0}, {"TRK", 'N', 1, 0}, {"LPO", 'N', 5, 0}, {"DAZ", 'D', 8, 0}, {"REK", 'N', 7, 0}, {"REC", 'N', 7, 0},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5DOWOTags[] = {
    {"STR(TYP,1,0)+UPPER(NUM)", nullptr, 0},
    {"DTOS(DAT)+STR(TYP,1,0)+UPPER(NUM)", nullptr, 0},
    {"REK", nullptr, 0},
};

// "Z5DOWE  .DBF"
const LayoutField kZ5DOWEFields[] = {
    {"REK", 'N', 7, 0}, {"NA1", 'C', 30, 0}, {"NA2", 'C', 30, 0}, {"ILO", 'N', 13, 4}, {"CEN", 'N', 9, 2}, {"WAR", 'N', 11, 2},
    {"RYT", 'N', 2, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5DOWETags[] = {
    {"STR(REK,7,0)+STR(RECNO(),7,0)", nullptr, 0},
};

// "Z5SKUP.DBF"
const LayoutField kZ5SKUPFields[] = {
    {"PRE", 'C', 4, 0}, {"NUM", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DAT", 'D', 8, 0}, {"DAS", 'D', 8, 0}, {"KOD", 'C', 20, 0},
    {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"NRD", 'C', 20, 0},
    {"PES", 'C', 20, 0}, {"PR1", 'C', 35, 0}, {"PR2", 'C', 35, 0}, {"PR3", 'C', 35, 0}, {"NET", 'N', 10, 2}, {"PST", 'N', 4, 1},
    {"PWA", 'N', 10, 2}, {"BRU", 'N', 10, 2}, {"DET", 'N', 10, 2}, {"UW1", 'C', 70, 0}, {"UW2", 'C', 70, 0}, {"WYS", 'C', 30, 0},
    {"ODR", 'C', 70, 0}, {"ODK", 'C', 25, 0}, {"ODM", 'N', 10, 2}, {"ODI", 'N', 10, 3}, {"ODC", 'N', 10, 2}, {"INF", 'C', 32, 0},
    {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
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
    {"DAZ", 'D', 8, 0}, {"NUM", 'C', 30, 0}, {"NRE", 'C', 30, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"CEN", 'N', 11, 2},
    {"DAL", 'D', 8, 0}, {"PRZ", 'C', 60, 0}, {"ROK", 'N', 4, 0}, {"LPO", 'N', 5, 0}, {"STA", 'C', 1, 0}, {"REK", 'N', 7, 0},
    {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5WYPOTags[] = {
    {"DAZ", nullptr, 0},
    {"UPPER(NRE)", nullptr, 0},
};

// "Z5SPZE  .DBF"
const LayoutField kZ5SPZEFields[] = {
    {"TYD", 'N', 1, 0}, {"PRE", 'C', 4, 0}, {"NRV", 'N', 5, 0}, {"POS", 'C', 9, 0}, {"DAW", 'D', 8, 0}, {"NIP", 'C', 20, 0},
    {"NPO", 'N', 11, 2}, {"SPO", 'N', 4, 1}, {"VPO", 'N', 11, 2}, {"BPO", 'N', 11, 2}, {"NP1", 'N', 11, 2}, {"SP1", 'N', 4, 1},
    {"VP1", 'N', 11, 2}, {"BP1", 'N', 11, 2}, {"NP2", 'N', 11, 2}, {"SP2", 'N', 4, 1}, {"VP2", 'N', 11, 2}, {"BP2", 'N', 11, 2},
    {"NZK", 'N', 11, 2}, {"NZE", 'N', 11, 2}, {"NZW", 'N', 11, 2}, {"NP3", 'N', 11, 2}, {"SP3", 'N', 4, 1}, {"VP3", 'N', 11, 2},
    {"BP3", 'N', 11, 2}, {"NRA", 'N', 12, 2}, {"VRA", 'N', 12, 2}, {"BRA", 'N', 12, 2}, {"REC", 'N', 7, 0}, {"AKT", 'N', 1, 0},
    {"NPD", 'N', 11, 2}, {"SPD", 'N', 4, 1}, {"VPD", 'N', 11, 2}, {"BPD", 'N', 11, 2}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0},
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
