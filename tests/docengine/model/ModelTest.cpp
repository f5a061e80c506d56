// Document models: words, selection notices, children, the segment cache,
// the marker map as attachment, and laid-out positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "docengine/model/AHighlighterHook.h"
#include "docengine/model/AHiliteRangeMap.h"
#include "docengine/model/ALaidOutDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/text/AStringReader.h"
#include "tests/docengine/model/DocTestSupport.h"
#include "tests/docengine/model/ModelTestSupport.h"

namespace {

// The word around a document position, as text.
std::string WordAt(ADocModel* model, long position) {
    ASegment* segment = model->segmentAtPosition(position);
    segment->lock();
    long local = segment->fromDocument(position);
    AFragment* f = segment->load();
    while (f->next() && f->textRange().end <= local)
        f = f->next();
    ALocalRange w = segment->wordAt(f, local);
    std::string word(segment->text().c_str() + w.start, static_cast<size_t>(w.end - w.start));
    segment->unlock();
    return word;
}

TEST(DocModel, WordsStopAtTheSeparatorTable) {
    const std::string text = "un porte-monnaie l'arbre \xABmot\xBB 12-3 fin\n";
    struct Row {
        long position;
        const char* word;
    } rows[] = {{0, "un"}, {5, "porte-monnaie"}, {17, "l"}, {20, "arbre"}, {27, "mot"}, {32, "12-3"}};
    AIndexedDocModel* model = MakeIndexedModel(text);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(row.word, WordAt(model, row.position));
    }
    EXPECT_EQ(60, model->getWordSeparators().length());
    model->release();
}

TEST(DocModel, SelectionNoticesComeFromParentFirst) {
    std::vector<std::string> log;
    AIndexedDocModel* parent = MakeIndexedModel("abcdefghij\nklmnop\n");
    AIndexedDocModel* child = MakeIndexedModel("xyz\n");
    parent->addChild(child, 4, 8);
    NoticeLog parentLog(&log, "parent"), childLog(&log, "child");
    parentLog.dependOn(parent);
    childLog.dependOn(child);

    parent->setSelection(ADocRange{0, 0}, 7);
    EXPECT_TRUE(log.empty()) << "the current selection again sends nothing";
    parent->setSelection(ADocRange{2, 3}, 7);
    EXPECT_EQ((std::vector<std::string>{"parent:2"}), log);
    log.clear();
    child->setSelection(ADocRange{1, 2}, 0);
    EXPECT_EQ((std::vector<std::string>{"parent:2", "child:2"}), log);
    EXPECT_EQ(5, parent->GetSelection().start);
    EXPECT_EQ(6, parent->GetSelection().end);
    EXPECT_EQ(1, child->GetSelectionStart().position());
    EXPECT_EQ(child, parent->getChildAt(7));
    EXPECT_EQ(nullptr, parent->getChildAt(8));

    parentLog.stopDependingOn(parent);
    childLog.stopDependingOn(child);
    parent->removeChild(child);
    EXPECT_EQ(nullptr, child->GetParentModel());
    parent->addChild(child, 12, 14);
    child->release();
    EXPECT_EQ(0, parent->childCount()) << "a child that goes away leaves no record behind";
    EXPECT_EQ(nullptr, parent->getChildAt(12));
    parent->release();
}

TEST(DocModel, SelectionInSegmentUsesLocalPositions) {
    AIndexedDocModel* model = MakeIndexedModel("abcd\nefgh\nijkl\n");
    ASegment* middle = model->getSegmentAt(5, true);
    middle->lock();
    struct Row {
        long start, end, a, b;
    } rows[] = {{0, 1, -1, -1}, {11, 12, 6, 6}, {6, 8, 1, 3}, {1, 7, -1, 2}, {7, 13, 2, 6}, {0, 14, -1, 6}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.start) + "," + std::to_string(row.end));
        model->setSelection(ADocRange{row.start, row.end}, 0);
        ALocalRange r = model->selectionInSegment(middle);
        EXPECT_EQ(row.a, r.start);
        EXPECT_EQ(row.b, r.end);
    }
    middle->unlock();
    model->release();
}

