// The contractor's form: its fields in edit order with their lists, checks
// and register keys, and the windows of the JPK procedure and GTU marks.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/option_sets.h"
#include "app/prompts.h"
#include "app/validators.h"
#include "db/db_scan.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/text_buffers.h"
#include "masterdata/catalogue_browse.h"
#include "masterdata/choice_menus.h"
#include "masterdata/contractor_catalogue.h"
#include "masterdata/countries.h"
#include "masterdata/description_field.h"
#include "masterdata/tax_number_checks.h"
#include "tables/catalogue.h"
#include "ui/desktop.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_CODE_EXISTS = 20153;

// "N. " before the text the PLA field receives.
const char* const kPaymentForms[] = {"                        ", "1. GOTÓWKA", "2. PRZELEW", "3. CZEK Nr",
                                     "4. WYDŁUŻONY TERMIN", "5. POBRANIE POCZTOWE", "6. ZAPŁACONO GOTÓWKĄ",
                                     "7. KARTA PŁATNICZA", "8. POLECENIE ZAPŁATY", nullptr};

constexpr int RE1_PROCEDURES = 0;   // RE1 positions 1 to 13
constexpr int RE1_GTU = 15;         // RE1 positions 16 to 28
constexpr int GTU_MARKS = 13;
constexpr int DISPLAY_ONLY_PROCEDURE = 3;   // the fourth mark
constexpr int SCREEN_LINE = 78;   // a line of a screen resource
constexpr int MARKS_ATTR = 0x1F, CURRENT_MARK_ATTR = 0x70;
constexpr int16_t RES_PROCEDURES_2022 = 192, RES_PROCEDURES = 177, RES_GTU_2022 = 191, RES_GTU = 176;

std::vector<std::string> Converted(const char* const* list) {
  std::vector<std::string> out;
  for (const char* const* p = list; *p; p++) out.push_back(Utf8ToMazText(*p));
  return out;
}

bool Online() { return mainOptions.onlineNipCheck == 'T'; }

