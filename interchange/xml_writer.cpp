#include "interchange/xml_writer.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/session/field_text.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/temp_strings.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace {

constexpr size_t kFlushAt = 65536;
constexpr int kClosingNameMax = 80;

PlatFile out = PLAT_NO_FILE;
uint64_t written = 0;
std::string pending;
bool writeFailed = false;

void Flush() {
  if (pending.empty() || out == PLAT_NO_FILE) return;
  if (!writeFailed && PlatFileWrite(out, written, pending.data(), pending.size()) != PLAT_OK) writeFailed = true;
  written += pending.size();
  pending.clear();
}

void Put(const char* bytes, size_t n) {
  pending.append(bytes, n);
  if (pending.size() >= kFlushAt) Flush();
}

void Put(const std::string& s) { Put(s.data(), s.size()); }

// The UTF-8 bytes of one character of the system's set; a character without
// a UTF-8 form becomes the middle dot, so the file stays valid UTF-8.
int Utf8BytesOf(unsigned char c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  uint32_t bytes = static_cast<uint32_t>(MazToUtf8Char(c));
  if (bytes == c) bytes = 0xB7C2;
  int n = 0;
  for (; bytes; bytes >>= 8) out[n++] = static_cast<char>(bytes & 0xFF);
  return n;
}

void PutEscaped(const char* text) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; p++) {
    unsigned char c = *p;
    if (c < 0x80) {
      const char* entity = XmlEntityOf(c);
      if (entity)
        Put(entity, std::strlen(entity));
      else
        Put(reinterpret_cast<const char*>(p), 1);
      continue;
    }
    char bytes[4];
    Put(bytes, Utf8BytesOf(c, bytes));
  }
}

bool OnlyZeroSigns(const char* text) {
  for (const char* p = text; *p; p++)
    if (!std::strchr(" -.0", *p)) return false;
  return true;
}

}  // namespace

int XmlOpen(const char* path) {
  if (out != PLAT_NO_FILE) XmlClose();
  PlatFile file;
  if (!path || PlatFileOpen(EnvToDiskPath(path).c_str(), PLAT_READ_WRITE, PLAT_CREATE_ALWAYS, &file) != PLAT_OK) {
    ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, path ? path : "");
    return 0;
  }
  out = file;
  written = 0;
  pending.clear();
  writeFailed = false;
  Put(std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
  return 1;
}

int XmlClose() {
  if (out == PLAT_NO_FILE) return 0;
  Flush();
  bool ok = !writeFailed && PlatFileFlush(out) == PLAT_OK;
  PlatFileClose(out);
  out = PLAT_NO_FILE;
  return ok ? 0 : -1;
}

void XmlElement(int indent, int flags, const char* tag) {
  if (out == PLAT_NO_FILE || !tag) return;
  std::string line(indent > 0 ? indent : 0, '\t');
  if (flags & XML_OPEN) {
    line += "<" + std::string(tag) + ">";
  } else if (flags & XML_EMPTY) {
    line += "<" + std::string(tag) + "/>";
  } else {
    size_t n = std::strcspn(tag, " \t");
    if (n > kClosingNameMax) n = kClosingNameMax;
    line += "</" + std::string(tag, n) + ">";
  }
  if (!(flags & XML_NO_LF)) line += '\n';
  Put(line);
}

void XmlElement_m(int indent, int flags, const char* tag, int condition) {
  if (condition) XmlElement(indent, flags, tag);
}

char* XmlAttrTag(TextRef tag, TextRef attributes) {
  std::string joined = EnvFindString(tag);
  joined += ' ';
  joined += EnvFindString(attributes);
  return QuickStr(joined.c_str(), static_cast<int>(joined.size()), 0);
}

void XmlString(int indent, const char* tag, const char* text, int flags) {
  if (out == PLAT_NO_FILE) return;
  if (!text || !*text) {
    if (flags & XML_EMPTY_ELEMENT) XmlElement(indent, XML_EMPTY, tag);
    return;
  }
  if ((flags & XML_SKIP_ZERO) && OnlyZeroSigns(text)) return;
  XmlElement(indent, XML_OPEN | XML_NO_LF, tag);
  if (flags & XML_RAW)
    Put(text, std::strlen(text));
  else
    PutEscaped(text);
  XmlElement(0, 0, tag);
}

void XmlField(int indent, const char* tag, DbField* field, int flags) {
  if (out == PLAT_NO_FILE || !field) return;
  switch (f4type(field)) {
    case 'C': {
      if (FieldIsEmpty(field) && !(flags & XML_EMPTY_ELEMENT)) return;
      std::string text = FldQStr(field, (flags & XML_KEEP_CASE) ? QS_RTRIM : QS_RTRIM | QS_UPPER);
      XmlString(indent, tag, text.c_str(), flags);
      return;
    }
    case 'D': {
      if (FieldIsEmpty(field)) return;
      std::string date(f4ptr(field), 8);
      std::string text = DateFmtQStr(date.c_str(), "CCYY-MM-DD");
      XmlString(indent, tag, text.c_str(), flags);
      return;
    }
    case 'N': {
      if ((flags & XML_SKIP_EMPTY_NUMBER) && FieldIsEmpty(field)) return;
      double value = f4double(field);
      if (value == 0 && (flags & XML_EMPTY_ELEMENT)) {
        XmlElement(indent, XML_EMPTY, tag);
        return;
      }
      if (value == 0 && (flags & XML_SKIP_ZERO)) return;
      std::string text = DoubleQStr(value, 0, f4decimals(field) & 15);
      XmlString(indent, tag, text.c_str(), flags);
      return;
    }
    default:
      return;
  }
}

void XmlField_m(int indent, const char* tag, DbField* field, int flags, int condition) {
  if (condition) XmlField(indent, tag, field, flags);
}

void XmlFldWybor1(int indent, const char* tag, DbField* field, int position, int condition) {
  if (!condition || !field || position < 0 || static_cast<unsigned>(position) >= f4len(field)) return;
  if (f4ptr(field)[position] == 'T' || f4int(field) > 0) XmlString(indent, tag, "1", 0);
}

void XmlFldWybor2(int indent, const char* tag, DbField* field, int condition) {
  if (!condition || !field) return;
  switch (f4type(field)) {
    case 'C': {
      char first = f4ptr(field)[0];
      if (first == '1') XmlString(indent, tag, "1", 0);
      if (first == '2') XmlString(indent, tag, "2", 0);
      return;
    }
    case 'N': {
      // A negative value, or one between 0 and 1, writes nothing.
      double value = f4double(field);
      if (value == 1)
        XmlString(indent, tag, "1", 0);
      else if (value > 1)
        XmlString(indent, tag, "2", 0);
      return;
    }
    case 'D':
      ScreenMessageBox(SCREEN_BOX_WARNING, nullptr, "Error tylko pola C lub N");
      return;
    default:
      return;
  }
}

void StrConvMazToUTF8(const char* source, char* destination, int size) {
  if (size <= 0) return;
  if (size == 1) {
    destination[0] = 0;
    return;
  }
  // Two closing zero bytes always fit; a character goes in only whole.
  int room = size - 2, used = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(source); *p; p++) {
    char bytes[4];
    int n = Utf8BytesOf(*p, bytes);
    if (used + n > room) break;
    std::memcpy(destination + used, bytes, n);
    used += n;
  }
  destination[used] = 0;
  destination[used + 1] = 0;
}
