// The lexicon getters' rows over a written index, and the table-row callback.
#include <gtest/gtest.h>

#include <string>

#include "app/lines/ASVAuteurLexLineGetter.h"
#include "app/lines/ASVLexLineGetter.h"
#include "base/object/ARefObj.h"
#include "tests/app/lines/LexIndexSupport.h"

namespace {

std::string Row(ALineGetter& getter, long n) {
    AString out;
    getter.getLine(out, n);
    return out.c_str();
}

std::string Cell(const std::string& text) {
    return "/&TABLE:100%:N0:[[100,0,0,0,0:0|//" + text + "]]&/#";
}

}  // namespace

TEST(LexLineGetters, TableRowsEscapeTheNameAndKeepTheKey) {
    struct Case {
        const char* raw;
        std::string row;
    } cases[] = {
        {"Cheval#12\n", Cell("Cheval") + "12"},
        {"Cheval#12\r\n", Cell("Cheval") + "12"},
        {"sans cl\xE9", Cell("sans cl\xE9")},
        {"a/b [c] {d}: x*y | z & w\\#3", Cell("a\\/b \\[c\\] \\{d\\}\\: x\\*y \\| z \\& w\\\\") + "3"},
        {"nom#cl\xE9#suite", Cell("nom") + "cl\xE9#suite"},
        {"#7", Cell("") + "7"},
        {"", Cell("")},
    };
    ASVTableLineGetterCallBack callBack;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(c.row, callBack.formatLine(0, AString(c.raw), 0).c_str());
    }
}

TEST(LexLineGetters, AuthorRowsDropTheNamesPadding) {
    struct Case {
        const char* raw;
        std::string row;
    } cases[] = {
        {"Ann Lee   #0:5\r\n", Cell("Ann Lee") + "0:5"},
        {"Ann Lee#0:5", Cell("Ann Lee") + "0:5"},
        {"Ann Lee  ", Cell("Ann Lee")},
        {"   #0:1", Cell("") + "0:1"},
        {"#0:2", Cell("") + "0:2"},
        {"Ann  Lee #x # y", Cell("Ann  Lee") + "x # y"},
        {"", Cell("")},
    };
    ASVAuteurLineGetterCallBack callBack;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(c.row, callBack.formatLine(0, AString(c.raw), 0).c_str());
    }
}

TEST(LexLineGetters, OneRowPerIndexEntryInKeyOrder) {
    TempFolder folder;
    LexIndex lex(folder, {{"cheval", "Cheval#12"},
                          {"abeille", "Abeille#3"},
                          {"calcul", "Calcul/mental#40"},
                          {"zebre", "Z\xE8" "bre#7"}});
    ASSERT_EQ("", lex.error);
    ARefHold<ASVStandardLexLineGetter> all(new ASVStandardLexLineGetter(lex.get(), AString()));
    ASSERT_EQ(4, all->getLineCount());
    const std::string rows[] = {Cell("Abeille") + "3", Cell("Calcul\\/mental") + "40", Cell("Cheval") + "12",
                                Cell("Z\xE8" "bre") + "7"};
    for (long n = 0; n < 4; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(rows[n], Row(*all.get(), n));
    }
    EXPECT_EQ(Cell(""), Row(*all.get(), 4)) << "past the index: an empty row";
    EXPECT_EQ(Cell(""), Row(*all.get(), -1));

    // The tree's value is the row: a typed prefix finds its entry's row.
    struct Find {
        const char* typed;
        long row;
    } finds[] = {{"cal", 1}, {"ch", 2}, {"a", 0}, {"d", 3}};
    for (const Find& f : finds) {
        SCOPED_TRACE(f.typed);
        EXPECT_EQ(f.row, lex.get()->find(f.typed));
    }

    struct Range {
        LexRange range;
        long count;
        std::string first;
    } ranges[] = {{{1, 3}, 2, rows[1]}, {{0, 0}, 4, rows[0]}, {{3, 5}, 2, rows[3]}};
    for (const Range& r : ranges) {
        SCOPED_TRACE(r.range.start);
        ARefHold<ASVAtlasLexLineGetter> part(new ASVAtlasLexLineGetter(lex.get(), r.range));
        EXPECT_EQ(r.count, part->getLineCount());
        EXPECT_EQ(r.first, Row(*part.get(), 0));
    }
    ARefHold<ASVAtlasLexLineGetter> byDefault(new ASVAtlasLexLineGetter(lex.get()));
    EXPECT_EQ(4, byDefault->getLineCount());
}

TEST(LexLineGetters, AnIndexWithoutDataOrIndexGivesNoRows) {
    TempFolder folder;
    LexIndex bare(folder, {{"cheval", "Cheval#12"}}, false);
    ASSERT_EQ("", bare.error);
    ARefHold<ASVStandardLexLineGetter> none(new ASVStandardLexLineGetter(bare.get(), AString("x")));
    EXPECT_EQ(0, none->getLineCount());
    EXPECT_EQ(Cell(""), Row(*none.get(), 0));
    EXPECT_EQ("x", std::string(none->getText().c_str()));
    ARefHold<ASVStandardLexLineGetter> null(new ASVStandardLexLineGetter(nullptr, AString()));
    EXPECT_EQ(0, null->getLineCount());
}
