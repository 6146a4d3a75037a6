// The life of the main program: start-up, the main bar, shut-down, and the
// start again after the operator resized the window at the main bar.
#pragma once
#include <cstdint>

// The process entry; the exit code (1 when the screen cannot be started).
// With four or more arguments after the program's name the first names the
// data directory and START opens at once (the remote start).
int WinMain(int argc, char** argv);
// The first start's set-up: global hot keys, data directory, free space,
// screen font, lock timer and, for a remote start, the operator's log-in.
// 0, or -1 when that log-in fails.
int PrepareWorkplace(int remote);
// The working date and the operator at the bottom of the front window.
void ShowFrontInfo(int window);

// The hot keys PrepareWorkplace binds.
int CalendarHotKey(int32_t, int32_t);
int NextFontHotKey(int32_t, int32_t);
int RepairPromptsHotKey(int32_t, int32_t);
int LockHotKey(int32_t, int32_t);
