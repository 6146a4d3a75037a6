// The cash-register layer: the seventeen register types, the connection of
// one operator job (window "Komunikacja z kasą", the log "trans.his", the
// port), the operations the goods jobs call, routed to the driver of the
// configured type, and what every driver uses: byte input and output with
// its trace, window lines, code and department checks, PLU numbering.
//
// How a driver plugs in: a driver lives wholly in its own file and fills one
// `KFDriver` record (NULL entries do nothing and give 0, see each entry);
// it declares that record below and puts its address in the table of
// fiscal/cash_register_drivers.cpp for each of its types (its protocol
// family also gets a line in fuzz/register_operations.cpp). The layer does
// the rest: the window, "trans.his", the port of the type's row in
// `ListaKasFiskalnych` (a KF_PORT_DRIVER row is opened by the driver's
// `open`), the log entries, the repetition question 207, `KFPrzerwa`, the
// report line after `rapTow`, and the messages of operations a type lacks
// (the row's `zeroingMessage`, `noDelete`, `slowListRead`). The register
// settings (letters, switches) are `parametryKF` (fiscal/register_params.h).
// Operations return 0 or a negative value (as a rule -1); drivers show their
// own messages.
#pragma once
#include <cstdio>
#include <string>

#include "interchange/serial_port.h"

// Register types.
constexpr int KASA_BRAK = 1, KASA_PS2000 = 2, KASA_CR280_PLUS = 3, KASA_ELZAB = 4, KASA_OMRON = 5,
              KASA_ADAX = 6, KASA_CR280_THER3 = 7, KASA_CR280_THER4 = 8, KASA_MALA = 9, KASA_TANGO = 10,
              KASA_DSA40 = 11, KASA_DSA100 = 12, KASA_DSA4000S = 13, KASA_CR280_PLUS3 = 14, KASA_BRAVO = 15,
              KASA_TOTAL_TAX = 16, KASA_NOVITUS = 17;

// Messages of the layer and its drivers.
constexpr int MSG_KF_NO_REGISTER = 170;   // "Niewybrana kasa fiskalna."
constexpr int MSG_KF_SLOW = 200;          // "Operacja czasochłonna !"
constexpr int MSG_KF_NO_LINK = 201;       // "Brak komunikacji z kasą lub operacja nielegalna !"
constexpr int MSG_KF_REPORT_ONLY = 202;   // "Funkcja dostępna tylko poprzez wykonanie raportu na kasie."
constexpr int MSG_KF_ZERO_REPORT = 203;   // "Funkcja dostępna tylko poprzez wykonanie raportu zerującego."
constexpr int MSG_KF_ZEROING_REPORT = 204;   // "Czy wykonać raport zerujący stany ?"
constexpr int MSG_KF_SURE_ZERO = 205;     // "Czy na pewno wyzerować stany ?"
constexpr int MSG_KF_NO_FUNCTION = 206;   // "Brak funkcji dla wybranej kasy."
constexpr int MSG_KF_REPEAT = 207;        // "Czy powtórzyć przesłanie ostatniego kodu ?"
constexpr int MSG_KF_PRICE_ONLY = 208;    // "Czy przesłać tylko cenę towaru ?"
constexpr int MSG_KF_BAD_LINK = 211;      // "Błędna transmisja do kasy fiskalnej !"
constexpr int MSG_KF_SILENT = 212;        // "Kasa fiskalna nie odpowiada."
constexpr int MSG_KF_NOT_DIGIT = 213;     // "Kod zawiera znak różny od cyfry - %s"

// One goods record as the jobs hand it to an operation: fixed-width
// blank-padded texts as the goods table holds them.
struct KFTowar {
  int department;          // DZI
  const char* code;        // KOD
  int codeLength;
  const char* name;        // NA1 (may be NULL for code checks)
  int nameLength;
  double price;            // CSB
  int priceWidth, priceDecimals;   // only for the window line
  int vatCode;             // kod_stawki_vat of VST
  const char* date;        // "CCYYMMDD"
  long record;             // the goods record's number: the PLU number where a driver numbers by record
};

// A driver's operations. Each entry NULL: nothing is done and the result is 0
// (`zerowanie` NULL: -1).
struct KFDriver {
  // Opens the line instead of the layer (the type's `port` is KF_PORT_DRIVER).
  int (*open)(int port);
  int (*openSendTowar)();
  // `repeat` is 0 on the first attempt of a record and 1 on every repeated one.
  int (*sendTow)(const KFTowar* goods, int repeat);
  void (*closeSendTowar)();
  int (*deleteTow)(const KFTowar* goods, int repeat);
  int (*openRaport)();
  // Quantity and value sold (both 0 on entry).
  int (*rapTow)(const KFTowar* goods, double* quantity, double* value);
  void (*closeRaport)();
  // Writes the register's PLU list into the open price-list file.
  int (*cennikOdczyt)(FILE* file);
  int (*zerowanie)(const char* date);
  // Checks one record against the type without any exchange.
  int (*sprawdzKod)(const KFTowar* goods);
};

// How the layer opens a type's port.
enum KFPortKind { KF_PORT_NONE, KF_PORT_LAYER, KF_PORT_DRIVER };

