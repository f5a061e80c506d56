// The line variants of the parser: label and target, layout lines, picture areas.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "docengine/parser/AFragParserVariants.h"
#include "tests/docengine/parser/ParserTestSupport.h"

namespace {

struct Row {
    const char* markup;
    const char* want;
};

void ExpectParses(const std::function<ATextFragParser*()>& make, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        EXPECT_EQ(row.want, ParseText(row.markup, make()));
    }
}

}  // namespace

TEST(VariantsTest, LabelsTakeTheirTargetAfterTheFirstHash) {
    const std::vector<Row> rows = {
        {"Paris#12345\n", "P | \"Paris\"/s1 n=12345 k=0x3"},
        {"Paris", "P | \"Paris\""},
        {"a\\#b#c", "P | \"a\"/s1 n=c k=0x3 | \"#b\"/s1 n=c k=0x3"},
        {"/Bgras#x", "P | \"gras\"/s1 n=x k=0x3"},
        {"{B1#x}#t", "error: Could not parse :{B1#x}#t"},
    };
    ExpectParses([] { return new ALabelTargetFragParser('/'); }, rows);
}

TEST(VariantsTest, LayoutLinesTakeTheLastMarker) {
    const std::vector<Row> rows = {
        {"Titre>cible", "P | \"Titre\" n=cible k=0x2"},
        {"a#b>c", "P | \"a#b\" n=c k=0x2"},
        {"a>b#c", "P | \"a>b\"/s1 n=c k=0x3"},
        {"a\\>b", "P | \"a\" | \">b\""},
        {"x\\#y", "P | \"x\"/s1 n=y k=0x3"},
        {"{Dx#y}>t", "error: Could not parse :{Dx#y}>t"},
    };
    ExpectParses([] { return new ALayoutFragParser('/'); }, rows);
}

TEST(VariantsTest, AreasReadUpToFiveNumbers) {
    const std::vector<Row> rows = {
        {"10,20,30,40,2#doc", "A(10,20,40,60) n=doc k=0x2"},
        {"5,5", "A(5,5,0,0)"},
        {"1,2,3,4#x\r\n", "A(1,2,4,6) n=x k=0x3"},
        {"1,2,3,4,3#x", "A(1,2,4,6) n=x k=0x1"},
        {"1,2,3,4,9#x", "A(1,2,4,6) n=x k=0x3"},
        {"1,2,3,4,0#x", "A(1,2,4,6) n=x"},
        {"", "A(0,0,0,0)"},
        {"-4,x", "A(-4,0,0,0)"},
    };
    ExpectParses([] { return new AAnchorFragParser('/'); }, rows);
}
