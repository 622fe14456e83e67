#include "platform/fake/FakePlatform.h"
#include "translation/ECXMLParser.h"

#include <gtest/gtest.h>

namespace {
// name[attr=value,...]'text'(children) — compact enough to write expected trees in a table.
std::string Dump(const TXMLItem& item) {
    std::string out = item.Name();
    if (!item.Params().empty()) {
        out += '[';
        for (std::size_t i = 0; i < item.Params().size(); ++i)
            out += (i ? "," : "") + item.Params()[i];
        out += ']';
    }
    if (!item.Text().empty()) out += "'" + item.Text() + "'";
    if (item.Count()) {
        out += '(';
        for (int i = 0; i < item.Count(); ++i)
            out += (i ? " " : "") + Dump(item.Items(i));
        out += ')';
    }
    return out;
}

std::string LoadDump(const std::string& input) {
    TECXMLParser parser;
    TXMLStream stream(input);
    parser.LoadFromStream(stream);
    return Dump(parser.Root());
}

struct TreeCase {
    std::string Input;
    const char* Tree;
};

class ParsesTo : public ::testing::TestWithParam<TreeCase> {};

TEST_P(ParsesTo, Tree) {
    const TreeCase& c = GetParam();
    EXPECT_EQ(LoadDump(c.Input), c.Tree) << c.Input;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ParsesTo,
    ::testing::Values(
        TreeCase{"", ""}, TreeCase{" \r\n\t ", ""}, TreeCase{"<a/>", "(a)"},
        TreeCase{"<?xml version=\"1.0\"?><r><c>t</c></r>", "r(c't')"},
        TreeCase{"<r>&amp;lt; a&amp;b &quot;q&quot; &gt;</r>", "r'&lt; a&b \"q\" >'"},
        TreeCase{"<r>x&#x0d;y</r>", "r'x\r\ny'"}, TreeCase{"<r>a  b\r\nc</r>", "r'a bc'"},
        TreeCase{"<r>a\n\rb\rc\nd</r>", "r'ab\rc\nd'"}, TreeCase{"<r>x<c/>y</r>", "r'x\r\ny'(c)"},
        TreeCase{"<r a=\"\" b=\"2\"/>", "(r[a=,b=2])"},
        TreeCase{"<r a = \"x  y\" b=\"&lt;\">t</r>", "r[a=x y,b=<]'t'"},
        TreeCase{"<r a='1'/>", "(r[a='1'])"}, TreeCase{"<r\tx=\"1\"/>", "(r\tx=\"1\")"},
        TreeCase{"<?XML version=1.0?><r/>", "(r)"}, TreeCase{"<?other?><r/>", "?other?(r)"},
        TreeCase{"<a><b>", "a(b)"}, TreeCase{"<a><!-- c -->t</a>", "a"},
        TreeCase{"<a><!-- 1 --><!-- 2 --><b/></a>", "a(b)"}, TreeCase{"<a></a><!-- end -->", "a"},
        TreeCase{"<a><!-- never closed", "a"}, TreeCase{"<a>x<", "a'x'()"},
        TreeCase{"<a b=\"1", "a[b=1]"}, TreeCase{std::string("<a>x\0<b/></a>", 13), "a'x'"},
        TreeCase{"<r><c>\r\n  t\r\n</c>\r\n</r>", "r(c't')"}));

struct ErrorCase {
    const char* Input;
    const char* Message;
};

class FailsWith : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FailsWith, Message) {
    const ErrorCase& c = GetParam();
    try {
        LoadDump(c.Input);
        FAIL() << "no error for " << c.Input;
    } catch (const EXMLParserError&) {
        FAIL() << "a tree error must not look like a tokenizer error";
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), c.Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FailsWith,
    ::testing::Values(ErrorCase{"<a><b></a>", "XML Parser mismatch: Wanted </b>, got </a>"},
                      ErrorCase{"<a></A>", "XML Parser mismatch: Wanted </a>, got </A>"},
                      ErrorCase{"</a>", "XML Parser mismatch: Wanted </>, got </a>"},
                      ErrorCase{"<a></a><b/>", "Junk after document element </a>"},
                      ErrorCase{"<a></a><!-- c --><b/>", "Junk after document element </a>"},
                      ErrorCase{"<a></a>text", "Junk after document element </a>"}));

