// The streaming XML writer of the statutory files: one output file at a time,
// elements line by line with tab indentation, texts escaped and converted
// from the system's character set to UTF-8, table fields written by type.
// Every writing routine writes nothing while no file is open.
#pragma once
#include "env/text_ref.h"

struct DbField;

// XmlElement flags.
constexpr int XML_OPEN = 0x1;       // "<tag>"
constexpr int XML_EMPTY = 0x2;      // "<tag/>"; neither: "</first word of tag>"
constexpr int XML_NO_LF = 0x4;

// XmlString and XmlField flags.
constexpr int XML_SKIP_EMPTY_NUMBER = 0x1;   // N field: an empty field writes nothing
constexpr int XML_SKIP_ZERO = 0x2;           // text of blanks, '-', '.', '0' only (N: the value 0) writes nothing
constexpr int XML_EMPTY_ELEMENT = 0x4;       // an empty text (N: the value 0; C: an empty field) writes "<tag/>"
constexpr int XML_RAW = 0x8;                 // the text unchanged, neither escaped nor converted
constexpr int XML_KEEP_CASE = 0x10;          // C field: not upper-cased

// Creates the file and writes the declaration line; 1, or 0 after the error box with the path.
int XmlOpen(const char* path);
// 0 when the file was written and closed (or none was open); -1 when writing it failed.
int XmlClose();
void XmlElement(int indent, int flags, const char* tag);
void XmlElement_m(int indent, int flags, const char* tag, int condition);
// "tag attributes" as a temporary string, for an opening XmlElement.
char* XmlAttrTag(TextRef tag, TextRef attributes);
void XmlString(int indent, const char* tag, const char* text, int flags);
void XmlField(int indent, const char* tag, DbField* field, int flags);
void XmlField_m(int indent, const char* tag, DbField* field, int flags, int condition);
// "1" when the field's character at `position` is 'T' or its integer value is above 0.
void XmlFldWybor1(int indent, const char* tag, DbField* field, int position, int condition);
// "1" or "2" from a C field's first character or an N field's value (1, above 1).
void XmlFldWybor2(int indent, const char* tag, DbField* field, int condition);
// `source` in UTF-8 into `destination` of `size` bytes, ending with two zero
// bytes; a multi-byte character that does not fit whole is left out.
void StrConvMazToUTF8(const char* source, char* destination, int size);
