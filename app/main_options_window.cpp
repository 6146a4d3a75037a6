#include "app/main_options_window.h"

#include <cstring>
#include <string>
#include <vector>

#include "app/operator_windows.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "app/working_date.h"
#include "env/code_pages.h"
#include "env/form_text.h"
#include "env/session/environment.h"
#include "tables/catalogue.h"
#include "ui/desktop.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int FORM_TEXT = 91;
constexpr int FIELD_COLUMN = 43;
constexpr int FIRST_WORKING_YEAR = 1900;
constexpr int MSG_BAD_YEAR = 20125;
constexpr int FORM_ELEMENTS = 24;
constexpr int DIR_WIDTH = 34;
constexpr int COLOUR_T = 1;
constexpr int COLOUR_N = 2;
constexpr int F2_SAVED = 0x3C00;

int16_t FormTextId() { return FORM_TEXT; }

// The values the form edits; they reach the options only when it is saved.
struct Edited {
  int workingYear;
  char separatePrintSettings;
  char archiveDir[DIR_WIDTH + 1];
  char sharedCatalogueDir[DIR_WIDTH + 1];
  char contractorsDir[DIR_WIDTH + 1];
  char printSettingsDir[DIR_WIDTH + 1];
  char sharedContractors;
  char confirmSave;
  int colour;
  int font;
  int lockMinutes;
  char passwordAfterBlanking;
  char nipCheck, onlineNipCheck, peselCheck;
  char useSystemDate;
  char printToMainDir;
  char jpkFileNames, bookNumberCheck, noStretchBlt;
  Wiget* list;
};

void CopyDir(char* to, const char* from) {
  std::memset(to, ' ', DIR_WIDTH);
  std::memcpy(to, from, strnlen(from, DIR_WIDTH));
  to[DIR_WIDTH] = '\0';
}

// The form text's rows: 8 and 15 blanked, 7, 21 and 22 relabelled, 23 added.
std::vector<std::string> FormText() {
  std::vector<std::string> rows = ResourceLines(FormTextId);
  rows.resize(24);
  rows[7] = Utf8ToMazText("- ustawień tabulogramów i wydruków.......");
  rows[8].clear();
  rows[15].clear();
  rows[21] = Utf8ToMazText("Formatować nazwy plików JPK? .............");
  rows[22] = Utf8ToMazText("Czy sprawdzać numery dokumentów w księdze?");
  rows[23] = Utf8ToMazText("Czy wyłączyć funkcję StretchBlt?..........");
  return rows;
}

int YearTest(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST) return 0;
  if (event->newLong >= FIRST_WORKING_YEAR && event->newLong <= LastWorkingYear()) return 0;
  Alarm(MSG_BAD_YEAR);
  event->message = TextRef();
  return 1;
}

// Firms with their own print settings have no common directory for them.
void EnablePrintSettingsDir(Edited* e) {
  StateOfWigetsBySrc_(WS_DISABLED, e->separatePrintSettings == 'T', e->list, WigetVar(e->printSettingsDir));
}

int PrintSettingsSwitched(WigetEvent* event, Wiget*, void* formData) {
  // The form stores a typed switch as it is left, with its events held back.
  if (event->code == WE_LEAVE) EnablePrintSettingsDir(static_cast<Edited*>(formData));
  return 0;
}

void Apply(const Edited& e, Environment* env) {
  mainOptions.workingYear = e.workingYear;
  env->separatePrintSettings = e.separatePrintSettings;
  CopyDir(mainOptions.archiveDir, e.archiveDir);
  CopyDir(env->sharedCatalogueDir, e.sharedCatalogueDir);
  CopyDir(optionContractorsDir, e.contractorsDir);
  CopyDir(env->printSettingsDir, e.printSettingsDir);
  optionSharedContractors = e.sharedContractors;
  env->confirmSave = e.confirmSave;
  env->colourVariant = e.colour == COLOUR_N ? 'N' : 'T';
  mainOptions.screenFont = e.font;
  mainOptions.lockMinutes = e.lockMinutes;
  env->passwordAfterBlanking = e.passwordAfterBlanking;
  optionNipCheck = e.nipCheck;
  mainOptions.onlineNipCheck = e.onlineNipCheck;
  optionPeselCheck = e.peselCheck;
  env->useSystemDate = e.useSystemDate;
  env->printToMainDir = e.printToMainDir;
  mainOptions.jpkFileNames = e.jpkFileNames;
  mainOptions.bookNumberCheck = e.bookNumberCheck;
  env->noStretchBlt = e.noStretchBlt;
}

}  // namespace

