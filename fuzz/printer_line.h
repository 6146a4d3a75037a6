// The fiscal printers' fuzz targets share this line: the port layer's device
// hands out the input's bytes as the printer's answers and falls silent when
// they run out; the screen is headless with its fixed clock, so silent waits
// pass at once, and questions and boxes are answered with Esc.
#pragma once
#include <cstddef>
#include <cstdint>

// Once per process; 0 when the screen started.
int FuzzPrinterLineSetup();
// Runs the operations against the answers; when the keys run out `giveUp`
// closes the port. The windows the run left are closed.
void FuzzPrinterLine(const uint8_t* answers, size_t size, void (*operations)(), void (*giveUp)());
