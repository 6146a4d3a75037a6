#include "print/settings_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include "env/session/environment.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "interchange/printer_hash.h"
#include "print/printer.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int kLogTitle = 27;
constexpr int kLogOpenRaw = 40;
constexpr int kMsgLineWidth = 50012;
constexpr int kRebuild = -100;
constexpr int kPrint = -21;
constexpr int kCancel = -22;
constexpr int kIdF2 = 21;
constexpr int kIdEsc = 22;
constexpr int kValueCol = 19;

// Row ids.
enum {
  ID_FAMILY = 0, ID_PAPER = 1, ID_ORIENTATION = 2, ID_CODE_PAGE = 3, ID_FONT = 4, ID_TYPEFACE = 6,
  ID_ADVANCED = 7, ID_PRINTER = 8, ID_COPIES = 10, ID_ITEMS = 11, ID_UNDERLINE = 12, ID_LEFT_CHARS = 13,
  ID_LEFT_MM = 14, ID_TOP_LINES = 15, ID_TOP_MM = 16, ID_OUTPUT = 17, ID_METHOD = 18, ID_BOLD = 19,
  ID_MODE = 20, ID_LANGUAGE = 24, ID_AMOUNTS = 25, ID_FROM = 26, ID_TO = 27, ID_HEADERS = 28,
  ID_SUMMARIES = 29, ID_FORM_TYPE = 30, ID_SPACER = -1,
};

const char* const kFamilies[] = {"- EPSON  9 igłowy", "- EPSON 24 igłowy", "- ESC/P2         ",
                                 "- IBM  9 igłowy  ", "- IBM 24 igłowy  ", "- IBM ProPrinter ",
                                 "- HP Laser       ", "- HP DeskJet     ", "- ESC/P Raster   "};
// Paper by menu position.
const int kPaperOrder[] = {0, 2, 3, 1};
const char* const kPaperTexts[] = {"- A4 (210 x 297 mm)", "- A3 (297 x 420 mm)", "- Składanka 10 cali",
                                   "- Składanka 15 cali"};
const int kFontOrder[] = {9, 10, 11, 2};
const char* const kFontTexts[] = {"- Helvet  12x32 ", "- Helvet  14x40 ", "- Courier 24x46 ", "- Legal   18x52 "};
const char* const kCodePages[] = {"- Brak       ", "- Mazovia    ", "- Latin 2    ", "- ISO Latin 2"};
const char* const kOrientations[] = {"- Portret", "- Pejzaż "};
const char* const kOutputs[] = {"- Drukarka", "- Dysk    "};
const char* const kMethods[] = {"- Ciągły          ", "- Z potwierdzeniem"};
const char* const kNoYes[] = {"- Nie", "- Tak"};
const char* const kLanguages[] = {"- Polska   ", "- Angielska"};
const char* const kAmounts[] = {"- Złote         ", "- Waluta        ", "- Waluta + Złote"};
const char kAmountCodes[] = {'P', 'W', 'O'};
const char* const kFormTypes[] = {"- Standardowy", "- Bez VAT    "};
const char* const kHeaders[] = {"- Tylko na pierwszej stronie", "- Na wszystkich stronach    "};
const char* const kSummaries[] = {"- Tylko na ostatniej stronie", "- Na wszystkich stronach    "};

struct DialogState {
  DbTable* table;
  const char* title;
  int lineWidth;
  int flags;
  bool restricted;
  int printer;                       // index into printers
  int lastChosen = kIdF2;
  std::vector<std::string> printers;
  std::vector<std::string> printerTexts;
  std::deque<std::string> labels;    // the menu keeps pointers to its texts
  int dialog = -1, menu = -1;
  int valueRow[32];                  // window row of each id's value, -1 hidden
};

DialogState* state;

// Texts are kept in UTF-8 in the source; the screen wants the system's set.
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }

template <size_t N>
std::vector<std::string> SysList(const char* const (&texts)[N]) {
  std::vector<std::string> list;
  for (const char* t : texts) list.push_back(Sys(t));
  return list;
}

int FontPosition() {
  for (int i = 0; i < 4; i++)
    if (kFontOrder[i] == Printer.fontNo) return i;
  return 0;
}

int PaperPosition() {
  for (int i = 0; i < 4; i++)
    if (kPaperOrder[i] == Printer.paper) return i;
  return 0;
}

int AmountsPosition() {
  for (int i = 0; i < 3; i++)
    if (kAmountCodes[i] == Printer.amounts) return i;
  return 0;
}

