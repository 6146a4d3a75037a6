// Layouts of firms, firm access, operators, the own firm's data and the option tables.
#include "tables/layouts.h"

namespace {

// "Z5KATA.DBF"
const LayoutField kZ5KATAFields[] = {
    {"STA", 'C', 1, 0}, {"NAZ", 'C', 20, 0}, {"KAT", 'C', 40, 0}, {"UWA", 'C', 40, 0},
};
const LayoutTag kZ5KATATags[] = {
    {"UPPER(NAZ)", nullptr, 0},
};

// "Z5KAPA.DBF"
const LayoutField kZ5KAPAFields[] = {
    {"JK", 'N', 5, 0}, {"WM", 'N', 5, 0},
};
const LayoutTag kZ5KAPATags[] = {
    {"WM", nullptr, 0},
};

// "Z5PASS.DBF"
const LayoutField kZ5PASSFields[] = {
    {"A", 'C', 15, 0}, {"B", 'C', 2100, 0},
};
const LayoutTag kZ5PASSTags[] = {
    {"RECNO()", nullptr, 0},
};

// "Z5PAWL.DBF"
const LayoutField kZ5PAWLFields[] = {
    {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"SKN", 'C', 54, 0}, {"NIP", 'C', 13, 0}, {"REG", 'C', 20, 0}, {"DAT", 'D', 8, 0},
    {"DZI", 'C', 50, 0}, {"WOJ", 'C', 20, 0}, {"GMI", 'C', 25, 0}, {"POW", 'C', 25, 0}, {"ULI", 'C', 20, 0}, {"NRD", 'C', 9, 0},
    {"NRM", 'C', 9, 0}, {"KOD", 'C', 6, 0}, {"MIA", 'C', 25, 0}, {"POC", 'C', 20, 0}, {"SKR", 'C', 6, 0}, {"TLX", 'C', 20, 0},
    {"TEL", 'C', 20, 0}, {"FAX", 'C', 20, 0}, {"FIZF", 'C', 1, 0}, {"NAZF", 'C', 30, 0}, {"IM1F", 'C', 15, 0}, {"IM2F", 'C', 15, 0},
    {"IMOF", 'C', 15, 0}, {"IMMF", 'C', 15, 0}, {"NRPF", 'C', 11, 0}, {"NIPF", 'C', 13, 0}, {"DATF", 'D', 8, 0}, {"WOJF", 'C', 20, 0},
    {"GMIF", 'C', 25, 0}, {"POWF", 'C', 25, 0}, {"ULIF", 'C', 20, 0}, {"NRDF", 'C', 9, 0}, {"NRMF", 'C', 9, 0}, {"KODF", 'C', 6, 0},
    {"MIAF", 'C', 25, 0}, {"POCF", 'C', 20, 0}, {"SKRF", 'C', 6, 0}, {"TLXF", 'C', 20, 0}, {"TELF", 'C', 20, 0}, {"FAXF", 'C', 20, 0},
    {"IDOF", 'C', 1, 0}, {"NUDF", 'C', 11, 0}, {"ORE", 'C', 40, 0}, {"NRE", 'C', 40, 0}, {"DRE", 'D', 8, 0}, {"NWR", 'C', 12, 0},
    {"PRD", 'C', 40, 0}, {"PKG", 'C', 14, 0}, {"PEK", 'C', 14, 0}, {"DRD", 'C', 40, 0}, {"DKG", 'C', 14, 0}, {"DEK", 'C', 14, 0},
    {"UNAV", 'C', 54, 0}, {"UULV", 'C', 20, 0}, {"UDOV", 'C', 5, 0}, {"UKOV", 'C', 6, 0}, {"UMIV", 'C', 25, 0}, {"UBAV", 'C', 30, 0},
    {"UNRV", 'C', 42, 0}, {"UNA4", 'C', 54, 0}, {"UUL4", 'C', 20, 0}, {"UDO4", 'C', 5, 0}, {"UKO4", 'C', 6, 0}, {"UMI4", 'C', 25, 0},
    {"UBA4", 'C', 30, 0}, {"UNR4", 'C', 42, 0}, {"NAZP", 'C', 30, 0}, {"IMIP", 'C', 15, 0}, {"BAN1", 'C', 30, 0}, {"NRR1", 'C', 42, 0},
    {"BAN2", 'C', 30, 0}, {"NRR2", 'C', 42, 0}, {"BAN3", 'C', 30, 0}, {"NRR3", 'C', 42, 0}, {"BAN4", 'C', 30, 0}, {"NRR4", 'C', 42, 0},
    {"BAN5", 'C', 30, 0}, {"NRR5", 'C', 42, 0}, {"PLS", 'C', 1, 0}, {"TDE", 'C', 1, 0}, {"SPC", 'C', 1, 0}, {"ZNA", 'C', 30, 0},
    {"ZUL", 'C', 20, 0}, {"ZDO", 'C', 5, 0}, {"ZKO", 'C', 6, 0}, {"ZMI", 'C', 25, 0}, {"ZBA", 'C', 30, 0}, {"ZN1", 'C', 42, 0},
    {"ZN2", 'C', 42, 0}, {"ZN3", 'C', 42, 0}, {"ZN4", 'C', 42, 0}, {"KTZ", 'N', 6, 0}, {"NUS", 'C', 10, 0}, {"WWW", 'C', 40, 0},
    {"EMA", 'C', 40, 0}, {"GUS", 'C', 7, 0}, {"KRA", 'C', 30, 0}, {"KRAF", 'C', 30, 0}, {"CNS", 'C', 1, 0}, {"WOJO", 'C', 20, 0},
    {"GMIO", 'C', 25, 0}, {"POWO", 'C', 25, 0}, {"ULIO", 'C', 20, 0}, {"NRDO", 'C', 9, 0}, {"NRMO", 'C', 9, 0}, {"KODO", 'C', 6, 0},
    {"MIAO", 'C', 25, 0}, {"POCO", 'C', 20, 0}, {"KRAO", 'C', 30, 0}, {"TELO", 'C', 20, 0}, {"FAXO", 'C', 20, 0}, {"RE1", 'C', 40, 0},
    {"RE2", 'C', 40, 0}, {"RE3", 'C', 40, 0}, {"RE4", 'C', 40, 0},
};

// "Z5PAOS.DBF"
const LayoutField kZ5PAOSFields[] = {
    {"NAZ", 'C', 30, 0}, {"REK", 'N', 5, 0},
};

// every option table "Z5PA.." of the parameter store
const LayoutField kPARAMFields[] = {
    {"K1", 'N', 3, 0}, {"K2", 'N', 3, 0}, {"K3", 'N', 3, 0}, {"TY", 'C', 1, 0}, {"DO", 'N', 11, 2}, {"LO", 'N', 10, 0},
    {"IN", 'N', 5, 0}, {"CH", 'C', 80, 0}, {"R1", 'C', 20, 0}, {"R2", 'N', 5, 0}, {"R3", 'C', 20, 0}, {"R4", 'N', 11, 2},
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
