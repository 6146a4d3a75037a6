#include <cstring>
#include <functional>
#include <string>

#include "db/db_engine.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "interchange/xml_reader.h"
#include "interchange/xml_writer.h"
#include "tests/interchange/interchange_fixture.h"

namespace {

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }

// One table field over its own record buffer.
struct FakeField {
  DbEngine engine{};
  DbTable table{};
  DbField field{};
  std::string record;
  FakeField(char type, unsigned width, int decimals, const std::string& value) {
    record = " " + value + std::string(width > value.size() ? width - value.size() : 0, ' ');
    table.record = record.data();
    table.engine = &engine;
    field.type = type;
    field.width = width;
    field.decimals = decimals;
    field.offset = 1;
    field.table = &table;
    std::strcpy(field.name, "POLE");
  }
  std::string Value() const { return record.substr(1); }
};

class XmlTest : public InterchangeTest {
 protected:
  // What `body` writes into a fresh file, after the declaration line.
  std::string Written(const std::function<void()>& body) {
    EXPECT_EQ(XmlOpen("out.xml"), 1);
    body();
    EXPECT_EQ(XmlClose(), 0);
    std::string all = ReadFile(Path("out.xml"));
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    EXPECT_EQ(all.compare(0, declaration.size(), declaration), 0);
    return all.substr(std::min(all.size(), declaration.size()));
  }
  void Load(const std::string& text) {
    WriteFile(Path("in.xml"), text);
    ASSERT_EQ(XmlParseLoad(&root, "in.xml"), 1);
    loaded = true;
  }
  void TearDown() override {
    if (loaded) XmlParseFree(&root);
    InterchangeTest::TearDown();
  }
  std::string Content(const XmlNode& node) {
    char buffer[256];
    EXPECT_EQ(XmlGetContentStr(&node, buffer, sizeof buffer), 1);
    return buffer;
  }
  XmlNode root{};
  bool loaded = false;
};

struct StringCase {
  const char* label;
  int indent;
  std::string text;
  int flags;
  std::string expected;
};

TEST_F(XmlTest, StringEscapingAndEmptyRules) {
  const StringCase cases[] = {
      {"entities", 0, "a<b>&'\"c", 0, "<t>a&lt;b&gt;&amp;&apos;&quot;c</t>\n"},
      {"polish letters as UTF-8", 1, Maz("Zażółć gęślą"), 0, "\t<t>Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85</t>\n"},
      {"named entity letters stay UTF-8", 0, Maz("§°–"), 0, "<t>\xC2\xA7\xC2\xB0\xE2\x80\x93</t>\n"},
      {"no UTF-8 form gives the middle dot", 0, "x\xB3y", 0, "<t>x\xC2\xB7y</t>\n"},
      {"raw", 2, "a<b&c", 0x8, "\t\t<t>a<b&c</t>\n"},
      {"zeros skipped", 0, " -0.00 ", 0x2, ""},
      {"a non-zero digit is written", 0, "0.01", 0x2, "<t>0.01</t>\n"},
      {"empty element", 1, "", 0x4, "\t<t/>\n"},
      {"empty text", 0, "", 0, ""},
  };
  for (const StringCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Written([&] { XmlString(c.indent, "t", c.text.c_str(), c.flags); }), c.expected);
  }
}

TEST_F(XmlTest, ElementsAndTagsWithAttributes) {
  std::string out = Written([] {
    const char* tag = XmlAttrTag("tns:JPK", "xmlns:tns=\"urn:x\"");
    XmlElement(0, XML_OPEN, tag);
    XmlElement(1, XML_EMPTY, "Pusty");
    XmlElement(1, XML_OPEN | XML_NO_LF, "A");
    XmlElement(0, 0, "A");
    XmlElement_m(1, XML_EMPTY, "Nie", 0);
    XmlElement(0, 0, tag);
  });
  EXPECT_EQ(out, "<tns:JPK xmlns:tns=\"urn:x\">\n\t<Pusty/>\n\t<A></A>\n</tns:JPK>\n");
}

