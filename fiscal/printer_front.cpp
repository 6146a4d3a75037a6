#include "fiscal/fiscal_printer.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "app/module_entries.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/memory.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_drivers.h"
#include "fiscal/printer_params.h"
#include "tables/receipt_tables.h"
#include "tables/wait_notice.h"
#include "ui/message_box.h"

DFSesja* dfSesja = nullptr;

const PrinterTypeEntry ListaDrukarekFiskalnych[PRINTER_TYPE_COUNT] = {
    {"1. BRAK           ", 1},  {"2. POSNET THERMAL ", 2},  {"3. POSNET TEMO HS ", 9},
    {"4. EPSON TM-T801FV", 10}, {"5. TORELL DUO PRO ", 11}, {"6. POSNET (17.1)  ", 6},
    {"7. ELZAB          ", 5},  {"8. TP Line        ", 3},  {"9. ORHMET         ", 4},
    {"10.SPARK 482G     ", 7},  {"11.EMAR DUO       ", 8},  {"12.NOVITUS        ", 13},
    {"13.POSNET ONLINE  ", 12}};

const unsigned char DFTypeDriver[14] = {0, 0, 1, 5, 4, 3, 1, 2, 1, 1, 1, 1, 1, 1};

namespace {

constexpr int MSG_NO_PRINTER = 27;       // "Brak wybranej drukarki fiskalnej !"
constexpr int MSG_LOOKING = 248;         // "Szukam drukarki fiskalnej"
constexpr int MSG_NOT_CONNECTED = 249;   // "Drukarka nie podłączona lub brak komunikacji."
constexpr int NO_LETTER = -19;           // a line whose VAT rate has no printer letter
constexpr int RECEIPT_TEXT_MAX = 49;
constexpr int NAME_MAX = 40;

bool Posnet() { return dfSesja != nullptr && dfSesja->driver == DF_DRIVER_POSNET; }

// Trailing blanks dropped, as a temporary string.
const char* Trimmed(const char* text) {
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') n--;
  return QuickStr(text, static_cast<int>(n), 0);
}

const char* NipText(DbField* nip) { return nip ? FldQStr(nip, 1) : nullptr; }

// The POSNET start-up; the driver id, or none.
int OpenPosnet() {
  if (CzytajParametryPosnet() != 0) return DF_DRIVER_NONE;
  DFLitery(parametryPosnet.letters, dfSesja->vatLetters);
  dfSesja->textWidth = DFPrinterType() == DF_TYPE_TEMO_HS ? 16 : 20;
  std::strcpy(dfSesja->posnetTerminal, "000");
  dfSesja->printMode = parametryPosnet.printMode;
  bool answered = PosnetCmd(1) == 0 && PosnetCmd(4 | DF_QUIET, parametryPosnet.errorDisplay) == 0 && PosnetCmd(9) == 0;
  // The ONLINE start-up sends nothing: only a clock read shows a printer there.
  if (answered && PosnetOnlineInUse()) {
    int year, month, day, hour, minute;
    answered = PosnetCmd(17, &year, &month, &day, &hour, &minute) == 0;
  }
  if (answered) return DF_DRIVER_POSNET;
  PosnetCmd(2);
  return DF_DRIVER_NONE;
}

int OpenTpLine() {
  if (CzytajParametryTpLine() != 0) return DF_DRIVER_NONE;
  DFLitery(parametryTpLine.letters, dfSesja->vatLetters);
  dfSesja->textWidth = 20;
  if (TpLineCmd(1, parametryDetal.comPort) == 0 && TpLineCmd(19) == 0 && TpLineCmd(5) == 0 &&
      TpLineCmd(25, 1, "Start pracy") == 0 && TpLineCmd(25, 2, "") == 0)
    return DF_DRIVER_TPLINE;
  TpLineCmd(2);
  return DF_DRIVER_NONE;
}

int OpenOrhmet() {
  if (CzytajParametryOrhmet() != 0) return DF_DRIVER_NONE;
  const OrhmetParams& o = parametryOrhmet;
  DFLitery(o.letters, dfSesja->vatLetters);
  dfSesja->textWidth = 18;
  if (OrhmetCmd(1, parametryDetal.comPort) == 0 && OrhmetCmd(12, 'M', 'K') == 0 && OrhmetCmd(13, 'N') == 0 &&
      OrhmetCmd(11, o.terminal, o.cashier) == 0)
    return DF_DRIVER_ORHMET;
  OrhmetCmd(2);
  return DF_DRIVER_NONE;
}

int OpenElzab() {
  if (CzytajParametryElzab() != 0) return DF_DRIVER_NONE;
  DFLitery(parametryElzab.letters, dfSesja->vatLetters);
  dfSesja->textWidth = 20;
  std::memcpy(dfSesja->elzabTerminal, parametryElzab.terminal, 2);
  std::memcpy(dfSesja->elzabCashier, parametryElzab.cashier, 2);
  int version = 0;
  int result = ElzabCmd(1, parametryDetal.comPort, &version, dfSesja->elzabTerminal, dfSesja->elzabCashier);
  dfSesja->elzabVersion = version;
  if (result == 0) return DF_DRIVER_ELZAB;
  ElzabCmd(2);
  return DF_DRIVER_NONE;
}

int OpenSpark() {
  if (CzytajParametrySpark() != 0) return DF_DRIVER_NONE;
  DFLitery(parametrySpark.codes, dfSesja->vatLetters);
  dfSesja->textWidth = 50;
  std::memcpy(dfSesja->sparkDevice, parametrySpark.device, 2);
  std::memcpy(dfSesja->sparkCashier, parametrySpark.cashier, 5);
  if (SparkCmd(1, parametryDetal.comPort) == 0) return DF_DRIVER_SPARK;
  SparkCmd(2);
  return DF_DRIVER_NONE;
}

int Driver() { return dfSesja ? dfSesja->driver : DF_DRIVER_NONE; }

}  // namespace

