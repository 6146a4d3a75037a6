// The print job: the printer settings record `Printer` the program reads and
// writes, the mode list, the page geometry, the families' start strings, and
// init_prn / deinit_prn around every job. One job exists at a time.
#pragma once
#include <cstdint>
#include <cstdio>
#include "platform/printers.h"

struct DbTable;

struct PrinterSettings {
  int32_t resolution;          // graphic mode: 0 150 dpi, else 300
  int32_t family;              // PRN_* below
  int32_t orientation;         // 1 portrait, 2 landscape (0 after the character path's final pass)
  int32_t fontNo;
  int32_t itemCount;
  int32_t columns;
  int32_t lines;
  int32_t cellWidth;
  int32_t cellHeight;
  const char* fontFile;
  int32_t widePaper;
  int32_t pageNo;
  int32_t progressPageDivisor;
  int32_t gapEvery;
  int32_t gapDots;
  int32_t gapCounter;
  int32_t mode;
  int32_t dpiX;
  int32_t dpiY;
  int32_t copies;
  int32_t language;
  char amounts;                // 'P', 'W' or 'O'
  char formType;
  int32_t pclTypeface;
  int32_t economode;
  int32_t rasterOption;
  int32_t codePage;            // 0 none, 1 Mazovia, 2 Latin 2, 3 ISO Latin 2
  int32_t bold;
  int32_t option70;
  int32_t openOutput;
  int32_t underlineStep;
  int32_t rasterDpiX;
  int32_t rasterDpiY;
  int32_t printMethod;         // 0 continuous, 1 with confirmation
  int32_t paper;               // 0 A4, 1 15-inch fanfold, 2 A3, 3 10-inch fanfold
  uint32_t printerHash;
  int32_t output;              // 0 printer, 1 disk
  int32_t leftMarginMm;        // tenths of a millimetre
  int32_t topMarginMm;
  int32_t leftMargin;          // characters
  int32_t topMargin;           // lines
  int32_t grOffsetX;           // millimetres
  int32_t grOffsetY;
  int32_t fromPage;
  int32_t toPage;
  int32_t headers;
  int32_t summaries;
  int32_t physHeight;
  int32_t physWidth;
  int32_t vertRes;
  int32_t horzRes;
  int32_t vertSizeMm;
  int32_t horzSizeMm;
  int32_t physOffsetX;
  int32_t physOffsetY;
  int32_t logPixelsX;
  int32_t logPixelsY;
  char outputFile[30];
  int32_t pageHeightDots;
  int32_t pageWidthDots;
  double hmi;                  // 1/120 inch
  double vmi;                  // 1/48 inch
  uint8_t orientCycleOn;
  uint8_t orientCycleLen;
  uint8_t orientCycle[6];
};

extern PrinterSettings Printer;
// The record as it stands before any settings are loaded.
PrinterSettings PrinterDefaults();

// Families.
constexpr int PRN_EPSON9 = 0;
constexpr int PRN_EPSON24 = 1;
constexpr int PRN_ESCP2 = 2;
constexpr int PRN_IBM9 = 3;
constexpr int PRN_IBM24 = 4;
constexpr int PRN_PROPRINTER = 5;
constexpr int PRN_HP_LASER = 6;
constexpr int PRN_HP_DESKJET = 7;
constexpr int PRN_ESCP_RASTER = 8;
constexpr int PRN_CANON = 9;

// init_prn flags.
constexpr int PRN_RESTRICT_MASK = 0x3;
constexpr int PRN_NORMAL_PITCH = 0x4;
constexpr int PRN_ROW_ITEMS = 0x8;
constexpr int PRN_ROW_UNDERLINE = 0x10;
constexpr int PRN_ROW_FORM_TYPE = 0x20;
constexpr int PRN_ROW_AMOUNTS = 0x40;
constexpr int PRN_ROW_LANGUAGE = 0x80;
constexpr int PRN_SOFT_FONTS = 0x100;
constexpr int PRN_NO_COPIES = 0x400;
constexpr int PRN_FONT_LEGAL = 0x800;
constexpr int PRN_PAGE_RANGE = 0x1000;
constexpr int PRN_ROW_HEADERS = 0x2000;
constexpr int PRN_ROW_SUMMARIES = 0x4000;
constexpr int PRN_FONT_COURIER = 0x10000;
constexpr int PRN_NO_ORIENTATION = 0x20000;
constexpr int PRN_FONT_LPORT = 0x40000;

