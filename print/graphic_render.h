// Graphic print mode: the spooled text of a job drawn page by page with the
// printer fonts into HP PCL raster graphics; the font files themselves
// (headerless bitmap fonts and PCL soft-font downloads).
#pragma once
#include <cstdint>
#include <cstdio>

struct SoftFontChar {
  bool present;
  uint16_t words[3];        // the first six bytes of the descriptor
  int leftOffset;           // signed
  int topOffset, charWidth, charHeight;
  int deltaX;
  long dataOffset;          // of the raster data in the file
};

struct SoftFont {
  int baseline, cellWidth, cellHeight, orientation, spacing, symbolSet;
  int firstCode, lastCode;
  long descriptorPos;
  double hmi;
  SoftFontChar chars[256];
};

// The whole file from the program directory into a pool buffer the caller
// frees (free_mem), or NULL after the message.
unsigned char* LoadFontFile(const char* name, long* size);
// Characters whose descriptor or raster data would run past the data are
// left out.
void ParseSoftFont(SoftFont* font, const unsigned char* data, long length);
// Renders the spool into PCL raster pages through the job's output; 0 or -1.
int RenderGraphicSpool(FILE* spool, FILE* output);
// The last rendering's longest raster row (bytes, before compression) and
// most raster rows on one page: the replay sizes its page bitmap by them.
struct GraphicRenderStats {
  int longestRowBytes;
  int mostRowsOnPage;
};
extern GraphicRenderStats LastRenderStats;
// Packs a raster row by PCL compression method 1; returns the packed length.
int CompressRowMethod1(const unsigned char* row, int count, unsigned char* out);
