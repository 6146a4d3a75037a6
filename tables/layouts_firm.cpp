// Layouts of firms, firm access, operators, the own firm's data and the option tables.
#include "tables/layouts.h"

namespace {

// "Z5KATA.DBF"
const LayoutField kZ5KATAFields[] = {
    {"STA", 'C', 1}, {"NAZ", 'C', 20}, {"KAT", 'C', 40}, {"UWA", 'C', 40},
};
const LayoutTag kZ5KATATags[] = {
    {"UPPER(NAZ)", nullptr, 0},
};

// "Z5KAPA.DBF"
const LayoutField kZ5KAPAFields[] = {
    {"JK", 'N', 5}, {"WM", 'N', 5},
};
const LayoutTag kZ5KAPATags[] = {
    {"WM", nullptr, 0},
};

// "Z5PASS.DBF"
const LayoutField kZ5PASSFields[] = {
    {"A", 'C', 15}, {"B", 'C', 2100},
};
const LayoutTag kZ5PASSTags[] = {
    {"RECNO()", nullptr, 0},
};

// "Z5PAWL.DBF"
const LayoutField kZ5PAWLFields[] = {
    {"NA1", 'C', 70}, {"NA2", 'C', 70}, {"SKN", 'C', 54}, {"NIP", 'C', 13}, {"REG", 'C', 20}, {"DAT", 'D', 8},
    {"DZI", 'C', 50}, {"WOJ", 'C', 20}, {"GMI", 'C', 25}, {"POW", 'C', 25}, {"ULI", 'C', 20}, {"NRD", 'C', 9},
    {"NRM", 'C', 9}, {"KOD", 'C', 6}, {"MIA", 'C', 25}, {"POC", 'C', 20}, {"SKR", 'C', 6}, {"TLX", 'C', 20},
    {"TEL", 'C', 20}, {"FAX", 'C', 20}, {"FIZF", 'C', 1}, {"NAZF", 'C', 30}, {"IM1F", 'C', 15}, {"IM2F", 'C', 15},
    {"IMOF", 'C', 15}, {"IMMF", 'C', 15}, {"NRPF", 'C', 11}, {"NIPF", 'C', 13}, {"DATF", 'D', 8}, {"WOJF", 'C', 20},
    {"GMIF", 'C', 25}, {"POWF", 'C', 25}, {"ULIF", 'C', 20}, {"NRDF", 'C', 9}, {"NRMF", 'C', 9}, {"KODF", 'C', 6},
    {"MIAF", 'C', 25}, {"POCF", 'C', 20}, {"SKRF", 'C', 6}, {"TLXF", 'C', 20}, {"TELF", 'C', 20}, {"FAXF", 'C', 20},
    {"IDOF", 'C', 1}, {"NUDF", 'C', 11}, {"ORE", 'C', 40}, {"NRE", 'C', 40}, {"DRE", 'D', 8}, {"NWR", 'C', 12},
    {"PRD", 'C', 40}, {"PKG", 'C', 14}, {"PEK", 'C', 14}, {"DRD", 'C', 40}, {"DKG", 'C', 14}, {"DEK", 'C', 14},
    {"UNAV", 'C', 54}, {"UULV", 'C', 20}, {"UDOV", 'C', 5}, {"UKOV", 'C', 6}, {"UMIV", 'C', 25}, {"UBAV", 'C', 30},
    {"UNRV", 'C', 42}, {"UNA4", 'C', 54}, {"UUL4", 'C', 20}, {"UDO4", 'C', 5}, {"UKO4", 'C', 6}, {"UMI4", 'C', 25},
    {"UBA4", 'C', 30}, {"UNR4", 'C', 42}, {"NAZP", 'C', 30}, {"IMIP", 'C', 15}, {"BAN1", 'C', 30},
    {"NRR1", 'C', 42}, {"BAN2", 'C', 30}, {"NRR2", 'C', 42}, {"BAN3", 'C', 30}, {"NRR3", 'C', 42},
    {"BAN4", 'C', 30}, {"NRR4", 'C', 42}, {"BAN5", 'C', 30}, {"NRR5", 'C', 42}, {"PLS", 'C', 1}, {"TDE", 'C', 1},
    {"SPC", 'C', 1}, {"ZNA", 'C', 30}, {"ZUL", 'C', 20}, {"ZDO", 'C', 5}, {"ZKO", 'C', 6}, {"ZMI", 'C', 25},
    {"ZBA", 'C', 30}, {"ZN1", 'C', 42}, {"ZN2", 'C', 42}, {"ZN3", 'C', 42}, {"ZN4", 'C', 42}, {"KTZ", 'N', 6},
    {"NUS", 'C', 10}, {"WWW", 'C', 40}, {"EMA", 'C', 40}, {"GUS", 'C', 7}, {"KRA", 'C', 30}, {"KRAF", 'C', 30},
    {"CNS", 'C', 1}, {"WOJO", 'C', 20}, {"GMIO", 'C', 25}, {"POWO", 'C', 25}, {"ULIO", 'C', 20}, {"NRDO", 'C', 9},
    {"NRMO", 'C', 9}, {"KODO", 'C', 6}, {"MIAO", 'C', 25}, {"POCO", 'C', 20}, {"KRAO", 'C', 30}, {"TELO", 'C', 20},
    {"FAXO", 'C', 20}, {"RE1", 'C', 40}, {"RE2", 'C', 40}, {"RE3", 'C', 40}, {"RE4", 'C', 40},
};

// "Z5PAOS.DBF"
const LayoutField kZ5PAOSFields[] = {
    {"NAZ", 'C', 30}, {"REK", 'N', 5},
};

// every option table "Z5PA.." of the parameter store
const LayoutField kPARAMFields[] = {
    {"K1", 'N', 3}, {"K2", 'N', 3}, {"K3", 'N', 3}, {"TY", 'C', 1}, {"DO", 'N', 11, 2}, {"LO", 'N', 10},
    {"IN", 'N', 5}, {"CH", 'C', 80}, {"R1", 'C', 20}, {"R2", 'N', 5}, {"R3", 'C', 20}, {"R4", 'N', 11, 2},
};
const LayoutTag kPARAMTags[] = {
    {"STR(K1,3)+STR(K2,3)+STR(K3,3)+TY", nullptr, 0},
};

}  // namespace

const TableLayout LAYOUT_Z5KATA = MakeLayout(kZ5KATAFields, kZ5KATATags);
const TableLayout LAYOUT_Z5KAPA = MakeLayout(kZ5KAPAFields, kZ5KAPATags);
const TableLayout LAYOUT_Z5PASS = MakeLayout(kZ5PASSFields, kZ5PASSTags);
const TableLayout LAYOUT_Z5PAWL = MakeLayout(kZ5PAWLFields);
const TableLayout LAYOUT_Z5PAOS = MakeLayout(kZ5PAOSFields);
const TableLayout LAYOUT_PARAM = MakeLayout(kPARAMFields, kPARAMTags);
