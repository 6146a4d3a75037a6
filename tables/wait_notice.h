// "Proszę czekać." in the library's message window while a long table
// operation runs.
#pragma once

// Shows the notice; returns the window that was current.
int ShowWaitNotice();
// Hides it and gives the window back.
void HideWaitNotice(int previousWindow);