int DFMakeOfType(int type) { return type >= 0 && type < 14 ? DFTypeDriver[type] : static_cast<int>(DF_MAKE_NONE); }

int DFPrinterType() { return parametryDetal.printerType; }

int DFConnectionDriver() { return dfSesja ? dfSesja->driver : DF_DRIVER_NONE; }

int DFBrakDrukarki() {
  if (DFPrinterType() != DF_TYPE_NONE) return 0;
  Uwaga(MSG_NO_PRINTER);
  return 1;
}

const char* DFNazwaDrukarki() {
  for (const PrinterTypeEntry& entry : ListaDrukarekFiskalnych)
    if (entry.code == DFPrinterType()) return Trimmed(entry.text + 3);
  return QuickStr("", 0, 0);
}

char DFLiteraVat(int vatCode) {
  if (!dfSesja) return 0;
  int position;
  switch (vatCode) {
    case 2: position = 1; break;
    case 8: position = 2; break;
    case 9: position = 3; break;
    case 3: case 5: case 13: position = 4; break;
    case 4: position = 5; break;
    case 14: position = 6; break;
    case 12: return 0;   // no parameter set carries a letter for this rate
    default: position = 0; break;
  }
  return dfSesja->vatLetters[position];
}

int DFOpen(int skipCheck) {
  if (!skipCheck && DFBrakDrukarki()) return 0;
  dfSesja = static_cast<DFSesja*>(take_mem(sizeof(DFSesja)));
  if (!dfSesja) return 0;
  dfSesja->driver = DF_DRIVER_NONE;
  int previous = ShowWaitLines(TextRef(), MSG_LOOKING, TextRef());
  switch (DFMakeOfType(DFPrinterType())) {
    case DF_MAKE_POSNET: dfSesja->driver = OpenPosnet(); break;
    case DF_MAKE_TPLINE: dfSesja->driver = OpenTpLine(); break;
    case DF_MAKE_ORHMET: dfSesja->driver = OpenOrhmet(); break;
    case DF_MAKE_ELZAB: dfSesja->driver = OpenElzab(); break;
    case DF_MAKE_SPARK: dfSesja->driver = OpenSpark(); break;
    default: break;
  }
  HideWaitNotice(previous);
  if (dfSesja->driver == DF_DRIVER_NONE) {
    Uwaga(MSG_NOT_CONNECTED);
    return 0;
  }
  return 1;
}

