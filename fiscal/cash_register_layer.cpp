#include "fiscal/cash_register_layer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "env/code_pages.h"
#include "env/error_log.h"
#include "env/messages.h"
#include "env/session/environment.h"
#include "env/temp_strings.h"
#include "fiscal/register_params.h"
#include "platform/clock.h"
#include "platform/program_dir.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

int kfTylkoCena = -1;
char kfTrybRaportu = '0';

namespace {

// Log codes of the layer.
constexpr int LOG_KF_OPEN = 28, LOG_KF_CLOSE = 29, LOG_KF_LIST = 32, LOG_KF_ZEROING = 33, LOG_KF_SEND = 34,
              LOG_KF_REPORT = 36, LOG_KF_CLOSE_REPORT = 37, LOG_KF_GOODS = 39;
constexpr int LOG_FLAGS = EL_BLANK_BEFORE | EL_TEXT;   // 0x81
constexpr int SEND_TIMEOUT = 3;
constexpr unsigned char ARROW_OUT = 0xAE, ARROW_IN = 0xAF;
constexpr int TRACE_WRAP_COL = 8;

// TANGO control-byte names for the trace of received bytes.
const ComCharName kTangoNames[] = {{0x02, "STX"}, {0x03, "ETX"}, {0x04, "EOT"}, {0x05, "ENQ"}, {0x06, "ACK"},
                                   {0x09, "TAB"}, {0x15, "NAK"}, {0, ""}};

constexpr int RC = COM_HANDSHAKE_RTS_CTS;
constexpr int EV = COM_PARITY_EVEN, NP = COM_PARITY_NONE;
constexpr int D7 = COM_DATA_7, D8 = COM_DATA_8, S1 = COM_STOP_1, S2 = COM_STOP_2;

struct Connection {
  int window = -1;
  FILE* log = nullptr;
  int counter = 0;
  int pauseMs = 60;
  int timeout = SEND_TIMEOUT;
  int traceWindowBefore = -1;
  int traceCol = 0;
};
Connection conn;

const KFTyp* Row() { return KFTypOpis(KasaTyp()); }
const KFDriver* Driver() { return KFDriverOfType(KasaTyp()); }

void Log(int code, int flags, const char* text) { ErrLogMessage(flags, code, text); }

bool TraceShown() { return conn.window >= 0 && EnvCurrent()->refuseDamagedTables == 0; }

// Selects the connection window for one line at its bottom; the window
// selected before is given back.
int LastRow(int* before) {
  *before = w4select(conn.window);
  w4scroll(1);
  w4clear(w4height() - 1);
  return w4height() - 1;
}

void Put(int row, int col, const std::string& text) {
  int room = w4width() - col;
  if (room > 0) w4num(row, col, text.c_str(), std::min(room, static_cast<int>(text.size())));
}

// The repetition question after a failure: true to try again.
bool Repeat() { return Pytanie(MSG_KF_REPEAT) != KEY_ESC; }

}  // namespace

