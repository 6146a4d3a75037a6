// The print job of transfer orders and the forms of an ordinary order: the
// banks' pre-printed forms of two or four sections a sheet, set up per
// printer family, and the landscape and portrait forms drawn whole.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/memory.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "finance/transfers.h"
#include "print/char_output.h"
#include "print/page_viewer.h"
#include "print/patterns.h"
#include "print/printer.h"
#include "tables/cash_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int16_t RES_PATTERN = 14, RES_LANDSCAPE = 15, RES_PORTRAIT = 16;
constexpr int SECTION_ROWS = 19, DATE_ROW = 18, SHEET_ROWS = 44, LOWER_ROW = 25;
constexpr int CHARACTER_WIDTH = 54, TWO_SHEET_WIDTH = 58, FOUR_SHEET_WIDTH = 116;
constexpr int LANDSCAPE_WIDTH = 177, LANDSCAPE_ROWS = 22, LANDSCAPE_HALF = 87;
constexpr int PORTRAIT_WIDTH = 113, PORTRAIT_ROWS = 24;
constexpr int DRAWN_PARTY = 83;
constexpr int MSG_NO_GRAPHIC_PLAIN = 20202, MSG_NO_GRAPHIC_ROTATED = 20204;
constexpr int MSG_NO_CHARACTER = 20207, MSG_FOR_THIS_PRINTER = 20000;
constexpr int MSG_TRANSFER = 20157, MSG_DEPOSIT = 20184;
constexpr int MSG_PAYER_ACCOUNT = 20136, MSG_WORDS = 20111;
constexpr int MSG_PAYEE_COPY = 20069, MSG_PAYER_COPY = 20070;
constexpr int MSG_FOR_PAYEE = 20144, MSG_FOR_PAYER = 20145, MSG_FOR_PAYEE_BANK = 20142, MSG_FOR_PAYER_BANK = 20143;
constexpr int JOB_FLAGS = PRN_FONT_LEGAL, JOB_FLAGS_ORIGINAL = PRN_FONT_LEGAL | PRN_NORMAL_PITCH;

DbField* Order(int field) { return Z5PLEW.field[field]; }
bool OnForms() { return mainOptions.transfer40 == 'T'; }
int Boxes() { return mainOptions.transfer63 == 'T' ? 2 : 1; }

// 0 character, 1 graphic one page a sheet, 2 graphic two pages a sheet (landscape).
int FormPrintMode() {
  if (IsCharacterMode()) return 0;
  return Printer.orientation == 2 ? 2 : 1;
}

const char* FormName(int original) { return NazwaFormularzaPrzelewu(static_cast<char>(f4char(Order(PLEW_ROW))), original); }

// A page of the pool: its text (blank or the pattern of a resource) and its
// bold layer, which the page editor may fill; freed with the scope.
struct Page {
  char* text = nullptr;
  char* bold = nullptr;
  int size;
  explicit Page(int bytes, int16_t resource = 0) : size(bytes) {
    static int16_t shown;
    shown = resource;
    ResIdRoutine pattern = nullptr;
    if (resource) pattern = [] { return shown; };
    if (print_alloc(&text, &bold, size, pattern) != 0) print_free(&text, &bold);
  }
  ~Page() { print_free(&text, &bold); }
  bool Ok() const { return text && bold; }
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;
};

void Write(char* page, int width, int row, int col, const std::string& text) {
  if (col >= width) return;
  std::memcpy(page + static_cast<long>(row) * width + col, text.data(),
              std::min(text.size(), static_cast<size_t>(width - col)));
}

int Refused(int message, int second = 0) {
  if (second)
    MessageWindow(MB_WARNING, TextRef(message), TextRef(second));
  else
    Uwaga(TextRef(message));
  return 1;
}

// Marks the order printed, read again under its record lock: the windows
// of the printing may have redrawn the browse over other records.
void MarkPrinted(long record) {
  DbTable* t = Z5PLEW.table;
  if (go_and_lock(t, record) != 0) return;
  f4assign_char(Order(PLEW_DRU), 'N');
  if (d4write(t, record) == 0) d4flush(t);
  d4unlock(t);
}

// Repeats a pass of the pages while copies are left; after at least one
// complete pass the order `record` is marked printed (0), else -1.
template <class Pass>
int PrintCopies(long record, Pass pass) {
  Environment* env = EnvCurrent();
  bool printed = false;
  while (pass()) {
    printed = true;
    int copies = env ? env->copiesLeft : 0;
    if (env) env->copiesLeft = copies - 1;
    if (copies <= 0) break;
  }
  if (!printed) return -1;
  MarkPrinted(record);
  return 0;
}

