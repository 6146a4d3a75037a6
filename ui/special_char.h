// The window in which the operator picks a letter of another language or a
// special symbol to type into a get.
#pragma once

// Returns the chosen character, or 0 when the operator left with Esc.
int PickSpecialChar();