const KFTyp ListaKasFiskalnych[KASA_TYPE_COUNT] = {
    {'1', KASA_BRAK, "BRAK KASY     ", KF_PORT_NONE, 0, 0, 0, 0, 0, 1, 0, 0, false, false, nullptr},
    {'2', KASA_ELZAB, "ELZAB         ", KF_PORT_DRIVER, 0, 0, 0, 0, 0, 1, 16, 0, false, false, nullptr},
    {'3', KASA_NOVITUS, "NOVITUS       ", KF_PORT_LAYER, RC, NP, D8, S1, 20, 1, 42, 203, false, false, kTangoNames},
    {'4', KASA_BRAVO, "BRAVO         ", KF_PORT_LAYER, RC, NP, D8, S1, 20, 1, 42, 203, false, false, kTangoNames},
    {'5', KASA_TANGO, "TANGO         ", KF_PORT_LAYER, RC, NP, D8, S1, 20, 1, 42, 203, false, false, kTangoNames},
    {'6', KASA_MALA, "MA\x9C" "A          ", KF_PORT_LAYER, RC, NP, D8, S1, 60, 1, 0, 202, true, true, nullptr},
    {'7', KASA_PS2000, "PS2000        ", KF_PORT_LAYER, RC, EV, D7, S1, 10, 1, 20, 0, false, false, nullptr},
    {'8', KASA_CR280_PLUS, "CR280 PLUS    ", KF_PORT_LAYER, 0, EV, D8, S1, 60, 1, 16, 0, false, false, nullptr},
    {'9', KASA_CR280_THER3, "CR280 THER3   ", KF_PORT_LAYER, 0, EV, D8, S1, 60, 1, 16, 0, false, false, nullptr},
    {'a', KASA_CR280_THER4, "CR280 THER4   ", KF_PORT_LAYER, 0, EV, D8, S1, 60, 1, 16, 0, false, false, nullptr},
    {'b', KASA_CR280_PLUS3, "CR280 PLUS3   ", KF_PORT_LAYER, 0, EV, D8, S1, 60, 1, 16, 0, false, false, nullptr},
    {'c', KASA_DSA40, "DSA40         ", KF_PORT_LAYER, RC, NP, D8, S1, 60, 1, 0, 202, true, true, nullptr},
    {'d', KASA_DSA100, "DSA100        ", KF_PORT_LAYER, RC, NP, D8, S1, 60, 1, 0, 203, true, true, nullptr},
    {'e', KASA_DSA4000S, "DSA4000S      ", KF_PORT_LAYER, RC, NP, D8, S2, 60, 1, 0, 203, true, true, nullptr},
    {'f', KASA_OMRON, "OMRON GR30    ", KF_PORT_LAYER, 0, EV, D8, S1, 60, 1, 99, 0, false, false, nullptr},
    {'g', KASA_ADAX, "ADAX-3100     ", KF_PORT_DRIVER, 0, 0, 0, 0, 0, 0, 64, 202, false, false, nullptr},
    {'h', KASA_TOTAL_TAX, "TOTAL TAX     ", KF_PORT_DRIVER, 0, 0, 0, 0, 0, 0, 64, 202, false, false, nullptr},
};

int KasaTyp() { return warehouseOptions.cashRegisterType; }

const KFTyp* KFTypOpis(int type) {
  for (const KFTyp& row : ListaKasFiskalnych)
    if (row.type == type) return &row;
  return nullptr;
}

const char* KasaTypNazwa() {
  const KFTyp* row = Row();
  return row ? KFBezSpacji(row->name, static_cast<int>(std::strlen(row->name))) : QuickStr("", 0, 0);
}

const char* KFBezSpacji(const char* text, int length) {
  int n = static_cast<int>(strnlen(text, static_cast<size_t>(length)));
  while (n > 0 && text[n - 1] == ' ') n--;
  return QuickStr(text, n, 0);
}

void KFDo852(char* text, int length) { ConvChars(text, length, MazTo852Pairs, 0); }
void KFZ852(char* text, int length) { ConvChars(text, length, MazTo852Pairs, CONV_REVERSE); }

int KFCzasOdbioru() { return conn.timeout; }

// ---- the connection

int KFOpen() {
  static const std::string title = Utf8ToMazText("Komunikacja z kasą");
  conn = Connection{};
  conn.window = DefineRaportoweWindow(10, 0, 18, 80, title.c_str(), nullptr, nullptr, 0);
  if (conn.window >= 0) w4activate(conn.window);
  if (warehouseOptions.transmissionReport == 'T') {
    conn.log = std::fopen("trans.his", "w+");
    if (conn.log) std::fputs("Raport transmisji\n", conn.log);
  }
  const KFTyp* row = Row();
  const KFDriver* driver = Driver();
  if (!row || !driver) return 0;   // no register: the jobs refuse it before opening
  if (row->pauseMs > 0) conn.pauseMs = row->pauseMs;
  if (row->type == KASA_PS2000) conn.timeout = parametryKF.ps2000Timeout;
  int port = warehouseOptions.cashRegisterPort;
  int result = 0;
  if (row->port == KF_PORT_LAYER)
    result = OpenCom(port, row->handshake, COM_SPEED_9600, row->parity, row->dataBits, row->stopBits, row->names);
  else if (row->port == KF_PORT_DRIVER && driver->open)
    result = driver->open(port);
  if (result != 0) return -1;
  ErrLogMessage(EL_NEW_HEADER | EL_FORMAT, LOG_KF_OPEN, " %s, COM%i", KasaTypNazwa(), port);
  return 0;
}

