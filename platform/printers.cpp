#include "platform/printers.h"

#include <cairo-pdf.h>
#include <pango/pangocairo.h>
#include <cairo.h>
#include <cups/cups.h>
#include <cups/pwg.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"
#include "platform/plat_result.h"

namespace {

// Connects to the server CUPS_SERVER names at the moment of the call, so a
// changed variable takes effect; bounded wait.
http_t* ConnectCups() {
  cupsSetServer(nullptr);
  return httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
}

bool IsSocketName(const char* name, std::string* host, std::string* port) {
  const char* colon = std::strrchr(name, ':');
  if (colon == nullptr || colon == name || colon[1] == 0) return false;
  for (const char* p = colon + 1; *p; p++)
    if (*p < '0' || *p > '9') return false;
  host->assign(name, colon - name);
  port->assign(colon + 1);
  return true;
}

int OpenSocket(const std::string& host, const std::string& port) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return -1;
  int fd = -1;
  for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
    fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd >= 0 && connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
      close(fd);
      fd = -1;
    }
  }
  freeaddrinfo(found);
  return fd;
}

bool WriteAll(int fd, const void* data, size_t count) {
  const char* p = static_cast<const char*>(data);
  while (count > 0) {
    ssize_t n = write(fd, p, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

std::string TempPath(const char* suffix) {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/zelsal-print-XXXXXX" + suffix;
  int fd = mkstemps(path.data(), static_cast<int>(std::strlen(suffix)));
  if (fd < 0) return "";
  close(fd);
  return path;
}

bool QueueExists(const char* printer) {
  for (const std::string& name : PlatListPrinters())
    if (name == printer) return true;
  return false;
}

}  // namespace

std::vector<std::string> PlatListPrinters() {
  std::vector<std::string> names;
  if (http_t* http = ConnectCups()) {
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-name");
    if (ipp_t* response = cupsDoRequest(http, request, "/")) {
      for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        const char* name = ippGetName(a);
        if (name && std::strcmp(name, "printer-name") == 0 && ippGetString(a, 0, nullptr))
          names.emplace_back(ippGetString(a, 0, nullptr));
      }
      ippDelete(response);
    }
    // The user's default queue (lpoptions, $LPDEST, $PRINTER, else the
    // server's) first: the print dialog takes the first when none is stored.
    if (cups_dest_t* preferred = cupsGetNamedDest(http, nullptr, nullptr)) {
      auto at = std::find(names.begin(), names.end(), std::string(preferred->name));
      if (at != names.end()) std::rotate(names.begin(), at, at + 1);
      cupsFreeDests(1, preferred);
    }
    httpClose(http);
  }
  if (const char* extra = std::getenv("ZELSAL_PRINTERS")) {
    std::string list = extra;
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(';', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) names.push_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  return names;
}

int PlatIsRawDevice(const char* printer) {
  std::string host, port;
  return printer[0] == '/' || IsSocketName(printer, &host, &port) ? 1 : 0;
}

void PlatDefaultCaps(PlatPrinterCaps* caps) {
  *caps = PlatPrinterCaps{};
  std::snprintf(caps->media, sizeof caps->media, "iso_a4_210x297mm");
  caps->dpiX = caps->dpiY = 300;
  caps->widthMm = 210;
  caps->heightMm = 297;
}

int PlatPrinterCapabilities(const char* printer, PlatPrinterCaps* caps) {
  PlatDefaultCaps(caps);
  if (printer == nullptr || PlatIsRawDevice(printer)) return -1;
  http_t* http = ConnectCups();
  if (http == nullptr) return -1;
  char uri[1024];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0, "/printers/%s", printer);
  ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  static const char* const wanted[] = {"media-default", "media-col-default", "printer-resolution-default"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
  ipp_t* response = cupsDoRequest(http, request, "/");
  httpClose(http);
  if (response == nullptr || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING) {
    ippDelete(response);
    return -1;
  }
  if (ipp_attribute_t* media = ippFindAttribute(response, "media-default", IPP_TAG_ZERO)) {
    const char* name = ippGetString(media, 0, nullptr);
    pwg_media_t* pwg = name ? pwgMediaForPWG(name) : nullptr;
    if (pwg == nullptr && name) pwg = pwgMediaForLegacy(name);
    if (pwg) {
      std::snprintf(caps->media, sizeof caps->media, "%s", pwg->pwg);
      caps->widthMm = pwg->width / 100.0;
      caps->heightMm = pwg->length / 100.0;
    }
  }
  if (ipp_attribute_t* col = ippFindAttribute(response, "media-col-default", IPP_TAG_BEGIN_COLLECTION)) {
    ipp_t* value = ippGetCollection(col, 0);
    struct {
      const char* name;
      double* target;
    } margins[] = {{"media-left-margin", &caps->leftMm},
                   {"media-top-margin", &caps->topMm},
                   {"media-right-margin", &caps->rightMm},
                   {"media-bottom-margin", &caps->bottomMm}};
    for (auto& m : margins)
      if (ipp_attribute_t* a = ippFindAttribute(value, m.name, IPP_TAG_INTEGER)) *m.target = ippGetInteger(a, 0) / 100.0;
  }
  if (ipp_attribute_t* res = ippFindAttribute(response, "printer-resolution-default", IPP_TAG_RESOLUTION)) {
    ipp_res_t units;
    int y = 0;
    int x = ippGetResolution(res, 0, &y, &units);
    if (units == IPP_RES_PER_CM) {
      x = static_cast<int>(x * 2.54 + 0.5);
      y = static_cast<int>(y * 2.54 + 0.5);
    }
    if (x > 0 && y > 0) {
      caps->dpiX = x;
      caps->dpiY = y;
    }
  }
  ippDelete(response);
  return 0;
}

// ---- raw jobs

struct PlatRawJob {
  int fd = -1;
  bool toQueue = false;
  std::string printer, title, spoolPath;
};

PlatRawJob* PlatRawJobOpen(const char* printer, const char* title) {
  auto* job = new PlatRawJob;
  job->printer = printer;
  job->title = title ? title : "";
  std::string host, port;
  if (printer[0] == '/') {
    job->fd = open(printer, O_WRONLY | O_CLOEXEC | O_NOCTTY);
  } else if (IsSocketName(printer, &host, &port)) {
    job->fd = OpenSocket(host, port);
  } else if (QueueExists(printer)) {
    job->toQueue = true;
    job->spoolPath = TempPath(".prn");
    if (!job->spoolPath.empty()) job->fd = open(job->spoolPath.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  }
  if (job->fd < 0) {
    PlatFailErrno(errno, printer);
    if (!job->spoolPath.empty()) unlink(job->spoolPath.c_str());
    delete job;
    return nullptr;
  }
  return job;
}

int PlatRawJobWrite(PlatRawJob* job, const void* data, size_t count) {
  return job && WriteAll(job->fd, data, count) ? 0 : -1;
}

int PlatRawJobClose(PlatRawJob* job, bool cancel) {
  if (job == nullptr) return 0;
  int result = close(job->fd) == 0 ? 0 : -1;
  if (job->toQueue) {
    if (!cancel && result == 0) result = PlatPrintFile(job->printer.c_str(), job->spoolPath.c_str(), job->title.c_str(), true);
    unlink(job->spoolPath.c_str());
  }
  delete job;
  return result;
}

int PlatPrintFile(const char* printer, const char* path, const char* title, bool raw) {
  http_t* http = ConnectCups();
  if (http == nullptr) {
    PlatFail(PLAT_IO, "CUPS cannot be reached");
    return -1;
  }
  cups_option_t* options = nullptr;
  int count = raw ? cupsAddOption("raw", "true", 0, &options) : 0;
  int id = cupsPrintFile2(http, printer, path, title && *title ? title : "Zelsal", count, options);
  cupsFreeOptions(count, options);
  httpClose(http);
  if (id <= 0) {
    PlatFail(PLAT_IO, cupsLastErrorString());
    return -1;
  }
  return 0;
}

// ---- page documents

struct PlatPageDoc {
  PlatFile file = PLAT_NO_FILE;
  uint64_t written = 0;
  bool writeFailed = false;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  PlatPrinterCaps caps{};
  bool landscape = false;
  bool pageDrawn = false;
  int pages = 0;
  std::string printer, title, path;
};

namespace {

// The PDF goes out through the file service, so a full disk or a refused
// folder is known by its cause (and the test hook of the file service holds).
cairo_status_t WriteDocBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* doc = static_cast<PlatPageDoc*>(closure);
  if (doc->writeFailed) return CAIRO_STATUS_WRITE_ERROR;
  if (PlatFileWrite(doc->file, doc->written, data, length) != PLAT_OK) {
    doc->writeFailed = true;
    return CAIRO_STATUS_WRITE_ERROR;
  }
  doc->written += length;
  return CAIRO_STATUS_SUCCESS;
}

// The result of a drawing call; a failure other than the file's own leaves
// no stale cause behind it.
int DocResult(PlatPageDoc* doc, cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS) return 0;
  if (!doc->writeFailed) PlatFail(PLAT_IO, cairo_status_to_string(status));
  return -1;
}

}  // namespace

PlatPageDoc* PlatPageDocOpen(const char* printer, const char* outputPath, const PlatPrinterCaps* caps,
                             bool landscape, const char* title) {
  auto* doc = new PlatPageDoc;
  doc->caps = *caps;
  doc->landscape = landscape;
  doc->title = title ? title : "";
  if (printer) doc->printer = printer;
  doc->path = outputPath ? outputPath : TempPath(".pdf");
  double w = caps->widthMm / 25.4 * 72, h = caps->heightMm / 25.4 * 72;
  if (landscape) std::swap(w, h);
  if (doc->path.empty() || PlatFileOpen(doc->path.c_str(), PLAT_WRITE, PLAT_CREATE_ALWAYS, &doc->file) != PLAT_OK) {
    delete doc;
    return nullptr;
  }
  doc->surface = cairo_pdf_surface_create_for_stream(WriteDocBytes, doc, w, h);
  if (DocResult(doc, cairo_surface_status(doc->surface)) != 0) {
    cairo_surface_destroy(doc->surface);
    PlatFileClose(doc->file);
    if (outputPath == nullptr) unlink(doc->path.c_str());
    delete doc;
    return nullptr;
  }
  cairo_pdf_surface_set_metadata(doc->surface, CAIRO_PDF_METADATA_TITLE, doc->title.c_str());
  doc->cr = cairo_create(doc->surface);
  return doc;
}

int PlatPageDocBitmap(PlatPageDoc* doc, const uint8_t* bits, int width, int height, int stride, double x, double y,
                      double w, double h) {
  if (doc == nullptr || width <= 0 || height <= 0) return -1;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A1, width, height);
  if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(mask);
    return -1;
  }
  cairo_surface_flush(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);
  const int maskStride = cairo_image_surface_get_stride(mask);
  const int bytes = (width + 7) / 8;
  for (int row = 0; row < height; row++) {
    const uint8_t* from = bits + static_cast<size_t>(row) * stride;
    unsigned char* to = data + static_cast<size_t>(row) * maskStride;
    for (int i = 0; i < bytes; i++) {
      // Ink is a clear bit; cairo's one-bit pixels follow the machine's word
      // order, so on little-endian the leftmost dot is the lowest bit.
      uint8_t ink = static_cast<uint8_t>(~from[i]);
      if (std::endian::native == std::endian::little) {
        ink = static_cast<uint8_t>((ink & 0xF0) >> 4 | (ink & 0x0F) << 4);
        ink = static_cast<uint8_t>((ink & 0xCC) >> 2 | (ink & 0x33) << 2);
        ink = static_cast<uint8_t>((ink & 0xAA) >> 1 | (ink & 0x55) << 1);
      }
      to[i] = ink;
    }
  }
  cairo_surface_mark_dirty(mask);
  const double unitX = 72.0 / doc->caps.dpiX, unitY = 72.0 / doc->caps.dpiY;
  const double edgeX = (doc->landscape ? doc->caps.topMm : doc->caps.leftMm) / 25.4 * 72;
  const double edgeY = (doc->landscape ? doc->caps.leftMm : doc->caps.topMm) / 25.4 * 72;
  cairo_save(doc->cr);
  cairo_translate(doc->cr, edgeX + x * unitX, edgeY + y * unitY);
  cairo_scale(doc->cr, w * unitX / width, h * unitY / height);
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(mask);
  cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
  cairo_set_source_rgb(doc->cr, 0, 0, 0);
  cairo_mask(doc->cr, pattern);
  cairo_pattern_destroy(pattern);
  cairo_restore(doc->cr);
  cairo_surface_destroy(mask);
  doc->pageDrawn = true;
  return cairo_status(doc->cr) == CAIRO_STATUS_SUCCESS ? 0 : -1;
}

