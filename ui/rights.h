// The operator's rights: one bit per menu id in the Environment's 2000-byte
// table; right n is bit 0x80 >> (n % 8) of byte n / 8.
#pragma once

// The right's bit value when granted, else 0. Numbers outside the table
// (negative, or from 2000 * 8 on) are never granted.
int pass_tab_test(int n);
// 1 when granted; otherwise the warning "Zabroniony dostęp !" and 0.
int pass_tab_test_and_inform(int n);
