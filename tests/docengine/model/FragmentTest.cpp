// Fragments: cutting, words, data runs, formats and the segments that own them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "docengine/lines/ADataRun.h"
#include "docengine/model/AFragParser.h"
#include "docengine/model/AFragmentRef.h"
#include "docengine/model/ASegment.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// Cuts a chain of text fragments from pieces: each piece is (start, end, name start, name end).
struct Piece {
    long start, end, nameStart, nameEnd;
};

AFragment* Chain(ASegment* segment, std::initializer_list<Piece> pieces) {
    AFragment* first = nullptr;
    AFragment* last = nullptr;
    for (const Piece& p : pieces) {
        last = new ATextFragment(segment, last, ALocalRange{p.start, p.end}, 0, ALocalRange{p.nameStart, p.nameEnd}, 0,
                                 0, 0);
        if (!first)
            first = last;
    }
    return first;
}

std::string Runs(AFragment* f, bool cutAtBlanks) {
    std::string out;
    ADataRun* run = nullptr;
    while (ADataRun* next = f->nextDataRun(run, cutAtBlanks)) {
        delete run;
        run = next;
        std::string kind = dynamic_cast<ATextDataRun*>(run)          ? "text"
                           : dynamic_cast<ATabDataRun*>(run)         ? "tab"
                           : dynamic_cast<ABlankDataRun*>(run)       ? "blank"
                           : dynamic_cast<ASpecialCharDataRun*>(run) ? "special"
                           : dynamic_cast<AClickableFragment*>(run->getFragment()) ? "click"
                                                                                     : "bitmap";
        ABitmapDataRun* bitmap = dynamic_cast<ABitmapDataRun*>(run);
        out += std::string(out.empty() ? "" : " ") + kind + "[" + std::to_string(run->start) + "," +
               std::to_string(run->end) + ")" + (bitmap ? bitmap->name.c_str() : "");
    }
    delete run;
    return out;
}

// Splits the segment's text at '|' into text fragments.
class BarParser : public AFragParser {
public:
    AFragment* parseSegment(ASegment* segment) override {
        ++calls;
        const AString& text = segment->text();
        if (text.empty())
            return nullptr;
        AFragment* first = nullptr;
        AFragment* last = nullptr;
        long start = 0;
        for (long i = 0; i <= text.length(); ++i) {
            if (i == text.length() || text[i] == '|') {
                last = new ATextFragment(segment, last, ALocalRange{start, i}, 0, ALocalRange{0, 0}, 0, 0, 0);
                if (!first)
                    first = last;
                start = i + 1;
            }
        }
        return first;
    }
    int calls = 0;
};

}  // namespace

