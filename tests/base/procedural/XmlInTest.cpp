// Tests of the XML reader: tokenizer, description tables of every kind, skipping,
// error states, the class layer over memory and files, and mutated documents.
#include "base/procedural/XmlIn.h"
#include "base/procedural/XmlInput.h"
#include "tests/base/procedural/FileTestSupport.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// Hands a text out in pieces of at most chunk bytes, to cross buffer refills.
class MemoryStream : public XML::InputStream {
public:
    explicit MemoryStream(std::string text, long chunk = 5) : text_(std::move(text)), chunk_(chunk) {}
    long read(char* buffer, long size) override {
        long n = static_cast<long>(text_.size() - at_);
        n = n < size ? n : size;
        n = n < chunk_ ? n : chunk_;
        std::memcpy(buffer, text_.data() + at_, static_cast<size_t>(n));
        at_ += static_cast<size_t>(n);
        return n;
    }

private:
    std::string text_;
    size_t at_ = 0;
    long chunk_;
};

struct Values {
    long s4 = -1;
    short s2 = -1;
    unsigned char u1 = 0xEE;
    long u4 = -1;
    long flag = -1;
    float f = -1;
    double d = -1;
    char text[8] = "unset";
    long choice = -1;
    long nested = -1;
    long three = -1;
    std::string log;
};

const double kLow = -1.5, kHigh = 2.5;
const char* const kChoices[] = {"red", "green", "blue"};

void LogText(const char* data, long length, void* target) {
    std::string& log = static_cast<Values*>(target)->log;
    log += length ? "[" + std::string(data, static_cast<size_t>(length)) + "]" : "|";
}

void OnItem(XML::Element& e, void* target) {
    Values* v = static_cast<Values*>(target);
    v->log += "item(" + std::string(XML::Input::getAttribute(e, "id", "?")) + "," +
              std::to_string(XML::Input::getAttributeLong(e, "n", -7)) + "," +
              std::to_string(XML::Input::reader(e).raw()->depth) + ")";
}

const XmlIn_Entry kInner[] = {
    {"nested", 2, offsetof(Values, nested), 4, nullptr, 0, 0},
    {nullptr, 0, 0, 0, nullptr, 0, 0},
};

const XmlIn_Entry kValues[] = {
    {"s4", 2, offsetof(Values, s4), 4, nullptr, 0, 0},
    {"s4b", 2, offsetof(Values, s4), 4, nullptr, 1, 10},
    {"s2", 2, offsetof(Values, s2), 2, nullptr, 0, 0},
    {"u1", 3, offsetof(Values, u1), 1, nullptr, 0, 200},
    {"u1w", 3, offsetof(Values, u1), 1, nullptr, 0, 0},
    {"three", 2, offsetof(Values, three), 3, nullptr, 0, 0},
    {"flag", 6, offsetof(Values, flag), 4, nullptr, 0, 0},
    {"f", 4, offsetof(Values, f), 4, nullptr, 0, 100},
    {"d", 5, offsetof(Values, d), 8, nullptr, reinterpret_cast<intptr_t>(&kLow), reinterpret_cast<intptr_t>(&kHigh)},
    {"text", 7, offsetof(Values, text), 0, nullptr, 8, 0},
    {"choice", 8, offsetof(Values, choice), 4, nullptr, reinterpret_cast<intptr_t>(kChoices), 3},
    {"item", 1, 0, 0, reinterpret_cast<void*>(&OnItem), 0, 0},
    {"inc", 9, 0, 0, const_cast<XmlIn_Entry*>(kInner), 0, 0},
    {nullptr, 10, 0, 0, reinterpret_cast<void*>(&LogText), 0, 0},
    {nullptr, 0, 0, 0, nullptr, 0, 0},
};

void OnRoot(XML::Element& e, void* target) {
    XML::Input::next(e, kValues, target);
}