void DFClose() {
  if (!dfSesja) return;
  switch (Driver()) {
    case DF_DRIVER_POSNET:
      PosnetCmd(19);
      PosnetCmd(2);
      break;
    case DF_DRIVER_TPLINE:
      TpLineCmd(4);
      TpLineCmd(2);
      break;
    case DF_DRIVER_ORHMET: OrhmetCmd(2); break;
    case DF_DRIVER_ELZAB: ElzabCmd(2); break;
    case DF_DRIVER_SPARK: SparkCmd(2); break;
    default: break;
  }
  free_mem(&dfSesja);
}

int DFParagonStart(int lineCount, double total, DbField* nip) {
  if (!dfSesja) return 0;
  dfSesja->lineCounter = 1;
  const char* number = Z5PARA.table ? NrDokumentuFldQStr(d4field(Z5PARA.table, "PRE"), d4field(Z5PARA.table, "NRV"),
                                                         d4field(Z5PARA.table, "POS"))
                                    : "";
  std::snprintf(dfSesja->receiptText, RECEIPT_TEXT_MAX + 1, "Nr wew. paragonu %s", number);
  int result = 0;
  switch (Driver()) {
    case DF_DRIVER_TPLINE:
      result = TpLineCmd(22, 7, dfSesja->receiptText);
      if (result == 0) result = TpLineCmd(18);
      return result;
    case DF_DRIVER_ORHMET:
      result = OrhmetCmd(5, dfSesja->receiptText, parametryOrhmet.header[0], parametryOrhmet.header[1]);
      if (result == 0) result = OrhmetCmd(4);
      return result;
    case DF_DRIVER_ELZAB: return ElzabCmd(4, total);
    case DF_DRIVER_SPARK: return SparkCmd(10, dfSesja->sparkCashier);
    case DF_DRIVER_POSNET: break;
    default: return 0;
  }
  const PosnetParams& p = parametryPosnet;
  std::string header1 = Trimmed(p.header[0]), header2 = Trimmed(p.header[1]);
  return PosnetCmd(13, dfSesja->printMode == 0 ? lineCount : 0, dfSesja->receiptText, header1.c_str(),
                   header2.c_str(), NipText(nip));
}

int DFLinia(const char* name, int vatCode, double quantity, double price, double value) {
  if (Driver() == DF_DRIVER_NONE) return 0;
  char letter = DFLiteraVat(vatCode);
  if (letter == 0) {
    static const std::string refused =
        Utf8ToMazText("Stawka VAT RYCZAŁT TAXI nie ma oznaczenia w drukarce fiskalnej: pozycji nie wysłano.");
    Alarm(refused.c_str());
    return NO_LETTER;
  }
  char text[NAME_MAX + 1];
  std::snprintf(text, sizeof text, "%s", name);
  bool takeBack = quantity < 0;
  switch (Driver()) {
    case DF_DRIVER_TPLINE: return TpLineCmd(26, std::fabs(quantity), price, static_cast<int>(letter), text);
    case DF_DRIVER_ORHMET: return OrhmetCmd(6, text, static_cast<int>(letter), std::fabs(quantity), price);
    case DF_DRIVER_ELZAB: {
      std::string unit = Z5PARE.table ? MaxFldQStr(d4field(Z5PARE.table, "JED")) : "";
      return ElzabCmd(5, text, unit.c_str(), std::fabs(quantity), price, static_cast<int>(vatCode == 4 ? 'E' : letter),
                      value);
    }
    case DF_DRIVER_SPARK: return SparkCmd(5, price, std::fabs(quantity), static_cast<int>(letter), vatCode, text);
    case DF_DRIVER_POSNET: break;
    default: return 0;
  }
  int result = PosnetCmd(12, takeBack ? 0 : dfSesja->lineCounter, text, std::fabs(quantity), static_cast<int>(letter),
                         price, value, 0.0, 0);
  dfSesja->lineCounter++;
  return result;
}

