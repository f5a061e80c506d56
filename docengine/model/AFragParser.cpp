// The fragment parser interface and sub-parsers.
#include "docengine/model/AFragParser.h"

AFragParser::~AFragParser() {
    ReleaseAndNull(subParser_);
}

void AFragParser::setSubParser(ASubParser* subParser) {
    if (subParser == subParser_)
        return;
    if (subParser)
        subParser->addRef();
    ReleaseAndNull(subParser_);
    subParser_ = subParser;
}

AFragment* AFragParseContext::append(AFragment* fragment) {
    if (!first)
        first = fragment;
    last = fragment;
    return fragment;
}

AFragment* ASubParser::parse(AFragParseContext& context, const char* start, const char* end) {
    return makeFragment(context.segment, context.last, ALocalRange{context.local(start), context.local(end)}, 0,
                        context.name, context.linkFlags);
}
