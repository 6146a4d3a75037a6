// The drawing back end of layout printing: texts drawn on the job's page
// document with the faces and colours of the layout's text attributes, the
// grid of 79 x 63 cells and millimetre positions from the margin corner.
#pragma once
#include <cstdint>
#include <string>

struct PrintLayoutCtx;

struct LayoutTextAttributes {
  bool sizeInPoints;   // else tenths of a millimetre
  int size;
  char bold, italic;   // '+' or '-'
  std::string face;
  char colour;         // colour letter
};

struct LayoutDrawing {
  double cellWidth, cellHeight;       // device units
  double unitsPerMmX, unitsPerMmY;
  double unitsPerPoint;
  double penUnit;                     // device units of a tenth of a millimetre
  double originX, originY;            // the margin corner from the printable corner
  LayoutTextAttributes defaults, current;
  std::string title;
};
extern LayoutDrawing Drawing;

void SetUpDrawing(const char* title);
// Starts the page (and the document where one is due); 0, or -1 logged.
int BeginDrawingPage();
int EndDrawingPage();
void DrawText(PrintLayoutCtx* ctx, const char* text, int flags);
// Red, green and blue of a colour letter; other letters are logged and black.
void ColourOfLetter(char letter, uint8_t* red, uint8_t* green, uint8_t* blue);
