// The fiscal-printer front: the one connection record, the printer types and
// their drivers, and the receipt requests (start, line, display, end, cancel)
// turned into the driver's numbered operations. A connection lives around
// one operator action: DFOpen ... DFClose.
#pragma once
#include <cstdint>

struct DbField;

// Driver ids of the connection record.
constexpr int DF_DRIVER_NONE = -1;
constexpr int DF_DRIVER_POSNET = 2;
constexpr int DF_DRIVER_TPLINE = 3;
constexpr int DF_DRIVER_ORHMET = 4;
constexpr int DF_DRIVER_ELZAB = 5;
constexpr int DF_DRIVER_SPARK = 7;

// Values of the type-to-driver table.
enum : unsigned char { DF_MAKE_NONE = 0, DF_MAKE_POSNET, DF_MAKE_SPARK, DF_MAKE_ELZAB, DF_MAKE_ORHMET, DF_MAKE_TPLINE };

// Printer types (DETAL parameter 14) the drivers single out.
constexpr int DF_TYPE_NONE = 1;
constexpr int DF_TYPE_TEMO_HS = 9;
constexpr int DF_TYPE_EPSON = 10;
constexpr int DF_TYPE_TORELL = 11;
constexpr int DF_TYPE_POSNET_ONLINE = 12;
constexpr int DF_TYPE_NOVITUS = 13;

// The driver operation bit that keeps the driver's error off the screen.
constexpr int DF_QUIET = 0x8000;

struct DFSesja {
  int32_t driver;
  int32_t printMode;
  char vatLetters[12];
  int32_t textWidth;
  char displayLine1[50];
  char displayLine2[50];
  char posnetTerminal[4];
  double posnetCashIn, posnetCashOut;
  int32_t posnetDateTime[5];
  int32_t tpLineDateTime[5];
  double orhmetCashIn, orhmetCashOut;
  char elzabTerminal[2];
  char elzabCashier[2];
  int32_t elzabVersion;
  int32_t elzabMinutes;
  char sparkDevice[2];
  char sparkCashier[6];
  int32_t lineCounter;
  char receiptText[50];
};

// The open connection, NULL when none.
extern DFSesja* dfSesja;

struct PrinterTypeEntry {
  char text[19];    // 18 characters, blank-padded
  int code;
};
constexpr int PRINTER_TYPE_COUNT = 13;
extern const PrinterTypeEntry ListaDrukarekFiskalnych[PRINTER_TYPE_COUNT];
// Indexed by the type code 0..13; a code outside has no driver.
extern const unsigned char DFTypeDriver[14];
int DFMakeOfType(int type);

int DFOpen(int skipCheck);
void DFClose();
int DFParagonStart(int lineCount, double total, DbField* nip);
int DFLinia(const char* name, int vatCode, double quantity, double price, double value);
int DFWyswietl(int negate);
int DFParagonKoniec(double total, double paid, double change, DbField* nip);
int DFAnuluj();
int DFBrakDrukarki();
// The configured type's list text without its number, as a temporary string.
const char* DFNazwaDrukarki();
// 0 for a code without a printer letter (12).
char DFLiteraVat(int vatCode);
int DFOtworzSzuflade();
int DFPrinterType();
int DFConnectionDriver();
