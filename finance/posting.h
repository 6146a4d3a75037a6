// Posting of sales documents into the firm's books: the posting record the
// document side fills and the book side writes, the revenue and expense book
// "Z5DANE", the flat-rate register, the batch posting, the exchange-rate
// difference and the posting order printout.
#pragma once
#include <cstdint>

constexpr int FLAT_RATE_SLOTS = 9;

// One posting, held in the global slot `zapisKsiegowy` while it runs. Dates
// are "CCYYMMDD" without terminator; texts are terminated; amounts in PLN.
struct ZapisKsiegowy {
  uint32_t lp;                  // entry number in the book
  char dataKsiegi[8];           // the date the document goes into the book under
  char dataZapisu[8];           // the entry's date as posted
  char zaplacono;               // 'T'/'N'
  char dataWystawienia[8];
  char dataPlatnosci[8];
  double kwotaDokumentu;
  char kasowo;                  // 'T' posted by payment, else ' '
  int32_t zrodlo;               // 1 main register, 9 auxiliary (0 exchange difference)
  int32_t nrListy;
  int32_t recKsiegi;            // REC of the entry to post again; of the new entry after it
  int32_t recDokumentu;
  int32_t rok, miesiac, dzien;
  int32_t miesiacOd;
  int32_t zapisano;             // non-zero once an entry was written
  char konta;
  char status;                  // ' ' normal, 'A' annulled, 'K' cost correction
  double ryczalt[FLAT_RATE_SLOTS];   // in the register's column order from 2022
  double najemNadwyzka;         // code 7 of the registers before 2022
  double przychodSprzedaz, przychodPozostaly, zakupTowarow, kosztyUboczne, wynagrodzenia, inneWydatki;
  int32_t terminPlatnosci;      // julian day
  char kursTekst[23];
  char nrDokumentu[80];
  char nazwa[4][80];
  char miejscowosc[80];
  char ulica[2][80];
  char opis1[80], opis2[80];    // a first byte of 1 keeps the entry's own text
};
extern ZapisKsiegowy* zapisKsiegowy;

// Posts the current document of the sales register into the book its
// taxation form names. `poZapisie` skips the empty-browse check. 0 when a
// check stops it or the operator declines; -1 without memory or when the
// line totals fail; the exchange-rate lookup's result when no rate is had;
// otherwise the browse redisplay's result.
int KsiegujDokument(int poZapisie);
// Batch posting from the current document to the end of the register; 0,
// or -1 after an error.
int KsiegujSeryjnie();

// The revenue and expense book: writes `zapisKsiegowy` (with `seryjnie` 0
// through the entry form); 0 done or declined, -1 on an error.
int KsiegujKPiR(int seryjnie);
// Marks month 1..12 of the book's monthly totals of the record's year for
// recounting; 0, or -1 when they cannot be opened, locked or written.
int ZaznaczMiesiacKsiegi(int month);
// The month of the book's latest entry of `year`; 1 for an empty book, -1
// when the book cannot be opened.
int OstatniMiesiacKsiegi(int year);
struct Get4;
// Validator of a month control: -1 for a month that is no month; a month
// before `miesiacOd` is accepted with a warning.
int SprawdzMiesiacKsiegi(Get4* get);

// The flat-rate register of the working year's layout; 0 done, declined or
// left, 1 re-posting declined, -1 on an error.
int KsiegujRyczalt(int seryjnie);
int ZaznaczMiesiacRyczaltu(int month);
int OstatniMiesiacRyczaltu(int year);
// Divides the rent of the whole open register (from 2022) between the 8.5 %
// and the 12.5 % column at the yearly threshold; 0, or -1 when the lock is
// refused or a write fails.
int PodzielNajem();

// The exchange-rate difference of the current foreign-currency document.
void RoznicaKursowa();
// The posting order of the current book entry for one amount.
void DrukujPolecenieKsiegowania(double amount);
// The orders of the book entry REC `rec` of `year`: one for its revenue, one
// for its expenses, each when not 0.
void DrukujPoleceniaWpisu(int year, int32_t rec);
// Its twin for a flat-rate entry, from the posting record and the document.
void DrukujPolecenieKsiegowaniaRyczaltu(double amount);
