#include "interchange/xml_reader.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <string>

#include "db/dbf_table.h"
#include "env/charset_map.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/error_log.h"
#include "env/session/field_text.h"
#include "env/memory.h"
#include "env/paths.h"
#include "platform/files.h"
#include "platform/screen_hook.h"

namespace {

// Tokens.
constexpr int T_END = 0;              // end of the buffer
constexpr int T_BAD = -1;
constexpr int T_ELEMENT_START = 1;
constexpr int T_CONTENT_END = 2;
constexpr int T_ELEMENT_END = 3;
constexpr int T_ATTR_NAME = 4;
constexpr int T_ATTR_VALUE = 6;
constexpr int T_START_TAG_END = 10;

// States.
enum : uint16_t {
  S_CONTENT = 0,
  S_AFTER_LT = 1,
  S_EXPECT_GT = 2,
  S_BEFORE_NAME = 3,
  S_TAG_NAME = 4,
  S_IN_TAG = 5,
  S_ATTR_NAME = 6,
  S_EXPECT_EQ = 7,
  S_EXPECT_QUOTE = 8,
  S_ATTR_VALUE = 9,
  S_CDATA = 10,
  S_CDATA_DONE = 11,
  S_COMMENT = 12,
  S_COMMENT_DONE = 13,
  S_END_TAG_TAIL = 14,   // blanks after the name of a closing tag
};

// Zero bytes after the loaded file, so that a UTF-8 sequence read at the end
// of the buffer stops there.
constexpr int kPadding = 4;

bool NameStart(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ':' || c == '_' || c >= 0x80; }
bool NameChar(unsigned char c) { return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }
bool Blank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool Follows(const XmlNode* n, int at, const char* text) {
  int len = static_cast<int>(std::strlen(text));
  return at + len <= n->size && std::memcmp(n->buffer + at, text, len) == 0;
}

void Reset(XmlNode* n) {
  n->state = S_CONTENT;
  n->content = {n->buffer + n->position, 0};
  n->flags &= ~XML_NODE_CLOSING;
}

// Passes over "<!DOCTYPE ...>" and other declarations, an internal subset in
// brackets and quoted texts included; the '!' has just been read.
void SkipDeclaration(XmlNode* n) {
  int brackets = 0;
  char quote = 0;
  while (n->position < n->size) {
    char c = n->buffer[n->position++];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '[') {
      brackets++;
    } else if (c == ']') {
      if (brackets > 0) brackets--;
    } else if (c == '>' && brackets == 0) {
      Reset(n);
      return;
    }
  }
}

