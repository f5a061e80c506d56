// Generated articles and thousands of damaged copies parse or fail with
// AParserError: never a fatal error, never a crash.
#include <gtest/gtest.h>

#include "docengine/parser/AFragParserVariants.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/text/AStringReader.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/parser/MarkupGenerator.h"
#include "tests/docengine/parser/ParserTestSupport.h"

namespace {

struct Outcome {
    long segments = 0;
    long failures = 0;
};

// Parses every segment that parser cuts from the text; the model has a tree when given one.
void ParseAll(ASegParser* parser, TestModel* model, long length, Outcome* outcome) {
    for (long p = 0; p < length;) {
        ASegment* segment = parser->makeSegment(model, p, false);
        if (!segment)
            break;
        segment->lock();
        try {
            segment->load();
        } catch (const AParserError&) {
            ++outcome->failures;
        }
        ++outcome->segments;
        long next = segment->getEnd();
        segment->unlock();
        p = next > p ? next : p + 1;
    }
}

void ParseArticle(const std::string& text, MarkupGenerator& random, Outcome* outcome) {
    Held<AStringReader> reader(new AStringReader(text.data(), static_cast<long>(text.size())));
    TestModel* model = new TestModel;
    Held<TestModel> holder(model);
    ATextFragParser* fragParser = new ATextFragParser('/');
    fragParser->setSubParser(new TableStub);
    model->setFragParser(fragParser);
    for (int i = 0; i < 3; ++i)
        model->markers[static_cast<long>(random.next() % (text.size() + 1))] = i;
    ARangeArray ranges;
    long a = static_cast<long>(random.next() % (text.size() + 1));
    ranges.addRange(ARange{a, a + static_cast<long>(random.next() % 40)});
    model->ranges = &ranges;

    Held<AReaderSegParser> lines(new AReaderSegParser(reader.get()));
    ParseAll(lines.get(), model, reader->length(), outcome);

    Held<ALineSegParser> visible(new ALineSegParser(reader.get()));
    try {
        model->tree = visible->buildExpandTree();
    } catch (const AParserError&) {
        ++outcome->failures;
        return;
    }
    ParseAll(visible.get(), model, reader->length(), outcome);
    model->tree->root().collapseAll();
    ParseAll(visible.get(), model, reader->length(), outcome);
}

}  // namespace

TEST(RobustnessTest, GeneratedAndDamagedArticlesParseOrFailWithAParserError) {
    MarkupGenerator generator(20261206);
    Outcome whole, damaged;
    for (int i = 0; i < 50; ++i)
        ParseArticle(generator.article(4), generator, &whole);
    EXPECT_GT(whole.segments, 200);
    // Generated markup is well formed: only closed sections crossing lines may miss their lookup.
    EXPECT_LT(whole.failures * 4, whole.segments);
    const std::string base = generator.article(6);
    for (int i = 0; i < 10000; ++i) {
        std::string text = generator.mutate(i % 2 ? base : generator.article(1));
        ParseArticle(text, generator, &damaged);
        if (i % 20 == 0) {
            std::string line = text.substr(0, text.find('\n'));
            ParseText(line, new ALabelTargetFragParser('/'));
            ParseText(line, new ALayoutFragParser('/'));
            ParseText(line, new AAnchorFragParser('/'));
        }
    }
    EXPECT_GT(damaged.segments, 10000);
    EXPECT_GT(damaged.failures, 0);
}
