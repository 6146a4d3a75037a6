// "Proszę czekać." in the library's message window while a long table
// operation runs.
#pragma once
#include "env/text_ref.h"

// Shows the notice; returns the window that was current.
int ShowWaitNotice();
// Hides it and gives the window back.
void HideWaitNotice(int previousWindow);
// The window with the caller's three rows (an empty one left blank);
// returns the window that was current.
int ShowWaitLines(TextRef row0, TextRef row1, TextRef row2);