// Reads bytes until a token; every byte read is consumed.
int NextToken(XmlNode* n) {
  while (n->position < n->size) {
    if (n->state == S_CDATA_DONE || n->state == S_COMMENT_DONE) {
      Reset(n);
      continue;
    }
    const int at = n->position;
    const unsigned char c = static_cast<unsigned char>(n->buffer[n->position++]);
    if (c == 0) return T_BAD;
    switch (n->state) {
      case S_CONTENT:
        if (c == '<')
          n->state = S_AFTER_LT;
        else
          n->content.length++;
        break;
      case S_AFTER_LT:
      case S_BEFORE_NAME:
        if (n->state == S_AFTER_LT && c == '?') {
          n->state = S_BEFORE_NAME;
          n->flags |= XML_NODE_IN_PI;
        } else if (n->state == S_AFTER_LT && c == '/') {
          n->state = S_BEFORE_NAME;
          n->flags |= XML_NODE_CLOSING;
          return T_CONTENT_END;
        } else if (n->state == S_AFTER_LT && c == '!') {
          if (Follows(n, n->position, "[CDATA[")) {
            n->position += 7;
            n->state = S_CDATA;
            n->content = {n->buffer + n->position, 0};
          } else if (Follows(n, n->position, "--")) {
            n->position += 2;
            n->state = S_COMMENT;
            n->content = {n->buffer + n->position, 0};
          } else {
            SkipDeclaration(n);
          }
        } else if (NameStart(c)) {
          n->state = S_TAG_NAME;
          n->name = {n->buffer + at, 1};
        }
        break;
      case S_EXPECT_GT:
        if (c != '>') return T_BAD;
        Reset(n);
        break;
      case S_TAG_NAME:
        if (NameChar(c)) {
          n->name.length++;
        } else if (Blank(c) || c == '\r') {
          if (n->flags & XML_NODE_CLOSING) {
            n->state = S_END_TAG_TAIL;
            break;
          }
          n->state = S_IN_TAG;
          if (!(n->flags & XML_NODE_IN_PI)) n->depth++;
          return T_ELEMENT_START;
        } else if (c == '/') {
          if (n->flags & XML_NODE_CLOSING) return T_BAD;
          n->flags |= XML_NODE_CLOSING;
          n->depth++;
          return T_ELEMENT_START;
        } else if (c == '>') {
          bool closing = n->flags & XML_NODE_CLOSING;
          bool instruction = n->flags & XML_NODE_IN_PI;
          Reset(n);
          if (instruction) {
            // "<?name?>" without attributes opens no element.
            n->flags &= ~XML_NODE_IN_PI;
            break;
          }
          if (closing) {
            n->depth--;
            return T_ELEMENT_END;
          }
          n->depth++;
          return T_ELEMENT_START;
        }
        break;
      case S_END_TAG_TAIL:
        if (Blank(c) || c == '\r') break;
        if (c != '>') return T_BAD;
        Reset(n);
        n->depth--;
        return T_ELEMENT_END;
      case S_IN_TAG:
        if (NameStart(c)) {
          n->state = S_ATTR_NAME;
          n->attrName = {n->buffer + at, 1};
        } else if (c == '?') {
          n->state = S_EXPECT_GT;
          n->flags &= ~XML_NODE_IN_PI;
        } else if (c == '/') {
          n->state = S_EXPECT_GT;
          n->depth--;
          return T_ELEMENT_END;
        } else if (c == '>') {
          Reset(n);
          return T_START_TAG_END;
        }
        break;
      case S_ATTR_NAME:
        if (NameChar(c)) {
          n->attrName.length++;
        } else {
          n->state = c == '=' ? S_EXPECT_QUOTE : S_EXPECT_EQ;
          return T_ATTR_NAME;
        }
        break;
      case S_EXPECT_EQ:
        if (c == '=')
          n->state = S_EXPECT_QUOTE;
        else if (!Blank(c) && c != '\r')
          return T_BAD;
        break;
      case S_EXPECT_QUOTE:
        if (c == '"' || c == '\'') {
          n->state = S_ATTR_VALUE;
          n->quote = static_cast<char>(c);
          n->attrValue = {n->buffer + n->position, 0};
        } else if (!Blank(c) && c != '\r') {
          return T_BAD;
        }
        break;
      case S_ATTR_VALUE:
        if (c == static_cast<unsigned char>(n->quote)) {
          n->state = S_IN_TAG;
          return T_ATTR_VALUE;
        }
        n->attrValue.length++;
        break;
      case S_CDATA:
        if (c == ']' && Follows(n, n->position, "]>")) {
          n->position += 2;
          n->state = S_CDATA_DONE;
          return T_CONTENT_END;
        }
        n->content.length++;
        break;
      case S_COMMENT:
        if (c == '-' && Follows(n, n->position, "->")) {
          n->position += 2;
          n->state = S_COMMENT_DONE;
          return T_CONTENT_END;
        }
        n->content.length++;
        break;
    }
  }
  return T_END;
}

bool SameSlice(XmlSlice a, XmlSlice b) { return a.length == b.length && std::memcmp(a.text, b.text, a.length) == 0; }

bool NameIs(XmlSlice name, const char* wanted, int flags) {
  if (flags & XML_IGNORE_PREFIX) {
    const void* colon = std::memchr(name.text, ':', name.length);
    if (colon) {
      int skip = static_cast<int>(static_cast<const char*>(colon) - name.text) + 1;
      name = {name.text + skip, name.length - skip};
    }
  }
  return name.length == static_cast<int32_t>(std::strlen(wanted)) && std::memcmp(name.text, wanted, name.length) == 0;
}

// One character reference "&#...;" at `p` (within `end`): its byte in the
// system's set and its length; 0 when there is none.
int CharacterReference(const char* p, const char* end, unsigned char* out) {
  if (end - p < 4 || p[0] != '&' || p[1] != '#') return 0;
  bool hex = p[2] == 'x' || p[2] == 'X';
  const char* digits = p + (hex ? 3 : 2);
  const char* semi = static_cast<const char*>(std::memchr(digits, ';', end - digits));
  if (!semi || semi == digits || semi - digits > 8) return 0;
  unsigned long code = 0;
  auto r = std::from_chars(digits, semi, code, hex ? 16 : 10);
  if (r.ptr != semi || code == 0 || code > 0x10FFFF) return 0;
  int c = CharsetFromUnicode(static_cast<char32_t>(code));
  *out = c < 0 ? 255 : static_cast<unsigned char>(c);
  return static_cast<int>(semi - p) + 1;
}