std::string Pick(const std::vector<std::string>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<size_t>(index)] : "";
}

std::string Number(long value) { return "- " + std::to_string(value); }

std::string Millimetres(int tenths) {
  char text[32];
  std::snprintf(text, sizeof text, "- %.1f mm", tenths / 10.0);
  return text;
}

std::string ValueText(int id) {
  switch (id) {
    case ID_PRINTER: return state->printers.empty() ? "" : Utf8ToMazText(state->printers[static_cast<size_t>(state->printer)].c_str());
    case ID_OUTPUT: return Pick(SysList(kOutputs), Printer.output);
    case ID_FAMILY: return Pick(SysList(kFamilies), Printer.family);
    case ID_MODE: return Printer.mode >= 0 && Printer.mode < CountPrintModes() ? PrintModes[Printer.mode].text : "";
    case ID_PAPER: return Pick(SysList(kPaperTexts), PaperPosition());
    case ID_ORIENTATION: return Pick(SysList(kOrientations), Printer.orientation - 1);
    case ID_FONT: return Pick(SysList(kFontTexts), FontPosition());
    case ID_TYPEFACE: return Number(Printer.pclTypeface);
    case ID_CODE_PAGE: return Pick(SysList(kCodePages), Printer.codePage);
    case ID_BOLD: return Pick(SysList(kNoYes), Printer.bold);
    case ID_ITEMS: return Number(Printer.itemCount);
    case ID_HEADERS: return Pick(SysList(kHeaders), Printer.headers);
    case ID_SUMMARIES: return Pick(SysList(kSummaries), Printer.summaries);
    case ID_UNDERLINE: return Number(Printer.underlineStep);
    case ID_FORM_TYPE: return Pick(SysList(kFormTypes), Printer.formType);
    case ID_LANGUAGE: return Pick(SysList(kLanguages), Printer.language);
    case ID_AMOUNTS: return Pick(SysList(kAmounts), AmountsPosition());
    case ID_METHOD: return Pick(SysList(kMethods), Printer.printMethod);
    case ID_COPIES: return Number(Printer.copies);
    case ID_FROM: return Number(Printer.fromPage);
    case ID_TO: return Number(Printer.toPage);
    case ID_LEFT_CHARS: return Number(Printer.leftMargin) + Sys(" znaków");
    case ID_LEFT_MM: return Millimetres(Printer.leftMarginMm);
    case ID_TOP_LINES: return Number(Printer.topMargin) + Sys(" wierszy");
    case ID_TOP_MM: return Millimetres(Printer.topMarginMm);
    default: return "";
  }
}

struct Row {
  int id;
  const char* label;
};

// The rows shown for the current settings and flags, in order.
std::vector<Row> ShownRows() {
  const int flags = state->flags;
  const bool character = IsCharacterMode();
  std::vector<Row> rows;
  rows.push_back({ID_PRINTER, " Drukarka       "});
  rows.push_back({ID_ADVANCED, " Zaawansowane   "});
  rows.push_back({ID_OUTPUT, " Wyjście        "});
  if (character) rows.push_back({ID_FAMILY, " Zgodność z     "});
  rows.push_back({ID_SPACER, nullptr});
  rows.push_back({ID_MODE, " Wariant wydruku"});
  rows.push_back({ID_PAPER, " Arkusz         "});
  if (!character && !state->restricted && !(flags & (PRN_SOFT_FONTS | PRN_NO_ORIENTATION)))
    rows.push_back({ID_ORIENTATION, " Orientacja     "});
  if (!character && !(flags & (PRN_FONT_LEGAL | PRN_FONT_COURIER | PRN_FONT_LPORT)))
    rows.push_back({ID_FONT, " Czcionka       "});
  if (character && Printer.family == PRN_HP_DESKJET) rows.push_back({ID_TYPEFACE, " Nr fontu       "});
  if (character && (state->restricted || Printer.family != PRN_HP_LASER))
    rows.push_back({ID_CODE_PAGE, " Polskie znaki  "});
  rows.push_back({ID_BOLD, " Wytłuszczony   "});
  if (flags & PRN_ROW_ITEMS) rows.push_back({ID_ITEMS, " Liczba pozycji "});
  if ((flags & PRN_ROW_HEADERS) && character) rows.push_back({ID_HEADERS, " Nagłówki       "});
  if ((flags & PRN_ROW_SUMMARIES) && character) rows.push_back({ID_SUMMARIES, " Podsumowania   "});
  if (flags & PRN_ROW_UNDERLINE) rows.push_back({ID_UNDERLINE, " Podkreśl co    "});
  if (flags & PRN_ROW_FORM_TYPE) rows.push_back({ID_FORM_TYPE, " Typ formularza "});
  if (flags & PRN_ROW_LANGUAGE) rows.push_back({ID_LANGUAGE, " Wersja językowa"});
  if (flags & PRN_ROW_AMOUNTS) rows.push_back({ID_AMOUNTS, " Kwoty w        "});
  rows.push_back({ID_SPACER, nullptr});
  rows.push_back({ID_METHOD, " Sposób druku   "});
  if (!(flags & PRN_NO_COPIES)) rows.push_back({ID_COPIES, " Liczba kopii   "});
  if (flags & PRN_PAGE_RANGE) {
    rows.push_back({ID_FROM, " Od strony      "});
    rows.push_back({ID_TO, " Do strony      "});
  }
  rows.push_back({character ? ID_LEFT_CHARS : ID_LEFT_MM, " Lewy margines  "});
  rows.push_back({character ? ID_TOP_LINES : ID_TOP_MM, " Górny margines "});
  return rows;
}