std::string EditText(const char* buffer, int width) {
  std::string text(buffer, strnlen(buffer, static_cast<size_t>(std::max(width, 0))));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string FieldText(DbField* field) { return EditText(f4ptr(field), static_cast<int>(f4len(field))); }

void PutText(char* buffer, int width, const char* text) {
  std::memset(buffer, ' ', static_cast<size_t>(width));
  std::memcpy(buffer, text, std::min(std::strlen(text), static_cast<size_t>(width)));
}

// Adds the hints while the field has the cursor; a key that ends editing takes them away.
int KeyWithHints(bool hints, const char* key1, const char* text1, const char* key2, const char* text2) {
  if (hints) {
    set_fun_help(key1, text1, 5);
    if (key2) set_fun_help(key2, text2, 6);
  }
  int key = g4char();
  if (hints && WigetCtrlKey(key)) {
    remove_fun_help(key1);
    if (key2) remove_fun_help(key2);
  }
  return key;
}

// ---- field routines

int TypeList(Get4*, char* buffer, int32_t) {
  int chosen = get_menu_function(" WYBIERZ ", kContractorTypes, f4int(Khnt(KHNT_TYP)), -1, -1);
  if (chosen < 0) return KEY_ESC;
  f4assign_long(Khnt(KHNT_TYP), chosen);
  PutText(buffer, TYPE_FIELD_WIDTH, KodAsPopupMenuString(chosen, kContractorTypes));
  return KEY_ENTER;
}

int CostColumnList(Get4*, char* buffer, int32_t) {
  int key = KeyWithHints(true, "F4", "Lista", nullptr, nullptr);
  if (key != KEY_F4 && key != KEY_ENTER) return WigetCtrlKey(key) ? key : -1;
  int chosen = wybierz_kolumne_kosztow(f4int(Khnt(KHNT_TKO)), -1, -1);
  if (chosen < 0) return -1;
  f4assign_long(Khnt(KHNT_TKO), chosen);
  PutText(buffer, CHOICE_TEXT, KodAsPopupMenuString(chosen, EXPENSE_COLUMNS));
  return KEY_ENTER;
}

// A contractor need not have a typical description: only a typed one is looked up.
int DescriptionValid(Get4* get) {
  return EditText(static_cast<const char*>(get->data), get->dataWidth).empty() ? 0 : opis_wg_kodu(get);
}

int CodeValid(Get4* get) {
  std::string key = EditText(static_cast<const char*>(get->data), get->dataWidth);
  c4upper(key.data());
  return EmptyRefused(key.empty()) || DuplicateRefused(Z5KHNT.table, Z5KHNT.tag[KHNT_BY_CODE], key.c_str(),
                                                        MSG_CODE_EXISTS);
}

GusTargets Targets() {
  return GusTargets{Khnt(KHNT_NA1), Khnt(KHNT_NA2), Khnt(KHNT_KOP), Khnt(KHNT_MIA), Khnt(KHNT_ULI), Khnt(KHNT_POC),
                    Khnt(KHNT_KRA), Khnt(KHNT_TEL), Khnt(KHNT_FAX), Khnt(KHNT_WWW), Khnt(KHNT_EMA)};
}

// F8 in the form: a VAT payer moves on, anything else keeps the cursor.
int VerifyInForm(const std::string& nip) {
  int result = VerifyContractorNip(nip.c_str());
  OdswiezGety();
  return NipIsVatPayer(result) ? KEY_ENTER : -1;
}

// F6 and F8 of the NIP and name fields; `typedNip` when the cursor is in the NIP field.
int RegisterKeys(Get4* get, char* buffer, bool inNipField) {
  bool online = Online();
  int key = KeyWithHints(online, "F6", "GUS", "F8", "weryfikuj NIP");
  if (!online || (key != KEY_F6 && key != KEY_F8)) return key;
  std::string nip = inNipField ? EditText(buffer, get->dataWidth) : FieldText(Khnt(KHNT_NIP));
  if (key == KEY_F6) {
    char text[sizeof "PL " + 20];
    std::snprintf(text, sizeof text, "%s", nip.c_str());
    GusTargets targets = Targets();
    if (szukaj_nip_gus(text, get, inNipField ? nullptr : buffer, &targets) != 0) return -1;
  }
  return VerifyInForm(nip);
}

int NipKeys(Get4* get, char* buffer, int32_t) { return RegisterKeys(get, buffer, true); }
int NameKeys(Get4* get, char* buffer, int32_t) { return RegisterKeys(get, buffer, false); }

int PaymentList(Get4* get, char* buffer, int32_t) {
  int key = KeyWithHints(true, "F4", "Lista", nullptr, nullptr);
  if (key != KEY_F4) return key;
  static const std::vector<std::string> items = Converted(kPaymentForms);
  static std::vector<const char*> list;
  if (list.empty()) {
    for (const std::string& s : items) list.push_back(s.c_str());
    list.push_back(nullptr);
  }
  int chosen = get_menu_function(" WYBIERZ ", list.data(), 1, -1, -1);
  if (chosen < 0) return -1;
  PutText(buffer, get->dataWidth, list[chosen] + 3);
  return KEY_ENTER;
}

int PriceLevelKey(Get4*, char* buffer, int32_t) {
  static const std::string refuse = Utf8ToMazText("Wybierz 'A,B,C");
  for (;;) {
    int key = g4char();
    if (WigetCtrlKey(key)) return key;
    int upper = key >= 'a' && key <= 'c' ? key - 'a' + 'A' : key;
    if (upper >= 'A' && upper <= 'C') {
      buffer[0] = static_cast<char>(upper);
      return KEY_ENTER;
    }
    MessageWindow(MB_INFO | MB_NO_PROMPT, refuse.c_str());
  }
}

int PriceLevelValid(Get4* get) {
  char* text = static_cast<char*>(get->data);
  if (text[0] == ' ') text[0] = 'A';
  return 0;
}

// A summary is not typed: F4 opens its marks, other keys but those that end editing are ignored.
int MarksKey(char* buffer, bool gtu) {
  int key = KeyWithHints(true, "F4", "Opcje", nullptr, nullptr);
  if (key != KEY_F4) return WigetCtrlKey(key) ? key : -1;
  EditJpkMarks(gtu);
  RefreshMarkSummaries(contractorCatalogue);
  std::memcpy(buffer, gtu ? contractorCatalogue->gtu : contractorCatalogue->procedures, SUMMARY_TEXT);
  return -1;
}

int ProceduresKey(Get4*, char* buffer, int32_t) { return MarksKey(buffer, false); }
int GtuKey(Get4*, char* buffer, int32_t) { return MarksKey(buffer, true); }

// The summaries of the marks where the form is only shown.
void DrawProcedures(TextCtrl* entry) { w4(entry->row, entry->col, contractorCatalogue->procedures); }
void DrawGtu(TextCtrl* entry) { w4(entry->row, entry->col, contractorCatalogue->gtu); }

EditCtrl* Field(int row, int col, int field, uint32_t flags = 0) {
  return DefineEditCtrl(row, col, &Z5KHNT.field[field], EDIT_DATE | flags);
}

int ProcedureMarks() { return WorkingYear() >= 2022 ? 12 : 13; }

}  // namespace