// The mode list: at most four entries ended by one with flags 0.
struct PrintMode {
  const char* text;
  uint16_t flags;     // 1 character mode, 2 a raw printer language
};
constexpr int PRINT_MODE_CHARACTER = 1;
constexpr int PRINT_MODE_RAW = 2;
extern PrintMode PrintModes[5];
void BuildModeList(int flags);
int CountPrintModes();

// The one job's state.
struct PrintJob {
  bool rawChosen;              // the dialog chose a printer for raw output
  PlatRawJob* rawPrinter;      // the raw job, started with the output
  bool deviceContext;          // the dialog chose a printer for page documents
  PlatPageDoc* document;       // the page document, opened at its first page
  bool outputFailureTold;      // the document's write failure was told once
  FILE* output;
  FILE* spool;
  bool open, graphicSpool, incomplete, resendFont;
  bool idle = true;            // no job between init_prn and deinit_prn
  const char* hmiString;       // resent after each page (HP LaserJet)
  char deskJetString[64];      // resent after each page (HP DeskJet)
  int currentLeftMargin;
  int flags;                   // of init_prn
  char printerName[256];       // the chosen printer
  PlatPrinterCaps caps;        // of the chosen printer
  char replayFile[260];        // where "Wydruk.prn" was opened
  bool keyCheckDue = true;     // the job's first text looks for a key at once
  int64_t lastKeyCheckMs;      // monotonic time of that look
};
extern PrintJob PrintJobState;

// The name the printer list shows when no printer is installed: output then
// goes to a file.
extern const char kPrintToFileEntry[];

int IsCharacterMode();
int IsPrinterLanguageMode();
int UsesGraphicSpool(int flags);
int test_ibm_printer();
void ApplyModePresets(int flags);
// The job's flags decide the character path (0x100).
void ComputePageGeometry(int final);

// Font table lookups of graphic mode.
struct PrinterFont {
  const char* file;
  int cellWidth, cellHeight;
  double hmi, vmi;      // soft fonts only
};
PrinterFont PrinterFontOf(int fontNo, int bold);
bool IsSoftFontNo(int fontNo);
// Paper: widePaper and the usable size in whole centimetres.
void PaperSize(int paper, int* widthCm, int* heightCm, int* wide);

// Settings record in Z5TABW: report code, table (its alias names the record,
// unless a tabulogram has set a settings name).
void LoadPrintSettings(DbTable* table, const char* reportCode);
void SavePrintSettings(DbTable* table, const char* reportCode);
void ClampPrinterSettings();

// The job. init_prn: 0 open, -1 cancelled or failed; deinit_prn always 0.
int init_prn(DbTable* table, const char* reportCode, const char* title, int lineWidth, int flags);
int deinit_prn();
// ESC "&l27a0L" on wide paper, else ESC "&l26a0L".
const char* PageLengthString();
// The PJL economode line the HP families send before their reset, or "".
const char* EconomodeString();

// The library's message window: shown with a message centred on a row,
// another row written, hidden.
void PrintMessageOn(int row, int number);
void PrintMessageRow(int row, const char* text);
void PrintMessageOff();
// The job's page document: to the chosen printer, or to `outputFile` with
// output to disk. NULL without a device context or when it cannot be made.
PlatPageDoc* JobDocument(const char* title);

// Opens the output and sends the start strings once the settings are chosen
// (steps after the dialog); the dialog-free entry the tests use as well.
int OpenPrintJob(const char* reportCode, const char* title);