const XmlIn_Entry kDocument[] = {
    {"root", 1, 0, 0, reinterpret_cast<void*>(&OnRoot), 0, 0},
    {nullptr, 0, 0, 0, nullptr, 0, 0},
};

std::string Print(const Values& v) {
    char out[400];
    std::snprintf(out, sizeof out, "s4=%ld s2=%d u1=%d three=%ld flag=%ld f=%g d=%g text=%s choice=%ld nested=%ld log=%s",
                  v.s4, v.s2, v.u1, v.three, v.flag, static_cast<double>(v.f), v.d, v.text, v.choice, v.nested,
                  v.log.c_str());
    return out;
}

// Parses <root>body</root>; answers the printed values, or "error N at L:C".
std::string ParseRoot(const std::string& body, long chunk = 5) {
    MemoryStream stream("<?xml version=\"1.0\"?>\n<root>" + body + "</root>\n", chunk);
    XML::Input input(stream);
    Values v;
    try {
        input.parse(kDocument, &v);
    } catch (const XML::ParseException& e) {
        return "error " + std::to_string(e.code()) + " at " + std::to_string(e.lineNumber()) + ":" +
               std::to_string(e.column());
    }
    EXPECT_EQ(0, input.raw()->inUse);
    return Print(v);
}

TEST(XmlReader, ValueKinds) {
    struct Row {
        std::string body, expected;
    } rows[] = {
        {"<flag>TRUE</flag>", "s4=-1 s2=-1 u1=238 three=-1 flag=0 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<flag>\n true \n</flag>", "s4=-1 s2=-1 u1=238 three=-1 flag=1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<s4b>25</s4b>", "s4=10 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<s4b>-3</s4b>", "s4=1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<s4>25</s4>", "s4=25 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<s2>-300</s2><u1>250</u1><three>-2</three>",
         "s4=-1 s2=-300 u1=200 three=-2 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<f>123.5</f><d>-7</d>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=100 d=-1.5 text=unset choice=-1 nested=-1 log="},
        {"<f>0.25</f><d>2.25</d>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=0.25 d=2.25 text=unset choice=-1 nested=-1 log="},
        {"<text>abcdefghij</text>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=abcdefg choice=-1 nested=-1 log="},
        {"<text>a\r\nb</text>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=a\nb choice=-1 nested=-1 log="},
        {"<text/>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text= choice=-1 nested=-1 log="},
        {"<choice>blue</choice>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=2 nested=-1 log="},
        {"<choice>pink</choice>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<nested>5</nested>", "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=5 log="},
        // An element the table does not name goes with all its children; parsing goes on after it.
        {"<other a='1'><s4>1</s4><x><y/></x>text</other><s4>2</s4>",
         "s4=2 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        // A value element's children after its text are skipped too.
        {"<s4>3<b>4</b></s4><s2>5</s2>", "s4=3 s2=5 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
        {"<item id='a' n=\"4\"/><item id=\"b\">x<s4>9</s4></item>",
         "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log=item(a,4,1)item(b,-7,2)"},
        {"one & two<!-- c --><![CDATA[d]]>three",
         "s4=-1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log=[one & two]|[three]|"},
        {"<!DOCTYPE root SYSTEM \"a>b\"><s4>1</s4>",
         "s4=1 s2=-1 u1=238 three=-1 flag=-1 f=-1 d=-1 text=unset choice=-1 nested=-1 log="},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        EXPECT_EQ(row.expected, ParseRoot(row.body, 5));
        EXPECT_EQ(row.expected, ParseRoot(row.body, 4096));
    }
}

// Comments and CDATA to their own functions, through an include with an offset.
struct Sections {
    long pad = 0;
    Values values;
};

const XmlIn_Entry kSectionsInner[] = {
    {nullptr, 11, 0, 0, reinterpret_cast<void*>(&LogText), 0, 0},
    {nullptr, 12, 0, 0, reinterpret_cast<void*>(&LogText), 0, 0},
    {"s4", 2, offsetof(Values, s4), 4, nullptr, 0, 0},
    {nullptr, 0, 0, 0, nullptr, 0, 0},
};
const XmlIn_Entry kSections[] = {
    {"inc", 9, offsetof(Sections, values), 1, const_cast<XmlIn_Entry*>(kSectionsInner), 0, 0},
    {nullptr, 0, 0, 0, nullptr, 0, 0},
};

TEST(XmlReader, CommentsCdataAndIncludes) {
    struct Row {
        std::string doc, log;
        long s4;
    } rows[] = {
        {"<!-- a - b -- c --->", "[ a - b -- c -]|", -1},
        {"<![CDATA[x]y]]z]]]><s4>4</s4>", "[x]y]]z]]|", 4},
        {"<!---->", "|", -1},
        {"<!DOCTYPE r [ <!ENTITY e \"]>\"> ]><!--k-->", "[k]|", -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.doc);
        MemoryStream stream(row.doc, 3);
        XML::Input input(stream);
        Sections s;
        input.parse(kSections, &s);
        EXPECT_EQ(row.log, s.values.log);
        EXPECT_EQ(row.s4, s.values.s4);
    }
}

// n attributes on one element.
std::string ItemWith(int n) {
    std::string item = "<item";
    for (int i = 0; i < n; ++i)
        item += " a" + std::to_string(i) + "='v'";
    return item + "/>";
}

TEST(XmlReader, Errors) {
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<x>";
    struct Row {
        std::string body;
        std::string expected;
    } rows[] = {
        {"<!-- cut", "error 3 at 3:1"},
        {"<s4>1</s4 >", "error 1 at 2:"},
        {"<s4>x1</s4>", "error 2 at 2:"},
        {"<s4></s4>", "error 2 at 2:"},
        // a value its field cannot hold is refused, not wrapped or saturated
        {"<s4>99999999999</s4>", "error 2 at 2:"},
        {"<s2>70000</s2>", "error 2 at 2:"},
        {"<s2>-32769</s2>", "error 2 at 2:"},
        {"<three>8388608</three>", "error 2 at 2:"},
        {"<u1w>256</u1w>", "error 2 at 2:"},
        {"<f>1e999</f>", "error 2 at 2:"},
        {"<d>-1e999</d>", "error 2 at 2:"},
        {"<s2>-32768</s2><three>-8388608</three><u1w>255</u1w><s4>-2147483648</s4>",
         "s4=-2147483648 s2=-32768 u1=255 three=-8388608"},
        {"<!X>", "error 1 at 2:"},
        {"< s4>", "error 1 at 2:"},
        {"<item id=1/>", "error 1 at 2:"},
        {"<item id/>", "error 1 at 2:"},
        {"<item id='1/>", "error 3 at "},
        {"<item " + std::string(24, 'n') + "='1'/>", "error 1 at 2:"},
        {"<item " + std::string(23, 'n') + "='1'/>", "s4=-1"},
        {"<item v='" + std::string(2048, 'v') + "'/>", "error 1 at 2:"},
        {"<item v='" + std::string(2047, 'v') + "'/>", "s4=-1"},
        {"<" + std::string(256, 'e') + "/>", "error 1 at 2:"},
        {"<?pi a='1'\n?>", "error 1 at 2:"},
        {"<?pi a='1' x?>", "error 1 at 2:"},
        {"<other>", "error 3 at 3:1"},  // "</root>" closes "other": the input ends inside root
        {ItemWith(51), "error 1 at 2:"},
        {ItemWith(50), "s4=-1"},
        {deep, "error 1 at 2:"},  // refused, not a stack overflow
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body.substr(0, 60));
        std::string got = ParseRoot(row.body);
        EXPECT_EQ(row.expected, got.substr(0, row.expected.size())) << got;
    }
    EXPECT_STREQ("premature eof", XmlIn_ErrorString(3));
}

TEST(XmlReader, ProceduralLayer) {
    struct Source {
        XmlIn_Source base;
        const char* text;
        static long read(XmlIn_Source* s, char* buffer, long size) {
            Source* self = reinterpret_cast<Source*>(s);
            long n = 0;
            while (n < size && *self->text)
                buffer[n++] = *self->text++;
            return n;
        }
    } source = {{Source::read}, "<a x='1' y=\"two\"/>\n<b>tail"};
    XmlIn_Reader* r = XmlIn_Create(&source.base);
    ASSERT_NE(nullptr, r);
    // Answers "records depth y x z" of the element.
    auto on = [](XmlIn_Reader* reader, XmlIn_Element* element, void* target) {
        int records = 0;
        for (XmlIn_Attribute* a = element->attributes; a; a = a->next)
            ++records;
        *static_cast<std::string*>(target) =
            std::to_string(records) + " " + std::to_string(reader->depth) + " " +
            XmlIn_FindNamed(element->attributes, "y")->value + " " +
            std::to_string(XmlIn_AttrLong(XmlIn_FindNamed(element->attributes, "x"), 9)) + " " +
            std::to_string(XmlIn_AttrLong(XmlIn_FindNamed(element->attributes, "z"), 9));
        EXPECT_EQ(0, XmlIn_Parse(reader, kInner, nullptr)) << "an empty element is finished";
    };
    const XmlIn_Entry table[] = {{"a", 1, 0, 0, reinterpret_cast<void*>(+on), 0, 0}, {nullptr, 0, 0, 0, nullptr, 0, 0}};
    std::string seen;
    EXPECT_EQ(XMLIN_PREMATURE_EOF, XmlIn_Parse(r, table, &seen));
    EXPECT_EQ("2 0 two 1 9", seen);
    EXPECT_EQ(2, XmlIn_GetLine(r));
    EXPECT_EQ(0, r->inUse);
    EXPECT_EQ(XMLIN_PREMATURE_EOF, XmlIn_Parse(r, table, &seen)) << "the stored error, at once";

    // Taking a 51st record directly is a program fault, not an input error.
    XmlIn_Attribute* taken[kXmlInPoolSize];
    for (XmlIn_Attribute*& a : taken)
        a = XmlIn_NewAttribute(r);
    EXPECT_NE(-1, FatalExitCodeOf([r] { XmlIn_NewAttribute(r); }));
    for (XmlIn_Attribute* a : taken)
        XmlIn_FreeAttribute(r, a);
    EXPECT_EQ(0, r->inUse);
    XmlIn_Free(r);
}

void ThrowingHandler(XML::Element&, void*) {
    throw XML::ParseException(XMLIN_INVALID_VALUE, 0, 0, 0);
}

void ForeignThrow(XML::Element&, void*) {
    throw ALocalError("test", 1);
}

// A <root> whose only known child, <boom>, runs OnBoom.
template <void (*OnBoom)(XML::Element&, void*)>
void OnBoomRoot(XML::Element& e, void* target) {
    static const XmlIn_Entry table[] = {{"boom", 1, 0, 0, reinterpret_cast<void*>(OnBoom), 0, 0},
                                        {nullptr, 0, 0, 0, nullptr, 0, 0}};
    XML::Input::next(e, table, target);
}

template <void (*OnBoom)(XML::Element&, void*)>
const XmlIn_Entry kBoomDocument[] = {{"root", 1, 0, 0, reinterpret_cast<void*>(&OnBoomRoot<OnBoom>), 0, 0},
                                     {nullptr, 0, 0, 0, nullptr, 0, 0}};

// Any other error from a handler passes through; the reader it leaves holds no
// dead element or records and answers an error, not the rest of the document.
TEST(XmlReader, ForeignErrorFromAHandler) {
    for (const char* doc : {"<root><boom a='1' b='2'/><s4>5</s4></root>", "<root><boom a='1'>x</boom></root>"}) {
        SCOPED_TRACE(doc);
        MemoryStream stream(doc);
        XML::Input input(stream);
        Values v;
        EXPECT_THROW(input.parse(kBoomDocument<ForeignThrow>, &v), ALocalError);
        EXPECT_EQ(nullptr, input.raw()->current);
        EXPECT_EQ(0, input.raw()->inUse);
        EXPECT_THROW(input.parse(kValues, &v), XML::ParseException);
        EXPECT_EQ(-1, v.s4);
    }
}

class XmlFiles : public TempFolderTest {};

TEST_F(XmlFiles, FileInputAndExceptions) {
    WriteAll(PathOf("doc.xml"), "<?xml version='1.0'?>\r\n<root>\r\n<s4>42</s4>\r\n<text>ab\r\ncd</text></root>\r\n");
    {
        XML::FileInput file(PathOf("doc.xml").c_str());
        XML::Input input(file);
        Values v;
        input.parse(kDocument, &v);
        EXPECT_EQ(42, v.s4);
        EXPECT_STREQ("ab\ncd", v.text);
        EXPECT_EQ(6, input.getLine());
    }
    int code = 0;
    try {
        XML::FileInput missing(PathOf("missing.xml").c_str());
    } catch (const XML::FileException& e) {
        code = e.errorNumber();
        EXPECT_STREQ("XML::FileException", e.className());
    }
    EXPECT_EQ(ENOENT, code);

    // A handler's exception becomes the reader's error state and comes back from parse.
    WriteAll(PathOf("bad.xml"), "<root>\n\n<boom/></root>");
    XML::FileInput file(PathOf("bad.xml").c_str());
    XML::Input input(file);
    Values v;
    try {
        input.parse(kBoomDocument<ThrowingHandler>, &v);
        ADD_FAILURE() << "no exception";
    } catch (const XML::ParseException& e) {
        EXPECT_EQ(XMLIN_INVALID_VALUE, e.code());
        EXPECT_EQ(3, e.lineNumber());
        EXPECT_STREQ("XML::ParseException", e.className());
    }
    EXPECT_EQ(0, input.raw()->inUse);
}

TEST(XmlReader, MutationsEndInSuccessOrAnError) {
    const std::string seed =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE root>\n<root>\n <s4>7</s4><s2>-3</s2><flag>true</flag>\n"
        " <item id='a' n=\"2\"><s4>1</s4></item><!-- note --><![CDATA[raw]]>\n <text>hello</text>"
        "<choice>green</choice><other><deep a='1'/></other><d>1.5</d>\n</root>\n";
    const char alphabet[] = "<>/!?-[]='\" \nabD";
    uint32_t state = 2024;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 16) & 0x7fff;
    };
    int errors = 0;
    for (int i = 0; i < 10000; ++i) {
        std::string doc = seed;
        int edits = 1 + static_cast<int>(next() % 5);
        for (int e = 0; e < edits; ++e) {
            size_t at = next() % doc.size();
            const unsigned op = next() % 4;
            if (op == 0)
                doc[at] = alphabet[next() % (sizeof alphabet - 1)];
            else if (op == 1)
                doc.insert(at, 1, alphabet[next() % (sizeof alphabet - 1)]);
            else if (op == 2)
                doc.erase(at, 1 + next() % 10);
            else
                doc.insert(at, doc.substr(next() % doc.size(), next() % 40));
            if (doc.empty())
                doc = "<";
        }
        MemoryStream stream(doc, 1 + static_cast<long>(next() % 64));
        XML::Input input(stream);
        Values v;
        try {
            input.parse(kDocument, &v);
        } catch (const XML::ParseException& e) {
            ASSERT_TRUE(e.code() >= 1 && e.code() <= 3) << i;
            ++errors;
        }
        ASSERT_EQ(0, input.raw()->inUse) << "attribute records lost in row " << i;
    }
    EXPECT_GT(errors, 1000);
    EXPECT_LT(errors, 10000);
}

}  // namespace
