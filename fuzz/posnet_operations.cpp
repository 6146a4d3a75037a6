#include "fuzz/posnet_operations.h"

#include "fiscal/fiscal_printer.h"
#include "fiscal/posnet.h"
#include "fiscal/printer_params.h"

const PosnetFuzzMode kPosnetFuzzModes[POSNET_FUZZ_MODES] = {
    {2, 'T', "online"}, {12, 'T', "online_markup"}, {2, 'N', "thermal"}, {6, 'N', "thermal_17"}, {13, 'T', "novitus"}};

void SetPosnetFuzzMode(int mode) {
  const PosnetFuzzMode& m = kPosnetFuzzModes[mode];
  parametryDetal.printerType = m.type;
  parametryDetal.comPort = 1;
  parametryPosnet.onlineProtocol = m.online;
  parametryPosnet.printNip = 'T';
  parametryPosnet.shortSummary = 'T';
}

void RunEveryPosnetOperation() {
  const char* nip = "5260250274";
  int a = 0, b = 0, clock[5] = {};
  PosnetStatus status{};
  PosnetCmd(1);
  PosnetCmd(3);
  PosnetCmd(4 | DF_QUIET, 1);
  PosnetCmd(9);
  PosnetCmd(5, &a, &b);
  PosnetCmd(6);
  PosnetCmd(7, 12.5);
  PosnetCmd(8, 3.0);
  PosnetCmd(13, 2, "Nr wew. paragonu 1", "Sklep", "Polna 1", nip);
  PosnetCmd(12, 1, "Chleb", 2.0, static_cast<int>('A'), 3.5, 7.0, 0.0, 0);
  PosnetCmd(12, 0, "Chleb", 1.0, static_cast<int>('D'), 3.5, 3.5, 0.0, 0);
  PosnetCmd(15, "Chleb", "Wartosc:       -3.50");
  PosnetCmd(22, "Chleb", 0);
  PosnetCmd(11, 0, "000", "Dziekujemy", "", "", 10.0, 3.5, 0.0, 0, nip);
  PosnetCmd(20);
  PosnetCmd(10);
  PosnetCmd(14, "<c>Sklep & syn", "<1h>Polna<1> 1", "", nullptr);
  PosnetCmd(16, 2026, 12, 10, 10, 0);
  PosnetCmd(17, &clock[0], &clock[1], &clock[2], &clock[3], &clock[4]);
  PosnetCmd(18, &status);
  PosnetCmd(21);
  PosnetCmd(19);
  int error = 0;
  PosnetErrorQuery(&error);
  PosnetOnlineVatSet();
  PosnetCmd(2);
}