void MainOptionsWindow() {
  Environment* env = EnvCurrent();
  char systemDateOnEntry = env->useSystemDate;
  Edited e{};
  e.workingYear = mainOptions.workingYear;
  e.separatePrintSettings = env->separatePrintSettings;
  CopyDir(e.archiveDir, mainOptions.archiveDir);
  CopyDir(e.sharedCatalogueDir, env->sharedCatalogueDir);
  CopyDir(e.contractorsDir, optionContractorsDir);
  CopyDir(e.printSettingsDir, env->printSettingsDir);
  e.sharedContractors = optionSharedContractors;
  e.confirmSave = env->confirmSave;
  e.colour = env->colourVariant == 'T' ? COLOUR_T : COLOUR_N;
  e.font = mainOptions.screenFont;
  e.lockMinutes = mainOptions.lockMinutes;
  e.passwordAfterBlanking = env->passwordAfterBlanking;
  e.nipCheck = optionNipCheck;
  e.onlineNipCheck = mainOptions.onlineNipCheck;
  e.peselCheck = optionPeselCheck;
  e.useSystemDate = env->useSystemDate;
  e.printToMainDir = env->printToMainDir;
  e.jpkFileNames = mainOptions.jpkFileNames;
  e.bookNumberCheck = mainOptions.bookNumberCheck;
  e.noStretchBlt = env->noStretchBlt;

  Selection colours[3]{};
  ResetSelectionDefinition(colours, sizeof colours, 12, 3);
  DefineSelection(COLOUR_T, "kolorowy", nullptr, 0);
  DefineSelection(COLOUR_N, "szary", nullptr, 0);
  Selection fonts[7]{};
  ResetSelectionDefinition(fonts, sizeof fonts, 12, 3);
  int font = 0;
  for (const char* name : {"8 x 16", "8 x 16 (1)", "8 x 16 (2)", "8 x 13", "10 x 20", "12 x 24"})
    DefineSelection(font++, name, nullptr, 0);

  Wiget list[FORM_ELEMENTS]{};
  ResetWigetsDefinition(list, sizeof list / sizeof list[0] * WIGET_BYTES, 0);
  auto Int = [](int row, int* value, int width) {
    return DefineWigetEx(row, FIELD_COLUMN, WigetVar(value), 0, W_INT | WidthFlag(width));
  };
  auto YesNo = [](int row, char* value) { return DefineWigetEx(row, FIELD_COLUMN, WigetVar(value), 0, W_YESNO); };
  auto Dir = [](int row, char* value) {
    return DefineWigetEx(row, FIELD_COLUMN, WigetVar(value), DIR_WIDTH, W_TEXT);
  };
  Int(1, &e.workingYear, 4)->hook = YearTest;
  YesNo(2, &e.separatePrintSettings)->hook = PrintSettingsSwitched;
  Dir(4, e.archiveDir);
  Dir(5, e.sharedCatalogueDir);
  Dir(6, e.contractorsDir);
  Dir(7, e.printSettingsDir);
  YesNo(9, &e.sharedContractors);
  YesNo(10, &e.confirmSave);
  DefineWigetEx(11, FIELD_COLUMN, WigetVar(&e.colour), colours, W_CODE);
  DefineWigetEx(12, FIELD_COLUMN, WigetVar(&e.font), fonts, W_CODE);
  Int(13, &e.lockMinutes, 3);
  YesNo(14, &e.passwordAfterBlanking);
  YesNo(16, &e.nipCheck);
  YesNo(17, &e.onlineNipCheck);
  YesNo(18, &e.peselCheck);
  YesNo(19, &e.useSystemDate);
  YesNo(20, &e.printToMainDir);
  YesNo(21, &e.jpkFileNames);
  YesNo(22, &e.bookNumberCheck);
  YesNo(23, &e.noStretchBlt);
  e.list = list;
  EnablePrintSettingsDir(&e);

  int window = DefineOpcjeGlobalneWindow(2, 0, 26, 80, Utf8ToMazText("OPCJE GŁÓWNE").c_str(), list, &e);
  if (window >= 0) {
    w4activate(window);
    int row = 0;
    for (const std::string& text : FormText()) {
      if (!text.empty()) w4num(row, 0, text.c_str(), static_cast<int>(text.size()));
      row++;
    }
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    // The colour and font lists stand one above the other: Esc in the font
    // list must not open the colour list.
    int result = ActivateWindow(window, nullptr, nullptr, AW_PICK_ESC_STAYS);
    remove_help_line();
    if (result == F2_SAVED) {
      Apply(e, env);
      ScreenSwitchFont(mainOptions.screenFont);
      StartLockTimer(mainOptions.lockMinutes);
      SaveMainOptions();
      LoadMainOptions();
    }
    w4deactivate(window);
    w4close(window);
  }
  FreeWigets(list);
  FreeSelections(fonts);
  FreeSelections(colours);
  if (systemDateOnEntry == 'T' && env->useSystemDate == 'N') AskWorkingDateUpTo(LastWorkingYear());
}
