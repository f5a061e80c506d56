// Prints how fast generated French articles in the slash markup are cut into
// visible lines and parsed into fragments, in MB of markup per second; given
// the sample's articles.dat (and a count), parses its first articles instead.
#include "bench/TableFragments.h"
#include "docengine/model/ADocModel.h"
#include "docengine/model/AExpandTree.h"
#include "docengine/parser/ASegParser.h"
#include "docengine/parser/ATextFragParser.h"
#include "docengine/text/AStringReader.h"
#include "docengine/text/MarkupScan.h"
#include "tests/docengine/parser/MarkupGenerator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class TreeModel : public ADocModel {
public:
    ~TreeModel() override { delete tree; }
    AExpandTree* getExpandTree() override { return tree; }
    AExpandTree* tree = nullptr;  // owned
};

// Parses every visible line of the article; answers the fragments made.
long ParseArticle(const std::string& text, long* failures) {
    AStringReader* reader = new AStringReader(text.data(), static_cast<long>(text.size()));
    reader->addRef();
    ALineSegParser* lines = new ALineSegParser(reader);
    lines->addRef();
    TreeModel* model = new TreeModel;
    model->addRef();
    ATextFragParser* parser = new ATextFragParser('/');
    parser->setSubParser(new TableFragments);
    model->setFragParser(parser);
    long fragments = 0;
    try {
        model->tree = lines->buildExpandTree();
        // Document positions are source positions here: with every section
        // open, the visible lines are the source lines.
        model->tree->root().expandAll();
        for (long p = 0; p < reader->length();) {
            ASegment* segment = lines->makeSegment(model, p, false);
            if (!segment)
                break;
            segment->lock();
            try {
                for (AFragment* f = segment->load(); f; f = f->next())
                    ++fragments;
            } catch (const AParserError&) {
                ++*failures;
            }
            p = segment->getEnd();
            segment->unlock();
        }
    } catch (const AParserError&) {
        ++*failures;
    }
    model->release();
    lines->release();
    reader->release();
    return fragments;
}

// The markup of the first `limit` articles of the sample's articles.dat: per
// article "n TAB title TAB ext TAB markup" lengths, then those bytes.
std::vector<std::string> ReadSample(const char* path, long limit, size_t* bytes) {
    std::vector<std::string> articles;
    std::ifstream in(path, std::ios::binary);
    long n = 0;
    size_t lengths[3];
    while (static_cast<long>(articles.size()) < limit && in >> n >> lengths[0] >> lengths[1] >> lengths[2]) {
        in.get();
        in.ignore(static_cast<std::streamsize>(lengths[0] + lengths[1]));
        std::string markup(lengths[2], '\0');
        if (!in.read(&markup[0], static_cast<std::streamsize>(markup.size())))
            break;
        *bytes += markup.size();
        articles.push_back(std::move(markup));
    }
    return articles;
}

}  // namespace

int main(int argc, char** argv) {
    size_t bytes = 0;
    std::vector<std::string> articles =
        argc > 1 ? ReadSample(argv[1], argc > 2 ? std::atol(argv[2]) : 1L << 30, &bytes)
                 : MarkupGenerator(42).articles(4 * 1024 * 1024, &bytes);
    long fragments = 0;
    long failures = 0;
    auto t = Clock::now();
    for (const std::string& article : articles)
        fragments += ParseArticle(article, &failures);
    double seconds = std::chrono::duration<double>(Clock::now() - t).count();
    std::printf("%zu articles, %.2f MB of markup, %ld fragments, %ld parser errors\n", articles.size(),
                bytes / 1048576.0, fragments, failures);
    std::printf("%.3f s, %.2f MB/s of markup parsed into fragments\n", seconds, bytes / 1048576.0 / seconds);
    std::printf("%.0f articles/s, %.3f ms an article\n", articles.size() / seconds,
                seconds * 1000.0 / static_cast<double>(articles.size() ? articles.size() : 1));
    return 0;
}