TEST_F(XmlTest, NothingIsWrittenWithoutAnOpenFileAndAFailedOpenShowsThePath) {
  XmlString(0, "t", "x", 0);
  XmlElement(0, XML_OPEN, "t");
  EXPECT_EQ(XmlClose(), 0);
  EXPECT_EQ(XmlOpen("missing-dir/out.xml"), 0);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "missing-dir/out.xml");
  XmlString(0, "t", "x", 0);
  EXPECT_EQ(XmlClose(), 0);
}

struct FieldCase {
  const char* label;
  char type;
  unsigned width;
  int decimals;
  std::string value;
  int flags;
  std::string expected;
};

TEST_F(XmlTest, FieldRulesByType) {
  const FieldCase cases[] = {
      {"C upper-cased without trailing blanks", 'C', 12, 0, Maz("zażółć ab  "), 0, "<t>" + MazToUtf8Text(Maz("ZAŻÓŁĆ AB").c_str()) + "</t>\n"},
      {"C keeps its case with 0x10", 'C', 8, 0, "Abc  ", 0x10, "<t>Abc</t>\n"},
      {"C escaped", 'C', 8, 0, "A&B", 0, "<t>A&amp;B</t>\n"},
      {"C empty skipped", 'C', 5, 0, "", 0, ""},
      {"C empty with 0x4", 'C', 5, 0, "", 0x4, "<t/>\n"},
      {"D as CCYY-MM-DD", 'D', 8, 0, "20240131", 0, "<t>2024-01-31</t>\n"},
      {"D empty skipped even with 0x4", 'D', 8, 0, "", 0x4, ""},
      {"N with its decimals", 'N', 9, 2, "    12.50", 0, "<t>12.50</t>\n"},
      {"N negative", 'N', 6, 1, "  -3.5", 0, "<t>-3.5</t>\n"},
      {"N zero plain", 'N', 7, 2, "   0.00", 0, "<t>0.00</t>\n"},
      {"N zero with 0x4", 'N', 7, 2, "   0.00", 0x4, "<t/>\n"},
      {"N zero with 0x2", 'N', 7, 2, "   0.00", 0x2, ""},
      {"N empty with 0x1", 'N', 7, 2, "", 0x1, ""},
      {"N empty without 0x1 counts as 0", 'N', 7, 2, "", 0x4, "<t/>\n"},
      {"F counts as N", 'F', 5, 0, "   42", 0, "<t>42</t>\n"},
      {"L writes nothing", 'L', 1, 0, "T", 0x4, ""},
  };
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(c.label);
    FakeField f(c.type, c.width, c.decimals, c.value);
    EXPECT_EQ(Written([&] { XmlField(0, "t", &f.field, c.flags); }), c.expected);
  }
  FakeField f('C', 3, 0, "abc");
  EXPECT_EQ(Written([&] { XmlField_m(0, "t", &f.field, 0, 0); }), "");
}

struct ChoiceCase {
  const char* label;
  char type;
  unsigned width;
  std::string value;
  int position;   // -1: XmlFldWybor2
  int condition;
  std::string expected;
};

TEST_F(XmlTest, ChoiceFields) {
  const ChoiceCase cases[] = {
      {"T at the position", 'C', 3, "NTN", 1, 1, "<t>1</t>\n"},
      {"N at the position", 'C', 3, "NTN", 0, 1, ""},
      {"position past the field", 'C', 3, "NTT", 3, 1, ""},
      {"negative position", 'C', 3, "TTT", -2, 1, ""},
      {"condition 0", 'C', 3, "TTT", 0, 0, ""},
      {"integer above 0", 'N', 2, " 2", 0, 1, "<t>1</t>\n"},
      {"integer 0", 'N', 2, " 0", 0, 1, ""},
      {"C 1", 'C', 1, "1", -1, 1, "<t>1</t>\n"},
      {"C 2", 'C', 1, "2", -1, 1, "<t>2</t>\n"},
      {"C other", 'C', 1, "3", -1, 1, ""},
      {"C empty", 'C', 1, " ", -1, 1, ""},
      {"N 1", 'N', 4, "1.00", -1, 1, "<t>1</t>\n"},
      {"N above 1", 'N', 4, "   5", -1, 1, "<t>2</t>\n"},
      {"N 0", 'N', 4, "   0", -1, 1, ""},
      {"N between 0 and 1", 'N', 4, "0.50", -1, 1, ""},
      {"N negative", 'N', 4, "  -1", -1, 1, ""},
      {"condition 0", 'N', 4, "   1", -1, 0, ""},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.label);
    FakeField f(c.type, c.width, c.type == 'N' && c.value.find('.') != std::string::npos ? 2 : 0, c.value);
    EXPECT_EQ(Written([&] {
                if (c.position == -1)
                  XmlFldWybor2(0, "t", &f.field, c.condition);
                else
                  XmlFldWybor1(0, "t", &f.field, c.position, c.condition);
              }),
              c.expected);
  }
  EXPECT_TRUE(Boxes().empty());
  FakeField date('D', 8, 0, "20240101");
  EXPECT_EQ(Written([&] { XmlFldWybor2(0, "t", &date.field, 1); }), "");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "Error tylko pola C lub N");
}

