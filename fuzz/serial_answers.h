// The fuzz targets of serial devices: the headless screen whose boxes and
// questions all get Esc, and a port whose far end answers with the input's
// bytes and falls silent when they run out.
#pragma once
#include <cstddef>
#include <cstdint>

// Once per process, after FuzzSetup: the screen and the port.
int SerialFuzzInitialize();
// The device's answers for the next run.
void SerialFuzzAnswers(const uint8_t* data, size_t size);
// Runs the body; when the keys run out (a wait with no end) `cut` closes the
// device's connection. The windows the body left are closed.
int SerialFuzzRun(void (*body)(), void (*cut)());
