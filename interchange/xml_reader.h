// The XML reader: a whole file loaded into memory and walked with cursor
// records (XmlNode) copied by value. Find the first or next child element of
// a name, read an attribute, read the text content as a text, number, date,
// yes/no value or straight into a table field; UTF-8 and character
// references come back in the system's character set. No tree is built and
// nothing is validated; a damaged spot costs only the bytes it spoils.
#pragma once
#include <cstdint>

struct DbField;

struct XmlSlice {
  const char* text;     // into the root's buffer; not NUL-terminated
  int32_t length;
};

struct XmlNode {
  int32_t size;          // bytes in the loaded buffer
  int32_t position;      // next byte to read
  uint16_t state;        // tokenizer state
  uint16_t flags;        // XML_NODE_* bits
  XmlSlice name;         // the last tag name read
  XmlSlice attrName;     // the last attribute name read
  XmlSlice attrValue;    // the last attribute value read (without quotes)
  XmlSlice content;      // text since the last ">" (or a CDATA section's or comment's body)
  XmlSlice element;      // the element this node stands for (empty for the root)
  XmlSlice parent;       // the element it was found in
  int32_t depth;         // element nesting; the root has 0
  char quote;            // of the attribute value being read
  char* buffer;          // the file's bytes; owned by the root
};

constexpr uint16_t XML_NODE_IN_PI = 0x0001;     // inside "<?...?>"
constexpr uint16_t XML_NODE_CLOSING = 0x0002;   // closing tag or '/' seen

// XmlFindFirst flags.
constexpr int XML_IGNORE_PREFIX = 0x2;          // "ns:Name" is found as "Name"
// XmlGetContentFld and XmlFindContentFld flags.
constexpr int XML_FIELD_BOOL = 0x1;             // a C field takes the yes/no letter in its first byte

constexpr int LOG_XML_BAD_BOOL = 220;

// 1 loaded; 0 when the file cannot be opened (the path shown in the error
// box), memory runs out or the read is short.
int XmlParseLoad(XmlNode* root, const char* path);
void XmlParseFree(XmlNode* root);

int XmlFindFirst(const XmlNode* parent, const char* name, XmlNode* result, int flags);
int XmlFindNext(XmlNode* node);
int XmlGetAttr(const XmlNode* node, const char* name, char* buffer, int size);
int XmlGetContentStr(const XmlNode* node, char* buffer, int size);
int XmlGetContentInt(const XmlNode* node, int32_t* out);
int XmlGetContentDbl(const XmlNode* node, double* out);
// `out` gets "CCYYMMDD" and a NUL (9 bytes).
int XmlGetContentDate(const XmlNode* node, char* out);
// 'T', 'N', or ' ' (logged) for anything else; 1 for 'T' and 'N'.
int XmlGetContentBool(const XmlNode* node, char* out);
int XmlGetContentFld(const XmlNode* node, DbField* field, int flags);

int XmlFindContentStr(const XmlNode* parent, const char* name, char* buffer, int size, int flags);
int XmlFindContentInt(const XmlNode* parent, const char* name, int32_t* out, int flags);
int XmlFindContentDbl(const XmlNode* parent, const char* name, double* out, int flags);
int XmlFindContentDate(const XmlNode* parent, const char* name, char* out, int flags);
int XmlFindContentFld(const XmlNode* parent, const char* name, DbField* field, int flags);
int XmlFindContentBool(const XmlNode* parent, const char* name, char* out, int flags);
