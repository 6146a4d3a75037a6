// The own firm's header: its two name lines and its NIP, copied from the
// firm's "Z5PAWL" into the Environment by the guard of every module action,
// and the firm line (one row above the key hints) that shows the name.
#pragma once

// Opens the own-firm table, copies the header into the Environment and
// closes it; 0, or -1 when the table does not open.
int LoadFirmHeader();
// LoadFirmHeader, then the firm line drawn again; 0 or -1.
int LoadFirmHeaderAndShow();
// With the flag set the company data are edited between the opening and the
// copy; 0 or -1 as LoadFirmHeader.
int EditOwnFirm(int companyData);
// Clears the firm line and writes the two name lines, trimmed and joined,
// centred on it and cut to the desktop width less 2.
void ShowFirmName();
