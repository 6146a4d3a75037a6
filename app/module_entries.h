// The module entries and services the frame's menu actions and forms call.
// The frame declares them here and the modules define them, so the frame
// never includes a module's header. Each entry runs its own screens over the
// tables the calling action opened; the action closes every table after it.
#pragma once

struct Wiget;
struct WigetEvent;

// ---- master data and warehouse
int kartoteka_opisow();
int kartoteka_kont();
int kartoteka_kontrahentow();
int kartoteka_krajow();
int kartoteka_kursow();
int kartoteka_towarow();
int kartoteka_uslug();
int przyjecia_magazynowe();
int wydania_magazynowe();
// The tax offices browse, also the list routine of the tax-office field.
int kartoteka_urzedow();
// Event routine of a country field: F4 opens the countries list. The
// field's first four user bytes hold the flags word of the list (an int32):
// the low four bits choose the rows, 0x10 yields the name, else 0x20 the
// country code, else the currency code.
int kraj_f4_wiget(WigetEvent* event, Wiget* element, void* formData);
// The rate menu of the years before 2024 over `items` (NAZWY_STAWEK_VAT),
// starting on item `start` (1 to 14; 0 the first): the chosen item's number
// (1 the first) or -1 on Esc; F2 chooses like Enter. Kind 5 titles it "SPRZEDAŻ";
// kind 6 "ZAKUP" with items 5, 10 and 11 passed over; kind 1 passes over
// item 12; other kinds the default title "WYBIERZ". A negative row centres it.
int wybierz_stawke_vat(const char* const* items, int start, int row, int col, int kind);

// ---- sales documents (register 1 the main one, 2 the auxiliary one)
int rejestr_sprzedazy(int rejestr);

// ---- retail receipts
int paragony();

// ---- fiscal printers and cash registers
int CzytajParametryKF();
int CzytajParametryDETAL();
int DFBrakDrukarki();
int DFOpen(int skipCheck);
void DFClose();
// The printer type the retail parameters configure (1: none), and the driver
// of the open connection (2 POSNET, 3 TP Line, 4 ORHMET, 5 ELZAB, 7 SPARK;
// -1 with no connection); the printer actions choose by them.
int DFPrinterType();
int DFConnectionDriver();
int DFOpcjeParagonow();
int PosnetOpcje();
int TpLineOpcje();
int OrhmetOpcje();
int ElzabOpcje();
int SparkOpcje();
int PosnetFunkcjePomocnicze();
int TpLineFunkcjePomocnicze();
int OrhmetFunkcjePomocnicze();
int ElzabFunkcjePomocnicze();
int SparkFunkcjePomocnicze();

// ---- cash, payments and the bookkeeping link
struct PlatnoscKasowa;
int ObliczOdsetki(const char* dueDate, const char* paymentDate, double amount);
int StopyOdsetekUstawowych();
int StopyOdsetekPodatkowych();
int DniWolne();
int Przelewy();
int PrzegladajKase(PlatnoscKasowa* platnosc, int openTable, int noPreselect);
int PrzegladajRozliczenia();
int EksportDoKsiegowosci();
int ImportZKsiegowosci();
