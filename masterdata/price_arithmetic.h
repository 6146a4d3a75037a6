// The prices of goods and services: the purchase price and the selling
// prices A, B and C, net and gross, tied by the VAT rates and the direction
// flag TRC ('T': the net price is given); for goods also the margins and the
// stock values. The entry forms' field routines keep them consistent, and the
// browse actions " Przecena " and " Przelicz " work over the filtered list.
// Everything works on the current record of Z5TOWA (goods) or Z5USLU
// (services).
#pragma once
#include <cstdint>

struct DbField;
struct Get4;

// A price rounded by the warehouse option "round prices to grosze": 2
// places when it is 'T', else the fields' 4.
double zaokraglij_cene(double value);

// The two stock values of one price level of the current goods record: the
// price times the stock, 0 when the product is negative.
void wartosci_ceny_a();
void wartosci_ceny_b();
void wartosci_ceny_c();
void wartosci_ceny_zakupu();

// One selling level of the current goods record (its net and gross fields)
// from the purchase price CZN and the margin in percent, then its values.
void cena_z_marzy(double margin, DbField* net, DbField* gross);

// Goods form. The validators run when the operator leaves the field (the
// typed value already stored); the price ones refuse a negative price. The
// selling-price ones find the level by the field the get edits.
int GoodsStockLeft(Get4* get);
int GoodsPurchaseNetLeft(Get4* get);
int GoodsPurchaseGrossLeft(Get4* get);
int GoodsSellingNetLeft(Get4* get);
int GoodsSellingGrossLeft(Get4* get);
// After VZT (VZS set from the code) and VST (VSS set) were chosen.
void GoodsPurchaseRateChosen();
void GoodsSalesRateChosen();
// Key routines with F7 "Przelicz": in the margin field of level `level`
// (0 A, 1 B, 2 C) the typed margin prices that level and the cursor passes
// its two prices; in CZN the typed price reprices A, B and C by their
// stored margins.
int GoodsMarginKeys(Get4* get, char* editBuffer, int32_t level);
int GoodsPurchaseNetKeys(Get4* get, char* editBuffer, int32_t data);

// Services form: the same rules without rounding, margins or values.
int ServicePurchaseNetLeft(Get4* get);
int ServicePurchaseGrossLeft(Get4* get);
int ServiceSellingNetLeft(Get4* get);
int ServiceSellingGrossLeft(Get4* get);
void ServicePurchaseRateChosen();
void ServiceSalesRateChosen();

// Browse actions of the goods and services catalogues over the browse's
// filtered list: -1 after a write error, else 0 with the list redisplayed.
int przecena_towarow(int unused);
int przelicz_towary(int unused);
int przecena_uslug(int unused);
int przelicz_uslugi(int unused);
