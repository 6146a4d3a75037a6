// An XML file from outside: loaded and walked through the element names the
// program's own files use, every attribute and content read in every form.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "interchange/xml_reader.h"

namespace {

const char* const kNames[] = {"Dokument", "Naglowek", "Pozycja", "Nazwa", "Kwota", "Data", "Tak", "tns:Opis"};
const char* const kAttrs[] = {"wersja", "kod", "id", "xmlns"};
constexpr int kDepth = 3;
constexpr int kSiblings = 50;
constexpr int kNodes = 100;   // every name at every level multiplies: a bound per input
int g_nodesLeft = 0;

void ReadNode(const XmlNode& node) {
  char text[300];
  for (const char* attr : kAttrs) XmlGetAttr(&node, attr, text, sizeof text);
  XmlGetContentStr(&node, text, sizeof text);
  XmlGetContentStr(&node, text, 3);
  int32_t number = 0;
  XmlGetContentInt(&node, &number);
  double value = 0;
  XmlGetContentDbl(&node, &value);
  char date[9];
  XmlGetContentDate(&node, date);
  char yes = 0;
  XmlGetContentBool(&node, &yes);
}

void Walk(const XmlNode& parent, int depth) {
  if (depth > kDepth) return;
  int flags = 0;
  for (const char* name : kNames) {
    flags ^= XML_IGNORE_PREFIX;
    XmlNode child;
    if (XmlFindFirst(&parent, name, &child, flags) != 1) continue;
    int siblings = 0;
    do {
      if (--g_nodesLeft < 0) return;
      ReadNode(child);
      Walk(child, depth + 1);
    } while (++siblings < kSiblings && XmlFindNext(&child) == 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!FuzzInputFile("IN.XML", data, size)) return 0;
  XmlNode root{};
  if (XmlParseLoad(&root, "IN.XML") != 1) return 0;
  g_nodesLeft = kNodes;
  Walk(root, 0);
  XmlParseFree(&root);
  return 0;
}
