// A contractor copied into the payee of a bank transfer order.
#pragma once

// The current contractor into the payee of the current transfer order: code,
// names, address, bank, account and NIP; the payee kind 1. The gets of the
// current window are drawn again.
void KontrahentDoPrzelewu();