TEST_F(XmlTest, ReadsBackWhatTheWriterWrote) {
  std::string name = Maz("Zakład \"Łódź\" <A&B> 'x'");
  FakeField amount('N', 10, 2, "   1234.50");
  FakeField day('D', 8, 0, "20240229");
  Written([&] {
    XmlElement(0, XML_OPEN, XmlAttrTag("Dok", "wersja=\"2\" kod=\"a&amp;lt;b\""));
    XmlString(1, "Nazwa", name.c_str(), 0);
    XmlField(1, "Kwota", &amount.field, 0);
    XmlField(1, "Data", &day.field, 0);
    XmlString(1, "Znak", "1", 0);
    for (const char* n : {"7", "-8", "9"}) {
      XmlElement(1, XML_OPEN, "Wiersz");
      XmlString(2, "Nr", n, 0);
      XmlElement(1, 0, "Wiersz");
    }
    XmlElement(1, XML_EMPTY, "Pusty");
    XmlElement(0, 0, "Dok");
  });
  ASSERT_EQ(XmlParseLoad(&root, "out.xml"), 1);
  loaded = true;

  XmlNode doc;
  ASSERT_EQ(XmlFindFirst(&root, "Dok", &doc, 0), 1);
  char text[128];
  EXPECT_EQ(XmlGetAttr(&doc, "wersja", text, sizeof text), 1);
  EXPECT_STREQ(text, "2");
  EXPECT_EQ(XmlGetAttr(&doc, "kod", text, sizeof text), 1);
  EXPECT_STREQ(text, "a&lt;b");   // one pass of unescaping
  EXPECT_EQ(XmlGetAttr(&doc, "brak", text, sizeof text), 0);

  EXPECT_EQ(XmlFindContentStr(&doc, "Nazwa", text, sizeof text, 0), 1);
  EXPECT_EQ(std::string(text), name);
  double value = 0;
  EXPECT_EQ(XmlFindContentDbl(&doc, "Kwota", &value, 0), 1);
  EXPECT_DOUBLE_EQ(value, 1234.5);
  char date[9];
  EXPECT_EQ(XmlFindContentDate(&doc, "Data", date, 0), 1);
  EXPECT_STREQ(date, "20240229");
  char yes = 0;
  EXPECT_EQ(XmlFindContentBool(&doc, "Znak", &yes, 0), 1);
  EXPECT_EQ(yes, 'T');

  // Straight into fields of another record.
  FakeField c('C', 30, 0, ""), n('N', 8, 1, ""), d('D', 8, 0, ""), flag('C', 3, 0, "xyz");
  EXPECT_EQ(XmlFindContentFld(&doc, "Nazwa", &c.field, 0), 1);
  EXPECT_EQ(c.Value(), name + std::string(30 - name.size(), ' '));
  EXPECT_EQ(XmlFindContentFld(&doc, "Kwota", &n.field, 0), 1);
  EXPECT_EQ(n.Value(), "  1234.5");
  EXPECT_EQ(XmlFindContentFld(&doc, "Data", &d.field, 0), 1);
  EXPECT_EQ(d.Value(), "20240229");
  EXPECT_EQ(XmlFindContentFld(&doc, "Znak", &flag.field, XML_FIELD_BOOL), 1);
  EXPECT_EQ(flag.Value(), "Tyz");

  XmlNode row;
  std::string numbers;
  for (int found = XmlFindFirst(&doc, "Wiersz", &row, 0); found; found = XmlFindNext(&row)) {
    int32_t nr = 0;
    EXPECT_EQ(XmlFindContentInt(&row, "Nr", &nr, 0), 1);
    numbers += std::to_string(nr) + ",";
  }
  EXPECT_EQ(numbers, "7,-8,9,");
  XmlNode empty;
  ASSERT_EQ(XmlFindFirst(&doc, "Pusty", &empty, 0), 1);
  EXPECT_EQ(Content(empty), "");
  EXPECT_EQ(XmlFindFirst(&doc, "Nr", &row, 0), 0);   // only one level deeper
}

