// Ending on a signal: SIGTERM, SIGHUP (the session logging out) and SIGINT
// only set a flag here; the program's event loop sees it and ends the way the
// operator would. A second signal while the first is pending ends at once.
#pragma once

void PlatWatchEndSignals();
int PlatEndRequested();                  // the signal that asked to end, 0 when none
// Sleeps until an end signal arrives or `milliseconds` pass; the signal's number or 0.
int PlatWaitForEndSignal(int milliseconds);