TEST(DocModel, CacheKeepsTheLastHundredReleasedSegments) {
    std::string text;
    for (int i = 0; i < 101; ++i)
        text += "ligne " + std::to_string(i) + "\n";
    CountingParser* parser = new CountingParser;
    AIndexedDocModel* model = MakeIndexedModel(text, parser);
    std::vector<long> starts;
    for (ASegment* s = model->getSegmentAt(0, true); s; s = model->nextSegment(s)) {
        starts.push_back(s->getStart());
        s->lock();
        s->load();
        s->unlock();
    }
    ASSERT_EQ(101u, starts.size());
    EXPECT_EQ(101, parser->parses);
    EXPECT_EQ(100, model->cacheCount());
    EXPECT_EQ(100, model->indexedCount()) << "the least recently released segment left the index";
    for (size_t i = 1; i < starts.size(); ++i)
        ASSERT_EQ(starts[i], model->getSegmentAt(starts[i] + 2, true)->getStart()) << i;
    EXPECT_EQ(100, model->indexedCount()) << "positions inside indexed segments find them in the index";

    ASegment* cached = model->getSegmentAt(starts[50], false);
    cached->lock();
    cached->load();
    EXPECT_EQ(101, parser->parses) << "a cached segment is not parsed again";
    EXPECT_EQ(99, model->cacheCount());
    cached->unlock();
    EXPECT_EQ(100, model->cacheCount());

    ASegment* evicted = model->getSegmentAt(starts[0], false);
    evicted->lock();
    evicted->load();
    EXPECT_EQ(102, parser->parses);
    evicted->unlock();

    // Without a limit, a full load pass after the next invalidation keeps every segment.
    model->setCacheLimit(-1);
    model->keepAllLoaded();
    EXPECT_EQ(0, model->cacheCount());
    model->invalidate(0, model->getLength(), false);
    EXPECT_EQ(-1, model->cacheLimit());
    EXPECT_EQ(101, model->cacheCount());
    EXPECT_EQ(203, parser->parses);
    model->release();
}

TEST(DocModel, MarkerMapIsTheAttachment) {
    std::vector<std::string> log;
    AIndexedDocModel* model = MakeIndexedModel("abc def\nghi\n");
    NoticeLog notices(&log, "model");
    notices.dependOn(model);
    AHiliteRangeMap* map = new AHiliteRangeMap("4,3,9,16777216,");
    map->addRef();
    model->setAttachment(map);
    EXPECT_EQ((std::vector<std::string>{"model:201"}), log);

    ASegment* segment = model->getSegmentAt(0, true);
    segment->lock();
    EXPECT_EQ("P | \"abc \" | L(3) k=0x7003 | \"def\"", Describe(segment->load()));
    segment->unlock();
    EXPECT_EQ("abc def\r\nghi\r\n", std::string(model->exportText(0, 12).c_str()));

    // A child shown over (8, 12) gets the marks of that range, keyed from its start.
    AIndexedDocModel* child = MakeIndexedModel("xyz\n");
    model->addChild(child, 8, 12);
    ASSERT_NE(nullptr, child->getAttachment());
    EXPECT_EQ("1,16777216,", std::string(child->getAttachment()->toLine().c_str()));

    log.clear();
    map->parse("1,5,");
    EXPECT_EQ((std::vector<std::string>{"model:201"}), log) << "the map's notice passes on";
    EXPECT_EQ(0, model->indexedCount()) << "segments are dropped first";

    notices.stopDependingOn(model);
    model->removeChild(child);
    child->release();
    model->release();
    map->release();
}

// A highlighter over a fixed range list that records what the model reports.
class RangeHighlighter : public AHighlighterHook {
public:
    AHighlighterHook* clone() override { return new RangeHighlighter; }
    void addHit(ASegment*, long) override {}
    void addScannedSegment(ASegment*) override { ++scanned; }
    void removeRange(long start, long end) override {
        removed += std::to_string(start) + "-" + std::to_string(end) + " ";
    }
    const ARangeArray* rangeList() override { return &ranges; }
    ARangeArray ranges;
    int scanned = 0;
    std::string removed;
};