int DFWyswietl(int negate) {
  if ((!Posnet() && Driver() != DF_DRIVER_TPLINE) || !Z5PARE.table) return 0;
  int width = dfSesja->textWidth;
  std::string name = FldQStr(d4field(Z5PARE.table, "NA1"), 0);
  name.resize(static_cast<size_t>(width), ' ');
  DbField* wab = d4field(Z5PARE.table, "WAB");
  double value = f4double(wab) * (negate ? -1 : 1);
  std::string amount = DoubleQStr(value, 0, f4decimals(wab));
  std::string line2 = Utf8ToMazText("Wartość:");
  line2.resize(static_cast<size_t>(width), ' ');
  if (amount.size() <= line2.size()) line2.replace(line2.size() - amount.size(), amount.size(), amount);
  std::snprintf(dfSesja->displayLine1, sizeof dfSesja->displayLine1, "%s", name.c_str());
  std::snprintf(dfSesja->displayLine2, sizeof dfSesja->displayLine2, "%s", line2.c_str());
  if (Driver() == DF_DRIVER_TPLINE) {
    if (TpLineCmd(25, 1, dfSesja->displayLine1) == 0) TpLineCmd(25, 2, dfSesja->displayLine2);
    return 0;
  }
  if (parametryPosnet.detailedDisplay != 'T') return 0;
  if (DFPrinterType() == DF_TYPE_EPSON) {
    PosnetCmd(22, dfSesja->displayLine1, 0);
    PosnetCmd(22, dfSesja->displayLine2, 1);
  } else {
    PosnetCmd(15, dfSesja->displayLine1, dfSesja->displayLine2);
  }
  return 0;
}

int DFOtworzSzuflade() {
  if (Posnet() && parametryPosnet.drawer == 'T') PosnetCmd(20);
  return 0;
}

int DFParagonKoniec(double total, double paid, double change, DbField* nip) {
  if (!dfSesja) return 0;
  int result = 0;
  if (Posnet()) {
    const PosnetParams& p = parametryPosnet;
    std::string f1 = Trimmed(p.footer[0]), f2 = Trimmed(p.footer[1]), f3 = Trimmed(p.footer[2]);
    result = PosnetCmd(11, 0, dfSesja->posnetTerminal, f1.c_str(), f2.c_str(), f3.c_str(), paid, total, 0.0, 0,
                       NipText(nip));
    if (result == 0) DFOtworzSzuflade();
  } else if (Driver() == DF_DRIVER_TPLINE) {
    result = TpLineCmd(17);
  } else if (Driver() == DF_DRIVER_ORHMET) {
    result = OrhmetCmd(8);
    if (result == 0) result = OrhmetCmd(9, 'G', paid, change);
  } else if (Driver() == DF_DRIVER_ELZAB) {
    result = ElzabCmd(6, dfSesja->receiptText);
  } else if (Driver() == DF_DRIVER_SPARK) {
    result = SparkCmd(4);
  }
  if (result == 0) dfSesja->lineCounter = 0;
  return result;
}

int DFAnuluj() {
  if (!dfSesja || dfSesja->lineCounter == 0) return 0;
  int result = 0;
  switch (Driver()) {
    case DF_DRIVER_POSNET: result = PosnetCmd(10); break;
    case DF_DRIVER_TPLINE:
      TpLineCmd(14);
      result = TpLineCmd(3);
      break;
    case DF_DRIVER_ORHMET: result = OrhmetCmd(7); break;
    case DF_DRIVER_ELZAB: result = ElzabCmd(7); break;
    case DF_DRIVER_SPARK: result = SparkCmd(3); break;
    default: break;
  }
  if (result == 0) dfSesja->lineCounter = 0;
  return result;
}