// A JPK file as another program writes it: a processing instruction without
// attributes, a DOCTYPE with an internal subset,
// a comment, namespace prefixes, blanks before '>' of end tags, CR LF line
// ends, character references, CDATA and an empty element.
const char kForeignFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<?mso-application?>\r\n"
    "<!DOCTYPE tns:JPK [\r\n"
    "  <!ENTITY firma \"Test > 1\">\r\n"
    "  <!ELEMENT tns:JPK ANY>\r\n"
    "]>\r\n"
    "<!-- <tns:JPK> written elsewhere -->\r\n"
    "<tns:JPK xmlns:tns=\"http://example/jpk\" wersja = '1'>\r\n"
    "  <tns:Naglowek >\r\n"
    "    <tns:KodFormularza kodSystemowy=\"JPK_V7M (2)\">JPK_VAT</tns:KodFormularza >\r\n"
    "    <tns:Wariant>2</tns:Wariant>\r\n"
    "  </tns:Naglowek\t  >\r\n"
    "  <tns:Podmiot1>\r\n"
    "    <tns:PelnaNazwa>Zak&#322;ad &#x141;&#243;d&#X17A; &amp;lt; &#65;&#9731;&#0;</tns:PelnaNazwa>\r\n"
    "    <tns:Opis><![CDATA[a < b & c]]></tns:Opis>\r\n"
    "    <tns:Pusty/>\r\n"
    "    <tns:Flaga>x</tns:Flaga>\r\n"
    "    <tns:Kwota> -1234.5e1</tns:Kwota>\r\n"
    "  </tns:Podmiot1>\r\n"
    "  <tns:Wiersz><tns:Nr>1</tns:Nr></tns:Wiersz >\r\n"
    "  <tns:Wiersz>\r\n    <tns:Nr>2</tns:Nr>\r\n  </tns:Wiersz>\r\n"
    "</tns:JPK >\r\n";

TEST_F(XmlTest, ReadsFilesWrittenByOtherPrograms) {
  Load(kForeignFile);
  XmlNode jpk, header, node, subject;
  EXPECT_EQ(XmlFindFirst(&root, "JPK", &jpk, 0), 0);
  ASSERT_EQ(XmlFindFirst(&root, "JPK", &jpk, XML_IGNORE_PREFIX), 1);
  char text[128];
  EXPECT_EQ(XmlGetAttr(&jpk, "wersja", text, sizeof text), 1);
  EXPECT_STREQ(text, "1");

  ASSERT_EQ(XmlFindFirst(&jpk, "Naglowek", &header, XML_IGNORE_PREFIX), 1);
  ASSERT_EQ(XmlFindFirst(&header, "KodFormularza", &node, XML_IGNORE_PREFIX), 1);
  EXPECT_EQ(XmlGetAttr(&node, "kodSystemowy", text, sizeof text), 1);
  EXPECT_STREQ(text, "JPK_V7M (2)");
  EXPECT_EQ(Content(node), "JPK_VAT");
  // Found after an end tag with a blank before its '>': the nesting is intact.
  int32_t variant = 0;
  EXPECT_EQ(XmlFindContentInt(&header, "Wariant", &variant, XML_IGNORE_PREFIX), 1);
  EXPECT_EQ(variant, 2);
  ASSERT_EQ(XmlFindFirst(&jpk, "Podmiot1", &subject, XML_IGNORE_PREFIX), 1);
  EXPECT_EQ(XmlFindFirst(&header, "PelnaNazwa", &node, XML_IGNORE_PREFIX), 0);   // not inside the header

  EXPECT_EQ(XmlFindContentStr(&subject, "PelnaNazwa", text, sizeof text, XML_IGNORE_PREFIX), 1);
  EXPECT_EQ(std::string(text), Maz("Zakład Łódź &lt; A") + "\xFF" + "&#0;");
  EXPECT_EQ(XmlFindContentStr(&subject, "Opis", text, sizeof text, XML_IGNORE_PREFIX), 1);
  EXPECT_STREQ(text, "a < b & c");
  EXPECT_EQ(XmlFindContentStr(&subject, "Pusty", text, sizeof text, XML_IGNORE_PREFIX), 1);
  EXPECT_STREQ(text, "");
  double amount = 0;
  EXPECT_EQ(XmlFindContentDbl(&subject, "Kwota", &amount, XML_IGNORE_PREFIX), 1);
  EXPECT_DOUBLE_EQ(amount, -12345);
  char flag = 0;
  EXPECT_EQ(XmlFindContentBool(&subject, "Flaga", &flag, XML_IGNORE_PREFIX), 0);
  EXPECT_EQ(flag, ' ');
  EXPECT_NE(Log().find("LGM(220): <tns:Podmiot1>..<tns:Flaga>x</>"), std::string::npos);

  XmlNode row;
  int rows = 0;
  for (int found = XmlFindFirst(&jpk, "Wiersz", &row, XML_IGNORE_PREFIX); found; found = XmlFindNext(&row)) {
    int32_t nr = 0;
    EXPECT_EQ(XmlFindContentInt(&row, "Nr", &nr, XML_IGNORE_PREFIX), 1);
    EXPECT_EQ(nr, ++rows);
  }
  EXPECT_EQ(rows, 2);
}