void KFClose() {
  if (conn.log) std::fclose(conn.log);
  conn.log = nullptr;
  if (conn.window >= 0) {
    w4deactivate(conn.window);
    w4close(conn.window);
  }
  conn.window = -1;
  int type = KasaTyp();
  if (type != KASA_BRAK && type != KASA_ELZAB) CloseCom();
  ErrLogMessage(EL_NO_TEXT, LOG_KF_CLOSE, TextRef());
}

// ---- operations

int KFOpenSendTowar() {
  const KFDriver* d = Driver();
  for (;;) {
    Log(LOG_KF_SEND, LOG_FLAGS, "KFOpenSendTowar");
    int r = d && d->openSendTowar ? d->openSendTowar() : 0;
    if (r >= 0 || !Repeat()) return r;
  }
}

int KFSendTow(const KFTowar* g) {
  const KFDriver* d = Driver();
  for (int repeat = 0;; repeat = 1) {
    Log(LOG_KF_GOODS, LOG_FLAGS, "KFSendTow");
    KFPokazTowar(g->code, g->codeLength, g->name, g->nameLength, g->price, g->priceWidth, g->priceDecimals);
    int r = d && d->sendTow ? d->sendTow(g, repeat) : 0;
    WaitFor(2, 0);
    if (KFPrzerwa()) return -1;
    if (r >= 0 || !Repeat()) return r;
  }
}

void KFCloseSendTowar() {
  const KFDriver* d = Driver();
  if (d && d->closeSendTowar) d->closeSendTowar();
  Log(LOG_KF_SEND, LOG_FLAGS, "KFCloseSendTowar");
}

int KFDelete(const KFTowar* g) {
  const KFTyp* row = Row();
  const KFDriver* d = Driver();
  for (int repeat = 0;; repeat = 1) {
    Log(LOG_KF_GOODS, LOG_FLAGS, "KFSendTow");
    KFPokazTowar(g->code, g->codeLength, g->name, g->nameLength, g->price, g->priceWidth, g->priceDecimals);
    if (row && row->noDelete) {
      Uwaga(MSG_KF_NO_FUNCTION);
      return 0;
    }
    int r = d && d->deleteTow ? d->deleteTow(g, repeat) : 0;
    WaitFor(2, 0);
    if (r >= 0 || !Repeat()) return r;
  }
}

int KFPytajTrybRaportu(char readOnly, char zeroing) {
  if (Pytanie(MSG_KF_ZEROING_REPORT) == KEY_ESC) {
    kfTrybRaportu = readOnly;
    return 0;
  }
  if (Pytanie(MSG_KF_SURE_ZERO) == KEY_ESC) return -1;
  kfTrybRaportu = zeroing;
  return 0;
}

int KFOpenRaport() {
  Log(LOG_KF_REPORT, LOG_FLAGS, "KFOpenRaport");
  const KFDriver* d = Driver();
  return d && d->openRaport ? d->openRaport() : 0;
}

int KFRapTow(const KFTowar* g, double* quantity, double* value) {
  const KFDriver* d = Driver();
  for (;;) {
    Log(LOG_KF_REPORT, EL_COUNT | LOG_FLAGS, "KFRapTow");
    int r = d && d->rapTow ? d->rapTow(g, quantity, value) : 0;
    if (r >= 0) KFPokazRaport(g->code, g->codeLength, g->name, g->nameLength, *quantity, *value);
    WaitFor(2, 0);
    if (KFPrzerwa()) return -1;
    if (r >= 0 || !Repeat()) return r;
  }
}

void KFCloseRaport() {
  const KFDriver* d = Driver();
  if (d && d->closeRaport) d->closeRaport();
  Log(LOG_KF_CLOSE_REPORT, EL_FLUSH | LOG_FLAGS, "KFCloseRaport");
}

