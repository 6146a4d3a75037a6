// Internals shared by the posting files of the finance module (not for
// other modules): the book date, the day control, month marks, entry numbers.
#pragma once
#include <cstdint>

#include "finance/posting.h"
#include "tables/catalogue.h"

#include "db/db_lock.h"

struct Get4;
struct DbTable;
struct DbTag;
struct DbField;

// rok, miesiac, dzien and miesiacOd of the posting record from its book date.
void DataKsiegiNaDzien();
// "CCYYMMDD" (8 characters, no terminator).
void UstawDateKsiegi(char* date, int year, int month, int day);
// The day control of the entry forms: 1 to the length of the record's month.
int WalidujDzienKsiegi(Get4* get);
// Marks month 1..12 of a monthly totals table of `year` (opened here unless
// open for that year) with STA 'A'; 0, or -1.
int ZaznaczMiesiacSum(TableHandles& set, int& openYear, int (*open)(int), int year, int month);
// The highest LPO of the book; 0 when empty. The record moves.
long OstatniNumerWpisu(DbTable* table);
// The before-append step: the record in the buffer gets the next LPO (also
// into the posting record) and REC = record count + 1.
int NumerujNowyWpis(DbTable* table);
// The month of the latest date by the date tag of a book opened for `year`;
// 1 when empty, -1 when it cannot be opened or closed.
int OstatniMiesiacTabeli(int (*open)(int, int), TableHandles& set, int tag, const char* dateField, int year);
// How one book takes a posting: its table (with the tag by REC) and the
// steps that differ between the revenue and expense book and the flat-rate
// register.
struct KsiegaWpisow {
  DbTable* table;
  DbTag* byRec;
  const char* dateField;               // the date the month marks and the day follow
  int (*compareWithOld)();             // re-posting over the old entry: 0 go on
  void (*fill)(bool fresh);
  int (*form)(bool fresh);             // 0 accepted
  void (*afterForm)(bool fresh);       // may be null
  bool (*amountsZero)();
  int (*markMonth)(int month);
  DbAppendStep beforeAppend;
  void (*afterSave)(bool fresh);       // may be null
};
// The cash method's fields of a book entry (KAS, DWF, DNF, KNF, REW) from `z`.
void PolaMetodyKasowej(DbTable* table, const ZapisKsiegowy* z);
// The posting record into the book: the old entry found by recKsiegi is
// rewritten, else a new one appended. 0 written or declined, 1 re-posting
// declined, -2 form left, -1 failed.
int ZapiszWpisKsiegi(const KsiegaWpisow& book, int seryjnie);
// The accounts of a posting that carries one (`konta`): opened for the
// entry form (0, or -1) and closed after it.
int OtworzKontaWpisu();
void ZamknijKontaWpisu();
// The entry form's account slot ("999-9999", F4 the list) over the entry's
// identity field `ident`, the account's name shown at `nameRow`, `nameCol`.
void PoleKontaWpisu(int row, int col, int nameRow, int nameCol, DbField* ident);
// The source list of the books ("1. SPRZEDAŻ" ...), index 0 for source 1.
extern const char* const ZRODLA_KSIEGOWANIA[9];

// The sales side of a posting, on the current sales header.
int RejestrSprzedazy();         // 1 main, 2 auxiliary
int FormaOpodatkowania();       // 1 the book, 2 the flat-rate register
bool MetodaKasowa();            // the cash method is on for the working year
// Documents the cash method does not post.
bool OdmowaMetodyKasowej(int kind, int akt);
// Documents the batch passes over without a word (besides STV and the cash method).
bool PomijanyWSerii(int kind, int akt);
// The bookkeeping rate into *rate: 1 when had, else the lookup's result.
int KursKsiegowy(double* rate);
// Blank dates, no amount of the document, kasowo ' '.
void PoczatekZapisu(ZapisKsiegowy* z);
// Names, address, descriptions, number and rate text from the header.
void WypelnijDaneDokumentu(ZapisKsiegowy* z, double rate);
// The gross total, or for a correction its net and VAT change (after summing).
double KwotaDokumentu();
// Sums the lines and fills the amounts, dates and the rest of the record;
// `byPayment` takes the part `paid` of the amount on `paidOn`. -1 when the
// lines cannot be summed.
int WypelnijKwoty(ZapisKsiegowy* z, double rate, double paid, bool byPayment, const char* paidOn);
// The two-line notice of lines posted nowhere.
void OstrzezenieBezStawki();
// KsiegujKPiR or KsiegujRyczalt by the taxation form.
int KsiegujZapis(int seryjnie);
// The write-back into the locked header (only TRK by payment); 0 or -1.
int ZapiszDoDokumentu(bool byPayment);
// The posting into cash entry `entry` under its lock; 0 or -1.
int ZapiszDoKasy(long entry);
// The cash book's source key of the current header.
char* KluczDokumentuWKasie();
// The current cash entry belongs to the current header.
bool WpisDokumentu();
