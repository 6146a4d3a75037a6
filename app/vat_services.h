// Services of the VAT registers that the frame and the sales options call.
#pragma once

// The rate group of a VAT-rate code, as the lines from 2024 store it: the
// zero-rate kinds (5, 6, 13) read as 3, the not-taxed kinds (7, 10, 11) as 7.
int grupa_stawki_vat(int code);
// 1 when the transaction kind (CZO) of the current purchase line is '4', '8'
// or '9', else 0. The purchase lines are open and positioned.
int czy_czynnosc_zakupu_4_8_9();