// `rows` of the sheet on a page of their own while copies are left.
int PrintSheet(const Page& sheet, int width, int rows, long record) {
  return PrintCopies(record, [&] {
    return drukuj_top_margin() == 0 && print_lines(sheet.text, sheet.bold, width, 0, rows, -1, -1) == 0 &&
           drukuj_form_feed() == 0;
  });
}

struct FontSetting {
  int font, period;
};

// The printer set up for a pre-printed form in graphic mode; false for an unknown family.
bool SetUpFamily(int sections, TransferSection& s, int& secondColumn) {
  bool boxed = Boxes() == 2, four = sections == 4;
  int family = Printer.family, dots = Printer.resolution;
  FontSetting f{-1, 0};
  switch (family) {
    case PRN_EPSON9: case PRN_IBM9:
      Printer.resolution = four ? 1 : 3;
      f = {four ? 37 : 38, four ? 16 : 2};
      if (four) {
        s.split = 19, s.amount = 28, s.transferMark = 15, s.depositMark = 16;
        secondColumn = 57;
      }
      break;
    case PRN_EPSON24: case PRN_ESCP2: case PRN_IBM24: case PRN_PROPRINTER: case PRN_ESCP_RASTER:
      if (dots <= 1) {
        Printer.resolution = 0;
        f = {33, four ? 16 : 4};
      } else {
        Printer.resolution = 3;
        f = {35, four ? 16 : 2};
      }
      break;
    case PRN_HP_LASER: case PRN_HP_DESKJET:
      if (dots == 0) f = {32, four ? 8 : 4};
      if (dots == 1) f = {34, four ? 8 : 2};
      break;
    case PRN_CANON:
      if (dots == 0) f = {33, four ? 8 : 4};
      if (dots == 1) f = {35, four ? 8 : 2};
      if (!four && f.font >= 0) {
        // the correction always, its period only with boxes
        Printer.gapDots = -1;
        if (boxed) Printer.gapEvery = f.period;
        Printer.fontNo = f.font;
        return true;
      }
      break;
    default:
      return false;
  }
  if (f.font >= 0) {
    Printer.fontNo = f.font;
    if (boxed) {
      Printer.gapEvery = f.period;
      Printer.gapDots = -1;
    }
  }
  return true;
}

// The section's layout in the print mode, or a refusal (1).
int Layout(int sections, TransferSection& s, int& secondColumn) {
  int mode = FormPrintMode();
  if (mode == 0) {
    if (sections == 2 && (Printer.family == PRN_EPSON24 || Printer.family == PRN_IBM24 ||
                          Printer.family == PRN_PROPRINTER))
      return Refused(MSG_NO_CHARACTER, MSG_FOR_THIS_PRINTER);
    s = {CHARACTER_WIDTH, 20, 29, 15, 17};
    secondColumn = 59;
    return 0;
  }
  // a stored length out of its range (edited elsewhere) would not fit the sheet
  int low = Boxes() == 2 ? 24 : 48, high = Boxes() == 2 ? 27 : 54, length = mainOptions.transfer39;
  s = {(length < low || length > high ? high : length) * Boxes(), 20, 30, 16, 18};
  secondColumn = 60;
  if (!SetUpFamily(sections, s, secondColumn)) return 1;
  Printer.leftMargin = Printer.topMargin = 0;
  return 0;
}

// The section filled and, when asked, corrected: false when the operator left without F2.
bool FillSection(Page& section, const TransferSection& s, int correctFirst) {
  UstawKratkiPrzelewu(Boxes());
  WypelnijOdcinek(section.text, s);
  return !correctFirst ||
         edytuj_memory(section.text, section.bold, SECTION_ROWS, s.width, FormName(1), 1, 1, 1) == KEY_F2;
}

// Both layers of the section into the sheet at (row, col).
void Copy(const Page& section, int width, Page& sheet, int sheetWidth, int row, int col) {
  PowielOdcinek(section.text, sheet.text, SECTION_ROWS, width, sheetWidth, row, col);
  PowielOdcinek(section.bold, sheet.bold, SECTION_ROWS, width, sheetWidth, row, col);
}

void PutDate(char* section, int width) { DataNaFormularz(section + static_cast<long>(DATE_ROW) * width, Order(PLEW_DAP)); }

