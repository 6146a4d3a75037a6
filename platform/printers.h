// Printers: the CUPS queues and the extra raw devices named in
// ZELSAL_PRINTERS, their media and resolution, raw jobs (a CUPS raw job, a
// device path or a "host:port" socket), and page documents drawn with cairo
// into a PDF that goes to a queue or stays in a file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PlatPrinterCaps {
  char media[64];
  int dpiX, dpiY;
  double widthMm, heightMm;                   // the sheet
  double leftMm, topMm, rightMm, bottomMm;    // the unprintable edges
};

// The CUPS queues, then the entries of ZELSAL_PRINTERS (separated by ';').
std::vector<std::string> PlatListPrinters();
// 1 for a device path ("/...") or a socket ("host:port"), 0 for a queue name.
int PlatIsRawDevice(const char* printer);
// The printer's default media, margins and resolution: 0; -1 when it cannot
// be asked, with A4, no margins and 300 dpi filled in.
int PlatPrinterCapabilities(const char* printer, PlatPrinterCaps* caps);
void PlatDefaultCaps(PlatPrinterCaps* caps);

// A raw job: to a queue the bytes are collected and sent as one raw job when
// it is closed; to a device or socket they go out as they are written.
struct PlatRawJob;
// NULL when the queue is unknown or the device cannot be opened.
PlatRawJob* PlatRawJobOpen(const char* printer, const char* title);
// 0 when every byte was taken, -1 otherwise.
int PlatRawJobWrite(PlatRawJob* job, const void* data, size_t count);
// Sends the job (unless `cancel`) and frees it; 0 or -1.
int PlatRawJobClose(PlatRawJob* job, bool cancel);
// Sends a finished file to a queue: raw bytes or a PDF. 0 or -1.
int PlatPrintFile(const char* printer, const char* path, const char* title, bool raw);

// Page documents: device units are the caps' dots; the page is the sheet,
// positions count from the printable area's corner. Landscape turns the sheet.
struct PlatPageDoc;
// With a printer the PDF is sent to it when the document is closed; with an
// output path it is written there. NULL when the document cannot be made.
PlatPageDoc* PlatPageDocOpen(const char* printer, const char* outputPath, const PlatPrinterCaps* caps,
                             bool landscape, const char* title);
// A one-bit image (rows of `stride` bytes, leftmost dot in the most
// significant bit, a set bit white) stretched over x, y, w, h device units.
int PlatPageDocBitmap(PlatPageDoc* doc, const uint8_t* bits, int width, int height, int stride, double x,
                      double y, double w, double h);
// A text (UTF-8) drawn with the font that fontconfig finds for the face:
// `height` device units tall (the character height, without internal
// leading), `align` 0 from x, 1 ending at x, 2 centred on x; with a wrap
// width above 0 the words wrap at it. y is the top of the text.
struct PlatTextStyle {
  const char* face;
  double height;
  bool bold, italic;
  uint8_t red, green, blue;
  int align;
  double wrapWidth;
};
int PlatPageDocText(PlatPageDoc* doc, const char* utf8, double x, double y, const PlatTextStyle* style);
int PlatPageDocEndPage(PlatPageDoc* doc);
// Finishes, sends or keeps the PDF, frees the document; 0 or -1.
int PlatPageDocClose(PlatPageDoc* doc, bool cancel);