// Every cut-off prefix of a document loads or fails with an error, never anything worse.
TEST(XMLParser, EveryPrefixOfADocumentStaysInsideTheData) {
    const std::string doc = "<?xml version=\"1.0\"?>\r\n<l id=\"de\" name=\"D &amp; E\">\r\n"
                            "<!-- note --><info><version>2</version></info>\r\n"
                            "<t><e><Key>a.b</Key><Original>x&#x0d;y</Original></e></t></l>\r\n";
    for (std::size_t n = 0; n <= doc.size(); ++n) {
        try {
            LoadDump(doc.substr(0, n));
        } catch (const EQelError&) {
        }
    }
    EXPECT_EQ(LoadDump(doc),
              "l[id=de,name=D & E](info(version'2') t(e(Key'a.b' Original'x\r\ny')))");
}

TEST(XMLTokenizer, CountsLinesAndLeavesTheStreamAtTheCurrentToken) {
    TXMLStream stream("\n<a>\n\n  text\n</a>");
    {
        TXMLTokenizer tokenizer(stream);
        EXPECT_EQ(tokenizer.Line(), 2);
        tokenizer.NextToken();
        EXPECT_EQ(tokenizer.Kind(), TXMLTokenKind::Text);
        EXPECT_EQ(tokenizer.TokenText(), "text");
        EXPECT_EQ(tokenizer.Line(), 4);
    }
    EXPECT_EQ(stream.Position(), 8u); // the "t" of "text"

    stream.SetPosition(4);
    { TXMLTokenizer tokenizer(stream); }
    EXPECT_EQ(stream.Position(), 8u);
}

// Blank runs and texts longer than 16 bytes, with a double space on either side of the 16th.
TEST(XMLTokenizer, LongRunsKeepTheLineCountAndTheNormalising) {
    const std::string blanks = "\r\n" + std::string(20, ' ') + "\n\t\n" + std::string(17, ' ');
    TXMLStream stream(blanks + "<a>" + std::string(15, 'x') + "  y" + blanks + "</a>");
    TXMLTokenizer tokenizer(stream);
    EXPECT_EQ(tokenizer.Line(), 4);
    tokenizer.NextToken();
    EXPECT_EQ(tokenizer.Kind(), TXMLTokenKind::Text);
    EXPECT_TRUE(tokenizer.NeedsNormalising());
    EXPECT_EQ(tokenizer.TokenText(), std::string(15, 'x') + " y");
    tokenizer.NextToken();
    EXPECT_EQ(tokenizer.Kind(), TXMLTokenKind::EndTag);
    EXPECT_EQ(tokenizer.Line(), 7);
}

TEST(XMLParser, LongTagsAndTextsWithEntities) {
    const std::string x(14, 'x'), y(20, 'y');
    EXPECT_EQ(LoadDump("<root name=\"a  long   attribute &amp; value\"><child>" + x +
                       "&amp;&#x0d;&lt;" + y + "&gt;</child></root>"),
              "root[name=a long attribute & value](child'" + x + "&\r\n<" + y + ">')");
}

TEST(XMLTokenizer, TokenKinds) {
    TXMLStream stream("<?xml?><a><b/>t</a>");
    TXMLTokenizer tokenizer(stream);
    std::vector<TXMLTokenKind> kinds;
    for (; tokenizer.Kind() != TXMLTokenKind::EndOfData; tokenizer.NextToken())
        kinds.push_back(tokenizer.Kind());
    using K = TXMLTokenKind;
    EXPECT_EQ(kinds,
              (std::vector<K>{K::Declaration, K::StartTag, K::EmptyTag, K::Text, K::EndTag}));
}

TEST(XMLTokenizer, ALineLongerThanTheBufferIsAParserError) {
    std::string input = "<a>\n" + std::string(TXMLTokenizer::BufferLimit + 10, 'x') + "\n</a>";
    TXMLStream stream(input);
    try {
        TXMLTokenizer tokenizer(stream);
        tokenizer.NextToken();
        FAIL();
    } catch (const EXMLParserError& error) {
        EXPECT_EQ(error.Message(), "Line too long on line 2");
    }
    stream.SetPosition(0);
    TXMLLargeTokenizer large(stream);
    large.NextToken();
    EXPECT_EQ(large.Kind(), TXMLTokenKind::Text);
    EXPECT_EQ(large.RawToken().size(), TXMLTokenizer::BufferLimit + 10);
}