int kasfis_cennik_odczyt(FILE* file) {
  Log(LOG_KF_LIST, LOG_FLAGS, "kasfis_cennik_odczyt");
  const KFTyp* row = Row();
  if (row && row->slowListRead) Uwaga(MSG_KF_SLOW);
  const KFDriver* d = Driver();
  return d && d->cennikOdczyt ? d->cennikOdczyt(file) : 0;
}

int KFZerowanie(const char* date) {
  Log(LOG_KF_ZEROING, LOG_FLAGS, "KFZerowanie");
  const KFTyp* row = Row();
  if (row && row->zeroingMessage) {
    Uwaga(row->zeroingMessage);
    return -1;
  }
  const KFDriver* d = Driver();
  return d && d->zerowanie ? d->zerowanie(date) : -1;
}

int KFSprawdzKod(const KFTowar* g) {
  const KFDriver* d = Driver();
  return d && d->sprawdzKod ? d->sprawdzKod(g) : 0;
}

// ---- bytes

int KFWyslij(const unsigned char* bytes, int count) {
  PlatWaitMs(conn.pauseMs);
  ClearComBuffer();
  SetComTimeout(SEND_TIMEOUT);
  KFSladPoczatek(1, count);
  int result = 0;
  for (int i = 0; i < count; i++) {
    int error = 0;
    if (!WaitComWrite(bytes[i], &error)) {
      result = -1;
      break;
    }
    KFSladBajt(bytes[i]);
  }
  KFSladKoniec();
  WaitFor(2, 0);
  return result;
}

int KFWyslijBajt(unsigned char byte) { return KFWyslij(&byte, 1); }

int KFOdbierz(unsigned char* buffer, int count) {
  SetComTimeout(conn.timeout);
  KFSladPoczatek(0, count);
  int result = 0;
  for (int i = 0; i < count; i++) {
    int error = 0;
    if (!WaitComReceived(&error)) {
      result = -1;
      break;
    }
    buffer[i] = ReadCom();
    KFSladBajt(buffer[i]);
  }
  KFSladKoniec();
  WaitFor(2, 0);
  return result;
}

int KFOdbierzBajt(unsigned char* byte) { return KFOdbierz(byte, 1); }

// ---- trace

void KFSladPoczatek(int direction, int count) {
  unsigned char arrow = direction ? ARROW_OUT : ARROW_IN;
  if (conn.log) std::fprintf(conn.log, "\n%c ", arrow);
  if (!TraceShown()) return;
  int row = LastRow(&conn.traceWindowBefore);
  char head[16];
  std::snprintf(head, sizeof head, "%c%3d%2d", arrow, ++conn.counter % 1000, count % 100);
  Put(row, 0, head);
  conn.traceCol = static_cast<int>(std::strlen(head));
}

void KFSladBajt(unsigned char byte) {
  char text[8];
  if (byte >= 32)
    std::snprintf(text, sizeof text, "%c", byte);
  else
    std::snprintf(text, sizeof text, "#%d", byte);
  if (conn.log) std::fputs(text, conn.log);
  if (!TraceShown()) return;
  int last = w4height() - 1;
  if (conn.traceCol >= w4width()) {
    w4scroll(1);
    w4clear(last);
    conn.traceCol = TRACE_WRAP_COL;
  }
  Put(last, conn.traceCol, text);
  conn.traceCol += static_cast<int>(std::strlen(text));
}

void KFSladKoniec() {
  if (TraceShown()) w4select(conn.traceWindowBefore);
}

// ---- window lines

void KFPokazTowar(const char* code, int codeLength, const char* name, int nameLength, double price, int width,
                  int decimals) {
  if (conn.window < 0) return;
  int before;
  int row = LastRow(&before);
  std::string line(code, strnlen(code, static_cast<size_t>(codeLength)));
  line += ' ';
  line.append(name ? name : "", name ? strnlen(name, static_cast<size_t>(std::min(nameLength, 40))) : 0);
  char number[48];
  std::snprintf(number, sizeof number, " %*.*f PLN", width, decimals, price);
  Put(row, 0, line + number);
  w4select(before);
}

