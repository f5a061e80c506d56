// Prints how fast generated French articles are parsed into fragments with a
// 400-word highlight expression (a thesaurus expansion) and without, in MB of
// markup per second, and how many hits the expression found. The fragment
// parser has its table sub-parser and the model its open sections, as in a
// reader, so that every segment is parsed whole (the parser errors are
// printed: 0 expected).
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/TableFragments.h"
#include "docengine/hilite/AHighlighter.h"
#include "docengine/hilite/AHiliteSet.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/model/AIndexedDocModel.h"
#include "docengine/model/ASegment.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/AStringReader.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/parser/MarkupGenerator.h"

namespace {

using Clock = std::chrono::steady_clock;

// A reader's model of a line-based article: its sections come from the
// expand tree, every one of them open.
class SectionedModel : public AIndexedDocModel {
public:
    SectionedModel(ALineSegParser* lines, AFragParser* fragments, AHighlighterHook* highlighter)
        : AIndexedDocModel(lines, fragments, highlighter), tree(lines->buildExpandTree()) {
        tree->root().expandAll();
    }
    ~SectionedModel() override { delete tree; }
    AExpandTree* getExpandTree() override { return tree; }

private:
    AExpandTree* tree;  // owned
};

// Loads every segment of the article; answers the hits found (0 without a set).
long ParseArticle(const std::string& text, AHiliteSet* set, long* failures) {
    AStringReader* reader = new AStringReader(text.data(), static_cast<long>(text.size()));
    reader->addRef();
    ALineSegParser* segments = new ALineSegParser(reader);
    segments->addRef();
    ATextFragParser* fragments = new ATextFragParser('/');
    fragments->addRef();
    fragments->setSubParser(new TableFragments);
    AHighlighter* highlighter = set ? new AHighlighter(set, nullptr) : nullptr;
    if (highlighter)
        highlighter->addRef();
    AIndexedDocModel* model = new SectionedModel(segments, fragments, highlighter);
    model->addRef();
    for (ASegment* s = model->getSegmentAt(0, true); s;) {
        s->lock();
        try {
            s->load();
        } catch (const AParserError&) {
            ++*failures;
        }
        ASegment* next = model->nextSegment(s);
        s->unlock();
        s = next;
    }
    long hits = highlighter ? highlighter->hitCount() : 0;
    model->release();
    if (highlighter)
        highlighter->release();
    fragments->release();
    segments->release();
    reader->release();
    return hits;
}

// Words of the articles, their variants and invented neighbours: 400 in all.
std::string ThesaurusExpansion() {
    static const char* const kStems[] = {"histoire", "roi",      "fleuve",     "montagne", "peinture",
                                         "musique",  "sciences", "ch\xE2teau", "c\xF4te",  "mer"};
    std::string expression;
    for (int i = 0; i < 400; ++i) {
        if (i)
            expression += ",";
        expression += kStems[i % 10];
        if (i >= 10)
            expression += "x" + std::to_string(i);
    }
    return expression;
}

}  // namespace

int main() {
    size_t bytes = 0;
    std::vector<std::string> articles = MarkupGenerator(42).articles(4 * 1024 * 1024, &bytes);
    AHiliteSet* set = new AHiliteSet(ThesaurusExpansion().c_str(), " .,;:'", AFilter());
    set->addRef();
    for (AHiliteSet* which : {static_cast<AHiliteSet*>(nullptr), set}) {
        long hits = 0, failures = 0;
        auto t = Clock::now();
        for (const std::string& article : articles)
            hits += ParseArticle(article, which, &failures);
        double seconds = std::chrono::duration<double>(Clock::now() - t).count();
        std::printf("%s: %zu articles, %.2f MB, %ld hits, %ld parser errors, %.3f s, %.2f MB/s\n",
                    which ? "400-word expression" : "no expression", articles.size(), bytes / 1048576.0, hits, failures,
                    seconds, bytes / 1048576.0 / seconds);
    }
    set->release();
    return 0;
}