TEST(FragmentTest, DataRunsCutAtTabsSpecialsAndOptionallyBlanks) {
    struct Row {
        std::string text;
        bool cutAtBlanks;
        const char* want;
    } rows[] = {
        {"ab cd", false, "text[0,5)"},
        {"ab cd", true, "text[0,2) blank[2,3) text[3,5)"},
        {"a\tb", false, "text[0,1) tab[1,2) text[2,3)"},
        {std::string("a\x10Zb", 4), false, "text[0,1) special[1,3) text[3,4)"},
        {std::string("ab\x10", 3), false, "text[0,2) special[2,3)"},
        {"", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Held<ASegment> segment(
            new ASegment(nullptr, 0, 0, AString(row.text.data(), static_cast<long>(row.text.size()))));
        ATextFragment f(segment.get(), nullptr, ALocalRange{0, static_cast<long>(row.text.size())}, 0,
                        ALocalRange{0, 0}, 0, 0, 0);
        EXPECT_EQ(row.want, Runs(&f, row.cutAtBlanks));
    }
    // With a resolver, the named fragments end with the bitmap their name resolves to.
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    Held<ASegment> named(new ASegment(model, 0, 6, AString("ab#cat")));
    ATextFragment label(named.get(), nullptr, ALocalRange{0, 2}, 0, ALocalRange{3, 6}, 3, 1, 0);
    ATextFragment empty(named.get(), nullptr, ALocalRange{0, 0}, 0, ALocalRange{3, 6}, 3, 1, 0);
    EXPECT_EQ("text[0,2)", Runs(&label, false));
    model->resolvesBitmaps = true;
    EXPECT_EQ("text[0,2) bitmap[2,6)img_cat", Runs(&label, false));
    EXPECT_EQ("bitmap[3,6)img_cat", Runs(&empty, false));

    Held<ASegment> segment(new ASegment(nullptr, 0, 0, AString("voir")));
    AClickableFragment click(segment.get(), nullptr, ALocalRange{0, 4}, 0, ALocalRange{0, 0}, 0, 3, 0);
    EXPECT_EQ("click[0,4)", Runs(&click, false));
    EXPECT_EQ(1, segment->refCount()) << "the clickable run released its lock";
}

TEST(FragmentTest, SplittingCutsInsideTheRangeOnly) {
    struct Row {
        long at;
        const char* want;
    } rows[] = {{0, "[0,0) [0,5)"}, {4, "[0,4) [4,5)"}, {5, "[0,5)"}, {-1, "[0,5)"}, {2, "[0,2) [2,5)"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.at);
        Held<ASegment> segment(new ASegment(nullptr, 0, 0, AString("abcde")));
        AFragment* first =
            new ATextFragment(segment.get(), nullptr, ALocalRange{0, 5}, 1, ALocalRange{1, 2}, 0x8003, 4, 2);
        first->setHValue(7);
        AFragment* tail = new AParagraphFragment(segment.get(), first, 5, 0, ALocalRange{0, 0}, 0);
        AFragment* piece = first->splitAt(row.at);
        std::string got;
        for (AFragment* f = first; f != tail; f = f->next())
            got += std::string(got.empty() ? "" : " ") + "[" + std::to_string(f->textRange().start) + "," +
                   std::to_string(f->textRange().end) + ")";
        EXPECT_EQ(row.want, got);
        if (piece != first) {
            auto* text = dynamic_cast<ATextFragment*>(piece);
            ASSERT_NE(nullptr, text);
            EXPECT_EQ(3, piece->linkKind()) << "link options stay with the first piece";
            EXPECT_EQ(7, piece->hValue());
            EXPECT_EQ(4, text->style());
            EXPECT_EQ(tail, piece->next());
            EXPECT_EQ(piece, tail->previous());
        }
        AFragment::deleteChain(first);
    }
}

TEST(FragmentTest, WordsSkipTheArgumentOfSpecialBytesAndSpanFragments) {
    std::string text("le g\x10 ant bleu", 14);
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    Held<ASegment> segment(new ASegment(model, 0, 14, AString(text.data(), 14)));
    // "le g" | "\x10 an" | "t bleu": the blank after the special byte is its argument.
    AFragment* first = Chain(segment.get(), {{0, 4, 0, 0}, {4, 8, 0, 0}, {8, 14, 0, 0}});
    ALocalRange word = first->next()->wordAt(6);
    EXPECT_EQ(3, word.start);
    EXPECT_EQ(9, word.end);
    ALocalRange own = first->next()->wordRangeAt(6, " ");
    EXPECT_EQ(4, own.start);
    EXPECT_EQ(8, own.end);
    AFragment::deleteChain(first);
}

TEST(FragmentTest, NameExtentCoversNeighboursWithTheSameName) {
    Held<ASegment> segment(new ASegment(nullptr, 0, 0, AString("abcdefghij")));
    AFragment* first = Chain(segment.get(), {{0, 2, 0, 0}, {2, 4, 8, 10}, {4, 6, 8, 10}, {6, 8, 1, 2}});
    AFragment* second = first->next();
    ALocalRange extent = second->next()->nameExtent();
    EXPECT_EQ(2, extent.start);
    EXPECT_EQ(6, extent.end);
    EXPECT_EQ(second, second->next()->firstOfName());
    EXPECT_EQ(nullptr, first->firstOfName());
    ALocalRange own = first->nameExtent();
    EXPECT_EQ(0, own.start);
    EXPECT_EQ(2, own.end);
    EXPECT_STREQ("ij", second->getName().c_str());
    EXPECT_STREQ("cd", second->getOwnText().c_str());
    AFragment::deleteChain(first);
}

TEST(FragmentTest, ParagraphFormatsMergeFieldByField) {
    struct Row {
        AParagraphFormat mine, other;
        uint16_t bits;
        int16_t first, second;
    } rows[] = {
        {{0, 0}, {0x8F47, 3}, 0x8F47, 3, 0},
        {{0x21, 5}, {0x4A, 0}, 0x21, 5, 0},
        {{0x100, 2}, {0x800, 9}, 0x900, 9, 0},
    };
    for (const Row& row : rows) {
        AParagraphFormat f = row.mine;
        f.merge(row.other);
        EXPECT_EQ(row.bits, f.bits);
        EXPECT_EQ(row.first, f.first);
    }
    Held<ASegment> segment(new ASegment(nullptr, 0, 0, AString("x")));
    AParagraphFragment first(segment.get(), nullptr, 0, 0, ALocalRange{0, 0}, 0);
    AParagraphFragment second(segment.get(), &first, 1, 0, ALocalRange{0, 0}, 0);
    EXPECT_STREQ("", first.getText(ALocalRange{0, 0}).c_str());
    EXPECT_STREQ("\r\n", second.getText(ALocalRange{1, 1}).c_str());
    second.format.bits = 0x10;
    AFragmentRef* ref = second.makeReference();
    ref->addRef();
    EXPECT_EQ(2, segment->refCount()) << "a reference keeps the segment locked";
    EXPECT_EQ(0x10, ref->format().bits);
    ref->release();
    EXPECT_EQ(1, segment->refCount());
}

TEST(SegmentTest, LoadingParsesOnceAndLocksHoldTheOwner) {
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    BarParser* parser = new BarParser;
    model->setFragParser(parser);
    struct Row {
        const char* text;
        size_t fragments;
    } rows[] = {{"a|b|c", 3}, {"", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        parser->calls = 0;
        ASegment* segment = new ASegment(model, 10, 10 + static_cast<long>(strlen(row.text)), AString(row.text));
        segment->lock();
        EXPECT_EQ(1, model->locks);
        EXPECT_EQ(2, model->refCount()) << "a locked segment holds its owner";
        AFragment* first = segment->load();
        segment->load();
        EXPECT_EQ(1, parser->calls);
        EXPECT_EQ(1, model->loads);
        size_t count = 0;
        for (AFragment* f = first; f; f = f->next())
            ++count;
        EXPECT_EQ(row.fragments, count);
        segment->unlock();
        EXPECT_EQ(0, model->locks);
        EXPECT_EQ(1, model->refCount());
        model->loads = 0;
    }
    ASegment* orphan = new ASegment(nullptr, 0, 1, AString("x"));
    orphan->lock();
    EXPECT_GT(FatalExitCodeOf([&] { orphan->load(); }), 0);
    orphan->unlock();
}

TEST(SegmentTest, PositionsTextAndAttachmentsFollowTheSegmentKind) {
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    model->text = "0123456789abc\r\n";
    Held<ASegment> plain(new ASegment(model, 10, 15, AString("abc\r\n")));
    Held<ASegment> sub(new ASegmentSub(model, 10, 15, AString("abc\r\n")));
    Held<ASegment> table(new ASegment(model, 0, 8, AString("/&TABLE:")));
    EXPECT_EQ(12, plain->toDocument(2));
    EXPECT_EQ(3, plain->fromDocument(13));
    EXPECT_EQ(10, sub->toDocument(2));
    EXPECT_EQ(0, sub->fromDocument(13));
    EXPECT_STREQ("abc\r\n", plain->getText(ALocalRange{0, 5}).c_str());
    EXPECT_STREQ("", sub->getText(ALocalRange{0, 0}).c_str());
    EXPECT_TRUE(table->isTable());
    EXPECT_TRUE(table->hasTable());
    EXPECT_FALSE(plain->isTable());
    EXPECT_EQ(nullptr, table->getAttachment());
    EXPECT_GT(FatalExitCodeOf([&] { plain->rawText(ALocalRange{2, 6}); }), 0);
    EXPECT_GT(FatalExitCodeOf([&] { plain->localOfSource(15); }), 0);
    EXPECT_EQ(4, plain->localOfSource(14));
}
