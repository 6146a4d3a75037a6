// Context help: the help key shows the topic of the current get, menu item or
// window from "ZELM.HLP" in the program directory, found through the index
// "ZELM.IND", in the "POMOC" window. Links in a topic lead to further topics;
// Esc goes back along the way taken.
#pragma once
#include <cstdint>

// ZELM.IND: a table of 10-byte little-endian entries. Entry 0 is the header
// (uint32 count, uint16 entry size, 4 bytes unused); then per topic uint32
// offset of its text in ZELM.HLP, uint16 length in bytes, uint16 number of
// lines, uint16 topic number. The file is (count + 1) * 10 bytes long.
constexpr int HELP_INDEX_ENTRY = 10;
// ZELM.HLP: topic texts in the system's character set, lines ending in CR LF,
// with these markers inside a line:
constexpr unsigned char HELP_LINK_END = 0xF2;    // ends a link's text
constexpr unsigned char HELP_LINK = 0xF3;        // digit n, n + 1 hidden characters, digit m, m digits of the target topic; the link's text follows
constexpr unsigned char HELP_HIDE_N = 0xF4;      // digit n, n hidden characters
constexpr unsigned char HELP_HIDE_ONE = 0xF5;    // one hidden character
constexpr int HELP_LINK_TEXT_MAX = 20;
constexpr int HELP_LINE_MAX = 75;                // characters a window line shows
constexpr int HELP_PAGE_LINES = 19;

// Topics of the library's own screens (the main program's topics are its menu numbers).
constexpr int HELP_TOPIC_HELP = 60000;
constexpr int HELP_TOPIC_CALCULATOR = 60001;
constexpr int HELP_TOPIC_CALENDAR = 60002;
constexpr int HELP_TOPIC_MESSAGES = 60003;
constexpr int HELP_TOPIC_FILTERS = 60004;
constexpr int HELP_TOPIC_FORMS = 60005;
constexpr int HELP_TOPIC_SELECTION = 60006;
constexpr int HELP_TOPIC_DIRECTORY = 60007;

// The help key routine (a hot-key routine; the arguments are not used). Always 0.
int help_key(int32_t highByte, int32_t zero);
