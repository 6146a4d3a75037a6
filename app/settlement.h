// Amounts to settle of sales and purchase documents.
#pragma once

// 1 when `paid` settles `due` (both taken to 6 decimals): nothing is due, or
// the payment reaches the amount due in its direction; else 0.
int KwotyRozliczone(double due, double paid);
