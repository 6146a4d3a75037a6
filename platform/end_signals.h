// Ending on a signal: SIGTERM, SIGHUP (the session logging out) and SIGINT
// only set a flag here; the program's event loop sees it and ends the way the
// operator would. A desktop session sends more than one at logout, so a
// second signal does not cut the clean end short: only a third one, or about
// 10 s in which the end makes no progress, ends the process at once.
#pragma once

void PlatWatchEndSignals();
int PlatEndRequested();                  // the signal that asked to end, 0 when none
// The clean end moved on (a window answered): the stall limit starts again.
void PlatEndProgress();
// Sleeps until an end signal arrives or `milliseconds` pass; the signal's number or 0.
int PlatWaitForEndSignal(int milliseconds);