// The slice in the system's set: UTF-8 sequences one at a time, CR and LF as
// blanks, at most size - 1 characters; then one pass over the references.
void CopyOut(XmlSlice slice, char* buffer, int size) {
  if (!buffer || size <= 0) return;
  std::string text;
  const char* p = slice.text;
  const char* end = slice.text + slice.length;
  while (p < end && static_cast<int>(text.size()) < size - 1) {
    unsigned char c;
    p = Utf8ToMazChar(p, &c);
    text += (c == '\r' || c == '\n') ? ' ' : static_cast<char>(c);
  }
  static const struct {
    const char* entity;
    char c;
  } entities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&apos;", '\''}, {"&quot;", '"'}};
  int n = 0;
  const char* t = text.data();
  const char* tEnd = t + text.size();
  while (t < tEnd) {
    int used = 0;
    if (*t == '&') {
      for (const auto& e : entities) {
        size_t len = std::strlen(e.entity);
        if (static_cast<size_t>(tEnd - t) >= len && std::memcmp(t, e.entity, len) == 0) {
          buffer[n++] = e.c;
          used = static_cast<int>(len);
          break;
        }
      }
      unsigned char c;
      if (!used && (used = CharacterReference(t, tEnd, &c)) > 0) buffer[n++] = static_cast<char>(c);
    }
    if (!used) {
      buffer[n++] = *t;
      used = 1;
    }
    t += used;
  }
  buffer[n] = '\0';
}

// The content of the element the node stands in, converted; false when the
// buffer ended first. An empty element ("<a/>") has an empty content.
bool Content(const XmlNode* node, char* buffer, int size) {
  XmlNode n = *node;
  if (buffer && size > 0) buffer[0] = '\0';
  for (;;) {
    int t = NextToken(&n);
    if (t == T_END) return false;
    if (t == T_CONTENT_END) {
      CopyOut(n.content, buffer, size);
      return true;
    }
    if (t == T_ELEMENT_END && n.depth == node->depth - 1) return true;
  }
}

// The yes/no letter of a content: 'N', 'T', or ' ' after a log entry.
int BoolOf(const XmlNode* node, const char* text, char* out) {
  if (text[0] == '0' || text[0] == 'F' || text[0] == 'f') {
    *out = 'N';
    return 1;
  }
  if (text[0] == '1' || text[0] == 'T' || text[0] == 't') {
    *out = 'T';
    return 1;
  }
  *out = ' ';
  std::string parent(node->parent.text ? node->parent.text : "", node->parent.length > 40 ? 40 : node->parent.length);
  std::string element(node->element.text ? node->element.text : "", node->element.length > 40 ? 40 : node->element.length);
  ErrLogMessage(EL_FORMAT, LOG_XML_BAD_BOOL, " <%s>..<%s>%s</>", parent.c_str(), element.c_str(), text);
  return 0;
}

double ParseDouble(const char* text) {
  const char* p = text;
  while (*p == ' ' || *p == '\t') p++;
  if (*p == '+') p++;
  double value = 0;
  std::from_chars(p, p + std::strlen(p), value, std::chars_format::general);
  return value;
}

}  // namespace

int XmlParseLoad(XmlNode* root, const char* path) {
  std::memset(root, 0, sizeof *root);
  PlatFile file;
  if (!path || PlatFileOpen(EnvToDiskPath(path).c_str(), PLAT_READ, PLAT_OPEN_EXISTING, &file) != PLAT_OK) {
    ScreenMessageBox(SCREEN_BOX_ALARM, nullptr, path ? path : "");
    return 0;
  }
  uint64_t length = 0;
  char* buffer = nullptr;
  size_t done = 0;
  bool ok = PlatFileLength(file, &length) == PLAT_OK && length < 0x7FFFFFF0u &&
            (buffer = static_cast<char*>(u4alloc(length + kPadding))) != nullptr &&
            PlatFileRead(file, 0, buffer, length, &done) == PLAT_OK && done == length;
  PlatFileClose(file);
  if (!ok) {
    u4free(buffer);
    return 0;
  }
  root->buffer = buffer;
  root->size = static_cast<int32_t>(length);
  root->content = {buffer, 0};
  return 1;
}

void XmlParseFree(XmlNode* root) {
  u4free(root->buffer);
  root->buffer = nullptr;
  root->size = 0;
}

int XmlFindFirst(const XmlNode* parent, const char* name, XmlNode* result, int flags) {
  *result = *parent;
  if (!name || !parent->buffer) return 0;
  for (;;) {
    int t = NextToken(result);
    if (t == T_END) return 0;
    if (t == T_ELEMENT_START && result->depth == parent->depth + 1 && NameIs(result->name, name, flags)) {
      result->element = result->name;
      result->parent = parent->element;
      return 1;
    }
    if (t == T_ELEMENT_END && result->depth == parent->depth - 1 && SameSlice(result->name, parent->element)) return 0;
  }
}