// The drawn forms: the account, the form's name and marks, the amount, the
// payer's account or the words, the payer and the title; `half` the column of the copy.
void FillDrawn(char* page, int width, int half, int nameCol, int markCol, int amountCol, bool oneTitleLine) {
  char* base = page + half;
  auto line = [&](int row) { return base + static_cast<long>(row) * width; };
  bool deposit = f4char(Order(PLEW_ROW)) == 'W';
  OdbiorcaNaFormularz(line(2) + 6, line(3) + 6, DRAWN_PARTY);
  KontoNaFormularz(line(5), width, 7, 11, 20, 80, 1, Order(PLEW_KNO));
  Write(line(7), width - half, 0, nameCol, EnvMessageText(deposit ? MSG_DEPOSIT : MSG_TRANSFER));
  Write(line(7), width - half, 0, markCol, deposit ? "W =" : "= P");
  Write(line(7), width - half, 0, amountCol, KwotaPrzelewuNaFormularz());
  double amount = f4double(Order(PLEW_KWO));
  Write(line(8), width - half, 0, 11, EnvMessageText(deposit ? MSG_WORDS : MSG_PAYER_ACCOUNT));
  if (deposit)
    KwotaSlownieNaFormularz(line(9) + 12, amount, 12, 2 | 0x10, 1);
  else
    KontoNaFormularz(line(9), width, 7, 11, 20, 80, 1, Order(PLEW_KNZ));
  ZleceniodawcaNaFormularz(line(12) + 6, line(13) + 6, DRAWN_PARTY);
  std::string title = TrimFldsToQStr_(Order(PLEW_TY1), Order(PLEW_TY2));
  if (oneTitleLine) {
    Write(line(15), width - half, 0, 6, title);
  } else {
    std::string first(DRAWN_PARTY, ' '), second(DRAWN_PARTY, ' ');
    div_str(title.c_str(), static_cast<int>(title.size()), first.data(), DRAWN_PARTY, second.data(), DRAWN_PARTY,
            nullptr);
    Write(line(15), width - half, 0, 6, first);
    Write(line(16), width - half, 0, 6, second);
  }
}

std::string Label(int message, int lineCharacters) {
  return std::string(EnvMessageText(message)) + std::string(static_cast<size_t>(lineCharacters), '\xC4');
}

int DrawnLandscape(int correctFirst) {
  long record = d4recno(Z5PLEW.table);
  Page page(LANDSCAPE_WIDTH * LANDSCAPE_ROWS, RES_LANDSCAPE);
  if (!page.Ok()) return -1;
  UstawKratkiPrzelewu(1);
  for (int half : {0, LANDSCAPE_HALF}) FillDrawn(page.text, LANDSCAPE_WIDTH, half, 33, 55, 70, false);
  if (correctFirst &&
      edytuj_memory(page.text, page.bold, LANDSCAPE_ROWS, LANDSCAPE_WIDTH, FormName(0), 1, 1, 1) != KEY_F2)
    return 0;
  auto print = [&] { return print_lines(page.text, page.bold, LANDSCAPE_WIDTH, 0, LANDSCAPE_ROWS, -1, -1) == 0; };
  return PrintCopies(record, [&] {
    for (int col : {74, 74 + LANDSCAPE_HALF}) Write(page.text, LANDSCAPE_WIDTH, 0, col, Label(MSG_PAYEE_COPY, 5));
    Write(page.text, LANDSCAPE_WIDTH, 20, 93, std::string(10, ' '));
    if (drukuj_top_margin() != 0 || !print()) return false;
    for (int col : {74, 74 + LANDSCAPE_HALF}) Write(page.text, LANDSCAPE_WIDTH, 0, col, Label(MSG_PAYER_COPY, 0));
    DataNaFormularz(page.text + 20 * LANDSCAPE_WIDTH + 93, Order(PLEW_DAP));
    return print() && drukuj_form_feed() == 0;
  });
}

int DrawnPortrait(int correctFirst) {
  long record = d4recno(Z5PLEW.table);
  Page page(PORTRAIT_WIDTH * PORTRAIT_ROWS, RES_PORTRAIT);
  if (!page.Ok()) return -1;
  UstawKratkiPrzelewu(1);
  FillDrawn(page.text, PORTRAIT_WIDTH, 0, 50, 71, 86, true);
  if (correctFirst &&
      edytuj_memory(page.text, page.bold, PORTRAIT_ROWS - 1, PORTRAIT_WIDTH, FormName(0), 1, 1, 1) != KEY_F2)
    return 0;
  char* dateArea = page.text + 21 * PORTRAIT_WIDTH + 6;
  auto print = [&] { return print_lines(page.text, page.bold, PORTRAIT_WIDTH, 0, PORTRAIT_ROWS, -1, -1) == 0; };
  auto label = [&](int message) {
    std::string text = EnvMessageText(message);
    Write(page.text, PORTRAIT_WIDTH, 0, 74, text + std::string(PORTRAIT_WIDTH - 74 - text.size(), '\xC4'));
  };
  return PrintCopies(record, [&] {
    if (mainOptions.transfer61 == 2) {
      std::memset(dateArea, ' ', 10);
      return drukuj_top_margin() == 0 && print() && print() && drukuj_form_feed() == 0;
    }
    label(MSG_FOR_PAYEE);
    if (drukuj_top_margin() != 0 || !print()) return false;
    label(MSG_FOR_PAYER);
    if (!print() || drukuj_form_feed() != 0 || drukuj_top_margin() != 0) return false;
    label(MSG_FOR_PAYEE_BANK);
    if (!print()) return false;
    label(MSG_FOR_PAYER_BANK);
    DataNaFormularz(dateArea, Order(PLEW_DAP));
    return print() && drukuj_form_feed() == 0;
  });
}

}  // namespace