void DrawValue(int id) {
  if (id < 0 || id >= 32 || state->valueRow[id] < 0) return;
  int previous = w4select(state->dialog);
  w4repeat(state->valueRow[id], kValueCol, ' ', 31);
  std::string text = ValueText(id).substr(0, 31);
  w4(state->valueRow[id], kValueCol, text.c_str());
  w4select(previous);
}

// A pick list at the item's row; the chosen position (0 the first) or -1.
int PickFrom(int id, const std::vector<std::string>& texts, int current) {
  size_t widest = 0;
  for (const std::string& t : texts) widest = std::max(widest, t.size());
  std::string widthText(widest, ' ');
  std::vector<const char*> items{widthText.c_str()};
  for (const std::string& t : texts) items.push_back(t.c_str());
  items.push_back(nullptr);
  Window4* dialog = w4record(state->dialog);
  int row = dialog ? dialog->row + state->valueRow[id] : -1;
  int col = dialog ? dialog->col + kValueCol : -1;
  int chosen = get_menu_function(" WYBIERZ ", items.data(), current + 1, row, col);
  return chosen > 0 ? chosen - 1 : -1;
}

// Edits a number at the item's value; true when taken with Enter.
bool EditNumber(int id, int32_t* value, const char* picture) {
  int previous = w4select(state->dialog);
  int32_t edited = *value;
  w4repeat(state->valueRow[id], kValueCol, ' ', 31);
  w4(state->valueRow[id], kValueCol, "-");
  g4attribute(143);
  g4long(state->valueRow[id], kValueCol + 2, &edited);
  g4picture(picture);
  int key = g4read();
  w4select(previous);
  if (key != KEY_ENTER) return false;
  *value = edited;
  return true;
}

bool EditMillimetres(int id, int32_t* tenths) {
  int previous = w4select(state->dialog);
  double edited = *tenths / 10.0;
  w4repeat(state->valueRow[id], kValueCol, ' ', 31);
  w4(state->valueRow[id], kValueCol, "-");
  g4attribute(143);
  g4double(state->valueRow[id], kValueCol + 2, &edited);
  g4picture("999.9");
  int key = g4read();
  w4select(previous);
  if (key != KEY_ENTER) return false;
  *tenths = static_cast<int32_t>(std::lround(edited * 10));
  return true;
}

void ShowProperties() {
  const std::string& name = state->printers[static_cast<size_t>(state->printer)];
  PlatPrinterCaps caps;
  PlatPrinterCapabilities(name == kPrintToFileEntry ? nullptr : name.c_str(), &caps);
  char text[400];
  std::snprintf(text, sizeof text, "%s\n%s (%.0f x %.0f mm)\n%i x %i dpi", name.c_str(), caps.media, caps.widthMm,
                caps.heightMm, caps.dpiX, caps.dpiY);
  MessageWindowText(MB_INFO, nullptr, text);
}

int32_t AdvancedAction(int32_t) {
  ShowProperties();
  return 0;
}

