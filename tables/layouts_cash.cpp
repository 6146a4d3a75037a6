// Layouts of the cash book, settlements, transfer orders, interest rates and days off.
#include "tables/layouts.h"

namespace {

// "Z5KASA.DBF"
const LayoutField kZ5KASAFields[] = {
    {"TYP", 'C', 1}, {"TKA", 'C', 1}, {"TYK", 'N', 1}, {"DAT", 'D', 8}, {"PRE", 'C', 4}, {"NUM", 'N', 5},
    {"POS", 'C', 9}, {"LPO", 'N', 4}, {"KOD", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6},
    {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"KRA", 'C', 30}, {"DOK", 'C', 30}, {"TYT", 'C', 70}, {"KWO", 'N', 11, 2},
    {"WAL", 'C', 3}, {"KUR", 'N', 10, 6}, {"ZAP", 'N', 11, 2}, {"KUZ", 'N', 10, 6}, {"TYZ", 'N', 2},
    {"REK", 'N', 6}, {"ROK", 'N', 4}, {"ODB", 'C', 24}, {"KAS", 'C', 24}, {"INF", 'C', 32}, {"KSI", 'N', 1},
    {"RKS", 'N', 6}, {"LKS", 'N', 5}, {"DKS", 'D', 8}, {"KKS", 'N', 11, 2}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
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
    {"ROL", 'C', 1}, {"TYP", 'C', 1}, {"DOK", 'C', 30}, {"DAW", 'D', 8}, {"DAP", 'D', 8}, {"TYT", 'C', 70},
    {"TYZ", 'N', 2}, {"ROK", 'N', 4}, {"REK", 'N', 6}, {"KOD", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70},
    {"KOP", 'C', 6}, {"MIA", 'C', 25}, {"ULI", 'C', 64}, {"KWO", 'N', 11, 2}, {"WAL", 'C', 3}, {"KUR", 'N', 10, 6},
    {"ZAP", 'N', 11, 2}, {"KUZ", 'N', 10, 6}, {"REC", 'N', 6}, {"INF", 'C', 32}, {"RE1", 'C', 30},
    {"RE2", 'N', 11, 2},
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
    {"DAP", 'D', 8}, {"TYP", 'N', 1}, {"SOZ", 'N', 2}, {"TYB", 'N', 1}, {"KOZ", 'C', 20}, {"NZ1", 'C', 54},
    {"NZ2", 'C', 54}, {"AZ1", 'C', 54}, {"AZ2", 'C', 54}, {"BAZ", 'C', 30}, {"KNZ", 'C', 54}, {"SOO", 'N', 2},
    {"KOO", 'C', 20}, {"NO1", 'C', 54}, {"NO2", 'C', 54}, {"AO1", 'C', 54}, {"AO2", 'C', 54}, {"BAO", 'C', 30},
    {"KNO", 'C', 54}, {"KWO", 'N', 11, 2}, {"TY1", 'C', 54}, {"TY2", 'C', 54}, {"ROW", 'C', 1}, {"DRU", 'C', 1},
    {"NIP", 'C', 14}, {"IDD", 'C', 1}, {"NRD", 'C', 20}, {"TWP", 'C', 1}, {"DEK", 'C', 8}, {"SYP", 'C', 7},
    {"IZO", 'C', 21}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5PLEWTags[] = {
    {"DAP", nullptr, 0},
};

// "Z5ODUS.DBF", "Z5ZAPO.DBF"
const LayoutField kZ5ODUSFields[] = {
    {"DAT", 'D', 8}, {"STO", 'N', 6, 3}, {"TYP", 'C', 1}, {"INF", 'C', 32},
};
const LayoutTag kZ5ODUSTags[] = {
    {"DTOS(DAT)", nullptr, 0},
};

// "Z5DNWO.DBF"
const LayoutField kZ5DNWOFields[] = {
    {"DAT", 'D', 8}, {"INF", 'C', 32},
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