void RefreshMarkSummaries(kontekst_kartoteki_kontrahentow* ctx) {
  const char* marks = f4ptr(Khnt(KHNT_RE1));
  auto any = [&](int first, int count) {
    for (int i = first; i < first + count; i++)
      if (marks[i] == 'T') return true;
    return false;
  };
  std::strcpy(ctx->procedures, any(RE1_PROCEDURES, ProcedureMarks()) ? "TAK" : "NIE");
  std::strcpy(ctx->gtu, any(RE1_GTU, GTU_MARKS) ? "TAK" : "NIE");
}

void DefineContractorForm(kontekst_kartoteki_kontrahentow* ctx) {
  ResetTextCtrlDefinition(ctx->formTexts, sizeof ctx->formTexts);
  DefineTextCtrl(0, 53, &Z5KHNT.field[KHNT_CZV], 0);
  const int fields[][3] = {
      {1, 8, KHNT_KOD},   {1, 53, KHNT_NIP},  {2, 8, KHNT_NA1},   {3, 8, KHNT_NA2},   {4, 12, KHNT_KOP},
      {4, 20, KHNT_MIA},  {5, 12, KHNT_ULI},  {6, 12, KHNT_KRA},  {7, 12, KHNT_OSO},  {6, 57, KHNT_TEL},
      {7, 57, KHNT_FAX},  {9, 12, KHNT_BAN},  {10, 12, KHNT_KON}, {11, 17, KHNT_PLA}, {11, 58, KHNT_ILD},
      {11, 70, KHNT_UPU}, {12, 23, KHNT_TYC}, {14, 23, KHNT_OP1}, {15, 23, KHNT_OP2}, {17, 24, KHNT_NDT},
      {17, 65, KHNT_DDT}, {18, 24, KHNT_OWT}, {20, 24, KHNT_WWW}, {21, 24, KHNT_EMA}, {22, 6, KHNT_UWA},
  };
  for (const auto& f : fields) DefineTextCtrl(f[0], f[1], &Z5KHNT.field[f[2]], 0);
  DefineTextCtrl(0, 7, &Z5KHNT.field[KHNT_TYP], 0)->codeTexts = kContractorTypes;
  DefineTextCtrl(13, 22, &Z5KHNT.field[KHNT_TKO], 0)->codeTexts = EXPENSE_COLUMNS;
  DefineTextCtrl(24, 11, &Z5KHNT.field[KHNT_RE1], 0)->drawRoutine = DrawProcedures;
  DefineTextCtrl(24, 66, &Z5KHNT.field[KHNT_RE1], DEF_LAST)->drawRoutine = DrawGtu;

  ResetEditCtrlDefinition(ctx->formEdits, sizeof ctx->formEdits);
  DefineEditCtrl(0, 7, ctx->typeText, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = TypeList;
  Field(0, 53, KHNT_CZV)->keyRoutine = wybierz_tak_nie;
  Field(1, 8, KHNT_KOD, EDIT_UPPER | EDIT_MUST)->validator = CodeValid;
  EditCtrl* nip = Field(1, 53, KHNT_NIP, EDIT_UPPER);
  nip->validator = NipOrPeselQuiet;
  nip->keyRoutine = NipKeys;
  Field(2, 8, KHNT_NA1)->keyRoutine = NameKeys;
  Field(3, 8, KHNT_NA2);
  Field(4, 12, KHNT_KOP)->picture = "99-999";
  Field(4, 20, KHNT_MIA);
  Field(5, 12, KHNT_ULI);
  EditCtrl* country = Field(6, 12, KHNT_KRA);
  country->keyRoutine = kraj_f4_lista;
  country->routineData = KRAJ_DAJ_NAZWE;
  Field(7, 12, KHNT_OSO);
  Field(6, 57, KHNT_TEL);
  Field(7, 57, KHNT_FAX);
  Field(9, 12, KHNT_BAN);
  Field(10, 12, KHNT_KON);
  Field(11, 17, KHNT_PLA)->keyRoutine = PaymentList;
  Field(11, 58, KHNT_ILD);
  Field(11, 70, KHNT_UPU);
  EditCtrl* level = Field(12, 23, KHNT_TYC);
  level->keyRoutine = PriceLevelKey;
  level->validator = PriceLevelValid;
  DefineEditCtrl(13, 22, ctx->costText, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = CostColumnList;
  EditCtrl* description = Field(14, 23, KHNT_OP1);
  description->keyRoutine = opis_f4_lista;
  description->validator = DescriptionValid;
  Field(15, 23, KHNT_OP2);
  Field(17, 24, KHNT_NDT);
  EditCtrl* date = Field(17, 65, KHNT_DDT);
  date->picture = "DD-MM/YY";
  date->validator = test_daty;
  Field(18, 24, KHNT_OWT);
  Field(20, 24, KHNT_WWW);
  Field(21, 24, KHNT_EMA);
  Field(22, 6, KHNT_UWA);
  DefineEditCtrl(24, 11, ctx->procedures, EDIT_TEXT | EDIT_DIRECT)->keyRoutine = ProceduresKey;
  DefineEditCtrl(24, 66, ctx->gtu, EDIT_TEXT | EDIT_DIRECT | DEF_LAST)->keyRoutine = GtuKey;
}

void EditJpkMarks(bool gtu) {
  bool from2022 = WorkingYear() >= 2022;
  int count = gtu ? GTU_MARKS : ProcedureMarks();
  int first = gtu ? RE1_GTU : RE1_PROCEDURES;
  int16_t resource = gtu ? (from2022 ? RES_GTU_2022 : RES_GTU) : (from2022 ? RES_PROCEDURES_2022 : RES_PROCEDURES);
  static const std::string gtuTitle = Utf8ToMazText("OZNACZENIA TOWARÓW I USŁUG (GTU)");
  int lines = count + 2;
  int previous = w4select(-1);
  int window = DefineDialogWindow(3, 2, lines, 76, gtu ? gtuTitle.c_str() : "PROCEDURY");
  if (window < 0) return;
  w4activate(window);
  w4select(window);
  static int16_t shown;
  shown = resource;
  std::string text(static_cast<size_t>(lines) * SCREEN_LINE, ' ');
  uint16_t size = 0;
  if (const unsigned char* data = EnvFindRcData(RC_ACTIVE_INSTANCE, []() -> int16_t { return shown; }, &size))
    std::memcpy(text.data(), data, std::min<size_t>(strnlen(reinterpret_cast<const char*>(data), size), text.size()));
  write_to_screen(text.c_str(), 0, SCREEN_LINE, 0, lines, MARKS_ATTR);
  char* marks = f4assign_ptr(Khnt(KHNT_RE1));
  int at = 0;
  for (;;) {
    for (int i = 0; i < count; i++) {
      char mark[2] = {marks[first + i] == 'T' ? 'T' : 'N', '\0'};
      w4num_att(i, 2, mark, 1, i == at ? CURRENT_MARK_ATTR : MARKS_ATTR);
    }
    int key = g4char();
    if (key == KEY_UP && at > 0) at--;
    else if (key == KEY_DOWN && at < count - 1) at++;
    else if (key == ' ' && (gtu || at != DISPLAY_ONLY_PROCEDURE))
      marks[first + at] = marks[first + at] == 'T' ? 'N' : 'T';
    else if (key == KEY_ESC || key == KEY_ENTER || key == KEY_F2)
      break;
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}