TEST(DocModel, HighlighterRangesMarkHitsAndItsNoticesPassOn) {
    std::vector<std::string> log;
    AIndexedDocModel* model = MakeIndexedModel("abc def ghi\nsuite\n");
    NoticeLog notices(&log, "model");
    notices.dependOn(model);
    RangeHighlighter* highlighter = new RangeHighlighter;
    Held<RangeHighlighter> hold(highlighter);
    highlighter->ranges.addRange(ARange{4, 7});
    model->setHighlighter(highlighter);
    EXPECT_EQ((std::vector<std::string>{"model:201"}), log);
    EXPECT_EQ("0-18 ", highlighter->removed) << "the whole text is dropped from the hit index";

    struct Row {
        long source, start, end;
    } rows[] = {{4, 4, 7}, {1, 0, 1}, {12, 12, 12}, {40, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        ADocRange r = model->hitRangeAt(row.source);
        EXPECT_EQ(row.start, r.start);
        EXPECT_EQ(row.end, r.end);
    }
    EXPECT_EQ(2, highlighter->scanned);

    log.clear();
    highlighter->notify(201, 9);
    EXPECT_EQ((std::vector<std::string>{"model:201"}), log);
    EXPECT_EQ(0, model->indexedCount());

    log.clear();
    model->markRange(2, 50, true, 0);
    EXPECT_EQ((std::vector<std::string>{"model:2"}), log);
    EXPECT_EQ(1, model->getMarkCount());
    EXPECT_EQ(18, model->getMarkRange(0).end) << "marks end at the text's length";
    EXPECT_TRUE(model->isMarkedStart(12));
    EXPECT_EQ(nullptr, model->getSegmentAt(18, true));
    ADocModel* copy = model->clone();
    Held<ADocModel> copyHold(copy);
    ASSERT_NE(nullptr, copy->getHighlighter());
    EXPECT_NE(static_cast<AHighlighterHook*>(highlighter), copy->getHighlighter());
    EXPECT_EQ(1, copy->getHighlighter()->refCount()) << "the copy holds the only reference on its highlighter";
    notices.stopDependingOn(model);
    model->setHighlighter(nullptr);
    model->release();
}

TEST(DocModel, ClonesAndFragmentSearches) {
    AIndexedDocModel* model = MakeIndexedModel("un {Aa#Ancre} deux\ntrois {Ab#cible}\nquatre {Ac#CIBLE}\n");
    AHiliteRangeMap* map = new AHiliteRangeMap("3,1,");
    Held<AHiliteRangeMap> mapHold(map);
    model->setAttachment(map);
    model->setCacheLimit(7);
    model->setWordSeparators(" ");
    ADocModel* copy = model->clone();
    Held<ADocModel> copyHold(copy);
    auto* indexed = dynamic_cast<AIndexedDocModel*>(copy);
    ASSERT_NE(nullptr, indexed);
    EXPECT_EQ(7, indexed->cacheLimit());
    EXPECT_EQ(map, copy->getAttachment());
    EXPECT_EQ(" ", std::string(copy->getWordSeparators().c_str()));

    struct Row {
        const char* name;
        long start, limit, found;
    } rows[] = {{"ancre", 0, -1, 0},   {"cible", 0, -1, 19}, {"cible", 20, -1, 19},
                {"cible", 36, -1, 36}, {"cible", 0, 10, -1}, {"autre", 0, -1, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " from " + std::to_string(row.start));
        AFindAnchorFragment test{AString(row.name)};
        EXPECT_EQ(row.found, copy->findPosition(&test, row.start, row.limit));
    }
    AFindActionFragment noteLink(3);
    EXPECT_EQ(0, copy->findPosition(&noteLink, 0, -1)) << "the shared marker map puts a note link in line one";
    model->setAttachment(nullptr);
    model->release();
}

TEST(DocModel, MarkerLinesReadBackAndBadOnesStop) {
    struct Row {
        const char* line;
        const char* read;
    } rows[] = {{"120,0,455,1,", "120,0,455,1,"}, {"", ""}, {"7;2:9/3", "7,2,9,3,"}, {"5", ""}, {"5,", ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        AHiliteRangeMap map(row.line);
        EXPECT_EQ(row.read, std::string(map.toLine().c_str()));
    }
    AHiliteRangeMap map("10,3,40,7,");
    EXPECT_TRUE(map.findInRange(0, 20));
    EXPECT_EQ(0, map.currentIndex());
    EXPECT_TRUE(map.findHit(7));
    EXPECT_EQ(40, map.hitStart());
    AHiliteRangeMap* part = map.extract(30, 50);
    ASSERT_NE(nullptr, part);
    EXPECT_EQ("10,7,", std::string(part->toLine().c_str()));
    delete part;
}

TEST(DocModel, LaidOutPositionsSkipClosedSections) {
    const std::string text = "avant {C#cache}apres\nfin\n";
    AStringReader* reader = new AStringReader(text.c_str(), static_cast<long>(text.size()));
    Held<AStringReader> readerHold(reader);
    ALineSegParser* segments = new ALineSegParser(reader);
    Held<ALineSegParser> segHold(segments);
    ATextFragParser* fragments = new ATextFragParser('/');
    Held<ATextFragParser> fragHold(fragments);
    ALaidOutDocModel* model = new ALaidOutDocModel(segments, fragments, nullptr);
    Held<ALaidOutDocModel> hold(model);
    long length = model->getLength();
    long visible = model->getPositionCount();
    ASSERT_LT(visible, length);
    EXPECT_TRUE(model->hasCollapsedParts());
    struct Row {
        long position, source;
    } rows[] = {{-3, -3}, {visible, length}, {visible + 5, length + 5}, {0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(row.source, model->positionToSource(row.position));
        EXPECT_EQ(row.position, model->sourceToPosition(row.source));
    }

    std::vector<std::string> log;
    NoticeLog notices(&log, "model");
    notices.dependOn(model);
    AFragment* button = nullptr;
    ASegment* segment = model->getSegmentAt(0, true);
    segment->lock();
    for (AFragment* f = segment->load(); f; f = f->next())
        if (f->isClickable())
            button = f;
    ASSERT_NE(nullptr, button);
    ASegment* last = model->getSegmentAt(length - 4, true);
    last->lock();
    EXPECT_EQ(visible - 4, last->docStart());
    model->toggleAt(button, 0);
    EXPECT_EQ(length - 4, last->docStart()) << "a held segment after the change moves with it";
    last->unlock();
    segment->unlock();
    EXPECT_EQ((std::vector<std::string>{"model:6"}), log);
    EXPECT_EQ(length, model->getPositionCount());
    EXPECT_FALSE(model->hasCollapsedParts());

    model->collapseAll(0);
    EXPECT_EQ(visible, model->getPositionCount());
    AExpandRecord record;
    EXPECT_FALSE(model->openAt(2, &record, 0)) << "nothing is closed around position 2";
    EXPECT_TRUE(model->openAt(10, &record, 0));
    EXPECT_EQ(length, model->getPositionCount());
    EXPECT_TRUE(model->restore(&record, 0));
    EXPECT_EQ(visible, model->getPositionCount());
    EXPECT_EQ((std::vector<std::string>{"model:6", "model:6", "model:6", "model:6"}), log);
    notices.stopDependingOn(model);

    ADocModel* copy = model->clone();
    Held<ADocModel> copyHold(copy);
    ASSERT_NE(nullptr, dynamic_cast<ALaidOutDocModel*>(copy)) << "the copy keeps its sections";
    EXPECT_EQ(visible, copy->getPositionCount());
    copy->expandAll(0);
    EXPECT_EQ(length, copy->getPositionCount());
    EXPECT_EQ(visible, model->getPositionCount()) << "opening the copy leaves the model closed";
    ASegment* tail = copy->getSegmentAt(length - 4, true);
    ASSERT_NE(nullptr, tail);
    EXPECT_EQ(length - 4, copy->positionToSource(length - 4));
}

TEST(DocModel, SectionPathListsContentStartsOutermostFirst) {
    const std::string text = "a {Cx#b {Cy#c} d} e\n";
    Held<AStringReader> reader(new AStringReader(text.c_str(), static_cast<long>(text.size())));
    Held<ALineSegParser> segments(new ALineSegParser(reader.get()));
    Held<ATextFragParser> fragments(new ATextFragParser('/'));
    Held<ALaidOutDocModel> model(new ALaidOutDocModel(segments.get(), fragments.get(), nullptr));
    struct Row {
        long position;
        const char* path;
    } rows[] = {{13, "6 12 13 "}, {12, "6 12 "}, {15, "6 15 "}, {1, "1 "}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        ALongLongDic path;
        model->sectionPath(row.position, path);
        std::string listed;
        for (Pix p = path.first(); p; path.next(p))
            listed += std::to_string(path.numberOf(p)) + " ";
        EXPECT_EQ(row.path, listed);
    }
}

}  // namespace
