// Chronology events: the fragment parser and the event fragment.
#include "panes/content/chrono/AChronoFragment.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "base/procedural/AError.h"
#include "docengine/model/ASegment.h"
#include "panes/content/chrono/AChronoDataRuns.h"

namespace {

const char* Find(const char* p, const char* end, char c) {
    const void* hit = p < end ? std::memchr(p, c, static_cast<size_t>(end - p)) : nullptr;
    return static_cast<const char*>(hit);
}

// atol over [p, end): the field is copied so that the number stops at the bar.
long NumberAt(const char* p, const char* end) {
    std::string field(p, static_cast<size_t>(end - p));
    return std::atol(field.c_str());
}

}  // namespace

AChronoFragment::AChronoFragment(ASegment* segment, AFragment* previous, ALocalRange label, ALocalRange link,
                                 uint16_t kind)
    : AFragment(segment, previous, label, 0, link, kind) {}

ADataRun* AChronoFragment::nextDataRun(ADataRun* previous, bool) {
    if (!hasLabel())
        return nullptr;
    if (!previous) {
        runsMade = 1;
        return CheckAlloc(new (std::nothrow) AChronoBmpDataRun(this), "chrono", 871);
    }
    if (previous->getFragment() == this && dynamic_cast<AChronoBmpDataRun*>(previous)) {
        runsMade = 2;
        return CheckAlloc(new (std::nothrow) AChronoTextDataRun(this), "chrono", 879);
    }
    return nullptr;
}

AFragment* AChronoFragParser::parseSegment(ASegment* segment) {
    if (!segment)
        ThrowAssert("chrono", 1003);
    AFragParseContext context;
    context.segment = segment;
    context.start = segment->text().c_str();
    context.end = context.start + segment->text().length();
    context.limit = context.end;
    try {
        parseRange(context, context.start, context.end);
    } catch (...) {
        AFragment::deleteChain(context.first);
        throw;
    }
    return context.first;
}

const char* AChronoFragParser::parseRange(AFragParseContext& context, const char* p, const char* end) {
    while (p < end) {
        const char* tab = Find(p, end, '\t');
        const char* stop = tab ? tab : end;
        parseEvent(context, p, stop);
        p = tab ? tab + 1 : end;
    }
    return end;
}

// Each event starts afresh: an event without a link never takes the link of
// the event before it in its line.
void AChronoFragParser::parseEvent(AFragParseContext& context, const char* p, const char* end) {
    long fields[4] = {0, 0, 0, 0};
    const char* bar = Find(p, end, '|');
    for (int f = 0; bar && f < 4; ++f) {
        const char* next = Find(bar + 1, end, '|');
        fields[f] = NumberAt(bar + 1, next ? next : end);
        bar = next;
    }
    ALocalRange label{0, 0};
    ALocalRange link{0, 0};
    uint16_t kind = 0;
    const char* sixth = bar ? Find(bar + 1, end, '|') : nullptr;
    if (sixth) {
        const char* colon = Find(bar + 1, sixth, ':');
        const char* from = colon ? colon + 1 : bar + 1;
        label = ALocalRange{context.local(from), context.local(sixth)};
        if (sixth + 1 < end) {
            link = ALocalRange{context.local(sixth + 1), context.local(end)};
            kind = AChronoFragment::kLinkKind;
        }
    }
    auto* fragment = CheckAlloc(new (std::nothrow) AChronoFragment(context.segment, context.last, label, link, kind),
                                "chrono", 976);
    context.append(fragment);
    fragment->category = static_cast<int16_t>(fields[0]);
    fragment->value = fields[1];
    fragment->row = static_cast<int16_t>(fields[2]);
    fragment->large = static_cast<int16_t>(fields[3]);
    fragment->picture = fragment->category;
}
