// Parsing a text as one segment of a test model.
#include "tests/docengine/parser/ParserTestSupport.h"

#include "docengine/model/ASegment.h"
#include "docengine/text/MarkupScan.h"

std::string ParseText(const std::string& markup, ATextFragParser* parser, TestModel* model) {
    TestModel* own = model ? model : new TestModel;
    Held<TestModel> holder(own);
    own->setFragParser(parser);
    ASegment* segment = new ASegment(own, 0, static_cast<long>(markup.size()),
                                     AString(markup.data(), static_cast<long>(markup.size())));
    segment->lock();
    std::string out;
    try {
        out = Describe(segment->load());
    } catch (const AParserError& e) {
        out = "error: " + std::string(e.message().c_str());
    }
    segment->unlock();
    own->setFragParser(nullptr);
    return out;
}
