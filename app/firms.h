// The firms of the installation: the list behind " Katalogi " (the firms
// catalogue with each firm's data directory), the choice of the firm to work
// on, which makes its directory the data directory and the current one, and
// the firm switch on Shift+F3.
#pragma once
#include <cstdint>

// The firms list over the open firms catalogue; 0, or -1 when the list
// cannot be set up.
int FirmsList();

// Asks which firm to work on (unless the catalogue is empty) and changes into
// its directory. Positive when work can go on in the data directory; 0 when no
// firm was chosen or its directory was not entered; -1 on an error.
int WybierzFirme();

// 1 when operator `operatorNumber` is paired with firm record `firmRecord`;
// else 0, also when the pairs do not open.
int IsFirmAllowed(int operatorNumber, long firmRecord);

// The firm picker's filter over the current catalogue record: inactive firms
// never pass; without right 2 only the operator's paired firms pass.
int FirmPickFilter(intptr_t unused);

// Run after Shift+F3 has chosen and entered another firm: the frame loads the
// firm's header and redraws the firm line; 0, or -1 when that failed. Set by
// the frame at start-up.
extern int (*FirmChosenRoutine)();

// Shift+F3 (a global hot key routine): nothing while any table is open;
// otherwise the firm choice from the start directory, and back to the
// directory it came from unless another firm was entered. Returns 0.
int ZmienFirme(int32_t highByte, int32_t zero);