struct KFTyp {
  char label;              // hot character of the list
  int type;
  const char* name;        // 14 characters, in the system's character set
  int port;                // KFPortKind
  int handshake, parity, dataBits, stopBits;   // OpenCom codes, 9600 baud
  int pauseMs;             // write pause of the byte output
  int departmentLow, departmentHigh;   // high < low: no department is sent
  int zeroingMessage;      // 202 or 203: `KFZerowanie` shows it and gives -1
  bool noDelete;           // `KFDelete` shows 206 and gives 0
  bool slowListRead;       // `kasfis_cennik_odczyt` shows 200 first
  const ComCharName* names;   // control-byte names of the trace, or NULL
};
constexpr int KASA_TYPE_COUNT = 17;
// In the order of the list "Typ kasy fiskalnej".
extern const KFTyp ListaKasFiskalnych[KASA_TYPE_COUNT];

// The drivers (fiscal/cash_register_drivers.cpp holds the table).
extern const KFDriver kfDriverTango;    // TANGO, BRAVO, NOVITUS
extern const KFDriver kfDriverElzab;    // ELZAB through its programs
extern const KFDriver kfDriverAdax;     // ADAX-3100, TOTAL TAX
extern const KFDriver kfDriverDsa40, kfDriverDsa100, kfDriverDsa4000, kfDriverMala;
extern const KFDriver kfDriverCr280Plus, kfDriverCr280Plus3, kfDriverCr280Ther3, kfDriverCr280Ther4;
extern const KFDriver kfDriverOmron;    // OMRON GR30
extern const KFDriver kfDriverPs2000;
// The driver of a type; NULL for BRAK KASY, a type outside the list, or a
// type whose driver is not built (its jobs then say so).
const KFDriver* KFDriverOfType(int type);

// The configured type, its row (NULL outside the list) and its name
// without trailing blanks ("" outside the list).
int KasaTyp();
const KFTyp* KFTypOpis(int type);
const char* KasaTypNazwa();

// The connection of one job.
int KFOpen();
void KFClose();
int KFOpenSendTowar();
int KFSendTow(const KFTowar* goods);
void KFCloseSendTowar();
int KFDelete(const KFTowar* goods);
int KFOpenRaport();
int KFRapTow(const KFTowar* goods, double* quantity, double* value);
void KFCloseRaport();
int kasfis_cennik_odczyt(FILE* file);
int KFZerowanie(const char* date);
int KFSprawdzKod(const KFTowar* goods);

// The ELZAB price-only answer: -1 not asked yet, 1 prices only, 0 whole records.
extern int kfTylkoCena;
// The report mode of the TANGO family and DSA100/DSA4000S, set by KFOpenRaport.
extern char kfTrybRaportu;
// The report-mode questions 204 and 205: Esc to the first sets `readOnly`,
// yes to both `zeroing`; Esc to the second gives -1.
int KFPytajTrybRaportu(char readOnly, char zeroing);
// The receive time-out of the byte input, seconds.
int KFCzasOdbioru();

// Byte output: the write pause, the receive buffer purged, one deadline of
// 3 seconds for the run, traced. 0 or -1.
int KFWyslijBajt(unsigned char byte);
int KFWyslij(const unsigned char* bytes, int count);
// Byte input: one deadline of the receive time-out for the run, traced;
// -1 at the deadline or on Esc.
int KFOdbierzBajt(unsigned char* byte);
int KFOdbierz(unsigned char* buffer, int count);

// The trace of a run of bytes (direction 1 sending, 0 receiving), to
// "trans.his" and, when the environment's trace display switch is 0, to the
// connection window. Drivers with their own deadlines call these around
// their loops.
void KFSladPoczatek(int direction, int count);
void KFSladBajt(unsigned char byte);
void KFSladKoniec();

// Lines of the connection window.
void KFPokazTowar(const char* code, int codeLength, const char* name, int nameLength, double price, int width,
                  int decimals);
void KFPokazTekst(const char* text);
void KFPokazRaport(const char* code, int codeLength, const char* name, int nameLength, double quantity,
                   double value);

// Code and department checks: 0, or -1 after the message.
int KFKodPierwszaCyfra(const char* code, int length);
int KFKodDlugosc(int maximum, const char* code, int length);
int KFKodCyfry(const char* code, int length);
int KFKodCyfrySpacje(const char* code, int length);
int KFNumerDzialu(int number, const char* code, int length);
// PLU numbering: mode 'N' leaves the code and gives "0" as the second text;
// any other mode gives the goods code as the second text and makes the code
// the PLU number in `digits` digits with leading zeros (a process-wide buffer
// overwritten by the next call). A number of more than `digits` digits is
// refused with a message and -1. `second` and `secondLength` may be NULL.
int KFNumerPlu(char mode, long plu, int digits, const char** code, int* codeLength, const char** second,
               int* secondLength);
// A waiting key is taken; Esc asks "Przerwać operację?": 1 to break off, else 0.
int KFPrzerwa();

// The text without trailing blanks, as a temporary string.
const char* KFBezSpacji(const char* text, int length);
// The program's Polish letters to code page 852 and back, in place.
void KFDo852(char* text, int length);
void KFZ852(char* text, int length);
// The directory of the ELZAB programs and their files: the program directory.
std::string KFKatalogProgramow();