void AdvancedWindow() {
  Window4* d = w4record(state->dialog);
  if (!d) return;
  const int savedPrinter = state->printer, savedLast = state->lastChosen;
  int previous = w4select(-1);
  int window = w4define(d->row + 3, d->col, d->row + 8, d->col + 40);
  if (window < 0) return;
  w4popup();
  w4attribute(245);
  w4border(kStdFrame, 245);
  w4title(0, -1, "Zaawansowane", 245);
  n4attribute(245, 112);
  static const std::string properties = Sys(" Właściwości    ");
  n4item(0, 1, properties.c_str());
  n4action(AdvancedAction);
  n4activate(window, 0, nullptr, nullptr, 1);
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  state->printer = savedPrinter;
  state->lastChosen = savedLast;
}

int32_t ItemAction(int32_t id) {
  if (Printer.pclTypeface == 0) Printer.pclTypeface = 1;
  state->lastChosen = id;
  int pick;
  switch (id) {
    case ID_FAMILY:
      pick = PickFrom(id, SysList(kFamilies), Printer.family);
      if (pick >= 0) Printer.family = pick;
      return kRebuild;
    case ID_PAPER:
      pick = PickFrom(id, SysList(kPaperTexts), PaperPosition());
      if (pick >= 0) {
        int w, h;
        Printer.paper = kPaperOrder[pick];
        PaperSize(Printer.paper, &w, &h, &Printer.widePaper);
      }
      return kRebuild;
    case ID_ORIENTATION:
      pick = PickFrom(id, SysList(kOrientations), Printer.orientation - 1);
      if (pick >= 0) Printer.orientation = pick + 1;
      return kRebuild;
    case ID_CODE_PAGE:
      pick = PickFrom(id, SysList(kCodePages), Printer.codePage);
      if (pick >= 0) Printer.codePage = pick;
      break;
    case ID_FONT:
      pick = PickFrom(id, SysList(kFontTexts), FontPosition());
      if (pick >= 0) Printer.fontNo = kFontOrder[pick];
      return kRebuild;
    case ID_TYPEFACE: {
      int32_t value = Printer.pclTypeface;
      if (EditNumber(id, &value, "9")) Printer.pclTypeface = value;
      break;
    }
    case ID_ADVANCED: AdvancedWindow(); break;
    case ID_PRINTER:
      if (!state->printers.empty()) {
        pick = PickFrom(id, state->printerTexts, state->printer);
        if (pick >= 0) state->printer = pick;
      }
      break;
    case ID_COPIES: EditNumber(id, &Printer.copies, "99"); break;
    case ID_ITEMS: EditNumber(id, &Printer.itemCount, "99"); break;
    case ID_UNDERLINE: EditNumber(id, &Printer.underlineStep, "99"); break;
    case ID_LEFT_CHARS: EditNumber(id, &Printer.leftMargin, "99"); break;
    case ID_TOP_LINES: EditNumber(id, &Printer.topMargin, "99"); break;
    case ID_LEFT_MM: EditMillimetres(id, &Printer.leftMarginMm); break;
    case ID_TOP_MM: EditMillimetres(id, &Printer.topMarginMm); break;
    case ID_OUTPUT:
      pick = PickFrom(id, SysList(kOutputs), Printer.output);
      if (pick >= 0) Printer.output = pick;
      break;
    case ID_METHOD:
      pick = PickFrom(id, SysList(kMethods), Printer.printMethod);
      if (pick >= 0) Printer.printMethod = pick;
      break;
    case ID_BOLD:
      pick = PickFrom(id, SysList(kNoYes), Printer.bold);
      if (pick >= 0) Printer.bold = pick;
      break;
    case ID_MODE: {
      std::vector<std::string> modes;
      for (int i = 0; i < CountPrintModes(); i++) modes.push_back(PrintModes[i].text);
      pick = PickFrom(id, modes, Printer.mode);
      if (pick >= 0) {
        Printer.mode = pick;
        if (!IsCharacterMode()) Printer.orientation = 1;
      }
      return kRebuild;
    }
    case kIdF2:
      if (!state->printers.empty() && OpenSelectedPrinter(state->printers, state->printer)) return kPrint;
      return 0;
    case kIdEsc: return kCancel;
    case ID_LANGUAGE:
      pick = PickFrom(id, SysList(kLanguages), Printer.language);
      if (pick >= 0) Printer.language = pick;
      break;
    case ID_AMOUNTS:
      pick = PickFrom(id, SysList(kAmounts), AmountsPosition());
      if (pick >= 0) Printer.amounts = kAmountCodes[pick];
      break;
    case ID_FROM:
      EditNumber(id, &Printer.fromPage, "9999");
      KeepPageRange();
      DrawValue(ID_TO);
      break;
    case ID_TO:
      EditNumber(id, &Printer.toPage, "9999");
      KeepPageRange();
      break;
    case ID_HEADERS:
      pick = PickFrom(id, SysList(kHeaders), Printer.headers);
      if (pick >= 0) Printer.headers = pick;
      break;
    case ID_SUMMARIES:
      pick = PickFrom(id, SysList(kSummaries), Printer.summaries);
      if (pick >= 0) Printer.summaries = pick;
      break;
    case ID_FORM_TYPE:
      pick = PickFrom(id, SysList(kFormTypes), Printer.formType);
      if (pick >= 0) Printer.formType = static_cast<char>(pick);
      break;
    default: break;
  }
  DrawValue(id);
  return 0;
}

