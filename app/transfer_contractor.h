// A contractor copied into the payee or the payer of a bank transfer order.
#pragma once

// The current contractor into the payee of the current transfer order: code,
// names, address, bank, account and NIP; the payee kind 1. The gets of the
// current window are drawn again.
void KontrahentDoPrzelewu();

// The same into the payer of the current transfer order (its code, names,
// address, bank and account; the payer kind 1), the NIP left alone.
void KontrahentDoPrzelewu2();
