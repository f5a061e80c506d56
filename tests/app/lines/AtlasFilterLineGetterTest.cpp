// A map's place list over the atlas lexicon: the filter texts it takes.
#include <gtest/gtest.h>

#include <string>

#include "app/lines/ASVAtlasFilterLexLineGetter.h"
#include "base/object/ARefObj.h"
#include "tests/app/lines/LexIndexSupport.h"

namespace {

// The names of the getter's rows, "|" between them.
std::string Names(ALineGetter& getter) {
    std::string out;
    for (long n = 0; n < getter.getLineCount(); ++n) {
        AString row;
        getter.getLine(row, n);
        std::string text = row.c_str();
        size_t from = text.find("|//") + 3, to = text.find("]]");
        out += (n ? "|" : "") + text.substr(from, to - from) + "=" + text.substr(text.rfind('#') + 1);
    }
    return out;
}

}  // namespace

TEST(AtlasFilterLineGetter, KeepsTheNamedEntriesOnceInIndexOrder) {
    TempFolder folder;
    LexIndex lex(folder, {{"alger", "Alger#0:2:0:100:50"},
                          {"berlin", "Berlin#0:1:0:300:80"},
                          {"lima", "Lima#0:3:0:90:200"},
                          {"paris", "Paris#0:1:0:250:90"}});
    ASSERT_EQ("", lex.error);
    ARefHold<ASVAtlasFilterLexLineGetter> getter(new ASVAtlasFilterLexLineGetter(lex.get()));
    EXPECT_EQ(0, getter->getLineCount()) << "no filter yet: no row";
    const struct {
        const char* filter;
        const char* names;
        long typedRow;  // the row the type-ahead gives for "p"
    } rows[] = {
        {"1,3", "Berlin=0:1:0:300:80|Paris=0:1:0:250:90", 1},
        {"3:1", "Berlin=0:1:0:300:80|Paris=0:1:0:250:90", 1},
        {"0,0,2", "Alger=0:2:0:100:50|Lima=0:3:0:90:200", 2},
        {"", "", 0},
        {"4,-1,x,2x,,1e3,99999999999999999999", "", 0},
        {"2,", "Lima=0:3:0:90:200", 1},
        {" 1,3 ", "Berlin=0:1:0:300:80", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.filter);
        getter->setFilter(row.filter);
        EXPECT_EQ(row.names, Names(*getter.get()));
        EXPECT_EQ(row.typedRow, getter->filter()->lowerBound(static_cast<int32_t>(lex.get()->find("p"))));
    }
    getter->setFilter(nullptr);
    EXPECT_EQ(0, getter->getLineCount());
}
