// Search hits in parsed text and the highlighter's lazy walk over a model.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/procedural/KyFilter.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/ASegment.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/docengine/model/ModelTestSupport.h"

namespace {

// A model over the text whose highlighter matches the expression; parses counted.
struct HitModel {
    HitModel(const std::string& text, const char* expression)
        : parser(new CountingParser),
          model(MakeIndexedModel(text, parser)),
          set(new AHiliteSet(expression, " .,;:'", AFilter())),
          highlighter(new AHighlighter(set.get(), nullptr)) {
        model->setHighlighter(highlighter.get());
    }
    ~HitModel() { model->release(); }
    std::string fragments(long source) {
        ASegment* segment = model->getSegmentAt(source, true);
        segment->lock();
        std::string out = Describe(segment->load());
        segment->unlock();
        return out;
    }
    CountingParser* parser;  // held by the model
    AIndexedDocModel* model;
    Held<AHiliteSet> set;
    Held<AHighlighter> highlighter;
};

TEST(Highlighter, HitsBecomeHighlightedFragments) {
    struct Row {
        const char* expression;
        const char* text;
        const char* fragments;
    } rows[] = {
        {"chat,chien", "le chat et les chats\n", "P | \"le \" | \"chat\" h | \" et les chats\""},
        {"chien,chat*", "chats, chiens\n", "P | \"chats\" h | \", \" | \"chiens\" h"},
        {"pomme de terre", "une pomme de terre cuite\n", "P | \"une \" | \"pomme de terre\" h | \" cuite\""},
        {"pomme de terre", "une pomme de fer\n", "P | \"une pomme de fer\""},
        {"pomme de terre", "une /Bpomme/A de terre\n", "P | \"une \" | \"pomme\"/s1 h | \" de terre\" h"},
        {"guerre <EXPR>3 mondiale", "la guerre de la mondiale\n", "P | \"la \" | \"guerre de la mondiale\" h"},
        {"guerre <EXPR>3 mondiale", "la mondiale guerre\n", "P | \"la mondiale guerre\""},
        {"chat", "cha\x10t chats\n", "P | \"cha\x10t\" h | \" chats\""},  // the pair is its argument unfolded
        {"un/chat", "un\\/chat\n", "P | \"un\" h | \"/chat\" h"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.expression) + " / " + row.text);
        HitModel m(row.text, row.expression);
        EXPECT_EQ(row.fragments, m.fragments(0));
    }
}

// Words are folded through the set's filter before they are matched: the
// expression is written folded (lower case, no accents).
TEST(Highlighter, WordsAreFoldedThroughTheSetsFilter) {
    unsigned char table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i + 32 : i);
    table[0xC9] = table[0xE9] = 'e';  // E and e acute
    KY_Filter* handle = KY_FilterNewIdentity(table);
    AFilter filter(handle);
    KY_FilterRelease(handle);
    Held<AHiliteSet> set(new AHiliteSet("ete,chat*", " .,;:'", filter));
    AIndexedDocModel* model = MakeIndexedModel("L'\xC9t\xE9 des CHATS\n");
    Held<AHighlighter> highlighter(new AHighlighter(set.get(), nullptr));
    model->setHighlighter(highlighter.get());
    ASegment* segment = model->getSegmentAt(0, true);
    segment->lock();
    EXPECT_EQ("P | \"L'\" | \"\xC9t\xE9\" h | \" des \" | \"CHATS\" h", Describe(segment->load()));
    segment->unlock();
    model->release();
}

TEST(Highlighter, TheWalkParsesOnlyAsFarAsTheNextHit) {
    HitModel m("un\ndeux\nchat trois\nquatre chat\ncinq\n", "chat");
    EXPECT_EQ(8, m.highlighter->firstHit(m.model));
    EXPECT_EQ(3, m.parser->parses) << "segments after the first hit stay unparsed";
    EXPECT_EQ(1, m.highlighter->hitCount());
    EXPECT_EQ(26, m.highlighter->nextHit(m.model, 8));
    EXPECT_EQ(-1, m.highlighter->nextHit(m.model, 26));
    EXPECT_EQ(26, m.highlighter->lastHit(m.model));
    EXPECT_EQ(8, m.highlighter->previousHit(m.model, 26));
    EXPECT_EQ(-1, m.highlighter->previousHit(m.model, 8));
    EXPECT_EQ(5, m.parser->parses);
    EXPECT_EQ(2, m.highlighter->hitCount());

    // A new expression forgets every hit; the next walk parses again.
    m.set->setExpressionText("quatre");
    EXPECT_EQ(0, m.highlighter->hitCount());
    m.highlighter->scanAll(m.model);
    EXPECT_EQ(1, m.highlighter->hitCount());
    EXPECT_EQ(19, m.highlighter->firstHit(m.model));
}

TEST(Highlighter, ADocumentWithoutHitsIsParsedOnce) {
    HitModel m("un\ndeux\ntrois\n", "chat");
    EXPECT_EQ(-1, m.highlighter->firstHit(m.model));
    EXPECT_EQ(3, m.parser->parses);
    EXPECT_EQ(-1, m.highlighter->nextHit(m.model, -1));
    EXPECT_EQ(-1, m.highlighter->lastHit(m.model));
    EXPECT_EQ(3, m.parser->parses);
    AHighlighterHook* copy = m.highlighter->clone();
    EXPECT_EQ(m.set.get(), copy->hitSet());
    copy->release();
}

TEST(Highlighter, RangesWithoutAHitSet) {
    ARangeArray ranges;
    ranges.addRange(ARange{2, 4});
    ranges.addRange(ARange{8, 9});
    Held<AHighlighter> h(new AHighlighter(nullptr, &ranges));
    EXPECT_EQ(2, h->firstHit(nullptr));
    EXPECT_EQ(8, h->nextHit(nullptr, 2));
    EXPECT_EQ(8, h->lastHit(nullptr));
    EXPECT_EQ(2, h->previousHit(nullptr, 8));
    EXPECT_EQ(2, h->hitCount());
}

}  // namespace