bool PrzelewMaFormularz(int kind) { return kind == 1; }

int OtworzWydrukPrzelewu(int kind) {
  const char* code = nullptr;
  std::string title;
  int flags = JOB_FLAGS;
  if (kind == 1) {
    code = OnForms() ? "PRO" : "PRG";
    title = PrintfQStr("%s - %s", FormName(OnForms()), Sys("ZWYKŁY"));
    if (OnForms()) flags = JOB_FLAGS_ORIGINAL;
  } else if (kind == 4) {
    code = "PRV";
    title = PrintfQStr("%s - %s", FormName(0), "VAT");
  }
  return init_prn(Z5PLEW.table, code, title.empty() ? nullptr : title.c_str(), 0, flags) == 0 ? 0 : -1;
}

void ZamknijWydrukPrzelewu() { deinit_prn(); }

int RodzajWydrukuPrzelewu(long typ) { return typ == 3 && mainOptions.transfer51 == 'T' ? 1 : static_cast<int>(typ); }

void DrukujJedenPrzelew() {
  int kind = RodzajWydrukuPrzelewu(f4long(Order(PLEW_TYP)));
  // kinds without a form print nothing: no job is opened for them
  long record = d4recno(Z5PLEW.table);
  if (!PrzelewMaFormularz(kind) || OtworzWydrukPrzelewu(kind) != 0) return;
  d4go(Z5PLEW.table, record);   // the print dialog may have redrawn the browse over other records
  DrukujPrzelew(1, kind);
  ZamknijWydrukPrzelewu();
}

int DrukujNaOryginale2(int correctFirst) {
  long record = d4recno(Z5PLEW.table);
  if (FormPrintMode() == 2) return Refused(MSG_NO_GRAPHIC_ROTATED);
  TransferSection s{};
  int secondColumn = 0;
  if (int refused = Layout(2, s, secondColumn)) return refused;
  Page section(s.width * SECTION_ROWS, RES_PATTERN), sheet(TWO_SHEET_WIDTH * SHEET_ROWS, RES_PATTERN);
  if (!section.Ok() || !sheet.Ok()) return -1;
  if (!FillSection(section, s, correctFirst)) return 0;
  Copy(section, s.width, sheet, TWO_SHEET_WIDTH, 0, 0);
  PutDate(section.text, s.width);
  Copy(section, s.width, sheet, TWO_SHEET_WIDTH, LOWER_ROW, 0);
  return PrintSheet(sheet, TWO_SHEET_WIDTH, SHEET_ROWS, record);
}

int DrukujNaOryginale4(int correctFirst) {
  long record = d4recno(Z5PLEW.table);
  if (FormPrintMode() == 1) return Refused(MSG_NO_GRAPHIC_PLAIN);
  TransferSection s{};
  int secondColumn = 0;
  if (int refused = Layout(4, s, secondColumn)) return refused;
  bool four = FormPrintMode() == 2 || Printer.mode != 0;
  int rows = four ? SHEET_ROWS : SECTION_ROWS;
  Page section(s.width * SECTION_ROWS, RES_PATTERN), sheet(FOUR_SHEET_WIDTH * rows, RES_PATTERN);
  if (!section.Ok() || !sheet.Ok()) return -1;
  if (!FillSection(section, s, correctFirst)) return 0;
  if (four) {
    Copy(section, s.width, sheet, FOUR_SHEET_WIDTH, 0, 0);
    Copy(section, s.width, sheet, FOUR_SHEET_WIDTH, LOWER_ROW, 0);
    Copy(section, s.width, sheet, FOUR_SHEET_WIDTH, 0, secondColumn);
    PutDate(section.text, s.width);
    Copy(section, s.width, sheet, FOUR_SHEET_WIDTH, LOWER_ROW, secondColumn);
  } else {
    PutDate(section.text, s.width);
    Copy(section, s.width, sheet, FOUR_SHEET_WIDTH, 0, 0);
  }
  return PrintSheet(sheet, FOUR_SHEET_WIDTH, rows, record);
}

int DrukujPrzelew(int correctFirst, int kind) {
  if (kind != 1) return 0;
  if (OnForms()) return mainOptions.transfer61 == 2 ? DrukujNaOryginale2(correctFirst) : DrukujNaOryginale4(correctFirst);
  return FormPrintMode() == 2 ? DrawnLandscape(correctFirst) : DrawnPortrait(correctFirst);
}