TEST(XMLParser, LoadFromFileRetriesALongLineWithTheWholeFile) {
    TFakePlatform platform;
    platform.Files.PutFile("C:\\long.xml",
                           "<a>\n<b>" + std::string(TXMLTokenizer::BufferLimit, 'y') + "</b></a>");
    TECXMLParser parser;
    int asked = 0;
    parser.BeforeLoad = [&](TECXMLParser&, bool&) { ++asked; };
    parser.LoadFromFile("C:\\long.xml");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(parser.Root().Items(0).Text().size(), TXMLTokenizer::BufferLimit);
}

TEST(XMLParser, ChunksOfALargeInputJoinAtLineStarts) {
    std::string input = "<r>\n";
    int lines = 0;
    while (input.size() < TXMLTokenizer::BufferLimit + 1000) {
        input += "<e>" + std::to_string(lines++) + "</e>\n";
    }
    input += "</r>";
    TECXMLParser parser;
    TXMLStream stream(input);
    parser.LoadFromStream(stream);
    ASSERT_EQ(parser.Root().Count(), lines);
    EXPECT_EQ(parser.Root().Items(lines - 1).Text(), std::to_string(lines - 1));
}

TEST(XMLParser, MissingFileGivesThePlatformError) {
    TFakePlatform platform;
    platform.System.Messages[2] = "The system cannot find the file specified.\r\n";
    TECXMLParser parser;
    try {
        parser.LoadFromFile("C:\\none.xml");
        FAIL();
    } catch (const EXMLParserError&) {
        FAIL();
    } catch (const EQelError& error) {
        EXPECT_EQ(error.Message(), "The system cannot find the file specified");
    }
}

TEST(XMLParser, EventsAndNotifications) {
    TECXMLParser parser;
    std::vector<std::string> log;
    parser.XMLItemChanged = [&](TECXMLParser&, TXMLItem& item) {
        log.push_back("changed " + item.Name());
    };
    parser.OnLoaded = [&](TECXMLParser&) { log.push_back("loaded"); };
    parser.OnCleared = [&](TECXMLParser&) { log.push_back("cleared"); };
    TXMLStream stream("<a><b/></a>");
    parser.LoadFromStream(stream);
    EXPECT_EQ(log, std::vector<std::string>{"loaded"});
    parser.Root().Items(0).SetText("t");
    parser.Root().ItemByName("B").SetName("b2");
    parser.Root().ItemByName("c");
    EXPECT_EQ(log, (std::vector<std::string>{"loaded", "changed b", "changed b2", "changed a",
                                             "changed c"}));
    ASSERT_TRUE(parser.XMLItemChanged);

    parser.BeforeLoad = [](TECXMLParser&, bool& allow) { allow = false; };
    TXMLStream other("<z/>");
    parser.LoadFromStream(other);
    EXPECT_EQ(parser.Root().Name(), "a");

    parser.BeforeClear = [](TECXMLParser&, bool& allow) { allow = false; };
    parser.Clear();
    EXPECT_EQ(parser.Root().Count(), 2);
    parser.BeforeClear = nullptr;
    parser.Clear();
    EXPECT_EQ(log.back(), "cleared");
    EXPECT_EQ(parser.Root().Count(), 0);
}

TEST(XMLParser, AFailedLoadKeepsWhatWasBuiltAndRestoresTheSlot) {
    TECXMLParser parser;
    int changes = 0;
    parser.XMLItemChanged = [&](TECXMLParser&, TXMLItem&) { ++changes; };
    TXMLStream stream("<a><b></c>");
    EXPECT_THROW(parser.LoadFromStream(stream), EQelError);
    EXPECT_EQ(Dump(parser.Root()), "a(b)");
    EXPECT_EQ(changes, 0);
    parser.Root().SetText("x");
    EXPECT_EQ(changes, 1);
}