// One pass of the dialog: kRebuild, kPrint or kCancel.
int RunPass() {
  state->labels.clear();
  ApplyModePresets(state->flags);
  const std::vector<Row> rows = ShownRows();
  const int R = 4 + static_cast<int>(rows.size());
  std::fill(std::begin(state->valueRow), std::end(state->valueRow), -1);
  int previous = w4select(-1);
  state->dialog = DefineDialogWindow((24 - R) / 2, 14, R + 6, 52, "PARAMETRY WYDRUKU");
  if (state->dialog < 0) return kCancel;
  w4activate(state->dialog);
  w4select(state->dialog);
  w4(1, 1, "Typ dokumentu :");
  if (state->title) w4(1, kValueCol, std::string(state->title).substr(0, 31).c_str());
  if (!state->restricted) {
    char text[120];
    std::snprintf(text, sizeof text, EnvFindString(kMsgLineWidth), state->lineWidth, Printer.columns);
    w4(3, 1, text);
  }
  const int startRow = w4start_row(), startCol = w4start_col();
  state->menu = w4define(startRow + 5, startCol, startRow + R + 3, startCol + 17);
  if (state->menu < 0) {
    w4deactivate(state->dialog);
    w4close(state->dialog);
    w4select(previous);
    return kCancel;
  }
  w4attribute(95);
  n4attribute(95, 112);
  int startItem = -1, f2Item = -1;
  for (size_t i = 0; i < rows.size(); i++) {
    if (rows[i].id == ID_SPACER) continue;
    state->labels.push_back(Sys(rows[i].label));
    int item = n4item(static_cast<int>(i), 0, state->labels.back().c_str());
    n4parm(rows[i].id);
    n4action(ItemAction);
    state->valueRow[rows[i].id] = 5 + static_cast<int>(i);
    if (rows[i].id == state->lastChosen) startItem = item;
  }
  f2Item = n4item(R - 3, 0, " [F2]  -Drukuj  ");
  n4key(KEY_F2, 1, -1);
  n4parm(kIdF2);
  n4action(ItemAction);
  n4item(R - 2, 0, " [ESC] -Rezygnuj");
  n4key(KEY_ESC, 1, -1);
  n4parm(kIdEsc);
  n4action(ItemAction);
  n4start_item(startItem >= 0 ? startItem : f2Item);
  for (const Row& row : rows) DrawValue(row.id);
  add_help_line();
  set_fun_help("F2", "Drukuj", 1);
  Environment* env = EnvCurrent();
  MenuKeySource outer = env ? env->menuKeyRoutine : nullptr;
  n4char_routine(nullptr);
  int result = n4activate(state->menu, 0, nullptr, nullptr, 1);
  n4char_routine(outer);
  remove_help_line();
  w4deactivate(state->menu);
  w4close(state->menu);
  w4deactivate(state->dialog);
  w4close(state->dialog);
  w4select(previous);
  if (result == kRebuild || result == kPrint) return result;
  if (result == kCancel || result == KEY_ESC) return kCancel;
  return kRebuild;
}

void FillDeviceFields(const PlatPrinterCaps& caps, bool landscape) {
  double width = caps.widthMm, height = caps.heightMm;
  double left = caps.leftMm, top = caps.topMm, right = caps.rightMm, bottom = caps.bottomMm;
  int dpiX = caps.dpiX, dpiY = caps.dpiY;
  if (landscape) {
    std::swap(width, height);
    left = caps.topMm, top = caps.leftMm, right = caps.bottomMm, bottom = caps.rightMm;
    std::swap(dpiX, dpiY);
  }
  Printer.logPixelsX = dpiX;
  Printer.logPixelsY = dpiY;
  Printer.physWidth = static_cast<int32_t>(width / 25.4 * dpiX);
  Printer.physHeight = static_cast<int32_t>(height / 25.4 * dpiY);
  Printer.physOffsetX = static_cast<int32_t>(left / 25.4 * dpiX);
  Printer.physOffsetY = static_cast<int32_t>(top / 25.4 * dpiY);
  Printer.horzSizeMm = static_cast<int32_t>(width - left - right);
  Printer.vertSizeMm = static_cast<int32_t>(height - top - bottom);
  Printer.horzRes = static_cast<int32_t>((width - left - right) / 25.4 * dpiX);
  Printer.vertRes = static_cast<int32_t>((height - top - bottom) / 25.4 * dpiY);
}

}  // namespace

