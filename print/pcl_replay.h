// PCL replay: the PCL a graphic job wrote to "Wydruk.prn" (soft-font text or
// raster pages) interpreted into a page bitmap and placed on the pages of
// the job's page document.
#pragma once
#include <cstdio>

// Does nothing without a page document or for an empty file.
void ReplayPclFile(FILE* file);