TEST(XMLItem, ChildOperations) {
    TECXMLParser parser;
    TXMLItem& root = parser.Root();
    root.SetName("r");
    TXMLItem& a = root.New();
    a.SetName("a");
    TXMLItem& b = root.New();
    b.SetName("B");
    TXMLItem& c = root.New();
    c.SetName("b");
    EXPECT_EQ(root.IndexOfName("b"), 1);
    EXPECT_EQ(root.IndexOfName("b", 2), 2);
    EXPECT_EQ(root.IndexOfName("x"), -1);
    EXPECT_EQ(root.IndexOf(c), 2);
    root.Move(c, 0);
    EXPECT_EQ(Dump(root), "r(b a B)");
    c.SetParent(a);
    EXPECT_EQ(Dump(root), "r(a(b) B)");
    EXPECT_EQ(c.Parent(), &a);
    c.SetParent(a);
    EXPECT_EQ(a.Count(), 1);
    EXPECT_THROW(a.SetParent(c), EQelError);
    root.Delete(0);
    EXPECT_EQ(Dump(root), "r(B)");
    EXPECT_EQ(root.SubItemCount(), 1);
    b.SetParams({"X=1", "y=2", "x=3"});
    EXPECT_EQ(b.ParamValue("x"), "1");
    EXPECT_EQ(b.ParamValue("z"), "");
}

TEST(XMLItem, MovingASubtreeToAnotherDocumentMovesItsNotifications) {
    TECXMLParser from, to;
    int changesInTo = 0;
    to.XMLItemChanged = [&](TECXMLParser& sender, TXMLItem&) {
        EXPECT_EQ(&sender, &to);
        ++changesInTo;
    };
    TXMLItem& branch = from.Root().New();
    TXMLItem& leaf = branch.New();
    branch.SetParent(to.Root());
    EXPECT_EQ(from.Root().Count(), 0);
    EXPECT_EQ(leaf.Parser(), &to);
    leaf.SetParams({"a=1"});
    EXPECT_EQ(changesInTo, 1);
}

std::string Document(bool crLf) {
    TECXMLParser parser;
    parser.SetCrLfInAsString(crLf);
    TXMLItem& root = parser.Root();
    root.SetName("r");
    root.SetParams({"id=a&b", "name=\"q\""});
    TXMLItem& c = root.New();
    c.SetName("c");
    c.SetText("t<1>\r\nu");
    root.New().SetName("e");
    TXMLStream stream;
    parser.SaveToStream(stream);
    return stream.Bytes();
}

TEST(XMLWriter, BothLayouts) {
    EXPECT_EQ(Document(true), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                              "  <r id=\"a&amp;b\" name=\"&quot;q&quot;\">\r\n"
                              "    <c>\r\n"
                              "      t&lt;1&gt;&#x0d;u\r\n"
                              "    </c>\r\n"
                              "    <e/>\r\n"
                              "  </r>\r\n");
    EXPECT_EQ(Document(false), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n"
                               "  <r id=\"a&amp;b\" name=\"&quot;q&quot;\">\r\n"
                               "   <c>t&lt;1&gt;&#x0d;u</c>\r\n"
                               "   <e/>\r\n"
                               "  </r>\r\n");
}

TEST(XMLWriter, StyleSheetLineAndRoundTrip) {
    TFakePlatform platform;
    TECXMLParser parser;
    parser.StyleSheet = "s.xsl";
    parser.Root().SetName("r");
    parser.Root().New().SetText("a & b\r\nc");
    parser.Root().Items(0).SetName("x");
    parser.SaveToFile("C:\\doc.xml");
    parser.SaveToFile("C:\\doc.XSL");
    EXPECT_NE(platform.Files.Content("C:\\doc.xml")
                  .find("<?xml-stylesheet type=\"text/xsl\" "
                        "href=\"s.xsl\"?>\r\n"),
              std::string::npos);
    EXPECT_EQ(platform.Files.Content("C:\\doc.XSL").find("stylesheet"), std::string::npos);

    TECXMLParser back;
    back.LoadFromFile("C:\\doc.xml");
    EXPECT_EQ(back.StyleSheet, "s.xsl");
    EXPECT_EQ(Dump(back.Root()), "r(x'a & b\r\nc')");
}
} // namespace
