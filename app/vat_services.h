// Services of the VAT registers that the frame and the sales options call.
#pragma once

// The rate group of a VAT-rate code, as the lines from 2024 store it: the
// zero-rate kinds (5, 6, 13) read as 3, the not-taxed kinds (7, 10, 11) as 7.
int grupa_stawki_vat(int code);
