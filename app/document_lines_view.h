// F3 in the document registers (sales, receipts, warehouse documents): the
// lines of the current document shown under the list, or hidden again.
#pragma once

// Shows or hides the lines of the current document; any key but F3 does
// nothing.
void przelacz_dokument_pozycje(int key);
