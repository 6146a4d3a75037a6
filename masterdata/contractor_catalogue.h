// Inside the contractors catalogue: the context of one run, the positions
// of the fields of "Z5KHNT", and what its files call of one another (the
// form with its field routines, the marks windows, the shared checks).
#pragma once
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"

enum KhntField {
  KHNT_KOD, KHNT_NA1, KHNT_NA2, KHNT_KOP, KHNT_POC, KHNT_MIA, KHNT_ULI, KHNT_KRA, KHNT_NIP, KHNT_CZV, KHNT_BAN,
  KHNT_KON, KHNT_OSO, KHNT_TEL, KHNT_FAX, KHNT_TLX, KHNT_UWA, KHNT_STA, KHNT_TYP, KHNT_NET, KHNT_VAT, KHNT_BRU,
  KHNT_TKO, KHNT_UPU, KHNT_ILD, KHNT_PLA, KHNT_NAL, KHNT_DLU, KHNT_OP1, KHNT_OP2, KHNT_TYC, KHNT_ZNA, KHNT_ZNB,
  KHNT_ZNC, KHNT_ZND, KHNT_NDT, KHNT_DDT, KHNT_OWT, KHNT_WWW, KHNT_EMA, KHNT_INF, KHNT_RE1, KHNT_RE2
};
enum KhntTag { KHNT_BY_NAME, KHNT_BY_CODE, KHNT_BY_NIP };

inline DbField* Khnt(int field) { return Z5KHNT.field[field]; }

// Key codes the catalogue reacts to.
constexpr int KEY_F3 = 0x3D00, KEY_F4 = 0x3E00, KEY_F5 = 0x3F00, KEY_F6 = 0x4000, KEY_F7 = 0x4100,
              KEY_F8 = 0x4200, KEY_ALT_F8 = 0x6F00;

constexpr int CHOICE_TEXT = 40;
constexpr int TYPE_FIELD_WIDTH = 12;   // the type's get stops before the VAT-payer label
constexpr int SUMMARY_TEXT = 3;

struct kontekst_kartoteki_kontrahentow {
  int32_t menu;
  int32_t searchMenu;
  FilterSet filters;
  FilterItem filterItems[10];
  char typeText[CHOICE_TEXT + 1];
  char costText[CHOICE_TEXT + 1];
  char procedures[SUMMARY_TEXT + 1];   // "TAK" when any procedure mark is 'T', else "NIE"
  char gtu[SUMMARY_TEXT + 1];
  ScrollColumn columns[9];
  TextCtrl panel[12];
  TextCtrl formTexts[30];
  EditCtrl formEdits[30];
  TabuColumn printColumns[14];
};

// The context of the run in progress (NULL outside one).
extern kontekst_kartoteki_kontrahentow* contractorCatalogue;

// The form's texts and fields, into the context's lists.
void DefineContractorForm(kontekst_kartoteki_kontrahentow* ctx);
// The shown texts of TYP and TKO, and the two mark summaries, from the record buffer.
void RefreshChoiceTexts(kontekst_kartoteki_kontrahentow* ctx);
void RefreshMarkSummaries(kontekst_kartoteki_kontrahentow* ctx);

// The working year's procedure marks (12 from 2022, 13 before) or the 13 GTU
// marks of RE1 in their window; the space bar toggles the current one.
void EditJpkMarks(bool gtu);

// The types of TYP, for menus and texts (the shown text drops "N.").
extern const char* const kContractorTypes[];

// The verification of a NIP with its boxes; the VAT-payer mark becomes 'T'
// or 'N' by the answer and stays when no register was reached. The result
// of sprawdz_nip_kontrahenta.
int VerifyContractorNip(const char* nip);
