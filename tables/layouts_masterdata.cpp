// Layouts of the catalogues: goods, services, contractors, accounts, descriptions,
// countries, tax offices, exchange rates.
#include "tables/layouts.h"

namespace {

// "Z5TOWA  .DBF"
const LayoutField kZ5TOWAFields[] = {
    {"LPO", 'N', 4}, {"STA", 'C', 1}, {"KOD", 'C', 18}, {"DZI", 'N', 2}, {"NA1", 'C', 40}, {"NA2", 'C', 40},
    {"NA3", 'C', 40}, {"NA4", 'C', 40}, {"NA5", 'C', 40}, {"NA6", 'C', 40}, {"KWU", 'C', 14}, {"JED", 'C', 6},
    {"ILO", 'N', 13, 4}, {"CZN", 'N', 12, 4}, {"WZN", 'N', 11, 2}, {"VZT", 'N', 2}, {"VZS", 'N', 4, 1},
    {"CZB", 'N', 12, 4}, {"WZB", 'N', 11, 2}, {"CSN", 'N', 12, 4}, {"WSN", 'N', 11, 2}, {"VST", 'N', 2},
    {"VSS", 'N', 4, 1}, {"RYT", 'N', 2}, {"RTY", 'N', 2}, {"RYS", 'N', 4, 1}, {"CSB", 'N', 12, 4},
    {"WSB", 'N', 11, 2}, {"UWA", 'C', 70}, {"MRA", 'N', 6, 2}, {"TRC", 'C', 1}, {"NAS", 'C', 1}, {"TYZ", 'C', 1},
    {"TYK", 'C', 1}, {"TYP", 'C', 1}, {"KOZ", 'N', 5}, {"KOS", 'N', 5}, {"ZNA", 'C', 1}, {"CBN", 'N', 12, 4},
    {"WBN", 'N', 11, 2}, {"CBB", 'N', 12, 4}, {"WBB", 'N', 11, 2}, {"CCN", 'N', 12, 4}, {"WCN", 'N', 11, 2},
    {"CCB", 'N', 12, 4}, {"WCB", 'N', 11, 2}, {"MRB", 'N', 6, 2}, {"MRC", 'N', 6, 2}, {"ILM", 'N', 13, 4},
    {"TAN", 'C', 18}, {"BUT", 'C', 1}, {"EAN", 'C', 18}, {"CVA", 'C', 1}, {"AKC", 'C', 1}, {"AKK", 'C', 20},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5TOWATags[] = {
    {"KOD", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
    {"UPPER(NA1)", ".NOT.DELETED() .AND. ZNA='\x9D""'", 0},
    {"EAN", nullptr, 0},
};

// "Z5USLU.DBF"
const LayoutField kZ5USLUFields[] = {
    {"STA", 'C', 1}, {"KOD", 'C', 18}, {"NA1", 'C', 40}, {"NA2", 'C', 40}, {"NA3", 'C', 40}, {"NA4", 'C', 40},
    {"NA5", 'C', 40}, {"NA6", 'C', 40}, {"KWU", 'C', 14}, {"JED", 'C', 6}, {"ILO", 'N', 13, 4}, {"CSN", 'N', 12, 4},
    {"VTS", 'N', 2}, {"VSS", 'N', 4, 1}, {"RYT", 'N', 2}, {"RTY", 'N', 2}, {"RYS", 'N', 4, 1}, {"CSB", 'N', 12, 4},
    {"UWA", 'C', 70}, {"TRC", 'C', 1}, {"TYP", 'C', 1}, {"KOS", 'N', 5}, {"ZNA", 'C', 1}, {"CBN", 'N', 12, 4},
    {"CBB", 'N', 12, 4}, {"CCN", 'N', 12, 4}, {"CCB", 'N', 12, 4}, {"VTZ", 'N', 2}, {"VSZ", 'N', 4, 1},
    {"CZN", 'N', 12, 4}, {"CZB", 'N', 12, 4}, {"TYZ", 'C', 1}, {"TYK", 'C', 1}, {"KOZ", 'N', 5}, {"NAS", 'C', 1},
    {"CVA", 'C', 1}, {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 4},
};
const LayoutTag kZ5USLUTags[] = {
    {"KOD", nullptr, 0},
    {"UPPER(NA1)", nullptr, 0},
};

// "Z5KHNT.DBF"
const LayoutField kZ5KHNTFields[] = {
    {"KOD", 'C', 20}, {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"KOP", 'C', 6}, {"POC", 'C', 25}, {"MIA", 'C', 25},
    {"ULI", 'C', 64}, {"KRA", 'C', 30}, {"NIP", 'C', 20}, {"CZV", 'C', 1}, {"BAN", 'C', 30}, {"KON", 'C', 42},
    {"OSO", 'C', 25}, {"TEL", 'C', 20}, {"FAX", 'C', 20}, {"TLX", 'C', 20}, {"UWA", 'C', 70}, {"STA", 'C', 1},
    {"TYP", 'N', 1}, {"NET", 'N', 11, 2}, {"VAT", 'N', 11, 2}, {"BRU", 'N', 11, 2}, {"TKO", 'N', 1},
    {"UPU", 'N', 5, 2}, {"ILD", 'N', 3}, {"PLA", 'C', 25}, {"NAL", 'N', 11, 2}, {"DLU", 'N', 11, 2},
    {"OP1", 'C', 20}, {"OP2", 'C', 20}, {"TYC", 'C', 1}, {"ZNA", 'C', 1}, {"ZNB", 'C', 1}, {"ZNC", 'C', 1},
    {"ZND", 'C', 1}, {"NDT", 'C', 20}, {"DDT", 'D', 8}, {"OWT", 'C', 50}, {"WWW", 'C', 40}, {"EMA", 'C', 40},
    {"INF", 'C', 32}, {"RE1", 'C', 30}, {"RE2", 'N', 11, 2},
};
const LayoutTag kZ5KHNTTags[] = {
    {"UPPER(NA1)", nullptr, 0},
    {"UPPER(KOD)", nullptr, 0},
    {"UPPER(NIP)", nullptr, 0},
};

// "Z5KONT.DBF"
const LayoutField kZ5KONTFields[] = {
    {"NAZ", 'C', 34}, {"NUM", 'C', 8}, {"PRZ", 'N', 11, 2}, {"KOS", 'N', 11, 2}, {"WYD", 'N', 11, 2},
    {"POC", 'D', 8}, {"KON", 'D', 8}, {"REC", 'N', 5}, {"INF", 'C', 32},
};
const LayoutTag kZ5KONTTags[] = {
    {"NUM", nullptr, 0},
    {"STR(REC,5,0)", nullptr, 0},
    {"UPPER(NAZ)", nullptr, 0},
};

// "Z5OPIS.DBF"
const LayoutField kZ5OPISFields[] = {
    {"OP1", 'C', 20}, {"OP2", 'C', 20}, {"KOD", 'C', 5}, {"INF", 'C', 32},
};
const LayoutTag kZ5OPISTags[] = {
    {"UPPER(OP1+OP2)", nullptr, 0},
    {"UPPER(KOD)", nullptr, 0},
};

// "Z5KRAJ.DBF"
const LayoutField kZ5KRAJFields[] = {
    {"SUE", 'C', 1}, {"KKR", 'C', 3}, {"KRA", 'C', 30}, {"KOD", 'C', 3}, {"SYM", 'N', 4}, {"VPO", 'N', 4, 1},
    {"VO1", 'N', 4, 1}, {"VO2", 'N', 4, 1}, {"VSO", 'N', 4, 1}, {"INF", 'C', 32}, {"RE1", 'C', 20},
    {"RE2", 'N', 10, 2},
};
const LayoutTag kZ5KRAJTags[] = {
    {"UPPER(KKR)", nullptr, 0},
    {"UPPER(KRA)", nullptr, 0},
    {"UPPER(KOD)", nullptr, 0},
};

// "Z5USKA.DBF"
const LayoutField kZ5USKAFields[] = {
    {"SKN", 'C', 30}, {"NAZ", 'C', 54}, {"ULI", 'C', 32}, {"DOM", 'C', 5}, {"KDP", 'C', 6}, {"MIA", 'C', 25},
    {"BCP", 'C', 30}, {"KNC", 'C', 54}, {"KNV", 'C', 54}, {"KOD", 'N', 4}, {"UWA", 'C', 30}, {"XML", 'C', 4},
    {"INF", 'C', 32}, {"RE1", 'C', 30},
};
const LayoutTag kZ5USKATags[] = {
    {"KOD", nullptr, 0},
    {"XML", nullptr, 0},
    {"SKN", nullptr, 0},
    {"NAZ", nullptr, 0},
};

// "Z5KURS.DBF"
const LayoutField kZ5KURSFields[] = {
    {"DAT", 'D', 8}, {"KOD", 'C', 3}, {"KUR", 'N', 10, 6}, {"KUZ", 'N', 10, 6}, {"KUS", 'N', 10, 6},
    {"NBP", 'C', 15}, {"INF", 'C', 32}, {"RE1", 'C', 20}, {"RE2", 'N', 10, 2},
};
const LayoutTag kZ5KURSTags[] = {
    {"DTOS(DAT)+UPPER(KOD)", nullptr, 0},
    {"UPPER(KOD)+DTOS(DAT)", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5TOWA = MakeLayout(kZ5TOWAFields, kZ5TOWATags);
const TableLayout LAYOUT_Z5USLU = MakeLayout(kZ5USLUFields, kZ5USLUTags);
const TableLayout LAYOUT_Z5KHNT = MakeLayout(kZ5KHNTFields, kZ5KHNTTags);
const TableLayout LAYOUT_Z5KONT = MakeLayout(kZ5KONTFields, kZ5KONTTags);
const TableLayout LAYOUT_Z5OPIS = MakeLayout(kZ5OPISFields, kZ5OPISTags);
const TableLayout LAYOUT_Z5KRAJ = MakeLayout(kZ5KRAJFields, kZ5KRAJTags);
const TableLayout LAYOUT_Z5USKA = MakeLayout(kZ5USKAFields, kZ5USKATags);
const TableLayout LAYOUT_Z5KURS = MakeLayout(kZ5KURSFields, kZ5KURSTags);
