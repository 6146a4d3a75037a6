// The pop-up desk calculator with a memory; F8 pastes its result into the
// numeric get being edited below it.
#pragma once
#include <cstdint>

// Runs the calculator until Esc or a paste. Also the routine of the F9 hot
// key, whose arguments it ignores; the result has no meaning.
int kalkulator(int32_t highByte = 0, int32_t zero = 0);
