// The drivers of the ELZAB, ORHMET, SPARK 482G and TP Line fiscal printers:
// one entry each, taking an operation number (the low twelve bits count) and
// the operation's arguments, as the front calls them.
#pragma once
#include <string>
#include <vector>

// ELZAB: 0 done, -1 no answer (or "receipt.exe" failed), -9 port not
// opened, -10 an amount out of range, or the printer's refusal byte once its
// status bytes are shown.
int ElzabCmd(int op, ...);
// ORHMET: 0 done, -9 port not opened, or the printer's status number (300 no
// answer, 301 broken by a key, 10000 an amount out of range).
int OrhmetCmd(int op, ...);
// SPARK 482G: 0 or -1.
int SparkCmd(int op, ...);
// TP Line: 0, -1 (no answer, a printer error, a refused value) or -9.
int TpLineCmd(int op, ...);

// The frames, as the drivers send them.
std::string ElzabLineFrame(const char* name, const char* unit, long digits, int decimals, long price, char letter,
                           long value);
std::string SparkBlock(const std::string& body);
std::string TpLineFrame(const std::string& commandAndData);

// The daily-sales block of the TP Line printer as its window lines (no
// operation asks the printer for it).
std::vector<std::string> TpLineDailySales(const unsigned char* block, int size);
// Shows lines in the TP Line service window and waits for a key.
void TpLineWindow(const std::vector<std::string>& lines);