void KeepPageRange() {
  if (Printer.toPage != 0 && Printer.toPage < Printer.fromPage) Printer.toPage = Printer.fromPage;
}

std::vector<std::string> BuildPrinterList() {
  std::vector<std::string> printers = PlatListPrinters();
  // Without a queue, output to a file still works through this entry.
  if (printers.empty()) printers.push_back(kPrintToFileEntry);
  return printers;
}

int OpenSelectedPrinter(const std::vector<std::string>& printers, int index) {
  if (index < 0 || index >= static_cast<int>(printers.size())) return 0;
  PrintJob& job = PrintJobState;
  const std::string& name = printers[static_cast<size_t>(index)];
  const bool toFile = name == kPrintToFileEntry;
  std::snprintf(job.printerName, sizeof job.printerName, "%s", name.c_str());
  if (toFile) Printer.output = 1;
  if (IsCharacterMode()) {
    job.rawChosen = true;
    ErrLogMessage(0, kLogOpenRaw, name.c_str());
    return 1;
  }
  PlatPrinterCapabilities(toFile || PlatIsRawDevice(name.c_str()) ? nullptr : name.c_str(), &job.caps);
  FillDeviceFields(job.caps, !IsPrinterLanguageMode() && Printer.orientation == 2);
  job.deviceContext = true;
  return 1;
}

int PrinterSettingsDialog(DbTable* table, const char* reportCode, const char* title, int lineWidth, int flags) {
  DialogState dialogState;
  DialogState* outer = state;
  state = &dialogState;
  BuildModeList(flags);
  state->table = table;
  state->title = title;
  state->lineWidth = lineWidth;
  state->flags = flags;
  PrintJobState.flags = flags;
  state->restricted = (flags & PRN_RESTRICT_MASK) == 1 || (flags & PRN_RESTRICT_MASK) == 2;
  Printer.progressPageDivisor = 1;
  Printer.gapEvery = Printer.gapDots = Printer.gapCounter = 0;
  state->printers = BuildPrinterList();
  size_t longest = 0;
  for (const std::string& name : state->printers) longest = std::max(longest, name.size());
  for (const std::string& name : state->printers) {
    std::string text = "- " + name;
    text.resize(longest + 2, ' ');
    state->printerTexts.push_back(Utf8ToMazText(text.c_str()));
  }
  LoadPrintSettings(table, reportCode);
  state->printer = 0;
  for (size_t i = 0; i < state->printers.size(); i++)
    if (PrinterNameHash(state->printers[i].c_str()) == Printer.printerHash) {
      state->printer = static_cast<int>(i);
      break;
    }
  ComputePageGeometry(0);
  ErrLogMessage(0xC1, kLogTitle, title ? title : "");
  int outcome;
  do {
    outcome = RunPass();
  } while (outcome == kRebuild);
  const std::string& chosen = state->printers[static_cast<size_t>(state->printer)];
  Printer.printerHash = PrinterNameHash(chosen.c_str());
  SavePrintSettings(table, reportCode);
  ComputePageGeometry(1);
  Printer.orientCycleOn = 0;
  std::fill(std::begin(Printer.orientCycle), std::end(Printer.orientCycle), static_cast<uint8_t>(Printer.orientation));
  if (outcome == kPrint)
    ErrLogMessage(0x102, kLogTitle, " %s\tT:%i Or:%i F:%i[%ix%i] Co:%i Ro:%i Le:%i To:%i X:%i Y:%i", chosen.c_str(),
                  Printer.family, Printer.orientation, Printer.fontNo, Printer.cellWidth, Printer.cellHeight,
                  Printer.columns, Printer.lines, Printer.leftMargin, Printer.topMargin, Printer.dpiX, Printer.dpiY);
  else
    ErrLogMessage(0x81, kLogTitle, "ESC");
  state = outer;
  return outcome == kPrint ? 1 : 0;
}
