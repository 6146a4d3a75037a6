// The stock update every goods-moving module calls once per goods line, the
// purchase-price update, and the report window both write into: opened by
// the first call of a run, reused by the later ones, closed by the caller
// after its last line.
#pragma once

// Takes `quantity` out of the stock of the goods `code` (negative puts it
// back) and recomputes the eight stock values under the record's lock.
// `windowFlag` non-zero: the titled report window, and a missing code asks
// whether to go on; zero: the one-line status line, a missing code passes.
// 0 done, nothing to do or the operator went on after a failure; -1 failed
// and the operator answered Esc (the report window is then closed).
// `written`, when given, receives 1 only when the goods record was written.
int aktualizuj_ilosc(const char* code, const char* name, double quantity, int windowFlag, int* written = nullptr);

// Writes a new net purchase price into the goods `code` and offers to carry
// it on into the selling prices; `quantity` is only shown when it fails.
// 0 or -1 as above.
int aktualizuj_cene_zakupu(const char* code, const char* name, double quantity, double price, int windowFlag);

// Closes the report window when it is open, after " Naciśnij dowolny
// klawisz... " when `pause` is set, and makes current again the window
// that was current before it opened.
void zamknij_okno_raportu(int pause);
