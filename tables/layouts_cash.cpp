// Layouts of the cash book, settlements, transfer orders, interest rates and days off.
#include "tables/layouts.h"

namespace {

// "Z5KASA.DBF"
const LayoutField kZ5KASAFields[] = {
    {"TYP", 'C', 1, 0}, {"TKA", 'C', 1, 0}, {"TYK", 'N', 1, 0}, {"DAT", 'D', 8, 0}, {"PRE", 'C', 4, 0}, {"NUM", 'N', 5, 0},
    {"POS", 'C', 9, 0}, {"LPO", 'N', 4, 0}, {"KOD", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0},
    {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"KRA", 'C', 30, 0}, {"DOK", 'C', 30, 0}, {"TYT", 'C', 70, 0}, {"KWO", 'N', 11, 2},
    {"WAL", 'C', 3, 0}, {"KUR", 'N', 10, 6}, {"ZAP", 'N', 11, 2}, {"KUZ", 'N', 10, 6}, {"TYZ", 'N', 2, 0}, {"REK", 'N', 6, 0},
    {"ROK", 'N', 4, 0}, {"ODB", 'C', 24, 0}, {"KAS", 'C', 24, 0}, {"INF", 'C', 32, 0}, {"KSI", 'N', 1, 0}, {"RKS", 'N', 6, 0},
    {"LKS", 'N', 5, 0}, {"DKS", 'D', 8, 0}, {"KKS", 'N', 11, 2}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5KASATags[] = {
    {"DTOS(DAT)+STR(RECNO(),5,0)", nullptr, 0},
    {"STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", nullptr, 0},
    {"NUM", nullptr, 0},
    {"KOD", nullptr, 0},
    {"STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)+DTOS(DAT)", nullptr, 0},
    {"PRE+TYP+STR(TYK,1,0)+STR(YEAR(DAT),4,0)+STR(NUM,5,0)", nullptr, 10},
    {"STR(YEAR(DKS),4,0)+STR(RKS,6,0)", nullptr, 0},
};

// "Z5ROZL.DBF"
const LayoutField kZ5ROZLFields[] = {
    {"ROL", 'C', 1, 0}, {"TYP", 'C', 1, 0}, {"DOK", 'C', 30, 0}, {"DAW", 'D', 8, 0}, {"DAP", 'D', 8, 0}, {"TYT", 'C', 70, 0},
    {"TYZ", 'N', 2, 0}, {"ROK", 'N', 4, 0}, {"REK", 'N', 6, 0}, {"KOD", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0},
    {"KOP", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"KWO", 'N', 11, 2}, {"WAL", 'C', 3, 0}, {"KUR", 'N', 10, 6},
    {"ZAP", 'N', 11, 2}, {"KUZ", 'N', 10, 6}, {"REC", 'N', 6, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5ROZLTags[] = {
    {"STR(TYZ,2,0)+STR(ROK,4,0)+STR(REK,6,0)", nullptr, 0},
    {"DTOS(DAW)", nullptr, 0},
    {"DOK", nullptr, 0},
    {"KOD+DTOS(DAW)", nullptr, 0},
    {"NA1+DTOS(DAW)", nullptr, 0},
};

// "Z5PLEW  .DBF"
const LayoutField kZ5PLEWFields[] = {
    {"DAP", 'D', 8, 0}, {"TYP", 'N', 1, 0}, {"SOZ", 'N', 2, 0}, {"TYB", 'N', 1, 0}, {"KOZ", 'C', 20, 0}, {"NZ1", 'C', 54, 0},
    {"NZ2", 'C', 54, 0}, {"AZ1", 'C', 54, 0}, {"AZ2", 'C', 54, 0}, {"BAZ", 'C', 30, 0}, {"KNZ", 'C', 54, 0}, {"SOO", 'N', 2, 0},
    {"KOO", 'C', 20, 0}, {"NO1", 'C', 54, 0}, {"NO2", 'C', 54, 0}, {"AO1", 'C', 54, 0}, {"AO2", 'C', 54, 0}, {"BAO", 'C', 30, 0},
    {"KNO", 'C', 54, 0}, {"KWO", 'N', 11, 2}, {"TY1", 'C', 54, 0}, {"TY2", 'C', 54, 0}, {"ROW", 'C', 1, 0}, {"DRU", 'C', 1, 0},
    {"NIP", 'C', 14, 0}, {"IDD", 'C', 1, 0}, {"NRD", 'C', 20, 0}, {"TWP", 'C', 1, 0}, {"DEK", 'C', 8, 0}, {"SYP", 'C', 7, 0},
    {"IZO", 'C', 21, 0}, {"INF", 'C', 32, 0}, {"RE1", 'C', 30, 0}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PLEWTags[] = {
    {"DAP", nullptr, 0},
};

// "Z5ODUS.DBF", "Z5ZAPO.DBF"
const LayoutField kZ5ODUSFields[] = {
    {"DAT", 'D', 8, 0}, {"STO", 'N', 6, 3}, {"TYP", 'C', 1, 0}, {"INF", 'C', 32, 0},
};
const LayoutTag kZ5ODUSTags[] = {
    {"DTOS(DAT)", nullptr, 0},
};

// "Z5DNWO.DBF"
const LayoutField kZ5DNWOFields[] = {
    {"DAT", 'D', 8, 0}, {"INF", 'C', 32, 0},
};
const LayoutTag kZ5DNWOTags[] = {
    {"DTOS(DAT)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5KASA = MakeLayout(kZ5KASAFields, kZ5KASATags);
const TableLayout LAYOUT_Z5ROZL = MakeLayout(kZ5ROZLFields, kZ5ROZLTags);
const TableLayout LAYOUT_Z5PLEW = MakeLayout(kZ5PLEWFields, kZ5PLEWTags);
const TableLayout LAYOUT_Z5ODUS = MakeLayout(kZ5ODUSFields, kZ5ODUSTags);
const TableLayout LAYOUT_Z5DNWO = MakeLayout(kZ5DNWOFields, kZ5DNWOTags);
