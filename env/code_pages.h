// The system's 8-bit character set: case rules, character classes and the
// conversions to the character sets text leaves the system in.
#pragma once
#include <cstdint>
#include <string>

// Pair tables: (from, to) pairs of 16-bit values ended by a pair whose from is 0.
extern const uint16_t MazToAsciiPairs[];     // letters to their plain base letter
extern const uint16_t MazToWindowsPairs[];   // to code page 1250
extern const uint16_t MazTo852Pairs[];       // Polish letters and frame pieces to code page 852
extern const uint16_t MazToIsoPairs[];       // the same to ISO 8859-2

// ConvChar flags.
constexpr int CONV_UPPER = 1;       // upper-case the character first
constexpr int CONV_REVERSE = 4;     // look among the to values, give the from value

// Characters are taken as their byte value (a negative char is its byte).
int EnvToUpper(int character);
int EnvToLower(int character);
// In place over a NUL-terminated text; return the text.
char* c4upper(char* text);
char* c4lower_str(char* text);

// One character through a pair table; a character without a pair, and a NULL
// table, leave it as it is (upper-cased with CONV_UPPER). 0 stays 0.
int ConvChar(int character, const uint16_t* pairs, int flags);
// ConvChar over n characters (NULs included) or, n negative, up to the NUL.
char* ConvChars(char* text, int n, const uint16_t* pairs, int flags);

// 1 for every letter of the set (its upper case has a plain base letter A-Z).
int IsLetter(int character);

// The XML entity of a character ("&lt;", "&aogon;", ...), or NULL.
const char* XmlEntityOf(int character);

// The UTF-8 bytes of one of the system's own characters packed first byte
// lowest; any other character (ASCII included) comes back as its code.
int32_t MazToUtf8Char(int character);
// Reads one character from UTF-8 input: a byte below 128 as it is; a sequence
// of one of the system's own characters as that character; anything else as
// 255, skipping its continuation bytes. Returns the position after it.
const char* Utf8ToMazChar(const char* input, unsigned char* result);

// Whole texts to and from UTF-8 through the full 256-character map (box
// pieces and the other code page 437 characters included), for file names
// and anything else that leaves for the Linux side. A character the set does
// not hold, or a broken sequence, becomes '?'.
std::string MazToUtf8Text(const char* text);
std::string Utf8ToMazText(const char* text);