int XmlFindNext(XmlNode* node) {
  if (!node->buffer) return 0;
  XmlNode n = *node;
  for (;;) {
    int t = NextToken(&n);
    if (t == T_END) return 0;
    if (t == T_ELEMENT_START && n.depth == node->depth && SameSlice(n.name, node->element)) {
      n.element = n.name;
      *node = n;
      return 1;
    }
    if (t == T_ELEMENT_END && n.depth == node->depth - 2 && SameSlice(n.name, node->parent)) return 0;
  }
}

int XmlGetAttr(const XmlNode* node, const char* name, char* buffer, int size) {
  if (buffer && size > 0) buffer[0] = '\0';
  if (!name || !node->buffer) return 0;
  XmlNode n = *node;
  // Only a node standing inside its start tag has attributes left to read.
  if (n.state != S_IN_TAG && n.state != S_ATTR_NAME && n.state != S_EXPECT_EQ && n.state != S_EXPECT_QUOTE &&
      n.state != S_ATTR_VALUE)
    return 0;
  bool matched = false;
  for (;;) {
    int t = NextToken(&n);
    if (t == T_END || t == T_START_TAG_END || t == T_ELEMENT_END || t == T_ELEMENT_START || t == T_CONTENT_END) return 0;
    if (t == T_ATTR_NAME) matched = NameIs(n.attrName, name, 0);
    if (t == T_ATTR_VALUE && matched) {
      CopyOut(n.attrValue, buffer, size);
      return 1;
    }
  }
}

int XmlGetContentStr(const XmlNode* node, char* buffer, int size) {
  if (!node->buffer) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return Content(node, buffer, size) ? 1 : 0;
}

int XmlGetContentInt(const XmlNode* node, int32_t* out) {
  char text[32];
  *out = 0;
  if (!XmlGetContentStr(node, text, sizeof text)) return 0;
  *out = static_cast<int32_t>(std::strtol(text, nullptr, 10));
  return 1;
}

int XmlGetContentDbl(const XmlNode* node, double* out) {
  char text[32];
  *out = 0;
  if (!XmlGetContentStr(node, text, sizeof text)) return 0;
  *out = ParseDouble(text);
  return 1;
}

int XmlGetContentDate(const XmlNode* node, char* out) {
  char text[16];
  std::memset(out, ' ', 8);
  out[8] = '\0';
  if (!XmlGetContentStr(node, text, sizeof text)) return 0;
  date4parse_picture(text, "CCYY-MM-DD", out);
  out[8] = '\0';
  return 1;
}

int XmlGetContentBool(const XmlNode* node, char* out) {
  char text[16];
  *out = ' ';
  if (!XmlGetContentStr(node, text, sizeof text)) return 0;
  return BoolOf(node, text, out);
}

int XmlGetContentFld(const XmlNode* node, DbField* field, int flags) {
  if (!field) return 0;
  char text[256];
  switch (f4type(field)) {
    case 'C':
      if (!XmlGetContentStr(node, text, sizeof text)) return 0;
      if (flags & XML_FIELD_BOOL) {
        char letter;
        int r = BoolOf(node, text, &letter);
        f4assign_ptr(field)[0] = letter;
        return r;
      }
      FldCopyString(field, text);
      return 1;
    case 'D': {
      char date[9];
      if (!XmlGetContentDate(node, date)) return 0;
      std::memcpy(f4assign_ptr(field), date, f4len(field) < 8 ? f4len(field) : 8);
      return 1;
    }
    case 'N':
      if (!XmlGetContentStr(node, text, sizeof text)) return 0;
      ToFieldCopyDouble(field, ParseDouble(text));
      return 1;
    default:
      return 0;
  }
}

int XmlFindContentStr(const XmlNode* parent, const char* name, char* buffer, int size, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  return XmlGetContentStr(&n, buffer, size);
}

int XmlFindContentInt(const XmlNode* parent, const char* name, int32_t* out, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) return 0;
  return XmlGetContentInt(&n, out);
}

int XmlFindContentDbl(const XmlNode* parent, const char* name, double* out, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) return 0;
  return XmlGetContentDbl(&n, out);
}

int XmlFindContentDate(const XmlNode* parent, const char* name, char* out, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) return 0;
  return XmlGetContentDate(&n, out);
}

int XmlFindContentFld(const XmlNode* parent, const char* name, DbField* field, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) return 0;
  return XmlGetContentFld(&n, field, flags);
}

int XmlFindContentBool(const XmlNode* parent, const char* name, char* out, int flags) {
  XmlNode n;
  if (!XmlFindFirst(parent, name, &n, flags)) return 0;
  return XmlGetContentBool(&n, out);
}
