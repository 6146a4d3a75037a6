#include "fuzz/printer_operations.h"

#include "fiscal/printer_drivers.h"
#include "fiscal/printer_params.h"

const PrinterFuzzMode kPrinterFuzzModes[PRINTER_FUZZ_MODES] = {
    {5, "elzab"}, {4, "orhmet"}, {7, "spark"}, {3, "tpline"}};

void SetPrinterFuzzMode(int mode) {
  parametryDetal.printerType = kPrinterFuzzModes[mode].type;
  parametryDetal.comPort = 1;
}

namespace {

void Elzab() {
  int version = 0;
  char time[4], date[8];
  ElzabCmd(1, 1, &version, "01", "02");
  ElzabCmd(4, 10.5);
  ElzabCmd(5, "Chleb razowy", "szt", 2.5, 3.5, static_cast<int>('A'), 8.75);
  ElzabCmd(6, "Nr wew. paragonu 1");
  ElzabCmd(7);
  ElzabCmd(3);
  ElzabCmd(8, time, date);
  ElzabCmd(9, -12);
  ElzabCmd(10);
  ElzabCmd(2);
}

void Orhmet() {
  int clock[5] = {};
  OrhmetCmd(1, 1);
  OrhmetCmd(12, static_cast<int>('M'), static_cast<int>('K'));
  OrhmetCmd(13, static_cast<int>('N'));
  OrhmetCmd(11, "01", "02");
  OrhmetCmd(5, "Nr wew. paragonu 1", "Sklep", "Polna 1");
  OrhmetCmd(4);
  OrhmetCmd(6, "Chleb", static_cast<int>('A'), 1.5, 2.0);
  OrhmetCmd(8);
  OrhmetCmd(9, static_cast<int>('G'), 10.0, 7.0);
  OrhmetCmd(7);
  OrhmetCmd(3, &clock[0], &clock[1], &clock[2], &clock[3], &clock[4]);
  OrhmetCmd(10, static_cast<int>('+'), 25.0);
  OrhmetCmd(2);
}

void Spark() {
  char status[512] = {};
  const char* header = "Sklep Polna 1               ";
  SparkCmd(1, 1);
  SparkCmd(10, "00001");
  SparkCmd(5, 2.5, 1.5, static_cast<int>('1'), 1, "Chleb razowy                ");
  SparkCmd(4);
  SparkCmd(3);
  SparkCmd(6, header, header, header, header, header);
  SparkCmd(7, status, 73);
  SparkCmd(8);
  SparkCmd(9, "01", "00001");
  SparkCmd(2);
}

void TpLine() {
  TpLineCmd(1, 1);
  TpLineCmd(19);
  TpLineCmd(5);
  TpLineCmd(25, 1, "Start pracy");
  TpLineCmd(22, 7, "Nr wew. paragonu 1");
  TpLineCmd(18);
  TpLineCmd(26, 1.5, 12.5, static_cast<int>('A'), "Chleb razowy");
  TpLineCmd(17);
  TpLineCmd(14);
  TpLineCmd(3);
  for (int op = 6; op <= 16; op++)
    if (op != 14) TpLineCmd(op);
  TpLineCmd(20, 1234);
  TpLineCmd(21, 7);
  TpLineCmd(22, 1, "Sklep");
  TpLineCmd(23, 10, 30);
  TpLineCmd(24, 25, 1, 14);
  TpLineCmd(4);
  TpLineCmd(2);
}

}  // namespace

void RunEveryPrinterOperation(int mode) {
  switch (kPrinterFuzzModes[mode].type) {
    case 5: Elzab(); break;
    case 4: Orhmet(); break;
    case 7: Spark(); break;
    default: TpLine(); break;
  }
}