void KFPokazTekst(const char* text) {
  if (conn.window < 0) return;
  int before;
  Put(LastRow(&before), 0, text);
  w4select(before);
}

void KFPokazRaport(const char* code, int codeLength, const char* name, int nameLength, double quantity,
                   double value) {
  if (conn.window < 0) return;
  int before;
  int row = LastRow(&before);
  static const std::string qty = Utf8ToMazText("Ilość:"), val = Utf8ToMazText("Wartość:");
  char q[32], v[32];
  std::snprintf(q, sizeof q, "%10.2f", quantity);
  std::snprintf(v, sizeof v, "%10.2f", value);
  std::string line(code, strnlen(code, static_cast<size_t>(codeLength)));
  line += ' ';
  line.append(name ? name : "", name ? strnlen(name, static_cast<size_t>(nameLength / 2)) : 0);
  line += ' ' + qty + ' ' + q + ' ' + val + ' ' + v;
  Put(row, 0, line);
  w4select(before);
}

// ---- checks

int KFKodPierwszaCyfra(const char* code, int length) {
  if (length > 0 && code[0] >= '1' && code[0] <= '9') return 0;
  Alarm((Utf8ToMazText("Pierwszy znak kodu musi być cyfrą 1..9 -") + KFBezSpacji(code, length)).c_str());
  return -1;
}

int KFKodDlugosc(int maximum, const char* code, int length) {
  if (warehouseOptions.checkCodeLength == 'N') return 0;
  const char* trimmed = KFBezSpacji(code, length);
  if (static_cast<int>(std::strlen(trimmed)) <= maximum) return 0;
  Alarm(PrintfQStr(Utf8ToMazText("Za duża ilość znaków w kodzie dla danej kasy - %s").c_str(), trimmed));
  return -1;
}

namespace {

int CodeDigits(const char* code, int length, bool blanks) {
  for (int i = 0; i < length; i++) {
    char c = code[i];
    if ((c >= '0' && c <= '9') || (blanks && c == ' ')) continue;
    Alarm(PrintfQStr(MSG_KF_NOT_DIGIT, KFBezSpacji(code, length)));
    return -1;
  }
  return 0;
}

}  // namespace

int KFKodCyfry(const char* code, int length) { return CodeDigits(code, length, false); }
int KFKodCyfrySpacje(const char* code, int length) { return CodeDigits(code, length, true); }

int KFNumerDzialu(int number, const char* code, int length) {
  const KFTyp* row = Row();
  if (!row || row->departmentHigh < row->departmentLow) return 0;
  if (number >= row->departmentLow && number <= row->departmentHigh) return 0;
  Alarm(PrintfQStr(Utf8ToMazText("Niedopuszczalny numer działu/grupy %d (%d-%d) dla %s").c_str(), number,
                   row->departmentLow, row->departmentHigh, KFBezSpacji(code, length)));
  return -1;
}

int KFNumerPlu(char mode, long plu, int digits, const char** code, int* codeLength, const char** second,
               int* secondLength) {
  static char buffer[8];
  if (mode == 'N') {
    if (second) *second = "0";
    if (secondLength) *secondLength = 1;
    return 0;
  }
  long limit = 1;
  for (int i = 0; i < digits; i++) limit *= 10;
  if (plu < 0 || plu >= limit || digits > 6) {
    Alarm(PrintfQStr(Utf8ToMazText("Numer towaru %ld nie mieści się w %d cyfrach kasy.").c_str(), plu, digits));
    return -1;
  }
  if (second) *second = *code;
  if (secondLength) *secondLength = *codeLength;
  std::snprintf(buffer, sizeof buffer, "%0*ld", digits, plu);
  *code = buffer;
  *codeLength = digits;
  return 0;
}

int KFPrzerwa() {
  if (!KeyPressed()) return 0;
  if (g4char() != KEY_ESC) return 0;
  static const std::string question = Utf8ToMazText("Przerwać operację?");
  return Pytanie(question.c_str()) != KEY_ESC ? 1 : 0;
}

std::string KFKatalogProgramow() { return PlatProgramDir(); }