int PlatPageDocText(PlatPageDoc* doc, const char* utf8, double x, double y, const PlatTextStyle* style) {
  if (doc == nullptr || utf8 == nullptr || style == nullptr) return -1;
  const double unitX = 72.0 / doc->caps.dpiX, unitY = 72.0 / doc->caps.dpiY;
  const double edgeX = (doc->landscape ? doc->caps.topMm : doc->caps.leftMm) / 25.4 * 72;
  const double edgeY = (doc->landscape ? doc->caps.leftMm : doc->caps.topMm) / 25.4 * 72;
  cairo_save(doc->cr);
  cairo_translate(doc->cr, edgeX, edgeY);
  cairo_scale(doc->cr, unitX, unitY);
  PangoLayout* layout = pango_cairo_create_layout(doc->cr);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, style->face ? style->face : "serif");
  pango_font_description_set_weight(font, style->bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, style->italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  // Sized so that the em box is the asked character height.
  pango_font_description_set_absolute_size(font, std::max(1.0, style->height) * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, utf8, -1);
  if (style->wrapWidth > 0) {
    pango_layout_set_width(layout, static_cast<int>(style->wrapWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
  }
  int width = 0, height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  double left = x;
  if (style->align == 1) left = x - width;
  if (style->align == 2) left = x - width / 2.0;
  cairo_set_source_rgb(doc->cr, style->red / 255.0, style->green / 255.0, style->blue / 255.0);
  cairo_move_to(doc->cr, left, y);
  pango_cairo_show_layout(doc->cr, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_restore(doc->cr);
  doc->pageDrawn = true;
  return cairo_status(doc->cr) == CAIRO_STATUS_SUCCESS ? 0 : -1;
}

int PlatPageDocEndPage(PlatPageDoc* doc) {
  if (doc == nullptr) return -1;
  cairo_show_page(doc->cr);
  doc->pageDrawn = false;
  doc->pages++;
  return DocResult(doc, cairo_status(doc->cr));
}

int PlatPageDocClose(PlatPageDoc* doc, bool cancel) {
  if (doc == nullptr) return 0;
  if (doc->pageDrawn) PlatPageDocEndPage(doc);
  cairo_destroy(doc->cr);
  cairo_surface_finish(doc->surface);
  int result = DocResult(doc, cairo_surface_status(doc->surface));
  cairo_surface_destroy(doc->surface);
  PlatFileClose(doc->file);
  if (!doc->printer.empty()) {
    // A document without pages sends nothing.
    if (!cancel && result == 0 && doc->pages > 0)
      result = PlatPrintFile(doc->printer.c_str(), doc->path.c_str(), doc->title.c_str(), false);
    unlink(doc->path.c_str());
  }
  delete doc;
  return result;
}
