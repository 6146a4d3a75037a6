// The archive window: writing the firm's and the common data into archives
// on the archive directory, or restoring them, and the menu action over it.
#pragma once

constexpr int ARCHIVE_WRITE = 1;
constexpr int ARCHIVE_RESTORE = 2;

// Runs the archive window for the kind; 0.
int ArchiwumAction(int kind);
void ArchiveWindow(int kind);