TEST_F(XmlTest, DamagedSpotCostsOnlyItsOwnBytes) {
  // A byte 0 in a text and a second '/' in a tag.
  std::string text = "<a><b y=\"2\">t</b><c>o";
  text += '\0';
  text += "k</c><e//><d>fine</d></a>";
  Load(text);
  XmlNode a, node;
  ASSERT_EQ(XmlFindFirst(&root, "a", &a, 0), 1);
  ASSERT_EQ(XmlFindFirst(&a, "b", &node, 0), 1);
  char value[16];
  EXPECT_EQ(XmlGetAttr(&node, "y", value, sizeof value), 1);
  EXPECT_STREQ(value, "2");
  EXPECT_EQ(XmlFindContentStr(&a, "d", value, sizeof value, 0), 1);
  EXPECT_STREQ(value, "fine");
}

TEST_F(XmlTest, ContentIsCutToTheBufferAndAMissingFileShowsItsPath) {
  Load("<a>\xC4\x85\xC4\x99xyz\r\nq</a>");
  XmlNode a;
  ASSERT_EQ(XmlFindFirst(&root, "a", &a, 0), 1);
  char small[4];
  EXPECT_EQ(XmlGetContentStr(&a, small, sizeof small), 1);
  EXPECT_EQ(std::string(small), Maz("ąę") + "x");
  char all[16];
  EXPECT_EQ(XmlGetContentStr(&a, all, sizeof all), 1);
  EXPECT_EQ(std::string(all), Maz("ąę") + "xyz  q");

  XmlNode missing;
  EXPECT_EQ(XmlParseLoad(&missing, "nie-ma.xml"), 0);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], "nie-ma.xml");
}

}  // namespace

TEST(StrConvMazToUtf8Test, ConvertsAndNeverCutsACharacter) {
  std::string text = Maz("Łódź");   // Ł and ó and ź take two bytes each
  struct Case {
    int size;
    std::string expected;
  } cases[] = {
      {20, "Łódź"},
      {8, "Łód"},     // 6 bytes of room: "Łód" is 5, "ź" would need 2 more
      {4, "Ł"},       // 2 bytes of room
      {3, ""},        // 1 byte of room: "Ł" does not fit whole
      {2, ""},
  };
  for (const Case& c : cases) {
    std::string out(c.size + 4, '\x7F');
    StrConvMazToUTF8(text.c_str(), out.data(), c.size);
    SCOPED_TRACE(c.size);
    EXPECT_EQ(std::string(out.c_str()), c.expected);
    size_t end = c.expected.size();
    EXPECT_EQ(out[end + 1], '\0');                     // the second closing zero
    EXPECT_EQ(out[c.size], '\x7F');                    // nothing past the size
  }
}
